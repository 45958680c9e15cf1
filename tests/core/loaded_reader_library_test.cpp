#include "core/loaded_reader_library.hpp"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <iterator>
#include <string>
#include <vector>

#include "qstring_printer.hpp"
#include "simboard/simulated_board.hpp"

namespace {

using core::LoadedReaderLibrary;
using reader::AnswerBuffer;
using reader::ReaderFunction;

const QString kCurrentLibrary = QStringLiteral(TQ_CABI_DIR "/libTQ73RN_sim.so");
const QString kOlderLibrary = QStringLiteral(TQ_CABI_DIR "/libTQ73RN_sim_rev4.so");

constexpr ReaderFunction kAllFunctions[] = {
    ReaderFunction::UsbConnect,
    ReaderFunction::UsbHandleCheck,
    ReaderFunction::KvCmd,
    ReaderFunction::Select,
    ReaderFunction::SendReceive,
    ReaderFunction::Echo,
    ReaderFunction::Idn,
    ReaderFunction::FieldOff,
    ReaderFunction::GetDllRev,
    ReaderFunction::ResetSpi,
    ReaderFunction::SendIrqPulse,
    ReaderFunction::SendNssPulse,
    ReaderFunction::PollingReading,
    ReaderFunction::GetMcuRev,
    ReaderFunction::GetInterfacePinState,
};

// The functions a library older than revision 5 lacks.
bool onlyInRevision5(ReaderFunction f) {
    return f == ReaderFunction::UsbConnect || f == ReaderFunction::SendNssPulse ||
           f == ReaderFunction::PollingReading;
}

struct Call {
    ReaderFunction function;
    const char* request;
};

// Every function once, requests included, in an order a session would use them.
constexpr Call kSession[] = {
    {ReaderFunction::GetDllRev, ""},
    {ReaderFunction::UsbConnect, ""},
    {ReaderFunction::UsbHandleCheck, ""},
    {ReaderFunction::GetMcuRev, ""},
    {ReaderFunction::Echo, ""},
    {ReaderFunction::Idn, ""},
    {ReaderFunction::Select, "010D"},
    {ReaderFunction::SendReceive, "260100"},
    {ReaderFunction::KvCmd, "0100"},
    {ReaderFunction::KvCmd, "0155"},
    {ReaderFunction::KvCmd, "010803620100"},
    {ReaderFunction::KvCmd, "01FF"},
    {ReaderFunction::FieldOff, ""},
    {ReaderFunction::ResetSpi, ""},
    {ReaderFunction::SendIrqPulse, ""},
    {ReaderFunction::SendNssPulse, ""},
    {ReaderFunction::PollingReading, ""},
    {ReaderFunction::GetInterfacePinState, ""},
};

TEST(LoadedReaderLibrary, EveryFunctionAnswersAsTheBoardItWraps) {
    LoadedReaderLibrary loaded(kCurrentLibrary);
    ASSERT_TRUE(loaded.isLoaded()) << loaded.errorString().toStdString();
    for (ReaderFunction f : kAllFunctions) {
        EXPECT_TRUE(loaded.provides(f)) << reader::exportedName(f);
    }

    // The same session on a board in this process must give the same statuses and
    // answers: the loader passes requests and answers through unchanged.
    simboard::SimulatedBoard direct;
    for (const Call& c : kSession) {
        AnswerBuffer viaLibrary = AnswerBuffer::blanks();
        AnswerBuffer viaBoard = AnswerBuffer::blanks();
        const auto statusLibrary = loaded.call(c.function, c.request, viaLibrary);
        const auto statusBoard = direct.call(c.function, c.request, viaBoard);
        const std::string what = std::string(reader::exportedName(c.function)) + " " + c.request;
        EXPECT_EQ(statusLibrary, statusBoard) << what;
        EXPECT_EQ(viaLibrary.hasNul(), viaBoard.hasNul()) << what;
        EXPECT_EQ(viaLibrary.text(), viaBoard.text()) << what;
    }

    // A few answers the program relies on whatever the board's configuration.
    AnswerBuffer a;
    EXPECT_EQ(loaded.echo(a), reader::kStatusOk);
    EXPECT_EQ(a.text().substr(0, 4), "5500");
    a.fillZero();
    EXPECT_EQ(loaded.getDllRev(a), reader::kStatusOk);
    EXPECT_NE(a.text().find('.'), std::string::npos) << a.text();
}

TEST(LoadedReaderLibrary, AnOlderLibraryLacksTheRevision5FunctionsAndSaysSo) {
    LoadedReaderLibrary loaded(kOlderLibrary);
    ASSERT_TRUE(loaded.isLoaded()) << loaded.errorString().toStdString();
    for (ReaderFunction f : kAllFunctions) {
        EXPECT_EQ(loaded.provides(f), !onlyInRevision5(f)) << reader::exportedName(f);
    }

    // A missing function answers the defined status and leaves the caller's buffer.
    for (ReaderFunction f : kAllFunctions) {
        if (!onlyInRevision5(f)) continue;
        AnswerBuffer a = AnswerBuffer::blanks();
        EXPECT_EQ(loaded.call(f, "", a), reader::kStatusMissingFunction) << reader::exportedName(f);
        EXPECT_FALSE(a.hasNul());
        EXPECT_EQ(a.text(), std::string(AnswerBuffer::kSize, ' '));
    }

    AnswerBuffer rev;
    ASSERT_EQ(loaded.getDllRev(rev), reader::kStatusOk);
    // The program takes the first three characters without the dot as the revision.
    std::string number = rev.text().substr(0, 3);
    std::erase(number, '.');
    EXPECT_LT(std::stoi(number), 5) << rev.text();

    AnswerBuffer echo;
    EXPECT_EQ(loaded.echo(echo), reader::kStatusOk);
    EXPECT_EQ(echo.text().substr(0, 4), "5500");
}

TEST(LoadedReaderLibrary, AFileThatIsNoLibraryAnswersEveryCallAsMissing) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("libTQ73RN.so"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a library");
    f.close();

    LoadedReaderLibrary loaded(path);
    EXPECT_FALSE(loaded.isLoaded());
    for (ReaderFunction fn : kAllFunctions) {
        AnswerBuffer a = AnswerBuffer::blanks();
        EXPECT_EQ(loaded.call(fn, "0100", a), reader::kStatusMissingFunction);
        EXPECT_FALSE(a.hasNul());
    }
}

TEST(LoadedReaderLibrary, TheLibraryIsFoundBesideTheProgramOnly) {
    QTemporaryDir programFolder;
    EXPECT_TRUE(LoadedReaderLibrary::libraryFileBeside(programFolder.path()).isEmpty());

    const QString placed = programFolder.filePath(QStringLiteral("libTQ73RN.so"));
    ASSERT_TRUE(QFile::copy(kCurrentLibrary, placed));
    const QString found = LoadedReaderLibrary::libraryFileBeside(programFolder.path());
    EXPECT_EQ(found, placed);

    LoadedReaderLibrary loaded(found);
    ASSERT_TRUE(loaded.isLoaded()) << loaded.errorString().toStdString();
    AnswerBuffer a;
    EXPECT_EQ(loaded.echo(a), reader::kStatusOk);
    EXPECT_EQ(a.text().substr(0, 4), "5500");
}

// The library reads the board description that stands beside its own file, wherever the
// program loads it from, not the one beside the program.
TEST(LoadedReaderLibrary, TheLibraryAnswersFromTheBoardIniBesideIt) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString placed = folder.filePath(QStringLiteral("libTQ73RN.so"));
    ASSERT_TRUE(QFile::copy(kCurrentLibrary, placed));
    QFile ini(folder.filePath(QStringLiteral("simulated-board.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[board]\nidentity=TQ73RN-BESIDE-7Q\nemptyAntenna=true\n");
    ini.close();

    LoadedReaderLibrary loaded(placed);
    ASSERT_TRUE(loaded.isLoaded()) << loaded.errorString().toStdString();
    AnswerBuffer idn;
    ASSERT_EQ(loaded.idn(idn), reader::kStatusOk);
    const std::string identity = QByteArray("TQ73RN-BESIDE-7Q").toHex().toUpper().toStdString();
    EXPECT_NE(idn.text().find(identity), std::string::npos) << idn.text();

    // Its antenna is the file's: empty, so an inventory that the default antenna's tag
    // answers finds nothing.
    AnswerBuffer a;
    ASSERT_EQ(loaded.call(ReaderFunction::Select, "010D", a), reader::kStatusOk);
    ASSERT_EQ(a.text().substr(0, 4), "0000");
    a.fillZero();
    ASSERT_EQ(loaded.call(ReaderFunction::SendReceive, "260100", a), reader::kStatusOk);
    EXPECT_EQ(a.text().substr(0, 4), "8700");
}

// The names each function is looked up by, on every system the program is built for,
// whichever system runs this test. A 32-bit Windows library may export the decorated
// name of the standard calling convention: "_", the name, "@" and the bytes of the
// arguments, four per text argument.
TEST(LoadedReaderLibrary, EveryFunctionIsLookedUpByItsNameOnEverySystem) {
    struct Row {
        ReaderFunction function;
        const char* name;
        const char* decorated;
    };
    const Row rows[] = {
        {ReaderFunction::UsbConnect, "TQ73RNDLL_USBconnect", "_TQ73RNDLL_USBconnect@0"},
        {ReaderFunction::UsbHandleCheck, "TQ73RNDLL_USBhandlecheck", "_TQ73RNDLL_USBhandlecheck@0"},
        {ReaderFunction::KvCmd, "TQ73RNDll_KVCmd", "_TQ73RNDll_KVCmd@8"},
        {ReaderFunction::Select, "TQ73RNDll_Select", "_TQ73RNDll_Select@8"},
        {ReaderFunction::SendReceive, "TQ73RNDll_SendReceive", "_TQ73RNDll_SendReceive@8"},
        {ReaderFunction::Echo, "TQ73RNDll_Echo", "_TQ73RNDll_Echo@4"},
        {ReaderFunction::Idn, "TQ73RNDll_Idn", "_TQ73RNDll_Idn@4"},
        {ReaderFunction::FieldOff, "TQ73RNDll_FieldOff", "_TQ73RNDll_FieldOff@4"},
        {ReaderFunction::GetDllRev, "TQ73RNDll_GetDLLrev", "_TQ73RNDll_GetDLLrev@4"},
        {ReaderFunction::ResetSpi, "TQ73RNDll_ResetSPI", "_TQ73RNDll_ResetSPI@4"},
        {ReaderFunction::SendIrqPulse, "TQ73RNDll_SendIRQPulse", "_TQ73RNDll_SendIRQPulse@4"},
        {ReaderFunction::SendNssPulse, "TQ73RNDll_SendNSSPulse", "_TQ73RNDll_SendNSSPulse@4"},
        {ReaderFunction::PollingReading, "TQ73RNDll_Polling_Reading",
         "_TQ73RNDll_Polling_Reading@4"},
        {ReaderFunction::GetMcuRev, "TQ73RNDLL_getMCUrev", "_TQ73RNDLL_getMCUrev@4"},
        {ReaderFunction::GetInterfacePinState, "TQ73RNDLL_getInterfacePinState",
         "_TQ73RNDLL_getInterfacePinState@4"},
    };
    ASSERT_EQ(std::size(rows), std::size(kAllFunctions));
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row& r = rows[i];
        ASSERT_EQ(r.function, kAllFunctions[i]) << r.name;
        using Names = std::vector<std::string>;
        EXPECT_EQ(core::libraryExportNames(r.function, core::LibraryPlatform::Unix), Names{r.name});
        EXPECT_EQ(core::libraryExportNames(r.function, core::LibraryPlatform::Windows64),
                  Names{r.name});
        EXPECT_EQ(core::libraryExportNames(r.function, core::LibraryPlatform::Windows32),
                  (Names{r.name, r.decorated}));
    }

    EXPECT_EQ(core::libraryFileName(core::LibraryPlatform::Unix), QStringLiteral("libTQ73RN.so"));
    EXPECT_EQ(core::libraryFileName(core::LibraryPlatform::Windows64),
              QStringLiteral("TQ73RN.dll"));
    EXPECT_EQ(core::libraryFileName(core::LibraryPlatform::Windows32),
              QStringLiteral("TQ73RN.dll"));
}

}  // namespace

#include "core/loaded_reader_library.hpp"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

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

}  // namespace

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "core/app_context.hpp"
#include "core/loaded_reader_library.hpp"
#include "qstring_printer.hpp"
#include "scripted_reader.hpp"

namespace {

const QString kCurrentLibrary = QStringLiteral(TQ_CABI_DIR "/libTQ73RN_sim.so");

// The reader library beside the program when it loads; the simulated board otherwise,
// and a file that would not load is named with the loader's reason.
TEST(ReaderChoice, TheLibraryBesideTheProgramOrTheSimulatedBoard) {
    enum class Beside { Nothing, Library, Text, Empty };
    const struct {
        const char* name;
        Beside beside;
        bool simulated;
        bool failed;
    } cases[] = {
        {"no library", Beside::Nothing, true, false},
        {"a library that loads", Beside::Library, false, false},
        {"a text file", Beside::Text, true, true},
        {"an empty file", Beside::Empty, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir folder;
        const QString file = folder.filePath(core::LoadedReaderLibrary::libraryFileName());
        if (c.beside == Beside::Library) {
            ASSERT_TRUE(QFile::copy(kCurrentLibrary, file));
        }
        if (c.beside == Beside::Text || c.beside == Beside::Empty) {
            QFile f(file);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            if (c.beside == Beside::Text) f.write("not a library\n");
        }
        testsupport::ScriptedReader* simulated = nullptr;
        core::ChosenReader chosen = core::chooseReader(folder.path(), [&simulated] {
            auto made = std::make_unique<testsupport::ScriptedReader>();
            simulated = made.get();
            return made;
        });
        ASSERT_NE(chosen.reader, nullptr);
        EXPECT_EQ(chosen.choice.simulated, c.simulated);
        EXPECT_EQ(chosen.reader.get() == simulated, c.simulated);
        EXPECT_EQ(chosen.choice.failedLibrary, c.failed ? file : QString());
        EXPECT_EQ(chosen.choice.failureReason.isEmpty(), !c.failed);
        // The reason is the loader's, without the file's name the message gives already.
        EXPECT_FALSE(chosen.choice.failureReason.contains(file))
            << chosen.choice.failureReason.toStdString();
    }
}

}  // namespace

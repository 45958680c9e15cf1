#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>
#include <optional>

#include "dummy_tag.hpp"
#include "hostile_files.hpp"
#include "reader/answer_buffer.hpp"
#include "simboard/board_config.hpp"
#include "simboard/default_antenna.hpp"
#include "simboard/simulated_board.hpp"

namespace simboard {
namespace {

using reader::AnswerBuffer;

TEST(BoardIni, GoodFileSetsBoardAndTags) {
    const auto parsed = parseBoardIni(
        "; a board with two tags\r\n"
        "[board]\r\n"
        "identity = TQ73RN-SIM-0X\r\n"
        "libraryRevision=3.4.1\n"
        "firmwareRevision=010400\n"
        "interfacePinState=00\n"
        "plugged=false\n"
        "tagDetectorTagPresent=yes\n"
        "idleAnswerCarriesReason=0\n"
        "detectorAmplitude=B0\n"
        "detectorAmplitudeWithTag=70\n"
        "\n"
        "[tag.1]\n"
        "kind=ISO15693\n"
        "uid=E0FF123456789ABC\n"
        "# blocks stay default\n"
        "[Tag.2]\n"
        "kind=sola\n"
        "chipId=5A\n");
    EXPECT_TRUE(parsed.warnings.empty()) << parsed.warnings.front();
    const BoardConfig& c = parsed.config;
    EXPECT_EQ(c.identification, "TQ73RN-SIM-0X");
    EXPECT_EQ(c.libraryRevision, "3.4.1");
    EXPECT_EQ(c.firmwareRevision, (Bytes{0x01, 0x04, 0x00}));
    EXPECT_EQ(c.interfacePinState, 0x00);
    EXPECT_FALSE(c.plugged);
    EXPECT_EQ(c.detector.tagPresent, true);
    EXPECT_FALSE(c.idleAnswerCarriesReason);
    EXPECT_EQ(c.detector.amplitudeWithoutTag, 0xB0);
    EXPECT_EQ(c.detector.amplitudeWithTag, 0x70);
    ASSERT_TRUE(c.tags);
    const std::vector<TagSpec> expected = {
        {"iso15693", {{"uid", "E0FF123456789ABC"}}},
        {"sola", {{"chipId", "5A"}}},
    };
    EXPECT_EQ(*c.tags, expected);
}

TEST(BoardIni, UnreadableLinesAreIgnoredAndTheDefaultsStand) {
    const struct {
        const char* name;
        std::string text;
        std::size_t warnings;
    } cases[] = {
        {"empty", "", 0},
        {"binary", std::string("\x00\xFF[\x01=\n=\n\xC3", 9), 3},
        {"key outside a section", "identity=X\n", 1},
        {"unclosed and unknown sections", "[board\nidentity=X\n[other]\nplugged=false\n", 4},
        {"bad values",
         "[board]\nidentity=\nidentity=" + std::string(61, 'A') +
             "\nidentity=caf\xC3\xA9\nlibraryRevision=\nfirmwareRevision=0G\n"
             "firmwareRevision=\ninterfacePinState=0101\nplugged=maybe\n"
             "detectorAmplitude=100\nunknownKey=1\n=novalue\nnoequals\n",
         12},
        {"tag without kind", "[tag.1]\nuid=01\n", 1},
    };
    for (const auto& c : cases) {
        const auto parsed = parseBoardIni(c.text);
        EXPECT_EQ(parsed.config, BoardConfig{}) << c.name;
        EXPECT_EQ(parsed.warnings.size(), c.warnings) << c.name;
    }
    // An explicitly empty antenna is not the default one.
    EXPECT_EQ(parseBoardIni("[board]\nemptyAntenna=true\n").config.tags, std::vector<TagSpec>{});
}

// emptyAntenna only matters without [tag.N] sections: listed tags stay on the antenna,
// wherever the key stands.
TEST(BoardIni, EmptyAntennaKeepsTheListedTags) {
    const std::vector<TagSpec> listed = {{"iso15693", {{"uid", "E001020304050607"}}}, {"sola", {}}};
    const std::string tags = "[tag.1]\nkind=iso15693\nuid=E001020304050607\n[tag.2]\nkind=sola\n";
    for (const std::string& text :
         {"[board]\nemptyAntenna=true\n" + tags, tags + "[board]\nemptyAntenna=true\n",
          "[board]\nemptyAntenna=false\n" + tags}) {
        const auto parsed = parseBoardIni(text);
        ASSERT_TRUE(parsed.config.tags.has_value()) << text;
        EXPECT_EQ(*parsed.config.tags, listed) << text;
        SimulatedBoard board(parsed.config);
        EXPECT_EQ(board.antenna().size(), 2u) << text;
    }
}

class BoardIniFile : public ::testing::Test {
  protected:
    void write(const std::string& text) {
        std::ofstream(path(), std::ios::binary | std::ios::trunc) << text;
    }
    std::string path() const { return folder.filePath(kBoardIniName).toStdString(); }
    std::string folderPath() const { return folder.path().toStdString(); }
    static std::string echo(SimulatedBoard& board, reader::LibraryStatus expected) {
        AnswerBuffer a;
        EXPECT_EQ(board.echo(a), expected);
        return a.text();
    }

    QTemporaryDir folder;
};

TEST_F(BoardIniFile, UnpluggedBoardComesBackWhenTheFileSaysSoAtReconnect) {
    write("[board]\nplugged=false\n");
    SimulatedBoard board(folderPath());
    EXPECT_NE(board.usbHandleCheck(), 0);
    echo(board, reader::kStatusUnreachable);
    EXPECT_NE(board.usbConnect(), 0);

    write("[board]\nplugged=true\nidentity=TQ73RN-SIM-1X\n");
    EXPECT_EQ(board.usbConnect(), 0);
    EXPECT_EQ(board.usbHandleCheck(), 0);
    EXPECT_EQ(echo(board, reader::kStatusOk), "5500");
    AnswerBuffer a;
    board.idn(a);
    EXPECT_EQ(a.text().substr(4, 26), "54513733524E2D53494D2D3158");
}

TEST_F(BoardIniFile, TheAntennaIsRebuiltOnlyWhenTheFileChanges) {
    write("[board]\nemptyAntenna=true\n");
    SimulatedBoard board(folderPath());
    EXPECT_EQ(board.antenna().size(), 0u);
    // Stands for a tag whose memory the user has written since.
    testing::addDummy(board.antenna(), Protocol::Iso15693, {0x00});
    ASSERT_EQ(board.usbConnect(), 0);
    EXPECT_EQ(board.antenna().size(), 1u);

    write("[board]\nemptyAntenna=true\ntagDetectorTagPresent=true\n");
    ASSERT_EQ(board.usbConnect(), 0);
    EXPECT_EQ(board.antenna().size(), 0u);
    EXPECT_EQ(board.config().detector.tagPresent, true);

    // Removing the file brings back the default board and antenna.
    std::remove(path().c_str());
    ASSERT_EQ(board.usbConnect(), 0);
    EXPECT_EQ(board.config(), BoardConfig{});
    EXPECT_EQ(board.antenna().size(), buildDefaultAntenna().size());
}

// Whatever stands under the file's name, a reconnect returns at once; anything but a
// regular file of a few MB is ignored like a file that cannot be read.
TEST_F(BoardIniFile, AFifoADeviceOrAHugeFileLeavesTheDefaultBoard) {
    const QString name = QString::fromStdString(path());
    for (testsupport::HostileFile kind : testsupport::kHostileFiles) {
        SCOPED_TRACE(testsupport::hostileFileName(kind));
        write("[board]\nplugged=false\n");
        SimulatedBoard board(folderPath());
        ASSERT_NE(board.usbConnect(), 0);

        // The huge one would unplug the board, were it read.
        ASSERT_TRUE(testsupport::makeHostileFile(name, kind, "[board]\nplugged=false\n",
                                                 "; a comment line to make the file large\n"));
        testsupport::FifoRescue rescue(name);
        EXPECT_EQ(board.usbConnect(), 0);
        EXPECT_FALSE(rescue.fired()) << "the board waited on the FIFO";
        EXPECT_EQ(board.config(), BoardConfig{});
        EXPECT_EQ(board.iniWarnings().size(), 1u);
        EXPECT_EQ(echo(board, reader::kStatusOk), "5500");
        // A board made while the name is taken starts as the default board too.
        SimulatedBoard fresh(folderPath());
        EXPECT_EQ(fresh.config(), BoardConfig{});
        std::remove(path().c_str());
    }
}

TEST_F(BoardIniFile, UnknownKindsAndWarningsDoNotStopTheBoard) {
    write("[board]\nbogus=1\n[tag.1]\nkind=no-such-kind\n");
    SimulatedBoard board(folderPath());
    EXPECT_EQ(board.antenna().size(), 0u);
    EXPECT_EQ(board.iniWarnings().size(), 1u);
    EXPECT_EQ(echo(board, reader::kStatusOk), "5500");
}

}  // namespace
}  // namespace simboard

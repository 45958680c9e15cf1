#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <fstream>
#include <functional>
#include <optional>

#include "dummy_tag.hpp"
#include "hostile_files.hpp"
#include "reader/answer_buffer.hpp"
#include "scripted_ui.hpp"
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
        "chipid=5A\n");
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
        {"sola", {{"chipid", "5A"}}},
    };
    EXPECT_EQ(*c.tags, expected);
}

TEST(BoardIni, UnreadableLinesAreIgnoredAndTheDefaultsStand) {
    // Each line that is not taken is named, with why, for the user to mend the file.
    const struct {
        const char* name;
        std::string text;
        std::vector<std::string> warnings;
    } cases[] = {
        {"empty", "", {}},
        {"binary",
         std::string("\x00\xFF[\x01=\n=\n\xC3", 9),
         {"line 1: key outside a section", "line 2: empty key", "line 3: not a key=value line"}},
        {"key outside a section", "identity=X\n", {"line 1: key outside a section"}},
        {"unclosed and unknown sections",
         "[board\nidentity=X\n[other]\nplugged=false\n",
         {"line 1: unclosed section header", "line 2: key outside a section",
          "line 3: unknown section", "line 4: key outside a section"}},
        {"bad values",
         "[board]\nidentity=\nidentity=" + std::string(61, 'A') +
             "\nidentity=caf\xC3\xA9\nlibraryRevision=\nfirmwareRevision=0G\n"
             "firmwareRevision=\ninterfacePinState=0101\nplugged=maybe\n"
             "detectorAmplitude=100\nunknownKey=1\n=novalue\nnoequals\n",
         {"line 2: bad value for identity", "line 3: bad value for identity",
          "line 4: bad value for identity", "line 5: bad value for libraryRevision",
          "line 6: bad value for firmwareRevision", "line 7: bad value for firmwareRevision",
          "line 8: bad value for interfacePinState", "line 9: bad value for plugged",
          "line 10: bad value for detectorAmplitude", "line 11: unknown key unknownKey",
          "line 12: empty key", "line 13: not a key=value line"}},
        {"tag without kind", "[tag.1]\nuid=01\n", {"line 1: tag section without kind= is ignored"}},
    };
    for (const auto& c : cases) {
        const auto parsed = parseBoardIni(c.text);
        EXPECT_EQ(parsed.config, BoardConfig{}) << c.name;
        EXPECT_EQ(parsed.warnings, c.warnings) << c.name;
    }
    // An explicitly empty antenna is not the default one.
    EXPECT_EQ(parseBoardIni("[board]\nemptyAntenna=true\n").config.tags, std::vector<TagSpec>{});
}

// A value at the edge of what its key takes is taken whole and without a warning: a blank
// or a tilde inside a text, a text of the greatest length, the largest and smallest bytes.
TEST(BoardIni, ValuesAtTheEdgesOfTheirKeysAreTaken) {
    const std::string longestIdentity =
        "~ " + std::string(kMaxIdentificationLength - 4, 'I') + " !";
    const std::string longestRevision = "3.4.1 (" + std::string(24, '9') + ")";
    const struct {
        std::string line;
        std::function<bool(const BoardConfig&)> taken;
    } cases[] = {
        {"identity=TQ73RN SIM ~2A",
         [](const BoardConfig& c) { return c.identification == "TQ73RN SIM ~2A"; }},
        {"identity=" + longestIdentity,
         [&](const BoardConfig& c) { return c.identification == longestIdentity; }},
        {"libraryRevision=" + longestRevision,
         [&](const BoardConfig& c) { return c.libraryRevision == longestRevision; }},
        {"firmwareRevision=" + std::string(32, 'F'),
         [](const BoardConfig& c) { return c.firmwareRevision == Bytes(16, 0xFF); }},
        {"interfacePinState=FF", [](const BoardConfig& c) { return c.interfacePinState == 0xFF; }},
        {"detectorAmplitude=00",
         [](const BoardConfig& c) { return c.detector.amplitudeWithoutTag == 0x00; }},
    };
    ASSERT_EQ(longestIdentity.size(), kMaxIdentificationLength);
    ASSERT_EQ(longestRevision.size(), 32u);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const ParsedBoardIni parsed = parseBoardIni("[board]\n" + c.line + "\n");
        EXPECT_EQ(parsed.warnings, std::vector<std::string>{});
        EXPECT_TRUE(c.taken(parsed.config));
    }
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

// A tag left off the antenna makes every window say that no tag answers: the line that
// made it so is named, and so is a key the tag never reads.
TEST(BoardIni, RefusedTagsAndIgnoredTagKeysAreNamedWithTheirLine) {
    const struct {
        std::string text;
        std::vector<std::string> warnings;
        std::size_t tagsOnAntenna;
    } cases[] = {
        {"[tag.1]\nkind=iso15693\nblocks=0\n",
         {"line 3: [tag.1] blocks=0 refused: the iso15693 tag is left out"},
         0},
        {"[tag.1]\nkind=iso15693\nuid=E002030405060708\nblocksize=0\n",
         {"line 4: [tag.1] blocksize=0 refused: the iso15693 tag is left out"},
         0},
        // Each refused key is named, in file order, and the good tag after them stays.
        {"[Tag.A]\nkind=iso14443a\nuid=0102\nsak=04\natqa=4400\n[tag.2]\nkind=felica\n",
         {"line 3: [Tag.A] uid=0102 refused: the iso14443a tag is left out",
          "line 4: [Tag.A] sak=04 refused: the iso14443a tag is left out"},
         1},
        {"[tag.1]\nkind=sola\ndata=" + std::string(40, 'G') + "\n",
         {"line 3: [tag.1] data=" + std::string(32, 'G') + "... refused: the sola tag is left out"},
         0},
        {"\n[tag.1]\nkind=rfid\nuid=01\n",
         {"line 2: [tag.1] unknown kind rfid: the tag is left out"},
         0},
        {"[tag.1]\nkind=sola\nchipId=5A\nblocks=16\n",
         {"line 3: [tag.1] unknown key chipId for a sola tag is ignored (tag keys are "
          "case-sensitive)"},
         1},
    };
    for (const auto& c : cases) {
        const ParsedBoardIni parsed = parseBoardIni(c.text);
        EXPECT_EQ(parsed.warnings, c.warnings) << c.text;
        EXPECT_EQ(SimulatedBoard(parsed.config).antenna().size(), c.tagsOnAntenna) << c.text;
    }
}

// The numeric keys of the tags at the edges of their ranges: the smallest and largest
// values are taken without a word, one beyond either is refused, named with its line, and
// the tag is left off the antenna. A size is counted in blocks of the tag's block size.
TEST(BoardIni, NumericTagKeysAreTakenUpToTheirLimitsAndRefusedOneBeyond) {
    const struct {
        const char* kind;
        std::string keys;     // the section's lines after kind=
        std::string refused;  // the key=value refused, on the section's last line; empty: taken
    } cases[] = {
        {"sola", "blocks=1", ""},
        {"sola", "blocks=256", ""},
        {"sola", "blocks=0", "blocks=0"},
        {"sola", "blocks=257", "blocks=257"},
        {"iso15693", "blocks=1", ""},
        {"iso15693", "blocks=65536", ""},
        {"iso15693", "blocks=0", "blocks=0"},
        {"iso15693", "blocks=65537", "blocks=65537"},
        {"iso15693", "blocksize=1", ""},
        {"iso15693", "blocksize=32", ""},
        {"iso15693", "blocksize=0", "blocksize=0"},
        {"iso15693", "blocksize=33", "blocksize=33"},
        {"iso15693", "size=1", ""},
        {"iso15693", "size=2048", ""},
        {"iso15693", "size=0", "size=0"},
        {"iso15693", "size=2049", "size=2049"},
        {"iso15693", "blocksize=32\nsize=1", ""},           // 4 blocks
        {"iso15693", "blocksize=1\nsize=512", ""},          // 65536 blocks
        {"iso15693", "blocksize=1\nsize=513", "size=513"},  // 65664 blocks
        {"iso14443b", "mbli=0", ""},
        {"iso14443b", "mbli=F", ""},
        {"iso14443b", "mbli=10", "mbli=10"},
        {"iso14443b", "mbli=G", "mbli=G"},
    };
    for (const auto& c : cases) {
        const std::string text = "[tag.1]\nkind=" + std::string(c.kind) + "\n" + c.keys + "\n";
        SCOPED_TRACE(text);
        const ParsedBoardIni parsed = parseBoardIni(text);
        const std::size_t lastLine =
            2 + static_cast<std::size_t>(std::count(c.keys.begin(), c.keys.end(), '\n')) + 1;
        std::vector<std::string> warnings;
        if (!c.refused.empty()) {
            warnings.push_back("line " + std::to_string(lastLine) + ": [tag.1] " + c.refused +
                               " refused: the " + c.kind + " tag is left out");
        }
        EXPECT_EQ(parsed.warnings, warnings);
        EXPECT_EQ(SimulatedBoard(parsed.config).antenna().size(), c.refused.empty() ? 1u : 0u);
    }
}

// Every key a tag reads is taken without a word, so a warning about a key is never a
// false alarm.
TEST(BoardIni, EveryKeyOfEveryKindIsTakenWithoutAWarning) {
    const std::string text =
        "[tag.1]\nkind=iso15693\nuid=E002030405060708\ndsfid=01\nafi=02\nic=2A\n"
        "blocks=64\nblocksize=8\ndata=0102\nlocked=01,02\n"
        "[tag.2]\nkind=iso15693\nuid=E002030405060709\nsize=2\n"
        "[tag.3]\nkind=iso14443a\nuid=04A1B2C3D4E5F6071829\nsak=20\natqa=4403\nsak1=24\n"
        "sak2=24\nmemory=" +
        std::string(128, '0') +
        "\n"
        "[tag.4]\nkind=topaz\nuid=11223344556677\nhr0=11\nhr1=48\nmemory=" +
        std::string(240, '0') +
        "\n"
        "[tag.5]\nkind=iso14443b\npupi=A1B2C3D4\nafi=00\nappdata=00000000\n"
        "protocolinfo=00718500\nmbli=1\n"
        "[tag.6]\nkind=sola\nchipid=37\nuid=1C2B3A4958677685\nproduct=SOLA-B\nblocks=16\n"
        "data=00112233\n"
        "[tag.7]\nkind=felica\nidm=0102030405060708\npmm=1112131415161718\nsystemcode=1A2B\n";
    const ParsedBoardIni parsed = parseBoardIni(text);
    EXPECT_EQ(parsed.warnings, std::vector<std::string>{});
    EXPECT_EQ(SimulatedBoard(parsed.config).antenna().size(), 7u);
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
    EXPECT_EQ(board.iniWarnings().size(), 2u);
    EXPECT_EQ(echo(board, reader::kStatusOk), "5500");
}

// What a read ignored is told once, at the connect after the read (the first connect
// for the file found when the board was made), and not again until the file changes.
TEST_F(BoardIniFile, WarningsAreToldOnceAtTheConnectAfterAChangedFileIsRead) {
    const std::string kIntro =
        "The simulated board left out what it could not take from simulated-board.ini:\n";
    write("[board]\nbogus=1\n[tag.1]\nkind=iso15693\nblocks=0\n");
    SimulatedBoard board(folderPath());
    testsupport::ScriptedUi ui;
    board.setIniWarningListener([&ui](const std::string& message) {
        ui.messageBox(QString::fromStdString(message), QString::fromLatin1(kBoardIniName),
                      core::MsgIcon::Exclamation, core::MsgButtons::Ok);
    });
    const auto connectTells = [&](const std::string& text) {
        if (!text.empty()) ui.expectMessage();
        const std::size_t before = ui.messages().size();
        board.usbConnect();
        if (text.empty()) {
            EXPECT_EQ(ui.messages().size(), before) << "told again";
            return;
        }
        ASSERT_EQ(ui.messages().size(), before + 1);
        EXPECT_EQ(ui.messages().back().text.toStdString(), text);
        EXPECT_EQ(ui.messages().back().title, QLatin1String(kBoardIniName));
    };

    connectTells(kIntro +
                 "line 2: unknown key bogus\n"
                 "line 5: [tag.1] blocks=0 refused: the iso15693 tag is left out");
    connectTells("");
    write("[board]\nplugged=maybe\n");
    connectTells(kIntro + "line 2: bad value for plugged");
    connectTells("");
    write("[board]\nplugged=true\n");
    connectTells("");
    // A long list is cut after twenty lines.
    std::string many = "[board]\n";
    for (int i = 0; i < 25; ++i) many += "key" + std::to_string(i) + "=1\n";
    write(many);
    std::string told = kIntro.substr(0, kIntro.size() - 1);
    for (int i = 0; i < 20; ++i) {
        told += "\nline " + std::to_string(i + 2) + ": unknown key key" + std::to_string(i);
    }
    connectTells(told + "\n... and 5 more");
    // Something that is not a file under its name is told once too.
    std::remove(path().c_str());
    ASSERT_TRUE(QDir(folder.path()).mkdir(QString::fromLatin1(kBoardIniName)));
    connectTells(kIntro +
                 "simulated-board.ini is not a regular file of at most 4 MB that can be read: "
                 "the default board stands");
    connectTells("");
    // Once it is gone there is nothing to tell: the refusal was about the thing removed.
    ASSERT_TRUE(QDir(folder.path()).rmdir(QString::fromLatin1(kBoardIniName)));
    connectTells("");
}

}  // namespace
}  // namespace simboard

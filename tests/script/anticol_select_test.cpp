#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/log_entry.hpp"
#include "reader/recording_reader.hpp"
#include "script_fixture.hpp"
#include "simboard/board_config.hpp"
#include "simboard/simulated_board.hpp"

using reader::ReaderFunction;
using scripttest::callEntry;
using scripttest::kAnticollisionEnd;
using scripttest::kAnticollisionStart;

namespace {

QString result(const QString& uid) {
    return "\r\n\r\n\t\t\t--> UID = " + uid + "\r\n\t\t\t--> TAG selected";
}

const QString kScript =
    "TQ73RNDLL_SELECT, 02000180\nTQ73RN_ISO14443-A_ANTICOLSELECT123\nTQ73RNDLL_ECHO";

// The board first, so that the window's context can be built on it.
struct Board {
    simboard::SimulatedBoard board;
    reader::RecordingReader recorder{board};
};

class AnticolSelectTest : public Board, public scripttest::ScriptFixture {
  protected:
    AnticolSelectTest() : ScriptFixture(&recorder) {}

    void antenna(const char* ini) {
        board.applyConfig(simboard::parseBoardIni(ini).config);
        recorder.clearJournal();
    }
    std::vector<std::string> exchanges() const {
        std::vector<std::string> out;
        for (const auto& e : recorder.callsTo(ReaderFunction::SendReceive))
            out.push_back(e.request);
        return out;
    }
    // The titled entries of the journal's exchanges, as the keyword must have logged them.
    QString entries(const std::vector<const char*>& titles, std::size_t from = 0) const {
        const auto sent = recorder.callsTo(ReaderFunction::SendReceive);
        EXPECT_GE(sent.size(), from + titles.size());
        QString out;
        for (std::size_t i = 0; i < titles.size() && from + i < sent.size(); ++i) {
            const auto& e = sent[from + i];
            out += core::log_entry::titled(
                tc.clock.now(), QLatin1String(titles[i]), QLatin1String(core::kLogSendRecv),
                QString::fromStdString(e.request), QString::fromStdString(e.answer));
        }
        return out;
    }
    const QString select = callEntry("TQ73RNDLL_SELECT, 02000180", "0000");
    const QString echo = callEntry("TQ73RNDLL_ECHO", "5500");
};

}  // namespace

TEST_F(AnticolSelectTest, SelectsTagsOfEveryUidSizeThroughTheirCascadeLevels) {
    const struct {
        const char* uid;
        std::vector<std::string> requests;
        std::vector<const char*> titles;
    } cases[] = {
        {"A1B2C3D4",
         {"2607", "932008", "9370A1B2C3D40428"},
         {"ISO14443-A REQA", "ISO14443-A ANTICOL 1", "ISO14443-A SELECT 1"}},
        {"04A1B2C3D4E5F6",
         {"2607", "932008", "93708804A1B29F28", "952008", "9570C3D4E5F60428"},
         {"ISO14443-A REQA", "ISO14443-A ANTICOL 1", "ISO14443-A SELECT 1", "ISO14443-A ANTICOL 2",
          "ISO14443-A SELECT 2"}},
        {"0102030405060708090A",
         {"2607", "932008", "9370880102038828", "952008", "9570880405068F28", "972008",
          "97700708090A0C28"},
         {"ISO14443-A REQA", "ISO14443-A ANTICOL 1", "ISO14443-A SELECT 1", "ISO14443-A ANTICOL 2",
          "ISO14443-A SELECT 2", "ISO14443-A ANTICOL 3", "ISO14443-A SELECT 3"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.uid);
        antenna(("[tag.1]\nkind=iso14443a\nuid=" + std::string(c.uid) + "\n").c_str());
        click(QStringLiteral("cmdEraseLogScript"));
        run(kScript);
        EXPECT_EQ(exchanges(), c.requests);
        EXPECT_EQ(log(), select + kAnticollisionStart + entries(c.titles) +
                             result(QLatin1String(c.uid)) + kAnticollisionEnd + echo);
    }
}

TEST_F(AnticolSelectTest, NoTagGetsTwoRequestsAndTheEndLine) {
    antenna("[board]\nemptyAntenna=true\n");
    run(kScript);
    EXPECT_EQ(exchanges(), (std::vector<std::string>{"2607", "2607"}));
    EXPECT_EQ(log(), select + kAnticollisionStart +
                         entries({"ISO14443-A REQA", "ISO14443-A REQA"}) + kAnticollisionEnd +
                         echo);
}

TEST_F(AnticolSelectTest, ATagLeftSelectedAnswersTheSecondRequest) {
    antenna("[tag.1]\nkind=iso14443a\nuid=A1B2C3D4\n");
    run(kScript + "\nTQ73RN_ISO14443-A_ANTICOLSELECT123");
    const auto sent = recorder.callsTo(ReaderFunction::SendReceive);
    ASSERT_EQ(sent.size(), 7u);
    EXPECT_EQ(sent[3].request, "2607");
    EXPECT_EQ(sent[3].answer, "8700");  // the selected tag drops back to idle, silent
    EXPECT_TRUE(log().endsWith(entries({"ISO14443-A REQA", "ISO14443-A REQA",
                                        "ISO14443-A ANTICOL 1", "ISO14443-A SELECT 1"},
                                       3) +
                               result("A1B2C3D4") + kAnticollisionEnd));
}

TEST_F(AnticolSelectTest, AFailedSelectEndsTheKeywordAtItsEntryAndTheScriptGoesOn) {
    antenna("[tag.1]\nkind=iso14443a\nuid=A1B2C3D4\n");
    board.faults().onCall(ReaderFunction::SendReceive, 3, {reader::kStatusOk, "8700"});
    run(kScript);
    EXPECT_EQ(log(),
              select + kAnticollisionStart +
                  entries({"ISO14443-A REQA", "ISO14443-A ANTICOL 1", "ISO14443-A SELECT 1"}) +
                  echo);
}

// A frame too short to hold the level's four UID bytes and BCC names no tag: a SELECT
// built from it would carry a cut UID part.
TEST_F(AnticolSelectTest, AShortAnticollisionAnswerEndsTheKeywordWithoutASelect) {
    const struct {
        const char* uid;
        int anticolCall;  // the exchange whose answer is cut
        const char* cut;
        std::vector<std::string> requests;
        std::vector<const char*> titles;
    } cases[] = {
        {"A1B2C3D4",
         2,
         "8003A1B2C3",
         {"2607", "932008"},
         {"ISO14443-A REQA", "ISO14443-A ANTICOL 1"}},
        {"04A1B2C3D4E5F6",
         4,
         "8004C3D4E5F6",
         {"2607", "932008", "93708804A1B29F28", "952008"},
         {"ISO14443-A REQA", "ISO14443-A ANTICOL 1", "ISO14443-A SELECT 1",
          "ISO14443-A ANTICOL 2"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cut);
        antenna(("[tag.1]\nkind=iso14443a\nuid=" + std::string(c.uid) + "\n").c_str());
        board.faults().onCall(ReaderFunction::SendReceive, c.anticolCall,
                              {reader::kStatusOk, c.cut});
        click(QStringLiteral("cmdEraseLogScript"));
        run(kScript);
        EXPECT_EQ(exchanges(), c.requests);
        ASSERT_FALSE(recorder.callsTo(ReaderFunction::SendReceive).empty());
        EXPECT_EQ(recorder.callsTo(ReaderFunction::SendReceive).back().answer, c.cut);
        // The log ends at the cut answer: no UID, no end line; the script goes on.
        EXPECT_EQ(log(), select + kAnticollisionStart + entries(c.titles) + echo);
    }
}

TEST_F(AnticolSelectTest, AnUnreachableBoardThatWroteNothingIsNoAnswerAndEndsTheCascade) {
    antenna("[tag.1]\nkind=iso14443a\nuid=A1B2C3D4\n");
    board.faults().onCall(ReaderFunction::SendReceive, 2, {reader::kStatusUnreachable, {}});
    run(kScript);
    // One reconnect with the script's own ISO14443-A select; the ANTICOL is not repeated
    // and the REQA's answer is never read as its own.
    std::vector<std::pair<ReaderFunction, std::string>> after;
    const auto& journal = recorder.journal();
    for (std::size_t i = 3; i < journal.size(); ++i) {
        after.emplace_back(journal[i].function, journal[i].request);
    }
    EXPECT_EQ(after, (std::vector<std::pair<ReaderFunction, std::string>>{
                         {ReaderFunction::UsbConnect, ""},
                         {ReaderFunction::UsbHandleCheck, ""},
                         {ReaderFunction::Select, "02000180"},
                         {ReaderFunction::Echo, ""}}));
    EXPECT_EQ(log(), select + kAnticollisionStart + entries({"ISO14443-A REQA"}) +
                         core::log_entry::titled(tc.clock.now(), "ISO14443-A ANTICOL 1",
                                                 core::kLogSendRecv, "932008", "") +
                         echo);
}

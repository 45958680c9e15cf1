#include "iso14443b/iso18092_window.hpp"

#include <gtest/gtest.h>

#include "core/run_guard.hpp"
#include "simboard/combiner.hpp"
#include "tag_window_fixture.hpp"

namespace {

using iso14443b::Iso18092Window;
using iso14443btest::duringNextPump;
using iso14443btest::LogLine;
using reader::ReaderFunction;

using Driver = iso14443btest::TagWindowDriver<Iso18092Window, core::WindowKind::Iso18092>;

const std::string kPollAnswer = "80151201010203040506070811121314151617189EC600";

class Iso18092OnBoard : public ::testing::Test {
  protected:
    iso14443btest::RecordedBoard b;
    testsupport::TestContext tc{&b.bounded};
    Driver d{tc, &b.bounded};
};

TEST_F(Iso18092OnBoard, LoadSetsTheTransceiverUpForFelica) {
    ASSERT_NE(d.select("ISO18092 Cards commands"), nullptr);
    EXPECT_EQ(d.w->windowTitle(), "   ISO18092  user interface  ISO18092");
    EXPECT_EQ(
        d.log(),
        (std::vector<LogLine>{
            {"", "TQ73RNDLL_ECHO", "5500"},
            {"TQ73RN CONFIGURATION : ISO18092 protocol", "TQ73RNDLL_SELECT, 0451", "0000"},
            {"TQ73RN CONFIGURATION : Index modulation & Gain adjust",
             "TQ73RNDLL_KVCMD, 01 090468010150", "0000"},
            {"TQ73RN CONFIGURATION : Auto FDet", "TQ73RNDLL_KVCMD, 01 09040A0102A1", "0000"}}));
    // The library gets the register writes without the blank the log shows.
    const auto writes = b.recorder.callsTo(ReaderFunction::KvCmd);
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[1].request, "0109040A0102A1");
    EXPECT_EQ(d.box(QStringLiteral("txt_ISO18092_request")), "");
    EXPECT_EQ(d.box(QStringLiteral("txt_ISO18092_answer")), "");
}

TEST_F(Iso18092OnBoard, LoadClearsTheScriptAndReqcLoopsAndUnloadOnlyTheReqcLoop) {
    tc.values().ScriptLoopEnabled = true;
    tc.values().ReqCLoopEnabled = true;
    ASSERT_NE(d.select("ISO18092 Cards commands"), nullptr);
    EXPECT_FALSE(tc.values().ScriptLoopEnabled);
    EXPECT_FALSE(tc.values().ReqCLoopEnabled);

    d.tick(QStringLiteral("chkReqCLoop"), true);
    tc.values().ScriptLoopEnabled = true;
    d.w->close();
    EXPECT_FALSE(tc.values().ReqCLoopEnabled);
    EXPECT_TRUE(tc.values().ScriptLoopEnabled);
}

TEST_F(Iso18092OnBoard, ReqcShowsTheIdmAndPmmOfAGoodAnswerOnly) {
    d.select("ISO18092 Cards commands");
    d.click(QStringLiteral("cmd_ISO18092_ReqC"));
    EXPECT_EQ(d.log().back(), (LogLine{"REQC", "TQ73RNDLL_SENDRECV, 00FFFF0000",
                                       QString::fromStdString(kPollAnswer)}));
    EXPECT_EQ(d.label(QStringLiteral("lblReqBanswer")),
              "Answer : 12010102030405060708111213141516");
    EXPECT_EQ(d.label(QStringLiteral("lblReqCanswer_ManufID")), "Manuf ID : 0102030405060708");
    EXPECT_EQ(d.label(QStringLiteral("lblReqCanswer_ManufParameter")),
              "Manuf Parameter : 1112131415161718");
    // One pass, one pause of 10002 event passes.
    EXPECT_EQ(tc.timing.totalPaused(), core::timedPauseMs(10002));

    // A received frame with an error in the transceiver's status byte names no card.
    b.board.setAnswerFault({0x20, false});
    d.click(QStringLiteral("cmd_ISO18092_ReqC"));
    EXPECT_EQ(d.label(QStringLiteral("lblReqBanswer")), "Answer : ");
    EXPECT_EQ(d.label(QStringLiteral("lblReqCanswer_ManufID")), "Manuf ID : ");
    EXPECT_EQ(d.label(QStringLiteral("lblReqCanswer_ManufParameter")), "Manuf Parameter : ");
    EXPECT_TRUE(d.box(QStringLiteral("txt_ISO18092_answer")).endsWith(QLatin1String("20")));
}

TEST_F(Iso18092OnBoard, UntickingLoopEndsTheReqcRunAfterThatPass) {
    d.select("ISO18092 Cards commands");
    d.tick(QStringLiteral("chkReqCLoop"), true);
    EXPECT_TRUE(tc.values().ReqCLoopEnabled);
    b.bounded.bound(d.w, 4);
    int pauses = 0;
    std::function<void()> watch = [&] {
        ++pauses;
        if (pauses == 1) d.click(QStringLiteral("cmd_ISO18092_ReqC"));       // ignored
        if (pauses == 1) d.click(QStringLiteral("cmd_ISO18092_SendFrame"));  // empty: nothing
        if (pauses == 4) {
            d.tick(QStringLiteral("chkReqCLoop"), false);
        } else {
            duringNextPump(d.w, watch);
        }
    };
    duringNextPump(d.w, watch);
    d.click(QStringLiteral("cmd_ISO18092_ReqC"));
    EXPECT_EQ(b.recorder.callsTo(ReaderFunction::SendReceive).size(), 4u);
    EXPECT_EQ(d.log().size(), 4u + 4u);
    EXPECT_FALSE(tc.values().ReqCLoopEnabled);
}

TEST_F(Iso18092OnBoard, StatusFiveOnReqcReconnectsForFelicaAndRepeatsOnce) {
    d.select("ISO18092 Cards commands");
    b.recorder.clearJournal();
    b.board.faults().queue(ReaderFunction::SendReceive, {reader::kStatusUnreachable, "8700"});
    d.click(QStringLiteral("cmd_ISO18092_ReqC"));
    std::vector<std::string> requests;
    for (const auto& e : b.recorder.journal()) requests.push_back(e.request);
    EXPECT_EQ(requests, (std::vector<std::string>{"00FFFF0000", "", "", "0451", "01090468010150",
                                                  "0109040A0102A1", "00FFFF0000"}));
    EXPECT_EQ(d.log().back().answer, QString::fromStdString(kPollAnswer));
    EXPECT_EQ(d.label(QStringLiteral("lblReqCanswer_ManufID")), "Manuf ID : 0102030405060708");
}

TEST_F(Iso18092OnBoard, AnyFrameGoesAsTypedWithoutBlanksAndNotHexIsRefused) {
    d.select("ISO18092 Cards commands");
    d.click(QStringLiteral("cmd_ISO18092_SendFrame"));
    EXPECT_EQ(d.log().size(), 4u);
    d.type(QStringLiteral("txt_ISO18092_AnyFrame"), QStringLiteral("0600ffff0000"));
    d.click(QStringLiteral("cmd_ISO18092_SendFrame"));
    EXPECT_EQ(d.log().back().title, "SEND FRAME");
    EXPECT_EQ(d.log().back().call, "TQ73RNDLL_SENDRECV, 0600ffff0000");
    EXPECT_EQ(d.box(QStringLiteral("txt_ISO18092_request")), "0600ffff0000");
    d.expectPastedFramesPackedOrRefused(QStringLiteral("txt_ISO18092_AnyFrame"),
                                        QStringLiteral("cmd_ISO18092_SendFrame"),
                                        [&] { return b.sent(); });
}

}  // namespace

namespace {

TEST_F(Iso18092OnBoard, SaveLogWritesTheLogAndClearLogEmptiesIt) {
    d.select("ISO18092 Cards commands");
    d.click(QStringLiteral("cmd_ISO18092_ReqC"));
    d.expectSaveAndClearLog(QStringLiteral("rtfISO18092LogEdit"));
}

}  // namespace

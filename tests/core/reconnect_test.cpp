#include "core/reconnect.hpp"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include "core/echo_handshake.hpp"
#include "core/log_entry.hpp"
#include "core/run_guard.hpp"
#include "host_window.hpp"
#include "test_context.hpp"
#include "widgets/log_pane.hpp"
#include "widgets/log_view.hpp"

namespace {

using core::BoardSetup;
using core::OnUnreachable;
using reader::AnswerBuffer;
using reader::ReaderFunction;
using Calls = std::vector<std::pair<ReaderFunction, std::string>>;

const QString kConnected = QString::fromLatin1(core::kBoardConnectedPhrase);
const QString kNotConnected = QString::fromLatin1(core::kBoardNotConnectedPhrase);

Calls callsOf(const testsupport::ScriptedReader& r) {
    Calls out;
    for (const auto& c : r.calls()) out.emplace_back(c.function, c.request);
    return out;
}

class ReconnectTest : public ::testing::Test {
  protected:
    void SetUp() override { t.scripted.setHealthyDefaults(); }
    core::StatusBarService& bar() { return t.ctx->statusBar(); }

    testsupport::TestContext t;
};

TEST_F(ReconnectTest, EachSetupSendsItsSelectThenItsRegisterWrites) {
    t.values().DemodGainValue = "3F";
    struct Case {
        BoardSetup setup;
        Calls after;  // the calls after the USB connect and the handle check
    };
    const Case cases[] = {
        {BoardSetup::None, {}},
        {BoardSetup::Iso15693, {{ReaderFunction::Select, "010D"}}},
        {BoardSetup::Iso15693Fast, {{ReaderFunction::Select, "011D"}}},
        {BoardSetup::Iso14443A,
         {{ReaderFunction::Select, "02000180"},
          {ReaderFunction::KvCmd, "0109043A005804"},
          {ReaderFunction::KvCmd, "0109046801013F"},
          {ReaderFunction::KvCmd, "0109110B00241204880F1F3F3F01000505005500"}}},
        {BoardSetup::Topaz,
         {{ReaderFunction::Select, "02000300"},
          {ReaderFunction::KvCmd, "0109043A005804"},
          {ReaderFunction::KvCmd, "0109046801013F"},
          {ReaderFunction::KvCmd, "0109110B00241204880F1F3F3F01000505005500"}}},
        {BoardSetup::Iso14443B,
         {{ReaderFunction::Select, "03010180"}, {ReaderFunction::KvCmd, "01090468010130"}}},
        {BoardSetup::Felica,
         {{ReaderFunction::Select, "0451"},
          {ReaderFunction::KvCmd, "01090468010150"},
          {ReaderFunction::KvCmd, "0109040A0102A1"}}},
        // The script window selects only; its ISO14443-A select is a whole one.
        {BoardSetup::ScriptIso14443A, {{ReaderFunction::Select, "02000180"}}},
        {BoardSetup::ScriptIso14443B, {{ReaderFunction::Select, "0301"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.setup));
        t.scripted.clearCalls();
        bar().setPanelText(1, kNotConnected);
        EXPECT_EQ(core::reconnectBoard(*t.ctx, c.setup), reader::kStatusOk);
        Calls expected{{ReaderFunction::UsbConnect, ""}, {ReaderFunction::UsbHandleCheck, ""}};
        expected.insert(expected.end(), c.after.begin(), c.after.end());
        EXPECT_EQ(callsOf(t.scripted), expected);
        EXPECT_EQ(bar().panelText(1), kConnected);
    }
}

TEST_F(ReconnectTest, TheGainChosenLastIsUsedByTheNextSetup) {
    t.values().DemodGainValue = "D1";
    core::DEMO_TQ73RN_A_reconnect_iso14443A(*t.ctx);
    t.values().DemodGainValue = "25";
    core::DEMO_TQ73RN_A_reconnect_iso14443A(*t.ctx);
    const auto writes = t.scripted.requestsTo(ReaderFunction::KvCmd);
    ASSERT_EQ(writes.size(), 6u);
    EXPECT_EQ(writes[1],
              "0109046801"
              "01D1");
    EXPECT_EQ(writes[4],
              "0109046801"
              "0125");
}

TEST_F(ReconnectTest, ConnectionPhraseFollowsTheOutcome) {
    struct Case {
        const char* name;
        const QString before;
        reader::LibraryStatus handleCheck;
        const QString after;
    };
    const Case cases[] = {
        {"lost", kConnected, 1, kNotConnected},
        {"lost again: one phrase", kNotConnected, 1, kNotConnected},
        {"back", kNotConnected, 0, kConnected},
        {"other text kept", "Ready" + kNotConnected, 0, "Ready" + kConnected},
        // After a failed start-up detection the panel holds neither phrase.
        {"empty panel, board found", "", 0, kConnected},
        {"empty panel, board missing", "", 5, kNotConnected},
        // Text that holds neither phrase gets none written after it.
        {"other text, board found", "Lab 3", 0, "Lab 3"},
        {"other text, board missing", "Lab 3", 5, "Lab 3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        t.scripted.clearCalls();
        t.scripted.queue(ReaderFunction::UsbHandleCheck, c.handleCheck);
        bar().setPanelText(1, c.before);
        const auto status = core::DEMO_TQ73RN_A_reconnect_iso14443B(*t.ctx);
        EXPECT_EQ(status, c.handleCheck == 0 ? reader::kStatusOk : reader::kStatusUnreachable);
        EXPECT_EQ(bar().panelText(1), c.after);
        // Nothing reaches the transceiver when the board is missing.
        EXPECT_EQ(t.scripted.countOf(ReaderFunction::Select), c.handleCheck == 0 ? 1 : 0);
    }
}

TEST_F(ReconnectTest, CallersRuleByCaller) {
    struct Case {
        const char* name;
        OnUnreachable rule;
        std::vector<reader::LibraryStatus> statuses;  // of the successive calls
        int calls;
        int reconnects;
        reader::LibraryStatus result;
    };
    const Case cases[] = {
        {"the rule: reconnect, one repeat", OnUnreachable::ReconnectAndRepeat, {5, 0}, 2, 1, 0},
        {"a second 5 is not retried", OnUnreachable::ReconnectAndRepeat, {5, 5}, 2, 1, 5},
        {"other failures are not retried", OnUnreachable::ReconnectAndRepeat, {1}, 1, 0, 1},
        {"script keyword: reconnect only", OnUnreachable::ReconnectOnly, {5}, 1, 1, 5},
        {"start-up and board tools: never", OnUnreachable::Nothing, {5}, 1, 0, 5},
        {"healthy board", OnUnreachable::ReconnectAndRepeat, {0}, 1, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        t.scripted.clearCalls();
        for (auto s : c.statuses) t.scripted.queue(ReaderFunction::SendReceive, s, "8000");
        AnswerBuffer answer;
        const auto status = core::callWithReconnect(*t.ctx, BoardSetup::Iso15693, c.rule,
                                                    ReaderFunction::SendReceive, "0220", answer);
        EXPECT_EQ(status, c.result);
        EXPECT_EQ(t.scripted.requestsTo(ReaderFunction::SendReceive),
                  std::vector<std::string>(c.calls, "0220"));
        EXPECT_EQ(t.scripted.countOf(ReaderFunction::UsbHandleCheck), c.reconnects);
        EXPECT_EQ(t.scripted.requestsTo(ReaderFunction::Select),
                  std::vector<std::string>(c.reconnects, "010D"));
    }
}

TEST_F(ReconnectTest, TheRepeatStartsFromTheCallersPrefillNotTheFailedCallsAnswer) {
    t.scripted.queue(ReaderFunction::KvCmd, 5, "stale answer");
    t.scripted.queueUntouched(ReaderFunction::KvCmd, 3);
    AnswerBuffer answer = AnswerBuffer::blanks();
    core::callWithReconnect(*t.ctx, BoardSetup::None, OnUnreachable::ReconnectAndRepeat,
                            ReaderFunction::KvCmd, "0100", answer);
    EXPECT_FALSE(answer.hasNul());
    EXPECT_EQ(answer.text(), std::string(256, ' '));
}

class HandshakeTest : public ReconnectTest {
  protected:
    void SetUp() override {
        ReconnectTest::SetUp();
        window.load();
    }
    bool handshake(core::EchoCaller caller) {
        core::RunScope run(window);
        return core::EchoHandshake(run, caller, BoardSetup::Iso15693, window.log,
                                   [&](const QString& a) { shown.push_back(a); });
    }
    QString echoEntry(const QString& answer) const {
        return core::log_entry::untitledWithoutRequest(t.clock.now(), core::kLogEcho, answer);
    }

    testsupport::HostWindow window{*t.ctx};
    std::vector<QString> shown;
};

TEST_F(HandshakeTest, AGoodEchoIsOneStep) {
    EXPECT_FALSE(handshake(core::EchoCaller::Load));
    EXPECT_EQ(t.scripted.countOf(ReaderFunction::Echo), 1);
    EXPECT_EQ(shown, std::vector<QString>{"5500"});
    EXPECT_EQ(window.log.text(), echoEntry("5500"));
}

TEST_F(HandshakeTest, AnyOtherAnswerGetsASecondEcho) {
    t.scripted.queue(ReaderFunction::Echo, 0, "8700");
    t.scripted.queue(ReaderFunction::Echo, 0, "8700");
    EXPECT_FALSE(handshake(core::EchoCaller::Run));
    EXPECT_EQ(t.scripted.countOf(ReaderFunction::Echo), 2);
    EXPECT_EQ(window.log.text(), echoEntry("8700") + echoEntry("8700"));
}

TEST_F(HandshakeTest, ADeadBoardCostsALoadFourEchoesAndARunTwo) {
    t.scripted.setDefault(ReaderFunction::Echo, 5);
    t.scripted.setDefault(ReaderFunction::UsbHandleCheck, 1);
    EXPECT_FALSE(handshake(core::EchoCaller::Load));
    EXPECT_EQ(t.scripted.countOf(ReaderFunction::Echo), 4);
    EXPECT_EQ(t.scripted.countOf(ReaderFunction::UsbHandleCheck), 2);
    EXPECT_EQ(window.log.text(), echoEntry("") + echoEntry(""));

    t.scripted.clearCalls();
    EXPECT_FALSE(handshake(core::EchoCaller::Run));
    EXPECT_EQ(t.scripted.countOf(ReaderFunction::Echo), 2);
    EXPECT_EQ(t.scripted.countOf(ReaderFunction::UsbHandleCheck), 2);
}

TEST_F(HandshakeTest, AWindowClosedDuringTheHandshakesPassEndsIt) {
    t.scripted.queue(ReaderFunction::Echo, 1, "");
    t.ctx->windows().registerFactory(core::WindowKind::Iso15693, [](core::AppContext& c) {
        return new testsupport::HostWindow(c);
    });
    auto* w =
        static_cast<testsupport::HostWindow*>(t.ctx->windows().show(core::WindowKind::Iso15693));
    ASSERT_NE(w, nullptr);
    QMetaObject::invokeMethod(
        w, [w] { w->close(); }, Qt::QueuedConnection);
    {
        core::RunScope run(*w);
        EXPECT_TRUE(
            core::EchoHandshake(run, core::EchoCaller::Load, BoardSetup::Iso15693, w->log, {}));
    }
    // The failed echo was not followed by a second one into the closed window.
    EXPECT_EQ(t.scripted.countOf(ReaderFunction::Echo), 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(HandshakeTest, LoadSetupLogsTheSelectAndEachRegisterWrite) {
    t.values().DemodGainValue = "D1";
    const QDateTime now = t.clock.now();
    std::vector<QString> cleared;
    core::sendLoadSetup(
        *t.ctx, BoardSetup::Iso14443B, window.log, [&](const QString& s) { cleared.push_back(s); },
        [&](const QString& a) { shown.push_back(a); });
    using core::log_entry::titled;
    EXPECT_EQ(window.log.text(), titled(now, "TQ73RN CONFIGURATION : ISO14443-B protocol",
                                        core::kLogSelect, "03010180", "0000") +
                                     titled(now, "TQ73RN CONFIGURATION : INCREASE DEMOD GAIN",
                                            core::kLogKvCmd, "01 090468010130", "0000"));
    EXPECT_EQ(cleared, std::vector<QString>{""});
    EXPECT_EQ(shown, std::vector<QString>{"0000"});
}

TEST_F(HandshakeTest, LoadSetupRepeatsOnlyTheSelectAfterAReconnect) {
    t.scripted.queue(ReaderFunction::Select, 5);
    t.scripted.setDefault(ReaderFunction::KvCmd, 5);
    core::sendLoadSetup(*t.ctx, BoardSetup::Topaz, window.log, {}, {});
    // The select, the reconnect's own set-up, the select again, then the three writes
    // once each although they too find the board unreachable.
    EXPECT_EQ(t.scripted.requestsTo(ReaderFunction::Select),
              (std::vector<std::string>{"02000300", "02000300", "02000300"}));
    EXPECT_EQ(t.scripted.countOf(ReaderFunction::KvCmd), 6);
    EXPECT_EQ(t.scripted.countOf(ReaderFunction::UsbHandleCheck), 1);
    EXPECT_TRUE(window.log.text().contains("ISO14443-A TOPAZ : INCREASE DEC TOLERANCE"));
    EXPECT_TRUE(window.log.text().contains(">>> TQ73RNDLL_KVCmd, 01 09043A005804"));
}

}  // namespace

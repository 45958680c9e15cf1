#include "core/board_calls.hpp"

#include <gtest/gtest.h>

#include "test_context.hpp"

namespace {

using reader::ReaderFunction;

// The board did what was asked only with status 0 and an answer that begins "00".
TEST(BoardCalls, DoneIsStatusZeroAndAnAnswerBeginningWithTwoZeros) {
    const struct {
        reader::LibraryStatus status;
        const char* answer;
        bool done;
    } cases[] = {
        {0, "0000", true},   {0, "0003010401", true}, {0, "00", true},
        {0, "5500", false},  // the echo's answer is no "done"
        {0, "8700", false},  {0, "0", false},         {0, "", false},
        {0, " 000", false},  {1, "0000", false},      {5, "0000", false},
        {-1, "0000", false},
    };
    for (const auto& c : cases) {
        core::BoardCallResult r;
        r.status = c.status;
        r.answer = QLatin1String(c.answer);
        EXPECT_EQ(r.done(), c.done) << c.status << " \"" << c.answer << '"';
    }
}

// A call without request gives the buffer's text up to its first NUL, each byte one
// character; a call that writes nothing leaves the zero-filled buffer: an empty answer.
TEST(BoardCalls, TheAnswerIsTheBuffersSingleByteText) {
    const struct {
        const char* name;
        ReaderFunction function;
        reader::LibraryStatus status;
        std::string answer;
        bool untouched;
        QString expected;
    } cases[] = {
        {"revision", ReaderFunction::GetMcuRev, 0, "0003010401", false,
         QStringLiteral("0003010401")},
        {"a byte above 7F", ReaderFunction::GetDllRev, 0, "5.1\xB5", false,
         QStringLiteral("5.1\u00B5")},
        {"failed, nothing written", ReaderFunction::Echo, 1, "", true, QString()},
        {"the longest answer", ReaderFunction::Idn, 0, std::string(255, 'A'), false,
         QString(255, QLatin1Char('A'))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::TestContext t;
        if (c.untouched) {
            t.scripted.queueUntouched(c.function, c.status);
        } else {
            t.scripted.queue(c.function, c.status, c.answer);
        }
        const core::BoardCallResult r =
            core::callBoard(*t.ctx, c.function, core::OnUnreachable::Nothing);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.answer, c.expected);
        ASSERT_EQ(t.scripted.calls().size(), 1U);
        EXPECT_EQ(t.scripted.calls()[0].function, c.function);
        EXPECT_EQ(t.scripted.calls()[0].request, "");
    }
}

// The caller's rule decides what a 5 leads to: the repeat's answer, or the 5 itself.
TEST(BoardCalls, AnUnreachableBoardIsHandledByTheCallersRule) {
    for (const auto rule :
         {core::OnUnreachable::ReconnectAndRepeat, core::OnUnreachable::Nothing}) {
        const bool repeat = rule == core::OnUnreachable::ReconnectAndRepeat;
        SCOPED_TRACE(repeat ? "reconnect and repeat" : "nothing");
        testsupport::TestContext t;
        t.scripted.setHealthyDefaults();
        t.scripted.queue(ReaderFunction::SendNssPulse, reader::kStatusUnreachable, "");
        t.scripted.queue(ReaderFunction::SendNssPulse, 0, "0000");
        const core::BoardCallResult r = core::callBoard(*t.ctx, ReaderFunction::SendNssPulse, rule);
        EXPECT_EQ(r.status, repeat ? reader::kStatusOk : reader::kStatusUnreachable);
        EXPECT_EQ(r.answer, repeat ? QStringLiteral("0000") : QString());
        EXPECT_EQ(r.done(), repeat);
        EXPECT_EQ(t.scripted.countOf(ReaderFunction::SendNssPulse), repeat ? 2 : 1);
        EXPECT_EQ(t.scripted.countOf(ReaderFunction::UsbConnect), repeat ? 1 : 0);
    }
}

}  // namespace

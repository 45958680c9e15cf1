#include "core/log_entry.hpp"

#include <gtest/gtest.h>

#include "core/log_sink.hpp"
#include "fake_time.hpp"
#include "qstring_printer.hpp"

namespace {

namespace entry = core::log_entry;

// The names the users' tools match in saved logs, each exactly as written.
TEST(LogEntry, EveryLogNameIsWrittenExactly) {
    const struct {
        const char* name;
        const char* text;
    } names[] = {
        {core::kLogSendRecv, "TQ73RNDLL_SENDRECV"},
        {core::kLogSelect, "TQ73RNDLL_SELECT"},
        {core::kLogKvCmd, "TQ73RNDLL_KVCMD"},
        {core::kLogKvCmdRegister, "TQ73RNDLL_KVCmd"},
        {core::kLogKvCmdRaw, "TQ73RNDll_KVCmd, "},
        {core::kLogEcho, "TQ73RNDLL_ECHO"},
        {core::kLogPulseIrqIn, "TQ73RNDLL_PULSE_IRQ_IN"},
        {core::kLogNssPulse, "TQ73RNDLL_NSS_PULSE"},
    };
    for (const auto& n : names) EXPECT_STREQ(n.name, n.text);
}

// Month-day-year and the 24-hour clock, two digits each but the year's four.
TEST(LogEntry, DateIsMonthDayYearAndTimeTheTwentyFourHourClock) {
    const struct {
        QDateTime when;
        const char* date;
        const char* time;
    } cases[] = {
        {QDateTime(QDate(2012, 5, 9), QTime(14, 5, 9)), "05-09-2012", "14:05:09"},
        {QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59)), "12-31-1999", "23:59:59"},
        {QDateTime(QDate(2026, 1, 2), QTime(0, 0, 0)), "01-02-2026", "00:00:00"},
        {QDateTime(QDate(2024, 2, 29), QTime(12, 30, 1)), "02-29-2024", "12:30:01"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(entry::dateText(c.when), QLatin1String(c.date)) << c.date;
        EXPECT_EQ(entry::timeText(c.when), QLatin1String(c.time)) << c.time;
    }
}

// Every layout that carries a request joins the log name and the request with ", ",
// except after a log name that ends with ", " itself. A continued entry is the titled
// entry's last two lines.
TEST(LogEntry, ARequestFollowsTheLogNameAfterOneCommaAndBlank) {
    const QDateTime when(QDate(2012, 5, 9), QTime(14, 5, 9));
    const struct {
        const char* name;
        QString entry;
        const char* expected;
    } cases[] = {
        {"titled", entry::titled(when, "REQA", core::kLogSendRecv, "2607", "8002440000"),
         "\r\n05-09-2012 14:05:09\tREQA\r\n\t\t\t>>> TQ73RNDLL_SENDRECV, 2607\r\n"
         "\t\t\t<<< 8002440000"},
        {"titled, name with its comma",
         entry::titled(when, "RAW", core::kLogKvCmdRaw, "01 0400", "0000"),
         "\r\n05-09-2012 14:05:09\tRAW\r\n\t\t\t>>> TQ73RNDll_KVCmd, 01 0400\r\n\t\t\t<<< 0000"},
        {"continued", entry::continued(core::kLogSendRecv, "A0 04 28", "90040A"),
         "\r\n\t\t\t>>> TQ73RNDLL_SENDRECV, A0 04 28\r\n\t\t\t<<< 90040A"},
        {"continued, name with its comma", entry::continued(core::kLogKvCmdRaw, "R", "A"),
         "\r\n\t\t\t>>> TQ73RNDll_KVCmd, R\r\n\t\t\t<<< A"},
        {"continued, empty request and answer", entry::continued("X", "", ""),
         "\r\n\t\t\t>>> X, \r\n\t\t\t<<< "},
        // Only a comma and a blank at the very end are the name's own.
        {"a comma without its blank", entry::untitledWithRequest(when, "N,", "R", "A"),
         "\r\n05-09-2012 14:05:09\t>>> N,, R\r\n\t\t\t<<< A"},
        {"a comma and blank inside", entry::untitledWithRequest(when, "N, M", "R", "A"),
         "\r\n05-09-2012 14:05:09\t>>> N, M, R\r\n\t\t\t<<< A"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.entry, QString::fromLatin1(c.expected));
    }
}

class RecordingSink : public core::LogSink {
  public:
    using core::LogSink::LogSink;
    void append(const QString& entry) override { entries.push_back(entry); }
    std::vector<QString> entries;
};

// A window's log writes each kind of entry in its own layout, at the time it is written.
TEST(LogSink, EachAppendWritesItsLayoutAtTheClocksTime) {
    testsupport::FixedClock clock(QDateTime(QDate(2012, 5, 9), QTime(14, 5, 9)));
    RecordingSink sink(clock);
    sink.appendTitled("REQB", core::kLogSendRecv, "050008", "8700");
    sink.appendContinued(core::kLogSendRecv, "R2", "A2");
    clock.set(QDateTime(QDate(2013, 11, 30), QTime(22, 1, 2)));
    sink.appendUntitled(core::kLogKvCmd, "R", "A");
    sink.appendUntitled(core::kLogEcho, "5500");
    sink.appendBoardTools("TQ73RNDLL_GETMCUREV", "0003010401");
    sink.appendProgress("step 1");
    const std::vector<QString> expected = {
        "\r\n05-09-2012 14:05:09\tREQB\r\n\t\t\t>>> TQ73RNDLL_SENDRECV, 050008\r\n\t\t\t<<< 8700",
        "\r\n\t\t\t>>> TQ73RNDLL_SENDRECV, R2\r\n\t\t\t<<< A2",
        "\r\n11-30-2013 22:01:02\t>>> TQ73RNDLL_KVCMD, R\r\n\t\t\t<<< A",
        "\r\n11-30-2013 22:01:02\t>>> TQ73RNDLL_ECHO\r\n\t\t\t<<< 5500",
        "\r\n11-30-2013 \t>>> TQ73RNDLL_GETMCUREV\r\n\t\t<<< 0003010401",
        "\r\n\r\n11-30-2013 22:01:02\t>>> step 1",
    };
    EXPECT_EQ(sink.entries, expected);
}

}  // namespace

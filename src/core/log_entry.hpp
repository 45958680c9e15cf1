#pragma once

#include <QDateTime>
#include <QString>

namespace core {

// Names under which the library calls appear in the logs. Their case differs from
// call to call, and the users' tools that read saved logs match them as written.
inline constexpr char kLogSendRecv[] = "TQ73RNDLL_SENDRECV";
inline constexpr char kLogSelect[] = "TQ73RNDLL_SELECT";
inline constexpr char kLogKvCmd[] = "TQ73RNDLL_KVCMD";
inline constexpr char kLogKvCmdRegister[] = "TQ73RNDLL_KVCmd";  // ISO14443-A set-up, board tools
inline constexpr char kLogKvCmdRaw[] = "TQ73RNDll_KVCmd, ";     // carries its own ", "
inline constexpr char kLogEcho[] = "TQ73RNDLL_ECHO";
inline constexpr char kLogPulseIrqIn[] = "TQ73RNDLL_PULSE_IRQ_IN";
inline constexpr char kLogNssPulse[] = "TQ73RNDLL_NSS_PULSE";

// The layouts of one log entry. Every entry starts with CR LF; the date is
// month-day-year and the time on the 24-hour clock, both taken when it is written.
namespace log_entry {

QString dateText(const QDateTime& when);  // 05-09-2012
QString timeText(const QDateTime& when);  // 14:05:09

// A command of a protocol window or a detection probe.
QString titled(const QDateTime& when, const QString& title, const QString& logName,
               const QString& request, const QString& answer);
// A further exchange of the same command (the second half of a two-exchange write): its
// lines continue the command's titled entry, without date, time or title.
QString continued(const QString& logName, const QString& request, const QString& answer);
// The console, the script runner, raw commands.
QString untitledWithRequest(const QDateTime& when, const QString& logName, const QString& request,
                            const QString& answer);
// Echoes and pulses: no request.
QString untitledWithoutRequest(const QDateTime& when, const QString& logName,
                               const QString& answer);
// The board tools window: no time, two tabs before the answer.
QString boardTools(const QDateTime& when, const QString& logName, const QString& answer);
// A step of a long procedure (the tag detector calibration).
QString progressLine(const QDateTime& when, const QString& text);

}  // namespace log_entry

}  // namespace core

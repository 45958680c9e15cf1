#pragma once

#include <QDateTime>
#include <QString>

// The entries a script run writes into the script log. Each begins with CR LF, the date
// and the time, as every log of the program.
namespace script::log_entry {

// A REM line: "REM", and ", " with its first data field when it has one.
QString comment(const QDateTime& when, const QString* firstField);
QString wait(const QDateTime& when, const QString& value);
QString callWithoutData(const QDateTime& when, const QString& keyword, const QString& answer);
QString callWithData(const QDateTime& when, const QString& keyword, const QString& data,
                     const QString& answer);
// The raw command: its first byte apart from the rest ("01 " and the frame).
QString rawCommand(const QDateTime& when, const QString& keyword, const QString& data,
                   const QString& answer);
QString initiate(const QDateTime& when, const QString& keyword, const QString& answer,
                 const QString& chipId);
QString select(const QDateTime& when, const QString& keyword, const QString& chipId,
               const QString& answer);
// A line the language refuses: the cleaned line and the message.
QString error(const QDateTime& when, const QString& cleanedLine, const QString& message);
// The blank line of the first pass.
QString blankLine();

// The anticollision keyword's frame around its exchanges.
QString anticollisionStart(const QDateTime& when);
QString anticollisionResult(const QString& uid);
QString anticollisionEnd();

// What the two USB keywords show in place of an answer.
QString usbConnectAnswer(int status);
QString usbHandleCheckAnswer(int status);

}  // namespace script::log_entry

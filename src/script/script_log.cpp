#include "script/script_log.hpp"

#include "core/log_entry.hpp"

namespace script::log_entry {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kIndent = QStringLiteral("\t\t\t");

QString stamp(const QDateTime& when) {
    return kCrLf + core::log_entry::dateText(when) + QLatin1Char(' ') +
           core::log_entry::timeText(when) + QLatin1Char('\t');
}

}  // namespace

QString comment(const QDateTime& when, const QString* firstField) {
    QString entry = stamp(when) + QStringLiteral("REM");
    if (firstField) entry += QStringLiteral(", ") + *firstField;
    return entry;
}

QString wait(const QDateTime& when, const QString& value) {
    return stamp(when) + QStringLiteral("WAIT, ") + value;
}

QString callWithoutData(const QDateTime& when, const QString& keyword, const QString& answer) {
    return core::log_entry::untitledWithoutRequest(when, keyword, answer);
}

QString callWithData(const QDateTime& when, const QString& keyword, const QString& data,
                     const QString& answer) {
    return core::log_entry::untitledWithRequest(when, keyword, data, answer);
}

QString rawCommand(const QDateTime& when, const QString& keyword, const QString& data,
                   const QString& answer) {
    return callWithData(when, keyword, data.left(2) + QLatin1Char(' ') + data.mid(2), answer);
}

QString initiate(const QDateTime& when, const QString& keyword, const QString& answer,
                 const QString& chipId) {
    return callWithoutData(when, keyword,
                           answer + QStringLiteral(" (Chip_ID = ") + chipId + QLatin1Char(')'));
}

QString select(const QDateTime& when, const QString& keyword, const QString& chipId,
               const QString& answer) {
    return callWithoutData(
        when, keyword + QStringLiteral(" (Chip_ID = ") + chipId + QLatin1Char(')'), answer);
}

QString error(const QDateTime& when, const QString& cleanedLine, const QString& message) {
    return stamp(when) + QStringLiteral(">>> ") + cleanedLine + kCrLf + kIndent + message;
}

QString blankLine() { return kCrLf; }

QString anticollisionStart(const QDateTime& when) {
    return kCrLf + stamp(when) + QStringLiteral(">>> TQ73RNDLL_ANTICOLSELECT123") + kCrLf + kCrLf +
           QStringLiteral("\t------ ISO14443-A STARTING ANTICOLISION ALGORITHM ------") + kCrLf;
}

QString anticollisionResult(const QString& uid) {
    return kCrLf + kCrLf + kIndent + QStringLiteral("--> UID = ") + uid + kCrLf + kIndent +
           QStringLiteral("--> TAG selected");
}

QString anticollisionEnd() {
    return kCrLf + kCrLf +
           QStringLiteral("\t------ ISO14443-A END OF ANTICOLISION ALGORITHM ------") + kCrLf +
           kIndent + QLatin1Char(' ');
}

QString usbConnectAnswer(int status) {
    if (status == 0) return QStringLiteral("return 0 value : DEMO-TQ73RN-A reconnection ok");
    return QStringLiteral("return ") + QString::number(status) +
           QStringLiteral(" value : DEMO-TQ73RN-A reconnection failed") + kCrLf + kIndent +
           QStringLiteral("verify DEMO-TQ73RN-A USB connection");
}

QString usbHandleCheckAnswer(int status) {
    if (status == 0) {
        return QStringLiteral("return 0 value : DEMO-TQ73RN-A always connected to USB port");
    }
    return QStringLiteral("return ") + QString::number(status) +
           QStringLiteral(" value : DEMO-TQ73RN-A not connected USB port") + kCrLf + kIndent +
           QStringLiteral(
               "use the 'TQ73RNDLL_USBconnect' function to reconnect your DEMO-TQ73RN-A");
}

}  // namespace script::log_entry

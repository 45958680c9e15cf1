#include "core/log_entry.hpp"

namespace core::log_entry {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kAnswerIndent = QStringLiteral("\t\t\t<<< ");

QString stamp(const QDateTime& when) { return dateText(when) + QLatin1Char(' ') + timeText(when); }

// A log name that already ends with ", " is not given a second one.
QString callWithRequest(const QString& logName, const QString& request) {
    const QString sep = logName.endsWith(QLatin1String(", ")) ? QString() : QStringLiteral(", ");
    return QStringLiteral(">>> ") + logName + sep + request;
}

}  // namespace

QString dateText(const QDateTime& when) {
    return when.date().toString(QStringLiteral("MM-dd-yyyy"));
}

QString timeText(const QDateTime& when) { return when.time().toString(QStringLiteral("HH:mm:ss")); }

QString titled(const QDateTime& when, const QString& title, const QString& logName,
               const QString& request, const QString& answer) {
    return kCrLf + stamp(when) + QLatin1Char('\t') + title + kCrLf + QStringLiteral("\t\t\t") +
           callWithRequest(logName, request) + kCrLf + kAnswerIndent + answer;
}

QString continued(const QString& logName, const QString& request, const QString& answer) {
    return kCrLf + QStringLiteral("\t\t\t") + callWithRequest(logName, request) + kCrLf +
           kAnswerIndent + answer;
}

QString untitledWithRequest(const QDateTime& when, const QString& logName, const QString& request,
                            const QString& answer) {
    return kCrLf + stamp(when) + QLatin1Char('\t') + callWithRequest(logName, request) + kCrLf +
           kAnswerIndent + answer;
}

QString untitledWithoutRequest(const QDateTime& when, const QString& logName,
                               const QString& answer) {
    return kCrLf + stamp(when) + QStringLiteral("\t>>> ") + logName + kCrLf + kAnswerIndent +
           answer;
}

QString boardTools(const QDateTime& when, const QString& logName, const QString& answer) {
    return kCrLf + dateText(when) + QStringLiteral(" \t>>> ") + logName + kCrLf +
           QStringLiteral("\t\t<<< ") + answer;
}

QString progressLine(const QDateTime& when, const QString& text) {
    return kCrLf + kCrLf + stamp(when) + QStringLiteral("\t>>> ") + text;
}

}  // namespace core::log_entry

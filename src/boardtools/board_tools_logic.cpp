#include "boardtools/board_tools_logic.hpp"

#include "core/log_entry.hpp"
#include "transceiver/frames.hpp"
#include "transceiver/hex_text.hpp"

namespace boardtools {

namespace {

constexpr int kIdentificationLength = 13;

using transceiver::hexByteAt;
using transceiver::hexDigitValue;

// The digit an item of the gain lists stands for.
QChar digitOf(const QString& item) { return item.size() >= 2 ? item[1] : QChar(); }

}  // namespace

QString identificationText(const QString& answer) {
    QString out;
    for (int i = 0; i < kIdentificationLength; ++i) {
        const int b = hexByteAt(answer, 4 + 2 * i);
        if (b < 0) break;
        if (b == 0) continue;
        out += QChar(b);  // single-byte text: the code is the Latin-1 character
    }
    return out;
}

std::optional<int> pinStateOption(const QString& answer) {
    if (answer.size() < 6) return std::nullopt;
    const QChar c = answer[5];
    if (c < QLatin1Char('0') || c > QLatin1Char('2')) return std::nullopt;
    return c.unicode() - '0';
}

const QStringList& modulationDepthItems() {
    static const QStringList items = {
        QStringLiteral(" 1 : 10% "), QStringLiteral(" 2 : 17% "), QStringLiteral(" 3 : 25% "),
        QStringLiteral(" 4 : 30% "), QStringLiteral(" 5 : 33% "), QStringLiteral(" 6 : 36% "),
        QStringLiteral(" D : 95% "),
    };
    return items;
}

const QStringList& receiverGainItems() {
    static const QStringList items = {
        QStringLiteral(" 0 : 34dB "), QStringLiteral(" 1 : 32dB "), QStringLiteral(" 3 : 27dB "),
        QStringLiteral(" 7 : 20dB "), QStringLiteral(" F : 8dB "),
    };
    return items;
}

int itemWithDigit(const QStringList& items, QChar digit) {
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (!digit.isNull() && digitOf(items[i]) == digit) return static_cast<int>(i);
    }
    return -1;
}

QString gainFromItems(const QString& depthItem, const QString& gainItem) {
    QString out;
    if (const QChar d = digitOf(depthItem); !d.isNull()) out += d;
    if (const QChar g = digitOf(gainItem); !g.isNull()) out += g;
    return out;
}

bool isGainSetting(const QString& value) {
    return value.size() == 2 && itemWithDigit(modulationDepthItems(), value[0]) >= 0 &&
           itemWithDigit(receiverGainItems(), value[1]) >= 0;
}

std::string registerWriteRequest(const QString& gain) {
    return transceiver::transceiverRequest(
        transceiver::wrRegFrame(transceiver::kRegAnalogIndex, true,
                                std::string(transceiver::kAnalogArcB) + gain.toStdString()));
}

QString registerLogEntry(const QDateTime& when, const QString& gain, const QString& answer) {
    return QStringLiteral("\r\n") + core::log_entry::dateText(when) +
           QStringLiteral(
               " \t>>> ISO14443A Register Value Changed (Modulation Depth & Receiver "
               "Gain)\r\n\t\t>>> ") +
           QLatin1String(core::kLogKvCmdRegister) + QStringLiteral(", 01 ") +
           transceiver::fromLatin1(registerWriteRequest(gain).substr(2)) +
           QStringLiteral("\r\n\t\t<<< ") + answer;
}

QString RawCommand::refusal() const {
    switch (verdict) {
        case Verdict::Send:
            break;
        case Verdict::Empty:
            return QString::fromLatin1(kNoRequestText);
        case Verdict::BadFormat:
            return QString::fromLatin1(kFormatProblemText);
    }
    return {};
}

RawCommand checkRawCommand(const QString& typed) {
    QString bytes = typed;
    bytes.remove(QLatin1Char(' '));
    RawCommand out;
    if (bytes.isEmpty()) return out;
    bool hex = bytes.size() % 2 == 0;
    for (qsizetype i = 0; hex && i < bytes.size(); ++i) hex = hexDigitValue(bytes[i]) >= 0;
    if (!hex) {
        out.verdict = RawCommand::Verdict::BadFormat;
        return out;
    }
    out.verdict = RawCommand::Verdict::Send;
    out.request = transceiver::transceiverRequest(bytes.toStdString());
    return out;
}

Layout layoutFor(int dllRevisionNumber) {
    Layout l;
    l.revision5Controls = dllRevisionNumber >= 5;
    // The polling and NSS-pulse row is the only one that holds nothing else.
    l.lowerRowsShift = l.revision5Controls ? 0 : 480;
    l.toolsFrameHeight = 6375 - l.lowerRowsShift;
    l.logFrameTop = 6360 - l.lowerRowsShift;
    l.windowHeight = 9930 - l.lowerRowsShift;
    return l;
}

}  // namespace boardtools

#include "iso15693/answers.hpp"

#include <algorithm>

#include "transceiver/frames.hpp"
#include "transceiver/iso15693_answers.hpp"

namespace iso15693 {

namespace {

QString qs(const std::string& s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

// Two characters from `at` (0-based) of `text`, blanks where the text has none: how a
// response laid into a blank-filled field reads past its end.
QString pairOrBlanks(const std::string& text, std::size_t at) {
    std::string pair = at < text.size() ? text.substr(at, 2) : std::string();
    pair.resize(2, ' ');
    return qs(pair);
}

// `bytes` pairs from pair `first` on, each followed by a blank.
QString bytesLine(const std::string& hex, std::size_t first, int bytes) {
    QString line;
    for (int i = 0; i < bytes; ++i) {
        line += pairOrBlanks(hex, 2 * (first + static_cast<std::size_t>(i)));
        line += QLatin1Char(' ');
    }
    return line;
}

QStringList repeated(const QString& text, int count) {
    QStringList lines;
    for (int i = 0; i < count; ++i) lines << text;
    return lines;
}

}  // namespace

std::string TagAnswer::byte(int i) const {
    return i < 0 ? std::string() : transceiver::mid(response, 2 * i + 1, 2);
}

TagAnswer checkAnswer(reader::LibraryStatus status, std::string_view answer) {
    const transceiver::Iso15693Answer checked = transceiver::checkIso15693Answer(status, answer);
    TagAnswer t;
    t.accepted = checked.accepted;
    t.crcVerdict = qs(transceiver::crcVerdictText(checked));
    if (checked.hasResponse()) {
        t.length = checked.length;
        t.response = checked.tagResponse;
    }
    return t;
}

QString answerFormatProblem(const std::string& flags) {
    return QLatin1Char('(') + qs(flags) + QLatin1String(") Answer format problemz");
}

QString ErrorCodeText(const QString& code) {
    static const struct {
        const char* code;
        const char* text;
    } table[] = {
        {"00", "No Error"},
        {"02", "(02) Command is not recognized"},
        {"03", "(03) Option is not supported"},
        {"0F", "(0F) Error with no information given"},
        {"10", "(10) Block address not available"},
        {"11", "(11) Block is already locked"},
        {"12", "(12) Block is locked, content cannot be changed"},
        {"13", "(13) Block was not successfully programmed"},
        {"14", "(14) Block was not successfully locked"},
        {"15", "(15) Block is read-protected"},
    };
    for (const auto& row : table) {
        if (code == QLatin1String(row.code)) return QLatin1String(row.text);
    }
    return QLatin1Char('(') + code + QLatin1String(") Unknown error code");
}

std::optional<QString> shortResult(const TagAnswer& a) {
    if (!a.valid()) return std::nullopt;
    if (a.flags() == "00") return kOk;
    if (a.flags() == "01") return qs(a.byte(1)) + QLatin1String(" : unknown error code");
    return std::nullopt;
}

QString singleBlockLine(const TagAnswer& a, const QString& answerBox, int bytesPerBlock,
                        bool withStatus) {
    if (!a.valid()) return answerBox;
    if (a.flags() == "01") return ErrorCodeText(qs(a.byte(1)));
    if (a.flags() != "00") return answerFormatProblem(a.flags());
    if (!withStatus) return bytesLine(a.response, 1, bytesPerBlock);
    return pairOrBlanks(a.response, 2) + QLatin1String("   ") +
           bytesLine(a.response, 2, bytesPerBlock);
}

QStringList multipleBlockLines(const TagAnswer& a, int count, int bytesPerBlock, bool withStatus) {
    if (a.length == 0) return repeated(kNoDetectedAnswerLower, count);
    if (a.flags() == "01") return repeated(ErrorCodeText(qs(a.byte(1))), count);
    if (a.flags() != "00") return repeated(kNoTagAnswer, count);
    const std::string data = transceiver::withoutBlanks(a.response.substr(2));
    QStringList lines;
    for (int j = 0; j < count; ++j) {
        const auto block = static_cast<std::size_t>(j);
        if (withStatus) {
            const std::size_t first = block * static_cast<std::size_t>(bytesPerBlock + 1);
            lines << pairOrBlanks(data, 2 * first) + QLatin1String("   ") +
                         bytesLine(data, first + 1, bytesPerBlock);
        } else {
            lines << bytesLine(data, block * static_cast<std::size_t>(bytesPerBlock),
                               bytesPerBlock);
        }
    }
    return lines;
}

QStringList securityStatusLines(const TagAnswer& a, int count) {
    if (a.length == 0) return repeated(kNoDetectedAnswerLower, count);
    if (a.flags() == "01") return repeated(ErrorCodeText(qs(a.byte(1))), count);
    if (a.flags() != "00") return repeated(kNoTagAnswer, count);
    QStringList lines;
    for (int i = 0; i < count; ++i) {
        lines << pairOrBlanks(a.response, 2 * static_cast<std::size_t>(i + 1));
    }
    return lines;
}

WriteOutcome writeOutcome(const TagAnswer& a, const QString& answerBox) {
    if (!a.valid()) return {answerBox, std::nullopt};
    if (a.flags() == "00") return {kWriteOkLine, kOk};
    if (a.flags() == "01") return {ErrorCodeText(qs(a.byte(1))), kWriteFailed};
    return {answerFormatProblem(a.flags()), std::nullopt};
}

QStringList inventoryListHeader() { return {QStringLiteral("\tUID\t\t\tDSFID"), QString()}; }

QString inventoryListLine(int number, const QString& uidMsbFirst, const QString& dsfid) {
    return QLatin1Char(' ') + qs(transceiver::hexByte(static_cast<std::uint8_t>(number))) +
           QLatin1Char('\t') + uidMsbFirst + QLatin1String("\t\t") + dsfid;
}

QString singleTagLine(const TagAnswer& a) {
    return inventoryListLine(0, qs(transceiver::inventoryUid(a.response)), qs(a.byte(1)));
}

QString uidOfListLine(const QString& line) { return line.mid(4, 16); }

std::vector<AnticollisionRecord> anticollisionRecords(reader::LibraryStatus status,
                                                      std::string_view answer) {
    std::vector<AnticollisionRecord> records;
    if (status != reader::kStatusOk || transceiver::mid(answer, 1, 2) != transceiver::kResultFrame)
        return records;
    const std::string lengthField = transceiver::mid(answer, 3, 2);
    if (lengthField.size() != 2 || !transceiver::isHexText(lengthField)) return records;
    const int length = static_cast<int>(transceiver::hexValue(lengthField));
    const std::string countField = transceiver::mid(answer, 5, 2);
    if (length <= 1 || countField.size() != 2 || !transceiver::isHexText(countField))
        return records;
    constexpr int kRecordChars = 18;
    constexpr int kMostRecords = 13;
    const int announced = static_cast<int>(transceiver::hexValue(countField));
    const int inLength = (length - 1) / 9;
    const int inText = (static_cast<int>(answer.size()) - 6) / kRecordChars;
    const int n = std::min({announced, inLength, inText, kMostRecords});
    for (int k = 0; k < n; ++k) {
        const int at = 7 + kRecordChars * k;
        const std::string dsfid = transceiver::mid(answer, at, 2);
        const std::string uidLsb = transceiver::mid(answer, at + 2, 16);
        QString uid;
        for (int b = 14; b >= 0; b -= 2) uid += qs(uidLsb.substr(static_cast<std::size_t>(b), 2));
        records.push_back({qs(dsfid), uid});
    }
    return records;
}

QStringList systemInfoLines(const TagAnswer& a, int addressByteCount) {
    auto byte = [&](int i) { return pairOrBlanks(a.response, 2 * static_cast<std::size_t>(i)); };
    const QString head = qs(a.byte(0) + a.byte(1));
    if (head == QLatin1String("000F") || head == QLatin1String("000B")) {
        QString uid;
        for (int b = 9; b >= 2; --b) uid += byte(b);
        QStringList lines{QLatin1String(" UID : \t\t") + uid,
                          QLatin1String(" DSFID : \t\t") + byte(10) + QLatin1Char('h'),
                          QLatin1String(" AFI : \t\t") + byte(11) + QLatin1Char('h')};
        if (head == QLatin1String("000B")) {
            lines << QStringLiteral(" Memory size : \tN.A.")
                  << QStringLiteral(" Block size : \tN.A.")
                  << QLatin1String(" IC reference : \t") + byte(12) + QLatin1Char('h');
            return lines;
        }
        const std::size_t bytes = a.response.size() / 2;
        const int width = bytes == 15 ? 1 : bytes == 16 ? 2 : (addressByteCount == 1 ? 1 : 2);
        const QString memory = width == 1 ? byte(12) : byte(13) + byte(12);
        lines << QLatin1String(" Memory size : \t") + memory + QLatin1Char('h')
              << QLatin1String(" Block size : \t") + byte(12 + width) + QLatin1Char('h')
              << QLatin1String(" IC reference : \t") + byte(13 + width) + QLatin1Char('h');
        return lines;
    }
    static const struct {
        const char* code;
        const char* text;
    } errors[] = {
        {"00", "No Error"},
        {"03", "error code 03 : cmd option not supported"},
        {"0F", "error code 0F : other error"},
        {"10", "error code 10 : block address not available"},
        {"11", "error code 11 : block is already locked"},
        {"12", "error code 12 : block is locked"},
        {"13", "error code 13 : block not successfully programmed"},
        {"14", "error code 14 : block not successfully locked"},
    };
    const QString code = qs(a.byte(1));
    for (const auto& row : errors) {
        if (code == QLatin1String(row.code)) return {QLatin1String(row.text)};
    }
    return {code + QLatin1String(" : unknown error code")};
}

std::optional<QString> ehReadResult(const TagAnswer& a) {
    if (a.length <= 0) return std::nullopt;
    if (a.flags() == "00") return qs(a.byte(1));
    return kUnreadByte;
}

QString frameOrderUid(const QString& msbFirst) {
    QString reversed;
    for (qsizetype i = msbFirst.size() - 2; i >= 0; i -= 2) reversed += msbFirst.mid(i, 2);
    return reversed;
}

}  // namespace iso15693

#include "iso14443b/answers.hpp"

#include <cmath>

#include "transceiver/felica_answers.hpp"
#include "transceiver/frames.hpp"
#include "transceiver/iso14443b_answers.hpp"
#include "transceiver/sola_answers.hpp"

namespace iso14443b {

namespace {

std::string latin1(const QString& s) { return s.toLatin1().toStdString(); }
QString qs(const std::string& s) { return QString::fromLatin1(s.data(), qsizetype(s.size())); }

// The design width of the address boxes.
constexpr int kDesignAddressWidth = 2;

}  // namespace

bool isGoodAnswer(reader::LibraryStatus status, const QString& text) {
    return status == reader::kStatusOk && transceiver::isSolaFrame(latin1(text));
}

bool isNoTagAnswer(reader::LibraryStatus status, const QString& text) {
    return status == reader::kStatusOk &&
           text.startsWith(QLatin1String(transceiver::kErrorNoTag.data(), 2));
}

int bitBoxesValue(const QStringList& mostSignificantFirst) {
    int value = 0;
    for (const QString& box : mostSignificantFirst) {
        value = 2 * value + static_cast<int>(transceiver::hexValue(latin1(box)) & 1u);
    }
    return value;
}

AtqbLabels atqbPrefixes() {
    return {QStringLiteral("Answer : "),        QStringLiteral("First Byte : "),
            QStringLiteral("Pupi : "),          QStringLiteral("Application data : "),
            QStringLiteral("Protocol Info : "), QStringLiteral("Crc : ")};
}

AtqbLabels atqbLabels(const QString& answer) {
    const transceiver::AtqbFields f = transceiver::decodeAtqb(latin1(answer));
    AtqbLabels l = atqbPrefixes();
    l.answer += qs(f.answer);
    l.firstByte += qs(f.firstByte);
    l.pupi += qs(f.pupi);
    l.applicationData += qs(f.applicationData);
    l.protocolInfo += qs(f.protocolInfo);
    l.crc += qs(f.crc);
    return l;
}

AttribLabels attribPrefixes() {
    return {QStringLiteral("MBLI(4 bits) CID(4 bits) : "), QStringLiteral("CRC : ")};
}

AttribLabels attribLabels(const QString& answer) {
    AttribLabels l = attribPrefixes();
    l.mbliCid += answer.mid(4, 1) + QLatin1Char(' ') + answer.mid(5, 1);
    l.crc += answer.mid(6, 4);
    return l;
}

QString slotCellText(int slot, const QString& chipId) {
    QString cell = QString::number(slot) + QStringLiteral(": ");
    if (!chipId.isEmpty()) cell += QStringLiteral(" ChipID = ") + chipId + QLatin1Char(' ');
    return cell;
}

int addressWidth(std::int32_t memorySizeBytes) {
    if (memorySizeBytes < 2) return kDesignAddressWidth;
    const long b = std::lround(std::log2(static_cast<double>(memorySizeBytes) - 1.0));
    // Whole-number division truncating towards zero: b = 0 gives 1 as well.
    return static_cast<int>((b - 1) / 4 + 1);
}

std::int32_t blockCount(std::int32_t from, std::int32_t to, std::int32_t addressMask) {
    return to >= from ? to - from + 1 : addressMask + 2 + to - from;
}

QString blockLine(const QString& answer, int bytes) {
    QString line;
    for (int j = 0; j < bytes; ++j) {
        const QString pair = answer.mid(4 + 2 * j, 2);
        if (pair.size() < 2) break;
        line += pair + QLatin1Char(' ');
    }
    return line;
}

QString blockData(const QString& answer, int bytes) { return answer.mid(4, qsizetype{2} * bytes); }

ReqcLabels reqcPrefixes() {
    return {QStringLiteral("Answer : "), QStringLiteral("Manuf ID : "),
            QStringLiteral("Manuf Parameter : ")};
}

ReqcLabels reqcLabels(const QString& answer) {
    const std::string text = latin1(answer);
    ReqcLabels l = reqcPrefixes();
    l.answer += answer.mid(4, 32);
    l.manufId += qs(transceiver::felicaIdm(text));
    l.manufParameter += qs(transceiver::felicaPmm(text));
    return l;
}

}  // namespace iso14443b

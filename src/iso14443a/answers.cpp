#include "iso14443a/answers.hpp"

#include <cmath>

#include "transceiver/frames.hpp"
#include "transceiver/hex_text.hpp"

namespace iso14443a {

namespace {

using reader::LibraryStatus;
using transceiver::toLatin1;

constexpr int kReadDataBytes = 16;
constexpr int kTopazReadBytes = 2;  // the address, then the data byte
constexpr int kStatusBytes = 3;     // error status, collision byte index, collision bit index
constexpr char kEndOfGoodAnswer[] = "00";

bool isReceivedFrame(const QString& answer) {
    return answer.startsWith(QLatin1String(transceiver::kResultFrame.data(), 2));
}

// A received frame that holds `dataBytes` bytes before the status bytes, whose last
// character pair is "00" and whose status byte reports no collision, CRC or parity error.
bool goodFrame(const QString& answer, LibraryStatus status, int dataBytes) {
    if (status != reader::kStatusOk || !isReceivedFrame(answer)) return false;
    if (!answer.endsWith(QLatin1String(kEndOfGoodAnswer))) return false;
    const transceiver::ParsedAnswer parsed = transceiver::parseAnswer(toLatin1(answer));
    if (!parsed.wellFormed) return false;
    const auto size = static_cast<int>(parsed.data.size());
    if (size < dataBytes + kStatusBytes) return false;
    const std::uint8_t errorStatus = parsed.data[static_cast<std::size_t>(size - kStatusBytes)];
    return (errorStatus & (kStatusCollision | kStatusCrcError | kStatusParityError)) == 0;
}

QString errorItem(const QString& answer) {
    return isReceivedFrame(answer) ? kReadErrorDetectedItem : kReadErrorItem;
}

}  // namespace

bool isTopazMode(const QString& reference) { return reference == QLatin1String(kTopazReference); }

int addressDigits(std::int32_t memorySizeBytes) {
    // A memory of one byte (or none) has no highest address to size the box by.
    if (memorySizeBytes < 2) return 1;
    const auto bits = static_cast<int>(std::lround(std::log2(double(memorySizeBytes) - 1)));
    return bits < 1 ? 1 : (bits - 1) / 4 + 1;
}

std::optional<AnswerAnalysis> analyseAnswer(const QString& answer) {
    if (!isReceivedFrame(answer)) return std::nullopt;
    AnswerAnalysis a;
    const qsizetype n = answer.size();
    a.rows[0] = answer.mid(0, 2);
    a.rows[1] = answer.mid(2, 2);
    // Shorter than the header and the three status bytes: only the header is there.
    if (n < 4 + 2 * kStatusBytes) return a;
    a.rows[2] = answer.mid(4, n - 10);
    a.rows[3] = answer.mid(n - 6, 2);
    a.rows[4] = answer.mid(n - 4, 2);
    a.rows[5] = answer.mid(n - 2, 2);
    bool ok = false;
    const uint value = a.rows[3].toUInt(&ok, 16);
    if (ok) a.errorStatus = static_cast<std::uint8_t>(value);
    return a;
}

std::optional<AnswerAnalysis> analyseTopazAnswer(const QString& answer) {
    if (!isReceivedFrame(answer)) return std::nullopt;
    AnswerAnalysis a;
    a.rows[0] = answer.mid(0, 2);
    a.rows[1] = answer.mid(2, 2);
    a.rows[2] = answer.mid(4);
    return a;
}

TopazIdentification topazIdentification(const QString& answer) {
    if (!isReceivedFrame(answer)) return {};
    return {answer.mid(4, 2), answer.mid(6, 2), answer.mid(8, 8)};
}

QStringList readPageItems(const QString& answer, LibraryStatus status, int pageSize) {
    QStringList items;
    const bool good = goodFrame(answer, status, kReadDataBytes);
    for (int page = 0; page < kPagesPerRead; ++page) {
        if (!good) {
            items << errorItem(answer);
            continue;
        }
        // Pages stand four bytes apart in the answer, whatever the product's page size.
        QString line;
        for (int b = 0; b < pageSize; ++b) {
            line += answer.mid(4 + 8 * page + 2 * b, 2) + QLatin1Char(' ');
        }
        items << line;
    }
    return items;
}

QString topazReadItem(const QString& answer, LibraryStatus status) {
    if (!goodFrame(answer, status, kTopazReadBytes)) return errorItem(answer);
    return answer.mid(6, 2) + QLatin1Char(' ');
}

bool pageWriteAccepted(const QString& answer, LibraryStatus status) {
    if (status != reader::kStatusOk) return false;
    // Of the short frames, the tag's 4-bit ACK alone is a success; the NAKs and any other
    // four bits are not. A whole frame is judged by its last byte, as every other answer.
    if (answer.startsWith(QLatin1String(transceiver::kResultShortFrame.data(), 2))) {
        return transceiver::readShortFrame(toLatin1(answer)) == transceiver::ShortFrame::Ack;
    }
    return isReceivedFrame(answer) && answer.endsWith(QLatin1String(kEndOfGoodAnswer));
}

bool topazWriteAccepted(const QString& answer, LibraryStatus status) {
    return status == reader::kStatusOk && isReceivedFrame(answer) &&
           answer.endsWith(QLatin1String(kEndOfGoodAnswer));
}

ReqaOutcome reqaOutcome(const QString& answer, LibraryStatus status) {
    if (status != reader::kStatusOk) return ReqaOutcome::End;
    if (isReceivedFrame(answer)) return ReqaOutcome::FrameReceived;
    if (answer.startsWith(QLatin1String(transceiver::kResultShortFrame.data(), 2))) {
        return ReqaOutcome::ShortFrame;
    }
    return ReqaOutcome::End;
}

bool frameReceived(const QString& answer, LibraryStatus status) {
    return status == reader::kStatusOk && isReceivedFrame(answer);
}

}  // namespace iso14443a

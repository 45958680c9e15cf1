#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>

#include "reader/reader_library.hpp"

namespace iso14443a {

// The window runs in TOPAZ mode for this product reference exactly (case and blanks
// count) and in ISO14443-A mode for any other.
inline constexpr char kTopazReference[] = "TOPAZ";
bool isTopazMode(const QString& reference);

// Digits of the address box: as many as the highest byte address of the memory needs
// (rounded), at least one.
int addressDigits(std::int32_t memorySizeBytes);

// ---- Answer analysis --------------------------------------------------------------

// The transceiver's status byte after a type A frame.
inline constexpr std::uint8_t kStatusCollision = 0x80;
inline constexpr std::uint8_t kStatusCrcError = 0x20;
inline constexpr std::uint8_t kStatusParityError = 0x10;

// What the response-analysis panel shows of an answer: the six rows (result code,
// length, tag data, error status, index of the first collision byte and bit) and the
// error status bits. Rows that the answer is too short to hold stay empty.
struct AnswerAnalysis {
    std::array<QString, 6> rows;
    std::optional<std::uint8_t> errorStatus;
};

// A received frame ("80") split into the six rows; nothing for any other answer. The
// last three bytes are the transceiver's status bytes, what lies between the length and
// them is the tag's frame.
std::optional<AnswerAnalysis> analyseAnswer(const QString& answer);
// The TOPAZ form: result code, length, and everything after the length as data.
std::optional<AnswerAnalysis> analyseTopazAnswer(const QString& answer);

// ---- TOPAZ identification ---------------------------------------------------------

struct TopazIdentification {
    QString hr0;
    QString hr1;
    QString uid;  // four bytes, as the tag sent them
};
// The header bytes and the UID of a RID answer, as far as the answer holds them.
TopazIdentification topazIdentification(const QString& answer);

// ---- Memory reads and writes ------------------------------------------------------

inline const QString kReadErrorDetectedItem = QStringLiteral("error detected ");
inline const QString kReadErrorItem = QStringLiteral("error");
inline const QString kWriteOkItem = QStringLiteral("(00) No error during Prog sequence");
inline const QString kWriteErrorItem = QStringLiteral("Error code");

// Pages a READ returns.
inline constexpr int kPagesPerRead = 4;

// The four items of one READ: the page lines when the read is good (status 0, a
// received frame of 16 data bytes whose status bytes report no collision, CRC or
// parity error), else four error items: "error detected " for a frame that failed a
// check, "error" for anything else.
QStringList readPageItems(const QString& answer, reader::LibraryStatus status, int pageSize);
// The item of one TOPAZ READ: the data byte, or an error item by the same rules.
QString topazReadItem(const QString& answer, reader::LibraryStatus status);

// WRITE and COMPATIBILITY WRITE, after a call that succeeded: the tag's 4-bit ACK (or a
// received frame ending in 00); a NAK and any other short frame are refusals.
bool pageWriteAccepted(const QString& answer, reader::LibraryStatus status);
// TOPAZ WRITE-E and WRITE-NE: a received frame ending in 00, after a call that succeeded.
bool topazWriteAccepted(const QString& answer, reader::LibraryStatus status);

// ---- The anticollision process ----------------------------------------------------

enum class ReqaOutcome {
    FrameReceived,  // analyse, let events run, go on
    ShortFrame,     // go on at once
    End,
};
ReqaOutcome reqaOutcome(const QString& answer, reader::LibraryStatus status);
// Any other step goes on only on a received frame after a call that succeeded.
bool frameReceived(const QString& answer, reader::LibraryStatus status);

}  // namespace iso14443a

#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

#include "reader/reader_library.hpp"

// What the ISO14443-B and ISO18092 windows make of their boxes and answers: pure
// functions, no widgets.
namespace iso14443b {

// An answer is good when the call ended with status 0 and its text is a received frame
// without transceiver error: "80" first and "00" last.
bool isGoodAnswer(reader::LibraryStatus status, const QString& text);
// The tag did not answer at all: the call went through and the transceiver timed out.
bool isNoTagAnswer(reader::LibraryStatus status, const QString& text);

// The number the bit boxes spell, the first box the most significant; an empty box
// counts as 0 and only the lowest bit of a box counts.
int bitBoxesValue(const QStringList& mostSignificantFirst);

// ---- REQB, WUPB, ATTRIB -------------------------------------------------------------

// The texts of the ATQB labels after a good REQB or WUPB, prefixes included.
struct AtqbLabels {
    QString answer, firstByte, pupi, applicationData, protocolInfo, crc;
};
// The bare run-time prefixes (what a REQB shows before its answer).
AtqbLabels atqbPrefixes();
AtqbLabels atqbLabels(const QString& answer);

struct AttribLabels {
    QString mbliCid, crc;
};
AttribLabels attribPrefixes();
// The first data byte split into its MBLI and CID digits, and the two CRC bytes.
AttribLabels attribLabels(const QString& answer);

// ---- Memory-tag anticollision --------------------------------------------------------

// Slots 0 to 15: a tag whose chip ID ends in 0 answers in slot 0.
inline constexpr int kSlotCount = 16;
inline constexpr int kGridRows = 4;
inline constexpr int kGridColumns = 4;
// The grid cell of slot n (0 to 15): filled column by column from the top.
inline int slotRow(int slot) { return slot % kGridRows; }
inline int slotColumn(int slot) { return slot / kGridRows; }
// "7: ", then for a slot that answered " ChipID = ", its chip ID and a blank.
QString slotCellText(int slot, const QString& chipId = QString());

// ---- Memory view -----------------------------------------------------------------------

// Digits of the block-address boxes for a memory of `memorySizeBytes` bytes: the
// nearest whole base-2 logarithm of the size less one, in hex digits. A record too
// small to have a logarithm gets the boxes' design width.
int addressWidth(std::int32_t memorySizeBytes);
// Blocks from `from` to `to`, going on from 0 after `addressMask` when `to` is below.
std::int32_t blockCount(std::int32_t from, std::int32_t to, std::int32_t addressMask);
// The read view's line of a good READ BLOCK answer: its first `bytes` data bytes, each
// pair followed by a blank; only the pairs the answer holds.
QString blockLine(const QString& answer, int bytes);
// The first `bytes` data bytes of an answer, without blanks.
QString blockData(const QString& answer, int bytes);

inline const QString kReadErrorLine = QStringLiteral("error code returned");
inline const QString kWriteOkLine = QStringLiteral("(00) No error during Prog sequence");
inline const QString kWriteErrorLine = QStringLiteral("Error code");

// ---- ISO18092 --------------------------------------------------------------------------

struct ReqcLabels {
    QString answer, manufId, manufParameter;
};
ReqcLabels reqcPrefixes();
// After a good REQC: up to 16 bytes of the answer, the IDm and the PMm.
ReqcLabels reqcLabels(const QString& answer);

}  // namespace iso14443b

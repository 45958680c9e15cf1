#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "reader/reader_library.hpp"

// What the ISO15693 window makes of the answers: the acceptance of an answer with its
// CRC verdict, and the texts each command shows.
namespace iso15693 {

// An answer as the window judges it: "80", the length byte L, the tag response, the
// tag's CRC (low byte first) and the transceiver's status byte.
struct TagAnswer {
    bool accepted = false;  // status 0, "80", and the text holds what L announces
    int length = 0;         // L; 0 when not accepted or the CRC was found wrong
    std::string response;   // the tag response: response flags first
    // "  ", the status byte, " -> CRC OK" or " -> CRC HS (expected=...)": what the log
    // line of the answer gets after the answer; empty when the status byte is "00".
    QString crcVerdict;

    // A response the commands act on: accepted, sound CRC, not empty.
    bool valid() const { return length > 0 && !response.empty(); }
    std::string flags() const { return response.substr(0, 2); }
    // Response byte `i` (0: the flags) as two digits; empty past the end.
    std::string byte(int i) const;
};

// The acceptance of transceiver::checkIso15693Answer, with the CRC verdict as the log
// line gets it: an answer too short for its length byte is not accepted, and a wrong CRC
// leaves no response.
TagAnswer checkAnswer(reader::LibraryStatus status, std::string_view answer);

// Report texts.
inline const QString kNoDetectedAnswer = QStringLiteral("No detected answer");
inline const QString kNoDetectedAnswerLower = QStringLiteral("no detected answer");
inline const QString kNoTagAnswer = QStringLiteral("no Tag answer");
inline const QString kOk = QStringLiteral("OK");
inline const QString kWriteOkLine = QStringLiteral("(00) No error during Prog sequence");
inline const QString kWriteFailed = QStringLiteral("HS");
inline const QString kUnreadByte = QStringLiteral("XX");

// "(", the flags, ") Answer format problemz".
QString answerFormatProblem(const std::string& flags);
// The ISO/IEC 15693 error texts of the block commands.
QString ErrorCodeText(const QString& code);

// The short result of the lock, state, AFI, DSFID, kill and password commands and of
// the energy-harvesting writes: "OK", or the error code and " : unknown error code";
// nothing for any other response.
std::optional<QString> shortResult(const TagAnswer& a);

// The memory line of a single-block read: the block's bytes (the security status byte
// and three blanks first with the option flag), or why it has none; without a valid
// response, the answer as the answer box shows it.
QString singleBlockLine(const TagAnswer& a, const QString& answerBox, int bytesPerBlock,
                        bool withStatus);
// The lines of a multiple-block read, exactly `count` of them. "no detected answer" only
// when no answer was taken; a taken answer without response flags is "no Tag answer".
QStringList multipleBlockLines(const TagAnswer& a, int count, int bytesPerBlock, bool withStatus);
// The lines of GET MULTIPLE BLOCK SECURITY STATUS, exactly `count` of them, the same way.
QStringList securityStatusLines(const TagAnswer& a, int count);

// What WRITE SINGLE BLOCK shows: its memory line, and the result label when it changes.
struct WriteOutcome {
    QString line;
    std::optional<QString> label;
};
WriteOutcome writeOutcome(const TagAnswer& a, const QString& answerBox);

// The inventory list.
QStringList inventoryListHeader();  // TAB "UID" TAB TAB TAB "DSFID", then an empty line
// " ", the number, TAB, the UID most significant byte first, TAB, TAB, the DSFID.
QString inventoryListLine(int number, const QString& uidMsbFirst, const QString& dsfid);
// The one tag of an INVENTORY or INITIATE response "00": its list line numbered 00.
QString singleTagLine(const TagAnswer& a);
// The UID of a list line: characters 5 to 20.
QString uidOfListLine(const QString& line);

// The board anticollision's answer: the records really present, at most 13.
struct AnticollisionRecord {
    QString dsfid;
    QString uid;  // most significant byte first
};
std::vector<AnticollisionRecord> anticollisionRecords(reader::LibraryStatus status,
                                                      std::string_view answer);

// GET SYSTEM INFO: the lines of its list. The width of the block-count field is read from
// the response's length (15 bytes: one byte, 16: two); another length takes
// `addressByteCount`.
QStringList systemInfoLines(const TagAnswer& a, int addressByteCount);

// READ EH CONFIG and CHECK EH ENABLE: the byte shown, or nothing when the answer was not
// accepted.
std::optional<QString> ehReadResult(const TagAnswer& a);

// The UID box's text as requests carry it: the eight bytes in reverse order.
QString frameOrderUid(const QString& msbFirst);

}  // namespace iso15693

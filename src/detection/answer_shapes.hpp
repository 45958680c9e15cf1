#pragma once

#include <string>
#include <string_view>

#include "transceiver/iso14443a_answers.hpp"

// What an answer must look like before a probe takes it for a tag of its protocol. A
// probe button sends its frames under whatever protocol the transceiver has, so a tag of
// another protocol may answer them: such an answer begins "80" too, but it does not have
// the shape of the answer the probe asked for. Each check wants hex throughout, "80", a
// length byte that counts what follows, and the fields of its answer.
namespace detection {

// ISO15693 INVENTORY: response flags 00, DSFID and the eight UID bytes, then the CRC and
// the status byte.
bool isInventoryAnswer(std::string_view answer);
// ISO14443-A REQA: the two ATQA bytes, then the transceiver's three trailing bytes.
bool isAtqaAnswer(std::string_view answer);
// ISO14443-A ANTICOLLISION of one cascade level: four UID bytes and their BCC, which
// matches them, then the three trailing bytes.
bool isUidLevelAnswer(std::string_view answer);
// ISO14443-B REQB: an ATQB (50, the PUPI, the application data, three or four bytes of
// protocol info), then the CRC and the status byte.
bool isAtqbAnswer(std::string_view answer);
// A SOLA memory tag's chip ID (INITIATE or a slot marker): the chip ID, then the CRC and
// the status byte.
bool isChipIdAnswer(std::string_view answer);

// What the log adds to the line of an answer that several tags sent at once, so the
// user sees why no ID is shown: two blanks, the status byte and the verdict.
std::string iso14443aCollisionVerdict(const transceiver::ResponseStatus& status);
std::string felicaCollisionVerdict(std::string_view statusByte);

}  // namespace detection

#pragma once

#include <string>
#include <string_view>

// ISO15693 answers as the transceiver reports them: "80", the length byte L (the bytes
// that follow), the tag frame, the frame's two CRC bytes and the transceiver's trailing
// status byte. Positions are counted from 1 as the windows count them.
namespace transceiver {

// The one-slot INVENTORY of the detection probes: flags 26 (high data rate, inventory,
// one slot), command 01, mask length 00.
inline constexpr std::string_view kIso15693InventoryOneSlot = "260100";
// L of an INVENTORY answer: response flags, DSFID, the eight UID bytes, the CRC.
inline constexpr int kIso15693InventoryLength = 0x0D;

// The program checks the tag's CRC itself only when the transceiver's status byte is
// not "00" (the transceiver has already checked a frame it reports as clean).
enum class CrcVerdict { NotChecked, Ok, Mismatch };

struct Iso15693Answer {
    // Library status 0, result code "80", a readable L of at least 3, and all 2L+4
    // characters present. Nothing else is read from an answer that is not accepted, so
    // no field is ever taken from beyond the text.
    bool accepted = false;
    int length = 0;          // L
    std::string statusByte;  // characters 2L+3 and 2L+4
    CrcVerdict crc = CrcVerdict::NotChecked;
    std::string computedCrc;  // four digits, low byte first, when the CRC was checked
    // The tag frame without its CRC (characters 5 to 2L-2), when accepted and the CRC did
    // not fail; empty otherwise.
    std::string tagResponse;

    bool hasResponse() const { return accepted && crc != CrcVerdict::Mismatch; }
};

// `libraryStatus`: what the library call returned (0: the exchange took place).
Iso15693Answer checkIso15693Answer(int libraryStatus, std::string_view answer);

// What the log gains right after the answer on its "<<< " line: two blanks, the status
// byte and " -> CRC OK", or " -> CRC HS (expected=", the computed CRC and ")". Empty
// when the CRC was not checked.
std::string crcVerdictText(const Iso15693Answer& answer);

// The UID of an INVENTORY tag response (response flags, DSFID, eight UID bytes as
// received, least significant first), most significant byte first: sixteen digits.
// Empty when the response does not hold the eight bytes.
std::string inventoryUid(std::string_view tagResponse);

// One-slot INVENTORY as the detection probes judge it.
struct Iso15693Inventory {
    enum Count : int { None = 0, Found = 1, CrcFailed = 99 };
    int count = None;
    std::string uid;      // when Found
    std::string verdict;  // crcVerdictText of the answer
};
// Found only for an accepted answer whose L is 0D and whose CRC did not fail; CrcFailed
// for such an answer whose CRC did not verify; None for everything else (no frame, an
// error response, a frame of another length, a cut text).
Iso15693Inventory decodeIso15693Inventory(int libraryStatus, std::string_view answer);

}  // namespace transceiver

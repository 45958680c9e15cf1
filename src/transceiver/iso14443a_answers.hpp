#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// ISO14443-A requests and the anticollision cascade of ISO/IEC 14443-3, as the windows,
// the detection probes and the script's anticollision keyword send and read them.
namespace transceiver {

// ---- TransmissionFlagByte ----------------------------------------------------------
// The byte that ends every ISO14443-A request given to the send-and-receive call.

inline constexpr std::uint8_t kFlagBitCountMask = 0x0F;  // significant bits of the last byte
inline constexpr std::uint8_t kFlagAppendCrc = 0x20;
inline constexpr std::uint8_t kFlagSplitFrame = 0x40;
inline constexpr std::uint8_t kFlagTopazFrame = 0x80;

inline constexpr std::string_view kFlagShortFrame = "07";     // REQA, WUPA: 7 bits, no CRC
inline constexpr std::string_view kFlagAnticollision = "08";  // 8 bits, no CRC
inline constexpr std::string_view kFlagWithCrc = "28";        // SELECT, READ, WRITE, HALT
inline constexpr std::string_view kFlagTopaz = "A8";          // RID and the TOPAZ commands

// The flag byte of the given fields, as two upper-case digits.
std::string transmissionFlag(int significantBits, bool appendCrc, bool splitFrame = false,
                             bool topazFrame = false);

// ---- Requests -------------------------------------------------------------------------

inline constexpr std::string_view kReqaCommand = "26";
inline constexpr std::string_view kWupaCommand = "52";
// The NVB of an ANTICOLLISION that names no UID bit yet, and of a SELECT that carries
// the whole level (four bytes and the BCC).
inline constexpr std::string_view kNvbAnticollision = "20";
inline constexpr std::string_view kNvbSelect = "70";

std::string reqaRequest();  // "2607"
std::string wupaRequest();  // "5207"

// Cascade levels are numbered 1 to 3; their select codes are 93, 95 and 97.
inline constexpr int kCascadeLevels = 3;
std::string_view selectCode(int level);
// SEL, the NVB (as given: the ISO14443-A window lets the user type it) and flag 08.
std::string anticollisionRequest(int level, std::string_view nvb = kNvbAnticollision);
// SEL, 70, the level's UID part (its four bytes and BCC as received) and flag 28.
std::string selectRequest(int level, std::string_view uidPart);

// HLTA: the two bytes 50 00, the CRC_A appended by the transceiver (flag 28). A tag takes
// nothing less for a HALT.
std::string haltRequest();  // "500028"

// Memory commands of a type A tag; page addresses are one byte (the caller refuses an
// address that does not fit). Data is hex text, blanks allowed (they are removed).
std::string readRequest(std::uint8_t page);
std::string writeRequest(std::uint8_t page, std::string_view data);
// COMPATIBILITY WRITE goes in two exchanges: the address, then 16 data bytes.
std::string compatibilityWriteRequest(std::uint8_t page);
std::string compatibilityWriteDataRequest(std::string_view data);

// TOPAZ commands (TOPAZ REQA is the REQA). `uid`: the four UID bytes of the tag's RID
// answer, as the window holds them; empty sends none.
std::string topazRidRequest();  // RID and its six zero bytes, flag A8
std::string topazReadRequest(std::uint8_t address, std::string_view uid);
enum class TopazWrite { Erase, NoErase };
std::string topazWriteRequest(TopazWrite kind, std::uint8_t address, std::string_view data,
                              std::string_view uid);

// ---- Answers --------------------------------------------------------------------------

// The first byte of a cascade level's UID bytes when the UID goes on at the next level.
inline constexpr std::string_view kCascadeTag = "88";

// An ANTICOLLISION answer: "80", the length byte, the level's four UID bytes and the BCC
// (characters 5 to 14), then the transceiver's three trailing bytes.
struct AnticollisionAnswer {
    bool frameReceived = false;  // begins "80"
    // The four bytes and the BCC are all there (14 characters at least). A SELECT built
    // from an answer that is not complete would carry a cut UID.
    bool complete = false;
    std::string uidPart;      // characters 5-14, as far as the answer goes
    bool cascadeTag = false;  // the UID part begins "88"
    // What this level adds to the UID: characters 7-12 after the cascade tag, else 5-12.
    std::string uidPiece;
    std::string bcc;          // characters 13-14
    bool bccMatches = false;  // the XOR of the four bytes equals the BCC
};
AnticollisionAnswer decodeAnticollisionAnswer(std::string_view answer);

// The transceiver's three trailing bytes of an ISO14443-A answer that begins "80": the
// error status, then the index of the first byte and of the first bit with a collision.
struct ResponseStatus {
    bool present = false;  // the answer begins "80" and holds the three bytes
    std::uint8_t status = 0;
    std::uint8_t collisionByte = 0;
    std::uint8_t collisionBit = 0;

    bool collision() const { return (status & kStatusCollision) != 0; }
    bool crcError() const { return (status & kStatusCrcError) != 0; }
    bool parityError() const { return (status & kStatusParityError) != 0; }
    // Several tags answered at once: what the frame holds is the OR of their bits.
    bool severalTags() const { return present && (collision() || crcError()); }

    static constexpr std::uint8_t kStatusCollision = 0x80;
    static constexpr std::uint8_t kStatusCrcError = 0x20;
    static constexpr std::uint8_t kStatusParityError = 0x10;
};
ResponseStatus responseStatusOf(std::string_view answer);

// After the SELECT of `level`: the cascade goes on when this level carried the cascade
// tag and a further level exists (a tag at level 3 still ends it).
bool cascadeContinues(int level, const AnticollisionAnswer& anticollision);

// The SAK of a SELECT answer (characters 5-6), when the answer begins "80" and holds it.
std::optional<std::uint8_t> sakOf(std::string_view selectAnswer);
// SAK bit 3: the UID is not complete, the card expects the next cascade level.
inline constexpr std::uint8_t kSakUidIncomplete = 0x04;

}  // namespace transceiver

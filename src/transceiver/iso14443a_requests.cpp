#include "transceiver/iso14443a_requests.hpp"

#include <initializer_list>

#include "transceiver/frames.hpp"

namespace transceiver {

namespace {

// Tag command codes.
constexpr std::string_view kReqa = "26";
constexpr std::string_view kWupa = "52";
constexpr std::string_view kHalt = "50";
constexpr std::string_view kSelectNvb = "70";  // the whole 40 bits of the level follow
constexpr std::string_view kRead = "30";
constexpr std::string_view kWrite = "A2";
constexpr std::string_view kCompatibilityWrite = "A0";
constexpr std::string_view kTopazRid = "78000000000000";  // RID and its six zero bytes
constexpr std::string_view kTopazRead = "01";
constexpr std::string_view kTopazWriteErase = "53";
constexpr std::string_view kTopazWriteNoErase = "1A";
constexpr std::string_view kTopazReadData = "00";  // the data byte a read carries

std::string join(std::initializer_list<std::string_view> parts) {
    std::string out;
    for (std::string_view p : parts) out += p;
    return out;
}

}  // namespace

std::string cascadeSelectCode(int level) {
    switch (level) {
        case 2:
            return "95";
        case 3:
            return "97";
        default:
            return "93";
    }
}

std::string reqaRequest() { return join({kReqa, flag::kShortFrame}); }
std::string wupaRequest() { return join({kWupa, flag::kShortFrame}); }
std::string haltRequest() { return join({kHalt, flag::kHalt}); }

std::string anticollisionRequest(int level, std::string_view nvb) {
    return join({cascadeSelectCode(level), nvb, flag::kAnticollision});
}

std::string cascadeSelectRequest(int level, std::string_view uidPart) {
    return join({cascadeSelectCode(level), kSelectNvb, uidPart, flag::kWithCrc});
}

std::string readRequest(std::uint8_t page) { return join({kRead, hexByte(page), flag::kWithCrc}); }

std::string writeRequest(std::uint8_t page, std::string_view data) {
    return withoutBlanks(join({kWrite, hexByte(page), data, flag::kWithCrc}));
}

std::string compatibilityWriteRequest(std::uint8_t page) {
    return join({kCompatibilityWrite, hexByte(page), flag::kWithCrc});
}

std::string compatibilityWriteDataRequest(std::string_view data) {
    return withoutBlanks(join({data, flag::kWithCrc}));
}

std::string topazReqaRequest() { return reqaRequest(); }
std::string topazRidRequest() { return join({kTopazRid, flag::kTopaz}); }

std::string topazReadRequest(std::uint8_t address, std::string_view uid) {
    return join({kTopazRead, hexByte(address), kTopazReadData, uid, flag::kTopaz});
}

std::string topazWriteRequest(TopazWrite kind, std::uint8_t address, std::string_view data,
                              std::string_view uid) {
    const std::string_view code = kind == TopazWrite::Erase ? kTopazWriteErase : kTopazWriteNoErase;
    return withoutBlanks(join({code, hexByte(address), data, uid, flag::kTopaz}));
}

}  // namespace transceiver

// The simulated board behind the reader library's C functions, so that it can stand
// beside the program as its library file and the program's loader can be exercised
// for real. Built twice: as a current library, and (TQ_CABI_WITHOUT_REV5) as an older
// one that lacks the functions only revision 5 brought and says so in its revision.

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "reader/answer_buffer.hpp"
#include "simboard/simulated_board.hpp"

#ifndef _WIN32
#include <dlfcn.h>
#endif

#ifdef _WIN32
#define TQ_EXPORT extern "C" __declspec(dllexport)
#define TQ_LIBRARY_CALL __stdcall
#else
#define TQ_EXPORT extern "C" __attribute__((visibility("default")))
#define TQ_LIBRARY_CALL
#endif

namespace {

// What a call without an answer area gets: a failed exchange.
constexpr std::int32_t kStatusNoAnswerArea = 1;

// The folder this library file stands in: a simulated-board.ini there describes the
// board, as it would beside the program.
std::string ownFolder() {
#ifndef _WIN32
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&ownFolder), &info) != 0 && info.dli_fname) {
        const std::string path = info.dli_fname;
        const auto slash = path.rfind('/');
        if (slash != std::string::npos) return path.substr(0, slash);
    }
#endif
    return {};
}

simboard::SimulatedBoard& board() {
    static const auto instance = [] {
        const std::string folder = ownFolder();
        return folder.empty() ? std::make_unique<simboard::SimulatedBoard>()
                              : std::make_unique<simboard::SimulatedBoard>(folder);
    }();
    return *instance;
}

std::string_view requestText(const char* request) {
    return request ? std::string_view(request) : std::string_view();
}

// Runs `call` on a buffer that starts as the caller's, so whatever the board leaves
// unwritten reaches the caller unchanged.
template <typename Call>
std::int32_t withAnswer(char* answer, Call call) {
    if (!answer) return kStatusNoAnswerArea;
    reader::AnswerBuffer buffer;
    std::memcpy(buffer.data(), answer, reader::AnswerBuffer::kSize);
    const std::int32_t status = call(buffer);
    std::memcpy(answer, buffer.data(), reader::AnswerBuffer::kSize);
    return status;
}

}  // namespace

TQ_EXPORT std::int32_t TQ_LIBRARY_CALL TQ73RNDLL_USBhandlecheck() {
    return board().usbHandleCheck();
}

TQ_EXPORT std::int32_t TQ_LIBRARY_CALL TQ73RNDll_KVCmd(char* request, char* answer) {
    return withAnswer(answer, [&](auto& a) { return board().kvCmd(requestText(request), a); });
}

TQ_EXPORT std::int32_t TQ_LIBRARY_CALL TQ73RNDll_Select(char* request, char* answer) {
    return withAnswer(answer, [&](auto& a) { return board().select(requestText(request), a); });
}

TQ_EXPORT std::int32_t TQ_LIBRARY_CALL TQ73RNDll_SendReceive(char* request, char* answer) {
    return withAnswer(answer,
                      [&](auto& a) { return board().sendReceive(requestText(request), a); });
}

TQ_EXPORT std::int32_t TQ_LIBRARY_CALL TQ73RNDll_Echo(char* answer) {
    return withAnswer(answer, [](auto& a) { return board().echo(a); });
}

TQ_EXPORT std::int32_t TQ_LIBRARY_CALL TQ73RNDll_Idn(char* answer) {
    return withAnswer(answer, [](auto& a) { return board().idn(a); });
}

TQ_EXPORT std::int32_t TQ_LIBRARY_CALL TQ73RNDll_FieldOff(char* answer) {
    return withAnswer(answer, [](auto& a) { return board().fieldOff(a); });
}

TQ_EXPORT std::int32_t TQ_LIBRARY_CALL TQ73RNDll_GetDLLrev(char* answer) {
#ifdef TQ_CABI_WITHOUT_REV5
    // Read the way the program reads it (first three characters without the dot), this
    // is revision 4: below the revision that brought the missing functions.
    return withAnswer(answer, [](auto& a) {
        a.setText("0.4.0");
        return std::int32_t{0};
    });
#else
    return withAnswer(answer, [](auto& a) { return board().getDllRev(a); });
#endif
}

TQ_EXPORT std::int32_t TQ_LIBRARY_CALL TQ73RNDll_ResetSPI(char* answer) {
    return withAnswer(answer, [](auto& a) { return board().resetSpi(a); });
}

TQ_EXPORT std::int32_t TQ_LIBRARY_CALL TQ73RNDll_SendIRQPulse(char* answer) {
    return withAnswer(answer, [](auto& a) { return board().sendIrqPulse(a); });
}

TQ_EXPORT std::int32_t TQ_LIBRARY_CALL TQ73RNDLL_getMCUrev(char* answer) {
    return withAnswer(answer, [](auto& a) { return board().getMcuRev(a); });
}

TQ_EXPORT std::int32_t TQ_LIBRARY_CALL TQ73RNDLL_getInterfacePinState(char* answer) {
    return withAnswer(answer, [](auto& a) { return board().getInterfacePinState(a); });
}

#ifndef TQ_CABI_WITHOUT_REV5
// Only a revision-5 library has these: the program shows them, and connects over USB
// at start-up, only for such a library.

TQ_EXPORT std::int32_t TQ_LIBRARY_CALL TQ73RNDLL_USBconnect() { return board().usbConnect(); }

TQ_EXPORT std::int32_t TQ_LIBRARY_CALL TQ73RNDll_SendNSSPulse(char* answer) {
    return withAnswer(answer, [](auto& a) { return board().sendNssPulse(a); });
}

TQ_EXPORT std::int32_t TQ_LIBRARY_CALL TQ73RNDll_Polling_Reading(char* answer) {
    return withAnswer(answer, [](auto& a) { return board().pollingReading(a); });
}
#endif

// A reader library file that writes whatever the fuzzer tells it into the areas the
// program hands it: more than the 256 characters of an answer, no NUL at all, or nothing.
// The fuzz target binds it through the program's own loader.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#define TQ_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

// The room the loader gives each area; a library that writes past it is beyond help.
constexpr std::size_t kRoom = 4096;

struct Script {
    std::vector<char> answer;   // written over the answer area, from its start
    std::vector<char> request;  // written over the request area
    std::int32_t status = 0;
};
Script script;

void writeOver(char* area, const std::vector<char>& bytes) {
    if (area && !bytes.empty()) std::memcpy(area, bytes.data(), std::min(bytes.size(), kRoom));
}

std::int32_t answerCall(char* answer) {
    writeOver(answer, script.answer);
    return script.status;
}

std::int32_t requestCall(char* request, char* answer) {
    writeOver(request, script.request);
    return answerCall(answer);
}

}  // namespace

TQ_EXPORT void hostileLibraryScript(const char* answer, std::size_t answerSize, const char* request,
                                    std::size_t requestSize, std::int32_t status) {
    script.answer.assign(answer, answer + answerSize);
    script.request.assign(request, request + requestSize);
    script.status = status;
}

TQ_EXPORT std::int32_t TQ73RNDLL_USBconnect() { return script.status; }
TQ_EXPORT std::int32_t TQ73RNDLL_USBhandlecheck() { return script.status; }
TQ_EXPORT std::int32_t TQ73RNDll_KVCmd(char* r, char* a) { return requestCall(r, a); }
TQ_EXPORT std::int32_t TQ73RNDll_Select(char* r, char* a) { return requestCall(r, a); }
TQ_EXPORT std::int32_t TQ73RNDll_SendReceive(char* r, char* a) { return requestCall(r, a); }
TQ_EXPORT std::int32_t TQ73RNDll_Echo(char* a) { return answerCall(a); }
TQ_EXPORT std::int32_t TQ73RNDll_Idn(char* a) { return answerCall(a); }
TQ_EXPORT std::int32_t TQ73RNDll_FieldOff(char* a) { return answerCall(a); }
TQ_EXPORT std::int32_t TQ73RNDll_GetDLLrev(char* a) { return answerCall(a); }
TQ_EXPORT std::int32_t TQ73RNDll_ResetSPI(char* a) { return answerCall(a); }
TQ_EXPORT std::int32_t TQ73RNDll_SendIRQPulse(char* a) { return answerCall(a); }
TQ_EXPORT std::int32_t TQ73RNDll_SendNSSPulse(char* a) { return answerCall(a); }
TQ_EXPORT std::int32_t TQ73RNDll_Polling_Reading(char* a) { return answerCall(a); }
TQ_EXPORT std::int32_t TQ73RNDLL_getMCUrev(char* a) { return answerCall(a); }
TQ_EXPORT std::int32_t TQ73RNDLL_getInterfacePinState(char* a) { return answerCall(a); }

#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "reader/answer_buffer.hpp"

namespace reader {

// 0: the exchange took place; 5: the board cannot be reached; anything else: failed.
using LibraryStatus = std::int32_t;

constexpr LibraryStatus kStatusOk = 0;
constexpr LibraryStatus kStatusUnreachable = 5;
// What a function answers when the loaded library file does not provide it.
constexpr LibraryStatus kStatusMissingFunction = -1;

enum class ReaderFunction {
    UsbConnect,
    UsbHandleCheck,
    KvCmd,
    Select,
    SendReceive,
    Echo,
    Idn,
    FieldOff,
    GetDllRev,
    ResetSpi,
    SendIrqPulse,
    SendNssPulse,
    PollingReading,
    GetMcuRev,
    GetInterfacePinState,
};

// The exported name of each function in the reader library file.
const char* exportedName(ReaderFunction f);

// The board's library, one virtual per library function. Requests are hex text
// without blanks; every answer goes into the caller's buffer.
class ReaderLibrary {
  public:
    virtual ~ReaderLibrary() = default;

    virtual LibraryStatus usbConnect() = 0;
    virtual LibraryStatus usbHandleCheck() = 0;
    virtual LibraryStatus kvCmd(std::string_view request, AnswerBuffer& answer) = 0;
    virtual LibraryStatus select(std::string_view request, AnswerBuffer& answer) = 0;
    virtual LibraryStatus sendReceive(std::string_view request, AnswerBuffer& answer) = 0;
    virtual LibraryStatus echo(AnswerBuffer& answer) = 0;
    virtual LibraryStatus idn(AnswerBuffer& answer) = 0;
    virtual LibraryStatus fieldOff(AnswerBuffer& answer) = 0;
    virtual LibraryStatus getDllRev(AnswerBuffer& answer) = 0;
    virtual LibraryStatus resetSpi(AnswerBuffer& answer) = 0;
    virtual LibraryStatus sendIrqPulse(AnswerBuffer& answer) = 0;
    virtual LibraryStatus sendNssPulse(AnswerBuffer& answer) = 0;
    virtual LibraryStatus pollingReading(AnswerBuffer& answer) = 0;
    virtual LibraryStatus getMcuRev(AnswerBuffer& answer) = 0;
    virtual LibraryStatus getInterfacePinState(AnswerBuffer& answer) = 0;

    // One entry point for callers that pick the function at run time (the script
    // runner, the recording wrapper). `request` is ignored by functions without one.
    LibraryStatus call(ReaderFunction f, std::string_view request, AnswerBuffer& answer);
};

}  // namespace reader

#include "reader/reader_library.hpp"

namespace reader {

const char* exportedName(ReaderFunction f) {
    switch (f) {
        case ReaderFunction::UsbConnect:
            return "TQ73RNDLL_USBconnect";
        case ReaderFunction::UsbHandleCheck:
            return "TQ73RNDLL_USBhandlecheck";
        case ReaderFunction::KvCmd:
            return "TQ73RNDll_KVCmd";
        case ReaderFunction::Select:
            return "TQ73RNDll_Select";
        case ReaderFunction::SendReceive:
            return "TQ73RNDll_SendReceive";
        case ReaderFunction::Echo:
            return "TQ73RNDll_Echo";
        case ReaderFunction::Idn:
            return "TQ73RNDll_Idn";
        case ReaderFunction::FieldOff:
            return "TQ73RNDll_FieldOff";
        case ReaderFunction::GetDllRev:
            return "TQ73RNDll_GetDLLrev";
        case ReaderFunction::ResetSpi:
            return "TQ73RNDll_ResetSPI";
        case ReaderFunction::SendIrqPulse:
            return "TQ73RNDll_SendIRQPulse";
        case ReaderFunction::SendNssPulse:
            return "TQ73RNDll_SendNSSPulse";
        case ReaderFunction::PollingReading:
            return "TQ73RNDll_Polling_Reading";
        case ReaderFunction::GetMcuRev:
            return "TQ73RNDLL_getMCUrev";
        case ReaderFunction::GetInterfacePinState:
            return "TQ73RNDLL_getInterfacePinState";
    }
    return "";
}

LibraryStatus ReaderLibrary::call(ReaderFunction f, std::string_view request,
                                  AnswerBuffer& answer) {
    switch (f) {
        case ReaderFunction::UsbConnect:
            return usbConnect();
        case ReaderFunction::UsbHandleCheck:
            return usbHandleCheck();
        case ReaderFunction::KvCmd:
            return kvCmd(request, answer);
        case ReaderFunction::Select:
            return select(request, answer);
        case ReaderFunction::SendReceive:
            return sendReceive(request, answer);
        case ReaderFunction::Echo:
            return echo(answer);
        case ReaderFunction::Idn:
            return idn(answer);
        case ReaderFunction::FieldOff:
            return fieldOff(answer);
        case ReaderFunction::GetDllRev:
            return getDllRev(answer);
        case ReaderFunction::ResetSpi:
            return resetSpi(answer);
        case ReaderFunction::SendIrqPulse:
            return sendIrqPulse(answer);
        case ReaderFunction::SendNssPulse:
            return sendNssPulse(answer);
        case ReaderFunction::PollingReading:
            return pollingReading(answer);
        case ReaderFunction::GetMcuRev:
            return getMcuRev(answer);
        case ReaderFunction::GetInterfacePinState:
            return getInterfacePinState(answer);
    }
    return kStatusMissingFunction;
}

}  // namespace reader

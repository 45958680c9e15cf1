#pragma once

#include "reader/reader_library.hpp"

namespace reader {

// A reader whose every function goes through one `dispatch`: for wrappers and test
// doubles that treat all functions alike. The two USB functions have no answer buffer
// and pass nullptr; the functions without a request pass an empty one.
class DispatchingReader : public ReaderLibrary {
  public:
    LibraryStatus usbConnect() final { return dispatch(ReaderFunction::UsbConnect, {}, nullptr); }
    LibraryStatus usbHandleCheck() final {
        return dispatch(ReaderFunction::UsbHandleCheck, {}, nullptr);
    }
    LibraryStatus kvCmd(std::string_view r, AnswerBuffer& a) final {
        return dispatch(ReaderFunction::KvCmd, r, &a);
    }
    LibraryStatus select(std::string_view r, AnswerBuffer& a) final {
        return dispatch(ReaderFunction::Select, r, &a);
    }
    LibraryStatus sendReceive(std::string_view r, AnswerBuffer& a) final {
        return dispatch(ReaderFunction::SendReceive, r, &a);
    }
    LibraryStatus echo(AnswerBuffer& a) final { return dispatch(ReaderFunction::Echo, {}, &a); }
    LibraryStatus idn(AnswerBuffer& a) final { return dispatch(ReaderFunction::Idn, {}, &a); }
    LibraryStatus fieldOff(AnswerBuffer& a) final {
        return dispatch(ReaderFunction::FieldOff, {}, &a);
    }
    LibraryStatus getDllRev(AnswerBuffer& a) final {
        return dispatch(ReaderFunction::GetDllRev, {}, &a);
    }
    LibraryStatus resetSpi(AnswerBuffer& a) final {
        return dispatch(ReaderFunction::ResetSpi, {}, &a);
    }
    LibraryStatus sendIrqPulse(AnswerBuffer& a) final {
        return dispatch(ReaderFunction::SendIrqPulse, {}, &a);
    }
    LibraryStatus sendNssPulse(AnswerBuffer& a) final {
        return dispatch(ReaderFunction::SendNssPulse, {}, &a);
    }
    LibraryStatus pollingReading(AnswerBuffer& a) final {
        return dispatch(ReaderFunction::PollingReading, {}, &a);
    }
    LibraryStatus getMcuRev(AnswerBuffer& a) final {
        return dispatch(ReaderFunction::GetMcuRev, {}, &a);
    }
    LibraryStatus getInterfacePinState(AnswerBuffer& a) final {
        return dispatch(ReaderFunction::GetInterfacePinState, {}, &a);
    }

  protected:
    virtual LibraryStatus dispatch(ReaderFunction f, std::string_view request,
                                   AnswerBuffer* answer) = 0;
};

}  // namespace reader

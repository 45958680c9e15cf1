#pragma once

#include "reader/reader_library.hpp"

namespace simboard {

// The DEMO-TQ73RN-A board in software: the program's default reader.
class SimulatedBoard : public reader::ReaderLibrary {
public:
    reader::LibraryStatus usbConnect() override;
    reader::LibraryStatus usbHandleCheck() override;
    reader::LibraryStatus kvCmd(std::string_view request, reader::AnswerBuffer& answer) override;
    reader::LibraryStatus select(std::string_view request, reader::AnswerBuffer& answer) override;
    reader::LibraryStatus sendReceive(std::string_view request,
                                      reader::AnswerBuffer& answer) override;
    reader::LibraryStatus echo(reader::AnswerBuffer& answer) override;
    reader::LibraryStatus idn(reader::AnswerBuffer& answer) override;
    reader::LibraryStatus fieldOff(reader::AnswerBuffer& answer) override;
    reader::LibraryStatus getDllRev(reader::AnswerBuffer& answer) override;
    reader::LibraryStatus resetSpi(reader::AnswerBuffer& answer) override;
    reader::LibraryStatus sendIrqPulse(reader::AnswerBuffer& answer) override;
    reader::LibraryStatus sendNssPulse(reader::AnswerBuffer& answer) override;
    reader::LibraryStatus pollingReading(reader::AnswerBuffer& answer) override;
    reader::LibraryStatus getMcuRev(reader::AnswerBuffer& answer) override;
    reader::LibraryStatus getInterfacePinState(reader::AnswerBuffer& answer) override;
};

}  // namespace simboard

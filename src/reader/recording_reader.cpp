#include "reader/recording_reader.hpp"

namespace reader {

std::vector<JournalEntry> RecordingReader::callsTo(ReaderFunction f) const {
    std::vector<JournalEntry> out;
    for (const auto& e : journal_) {
        if (e.function == f) out.push_back(e);
    }
    return out;
}

LibraryStatus RecordingReader::forward(ReaderFunction f, std::string_view request,
                                       AnswerBuffer& answer) {
    const LibraryStatus status = inner_.call(f, request, answer);
    journal_.push_back({f, std::string(request), status, answer.text()});
    return status;
}

LibraryStatus RecordingReader::usbConnect() {
    const LibraryStatus status = inner_.usbConnect();
    journal_.push_back({ReaderFunction::UsbConnect, {}, status, {}});
    return status;
}
LibraryStatus RecordingReader::usbHandleCheck() {
    const LibraryStatus status = inner_.usbHandleCheck();
    journal_.push_back({ReaderFunction::UsbHandleCheck, {}, status, {}});
    return status;
}
LibraryStatus RecordingReader::kvCmd(std::string_view r, AnswerBuffer& a) {
    return forward(ReaderFunction::KvCmd, r, a);
}
LibraryStatus RecordingReader::select(std::string_view r, AnswerBuffer& a) {
    return forward(ReaderFunction::Select, r, a);
}
LibraryStatus RecordingReader::sendReceive(std::string_view r, AnswerBuffer& a) {
    return forward(ReaderFunction::SendReceive, r, a);
}
LibraryStatus RecordingReader::echo(AnswerBuffer& a) { return forward(ReaderFunction::Echo, {}, a); }
LibraryStatus RecordingReader::idn(AnswerBuffer& a) { return forward(ReaderFunction::Idn, {}, a); }
LibraryStatus RecordingReader::fieldOff(AnswerBuffer& a) {
    return forward(ReaderFunction::FieldOff, {}, a);
}
LibraryStatus RecordingReader::getDllRev(AnswerBuffer& a) {
    return forward(ReaderFunction::GetDllRev, {}, a);
}
LibraryStatus RecordingReader::resetSpi(AnswerBuffer& a) {
    return forward(ReaderFunction::ResetSpi, {}, a);
}
LibraryStatus RecordingReader::sendIrqPulse(AnswerBuffer& a) {
    return forward(ReaderFunction::SendIrqPulse, {}, a);
}
LibraryStatus RecordingReader::sendNssPulse(AnswerBuffer& a) {
    return forward(ReaderFunction::SendNssPulse, {}, a);
}
LibraryStatus RecordingReader::pollingReading(AnswerBuffer& a) {
    return forward(ReaderFunction::PollingReading, {}, a);
}
LibraryStatus RecordingReader::getMcuRev(AnswerBuffer& a) {
    return forward(ReaderFunction::GetMcuRev, {}, a);
}
LibraryStatus RecordingReader::getInterfacePinState(AnswerBuffer& a) {
    return forward(ReaderFunction::GetInterfacePinState, {}, a);
}

}  // namespace reader

#include "simboard/simulated_board.hpp"

namespace simboard {

using reader::AnswerBuffer;
using reader::LibraryStatus;

namespace {
LibraryStatus done(AnswerBuffer& a, std::string_view text) {
    a.setText(text);
    return reader::kStatusOk;
}
}  // namespace

LibraryStatus SimulatedBoard::usbConnect() { return reader::kStatusOk; }
LibraryStatus SimulatedBoard::usbHandleCheck() { return reader::kStatusOk; }
LibraryStatus SimulatedBoard::kvCmd(std::string_view, AnswerBuffer& a) { return done(a, "8200"); }
LibraryStatus SimulatedBoard::select(std::string_view, AnswerBuffer& a) { return done(a, "0000"); }
LibraryStatus SimulatedBoard::sendReceive(std::string_view, AnswerBuffer& a) {
    return done(a, "8700");
}
LibraryStatus SimulatedBoard::echo(AnswerBuffer& a) { return done(a, "5500"); }
LibraryStatus SimulatedBoard::idn(AnswerBuffer& a) {
    return done(a, "000F54513733524E2D53494D2D32410000");
}
LibraryStatus SimulatedBoard::fieldOff(AnswerBuffer& a) { return done(a, "0000"); }
LibraryStatus SimulatedBoard::getDllRev(AnswerBuffer& a) { return done(a, "5.1.0"); }
LibraryStatus SimulatedBoard::resetSpi(AnswerBuffer& a) { return done(a, "0000"); }
LibraryStatus SimulatedBoard::sendIrqPulse(AnswerBuffer& a) { return done(a, "0000"); }
LibraryStatus SimulatedBoard::sendNssPulse(AnswerBuffer& a) { return done(a, "0000"); }
LibraryStatus SimulatedBoard::pollingReading(AnswerBuffer& a) { return done(a, "0000"); }
LibraryStatus SimulatedBoard::getMcuRev(AnswerBuffer& a) { return done(a, "0003010401"); }
LibraryStatus SimulatedBoard::getInterfacePinState(AnswerBuffer& a) { return done(a, "000101"); }

}  // namespace simboard

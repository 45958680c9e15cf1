#include "core/protocol_setup.hpp"

#include "transceiver/frames.hpp"

namespace core {

namespace {

using transceiver::selectRequest;
using transceiver::wrRegFrame;

// The analog register that sets the modulation depth and receiver gain is reached
// through the index register: write its index, then the value.
std::string analogWrite(std::string_view value) {
    return wrRegFrame(transceiver::kRegAnalogIndex, true,
                      std::string(transceiver::kAnalogArcB) + std::string(value));
}

std::vector<std::string> iso14443aWrites(const QString& demodGain) {
    return {wrRegFrame("3A", false, "5804"), analogWrite(demodGain.toStdString()),
            wrRegFrame("0B", false, "241204880F1F3F3F01000505005500")};
}

}  // namespace

ProtocolSetup protocolSetupFor(BoardSetup setup, const QString& demodGain) {
    switch (setup) {
        case BoardSetup::None:
            return {};
        case BoardSetup::Iso15693:
            return {selectRequest(transceiver::kProtocolIso15693, "0D"), {}};
        case BoardSetup::Iso15693Fast:
            return {selectRequest(transceiver::kProtocolIso15693, "1D"), {}};
        case BoardSetup::Iso14443A:
            return {selectRequest(transceiver::kProtocolIso14443A, "000180"),
                    iso14443aWrites(demodGain)};
        case BoardSetup::Topaz:
            return {selectRequest(transceiver::kProtocolIso14443A, "000300"),
                    iso14443aWrites(demodGain)};
        case BoardSetup::Iso14443B:
            return {selectRequest(transceiver::kProtocolIso14443B, "010180"), {analogWrite("30")}};
        case BoardSetup::Felica:
            return {selectRequest(transceiver::kProtocolFelica, "51"),
                    {analogWrite("50"), wrRegFrame("0A", true, "02A1")}};
        // The script's ISO14443-A select is the whole four-byte select of the other
        // windows: a seven-digit text is not a whole number of bytes.
        case BoardSetup::ScriptIso14443A:
            return {selectRequest(transceiver::kProtocolIso14443A, "000180"), {}};
        case BoardSetup::ScriptIso14443B:
            return {selectRequest(transceiver::kProtocolIso14443B, "01"), {}};
    }
    return {};
}

}  // namespace core

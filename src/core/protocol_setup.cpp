#include "core/protocol_setup.hpp"

namespace core {

namespace {

std::vector<std::string> iso14443aWrites(const QString& demodGain) {
    return {"09043A005804", "0904680101" + demodGain.toStdString(),
            "09110B00241204880F1F3F3F01000505005500"};
}

}  // namespace

ProtocolSetup protocolSetupFor(BoardSetup setup, const QString& demodGain) {
    switch (setup) {
        case BoardSetup::None:
            return {};
        case BoardSetup::Iso15693:
            return {"010D", {}};
        case BoardSetup::Iso15693Fast:
            return {"011D", {}};
        case BoardSetup::Iso14443A:
            return {"02000180", iso14443aWrites(demodGain)};
        case BoardSetup::Topaz:
            return {"02000300", iso14443aWrites(demodGain)};
        case BoardSetup::Iso14443B:
            return {"03010180", {"090468010130"}};
        case BoardSetup::Felica:
            return {"0451", {"090468010150", "09040A0102A1"}};
        // The script's ISO14443-A select is the whole four-byte select of the other
        // windows: a seven-digit text is not a whole number of bytes.
        case BoardSetup::ScriptIso14443A:
            return {"02000180", {}};
        case BoardSetup::ScriptIso14443B:
            return {"0301", {}};
    }
    return {};
}

}  // namespace core

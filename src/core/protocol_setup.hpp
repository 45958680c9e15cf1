#pragma once

#include <QString>
#include <string>
#include <vector>

namespace core {

// What the transceiver is set up for after a reconnect, or at a window's load.
enum class BoardSetup {
    None,          // the plain reconnects: the board tools, the console, the script keywords
    Iso15693,      // select "010D"
    Iso15693Fast,  // the fast commands' select "011D"
    Iso14443A,
    Topaz,
    Iso14443B,
    Felica,           // ISO18092
    ScriptIso14443A,  // the script window: the select only, no register writes
    ScriptIso14443B,
};

// A protocol's transceiver configuration: the select through the library's select call,
// then the register writes (frames without the leading "01") through the raw command.
struct ProtocolSetup {
    std::string select;  // empty: nothing is sent
    std::vector<std::string> registerWrites;
};

// `demodGain` (two hex digits) is read each time, so the gain chosen in the board tools
// is used by the next ISO14443-A or TOPAZ set-up of any window.
ProtocolSetup protocolSetupFor(BoardSetup setup, const QString& demodGain);

// The reconnect of the ISO15693 windows: the fast commands reconnect with the fast select.
inline BoardSetup iso15693Setup(bool boolSpeed) {
    return boolSpeed ? BoardSetup::Iso15693Fast : BoardSetup::Iso15693;
}

}  // namespace core

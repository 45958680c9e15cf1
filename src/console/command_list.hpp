#pragma once

#include <array>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace console {

inline constexpr char kCommandListHeader[] = " TQ73RN Command List ";

// The command list, header first; each command entry carries its code as characters 2
// and 3.
const std::array<const char*, 9>& commandListEntries();
std::string commandCodeOf(std::string_view entry);

enum class Panel { None, Generic, ProtocolSelect, Idle };
Panel panelFor(std::string_view code);

enum class DataBoxMode { Hidden, SendRecv, WrReg };

// What the generic panel shows for one of its commands.
struct GenericLayout {
    const char* title;
    std::vector<const char*> boxCaptions;  // byte boxes shown, from box 0
    int writableBox;                       // -1: none
    DataBoxMode data;
    bool readRegisterPresets;
    bool writeRegisterPresets;
    bool baudRateTable;
};
// nullptr for a code the generic panel does not compose.
const GenericLayout* genericLayout(std::string_view code);

// SendRecv keeps byte box 2 hidden but shows its label, with this caption, beside the
// data box that takes its place.
inline constexpr char kSendRecvDataCaption[] = "<Data> : data to be sent";
// The data box as that caption names it.
inline constexpr char kSendRecvDataName[] = "<Data>";

// The boxes last entered for one generic command.
struct SavedFrame {
    std::vector<std::string> boxes;  // boxes 0 .. n-1
    std::string data;
    bool hasData = false;
};
using SavedCommandFrames = std::map<std::string, SavedFrame, std::less<>>;
SavedCommandFrames defaultSavedFrames();
// How many byte boxes, and whether the data box, the command keeps; 0 for a code
// that keeps nothing.
int savedBoxCount(std::string_view code);
bool savesData(std::string_view code);

// The generic panel's boxes that box 0's command sends, in order: byte box indices, and
// kDataBox for the data box. WrReg sends the data box for every preset but the first.
inline constexpr int kDataBox = -1;
std::vector<int> genericSentBoxes(std::string_view code, int writeRegisterOption);

// "01 " followed by the boxes that box 0's command sends: the request as shown in the
// log.
std::string genericRequest(const std::array<std::string, 5>& boxes, std::string_view data,
                           int writeRegisterOption);
std::string idleRequest(const std::array<std::string, 16>& boxes);

}  // namespace console

#include "console/command_list.hpp"

namespace console {

const std::array<const char*, 9>& commandListEntries() {
    static const std::array<const char*, 9> entries = {
        kCommandListHeader, " 01 : IDN ",      " 02 : Protocol Select ",
        " 04 : SendRecv ",  " 07 : Idle ",     " 08 : RdReg ",
        " 09 : WrReg ",     " 0A : BaudRate ", " 55 : Echo-code "};
    return entries;
}

std::string commandCodeOf(std::string_view entry) {
    return entry.size() > 1 ? std::string(entry.substr(1, 2)) : std::string();
}

Panel panelFor(std::string_view code) {
    if (code == "02") return Panel::ProtocolSelect;
    if (code == "07") return Panel::Idle;
    return genericLayout(code) ? Panel::Generic : Panel::None;
}

const GenericLayout* genericLayout(std::string_view code) {
    static const std::map<std::string, GenericLayout, std::less<>> layouts = {
        {"01",
         {"command code 01 : IDN",
          {"command code", "lenght of data"},
          -1,
          DataBoxMode::Hidden,
          false,
          false,
          false}},
        {"04",
         {"command code 04 : SendRecv",
          {"command code", "lenght of data"},
          -1,
          DataBoxMode::SendRecv,
          false,
          false,
          false}},
        {"08",
         {"command code 08 : RdReg",
          {"command code", "lenght of data", "Register Address", "Register size", "KV Reserved"},
          -1,
          DataBoxMode::Hidden,
          true,
          false,
          false}},
        {"09",
         {"command code 09 : WrReg",
          {"command code", "lenght of data", "Analog Register Configuration address index",
           "Flag increment address after write command", "Index"},
          -1,
          DataBoxMode::WrReg,
          false,
          true,
          false}},
        {"0A",
         {"command code 0A : Set UART baud rate",
          {"command code", "lenght of data", "<BaudRate>"},
          2,
          DataBoxMode::Hidden,
          false,
          false,
          true}},
        {"55",
         {"command code 55 : Echo-code",
          {"command code"},
          -1,
          DataBoxMode::Hidden,
          false,
          false,
          false}},
    };
    auto it = layouts.find(code);
    return it == layouts.end() ? nullptr : &it->second;
}

SavedCommandFrames defaultSavedFrames() {
    return {
        {"01", {{"01", "00"}, "", false}},
        {"04", {{"04", "00"}, "", true}},
        {"08", {{"08", "03", "62", "01", "00"}, "", false}},
        {"09", {{"09", "03", "68", "00", "01"}, "00", true}},
        {"0A", {{"0A", "01", "00"}, "", false}},
        {"55", {{"55"}, "", false}},
    };
}

int savedBoxCount(std::string_view code) {
    const GenericLayout* layout = genericLayout(code);
    return layout ? static_cast<int>(layout->boxCaptions.size()) : 0;
}

bool savesData(std::string_view code) { return code == "04" || code == "09"; }

std::vector<int> genericSentBoxes(std::string_view code, int writeRegisterOption) {
    std::vector<int> sent;
    const int count = savedBoxCount(code);
    for (int b = 0; b < (count == 0 ? 1 : count); ++b) sent.push_back(b);
    if (code == "04" || (code == "09" && writeRegisterOption >= 1 && writeRegisterOption <= 3)) {
        sent.push_back(kDataBox);
    }
    return sent;
}

std::string genericRequest(const std::array<std::string, 5>& boxes, std::string_view data,
                           int writeRegisterOption) {
    std::string request = "01 ";
    for (int b : genericSentBoxes(boxes[0], writeRegisterOption))
        request += b == kDataBox ? std::string(data) : boxes[static_cast<std::size_t>(b)];
    return request;
}

std::string idleRequest(const std::array<std::string, 16>& boxes) {
    std::string request = "01 ";
    for (const auto& b : boxes) request += b;
    return request;
}

}  // namespace console

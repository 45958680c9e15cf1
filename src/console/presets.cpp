#include "console/presets.hpp"

#include <cstdio>

namespace console {

const std::array<IdlePreset, 6>& idlePresets() {
    static const std::array<IdlePreset, 6> presets = {{
        {"from Ready state to Hibernate state (wake up event : IRQ In)",
         {"07", "0E", "08", "04", "00", "04", "00", "18", "00", "00", "00", "00", "00", "00", "00",
          "00"}},
        {"from Ready state to Sleep state (wake up event : IRQ in pin)",
         {"07", "0E", "08", "01", "00", "38", "00", "18", "00", "00", "60", "00", "00", "00", "00",
          "00"}},
        {"from Ready state to Sleep state (wake up event : NSS pin)",
         {"07", "0E", "10", "01", "00", "38", "00", "18", "00", "00", "60", "00", "00", "00", "00",
          "00"}},
        {"from Ready state to Sleep state, back to Ready state after time out (7 sec)",
         {"07", "0E", "01", "21", "00", "38", "00", "18", "00", "60", "60", "00", "00", "00", "00",
          "08"}},
        {"wake up by Tag Detector or IRQ in pin",
         {"07", "0E", "0A", "21", "00", "79", "01", "18", "00", "20", "60", "60", "64", "74", "3F",
          "08"}},
        {"basic IDLE command used during the Tag Detection Calibration process",
         {"07", "0E", "03", "A1", "00", "F8", "01", "18", "00", "20", "60", "60", "00", "00", "3F",
          "01"}},
    }};
    return presets;
}

const std::array<const char*, 16>& idleByteLabels() {
    static const std::array<const char*, 16> labels = {
        "command code", "lenght of data", "<WFUFlags>",  "EnterCrlL",  "EnterCrlH",  "WUCtrlL",
        "WUCtrlH",      "LeaveCtrlL",     "LeaveCtrlH",  "<WUPeriod>", "<OscStart>", "<DacStart>",
        "<DacDataL>",   "<DacDataH>",     "<SwingsCnt>", "<MaxSleep>"};
    return labels;
}

const std::array<ReadRegisterPreset, 2>& readRegisterPresets() {
    static const std::array<ReadRegisterPreset, 2> presets = {{
        {"0x62 : Wake-up event register", "62", "Register address for Wake-Up event register"},
        {"0x69 : ARC_B register", "69", "Register address for ARC_B register"},
    }};
    return presets;
}

const std::array<WriteRegisterPreset, 4>& writeRegisterPresets() {
    static const std::array<WriteRegisterPreset, 4> presets = {{
        {"Set analog register index to 0x01 (ARC_B)",
         {"03", "68", "00", "01"},
         WriteDataBox::Unchanged,
         ""},
        {"Update ARC_B value (with value = XY)",
         {"04", "68", "01", "01"},
         WriteDataBox::SavedValue,
         ""},
        {"Set HFO to RF", {"04", "68", "01", "07"}, WriteDataBox::Fixed, "00"},
        {"Reset HFO to RF", {"04", "68", "01", "07"}, WriteDataBox::Fixed, "10"},
    }};
    return presets;
}

std::string evenDataText(const std::string& text) { return text.size() % 2 ? text + "0" : text; }

std::string sendRecvLength(const std::string& data) {
    char out[12];
    std::snprintf(out, sizeof out, "%02X", static_cast<unsigned>(data.size() / 2));
    return out;
}

}  // namespace console

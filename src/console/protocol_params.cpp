#include "console/protocol_params.hpp"

#include <algorithm>

#include "transceiver/frames.hpp"

namespace console {

namespace {

std::vector<std::string> slotCounterItems() {
    std::vector<std::string> items;
    items.reserve(16);
    const char* digits = "0123456789ABCDEF";
    for (int n = 0; n < 16; ++n) {
        items.push_back(std::string(" ") + digits[n] + " : " + std::to_string(n + 1) +
                        (n == 0 ? " slot " : " slots "));
    }
    return items;
}

// A digit that is not hex counts as 0.
int digitValue(char c) {
    return std::max(0, transceiver::hexDigitValue(static_cast<unsigned char>(c)));
}

}  // namespace

const std::vector<ParamList>& paramLists() {
    static const std::vector<ParamList> lists = [] {
        const std::vector<std::string> rate14443A = {" 00 : 106k ", " 01 : 212k ", " 10 : RFU ",
                                                     " 11 : RFU "};
        const std::vector<std::string> rate14443B = {" 00 : 106k ", " 01 : RFU ", " 10 : RFU ",
                                                     " 11 : RFU "};
        const std::vector<std::string> rate18092 = {" 00 : RFU ", " 01 : 212k ", " 10 : 424k ",
                                                    " 11 : RFU "};
        const std::vector<std::string> rateCard = {" 00 : 106k ", " 01 : 212k ", " 10 : 424k ",
                                                   " 11 : 847k "};
        const std::vector<std::string> field = {" 0 : return an error if no field ",
                                                " 1 : wait for field "};
        // ClkRec carries the digit 1: with a 0 it could never select the recovered clock.
        const std::vector<std::string> clock = {" 0 : HFO ", " 1 : ClkRec "};
        return std::vector<ParamList>{
            {"cboAppendCRC", 0, 0, 1, {" 0 : No Append CRC ", " 1 : Append CRC "}, 0},
            {"cboISO15693reader_DataRate",
             0,
             4,
             2,
             {" 00 : 26k ", " 01 : 52k ", " 10 : 6k ", " 11 : RFU "},
             0},
            {"cboISO15693reader_Delay",
             0,
             3,
             1,
             {" 0 : respect delay 312us ", " 1 : wait for sof "},
             1},
            {"cboISO15693reader_Modulation",
             0,
             2,
             1,
             {" 0 : 100% modulation ", " 1 : 10% modulation "},
             1},
            {"cboISO15693reader_Subcarrier",
             0,
             1,
             1,
             {" 0 : Single Subcarrier ", " 1 : Dual Subcarrier "},
             0},
            {"cboISO14443Areader_TransDataRate", 0, 6, 2, rate14443A, 0},
            {"cboISO14443Areader_RecepDataRate", 0, 4, 2, rate14443A, 0},
            {"cboISO14443Breader_TransDataRate", 0, 6, 2, rate14443B, 0},
            {"cboISO14443Breader_RecepDataRate", 0, 4, 2, rate14443B, 0},
            {"cboISO18092reader_TransDataRate", 0, 6, 2, rate18092, 1},
            {"cboISO18092reader_RecepDataRate", 0, 4, 2, rate18092, 1},
            {"cboISO18092reader_Disregard_SlotCounter",
             1,
             4,
             1,
             {" 0 : respect slot counter ", " 1 : search for the reply "},
             1},
            {"cboISO18092reader_SlotCounter", 1, 0, 4, slotCounterItems(), 0},
            {"cboISO14443Bcard_TransDataRate", 0, 6, 2, rateCard, 0},
            {"cboISO14443Bcard_RecepDataRate", 0, 4, 2, rateCard, 0},
            {"cboISO14443Bcard_Field", 0, 3, 1, field, 0},
            {"cboISO14443Bcard_Clk", 0, 1, 1, clock, 0},
            {"cboISO18092card_Field", 0, 3, 1, field, 0},
            {"cboISO18092card_Clk", 0, 1, 1, clock, 0},
        };
    }();
    return lists;
}

const ParamList* findParamList(std::string_view name) {
    for (const auto& l : paramLists()) {
        if (name == l.name) return &l;
    }
    return nullptr;
}

std::array<std::string, 8> bitsForItem(const ParamList& list, std::string_view item) {
    std::array<std::string, 8> bits;
    int v = 0;
    if (list.width == 2) {
        // Two digits written as bits, higher bit first ("10" is bit high set).
        v = digitValue(item.size() > 1 ? item[1] : '0') * 2 +
            digitValue(item.size() > 2 ? item[2] : '0');
        v &= 3;
    } else {
        v = digitValue(item.size() > 1 ? item[1] : '0');
    }
    for (int i = 0; i < list.width && list.lowBit + i < 8; ++i) {
        const int bit = list.lowBit + i;
        bits[static_cast<std::size_t>(bit)].assign(1, ((v >> i) & 1) ? '1' : '0');
    }
    return bits;
}

const std::array<ProtocolOption, kProtocolOptionCount>& protocolOptions() {
    static const std::array<ProtocolOption, kProtocolOptionCount> options = {{
        {"00 : Field OFF",
         kNoProtocolShown,
         "00",
         "Field Off byte 0 configuration",
         {"0", "0", "0", "0", "0", "0", "0", "0"},
         {},
         {{7, 0}},
         ExtraBytes::None,
         ""},
        {"01 : ISO15693",
         1,
         "01",
         "ISO15693 reader byte 0 configuration",
         {"1", "0", "1", "1", "0", "0", "0", "0"},
         {"cboISO15693reader_DataRate", "cboISO15693reader_Delay", "cboISO15693reader_Modulation",
          "cboISO15693reader_Subcarrier", "cboAppendCRC"},
         {{7, 6}},
         ExtraBytes::None,
         ""},
        {"02 : ISO14443-A",
         2,
         "02",
         "ISO14443-A reader byte 0 configuration",
         {"0", "0", "0", "0", "0", "0", "0", "0"},
         {"cboISO14443Areader_TransDataRate", "cboISO14443Areader_RecepDataRate"},
         {{3, 3}, {2, 0}},
         ExtraBytes::Optional12,
         "ISO14443-A reader byte 1 && 2 configuration"},
        {"03 : ISO14443-B",
         3,
         "03",
         "ISO14443-B reader byte 0 configuration",
         {"1", "0", "0", "0", "0", "0", "0", "0"},
         {"cboISO14443Breader_TransDataRate", "cboISO14443Breader_RecepDataRate", "cboAppendCRC"},
         {{3, 1}},
         ExtraBytes::Optional12,
         "ISO14443-B reader byte 1 && 2 configuration"},
        {"04 : Felica",
         4,
         "04",
         "Felica reader byte 0 configuration",
         {"1", "0", "0", "0", "1", "0", "1", "0"},
         {"cboISO18092reader_TransDataRate", "cboISO18092reader_RecepDataRate", "cboAppendCRC"},
         {{3, 1}},
         ExtraBytes::FelicaByte1,
         "Felica reader byte 1 configuration"},
        {"12 : ISO14443A",
         5,
         "05",
         "ISO14443-A card byte 0 configuration",
         {"0", "0", "0", "0", "0", "0", "0", "0"},
         {"cboISO14443Bcard_TransDataRate", "cboISO14443Bcard_RecepDataRate",
          "cboISO14443Bcard_Field", "cboISO14443Bcard_Clk"},
         {{2, 2}, {0, 0}},
         ExtraBytes::None,
         ""},
        {"13 : ISO14443B",
         6,
         "05",
         "ISO14443-B card byte 0 configuration",
         {"1", "0", "0", "0", "0", "0", "0", "0"},
         {"cboISO14443Bcard_TransDataRate", "cboISO14443Bcard_RecepDataRate",
          "cboISO14443Bcard_Field", "cboISO14443Bcard_Clk", "cboAppendCRC"},
         {{2, 2}},
         ExtraBytes::None,
         ""},
        {"14 : ISO18092",
         7,
         "05",
         "Felica card byte 0 configuration",
         {"1", "0", "0", "0", "0", "0", "0", "0"},
         {"cboISO18092card_Field", "cboISO18092card_Clk", "cboAppendCRC"},
         {{7, 4}, {2, 2}},
         ExtraBytes::None,
         ""},
    }};
    return options;
}

int byteFromBits(const std::array<std::string, 8>& bits) {
    int v = 0;
    for (int i = 7; i >= 0; --i) {
        const std::string& t = bits[static_cast<std::size_t>(i)];
        const int bit = (!t.empty() && t[0] >= '0' && t[0] <= '9') ? (t[0] - '0') & 1 : 0;
        v = v * 2 + bit;
    }
    return v;
}

std::string normaliseByteText(std::string_view text) {
    if (text.empty()) return {};
    return transceiver::hexByte(static_cast<std::uint8_t>(transceiver::hexValue(text) & 0xFF));
}

std::string normaliseBitText(std::string_view text) {
    if (text.empty()) return "0";
    return (transceiver::hexValue(text) & 1) ? "1" : "0";
}

}  // namespace console

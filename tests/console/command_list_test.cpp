#include "console/command_list.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/presets.hpp"

TEST(CommandList, EntriesCarryTheirCodeAndPanel) {
    using console::Panel;
    struct Case {
        const char* entry;
        const char* code;
        Panel panel;
    };
    const Case cases[] = {
        {" TQ73RN Command List ", "TQ", Panel::None},
        {" 01 : IDN ", "01", Panel::Generic},
        {" 02 : Protocol Select ", "02", Panel::ProtocolSelect},
        {" 04 : SendRecv ", "04", Panel::Generic},
        {" 07 : Idle ", "07", Panel::Idle},
        {" 08 : RdReg ", "08", Panel::Generic},
        {" 09 : WrReg ", "09", Panel::Generic},
        {" 0A : BaudRate ", "0A", Panel::Generic},
        {" 55 : Echo-code ", "55", Panel::Generic},
    };
    ASSERT_EQ(console::commandListEntries().size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_STREQ(console::commandListEntries()[i], cases[i].entry);
        EXPECT_EQ(console::commandCodeOf(cases[i].entry), cases[i].code);
        EXPECT_EQ(console::panelFor(cases[i].code), cases[i].panel) << cases[i].entry;
    }
}

TEST(CommandList, GenericRequestSendsTheBoxesOfItsCommand) {
    struct Case {
        std::array<std::string, 5> boxes;
        const char* data;
        int writeOption;
        const char* request;
    };
    const std::vector<Case> cases = {
        // Boxes a command does not use are never sent, whatever they hold.
        {{"01", "00", "62", "01", "00"}, "AB", 0, "01 0100"},
        {{"04", "02", "62", "01", "00"}, "ABCD", 0, "01 0402ABCD"},
        {{"04", "00", "", "", ""}, "", 0, "01 0400"},
        {{"08", "03", "62", "01", "00"}, "AB", 1, "01 0803620100"},
        {{"09", "03", "68", "00", "01"}, "00", 0, "01 0903680001"},
        {{"09", "04", "68", "01", "01"}, "D1", 1, "01 0904680101D1"},
        {{"09", "04", "68", "01", "07"}, "10", 3, "01 090468010710"},
        {{"0A", "01", "05", "01", "00"}, "", 0, "01 0A0105"},
        {{"55", "01", "62", "01", "00"}, "", 0, "01 55"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(console::genericRequest(c.boxes, c.data, c.writeOption), c.request);
    }
}

TEST(CommandList, DataBoxLeaveRule) {
    EXPECT_EQ(console::evenDataText("ABC"), "ABC0");
    EXPECT_EQ(console::evenDataText("d"), "d0");
    EXPECT_EQ(console::evenDataText(""), "");
    EXPECT_EQ(console::sendRecvLength("ABC0"), "02");
    EXPECT_EQ(console::sendRecvLength(""), "00");
    EXPECT_EQ(console::sendRecvLength(std::string(510, 'F')), "FF");
}

#include "simboard/default_antenna.hpp"

#include <gtest/gtest.h>

#include "reader/answer_buffer.hpp"
#include "simboard/simulated_board.hpp"

namespace simboard {
namespace {

using reader::AnswerBuffer;

// Every window meets exactly one tag on the default board: each first request of a
// window finds a tag and no collision.
TEST(DefaultAntenna, EachProtocolsFirstRequestFindsOneTag) {
    const struct {
        const char* select;
        const char* request;
        int statusBytes;  // the transceiver's bytes after the tag frame
    } cases[] = {
        {"010D", "260100", 1},      // ISO15693 inventory, one slot
        {"02000180", "2607", 3},    // ISO14443-A REQA
        {"02000300", "2607", 3},    // the same under TOPAZ timing: the TOPAZ tag alone
        {"03010180", "0500F0", 1},  // REQB
        {"03010180", "0600", 1},    // SOLA INITIATE
        {"0451", "00FFFF0000", 1},  // FeliCa REQC
    };
    SimulatedBoard board;
    EXPECT_EQ(board.antenna().size(), defaultTagSpecs().size());
    for (const auto& c : cases) {
        AnswerBuffer a;
        board.select(c.select, a);
        ASSERT_EQ(a.text(), "0000") << c.select;
        board.sendReceive(c.request, a);
        const std::string text = a.text();
        ASSERT_EQ(text.substr(0, 2), "80") << c.select << ' ' << c.request << ": " << text;
        const std::string status = text.substr(text.size() - 2 * c.statusBytes, 2);
        if (c.statusBytes == 1) {
            EXPECT_EQ(status, "00") << c.select << ' ' << c.request << ": " << text;
        } else {
            EXPECT_EQ(std::stoi(status, nullptr, 16) & 0x80, 0)
                << c.select << ' ' << c.request << ": " << text;
        }
        board.select("0000", a);  // field off between windows
    }
}

}  // namespace
}  // namespace simboard

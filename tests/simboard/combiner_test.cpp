#include "simboard/combiner.hpp"

#include <gtest/gtest.h>

#include "dummy_tag.hpp"
#include "simboard/felica_card.hpp"
#include "simboard/hex.hpp"
#include "simboard/iso14443a_combiner.hpp"
#include "simboard/iso14443b_frames.hpp"
#include "simboard/iso15693_combiner.hpp"

namespace simboard {
namespace {

using testing::addDummy;

std::string combine(const std::vector<TagAnswer>& answers, const AnswerFault& fault = {}) {
    const ProtocolConfig config{Protocol::Iso14443B, {0x01}};
    return combineGeneric(CombineInput{answers, config, fault});
}

TEST(GenericCombiner, AnswersByNumberOfTagsHeard) {
    const struct {
        const char* name;
        std::vector<TagAnswer> answers;
        std::string expected;
    } cases[] = {
        {"no tag", {}, "8700"},
        {"one tag", {{{0x50, 0xA1, 0xB2}}}, "800450A1B200"},
        {"empty frame", {{{}}}, "800100"},
        {"short frame", {{{0x0A}, 4}}, "90040A"},
        {"two equal frames sound as one", {{{0x50, 0x01}}, {{0x50, 0x01}}}, "8003500100"},
        {"two different frames overlay and collide",
         {{{0x50, 0x01}}, {{0x0A, 0x10, 0x02}}},
         "80045A110201"},
        {"overflow", {{Bytes(125, 0x11)}}, "8900"},
    };
    for (const auto& c : cases) EXPECT_EQ(combine(c.answers), c.expected) << c.name;
}

TEST(GenericCombiner, FaultsReplaceTheStatusByteAndDamageTheCrc) {
    Bytes frame = {0x50, 0x01};
    appendCrc16Iso13239(frame);
    const std::string good = toHex(frame);
    EXPECT_EQ(combine({{frame}}), "8005" + good + "00");
    EXPECT_EQ(combine({{frame}}, {0x03, false}), "8005" + good + "03");

    const std::string damaged = combine({{frame}}, {0x01, true});
    ASSERT_EQ(damaged.size(), good.size() + 6);
    EXPECT_EQ(damaged.substr(4, 4), "5001");  // the tag's own bytes survive
    EXPECT_NE(damaged.substr(8, 4), good.substr(4, 4));
    EXPECT_EQ(damaged.substr(12), "01");
    // The damaged CRC no longer verifies.
    const Bytes back = *parseHex(damaged.substr(4, 8));
    EXPECT_NE(crc16Iso13239(Bytes(back.begin(), back.begin() + 2)), back[2] | (back[3] << 8));
}

TEST(Antenna, TwoTagsOfOneProtocolCollideAndOthersStaySilent) {
    // Card emulation has no combiner of its own, so the generic one answers.
    Antenna antenna;
    auto* first = addDummy(antenna, Protocol::CardEmulation, {0x0F});
    auto* second = addDummy(antenna, Protocol::CardEmulation, {0xF0});
    auto* other = addDummy(antenna, Protocol::FeliCa, {0x01});
    TagRequest request;
    request.config = {Protocol::CardEmulation, {0x01}};
    request.frame = {0x05, 0x00, 0xF0};

    EXPECT_EQ(antenna.exchange(request), "8002FF01");
    EXPECT_EQ(first->received.size(), 1u);
    EXPECT_EQ(second->received.size(), 1u);
    EXPECT_TRUE(other->received.empty());

    second->silent = true;
    EXPECT_EQ(antenna.exchange(request), "80020F00");
    first->silent = true;
    EXPECT_EQ(antenna.exchange(request), "8700");

    antenna.fieldOff();
    EXPECT_EQ(first->fieldOffs + second->fieldOffs + other->fieldOffs, 3);
}

// The antenna reports what several tags of a protocol answered the way that protocol's
// transceiver does (a CRC verdict, a collision position), not the generic way: two tags
// that answer apart go through their protocol's own combiner.
TEST(Antenna, TwoTagsOfAProtocolAreCombinedAsTheirProtocolDoes) {
    const struct {
        Protocol protocol;
        Combiner own;
    } protocols[] = {
        {Protocol::FeliCa, combineFelica},
        {Protocol::Iso14443B, combineIso14443b},
        {Protocol::Iso14443A, combineIso14443a},
        {Protocol::Iso15693, combineIso15693},
    };
    for (const auto& p : protocols) {
        SCOPED_TRACE(static_cast<int>(p.protocol));
        Antenna antenna;
        addDummy(antenna, p.protocol, {0x12, 0x34, 0x56, 0x78});
        addDummy(antenna, p.protocol, {0x12, 0x35, 0x56, 0x79});
        TagRequest request;
        request.config = {p.protocol, {0x01}};
        request.frame = {0x26};
        const std::vector<TagAnswer> heard = {TagAnswer{{0x12, 0x34, 0x56, 0x78}},
                                              TagAnswer{{0x12, 0x35, 0x56, 0x79}}};
        const CombineInput input{heard, request.config, AnswerFault{}};
        // The protocol's own report tells apart from the generic one for these answers.
        ASSERT_NE(p.own(input), combineGeneric(input));
        EXPECT_EQ(antenna.exchange(request), p.own(input));
    }
}

// A tag that hears only one timing configuration, as the TOPAZ tag does.
class TimingTag : public testing::DummyTag {
  public:
    TimingTag() : DummyTag(Protocol::Iso14443A, {0x0C, 0x00}) {}
    bool hears(const ProtocolConfig& c) const override {
        return c.protocol == Protocol::Iso14443A && c.params == Bytes{0x00, 0x03, 0x00};
    }
};

TEST(Antenna, ATagMayListenToSomeParametersOnly) {
    Antenna antenna;
    auto tag = std::make_unique<TimingTag>();
    TimingTag* raw = tag.get();
    antenna.add(std::move(tag));
    TagRequest request;
    request.frame = {0x26};
    request.config = {Protocol::Iso14443A, {0x00, 0x01, 0x80}};
    antenna.broadcast(request);
    EXPECT_TRUE(raw->received.empty());
    request.config = {Protocol::Iso14443A, {0x00, 0x03, 0x00}};
    EXPECT_EQ(antenna.broadcast(request).size(), 1u);
}

}  // namespace
}  // namespace simboard

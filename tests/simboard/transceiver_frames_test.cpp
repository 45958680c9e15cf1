#include <gtest/gtest.h>

#include "dummy_tag.hpp"
#include "reader/answer_buffer.hpp"
#include "simboard/hex.hpp"
#include "simboard/simulated_board.hpp"

namespace simboard {
namespace {

using reader::AnswerBuffer;
using testing::addDummy;

BoardConfig emptyAntenna() {
    BoardConfig c;
    c.tags.emplace();
    return c;
}

std::string kv(SimulatedBoard& board, std::string_view request) {
    AnswerBuffer a;
    EXPECT_EQ(board.kvCmd(request, a), reader::kStatusOk) << request;
    return a.text();
}

struct FrameCase {
    const char* request;
    const char* answer;
};

TEST(TransceiverFrames, EveryCommandOfTheConsoleIsAnswered) {
    const FrameCase cases[] = {
        {"010100", "000F54513733524E2D53494D2D324110EF"},  // IDN: 13 characters + CRC
        {"010202010D", "0000"},                            // Protocol Select ISO15693
        {"01020402000180", "0000"},                        // ISO14443-A with timing bytes
        {"0102020301", "0000"},                            // ISO14443-B short form
        {"010203045110", "0000"},                          // FeliCa with slot byte
        {"0102020000", "0000"},                            // field off
        {"010403260100", "8700"},                          // SendRecv, no protocol: no tag
        {"01070E0804000400180000000000000000", "000108"},  // Idle presets 0..5
        {"01070E0801003800180000600000000000", "000108"},
        {"01070E1001003800180000600000000000", "000110"},
        {"01070E0121003800180060600000000008", "000101"},
        {"01070E0A21007901180020606064743F08", "000102"},  // A2 above the 64..74 window
        {"01070E03A100F801180020606000003F01", "000102"},
        {"010803620100", "000102"},    // wake-up register holds the last reason
        {"0109043A005804", "0000"},    // WrReg
        {"0108033A0200", "00020400"},  // flag 00: both bytes went into 3A
        {"010A01FF", "5500"},          // BaudRate
        {"0155", "5500"},              // Echo
    };
    SimulatedBoard board(emptyAntenna());
    for (const auto& c : cases) EXPECT_EQ(kv(board, c.request), c.answer) << c.request;
}

TEST(TransceiverFrames, MalformedRequestsGetTheInvalidLengthAnswer) {
    const char* requests[] = {
        "",                                    // nothing
        "01",                                  // prefix only
        "0",                                   // odd
        "010",                                 // odd after the prefix
        "01XY00",                              // not hex
        "0101",                                // code without length
        "010101",                              // IDN with a length but no data
        "01010100",                            // IDN takes no data
        "0102020600",                          // unknown protocol code
        "01020101",                            // select without parameter byte
        "010203010D00",                        // ISO15693 takes one parameter byte only
        "0102030200",                          // length says 3, 1 byte follows
        "0104",                                // SendRecv without length
        "010400",                              // SendRecv of nothing
        "01070D0804000400180000000000000000",  // length disagrees
        "010702",                              // Idle too short
        "01080262 01",                         // blank inside
        "0108026201",                          // RdReg without the reserved byte
        "010803FF0200",                        // read past the last register
        "0108036280 00",                       // blank
        "0108036280",                          // length 3, 2 bytes
        "0109026800",                          // WrReg without data
        "0109036802AA",                        // flag neither 00 nor 01
        "010903FF01AA00",                      // length 3 with 4 bytes
        "010A00",                              // BaudRate without its byte
        "015500",                              // Echo has no length byte
        "01FF00",                              // unknown command code
        "0300",                                // neither transceiver nor firmware
        "02A0",                                // firmware frame without length
        "02EE00",                              // firmware command nobody handles
        "0200110",                             // malformed select text sent through KVCmd
    };
    SimulatedBoard board(emptyAntenna());
    for (const char* r : requests) EXPECT_EQ(kv(board, r), "8200") << '"' << r << '"';
}

TEST(TransceiverFrames, SelectTakesProtocolDataAndRefusesBadTexts) {
    SimulatedBoard board(emptyAntenna());
    const struct {
        const char* request;
        const char* answer;
        Protocol protocol;
        Bytes params;
    } cases[] = {
        {"010D", "0000", Protocol::Iso15693, {0x0D}},
        {"02000300", "0000", Protocol::Iso14443A, {0x00, 0x03, 0x00}},
        {"0200110", "8200", Protocol::Iso14443A, {0x00, 0x03, 0x00}},  // kept on error
        {"", "8200", Protocol::Iso14443A, {0x00, 0x03, 0x00}},
        {"0451", "0000", Protocol::FeliCa, {0x51}},
        {"03010180", "0000", Protocol::Iso14443B, {0x01, 0x01, 0x80}},
        {"030101", "8200", Protocol::Iso14443B, {0x01, 0x01, 0x80}},  // 2 parameter bytes
        {"050D", "0000", Protocol::CardEmulation, {0x0D}},
        {"05010180", "0000", Protocol::CardEmulation, {0x01, 0x01, 0x80}},  // every byte
        {"0501018000", "8200", Protocol::CardEmulation, {0x01, 0x01, 0x80}},
        {"0000", "0000", Protocol::None, {}},
    };
    for (const auto& c : cases) {
        AnswerBuffer a;
        EXPECT_EQ(board.select(c.request, a), reader::kStatusOk);
        EXPECT_EQ(a.text(), c.answer) << c.request;
        EXPECT_EQ(board.transceiver().protocol().protocol, c.protocol) << c.request;
        EXPECT_EQ(board.transceiver().protocol().params, c.params) << c.request;
    }
}

TEST(TransceiverFrames, FieldOffBySelectOrFunctionPowersEveryTagDown) {
    SimulatedBoard board(emptyAntenna());
    auto* a = addDummy(board.antenna(), Protocol::Iso15693, {0x00});
    auto* b = addDummy(board.antenna(), Protocol::Iso14443B, {0x50});
    AnswerBuffer buf;
    board.select("010D", buf);
    EXPECT_EQ(a->fieldOffs, 0);  // a protocol select alone keeps tag states

    board.select("0000", buf);
    EXPECT_EQ(buf.text(), "0000");
    EXPECT_EQ(a->fieldOffs, 1);
    EXPECT_EQ(b->fieldOffs, 1);
    // With the field off nobody hears a request.
    board.sendReceive("260100", buf);
    EXPECT_EQ(buf.text(), "8700");
    EXPECT_TRUE(a->received.empty());

    board.select("03010180", buf);
    EXPECT_EQ(kv(board, "0104020500").substr(0, 2), "80");
    EXPECT_EQ(b->received.size(), 1u);
    EXPECT_EQ(board.fieldOff(buf), reader::kStatusOk);
    EXPECT_EQ(buf.text(), "0000");
    EXPECT_EQ(b->fieldOffs, 2);
    EXPECT_EQ(board.transceiver().protocol().protocol, Protocol::None);
}

TEST(TransceiverFrames, SendRecvReachesTagsOfTheSelectedProtocolOnly) {
    SimulatedBoard board(emptyAntenna());
    Bytes frame15693 = {0x00, 0x11};
    appendCrc16Iso13239(frame15693);
    auto* iso15693 = addDummy(board.antenna(), Protocol::Iso15693, frame15693);
    auto* iso14443a = addDummy(board.antenna(), Protocol::Iso14443A, {0x44, 0x00});
    AnswerBuffer buf;

    board.select("02000180", buf);
    board.sendReceive("2607", buf);
    EXPECT_EQ(buf.text().substr(0, 2), "80");
    ASSERT_EQ(iso14443a->received.size(), 1u);
    // The transmission flag byte is the transceiver's, not part of the tag frame.
    EXPECT_EQ(iso14443a->received[0].frame, Bytes{0x26});
    EXPECT_EQ(iso14443a->received[0].flagByte, 0x07);
    EXPECT_EQ(iso14443a->received[0].config.params, (Bytes{0x00, 0x01, 0x80}));
    EXPECT_TRUE(iso15693->received.empty());

    // The same through the whole frame in KVCmd, and an odd or non-hex tag frame.
    board.select("010D", buf);
    EXPECT_EQ(kv(board, "010403260100"), "8005" + toHex(frame15693) + "00");
    EXPECT_EQ(iso15693->received.back().frame, (Bytes{0x26, 0x01, 0x00}));
    EXPECT_EQ(board.sendReceive("26010", buf), reader::kStatusOk);
    EXPECT_EQ(buf.text(), "8200");
    board.sendReceive("2G", buf);
    EXPECT_EQ(buf.text(), "8200");
}

TEST(TransceiverFrames, AnalogRegistersAreReachedThroughTheIndexRegister) {
    SimulatedBoard board(emptyAntenna());
    // Power-up ARC_B through index 01.
    EXPECT_EQ(kv(board,
                 "0109036800"
                 "01"),
              "0000");
    EXPECT_EQ(kv(board, "010803690100"), "0001D1");
    // Flag 01: 68 <- 01, then 69 <- 30.
    EXPECT_EQ(kv(board,
                 "0109046801"
                 "0130"),
              "0000");
    EXPECT_EQ(kv(board, "010803680100"), "000101");
    EXPECT_EQ(kv(board, "010803690100"), "000130");
    // "Set HFO to RF": index 07, then 69 shows analog 07, not ARC_B.
    EXPECT_EQ(kv(board,
                 "0109046801"
                 "0700"),
              "0000");
    EXPECT_EQ(kv(board,
                 "0109046801"
                 "0710"),
              "0000");
    EXPECT_EQ(kv(board, "010803690100"), "000110");
    EXPECT_EQ(board.transceiver().registers().analog(0x01), 0x30);
    // Flag 00 keeps the address: the last of several bytes stays.
    EXPECT_EQ(kv(board,
                 "01090468"
                 "00"
                 "0201"),
              "0000");
    EXPECT_EQ(kv(board, "010803680100"), "000101");
    // The long "dec tolerance" write fills one register fifteen times.
    EXPECT_EQ(kv(board, "0109110B00241204880F1F3F3F01000505005500"), "0000");
    EXPECT_EQ(kv(board, "0108030B0100"), "000100");
    // Flag 01 over 0A, 0B.
    EXPECT_EQ(kv(board, "0109040A0102A1"), "0000");
    EXPECT_EQ(kv(board, "0108030A0200"), "000202A1");
}

TEST(TransceiverFrames, ReconnectBringsTheTransceiverBackAtPowerUp) {
    SimulatedBoard board(emptyAntenna());
    auto* tag = addDummy(board.antenna(), Protocol::Iso15693, {0x00});
    AnswerBuffer buf;
    board.select("010D", buf);
    kv(board,
       "0109046801"
       "0130");
    ASSERT_EQ(board.usbConnect(), reader::kStatusOk);
    EXPECT_EQ(board.transceiver().protocol().protocol, Protocol::None);
    EXPECT_EQ(board.transceiver().registers().analog(0x01), 0xD1);
    EXPECT_EQ(tag->fieldOffs, 1);
    // Same for ResetSPI.
    board.select("010D", buf);
    EXPECT_EQ(board.resetSpi(buf), reader::kStatusOk);
    EXPECT_EQ(buf.text(), "0000");
    EXPECT_EQ(board.transceiver().protocol().protocol, Protocol::None);
}

TEST(TransceiverFrames, FirmwareFramesWithoutAHandlerAreRefused) {
    SimulatedBoard board(emptyAntenna());
    // Well formed but unknown code, then a length that disagrees.
    EXPECT_EQ(kv(board, "02EE0126"), "8200");
    EXPECT_EQ(kv(board, "02A00226"), "8200");
}

TEST(TransceiverFrames, NoAnswerExceedsTheBuffer) {
    SimulatedBoard board(emptyAntenna());
    AnswerBuffer buf;
    board.select("03010180", buf);
    addDummy(board.antenna(), Protocol::Iso14443B, Bytes(200, 0xAB));
    EXPECT_EQ(board.sendReceive("0500F0", buf), reader::kStatusOk);
    EXPECT_EQ(buf.text(), "8900");
    EXPECT_EQ(kv(board,
                 "010403"
                 "0500F0"),
              "8900");
    // The longest register read that fits ("00", length, 250 digits).
    EXPECT_EQ(kv(board, "010803007D00").size(), 254u);
    EXPECT_EQ(kv(board, "010803007E00"), "8200");
}

}  // namespace
}  // namespace simboard

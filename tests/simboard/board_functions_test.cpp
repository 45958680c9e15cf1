#include <gtest/gtest.h>

#include "reader/answer_buffer.hpp"
#include "reader/recording_reader.hpp"
#include "simboard/hex.hpp"
#include "simboard/simulated_board.hpp"

namespace simboard {
namespace {

using reader::AnswerBuffer;
using reader::LibraryStatus;
using Fn = reader::ReaderFunction;

BoardConfig emptyAntenna() {
    BoardConfig c;
    c.tags.emplace();
    return c;
}

std::pair<LibraryStatus, std::string> call(SimulatedBoard& board, Fn f,
                                           std::string_view request = {},
                                           AnswerBuffer a = AnswerBuffer::blanks()) {
    const LibraryStatus s = board.call(f, request, a);
    return {s, a.hasNul() ? a.text() : std::string("<untouched>")};
}

TEST(BoardFunctions, AnswerAsTheWindowsExpect) {
    const struct {
        Fn f;
        const char* answer;
    } cases[] = {
        {Fn::Echo, "5500"},
        {Fn::Idn, "000F54513733524E2D53494D2D324110EF"},
        {Fn::GetDllRev, "5.1.0"},
        {Fn::GetMcuRev, "0003010401"},
        {Fn::GetInterfacePinState, "000101"},
        {Fn::FieldOff, "0000"},
        {Fn::ResetSpi, "0000"},
        {Fn::SendIrqPulse, "0000"},
        {Fn::SendNssPulse, "0000"},
        {Fn::PollingReading, "0000"},
    };
    SimulatedBoard board(emptyAntenna());
    EXPECT_EQ(board.usbConnect(), 0);
    EXPECT_EQ(board.usbHandleCheck(), 0);
    for (const auto& c : cases) {
        EXPECT_EQ(call(board, c.f), std::make_pair(0, std::string(c.answer)))
            << reader::exportedName(c.f);
    }
}

TEST(BoardFunctions, IdentityAndRevisionsFollowTheConfiguration) {
    BoardConfig c = emptyAntenna();
    c.identification = "TQ73RN-SIM-0X";
    c.libraryRevision = "0.4";
    c.firmwareRevision = {0x01, 0x0A};
    c.interfacePinState = 0x02;
    SimulatedBoard board(c);
    EXPECT_EQ(call(board, Fn::Idn).second, "000F54513733524E2D53494D2D3058E051");
    EXPECT_EQ(call(board, Fn::KvCmd, "010100").second, call(board, Fn::Idn).second);
    EXPECT_EQ(call(board, Fn::GetDllRev).second, "0.4");
    EXPECT_EQ(call(board, Fn::GetMcuRev).second, "0002010A");
    EXPECT_EQ(call(board, Fn::GetInterfacePinState).second, "000102");
}

TEST(BoardFunctions, UnpluggedBoardFailsEveryCallUntilReplugAndConnect) {
    SimulatedBoard board(emptyAntenna());
    AnswerBuffer buf;
    board.select("010D", buf);
    board.unplug();
    EXPECT_NE(board.usbHandleCheck(), 0);
    for (Fn f : {Fn::Echo, Fn::KvCmd, Fn::Select, Fn::SendReceive, Fn::Idn, Fn::GetMcuRev}) {
        EXPECT_EQ(call(board, f, "0155"), std::make_pair(5, std::string("<untouched>")))
            << reader::exportedName(f);
    }
    EXPECT_NE(board.usbConnect(), 0);
    // The library itself still answers its revision.
    EXPECT_EQ(call(board, Fn::GetDllRev), std::make_pair(0, std::string("5.1.0")));

    board.replug();
    EXPECT_NE(board.usbHandleCheck(), 0);  // still closed until connected again
    EXPECT_EQ(call(board, Fn::Echo).first, 5);
    EXPECT_EQ(board.usbConnect(), 0);
    EXPECT_EQ(board.usbHandleCheck(), 0);
    EXPECT_EQ(call(board, Fn::Echo), std::make_pair(0, std::string("5500")));
    // The transceiver came back without a protocol.
    EXPECT_EQ(board.transceiver().protocol().protocol, Protocol::None);
}

TEST(BoardFunctions, CannedAnswersServeTheirCallThenTheBoardAnswersAgain) {
    SimulatedBoard board(emptyAntenna());
    reader::RecordingReader rec(board);
    // Second echo fails with 5 and leaves the buffer; the select once answers short.
    board.faults().onCall(Fn::Echo, 2, {5, std::nullopt});
    board.faults().queue(Fn::Select, {0, "00"});
    // Any function: the next call answers status 1 with an empty text.
    board.faults().queue(std::nullopt, {1, ""});

    AnswerBuffer a = AnswerBuffer::blanks();
    EXPECT_EQ(rec.getMcuRev(a), 1);  // from the any-function queue
    EXPECT_EQ(a.text(), "");
    EXPECT_EQ(rec.echo(a), 0);
    a = AnswerBuffer::blanks();
    EXPECT_EQ(rec.echo(a), 5);
    EXPECT_FALSE(a.hasNul());
    EXPECT_EQ(rec.echo(a), 0);
    EXPECT_EQ(rec.select("010D", a), 0);
    EXPECT_EQ(a.text(), "00");
    EXPECT_EQ(rec.select("010D", a), 0);
    EXPECT_EQ(a.text(), "0000");
    // A canned select did not reach the transceiver; the second one did.
    EXPECT_EQ(board.transceiver().protocol().protocol, Protocol::Iso15693);
    EXPECT_EQ(rec.journal().size(), 6u);

    // The handle check and connect take canned statuses too.
    board.faults().queue(Fn::UsbHandleCheck, {3, std::nullopt});
    EXPECT_EQ(board.usbHandleCheck(), 3);
    EXPECT_EQ(board.usbHandleCheck(), 0);
    board.faults().onCall(std::nullopt, 3, {7, std::nullopt});
    EXPECT_EQ(board.usbHandleCheck(), 0);
    EXPECT_EQ(call(board, Fn::Echo).first, 0);
    EXPECT_EQ(call(board, Fn::Idn).first, 7);
    board.faults().queue(Fn::Echo, {0, "5501"});
    board.faults().clear();
    EXPECT_EQ(call(board, Fn::Echo).second, "5500");
}

TEST(BoardFunctions, AnswerFaultReachesTagAnswersOnly) {
    SimulatedBoard board(emptyAntenna());
    board.setAnswerFault({0x02, false});
    EXPECT_EQ(call(board, Fn::Echo).second, "5500");
    EXPECT_EQ(call(board, Fn::Select, "010D").second, "0000");
    EXPECT_EQ(call(board, Fn::SendReceive, "260100").second, "8700");  // no tag: no frame
}

// The ISO15693 window checks the tag's CRC itself when the status byte is not 00: the
// default tag's inventory answer with a good and with a damaged CRC.
TEST(BoardFunctions, AnswerFaultGivesStatusWithGoodOrBadCrc) {
    const auto crcVerifies = [](const std::string& answer) {
        const Bytes data = *parseHex(answer.substr(4));
        const Bytes frame(data.begin(), data.end() - 3);
        const std::uint16_t sent = data[data.size() - 3] | (data[data.size() - 2] << 8);
        return crc16Iso13239(frame) == sent;
    };
    SimulatedBoard board;
    call(board, Fn::Select, "010D");
    const std::string clean = call(board, Fn::SendReceive, "260100").second;
    ASSERT_EQ(clean.substr(0, 2), "80");
    EXPECT_EQ(clean.substr(clean.size() - 2), "00");
    EXPECT_TRUE(crcVerifies(clean));

    for (bool corrupt : {false, true}) {
        board.setAnswerFault({0x01, corrupt});
        const std::string faulty = call(board, Fn::SendReceive, "260100").second;
        ASSERT_EQ(faulty.size(), clean.size());
        EXPECT_EQ(faulty.substr(0, clean.size() - 6), clean.substr(0, clean.size() - 6));
        EXPECT_EQ(faulty.substr(faulty.size() - 2), "01");
        EXPECT_EQ(crcVerifies(faulty), !corrupt);
    }
}

}  // namespace
}  // namespace simboard

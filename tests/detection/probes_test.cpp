#include "detection/probes.hpp"

#include <gtest/gtest.h>

#include "core/run_guard.hpp"
#include "core/tool_window.hpp"
#include "detection_support.hpp"
#include "test_context.hpp"

namespace {

using detection::kAutoDetectPolicy;
using detection::kTagDetectionPolicy;
using detection::ProbePolicy;
using detection::ResultBox;
using detectiontest::callList;
using detectiontest::entryTitles;
using reader::ReaderFunction;
using Calls = std::vector<std::string>;

const QString kStamp = QStringLiteral("\r\n03-14-2026 09:26:53\t");

// A tag with UID E002030405060708 answering INVENTORY, with its CRC and a status byte.
std::string inventoryAnswer(const std::string& crc, const std::string& status) {
    return "800D000008070605040302E0" + crc + status;
}

class ProbeTest : public ::testing::Test {
  protected:
    ProbeTest() : window(*t.ctx, core::WindowKind::AutoDetect), sink(t.clock) {
        t.scripted.setHealthyDefaults();
        t.values().DemodGainValue = QStringLiteral("D1");
    }

    // Runs `fn` on a fresh Probes object inside a run of the stand-in window.
    template <class Fn>
    auto withProbes(ProbePolicy policy, Fn fn) {
        core::RunScope run(window);
        detection::Probes probes(run, sink, policy);
        return fn(probes);
    }

    testsupport::TestContext t;
    core::ToolWindow window;
    detectiontest::MemorySink sink;
};

TEST_F(ProbeTest, Iso15693WithSetUpShowsTheUidAndTheCrcVerdictInTheLog) {
    const std::string answer = inventoryAnswer("44FE", "01");
    t.scripted.queue(ReaderFunction::SendReceive, 0, answer);
    const int count =
        withProbes(kTagDetectionPolicy, [](auto& p) { return p.ProbeISO15693(true, true); });

    EXPECT_EQ(count, 1);
    EXPECT_EQ(callList(t.scripted), (Calls{"Select 010D", "SendReceive 260100"}));
    EXPECT_EQ(sink.logText(),
              kStamp +
                  "TQ73RN CONFIGURATION : ISO15693 High Datarate One Subcarrier\r\n\t\t\t>>> "
                  "TQ73RNDLL_SELECT, 010D\r\n\t\t\t<<< 0000" +
                  kStamp + "INVENTORY\r\n\t\t\t>>> TQ73RNDLL_SENDRECV, 260100\r\n\t\t\t<<< " +
                  QString::fromStdString(answer) + "  01 -> CRC OK");
    EXPECT_EQ(sink.results[0], "UID = E002030405060708");
    EXPECT_EQ(sink.request, "260100");
    EXPECT_EQ(sink.answer, QString::fromStdString(answer));
    // The tag detection copy empties its box before it sends anything.
    EXPECT_EQ(sink.journal.first(), "result0=");
}

TEST_F(ProbeTest, Iso15693ByHandCountsACrcFailureApartAndEmptiesTheBoxOnlyAtTheEnd) {
    sink.results[0] = QStringLiteral("UID = 0102030405060708");
    const std::string answer = inventoryAnswer("44FF", "02");
    t.scripted.queue(ReaderFunction::SendReceive, 0, answer);
    const int count =
        withProbes(kAutoDetectPolicy, [](auto& p) { return p.ProbeISO15693(true, false); });

    EXPECT_EQ(count, detection::kIso15693CrcFailed);
    EXPECT_EQ(callList(t.scripted), (Calls{"SendReceive 260100"}));
    EXPECT_EQ(entryTitles(sink.logText()), QStringList{"INVENTORY"});
    EXPECT_TRUE(sink.logText().endsWith("  02 -> CRC HS (expected=44FE)"));
    EXPECT_EQ(sink.results[0], "");
    EXPECT_EQ(sink.journal.filter(QStringLiteral("result0=")).size(), 1);
}

TEST_F(ProbeTest, Iso15693CountsAnInventoryAnswerOnly) {
    const struct {
        std::string answer;
        int count;
    } cases[] = {
        {inventoryAnswer("44FE", "00"), 1},
        {"800D010008070605040302E044FE00", 0},  // response flags 01
        {"80050101160700", 0},                  // an error answer
    };
    for (const auto& c : cases) {
        sink.results[0] = QStringLiteral("UID = 0102030405060708");
        t.scripted.queue(ReaderFunction::SendReceive, 0, c.answer);
        EXPECT_EQ(
            withProbes(kAutoDetectPolicy, [](auto& p) { return p.ProbeISO15693(true, false); }),
            c.count)
            << c.answer;
        EXPECT_EQ(sink.results[0], c.count ? "UID = E002030405060708" : "") << c.answer;
    }
}

TEST_F(ProbeTest, WithoutLogTheBoxesStillShowTheExchange) {
    // The CRC verdict belongs to the log too: checked, but not written.
    const struct {
        std::string answer;
        int count;
        QString uid;
    } cases[] = {
        {inventoryAnswer("44FE", "00"), 1, "UID = E002030405060708"},
        {inventoryAnswer("44FE", "01"), 1, "UID = E002030405060708"},
        {inventoryAnswer("44FF", "01"), detection::kIso15693CrcFailed, ""},
    };
    for (const auto& c : cases) {
        t.scripted.queue(ReaderFunction::SendReceive, 0, c.answer);
        const int count =
            withProbes(kTagDetectionPolicy, [](auto& p) { return p.ProbeISO15693(false, false); });
        EXPECT_EQ(count, c.count) << c.answer;
        EXPECT_EQ(sink.logText(), "") << c.answer;
        EXPECT_EQ(sink.request, "260100");
        EXPECT_EQ(sink.answer, QString::fromStdString(c.answer));
        EXPECT_EQ(sink.results[0], c.uid) << c.answer;
    }

    // The tag detection copy's field-off is logged whatever the probe logs.
    withProbes(kTagDetectionPolicy, [](auto& p) { return p.ProbeISO14443A(false, true); });
    EXPECT_EQ(entryTitles(sink.logText()), QStringList{"TQ73RN RF OFF"});
}

TEST_F(ProbeTest, MemoryTagSlotsShowTheirChipIds) {
    // INITIATE, PCALL16 for slot 0, then slots 1 to 15: slots 0, 3 and 12 answer; slot 7
    // answers with a transceiver error, slot 9 with a frame too short to hold a chip ID
    // and slot 5 with an ISO15693 tag's error answer.
    t.scripted.queue(ReaderFunction::SendReceive, 0, "80043C970B00");
    for (int slot = 0; slot <= 15; ++slot) {
        std::string a = "8700";
        if (slot == 0) a = "8004407CB200";
        if (slot == 3) a = "800433AB1200";
        if (slot == 12) a = "80043C970B00";
        if (slot == 7) a = "800437AB1220";
        if (slot == 9) a = "8000";
        if (slot == 5) a = "80050101160700";
        t.scripted.queue(ReaderFunction::SendReceive, 0, a);
    }
    // An earlier call's result that this one does not find again.
    sink.setSlot(5, QStringLiteral("5 : Chip ID = 35"));
    sink.journal.clear();

    const int count = withProbes(kTagDetectionPolicy,
                                 [](auto& p) { return p.ProbeISO14443BInitiate(true, true); });

    EXPECT_EQ(count, 3);
    Calls expected{"Select 03010180", "KvCmd 01090468010130", "SendReceive 0600",
                   "SendReceive 0604"};
    for (const char* m : {"16", "26", "36", "46", "56", "66", "76", "86", "96", "A6", "B6", "C6",
                          "D6", "E6", "F6"}) {
        expected.push_back(std::string("SendReceive ") + m);
    }
    EXPECT_EQ(callList(t.scripted), expected);
    const QStringList titles = entryTitles(sink.logText());
    ASSERT_EQ(titles.size(), 19) << "set-up, INITIATE, PCALL16 and fifteen slot markers";
    EXPECT_EQ(titles.mid(0, 5), (QStringList{"TQ73RN CONFIGURATION : ISO14443-B protocol",
                                             "TQ73RN CONFIGURATION : DEMO GAIN", "INITIATE",
                                             "PCALL16", "SLOT MARKER (1)"}));
    EXPECT_EQ(titles.last(), "SLOT MARKER (15)");
    EXPECT_TRUE(sink.logText().contains(">>> TQ73RNDLL_KVCMD, 01 090468010130"));
    EXPECT_TRUE(
        sink.logText().contains("PCALL16\r\n\t\t\t>>> TQ73RNDLL_SENDRECV, 0604\r\n\t\t\t<<< "
                                "8004407CB200"));

    const std::pair<int, const char*> shown[] = {{0, "0 : Chip ID = 40"},
                                                 {3, "3 : Chip ID = 33"},
                                                 {12, "12 :Chip ID = 3C"},
                                                 {5, "5 : "},
                                                 {7, "7 : "},
                                                 {9, "9 : "},
                                                 {15, "15 :"}};
    for (const auto& [slot, text] : shown)
        EXPECT_EQ(sink.slotTexts()[static_cast<std::size_t>(slot)], text) << slot;
    // Every box shows its label alone before INITIATE goes out.
    EXPECT_EQ(sink.journal.indexOf("slot5=5 : "), 5);
    EXPECT_EQ(sink.request, "F6");
}

TEST_F(ProbeTest, MemoryTagBoxesOfTheAutoDetectionWindowChangeAsTheirSlotIsPolled) {
    for (const int slot : {0, 5}) {
        sink.setSlot(slot, QStringLiteral("%1 : Chip ID = 35").arg(slot));
    }
    sink.journal.clear();
    const int count = withProbes(kAutoDetectPolicy,
                                 [](auto& p) { return p.ProbeISO14443BInitiate(true, false); });

    EXPECT_EQ(count, 0);
    EXPECT_EQ(entryTitles(sink.logText()).size(), 17);
    // Each box keeps the earlier chip ID until its slot has been polled.
    const struct {
        int slot;
        const char* label;
        const char* request;
    } polled[] = {{0, "0 : ", "0604"}, {5, "5 : ", "56"}};
    for (const auto& p : polled) {
        EXPECT_EQ(sink.slotTexts()[static_cast<std::size_t>(p.slot)], p.label);
        const auto cut = sink.journal.indexOf(QStringLiteral("slot%1=").arg(p.slot) + p.label);
        const auto request = sink.journal.indexOf(QStringLiteral("request=") + p.request);
        EXPECT_GE(request, 0) << p.request;
        EXPECT_GT(cut, request) << p.slot;
    }
}

TEST_F(ProbeTest, ReqbShowsTheFrameOfAnAtqbOnly) {
    const std::string atqb =
        "8011"
        "50A1B2C3D4000000000071850000"
        "ABCD00";
    const struct {
        const char* what;
        ProbePolicy policy;
        std::string answer;
        int count;
        QString box;
    } cases[] = {
        {"extended ATQB", kAutoDetectPolicy,
         "8010"
         "50A1B2C3D40000000000718500"
         "ABCD"
         "00",
         1, "50A1B2C3D40000000000718500"},
        {"ATQB", kTagDetectionPolicy,
         "800F"
         "50A1B2C3D400000000718500"
         "ABCD"
         "00",
         1, "50A1B2C3D400000000718500"},
        {"bad status byte", kAutoDetectPolicy,
         "8010"
         "50A1B2C3D40000000000718500"
         "ABCD"
         "01",
         0, ""},
        {"an ISO15693 tag's error answer", kAutoDetectPolicy, "80050101160700", 0, ""},
        {"no room for an ATQB, auto-detection", kAutoDetectPolicy, "8003ABCD00", 0, ""},
        {"no room for an ATQB, tag detection", kTagDetectionPolicy, "8003ABCD00", 0, ""},
        {"no card", kTagDetectionPolicy, "8700", 0, ""},
    };
    for (const auto& c : cases) {
        sink.results[2] = QStringLiteral("an earlier card");
        t.scripted.queue(ReaderFunction::SendReceive, 0, c.answer);
        const int count =
            withProbes(c.policy, [](auto& p) { return p.ProbeISO14443BReqB(true, false); });
        EXPECT_EQ(count, c.count) << c.what;
        EXPECT_EQ(sink.results[2], c.box) << c.what;
        EXPECT_EQ(sink.request, "0500F0") << c.what;
    }
    EXPECT_EQ(entryTitles(sink.logText()).size(), 7) << "one REQB entry a call";

    t.scripted.clearCalls();
    sink.journal.clear();
    withProbes(kAutoDetectPolicy, [](auto& p) { return p.ProbeISO14443BReqB(true, true); });
    EXPECT_EQ(callList(t.scripted),
              (Calls{"Select 03010180", "KvCmd 01090468010130", "SendReceive 0500F0"}));
    // Each exchange of the set-up shows its request beside an empty answer box until its
    // answer comes; the set-up leaves the boxes empty; the REQB exchange fills them.
    EXPECT_EQ(sink.journal.mid(0, 8), (QStringList{"request=03010180", "answer=", "answer=0000",
                                                   "request=", "answer=", "request=01090468010130",
                                                   "answer=", "answer=0000"}));
}

// The answers of a card with a double-size UID 04A1B2C3D4E5F6.
void queueDoubleSizeCard(testsupport::ScriptedReader& r) {
    r.queue(ReaderFunction::SendReceive, 0, "80054400080000");
    r.queue(ReaderFunction::SendReceive, 0,
            "8008"
            "8804A1B29F"
            "080000");
    r.queue(ReaderFunction::SendReceive, 0,
            "8006"
            "04DA17"
            "080000");
    r.queue(ReaderFunction::SendReceive, 0,
            "8008"
            "C3D4E5F604"
            "080000");
    r.queue(ReaderFunction::SendReceive, 0,
            "8006"
            "00FE51"
            "080000");
}

TEST_F(ProbeTest, Iso14443ACascadeWithTheTagDetectionSetUp) {
    t.values().DemodGainValue = QStringLiteral("A5");
    queueDoubleSizeCard(t.scripted);
    const int count =
        withProbes(kTagDetectionPolicy, [](auto& p) { return p.ProbeISO14443A(true, true); });

    EXPECT_EQ(count, 1);
    EXPECT_EQ(sink.results[1], "04A1B2C3D4E5F6");
    EXPECT_EQ(callList(t.scripted),
              (Calls{"Select 0000", "Select 02000180", "KvCmd 0109043A005804",
                     "KvCmd 010904680101A5", "KvCmd 0109110B00241204880F1F3F3F01000505005500",
                     "SendReceive 2607", "SendReceive 932008", "SendReceive 93708804A1B29F28",
                     "SendReceive 952008", "SendReceive 9570C3D4E5F60428"}));
    EXPECT_EQ(
        entryTitles(sink.logText()),
        (QStringList{"TQ73RN RF OFF", "TQ73RN CONFIGURATION : ISO14443-A protocol",
                     "TQ73RN CONFIGURATION : ", "TQ73RN INCREASE DEMO GAIN : ",
                     "TQ73RN INCREASE DEC TOLERANCE : ", "ISO14443-A REQA", "ISO14443-A ANTICOL 1",
                     "ISO14443-A SELECT 1", "ISO14443-A ANTICOL 2", "ISO14443-A SELECT 2"}));
    EXPECT_TRUE(sink.logText().contains(">>> TQ73RNDLL_KVCMD, 01 0904680101A5\r\n"));
    EXPECT_EQ(sink.request, "9570C3D4E5F60428");
}

TEST_F(ProbeTest, Iso14443ACascadeStopsAtTheFirstAnswerItCannotUse) {
    const struct {
        const char* what;
        std::vector<std::string> answers;
        int count;
        QString uid;
        int exchanges;
        const char* verdict = "";  // what the log adds after the last answer
    } cases[] = {
        {"no card", {"8700"}, 0, "", 1},
        {"REQA answered by other than an ATQA", {"80030102ABCD00"}, 0, "", 1},
        {"SELECT 1 unanswered keeps level 1",
         {"80054400080000",
          "8008"
          "8804A1B29F"
          "080000",
          "8700"},
         0,
         "04A1B2",
         3},
        {"short ANTICOL: no SELECT",
         {"80054400080000",
          "8006"
          "8804A1"
          "08"},
         0,
         "",
         2},
        {"a BCC that does not match: no SELECT",
         {"80054400080000",
          "8008"
          "8804A1B29E"
          "080000"},
         0,
         "",
         2},
        {"collision at level 1",
         {"80054400080000",
          "8008"
          "8CADB6F7F9"
          "880103"},
         0,
         "",
         2,
         "  88 -> collision at byte 1 bit 3 : several tags answered, no UID shown"},
        {"CRC error at level 2: level 1 not shown either",
         {"80054400080000",
          "8008"
          "8804A1B29F"
          "080000",
          "800604DA17080000",
          "8008"
          "C3D4E5F604"
          "200000"},
         0,
         "",
         4,
         "  20 -> collision (CRC error) : several tags answered, no UID shown"},
        {"a cascade tag at level 3 still ends the cascade",
         {"80058400080000",
          "8008"
          "8804A1B29F"
          "080000",
          "800604DA17080000",
          "8008"
          "88C3D4E57A"
          "080000",
          "800604DA17080000",
          "8008"
          "88071829BE"
          "080000",
          "800608B6DD080000"},
         1,
         "04A1B2C3D4E5071829",
         7},
        {"SAK plays no part",
         {"80054400080000",
          "8008"
          "11223344"
          "44"
          "080000",
          "8006"
          "24DA17"
          "080000"},
         1,
         "11223344",
         3},
    };
    for (const auto& c : cases) {
        t.scripted.clearCalls();
        for (const auto& a : c.answers) t.scripted.queue(ReaderFunction::SendReceive, 0, a);
        const int count =
            withProbes(kAutoDetectPolicy, [](auto& p) { return p.ProbeISO14443A(true, false); });
        EXPECT_EQ(count, c.count) << c.what;
        EXPECT_EQ(sink.results[1], c.uid) << c.what;
        EXPECT_EQ(t.scripted.countOf(ReaderFunction::SendReceive), c.exchanges) << c.what;
        EXPECT_EQ(t.scripted.calls().size(), static_cast<std::size_t>(c.exchanges))
            << c.what << ": no set-up, no field-off by hand";
        EXPECT_TRUE(sink.logText().endsWith(
            QString::fromStdString(c.answers[static_cast<std::size_t>(c.exchanges) - 1]) +
            QLatin1String(c.verdict)))
            << c.what;
    }
}

TEST_F(ProbeTest, FelicaShowsTheFrameOfOneTagsPollingAnswerOnly) {
    const std::string frame =
        "1201"
        "0102030405060708"
        "1112131415161718";
    const struct {
        const char* what;
        int status;
        std::string answer;
        int count;
        QString box;
        const char* verdict = "";  // what the log adds after the answer
    } cases[] = {
        {"46 characters", 0,
         "8015" + frame +
             "ABCD"
             "00",
         1, QString::fromStdString(frame)},
        {"several tags: status 20", 0,
         "8015" + frame +
             "ABCD"
             "20",
         0, "", "  20 -> collision : several tags answered, no IDm shown"},
        {"an ISO15693 tag's error answer", 0, "80050101160700", 0, ""},
        {"12 characters", 0, "800312ABCD00", 0, ""},
        {"10 characters", 0, "8002ABCD00", 0, ""},
        {"short frame", 0, "9000", 0, ""},
        {"library status", 1,
         "8015" + frame +
             "ABCD"
             "20",
         0, ""},
    };
    for (const auto& c : cases) {
        sink.results[3] = QStringLiteral("an earlier tag");
        t.scripted.queue(ReaderFunction::SendReceive, c.status, c.answer);
        const int count =
            withProbes(kAutoDetectPolicy, [](auto& p) { return p.ProbeFeliCa(true, false); });
        EXPECT_EQ(count, c.count) << c.what;
        EXPECT_EQ(sink.results[3], c.box) << c.what;
        EXPECT_TRUE(
            sink.logText().endsWith(QString::fromStdString(c.answer) + QLatin1String(c.verdict)))
            << c.what;
    }

    t.scripted.clearCalls();
    sink.journal.clear();
    withProbes(kTagDetectionPolicy, [](auto& p) { return p.ProbeFeliCa(true, true); });
    EXPECT_EQ(callList(t.scripted), (Calls{"Select 0451", "KvCmd 01090468010150",
                                           "KvCmd 0109040A0102A1", "SendReceive 00FFFF0000"}));
    EXPECT_EQ(
        entryTitles(sink.logText()).mid(entryTitles(sink.logText()).size() - 4),
        (QStringList{"TQ73RN CONFIGURATION : FELICA mode", "TQ73RN CONFIGURATION : IndexMod & Gain",
                     "TQ73RN CONFIGURATION : Auto FDet", "REQC"}));
    EXPECT_EQ(sink.journal.first(), "result3=");
}

TEST_F(ProbeTest, RfOffIsOneLoggedFieldOffSelect) {
    const auto status = withProbes(kAutoDetectPolicy, [](auto& p) { return p.RfOff(); });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(callList(t.scripted), (Calls{"Select 0000"}));
    EXPECT_EQ(sink.logText(),
              kStamp + "TQ73RN RF OFF\r\n\t\t\t>>> TQ73RNDLL_SELECT, 0000\r\n\t\t\t<<< 0000");
    EXPECT_EQ(sink.journal,
              (QStringList{"request=0000", "answer=", "request=0000", "answer=0000"}));

    t.scripted.clearCalls();
    t.scripted.queue(ReaderFunction::Select, 1, "8200");
    EXPECT_EQ(withProbes(kAutoDetectPolicy, [](auto& p) { return p.RfOff(); }), 1);
    EXPECT_EQ(callList(t.scripted), (Calls{"Select 0000"})) << "only 5 is followed by a repeat";
}

// Status 5 on one call of a probe: what the probe calls then. The reconnect's own calls
// are those of the protocol's set-up.
TEST_F(ProbeTest, StatusFiveReconnectsAndRepeatsAsEachCallSays) {
    enum Which { Iso15693, Sola, Reqb, Iso14443A, Felica, RfOff };
    const Calls usb{"UsbConnect", "UsbHandleCheck"};
    const auto join = [](std::initializer_list<Calls> parts) {
        Calls out;
        for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
        return out;
    };
    const Calls aSetUp{"Select 02000180", "KvCmd 0109043A005804", "KvCmd 010904680101D1",
                       "KvCmd 0109110B00241204880F1F3F3F01000505005500"};
    const Calls bSetUp{"Select 03010180", "KvCmd 01090468010130"};
    const Calls fSetUp{"Select 0451", "KvCmd 01090468010150", "KvCmd 0109040A0102A1"};
    const struct {
        const char* what;
        Which probe;
        ReaderFunction fails;
        Calls calls;
        int answeredBefore = 0;  // calls of `fails` answered before the one that fails
    } cases[] = {
        {"ISO15693 select: not repeated", Iso15693, ReaderFunction::Select,
         join({{"Select 010D"}, usb, {"Select 010D", "SendReceive 260100"}})},
        {"ISO15693 inventory: repeated", Iso15693, ReaderFunction::SendReceive,
         join({{"Select 010D", "SendReceive 260100"}, usb, {"Select 010D", "SendReceive 260100"}})},
        {"memory tags, register write: repeated", Sola, ReaderFunction::KvCmd,
         join({bSetUp, usb, bSetUp, {"KvCmd 01090468010130", "SendReceive 0600"}})},
        {"memory tags, PCALL16: repeated", Sola, ReaderFunction::SendReceive,
         join({bSetUp,
               {"SendReceive 0600", "SendReceive 0604"},
               usb,
               bSetUp,
               {"SendReceive 0604", "SendReceive 16"}}),
         1},
        {"REQB select: repeated", Reqb, ReaderFunction::Select,
         join({{"Select 03010180"}, usb, bSetUp, bSetUp, {"SendReceive 0500F0"}})},
        {"REQB: repeated", Reqb, ReaderFunction::SendReceive,
         join({bSetUp, {"SendReceive 0500F0"}, usb, bSetUp, {"SendReceive 0500F0"}})},
        {"ISO14443-A select: repeated", Iso14443A, ReaderFunction::Select,
         join({{"Select 02000180"}, usb, aSetUp, aSetUp, {"SendReceive 2607"}})},
        {"ISO14443-A register write: not examined", Iso14443A, ReaderFunction::KvCmd,
         join({aSetUp, {"SendReceive 2607"}})},
        {"ISO14443-A REQA: repeated", Iso14443A, ReaderFunction::SendReceive,
         join({aSetUp, {"SendReceive 2607"}, usb, aSetUp, {"SendReceive 2607"}})},
        {"FeliCa select: not repeated", Felica, ReaderFunction::Select,
         join({{"Select 0451"},
               usb,
               fSetUp,
               {"KvCmd 01090468010150", "KvCmd 0109040A0102A1", "SendReceive 00FFFF0000"}})},
        {"FeliCa poll: not repeated", Felica, ReaderFunction::SendReceive,
         join({fSetUp, {"SendReceive 00FFFF0000"}, usb, fSetUp})},
        {"RF off: A set-up, then the field off again", RfOff, ReaderFunction::Select,
         join({{"Select 0000"}, usb, aSetUp, {"Select 0000"}})},
    };
    for (const auto& c : cases) {
        t.scripted.clearCalls();
        for (int i = 0; i < c.answeredBefore; ++i) t.scripted.queue(c.fails, 0, "8700");
        t.scripted.queueUntouched(c.fails, reader::kStatusUnreachable);
        const QString before = sink.logText();
        withProbes(kAutoDetectPolicy, [&](detection::Probes& p) {
            switch (c.probe) {
                case Iso15693:
                    return p.ProbeISO15693(true, true);
                case Sola:
                    return p.ProbeISO14443BInitiate(true, true);
                case Reqb:
                    return p.ProbeISO14443BReqB(true, true);
                case Iso14443A:
                    return p.ProbeISO14443A(true, true);
                case Felica:
                    return p.ProbeFeliCa(true, true);
                case RfOff:
                    return p.RfOff();
            }
            return 0;
        });
        Calls calls = callList(t.scripted);
        if (c.probe == Sola) calls.resize(std::min(calls.size(), c.calls.size()));
        EXPECT_EQ(calls, c.calls) << c.what;
        // One entry per exchange, however often it was sent.
        const int entries = static_cast<int>(entryTitles(sink.logText().mid(before.size())).size());
        const int expectedEntries = c.probe == Sola        ? 19
                                    : c.probe == Iso15693  ? 2
                                    : c.probe == Reqb      ? 3
                                    : c.probe == Iso14443A ? 5
                                    : c.probe == Felica    ? 4
                                                           : 1;
        EXPECT_EQ(entries, expectedEntries) << c.what;
    }
}

TEST_F(ProbeTest, ARepeatAfterStatusFiveShowsTheRepeatsAnswer) {
    t.scripted.queueUntouched(ReaderFunction::SendReceive, reader::kStatusUnreachable);
    t.scripted.queue(ReaderFunction::SendReceive, 0, inventoryAnswer("44FE", "00"));
    const int count =
        withProbes(kAutoDetectPolicy, [](auto& p) { return p.ProbeISO15693(true, false); });
    EXPECT_EQ(count, 1);
    EXPECT_TRUE(sink.logText().endsWith(QString::fromStdString(inventoryAnswer("44FE", "00"))));

    // A poll that finds the board gone is a miss, even when the reconnect succeeds.
    t.scripted.queueUntouched(ReaderFunction::SendReceive, reader::kStatusUnreachable);
    EXPECT_EQ(withProbes(kAutoDetectPolicy, [](auto& p) { return p.ProbeFeliCa(true, false); }), 0);
    EXPECT_EQ(sink.answer, QString(256, QLatin1Char(' '))) << "the untouched blank buffer";
}

}  // namespace

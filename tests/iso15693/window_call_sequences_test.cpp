// The inventory-type and fast buttons, call by call: every board call a click makes, in
// order, and the titles of the log entries it writes, when the tag answers, when the
// board is lost, and when the fast parameters cannot be set.
#include <QGroupBox>
#include <QRegularExpression>
#include <map>
#include <ostream>

#include "window_fixture.hpp"

namespace iso15693test {
namespace {

using reader::ReaderFunction;
using Calls = std::vector<std::string>;

enum class Scenario {
    TagAnswers,
    // The board is lost on the click's first call (the fast select, or the command of a
    // button without one) and found again by the reconnect.
    BoardLost,
    // Every call finds the board unreachable, the reconnects too.
    BoardUnplugged,
    // Every tag request and every select finds the board unreachable while its USB link
    // answers, so every reconnect goes as far as its own select.
    TransceiverUnreachable,
    // The fast select fails with a status the window does not act on.
    FastSetUpRefused,
    // The fast select finds the board unreachable and so does its reconnect; the board
    // answers again for the command.
    FastSetUpLost,
    // The "from" box holds what is no block address: no read, and so no fast select.
    AddressRefused,
};

const char* scenarioName(Scenario s) {
    switch (s) {
        case Scenario::TagAnswers:
            return "TagAnswers";
        case Scenario::BoardLost:
            return "BoardLost";
        case Scenario::BoardUnplugged:
            return "BoardUnplugged";
        case Scenario::TransceiverUnreachable:
            return "TransceiverUnreachable";
        case Scenario::FastSetUpRefused:
            return "FastSetUpRefused";
        case Scenario::FastSetUpLost:
            return "FastSetUpLost";
        case Scenario::AddressRefused:
            return "AddressRefused";
    }
    return "";
}

const std::string kConnect = "TQ73RNDLL_USBconnect ";
const std::string kCheck = "TQ73RNDLL_USBhandlecheck ";
const std::string kFast = "TQ73RNDll_Select 011D";
const std::string kNormal = "TQ73RNDll_Select 010D";
std::string sr(const char* request) { return std::string("TQ73RNDll_SendReceive ") + request; }

const char* const kFastEntry =
    "TQ73RN CONFIGURATION : ISO15693 10% High Datarate One Subcarrier FAST READ | "
    "TQ73RNDLL_SELECT, 011D";
const char* const kNormalEntry =
    "TQ73RN CONFIGURATION : ISO15693 10% High Datarate One Subcarrier | TQ73RNDLL_SELECT, 010D";

// A tag of DSFID 12 and UID E001020304050607 answering an inventory-type request.
const char* const kTagAnswer =
    "800D0012"
    "07060504030201E0"
    "8FF000";
const QStringList kTagListed{"\tUID\t\t\tDSFID", "", " 00\tE001020304050607\t\t12"};
const QStringList kBlocksShown{"0005   11 22 33 44 ", "0006   55 66 77 88 "};
const QStringList kBlocksRead{"11 22 33 44 ", "55 66 77 88 "};

struct Button {
    const char* name;
    bool fast;                         // runs between the fast select and the normal one
    bool userMode;                     // a block read over 05 to 06 on the User Mode page
    const char* caption;               // of the inventory list's frame; empty for the block reads
    std::vector<const char*> answers;  // the tag's answer to each command, in order
    std::vector<std::string> entries;  // the log entries of a click: title | call
    std::map<Scenario, Calls> calls;   // the click's whole sequence of board calls
    // The fast read keeps its lines to itself when the fast parameters were not set.
    bool hidesLinesWithoutFastSetUp;
};

const std::vector<Button>& buttons() {
    static const std::vector<Button> table{
        {"cmdInventory",
         false,
         false,
         "INVENTORY response",
         {kTagAnswer},
         {"INVENTORY | TQ73RNDLL_SENDRECV, 260100"},
         {{Scenario::TagAnswers, {sr("260100")}},
          {Scenario::BoardLost, {sr("260100"), kConnect, kCheck, kNormal, sr("260100")}},
          {Scenario::BoardUnplugged, {sr("260100"), kConnect, kCheck, sr("260100")}},
          {Scenario::TransceiverUnreachable,
           {sr("260100"), kConnect, kCheck, kNormal, sr("260100")}}},
         false},
        {"cmdInitiate",
         false,
         false,
         "INITIATE response",
         {kTagAnswer},
         {"INITIATE | TQ73RNDLL_SENDRECV, 02D202"},
         {{Scenario::TagAnswers, {sr("02D202")}},
          {Scenario::BoardLost, {sr("02D202"), kConnect, kCheck, kNormal, sr("02D202")}},
          {Scenario::BoardUnplugged, {sr("02D202"), kConnect, kCheck, sr("02D202")}},
          {Scenario::TransceiverUnreachable,
           {sr("02D202"), kConnect, kCheck, kNormal, sr("02D202")}}},
         false},
        {"cmdInventoryInitiated",
         false,
         false,
         "INVENTORY INITIATED response",
         {kTagAnswer},
         {"INVENTORY INITIATED | TQ73RNDLL_SENDRECV, 26D10200"},
         {{Scenario::TagAnswers, {sr("26D10200")}},
          {Scenario::BoardLost, {sr("26D10200"), kConnect, kCheck, kNormal, sr("26D10200")}},
          {Scenario::BoardUnplugged, {sr("26D10200"), kConnect, kCheck, sr("26D10200")}},
          {Scenario::TransceiverUnreachable,
           {sr("26D10200"), kConnect, kCheck, kNormal, sr("26D10200")}}},
         false},
        {"cmdFastInitiate",
         true,
         false,
         "FAST INITIATE response",
         {kTagAnswer},
         {kFastEntry, "FAST INITIATE | TQ73RNDLL_SENDRECV, 02C202", kNormalEntry},
         {{Scenario::TagAnswers, {kFast, sr("02C202"), kNormal}},
          {Scenario::BoardLost, {kFast, kConnect, kCheck, kFast, sr("02C202"), kNormal}},
          // Still unreachable after the command's own repeat: the button reconnects once
          // more under the fast parameters before it selects the normal ones.
          {Scenario::BoardUnplugged,
           {kFast, kConnect, kCheck, sr("02C202"), kConnect, kCheck, sr("02C202"), kConnect, kCheck,
            kNormal, kConnect, kCheck, kNormal}},
          {Scenario::TransceiverUnreachable,
           {kFast, kConnect, kCheck, kFast, sr("02C202"), kConnect, kCheck, kFast, sr("02C202"),
            kConnect, kCheck, kFast, kNormal, kConnect, kCheck, kNormal, kNormal}},
          {Scenario::FastSetUpRefused, {kFast, sr("02C202"), kNormal}},
          {Scenario::FastSetUpLost, {kFast, kConnect, kCheck, sr("02C202"), kNormal}}},
         false},
        {"cmdFastInventoryInitiated",
         true,
         false,
         "FAST INVENTORY INITIATED response",
         {kTagAnswer},
         {kFastEntry, "FAST INVENTORY INITIATE | TQ73RNDLL_SENDRECV, 26C10200", kNormalEntry},
         {{Scenario::TagAnswers, {kFast, sr("26C10200"), kNormal}},
          {Scenario::BoardLost, {kFast, kConnect, kCheck, kFast, sr("26C10200"), kNormal}},
          {Scenario::BoardUnplugged,
           {kFast, kConnect, kCheck, sr("26C10200"), kConnect, kCheck, sr("26C10200"), kNormal,
            kConnect, kCheck, kNormal}},
          {Scenario::TransceiverUnreachable,
           {kFast, kConnect, kCheck, kFast, sr("26C10200"), kConnect, kCheck, kFast, sr("26C10200"),
            kNormal, kConnect, kCheck, kNormal, kNormal}},
          {Scenario::FastSetUpRefused, {kFast, sr("26C10200"), kNormal}},
          {Scenario::FastSetUpLost, {kFast, kConnect, kCheck, sr("26C10200"), kNormal}}},
         false},
        {"cmdFastReadSingleBlock",
         true,
         true,
         "",
         {"800800"
          "11223344"
          "ABCD00",
          "800800"
          "55667788"
          "ABCD00"},
         {kFastEntry, "FAST READ SINGLE BLOCK | TQ73RNDLL_SENDRECV, 02C00205",
          "FAST READ SINGLE BLOCK | TQ73RNDLL_SENDRECV, 02C00206", kNormalEntry},
         {{Scenario::TagAnswers, {kFast, sr("02C00205"), sr("02C00206"), kNormal}},
          {Scenario::BoardLost,
           {kFast, kConnect, kCheck, kFast, sr("02C00205"), sr("02C00206"), kNormal}},
          {Scenario::BoardUnplugged,
           {kFast, kConnect, kCheck, sr("02C00205"), kConnect, kCheck, sr("02C00205"),
            sr("02C00206"), kConnect, kCheck, sr("02C00206"), kNormal, kConnect, kCheck, kNormal}},
          {Scenario::TransceiverUnreachable,
           {kFast, kConnect, kCheck, kFast, sr("02C00205"), kConnect, kCheck, kFast, sr("02C00205"),
            sr("02C00206"), kConnect, kCheck, kFast, sr("02C00206"), kNormal, kConnect, kCheck,
            kNormal, kNormal}},
          {Scenario::FastSetUpRefused, {kFast, sr("02C00205"), sr("02C00206"), kNormal}},
          {Scenario::FastSetUpLost,
           {kFast, kConnect, kCheck, sr("02C00205"), sr("02C00206"), kNormal}},
          {Scenario::AddressRefused, {kNormal}}},
         // The single-block run shows its lines whatever the fast select returned.
         false},
        {"cmdFastReadMultipleBlock",
         true,
         true,
         "",
         {"800C00"
          "1122334455667788"
          "ABCD00"},
         {kFastEntry, "FAST READ MULTIPLE BLOCK | TQ73RNDLL_SENDRECV, 02C3020501", kNormalEntry},
         {{Scenario::TagAnswers, {kFast, sr("02C3020501"), kNormal}},
          {Scenario::BoardLost, {kFast, kConnect, kCheck, kFast, sr("02C3020501"), kNormal}},
          {Scenario::BoardUnplugged,
           {kFast, kConnect, kCheck, sr("02C3020501"), kConnect, kCheck, sr("02C3020501"), kNormal,
            kConnect, kCheck, kNormal}},
          {Scenario::TransceiverUnreachable,
           {kFast, kConnect, kCheck, kFast, sr("02C3020501"), kConnect, kCheck, kFast,
            sr("02C3020501"), kNormal, kConnect, kCheck, kNormal, kNormal}},
          {Scenario::FastSetUpRefused, {kFast, sr("02C3020501"), kNormal}},
          {Scenario::FastSetUpLost, {kFast, kConnect, kCheck, sr("02C3020501"), kNormal}},
          {Scenario::AddressRefused, {kNormal}}},
         true},
    };
    return table;
}

struct Case {
    const Button* button;
    Scenario scenario;
};

std::ostream& operator<<(std::ostream& os, const Case& c) {
    return os << c.button->name << "_" << scenarioName(c.scenario);
}

std::vector<Case> cases() {
    std::vector<Case> r;
    for (const Button& b : buttons()) {
        for (const auto& [scenario, calls] : b.calls) r.push_back({&b, scenario});
    }
    return r;
}

class FastSequenceTest : public WindowTest, public ::testing::WithParamInterface<Case> {
  public:
    FastSequenceTest() : hook(tc.scripted) {}
    ~FastSequenceTest() override { tc.ctx->setReader(tc.scripted); }

    // The log entries written since `before`, each as its title, " | " and the call as
    // logged; anything else in the added text fails the test.
    std::vector<std::string> entriesSince(const QString& before, QStringList* answers = nullptr) {
        const QString all = log();
        EXPECT_TRUE(all.startsWith(before));
        const QString added = all.mid(before.size());
        static const QRegularExpression entry(
            QStringLiteral("\\r\\n\\d\\d-\\d\\d-\\d{4} \\d\\d:\\d\\d:\\d\\d\\t([^\\r\\n]*)\\r\\n"
                           "\\t\\t\\t>>> ([^\\r\\n]*)\\r\\n\\t\\t\\t<<< ([^\\r\\n]*)"));
        std::vector<std::string> r;
        qsizetype at = 0;
        for (auto it = entry.globalMatch(added); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            EXPECT_EQ(m.capturedStart(), at) << "not an entry: " << added.mid(at).toStdString();
            at = m.capturedEnd();
            r.push_back((m.captured(1) + QStringLiteral(" | ") + m.captured(2)).toStdString());
            if (answers) *answers << m.captured(3);
        }
        EXPECT_EQ(at, added.size()) << "not an entry: " << added.mid(at).toStdString();
        return r;
    }

    // What the click shows: the list with its frame's caption, or the read view.
    QStringList shown(const Button& b) {
        if (b.userMode) return view();
        return QStringList{get<QGroupBox>(QStringLiteral("FraINVENTORYresponse"))->title()} +
               items(QStringLiteral("lstTransponderUID"));
    }

    HookReader hook;
};

TEST_P(FastSequenceTest, TheClickMakesExactlyItsCallsAndLogsThemUnderTheirTitles) {
    const Button& b = *GetParam().button;
    const Scenario scenario = GetParam().scenario;
    if (b.userMode) {
        openUserMode("VEL-C", "05", "06");
    } else {
        open();
    }
    const QString before = log();
    const QString fastBoxBefore = text(QStringLiteral("txt_ISO15693_answer_FastProtocol"));
    testsupport::ScriptedReader& board = tc.scripted;
    switch (scenario) {
        case Scenario::TagAnswers:
            break;
        case Scenario::BoardLost:
            board.queueUntouched(b.fast ? ReaderFunction::Select : ReaderFunction::SendReceive,
                                 reader::kStatusUnreachable);
            break;
        case Scenario::BoardUnplugged:
            board.setDefault(ReaderFunction::UsbHandleCheck, reader::kStatusUnreachable);
            board.setDefault(ReaderFunction::Select, reader::kStatusUnreachable);
            board.setDefault(ReaderFunction::SendReceive, reader::kStatusUnreachable);
            break;
        case Scenario::TransceiverUnreachable:
            board.setDefault(ReaderFunction::Select, reader::kStatusUnreachable);
            board.setDefault(ReaderFunction::SendReceive, reader::kStatusUnreachable);
            break;
        case Scenario::FastSetUpRefused:
            board.queueUntouched(ReaderFunction::Select, 1);
            break;
        case Scenario::FastSetUpLost:
            board.queueUntouched(ReaderFunction::Select, reader::kStatusUnreachable);
            board.queue(ReaderFunction::UsbHandleCheck, reader::kStatusUnreachable);
            break;
        case Scenario::AddressRefused:
            get<QLineEdit>(QStringLiteral("txtUserAddress_0"))->setText(QStringLiteral("x5"));
            tc.ui.expectMessage();
            break;
    }
    const bool tagHeard =
        scenario != Scenario::BoardUnplugged && scenario != Scenario::TransceiverUnreachable;
    if (tagHeard) {
        for (const char* answer : b.answers) board.queue(ReaderFunction::SendReceive, 0, answer);
    }
    // What the fast select's answer box holds while the command goes out.
    QString fastBoxDuringCommand;
    hook.afterSendReceive = [&](int n) {
        if (n == 1) fastBoxDuringCommand = text(QStringLiteral("txt_ISO15693_answer_FastProtocol"));
    };
    tc.ctx->setReader(hook);

    click(QLatin1String(b.name));

    EXPECT_EQ(calls(), b.calls.at(scenario));
    // One entry per exchange, written after its repeat, whatever the board did; the
    // parameter selects under their own titles, never the command's.
    QStringList answers;
    if (scenario == Scenario::AddressRefused) {
        // The normal parameters are selected all the same, and logged.
        EXPECT_EQ(entriesSince(before), std::vector<std::string>{kNormalEntry});
        ASSERT_EQ(tc.ui.messages().size(), 1u);
        EXPECT_EQ(tc.ui.messages()[0].text,
                  QStringLiteral("Invalid Address: check for Hexadecimal format or Adress value"));
        return;
    }
    EXPECT_EQ(entriesSince(before, &answers), b.entries);

    const QString fastBox = text(QStringLiteral("txt_ISO15693_answer_FastProtocol"));
    if (b.fast) {
        ASSERT_EQ(std::size_t(answers.size()), b.entries.size());
        // The fast select's box and log entry hold what that call left in its own
        // buffer: a failed select left it as filled, and the reconnect's select answer
        // goes nowhere.
        const QString untouched(256, QLatin1Char(' '));
        const QString fastAnswer = scenario == Scenario::TagAnswers ? QStringLiteral("0000")
                                   : tagHeard                       ? untouched
                                                                    : QString();
        EXPECT_EQ(fastBoxDuringCommand, fastAnswer);
        EXPECT_EQ(answers.first(), fastAnswer);
        // At the end the box holds the normal select's answer, the repeat's when the
        // first found the board unreachable.
        EXPECT_EQ(fastBox, answers.last());
        EXPECT_EQ(fastBox, tagHeard ? QStringLiteral("0000") : QString());
    } else {
        EXPECT_EQ(fastBox, fastBoxBefore);
    }
    if (!tagHeard) return;

    // The request and answer boxes keep the command's exchange, not a select's.
    const Calls& sequence = b.calls.at(scenario);
    const std::string lastRequest = sequence[sequence.size() - (b.fast ? 2 : 1)];
    EXPECT_EQ("TQ73RNDll_SendReceive " + text(QStringLiteral("txt_ISO15693_request")).toStdString(),
              lastRequest);
    EXPECT_EQ(text(QStringLiteral("txt_ISO15693_answer")), QLatin1String(b.answers.back()));

    const bool fastSetUpFailed =
        scenario == Scenario::FastSetUpRefused || scenario == Scenario::FastSetUpLost;
    if (!b.userMode) {
        EXPECT_EQ(shown(b), QStringList{QLatin1String(b.caption)} + kTagListed);
    } else if (fastSetUpFailed && b.hidesLinesWithoutFastSetUp) {
        // Read under the normal parameters: the lines are kept but not shown as if they
        // were a fast read.
        EXPECT_TRUE(shown(b).isEmpty());
        EXPECT_EQ(memoryLines(), kBlocksRead);
    } else {
        EXPECT_EQ(shown(b), kBlocksShown);
    }
    // Either way the run took its normal end.
    if (b.userMode) {
        EXPECT_TRUE(get<QWidget>(QStringLiteral("lstReadView"))->isEnabled());
    }
}

INSTANTIATE_TEST_SUITE_P(Buttons, FastSequenceTest, ::testing::ValuesIn(cases()),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             return std::string(info.param.button->name) + "_" +
                                    scenarioName(info.param.scenario);
                         });

}  // namespace
}  // namespace iso15693test

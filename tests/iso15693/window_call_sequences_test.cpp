// Every button of the Inventory and User Mode pages that sends to the tag, call by call:
// every board call a click makes, in order, and the titles of the log entries it writes,
// when the tag answers, when the board is lost (the reconnect's select is the one the
// button's command asks for: the fast one only for the fast commands), and when the
// fast parameters cannot be set.
#include <QGroupBox>
#include <QLabel>
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
// A tag answering a command with flags 00 and nothing more.
const char* const kFlags00 = "80040078F000";

enum class Page {
    Inventory,
    UserMode,  // with the block range 05 to 06 in the address boxes
};

// What the user gives the click before it: the frame typed for "Send any frame", or the
// data typed in the first row of the page-write panel that the button opens (its Write
// then sends).
enum class Input { None, Frame, PageWrite };

// One button of the Inventory or User Mode page that sends to the tag.
struct Button {
    const char* name;  // the button; for a page write, the set-up button
    Page page = Page::Inventory;
    const char* product = "VEL-C";
    Input input = Input::None;
    const char* typed = "";
    bool fast = false;  // runs between the fast select and the normal one
    // The call that carries the command to the tag.
    ReaderFunction function = ReaderFunction::SendReceive;
    std::vector<const char*> answers = {};  // the tag's answer to each command, in order
    std::vector<std::string> entries = {};  // the log entries of a click: title | call
    std::map<Scenario, Calls> calls = {};   // the click's whole sequence of board calls
    const char* caption = "";  // of the inventory list's frame, when the click fills it
    // The control that shows the decoded answer, and what it shows when the tag answers;
    // none where the answer box alone shows it.
    const char* shownIn = nullptr;
    QStringList shown = {};
    // The fast read keeps its lines to itself when the fast parameters were not set.
    bool hidesLinesWithoutFastSetUp = false;
};

// A button whose command goes to the tag under the normal parameters, one request after
// the other, each logged under `title`. A lost board is found again and set up with the
// normal select before the lost call goes once more; a board that stays lost gets no
// select and no third call.
Button normal(Button b, const char* title, const std::vector<std::string>& requests) {
    const bool firmware = b.function == ReaderFunction::KvCmd;
    Calls commands;
    for (const std::string& r : requests) {
        b.entries.push_back(std::string(title) + " | " +
                            (firmware ? "TQ73RNDLL_KVCMD, " : "TQ73RNDLL_SENDRECV, ") + r);
        commands.push_back((firmware ? "TQ73RNDll_KVCmd " : "TQ73RNDll_SendReceive ") + r);
    }
    Calls lost{commands.front(), kConnect, kCheck, kNormal};
    lost.insert(lost.end(), commands.begin(), commands.end());
    Calls unplugged;
    Calls unreachable;
    for (const std::string& c : commands) {
        unplugged.insert(unplugged.end(), {c, kConnect, kCheck, c});
        unreachable.insert(unreachable.end(), {c, kConnect, kCheck, kNormal, c});
    }
    b.calls = {{Scenario::TagAnswers, commands},
               {Scenario::BoardLost, lost},
               {Scenario::BoardUnplugged, unplugged},
               {Scenario::TransceiverUnreachable, unreachable}};
    return b;
}

// The same for a command whose outcome is the short result: "OK" in the result label
// when the tag answers each request with flags 00.
Button shortResult(Button b, const char* title, const std::vector<std::string>& requests) {
    b.answers.assign(requests.size(), kFlags00);
    b.shownIn = "lblWriteTime";
    b.shown = {QStringLiteral("OK")};
    return normal(std::move(b), title, requests);
}

// A set-up button of the User Mode page: it opens the page-write panel, `typed` goes into
// the panel's first row, and the panel's Write sends.
Button pageWrite(const char* name, const char* typed) {
    return {.name = name, .page = Page::UserMode, .input = Input::PageWrite, .typed = typed};
}

const std::vector<Button>& buttons() {
    static const std::vector<Button> table{
        // ---- The Inventory page ----
        normal({.name = "cmdInventory",
                .answers = {kTagAnswer},
                .caption = "INVENTORY response",
                .shownIn = "lstTransponderUID",
                .shown = kTagListed},
               "INVENTORY", {"260100"}),
        normal({.name = "cmdAntiCollisionIso15693",
                .function = ReaderFunction::KvCmd,
                .answers = {"800A0112"
                            "07060504030201E0"},
                .caption = "INVENTORY response",
                .shownIn = "lstTransponderUID",
                .shown = {"\tUID\t\t\tDSFID", "", " 01\tE001020304050607\t\t12"}},
               "ANTICOLLISION", {"02A00126"}),
        normal({.name = "cmdInitiate",
                .answers = {kTagAnswer},
                .caption = "INITIATE response",
                .shownIn = "lstTransponderUID",
                .shown = kTagListed},
               "INITIATE", {"02D202"}),
        normal({.name = "cmdInventoryInitiated",
                .answers = {kTagAnswer},
                .caption = "INVENTORY INITIATED response",
                .shownIn = "lstTransponderUID",
                .shown = kTagListed},
               "INVENTORY INITIATED", {"26D10200"}),
        {.name = "cmdFastInitiate",
         .fast = true,
         .answers = {kTagAnswer},
         .entries = {kFastEntry, "FAST INITIATE | TQ73RNDLL_SENDRECV, 02C202", kNormalEntry},
         .calls = {{Scenario::TagAnswers, {kFast, sr("02C202"), kNormal}},
                   {Scenario::BoardLost, {kFast, kConnect, kCheck, kFast, sr("02C202"), kNormal}},
                   // Still unreachable after the command's own repeat: the button reconnects once
                   // more under the fast parameters before it selects the normal ones.
                   {Scenario::BoardUnplugged,
                    {kFast, kConnect, kCheck, sr("02C202"), kConnect, kCheck, sr("02C202"),
                     kConnect, kCheck, kNormal, kConnect, kCheck, kNormal}},
                   {Scenario::TransceiverUnreachable,
                    {kFast, kConnect, kCheck, kFast, sr("02C202"), kConnect, kCheck, kFast,
                     sr("02C202"), kConnect, kCheck, kFast, kNormal, kConnect, kCheck, kNormal,
                     kNormal}},
                   {Scenario::FastSetUpRefused, {kFast, sr("02C202"), kNormal}},
                   {Scenario::FastSetUpLost, {kFast, kConnect, kCheck, sr("02C202"), kNormal}}},
         .caption = "FAST INITIATE response",
         .shownIn = "lstTransponderUID",
         .shown = kTagListed},
        {.name = "cmdFastInventoryInitiated",
         .fast = true,
         .answers = {kTagAnswer},
         .entries = {kFastEntry, "FAST INVENTORY INITIATE | TQ73RNDLL_SENDRECV, 26C10200",
                     kNormalEntry},
         .calls = {{Scenario::TagAnswers, {kFast, sr("26C10200"), kNormal}},
                   {Scenario::BoardLost, {kFast, kConnect, kCheck, kFast, sr("26C10200"), kNormal}},
                   {Scenario::BoardUnplugged,
                    {kFast, kConnect, kCheck, sr("26C10200"), kConnect, kCheck, sr("26C10200"),
                     kNormal, kConnect, kCheck, kNormal}},
                   {Scenario::TransceiverUnreachable,
                    {kFast, kConnect, kCheck, kFast, sr("26C10200"), kConnect, kCheck, kFast,
                     sr("26C10200"), kNormal, kConnect, kCheck, kNormal, kNormal}},
                   {Scenario::FastSetUpRefused, {kFast, sr("26C10200"), kNormal}},
                   {Scenario::FastSetUpLost, {kFast, kConnect, kCheck, sr("26C10200"), kNormal}}},
         .caption = "FAST INVENTORY INITIATED response",
         .shownIn = "lstTransponderUID",
         .shown = kTagListed},
        shortResult({.name = "cmdSelect"}, "SELECT", {"0225"}),
        shortResult({.name = "cmdResetToReady"}, "RESET TO READY", {"0226"}),
        shortResult({.name = "cmdStayQuiet"}, "STAY QUIET", {"0202"}),
        normal(
            {.name = "cmdGetSystemInfo",
             .answers = {"8010000B"
                         "07060504030201E0"
                         "123456ABCD00"},
             .shownIn = "lstSystemInfo",
             .shown = {" UID : \t\tE001020304050607", " DSFID : \t\t12h", " AFI : \t\t34h",
                       " Memory size : \tN.A.", " Block size : \tN.A.", " IC reference : \t56h"}},
            "GET SYSTEM INFO", {"022B"}),
        normal({.name = "cmd_ISO15693_SendFrame",
                .input = Input::Frame,
                .typed = "022000",
                .answers = {kFlags00}},
               "SEND FRAME", {"022000"}),

        // ---- The User Mode page: reads ----
        normal({.name = "cmdReadUser",
                .page = Page::UserMode,
                .answers = {"800800"
                            "11223344"
                            "ABCD00",
                            "800800"
                            "55667788"
                            "ABCD00"},
                .shownIn = "lstReadView",
                .shown = kBlocksShown},
               "READ SINGLE BLOCK", {"022005", "022006"}),
        {.name = "cmdFastReadSingleBlock",
         .page = Page::UserMode,
         .fast = true,
         .answers = {"800800"
                     "11223344"
                     "ABCD00",
                     "800800"
                     "55667788"
                     "ABCD00"},
         .entries = {kFastEntry, "FAST READ SINGLE BLOCK | TQ73RNDLL_SENDRECV, 02C00205",
                     "FAST READ SINGLE BLOCK | TQ73RNDLL_SENDRECV, 02C00206", kNormalEntry},
         .calls = {{Scenario::TagAnswers, {kFast, sr("02C00205"), sr("02C00206"), kNormal}},
                   {Scenario::BoardLost,
                    {kFast, kConnect, kCheck, kFast, sr("02C00205"), sr("02C00206"), kNormal}},
                   {Scenario::BoardUnplugged,
                    {kFast, kConnect, kCheck, sr("02C00205"), kConnect, kCheck, sr("02C00205"),
                     sr("02C00206"), kConnect, kCheck, sr("02C00206"), kNormal, kConnect, kCheck,
                     kNormal}},
                   {Scenario::TransceiverUnreachable,
                    {kFast, kConnect, kCheck, kFast, sr("02C00205"), kConnect, kCheck, kFast,
                     sr("02C00205"), sr("02C00206"), kConnect, kCheck, kFast, sr("02C00206"),
                     kNormal, kConnect, kCheck, kNormal, kNormal}},
                   {Scenario::FastSetUpRefused, {kFast, sr("02C00205"), sr("02C00206"), kNormal}},
                   {Scenario::FastSetUpLost,
                    {kFast, kConnect, kCheck, sr("02C00205"), sr("02C00206"), kNormal}},
                   {Scenario::AddressRefused, {kNormal}}},
         .shownIn = "lstReadView",
         // The single-block run shows its lines whatever the fast select returned.
         .shown = kBlocksShown},
        normal({.name = "cmdReadMultipleBlock",
                .page = Page::UserMode,
                .answers = {"800C00"
                            "1122334455667788"
                            "ABCD00"},
                .shownIn = "lstReadView",
                .shown = kBlocksShown},
               "READ MULTIPLE BLOCK", {"02230501"}),
        {.name = "cmdFastReadMultipleBlock",
         .page = Page::UserMode,
         .fast = true,
         .answers = {"800C00"
                     "1122334455667788"
                     "ABCD00"},
         .entries = {kFastEntry, "FAST READ MULTIPLE BLOCK | TQ73RNDLL_SENDRECV, 02C3020501",
                     kNormalEntry},
         .calls = {{Scenario::TagAnswers, {kFast, sr("02C3020501"), kNormal}},
                   {Scenario::BoardLost,
                    {kFast, kConnect, kCheck, kFast, sr("02C3020501"), kNormal}},
                   {Scenario::BoardUnplugged,
                    {kFast, kConnect, kCheck, sr("02C3020501"), kConnect, kCheck, sr("02C3020501"),
                     kNormal, kConnect, kCheck, kNormal}},
                   {Scenario::TransceiverUnreachable,
                    {kFast, kConnect, kCheck, kFast, sr("02C3020501"), kConnect, kCheck, kFast,
                     sr("02C3020501"), kNormal, kConnect, kCheck, kNormal, kNormal}},
                   {Scenario::FastSetUpRefused, {kFast, sr("02C3020501"), kNormal}},
                   {Scenario::FastSetUpLost, {kFast, kConnect, kCheck, sr("02C3020501"), kNormal}},
                   {Scenario::AddressRefused, {kNormal}}},
         .shownIn = "lstReadView",
         .shown = kBlocksShown,
         .hidesLinesWithoutFastSetUp = true},
        normal({.name = "cmdGetMultipleBlockSecurityStatus",
                .page = Page::UserMode,
                .answers = {"8006000001ABCD00"},
                .shownIn = "lstReadView",
                .shown = {"0005   00", "0006   01"}},
               "GET MULTIPLE BLOCK SECURITY STATUS", {"022C0501"}),

        // ---- The User Mode page: locks ----
        shortResult({.name = "cmdLockBlock", .page = Page::UserMode}, "LOCK", {"022205", "022206"}),
        shortResult({.name = "cmdLockAFI", .page = Page::UserMode}, "LOCK AFI", {"0228"}),
        shortResult({.name = "cmdLockDSFID", .page = Page::UserMode}, "LOCK DSFID", {"022A"}),
        shortResult({.name = "cmdLockKill", .page = Page::UserMode}, "LOCK KILL", {"02B2020001"}),

        // ---- The User Mode page: the page-write panel's Write ----
        normal({.name = "cmdWriteSingleBlock",
                .page = Page::UserMode,
                .input = Input::PageWrite,
                .typed = "11223344",
                .answers = {kFlags00, kFlags00},
                .shownIn = "lstReadView",
                .shown = {"0005   (00) No error during Prog sequence",
                          "0006   (00) No error during Prog sequence"}},
               "WRITE SINGLE BLOCK", {"02210511223344", "02210611223344"}),
        shortResult(pageWrite("cmdWriteAFI", "12"), "WRITE AFI", {"022712"}),
        shortResult(pageWrite("cmdWriteDSFID", "12"), "WRITE DSFID", {"022912"}),
        shortResult(pageWrite("cmdWriteKill", "11223344"), "WRITE KILL", {"02B1020011223344"}),
        shortResult(pageWrite("cmdKill", "11223344"), "KILL", {"02A6020011223344"}),
        shortResult(pageWrite("cmdWriteSectorPassword", "11223344"), "WRITE SECTOR PASSWORD",
                    {"02B1020111223344"}),
        shortResult(pageWrite("cmdLockSectorPassword", "03"), "LOCK SECTOR PASSWORD",
                    {"02B2020503"}),
        shortResult(pageWrite("cmdPresentSectorPassword", "11223344"), "PRESENT PASSWORD",
                    {"02B3020111223344"}),

        // ---- The User Mode page: energy harvesting, on a product that has the frame ----
        normal({.name = "cmdReadEHconfig",
                .page = Page::UserMode,
                .product = "DUONX-AE",
                .answers = {"8005005AABCD00"},
                .shownIn = "txtEHstatus",
                .shown = {"5A"}},
               "READ EH CONFIG", {"02A002"}),
        normal({.name = "cmdCheckEHenable",
                .page = Page::UserMode,
                .product = "DUONX-AE",
                .answers = {"8005005AABCD00"},
                .shownIn = "txtCheckEHenable",
                .shown = {"5A"}},
               "CHECK EH ENABLE", {"02A302"}),
        shortResult({.name = "cmdWriteEHCfg", .page = Page::UserMode, .product = "DUONX-AE"},
                    "WRITE EH CONFIG", {"02A10200"}),
        shortResult({.name = "cmdSetEHenable", .page = Page::UserMode, .product = "DUONX-AE"},
                    "SET RESET EH CONFIG", {"02A20201"}),
        shortResult({.name = "cmdResetEHenable", .page = Page::UserMode, .product = "DUONX-AE"},
                    "SET RESET EH CONFIG", {"02A20200"}),
        shortResult({.name = "cmdWriteDOconfig", .page = Page::UserMode, .product = "DUONX-AE"},
                    "WRITE DO CONFIG", {"02A40200"}),
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

class CallSequenceTest : public WindowTest, public ::testing::WithParamInterface<Case> {
  public:
    CallSequenceTest() : hook(tc.scripted) {}
    ~CallSequenceTest() override { tc.ctx->setReader(tc.scripted); }

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

    // What the click shows where it shows the decoded answer: a list's lines, a label's or
    // a box's text; the inventory list with its frame's caption first.
    QStringList shown(const Button& b) {
        const QString name = QLatin1String(b.shownIn);
        QStringList r;
        if (*b.caption) r << get<QGroupBox>(QStringLiteral("FraINVENTORYresponse"))->title();
        QWidget* c = get<QWidget>(name);
        if (qobject_cast<QListWidget*>(c)) return r + items(name);
        if (auto* l = qobject_cast<QLabel*>(c)) return r << l->text();
        return r << text(name);
    }

    HookReader hook;
};

TEST_P(CallSequenceTest, TheClickMakesExactlyItsCallsAndLogsThemUnderTheirTitles) {
    const Button& b = *GetParam().button;
    const Scenario scenario = GetParam().scenario;
    if (b.page == Page::UserMode) {
        openUserMode(b.product, "05", "06");
    } else {
        open(b.product);
    }
    if (b.input == Input::Frame) {
        type(QStringLiteral("txt_ISO15693_AnyFrame"), QLatin1String(b.typed));
    } else if (b.input == Input::PageWrite) {
        setUpWrite(b.name, b.typed);
    }
    forgetCalls();
    const QString before = log();
    const QString fastBoxBefore = text(QStringLiteral("txt_ISO15693_answer_FastProtocol"));
    testsupport::ScriptedReader& board = tc.scripted;
    switch (scenario) {
        case Scenario::TagAnswers:
            break;
        case Scenario::BoardLost:
            board.queueUntouched(b.fast ? ReaderFunction::Select : b.function,
                                 reader::kStatusUnreachable);
            break;
        case Scenario::BoardUnplugged:
            board.setDefault(ReaderFunction::UsbHandleCheck, reader::kStatusUnreachable);
            board.setDefault(ReaderFunction::Select, reader::kStatusUnreachable);
            board.setDefault(ReaderFunction::SendReceive, reader::kStatusUnreachable);
            board.setDefault(ReaderFunction::KvCmd, reader::kStatusUnreachable);
            break;
        case Scenario::TransceiverUnreachable:
            board.setDefault(ReaderFunction::Select, reader::kStatusUnreachable);
            board.setDefault(ReaderFunction::SendReceive, reader::kStatusUnreachable);
            board.setDefault(ReaderFunction::KvCmd, reader::kStatusUnreachable);
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
        for (const char* answer : b.answers) board.queue(b.function, 0, answer);
    }
    // What the fast select's answer box holds while the command goes out.
    QString fastBoxDuringCommand;
    hook.afterSendReceive = [&](int n) {
        if (n == 1) fastBoxDuringCommand = text(QStringLiteral("txt_ISO15693_answer_FastProtocol"));
    };
    tc.ctx->setReader(hook);

    click(b.input == Input::PageWrite ? QStringLiteral("cmdWriteUser") : QLatin1String(b.name));

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
    EXPECT_EQ(std::string(reader::exportedName(b.function)) + " " +
                  text(QStringLiteral("txt_ISO15693_request")).toStdString(),
              lastRequest);
    EXPECT_EQ(text(QStringLiteral("txt_ISO15693_answer")), QLatin1String(b.answers.back()));

    const bool fastSetUpFailed =
        scenario == Scenario::FastSetUpRefused || scenario == Scenario::FastSetUpLost;
    if (!b.shownIn) return;
    // What the repeat brought back is decoded and shown, under the button's own caption.
    const QStringList expected =
        *b.caption ? QStringList{QLatin1String(b.caption)} + b.shown : b.shown;
    if (fastSetUpFailed && b.hidesLinesWithoutFastSetUp) {
        // Read under the normal parameters: the lines are kept but not shown as if they
        // were a fast read.
        EXPECT_TRUE(shown(b).isEmpty());
        EXPECT_EQ(memoryLines(), kBlocksRead);
    } else {
        EXPECT_EQ(shown(b), expected);
    }
    // Either way a read took its normal end; a write leaves the view as its own run says.
    if (QLatin1String(b.shownIn) == QLatin1String("lstReadView") && b.input != Input::PageWrite) {
        EXPECT_TRUE(get<QWidget>(QStringLiteral("lstReadView"))->isEnabled());
    }
}

INSTANTIATE_TEST_SUITE_P(Buttons, CallSequenceTest, ::testing::ValuesIn(cases()),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             return std::string(info.param.button->name) + "_" +
                                    scenarioName(info.param.scenario);
                         });

}  // namespace
}  // namespace iso15693test

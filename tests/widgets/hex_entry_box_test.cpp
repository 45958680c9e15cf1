#include "widgets/hex_entry_box.hpp"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <functional>

#include "entry_keys.hpp"
#include "test_context.hpp"

namespace {

using widgets::HexEntryBox;
using Kind = HexEntryBox::Kind;

const char* kindName(Kind k) {
    switch (k) {
        case Kind::Request:
            return "request";
        case Kind::Byte:
            return "byte";
        case Kind::FrameByte:
            return "frame byte";
        case Kind::FourByte:
            return "four-byte";
        case Kind::MaskLength:
            return "mask length";
        case Kind::Address:
            return "address";
        case Kind::Bit:
            return "bit";
        case Kind::Count:
            return "count";
        case Kind::Data:
            return "data";
        case Kind::RawFrame:
            return "raw frame";
        case Kind::Uid:
            return "UID";
    }
    return "?";
}

void type(QWidget& w, QChar c) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QCoreApplication::sendEvent(&w, &press);
}

class HexEntryBoxTest : public ::testing::Test {
  protected:
    testsupport::TestContext t;
};

TEST_F(HexEntryBoxTest, KeyFilterOfEachKind) {
    struct Case {
        Kind kind;
        const char* accepted;
        const char* refused;
    };
    const Case cases[] = {
        {Kind::Byte, "09afAF", "gG -x"},
        {Kind::RawFrame, "0Ff", "z "},
        {Kind::Uid, "0aF", "T "},
        {Kind::Bit, "01", "2aF "},
        {Kind::Count, "0123456789", "Aa- "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(kindName(c.kind));
        for (const char* p = c.accepted; *p; ++p) {
            HexEntryBox box(*t.ctx, c.kind);
            const int beeps = t.ui.beeps();
            type(box, QLatin1Char(*p));
            EXPECT_EQ(box.text(), QString(QLatin1Char(*p))) << "'" << *p << "' refused";
            EXPECT_EQ(t.ui.beeps(), beeps);
        }
        for (const char* p = c.refused; *p; ++p) {
            HexEntryBox box(*t.ctx, c.kind);
            const int beeps = t.ui.beeps();
            type(box, QLatin1Char(*p));
            EXPECT_EQ(box.text(), QString()) << "'" << *p << "' let through";
            EXPECT_EQ(t.ui.beeps(), beeps + 1);
        }
    }
    // Control characters (backspace, the clipboard shortcuts) always pass.
    HexEntryBox box(*t.ctx, Kind::Bit);
    const int beepsBefore = t.ui.beeps();
    box.setText("1");
    box.end(false);
    QKeyEvent backspace(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier, QString(QChar(8)));
    QCoreApplication::sendEvent(&box, &backspace);
    EXPECT_EQ(box.text(), QString());
    // The Delete key arrives carrying the DEL character (127) on X11: an editing key, not
    // a printable one, so it must delete without a beep.
    box.setText("1");
    box.home(false);
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, QString(QChar(0x7F)));
    QCoreApplication::sendEvent(&box, &del);
    EXPECT_EQ(box.text(), QString());
    EXPECT_EQ(t.ui.beeps(), beepsBefore);
}

TEST_F(HexEntryBoxTest, LeaveRuleOfEachKind) {
    struct Case {
        Kind kind;
        int density;  // of the selected product
        const char* typed;
        const char* shown;
        bool red;
        bool usable;
    };
    const Case cases[] = {
        {Kind::Byte, 0, "a", "0A", false, true},
        {Kind::Byte, 0, "ff", "FF", false, true},
        {Kind::Byte, 0, "", "", false, true},
        {Kind::FrameByte, 0, "", "00", false, true},
        {Kind::FrameByte, 0, "7", "07", false, true},
        {Kind::FourByte, 0, "FFFF", "0000FFFF", false, true},
        {Kind::FourByte, 0, "fedcba98", "FEDCBA98", false, true},
        {Kind::FourByte, 0, "", "", false, true},
        {Kind::MaskLength, 0, "41", "00", false, true},
        {Kind::MaskLength, 0, "40", "40", false, true},
        {Kind::MaskLength, 0, "C0", "40", false, true},
        {Kind::Address, 2, "3f", "3F", false, true},
        // Past the memory: refused as typed, never masked onto another block.
        {Kind::Address, 2, "43", "43", true, false},
        {Kind::Address, 2, "FF", "FF", true, false},
        {Kind::Address, 2, "", "00", false, true},
        {Kind::Address, 0, "ff", "FF", false, true},  // no product: value as typed
        {Kind::Bit, 0, "1", "1", false, true},
        {Kind::Bit, 0, "", "0", false, true},
        {Kind::Count, 0, "", "0", false, true},
        {Kind::Count, 0, "12", "12", false, true},
        {Kind::Data, 0, "ABC", "ABC0", false, true},
        {Kind::Data, 0, "AB", "AB", false, true},
        {Kind::Request, 0, "0a1", "0a1", false, true},
        {Kind::RawFrame, 0, "010", "010", true, true},
        {Kind::RawFrame, 0, "", "", true, true},
        {Kind::RawFrame, 0, "0102", "0102", false, true},
        // Blanks between the bytes of a pasted frame go; what is left is judged.
        {Kind::RawFrame, 0, "01 02\t03", "010203", false, true},
        {Kind::RawFrame, 0, "01 0", "010", true, true},
        // Pasted text the key filter never saw: shown red, left as it is, not usable.
        {Kind::Byte, 0, "zz", "zz", true, false},
        {Kind::Address, 2, "g1", "g1", true, false},
        {Kind::FourByte, 0, "12345G78", "12345G78", true, false},
        {Kind::Bit, 0, "2", "2", true, false},
        {Kind::Count, 0, "3x", "3x", true, false},
        {Kind::Data, 0, "XYZ", "XYZ", true, false},
        {Kind::RawFrame, 0, "01 0z", "010z", true, false},
        {Kind::Request, 0, "hello", "hello", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(kindName(c.kind)) + " \"" + c.typed + "\"");
        // The memory of a product of four-byte blocks, as the product selection sets it.
        t.values().SelectedProduct.Density = c.density;
        t.values().MemorySizeBytes = c.density * 1024 / 8;
        t.values().AddressMask = c.density * 1024 / 8 / 4 - 1;
        HexEntryBox box(*t.ctx, c.kind);
        box.setText(c.typed);
        EXPECT_EQ(box.commit(), c.usable);
        EXPECT_EQ(box.text(), QString::fromLatin1(c.shown));
        EXPECT_EQ(box.showsRed(), c.red);
        EXPECT_EQ(box.holdsValidText(), c.usable);
    }
}

TEST_F(HexEntryBoxTest, AValueTheWindowWritesOverPastedTextIsUsable) {
    // A window writes its boxes itself (a preset, a copy from another box): text it
    // puts over a refused paste is good text again, not red and not held back.
    for (Kind kind : {Kind::Byte, Kind::Bit, Kind::Request}) {
        SCOPED_TRACE(kindName(kind));
        HexEntryBox box(*t.ctx, kind);
        box.setText("zz");
        EXPECT_FALSE(box.commit());
        box.setText("1");
        EXPECT_TRUE(box.holdsValidText());
        EXPECT_FALSE(box.showsRed());
        // And the other way round: bad text written in is caught without a commit.
        box.setText("g");
        EXPECT_FALSE(box.holdsValidText());
        EXPECT_TRUE(box.showsRed());
    }
}

// The request boxes take the longest request the library passes, a raw frame also with a
// blank after each byte; a paste beyond that is refused whole, never cut nor laid out.
TEST_F(HexEntryBoxTest, ARequestBoxTakesTheLongestRequestAndRefusesAHugePasteWhole) {
    const QString frame = QString(QStringLiteral("A5 ")).repeated(127).trimmed();
    const struct {
        Kind kind;
        QString fits;
        QString committed;
    } cases[] = {
        {Kind::Request, QString(255, 'F'), QString(255, 'F')},
        {Kind::Data, QString(254, 'F'), QString(254, 'F')},
        {Kind::RawFrame, frame, QString(QStringLiteral("A5")).repeated(127)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(kindName(c.kind));
        HexEntryBox box(*t.ctx, c.kind);
        box.setText(c.fits);
        EXPECT_EQ(box.text(), c.fits);
        EXPECT_TRUE(box.commit());
        EXPECT_EQ(box.text(), c.committed);
        box.clear();
        const int beeps = t.ui.beeps();
        testsupport::pasteWithKeys(&box, QString(100000, '0'));
        EXPECT_EQ(box.text(), QString());
        EXPECT_EQ(t.ui.beeps(), beeps + 1);
        EXPECT_LT(box.maxLength(), 400);
    }
}

// What each kind of box takes, typed or pasted: the byte, bit, address, count and UID
// boxes their fixed widths; the request and data boxes the longest request the reader
// library passes (255 characters); a raw frame as many digits, in a box long enough for a
// blank after each of its 127 whole bytes (382). One character more is refused: a typed
// one is not inserted, a pasted text that long is refused whole with a beep, never cut to
// the part that fits.
TEST_F(HexEntryBoxTest, EveryKindTakesItsLimitTypedOrPastedAndRefusesOneCharacterMore) {
    const struct {
        Kind kind;
        int limit;  // digits
        int length;
    } kinds[] = {
        {Kind::Bit, 1, 1},        {Kind::Byte, 2, 2},         {Kind::FrameByte, 2, 2},
        {Kind::MaskLength, 2, 2}, {Kind::Address, 2, 2},      {Kind::FourByte, 8, 8},
        {Kind::Count, 9, 9},      {Kind::Uid, 16, 16},        {Kind::Request, 255, 255},
        {Kind::Data, 255, 255},   {Kind::RawFrame, 255, 382},
    };
    // "1" is a digit of every kind: hex, decimal and bit.
    const auto ones = [](int n) { return QString(n, QLatin1Char('1')); };
    for (const auto& k : kinds) {
        SCOPED_TRACE(kindName(k.kind));
        HexEntryBox box(*t.ctx, k.kind);
        EXPECT_EQ(box.maxLength(), k.length);
        const int beeps = t.ui.beeps();

        testsupport::typeKeys(&box, ones(k.limit));
        EXPECT_EQ(box.text(), ones(k.limit));
        testsupport::typeKeys(&box, QStringLiteral("1"));
        EXPECT_EQ(box.text(), ones(k.limit)) << "a character typed past the limit got in";
        EXPECT_EQ(t.ui.beeps(), beeps);

        box.clear();
        testsupport::pasteWithKeys(&box, ones(k.limit + 1));
        EXPECT_EQ(box.text(), QString()) << "a paste one character too long was kept in part";
        EXPECT_EQ(t.ui.beeps(), beeps + 1);
        testsupport::pasteWithKeys(&box, ones(k.limit));
        EXPECT_EQ(box.text(), ones(k.limit));
        EXPECT_EQ(t.ui.beeps(), beeps + 1);

        // Over the whole text, which the paste replaces, the limit is the same.
        const QString zeros(k.limit, QLatin1Char('0'));
        box.setText(zeros);
        box.selectAll();
        testsupport::pasteWithKeys(&box, ones(k.limit + 1));
        EXPECT_EQ(box.text(), zeros);
        EXPECT_EQ(t.ui.beeps(), beeps + 2);
        box.selectAll();
        testsupport::pasteWithKeys(&box, ones(k.limit));
        EXPECT_EQ(box.text(), ones(k.limit));
        EXPECT_EQ(t.ui.beeps(), beeps + 2);
    }
    // A frame pasted with a blank after each byte: the longest request with its blanks
    // fits the box; one digit more is a request the library does not take, refused whole.
    HexEntryBox frame(*t.ctx, Kind::RawFrame);
    const QString longest = QString(QStringLiteral("A5 ")).repeated(127) + QLatin1Char('A');
    const int beeps = t.ui.beeps();
    testsupport::pasteWithKeys(&frame, longest + QLatin1Char('5'));
    EXPECT_EQ(frame.text(), QString());
    EXPECT_EQ(t.ui.beeps(), beeps + 1);
    testsupport::pasteWithKeys(&frame, longest);
    EXPECT_EQ(frame.text(), longest);
    EXPECT_EQ(t.ui.beeps(), beeps + 1);
}

// Text reaches a box by the paste keys, its menu's Paste, a drop and an input method: each
// is refused whole, with a beep, when it does not fit in the room the box has left.
TEST_F(HexEntryBoxTest, EveryWayOfPastingRefusesTextThatDoesNotFitWhole) {
    using Route = std::function<void(QLineEdit*, const QString&)>;
    const std::pair<const char*, Route> routes[] = {
        {"Ctrl+V",
         [](QLineEdit* box, const QString& text) { testsupport::pasteWithKeys(box, text); }},
        {"Shift+Insert",
         [](QLineEdit* box, const QString& text) {
             QApplication::clipboard()->setText(text);
             QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
         }},
        {"the menu's Paste",
         [](QLineEdit* box, const QString& text) {
             QApplication::clipboard()->setText(text);
             QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(2, 2),
                                         box->mapToGlobal(QPoint(2, 2)));
             QCoreApplication::sendEvent(box, &menuEvent);
             auto* menu = box->findChild<QMenu*>();
             ASSERT_NE(menu, nullptr);
             QAction* paste = nullptr;
             for (QAction* a : menu->actions()) {
                 if (a->text().startsWith(QLatin1String("&Paste"))) paste = a;
             }
             ASSERT_NE(paste, nullptr);
             paste->trigger();
             delete menu;
         }},
        {"a drop",
         [](QLineEdit* box, const QString& text) {
             QMimeData data;
             data.setText(text);
             const QPointF at(box->width() - 1, 2);
             QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton,
                                   Qt::NoModifier);
             QCoreApplication::sendEvent(box, &enter);
             QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
             QCoreApplication::sendEvent(box, &drop);
         }},
        {"an input method",
         [](QLineEdit* box, const QString& text) {
             QInputMethodEvent composed;
             composed.setCommitString(text);
             QCoreApplication::sendEvent(box, &composed);
         }},
    };
    for (const auto& [name, route] : routes) {
        SCOPED_TRACE(name);
        HexEntryBox box(*t.ctx, Kind::FourByte);
        box.resize(200, 24);
        box.setText(QStringLiteral("1234"));
        box.end(false);
        const int beeps = t.ui.beeps();
        route(&box, QStringLiteral("ABCDE"));
        EXPECT_EQ(box.text(), QStringLiteral("1234"));
        EXPECT_EQ(t.ui.beeps(), beeps + 1);
        route(&box, QStringLiteral("ABCD"));
        EXPECT_EQ(box.text(), QStringLiteral("1234ABCD"));
        EXPECT_EQ(t.ui.beeps(), beeps + 1);
    }
}

TEST_F(HexEntryBoxTest, AnAddressBoxIsAsWideAsItsWindowMadeIt) {
    t.values().SelectedProduct.Density = 64;  // 2048 blocks: mask 7FF
    t.values().MemorySizeBytes = 8192;
    t.values().AddressMask = 0x7FF;
    HexEntryBox box(*t.ctx, Kind::Address);
    box.setMaxLength(3);
    box.setText("7fe");
    box.commit();
    EXPECT_EQ(box.text(), "7FE");
    box.setText("800");
    EXPECT_FALSE(box.commit()) << "block 800 is past a memory of 800 blocks";
    EXPECT_EQ(box.text(), "800");
    box.setText("");
    box.commit();
    EXPECT_EQ(box.text(), "000");
}

TEST_F(HexEntryBoxTest, AnAddressOfAByteAddressedMemoryKeepsItsByte) {
    // TOPAZ: 1 kbit in blocks of one byte, 128 addresses; 32 four-byte blocks would make
    // 40 into 00.
    t.values().SelectedProduct.Density = 1;
    t.values().SelectedProduct.PageSize = 1;
    t.values().MemorySizeBytes = 128;
    t.values().AddressMask = 0x7F;
    HexEntryBox box(*t.ctx, Kind::Address);
    for (const auto& [typed, shown] : {std::pair{"40", "40"}, {"7f", "7F"}, {"FF", "FF"}}) {
        box.setText(typed);
        EXPECT_EQ(box.commit(), std::string(typed) != "FF") << typed;
        EXPECT_EQ(box.text(), shown) << typed;
    }
}

TEST_F(HexEntryBoxTest, RawFrameColourFollowsTypedDigitsAndEnablesSend) {
    QPushButton send;
    HexEntryBox box(*t.ctx, Kind::RawFrame);
    box.setSendButton(&send);
    send.setEnabled(false);
    type(box, '0');
    EXPECT_TRUE(box.showsRed());
    EXPECT_TRUE(send.isEnabled());
    type(box, '1');
    EXPECT_FALSE(box.showsRed());
    send.setEnabled(false);
    box.setText("");
    box.commit();
    EXPECT_TRUE(box.showsRed());
    EXPECT_TRUE(send.isEnabled());
}

TEST_F(HexEntryBoxTest, UidBoxGivesTheUidInFrameOrderOrEmptiesIt) {
    struct Case {
        const char* typed;
        const char* shown;
        bool red;
        const char* transponderUid;
    };
    const Case cases[] = {
        {"e0020304050607a8", "E0020304050607A8", false, "A8070605040302E0"},
        {"transponder uid", "TRANSPONDER UID", false, "left over"},  // kept
        {"", "", true, ""},
        {"E00203", "E00203", true, ""},
        {"E0020304050607ZZ", "E0020304050607ZZ", true, ""},  // pasted, not hex
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        t.values().TransponderUID = "left over";
        HexEntryBox box(*t.ctx, Kind::Uid);
        box.setText(c.typed);
        box.commit();
        EXPECT_EQ(box.text(), QString::fromLatin1(c.shown));
        EXPECT_EQ(box.showsRed(), c.red);
        EXPECT_EQ(t.values().TransponderUID, QString::fromLatin1(c.transponderUid));
    }
}

TEST_F(HexEntryBoxTest, LeavingTheBoxAppliesTheRuleButSwitchingProgramsDoesNot) {
    HexEntryBox box(*t.ctx, Kind::Byte);
    box.setText("a");
    QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(&box, &away);
    EXPECT_EQ(box.text(), "a");
    QFocusEvent tab(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(&box, &tab);
    EXPECT_EQ(box.text(), "0A");
}

}  // namespace

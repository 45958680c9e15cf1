#include "widgets/log_pane.hpp"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <cerrno>
#include <cstring>
#include <functional>

#include "core/log_entry.hpp"
#include "core/settings_file.hpp"
#include "file_size_limit.hpp"
#include "test_context.hpp"
#include "widgets/log_view.hpp"

namespace {

using widgets::LogPane;
namespace entry = core::log_entry;

const QDateTime kWhen(QDate(2012, 5, 9), QTime(14, 5, 9));

TEST(LogEntry, EachLayoutWritesItsExactText) {
    struct Case {
        const char* name;
        QString entry;
        const char* expected;
    };
    const Case cases[] = {
        {"titled", entry::titled(kWhen, "REQB", core::kLogSendRecv, "R", "A"),
         "\r\n05-09-2012 14:05:09\tREQB\r\n\t\t\t>>> TQ73RNDLL_SENDRECV, R\r\n\t\t\t<<< A"},
        {"untitled with request", entry::untitledWithRequest(kWhen, core::kLogKvCmd, "R", "A"),
         "\r\n05-09-2012 14:05:09\t>>> TQ73RNDLL_KVCMD, R\r\n\t\t\t<<< A"},
        {"a log name ending with its own comma",
         entry::untitledWithRequest(kWhen, core::kLogKvCmdRaw, "01 0400", "0000"),
         "\r\n05-09-2012 14:05:09\t>>> TQ73RNDll_KVCmd, 01 0400\r\n\t\t\t<<< 0000"},
        {"echo", entry::untitledWithoutRequest(kWhen, core::kLogEcho, "5500"),
         "\r\n05-09-2012 14:05:09\t>>> TQ73RNDLL_ECHO\r\n\t\t\t<<< 5500"},
        {"board tools", entry::boardTools(kWhen, "TQ73RNDLL_GETMCUREV", "0003010401"),
         "\r\n05-09-2012 \t>>> TQ73RNDLL_GETMCUREV\r\n\t\t<<< 0003010401"},
        {"progress", entry::progressLine(kWhen, "step 1"),
         "\r\n\r\n05-09-2012 14:05:09\t>>> step 1"},
        {"midnight and single digits",
         entry::untitledWithoutRequest(QDateTime(QDate(987, 1, 2), QTime(0, 0, 7)), "X", ""),
         "\r\n01-02-0987 00:00:07\t>>> X\r\n\t\t\t<<< "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.entry, QString::fromLatin1(c.expected));
    }
}

class LogPaneTest : public ::testing::Test {
  protected:
    void SetUp() override {
        t.clock.set(kWhen);
        pane.attach(&view);
    }

    // Two entries, as a window writes them.
    void writeTwo() {
        pane.appendTitled("REQB", core::kLogSendRecv, "050008", "80055000");
        pane.appendUntitled(core::kLogEcho, "5500");
    }
    QString settingsFile() const { return core::usageFilePath(t.ctx->programFolder()); }
    QByteArray settingsContent() const {
        QFile f(settingsFile());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
    }
    QByteArray fileContent(const QString& path) const {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
    }
    core::FileDialogResult chosen(const QString& path) {
        return {path, QFileInfo(path).fileName()};
    }

    testsupport::TestContext t;
    widgets::LogView view;
    QTextEdit box;  // the board tools' editable log
    LogPane pane{*t.ctx};
};

TEST_F(LogPaneTest, EntriesAppendToTheBoxWhichShowsTheWholeLogWithTheCaretAtTheEnd) {
    EXPECT_TRUE(view.isReadOnly());
    writeTwo();
    const QString expected =
        entry::titled(kWhen, "REQB", core::kLogSendRecv, "050008", "80055000") +
        entry::untitledWithoutRequest(kWhen, core::kLogEcho, "5500");
    EXPECT_EQ(pane.text(), expected);
    QString shown = expected;
    shown.replace("\r\n", "\n");
    EXPECT_EQ(view.toPlainText(), shown);
    EXPECT_EQ(view.verticalScrollBar()->value(), view.verticalScrollBar()->maximum());
}

TEST_F(LogPaneTest, ClearEmptiesLogAndBoxAndASaveAfterwardsOpensNoDialog) {
    writeTwo();
    pane.clear();
    EXPECT_TRUE(pane.text().isEmpty());
    EXPECT_TRUE(view.toPlainText().isEmpty());
    EXPECT_EQ(pane.save(), LogPane::SaveOutcome::NothingToSave);
    EXPECT_TRUE(t.ui.dialogRequests().empty());
}

TEST_F(LogPaneTest, SaveWritesTheLogAsSingleByteTextAndRecordsANewFolder) {
    t.values().LastUsedFolder = t.ctx->programFolder();
    t.values().BackColorSetting = "255";
    pane.appendUntitled(core::kLogEcho, QString::fromLatin1("55\xE9"));
    QDir(t.folder.path()).mkdir("logs");
    const QString path = t.path("logs/run.txt");
    t.ui.expectSaveDialog(chosen(path));

    EXPECT_EQ(pane.save(), LogPane::SaveOutcome::Saved);

    ASSERT_EQ(t.ui.dialogRequests().size(), 1u);
    EXPECT_EQ(t.ui.dialogRequests()[0].filter, widgets::kLogFileFilter);
    EXPECT_EQ(t.ui.dialogRequests()[0].initialFolder, t.ctx->programFolder());
    EXPECT_EQ(fileContent(path), pane.text().toLatin1());
    EXPECT_TRUE(fileContent(path).contains('\xE9'));
    const auto record = core::parseUsageRecord(settingsContent());
    ASSERT_TRUE(record);
    EXPECT_EQ(QDir::cleanPath(record->folder), QDir::cleanPath(t.path("logs")));
    EXPECT_EQ(record->colour, "255");
    // The folder is for the next start: this run's dialogs still open where they did.
    EXPECT_EQ(t.values().LastUsedFolder, t.ctx->programFolder());
    EXPECT_FALSE(t.ui.isBusy());
}

// A log holding a character no single byte can carry keeps every character: the file
// is UTF-8 behind a byte-order mark, and reads back as the log was. A log whose every
// character has a single byte stays single-byte, without the mark.
TEST_F(LogPaneTest, ALogThatNeedsMoreThanOneByteACharacterIsSavedWhole) {
    const QByteArray mark("\xEF\xBB\xBF");
    const struct {
        const char* name;
        QString text;
        bool marked;
    } cases[] = {
        {"single byte, the highest too", QString::fromLatin1("REM,caf\xE9 \xFF"), false},
        {"a script's comment", QString::fromUtf8("REM,\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E"), true},
        {"just past a single byte", QString(QChar(0x0100)), true},
        {"beyond the basic plane", QString::fromUtf8("\xF0\x9F\x93\xA1 antenna"), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        pane.clear();
        pane.appendUntitled(core::kLogEcho, c.text);
        const QString path = t.path("log.txt");
        t.ui.expectSaveDialog(chosen(path));
        ASSERT_EQ(pane.save(), LogPane::SaveOutcome::Saved);
        const QByteArray saved = fileContent(path);
        EXPECT_EQ(saved.startsWith(mark), c.marked);
        EXPECT_EQ(
            c.marked ? QString::fromUtf8(saved.sliced(mark.size())) : QString::fromLatin1(saved),
            pane.text());
        EXPECT_FALSE(saved.contains('?'));
    }
}

TEST_F(LogPaneTest, ANameTypedWithoutSuffixGetsTheOneTheFilterShows) {
    writeTwo();
    t.ui.expectSaveDialog(chosen(t.path("run")));
    EXPECT_EQ(pane.save(), LogPane::SaveOutcome::Saved);
    EXPECT_EQ(t.ui.dialogRequests()[0].defaultSuffix, "txt");
    EXPECT_EQ(fileContent(t.path("run.txt")), pane.text().toLatin1());
    EXPECT_FALSE(QFile::exists(t.path("run")));
}

// The folder read at start-up is the program's folder without its final separator (no
// settings file yet) or a recorded one with it: saving there rewrites nothing.
TEST_F(LogPaneTest, SaveIntoTheFolderAlreadyRecordedLeavesTheSettingsFileAlone) {
    const QString folder = t.ctx->programFolder();
    const QByteArray recorded = "\"elsewhere\",\"&h00FFFFFF\"\r\n";
    t.values().BackColorSetting = "255";
    writeTwo();
    for (const QString& lastUsed : {folder, folder + "/", folder + "//", folder + "/./"}) {
        SCOPED_TRACE(lastUsed.toStdString());
        {
            QFile f(settingsFile());
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(recorded);
        }
        t.values().LastUsedFolder = lastUsed;
        t.ui.expectSaveDialog(chosen(t.path("same.txt")));
        EXPECT_EQ(pane.save(), LogPane::SaveOutcome::Saved);
        EXPECT_EQ(settingsContent(), recorded);
    }
    // Any other folder is recorded.
    t.values().LastUsedFolder = folder + "/logs";
    t.ui.expectSaveDialog(chosen(t.path("same.txt")));
    EXPECT_EQ(pane.save(), LogPane::SaveOutcome::Saved);
    EXPECT_EQ(settingsContent(), core::usageRecordText(folder + "/", "255"));
}

TEST_F(LogPaneTest, AFailedWriteNamesTheSystemsReason) {
    writeTwo();
    const QString path = t.path("full.txt");
    t.ui.expectSaveDialog(chosen(path));
    t.ui.expectMessage();
    {
        // Stands for a full disk: the log cannot be written whole.
        testsupport::FileSizeLimit limit(8);
        ASSERT_TRUE(limit.ok());
        EXPECT_EQ(pane.save(), LogPane::SaveOutcome::WriteFailed);
    }
    ASSERT_EQ(t.ui.messages().size(), 1u);
    EXPECT_EQ(t.ui.messages()[0].text,
              widgets::kSaveLogFailedText.arg(QDir::toNativeSeparators(path),
                                              QString::fromLocal8Bit(std::strerror(EFBIG))));
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(LogPaneTest, CancelWritesNothingAndRestoresThePointer) {
    writeTwo();
    t.ui.expectSaveDialog(std::nullopt);
    EXPECT_EQ(pane.save(), LogPane::SaveOutcome::Cancelled);
    EXPECT_FALSE(t.ui.isBusy());
    EXPECT_FALSE(QFile::exists(settingsFile()));
    EXPECT_TRUE(t.ui.messages().empty());
}

TEST_F(LogPaneTest, AFailedWriteIsToldToTheUserAndTheFolderIsNotRecorded) {
    writeTwo();
    const QByteArray before = settingsContent();
    const QString path = t.path("no such folder/log.txt");
    t.ui.expectSaveDialog(chosen(path));
    t.ui.expectMessage();

    EXPECT_EQ(pane.save(), LogPane::SaveOutcome::WriteFailed);

    ASSERT_EQ(t.ui.messages().size(), 1u);
    EXPECT_EQ(t.ui.messages()[0].title, widgets::kSaveLogTitle);
    EXPECT_TRUE(t.ui.messages()[0].text.contains(QDir::toNativeSeparators(path)));
    EXPECT_EQ(settingsContent(), before);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_FALSE(t.ui.isBusy());
}

TEST_F(LogPaneTest, TheRecordedFolderKeepsAFolderNameThatContainsTheFileName) {
    writeTwo();
    QDir(t.folder.path()).mkdir("old log.txt files");
    const QString path = t.path("old log.txt files/log.txt");
    t.ui.expectSaveDialog(chosen(path));
    EXPECT_EQ(pane.save(), LogPane::SaveOutcome::Saved);
    const auto record = core::parseUsageRecord(settingsContent());
    ASSERT_TRUE(record);
    EXPECT_EQ(QDir::cleanPath(record->folder), QDir::cleanPath(t.path("old log.txt files")));
}

TEST_F(LogPaneTest, AnEditableBoxSavesWhatTheUserTypedUntilTheNextEntryReplacesIt) {
    pane.attach(&box, true);
    EXPECT_FALSE(box.isReadOnly());
    pane.appendBoardTools("TQ73RNDLL_ECHO", "5500");
    box.moveCursor(QTextCursor::End);
    box.insertPlainText("note");  // the user's typing

    const QString path = t.path("typed.txt");
    t.values().LastUsedFolder = t.ctx->programFolder();
    t.ui.expectSaveDialog(chosen(path));
    EXPECT_EQ(pane.save(), LogPane::SaveOutcome::Saved);
    EXPECT_EQ(fileContent(path), (pane.text() + "note").toLatin1());

    pane.appendBoardTools("TQ73RNDLL_ECHO", "5500");
    EXPECT_FALSE(box.toPlainText().contains("note"));
}

// Copy as the user reaches it, by the keyboard and by the context menu, on a log the
// user selected with the mouse or the keyboard.
class LogCopyTest : public LogPaneTest {
  protected:
    void SetUp() override {
        LogPaneTest::SetUp();
        writeTwo();
        view.resize(640, 320);
        view.show();
    }

    // The view's lines: 0 is the empty line every log starts with, 1 to 3 the first
    // entry, 4 and 5 the second.
    QString line(int i) const { return view.toPlainText().split(QLatin1Char('\n')).at(i); }
    // The point of the viewport at a character boundary of a line, in the middle of the
    // line's height. The text starts a few pixels in from the viewport's corner; aiming
    // at a boundary leaves half a character's slack either way. Columns are counted
    // where no tab comes before them, so the plain advance of the text is their place.
    QPoint at(int lineIndex, int column) const {
        const QFontMetrics m(view.font());
        const int x = kTextInset + m.horizontalAdvance(line(lineIndex).left(column));
        return {x, kTextInset / 2 + lineIndex * m.lineSpacing() + m.lineSpacing() / 2};
    }
    void drag(QPoint from, QPoint to) {
        QWidget* port = view.viewport();
        QTest::mousePress(port, Qt::LeftButton, {}, from);
        QTest::mouseMove(port, (from + to) / 2);
        QTest::mouseMove(port, to);
        QTest::mouseRelease(port, Qt::LeftButton, {}, to);
    }
    // Opens the view's context menu where the user right-clicks and clicks its item
    // `caption`; a disabled item does nothing, and the menu is then left with Escape.
    void menuItem(const QString& caption) {
        bool found = false;
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu) return;
            for (QAction* a : menu->actions()) {
                if (a->text() != caption) continue;
                found = true;
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
            }
            if (menu->isVisible()) QTest::keyClick(menu, Qt::Key_Escape);
        });
        const QPoint where = at(2, 0);
        QContextMenuEvent event(QContextMenuEvent::Mouse, where,
                                view.viewport()->mapToGlobal(where));
        QApplication::sendEvent(view.viewport(), &event);
        EXPECT_TRUE(found) << caption.toStdString();
    }

    static constexpr int kTextInset = 4;

    // Takes every press and release meant for a widget while it lives.
    class ClickTaker : public QObject {
      public:
        explicit ClickTaker(QWidget* target) : target_(target) { qApp->installEventFilter(this); }
        ~ClickTaker() override { qApp->removeEventFilter(this); }

      protected:
        bool eventFilter(QObject* watched, QEvent* event) override {
            return watched == target_ && (event->type() == QEvent::MouseButtonPress ||
                                          event->type() == QEvent::MouseButtonRelease);
        }

      private:
        QWidget* target_;
    };
};

TEST_F(LogCopyTest, CopyPutsExactlyTheSelectionOnTheClipboard) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    const QString held = QStringLiteral("held before the copy");
    QString whole = pane.text();
    whole.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    const QString acrossLines = QStringLiteral(
        "14:05:09\tREQB\n\t\t\t>>> TQ73RNDLL_SENDRECV, 050008\n\t\t\t<<< 80055000\n05-09-2012");

    const struct {
        const char* name;
        std::function<void()> select;
        QString expected;
    } selections[] = {
        {"part of one line", [&] { drag(at(1, 3), at(1, 10)); }, QStringLiteral("09-2012")},
        {"across lines", [&] { drag(at(1, 11), at(4, 10)); }, acrossLines},
        {"across lines, dragged upwards", [&] { drag(at(4, 10), at(1, 11)); }, acrossLines},
        // As the window system delivers it: click, press, double click, release.
        {"one line by a double click",
         [&] {
             QWidget* port = view.viewport();
             QTest::mouseClick(port, Qt::LeftButton, {}, at(3, 0));
             QTest::mousePress(port, Qt::LeftButton, {}, at(3, 0));
             QTest::mouseDClick(port, Qt::LeftButton, {}, at(3, 0));
             QTest::mouseRelease(port, Qt::LeftButton, {}, at(3, 0));
         },
         QStringLiteral("\t\t\t<<< 80055000")},
        {"everything by Ctrl+A", [&] { QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier); },
         whole},
        {"everything by the menu", [&] { menuItem(QStringLiteral("Select All")); }, whole},
        // The selection ends where the button goes up, though no move reached it.
        {"a drag released past its last move",
         [&] {
             QTest::mousePress(view.viewport(), Qt::LeftButton, {}, at(1, 3));
             QTest::mouseMove(view.viewport(), at(1, 6));
             QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, at(1, 10));
         },
         QStringLiteral("09-2012")},
        // Moves with the button held whose press went elsewhere (a window that takes the
        // clicks during a pause) leave the last selection alone.
        {"a later drag whose press the view never got",
         [&] {
             drag(at(1, 3), at(1, 10));
             ClickTaker taker(view.viewport());
             drag(at(2, 0), at(4, 10));
         },
         QStringLiteral("09-2012")},
        // A click without a drag leaves nothing selected.
        {"nothing", [&] { QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, at(1, 3)); },
         held},
    };
    const struct {
        const char* name;
        std::function<void()> copy;
    } copies[] = {
        {"Ctrl+C", [&] { QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier); }},
        {"the menu's Copy", [&] { menuItem(QStringLiteral("&Copy")); }},
    };
    for (const auto& s : selections) {
        for (const auto& c : copies) {
            SCOPED_TRACE(std::string(s.name) + ", copied by " + c.name);
            // A click first clears what the case before selected.
            QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, at(5, 0));
            clipboard->setText(held);
            ASSERT_EQ(clipboard->text(), held);
            s.select();
            c.copy();
            EXPECT_EQ(clipboard->text(), s.expected);
        }
    }
    // The log itself is untouched by selecting and copying.
    QString shown = pane.text();
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    EXPECT_EQ(view.toPlainText(), shown);
}

// The longest line can be read to its last character: scrolled to the far right, a drag
// from the view's right edge selects the line's end.
TEST_F(LogPaneTest, TheWidestLineCanBeReachedToItsLastCharacter) {
    const QString answer = QString(120, QLatin1Char('A')) + QLatin1Char('Z');
    pane.appendUntitled(core::kLogEcho, answer);
    view.resize(240, 160);
    view.show();
    (void)view.grab();
    QCoreApplication::processEvents();
    const QStringList lines = view.toPlainText().split(QLatin1Char('\n'));
    const qsizetype index = lines.indexOf(QRegularExpression(QStringLiteral(".*AZ$")));
    ASSERT_GE(index, 0);
    QScrollBar* h = view.horizontalScrollBar();
    ASSERT_GT(h->maximum(), 0);
    h->setValue(h->maximum());
    const int y = view.fontMetrics().lineSpacing() * static_cast<int>(index) +
                  view.fontMetrics().lineSpacing() / 2 + 2;
    QWidget* port = view.viewport();
    const QPoint edge(port->width() - 1, y);
    const QPoint inside(port->width() - 60, y);
    QTest::mousePress(port, Qt::LeftButton, {}, edge);
    QTest::mouseMove(port, inside);
    QTest::mouseRelease(port, Qt::LeftButton, {}, inside);
    EXPECT_TRUE(view.selectedText().endsWith(QStringLiteral("AZ")))
        << view.selectedText().toStdString();
}

// The keys move the view over a long log as a text view's do: a line, a page, its ends.
TEST_F(LogPaneTest, TheKeysScrollTheViewByALineAPageOrToItsEnds) {
    for (int i = 0; i < 200; ++i) {
        pane.appendTitled("READ", core::kLogSendRecv, QStringLiteral("0220") + QString::number(i),
                          "8008000000000077CF00 and a long tail to scroll sideways over");
    }
    view.resize(240, 160);
    view.show();
    // The lines are measured as they are drawn; the sideways range follows.
    (void)view.grab();
    QCoreApplication::processEvents();
    QScrollBar* v = view.verticalScrollBar();
    QScrollBar* h = view.horizontalScrollBar();
    ASSERT_GT(v->maximum(), 4 * v->pageStep());
    ASSERT_GT(h->maximum(), 0);
    const int middle = v->maximum() / 2;
    const struct {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        std::function<int()> line;    // the first line shown afterwards
        std::function<int()> column;  // the first pixel column shown afterwards
    } keys[] = {
        {"Up", Qt::Key_Up, {}, [&] { return middle - 1; }, [] { return 0; }},
        {"Down", Qt::Key_Down, {}, [&] { return middle + 1; }, [] { return 0; }},
        {"Page Up", Qt::Key_PageUp, {}, [&] { return middle - v->pageStep(); }, [] { return 0; }},
        {"Page Down",
         Qt::Key_PageDown,
         {},
         [&] { return middle + v->pageStep(); },
         [] { return 0; }},
        {"Ctrl+Home", Qt::Key_Home, Qt::ControlModifier, [] { return 0; }, [] { return 0; }},
        {"Ctrl+End", Qt::Key_End, Qt::ControlModifier, [&] { return v->maximum(); },
         [] { return 0; }},
        {"End", Qt::Key_End, {}, [&] { return middle; }, [&] { return h->maximum(); }},
    };
    for (const auto& k : keys) {
        SCOPED_TRACE(k.name);
        v->setValue(middle);
        h->setValue(0);
        QTest::keyClick(&view, k.key, k.modifiers);
        EXPECT_EQ(v->value(), k.line());
        EXPECT_EQ(h->value(), k.column());
    }
    // Home comes back from the far right to the lines' start.
    QTest::keyClick(&view, Qt::Key_End);
    ASSERT_GT(h->value(), 0);
    QTest::keyClick(&view, Qt::Key_Home);
    EXPECT_EQ(h->value(), 0);
}

// A drag held past an edge of the view goes on scrolling that way while the pointer stays
// there, and the selection grows with it, as in any text view; letting the button go ends
// both. The pointer does not move while the view scrolls.
TEST_F(LogPaneTest, ADragHeldPastAnEdgeKeepsScrollingAndSelectingUntilTheButtonGoesUp) {
    for (int i = 0; i < 200; ++i) {
        pane.appendTitled("READ", core::kLogSendRecv, QStringLiteral("0220") + QString::number(i),
                          "8008000000000077CF00 and a long tail to scroll sideways over");
    }
    view.resize(240, 160);
    view.show();
    // The lines are measured as they are drawn; the sideways range follows.
    (void)view.grab();
    QCoreApplication::processEvents();
    QWidget* port = view.viewport();
    QScrollBar* v = view.verticalScrollBar();
    QScrollBar* h = view.horizontalScrollBar();
    ASSERT_GT(v->maximum(), 100);
    ASSERT_GT(h->maximum(), 0);
    const QPoint middle = port->rect().center();
    const struct {
        const char* name;
        QPoint past;      // where the pointer is held
        QScrollBar* bar;  // the bar that moves
        int direction;    // +1 down or right, -1 up or left
    } edges[] = {
        {"below", {middle.x(), port->height() + 20}, v, +1},
        {"above", {middle.x(), -20}, v, -1},
        {"right of it", {port->width() + 20, middle.y()}, h, +1},
        {"left of it", {-20, middle.y()}, h, -1},
    };
    for (const auto& e : edges) {
        SCOPED_TRACE(e.name);
        v->setValue(v->maximum() / 2);
        // Sideways from the far side: the range is narrower than the lines' count.
        h->setValue(e.direction > 0 ? 0 : h->maximum());
        QTest::mousePress(port, Qt::LeftButton, {}, middle);
        QTest::mouseMove(port, e.past);
        int at = e.bar->value();
        qsizetype selected = view.selectedText().size();
        // Held still: the view scrolls on and the selection grows, a step after another.
        for (int wait = 0; wait < 2; ++wait) {
            QTest::qWait(250);
            EXPECT_GT((e.bar->value() - at) * e.direction, 0) << "after wait " << wait;
            EXPECT_GT(view.selectedText().size(), selected) << "after wait " << wait;
            at = e.bar->value();
            selected = view.selectedText().size();
        }
        QTest::mouseRelease(port, Qt::LeftButton, {}, e.past);
        const QString kept = view.selectedText();
        at = e.bar->value();
        QTest::qWait(250);
        EXPECT_EQ(e.bar->value(), at) << "after the release";
        EXPECT_EQ(view.selectedText(), kept) << "after the release";
    }
}

}  // namespace

// Every text a user reads in every view of every window, held against a reviewed file per
// window in tests/app/view_texts/: the window's caption and, control by control, the kind,
// the name, the text (a caption, a frame's title, what a box or list shows) and the tool
// tip of each visible control, as its place in the frames nests it. A caption a pick writes
// (a console command's panel title, a protocol's byte titles, a product's window caption, a
// write set-up's Write caption) is held in the view the pick brings up; an empty text where
// nothing is to be read yet is held as empty. Places, sizes and fonts are the layout test's.
//
// A file lists, for each view of the window (headed "== view"), one line per control; a
// line that only one of the walk's boards shows ends in "<- library N only". Setting
// TQ_WRITE_VIEW_TEXTS=1 writes the files from what the windows show instead of comparing;
// a file so written must be read against what each text is to be before it is committed.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTableWidget>
#include <QTextEdit>
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "every_view.hpp"
#include "sending_buttons.hpp"
#include "widgets/log_view.hpp"

namespace {

using Lines = std::vector<QString>;

QString quoted(const QString& text) {
    QString q;
    q.reserve(text.size() + 2);
    q += QLatin1Char('"');
    for (const QChar c : text) {
        switch (c.unicode()) {
            case '"':
                q += QStringLiteral("\\\"");
                break;
            case '\\':
                q += QStringLiteral("\\\\");
                break;
            case '\n':
                q += QStringLiteral("\\n");
                break;
            case '\r':
                q += QStringLiteral("\\r");
                break;
            case '\t':
                q += QStringLiteral("\\t");
                break;
            default:
                q += c;
        }
    }
    q += QLatin1Char('"');
    return q;
}

// What the user reads of one control: its kind, name and text, then its entries (a list's
// items, a tab strip's pages, a grid's rows), each on a line of its own. Nothing for a
// control that shows no text of its own (a line, a container), unless it has a tool tip.
Lines describe(const QWidget* c) {
    QString kind;
    QString text;
    Lines entries;
    if (const auto* l = qobject_cast<const QLabel*>(c)) {
        kind = l->pixmap().isNull() ? QStringLiteral("label") : QStringLiteral("picture");
        text = l->text();
    } else if (qobject_cast<const QCheckBox*>(c)) {
        kind = QStringLiteral("check box");
    } else if (qobject_cast<const QRadioButton*>(c)) {
        kind = QStringLiteral("option");
    } else if (qobject_cast<const QAbstractButton*>(c)) {
        kind = QStringLiteral("button");
    } else if (const auto* g = qobject_cast<const QGroupBox*>(c)) {
        kind = QStringLiteral("frame");
        text = g->title();
    } else if (const auto* e = qobject_cast<const QLineEdit*>(c)) {
        // What the box shows: a masked box shows the blanks of its mask where nothing is typed.
        kind = QStringLiteral("box");
        text = e->displayText();
    } else if (const auto* combo = qobject_cast<const QComboBox*>(c)) {
        kind = QStringLiteral("list");
        text = combo->currentText();
        for (int i = 0; i < combo->count(); ++i) entries.push_back(quoted(combo->itemText(i)));
    } else if (const auto* tabs = qobject_cast<const QTabBar*>(c)) {
        kind = QStringLiteral("tabs");
        for (int i = 0; i < tabs->count(); ++i) {
            entries.push_back(quoted(tabs->tabText(i)) +
                              (tabs->tabToolTip(i).isEmpty()
                                   ? QString()
                                   : QStringLiteral(" tip ") + quoted(tabs->tabToolTip(i))));
        }
    } else if (const auto* grid = qobject_cast<const QTableWidget*>(c)) {
        kind = QStringLiteral("grid");
        auto row = [](const QStringList& cells) {
            QString line;
            for (const QString& cell : cells) {
                if (!line.isEmpty()) line += QLatin1Char(' ');
                line += quoted(cell);
            }
            return line;
        };
        QStringList header;
        if (grid->horizontalHeader()->isVisible()) {
            for (int col = 0; col < grid->columnCount(); ++col) {
                const QTableWidgetItem* h = grid->horizontalHeaderItem(col);
                header << (h ? h->text() : QString());
            }
            entries.push_back(QStringLiteral("header ") + row(header));
        }
        for (int r = 0; r < grid->rowCount(); ++r) {
            QStringList cells;
            for (int col = 0; col < grid->columnCount(); ++col) {
                const QTableWidgetItem* item = grid->item(r, col);
                cells << (item ? item->text() : QString());
            }
            entries.push_back(row(cells));
        }
    } else if (const auto* list = qobject_cast<const QListWidget*>(c)) {
        kind = QStringLiteral("list view");
        for (int i = 0; i < list->count(); ++i) entries.push_back(quoted(list->item(i)->text()));
    } else if (const auto* log = qobject_cast<const widgets::LogView*>(c)) {
        kind = QStringLiteral("log");
        text = log->toPlainText();
    } else if (const auto* t = qobject_cast<const QTextEdit*>(c)) {
        kind = QStringLiteral("text");
        text = t->toPlainText();
    } else if (const auto* pt = qobject_cast<const QPlainTextEdit*>(c)) {
        kind = QStringLiteral("text");
        text = pt->toPlainText();
    } else if (!c->toolTip().isEmpty()) {
        kind = QStringLiteral("control");
    } else {
        return {};
    }
    if (const auto* b = qobject_cast<const QAbstractButton*>(c)) text = b->text();
    QString line = kind + QLatin1Char(' ') +
                   (c->objectName().isEmpty() ? QStringLiteral("(unnamed)") : c->objectName());
    if (kind != QLatin1String("tabs") && kind != QLatin1String("grid") &&
        kind != QLatin1String("list view") && kind != QLatin1String("control"))
        line += QLatin1Char(' ') + quoted(text);
    if (!c->toolTip().isEmpty()) line += QStringLiteral(" tip ") + quoted(c->toolTip());
    Lines lines{line};
    for (const QString& entry : entries) lines.push_back(QStringLiteral("- ") + entry);
    return lines;
}

// The texts of the visible controls under `parent`, each control's lines indented under the
// control that holds it.
void addTexts(const QWidget* window, const QWidget* parent, int depth, Lines& out) {
    for (const QWidget* c : apptest::shownChildren(window, parent)) {
        const Lines lines = describe(c);
        const QString indent(2 * depth, QLatin1Char(' '));
        for (std::size_t i = 0; i < lines.size(); ++i)
            out.push_back(indent + (i == 0 ? QString() : QStringLiteral("  ")) + lines[i]);
        if (apptest::holdsControls(c)) addTexts(window, c, lines.empty() ? depth : depth + 1, out);
    }
}

void addView(const QWidget* window, const QString& view, Lines& out) {
    out.push_back(QStringLiteral("== ") + view);
    out.push_back(QStringLiteral("window ") + quoted(window->windowTitle()));
    addTexts(window, window, 0, out);
}

// The buttons that open a page-write panel, each laying it out for its own command and
// giving its Write button the command's caption: the ISO15693 window's eight, the
// ISO14443-A window's four (two in each mode) and the ISO14443-B window's one.
const char* const kPanelSetUps[] = {
    "cmdWriteSingleBlock",
    "cmdWriteAFI",
    "cmdWriteDSFID",
    "cmdWriteKill",
    "cmdKill",
    "cmdWriteSectorPassword",
    "cmdLockSectorPassword",
    "cmdPresentSectorPassword",
    "cmd_ISO14443A_Write",
    "cmd_ISO14443A_Write_compatibility",
    "cmd_ISO14443A_TOPAZ_Write_E",
    "cmd_ISO14443A_TOPAZ_Write_NE",
    "cmd_ISO14443B_Write",
};

// After the walk's views, each write set-up the window shows, with its panel open; the
// panel's Cancel closes it again before the next.
int setUpViews(core::ToolWindow* w, const std::function<void(const QString&)>& show) {
    int shown = 0;
    for (const char* name : kPanelSetUps) {
        auto* setUp = w->findChild<QAbstractButton*>(QLatin1String(name));
        if (!setUp || !setUp->isVisibleTo(w) || !setUp->isEnabled()) continue;
        setUp->click();
        show(QStringLiteral("set-up %1 %2").arg(setUp->objectName(), quoted(setUp->text())));
        ++shown;
        auto* cancel = w->findChild<QAbstractButton*>(QStringLiteral("cmdCancelWriteTest"));
        EXPECT_TRUE(cancel && cancel->isVisibleTo(w)) << name << " opened no panel";
        if (cancel) cancel->click();
    }
    return shown;
}

// The longest common run of lines of `a` and `b`, as pairs of indexes.
std::vector<std::pair<std::size_t, std::size_t>> commonLines(const Lines& a, const Lines& b) {
    std::vector<std::vector<int>> after(a.size() + 1, std::vector<int>(b.size() + 1, 0));
    for (std::size_t i = a.size(); i-- > 0;) {
        for (std::size_t j = b.size(); j-- > 0;) {
            after[i][j] =
                a[i] == b[j] ? after[i + 1][j + 1] + 1 : std::max(after[i + 1][j], after[i][j + 1]);
        }
    }
    std::vector<std::pair<std::size_t, std::size_t>> common;
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i] == b[j]) {
            common.emplace_back(i++, j++);
        } else if (after[i + 1][j] >= after[i][j + 1]) {
            ++i;
        } else {
            ++j;
        }
    }
    return common;
}

// The walk's boards' texts of one window as one list: lines that only one board shows are
// marked with its library revision.
Lines mergeBoards(const std::vector<std::pair<int, Lines>>& boards) {
    Lines merged = boards.front().second;
    for (std::size_t k = 1; k < boards.size(); ++k) {
        const Lines& other = boards[k].second;
        const auto common = commonLines(merged, other);
        auto only = [](const QString& line, int revision) {
            return line + QStringLiteral("  <- library %1 only").arg(revision);
        };
        Lines next;
        std::size_t i = 0;
        std::size_t j = 0;
        auto flush = [&](std::size_t toI, std::size_t toJ) {
            for (; i < toI; ++i) next.push_back(only(merged[i], boards.front().first));
            for (; j < toJ; ++j) next.push_back(only(other[j], boards[k].first));
        };
        for (const auto& [ci, cj] : common) {
            flush(ci, cj);
            next.push_back(merged[i++]);
            ++j;
        }
        flush(merged.size(), other.size());
        merged = std::move(next);
    }
    return merged;
}

// The lines of `expected` and `actual` that differ, with a line of context around each run,
// under the view they belong to, as "-" for the file's and "+" for what the window shows.
std::string difference(const Lines& expected, const Lines& actual) {
    const auto common = commonLines(expected, actual);
    std::string out;
    std::size_t i = 0;
    std::size_t j = 0;
    QString view;
    auto viewOf = [&actual](std::size_t upTo) {
        for (std::size_t k = std::min(upTo, actual.size()); k-- > 0;) {
            if (actual[k].startsWith(QLatin1String("== "))) return actual[k];
        }
        return QString();
    };
    auto line = [&out](char mark, const QString& text) {
        out += mark;
        out += ' ';
        out += text.toStdString();
        out += '\n';
    };
    auto flush = [&](std::size_t toI, std::size_t toJ) {
        if (i == toI && j == toJ) return;
        const QString at = viewOf(j + 1);
        if (at != view) {
            view = at;
            out += "in " + view.toStdString() + ":\n";
        }
        out += "at line " + std::to_string(j + 1) + ":\n";
        if (i > 0) line(' ', expected[i - 1]);
        for (; i < toI; ++i) line('-', expected[i]);
        for (; j < toJ; ++j) line('+', actual[j]);
        if (j < actual.size()) line(' ', actual[j]);
    };
    for (const auto& [ci, cj] : common) {
        flush(ci, cj);
        ++i;
        ++j;
    }
    flush(expected.size(), actual.size());
    return out;
}

QString textsFolder() { return QStringLiteral(TQ_VIEW_TEXTS_DIR); }

bool writing() { return qEnvironmentVariableIntValue("TQ_WRITE_VIEW_TEXTS") == 1; }

// Compares the window's texts with its file, or writes the file when asked to.
void holdAgainstFile(const QString& window, const Lines& actual) {
    SCOPED_TRACE(window.toStdString());
    QFile file(QDir(textsFolder()).filePath(window + QStringLiteral(".txt")));
    if (writing()) {
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        for (const QString& line : actual) file.write(line.toUtf8() + '\n');
        return;
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly))
        << file.fileName().toStdString() << " is missing: TQ_WRITE_VIEW_TEXTS=1 writes it";
    Lines expected;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n')))
        expected.push_back(line);
    if (!expected.empty() && expected.back().isEmpty()) expected.pop_back();
    EXPECT_TRUE(expected == actual)
        << file.fileName().toStdString() << " (-) and the window (+) differ:\n"
        << difference(expected, actual);
}

TEST(ViewTexts, EveryViewOfEveryWindowShowsTheTextsOfItsFile) {
    apptest::Program program;
    std::map<QString, std::vector<std::pair<int, Lines>>> windows;
    std::vector<QString> order;
    int setUps = 0;
    for (const apptest::Board& board : apptest::kBoards) {
        SCOPED_TRACE("library revision " + std::to_string(board.dllRevision));
        apptest::useBoard(program, board);
        apptest::forEveryViewOfEveryWindow(
            program,
            [&](const apptest::WindowCase& c, core::ToolWindow* w, const QString& view) {
                const QString name = QString::fromStdString(apptest::caseName(c));
                auto& boards = windows[name];
                if (boards.empty()) order.push_back(name);
                if (boards.empty() || boards.back().first != board.dllRevision)
                    boards.emplace_back(board.dllRevision, Lines{});
                addView(w, view, boards.back().second);
            },
            [&setUps](core::ToolWindow* w, const std::function<void(const QString&)>& show) {
                setUps += setUpViews(w, show);
            });
    }
    // On each board: the five set-ups of the three ISO15693 products with a kill frame and
    // the six of the five with a password frame, two in either mode of the ISO14443-A
    // window and one for each of the five memory-tag products of the ISO14443-B window.
    EXPECT_GE(setUps, 2 * (3 * 5 + 5 * 6 + 2 * 2 + 5));

    // The start-up detection window, before and after it has found the board.
    apptest::Program start;
    core::ToolWindow* detection = start.open({core::WindowKind::StartupDetection, {}});
    ASSERT_NE(detection, nullptr);
    Lines detectionTexts;
    addView(detection, QStringLiteral("before the detection"), detectionTexts);
    start.tc.timing.advance(2000);
    ASSERT_FALSE(start.tc.values().DetectionPending);
    QCoreApplication::processEvents();
    addView(detection, QStringLiteral("after the detection"), detectionTexts);
    start.close(core::WindowKind::StartupDetection);
    windows[QStringLiteral("StartupDetection")].emplace_back(0, detectionTexts);
    order.push_back(QStringLiteral("StartupDetection"));

    for (const QString& window : order) holdAgainstFile(window, mergeBoards(windows[window]));

    // A file whose window the walk no longer shows is a window gone or renamed.
    for (const QString& file : QDir(textsFolder()).entryList({QStringLiteral("*.txt")})) {
        EXPECT_TRUE(windows.count(file.chopped(4))) << file.toStdString() << " has no window";
    }
}

}  // namespace

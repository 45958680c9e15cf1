#pragma once

// The buttons of every window that call the board, found by clicking them: in each view of
// each window, each enabled button is clicked once on a fresh window, and the calls it
// makes are watched. The tests of what a click must do, or must not do, in the states a
// window can be in stand on this set, so a button added to a window is covered the day
// it is added.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabBar>
#include <QTableWidget>
#include <QTextEdit>
#include <cctype>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "every_window.hpp"
#include "loop_bound.hpp"
#include "widgets/hex_entry_box.hpp"
#include "widgets/log_view.hpp"

namespace apptest {

// What the user has typed before he clicks: a frame row sends only what its box holds, a
// script only what its editor holds; a block range of two blocks, whatever the memory.
struct Typed {
    const char* box;
    const char* text;
};
inline constexpr Typed kTyped[] = {
    {"txt_ISO15693_AnyFrame", "022000"}, {"txt_ISO14443A_AnyFrame", "2607"},
    {"txt_ISO14443B_AnyFrame", "0600"},  {"txt_ISO18092_AnyFrame", "0600FFFF0000"},
    {"txtAnyKVCmdRequest", "0100"},      {"rtfScriptLoadFileEdit", "TQ73RNDLL_FIELDOFF"},
    {"txtUserAddress_0", "0"},           {"txtUserAddress_1", "1"},
};

inline void typeEntries(core::ToolWindow* w, std::span<const Typed> typed = kTyped) {
    for (const Typed& t : typed) {
        const QString name = QLatin1String(t.box);
        if (auto* box = w->findChild<QLineEdit*>(name)) {
            box->setText(QLatin1String(t.text));
            if (auto* hex = qobject_cast<widgets::HexEntryBox*>(box)) hex->commit();
        } else if (auto* editor = w->findChild<QPlainTextEdit*>(name)) {
            editor->setPlainText(QLatin1String(t.text));
        }
    }
}

// A view of a window that the user brings up before he clicks, without any tag: the
// window as it opens, each other page of a tab strip, each entry of the console's command
// list (each shows its own panel) and, under its Protocol Select, each protocol.
struct View {
    QString name;
    std::function<void(core::ToolWindow*)> show;
};

inline void chooseListEntry(core::ToolWindow* w, int entry) {
    auto* list = w->findChild<QComboBox*>(QStringLiteral("cboTQ73RN_CommandList"));
    list->setCurrentIndex(entry);
    emit list->activated(entry);
}

inline QRadioButton* protocolOption(core::ToolWindow* w, int p) {
    return w->findChild<QRadioButton*>(QStringLiteral("OptProtocolCode_%1").arg(p));
}

// The views of `w`, found on `w` itself (it is left in its last view).
inline std::vector<View> viewsOf(core::ToolWindow* w) {
    std::vector<View> views{{QStringLiteral("as opened"), [](core::ToolWindow*) {}}};
    const QList<QTabBar*> bars = w->findChildren<QTabBar*>();
    for (qsizetype b = 0; b < bars.size(); ++b) {
        for (int t = 0; t < bars[b]->count(); ++t) {
            if (t == bars[b]->currentIndex()) continue;
            views.push_back({QStringLiteral("tab ") + bars[b]->tabText(t), [b, t](auto* fresh) {
                                 fresh->template findChildren<QTabBar*>()[b]->setCurrentIndex(t);
                             }});
        }
    }
    if (auto* list = w->findChild<QComboBox*>(QStringLiteral("cboTQ73RN_CommandList"))) {
        for (int entry = 1; entry < list->count(); ++entry) {
            const QString name = list->itemText(entry);
            views.push_back({name, [entry](auto* fresh) { chooseListEntry(fresh, entry); }});
            chooseListEntry(w, entry);
            QCoreApplication::processEvents();
            for (int p = 0; protocolOption(w, p); ++p) {
                if (!protocolOption(w, p)->isVisible()) continue;
                views.push_back({name + QStringLiteral(", ") + protocolOption(w, p)->text(),
                                 [entry, p](auto* fresh) {
                                     chooseListEntry(fresh, entry);
                                     protocolOption(fresh, p)->click();
                                 }});
            }
        }
    }
    return views;
}

// The window's own buttons (not the parts of Qt's compound controls), in a fixed order: a
// fresh window of the same case has the same list.
inline QList<QAbstractButton*> buttonsOf(core::ToolWindow* w) {
    QList<QAbstractButton*> own;
    for (QAbstractButton* b : w->findChildren<QAbstractButton*>()) {
        if (!b->objectName().isEmpty() && !b->objectName().startsWith(QLatin1String("qt_")))
            own << b;
    }
    return own;
}

inline bool clickable(core::ToolWindow* w, const QAbstractButton* b) {
    return b->isVisibleTo(w) && b->isEnabled();
}

// A request and answer pair of line boxes (`txt_ISO15693_request`, `txtCommandCode02Request`,
// `txtAnyKVCmdRequest`...), with their names as the window names them.
struct Row {
    QString name;
    QLineEdit* request;
    QLineEdit* answer;
};

inline std::vector<Row> exchangeRows(core::ToolWindow* w) {
    std::vector<Row> rows;
    for (QLineEdit* box : w->findChildren<QLineEdit*>()) {
        const QString name = box->objectName();
        const qsizetype at = name.lastIndexOf(QLatin1String("request"), -1, Qt::CaseInsensitive);
        if (at < 0) continue;
        const QString answerWord =
            name.at(at).isUpper() ? QStringLiteral("Answer") : QStringLiteral("answer");
        const QString answerName = name.left(at) + answerWord + name.mid(at + 7);
        if (auto* answer = w->findChild<QLineEdit*>(answerName))
            rows.push_back({name, box, answer});
    }
    return rows;
}

struct RowTexts {
    QString request;
    QString answer;
};

inline std::vector<RowTexts> rowTexts(const std::vector<Row>& rows) {
    std::vector<RowTexts> texts;
    for (const Row& r : rows) texts.push_back({r.request->text(), r.answer->text()});
    return texts;
}

// What one click made: each board call with the rows as they stood while it lasted, and
// the rows once the click was over.
struct Click {
    struct Call {
        reader::ReaderFunction function;
        std::string request;
        std::vector<RowTexts> rows;
    };
    std::vector<Call> calls;
    std::vector<RowTexts> rowsAfter;
};

// The calls a single click may make before it counts as a loop that does not end.
inline constexpr int kCallsPerClick = 2000;

// Clicks `b` of `w`, watching each board call from inside it.
inline Click clickWatched(Program& p, core::ToolWindow* w, QAbstractButton* b) {
    const std::vector<Row> rows = exchangeRows(w);
    Click click;
    testsupport::LoopBound bound(w, kCallsPerClick, "calls");
    p.watched.before = [&](reader::ReaderFunction f, std::string_view request) {
        click.calls.push_back({f, std::string(request), rowTexts(rows)});
        bound.pass();
    };
    b->click();
    p.watched.before = nullptr;
    if (!w->isClosing()) click.rowsAfter = rowTexts(rows);
    return click;
}

// Everything a window shows the user that a click could change: the text of every box,
// label and log, what each check box and option says, each list's entries.
using Boxes = std::map<QString, QString>;

// What one control of a window shows that a click could change; nothing for a control
// that shows nothing of its own.
inline std::optional<QString> shownText(QWidget* c) {
    if (auto* e = qobject_cast<QLineEdit*>(c)) return e->text();
    if (auto* t = qobject_cast<QTextEdit*>(c)) return t->toPlainText();
    if (auto* pt = qobject_cast<QPlainTextEdit*>(c)) return pt->toPlainText();
    if (auto* log = qobject_cast<widgets::LogView*>(c)) return log->toPlainText();
    if (auto* l = qobject_cast<QLabel*>(c)) return l->text();
    if (auto* b = qobject_cast<QAbstractButton*>(c); b && b->isCheckable())
        return b->isChecked() ? QStringLiteral("ticked") : QStringLiteral("clear");
    if (auto* combo = qobject_cast<QComboBox*>(c))
        return QString::number(combo->count()) + QLatin1Char(' ') + combo->currentText();
    if (auto* list = qobject_cast<QListWidget*>(c)) {
        QString items;
        for (int i = 0; i < list->count(); ++i) items += list->item(i)->text() + '\n';
        return items;
    }
    if (auto* table = qobject_cast<QTableWidget*>(c)) {
        QString cells;
        for (int r = 0; r < table->rowCount(); ++r) {
            for (int col = 0; col < table->columnCount(); ++col) {
                if (const QTableWidgetItem* item = table->item(r, col)) cells += item->text();
                cells += QLatin1Char('\t');
            }
        }
        return cells;
    }
    return std::nullopt;
}

inline Boxes boxesOf(core::ToolWindow* w) {
    Boxes boxes;
    for (QWidget* c : w->findChildren<QWidget*>()) {
        const QString key = QString::fromLatin1(c->metaObject()->className()) + QLatin1Char(' ') +
                            c->objectName() + QLatin1Char(' ') +
                            QString::number(reinterpret_cast<quintptr>(c), 16);
        if (std::optional<QString> text = shownText(c)) boxes[key] = *text;
    }
    return boxes;
}

// Each box that `after` shows otherwise than `before` did, as "box: before -> after".
inline std::vector<std::string> changedBoxes(const Boxes& before, const Boxes& after) {
    std::vector<std::string> changed;
    for (const auto& [key, text] : before) {
        const auto it = after.find(key);
        if (it != after.end() && it->second != text) {
            changed.push_back(key.toStdString() + ": \"" + text.toStdString() + "\" -> \"" +
                              it->second.toStdString() + "\"");
        }
    }
    return changed;
}

// A button of a window, in a view, that called the board when clicked on a fresh window.
struct SendingButton {
    WindowCase window;
    QString windowName;  // the window's object name
    View view;
    int index;  // in buttonsOf() of a fresh window
    QString name;
    Click normal;  // its click on a fresh window

    std::string where() const {
        return windowName.toStdString() +
               (window.product.isEmpty() ? std::string() : " " + window.product.toStdString()) +
               ", " + view.name.toStdString() + ", " + name.toStdString();
    }
};

// A fresh window of `c`, the user's entries typed, in `view`. Dialogs answer as a user
// who wants nothing from them: messages Ok, file dialogs cancelled.
inline core::ToolWindow* freshWindow(Program& p, const WindowCase& c, const View& view) {
    p.tc.ui.allowAnyMessage();
    p.tc.ui.cancelAnyDialog();
    core::ToolWindow* w = p.open(c);
    EXPECT_NE(w, nullptr);
    if (!w) return nullptr;
    typeEntries(w);
    view.show(w);
    QCoreApplication::processEvents();
    return w;
}

// Closes every window (a click may have opened another) and lets the deletions happen.
inline void closeEveryWindow(Program& p) {
    p.tc.ctx->windows().closeAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The button of a fresh window that `s` names.
inline QAbstractButton* buttonOf(core::ToolWindow* w, const SendingButton& s) {
    QAbstractButton* b = buttonsOf(w).value(s.index);
    EXPECT_TRUE(b && b->objectName() == s.name) << s.where();
    return b && b->objectName() == s.name ? b : nullptr;
}

// Every button of every view of the window `c` that calls the board. A button the window
// shows as it opens (its log's, say) is the window's own and is clicked in that view only,
// and so is a check box or an option, in the first view that shows it; a push button that
// a view brings up is clicked in each view that shows it, since what it sends may depend
// on the view (the console's Send).
inline std::vector<SendingButton> sendingButtons(Program& p, const WindowCase& c) {
    std::vector<SendingButton> found;
    core::ToolWindow* first = freshWindow(p, c, {QString(), [](core::ToolWindow*) {}});
    if (!first) return found;
    const QString windowName = first->objectName();
    const std::vector<View> views = viewsOf(first);
    closeEveryWindow(p);
    std::set<int> clickedOnce;
    for (const View& view : views) {
        core::ToolWindow* w = freshWindow(p, c, view);
        if (!w) continue;
        const bool asOpened = &view == &views.front();
        std::vector<int> toClick;
        const QList<QAbstractButton*> buttons = buttonsOf(w);
        for (int i = 0; i < buttons.size(); ++i) {
            if (!clickable(w, buttons[i]) || clickedOnce.count(i)) continue;
            if (asOpened || buttons[i]->isCheckable()) clickedOnce.insert(i);
            toClick.push_back(i);
        }
        closeEveryWindow(p);
        for (int i : toClick) {
            w = freshWindow(p, c, view);
            if (!w) break;
            QAbstractButton* b = buttonsOf(w).value(i);
            SendingButton s{c, windowName, view, i, b->objectName(), clickWatched(p, w, b)};
            if (!s.normal.calls.empty()) found.push_back(std::move(s));
            closeEveryWindow(p);
        }
    }
    return found;
}

// The name of a window case in a test's name: its product, or its kind.
inline std::string caseName(const WindowCase& c) {
    // In the order of core::WindowKind.
    static const char* const kKinds[] = {
        "StartupDetection", "Console",  "BoardTools",   "Iso15693",   "Iso14443A",
        "Iso14443B",        "Iso18092", "TagDetection", "AutoDetect", "Script",
        "ScriptHelp",       "Notes",    "About"};
    std::string name =
        c.product.isEmpty() ? kKinds[static_cast<int>(c.kind)] : c.product.toStdString();
    for (char& ch : name) {
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
    }
    return name;
}

inline void PrintTo(const WindowCase& c, std::ostream* os) { *os << caseName(c); }

// Every window case the program builds, for a test over each on its own.
inline std::vector<WindowCase> builtWindows() {
    Program p;
    std::vector<WindowCase> built;
    for (const WindowCase& c : everyWindow(p.productsFile())) {
        if (p.builds(c.kind)) built.push_back(c);
    }
    return built;
}

}  // namespace apptest

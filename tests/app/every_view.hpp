#pragma once

// Every view of every window: the window as it opens and each view the user brings up in
// it without any tag, one after the other on the same window, on a board with the newest
// library and on one with an older library and firmware, which lays some windows out
// without the rows of the calls it lacks. The tests over what every view shows stand on
// this walk.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QString>
#include <QTabBar>
#include <functional>
#include <string>
#include <vector>

#include "every_window.hpp"

namespace apptest {

// Qt's own compound controls: their children are their parts, not controls of the form.
inline bool holdsControls(const QWidget* w) {
    return !(qobject_cast<const QAbstractScrollArea*>(w) ||
             qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QComboBox*>(w) ||
             qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
             qobject_cast<const QTabBar*>(w) || qobject_cast<const QAbstractSlider*>(w));
}

// The controls under `parent` the user can see, leaving out windows of their own.
inline std::vector<const QWidget*> shownChildren(const QWidget* window, const QWidget* parent) {
    std::vector<const QWidget*> shown;
    for (const QWidget* c : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!c->isWindow() && c->isVisibleTo(window)) shown.push_back(c);
    }
    return shown;
}

// Brings up each view of the window that the user chooses without any tag, one after the
// other, and hands each to `visit` with its name: the window as it opens, each page of a
// tab strip, each command of the console's list (each shows its own panel, titled) and,
// under the console's Protocol Select, each protocol (each shows its own parameter lists
// and titles), and then the first protocol again, after all the others; then the views
// that `more` brings up, each handed to the `show` it is given. The number of views.
using MoreViews =
    std::function<void(core::ToolWindow*, const std::function<void(const QString&)>& show)>;

template <class Visit>
int forEveryView(core::ToolWindow* w, Visit visit, const MoreViews& more = nullptr) {
    int views = 0;
    auto show = [&views, &visit](const QString& view) {
        QCoreApplication::processEvents();
        SCOPED_TRACE(view.toStdString());
        ++views;
        visit(view);
    };
    show(QStringLiteral("as opened"));
    for (QTabBar* tabs : w->findChildren<QTabBar*>()) {
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            show(QStringLiteral("tab ") + tabs->tabText(i));
        }
    }
    if (auto* list = w->findChild<QComboBox*>(QStringLiteral("cboTQ73RN_CommandList"))) {
        for (int i = 0; i < list->count(); ++i) {
            list->setCurrentIndex(i);
            emit list->activated(i);
            show(list->itemText(i));
            QRadioButton* first = nullptr;
            for (int p = 0;; ++p) {
                auto* protocol =
                    w->findChild<QRadioButton*>(QStringLiteral("OptProtocolCode_%1").arg(p));
                if (!protocol) break;
                if (!protocol->isVisible()) continue;
                if (!first) first = protocol;
                protocol->click();
                show(list->itemText(i) + QStringLiteral(", ") + protocol->text());
            }
            if (first) {
                first->click();
                show(list->itemText(i) + QStringLiteral(", ") + first->text() +
                     QStringLiteral(" again"));
            }
        }
    }
    if (more) more(w, show);
    return views;
}

// A board the walk lays the windows out for.
struct Board {
    int dllRevision;
    const char* mcuRevision;
};
inline constexpr Board kBoards[] = {{51, "1.4.1"}, {4, "1.3.0"}};

inline void useBoard(Program& program, const Board& board) {
    program.tc.values().DllRevisionNumber = board.dllRevision;
    program.tc.values().McuRevisionText = QString::fromLatin1(board.mcuRevision);
}

// Walks every view of every window of `program` on its board as it stands, handing each to
// `visit(const WindowCase&, core::ToolWindow*, const QString& view)`, and the views that
// `more` brings up after them.
template <class Visit>
void forEveryViewOfEveryWindow(Program& program, Visit visit, const MoreViews& more = nullptr) {
    int views = 0;
    const int windows =
        program.forEveryWindow([&views, &visit, &more](const WindowCase& c, core::ToolWindow* w) {
            views += forEveryView(
                w, [&](const QString& view) { visit(c, w, view); }, more);
        });
    // At the least: 24 windows as they open, the two pages of 8 ISO15693 products, the
    // console's 9 list entries and the 8 protocols of its Protocol Select.
    EXPECT_GE(windows, 24);
    EXPECT_GE(views, 24 + 16 + 9 + 8);
}

}  // namespace apptest

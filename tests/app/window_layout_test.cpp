// No control of any window the program opens covers another or reaches past its parent.
// A control given the wrong place or size still works when clicked, so only its shape
// tells: every view of every window is walked, and what the user sees of each visible
// control is compared with what he sees of its siblings.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>
#include <QTabBar>
#include <QTextDocument>
#include <algorithm>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "every_window.hpp"

namespace {

// Controls a form lays over one another on purpose: the two names, and why.
struct OnPurpose {
    const char* first;
    const char* second;
    const char* reason;
};
const OnPurpose kOnPurpose[] = {
    {"chkLoopOnScript", "txtLOOPnumber",
     "the script window's own places give the check box 15 twips more height than the row "
     "pitch: the count box's top border lies on the empty foot of the check box"},
};

bool onPurpose(const QWidget* a, const QWidget* b) {
    const auto is = [](const QWidget* w, const char* name) {
        return w->objectName() == QLatin1String(name);
    };
    return std::any_of(std::begin(kOnPurpose), std::end(kOnPurpose), [&](const OnPurpose& p) {
        return (is(a, p.first) && is(b, p.second)) || (is(a, p.second) && is(b, p.first));
    });
}

// Qt's own compound controls: their children are their parts, not controls of the form.
bool holdsControls(const QWidget* w) {
    return !(qobject_cast<const QAbstractScrollArea*>(w) ||
             qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QComboBox*>(w) ||
             qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
             qobject_cast<const QTabBar*>(w) || qobject_cast<const QAbstractSlider*>(w));
}

// Where a label draws its text or picture, in its own coordinates, the way it lays them
// out itself: inside its margin and indent, by its alignment, wrapped when it wraps, and
// cut at its edges. A label still empty keeps its whole box for the text a run shows in it.
QRect labelInk(const QLabel* l) {
    if (l->frameShape() != QFrame::NoFrame || l->autoFillBackground()) return l->rect();
    const int margin = l->margin();
    QRect area = l->contentsRect().adjusted(margin, margin, -margin, -margin);
    const Qt::Alignment align = QStyle::visualAlignment(l->layoutDirection(), l->alignment());
    int indent = l->indent();
    if (indent < 0 && l->frameWidth() > 0)
        indent = l->fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 - margin;
    if (indent > 0) {
        if (align & Qt::AlignLeft) area.setLeft(area.left() + indent);
        if (align & Qt::AlignRight) area.setRight(area.right() - indent);
        if (align & Qt::AlignTop) area.setTop(area.top() + indent);
        if (align & Qt::AlignBottom) area.setBottom(area.bottom() - indent);
    }
    QRect ink;
    if (!l->pixmap().isNull()) {
        ink = QStyle::alignedRect(l->layoutDirection(), align,
                                  l->pixmap().deviceIndependentSize().toSize(), area);
    } else if (l->text().isEmpty()) {
        return l->rect();
    } else if (l->textFormat() == Qt::RichText ||
               (l->textFormat() == Qt::AutoText && Qt::mightBeRichText(l->text()))) {
        QTextDocument doc;
        doc.setDefaultFont(l->font());
        doc.setDocumentMargin(0);
        doc.setHtml(l->text());
        if (l->wordWrap()) doc.setTextWidth(area.width());
        ink = QStyle::alignedRect(l->layoutDirection(), align, doc.size().toSize(), area);
    } else {
        int flags = static_cast<int>(align);
        if (l->wordWrap()) flags |= Qt::TextWordWrap;
        if (l->buddy()) flags |= Qt::TextShowMnemonic;
        ink = l->fontMetrics().boundingRect(area, flags, l->text());
    }
    return ink & l->rect();
}

// What the user sees of a control, in its parent's coordinates.
QRect seen(const QWidget* c) {
    if (const auto* l = qobject_cast<const QLabel*>(c)) return labelInk(l).translated(c->pos());
    return c->geometry();
}

// Two group frames may share a border line: what they have in common then stays clear of
// what either frame holds.
bool bordersMeet(const QWidget* a, const QWidget* b, const QRect& common) {
    if (!qobject_cast<const QGroupBox*>(a) || !qobject_cast<const QGroupBox*>(b)) return false;
    return !common.intersects(a->contentsRect().translated(a->pos())) &&
           !common.intersects(b->contentsRect().translated(b->pos()));
}

QFrame::Shape lineShape(const QWidget* w) {
    const auto* f = qobject_cast<const QFrame*>(w);
    return f ? f->frameShape() : QFrame::NoFrame;
}

// A connector is drawn as a vertical and a horizontal line that join: one of them ends on
// the other. Lines that cross each other, or a line through any other control, are faults.
bool linesJoin(const QWidget* a, const QWidget* b, const QRect& common) {
    if (lineShape(b) == QFrame::VLine) std::swap(a, b);
    if (lineShape(a) != QFrame::VLine || lineShape(b) != QFrame::HLine) return false;
    const QRect v = a->geometry();
    const QRect h = b->geometry();
    const QPoint at = common.topLeft();
    return common.size() == QSize(1, 1) &&
           (at == v.topLeft() || at == v.bottomLeft() || at == h.topLeft() || at == h.topRight());
}

std::string describe(const QWidget* c, const QRect& r) {
    return c->objectName().toStdString() + " (" + c->metaObject()->className() + ") at " +
           std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) +
           "x" + std::to_string(r.height());
}

// Every visible control under `parent` lies inside it, and no two of its visible controls
// cover each other; the same again inside each control that holds others.
int checkShape(const QWidget* window, const QWidget* parent) {
    struct Seen {
        const QWidget* control;
        QRect rect;
    };
    std::vector<Seen> shown;
    for (const QWidget* c : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (c->isWindow() || !c->isVisibleTo(window)) continue;
        const QRect r = seen(c);
        if (!r.isEmpty()) shown.push_back({c, r});
    }
    int checked = 0;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const Seen& a = shown[i];
        ++checked;
        EXPECT_TRUE(parent->rect().contains(a.rect))
            << describe(a.control, a.rect) << " reaches past " << describe(parent, parent->rect());
        for (std::size_t j = i + 1; j < shown.size(); ++j) {
            const Seen& b = shown[j];
            const QRect common = a.rect & b.rect;
            if (common.isEmpty() || bordersMeet(a.control, b.control, common) ||
                linesJoin(a.control, b.control, common) || onPurpose(a.control, b.control))
                continue;
            ADD_FAILURE() << describe(a.control, a.rect) << " and " << describe(b.control, b.rect)
                          << " cover each other in " << parent->objectName().toStdString();
        }
        if (holdsControls(a.control)) checked += checkShape(window, a.control);
    }
    return checked;
}

struct Walked {
    int views = 0;
    int controls = 0;
};

// Brings up each view of the window that the user chooses without any tag, and checks
// each: the window as it opens, each page of a tab strip, each command of the console's
// list (each shows its own panel) and, under the console's Protocol Select, each protocol
// (each shows its own parameter lists).
Walked checkEveryView(core::ToolWindow* w) {
    Walked walked;
    auto check = [w, &walked](const QString& view) {
        QCoreApplication::processEvents();
        SCOPED_TRACE(view.toStdString());
        ++walked.views;
        walked.controls += checkShape(w, w);
    };
    check(QStringLiteral("as opened"));
    for (QTabBar* tabs : w->findChildren<QTabBar*>()) {
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            check(QStringLiteral("tab ") + tabs->tabText(i));
        }
    }
    if (auto* list = w->findChild<QComboBox*>(QStringLiteral("cboTQ73RN_CommandList"))) {
        for (int i = 0; i < list->count(); ++i) {
            list->setCurrentIndex(i);
            emit list->activated(i);
            check(list->itemText(i));
            for (int p = 0;; ++p) {
                auto* protocol =
                    w->findChild<QRadioButton*>(QStringLiteral("OptProtocolCode_%1").arg(p));
                if (!protocol) break;
                if (!protocol->isVisible()) continue;
                protocol->click();
                check(list->itemText(i) + QStringLiteral(", ") + protocol->text());
            }
        }
    }
    return walked;
}

TEST(WindowLayout, NoVisibleControlCoversAnotherOrReachesPastItsParentInAnyView) {
    apptest::Program program;
    // A board with the older library and firmware lays some windows out without the rows
    // of the calls it lacks.
    struct Board {
        int dllRevision;
        const char* mcuRevision;
    };
    for (const Board& board : {Board{51, "1.4.1"}, Board{4, "1.3.0"}}) {
        SCOPED_TRACE("library revision " + std::to_string(board.dllRevision));
        program.tc.values().DllRevisionNumber = board.dllRevision;
        program.tc.values().McuRevisionText = QString::fromLatin1(board.mcuRevision);
        Walked all;
        const int windows = program.forEveryWindow([&all](core::ToolWindow* w) {
            const Walked walked = checkEveryView(w);
            all.views += walked.views;
            all.controls += walked.controls;
        });
        // At the least: 24 windows as they open, the two pages of 8 ISO15693 products, the
        // console's 9 list entries and the 8 protocols of its Protocol Select.
        EXPECT_GE(windows, 24);
        EXPECT_GE(all.views, 24 + 16 + 9 + 8);
        EXPECT_GT(all.controls, 2000);
    }
}

// The window the program opens at its start, before and after it has found the board (its
// rows of revisions and identification show up as the detection goes).
TEST(WindowLayout, TheStartUpDetectionWindowBeforeAndAfterTheDetection) {
    apptest::Program program;
    core::ToolWindow* w = program.open({core::WindowKind::StartupDetection, {}});
    ASSERT_NE(w, nullptr);
    const int before = checkShape(w, w);
    program.tc.timing.advance(2000);
    ASSERT_FALSE(program.tc.values().DetectionPending);
    QCoreApplication::processEvents();
    EXPECT_GT(checkShape(w, w), before);
    program.close(core::WindowKind::StartupDetection);
}

}  // namespace

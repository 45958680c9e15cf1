// No control of any window the program opens covers another or reaches past its parent,
// and no caption (nor the text of a short entry box) is cut short by its control. A control given
// the wrong place or size still works when clicked, so only its shape tells: every view of every
// window is walked, and what the user sees of each visible control is compared with what he sees of
// its siblings, and the whole of each caption with the room its control draws it in.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFontInfo>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <QTabBar>
#include <QTextDocument>
#include <algorithm>
#include <array>
#include <iterator>
#include <numeric>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "every_view.hpp"

namespace {

using apptest::holdsControls;
using apptest::shownChildren;

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

// Where a label lays out its text or picture, in its own coordinates, the way it does
// itself: inside its margin and indent, by its alignment, wrapped when it wraps. `area` is
// the part of the label it draws in and cuts at; `ink` is what it lays out, uncut (null
// while the label holds nothing).
struct LabelLayout {
    QRect area;
    QRect ink;
};

LabelLayout labelLayout(const QLabel* l) {
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
    if (!l->pixmap().isNull()) {
        return {area, QStyle::alignedRect(l->layoutDirection(), align,
                                          l->pixmap().deviceIndependentSize().toSize(), area)};
    }
    if (l->text().isEmpty()) return {area, QRect()};
    if (l->textFormat() == Qt::RichText ||
        (l->textFormat() == Qt::AutoText && Qt::mightBeRichText(l->text()))) {
        QTextDocument doc;
        doc.setDefaultFont(l->font());
        doc.setDocumentMargin(0);
        doc.setHtml(l->text());
        if (l->wordWrap()) doc.setTextWidth(area.width());
        return {area, QStyle::alignedRect(l->layoutDirection(), align, doc.size().toSize(), area)};
    }
    int flags = static_cast<int>(align);
    if (l->wordWrap()) flags |= Qt::TextWordWrap;
    if (l->buddy()) flags |= Qt::TextShowMnemonic;
    return {area, l->fontMetrics().boundingRect(area, flags, l->text())};
}

// What the user sees of a label: the box it fills or frames, else its text or picture as
// far as the label shows it. A label still empty keeps its whole box for the text a run
// shows in it.
QRect labelInk(const QLabel* l) {
    if (l->frameShape() != QFrame::NoFrame || l->autoFillBackground()) return l->rect();
    const QRect ink = labelLayout(l).ink;
    return ink.isNull() ? l->rect() : ink & l->rect();
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
    for (const QWidget* c : shownChildren(window, parent)) {
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

// The style option a control paints itself with. Qt keeps the function that fills it
// protected; a member pointer taken through a class that opens it reaches it.
template <class Option, class Control>
Option paintOption(const Control* c) {
    struct Open : Control {
        using Control::initStyleOption;
    };
    Option option;
    (c->*&Open::initStyleOption)(&option);
    return option;
}

// The kinds of control whose captions are checked, and the least number of captions of
// each kind a walk over every view of every window checks.
enum CaptionKind {
    kLabel,
    kPushButton,
    kCheckBox,
    kRadioButton,
    kGroupTitle,
    kShortBox,
    kComboBox,
    kCaptionKinds
};
struct CaptionKindEntry {
    const char* name;
    int least;
};
constexpr CaptionKindEntry kCaptionKind[kCaptionKinds] = {
    {"label", 400},       {"push button", 400},     {"check box", 100},     {"radio button", 150},
    {"group title", 100}, {"short entry box", 200}, {"drop-down list", 20},
};

struct Captions {
    std::array<int, kCaptionKinds> byKind{};
    int total() const { return std::accumulate(byKind.begin(), byKind.end(), 0); }
    Captions& operator+=(const Captions& other) {
        for (std::size_t k = 0; k < byKind.size(); ++k) byKind[k] += other.byKind[k];
        return *this;
    }
};

// Where a control lays out the whole of its caption, and the room it draws it in: what
// lies outside the room is cut. Both in the control's own coordinates, by the style's
// own measures.
struct CaptionPlace {
    CaptionKind kind;
    QRect room;
    QRect caption;
};

CaptionPlace buttonCaption(CaptionKind kind, const QAbstractButton* b,
                           const QStyleOptionButton& option, QStyle::SubElement contents,
                           Qt::Alignment align) {
    const QRect room = b->style()->subElementRect(contents, &option, b);
    const QSize size = b->fontMetrics().size(Qt::TextShowMnemonic, b->text());
    return {kind, room, QStyle::alignedRect(b->layoutDirection(), align, size, room)};
}

// The boxes of a byte, a bit, an address or a count: as long as they may hold, they show
// their whole text, whichever digits it has. Longer boxes (frames, answers) scroll.
constexpr int kShortBoxLength = 8;

std::optional<CaptionPlace> shortBoxText(const QLineEdit* e) {
    if (e->maxLength() > kShortBoxLength) return std::nullopt;
    const QFontMetrics metrics = e->fontMetrics();
    int widest = 0;
    for (const QChar digit : QStringLiteral("0123456789ABCDEF"))
        widest = std::max(widest, metrics.horizontalAdvance(digit));
    const auto option = paintOption<QStyleOptionFrame>(e);
    // The box draws its text inside its contents and its text margins, two pixels in from
    // either side.
    constexpr int kTextInset = 2;
    const QRect room = e->style()
                           ->subElementRect(QStyle::SE_LineEditContents, &option, e)
                           .marginsRemoved(e->textMargins())
                           .adjusted(kTextInset, 0, -kTextInset, 0);
    const QSize text(widest * e->maxLength(), room.height());
    return CaptionPlace{kShortBox, room,
                        QStyle::alignedRect(e->layoutDirection(), e->alignment(), text, room)};
}

// Nothing for a control that shows no caption.
std::optional<CaptionPlace> captionPlace(const QWidget* c) {
    if (const auto* l = qobject_cast<const QLabel*>(c)) {
        const LabelLayout laid = labelLayout(l);
        if (laid.ink.isNull()) return std::nullopt;
        return CaptionPlace{kLabel, laid.area, laid.ink};
    }
    if (const auto* g = qobject_cast<const QGroupBox*>(c)) {
        if (g->title().isEmpty()) return std::nullopt;
        const auto option = paintOption<QStyleOptionGroupBox>(g);
        return CaptionPlace{
            kGroupTitle, g->rect(),
            g->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, g)};
    }
    if (const auto* e = qobject_cast<const QLineEdit*>(c)) return shortBoxText(e);
    if (const auto* combo = qobject_cast<const QComboBox*>(c)) {
        // The item shown, in the list's own field beside its arrow; the height of a line
        // of its font at least, so that no line is cut across.
        if (combo->currentText().isEmpty()) return std::nullopt;
        const auto option = paintOption<QStyleOptionComboBox>(combo);
        const QRect room = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                          QStyle::SC_ComboBoxEditField, combo);
        const QSize text(1, combo->fontMetrics().height());
        return CaptionPlace{
            kComboBox, room,
            QStyle::alignedRect(combo->layoutDirection(), Qt::AlignVCenter, text, room)};
    }
    const auto* button = qobject_cast<const QAbstractButton*>(c);
    if (!button || button->text().isEmpty()) return std::nullopt;
    if (const auto* b = qobject_cast<const QPushButton*>(c)) {
        return buttonCaption(kPushButton, b, paintOption<QStyleOptionButton>(b),
                             QStyle::SE_PushButtonContents, Qt::AlignCenter);
    }
    if (const auto* b = qobject_cast<const QCheckBox*>(c)) {
        return buttonCaption(kCheckBox, b, paintOption<QStyleOptionButton>(b),
                             QStyle::SE_CheckBoxContents, Qt::AlignLeft | Qt::AlignVCenter);
    }
    if (const auto* b = qobject_cast<const QRadioButton*>(c)) {
        return buttonCaption(kRadioButton, b, paintOption<QStyleOptionButton>(b),
                             QStyle::SE_RadioButtonContents, Qt::AlignLeft | Qt::AlignVCenter);
    }
    ADD_FAILURE() << describe(c, c->geometry()) << " has a caption the check does not measure";
    return std::nullopt;
}

// The whole caption of every visible label, button, check box, radio button and group
// frame fits in the room its control draws it in; the same again inside each control that
// holds others. A label's caption is its text or picture as it lays it out: a label that
// wraps wraps at its room's width, so its caption overruns only by a word longer than a
// line or by more lines than its room holds; a text centred in a room narrower than it
// spills out on both sides and is cut on both.
Captions checkFit(const QWidget* window, const QWidget* parent) {
    Captions checked;
    for (const QWidget* c : shownChildren(window, parent)) {
        if (const std::optional<CaptionPlace> place = captionPlace(c)) {
            ++checked.byKind[place->kind];
            EXPECT_TRUE(place->room.contains(place->caption))
                << describe(c, place->caption) << " is cut at its room " << describe(c, place->room)
                << " in " << parent->objectName().toStdString();
        }
        if (holdsControls(c)) checked += checkFit(window, c);
    }
    return checked;
}

// Every view of every window, on each board of the walk; `enough` checks that `check`
// has checked enough on each board.
template <class Check, class Enough>
void checkEveryViewOfEveryWindow(Check check, Enough enough) {
    apptest::Program program;
    for (const apptest::Board& board : apptest::kBoards) {
        SCOPED_TRACE("library revision " + std::to_string(board.dllRevision));
        apptest::useBoard(program, board);
        decltype(check(nullptr, nullptr)) checked{};
        apptest::forEveryViewOfEveryWindow(
            program, [&checked, &check](const apptest::WindowCase&, core::ToolWindow* w,
                                        const QString&) { checked += check(w, w); });
        enough(checked);
    }
}

TEST(WindowLayout, NoVisibleControlCoversAnotherOrReachesPastItsParentInAnyView) {
    checkEveryViewOfEveryWindow(checkShape, [](int controls) { EXPECT_GT(controls, 2000); });
}

// A window drawn in a font larger than the one it was laid out for, or a box narrower than
// the text a view writes into it, cuts captions. The measures are the ones the style lays
// a caption out and cuts it by, so no pixel is allowed for rounding. The windows take the
// platform's default font, named in a failure: captions that fit one font may not fit
// another.
TEST(WindowLayout, EveryVisibleCaptionFitsItsControlInAnyView) {
    const QFontInfo font(QApplication::font());
    SCOPED_TRACE("drawn in " + font.family().toStdString() + " " +
                 std::to_string(font.pointSize()) + " pt");
    checkEveryViewOfEveryWindow(checkFit, [](const Captions& captions) {
        for (int k = 0; k < kCaptionKinds; ++k)
            EXPECT_GT(captions.byKind[k], kCaptionKind[k].least) << kCaptionKind[k].name;
    });
}

// The window the program opens at its start, before and after it has found the board (its
// rows of revisions and identification show up as the detection goes).
TEST(WindowLayout, TheStartUpDetectionWindowBeforeAndAfterTheDetection) {
    apptest::Program program;
    core::ToolWindow* w = program.open({core::WindowKind::StartupDetection, {}});
    ASSERT_NE(w, nullptr);
    const int before = checkShape(w, w);
    const int captionsBefore = checkFit(w, w).total();
    program.tc.timing.advance(2000);
    ASSERT_FALSE(program.tc.values().DetectionPending);
    QCoreApplication::processEvents();
    EXPECT_GT(checkShape(w, w), before);
    EXPECT_GT(checkFit(w, w).total(), captionsBefore);
    program.close(core::WindowKind::StartupDetection);
}

}  // namespace

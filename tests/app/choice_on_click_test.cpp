// A choice is made by a click: the mouse pressed and released on the same option. A press
// that the user drags off the option before he lets go chooses nothing: the window shows
// what it showed, the program's values are as they were, and nothing goes to the board.
// A choice made on the press would take the option the user was only passing over (and,
// for a Protocol Select protocol, the frame that the next Send sends).
//
// Every option of every view of every window is tried with the mouse: each option button
// and check box, each line of a list, and the labels that choose on a click.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QListWidget>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <algorithm>
#include <set>
#include <sstream>

#include "shown_state.hpp"

namespace {

using apptest::WindowCase;

// The buttons that fill a list the user then chooses from: the ISO15693 tag list.
constexpr const char* kListFillers[] = {"cmdInventory"};

// The labels that choose on a click: the ISO15693 "Tag :" takes the UID typed beside it.
constexpr const char* kChoosingLabels[] = {"lblChoosenTag"};

// The protocol code that the Protocol Select frame carries for each protocol option, in
// the options' order.
constexpr const char* kProtocolCodes[] = {"00", "01", "02", "03", "04", "05", "05", "05"};

// A UID as the user types it, most significant byte first, and in the order it travels.
constexpr char kTypedUid[] = "E0022233445566AA";
constexpr char kUidOnTheAir[] = "AA665544332202E0";

std::string valuesText(const core::ProgramValues& v) {
    std::ostringstream s;
    s << "AutoLoopEnabled " << v.AutoLoopEnabled << ", StopRequested " << v.StopRequested
      << ", ScriptLoopEnabled " << v.ScriptLoopEnabled << ", ReqBLoopEnabled " << v.ReqBLoopEnabled
      << ", AnticollisionLoopEnabled " << v.AnticollisionLoopEnabled << ", ReqCLoopEnabled "
      << v.ReqCLoopEnabled << ", PageWriteMode " << v.PageWriteMode << ", PageWritePending "
      << v.PageWritePending << ", SolaChipId " << v.SolaChipId.toStdString() << ", TransponderUID "
      << v.TransponderUID.toStdString();
    return s.str();
}

// What the user meets in the window and what the program keeps of his choices.
std::vector<std::string> stateOf(apptest::Program& p, core::ToolWindow* w) {
    std::vector<std::string> state = apptest::shownState(w);
    state.push_back(valuesText(p.tc.values()));
    return state;
}

// An option the mouse can choose: where the mouse events go, where the option is and a
// place off it.
struct Option {
    std::string name;
    QWidget* target;
    QPoint at;
    QPoint off;
    std::function<void()> expectChosen;     // what a click on it must have done
    std::function<void()> prepare = [] {};  // what the user does before he tries it
};

QPoint buttonSpot(QAbstractButton* b) {
    QStyleOptionButton o;
    o.initFrom(b);
    o.text = b->text();
    if (qobject_cast<QRadioButton*>(b))
        return b->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &o, b).center();
    if (qobject_cast<QCheckBox*>(b))
        return b->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &o, b).center();
    return b->rect().center();
}

// A place off `target`, below it.
QPoint below(const QWidget* target, const QPoint& at) { return {at.x(), target->height() + 20}; }

bool usable(core::ToolWindow* w, const QWidget* c) { return c->isVisibleTo(w) && c->isEnabled(); }

std::vector<Option> optionsOf(apptest::Program& p, core::ToolWindow* w) {
    std::vector<Option> options;
    for (QAbstractButton* b : apptest::buttonsOf(w)) {
        if (!b->isCheckable() || !usable(w, b)) continue;
        const QPoint at = buttonSpot(b);
        const std::string name = b->objectName().toStdString();
        std::function<void()> chosen;
        if (qobject_cast<QRadioButton*>(b)) {
            chosen = [b, w, name] {
                EXPECT_TRUE(b->isChecked()) << name << " not chosen";
                const std::size_t at = name.rfind('_');
                if (name.rfind("OptProtocolCode_", 0) != 0 || at == std::string::npos) return;
                const auto* frame = w->findChild<QLineEdit*>(QStringLiteral("txtCode02Frame_2"));
                ASSERT_NE(frame, nullptr);
                EXPECT_EQ(frame->text().toStdString(),
                          kProtocolCodes[std::stoi(name.substr(at + 1))])
                    << name << ": the protocol code the frame carries";
            };
        } else {
            chosen = [b, name, was = b->isChecked()] {
                EXPECT_NE(b->isChecked(), was) << name << " not switched";
            };
        }
        options.push_back({name, b, at, below(b, at), chosen});
    }
    for (auto* list : w->findChildren<QListWidget*>()) {
        if (!usable(w, list) || list->objectName().isEmpty()) continue;
        for (int row = 0; row < list->count(); ++row) {
            // The lines the list shows as it stands; the lines below are lines like them.
            QListWidgetItem* item = list->item(row);
            const QPoint at = list->visualItemRect(item).center();
            if (!list->viewport()->rect().contains(at)) continue;
            const QString line = item->text();
            std::function<void()> chosen = [] {};
            // A tag line carries its UID at characters 5 to 20; a click copies it to the box.
            static const QRegularExpression kTagLine(QStringLiteral("^.{4}[0-9A-F]{16}"));
            if (list->objectName() == QLatin1String("lstTransponderUID") &&
                kTagLine.match(line).hasMatch()) {
                chosen = [w, line] {
                    const auto* box = w->findChild<QLineEdit*>(QStringLiteral("txtTransponderUID"));
                    ASSERT_NE(box, nullptr);
                    EXPECT_EQ(box->text(), line.mid(4, 16)) << "the tag line's UID";
                };
            }
            options.push_back({list->objectName().toStdString() + " line " + std::to_string(row),
                               list->viewport(), at,
                               QPoint(at.x(), list->viewport()->height() + 20), chosen});
        }
    }
    for (const char* name : kChoosingLabels) {
        auto* label = w->findChild<QLabel*>(QLatin1String(name));
        auto* box = w->findChild<QLineEdit*>(QStringLiteral("txtTransponderUID"));
        if (!label || !box || !usable(w, label)) continue;
        const QPoint at = label->rect().center();
        options.push_back({name, label, at, below(label, at),
                           [&p] {
                               EXPECT_EQ(p.tc.values().TransponderUID.toStdString(), kUidOnTheAir)
                                   << "the typed UID not taken";
                           },
                           [box] { box->setText(QLatin1String(kTypedUid)); }});
    }
    return options;
}

// The options whose press or click the program handles itself, by a part of their names,
// and how many of them a window of each kind has (the fewest of its products).
struct Handled {
    const char* name;
    int least;
};

std::vector<Handled> handledOptions(core::WindowKind kind) {
    using K = core::WindowKind;
    switch (kind) {
        case K::Console:
            return {{"OptProtocolCode_", 8},       {"optCmd08ReadRegister_", 2},
                    {"optCmd09WriteRegister_", 4}, {"optIDLEframe_", 6},
                    {"OptByte12optional", 1},      {"chkiso18092_SlotCounterByte1", 1}};
        case K::Iso15693:
            return {{"lstTransponderUID line", 3}, {"lblChoosenTag", 1}, {"Loop", 2}};
        case K::Iso14443B:
            return {{"Loop", 1}};
        case K::Iso18092:
            return {{"chkReqCLoop", 1}};
        case K::AutoDetect:
            return {{"chkTagDetSelectProtocols_", 5}, {"optLoopAutoDetectionTool_", 4}};
        case K::TagDetection:
            return {{"chkLoop", 2}};
        case K::Script:
            return {{"chkLoopOnScript", 1}};
        default:
            return {};
    }
}

class ChoiceOnClick : public ::testing::TestWithParam<WindowCase> {};

TEST_P(ChoiceOnClick, APressDraggedOffAnOptionChoosesNothingAndAClickOnItChoosesIt) {
    apptest::Program p;
    const WindowCase& c = GetParam();
    core::ToolWindow* first = apptest::freshWindow(p, c, {QString(), [](core::ToolWindow*) {}});
    ASSERT_NE(first, nullptr);
    const std::vector<apptest::View> views = apptest::viewsOf(first);
    apptest::closeEveryWindow(p);

    std::set<std::string> tried;
    for (const apptest::View& view : views) {
        core::ToolWindow* w = apptest::freshWindow(p, c, view);
        ASSERT_NE(w, nullptr);
        for (const char* name : kListFillers) {
            auto* fill = w->findChild<QAbstractButton*>(QLatin1String(name));
            if (fill && usable(w, fill)) fill->click();
        }
        for (const Option& o : optionsOf(p, w)) {
            if (!usable(w, o.target) || !tried.insert(o.name).second) continue;
            SCOPED_TRACE(view.name.toStdString() + ", " + o.name);
            o.prepare();
            std::vector<std::string> calls;
            p.watched.before = [&](reader::ReaderFunction f, std::string_view request) {
                calls.push_back(std::string(reader::exportedName(f)) + " " + std::string(request));
            };
            const std::vector<std::string> before = stateOf(p, w);
            QTest::mousePress(o.target, Qt::LeftButton, {}, o.at);
            QTest::mouseMove(o.target, o.off);
            QTest::mouseRelease(o.target, Qt::LeftButton, {}, o.off);
            QCoreApplication::processEvents();
            for (const std::string& changed : apptest::stateChanges(before, stateOf(p, w)))
                ADD_FAILURE() << "a press dragged off changed " << changed;
            EXPECT_EQ(calls, std::vector<std::string>{}) << "a press dragged off called the board";
            p.watched.before = nullptr;

            QTest::mouseClick(o.target, Qt::LeftButton, {}, o.at);
            QCoreApplication::processEvents();
            o.expectChosen();
        }
        apptest::closeEveryWindow(p);
    }
    for (const Handled& h : handledOptions(c.kind)) {
        const auto count = std::count_if(tried.begin(), tried.end(), [&h](const std::string& t) {
            return t.find(h.name) != std::string::npos;
        });
        EXPECT_GE(count, h.least) << "options tried whose names hold " << h.name;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, ChoiceOnClick, ::testing::ValuesIn(apptest::builtWindows()),
                         [](const ::testing::TestParamInfo<WindowCase>& info) {
                             return apptest::caseName(info.param);
                         });

}  // namespace

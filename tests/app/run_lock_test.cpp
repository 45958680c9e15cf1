// While a run holds a window's command controls off (a block read, a loop, a probe), the
// other buttons of the window that talk to the board are off too, and a click on one left
// on sends nothing: its exchange would land between two of the run's own, in the middle
// of a read or a pass. The click can only come while the run lets events run, so the
// window is looked at and clicked there, on every button the user could click then.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <algorithm>
#include <iterator>
#include <vector>

#include "run_pause.hpp"
#include "sending_buttons.hpp"

namespace {

using apptest::SendingButton;
using apptest::WindowCase;

// Buttons that the window leaves usable during its runs on purpose: their exchanges run
// inside the run's pause.
struct OnPurpose {
    core::WindowKind kind;
    const char* button;
    const char* reason;
};
const OnPurpose kOnPurpose[] = {
    {core::WindowKind::Iso15693, "cmdAntiCollisionIso15693",
     "clicked during a loop of the inventory page it runs inside that loop"},
    {core::WindowKind::Iso14443A, "cmd_ISO14443A_Anticol_Process",
     "not on the window's command list: it runs inside a read's pause"},
    {core::WindowKind::Iso14443A, "cmd_ISO14443A_TOPAZ_REQA",
     "not on the window's command list: it runs inside a read's pause"},
    {core::WindowKind::Iso14443A, "cmd_ISO14443A_TOPAZ_RID",
     "not on the window's command list: it runs inside a read's pause"},
    {core::WindowKind::Iso14443B, "cmd_ISO14443B_Anticollision",
     "not on the window's command list: its whole pass runs inside a read's pause"},
};

// Buttons the window leaves on during some runs on purpose, though a click on them then
// does nothing.
const OnPurpose kLeftOn[] = {
    {core::WindowKind::AutoDetect, "cmdISO15693_AntiCollision",
     "a probe button switches no control; the other probes refuse a click during its probe"},
    {core::WindowKind::AutoDetect, "cmdISO14443A_AntiCollision", "as above"},
    {core::WindowKind::AutoDetect, "cmdISO14443B_AntiCollision", "as above"},
    {core::WindowKind::AutoDetect, "cmdFelica_AntiCollision", "as above"},
    {core::WindowKind::AutoDetect, "cmd_Auto_Detection_Process", "as above"},
};

template <std::size_t N>
bool listed(const OnPurpose (&list)[N], core::WindowKind kind, const QString& button) {
    return std::any_of(std::begin(list), std::end(list), [&](const OnPurpose& p) {
        return p.kind == kind && button == QLatin1String(p.button);
    });
}

// Clicks `s` on a fresh window and, at the first pass of events of its run while the
// run holds the window, calls `atPause` with the window once. Whether the run paused.
template <class AtPause>
bool clickWithPause(apptest::Program& p, const WindowCase& c, const SendingButton& s,
                    AtPause atPause) {
    core::ToolWindow* w = apptest::freshWindow(p, c, s.view);
    QAbstractButton* b = w ? apptest::buttonOf(w, s) : nullptr;
    if (!b) {
        ADD_FAILURE() << "no " << s.where();
        return false;
    }
    const bool paused = apptest::atFirstPause(
        w, [b] { b->click(); }, [&] { atPause(w, b); });
    apptest::closeEveryWindow(p);
    return paused;
}

// The fewest buttons of a window of each kind (the fewest of its products) whose run
// lets events run while it holds the window.
int leastPausingRuns(const WindowCase& c) {
    using K = core::WindowKind;
    switch (c.kind) {
        case K::Iso15693:
            return 12;
        case K::AutoDetect:
            return 5;
        case K::TagDetection:
            return 2;
        case K::Iso14443A:
        case K::Script:
            return 1;
        case K::Iso14443B:
            // The generic card's layout has no memory view.
            return c.product == QLatin1String("ISO14443-B") ? 0 : 1;
        default:
            return 0;
    }
}

class RunLock : public ::testing::TestWithParam<WindowCase> {};

TEST_P(RunLock, TheOtherSendingButtonsAreOffDuringARunAndAClickOnOneSendsNothing) {
    const WindowCase& c = GetParam();
    apptest::Program p;
    const std::vector<SendingButton> sending = apptest::sendingButtons(p, c);
    int runs = 0;
    for (const SendingButton& s : sending) {
        // The sending buttons the user could click during the run of `s`.
        std::vector<int> clickable;
        runs += clickWithPause(p, c, s, [&](core::ToolWindow* w, QAbstractButton* b) {
            const QList<QAbstractButton*> buttons = apptest::buttonsOf(w);
            for (const SendingButton& other : sending) {
                QAbstractButton* o = buttons.value(other.index);
                if (o && o != b && apptest::clickable(w, o) &&
                    std::find(clickable.begin(), clickable.end(), other.index) == clickable.end())
                    clickable.push_back(other.index);
            }
        });
        for (int index : clickable) {
            QString name;
            int calls = 0;
            clickWithPause(p, c, s, [&](core::ToolWindow* w, QAbstractButton*) {
                QAbstractButton* o = apptest::buttonsOf(w).value(index);
                name = o->objectName();
                p.watched.before = [&calls](reader::ReaderFunction, std::string_view) { ++calls; };
                o->click();
                p.watched.before = nullptr;
            });
            if (listed(kOnPurpose, c.kind, name)) continue;
            EXPECT_TRUE(listed(kLeftOn, c.kind, name))
                << name.toStdString() << " is on during the run of " << s.where();
            EXPECT_EQ(calls, 0) << name.toStdString() << " clicked during the run of " << s.where();
        }
    }
    EXPECT_GE(runs, leastPausingRuns(c));
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, RunLock, ::testing::ValuesIn(apptest::builtWindows()),
                         [](const ::testing::TestParamInfo<WindowCase>& info) {
                             return apptest::caseName(info.param);
                         });

}  // namespace

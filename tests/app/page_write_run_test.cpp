// The page-write panel of every tag window during a write run: the run lets events run
// between its exchanges, so a second Write, or a byte typed into a row, would land in the
// middle of it. The rows and the Write button are off for the whole run, the hourglass
// says the program works, and both are back at the next set-up.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>

#include "core/ui.hpp"
#include "every_window.hpp"
#include "widgets/hex_entry_box.hpp"
#include "widgets/page_write_panel.hpp"

namespace {

using core::WindowKind;

// What the panel let the user do at one moment of the run.
struct Moment {
    bool busy = false;  // the hourglass is shown
    bool writeEnabled = false;
    int rowsShown = 0;
    int rowsEnabled = 0;
};

Moment momentOf(const widgets::PageWritePanel& panel, const core::Ui& ui) {
    Moment m;
    m.busy = ui.isBusy();
    m.writeEnabled = panel.writeButton()->isEnabled();
    for (int i = 0; i < widgets::PageWritePanel::kRows; ++i) {
        const QLineEdit* r = panel.row(i);
        if (!r->isVisibleTo(&panel)) continue;
        ++m.rowsShown;
        if (r->isEnabled()) ++m.rowsEnabled;
    }
    return m;
}

TEST(PageWriteRun, TheRowsAndTheWriteButtonAreOffWhileAWriteRuns) {
    struct Case {
        WindowKind kind;
        const char* product;
        const char* setup;  // the set-up button that opens the panel
        const char* from;
        const char* to;
        bool userModePage;  // the ISO15693 window writes from its User Mode page
    };
    const Case cases[] = {
        {WindowKind::Iso15693, "VEL-C", "cmdWriteSingleBlock", "00", "02", true},
        {WindowKind::Iso14443A, "ISO14443-A", "cmd_ISO14443A_Write", "05", "05", false},
        {WindowKind::Iso14443B, "SOLA-A", "cmd_ISO14443B_Write", "00", "02", false},
    };
    apptest::Program program;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.product);
        core::ToolWindow* w = program.open({c.kind, c.product});
        ASSERT_NE(w, nullptr);
        if (c.userModePage)
            w->findChild<QTabBar*>(QStringLiteral("tabStripchoice"))->setCurrentIndex(1);
        auto box = [w](int i) {
            return w->findChild<widgets::HexEntryBox*>(QStringLiteral("txtUserAddress_%1").arg(i));
        };
        for (int i : {0, 1}) {
            ASSERT_NE(box(i), nullptr);
            box(i)->setText(QLatin1String(i == 0 ? c.from : c.to));
            box(i)->commit();
        }
        auto* panel = w->findChild<widgets::PageWritePanel*>(QStringLiteral("fraPageWrite"));
        ASSERT_NE(panel, nullptr);
        auto setUp = [&] {
            w->findChild<QAbstractButton*>(QLatin1String(c.setup))->click();
            ASSERT_TRUE(panel->isVisibleTo(w));
            panel->row(0)->setText(QStringLiteral("A1 B2 C3 D4 "));
        };
        setUp();
        const Moment opened = momentOf(*panel, program.tc.ui);
        EXPECT_TRUE(opened.writeEnabled);
        EXPECT_GT(opened.rowsShown, 0);
        EXPECT_EQ(opened.rowsEnabled, opened.rowsShown);

        // Every pass of events the run lets through, as a click would meet it.
        std::vector<Moment> during;
        QTimer watch;
        watch.setInterval(0);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (w->exclusiveRunActive()) during.push_back(momentOf(*panel, program.tc.ui));
        });
        watch.start();
        panel->writeButton()->click();
        watch.stop();

        ASSERT_FALSE(during.empty()) << "the run let no events through";
        for (const Moment& m : during) {
            EXPECT_TRUE(m.busy);
            EXPECT_FALSE(m.writeEnabled);
            EXPECT_EQ(m.rowsShown, opened.rowsShown);
            EXPECT_EQ(m.rowsEnabled, 0);
        }
        EXPECT_FALSE(w->exclusiveRunActive());

        // The next write is set up on a panel the user can type into and send.
        setUp();
        const Moment again = momentOf(*panel, program.tc.ui);
        EXPECT_FALSE(again.busy);
        EXPECT_TRUE(again.writeEnabled);
        EXPECT_EQ(again.rowsEnabled, again.rowsShown);
        program.close(c.kind);
    }
}

}  // namespace

// Every tool window of the program, opened as the menus open it in a main window of the
// smallest screen it is used on, must be usable: whole inside the main window's area, or
// scrolling inside it, with its log buttons and its close button within reach.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollArea>

#include "every_window.hpp"
#include "shell/main_window.hpp"

namespace {

// The control lies within the visible part of the area once its window has scrolled to it.
void expectReachable(QMdiArea* area, QMdiSubWindow* frame, QWidget* control, const char* what) {
    auto* scroll = qobject_cast<QScrollArea*>(frame->widget());
    if (scroll) scroll->ensureWidgetVisible(control);
    QCoreApplication::processEvents();
    const QRect inArea(control->mapTo(area->viewport(), QPoint(0, 0)), control->size());
    EXPECT_TRUE(area->viewport()->rect().contains(inArea))
        << what << " at " << inArea.x() << "," << inArea.y() << " " << inArea.width() << "x"
        << inArea.height();
    if (scroll) {
        const QRect inView(control->mapTo(scroll->viewport(), QPoint(0, 0)), control->size());
        EXPECT_TRUE(scroll->viewport()->rect().contains(inView)) << what;
    }
}

TEST(WindowFit, EveryToolWindowFitsOrScrollsInASmallMainWindow) {
    apptest::Program program;
    shell::MainWindow main(*program.tc.ctx);
    main.resize(1024, 768);
    main.show();
    QCoreApplication::processEvents();
    QMdiArea* area = main.area();
    ASSERT_LT(area->viewport()->height(), 768);

    const int checked = program.forEveryWindow([area](core::ToolWindow* w) {
        auto* frame = qobject_cast<QMdiSubWindow*>(w->outerFrame());
        ASSERT_NE(frame, nullptr);
        EXPECT_TRUE(area->viewport()->rect().contains(frame->geometry()))
            << frame->geometry().width() << "x" << frame->geometry().height() << " at "
            << frame->x() << "," << frame->y();
        for (const char* name :
             {"cmdSaveLog", "cmdClearLog", "cmdSaveScriptLog", "cmdEraseLogScript"}) {
            if (auto* button = w->findChild<QAbstractButton*>(QLatin1String(name)))
                expectReachable(area, frame, button, name);
        }
    });
    EXPECT_GE(checked, 3);
}

}  // namespace

// Every tool window of the program, opened as the menus open it in a main window of the
// smallest screen it is used on, must be usable: whole inside the main window's area, or
// scrolling inside it, with its log buttons and its close button within reach.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollArea>

#include "app/windows.hpp"
#include "core/product_catalogue.hpp"
#include "core/window_registry.hpp"
#include "shell/main_window.hpp"
#include "simboard/simulated_board.hpp"
#include "test_context.hpp"

namespace {

using core::WindowKind;

struct KindCase {
    WindowKind kind;
    const char* product;  // opened through the product menus when set
};

const KindCase kKinds[] = {
    {WindowKind::Console, nullptr},      {WindowKind::BoardTools, nullptr},
    {WindowKind::Iso15693, "VEL-C"},     {WindowKind::Iso14443A, "ISO14443-A"},
    {WindowKind::Iso14443B, "SOLA-A"},   {WindowKind::Iso18092, "ISO18092"},
    {WindowKind::TagDetection, nullptr}, {WindowKind::AutoDetect, nullptr},
    {WindowKind::Script, nullptr},       {WindowKind::ScriptHelp, nullptr},
    {WindowKind::Notes, nullptr},        {WindowKind::About, nullptr},
};

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
    simboard::SimulatedBoard board;
    testsupport::TestContext tc(&board);
    core::ProgramValues& v = tc.values();
    v.DllRevisionNumber = 51;
    v.McuRevisionText = QStringLiteral("1.4.1");
    v.ReaderIdnText = QStringLiteral("0011TQ73RN-SIM-2A");
    v.DemodGainValue = QStringLiteral("D1");
    app::registerAllWindows(tc.ctx->windows());

    shell::MainWindow main(*tc.ctx);
    main.resize(1024, 768);
    main.show();
    QCoreApplication::processEvents();
    QMdiArea* area = main.area();
    ASSERT_LT(area->viewport()->height(), 768);

    int checked = 0;
    for (const KindCase& k : kKinds) {
        if (!tc.ctx->windows().hasFactory(k.kind)) continue;
        SCOPED_TRACE(static_cast<int>(k.kind));
        if (k.product) {
            core::SelectProduct(*tc.ctx, QString::fromLatin1(k.product));
        } else {
            tc.ctx->windows().show(k.kind);
        }
        QCoreApplication::processEvents();
        core::ToolWindow* w = tc.ctx->windows().find(k.kind);
        ASSERT_NE(w, nullptr);
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
        ++checked;
        tc.ctx->windows().close(k.kind);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    EXPECT_GE(checked, 3);
}

}  // namespace

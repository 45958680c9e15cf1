// Every tool window of the program, opened as the menus open it in a main window of the
// smallest screen it is used on, must be usable: whole inside the main window's area, or
// scrolling inside it, with its log buttons and its close button within reach.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollArea>
#include <QScrollBar>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "every_window.hpp"
#include "sending_buttons.hpp"
#include "shell/main_window.hpp"
#include "widgets/memory_view.hpp"

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

// A read view's memory line of a block of `bytes` bytes, its security byte in front.
QString bytesLine(int bytes) {
    QString line = QStringLiteral("FF   ");
    for (int i = 0; i < bytes; ++i) line += QStringLiteral("FF ");
    return line;
}

// The widest lines each list view of the program is given, by the view's name. A read
// view line is a block address, three blanks and a memory line: the block's bytes or a
// failure text, the widest of each tag window's.
const std::map<QString, std::vector<QString>>& widestLines() {
    static const std::map<QString, std::vector<QString>> lines = {
        {QStringLiteral("lstReadView"),
         {
             QStringLiteral("(12) Block is locked, content cannot be changed"),
             QStringLiteral("(13) Block was not successfully programmed"),
             QStringLiteral("(AF) Answer format problemz"),
             QStringLiteral("(00) No error during Prog sequence"),
             QStringLiteral("error code returned"),
             QStringLiteral("error detected "),
             QStringLiteral("no detected answer"),
             // A single-block read that took no valid answer shows the answer as received,
             // as long as the library's answer buffer holds.
             QString(255, QLatin1Char('F')),
         }},
        {QStringLiteral("lstTransponderUID"),
         {
             QStringLiteral("\tUID\t\t\tDSFID"),
             QStringLiteral(" FF\tFFFFFFFFFFFFFFFF\t\tFF"),
             QStringLiteral("(AF) Answer format problemz"),
             QStringLiteral("no detected answer"),
         }},
        {QStringLiteral("lstSystemInfo"),
         {
             QStringLiteral(" UID : \t\tFFFFFFFFFFFFFFFF"),
             QStringLiteral(" Memory size : \tFFFFh"),
             QStringLiteral(" IC reference : \tFFh"),
             QStringLiteral("error code 13 : block not successfully programmed"),
             QStringLiteral("error code 03 : cmd option not supported"),
             QStringLiteral("FF : unknown error code"),
         }},
    };
    return lines;
}

// Puts `lines` into the view as the window does: a read view through its memory lines,
// each behind its block address; the other lists as they are.
void showLines(QListWidget* view, std::vector<QString> lines, core::ProgramValues& values) {
    if (auto* read = qobject_cast<widgets::MemoryView*>(view)) {
        lines.push_back(bytesLine(values.SelectedProduct.PageSize));
        values.ReadViewLines.Clear();
        // A full view of 16 lines, each line given at least once.
        for (int i = 0; i < widgets::kReadViewLines; ++i)
            values.ReadViewLines.AddItem(lines[static_cast<std::size_t>(i) % lines.size()]);
        read->fill(values.AddressMask, widgets::kReadViewLines);
    } else {
        view->clear();
        for (const QString& line : lines) view->addItem(line);
    }
    QCoreApplication::processEvents();
}

// Each line of the view lies inside its lines' area, or the view's own scroll bars reach
// it: sideways for a line wider than the view, downwards for a line below its foot.
void expectEveryLineReachable(QListWidget* view) {
    const QRect port = view->viewport()->rect();
    QScrollBar* sideways = view->horizontalScrollBar();
    QScrollBar* down = view->verticalScrollBar();
    const auto reaches = [view](Qt::ScrollBarPolicy policy, QScrollBar* bar, int beyond) {
        return beyond <= 0 || (policy != Qt::ScrollBarAlwaysOff && bar->isVisibleTo(view) &&
                               bar->maximum() >= beyond);
    };
    sideways->setValue(0);
    down->setValue(0);
    for (int row = 0; row < view->count(); ++row) {
        const QModelIndex index = view->model()->index(row, 0);
        const QSize need = view->sizeHintForIndex(index);
        const QRect at = view->visualRect(index);
        const std::string line = view->item(row)->text().toStdString();
        EXPECT_TRUE(reaches(view->horizontalScrollBarPolicy(), sideways,
                            at.left() + need.width() - port.width()))
            << "line \"" << line << "\" needs " << need.width() << " px of " << port.width()
            << " in " << view->objectName().toStdString();
        EXPECT_TRUE(reaches(view->verticalScrollBarPolicy(), down, at.bottom() + 1 - port.height()))
            << "line " << row << " \"" << line << "\" ends at " << at.bottom() + 1 << " px of "
            << port.height() << " in " << view->objectName().toStdString();
    }
}

// The text-fit property for what the list views show: the widest line each is given by
// the window (the longest error line of a protocol's read view, a tag line, a system
// information line) can be read whole, by scrolling if need be. Every list view of every
// view of every window is looked at, and each needs its lines in the table above.
TEST(WindowFit, EveryLineAListViewShowsFitsOrCanBeScrolledTo) {
    apptest::Program program;
    std::map<QString, int> checked;
    program.forEveryWindow([&](core::ToolWindow* w) {
        std::set<QListWidget*> done;
        for (const apptest::View& v : apptest::viewsOf(w)) {
            v.show(w);
            QCoreApplication::processEvents();
            for (QListWidget* view : w->findChildren<QListWidget*>()) {
                // A read view shows from the first read on.
                if (qobject_cast<widgets::MemoryView*>(view) && view->parentWidget()->isVisible())
                    view->show();
                if (!view->isVisible() || done.count(view)) continue;
                done.insert(view);
                SCOPED_TRACE(v.name.toStdString() + ", " + view->objectName().toStdString());
                const auto lines = widestLines().find(view->objectName());
                if (lines == widestLines().end()) {
                    ADD_FAILURE() << "no lines for the list view "
                                  << view->objectName().toStdString();
                    continue;
                }
                showLines(view, lines->second, program.tc.values());
                expectEveryLineReachable(view);
                ++checked[view->objectName()];
            }
        }
    });
    // The read view of each memory product of the three tag windows, the two lists of each
    // ISO15693 product.
    EXPECT_GE(checked[QStringLiteral("lstReadView")], 12);
    EXPECT_GE(checked[QStringLiteral("lstTransponderUID")], 8);
    EXPECT_GE(checked[QStringLiteral("lstSystemInfo")], 8);
}

}  // namespace

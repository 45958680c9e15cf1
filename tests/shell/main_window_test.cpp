#include "shell/main_window.hpp"

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>

#include "core/product_catalogue.hpp"
#include "core/settings_file.hpp"
#include "reader/recording_reader.hpp"
#include "recording_windows.hpp"
#include "shell/program_icon.hpp"
#include "shell/startup_detection.hpp"
#include "simboard/simulated_board.hpp"
#include "test_context.hpp"

using namespace shell;
using namespace core;
using reader::ReaderFunction;
using shelltest::registerRecordingWindows;

namespace {

struct MainWindowFixture : ::testing::Test {
    testsupport::TestContext t;
    QStringList journal;
    std::unique_ptr<MainWindow> main;

    MainWindowFixture() {
        t.scripted.setHealthyDefaults();
        t.ctx->windows().registerFactory(
            core::WindowKind::StartupDetection,
            [](core::AppContext& c) { return new StartupDetectionWindow(c); });
        registerRecordingWindows(*t.ctx, journal,
                                 {{core::WindowKind::Console, "console"},
                                  {core::WindowKind::BoardTools, "tools"},
                                  {core::WindowKind::Iso15693, "15693"},
                                  {core::WindowKind::Iso14443A, "14443A"},
                                  {core::WindowKind::Iso14443B, "14443B"},
                                  {core::WindowKind::Iso18092, "18092"},
                                  {core::WindowKind::Script, "script"},
                                  {core::WindowKind::ScriptHelp, "scripthelp"},
                                  {core::WindowKind::TagDetection, "tagdetect"},
                                  {core::WindowKind::AutoDetect, "autodetect"},
                                  {core::WindowKind::About, "about"}});
        main = std::make_unique<MainWindow>(*t.ctx);
    }

    // Start-up through to the detection window's closing.
    void startAndDetect() {
        main->load();
        t.timing.advance(2000);
        t.timing.advance(3000);
    }
    QAction* entry(const char* name) {
        auto* a = main->findChild<QAction*>(QLatin1String(name));
        EXPECT_NE(a, nullptr) << name;
        return a;
    }
    QMdiSubWindow* frameOf(core::WindowKind kind) {
        core::ToolWindow* w = t.ctx->windows().find(kind);
        return w ? qobject_cast<QMdiSubWindow*>(w->outerFrame()) : nullptr;
    }
    // The frame drawn over every other one.
    QMdiSubWindow* frontFrame() {
        const QList<QMdiSubWindow*> frames = main->area()->subWindowList(QMdiArea::StackingOrder);
        return frames.isEmpty() ? nullptr : frames.last();
    }
    QString usageFileText() {
        QFile f(core::usageFilePath(t.ctx->programFolder()));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    void writeUsageFile(const QByteArray& text) {
        QFile f(core::usageFilePath(t.ctx->programFolder()));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }
};

TEST_F(MainWindowFixture, StartUpKeepsMenusOffUntilTheDetectionWindowCloses) {
    t.values().ReaderIdnText = QStringLiteral("stale");
    main->load();
    EXPECT_EQ(main->windowTitle(), QStringLiteral("  TQ73RN Development Software"));
    EXPECT_TRUE(main->isMaximized());
    EXPECT_EQ(t.values().DemodGainValue, QStringLiteral("D1"));
    EXPECT_TRUE(t.values().ReaderIdnText.isEmpty());
    // No settings file: white, written as the design default.
    EXPECT_EQ(t.values().BackColorSetting, QStringLiteral("&h00FFFFFF"));
    EXPECT_EQ(main->backgroundColour(), QColor(Qt::white));
    EXPECT_EQ(t.values().LastUsedFolder, t.ctx->programFolder());
    EXPECT_EQ(main->panelText(1), QString());
    EXPECT_EQ(main->panelText(2), QStringLiteral("version 1.3"));
    EXPECT_FALSE(main->panelText(3).isEmpty());

    const QList<QAction*> top = main->menuBar()->actions();
    QStringList captions;
    for (QAction* a : top) {
        captions << a->text();
        EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();
    }
    EXPECT_EQ(captions, (QStringList{"TQ73RN commands", "ISO15693", "ISO14443-B", "ISO14443-A",
                                     "ISO18092", " Tools", "Help"}));
    ASSERT_NE(t.ctx->windows().find(core::WindowKind::StartupDetection), nullptr);

    t.timing.advance(2000);  // the detection runs
    EXPECT_EQ(main->panelText(1), QStringLiteral(" DEMO-TQ73RN-A BOARD CONNECTED"));
    EXPECT_FALSE(main->menusEnabled());
    t.timing.advance(2999);
    EXPECT_FALSE(main->menusEnabled());
    t.timing.advance(1);
    for (QAction* a : top) EXPECT_TRUE(a->isEnabled()) << a->text().toStdString();
    EXPECT_EQ(t.ctx->windows().find(core::WindowKind::StartupDetection), nullptr);
}

TEST_F(MainWindowFixture, ProductMenusHoldGreyedDividers) {
    const struct {
        const char* menu;
        QStringList captions;
    } menus[] = {
        {"mnuISO15693cmd",
         {"VEL-C", "VEL-D", "VELS-A", "VELS-CX", QString(35, '-'), "DUONX-AE", "DUONX-BE",
          "DUONX-C", "DUONX-DE"}},
        {"mnuISO14443Bcmd",
         {"ISO14443-B Cards commands", QString(35, '-'), "SOLA-A", "SOLT-A", "SOLA-B", "SOLA-C",
          "SOLX-A"}},
        {"mnuISO14443Acmd", {"ISO14443-A Cards commands", QString(40, '-'), "TOPAZ"}},
        {"mnuTool",
         {"DEMO-TQ73RN-A tool box", "Tag Detection tool", "Auto Detect tool", "Script tool"}},
        {"mnuHelp", {"Change backgroung color", "Script Help", "About ..."}},
    };
    for (const auto& m : menus) {
        auto* menu = main->findChild<QMenu*>(QLatin1String(m.menu));
        ASSERT_NE(menu, nullptr) << m.menu;
        QStringList captions;
        for (QAction* a : menu->actions()) {
            captions << a->text();
            EXPECT_EQ(a->isEnabled(), !a->text().startsWith(QLatin1Char('-')));
        }
        EXPECT_EQ(captions, m.captions) << m.menu;
    }
}

// What each entry closes before it opens its window. Windows already open at the
// start of each case: the four protocol windows, both detection tools cannot be open
// together, so each case names its own.
TEST_F(MainWindowFixture, MenuEntriesCloseAndShowByTheTable) {
    struct Case {
        const char* entry;
        std::vector<core::WindowKind> open;
        QStringList journal;
    };
    using K = core::WindowKind;
    const Case cases[] = {
        {"mnuShowTagDetectionTool",
         {K::Iso15693, K::Iso14443A, K::AutoDetect, K::Script, K::Console},
         {"unload 14443A", "unload 15693", "unload autodetect", "load tagdetect"}},
        {"mnuShowAutoDetectTool",
         {K::Iso14443B, K::Iso18092, K::TagDetection, K::BoardTools},
         {"unload 14443B", "unload 18092", "unload tagdetect", "load autodetect"}},
        // The script tool leaves the detection tools open.
        {"mnuShowScriptTool",
         {K::Iso15693, K::Iso18092, K::TagDetection},
         {"unload 18092", "unload 15693", "load script"}},
        {"mnuShowTQ73RNcommands", {K::Iso15693}, {"load console"}},
        {"mnuShowDemoKitTools", {K::Iso15693}, {"load tools"}},
        {"mnuScriptHelp", {K::Script}, {"load scripthelp"}},
        {"mnuabout", {K::Console}, {"load about"}},
        // An open window is brought forward, not loaded again.
        {"mnuShowTQ73RNcommands", {K::Console}, {}},
    };
    startAndDetect();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        for (int k = 0; k <= static_cast<int>(K::About); ++k) {
            t.ctx->windows().close(static_cast<K>(k));
        }
        for (K k : c.open) t.ctx->windows().show(k);
        journal.clear();
        entry(c.entry)->trigger();
        EXPECT_EQ(journal, c.journal);
    }
}

TEST_F(MainWindowFixture, ChildWindowsLiveInTheMainWindowArea) {
    startAndDetect();
    entry("mnuShowTQ73RNcommands")->trigger();
    entry("mnuShowTQ73RNcommands")->trigger();
    EXPECT_EQ(journal, QStringList{"load console"});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // the detection's frame
    ASSERT_EQ(main->area()->subWindowList().size(), 1);
    EXPECT_EQ(main->area()->subWindowList()[0],
              t.ctx->windows().find(core::WindowKind::Console)->outerFrame());
}

// A window chosen from its menu while another covers it, or while it is minimised, is
// brought forward: restored, its frame on top and active. It is not loaded again.
TEST_F(MainWindowFixture, AWindowChosenAgainComesForward) {
    startAndDetect();
    entry("mnuShowTQ73RNcommands")->trigger();
    entry("mnuShowDemoKitTools")->trigger();
    QMdiSubWindow* console = frameOf(core::WindowKind::Console);
    QMdiSubWindow* tools = frameOf(core::WindowKind::BoardTools);
    ASSERT_NE(console, nullptr);
    ASSERT_NE(tools, nullptr);
    ASSERT_EQ(frontFrame(), tools);

    const struct {
        const char* entry;
        QMdiSubWindow* comesForward;
        QMdiSubWindow* minimisedFirst;
    } steps[] = {
        {"mnuShowTQ73RNcommands", console, nullptr},
        {"mnuShowDemoKitTools", tools, nullptr},
        {"mnuShowTQ73RNcommands", console, console},
        {"mnuShowDemoKitTools", tools, tools},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(std::string(s.entry) + (s.minimisedFirst ? " (minimised)" : ""));
        if (s.minimisedFirst) {
            s.minimisedFirst->showMinimized();
            ASSERT_TRUE(s.minimisedFirst->isMinimized());
        }
        entry(s.entry)->trigger();
        EXPECT_FALSE(s.comesForward->isMinimized());
        EXPECT_TRUE(s.comesForward->isVisible());
        EXPECT_EQ(frontFrame(), s.comesForward);
        EXPECT_EQ(main->area()->activeSubWindow(), s.comesForward);
    }
    EXPECT_EQ(journal, (QStringList{"load console", "load tools"}));
}

// A window opened whole in a large main window scrolls once the main window is made
// smaller than it, every part of it in reach, and is whole again once there is room.
// A frame the user sized keeps the user's size; one left partly outside is moved in.
TEST_F(MainWindowFixture, WindowsOpenedBeforeTheMainWindowShrinksScrollInIt) {
    const QSize client(1200, 800);
    t.ctx->windows().registerFactory(core::WindowKind::Console, [&](core::AppContext& c) {
        auto* w =
            new shelltest::RecordingWindow(c, core::WindowKind::Console, "console", journal, {});
        w->resize(client);
        return w;
    });
    main->resize(1600, 1000);
    main->show();
    QCoreApplication::processEvents();
    t.ctx->windows().show(core::WindowKind::Console);
    t.ctx->windows().show(core::WindowKind::About);
    QMdiSubWindow* console = frameOf(core::WindowKind::Console);
    QMdiSubWindow* about = frameOf(core::WindowKind::About);
    ASSERT_NE(console, nullptr);
    ASSERT_NE(about, nullptr);
    about->resize(300, 200);  // the user's own size, smaller than any room
    about->move(1100, 600);
    auto* scroll = qobject_cast<QScrollArea*>(console->widget());
    ASSERT_NE(scroll, nullptr);
    QWidget* room = main->area()->viewport();
    const QSize whole = console->size();
    QCoreApplication::processEvents();
    ASSERT_TRUE(scroll->viewport()->rect().contains(QRect(QPoint(0, 0), client)));

    for (const QSize mainSize : {QSize(1024, 768), QSize(800, 600), QSize(1600, 1000)}) {
        SCOPED_TRACE(mainSize.width());
        main->resize(mainSize);
        QCoreApplication::processEvents();
        const bool fits = room->width() >= whole.width() && room->height() >= whole.height();
        EXPECT_TRUE(room->rect().contains(console->geometry()))
            << console->x() << "," << console->y() << " " << console->width() << "x"
            << console->height() << " in " << room->width() << "x" << room->height();
        EXPECT_EQ(console->size(), fits ? whole : whole.boundedTo(room->size()));
        EXPECT_EQ(scroll->verticalScrollBar()->isVisible(), !fits);
        // The window's far corner scrolled to comes into sight.
        scroll->ensureVisible(client.width() - 1, client.height() - 1, 0, 0);
        const QPoint corner =
            scroll->widget()->mapTo(room, QPoint(client.width() - 1, client.height() - 1));
        EXPECT_TRUE(room->rect().contains(corner)) << corner.x() << "," << corner.y();
        EXPECT_EQ(about->size(), QSize(300, 200));
        EXPECT_TRUE(room->rect().contains(about->geometry()));
    }
}

// The caption says whenever the simulated board answers, so that its answers are never
// taken for a real board's.
TEST_F(MainWindowFixture, CaptionTellsTheSimulatedBoard) {
    const struct {
        bool simulated;
        const char* caption;
    } cases[] = {
        {true, "  TQ73RN Development Software - simulated board"},
        {false, "  TQ73RN Development Software"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.simulated);
        core::ReaderChoice choice;
        choice.simulated = c.simulated;
        t.ctx->setReaderChoice(choice);
        MainWindow window(*t.ctx);
        window.load();
        EXPECT_EQ(window.windowTitle(), QLatin1String(c.caption));
        t.ctx->windows().close(core::WindowKind::StartupDetection);
    }
    // No library failed to load: nothing to tell.
    EXPECT_TRUE(t.ui.messages().empty());
}

// A reader library beside the program that does not load is told before the detection,
// which then finds the simulated board.
TEST_F(MainWindowFixture, AReaderLibraryThatDoesNotLoadIsTold) {
    const QString library = t.path(QStringLiteral("libTQ73RN.so"));
    QFile broken(library);
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a library\n");
    broken.close();

    simboard::SimulatedBoard* board = nullptr;
    core::ChosenReader chosen = core::chooseReader(t.ctx->programFolder(), [&board] {
        auto made = std::make_unique<simboard::SimulatedBoard>();
        board = made.get();
        return made;
    });
    ASSERT_NE(board, nullptr);
    ASSERT_EQ(chosen.reader.get(), board);
    reader::RecordingReader journalled(*board);
    t.ctx->setReader(journalled);
    t.ctx->setReaderChoice(chosen.choice);

    t.ui.expectMessage();
    main->load();
    ASSERT_EQ(t.ui.messages().size(), 1u);
    const auto& message = t.ui.messages()[0];
    EXPECT_EQ(message.title, QStringLiteral("  TQ73RN Development Software - simulated board"));
    EXPECT_EQ(message.title, main->windowTitle());
    const QString reason = chosen.choice.failureReason;
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_FALSE(reason.contains(library)) << reason.toStdString();
    EXPECT_EQ(message.text, QStringLiteral("The reader library ") + library +
                                QStringLiteral(" could not be loaded: ") + reason +
                                QStringLiteral(". The simulated board is used instead."));
    // Told before the board is asked anything.
    EXPECT_TRUE(journalled.journal().empty());

    t.timing.advance(2000);
    EXPECT_EQ(t.values().ReaderIdnText,
              QStringLiteral("IDN = ") + QString::fromStdString(board->config().identification));
    EXPECT_EQ(main->panelText(1), QStringLiteral(" DEMO-TQ73RN-A BOARD CONNECTED"));
    EXPECT_EQ(main->windowTitle(),
              QStringLiteral("  TQ73RN Development Software - simulated board"));
    EXPECT_EQ(t.ui.messages().size(), 1u);
}

// The program's own icon, not the toolkit's, on the main window and the child frames.
TEST_F(MainWindowFixture, WindowsCarryTheProgramsIcon) {
    startAndDetect();
    entry("mnuShowTQ73RNcommands")->trigger();
    const QIcon& ours = shell::programIcon();
    ASSERT_FALSE(ours.pixmap(16, 16).isNull());
    EXPECT_EQ(main->windowIcon().cacheKey(), ours.cacheKey());
    EXPECT_EQ(frameOf(core::WindowKind::Console)->windowIcon().cacheKey(), ours.cacheKey());
}

TEST_F(MainWindowFixture, ProductEntryPassesItsCaption) {
    QFile products(t.path(QLatin1String(core::kProductsFileName)));
    ASSERT_TRUE(products.open(QIODevice::WriteOnly | QIODevice::Truncate));
    products.write("\"h\"\r\n\"ISO14443-A\",2,4,1,1,\"0\",0\r\n");
    products.close();
    startAndDetect();
    entry("mnuISO14443Aproduct_0")->trigger();
    EXPECT_EQ(journal, QStringList{"load 14443A"});
    EXPECT_EQ(t.values().SelectedProduct.Reference, QStringLiteral("ISO14443-A"));
    core::ToolWindow* w = t.ctx->windows().find(core::WindowKind::Iso14443A);
    ASSERT_NE(w, nullptr);
    ASSERT_NE(w->outerFrame(), w);  // its frame in the main window's area
    EXPECT_EQ(w->outerFrame()->windowTitle(),
              QStringLiteral("   ISO14443-A  user interface  ISO14443-A"));
}

TEST_F(MainWindowFixture, SettingsFileColourIsApplied) {
    const struct {
        const char* file;
        QColor colour;
        const char* setting;
    } cases[] = {
        {"\"D:\\Logs\\\",\"255\"\r\n", QColor(255, 0, 0), "255"},
        {"\"D:\\Logs\\\",\"&h00FF0000\"\r\n", QColor(0, 0, 255), "&h00FF0000"},
        // Not a colour: the design white stays.
        {"\"D:\\Logs\\\",\"teal\"\r\n", QColor(Qt::white), "teal"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        writeUsageFile(c.file);
        MainWindow window(*t.ctx);
        window.load();
        EXPECT_EQ(window.backgroundColour(), c.colour);
        EXPECT_EQ(t.values().BackColorSetting, QLatin1String(c.setting));
        EXPECT_EQ(t.values().LastUsedFolder, QStringLiteral("D:\\Logs\\"));
        t.ctx->windows().close(core::WindowKind::StartupDetection);
    }
}

TEST_F(MainWindowFixture, BackgroundColourCommandWritesTheSettingsFile) {
    startAndDetect();
    const QString folder = t.values().LastUsedFolder;

    t.ui.expectColorDialog(QColor(0, 0, 255));
    entry("mnubackgroundcolor")->trigger();
    EXPECT_EQ(main->backgroundColour(), QColor(0, 0, 255));
    EXPECT_EQ(t.values().BackColorSetting, QStringLiteral("16711680"));
    EXPECT_EQ(usageFileText(), QStringLiteral("\"%1\",\"16711680\"\r\n").arg(folder));

    // Cancelled: the colour stays and is written all the same.
    writeUsageFile("");
    t.ui.expectColorDialog(std::nullopt);
    entry("mnubackgroundcolor")->trigger();
    EXPECT_EQ(main->backgroundColour(), QColor(0, 0, 255));
    EXPECT_EQ(usageFileText(), QStringLiteral("\"%1\",\"16711680\"\r\n").arg(folder));

    // A folder recorded by a file dialog earlier in this run is kept.
    ASSERT_TRUE(SaveUsageFile(*t.ctx, QStringLiteral("/tmp/logs/"), QStringLiteral("16711680")));
    t.ui.expectColorDialog(QColor(255, 0, 0));
    entry("mnubackgroundcolor")->trigger();
    EXPECT_EQ(usageFileText(), QStringLiteral("\"/tmp/logs/\",\"255\"\r\n"));
    EXPECT_EQ(t.values().LastUsedFolder, folder);
}

TEST_F(MainWindowFixture, ClosingStopsLoopsAndClosesConsoleAndAbout) {
    startAndDetect();
    for (core::WindowKind k :
         {core::WindowKind::Console, core::WindowKind::About, core::WindowKind::Script}) {
        t.ctx->windows().show(k);
    }
    core::ProgramValues& v = t.values();
    v.ScriptLoopEnabled = v.AnticollisionLoopEnabled = v.ReqBLoopEnabled = v.ReqCLoopEnabled = true;
    journal.clear();
    main->close();
    EXPECT_TRUE(v.StopRequested);
    EXPECT_FALSE(v.ScriptLoopEnabled || v.AnticollisionLoopEnabled || v.ReqBLoopEnabled ||
                 v.ReqCLoopEnabled);
    EXPECT_EQ(journal, (QStringList{"unload about", "unload console"}));
    EXPECT_TRUE(t.ctx->quitting());
}

// Closing the program while the detection pauses: the detection makes no further call
// and writes nothing, and its window is not deleted while it still runs.
TEST_F(MainWindowFixture, ClosingDuringTheDetection) {
    main->load();
    QPointer<core::ToolWindow> detection =
        t.ctx->windows().find(core::WindowKind::StartupDetection);
    ASSERT_FALSE(detection.isNull());
    std::size_t callsAtClose = 0;
    t.timing.after(2400, nullptr, [&] {
        callsAtClose = t.scripted.calls().size();
        main->close();
    });
    t.timing.advance(2000);
    EXPECT_GT(callsAtClose, 0u);
    EXPECT_EQ(t.scripted.calls().size(), callsAtClose);
    EXPECT_EQ(main->panelText(1), QString());
    t.timing.advance(20000);
    EXPECT_EQ(t.scripted.calls().size(), callsAtClose);
    EXPECT_FALSE(main->menusEnabled());
    main.reset();  // the frame goes as at the end of the program
    EXPECT_TRUE(detection.isNull());
}

}  // namespace

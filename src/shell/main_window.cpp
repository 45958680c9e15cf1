#include "shell/main_window.hpp"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QScrollArea>
#include <QStatusBar>
#include <initializer_list>
#include <vector>

#include "core/app_context.hpp"
#include "core/command_controls.hpp"
#include "core/product_catalogue.hpp"
#include "core/settings_file.hpp"
#include "core/tool_window.hpp"
#include "shell/program_icon.hpp"
#include "transceiver/hex_text.hpp"
#include "widgets/window_builder.hpp"

namespace shell {

namespace {

constexpr std::uint32_t kDesignBackground = 0x00FFFFFF;  // white
constexpr std::uint32_t kColourDialogPreset = 16761024;  // a pale blue

enum class Command { Show, Product, Divider, BackgroundColour };

struct EntryRow {
    const char* name;  // "name_index" for members of a product array
    const char* caption;
    Command command;
    core::WindowKind window;
    std::vector<core::WindowKind> closesFirst;
};

struct MenuRow {
    const char* name;
    const char* caption;
    std::vector<EntryRow> entries;
};

const QString kHyphens35(35, QLatin1Char('-'));
const QString kHyphens40(40, QLatin1Char('-'));

EntryRow product(const char* name, const char* caption) {
    return {name, caption, Command::Product, core::WindowKind::About, {}};
}
EntryRow divider(const char* name) {
    return {name, nullptr, Command::Divider, core::WindowKind::About, {}};
}
EntryRow show(const char* name, const char* caption, core::WindowKind window,
              std::vector<core::WindowKind> closesFirst = {}) {
    return {name, caption, Command::Show, window, std::move(closesFirst)};
}

// The menu bar from left to right. Product arrays keep their dividers as members, so
// the index in each name is the entry's place in its menu.
const std::vector<MenuRow>& menuTable() {
    using K = core::WindowKind;
    static const std::vector<MenuRow> table = {
        {"mnuTQ73RNcommands",
         "TQ73RN commands",
         {show("mnuShowTQ73RNcommands", "TQ73RN commands", K::Console)}},
        {"mnuISO15693cmd",
         "ISO15693",
         {product("mnuISO15693product_0", "VEL-C"), product("mnuISO15693product_1", "VEL-D"),
          product("mnuISO15693product_2", "VELS-A"), product("mnuISO15693product_3", "VELS-CX"),
          divider("mnuISO15693product_4"), product("mnuISO15693product_5", "DUONX-AE"),
          product("mnuISO15693product_6", "DUONX-BE"), product("mnuISO15693product_7", "DUONX-C"),
          product("mnuISO15693product_8", "DUONX-DE")}},
        {"mnuISO14443Bcmd",
         "ISO14443-B",
         {product("mnuISO14443Bproduct_0", "ISO14443-B Cards commands"),
          divider("mnuISO14443Bproduct_1"), product("mnuISO14443Bproduct_2", "SOLA-A"),
          product("mnuISO14443Bproduct_3", "SOLT-A"), product("mnuISO14443Bproduct_4", "SOLA-B"),
          product("mnuISO14443Bproduct_5", "SOLA-C"), product("mnuISO14443Bproduct_6", "SOLX-A")}},
        {"mnuISO14443Acmd",
         "ISO14443-A",
         {product("mnuISO14443Aproduct_0", "ISO14443-A Cards commands"),
          divider("mnuISO14443Aproduct_1"), product("mnuISO14443Aproduct_2", "TOPAZ")}},
        {"mnuISO18092cmd", "ISO18092", {product("mnuISO18092product", "ISO18092 Cards commands")}},
        {"mnuTool",
         " Tools",
         {show("mnuShowDemoKitTools", "DEMO-TQ73RN-A tool box", K::BoardTools),
          show("mnuShowTagDetectionTool", "Tag Detection tool", K::TagDetection,
               {K::Iso14443A, K::Iso14443B, K::Iso18092, K::Iso15693, K::AutoDetect}),
          show("mnuShowAutoDetectTool", "Auto Detect tool", K::AutoDetect,
               {K::Iso14443A, K::Iso14443B, K::Iso18092, K::Iso15693, K::TagDetection}),
          show("mnuShowScriptTool", "Script tool", K::Script,
               {K::Iso14443A, K::Iso14443B, K::Iso18092, K::Iso15693})}},
        {"mnuHelp",
         "Help",
         {{"mnubackgroundcolor",
           "Change backgroung color",
           Command::BackgroundColour,
           K::About,
           {}},
          show("mnuScriptHelp", "Script Help", K::ScriptHelp),
          show("mnuabout", "About ...", K::About)}},
    };
    return table;
}

// The order the start-up detection hands the menus back in.
constexpr std::array<const char*, 7> kMenuEnableOrder = {
    "mnuTQ73RNcommands", "mnuISO15693cmd", "mnuISO14443Acmd", "mnuISO14443Bcmd",
    "mnuISO18092cmd",    "mnuTool",        "mnuHelp"};

}  // namespace

QString libraryNotLoadedText(const QString& libraryPath, const QString& reason) {
    return QStringLiteral("The reader library ") + QDir::toNativeSeparators(libraryPath) +
           QStringLiteral(" could not be loaded: ") + reason +
           QStringLiteral(". The simulated board is used instead.");
}

std::uint32_t colourNumber(const QColor& c) {
    return static_cast<std::uint32_t>(c.red()) | static_cast<std::uint32_t>(c.green()) << 8 |
           static_cast<std::uint32_t>(c.blue()) << 16;
}

QColor colourFromNumber(std::uint32_t n) {
    return QColor(static_cast<int>(n & 0xFF), static_cast<int>((n >> 8) & 0xFF),
                  static_cast<int>((n >> 16) & 0xFF));
}

std::optional<QColor> colourFromSetting(const QString& setting) {
    const QString text = setting.trimmed();
    bool ok = false;
    qulonglong value = 0;
    if (text.startsWith(QLatin1String("&h"), Qt::CaseInsensitive)) {
        value = text.mid(2).toULongLong(&ok, 16);
    } else {
        value = text.toULongLong(&ok, 10);
    }
    // Larger numbers name the system's own colours, which this program does not use.
    if (!ok || value > 0xFFFFFF) return std::nullopt;
    return colourFromNumber(static_cast<std::uint32_t>(value));
}

MainWindow::MainWindow(core::AppContext& ctx, QWidget* parent)
    : QMainWindow(parent), ctx_(ctx), area_(new QMdiArea(this)) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QLatin1String(kMainCaption));
    // The child windows' frames and the dialogs take their icon from here.
    setWindowIcon(programIcon());
    area_->setObjectName(QStringLiteral("MainFormArea"));
    setCentralWidget(area_);
    setBackgroundColour(colourFromNumber(kDesignBackground));
    buildMenus();

    for (int i = 0; i < 3; ++i) {
        panels_[i] = new QLabel(this);
        panels_[i]->setObjectName(QStringLiteral("StatusBarPanel_%1").arg(i + 1));
        panels_[i]->setFrameShape(QFrame::StyledPanel);
        panels_[i]->setFrameShadow(QFrame::Sunken);
        panels_[i]->setMinimumWidth(widgets::twipsToPixels(this, 2400));
    }
    panels_[1]->setText(QLatin1String(kVersionPanelText));
    panels_[2]->setText(QLatin1String(kOrganisationName));
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    statusBar()->setSizeGripEnabled(false);
    statusBar()->addWidget(panels_[0], 1);
    statusBar()->addWidget(panels_[1]);
    statusBar()->addWidget(panels_[2]);

    ctx_.setStatusBar(this);
    ctx_.windows().setHost([this](core::ToolWindow* w) { addChildWindow(w); });
    area_->viewport()->installEventFilter(this);
}

MainWindow::~MainWindow() {
    ctx_.windows().setHost({});
    ctx_.setStatusBar(nullptr);
}

void MainWindow::buildMenus() {
    const auto& table = shell::menuTable();
    for (std::size_t m = 0; m < table.size(); ++m) {
        const MenuRow& row = table[m];
        QMenu* menu = menuBar()->addMenu(QLatin1String(row.caption));
        menu->setObjectName(QLatin1String(row.name));
        menu->menuAction()->setObjectName(QLatin1String(row.name));
        topMenus_[m] = menu;
        for (const EntryRow& entry : row.entries) {
            const QString caption = entry.command != Command::Divider
                                        ? QString::fromLatin1(entry.caption)
                                    : row.name == std::string_view("mnuISO14443Acmd") ? kHyphens40
                                                                                      : kHyphens35;
            QAction* action = menu->addAction(caption);
            action->setObjectName(QLatin1String(entry.name));
            switch (entry.command) {
                case Command::Divider:
                    action->setEnabled(false);
                    break;
                case Command::Product:
                    connect(action, &QAction::triggered, this,
                            [this, caption] { core::SelectProduct(ctx_, caption); });
                    break;
                case Command::BackgroundColour:
                    connect(action, &QAction::triggered, this,
                            [this] { changeBackgroundColour(); });
                    break;
                case Command::Show:
                    connect(action, &QAction::triggered, this, [this, &entry] {
                        for (core::WindowKind k : entry.closesFirst) ctx_.windows().close(k);
                        ctx_.windows().show(entry.window);
                    });
                    break;
            }
        }
    }
}

void MainWindow::load() {
    const core::ReaderChoice& reader = ctx_.readerChoice();
    setWindowTitle(QLatin1String(shell::kMainCaption) +
                   (reader.simulated ? QLatin1String(kSimulatedBoardSuffix) : QLatin1String()));
    setMenusEnabled(false);
    core::ProgramValues& v = ctx_.values;
    v.DetectionPending = false;
    v.DemodGainValue = QStringLiteral("D1");
    move(0, 0);
    showMaximized();
    v.BackColorSetting =
        QStringLiteral("&h") +
        transceiver::HexPadLong(static_cast<std::int32_t>(colourNumber(background_)), 8);
    core::LoadUsageFile(ctx_);
    // A colour text that is no colour keeps the colour of the design.
    if (const auto colour = colourFromSetting(v.BackColorSetting)) setBackgroundColour(*colour);
    v.ReaderIdnText.clear();
    // Before the detection, which would find the simulated board and report it connected.
    if (!reader.failedLibrary.isEmpty()) {
        ctx_.ui().messageBox(libraryNotLoadedText(reader.failedLibrary, reader.failureReason),
                             windowTitle(), core::MsgIcon::Exclamation);
    }
    ctx_.windows().show(core::WindowKind::StartupDetection);
}

QString MainWindow::panelText(int panel) const {
    return panel >= 1 && panel <= 3 ? panels_[panel - 1]->text() : QString();
}

void MainWindow::setPanelText(int panel, const QString& text) {
    if (panel >= 1 && panel <= 3) panels_[panel - 1]->setText(text);
}

void MainWindow::setMenusEnabled(bool enabled) {
    for (const char* name : shell::kMenuEnableOrder) {
        for (QMenu* menu : topMenus_) {
            if (menu->objectName() == QLatin1String(name)) menu->menuAction()->setEnabled(enabled);
        }
    }
}

bool MainWindow::menusEnabled() const {
    for (QMenu* menu : topMenus_) {
        if (!menu->menuAction()->isEnabled()) return false;
    }
    return true;
}

void MainWindow::setBackgroundColour(const QColor& colour) {
    background_ = colour;
    area_->setBackground(colour);
}

void MainWindow::changeBackgroundColour() {
    const QColor previous = background_;
    const auto chosen = ctx_.ui().colorDialog(colourFromNumber(kColourDialogPreset));
    // A cancelled dialog keeps the colour, which is still written below.
    setBackgroundColour(chosen && chosen->isValid() ? *chosen : previous);
    core::ProgramValues& v = ctx_.values;
    v.BackColorSetting = QString::number(colourNumber(background_));

    // The settings file may already name a folder chosen in a file dialog during this run;
    // writing back the folder read at start-up would lose that choice.
    QString folder = v.LastUsedFolder;
    if (const auto record = core::readUsageFile(ctx_.programFolder())) folder = record->folder;
    // The colour only matters from the next start; a settings file that cannot be written
    // costs nothing now.
    (void)core::SaveUsageFile(ctx_, folder, v.BackColorSetting);
}

namespace {

// Holds a tool window inside its frame, so that a window larger than the main window's
// area scrolls instead of hiding its lower controls. Closing the frame closes the tool
// window, which decides what closing means.
class ToolScrollArea : public QScrollArea {
  public:
    explicit ToolScrollArea(core::ToolWindow* window) : window_(window) {
        setFrameShape(QFrame::NoFrame);
        setWidgetResizable(false);
        setWidget(window);
    }

    // The frame's size that shows the whole window, without scroll bars.
    QSize wholeFrameSize;
    // The size the area last gave the frame; a frame the user has resized since keeps
    // the user's size.
    QSize fittedFrameSize;

  protected:
    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        if (window_) window_->close();
    }

  private:
    QPointer<core::ToolWindow> window_;
};

// The frame within `room`: as large as it is or, when the area sized it last, as large
// as its window needs, and no larger than `room`; moved in so that none of it lies
// outside, where the area (which has no scroll bars) would never show it.
void fitFrame(QMdiSubWindow* frame, ToolScrollArea* scroll, const QSize& room) {
    const QSize wanted =
        frame->size() == scroll->fittedFrameSize ? scroll->wholeFrameSize : frame->size();
    const QSize size = wanted.boundedTo(room);
    if (size != frame->size()) {
        frame->resize(size);
        scroll->fittedFrameSize = size;
    }
    const QPoint inside(std::max(0, std::min(frame->x(), room.width() - size.width())),
                        std::max(0, std::min(frame->y(), room.height() - size.height())));
    if (inside != frame->pos()) frame->move(inside);
}

}  // namespace

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == area_->viewport() && event->type() == QEvent::Resize) fitChildWindows();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::fitChildWindows() {
    const QSize room = area_->viewport()->size();
    if (!room.isValid() || room.isEmpty()) return;
    for (QMdiSubWindow* frame : area_->subWindowList()) {
        // A maximised or minimised frame is the area's to place.
        if (frame->isHidden() || frame->isMaximized() || frame->isMinimized()) continue;
        if (auto* scroll = dynamic_cast<ToolScrollArea*>(frame->widget()))
            fitFrame(frame, scroll, room);
    }
}

void MainWindow::addChildWindow(core::ToolWindow* w) {
    const bool placed = w->testAttribute(Qt::WA_Moved);
    QPoint position = w->pos();
    const QSize client = w->testAttribute(Qt::WA_Resized) ? w->size() : w->sizeHint();
    // The start-up detection window has no caption and no frame, and always fits.
    if (w->kind() == core::WindowKind::StartupDetection) {
        QMdiSubWindow* frame = area_->addSubWindow(w, Qt::FramelessWindowHint | Qt::SubWindow);
        frame->setAttribute(Qt::WA_DeleteOnClose, false);
        const QSize extra = frame->sizeHint() - w->sizeHint();
        frame->resize(client + QSize(std::max(0, extra.width()), std::max(0, extra.height())));
        if (placed) frame->move(position);
        return;
    }
    w->resize(client);
    w->move(0, 0);
    auto* scroll = new ToolScrollArea(w);
    scroll->resize(client);
    QMdiSubWindow* frame = area_->addSubWindow(scroll);
    frame->setAttribute(Qt::WA_DeleteOnClose, false);
    frame->setWindowTitle(w->windowTitle());
    connect(w, &QWidget::windowTitleChanged, frame, &QWidget::setWindowTitle);
    const QSize extra = frame->sizeHint() - scroll->sizeHint();
    scroll->wholeFrameSize =
        client + QSize(std::max(0, extra.width()), std::max(0, extra.height()));
    QSize size = scroll->wholeFrameSize;
    // A window larger than the area gets the whole area and scrolls inside it.
    const QSize room = area_->viewport()->size();
    if (room.isValid() && !room.isEmpty()) size = size.boundedTo(room);
    frame->show();
    frame->resize(size);
    scroll->fittedFrameSize = size;
    if (placed) {
        position.setX(std::max(0, std::min(position.x(), room.width() - size.width())));
        position.setY(std::max(0, std::min(position.y(), room.height() - size.height())));
        frame->move(position);
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The same flags the tests of a quitting program set: every loop sees them at its
    // next poll.
    core::setShutdownFlags(ctx_.values);
    ctx_.windows().close(core::WindowKind::About);
    ctx_.windows().close(core::WindowKind::Console);
    // Runs still on the stack see this at their next pump and return; the event loop
    // ends once they have, so nothing is destroyed under a running handler.
    ctx_.setQuitting(true);
    event->accept();
    QCoreApplication::exit(0);
}

}  // namespace shell

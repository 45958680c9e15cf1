#include "script/script_window.hpp"

#include <QCheckBox>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "core/app_context.hpp"
#include "core/busy_pointer.hpp"
#include "core/counted_loop.hpp"
#include "core/file_dialogs.hpp"
#include "core/run_guard.hpp"
#include "script/interpreter.hpp"
#include "script/script_file.hpp"
#include "widgets/hex_entry_box.hpp"
#include "widgets/window_builder.hpp"

namespace script {

namespace {

// The window was drawn for a narrower font than today's screens have: its editor, band and
// log stand closer together so that it opens whole inside the main window on a 1024 x 768
// screen, its Save Log and Clear Log in sight.
constexpr int kWindowWidth = 11760;
constexpr int kWindowHeight = 8160;
constexpr int kFrameHeight = 8040;
constexpr int kLogTop = 3720;
constexpr int kLogBottom = 7920;

const QString kLoadFilter = QStringLiteral("Text File (*.txt)");
const QString kSaveFilter = QStringLiteral("txt File (*.txt)");
const QString kScriptSuffix = QStringLiteral("txt");
const QString kFolderNotRecorded =
    QStringLiteral("The folder of the script could not be recorded for the next start: ");

QString shownPath(const QString& path) { return QDir::toNativeSeparators(path); }

}  // namespace

// A run as the interpreter sees the window: its pumps through the run helpers, its log,
// and the loop controls it counts down.
class ScriptWindow::Run : public RunHost {
  public:
    Run(ScriptWindow& window, core::RunScope& scope) : window_(window), scope_(scope) {}

    bool pumpEnds(int passes) override { return scope_.pumpEnds(passes); }
    bool pauseEnds(int ms) override { return scope_.pauseEnds(ms); }
    core::LogSink& log() override { return window_.log_; }
    void countPass() override {
        core::ProgramValues& values = window_.ctx().values;
        const core::CountedLoopControls loop{window_.chkLoopOnScript_, window_.txtLOOPnumber_,
                                             window_.lblLOOPnumber_, window_.lblLoopCount_};
        // The last pass of a counted loop also ends the tag windows' AUTO LOOP.
        if (!core::advanceCountedLoop(loop, values.ScriptLoopEnabled)) {
            values.AutoLoopEnabled = false;
        }
    }

  private:
    ScriptWindow& window_;
    core::RunScope& scope_;
};

ScriptWindow::ScriptWindow(core::AppContext& ctx, QWidget* parent)
    : core::ToolWindow(ctx, core::WindowKind::Script, parent),
      log_(ctx),
      scriptControls_(ctx.values, core::CommandControls::StopFlag::LeavesAlone) {
    setObjectName(QStringLiteral("frmTQ73RN_Script"));
    setWindowTitle(QString::fromLatin1(kScriptCaption));
    build();
}

ScriptWindow::~ScriptWindow() = default;

QSize ScriptWindow::sizeHint() const {
    const widgets::WindowBuilder b(this);
    return {b.px(kWindowWidth), b.px(kWindowHeight)};
}

void ScriptWindow::build() {
    const widgets::WindowBuilder b(this);
    auto* fraMode =
        b.place(new QFrame(this), QStringLiteral("fraMode"), 120, 0, 11415, kFrameHeight);

    rtfScriptLoadFileEdit_ = b.place(new QPlainTextEdit(fraMode),
                                     QStringLiteral("rtfScriptLoadFileEdit"), 240, 240, 9015, 2775);
    rtfScriptLoadFileEdit_->setLineWrapMode(QPlainTextEdit::NoWrap);
    // A scroll bar that appears when a long script is loaded narrows the editor, and the
    // editor then lays out every line again: a second or more for 100,000 lines.
    rtfScriptLoadFileEdit_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    rtfScriptLogEdit_ = b.place(new widgets::LogView(fraMode), QStringLiteral("rtfScriptLogEdit"),
                                240, kLogTop, 9015, kLogBottom - kLogTop);
    QPalette logColours = rtfScriptLogEdit_->palette();
    logColours.setColor(QPalette::Base, QColor(0xE0, 0xE0, 0xE0));
    rtfScriptLogEdit_->setPalette(logColours);
    // Three tab stops reach just past an entry's date and time, so that the request and
    // answer lines below an entry start under its text.
    rtfScriptLogEdit_->setTabStopDistance(b.px(600));

    b.hline(fraMode, QStringLiteral("Line2"), 240, 3120, 9000);
    b.hline(fraMode, QStringLiteral("Line1"), 240, 3600, 9000);
    auto* heading = b.label(fraMode, QStringLiteral("lblFraScriptAutomation"),
                            QStringLiteral("Script Automation"), 840, 3240, 7335, 255);
    heading->setAlignment(Qt::AlignCenter);

    auto button = [&](const char* name, const char* caption, int top) {
        return b.place(new QPushButton(QLatin1String(caption), fraMode), QLatin1String(name), 9480,
                       top, 1695, 495);
    };
    cmdScriptLoad_ = button("cmdScriptLoad", "Load Script", 240);
    cmdScriptSave_ = button("cmdScriptSave", "Save Script", 960);
    cmdLaunchScript_ = button("cmdLaunchScript", "Launch Script", 2520);
    scriptControls_.setControls({cmdScriptLoad_, cmdScriptSave_, cmdLaunchScript_});
    auto* saveLog = button("cmdSaveScriptLog", "Save Log", kLogBottom - 1095);
    auto* clearLog = button("cmdEraseLogScript", "Clear Log", kLogBottom - 495);

    chkLoopOnScript_ = b.place(new QCheckBox(QStringLiteral("LOOP ON SCRIPT"), fraMode),
                               QStringLiteral("chkLoopOnScript"), 9480, 3120, 1815, 255);
    txtLOOPnumber_ = b.place(new QLineEdit(QStringLiteral("0"), fraMode),
                             QStringLiteral("txtLOOPnumber"), 9480, 3360, 1575, 285);
    txtLOOPnumber_->setMaxLength(9);
    widgets::refuseTextThatDoesNotFit(txtLOOPnumber_, ctx().ui());
    txtLOOPnumber_->setToolTip(QStringLiteral("enter the number of LOOP"));
    lblLOOPnumber_ = b.label(fraMode, QStringLiteral("lblLOOPnumber"),
                             QStringLiteral("0 for infinty loop"), 9480, 3600, 1575, 255);
    lblLOOPnumber_->setAlignment(Qt::AlignCenter);
    lblLoopCount_ =
        b.label(fraMode, QStringLiteral("lblLoopCount"), QString(), 9600, 3960, 1695, 375);
    lblLoopCount_->setAlignment(Qt::AlignCenter);
    lblLoopCount_->hide();

    connect(cmdScriptLoad_, &QPushButton::clicked, this, [this] { loadScript(); });
    connect(cmdScriptSave_, &QPushButton::clicked, this, [this] { saveScript(); });
    connect(cmdLaunchScript_, &QPushButton::clicked, this, [this] { launchScript(); });
    connect(saveLog, &QPushButton::clicked, this, [this] { log_.save(); });
    connect(clearLog, &QPushButton::clicked, this, [this] { log_.clear(); });
    // Also when the run unticks the box at the end of a counted loop.
    connect(chkLoopOnScript_, &QCheckBox::toggled, this, [this](bool on) { loopSwitch(on); });
}

void ScriptWindow::load() {
    core::ProgramValues& values = ctx().values;
    values.ScriptLoopEnabled = false;
    const widgets::WindowBuilder b(this);
    setGeometry(b.px(100), b.px(100), b.px(kWindowWidth), b.px(kWindowHeight));
    log_.attach(rtfScriptLogEdit_);
    rtfScriptLoadFileEdit_->clear();
    rtfScriptLoadFileEdit_->setVisible(true);
    rtfScriptLoadFileEdit_->setReadOnly(false);
    values.SolaChipId = QStringLiteral("00");
}

void ScriptWindow::unload() { ctx().values.ScriptLoopEnabled = false; }

void ScriptWindow::loopSwitch(bool ticked) {
    ctx().values.ScriptLoopEnabled = ticked;
    txtLOOPnumber_->setVisible(ticked);
    lblLOOPnumber_->setVisible(ticked);
}

QStringList ScriptWindow::editorLines() const {
    // The raw text keeps what the plain text turns into blanks (the no-break space).
    return linesOfText(rtfScriptLoadFileEdit_->document()->toRawText());
}

void ScriptWindow::setScriptControlsEnabled(bool enabled) {
    scriptControls_.EnableCommandControls(enabled);
    rtfScriptLoadFileEdit_->setReadOnly(!enabled);
}

void ScriptWindow::tell(const QString& text) {
    ctx().ui().messageBox(text, QString::fromLatin1(kScriptCaption), core::MsgIcon::Exclamation);
}

void ScriptWindow::launchScript() {
    if (rtfScriptLoadFileEdit_->document()->isEmpty()) return;
    core::RunScope scope(*this, core::RunScope::Start::Exclusive);
    if (!scope.started()) return;
    setScriptControlsEnabled(false);
    const QStringList lines = editorLines();
    const bool looping = chkLoopOnScript_->isChecked();
    if (looping) lblLoopCount_->setText(QStringLiteral("0"));
    lblLoopCount_->setVisible(looping);

    Run run(*this, scope);
    // A window closed during the run is left as it is: nothing of it may be touched.
    if (runScript(ctx(), lines, run) == RunEnd::Abandoned) return;
    setScriptControlsEnabled(true);
}

void ScriptWindow::loadScript() {
    core::RunScope scope(*this);
    if (!scope.started() || scope.pumpEnds(2)) return;
    core::FileDialogRequest request;
    request.filter = kLoadFilter;
    request.initialFolder = core::dialogFolder(ctx());
    const std::optional<core::FileDialogResult> chosen = ctx().ui().openFileDialog(request);
    if (!chosen || scope.pumpEnds(1)) return;
    core::BusyPointer busy(ctx().ui());
    const QString path = chosen->fullPath.trimmed();
    if (path.isEmpty()) return;

    // The whole file first: a file that cannot be read leaves the editor as it was.
    const ScriptFileRead read = readScriptFile(path);
    if (!read.bytes) {
        tell(QStringLiteral("The script ") + shownPath(path) +
             QStringLiteral(" could not be loaded: ") + read.error);
        return;
    }
    if (read.bytes->isEmpty()) return;
    rtfScriptLoadFileEdit_->setPlainText(editorTextOfFile(*read.bytes));
    if (const auto recorded = core::recordChosenFolder(ctx(), path); !recorded) {
        tell(kFolderNotRecorded + recorded.error());
    }
    (void)scope.pumpEnds(1);
}

void ScriptWindow::saveScript() {
    if (rtfScriptLoadFileEdit_->document()->isEmpty()) return;
    core::RunScope scope(*this);
    if (!scope.started()) return;
    core::BusyPointer busy(ctx().ui());
    core::FileDialogRequest request;
    request.filter = kSaveFilter;
    request.defaultSuffix = kScriptSuffix;
    request.initialFolder = core::dialogFolder(ctx());
    const std::optional<core::FileDialogResult> chosen = ctx().ui().saveFileDialog(request);
    if (!chosen || scope.pumpEnds(1)) return;
    const QString path = core::withDefaultSuffix(chosen->fullPath.trimmed(), kScriptSuffix);
    if (path.isEmpty()) return;

    const QString failed =
        QStringLiteral("The script ") + shownPath(path) + QStringLiteral(" could not be saved: ");
    const std::optional<QByteArray> bytes = fileOfLines(editorLines());
    if (!bytes) {
        tell(failed +
             QStringLiteral("it holds characters that a single-byte text file cannot keep"));
        return;
    }
    if (const auto failure = core::writeWholeFile(path, *bytes)) {
        tell(failed + *failure);
        return;
    }
    if (const auto recorded = core::recordChosenFolder(ctx(), path); !recorded) {
        tell(kFolderNotRecorded + recorded.error());
    }
}

}  // namespace script

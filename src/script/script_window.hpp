#pragma once

#include <QString>
#include <QStringList>

#include "core/command_controls.hpp"
#include "core/tool_window.hpp"
#include "widgets/log_pane.hpp"
#include "widgets/log_view.hpp"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace script {

inline constexpr char kScriptCaption[] = "   TQ73RN script tool";

// The script tool: an editor for a script of reader-library keywords, its files, the
// run (once, counted or without end) and the log of every exchange.
class ScriptWindow : public core::ToolWindow {
    Q_OBJECT
  public:
    explicit ScriptWindow(core::AppContext& ctx, QWidget* parent = nullptr);
    ~ScriptWindow() override;

    void load() override;
    void unload() override;
    QSize sizeHint() const override;

    // ScriptLogText.
    const QString& scriptLogText() const { return log_.text(); }
    // The editor's lines, as a run and Save Script read them.
    QStringList editorLines() const;

  private:
    class Run;

    void build();
    void loopSwitch(bool ticked);
    void loadScript();
    void saveScript();
    void launchScript();
    void setScriptControlsEnabled(bool enabled);
    void tell(const QString& text);

    widgets::LogPane log_;
    // Load, Save and Launch: off while a script runs.
    core::CommandControls scriptControls_;
    QPlainTextEdit* rtfScriptLoadFileEdit_ = nullptr;
    widgets::LogView* rtfScriptLogEdit_ = nullptr;
    QPushButton* cmdScriptLoad_ = nullptr;
    QPushButton* cmdScriptSave_ = nullptr;
    QPushButton* cmdLaunchScript_ = nullptr;
    QCheckBox* chkLoopOnScript_ = nullptr;
    QLineEdit* txtLOOPnumber_ = nullptr;
    QLabel* lblLOOPnumber_ = nullptr;
    QLabel* lblLoopCount_ = nullptr;
};

}  // namespace script

#pragma once

#include <QString>

#include "core/tool_window.hpp"

class QLabel;
class QLineEdit;
class QProgressBar;

namespace core {
class AppContext;
class RunScope;
}  // namespace core

namespace shell {

inline constexpr char kDetectionOkText[] = "DEMO-TQ73RN-A detection is OK.";
inline constexpr char kDetectionFailedText[] =
    "DEMO-TQ73RN-A is not detected. Please verify USB connection.";
inline constexpr char kWrongDllRevisionText[] = " -> WRONG DLL REVISION";

// The window that checks the board at start-up: two seconds after it opens it runs
// DetectBoard, shows the outcome, and three seconds later gives the main window its
// menus back and closes itself.
class StartupDetectionWindow : public core::ToolWindow {
    Q_OBJECT
  public:
    explicit StartupDetectionWindow(core::AppContext& ctx, QWidget* parent = nullptr);

    void load() override;
    QSize sizeHint() const override;

    // The detection itself. Returns early, touching nothing, when the window is closed
    // or the program quits under it.
    void DetectBoard();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void onTimer();
    void scheduleTimer(int ms);
    // Twenty progress steps of `stepMs` each; true when the run must end.
    bool progressPhase(core::RunScope& run, int stepMs);
    void failureEnding(core::RunScope& run, int passes);

    QLabel* lblProductName_;
    QLabel* lblVersion_;
    QLabel* lblWarning_;
    QLabel* lblDetectionOnGoing_;
    QLabel* lblDetectionStatus_;
    QLabel* lblDllRev_;
    QLabel* lblMCUrev_;
    QLabel* lblIDn_;
    QLineEdit* txtAnswer_;
    QProgressBar* progressbarReaderDetect_;
};

}  // namespace shell

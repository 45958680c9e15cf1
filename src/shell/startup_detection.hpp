#pragma once

#include <QString>

#include "shell/tool_window.hpp"

class QLabel;
class QLineEdit;
class QProgressBar;

namespace shell {

class AppContext;
class RunScope;

inline constexpr char kDetectionOkText[] = "DEMO-TQ73RN-A detection is OK.";
inline constexpr char kDetectionFailedText[] =
    "DEMO-TQ73RN-A is not detected. Please verify USB connection.";
inline constexpr char kWrongDllRevisionText[] = " -> WRONG DLL REVISION";

// The library revision as a number: its first three characters without their dots
// ("3.4.1" gives 34). Text that is not a number there reads as far as its digits go,
// so a revision the program cannot read ends up below the minimum and is refused.
int decodeDllRevisionNumber(const QString& answer);

// The firmware revision of an answer "00", length L, bytes: the bytes in decimal joined
// by dots ("0003010401" gives "1.4.1"). Only bytes present in the answer are taken,
// whatever the length byte claims.
QString decodeMcuRevisionText(const QString& answer);

// The identification characters of an answer "00", length, bytes: every byte after the
// length byte but the last two, each as the character with that code.
QString decodeIdnCharacters(const QString& answer);

// The window that checks the board at start-up: two seconds after it opens it runs
// DetectBoard, shows the outcome, and three seconds later gives the main window its
// menus back and closes itself.
class DetectionWindow : public ToolWindow {
    Q_OBJECT
  public:
    explicit DetectionWindow(AppContext& ctx, QWidget* parent = nullptr);

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
    bool progressPhase(RunScope& run, int stepMs);
    void failureEnding(RunScope& run, int passes);

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

#pragma once

#include <QString>

class QAbstractButton;
class QLabel;
class QWidget;

namespace core {

// What the loop-count box and the pass counter become after one pass of a counted loop
// ("0 for infinty loop"): 0 loops for ever, 1 was the last pass, N leaves N - 1.
struct CountedLoopStep {
    bool lastPass = false;  // the loop flag goes off, the box is hidden and unticked
    QString countText;      // the new text of the loop-count box
    QString counterText;    // the new text of the pass counter
};

// The count is read as a number, so "01" is one pass and "007" seven. A count that is
// not a whole number of passes (letters, a sign, blanks, too many digits) ends the
// loop after the pass just done: the user never gets an endless loop they did not ask
// for. A counter that holds no number (the loop was ticked after the run started)
// counts as 0.
CountedLoopStep countedLoopStep(const QString& countText, const QString& counterText);

// The controls of a counted loop in a window.
struct CountedLoopControls {
    QAbstractButton* loopBox = nullptr;  // the loop check box
    QWidget* countBox = nullptr;         // the loop-count box (a QLineEdit)
    QWidget* countLabel = nullptr;       // its caption
    QLabel* counter = nullptr;           // the pass counter
};

// Applies one step after a pass while `loopFlag` is on; returns the flag as it stands
// afterwards (false after the last pass). Nothing happens when the flag is off.
bool advanceCountedLoop(const CountedLoopControls& controls, bool& loopFlag);

}  // namespace core

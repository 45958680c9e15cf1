#pragma once

#include <QTextEdit>

namespace core {
class Ui;
}

namespace boardtools {

// The tool box's log box, which the user may type into.
// - Save Log writes the log as single-byte text, so a character that text cannot hold is
//   refused with a beep as it is typed, pasted or dropped, instead of reaching the file
//   as "?".
// - Its text area is a whole number of lines high, so a log scrolled to its last entry
//   shows its top line whole rather than cut through.
class LogEditBox : public QTextEdit {
    Q_OBJECT
  public:
    LogEditBox(core::Ui& ui, QWidget* parent = nullptr);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void fitWholeLines();

    core::Ui& ui_;
};

}  // namespace boardtools

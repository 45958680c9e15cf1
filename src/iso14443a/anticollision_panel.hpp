#pragma once

#include <QGroupBox>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace widgets {
class WindowBuilder;
}

namespace iso14443a {

// The anticollision process frame: its button, the UID it found and one grid row per
// step, with the step's name, request and answer.
class AnticollisionPanel : public QGroupBox {
    Q_OBJECT
  public:
    static constexpr int kGridRows = 8;  // the title row and the seven steps

    AnticollisionPanel(const widgets::WindowBuilder& b, QWidget* parent);

    // The window's load: column widths and the title row.
    void setUpGrid(const widgets::WindowBuilder& b);
    // Empties the step rows; the title row stays.
    void clearSteps();
    void setStep(int row, const QString& name, const QString& request, const QString& answer);
    QString cell(int row, int column) const;

    QPushButton* processButton() const { return process_; }
    QLineEdit* uidBox() const { return uid_; }
    QTableWidget* grid() const { return grid_; }

  private:
    void setCell(int row, int column, const QString& text);

    QPushButton* process_ = nullptr;
    QLineEdit* uid_ = nullptr;
    QTableWidget* grid_ = nullptr;
};

}  // namespace iso14443a

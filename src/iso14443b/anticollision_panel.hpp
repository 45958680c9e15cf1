#pragma once

#include <QGroupBox>
#include <QString>
#include <array>

#include "iso14443b/answers.hpp"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace widgets {
class WindowBuilder;
}

namespace iso14443b {

// The memory tags' 16-slot anticollision: its button, "Loop", the grid of slots 0 to 15
// and the UID of a lone tag.
class AnticollisionPanel : public QGroupBox {
    Q_OBJECT
  public:
    AnticollisionPanel(const widgets::WindowBuilder& b, QWidget* parent);

    // Every cell back to its slot label.
    void resetGrid();
    // The chip ID each slot answered with, empty for no answer.
    void showSlots(const std::array<QString, kSlotCount>& chipIds);
    QString cellText(int slot) const;
    void setUid(const QString& uid);

    QCheckBox* loopBox() const { return loop_; }

  signals:
    void anticollisionClicked();
    void loopClicked(bool ticked);

  private:
    QPushButton* button_ = nullptr;
    QCheckBox* loop_ = nullptr;
    QTableWidget* grid_ = nullptr;
    QLineEdit* uid_ = nullptr;
};

}  // namespace iso14443b

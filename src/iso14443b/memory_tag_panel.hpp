#pragma once

#include <QGroupBox>
#include <QList>
#include <QString>
#include <array>

class QLineEdit;
class QPushButton;

namespace core {
class AppContext;
}
namespace widgets {
class HexEntryBox;
class WindowBuilder;
}  // namespace widgets

namespace iso14443b {

// The chip ID box as a refusal of its text names it.
inline const QString kChipIdBoxName = QStringLiteral("Chip Id");

// The SOLA memory tags' own command set, one button per command, with the slot number,
// the chip ID and the UID boxes.
class MemoryTagPanel : public QGroupBox {
    Q_OBJECT
  public:
    enum class Command {
        Initiate,
        Pcall16,
        SlotMarker,
        Select,
        GetUid,
        Completion,
        ResetToInventory
    };

    MemoryTagPanel(core::AppContext& ctx, const widgets::WindowBuilder& b, QWidget* parent);

    // The slot number SN the four bit boxes spell.
    int slotNumber() const;
    QString chipId() const;
    void setChipId(const QString& chipId);
    void setUid(const QString& uid);

    // The controls the memory view's runs switch off, in the order they are switched.
    QList<QWidget*> commandControls() const;

  signals:
    void commandClicked(Command command);

  private:
    std::array<QPushButton*, 7> buttons_{};
    std::array<widgets::HexEntryBox*, 4> sn_{};
    widgets::HexEntryBox* chipId_ = nullptr;
    QLineEdit* uid_ = nullptr;
};

}  // namespace iso14443b

#pragma once

#include <QFrame>
#include <array>

#include "iso15693/requests.hpp"

class QCheckBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace core {
class AppContext;
}
namespace widgets {
class HexEntryBox;
}

namespace iso15693 {

inline constexpr char kSendFrameCaption[] = "Send any frame";

// The "&Inventory" page (`fraMode`(1)): the inventory, initiate and state commands, the
// inventory parameters and their list of tags, system information, the raw frame
// console and the loop boxes. The window wires the buttons.
class InventoryPage : public QFrame {
    Q_OBJECT
  public:
    InventoryPage(core::AppContext& ctx, QWidget* parent);

    // The AFI option, the slots choice and the data rate give the inventory flags byte.
    InventoryOptions inventoryOptions(DataRate rate, std::uint8_t base) const;
    // The AFI, mask length and mask boxes as they stand.
    InventoryParameters parameters() const;
    // Shows the mask-value boxes that the mask length needs.
    void UpdateMaskValueBoxes();
    // "Extension Flag = 1" chosen.
    bool extensionFlag() const;
    // The caption of the first box the inventory request carries whose text is not hex
    // (the AFI only with its option, the mask bytes the mask length asks for); empty when
    // every one is.
    QString refusedParameterBox() const;
    // The list of tags after an inventory-type command: the header line, an empty line
    // and the tag lines; `caption` names the command.
    void showTags(const QString& caption, const QStringList& tagLines);
    // The list when no tag can be listed: the header line, an empty line and why, where a
    // tag line would stand. That line chooses no tag.
    void showMessage(const QString& caption, const QString& message);
    bool isMessageLine(int row) const;

    QPushButton* cmdInventory;
    QPushButton* cmdAntiCollisionIso15693;
    QCheckBox* chkLoop;
    QPushButton* cmdInventoryInitiated;
    QPushButton* cmdInitiate;
    QPushButton* cmdFastInitiate;
    QPushButton* cmdFastInventoryInitiated;
    QPushButton* cmdStayQuiet;
    QPushButton* cmdResetToReady;
    QPushButton* cmdSelect;
    QPushButton* cmd_ISO15693_SendFrame;
    widgets::HexEntryBox* txt_ISO15693_AnyFrame;

    QGroupBox* FraSystemInfo;
    std::array<QRadioButton*, 2> optExtensionFlag{};
    QPushButton* cmdGetSystemInfo;
    QListWidget* lstSystemInfo;

    QGroupBox* FraINVENTORYresponse;
    QListWidget* lstTransponderUID;

    QGroupBox* FraInventoryParameters;
    QLabel* lblInventoryMaskLenght;
    widgets::HexEntryBox* txtInventoryMaskLenght;
    QLabel* lblInventoryMaskValue;
    std::array<widgets::HexEntryBox*, 8> txtInventoryMaskValue{};

    QGroupBox* FraInventoryOptions;
    QCheckBox* chkInventoryAFIOptions;
    widgets::HexEntryBox* txtInventoryOptionalAFI;
    std::array<QRadioButton*, 2> optInventorySlot{};

    QGroupBox* FraLoop;
    QCheckBox* chkUserLoop;
    widgets::HexEntryBox* txtLOOPnumber;
    QLabel* lblLOOPnumber;
};

}  // namespace iso15693

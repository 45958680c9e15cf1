#pragma once

#include <QFrame>
#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace core {
class AppContext;
}
namespace widgets {
class HexEntryBox;
}

namespace iso15693 {

// The "&User Mode" page (`fraMode`(2)): the block range, the block reads, writes and
// locks, security status, AFI and DSFID, kill, sector passwords and energy harvesting.
// The window wires the buttons.
class UserModePage : public QFrame {
    Q_OBJECT
  public:
    UserModePage(core::AppContext& ctx, QWidget* parent);

    // The address boxes take `digits` characters; "from" starts at zeros, "to" at the
    // highest block address.
    void setAddressWidth(int digits, std::int32_t addressMask);
    // The chosen password number: 1, 2, or 3 when neither "1" nor "2" is chosen.
    int passwordNumber() const;

    QGroupBox* FraAddressRow;
    std::array<widgets::HexEntryBox*, 2> txtUserAddress{};
    QPushButton* cmdReadUser;
    QPushButton* cmdFastReadSingleBlock;
    QPushButton* cmdReadMultipleBlock;
    QPushButton* cmdFastReadMultipleBlock;
    QPushButton* cmdStopCommand;
    QPushButton* cmdWriteSingleBlock;
    QPushButton* cmdLockBlock;
    QCheckBox* chkLockBits;
    QPushButton* cmdGetMultipleBlockSecurityStatus;
    QComboBox* cboPageSize;
    QLabel* lblNbData;

    QGroupBox* FraAFI;
    QPushButton* cmdWriteAFI;
    QPushButton* cmdLockAFI;
    QGroupBox* FraDSFID;
    QPushButton* cmdWriteDSFID;
    QPushButton* cmdLockDSFID;

    QGroupBox* FraKill;
    QPushButton* cmdWriteKill;
    QPushButton* cmdKill;
    QPushButton* cmdLockKill;

    QGroupBox* FraEnergyHarvesting;
    QPushButton* cmdReadEHconfig;
    QPushButton* cmdCheckEHenable;
    QPushButton* cmdWriteEHCfg;
    QPushButton* cmdSetEHenable;
    QPushButton* cmdResetEHenable;
    QPushButton* cmdWriteDOconfig;
    QLineEdit* txtEHstatus;
    QLineEdit* txtCheckEHenable;
    widgets::HexEntryBox* txtEHconfig;
    widgets::HexEntryBox* txtWriteDOconfig;

    QGroupBox* FraPasswordRF;
    std::array<QRadioButton*, 3> OptPasswordNumber{};
    QPushButton* cmdWriteSectorPassword;
    QPushButton* cmdLockSectorPassword;
    QPushButton* cmdPresentSectorPassword;
};

}  // namespace iso15693

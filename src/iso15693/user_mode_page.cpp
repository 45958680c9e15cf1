#include "iso15693/user_mode_page.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "iso15693/page_controls.hpp"
#include "transceiver/hex_text.hpp"
#include "widgets/hex_entry_box.hpp"
#include "widgets/window_builder.hpp"

namespace iso15693 {

using widgets::HexEntryBox;
using widgets::WindowBuilder;

namespace {

// A result box of the energy-harvesting frame: two characters, grey, not for typing.
QLineEdit* resultBox(const WindowBuilder& b, QWidget* parent, const char* name, int left, int top) {
    auto* box = b.place(new QLineEdit(QStringLiteral("00"), parent), QString::fromLatin1(name),
                        left, top, 420, 300);
    box->setMaxLength(2);
    box->setReadOnly(true);
    box->setEnabled(false);
    box->setBackgroundRole(QPalette::Button);
    return box;
}

constexpr int kLeft = 120;
constexpr int kStep = 390;
constexpr int kRight = 3840;
constexpr int kRightWidth = 4560;

}  // namespace

UserModePage::UserModePage(core::AppContext& ctx, QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("fraMode_2"));
    const WindowBuilder b(this);

    FraAddressRow =
        b.place(new QGroupBox(this), QStringLiteral("FraAddressRow"), kLeft, 60, 3480, 780);
    b.label(FraAddressRow, QStringLiteral("lblUserAddress"), QStringLiteral("RF block address"),
            120, 60);
    b.label(FraAddressRow, QStringLiteral("lblUsrAddLow"), QStringLiteral("from"), 120, 420);
    b.label(FraAddressRow, QStringLiteral("lblUsrAddHigh"), QStringLiteral("to"), 1800, 420);
    for (int i = 0; i < 2; ++i) {
        auto* box = new HexEntryBox(ctx, HexEntryBox::Kind::Address, FraAddressRow);
        b.place(box, WindowBuilder::indexed("txtUserAddress", i), i == 0 ? 600 : 2160, 390, 840,
                300);
        txtUserAddress[static_cast<std::size_t>(i)] = box;
    }

    auto row = [](int i) { return 960 + kStep * i; };
    constexpr int kReadWidth = 2400;
    cmdReadUser =
        commandButton(b, this, "cmdReadUser", "&Read Single Block", kLeft, row(0), kReadWidth);
    cmdReadUser->setToolTip(QStringLiteral("Read Memory"));
    cmdFastReadSingleBlock = commandButton(b, this, "cmdFastReadSingleBlock",
                                           "Fast Read Single Block", kLeft, row(1), kReadWidth);
    cmdReadMultipleBlock = commandButton(b, this, "cmdReadMultipleBlock", "Read Multiple Block",
                                         kLeft, row(2), kReadWidth);
    cmdFastReadMultipleBlock = commandButton(b, this, "cmdFastReadMultipleBlock",
                                             "Fast Read Multiple Block", kLeft, row(3), kReadWidth);
    cmdStopCommand = commandButton(b, this, "cmdStopCommand", "STOP", kLeft + kReadWidth + 120,
                                   row(0), 960, 3 * kStep + 345);
    cmdStopCommand->setToolTip(QStringLiteral("Read Memory"));
    cmdWriteSingleBlock = commandButton(b, this, "cmdWriteSingleBlock", "&Write Single Block",
                                        kLeft, row(4), kReadWidth);
    cmdLockBlock = commandButton(b, this, "cmdLockBlock", "Lock Block", kLeft, row(5), kReadWidth);
    chkLockBits = b.place(new QCheckBox(QStringLiteral("Block Locking status"), this),
                          QStringLiteral("chkLockBits"), kLeft + 60, row(6), 3360, 300);
    cmdGetMultipleBlockSecurityStatus =
        commandButton(b, this, "cmdGetMultipleBlockSecurityStatus",
                      "Get Multiple Block Security Status", kLeft, row(7), 3480);
    // The page size of the writes: the product's, and never offered for change.
    lblNbData =
        b.label(this, QStringLiteral("lblNbData"), QStringLiteral("Page Size"), kLeft, row(8) + 60);
    cboPageSize =
        b.place(new QComboBox(this), QStringLiteral("cboPageSize"), kLeft + 1200, row(8), 960, 315);
    cboPageSize->setToolTip(
        QStringLiteral("In page mode, specify here the number of byte to write inside the page"));
    lblNbData->hide();
    cboPageSize->hide();

    FraAFI = b.place(new QGroupBox(QStringLiteral("AFI"), this), QStringLiteral("FraAFI"), kRight,
                     60, 2220, 780);
    cmdWriteAFI = commandButton(b, FraAFI, "cmdWriteAFI", "Write", 120, 300, 930);
    cmdLockAFI = commandButton(b, FraAFI, "cmdLockAFI", "Lock", 1140, 300, 930);
    FraDSFID = b.place(new QGroupBox(QStringLiteral("DSFID"), this), QStringLiteral("FraDSFID"),
                       kRight + 2340, 60, 2220, 780);
    cmdWriteDSFID = commandButton(b, FraDSFID, "cmdWriteDSFID", "Write", 120, 300, 930);
    cmdLockDSFID = commandButton(b, FraDSFID, "cmdLockDSFID", "Lock", 1140, 300, 930);

    // The kill frame and the energy-harvesting frame share one place; no product shows both.
    FraKill =
        b.place(new QGroupBox(this), QStringLiteral("FraKill"), kRight, 960, kRightWidth, 1560);
    cmdWriteKill = commandButton(b, FraKill, "cmdWriteKill", "Write Kill", 120, 300, 1380);
    cmdKill = commandButton(b, FraKill, "cmdKill", "Kill", 1590, 300, 1380);
    cmdLockKill = commandButton(b, FraKill, "cmdLockKill", "Lock Kill", 3060, 300, 1380);

    FraEnergyHarvesting = b.place(new QGroupBox(this), QStringLiteral("FraEnergyHarvesting"),
                                  kRight, 960, kRightWidth, 1560);
    QWidget* eh = FraEnergyHarvesting;
    cmdReadEHconfig = commandButton(b, eh, "cmdReadEHconfig", "Read E.H. status", 120, 180, 1560);
    txtEHstatus = resultBox(b, eh, "txtEHstatus", 1740, 200);
    cmdCheckEHenable = commandButton(b, eh, "cmdCheckEHenable", "Check EH enable", 2280, 180, 1560);
    txtCheckEHenable = resultBox(b, eh, "txtCheckEHenable", 3900, 200);
    cmdWriteEHCfg = commandButton(b, eh, "cmdWriteEHCfg", "Write E.H. config", 120, 600, 1560);
    txtEHconfig = new HexEntryBox(ctx, HexEntryBox::Kind::Byte, eh);
    b.place(txtEHconfig, QStringLiteral("txtEHconfig"), 1740, 620, 420, 300);
    txtEHconfig->setText(QStringLiteral("00"));
    cmdWriteDOconfig = commandButton(b, eh, "cmdWriteDOconfig", "Write DO config", 2280, 600, 1560);
    txtWriteDOconfig = new HexEntryBox(ctx, HexEntryBox::Kind::Byte, eh);
    b.place(txtWriteDOconfig, QStringLiteral("txtWriteDOconfig"), 3900, 620, 420, 300);
    txtWriteDOconfig->setText(QStringLiteral("00"));
    cmdSetEHenable = commandButton(b, eh, "cmdSetEHenable", "Set EH enable", 120, 1020, 1560);
    cmdResetEHenable =
        commandButton(b, eh, "cmdResetEHenable", "Reset EH enable", 2280, 1020, 1560);
    FraEnergyHarvesting->hide();

    FraPasswordRF = b.place(new QGroupBox(this), QStringLiteral("FraPasswordRF"), kRight, 2640,
                            kRightWidth, 1560);
    b.label(FraPasswordRF, QStringLiteral("Label1"), QStringLiteral("password number = "), 120,
            240);
    for (int i = 0; i < 3; ++i) {
        OptPasswordNumber[static_cast<std::size_t>(i)] =
            b.place(new QRadioButton(QString::number(i + 1), FraPasswordRF),
                    WindowBuilder::indexed("OptPasswordNumber", i), 1680 + 720 * i, 210, 660, 300);
    }
    OptPasswordNumber[0]->setChecked(true);
    cmdWriteSectorPassword = commandButton(b, FraPasswordRF, "cmdWriteSectorPassword",
                                           "Write Sector Password", 120, 630, 2100);
    cmdLockSectorPassword = commandButton(b, FraPasswordRF, "cmdLockSectorPassword",
                                          "Lock Sector Password", 2340, 630, 2100);
    cmdPresentSectorPassword = commandButton(b, FraPasswordRF, "cmdPresentSectorPassword",
                                             "Present Sector Password", 120, 1050, 2100);
}

void UserModePage::setAddressWidth(int digits, std::int32_t addressMask) {
    for (widgets::HexEntryBox* box : txtUserAddress) box->setMaxLength(digits);
    txtUserAddress[0]->setText(QString(digits, QLatin1Char('0')));
    txtUserAddress[1]->setText(transceiver::HexPad(addressMask, digits));
}

int UserModePage::passwordNumber() const {
    if (OptPasswordNumber[0]->isChecked()) return 1;
    if (OptPasswordNumber[1]->isChecked()) return 2;
    return 3;
}

}  // namespace iso15693

#include "iso15693/inventory_page.hpp"

#include <QCheckBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "iso15693/answers.hpp"
#include "iso15693/page_controls.hpp"
#include "widgets/hex_entry_box.hpp"
#include "widgets/window_builder.hpp"

namespace iso15693 {

using widgets::HexEntryBox;
using widgets::WindowBuilder;

namespace {

// Marks the list lines that stand where a tag line would and are none.
constexpr int kMessageLineRole = Qt::UserRole;

// The command buttons down the left of the page, in this order.
constexpr int kButtonLeft = 120;
constexpr int kButtonWidth = 2040;
constexpr int kButtonTop = 120;
constexpr int kButtonStep = 390;

}  // namespace

InventoryPage::InventoryPage(core::AppContext& ctx, QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("fraMode_1"));
    const WindowBuilder b(this);
    auto at = [](int i) { return kButtonTop + kButtonStep * i; };

    cmdInventory =
        commandButton(b, this, "cmdInventory", "Inventory", kButtonLeft, at(0), kButtonWidth);
    cmdAntiCollisionIso15693 = commandButton(b, this, "cmdAntiCollisionIso15693", "Anticollision",
                                             kButtonLeft, at(1), kButtonWidth);
    chkLoop = b.place(new QCheckBox(QStringLiteral("Inventory loop"), this),
                      QStringLiteral("chkLoop"), kButtonLeft + 60, at(2), kButtonWidth, 300);
    cmdInventoryInitiated = commandButton(b, this, "cmdInventoryInitiated", "Inventory Initiated",
                                          kButtonLeft, at(3), kButtonWidth);
    cmdInitiate =
        commandButton(b, this, "cmdInitiate", "Initiate", kButtonLeft, at(4), kButtonWidth);
    cmdFastInitiate = commandButton(b, this, "cmdFastInitiate", "Fast Initiate", kButtonLeft, at(5),
                                    kButtonWidth);
    cmdFastInventoryInitiated =
        commandButton(b, this, "cmdFastInventoryInitiated", "Fast Inventory Initiated", kButtonLeft,
                      at(6), kButtonWidth);
    cmdStayQuiet =
        commandButton(b, this, "cmdStayQuiet", "Stay Quiet", kButtonLeft, at(7), kButtonWidth);
    cmdResetToReady = commandButton(b, this, "cmdResetToReady", "Reset to ready", kButtonLeft,
                                    at(8), kButtonWidth);
    cmdSelect = commandButton(b, this, "cmdSelect", "Select", kButtonLeft, at(9), kButtonWidth);

    // AUTO LOOP: the count box and its label show while the box is ticked.
    FraLoop = b.place(new QGroupBox(this), QStringLiteral("FraLoop"), kButtonLeft, at(10),
                      kButtonWidth, 1020);
    chkUserLoop = b.place(new QCheckBox(QStringLiteral("AUTO LOOP"), FraLoop),
                          QStringLiteral("chkUserLoop"), 120, 120, 1800, 300);
    chkUserLoop->setToolTip(QStringLiteral("Execute with Loop"));
    txtLOOPnumber = new HexEntryBox(ctx, HexEntryBox::Kind::Count, FraLoop);
    b.place(txtLOOPnumber, QStringLiteral("txtLOOPnumber"), 120, 480, 720, 300);
    txtLOOPnumber->setText(QStringLiteral("0"));
    txtLOOPnumber->setToolTip(QStringLiteral("enter the number of LOOP"));
    lblLOOPnumber = b.label(FraLoop, QStringLiteral("lblLOOPnumber"),
                            QStringLiteral("0 for infinty loop"), 120, 780, 1800);

    // Inventory options and parameters side by side, the list below them.
    constexpr int kRightLeft = 2400;
    FraInventoryOptions =
        b.place(new QGroupBox(QStringLiteral(" Inventory Options"), this),
                QStringLiteral("FraInventoryOptions"), kRightLeft, 60, 2520, 1260);
    chkInventoryAFIOptions =
        b.place(new QCheckBox(QStringLiteral(" AFI option flag"), FraInventoryOptions),
                QStringLiteral("chkInventoryAFIOptions"), 120, 300, 1680, 300);
    txtInventoryOptionalAFI = new HexEntryBox(ctx, HexEntryBox::Kind::Byte, FraInventoryOptions);
    b.place(txtInventoryOptionalAFI, QStringLiteral("txtInventoryOptionalAFI"), 1860, 300, 420,
            300);
    txtInventoryOptionalAFI->setText(QStringLiteral("00"));
    optInventorySlot[0] = b.place(new QRadioButton(QStringLiteral("1 slot"), FraInventoryOptions),
                                  QStringLiteral("optInventorySlot_0"), 120, 720, 1080, 300);
    optInventorySlot[1] = b.place(new QRadioButton(QStringLiteral("16 slots"), FraInventoryOptions),
                                  QStringLiteral("optInventorySlot_1"), 1260, 720, 1080, 300);
    optInventorySlot[0]->setChecked(true);
    // One request is one slot: the window never offers the other sixteen.
    optInventorySlot[1]->hide();

    constexpr int kParamsLeft = kRightLeft + 2640;
    FraInventoryParameters =
        b.place(new QGroupBox(QStringLiteral(" Inventory Parameters"), this),
                QStringLiteral("FraInventoryParameters"), kParamsLeft, 60, 3360, 1260);
    lblInventoryMaskLenght =
        b.label(FraInventoryParameters, QStringLiteral("lblInventoryMaskLenght"),
                QStringLiteral("Mask Lenght"), 120, 330);
    txtInventoryMaskLenght =
        new HexEntryBox(ctx, HexEntryBox::Kind::MaskLength, FraInventoryParameters);
    b.place(txtInventoryMaskLenght, QStringLiteral("txtInventoryMaskLenght"), 1080, 300, 420, 300);
    txtInventoryMaskLenght->setText(QStringLiteral("00"));
    connect(txtInventoryMaskLenght, &HexEntryBox::committed, this,
            &InventoryPage::UpdateMaskValueBoxes);
    lblInventoryMaskValue = b.label(FraInventoryParameters, QStringLiteral("lblInventoryMaskValue"),
                                    QStringLiteral("Mask Value"), 120, 750);
    // Box 7 at the left, box 0 at the right: the mask is typed most significant byte first.
    for (int i = 0; i < 8; ++i) {
        auto* box = new HexEntryBox(ctx, HexEntryBox::Kind::Byte, FraInventoryParameters);
        b.place(box, WindowBuilder::indexed("txtInventoryMaskValue", i), 1080 + 270 * (7 - i), 720,
                270, 300);
        box->setText(QStringLiteral("00"));
        box->hide();
        txtInventoryMaskValue[static_cast<std::size_t>(i)] = box;
    }

    FraINVENTORYresponse =
        b.place(new QGroupBox(QStringLiteral("INVENTORY response"), this),
                QStringLiteral("FraINVENTORYresponse"), kRightLeft, 1440, 6000, 1860);
    lstTransponderUID = b.place(new QListWidget(FraINVENTORYresponse),
                                QStringLiteral("lstTransponderUID"), 120, 270, 5760, 1470);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSize(font().pointSize());
    lstTransponderUID->setFont(fixed);

    FraSystemInfo = b.place(new QGroupBox(QStringLiteral("SYSTEM INFO for one transponder"), this),
                            QStringLiteral("FraSystemInfo"), kRightLeft, 3420, 6000, 1920);
    optExtensionFlag[0] =
        b.place(new QRadioButton(QStringLiteral("Extension Flag = 0"), FraSystemInfo),
                QStringLiteral("optExtensionFlag_0"), 120, 270, 1800, 300);
    optExtensionFlag[1] =
        b.place(new QRadioButton(QStringLiteral("Extension Flag = 1"), FraSystemInfo),
                QStringLiteral("optExtensionFlag_1"), 120, 600, 1800, 300);
    optExtensionFlag[0]->setChecked(true);
    cmdGetSystemInfo =
        commandButton(b, FraSystemInfo, "cmdGetSystemInfo", "Get System Info", 120, 1020, 1800);
    lstSystemInfo = b.place(new QListWidget(FraSystemInfo), QStringLiteral("lstSystemInfo"), 2040,
                            270, 3840, 1530);

    cmd_ISO15693_SendFrame =
        commandButton(b, this, "cmd_ISO15693_SendFrame", kSendFrameCaption, kRightLeft, 5460, 1800);
    txt_ISO15693_AnyFrame = new HexEntryBox(ctx, HexEntryBox::Kind::RawFrame, this);
    b.place(txt_ISO15693_AnyFrame, QStringLiteral("txt_ISO15693_AnyFrame"), kRightLeft + 1920, 5480,
            4080, 300);
    txt_ISO15693_AnyFrame->setSendButton(cmd_ISO15693_SendFrame);
}

InventoryOptions InventoryPage::inventoryOptions(DataRate rate, std::uint8_t base) const {
    InventoryOptions o;
    o.rate = rate;
    o.afiFlag = chkInventoryAFIOptions->isChecked();
    o.oneSlot = optInventorySlot[0]->isChecked();
    o.base = base;
    return o;
}

InventoryParameters InventoryPage::parameters() const {
    InventoryParameters p;
    p.afi = txtInventoryOptionalAFI->text();
    p.maskLength = txtInventoryMaskLenght->text();
    for (const HexEntryBox* box : txtInventoryMaskValue) p.mask.push_back(box->text());
    return p;
}

void InventoryPage::UpdateMaskValueBoxes() {
    const int needed = maskByteCount(txtInventoryMaskLenght->text());
    for (int i = 0; i < 8; ++i)
        txtInventoryMaskValue[static_cast<std::size_t>(i)]->setVisible(i < needed);
}

bool InventoryPage::extensionFlag() const { return !optExtensionFlag[0]->isChecked(); }

QString InventoryPage::refusedParameterBox() const {
    if (chkInventoryAFIOptions->isChecked() && !txtInventoryOptionalAFI->holdsValidText()) {
        return chkInventoryAFIOptions->text().trimmed();
    }
    if (!txtInventoryMaskLenght->holdsValidText()) return lblInventoryMaskLenght->text();
    const int sent = std::min(maskByteCount(txtInventoryMaskLenght->text()),
                              static_cast<int>(txtInventoryMaskValue.size()));
    for (int i = 0; i < sent; ++i) {
        if (!txtInventoryMaskValue[static_cast<std::size_t>(i)]->holdsValidText()) {
            return lblInventoryMaskValue->text();
        }
    }
    return {};
}

void InventoryPage::showTags(const QString& caption, const QStringList& tagLines) {
    FraINVENTORYresponse->setTitle(caption);
    lstTransponderUID->clear();
    lstTransponderUID->addItems(inventoryListHeader() + tagLines);
}

void InventoryPage::showMessage(const QString& caption, const QString& message) {
    showTags(caption, {});
    auto* line = new QListWidgetItem(message, lstTransponderUID);
    line->setData(kMessageLineRole, true);
}

bool InventoryPage::isMessageLine(int row) const {
    const QListWidgetItem* line = lstTransponderUID->item(row);
    return line && line->data(kMessageLineRole).toBool();
}

}  // namespace iso15693

#include "iso14443b/memory_tag_panel.hpp"

#include <QLineEdit>
#include <QPushButton>

#include "iso14443b/answers.hpp"
#include "widgets/hex_entry_box.hpp"
#include "widgets/window_builder.hpp"

namespace iso14443b {

namespace {

using Kind = widgets::HexEntryBox::Kind;

struct ButtonRow {
    MemoryTagPanel::Command command;
    const char* name;
    const char* caption;
    int left, top;
};

// Two columns: the inventory steps on the left, the selected tag's on the right.
const std::array<ButtonRow, 7> kButtons{{
    {MemoryTagPanel::Command::Initiate, "cmd_ISO14443B_Initiate", "Initiate", 120, 240},
    {MemoryTagPanel::Command::Pcall16, "cmd_ISO14443B_Pcall16", "Pcall16", 120, 720},
    {MemoryTagPanel::Command::SlotMarker, "cmd_ISO14443B_SlotMarker", "Slot Marker (SN)", 120,
     1200},
    {MemoryTagPanel::Command::Select, "cmd_ISO14443B_Select", "Select(Chip_Id)", 120, 1680},
    {MemoryTagPanel::Command::GetUid, "cmd_ISO14443B_GetUID", "Get UID", 120, 2160},
    {MemoryTagPanel::Command::Completion, "cmd_ISO14443B_Completion", "Completion", 120, 2640},
    {MemoryTagPanel::Command::ResetToInventory, "cmd_ISO14443B_ResetToInventory",
     "Reset to Inventory", 120, 3120},
}};

}  // namespace

MemoryTagPanel::MemoryTagPanel(core::AppContext& ctx, const widgets::WindowBuilder& b,
                               QWidget* parent)
    : QGroupBox(parent) {
    for (std::size_t i = 0; i < kButtons.size(); ++i) {
        const ButtonRow& r = kButtons[i];
        buttons_[i] = b.place(new QPushButton(QLatin1String(r.caption), this),
                              QLatin1String(r.name), r.left, r.top, 2160, 375);
        const Command c = r.command;
        connect(buttons_[i], &QPushButton::clicked, this, [this, c] { emit commandClicked(c); });
    }
    // The slot number beside Slot Marker, index 3 (the most significant bit) on the left.
    b.label(this, QStringLiteral("lblSN"), QStringLiteral("SN = "), 2400, 1245, 600);
    for (int i = 0; i < 4; ++i) {
        auto* box = new widgets::HexEntryBox(ctx, Kind::Bit, this);
        b.place(box, widgets::WindowBuilder::indexed("txt_ISO14443B_SN", i), 3000 + 360 * (3 - i),
                1230, 300, 315);
        box->setText(QStringLiteral("0"));
        sn_[static_cast<std::size_t>(i)] = box;
    }
    b.label(this, QStringLiteral("lblISO1443B_ChipID"), QStringLiteral("Chip Id ="), 2400, 1725,
            960);
    chipId_ = b.place(new widgets::HexEntryBox(ctx, Kind::Byte, this),
                      QStringLiteral("txt_ISO14443B_ChipID"), 3360, 1710, 480, 315);
    chipId_->setText(QStringLiteral("00"));
    b.label(this, QStringLiteral("lblISO1443B_UID"), QStringLiteral("UID ="), 2400, 2205, 600);
    uid_ = b.display(this, QStringLiteral("txt_ISO14443B_UID"), 3000, 2190, 2280, 315);
    uid_->setMaxLength(16);
}

int MemoryTagPanel::slotNumber() const {
    return bitBoxesValue({sn_[3]->text(), sn_[2]->text(), sn_[1]->text(), sn_[0]->text()});
}

QString MemoryTagPanel::chipId() const { return chipId_->text(); }
void MemoryTagPanel::setChipId(const QString& chipId) { chipId_->setText(chipId); }
void MemoryTagPanel::setUid(const QString& uid) { uid_->setText(uid); }

QList<QWidget*> MemoryTagPanel::commandControls() const {
    // Initiate, Select, Reset to Inventory, Slot Marker, Pcall16, Completion, Get UID,
    // then the boxes.
    return {buttons_[0], buttons_[3], buttons_[6], buttons_[2], buttons_[1],
            buttons_[5], buttons_[4], chipId_,     sn_[0],      sn_[1],
            sn_[2],      sn_[3],      uid_};
}

}  // namespace iso14443b

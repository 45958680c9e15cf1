#include "iso14443a/flag_editor.hpp"

#include <QCheckBox>
#include <QLabel>

#include "widgets/hex_entry_box.hpp"
#include "widgets/window_builder.hpp"

namespace iso14443a {

namespace {

// Bits 7 to 4 one above the other with their captions, bits 3 to 0 side by side under
// them, the caption of the 4-bit field on bit 0.
struct BitPlace {
    const char* caption;
    int left, top, width;
};
constexpr BitPlace kBits[8] = {
    {"nb of significant bits in last byte", 3360, 1260, 2900},
    {"", 3060, 1260, 300},
    {"", 2760, 1260, 300},
    {"", 2460, 1260, 300},
    {"4 - RFU", 2460, 1020, 3800},
    {"5 - append CRC", 2460, 780, 3800},
    {"6 - SplitFrame", 2460, 540, 3800},
    {"7 - RFU (use EOF instead of P for Topaz)", 2460, 300, 3800},
};

}  // namespace

FlagEditor::FlagEditor(core::AppContext& ctx, const widgets::WindowBuilder& b, QWidget* parent)
    : QGroupBox(QStringLiteral(" TQ73RN ISO14443-A Transmission flag"), parent) {
    b.label(this, QStringLiteral("lblTransmissionFlag"), QStringLiteral("Transmission Flag : "),
            120, 330, 1600);
    box_ = b.place(new widgets::HexEntryBox(ctx, widgets::HexEntryBox::Kind::Byte, this),
                   QStringLiteral("txt_ISO14443A_transFlag"), 1720, 300, 500, 300);
    box_->setText(QStringLiteral("00"));
    for (int i = 0; i < 8; ++i) {
        const BitPlace& p = kBits[i];
        auto* c = new QCheckBox(QString::fromLatin1(p.caption), this);
        b.place(c, widgets::WindowBuilder::indexed("chk_TQ73RN_transmission_flag", i), p.left,
                p.top, p.width, 240);
        bits_[static_cast<std::size_t>(i)] = c;
    }
}

void FlagEditor::SetTransmissionFlag(const QString& flag) {
    box_->setText(flag);
    const uint value = flag.toUInt(nullptr, 16);
    for (int i = 7; i >= 0; --i) bits_[static_cast<std::size_t>(i)]->setChecked((value >> i) & 1);
}

QString FlagEditor::flagText() const { return box_->text(); }

}  // namespace iso14443a

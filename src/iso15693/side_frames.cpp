#include "iso15693/side_frames.hpp"

#include <QCheckBox>
#include <QLabel>
#include <QPalette>
#include <QRadioButton>

#include "widgets/hex_entry_box.hpp"
#include "widgets/window_builder.hpp"

namespace iso15693 {

using widgets::WindowBuilder;

DataRateFrame::DataRateFrame(QWidget* parent) : QGroupBox(QStringLiteral(" Data Rate"), parent) {
    setObjectName(QStringLiteral("FraDataRate"));
    const WindowBuilder b(this);
    const char* captions[] = {"Low", "High", "Low two SC", "High two SC"};
    for (int i = 0; i < 4; ++i) {
        optDataRate[static_cast<std::size_t>(i)] =
            b.place(new QRadioButton(QString::fromLatin1(captions[i]), this),
                    WindowBuilder::indexed("optDataRate", i), 120 + 1260 * i, 270, 1200, 300);
    }
    optDataRate[1]->setChecked(true);
    b.label(this, QStringLiteral("Label2"),
            QStringLiteral("Use <TQ73RN commands> to configure your TQ73RN protocol"), 120, 630);
}

DataRate DataRateFrame::rate() const {
    for (int i = 0; i < 4; ++i) {
        if (optDataRate[static_cast<std::size_t>(i)]->isChecked()) return static_cast<DataRate>(i);
    }
    return DataRate::High;
}

TagInfoFrame::TagInfoFrame(core::AppContext& ctx, QWidget* parent)
    : QGroupBox(QStringLiteral("Tag informations"), parent) {
    setObjectName(QStringLiteral("frmWriteTime"));
    const WindowBuilder b(this);
    chk_Select_Address_flag[0] =
        b.place(new QCheckBox(QStringLiteral("Select Flag"), this),
                QStringLiteral("chk_Select_Address_flag_0"), 120, 270, 1500, 300);
    chk_Select_Address_flag[1] =
        b.place(new QCheckBox(QStringLiteral("Address Flag"), this),
                QStringLiteral("chk_Select_Address_flag_1"), 1740, 270, 1500, 300);
    lblChoosenTag =
        b.label(this, QStringLiteral("lblChoosenTag"), QStringLiteral("Tag :"), 120, 690);
    lblChoosenTag->setCursor(Qt::PointingHandCursor);
    txtTransponderUID = new widgets::HexEntryBox(ctx, widgets::HexEntryBox::Kind::Uid, this);
    b.place(txtTransponderUID, QStringLiteral("txtTransponderUID"), 720, 660, 2400, 300);
    txtTransponderUID->setAlignment(Qt::AlignCenter);
    lblWriteTime = b.label(this, QStringLiteral("lblWriteTime"), QString(), 120, 1080, 3600, 270);
    lblLoopCount = b.label(this, QStringLiteral("lblLoopCount"), QString(), 3840, 1080, 1200, 270);
    reset();
}

void TagInfoFrame::reset() {
    for (QCheckBox* c : chk_Select_Address_flag) c->setChecked(false);
    // The opening text shows in the button-text colour, not as a refused entry.
    txtTransponderUID->setText(kUidDesignText);
    QPalette p = txtTransponderUID->palette();
    p.setColor(QPalette::Text, palette().color(QPalette::ButtonText));
    txtTransponderUID->setPalette(p);
    lblWriteTime->clear();
    lblLoopCount->clear();
}

}  // namespace iso15693

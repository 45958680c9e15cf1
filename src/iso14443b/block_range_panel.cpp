#include "iso14443b/block_range_panel.hpp"

#include <QGroupBox>
#include <QPushButton>

#include "transceiver/hex_text.hpp"
#include "widgets/hex_entry_box.hpp"
#include "widgets/window_builder.hpp"

namespace iso14443b {

namespace {

const QString kReadToolTip = QStringLiteral("Read Memory");
const QString kWriteToolTip =
    QStringLiteral("Write Enable Latch Sequence (if selected) + Page Write Operation Sequence");

}  // namespace

BlockRangePanel::BlockRangePanel(core::AppContext& ctx, const widgets::WindowBuilder& b,
                                 QWidget* parent)
    : QWidget(parent) {
    read_ = b.place(new QPushButton(QStringLiteral("&Read Single Block"), this),
                    QStringLiteral("cmd_ISO14443B_Read"), 0, 120, 1920, 375);
    read_->setToolTip(kReadToolTip);
    write_ = b.place(new QPushButton(QStringLiteral("Write Single Block"), this),
                     QStringLiteral("cmd_ISO14443B_Write"), 0, 600, 1920, 375);
    write_->setToolTip(kWriteToolTip);

    auto* row = b.place(new QGroupBox(this), QStringLiteral("FraAddressRow"), 0, 1080, 1920, 1200);
    b.label(row, QStringLiteral("lblUserAddress"), QStringLiteral("RF block address"), 120, 120,
            1680);
    const std::array<std::pair<const char*, const char*>, 2> boxes{{
        {"from", "enter here the Address to Write or Read from "},
        {"to", "enter here the Address to Write or Read to"},
    }};
    const std::array<const char*, 2> labelNames{"lblUsrAddLow", "lblUsrAddHigh"};
    for (int i = 0; i < 2; ++i) {
        const auto at = static_cast<std::size_t>(i);
        const int top = 480 + 360 * i;
        b.label(row, QLatin1String(labelNames[at]), QLatin1String(boxes[at].first), 120, top + 30,
                600);
        auto* box = new widgets::HexEntryBox(ctx, widgets::HexEntryBox::Kind::Address, row);
        b.place(box, widgets::WindowBuilder::indexed("txtUserAddress", i), 720, top, 720, 315);
        box->setToolTip(QLatin1String(boxes[at].second));
        box->setText(QStringLiteral("00"));
        address_[at] = box;
    }

    stop_ = b.place(new QPushButton(QStringLiteral("STOP"), this), QStringLiteral("cmdStopCommand"),
                    0, 2400, 1920, 375);
    stop_->setToolTip(kReadToolTip);
    stop_->hide();
}

void BlockRangePanel::setUp(int width, std::int32_t highestBlock) {
    for (widgets::HexEntryBox* box : address_) box->setMaxLength(width);
    address_[0]->setText(QString(width, QLatin1Char('0')));
    address_[1]->setText(transceiver::HexPad(highestBlock, width));
}

QString BlockRangePanel::fromText() const { return address_[0]->text(); }
QString BlockRangePanel::toText() const { return address_[1]->text(); }

void BlockRangePanel::showRange(std::int32_t from, std::int32_t to) {
    const int width = address_[0]->maxLength();
    address_[0]->setText(transceiver::HexPad(from, width));
    address_[1]->setText(transceiver::HexPad(to, width));
}

QList<QWidget*> BlockRangePanel::commandControls() const {
    return {read_, write_, address_[0], address_[1]};
}

}  // namespace iso14443b

#include "iso14443a/memory_panel.hpp"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include "transceiver/hex_text.hpp"
#include "widgets/hex_entry_box.hpp"
#include "widgets/memory_view.hpp"
#include "widgets/page_write_panel.hpp"
#include "widgets/window_builder.hpp"

namespace iso14443a {

namespace {

constexpr int kButtonHeight = 375;
constexpr int kViewTop = 1020;
const QString kWriteToolTip =
    QStringLiteral("Write Enable Latch Sequence (if selected) + Page Write Operation Sequence");

std::size_t at(PageWrite w) { return static_cast<std::size_t>(w) - 8; }

}  // namespace

MemoryPanel::MemoryPanel(core::AppContext& ctx, const widgets::WindowBuilder& b, QWidget* parent)
    : QWidget(parent) {
    auto* frame = b.place(new QGroupBox(QStringLiteral("RF block address"), this),
                          QStringLiteral("FraAddressRow"), 0, 0, 1800, 780);
    for (int i = 0; i < 2; ++i) {
        auto* box = new widgets::HexEntryBox(ctx, widgets::HexEntryBox::Kind::Address, frame);
        b.place(box, widgets::WindowBuilder::indexed("txtUserAddress", i), 240 + 780 * i, 330, 660,
                315);
        box->setText(QStringLiteral("00"));
        addresses_[static_cast<std::size_t>(i)] = box;
    }
    addresses_[0]->setToolTip(QStringLiteral("enter here the Address to Write or Read from "));
    // The window reads one address; the second box only keeps what the view needs.
    addresses_[1]->hide();

    auto button = [&](const QString& name, const QString& caption, int left, int top, int width) {
        return b.place(new QPushButton(caption, this), name, left, top, width, kButtonHeight);
    };
    read_ = button(QStringLiteral("cmd_ISO14443A_Read"), QStringLiteral("Read"), 1920, 90, 1200);
    read_->setToolTip(QStringLiteral("Read Memory"));
    stop_ = button(QStringLiteral("cmdStopCommand"), QStringLiteral("STOP"), 3240, 90, 1200);
    stop_->setToolTip(QStringLiteral("Read Memory"));
    stop_->hide();
    setups_[at(PageWrite::Write)] =
        button(QStringLiteral("cmd_ISO14443A_Write"), QStringLiteral("Write"), 1920, 510, 1200);
    setups_[at(PageWrite::CompatibilityWrite)] =
        button(QStringLiteral("cmd_ISO14443A_Write_compatibility"),
               QStringLiteral("Compatibility Write"), 3240, 510, 2040);
    setups_[at(PageWrite::TopazWriteErase)] = button(QStringLiteral("cmd_ISO14443A_TOPAZ_Write_E"),
                                                     QStringLiteral("Write_E"), 1920, 510, 1200);
    setups_[at(PageWrite::TopazWriteNoErase)] =
        button(QStringLiteral("cmd_ISO14443A_TOPAZ_Write_NE"), QStringLiteral("Write_NE"), 3240,
               510, 1200);
    for (QPushButton* s : setups_) s->setToolTip(kWriteToolTip);

    pageSize_ = b.place(new QLineEdit(QStringLiteral("4"), this), QStringLiteral("txtPageSize"), 0,
                        0, 500, 315);
    pageSize_->hide();

    view_ = new widgets::MemoryView(ctx, this);
    view_->setGeometry(b.px(0), b.px(kViewTop), b.px(6320), b.px(kHeight - kViewTop));
    view_->hide();
    pageWrite_ =
        new widgets::PageWritePanel(ctx, widgets::PageWritePanel::FillTrigger::OnChange, this);
    pageWrite_->setGeometry(b.px(0), b.px(kViewTop), b.px(widgets::kPageWritePanelWidth),
                            b.px(widgets::kPageWritePanelHeight));
    // Laid over the read view: the view's lines must not show through it.
    pageWrite_->setAutoFillBackground(true);
    pageWrite_->hide();
}

void MemoryPanel::setUpAddressBoxes(int digits, std::int32_t addressMask) {
    addresses_[0]->setMaxLength(digits);
    addresses_[0]->setText(QString(digits, QLatin1Char('0')));
    const QString highest = transceiver::HexPad(addressMask, 2);
    addresses_[1]->setMaxLength(std::max<int>(2, static_cast<int>(highest.size())));
    addresses_[1]->setText(highest);
}

void MemoryPanel::setTopazMode(bool topaz) {
    setups_[at(PageWrite::Write)]->setVisible(!topaz);
    setups_[at(PageWrite::CompatibilityWrite)]->setVisible(!topaz);
    setups_[at(PageWrite::TopazWriteErase)]->setVisible(topaz);
    setups_[at(PageWrite::TopazWriteNoErase)]->setVisible(topaz);
}

void MemoryPanel::lockAddresses(bool locked) {
    for (auto* box : addresses_) box->setReadOnly(locked);
}

void MemoryPanel::commitAddresses() {
    for (auto* box : addresses_) {
        if (box->hasFocus()) box->commit();
    }
}

QPushButton* MemoryPanel::setupButton(PageWrite write) const { return setups_[at(write)]; }

}  // namespace iso14443a

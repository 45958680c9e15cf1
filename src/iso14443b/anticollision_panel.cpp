#include "iso14443b/anticollision_panel.hpp"

#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "iso14443b/answers.hpp"
#include "widgets/window_builder.hpp"

namespace iso14443b {

namespace {

constexpr int kColumnTwips = 1250;
constexpr int kRowTwips = 300;

}  // namespace

AnticollisionPanel::AnticollisionPanel(const widgets::WindowBuilder& b, QWidget* parent)
    : QGroupBox(parent) {
    button_ = b.place(new QPushButton(QStringLiteral("ISO14443-B Anticollision"), this),
                      QStringLiteral("cmd_ISO14443B_Anticollision"), 120, 240, 2280, 375);
    loop_ = b.place(new QCheckBox(QStringLiteral("Loop"), this),
                    QStringLiteral("chkAnticollisionLoop"), 120, 720, 960, 315);

    QFont small = font();
    small.setPointSizeF(8.25);
    grid_ = new QTableWidget(kGridRows, kGridColumns, this);
    grid_->setFont(small);
    grid_->horizontalHeader()->hide();
    grid_->verticalHeader()->hide();
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionMode(QAbstractItemView::NoSelection);
    grid_->setFocusPolicy(Qt::NoFocus);
    grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (int c = 0; c < kGridColumns; ++c) grid_->setColumnWidth(c, b.px(kColumnTwips));
    for (int r = 0; r < kGridRows; ++r) grid_->setRowHeight(r, b.px(kRowTwips));
    const int frame = 2 * grid_->frameWidth();
    b.place(grid_, QStringLiteral("fgISO14443Banticol"), 2520, 180, kGridColumns * kColumnTwips,
            kGridRows * kRowTwips);
    grid_->resize(grid_->width() + frame, grid_->height() + frame);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        grid_->setItem(slotRow(slot), slotColumn(slot), new QTableWidgetItem());
    }
    resetGrid();

    auto* uidLabel =
        b.label(this, QStringLiteral("lblAnticolUID"), QStringLiteral("UID = "), 9000, 285, 600);
    uidLabel->setFont(small);
    uid_ = b.display(this, QStringLiteral("txtAnticolUID"), 9600, 240, 2040, 315);
    uid_->setFont(small);
    uid_->setMaxLength(16);

    connect(button_, &QPushButton::clicked, this, &AnticollisionPanel::anticollisionClicked);
    connect(loop_, &QCheckBox::clicked, this, &AnticollisionPanel::loopClicked);
}

void AnticollisionPanel::resetGrid() {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        grid_->item(slotRow(slot), slotColumn(slot))->setText(slotCellText(slot));
    }
}

void AnticollisionPanel::showSlots(const std::array<QString, kSlotCount>& chipIds) {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        grid_->item(slotRow(slot), slotColumn(slot))
            ->setText(slotCellText(slot, chipIds[static_cast<std::size_t>(slot)]));
    }
}

QString AnticollisionPanel::cellText(int slot) const {
    return grid_->item(slotRow(slot), slotColumn(slot))->text();
}

void AnticollisionPanel::setUid(const QString& uid) { uid_->setText(uid); }

}  // namespace iso14443b

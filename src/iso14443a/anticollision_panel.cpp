#include "iso14443a/anticollision_panel.hpp"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "widgets/window_builder.hpp"

namespace iso14443a {

namespace {

constexpr int kColumnWidths[3] = {1000, 1700, 3000};
constexpr int kRowHeight = 255;
constexpr const char* kTitles[3] = {" ", "request", "answer"};

}  // namespace

AnticollisionPanel::AnticollisionPanel(const widgets::WindowBuilder& b, QWidget* parent)
    : QGroupBox(QStringLiteral("      ISO14443-A anticolision process      "), parent) {
    setAlignment(Qt::AlignHCenter);
    process_ = b.place(new QPushButton(QStringLiteral("Anticolision Process"), this),
                       QStringLiteral("cmd_ISO14443A_Anticol_Process"), 120, 300, 2400, 375);
    b.label(this, QStringLiteral("lblUID"), QStringLiteral("UID"), 2640, 345, 400);
    uid_ = b.display(this, QStringLiteral("txtAnticolisionProcessUID"), 3120, 330, 3080);

    grid_ = b.place(new QTableWidget(kGridRows, 3, this), QStringLiteral("fgAnticolProcess"), 120,
                    780, 6080, kGridRows * kRowHeight + 45);
    grid_->horizontalHeader()->hide();
    // The answer column takes what the other two leave: a SELECT answer is 16 digits.
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->verticalHeader()->hide();
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionMode(QAbstractItemView::NoSelection);
    grid_->setFocusPolicy(Qt::NoFocus);
    grid_->verticalHeader()->setDefaultSectionSize(b.px(kRowHeight));
    grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (int r = 0; r < kGridRows; ++r) {
        for (int c = 0; c < 3; ++c) grid_->setItem(r, c, new QTableWidgetItem);
    }
    // The title row and the step names stand out as the fixed row and column.
    const QBrush fixed = palette().button();
    for (int r = 0; r < kGridRows; ++r) grid_->item(r, 0)->setBackground(fixed);
    for (int c = 0; c < 3; ++c) grid_->item(0, c)->setBackground(fixed);
}

void AnticollisionPanel::setUpGrid(const widgets::WindowBuilder& b) {
    for (int c = 0; c < 3; ++c) {
        grid_->setColumnWidth(c, b.px(kColumnWidths[c]));
        setCell(0, c, QString::fromLatin1(kTitles[c]));
    }
}

void AnticollisionPanel::clearSteps() {
    for (int r = 1; r < kGridRows; ++r) {
        for (int c = 0; c < 3; ++c) setCell(r, c, QString());
    }
}

void AnticollisionPanel::setStep(int row, const QString& name, const QString& request,
                                 const QString& answer) {
    setCell(row, 0, name);
    setCell(row, 1, QLatin1Char(' ') + request);
    setCell(row, 2, QLatin1Char(' ') + answer);
}

QString AnticollisionPanel::cell(int row, int column) const {
    return grid_->item(row, column)->text();
}

void AnticollisionPanel::setCell(int row, int column, const QString& text) {
    grid_->item(row, column)->setText(text);
}

}  // namespace iso14443a

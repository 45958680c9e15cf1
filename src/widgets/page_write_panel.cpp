#include "widgets/page_write_panel.hpp"

#include <QEvent>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "core/app_context.hpp"
#include "core/hex_checks.hpp"
#include "core/run_guard.hpp"
#include "core/ui.hpp"
#include "widgets/hex_entry_box.hpp"
#include "widgets/window_builder.hpp"

namespace widgets {

namespace {

// The mask of a row of `bytes` bytes: two letters or digits and a fixed blank per byte,
// upper case, "_" where nothing is typed.
QString rowMask(int bytes) {
    return QLatin1String(">") + QString(QStringLiteral("NN ")).repeated(bytes) +
           QLatin1String(";_");
}
QString defaultRowText(int bytes) { return QString(QStringLiteral("00 ")).repeated(bytes); }

// Row placement: two columns of eight rows, then the fill box and the buttons.
constexpr int kRowLeft[] = {120, 1800};
constexpr int kRowTop = 240;
constexpr int kRowStep = 330;
constexpr int kRowWidth = 1560;
constexpr int kRowHeight = 300;
constexpr int kSideLeft = 3480;
constexpr int kSideWidth = 1500;

}  // namespace

PageWritePanel::PageWritePanel(core::AppContext& ctx, FillTrigger trigger, QWidget* parent)
    : QGroupBox(QStringLiteral("Data in Page"), parent), ctx_(ctx), trigger_(trigger) {
    setObjectName(QStringLiteral("fraPageWrite"));
    // The panel lies over the read view: the lines underneath must not show through.
    setAutoFillBackground(true);
    const WindowBuilder b(this);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setFamilies({QStringLiteral("Courier New"), fixed.family()});
    fixed.setPointSize(font().pointSize());
    for (int i = 0; i < kRows; ++i) {
        auto* r = new QLineEdit(this);
        b.place(r, WindowBuilder::indexed("PWData", i), kRowLeft[i / 8],
                kRowTop + kRowStep * (i % 8), kRowWidth, kRowHeight);
        r->setFont(fixed);
        refuseTextThatDoesNotFit(r, ctx.ui());
        r->hide();
        rows_[static_cast<std::size_t>(i)] = r;
    }
    fillLabel_ = b.label(this, QStringLiteral("lblAutoFill"), QStringLiteral("Fill with"),
                         kSideLeft, kRowTop + 30);
    fill_ = b.place(new QLineEdit(this), QStringLiteral("mskFillPage"), kSideLeft + 840, kRowTop,
                    480, kRowHeight);
    fill_->setFont(fixed);
    fill_->setInputMask(QStringLiteral(">NN;_"));
    refuseTextThatDoesNotFit(fill_, ctx.ui());
    fill_->installEventFilter(this);
    if (trigger_ == FillTrigger::OnChange) {
        connect(fill_, &QLineEdit::textChanged, this, [this] { fillRows(); });
    }
    write_ = b.place(new QPushButton(QStringLiteral("Write"), this), QStringLiteral("cmdWriteUser"),
                     kSideLeft, kRowTop + 2 * kRowStep + 120, kSideWidth, 375);
    cancel_ = b.place(new QPushButton(QStringLiteral("Cancel"), this),
                      QStringLiteral("cmdCancelWriteTest"), kSideLeft, kRowTop + 4 * kRowStep + 120,
                      kSideWidth, 375);
    write_->hide();
    connect(write_, &QPushButton::clicked, this, &PageWritePanel::writeClicked);
    connect(cancel_, &QPushButton::clicked, this, &PageWritePanel::cancelClicked);
}

int PageWritePanel::bytesPerRow() const { return std::max<int>(1, ctx_.values.BlockSizeBytes); }

int PageWritePanel::rowsFor(int byteCount) const {
    if (byteCount < 1) return 0;
    return std::min(kRows, (byteCount - 1) / bytesPerRow() + 1);
}

void PageWritePanel::ShowPageWritePanel(int byteCount, bool writeVisible) {
    for (QLineEdit* r : rows_) {
        r->hide();
        r->setEnabled(true);
    }
    for (QWidget* w : {static_cast<QWidget*>(write_), static_cast<QWidget*>(cancel_),
                       static_cast<QWidget*>(fill_), static_cast<QWidget*>(fillLabel_)}) {
        w->setEnabled(true);
        w->hide();
    }
    // More bytes than sixteen rows hold are not laid out: the rows end at the panel's.
    layoutBytes_ = std::clamp(byteCount, 0, kRows * bytesPerRow());
    write_->setVisible(writeVisible);
    cancel_->show();
    fill_->show();
    fillLabel_->show();
    const int rows = rowsFor(layoutBytes_);
    for (int i = 0; i < rows; ++i) {
        QLineEdit* r = rows_[static_cast<std::size_t>(i)];
        const int bytes = i < rows - 1 ? bytesPerRow() : (layoutBytes_ - 1) % bytesPerRow() + 1;
        r->setInputMask(QString());
        r->clear();
        r->setInputMask(rowMask(bytes));
        r->setText(defaultRowText(bytes));
        r->show();
    }
}

QString PageWritePanel::data(int byteCount) const {
    QString joined;
    const int rows = rowsFor(byteCount);
    for (int i = 0; i < rows; ++i) joined += rows_[static_cast<std::size_t>(i)]->displayText();
    return joined;
}

void PageWritePanel::resetFill() { fill_->clear(); }

void PageWritePanel::setEntryEnabled(bool enabled) {
    for (QLineEdit* r : rows_) r->setEnabled(enabled);
    write_->setEnabled(enabled);
}

void PageWritePanel::fillBoxLeft() {
    if (trigger_ == FillTrigger::OnLeave) fillRows();
}

void PageWritePanel::fillRows() {
    const QString typed = fill_->displayText();
    if (typed == kEmptyFill) return;
    if (trigger_ == FillTrigger::OnChange && typed.contains(QLatin1Char('_'))) return;
    const QString byte = typed + QLatin1Char(' ');
    if (!core::IsHexData(ctx_.ui(), byte, true)) return;
    const int rows = rowsFor(layoutBytes_);
    for (int i = 0; i < rows; ++i) {
        const int bytes = i < rows - 1 ? bytesPerRow() : (layoutBytes_ - 1) % bytesPerRow() + 1;
        rows_[static_cast<std::size_t>(i)]->setText(byte.repeated(bytes));
    }
}

bool PageWritePanel::eventFilter(QObject* watched, QEvent* event) {
    // A click into the empty fill box lands after its two prompts, where nothing can be
    // typed: the byte starts at the first prompt.
    if (watched == fill_ && event->type() == QEvent::MouseButtonRelease &&
        fill_->displayText() == kEmptyFill && !fill_->hasSelectedText()) {
        fill_->setCursorPosition(0);
    }
    if (watched == fill_ && event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Switching to another program, or opening a menu, is not leaving the box.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            fillBoxLeft();
        }
    }
    return QGroupBox::eventFilter(watched, event);
}

RangeWriteEnd writeBlockRange(core::RunScope& run, const BlockRange& range,
                              const std::function<void(std::int32_t address)>& writeBlock) {
    core::ProgramValues& v = run.ctx().values;
    v.PageWritePending = true;
    std::int32_t a = range.from;
    for (std::int32_t written = 0; v.PageWritePending && written < range.count; ++written) {
        writeBlock(a);
        if (run.pumpEnds()) return RangeWriteEnd::Abandoned;
        if (a == range.to) {
            v.PageWritePending = false;
            return RangeWriteEnd::Completed;
        }
        a = range.next(a);
    }
    return RangeWriteEnd::Cancelled;
}

}  // namespace widgets

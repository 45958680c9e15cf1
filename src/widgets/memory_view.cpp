#include "widgets/memory_view.hpp"

#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QWheelEvent>
#include <algorithm>
#include <cstdlib>

#include "core/app_context.hpp"
#include "transceiver/hex_text.hpp"

namespace widgets {

std::int32_t blockCountOf(std::int32_t addressMask) {
    return addressMask >= 1 ? addressMask + 1 : 1;
}

std::int32_t BlockRange::wrap(std::int64_t address) const {
    const std::int64_t r = address % blocks;
    return static_cast<std::int32_t>(r < 0 ? r + blocks : r);
}

std::int32_t BlockRange::address(std::int64_t i) const { return wrap(std::int64_t(from) + i); }

std::int32_t wrapAddress(std::uint32_t typed, std::int32_t addressMask) {
    return static_cast<std::int32_t>(typed % static_cast<std::uint32_t>(blockCountOf(addressMask)));
}

BlockRange blockRange(std::uint32_t typedFrom, std::uint32_t typedTo, std::int32_t addressMask) {
    BlockRange r;
    r.blocks = blockCountOf(addressMask);
    r.from = wrapAddress(typedFrom, addressMask);
    r.to = wrapAddress(typedTo, addressMask);
    r.count = r.to >= r.from ? r.to - r.from + 1 : r.blocks + r.to - r.from + 1;
    return r;
}

QString readViewLine(std::int32_t address, const QString& memoryLine) {
    return transceiver::Hex4(address) + QLatin1String("   ") + memoryLine;
}

namespace {

// One notch of a mouse wheel, in eighths of a degree.
constexpr int kWheelNotch = QWheelEvent::DefaultDeltasPerStep;

}  // namespace

MemoryView::MemoryView(core::AppContext& ctx, QWidget* parent)
    : QListWidget(parent), ctx_(ctx), position_(new QScrollBar(Qt::Vertical, this)) {
    setObjectName(QStringLiteral("lstReadView"));
    setToolTip(kReadViewToolTip);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setFamilies({QStringLiteral("Courier New"), fixed.family()});
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setPointSize(font().pointSize());
    setFont(fixed);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // The list itself never scrolls: its sixteen lines are the window, and the bar beside
    // them moves the window over `ReadViewLines`.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    position_->setObjectName(QStringLiteral("vsbReadView"));
    position_->setSingleStep(1);
    position_->setPageStep(kReadViewLines);
    position_->installEventFilter(this);
    setViewportMargins(0, 0, position_->sizeHint().width(), 0);
    connect(position_, &QScrollBar::valueChanged, this, [this](int top) {
        if (!filled_ || top == ctx_.values.ReadViewTopLine) return;
        const int row = currentRow();
        showFrom(top);
        setCurrentRow(row);
    });
    showPosition();
}

void MemoryView::fill(std::int32_t from, std::int32_t count) {
    core::ProgramValues& v = ctx_.values;
    base_ = from;
    filled_ = true;
    const std::int32_t n = std::min(count, v.ReadViewLines.Size());
    v.ReadViewTopLine = n > kReadViewLines ? n - (kReadViewLines - 1) : 1;
    showFrom(v.ReadViewTopLine);
}

void MemoryView::empty() {
    clear();
    filled_ = false;
    showPosition();
}

void MemoryView::showPosition() {
    const core::ProgramValues& v = ctx_.values;
    const std::int32_t lastTop = v.ReadViewLines.Size() - (kReadViewLines - 1);
    const QSignalBlocker quiet(position_);
    if (!filled_ || lastTop <= 1) {
        position_->setRange(0, 0);
        position_->setEnabled(false);
        return;
    }
    position_->setRange(1, lastTop);
    position_->setValue(v.ReadViewTopLine);
    position_->setEnabled(true);
}

void MemoryView::placePositionBar() {
    const QRect lines = viewport()->geometry();
    position_->setGeometry(lines.right() + 1, lines.top(), position_->sizeHint().width(),
                           lines.height());
}

void MemoryView::resizeEvent(QResizeEvent* event) {
    QListWidget::resizeEvent(event);
    placePositionBar();
}

void MemoryView::showFrom(std::int32_t top) {
    core::ProgramValues& v = ctx_.values;
    const BlockRange wrap{base_, base_, 1, blockCountOf(v.AddressMask)};
    v.ReadViewTopLine = top;
    const std::int32_t last = std::min(top + kReadViewLines - 1, v.ReadViewLines.Size());
    QStringList lines;
    for (std::int32_t i = std::max(top, 1); i <= last; ++i) {
        lines << readViewLine(wrap.address(i - 1), v.ReadViewLines.item(i));
    }
    setUpdatesEnabled(false);
    clear();
    addItems(lines);
    setUpdatesEnabled(true);
    showPosition();
}

void MemoryView::navigate(int key) {
    if (!filled_ || count() == 0) return;
    core::ProgramValues& v = ctx_.values;
    const std::int32_t top = v.ReadViewTopLine;
    const std::int32_t size = v.ReadViewLines.Size();
    const int row = currentRow();
    switch (key) {
        case Qt::Key_End:
            if (top < size - (kReadViewLines - 1)) showFrom(size - (kReadViewLines - 1));
            break;
        case Qt::Key_Home:
            if (top != 1) showFrom(1);
            break;
        case Qt::Key_PageDown:
            if (top + kReadViewLines <= size) {
                showFrom(top <= size - 2 * kReadViewLines ? top + kReadViewLines
                                                          : size - (kReadViewLines - 1));
            }
            setCurrentRow(row);
            break;
        case Qt::Key_PageUp:
            if (top > 1) showFrom(top > kReadViewLines ? top - kReadViewLines : 1);
            setCurrentRow(row);
            break;
        case Qt::Key_Up:
        case Qt::Key_Left:
            if (row == 0) {
                if (top > 1) showFrom(top - 1);
                setCurrentRow(0);
            }
            break;
        case Qt::Key_Down:
        case Qt::Key_Right:
            if (row == kReadViewLines - 1) {
                if (top + kReadViewLines <= size) showFrom(top + 1);
                setCurrentRow(kReadViewLines - 1);
            }
            break;
        default:
            break;
    }
}

void MemoryView::copySelectedLine() {
    const QList<QListWidgetItem*> selected = selectedItems();
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(selected.isEmpty() ? QString() : selected.first()->text());
}

void MemoryView::keyPressEvent(QKeyEvent* event) {
    navigate(event->key());
    QListWidget::keyPressEvent(event);
}

void MemoryView::mouseDoubleClickEvent(QMouseEvent* event) {
    QListWidget::mouseDoubleClickEvent(event);
    copySelectedLine();
}

void MemoryView::turnWheel(int angle) {
    wheelAngle_ += angle;
    while (wheelAngle_ >= kWheelNotch) {
        wheelAngle_ -= kWheelNotch;
        navigate(Qt::Key_PageUp);
    }
    while (wheelAngle_ <= -kWheelNotch) {
        wheelAngle_ += kWheelNotch;
        navigate(Qt::Key_PageDown);
    }
}

void MemoryView::wheelEvent(QWheelEvent* event) {
    const QPoint angle = event->angleDelta();
    // A sideways turn scrolls a line too long for the view.
    if (std::abs(angle.x()) > std::abs(angle.y())) {
        QListWidget::wheelEvent(event);
        return;
    }
    turnWheel(angle.y());
    event->accept();
}

bool MemoryView::eventFilter(QObject* watched, QEvent* event) {
    // The wheel over the bar pages as it does over the lines, not three lines a notch.
    if (watched == position_ && event->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (std::abs(wheel->angleDelta().y()) >= std::abs(wheel->angleDelta().x())) {
            turnWheel(wheel->angleDelta().y());
            return true;
        }
    }
    return QListWidget::eventFilter(watched, event);
}

}  // namespace widgets

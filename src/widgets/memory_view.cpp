#include "widgets/memory_view.hpp"

#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QKeyEvent>
#include <algorithm>

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

MemoryView::MemoryView(core::AppContext& ctx, QWidget* parent) : QListWidget(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("lstReadView"));
    setToolTip(kReadViewToolTip);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setFamilies({QStringLiteral("Courier New"), fixed.family()});
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setPointSize(font().pointSize());
    setFont(fixed);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
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

}  // namespace widgets

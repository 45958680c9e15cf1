#pragma once

#include <QListWidget>
#include <QString>

class QScrollBar;
#include <cstdint>

namespace core {
class AppContext;
}

namespace widgets {

// The number of lines the memory read view shows at once.
inline constexpr int kReadViewLines = 16;

inline const QString kReadViewToolTip =
    QStringLiteral("Use the arrow keys and PgUp-PgDwn keys to navigate in memory.");

// A block range typed in the "from" and "to" boxes. Addresses wrap modulo the number of
// blocks (`AddressMask` + 1): after the highest block comes block 0, also for memories
// whose size is not a power of two.
struct BlockRange {
    std::int32_t from = 0;
    std::int32_t to = 0;
    std::int32_t count = 0;   // blocks from "from" up to "to", both included
    std::int32_t blocks = 1;  // blocks of the memory

    // The block i places after "from" (i counted from 0).
    std::int32_t address(std::int64_t i) const;
    // The block after `address`.
    std::int32_t next(std::int32_t address) const { return wrap(std::int64_t(address) + 1); }
    std::int32_t wrap(std::int64_t address) const;
};

// The number of blocks of a memory whose highest block address is `addressMask`; at
// least 1, so that a product without memory never divides by zero.
std::int32_t blockCountOf(std::int32_t addressMask);
// A typed address as a block of the memory.
std::int32_t wrapAddress(std::uint32_t typed, std::int32_t addressMask);
// The range from the two typed values ("to" below "from" runs across the wrap).
BlockRange blockRange(std::uint32_t typedFrom, std::uint32_t typedTo, std::int32_t addressMask);

// One line of the view: the block address as four hex digits (more when needed), three
// blanks, the block's memory line.
QString readViewLine(std::int32_t address, const QString& memoryLine);

// The memory read view `lstReadView`: a window of 16 lines over the program-wide
// `ReadViewLines`, each line behind its block address. The tag windows fill it after a
// run; the keys move the window over the lines, a double click copies a line. The mouse
// wheel pages it as Page Up and Page Down do, a notch a page, and a scroll bar beside the
// lines shows where the window stands among all the lines read and moves it.
class MemoryView : public QListWidget {
    Q_OBJECT
  public:
    MemoryView(core::AppContext& ctx, QWidget* parent = nullptr);

    // The view fill after a read or write of `count` blocks from block `from`: the last
    // 16 lines when there are more, else all of them; `ReadViewTopLine` follows.
    void fill(std::int32_t from, std::int32_t count);
    // Empties the view; the keys do nothing until the next fill.
    void empty();

    // The key handling (Home, End, Page Up, Page Down and the arrows), as a key press
    // on the view runs it. The key then goes on to the list, which moves its selection
    // within the 16 lines.
    void navigate(int key);
    // The double click: the selected line (address, three blanks, memory line) on the
    // clipboard; an empty text when no line is selected.
    void copySelectedLine();

    // The scroll bar beside the lines: its value is `ReadViewTopLine`, a page is 16 lines.
    QScrollBar* positionBar() const { return position_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Shows items `top` to `top` + 15 of `ReadViewLines`.
    void showFrom(std::int32_t top);
    // The scroll bar after the window moved, or the lines changed.
    void showPosition();
    // A turn of the wheel: a page a notch, the part of a notch kept for the next turn.
    void turnWheel(int angle);
    void placePositionBar();

    core::AppContext& ctx_;
    QScrollBar* position_;
    std::int32_t base_ = 0;  // the block address of item 1
    bool filled_ = false;
    int wheelAngle_ = 0;  // what the wheel turned short of a notch
};

}  // namespace widgets

#pragma once

#include <QList>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>

class QPushButton;

namespace core {
class AppContext;
}
namespace widgets {
class HexEntryBox;
class WindowBuilder;
}  // namespace widgets

namespace iso14443b {

// The memory tags' block commands beside the memory view: Read and Write over the
// block range typed in the "from" and "to" boxes, and STOP while a read runs.
class BlockRangePanel : public QWidget {
    Q_OBJECT
  public:
    BlockRangePanel(core::AppContext& ctx, const widgets::WindowBuilder& b, QWidget* parent);

    // At load: boxes of `width` digits, "from" all zeros, "to" the highest block.
    void setUp(int width, std::int32_t highestBlock);
    QString fromText() const;
    QString toText() const;
    // The boxes after a read: the range read, at the boxes' width.
    void showRange(std::int32_t from, std::int32_t to);

    QPushButton* readButton() const { return read_; }
    QPushButton* writeButton() const { return write_; }
    QPushButton* stopButton() const { return stop_; }
    // Read, Write and the two boxes, in the order the command controls switch them.
    QList<QWidget*> commandControls() const;

  private:
    QPushButton* read_ = nullptr;
    QPushButton* write_ = nullptr;
    QPushButton* stop_ = nullptr;
    std::array<widgets::HexEntryBox*, 2> address_{};
};

}  // namespace iso14443b

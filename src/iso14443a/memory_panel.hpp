#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>

class QLineEdit;
class QPushButton;

namespace core {
class AppContext;
}

namespace widgets {
class HexEntryBox;
class MemoryView;
class PageWritePanel;
class WindowBuilder;
}  // namespace widgets

namespace iso14443a {

// The page writes of the window, by the value `PageWriteMode` takes for them.
enum class PageWrite : std::int16_t {
    Write = 8,
    CompatibilityWrite = 9,
    TopazWriteErase = 10,
    TopazWriteNoErase = 11,
};

// The memory side of the window: the page address, Read and the write set-ups of the
// window's mode, STOP, the read view and the page-write panel laid over it.
class MemoryPanel : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kHeight = 4220;  // twips

    MemoryPanel(core::AppContext& ctx, const widgets::WindowBuilder& b, QWidget* parent);

    // The window's load: the "from" box as wide as the memory's highest byte address
    // needs, all zeros; the hidden "to" box holds the highest page address.
    void setUpAddressBoxes(int digits, std::int32_t addressMask);
    void setTopazMode(bool topaz);
    // Locked boxes take no typing (they may still be enabled).
    void lockAddresses(bool locked);
    // The focused address box's leave rule, as leaving it would run it.
    void commitAddresses();

    widgets::HexEntryBox* address(int i) const { return addresses_[static_cast<std::size_t>(i)]; }
    QPushButton* readButton() const { return read_; }
    QPushButton* setupButton(PageWrite write) const;
    QPushButton* stopButton() const { return stop_; }
    QLineEdit* pageSizeBox() const { return pageSize_; }
    widgets::MemoryView* view() const { return view_; }
    widgets::PageWritePanel* pageWrite() const { return pageWrite_; }

  private:
    std::array<widgets::HexEntryBox*, 2> addresses_{};
    QPushButton* read_ = nullptr;
    std::array<QPushButton*, 4> setups_{};
    QPushButton* stop_ = nullptr;
    QLineEdit* pageSize_ = nullptr;
    widgets::MemoryView* view_ = nullptr;
    widgets::PageWritePanel* pageWrite_ = nullptr;
};

}  // namespace iso14443a

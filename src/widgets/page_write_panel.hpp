#pragma once

#include <QGroupBox>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>

#include "widgets/memory_view.hpp"

class QLabel;
class QLineEdit;
class QPushButton;

namespace core {
class AppContext;
class RunScope;
}  // namespace core

namespace widgets {

// The panel's size in twips; the windows place it over their read view.
inline constexpr int kPageWritePanelWidth = 5100;
inline constexpr int kPageWritePanelHeight = 3000;
// The fill box with nothing typed in it.
inline const QString kEmptyFill = QStringLiteral("__");

// The page-write panel `fraPageWrite` ("Data in Page"): sixteen masked entry rows
// `PWData` for the bytes of a write, the fill box `mskFillPage`, the Write button
// `cmdWriteUser` and Cancel `cmdCancelWriteTest`. A window's set-up button lays the
// rows out for its command's byte count and opens the panel; the window runs the
// command on Write. Rows hold `BlockSizeBytes` bytes each, the last row the rest; a row's
// text is two characters and a blank per byte, "_" where nothing was typed.
class PageWritePanel : public QGroupBox {
    Q_OBJECT
  public:
    static constexpr int kRows = 16;

    // When the fill byte is repeated into the rows: when the user leaves the fill box
    // (the ISO15693 window), or at every change of its text once both digits are typed
    // (the ISO14443 windows). A half-typed byte is not judged while the user types: a
    // message box raised from inside the typing would swallow the second digit.
    enum class FillTrigger { OnLeave, OnChange };

    PageWritePanel(core::AppContext& ctx, FillTrigger trigger, QWidget* parent = nullptr);

    // Lays the rows out for `byteCount` bytes (at most 16 rows) with their default
    // "00" bytes and shows the panel's buttons and fill box; Write only when
    // `writeVisible` (the ISO15693 window shows it only on its User Mode page). Does not
    // show the panel itself.
    void ShowPageWritePanel(int byteCount, bool writeVisible = true);
    // The byte count of the last layout; the fill box fills that many bytes.
    int layoutBytes() const { return layoutBytes_; }

    // The texts of the rows that hold the first `byteCount` bytes, joined in row order,
    // blanks and "_" included.
    QString data(int byteCount) const;
    // The fill box back to "__"; the rows keep their text.
    void resetFill();
    // The rows and the Write button, off while a write runs.
    void setEntryEnabled(bool enabled);
    // Leaving the fill box, as the user does (tests call it: focus is not reliable
    // offscreen). Does nothing under FillTrigger::OnChange.
    void fillBoxLeft();

    QLineEdit* row(int i) const { return rows_[static_cast<std::size_t>(i)]; }
    QLineEdit* fillBox() const { return fill_; }
    QPushButton* writeButton() const { return write_; }
    QPushButton* cancelButton() const { return cancel_; }

  signals:
    void writeClicked();
    void cancelClicked();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    int rowsFor(int byteCount) const;
    int bytesPerRow() const;
    void fillRows();

    core::AppContext& ctx_;
    FillTrigger trigger_;
    std::array<QLineEdit*, kRows> rows_{};
    QLineEdit* fill_ = nullptr;
    QLabel* fillLabel_ = nullptr;
    QPushButton* write_ = nullptr;
    QPushButton* cancel_ = nullptr;
    int layoutBytes_ = 0;
};

// How the address loop of a range write ended.
enum class RangeWriteEnd {
    Completed,  // the "to" block was written
    Cancelled,  // Cancel cleared `PageWritePending` between two blocks
    Abandoned,  // the window was closed or the program is quitting: touch nothing
};

// The address loop of a block write over a range (the ISO15693 WRITE SINGLE BLOCK and
// the ISO14443-B block write): `writeBlock` for every block from "from" to "to" in
// order, wrapping after the last block, with pending events let run after each block.
// `PageWritePending` is set first; a Cancel handled in those pauses clears it and the
// loop ends after the block in progress. The loop clears it itself after "to".
RangeWriteEnd writeBlockRange(core::RunScope& run, const BlockRange& range,
                              const std::function<void(std::int32_t address)>& writeBlock);

}  // namespace widgets

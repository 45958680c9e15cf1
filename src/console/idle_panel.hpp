#pragma once

#include <QGroupBox>
#include <array>
#include <string>

#include "core/board_calls.hpp"
#include "widgets/call_button.hpp"

class QRadioButton;

namespace core {
class AppContext;
}
namespace widgets {
class ExchangeRow;
class HexEntryBox;
class WindowBuilder;
}  // namespace widgets

namespace console {

// The console's Idle composer: sixteen byte boxes filled from six example frames, and
// beside the examples the board's echo and pulse buttons.
class IdlePanel : public QGroupBox {
    Q_OBJECT
  public:
    IdlePanel(core::AppContext& ctx, const widgets::WindowBuilder& b, QWidget* parent);

    widgets::ExchangeRow& row() const { return *row_; }
    std::array<std::string, 16> boxes() const;
    // The label of the first box whose text is not hex; empty when all hold hex digits.
    QString refusedBox() const;

    // The echo and the two pulses, each with the box that shows its answer.
    struct BoardButton {
        core::BoardCall call;
        widgets::CallButton controls;
    };
    const std::array<BoardButton, 3>& boardButtons() const { return boardButtons_; }

  private:
    void presetChosen(int index);

    std::array<widgets::HexEntryBox*, 16> frame_{};
    std::array<QRadioButton*, 6> optIdle_{};
    std::array<BoardButton, 3> boardButtons_{};
    widgets::ExchangeRow* row_ = nullptr;
};

}  // namespace console

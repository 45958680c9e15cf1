#pragma once

#include <QGroupBox>
#include <array>
#include <string>

#include "console/command_list.hpp"
#include "widgets/window_builder.hpp"

class QFrame;
class QLabel;
class QRadioButton;

namespace core {
class AppContext;
}
namespace widgets {
class ExchangeRow;
class HexEntryBox;
}  // namespace widgets

namespace console {

// The console's composer of the commands without a panel of their own (IDN, SendRecv,
// RdReg, WrReg, BaudRate, Echo): five byte boxes, the data box, the register presets and
// the exchange row. It shows one command at a time and keeps no state of the window.
class GenericPanel : public QGroupBox {
    Q_OBJECT
  public:
    GenericPanel(core::AppContext& ctx, const widgets::WindowBuilder& b, QWidget* parent);

    widgets::ExchangeRow& row() const { return *row_; }

    // Everything the command list hides before it shows a command.
    void reset();
    // The layout of a command, with the boxes last entered for it.
    void showCommand(const std::string& code, const SavedFrame& saved);
    // The first `count` byte boxes and, when asked, the data box.
    SavedFrame frameToSave(int count, bool withData) const;

    std::array<std::string, 5> boxes() const;
    std::string data() const;
    // The name of the first box the command would send whose text is not hex (pasted
    // text gets past the key filter), as the user reads it beside the box; empty when
    // every sent box holds hex digits only.
    QString refusedBox() const;
    // The chosen register write preset, 0 to 3.
    int writeRegisterOption() const;
    void setLengthBox(const QString& text);
    // Fills the boxes from a write preset; the ARC_B value preset shows `savedArcBValue`.
    void applyWritePreset(int index, const QString& savedArcBValue);
    // The "value" caption of the ARC_B box, hidden until that preset is chosen.
    void hideValueCaption();

  signals:
    // The data box was left holding hex digits (its own rule has already padded an odd
    // digit count).
    void dataLeft();
    void writePresetChosen(int index);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Lines {
        QFrame* vertical = nullptr;
        QFrame* horizontal = nullptr;
    };

    void buildRegisterPresets(const widgets::WindowBuilder& b);
    void buildBaudRateTable(const widgets::WindowBuilder& b);
    void readPresetChosen(int index);

    core::AppContext& ctx_;
    widgets::WindowBuilder builder_;
    QLabel* title_ = nullptr;
    std::array<widgets::HexEntryBox*, 5> frame_{};
    std::array<QLabel*, 5> labels_{};
    std::array<Lines, 5> lines_{};
    widgets::HexEntryBox* data_ = nullptr;
    QLabel* valueCaption_ = nullptr;
    QFrame* valueLine_ = nullptr;
    QGroupBox* readPresets_ = nullptr;
    QGroupBox* writePresets_ = nullptr;
    QGroupBox* baudRates_ = nullptr;
    QLabel* uartNote_ = nullptr;
    std::array<QRadioButton*, 2> optRead_{};
    std::array<QRadioButton*, 4> optWrite_{};
    widgets::ExchangeRow* row_ = nullptr;
};

}  // namespace console

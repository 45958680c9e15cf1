#pragma once

#include <QGroupBox>
#include <array>
#include <functional>
#include <map>
#include <string>

#include "console/protocol_select_model.hpp"
#include "widgets/window_builder.hpp"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace core {
class AppContext;
}
namespace widgets {
class ExchangeRow;
class HexEntryBox;
}  // namespace widgets

namespace console {

// The console's Protocol Select composer: the protocol choice, the parameter bits
// grouped into their named fields, the optional bytes and the frame. Every user action
// goes to the panel's model, then the widgets follow the model.
class ProtocolSelectPanel : public QGroupBox {
    Q_OBJECT
  public:
    ProtocolSelectPanel(core::AppContext& ctx, const widgets::WindowBuilder& b, QWidget* parent);

    const ProtocolSelectModel& model() const { return model_; }
    widgets::ExchangeRow& row() const { return *row_; }

    // "01 " and the frame the boxes compose, as the log shows it.
    std::string requestText() const { return model_.requestText(); }
    // The name of the first sent frame box that holds pasted text that is not hex, empty
    // when there is none. The model kept such a box's last good byte, which the box does
    // not show, so nothing may be sent.
    QString refusedBox() const;

  private:
    QComboBox* buildParamList(QWidget* parent, const char* name, int top, int width);
    void buildByte0(const widgets::WindowBuilder& b);
    void buildByte1(const widgets::WindowBuilder& b);
    void buildByte12(const widgets::WindowBuilder& b);
    void buildFrame(const widgets::WindowBuilder& b);

    void protocolChosen(int option);
    void paramListChosen(const std::string& name, int index);
    // A bit box forms its byte as the user types, and again when it is left.
    void connectBitBox(widgets::HexEntryBox* box, int byteIndex, int bit);
    // Runs a model change that a box's leave rule asked for, then shows the model.
    void boxLeft(widgets::HexEntryBox* box, const std::function<void(const std::string&)>& apply);
    void sync();
    void layoutByte0Fields(int option);

    core::AppContext& ctx_;
    widgets::WindowBuilder builder_;
    ProtocolSelectModel model_;
    bool syncing_ = false;

    std::array<QRadioButton*, kProtocolOptionCount> optProtocol_{};
    QButtonGroup* protocolGroup_ = nullptr;
    QGroupBox* fraByte0_ = nullptr;
    QGroupBox* fraByte1_ = nullptr;
    QGroupBox* fraByte12_ = nullptr;
    QLabel* byte0Title_ = nullptr;
    QLabel* byte12Title_ = nullptr;
    std::array<widgets::HexEntryBox*, 8> bits0_{};
    std::array<widgets::HexEntryBox*, 8> bits1_{};
    std::array<QFrame*, 8> bitLines_{};
    std::array<QFrame*, 3> fieldVLines_{};
    std::array<QFrame*, 3> fieldHLines_{};
    std::array<QLabel*, 2> rfuLabels_{};
    widgets::HexEntryBox* byte0Box_ = nullptr;
    widgets::HexEntryBox* byte1Box_ = nullptr;
    std::array<widgets::HexEntryBox*, 2> byte12Boxes_{};
    std::array<QLabel*, 2> byte12Labels_{};
    QCheckBox* slotCounterCheck_ = nullptr;
    QCheckBox* byte12Check_ = nullptr;
    std::map<std::string, QComboBox*> paramLists_;
    std::array<widgets::HexEntryBox*, 6> frame_{};
    widgets::ExchangeRow* row_ = nullptr;
};

}  // namespace console

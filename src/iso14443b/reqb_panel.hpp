#pragma once

#include <QGroupBox>
#include <QString>
#include <array>

#include "iso14443b/answers.hpp"

class QCheckBox;
class QLabel;
class QPushButton;

namespace core {
class AppContext;
}
namespace widgets {
class HexEntryBox;
class WindowBuilder;
}  // namespace widgets

namespace iso14443b {

// The generic layout's commands for any ISO14443-B card: REQB and WUPB with their
// parameters, "Loop" and the decoded ATQB on the left; ATTRIB with its parameters and
// answer on the right. Widgets in, texts out; the window runs the exchanges.
class ReqbPanel : public QGroupBox {
    Q_OBJECT
  public:
    ReqbPanel(core::AppContext& ctx, const widgets::WindowBuilder& b, QWidget* parent);

    // A box's text as it stands, and the name a refusal of its text gives it.
    struct Box {
        QString name;
        QString text;
    };
    // REQB and WUPB parameters, read as the boxes stand.
    Box afi() const;
    int n() const;
    // ATTRIB: "1D" follows with these, the PUPI first.
    std::array<Box, 5> attribBoxes() const;

    void showAtqb(const AtqbLabels& labels);
    void setPupi(const QString& pupi);
    void showAttrib(const AttribLabels& labels);

    QCheckBox* loopBox() const { return loop_; }

  signals:
    void reqbClicked();
    void wupbClicked();
    void attribClicked();
    void loopClicked(bool ticked);

  private:
    widgets::HexEntryBox* afi_ = nullptr;
    std::array<widgets::HexEntryBox*, 3> n_{};
    QCheckBox* loop_ = nullptr;
    std::array<QLabel*, 6> atqb_{};
    widgets::HexEntryBox* pupi_ = nullptr;
    std::array<widgets::HexEntryBox*, 4> attrib_{};
    std::array<QString, 5> attribNames_;
    QLabel* attribMbliCid_ = nullptr;
    QLabel* attribCrc_ = nullptr;
};

}  // namespace iso14443b

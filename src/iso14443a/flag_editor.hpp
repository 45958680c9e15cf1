#pragma once

#include <QGroupBox>
#include <QString>
#include <array>

class QCheckBox;

namespace core {
class AppContext;
}

namespace widgets {
class HexEntryBox;
class WindowBuilder;
}  // namespace widgets

namespace iso14443a {

// The transmission flag editor: the flag byte of the last command as two hex digits and
// one check box per bit. Every command writes it before it builds its request and ends
// the request with what the box then holds; what a user types or ticks here is never
// sent, the next command overwrites it.
class FlagEditor : public QGroupBox {
    Q_OBJECT
  public:
    FlagEditor(core::AppContext& ctx, const widgets::WindowBuilder& b, QWidget* parent);

    // The box gets the flag, then each check box the bit it stands for.
    void SetTransmissionFlag(const QString& flag);
    QString flagText() const;

    widgets::HexEntryBox* box() const { return box_; }
    QCheckBox* bit(int i) const { return bits_[static_cast<std::size_t>(i)]; }

  private:
    widgets::HexEntryBox* box_ = nullptr;
    std::array<QCheckBox*, 8> bits_{};
};

}  // namespace iso14443a

#pragma once

#include <QGroupBox>
#include <array>

#include "iso15693/requests.hpp"

class QCheckBox;
class QLabel;
class QRadioButton;

namespace core {
class AppContext;
}
namespace widgets {
class HexEntryBox;
}

namespace iso15693 {

// " Data Rate" (`FraDataRate`): the four data-rate options of every request.
class DataRateFrame : public QGroupBox {
    Q_OBJECT
  public:
    explicit DataRateFrame(QWidget* parent);
    DataRate rate() const;

    std::array<QRadioButton*, 4> optDataRate{};
};

// "Tag informations" (`frmWriteTime`): the Select and Address flags, the chosen tag's UID,
// the result label of the write, lock and state commands, and the AUTO LOOP counter.
class TagInfoFrame : public QGroupBox {
    Q_OBJECT
  public:
    TagInfoFrame(core::AppContext& ctx, QWidget* parent);

    // The UID box and the flags back to their opening state.
    void reset();

    std::array<QCheckBox*, 2> chk_Select_Address_flag{};
    widgets::HexEntryBox* txtTransponderUID;
    QLabel* lblChoosenTag;
    QLabel* lblWriteTime;
    QLabel* lblLoopCount;
};

// The UID box's text before the user has typed into it.
inline const QString kUidDesignText = QStringLiteral("Transponder UID");

}  // namespace iso15693

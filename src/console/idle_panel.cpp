#include "console/idle_panel.hpp"

#include <QRadioButton>

#include "console/presets.hpp"
#include "transceiver/hex_text.hpp"
#include "widgets/exchange_row.hpp"
#include "widgets/hex_entry_box.hpp"
#include "widgets/window_builder.hpp"

namespace console {

namespace {

using widgets::HexEntryBox;
using widgets::WindowBuilder;

std::size_t at(int i) { return static_cast<std::size_t>(i); }

int boxLeft(int i) { return 240 + 350 * i; }
constexpr int kRowTop = 720;
constexpr int kBoxWidth = 320;
// Labels step down from the last box to the first, so no label crosses another's line.
int labelTop(int i) { return 1200 + (15 - i) * 195; }

}  // namespace

IdlePanel::IdlePanel(core::AppContext& ctx, const WindowBuilder& b, QWidget* parent)
    : QGroupBox(parent) {
    b.place(this, QStringLiteral("FraCommandCode07"), 0, 480, 12615, 6615);
    auto* title = b.label(this, QStringLiteral("lblCommandCode07"),
                          QStringLiteral("command code 07 : Idle"), 240, 240, 6000, 285);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);

    const auto& preset0 = idlePresets()[0].frame;
    for (int i = 0; i < 16; ++i) {
        auto* box = new HexEntryBox(ctx, HexEntryBox::Kind::FrameByte, this);
        frame_[at(i)] = b.place(box, WindowBuilder::indexed("txtCode07Frame", i), boxLeft(i),
                                kRowTop, kBoxWidth, 315);
        box->setText(QString::fromLatin1(preset0[at(i)]));
        box->setReadOnly(i < 2);
        const int centre = boxLeft(i) + kBoxWidth / 2;
        const int top = labelTop(i);
        b.vline(this, WindowBuilder::indexed("line07V", i), centre, kRowTop + 315,
                top + 100 - kRowTop - 315);
        b.hline(this, WindowBuilder::indexed("line07H", i), centre, top + 100, 120);
        b.label(this, WindowBuilder::indexed("lblCmd07Byte", i),
                QString::fromLatin1(idleByteLabels()[at(i)]), centre + 150, top, 0, 200);
    }

    auto* examples = b.place(
        new QGroupBox(QStringLiteral("  IDLE frame examples  (see datasheet or TN4821)  "), this),
        QStringLiteral("FraIdleDatasheetExamples"), 6720, 120, 5775, 3255);
    for (int k = 0; k < 6; ++k) {
        optIdle_[at(k)] =
            b.place(new QRadioButton(QString::fromLatin1(idlePresets()[at(k)].caption), examples),
                    WindowBuilder::indexed("optIDLEframe", k), 120, 240 + 270 * k, 5600, 255);
        connect(optIdle_[at(k)], &QRadioButton::clicked, this, [this, k] { presetChosen(k); });
    }
    optIdle_[0]->setChecked(true);
    b.label(examples, QStringLiteral("lblIdleDacDataH"),
            QStringLiteral("(cf datasheet or TN4821 for DacDataH values)"), 360, 1875);

    const std::array<std::pair<core::BoardCall, widgets::CallButtonNames>, 3> calls = {{
        {core::kEchoCall, widgets::kEchoButton},
        {core::kIrqPulseCall, widgets::kIrqPulseButton},
        {core::kNssPulseCall, widgets::kNssPulseButton},
    }};
    for (int r = 0; r < 3; ++r) {
        widgets::CallButtonPlace place;
        place.left = 600;
        place.top = 2160 + 360 * r;
        place.buttonWidth = 2415;
        place.boxLeft = 3120;
        place.boxWidth = 1815;
        place.buttonHeight = 285;
        place.boxHeight = 285;
        place.boxDrop = 0;
        boardButtons_[at(r)] = {calls[at(r)].first,
                                widgets::makeCallButton(b, examples, calls[at(r)].second, place)};
    }

    row_ = new widgets::ExchangeRow(b, this,
                                    {"07", "Send frame", 240, 4500, 1920, 3000, 4500, 9360, 2});
}

std::array<std::string, 16> IdlePanel::boxes() const {
    std::array<std::string, 16> texts;
    for (int i = 0; i < 16; ++i) texts[at(i)] = transceiver::toLatin1(frame_[at(i)]->text());
    return texts;
}

QString IdlePanel::refusedBox() const {
    for (int i = 0; i < 16; ++i) {
        if (!transceiver::isHexText(transceiver::toLatin1(frame_[at(i)]->text())))
            return QString::fromLatin1(idleByteLabels()[at(i)]);
    }
    return {};
}

void IdlePanel::presetChosen(int index) {
    if (index < 0 || index > 5) return;
    const auto& frame = idlePresets()[at(index)].frame;
    for (int i = 0; i < 16; ++i) frame_[at(i)]->setText(QString::fromLatin1(frame[at(i)]));
}

}  // namespace console

// The Idle panel of the console window, with the board buttons beside its presets.

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include "console/console_window.hpp"
#include "console/presets.hpp"
#include "widgets/hex_entry_box.hpp"
#include "widgets/window_builder.hpp"

namespace console {

using widgets::HexEntryBox;

namespace {

std::size_t at(int i) { return static_cast<std::size_t>(i); }

int idleBoxLeft(int i) { return 240 + 350 * i; }
constexpr int kIdleRowTop = 720;
constexpr int kIdleBoxWidth = 320;
// Labels step down from the last box to the first, so no label crosses another's line.
int idleLabelTop(int i) { return 1200 + (15 - i) * 195; }

}  // namespace

void ConsoleWindow::buildIdlePanel(QWidget* parent) {
    const widgets::WindowBuilder b(this);
    fraIdle_ =
        b.place(new QGroupBox(parent), QStringLiteral("FraCommandCode07"), 0, 480, 12615, 6615);
    QWidget* p = fraIdle_;
    auto* title = b.label(p, QStringLiteral("lblCommandCode07"),
                          QStringLiteral("command code 07 : Idle"), 240, 240, 6000, 285);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);

    const auto& preset0 = idlePresets()[0].frame;
    for (int i = 0; i < 16; ++i) {
        auto* box = new widgets::HexEntryBox(ctx(), widgets::HexEntryBox::Kind::FrameByte, p);
        frame07_[at(i)] = b.place(box, widgets::WindowBuilder::indexed("txtCode07Frame", i),
                                  idleBoxLeft(i), kIdleRowTop, kIdleBoxWidth, 315);
        box->setText(QString::fromLatin1(preset0[at(i)]));
        box->setReadOnly(i < 2);
        const int centre = idleBoxLeft(i) + kIdleBoxWidth / 2;
        const int labelTop = idleLabelTop(i);
        b.vline(p, widgets::WindowBuilder::indexed("line07V", i), centre, kIdleRowTop + 315,
                labelTop + 100 - kIdleRowTop - 315);
        b.hline(p, widgets::WindowBuilder::indexed("line07H", i), centre, labelTop + 100, 120);
        b.label(p, widgets::WindowBuilder::indexed("lblCmd07Byte", i),
                QString::fromLatin1(idleByteLabels()[at(i)]), centre + 150, labelTop, 0, 200);
    }

    auto* examples = b.place(
        new QGroupBox(QStringLiteral("  IDLE frame examples  (see datasheet or TN4821)  "), p),
        QStringLiteral("FraIdleDatasheetExamples"), 6720, 120, 5775, 3255);
    for (int k = 0; k < 6; ++k) {
        optIdle_[at(k)] = b.place(
            new QRadioButton(QString::fromLatin1(idlePresets()[at(k)].caption), examples),
            widgets::WindowBuilder::indexed("optIDLEframe", k), 120, 240 + 270 * k, 5600, 255);
        connect(optIdle_[at(k)], &QRadioButton::clicked, this, [this, k] { idlePresetChosen(k); });
    }
    optIdle_[0]->setChecked(true);
    b.label(examples, QStringLiteral("lblIdleDacDataH"),
            QStringLiteral("(cf datasheet or TN4821 for DacDataH values)"), 360, 1875);

    struct Row {
        const char* button;
        const char* caption;
        const char* box;
        BoardButton which;
        QLineEdit** answer;
    };
    const Row rows[] = {
        {"cmdEcho", "Echo", "txtEchoAnswer", BoardButton::Echo, &echoAnswer_},
        {"cmdSendIRQPulse", "Negative pulse on IRQ in", "txtSendIRQPulseAnswer",
         BoardButton::IrqPulse, &irqAnswer_},
        {"cmdNegativePulseOn_SPI_NSS", "Negative Pulse on SPI NSS", "txtNegPulse_SPI_NSS_Answer",
         BoardButton::NssPulse, &nssAnswer_},
    };
    for (int r = 0; r < 3; ++r) {
        const Row& row = rows[r];
        auto* button = b.place(new QPushButton(QString::fromLatin1(row.caption), examples),
                               QString::fromLatin1(row.button), 600, 2160 + 360 * r, 2415, 285);
        *row.answer =
            b.display(examples, QString::fromLatin1(row.box), 3120, 2160 + 360 * r, 1815, 285);
        const BoardButton which = row.which;
        connect(button, &QPushButton::clicked, this, [this, which] { boardButtonClicked(which); });
    }

    send07_ = b.place(new QPushButton(QStringLiteral("Send frame"), p),
                      QStringLiteral("cmdSendCommandCode07"), 240, 4500, 1455, 375);
    connect(send07_, &QPushButton::clicked, this, &ConsoleWindow::sendIdle);
    b.label(p, QStringLiteral("lblCommandCode07Request"), QStringLiteral("Request : "), 1920, 4545);
    request07_ = b.display(p, QStringLiteral("txtCommandCode07Request"), 3000, 4500, 9360);
    b.label(p, QStringLiteral("lblCommandCode07Answer"), QStringLiteral("Answer : "), 1920, 4905);
    answer07_ = b.display(p, QStringLiteral("txtCommandCode07Answer"), 3000, 4860, 9360);
    for (int i = 0; i < 2; ++i) {
        explain07_[at(i)] =
            b.display(p, widgets::WindowBuilder::indexed("txtCommandCode07AnswerExplain", i), 3000,
                      5220 + 330 * i, 9360);
        explain07_[at(i)]->hide();
    }
}

void ConsoleWindow::idlePresetChosen(int index) {
    if (index < 0 || index > 5) return;
    const auto& frame = idlePresets()[at(index)].frame;
    for (int i = 0; i < 16; ++i) frame07_[at(i)]->setText(QString::fromLatin1(frame[at(i)]));
}

}  // namespace console

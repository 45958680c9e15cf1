#include "console/generic_panel.hpp"

#include <QKeyEvent>
#include <QLabel>
#include <QRadioButton>

#include "console/presets.hpp"
#include "core/app_context.hpp"
#include "transceiver/hex_text.hpp"
#include "widgets/exchange_row.hpp"
#include "widgets/hex_entry_box.hpp"

namespace console {

namespace {

using transceiver::fromLatin1;
using transceiver::toLatin1;
using widgets::HexEntryBox;
using widgets::WindowBuilder;

std::size_t at(int i) { return static_cast<std::size_t>(i); }

// The byte row.
int boxLeft(int i) { return 1680 + 600 * i; }
constexpr int kRowTop = 1200;
// Labels step down from the last box to the first, so no label crosses another's line.
int labelTop(int i) { return 1680 + 240 * (4 - i); }

void setCaption(QLabel* label, const char* text) {
    label->setText(QString::fromLatin1(text));
    label->adjustSize();
}

}  // namespace

GenericPanel::GenericPanel(core::AppContext& ctx, const WindowBuilder& b, QWidget* parent)
    : QGroupBox(parent), ctx_(ctx), builder_(b) {
    b.place(this, QStringLiteral("FraCommandCodeXX"), 0, 480, 12615, 6615);
    title_ = b.label(this, QStringLiteral("lblCommandCodeXX"), QString(), 240, 240, 6000, 285);
    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);

    for (int i = 0; i < 5; ++i) {
        auto* box = new HexEntryBox(ctx, HexEntryBox::Kind::FrameByte, this);
        frame_[at(i)] = b.place(box, WindowBuilder::indexed("txtCodeXXFrame", i), boxLeft(i),
                                kRowTop, 495, 315);
        box->setReadOnly(true);
        const int centre = boxLeft(i) + 247;
        const int top = labelTop(i);
        lines_[at(i)].vertical = b.vline(this, QStringLiteral("line%1VCommandCodeXX").arg(i),
                                         centre, kRowTop + 315, top + 120 - kRowTop - 315);
        lines_[at(i)].horizontal =
            b.hline(this, QStringLiteral("line%1HCommandCodeXX").arg(i), centre, top + 120, 150);
        labels_[at(i)] =
            b.label(this, WindowBuilder::indexed("lblCmdCodeXX", i), QString(), centre + 180, top);
    }
    data_ = new HexEntryBox(ctx, HexEntryBox::Kind::Data, this);
    b.place(data_, QStringLiteral("txtCodeXXFrameData"), boxLeft(2), kRowTop, 4215, 315);
    // Text the box refuses (red) sets neither the length byte nor the remembered value.
    connect(data_, &HexEntryBox::committed, this, [this] {
        if (data_->holdsValidText()) emit dataLeft();
    });
    // The ARC_B value box is full at two digits: say so rather than drop the key silently.
    data_->installEventFilter(this);
    valueLine_ = b.hline(this, QStringLiteral("lineDataHCommandCode09"), boxLeft(5) + 495,
                         kRowTop + 157, 240);
    valueCaption_ = b.label(this, QStringLiteral("lblDataCmdCode09"), QStringLiteral("value"),
                            boxLeft(5) + 780, kRowTop + 40);

    buildRegisterPresets(b);
    buildBaudRateTable(b);
    row_ = new widgets::ExchangeRow(b, this,
                                    {"XX", "Send frame", 240, 4140, 1920, 3000, 4140, 9360, 5});
}

void GenericPanel::buildRegisterPresets(const WindowBuilder& b) {
    readPresets_ = b.place(new QGroupBox(QStringLiteral("Select register"), this),
                           QStringLiteral("fraCmd08SelectRegister"), 8040, 960, 4440, 2640);
    for (int i = 0; i < 2; ++i) {
        const ReadRegisterPreset& preset = readRegisterPresets()[at(i)];
        optRead_[at(i)] = b.place(
            new QRadioButton(QString::fromLatin1(preset.caption), readPresets_),
            WindowBuilder::indexed("optCmd08ReadRegister", i), 240, 360 + 1080 * i, 4000, 285);
        connect(optRead_[at(i)], &QRadioButton::clicked, this, [this, i] { readPresetChosen(i); });
    }
    optRead_[0]->setChecked(true);
    b.label(readPresets_, QStringLiteral("lblCmd08Hint_0"),
            QStringLiteral("-> answer = 01 : wake-up by timeout"), 600, 660);
    b.label(readPresets_, QStringLiteral("lblCmd08Hint_1"),
            QStringLiteral("-> answer = 02 : wake-up by tag detect"), 600, 900);
    b.label(readPresets_, QStringLiteral("lblCmd08Hint_2"), QStringLiteral("-> answer = XY : "),
            600, 1740);
    b.label(readPresets_, QStringLiteral("lblCmd08Hint_3"), QStringLiteral("where : X = Depth"),
            2160, 1740);
    b.label(readPresets_, QStringLiteral("lblCmd08Hint_4"), QStringLiteral("where : Y = Gain"),
            2160, 1980);

    // Register write presets, with the ARC_B value tables between the second and third.
    writePresets_ = b.place(new QGroupBox(QStringLiteral("Write register command"), this),
                            QStringLiteral("fraCmd09SelectRegister"), 8040, 600, 4440, 3420);
    const int writeTops[] = {300, 570, 2800, 3070};
    for (int i = 0; i < 4; ++i) {
        optWrite_[at(i)] = b.place(
            new QRadioButton(QString::fromLatin1(writeRegisterPresets()[at(i)].caption),
                             writePresets_),
            WindowBuilder::indexed("optCmd09WriteRegister", i), 240, writeTops[i], 4100, 270);
        connect(optWrite_[at(i)], &QRadioButton::clicked, this,
                [this, i] { emit writePresetChosen(i); });
    }
    optWrite_[0]->setChecked(true);
    // Each table in two columns, so both fit between the second and third preset.
    b.label(writePresets_, QStringLiteral("lblCmd09X"),
            QStringLiteral("where : X = Modulation Depth"), 480, 870);
    const char* depth[] = {"1 = 10%", "2 = 17%", "3 = 25%", "4 = 30%",
                           "5 = 33%", "6 = 36%", "D = 95%"};
    for (int k = 0; k < 7; ++k) {
        b.label(writePresets_, WindowBuilder::indexed("lblCmd09Depth", k),
                QString::fromLatin1(depth[k]), 720 + 1320 * (k / 4), 1080 + 200 * (k % 4));
    }
    b.label(writePresets_, QStringLiteral("lblCmd09Y"), QStringLiteral("where : Y = Receiver Gain"),
            480, 1920);
    const char* gain[] = {"0 = 34 dB", "1 = 32 dB", "3 = 27 dB", "7 = 20 dB", "F = 8 dB"};
    for (int k = 0; k < 5; ++k) {
        b.label(writePresets_, WindowBuilder::indexed("lblCmd09Gain", k),
                QString::fromLatin1(gain[k]), 720 + 1320 * (k / 3), 2130 + 200 * (k % 3));
    }
}

void GenericPanel::buildBaudRateTable(const WindowBuilder& b) {
    baudRates_ = b.place(new QGroupBox(this), QStringLiteral("FraCommandCode0Abaudrate"), 6240,
                         1080, 3015, 2535);
    const char* rates[] = {"New baud rate = <BaudRate>*2+2",
                           "255 : 13.56/512 ~26.48Kbps",
                           "254 : 13.56/510 ~26.59Kbps",
                           "...",
                           "117 : 13.56/236 ~57.7Kbps",
                           "...",
                           "2 : 13.56/6 ~2.26Mbps",
                           "1 : RFU",
                           "0 : RFU"};
    for (int k = 0; k < 9; ++k) {
        b.label(baudRates_, WindowBuilder::indexed("lblCmd0Abaudrate", k),
                QString::fromLatin1(rates[k]), 180, 180 + 255 * k);
    }
    uartNote_ = b.label(this, QStringLiteral("lblCommand02Uart"),
                        QStringLiteral(" * IMPORTANT : DEMO-TQ73RN-A delivered in SPI version "
                                       "(please contact KV to switch it to UART mode)"),
                        240, 3720);
}

void GenericPanel::reset() {
    hide();
    row_->clear();
    baudRates_->hide();
    for (int i = 1; i < 5; ++i) {
        frame_[at(i)]->hide();
        lines_[at(i)].vertical->hide();
        lines_[at(i)].horizontal->hide();
        labels_[at(i)]->hide();
    }
    data_->hide();
    readPresets_->hide();
    writePresets_->hide();
    hideValueCaption();
    uartNote_->hide();
    for (auto* box : frame_) box->setReadOnly(true);
}

void GenericPanel::hideValueCaption() {
    valueCaption_->hide();
    valueLine_->hide();
}

void GenericPanel::showCommand(const std::string& code, const SavedFrame& saved) {
    const GenericLayout& layout = *genericLayout(code);
    const WindowBuilder& b = builder_;
    show();
    title_->setText(QString::fromLatin1(layout.title));
    for (std::size_t i = 0; i < layout.boxCaptions.size(); ++i) {
        frame_[i]->show();
        frame_[i]->setText(i < saved.boxes.size() ? fromLatin1(saved.boxes[i]) : QString());
        lines_[i].vertical->show();
        lines_[i].horizontal->show();
        labels_[i]->show();
        setCaption(labels_[i], layout.boxCaptions[i]);
    }
    if (layout.writableBox >= 0) frame_[at(layout.writableBox)]->setReadOnly(false);

    switch (layout.data) {
        case DataBoxMode::Hidden:
            break;
        case DataBoxMode::SendRecv:
            lines_[2].vertical->show();
            lines_[2].horizontal->show();
            labels_[2]->show();
            setCaption(labels_[2], kSendRecvDataCaption);
            // The box may still hold the ARC_B width: widen it first, or the text is cut.
            data_->setMaxLength(kSendRecvDataDigits);
            data_->setText(fromLatin1(saved.data));
            data_->setGeometry(b.px(boxLeft(2)), b.px(kRowTop), b.px(4215), b.px(315));
            data_->setReadOnly(false);
            data_->show();
            break;
        case DataBoxMode::WrReg:
            data_->setText(fromLatin1(saved.data));
            data_->setGeometry(b.px(boxLeft(5)), b.px(kRowTop), b.px(495), b.px(315));
            data_->setMaxLength(kArcBValueDigits);
            data_->setReadOnly(true);
            if (optWrite_[1]->isChecked()) {
                data_->show();
                valueCaption_->show();
                valueLine_->show();
                data_->setReadOnly(false);
            }
            break;
    }
    if (layout.readRegisterPresets) readPresets_->show();
    if (layout.writeRegisterPresets) writePresets_->show();
    if (layout.baudRateTable) {
        baudRates_->show();
        uartNote_->show();
    }
}

SavedFrame GenericPanel::frameToSave(int count, bool withData) const {
    SavedFrame saved;
    saved.boxes.resize(at(count));
    for (int i = 0; i < count; ++i) saved.boxes[at(i)] = toLatin1(frame_[at(i)]->text());
    if (withData) saved.data = toLatin1(data_->text());
    return saved;
}

std::array<std::string, 5> GenericPanel::boxes() const {
    std::array<std::string, 5> texts;
    for (int i = 0; i < 5; ++i) texts[at(i)] = toLatin1(frame_[at(i)]->text());
    return texts;
}

std::string GenericPanel::data() const { return toLatin1(data_->text()); }

QString GenericPanel::refusedBox() const {
    const std::string code = toLatin1(frame_[0]->text());
    for (int b : genericSentBoxes(code, writeRegisterOption())) {
        if (b == kDataBox) {
            if (transceiver::isHexText(data())) continue;
            const GenericLayout* layout = genericLayout(code);
            return layout && layout->data == DataBoxMode::SendRecv
                       ? QString::fromLatin1(kSendRecvDataName)
                       : valueCaption_->text();
        }
        if (!transceiver::isHexText(toLatin1(frame_[at(b)]->text()))) return labels_[at(b)]->text();
    }
    return {};
}

int GenericPanel::writeRegisterOption() const {
    for (int i = 0; i < 4; ++i) {
        if (optWrite_[at(i)]->isChecked()) return i;
    }
    return 0;
}

void GenericPanel::setLengthBox(const QString& text) { frame_[1]->setText(text); }

bool GenericPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == data_ && event->type() == QEvent::KeyPress && !data_->isReadOnly()) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QString typed = key->text();
        const bool printable = !typed.isEmpty() && typed.at(0).unicode() > 31;
        if (printable && !data_->hasSelectedText() && data_->text().size() >= data_->maxLength()) {
            ctx_.ui().beep();
            return true;
        }
    }
    return QGroupBox::eventFilter(watched, event);
}

void GenericPanel::readPresetChosen(int index) {
    const ReadRegisterPreset& preset = readRegisterPresets()[index == 0 ? 0 : 1];
    frame_[2]->setText(QString::fromLatin1(preset.address));
    setCaption(labels_[2], preset.addressCaption);
}

void GenericPanel::applyWritePreset(int index, const QString& savedArcBValue) {
    if (index < 0 || index > 3) return;
    const WriteRegisterPreset& preset = writeRegisterPresets()[at(index)];
    for (int i = 0; i < 4; ++i)
        frame_[at(i + 1)]->setText(QString::fromLatin1(preset.boxes[at(i)]));
    if (preset.dataBox == WriteDataBox::SavedValue) data_->setText(savedArcBValue);
    if (preset.dataBox == WriteDataBox::Fixed) data_->setText(QString::fromLatin1(preset.data));
    const bool shown = preset.dataBox != WriteDataBox::Unchanged;
    data_->setVisible(shown);
    data_->setReadOnly(preset.dataBox != WriteDataBox::SavedValue);
    valueCaption_->setVisible(shown);
    valueLine_->setVisible(shown);
}

}  // namespace console

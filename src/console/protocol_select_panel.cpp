#include "console/protocol_select_panel.hpp"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>

#include "transceiver/frames.hpp"
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

// A doubled ampersand in a caption stands for one.
QString caption(const char* text) {
    return QString::fromLatin1(text).replace(QLatin1String("&&"), QLatin1String("&"));
}

// Rows of the byte-0 bit column, bit 7 at the top. A row is taller than a list, so the
// lists of neighbouring one-bit fields stand apart.
int bit0Top(int bit) { return 540 + (7 - bit) * 330; }
constexpr int kBitBoxLeft = 420;
constexpr int kBitBoxWidth = 285;
constexpr int kBitRowHeight = 270;
constexpr int kGatherX = 960;
constexpr int kFieldLeft = 1260;
constexpr int kListHeight = 270;
// The byte boxes under the bit columns.
constexpr int kByteBoxTop = 3150;

// Rows of the byte-1 bit column.
int bit1Top(int bit) { return 840 + (7 - bit) * 255; }
constexpr int kBit1RowHeight = 240;

// The middle of a field's rows, in twips from the frame's top.
int fieldCentre(int highBit, int lowBit) {
    return (bit0Top(highBit) + bit0Top(lowBit) + kBitRowHeight) / 2;
}

// Writes the model's text into a box only where it differs, so the box the user is
// typing into keeps its cursor.
void showText(QLineEdit* box, const std::string& text) {
    const QString shown = fromLatin1(text);
    if (box->text() != shown) box->setText(shown);
}

}  // namespace

QComboBox* ProtocolSelectPanel::buildParamList(QWidget* parent, const char* name, int top,
                                               int width) {
    const WindowBuilder& b = builder_;
    auto* combo = b.place(new QComboBox(parent), QString::fromLatin1(name), kFieldLeft, top, width,
                          kListHeight);
    const ParamList* list = findParamList(name);
    for (const auto& item : list->items) combo->addItem(fromLatin1(item));
    combo->setCurrentIndex(list->initialItem);
    combo->hide();
    const std::string key = name;
    connect(combo, &QComboBox::activated, this,
            [this, key](int index) { paramListChosen(key, index); });
    paramLists_[key] = combo;
    return combo;
}

ProtocolSelectPanel::ProtocolSelectPanel(core::AppContext& ctx, const WindowBuilder& b,
                                         QWidget* parent)
    : QGroupBox(parent), ctx_(ctx), builder_(b) {
    b.place(this, QStringLiteral("FraCommandCode02"), 0, 480, 12615, 6615);
    auto* title = b.label(this, QStringLiteral("Label6"),
                          QStringLiteral("command code 02 : Protocol Select"), 240, 240, 6000, 285);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);

    // The protocol choice: reader protocols, then card modes.
    auto* codes =
        b.place(new QGroupBox(this), QStringLiteral("FraProtocolCodeReader"), 240, 600, 2400, 3480);
    b.label(codes, QStringLiteral("lblReaderProtocolCode"), QStringLiteral("Reader protocol code"),
            120, 180);
    b.label(codes, QStringLiteral("lblCardProtocolCode"), QStringLiteral("Card protocol code"), 120,
            2040);
    protocolGroup_ = new QButtonGroup(this);
    for (int o = 0; o < kProtocolOptionCount; ++o) {
        const int top = o < 5 ? 480 + 300 * o : 2280 + 300 * (o - 5);
        auto* opt = new QRadioButton(QString::fromLatin1(protocolOptions()[at(o)].caption), codes);
        optProtocol_[at(o)] =
            b.place(opt, WindowBuilder::indexed("OptProtocolCode", o), 240, top, 2040, 270);
        protocolGroup_->addButton(opt, o);
    }
    connect(protocolGroup_, &QButtonGroup::idClicked, this, &ProtocolSelectPanel::protocolChosen);

    buildByte0(b);
    buildByte1(b);
    buildByte12(b);
    buildFrame(b);
    sync();
}

void ProtocolSelectPanel::boxLeft(HexEntryBox* box,
                                  const std::function<void(const std::string&)>& apply) {
    if (syncing_ || !box->holdsValidText()) return;
    apply(toLatin1(box->text()));
    sync();
}

void ProtocolSelectPanel::connectBitBox(HexEntryBox* box, int byteIndex, int bit) {
    connect(box, &QLineEdit::textEdited, this, [this, byteIndex, bit](const QString& text) {
        model_.typeBitBox(byteIndex, bit, toLatin1(text));
        sync();
    });
    connect(box, &HexEntryBox::committed, this, [this, box, byteIndex, bit] {
        boxLeft(box, [this, byteIndex, bit](const std::string& t) {
            model_.leaveBitBox(byteIndex, bit, t);
        });
    });
}

// Parameter byte 0: the bit column, the lists level with their fields, the byte.
void ProtocolSelectPanel::buildByte0(const WindowBuilder& b) {
    fraByte0_ =
        b.place(new QGroupBox(this), QStringLiteral("FraByte0Config"), 2760, 600, 5400, 3480);
    byte0Title_ = b.label(fraByte0_, QStringLiteral("txtLabelByte0"),
                          QStringLiteral("Protocol byte 0 configuration"), 120, 200, 5100, 285);
    for (int bit = 7; bit >= 0; --bit) {
        b.label(fraByte0_, WindowBuilder::indexed("lblbyte0bit", bit), QString::number(bit), 180,
                bit0Top(bit) + 15);
        auto* box = new HexEntryBox(ctx_, HexEntryBox::Kind::Bit, fraByte0_);
        bits0_[at(bit)] = b.place(box, WindowBuilder::indexed("txtBitsByte0", bit), kBitBoxLeft,
                                  bit0Top(bit), kBitBoxWidth, kBitRowHeight);
        connectBitBox(box, 0, bit);
        bitLines_[at(bit)] = b.hline(fraByte0_, WindowBuilder::indexed("linebitByte0", bit),
                                     kBitBoxLeft + kBitBoxWidth, bit0Top(bit) + kBitRowHeight / 2,
                                     kGatherX - kBitBoxLeft - kBitBoxWidth);
    }
    for (int i = 0; i < 3; ++i) {
        fieldVLines_[at(i)] =
            b.vline(fraByte0_, WindowBuilder::indexed("vlinebitByte0", i), kGatherX, 0, 100);
        fieldHLines_[at(i)] =
            b.hline(fraByte0_, WindowBuilder::indexed("hlinebitByte0", i), kGatherX, 0, 100);
    }
    for (int i = 0; i < 2; ++i) {
        rfuLabels_[at(i)] = b.label(fraByte0_, WindowBuilder::indexed("lblBitsByte0", i),
                                    QStringLiteral("RFU"), kFieldLeft, 0);
    }
    for (const auto& list : paramLists()) {
        if (list.byteIndex != 0) continue;
        const int high = list.lowBit + list.width - 1;
        buildParamList(fraByte0_, list.name, fieldCentre(high, list.lowBit) - kListHeight / 2,
                       3900);
    }
    b.label(fraByte0_, QStringLiteral("Label31"), QStringLiteral("byte 0 = "), 180,
            kByteBoxTop + 45);
    byte0Box_ = b.place(new HexEntryBox(ctx_, HexEntryBox::Kind::Byte, fraByte0_),
                        QStringLiteral("txtByte0Configuration"), 1020, kByteBoxTop, 495, 285);
    connect(byte0Box_, &HexEntryBox::committed, this, [this] {
        boxLeft(byte0Box_, [this](const std::string& t) { model_.leaveByte0Box(t); });
    });
}

// FeliCa reader byte 1.
void ProtocolSelectPanel::buildByte1(const WindowBuilder& b) {
    fraByte1_ =
        b.place(new QGroupBox(this), QStringLiteral("FraByte1Config"), 8280, 600, 4200, 3480);
    b.label(fraByte1_, QStringLiteral("txtLabelByte1"),
            QStringLiteral("Felica reader byte 1 configuration"), 120, 200, 3960, 285);
    slotCounterCheck_ = b.place(
        new QCheckBox(QStringLiteral("check to send Slot Counter parameter (byte 1)"), fraByte1_),
        QStringLiteral("chkiso18092_SlotCounterByte1"), 120, 480, 3960, 270);
    connect(slotCounterCheck_, &QCheckBox::clicked, this, [this](bool ticked) {
        model_.setSlotCounter(ticked);
        sync();
    });
    for (int bit = 7; bit >= 0; --bit) {
        b.label(fraByte1_, WindowBuilder::indexed("lblbyte1bit", bit), QString::number(bit), 180,
                bit1Top(bit) + 10);
        auto* box = new HexEntryBox(ctx_, HexEntryBox::Kind::Bit, fraByte1_);
        bits1_[at(bit)] = b.place(box, WindowBuilder::indexed("txtBitsByte1", bit), kBitBoxLeft,
                                  bit1Top(bit), kBitBoxWidth, kBit1RowHeight);
        connectBitBox(box, 1, bit);
        b.hline(fraByte1_, WindowBuilder::indexed("linebitByte1", bit), kBitBoxLeft + kBitBoxWidth,
                bit1Top(bit) + kBit1RowHeight / 2,
                (bit == 4 ? kFieldLeft : kGatherX) - kBitBoxLeft - kBitBoxWidth);
    }
    // Bits 7-5 gather to the RFU label, bits 3-0 to the slot counter.
    const int rfuCentre = (bit1Top(7) + bit1Top(5) + kBit1RowHeight) / 2;
    const int slotCentre = (bit1Top(3) + bit1Top(0) + kBit1RowHeight) / 2;
    b.vline(fraByte1_, QStringLiteral("vlinebitByte1_0"), kGatherX, bit1Top(7) + kBit1RowHeight / 2,
            bit1Top(5) - bit1Top(7));
    b.hline(fraByte1_, QStringLiteral("hlinebitByte1_0"), kGatherX, rfuCentre,
            kFieldLeft - kGatherX);
    b.vline(fraByte1_, QStringLiteral("vlinebitByte1_1"), kGatherX, bit1Top(3) + kBit1RowHeight / 2,
            bit1Top(0) - bit1Top(3));
    b.hline(fraByte1_, QStringLiteral("hlinebitByte1_1"), kGatherX, slotCentre,
            kFieldLeft - kGatherX);
    b.label(fraByte1_, QStringLiteral("lblBitsByte1"), QStringLiteral("RFU"), kFieldLeft,
            rfuCentre - 120);
    for (const auto& list : paramLists()) {
        if (list.byteIndex != 1) continue;
        const int centre = list.width == 1 ? bit1Top(list.lowBit) + kBit1RowHeight / 2 : slotCentre;
        buildParamList(fraByte1_, list.name, centre - kListHeight / 2, 2760)->show();
    }
    b.label(fraByte1_, QStringLiteral("Label19"), QStringLiteral("byte 1 = "), 180,
            kByteBoxTop + 45);
    byte1Box_ = b.place(new HexEntryBox(ctx_, HexEntryBox::Kind::Byte, fraByte1_),
                        QStringLiteral("txtByte1Configuration"), 1020, kByteBoxTop, 495, 285);
    connect(byte1Box_, &HexEntryBox::committed, this, [this] {
        boxLeft(byte1Box_, [this](const std::string& t) { model_.leaveByte1Box(t); });
    });
}

// ISO14443 reader optional bytes 1 and 2, in the same place.
void ProtocolSelectPanel::buildByte12(const WindowBuilder& b) {
    fraByte12_ =
        b.place(new QGroupBox(this), QStringLiteral("FraByte12Config"), 8280, 600, 4200, 3480);
    byte12Title_ = b.label(fraByte12_, QStringLiteral("txtLabelByte12"),
                           caption("Protocol byte 1 && 2 configuration"), 120, 200, 3960, 285);
    byte12Check_ = b.place(new QCheckBox(QStringLiteral("AFDT optional byte 1 && 2"), fraByte12_),
                           QStringLiteral("OptByte12optional"), 240, 600, 3700, 270);
    connect(byte12Check_, &QCheckBox::clicked, this, [this](bool ticked) {
        model_.setByte12Optional(ticked);
        sync();
    });
    for (int i = 0; i < 2; ++i) {
        byte12Labels_[at(i)] =
            b.label(fraByte12_, i == 0 ? QStringLiteral("lblByte1") : QStringLiteral("lblByte2"),
                    i == 0 ? QStringLiteral("byte 1 = ") : QStringLiteral("byte 2 = "), 480,
                    1095 + 420 * i);
        auto* box = new HexEntryBox(ctx_, HexEntryBox::Kind::Byte, fraByte12_);
        byte12Boxes_[at(i)] = b.place(box, WindowBuilder::indexed("txtByte12Configuration", i),
                                      1320, 1050 + 420 * i, 495, 300);
        connect(box, &HexEntryBox::committed, this, [this, box, i] {
            boxLeft(box, [this, i](const std::string& t) { model_.leaveByte12Box(i, t); });
        });
    }
}

// The frame, its send button and the answer.
void ProtocolSelectPanel::buildFrame(const WindowBuilder& b) {
    for (int i = 0; i < 6; ++i) {
        auto* box = new HexEntryBox(ctx_, HexEntryBox::Kind::Byte, this);
        frame_[at(i)] = b.place(box, WindowBuilder::indexed("txtCode02Frame", i), 1680 + 600 * i,
                                4320, 495, 315);
        box->setReadOnly(i < 3);
        connect(box, &HexEntryBox::committed, this, [this, box, i] {
            boxLeft(box, [this, i](const std::string& t) { model_.leaveFrameBox(i, t); });
        });
    }
    row_ = new widgets::ExchangeRow(b, this,
                                    {"02", "send frame", 5520, 4290, 240, 1320, 4800, 11040, 3});
}

QString ProtocolSelectPanel::refusedBox() const {
    static const char* const names[] = {"command code",     "length",           "protocol code",
                                        "parameter byte 0", "parameter byte 1", "parameter byte 2"};
    for (int i = 0; i < model_.sentBoxCount(); ++i) {
        if (!transceiver::isHexText(toLatin1(frame_[at(i)]->text())))
            return QString::fromLatin1(names[i]);
    }
    return {};
}

void ProtocolSelectPanel::protocolChosen(int option) {
    model_.chooseProtocol(option);
    sync();
}

void ProtocolSelectPanel::paramListChosen(const std::string& name, int index) {
    model_.chooseItem(name, index);
    sync();
}

void ProtocolSelectPanel::layoutByte0Fields(int option) {
    const WindowBuilder& b = builder_;
    for (auto& [name, combo] : paramLists_) {
        if (combo->parentWidget() == fraByte0_) combo->hide();
    }
    for (auto* l : rfuLabels_) l->hide();
    for (auto* l : fieldVLines_) l->hide();
    for (auto* l : fieldHLines_) l->hide();
    if (option < 0) return;

    const ProtocolOption& p = protocolOptions()[at(option)];
    struct Field {
        int high;
        int low;
        QWidget* target;
    };
    std::vector<Field> fields;
    for (const char* name : p.lists) {
        const ParamList* list = findParamList(name);
        QComboBox* combo = paramLists_[name];
        combo->show();
        fields.push_back({list->lowBit + list->width - 1, list->lowBit, combo});
    }
    std::size_t rfu = 0;
    for (const RfuField& f : p.rfu) {
        QLabel* label = rfuLabels_[rfu++];
        label->move(b.px(kFieldLeft), b.px(fieldCentre(f.highBit, f.lowBit) - 120));
        label->show();
        fields.push_back({f.highBit, f.lowBit, label});
    }
    std::size_t gathered = 0;
    for (const Field& f : fields) {
        const int centre = fieldCentre(f.high, f.low);
        if (f.high == f.low) {
            // One bit goes straight to its list or label.
            bitLines_[at(f.low)]->resize(b.px(kFieldLeft - kBitBoxLeft - kBitBoxWidth), 1);
            continue;
        }
        for (int bit = f.low; bit <= f.high; ++bit) {
            bitLines_[at(bit)]->resize(b.px(kGatherX - kBitBoxLeft - kBitBoxWidth), 1);
        }
        if (gathered >= fieldVLines_.size()) continue;
        QFrame* v = fieldVLines_[gathered];
        QFrame* h = fieldHLines_[gathered++];
        const int top = bit0Top(f.high) + kBitRowHeight / 2;
        v->setGeometry(b.px(kGatherX), b.px(top), 1, b.px(bit0Top(f.low) - bit0Top(f.high)) + 1);
        h->setGeometry(b.px(kGatherX), b.px(centre), b.px(kFieldLeft - kGatherX), 1);
        v->show();
        h->show();
    }
}

void ProtocolSelectPanel::sync() {
    syncing_ = true;
    const ProtocolSelectModel& m = model_;
    const int option = m.chosenOption();

    row_->setVisible(m.sendVisible());
    for (int i = 0; i < 6; ++i) {
        showText(frame_[at(i)], m.frame(i));
        frame_[at(i)]->setVisible(m.frameVisible(i));
    }
    if (option >= 0) {
        optProtocol_[at(option)]->setChecked(true);
    } else {
        // An exclusive group cannot show no choice unless it lets go for a moment.
        protocolGroup_->setExclusive(false);
        for (auto* o : optProtocol_) o->setChecked(false);
        protocolGroup_->setExclusive(true);
    }

    fraByte0_->setVisible(option >= 0);
    if (option >= 0) {
        byte0Title_->setText(caption(protocolOptions()[at(option)].byte0Title));
    }
    layoutByte0Fields(option);
    for (int bit = 0; bit < 8; ++bit) {
        showText(bits0_[at(bit)], m.bits0()[at(bit)]);
        showText(bits1_[at(bit)], m.bits1()[at(bit)]);
    }
    showText(byte0Box_, m.byte0Text());
    for (auto& [name, combo] : paramLists_) combo->setCurrentIndex(m.itemIndex(name));

    const ExtraBytes extra = option >= 0 ? protocolOptions()[at(option)].extra : ExtraBytes::None;
    fraByte1_->setVisible(extra == ExtraBytes::FelicaByte1);
    slotCounterCheck_->setChecked(m.slotCounter());
    const bool byte1Enabled = m.slotCounter();
    for (auto* box : bits1_) box->setEnabled(byte1Enabled);
    byte1Box_->setEnabled(byte1Enabled);
    showText(byte1Box_, m.byte1Text());
    paramLists_["cboISO18092reader_SlotCounter"]->setEnabled(byte1Enabled);
    paramLists_["cboISO18092reader_Disregard_SlotCounter"]->setEnabled(byte1Enabled);

    fraByte12_->setVisible(extra == ExtraBytes::Optional12);
    if (extra == ExtraBytes::Optional12) {
        byte12Title_->setText(caption(protocolOptions()[at(option)].extraTitle));
    }
    byte12Check_->setChecked(m.byte12Optional());
    for (int i = 0; i < 2; ++i) {
        showText(byte12Boxes_[at(i)], m.byte12Text(i));
        byte12Boxes_[at(i)]->setEnabled(m.byte12Optional());
        byte12Labels_[at(i)]->setEnabled(m.byte12Optional());
    }
    syncing_ = false;
}

}  // namespace console

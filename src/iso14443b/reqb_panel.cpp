#include "iso14443b/reqb_panel.hpp"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "widgets/hex_entry_box.hpp"
#include "widgets/window_builder.hpp"

namespace iso14443b {

namespace {

using Kind = widgets::HexEntryBox::Kind;

const QString kAfiCaption = QStringLiteral("afi");

}  // namespace

ReqbPanel::ReqbPanel(core::AppContext& ctx, const widgets::WindowBuilder& b, QWidget* parent)
    : QGroupBox(parent) {
    // REQB and WUPB on the left.
    auto* polling =
        b.place(new QGroupBox(this), QStringLiteral("frmREQB_WUPB_answer"), 120, 120, 4680, 3480);
    auto* reqb = b.place(new QPushButton(QStringLiteral("REQB"), polling),
                         QStringLiteral("cmd_ISO14443B_ReqB"), 120, 180, 1095, 375);
    auto* wupb = b.place(new QPushButton(QStringLiteral("WUPB"), polling),
                         QStringLiteral("cmd_ISO14443B_WupB"), 120, 660, 1095, 375);
    b.label(polling, QStringLiteral("lblRegB_afi"), kAfiCaption, 1440, 240, 360);
    afi_ = b.place(new widgets::HexEntryBox(ctx, Kind::Byte, polling),
                   QStringLiteral("txt_iso14443B_reqB_afi"), 1800, 195, 480, 315);
    afi_->setText(QStringLiteral("00"));
    b.label(polling, QStringLiteral("lblRegB_N"), QStringLiteral("N"), 1440, 720, 360);
    // Index 2 is the most significant bit and stands on the left.
    for (int i = 0; i < 3; ++i) {
        auto* box = new widgets::HexEntryBox(ctx, Kind::Bit, polling);
        b.place(box, widgets::WindowBuilder::indexed("txt_ISO14443B_ReqB_SN", i),
                1800 + 360 * (2 - i), 675, 300, 315);
        box->setText(QStringLiteral("0"));
        n_[static_cast<std::size_t>(i)] = box;
    }
    loop_ = b.place(new QCheckBox(QStringLiteral("Loop"), polling),
                    QStringLiteral("chkReqBWupBLoop"), 3120, 420, 960, 315);

    const std::array<std::pair<const char*, const char*>, 6> answerLabels{{
        {"lblReqBanswer", "Answer : "},
        {"lblReqBanswer_FirstByte", "first byte : "},
        {"lblReqBanswer_Pupi", "PUPI : "},
        {"lblReqBanswer_ApplicationData", "application data : "},
        {"lblReqBanswer_ProtocolInfo", "protocol info : "},
        {"lblReqBanswer_Crc", "CRC : "},
    }};
    for (std::size_t i = 0; i < answerLabels.size(); ++i) {
        atqb_[i] = b.label(polling, QLatin1String(answerLabels[i].first),
                           QLatin1String(answerLabels[i].second), 120,
                           1200 + 330 * static_cast<int>(i), 4440);
    }

    // ATTRIB on the right.
    auto* attrib = b.place(new QGroupBox(this), QStringLiteral("Frame3"), 4920, 120, 4080, 3480);
    auto* attribButton = b.place(new QPushButton(QStringLiteral("ATTRIB"), attrib),
                                 QStringLiteral("cmd_ISO14443B_Attrib"), 120, 180, 1095, 375);
    struct Row {
        const char* box;
        const char* label;
        const char* caption;
        const char* text;
    };
    const std::array<Row, 5> rows{{
        {"txtAttriBrequest_Pupi", "lblAttriBrequest_Pupi", "Pupi : ", "00000000"},
        {"txtAttriBrequest_autorizedRespTime", "lblAttriBrequest_autorizedRespTime",
         "Autorized response time : ", "00"},
        {"txtAttriBrequest_MaxFrameSize", "lblAttriBrequest_MaxFrameSize",
         "Max frame size : ", "07"},
        {"txtAttriBrequest_ISO14443compliant", "lblAttriBrequest_ISO14443compliant",
         "ISO14443 compliant : ", "01"},
        {"txtAttriBrequest_CID", "lblAttriBrequest_CID", "CID(8bits) card identifier : ", "00"},
    }};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int top = 660 + 360 * static_cast<int>(i);
        b.label(attrib, QLatin1String(rows[i].label), QLatin1String(rows[i].caption), 120, top + 45,
                2640);
        auto* box = new widgets::HexEntryBox(ctx, i == 0 ? Kind::FourByte : Kind::Byte, attrib);
        b.place(box, QLatin1String(rows[i].box), 2760, top, i == 0 ? 1080 : 480, 315);
        box->setText(QLatin1String(rows[i].text));
        // The caption without its " : ".
        attribNames_[i] = QLatin1String(rows[i].caption).chopped(3);
        if (i == 0) {
            pupi_ = box;
        } else {
            attrib_[i - 1] = box;
        }
    }
    b.label(attrib, QStringLiteral("lblAttriBanswer"), QStringLiteral("Answer : "), 120, 2520,
            3840);
    attribMbliCid_ = b.label(attrib, QStringLiteral("lblAttriBanswer_MBLI_CID"),
                             QStringLiteral("MBLI(4 bits) CID(4 bits) : "), 120, 2850, 3840);
    attribCrc_ = b.label(attrib, QStringLiteral("lblAttriBanswer_Crc"), QStringLiteral("CRC : "),
                         120, 3180, 3840);

    connect(reqb, &QPushButton::clicked, this, &ReqbPanel::reqbClicked);
    connect(wupb, &QPushButton::clicked, this, &ReqbPanel::wupbClicked);
    connect(attribButton, &QPushButton::clicked, this, &ReqbPanel::attribClicked);
    connect(loop_, &QCheckBox::clicked, this, &ReqbPanel::loopClicked);
}

ReqbPanel::Box ReqbPanel::afi() const { return {kAfiCaption, afi_->text()}; }

int ReqbPanel::n() const { return bitBoxesValue({n_[2]->text(), n_[1]->text(), n_[0]->text()}); }

std::array<ReqbPanel::Box, 5> ReqbPanel::attribBoxes() const {
    const std::array<const widgets::HexEntryBox*, 5> boxes{pupi_, attrib_[0], attrib_[1],
                                                           attrib_[2], attrib_[3]};
    std::array<Box, 5> out;
    for (std::size_t i = 0; i < boxes.size(); ++i) out[i] = {attribNames_[i], boxes[i]->text()};
    return out;
}

void ReqbPanel::showAtqb(const AtqbLabels& l) {
    const std::array<const QString*, 6> texts{&l.answer,          &l.firstByte,    &l.pupi,
                                              &l.applicationData, &l.protocolInfo, &l.crc};
    for (std::size_t i = 0; i < atqb_.size(); ++i) atqb_[i]->setText(*texts[i]);
}

void ReqbPanel::setPupi(const QString& pupi) { pupi_->setText(pupi); }

void ReqbPanel::showAttrib(const AttribLabels& l) {
    attribMbliCid_->setText(l.mbliCid);
    attribCrc_->setText(l.crc);
}

}  // namespace iso14443b

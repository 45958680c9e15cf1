#include "script/script_help_window.hpp"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>

#include "core/app_context.hpp"
#include "script/help_layout.hpp"
#include "widgets/window_builder.hpp"

namespace script {

namespace {

constexpr int kWindowWidth = 11280;
constexpr int kFrameLeft = 120;
constexpr int kFrameWidth = 10935;
constexpr int kRowHeight = 255;

struct Row {
    int index;
    int top;
    const char* description;
    const char* keyword;
};

constexpr Row kStandardRows[] = {
    {0, 600, "Comment :", "REM, note"},
    {11, 960, "Wait (max 9999999) :", "WAIT, 1000"},
    {1, 1200, "Echo to TQ73RN :", "TQ73RNDLL_ECHO"},
    {2, 1440, "Send IDN request :", "TQ73RNDLL_IDN"},
    {3, 1680, "Send select request :", "TQ73RNDLL_SELECT, data*"},
    {4, 1920, "Send Send/Receive request :", "TQ73RNDLL_SENDRECV, data*"},
    {5, 2160, "Send transparent command :", "TQ73RNDLL_KVCMD, 01 + data*"},
    {6, 2400, "TQ73RN Field Off :", "TQ73RNDLL_FIELDOFF"},
    {7, 2640, "Get Dll revision :", "TQ73RNDLL_GETDLLREV"},
    {9, 2880, "Get MCU revision :", "TQ73RNDLL_GETMCUREV"},
    {12, 3120, "Send Pulse IRQ in :", "TQ73RNDLL_PULSE_IRQ_IN"},
    {13, 3360, "Reset SPI :", "TQ73RNDLL_RESET_SPI"},
    {15, 3600, "Get Interface Pin State :", "TQ73RNDLL_GET_INTERFACE_PIN_STATE"},
    {16, 3840, "Send NSS Pulse :", "TQ73RNDLL_NSS_PULSE"},
    {17, 4080, "TQ73RN Polling + Reading :", "TQ73RNDLL_POLLING_READING"},
    {18, 4440, "DEMO-TQ73RN-A USB Connect :", "TQ73RNDLL_USB_CONNECT"},
    {14, 4680, "DEMO-TQ73RN-A USB Handle check :", "TQ73RNDLL_USB_HANDLE_CHECK"},
};

constexpr Row kCustomRows[] = {
    {2, 600, "Anticolision  ISO14443-A :", "TQ73RN_ISO14443-A_AnticolSelect123"},
    {0, 840, "Initiate for SOLAxx (save Chip_Id value) :", "TQ73RN_SOLAxx_Initiate"},
    {1, 1080, "Select for SOLAxx with Chip_Id :", "TQ73RN_SOLAxx_Select"},
};

constexpr const char* kExampleLines[] = {
    "REM, send ECHO request",
    "TQ73RNDLL_ECHO",
    "REM, send IDN request with KVCMD request",
    "TQ73RNDLL_KVCMD, 010100",
};

// The rows line their keywords up by character count, so the font's characters must all
// be as wide (its fixed-pitch flag is not always set right, the widths are).
bool evenlySpaced(const QFont& font) {
    const QFontMetricsF m(font);
    const qreal width = m.horizontalAdvance(QLatin1Char('M'));
    return m.horizontalAdvance(QLatin1Char('i')) == width &&
           m.horizontalAdvance(QLatin1Char(' ')) == width;
}

// The font the card was drawn for, or any fixed-pitch font where it is missing.
QFont fixedPitchFont(double pointSize) {
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSizeF(pointSize);
    if (evenlySpaced(font)) return font;
    font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSizeF(pointSize);
    if (evenlySpaced(font)) return font;
    for (const QString& family : QFontDatabase::families()) {
        QFont candidate(family);
        candidate.setPointSizeF(pointSize);
        if (evenlySpaced(candidate)) return candidate;
    }
    return font;
}

}  // namespace

ScriptHelpWindow::ScriptHelpWindow(core::AppContext& ctx, QWidget* parent)
    : core::ToolWindow(ctx, core::WindowKind::ScriptHelp, parent) {
    setObjectName(QStringLiteral("frmScriptHelp"));
    setWindowTitle(QString::fromLatin1(kScriptHelpCaption));
    build();
}

QSize ScriptHelpWindow::sizeHint() const {
    const widgets::WindowBuilder b(this);
    return {b.px(kWindowWidth), b.px(helpLayoutFor(ctx().values.DllRevisionNumber).windowHeight)};
}

void ScriptHelpWindow::build() {
    const widgets::WindowBuilder b(this);
    const QFont titleFont = fixedPitchFont(14.25);
    const QFont rowFont = fixedPitchFont(9.75);
    const QFont noteFont = fixedPitchFont(8.25);

    auto frame = [&](const char* name, int top, int height, const char* titleName,
                     const char* title) {
        auto* f =
            b.place(new QGroupBox(this), QLatin1String(name), kFrameLeft, top, kFrameWidth, height);
        auto* t = b.label(f, QLatin1String(titleName), QLatin1String(title), 240, 120,
                          kFrameWidth - 480, 360);
        t->setFont(titleFont);
        t->setAlignment(Qt::AlignCenter);
        return f;
    };
    auto row = [&](QWidget* parent, const QString& name, const QString& text, int left, int top,
                   int width, const QFont& font) {
        QLabel* l = b.label(parent, name, text, left, top, width, kRowHeight);
        l->setFont(font);
        return l;
    };
    auto keywordRows = [&](QWidget* parent, const char* array, const auto& rows) {
        for (const Row& r : rows) {
            QLabel* l = row(parent, widgets::WindowBuilder::indexed(array, r.index),
                            helpRowText(QLatin1String(r.description), QLatin1String(r.keyword)),
                            120, r.top, kFrameWidth - 240, rowFont);
            if (parent == fraStandard_) commandRows_[r.index] = l;
        }
    };
    auto note = [&](QWidget* parent, int index, const char* text, int left, int top, int width) {
        commandRows_[index] =
            row(parent, widgets::WindowBuilder::indexed("lblHelpScriptCoomands", index),
                QLatin1String(text), left, top, width, noteFont);
        commandRows_[index]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    };

    fraStandard_ = frame("FraScriptHelpStandart", 120, 5535, "lblAvailableCommandsTitle",
                         "Available commands on Script tool ");
    keywordRows(fraStandard_, "lblHelpScriptCoomands", kStandardRows);
    note(fraStandard_, 8, "*data = hexadecimal formated value ", 5640, 5020, 5055);

    fraCustom_ = frame("FraScriptHelpCustom", 5760, 1695, "lblCustomCommandsTitle",
                       "Custom commands on Script tool ");
    keywordRows(fraCustom_, "lblHelpScriptCustomCmd", kCustomRows);
    note(fraCustom_, 10, "by default, Chip_Id_data = 0x00", 5160, 1320, 5415);

    fraExample_ = frame("FraScriptHelpExample", 7560, 1575, "Label1", " Script example");
    int top = 480;
    for (int i = 0; i < 4; ++i, top += 240) {
        row(fraExample_, widgets::WindowBuilder::indexed("lblHelpScriptExample", i),
            QLatin1String(kExampleLines[i]), 240, top, kFrameWidth - 480, rowFont);
    }
}

void ScriptHelpWindow::load() {
    const widgets::WindowBuilder b(this);
    const HelpLayout layout = helpLayoutFor(ctx().values.DllRevisionNumber);
    setGeometry(b.px(100), b.px(100), b.px(kWindowWidth), b.px(layout.windowHeight));
    for (int index : {16, 17, 18}) commandRows_[index]->setVisible(layout.revision5Rows);
    commandRows_[14]->move(commandRows_[14]->x(), b.px(layout.handleCheckTop));
    commandRows_[8]->move(commandRows_[8]->x(), b.px(layout.noteTop));
    fraStandard_->resize(fraStandard_->width(), b.px(layout.standardFrameHeight));
    fraCustom_->move(fraCustom_->x(), b.px(layout.customFrameTop));
    fraExample_->move(fraExample_->x(), b.px(layout.exampleFrameTop));
}

}  // namespace script

#include "shell/about_box.hpp"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/app_context.hpp"
#include "shell/program_icon.hpp"
#include "widgets/window_builder.hpp"

namespace shell {

namespace {

constexpr int kVersionMajor = 1;
constexpr int kVersionMinor = 3;

// A tag: a card with its chip and antenna.
QPixmap tagPicture(int side) {
    QPixmap pm(side, side);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF card(side * 0.1, side * 0.22, side * 0.8, side * 0.56);
    p.setPen(QPen(QColor(80, 80, 80), 1.5));
    p.setBrush(QColor(245, 245, 240));
    p.drawRoundedRect(card, 6, 6);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(205, 150, 60), 2));
    p.drawRoundedRect(card.adjusted(6, 6, -6, -6), 4, 4);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 40, 40));
    p.drawRect(QRectF(card.center().x() - 6, card.center().y() - 6, 12, 12));
    return pm;
}

}  // namespace

AboutBox::AboutBox(core::AppContext& ctx, SystemInfoPlatform platform, QWidget* parent)
    : core::ToolWindow(ctx, core::WindowKind::About, parent), platform_(std::move(platform)) {
    setObjectName(QStringLiteral("frmAbout"));
    auto label = [this](const char* name, const QString& text) {
        auto* l = new QLabel(text, this);
        l->setObjectName(QLatin1String(name));
        l->setWordWrap(true);
        return l;
    };
    auto* picture1 = label("Picture1", QString());
    picture1->setPixmap(fieldPicture(widgets::twipsToPixels(this, 1200)));
    auto* picture2 = label("Picture2", QString());
    picture2->setPixmap(tagPicture(widgets::twipsToPixels(this, 1200)));

    auto* lblTitle = label("lblTitle", QString());
    QFont titleFont = lblTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
    lblTitle->setFont(titleFont);
    auto* lblVersion = label("lblVersion", QString());
    auto* lblDisclaimer = label("lblDisclaimer", QString());
    auto* label1 = label("Label1", QStringLiteral("Check the project page for software updates."));
    auto* label2 =
        label("Label2", QStringLiteral("Datasheets and application notes are published there."));
    auto* label3 = label("Label3", QStringLiteral("So are the antenna design files."));

    auto* cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    auto* cmdSysInfo = new QPushButton(QStringLiteral("&Infos système..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdSysInfo->setToolTip(QStringLiteral("Check your computer system"));
    connect(cmdOK, &QPushButton::clicked, this,
            [this] { this->ctx().windows().close(core::WindowKind::About); });
    connect(cmdSysInfo, &QPushButton::clicked, this, [this] { StartSysInfo(); });

    auto* pictures = new QVBoxLayout;
    pictures->addWidget(picture1);
    pictures->addWidget(picture2);
    pictures->addStretch(1);

    auto* texts = new QVBoxLayout;
    texts->addWidget(lblTitle);
    texts->addWidget(lblVersion);
    texts->addSpacing(8);
    texts->addWidget(label1);
    texts->addWidget(label2);
    texts->addWidget(label3);
    texts->addSpacing(8);
    texts->addWidget(lblDisclaimer, 1);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    buttons->addStretch(1);

    auto* grid = new QHBoxLayout(this);
    grid->setContentsMargins(16, 16, 16, 16);
    grid->setSpacing(16);
    grid->addLayout(pictures);
    grid->addLayout(texts, 1);
    grid->addLayout(buttons);
}

QSize AboutBox::sizeHint() const {
    return {widgets::twipsToPixels(this, 10995), widgets::twipsToPixels(this, 5010)};
}

void AboutBox::load() {
    move(widgets::twipsToPixels(this, 100), widgets::twipsToPixels(this, 100));
    resize(sizeHint());
    setWindowTitle(QStringLiteral("About ") + QLatin1String(kProgramTitle));
    findChild<QLabel*>(QStringLiteral("lblTitle"))
        ->setText(QStringLiteral("SOFTWARE FOR DEMO-TQ73RN-A DEMO-TQ73RN-B"));
    findChild<QLabel*>(QStringLiteral("lblVersion"))
        ->setText(QStringLiteral("VERSION %1.%2").arg(kVersionMajor).arg(kVersionMinor));
    findChild<QLabel*>(QStringLiteral("lblDisclaimer"))
        ->setText(QStringLiteral(
            "This program is provided for evaluating the TQ73RN transceiver on its "
            "demonstration boards, as is and without warranty of any kind. Check your "
            "results against the transceiver's documentation before relying on them.\n\n"
            "www.example.org/tq73rn"));
}

void AboutBox::StartSysInfo() {
    QString path;
    if (platform_.getKeyValue(RegistryRoot::LocalMachine,
                              QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                              QStringLiteral("PATH"), path)) {
        if (platform_.startProgram(path)) return;
    } else if (platform_.getKeyValue(RegistryRoot::LocalMachine,
                                     QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
                                     QStringLiteral("MSINFO"), path)) {
        const QString program = path + QStringLiteral("\\MSINFO32.EXE");
        if (platform_.fileExists(program) && platform_.startProgram(program)) return;
    }
    ctx().ui().messageBox(QLatin1String(kSystemInfoMissingText), QLatin1String(kProgramTitle),
                          core::MsgIcon::None, core::MsgButtons::Ok);
}

}  // namespace shell

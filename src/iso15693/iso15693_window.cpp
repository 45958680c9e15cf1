#include "iso15693/iso15693_window.hpp"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <cmath>

#include "core/app_context.hpp"
#include "core/echo_handshake.hpp"
#include "core/reconnect.hpp"
#include "core/run_guard.hpp"
#include "iso15693/inventory_page.hpp"
#include "iso15693/side_frames.hpp"
#include "iso15693/user_mode_page.hpp"
#include "widgets/hex_entry_box.hpp"
#include "widgets/log_view.hpp"
#include "widgets/memory_view.hpp"
#include "widgets/page_write_panel.hpp"
#include "widgets/window_builder.hpp"

namespace iso15693 {

using widgets::WindowBuilder;

namespace {

// The window's design size, in twips.
constexpr int kWidth = 14145;
constexpr int kHeight = 10335;
constexpr int kPageLeft = 120;
constexpr int kPageTop = 420;
constexpr int kPageWidth = 8640;
constexpr int kPageHeight = 5940;
constexpr int kSideLeft = 8880;
constexpr int kSideWidth = 5145;
constexpr int kViewTop = 2640;
constexpr int kViewHeight = 3720;

}  // namespace

bool anticollisionFirmware(const QString& mcuRevision) {
    if (mcuRevision.isEmpty()) return false;
    const QStringList parts = mcuRevision.split(QLatin1Char('.'));
    const int first[] = {1, 4, 1};
    for (int i = 0; i < std::max<int>(3, static_cast<int>(parts.size())); ++i) {
        int n = 0;
        if (i < parts.size()) {
            bool ok = false;
            n = parts[i].toInt(&ok);
            if (!ok || n < 0) return false;
        }
        const int wanted = i < 3 ? first[i] : 0;
        if (n != wanted) return n > wanted;
    }
    return true;
}

int addressDigits(std::int32_t memorySizeBytes) {
    // A memory of fewer than two bytes has no second address to count bits for.
    if (memorySizeBytes < 2) return 1;
    const int bits = static_cast<int>(std::lround(std::log2(double(memorySizeBytes) - 1)));
    return (bits - 1) / 4 + 1;
}

ProductLayout productLayout(const QString& reference) {
    ProductLayout l;
    if (reference.startsWith(QLatin1String("VEL-C")) ||
        reference.startsWith(QLatin1String("VEL-D"))) {
        l.kill = true;
        l.lockBlock = true;
        return l;
    }
    if (reference.startsWith(QLatin1String("VELS-A"))) {
        l.kill = true;
        l.lockBlock = true;
        l.multipleReads = false;
        return l;
    }
    if (reference.startsWith(QLatin1String("VELS-BXE")) ||
        reference.startsWith(QLatin1String("VELS-CX")) ||
        reference.startsWith(QLatin1String("DUONX"))) {
        l.passwords = true;
        if (reference.endsWith(QLatin1Char('E'))) {
            l.energyHarvesting = true;
            l.extensionOptionsShown = true;
        } else {
            l.extensionFlag = true;
        }
        return l;
    }
    // A reference of none of the three groups keeps the design layout.
    l.kill = true;
    l.lockBlock = true;
    l.extensionOptionsShown = true;
    return l;
}

Iso15693Window::Iso15693Window(core::AppContext& ctx, QWidget* parent)
    : core::ToolWindow(ctx, core::WindowKind::Iso15693, parent),
      log_(ctx),
      link_(ctx, log_),
      controls_(ctx.values, core::CommandControls::StopFlag::Clears) {
    setObjectName(QStringLiteral("frmTQ73RN_ISO15693_UI"));
    setWindowTitle(QString::fromLatin1(kWindowCaption));
    QFont f = font();
    f.setPointSize(8);
    setFont(f);
    build();
}

Iso15693Window::~Iso15693Window() = default;

QSize Iso15693Window::sizeHint() const {
    const WindowBuilder b(this);
    return {b.px(kWidth), b.px(kHeight)};
}

void Iso15693Window::build() {
    const WindowBuilder b(this);

    tabStripchoice_ = b.place(new QTabBar(this), QStringLiteral("tabStripchoice"), kPageLeft, 60,
                              kPageWidth, 360);
    tabStripchoice_->addTab(QStringLiteral("&Inventory"));
    tabStripchoice_->addTab(QStringLiteral("&User Mode"));
    tabStripchoice_->setExpanding(false);
    connect(tabStripchoice_, &QTabBar::currentChanged, this,
            [this](int index) { tabChosen(index + 1); });

    inventory_ = b.place(new InventoryPage(ctx(), this), QStringLiteral("fraMode_1"), kPageLeft,
                         kPageTop, kPageWidth, kPageHeight);
    inventory_->setFrameShape(QFrame::StyledPanel);
    user_ = b.place(new UserModePage(ctx(), this), QStringLiteral("fraMode_2"), kPageLeft, kPageTop,
                    kPageWidth, kPageHeight);
    user_->setFrameShape(QFrame::StyledPanel);
    user_->hide();

    tagInfo_ = b.place(new TagInfoFrame(ctx(), this), QStringLiteral("frmWriteTime"), kSideLeft, 60,
                       kSideWidth, 1440);
    dataRate_ = b.place(new DataRateFrame(this), QStringLiteral("FraDataRate"), kSideLeft, 1560,
                        kSideWidth, 960);
    lstReadView_ = b.place(new widgets::MemoryView(ctx(), this), QStringLiteral("lstReadView"),
                           kSideLeft, kViewTop, kSideWidth, kViewHeight);
    // The panel starts a little higher than the view and covers it whole.
    fraPageWrite_ = b.place(
        new widgets::PageWritePanel(ctx(), widgets::PageWritePanel::FillTrigger::OnLeave, this),
        QStringLiteral("fraPageWrite"), kSideLeft, kViewTop - 60, kSideWidth, kViewHeight + 60);
    fraPageWrite_->hide();

    auto* fra = b.place(new QFrame(this), QStringLiteral("Fra"), kPageLeft, 6420, 13905, 780);
    b.label(fra, QStringLiteral("lbl_ISO15693_request"), QStringLiteral("request ="), 0, 60);
    txtRequest_ = b.display(fra, QStringLiteral("txt_ISO15693_request"), 1080, 0, 12825);
    b.label(fra, QStringLiteral("lbl_ISO15693_answer"), QStringLiteral("answer ="), 0, 450);
    txtAnswer_ = b.display(fra, QStringLiteral("txt_ISO15693_answer"), 1080, 390, 12825);
    // The answers of the fast-parameter selects: kept apart, not shown over the answer.
    txtFastAnswer_ =
        b.display(fra, QStringLiteral("txt_ISO15693_answer_FastProtocol"), 1080, 390, 12825);
    txtFastAnswer_->setText(QStringLiteral("Fast Protocol Answer (Hidden)"));
    txtFastAnswer_->hide();
    link_.setBoxes(txtRequest_, txtAnswer_, txtFastAnswer_);

    auto* fraLog =
        b.place(new QGroupBox(this), QStringLiteral("FraLog"), kPageLeft, 7260, 13905, 2955);
    logBox_ = b.place(new widgets::LogView(fraLog), QStringLiteral("rtfISO15693LogEdit"), 120, 180,
                      11400, 2655);
    auto* save = b.place(new QPushButton(QStringLiteral("Save Log"), fraLog),
                         QStringLiteral("cmdSaveLog"), 11640, 1920, 2145, 375);
    auto* clear = b.place(new QPushButton(QStringLiteral("Clear Log"), fraLog),
                          QStringLiteral("cmdClearLog"), 11640, 2400, 2145, 375);
    connect(save, &QPushButton::clicked, this, [this] { log_.save(); });
    connect(clear, &QPushButton::clicked, this, [this] { log_.clear(); });

    InventoryPage& inv = *inventory_;
    UserModePage& um = *user_;
    controls_.setControls({
        tabStripchoice_,
        dataRate_,
        tagInfo_,
        inv.cmdInventory,
        inv.cmdStayQuiet,
        inv.cmdSelect,
        inv.cmdResetToReady,
        inv.cmdInitiate,
        inv.cmdFastInitiate,
        inv.cmdInventoryInitiated,
        inv.cmdFastInventoryInitiated,
        inv.FraInventoryParameters,
        inv.FraInventoryOptions,
        inv.cmd_ISO15693_SendFrame,
        inv.cmdGetSystemInfo,
        inv.optExtensionFlag[0],
        inv.optExtensionFlag[1],
        inv.txt_ISO15693_AnyFrame,
        um.cmdReadUser,
        um.cmdFastReadSingleBlock,
        um.cmdReadMultipleBlock,
        um.cmdFastReadMultipleBlock,
        um.cboPageSize,
        um.txtUserAddress[0],
        um.txtUserAddress[1],
        um.cmdWriteSingleBlock,
        um.FraAFI,
        um.cmdWriteAFI,
        um.cmdLockAFI,
        um.FraDSFID,
        um.cmdWriteDSFID,
        um.cmdLockDSFID,
        um.FraKill,
        um.cmdKill,
        um.cmdWriteKill,
        um.cmdLockKill,
        um.cmdLockBlock,
        um.cmdGetMultipleBlockSecurityStatus,
        um.chkLockBits,
        um.FraPasswordRF,
        um.cmdWriteSectorPassword,
        um.cmdLockSectorPassword,
        um.cmdPresentSectorPassword,
        um.OptPasswordNumber[0],
        um.OptPasswordNumber[1],
        um.OptPasswordNumber[2],
    });
    blockRunExtras_ = {um.FraEnergyHarvesting, inv.cmdAntiCollisionIso15693};

    wireInventoryPage();
    wireUserModePage();
}

void Iso15693Window::load() {
    core::ProgramValues& v = ctx().values;
    const WindowBuilder b(this);
    setGeometry(b.px(250), b.px(250), b.px(kWidth), b.px(kHeight));
    log_.attach(logBox_);
    state_.InventoryLoopEnabled = false;
    inventory_->cmdAntiCollisionIso15693->setVisible(anticollisionFirmware(v.McuRevisionText));
    v.AddressByteCount = v.SelectedProduct.Density > 8 ? 2 : 1;
    state_.Iso15693BaseFlags = 0;

    tagInfo_->lblLoopCount->clear();
    inventory_->txtLOOPnumber->hide();
    inventory_->lblLOOPnumber->hide();
    v.ReadViewTopLine = 1;
    state_.ModeTabIndex = 1;
    showPage(1);
    lstReadView_->empty();

    // FillPageSizeList: "1" up to the product's page size, that last one chosen.
    QComboBox* pages = user_->cboPageSize;
    pages->clear();
    for (int i = 1; i <= v.SelectedProduct.PageSize; ++i) pages->addItem(QString::number(i));
    pages->setCurrentIndex(pages->count() - 1);

    user_->cmdStopCommand->hide();
    user_->setAddressWidth(addressDigits(v.MemorySizeBytes), v.AddressMask);
    applyProductLayout();

    core::RunScope run(*this);
    const core::ShowText showAnswer = [this](const QString& a) { txtAnswer_->setText(a); };
    if (core::EchoHandshake(run, core::EchoCaller::Load, core::BoardSetup::Iso15693, log_,
                            showAnswer)) {
        return;
    }
    core::sendLoadSetup(
        ctx(), core::BoardSetup::Iso15693, log_, [this](const QString&) { txtRequest_->clear(); },
        showAnswer);
    txtRequest_->clear();
    txtAnswer_->clear();
}

void Iso15693Window::applyProductLayout() {
    const ProductLayout l = productLayout(ctx().values.SelectedProduct.Reference);
    UserModePage& um = *user_;
    um.FraKill->setVisible(l.kill);
    um.FraEnergyHarvesting->setVisible(l.energyHarvesting);
    um.FraPasswordRF->setVisible(l.passwords);
    um.cmdLockBlock->setVisible(l.lockBlock);
    um.chkLockBits->setChecked(false);
    um.cmdReadMultipleBlock->setVisible(l.multipleReads);
    um.cmdFastReadMultipleBlock->setVisible(l.multipleReads);
    for (QRadioButton* o : inventory_->optExtensionFlag) o->setVisible(l.extensionOptionsShown);
    inventory_->optExtensionFlag[l.extensionFlag ? 1 : 0]->setChecked(true);
}

void Iso15693Window::unload() {
    ctx().values.AutoLoopEnabled = false;
    state_.InventoryLoopEnabled = false;
}

reader::LibraryStatus Iso15693Window::DEMO_TQ73RN_A_reconnect_iso15693(bool boolSpeed) {
    return core::DEMO_TQ73RN_A_reconnect_iso15693(ctx(), boolSpeed);
}

void Iso15693Window::showPage(int index) {
    inventory_->setVisible(index == 1);
    user_->setVisible(index == 2);
    tabStripchoice_->setCurrentIndex(index - 1);
}

void Iso15693Window::tabChosen(int index) {
    if (index < 1 || index == state_.ModeTabIndex) return;
    core::RunScope run(*this);
    if (!run.started()) return;
    core::ProgramValues& v = ctx().values;
    v.PageWriteMode = kWriteSingleBlock;
    v.AutoLoopEnabled = false;
    if (run.pumpEnds()) return;
    lstReadView_->hide();
    fraPageWrite_->hide();
    fraPageWrite_->resetFill();
    state_.ModeTabIndex = index;
    showPage(index);
    inventory_->chkUserLoop->setChecked(false);
}

CommandOptions Iso15693Window::commandOptions() const {
    CommandOptions o;
    o.rate = dataRate_->rate();
    o.selectFlag = tagInfo_->chk_Select_Address_flag[0]->isChecked();
    o.addressFlag = tagInfo_->chk_Select_Address_flag[1]->isChecked();
    o.lockBits = user_->chkLockBits->isChecked();
    o.base = state_.Iso15693BaseFlags;
    return o;
}

Addressing Iso15693Window::addressing() const {
    return {commandOptions(), ctx().values.TransponderUID};
}

InventoryOptions Iso15693Window::inventoryOptions() const {
    return inventory_->inventoryOptions(dataRate_->rate(), state_.Iso15693BaseFlags);
}

void Iso15693Window::commitFocusedBox() {
    if (auto* box = qobject_cast<widgets::HexEntryBox*>(QApplication::focusWidget())) {
        if (isAncestorOf(box)) box->commit();
    }
}

bool Iso15693Window::eventFilter(QObject* watched, QEvent* event) {
    // A click is a press and a release on the label: the release comes here wherever the
    // pointer was dragged after the press, and a release off the label chooses nothing.
    QLabel* tag = tagInfo_->lblChoosenTag;
    if (watched == tag && event->type() == QEvent::MouseButtonRelease && tag->isEnabled() &&
        tag->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
        lblChoosenTag_Click();
        return true;
    }
    return core::ToolWindow::eventFilter(watched, event);
}

}  // namespace iso15693

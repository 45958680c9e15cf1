// A paste by mistake never holds a window up: every one-line box of every window takes a
// few hundred characters at most, so a huge paste returns at once instead of being laid
// out. And every entry box holds its own limit, typed or pasted.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "entry_keys.hpp"
#include "every_window.hpp"
#include "transceiver/hex_text.hpp"
#include "widgets/hex_entry_box.hpp"

namespace {

// More than the longest request or answer with a blank after each byte (383), far less
// than a paste that takes seconds to lay out.
constexpr int kLongestLine = 512;
// A paste of that much returns within this, however slow the build.
constexpr qint64 kAtOnceMs = 100;

TEST(EntryBoxLength, EveryBoxTakesAFewHundredCharactersAndAHugePasteReturnsAtOnce) {
    apptest::Program program;
    const QString huge(100000, QLatin1Char('A'));
    QApplication::clipboard()->setText(huge);
    int pasted = 0;
    program.forEveryWindow([&pasted](core::ToolWindow* w) {
        for (QLineEdit* box : w->findChildren<QLineEdit*>()) {
            SCOPED_TRACE(box->objectName().toStdString());
            EXPECT_LE(box->maxLength(), kLongestLine);
            if (box->isReadOnly()) continue;
            QElapsedTimer took;
            took.start();
            box->selectAll();
            box->paste();
            if (auto* hex = qobject_cast<widgets::HexEntryBox*>(box)) hex->commit();
            QCoreApplication::processEvents();
            EXPECT_LT(took.elapsed(), kAtOnceMs);
            EXPECT_LE(box->text().size(), kLongestLine);
            ++pasted;
        }
    });
    EXPECT_GT(pasted, 50);
}

// Every entry box holds its length limit: what is typed or pasted up to it goes in whole,
// one character more never does. A paste that does not fit is refused whole with a beep,
// as text that is not hex is refused at Send: a box that kept the part that fits would
// send a value or a frame that the user never wrote.

// Marks a box whose limit is the width of the selected product's memory.
constexpr int kMemoryWidth = -1;
// Marks a raw-frame box: 382 characters long, for the longest request, 255 digits, with a
// blank after each of its 127 whole bytes; typed (no blanks) it takes those 255 digits.
constexpr int kRawFrame = -2;
constexpr int kRawFrameLength = 382;
constexpr int kLongestRequest = 255;

// The limit of every entry box of every window, by name (the members of an array share
// their name's limit), as the windows' descriptions give it. The request and data boxes
// take the longest request the reader library passes, 255 characters; a raw frame that
// request with a blank after each of its 127 whole bytes, 382; the console's SendRecv data
// the 255 bytes its one-byte length counts.
const std::map<QString, int>& entryBoxLimits() {
    static const std::map<QString, int> limits = {
        // Command console
        {"txtCode02Frame", 2},
        {"txtBitsByte0", 1},
        {"txtByte0Configuration", 2},
        {"txtBitsByte1", 1},
        {"txtByte1Configuration", 2},
        {"txtByte12Configuration", 2},
        {"txtCodeXXFrame", 2},
        {"txtCodeXXFrameData", 510},
        {"txtCode07Frame", 2},
        // Board tools
        {"txtAnyKVCmdRequest", 255},
        // Tag detection
        {"txtWUPeriod", 2},
        {"txtOscStart", 2},
        {"txtDacStart", 2},
        {"txtSwingsCnt", 2},
        {"txtTimeOut", 2},
        {"txt_TagDetection_DacDataL_value", 2},
        {"txt_TagDetection_DacDataH_value", 2},
        {"txt_TagDetection_AInitIdx_value", 2},
        // Script, and the ISO15693 window's loop count
        {"txtLOOPnumber", 9},
        // ISO15693
        {"txtInventoryOptionalAFI", 2},
        {"txtInventoryMaskLenght", 2},
        {"txtInventoryMaskValue", 2},
        {"txt_ISO15693_AnyFrame", kRawFrame},
        {"txtEHconfig", 2},
        {"txtWriteDOconfig", 2},
        {"txtTransponderUID", 16},
        // ISO15693, ISO14443-A and ISO14443-B
        {"txtUserAddress", kMemoryWidth},
        // ISO14443-B
        {"txt_ISO14443B_ReqB_SN", 1},
        {"txt_iso14443B_reqB_afi", 2},
        {"txt_ISO14443B_SN", 1},
        {"txt_ISO14443B_ChipID", 2},
        {"txtAttriBrequest_Pupi", 8},
        {"txtAttriBrequest_autorizedRespTime", 2},
        {"txtAttriBrequest_MaxFrameSize", 2},
        {"txtAttriBrequest_ISO14443compliant", 2},
        {"txtAttriBrequest_CID", 2},
        {"txt_ISO14443B_AnyFrame", kRawFrame},
        // ISO14443-A
        {"txtUIDforSelect123", 16},
        {"txtISO14443A_Anticol_Arg", 2},
        {"txtUID_cmdSelect", 16},
        {"txt_ISO14443A_transFlag", 2},
        {"txt_ISO14443A_AnyFrame", kRawFrame},
        // ISO18092
        {"txt_ISO18092_AnyFrame", kRawFrame},
    };
    return limits;
}

// Entry boxes left to tests of their own: the page-write panel's rows and fill box take
// bytes through an input mask; the ISO14443-A window's page-size box is never shown and
// only the window writes it.
bool maskedOrNeverShown(const QString& name) {
    return name == QLatin1String("PWData") || name == QLatin1String("mskFillPage") ||
           name == QLatin1String("txtPageSize");
}

// The name an array's member shares with the others: "txtUserAddress_1" is a
// "txtUserAddress".
QString arrayName(const QString& name) {
    static const QRegularExpression index(QStringLiteral("_\\d+$"));
    return QString(name).remove(index);
}

// The memory of a product in bytes, as its selection computes it: 64 for the small
// memory tags, the density's bytes for every other one.
int memoryBytes(const core::Product& p) {
    if (p.Reference == QLatin1String("SOLA-A") || p.Reference == QLatin1String("SOLT-A")) return 64;
    return p.Density * 1024 / 8;
}
int highestBlock(const core::Product& p) { return memoryBytes(p) / p.PageSize - 1; }

// The width of the block-address boxes, in hex digits, for a memory of `bytes` bytes, as
// the tag windows' load gives it: 1 up to 23 bytes, 2 up to 363, 3 up to 5793, 4 at 8192.
int addressWidth(int bytes) {
    if (bytes <= 23) return 1;
    if (bytes <= 363) return 2;
    if (bytes <= 5793) return 3;
    EXPECT_EQ(bytes, 8192) << "no width is known for this memory";
    return 4;
}

bool isIso14443aWindow(const QWidget* w) {
    return w->objectName() == QLatin1String("frmTQ73RN_ISO14443A_UI");
}

// Chooses a console command as the user does.
void chooseCommand(core::ToolWindow* console, const QString& entry) {
    auto* list = console->findChild<QComboBox*>(QStringLiteral("cboTQ73RN_CommandList"));
    ASSERT_NE(list, nullptr);
    const int i = list->findText(entry);
    ASSERT_GE(i, 0) << entry.toStdString();
    list->setCurrentIndex(i);
    emit list->activated(i);
}

// Types `limit` characters and one more, then pastes one character more than the limit
// and exactly the limit, as the keyboard and the clipboard bring them.
void holdsItsLimit(QLineEdit* box, int limit, const testsupport::ScriptedUi& ui) {
    EXPECT_EQ(box->maxLength(), limit == kRawFrame ? kRawFrameLength : limit);
    if (limit == kRawFrame) limit = kLongestRequest;
    // A read-only box takes nothing from the user; the window writes it whole.
    if (box->isReadOnly()) return;
    ASSERT_TRUE(box->isEnabled()) << "a box the walk cannot type into";
    // "1" is a digit of every kind: hex, decimal and bit.
    const QString full(limit, QLatin1Char('1'));
    box->clear();
    testsupport::typeKeys(box, full);
    EXPECT_EQ(box->text(), full);
    testsupport::typeKeys(box, QStringLiteral("1"));
    EXPECT_EQ(box->text(), full) << "a character typed past the limit got in";

    box->clear();
    const int beeps = ui.beeps();
    testsupport::pasteWithKeys(box, full + QLatin1Char('1'));
    EXPECT_EQ(box->text(), QString()) << "a paste one character too long was kept in part";
    EXPECT_EQ(ui.beeps(), beeps + 1) << "a paste one character too long was refused unheard";
    testsupport::pasteWithKeys(box, full);
    EXPECT_EQ(box->text(), full);
    EXPECT_EQ(ui.beeps(), beeps + 1);
}

// Holds every entry box of every window at its limit; the number of boxes held.
int holdEveryEntryBox(apptest::Program& program) {
    int held = 0;
    program.forEveryWindow([&](core::ToolWindow* w) {
        if (w->objectName() == QLatin1String("frmTQ73RN_UserInterface")) {
            // The data box is as long as the command shown needs: SendRecv's here. The
            // Protocol Select boxes of byte 1 and bytes 1 and 2 take typing once their
            // check boxes are ticked.
            chooseCommand(w, QStringLiteral(" 04 : SendRecv "));
            for (const char* optional : {"chkiso18092_SlotCounterByte1", "OptByte12optional"}) {
                auto* tick = w->findChild<QAbstractButton*>(QLatin1String(optional));
                if (tick) tick->click();
                EXPECT_NE(tick, nullptr) << optional;
            }
        }
        const core::Product& product = program.tc.values().SelectedProduct;
        for (QLineEdit* box : w->findChildren<QLineEdit*>()) {
            // The other one-line boxes only show what the window writes.
            if (!qobject_cast<widgets::HexEntryBox*>(box) && box->isReadOnly()) continue;
            const QString name = arrayName(box->objectName());
            if (maskedOrNeverShown(name)) continue;
            SCOPED_TRACE(box->objectName().toStdString());
            const auto limit = entryBoxLimits().find(name);
            if (limit == entryBoxLimits().end()) {
                ADD_FAILURE() << "an entry box whose limit the table does not give";
                continue;
            }
            if (limit->second != kMemoryWidth) {
                holdsItsLimit(box, limit->second, program.tc.ui);
            } else if (isIso14443aWindow(w) && box->objectName().endsWith(QLatin1String("_1"))) {
                // The ISO14443-A window reads one address; its hidden "to" box holds the
                // highest block, whole, in two digits at least.
                EXPECT_FALSE(box->isVisibleTo(w));
                EXPECT_EQ(
                    box->text(),
                    QString::number(highestBlock(product), 16).toUpper().rightJustified(2, '0'));
            } else {
                holdsItsLimit(box, addressWidth(memoryBytes(product)), program.tc.ui);
            }
            ++held;
        }
    });
    return held;
}

// The shipped products file with memories larger than the shipped ones: an ISO14443-A
// card of 2048 bytes and a TOPAZ of 512 (three-digit addresses), a memory tag and an
// ISO15693 tag of 8192 (four digits).
QByteArray withLargerMemories(QByteArray file) {
    const std::pair<const char*, const char*> larger[] = {
        {"\"ISO14443-A\",2,4,1,1,", "\"ISO14443-A\",16,4,1,1,"},
        {"\"TOPAZ\",1,1,1,1,", "\"TOPAZ\",4,1,1,1,"},
        {"\"SOLA-B\",4,4,1,1,", "\"SOLA-B\",64,4,1,1,"},
        {"\"VEL-C\",2,4,1,1,", "\"VEL-C\",64,4,2,2,"},
    };
    for (const auto& [shipped, edited] : larger) {
        EXPECT_TRUE(file.contains(shipped)) << shipped;
        file.replace(shipped, edited);
    }
    return file;
}

void useProductsFile(apptest::Program& program, const QByteArray& content) {
    QFile file(program.productsFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(content), content.size());
}

QByteArray shippedProductsFile(apptest::Program& program) {
    QFile file(program.productsFile());
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

TEST(EntryBoxLength, EveryEntryBoxTakesItsLimitTypedOrPastedAndRefusesOneCharacterMore) {
    apptest::Program program;
    EXPECT_GT(holdEveryEntryBox(program), 300);
}

TEST(EntryBoxLength, AnAddressBoxIsAsWideAsItsProductsMemoryAlsoALargerOneThanShipped) {
    apptest::Program program;
    useProductsFile(program, withLargerMemories(shippedProductsFile(program)));
    EXPECT_GT(holdEveryEntryBox(program), 300);
}

// In a memory with a block 100, a typed "100" is that block, never "10": the ISO15693 and
// ISO14443-B windows read it, and the ISO14443-A window, whose READ carries one address
// byte, refuses it by name rather than read another page.
TEST(EntryBoxLength, ATypedAddressOfThreeDigitsIsReadAsItIs) {
    apptest::Program program;
    useProductsFile(program, withLargerMemories(shippedProductsFile(program)));
    program.tc.ui.allowAnyMessage();
    std::vector<std::string> exchanges;
    program.watched.watch = [&](reader::ReaderFunction f, std::string_view request) {
        if (f == reader::ReaderFunction::SendReceive) exchanges.emplace_back(request);
    };
    std::set<QString> windowsRead;
    for (const QString& product : apptest::menuProducts(program.productsFile())) {
        const apptest::WindowCase c{core::productFamily(product)->window, product};
        core::ToolWindow* w = program.open(c);
        ASSERT_NE(w, nullptr);
        SCOPED_TRACE(product.toStdString());
        auto* from = w->findChild<QLineEdit*>(QStringLiteral("txtUserAddress_0"));
        auto* to = w->findChild<QLineEdit*>(QStringLiteral("txtUserAddress_1"));
        if (!from || highestBlock(program.tc.values().SelectedProduct) < 0x100) {
            program.close(c.kind);
            continue;
        }
        for (QLineEdit* box : {from, to}) {
            if (box != from && isIso14443aWindow(w)) continue;
            box->clear();
            testsupport::typeKeys(box, QStringLiteral("100"));
        }
        exchanges.clear();
        const std::size_t messages = program.tc.ui.messages().size();
        for (const char* read : {"cmdReadUser", "cmd_ISO14443B_Read", "cmd_ISO14443A_Read"}) {
            if (auto* button = w->findChild<QAbstractButton*>(QLatin1String(read))) button->click();
        }
        EXPECT_EQ(transceiver::hexValue(transceiver::toLatin1(from->text())), 0x100u)
            << from->text().toStdString();
        if (isIso14443aWindow(w)) {
            EXPECT_TRUE(exchanges.empty()) << exchanges.front();
            ASSERT_EQ(program.tc.ui.messages().size(), messages + 1);
            EXPECT_EQ(
                program.tc.ui.messages().back().text,
                QStringLiteral("Invalid Address: check for Hexadecimal format or Adress value"));
        } else {
            EXPECT_FALSE(exchanges.empty());
            auto* view = w->findChild<QListWidget*>(QStringLiteral("lstReadView"));
            ASSERT_NE(view, nullptr);
            ASSERT_GE(view->count(), 1);
            EXPECT_TRUE(view->item(0)->text().startsWith(QLatin1String("0100   ")))
                << view->item(0)->text().toStdString();
        }
        windowsRead.insert(w->objectName());
        program.close(c.kind);
    }
    EXPECT_EQ(windowsRead.size(), 3u) << "a window of each family with a block 100";
}

// A SendRecv frame pasted longer than the 255 bytes its length counts is refused whole:
// the next Send does not send a part of it.
TEST(EntryBoxLength, ASendRecvFrameTooLongForTheConsoleIsRefusedAndNeverSent) {
    apptest::Program program;
    std::vector<std::string> sent;
    program.watched.watch = [&](reader::ReaderFunction f, std::string_view request) {
        if (f == reader::ReaderFunction::KvCmd) sent.emplace_back(request);
    };
    core::ToolWindow* console = program.open({core::WindowKind::Console, {}});
    ASSERT_NE(console, nullptr);
    chooseCommand(console, QStringLiteral(" 04 : SendRecv "));
    auto* data = console->findChild<widgets::HexEntryBox*>(QStringLiteral("txtCodeXXFrameData"));
    auto* send = console->findChild<QAbstractButton*>(QStringLiteral("cmdSendCommandCodeXX"));
    ASSERT_TRUE(data && send);

    const int beeps = program.tc.ui.beeps();
    testsupport::pasteWithKeys(data, QStringLiteral("A5").repeated(300));
    EXPECT_EQ(data->text(), QString());
    EXPECT_EQ(program.tc.ui.beeps(), beeps + 1);
    data->commit();
    send->click();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back(), "010400");

    // The longest frame goes whole, behind its length.
    testsupport::pasteWithKeys(data, QStringLiteral("A5").repeated(255));
    data->commit();
    send->click();
    EXPECT_EQ(sent.back(), "0104FF" + QStringLiteral("A5").repeated(255).toStdString());
}

}  // namespace

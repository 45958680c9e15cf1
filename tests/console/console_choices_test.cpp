#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <set>
#include <string>
#include <tuple>

#include "console/console_window.hpp"
#include "qstring_printer.hpp"
#include "window_fixture.hpp"

using console::ConsoleWindow;
using reader::ReaderFunction;

namespace {

// One choice of the console and the frame that the next Send hands to the reader.
struct Choice {
    // Where the user is before choosing: "" a fresh console, a command-list entry
    // (" 08 : RdReg "), or a Protocol Select protocol ("01 : ISO15693").
    const char* where;
    // The list: a drop-down list, an option group (its buttons' common name) or a check box.
    const char* list;
    // The item: an entry or option caption as shown; "ticked" or "unticked" for a check box.
    const char* item;
    // The bytes sent, blanks for reading only; nullptr where no Send can be clicked.
    const char* sent;
    // A check box that must be ticked before the list can be used.
    const char* tickFirst = nullptr;
};

constexpr const char* kSlotCounter = "chkiso18092_SlotCounterByte1";

// Each parameter byte below is the protocol's default byte 0 (byte 1: the bits of the texts
// its two lists show when the console opens) with the chosen item's field bits put in: the
// item's digits in order, the first digit the field's highest bit.
const Choice kChoices[] = {
    // The command list: each entry's frame as a fresh console first shows it.
    {"", "cboTQ73RN_CommandList", " TQ73RN Command List ", nullptr},
    {"", "cboTQ73RN_CommandList", " 01 : IDN ", "01 01 00"},
    {"", "cboTQ73RN_CommandList", " 02 : Protocol Select ", nullptr},
    {"", "cboTQ73RN_CommandList", " 04 : SendRecv ", "01 04 00"},
    {"", "cboTQ73RN_CommandList", " 07 : Idle ",
     "01 07 0E 08 04 00 04 00 18 00 00 00 00 00 00 00 00"},
    {"", "cboTQ73RN_CommandList", " 08 : RdReg ", "01 08 03 62 01 00"},
    {"", "cboTQ73RN_CommandList", " 09 : WrReg ", "01 09 03 68 00 01"},
    {"", "cboTQ73RN_CommandList", " 0A : BaudRate ", "01 0A 01 00"},
    {"", "cboTQ73RN_CommandList", " 55 : Echo-code ", "01 55"},

    // Register read and write presets.
    {" 08 : RdReg ", "optCmd08ReadRegister", "0x62 : Wake-up event register", "01 08 03 62 01 00"},
    {" 08 : RdReg ", "optCmd08ReadRegister", "0x69 : ARC_B register", "01 08 03 69 01 00"},
    {" 09 : WrReg ", "optCmd09WriteRegister", "Set analog register index to 0x01 (ARC_B)",
     "01 09 03 68 00 01"},
    {" 09 : WrReg ", "optCmd09WriteRegister", "Update ARC_B value (with value = XY)",
     "01 09 04 68 01 01 00"},
    {" 09 : WrReg ", "optCmd09WriteRegister", "Set HFO to RF", "01 09 04 68 01 07 00"},
    {" 09 : WrReg ", "optCmd09WriteRegister", "Reset HFO to RF", "01 09 04 68 01 07 10"},

    // Idle examples.
    {" 07 : Idle ", "optIDLEframe", "from Ready state to Hibernate state (wake up event : IRQ In)",
     "01 07 0E 08 04 00 04 00 18 00 00 00 00 00 00 00 00"},
    {" 07 : Idle ", "optIDLEframe", "from Ready state to Sleep state (wake up event : IRQ in pin)",
     "01 07 0E 08 01 00 38 00 18 00 00 60 00 00 00 00 00"},
    {" 07 : Idle ", "optIDLEframe", "from Ready state to Sleep state (wake up event : NSS pin)",
     "01 07 0E 10 01 00 38 00 18 00 00 60 00 00 00 00 00"},
    {" 07 : Idle ", "optIDLEframe",
     "from Ready state to Sleep state, back to Ready state after time out (7 sec)",
     "01 07 0E 01 21 00 38 00 18 00 60 60 00 00 00 00 08"},
    {" 07 : Idle ", "optIDLEframe", "wake up by Tag Detector or IRQ in pin",
     "01 07 0E 0A 21 00 79 01 18 00 20 60 60 64 74 3F 08"},
    {" 07 : Idle ", "optIDLEframe",
     "basic IDLE command used during the Tag Detection Calibration process",
     "01 07 0E 03 A1 00 F8 01 18 00 20 60 60 00 00 3F 01"},

    // The protocols, each with its default byte 0.
    {" 02 : Protocol Select ", "OptProtocolCode", "00 : Field OFF", "01 02 02 00 00"},
    {" 02 : Protocol Select ", "OptProtocolCode", "01 : ISO15693", "01 02 02 01 0D"},
    {" 02 : Protocol Select ", "OptProtocolCode", "02 : ISO14443-A", "01 02 02 02 00"},
    {" 02 : Protocol Select ", "OptProtocolCode", "03 : ISO14443-B", "01 02 02 03 01"},
    {" 02 : Protocol Select ", "OptProtocolCode", "04 : Felica", "01 02 02 04 51"},
    {" 02 : Protocol Select ", "OptProtocolCode", "12 : ISO14443A", "01 02 02 05 00"},
    {" 02 : Protocol Select ", "OptProtocolCode", "13 : ISO14443B", "01 02 02 05 01"},
    {" 02 : Protocol Select ", "OptProtocolCode", "14 : ISO18092", "01 02 02 05 01"},

    // ISO15693 reader: bits 5-4 data rate, 3 delay, 2 modulation, 1 subcarrier, 0 CRC.
    {"01 : ISO15693", "cboISO15693reader_DataRate", " 00 : 26k ", "01 02 02 01 0D"},
    {"01 : ISO15693", "cboISO15693reader_DataRate", " 01 : 52k ", "01 02 02 01 1D"},
    {"01 : ISO15693", "cboISO15693reader_DataRate", " 10 : 6k ", "01 02 02 01 2D"},
    {"01 : ISO15693", "cboISO15693reader_DataRate", " 11 : RFU ", "01 02 02 01 3D"},
    {"01 : ISO15693", "cboISO15693reader_Delay", " 0 : respect delay 312us ", "01 02 02 01 05"},
    {"01 : ISO15693", "cboISO15693reader_Delay", " 1 : wait for sof ", "01 02 02 01 0D"},
    {"01 : ISO15693", "cboISO15693reader_Modulation", " 0 : 100% modulation ", "01 02 02 01 09"},
    {"01 : ISO15693", "cboISO15693reader_Modulation", " 1 : 10% modulation ", "01 02 02 01 0D"},
    {"01 : ISO15693", "cboISO15693reader_Subcarrier", " 0 : Single Subcarrier ", "01 02 02 01 0D"},
    {"01 : ISO15693", "cboISO15693reader_Subcarrier", " 1 : Dual Subcarrier ", "01 02 02 01 0F"},
    {"01 : ISO15693", "cboAppendCRC", " 0 : No Append CRC ", "01 02 02 01 0C"},
    {"01 : ISO15693", "cboAppendCRC", " 1 : Append CRC ", "01 02 02 01 0D"},

    // ISO14443-A reader: bits 7-6 sending rate, 5-4 receiving rate; the optional bytes.
    {"02 : ISO14443-A", "cboISO14443Areader_TransDataRate", " 00 : 106k ", "01 02 02 02 00"},
    {"02 : ISO14443-A", "cboISO14443Areader_TransDataRate", " 01 : 212k ", "01 02 02 02 40"},
    {"02 : ISO14443-A", "cboISO14443Areader_TransDataRate", " 10 : RFU ", "01 02 02 02 80"},
    {"02 : ISO14443-A", "cboISO14443Areader_TransDataRate", " 11 : RFU ", "01 02 02 02 C0"},
    {"02 : ISO14443-A", "cboISO14443Areader_RecepDataRate", " 00 : 106k ", "01 02 02 02 00"},
    {"02 : ISO14443-A", "cboISO14443Areader_RecepDataRate", " 01 : 212k ", "01 02 02 02 10"},
    {"02 : ISO14443-A", "cboISO14443Areader_RecepDataRate", " 10 : RFU ", "01 02 02 02 20"},
    {"02 : ISO14443-A", "cboISO14443Areader_RecepDataRate", " 11 : RFU ", "01 02 02 02 30"},
    {"02 : ISO14443-A", "OptByte12optional", "ticked", "01 02 04 02 00 00 00"},
    {"02 : ISO14443-A", "OptByte12optional", "unticked", "01 02 02 02 00"},

    // ISO14443-B reader: bits 7-6 and 5-4 the rates, 0 CRC; the optional bytes.
    {"03 : ISO14443-B", "cboISO14443Breader_TransDataRate", " 00 : 106k ", "01 02 02 03 01"},
    {"03 : ISO14443-B", "cboISO14443Breader_TransDataRate", " 01 : RFU ", "01 02 02 03 41"},
    {"03 : ISO14443-B", "cboISO14443Breader_TransDataRate", " 10 : RFU ", "01 02 02 03 81"},
    {"03 : ISO14443-B", "cboISO14443Breader_TransDataRate", " 11 : RFU ", "01 02 02 03 C1"},
    {"03 : ISO14443-B", "cboISO14443Breader_RecepDataRate", " 00 : 106k ", "01 02 02 03 01"},
    {"03 : ISO14443-B", "cboISO14443Breader_RecepDataRate", " 01 : RFU ", "01 02 02 03 11"},
    {"03 : ISO14443-B", "cboISO14443Breader_RecepDataRate", " 10 : RFU ", "01 02 02 03 21"},
    {"03 : ISO14443-B", "cboISO14443Breader_RecepDataRate", " 11 : RFU ", "01 02 02 03 31"},
    {"03 : ISO14443-B", "cboAppendCRC", " 0 : No Append CRC ", "01 02 02 03 00"},
    {"03 : ISO14443-B", "cboAppendCRC", " 1 : Append CRC ", "01 02 02 03 01"},
    {"03 : ISO14443-B", "OptByte12optional", "ticked", "01 02 04 03 01 00 00"},
    {"03 : ISO14443-B", "OptByte12optional", "unticked", "01 02 02 03 01"},

    // FeliCa reader: byte 0 bits 7-6 and 5-4 the rates, 0 CRC; byte 1 bit 4 and bits 3-0,
    // sent while the slot-counter box is ticked.
    {"04 : Felica", "cboISO18092reader_TransDataRate", " 00 : RFU ", "01 02 02 04 11"},
    {"04 : Felica", "cboISO18092reader_TransDataRate", " 01 : 212k ", "01 02 02 04 51"},
    {"04 : Felica", "cboISO18092reader_TransDataRate", " 10 : 424k ", "01 02 02 04 91"},
    {"04 : Felica", "cboISO18092reader_TransDataRate", " 11 : RFU ", "01 02 02 04 D1"},
    {"04 : Felica", "cboISO18092reader_RecepDataRate", " 00 : RFU ", "01 02 02 04 41"},
    {"04 : Felica", "cboISO18092reader_RecepDataRate", " 01 : 212k ", "01 02 02 04 51"},
    {"04 : Felica", "cboISO18092reader_RecepDataRate", " 10 : 424k ", "01 02 02 04 61"},
    {"04 : Felica", "cboISO18092reader_RecepDataRate", " 11 : RFU ", "01 02 02 04 71"},
    {"04 : Felica", "cboAppendCRC", " 0 : No Append CRC ", "01 02 02 04 50"},
    {"04 : Felica", "cboAppendCRC", " 1 : Append CRC ", "01 02 02 04 51"},
    {"04 : Felica", kSlotCounter, "ticked", "01 02 03 04 51 10"},
    {"04 : Felica", kSlotCounter, "unticked", "01 02 02 04 51"},
    {"04 : Felica", "cboISO18092reader_Disregard_SlotCounter", " 0 : respect slot counter ",
     "01 02 03 04 51 00", kSlotCounter},
    {"04 : Felica", "cboISO18092reader_Disregard_SlotCounter", " 1 : search for the reply ",
     "01 02 03 04 51 10", kSlotCounter},
    {"04 : Felica", "cboISO18092reader_SlotCounter", " 0 : 1 slot ", "01 02 03 04 51 10",
     kSlotCounter},
    {"04 : Felica", "cboISO18092reader_SlotCounter", " 1 : 2 slots ", "01 02 03 04 51 11",
     kSlotCounter},
    {"04 : Felica", "cboISO18092reader_SlotCounter", " 2 : 3 slots ", "01 02 03 04 51 12",
     kSlotCounter},
    {"04 : Felica", "cboISO18092reader_SlotCounter", " 3 : 4 slots ", "01 02 03 04 51 13",
     kSlotCounter},
    {"04 : Felica", "cboISO18092reader_SlotCounter", " 4 : 5 slots ", "01 02 03 04 51 14",
     kSlotCounter},
    {"04 : Felica", "cboISO18092reader_SlotCounter", " 5 : 6 slots ", "01 02 03 04 51 15",
     kSlotCounter},
    {"04 : Felica", "cboISO18092reader_SlotCounter", " 6 : 7 slots ", "01 02 03 04 51 16",
     kSlotCounter},
    {"04 : Felica", "cboISO18092reader_SlotCounter", " 7 : 8 slots ", "01 02 03 04 51 17",
     kSlotCounter},
    {"04 : Felica", "cboISO18092reader_SlotCounter", " 8 : 9 slots ", "01 02 03 04 51 18",
     kSlotCounter},
    {"04 : Felica", "cboISO18092reader_SlotCounter", " 9 : 10 slots ", "01 02 03 04 51 19",
     kSlotCounter},
    {"04 : Felica", "cboISO18092reader_SlotCounter", " A : 11 slots ", "01 02 03 04 51 1A",
     kSlotCounter},
    {"04 : Felica", "cboISO18092reader_SlotCounter", " B : 12 slots ", "01 02 03 04 51 1B",
     kSlotCounter},
    {"04 : Felica", "cboISO18092reader_SlotCounter", " C : 13 slots ", "01 02 03 04 51 1C",
     kSlotCounter},
    {"04 : Felica", "cboISO18092reader_SlotCounter", " D : 14 slots ", "01 02 03 04 51 1D",
     kSlotCounter},
    {"04 : Felica", "cboISO18092reader_SlotCounter", " E : 15 slots ", "01 02 03 04 51 1E",
     kSlotCounter},
    {"04 : Felica", "cboISO18092reader_SlotCounter", " F : 16 slots ", "01 02 03 04 51 1F",
     kSlotCounter},

    // ISO14443-A card: bits 7-6 and 5-4 the rates, 3 field, 1 clock.
    {"12 : ISO14443A", "cboISO14443Bcard_TransDataRate", " 00 : 106k ", "01 02 02 05 00"},
    {"12 : ISO14443A", "cboISO14443Bcard_TransDataRate", " 01 : 212k ", "01 02 02 05 40"},
    {"12 : ISO14443A", "cboISO14443Bcard_TransDataRate", " 10 : 424k ", "01 02 02 05 80"},
    {"12 : ISO14443A", "cboISO14443Bcard_TransDataRate", " 11 : 847k ", "01 02 02 05 C0"},
    {"12 : ISO14443A", "cboISO14443Bcard_RecepDataRate", " 00 : 106k ", "01 02 02 05 00"},
    {"12 : ISO14443A", "cboISO14443Bcard_RecepDataRate", " 01 : 212k ", "01 02 02 05 10"},
    {"12 : ISO14443A", "cboISO14443Bcard_RecepDataRate", " 10 : 424k ", "01 02 02 05 20"},
    {"12 : ISO14443A", "cboISO14443Bcard_RecepDataRate", " 11 : 847k ", "01 02 02 05 30"},
    {"12 : ISO14443A", "cboISO14443Bcard_Field", " 0 : return an error if no field ",
     "01 02 02 05 00"},
    {"12 : ISO14443A", "cboISO14443Bcard_Field", " 1 : wait for field ", "01 02 02 05 08"},
    {"12 : ISO14443A", "cboISO14443Bcard_Clk", " 0 : HFO ", "01 02 02 05 00"},
    {"12 : ISO14443A", "cboISO14443Bcard_Clk", " 1 : ClkRec ", "01 02 02 05 02"},

    // ISO14443-B card: as the A card, and bit 0 CRC.
    {"13 : ISO14443B", "cboISO14443Bcard_TransDataRate", " 00 : 106k ", "01 02 02 05 01"},
    {"13 : ISO14443B", "cboISO14443Bcard_TransDataRate", " 01 : 212k ", "01 02 02 05 41"},
    {"13 : ISO14443B", "cboISO14443Bcard_TransDataRate", " 10 : 424k ", "01 02 02 05 81"},
    {"13 : ISO14443B", "cboISO14443Bcard_TransDataRate", " 11 : 847k ", "01 02 02 05 C1"},
    {"13 : ISO14443B", "cboISO14443Bcard_RecepDataRate", " 00 : 106k ", "01 02 02 05 01"},
    {"13 : ISO14443B", "cboISO14443Bcard_RecepDataRate", " 01 : 212k ", "01 02 02 05 11"},
    {"13 : ISO14443B", "cboISO14443Bcard_RecepDataRate", " 10 : 424k ", "01 02 02 05 21"},
    {"13 : ISO14443B", "cboISO14443Bcard_RecepDataRate", " 11 : 847k ", "01 02 02 05 31"},
    {"13 : ISO14443B", "cboISO14443Bcard_Field", " 0 : return an error if no field ",
     "01 02 02 05 01"},
    {"13 : ISO14443B", "cboISO14443Bcard_Field", " 1 : wait for field ", "01 02 02 05 09"},
    {"13 : ISO14443B", "cboISO14443Bcard_Clk", " 0 : HFO ", "01 02 02 05 01"},
    {"13 : ISO14443B", "cboISO14443Bcard_Clk", " 1 : ClkRec ", "01 02 02 05 03"},
    {"13 : ISO14443B", "cboAppendCRC", " 0 : No Append CRC ", "01 02 02 05 00"},
    {"13 : ISO14443B", "cboAppendCRC", " 1 : Append CRC ", "01 02 02 05 01"},

    // FeliCa card: bit 3 field, 1 clock, 0 CRC.
    {"14 : ISO18092", "cboISO18092card_Field", " 0 : return an error if no field ",
     "01 02 02 05 01"},
    {"14 : ISO18092", "cboISO18092card_Field", " 1 : wait for field ", "01 02 02 05 09"},
    {"14 : ISO18092", "cboISO18092card_Clk", " 0 : HFO ", "01 02 02 05 01"},
    {"14 : ISO18092", "cboISO18092card_Clk", " 1 : ClkRec ", "01 02 02 05 03"},
    {"14 : ISO18092", "cboAppendCRC", " 0 : No Append CRC ", "01 02 02 05 00"},
    {"14 : ISO18092", "cboAppendCRC", " 1 : Append CRC ", "01 02 02 05 01"},
};

using Key = std::tuple<QString, QString, QString>;  // where, list, item

QString listName(const QWidget* control) {
    // An option group's buttons are named "<group>_<index>".
    const QString name = control->objectName();
    if (!qobject_cast<const QRadioButton*>(control)) return name;
    return name.left(name.lastIndexOf(QLatin1Char('_')));
}

class ConsoleChoices : public testsupport::WindowFixture<ConsoleWindow, core::WindowKind::Console> {
  protected:
    void reopen() {
        if (w) {
            tc.ctx->windows().close(core::WindowKind::Console);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        open();
    }
    QComboBox* commandList() { return get<QComboBox>(QStringLiteral("cboTQ73RN_CommandList")); }

    // Every list item, option and check box state that the user can reach at this point
    // and could not before, as (where, list, item).
    std::set<Key> reachable(const QString& where, const std::set<QString>& before) {
        std::set<Key> keys;
        for (QWidget* c : w->findChildren<QWidget*>()) {
            const QString list = listName(c);
            if (!c->isVisibleTo(w) || before.count(list)) continue;
            if (auto* combo = qobject_cast<QComboBox*>(c)) {
                for (int i = 0; i < combo->count(); ++i)
                    keys.insert({where, list, combo->itemText(i)});
            } else if (auto* option = qobject_cast<QRadioButton*>(c)) {
                keys.insert({where, list, option->text()});
            } else if (qobject_cast<QCheckBox*>(c)) {
                keys.insert({where, list, QStringLiteral("ticked")});
                keys.insert({where, list, QStringLiteral("unticked")});
            }
        }
        return keys;
    }
    std::set<QString> listsIn(const std::set<Key>& keys) {
        std::set<QString> lists;
        for (const auto& k : keys) lists.insert(std::get<1>(k));
        return lists;
    }

    // Walks the console as a user can: each entry of the command list, and under
    // Protocol Select each protocol.
    std::set<Key> everyChoice() {
        reopen();
        std::set<Key> all = reachable(QString(), {});
        const std::set<QString> top = listsIn(all);
        QStringList entries;
        for (int i = 0; i < commandList()->count(); ++i) entries << commandList()->itemText(i);
        std::set<Key> protocols;
        for (const QString& entry : entries) {
            choose(QStringLiteral("cboTQ73RN_CommandList"), entry);
            const std::set<Key> here = reachable(entry, top);
            all.insert(here.begin(), here.end());
            if (listsIn(here).count(QStringLiteral("OptProtocolCode"))) protocols = here;
        }
        std::set<QString> beforeProtocol = top;
        for (const QString& l : listsIn(protocols)) beforeProtocol.insert(l);
        choose(QStringLiteral("cboTQ73RN_CommandList"), QStringLiteral(" 02 : Protocol Select "));
        for (const auto& [entry, list, caption] : protocols) {
            if (list != QLatin1String("OptProtocolCode")) continue;
            optionOf(list, caption)->click();
            const std::set<Key> here = reachable(caption, beforeProtocol);
            all.insert(here.begin(), here.end());
        }
        return all;
    }

    QRadioButton* optionOf(const QString& group, const QString& caption) {
        for (auto* o : w->findChildren<QRadioButton*>()) {
            if (listName(o) == group && o->text() == caption) return o;
        }
        ADD_FAILURE() << "no option " << caption.toStdString() << " in " << group.toStdString();
        return nullptr;
    }

    // Goes where the row says, as the user would get there.
    void goTo(const QString& where) {
        if (where.isEmpty()) return;
        if (commandList()->findText(where) >= 0) {
            choose(QStringLiteral("cboTQ73RN_CommandList"), where);
            return;
        }
        choose(QStringLiteral("cboTQ73RN_CommandList"), QStringLiteral(" 02 : Protocol Select "));
        if (auto* o = optionOf(QStringLiteral("OptProtocolCode"), where)) o->click();
    }

    // Makes the choice after another item of the same list, so an item that wrote nothing
    // would leave the other item's bits in the frame.
    void makeChoice(const QString& list, const QString& item) {
        if (auto* box = w->findChild<QCheckBox*>(list)) {
            ASSERT_TRUE(box->isVisibleTo(w) && box->isEnabled()) << list.toStdString();
            box->click();
            if (item == QLatin1String("unticked")) box->click();
            ASSERT_EQ(box->isChecked(), item == QLatin1String("ticked"));
            return;
        }
        if (auto* combo = w->findChild<QComboBox*>(list)) {
            ASSERT_TRUE(combo->isVisibleTo(w) && combo->isEnabled()) << list.toStdString();
            const int i = combo->findText(item);
            ASSERT_GE(i, 0) << item.toStdString();
            choose(list, combo->itemText((i + 1) % combo->count()));
            choose(list, item);
            return;
        }
        QRadioButton* option = optionOf(list, item);
        ASSERT_NE(option, nullptr);
        ASSERT_TRUE(option->isVisibleTo(w) && option->isEnabled()) << item.toStdString();
        for (auto* other : w->findChildren<QRadioButton*>()) {
            if (listName(other) == list && other != option) {
                other->click();
                break;
            }
        }
        option->click();
    }

    // The Send button the user sees, or none.
    QPushButton* shownSend() {
        QPushButton* shown = nullptr;
        for (auto* b : w->findChildren<QPushButton*>()) {
            if (!b->objectName().startsWith(QLatin1String("cmdSendCommandCode")) ||
                !b->isVisibleTo(w))
                continue;
            EXPECT_EQ(shown, nullptr) << "two Send buttons shown";
            shown = b;
        }
        return shown;
    }
};

std::string withoutBlanks(const char* text) {
    std::string out;
    for (const char* p = text; *p; ++p) {
        if (*p != ' ') out += *p;
    }
    return out;
}

}  // namespace

// Every item of every list of the console, chosen as the user does on a fresh console,
// gives the frame that the next Send hands to the reader. The table covers exactly the
// choices the console offers: a new list or item, or one gone, fails here.
TEST_F(ConsoleChoices, EveryChoiceReachesTheReaderAsItsBits) {
    std::set<Key> table;
    for (const Choice& c : kChoices) {
        const bool added = table
                               .insert({QString::fromLatin1(c.where), QString::fromLatin1(c.list),
                                        QString::fromLatin1(c.item)})
                               .second;
        EXPECT_TRUE(added) << "twice in the table: " << c.list << " " << c.item;
    }
    const std::set<Key> offered = everyChoice();
    for (const auto& [where, list, item] : offered) {
        EXPECT_TRUE(table.count({where, list, item}))
            << "not in the table: [" << where.toStdString() << "] " << list.toStdString() << " \""
            << item.toStdString() << '"';
    }
    for (const auto& [where, list, item] : table) {
        EXPECT_TRUE(offered.count({where, list, item}))
            << "not offered: [" << where.toStdString() << "] " << list.toStdString() << " \""
            << item.toStdString() << '"';
    }

    for (const Choice& c : kChoices) {
        SCOPED_TRACE(std::string("[") + c.where + "] " + c.list + " \"" + c.item + '"');
        reopen();
        goTo(QString::fromLatin1(c.where));
        if (c.tickFirst) makeChoice(QString::fromLatin1(c.tickFirst), QStringLiteral("ticked"));
        makeChoice(QString::fromLatin1(c.list), QString::fromLatin1(c.item));
        tc.scripted.clearCalls();
        QPushButton* send = shownSend();
        if (!c.sent) {
            EXPECT_EQ(send, nullptr);
            continue;
        }
        ASSERT_NE(send, nullptr);
        send->click();
        EXPECT_EQ(tc.scripted.requestsTo(ReaderFunction::KvCmd),
                  std::vector<std::string>{withoutBlanks(c.sent)});
    }
}

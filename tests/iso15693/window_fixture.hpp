#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTabBar>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>

#include "core/product_catalogue.hpp"
#include "iso15693/iso15693_window.hpp"
#include "iso15693/register.hpp"
#include "loop_bound.hpp"
#include "reader/dispatching_reader.hpp"
#include "reader/recording_reader.hpp"
#include "simboard/board_config.hpp"
#include "simboard/simulated_board.hpp"
#include "test_context.hpp"
#include "widgets/hex_entry_box.hpp"

namespace iso15693test {

// Passes every call on and runs a hook after each SendReceive (and each KVCmd, the
// board's anticollision): how a test acts inside a run's pauses, the way a user's click
// arrives there.
class HookReader : public reader::DispatchingReader {
  public:
    explicit HookReader(reader::ReaderLibrary& inner) : inner_(inner) {}
    std::function<void(int)> afterSendReceive;
    std::function<void(int)> afterKvCmd;
    int sendReceives = 0;
    int kvCmds = 0;

  protected:
    reader::LibraryStatus dispatch(reader::ReaderFunction f, std::string_view request,
                                   reader::AnswerBuffer* answer) override {
        reader::AnswerBuffer scratch;
        const reader::LibraryStatus s = inner_.call(f, request, answer ? *answer : scratch);
        if (f == reader::ReaderFunction::SendReceive) {
            ++sendReceives;
            if (afterSendReceive) afterSendReceive(sendReceives);
        } else if (f == reader::ReaderFunction::KvCmd) {
            ++kvCmds;
            if (afterKvCmd) afterKvCmd(kvCmds);
        }
        return s;
    }

  private:
    reader::ReaderLibrary& inner_;
};

// The ISO15693 window opened the way the product menu opens it, on a scripted reader
// (exact requests, error paths) or on the simulated board behind a recording reader.
class WindowTest : public ::testing::Test {
  public:
    explicit WindowTest(reader::ReaderLibrary* reader = nullptr) : tc(reader) {
        tc.scripted.setHealthyDefaults();
        tc.values().McuRevisionText = QStringLiteral("1.4.1");
        iso15693::registerWindows(tc.ctx->windows());
    }
    ~WindowTest() override {
        tc.ctx->windows().close(core::WindowKind::Iso15693);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Makes `record` (reference, density, page size, address bytes, RF address bytes, test
    // mode, address) the only product of the products file, for a product whose values
    // no shipped record has.
    void useProductRecord(const char* record) {
        QFile file(tc.path(QStringLiteral("TQ73RN_products.ini")));
        file.setPermissions(file.permissions() | QFileDevice::WriteOwner);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("\"TQ73RN products\"\r\n");
        file.write(record);
        file.write("\r\n");
    }

    // Chooses the product in the menu; the calls the load made are forgotten.
    iso15693::Iso15693Window* open(const char* reference = "VEL-C") {
        core::SelectProduct(*tc.ctx, QString::fromLatin1(reference));
        w = static_cast<iso15693::Iso15693Window*>(
            tc.ctx->windows().find(core::WindowKind::Iso15693));
        tc.scripted.clearCalls();
        return w;
    }

    template <class T>
    T* get(const QString& name) {
        auto* c = w->template findChild<T*>(name);
        EXPECT_NE(c, nullptr) << name.toStdString();
        return c;
    }
    void click(const QString& name) { get<QAbstractButton>(name)->click(); }
    void tick(const QString& name, bool on = true) { get<QAbstractButton>(name)->setChecked(on); }
    // Types into an entry box and leaves it.
    void type(const QString& name, const QString& text) {
        auto* box = get<widgets::HexEntryBox>(name);
        box->setText(text);
        box->commit();
    }
    QString text(const QString& name) { return get<QLineEdit>(name)->text(); }
    // The product's User Mode page with a block range in the address boxes; the calls
    // so far are forgotten.
    void openUserMode(const char* product, const char* from, const char* to) {
        open(product);
        get<QTabBar>(QStringLiteral("tabStripchoice"))->setCurrentIndex(1);
        range(from, to);
        forgetCalls();
    }
    void range(const char* from, const char* to) {
        type(QStringLiteral("txtUserAddress_0"), QLatin1String(from));
        type(QStringLiteral("txtUserAddress_1"), QLatin1String(to));
    }
    // Opens the page-write panel with a set-up button and types the data into row 0.
    void setUpWrite(const char* button, const char* data) {
        click(QLatin1String(button));
        get<QLineEdit>(QStringLiteral("PWData_0"))->setText(QLatin1String(data));
    }
    void write() { click(QStringLiteral("cmdWriteUser")); }
    QStringList memoryLines() { return tc.values().ReadViewLines.Contenu(); }
    QStringList view() { return items(QStringLiteral("lstReadView")); }
    QString label(const QString& name) { return get<QLabel>(name)->text(); }
    QStringList items(const QString& name) {
        QStringList s;
        auto* list = get<QListWidget>(name);
        for (int i = 0; i < list->count(); ++i) s << list->item(i)->text();
        return s;
    }
    std::vector<std::string> sent() const {
        return tc.scripted.requestsTo(reader::ReaderFunction::SendReceive);
    }
    // Every call to the scripted reader: the function's exported name, a blank, the request.
    std::vector<std::string> calls() const {
        std::vector<std::string> r;
        for (const auto& c : tc.scripted.calls()) {
            r.push_back(std::string(reader::exportedName(c.function)) + " " + c.request);
        }
        return r;
    }
    // The log from the first entry on, with the fixed clock's date and time.
    QString log() const { return w->logText(); }
    virtual void forgetCalls() { tc.scripted.clearCalls(); }

    testsupport::TestContext tc;
    iso15693::Iso15693Window* w = nullptr;
};

// A tag of 64 blocks whose byte i holds i, block 01 locked, no passwords; `extraKeys`
// are further keys of its ini section.
inline std::unique_ptr<simboard::SimulatedBoard> countingTag(
    std::map<std::string, std::string> extraKeys = {}) {
    std::string data;
    for (int i = 0; i < 256; ++i) {
        char b[3];
        std::snprintf(b, sizeof b, "%02X", i);
        data += b;
    }
    std::map<std::string, std::string> keys{
        {"uid", "E001020304050607"}, {"blocks", "64"}, {"data", data}, {"locked", "01"}};
    keys.insert(extraKeys.begin(), extraKeys.end());
    simboard::BoardConfig config;
    config.tags = std::vector<simboard::TagSpec>{{"iso15693", keys}};
    return std::make_unique<simboard::SimulatedBoard>(config);
}

// The memory line of block n of that tag.
inline QString blockLine(int n) {
    QString line;
    for (int i = 0; i < 4; ++i)
        line += QStringLiteral("%1 ").arg(4 * n + i, 2, 16, QLatin1Char('0')).toUpper();
    return line;
}

// A pass more of an inventory loop; past the bound the loop is ended the way closing the
// window ends it, and by unticking "Inventory loop" as well, the window's own flag that the
// bound does not know.
inline bool withinBound(testsupport::LoopBound& bound, QCheckBox* loopBox) {
    if (bound.pass()) return true;
    loopBox->setChecked(false);
    return false;
}

// The same on the simulated board, each call journalled.
class SimWindowTest : public WindowTest {
  public:
    explicit SimWindowTest(
        std::unique_ptr<simboard::SimulatedBoard> b = std::make_unique<simboard::SimulatedBoard>())
        : WindowTest(nullptr), board(std::move(b)), recorder(*board), hook(recorder) {
        tc.ctx->setReader(hook);
    }
    void forgetCalls() override { recorder.clearJournal(); }
    std::vector<std::string> sentToBoard() const {
        std::vector<std::string> r;
        for (const auto& e : recorder.callsTo(reader::ReaderFunction::SendReceive))
            r.push_back(e.request);
        return r;
    }

    std::unique_ptr<simboard::SimulatedBoard> board;
    reader::RecordingReader recorder;
    HookReader hook;
};

}  // namespace iso15693test

#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <functional>
#include <memory>

#include "core/product_catalogue.hpp"
#include "iso15693/iso15693_window.hpp"
#include "iso15693/register.hpp"
#include "reader/dispatching_reader.hpp"
#include "reader/recording_reader.hpp"
#include "simboard/simulated_board.hpp"
#include "test_context.hpp"
#include "widgets/hex_entry_box.hpp"

namespace iso15693test {

// Passes every call on and runs a hook after each SendReceive: how a test acts inside a
// run's pauses, the way a user's click arrives there.
class HookReader : public reader::DispatchingReader {
  public:
    explicit HookReader(reader::ReaderLibrary& inner) : inner_(inner) {}
    std::function<void(int)> afterSendReceive;
    int sendReceives = 0;

  protected:
    reader::LibraryStatus dispatch(reader::ReaderFunction f, std::string_view request,
                                   reader::AnswerBuffer* answer) override {
        reader::AnswerBuffer scratch;
        const reader::LibraryStatus s = inner_.call(f, request, answer ? *answer : scratch);
        if (f == reader::ReaderFunction::SendReceive) {
            ++sendReceives;
            if (afterSendReceive) afterSendReceive(sendReceives);
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
    // The log from the first entry on, with the fixed clock's date and time.
    QString log() const { return w->logText(); }

    testsupport::TestContext tc;
    iso15693::Iso15693Window* w = nullptr;
};

// The same on the simulated board, each call journalled.
class SimWindowTest : public WindowTest {
  public:
    explicit SimWindowTest(
        std::unique_ptr<simboard::SimulatedBoard> b = std::make_unique<simboard::SimulatedBoard>())
        : WindowTest(nullptr), board(std::move(b)), recorder(*board), hook(recorder) {
        tc.ctx->setReader(hook);
    }
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

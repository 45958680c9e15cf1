#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "core/hex_checks.hpp"
#include "core/product_catalogue.hpp"
#include "iso14443b/register.hpp"
#include "log_buttons.hpp"
#include "loop_bound.hpp"
#include "reader/dispatching_reader.hpp"
#include "reader/recording_reader.hpp"
#include "simboard/simulated_board.hpp"
#include "test_context.hpp"
#include "watched_reader.hpp"
#include "widgets/hex_entry_box.hpp"
#include "widgets/log_view.hpp"

namespace iso14443btest {

// The fixed clock's date and time, as every log entry starts.
inline const QString kStamp = QStringLiteral("\r\n03-14-2026 09:26:53\t");

// One entry of a window's log, read back from its text.
struct LogLine {
    QString title;  // empty for the untitled echo entries
    QString call;   // the log name, then ", " and the request where there is one
    QString answer;
    bool operator==(const LogLine&) const = default;
};
inline void PrintTo(const LogLine& l, std::ostream* os) {
    *os << '{' << l.title.toStdString() << " | " << l.call.toStdString() << " | "
        << l.answer.toStdString() << '}';
}

inline std::vector<LogLine> logLines(const QString& log) {
    std::vector<LogLine> out;
    for (const QString& chunk : log.split(kStamp, Qt::SkipEmptyParts)) {
        LogLine l;
        QString rest = chunk;
        if (!rest.startsWith(QLatin1String(">>> "))) {
            const qsizetype eol = rest.indexOf(QLatin1String("\r\n\t\t\t"));
            l.title = rest.left(eol);
            rest = rest.mid(eol + 5);
        }
        const qsizetype answerAt = rest.indexOf(QLatin1String("\r\n\t\t\t<<< "));
        l.call = rest.mid(4, answerAt - 4);
        l.answer = rest.mid(answerAt + 9);
        out.push_back(l);
    }
    return out;
}

// Runs `fn` inside the next event pump, as a click arriving during a run's pause.
inline void duringNextPump(QObject* context, std::function<void()> fn) {
    QMetaObject::invokeMethod(context, std::move(fn), Qt::QueuedConnection);
}

// Passes a window's loops may make in a test that does not bound them itself: more than
// any test makes, few enough to fail at once.
inline constexpr int kDefaultPassLimit = 40;

// A reader in front of the test's own that counts the passes of the windows' loops by the
// request each pass opens with (RESET TO INVENTORY of the memory tags' anticollision, REQB
// or WUPB, REQC) against a bound: a loop that fails to end fails its test at once instead
// of running to ctest's timeout.
class PassBoundReader : public testsupport::WatchedReader {
  public:
    explicit PassBoundReader(reader::ReaderLibrary* inner = nullptr) : WatchedReader(inner) {
        before = [this](reader::ReaderFunction f, std::string_view request) {
            if (f != reader::ReaderFunction::SendReceive || !opensAPass(request)) return;
            if (bound_) bound_->pass();
            if (atPass) atPass();
        };
    }
    void forwardTo(reader::ReaderLibrary& reader) { inner = &reader; }

    // From now on the loops of `window` may make `limit` passes.
    void bound(core::ToolWindow* window, int limit) { bound_.emplace(window, limit); }
    // Runs as each pass opens, before its first request goes.
    std::function<void()> atPass;

    static bool opensAPass(std::string_view request) {
        return request == "0C" || request.substr(0, 2) == "05" || request == "00FFFF0000";
    }

  private:
    std::optional<testsupport::LoopBound> bound_;
};

// A window of this folder opened as the product menus open it, on the test's reader. With
// a pass bound, each window it opens may loop `kDefaultPassLimit` passes.
template <class Window, core::WindowKind Kind>
class TagWindowDriver {
  public:
    explicit TagWindowDriver(testsupport::TestContext& tc, PassBoundReader* passBound = nullptr)
        : tc_(tc), passBound_(passBound) {
        tc_.scripted.setHealthyDefaults();
        iso14443b::registerWindows(tc_.ctx->windows());
    }
    ~TagWindowDriver() {
        tc_.ctx->windows().closeAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Chooses the product menu entry (the window's load runs).
    Window* select(const char* caption) {
        core::SelectProduct(*tc_.ctx, QString::fromLatin1(caption));
        w = static_cast<Window*>(tc_.ctx->windows().find(Kind));
        if (passBound_ && w) passBound_->bound(w, kDefaultPassLimit);
        return w;
    }

    template <class T>
    T* get(const QString& name) {
        auto* c = w->template findChild<T*>(name);
        EXPECT_NE(c, nullptr) << name.toStdString();
        return c;
    }
    void click(const QString& name) { get<QAbstractButton>(name)->click(); }
    QString box(const QString& name) { return get<QLineEdit>(name)->text(); }
    QString label(const QString& name) { return get<QLabel>(name)->text(); }
    // Types into an entry box as a user would, then leaves it.
    void type(const QString& name, const QString& text) {
        auto* b = get<widgets::HexEntryBox>(name);
        b->setText(text);
        b->commit();
    }
    void tick(const QString& name, bool ticked) {
        auto* c = get<QCheckBox>(name);
        if (c->isChecked() != ticked) c->click();
    }
    bool shown(const QString& name) { return !get<QWidget>(name)->isHidden(); }
    std::vector<LogLine> log() { return logLines(w->windowLogText()); }

    void expectSaveAndClearLog(const QString& logBox) {
        testsupport::expectSaveAndClearLog(tc_, w, [this] { return w->windowLogText(); }, {logBox});
    }

    // "Send any frame" of a frame pasted into the box and sent without leaving it: its
    // blanks are removed ("02 20 00" goes as "022000"); text still not hex is refused with
    // the message naming the box and nothing goes. `sent` lists the frames sent so far.
    void expectPastedFramesPackedOrRefused(const QString& frameBox, const QString& sendButton,
                                           const std::function<std::vector<std::string>()>& sent) {
        auto* box = get<QLineEdit>(frameBox);
        box->setText(QStringLiteral("02 20 00"));
        click(sendButton);
        ASSERT_FALSE(sent().empty());
        EXPECT_EQ(sent().back(), "022000");
        EXPECT_EQ(box->text(), "022000");

        const std::size_t before = sent().size();
        const std::size_t messages = tc_.ui.messages().size();
        box->setText(QStringLiteral("0B zz"));
        tc_.ui.expectMessage();
        click(sendButton);
        EXPECT_EQ(sent().size(), before);
        ASSERT_EQ(tc_.ui.messages().size(), messages + 1);
        EXPECT_EQ(tc_.ui.messages().back().text,
                  core::notHexRefusalText(QStringLiteral("Send any frame")));
    }

    Window* w = nullptr;

  private:
    testsupport::TestContext& tc_;
    PassBoundReader* passBound_;
};

// The simulated board, every call recorded, with the tags the test puts on it.
struct RecordedBoard {
    simboard::SimulatedBoard board;
    reader::RecordingReader recorder{board};
    // What the window calls: the recorder behind the pass bound.
    PassBoundReader bounded{&recorder};

    // Replaces the tags on the antenna: each entry a kind and its keys.
    void setTags(std::vector<simboard::TagSpec> tags) {
        simboard::BoardConfig c = board.config();
        c.tags = std::move(tags);
        board.applyConfig(c);
    }
    std::vector<std::string> sent() const {
        std::vector<std::string> out;
        for (const auto& e : recorder.callsTo(reader::ReaderFunction::SendReceive))
            out.push_back(e.request);
        return out;
    }
};

}  // namespace iso14443btest

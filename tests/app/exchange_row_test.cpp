// When a window sends, the row that shows the exchange already shows the new request, and
// an empty answer, when the board is called: the answer of the exchange before never
// stands beside the new request, as it would for as long as a slow board takes to answer.
// The window is looked at from inside each board call, after an exchange of another button
// (or of the same one) has left its request and answer in the row. The same holds for the
// exchanges a run makes by itself before those the user asked for (the echo and the field
// off at the start of a detection run), and once such an exchange is over its row shows
// its own request and answer, not the request of the run before beside the new answer.

#include <gtest/gtest.h>

#include <QTimer>
#include <algorithm>
#include <map>
#include <optional>

#include "sending_buttons.hpp"

namespace {

using apptest::Click;
using apptest::SendingButton;
using apptest::WindowCase;

// A request as the board is given it: without blanks, in capitals.
QString packed(const QString& request) {
    QString p = request.toUpper();
    p.remove(QLatin1Char(' '));
    return p;
}

// The call that carried what row `row` shows once the click is over: the last one whose
// request holds the row's request. None when the row shows no request.
const Click::Call* rowCall(const Click& click, std::size_t row) {
    if (row >= click.rowsAfter.size()) return nullptr;
    const QString shown = packed(click.rowsAfter[row].request);
    if (shown.isEmpty()) return nullptr;
    for (auto it = click.calls.rbegin(); it != click.calls.rend(); ++it) {
        if (packed(QString::fromStdString(it->request)).contains(shown)) return &*it;
    }
    return nullptr;
}

// The button whose exchange is in row `row` when `s` is clicked: another button of the
// same view that fills the row with another request, else `s` itself.
const SendingButton& previousOf(const std::vector<SendingButton>& sending, const SendingButton& s,
                                std::size_t row) {
    const QString own = packed(s.normal.rowsAfter[row].request);
    for (const SendingButton& other : sending) {
        if (other.view.name != s.view.name || !rowCall(other.normal, row)) continue;
        if (packed(other.normal.rowsAfter[row].request) != own) return other;
    }
    return s;
}

// The fewest exchanges of a window of each kind (the fewest of its products) looked at
// with the answer before still in the row when the click came.
int leastRowsChecked(core::WindowKind kind) {
    using K = core::WindowKind;
    switch (kind) {
        case K::Iso15693:
            return 18;
        case K::Console:
            return 15;
        case K::AutoDetect:
            return 5;
        case K::Iso14443A:
        case K::Iso14443B:
            return 4;
        case K::TagDetection:
        case K::Iso18092:
            return 2;
        case K::BoardTools:
            return 1;
        default:
            return 0;  // the script, its help and the About box have no exchange row
    }
}

class ExchangeRowAtTheCall : public ::testing::TestWithParam<WindowCase> {};

TEST_P(ExchangeRowAtTheCall, TheRowShowsTheNewRequestAndNoAnswerWhileTheBoardIsCalled) {
    apptest::Program p;
    const std::vector<SendingButton> sending = apptest::sendingButtons(p, GetParam());
    int checked = 0;
    for (const SendingButton& s : sending) {
        for (std::size_t r = 0; r < s.normal.rowsAfter.size(); ++r) {
            if (!rowCall(s.normal, r)) continue;
            const SendingButton& before = previousOf(sending, s, r);
            core::ToolWindow* w = apptest::freshWindow(p, GetParam(), s.view);
            ASSERT_NE(w, nullptr);
            const std::vector<apptest::Row> rows = apptest::exchangeRows(w);
            SCOPED_TRACE(s.where() + ", row " + rows[r].name.toStdString() + ", after " +
                         before.name.toStdString());
            QAbstractButton* first = apptest::buttonOf(w, before);
            ASSERT_NE(first, nullptr);
            apptest::clickWatched(p, w, first);
            const apptest::RowTexts old{rows[r].request->text(), rows[r].answer->text()};
            QAbstractButton* b = apptest::buttonOf(w, s);
            ASSERT_NE(b, nullptr);
            const Click again = apptest::clickWatched(p, w, b);
            const Click::Call* call = rowCall(again, r);
            if (!call) {
                ADD_FAILURE() << "no call carried the request the row shows";
            } else {
                EXPECT_EQ(call->rows[r].request, again.rowsAfter[r].request)
                    << "the request before: " << old.request.toStdString();
                EXPECT_EQ(call->rows[r].answer, QString())
                    << "the answer before: " << old.answer.toStdString();
                if (!old.answer.isEmpty()) ++checked;
            }
            // Every other exchange of the click that the row shows while it lasts (each
            // block of a range, each slot of an anticollision) has no answer beside it.
            for (const Click::Call& c : again.calls) {
                const QString shown = packed(c.rows[r].request);
                if (&c == call || shown.isEmpty() ||
                    !packed(QString::fromStdString(c.request)).contains(shown))
                    continue;
                EXPECT_EQ(c.rows[r].answer, QString())
                    << "beside " << c.rows[r].request.toStdString() << " at the call " << c.request;
            }
            apptest::closeEveryWindow(p);
        }
    }
    EXPECT_GE(checked, leastRowsChecked(GetParam().kind));
}

// The exchanges a run makes by itself, before any the user asked for: the echo a
// detection run begins with (a call with no request: the row shows none) and the field
// switched off at the start of each pass (the select "0000").
std::optional<QString> ownExchangeRequest(const Click::Call& call) {
    if (call.function == reader::ReaderFunction::Echo) return QString();
    if (call.function == reader::ReaderFunction::Select && call.request == "0000")
        return QStringLiteral("0000");
    return std::nullopt;
}

// The fewest exchanges a window of each kind makes by itself in its runs, looked at with
// the answer of the run before still in the row when the click came.
int leastOwnExchangesChecked(core::WindowKind kind) {
    using K = core::WindowKind;
    switch (kind) {
        case K::AutoDetect:
            return 2;  // the echo and the field off of the run's one pass
        case K::TagDetection:
            return 2;  // the echo of the calibration and of the detection run
        default:
            return 0;
    }
}

TEST_P(ExchangeRowAtTheCall, AnExchangeARunMakesByItselfShowsItsRequestAndItsAnswerOnly) {
    apptest::Program p;
    int checked = 0;
    for (const SendingButton& s : apptest::sendingButtons(p, GetParam())) {
        // A click that makes only such exchanges is the user's own (an Echo button).
        const auto own = [](const Click::Call& c) { return ownExchangeRequest(c).has_value(); };
        if (std::none_of(s.normal.calls.begin(), s.normal.calls.end(), own) ||
            std::all_of(s.normal.calls.begin(), s.normal.calls.end(), own))
            continue;
        SCOPED_TRACE(s.where());
        core::ToolWindow* w = apptest::freshWindow(p, GetParam(), s.view);
        ASSERT_NE(w, nullptr);
        const std::vector<apptest::Row> rows = apptest::exchangeRows(w);
        QAbstractButton* b = apptest::buttonOf(w, s);
        ASSERT_NE(b, nullptr);
        apptest::clickWatched(p, w, b);
        const std::vector<apptest::RowTexts> old = apptest::rowTexts(rows);

        // The rows once the window has shown what a call answered: at the next pass of
        // events, when no other call came first.
        std::map<std::size_t, std::vector<apptest::RowTexts>> shownAfter;
        std::size_t calls = 0;
        p.watched.watch = [&](reader::ReaderFunction, std::string_view) {
            const std::size_t call = calls++;
            QTimer::singleShot(0, w, [&, call] {
                if (calls == call + 1) shownAfter[call] = apptest::rowTexts(rows);
            });
        };
        const Click again = apptest::clickWatched(p, w, b);
        QCoreApplication::processEvents();
        p.watched.watch = nullptr;

        for (std::size_t i = 0; i < again.calls.size(); ++i) {
            const Click::Call& c = again.calls[i];
            const std::optional<QString> request = ownExchangeRequest(c);
            if (!request) continue;
            SCOPED_TRACE(std::string(reader::exportedName(c.function)) + " " + c.request);
            const auto after = shownAfter.find(i);
            ASSERT_NE(after, shownAfter.end()) << "the run let no events run after the call";
            // The row the exchange was shown in: the one it changed.
            std::size_t r = 0;
            while (r < rows.size() && after->second[r].request == c.rows[r].request &&
                   after->second[r].answer == c.rows[r].answer)
                ++r;
            if (r == rows.size()) {
                ADD_FAILURE() << "no row shows the exchange";
                continue;
            }
            EXPECT_EQ(packed(c.rows[r].request), *request)
                << "at the call; the request before: " << old[r].request.toStdString();
            EXPECT_EQ(c.rows[r].answer, QString())
                << "at the call; the answer before: " << old[r].answer.toStdString();
            EXPECT_EQ(packed(after->second[r].request), *request) << "once the exchange is over";
            EXPECT_NE(after->second[r].answer, QString()) << "once the exchange is over";
            if (!old[r].answer.isEmpty()) ++checked;
        }
        apptest::closeEveryWindow(p);
    }
    EXPECT_GE(checked, leastOwnExchangesChecked(GetParam().kind));
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, ExchangeRowAtTheCall,
                         ::testing::ValuesIn(apptest::builtWindows()),
                         [](const ::testing::TestParamInfo<WindowCase>& info) {
                             return apptest::caseName(info.param);
                         });

}  // namespace

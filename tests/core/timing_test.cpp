#include "core/timing.hpp"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <chrono>
#include <future>
#include <memory>
#include <thread>

#include "core/clock.hpp"

namespace {

// How long past its time a pause may take on a loaded machine before it counts as
// never ending.
constexpr int kOverrunMs = 2000;

// Each pause runs on a thread of its own, so that one that never ends fails here within
// seconds rather than holding up the whole test program.
TEST(RealTiming, APauseLastsAtLeastItsTimeAndEnds) {
    for (const int ms : {0, 1, 60}) {
        auto done = std::make_shared<std::promise<qint64>>();
        std::future<qint64> elapsedNs = done->get_future();
        std::thread pausing([ms, done] {
            QElapsedTimer timer;
            timer.start();
            core::RealTiming().pause(ms);
            done->set_value(timer.nsecsElapsed());
        });
        if (elapsedNs.wait_for(std::chrono::milliseconds(ms + kOverrunMs)) !=
            std::future_status::ready) {
            pausing.detach();
            ADD_FAILURE() << "a pause of " << ms << " ms has not ended after " << ms + kOverrunMs
                          << " ms";
            continue;
        }
        pausing.join();
        EXPECT_GE(elapsedNs.get(), qint64{ms} * 1000 * 1000) << "a pause of " << ms << " ms";
    }
}

// The program pauses on its one thread, so its timers must fire during a pause: each
// once and not before its time, and none whose object is gone.
TEST(RealTiming, TimersFireOnTimeDuringAPause) {
    core::RealTiming timing;
    QElapsedTimer clock;
    clock.start();
    QObject context;
    int fired = 0;
    qint64 firedAtMs = -1;
    timing.after(20, &context, [&] {
        ++fired;
        firedAtMs = clock.elapsed();
    });
    auto* gone = new QObject;
    bool firedForGone = false;
    timing.after(10, gone, [&] { firedForGone = true; });
    delete gone;

    timing.pause(60);
    EXPECT_EQ(fired, 1);
    EXPECT_GE(firedAtMs, 20);
    EXPECT_FALSE(firedForGone);
    timing.pause(40);
    EXPECT_EQ(fired, 1);
}

// Log entries carry the moment they are written, on the user's own clock.
TEST(SystemClock, TellsTheLocalTimeNow) {
    const QDateTime before = QDateTime::currentDateTime();
    const QDateTime now = core::SystemClock().now();
    const QDateTime after = QDateTime::currentDateTime();
    EXPECT_TRUE(before <= now && now <= after)
        << now.toString(Qt::ISODateWithMs).toStdString() << " is not between "
        << before.toString(Qt::ISODateWithMs).toStdString() << " and "
        << after.toString(Qt::ISODateWithMs).toStdString();
    EXPECT_EQ(now.timeSpec(), Qt::LocalTime);
}

}  // namespace

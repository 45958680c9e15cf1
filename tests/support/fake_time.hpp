#pragma once

#include <QPointer>
#include <functional>
#include <vector>

#include "core/clock.hpp"
#include "core/timing.hpp"

namespace testsupport {

// A clock that stands still unless a test moves it.
class FixedClock : public core::Clock {
  public:
    explicit FixedClock(QDateTime t = QDateTime(QDate(2026, 3, 14), QTime(9, 26, 53))) : t_(t) {}
    QDateTime now() const override { return t_; }
    void set(const QDateTime& t) { t_ = t; }

  private:
    QDateTime t_;
};

// Virtual time: pauses and timers complete without waiting. `pause` moves time on and
// fires what fell due, letting events run once, as a short real pause would.
class FakeTiming : public core::Timing {
  public:
    void pause(int ms) override;
    void after(int ms, QObject* context, std::function<void()> fn) override;

    // Moves virtual time on by `ms`, firing the timers that fall due in order.
    void advance(int ms);
    qint64 now() const { return now_; }
    int pendingTimers() const;
    qint64 totalPaused() const { return paused_; }
    // Runs at every pause, before it lets events run: what the user does while a run
    // waits (a click during a Send's pause). It may pause again inside itself.
    void setPauseHook(std::function<void()> hook) { pauseHook_ = std::move(hook); }

  private:
    struct Timer {
        qint64 due;
        QPointer<QObject> context;
        bool hadContext;
        std::function<void()> fn;
    };
    std::vector<Timer> timers_;
    qint64 now_ = 0;
    qint64 paused_ = 0;
    std::function<void()> pauseHook_;
};

}  // namespace testsupport

#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

namespace core {

// Delays and timers. Pauses keep the event loop running; tests replace this with a
// source they can fast-forward, so no test sits through a real delay.
class Timing {
  public:
    virtual ~Timing() = default;
    // Waits `ms` milliseconds while letting events run.
    virtual void pause(int ms) = 0;
    // Runs `fn` once after `ms` milliseconds, unless `context` is gone by then.
    virtual void after(int ms, QObject* context, std::function<void()> fn) = 0;
};

class RealTiming : public Timing {
  public:
    void pause(int ms) override;
    void after(int ms, QObject* context, std::function<void()> fn) override;
};

}  // namespace core

#pragma once

#include <QDateTime>

namespace core {

// The date and time written into log entries; tests give a fixed one.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock : public Clock {
  public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

}  // namespace core

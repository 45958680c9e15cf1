#include "core/timing.hpp"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <QTimer>

namespace core {

void RealTiming::pause(int ms) {
    QDeadlineTimer deadline(ms);
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        if (!deadline.hasExpired()) QThread::msleep(std::min<qint64>(5, deadline.remainingTime()));
    } while (!deadline.hasExpired());
}

void RealTiming::after(int ms, QObject* context, std::function<void()> fn) {
    QTimer::singleShot(ms, context, std::move(fn));
}

}  // namespace core

#include "core/pump.hpp"

#include <QCoreApplication>

namespace core {

namespace {
PumpWatcher pumpWatcher = nullptr;
}  // namespace

void setPumpWatcher(PumpWatcher watcher) { pumpWatcher = watcher; }

void pumpEvents(int passes) {
    for (int i = 0; i < passes; ++i) {
        if (pumpWatcher) pumpWatcher();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

}  // namespace core

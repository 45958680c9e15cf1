#include "core/pump.hpp"

#include <QCoreApplication>

namespace core {

void pumpEvents(int passes) {
    for (int i = 0; i < passes; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents);
}

}  // namespace core

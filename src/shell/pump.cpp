#include "shell/pump.hpp"

#include <QCoreApplication>

namespace shell {

void pumpEvents(int passes) {
    for (int i = 0; i < passes; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents);
}

}  // namespace shell

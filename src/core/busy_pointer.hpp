#pragma once

#include "core/ui.hpp"

namespace core {

// The hourglass for the life of an operation: on at the start, off at every exit. The
// pointer is a switch, not a stack, so a nested operation's end turns it off too.
class BusyPointer {
  public:
    explicit BusyPointer(Ui& ui) : ui_(ui) { ui_.setBusy(true); }
    ~BusyPointer() { ui_.setBusy(false); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

  private:
    Ui& ui_;
};

}  // namespace core

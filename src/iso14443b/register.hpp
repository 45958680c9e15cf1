#pragma once

namespace core {
class WindowRegistry;
}

namespace iso14443b {

// The ISO14443-B and ISO18092 windows.
void registerWindows(core::WindowRegistry& registry);

}  // namespace iso14443b

#pragma once

namespace core {
class WindowRegistry;
}

namespace iso14443a {

// The ISO14443-A window, opened by the ISO14443-A and TOPAZ products.
void registerWindows(core::WindowRegistry& registry);

}  // namespace iso14443a

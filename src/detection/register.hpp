#pragma once

namespace core {
class WindowRegistry;
}

namespace detection {

// The tag detection and auto-detection windows.
void registerWindows(core::WindowRegistry& registry);

}  // namespace detection

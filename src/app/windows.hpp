#pragma once

namespace core {
class WindowRegistry;
}

namespace app {

// Registers the windows of every folder that has some: the program's whole set of tool
// windows, for the program and for the tests that check every window at once.
void registerAllWindows(core::WindowRegistry& registry);

}  // namespace app

#pragma once

namespace core {
class WindowRegistry;
}

namespace shell {

// Gives the registry a factory for each window of this folder.
void registerWindows(core::WindowRegistry& registry);

}  // namespace shell

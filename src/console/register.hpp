#pragma once

namespace core {
class WindowRegistry;
}

namespace console {

// Gives the registry a factory for each window of this folder.
void registerWindows(core::WindowRegistry& registry);

}  // namespace console

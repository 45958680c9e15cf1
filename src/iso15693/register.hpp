#pragma once

namespace core {
class WindowRegistry;
}

namespace iso15693 {

// Gives the registry a factory for each window of this folder.
void registerWindows(core::WindowRegistry& registry);

}  // namespace iso15693

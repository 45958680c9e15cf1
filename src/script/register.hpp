#pragma once

namespace core {
class WindowRegistry;
}

namespace script {

// Gives the registry a factory for each window of this folder.
void registerWindows(core::WindowRegistry& registry);

}  // namespace script

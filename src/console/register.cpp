#include "console/register.hpp"

#include "console/console_window.hpp"
#include "core/window_registry.hpp"

namespace console {

void registerWindows(core::WindowRegistry& registry) {
    registry.registerFactory(core::WindowKind::Console,
                             [](core::AppContext& c) { return new ConsoleWindow(c); });
}

}  // namespace console

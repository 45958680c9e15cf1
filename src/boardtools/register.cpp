#include "boardtools/register.hpp"

#include "boardtools/board_tools_window.hpp"
#include "core/window_registry.hpp"

namespace boardtools {

void registerWindows(core::WindowRegistry& registry) {
    registry.registerFactory(core::WindowKind::BoardTools,
                             [](core::AppContext& c) { return new BoardToolsWindow(c); });
}

}  // namespace boardtools

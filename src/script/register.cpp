#include "script/register.hpp"

#include "core/window_registry.hpp"
#include "script/script_help_window.hpp"
#include "script/script_window.hpp"

namespace script {

void registerWindows(core::WindowRegistry& registry) {
    registry.registerFactory(core::WindowKind::Script,
                             [](core::AppContext& c) { return new ScriptWindow(c); });
    registry.registerFactory(core::WindowKind::ScriptHelp,
                             [](core::AppContext& c) { return new ScriptHelpWindow(c); });
}

}  // namespace script

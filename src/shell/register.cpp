#include "shell/register.hpp"

#include "core/window_registry.hpp"
#include "shell/about_box.hpp"
#include "shell/startup_detection.hpp"

namespace shell {

void registerWindows(core::WindowRegistry& registry) {
    registry.registerFactory(core::WindowKind::StartupDetection,
                             [](core::AppContext& c) { return new StartupDetectionWindow(c); });
    registry.registerFactory(core::WindowKind::About,
                             [](core::AppContext& c) { return new AboutBox(c); });
}

}  // namespace shell

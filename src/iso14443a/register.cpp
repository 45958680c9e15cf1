#include "iso14443a/register.hpp"

#include "core/window_registry.hpp"
#include "iso14443a/iso14443a_window.hpp"

namespace iso14443a {

void registerWindows(core::WindowRegistry& registry) {
    registry.registerFactory(core::WindowKind::Iso14443A,
                             [](core::AppContext& c) { return new Iso14443aWindow(c); });
}

}  // namespace iso14443a

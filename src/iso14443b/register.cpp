#include "iso14443b/register.hpp"

#include "core/window_registry.hpp"
#include "iso14443b/iso14443b_window.hpp"
#include "iso14443b/iso18092_window.hpp"

namespace iso14443b {

void registerWindows(core::WindowRegistry& registry) {
    registry.registerFactory(core::WindowKind::Iso14443B,
                             [](core::AppContext& c) { return new Iso14443bWindow(c); });
    registry.registerFactory(core::WindowKind::Iso18092,
                             [](core::AppContext& c) { return new Iso18092Window(c); });
}

}  // namespace iso14443b

#include "iso15693/register.hpp"

#include "core/window_registry.hpp"
#include "iso15693/iso15693_window.hpp"

namespace iso15693 {

void registerWindows(core::WindowRegistry& registry) {
    registry.registerFactory(core::WindowKind::Iso15693,
                             [](core::AppContext& c) { return new Iso15693Window(c); });
}

}  // namespace iso15693

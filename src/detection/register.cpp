#include "detection/register.hpp"

#include "core/window_registry.hpp"
#include "detection/auto_detect_window.hpp"
#include "detection/tag_detection_window.hpp"

namespace detection {

void registerWindows(core::WindowRegistry& registry) {
    registry.registerFactory(core::WindowKind::AutoDetect,
                             [](core::AppContext& ctx) { return new AutoDetectWindow(ctx); });
    registry.registerFactory(core::WindowKind::TagDetection,
                             [](core::AppContext& ctx) { return new TagDetectionWindow(ctx); });
}

}  // namespace detection

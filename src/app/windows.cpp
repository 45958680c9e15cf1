#include "app/windows.hpp"

#include "boardtools/register.hpp"
#include "console/register.hpp"
#include "detection/register.hpp"
#include "iso14443a/register.hpp"
#include "iso14443b/register.hpp"
#include "iso15693/register.hpp"
#include "script/register.hpp"
#include "shell/register.hpp"

namespace app {

void registerAllWindows(core::WindowRegistry& registry) {
    shell::registerWindows(registry);
    boardtools::registerWindows(registry);
    console::registerWindows(registry);
    detection::registerWindows(registry);
    iso14443a::registerWindows(registry);
    iso14443b::registerWindows(registry);
    iso15693::registerWindows(registry);
    script::registerWindows(registry);
}

}  // namespace app

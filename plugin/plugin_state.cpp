#include "plugin/plugin_state.h"

#include <cstring>
#include <vector>

PluginState& pluginState() {
    static PluginState state;
    return state;
}

void readModulePath(HINSTANCE module, char (&path)[MODULE_PATH_CAPACITY]) {
    // Read into a buffer large enough for any path, then cut it ourselves:
    // how GetModuleFileNameA terminates a truncated path differs between
    // Windows versions.
    std::vector<char> full(32768, '\0');
    const DWORD length = GetModuleFileNameA(module, full.data(), static_cast<DWORD>(full.size()));
    const std::size_t kept = length < MODULE_PATH_CAPACITY ? length : MODULE_PATH_CAPACITY - 1;
    std::memcpy(path, full.data(), kept);
    path[kept] = '\0';
}

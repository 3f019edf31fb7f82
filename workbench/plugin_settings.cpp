#include "workbench/plugin_settings.h"

#include "store/settings_file.h"
#include "store/settings_path.h"
#include "store/win32_file_store.h"
#include "store/win32_path.h"

std::string settingsPathOf(HMODULE plugin) {
    // The plug-in's own reading of its path, so that both name the same file.
    const std::string modulePath = readModulePath(plugin);
    return modulePath.empty() ? std::string() : settingsPathFor(modulePath);
}

std::optional<PositionerModel> storedModel(const std::string& settingsPath) {
    if (settingsPath.empty()) return std::nullopt;
    Win32FileStore files;
    const FileStore::Content content = files.read(settingsPath);
    if (content.state != FileStore::State::Read) return std::nullopt;
    return settingsIn(content.bytes).model;
}

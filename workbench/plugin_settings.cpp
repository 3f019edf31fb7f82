#include "workbench/plugin_settings.h"

#include "store/portable_file_store.h"
#include "store/settings_file.h"
#include "store/settings_path.h"

std::string settingsPathOf(HMODULE plugin) {
    // The workbench takes the plug-in's path as ANSI text, and so names its file.
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(plugin, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return settingsPathFor(std::string(path, length));
}

std::optional<PositionerModel> storedModel(const std::string& settingsPath) {
    if (settingsPath.empty()) return std::nullopt;
    PortableFileStore files;
    const FileStore::Content content = files.read(settingsPath);
    if (content.state != FileStore::State::Read) return std::nullopt;
    return settingsIn(content.bytes).model;
}

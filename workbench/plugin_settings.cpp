#include "workbench/plugin_settings.h"

#include "dish/dish_record.h"
#include "dish/dish_tracker.h"
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

std::string dishStatePathOf(const std::string& settingsPath) {
    return settingsPath.empty() ? std::string() : dishStatePathFor(settingsPath);
}

PluginBelief readPluginBelief(const std::string& statePath, double degreesPerSecond) {
    if (statePath.empty()) return {false, DishModel::unknown(degreesPerSecond)};
    Win32FileStore files;
    const FileStore::Content content = files.read(statePath);
    const bool read = content.state == FileStore::State::Read;
    return {content.state != FileStore::State::Missing,
            decodeDishRecord(read ? content.bytes : std::string(), degreesPerSecond)};
}

DishStateRemoval removeDishState(const std::string& statePath) {
    const std::optional<std::wstring> path = win32FilePath(statePath);
    if (!path) return DishStateRemoval::Failed;
    if (DeleteFileW(path->c_str())) return DishStateRemoval::Removed;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
               ? DishStateRemoval::Missing
               : DishStateRemoval::Failed;
}

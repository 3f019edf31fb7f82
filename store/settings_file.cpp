#include "store/settings_file.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "positioner/decimal_text.h"
#include "store/factory_satellite_table.h"
#include "store/profile_text.h"

namespace {

constexpr std::string_view NAMES_SECTION = "SATELLITE NAMES";
constexpr std::string_view POSITIONER_SECTION = "POSITIONER";
constexpr std::string_view TYPE_KEY = "TYPE";
constexpr std::string_view SITE_SECTION = "SITE";
constexpr std::string_view LATITUDE_KEY = "LATITUDE";
constexpr std::string_view LONGITUDE_KEY = "LONGITUDE";
constexpr std::string_view NEW_FILE_HEADER = "[SATELLITE NAMES]\r\n[POSITIONER]\r\n";
constexpr std::size_t READ_CAPACITY = 64;
// Names are cut to this length on writing.
constexpr std::size_t WRITTEN_NAME_LIMIT = 149;

std::string positionKey(int position) {
    return "POS" + std::to_string(position);
}

std::string withNames(std::string content, const SatelliteNameTable& names) {
    for (std::size_t i = 0; i < SATELLITE_COUNT; ++i) {
        const std::string name =
            storableName(std::string_view(names[i]).substr(0, WRITTEN_NAME_LIMIT));
        content = withProfileValue(content, NAMES_SECTION, positionKey(static_cast<int>(i) + 1),
                                   storedProfileValue(name));
    }
    return content;
}

SatelliteNameTable factoryNameTable() {
    const auto& factory = FactorySatelliteTable::names();
    SatelliteNameTable names;
    std::copy(factory.begin(), factory.end(), names.begin());
    return names;
}

std::string withModel(std::string_view content, PositionerModel model) {
    return withProfileValue(content, POSITIONER_SECTION, TYPE_KEY, settingsValue(model));
}

std::optional<double> degreesIn(std::string_view content, std::string_view key, double limit) {
    const std::optional<double> value =
        decimalNumber(profileValue(content, SITE_SECTION, key, "", READ_CAPACITY));
    if (!value || std::fabs(*value) > limit) return std::nullopt;
    return value;
}

std::optional<Site> siteIn(std::string_view content) {
    const std::optional<double> latitude = degreesIn(content, LATITUDE_KEY, 90.0);
    const std::optional<double> longitude = degreesIn(content, LONGITUDE_KEY, 180.0);
    if (!latitude || !longitude) return std::nullopt;
    return Site{*latitude, *longitude};
}

StoredSettings settingsIn(std::string_view content) {
    StoredSettings settings;
    const auto& factory = FactorySatelliteTable::names();
    for (std::size_t i = 0; i < SATELLITE_COUNT; ++i) {
        settings.names[i] =
            profileValue(content, NAMES_SECTION, positionKey(static_cast<int>(i) + 1), factory[i],
                         READ_CAPACITY);
    }
    settings.model =
        modelFromSettingsValue(profileValue(content, POSITIONER_SECTION, TYPE_KEY,
                                            settingsValue(PositionerModel::Stab), READ_CAPACITY));
    settings.site = siteIn(content);
    return settings;
}

}  // namespace

std::string storableName(std::string_view name) {
    std::string storable(name);
    for (char& c : storable)
        if (c == '\r' || c == '\n') c = ' ';
    return storable;
}

SettingsFile::SettingsFile(std::string path, FileStore& files)
    : path_(std::move(path)), files_(files) {}

StoredSettings SettingsFile::open() {
    FileStore::Content content = files_.read(path_);
    switch (content.state) {
        case FileStore::State::Read:
            return settingsIn(content.bytes);
        case FileStore::State::Unreadable:
            // Held by another program or not readable: it still holds the user's names, and
            // factory content written now would replace them.
            return settingsIn({});
        case FileStore::State::Missing:
            break;
    }
    // Header lines first, so that the name keys land between them and TYPE lands last.
    const std::string created = withModel(
        withNames(std::string(NEW_FILE_HEADER), factoryNameTable()), PositionerModel::Stab);
    files_.replace(path_, created);
    return settingsIn(created);
}

template <class Change>
bool SettingsFile::edit(Change&& change) {
    const FileStore::Content content = files_.read(path_);
    // A file that cannot be read must not be replaced by one that holds only this change.
    if (content.state == FileStore::State::Unreadable) return false;
    const std::string updated = change(content.bytes);
    if (content.state == FileStore::State::Read && updated == content.bytes) return true;
    return files_.replace(path_, updated);
}

bool SettingsFile::writeNames(const SatelliteNameTable& names) {
    return edit([&](const std::string& content) { return withNames(content, names); });
}

bool SettingsFile::writeModel(PositionerModel model) {
    return edit([&](const std::string& content) { return withModel(content, model); });
}

bool SettingsFile::writeFactoryNames() {
    return writeNames(factoryNameTable());
}

bool SettingsFile::writeSite(const Site& site) {
    return edit([&](const std::string& content) {
        return withProfileValue(
            withProfileValue(content, SITE_SECTION, LATITUDE_KEY, oneDecimal(site.latitude)),
            SITE_SECTION, LONGITUDE_KEY, oneDecimal(site.longitude));
    });
}

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

SatelliteNameTable namesIn(std::string_view content) {
    SatelliteNameTable names;
    const auto& factory = FactorySatelliteTable::names();
    for (std::size_t i = 0; i < SATELLITE_COUNT; ++i) {
        names[i] = profileValue(content, NAMES_SECTION, positionKey(static_cast<int>(i) + 1),
                                factory[i], READ_CAPACITY);
    }
    return names;
}

}  // namespace

StoredSettings settingsIn(std::string_view content) {
    StoredSettings settings;
    settings.names = namesIn(content);
    settings.model =
        modelFromSettingsValue(profileValue(content, POSITIONER_SECTION, TYPE_KEY,
                                            settingsValue(PositionerModel::Stab), READ_CAPACITY));
    settings.site = siteIn(content);
    return settings;
}

namespace {

// Held from construction to destruction, when there is a lock and it could be had.
class LockHold {
  public:
    LockHold(EditLock* lock, const std::string& path)
        : lock_(lock), held_(!lock || lock->acquire(path)) {}
    ~LockHold() {
        if (lock_ && held_) lock_->release();
    }
    LockHold(const LockHold&) = delete;
    LockHold& operator=(const LockHold&) = delete;
    bool held() const { return held_; }

  private:
    EditLock* lock_;
    bool held_;
};

}  // namespace

std::string storableName(std::string_view name) {
    std::string storable(name);
    for (char& c : storable)
        if (c == '\r' || c == '\n') c = ' ';
    return storable;
}

SettingsFile::SettingsFile(std::string path, FileStore& files, EditLock* lock)
    : path_(std::move(path)), files_(files), lock_(lock) {}

StoredSettings SettingsFile::open() {
    // Not needed for the file's sake, as every replacement is one step; but a read under way
    // would make another window's replacement fail. Without it the file is read all the same.
    const LockHold hold(lock_, path_);
    FileStore::Content content = files_.read(path_);
    switch (content.state) {
        case FileStore::State::Read:
            return settingsIn(content.bytes);
        case FileStore::State::Unreadable: {
            // Held by another program or not readable: it still holds the user's names, and
            // factory content written now would replace them.
            StoredSettings placeholder = settingsIn({});
            placeholder.namesRead = false;
            return placeholder;
        }
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
SettingsFile::Edited SettingsFile::edit(Change&& change) {
    const LockHold hold(lock_, path_);
    if (!hold.held()) return {EditOutcome::Unreadable, {}};
    FileStore::Content content = files_.read(path_);
    // A file that cannot be read must not be replaced by one that holds only this change.
    if (content.state == FileStore::State::Unreadable) return {EditOutcome::Unreadable, {}};
    std::string updated = change(content.bytes);
    if (content.state == FileStore::State::Read && updated == content.bytes)
        return {EditOutcome::Saved, std::move(updated)};
    if (!files_.replace(path_, updated)) return {EditOutcome::Unsaved, std::move(updated)};
    return {EditOutcome::Saved, std::move(updated)};
}

bool SettingsFile::writeNames(const SatelliteNameTable& names) {
    return edit([&](const std::string& content) { return withNames(content, names); }).outcome ==
           EditOutcome::Saved;
}

NamesEdit SettingsFile::changeNames(const std::function<void(SatelliteNameTable&)>& change) {
    const Edited edited = edit([&](const std::string& content) {
        SatelliteNameTable names = namesIn(content);
        change(names);
        return withNames(content, names);
    });
    if (edited.outcome == EditOutcome::Unreadable) return {};
    return {edited.outcome, namesIn(edited.content)};
}

bool SettingsFile::writeModel(PositionerModel model) {
    return edit([&](const std::string& content) { return withModel(content, model); }).outcome ==
           EditOutcome::Saved;
}

bool SettingsFile::writeFactoryNames() {
    return writeNames(factoryNameTable());
}

bool SettingsFile::writeSite(const Site& site) {
    return edit([&](const std::string& content) {
               return withProfileValue(
                   withProfileValue(content, SITE_SECTION, LATITUDE_KEY, oneDecimal(site.latitude)),
                   SITE_SECTION, LONGITUDE_KEY, oneDecimal(site.longitude));
           }).outcome == EditOutcome::Saved;
}

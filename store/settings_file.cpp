#include "store/settings_file.h"

#include <utility>

namespace {

constexpr std::string_view NAMES_SECTION = "SATELLITE NAMES";
constexpr std::string_view POSITIONER_SECTION = "POSITIONER";
constexpr std::string_view TYPE_KEY = "TYPE";
// Header lines first, so that the name keys land between them and TYPE lands last.
constexpr std::string_view NEW_FILE_HEADER = "[SATELLITE NAMES]\r\n[POSITIONER]\r\n";
constexpr std::size_t READ_CAPACITY = 64;
// A stored name never runs longer than this: longer texts are cut on writing.
constexpr std::size_t WRITTEN_NAME_LIMIT = 149;

std::string positionKey(int position) {
    return "POS" + std::to_string(position);
}

}  // namespace

SettingsFile::SettingsFile(std::string path, ProfileAccess& profile)
    : path_(std::move(path)), profile_(profile) {}

void SettingsFile::ensureExists() {
    switch (profile_.probeForReading(path_)) {
        case ProfileAccess::Probe::Opened:
            return;
        case ProfileAccess::Probe::Unopenable:
            // Held by another program or not readable: it still holds the user's names, and
            // factory content written now would replace them.
            return;
        case ProfileAccess::Probe::Missing:
            break;
    }
    // Even when the creation fails the writes are tried: the profile functions may still manage
    // to create the file themselves.
    profile_.createWithContent(path_, NEW_FILE_HEADER);
    writeFactoryNames();
    writeModel(PositionerModel::Stab);
}

SatelliteNameTable SettingsFile::readNames() const {
    SatelliteNameTable names;
    const auto& factory = FactorySatelliteTable::names();
    for (std::size_t i = 0; i < SATELLITE_COUNT; ++i) {
        names[i] = profile_.readString(path_, NAMES_SECTION, positionKey(static_cast<int>(i) + 1),
                                       factory[i], READ_CAPACITY);
    }
    return names;
}

PositionerModel SettingsFile::readModel() const {
    return modelFromSettingsValue(profile_.readString(
        path_, POSITIONER_SECTION, TYPE_KEY, settingsValue(PositionerModel::Stab), READ_CAPACITY));
}

void SettingsFile::writeNames(const SatelliteNameTable& names) {
    for (std::size_t i = 0; i < SATELLITE_COUNT; ++i) {
        writeName(static_cast<int>(i) + 1,
                  std::string_view(names[i]).substr(0, WRITTEN_NAME_LIMIT));
    }
}

void SettingsFile::writeModel(PositionerModel model) {
    profile_.writeString(path_, POSITIONER_SECTION, TYPE_KEY, settingsValue(model));
}

void SettingsFile::writeFactoryNames() {
    const auto& factory = FactorySatelliteTable::names();
    for (std::size_t i = 0; i < SATELLITE_COUNT; ++i)
        writeName(static_cast<int>(i) + 1, factory[i]);
}

void SettingsFile::writeName(int position, std::string_view name) {
    profile_.writeString(path_, NAMES_SECTION, positionKey(position), name);
}

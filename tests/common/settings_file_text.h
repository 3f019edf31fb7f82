#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "store/factory_satellite_table.h"
#include "store/satellite_name_table.h"

// Settings files as the plug-in lays them out, written out by hand so that a
// test compares the plug-in's bytes with an independent copy.

inline constexpr char STAB_TYPE[] = "STAB HH100/120";
inline constexpr char MOTECK_TYPE[] = "MOTECK SG2100";

// The names section: POS1.. for as many names as are given.
inline std::string namesSectionText(const std::vector<std::string>& names) {
    std::string text = "[SATELLITE NAMES]\r\n";
    for (std::size_t i = 0; i < names.size(); ++i)
        text += "POS" + std::to_string(i + 1) + "=" + names[i] + "\r\n";
    return text;
}

inline std::string positionerSectionText(const std::string& type) {
    return "[POSITIONER]\r\nTYPE=" + type + "\r\n";
}

// The names section, then the model.
inline std::string settingsFileText(const std::vector<std::string>& names,
                                    const std::string& type) {
    return namesSectionText(names) + positionerSectionText(type);
}

inline std::vector<std::string> factoryNames() {
    const auto& table = FactorySatelliteTable::names();
    return {table.begin(), table.end()};
}

inline SatelliteNameTable factoryNameTable() {
    SatelliteNameTable names;
    for (std::size_t i = 0; i < SATELLITE_COUNT; ++i) names[i] = FactorySatelliteTable::names()[i];
    return names;
}

// The file the plug-in creates where there is none, or with another model.
inline std::string factorySettingsFile(const std::string& type = STAB_TYPE) {
    return settingsFileText(factoryNames(), type);
}

#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "dish/dish_model.h"
#include "positioner/positioner_model.h"

// The settings file that the loaded plug-in keeps beside itself, as a UTF-8
// path; empty when the module has no path.
std::string settingsPathOf(HMODULE plugin);

// The model that the plug-in's settings file holds: the one the user chose,
// since the plug-in writes it at every switch. Read only, never written; none
// while the file is missing or cannot be read.
std::optional<PositionerModel> storedModel(const std::string& settingsPath);

// The file in which the plug-in keeps where it believes the dish to be;
// empty when there is no settings file to put it beside.
std::string dishStatePathOf(const std::string& settingsPath);

// The plug-in's belief as its state file holds it now, read the way the
// plug-in reads it and never written. A file that is missing, cannot be read
// or is damaged gives a dish about which nothing is known, turned at
// `degreesPerSecond`.
struct PluginBelief {
    bool fileFound;
    DishModel dish;
};
PluginBelief readPluginBelief(const std::string& statePath, double degreesPerSecond);

enum class DishStateRemoval { Removed, Missing, Failed };
// Deletes the state file, so that the plug-in starts from no belief at all.
DishStateRemoval removeDishState(const std::string& statePath);

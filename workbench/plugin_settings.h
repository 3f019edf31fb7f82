#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "positioner/positioner_model.h"

// The settings file that the loaded plug-in keeps beside itself, as a UTF-8
// path; empty when the module has no path.
std::string settingsPathOf(HMODULE plugin);

// The model that the plug-in's settings file holds: the one the user chose,
// since the plug-in writes it at every switch. Read only, never written; none
// while the file is missing or cannot be read.
std::optional<PositionerModel> storedModel(const std::string& settingsPath);

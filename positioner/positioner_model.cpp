#include "positioner/positioner_model.h"

namespace {

constexpr const char* STAB_SETTINGS_VALUE = "STAB HH100/120";
// No hyphen, unlike the radio button's caption: existing settings files hold this spelling.
constexpr const char* MOTECK_SETTINGS_VALUE = "MOTECK SG2100";

}  // namespace

const char* settingsValue(PositionerModel model) {
    return model == PositionerModel::Stab ? STAB_SETTINGS_VALUE : MOTECK_SETTINGS_VALUE;
}

int storedPositions(PositionerModel model) {
    return model == PositionerModel::Stab ? 49 : 60;
}

float speed(PositionerModel model) {
    return model == PositionerModel::Stab ? STAB_SPEED : MOTECK_SPEED;
}

PositionerModel modelFromSettingsValue(std::string_view value) {
    return value == STAB_SETTINGS_VALUE ? PositionerModel::Stab : PositionerModel::Moteck;
}

#include "workbench/control_names.h"

#include <algorithm>
#include <iterator>

#include "res/resource_ids.h"

namespace {

struct NamedControl {
    int id;
    const char* name;
};

// The name is the id's own spelling, so that the two cannot drift apart.
#define NAMED(id)  \
    NamedControl { \
        id, #id    \
    }

constexpr NamedControl CONTROLS[] = {
    NAMED(IDC_CLOSE),
    NAMED(IDC_DRIVE_WEST),
    NAMED(IDC_DRIVE_EAST),
    NAMED(IDC_STEP_WEST),
    NAMED(IDC_STEP_EAST),
    NAMED(IDC_RECALCULATE),
    NAMED(IDC_STOP),
    NAMED(IDC_EAST_DEGREES),
    NAMED(IDC_EAST_SPIN),
    NAMED(IDC_WEST_DEGREES),
    NAMED(IDC_WEST_SPIN),
    NAMED(IDC_REFERENCE),
    NAMED(IDC_GOTO),
    NAMED(IDC_STORE),
    NAMED(IDC_FACTORY_RESET),
    NAMED(IDC_FRAME_1),
    NAMED(IDC_FRAME_2),
    NAMED(IDC_FRAME_3),
    NAMED(IDC_FRAME_4),
    NAMED(IDC_FRAME_5),
    NAMED(IDC_GOTO_PICKER),
    NAMED(IDC_STORE_PICKER),
    NAMED(IDC_RECALCULATE_PICKER),
    NAMED(IDC_SAT_LIST),
    NAMED(IDC_MODEL_STAB),
    NAMED(IDC_MODEL_MOTECK),
    NAMED(IDC_MODEL_GROUP),
    NAMED(IDC_API_LABEL),
    NAMED(IDC_SAT_NAME_EDIT),
    NAMED(IDC_ABOUT_VERSION),
    NAMED(IDC_SITE_LATITUDE),
    NAMED(IDC_SITE_NORTH_SOUTH),
    NAMED(IDC_SITE_LONGITUDE),
    NAMED(IDC_SITE_EAST_WEST),
    NAMED(IDC_SITE_SAVE),
    NAMED(IDC_TARGET_SATELLITE),
    NAMED(IDC_TARGET_ANGLE),
    NAMED(IDC_TARGET_ANGLE_SIDE),
    NAMED(IDC_TARGET_LOOK),
    NAMED(IDC_GOTO_ANGLE),
    NAMED(IDC_SET_WEST_LIMIT),
    NAMED(IDC_SET_EAST_LIMIT),
    NAMED(IDC_LIMITS_OFF),
    NAMED(IDC_LIMITS_ON),
    NAMED(IDC_HOLD_DRIVE_WEST),
    NAMED(IDC_HOLD_DRIVE_EAST),
    NAMED(IDC_HALT),
    NAMED(IDC_DISH_STATUS),
};

#undef NAMED

}  // namespace

std::string controlName(int id) {
    const auto named = std::find_if(std::begin(CONTROLS), std::end(CONTROLS),
                                    [id](const NamedControl& control) { return control.id == id; });
    return named != std::end(CONTROLS) ? named->name : std::to_string(id);
}

#include "dish/dish_model.h"
#include "positioner/positioner_model.h"
#include "res/resource_ids.h"
#include "res/window_captions.h"
#include "workbench/tour.h"

namespace {

// The longest that the plug-in may take the Moteck to need to reach the
// reference position from anywhere, and a little for the ticks.
unsigned referenceFromAnywhereTicks() {
    const double worst = DishModel::unknown(MOTECK_SPEED).worstCaseMs(0.0);
    return tourTicks(static_cast<unsigned>(worst) + 1000);
}

}  // namespace

std::vector<TourStep> extrasTour() {
    using namespace TourSteps;
    return {
        showDisplayName(),
        forgetDishState(),
        menuCommand(ID_PLUGIN_SETUP),
        findSetupWindow(SETUP_CAPTION, tourTicks(1000)),
        arrangeWindows(),
        // The faster motor, so that the plug-in's worst case is over sooner.
        click(IDC_MODEL_MOTECK),
        click(IDC_REFERENCE),
        systemCommand(IDM_EXTRAS),
        findExtrasWindow(EXTRAS_CAPTION, tourTicks(1000)),
        // From nowhere known the plug-in can only say how long it may take.
        showText(IDC_DISH_STATUS),
        waitForDishBelief(referenceFromAnywhereTicks()),
        showText(IDC_DISH_STATUS),
        typeText(IDC_SITE_LATITUDE, "52.0"),
        typeText(IDC_SITE_LONGITUDE, "5.0"),
        click(IDC_SITE_SAVE),
        typeText(IDC_TARGET_SATELLITE, "19.2E"),
        showText(IDC_TARGET_LOOK),
        click(IDC_GOTO_ANGLE),
        // Stored on the way, where the dish is at that moment.
        pause(1500),
        selectEntry(IDC_STORE_PICKER, 2),
        click(IDC_STORE),
        // Caught on its way, as a user would watch it, with the countdown.
        pause(1500),
        showText(IDC_DISH_STATUS),
        screenshot(),
        finish(),
    };
}

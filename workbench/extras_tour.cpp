#include "res/resource_ids.h"
#include "res/window_captions.h"
#include "workbench/tour.h"

std::vector<TourStep> extrasTour() {
    using namespace TourSteps;
    return {
        showDisplayName(),
        menuCommand(ID_PLUGIN_SETUP),
        findSetupWindow(SETUP_CAPTION, tourTicks(1000)),
        arrangeWindows(),
        systemCommand(IDM_EXTRAS),
        findExtrasWindow(EXTRAS_CAPTION, tourTicks(1000)),
        typeText(IDC_SITE_LATITUDE, "52.0"),
        typeText(IDC_SITE_LONGITUDE, "5.0"),
        click(IDC_SITE_SAVE),
        typeText(IDC_TARGET_SATELLITE, "19.2E"),
        showText(IDC_TARGET_LOOK),
        click(IDC_GOTO_ANGLE),
        // Caught on its way, as a user would watch it.
        pause(4000),
        screenshot(),
        finish(),
    };
}

#include "res/resource_ids.h"
#include "res/window_captions.h"
#include "workbench/tour.h"

std::vector<TourStep> standardTour() {
    using namespace TourSteps;
    return {
        showDisplayName(),
        menuCommand(ID_PLUGIN_SETUP),
        findSetupWindow(SETUP_CAPTION, tourTicks(1000)),
        arrangeWindows(),
        selectEntry(IDC_GOTO_PICKER, 1),
        click(IDC_GOTO),
        selectEntry(IDC_STORE_PICKER, 2),
        click(IDC_STORE),
        setUpDown(IDC_EAST_SPIN, 2),
        click(IDC_DRIVE_EAST),
        // The model buttons are locked while the drive is timed; a user would
        // wait for them too.
        waitUntilEnabled(IDC_MODEL_MOTECK, tourTicks(2000), tourTicks(10000)),
        click(IDC_MODEL_MOTECK),
        click(IDC_MODEL_STAB),
        dragRow(IDC_SAT_LIST, 1, 4),
        renameRow(IDC_SAT_LIST, 2, RENAME_CAPTION, IDC_SAT_NAME_EDIT,
                  "Astra 3B 23.5\xB0"
                  "E"),
        showListRows(IDC_SAT_LIST, {1, 2, 4}),
        // A longer drive on the faster model, caught on its way.
        click(IDC_MODEL_MOTECK),
        setUpDown(IDC_WEST_SPIN, 15),
        click(IDC_DRIVE_WEST),
        pause(4000),
        screenshot(),
        finish(),
    };
}

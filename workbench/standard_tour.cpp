#include "workbench/plugin_windows.h"
#include "workbench/tour.h"

std::vector<TourStep> standardTour() {
    using namespace TourSteps;
    return {
        showDisplayName(),
        menuCommand(40008),
        findSetupWindow(SETUP_CAPTION, tourTicks(1000)),
        selectEntry(1034, 1),
        click(1020),
        selectEntry(1035, 2),
        click(1021),
        setUpDown(1016, 2),
        click(1003),
        // The model buttons are locked while the drive is timed; a user would
        // wait for them too.
        waitUntilEnabled(1040, tourTicks(2000), tourTicks(10000)),
        click(1040),
        click(1039),
        dragRow(1038, 1, 4),
        renameRow(1038, 2, RENAME_CAPTION, 1042,
                  "Astra 3B 23.5\xB0"
                  "E"),
        showListRows(1038, {1, 2, 4}),
        screenshot(),
        finish(),
    };
}

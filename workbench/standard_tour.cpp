#include "workbench/tour.h"

namespace {

constexpr const char* SETUP_CAPTION = "Stab HH100/120 SG-2100 DiSEqC1.2 Positioner Setup V1.4";
constexpr const char* RENAME_CAPTION = "Enter/Modify Sat. Name";

constexpr UINT MENU_SETUP = 40008;

constexpr int BUTTON_DRIVE_EAST = 1003;
constexpr int UPDOWN_EAST_DEGREES = 1016;
constexpr int BUTTON_GOTO = 1020;
constexpr int BUTTON_STORE = 1021;
constexpr int COMBO_GOTO = 1034;
constexpr int COMBO_STORE = 1035;
constexpr int RADIO_STAB = 1039;
constexpr int RADIO_MOTECK = 1040;
constexpr int SATELLITE_LIST = 1038;
constexpr int NAME_EDIT = 1042;

}  // namespace

std::vector<TourStep> standardTour() {
    using namespace TourSteps;
    return {
        showDisplayName(),
        menuCommand(MENU_SETUP),
        findSetupWindow(SETUP_CAPTION, tourTicks(1000)),
        selectEntry(COMBO_GOTO, 1),
        click(BUTTON_GOTO),
        selectEntry(COMBO_STORE, 2),
        click(BUTTON_STORE),
        setUpDown(UPDOWN_EAST_DEGREES, 2),
        click(BUTTON_DRIVE_EAST),
        // The model buttons are locked while the drive is timed; a user would
        // wait for them too.
        waitUntilEnabled(RADIO_MOTECK, tourTicks(2000), tourTicks(10000)),
        click(RADIO_MOTECK),
        click(RADIO_STAB),
        dragRow(SATELLITE_LIST, 1, 4),
        doubleClickRow(SATELLITE_LIST, 2, RENAME_CAPTION, tourTicks(2000)),
        typeInDialog(RENAME_CAPTION, NAME_EDIT,
                     "Astra 3B 23.5\xB0"
                     "E"),
        clickInDialog(RENAME_CAPTION, IDOK),
        showListRows(SATELLITE_LIST, {1, 2, 4}),
        screenshot(),
        finish(),
    };
}

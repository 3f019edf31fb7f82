#include "ui/positioner_extras_dialog.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <iterator>
#include <string_view>
#include <tuple>

#include "dish/dish_status.h"
#include "positioner/joined_text.h"
#include "positioner/decimal_text.h"
#include "positioner/positioner_commands.h"
#include "res/resource_ids.h"
#include "store/win32_path.h"
#include "win/wall_clock.h"

namespace {

constexpr char DEGREE[] = "\xB0";
constexpr char BAD_SITE[] =
    "Type the latitude from 0.0 to 90.0 degrees and the longitude from 0.0 to 180.0 degrees, "
    "then choose N or S and E or W.";
constexpr char UNSAVED_SITE[] =
    "The site could not be saved: the settings file could not be written. It still holds the "
    "site saved before. The site is used until this window closes.";
constexpr char NO_TARGET[] =
    "Pick a satellite, type its orbital position such as 19.2E, or type a motor angle from 0.0 "
    "to 180.0 degrees.";
constexpr char BELOW_HORIZON[] =
    "This satellite is below the horizon of the site: the dish cannot see it. Nothing was sent.";
constexpr char NO_POSITION[] =
    "No orbital position in this name: type one such as 19.2E, or a motor angle.";
constexpr char NO_SITE[] = "Save the site first: the way to a satellite depends on it.";

// Ten redraws a second are enough for a countdown in seconds.
constexpr UINT DISH_STATUS_TICK_MS = 100;

// Entries of the side pickers, in this order.
constexpr int FIRST_SIDE = 0;
constexpr int SECOND_SIDE = 1;

// Where Enter saves the site.
constexpr int SiteControls[] = {IDC_SITE_LATITUDE, IDC_SITE_NORTH_SOUTH, IDC_SITE_LONGITUDE,
                                IDC_SITE_EAST_WEST, IDC_SITE_SAVE};

// The controls that need a site.
constexpr int GotoControls[] = {IDC_TARGET_SATELLITE, IDC_TARGET_ANGLE, IDC_TARGET_ANGLE_SIDE,
                                IDC_GOTO_ANGLE};

std::optional<double> typedDegrees(const Edit& field, double most) {
    return degreesUpTo(field.text(), most);
}

// The value as the file keeps it, so that what is used is what is stored.
double toOneDecimal(double value) {
    return decimalNumber(oneDecimal(value)).value_or(value);
}

void showSide(const ComboBox& side, double value) {
    side.setCurrentSelection(value < 0.0 ? SECOND_SIDE : FIRST_SIDE);
}

double signedBySide(const ComboBox& side, double value) {
    return side.currentSelection() == SECOND_SIDE ? -value : value;
}

std::string eastOrWest(double value) {
    return joined({oneDecimal(std::fabs(value)), DEGREE, value < 0.0 ? "W" : "E"});
}

}  // namespace

MessageMap<PositionerExtrasDialog> PositionerExtrasDialog::messageMap() {
    static constexpr MessageEntry<PositionerExtrasDialog> MAP[] = {
        onClick<&Self::onSaveSite>(IDC_SITE_SAVE),
        onCommand<&Self::onSatelliteTyped>(IDC_TARGET_SATELLITE, CBN_EDITCHANGE),
        onCommand<&Self::onSatellitePicked>(IDC_TARGET_SATELLITE, CBN_SELCHANGE),
        onCommand<&Self::onAngleTyped>(IDC_TARGET_ANGLE, EN_CHANGE),
        onCommand<&Self::onAngleTyped>(IDC_TARGET_ANGLE_SIDE, CBN_SELCHANGE),
        onClick<&Self::onGotoAngle>(IDC_GOTO_ANGLE),
        onClick<&Self::onSetWestLimit>(IDC_SET_WEST_LIMIT),
        onClick<&Self::onSetEastLimit>(IDC_SET_EAST_LIMIT),
        onClick<&Self::onLimitsOff>(IDC_LIMITS_OFF),
        onClick<&Self::onLimitsOn>(IDC_LIMITS_ON),
        onClick<&Self::onHalt>(IDC_HALT),
        onMessage<&Self::onHoldButton>(),
        onMessage<&Self::onDestroy>(WM_DESTROY),
        onMessage<&Self::onDishBeliefChanged>(),
        onMessage<&Self::onTimer>(WM_TIMER),
    };
    return MAP;
}

PositionerExtrasDialog::PositionerExtrasDialog(HINSTANCE module, HWND setupWindow,
                                               HostCommands commands,
                                               const std::string& settingsPath)
    : MappedDialog(module, IDD_POSITIONER_EXTRAS, setupWindow, PLUGIN_DISPLAY_NAME, IDI_DISH),
      commands_(commands),
      settings_(settingsPath, files_, &editLock_) {}

void PositionerExtrasDialog::DoDataExchange(DataExchange& exchange) {
    exchange.bindControl(IDC_SITE_LATITUDE, latitudeEdit_);
    exchange.bindControl(IDC_SITE_NORTH_SOUTH, northSouth_);
    exchange.bindControl(IDC_SITE_LONGITUDE, longitudeEdit_);
    exchange.bindControl(IDC_SITE_EAST_WEST, eastWest_);
    exchange.bindControl(IDC_TARGET_SATELLITE, satellitePicker_);
    exchange.bindControl(IDC_TARGET_ANGLE, angleEdit_);
    exchange.bindControl(IDC_TARGET_ANGLE_SIDE, angleSide_);
    exchange.bindControl(IDC_TARGET_LOOK, lookText_);
    exchange.bindControl(IDC_DISH_STATUS, dishStatus_);
    exchange.bindControl(IDC_HOLD_DRIVE_WEST, driveWest_);
    exchange.bindControl(IDC_HOLD_DRIVE_EAST, driveEast_);
}

BOOL PositionerExtrasDialog::OnInitDialog() {
    Dialog::OnInitDialog();
    for (auto [side, first, second] :
         {std::tuple{&northSouth_, "N", "S"}, std::tuple{&eastWest_, "E", "W"},
          std::tuple{&angleSide_, "E", "W"}}) {
        side->addString(first);
        side->addString(second);
        side->setCurrentSelection(FIRST_SIDE);
    }
    dishStatusFont_.applyTo(dishStatus_.hwnd(), L"Tahoma");
    // Another run may have moved the dish since the setup window opened.
    if (commands_.dish) {
        commands_.dish->reload();
        commands_.dish->showIn(window());
    }
    site_ = settings_.open().site;
    showSite();
    showDish();
    placeBesideOwner();
    return TRUE;
}

void PositionerExtrasDialog::placeBesideOwner() {
    RECT owner{};
    RECT own{};
    GetWindowRect(GetWindow(window(), GW_OWNER), &owner);
    GetWindowRect(window(), &own);
    const RECT work = workArea();
    const LONG width = own.right - own.left;
    const LONG height = own.bottom - own.top;
    // To the right of the setup window, or to its left when the screen ends
    // there, so that neither hides the other. A screen too narrow for both
    // gets it at its right edge.
    LONG x = owner.right;
    if (x + width > work.right) x = owner.left - width;
    if (x < work.left) x = work.right - width;
    const LONG y = std::max(work.top, std::min(owner.top, work.bottom - height));
    centreAboveOthers(RECT{x, y, x + width, y + height});
}

void PositionerExtrasDialog::offerSatellites(const std::vector<std::string>& names) {
    // The typed text stays: refilling must not change the target.
    const std::string typed = satellitePicker_.text();
    filling_ = true;
    satellitePicker_.resetContent();
    for (const std::string& name : names) satellitePicker_.addString(name);
    satellitePicker_.setText(typed);
    filling_ = false;
}

void PositionerExtrasDialog::OnCancel() {
    DestroyWindow();
}

bool PositionerExtrasDialog::takeKey(const MSG& key) {
    if (key.message != WM_KEYDOWN || key.wParam != VK_RETURN) return false;
    // An open list of a picker takes Enter as the pick.
    const LRESULT wanted =
        SendMessageA(key.hwnd, WM_GETDLGCODE, key.wParam, reinterpret_cast<LPARAM>(&key));
    if (wanted & DLGC_WANTMESSAGE) return false;
    // The dialog manager would click the focused button or the default one:
    // a drive, a limit, or Close with the typed site lost. Enter does none of
    // that here; in the site it saves what was typed there.
    const bool inSite =
        std::ranges::find(SiteControls, GetDlgCtrlID(key.hwnd)) != std::end(SiteControls);
    if (inSite)
        SendMessageA(window(), WM_COMMAND, MAKEWPARAM(IDC_SITE_SAVE, BN_CLICKED),
                     reinterpret_cast<LPARAM>(item(IDC_SITE_SAVE)));
    return true;
}

void PositionerExtrasDialog::showSite() {
    if (site_) {
        latitudeEdit_.setText(oneDecimal(std::fabs(site_->latitude)));
        showSide(northSouth_, site_->latitude);
        longitudeEdit_.setText(oneDecimal(std::fabs(site_->longitude)));
        showSide(eastWest_, site_->longitude);
    }
    for (int id : GotoControls) EnableWindow(item(id), site_ ? TRUE : FALSE);
    if (!site_) {
        showLook(NO_SITE);
        return;
    }
    // The target stays, seen from the new site.
    const std::string satellite = satellitePicker_.text();
    if (orbitalPosition(satellite))
        aimAtSatellite(satellite);
    else
        onAngleTyped();
}

void PositionerExtrasDialog::onSaveSite() {
    const std::optional<double> latitude = typedDegrees(latitudeEdit_, 90.0);
    const std::optional<double> longitude = typedDegrees(longitudeEdit_, 180.0);
    if (!latitude || !longitude) {
        tell(BAD_SITE);
        return;
    }
    const Site site{toOneDecimal(signedBySide(northSouth_, *latitude)),
                    toOneDecimal(signedBySide(eastWest_, *longitude))};
    const bool saved = settings_.writeSite(site);
    site_ = site;
    showSite();
    if (!saved) tell(UNSAVED_SITE);
}

void PositionerExtrasDialog::onSatelliteTyped() {
    if (!filling_) aimAtSatellite(satellitePicker_.text());
}

void PositionerExtrasDialog::onSatellitePicked() {
    // The edit part takes the picked name only after this notice.
    if (!filling_) aimAtSatellite(satellitePicker_.itemText(satellitePicker_.currentSelection()));
}

void PositionerExtrasDialog::aimAtSatellite(const std::string& text) {
    if (!site_) return;
    const std::optional<double> satellite = orbitalPosition(text);
    filling_ = true;
    if (satellite) {
        const double angle = lookAt(*site_, *satellite).motorAngle;
        angleEdit_.setText(oneDecimal(std::fabs(angle)));
        showSide(angleSide_, std::lround(angle * 10.0) == 0 ? 0.0 : angle);
    } else {
        angleEdit_.setText("");
    }
    filling_ = false;
    if (satellite)
        showLook(*satellite);
    else
        showLook(NO_POSITION);
}

void PositionerExtrasDialog::onAngleTyped() {
    if (filling_ || !site_) return;
    // A typed angle is the target now: the satellite's text no longer is.
    filling_ = true;
    satellitePicker_.setText("");
    filling_ = false;
    if (const std::optional<double> angle = typedAngle())
        showLook(satelliteLongitudeAt(*site_, *angle));
    else
        showLook(NO_TARGET);
}

void PositionerExtrasDialog::showLook(double satelliteLongitude) {
    lookedAt_ = satelliteLongitude;
    const SatelliteLook look = lookAt(*site_, satelliteLongitude);
    const char* side = std::lround(look.motorAngle * 10.0) < 0 ? "W" : "E";
    // A satellite out of sight is never a goto's target.
    const bool travel = look.aboveHorizon() && commands_.dish;
    lookText_.setText(joined(
        {"Satellite ", eastOrWest(satelliteLongitude), ": motor angle ",
         oneDecimal(std::fabs(look.motorAngle)), DEGREE, " ", side, ", azimuth ",
         oneDecimal(look.azimuth), DEGREE, ", elevation ", oneDecimal(look.elevation), DEGREE,
         look.aboveHorizon() ? "" : " (below the horizon)", travel ? "; goto " : "",
         travel ? travelWords(commands_.dish->dish(), wallClockMs(), look.motorAngle) : ""}));
}

void PositionerExtrasDialog::showLook(const char* words) {
    lookedAt_.reset();
    lookText_.setText(words);
}

void PositionerExtrasDialog::showDish() {
    if (!commands_.dish || !window()) return;
    const DishModel& dish = commands_.dish->dish();
    const double now = wallClockMs();
    dishStatus_.setText(
        wideFromUtf8(dishStatusWords(dish, now, localClockWords)).value_or(std::wstring()));
    if (lookedAt_ && site_) showLook(*lookedAt_);
    // An idle dish costs no timer: the words change only with the next command.
    const bool moving = dish.movingAt(now);
    if (moving && !dishTimer_) {
        dishTimer_ = SetTimer(window(), DISH_STATUS_TIMER_ID, DISH_STATUS_TICK_MS, nullptr) != 0;
    } else if (!moving && dishTimer_) {
        KillTimer(window(), DISH_STATUS_TIMER_ID);
        dishTimer_ = false;
    }
}

void PositionerExtrasDialog::onDishBeliefChanged(DishBeliefChanged) {
    showDish();
}

void PositionerExtrasDialog::onTimer(WPARAM timer, LPARAM) {
    if (timer == DISH_STATUS_TIMER_ID) showDish();
}

std::optional<double> PositionerExtrasDialog::typedAngle() const {
    const std::optional<double> angle = typedDegrees(angleEdit_, 180.0);
    if (!angle) return std::nullopt;
    return signedBySide(angleSide_, *angle);
}

void PositionerExtrasDialog::onGotoAngle() {
    if (!site_) return;
    const std::optional<double> angle = typedAngle();
    const std::optional<std::array<std::uint8_t, 2>> data =
        angle ? gotoAngleData(*angle) : std::nullopt;
    if (!data) {
        tell(NO_TARGET);
        return;
    }
    // The angle is what goes out, whether typed or worked out from a
    // satellite: its satellite is the one to check.
    if (!lookAt(*site_, satelliteLongitudeAt(*site_, *angle)).aboveHorizon()) {
        tell(BELOW_HORIZON);
        return;
    }
    commands_.send(PositionerCommands::gotoAngle(*data));
}

void PositionerExtrasDialog::sendConfirmed(const char* question, const DiseqcCommand& command) {
    if (ask(question)) commands_.send(command);
}

void PositionerExtrasDialog::onSetWestLimit() {
    sendConfirmed("Make the present position the West limit?", PositionerCommands::setWestLimit());
}

void PositionerExtrasDialog::onSetEastLimit() {
    sendConfirmed("Make the present position the East limit?", PositionerCommands::setEastLimit());
}

void PositionerExtrasDialog::onLimitsOff() {
    sendConfirmed("Switch the soft limits off?", PositionerCommands::limitsOff());
}

void PositionerExtrasDialog::onLimitsOn() {
    sendConfirmed("Switch the soft limits on?", PositionerCommands::limitsOn());
}

void PositionerExtrasDialog::onHoldButton(HoldButtonChange change) {
    if (!change.pressed) {
        stopHeldDrive();
        return;
    }
    driving_ = true;
    commands_.send(change.button == IDC_HOLD_DRIVE_EAST
                       ? PositionerCommands::driveEastUntilHalted()
                       : PositionerCommands::driveWestUntilHalted());
}

void PositionerExtrasDialog::onHalt() {
    // Whatever moves the dish, a goto angle too, stops here.
    driving_ = false;
    commands_.send(PositionerCommands::halt());
}

void PositionerExtrasDialog::stopHeldDrive() {
    if (!driving_) return;
    driving_ = false;
    commands_.send(PositionerCommands::halt());
}

void PositionerExtrasDialog::onDestroy() {
    // The belief outlives this window when the setup window stays.
    if (commands_.dish) commands_.dish->showIn(nullptr);
    // A dish must never be left turning by a window that went while a
    // button was held.
    stopHeldDrive();
}

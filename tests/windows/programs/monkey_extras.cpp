// The monkey in the positioner extras: the site typed and saved (good values
// and bad), satellites and motor angles typed or picked, Drive to Angle, the
// soft-limit questions answered any way, the drive buttons held by the mouse
// or the space bar and let go in every way there is, Halt, close and reopen.
// Nothing may go to the host before a click; a drive until halted is always
// followed by exactly one halt once its button is let go.
#include <windows.h>

#include <cmath>
#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include "positioner/decimal_text.h"
#include "positioner/positioner_commands.h"
#include "res/resource_ids.h"
#include "store/settings_file.h"
#include "tests/windows/programs/monkey.h"
#include "host_driver/message_pump.h"
#include "host_driver/plugin_windows.h"

namespace monkey {
namespace {

constexpr char BAD_SITE[] =
    "Type the latitude from 0.0 to 90.0 degrees and the longitude from 0.0 to 180.0 degrees, "
    "then choose N or S and E or W.";
constexpr char UNSAVED_SITE_START[] = "The site could not be saved";
constexpr char NO_TARGET[] =
    "Pick a satellite, type its orbital position such as 19.2E, or type a motor angle from 0.0 "
    "to 180.0 degrees.";
constexpr char BELOW_HORIZON[] =
    "This satellite is below the horizon of the site: the dish cannot see it. Nothing was sent.";
constexpr char BELOW_HORIZON_LOOK[] = "(below the horizon)";

struct LimitButton {
    int id;
    const char* question;
    DiseqcCommand (*command)();
};
const LimitButton LIMIT_BUTTONS[] = {
    {IDC_SET_WEST_LIMIT, "Make the present position the West limit?",
     &PositionerCommands::setWestLimit},
    {IDC_SET_EAST_LIMIT, "Make the present position the East limit?",
     &PositionerCommands::setEastLimit},
    {IDC_LIMITS_OFF, "Switch the soft limits off?", &PositionerCommands::limitsOff},
    {IDC_LIMITS_ON, "Switch the soft limits on?", &PositionerCommands::limitsOn},
};

// The controls that wait for a site.
constexpr int GOTO_CONTROLS[] = {IDC_TARGET_SATELLITE, IDC_TARGET_ANGLE, IDC_TARGET_ANGLE_SIDE,
                                 IDC_GOTO_ANGLE};
// Entries of the side pickers: N or E first, S or W second.
constexpr int FIRST_SIDE = 0;
constexpr int SECOND_SIDE = 1;

// Degrees as a user may type them: an optional sign, digits with an optional
// point and more digits, from 0 up to `most`. Worked out here on its own, so
// that a window that takes other text, or refuses this, is caught.
std::optional<double> typedDegrees(const std::string& text, double most) {
    static const std::regex number(R"([+-]?([0-9]+(\.[0-9]+)?|\.[0-9]+))");
    if (!std::regex_match(text, number)) return std::nullopt;
    const double value = std::strtod(text.c_str(), nullptr);
    if (value < 0.0 || value > most) return std::nullopt;
    return value;
}

// A value as the settings file keeps it, with one decimal.
double kept(double value) {
    return decimalNumber(oneDecimal(value)).value_or(value);
}

int selection(HWND picker) {
    return static_cast<int>(SendMessageA(picker, CB_GETCURSEL, 0, 0));
}

void choose(HWND dialog, int id, int index) {
    HWND picker = GetDlgItem(dialog, id);
    SendMessageA(picker, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(picker));
}

// The command's bytes as a failure line and the host's record show them.
std::string bytesOf(const DiseqcCommand& command) {
    const std::string text = commandText(ApiDialect::Native, command);
    return text.substr(text.find(' ') + 1);
}

int holdId(Hold button) {
    return button == Hold::East ? IDC_HOLD_DRIVE_EAST : IDC_HOLD_DRIVE_WEST;
}

}  // namespace

// ---------------------------------------------------------------- opening

void Monkey::openExtras() {
    const bool wasOpen = extras_ != nullptr;
    note(" [system menu: extras]");
    SendMessageA(window_, WM_SYSCOMMAND, IDM_EXTRAS, 0);
    pumpMessages();
    const std::vector<HWND> open = dialogsCaptioned(EXTRAS_CAPTION);
    if (open.size() != 1 || (wasOpen && open.front() != extras_)) {
        fail("extras", "the menu " + std::string(wasOpen ? "on open extras" : "") + " left " +
                           std::to_string(open.size()) + " extras windows, or another one");
        return;
    }
    if (wasOpen) return;
    extras_ = open.front();
    site_ = SettingsFile(settings_.string(), files_).open().site;
}

void Monkey::ensureExtras() {
    ensureWindow();
    if (window_ && !extras_) openExtras();
}

void Monkey::extrasGone() {
    if (hold_ != Hold::None) endHold(" as the extras closed");
    extras_ = nullptr;
    site_.reset();
}

void Monkey::closeExtras() {
    ensureExtras();
    if (!extras_) return;
    // The menu on open extras closes nothing: not while a drive is held.
    switch (between(0, hold_ == Hold::None ? 3 : 2)) {
        case 0:
            note("extras: click Close");
            clickButton(extras_, IDCANCEL);
            break;
        case 1:
            note("extras: close from the caption");
            SendMessageA(extras_, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        case 2:
            note("extras: Escape");
            pressKeyIn(extras_, VK_ESCAPE);
            break;
        default:
            note("extras: the system menu again");
            openExtras();
            return;
    }
    pumpMessages();
    extrasGone();
    // The system menu of a setup window that waits on a box cannot be used.
    if (chance(2) && window_ && IsWindowEnabled(window_)) openExtras();
}

// ---------------------------------------------------------------- the site

std::string Monkey::siteValue(bool latitude, bool good) {
    switch (good ? between(0, 2) : between(0, 5)) {
        case 0:
        case 1: {
            std::string value = std::to_string(between(0, latitude ? 90 : 180));
            if (chance(2) && value != "90" && value != "180")
                value += "." + std::to_string(between(0, chance(2) ? 9 : 99));
            return value;
        }
        case 2:
            if (latitude && chance(2)) return pick<std::string>({"90", "90.0", "89.96"});
            return pick<std::string>({"0", "0.0", ".5", "+5", "007.5", "52", "33.94", "151.25"});
        case 3:
            return latitude ? pick<std::string>({"90.1", "91", "-33.9", "52,5"})
                            : pick<std::string>({"180.1", "181", "-5", "5,5"});
        case 4:
            return pick<std::string>(
                {"", "abc", "1e3", " 5", "5 ", "5.", "12a", "N52", "\xB0", "--5"});
        default:
            return randomText(between(0, 6));
    }
}

void Monkey::typeSiteField(int id, const std::string& value) {
    note(" type " + inQuotes(value) + " into the " +
         (id == IDC_SITE_LATITUDE ? "latitude" : "longitude"));
    retype(extrasItem(id), value);
}

void Monkey::chooseSide(int id) {
    const int side = between(FIRST_SIDE, SECOND_SIDE);
    note(" choose " +
         std::string(id == IDC_SITE_NORTH_SOUTH ? (side ? "S" : "N") : (side ? "W" : "E")));
    choose(extras_, id, side);
}

void Monkey::typeSite() {
    ensureExtras();
    if (!extras_) return;
    note("extras:");
    switch (between(0, 3)) {
        case 0:
            typeSiteField(IDC_SITE_LATITUDE, siteValue(true, false));
            break;
        case 1:
            typeSiteField(IDC_SITE_LONGITUDE, siteValue(false, false));
            break;
        case 2:
            chooseSide(IDC_SITE_NORTH_SOUTH);
            break;
        default:
            chooseSide(IDC_SITE_EAST_WEST);
            break;
    }
    pumpMessages();
}

void Monkey::saveSite() {
    ensureExtras();
    if (!extras_) return;
    note("extras:");
    // Mostly a whole site, good more often than not.
    if (!chance(4)) {
        const bool good = !chance(4);
        typeSiteField(IDC_SITE_LATITUDE, siteValue(true, good));
        chooseSide(IDC_SITE_NORTH_SOUTH);
        typeSiteField(IDC_SITE_LONGITUDE, siteValue(false, good));
        chooseSide(IDC_SITE_EAST_WEST);
        pumpMessages();
    }
    note(" Save Site");
    const std::optional<double> latitude =
        typedDegrees(windowText(extrasItem(IDC_SITE_LATITUDE)), 90.0);
    const std::optional<double> longitude =
        typedDegrees(windowText(extrasItem(IDC_SITE_LONGITUDE)), 180.0);
    std::optional<Site> saved;
    if (latitude && longitude) {
        const bool south = selection(extrasItem(IDC_SITE_NORTH_SOUTH)) == SECOND_SIDE;
        const bool west = selection(extrasItem(IDC_SITE_EAST_WEST)) == SECOND_SIDE;
        saved = Site{kept(south ? -*latitude : *latitude), kept(west ? -*longitude : *longitude)};
        ++siteWrites_;
    }
    const auto text = [](const Site& site) {
        return oneDecimal(site.latitude) + "," + oneDecimal(site.longitude);
    };
    const std::optional<Site> before = SettingsFile(settings_.string(), files_).open().site;
    // A site that the file holds already has nothing to save.
    const bool unsaved = saved && readOnly_ && (!before || text(*before) != text(*saved));
    const std::size_t firstBox = boxes_.size();
    clickButton(extras_, IDC_SITE_SAVE);
    pumpMessages();
    if (!extras_) return;
    if (!saved) {
        expectExtrasBoxes(firstBox, {BAD_SITE});
        return;
    }
    expectExtrasBoxes(firstBox, unsaved ? std::vector<std::string>{UNSAVED_SITE_START}
                                        : std::vector<std::string>{});
    site_ = saved;
    // The fields show the site as it is kept.
    const std::string shown = windowText(extrasItem(IDC_SITE_LATITUDE)) +
                              (selection(extrasItem(IDC_SITE_NORTH_SOUTH)) ? " S " : " N ") +
                              windowText(extrasItem(IDC_SITE_LONGITUDE)) +
                              (selection(extrasItem(IDC_SITE_EAST_WEST)) ? " W" : " E");
    const std::string wanted =
        oneDecimal(std::fabs(saved->latitude)) + (saved->latitude < 0.0 ? " S " : " N ") +
        oneDecimal(std::fabs(saved->longitude)) + (saved->longitude < 0.0 ? " W" : " E");
    if (shown != wanted) fail("site", "the fields show " + shown + " after saving " + wanted);
    if (readOnly_) return;
    const std::optional<Site> stored = SettingsFile(settings_.string(), files_).open().site;
    if (!stored || text(*stored) != text(*saved))
        fail("site", "the file holds " + (stored ? text(*stored) : "no site") + " after saving " +
                         text(*saved));
}

// ---------------------------------------------------------------- the target

void Monkey::typeSatellite() {
    ensureExtras();
    if (!extras_) return;
    HWND picker = extrasItem(IDC_TARGET_SATELLITE);
    // Where the text names a position, it is known here; where it is known to
    // name none, `none` says so; random text may or may not.
    std::optional<double> position;
    bool none = false;
    std::string text;
    switch (between(0, 4)) {
        case 0:
        case 1: {
            const int tenths = between(0, 1800);
            const bool west = chance(2);
            std::string degrees = std::to_string(tenths / 10);
            if (tenths % 10 != 0 || chance(2)) degrees += "." + std::to_string(tenths % 10);
            const char* side = west ? "W" : "E";
            text = pick<std::string>({degrees + side, degrees + " " + side, degrees + "\xB0" + side,
                                      "Astra " + degrees + "\xB0" + side});
            position = (west ? -1.0 : 1.0) * tenths / 10.0;
            break;
        }
        case 2:
            text = pick<std::string>({"19.2E", "30 W", "13.0E", "0.8W", "170.0W", "180W"});
            position = decimalNumber(text.substr(0, text.find_first_of(" EW")));
            if (text.back() == 'W') *position = -*position;
            break;
        case 3:
            text =
                pick<std::string>({"", "Hotbird", "E", "19.2", "181E", "999W", "19.2X", "E19.2"});
            none = true;
            break;
        default:
            text = randomText(between(0, 12));
            break;
    }
    note("extras: type satellite " + inQuotes(text));
    if (!IsWindowEnabled(picker)) {
        note(" (disabled)");
        return;
    }
    HWND field = FindWindowExA(picker, nullptr, "Edit", nullptr);
    // Emptying an empty field changes nothing, and the target stays.
    const bool changes = !text.empty() || !windowText(field).empty();
    retype(field, text);
    pumpMessages();
    if (!extras_ || !site_ || !changes || (!position && !none)) return;
    // The angle shown is the way to the typed satellite from the saved site.
    const std::string angle = windowText(extrasItem(IDC_TARGET_ANGLE));
    const int side = selection(extrasItem(IDC_TARGET_ANGLE_SIDE));
    const std::string look = windowText(extrasItem(IDC_TARGET_LOOK));
    if (none) {
        if (!angle.empty()) fail("target", "a text with no position shows the angle " + angle);
        return;
    }
    const SatelliteLook way = lookAt(*site_, *position);
    const bool west = std::lround(way.motorAngle * 10.0) < 0;
    const std::string wanted = oneDecimal(std::fabs(way.motorAngle)) + (west ? " W" : " E");
    const std::string shown = angle + (side == SECOND_SIDE ? " W" : " E");
    if (shown != wanted)
        fail("target", "the motor angle shows " + shown + ", the way from the site is " + wanted);
    const bool saysBelow = look.find(BELOW_HORIZON_LOOK) != std::string::npos;
    if (saysBelow == way.aboveHorizon())
        fail("target", "the look says " + inQuotes(look) + " of a satellite " +
                           (way.aboveHorizon() ? "above" : "below") + " the horizon");
}

void Monkey::pickSatellite() {
    ensureExtras();
    if (!extras_) return;
    HWND picker = extrasItem(IDC_TARGET_SATELLITE);
    const auto count = static_cast<int>(SendMessageA(picker, CB_GETCOUNT, 0, 0));
    if (count <= 0 || !IsWindowEnabled(picker)) {
        note("extras: pick a satellite (none, or disabled)");
        return;
    }
    const int index = between(0, count - 1);
    note("extras: pick satellite " + std::to_string(index));
    choose(extras_, IDC_TARGET_SATELLITE, index);
    pumpMessages();
}

void Monkey::typeAngle() {
    ensureExtras();
    if (!extras_) return;
    if (!IsWindowEnabled(extrasItem(IDC_TARGET_ANGLE))) {
        note("extras: type an angle (disabled)");
        return;
    }
    if (chance(3)) {
        const int side = between(FIRST_SIDE, SECOND_SIDE);
        note(std::string("extras: choose the angle's ") + (side ? "W" : "E"));
        choose(extras_, IDC_TARGET_ANGLE_SIDE, side);
        pumpMessages();
        return;
    }
    std::string value;
    switch (between(0, 3)) {
        case 0:
        case 1:
            value = std::to_string(between(0, 180));
            if (chance(2) && value != "180") value += "." + std::to_string(between(0, 9));
            break;
        case 2:
            value = pick<std::string>({"0", "8.9", "16", "16.0", "85.0", "180", "180.0", "0.05"});
            break;
        default:
            value = pick<std::string>({"", "180.1", "-5", "abc", "1e2", "5.", " 8", "256"});
            break;
    }
    note("extras: type angle " + inQuotes(value));
    retype(extrasItem(IDC_TARGET_ANGLE), value);
    pumpMessages();
}

void Monkey::gotoAngle() {
    ensureExtras();
    if (!extras_) return;
    note("extras: Drive to Angle");
    if (!IsWindowEnabled(extrasItem(IDC_GOTO_ANGLE))) {
        note(" (disabled)");
        return;
    }
    // What goes out is what the fields show.
    const std::string shown = windowText(extrasItem(IDC_TARGET_ANGLE));
    const bool west = selection(extrasItem(IDC_TARGET_ANGLE_SIDE)) == SECOND_SIDE;
    note(" at " + inQuotes(shown) + (west ? " W" : " E"));
    const std::optional<double> degrees = typedDegrees(shown, 180.0);
    std::vector<std::string> boxes;
    if (!degrees || !site_) {
        boxes.push_back(NO_TARGET);
    } else {
        const double angle = west ? -*degrees : *degrees;
        if (!lookAt(*site_, satelliteLongitudeAt(*site_, angle)).aboveHorizon()) {
            boxes.push_back(BELOW_HORIZON);
        } else if (const auto data = gotoAngleData(angle)) {
            expect(PositionerCommands::gotoAngle(*data));
        } else {
            fail("target", "no goto-angle bytes for " + shown);
        }
    }
    const std::size_t firstBox = boxes_.size();
    clickButton(extras_, IDC_GOTO_ANGLE);
    pumpMessages();
    if (extras_) expectExtrasBoxes(firstBox, boxes);
}

// ---------------------------------------------------------------- limits, halt

void Monkey::limitButton() {
    ensureExtras();
    if (!extras_) return;
    const LimitButton& button = LIMIT_BUTTONS[between(0, 3)];
    note("extras: click " + windowText(extrasItem(button.id)));
    const DiseqcCommand command = button.command();
    const ApiDialect dialect = dialect_;
    onQuestionAccepted_ = [this, command, dialect] {
        expected_.push_back(commandText(dialect, command));
    };
    const std::size_t firstBox = boxes_.size();
    const HWND setup = window_;
    clickButton(extras_, button.id);
    pumpMessages();
    onQuestionAccepted_ = nullptr;
    std::vector<std::string> questions;
    for (std::size_t i = firstBox; i < boxes_.size(); ++i)
        if (boxes_[i].kind == BoxKind::Question) questions.push_back(boxes_[i].text);
    // A question closed with its window before it was seen is no fault.
    if (questions.empty() && window_ != setup) return;
    if (questions != std::vector<std::string>{button.question})
        fail("limits",
             "the click asked " + joined(questions) + ", not " + inQuotes(button.question));
}

void Monkey::clickHalt() {
    ensureExtras();
    if (!extras_) return;
    note("extras: click Halt");
    expect(PositionerCommands::halt());
    haltClicked_ = true;
    clickButton(extras_, IDC_HALT);
    pumpMessages();
}

// ---------------------------------------------------------------- held drives

void Monkey::pressHold(Hold button, bool bySpace) {
    HWND control = extrasItem(holdId(button));
    note(std::string(" hold Drive ") + (button == Hold::East ? "East" : "West") +
         (bySpace ? " by the space bar" : " by the mouse"));
    if (bySpace) {
        SetFocus(control);
        SendMessageA(control, WM_KEYDOWN, VK_SPACE, 1);
    } else {
        SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    }
    hold_ = button;
    expect(button == Hold::East ? PositionerCommands::driveEastUntilHalted()
                                : PositionerCommands::driveWestUntilHalted());
    // The drive goes out on the press, not later.
    checkHostMessages();
}

// A hold already ended (see holdDrive) is not ended again: its halt is due once.
void Monkey::endHold(const char* how) {
    note(how);
    if (hold_ == Hold::None) return;
    hold_ = Hold::None;
    expect(PositionerCommands::halt());
}

void Monkey::holdDrive() {
    ensureExtras();
    if (!extras_) return;
    note("extras:");
    Hold button = chance(2) ? Hold::West : Hold::East;
    bool bySpace = chance(3);
    pressHold(button, bySpace);
    if (bySpace && chance(2)) {
        note(", the key repeats");
        SendMessageA(extrasItem(holdId(button)), WM_KEYDOWN, VK_SPACE, 1 | (1L << 30));
        // The key held down is no let-go.
        checkHostMessages();
    }
    // A timed drive of the setup window goes on meanwhile.
    if (drive_.locked && chance(3)) letTicksPass(between(1, 3));
    pumpMessages();
    if (chance(8)) {
        endHold(", the other button pressed");
        button = button == Hold::East ? Hold::West : Hold::East;
        bySpace = false;
        pressHold(button, false);
    }
    // The window system may move the focus on its own, late, after an earlier
    // action (under Wine an activation can come back from the X server then);
    // the button lets go when it loses the focus or the mouse, and that is
    // the end of this hold, whatever comes next.
    HWND held = extrasItem(holdId(button));
    if (GetCapture() != held || GetFocus() != held)
        endHold(", let go as the focus or the mouse moved on its own;");
    // A setup window that waits on a box of its own takes no click and no focus.
    const bool setupBusy = !IsWindowEnabled(window_);
    int way = between(0, 10);
    if (setupBusy && (way == 3 || way == 5 || way == 10)) way = 0;
    switch (way) {
        case 0:
        case 1:
            endHold(", let go");
            SendMessageA(extrasItem(holdId(button)), bySpace ? WM_KEYUP : WM_LBUTTONUP,
                         bySpace ? VK_SPACE : 0, bySpace ? 0xC0000001 : MAKELPARAM(5, 5));
            break;
        case 2:
            endHold(", the mouse taken by the setup window");
            SetCapture(window_);
            ReleaseCapture();
            break;
        case 3:
            if (chance(2)) {
                endHold(", the focus moved to the latitude");
                SetFocus(extrasItem(IDC_SITE_LATITUDE));
            } else {
                endHold(", the focus moved to the setup window");
                SetFocus(item(IDC_SAT_LIST));
            }
            break;
        case 4:
            note(",");
            closeExtras();
            break;
        case 5:
            note(", the setup window's Close");
            if (IsWindowEnabled(item(IDC_CLOSE))) {
                clickButtonOf(IDC_CLOSE);
            } else {
                note(" (disabled), so On_Exit");
                exitPlugin();
            }
            break;
        case 6:
            note(",");
            exitPlugin();
            break;
        case 7:
            note(",");
            if (hostAlive()) {
                startPlugin(*current_);
            } else {
                exitPlugin();
            }
            break;
        case 8:
            endHold(", Halt clicked");
            expect(PositionerCommands::halt());
            haltClicked_ = true;
            clickButton(extras_, IDC_HALT);
            break;
        case 10:
            // Another button takes the mouse as it is clicked.
            if (IsWindowEnabled(extrasItem(IDC_GOTO_ANGLE)) && chance(2)) {
                endHold(", then");
                gotoAngle();
            } else {
                endHold(", then");
                limitButton();
            }
            break;
        default:
            endHold(", let go after a while");
            pumpMessages();
            SendMessageA(extrasItem(holdId(button)), bySpace ? WM_KEYUP : WM_LBUTTONUP,
                         bySpace ? VK_SPACE : 0, bySpace ? 0xC0000001 : MAKELPARAM(5, 5));
            break;
    }
    pumpMessages();
    // A late release sends nothing more.
    if (extras_ && chance(3)) {
        note(", released again");
        SendMessageA(extrasItem(holdId(button)), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        SendMessageA(extrasItem(holdId(button)), WM_KEYUP, VK_SPACE, 0xC0000001);
        pumpMessages();
    }
}

// ---------------------------------------------------------------- choosing

void Monkey::extrasAction() {
    static constexpr int WEIGHTS[] = {3, 4, 4, 2, 3, 4, 3, 6, 1, 2};
    std::discrete_distribution<int> kind(std::begin(WEIGHTS), std::end(WEIGHTS));
    switch (kind(random_)) {
        case 0:
            typeSite();
            break;
        case 1:
            saveSite();
            break;
        case 2:
            typeSatellite();
            break;
        case 3:
            pickSatellite();
            break;
        case 4:
            typeAngle();
            break;
        case 5:
            gotoAngle();
            break;
        case 6:
            limitButton();
            break;
        case 7:
            holdDrive();
            break;
        case 8:
            clickHalt();
            break;
        default:
            closeExtras();
            break;
    }
}

// ---------------------------------------------------------------- checks

std::optional<BoxKind> Monkey::extrasBoxKind(const std::string& text) const {
    if (text == BAD_SITE || text == NO_TARGET || text == BELOW_HORIZON)
        return BoxKind::ExtrasNotice;
    if (text.starts_with(UNSAVED_SITE_START)) return BoxKind::UnsavedSite;
    for (const LimitButton& button : LIMIT_BUTTONS)
        if (text == button.question) return BoxKind::Question;
    return std::nullopt;
}

// The extras' boxes since `firstBox` are these, each starting with its text.
void Monkey::expectExtrasBoxes(std::size_t firstBox, const std::vector<std::string>& texts) {
    std::vector<std::string> seen;
    for (std::size_t i = firstBox; i < boxes_.size(); ++i)
        if (boxes_[i].kind == BoxKind::ExtrasNotice || boxes_[i].kind == BoxKind::UnsavedSite)
            seen.push_back(boxes_[i].text);
    bool same = seen.size() == texts.size();
    for (std::size_t i = 0; same && i < seen.size(); ++i) same = seen[i].starts_with(texts[i]);
    if (!same) {
        std::vector<std::string> quoted;
        for (const std::string& text : texts) quoted.push_back(inQuotes(text));
        std::vector<std::string> shown;
        for (const std::string& text : seen) shown.push_back(inQuotes(text));
        fail("boxes", "the extras showed " + joined(shown) + "; expected " + joined(quoted));
    }
}

// Every command a host receives: a drive until halted opens, a halt closes.
void Monkey::heardByHost(const TestHost& host, const std::string& received) {
    static const std::string west = bytesOf(PositionerCommands::driveWestUntilHalted());
    static const std::string east = bytesOf(PositionerCommands::driveEastUntilHalted());
    static const std::string halt = bytesOf(PositionerCommands::halt());
    const std::size_t space = received.find(' ');
    if (space == std::string::npos) return;
    const std::string bytes = received.substr(space + 1);
    bool& unhalted = unhalted_[&host];
    if (bytes == west || bytes == east) {
        if (unhalted)
            fail("halt", hostName(host) + " received a second drive until halted (" + bytes +
                             ") before a halt ended the first");
        unhalted = true;
    } else if (bytes == halt) {
        if (unhalted) {
            unhalted = false;
        } else if (!haltClicked_) {
            fail("halt", hostName(host) +
                             " received a halt with no held drive to end and no click on Halt or "
                             "Stop");
        }
    }
}

void Monkey::checkExtras() {
    const std::vector<HWND> open = dialogsCaptioned(EXTRAS_CAPTION);
    if (open.size() != (extras_ ? 1U : 0U) || (extras_ && open.front() != extras_))
        fail("extras", std::to_string(open.size()) + " extras windows open, expected " +
                           (extras_ ? "1" : "none") +
                           (window_ ? "" : " with the setup window closed"));
    if (hold_ != Hold::None) fail("monkey", "an action ended with a drive button held");
    for (auto& [host, unhalted] : unhalted_) {
        if (!unhalted || dead_.count(host)) continue;
        fail("halt", hostName(*host) + " received a drive until halted that no halt followed");
        unhalted = false;
    }
    if (!extras_ || !IsWindow(extras_)) return;

    if (GetWindow(extras_, GW_OWNER) != window_)
        fail("extras", "the extras are not owned by the setup window");
    std::string wrong;
    for (int id : GOTO_CONTROLS)
        if ((IsWindowEnabled(extrasItem(id)) != FALSE) != site_.has_value())
            wrong += " " + std::to_string(id);
    if (!wrong.empty())
        fail("extras",
             std::string(site_ ? "disabled with a site:" : "enabled with no site:") + wrong);
    if (window_) {
        const std::vector<std::string> offered = pickerEntries(extrasItem(IDC_TARGET_SATELLITE));
        const std::vector<std::string> stored = pickerEntries(item(IDC_GOTO_PICKER));
        if (offered != stored)
            fail("extras", "the satellite picker offers " + std::to_string(offered.size()) +
                               " entries, not the setup window's " + std::to_string(stored.size()) +
                               " stored positions");
    }
    for (Hold button : {Hold::West, Hold::East})
        if (SendMessageA(extrasItem(holdId(button)), BM_GETSTATE, 0, 0) & BST_PUSHED)
            fail("hold", std::string("Drive ") + (button == Hold::East ? "East" : "West") +
                             " still shows pressed after it was let go");
}

}  // namespace monkey

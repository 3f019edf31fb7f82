#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>

#include "host_driver/list_pointer.h"
#include "host_driver/modal_script.h"
#include "host_driver/plugin_windows.h"
#include "store/win32_path.h"
#include "win/wall_clock.h"
#include "workbench/control_names.h"
#include "workbench/dish_view.h"
#include "workbench/tour.h"
#include "workbench/workbench_log.h"

namespace {

// The control, or none with the reason logged. The extras window's own
// controls first, then the setup window's, which stays open beneath it.
HWND controlOf(Tour& tour, int id) {
    HWND control = nullptr;
    if (tour.extrasWindow && IsWindow(tour.extrasWindow))
        control = GetDlgItem(tour.extrasWindow, id);
    if (control == nullptr) control = GetDlgItem(tour.setupWindow, id);
    if (control == nullptr) tour.log("tour: control " + controlName(id) + " not found");
    return control;
}

bool isRadioButton(HWND control) {
    const LONG type = GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

bool inThisProcess(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process == GetCurrentProcessId();
}

// Names are Windows-1252 text; the log is UTF-8, with control characters as
// escapes so that it reads the same in any terminal.
// Control characters written out, so that a log line stays one line.
std::string escapedControls(const std::string& text) {
    std::string shown;
    for (char character : text) {
        const auto byte = static_cast<unsigned char>(character);
        if (byte >= 0x20 && byte != 0x7F) {
            shown += character;
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            shown += escape;
        }
    }
    return shown;
}

// The plug-in's ANSI text, as the log's UTF-8.
std::string printable(const std::string& text) {
    return utf8FromWindows1252(escapedControls(text));
}

// A control's text as the window system holds it: the plug-in sets some as
// wide text with characters that no ANSI code page has (an arrow).
std::string wideText(HWND control) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return escapedControls(utf8FromWide(text).value_or("?"));
}

std::string rowName(HWND list, int row) {
    return listCellText(list, row, 0);
}

std::string describeRow(HWND list, int row) {
    return "row " + std::to_string(row) + " \"" + printable(rowName(list, row)) + "\"";
}

// Waits for a window of the plug-in to appear, and keeps it in `found`.
StepResult findPluginWindow(Tour& tour, const char* caption, unsigned maxTicks, HWND& found,
                            const std::string& what) {
    HWND window = FindWindowA(nullptr, caption);
    if (window != nullptr && inThisProcess(window)) {
        found = window;
        tour.log("tour: " + what + " open");
        return StepResult::Done;
    }
    if (tour.ticksInStep < maxTicks) return StepResult::Again;
    tour.log(what + " not available in this build");
    return StepResult::Done;
}

}  // namespace

namespace TourSteps {

TourStep showDisplayName() {
    return {false, [](Tour& tour) {
                tour.log("tour: display name \"" + tour.workbench().displayName() + "\"");
                return StepResult::Done;
            }};
}

TourStep forgetDishState() {
    return {false, [](Tour& tour) {
                const std::string& path = tour.workbench().dishStatePath();
                switch (tour.workbench().forgetDishState()) {
                    case DishStateRemoval::Removed:
                        tour.log("tour: deleted the dish state file " + path);
                        break;
                    case DishStateRemoval::Missing:
                        tour.log("tour: no dish state file to delete at " + path);
                        break;
                    case DishStateRemoval::Failed:
                        tour.log("tour: cannot delete the dish state file \"" + path + "\"");
                        return StepResult::Done;
                }
                tour.log("tour: the plug-in starts not knowing where the dish is");
                return StepResult::Done;
            }};
}

TourStep waitForDishBelief(unsigned maxTicks) {
    return {
        false, [maxTicks](Tour& tour) {
            const PluginBelief& belief = tour.workbench().readDishBelief();
            if (!belief.fileFound) {
                tour.log("tour: the plug-in keeps no dish state file; not waiting for it");
                return StepResult::Done;
            }
            const double now = wallClockMs();
            const std::optional<double> angle = belief.dish.angleAt(now);
            if (angle && !belief.dish.movingAt(now)) {
                tour.log("tour: the plug-in believes the dish at rest at " + dishAngleText(angle));
                return StepResult::Done;
            }
            if (tour.ticksInStep < maxTicks) return StepResult::Again;
            tour.log("tour: after " + std::to_string(maxTicks * Tour::TICK_MS) +
                     " ms the plug-in believes the dish at " + dishAngleText(angle) +
                     (belief.dish.movingAt(now) ? ", moving" : ""));
            return StepResult::Done;
        }};
}

TourStep menuCommand(UINT id) {
    return {false, [id](Tour& tour) {
                if (!tour.workbench().pluginMenuOffers(id)) {
                    tour.log("tour: the plug-in menu has no command " + std::to_string(id));
                    return StepResult::Done;
                }
                tour.workbench().pickPluginMenu(id);
                return StepResult::Done;
            }};
}

TourStep findSetupWindow(const char* caption, unsigned maxTicks) {
    return {false, [caption, maxTicks](Tour& tour) {
                return findPluginWindow(tour, caption, maxTicks, tour.setupWindow, "setup window");
            }};
}

TourStep systemCommand(UINT id) {
    return {true, [id](Tour& tour) {
                tour.log("tour: system menu command " + std::to_string(id));
                // What the window system sends when the user picks the entry.
                SendMessageA(tour.setupWindow, WM_SYSCOMMAND, id, 0);
                return StepResult::Done;
            }};
}

TourStep findExtrasWindow(const char* caption, unsigned maxTicks) {
    return {true, [caption, maxTicks](Tour& tour) {
                return findPluginWindow(tour, caption, maxTicks, tour.extrasWindow,
                                        "extras window");
            }};
}

TourStep typeText(int controlId, const std::string& text) {
    return {true, [controlId, text](Tour& tour) {
                HWND control = controlOf(tour, controlId);
                if (control == nullptr) return StepResult::Done;
                HWND field = FindWindowExA(control, nullptr, "Edit", nullptr);
                tour.log("tour: type \"" + printable(text) + "\" into " + controlName(controlId));
                retype(field ? field : control, text);
                return StepResult::Done;
            }};
}

TourStep showText(int controlId) {
    return {
        true, [controlId](Tour& tour) {
            HWND control = controlOf(tour, controlId);
            if (control == nullptr) return StepResult::Done;
            tour.log("tour: " + controlName(controlId) + " shows \"" + wideText(control) + "\"");
            return StepResult::Done;
        }};
}

TourStep selectEntry(int comboId, int index) {
    return {true, [comboId, index](Tour& tour) {
                HWND combo = controlOf(tour, comboId);
                if (combo == nullptr) return StepResult::Done;
                const std::string where =
                    "entry " + std::to_string(index) + " of combo " + controlName(comboId);
                // CB_SETCURSEL notifies nobody; the plug-in reads the selection on the click.
                if (SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0) == CB_ERR) {
                    tour.log("tour: there is no " + where);
                } else {
                    tour.log("tour: select " + where);
                }
                return StepResult::Done;
            }};
}

TourStep click(int controlId) {
    return {
        true, [controlId](Tour& tour) {
            HWND control = controlOf(tour, controlId);
            if (control == nullptr) return StepResult::Done;
            // BM_CLICK would reach a disabled button, which no user could click.
            if (!IsWindowEnabled(control) || !IsWindowVisible(control)) {
                tour.log("tour: " + controlName(controlId) + " is disabled or hidden; not clicked");
                return StepResult::Done;
            }
            tour.log("tour: click " + controlName(controlId));
            SendMessageA(control, BM_CLICK, 0, 0);
            if (IsWindow(control) && isRadioButton(control) &&
                SendMessageA(control, BM_GETCHECK, 0, 0) != BST_CHECKED) {
                tour.log("tour: " + controlName(controlId) + " is not checked after the click");
            }
            return StepResult::Done;
        }};
}

TourStep setUpDown(int upDownId, int value) {
    return {
        true, [upDownId, value](Tour& tour) {
            HWND upDown = controlOf(tour, upDownId);
            if (upDown == nullptr) return StepResult::Done;
            tour.log("tour: set up-down " + controlName(upDownId) + " to " + std::to_string(value));
            SendMessageA(upDown, UDM_SETPOS32, 0, value);
            BOOL failed = FALSE;
            const auto now = static_cast<int>(
                SendMessageA(upDown, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)));
            if (failed || now != value) {
                tour.log("tour: up-down " + controlName(upDownId) + " reads " +
                         std::to_string(now) + (failed ? " (buddy text unreadable)" : ""));
            }
            return StepResult::Done;
        }};
}

TourStep waitUntilEnabled(int controlId, unsigned minTicks, unsigned maxTicks) {
    return {true, [controlId, minTicks, maxTicks](Tour& tour) {
                if (tour.ticksInStep < minTicks) return StepResult::Again;
                HWND control = controlOf(tour, controlId);
                if (control == nullptr) return StepResult::Done;
                if (IsWindowEnabled(control)) {
                    tour.log("tour: " + controlName(controlId) + " is enabled");
                    return StepResult::Done;
                }
                if (tour.ticksInStep < maxTicks) return StepResult::Again;
                tour.log("tour: " + controlName(controlId) + " is still disabled after " +
                         std::to_string(maxTicks * Tour::TICK_MS) + " ms");
                return StepResult::Done;
            }};
}

TourStep dragRow(int listId, int from, int to) {
    return {
        true, [listId, from, to](Tour& tour) {
            HWND list = controlOf(tour, listId);
            if (list == nullptr) return StepResult::Done;
            const std::string fromName = rowName(list, from);
            const std::string toName = rowName(list, to);
            tour.log("tour: drag " + describeRow(list, from) + " onto " + describeRow(list, to));
            Pointer pointer(tour.setupWindow, list);
            const std::string problem = pointer.perform({press(MouseButton::Left, from), pull(from),
                                                         moveTo(to), release(MouseButton::Left)});
            const bool swapped = rowName(list, from) == toName && rowName(list, to) == fromName;
            tour.log(std::string(swapped ? "tour: swapped" : "tour: not swapped") + " by " +
                     pointer.path() + ": " + describeRow(list, from) + ", " +
                     describeRow(list, to) + (problem.empty() ? "" : "; " + problem));
            return StepResult::Done;
        }};
}

TourStep renameRow(int listId, int row, const char* dialogCaption, int editId,
                   const std::string& text) {
    return {
        true, [listId, row, dialogCaption, editId, text](Tour& tour) {
            HWND list = controlOf(tour, listId);
            if (list == nullptr) return StepResult::Done;
            tour.log("tour: double-click " + describeRow(list, row));
            Pointer pointer(tour.setupWindow, list);
            ModalScript script;
            script.when(dialogCaption, [&](HWND dialog) {
                tour.log(std::string("tour: \"") + dialogCaption + "\" open by " + pointer.path());
                tour.log("tour: type \"" + printable(text) + "\" over the name");
                retype(GetDlgItem(dialog, editId), text);
                tour.log(std::string("tour: click OK in \"") + dialogCaption + "\"");
                clickButton(dialog, IDOK);
            });
            std::string problem;
            if (!script.runDuring([&] { problem = pointer.doubleClick(row); }))
                tour.log(std::string("tour: no \"") + dialogCaption + "\" opened");
            if (!problem.empty()) tour.log("tour: " + problem);
            return StepResult::Done;
        }};
}

TourStep showListRows(int listId, std::vector<int> rows) {
    return {true, [listId, rows](Tour& tour) {
                HWND list = controlOf(tour, listId);
                if (list == nullptr) return StepResult::Done;
                std::string line = "tour: list";
                for (int row : rows)
                    line += (row == rows.front() ? " " : ", ") + describeRow(list, row);
                tour.log(line);
                return StepResult::Done;
            }};
}

TourStep arrangeWindows() {
    return {true, [](Tour& tour) {
                RECT setup;
                GetWindowRect(tour.setupWindow, &setup);
                const int setupWidth = setup.right - setup.left;
                const int setupHeight = setup.bottom - setup.top;
                SetWindowPos(tour.setupWindow, nullptr, 0, 0, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
                const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
                const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
                const int height = std::max(screenHeight - setupHeight, 300);
                const int width = std::min(std::max(setupWidth, 960), screenWidth);
                tour.workbench().placeWindow(0, setupHeight, width, height);
                tour.log("tour: the setup window above the workbench");
                return StepResult::Done;
            }};
}

TourStep pause(unsigned milliseconds) {
    return {false, [milliseconds](Tour& tour) {
                return tour.ticksInStep < tourTicks(milliseconds) ? StepResult::Again
                                                                  : StepResult::Done;
            }};
}

TourStep screenshot() {
    return {false, [](Tour& tour) {
                if (!tour.workbench().screenshotWanted()) return StepResult::Done;
                for (HWND window : {tour.setupWindow, tour.extrasWindow})
                    if (window != nullptr && IsWindow(window)) UpdateWindow(window);
                tour.workbench().takeScreenshot();
                return StepResult::Done;
            }};
}

TourStep finish() {
    return {false, [](Tour& tour) {
                tour.log("tour: done");
                tour.stop();
                tour.workbench().close();
                return StepResult::Done;
            }};
}

}  // namespace TourSteps

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "workbench/tour.h"
#include "workbench/workbench.h"

namespace {

std::string controlName(int id) {
    return std::to_string(id);
}

// The control, or none with the reason logged.
HWND controlOf(Tour& tour, int id) {
    HWND control = GetDlgItem(tour.setupWindow, id);
    if (control == nullptr)
        tour.workbench.log.line("tour: control " + controlName(id) + " not found");
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

// Names carry the degree sign as the byte 0xB0; the log shows such bytes as
// escapes, so that it reads the same in any terminal.
std::string printable(const std::string& text) {
    std::string shown;
    for (char character : text) {
        const auto byte = static_cast<unsigned char>(character);
        if (byte >= 0x20 && byte < 0x7F) {
            shown += character;
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            shown += escape;
        }
    }
    return shown;
}

std::string rowName(HWND list, int row) {
    char text[260] = {};
    LVITEMA cell{};
    cell.iSubItem = 0;
    cell.pszText = text;
    cell.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
    return text;
}

std::string describeRow(HWND list, int row) {
    return "row " + std::to_string(row) + " \"" + printable(rowName(list, row)) + "\"";
}

// On the name in a row, in the list's client pixels.
POINT rowPoint(HWND list, int row, int offsetX = 0) {
    RECT label{};
    label.left = LVIR_LABEL;
    SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&label));
    return {label.left + 8 + offsetX, (label.top + label.bottom) / 2};
}

// Far enough along the row to pass the drag threshold.
constexpr int PULL_PIXELS = 14;

INPUT mouseInput(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    return input;
}

// Absolute coordinates are 65536ths of the screen; rounding up lands on the
// pixel itself after the window system scales back down.
INPUT pointerTo(HWND list, POINT client) {
    POINT at = client;
    ClientToScreen(list, &at);
    const long long width = GetSystemMetrics(SM_CXSCREEN);
    const long long height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input = mouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE);
    input.mi.dx = static_cast<LONG>((at.x * 65536LL + width - 1) / width);
    input.mi.dy = static_cast<LONG>((at.y * 65536LL + height - 1) / height);
    return input;
}

void sendInputs(std::vector<INPUT> inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

HWND dialogOfThisThread(const char* caption) {
    HWND window = FindWindowA("#32770", caption);
    if (window == nullptr || GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId())
        return nullptr;
    return window;
}

// What the list view hands its dialog and itself during a drag with the
// left button, for where the mouse does not reach it. A drag that the mouse
// did start holds the capture; it only needs the rest.
void dragByMessages(HWND dialog, HWND list, int from, int to) {
    const POINT pressed = rowPoint(list, from);
    const POINT dropped = rowPoint(list, to);
    if (GetCapture() != list) {
        NMLISTVIEW begin{};
        begin.hdr.hwndFrom = list;
        begin.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(list));
        begin.hdr.code = LVN_BEGINDRAG;
        begin.iItem = from;
        begin.ptAction = pressed;
        SendMessageA(dialog, WM_NOTIFY, begin.hdr.idFrom, reinterpret_cast<LPARAM>(&begin));
    }
    SendMessageA(list, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(dropped.x, dropped.y));
    SendMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(dropped.x, dropped.y));
}

}  // namespace

namespace TourSteps {

TourStep showDisplayName() {
    return {
        false, [](Tour& tour) {
            tour.workbench.log.line("tour: display name \"" + tour.workbench.displayName + "\"");
            return StepResult::Done;
        }};
}

TourStep menuCommand(UINT id) {
    return {false, [id](Tour& tour) {
                const auto& ids = tour.workbench.pluginMenuIds;
                if (std::find(ids.begin(), ids.end(), id) == ids.end()) {
                    tour.workbench.log.line("tour: the plug-in menu has no command " +
                                            std::to_string(id));
                    return StepResult::Done;
                }
                // The same road as a user's click on the menu entry.
                SendMessageA(tour.workbench.window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
                return StepResult::Done;
            }};
}

TourStep findSetupWindow(const char* caption, unsigned maxTicks) {
    return {false, [caption, maxTicks](Tour& tour) {
                HWND window = FindWindowA(nullptr, caption);
                if (window != nullptr && inThisProcess(window)) {
                    tour.setupWindow = window;
                    tour.workbench.log.line("tour: setup window open");
                    return StepResult::Done;
                }
                if (tour.ticksInStep < maxTicks) return StepResult::Again;
                tour.workbench.log.line("setup window not available in this build");
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
                    tour.workbench.log.line("tour: there is no " + where);
                } else {
                    tour.workbench.log.line("tour: select " + where);
                }
                return StepResult::Done;
            }};
}

TourStep click(int controlId) {
    return {true, [controlId](Tour& tour) {
                HWND control = controlOf(tour, controlId);
                if (control == nullptr) return StepResult::Done;
                // BM_CLICK would reach a disabled button, which no user could click.
                if (!IsWindowEnabled(control) || !IsWindowVisible(control)) {
                    tour.workbench.log.line("tour: " + controlName(controlId) +
                                            " is disabled or hidden; not clicked");
                    return StepResult::Done;
                }
                tour.workbench.log.line("tour: click " + controlName(controlId));
                SendMessageA(control, BM_CLICK, 0, 0);
                if (IsWindow(control) && isRadioButton(control) &&
                    SendMessageA(control, BM_GETCHECK, 0, 0) != BST_CHECKED) {
                    tour.workbench.log.line("tour: " + controlName(controlId) +
                                            " is not checked after the click");
                }
                return StepResult::Done;
            }};
}

TourStep setUpDown(int upDownId, int value) {
    return {true, [upDownId, value](Tour& tour) {
                HWND upDown = controlOf(tour, upDownId);
                if (upDown == nullptr) return StepResult::Done;
                tour.workbench.log.line("tour: set up-down " + controlName(upDownId) + " to " +
                                        std::to_string(value));
                SendMessageA(upDown, UDM_SETPOS32, 0, value);
                BOOL failed = FALSE;
                const auto now = static_cast<int>(
                    SendMessageA(upDown, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)));
                if (failed || now != value) {
                    tour.workbench.log.line("tour: up-down " + controlName(upDownId) + " reads " +
                                            std::to_string(now) +
                                            (failed ? " (buddy text unreadable)" : ""));
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
                    tour.workbench.log.line("tour: " + controlName(controlId) + " is enabled");
                    return StepResult::Done;
                }
                if (tour.ticksInStep < maxTicks) return StepResult::Again;
                tour.workbench.log.line("tour: " + controlName(controlId) +
                                        " is still disabled after " +
                                        std::to_string(maxTicks * Tour::TICK_MS) + " ms");
                return StepResult::Done;
            }};
}

TourStep dragRow(int listId, int from, int to) {
    struct Names {
        std::string from;
        std::string to;
    };
    auto before = std::make_shared<Names>();
    return {true, [listId, from, to, before](Tour& tour) {
                HWND list = controlOf(tour, listId);
                if (list == nullptr) return StepResult::Done;
                const bool swapped =
                    rowName(list, from) == before->to && rowName(list, to) == before->from;
                switch (tour.ticksInStep) {
                    case 0:
                        *before = {rowName(list, from), rowName(list, to)};
                        tour.workbench.log.line("tour: drag " + describeRow(list, from) + " onto " +
                                                describeRow(list, to));
                        // Only the foreground window keeps the mouse while it drags.
                        SetForegroundWindow(tour.setupWindow);
                        sendInputs({pointerTo(list, rowPoint(list, from)),
                                    mouseInput(MOUSEEVENTF_LEFTDOWN)});
                        return StepResult::Again;
                    case 1:
                        sendInputs({pointerTo(list, rowPoint(list, from, PULL_PIXELS))});
                        return StepResult::Again;
                    case 2:
                        sendInputs({pointerTo(list, rowPoint(list, to))});
                        return StepResult::Again;
                    case 3:
                        sendInputs({mouseInput(MOUSEEVENTF_LEFTUP)});
                        return StepResult::Again;
                    case 4:
                        if (swapped) {
                            tour.workbench.log.line(
                                "tour: swapped with the mouse: " + describeRow(list, from) + ", " +
                                describeRow(list, to));
                            return StepResult::Done;
                        }
                        tour.workbench.log.line(
                            "tour: the mouse did not reach the list; dragging with its "
                            "notifications");
                        dragByMessages(tour.setupWindow, list, from, to);
                        return StepResult::Again;
                    default:
                        tour.workbench.log.line(
                            std::string(swapped ? "tour: swapped: " : "tour: not swapped: ") +
                            describeRow(list, from) + ", " + describeRow(list, to));
                        return StepResult::Done;
                }
            }};
}

TourStep doubleClickRow(int listId, int row, const char* dialogCaption, unsigned maxTicks) {
    return {true, [listId, row, dialogCaption, maxTicks](Tour& tour) {
                HWND list = controlOf(tour, listId);
                if (list == nullptr) return StepResult::Done;
                if (tour.ticksInStep == 0) {
                    tour.workbench.log.line("tour: double-click " + describeRow(list, row));
                    SetForegroundWindow(tour.setupWindow);
                    const INPUT down = mouseInput(MOUSEEVENTF_LEFTDOWN);
                    const INPUT up = mouseInput(MOUSEEVENTF_LEFTUP);
                    sendInputs({pointerTo(list, rowPoint(list, row)), down, up, down, up});
                    return StepResult::Again;
                }
                // The dialog's own loop now delivers the ticks.
                if (dialogOfThisThread(dialogCaption) != nullptr) {
                    tour.workbench.log.line(std::string("tour: \"") + dialogCaption +
                                            "\" open by the mouse");
                    return StepResult::Done;
                }
                if (tour.ticksInStep < maxTicks) return StepResult::Again;
                tour.workbench.log.line(
                    "tour: the mouse did not reach the list; double-click by its notification");
                NMITEMACTIVATE activate{};
                activate.hdr.hwndFrom = list;
                activate.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(list));
                activate.hdr.code = NM_DBLCLK;
                activate.iItem = row;
                activate.ptAction = rowPoint(list, row);
                // The dialog runs inside this call; the next steps run in its loop.
                tour.ticksInStep = 0;
                SendMessageA(tour.setupWindow, WM_NOTIFY, activate.hdr.idFrom,
                             reinterpret_cast<LPARAM>(&activate));
                return StepResult::Done;
            }};
}

TourStep typeInDialog(const char* dialogCaption, int editId, const std::string& text) {
    return {true, [dialogCaption, editId, text](Tour& tour) {
                HWND dialog = dialogOfThisThread(dialogCaption);
                HWND edit = dialog != nullptr ? GetDlgItem(dialog, editId) : nullptr;
                if (edit == nullptr) {
                    tour.workbench.log.line(std::string("tour: no \"") + dialogCaption +
                                            "\" to type into");
                    return StepResult::Done;
                }
                tour.workbench.log.line("tour: type \"" + printable(text) + "\" over the name");
                SendMessageA(edit, EM_SETSEL, 0, -1);
                for (char character : text)
                    SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(character), 1);
                return StepResult::Done;
            }};
}

TourStep clickInDialog(const char* dialogCaption, int buttonId) {
    return {true, [dialogCaption, buttonId](Tour& tour) {
                HWND dialog = dialogOfThisThread(dialogCaption);
                HWND button = dialog != nullptr ? GetDlgItem(dialog, buttonId) : nullptr;
                if (button == nullptr) {
                    tour.workbench.log.line(std::string("tour: no button ") +
                                            std::to_string(buttonId) + " in \"" + dialogCaption +
                                            "\"");
                    return StepResult::Done;
                }
                tour.workbench.log.line("tour: click " + controlName(buttonId) + " in \"" +
                                        dialogCaption + "\"");
                SendMessageA(button, BM_CLICK, 0, 0);
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
                tour.workbench.log.line(line);
                return StepResult::Done;
            }};
}

TourStep screenshot() {
    return {false, [](Tour& tour) {
                if (tour.workbench.options.screenshotPath.empty()) return StepResult::Done;
                if (tour.setupWindow != nullptr) UpdateWindow(tour.setupWindow);
                UpdateWindow(tour.workbench.window);
                writeScreenshot(tour.workbench);
                return StepResult::Done;
            }};
}

TourStep finish() {
    return {false, [](Tour& tour) {
                tour.workbench.log.line("tour: done");
                KillTimer(tour.workbench.window, Tour::TIMER_ID);
                PostMessageA(tour.workbench.window, WM_CLOSE, 0, 0);
                return StepResult::Done;
            }};
}

}  // namespace TourSteps

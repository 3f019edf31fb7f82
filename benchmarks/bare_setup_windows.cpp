#include "benchmarks/bare_setup_windows.h"

#include <array>
#include <string>

#include "positioner/motion_tracker.h"
#include "positioner/positioner_model.h"
#include "res/resource_ids.h"
#include "store/factory_satellite_table.h"
#include "win/controls.h"
#include "win/dialog_keys.h"

namespace {

constexpr std::array<int, INDICATOR_PICTURES> FRAMES{IDC_FRAME_1, IDC_FRAME_2, IDC_FRAME_3,
                                                     IDC_FRAME_4, IDC_FRAME_5};
constexpr std::array<int, 12> LOCKED{IDC_DRIVE_WEST, IDC_DRIVE_EAST,  IDC_STEP_WEST,
                                     IDC_STEP_EAST,  IDC_REFERENCE,   IDC_GOTO,
                                     IDC_STORE,      IDC_RECALCULATE, IDC_FACTORY_RESET,
                                     IDC_CLOSE,      IDC_MODEL_STAB,  IDC_MODEL_MOTECK};

HWND forwardTo = nullptr;
int ticksLeft = 0;
int shownFrame = -1;

INT_PTR CALLBACK emptyProcedure(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

void fill(HWND dialog) {
    ListView list;
    list.attach(GetDlgItem(dialog, IDC_SAT_LIST));
    RECT frame{};
    GetWindowRect(list.hwnd(), &frame);
    const int width = frame.right - frame.left;
    list.insertColumn(0, "Satellite", (width * 4) / 8);
    list.insertColumn(1, "LNB", (width * 2) / 8);
    list.insertColumn(2, "Index", (width * 5) / 32);
    const auto& names = FactorySatelliteTable::names();
    for (int row = 0; row < static_cast<int>(names.size()); ++row) {
        list.insertSelectedItem(row, std::string(names[static_cast<std::size_t>(row)]));
        list.setItemText(row, 1, "LNB" + std::to_string(row));
        list.setItemText(row, 2, std::to_string(row + 1));
    }
    list.setExtendedStyle(0, LVS_EX_GRIDLINES | LVS_EX_TRACKSELECT);
    for (int id : {IDC_GOTO_PICKER, IDC_STORE_PICKER, IDC_RECALCULATE_PICKER}) {
        ComboBox picker;
        picker.attach(GetDlgItem(dialog, id));
        for (int i = 0; i < storedPositions(PositionerModel::Stab); ++i)
            picker.addString(std::string(names[static_cast<std::size_t>(i)]));
        picker.setCurrentSelection(0);
    }
}

void lock(HWND dialog, bool locked) {
    for (int id : LOCKED) EnableWindow(GetDlgItem(dialog, id), locked ? FALSE : TRUE);
}

void showFrame(HWND dialog, int frame, bool shown) {
    if (frame >= 0)
        ShowWindow(GetDlgItem(dialog, FRAMES[static_cast<std::size_t>(frame)]),
                   shown ? SW_SHOWNORMAL : SW_HIDE);
}

INT_PTR CALLBACK filledProcedure(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message != WM_INITDIALOG) return FALSE;
    fill(dialog);
    return TRUE;
}

INT_PTR CALLBACK forwardingProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) != IDC_STEP_WEST || HIWORD(wParam) != BN_CLICKED) return FALSE;
            SendMessageA(forwardTo, WM_USER, BARE_COMMAND, 0);
            return TRUE;
        case WM_TIMER:
            showFrame(dialog, shownFrame, false);
            if (--ticksLeft <= 0) {
                KillTimer(dialog, MOTION_TIMER_ID);
                shownFrame = -1;
                lock(dialog, false);
            } else {
                shownFrame = (shownFrame + 1) % INDICATOR_PICTURES;
                showFrame(dialog, shownFrame, true);
            }
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

HWND openEmptyTemplate(HMODULE plugin) {
    return CreateDialogParamA(plugin, MAKEINTRESOURCEA(IDD_POSITIONER_SETUP), nullptr,
                              emptyProcedure, 0);
}

HWND openFilledTemplate(HMODULE plugin) {
    return CreateDialogParamA(plugin, MAKEINTRESOURCEA(IDD_POSITIONER_SETUP), nullptr,
                              filledProcedure, 0);
}

HWND openForwardingTemplate(HMODULE plugin, HWND host) {
    forwardTo = host;
    HWND dialog = CreateDialogParamA(plugin, MAKEINTRESOURCEA(IDD_POSITIONER_SETUP), nullptr,
                                     forwardingProcedure, 0);
    if (dialog) enableDialogKeys(dialog, GetModuleHandleA(nullptr));
    return dialog;
}

void startBareDrive(HWND dialog, int ticks) {
    lock(dialog, true);
    ticksLeft = ticks;
    shownFrame = -1;
    SetTimer(dialog, MOTION_TIMER_ID, TICK_MS, nullptr);
}

void closeBareWindow(HWND dialog) {
    disableDialogKeys(dialog);
    DestroyWindow(dialog);
}

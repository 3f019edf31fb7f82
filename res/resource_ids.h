#pragma once

// Every id of the plug-in: resources, controls, commands, its timer and its
// private message. The resource script, the code, the workbench and the tests
// all take them from here. Hosts and stored layouts rely on these numbers, so
// they never change.

// The name the host shows for the plug-in; its message boxes carry it too.
#define PLUGIN_DISPLAY_NAME "DiSEqC Control"

#define ID_PLUGIN_SETUP 40008
#define ID_PLUGIN_INFO 40009

#define IDD_POSITIONER_SETUP 103
#define IDD_SAT_NAME 1012
#define IDD_ABOUT 1014
#define IDD_POSITIONER_EXTRAS 104

#define IDS_ABOUTBOX 1
#define IDM_ABOUTBOX 16
// System commands keep their low four bits for the window system, and the
// about entry answers to any id in 16..31.
#define IDS_EXTRAS 2
#define IDM_EXTRAS 32

#define IDI_DISH_TURN_1 1007
#define IDI_DISH_TURN_2 1008
#define IDI_DISH_TURN_3 1009
#define IDI_DISH_TURN_4 1010
#define IDI_DISH_TURN_5 1011
#define IDI_DISH 1013

// Dialog manager's "no id" for controls that nothing refers to.
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Controls of the setup window. The indicator frames are not consecutive
// (there is no 1028): name them, never count from the first.
#define IDC_CLOSE 1001
#define IDC_DRIVE_WEST 1002
#define IDC_DRIVE_EAST 1003
#define IDC_STEP_WEST 1004
#define IDC_STEP_EAST 1005
#define IDC_RECALCULATE 1006
#define IDC_STOP 1014
#define IDC_EAST_DEGREES 1015
#define IDC_EAST_SPIN 1016
#define IDC_WEST_DEGREES 1017
#define IDC_WEST_SPIN 1018
#define IDC_REFERENCE 1019
#define IDC_GOTO 1020
#define IDC_STORE 1021
#define IDC_FACTORY_RESET 1022
#define IDC_FRAME_1 1027
#define IDC_FRAME_2 1029
#define IDC_FRAME_3 1030
#define IDC_FRAME_4 1031
#define IDC_FRAME_5 1032
#define IDC_GOTO_PICKER 1034
#define IDC_STORE_PICKER 1035
#define IDC_RECALCULATE_PICKER 1036
#define IDC_SAT_LIST 1038
#define IDC_MODEL_STAB 1039
#define IDC_MODEL_MOTECK 1040
#define IDC_MODEL_GROUP 1041
#define IDC_API_LABEL 1044

// The drive timer of the setup window.
#define MOTION_TIMER_ID 40200
// The extras window's status line, redrawn while the dish moves.
#define DISH_STATUS_TIMER_ID 40201

// From the satellite list to the setup window. A drop sends SWAP with the two
// rows in wParam and lParam; a double-click sends RENAME with the row in
// wParam (-1 below the last row), answered nonzero when a name was entered.
// After every edit the list posts CHANGED. The code takes and gives them as the
// typed values of ui/custom_messages.h; test programs send them as they are.
#define WM_SATLIST_SWAP (WM_APP + 1)
#define WM_SATLIST_RENAME (WM_APP + 2)
#define WM_SATLIST_CHANGED 0x08E1

// Posted by the setup window to itself when it opened without reading the
// names: it says so once it shows.
#define WM_SETUP_NAMES_UNREAD (WM_APP + 8)

// To the extras window, after a command from either window changed the belief
// of where the dish is (DishBeliefChanged in ui/custom_messages.h).
#define WM_DISH_BELIEF_CHANGED (WM_APP + 9)

// Satellite name editor and about box.
#define IDC_SAT_NAME_EDIT 1042
#define IDC_ABOUT_VERSION 1043

// The positioner extras window. Its Close button is IDCANCEL, so that Escape
// closes it as well.
#define IDC_SITE_LATITUDE 1101
#define IDC_SITE_NORTH_SOUTH 1102
#define IDC_SITE_LONGITUDE 1103
#define IDC_SITE_EAST_WEST 1104
#define IDC_SITE_SAVE 1105
#define IDC_TARGET_SATELLITE 1106
#define IDC_TARGET_ANGLE 1107
#define IDC_TARGET_ANGLE_SIDE 1108
#define IDC_TARGET_LOOK 1109
#define IDC_GOTO_ANGLE 1110
#define IDC_SET_WEST_LIMIT 1111
#define IDC_SET_EAST_LIMIT 1112
#define IDC_LIMITS_OFF 1113
#define IDC_LIMITS_ON 1114
#define IDC_HOLD_DRIVE_WEST 1115
#define IDC_HOLD_DRIVE_EAST 1116
#define IDC_HALT 1117
// Where the plug-in believes the dish to be, and how long until it arrives.
#define IDC_DISH_STATUS 1118

// From a drive-while-held button to its dialog: the button's id in wParam,
// lParam 1 when it is pressed and 0 when it is let go, in whatever way
// (HoldButtonChange in ui/custom_messages.h).
#define WM_HOLD_BUTTON (WM_APP + 3)

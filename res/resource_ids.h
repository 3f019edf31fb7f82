#pragma once

// Resource and command ids. Hosts and stored layouts rely on these numbers,
// so they never change.

#define ID_PLUGIN_SETUP 40008
#define ID_PLUGIN_INFO 40009

#define IDD_POSITIONER_SETUP 103
#define IDD_SAT_NAME 1012
#define IDD_ABOUT 1014

#define IDS_ABOUTBOX 1
#define IDM_ABOUTBOX 16

#define IDI_DISH_TURN_1 1007
#define IDI_DISH_TURN_2 1008
#define IDI_DISH_TURN_3 1009
#define IDI_DISH_TURN_4 1010
#define IDI_DISH_TURN_5 1011
#define IDI_DISH 1013

#pragma once

// What the entries of the plug-in menu and On_Exit do.
void openSetupWindow();
void closeSetupWindow();
void showInfoPage();

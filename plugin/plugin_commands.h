#pragma once

// What the entries of the plug-in menu and On_Exit do. They expect the
// caller to have entered the plug-in's module context.
void openSetupWindow();
void closeSetupWindow();
void showInfoPage();

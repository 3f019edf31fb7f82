#pragma once

// The captions of the plug-in's windows: the resource script gives them to
// the dialogs, and hosts, the workbench and the tests find the windows by
// them. Macros, so that the resource compiler takes them too.

#define SETUP_CAPTION "Stab HH100/120 SG-2100 DiSEqC1.2 Positioner Setup V1.4"
#define RENAME_CAPTION "Enter/Modify Sat. Name"
#define ABOUT_CAPTION "About DiSEqC DLL"
#define EXTRAS_CAPTION "Positioner Extras"

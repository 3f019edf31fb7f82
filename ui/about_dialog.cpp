#include "ui/about_dialog.h"

#include "res/resource_ids.h"

AboutDialog::AboutDialog(HWND owner) : Dialog(IDD_ABOUT, owner) {}

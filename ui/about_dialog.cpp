#include "ui/about_dialog.h"

#include "res/resource_ids.h"

AboutDialog::AboutDialog(HINSTANCE module, HWND owner)
    : Dialog(module, IDD_ABOUT, owner, PLUGIN_DISPLAY_NAME) {}

BOOL AboutDialog::OnInitDialog() {
    Dialog::OnInitDialog();
    // Nothing owns the box, and the setup window stays above other windows:
    // without staying above too, the box could open hidden behind it.
    SetWindowPos(window(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return TRUE;
}

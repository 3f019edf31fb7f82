#include "ui/sat_name_dialog.h"

#include "res/resource_ids.h"

SatNameDialog::SatNameDialog(HINSTANCE module, HWND owner)
    : Dialog(module, IDD_SAT_NAME, owner, PLUGIN_DISPLAY_NAME) {}

BOOL SatNameDialog::OnInitDialog() {
    Dialog::OnInitDialog();
    // The template places the box at the screen's corner; the middle of the
    // work area is where the user looks for it. The setup window stays above
    // other windows and does not own this box, so the box must stay above
    // too, or it opens hidden behind the setup window with the keyboard.
    centreAboveOthers(workArea());
    return TRUE;
}

void SatNameDialog::DoDataExchange(DataExchange& exchange) {
    exchange.text(IDC_SAT_NAME_EDIT, name);
    exchange.maxChars(IDC_SAT_NAME_EDIT, name, SAT_NAME_MAX_CHARS);
}

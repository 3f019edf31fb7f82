#include "win/data_exchange.h"

#include <string>

#include "win/controls.h"
#include "win/message_box.h"

void DataExchange::bindControl(int id, Window& control) {
    if (control.hwnd()) return;
    control.attach(GetDlgItem(dialog_, id));
    boundControls_.push_back(&control);
}

void DataExchange::text(int id, std::string& value) {
    if (failed_) return;
    Window field;
    field.attach(GetDlgItem(dialog_, id));
    if (saveAndValidate_) {
        value = field.text();
    } else {
        field.setText(value);
    }
}

void DataExchange::maxChars(int id, const std::string& value, int maxChars) {
    if (failed_) return;
    HWND field = GetDlgItem(dialog_, id);
    if (!saveAndValidate_) {
        SendMessageA(field, EM_LIMITTEXT, static_cast<WPARAM>(maxChars), 0);
        return;
    }
    if (static_cast<int>(value.size()) <= maxChars) return;
    const std::string message = "Enter no more than " + std::to_string(maxChars) + " characters.";
    warn(dialog_, caption_, message.c_str());
    SetFocus(field);
    SendMessageA(field, EM_SETSEL, 0, -1);
    failed_ = true;
}

#include "win/message_box.h"

int showMessage(HWND owner, const char* text, UINT buttons) {
    return MessageBoxA(owner, text, "DiSEqC Control", buttons);
}

bool confirmed(HWND owner, const char* question) {
    return showMessage(owner, question, MB_OKCANCEL | MB_ICONQUESTION) != IDCANCEL;
}

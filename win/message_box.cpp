#include "win/message_box.h"

int showMessage(HWND owner, const char* caption, const char* text, UINT buttons) {
    return MessageBoxA(owner, text, caption, buttons);
}

void warn(HWND owner, const char* caption, const char* text) {
    showMessage(owner, caption, text, MB_OK | MB_ICONEXCLAMATION);
}

bool confirmed(HWND owner, const char* caption, const char* question) {
    return showMessage(owner, caption, question, MB_OKCANCEL | MB_ICONQUESTION) != IDCANCEL;
}

#include "tests/windows/satellite_list_modal_script.h"
#include "tests/windows/setup_window_fixture.h"

namespace {

constexpr UINT POLL_MS = 20;
ModalScript* activeScript = nullptr;

struct DialogSearch {
    const char* caption;
    HWND found;
};

BOOL CALLBACK matchDialog(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<DialogSearch*>(data);
    if (className(window) == "#32770" && windowText(window) == search->caption &&
        IsWindowVisible(window) && IsWindowEnabled(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK collectStaticText(HWND child, LPARAM data) {
    if (className(child) == "Static" && !windowText(child).empty())
        *reinterpret_cast<std::string*>(data) += windowText(child);
    return TRUE;
}

}  // namespace

ModalScript::~ModalScript() {
    if (timer_) KillTimer(nullptr, timer_);
    if (activeScript == this) activeScript = nullptr;
}

ModalScript& ModalScript::when(const char* caption, Action action) {
    steps_.push_back({caption, std::move(action)});
    return *this;
}

bool ModalScript::runDuring(const std::function<void()>& action) {
    activeScript = this;
    next_ = 0;
    timer_ = SetTimer(nullptr, 0, POLL_MS, &ModalScript::onTimer);
    action();
    KillTimer(nullptr, timer_);
    timer_ = 0;
    activeScript = nullptr;
    return next_ == steps_.size();
}

void CALLBACK ModalScript::onTimer(HWND, UINT, UINT_PTR, DWORD) {
    ModalScript* self = activeScript;
    if (!self || self->next_ >= self->steps_.size()) return;
    HWND window = findDialog(self->steps_[self->next_].caption.c_str());
    if (!window) return;
    // Counted before it runs: a step that opens another modal window is
    // still running when the next step answers that window.
    const Step& step = self->steps_[self->next_++];
    step.action(window);
}

HWND findDialog(const char* caption) {
    DialogSearch search{caption, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), &matchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string dialogItemText(HWND dialog, int id) {
    return windowText(GetDlgItem(dialog, id));
}

std::string staticTexts(HWND dialog) {
    std::string texts;
    EnumChildWindows(dialog, &collectStaticText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

void clickButton(HWND dialog, int id) {
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void typeInto(HWND field, const std::string& characters) {
    for (char character : characters)
        SendMessageA(field, WM_CHAR, static_cast<unsigned char>(character), 1);
}

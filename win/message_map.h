#pragma once

#include <span>
#include <variant>

#include <windows.h>

// A dialog's handler table: which member answers which message or which
// control's notification. It reads like a table on purpose.
template <class Owner>
struct MessageEntry {
    using OnCommand = void (Owner::*)();
    using OnMessage = LRESULT (Owner::*)(WPARAM, LPARAM);

    UINT message;
    int control;        // WM_COMMAND only
    UINT notification;  // WM_COMMAND only
    std::variant<OnCommand, OnMessage> handler;
};

template <class Owner>
constexpr MessageEntry<Owner> onCommand(int control, UINT notification, void (Owner::*handler)()) {
    return {WM_COMMAND, control, notification, handler};
}

template <class Owner>
constexpr MessageEntry<Owner> onClick(int control, void (Owner::*handler)()) {
    return onCommand(control, BN_CLICKED, handler);
}

template <class Owner>
constexpr MessageEntry<Owner> onMessage(UINT message, LRESULT (Owner::*handler)(WPARAM, LPARAM)) {
    return {message, 0, 0, handler};
}

// Finds the entry for a message and runs it. True when one answered.
template <class Owner>
bool dispatchMessage(Owner& owner, std::span<const MessageEntry<Owner>> map, UINT message,
                     WPARAM wParam, LPARAM lParam, LRESULT& result) {
    for (const MessageEntry<Owner>& entry : map) {
        if (entry.message != message) continue;
        if (message == WM_COMMAND && (static_cast<int>(LOWORD(wParam)) != entry.control ||
                                      HIWORD(wParam) != entry.notification))
            continue;
        if (auto* command = std::get_if<typename MessageEntry<Owner>::OnCommand>(&entry.handler)) {
            (owner.*(*command))();
            result = 0;
        } else {
            result = (owner.*std::get<typename MessageEntry<Owner>::OnMessage>(entry.handler))(
                wParam, lParam);
        }
        return true;
    }
    return false;
}

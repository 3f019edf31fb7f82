#pragma once

#include <concepts>

#include <windows.h>

// A window message of the plug-in's own, as a value: the type names the code and is the one place
// that packs its values into the two parameters and unpacks them again. Handlers and senders
// then see fields, never casts.
template <class Message>
concept TypedMessage = requires(const Message message, WPARAM wParam, LPARAM lParam) {
    { Message::CODE } -> std::convertible_to<UINT>;
    { message.wParam() } -> std::same_as<WPARAM>;
    { message.lParam() } -> std::same_as<LPARAM>;
    { Message::from(wParam, lParam) } -> std::same_as<Message>;
};

// A message that carries nothing but its code.
template <UINT Code>
struct SignalMessage {
    static constexpr UINT CODE = Code;
    WPARAM wParam() const { return 0; }
    LPARAM lParam() const { return 0; }
    static SignalMessage from(WPARAM, LPARAM) { return {}; }
};

template <TypedMessage Message>
LRESULT sendMessageTo(HWND window, const Message& message) {
    return SendMessageA(window, Message::CODE, message.wParam(), message.lParam());
}

template <TypedMessage Message>
void postMessageTo(HWND window, const Message& message) {
    PostMessageA(window, Message::CODE, message.wParam(), message.lParam());
}

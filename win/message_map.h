#pragma once

#include <span>
#include <type_traits>

#include <windows.h>

#include "win/typed_message.h"

// A dialog's handler table: which member answers which message or which control's notification.
// It reads like a table on purpose. Each entry calls its member through a function made for it,
// so a handler takes what its message means: nothing, the raw parameters, or a typed message.
template <class Owner>
struct MessageEntry {
    UINT message;
    int control;        // WM_COMMAND only
    UINT notification;  // WM_COMMAND only
    // Sets `result` only when the handler has one; it is 0 before.
    void (*answer)(Owner& owner, WPARAM wParam, LPARAM lParam, LRESULT& result);
};

template <class Owner>
using MessageMap = std::span<const MessageEntry<Owner>>;

namespace message_map_detail {

template <class>
struct Member;

template <class Owner, class Result, class... Parameters>
struct Member<Result (Owner::*)(Parameters...)> {
    using Class = Owner;
};

template <class Owner, class Result, class Message>
Message messageOf(Result (Owner::*)(Message));

// A handler without a result is the last call, so that its thunk is a jump.
template <class Call>
void answerWith(Call&& call, LRESULT& result) {
    if constexpr (std::is_void_v<decltype(call())>)
        call();
    else
        result = static_cast<LRESULT>(call());
}

template <auto Handler>
using OwnerOf = typename Member<decltype(Handler)>::Class;

template <auto Handler>
using MessageOf = std::remove_cvref_t<decltype(messageOf(Handler))>;

template <auto Handler>
void withoutParameters(OwnerOf<Handler>& owner, WPARAM, LPARAM, LRESULT& result) {
    answerWith([&] { return (owner.*Handler)(); }, result);
}

template <auto Handler>
void withParameters(OwnerOf<Handler>& owner, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    answerWith([&] { return (owner.*Handler)(wParam, lParam); }, result);
}

template <auto Handler>
void withTypedMessage(OwnerOf<Handler>& owner, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    answerWith([&] { return (owner.*Handler)(MessageOf<Handler>::from(wParam, lParam)); }, result);
}

}  // namespace message_map_detail

template <auto Handler>
constexpr auto onCommand(int control, UINT notification) {
    return MessageEntry<message_map_detail::OwnerOf<Handler>>{
        WM_COMMAND, control, notification, &message_map_detail::withoutParameters<Handler>};
}

template <auto Handler>
constexpr auto onClick(int control) {
    return onCommand<Handler>(control, BN_CLICKED);
}

// A window system message; the handler takes nothing or (WPARAM, LPARAM).
template <auto Handler>
constexpr auto onMessage(UINT message) {
    using Owner = message_map_detail::OwnerOf<Handler>;
    if constexpr (std::is_invocable_v<decltype(Handler), Owner&>)
        return MessageEntry<Owner>{message, 0, 0, &message_map_detail::withoutParameters<Handler>};
    else
        return MessageEntry<Owner>{message, 0, 0, &message_map_detail::withParameters<Handler>};
}

// A typed message: its code comes with the type that the handler takes.
template <auto Handler>
requires TypedMessage<message_map_detail::MessageOf<Handler>>
constexpr auto onMessage() {
    return MessageEntry<message_map_detail::OwnerOf<Handler>>{
        message_map_detail::MessageOf<Handler>::CODE, 0, 0,
        &message_map_detail::withTypedMessage<Handler>};
}

// Finds the entry for a message and runs it. True when one answered.
template <class Owner>
bool dispatchMessage(Owner& owner, MessageMap<Owner> map, UINT message, WPARAM wParam,
                     LPARAM lParam, LRESULT& result) {
    for (const MessageEntry<Owner>& entry : map) {
        if (entry.message != message) continue;
        if (message == WM_COMMAND && (static_cast<int>(LOWORD(wParam)) != entry.control ||
                                      HIWORD(wParam) != entry.notification))
            continue;
        result = 0;
        entry.answer(owner, wParam, lParam, result);
        return true;
    }
    return false;
}

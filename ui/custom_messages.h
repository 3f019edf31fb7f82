#pragma once

#include <cstddef>

#include <windows.h>

#include "res/resource_ids.h"
#include "win/typed_message.h"

// The plug-in's own messages as values. The codes stay those of the resource
// ids, as hosts and test programs send them too; what they carry is packed and
// unpacked here alone.

// A drop in the satellite list: the names of two rows change places. A row
// that is not one of the list's is passed on as it came, to be refused.
struct SatListSwap {
    static constexpr UINT CODE = WM_SATLIST_SWAP;
    std::size_t first;
    std::size_t second;

    WPARAM wParam() const { return static_cast<WPARAM>(first); }
    LPARAM lParam() const { return static_cast<LPARAM>(second); }
    static SatListSwap from(WPARAM wParam, LPARAM lParam) {
        return {static_cast<std::size_t>(wParam), static_cast<std::size_t>(lParam)};
    }
};

// A double-click in the satellite list: the name of `row` is asked for; below
// the last row there is none. Answered nonzero when a name was entered.
struct SatListRename {
    static constexpr UINT CODE = WM_SATLIST_RENAME;
    std::size_t row;

    WPARAM wParam() const { return static_cast<WPARAM>(row); }
    LPARAM lParam() const { return 0; }
    static SatListRename from(WPARAM wParam, LPARAM) { return {static_cast<std::size_t>(wParam)}; }
};

// Posted by the satellite list after every edit.
using SatListChanged = SignalMessage<WM_SATLIST_CHANGED>;

// Posted by the setup window to itself when it opened without reading the names.
using SetupNamesUnread = SignalMessage<WM_SETUP_NAMES_UNREAD>;

// Told to the window that shows the belief of where the dish is, after every command that
// either window sent and every change of the positioner's speed.
using DishBeliefChanged = SignalMessage<WM_DISH_BELIEF_CHANGED>;

// A drive-while-held button went down or came up, in whatever way.
struct HoldButtonChange {
    static constexpr UINT CODE = WM_HOLD_BUTTON;
    int button;
    bool pressed;

    WPARAM wParam() const { return static_cast<WPARAM>(button); }
    LPARAM lParam() const { return pressed ? 1 : 0; }
    static HoldButtonChange from(WPARAM wParam, LPARAM lParam) {
        return {static_cast<int>(wParam), lParam != 0};
    }
};

#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string_view>

// A broken property stops the run; libFuzzer then keeps the input that broke it.
inline void check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

inline std::string_view textOf(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// An input made of a content and fields after it, each introduced by a 0x1F byte. The fields are
// taken from the end, the last one first; those that the input lacks keep their value. Returns
// the content.
inline std::string_view splitFields(std::string_view data,
                                    std::initializer_list<std::string_view*> lastFirst) {
    for (std::string_view* field : lastFirst) {
        const std::size_t mark = data.rfind('\x1F');
        if (mark == std::string_view::npos) break;
        *field = data.substr(mark + 1);
        data = data.substr(0, mark);
    }
    return data;
}

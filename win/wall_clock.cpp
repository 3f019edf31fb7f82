#include "win/wall_clock.h"

#include <windows.h>

#include <cmath>

namespace {

// From 1601, where FILETIME counts, to 1970, in 100 ns units.
constexpr double UNIX_EPOCH_TICKS = 116444736000000000.0;
constexpr double TICKS_PER_MS = 10000.0;

}  // namespace

double wallClockMs() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const ULONGLONG ticks = (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return (static_cast<double>(ticks) - UNIX_EPOCH_TICKS) / TICKS_PER_MS;
}

std::string localClockWords(double wallClockMs) {
    const double ticks = std::floor(wallClockMs) * TICKS_PER_MS + UNIX_EPOCH_TICKS;
    FILETIME utc{};
    SYSTEMTIME local{};
    if (!(ticks >= 0.0 && ticks < 1.8e19)) return "--:--";
    const auto whole = static_cast<ULONGLONG>(ticks);
    utc.dwLowDateTime = static_cast<DWORD>(whole);
    utc.dwHighDateTime = static_cast<DWORD>(whole >> 32);
    SYSTEMTIME universal{};
    if (!FileTimeToSystemTime(&utc, &universal) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local)) {
        return "--:--";
    }
    const char text[] = {static_cast<char>('0' + local.wHour / 10 % 10),
                         static_cast<char>('0' + local.wHour % 10), ':',
                         static_cast<char>('0' + local.wMinute / 10 % 10),
                         static_cast<char>('0' + local.wMinute % 10)};
    return std::string(text, sizeof text);
}

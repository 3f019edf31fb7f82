#pragma once

#include <string>

// Milliseconds since 1970 by the system's clock in UTC: the clock that the dish's state file keeps
// its moments in, since it runs on between two runs of the host.
double wallClockMs();

// The local time of day at such a moment, as "14:02".
std::string localClockWords(double wallClockMs);

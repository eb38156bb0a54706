#pragma once

#include <algorithm>
#include <chrono>

// The wait before the next try to sign in after `failures` tries in a row failed: doubling from
// one second, at most five minutes, so that a server back from an outage is found soon without
// being hammered while it is down.
inline std::chrono::seconds xmppRetryDelay(int failures)
{
    constexpr std::chrono::seconds longest{300};
    if (failures >= 9) // 2^9 s is past the cap already; no shift overflows
        return longest;
    return std::min(std::chrono::seconds{1LL << std::max(failures, 0)}, longest);
}

#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform::os {
class Desktop;
}

namespace web {

// An integer from low to high drawn from the time-stamp counter: cheap, and close for calls that
// follow each other within a few cycles, so only for throw-away values. 0 when high < low.
std::int32_t QuickRandom(std::int32_t low, std::int32_t high);

// The same arithmetic on a given counter value: low + (counter * 23 + 7) mod (high - low + 1),
// all in unsigned 32-bit arithmetic.
std::int32_t QuickRandomFromCounter(std::uint32_t counter, std::int32_t low, std::int32_t high);

// `count` random decimal digits; kind 0 or not given any digit, 1 odd digits, 2 even digits, any
// other kind none.
std::string RandomDigits(int count, std::optional<int> kind = {});
// The same, dispatching the calling thread's pending messages after each digit.
std::string RandomDigits(platform::os::Desktop& desktop, int count, std::optional<int> kind = {});

}  // namespace web

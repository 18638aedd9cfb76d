#include "web/quick_random.h"

#include <x86intrin.h>

#include <functional>

#include "web/pump_wait.h"

namespace web {

std::int32_t QuickRandomFromCounter(std::uint32_t counter, std::int32_t low, std::int32_t high) {
  if (high < low) return 0;
  const std::uint32_t span = static_cast<std::uint32_t>(high) - static_cast<std::uint32_t>(low) + 1;
  const std::uint32_t mixed = counter * 23u + 7u;
  // A span of 2^32 values wraps to 0; every value is then in range as it stands.
  const std::uint32_t offset = span == 0 ? mixed : mixed % span;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(low) + offset);
}

std::int32_t QuickRandom(std::int32_t low, std::int32_t high) {
  return QuickRandomFromCounter(static_cast<std::uint32_t>(__rdtsc()), low, high);
}

namespace {

std::string DrawDigits(int count, std::optional<int> kind,
                       const std::function<void()>& afterDigit) {
  static constexpr char kOddDigits[] = "13579";
  static constexpr char kEvenDigits[] = "02468";
  std::string digits;
  for (int i = 0; i < count; ++i) {
    switch (kind.value_or(0)) {
      case 0:
        digits += static_cast<char>('0' + QuickRandom(1, 10) - 1);
        break;
      case 1:
        digits += kOddDigits[QuickRandom(1, 5) - 1];
        break;
      case 2:
        digits += kEvenDigits[QuickRandom(1, 5) - 1];
        break;
      default:
        break;
    }
    if (afterDigit) afterDigit();
  }
  return digits;
}

}  // namespace

std::string RandomDigits(int count, std::optional<int> kind) {
  return DrawDigits(count, kind, {});
}

std::string RandomDigits(platform::os::Desktop& desktop, int count, std::optional<int> kind) {
  return DrawDigits(count, kind, [&desktop] { DispatchPendingMessages(desktop); });
}

}  // namespace web

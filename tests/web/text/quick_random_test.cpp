#include "web/quick_random.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace web {
namespace {

TEST(QuickRandomFromCounter, MixesTheCounterInUnsigned32BitArithmetic) {
  struct Case {
    std::uint32_t counter;
    std::int32_t low, high, expected;
  };
  const Case cases[] = {
      {0, 1, 10, 1 + 7 % 10},
      {1, 1, 10, 1 + 30 % 10},
      {100, 5, 5, 5},
      // 0xFFFFFFFF * 23 + 7 wraps to 0xFFFFFFF0 (4294967280), which is 0 mod 10.
      {0xFFFFFFFFu, 0, 9, 0},
      {0xFFFFFFFFu, -10, -1, -10},
      {7, 10, 9, 0},                              // high below low
      {3, INT32_MIN, INT32_MAX, INT32_MIN + 76},  // the full range has no modulus
  };
  for (const Case& c : cases) {
    EXPECT_EQ(QuickRandomFromCounter(c.counter, c.low, c.high), c.expected) << c.counter;
  }
}

TEST(QuickRandom, StaysWithinTheRange) {
  for (int i = 0; i < 1000; ++i) {
    const std::int32_t value = QuickRandom(3, 7);
    ASSERT_GE(value, 3);
    ASSERT_LE(value, 7);
  }
  EXPECT_EQ(QuickRandom(9, 2), 0);
}

TEST(RandomDigits, DrawsDigitsOfTheAskedKind) {
  struct Case {
    std::optional<int> kind;
    std::string allowed;
  };
  const Case cases[] = {
      {std::nullopt, "0123456789"}, {0, "0123456789"}, {1, "13579"}, {2, "02468"}};
  for (const Case& c : cases) {
    const std::string digits = RandomDigits(200, c.kind);
    ASSERT_EQ(digits.size(), 200u);
    EXPECT_EQ(digits.find_first_not_of(c.allowed), std::string::npos) << digits;
  }
}

TEST(RandomDigits, UnknownKindOrNoCountGivesNothing) {
  EXPECT_EQ(RandomDigits(5, 3), "");
  EXPECT_EQ(RandomDigits(5, -1), "");
  EXPECT_EQ(RandomDigits(0), "");
  EXPECT_EQ(RandomDigits(-4), "");
}

}  // namespace
}  // namespace web

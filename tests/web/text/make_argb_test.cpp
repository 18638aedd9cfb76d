#include "web/make_argb.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

namespace web {
namespace {

TEST(MakeArgb, SwapsRedAndBlueAndAppliesTheAlpha) {
  struct Case {
    std::uint32_t colour;
    std::optional<int> alpha;
    std::uint32_t expected;
  };
  const Case cases[] = {
      {0xFF8800, 50, 0x320088FF},
      {0x000000, 210, 0xD2000000},
      {0xFFFFFF, std::nullopt, 0xFEFFFFFF},
      {0x123456, 255, 0xFE563412},
      {0x123456, 0, 0x00563412},  // a given 0 is not an omitted alpha
      {0x123456, 254, 0xFE563412},
      {0x7F123456, 1, 0x01563412},  // the colour's top byte is ignored
      {0x0000FF, 256, 0x00FF0000},  // alpha wraps like the rest of the arithmetic
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MakeArgb(c.colour, c.alpha), c.expected) << std::hex << c.colour;
  }
}

}  // namespace
}  // namespace web

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "directui/core/raw_memory.h"
#include "directui/core/rect_f.h"

namespace directui {
namespace {

TEST(RectFTest, ReadRectFCopiesSixteenBytesAndOwnsTheCopy) {
  std::array<float, 5> memory = {1.5f, -2.0f, 30.25f, 40.0f, 99.0f};
  RectF copy = ReadRectF(memory.data());
  memory[0] = 7.0f;
  EXPECT_EQ(copy, (RectF{1.5f, -2.0f, 30.25f, 40.0f}));
  EXPECT_EQ(ReadRectF(nullptr), RectF{});
  EXPECT_EQ(MakeRectF(-3, 4, 383, 343), (RectF{-3.0f, 4.0f, 383.0f, 343.0f}));
}

TEST(RawMemoryTest, CopyBytesToHonoursOnlyACountInsideTheBuffer) {
  const std::vector<std::uint8_t> bytes = {1, 2, 3, 4};
  struct Case {
    const char* name;
    std::optional<std::size_t> count;
    std::vector<std::uint8_t> expected;
  };
  const Case cases[] = {
      {"no count", std::nullopt, {1, 2, 3, 4, 0xEE}},
      {"count 0 copies all", 0, {1, 2, 3, 4, 0xEE}},
      {"count inside", 2, {1, 2, 0xEE, 0xEE, 0xEE}},
      {"count equal to the length", 4, {1, 2, 3, 4, 0xEE}},
      {"count beyond the length", 9, {1, 2, 3, 4, 0xEE}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::uint8_t> target(5, 0xEE);
    CopyBytesTo(target.data(), bytes, c.count);
    EXPECT_EQ(target, c.expected);
  }
  CopyBytesTo(nullptr, bytes);  // nothing happens
}

TEST(RawMemoryTest, RawBlocksAreZeroFilledAndFreedEmpty) {
  RawBlock block = RawAlloc(340);
  ASSERT_FALSE(block.empty());
  ASSERT_EQ(block.size(), 340u);
  for (std::uint8_t b : block.bytes()) ASSERT_EQ(b, 0);
  std::memset(block.data(), 0xAB, block.size());
  RawFree(block);
  EXPECT_TRUE(block.empty());
  EXPECT_EQ(block.size(), 0u);
  EXPECT_TRUE(RawAlloc(0).empty());
}

}  // namespace
}  // namespace directui

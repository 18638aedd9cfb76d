#include "web/private_heap.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

namespace web {
namespace {

TEST(PrivateHeap, BlocksAreAlignedDistinctAndWritable) {
  PrivateHeap heap;
  std::vector<std::pair<std::uint8_t*, std::size_t>> blocks;
  for (std::size_t size : {1, 16, 17, 100, 1024, 1025, 5000, 40, 0}) {
    auto* block = static_cast<std::uint8_t*>(heap.Allocate(size));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % 16, 0u);
    std::memset(block, static_cast<int>(size & 0xFF), size);
    blocks.emplace_back(block, size);
  }
  // No block overlaps another: each still holds its own fill byte.
  for (const auto& [block, size] : blocks) {
    for (std::size_t i = 0; i < size; ++i) ASSERT_EQ(block[i], size & 0xFF);
  }
}

TEST(PrivateHeap, FreedBlocksAreReusedForTheSameSize) {
  PrivateHeap heap;
  void* small = heap.Allocate(48);
  heap.Free(small, 48);
  EXPECT_EQ(heap.Allocate(40), small);  // same 16-byte size class
  void* other = heap.Allocate(48);
  EXPECT_NE(other, small);
}

TEST(PrivateHeap, ZeroedBlocksAreZeroEvenWhenReused) {
  PrivateHeap heap;
  auto* block = static_cast<std::uint8_t*>(heap.Allocate(64));
  std::memset(block, 0xAB, 64);
  heap.Free(block, 64);
  auto* zeroed = static_cast<std::uint8_t*>(heap.AllocateZeroed(64));
  ASSERT_EQ(zeroed, block);
  for (int i = 0; i < 64; ++i) ASSERT_EQ(zeroed[i], 0);
  auto* large = static_cast<std::uint8_t*>(heap.AllocateZeroed(100000));
  for (int i = 0; i < 100000; i += 997) ASSERT_EQ(large[i], 0);
  heap.Free(large, 100000);
}

}  // namespace
}  // namespace web

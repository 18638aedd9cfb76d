#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "directui/core/image_bytes.h"

namespace {
std::atomic<long> allocations{0};
}

// The replacements below pair malloc with free themselves; the compiler cannot see that through
// the operators it inlines.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}

namespace directui {
namespace {

TEST(ImageNoAllocTest, EmptyBytesGiveNoImageAndAllocateNothing) {
  for (ImageLoadOptions options : {ImageLoadOptions{}, ImageLoadOptions{.add_signature = true},
                                   ImageLoadOptions{.keep_stream = true}}) {
    const long before = allocations.load();
    ImagePtr image = LoadImageFromBytes({}, options);
    const long after = allocations.load();
    EXPECT_FALSE(image);
    EXPECT_EQ(after, before);
  }
  // The counter does see what the loader allocates for bytes it has to look at.
  const std::uint8_t junk[] = {1, 2, 3};
  const long before = allocations.load();
  LoadImageFromBytes(junk, {.add_signature = true});
  EXPECT_GT(allocations.load(), before);
}

}  // namespace
}  // namespace directui

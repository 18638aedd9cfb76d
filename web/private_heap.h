#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <unordered_map>
#include <vector>

namespace web {

// A heap of its own for one owner. Small blocks are cut from large chunks and reused by size once
// freed; destroying the heap frees every block at once, however many there are.
class PrivateHeap {
 public:
  PrivateHeap() = default;
  ~PrivateHeap();
  PrivateHeap(const PrivateHeap&) = delete;
  PrivateHeap& operator=(const PrivateHeap&) = delete;

  // A block of at least `bytes` bytes aligned to 16, or null when memory is exhausted.
  void* Allocate(std::size_t bytes) noexcept;
  void* AllocateZeroed(std::size_t bytes) noexcept;
  // `bytes` is the size the block was allocated with.
  void Free(void* block, std::size_t bytes) noexcept;

 private:
  static constexpr std::size_t kGranule = 16;
  static constexpr std::size_t kLargestSmallBlock = 1024;
  static constexpr std::size_t kChunkBytes = 64 * 1024;

  struct FreeBlock {
    FreeBlock* next;
  };

  static std::size_t RoundUp(std::size_t bytes) {
    return bytes == 0 ? kGranule : (bytes + kGranule - 1) / kGranule * kGranule;
  }
  void* AllocateSmall(std::size_t rounded);
  void* AllocateLarge(std::size_t bytes);

  std::array<FreeBlock*, kLargestSmallBlock / kGranule + 1> freeLists_{};
  std::vector<std::unique_ptr<std::byte[]>> chunks_;
  std::byte* chunkFree_ = nullptr;
  std::size_t chunkBytesLeft_ = 0;
  std::unordered_map<void*, std::unique_ptr<std::byte[]>> largeBlocks_;
};

}  // namespace web

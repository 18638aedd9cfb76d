#include "web/private_heap.h"

#include <cstring>
#include <new>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SHOULU_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define SHOULU_ASAN 1
#endif

#if defined(SHOULU_ASAN)
#include <sanitizer/asan_interface.h>
// Blocks that are free inside a chunk are poisoned, so a use after Free is still reported.
#define SHOULU_POISON(address, size) ASAN_POISON_MEMORY_REGION(address, size)
#define SHOULU_UNPOISON(address, size) ASAN_UNPOISON_MEMORY_REGION(address, size)
#else
#define SHOULU_POISON(address, size) ((void)(address), (void)(size))
#define SHOULU_UNPOISON(address, size) ((void)(address), (void)(size))
#endif

namespace web {

PrivateHeap::~PrivateHeap() {
  for (auto& chunk : chunks_) SHOULU_UNPOISON(chunk.get(), kChunkBytes);
}

void* PrivateHeap::Allocate(std::size_t bytes) noexcept {
  try {
    const std::size_t rounded = RoundUp(bytes);
    if (rounded < bytes) return nullptr;
    return rounded <= kLargestSmallBlock ? AllocateSmall(rounded) : AllocateLarge(bytes);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

void* PrivateHeap::AllocateZeroed(std::size_t bytes) noexcept {
  void* block = Allocate(bytes);
  if (block != nullptr) std::memset(block, 0, bytes);
  return block;
}

void PrivateHeap::Free(void* block, std::size_t bytes) noexcept {
  if (block == nullptr) return;
  const std::size_t rounded = RoundUp(bytes);
  if (rounded > kLargestSmallBlock) {
    largeBlocks_.erase(block);
    return;
  }
  auto* freed = static_cast<FreeBlock*>(block);
  freed->next = freeLists_[rounded / kGranule];
  freeLists_[rounded / kGranule] = freed;
  SHOULU_POISON(static_cast<std::byte*>(block) + sizeof(FreeBlock), rounded - sizeof(FreeBlock));
}

void* PrivateHeap::AllocateSmall(std::size_t rounded) {
  FreeBlock*& list = freeLists_[rounded / kGranule];
  if (list != nullptr) {
    FreeBlock* reused = list;
    list = reused->next;
    SHOULU_UNPOISON(reused, rounded);
    return reused;
  }
  if (chunkBytesLeft_ < rounded) {
    std::unique_ptr<std::byte[]> chunk(new (std::nothrow) std::byte[kChunkBytes]);
    if (!chunk) return nullptr;
    chunks_.push_back(std::move(chunk));
    chunkFree_ = chunks_.back().get();
    chunkBytesLeft_ = kChunkBytes;
    SHOULU_POISON(chunkFree_, kChunkBytes);
  }
  void* block = chunkFree_;
  SHOULU_UNPOISON(block, rounded);
  chunkFree_ += rounded;
  chunkBytesLeft_ -= rounded;
  return block;
}

void* PrivateHeap::AllocateLarge(std::size_t bytes) {
  std::unique_ptr<std::byte[]> block(new (std::nothrow) std::byte[bytes]);
  if (!block) return nullptr;
  void* address = block.get();
  largeBlocks_.emplace(address, std::move(block));
  return address;
}

}  // namespace web

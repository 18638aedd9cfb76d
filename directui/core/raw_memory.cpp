#include "directui/core/raw_memory.h"

#include <cstring>

namespace directui {

RawBlock RawAlloc(std::size_t size) {
  RawBlock block;
  if (size == 0) return block;
  block.memory_.reset(static_cast<std::uint8_t*>(std::calloc(size, 1)));
  if (block.memory_) block.size_ = size;
  return block;
}

void RawFree(RawBlock& block) {
  block.memory_.reset();
  block.size_ = 0;
}

void CopyBytesTo(void* address, std::span<const std::uint8_t> bytes,
                 std::optional<std::size_t> count) {
  if (address == nullptr || bytes.empty()) return;
  std::size_t n = bytes.size();
  if (count && *count > 0 && *count < n) n = *count;
  std::memcpy(address, bytes.data(), n);
}

}  // namespace directui

#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <span>

namespace directui {

// A block of plain zero-filled memory that outlives the call that made it or travels in a
// message (event tables, delivered message payloads). Nothing here is ever executable.
class RawBlock {
 public:
  RawBlock() = default;

  bool empty() const { return memory_ == nullptr; }
  std::size_t size() const { return size_; }
  std::uint8_t* data() const { return memory_.get(); }
  std::span<std::uint8_t> bytes() const { return {memory_.get(), size_}; }

 private:
  friend RawBlock RawAlloc(std::size_t size);
  friend void RawFree(RawBlock& block);
  struct Release {
    void operator()(std::uint8_t* p) const { std::free(p); }
  };
  std::unique_ptr<std::uint8_t, Release> memory_;
  std::size_t size_ = 0;
};

// A zero-filled block; the empty block for size 0 or when memory runs out.
RawBlock RawAlloc(std::size_t size);
// Releases the block now and leaves it empty (it is released anyway when it goes away).
void RawFree(RawBlock& block);

// Copies `bytes` to `address`: only the first `count` bytes when a count is given with
// 0 < count < bytes.size(), else all of them. Nothing for a null address.
void CopyBytesTo(void* address, std::span<const std::uint8_t> bytes,
                 std::optional<std::size_t> count = std::nullopt);

}  // namespace directui

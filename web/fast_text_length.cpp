#include "web/fast_text_length.h"

#include <immintrin.h>

#include <cstdint>

#include "web/cpu_flags.h"

// An aligned block never crosses a page, so reading the whole block that holds the terminating
// zero (and the bytes before the text in the first block) stays within mapped memory, but it does
// touch bytes outside the text's allocation. Address checking is therefore switched off for the
// two block readers alone.
#define SHOULU_READS_WHOLE_ALIGNED_BLOCKS __attribute__((no_sanitize("address", "thread")))

namespace web {
namespace {

// Both readers are written without helper lambdas: a lambda would inherit neither the target
// nor the sanitizer attribute. After the first block they step single blocks up to a four-block
// boundary, then test four blocks at a time; four aligned blocks never cross a page either.
SHOULU_READS_WHOLE_ALIGNED_BLOCKS __attribute__((target("avx2"))) std::size_t LengthByAvx2(
    const char* text) {
  const auto address = reinterpret_cast<std::uintptr_t>(text);
  const auto* block = reinterpret_cast<const __m256i*>(address & ~std::uintptr_t{31});
  const __m256i zero = _mm256_setzero_si256();
  std::uint32_t mask =
      static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(*block, zero))) >>
      (address & 31);
  if (mask != 0) return static_cast<std::size_t>(__builtin_ctz(mask));
  for (;;) {
    ++block;
    if (reinterpret_cast<std::uintptr_t>(block) % 128 == 0) {
      const __m256i lowest =
          _mm256_min_epu8(_mm256_min_epu8(block[0], block[1]), _mm256_min_epu8(block[2], block[3]));
      if (_mm256_movemask_epi8(_mm256_cmpeq_epi8(lowest, zero)) == 0) {
        block += 3;
        continue;
      }
    }
    mask = static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(*block, zero)));
    if (mask != 0) {
      return static_cast<std::size_t>(reinterpret_cast<const char*>(block) - text) +
             static_cast<std::size_t>(__builtin_ctz(mask));
    }
  }
}

SHOULU_READS_WHOLE_ALIGNED_BLOCKS std::size_t LengthBySse2(const char* text) {
  const auto address = reinterpret_cast<std::uintptr_t>(text);
  const auto* block = reinterpret_cast<const __m128i*>(address & ~std::uintptr_t{15});
  const __m128i zero = _mm_setzero_si128();
  std::uint32_t mask =
      static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(*block, zero))) >> (address & 15);
  if (mask != 0) return static_cast<std::size_t>(__builtin_ctz(mask));
  for (;;) {
    ++block;
    if (reinterpret_cast<std::uintptr_t>(block) % 64 == 0) {
      const __m128i lowest =
          _mm_min_epu8(_mm_min_epu8(block[0], block[1]), _mm_min_epu8(block[2], block[3]));
      if (_mm_movemask_epi8(_mm_cmpeq_epi8(lowest, zero)) == 0) {
        block += 3;
        continue;
      }
    }
    mask = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(*block, zero)));
    if (mask != 0) {
      return static_cast<std::size_t>(reinterpret_cast<const char*>(block) - text) +
             static_cast<std::size_t>(__builtin_ctz(mask));
    }
  }
}

std::size_t LengthByBytes(const char* text) {
  const char* end = text;
  while (*end != '\0') ++end;
  return static_cast<std::size_t>(end - text);
}

}  // namespace

std::size_t FastTextLength(const char* text) {
  if (text == nullptr) return 0;
  if (CpuHasAvx2) return LengthByAvx2(text);
  if (CpuHasSse2) return LengthBySse2(text);
  return LengthByBytes(text);
}

}  // namespace web

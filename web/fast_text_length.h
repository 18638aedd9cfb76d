#pragma once

#include <cstddef>

namespace web {

// The number of bytes before the terminating zero; 0 for a null text. Uses 32-byte (AVX2) or
// 16-byte (SSE2) aligned blocks as the processor flags of cpu_flags.h allow.
std::size_t FastTextLength(const char* text);

}  // namespace web

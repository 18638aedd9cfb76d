#pragma once

#include "platform/unicode/utf16.h"

namespace platform::gfx {

// Text reaches Pango as UTF-8; captions arrive as UTF-16.
using unicode::Utf16ToUtf8;
using unicode::Utf8ToUtf16;

}  // namespace platform::gfx

#include "platform/unicode/utf16.h"

#include <cstdint>

namespace platform::unicode {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

void AppendUtf16(std::u16string& out, char32_t c) {
  if (c < 0x10000) {
    out += static_cast<char16_t>(c);
  } else {
    c -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (c >> 10));
    out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
  }
}

bool IsHighSurrogate(char32_t c) {
  return c >= 0xD800 && c < 0xDC00;
}
bool IsLowSurrogate(char32_t c) {
  return c >= 0xDC00 && c < 0xE000;
}

}  // namespace

std::string Utf16ToUtf8(std::u16string_view text, std::vector<int>& byte_offsets) {
  std::string out;
  out.reserve(text.size());
  byte_offsets.assign(text.size() + 1, 0);
  for (std::size_t i = 0; i < text.size(); ++i) {
    byte_offsets[i] = static_cast<int>(out.size());
    char32_t c = text[i];
    if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      byte_offsets[i + 1] = byte_offsets[i];
      ++i;
    } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
      c = kReplacement;
    }
    AppendUtf8(out, c);
  }
  byte_offsets[text.size()] = static_cast<int>(out.size());
  return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::vector<int> unused;
  return Utf16ToUtf8(text, unused);
}

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    auto b = static_cast<std::uint8_t>(text[i]);
    int extra = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
    if (extra < 0) {
      AppendUtf16(out, kReplacement);
      ++i;
      continue;
    }
    char32_t c = extra == 0 ? b : b & (0x3F >> extra);
    bool ok = true;
    for (int k = 1; k <= extra; ++k) {
      if (i + k >= text.size() || (static_cast<std::uint8_t>(text[i + k]) & 0xC0) != 0x80) {
        ok = false;
        break;
      }
      c = (c << 6) | (static_cast<std::uint8_t>(text[i + k]) & 0x3F);
    }
    static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (!ok || c < kMin[extra] || c > 0x10FFFF || IsHighSurrogate(c) || IsLowSurrogate(c)) {
      AppendUtf16(out, kReplacement);
      ++i;
      continue;
    }
    AppendUtf16(out, c);
    i += extra + 1;
  }
  return out;
}

std::string Utf8OfCodePoint(char32_t c) {
  if (c > 0x10FFFF || IsHighSurrogate(c) || IsLowSurrogate(c)) return {};
  std::string out;
  AppendUtf8(out, c);
  return out;
}

}  // namespace platform::unicode

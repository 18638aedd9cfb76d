#include "app/utf8_text.h"

#include "web/code_page_text.h"

namespace app {
namespace {

bool IsContinuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

// Taken in double-byte pairs, a code page 936 text never has a high byte followed by an ASCII
// byte; a UTF-8 text with three-byte sequences does.
bool HighByteBeforeAsciiInPairs(std::string_view text) {
  std::size_t at = 0;
  while (at + 1 < text.size()) {
    if (static_cast<unsigned char>(text[at]) >= 0x80) {
      if (static_cast<unsigned char>(text[at + 1]) < 0x80) return true;
      at += 2;
    } else {
      at += 1;
    }
  }
  return false;
}

bool ContinuationsFollow(std::string_view text, std::size_t lead, std::size_t count) {
  if (lead + count >= text.size()) return false;
  for (std::size_t i = 1; i <= count; ++i) {
    if (!IsContinuation(static_cast<unsigned char>(text[lead + i]))) return false;
  }
  return true;
}

}  // namespace

bool IsUtf8Text(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size()) {
    const auto byte = static_cast<unsigned char>(text[at]);
    if (byte < 0x80) {
      ++at;
    } else if ((byte & 0xE0) == 0xC0) {
      if (at + 1 == text.size()) return HighByteBeforeAsciiInPairs(text);
      if (!IsContinuation(static_cast<unsigned char>(text[at + 1]))) return false;
      at += 2;
    } else if ((byte & 0xF0) == 0xE0) {
      return ContinuationsFollow(text, at, 2);
    } else if ((byte & 0xF8) == 0xF0) {
      return ContinuationsFollow(text, at, 3);
    } else {
      return false;
    }
  }
  return false;
}

std::string Utf8BytesToGbk(std::string_view bytes) {
  return web::Utf8ToGbk(bytes);
}

}  // namespace app

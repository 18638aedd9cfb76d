// Percent-encodes random texts both ways and decodes the result again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "web/code_page_text.h"
#include "web/url_encode.h"

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  std::abort();  // only upper-case digits are written
}

std::string Decode(const std::string& encoded) {
  std::string bytes;
  for (std::size_t at = 0; at < encoded.size(); ++at) {
    if (encoded[at] != '%') {
      bytes += encoded[at];
      continue;
    }
    if (at + 2 >= encoded.size()) std::abort();
    bytes += static_cast<char>(HexDigit(encoded[at + 1]) * 16 + HexDigit(encoded[at + 2]));
    at += 2;
  }
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  for (const bool utf8 : {false, true}) {
    const std::string bytes = utf8 ? web::GbkToUtf8(text) : text;
    const std::string kept = web::UrlEncode(text, true, utf8);
    const std::string all = web::UrlEncode(text, false, utf8);
    if (Decode(kept) != bytes || Decode(all) != bytes) std::abort();
    if (!text.empty() && all.size() != bytes.size() * 3) std::abort();
    for (const char c : kept) {
      const bool allowed = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '%';
      if (!allowed) std::abort();
    }
  }
  return 0;
}

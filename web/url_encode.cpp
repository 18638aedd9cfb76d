#include "web/url_encode.h"

#include "web/code_page_text.h"

namespace web {
namespace {

bool KeptAsIs(unsigned char byte) {
  return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
         (byte >= '0' && byte <= '9') || byte == '-' || byte == '.';
}

}  // namespace

std::string UrlEncode(std::string_view text, bool keepAlphanumerics, bool asUtf8) {
  if (text.empty()) return {};
  const std::string utf8 = asUtf8 ? GbkToUtf8(text) : std::string();
  const std::string_view bytes = asUtf8 ? std::string_view(utf8) : text;
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  std::string encoded;
  encoded.reserve(bytes.size() * 3);
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (keepAlphanumerics && KeptAsIs(byte)) {
      encoded += c;
    } else {
      encoded += '%';
      encoded += kHexDigits[byte >> 4];
      encoded += kHexDigits[byte & 0x0F];
    }
  }
  return encoded;
}

}  // namespace web

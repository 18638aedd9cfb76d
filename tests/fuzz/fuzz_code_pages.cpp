// Converts random bytes through every code page: one round trip reaches a fixed point, and the
// UTF-8 detour of code page 936 text loses nothing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "web/code_page_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static constexpr int kCodePages[] = {936, 950, 65001};
  const int codePage = kCodePages[data[0] % 3];
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

  const std::string once = web::Utf16ToMultiByte(web::MultiByteToUtf16(text, codePage), codePage);
  const std::string twice = web::Utf16ToMultiByte(web::MultiByteToUtf16(once, codePage), codePage);
  if (once != twice) std::abort();
  if (once.find('\0') != std::string::npos) std::abort();

  const std::string gbk = web::Utf16ToMultiByte(web::MultiByteToUtf16(text, 936), 936);
  if (web::Utf8ToGbk(web::GbkToUtf8(text)) != gbk) std::abort();

  const std::string simplified = web::Big5ToSimplifiedGbk(text);
  if (simplified.find('\0') != std::string::npos) std::abort();
  return 0;
}

// Runs the keyword file's encoding test and conversion on random bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/utf8_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const bool utf8 = app::IsUtf8Text(bytes);
  bool ascii = true;
  for (const char c : bytes) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii && utf8) std::abort();  // a pure ASCII text is never taken as UTF-8
  const auto text = app::Utf8BytesToGbk(bytes);
  if (text.find('\0') != std::string_view::npos) std::abort();
  return 0;
}

// The direct 936 ↔ UTF-8 transcoder against the way through UTF-16 on any bytes: the two must
// never differ, whatever the input is cut or broken into.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/text/code_page.h"
#include "platform/text/gbk_transcode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  namespace text = platform::text;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  if (text::TranscodeUtf8ToGbk(bytes) != text::FromUtf16(text::ToUtf16(bytes, 65001), 936)) {
    std::abort();
  }
  if (text::TranscodeGbkToUtf8(bytes) != text::FromUtf16(text::ToUtf16(bytes, 936), 65001)) {
    std::abort();
  }
  return 0;
}

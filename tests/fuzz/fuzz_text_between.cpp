// Cuts random texts with random markers and checks what the result must satisfy.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "web/text_between.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const int position = static_cast<std::int8_t>(data[0]);
  const std::size_t startLength = data[1] % 8;
  const std::size_t endLength = data[2] % 8;
  std::string_view rest(reinterpret_cast<const char*>(data + 3), size - 3);
  if (rest.size() < startLength + endLength) return 0;
  const std::string_view startMarker = rest.substr(0, startLength);
  const std::string_view endMarker = rest.substr(startLength, endLength);
  const std::string_view text = rest.substr(startLength + endLength);

  const std::string between = web::TextBetween(text, startMarker, endMarker, position);
  if (!between.empty()) {
    const std::size_t from = position < 1 ? 0 : static_cast<std::size_t>(position - 1);
    const std::size_t start = text.find(startMarker, from);
    const std::string framed = std::string(startMarker) + between + std::string(endMarker);
    // The first start marker frames the result, and no end marker comes earlier.
    if (start == std::string_view::npos || text.compare(start, framed.size(), framed) != 0) {
      std::abort();
    }
    if ((between + std::string(endMarker)).find(endMarker) != between.size()) std::abort();
  }
  const std::string before = web::TextBefore(text, startMarker, position, data[0] & 1);
  if (!before.empty() && text.substr(0, before.size()) != before) std::abort();
  if (!before.empty() && data[0] % 2 == 0 &&
      text.compare(before.size(), startMarker.size(), startMarker) != 0) {
    std::abort();
  }
  return 0;
}

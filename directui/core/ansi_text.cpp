#include "directui/core/ansi_text.h"

namespace directui {
namespace {

template <class Char>
std::basic_string_view<Char> UpToFirstZero(std::basic_string_view<Char> text) {
  const auto end = text.find(Char{0});
  return end == std::basic_string_view<Char>::npos ? text : text.substr(0, end);
}

}  // namespace

std::u16string AnsiToWide(std::string_view text, int code_page) {
  return platform::text::ToUtf16(UpToFirstZero(text), code_page);
}

std::string WideToAnsi(std::u16string_view text, int code_page) {
  return platform::text::FromUtf16(UpToFirstZero(text), code_page);
}

}  // namespace directui

#pragma once

#include <string>
#include <string_view>

namespace platform::text {

// Code page numbers as the program names them. 0 stands for the system's ANSI code page, which
// for this program is always 936.
inline constexpr int kCodePageAnsi = 0;
inline constexpr int kCodePageGbk = 936;
inline constexpr int kCodePageBig5 = 950;
inline constexpr int kCodePageUtf8 = 65001;

bool IsSupportedCodePage(int codePage);

// What becomes of a character the target code page cannot hold.
enum class Unmappable {
  kReplace,  // the code page's default replacement ("?" for 936 and 950, U+FFFD for UTF-8)
  kEndText,  // the text ends before it, as a zero default character would end it
};

struct FromUtf16Options {
  Unmappable unmappable = Unmappable::kReplace;
};

// Bytes of the given code page to UTF-16. Malformed bytes become U+FFFD; an unsupported code
// page gives the empty text.
std::u16string ToUtf16(std::string_view bytes, int codePage);

// UTF-16 to bytes of the given code page. Unpaired surrogates count as unmappable; an unsupported
// code page gives the empty text.
std::string FromUtf16(std::u16string_view text, int codePage, FromUtf16Options options = {});

}  // namespace platform::text

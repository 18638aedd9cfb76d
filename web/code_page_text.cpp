#include "web/code_page_text.h"

#include "platform/text/chinese_script.h"
#include "platform/text/code_page.h"
#include "platform/text/gbk_transcode.h"

namespace web {
namespace {

namespace text = platform::text;

std::string UpToFirstZero(std::string converted) {
  const std::size_t zero = converted.find('\0');
  if (zero != std::string::npos) converted.resize(zero);
  return converted;
}

}  // namespace

std::u16string MultiByteToUtf16(std::string_view bytes, std::optional<int> codePage) {
  return text::ToUtf16(bytes, codePage.value_or(text::kCodePageUtf8));
}

std::string Utf16ToMultiByte(std::u16string_view units, std::optional<int> codePage) {
  return UpToFirstZero(text::FromUtf16(units, codePage.value_or(text::kCodePageAnsi)));
}

std::string GbkToUtf8(std::string_view gbk) {
  return UpToFirstZero(text::TranscodeGbkToUtf8(gbk));
}

std::string Utf8ToGbk(std::string_view utf8) {
  return UpToFirstZero(text::TranscodeUtf8ToGbk(utf8));
}

std::string Big5ToSimplifiedGbk(std::string_view big5) {
  const std::string gbk =
      UpToFirstZero(text::FromUtf16(text::ToUtf16(big5, text::kCodePageBig5), text::kCodePageGbk,
                                    {.unmappable = text::Unmappable::kEndText}));
  const std::u16string simplified =
      text::TraditionalToSimplified(text::ToUtf16(gbk, text::kCodePageGbk));
  return UpToFirstZero(text::FromUtf16(simplified, text::kCodePageGbk));
}

}  // namespace web

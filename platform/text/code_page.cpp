#include "platform/text/code_page.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ucnv_err.h>

#include <climits>
#include <memory>

#include "platform/text/icu_converter.h"

namespace platform::text {
namespace {

const char* ConverterName(int codePage) {
  switch (codePage) {
    case kCodePageAnsi:
    case kCodePageGbk:
      return "windows-936";
    case kCodePageBig5:
      return "windows-950";
    case kCodePageUtf8:
      return "UTF-8";
    default:
      return nullptr;
  }
}

// ICU's own substitute callback silently drops default-ignorable characters such as a byte-order
// mark; here every character the code page cannot hold leaves its replacement behind.
void SubstituteEveryUnmappable(const void*, UConverterFromUnicodeArgs* args, const UChar*, int32_t,
                               UChar32, UConverterCallbackReason reason, UErrorCode* status) {
  if (reason != UCNV_UNASSIGNED && reason != UCNV_ILLEGAL && reason != UCNV_IRREGULAR) return;
  *status = U_ZERO_ERROR;
  ucnv_cbFromUWriteSub(args, 0, status);
}

}  // namespace

namespace converters {

// A fresh converter per call keeps the routines reentrant; ICU shares the tables underneath.
Converter OpenConverter(int codePage) {
  const char* name = ConverterName(codePage);
  if (name == nullptr) return nullptr;
  UErrorCode status = U_ZERO_ERROR;
  Converter converter(ucnv_open(name, &status));
  if (U_FAILURE(status)) return nullptr;
  return converter;
}

Converter OpenFromUtf16Converter(int codePage, Unmappable unmappable) {
  Converter converter = OpenConverter(codePage);
  if (!converter) return nullptr;
  UErrorCode status = U_ZERO_ERROR;
  if (unmappable == Unmappable::kEndText) {
    ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                          &status);
  } else {
    if (codePage != kCodePageUtf8) ucnv_setSubstChars(converter.get(), "?", 1, &status);
    ucnv_setFromUCallBack(converter.get(), SubstituteEveryUnmappable, nullptr, nullptr, nullptr,
                          &status);
  }
  if (U_FAILURE(status)) return nullptr;
  return converter;
}

}  // namespace converters

using converters::Converter;
using converters::FitsIcuLength;
using converters::OpenConverter;

bool IsSupportedCodePage(int codePage) {
  return ConverterName(codePage) != nullptr;
}

std::u16string ToUtf16(std::string_view bytes, int codePage) {
  Converter converter = OpenConverter(codePage);
  if (!converter || bytes.empty() || !FitsIcuLength(bytes.size())) return {};
  // One byte never gives more than one UTF-16 unit in these code pages; the loop only grows the
  // buffer should a converter flush more at the end.
  std::u16string result;
  std::size_t capacity = bytes.size() + 2;
  for (;;) {
    ucnv_resetToUnicode(converter.get());
    result.assign(capacity, u'\0');
    UChar* const begin = reinterpret_cast<UChar*>(result.data());
    UChar* target = begin;
    const char* source = bytes.data();
    UErrorCode status = U_ZERO_ERROR;
    ucnv_toUnicode(converter.get(), &target, begin + result.size(), &source,
                   bytes.data() + bytes.size(), nullptr, true, &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
      capacity *= 2;
      continue;
    }
    if (U_FAILURE(status)) return {};
    result.resize(static_cast<std::size_t>(target - begin));
    return result;
  }
}

std::string FromUtf16(std::u16string_view text, int codePage, FromUtf16Options options) {
  Converter converter = converters::OpenFromUtf16Converter(codePage, options.unmappable);
  if (!converter || text.empty() || !FitsIcuLength(text.size())) return {};
  UErrorCode status = U_ZERO_ERROR;
  std::string result(
      text.size() * static_cast<std::size_t>(ucnv_getMaxCharSize(converter.get())) + 8, '\0');
  char* target = result.data();
  const UChar* source = reinterpret_cast<const UChar*>(text.data());
  ucnv_fromUnicode(converter.get(), &target, result.data() + result.size(), &source,
                   source + text.size(), nullptr, true, &status);
  // With kEndText the conversion stops at the first character the code page cannot hold; what
  // was written before it is the text.
  const bool stoppedAtUnmappable = status == U_INVALID_CHAR_FOUND || status == U_ILLEGAL_CHAR_FOUND;
  if (U_FAILURE(status) && !(options.unmappable == Unmappable::kEndText && stoppedAtUnmappable)) {
    return {};
  }
  result.resize(static_cast<std::size_t>(target - result.data()));
  return result;
}

}  // namespace platform::text

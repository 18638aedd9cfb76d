#pragma once

#include <unicode/ucnv.h>

#include <cstddef>
#include <memory>

#include "platform/text/code_page.h"

// ICU converters as the code-page routines set them up; for this folder's own use.
namespace platform::text::converters {

struct ConverterCloser {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

// Null for a code page the program does not know.
Converter OpenConverter(int codePage);

// A converter from UTF-16 that treats what the code page cannot hold as `unmappable` says.
Converter OpenFromUtf16Converter(int codePage, Unmappable unmappable);

// ICU counts in int32_t; longer texts give the empty result.
inline bool FitsIcuLength(std::size_t length) {
  return length <= static_cast<std::size_t>(INT32_MAX) / 4;
}

}  // namespace platform::text::converters

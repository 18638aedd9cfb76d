#include "platform/text/chinese_script.h"

#include <unicode/translit.h>
#include <unicode/unistr.h>

#include <memory>

namespace platform::text {
namespace {

// Building the transliterator parses its rule set, which is slow; the parsed original is made
// once and never changed, and every call works on its own clone.
const icu::Transliterator* TraditionalToSimplifiedRules() {
  static const std::unique_ptr<icu::Transliterator> rules = [] {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Transliterator> made(
        icu::Transliterator::createInstance("Hant-Hans", UTRANS_FORWARD, status));
    if (U_FAILURE(status)) made.reset();
    return made;
  }();
  return rules.get();
}

}  // namespace

std::u16string TraditionalToSimplified(std::u16string_view text) {
  const icu::Transliterator* rules = TraditionalToSimplifiedRules();
  if (rules == nullptr || text.empty()) return std::u16string(text);
  std::unique_ptr<icu::Transliterator> transliterator(rules->clone());
  if (!transliterator) return std::u16string(text);
  icu::UnicodeString buffer(reinterpret_cast<const UChar*>(text.data()),
                            static_cast<int32_t>(text.size()));
  transliterator->transliterate(buffer);
  return std::u16string(reinterpret_cast<const char16_t*>(buffer.getBuffer()),
                        static_cast<std::size_t>(buffer.length()));
}

}  // namespace platform::text

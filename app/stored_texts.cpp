#include "app/stored_texts.h"

#include "app/hex_cipher.h"

namespace app {

std::string DecipherStoredText(std::string_view storedHex) {
  const std::string key = DecipherHexText(kStoredKeyText, kStoredTextKey);
  if (key.empty()) return {};
  return DecipherHexText(storedHex, key);
}

}  // namespace app

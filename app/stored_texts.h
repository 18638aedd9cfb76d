#pragma once

#include <string>
#include <string_view>

namespace app {

// Texts the program keeps enciphered (see hex_cipher.h). The key text is itself enciphered with
// the nine-digit text key; every other stored text is enciphered with the key text.
inline constexpr std::string_view kStoredTextKey = "520917364";
inline constexpr std::string_view kStoredKeyText = "D42F48DBD2F3CFFA904EE995D8A6A2ECFED0A2";
// Holds the window title as a "title[" ... "]" field.
inline constexpr std::string_view kStoredBrandingText =
    "79E73C3AF4133E3CB9F7152DA199A49D660315FA898A13F82478FE82F8212D80914648561C3048";
inline constexpr std::string_view kStoredQqAddress =
    "50480B4751414C4554494B54554B1E494A480B47470A57455793500A50550B415023DD5C515A4C4B0B332454A2D7"
    "24";
inline constexpr std::string_view kStoredWangwangAddress =
    "505F5C5050594659545445561E5241465E1E7A5D1F5E5C415F4952525F505645451E1044A1425E5D1F45441E290B"
    "422631CAE55A31";
inline constexpr std::string_view kStoredSiteAddress =
    "610F0208490A12170B480F06145D020B3048080AB50417481408491F1312137567E7A18B67";

// Deciphers the key text with the text key, then `storedHex` with the key text; empty when
// either check fails.
std::string DecipherStoredText(std::string_view storedHex);

}  // namespace app

#include "app/stored_texts.h"

#include <gtest/gtest.h>

#include "app/hex_cipher.h"
#include "web/text_between.h"

namespace app {
namespace {

TEST(StoredTexts, DecipherWithTheStoredKey) {
  EXPECT_EQ(DecipherHexText(kStoredKeyText, kStoredTextKey).size(), 9u);
  const std::string branding = DecipherStoredText(kStoredBrandingText);
  // 百度收录量查询 in code page 936.
  EXPECT_EQ(web::TextBetween(branding, "title[", "]"),
            "\xB0\xD9\xB6\xC8\xCA\xD5\xC2\xBC\xC1\xBF\xB2\xE9\xD1\xAF");
  for (std::string_view stored : {kStoredQqAddress, kStoredWangwangAddress, kStoredSiteAddress}) {
    EXPECT_EQ(DecipherStoredText(stored).rfind("https://", 0), 0u) << stored;
  }
  EXPECT_EQ(DecipherHexText(kStoredBrandingText, kStoredTextKey), "");  // needs the key text
}

}  // namespace
}  // namespace app

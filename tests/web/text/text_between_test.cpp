#include "web/text_between.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace web {
namespace {

struct BetweenCase {
  std::string text, startMarker, endMarker;
  std::optional<int> startPosition;
  std::string expected;
};

TEST(TextBetween, CutsBetweenTheFirstMarkersAtOrAfterThePosition) {
  const BetweenCase cases[] = {
      {"a[b]c", "[", "]", {}, "b"},
      {"a[]c", "[", "]", {}, ""},
      {"a[bc", "[", "]", {}, ""},
      {"", "[", "]", {}, ""},
      {"abc", "[", "]", {}, ""},
      {"x]a[b]c", "[", "]", {}, "b"},  // the end marker is searched after the start
      {"[one][two]", "[", "]", {}, "one"},
      {"[one][two]", "[", "]", 2, "two"},  // position 2 skips the first "["
      {"[one][two]", "[", "]", 6, "two"},  // position 6 is the second "[" itself
      {"[one][two]", "[", "]", 0, "one"},  // below 1 counts as 1
      {"[one][two]", "[", "]", -5, "one"},
      {"[one]", "[", "]", 99, ""},  // beyond the end
      {"title[\xB1\xEA\xCC\xE2]rest", "title[", "]", {}, "\xB1\xEA\xCC\xE2"},
      {"<b>12,300</b>", "<b>", "</b>", {}, "12,300"},
      {"abab", "ab", "ab", {}, ""},  // end marker right after the start marker
      {"aXbXc", "X", "X", {}, "b"},
  };
  for (const BetweenCase& c : cases) {
    EXPECT_EQ(TextBetween(c.text, c.startMarker, c.endMarker, c.startPosition), c.expected)
        << c.text << " from " << c.startMarker << " to " << c.endMarker;
  }
}

TEST(TextBetween, IsCaseSensitive) {
  EXPECT_EQ(TextBetween("A[b]c", "a[", "]"), "");
}

struct BeforeCase {
  std::string text, marker;
  std::optional<int> startPosition;
  std::optional<bool> ignoreCase;
  std::string expected;
};

TEST(TextBefore, GivesTheTextFromTheFirstByteUpToTheMatch) {
  const BeforeCase cases[] = {
      {"key=value", "=", {}, {}, "key"},
      {"key=value", ";", {}, {}, ""},
      {"=value", "=", {}, {}, ""},
      {"a=b=c", "=", 3, {}, "a=b"},  // the search starts at 3, the cut at 1
      {"Path; HttpOnly", "; httponly", {}, true, "Path"},
      {"Path; HttpOnly", "; httponly", {}, false, ""},
      {"Path; HttpOnly", "; httponly", {}, std::nullopt, ""},
      {"abc", "c", 10, true, ""},
  };
  for (const BeforeCase& c : cases) {
    EXPECT_EQ(TextBefore(c.text, c.marker, c.startPosition, c.ignoreCase), c.expected)
        << c.text << " before " << c.marker;
  }
}

}  // namespace
}  // namespace web

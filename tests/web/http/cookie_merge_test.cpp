#include "web/cookie_merge.h"

#include <gtest/gtest.h>

#include <vector>

#include "web/dedupe_items.h"

namespace web {
namespace {

TEST(CookieName, IsTheTrimmedTextBeforeTheFirstEquals) {
  struct Case {
    const char* item;
    const char* name;
  };
  for (Case c : {Case{"a=1", "a"}, Case{"  BAIDUID = x=y ", "BAIDUID"}, Case{" flag ", "flag"},
                 Case{"=v", ""}, Case{"", ""}}) {
    EXPECT_EQ(CookieName(c.item), c.name) << c.item;
  }
}

TEST(HasCookie, ComparesCookieNamesCaseSensitively) {
  const std::vector<std::string> items = {"a=1", " b =2", "c"};
  EXPECT_TRUE(HasCookie(items, "a"));
  EXPECT_TRUE(HasCookie(items, "b"));
  EXPECT_TRUE(HasCookie(items, "c"));
  EXPECT_FALSE(HasCookie(items, "A"));
  EXPECT_FALSE(HasCookie(items, "1"));
  EXPECT_FALSE(HasCookie({}, "a"));
}

TEST(MergeCookies, ReceivedReplaceStoredDeletedGoRepeatsGo) {
  struct Case {
    const char* stored;
    const char* received;
    const char* merged;
  };
  const Case cases[] = {
      {"a=0; c=3", "a=1; b=2", "a=1; b=2; c=3"},
      {"a=1; c=3", "c=deleted", "a=1"},
      {"a=1", "", "a=1"},
      {"", "x=1;y=2", "x=1; y=2"},
      {"", "", ""},
      {"a=1; a=1; b=2", "", "a=1; b=2"},  // repeats of the stored text go as well
      {"a=1", "b=2; b=2", "b=2; a=1"},
      {"a=1;;b=2;", ";c=3;", "c=3; a=1; b=2"},  // empty items are no cookies
      {"gone=deleted; k=v", "", "k=v"},
      {"a = 1 ; b=2", "", "a=1; b=2"},
  };
  for (const Case& c : cases) {
    std::string stored = c.stored, received = c.received;
    EXPECT_EQ(MergeCookies(stored, received), c.merged) << c.stored << " | " << c.received;
    EXPECT_EQ(stored, c.merged);
  }
}

TEST(MergeCookies, RemovesAsciiAndFullWidthSpacesFromBothVariables) {
  // "\xA1\xA1" is the full-width space; "\xB0\xA1\xA1\xC0" holds two characters whose bytes
  // only look like one across their boundary and must survive.
  std::string stored =
      "a=\xA1\xA1"
      "1; n=\xB0\xA1\xA1\xC0";
  std::string received =
      " b = 2 ;\xA1\xA1"
      "c=3";
  EXPECT_EQ(MergeCookies(stored, received), "b=2; c=3; a=1; n=\xB0\xA1\xA1\xC0");
  EXPECT_EQ(received, "b=2;c=3");
}

TEST(DedupeItems, KeepsFirstOccurrencesInOrder) {
  struct Case {
    const char* text;
    const char* separator;
    const char* result;
  };
  const Case cases[] = {
      {"a; b; a; c; b", "; ", "a; b; c"},
      {"x,x,x", ",", "x"},
      {"", "; ", ""},
      {"a;;a;", ";", "a;"},  // the empty item is an item too
      {"abcab", "", "abc"},
      {"\xD6\xD0\xD6\xD0"
       "a\xD6\xD0",
       "",
       "\xD6\xD0"
       "a"},  // 中中a中: a double-byte character is one
      {"one", "--", "one"},
  };
  for (const Case& c : cases) EXPECT_EQ(DedupeItems(c.text, c.separator), c.result) << c.text;
}

}  // namespace
}  // namespace web

#include "platform/net/cookie_store.h"

#include <gtest/gtest.h>

namespace platform::net {
namespace {

CookieOrigin At(std::string host, std::string path = "/", bool secure = false) {
  return CookieOrigin{.secure = secure, .host = std::move(host), .path = std::move(path)};
}

TEST(CookieStore, SendsACookieWhereItsDomainPathAndSchemeAllow) {
  struct Case {
    std::string set_cookie;
    CookieOrigin from;
    CookieOrigin to;
    bool sent;
  };
  const Case cases[] = {
      {"a=1", At("h.test", "/dir/page"), At("h.test", "/dir/other"), true},
      {"a=1", At("h.test", "/dir/page"), At("h.test", "/"), false},  // default path /dir
      {"a=1", At("h.test"), At("sub.h.test"), false},                // host only
      {"a=1; Domain=.h.test", At("www.h.test"), At("sub.h.test"), true},
      {"a=1; Domain=h.test", At("h.test"), At("xh.test"), false},
      {"a=1; Path=/p", At("h.test"), At("h.test", "/p/q"), true},
      {"a=1; Path=/p", At("h.test"), At("h.test", "/pq"), false},
      {"a=1; Secure", At("h.test", "/", true), At("h.test"), false},
      {"a=1; Secure", At("h.test", "/", true), At("h.test", "/", true), true},
      {"a=1; Max-Age=3600", At("h.test"), At("H.TEST"), true},
      {"a=1; Expires=Wed, 09 Jun 2021 10:18:14 GMT", At("h.test"), At("h.test"), false},
      {"a=1; Max-Age=0", At("h.test"), At("h.test"), false},
      {"a=1; Domain=127.0.0.1", At("127.0.0.1"), At("127.0.0.1"), true},
  };
  for (const Case& c : cases) {
    CookieStore store;
    store.Receive(c.from, c.set_cookie);
    EXPECT_EQ(store.CookiesFor(c.to), c.sent ? "a=1" : "")
        << c.set_cookie << " to " << c.to.host << c.to.path;
  }
}

TEST(CookieStore, RefusesCookiesOfOtherDomainsAndEmptyOnes) {
  CookieStore store;
  EXPECT_FALSE(store.Receive(At("h.test"), "a=1; Domain=other.test"));
  EXPECT_FALSE(store.Receive(At("1.2.3.4"), "a=1; Domain=2.3.4"));
  EXPECT_FALSE(store.Receive(At("h.test"), " ; Path=/"));
  EXPECT_EQ(store.CookiesFor(At("other.test")), "");
  EXPECT_EQ(store.CookiesFor(At("2.3.4")), "");
}

TEST(CookieStore, ANewValueReplacesItsNamesakeAndAnExpiredOneRemovesIt) {
  CookieStore store;
  store.Receive(At("h.test"), "a=1");
  store.Receive(At("h.test"), "b=2");
  store.Receive(At("h.test"), "a=3");
  EXPECT_EQ(store.CookiesFor(At("h.test")), "a=3; b=2") << "a keeps its place";
  store.Receive(At("h.test"), "a=; Max-Age=-1");
  EXPECT_EQ(store.CookiesFor(At("h.test")), "b=2");
  store.Receive(At("h.test"), "c=4; Path=/x");
  EXPECT_EQ(store.CookiesFor(At("h.test", "/x/y")), "c=4; b=2") << "longer paths first";
  store.Clear();
  EXPECT_EQ(store.CookiesFor(At("h.test")), "");
}

TEST(CookieOriginOf, SplitsHttpAddressesOnly) {
  const auto origin = CookieOriginOf("HTTPS://Host.Test:8443/a/b?c=1");
  ASSERT_TRUE(origin);
  EXPECT_TRUE(origin->secure);
  EXPECT_EQ(origin->host, "host.test");
  EXPECT_EQ(origin->path, "/a/b");
  EXPECT_FALSE(CookieOriginOf("ftp://host/"));
  EXPECT_FALSE(CookieOriginOf("no address"));
}

}  // namespace
}  // namespace platform::net

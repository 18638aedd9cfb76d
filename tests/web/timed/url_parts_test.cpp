#include "web/url_parts.h"

#include <gtest/gtest.h>

namespace web {
namespace {

struct UrlCase {
  std::string url;
  std::string host;
  std::string path;
  int port;
};

TEST(UrlParts, SplitsAddressesAsTheRequestThreadUsesThem) {
  const UrlCase cases[] = {
      {"http://WWW.Example.COM:8080/x", "www.example.com", "/x", 8080},
      {"http://Host.Test", "host.test", "/", 80},
      {"http://host.test/s?wd=a:b/c", "host.test", "/s?wd=a:b/c", 80},
      {"HTTP://host.test:81/", "http", "//host.test:81/", 81},  // only lower-case schemes go
      {"host.test:8000/p", "host.test", "/p", 8000},
      {"http://host.test:abc/p", "host.test", "/p", 0},
      {"http://host.test:/p", "host.test", "/p", 0},
      {"http://host.test:-5/p", "host.test", "/p", 0},
      {"https://secure.test/a", "secure.test", "/a",
       0},  // no "http://" start: "https:" has no port
      {"http://a.test/http://b.test/", "a.test", "/http://b.test/", 80},
      {"", "", "/", 80},
  };
  for (const UrlCase& c : cases) {
    EXPECT_EQ(UrlHost(c.url), c.host) << c.url;
    EXPECT_EQ(UrlPath(c.url), c.path) << c.url;
    EXPECT_EQ(UrlPort(c.url), c.port) << c.url;
  }
}

}  // namespace
}  // namespace web

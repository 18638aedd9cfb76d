#include "web/timed_http_request.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/net/cookie_store.h"
#include "platform/net/internet_session.h"
#include "platform/os/clock.h"
#include "platform/os/desktop.h"
#include "platform/os/headless/headless_display.h"
#include "platform/os/messages.h"
#include "platform/os/thread.h"
#include "platform/os/waitable.h"
#include "platform/os/window_styles.h"
#include "platform/text/code_page.h"
#include "support/http_test_server.h"
#include "web/code_page_text.h"

namespace web {
namespace {

namespace net = platform::net;
namespace os = platform::os;
using test_support::HttpTestServer;
using test_support::PatternBody;
using test_support::RecordedRequest;
using test_support::ScriptedResponse;

template <typename Change>
ScriptedResponse Answer(Change change) {
  ScriptedResponse response;
  change(response);
  return response;
}

ScriptedResponse Silent() {
  return Answer([](ScriptedResponse& r) { r.never_answer = true; });
}

// Abandoned requests finish by themselves once told to stop; this waits (at most 20 s) for all.
bool AllRequestsFinish() {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (BusyRequestThreads() > 0 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return BusyRequestThreads() == 0;
}

std::string AsString(const ByteBlock& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

constexpr char kDefaultAccept[] =
    "image/gif, image/bmp, image/x-xbitmap, image/jpeg, image/pjpeg, "
    "application/x-shockwave-flash, application/vnd.ms-excel, application/vnd.ms-powerpoint, "
    "application/msword, */*";

class TimedHttpRequestTest : public testing::Test {
 protected:
  void SetUp() override {
    net::CookieStore::Process().Clear();
    ASSERT_TRUE(server.Running());
  }

  std::string Fetch(std::string url, const TimedHttpRequestOptions& options = {}) {
    return AsString(TimedHttpRequest(desktop, url, options));
  }

  os::SteadyClock clock;
  os::headless::HeadlessDisplay display;
  os::Desktop desktop{display, clock};
  HttpTestServer server;
};

TEST_F(TimedHttpRequestTest, AnAddressWithoutSchemeGetsHttpInTheCallersVariableToo) {
  server.On("/p", ScriptedResponse::Text("page"));
  std::string url = "127.0.0.1:" + std::to_string(server.Port()) + "/p?q=1";
  EXPECT_EQ(AsString(TimedHttpRequest(desktop, url)), "page");
  EXPECT_EQ(url, "http://127.0.0.1:" + std::to_string(server.Port()) + "/p?q=1");
  EXPECT_EQ(server.Requests().at(0).request_line, "GET /p?q=1 HTTP/1.1");

  for (std::string blank : {"", "   "}) {
    const std::string before = blank;
    EXPECT_TRUE(TimedHttpRequest(desktop, blank).empty());
    EXPECT_EQ(blank, before);
  }
  EXPECT_EQ(server.RequestCount(), 1u);
}

// The header text is completed before it is sent: a default Accept, a Referer, a language.
TEST_F(TimedHttpRequestTest, CompletesTheHeadersTheCallerLeftOut) {
  struct Case {
    std::string headers;
    std::optional<std::string> agent;
    std::optional<std::string> accept;
    bool referer_is_url;
    std::optional<std::string> referer;
    std::optional<std::string> language;
  };
  const Case cases[] = {
      {"", "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)", kDefaultAccept, true, {}, "zh-cn"},
      {"User-Agent: Own/2\r\nAccept-Language: en\r\n", "Own/2", {}, true, {}, "en"},
      {"RefererNo",
       "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)",
       kDefaultAccept,
       false,
       {},
       "zh-cn"},
      {"X-A: 1\r\nRefererNo\r\nAccept: text/html\r\n",
       "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)",
       "text/html",
       false,
       {},
       "zh-cn"},
      {"Referer: http://r.test/\r\n", "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)",
       kDefaultAccept, false, "http://r.test/", "zh-cn"},
  };
  server.On("/h", ScriptedResponse::Text("h"));
  const std::string url = server.Url("/h");
  for (const Case& c : cases) {
    EXPECT_EQ(Fetch(url, {.headers = c.headers}), "h") << c.headers;
    const RecordedRequest sent = server.Requests().back();
    EXPECT_EQ(sent.Header("User-Agent"), c.agent) << c.headers;
    EXPECT_EQ(sent.Header("Accept"), c.accept) << c.headers;
    EXPECT_EQ(sent.Header("Referer"), c.referer_is_url ? url : c.referer) << c.headers;
    EXPECT_EQ(sent.Header("Accept-Language"), c.language) << c.headers;
    for (const std::string& line : sent.header_lines) {
      EXPECT_EQ(line.find("RefererNo"), std::string::npos) << line;
    }
  }
}

// Given cookies are the only ones sent: the last header line, so the end of the head follows
// it; the store's cookies for the host stay back.
TEST_F(TimedHttpRequestTest, GivenCookiesGoOutAloneAsTheLastLine) {
  ASSERT_TRUE(net::InternetSetCookie("http://127.0.0.1/", "b", "2"));
  server.On("/c", ScriptedResponse::Text("c"));
  Fetch(server.Url("/c"), {.cookies = "a=1"});
  Fetch(server.Url("/c"));
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].header_lines.back(), "Cookie: a=1");
  EXPECT_EQ(std::count_if(requests[0].header_lines.begin(), requests[0].header_lines.end(),
                          [](const std::string& line) { return line.starts_with("Cookie"); }),
            1);
  EXPECT_TRUE(requests[0].body.empty());
  EXPECT_EQ(requests[1].Header("Cookie"), "b=2") << "without given cookies the store's go out";
}

TEST_F(TimedHttpRequestTest, ReturnsTheCookiesTheResponseSetAndStoresThemForTheHost) {
  server.On("/set", Answer([](ScriptedResponse& r) {
              r.header_lines = {"Set-Cookie: a=1; path=/", "Set-Cookie: b=2"};
            }));
  server.On("/next", ScriptedResponse::Text("next"));
  std::string cookies = "untouched";
  Fetch(server.Url("/set"), {.returnedCookies = &cookies});
  EXPECT_EQ(cookies, "a=1;;");
  EXPECT_EQ(net::InternetGetCookie("http://127.0.0.1/"), "a=1; b=2");
  Fetch(server.Url("/next"));
  EXPECT_EQ(server.Requests().at(1).Header("Cookie"), "a=1; b=2");
}

TEST_F(TimedHttpRequestTest, TimeOutZeroAnswersTheNoticeAtOnce) {
  server.On("/silent", Silent());
  std::string headers = "untouched";
  std::string cookies = "untouched";
  std::string url = server.Url("/silent");
  const ByteBlock result = TimedHttpRequest(desktop, url,
                                            {.timeoutSeconds = 0,
                                             .returnedHeaders = &headers,
                                             .conversion = 1,
                                             .returnedCookies = &cookies});
  EXPECT_EQ(AsString(result), TimeoutNotice());
  EXPECT_EQ(TimeoutNotice(),
            Utf8ToGbk("超时返回，指定网站不能访问，或者你的网络出现问题，你可以把参数中的＂超时"
                      "返回＂的值设置长一些。"));
  EXPECT_EQ(headers, "untouched");
  EXPECT_EQ(cookies, "untouched");
}

TEST_F(TimedHttpRequestTest, ConvertsPagesToCodePage936) {
  const std::string utf8_page = "<p>中文网页</p>";
  const std::string big5_page = platform::text::FromUtf16(u"<p>體育新聞</p>", 950);
  ASSERT_FALSE(big5_page.empty());
  server.On("/utf8", ScriptedResponse::Text(utf8_page));
  server.On("/big5", ScriptedResponse::Text(big5_page));
  EXPECT_EQ(Fetch(server.Url("/utf8"), {.conversion = 1}), Utf8ToGbk("<p>中文网页</p>"));
  EXPECT_EQ(Fetch(server.Url("/big5"), {.conversion = 2}), Utf8ToGbk("<p>体育新闻</p>"));
  EXPECT_EQ(Fetch(server.Url("/utf8"), {.conversion = 3}), utf8_page) << "other values: raw";
  EXPECT_EQ(Fetch(server.Url("/big5")), big5_page);
}

// A page of many read chunks holding zero bytes: raw it comes back whole, converted it ends at
// its first zero as a text does.
TEST_F(TimedHttpRequestTest, RawPagesComeBackWholeAndConvertedOnesEndAtTheirFirstZero) {
  std::string page = PatternBody(9000);
  page[4500] = '\0';
  page[7000] = '\0';
  page.replace(100, 3, "\xE4\xB8\xAD");  // 中
  server.On("/zeros", ScriptedResponse::Text(page));
  EXPECT_EQ(Fetch(server.Url("/zeros")), page);
  EXPECT_EQ(Fetch(server.Url("/zeros"), {.conversion = 1}), Utf8ToGbk(page.substr(0, 4500)));
  EXPECT_EQ(Fetch(server.Url("/zeros"), {.conversion = 1}).size(), 4499u);
}

TEST_F(TimedHttpRequestTest, TheRequestRoutineWritesBodyCookiesAndHeadersIntoTheBlock) {
  const std::string page = PatternBody(5000);
  server.On("/block", Answer([&](ScriptedResponse& r) {
              r.header_lines = {"Set-Cookie: k=v; path=/"};
              r.body = page;
            }));
  RequestBlock block;
  block[RequestBlock::kUrlOrBody] = server.Url("/block");
  block[RequestBlock::kVerbOrCookies] = "GET";
  block[RequestBlock::kRedirectFlag] = Utf8ToGbk("假");
  WinInetRequestThread(block);
  EXPECT_EQ(block[RequestBlock::kUrlOrBody], page);
  EXPECT_EQ(block[RequestBlock::kVerbOrCookies], "k=v;");
  EXPECT_TRUE(block[RequestBlock::kCookiesOrRawHeaders].starts_with("HTTP/1.1 200"))
      << block[RequestBlock::kCookiesOrRawHeaders];
  EXPECT_NE(block[RequestBlock::kCookiesOrRawHeaders].find("Set-Cookie: k=v; path=/\r\n"),
            std::string::npos);
}

// The raw headers are read into 2,048 characters; when they and their end do not fit, the
// caller sees the blank buffer, and the page still arrives.
TEST_F(TimedHttpRequestTest, HeadersLongerThanTheBufferComeBackBlank) {
  const std::string fixed = "HTTP/1.1 200 OK\r\nX-Pad: \r\nContent-Length: 4\r\n\r\n";
  for (const std::size_t total : {std::size_t{2047}, std::size_t{2048}, std::size_t{2500}}) {
    const std::string pad(total - fixed.size(), 'p');
    server.On("/long", Answer([&](ScriptedResponse& r) {
                r.header_lines = {"X-Pad: " + pad};
                r.body = "body";
              }));
    std::string headers;
    EXPECT_EQ(Fetch(server.Url("/long"), {.returnedHeaders = &headers}), "body") << total;
    if (total < 2048) {
      EXPECT_EQ(headers, "HTTP/1.1 200 OK\r\nX-Pad: " + pad + "\r\nContent-Length: 4\r\n\r\n");
    } else {
      EXPECT_EQ(headers, std::string(2048, ' ')) << total;
    }
  }
}

TEST_F(TimedHttpRequestTest, PostsTheBodyWithItsFormHeaders) {
  server.On("/form", ScriptedResponse::Text("done"));
  const ByteBlock body{'k', '=', 'v'};
  EXPECT_EQ(Fetch(server.Url("/form"), {.method = 1, .body = body}), "done");
  EXPECT_EQ(Fetch(server.Url("/form"),
                  {.method = 1, .headers = "content-type: text/plain\r\n", .body = body}),
            "done");
  EXPECT_EQ(Fetch(server.Url("/form"), {.method = 2, .body = body}), "done");
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].Method(), "POST");
  EXPECT_EQ(requests[0].body, "k=v");
  EXPECT_EQ(requests[0].Header("Content-Type"), "application/x-www-form-urlencoded");
  EXPECT_EQ(requests[0].Header("Content-Length"), "3");
  EXPECT_EQ(requests[1].Header("Content-Type"), "text/plain");
  EXPECT_EQ(requests[2].Method(), "GET");
  EXPECT_TRUE(requests[2].body.empty()) << "only a POST carries the body";
}

TEST_F(TimedHttpRequestTest, FollowsRedirectsUnlessTheCallerSaysNot) {
  server.On("/from", ScriptedResponse::Redirect("/to"));
  server.On("/to", ScriptedResponse::Text("arrived"));
  std::string headers;
  EXPECT_EQ(Fetch(server.Url("/from"), {.returnedHeaders = &headers}), "arrived");
  EXPECT_TRUE(headers.starts_with("HTTP/1.1 200 OK\r\n")) << headers;
  EXPECT_EQ(Fetch(server.Url("/from"), {.returnedHeaders = &headers, .noRedirect = true}), "");
  EXPECT_TRUE(headers.starts_with("HTTP/1.1 302 Found\r\nLocation: /to\r\n")) << headers;
  EXPECT_EQ(server.RequestCount(), 3u);
}

// A secure address keeps the port it names.
TEST_F(TimedHttpRequestTest, ReachesASecureServerOnItsOwnPort) {
  HttpTestServer secure(HttpTestServer::Options{.tls = true});
  ASSERT_TRUE(net::AddTrustedAuthority(secure.AuthorityPem()));
  secure.On("/s", ScriptedResponse::Text("secure page"));
  EXPECT_EQ(Fetch(secure.Url("/s?x=1")), "secure page");
  EXPECT_EQ(secure.Requests().at(0).request_line, "GET /s?x=1 HTTP/1.1");
}

TEST_F(TimedHttpRequestTest, FailuresGiveAnEmptyPage) {
  struct Case {
    std::string url;
    std::string headers;  // what the caller gets back as the raw headers
  };
  auto gone = std::make_unique<HttpTestServer>();
  const std::string refused = gone->Url("/");
  gone.reset();  // nothing listens on its port any more
  const Case cases[] = {
      {"http://bad host/x", ""},          // no connection can be opened
      {"http:///x", ""},                  // no host at all
      {refused, std::string(2048, ' ')},  // sending fails
  };
  for (const Case& c : cases) {
    std::string headers = "untouched";
    std::string cookies = "untouched";
    EXPECT_EQ(Fetch(c.url, {.returnedHeaders = &headers, .returnedCookies = &cookies}), "")
        << c.url;
    EXPECT_EQ(headers, c.headers) << c.url;
    EXPECT_EQ(cookies, "") << c.url;
  }
}

// On a manual clock: the caller's messages are handled during the wait, which ends exactly
// when the time-out has passed.
class TimedHttpRequestClockTest : public testing::Test {
 protected:
  static constexpr std::uint32_t kPing = os::WM_USER + 7;

  TimedHttpRequestClockTest() {
    desktop.register_class(os::WindowClass{
        .name = "timed_request_test",
        .procedure = [this](os::Window w, std::uint32_t m, os::WPARAM wp,
                            os::LPARAM lp) -> os::LRESULT {
          if (m == kPing) {
            pinged.set();
            return 0;
          }
          return desktop.def_window_proc(w, m, wp, lp);
        },
    });
    server.On("/silent", Silent());
  }

  // True once the caller's thread has handled a ping, false when it ended first.
  bool PingHandledBefore(os::Window window, const os::Thread& thread) {
    if (!desktop.post_message(window, kPing, 0, 0)) return false;
    const os::Waitable* handles[] = {&pinged, &thread.handle()};
    return desktop.wait_for_objects(handles, os::INFINITE) == os::WAIT_OBJECT_0;
  }

  void WaitUntilInTheWait(std::size_t requests) {
    while (server.RequestCount() < requests || clock.listener_count() < 1) {
      std::this_thread::yield();
    }
  }

  os::ManualClock clock;
  os::headless::HeadlessDisplay display;
  os::Desktop desktop{display, clock};
  HttpTestServer server;
  os::Event pinged;
};

TEST_F(TimedHttpRequestClockTest, DispatchesMessagesUntilTheTimeOutHasPassed) {
  os::Window window;
  os::Event ready{os::Event::Options{.manual_reset = true}};
  std::atomic<bool> returned{false};
  std::string page;
  std::string headers = "untouched";
  os::Thread caller([&] {
    window = desktop.create_window(os::CreateWindowParams{
        .class_name = "timed_request_test", .style = os::WS_POPUP, .size = os::Size{10, 10}});
    ready.set();
    std::string url = server.Url("/silent");
    page = AsString(
        TimedHttpRequest(desktop, url, {.timeoutSeconds = 5, .returnedHeaders = &headers}));
    returned.store(true);
    desktop.destroy_window(window);
  });
  const os::Waitable* handles[] = {&ready};
  desktop.wait_for_objects(handles, os::INFINITE);
  WaitUntilInTheWait(1);
  EXPECT_TRUE(PingHandledBefore(window, caller));
  clock.advance(std::chrono::milliseconds(4999));
  EXPECT_TRUE(PingHandledBefore(window, caller));
  EXPECT_FALSE(returned.load());
  clock.advance(std::chrono::milliseconds(1));
  caller.join();
  EXPECT_EQ(page, TimeoutNotice());
  EXPECT_EQ(headers, "untouched");
}

TEST_F(TimedHttpRequestClockTest, AStopEndsTheWaitAtOnceWithAnEmptyPage) {
  std::stop_source stop;
  std::string page = "unset";
  os::Thread caller([&] {
    std::string url = server.Url("/silent");
    page = AsString(TimedHttpRequest(desktop, url, {.stop = stop.get_token()}));
  });
  WaitUntilInTheWait(1);
  stop.request_stop();
  caller.join();  // the clock never moves: only the stop can end the wait
  EXPECT_EQ(page, "");
  EXPECT_TRUE(AllRequestsFinish());
}

// Every abandoned request is told to stop, so a run of time-outs leaves no threads behind
// although the server never answers any of them.
TEST_F(TimedHttpRequestClockTest, ARunOfTimeOutsDoesNotPileUpRequestThreads) {
  constexpr int kRuns = 200;
  ASSERT_TRUE(AllRequestsFinish());
  std::atomic<int> notices{0};
  os::Thread caller([&] {
    for (int i = 0; i < kRuns; ++i) {
      std::string url = server.Url("/silent");
      if (AsString(TimedHttpRequest(desktop, url, {.timeoutSeconds = 1})) == TimeoutNotice()) {
        notices.fetch_add(1);
      }
    }
  });
  std::size_t most_alive = 0;
  for (int i = 1; i <= kRuns; ++i) {
    WaitUntilInTheWait(static_cast<std::size_t>(i));  // the request is on the wire
    most_alive = std::max(most_alive, LiveRequestThreads());
    clock.advance(std::chrono::seconds(1));
    while (notices.load() < i) std::this_thread::yield();
  }
  caller.join();
  EXPECT_EQ(notices.load(), kRuns);
  EXPECT_TRUE(AllRequestsFinish()) << BusyRequestThreads() << " still busy";
  EXPECT_LE(LiveRequestThreads(), 4u) << "only a few threads stay to wait for the next request";
  RecordProperty("most_request_threads_alive", static_cast<int>(most_alive));
}

}  // namespace
}  // namespace web

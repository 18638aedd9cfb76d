#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <stop_token>
#include <string>

#include "web/byte_block.h"

namespace platform::os {
class Desktop;
}

namespace web {

// The seven entries one request carries to its thread and back, as bytes.
struct RequestBlock {
  enum Entry : std::size_t {
    kUrlOrBody = 0,            // url; then the response body
    kVerbOrCookies = 1,        // "GET" or "POST"; then the cookies the response set, "a=1;b=2;"
    kProxy = 2,                // empty: direct
    kHeaders = 3,              // extra request header lines ending in CR LF
    kBody = 4,                 // request body bytes
    kCookiesOrRawHeaders = 5,  // cookies to send; then the raw response headers
    kRedirectFlag = 6,         // "假" follows redirects, anything else does not
  };
  std::array<std::string, 7> entries;
  std::string& operator[](Entry entry) { return entries[entry]; }
  const std::string& operator[](Entry entry) const { return entries[entry]; }
};

// The notice a timed-out request answers instead of a page, in code page 936.
std::string TimeoutNotice();

// The optional parameters of TimedHttpRequest, in their order; each is given or not. Outputs
// are variables of the caller (null: not asked for).
struct TimedHttpRequestOptions {
  std::optional<int> method{};  // 1 POST, anything else GET
  std::optional<std::string> proxy{};
  std::optional<std::string> headers{};
  std::optional<ByteBlock> body{};
  std::optional<std::string> cookies{};
  std::optional<int> timeoutSeconds{};     // not given: 60; 0 (or below) times out at once
  std::string* returnedHeaders = nullptr;  // out
  std::optional<int> conversion{};         // 1 UTF-8 → 936; 2 950 → simplified 936
  std::string* returnedCookies = nullptr;  // out
  std::optional<bool> noRedirect{};
  // Ends the wait at once like a time-out, but with an empty result; the request is abandoned.
  std::stop_token stop{};
};

// One request on a thread of its own, waited for with a time-out while the calling thread's
// messages of `desktop` are dispatched. An abandoned request keeps its own copy of the block
// alive, is told to stop, and its late result is dropped. `url` gains "http://" in front when
// it has no scheme.
ByteBlock TimedHttpRequest(platform::os::Desktop& desktop, std::string& url,
                           const TimedHttpRequestOptions& options = {});

// Performs the block's request and writes entries 1, 2 and 6 back; TimedHttpRequest runs it on
// a request thread of its own for each call. A stop request ends the
// transfer at once.
void WinInetRequestThread(RequestBlock& block, std::stop_token stop = {});

// Request threads alive: those running a request (abandoned ones included) and at most four
// that wait for the next request.
std::size_t LiveRequestThreads();
// Requests started whose thread has not finished them, abandoned ones included.
std::size_t BusyRequestThreads();

}  // namespace web

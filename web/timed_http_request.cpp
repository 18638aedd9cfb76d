#include "web/timed_http_request.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <list>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/net/internet_session.h"
#include "platform/os/desktop.h"
#include "platform/os/message.h"
#include "platform/os/thread.h"
#include "platform/os/wait.h"
#include "platform/os/waitable.h"
#include "web/code_page_text.h"
#include "web/header_line.h"
#include "web/pump_wait.h"
#include "web/text_between.h"
#include "web/url_parts.h"

namespace web {
namespace {

namespace net = platform::net;
namespace os = platform::os;

constexpr int kDefaultTimeoutMs = 60'000;
constexpr std::size_t kChunkSize = 2048;
constexpr std::size_t kRawHeaderCapacity = 2048;
// All input, posted, timer, paint and hot-key messages; sent ones are handled by the wait.
constexpr std::uint32_t kWakeMask = os::QS_KEY | os::QS_MOUSEMOVE | os::QS_MOUSEBUTTON |
                                    os::QS_POSTMESSAGE | os::QS_TIMER | os::QS_PAINT |
                                    os::QS_HOTKEY | 0x0400;

constexpr char kDefaultAgent[] = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";
constexpr char kDefaultAccept[] =
    "Accept: image/gif, image/bmp, image/x-xbitmap, image/jpeg, image/pjpeg, "
    "application/x-shockwave-flash, application/vnd.ms-excel, application/vnd.ms-powerpoint, "
    "application/msword, */*\r\n";

const std::string& FollowRedirectsMark() {
  static const std::string mark = Utf8ToGbk("假");
  return mark;
}

const std::string& NoRedirectsMark() {
  static const std::string mark = Utf8ToGbk("真");
  return mark;
}

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool Contains(std::string_view text, std::string_view part) {
  return std::search(text.begin(), text.end(), part.begin(), part.end(),
                     [](char a, char b) { return LowerAscii(a) == LowerAscii(b); }) != text.end();
}

std::string TrimSpaces(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

std::string AsText(std::string_view bytes) {
  return std::string(bytes.substr(0, bytes.find('\0')));
}

std::string UserAgent(std::string_view headers) {
  if (!Contains(headers, "User-Agent:")) return kDefaultAgent;
  std::string agent = TrimSpaces(TextBetween(headers, "User-Agent:", "\r\n"));
  if (agent.empty()) agent = HeaderValue(headers);
  return agent;
}

// An explicit port of a secure address; 443 otherwise.
int SecurePort(std::string_view url) {
  std::string_view authority = url.substr(std::min<std::size_t>(8, url.size()));
  authority = authority.substr(0, authority.find('/'));
  if (authority.find(':') == std::string_view::npos) return 443;
  const int port = UrlPort(authority);
  return port > 0 ? port : 443;
}

void CompleteHeaders(std::string& headers, const std::string& url) {
  if (!Contains(headers, "Accept")) headers += kDefaultAccept;
  if (Contains(headers, "RefererNo")) {
    if (const std::size_t at = headers.find("RefererNo"); at != std::string::npos) {
      headers.erase(at, 9);
    }
  } else if (!Contains(headers, "Referer")) {
    headers += "Referer: " + url + "\r\n";
  }
  if (!Contains(headers, "Accept-Language")) headers += "Accept-Language: zh-cn\r\n";
}

std::uint32_t RequestFlags(const RequestBlock& block, bool secure, bool follow_redirects) {
  std::uint32_t flags = net::kInternetFlagReload | net::kInternetFlagNeedFile;
  if (!TrimSpaces(block[RequestBlock::kCookiesOrRawHeaders]).empty()) {
    flags |= net::kInternetFlagNoCookies;
  }
  if (!follow_redirects) flags |= net::kInternetFlagNoAutoRedirect;
  flags |= secure ? net::kInternetFlagSecure : net::kInternetFlagIgnoreRedirectToHttps;
  return flags;
}

ByteBlock ReadBody(net::InternetRequest& request) {
  ByteBlock body;
  body.reserve(request.Available());
  std::uint8_t chunk[kChunkSize];
  while (const std::size_t count = request.Read(chunk)) {
    body.insert(body.end(), chunk, chunk + count);
  }
  return body;
}

std::string RawHeaders(const net::InternetRequest& request) {
  std::string buffer(kRawHeaderCapacity, ' ');
  if (!request.QueryRawHeaders(buffer)) return buffer;
  return AsText(buffer);
}

// Every "Set-Cookie: " line: its name=value item goes to the collected text and the cookie
// into the store for the host.
std::string CollectCookies(std::string_view raw_headers, const std::string& host) {
  std::string collected;
  if (!Contains(raw_headers, "Set-Cookie: ")) return collected;
  while (!raw_headers.empty()) {
    const std::size_t end = raw_headers.find("\r\n");
    std::string_view line = raw_headers.substr(0, end);
    raw_headers = end == std::string_view::npos ? std::string_view{} : raw_headers.substr(end + 2);
    if (!Contains(line, "Set-Cookie: ")) continue;
    line.remove_prefix(std::min<std::size_t>(12, line.size()));
    collected += TextBefore(line, ";") + ";";
    const std::size_t equals = line.find('=');
    const std::string_view name = line.substr(0, equals);
    const std::string_view data =
        equals == std::string_view::npos ? std::string_view{} : line.substr(equals + 1);
    net::InternetSetCookie("http://" + host, name, data);
  }
  return collected;
}

void FailBlock(RequestBlock& block) {
  block[RequestBlock::kUrlOrBody].clear();
  block[RequestBlock::kRedirectFlag].clear();
  // Neither the verb nor the cookies sent may come back as if the response had set them.
  block[RequestBlock::kVerbOrCookies].clear();
  block[RequestBlock::kCookiesOrRawHeaders].clear();
}

// Performs the block's request and writes entries 2 and 6 back; the body is the result, so
// that a page goes to the caller without a copy.
ByteBlock PerformRequest(RequestBlock& block, const std::stop_token& stop);

// What one request of the caller shares with its thread. Whoever lets go last frees it.
struct RequestJob {
  RequestBlock block;
  ByteBlock page;  // entry 1 coming back
  std::stop_source stop;
  os::ThreadHandle done;
};

// The request threads of the process. A thread that has finished its request waits for the
// next one instead of ending, so a run of requests does not pay for a new thread (and the TLS
// library's per-thread state) every time; beyond a few idle ones, threads end. At exit every
// request still running is told to stop and every thread is joined, before the transfer
// library goes.
class RequestThreads {
 public:
  static RequestThreads& Process() {
    static RequestThreads threads;
    return threads;
  }

  bool Start(std::shared_ptr<RequestJob> job) {
    std::unique_lock lock(mutex_);
    JoinEnded();
    pending_.push_back(std::move(job));
    has_pending_.store(true, std::memory_order_release);
    if (pending_.size() <= idle_) {
      // Told after letting go, so the thread it wakes does not at once wait for the lock.
      lock.unlock();
      work_.notify_one();
      return true;
    }
    try {
      Worker& worker = workers_.emplace_back();
      worker.thread = std::thread([this, &worker] { Work(worker); });
    } catch (const std::system_error&) {
      workers_.pop_back();
      pending_.pop_back();
      return false;
    }
    ++alive_;
    return true;
  }

  std::size_t Alive() const {
    std::lock_guard lock(mutex_);
    return alive_;
  }
  std::size_t Busy() const {
    std::lock_guard lock(mutex_);
    return running_.size() + pending_.size();
  }

  ~RequestThreads() {
    {
      std::lock_guard lock(mutex_);
      exiting_ = true;
      for (const auto& job : running_) job->stop.request_stop();
      for (const auto& job : pending_) job->stop.request_stop();
    }
    work_.notify_all();
    for (Worker& worker : workers_) worker.thread.join();
  }

 private:
  static constexpr std::size_t kMostIdle = 4;
  static constexpr int kLooksBeforeSleeping = 200;

  struct Worker {
    std::thread thread;
    bool ended = false;
  };

  RequestThreads() { net::PrepareInternetSessions(); }

  void Work(Worker& self) {
    std::unique_lock lock(mutex_);
    for (;;) {
      if (pending_.empty()) {
        if (exiting_ || idle_ >= kMostIdle) break;
        ++idle_;
        LookOutBriefly(lock);
        work_.wait(lock, [this] { return !pending_.empty() || exiting_; });
        --idle_;
        continue;
      }
      std::shared_ptr<RequestJob> job = std::move(pending_.front());
      pending_.pop_front();
      has_pending_.store(!pending_.empty(), std::memory_order_relaxed);
      running_.push_back(job);
      lock.unlock();
      job->page = PerformRequest(job->block, job->stop.get_token());
      job->done.signal();
      lock.lock();
      running_.erase(std::find(running_.begin(), running_.end(), job));
    }
    self.ended = true;
    --alive_;
  }

  // A caller usually asks again soon after its answer; a thread that looks out for that a little
  // while before it sleeps saves the caller the wake-up of a sleeping one. It yields while it
  // looks, so it takes no time from a thread that has work. mutex_ held on entry and return.
  void LookOutBriefly(std::unique_lock<std::mutex>& lock) {
    lock.unlock();
    for (int look = 0; look < kLooksBeforeSleeping; ++look) {
      if (has_pending_.load(std::memory_order_acquire)) break;
      std::this_thread::yield();
    }
    lock.lock();
  }

  // mutex_ held.
  void JoinEnded() {
    for (auto it = workers_.begin(); it != workers_.end();) {
      if (!it->ended) {
        ++it;
        continue;
      }
      it->thread.join();
      it = workers_.erase(it);
    }
  }

  mutable std::mutex mutex_;
  std::condition_variable work_;
  std::list<Worker> workers_;
  std::deque<std::shared_ptr<RequestJob>> pending_;
  std::vector<std::shared_ptr<RequestJob>> running_;
  std::atomic<bool> has_pending_{false};
  std::size_t idle_ = 0;
  std::size_t alive_ = 0;
  bool exiting_ = false;
};

std::chrono::milliseconds TimeoutOf(const TimedHttpRequestOptions& options) {
  if (!options.timeoutSeconds) return std::chrono::milliseconds(kDefaultTimeoutMs);
  // Longer than any wait can be given in milliseconds is as good as no end.
  constexpr std::int64_t kLongestMs = os::INFINITE - 1;
  const std::int64_t ms = std::int64_t{std::max(0, *options.timeoutSeconds)} * 1000;
  return std::chrono::milliseconds(std::min(ms, kLongestMs));
}

enum class WaitEnd { kFinished, kTimedOut, kStopped };

WaitEnd WaitForRequest(os::Desktop& desktop, const RequestJob& job,
                       std::chrono::milliseconds timeout, const std::stop_token& stop) {
  os::Event stopped(os::Event::Options{.manual_reset = true});
  std::stop_callback on_stop(stop, [&stopped] { stopped.set(); });
  // One timer for the whole time-out, armed before the first wait: messages arriving late in
  // the wait cannot stretch it, and no moment is left between reading the clock and sleeping.
  os::WaitableTimer ended(desktop.clock(), os::Event::Options{.manual_reset = true});
  ended.set(timeout);
  const os::Waitable* handles[] = {&job.done, &stopped, &ended};
  for (;;) {
    const std::uint32_t result =
        desktop.msg_wait_for_multiple_objects(handles, os::INFINITE, kWakeMask);
    const bool timed_out = ended.is_signalled();
    DispatchPendingMessages(desktop);
    // A failed wait would fail again at once; it ends like a time-out rather than spinning.
    if (timed_out || result == os::WAIT_FAILED) return WaitEnd::kTimedOut;
    if (stopped.is_signalled()) return WaitEnd::kStopped;
    if (job.done.is_signalled()) return WaitEnd::kFinished;
  }
}

ByteBlock ToBytes(std::string_view text) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  return ByteBlock(bytes, bytes + text.size());
}

// The page as text: up to its first zero byte.
std::string_view PageText(const ByteBlock& page) {
  const std::string_view bytes(reinterpret_cast<const char*>(page.data()), page.size());
  return bytes.substr(0, bytes.find('\0'));
}

}  // namespace

std::string TimeoutNotice() {
  return Utf8ToGbk(
      "超时返回，指定网站不能访问，或者你的网络出现问题，你可以把参数中的＂超时返回＂的值设置长一些"
      "。");
}

std::size_t LiveRequestThreads() {
  return RequestThreads::Process().Alive();
}

std::size_t BusyRequestThreads() {
  return RequestThreads::Process().Busy();
}

void WinInetRequestThread(RequestBlock& block, std::stop_token stop) {
  const ByteBlock body = PerformRequest(block, stop);
  block[RequestBlock::kUrlOrBody].assign(body.begin(), body.end());
}

namespace {

ByteBlock PerformRequest(RequestBlock& block, const std::stop_token& stop) {
  const std::string url = block[RequestBlock::kUrlOrBody];
  const std::string verb = block[RequestBlock::kVerbOrCookies] == "POST" ? "POST" : "GET";
  const bool follow_redirects = block[RequestBlock::kRedirectFlag] == FollowRedirectsMark();
  std::string lower_scheme = url.substr(0, 5);
  std::transform(lower_scheme.begin(), lower_scheme.end(), lower_scheme.begin(), LowerAscii);
  const bool secure = lower_scheme == "https";
  std::string headers = block[RequestBlock::kHeaders];
  const std::string& proxy = block[RequestBlock::kProxy];
  const std::string& cookies = block[RequestBlock::kCookiesOrRawHeaders];
  const std::string& body = block[RequestBlock::kBody];

  auto session = proxy.empty()
                     ? net::InternetSession::Open(UserAgent(headers), net::InternetAccess::kDirect)
                     : net::InternetSession::Open(UserAgent(headers), net::InternetAccess::kProxy,
                                                  secure ? proxy : "http=" + proxy);
  const std::string host = UrlHost(url);
  auto connection =
      session ? session->Connect(host, secure ? SecurePort(url) : UrlPort(url)) : nullptr;
  auto request = connection ? connection->OpenRequest(verb, UrlPath(url), "HTTP/1.1",
                                                      RequestFlags(block, secure, follow_redirects))
                            : nullptr;
  if (!request) {
    FailBlock(block);
    return {};
  }

  CompleteHeaders(headers, url);
  std::span<const std::uint8_t> payload;
  if (verb == "POST" && !body.empty()) {
    if (!Contains(headers, "Content-Type")) {
      headers += "Content-Type: application/x-www-form-urlencoded\r\n";
    }
    if (!Contains(headers, "Content-Length")) {
      headers += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    }
    payload = std::span(reinterpret_cast<const std::uint8_t*>(body.data()), body.size());
  }
  if (!cookies.empty()) headers += "Cookie: " + cookies + "\r\n\r\n";
  request->Send(headers, payload, stop);

  ByteBlock response_body = ReadBody(*request);
  std::string raw_headers = RawHeaders(*request);
  request.reset();
  connection.reset();
  session.reset();

  block[RequestBlock::kVerbOrCookies] = CollectCookies(raw_headers, host);
  block[RequestBlock::kUrlOrBody].clear();
  block[RequestBlock::kCookiesOrRawHeaders] = std::move(raw_headers);
  return response_body;
}

}  // namespace

ByteBlock TimedHttpRequest(os::Desktop& desktop, std::string& url,
                           const TimedHttpRequestOptions& options) {
  if (TrimSpaces(url).empty()) return {};
  if (!url.starts_with("http://") && !url.starts_with("https://")) url = "http://" + url;

  auto job = std::make_shared<RequestJob>();
  RequestBlock& block = job->block;
  block[RequestBlock::kUrlOrBody] = url;
  block[RequestBlock::kVerbOrCookies] = options.method == 1 ? "POST" : "GET";
  block[RequestBlock::kProxy] = options.proxy.value_or("");
  block[RequestBlock::kHeaders] = options.headers.value_or("");
  if (options.body) block[RequestBlock::kBody].assign(options.body->begin(), options.body->end());
  block[RequestBlock::kCookiesOrRawHeaders] = options.cookies.value_or("");
  block[RequestBlock::kRedirectFlag] =
      options.noRedirect.value_or(false) ? NoRedirectsMark() : FollowRedirectsMark();

  if (!RequestThreads::Process().Start(job)) return {};
  switch (WaitForRequest(desktop, *job, TimeoutOf(options), options.stop)) {
    case WaitEnd::kTimedOut:
      job->stop.request_stop();
      return ToBytes(TimeoutNotice());
    case WaitEnd::kStopped:
      job->stop.request_stop();
      return {};
    case WaitEnd::kFinished:
      break;
  }
  if (options.returnedHeaders != nullptr) {
    *options.returnedHeaders = AsText(block[RequestBlock::kCookiesOrRawHeaders]);
  }
  if (options.returnedCookies != nullptr) {
    *options.returnedCookies = AsText(block[RequestBlock::kVerbOrCookies]);
  }
  switch (options.conversion.value_or(0)) {
    case 1:
      return ToBytes(Utf8ToGbk(PageText(job->page)));
    case 2:
      return ToBytes(Big5ToSimplifiedGbk(PageText(job->page)));
    default:
      return std::move(job->page);
  }
}

}  // namespace web

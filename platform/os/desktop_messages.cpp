// Queues, sending across threads, the message loop's calls, waits and timers.

#include <poll.h>

#include <algorithm>

#include "platform/os/desktop.h"
#include "platform/os/thread_queue.h"
#include "platform/os/utf.h"
#include "platform/os/window_record.h"

namespace platform::os {
namespace {

bool in_range(std::uint32_t message, std::uint32_t first, std::uint32_t last) {
  return (first == 0 && last == 0) || (message >= first && message <= last);
}

bool passes(const Message& m, Window filter, std::uint32_t first, std::uint32_t last) {
  return (!filter || m.window == filter) && in_range(m.message, first, last);
}

bool is_mouse_message(std::uint32_t m) {
  return m >= WM_MOUSEMOVE && m <= WM_MOUSEWHEEL;
}
bool is_key_message(std::uint32_t m) {
  return m >= WM_KEYDOWN && m <= WM_SYSCHAR;
}

}  // namespace

Message Desktop::stamp(Window window, std::uint32_t message, WPARAM wparam, LPARAM lparam) const {
  Point pt;
  {
    Lock lock(mu_);
    pt = cursor_;
  }
  return Message{window, message, wparam, lparam, tick_count(), pt};
}

bool Desktop::post_message(Window window, std::uint32_t message, WPARAM wparam, LPARAM lparam) {
  std::shared_ptr<ThreadQueue> queue = window ? queue_of(window) : current_queue();
  if (!queue) return false;
  Message m = stamp(window, message, wparam, lparam);
  {
    std::lock_guard lock(queue->mu);
    if (queue->ended) return false;
    queue->posted.push_back({m, {}});
  }
  queue->waker->wake();
  return true;
}

void Desktop::queue_input(Window window, std::uint32_t message, WPARAM wparam, LPARAM lparam,
                          std::u16string text) {
  std::shared_ptr<ThreadQueue> queue = queue_of(window);
  if (!queue) return;
  Message m = stamp(window, message, wparam, lparam);
  {
    std::lock_guard lock(queue->mu);
    if (queue->ended) return;
    // A move the thread has not taken yet is replaced by the newer one.
    if (message == WM_MOUSEMOVE && !queue->input.empty() &&
        queue->input.back().msg.message == WM_MOUSEMOVE &&
        queue->input.back().msg.window == window) {
      queue->input.back().msg = m;
    } else {
      queue->input.push_back({m, std::move(text)});
    }
  }
  queue->waker->wake();
}

LRESULT Desktop::send_message(Window window, std::uint32_t message, WPARAM wparam, LPARAM lparam) {
  std::shared_ptr<ThreadQueue> target = queue_of(window);
  if (!target) return 0;
  if (target->thread == std::this_thread::get_id()) {
    return call_procedure(window, message, wparam, lparam);
  }
  std::shared_ptr<ThreadQueue> self = current_queue();
  auto sent = std::make_shared<SentMessage>();
  sent->window = window;
  sent->message = message;
  sent->wparam = wparam;
  sent->lparam = lparam;
  sent->sender = self->waker;
  {
    std::lock_guard lock(target->mu);
    if (target->ended) return 0;
    target->sent.push_back(sent);
  }
  target->waker->wake();

  // Messages sent to this thread meanwhile are handled here, so two threads sending to each
  // other both get through.
  ThreadWaker& waker = *self->waker;
  for (;;) {
    handle_sent_messages(*self);
    if (sent->done.load(std::memory_order_acquire)) break;
    bool pending;
    {
      std::lock_guard lock(self->mu);
      pending = !self->sent.empty();
    }
    if (pending) continue;
    if (!waker.armed()) {
      waker.arm();  // and look again before sleeping
      continue;
    }
    pollfd fd{waker.fd(), POLLIN, 0};
    if (::poll(&fd, 1, -1) > 0) waker.clear();
    waker.disarm();
  }
  waker.disarm();
  return sent->result;
}

void Desktop::handle_sent_messages(ThreadQueue& queue) {
  for (;;) {
    std::shared_ptr<SentMessage> sent;
    {
      std::lock_guard lock(queue.mu);
      if (queue.sent.empty()) return;
      sent = std::move(queue.sent.front());
      queue.sent.pop_front();
    }
    sent->complete(call_procedure(sent->window, sent->message, sent->wparam, sent->lparam));
  }
}

void Desktop::post_quit_message(int exit_code) {
  auto queue = current_queue();
  std::lock_guard lock(queue->mu);
  queue->quit_posted = true;
  queue->quit_peeked = false;
  queue->quit_code = exit_code;
}

bool Desktop::take_from(std::deque<QueuedMessage>& from, ThreadQueue& queue, Message& out,
                        Window filter, std::uint32_t first, std::uint32_t last, bool remove) {
  for (;;) {
    QueuedMessage found;
    {
      std::lock_guard lock(queue.mu);
      auto it = std::find_if(from.begin(), from.end(), [&](const QueuedMessage& q) {
        return passes(q.msg, filter, first, last);
      });
      if (it == from.end()) return false;
      found = *it;
      if (remove) from.erase(it);
    }
    // Messages for windows that died after they were queued are dropped.
    if (found.msg.window && !is_window(found.msg.window)) {
      if (!remove) {
        std::lock_guard lock(queue.mu);
        std::erase_if(from,
                      [&](const QueuedMessage& q) { return q.msg.window == found.msg.window; });
      }
      continue;
    }
    out = found.msg;
    if (remove && (found.msg.message == WM_KEYDOWN || found.msg.message == WM_SYSKEYDOWN)) {
      std::lock_guard lock(queue.mu);
      queue.last_key = found.msg;
      queue.last_key_text = std::move(found.text);
    }
    return true;
  }
}

bool Desktop::take_paint(ThreadQueue& queue, Message& out, Window filter, std::uint32_t first,
                         std::uint32_t last) {
  if (!in_range(WM_PAINT, first, last)) return false;
  Lock lock(mu_);
  for (Window w : z_order_) {
    WindowRecord* rec = find(w);
    if (!rec || rec->queue.get() != &queue || rec->dirty.empty() || !rec->visible()) continue;
    if (filter && filter != w) continue;
    out = Message{w, WM_PAINT, 0, 0, tick_ms(clock_.now()), cursor_};
    return true;
  }
  return false;
}

bool Desktop::take_timer(ThreadQueue& queue, Message& out, Window filter, std::uint32_t first,
                         std::uint32_t last, bool remove) {
  if (!in_range(WM_TIMER, first, last)) return false;
  Clock::TimePoint now = clock_.now();
  std::lock_guard lock(queue.mu);
  MessageTimer* due = nullptr;
  for (MessageTimer& t : queue.timers) {
    if (t.due > now || (filter && t.window != filter)) continue;
    if (!due || t.due < due->due) due = &t;
  }
  if (!due) return false;
  out =
      Message{due->window,  WM_TIMER, due->id, due->routine ? static_cast<LPARAM>(due->serial) : 0,
              tick_ms(now), {}};
  // The next one counts from now: a late thread gets one message, not a burst.
  if (remove) due->due = now + due->period;
  return true;
}

bool Desktop::take_message(ThreadQueue& queue, Message& out, Window filter, std::uint32_t first,
                           std::uint32_t last, bool remove) {
  if (take_from(queue.posted, queue, out, filter, first, last, remove)) return true;
  if (take_from(queue.input, queue, out, filter, first, last, remove)) {
    if (remove && is_mouse_message(out.message)) after_mouse_message_taken(out);
    return true;
  }
  {
    std::lock_guard lock(queue.mu);
    if (queue.quit_posted && !queue.quit_peeked) {
      out = Message{{}, WM_QUIT, static_cast<WPARAM>(queue.quit_code), 0, tick_count(), {}};
      if (remove) queue.quit_peeked = true;
      return true;
    }
  }
  if (take_paint(queue, out, filter, first, last)) return true;
  return take_timer(queue, out, filter, first, last, remove);
}

void Desktop::after_mouse_message_taken(const Message& m) {
  if (m.message == WM_MOUSEWHEEL || capture()) return;
  send_message(m.window, WM_SETCURSOR, static_cast<WPARAM>(window_to_param(m.window)),
               make_lparam(static_cast<int>(HTCLIENT), static_cast<int>(m.message)));
}

void Desktop::pump_display(ThreadQueue& queue) {
  {
    std::lock_guard lock(queue.mu);
    if (queue.window_count == 0) return;
  }
  display([](DisplayBackend& b) {
    int fd = b.event_fd();
    if (fd < 0) return;
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 0) > 0) b.drain();
  });
}

std::optional<Clock::TimePoint> Desktop::next_timer_due(ThreadQueue& queue) {
  std::lock_guard lock(queue.mu);
  std::optional<Clock::TimePoint> next;
  for (const MessageTimer& t : queue.timers) {
    if (!next || t.due < *next) next = t.due;
  }
  return next;
}

WaitHooks Desktop::queue_wait_hooks(ThreadQueue& queue, std::function<bool()> ready) {
  WaitHooks hooks;
  hooks.input_ready = std::move(ready);
  hooks.input_due = [this, &queue] { return next_timer_due(queue); };
  bool owns_windows;
  {
    std::lock_guard lock(queue.mu);
    owns_windows = queue.window_count > 0;
  }
  if (owns_windows) {
    hooks.extra_fd = display([](DisplayBackend& b) { return b.event_fd(); });
    hooks.extra_fd_readable = [this] { display([](DisplayBackend& b) { b.drain(); }); };
    hooks.before_sleep = [this] { display([](DisplayBackend& b) { b.flush(); }); };
  }
  return hooks;
}

bool Desktop::get_message(Message& out, Window filter, std::uint32_t first, std::uint32_t last) {
  auto queue = current_queue();
  for (;;) {
    {
      // Once handed out, WM_QUIT ends every further loop of the thread, nested ones included.
      std::lock_guard lock(queue->mu);
      if (queue->quit_posted && queue->quit_peeked) {
        out = Message{{}, WM_QUIT, static_cast<WPARAM>(queue->quit_code), 0, tick_count(), {}};
        return false;
      }
    }
    handle_sent_messages(*queue);
    pump_display(*queue);
    if (take_message(*queue, out, filter, first, last, true)) return out.message != WM_QUIT;
    Message probe;
    WaitHooks hooks = queue_wait_hooks(*queue, [&] {
      handle_sent_messages(*queue);
      return take_message(*queue, probe, filter, first, last, false);
    });
    wait_for_any(clock_, {}, std::nullopt, &hooks);
  }
}

bool Desktop::peek_message(Message& out, Window filter, std::uint32_t first, std::uint32_t last,
                           std::uint32_t remove) {
  auto queue = current_queue();
  handle_sent_messages(*queue);
  pump_display(*queue);
  return take_message(*queue, out, filter, first, last, (remove & PM_REMOVE) != 0);
}

void Desktop::wait_message() {
  auto queue = current_queue();
  Message probe;
  WaitHooks hooks = queue_wait_hooks(*queue, [&] {
    handle_sent_messages(*queue);
    return take_message(*queue, probe, {}, 0, 0, false);
  });
  wait_for_any(clock_, {}, std::nullopt, &hooks);
}

std::uint32_t Desktop::status_of(ThreadQueue& queue) {
  std::uint32_t bits = 0;
  {
    std::lock_guard lock(queue.mu);
    if (!queue.posted.empty() || (queue.quit_posted && !queue.quit_peeked)) {
      bits |= QS_POSTMESSAGE | QS_ALLPOSTMESSAGE;
    }
    if (!queue.sent.empty()) bits |= QS_SENDMESSAGE;
    for (const QueuedMessage& q : queue.input) {
      std::uint32_t m = q.msg.message;
      if (is_key_message(m))
        bits |= QS_KEY;
      else if (m == WM_MOUSEMOVE)
        bits |= QS_MOUSEMOVE;
      else if (is_mouse_message(m))
        bits |= QS_MOUSEBUTTON;
    }
    Clock::TimePoint now = clock_.now();
    for (const MessageTimer& t : queue.timers) {
      if (t.due <= now) bits |= QS_TIMER;
    }
  }
  Message probe;
  if (take_paint(queue, probe, {}, 0, 0)) bits |= QS_PAINT;
  return bits;
}

std::uint32_t Desktop::queue_status() {
  return status_of(*current_queue());
}

std::uint32_t Desktop::msg_wait_for_multiple_objects(std::span<const Waitable* const> handles,
                                                     std::uint32_t timeout_ms,
                                                     std::uint32_t wake_mask) {
  auto queue = current_queue();
  WaitHooks hooks = queue_wait_hooks(*queue, [&] {
    if (!(wake_mask & QS_SENDMESSAGE)) handle_sent_messages(*queue);
    return (status_of(*queue) & wake_mask) != 0;
  });
  return wait_for_any(clock_, handles, timeout_from_ms(timeout_ms), &hooks);
}

std::uint32_t Desktop::wait_for_objects(std::span<const Waitable* const> handles,
                                        std::uint32_t timeout_ms) {
  return wait_for_any(clock_, handles, timeout_from_ms(timeout_ms));
}

void Desktop::sleep(std::uint32_t ms) {
  if (ms == 0) {
    std::this_thread::yield();
    return;
  }
  wait_for_any(clock_, {}, timeout_from_ms(ms));
}

bool Desktop::translate_message(const Message& message) {
  if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
  auto queue = current_queue();
  std::u16string text;
  {
    std::lock_guard lock(queue->mu);
    const Message& k = queue->last_key;
    if (k.window != message.window || k.message != message.message || k.wparam != message.wparam ||
        k.lparam != message.lparam || k.time != message.time) {
      return false;
    }
    text = queue->last_key_text;
  }
  if (text.empty()) return false;
  std::uint32_t char_message = message.message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
  for (char16_t unit : text) post_message(message.window, char_message, unit, message.lparam);
  return true;
}

LRESULT Desktop::dispatch_message(const Message& message) {
  if (message.message == WM_TIMER && message.lparam != 0) {
    auto queue = message.window ? queue_of(message.window) : current_queue();
    if (!queue) return 0;
    std::shared_ptr<const TimerProc> routine;
    {
      std::lock_guard lock(queue->mu);
      for (const MessageTimer& t : queue->timers) {
        if (t.window == message.window && t.id == message.wparam &&
            static_cast<LPARAM>(t.serial) == message.lparam) {
          routine = t.routine;
        }
      }
    }
    // A timer killed after its message was taken calls nothing.
    if (routine) (*routine)(message.window, WM_TIMER, message.wparam, tick_count());
    return 0;
  }
  if (!message.window) return 0;
  return call_procedure(message.window, message.message, message.wparam, message.lparam);
}

std::uintptr_t Desktop::set_timer(Window window, std::uintptr_t id, std::uint32_t ms,
                                  TimerProc routine) {
  std::shared_ptr<ThreadQueue> queue = window ? queue_of(window) : current_queue();
  if (!queue) return 0;
  auto shared_routine = routine ? std::make_shared<const TimerProc>(std::move(routine)) : nullptr;
  Clock::Duration period = std::chrono::milliseconds(std::max<std::uint32_t>(ms, 1));
  auto same = [&](const MessageTimer& t) { return t.window == window && t.id == id; };
  bool exists;
  {
    std::lock_guard lock(queue->mu);
    exists = std::any_of(queue->timers.begin(), queue->timers.end(), same);
  }
  std::uint64_t serial;
  {
    Lock lock(mu_);
    serial = next_timer_serial_++;
    if (!window && !exists) id = next_thread_timer_id_++;
  }
  {
    std::lock_guard lock(queue->mu);
    if (queue->ended) return 0;
    auto it = std::find_if(queue->timers.begin(), queue->timers.end(), same);
    MessageTimer timer{window, id, period, clock_.now() + period, shared_routine, serial};
    if (it != queue->timers.end()) {
      *it = timer;  // restarts it
    } else {
      queue->timers.push_back(timer);
    }
  }
  queue->waker->wake();
  return id;
}

bool Desktop::kill_timer(Window window, std::uintptr_t id) {
  std::shared_ptr<ThreadQueue> queue = window ? queue_of(window) : current_queue();
  if (!queue) return false;
  std::lock_guard lock(queue->mu);
  return std::erase_if(queue->timers,
                       [&](const MessageTimer& t) { return t.window == window && t.id == id; }) > 0;
}

}  // namespace platform::os

// Posting, sending within and across threads, quitting and nested loops.

#include <atomic>

#include "desktop_fixture.h"
#include "platform/os/thread.h"
#include "ui_thread.h"

namespace platform::os::testing {
namespace {

using ::testing::ElementsAre;

class MessagesTest : public DesktopTest {
 protected:
  static constexpr const char* kThreadClass = "thread_window";

  MessagesTest() {
    // Windows of helper threads: their own procedure, answering through `thread_handler`.
    desktop.register_class(WindowClass{
        .name = kThreadClass,
        .procedure = [this](Window w, std::uint32_t m, WPARAM wp, LPARAM lp) -> LRESULT {
          log.add({w, m, wp, lp, std::this_thread::get_id()});
          if (m == WM_DESTROY) desktop.post_quit_message(0);
          if (thread_handler) {
            if (auto r = thread_handler(w, m, wp, lp)) return *r;
          }
          return desktop.def_window_proc(w, m, wp, lp);
        },
    });
  }

  std::function<Window()> thread_window() {
    return [this] { return desktop.create_window(CreateWindowParams{.class_name = kThreadClass}); };
  }

  // Set before any helper thread starts; read only afterwards.
  Handler thread_handler;
};

std::vector<std::uint32_t> codes(const std::vector<Message>& messages) {
  std::vector<std::uint32_t> out;
  for (const Message& m : messages) out.push_back(m.message);
  return out;
}

TEST_F(MessagesTest, PostedMessagesArriveInPostingOrderAcrossWindows) {
  Window a = make_window({0, 0, 10, 10});
  Window b = make_window({20, 0, 30, 10});
  take_all();  // activation and paint of the new windows
  for (std::uint32_t i = 0; i < 6; ++i) {
    ASSERT_TRUE(desktop.post_message(i % 2 ? b : a, WM_USER + i, i, -static_cast<LPARAM>(i)));
  }
  std::vector<Message> got = take_all();
  ASSERT_EQ(got.size(), 6u);
  for (std::uint32_t i = 0; i < 6; ++i) {
    EXPECT_EQ(got[i].message, WM_USER + i);
    EXPECT_EQ(got[i].window, i % 2 ? b : a);
    EXPECT_EQ(got[i].wparam, i);
    EXPECT_EQ(got[i].lparam, -static_cast<LPARAM>(i));
  }
}

TEST_F(MessagesTest, FilteredPeekLeavesOtherMessagesInOrder) {
  Window a = make_window({0, 0, 10, 10});
  Window b = make_window({20, 0, 30, 10});
  take_all();
  desktop.post_message(a, WM_USER + 1, 0, 0);
  desktop.post_message(b, WM_USER + 2, 0, 0);
  desktop.post_message(a, WM_USER + 3, 0, 0);
  desktop.post_message(b, WM_USER + 4, 0, 0);
  Message m;
  ASSERT_TRUE(desktop.peek_message(m, b, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, WM_USER + 2u);
  ASSERT_TRUE(desktop.peek_message(m, {}, WM_USER + 4, WM_USER + 4, PM_REMOVE));
  EXPECT_EQ(m.message, WM_USER + 4u);
  ASSERT_TRUE(desktop.peek_message(m, {}, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(m.message, WM_USER + 1u);
  EXPECT_THAT(codes(take_all()), ElementsAre(WM_USER + 1, WM_USER + 3));
}

TEST_F(MessagesTest, PostedMessagesComeBeforeQueuedInputAndPaint) {
  Window a = make_window({0, 0, 100, 100});
  take_all();
  display.click({10, 10});
  desktop.invalidate_rect(a);
  desktop.post_message(a, WM_USER, 0, 0);
  std::vector<std::uint32_t> got = codes(take_all());
  EXPECT_THAT(got, ElementsAre(WM_USER, WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_PAINT));
}

TEST_F(MessagesTest, MessagesQueuedForADestroyedWindowAreNeverDelivered) {
  Window a = make_window({0, 0, 10, 10});
  Window b = make_window({20, 0, 30, 10});
  take_all();
  desktop.post_message(a, WM_USER + 1, 0, 0);
  desktop.post_message(b, WM_USER + 2, 0, 0);
  ASSERT_TRUE(desktop.destroy_window(a));
  log.clear();
  pump();
  EXPECT_EQ(log.count(WM_USER + 1), 0);
  EXPECT_EQ(log.count(WM_USER + 2, b), 1);
  EXPECT_FALSE(desktop.post_message(a, WM_USER, 0, 0));
  EXPECT_EQ(desktop.send_message(a, WM_USER, 0, 0), 0);
}

TEST_F(MessagesTest, SendOnTheOwningThreadCallsTheProcedureAtOnce) {
  Window a = make_window({0, 0, 10, 10});
  set_handler([](Window, std::uint32_t m, WPARAM wp, LPARAM lp) -> std::optional<LRESULT> {
    if (m == WM_USER) return static_cast<LRESULT>(wp) * 10 + lp;
    return std::nullopt;
  });
  EXPECT_EQ(desktop.send_message(a, WM_USER, 4, 2), 42);
  EXPECT_FALSE(desktop.peek_message(*std::make_unique<Message>(), a, WM_USER, WM_USER));
}

TEST_F(MessagesTest, CrossThreadSendRunsOnTheOwnerThreadAndReturnsItsResult) {
  thread_handler = [](Window, std::uint32_t m, WPARAM wp, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_USER) return static_cast<LRESULT>(wp) + 1000;
    return std::nullopt;
  };
  UiThread ui(desktop, thread_window());
  EXPECT_EQ(desktop.send_message(ui.window(), WM_USER, 7, 0), 1007);
  EXPECT_EQ(desktop.send_message(ui.window(), WM_USER, 8, 0), 1008);
  std::vector<Recorded> calls = log.of({WM_USER});
  ASSERT_EQ(calls.size(), 2u);
  for (const Recorded& r : calls) {
    EXPECT_EQ(r.thread, ui.thread().id());
    EXPECT_NE(r.thread, std::this_thread::get_id());
  }
}

TEST_F(MessagesTest, CrossThreadPostIsHandledOnTheOwnerThreadInOrder) {
  std::atomic<int> seen{0};
  Event done;
  thread_handler = [&](Window, std::uint32_t m, WPARAM wp, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_USER) {
      // Each message must come in its turn.
      if (static_cast<int>(wp) == seen.load()) seen.fetch_add(1);
      if (wp == 49) done.set();
      return 0;
    }
    return std::nullopt;
  };
  UiThread ui(desktop, thread_window());
  for (WPARAM i = 0; i < 50; ++i) ASSERT_TRUE(desktop.post_message(ui.window(), WM_USER, i, 0));
  const Waitable* handles[] = {&done};
  ASSERT_EQ(desktop.wait_for_objects(handles, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(seen.load(), 50);
}

TEST_F(MessagesTest, ThreadsSendingToEachOtherDoNotDeadlock) {
  // a's thread handles WM_USER by sending to b; b's thread handles that by sending back to a,
  // which a's thread must handle while it is still waiting for b.
  std::unique_ptr<UiThread> a_thread, b_thread;
  std::atomic<std::uint64_t> a_id{0}, b_id{0};
  thread_handler = [&](Window, std::uint32_t m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    Window a{a_id.load()}, b{b_id.load()};
    switch (m) {
      case WM_USER:
        return desktop.send_message(b, WM_USER + 1, 0, 0) + 100;
      case WM_USER + 1:
        return desktop.send_message(a, WM_USER + 2, 0, 0) + 10;
      case WM_USER + 2:
        return 7;
      default:
        return std::nullopt;
    }
  };
  a_thread = std::make_unique<UiThread>(desktop, thread_window());
  b_thread = std::make_unique<UiThread>(desktop, thread_window());
  a_id = a_thread->window().id;
  b_id = b_thread->window().id;
  EXPECT_EQ(desktop.send_message(a_thread->window(), WM_USER, 0, 0), 117);
  std::vector<Recorded> back = log.of({WM_USER + 2});
  ASSERT_EQ(back.size(), 1u);
  EXPECT_EQ(back[0].thread, a_thread->thread().id());
}

TEST_F(MessagesTest, SimultaneousSendsBetweenTwoThreadsBothComplete) {
  Event go{Event::Options{.manual_reset = true}};
  std::atomic<std::uint64_t> peer_of_a{0}, peer_of_b{0};
  thread_handler = [&](Window w, std::uint32_t m, WPARAM wp, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_USER) {
      // Both threads get here and send to each other at the same moment.
      const Waitable* handles[] = {&go};
      desktop.wait_for_objects(handles, INFINITE);
      Window peer{w.id == peer_of_b.load() ? peer_of_a.load() : peer_of_b.load()};
      return desktop.send_message(peer, WM_USER + 1, wp, 0);
    }
    if (m == WM_USER + 1) return static_cast<LRESULT>(wp) * 2;
    return std::nullopt;
  };
  UiThread a(desktop, thread_window());
  UiThread b(desktop, thread_window());
  peer_of_a = b.window().id;
  peer_of_b = a.window().id;
  std::atomic<LRESULT> from_a{0}, from_b{0};
  {
    Thread ask_a([&] { from_a = desktop.send_message(a.window(), WM_USER, 3, 0); });
    Thread ask_b([&] { from_b = desktop.send_message(b.window(), WM_USER, 5, 0); });
    go.set();
  }
  EXPECT_EQ(from_a.load(), 6);
  EXPECT_EQ(from_b.load(), 10);
}

TEST_F(MessagesTest, SendToAWindowWhoseThreadEndedReturnsZeroAtOnce) {
  Window orphan;
  {
    Thread t(
        [&] { orphan = desktop.create_window(CreateWindowParams{.class_name = kPlainClass}); });
    const Waitable* handles[] = {&t.handle()};
    ASSERT_EQ(desktop.wait_for_objects(handles, INFINITE), WAIT_OBJECT_0);
  }
  ASSERT_TRUE(orphan);
  EXPECT_FALSE(desktop.is_window(orphan));
  EXPECT_EQ(desktop.send_message(orphan, WM_USER, 0, 0), 0);
  EXPECT_FALSE(desktop.post_message(orphan, WM_USER, 0, 0));
  EXPECT_EQ(log.count(WM_USER), 0);
}

TEST_F(MessagesTest, APlainThreadEndingClosesItsQueueToo) {
  Window orphan;
  std::thread t(
      [&] { orphan = desktop.create_window(CreateWindowParams{.class_name = kPlainClass}); });
  t.join();
  ASSERT_TRUE(orphan);
  EXPECT_FALSE(desktop.is_window(orphan));
  EXPECT_EQ(desktop.send_message(orphan, WM_USER, 0, 0), 0);
  // The display lets go of it once the desktop notices.
  make_window({0, 0, 10, 10});
  EXPECT_FALSE(display.window(orphan).has_value());
}

TEST_F(MessagesTest, SendPendingWhenTheOwnerThreadEndsReturnsZero) {
  Event created;
  Window target;
  std::atomic<LRESULT> result{-1};
  {
    Thread owner([&] {
      target = desktop.create_window(CreateWindowParams{.class_name = kPlainClass});
      created.set();
      // Ends once the message is waiting for it, without ever handling it.
      while (!(desktop.queue_status() & QS_SENDMESSAGE)) std::this_thread::yield();
    });
    const Waitable* handles[] = {&created};
    desktop.wait_for_objects(handles, INFINITE);
    Thread sender([&] { result = desktop.send_message(target, WM_USER, 0, 0); });
  }
  EXPECT_EQ(result.load(), 0);
  EXPECT_EQ(log.count(WM_USER), 0);
}

TEST_F(MessagesTest, QuitEndsTheLoopAfterTheMessagesPostedBeforeIt) {
  Window a = make_window({0, 0, 10, 10});
  take_all();
  desktop.post_message(a, WM_USER, 0, 0);
  desktop.post_quit_message(3);
  desktop.post_message(a, WM_USER + 1, 0, 0);
  Message m;
  std::vector<std::uint32_t> handled;
  while (desktop.get_message(m)) handled.push_back(m.message);
  EXPECT_THAT(handled, ElementsAre(WM_USER, WM_USER + 1));
  EXPECT_EQ(m.message, WM_QUIT);
  EXPECT_EQ(m.wparam, 3u);
  // Every later loop ends at once too.
  EXPECT_FALSE(desktop.get_message(m));
  // A peek loop sees it once only, so it cannot spin.
  EXPECT_FALSE(desktop.peek_message(m, {}, 0, 0, PM_REMOVE));
}

TEST_F(MessagesTest, QuitInsideANestedLoopEndsItAndTheOuterLoop) {
  Window a = make_window({0, 0, 10, 10});
  take_all();
  std::vector<std::string> trace;
  set_handler([&](Window w, std::uint32_t m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_USER) {
      trace.push_back("nested start");
      desktop.post_message(w, WM_USER + 1, 0, 0);
      Message inner;
      while (desktop.get_message(inner)) desktop.dispatch_message(inner);
      trace.push_back("nested end");
      return 0;
    }
    if (m == WM_USER + 1) {
      trace.push_back("quit");
      desktop.post_quit_message(0);
      return 0;
    }
    return std::nullopt;
  });
  desktop.post_message(a, WM_USER, 0, 0);
  Message m;
  while (desktop.get_message(m)) desktop.dispatch_message(m);
  trace.push_back("outer end");
  EXPECT_THAT(trace, ElementsAre("nested start", "quit", "nested end", "outer end"));
}

TEST_F(MessagesTest, GetMessageSleepsUntilAnotherThreadPosts) {
  Window a = make_window({0, 0, 10, 10});
  take_all();
  Thread poster([&] {
    await_clock_waiters(clock);  // the main thread is asleep in get_message
    desktop.post_message(a, WM_USER + 5, 1, 2);
  });
  Message m;
  ASSERT_TRUE(desktop.get_message(m));
  EXPECT_EQ(m.message, WM_USER + 5u);
  EXPECT_EQ(m.window, a);
}

TEST_F(MessagesTest, PostWithoutAWindowGoesToTheCallingThread) {
  ASSERT_TRUE(desktop.post_message({}, WM_USER + 9, 1, 2));
  std::vector<Message> got = take_all();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].message, WM_USER + 9u);
  EXPECT_FALSE(got[0].window);
  EXPECT_EQ(desktop.dispatch_message(got[0]), 0);
}

}  // namespace
}  // namespace platform::os::testing

#include <gtest/gtest.h>

#include <thread>

#include "test_host.h"

namespace directui {
namespace {

using element_testing::ProbeElement;
using element_testing::Screen;
using element_testing::TestHost;
namespace os = platform::os;

// Notes the thread its class handler runs on.
class ThreadProbe : public ProbeElement {
 public:
  LRESULT HandleMessage(Ex_Element* element, std::uint32_t message, WPARAM wparam,
                        LPARAM lparam) override {
    if (message == EXM_CLICK || message == EXM_MOUSEENTER)
      threads.push_back(std::this_thread::get_id());
    if (message == EXM_CLICK) return 77;
    return ProbeElement::HandleMessage(element, message, wparam, lparam);
  }
  std::vector<std::thread::id> threads;
};

TEST(CrossThreadTest, EventsFromAnotherThreadRunOnTheWindowsThread) {
  Screen screen;
  TestHost host(screen, 50, 50);
  ThreadProbe element;
  element.Create(host.window, MakeRectF(1, 1, 10, 10));
  constexpr std::uint32_t kWorkerDone = os::WM_USER + 9;

  LRESULT sent = 0;
  bool posted = false;
  std::thread worker([&] {
    sent = element.SendEvent(EXM_CLICK, 0, 0);
    posted = element.PostEvent(EXM_MOUSEENTER, 0, 0);
    screen.desktop.post_message(host.window.window, kWorkerDone, 0, 0);
  });
  os::Message message;
  while (screen.desktop.get_message(message)) {
    screen.desktop.dispatch_message(message);
    if (message.message == kWorkerDone) break;
  }
  worker.join();

  EXPECT_EQ(sent, 77);
  EXPECT_TRUE(posted);
  ASSERT_EQ(element.threads.size(), 2u);
  EXPECT_EQ(element.threads[0], std::this_thread::get_id());
  EXPECT_EQ(element.threads[1], std::this_thread::get_id());
}

}  // namespace
}  // namespace directui

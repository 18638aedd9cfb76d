#include <gtest/gtest.h>

#include <vector>

#include "test_host.h"

namespace directui {
namespace {

using element_testing::ProbeElement;
using element_testing::Screen;
using element_testing::TestHost;
namespace os = platform::os;

class DispatchTest : public ::testing::Test {
 protected:
  Screen screen;
  TestHost host{screen, 100, 80};
};

TEST_F(DispatchTest, DoubleClickBindingFiresOnlyOnTheMarkedPressAndPressBindingOnBoth) {
  struct Case {
    std::uint32_t bound;
    std::uint32_t message;
    WPARAM wparam;
    bool fires;
  };
  const Case cases[] = {
      {os::WM_LBUTTONDBLCLK, os::WM_LBUTTONDOWN, DOUBLECLICK_MARK, true},
      {os::WM_LBUTTONDBLCLK, os::WM_LBUTTONDOWN, 0, false},
      {os::WM_LBUTTONDBLCLK, os::WM_LBUTTONDBLCLK, 0, false},
      {os::WM_LBUTTONDBLCLK, os::WM_LBUTTONDBLCLK, DOUBLECLICK_MARK, false},
      {os::WM_LBUTTONDOWN, os::WM_LBUTTONDOWN, 0, true},
      {os::WM_LBUTTONDOWN, os::WM_LBUTTONDOWN, DOUBLECLICK_MARK, true},
      {EXM_CLICK, EXM_CLICK, 0, true},
      {EXM_CLICK, EXM_MOUSELEAVE, 0, false},
  };
  for (const Case& c : cases) {
    ProbeElement element;
    element.Create(host.window, MakeRectF(1, 1, 5, 5));
    int calls = 0;
    element.BindEvent(c.bound, [&calls](RoutineArg) { ++calls; });
    DispatchElementMessage(&element, c.message, c.wparam, 0);
    EXPECT_EQ(calls, c.fires ? 1 : 0) << c.bound << " on " << c.message << "/" << c.wparam;
    element.Destroy();
  }
}

TEST_F(DispatchTest, OnlyTheFirstFiringBindingRuns) {
  ProbeElement element;
  element.Create(host.window, MakeRectF(1, 1, 5, 5));
  std::vector<int> ran;
  element.BindEvent(os::WM_LBUTTONDBLCLK, [&ran](RoutineArg) { ran.push_back(515); });
  element.BindEvent(os::WM_LBUTTONDOWN, [&ran](RoutineArg) { ran.push_back(513); });
  DispatchElementMessage(&element, os::WM_LBUTTONDOWN, DOUBLECLICK_MARK, 0);
  DispatchElementMessage(&element, os::WM_LBUTTONDOWN, 0, 0);
  EXPECT_EQ(ran, (std::vector<int>{515, 513}));
}

TEST_F(DispatchTest, BindingACodeAgainReplacesItsHandler) {
  ProbeElement element;
  element.Create(host.window, MakeRectF(1, 1, 5, 5));
  std::vector<int> ran;
  element.BindEvent(EXM_CLICK, [&ran](RoutineArg) { ran.push_back(1); });
  element.BindEvent(EXM_MOUSEENTER, [&ran](RoutineArg) { ran.push_back(2); });
  element.BindEvent(EXM_CLICK, [&ran](RoutineArg) { ran.push_back(3); });
  ASSERT_EQ(element.event_table.bindings().size(), 2u);
  EXPECT_EQ(element.event_table.bindings()[0].code, EXM_CLICK);
  DispatchElementMessage(&element, EXM_CLICK, 0, 0);
  DispatchElementMessage(&element, EXM_MOUSEENTER, 0, 0);
  EXPECT_EQ(ran, (std::vector<int>{3, 2}));
}

TEST_F(DispatchTest, AChildsHandlerGetsTheParentFirstAndARootsGetsItself) {
  ProbeElement parent;
  ProbeElement child;
  parent.Create(host.window, MakeRectF(1, 1, 50, 50));
  child.Create(&parent, MakeRectF(2, 2, 5, 5));
  std::vector<RoutineArg> child_args;
  std::vector<RoutineArg> root_args;
  child.BindEvent(EXM_CLICK,
                  [&](RoutineArg a, RoutineArg b, RoutineArg c, RoutineArg d, RoutineArg e) {
                    child_args = {a, b, c, d, e};
                  });
  parent.BindEvent(EXM_CLICK,
                   [&](RoutineArg a, RoutineArg b, RoutineArg c, RoutineArg d, RoutineArg e) {
                     root_args = {a, b, c, d, e};
                   });
  DispatchElementMessage(&child, EXM_CLICK, 7, 8);
  DispatchElementMessage(&parent, EXM_CLICK, 7, 8);
  const auto p = reinterpret_cast<RoutineArg>(&parent);
  const auto c = reinterpret_cast<RoutineArg>(&child);
  EXPECT_EQ(child_args, (std::vector<RoutineArg>{p, c, EXM_CLICK, 7, 8}));
  EXPECT_EQ(root_args, (std::vector<RoutineArg>{p, EXM_CLICK, 7, 8, 0}));
}

TEST_F(DispatchTest, TheClassHandlerRunsFirstAndItsAnswerIsTheResult) {
  ProbeElement element;
  element.Create(host.window, MakeRectF(1, 1, 5, 5));
  element.disabled_alpha_answer = 42;
  bool class_ran_first = false;
  element.BindEvent(EXM_QUERYDISABLEDALPHA, [&](RoutineArg) {
    class_ran_first = element.Count(EXM_QUERYDISABLEDALPHA) == 1;
    return 99;
  });
  EXPECT_EQ(DispatchElementMessage(&element, EXM_QUERYDISABLEDALPHA, 0, 1), 42);
  EXPECT_TRUE(class_ran_first);
  EXPECT_EQ(DispatchElementMessage(nullptr, EXM_CLICK, 0, 0), 0);
}

TEST_F(DispatchTest, AHandlerMayRebindWhileItRuns) {
  ProbeElement element;
  element.Create(host.window, MakeRectF(1, 1, 5, 5));
  int calls = 0;
  element.BindEvent(EXM_CLICK, [&](RoutineArg) {
    ++calls;
    for (std::uint32_t code = 1; code < 40; ++code) element.BindEvent(code, nullptr);
    element.BindEvent(EXM_CLICK, nullptr);
  });
  DispatchElementMessage(&element, EXM_CLICK, 0, 0);
  DispatchElementMessage(&element, EXM_CLICK, 0, 0);
  EXPECT_EQ(calls, 1);
}

TEST_F(DispatchTest, SendEventGoesThroughTheHostWindowAndAnswersTheClassResult) {
  ProbeElement element;
  element.Create(host.window, MakeRectF(1, 1, 5, 5));
  element.received.clear();
  int seen = 0;
  element.BindEvent(EXM_QUERYFOCUS, [&](RoutineArg) { ++seen; });
  element.focus_answer = 5;
  EXPECT_EQ(element.SendEvent(EXM_QUERYFOCUS, 3, 4), 5);
  ASSERT_EQ(element.received.size(), 1u);
  EXPECT_EQ(element.received[0].wparam, 3u);
  EXPECT_EQ(element.received[0].lparam, 4);
  EXPECT_EQ(seen, 1);
}

TEST_F(DispatchTest, PostEventArrivesWhenTheQueueIsHandled) {
  ProbeElement element;
  element.Create(host.window, MakeRectF(1, 1, 5, 5));
  element.received.clear();
  EXPECT_TRUE(element.PostEvent(EXM_CLICK, 1, 2));
  EXPECT_TRUE(element.PostEvent(EXM_MOUSELEAVE, 0, 0));
  EXPECT_TRUE(element.received.empty());
  host.Pump();
  EXPECT_EQ(element.Codes(), (std::vector<std::uint32_t>{EXM_CLICK, EXM_MOUSELEAVE}));
}

TEST_F(DispatchTest, EventsOfAnElementThatIsNotCreatedGoNowhere) {
  ProbeElement element;
  EXPECT_EQ(element.SendEvent(EXM_CLICK, 0, 0), 0);
  EXPECT_FALSE(element.PostEvent(EXM_CLICK, 0, 0));
  EXPECT_TRUE(element.received.empty());
}

TEST_F(DispatchTest, ElementTimersCarryTheHandleAsIdentifier) {
  ProbeElement element;
  element.Create(host.window, MakeRectF(1, 1, 5, 5));
  element.received.clear();
  SetElementTimer(host.window, &element, 30);
  host.Advance(30);
  host.Advance(30);
  ASSERT_EQ(element.Count(os::WM_TIMER), 2);
  EXPECT_EQ(element.received[0].wparam, reinterpret_cast<WPARAM>(&element));
  screen.desktop.kill_timer(host.window.window, reinterpret_cast<std::uintptr_t>(&element));
  host.Advance(30);
  EXPECT_EQ(element.Count(os::WM_TIMER), 2);
}

}  // namespace
}  // namespace directui

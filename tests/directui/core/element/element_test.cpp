#include <gtest/gtest.h>

#include "directui/core/element_kinds.h"
#include "test_host.h"

namespace directui {
namespace {

using element_testing::kBackground;
using element_testing::ProbeElement;
using element_testing::Screen;
using element_testing::TestHost;
namespace os = platform::os;

class ElementTest : public ::testing::Test {
 protected:
  Screen screen;
  TestHost host{screen, 100, 80};
};

TEST_F(ElementTest, CreationLinksPaintsAndComposes) {
  ProbeElement element(0xFF00FF00);
  Ex_Element* handle = element.Create(host.window, MakeRectF(10, 20, 30, 15),
                                      {.parent = HostWindow{}, .kind = kKindLabel, .focusable = 0});
  ASSERT_EQ(handle, &element);
  EXPECT_EQ(element.GetHandle(), &element);
  EXPECT_EQ(element.GetWindow(), host.window);
  EXPECT_EQ(element.GetParent(), nullptr);
  EXPECT_EQ(element.host, &host);
  EXPECT_EQ(host.first_root, &element);
  EXPECT_EQ(host.last_root, &element);
  EXPECT_EQ(element.alpha, 255);
  EXPECT_EQ(element.update_flag, 1);
  EXPECT_EQ(element.focusable, 0);
  EXPECT_EQ(element.kind, kKindLabel);
  EXPECT_EQ(element.canvas.width(), 30);
  EXPECT_EQ(element.canvas.height(), 15);
  EXPECT_EQ(element.Codes(), (std::vector<std::uint32_t>{os::WM_CREATE, os::WM_PAINT}));
  // WM_CREATE carries the canvas and its graphics.
  EXPECT_EQ(element.received[0].wparam, reinterpret_cast<WPARAM>(&element.canvas));
  EXPECT_EQ(element.received[0].lparam, reinterpret_cast<LPARAM>(element.canvas_graphics.get()));
  // The first paint reached the window at once.
  EXPECT_EQ(host.Shown(10, 20), 0xFF00FF00u);
  EXPECT_EQ(host.Shown(39, 34), 0xFF00FF00u);
  EXPECT_EQ(host.Shown(40, 34), kBackground);
}

TEST_F(ElementTest, FocusableDefaultsToOneWhenNotGiven) {
  ProbeElement element;
  element.Create(host.window, MakeRectF(0, 0, 5, 5));
  EXPECT_EQ(element.focusable, 1);
}

TEST_F(ElementTest, SecondCreationThroughTheSameHandleChangesNothing) {
  ProbeElement element;
  ASSERT_EQ(element.Create(host.window, MakeRectF(10, 10, 20, 20)), &element);
  ProbeElement other;
  other.Create(host.window, MakeRectF(0, 0, 5, 5));
  const std::size_t messages = element.received.size();

  EXPECT_EQ(
      element.Create(host.window, MakeRectF(50, 50, 8, 8), {.parent = HostWindow{}, .kind = 9}),
      &element);
  EXPECT_EQ(element.bounds, MakeRectF(10, 10, 20, 20));
  EXPECT_EQ(element.kind, 0);
  EXPECT_EQ(element.received.size(), messages);
  EXPECT_EQ(host.first_root, &element);
  EXPECT_EQ(host.last_root, &other);
  EXPECT_EQ(element.next_sibling, &other);
}

TEST_F(ElementTest, CreationIsRefusedWithoutAHostOrWithAParentOfAnotherHost) {
  ProbeElement nowhere;
  EXPECT_EQ(nowhere.Create(HostWindow{&screen.desktop, os::Window{12345}}, MakeRectF(0, 0, 5, 5)),
            nullptr);
  ProbeElement not_created;
  ProbeElement orphan;
  EXPECT_EQ(orphan.Create(&not_created, MakeRectF(0, 0, 5, 5)), nullptr);

  ProbeElement parent;
  parent.Create(host.window, MakeRectF(0, 0, 50, 50));
  // The window now names another host than the one the parent lives in.
  TestHost stranger(screen, 10, 10);
  screen.desktop.set_prop(host.window.window, kWindowHostProperty, stranger.self_handle);
  ProbeElement child;
  EXPECT_EQ(child.Create(&parent, MakeRectF(1, 1, 5, 5)), nullptr);
  EXPECT_EQ(child.handle, nullptr);
  EXPECT_TRUE(child.received.empty());
  EXPECT_EQ(parent.first_child, nullptr);
  EXPECT_TRUE(child.canvas.empty());

  // Refused once is not created: a later creation still works.
  screen.desktop.set_prop(host.window.window, kWindowHostProperty, host.self_handle);
  EXPECT_EQ(child.Create(&parent, MakeRectF(1, 1, 5, 5)), &child);
  EXPECT_EQ(parent.first_child, &child);
}

TEST_F(ElementTest, SetVisibleRaisesAnEventAndInvalidatesOnlyOnAChange) {
  struct Case {
    int initial;
    int given;
    std::vector<std::uint32_t> events;
    std::size_t invalidations;
  };
  const Case cases[] = {
      {1, 1, {}, 0},
      {0, 0, {}, 0},
      {1, 0, {EXM_HIDE}, 1},
      {0, 1, {EXM_SHOW}, 1},
  };
  for (const Case& c : cases) {
    ProbeElement element;
    element.Create(host.window, MakeRectF(5, 5, 10, 10),
                   {.parent = HostWindow{}, .visible = c.initial});
    host.Pump();
    element.received.clear();
    host.invalidated.clear();
    EXPECT_EQ(element.SetVisible(c.given), c.given);
    host.Pump();
    EXPECT_EQ(element.Codes(), c.events) << c.initial << " -> " << c.given;
    EXPECT_EQ(host.invalidated.size(), c.invalidations) << c.initial << " -> " << c.given;
    element.Destroy();
  }
}

TEST_F(ElementTest, HidingRecomposesTheAreaWithoutTheElement) {
  ProbeElement element(0xFFFFFFFF);
  element.Create(host.window, MakeRectF(5, 5, 10, 10));
  ASSERT_EQ(host.Shown(7, 7), 0xFFFFFFFFu);
  element.SetVisible(0);
  host.Pump();
  EXPECT_EQ(host.Shown(7, 7), kBackground);
}

TEST_F(ElementTest, DisablingTheFocusedElementClearsTheFocusThenDeliversKillFocusAndLeave) {
  ProbeElement element;
  element.Create(host.window, MakeRectF(5, 5, 10, 10));
  host.focused_element = &element;
  element.received.clear();

  EXPECT_EQ(element.SetDisabled(1), 1);
  EXPECT_EQ(host.focused_element, nullptr);
  host.Pump();
  EXPECT_EQ(element.Codes(),
            (std::vector<std::uint32_t>{EXM_QUERYFOCUS, EXM_KILLFOCUS, EXM_MOUSELEAVE}));

  // The same value again does nothing.
  element.received.clear();
  element.SetDisabled(1);
  host.Pump();
  EXPECT_TRUE(element.received.empty());
}

TEST_F(ElementTest, DisablingAnElementWithoutFocusOnlyDeliversLeave) {
  ProbeElement element;
  ProbeElement focused;
  element.Create(host.window, MakeRectF(5, 5, 10, 10));
  focused.Create(host.window, MakeRectF(20, 5, 10, 10));
  host.focused_element = &focused;
  element.received.clear();
  element.SetDisabled(1);
  host.Pump();
  EXPECT_EQ(host.focused_element, &focused);
  EXPECT_EQ(element.Codes(), (std::vector<std::uint32_t>{EXM_QUERYFOCUS, EXM_MOUSELEAVE}));
}

TEST_F(ElementTest, HasFocusAsksTheElementBeforeTheHost) {
  struct Case {
    LRESULT answer;
    bool host_focus;
    int expected;
  };
  const Case cases[] = {{-1, true, 1}, {-1, false, 0}, {1, false, 1}, {0, true, 0}, {7, true, 0}};
  for (const Case& c : cases) {
    ProbeElement element;
    element.Create(host.window, MakeRectF(5, 5, 10, 10));
    element.focus_answer = c.answer;
    host.focused_element = c.host_focus ? &element : nullptr;
    EXPECT_EQ(element.HasFocus(), c.expected) << c.answer << " " << c.host_focus;
    host.focused_element = nullptr;
    element.Destroy();
  }
}

TEST_F(ElementTest, MovingAParentShiftsEveryDescendantWithoutAMessage) {
  ProbeElement parent;
  ProbeElement child;
  ProbeElement grandchild;
  parent.Create(host.window, MakeRectF(10, 10, 60, 50));
  child.Create(&parent, MakeRectF(15, 20, 30, 20));
  grandchild.Create(&child, MakeRectF(20, 25, 5, 5));
  host.Pump();
  child.received.clear();
  grandchild.received.clear();
  parent.received.clear();
  const auto* canvas_pixels = parent.canvas.pixels();

  parent.Move({.x = 13, .y = 7});
  host.Pump();
  EXPECT_EQ(parent.bounds, MakeRectF(13, 7, 60, 50));
  EXPECT_EQ(parent.previous_bounds, MakeRectF(10, 10, 60, 50));
  EXPECT_EQ(child.bounds, MakeRectF(18, 17, 30, 20));
  EXPECT_EQ(grandchild.bounds, MakeRectF(23, 22, 5, 5));
  EXPECT_TRUE(child.received.empty());
  EXPECT_TRUE(grandchild.received.empty());
  // Same size: the canvas stays; the element only hears that its bounds changed.
  EXPECT_EQ(parent.canvas.pixels(), canvas_pixels);
  EXPECT_EQ(parent.Codes(), (std::vector<std::uint32_t>{EXM_BOUNDSCHANGED}));
  EXPECT_EQ(host.Shown(11, 57), kBackground);
  EXPECT_EQ(host.Shown(13, 7), 0xFFFF0000u);
}

TEST_F(ElementTest, ResizingRemakesTheCanvasAndRepaints) {
  ProbeElement element;
  element.Create(host.window, MakeRectF(10, 10, 20, 20));
  element.received.clear();
  element.Move({.width = 40, .height = 25});
  ASSERT_EQ(element.Codes(),
            (std::vector<std::uint32_t>{EXM_SIZE, os::WM_PAINT, EXM_BOUNDSCHANGED}));
  EXPECT_EQ(element.received[0].wparam, 40u);
  EXPECT_EQ(element.received[0].lparam, 25);
  EXPECT_EQ(element.canvas.width(), 40);
  EXPECT_EQ(element.canvas.height(), 25);
  EXPECT_EQ(host.Shown(49, 34), 0xFFFF0000u);
}

TEST_F(ElementTest, MoveKeepsCoordinatesNotGivenAsWholePixelsAndIgnoresNoChange) {
  ProbeElement element;
  element.Create(host.window, RectF{10.5f, 20.75f, 30, 15});
  element.Move({.x = 12});
  EXPECT_EQ(element.bounds, (RectF{12, 20, 30, 15}));

  element.received.clear();
  const int requests = host.bounds_requests;
  element.SetLeft(12);
  element.SetRect(RectF{12, 20, 30, 15});
  element.Move({});
  EXPECT_EQ(host.bounds_requests, requests);
  EXPECT_TRUE(element.received.empty());

  EXPECT_EQ(element.SetTop(3), 3);
  EXPECT_EQ(element.SetWidth(8), 8);
  EXPECT_EQ(element.SetHeight(9), 9);
  EXPECT_EQ(element.SetRect(), (RectF{12, 3, 8, 9}));
}

TEST_F(ElementTest, MoveAsksAgainWhileTheHostIsBusyAndHandlesMessagesMeanwhile) {
  ProbeElement element;
  element.Create(host.window, MakeRectF(10, 10, 20, 20));
  host.busy = 1;
  // Only a message the window's thread handles while Move waits can end the busy state.
  host.clear_busy_on = os::WM_USER + 5;
  screen.desktop.post_message(host.window.window, os::WM_USER + 5, 0, 0);
  element.received.clear();
  const int requests = host.bounds_requests;

  element.Move({.x = 30});
  EXPECT_EQ(host.busy, 0);
  EXPECT_EQ(host.bounds_requests - requests, 2);
  EXPECT_EQ(element.Count(EXM_BOUNDSCHANGED), 2);
  EXPECT_EQ(host.Shown(45, 15), 0xFFFF0000u);
  EXPECT_EQ(host.Shown(12, 15), kBackground);
}

TEST_F(ElementTest, MoveWithoutRedrawIsAnsweredAtOnceEvenWhenBusy) {
  ProbeElement element;
  element.Create(host.window, MakeRectF(10, 10, 20, 20));
  host.busy = 1;
  const int requests = host.bounds_requests;
  element.Move({.x = 30, .redraw = false});
  EXPECT_EQ(host.bounds_requests - requests, 1);
  EXPECT_EQ(element.bounds.x, 30);
}

TEST_F(ElementTest, AnUpdateFlagOfZeroKeepsPaintsInTheCanvas) {
  ProbeElement element(0xFF0000FF);
  element.Create(host.window, MakeRectF(10, 10, 20, 20));
  element.SuspendUpdates();
  host.invalidated.clear();
  element.colour = 0xFFFFFF00;
  element.Repaint();
  host.Pump();
  EXPECT_TRUE(host.invalidated.empty());
  EXPECT_EQ(element.canvas.get_pixel(5, 5), 0xFFFFFF00u);
  EXPECT_EQ(host.Shown(15, 15), 0xFF0000FFu);

  element.ResumeUpdates();
  element.Repaint();
  EXPECT_EQ(host.Shown(15, 15), 0xFFFFFF00u);
}

TEST_F(ElementTest, APaintWithoutUpdateOrOfAHiddenElementIsNotPushed) {
  ProbeElement element(0xFF0000FF);
  element.Create(host.window, MakeRectF(10, 10, 20, 20));
  host.invalidated.clear();
  element.Paint(false);
  element.visible = 0;
  element.Paint(true);
  host.Pump();
  EXPECT_TRUE(host.invalidated.empty());
}

TEST_F(ElementTest, DestroyTakesChildrenFirstAndReleasesEverything) {
  ProbeElement parent(0xFFFFFFFF);
  ProbeElement child;
  ProbeElement grandchild;
  ProbeElement sibling;
  parent.Create(host.window, MakeRectF(10, 10, 60, 50));
  child.Create(&parent, MakeRectF(15, 20, 30, 20));
  grandchild.Create(&child, MakeRectF(20, 25, 5, 5));
  sibling.Create(host.window, MakeRectF(80, 0, 5, 5));
  parent.BindEvent(os::WM_DESTROY, [](RoutineArg) { ADD_FAILURE() << "bound handler ran"; });
  host.focused_element = &child;
  host.hovered_element = &grandchild;
  host.pressed_element = &parent;
  host.pressed_state = 1;
  host.keyboard_focus_element = &child;
  std::vector<ProbeElement*> order;
  for (ProbeElement* e : {&parent, &child, &grandchild}) e->received.clear();

  parent.Destroy();
  EXPECT_EQ(grandchild.Codes(), (std::vector<std::uint32_t>{os::WM_DESTROY}));
  EXPECT_EQ(child.Codes(), (std::vector<std::uint32_t>{os::WM_DESTROY}));
  EXPECT_EQ(parent.Codes(), (std::vector<std::uint32_t>{os::WM_DESTROY}));
  for (ProbeElement* e : {&parent, &child, &grandchild}) {
    EXPECT_EQ(e->handle, nullptr);
    EXPECT_EQ(e->host, nullptr);
    EXPECT_TRUE(e->canvas.empty());
    EXPECT_TRUE(e->event_table.empty());
    EXPECT_EQ(e->bounds, RectF{});
  }
  EXPECT_EQ(host.first_root, &sibling);
  EXPECT_EQ(host.last_root, &sibling);
  EXPECT_EQ(sibling.previous_sibling, nullptr);
  EXPECT_EQ(host.focused_element, nullptr);
  EXPECT_EQ(host.hovered_element, nullptr);
  EXPECT_EQ(host.pressed_element, nullptr);
  EXPECT_EQ(host.pressed_state, 0);
  EXPECT_EQ(host.keyboard_focus_element, nullptr);

  // The area it covered is recomposed from its old bounds, though they are cleared now.
  host.Pump();
  EXPECT_EQ(host.Shown(12, 12), kBackground);

  // A destroyed element can be created again; destroying it twice does nothing.
  parent.Destroy();
  EXPECT_EQ(parent.Create(host.window, MakeRectF(1, 1, 4, 4)), &parent);
  EXPECT_EQ(host.last_root, &parent);
}

TEST_F(ElementTest, AnInvalidationPostedBeforeAMoveStillNamesTheAreaAtThatTime) {
  ProbeElement element(0xFFFFFFFF);
  element.Create(host.window, MakeRectF(10, 10, 20, 20));
  host.invalidated.clear();
  element.Invalidate();
  element.bounds = MakeRectF(50, 50, 5, 5);
  host.Pump();
  ASSERT_EQ(host.invalidated.size(), 1u);
  EXPECT_EQ(host.invalidated[0], MakeRectF(10, 10, 20, 20));
}

TEST_F(ElementTest, PropertiesAnswerTheirValueAndKeepItWhenNotGiven) {
  ProbeElement element;
  element.Create(host.window, MakeRectF(10, 10, 20, 20));
  EXPECT_EQ(element.SetTag("abc"), "abc");
  EXPECT_EQ(element.SetTag(), "abc");
  EXPECT_EQ(element.SetToolTip("tip"), "tip");
  EXPECT_EQ(element.SetToolTip(), "tip");
  EXPECT_EQ(element.SetCursor(os::CursorShape::hand), os::CursorShape::hand);
  EXPECT_EQ(element.SetCursor(), os::CursorShape::hand);
  EXPECT_EQ(element.SetFocusable(0), 0);
  EXPECT_EQ(element.SetFocusable(), 0);
  EXPECT_EQ(element.SetAnimation(4, 60), 4);
  EXPECT_EQ(element.SetAnimation(), 4);
  EXPECT_EQ(element.SetAnimationInterval(), 60);
  EXPECT_EQ(element.SetTransition(3), 3);
  EXPECT_EQ(element.SetTransition(), 3);
  EXPECT_EQ(element.GetSelf(), &element);

  element.received.clear();
  EXPECT_EQ(element.SetAlpha(100), 100);
  ASSERT_EQ(element.Count(EXM_ALPHACHANGED), 1);
  EXPECT_EQ(element.received[0].lparam, 100);
  EXPECT_EQ(element.SetAlpha(), 100);
  EXPECT_EQ(element.SetAlpha(300), 255);
}

TEST_F(ElementTest, ApplyingATooltipGoesToTheHost) {
  struct ToolTipHost : TestHost {
    using TestHost::TestHost;
    void SetElementToolTip(Ex_Element* element, const std::string* text) override {
      target = element;
      shown = text != nullptr ? *text : "(own)";
    }
    Ex_Element* target = nullptr;
    std::string shown;
  };
  ToolTipHost tip_host(screen, 40, 40);
  ProbeElement element;
  element.Create(tip_host.window, MakeRectF(1, 1, 5, 5));
  element.SetToolTip("stored only");
  EXPECT_EQ(tip_host.target, nullptr);
  element.SetToolTip("shown", true);
  EXPECT_EQ(tip_host.target, &element);
  EXPECT_EQ(tip_host.shown, "shown");
}

TEST_F(ElementTest, ReleasingACreatedElementLeavesTheHostWithoutReferencesToIt) {
  ProbeElement first;
  first.Create(host.window, MakeRectF(1, 1, 5, 5));
  ProbeElement child;
  {
    ProbeElement middle;
    middle.Create(host.window, MakeRectF(10, 1, 20, 20));
    child.Create(&middle, MakeRectF(11, 2, 5, 5));
    host.focused_element = &middle;
    middle.SetAnimation(4, 60);
    middle.Paint(true);
  }
  EXPECT_EQ(host.first_root, &first);
  EXPECT_EQ(host.last_root, &first);
  EXPECT_EQ(first.next_sibling, nullptr);
  EXPECT_EQ(host.focused_element, nullptr);
  EXPECT_EQ(child.parent, nullptr);
  // Its transition timer went with it.
  host.Advance(300);
}

}  // namespace
}  // namespace directui

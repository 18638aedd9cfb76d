// Windows as the X server shows them: geometry, decoration, title, icons, stacking, shapes.
#include <gmock/gmock.h>

#include <array>
#include <cstring>

#include "platform/os/x11/x11_fixture.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>

namespace x11_testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::Not;

class X11WindowTest : public X11Fixture {
 protected:
  std::vector<Rect> ShapeOf(Window window) const {
    int count = 0;
    int ordering = 0;
    XRectangle* boxes =
        XShapeGetRectangles(observer_->display(), Native(window), ShapeBounding, &count, &ordering);
    std::vector<Rect> rects;
    for (int i = 0; i < count; ++i) {
      rects.push_back(
          {boxes[i].x, boxes[i].y, boxes[i].x + boxes[i].width, boxes[i].y + boxes[i].height});
    }
    if (boxes != nullptr) XFree(boxes);
    return rects;
  }

  std::string Utf8Property(Window window, const char* name) const {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    std::string text;
    if (XGetWindowProperty(observer_->display(), Native(window), observer_->atom(name), 0, 1024,
                           False, observer_->atom("UTF8_STRING"), &type, &format, &count,
                           &remaining, &data) == Success &&
        data != nullptr) {
      text.assign(reinterpret_cast<const char*>(data), count);
      XFree(data);
    }
    return text;
  }
};

TEST_F(X11WindowTest, TopLevelIsMappedAtItsExactPositionAndSizeWithoutDecoration) {
  const Window window = Create({50, 50, 50 + 383, 50 + 343}, {.title = "收录量 查询"});

  const XWindowAttributes attributes = Attributes(window);
  EXPECT_EQ(attributes.map_state, IsViewable);
  EXPECT_EQ(attributes.border_width, 0);
  EXPECT_FALSE(attributes.override_redirect);
  EXPECT_EQ(RootGeometry(window), (Rect{50, 50, 433, 393}));
  // flags = decorations valid, decorations = none
  const std::vector<long> motif =
      observer_->Longs(Native(window), "_MOTIF_WM_HINTS", observer_->atom("_MOTIF_WM_HINTS"));
  ASSERT_EQ(motif.size(), 5u);
  EXPECT_EQ(motif[0] & 2, 2);
  EXPECT_EQ(motif[2], 0);
  EXPECT_EQ(Utf8Property(window, "_NET_WM_NAME"), "收录量 查询");
  XSizeHints hints{};
  long supplied = 0;
  ASSERT_TRUE(XGetWMNormalHints(observer_->display(), Native(window), &hints, &supplied));
  EXPECT_TRUE(hints.flags & USPosition);
  EXPECT_TRUE(hints.flags & USSize);
}

TEST_F(X11WindowTest, GeometryAndTitleFollowTheDesktop) {
  const Window window = Create({50, 50, 433, 393});
  backend_->set_geometry(window, {-7, -7, 1927, 1047});
  backend_->set_title(window, "第二个标题");
  Settle();
  EXPECT_EQ(RootGeometry(window), (Rect{-7, -7, 1927, 1047}));
  EXPECT_EQ(Utf8Property(window, "_NET_WM_NAME"), "第二个标题");
  EXPECT_TRUE(sink_.Of(FactKind::geometry).empty()) << "the desktop's own change was reported";
}

TEST_F(X11WindowTest, HidingUnmapsAndShowingMapsAgain) {
  const Window window = Create({50, 50, 250, 250});
  backend_->set_visible(window, false, false);
  Settle();
  EXPECT_EQ(Attributes(window).map_state, IsUnmapped);
  backend_->set_visible(window, true, false);
  Settle();
  EXPECT_EQ(Attributes(window).map_state, IsViewable);
}

TEST_F(X11WindowTest, MinimisingWithoutWindowManagerTakesTheWindowOffTheScreen) {
  const Window window = Create({50, 50, 250, 250});
  backend_->set_show_state(window, platform::os::NativeShowState::minimized);
  Settle();
  EXPECT_EQ(Attributes(window).map_state, IsUnmapped);
  backend_->set_show_state(window, platform::os::NativeShowState::normal);
  Settle();
  EXPECT_EQ(Attributes(window).map_state, IsViewable);
}

TEST_F(X11WindowTest, PopupIsOverrideRedirectAndStaysAboveItsOwner) {
  const Window owner = Create({50, 50, 433, 393});
  const Window menu = Create({100, 100, 220, 213}, {.owner = owner, .topmost = true, .menu = true});

  EXPECT_TRUE(Attributes(menu).override_redirect);
  EXPECT_FALSE(Attributes(owner).override_redirect);
  EXPECT_THAT(observer_->AtomList(Native(menu), "_NET_WM_WINDOW_TYPE"),
              ElementsAre(observer_->atom("_NET_WM_WINDOW_TYPE_POPUP_MENU")));
  ::Window transient_for = None;
  ASSERT_TRUE(XGetTransientForHint(observer_->display(), Native(menu), &transient_for));
  EXPECT_EQ(transient_for, Native(owner));

  backend_->restack(owner, {});  // the owner comes to the top of its band
  backend_->activate(owner);
  Settle();
  const std::vector<::Window> order = observer_->Stacking();
  const auto owner_at = std::find(order.begin(), order.end(), Native(owner));
  const auto menu_at = std::find(order.begin(), order.end(), Native(menu));
  ASSERT_NE(owner_at, order.end());
  ASSERT_NE(menu_at, order.end());
  EXPECT_GT(menu_at, owner_at);
}

TEST_F(X11WindowTest, RestackingPutsAWindowDirectlyBelowAnother) {
  const Window a = Create({50, 50, 250, 250});
  const Window b = Create({60, 60, 260, 260});
  const Window c = Create({70, 70, 270, 270});
  auto position = [&](Window window) {
    const std::vector<::Window> order = observer_->Stacking();  // bottom first
    return std::find(order.begin(), order.end(), Native(window)) - order.begin();
  };
  ASSERT_LT(position(a), position(b));
  ASSERT_LT(position(b), position(c));
  backend_->restack(c, a);
  Settle();
  EXPECT_EQ(position(c) + 1, position(a));
  EXPECT_GT(position(b), position(a));
  backend_->restack(a, {});
  Settle();
  EXPECT_GT(position(a), position(b));
  EXPECT_GT(position(a), position(c));
}

TEST_F(X11WindowTest, AlwaysOnTopSetsAndClearsTheAboveState) {
  const Window window = Create({50, 50, 433, 393});
  const Window other = Create({80, 80, 300, 300});
  const Atom above = observer_->atom("_NET_WM_STATE_ABOVE");

  backend_->set_topmost(window, true);
  backend_->restack(other, {});
  Settle();
  EXPECT_THAT(observer_->AtomList(Native(window), "_NET_WM_STATE"), Contains(above));
  const std::vector<::Window> order = observer_->Stacking();
  EXPECT_GT(std::find(order.begin(), order.end(), Native(window)),
            std::find(order.begin(), order.end(), Native(other)))
      << "a raised ordinary window went above the topmost one";

  backend_->set_topmost(window, false);
  Settle();
  EXPECT_THAT(observer_->AtomList(Native(window), "_NET_WM_STATE"), Not(Contains(above)));
}

TEST_F(X11WindowTest, AlwaysOnTopIsAskedOfARunningWindowManager) {
  const Window window = Create({50, 50, 433, 393});
  observer_->PretendWindowManager({"_NET_WM_STATE", "_NET_WM_STATE_ABOVE"});

  backend_->set_topmost(window, true);
  backend_->set_topmost(window, false);
  Settle();
  const std::vector<XClientMessageEvent> messages = observer_->TakeRootMessages();
  ASSERT_EQ(messages.size(), 2u);
  const Atom state = observer_->atom("_NET_WM_STATE");
  const Atom above = observer_->atom("_NET_WM_STATE_ABOVE");
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(messages[i].window, Native(window));
    EXPECT_EQ(messages[i].message_type, state);
    EXPECT_EQ(messages[i].data.l[0], i == 0 ? 1 : 0);  // add, then remove
    EXPECT_EQ(static_cast<Atom>(messages[i].data.l[1]), above);
  }
}

TEST_F(X11WindowTest, TopmostWindowCarriesTheAboveStateFromItsFirstMapping) {
  const Window window = Create({50, 50, 433, 393}, {.tool_window = true, .topmost = true});
  EXPECT_THAT(observer_->AtomList(Native(window), "_NET_WM_STATE"),
              ElementsAre(observer_->atom("_NET_WM_STATE_ABOVE"),
                          observer_->atom("_NET_WM_STATE_SKIP_TASKBAR")));
}

// The rounded region of a 383 x 343 window inset by 6 with corner 5, as y-x bands.
std::vector<Rect> RoundedRegion() {
  return {{8, 6, 376, 7}, {7, 7, 377, 8}, {6, 8, 378, 336}, {7, 336, 377, 337}, {8, 337, 376, 338}};
}

TEST_F(X11WindowTest, WindowRegionBecomesTheShapeRectangles) {
  const Window window = Create({50, 50, 433, 393});
  const std::vector<Rect> region = RoundedRegion();

  backend_->set_shape(window, std::span<const Rect>(region));
  Settle();
  EXPECT_THAT(ShapeOf(window), ElementsAreArray(region));

  backend_->set_shape(window, std::nullopt);
  Settle();
  EXPECT_THAT(ShapeOf(window), ElementsAre(Rect{0, 0, 383, 343}));

  backend_->set_shape(window, std::span<const Rect>());
  Settle();
  EXPECT_TRUE(ShapeOf(window).empty());
}

TEST_F(X11WindowTest, ShapeCutsThePointerOffTheRemovedCorners) {
  const Window window = Create({50, 50, 433, 393});
  const std::vector<Rect> region = RoundedRegion();
  backend_->set_shape(window, std::span<const Rect>(region));
  Settle();
  sink_.facts.clear();
  MovePointer(50 + 2, 50 + 2);  // cut away: the root gets this motion
  MovePointer(50 + 100, 50 + 100);
  const std::vector<Fact> moved = sink_.Of(FactKind::moved);
  ASSERT_FALSE(moved.empty());
  for (const Fact& fact : moved) EXPECT_EQ(fact.screen, (Point{150, 150}));
}

TEST_F(X11WindowTest, IconsAreStoredAsStraightAlphaEntries) {
  const Window window = Create({50, 50, 250, 250});
  // premultiplied: half-transparent red, opaque green, transparent, opaque blue
  const std::array<std::uint32_t, 4> big{0x80400000, 0xFF00FF00, 0x00000000, 0xFF0000FF};
  const std::array<std::uint32_t, 1> small{0xFFFFFFFF};
  backend_->set_icons(window, PixelView{big.data(), 2, 2, 8}, PixelView{small.data(), 1, 1, 4});
  Settle();
  std::vector<unsigned long> icon;
  for (long value : observer_->Longs(Native(window), "_NET_WM_ICON", XA_CARDINAL)) {
    icon.push_back(static_cast<unsigned long>(value) & 0xFFFFFFFFul);  // Xlib sign-extends
  }
  EXPECT_THAT(icon, ElementsAre(2, 2, 0x80800000, 0xFF00FF00, 0, 0xFF0000FF, 1, 1, 0xFFFFFFFF));

  backend_->set_icons(window, {}, {});
  Settle();
  EXPECT_TRUE(observer_->Longs(Native(window), "_NET_WM_ICON", XA_CARDINAL).empty());
}

TEST_F(X11WindowTest, CallsOnUnknownOrDestroyedWindowsDoNothing) {
  const Window window = Create({50, 50, 250, 250});
  const ::Window native = Native(window);
  backend_->destroy_window(window);
  Settle();
  EXPECT_FALSE(backend_->create_window(platform::os::kNoWindow, NativeWindowDescription()));
  backend_->set_geometry(window, {0, 0, 10, 10});
  backend_->set_visible(window, true, true);
  backend_->set_topmost(window, true);
  backend_->set_shape(window, std::nullopt);
  backend_->begin_move_size(window, platform::os::MoveSizeEdge::move, {0, 0});
  Settle();
  EXPECT_EQ(backend_->native_id(window), 0u);
  XWindowAttributes attributes{};
  EXPECT_EQ(XGetWindowAttributes(observer_->display(), native, &attributes), 0)
      << "the X window outlived its desktop window";
}

TEST_F(X11WindowTest, AWindowHandleCannotBeCreatedTwice) {
  const Window window = Create({50, 50, 250, 250});
  NativeWindowDescription description;
  description.bounds = {0, 0, 10, 10};
  EXPECT_FALSE(backend_->create_window(window, description));
  EXPECT_EQ(RootGeometry(window), (Rect{50, 50, 250, 250}));
}

}  // namespace
}  // namespace x11_testing

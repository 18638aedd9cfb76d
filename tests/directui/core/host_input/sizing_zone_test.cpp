// Edge sizing of the frameless window: the zones, their cursors and the system size loop.
#include "directui/core/sizing_zone.h"

#include "input_fixture.h"
#include "platform/os/cursors.h"

namespace directui::input_testing {
namespace {

using os::CursorShape;

struct ZoneCase {
  const char* name;
  int x;
  int y;
  SizingZone zone;
};

// A window of kWidth × kHeight; the right band starts at 374, the bottom one at 334.
const ZoneCase kZones[] = {
    {"TopLeftCorner", 9, 7, {4, CursorShape::size_nwse}},
    {"TopBand", 10, 7, {3, CursorShape::size_ns}},
    {"BelowTheTopBand", 10, 8, {0, CursorShape::none}},
    {"TopRightCorner", 374, 0, {5, CursorShape::size_nesw}},
    {"TopBeforeTheRightCorner", 373, 0, {3, CursorShape::size_ns}},
    {"LeftAt7", 7, 170, {1, CursorShape::size_we}},
    {"NoneAt9FromTheLeft", 9, 170, {0, CursorShape::none}},
    {"NoneAt8FromTheLeft", 8, 170, {0, CursorShape::none}},
    {"Right", 374, 170, {2, CursorShape::size_we}},
    {"NoneBeforeTheRightBand", 373, 170, {0, CursorShape::none}},
    {"BottomLeftCorner", 9, 334, {7, CursorShape::size_nesw}},
    {"LeftAboveTheBottomBand", 7, 333, {1, CursorShape::size_we}},
    {"Bottom", 10, 334, {6, CursorShape::size_ns}},
    {"BottomRightCorner", 374, 342, {8, CursorShape::size_nwse}},
    {"Middle", 190, 170, {0, CursorShape::none}},
};

class SizingZoneTable : public ::testing::TestWithParam<ZoneCase> {};

TEST_P(SizingZoneTable, ClassifiesThePoint) {
  const ZoneCase& c = GetParam();
  EXPECT_EQ(ClassifySizingZone(c.x, c.y, kWidth, kHeight), c.zone);
}

INSTANTIATE_TEST_SUITE_P(Zones, SizingZoneTable, ::testing::ValuesIn(kZones),
                         [](const auto& info) { return std::string(info.param.name); });

class SizingBorderTest : public InputTest {
 protected:
  void AttachSizable() { Attach({.caption_flags = 0, .sizable = 1}); }
  CursorShape CursorShown() { return display.window(window)->cursor; }
};

TEST_F(SizingBorderTest, PressInAZoneStartsTheSizeLoopWithItsEdge) {
  AttachSizable();
  Press(7, 170);
  EXPECT_EQ(ReachedCount(os::WM_SYSCOMMAND, os::SC_SIZE | os::WMSZ_LEFT), 1);
  EXPECT_EQ(ReachedCount(os::WM_NCLBUTTONDOWN), 0);
  reached.clear();
  // Outside the zones the press is an ordinary one: on bare background it drags.
  Press(9, 170);
  EXPECT_EQ(ReachedCount(os::WM_SYSCOMMAND, os::SC_SIZE | os::WMSZ_LEFT), 0);
  EXPECT_EQ(ReachedCount(os::WM_NCLBUTTONDOWN, static_cast<WPARAM>(os::HTCAPTION)), 1);
}

TEST_F(SizingBorderTest, AZoneTakesTheHoverAwayAndShowsItsCursor) {
  AttachSizable();
  Probe edge;
  ASSERT_NE(edge.Create(host.window, MakeRectF(0, 100, 50, 50)), nullptr);
  Move(20, 120);
  ASSERT_EQ(host.hovered_element, &edge);
  Move(3, 120);
  EXPECT_EQ(host.hovered_element, nullptr);
  ASSERT_TRUE(edge.Last(EXM_MOUSELEAVE));
  EXPECT_EQ(edge.Last(EXM_MOUSELEAVE)->lparam, 0);
  // The move went no further: the element never saw it.
  EXPECT_EQ(edge.Count(os::WM_MOUSEMOVE), 1);
  EXPECT_EQ(desktop.set_cursor(CursorShape::arrow), CursorShape::size_we);
}

struct BlockedCase {
  const char* name;
  bool sizable;
  bool maximised;
  bool pressed;
};

class SizingBlocked : public SizingBorderTest, public ::testing::WithParamInterface<BlockedCase> {};

TEST_P(SizingBlocked, NoZoneWithout) {
  const BlockedCase& c = GetParam();
  Attach({.caption_flags = 0, .sizable = c.sizable ? 1 : 0});
  if (c.maximised) desktop.show_window(window, os::SW_MAXIMIZE);
  Probe held;
  ASSERT_NE(held.Create(host.window, MakeRectF(100, 100, 50, 50)), nullptr);
  if (c.pressed) Press(110, 110);
  reached.clear();
  EXPECT_EQ(host.HandleSizingBorder(os::WM_LBUTTONDOWN, os::make_lparam(7, 170)), 0);
  EXPECT_EQ(ReachedCount(os::WM_SYSCOMMAND), 0);
}

INSTANTIATE_TEST_SUITE_P(Blocked, SizingBlocked,
                         ::testing::Values(BlockedCase{"NotSizable", false, false, false},
                                           BlockedCase{"Maximised", true, true, false},
                                           BlockedCase{"WhilePressed", true, false, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SizingBorderTest, OnlyMovesAndLeftPressesAsk) {
  AttachSizable();
  EXPECT_EQ(host.HandleSizingBorder(os::WM_MOUSEMOVE, os::make_lparam(7, 170)), 1);
  EXPECT_EQ(host.HandleSizingBorder(os::WM_RBUTTONDOWN, os::make_lparam(7, 170)), 0);
  EXPECT_EQ(host.HandleSizingBorder(os::WM_LBUTTONUP, os::make_lparam(7, 170)), 0);
}

TEST_F(SizingBorderTest, ThePointerRestingInAZoneKeepsTheSizingCursor) {
  AttachSizable();
  host.SetDefaultCursor(CursorShape::arrow);
  // The window's shape leaves its outer 6 pixels out: 7 is the first pixel the pointer reaches.
  PointerTo(7, 170);
  EXPECT_EQ(CursorShown(), CursorShape::size_we);
  // Nothing moved, but the system asks for the cursor again.
  desktop.send_message(window, os::WM_SETCURSOR, static_cast<WPARAM>(os::window_to_param(window)),
                       os::make_lparam(static_cast<int>(os::HTCLIENT), 0));
  EXPECT_EQ(CursorShown(), CursorShape::size_we);
  PointerTo(190, 335);
  EXPECT_EQ(CursorShown(), CursorShape::size_ns);
  PointerTo(190, 170);
  EXPECT_EQ(CursorShown(), CursorShape::arrow);
}

TEST_F(SizingBorderTest, DraggingTheLeftEdgeWidensTheWindow) {
  AttachSizable();
  PointerTo(7, 170);
  display.press();
  Pump();
  ASSERT_EQ(display.window(window)->move_size, os::MoveSizeEdge::left);
  PointerTo(-13, 170);
  display.release();
  Pump();
  const os::Rect bounds = desktop.window_rect(window);
  EXPECT_EQ(bounds.left, kOrigin.x - 20);
  EXPECT_EQ(bounds.width(), kWidth + 20);
  EXPECT_EQ(host.size.width, kWidth + 20);
}

}  // namespace
}  // namespace directui::input_testing

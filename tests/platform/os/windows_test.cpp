// Window lifetime, classes, procedures and their default handling, styles, geometry,
// properties and painting.

#include "desktop_fixture.h"
#include "platform/os/virtual_keys.h"

namespace platform::os::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class WindowsTest : public DesktopTest {};

TEST_F(WindowsTest, CreateSendsCreateWithTheParametersAndAnswerMinusOneFails) {
  set_handler([](Window, std::uint32_t m, WPARAM, LPARAM lp) -> std::optional<LRESULT> {
    if (m != WM_CREATE) return std::nullopt;
    auto* cs = reinterpret_cast<const CreateStruct*>(lp);
    return cs->create_param == 13 ? -1 : 0;
  });
  Window ok = desktop.create_window({.class_name = kPlainClass,
                                     .position = Point{5, 6},
                                     .size = Size{70, 80},
                                     .create_param = 1});
  ASSERT_TRUE(ok);
  EXPECT_EQ(desktop.window_rect(ok), (Rect{5, 6, 75, 86}));
  EXPECT_EQ(desktop.client_rect(ok), (Rect{0, 0, 70, 80}));
  Window refused = desktop.create_window({.class_name = kPlainClass, .create_param = 13});
  EXPECT_FALSE(refused);
  EXPECT_EQ(log.count(WM_DESTROY), 1);  // the refused one went again
  EXPECT_FALSE(desktop.create_window({.class_name = "no such class"}));
}

TEST_F(WindowsTest, ClassNamesAreUnique) {
  EXPECT_FALSE(desktop.register_class({.name = kPlainClass}));
  EXPECT_FALSE(desktop.register_class({.name = ""}));
  EXPECT_TRUE(desktop.register_class({.name = "other"}));
  Window w = make_window({0, 0, 10, 10}, {.class_name = "other"});
  EXPECT_FALSE(desktop.unregister_class("other"));  // still used
  desktop.destroy_window(w);
  EXPECT_TRUE(desktop.unregister_class("other"));
}

TEST_F(WindowsTest, HandlesAreNeverReused) {
  Window first = make_window({0, 0, 10, 10});
  desktop.destroy_window(first);
  Window second = make_window({0, 0, 10, 10});
  EXPECT_NE(first, second);
  EXPECT_FALSE(desktop.is_window(first));
  EXPECT_TRUE(desktop.is_window(second));
}

TEST_F(WindowsTest, OwnedWindowsAreDestroyedWithTheirOwnerBeforeIt) {
  Window owner = make_window({0, 0, 100, 100});
  Window child = make_window({10, 10, 50, 50}, {.owner = owner});
  Window grandchild = make_window({20, 20, 40, 40}, {.owner = child});
  Window sibling = make_window({60, 10, 90, 50}, {.owner = owner});
  Window stranger = make_window({200, 0, 300, 100});
  desktop.post_message(child, WM_USER, 0, 0);
  take_all();
  log.clear();
  ASSERT_TRUE(desktop.destroy_window(owner));
  std::vector<Window> destroyed;
  for (const Recorded& r : log.of({WM_DESTROY})) destroyed.push_back(r.window);
  EXPECT_THAT(destroyed, ElementsAre(grandchild, child, sibling, owner));
  for (Window w : {owner, child, grandchild, sibling}) {
    EXPECT_FALSE(desktop.is_window(w));
    EXPECT_FALSE(display.window(w).has_value());
  }
  EXPECT_TRUE(desktop.is_window(stranger));
  EXPECT_EQ(desktop.stacking(), std::vector<Window>{stranger});
}

TEST_F(WindowsTest, ADeadHandleIsHarmlessEverywhere) {
  Window w = make_window({0, 0, 10, 10});
  desktop.destroy_window(w);
  EXPECT_FALSE(desktop.destroy_window(w));
  EXPECT_FALSE(desktop.set_prop(w, "x", 1));
  EXPECT_EQ(desktop.get_prop(w, "x"), 0);
  EXPECT_EQ(desktop.send_message(w, WM_USER, 0, 0), 0);
  EXPECT_FALSE(desktop.post_message(w, WM_USER, 0, 0));
  EXPECT_EQ(desktop.window_rect(w), Rect{});
  EXPECT_EQ(desktop.style(w), 0u);
  EXPECT_FALSE(desktop.show_window(w, SW_SHOW));
  EXPECT_FALSE(desktop.set_window_pos(w, InsertAfter::top(), {0, 0, 5, 5}, 0));
  EXPECT_EQ(desktop.set_timer(w, 1, 10), 0u);
  EXPECT_FALSE(desktop.set_capture(w));
  EXPECT_FALSE(desktop.set_window_text(w, u"x"));
  EXPECT_FALSE(desktop.invalidate_rect(w));
  EXPECT_FALSE(desktop.window_proc(w));
  EXPECT_EQ(desktop.def_window_proc(w, WM_CLOSE, 0, 0), 0);
  EXPECT_FALSE(desktop.is_window(Window{}));
}

TEST_F(WindowsTest, PropertiesAreNamedPerWindow) {
  Window a = make_window({0, 0, 10, 10});
  Window b = make_window({0, 0, 10, 10});
  EXPECT_TRUE(desktop.set_prop(a, "Ex_Wnd_Control", 0x1234));
  EXPECT_TRUE(desktop.set_prop(b, "Ex_Wnd_Control", -5));
  EXPECT_TRUE(desktop.set_prop(a, "Ex_DirectUI_Sub", 77));
  EXPECT_EQ(desktop.get_prop(a, "Ex_Wnd_Control"), 0x1234);
  EXPECT_EQ(desktop.get_prop(b, "Ex_Wnd_Control"), -5);
  EXPECT_EQ(desktop.get_prop(a, "ex_wnd_control"), 0);  // names are exact
  EXPECT_EQ(desktop.get_prop(b, "Ex_DirectUI_Sub"), 0);
  EXPECT_TRUE(desktop.set_prop(a, "Ex_Wnd_Control", 9));  // replaces
  EXPECT_EQ(desktop.get_prop(a, "Ex_Wnd_Control"), 9);
  EXPECT_EQ(desktop.remove_prop(a, "Ex_Wnd_Control"), 9);
  EXPECT_EQ(desktop.get_prop(a, "Ex_Wnd_Control"), 0);
  EXPECT_EQ(desktop.remove_prop(a, "Ex_Wnd_Control"), 0);
  EXPECT_EQ(desktop.get_prop(a, "Ex_DirectUI_Sub"), 77);
  EXPECT_FALSE(desktop.set_prop(a, "", 1));
}

TEST_F(WindowsTest, ASubclassSeesMessagesFirstAndPassesTheRestOn) {
  Window w = make_window({0, 0, 10, 10});
  std::vector<std::uint32_t> seen_by_subclass;
  WindowProc previous;
  previous =
      desktop.set_window_proc(w, [&](Window win, std::uint32_t m, WPARAM wp, LPARAM lp) -> LRESULT {
        seen_by_subclass.push_back(m);
        if (m == WM_USER) return 5;
        return desktop.call_window_proc(previous, win, m, wp, lp);
      });
  ASSERT_TRUE(previous);
  log.clear();
  EXPECT_EQ(desktop.send_message(w, WM_USER, 0, 0), 5);
  desktop.send_message(w, WM_USER + 1, 0, 0);
  EXPECT_THAT(seen_by_subclass, ElementsAre(WM_USER, WM_USER + 1));
  EXPECT_EQ(log.count(WM_USER), 0);
  EXPECT_EQ(log.count(WM_USER + 1), 1);  // the class procedure got what was passed on
  // Putting the old one back ends the subclass.
  desktop.set_window_proc(w, previous);
  desktop.send_message(w, WM_USER, 0, 0);
  EXPECT_EQ(seen_by_subclass.size(), 2u);
  EXPECT_EQ(log.count(WM_USER), 1);
}

TEST_F(WindowsTest, CloseDestroysByDefault) {
  Window w = make_window({0, 0, 10, 10});
  desktop.post_message(w, WM_CLOSE, 0, 0);
  pump();
  EXPECT_FALSE(desktop.is_window(w));
}

TEST_F(WindowsTest, SetTextStoresItAndTitlesTheNativeWindow) {
  Window w = make_window({0, 0, 10, 10});
  EXPECT_TRUE(desktop.set_window_text(w, u"收录量"));
  EXPECT_EQ(desktop.window_text(w), u"收录量");
  EXPECT_EQ(display.window(w)->title, "收录量");
  char16_t buffer[3];
  EXPECT_EQ(desktop.send_message(w, WM_GETTEXT, 3, reinterpret_cast<LPARAM>(buffer)), 2);
  EXPECT_EQ(std::u16string(buffer), u"收录");
  EXPECT_EQ(desktop.send_message(w, WM_GETTEXTLENGTH, 0, 0), 3);
}

TEST_F(WindowsTest, IconsAreSetPerSizeAndTheClassKeepsItsOwn) {
  auto class_icon = std::make_shared<const Icon>(Icon{1, 1, {0xFF00FF00}});
  desktop.register_class({.name = "iconic", .icon = class_icon});
  Window w = make_window({0, 0, 10, 10}, {.class_name = "iconic"});
  Icon big{2, 1, {0xFFFF0000, 0xFF0000FF}};
  Icon small{1, 1, {0x80800000}};
  EXPECT_EQ(desktop.send_message(w, WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_EQ(desktop.class_icon(w, true), class_icon);
  EXPECT_EQ(desktop.send_message(w, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(&big)), 0);
  desktop.send_message(w, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(&small));
  EXPECT_EQ(desktop.send_message(w, WM_GETICON, ICON_BIG, 0), reinterpret_cast<LRESULT>(&big));
  EXPECT_EQ(desktop.send_message(w, WM_GETICON, ICON_SMALL, 0), reinterpret_cast<LRESULT>(&small));
  EXPECT_EQ(display.window(w)->big_icon.pixels, big.pixels);
  EXPECT_EQ(display.window(w)->small_icon.pixels, small.pixels);
  // Setting again answers the previous one.
  EXPECT_EQ(desktop.send_message(w, WM_SETICON, ICON_BIG, 0), reinterpret_cast<LRESULT>(&big));
}

TEST_F(WindowsTest, StyleChangesAreAnnouncedWithOldAndNewValues) {
  Window w = make_window({0, 0, 10, 10}, {.style = WS_POPUP | WS_THICKFRAME});
  std::vector<std::pair<std::uint32_t, std::uint32_t>> changes;
  set_handler([&](Window, std::uint32_t m, WPARAM wp, LPARAM lp) -> std::optional<LRESULT> {
    if (m == WM_STYLECHANGED && wp == static_cast<WPARAM>(GWL_STYLE)) {
      auto* c = reinterpret_cast<const StyleChange*>(lp);
      changes.emplace_back(c->old_style, c->new_style);
    }
    return std::nullopt;
  });
  std::uint32_t before = desktop.style(w);
  EXPECT_EQ(before, WS_POPUP | WS_THICKFRAME | WS_VISIBLE);
  EXPECT_EQ(desktop.set_style(w, WS_POPUP | WS_SYSMENU), before);
  // The visible bit follows the window's state, not the call.
  EXPECT_EQ(desktop.style(w), WS_POPUP | WS_SYSMENU | WS_VISIBLE);
  desktop.set_style(w, WS_POPUP | WS_SYSMENU);  // no change, no message
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0], std::make_pair(before, WS_POPUP | WS_SYSMENU | WS_VISIBLE));
}

TEST_F(WindowsTest, ExtendedStyleSwitchesLayeringAndTopmostAtOnce) {
  Window w = make_window({0, 0, 10, 10});
  Window other = make_window({0, 0, 10, 10});
  ASSERT_EQ(display.stacking().front(), other);
  desktop.set_ex_style(w, WS_EX_LAYERED | WS_EX_TOPMOST);
  EXPECT_TRUE(display.window(w)->layered);
  EXPECT_TRUE(display.window(w)->topmost);
  EXPECT_EQ(display.stacking().front(), w);
  // A topmost window stays above others even when they are activated.
  desktop.set_foreground_window(other);
  EXPECT_EQ(desktop.stacking().front(), w);
  EXPECT_EQ(display.stacking().front(), w);
  desktop.set_ex_style(w, 0);
  EXPECT_FALSE(display.window(w)->layered);
  EXPECT_FALSE(display.window(w)->topmost);
}

TEST_F(WindowsTest, SetWindowPosMovesSizesAndStacks) {
  Window a = make_window({0, 0, 10, 10});
  Window b = make_window({0, 0, 10, 10});
  Window c = make_window({0, 0, 10, 10});
  ASSERT_EQ(desktop.stacking(), (std::vector<Window>{c, b, a}));
  log.clear();
  desktop.set_window_pos(a, InsertAfter::top(), {30, 40, 130, 90}, SWP_NOACTIVATE);
  EXPECT_EQ(desktop.window_rect(a), (Rect{30, 40, 130, 90}));
  EXPECT_EQ(display.window(a)->bounds, (Rect{30, 40, 130, 90}));
  EXPECT_EQ(desktop.stacking(), (std::vector<Window>{a, c, b}));
  EXPECT_EQ(display.stacking(), (std::vector<Window>{a, c, b}));
  std::vector<Recorded> sizes = log.of({WM_SIZE});
  ASSERT_EQ(sizes.size(), 1u);
  EXPECT_EQ(sizes[0].lparam, make_lparam(100, 50));
  EXPECT_EQ(log.count(WM_MOVE, a), 1);

  desktop.set_window_pos(a, InsertAfter::below(b), {0, 0, 1, 1},
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(desktop.stacking(), (std::vector<Window>{c, b, a}));
  EXPECT_EQ(desktop.window_rect(a), (Rect{30, 40, 130, 90}));
  desktop.set_window_pos(c, InsertAfter::bottom(), {}, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(desktop.stacking(), (std::vector<Window>{b, a, c}));
  desktop.set_window_pos(c, InsertAfter::topmost(), {}, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_TRUE(desktop.ex_style(c) & WS_EX_TOPMOST);
  EXPECT_TRUE(display.window(c)->topmost);
  EXPECT_EQ(desktop.stacking().front(), c);
  desktop.set_window_pos(c, InsertAfter::notopmost(), {}, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_FALSE(desktop.ex_style(c) & WS_EX_TOPMOST);
  EXPECT_FALSE(display.window(c)->topmost);
}

TEST_F(WindowsTest, OwnedWindowsStayAboveTheirOwner) {
  Window owner = make_window({0, 0, 10, 10});
  Window owned = make_window({0, 0, 10, 10}, {.owner = owner});
  Window other = make_window({0, 0, 10, 10});
  desktop.set_foreground_window(owner);
  EXPECT_EQ(desktop.stacking(), (std::vector<Window>{owned, owner, other}));
  EXPECT_EQ(display.stacking(), (std::vector<Window>{owned, owner, other}));
}

TEST_F(WindowsTest, ShowAndHide) {
  Window w = make_window({0, 0, 10, 10}, {.show = false});
  EXPECT_FALSE(desktop.is_visible(w));
  EXPECT_FALSE(display.window(w)->visible);
  EXPECT_FALSE(desktop.show_window(w, SW_SHOWNA));
  EXPECT_TRUE(desktop.is_visible(w));
  EXPECT_TRUE(display.window(w)->visible);
  EXPECT_NE(desktop.active_window(), w);  // shown without activation
  EXPECT_TRUE(desktop.show_window(w, SW_SHOW));
  EXPECT_EQ(desktop.active_window(), w);
  EXPECT_TRUE(desktop.show_window(w, SW_HIDE));
  EXPECT_FALSE(display.window(w)->visible);
  EXPECT_FALSE(desktop.active_window());
  EXPECT_FALSE(desktop.show_window(w, SW_HIDE));
}

TEST_F(WindowsTest, HidingTheActiveWindowActivatesItsOwner) {
  Window owner = make_window({0, 0, 10, 10});
  Window menu = make_window({0, 0, 10, 10}, {.owner = owner});
  ASSERT_EQ(desktop.active_window(), menu);
  desktop.show_window(menu, SW_HIDE);
  EXPECT_EQ(desktop.active_window(), owner);
  EXPECT_EQ(desktop.focus(), owner);
}

TEST_F(WindowsTest, MaximiseAsksForMinMaxInfoAndRestoreGoesBack) {
  Window w = make_window({100, 100, 483, 400}, {.style = WS_POPUP | WS_MAXIMIZEBOX});
  std::optional<MinMaxInfo> defaults;
  set_handler([&](Window, std::uint32_t m, WPARAM, LPARAM lp) -> std::optional<LRESULT> {
    if (m != WM_GETMINMAXINFO) return std::nullopt;
    auto* info = reinterpret_cast<MinMaxInfo*>(lp);
    defaults = *info;
    // The frameless host's answer: the shadow margin hangs off the work area.
    info->max_size = {info->max_size.x + 14, info->max_size.y + 14};
    info->max_position = {info->max_position.x - 7, info->max_position.y - 7};
    return 0;
  });
  log.clear();
  desktop.send_message(w, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  ASSERT_TRUE(defaults);
  EXPECT_EQ(defaults->max_size, (Point{1920, 1040}));
  EXPECT_EQ(defaults->max_position, (Point{0, 0}));
  EXPECT_TRUE(desktop.is_zoomed(w));
  EXPECT_TRUE(desktop.style(w) & WS_MAXIMIZE);
  EXPECT_EQ(desktop.window_rect(w), (Rect{-7, -7, 1927, 1047}));
  EXPECT_EQ(display.window(w)->bounds, (Rect{-7, -7, 1927, 1047}));
  std::vector<Recorded> sizes = log.of({WM_SIZE});
  ASSERT_EQ(sizes.size(), 1u);
  EXPECT_EQ(sizes[0].wparam, SIZE_MAXIMIZED);
  EXPECT_EQ(sizes[0].lparam, make_lparam(1934, 1054));

  log.clear();
  desktop.send_message(w, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(desktop.is_zoomed(w));
  EXPECT_EQ(desktop.window_rect(w), (Rect{100, 100, 483, 400}));
  sizes = log.of({WM_SIZE});
  ASSERT_EQ(sizes.size(), 1u);
  EXPECT_EQ(sizes[0].wparam, SIZE_RESTORED);
}

TEST_F(WindowsTest, MinimiseAndRestore) {
  Window w = make_window({0, 0, 50, 50});
  log.clear();
  desktop.send_message(w, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(desktop.is_iconic(w));
  EXPECT_EQ(display.window(w)->show_state, NativeShowState::minimized);
  EXPECT_FALSE(desktop.active_window());
  std::vector<Recorded> sizes = log.of({WM_SIZE});
  ASSERT_EQ(sizes.size(), 1u);
  EXPECT_EQ(sizes[0].wparam, SIZE_MINIMIZED);
  desktop.send_message(w, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(desktop.is_iconic(w));
  EXPECT_EQ(display.window(w)->show_state, NativeShowState::normal);
  EXPECT_EQ(desktop.active_window(), w);
}

TEST_F(WindowsTest, CaptionPressStartsASystemMoveThatFollowsThePointer) {
  Window w = make_window({100, 100, 300, 200});
  display.move_pointer({150, 110});
  display.press();
  pump();
  log.clear();
  desktop.send_message(w, WM_NCLBUTTONDOWN, static_cast<WPARAM>(HTCAPTION), 0);
  EXPECT_EQ(display.window(w)->move_size, MoveSizeEdge::move);
  EXPECT_EQ(log.count(WM_ENTERSIZEMOVE, w), 1);
  display.move_pointer({180, 150});
  EXPECT_EQ(desktop.window_rect(w), (Rect{130, 140, 330, 240}));
  std::vector<Recorded> moves = log.of({WM_MOVE});
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(moves[0].lparam, make_lparam(130, 140));
  display.release();
  pump();
  EXPECT_FALSE(display.window(w)->move_size);
  EXPECT_EQ(log.count(WM_EXITSIZEMOVE, w), 1);
  // The window manager had the button: no release reaches the window.
  EXPECT_EQ(log.count(WM_LBUTTONUP), 0);
  EXPECT_GE(desktop.key_state(VK_LBUTTON), 0);
}

TEST_F(WindowsTest, ASystemMoveWithoutAHeldButtonEndsAtOnce) {
  Window w = make_window({100, 100, 300, 200});
  log.clear();
  desktop.send_message(w, WM_SYSCOMMAND, SC_MOVE | 2, 0);
  pump();
  EXPECT_EQ(log.count(WM_EXITSIZEMOVE, w), 1);
  EXPECT_EQ(desktop.window_rect(w), (Rect{100, 100, 300, 200}));
}

TEST_F(WindowsTest, EdgeSizingKeepsTheMinimumTrackSize) {
  Window w = make_window({100, 100, 300, 200}, {.style = WS_POPUP | WS_THICKFRAME});
  set_handler([&](Window, std::uint32_t m, WPARAM, LPARAM lp) -> std::optional<LRESULT> {
    if (m != WM_GETMINMAXINFO) return std::nullopt;
    reinterpret_cast<MinMaxInfo*>(lp)->min_track_size = {120, 38};
    return 0;
  });
  display.move_pointer({100, 150});
  display.press();
  pump();
  desktop.send_message(w, WM_SYSCOMMAND, SC_SIZE | WMSZ_LEFT, 0);
  EXPECT_EQ(display.window(w)->move_size, MoveSizeEdge::left);
  display.move_pointer({60, 150});
  EXPECT_EQ(desktop.window_rect(w), (Rect{60, 100, 300, 200}));
  display.move_pointer({250, 150});  // would leave 50 pixels
  EXPECT_EQ(desktop.window_rect(w), (Rect{180, 100, 300, 200}));
  EXPECT_EQ(display.window(w)->bounds, (Rect{180, 100, 300, 200}));
  display.release();
}

TEST_F(WindowsTest, SizingBorderHitsMapToTheirEdges) {
  Window w = make_window({100, 100, 300, 200});
  display.move_pointer({299, 199});
  display.press();
  pump();
  desktop.send_message(w, WM_NCLBUTTONDOWN, static_cast<WPARAM>(HTBOTTOMRIGHT), 0);
  EXPECT_EQ(display.window(w)->move_size, MoveSizeEdge::bottom_right);
  display.release();
}

TEST_F(WindowsTest, AMaximisedWindowDoesNotMove) {
  Window w = make_window({100, 100, 300, 200});
  desktop.show_window(w, SW_MAXIMIZE);
  display.press();
  desktop.send_message(w, WM_NCLBUTTONDOWN, static_cast<WPARAM>(HTCAPTION), 0);
  EXPECT_FALSE(display.window(w)->move_size);
  display.release();
}

TEST_F(WindowsTest, WindowFromPointHonoursStackingVisibilityAndRegions) {
  Window bottom = make_window({0, 0, 100, 100});
  Window top = make_window({50, 50, 150, 150});
  EXPECT_EQ(desktop.window_from_point({60, 60}), top);
  EXPECT_EQ(desktop.window_from_point({10, 10}), bottom);
  EXPECT_FALSE(desktop.window_from_point({500, 500}));
  // Only the top-left quarter of `top` is left.
  desktop.set_window_region(top, std::vector<Rect>{{0, 0, 20, 20}});
  EXPECT_EQ(desktop.window_from_point({60, 60}), top);
  EXPECT_EQ(desktop.window_from_point({90, 90}), bottom);
  EXPECT_EQ(display.window_at({90, 90}), bottom);
  ASSERT_TRUE(display.window(top)->shape);
  EXPECT_THAT(*display.window(top)->shape, ElementsAre(Rect{0, 0, 20, 20}));
  desktop.set_window_region(top, std::nullopt);
  EXPECT_EQ(desktop.window_from_point({90, 90}), top);
  EXPECT_FALSE(display.window(top)->shape);
  desktop.show_window(top, SW_HIDE);
  EXPECT_EQ(desktop.window_from_point({60, 60}), bottom);
}

TEST_F(WindowsTest, PaintComesWhenNothingElseIsQueuedUntilValidated) {
  Window w = make_window({0, 0, 100, 100});
  take_all();
  desktop.invalidate_rect(w, Rect{10, 10, 20, 20});
  desktop.invalidate_rect(w, Rect{50, 50, 60, 70});
  desktop.post_message(w, WM_USER, 0, 0);
  Message m;
  ASSERT_TRUE(desktop.peek_message(m, {}, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, WM_USER);
  ASSERT_TRUE(desktop.peek_message(m, {}, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, WM_PAINT);
  // Taking WM_PAINT does not validate; painting does.
  ASSERT_TRUE(desktop.peek_message(m, {}, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, WM_PAINT);
  EXPECT_EQ(desktop.begin_paint(w), (Rect{10, 10, 60, 70}));
  EXPECT_FALSE(desktop.peek_message(m, {}, 0, 0, PM_REMOVE));
}

TEST_F(WindowsTest, DefaultPaintHandlingValidates) {
  Window w = make_window({0, 0, 100, 100});
  pump();
  log.clear();
  desktop.invalidate_rect(w);
  pump();
  EXPECT_EQ(log.count(WM_PAINT, w), 1);
  EXPECT_EQ(desktop.update_rect(w), Rect{});
}

TEST_F(WindowsTest, UpdateWindowPaintsAtOnce) {
  Window w = make_window({0, 0, 100, 100});
  pump();
  log.clear();
  desktop.invalidate_rect(w);
  desktop.update_window(w);
  EXPECT_EQ(log.count(WM_PAINT, w), 1);
  EXPECT_THAT(take(WM_PAINT), IsEmpty());
}

TEST_F(WindowsTest, ExposedAreasAreRepainted) {
  Window w = make_window({0, 0, 100, 100});
  take_all();
  display.expose(w, {5, 5, 10, 10});
  EXPECT_EQ(desktop.update_rect(w), (Rect{5, 5, 10, 10}));
}

TEST_F(WindowsTest, ACloseRequestFromTheDisplayClosesTheWindow) {
  Window w = make_window({0, 0, 100, 100});
  display.request_close(w);
  pump();
  EXPECT_EQ(log.count(WM_CLOSE, w), 1);
  EXPECT_FALSE(desktop.is_window(w));
}

TEST_F(WindowsTest, AltF4AsksToClose) {
  Window w = make_window({0, 0, 100, 100});
  display.press_key(VK_MENU);
  display.type_key(VK_F1 + 3);
  display.release_key(VK_MENU);
  pump();
  EXPECT_FALSE(desktop.is_window(w));
}

TEST_F(WindowsTest, DesktopFactsComeFromTheDisplay) {
  EXPECT_EQ(desktop.screen_size(), (Size{1920, 1080}));
  EXPECT_EQ(desktop.work_area(), (Rect{0, 0, 1920, 1040}));
  EXPECT_EQ(desktop.metrics().double_click_ms, 500);
  SystemMetrics m;
  m.caption_font = "Caption Face";
  m.menu_font = "Menu Face";
  display.set_metrics(m);
  EXPECT_EQ(desktop.system_ui_font(UiFont::caption), "Caption Face");
  EXPECT_EQ(desktop.system_ui_font(UiFont::menu), "Menu Face");
}

}  // namespace
}  // namespace platform::os::testing

// Binding a host to a window: options, caption flags and elements, the frame taken off, and
// undoing it all again.
#include <gmock/gmock.h>

#include "directui/core/ansi_text.h"
#include "directui/core/tooltip_window.h"
#include "directui/core/window_host_lookup.h"
#include "host_fixture.h"

namespace directui::host_testing {
namespace {

using ::testing::ElementsAre;

std::vector<std::uint32_t> ButtonCodes(const Ex_Host& host) {
  std::vector<std::uint32_t> codes;
  for (const auto& b : host.caption_buttons) codes.push_back(static_cast<CaptionProbe&>(*b).code);
  return codes;
}

std::vector<float> ButtonXs(const Ex_Host& host) {
  std::vector<float> xs;
  for (const auto& b : host.caption_buttons) xs.push_back(b->bounds.x);
  return xs;
}

TEST_F(HostTest, AttachRefusesMissingDeadAndAlreadyBoundWindows) {
  Ex_Host host;
  EXPECT_EQ(host.Attach(desktop, os::Window{}), 0);
  const os::Window gone = MakeWindow();
  desktop.destroy_window(gone);
  EXPECT_EQ(host.Attach(desktop, gone), 0);
  EXPECT_FALSE(host.attached());

  const os::Window w = MakeWindow(os::WS_VISIBLE | os::WS_MINIMIZEBOX);
  ASSERT_EQ(host.Attach(desktop, w, {.caption_flags = 276}), 1);
  const std::uint32_t style = desktop.style(w);
  const std::uint32_t flags = host.caption_flags;
  const std::intptr_t property = desktop.get_prop(w, kWindowHostProperty);
  Ex_Element* first = host.first_root;

  EXPECT_EQ(host.Attach(desktop, w, {.caption_flags = 0, .frame_style = 0}), 0);
  EXPECT_EQ(desktop.style(w), style);
  EXPECT_EQ(host.caption_flags, flags);
  EXPECT_EQ(host.frame_style, 7);
  EXPECT_EQ(desktop.get_prop(w, kWindowHostProperty), property);
  EXPECT_EQ(host.first_root, first);
  // Still one takeover: a message passes through the host once.
  reached.clear();
  desktop.send_message(w, os::WM_USER + 7, 0, 0);
  EXPECT_EQ(ReachedCount(os::WM_USER + 7), 1);

  // Nor may a second host take the same window.
  Ex_Host other;
  EXPECT_EQ(other.Attach(desktop, w), 0);
  EXPECT_EQ(GetWindowHost(desktop, w), host.self_handle);
}

struct CaptionCase {
  const char* name;
  std::uint32_t style;
  std::optional<std::uint32_t> flags;
  std::uint32_t expected_flags;
  std::vector<std::uint32_t> buttons;
  std::uint32_t boxes_left;  // minimise and maximise boxes the style keeps
};

class CaptionFlagsTest : public HostTest, public ::testing::WithParamInterface<CaptionCase> {};

TEST_P(CaptionFlagsTest, FlagsButtonsAndStyle) {
  const CaptionCase& c = GetParam();
  CaptionStandIns stand_ins;
  Ex_Host host;
  const os::Window w = MakeWindow(os::WS_VISIBLE | c.style);
  ASSERT_EQ(host.Attach(desktop, w, {.caption_flags = c.flags}), 1);
  EXPECT_EQ(host.caption_flags, c.expected_flags);
  EXPECT_EQ(ButtonCodes(host), c.buttons);
  const std::uint32_t style = desktop.style(w);
  EXPECT_EQ(style & (os::WS_MINIMIZEBOX | os::WS_MAXIMIZEBOX), c.boxes_left);
  EXPECT_NE(style & os::WS_POPUP, 0u);
  EXPECT_EQ(style & (os::WS_DLGFRAME | os::WS_BORDER), 0u);
  EXPECT_EQ((style & os::WS_SYSMENU) != 0, c.flags != std::optional<std::uint32_t>(0));
}

INSTANTIATE_TEST_SUITE_P(
    Attach, CaptionFlagsTest,
    ::testing::Values(
        CaptionCase{"AutoWithMinimiseBoxOnly",
                    os::WS_MINIMIZEBOX,
                    std::nullopt,
                    1 + 2 + 4 + 16 + 512,
                    {CF_CLOSE, CF_MINIMIZE},
                    os::WS_MINIMIZEBOX},
        CaptionCase{"SettingsMinimiseClose",
                    os::WS_MINIMIZEBOX | os::WS_MAXIMIZEBOX,
                    276,
                    788,
                    {CF_CLOSE, CF_MINIMIZE, CF_SETTINGS},
                    os::WS_MINIMIZEBOX},
        CaptionCase{"NoneGivenStillShadow", os::WS_MINIMIZEBOX | os::WS_MAXIMIZEBOX, 0, 512, {}, 0},
        CaptionCase{"AutoPlusSettings",
                    os::WS_MINIMIZEBOX | os::WS_MAXIMIZEBOX,
                    CF_AUTO | CF_SETTINGS,
                    1024 + 256 + 512 + 1 + 2 + 4 + 8 + 16,
                    {CF_CLOSE, CF_MAXIMIZE, CF_MINIMIZE, CF_SETTINGS},
                    os::WS_MINIMIZEBOX | os::WS_MAXIMIZEBOX}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HostTest, CaptionButtonsAreCreatedFromTheRightAndLaidOutBesideTheClose) {
  CaptionStandIns stand_ins;
  Ex_Host host;
  const os::Window w = MakeWindow(os::WS_VISIBLE | os::WS_MINIMIZEBOX);
  ASSERT_EQ(host.Attach(desktop, w, {.caption_flags = 276}), 1);
  // Created at 332 (close, 39 wide), 304 and 276; the layout that follows moves them.
  EXPECT_THAT(ButtonXs(host), ElementsAre(338, 310, 282));
  for (const auto& b : host.caption_buttons) EXPECT_EQ(b->bounds.y, 7);
  EXPECT_EQ(host.caption_buttons[0]->bounds.width, 39);
  EXPECT_EQ(host.caption_buttons[1]->bounds.width, 28);
  EXPECT_EQ(host.caption_buttons[0]->bounds.height, 19);
}

TEST_F(HostTest, TitleFollowsTheIconAndStopsAtTheButtons) {
  CaptionStandIns stand_ins;
  Ex_Host host;
  const os::Window w = MakeWindow(os::WS_VISIBLE | os::WS_MINIMIZEBOX);
  ASSERT_EQ(host.Attach(desktop, w), 1);
  ASSERT_NE(host.title_label, nullptr);
  ASSERT_NE(host.icon_picture, nullptr);
  auto& title = static_cast<CaptionProbe&>(*host.title_label);
  EXPECT_EQ(title.text, WideToAnsi(u"收录"));
  // Two buttons: 378 - 12 - 2 × 28 = 310 is where the title must end.
  EXPECT_EQ(title.bounds.x, 28);
  EXPECT_EQ(title.bounds.y, 10);
  EXPECT_EQ(title.bounds.width, 310 - 28);
  EXPECT_EQ(title.bounds.height, 20);
  EXPECT_EQ(host.icon_picture->bounds.x, 11);
  EXPECT_EQ(host.icon_picture->bounds.y, 11);
  EXPECT_EQ(host.icon_picture->focusable, 0);

  // Without an icon the title starts at 11.
  Ex_Host second;
  const os::Window v = MakeWindow(os::WS_VISIBLE);
  ASSERT_EQ(second.Attach(desktop, v, {.caption_flags = CF_TITLE | CF_CLOSE}), 1);
  EXPECT_EQ(second.title_label->bounds.x, 11);
  EXPECT_EQ(second.title_label->bounds.width, 378 - 12 - 28 - 11);
}

TEST_F(HostTest, MissingCaptionClassesGiveNoCaptionElements) {
  CaptionStandIns nothing(false, false, false);
  Ex_Host host;
  const os::Window w = MakeWindow();
  ASSERT_EQ(host.Attach(desktop, w), 1);
  EXPECT_TRUE(host.caption_buttons.empty());
  EXPECT_EQ(host.title_label, nullptr);
  EXPECT_EQ(host.icon_picture, nullptr);
  EXPECT_EQ(host.first_root, nullptr);
  // The title still has nothing to follow: setting a text works as before.
  EXPECT_TRUE(desktop.set_window_text(w, u"新"));
  EXPECT_EQ(desktop.window_text(w), u"新");
}

TEST_F(HostTest, OptionsGivenAndLeftOut) {
  Ex_Host plain;
  const os::Window w = MakeWindow(os::WS_VISIBLE | os::WS_THICKFRAME);
  ASSERT_EQ(plain.Attach(desktop, w, {.caption_flags = 0}), 1);
  EXPECT_EQ(plain.window_alpha, -1);
  EXPECT_EQ(plain.image_mode, 0);
  EXPECT_EQ(plain.frame_style, 7);
  EXPECT_EQ(plain.drag_move, 1);
  EXPECT_EQ(plain.edge_blend, 1);
  EXPECT_EQ(plain.blur_behind, 0);
  EXPECT_EQ(plain.sizable, 1);  // from WS_THICKFRAME, which comes back after the takeover
  EXPECT_NE(desktop.style(w) & os::WS_THICKFRAME, 0u);
  EXPECT_EQ(desktop.ex_style(w) & os::WS_EX_LAYERED, 0u);

  Ex_Host given;
  const os::Window v = MakeWindow(os::WS_VISIBLE | os::WS_THICKFRAME);
  ASSERT_EQ(given.Attach(desktop, v,
                         {.caption_flags = 0,
                          .window_alpha = 0,
                          .image_mode = 0,
                          .frame_style = 0,
                          .sizable = 0,
                          .drag_move = 0,
                          .edge_blend = 0,
                          .blur_behind = 1,
                          .nine_grid_centre = os::Rect{1, 2, 3, 4}}),
            1);
  EXPECT_EQ(given.window_alpha, 0);  // a given 0 is a layered window drawn see-through
  EXPECT_NE(desktop.ex_style(v) & os::WS_EX_LAYERED, 0u);
  EXPECT_EQ(given.frame_style, 0);
  EXPECT_EQ(given.sizable, 0);
  EXPECT_EQ(desktop.style(v) & os::WS_THICKFRAME, 0u);
  EXPECT_EQ(given.drag_move, 0);
  EXPECT_EQ(given.edge_blend, 0);
  EXPECT_EQ(given.blur_behind, 1);
  EXPECT_EQ(given.nine_grid_centre, (os::Rect{1, 2, 3, 4}));
  EXPECT_EQ(given.size, (os::Size{kWidth, kHeight}));
  EXPECT_EQ(given.offscreen.width(), kWidth);
  EXPECT_EQ(given.background.height(), kHeight);
  EXPECT_TRUE(desktop.is_window(given.tooltip_window));
  EXPECT_EQ(given.tooltip.window, v);
  EXPECT_EQ(desktop.get_prop(given.tooltip_window, kToolTipMaxWidthProperty), 1024);
}

TEST_F(HostTest, BlurBehindNeedsALayeredWindow) {
  Ex_Host host;
  const os::Window w = MakeWindow();
  ASSERT_EQ(host.Attach(desktop, w, {.caption_flags = 0, .blur_behind = 1}), 1);
  EXPECT_EQ(host.blur_behind, 0);
}

TEST_F(HostTest, DetachUndoesTheTakeoverAndTheHostCanBindAgain) {
  CaptionStandIns stand_ins;
  Ex_Host host;
  const os::Window w = MakeWindow(os::WS_VISIBLE | os::WS_MINIMIZEBOX);
  ASSERT_EQ(host.Attach(desktop, w), 1);
  Probe probe;
  ASSERT_NE(probe.Create(host.window, MakeRectF(40, 40, 20, 20)), nullptr);
  const os::Window tooltip = host.tooltip_window;
  host.SetHotkey(&probe, 'q');

  host.Detach();
  EXPECT_FALSE(host.attached());
  EXPECT_EQ(desktop.get_prop(w, kWindowHostProperty), 0);
  EXPECT_EQ(host.first_root, nullptr);
  EXPECT_EQ(probe.handle, nullptr);  // destroyed with the host's tree
  EXPECT_TRUE(host.caption_buttons.empty());
  EXPECT_TRUE(host.hotkeys.empty());
  EXPECT_EQ(host.caption_flags, 0u);
  EXPECT_TRUE(host.offscreen.empty());
  EXPECT_FALSE(desktop.is_window(tooltip));
  // The window's own procedure answers again.
  os::MinMaxInfo info{};
  desktop.send_message(w, os::WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_NE(info.max_size.x, 1934);

  EXPECT_EQ(host.Attach(desktop, w), 1);
  EXPECT_EQ(GetWindowHost(desktop, w), host.self_handle);
}

TEST_F(HostTest, DestroyingTheWindowDetachesAndStillReachesItsProcedure) {
  Ex_Host host;
  const os::Window w = MakeWindow();
  ASSERT_EQ(host.Attach(desktop, w), 1);
  reached.clear();
  desktop.destroy_window(w);
  EXPECT_FALSE(host.attached());
  EXPECT_EQ(ReachedCount(os::WM_DESTROY), 1);
}

}  // namespace
}  // namespace directui::host_testing

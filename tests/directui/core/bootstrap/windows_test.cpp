#include <gtest/gtest.h>

#include "directui/core/framework_globals.h"
#include "directui/core/popup_window.h"
#include "directui/core/window_class_registration.h"
#include "directui/core/window_host_lookup.h"
#include "directui/core/window_icons.h"
#include "directui/core/work_area.h"
#include "headless_desktop.h"

namespace directui {
namespace {

using platform::os::Icon;
using platform::os::Rect;
using platform::os::Window;
using testing::HeadlessDesktop;

platform::os::headless::HeadlessOptions WithWorkArea(Rect area) {
  platform::os::headless::HeadlessOptions options;
  options.work_area = area;
  return options;
}

class WindowsTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::ResetFrameworkGlobals(); }
  void TearDown() override { testing::ResetFrameworkGlobals(); }
};

TEST_F(WindowsTest, GetWindowHostReadsTheHostAddressFromTheWindowProperty) {
  struct StandInHost {
    int marker = 7;
  } host;
  HeadlessDesktop screen;
  ASSERT_TRUE(RegisterWindowClass(screen.desktop));
  const Window window = CreatePopupWindow(screen.desktop, {});
  ASSERT_TRUE(window);
  EXPECT_EQ(GetWindowHost(screen.desktop, window), 0);

  screen.desktop.set_prop(window, "Ex_Wnd_Control", reinterpret_cast<std::intptr_t>(&host));
  EXPECT_EQ(GetWindowHost(screen.desktop, window), reinterpret_cast<std::intptr_t>(&host));
  EXPECT_EQ(GetWindowHostObject<StandInHost>(screen.desktop, window), &host);

  screen.desktop.set_prop(window, "Ex_Wnd_Other", 99);
  EXPECT_EQ(GetWindowHostObject<StandInHost>(screen.desktop, window), &host);
  screen.desktop.destroy_window(window);
  EXPECT_EQ(GetWindowHost(screen.desktop, window), 0);
  EXPECT_EQ(GetWindowHost(screen.desktop, Window{}), 0);
}

TEST_F(WindowsTest, CreatePopupWindowDefaultsSizeAndCentresOnTheWorkArea) {
  struct Case {
    const char* name;
    Rect work_area;
    PopupWindowParams params;
    Rect expected;
  };
  const Case cases[] = {
      {"nothing given", {0, 0, 1920, 1040}, {}, {770, 395, 1150, 645}},
      {"width without height is 250 high",
       {0, 0, 1920, 1040},
       {.width = 500},
       {710, 395, 1210, 645}},
      {"height without width is 380 wide",
       {0, 0, 1920, 1040},
       {.height = 100},
       {770, 470, 1150, 570}},
      {"a given 0 is not an omitted size",
       {0, 0, 1920, 1040},
       {.width = 0, .height = 0},
       {960, 520, 960, 520}},
      {"work area after a left and top panel",
       {100, 40, 1920, 1080},
       {.width = 300, .height = 200},
       {860, 460, 1160, 660}},
      {"odd room truncates toward zero",
       {0, 0, 1001, 1001},
       {.width = 380, .height = 250},
       {310, 375, 690, 625}},
      {"wider than the work area",
       {0, 0, 1001, 1001},
       {.width = 1200, .height = 1300},
       {-99, -149, 1101, 1151}},
      {"position given",
       {0, 0, 1920, 1040},
       {.x = 3, .y = -4, .width = 10, .height = 20},
       {3, -4, 13, 16}},
      {"only x given", {0, 0, 1920, 1040}, {.x = 3}, {3, 395, 383, 645}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HeadlessDesktop screen(WithWorkArea(c.work_area));
    ASSERT_TRUE(RegisterWindowClass(screen.desktop));
    const Window window = CreatePopupWindow(screen.desktop, c.params);
    ASSERT_TRUE(window);
    EXPECT_EQ(screen.desktop.window_rect(window), c.expected);
  }
}

TEST_F(WindowsTest, CreatePopupWindowSetsStylesTitleOwnerIconsAndShowing) {
  HeadlessDesktop screen;
  ASSERT_TRUE(RegisterWindowClass(screen.desktop));
  const Window owner = CreatePopupWindow(screen.desktop, {.show = true});
  ASSERT_TRUE(owner);
  EXPECT_TRUE(screen.desktop.is_visible(owner));
  EXPECT_EQ(screen.desktop.style(owner) & ~platform::os::WS_VISIBLE, kPopupDefaultStyle);
  // Explicit icons: the class has only a big one, which stands in for the small one.
  ASSERT_TRUE(ClassIcon);
  EXPECT_EQ(screen.desktop.window_icon(owner, true), ClassIcon.get());
  EXPECT_EQ(screen.desktop.window_icon(owner, false), ClassIcon.get());
  EXPECT_EQ(screen.display.window(owner)->big_icon.width, ClassIcon->width);

  const Window menu =
      CreatePopupWindow(screen.desktop, {.parent = owner,
                                         .title = "Ex_DirectUI_Menu\xB2\xCB\xB5\xA5",  // 菜单
                                         .style = platform::os::WS_POPUP,
                                         .ex_style = 0x88});
  ASSERT_TRUE(menu);
  EXPECT_FALSE(screen.desktop.is_visible(menu));
  EXPECT_EQ(screen.desktop.style(menu), platform::os::WS_POPUP);
  EXPECT_EQ(screen.desktop.ex_style(menu), 0x88u);
  EXPECT_EQ(screen.desktop.owner(menu), owner);
  EXPECT_EQ(screen.desktop.window_text(menu), u"Ex_DirectUI_Menu菜单");

  EXPECT_FALSE(CreatePopupWindow(screen.desktop, {.class_name = "No_Such_Class"}));
}

TEST_F(WindowsTest, GetWindowIconPrefersTheWindowsOwnIconsToItsClasss) {
  HeadlessDesktop screen;
  const auto big = std::make_shared<Icon>(Icon{2, 2, {1, 2, 3, 4}});
  const auto small = std::make_shared<Icon>(Icon{1, 1, {9}});
  ASSERT_TRUE(RegisterWindowClass(screen.desktop, {.class_name = "Plain", .icon = big}));
  EXPECT_EQ(ClassIcon, big);
  platform::os::CreateWindowParams create;
  create.class_name = "Plain";
  create.size = platform::os::Size{5, 5};
  const Window window = screen.desktop.create_window(create);
  ASSERT_TRUE(window);
  EXPECT_EQ(GetWindowIcon(screen.desktop, window, true), big.get());
  EXPECT_EQ(GetWindowIcon(screen.desktop, window, false), big.get());

  screen.desktop.send_message(window, platform::os::WM_SETICON, platform::os::ICON_SMALL,
                              reinterpret_cast<platform::os::LPARAM>(small.get()));
  EXPECT_EQ(GetWindowIcon(screen.desktop, window, false), small.get());
  EXPECT_EQ(GetWindowIcon(screen.desktop, window, true), big.get());
  EXPECT_EQ(GetWindowIcon(screen.desktop, Window{}, true), nullptr);
}

TEST_F(WindowsTest, RegisterWindowClassFillsWhatIsNotGiven) {
  HeadlessDesktop screen;
  DefaultCursor = platform::os::CursorShape::hand;
  ASSERT_TRUE(RegisterWindowClass(screen.desktop));
  EXPECT_FALSE(RegisterWindowClass(screen.desktop)) << "the name is taken";
  ASSERT_TRUE(ClassIcon);
  EXPECT_EQ(ClassIcon->width, 48);
  EXPECT_FALSE(ClassIcon->empty());

  const Window plain = CreatePopupWindow(screen.desktop, {});
  EXPECT_EQ(screen.desktop.class_style(plain), platform::os::CS_DBLCLKS);
  ASSERT_TRUE(RegisterWindowClass(screen.desktop, {.class_name = "Styled", .style = 0}));
  EXPECT_EQ(screen.desktop.class_style(CreatePopupWindow(screen.desktop, {.class_name = "Styled"})),
            0u)
      << "a given 0 is not an omitted style";
}

TEST_F(WindowsTest, GetWorkAreaGivesLeftTopWidthHeight) {
  HeadlessDesktop screen(WithWorkArea({100, 40, 1920, 1080}));
  EXPECT_EQ(GetWorkArea(screen.desktop), (WorkArea{100, 40, 1820, 1040}));
  HeadlessDesktop none(WithWorkArea({}));
  EXPECT_EQ(GetWorkArea(none.desktop), WorkArea{});
}

}  // namespace
}  // namespace directui

// Keyboard input: Tab over the root elements, Enter and Space clicking the focused element,
// and mnemonics.
#include <gmock/gmock.h>

#include "input_fixture.h"
#include "platform/os/virtual_keys.h"

namespace directui::input_testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class KeyboardTest : public InputTest {
 protected:
  void Tab() { Key(os::WM_KEYDOWN, os::VK_TAB); }
};

TEST_F(KeyboardTest, TabCyclesOverTheRootElementsThatCanTakeTheFocus) {
  Attach();
  Probe label, first, hidden, disabled, caption, last;
  ASSERT_NE(label.Create(host.window, MakeRectF(0, 0, 10, 10), 3, 0), nullptr);
  ASSERT_NE(first.Create(host.window, MakeRectF(10, 0, 10, 10), 2), nullptr);
  ASSERT_NE(hidden.Create(host.window, MakeRectF(20, 0, 10, 10), 2), nullptr);
  ASSERT_NE(disabled.Create(host.window, MakeRectF(30, 0, 10, 10), 2), nullptr);
  ASSERT_NE(caption.Create(host.window, MakeRectF(40, 0, 10, 10), 1), nullptr);
  ASSERT_NE(last.Create(host.window, MakeRectF(50, 0, 10, 10), 8), nullptr);
  hidden.visible = 0;
  disabled.disabled = 1;
  std::vector<Ex_Element*> order;
  for (int i = 0; i < 4; ++i) {
    Tab();
    order.push_back(host.focused_element);
  }
  EXPECT_THAT(order, ElementsAre(&first, &last, &first, &last));
  EXPECT_EQ(host.keyboard_focus_element, &last);
  EXPECT_EQ(first.Count(EXM_KILLFOCUS), 2);
  EXPECT_EQ(last.Last(EXM_SETFOCUS)->lparam, Arg(&first));
  // Keyboard focus calls no focus or blur routine.
  EXPECT_THAT(notified, IsEmpty());
}

TEST_F(KeyboardTest, TabWithNoFocusableRootElementChangesNothing) {
  Attach();
  Probe panel, inner, caption;
  ASSERT_NE(panel.Create(host.window, MakeRectF(0, 0, 100, 100), 16, 0), nullptr);
  ASSERT_NE(inner.Create(&panel, MakeRectF(10, 10, 10, 10), 2), nullptr);
  ASSERT_NE(caption.Create(host.window, MakeRectF(40, 0, 10, 10), 1), nullptr);
  Tab();
  EXPECT_EQ(host.focused_element, nullptr);
  // From a focused child the search goes round the roots once and gives up.
  host.SetFocusElement(&inner);
  Tab();
  EXPECT_EQ(host.focused_element, &inner);
  EXPECT_EQ(inner.Count(EXM_KILLFOCUS), 0);
}

TEST_F(KeyboardTest, TabFromAFocusedChildGoesToTheNextRootElement) {
  Attach();
  Probe panel, inner, button;
  ASSERT_NE(panel.Create(host.window, MakeRectF(0, 0, 100, 100), 16, 0), nullptr);
  ASSERT_NE(inner.Create(&panel, MakeRectF(10, 10, 10, 10), 2), nullptr);
  ASSERT_NE(button.Create(host.window, MakeRectF(140, 0, 10, 10), 2), nullptr);
  host.SetFocusElement(&inner);
  Tab();
  EXPECT_EQ(host.focused_element, &button);
}

TEST_F(KeyboardTest, TabWithNothingFocusedCanLandOnTheFirstRootElement) {
  Attach();
  Probe only;
  ASSERT_NE(only.Create(host.window, MakeRectF(0, 0, 10, 10), 2), nullptr);
  Tab();
  EXPECT_EQ(host.focused_element, &only);
}

TEST_F(KeyboardTest, AFocusedElementThatTakesTheKeyKeepsIt) {
  Attach();
  Probe list, button;
  ASSERT_NE(list.Create(host.window, MakeRectF(0, 0, 10, 10), 8), nullptr);
  ASSERT_NE(button.Create(host.window, MakeRectF(10, 0, 10, 10), 2), nullptr);
  host.SetFocusElement(&list);
  list.key_answer = 0;
  Tab();
  Key(os::WM_KEYDOWN, os::VK_RETURN);
  EXPECT_EQ(host.focused_element, &list);
  EXPECT_EQ(list.Count(EXM_CLICK), 0);
  EXPECT_EQ(list.Count(os::WM_KEYDOWN), 2);
}

struct ClickKeyCase {
  const char* name;
  unsigned key;
  bool disabled;
  bool clicks;
};

class ClickKeys : public KeyboardTest, public ::testing::WithParamInterface<ClickKeyCase> {};

TEST_P(ClickKeys, ClickTheFocusedElement) {
  const ClickKeyCase& c = GetParam();
  Attach();
  Probe button;
  ASSERT_NE(button.Create(host.window, MakeRectF(0, 0, 10, 10), 2), nullptr);
  host.SetFocusElement(&button);
  button.disabled = c.disabled ? 1 : 0;
  Key(os::WM_KEYDOWN, c.key);
  EXPECT_EQ(button.Count(EXM_CLICK), c.clicks ? 1 : 0);
  if (c.clicks) {
    EXPECT_EQ(button.Last(EXM_CLICK)->wparam, 0u);
    EXPECT_THAT(notified, ElementsAre(Expected("click", &button, 0, 0)));
  } else {
    EXPECT_THAT(notified, IsEmpty());
  }
}

INSTANTIATE_TEST_SUITE_P(Keys, ClickKeys,
                         ::testing::Values(ClickKeyCase{"Enter", os::VK_RETURN, false, true},
                                           ClickKeyCase{"Space", os::VK_SPACE, false, true},
                                           ClickKeyCase{"OtherKey", 'A', false, false},
                                           ClickKeyCase{"Disabled", os::VK_SPACE, true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(KeyboardTest, EnterWithNothingFocusedClicksNothing) {
  Attach();
  Key(os::WM_KEYDOWN, os::VK_RETURN);
  EXPECT_THAT(notified, IsEmpty());
}

struct MnemonicCase {
  const char* name;
  std::uint32_t registered;
  WPARAM typed;
};

class Mnemonics : public KeyboardTest, public ::testing::WithParamInterface<MnemonicCase> {};

TEST_P(Mnemonics, AltAndTheLetterFireTheElementWhateverTheCase) {
  const MnemonicCase& c = GetParam();
  Attach();
  Probe start;
  ASSERT_NE(start.Create(host.window, MakeRectF(0, 0, 10, 10), 2), nullptr);
  ASSERT_EQ(desktop.send_message(window, EXM_SETHOTKEY, start.HandleParam(), c.registered), 1);
  const LPARAM alt = 1 << 29;
  Key(os::WM_SYSCHAR, c.typed, alt);
  EXPECT_EQ(start.Count(EXM_CLICK), 1);
  EXPECT_THAT(notified,
              ElementsAre(Expected("click", &start, static_cast<RoutineArg>(c.typed), alt)));
  // A fired mnemonic is not passed on.
  EXPECT_EQ(ReachedCount(os::WM_SYSCHAR), 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, Mnemonics,
                         ::testing::Values(MnemonicCase{"LowerTypedLower", 'q', 'q'},
                                           MnemonicCase{"LowerTypedUpper", 'q', 'Q'},
                                           MnemonicCase{"UpperTypedLower", 'Q', 'q'}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(KeyboardTest, AltQFromTheKeyboardFiresTheElement) {
  Attach();
  Probe start;
  ASSERT_NE(start.Create(host.window, MakeRectF(0, 0, 10, 10), 2), nullptr);
  host.SetHotkey(&start, 'q');
  display.give_focus(window);
  Pump();
  display.press_key(os::VK_MENU);
  display.type_key('Q', "q");
  display.release_key(os::VK_MENU);
  Pump();
  EXPECT_EQ(start.Count(EXM_CLICK), 1);
}

TEST_F(KeyboardTest, AHiddenOrDisabledMatchIsSkipped) {
  Attach();
  Probe hidden, disabled, shown;
  ASSERT_NE(hidden.Create(host.window, MakeRectF(0, 0, 10, 10), 2), nullptr);
  ASSERT_NE(disabled.Create(host.window, MakeRectF(10, 0, 10, 10), 2), nullptr);
  ASSERT_NE(shown.Create(host.window, MakeRectF(20, 0, 10, 10), 2), nullptr);
  host.SetHotkey(&hidden, 's');
  host.SetHotkey(&disabled, 's');
  host.SetHotkey(&shown, 's');
  hidden.visible = 0;
  disabled.disabled = 1;
  Key(os::WM_SYSCHAR, 's');
  EXPECT_EQ(hidden.Count(EXM_CLICK), 0);
  EXPECT_EQ(disabled.Count(EXM_CLICK), 0);
  EXPECT_EQ(shown.Count(EXM_CLICK), 1);
  // No match at all: the character goes on to the window.
  Key(os::WM_SYSCHAR, 'x');
  EXPECT_EQ(ReachedCount(os::WM_SYSCHAR), 1);
  EXPECT_EQ(shown.Count(EXM_CLICK), 1);
}

}  // namespace
}  // namespace directui::input_testing

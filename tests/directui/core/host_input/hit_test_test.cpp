// Which element the mouse is over: painting order, nesting, hidden and disabled elements.
#include "input_fixture.h"

namespace directui::input_testing {
namespace {

// A panel with a child and a grandchild, and a sibling painted after the panel that overlaps
// the child.
class HitTest : public InputTest {
 protected:
  void SetUp() override {
    Attach();
    ASSERT_NE(panel.Create(host.window, MakeRectF(0, 0, 200, 200)), nullptr);
    ASSERT_NE(child.Create(&panel, MakeRectF(10, 10, 50, 50)), nullptr);
    ASSERT_NE(grandchild.Create(&child, MakeRectF(20, 20, 10, 10)), nullptr);
    ASSERT_NE(sibling.Create(host.window, MakeRectF(40, 40, 100, 100)), nullptr);
  }

  Ex_Element* Under(int x, int y) {
    Move(x, y);
    return host.hovered_element;
  }

  Probe panel, child, grandchild, sibling;
};

TEST_F(HitTest, TheDeepestElementOnTopTakesThePoint) {
  struct Case {
    int x, y;
    Ex_Element* expected;
  };
  const Case cases[] = {
      {25, 25, &grandchild},  // inside all three nested elements
      {30, 30, &child},       // just past the grandchild's right and bottom edge
      {15, 15, &child},      {45, 45, &sibling},  // the sibling painted later covers the child
      {139, 139, &sibling},  {140, 140, &panel},  // right and bottom edges are outside
      {0, 0, &panel},        {199, 100, &panel}, {200, 100, nullptr}, {300, 300, nullptr},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Under(c.x, c.y), c.expected) << c.x << ", " << c.y;
  }
}

TEST_F(HitTest, HiddenAndDisabledElementsLetThePointThrough) {
  sibling.visible = 0;
  EXPECT_EQ(Under(45, 45), &child);
  sibling.visible = 1;
  sibling.disabled = 1;
  EXPECT_EQ(Under(45, 45), &child);
  // A disabled parent hides its children from the mouse as well.
  panel.disabled = 1;
  EXPECT_EQ(Under(25, 25), nullptr);
}

TEST_F(HitTest, RaisingAnElementGivesItTheOverlap) {
  EXPECT_EQ(Under(45, 45), &sibling);
  panel.SetZOrder(1, false);
  EXPECT_EQ(Under(45, 45), &child);
}

}  // namespace
}  // namespace directui::input_testing

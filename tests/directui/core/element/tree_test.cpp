#include <gtest/gtest.h>

#include <string>

#include "test_host.h"

namespace directui {
namespace {

using element_testing::ProbeElement;
using element_testing::Screen;
using element_testing::TestHost;

// The list from its head, checked against the links backwards from its tail.
std::string Order(Ex_Element* head, Ex_Element* tail, const std::vector<ProbeElement*>& named) {
  auto name = [&](Ex_Element* e) {
    for (std::size_t i = 0; i < named.size(); ++i) {
      if (named[i] == e) return std::string(1, static_cast<char>('a' + i));
    }
    return std::string("?");
  };
  std::string forward;
  for (Ex_Element* e = head; e != nullptr; e = e->next_sibling) forward += name(e);
  std::string backward;
  for (Ex_Element* e = tail; e != nullptr; e = e->previous_sibling) backward = name(e) + backward;
  return forward == backward ? forward : forward + " / backwards " + backward;
}

class TreeTest : public ::testing::Test {
 protected:
  Screen screen;
  TestHost host{screen, 100, 80};
  ProbeElement a, b, c;
  std::vector<ProbeElement*> named{&a, &b, &c};

  void CreateRoots() {
    for (ProbeElement* e : named) e->Create(host.window, MakeRectF(1, 1, 5, 5));
  }
  std::string Roots() { return Order(host.first_root, host.last_root, named); }
};

TEST_F(TreeTest, RootsArePaintedInCreationOrder) {
  CreateRoots();
  EXPECT_EQ(Roots(), "abc");
}

TEST_F(TreeTest, SetZOrderMovesToTheBottomForTwoAndToTheTopOtherwise) {
  struct Case {
    int which;
    int position;
    const char* expected;
  };
  const Case cases[] = {
      {2, 2, "cab"}, {0, 2, "abc"}, {1, 2, "bac"}, {0, 1, "bca"}, {1, 0, "acb"}, {2, 1, "abc"},
  };
  for (const Case& c : cases) {
    TestHost fresh(screen, 20, 20);
    ProbeElement x, y, z;
    std::vector<ProbeElement*> list{&x, &y, &z};
    for (ProbeElement* e : list) e->Create(fresh.window, MakeRectF(1, 1, 5, 5));
    list[static_cast<std::size_t>(c.which)]->SetZOrder(c.position);
    EXPECT_EQ(Order(fresh.first_root, fresh.last_root, list), c.expected)
        << c.which << " to " << c.position;
  }
}

TEST_F(TreeTest, SetZOrderToTheBottomOfALoneElementKeepsItFirstAndLast) {
  a.Create(host.window, MakeRectF(1, 1, 5, 5));
  a.SetZOrder(2);
  EXPECT_EQ(host.first_root, &a);
  EXPECT_EQ(host.last_root, &a);
  EXPECT_EQ(a.previous_sibling, nullptr);
  EXPECT_EQ(a.next_sibling, nullptr);

  b.Create(&a, MakeRectF(1, 1, 2, 2));
  b.SetZOrder(2);
  EXPECT_EQ(a.first_child, &b);
  EXPECT_EQ(a.last_child, &b);
  EXPECT_EQ(b.next_sibling, nullptr);
}

TEST_F(TreeTest, SetZOrderInvalidatesOnlyWhenAskedTo) {
  CreateRoots();
  host.Pump();
  host.invalidated.clear();
  a.SetZOrder(1, false);
  host.Pump();
  EXPECT_TRUE(host.invalidated.empty());
  a.SetZOrder(2);
  host.Pump();
  EXPECT_EQ(host.invalidated.size(), 1u);
}

TEST_F(TreeTest, SetParentMovesTheElementToTheEndOfTheNewList) {
  CreateRoots();
  b.SetParent(&a);
  EXPECT_EQ(Roots(), "ac");
  EXPECT_EQ(Order(a.first_child, a.last_child, named), "b");
  EXPECT_EQ(b.GetParent(), &a);
  c.SetParent(&a);
  EXPECT_EQ(Roots(), "a");
  EXPECT_EQ(Order(a.first_child, a.last_child, named), "bc");
  b.SetParent(nullptr);
  EXPECT_EQ(Roots(), "ab");
  EXPECT_EQ(Order(a.first_child, a.last_child, named), "c");
  EXPECT_EQ(b.GetParent(), nullptr);
}

TEST_F(TreeTest, SetParentRefusesToHangAnElementBelowItself) {
  CreateRoots();
  b.SetParent(&a);
  c.SetParent(&b);
  a.SetParent(&c);
  a.SetParent(&a);
  EXPECT_EQ(a.GetParent(), nullptr);
  EXPECT_EQ(Roots(), "a");
  EXPECT_EQ(Order(b.first_child, b.last_child, named), "c");
}

TEST_F(TreeTest, UnlinkTakesTheElementOutOfAnyPlaceInItsList) {
  struct Case {
    int which;
    const char* expected;
  };
  for (const Case& c : {Case{0, "bc"}, Case{1, "ac"}, Case{2, "ab"}}) {
    TestHost fresh(screen, 20, 20);
    ProbeElement x, y, z;
    std::vector<ProbeElement*> list{&x, &y, &z};
    for (ProbeElement* e : list) e->Create(fresh.window, MakeRectF(1, 1, 5, 5));
    ProbeElement* gone = list[static_cast<std::size_t>(c.which)];
    gone->Unlink();
    EXPECT_EQ(Order(fresh.first_root, fresh.last_root, list), c.expected);
    EXPECT_EQ(gone->previous_sibling, nullptr);
    EXPECT_EQ(gone->next_sibling, nullptr);
    // Unlinking again finds it nowhere and leaves the list alone.
    gone->Unlink();
    EXPECT_EQ(Order(fresh.first_root, fresh.last_root, list), c.expected);
  }
}

TEST_F(TreeTest, AnUnlinkedRootWithStaleLinksLeavesTheRootListAlone) {
  CreateRoots();
  b.Unlink();
  // Links that name list members, though b is no longer in the list.
  b.previous_sibling = &a;
  b.next_sibling = &c;
  b.Unlink();
  EXPECT_EQ(Roots(), "ac");
  EXPECT_EQ(b.previous_sibling, nullptr);
  EXPECT_EQ(b.next_sibling, nullptr);
}

}  // namespace
}  // namespace directui

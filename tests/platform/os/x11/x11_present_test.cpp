// Pixels on the screen: presentation through shared memory and without, layered windows with
// and without a compositing manager.
#include <gmock/gmock.h>

#include <vector>

#include "platform/os/x11/x11_fixture.h"

#include <X11/Xutil.h>
#include <X11/extensions/shape.h>

namespace x11_testing {
namespace {

using ::testing::ElementsAre;

constexpr int kWidth = 383;
constexpr int kHeight = 343;

// A frame whose every pixel differs from its neighbours in each colour channel.
std::vector<std::uint32_t> Pattern(std::uint32_t seed) {
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kWidth) * kHeight);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const std::uint32_t r = (x * 3 + seed) & 0xFF;
      const std::uint32_t g = (y * 5 + seed) & 0xFF;
      const std::uint32_t b = (x + y + seed * 7) & 0xFF;
      pixels[static_cast<std::size_t>(y) * kWidth + x] = 0xFF000000 | (r << 16) | (g << 8) | b;
    }
  }
  return pixels;
}

PixelView View(const std::vector<std::uint32_t>& pixels, int width = kWidth, int height = kHeight) {
  return {pixels.data(), width, height, width * 4};
}

class X11PresentTest : public X11Fixture {
 protected:
  // The window's pixels as the server holds them, alpha included when the window has it.
  std::vector<std::uint32_t> ReadBack(Window window, int width, int height) const {
    XImage* image =
        XGetImage(observer_->display(), Native(window), 0, 0, width, height, AllPlanes, ZPixmap);
    std::vector<std::uint32_t> pixels;
    if (image == nullptr) return pixels;
    const unsigned long mask = image->depth == 32 ? 0xFFFFFFFFul : 0x00FFFFFFul;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        pixels.push_back(static_cast<std::uint32_t>(XGetPixel(image, x, y) & mask));
      }
    }
    XDestroyImage(image);
    return pixels;
  }

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
};

std::vector<std::uint32_t> WithoutAlpha(std::vector<std::uint32_t> pixels) {
  for (std::uint32_t& pixel : pixels) pixel &= 0x00FFFFFF;
  return pixels;
}

class X11PresentPathTest : public X11PresentTest, public ::testing::WithParamInterface<bool> {
 protected:
  bool shared_memory() const { return GetParam(); }
  void SetUp() override {
    X11PresentTest::SetUp();
    if (!backend_) return;
    if (!shared_memory()) backend_->connection().DisableSharedMemory();
    if (shared_memory() && !backend_->connection().features().shared_memory) {
      GTEST_SKIP() << "the server has no MIT-SHM";
    }
  }
};

TEST_P(X11PresentPathTest, PresentedPixelsAreWhatTheServerShows) {
  const Window window = Create({50, 50, 50 + kWidth, 50 + kHeight});
  const std::vector<std::uint32_t> frame = Pattern(1);
  backend_->present(window, View(frame), {0, 0, kWidth, kHeight});
  Settle();
  EXPECT_EQ(backend_->presents_through_shared_memory(window), shared_memory());
  EXPECT_TRUE(ReadBack(window, kWidth, kHeight) == WithoutAlpha(frame));
}

TEST_P(X11PresentPathTest, OnlyTheDirtyAreaChanges) {
  const Window window = Create({50, 50, 50 + kWidth, 50 + kHeight});
  const std::vector<std::uint32_t> first = Pattern(1);
  const std::vector<std::uint32_t> second = Pattern(90);
  backend_->present(window, View(first), {0, 0, kWidth, kHeight});
  const Rect dirty{37, 21, 200, 300};
  backend_->present(window, View(second), dirty);
  // Parts outside the pixels are dropped, not read.
  backend_->present(window, View(second), {kWidth - 1, kHeight - 1, kWidth + 50, kHeight + 50});
  Settle();
  const std::vector<std::uint32_t> shown = ReadBack(window, kWidth, kHeight);
  ASSERT_EQ(shown.size(), first.size());
  int wrong = 0;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const bool changed = dirty.contains({x, y}) || (x == kWidth - 1 && y == kHeight - 1);
      const std::size_t at = static_cast<std::size_t>(y) * kWidth + x;
      const std::uint32_t expected = (changed ? second : first)[at] & 0xFFFFFF;
      if (shown[at] != expected) ++wrong;
    }
  }
  EXPECT_EQ(wrong, 0);
}

TEST_P(X11PresentPathTest, RowsApartByAStrideAreReadAsRows) {
  const Window window = Create({50, 50, 60, 53});
  // 10 x 3 pixels inside rows of 16, the rest of each row never shown
  std::vector<std::uint32_t> padded(16 * 3, 0xFFFF0000);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 10; ++x) padded[y * 16 + x] = 0xFF000000 | (y << 8) | x;
  }
  backend_->present(window, PixelView{padded.data(), 10, 3, 16 * 4}, {0, 0, 10, 3});
  Settle();
  const std::vector<std::uint32_t> shown = ReadBack(window, 10, 3);
  ASSERT_EQ(shown.size(), 30u);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 10; ++x) EXPECT_EQ(shown[y * 10 + x], std::uint32_t(y << 8) | x);
  }
}

INSTANTIATE_TEST_SUITE_P(Paths, X11PresentPathTest, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? "SharedMemory" : "PutImage";
                         });

// A layered frame: transparent five-pixel margins around an opaque inside.
std::vector<std::uint32_t> FramedPicture(int width, int height) {
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height, 0);
  for (int y = 5; y < height - 5; ++y) {
    for (int x = 5; x < width - 5; ++x)
      pixels[static_cast<std::size_t>(y) * width + x] = 0xFF336699;
  }
  return pixels;
}

TEST_F(X11PresentTest, WithoutCompositorLayeredShapeFollowsTheAlpha) {
  const Window window = Create({50, 50, 150, 130}, {.layered = true});
  EXPECT_EQ(Attributes(window).depth, DefaultDepth(observer_->display(), 0));
  EXPECT_TRUE(ShapeOf(window).empty()) << "a layered window without content must not show";

  std::vector<std::uint32_t> frame = FramedPicture(100, 80);
  frame[40 * 100 + 50] = 0;  // a transparent hole inside
  backend_->update_layered(window, View(frame, 100, 80), {200, 210}, 255);
  Settle();
  EXPECT_EQ(RootGeometry(window), (Rect{200, 210, 300, 290}));
  EXPECT_THAT(ShapeOf(window), ElementsAre(Rect{5, 5, 95, 40}, Rect{5, 40, 50, 41},
                                           Rect{51, 40, 95, 41}, Rect{5, 41, 95, 75}));
  EXPECT_EQ(ReadBack(window, 100, 80)[10 * 100 + 10], 0x336699u);

  backend_->update_layered(window, View(frame, 100, 80), {200, 210}, 0);
  Settle();
  EXPECT_TRUE(ShapeOf(window).empty()) << "alpha 0 must hide the whole window";
}

TEST_F(X11PresentTest, WithoutCompositorLayeredAlphaShapeKeepsTheWindowRegion) {
  const Window window = Create({50, 50, 150, 130}, {.layered = true});
  const std::vector<Rect> region{{0, 0, 50, 80}};
  backend_->set_shape(window, std::span<const Rect>(region));
  const std::vector<std::uint32_t> frame = FramedPicture(100, 80);
  backend_->update_layered(window, View(frame, 100, 80), {50, 50}, 255);
  Settle();
  EXPECT_THAT(ShapeOf(window), ElementsAre(Rect{5, 5, 50, 75}));

  backend_->set_layered(window, false);
  Settle();
  EXPECT_THAT(ShapeOf(window), ElementsAre(Rect{0, 0, 50, 80}));
}

TEST_F(X11PresentTest, PresentIsIgnoredOnLayeredWindowsAndLayeredUpdatesOnOthers) {
  const Window layered = Create({50, 50, 60, 60}, {.layered = true});
  const Window opaque = Create({100, 50, 110, 60});
  const std::vector<std::uint32_t> red(100, 0xFFFF0000);
  const std::vector<std::uint32_t> blue(100, 0xFF0000FF);
  backend_->present(opaque, View(red, 10, 10), {0, 0, 10, 10});
  backend_->update_layered(layered, View(blue, 10, 10), {50, 50}, 255);
  backend_->present(layered, View(red, 10, 10), {0, 0, 10, 10});
  backend_->update_layered(opaque, View(blue, 10, 10), {300, 300}, 255);
  Settle();
  EXPECT_EQ(ReadBack(layered, 10, 10)[55], 0x0000FFu);
  EXPECT_EQ(ReadBack(opaque, 10, 10)[55], 0xFF0000u);
  EXPECT_EQ(RootGeometry(opaque), (Rect{100, 50, 110, 60}));
}

TEST_F(X11PresentTest, LayeredWindowRepaintsItselfWhenUncovered) {
  const Window layered = Create({50, 50, 60, 60}, {.layered = true});
  const std::vector<std::uint32_t> blue(100, 0xFF0000FF);
  backend_->update_layered(layered, View(blue, 10, 10), {50, 50}, 255);
  Settle();
  const Window cover = Create({40, 40, 80, 80});
  const std::vector<std::uint32_t> red(1600, 0xFFFF0000);
  backend_->present(cover, View(red, 40, 40), {0, 0, 40, 40});
  Settle();
  sink_.facts.clear();
  backend_->destroy_window(cover);
  Settle();
  EXPECT_EQ(ReadBack(layered, 10, 10), std::vector<std::uint32_t>(100, 0x0000FF));
  for (const Fact& fact : sink_.Of(FactKind::exposed)) EXPECT_NE(fact.window, layered);
}

class X11CompositedTest : public X11PresentTest {
 protected:
  void SetUp() override {
    X11PresentTest::SetUp();
    if (observer_) observer_->PretendCompositor();
  }
};

TEST_F(X11CompositedTest, WindowsTakeTheArgbVisual) {
  const Window layered = Create({50, 50, 150, 130}, {.layered = true});
  EXPECT_EQ(Attributes(layered).depth, 32);
  observer_->StopPretendingCompositor();
  const Window later = Create({50, 50, 150, 130}, {.layered = true});
  EXPECT_EQ(Attributes(later).depth, DefaultDepth(observer_->display(), 0));
}

TEST_F(X11CompositedTest, LayeredPixelsKeepTheirAlphaTimesTheWindowAlpha) {
  const Window window = Create({50, 50, 150, 130}, {.layered = true});
  const std::vector<std::uint32_t> frame = FramedPicture(100, 80);
  backend_->update_layered(window, View(frame, 100, 80), {50, 50}, 128);
  Settle();
  const std::vector<std::uint32_t> shown = ReadBack(window, 100, 80);
  ASSERT_EQ(shown.size(), frame.size());
  EXPECT_EQ(shown[0], 0u) << "the transparent margin";
  // 0xFF336699 scaled by 128/255, premultiplied: every channel scaled, rounded
  EXPECT_EQ(shown[10 * 100 + 10], 0x801A334Du);
  EXPECT_THAT(ShapeOf(window), ElementsAre(Rect{0, 0, 100, 80}))
      << "with a compositor the alpha blends and nothing is cut";
}

TEST_F(X11CompositedTest, OpaqueWindowsShowFullAlphaWhateverThePixelsSay) {
  const Window window = Create({50, 50, 60, 60});
  ASSERT_EQ(Attributes(window).depth, 32);
  const std::vector<std::uint32_t> half(100, 0x80400000);
  backend_->present(window, View(half, 10, 10), {0, 0, 10, 10});
  Settle();
  EXPECT_EQ(ReadBack(window, 10, 10), std::vector<std::uint32_t>(100, 0xFF400000));
}

}  // namespace
}  // namespace x11_testing

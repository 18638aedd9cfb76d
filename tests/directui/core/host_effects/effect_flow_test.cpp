// What happens around the frames of an effect: the host is busy, the thread's messages keep
// flowing, a window that was not layered is layered only for the opening, and an effect whose
// window goes away or whose thread is told to quit ends cleanly.
#include <utility>
#include <vector>

#include <gmock/gmock.h>

#include "directui/core/effect_pause.h"
#include "effects_fixture.h"

namespace directui::effects_testing {
namespace {

using ::testing::Each;
using ::testing::ElementsAre;

constexpr std::uint32_t kPing = os::WM_USER + 5;
constexpr std::uintptr_t kTimer = 77;

// What a timer tick saw.
struct Tick {
  int busy = 0;
  std::size_t frames = 0;
  bool layered = false;
};

class EffectFlowTest : public EffectsTest {
 protected:
  // Ticks every `ms` while the effect plays; the first tick posts kPing to the window.
  void StartTicking(std::uint32_t ms, std::function<void()> on_first_tick = {}) {
    first_tick = std::move(on_first_tick);
    desktop.set_timer(window, kTimer, ms,
                      [this](os::Window, std::uint32_t, std::uintptr_t, std::uint32_t) {
                        ticks.push_back({host.busy, Frames().size(), Layered()});
                        if (ticks.size() == 1) {
                          desktop.post_message(window, kPing, 0, 0);
                          if (first_tick) first_tick();
                        }
                      });
    on_message = [this](std::uint32_t message) {
      if (message == kPing) ping_busy.push_back(host.busy);
    };
  }

  std::vector<Tick> ticks;
  std::vector<int> ping_busy;
  std::function<void()> first_tick;
};

TEST_F(EffectFlowTest, MessagesFlowBetweenOpeningFramesWhileTheHostIsBusy) {
  MakeHost(false);
  StartTicking(33);
  host.Show(5);
  // Ticks at 33, 66, … 198 ms fall between frames shown at 0, 0, 20, 40, … 200 ms.
  std::vector<std::size_t> frames_seen;
  for (const Tick& t : ticks) {
    frames_seen.push_back(t.frames);
    EXPECT_EQ(t.busy, 1);
    EXPECT_TRUE(t.layered);
  }
  EXPECT_THAT(frames_seen, ElementsAre(3, 5, 6, 8, 10, 11));
  EXPECT_THAT(ping_busy, ElementsAre(1));
  EXPECT_EQ(host.busy, 0);
  EXPECT_FALSE(Layered());

  PauseHandlingMessages(desktop, 40);
  ASSERT_EQ(ticks.size(), 7u);
  EXPECT_EQ(ticks.back().busy, 0);
  EXPECT_FALSE(ticks.back().layered);
}

TEST_F(EffectFlowTest, MessagesFlowBetweenClosingFramesWhileTheHostIsBusy) {
  MakeHost(false);
  host.Show();
  host.SetCloseEffect(2);
  display.clear_layered_frames(window);
  StartTicking(50);
  desktop.send_message(window, os::WM_CLOSE, 0, 0);
  // The zoom's twenty frames take 215 ms: four ticks come while it plays.
  ASSERT_EQ(ticks.size(), 4u);
  for (const Tick& t : ticks) EXPECT_EQ(t.busy, 1);
  EXPECT_LT(ticks.front().frames, ticks.back().frames);
  EXPECT_THAT(ping_busy, ElementsAre(1));
  EXPECT_EQ(host.busy, 0);
  EXPECT_FALSE(desktop.is_visible(window));
}

TEST_F(EffectFlowTest, WindowDestroyedDuringTheOpeningEndsIt) {
  MakeHost(false);
  StartTicking(45, [this] { desktop.destroy_window(window); });
  host.Show(1);
  EXPECT_EQ(ticks.size(), 1u);
  EXPECT_FALSE(desktop.is_window(window));
  EXPECT_FALSE(host.attached());
  EXPECT_EQ(host.busy, 0);
}

TEST_F(EffectFlowTest, WindowDestroyedDuringTheCloseEndsIt) {
  MakeHost(false);
  host.Show();
  host.SetCloseEffect(5);
  StartTicking(30, [this] { desktop.destroy_window(window); });
  desktop.send_message(window, os::WM_CLOSE, 0, 0);
  EXPECT_EQ(ticks.size(), 1u);
  EXPECT_FALSE(desktop.is_window(window));
  EXPECT_FALSE(host.attached());
}

TEST_F(EffectFlowTest, QuitDuringTheOpeningFinishesItAndStillEndsTheLoop) {
  MakeHost(false);
  StartTicking(45, [this] { desktop.post_quit_message(3); });
  host.Show(4);
  EXPECT_EQ(Frames().size(), 12u);
  EXPECT_EQ(AlphaAt(Frames().back(), 150, 125), 255);
  EXPECT_EQ(host.busy, 0);
  os::Message message;
  EXPECT_FALSE(desktop.get_message(message));
  EXPECT_EQ(message.wparam, 3u);
}

}  // namespace
}  // namespace directui::effects_testing

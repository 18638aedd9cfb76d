#include "directui/core/tooltip_window.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>

#include "directui/core/ansi_text.h"
#include "directui/core/fonts.h"
#include "directui/core/framework_globals.h"
#include "directui/core/host_surfaces.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/graphics.h"
#include "platform/os/window_styles.h"

namespace directui {

namespace os = platform::os;
namespace gfx = platform::gfx;

namespace {

constexpr std::uintptr_t kDelayTimer = 1;
constexpr std::uintptr_t kWatchTimer = 2;

// The classic tip: pale yellow, a grey line round it, black text.
constexpr gfx::Argb kFill = 0xFFFFFFE1;
constexpr gfx::Argb kBorder = 0xFF767676;
constexpr gfx::Argb kText = 0xFF000000;
constexpr int kPadX = 4;
constexpr int kPadY = 2;
// The tip sits below the pointer, clear of the arrow's body.
constexpr int kBelowPointer = 20;

bool IsPress(std::uint32_t message) {
  switch (message) {
    case os::WM_LBUTTONDOWN:
    case os::WM_LBUTTONDBLCLK:
    case os::WM_RBUTTONDOWN:
    case os::WM_RBUTTONDBLCLK:
    case os::WM_MBUTTONDOWN:
    case os::WM_MBUTTONDBLCLK:
      return true;
    default:
      return false;
  }
}

struct Tool {
  os::Window window{};
  os::Rect rect{};
  std::string text{};
};

// One tooltip window's state, owned by its window procedure: it goes with the window.
class ToolTip {
 public:
  ToolTip(os::Desktop& desktop, os::Window self) : desktop_(desktop), self_(self) {}

  os::LRESULT Handle(std::uint32_t message, os::WPARAM wparam, os::LPARAM lparam) {
    auto* info = reinterpret_cast<ToolInfo*>(lparam);
    switch (message) {
      case TTM_ADDTOOLA:
        if (info == nullptr) return 0;
        tool_ = Tool{info->window, info->rect, TextOf(*info)};
        suppressed_ = false;
        Rearm();
        return 1;
      case TTM_DELTOOLA:
        tool_.reset();
        Hide();
        return 0;
      case TTM_NEWTOOLRECTA:
        if (info == nullptr || !OwnsTool(*info)) return 0;
        tool_->rect = info->rect;
        if (!PointerInTool()) Hide();
        Rearm();
        return 0;
      case TTM_UPDATETIPTEXTA:
        if (info == nullptr || !OwnsTool(*info)) return 0;
        tool_->text = TextOf(*info);
        if (shown_) {
          Show();
        } else {
          Rearm();
        }
        return 0;
      case TTM_GETTEXTA:
        CopyText(info, wparam);
        return 0;
      case TTM_RELAYEVENT:
        if (lparam != 0) OnRelayed(*reinterpret_cast<const os::Message*>(lparam));
        return 0;
      case TTM_SETMAXTIPWIDTH: {
        const std::intptr_t before = desktop_.get_prop(self_, kToolTipMaxWidthProperty);
        desktop_.set_prop(self_, kToolTipMaxWidthProperty, lparam);
        if (shown_) Show();
        return before;
      }
      case os::WM_PAINT:
        // A display that lost the pixels (a fresh map, an expose) gets them again.
        desktop_.begin_paint(self_);
        if (shown_) desktop_.present(self_, SurfaceView(picture_));
        desktop_.end_paint(self_);
        return 0;
      case os::WM_TIMER:
        if (wparam == kDelayTimer) OnDelayOver();
        if (wparam == kWatchTimer) OnWatch();
        return 0;
      default:
        return desktop_.def_window_proc(self_, message, wparam, lparam);
    }
  }

 private:
  static std::string TextOf(const ToolInfo& info) {
    return info.text != nullptr ? std::string(info.text) : std::string();
  }

  bool OwnsTool(const ToolInfo& info) const { return tool_ && tool_->window == info.window; }

  bool HasText() const { return tool_ && !tool_->text.empty(); }

  bool PointerInTool() const { return tool_ && last_point_ && tool_->rect.contains(*last_point_); }

  void CopyText(ToolInfo* info, os::WPARAM capacity) const {
    if (info == nullptr || info->text == nullptr || capacity == 0) return;
    const std::string text = tool_ ? tool_->text : std::string();
    const std::size_t n = std::min<std::size_t>(text.size(), capacity - 1);
    std::copy_n(text.data(), n, info->text);
    info->text[n] = '\0';
  }

  void OnRelayed(const os::Message& m) {
    if (!tool_ || m.window != tool_->window) return;
    if (IsPress(m.message)) {
      // A press ends the tip; it comes back only after the pointer has left the tool.
      Hide();
      suppressed_ = true;
      return;
    }
    if (m.message != os::WM_MOUSEMOVE) return;
    const os::Point at{os::x_of_lparam(m.lparam), os::y_of_lparam(m.lparam)};
    const bool moved = last_point_ != at;
    last_point_ = at;
    if (!tool_->rect.contains(at)) {
      Hide();
      suppressed_ = false;
      return;
    }
    // The tip waits for the pointer to rest: every move starts the delay again.
    if (!shown_ && !suppressed_ && HasText() && (moved || !delay_running_)) StartDelay();
  }

  void Rearm() {
    if (!shown_ && !suppressed_ && HasText() && PointerInTool()) StartDelay();
  }

  void StartDelay() {
    desktop_.set_timer(self_, kDelayTimer, kToolTipInitialDelay);
    delay_running_ = true;
  }

  void StopDelay() {
    if (!delay_running_) return;
    desktop_.kill_timer(self_, kDelayTimer);
    delay_running_ = false;
  }

  void OnDelayOver() {
    StopDelay();
    if (!suppressed_ && HasText() && PointerInTool()) Show();
  }

  // The relayed messages stop when the pointer leaves the tool's window; the tip then looks
  // for itself where the pointer is.
  void OnWatch() {
    if (!shown_ || !tool_) return;
    const os::Point pointer = desktop_.cursor_pos();
    const os::Window over = desktop_.window_from_point(pointer);
    const os::Rect origin = desktop_.window_rect(tool_->window);
    const os::Rect on_screen = tool_->rect.offset(origin.left, origin.top);
    if ((over != tool_->window && over != self_) || !on_screen.contains(pointer)) {
      Hide();
      last_point_.reset();
    }
  }

  const gfx::Font* TipFont() {
    if (DefaultFont) return &*DefaultFont;
    if (!own_font_) own_font_ = PickDefaultFont(desktop_);
    return own_font_ ? &*own_font_ : nullptr;
  }

  void Show() {
    const gfx::Font* font = TipFont();
    if (!HasText() || font == nullptr || !last_point_) {
      Hide();
      return;
    }
    const std::u16string text = AnsiToWide(tool_->text);
    const auto max_width = desktop_.get_prop(self_, kToolTipMaxWidthProperty);
    const float wrap =
        max_width > 2 * kPadX + 2 ? static_cast<float>(max_width - 2 * kPadX - 2) : 0;
    const gfx::StringFormat format{};
    gfx::Bitmap scratch = gfx::Bitmap::create(1, 1);
    const gfx::RectF extent =
        gfx::Graphics(scratch).measure_string(text, *font, gfx::RectF{0, 0, wrap, 0}, format);
    const int width = static_cast<int>(std::ceil(extent.width)) + 2 * kPadX + 2;
    const int height = static_cast<int>(std::ceil(extent.height)) + 2 * kPadY + 2;

    picture_ = gfx::Bitmap::create(width, height);
    {
      gfx::Graphics graphics(picture_);
      graphics.clear(kFill);
      graphics.draw_rectangle(
          gfx::Pen{.color = kBorder},
          gfx::RectF{0, 0, static_cast<float>(width - 1), static_cast<float>(height - 1)});
      graphics.draw_string(text, *font,
                           gfx::RectF{static_cast<float>(1 + kPadX), static_cast<float>(1 + kPadY),
                                      std::ceil(extent.width) + 1, std::ceil(extent.height) + 1},
                           format, gfx::SolidBrush{kText});
    }
    desktop_.move_window(self_, Placement(width, height));
    if (!shown_) {
      desktop_.show_window(self_, os::SW_SHOWNA);
      desktop_.set_timer(self_, kWatchTimer, kToolTipWatchInterval);
    }
    shown_ = true;
    desktop_.present(self_, SurfaceView(picture_));
  }

  // Just below the pointer, kept on the screen: above the pointer when there is no room below.
  os::Rect Placement(int width, int height) {
    const os::Rect origin = desktop_.window_rect(tool_->window);
    const os::Point pointer{origin.left + last_point_->x, origin.top + last_point_->y};
    const os::Size screen = desktop_.screen_size();
    int left = std::clamp(pointer.x, 0, std::max(0, screen.width - width));
    int top = pointer.y + kBelowPointer;
    if (top + height > screen.height) top = std::max(0, pointer.y - height - 2);
    return os::Rect::from_origin_size({left, top}, {width, height});
  }

  void Hide() {
    StopDelay();
    if (!shown_) return;
    shown_ = false;
    desktop_.kill_timer(self_, kWatchTimer);
    desktop_.show_window(self_, os::SW_HIDE);
  }

  os::Desktop& desktop_;
  os::Window self_;
  std::optional<Tool> tool_{};
  std::optional<os::Point> last_point_{};  // the last relayed pointer position, tool window
  bool shown_ = false;
  bool suppressed_ = false;
  bool delay_running_ = false;
  std::optional<gfx::Font> own_font_{};
  gfx::Bitmap picture_{};  // what the shown tip presents
};

}  // namespace

ToolInfo MakeToolInfo(ToolTipRecord& record) {
  return ToolInfo{.window = record.window, .rect = record.rect, .text = record.text.data()};
}

void ReadBack(const ToolInfo& info, ToolTipRecord& record) {
  record.window = info.window;
  record.rect = info.rect;
  std::string text = info.text != nullptr ? std::string(info.text) : std::string();
  record.text = std::move(text);
}

os::Window CreateToolTip(os::Desktop& desktop) {
  // A second registration on the same desktop is refused, which is what we want.
  desktop.register_class(
      {.name = kToolTipClass,
       .procedure = [&desktop](os::Window w, std::uint32_t m, os::WPARAM wp, os::LPARAM lp) {
         return desktop.def_window_proc(w, m, wp, lp);
       }});
  const os::Window tip = desktop.create_window(
      {.class_name = kToolTipClass,
       .style = os::WS_POPUP,
       .ex_style = os::WS_EX_TOOLWINDOW | os::WS_EX_TOPMOST | os::WS_EX_NOACTIVATE,
       .position = os::Point{0, 0},
       .size = os::Size{0, 0}});
  if (!tip) return tip;
  desktop.set_window_proc(tip, [tip_state = std::make_shared<ToolTip>(desktop, tip)](
                                   os::Window, std::uint32_t m, os::WPARAM wp, os::LPARAM lp) {
    return tip_state->Handle(m, wp, lp);
  });
  desktop.set_window_pos(tip, os::InsertAfter::topmost(), {},
                         os::SWP_NOSIZE | os::SWP_NOMOVE | os::SWP_NOACTIVATE);
  return tip;
}

}  // namespace directui

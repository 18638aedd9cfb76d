// Opening and closing: Show with its optional effect, and the close effect WM_CLOSE plays.
#include "directui/core/effect_pause.h"
#include "directui/core/host.h"
#include "directui/core/open_close_effects.h"
#include "directui/core/pending_messages.h"
#include "directui/core/window_shape.h"
#include "platform/os/window_styles.h"

namespace directui {

namespace os = platform::os;

LRESULT Ex_Host::Show(std::optional<int> effect, std::optional<int> duration_ms) {
  if (!window) return 0;
  ProcessPendingMessages(desktop());
  // A pending message may have ended the window or unbound the host.
  if (!window || !desktop().is_window(handle())) return 0;
  const int chosen = effect.value_or(kEffectNone);
  if (chosen != kEffectNone) {
    PlayOpenEffect(window, offscreen, window_alpha, chosen, blur_behind, frame_style,
                   duration_ms.value_or(kDefaultOpenDuration));
    if (!window || !desktop().is_window(handle())) return 0;
    Present();
    desktop().invalidate_rect(handle());
    desktop().update_window(handle());
    return 0;
  }
  if (blur_behind != 0) {
    SetBlurBehind(window, 6, 6, size.width - 5, size.height - 5, 6, frame_style, window_alpha);
  }
  desktop().show_window(handle(), os::SW_SHOWNORMAL);
  // Where the window system paints a window as it appears, the picture would follow by itself;
  // handing it over here shows it at once on every display.
  Present();
  return 0;
}

void Ex_Host::PlayCloseEffect() {
  if (!window) return;
  directui::PlayCloseEffect(window, offscreen, window_alpha, close_effect, blur_behind,
                            frame_style);
}

}  // namespace directui

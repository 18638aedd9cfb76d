#pragma once

namespace directui {

// The opening and closing animations, numbered alike for Show and for the close effect.
inline constexpr int kEffectNone = 0;
inline constexpr int kEffectFade = 1;
inline constexpr int kEffectZoom = 2;  // closing only; an opening wipes from the bottom instead
inline constexpr int kEffectWipeLeft = 3;
inline constexpr int kEffectWipeRight = 4;
inline constexpr int kEffectWipeTop = 5;
inline constexpr int kEffectWipeBottom = 6;  // and every number without a meaning of its own
inline constexpr int kEffectZoomCentre = 7;

}  // namespace directui

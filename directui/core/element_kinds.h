#pragma once

namespace directui {

// Class codes every element class gives InitElement; the host passes them on to the
// application's notification routines.
inline constexpr int kKindCaptionButtons = 1;
inline constexpr int kKindButton = 2;  // the text element
inline constexpr int kKindLabel = 3;
inline constexpr int kKindPicture = 4;
inline constexpr int kKindListView = 8;
inline constexpr int kKindPanel = 16;
inline constexpr int kKindScrollBar = 19;
inline constexpr int kKindMenuItem = 20;  // one per item of an open popup menu

}  // namespace directui

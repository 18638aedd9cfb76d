#pragma once

#include <cairo.h>

namespace picgen {

struct Rgb {
  double r, g, b;
};

// The palette every picture draws from (0..1 components).
namespace palette {
inline constexpr Rgb kWhite{1.0, 1.0, 1.0};
inline constexpr Rgb kInk{0.16, 0.20, 0.25};    // dark glyph colour, near the text black
inline constexpr Rgb kShade{0.05, 0.16, 0.30};  // shadow under light glyphs
inline constexpr Rgb kBlue{0.20, 0.52, 0.84};   // accent
inline constexpr Rgb kBlueDeep{0.11, 0.36, 0.66};
inline constexpr Rgb kBlueLight{0.62, 0.80, 0.96};
inline constexpr Rgb kRed{0.90, 0.29, 0.24};
inline constexpr Rgb kRedDeep{0.70, 0.13, 0.10};
inline constexpr Rgb kGreen{0.24, 0.64, 0.38};
inline constexpr Rgb kGreenDeep{0.14, 0.45, 0.25};
inline constexpr Rgb kOrange{0.96, 0.58, 0.18};
inline constexpr Rgb kOrangeDeep{0.78, 0.40, 0.06};
inline constexpr Rgb kGrey{0.55, 0.60, 0.66};
inline constexpr Rgb kGreyDeep{0.36, 0.41, 0.47};
}  // namespace palette

// Corner radius shared by every rounded face.
inline constexpr double kCornerRadius = 3.0;

void SetColour(cairo_t* cr, Rgb c, double alpha = 1.0);
void RoundedRectPath(cairo_t* cr, double x, double y, double w, double h, double radius);
// Fills whole pixels: crisp by construction.
void FillPixels(cairo_t* cr, int x, int y, int w, int h, Rgb c, double alpha = 1.0);
// One-pixel outline of the pixel box (x, y, w, h), drawn on pixel centres.
void StrokePixelBox(cairo_t* cr, int x, int y, int w, int h, Rgb c, double alpha = 1.0);
// Rounded box (l, t)-(r, b) with a tail hanging from its bottom edge: the tail's straight side
// drops from (tail_x, b) to (tail_x, b + depth), its slanted side returns to (tail_x + width, b).
struct Bubble {
  double left, top, right, bottom, radius;
  double tail_x, tail_width, tail_depth;
};
void SpeechBubblePath(cairo_t* cr, const Bubble& bubble);
// A check mark through three points, with round ends, in one stroke.
struct Tick {
  double x0, y0, x1, y1, x2, y2;
};
void StrokeTick(cairo_t* cr, const Tick& tick, double width, Rgb c, double alpha = 1.0);
// A vertical linear gradient from top to bottom of (y0, y1).
void SetVerticalGradient(cairo_t* cr, double y0, double y1, Rgb top, double top_alpha, Rgb bottom,
                         double bottom_alpha);

}  // namespace picgen

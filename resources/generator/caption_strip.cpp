#include "resources/generator/caption_strip.h"

#include <cmath>
#include <functional>

#include "resources/generator/cairo_canvas.h"
#include "resources/generator/drawing.h"
#include "resources/generator/encoding.h"

namespace picgen {

namespace {

constexpr int kStripWidth = 729;
constexpr int kStripHeight = 20;
constexpr int kCellTop = 2;
// Rows a look may use: the cut rectangle starts at row 2 and the strip ends at row 19.
constexpr int kFaceHeight = 17;
constexpr int kCloseWidth = 39;
constexpr int kButtonWidth = 28;

enum class Look { kNormal, kHot, kPressed };

// A glyph draws itself in one colour, in cell coordinates.
using Glyph = std::function<void(cairo_t*, Rgb, double)>;

void DrawFace(cairo_t* cr, int width, Look look, bool red) {
  if (look == Look::kNormal) return;
  SavedState saved(cr);
  const bool hot = look == Look::kHot;
  const double w = width;
  // Body.
  RoundedRectPath(cr, 0.5, 0.5, w - 1, kFaceHeight - 1, kCornerRadius);
  if (red) {
    hot ? SetVerticalGradient(cr, 0, kFaceHeight, {0.95, 0.42, 0.36}, 0.96, palette::kRed, 0.96)
        : SetVerticalGradient(cr, 0, kFaceHeight, palette::kRedDeep, 0.96, {0.56, 0.08, 0.06},
                              0.96);
  } else {
    hot ? SetVerticalGradient(cr, 0, kFaceHeight, palette::kWhite, 0.46, palette::kWhite, 0.16)
        : SetVerticalGradient(cr, 0, kFaceHeight, palette::kShade, 0.30, palette::kShade, 0.18);
  }
  cairo_fill_preserve(cr);
  // Outer rim.
  cairo_set_line_width(cr, 1.0);
  if (red) {
    SetColour(cr, {0.45, 0.05, 0.04}, hot ? 0.55 : 0.75);
  } else {
    SetColour(cr, palette::kShade, hot ? 0.28 : 0.42);
  }
  cairo_stroke(cr);
  // Inner light rim: a glass edge on hot, only the lower lip on pressed (lit from above).
  RoundedRectPath(cr, 1.5, 1.5, w - 3, kFaceHeight - 3, kCornerRadius - 1);
  if (hot) {
    SetVerticalGradient(cr, 1, kFaceHeight - 1, palette::kWhite, 0.75, palette::kWhite, 0.25);
  } else {
    SetVerticalGradient(cr, 1, kFaceHeight - 1, palette::kWhite, 0.0, palette::kWhite,
                        red ? 0.25 : 0.30);
  }
  cairo_stroke(cr);
  // Gloss over the upper half.
  if (hot) {
    RoundedRectPath(cr, 2, 2, w - 4, 6, kCornerRadius - 1);
    SetVerticalGradient(cr, 2, 8, palette::kWhite, red ? 0.30 : 0.34, palette::kWhite, 0.04);
    cairo_fill(cr);
  }
}

void DrawGlyphWithShadow(cairo_t* cr, const Glyph& glyph, Look look, bool red) {
  {
    SavedState saved(cr);
    cairo_translate(cr, 0, 1);
    glyph(cr, red && look != Look::kNormal ? Rgb{0.35, 0.02, 0.02} : palette::kShade,
          look == Look::kNormal ? 0.50 : 0.40);
  }
  glyph(cr, palette::kWhite, 1.0);
}

// Glyphs sit in rows 4..12, centred on the face's row 8, and on the cell's centre column.
void CloseGlyph(cairo_t* cr, Rgb c, double a) {
  SavedState saved(cr);
  cairo_set_line_width(cr, 1.5);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
  SetColour(cr, c, a);
  // Centre pixel 19 of 39; arms run along pixel centres from (15, 4) to (23, 12).
  cairo_move_to(cr, 15.75, 4.75);
  cairo_line_to(cr, 23.25, 12.25);
  cairo_move_to(cr, 23.25, 4.75);
  cairo_line_to(cr, 15.75, 12.25);
  cairo_stroke(cr);
}

void MaximiseGlyph(cairo_t* cr, Rgb c, double a) {
  StrokePixelBox(cr, 9, 4, 10, 9, c, a);
  FillPixels(cr, 10, 5, 8, 1, c, a);  // title bar
}

void RestoreGlyph(cairo_t* cr, Rgb c, double a) {
  // The rear frame shows only where the front one does not cover it.
  FillPixels(cr, 11, 3, 8, 2, c, a);
  FillPixels(cr, 11, 5, 1, 1, c, a);
  FillPixels(cr, 18, 5, 1, 5, c, a);
  FillPixels(cr, 17, 9, 1, 1, c, a);
  StrokePixelBox(cr, 9, 6, 8, 7, c, a);
  FillPixels(cr, 10, 7, 6, 1, c, a);
}

void MinimiseGlyph(cairo_t* cr, Rgb c, double a) {
  FillPixels(cr, 9, 11, 10, 2, c, a);
}

void DropDownGlyph(cairo_t* cr, Rgb c, double a) {
  StrokePixelBox(cr, 9, 4, 10, 9, c, a);
  FillPixels(cr, 11, 7, 6, 1, c, a);
  FillPixels(cr, 12, 8, 4, 1, c, a);
  FillPixels(cr, 13, 9, 2, 1, c, a);
}

void SkinGlyph(cairo_t* cr, Rgb c, double a) {
  SavedState saved(cr);
  const double pts[][2] = {{11, 4}, {12, 4},  {14, 6},  {16, 4}, {17, 4}, {20, 7},
                           {18, 9}, {18, 13}, {10, 13}, {10, 9}, {8, 7}};
  cairo_move_to(cr, pts[0][0], pts[0][1]);
  for (const auto& p : pts) cairo_line_to(cr, p[0], p[1]);
  cairo_close_path(cr);
  SetColour(cr, c, a);
  cairo_fill(cr);
}

void MessageGlyph(cairo_t* cr, Rgb c, double a) {
  SavedState saved(cr);
  // Bubble over pixels 8..19 x 3..10, tail down to row 12 at the left.
  SpeechBubblePath(cr, {.left = 8.5,
                        .top = 3.5,
                        .right = 19.5,
                        .bottom = 10.5,
                        .radius = 2,
                        .tail_x = 11.5,
                        .tail_width = 3,
                        .tail_depth = 2.5});
  cairo_set_line_width(cr, 1.0);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
  SetColour(cr, c, a);
  cairo_stroke(cr);
  FillPixels(cr, 11, 6, 6, 1, c, a * 0.9);
}

void SettingsGlyph(cairo_t* cr, Rgb c, double a) {
  SavedState saved(cr);
  const double cx = 14, cy = 8.5;
  constexpr int kTeeth = 6;
  const double outer = 5.2, body = 3.7, hole = 1.7;
  cairo_new_path(cr);
  for (int i = 0; i < kTeeth; ++i) {
    const double mid = (i + 0.5) * 2 * M_PI / kTeeth - M_PI / 2;
    const double half_tooth = 0.30, half_gap = 2 * M_PI / kTeeth / 2;
    cairo_arc(cr, cx, cy, body, mid - half_gap, mid - half_tooth * 1.3);
    cairo_line_to(cr, cx + outer * std::cos(mid - half_tooth),
                  cy + outer * std::sin(mid - half_tooth));
    cairo_line_to(cr, cx + outer * std::cos(mid + half_tooth),
                  cy + outer * std::sin(mid + half_tooth));
    cairo_arc(cr, cx, cy, body, mid + half_tooth * 1.3, mid + half_gap);
  }
  cairo_close_path(cr);
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx, cy, hole, 0, 2 * M_PI);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  SetColour(cr, c, a);
  cairo_fill(cr);
}

struct Button {
  int normal_x;
  int width;
  bool red;
  Glyph glyph;
};

void DrawButtonLooks(cairo_t* cr, const Button& button) {
  const Look looks[] = {Look::kNormal, Look::kHot, Look::kPressed};
  for (int i = 0; i < 3; ++i) {
    SavedState saved(cr);
    const int x = button.normal_x + i * (button.width + 1);
    cairo_rectangle(cr, x, kCellTop, button.width, kFaceHeight);
    cairo_clip(cr);
    cairo_translate(cr, x, kCellTop);
    DrawFace(cr, button.width, looks[i], button.red);
    DrawGlyphWithShadow(cr, button.glyph, looks[i], button.red);
  }
}

}  // namespace

std::vector<std::uint8_t> DrawCaptionStrip() {
  Canvas canvas(kStripWidth, kStripHeight);
  const Button buttons[] = {
      {0, kCloseWidth, true, CloseGlyph},        {120, kButtonWidth, false, MaximiseGlyph},
      {207, kButtonWidth, false, RestoreGlyph},  {294, kButtonWidth, false, MinimiseGlyph},
      {381, kButtonWidth, false, DropDownGlyph}, {468, kButtonWidth, false, SkinGlyph},
      {555, kButtonWidth, false, MessageGlyph},  {642, kButtonWidth, false, SettingsGlyph},
  };
  for (const Button& button : buttons) DrawButtonLooks(canvas.cr(), button);
  return WithoutPngSignature(EncodePng(canvas.surface()));
}

}  // namespace picgen

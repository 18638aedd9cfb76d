#include "resources/generator/menu_icons.h"

#include <cmath>

#include "resources/generator/cairo_canvas.h"
#include "resources/generator/drawing.h"
#include "resources/generator/encoding.h"

namespace picgen {

namespace {

constexpr int kBox = 20;

// A canvas of `size` whose drawing origin is the corner of the 20 x 20 box the menu shows:
// the picture is placed at 2 - (size - 20) / 2, rounded half away from zero.
class IconCanvas {
 public:
  explicit IconCanvas(int size) : canvas_(size, size) {
    const int offset = (size - kBox + 1) / 2;
    cairo_translate(canvas_.cr(), offset, offset);
  }
  cairo_t* cr() const { return canvas_.cr(); }
  std::vector<std::uint8_t> Encode() const { return EncodePng(canvas_.surface()); }

 private:
  Canvas canvas_;
};

struct PinColours {
  Rgb head, rim, needle;
};

// An upright pin centred on column pair 9|10 of the box; crisp edges throughout.
void DrawPin(cairo_t* cr, PinColours c) {
  // Cap, waist and collar, each outlined one pixel darker.
  RoundedRectPath(cr, 6.5, 2.5, 7, 3, 1.5);
  SetColour(cr, c.head);
  cairo_fill_preserve(cr);
  cairo_set_line_width(cr, 1);
  SetColour(cr, c.rim);
  cairo_stroke(cr);
  FillPixels(cr, 8, 6, 4, 4, c.head);
  FillPixels(cr, 7, 6, 1, 4, c.rim);
  FillPixels(cr, 12, 6, 1, 4, c.rim);
  RoundedRectPath(cr, 4.5, 10.5, 11, 2, 1);
  SetColour(cr, c.head);
  cairo_fill_preserve(cr);
  SetColour(cr, c.rim);
  cairo_stroke(cr);
  // Highlight down the left of the cap and waist.
  FillPixels(cr, 8, 3, 1, 2, palette::kWhite, 0.6);
  FillPixels(cr, 8, 6, 1, 4, palette::kWhite, 0.45);
  // Needle.
  FillPixels(cr, 9, 13, 2, 4, c.needle);
  FillPixels(cr, 9, 17, 2, 1, c.needle, 0.5);
}

void BubblePath(cairo_t* cr, double l, double t, double r, double b, double tail_x) {
  SpeechBubblePath(cr, {.left = l,
                        .top = t,
                        .right = r,
                        .bottom = b,
                        .radius = kCornerRadius,
                        .tail_x = tail_x,
                        .tail_width = 4,
                        .tail_depth = 3});
}

void FillAndRim(cairo_t* cr, Rgb top, Rgb bottom, Rgb rim, double y0, double y1) {
  SetVerticalGradient(cr, y0, y1, top, 1, bottom, 1);
  cairo_fill_preserve(cr);
  cairo_set_line_width(cr, 1);
  SetColour(cr, rim);
  cairo_stroke(cr);
}

}  // namespace

std::vector<std::uint8_t> DrawTopMostIcon() {
  IconCanvas icon(22);
  DrawPin(icon.cr(), {palette::kRed, palette::kRedDeep, palette::kGreyDeep});
  return icon.Encode();
}

std::vector<std::uint8_t> DrawNotTopMostIcon() {
  IconCanvas icon(22);
  cairo_t* cr = icon.cr();
  // The same pin in grey, lifted clear of the board it was stuck in; whole-pixel moves keep it
  // as sharp as the pinned one.
  {
    SavedState lifted(cr);
    cairo_translate(cr, 0, -1);
    DrawPin(cr, {palette::kGrey, palette::kGreyDeep, palette::kGreyDeep});
  }
  FillPixels(cr, 4, 18, 12, 1, palette::kGreyDeep, 0.7);
  return icon.Encode();
}

std::vector<std::uint8_t> DrawContactQqIcon() {
  IconCanvas icon(20);
  cairo_t* cr = icon.cr();
  BubblePath(cr, 2.5, 3.5, 17.5, 14.5, 5.5);
  FillAndRim(cr, {0.38, 0.66, 0.92}, palette::kBlue, palette::kBlueDeep, 3, 15);
  for (int x : {5, 9, 13}) FillPixels(cr, x, 8, 2, 2, palette::kWhite);
  return icon.Encode();
}

std::vector<std::uint8_t> DrawContactWwIcon() {
  IconCanvas icon(25);
  cairo_t* cr = icon.cr();
  // The answering bubble behind, to the right.
  BubblePath(cr, 7.5, 1.5, 18.5, 9.5, 14.5);
  FillAndRim(cr, palette::kWhite, {0.99, 0.88, 0.74}, palette::kOrangeDeep, 1, 10);
  BubblePath(cr, 1.5, 6.5, 13.5, 15.5, 4.5);
  FillAndRim(cr, {0.99, 0.70, 0.34}, palette::kOrange, palette::kOrangeDeep, 6, 16);
  for (int x : {4, 7, 10}) FillPixels(cr, x, 10, 2, 2, palette::kWhite);
  return icon.Encode();
}

std::vector<std::uint8_t> DrawOpenSiteIcon() {
  IconCanvas icon(22);
  cairo_t* cr = icon.cr();
  // The globe is centred on pixel (10, 10) so its equator and meridian fall on whole pixels.
  const double cx = 10.5, cy = 10.5, r = 7.5;
  cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
  cairo_pattern_t* fill = cairo_pattern_create_radial(cx - 3, cy - 3, 1, cx, cy, r);
  cairo_pattern_add_color_stop_rgb(fill, 0, 0.62, 0.86, 0.72);
  cairo_pattern_add_color_stop_rgb(fill, 1, palette::kGreen.r, palette::kGreen.g,
                                   palette::kGreen.b);
  cairo_set_source(cr, fill);
  cairo_pattern_destroy(fill);
  cairo_fill(cr);
  {
    SavedState clip(cr);
    cairo_arc(cr, cx, cy, r - 0.5, 0, 2 * M_PI);
    cairo_clip(cr);
    FillPixels(cr, 3, 10, 15, 1, palette::kWhite, 0.85);
    FillPixels(cr, 10, 3, 1, 15, palette::kWhite, 0.85);
    FillPixels(cr, 4, 6, 13, 1, palette::kWhite, 0.55);
    FillPixels(cr, 4, 14, 13, 1, palette::kWhite, 0.55);
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, 3.5 / r, 1);
    cairo_arc(cr, 0, 0, r, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_set_line_width(cr, 1);
    SetColour(cr, palette::kWhite, 0.7);
    cairo_stroke(cr);
  }
  cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
  cairo_set_line_width(cr, 1);
  SetColour(cr, palette::kGreenDeep);
  cairo_stroke(cr);
  return icon.Encode();
}

}  // namespace picgen

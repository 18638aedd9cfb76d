#include "resources/generator/check_pictures.h"

#include "resources/generator/cairo_canvas.h"
#include "resources/generator/drawing.h"
#include "resources/generator/encoding.h"

namespace picgen {

namespace {

constexpr int kBoxCell = 17;

struct BoxLook {
  bool checked;
  bool hot;
};

void DrawCheckBox(cairo_t* cr, BoxLook look) {
  SavedState saved(cr);
  // A 13 x 13 box centred in the 17 x 17 cell, its outline on pixel centres.
  RoundedRectPath(cr, 2.5, 2.5, 12, 12, kCornerRadius - 1);
  if (look.checked) {
    look.hot ? SetVerticalGradient(cr, 2, 15, {0.42, 0.70, 0.96}, 1, palette::kBlue, 1)
             : SetVerticalGradient(cr, 2, 15, palette::kBlue, 1, palette::kBlueDeep, 1);
  } else {
    look.hot ? SetVerticalGradient(cr, 2, 15, palette::kWhite, 1, {0.86, 0.93, 0.99}, 1)
             : SetVerticalGradient(cr, 2, 15, palette::kWhite, 1, {0.91, 0.93, 0.95}, 1);
  }
  cairo_fill_preserve(cr);
  cairo_set_line_width(cr, 1);
  if (look.checked) {
    SetColour(cr, palette::kBlueDeep, 1);
  } else {
    SetColour(cr, look.hot ? palette::kBlue : palette::kGrey, 1);
  }
  cairo_stroke(cr);
  // Inner light edge along the top.
  FillPixels(cr, 4, 3, 9, 1, palette::kWhite, look.checked ? 0.35 : 0.8);
  if (look.checked) {
    StrokeTick(cr, {5.25, 8.75, 7.5, 11.0, 11.75, 6.0}, 1.75, palette::kWhite);
  }
}

}  // namespace

std::vector<std::uint8_t> DrawCheckMark() {
  Canvas canvas(20, 20);
  StrokeTick(canvas.cr(), {5.0, 10.0, 8.5, 13.5, 15.0, 6.0}, 2.0, palette::kInk, 0.9);
  return EncodePng(canvas.surface());
}

std::vector<std::uint8_t> DrawCheckBoxStrip() {
  Canvas canvas(4 * kBoxCell, kBoxCell);
  const BoxLook looks[] = {{false, false}, {false, true}, {true, false}, {true, true}};
  for (int i = 0; i < 4; ++i) {
    SavedState saved(canvas.cr());
    cairo_translate(canvas.cr(), i * kBoxCell, 0);
    DrawCheckBox(canvas.cr(), looks[i]);
  }
  return WithoutPngSignature(EncodePng(canvas.surface()));
}

}  // namespace picgen

// Decodes every embedded picture and lays them out on one PNG, at 1:1 and enlarged 4x, on a
// light and a dark ground, with a mock-up of the main window's caption over the background.
// Usage: picture_contact_sheet OUT.png

#include <cmath>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "resources/generator/cairo_canvas.h"
#include "resources/generator/picture_decoding.h"
#include "resources/pictures.h"

namespace {

using picgen::Canvas;
using picgen::SavedState;
using picgen::SurfacePtr;

enum class Format { kPng, kPngWithoutSignature, kJpeg };

struct Entry {
  const char* label;
  std::span<const std::uint8_t> bytes;
  Format format;
};

std::vector<Entry> Entries() {
  return {
      {"CaptionButtons", resources::CaptionButtons(), Format::kPngWithoutSignature},
      {"CheckBoxes", resources::CheckBoxes(), Format::kPngWithoutSignature},
      {"CheckMark", resources::CheckMark(), Format::kPng},
      {"MenuIconTopMost", resources::MenuIconTopMost(), Format::kPng},
      {"MenuIconNotTopMost", resources::MenuIconNotTopMost(), Format::kPng},
      {"MenuIconContactQq", resources::MenuIconContactQq(), Format::kPng},
      {"MenuIconContactWw", resources::MenuIconContactWw(), Format::kPng},
      {"MenuIconOpenSite", resources::MenuIconOpenSite(), Format::kPng},
      {"ProgramIcon20", resources::ProgramIcon20(), Format::kPng},
      {"ProgramIcon32", resources::ProgramIcon32(), Format::kPng},
      {"ProgramIcon48", resources::ProgramIcon48(), Format::kPng},
      {"WindowBackground", resources::WindowBackground(), Format::kJpeg},
  };
}

std::optional<SurfacePtr> Decode(const Entry& entry) {
  switch (entry.format) {
    case Format::kPng:
      return picgen::DecodePng(entry.bytes, false);
    case Format::kPngWithoutSignature:
      return picgen::DecodePng(entry.bytes, true);
    case Format::kJpeg:
      return picgen::DecodeJpeg(entry.bytes);
  }
  return std::nullopt;
}

constexpr double kLight[3] = {0.96, 0.96, 0.94};
constexpr double kDark[3] = {0.17, 0.18, 0.20};
constexpr int kGap = 12;

void Label(cairo_t* cr, double x, double y, const std::string& text, bool on_dark = false) {
  SavedState saved(cr);
  cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, 12);
  on_dark ? cairo_set_source_rgb(cr, 0.9, 0.9, 0.9) : cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
  cairo_move_to(cr, x, y);
  cairo_show_text(cr, text.c_str());
}

// Draws (sx, sy, w, h) of the picture at `scale` with sharp pixels on a ground of `ground`.
void Place(cairo_t* cr, cairo_surface_t* picture, double x, double y, int sx, int sy, int w, int h,
           int scale, const double* ground) {
  SavedState saved(cr);
  cairo_rectangle(cr, x - 4, y - 4, w * scale + 8, h * scale + 8);
  cairo_set_source_rgb(cr, ground[0], ground[1], ground[2]);
  cairo_fill(cr);
  cairo_rectangle(cr, x, y, w * scale, h * scale);
  cairo_clip(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, scale, scale);
  cairo_set_source_surface(cr, picture, -sx, -sy);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
  cairo_paint(cr);
}

// The main window as the host composes it: picture at (5, 5), clipped inside the frame, caption
// buttons at their places. `look` 0, 1, 2 picks normal, hot or pressed for every button.
void MockWindow(cairo_t* cr, cairo_surface_t* background, cairo_surface_t* strip, double x,
                double y, int look) {
  SavedState saved(cr);
  cairo_translate(cr, x, y);
  cairo_save(cr);
  cairo_rectangle(cr, 6, 6, 371, 331);
  cairo_clip(cr);
  cairo_set_source_surface(cr, background, 5, 5);
  cairo_paint(cr);
  cairo_restore(cr);
  cairo_set_line_width(cr, 1);
  cairo_rectangle(cr, 6.5, 6.5, 370, 330);
  cairo_set_source_rgba(cr, 0x60 / 255.0, 0x60 / 255.0, 0x60 / 255.0, 0.8);
  cairo_stroke(cr);
  struct Cell {
    int x, width, normal_x;
  };
  const Cell cells[] = {{338, 39, 0}, {310, 28, 294}, {282, 28, 642}};
  for (const Cell& c : cells) {
    SavedState cell(cr);
    cairo_rectangle(cr, c.x, 7, c.width, 19);
    cairo_clip(cr);
    cairo_set_source_surface(cr, strip, c.x - (c.normal_x + look * (c.width + 1)), 7 - 2);
    cairo_paint(cr);
  }
  // Title, list frame and text, and the four buttons, roughly as the program shows them.
  cairo_select_font_face(cr, "WenQuanYi Micro Hei", CAIRO_FONT_SLANT_NORMAL,
                         CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, 12);
  cairo_set_source_rgba(cr, 0, 0, 0, 210 / 255.0);
  cairo_move_to(cr, 36, 23);
  cairo_show_text(cr, "收录量查询");
  cairo_rectangle(cr, 12.5, 30.5, 358, 256);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.2);
  cairo_fill_preserve(cr);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.2);
  cairo_stroke(cr);
  cairo_rectangle(cr, 14, 32, 355, 22);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.7);
  cairo_fill(cr);
  const char* rows[] = {"ID    关键词                 收录量",
                        "1     示例关键词             12,300",
                        "2     另一个关键词           4,560"};
  for (int i = 0; i < 3; ++i) {
    cairo_set_source_rgba(cr, 0, 0, 0, 210 / 255.0);
    cairo_move_to(cr, 20, 47 + i * 24);
    cairo_show_text(cr, rows[i]);
  }
  const char* captions[] = {"导入关键词", "开始查询", "停止查询", "导出EXCEL"};
  for (int i = 0; i < 4; ++i) {
    const double bx = 12 + i * 93;
    cairo_rectangle(cr, bx + 0.5, 292.5, 79, 39);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.45);
    cairo_fill_preserve(cr);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.25);
    cairo_stroke(cr);
    cairo_set_source_rgba(cr, 0, 0, 0, 210 / 255.0);
    cairo_move_to(cr, bx + 12, 316);
    cairo_show_text(cr, captions[i]);
  }
}

// Average colour of an RGB24 picture, which the host takes as the window colour.
void AverageColour(cairo_surface_t* picture, double rgb[3]) {
  cairo_surface_flush(picture);
  const int w = cairo_image_surface_get_width(picture);
  const int h = cairo_image_surface_get_height(picture);
  const int stride = cairo_image_surface_get_stride(picture);
  const unsigned char* data = cairo_image_surface_get_data(picture);
  double sum[3] = {0, 0, 0};
  for (int y = 0; y < h; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
    for (int x = 0; x < w; ++x) {
      sum[0] += (row[x] >> 16) & 0xFF;
      sum[1] += (row[x] >> 8) & 0xFF;
      sum[2] += row[x] & 0xFF;
    }
  }
  for (int i = 0; i < 3; ++i) rgb[i] = sum[i] / (255.0 * w * h);
}

// The window menu as it opens over the main window: panel, accent strip in the window colour,
// four items with their icons (the first one lit), separators between them.
void MockMenu(cairo_t* cr, const double colour[3], const std::vector<cairo_surface_t*>& icons,
              double x, double y, bool checked_first, cairo_surface_t* check_mark) {
  SavedState saved(cr);
  cairo_translate(cr, x, y);
  const double w = 120, h = 113;
  cairo_rectangle(cr, 6, 6, w - 12, h - 12);
  cairo_set_source_rgba(cr, 1, 1, 1, 234 / 255.0);
  cairo_fill_preserve(cr);
  cairo_set_source_rgba(cr, 0, 0, 0, 125 / 255.0);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  cairo_rectangle(cr, 8, 8, 24, h - 16);
  cairo_set_source_rgba(cr, colour[0], colour[1], colour[2], 102 / 255.0);
  cairo_fill(cr);
  const char* texts[] = {"窗口置顶", "联系QQ", "联系旺旺", "打开官网"};
  cairo_select_font_face(cr, "WenQuanYi Micro Hei", CAIRO_FONT_SLANT_NORMAL,
                         CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, 12);
  double item_y = 8;
  for (int i = 0; i < 4; ++i) {
    if (i == 0) {
      cairo_rectangle(cr, 8, item_y, w - 17, 21);
      cairo_set_source_rgba(cr, colour[0], colour[1], colour[2], 225 / 255.0);
      cairo_fill(cr);
    }
    cairo_surface_t* icon = (i == 0 && checked_first) ? check_mark : icons[i];
    const int iw = cairo_image_surface_get_width(icon);
    const int ih = cairo_image_surface_get_height(icon);
    cairo_save(cr);
    cairo_rectangle(cr, 10, item_y + 1, 20, 20);
    cairo_clip(cr);
    const double ix = 10 - std::round((iw - 20) / 2.0),
                 iy = item_y + 1 - std::round((ih - 20) / 2.0);
    cairo_set_source_surface(cr, icon, ix, iy);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_set_source_rgba(cr, 0, 0, 0, (i == 0 ? 230 : 210) / 255.0);
    cairo_move_to(cr, 38, item_y + 15);
    cairo_show_text(cr, texts[i]);
    item_y += 22;
    if (i < 3) {
      cairo_rectangle(cr, 33, item_y + 1, w - 43, 1);
      cairo_set_source_rgb(cr, 0xB7 / 255.0, 0xC3 / 255.0, 0xCC / 255.0);
      cairo_fill(cr);
      item_y += 3;
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: picture_contact_sheet OUT.png\n");
    return 2;
  }
  const std::vector<Entry> entries = Entries();
  std::vector<SurfacePtr> pictures;
  for (const Entry& entry : entries) {
    std::optional<SurfacePtr> picture = Decode(entry);
    if (!picture) {
      std::fprintf(stderr, "picture_contact_sheet: %s does not decode\n", entry.label);
      return 1;
    }
    pictures.push_back(std::move(*picture));
  }

  constexpr int kSheetWidth = 1900;
  constexpr int kSheetHeight = 2600;
  Canvas sheet(kSheetWidth, kSheetHeight);
  cairo_t* cr = sheet.cr();
  cairo_set_source_rgb(cr, 0.85, 0.85, 0.84);
  cairo_paint(cr);

  double y = 24;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    cairo_surface_t* picture = pictures[i].get();
    const int w = cairo_image_surface_get_width(picture);
    const int h = cairo_image_surface_get_height(picture);
    Label(cr, kGap, y,
          std::string(entries[i].label) + "  " + std::to_string(w) + " x " + std::to_string(h) +
              ", " + std::to_string(entries[i].bytes.size()) + " bytes");
    y += kGap;
    if (entries[i].format == Format::kJpeg) {
      Place(cr, picture, kGap, y, 0, 0, w, h, 1, kLight);
      MockWindow(cr, picture, pictures[0].get(), kGap + w + 3 * kGap, y, 0);
      MockWindow(cr, picture, pictures[0].get(), kGap + w + 3 * kGap + 383 + kGap, y, 1);
      MockWindow(cr, picture, pictures[0].get(), kGap + w + 3 * kGap + 2 * (383 + kGap), y, 2);
      double colour[3];
      AverageColour(picture, colour);
      const std::vector<cairo_surface_t*> icons = {pictures[3].get(), pictures[5].get(),
                                                   pictures[6].get(), pictures[7].get()};
      const double menu_y = y + h + 2 * kGap;
      MockMenu(cr, colour, icons, kGap + 4 * 200, menu_y, false, pictures[2].get());
      MockMenu(cr, colour, {pictures[4].get(), icons[1], icons[2], icons[3]}, kGap + 4 * 200 + 130,
               menu_y, false, pictures[2].get());
      MockMenu(cr, colour, icons, kGap + 4 * 200 + 260, menu_y, true, pictures[2].get());
      Label(cr, kGap + 4 * 200, menu_y + 130,
            "window colour " + std::to_string(static_cast<int>(colour[0] * 255)) + ", " +
                std::to_string(static_cast<int>(colour[1] * 255)) + ", " +
                std::to_string(static_cast<int>(colour[2] * 255)));
      y += h + 2 * kGap;
      // The caption corner enlarged, where the glyphs meet the picture.
      Place(cr, picture, kGap, y, 250, 0, 200, 40, 4, kLight);
      y += 40 * 4 + 3 * kGap;
      continue;
    }
    Place(cr, picture, kGap, y, 0, 0, w, h, 1, kLight);
    Place(cr, picture, kGap + w + 2 * kGap, y, 0, 0, w, h, 1, kDark);
    if (w > 400) {
      // Wide strips are enlarged in two halves, one under the other.
      y += h + 2 * kGap;
      const int half = (w + 1) / 2;
      for (int part = 0; part < 2; ++part) {
        Place(cr, picture, kGap, y, part * half, 0, half, h, 4, kLight);
        y += h * 4 + kGap;
        Place(cr, picture, kGap, y, part * half, 0, half, h, 4, kDark);
        y += h * 4 + 2 * kGap;
      }
    } else {
      const double x4 = kGap + 2 * (w + 2 * kGap);
      Place(cr, picture, x4, y, 0, 0, w, h, 4, kLight);
      Place(cr, picture, x4 + 4 * w + 2 * kGap, y, 0, 0, w, h, 4, kDark);
      y += h * 4 + 2 * kGap;
    }
    y += kGap;
  }
  cairo_surface_flush(sheet.surface());
  if (cairo_surface_write_to_png(sheet.surface(), argv[1]) != CAIRO_STATUS_SUCCESS) {
    std::fprintf(stderr, "picture_contact_sheet: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}

#include <csetjmp>
#include <cstdio>
#include <memory>
#include <vector>

// jpeglib.h needs FILE and size_t declared first.
#include <jerror.h>
#include <jpeglib.h>

#include "platform/gfx/color.h"
#include "platform/gfx/image_decoders.h"

namespace platform::gfx {

namespace {

struct ErrorTrap {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  bool cut_short = false;
};

[[noreturn]] void OnFatal(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorTrap*>(info->err)->jump, 1);
}

// The library pads data that ends early with grey and carries on; such bytes count as broken.
void OnMessage(j_common_ptr info, int level) {
  auto* trap = reinterpret_cast<ErrorTrap*>(info->err);
  if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) trap->cut_short = true;
}

struct Decoding {
  jpeg_decompress_struct info{};
  ErrorTrap trap{};
  Bitmap bitmap;
  std::vector<JSAMPLE> row;
  ~Decoding() { jpeg_destroy_decompress(&info); }
};

// Runs every library call; a fatal error jumps back to DecodeJpeg's setjmp. Nothing here
// owns a resource that the jump would skip: the state lives in Decoding.
bool Run(Decoding& d, std::span<const std::uint8_t> bytes) {
  jpeg_mem_src(&d.info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  if (jpeg_read_header(&d.info, TRUE) != JPEG_HEADER_OK) return false;
  d.info.out_color_space = JCS_RGB;
  if (!jpeg_start_decompress(&d.info)) return false;
  if (d.info.output_components != 3) return false;
  d.bitmap =
      Bitmap::create(static_cast<int>(d.info.output_width), static_cast<int>(d.info.output_height));
  if (d.bitmap.empty()) return false;
  d.row.resize(static_cast<std::size_t>(d.info.output_width) * 3);
  std::uint32_t* out = d.bitmap.pixels();
  const int words_per_row = d.bitmap.stride() / 4;
  while (d.info.output_scanline < d.info.output_height) {
    const int y = static_cast<int>(d.info.output_scanline);
    JSAMPROW rows[] = {d.row.data()};
    if (jpeg_read_scanlines(&d.info, rows, 1) != 1) return false;
    if (d.trap.cut_short) return false;
    std::uint32_t* target = out + static_cast<std::ptrdiff_t>(y) * words_per_row;
    for (JDIMENSION x = 0; x < d.info.output_width; ++x) {
      target[x] = MakeColor(255, d.row[x * 3], d.row[x * 3 + 1], d.row[x * 3 + 2]);
    }
  }
  jpeg_finish_decompress(&d.info);
  d.bitmap.mark_dirty();
  return !d.trap.cut_short;
}

}  // namespace

std::optional<Image> DecodeJpeg(std::span<const std::uint8_t> bytes) {
  auto d = std::make_unique<Decoding>();
  d->info.err = jpeg_std_error(&d->trap.manager);
  d->trap.manager.error_exit = OnFatal;
  d->trap.manager.emit_message = OnMessage;
  jpeg_create_decompress(&d->info);
  if (setjmp(d->trap.jump) != 0) return std::nullopt;
  if (!Run(*d, bytes)) return std::nullopt;
  return Image::still(std::move(d->bitmap));
}

}  // namespace platform::gfx

#include "resources/generator/encoding.h"

#include <cstdio>
// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

#include <cstdlib>
#include <memory>

namespace picgen {

namespace {

cairo_status_t AppendToVector(void* closure, const unsigned char* data, unsigned int length) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(closure);
  out->insert(out->end(), data, data + length);
  return CAIRO_STATUS_SUCCESS;
}

// Exif block: TIFF header (little-endian) and one IFD holding only the orientation "top-left".
std::vector<std::uint8_t> MinimalExifBlock() {
  return {'E',  'x',  'i', 'f', 0, 0,                    // identifier
          'I',  'I',  42,  0,   8, 0, 0, 0,              // TIFF header, IFD0 at offset 8
          1,    0,                                       // one entry
          0x12, 0x01, 3,   0,   1, 0, 0, 0, 1, 0, 0, 0,  // Orientation, SHORT, 1 value: 1
          0,    0,    0,   0};                           // no next IFD
}

struct CompressDeleter {
  void operator()(jpeg_compress_struct* c) const { jpeg_destroy_compress(c); }
};

}  // namespace

std::vector<std::uint8_t> EncodePng(cairo_surface_t* surface) {
  std::vector<std::uint8_t> out;
  cairo_surface_flush(surface);
  if (cairo_surface_write_to_png_stream(surface, AppendToVector, &out) != CAIRO_STATUS_SUCCESS) {
    out.clear();
  }
  return out;
}

std::vector<std::uint8_t> WithoutPngSignature(std::span<const std::uint8_t> png) {
  constexpr std::size_t kSignatureLength = 8;
  if (png.size() < kSignatureLength) return {};
  return {png.begin() + kSignatureLength, png.end()};
}

std::vector<std::uint8_t> EncodeBaselineJpeg(cairo_surface_t* surface, int quality) {
  cairo_surface_flush(surface);
  const int width = cairo_image_surface_get_width(surface);
  const int height = cairo_image_surface_get_height(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  const unsigned char* pixels = cairo_image_surface_get_data(surface);

  jpeg_error_mgr errors;
  jpeg_compress_struct info;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  std::unique_ptr<jpeg_compress_struct, CompressDeleter> owner(&info);

  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = width;
  info.image_height = height;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  info.write_JFIF_header = FALSE;
  info.optimize_coding = TRUE;
  // Full-resolution colour: the soft gradients band visibly with subsampled chroma.
  for (int i = 0; i < info.num_components; ++i) {
    info.comp_info[i].h_samp_factor = 1;
    info.comp_info[i].v_samp_factor = 1;
  }
  jpeg_start_compress(&info, TRUE);
  const std::vector<std::uint8_t> exif = MinimalExifBlock();
  jpeg_write_marker(&info, JPEG_APP0 + 1, exif.data(), static_cast<unsigned>(exif.size()));

  std::vector<unsigned char> row(static_cast<std::size_t>(width) * 3);
  while (info.next_scanline < info.image_height) {
    const auto* src = reinterpret_cast<const std::uint32_t*>(pixels + info.next_scanline * stride);
    for (int x = 0; x < width; ++x) {
      row[x * 3 + 0] = (src[x] >> 16) & 0xFF;
      row[x * 3 + 1] = (src[x] >> 8) & 0xFF;
      row[x * 3 + 2] = src[x] & 0xFF;
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  std::vector<std::uint8_t> out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

}  // namespace picgen

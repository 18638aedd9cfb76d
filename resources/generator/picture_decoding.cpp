#include "resources/generator/picture_decoding.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>
// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

namespace picgen {

namespace {

constexpr std::uint8_t kPngSignature[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};

struct ByteReader {
  std::span<const std::uint8_t> bytes;
  std::size_t position = 0;
};

cairo_status_t ReadFromSpan(void* closure, unsigned char* data, unsigned int length) {
  auto* reader = static_cast<ByteReader*>(closure);
  if (reader->bytes.size() - reader->position < length) return CAIRO_STATUS_READ_ERROR;
  std::memcpy(data, reader->bytes.data() + reader->position, length);
  reader->position += length;
  return CAIRO_STATUS_SUCCESS;
}

// libjpeg reports fatal errors through a callback that must not return.
struct JpegErrorTrap {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

[[noreturn]] void JumpOnJpegError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<JpegErrorTrap*>(info->err)->jump, 1);
}

void SilenceJpegMessage(j_common_ptr) {}

}  // namespace

std::optional<SurfacePtr> DecodePng(std::span<const std::uint8_t> bytes, bool add_signature) {
  if (bytes.empty()) return std::nullopt;
  std::vector<std::uint8_t> whole;
  if (add_signature) whole.assign(std::begin(kPngSignature), std::end(kPngSignature));
  whole.insert(whole.end(), bytes.begin(), bytes.end());
  ByteReader reader{whole};
  SurfacePtr surface(cairo_image_surface_create_from_png_stream(ReadFromSpan, &reader));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return std::nullopt;
  return surface;
}

namespace {

struct RgbPixels {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgb;
};

// Keeps setjmp in a frame whose own locals are never touched after it; the pixels live in the
// caller's object.
bool ReadJpegPixels(std::span<const std::uint8_t> bytes, RgbPixels& out) {
  jpeg_decompress_struct info;
  JpegErrorTrap trap;
  info.err = jpeg_std_error(&trap.manager);
  trap.manager.error_exit = JumpOnJpegError;
  trap.manager.output_message = SilenceJpegMessage;
  jpeg_create_decompress(&info);
  if (setjmp(trap.jump) != 0) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  out.width = static_cast<int>(info.output_width);
  out.height = static_cast<int>(info.output_height);
  out.rgb.resize(static_cast<std::size_t>(out.width) * out.height * 3);
  while (info.output_scanline < info.output_height) {
    JSAMPROW rows[1] = {out.rgb.data() +
                        static_cast<std::size_t>(info.output_scanline) * out.width * 3};
    jpeg_read_scanlines(&info, rows, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

}  // namespace

std::optional<SurfacePtr> DecodeJpeg(std::span<const std::uint8_t> bytes) {
  if (bytes.empty()) return std::nullopt;
  RgbPixels pixels;
  if (!ReadJpegPixels(bytes, pixels)) return std::nullopt;
  SurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, pixels.width, pixels.height));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return std::nullopt;
  unsigned char* data = cairo_image_surface_get_data(surface.get());
  const int stride = cairo_image_surface_get_stride(surface.get());
  for (int y = 0; y < pixels.height; ++y) {
    auto* dst = reinterpret_cast<std::uint32_t*>(data + y * stride);
    const unsigned char* src = pixels.rgb.data() + static_cast<std::size_t>(y) * pixels.width * 3;
    for (int x = 0; x < pixels.width; ++x) {
      dst[x] = 0xFF000000u | (src[x * 3] << 16) | (src[x * 3 + 1] << 8) | src[x * 3 + 2];
    }
  }
  cairo_surface_mark_dirty(surface.get());
  return surface;
}

}  // namespace picgen

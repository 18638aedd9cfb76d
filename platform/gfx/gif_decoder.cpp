#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/gfx/color.h"
#include "platform/gfx/image_decoders.h"

namespace platform::gfx {

namespace {

// Decoded frames are kept whole; refuse animations that would need more than this.
constexpr long long kMaxTotalPixels = 64LL * 1024 * 1024;

struct Reader {
  std::span<const std::uint8_t> bytes;
  std::size_t position = 0;
};

int Read(GifFileType* gif, GifByteType* out, int wanted) {
  auto* r = static_cast<Reader*>(gif->UserData);
  const std::size_t n =
      std::min(static_cast<std::size_t>(std::max(wanted, 0)), r->bytes.size() - r->position);
  std::memcpy(out, r->bytes.data() + r->position, n);
  r->position += n;
  return static_cast<int>(n);
}

struct GifClose {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};

// Paints one frame's pixels onto the canvas (straight ARGB words, no premultiplication
// needed: GIF pixels are either opaque or left out).
bool PaintFrame(const GifFileType* gif, int index, const GraphicsControlBlock& control,
                std::vector<std::uint32_t>& canvas) {
  const SavedImage& frame = gif->SavedImages[index];
  const ColorMapObject* map = frame.ImageDesc.ColorMap ? frame.ImageDesc.ColorMap : gif->SColorMap;
  if (map == nullptr || frame.RasterBits == nullptr) return false;
  const GifImageDesc& d = frame.ImageDesc;
  for (int y = 0; y < d.Height; ++y) {
    const int cy = d.Top + y;
    if (cy < 0 || cy >= gif->SHeight) continue;
    for (int x = 0; x < d.Width; ++x) {
      const int cx = d.Left + x;
      if (cx < 0 || cx >= gif->SWidth) continue;
      const int c = frame.RasterBits[static_cast<std::size_t>(y) * d.Width + x];
      if (c == control.TransparentColor || c >= map->ColorCount) continue;
      const GifColorType& rgb = map->Colors[c];
      canvas[static_cast<std::size_t>(cy) * gif->SWidth + cx] =
          MakeColor(255, rgb.Red, rgb.Green, rgb.Blue);
    }
  }
  return true;
}

void ClearRect(const GifFileType* gif, const GifImageDesc& d, std::vector<std::uint32_t>& canvas) {
  for (int y = std::max(d.Top, 0); y < std::min(d.Top + d.Height, gif->SHeight); ++y) {
    for (int x = std::max(d.Left, 0); x < std::min(d.Left + d.Width, gif->SWidth); ++x) {
      canvas[static_cast<std::size_t>(y) * gif->SWidth + x] = 0;
    }
  }
}

Bitmap ToBitmap(const std::vector<std::uint32_t>& canvas, int width, int height) {
  Bitmap b = Bitmap::create(width, height);
  if (b.empty()) return b;
  std::uint32_t* out = b.pixels();
  const int words_per_row = b.stride() / 4;
  for (int y = 0; y < height; ++y) {
    std::memcpy(out + static_cast<std::ptrdiff_t>(y) * words_per_row,
                canvas.data() + static_cast<std::size_t>(y) * width,
                static_cast<std::size_t>(width) * 4);
  }
  b.mark_dirty();
  return b;
}

}  // namespace

std::optional<Image> DecodeGif(std::span<const std::uint8_t> bytes) {
  Reader reader{bytes};
  int error = 0;
  std::unique_ptr<GifFileType, GifClose> gif(DGifOpen(&reader, Read, &error));
  if (!gif) return std::nullopt;
  const int width = gif->SWidth;
  const int height = gif->SHeight;
  if (width <= 0 || height <= 0 || static_cast<long long>(width) * height > kMaxTotalPixels) {
    return std::nullopt;
  }
  if (DGifSlurp(gif.get()) != GIF_OK) return std::nullopt;
  const int count = gif->ImageCount;
  if (count <= 0 || static_cast<long long>(width) * height * count > kMaxTotalPixels) {
    return std::nullopt;
  }
  std::vector<std::uint32_t> canvas(static_cast<std::size_t>(width) * height, 0);
  std::vector<Bitmap> frames;
  std::vector<std::int32_t> delays;
  for (int i = 0; i < count; ++i) {
    GraphicsControlBlock control{};
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    DGifSavedExtensionToGCB(gif.get(), i, &control);
    const std::vector<std::uint32_t> before =
        control.DisposalMode == DISPOSE_PREVIOUS ? canvas : std::vector<std::uint32_t>{};
    if (!PaintFrame(gif.get(), i, control, canvas)) return std::nullopt;
    frames.push_back(ToBitmap(canvas, width, height));
    if (frames.back().empty()) return std::nullopt;
    delays.push_back(control.DelayTime);
    if (control.DisposalMode == DISPOSE_BACKGROUND) {
      ClearRect(gif.get(), gif->SavedImages[i].ImageDesc, canvas);
    } else if (control.DisposalMode == DISPOSE_PREVIOUS) {
      canvas = before;
    }
  }
  return Image::animation(std::move(frames), std::move(delays));
}

}  // namespace platform::gfx

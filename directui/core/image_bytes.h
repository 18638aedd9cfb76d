#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "directui/core/rect_f.h"
#include "platform/gfx/graphics.h"
#include "platform/gfx/image.h"

namespace directui {

using ImagePtr = std::unique_ptr<platform::gfx::Image>;

struct ImageLoadOptions {
  // The bytes are PNG data stored without the 8-byte signature: put it back before decoding.
  bool add_signature = false;
  // Hand back the decoded image as it is, every frame of an animation kept and selectable (what
  // a playing picture needs). Otherwise the result is a 32-bit ARGB copy of the picture.
  bool keep_stream = false;
};

// Decodes a PNG, JPEG or GIF picture. Null for empty bytes (nothing is allocated then) and for
// bytes that do not decode.
ImagePtr LoadImageFromBytes(std::span<const std::uint8_t> bytes, ImageLoadOptions options = {});

// Disposes of what a stream-keeping load returned and leaves the holder empty. The decoder reads
// every frame at once, so no memory or stream stays behind the image.
void FreeStreamImage(ImagePtr& image);

// Pixels; 0 without an image.
int GetImageWidth(const platform::gfx::Image* image);
int GetImageHeight(const platform::gfx::Image* image);

// Draws the image's active frame, or the source area of it, into the destination, scaled.
// Without a source the whole image is drawn. Nothing without an image.
void DrawImageRect(platform::gfx::Graphics& graphics, const platform::gfx::Image* image,
                   const RectF& destination, std::optional<RectF> source = std::nullopt,
                   const std::optional<platform::gfx::ImageAttributes>& attributes = std::nullopt);

}  // namespace directui

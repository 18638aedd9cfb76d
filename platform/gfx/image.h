#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/gfx/bitmap.h"

namespace platform::gfx {

// A decoded picture: PNG, JPEG or GIF. A GIF has every frame, composed onto its canvas as it
// would be shown, and a delay per frame in hundredths of a second.
class Image {
 public:
  // None for bytes that are empty, of another format, broken or cut short.
  static std::optional<Image> decode(std::span<const std::uint8_t> bytes);

  int width() const { return frames_.front().width(); }
  int height() const { return frames_.front().height(); }
  // Frames in the time dimension: an animation's frame count, 0 for a still picture.
  int time_frame_count() const { return animated_ ? static_cast<int>(frames_.size()) : 0; }
  // Chooses the frame the image shows; false (and no change) for an index out of range.
  bool select_frame(int index);
  int active_frame() const { return active_; }
  const Bitmap& bitmap() const { return frames_[static_cast<std::size_t>(active_)]; }
  // The frame-delay property, one value per frame; none for pictures without it.
  const std::optional<std::vector<std::int32_t>>& frame_delays() const { return delays_; }

  // For the decoders: a still picture, or an animation with its delays.
  static Image still(Bitmap bitmap);
  static Image animation(std::vector<Bitmap> frames, std::vector<std::int32_t> delays);

 private:
  Image() = default;
  std::vector<Bitmap> frames_;
  std::optional<std::vector<std::int32_t>> delays_;
  bool animated_ = false;
  int active_ = 0;
};

}  // namespace platform::gfx

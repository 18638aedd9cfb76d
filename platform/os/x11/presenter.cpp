#include "platform/os/x11/presenter.h"

#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <bit>
#include <cstring>

#include "platform/os/x11/error_trap.h"

namespace platform::os::x11 {

namespace {

constexpr std::uint32_t kOpaque = 0xFF000000u;
// Our pixels are 32-bit words in the machine's own byte order.
constexpr int kNativeByteOrder = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;

int ZPixmapBitsPerPixel(Display* display, int depth) {
  int count = 0;
  XPixmapFormatValues* formats = XListPixmapFormats(display, &count);
  int bits = 0;
  for (int i = 0; i < count; ++i) {
    if (formats[i].depth == depth) bits = formats[i].bits_per_pixel;
  }
  if (formats != nullptr) XFree(formats);
  return bits;
}

const std::uint32_t* Row(const PixelView& pixels, int y) {
  return reinterpret_cast<const std::uint32_t*>(
      reinterpret_cast<const unsigned char*>(pixels.pixels) +
      static_cast<std::ptrdiff_t>(y) * pixels.stride_bytes);
}

void CopyRow(std::uint32_t* target, const std::uint32_t* source, int count, bool force_alpha) {
  if (!force_alpha) {
    std::memcpy(target, source, static_cast<std::size_t>(count) * 4);
    return;
  }
  for (int i = 0; i < count; ++i) target[i] = source[i] | kOpaque;
}

}  // namespace

// A System V segment attached on both sides, of the window's size when it was made.
class Presenter::SharedImage {
 public:
  static std::unique_ptr<SharedImage> Create(Display* display, const VisualChoice& visual,
                                             int width, int height) {
    auto image = std::unique_ptr<SharedImage>(new SharedImage(display));
    if (!image->Allocate(visual, width, height)) return nullptr;
    return image;
  }
  ~SharedImage() {
    if (attached_) {
      XShmDetach(display_, &info_);
      XSync(display_, False);
    }
    if (image_ != nullptr) {
      image_->data = nullptr;
      XDestroyImage(image_);
    }
    if (info_.shmaddr != nullptr) shmdt(info_.shmaddr);
  }

  XImage* image() const { return image_; }
  bool Fits(int width, int height) const {
    return image_->width >= width && image_->height >= height;
  }

 private:
  explicit SharedImage(Display* display) : display_(display) {}

  bool Allocate(const VisualChoice& visual, int width, int height) {
    image_ = XShmCreateImage(display_, visual.visual, static_cast<unsigned>(visual.depth), ZPixmap,
                             nullptr, &info_, static_cast<unsigned>(width),
                             static_cast<unsigned>(height));
    if (image_ == nullptr) return false;
    const std::size_t bytes =
        static_cast<std::size_t>(image_->bytes_per_line) * static_cast<std::size_t>(height);
    info_.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (info_.shmid < 0) return false;
    void* address = shmat(info_.shmid, nullptr, 0);
    if (address != reinterpret_cast<void*>(-1)) {
      info_.shmaddr = image_->data = static_cast<char*>(address);
      info_.readOnly = False;
      ErrorTrap trap(display_);
      XShmAttach(display_, &info_);
      attached_ = trap.Check() == 0;  // a server on another machine cannot reach our memory
    }
    // Marked for removal at once: the segment goes when the last side detaches, even when
    // the program dies.
    shmctl(info_.shmid, IPC_RMID, nullptr);
    return attached_;
  }

  Display* display_;
  XShmSegmentInfo info_{0, -1, nullptr, False};
  XImage* image_ = nullptr;
  bool attached_ = false;
};

Presenter::Presenter(const Connection& connection, XWindow window, const VisualChoice& visual)
    : connection_(connection),
      window_(window),
      visual_(visual),
      gc_(XCreateGC(connection.display(), window, 0, nullptr)),
      direct_layout_(ZPixmapBitsPerPixel(connection.display(), visual.depth) == 32 &&
                     ImageByteOrder(connection.display()) == kNativeByteOrder) {}

Presenter::~Presenter() {
  Finish();
  shared_.reset();
  XFreeGC(connection_.display(), gc_);
}

void Presenter::Finish() {
  if (in_flight_) XSync(connection_.display(), False);
  in_flight_ = false;
}

void Presenter::Present(const PixelView& pixels, const Rect& dirty, bool opaque) {
  if (pixels.empty() || pixels.stride_bytes < pixels.width * 4) return;
  const Rect area = dirty.intersect(Rect{0, 0, pixels.width, pixels.height});
  if (area.empty()) return;
  const bool force_alpha = opaque && visual_.argb;
  if (connection_.features().shared_memory && direct_layout_ && !shared_failed_) {
    if (!shared_ || !shared_->Fits(pixels.width, pixels.height)) {
      Finish();
      shared_.reset();
      shared_ = SharedImage::Create(connection_.display(), visual_, pixels.width, pixels.height);
      shared_failed_ = shared_ == nullptr;
    }
    if (shared_) {
      PresentShared(pixels, area, force_alpha);
      return;
    }
  }
  PresentPlain(pixels, area, force_alpha);
}

void Presenter::PresentShared(const PixelView& pixels, const Rect& area, bool force_alpha) {
  Finish();  // the server may still be reading the previous frame from the segment
  XImage* image = shared_->image();
  for (int y = area.top; y < area.bottom; ++y) {
    auto* target = reinterpret_cast<std::uint32_t*>(image->data + static_cast<std::ptrdiff_t>(y) *
                                                                      image->bytes_per_line);
    CopyRow(target + area.left, Row(pixels, y) + area.left, area.width(), force_alpha);
  }
  XShmPutImage(connection_.display(), window_, gc_, image, area.left, area.top, area.left, area.top,
               static_cast<unsigned>(area.width()), static_cast<unsigned>(area.height()), False);
  XFlush(connection_.display());
  in_flight_ = true;
}

void Presenter::PresentPlain(const PixelView& pixels, const Rect& area, bool force_alpha) {
  Display* display = connection_.display();
  const std::uint32_t* data = pixels.pixels;
  int stride = pixels.stride_bytes;
  int left = area.left;
  int top = area.top;
  if (force_alpha) {
    opaque_copy_.resize(static_cast<std::size_t>(area.width()) * area.height());
    for (int y = area.top; y < area.bottom; ++y) {
      CopyRow(opaque_copy_.data() + static_cast<std::size_t>(y - area.top) * area.width(),
              Row(pixels, y) + area.left, area.width(), true);
    }
    data = opaque_copy_.data();
    stride = area.width() * 4;
    left = 0;
    top = 0;
  }
  const int image_width = force_alpha ? area.width() : pixels.width;
  const int image_height = force_alpha ? area.height() : pixels.height;
  // The image borrows the pixels; Xlib copies them into the request.
  XImage* image = XCreateImage(
      display, visual_.visual, static_cast<unsigned>(visual_.depth), ZPixmap, 0,
      reinterpret_cast<char*>(const_cast<std::uint32_t*>(data)), static_cast<unsigned>(image_width),
      static_cast<unsigned>(image_height), 32, stride);
  if (image == nullptr) return;
  image->byte_order = kNativeByteOrder;
  image->bits_per_pixel = 32;  // Xlib converts when the server lays pixels out otherwise
  XInitImage(image);
  XPutImage(display, window_, gc_, image, left, top, area.left, area.top,
            static_cast<unsigned>(area.width()), static_cast<unsigned>(area.height()));
  XFlush(display);
  image->data = nullptr;
  XDestroyImage(image);
}

}  // namespace platform::os::x11

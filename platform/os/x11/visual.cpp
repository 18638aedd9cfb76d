#include "platform/os/x11/visual.h"

#include <X11/Xutil.h>

#include "platform/os/x11/window_manager.h"

namespace platform::os::x11 {

namespace {

Visual* FindArgbVisual(Display* display, int screen) {
  XVisualInfo pattern{};
  pattern.screen = screen;
  pattern.depth = 32;
  pattern.c_class = TrueColor;
  int count = 0;
  XVisualInfo* infos = XGetVisualInfo(display, VisualScreenMask | VisualDepthMask | VisualClassMask,
                                      &pattern, &count);
  Visual* found = nullptr;
  for (int i = 0; i < count && found == nullptr; ++i) {
    // Colour in the low 24 bits leaves the top byte to alpha, as our surfaces lay it out.
    if (infos[i].red_mask == 0xFF0000 && infos[i].green_mask == 0xFF00 &&
        infos[i].blue_mask == 0xFF) {
      found = infos[i].visual;
    }
  }
  if (infos != nullptr) XFree(infos);
  return found;
}

}  // namespace

VisualCatalog::VisualCatalog(const Connection& connection) : connection_(connection) {
  Display* display = connection.display();
  Visual* visual = FindArgbVisual(display, connection.screen());
  if (visual != nullptr) {
    argb_.visual = visual;
    argb_.depth = 32;
    argb_.colormap = XCreateColormap(display, connection.root(), visual, AllocNone);
    argb_.argb = true;
  }
}

VisualCatalog::~VisualCatalog() {
  if (argb_.colormap != None) XFreeColormap(connection_.display(), argb_.colormap);
}

VisualChoice VisualCatalog::Default() const {
  Display* display = connection_.display();
  return {DefaultVisual(display, connection_.screen()), DefaultDepth(display, connection_.screen()),
          None, false};
}

VisualChoice VisualCatalog::ForNewWindow() const {
  if (HasArgb() && CompositorRunning(connection_)) return argb_;
  return Default();
}

}  // namespace platform::os::x11

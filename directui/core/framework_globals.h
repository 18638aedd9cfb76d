#pragma once

#include <memory>
#include <optional>

#include "directui/core/image_bytes.h"
#include "platform/gfx/font.h"
#include "platform/os/cursor_shape.h"
#include "platform/os/icon.h"

namespace directui {

// The framework's process-wide resources. InitFramework writes them once, on the
// user-interface thread before any other thread starts; afterwards they are only read, and they
// stay until the process ends.

// Major version of the running system as the host's composition effects understand it. They
// need the blur-behind service of one particular desktop family, which no desktop here has, so
// it stays 0 and those effects stay off.
extern int OsMajorVersion;

// The 12-pixel regular font of every element that is given none; none when neither candidate
// family exists.
extern std::optional<platform::gfx::Font> DefaultFont;

// The class cursor of "Ex_DirectUI" and the host's default cursor.
extern platform::os::CursorShape DefaultCursor;

// The icon RegisterWindowClass gave the last class it registered.
extern std::shared_ptr<const platform::os::Icon> ClassIcon;

// The 729 × 20 caption-button strip as a 32-bit ARGB picture.
extern ImagePtr SpriteImage;

}  // namespace directui

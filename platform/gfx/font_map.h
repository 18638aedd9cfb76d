#pragma once

// Internal to platform/gfx: the font map text is laid out with.

using PangoFontMap = struct _PangoFontMap;
using PangoContext = struct _PangoContext;
using FcConfig = struct _FcConfig;

namespace platform::gfx {

// The font map of the loaded configuration (the system's when none was loaded); a borrowed
// pointer that stays valid until the next configuration load.
PangoFontMap* CurrentFontMap();

// The configuration CurrentFontMap uses; borrowed likewise.
FcConfig* CurrentFontConfig();

// A new context on the current font map; the caller unrefs it.
PangoContext* NewTextContext();

}  // namespace platform::gfx

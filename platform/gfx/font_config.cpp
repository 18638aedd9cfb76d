#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>
#include <pango/pangofc-fontmap.h>

#include <mutex>

#include "platform/gfx/font_config.h"
#include "platform/gfx/font_map.h"

namespace platform::gfx {

namespace {

// Fontconfig's current configuration is process-wide by nature; the font map built on it is
// kept beside it so that every layout agrees with the family lookups.
struct FontSetup {
  std::mutex mutex;
  FcConfig* config = nullptr;
  PangoFontMap* font_map = nullptr;
};

FontSetup& Setup() {
  static FontSetup setup;
  return setup;
}

// Takes over the caller's reference to config; the setup's mutex must be held.
void InstallLocked(FontSetup& s, FcConfig* config) {
  PangoFontMap* map = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
  if (map == nullptr) map = pango_cairo_font_map_new();
  pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(map), config);
  if (s.font_map != nullptr) g_object_unref(s.font_map);
  if (s.config != nullptr) FcConfigDestroy(s.config);
  s.config = config;
  s.font_map = map;
}

bool Finish(FcConfig* config, bool parsed) {
  if (!parsed || !FcConfigBuildFonts(config) || !FcConfigSetCurrent(config)) {
    FcConfigDestroy(config);
    return false;
  }
  FontSetup& s = Setup();
  std::lock_guard lock(s.mutex);
  InstallLocked(s, config);  // keeps our reference; SetCurrent took its own
  return true;
}

}  // namespace

bool LoadFontConfigFile(const std::string& path) {
  FcInit();
  FcConfig* config = FcConfigCreate();
  if (config == nullptr) return false;
  const bool parsed =
      FcConfigParseAndLoad(config, reinterpret_cast<const FcChar8*>(path.c_str()), FcTrue);
  return Finish(config, parsed);
}

bool LoadFontConfigText(std::string_view xml) {
  FcInit();
  FcConfig* config = FcConfigCreate();
  if (config == nullptr) return false;
  const std::string text(xml);
  const bool parsed = FcConfigParseAndLoadFromMemory(
      config, reinterpret_cast<const FcChar8*>(text.c_str()), FcTrue);
  return Finish(config, parsed);
}

PangoFontMap* CurrentFontMap() {
  FontSetup& s = Setup();
  std::lock_guard lock(s.mutex);
  if (s.font_map == nullptr) {
    FcInit();
    InstallLocked(s, FcConfigReference(nullptr));  // the system's current configuration
  }
  return s.font_map;
}

FcConfig* CurrentFontConfig() {
  CurrentFontMap();
  FontSetup& s = Setup();
  std::lock_guard lock(s.mutex);
  return s.config;
}

PangoContext* NewTextContext() {
  return pango_font_map_create_context(CurrentFontMap());
}

}  // namespace platform::gfx

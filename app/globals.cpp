#include "app/globals.h"

namespace app {

platform::os::Desktop* ProgramDesktop = nullptr;
platform::os::Window MainWindow;
std::string BrandingText;
std::string BrandTitle;

// The framework objects of the layout (host, panel, labels, picture, list, buttons, menu) join
// these two routines as their classes arrive; until then only the texts are global.
void CreateGlobals() {
  BrandingText.clear();
  BrandTitle.clear();
}

void ReleaseGlobals() {
  BrandingText = std::string();
  BrandTitle = std::string();
}

}  // namespace app

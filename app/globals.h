#pragma once

#include <string>

#include "platform/os/desktop.h"

namespace app {

// The window system the program runs on, set by start-up before anything touches a window.
// The program has exactly one, as it has one user-interface thread.
extern platform::os::Desktop* ProgramDesktop;

// The program's one top-level window; none until start-up creates it.
extern platform::os::Window MainWindow;

// The deciphered branding text and the title cut out of it (the window's "created" handler
// fills them).
extern std::string BrandingText;
extern std::string BrandTitle;

// Constructs the application's global objects in their default state; touches no window.
void CreateGlobals();

// Frees BrandingText and BrandTitle, then the global objects in the order they were made.
// The module's exit routine: it runs on a normal exit, never after a close request.
void ReleaseGlobals();

}  // namespace app

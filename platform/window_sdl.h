// The real window, through SDL2.
#pragma once
#include <memory>
#include <string>

#include "platform/window.h"

namespace qx {

// scale 0 picks the largest whole factor that keeps the window comfortably
// inside the screen.  nullptr with the reason in *error when no window can
// be made (no display, no video driver).
std::unique_ptr<Window> create_sdl_window(const std::string& title, int scale, std::string* error);

}  // namespace qx

// The one window and the picture of the screen everything draws into.  The
// face is composed in `screen` and shown with present(); message boxes and
// dialogs open over what the screen shows.
#pragma once
#include <string>

#include "platform/surface.h"
#include "platform/window.h"
#include "platform/widgets.h"

namespace qx {

struct Ui {
    Window* window = nullptr;
    Surface screen{SCREEN_WIDTH, SCREEN_HEIGHT, COLOUR_BLACK};
    bool quit = false;
};

Ui& ui();
// Shows the screen picture in the window (nothing without a window).
void present_screen();
// A message box over the screen; returns the button (1 OK, 2 Cancel, 6 Yes,
// 7 No).  Without a window it answers OK.
int show_box(const std::string& text, const std::string& title,
             BoxButtons buttons = BoxButtons::OK, BoxIcon icon = BoxIcon::None);
// Runs a dialog over the screen, or over `under` (the frame of the dialog
// that opened it); returns its end code (2 without a window).
int run_dialog(Dialog& dialog, const Surface* under = nullptr);

}  // namespace qx

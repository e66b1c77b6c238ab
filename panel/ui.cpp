#include "panel/ui.h"

namespace qx {

Ui& ui() {
    static Ui instance;
    return instance;
}

void present_screen() {
    if (ui().window) ui().window->present(ui().screen);
}

int show_box(const std::string& text, const std::string& title, BoxButtons buttons, BoxIcon icon) {
    if (!ui().window) return 1;
    const int answer = message_box(*ui().window, ui().screen, text, title, buttons, icon);
    if (quit_requested()) ui().quit = true;
    present_screen();
    return answer;
}

int run_dialog(Dialog& dialog, const Surface* under) {
    if (!ui().window) return 2;
    const int code = dialog.run(*ui().window, under ? *under : ui().screen);
    if (quit_requested()) ui().quit = true;
    // A dialog opened over another one is covered by that one again.
    if (!under) present_screen();
    return code;
}

}  // namespace qx

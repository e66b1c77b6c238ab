// The measures the panel's dialogs share, so that they look alike: the
// margin round the edges, the gap between neighbours, the button width,
// the height of a text label and the OK / Cancel pair.
#pragma once
#include "platform/font.h"
#include "platform/widgets.h"

namespace qx::dialog_layout {

constexpr int kMargin = 6;
constexpr int kGap = 4;
constexpr int kButtonWidth = 64;

inline int label_height() { return font_height(FONT_DIALOG) + 2; }

// A list box that shows exactly that many rows inside its frame.
constexpr int list_height(int rows) { return rows * LIST_ROW_HEIGHT + 2; }

// OK and Cancel side by side at the bottom right of a client area.
inline void add_ok_cancel(Dialog& d, int width, int y) {
    const int cancel_x = width - kMargin - kButtonWidth;
    d.add_button(ID_OK, {cancel_x - kMargin - kButtonWidth, y, kButtonWidth, BUTTON_HEIGHT}, "OK", true);
    d.add_button(ID_CANCEL, {cancel_x, y, kButtonWidth, BUTTON_HEIGHT}, "Cancel");
}

}  // namespace qx::dialog_layout

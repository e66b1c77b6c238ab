// Reading a dialog's picture in tests: whether a text is drawn on it.
#pragma once
#include <string>

#include "platform/font.h"
#include "platform/surface.h"
#include "platform/widgets.h"

namespace qx {

struct TextLook {
    FontId font = FONT_DIALOG;
    Colour colour = COLOUR_TEXT;
    bool bold = false;
};

// Whether the frame shows the text somewhere: exactly the glyphs' pixels of
// a line-high box are the text's colour.
inline bool shows_text(const Surface& frame, const std::string& text, const TextLook& look = {}) {
    const int w = look.bold ? text_width_bold(look.font, text.c_str()) : text_width(look.font, text.c_str());
    const int h = font_height(look.font);
    Surface glyphs(w, h, COLOUR_WHITE);
    if (look.bold) draw_text_bold(glyphs, look.font, text.c_str(), 0, 0, COLOUR_BLACK);
    else draw_text(glyphs, look.font, text.c_str(), 0, 0, COLOUR_BLACK);
    for (int y = 0; y + h <= frame.height(); ++y)
        for (int x = 0; x + w <= frame.width(); ++x) {
            bool same = true;
            for (int gy = 0; gy < h && same; ++gy)
                for (int gx = 0; gx < w && same; ++gx)
                    same = (glyphs.get(gx, gy) == COLOUR_BLACK) == (frame.get(x + gx, y + gy) == look.colour);
            if (same) return true;
        }
    return false;
}

}  // namespace qx

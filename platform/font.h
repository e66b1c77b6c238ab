// Our own bitmap fonts.  Text is 8-bit in the display font's code page:
// ASCII 32..126, the glyphs 0x19 (polar base "e^"), 0x1A (imaginary i),
// 0x1B (exponent mark), 0x1C (degree sign), 0x1D (narrow space),
// 0x1E/0x1F (narrow 0 and 1 of base-n bit groups), 0x80 (conversion arrow)
// the Greek letters 0x90..0xAB (see greek order in font.cpp), and 0xAC
// (superscript three) and 0xAD (capital A with ring) for units.
#pragma once
#include "platform/surface.h"

namespace qx {

enum FontId {
    FONT_DISPLAY = 0,  // the calculator's display characters, 16 pixels high
    FONT_DIALOG = 1,   // dialogs, message boxes and lists, 12 pixels high
    FONT_TINY = 2,     // key captions above keys and plot read-outs, 8 pixels high
    FONT_LABEL = 3,    // the 16-pixel label text (axis labels, periodic table)
    FONT_COUNT = 4,
};

enum class TextDirection {
    Horizontal,  // left to right
    Up,          // turned a quarter turn anticlockwise: reads bottom to top
};

// Height of a line of text, in pixels (every glyph of a font has it).
int font_height(FontId font);
// Distance from the top of the line to the baseline.
int font_ascent(FontId font);
// Advance width of one character (0 for a character the font lacks).
int char_width(FontId font, unsigned char c);
int text_width(FontId font, const char* text);
bool font_has_char(FontId font, unsigned char c);

// Draws the text with its line's top-left corner at (x, y) (for Up, (x, y)
// is the bottom-left corner of the turned line and the text runs upwards).
// Only the glyph pixels are set; the background is left as it was.
// Returns the advance (the text's width).
int draw_text(Surface& s, FontId font, const char* text, int x, int y, Colour colour,
              TextDirection direction = TextDirection::Horizontal);
// Double-struck text for buttons and titles.
int draw_text_bold(Surface& s, FontId font, const char* text, int x, int y, Colour colour);
int text_width_bold(FontId font, const char* text);

}  // namespace qx

// Text drawing with the four bitmap fonts of font_data_*.cpp.
//
// The glyph pictures are turned once, on first use, into a table of row bit
// masks per font (bit c set: column c inked), so drawing walks bits and never
// allocates.  Widths: a character advances by its glyph width plus the font's
// spacing, and a text's width is the sum of its advances, the spacing after
// the last character included -- so the width of "ab" is the width of "a"
// plus that of "b", and texts drawn one after another at their widths join
// exactly as one text would.
//
// The code page, shared by all four fonts:
//   0x20..0x7E  ASCII
//   0x19        polar base, a small raised "e" (r e^(i theta) forms)
//   0x1A        imaginary unit, a bold i unlike the letter
//   0x1B        exponent mark, a small raised E
//   0x1C        degree sign
//   0x1D        narrow space
//   0x1E, 0x1F  narrow 0 and 1 for the bit groups of binary numbers
//   0x80        unit-conversion arrow
//   0x90..0xA7  lower-case Greek in alphabetical order: alpha beta gamma
//               delta epsilon zeta eta theta iota kappa lambda mu nu xi
//               omicron pi rho sigma tau upsilon phi chi psi omega
//   0xA8        capital pi (the product sign)
//   0xA9        the open form of phi (the spherical angle)
//   0xAA, 0xAB  capital sigma and capital omega
//   0xAC        superscript three, raised like the degree sign (cubic units)
//   0xAD        capital A with a ring above (the angstrom unit)
// Every other code is absent: it has no width and draws nothing.  The tiny
// and label fonts have the whole page as well, although their callers only
// rely on ASCII, Greek and a few marks.
#include "platform/font.h"

#include <climits>
#include <cstdint>

#include "platform/font_glyphs.h"

namespace qx {

namespace {

using font_data::FontSource;
using font_data::kMaxGlyphRows;

struct PackedGlyph {
    std::uint8_t width = 0;
    std::uint8_t advance = 0;  // 0: the font has no such character
    std::uint16_t first = 0;   // index of the glyph's first row mask
};

struct PackedFont {
    int height = 0;
    int ascent = 0;
    int first_row = 0;
    int row_count = 0;
    PackedGlyph glyphs[256];
    std::uint16_t masks[256 * kMaxGlyphRows] = {};
};

void pack(PackedFont& out, const FontSource& src) {
    out.height = src.height;
    out.ascent = src.ascent;
    out.first_row = src.first_row;
    out.row_count = src.row_count;
    int next = 0;
    for (int k = 0; k < src.glyph_count; ++k) {
        const font_data::Glyph& g = src.glyphs[k];
        PackedGlyph& p = out.glyphs[g.code];
        p.width = static_cast<std::uint8_t>(font_data::row_length(g.rows[0]));
        p.advance = static_cast<std::uint8_t>(p.width + src.spacing);
        p.first = static_cast<std::uint16_t>(next);
        for (int r = 0; r < src.row_count; ++r) {
            std::uint16_t mask = 0;
            for (int c = 0; c < p.width; ++c)
                if (g.rows[r][c] == '#') mask = static_cast<std::uint16_t>(mask | (1u << c));
            out.masks[next++] = mask;
        }
    }
}

struct FontTables {
    PackedFont fonts[FONT_COUNT];
    FontTables() {
        pack(fonts[FONT_DISPLAY], font_data::kDisplayFont);
        pack(fonts[FONT_DIALOG], font_data::kDialogFont);
        pack(fonts[FONT_TINY], font_data::kTinyFont);
        pack(fonts[FONT_LABEL], font_data::kLabelFont);
    }
};

const PackedFont* table(FontId font) {
    static const FontTables tables;
    if (font < 0 || font >= FONT_COUNT) return nullptr;
    return &tables.fonts[font];
}

const unsigned char* bytes(const char* text) {
    return reinterpret_cast<const unsigned char*>(text);
}

// Glyph origins can lie far outside the surface (long texts scrolled away),
// so positions are worked out in 64 bits and only pixels on the surface are
// narrowed back to int.
void draw_glyph(Surface& s, const PackedFont& f, const PackedGlyph& g, long long x,
                long long y, long long pen, Colour colour, TextDirection direction) {
    const long long w = s.width();
    const long long h = s.height();
    for (int r = 0; r < f.row_count; ++r) {
        const std::uint16_t mask = f.masks[g.first + r];
        if (mask == 0) continue;
        const long long v = f.first_row + r;  // down from the line top
        for (int c = 0; c < g.width; ++c) {
            if (!(mask & (1u << c))) continue;
            const long long u = pen + c;  // along the text
            long long px, py;
            if (direction == TextDirection::Up) {
                px = x + v;
                py = y - u;
            } else {
                px = x + u;
                py = y + v;
            }
            if (px >= 0 && py >= 0 && px < w && py < h)
                s.set(static_cast<int>(px), static_cast<int>(py), colour);
        }
    }
}

}  // namespace

int font_height(FontId font) {
    const PackedFont* f = table(font);
    return f ? f->height : 0;
}

int font_ascent(FontId font) {
    const PackedFont* f = table(font);
    return f ? f->ascent : 0;
}

bool font_has_char(FontId font, unsigned char c) { return char_width(font, c) > 0; }

int char_width(FontId font, unsigned char c) {
    const PackedFont* f = table(font);
    return f ? f->glyphs[c].advance : 0;
}

int text_width(FontId font, const char* text) {
    const PackedFont* f = table(font);
    if (!f || !text) return 0;
    int w = 0;
    for (const unsigned char* p = bytes(text); *p; ++p) w += f->glyphs[*p].advance;
    return w;
}

int draw_text(Surface& s, FontId font, const char* text, int x, int y, Colour colour,
              TextDirection direction) {
    const PackedFont* f = table(font);
    if (!f || !text) return 0;
    long long pen = 0;
    for (const unsigned char* p = bytes(text); *p; ++p) {
        const PackedGlyph& g = f->glyphs[*p];
        if (g.advance == 0) continue;
        if (!s.empty()) draw_glyph(s, *f, g, x, y, pen, colour, direction);
        pen += g.advance;
    }
    return static_cast<int>(pen);
}

// The second pass one pixel to the right thickens every vertical stroke; the
// extra column is part of the width, except for an empty text, which draws
// nothing and takes no room.
int draw_text_bold(Surface& s, FontId font, const char* text, int x, int y, Colour colour) {
    const int w = draw_text(s, font, text, x, y, colour);
    if (w == 0) return 0;
    if (x < INT_MAX) draw_text(s, font, text, x + 1, y, colour);
    return w + 1;
}

int text_width_bold(FontId font, const char* text) {
    const int w = text_width(font, text);
    return w == 0 ? 0 : w + 1;
}

}  // namespace qx

// The glyph tables of our bitmap fonts, kept as pictures: every glyph is a
// block of strings, '#' for ink and '.' for blank, one string per pixel row.
//
// Conventions shared by the four fonts:
//  - All glyphs of a font have the same number of strings (row_count), and
//    the first string is pixel row first_row of the text line, so the block
//    sits at a fixed height in the line and the baseline is simply a row
//    index (ascent - first_row is the first row below the baseline).
//  - The glyph's width is the length of its strings (all equal); the advance
//    is that width plus the font's spacing.  Blank glyphs (spaces) are rows
//    of dots, as wide as the blank they stand for.
//  - A code that has no entry is not in the font.
//
// well_formed() checks a table while it compiles, so a ragged row, a stray
// character, a missing row or a code given twice cannot reach the program.
#pragma once
#include <cstddef>

namespace qx::font_data {

constexpr int kMaxGlyphRows = 16;
constexpr int kMaxGlyphWidth = 16;

struct Glyph {
    unsigned char code;
    const char* rows[kMaxGlyphRows];  // row_count strings, the rest null
};

struct FontSource {
    int height;     // line height
    int ascent;     // line top to baseline
    int first_row;  // line row of each glyph's first string
    int row_count;  // strings per glyph
    int spacing;    // blank columns after every glyph
    const Glyph* glyphs;
    int glyph_count;
};

constexpr int row_length(const char* s) {
    int n = 0;
    while (s[n] != '\0') ++n;
    return n;
}

template <std::size_t N>
constexpr bool well_formed(const Glyph (&glyphs)[N], int first_row, int row_count,
                           int height) {
    if (first_row < 0 || row_count < 1 || row_count > kMaxGlyphRows ||
        first_row + row_count > height)
        return false;
    for (std::size_t k = 0; k < N; ++k) {
        const Glyph& g = glyphs[k];
        if (g.code == 0) return false;
        for (std::size_t j = 0; j < k; ++j)
            if (glyphs[j].code == g.code) return false;
        for (int r = 0; r < kMaxGlyphRows; ++r)
            if ((g.rows[r] == nullptr) != (r >= row_count)) return false;
        const int width = row_length(g.rows[0]);
        if (width < 1 || width > kMaxGlyphWidth) return false;
        for (int r = 0; r < row_count; ++r) {
            if (row_length(g.rows[r]) != width) return false;
            for (int c = 0; c < width; ++c)
                if (g.rows[r][c] != '#' && g.rows[r][c] != '.') return false;
        }
    }
    return true;
}

template <std::size_t N>
constexpr int widest(const Glyph (&glyphs)[N]) {
    int w = 0;
    for (const Glyph& g : glyphs)
        if (row_length(g.rows[0]) > w) w = row_length(g.rows[0]);
    return w;
}

extern const FontSource kDisplayFont;
extern const FontSource kDialogFont;
extern const FontSource kTinyFont;
extern const FontSource kLabelFont;

}  // namespace qx::font_data

// The plot's read-outs: values and labels printed over the white plot area.
// They use a font of their own, six pixels from the top of a capital to the
// baseline, so that a label and the digits after it share one baseline and
// one stroke, and the whole read-out stays within eight pixels.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tools/artgen/art.h"
#include "tools/artgen/legends_art.h"

namespace qx::art::legends {

namespace {

constexpr int kHeight = 8;
constexpr int kTop = 1;   // one clear row above the capitals, the descender below

// Rows 0..5 hold capitals and digits (row 5 sits on the baseline), row 6 the
// descender.  Lower-case letters are four rows high (rows 2..5).  Characters
// outside ASCII use the display code page: 0x97 theta, 0xA9 varphi.
struct Glyph {
    unsigned char c;
    const char* rows[7];
};

// clang-format off
const Glyph kGlyphs[] = {
    {'0', {".##.", "#..#", "#..#", "#..#", "#..#", ".##.", "...."}},
    {'1', {".#..", "##..", ".#..", ".#..", ".#..", "###.", "...."}},
    {'2', {".##.", "#..#", "...#", "..#.", ".#..", "####", "...."}},
    {'3', {"###.", "...#", ".##.", "...#", "...#", "###.", "...."}},
    {'4', {"..#.", ".##.", "#.#.", "####", "..#.", "..#.", "...."}},
    {'5', {"####", "#...", "###.", "...#", "...#", "###.", "...."}},
    {'6', {".##.", "#...", "###.", "#..#", "#..#", ".##.", "...."}},
    {'7', {"####", "...#", "..#.", "..#.", ".#..", ".#..", "...."}},
    {'8', {".##.", "#..#", ".##.", "#..#", "#..#", ".##.", "...."}},
    {'9', {".##.", "#..#", "#..#", ".###", "...#", ".##.", "...."}},
    {'.', {".", ".", ".", ".", ".", "#", "."}},
    {',', {"..", "..", "..", "..", "..", ".#", "#."}},
    {'-', {"...", "...", "...", "###", "...", "...", "..."}},
    {'=', {"...", "...", "###", "...", "###", "...", "..."}},
    {':', {".", ".", "#", ".", ".", "#", "."}},
    {'/', {"..#", "..#", ".#.", ".#.", "#..", "#..", "..."}},
    {' ', {"..", "..", "..", "..", "..", "..", ".."}},
    {'D', {"###.", "#..#", "#..#", "#..#", "#..#", "###.", "...."}},
    {'E', {"####", "#...", "###.", "#...", "#...", "####", "...."}},
    {'I', {"###", ".#.", ".#.", ".#.", ".#.", "###", "..."}},
    {'M', {"#...#", "##.##", "#.#.#", "#...#", "#...#", "#...#", "....."}},
    {'N', {"#..#", "##.#", "#.##", "#..#", "#..#", "#..#", "...."}},
    {'O', {".###.", "#...#", "#...#", "#...#", "#...#", ".###.", "....."}},
    {'R', {"###.", "#..#", "#..#", "###.", "#.#.", "#..#", "...."}},
    {'S', {".###", "#...", ".##.", "...#", "...#", "###.", "...."}},
    {'T', {"###", ".#.", ".#.", ".#.", ".#.", ".#.", "..."}},
    {'U', {"#..#", "#..#", "#..#", "#..#", "#..#", ".##.", "...."}},
    {'V', {"#...#", "#...#", "#...#", ".#.#.", ".#.#.", "..#..", "....."}},
    {'a', {"....", "....", "###.", ".###", "#..#", ".###", "...."}},
    {'b', {"#...", "#...", "###.", "#..#", "#..#", "###.", "...."}},
    {'c', {"...", "...", ".##", "#..", "#..", ".##", "..."}},
    {'d', {"...#", "...#", ".###", "#..#", "#..#", ".###", "...."}},
    {'e', {"....", "....", ".##.", "####", "#...", ".##.", "...."}},
    {'f', {".##", "#..", "###", "#..", "#..", "#..", "..."}},
    {'i', {"#", ".", "#", "#", "#", "#", "."}},
    {'l', {"#.", "#.", "#.", "#.", "#.", ".#", ".."}},
    {'m', {".....", ".....", "####.", "#.#.#", "#.#.#", "#.#.#", "....."}},
    {'n', {"....", "....", "###.", "#..#", "#..#", "#..#", "...."}},
    {'o', {"....", "....", ".##.", "#..#", "#..#", ".##.", "...."}},
    {'p', {"....", "....", "###.", "#..#", "#..#", "###.", "#..."}},
    {'r', {"...", "...", "#.#", "##.", "#..", "#..", "..."}},
    {'s', {"...", "...", ".##", "#..", "..#", "##.", "..."}},
    {'t', {"...", ".#.", "###", ".#.", ".#.", "..#", "..."}},
    {'u', {"....", "....", "#..#", "#..#", "#..#", ".###", "...."}},
    {'v', {"...", "...", "#.#", "#.#", "#.#", ".#.", "..."}},
    {'w', {".....", ".....", "#...#", "#.#.#", "#.#.#", ".#.#.", "....."}},
    {'x', {"....", "....", "#..#", ".##.", ".##.", "#..#", "...."}},
    {'y', {"....", "....", "#..#", "#..#", ".###", "...#", ".##."}},
    {'z', {"....", "....", "####", "..#.", ".#..", "####", "...."}},
    {0x97, {".#.", "#.#", "###", "#.#", "#.#", ".#.", "..."}},
    {0xA9, {"..#..", ".###.", "#.#.#", "#.#.#", ".###.", "..#..", "....."}},
};
// clang-format on

const Glyph* find_glyph(unsigned char c) {
    for (const Glyph& g : kGlyphs)
        if (g.c == c) return &g;
    return nullptr;
}

int glyph_width(const Glyph& g) {
    int w = 0;
    for (const char* r : g.rows) w = std::max(w, static_cast<int>(std::strlen(r)));
    return w;
}

// The text in the read-out font, each glyph followed by one clear column.  A
// label ending in a colon is followed by a word space, since the value comes
// straight after it.
Surface readout(const char* text) {
    int width = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        const Glyph* g = find_glyph(*p);
        if (!g) {
            std::fprintf(stderr, "quorix_artgen: the read-out font has no character 0x%02X\n", *p);
            std::exit(EXIT_FAILURE);
        }
        width += glyph_width(*g) + 1;
    }
    const std::size_t n = std::strlen(text);
    const bool colon = n > 0 && text[n - 1] == ':';
    if (colon) width += glyph_width(*find_glyph(' ')) + 1;

    Surface s(width, kHeight, kPaper);
    int x = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        const Glyph* g = find_glyph(*p);
        x += stamp(s, x, kTop, g->rows, 7) + 1;
    }
    return s;
}

void add(ArtList& out, const char* name, const char* text) {
    out.push_back({name, Kind::Legend, readout(text)});
}

}  // namespace

void draw_readout_legends(ArtList& out) {
    static const char* const kDigits[10] = {"SMALL_0", "SMALL_1", "SMALL_2", "SMALL_3",
                                            "SMALL_4", "SMALL_5", "SMALL_6", "SMALL_7",
                                            "SMALL_8", "SMALL_9"};
    for (int d = 0; d < 10; ++d) {
        const char text[2] = {static_cast<char>('0' + d), 0};
        add(out, kDigits[d], text);
    }
    add(out, "SMALL_DP", ".");
    add(out, "SMALL_COMMA", ",");
    add(out, "SMALL_MINUS", "-");
    add(out, "SMALL_EQUAL", "=");
    add(out, "SMALL_E", "E");

    add(out, "SMALL_XMIN", "xmin=");
    add(out, "SMALL_XMAX", "xmax=");
    add(out, "SMALL_YMIN", "ymin=");
    add(out, "SMALL_YMAX", "ymax=");
    add(out, "SMALL_XDIV", "xdiv=");
    add(out, "SMALL_YDIV", "ydiv=");
    add(out, "SMALL_CALC_SLOPE", "dy/dx=");
    add(out, "SMALL_XTRACE", "x=");
    add(out, "SMALL_YTRACE", "y=");
    add(out, "SMALL_THETA", "\x97=");
    add(out, "SMALL_RTRACE", "r=");
    add(out, "SMALL_T", "t=");
    add(out, "SMALL_XTTRACE", "x=");
    add(out, "SMALL_YTTRACE", "y=");
    add(out, "SMALL_X_3D", "x=");
    add(out, "SMALL_Y_3D", "y=");
    add(out, "SMALL_Z_3D", "z=");
    add(out, "SMALL_R_3D", "r=");
    add(out, "SMALL_THETA_3D", "\x97=");
    add(out, "SMALL_THETA_A_3D", "\x97=");
    add(out, "SMALL_THETA_B_3D", "\xA9=");
    add(out, "SMALL_CALC_VALUE", "Value:");
    add(out, "SMALL_CALC_ROOT", "Root:");
    add(out, "SMALL_CALC_MINIMUM", "Minimum:");
    add(out, "SMALL_CALC_MAXIMUM", "Maximum:");
    add(out, "SMALL_CALC_INTERSECT", "Intersection:");

    add(out, "SMALL_OVERFLOW", "Overflow");
    add(out, "SMALL_DIV_BY_ZERO", "Div by 0");
    add(out, "SMALL_DOMAIN", "Domain");
    add(out, "SMALL_SYNTAX_ERROR", "Syntax");
    add(out, "SMALL_NO_DATA", "No Data");
    add(out, "SMALL_DATA_TYPE", "Data Type");
    add(out, "SMALL_NO_ROOT_FOUND", "No Root");
    add(out, "SMALL_NO_INTERSECT_FOUND", "No Intersect");
    add(out, "SMALL_UNDEFINED", "Undefined");
    add(out, "SMALL_ERROR", "Error");
}

}  // namespace qx::art::legends

// The periodic-table face.  The table is read with the calculator turned a
// quarter turn clockwise, so everything here is laid out in "reading"
// coordinates (u to the reader's right, v down the page) and mapped onto the
// screen: the reader's top is the screen's left edge and the reader's left is
// the screen's bottom.  The element cells are the keys of FACE_PERIODIC, so
// each cell is framed exactly on its key rectangle; the reading position only
// decides what goes inside.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "panel/key_layout.h"
#include "platform/font.h"
#include "tools/artgen/art.h"
#include "tools/artgen/keycap.h"

namespace qx::art {

namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 320;

// ---------------------------------------------------------------------------
// Turned drawing: reading (u, v) lands on screen (v, kHeight - 1 - u).

struct Turned {
    Surface& s;

    void pixel(int u, int v, Colour c) { s.set(v, kHeight - 1 - u, c); }
    void fill(int u0, int v0, int u1, int v1, Colour c) {
        fill_rect(s, c, v0, kHeight - 1 - u1, v1, kHeight - 1 - u0);
    }
    void frame(int u0, int v0, int u1, int v1, Colour c) {
        frame_rect(s, c, v0, kHeight - 1 - u1, v1, kHeight - 1 - u0);
    }
    // (u, v) is the top-left corner of the line as the reader sees it.
    int text(FontId f, const char* t, int u, int v, Colour c) {
        return draw_text(s, f, t, v, kHeight - 1 - u, c, TextDirection::Up);
    }
    // Double-struck along the line, the same way the fonts embolden
    // horizontal text.
    int text_bold(FontId f, const char* t, int u, int v, Colour c) {
        text(f, t, u + 1, v, c);
        return text(f, t, u, v, c) + 1;
    }
};

// A key rectangle seen by the reader.
struct ReadingRect { int u0, v0, u1, v1; };

ReadingRect reading_rect(const KeyRect& r) {
    return {kHeight - 1 - r.bottom, r.left, kHeight - 1 - r.top, r.right};
}

// ---------------------------------------------------------------------------
// Colours.  The face shows the calculator body with the same keys as every
// other face.  Unlike the others it is drawn as it is, not brightened on the
// way to the screen, so the body and keys are brightened here by the amount
// the other faces get; everything drawn after that is in its final colour.

constexpr int kFaceBrightening = 22;
const Colour kRule = rgb(100, 108, 128);
const Colour kPointerGround = rgb(66, 72, 90);
const Colour kCaption = rgb(182, 190, 204);
const Colour kCaptionDim = rgb(132, 142, 160);
const Colour kTitle = rgb(246, 246, 240);
const Colour kCellText = rgb(16, 18, 24);
const Colour kCellNumber = rgb(52, 56, 66);

enum Category {
    ALKALI, ALKALINE_EARTH, TRANSITION, POST_TRANSITION, METALLOID, NONMETAL, HALOGEN,
    NOBLE_GAS, LANTHANIDE, ACTINIDE, UNKNOWN, CATEGORY_COUNT
};

struct CategoryStyle {
    Colour fill, border;
    const char* name;
    const char* short_name;   // when the full name does not fit the legend
};

// Light fills so the black symbols stay crisp; borders are the same hue,
// roughly half as bright, so neighbouring cells of one family read as a block.
const CategoryStyle kStyles[CATEGORY_COUNT] = {
    {rgb(255, 154, 144), rgb(150, 62, 54), "Alkali metal", "Alkali"},
    {rgb(255, 204, 128), rgb(150, 98, 30), "Alkaline earth", "Alk. earth"},
    {rgb(255, 238, 150), rgb(140, 118, 40), "Transition metal", "Transition"},
    {rgb(200, 222, 178), rgb(86, 112, 66), "Post-transition", "Post-trans."},
    {rgb(156, 218, 196), rgb(52, 112, 92), "Metalloid", "Metalloid"},
    {rgb(172, 204, 255), rgb(58, 90, 150), "Other nonmetal", "Nonmetal"},
    {rgb(150, 236, 232), rgb(36, 122, 120), "Halogen", "Halogen"},
    {rgb(188, 184, 255), rgb(76, 70, 160), "Noble gas", "Noble gas"},
    {rgb(255, 186, 222), rgb(156, 70, 116), "Lanthanide", "Lanthanide"},
    {rgb(228, 160, 240), rgb(120, 56, 136), "Actinide", "Actinide"},
    {rgb(206, 210, 218), rgb(104, 110, 122), "Unknown properties", "Unknown"},
};

Category category_of(int z) {
    if (z >= 104) return UNKNOWN;
    if (z >= 57 && z <= 71) return LANTHANIDE;
    if (z >= 89 && z <= 103) return ACTINIDE;
    switch (z) {
        case 3: case 11: case 19: case 37: case 55: case 87: return ALKALI;
        case 4: case 12: case 20: case 38: case 56: case 88: return ALKALINE_EARTH;
        case 2: case 10: case 18: case 36: case 54: case 86: return NOBLE_GAS;
        case 9: case 17: case 35: case 53: case 85: return HALOGEN;
        case 5: case 14: case 32: case 33: case 51: case 52: return METALLOID;
        case 1: case 6: case 7: case 8: case 15: case 16: case 34: return NONMETAL;
        case 13: case 31: case 49: case 50: case 81: case 82: case 83: case 84:
            return POST_TRANSITION;
        default: return TRANSITION;
    }
}

// ---------------------------------------------------------------------------
// Cell lettering.  A cell is 14 x 18 pixels as the reader sees it, 12 x 16
// inside its border: far too small for the text fonts, so the symbols use a
// heavy 7-pixel face of their own and the numbers a 3 x 5 figure set.

struct Glyph {
    char c;
    const char* rows[9];   // 7 rows to the cap line, 2 of descender; "" = blank
};

// '#' is ink.  Capitals and ascenders start on row 0, the x-height on row 2.
const Glyph kSymbolFace[] = {
    {'A', {".###.", "##.##", "##.##", "#####", "##.##", "##.##", "##.##", "", ""}},
    {'B', {"####.", "##.##", "##.##", "####.", "##.##", "##.##", "####.", "", ""}},
    {'C', {".####", "##...", "##...", "##...", "##...", "##...", ".####", "", ""}},
    {'D', {"####.", "##.##", "##.##", "##.##", "##.##", "##.##", "####.", "", ""}},
    {'E', {"#####", "##...", "##...", "####.", "##...", "##...", "#####", "", ""}},
    {'F', {"#####", "##...", "##...", "####.", "##...", "##...", "##...", "", ""}},
    {'G', {".####", "##...", "##...", "##.##", "##.##", "##.##", ".####", "", ""}},
    {'H', {"##.##", "##.##", "##.##", "#####", "##.##", "##.##", "##.##", "", ""}},
    {'I', {"####", ".##.", ".##.", ".##.", ".##.", ".##.", "####", "", ""}},
    {'K', {"##.##", "##.##", "####.", "###..", "####.", "##.##", "##.##", "", ""}},
    {'L', {"##...", "##...", "##...", "##...", "##...", "##...", "#####", "", ""}},
    {'M', {"#...#", "##.##", "#####", "#.#.#", "#...#", "#...#", "#...#", "", ""}},
    {'N', {"##..#", "##..#", "###.#", "#####", "#.###", "#..##", "#..##", "", ""}},
    {'O', {".###.", "##.##", "##.##", "##.##", "##.##", "##.##", ".###.", "", ""}},
    {'P', {"####.", "##.##", "##.##", "####.", "##...", "##...", "##...", "", ""}},
    {'R', {"####.", "##.##", "##.##", "####.", "##.#.", "##.##", "##.##", "", ""}},
    {'S', {".####", "##...", "##...", ".###.", "...##", "...##", "####.", "", ""}},
    {'T', {"######", "..##..", "..##..", "..##..", "..##..", "..##..", "..##..", "", ""}},
    {'U', {"##.##", "##.##", "##.##", "##.##", "##.##", "##.##", ".###.", "", ""}},
    {'V', {"##.##", "##.##", "##.##", "##.##", "##.##", ".###.", "..#..", "", ""}},
    {'W', {"#...#", "#...#", "#.#.#", "#.#.#", "#####", "##.##", "#...#", "", ""}},
    {'X', {"##.##", "##.##", ".###.", ".###.", ".###.", "##.##", "##.##", "", ""}},
    {'Y', {"##.##", "##.##", "##.##", ".###.", "..#..", "..#..", "..#..", "", ""}},
    {'Z', {"#####", "...##", "..##.", ".###.", ".##..", "##...", "#####", "", ""}},
    {'a', {"", "", "###.", "..##", ".###", "##.#", ".###", "", ""}},
    {'b', {"##..", "##..", "###.", "##.#", "##.#", "##.#", "###.", "", ""}},
    {'c', {"", "", ".###", "##..", "##..", "##..", ".###", "", ""}},
    {'d', {"..##", "..##", ".###", "#.##", "#.##", "#.##", ".###", "", ""}},
    {'e', {"", "", ".##.", "##.#", "####", "##..", ".###", "", ""}},
    {'f', {"..##", ".##.", "####", ".##.", ".##.", ".##.", ".##.", "", ""}},
    {'g', {"", "", ".###", "##.#", "##.#", "##.#", ".###", "...#", ".##."}},
    {'h', {"##..", "##..", "###.", "##.#", "##.#", "##.#", "##.#", "", ""}},
    {'i', {"##", "", "##", "##", "##", "##", "##", "", ""}},
    {'k', {"##..", "##..", "##.#", "####", "###.", "####", "##.#", "", ""}},
    {'l', {"##", "##", "##", "##", "##", "##", "##", "", ""}},
    {'m', {"", "", "####.", "#.#.#", "#.#.#", "#.#.#", "#.#.#", "", ""}},
    {'n', {"", "", "###.", "##.#", "##.#", "##.#", "##.#", "", ""}},
    {'o', {"", "", ".##.", "##.#", "##.#", "##.#", ".##.", "", ""}},
    {'p', {"", "", "###.", "##.#", "##.#", "##.#", "###.", "##..", "##.."}},
    {'r', {"", "", "##.#", "####", "##..", "##..", "##..", "", ""}},
    {'s', {"", "", ".###", "##..", ".##.", "..##", "###.", "", ""}},
    {'t', {"", ".##.", "####", ".##.", ".##.", ".##.", "..##", "", ""}},
    {'u', {"", "", "##.#", "##.#", "##.#", "##.#", ".###", "", ""}},
    {'y', {"", "", "##.#", "##.#", "##.#", "##.#", ".###", "...#", ".##."}},
};

const Glyph* symbol_glyph(char c) {
    for (const Glyph& g : kSymbolFace)
        if (g.c == c) return &g;
    return nullptr;
}

int glyph_width(const Glyph& g) {
    int w = 0;
    for (const char* row : g.rows) w = std::max(w, static_cast<int>(std::strlen(row)));
    return w;
}

// Figures 3 wide and 5 high, and the dash of "57-71".
const char* const kFigures[11][5] = {
    {"###", "#.#", "#.#", "#.#", "###"}, {".#.", "##.", ".#.", ".#.", "###"},
    {"###", "..#", "###", "#..", "###"}, {"###", "..#", ".##", "..#", "###"},
    {"#.#", "#.#", "###", "..#", "..#"}, {"###", "#..", "###", "..#", "###"},
    {"###", "#..", "###", "#.#", "###"}, {"###", "..#", "..#", ".#.", ".#."},
    {"###", "#.#", "###", "#.#", "###"}, {"###", "#.#", "###", "..#", "###"},
    {"...", "...", "###", "...", "..."},
};

int figures_width(const char* text) {
    int n = static_cast<int>(std::strlen(text));
    return n > 0 ? 4 * n - 1 : 0;
}

// (u, v) is the reader's top-left of the figures.
void draw_figures(Turned& t, const char* text, int u, int v, Colour c) {
    for (const char* p = text; *p; ++p, u += 4) {
        int k = *p == '-' ? 10 : *p - '0';
        if (k < 0 || k > 10) continue;
        for (int row = 0; row < 5; ++row)
            for (int col = 0; col < 3; ++col)
                if (kFigures[k][row][col] == '#') t.pixel(u + col, v + row, c);
    }
}

int symbol_width(const char* text) {
    int w = 0;
    for (const char* p = text; *p; ++p) {
        const Glyph* g = symbol_glyph(*p);
        if (!g) continue;
        w += (w ? 1 : 0) + glyph_width(*g);
    }
    return w;
}

// (u, v) is the reader's top-left of the cap line.
void draw_symbol(Turned& t, const char* text, int u, int v, Colour c) {
    for (const char* p = text; *p; ++p) {
        const Glyph* g = symbol_glyph(*p);
        if (!g) continue;
        for (int row = 0; row < 9; ++row)
            for (int col = 0; g->rows[row][col]; ++col)
                if (g->rows[row][col] == '#') t.pixel(u + col, v + row, c);
        u += glyph_width(*g) + 1;
    }
}

// A dashed outline on an inclusive screen rectangle: 2 on, 2 off, corners on.
void dashed_frame(Surface& s, Colour c, int left, int top, int right, int bottom) {
    for (int x = left; x <= right; ++x)
        if (((x - left) & 3) < 2 || x == right) {
            s.set(x, top, c);
            s.set(x, bottom, c);
        }
    for (int y = top; y <= bottom; ++y)
        if (((y - top) & 3) < 2 || y == bottom) {
            s.set(left, y, c);
            s.set(right, y, c);
        }
}

// ---------------------------------------------------------------------------
// The face, piece by piece.

void draw_cell(Surface& s, Turned& t, int z) {
    const KeyRect key = key_rect(FACE_PERIODIC, z + 1);
    const CategoryStyle& style = kStyles[category_of(z)];
    fill_rect(s, style.fill, key.left, key.top, key.right, key.bottom);
    frame_rect(s, style.border, key.left, key.top, key.right, key.bottom);

    // Inside the border the reader has 12 x 16: the number on rows 2..6,
    // the symbol's cap line on rows 8..14 with descenders to row 16.
    const ReadingRect r = reading_rect(key);
    char number[8];
    std::snprintf(number, sizeof number, "%d", z);
    const int inner = r.u1 - r.u0 - 1;
    draw_figures(t, number, r.u0 + 1 + (inner - figures_width(number) + 1) / 2, r.v0 + 2,
                 kCellNumber);
    const char* symbol = element_symbol(z);
    draw_symbol(t, symbol, r.u0 + 1 + (inner - symbol_width(symbol) + 1) / 2, r.v0 + 8,
                kCellText);
}

// The cell with no element: a dashed outline only, so the tap area shows.
void draw_empty_cell(Surface& s) {
    const KeyRect key = key_rect(FACE_PERIODIC, PERIODIC_CELLS + 1);
    dashed_frame(s, kCaptionDim, key.left, key.top, key.right, key.bottom);
}

// The reading rectangle of a table position (period row, group column),
// worked out from the keys so the labels follow the cells.
ReadingRect place_rect(int row, int column) {
    for (int z = 1; z <= PERIODIC_CELLS; ++z) {
        PeriodicPlace p = periodic_place(z);
        if (p.row == row && p.column == column) return reading_rect(key_rect(FACE_PERIODIC, z + 1));
    }
    // Not a cell (group 3 of periods 6 and 7): the same column as period 5,
    // the same row as the period's first element.
    ReadingRect across = place_rect(5, column);
    ReadingRect down = place_rect(row, 1);
    return {across.u0, down.v0, across.u1, down.v1};
}

// The f-block pointers in group 3 of periods 6 and 7: the range of atomic
// numbers that sits in the rows below, in a dashed cell of the row's colour.
void draw_f_block_pointer(Surface& s, Turned& t, int period, const char* first,
                          const char* last, Category family) {
    const ReadingRect r = place_rect(period, 3);
    const CategoryStyle& style = kStyles[family];
    t.fill(r.u0 + 1, r.v0 + 1, r.u1 - 1, r.v1 - 1, kPointerGround);
    dashed_frame(s, style.fill, r.v0, kHeight - 1 - r.u1, r.v1, kHeight - 1 - r.u0);
    const int inner = r.u1 - r.u0 - 1;
    std::string top = std::string(first) + "-";
    draw_figures(t, top.c_str(), r.u0 + 1 + (inner - figures_width(top.c_str()) + 1) / 2,
                 r.v0 + 3, style.fill);
    draw_figures(t, last, r.u0 + 1 + (inner - figures_width(last) + 1) / 2, r.v0 + 10,
                 style.fill);
}

// A label for one of the f-block rows: the range before the row, with a
// little arrow pointing into it, and the family name after it.
void draw_f_row_labels(Turned& t, int row, const char* range, const char* name,
                       Category family) {
    const ReadingRect first = place_rect(row, 3);
    const ReadingRect last = place_rect(row, 17);
    const Colour c = kStyles[family].fill;
    const int mid = (first.v0 + first.v1) / 2;
    const int w = figures_width(range);
    const int u = first.u0 - 4 - w;
    draw_figures(t, range, u, mid - 2, c);
    // The arrow stands between the range and the row.
    t.pixel(first.u0 - 2, mid, c);
    t.pixel(first.u0 - 3, mid - 1, c);
    t.pixel(first.u0 - 3, mid + 1, c);

    const int room = kHeight - 1 - (last.u1 + 3);
    const char* label = name;
    if (text_width(FONT_TINY, label) > room) label = kStyles[family].short_name;
    t.text(FONT_TINY, label, last.u1 + 3, mid - font_height(FONT_TINY) / 2, c);
}

void draw_group_labels(Turned& t) {
    for (int group = 1; group <= 18; ++group) {
        // The label stands above the group's first cell.
        int head = 0;
        for (int row = 1; row <= 7 && head == 0; ++row)
            for (int z = 1; z <= PERIODIC_ELEMENTS; ++z) {
                PeriodicPlace p = periodic_place(z);
                if (p.row == row && p.column == group) {
                    head = z;
                    break;
                }
            }
        const ReadingRect r = reading_rect(key_rect(FACE_PERIODIC, head + 1));
        char text[4];
        std::snprintf(text, sizeof text, "%d", group);
        draw_figures(t, text, r.u0 + (r.u1 - r.u0 + 1 - figures_width(text) + 1) / 2,
                     r.v0 - 7, kCaption);
    }
}

void draw_period_labels(Turned& t) {
    for (int period = 1; period <= 7; ++period) {
        const ReadingRect r = place_rect(period, 18);
        char text[4];
        std::snprintf(text, sizeof text, "%d", period);
        draw_figures(t, text, r.u1 + 5, (r.v0 + r.v1) / 2 - 2, kCaption);
    }
    // A small heading over the period numbers.
    const ReadingRect first = place_rect(1, 18);
    t.text(FONT_TINY, "Period", first.u1 + 4, first.v0 - font_height(FONT_TINY) - 1, kCaptionDim);
}

void draw_title(Turned& t) {
    const char* title = "Periodic Table of the Elements";
    FontId font = FONT_LABEL;
    if (text_width_bold(font, title) > kHeight - 8) font = FONT_DIALOG;
    const int w = text_width_bold(font, title);
    const int v = 4 + (26 - font_height(font)) / 2;
    t.text_bold(font, title, (kHeight - w) / 2, v, kTitle);
    // A hairline under the title, the width of the table.
    t.fill(place_rect(1, 1).u0, 29, place_rect(1, 18).u1, 29, kRule);
}

// The colour key, in the strip below the f-block rows: four to a line in
// columns of a fixed pitch, clear of the body's rim and rounded corners.
void draw_legend(Turned& t) {
    const int top = place_rect(9, 3).v1 + 4;
    const int line = 9;
    const int swatch = 7;
    const int left = 10, right = kHeight - 4;
    const int pitch = (right - left + 1) / 4;
    int u = left, v = top;
    for (int k = 0; k < CATEGORY_COUNT; ++k) {
        const CategoryStyle& style = kStyles[k];
        const char* name = style.name;
        if (swatch + 3 + text_width(FONT_TINY, name) > pitch - 2) name = style.short_name;
        if (u + pitch > right + 1) {
            u = left;
            v += line;
        }
        t.fill(u, v + 1, u + swatch - 1, v + swatch, style.fill);
        t.frame(u, v + 1, u + swatch - 1, v + swatch, style.border);
        t.text(FONT_TINY, name, u + swatch + 3, v + (swatch + 2 - font_height(FONT_TINY)) / 2,
               kCaption);
        u += pitch;
    }
}

// The two keys in the calculator's own key style; only their legends are
// turned, the light still falls from the top-left of the device.
void draw_button_label(Turned& t, const KeyRect& k, KeyStyle style, const char* label) {
    const Box face = face_area(box_of(k), style);
    const ReadingRect r =
        reading_rect({face.left, face.top, face.right, face.bottom, false, false});
    FontId font = FONT_DIALOG;
    if (text_width_bold(font, label) > r.u1 - r.u0 - 3) font = FONT_TINY;
    const int w = text_width_bold(font, label);
    const int h = font_height(font);
    const int u = r.u0 + (r.u1 - r.u0 + 1 - w + 1) / 2;
    const int v = r.v0 + (r.v1 - r.v0 + 1 - h + 1) / 2;
    t.text_bold(font, label, u, v, key_colours(style).text);
}

void brighten(Surface& s, int delta) {
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) s.set(x, y, shade(s.get(x, y), delta));
}

void draw_periodic(ArtList& out) {
    Surface s(kWidth, kHeight);
    Turned t{s};
    const KeyRect cancel = key_rect(FACE_PERIODIC, 0);
    const KeyRect data_table = key_rect(FACE_PERIODIC, 1);
    draw_body(s, false);
    draw_key(s, box_of(cancel), KeyStyle::Clear);
    draw_key(s, box_of(data_table), KeyStyle::Operator);
    brighten(s, kFaceBrightening);

    draw_title(t);
    draw_group_labels(t);
    draw_period_labels(t);
    for (int z = 1; z <= PERIODIC_ELEMENTS; ++z) draw_cell(s, t, z);
    draw_empty_cell(s);
    draw_f_block_pointer(s, t, 6, "57", "71", LANTHANIDE);
    draw_f_block_pointer(s, t, 7, "89", "103", ACTINIDE);
    draw_f_row_labels(t, 8, "57-71", "Lanthanides", LANTHANIDE);
    draw_f_row_labels(t, 9, "89-103", "Actinides", ACTINIDE);
    draw_legend(t);
    draw_button_label(t, cancel, KeyStyle::Clear, "Cancel");
    draw_button_label(t, data_table, KeyStyle::Operator, "Data Table");

    out.push_back({"PERIODIC_GIF", Kind::Picture, s});
}

}  // namespace

void draw_periodic_table(ArtList& out) { draw_periodic(out); }

}  // namespace qx::art

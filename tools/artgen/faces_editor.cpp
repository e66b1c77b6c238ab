// The matrix and list editors (a sheet of cells under the display, scroll
// keys, the tabs of the ten matrices or lists and the editing keys) and the
// alpha keyboard panel.
#include <algorithm>

#include "platform/font.h"
#include "tools/artgen/art.h"
#include "tools/artgen/keycap.h"

namespace qx::art {

namespace {

// A scroll arrow: a small key with a solid triangle, dimmed when scrolling
// that way is not possible on this face.
void scroll_arrow(Surface& s, const Box& b, Direction d, bool enabled) {
    const Box f = draw_key(s, b, KeyStyle::Function);
    const KeyColours k = key_colours(KeyStyle::Function);
    const Colour ink = enabled ? k.text : mix(k.face, k.text, 30);
    draw_triangle(s, f.left + f.width() / 2, f.top + f.height() / 2, d, 3, ink);
}

// The track the page areas share: a groove with a centre rule.
void scroll_track(Surface& s, const Box& b, bool vertical, bool enabled) {
    fill_rounded(s, b, 2, mode_groove_colour());
    const Colour rule = enabled ? rgb(58, 64, 80) : rgb(30, 33, 42);
    if (vertical) {
        const int x = b.left + b.width() / 2;
        fill_rect(s, rule, x, b.top + 3, x, b.bottom - 3);
    } else {
        const int y = b.top + b.height() / 2;
        fill_rect(s, rule, b.left + 3, y, b.right - 3, y);
    }
}

const char* const kTabs[11] = {"Ans", "A", "B", "C", "D", "E", "F", "G", "H", "I", "J"};

// Tab k: 0 for the answer, 1..10 for A..J.
void draw_tab(Surface& s, int k, bool selected, int dx = 0, int dy = 0) {
    Box b = key_box(FACE_EDITOR, 21 + k);
    b = Box{b.left + dx, b.top + dy, b.right + dx, b.bottom + dy};
    const KeyStyle style = selected ? KeyStyle::TabSelected : KeyStyle::Tab;
    const Box f = draw_key(s, b, style);
    centre_legend(s, f, Type::Caption, kTabs[k], key_colours(style).text);
}

Box union_of(const Box& a, const Box& b) {
    return Box{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
               std::max(a.bottom, b.bottom)};
}

Surface editor_face(bool list) {
    using namespace palette;
    Surface s(SCREEN_W, SCREEN_H);
    draw_body(s, true);
    draw_bezel(s, Box{7, 8, 233, 46}, 3, 4, 3);
    draw_mode_buttons(s, FACE_EDITOR, 0, -1);

    // The sheet: title row, column numbers, row numbers and the cells.
    const Box first_cell = key_box(FACE_EDITOR, 32), last_cell = key_box(FACE_EDITOR, 71);
    const Box grid{first_cell.left, first_cell.top, last_cell.right, last_cell.bottom};
    const Box sheet_box{1, 67, grid.right + 1, grid.bottom + 1};
    fill_rect(s, rgb(4, 5, 7), sheet_box.left, sheet_box.top, sheet_box.right, sheet_box.bottom);
    fill_rect(s, palette::sheet, sheet_box.left + 1, sheet_box.top + 1, sheet_box.right - 1,
              sheet_box.bottom - 1);
    fill_rect(s, shade(palette::sheet, 24), sheet_box.left + 1, sheet_box.top + 1,
              sheet_box.right - 1, sheet_box.top + 1);
    const int head_top = 87;
    fill_rect(s, grid_head, sheet_box.left + 1, head_top, grid.right, grid.top - 1);
    fill_rect(s, grid_head, sheet_box.left + 1, grid.top, grid.left - 1, grid.bottom);
    fill_rect(s, shade(grid_head, -36), sheet_box.left + 1, head_top - 1, grid.right,
              head_top - 1);
    fill_rect(s, grid_cell, grid.left, grid.top, grid.right, grid.bottom);
    // Rules on the shared edges of the cells (the rows of cells overlap by
    // one pixel, the columns abut).
    for (int row = 0; row <= 8; ++row) {
        const int y = row < 8 ? key_box(FACE_EDITOR, 32 + 5 * row).top : grid.bottom;
        fill_rect(s, grid_rule, grid.left, y, grid.right, y);
    }
    if (!list) {
        for (int col = 0; col < 5; ++col) {
            const int x = key_box(FACE_EDITOR, 32 + col).left;
            fill_rect(s, grid_rule, x, grid.top, x, grid.bottom);
        }
    } else {
        // One value column: the rule after the element numbers only.
        fill_rect(s, grid_rule, grid.left, grid.top, grid.left, grid.bottom);
    }
    fill_rect(s, grid_rule, grid.right, grid.top, grid.right, grid.bottom);
    // Fine separators in the number strips, in line with the rules, so the
    // numbers sit over their columns and beside their rows.
    const Colour tick = shade(grid_head, -18);
    for (int row = 1; row < 8; ++row) {
        const int y = key_box(FACE_EDITOR, 32 + 5 * row).top;
        fill_rect(s, tick, sheet_box.left + 3, y, grid.left - 3, y);
    }
    if (!list)
        for (int col = 1; col < 5; ++col) {
            const int x = key_box(FACE_EDITOR, 32 + col).left;
            fill_rect(s, tick, x, head_top + 3, x, grid.top - 3);
        }
    // A darker edge where the number strips meet the cells.
    fill_rect(s, shade(grid_head, -40), grid.left - 1, grid.top, grid.left - 1, grid.bottom);
    fill_rect(s, shade(grid_head, -40), grid.left - 1, grid.top - 1, grid.right, grid.top - 1);

    // Scrolling.
    scroll_arrow(s, key_box(FACE_EDITOR, 17), Direction::Up, true);
    scroll_arrow(s, key_box(FACE_EDITOR, 18), Direction::Down, true);
    scroll_track(s, union_of(key_box(FACE_EDITOR, 13), key_box(FACE_EDITOR, 14)), true, true);
    scroll_arrow(s, key_box(FACE_EDITOR, 15), Direction::Left, !list);
    scroll_arrow(s, key_box(FACE_EDITOR, 16), Direction::Right, !list);
    scroll_track(s, union_of(key_box(FACE_EDITOR, 11), key_box(FACE_EDITOR, 12)), false, !list);

    // Tabs of the answer and the ten matrices or lists, none selected.
    for (int k = 0; k < 11; ++k) draw_tab(s, k, false);

    legend_key(s, key_box(FACE_EDITOR, 8), KeyStyle::Function, "Size");
    legend_key(s, key_box(FACE_EDITOR, 9), KeyStyle::Function, "Vars");
    legend_key(s, key_box(FACE_EDITOR, 6), KeyStyle::Function, "Math");
    pad_key(s, key_box(FACE_EDITOR, 10), KeyStyle::Operator, "[ ]+");
    pad_key(s, key_box(FACE_EDITOR, 7), KeyStyle::Equals, "=");
    return s;
}

// The alpha keyboard, in its own picture coordinates (the key table's raw
// values).
Box alpha_key(int k) {
    const KeyRect& r = face_table(FACE_ALPHA).keys[k];
    return Box{r.left, r.top, r.right, r.bottom};
}

Surface alpha_keyboard() {
    using namespace palette;
    Surface s(234, 172, alpha_panel);
    // A raised panel: dark outline, lit upper-left lip, shaded lower-right.
    frame_rect(s, body_edge, 0, 0, s.width() - 1, s.height() - 1);
    fill_rect(s, shade(alpha_panel, 30), 1, 1, s.width() - 2, 1);
    fill_rect(s, shade(alpha_panel, 30), 1, 1, 1, s.height() - 2);
    fill_rect(s, shade(alpha_panel, -40), 2, s.height() - 2, s.width() - 2, s.height() - 2);
    fill_rect(s, shade(alpha_panel, -40), s.width() - 2, 2, s.width() - 2, s.height() - 2);
    // Where the prompt goes: a faint rule under it.
    fill_rect(s, shade(alpha_panel, -22), 8, 26, s.width() - 9, 26);

    static const char* const kRows = "1234567890QWERTYUIOPASDFGHJKLZXCVBNM";
    for (int k = 0; k < 36; ++k) {
        const char text[2] = {kRows[k], 0};
        legend_key(s, alpha_key(k), k < 10 ? KeyStyle::Operator : KeyStyle::Function, text);
    }
    shift_key(s, alpha_key(36), Shift::Alpha, false);
    legend_key(s, alpha_key(37), KeyStyle::Function, "\x81 Del");
    legend_key(s, alpha_key(38), KeyStyle::Function, "Space");
    legend_key(s, alpha_key(39), KeyStyle::Function, "Symbol");
    legend_key(s, alpha_key(40), KeyStyle::Equals, "OK");
    legend_key(s, alpha_key(41), KeyStyle::Clear, "Cancel");
    return s;
}

}  // namespace

void draw_editor_faces(ArtList& out) {
    const Surface matrix = editor_face(false);
    out.push_back({"MATRIX_GIF", Kind::Picture, matrix});
    out.push_back({"LIST_GIF", Kind::Picture, editor_face(true)});
    // The selected tabs: cut from the face itself round the tab, so that
    // the margins the picture covers match the face exactly.
    static const char* const kNames[11] = {"MATRIX_ANS", "MATRIX_A", "MATRIX_B", "MATRIX_C",
                                           "MATRIX_D",   "MATRIX_E", "MATRIX_F", "MATRIX_G",
                                           "MATRIX_H",   "MATRIX_I", "MATRIX_J"};
    for (int k = 0; k < 11; ++k) {
        const int x = k == 0 ? 0 : (k + 1) * 20, y = 252, w = k == 0 ? 40 : 20, h = 12;
        Surface tab(w, h);
        copy_block(tab, 0, 0, matrix, x, y, w, h);
        draw_tab(tab, k, true, -x, -y);
        out.push_back({kNames[k], Kind::Picture, tab});
    }
}

void draw_alpha_keyboard(ArtList& out) {
    out.push_back({"ALPHA_ENTRY_GIF", Kind::Picture, alpha_keyboard()});
    // The prompts over the keyboard: dark text on the panel's colour.
    struct Prompt {
        const char* name;
        const char* text;
    };
    static const Prompt kPrompts[] = {
        {"ALPHA_PROGRAM_NAME", "Program Name:"},
        {"ALPHA_INPUT_PROMPT", "Input Prompt:"},
        {"ALPHA_OUTPUT_TEXT_LABEL", "Output Text Label:"},
        {"ALPHA_OUTPUT_TEXT", "Output Text:"},
        {"ALPHA_MENU_ITEM", "Menu Item:"},
        {"ALPHA_MENU_TITLE", "Menu Title:"},
        {"ALPHA_CONSTANT_NAME", "Constant Name:"},
        {"ALPHA_CONSTANT_UNIT", "Constant Unit:"},
    };
    for (const Prompt& p : kPrompts) {
        Surface s(200, 16, palette::alpha_panel);
        draw_text_bold(s, FONT_DIALOG, p.text, 2, (16 - font_height(FONT_DIALOG)) / 2,
                       palette::alpha_panel_text);
        out.push_back({p.name, Kind::Picture, s});
    }
}

}  // namespace qx::art

// Painting the MATRIX and LIST faces over their background pictures: the
// selected tab, the title row, the row and column numbers, the cells with
// the selection, and the bottom line with the selected value in full.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/format.h"
#include "engine/settings.h"
#include "matrix/store.h"
#include "panel/editor.h"
#include "panel/images.h"
#include "platform/font.h"

namespace qx {

namespace {

// Geometry of the sheet on the face pictures (the cells are the keys
// 32..71 of the editor face).
constexpr int kGridLeft = 22;
constexpr int kGridTop = 103;
constexpr int kGridRight = 226;
constexpr int kCellWidth = 41;
constexpr int kCellHeight = 15;
constexpr int kTitleTop = 71;        // text line inside the light title row 68..85
constexpr int kHeadTop = 89;         // text line inside the column-number strip 87..102
constexpr int kBottomLineTop = 226;  // the dark band between the sheet and the scroll keys
constexpr int kTextInset = 2;        // from a cell's right rule to its text
// Room for a value inside one matrix cell, with a little air on the left.
constexpr int kCellTextWidth = kCellWidth - 6;
constexpr int kTabY = 252;

// The title row and the number strips are light, so text there is dark;
// the bottom line sits on the dark body and is light.
constexpr Colour kInk = rgb(22, 25, 32);
constexpr Colour kDimInk = rgb(120, 128, 142);      // numbers beyond the object's size
constexpr Colour kOutside = rgb(208, 213, 221);     // cells beyond the object's size
constexpr Colour kOutsideRule = rgb(188, 195, 206);
constexpr Colour kSelectFill = rgb(186, 228, 221);
constexpr Colour kSelectFrame = rgb(18, 122, 112);
constexpr Colour kBottomLabel = rgb(150, 158, 172);
constexpr Colour kBottomValue = rgb(240, 240, 234);

void strip_fraction_zeros(char* s) {
    if (!std::strchr(s, '.')) return;
    std::size_t n = std::strlen(s);
    while (n > 0 && s[n - 1] == '0') s[--n] = '\0';
    if (n > 0 && s[n - 1] == '.') s[--n] = '\0';
}

// The exponent as a capital E (legible in the small font) and the decimal
// mark of the settings.
std::string finish(std::string t, bool mark_done) {
    bool mark = mark_done;
    for (char& ch : t) {
        if (ch == 'e') ch = 'E';
        else if (ch == '.' && !mark && g_settings.decimal_mark == 1) {
            ch = ',';
            mark = true;
        }
    }
    return t;
}

bool fits(const std::string& t, int width) { return text_width(FONT_DIALOG, t.c_str()) <= width; }

// A text shortened with ".." when it is wider than width.
std::string fit_in(const std::string& text, int width) {
    if (fits(text, width)) return text;
    std::string t = text;
    while (!t.empty() && !fits(t + "..", width)) t.pop_back();
    return t + "..";
}

int cell_left(int column) { return kGridLeft + kCellWidth * column; }
int cell_top(int row) { return kGridTop + kCellHeight * row; }
// A cell's own pixels, inside the rules it shares with its neighbours.
int cell_inner_right(int column) {
    const int r = cell_left(column) + kCellWidth - 1;
    return r >= kGridRight ? kGridRight - 1 : r;
}
int text_top(int row) { return cell_top(row) + (kCellHeight + 1 - font_height(FONT_DIALOG)) / 2; }

void right_aligned(Surface& s, const std::string& text, int right, int y, Colour c) {
    draw_text(s, FONT_DIALOG, text.c_str(), right - text_width(FONT_DIALOG, text.c_str()), y, c);
}

// The tab pictures are the same on both faces: the answer, then A..J.
void draw_selected_tab(Surface& s, int k) {
    static const char* const kNames[11] = {"MATRIX_A", "MATRIX_B", "MATRIX_C", "MATRIX_D",
                                           "MATRIX_E", "MATRIX_F", "MATRIX_G", "MATRIX_H",
                                           "MATRIX_I", "MATRIX_J", "MATRIX_ANS"};
    if (k < 0 || k > EDITOR_ANSWER) return;
    const int x = k == EDITOR_ANSWER ? 0 : (k + 2) * 20;
    draw_gif(s, kNames[k], x, kTabY, true, g_settings.brightness);
}

void draw_title(Surface& s, const char* kind, int k, const std::string& size) {
    char title[32];
    if (k == EDITOR_ANSWER) std::snprintf(title, sizeof title, "%s Ans", kind);
    else std::snprintf(title, sizeof title, "%s %c", kind, 'A' + k);
    draw_text_bold(s, FONT_DIALOG, title, 6, kTitleTop, kInk);
    right_aligned(s, size, kGridRight - 3, kTitleTop, kInk);
}

// The bottom line: the selected position, dimmer, then its value.
void draw_bottom_line(Surface& s, const std::string& label, const std::string& value) {
    int x = 6;
    x += draw_text(s, FONT_DIALOG, label.c_str(), x, kBottomLineTop, kBottomLabel);
    const std::string shown = value.empty() ? value : " " + value;
    draw_text(s, FONT_DIALOG, fit_in(shown, kGridRight - x).c_str(), x, kBottomLineTop, kBottomValue);
}

// A cell beyond the object's size: flat grey with darker rules, so the
// object's extent stands out as the white block of the grid.
void fill_outside(Surface& s, int row, int left_column, int right_column) {
    const int left = cell_left(left_column), top = cell_top(row);
    const int right = cell_inner_right(right_column) + 1, bottom = top + kCellHeight;
    frame_rect(s, kOutsideRule, left, top, right, bottom);
    fill_rect(s, kOutside, left + 1, top + 1, right - 1, bottom - 1);
}

void frame_selection(Surface& s, int row, int left_column, int right_column) {
    const int left = cell_left(left_column), top = cell_top(row);
    const int right = cell_inner_right(right_column) + 1, bottom = top + kCellHeight;
    fill_rect(s, kSelectFill, left + 1, top + 1, right - 1, bottom - 1);
    frame_rect(s, kSelectFrame, left, top, right, bottom);
}

void paint_matrix(Surface& s) {
    const int k = g_editor.matrix;
    const Matrix& m = g_matrices[k];
    const MatrixView& v = g_editor.matrices[k];
    draw_selected_tab(s, k);

    char size[32];
    if (m.defined) std::snprintf(size, sizeof size, "Size: %dx%d", m.rows(), m.columns());
    else std::snprintf(size, sizeof size, "Size: Undefined");
    draw_title(s, "Matrix", k, size);

    const int rows = m.defined ? m.rows() : 0, columns = m.defined ? m.columns() : 0;
    char number[16];
    for (int c = 0; c < EDITOR_VIEW_COLUMNS; ++c) {
        const int column = v.left + c;
        std::snprintf(number, sizeof number, "%d", column + 1);
        right_aligned(s, number, cell_inner_right(c) - 1, kHeadTop, column < columns ? kInk : kDimInk);
    }
    for (int r = 0; r < EDITOR_VIEW_ROWS; ++r) {
        const int row = v.top + r;
        std::snprintf(number, sizeof number, "%d", row + 1);
        right_aligned(s, number, kGridLeft - 3, text_top(r), row < rows ? kInk : kDimInk);
    }

    for (int r = 0; r < EDITOR_VIEW_ROWS; ++r) {
        const int row = v.top + r;
        for (int c = 0; c < EDITOR_VIEW_COLUMNS; ++c) {
            const int column = v.left + c;
            if (row >= rows || column >= columns) {
                fill_outside(s, r, c, c);
                continue;
            }
            if (row == v.row && column == v.column) frame_selection(s, r, c, c);
            right_aligned(s, compact_number(m.e[row][column], kCellTextWidth), cell_inner_right(c) - 1,
                          text_top(r), kInk);
        }
    }

    if (!m.defined) {
        draw_bottom_line(s, k == EDITOR_ANSWER ? "No matrix result yet" : "Undefined: Size sets rows and columns", "");
        return;
    }
    char label[32];
    std::snprintf(label, sizeof label, "%d,%d=", v.row + 1, v.column + 1);
    draw_bottom_line(s, label, full_number(m.e[v.row][v.column], 0.0));
}

void paint_list(Surface& s) {
    const int k = g_editor.list;
    const ListValue& l = g_lists[k];
    const ListCursor& c = g_editor.lists[k];
    draw_selected_tab(s, k);

    char size[32];
    if (l.defined) std::snprintf(size, sizeof size, "Size: %d", l.size());
    else std::snprintf(size, sizeof size, "Size: Undefined");
    draw_title(s, "List", k, size);

    const int count = l.defined ? l.size() : 0;
    const int last_column = EDITOR_VIEW_COLUMNS - 1;
    const int value_right = cell_inner_right(last_column) - 2;
    right_aligned(s, "Value", value_right, kHeadTop, kInk);
    char number[16];
    for (int r = 0; r < EDITOR_VIEW_ROWS; ++r) {
        const int element = c.top + r;
        std::snprintf(number, sizeof number, "%d", element + 1);
        right_aligned(s, number, kGridLeft - 3, text_top(r), element < count ? kInk : kDimInk);
        if (element >= count) {
            fill_outside(s, r, 0, last_column);
            continue;
        }
        if (element == c.element) frame_selection(s, r, 0, last_column);
        const int room = value_right - cell_left(0) - 2 * kTextInset;
        right_aligned(s, fit_in(full_number(l.re[element], l.im[element]), room), value_right, text_top(r), kInk);
    }

    if (!l.defined) {
        draw_bottom_line(s, k == EDITOR_ANSWER ? "No list result yet" : "Undefined: Size sets the elements", "");
        return;
    }
    char label[32];
    std::snprintf(label, sizeof label, "%d=", c.element + 1);
    draw_bottom_line(s, label, full_number(l.re[c.element], l.im[c.element]));
}

}  // namespace

std::string compact_number(double x, int max_width) {
    if (std::isnan(x)) return "NaN";
    if (std::isinf(x)) return x > 0 ? "Inf" : "-Inf";
    if (x == 0.0) return "0";
    // The calculator's own form first: a cell reads as the display would.
    std::string t = finish(format_real(x, g_settings.number_format, g_settings.decimal_digits, false), true);
    if (fits(t, max_width)) return t;
    // Otherwise the plain or the exponent form, whichever keeps the value
    // better in the room there is (the plain one when they tie).
    std::string best;
    double best_error = HUGE_VAL;
    auto consider = [&](const std::string& text) {
        std::string plain = text;
        for (char& ch : plain)
            if (ch == ',') ch = '.';
        const double error = std::fabs(std::strtod(plain.c_str(), nullptr) - x);
        if (error < best_error) {
            best = text;
            best_error = error;
        }
    };
    char buf[64];
    if (std::fabs(x) < 1e15) {
        for (int p = 10; p >= 0; --p) {
            std::snprintf(buf, sizeof buf, "%.*f", p, x);
            strip_fraction_zeros(buf);
            t = finish(buf, false);
            if (fits(t, max_width)) {
                // Too few places would show a small value as 0.
                if (std::strtod(buf, nullptr) != 0.0) consider(t);
                break;
            }
        }
    }
    std::string narrowest;
    for (int p = 10; p >= 0; --p) {
        std::snprintf(buf, sizeof buf, "%.*E", p, x);
        char* e = std::strchr(buf, 'E');
        const int exponent = e ? std::atoi(e + 1) : 0;
        if (e) *e = '\0';
        strip_fraction_zeros(buf);
        char joined[80];
        std::snprintf(joined, sizeof joined, "%sE%d", buf, exponent);
        narrowest = finish(joined, false);
        if (fits(narrowest, max_width)) {
            consider(narrowest);
            break;
        }
    }
    // Nothing fits a very narrow room: the shortest form overflows a little.
    return best.empty() ? narrowest : best;
}

std::string full_number(double re, double im) {
    const int format = g_settings.number_format, digits = g_settings.decimal_digits;
    if (im == 0.0) return finish(format_real(re, format, digits, false), true);
    if (g_settings.complex_format == CPLX_POLAR)
        return format_complex_plain(re, im, format, digits, false);
    std::string text = re != 0.0 ? finish(format_real(re, format, digits, false), true) : "";
    if (re != 0.0 || im < 0.0) text += im < 0.0 ? "-" : "+";
    if (std::fabs(im) != 1.0) text += finish(format_real(std::fabs(im), format, digits, false), true);
    return text + "i";
}

void editor_paint_face(Surface& s) {
    editor_settle_shown();
    if (g_settings.calculator_mode == MODE_LIST) paint_list(s);
    else paint_matrix(s);
}

}  // namespace qx

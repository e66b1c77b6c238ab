// The editors' state and behaviour: which matrix and list are shown, their
// scrolling and selection, the keys of the editor face and the entering of
// values.  Painting is in editor_paint.cpp, the dialogs in
// editor_dialogs.cpp.
#include "panel/editor.h"

#include <cstdio>

#include "engine/errors.h"
#include "engine/evaluator.h"
#include "engine/hooks.h"
#include "engine/settings.h"
#include "matrix/store.h"
#include "panel/face.h"
#include "panel/key_decoder.h"
#include "panel/subsystems.h"
#include "panel/ui.h"

namespace qx {

EditorState g_editor;

namespace {

constexpr const char* kProgramName = "Quorix";

// The view scrolls over all 30 rows and columns a matrix can have,
// whatever its present size.
constexpr int kLastViewTop = MATRIX_MAX - EDITOR_VIEW_ROWS;       // 22
constexpr int kLastViewLeft = MATRIX_MAX - EDITOR_VIEW_COLUMNS;   // 25
constexpr int kLastListTop = LIST_MAX - EDITOR_VIEW_ROWS;          // 1

bool list_mode() { return g_settings.calculator_mode == MODE_LIST; }
bool editor_mode() {
    return g_settings.calculator_mode == MODE_MATRIX || g_settings.calculator_mode == MODE_LIST;
}

int clamp_index(int k) { return k < 0 ? 0 : k > EDITOR_ANSWER ? EDITOR_ANSWER : k; }

Matrix& shown_matrix() { return g_matrices[clamp_index(g_editor.matrix)]; }
MatrixView& shown_matrix_view() { return g_editor.matrices[clamp_index(g_editor.matrix)]; }
ListValue& shown_list() { return g_lists[clamp_index(g_editor.list)]; }
ListCursor& shown_list_cursor() { return g_editor.lists[clamp_index(g_editor.list)]; }

// --- keeping views sensible --------------------------------------------------

// An undefined matrix starts at its first cell (clearing undefines it); a
// selection outside a matrix that has become smaller goes back to the first
// cell, and the view with it so that the selection can be seen.
void settle_matrix_view(int k) {
    MatrixView& v = g_editor.matrices[k];
    const Matrix& m = g_matrices[k];
    if (v.top < 0 || v.top > kLastViewTop) v.top = 0;
    if (v.left < 0 || v.left > kLastViewLeft) v.left = 0;
    if (!m.defined) {
        v = MatrixView{0, 0, 0, 0};
        return;
    }
    if (v.row < 0 || v.row > m.last_row || v.column < 0 || v.column > m.last_column) v = MatrixView{0, 0, 0, 0};
}

void settle_list_cursor(int k) {
    ListCursor& c = g_editor.lists[k];
    const ListValue& l = g_lists[k];
    if (c.top < 0 || c.top > kLastListTop) c.top = 0;
    if (!l.defined) {
        c = ListCursor{0, 0};
        return;
    }
    if (c.element < 0 || c.element > l.last) c = ListCursor{0, 0};
}

// The first shown row (column) follows a selection that left the view.
void follow(int& first, int selected, int shown) {
    if (selected < first) first = selected;
    else if (selected >= first + shown) first = selected - (shown - 1);
}

void redraw() {
    if (editor_mode()) paint_face();
}

// --- captions ---------------------------------------------------------------------

void set_window_title(const std::string& title) {
    if (ui().window) ui().window->set_title(title);
}

// Other modes' captions belong to their owners; whatever was installed
// before the editors keeps that job.
void (*g_other_title)() = nullptr;

void refresh_title() {
    if (editor_mode()) {
        set_window_title(editor_caption());
        return;
    }
    if (g_other_title) g_other_title();
    else set_window_title(kProgramName);
}

// --- the answer tab -------------------------------------------------------------

void show_answer(bool list) {
    int& shown = list ? g_editor.list : g_editor.matrix;
    shown = EDITOR_ANSWER;
    // A new answer is looked at from its first cell.
    if (list) g_editor.lists[EDITOR_ANSWER] = ListCursor{0, 0};
    else g_editor.matrices[EDITOR_ANSWER] = MatrixView{0, 0, 0, 0};
}

// --- scrolling --------------------------------------------------------------------

// Each returns true when the view moved.  An undefined object has no
// cells to scroll over: its view stays at the start, as clearing leaves it.
bool scroll_matrix(int key) {
    if (!shown_matrix().defined) return false;
    MatrixView& v = shown_matrix_view();
    const MatrixView before = v;
    switch (key) {
        case 11: v.left = v.left - EDITOR_VIEW_COLUMNS < 0 ? 0 : v.left - EDITOR_VIEW_COLUMNS; break;
        case 12:
            v.left = v.left + 2 * EDITOR_VIEW_COLUMNS >= MATRIX_MAX + 1 ? kLastViewLeft
                                                                        : v.left + EDITOR_VIEW_COLUMNS;
            break;
        case 13: v.top = v.top - EDITOR_VIEW_ROWS < 0 ? 0 : v.top - EDITOR_VIEW_ROWS; break;
        case 14:
            v.top = v.top + 2 * EDITOR_VIEW_ROWS >= MATRIX_MAX + 1 ? kLastViewTop : v.top + EDITOR_VIEW_ROWS;
            break;
        case 15: if (v.left > 0) --v.left; break;
        case 16: if (v.left + EDITOR_VIEW_COLUMNS < MATRIX_MAX) ++v.left; break;
        case 17: if (v.top > 0) --v.top; break;
        case 18: if (v.top + EDITOR_VIEW_ROWS < MATRIX_MAX) ++v.top; break;
        default: break;
    }
    return v.top != before.top || v.left != before.left;
}

bool scroll_list(int key) {
    if (!shown_list().defined) return false;
    ListCursor& c = shown_list_cursor();
    const int before = c.top;
    switch (key) {
        case 13: c.top = c.top - EDITOR_VIEW_ROWS < 0 ? 0 : c.top - EDITOR_VIEW_ROWS; break;
        case 14: c.top = kLastListTop; break;
        case 17: if (c.top > 0) --c.top; break;
        case 18: if (c.top + EDITOR_VIEW_ROWS < LIST_MAX) ++c.top; break;
        default: break;
    }
    return c.top != before;
}

// --- selection by tap ---------------------------------------------------------------

void select_cell(int key) {
    const int view_row = (key - 32) / EDITOR_VIEW_COLUMNS, view_column = (key - 32) % EDITOR_VIEW_COLUMNS;
    if (list_mode()) {
        ListCursor& c = shown_list_cursor();
        const ListValue& l = shown_list();
        const int element = c.top + view_row;
        if (!l.defined || element > l.last) return;
        c.element = element;
    } else {
        MatrixView& v = shown_matrix_view();
        const Matrix& m = shown_matrix();
        const int row = v.top + view_row, column = v.left + view_column;
        if (!m.defined || row > m.last_row || column > m.last_column) return;
        v.row = row;
        v.column = column;
    }
    redraw();
}

// --- Size -------------------------------------------------------------------------------

int size_key() {
    if (list_mode()) {
        if (g_editor.list == EDITOR_ANSWER) {
            show_box("Can't directly edit the answer list.", "List");
            return KEY_COMMAND;
        }
        const ListValue& l = shown_list();
        int size = l.defined ? l.size() : 3;
        if (select_list_size(size)) editor_resize_list(g_editor.list, size);
    } else {
        if (g_editor.matrix == EDITOR_ANSWER) {
            show_box("Can't directly edit the answer matrix.", "Matrix");
            return KEY_COMMAND;
        }
        const Matrix& m = shown_matrix();
        int rows = m.defined ? m.rows() : 3, columns = m.defined ? m.columns() : 3;
        if (select_matrix_size(rows, columns)) editor_resize_matrix(g_editor.matrix, rows, columns);
    }
    refresh_title();
    redraw();
    return KEY_COMMAND;
}

// --- entering values --------------------------------------------------------------------

void enter_into_matrix(double re, double im) {
    if (g_editor.matrix == EDITOR_ANSWER) {
        show_box("Can't directly edit the answer matrix.", "Matrix");
        return;
    }
    if (im != 0.0) {
        show_box("Only real numbers can be inserted into a matrix.", "Matrix");
        return;
    }
    Matrix& m = shown_matrix();
    if (!m.defined) return;
    // The matrix may have shrunk since the selection was made.
    settle_matrix_view(clamp_index(g_editor.matrix));
    MatrixView& v = shown_matrix_view();
    m.e[v.row][v.column] = re;
    if (v.column < m.last_column) {
        ++v.column;
    } else if (v.row < m.last_row) {
        ++v.row;
        v.column = 0;
        v.left = 0;
    }
    follow(v.left, v.column, EDITOR_VIEW_COLUMNS);
    follow(v.top, v.row, EDITOR_VIEW_ROWS);
}

void enter_into_list(double re, double im) {
    if (g_editor.list == EDITOR_ANSWER) {
        show_box("Can't directly edit the answer list.", "List");
        return;
    }
    ListValue& l = shown_list();
    if (!l.defined) return;
    settle_list_cursor(clamp_index(g_editor.list));
    ListCursor& c = shown_list_cursor();
    l.re[c.element] = re;
    l.im[c.element] = im;
    if (c.element < l.last) ++c.element;
    follow(c.top, c.element, EDITOR_VIEW_ROWS);
}

}  // namespace

// --- public ---------------------------------------------------------------------------------

void reset_editor() {
    g_editor = EditorState{};
}

void editor_show_matrix(int k) {
    if (k < 0 || k > EDITOR_ANSWER) return;
    g_editor.matrix = k;
    settle_matrix_view(k);
    refresh_title();
    redraw();
}

void editor_show_list(int k) {
    if (k < 0 || k > EDITOR_ANSWER) return;
    g_editor.list = k;
    settle_list_cursor(k);
    refresh_title();
    redraw();
}

void editor_reset_matrix_view(int k) {
    if (k >= 0 && k <= EDITOR_ANSWER) g_editor.matrices[k] = MatrixView{0, 0, 0, 0};
}

void editor_reset_list_view(int k) {
    if (k >= 0 && k <= EDITOR_ANSWER) g_editor.lists[k] = ListCursor{0, 0};
}

bool editor_resize_matrix(int k, int rows, int columns) {
    if (k < 0 || k >= EDITOR_ANSWER || rows < 1 || rows > MATRIX_MAX || columns < 1 || columns > MATRIX_MAX)
        return false;
    Matrix& m = g_matrices[k];
    const int old_rows = m.defined ? m.rows() : 0, old_columns = m.defined ? m.columns() : 0;
    // Everything outside the kept block is 0, so a matrix that grows again
    // later shows zeros rather than values it once had.
    for (int r = 0; r < MATRIX_MAX; ++r)
        for (int c = 0; c < MATRIX_MAX; ++c)
            if (r >= rows || c >= columns || r >= old_rows || c >= old_columns) m.e[r][c] = 0.0;
    m.last_row = rows - 1;
    m.last_column = columns - 1;
    m.defined = true;
    settle_matrix_view(k);
    return true;
}

bool editor_resize_list(int k, int size) {
    if (k < 0 || k >= EDITOR_ANSWER || size < 1 || size > LIST_MAX) return false;
    ListValue& l = g_lists[k];
    const int old_size = l.defined ? l.size() : 0;
    for (int e = 0; e < LIST_MAX; ++e)
        if (e >= size || e >= old_size) l.re[e] = l.im[e] = 0.0;
    l.last = size - 1;
    l.defined = true;
    settle_list_cursor(k);
    return true;
}

std::string editor_caption() {
    char text[64];
    if (list_mode()) {
        const int k = clamp_index(g_editor.list);
        const ListValue& l = g_lists[k];
        char name[8];
        std::snprintf(name, sizeof name, k == EDITOR_ANSWER ? "L Ans" : "%c", 'A' + k);
        if (!l.defined) std::snprintf(text, sizeof text, "%s (%s[Undefined])", kProgramName, name);
        else std::snprintf(text, sizeof text, "%s (%s[%d])", kProgramName, name, g_editor.lists[k].element + 1);
        return text;
    }
    const int k = clamp_index(g_editor.matrix);
    const Matrix& m = g_matrices[k];
    const MatrixView& v = g_editor.matrices[k];
    char name[8];
    std::snprintf(name, sizeof name, k == EDITOR_ANSWER ? "M Ans" : "%c", 'A' + k);
    if (!m.defined) std::snprintf(text, sizeof text, "%s (%s[Undefined])", kProgramName, name);
    else std::snprintf(text, sizeof text, "%s (%s[%d,%d])", kProgramName, name, v.row + 1, v.column + 1);
    return text;
}

int editor_handle_key(int key) {
    const bool list = list_mode();
    switch (key) {
        case 8: return size_key();
        case 9: return select_editor_variable(list);
        case 11: case 12: case 13: case 14: case 15: case 16: case 17: case 18:
            // A scroll that changes nothing leaves the face as it is.
            if (list ? scroll_list(key) : scroll_matrix(key)) redraw();
            return KEY_NOTHING;
        default: break;
    }
    if (key >= 21 && key <= 31) {
        // The tabs run Ans, A..J; the editors number them A..J, Ans.
        const int k = key == 21 ? EDITOR_ANSWER : key - 22;
        if (list) editor_show_list(k);
        else editor_show_matrix(k);
        return KEY_NOTHING;
    }
    if (key >= 32 && key <= 71) {
        select_cell(key);
        refresh_title();
        return KEY_NOTHING;
    }
    return KEY_NOTHING;
}

void editor_enter(double re, double im) {
    // The value of a failed evaluation is no value.
    if (error_pending()) return;
    // From the editor faces the value goes to the face's own object; from
    // COMP (the data-entry key) to the data mode's.
    const int target = editor_mode() ? g_settings.calculator_mode : g_settings.dynamic_mode;
    const bool into_list = target == MODE_LIST;
    // Ans still holds the last scalar after a matrix or list result: what
    // the evaluation gave cannot go into one cell.
    if (g_last_result_kind != RK_SCALAR) {
        const char* what = g_last_result_kind == RK_MATRIX ? "matrix" : "list";
        char text[96];
        std::snprintf(text, sizeof text, "A %s result can't be inserted into %s.", what,
                      into_list ? "a list element" : "a matrix cell");
        show_box(text, into_list ? "List" : "Matrix");
        return;
    }
    if (into_list) enter_into_list(re, im);
    else enter_into_matrix(re, im);
    refresh_title();
}

void install_editor_hooks() {
    g_panel.editor_paint = editor_paint_face;
    g_panel.editor_key = editor_handle_key;
    g_panel.editor_enter_value = editor_enter;
    if (g_panel.window_title_refresh != refresh_title) {
        g_other_title = g_panel.window_title_refresh;
        g_panel.window_title_refresh = refresh_title;
    }
}

void editor_result_evaluated() {
    if (error_pending() || g_last_result_kind == RK_SCALAR) return;
    const bool list = g_last_result_kind == RK_LIST;
    const int mode = g_settings.calculator_mode;
    if (mode == MODE_MATRIX || mode == MODE_LIST) {
        // The editor that is shown keeps its face: only its own kind moves.
        if ((mode == MODE_LIST) == list) show_answer(list);
        return;
    }
    // From the other faces a matrix or list opens in its editor, where it
    // can be read.
    show_answer(list);
    enter_mode(list ? MODE_LIST : MODE_MATRIX);
}

// The painter settles the shown object's view before drawing it.
void editor_settle_shown() {
    // A state file may name an object that does not exist.
    g_editor.matrix = clamp_index(g_editor.matrix);
    g_editor.list = clamp_index(g_editor.list);
    if (list_mode()) settle_list_cursor(clamp_index(g_editor.list));
    else settle_matrix_view(clamp_index(g_editor.matrix));
    set_window_title(editor_caption());
}

}  // namespace qx

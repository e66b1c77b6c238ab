// The MATRIX and LIST faces: one of the eleven matrices (A..J and the
// answer) as a scrollable grid of cells, or one of the eleven lists as a
// column, under the calculator's display.  A value computed on the input
// line goes into the selected cell and the selection moves on, so a matrix
// or list is filled by typing values one after another; the Size key gives
// a matrix or list its size (and with it, a value).
#pragma once
#include <string>

#include "platform/surface.h"

namespace qx {

// What the grid shows at once.
constexpr int EDITOR_VIEW_ROWS = 8;
constexpr int EDITOR_VIEW_COLUMNS = 5;
// Index of the answer matrix or list among the eleven the editors show.
constexpr int EDITOR_ANSWER = 10;

// Where one matrix is scrolled to and which cell is selected (0-based).
struct MatrixView {
    int top, left;
    int row, column;
};
// The same for one list: the first row shown and the selected element.
struct ListCursor {
    int top;
    int element;
};

// Each matrix and list keeps its own view, so switching tabs comes back to
// where that one was left.
struct EditorState {
    int matrix;                     // 0..9 A..J, 10 the answer matrix
    MatrixView matrices[11];
    int list;                       // 0..9 A..J, 10 the answer list
    ListCursor lists[11];
};
extern EditorState g_editor;

// Fills the panel's editor hooks (painting, keys 8..71 of the editor face,
// entering a value) and the window caption, and has a matrix or list
// result shown on the answer tab of its editor.  Call it after the matrix
// subsystem has installed its engine hooks: the answer tab follows the
// storing of an answer, which this wraps.
void install_editor_hooks();
// Both editors back on matrix A and list A with every view at the start.
void reset_editor();

// Shows matrix (list) k, 0..10, and redraws; out-of-range k is ignored.
void editor_show_matrix(int k);
void editor_show_list(int k);
// Puts one matrix's (list's) view and selection back at the first cell, as
// clearing it does.
void editor_reset_matrix_view(int k);
void editor_reset_list_view(int k);

// Gives a matrix 1..30 x 1..30 (a list 1..9 elements): elements inside
// both the old and the new size keep their values, the others become 0,
// and the object is defined.  False (nothing changed) for the answers or
// a size out of range.
bool editor_resize_matrix(int k, int rows, int columns);
bool editor_resize_list(int k, int size);

// The hooks themselves, callable directly (tests, the state file).
void editor_paint_face(Surface& s);
int editor_handle_key(int key);
void editor_enter(double re, double im);
// The caption while the MATRIX or LIST face is shown: "Quorix (A[2,3])".
std::string editor_caption();
// For the painter: settles the shown object's view (a selection outside
// its size goes back to the first cell) and sets the caption; and marks
// the switch to the answer tab after an evaluation as seen.
void editor_settle_shown();
// After "=": a matrix (list) result is shown on the answer tab of its
// editor, which opens when another face is shown.
void editor_result_evaluated();

// The dialogs behind Size and Vars.  The size dialog returns false when
// cancelled; the variable dialog returns the token of the chosen entry, or
// -2 when cancelled.
bool select_matrix_size(int& rows, int& columns);
bool select_list_size(int& size);
int select_editor_variable(bool list);

// A value as short text that fits max_width pixels of the dialog font: the
// calculator's own number format when that fits, else as many digits as
// fit ("0.33333", "-1.235E7").
std::string compact_number(double value, int max_width);
// A value in full, as the bottom line shows the selected cell.
std::string full_number(double re, double im);

}  // namespace qx

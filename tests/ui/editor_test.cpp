// The MATRIX and LIST editors driven as a user drives them: values typed on
// the input line and entered with []+, taps on tabs, cells and scroll keys,
// the Size and Vars dialogs answered through the headless window, and the
// faces checked on the composed picture.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/errors.h"
#include "engine/evaluator.h"
#include "engine/hooks.h"
#include "engine/memory.h"
#include "engine/settings.h"
#include "matrix/store.h"
#include "panel/editor.h"
#include "panel/face.h"
#include "panel/images.h"
#include "panel/input_line.h"
#include "panel/key_decoder.h"
#include "panel/legend_names.h"
#include "panel/shell.h"
#include "panel/subsystems.h"
#include "panel/ui.h"
#include "platform/font.h"
#include "platform/window_headless.h"
#include "tests/ui/calculator_fixture.h"

namespace qx {
namespace {

// Editor-face keys.
constexpr int kSize = 8, kVars = 9, kEquals = 7, kEnter = 10;
constexpr int kPageLeft = 11, kPageRight = 12, kPageUp = 13, kPageDown = 14;
constexpr int kLeft = 15, kRight = 16, kUp = 17, kDown = 18;
constexpr int kTabAnswer = 21;
int tab(int k) { return 22 + k; }   // A..J
int cell(int view_row, int view_column) { return 32 + 5 * view_row + view_column; }

int g_paints = 0;
void counting_paint(Surface& s) {
    ++g_paints;
    editor_paint_face(s);
}

class Editor : public CalculatorFixture {
protected:
    // Types the value and enters it with []+.
    void enter(const std::string& text) {
        type(text);
        key(kEnter);
    }
    void matrix_mode() { enter_mode(MODE_MATRIX); }
    void list_mode() { enter_mode(MODE_LIST); }
    int boxes() const {
        int n = 0;
        for (const std::string& line : log) n += line.rfind("box ", 0) == 0;
        return n;
    }
    const MatrixView& view(int k = 0) const { return g_editor.matrices[k]; }
};

// --- edge cases --------------------------------------------------------------------------

TEST_F(Editor, OneTwoThreeFourFillATwoByTwoRowByRowAndStayOnTheLastCell) {
    ASSERT_TRUE(editor_resize_matrix(0, 2, 2));
    matrix_mode();
    for (const char* v : {"1", "2", "3", "4"}) enter(v);
    const Matrix& a = g_matrices[0];
    EXPECT_EQ(a.e[0][0], 1.0);
    EXPECT_EQ(a.e[0][1], 2.0);
    EXPECT_EQ(a.e[1][0], 3.0);
    EXPECT_EQ(a.e[1][1], 4.0);
    EXPECT_EQ(view().row, 1);
    EXPECT_EQ(view().column, 1);
    EXPECT_EQ(window.title(), "Quorix (A[2,2])");
    // A fifth value overwrites the last cell; the selection stays.
    enter("5");
    EXPECT_EQ(a.e[1][1], 5.0);
    EXPECT_EQ(view().row, 1);
    EXPECT_EQ(view().column, 1);
    EXPECT_EQ(boxes(), 0);
}

TEST_F(Editor, ComplexValueIsRefusedInAMatrixAndStoredWholeInAList) {
    ASSERT_TRUE(editor_resize_matrix(0, 2, 2));
    ASSERT_TRUE(editor_resize_list(0, 3));
    matrix_mode();
    type("2+3");
    insert_token(TOK_I, true);
    key(kEnter);
    EXPECT_TRUE(logged("box Matrix: Only real numbers can be inserted into a matrix."));
    EXPECT_EQ(g_matrices[0].e[0][0], 0.0);
    EXPECT_EQ(view().column, 0);

    list_mode();
    type("2+3");
    insert_token(TOK_I, true);
    key(kEnter);
    EXPECT_EQ(g_lists[0].re[0], 2.0);
    EXPECT_EQ(g_lists[0].im[0], 3.0);
    EXPECT_EQ(g_editor.lists[0].element, 1);
    EXPECT_EQ(window.title(), "Quorix (A[2])");
    // The list shows the whole value, on its row and on the bottom line.
    g_editor.lists[0].element = 0;
    EXPECT_EQ(full_number(2.0, 3.0), "2+3i");
    EXPECT_EQ(full_number(2.0, -3.0), "2-3i");
    EXPECT_EQ(full_number(0.0, -1.0), "-i");
}

TEST_F(Editor, ThirtyByThirtyScrolledFullyDownAndRightShowsRows23To30AndColumns26To30) {
    ASSERT_TRUE(editor_resize_matrix(0, 30, 30));
    matrix_mode();
    for (int k = 0; k < 6; ++k) key(kPageDown);
    for (int k = 0; k < 8; ++k) key(kPageRight);
    EXPECT_EQ(view().top, 22);
    EXPECT_EQ(view().left, 25);
    // One step further either way changes nothing.
    key(kDown);
    key(kRight);
    EXPECT_EQ(view().top, 22);
    EXPECT_EQ(view().left, 25);
}

TEST_F(Editor, ASelectionOutsideAMatrixThatBecameSmallerGoesBackToTheFirstCell) {
    ASSERT_TRUE(editor_resize_matrix(0, 3, 3));
    matrix_mode();
    key(cell(2, 2));
    EXPECT_EQ(view().row, 2);
    EXPECT_EQ(view().column, 2);
    ASSERT_TRUE(editor_resize_matrix(0, 2, 2));
    paint_face();
    EXPECT_EQ(view().row, 0);
    EXPECT_EQ(view().column, 0);
    EXPECT_EQ(window.title(), "Quorix (A[1,1])");
}

TEST_F(Editor, EnteringWithTheAnswerMatrixShownIsRefused) {
    g_matrices[ANSWER_OBJECT].last_row = g_matrices[ANSWER_OBJECT].last_column = 1;
    g_matrices[ANSWER_OBJECT].defined = true;
    matrix_mode();
    key(kTabAnswer);
    EXPECT_EQ(g_editor.matrix, EDITOR_ANSWER);
    EXPECT_EQ(window.title(), "Quorix (M Ans[1,1])");
    enter("7");
    EXPECT_TRUE(logged("box Matrix: Can't directly edit the answer matrix."));
    EXPECT_EQ(g_matrices[ANSWER_OBJECT].e[0][0], 0.0);
    // Size refuses the same way.
    log.clear();
    key(kSize);
    EXPECT_TRUE(logged("box Matrix: Can't directly edit the answer matrix."));
    EXPECT_FALSE(logged("Select Matrix Size"));

    list_mode();
    key(kTabAnswer);
    EXPECT_EQ(window.title(), "Quorix (L Ans[Undefined])");
    enter("7");
    EXPECT_TRUE(logged("box List: Can't directly edit the answer list."));
    log.clear();
    key(kSize);
    EXPECT_TRUE(logged("box List: Can't directly edit the answer list."));
}

// --- mended faults ----------------------------------------------------------------------

// The evaluation's value after a matrix result is a matrix, not the stale
// scalar Ans: []+ refuses it instead of entering an old number.
TEST_F(Editor, AMatrixResultIsNotEnteredAsACellValue) {
    ASSERT_TRUE(editor_resize_matrix(0, 2, 2));
    ASSERT_TRUE(editor_resize_matrix(1, 2, 2));
    g_matrices[0].e[0][0] = 9.0;
    matrix_mode();
    enter("6");   // Ans is now 6
    key(tab(1));
    insert_token(TOK_READ_MEM_2 + MEM_MATRIX_FIRST, true);   // [A]
    key(kEnter);
    EXPECT_TRUE(logged("box Matrix: A matrix result can't be inserted into a matrix cell."));
    EXPECT_EQ(g_matrices[1].e[0][0], 0.0);
    EXPECT_EQ(g_editor.matrices[1].column, 0);
    // The face stays on the matrix being filled.
    EXPECT_EQ(g_editor.matrix, 1);

    ASSERT_TRUE(editor_resize_list(0, 2));
    list_mode();
    g_last_result_kind = RK_LIST;
    editor_enter(1.0, 0.0);
    EXPECT_TRUE(logged("box List: A list result can't be inserted into a list element."));
    EXPECT_EQ(g_lists[0].re[0], 0.0);
}

// Storing a smaller matrix leaves the selection where it was until the
// next paint; []+ must not write outside the new size.
TEST_F(Editor, EnteringChecksTheSelectionAgainstAShrunkenSize) {
    ASSERT_TRUE(editor_resize_matrix(0, 3, 3));
    matrix_mode();
    key(cell(2, 2));
    Matrix& a = g_matrices[0];
    a.last_row = a.last_column = 1;   // as a store of a 2x2 result does
    editor_enter(8.0, 0.0);
    EXPECT_EQ(a.e[2][2], 0.0);
    EXPECT_EQ(a.e[0][0], 8.0);
    EXPECT_EQ(view().row, 0);
    EXPECT_EQ(view().column, 1);

    ASSERT_TRUE(editor_resize_list(0, 5));
    list_mode();
    key(cell(4, 0));
    EXPECT_EQ(g_editor.lists[0].element, 4);
    g_lists[0].last = 1;
    editor_enter(3.0, 0.0);
    EXPECT_EQ(g_lists[0].re[4], 0.0);
    EXPECT_EQ(g_lists[0].re[0], 3.0);
}

// --- answers shown after "=" ------------------------------------------------------------

TEST_F(Editor, EqualsWithAMatrixResultShowsTheAnswerTab) {
    ASSERT_TRUE(editor_resize_matrix(0, 2, 3));
    g_matrices[0].e[1][2] = 4.5;
    matrix_mode();
    key(tab(3));
    insert_token(TOK_READ_MEM_2 + MEM_MATRIX_FIRST, true);
    key(kEquals);
    EXPECT_EQ(g_editor.matrix, EDITOR_ANSWER);
    EXPECT_EQ(g_matrices[ANSWER_OBJECT].rows(), 2);
    EXPECT_EQ(window.title(), "Quorix (M Ans[1,1])");
    // Choosing another tab afterwards is not undone by later paints.
    key(tab(0));
    paint_face();
    EXPECT_EQ(g_editor.matrix, 0);
    // A scalar result leaves the tab alone.
    type("1+1=");
    EXPECT_EQ(g_editor.matrix, 0);
    // A matrix result computed on another face opens the MATRIX editor on
    // the answer tab, where it can be read.
    enter_mode(MODE_COMP);
    insert_token(TOK_READ_MEM_2 + MEM_MATRIX_FIRST, true);
    type("=");
    EXPECT_EQ(g_settings.calculator_mode, MODE_MATRIX);
    EXPECT_EQ(g_editor.matrix, EDITOR_ANSWER);
}

TEST_F(Editor, AListResultShowsTheAnswerListTab) {
    list_mode();
    ASSERT_TRUE(editor_resize_list(0, 3));
    for (int k = 0; k < 3; ++k) g_lists[0].re[k] = k + 1;
    insert_token(TOK_READ_MEM_2 + MEM_LIST_FIRST, true);
    type("*2=");
    EXPECT_EQ(g_editor.list, EDITOR_ANSWER);
    EXPECT_EQ(g_lists[ANSWER_OBJECT].size(), 3);
    EXPECT_EQ(g_lists[ANSWER_OBJECT].re[2], 6.0);
    EXPECT_EQ(window.title(), "Quorix (L Ans[1])");
    // A matrix result does not move the list face.
    key(tab(2));
    ASSERT_TRUE(editor_resize_matrix(0, 1, 1));
    insert_token(TOK_READ_MEM_2 + MEM_MATRIX_FIRST, true);
    type("=");
    EXPECT_EQ(g_editor.list, 2);
}

// --- keys ---------------------------------------------------------------------------------

TEST_F(Editor, MatrixScrollingSteps) {
    // The view scrolls over all 30 rows and columns, whatever the size.
    ASSERT_TRUE(editor_resize_matrix(0, 1, 1));
    matrix_mode();
    struct Step { int key, top, left; };
    const Step steps[] = {
        {kUp, 0, 0},   {kLeft, 0, 0},      {kDown, 1, 0},     {kPageDown, 9, 0},   {kPageDown, 17, 0},
        {kPageDown, 22, 0}, {kPageUp, 14, 0}, {kPageUp, 6, 0}, {kPageUp, 0, 0},     {kRight, 0, 1},
        {kPageRight, 0, 6}, {kPageRight, 0, 11}, {kPageRight, 0, 16}, {kPageRight, 0, 21}, {kPageRight, 0, 25},
        {kPageLeft, 0, 20}, {kLeft, 0, 19}, {kPageLeft, 0, 14}, {kPageLeft, 0, 9}, {kPageLeft, 0, 4},
        {kPageLeft, 0, 0},
    };
    for (const Step& s : steps) {
        key(s.key);
        EXPECT_EQ(view().top, s.top) << s.key;
        EXPECT_EQ(view().left, s.left) << s.key;
    }
    // Down one at a time stops with row 30 at the bottom of the view.
    for (int k = 0; k < 40; ++k) key(kDown);
    EXPECT_EQ(view().top, 22);
    // An undefined matrix does not scroll.
    key(tab(1));
    key(kDown);
    key(kPageRight);
    EXPECT_EQ(view(1).top, 0);
    EXPECT_EQ(view(1).left, 0);
}

TEST_F(Editor, AScrollThatChangesNothingDoesNotRedraw) {
    ASSERT_TRUE(editor_resize_matrix(0, 2, 2));
    g_panel.editor_paint = counting_paint;
    matrix_mode();
    g_paints = 0;
    key(kUp);
    key(kPageLeft);
    EXPECT_EQ(g_paints, 0);
    key(kDown);
    EXPECT_EQ(g_paints, 1);
}

TEST_F(Editor, ListScrollingSteps) {
    ASSERT_TRUE(editor_resize_list(0, 9));
    list_mode();
    const ListCursor& c = g_editor.lists[0];
    key(kDown);
    EXPECT_EQ(c.top, 1);
    key(kDown);
    EXPECT_EQ(c.top, 1);
    key(kUp);
    EXPECT_EQ(c.top, 0);
    key(kPageDown);
    EXPECT_EQ(c.top, 1);
    key(kPageUp);
    EXPECT_EQ(c.top, 0);
    // The sideways keys do nothing on the list face.
    for (int k : {kLeft, kRight, kPageLeft, kPageRight}) key(k);
    EXPECT_EQ(c.top, 0);
    // Tapping the last row after scrolling selects element 9.
    key(kDown);
    key(cell(7, 3));
    EXPECT_EQ(c.element, 8);
    EXPECT_EQ(window.title(), "Quorix (A[9])");
}

TEST_F(Editor, TapsSelectOnlyCellsInsideTheSize) {
    ASSERT_TRUE(editor_resize_matrix(0, 2, 3));
    matrix_mode();
    key(cell(1, 2));
    EXPECT_EQ(view().row, 1);
    EXPECT_EQ(view().column, 2);
    key(cell(2, 0));   // row 3 does not exist
    key(cell(0, 3));   // nor column 4
    EXPECT_EQ(view().row, 1);
    EXPECT_EQ(view().column, 2);
    // After scrolling, a tap selects relative to the view.
    ASSERT_TRUE(editor_resize_matrix(0, 12, 9));
    key(kDown);
    key(kRight);
    key(cell(7, 4));
    EXPECT_EQ(view().row, 8);
    EXPECT_EQ(view().column, 5);
    EXPECT_EQ(window.title(), "Quorix (A[9,6])");
    // An undefined matrix has nothing to select.
    key(tab(5));
    key(cell(0, 0));
    EXPECT_EQ(window.title(), "Quorix (F[Undefined])");
}

TEST_F(Editor, EnteringMovesTheViewWithTheSelection) {
    ASSERT_TRUE(editor_resize_matrix(0, 10, 7));
    matrix_mode();
    key(cell(0, 4));
    enter("1");
    EXPECT_EQ(view().column, 5);
    EXPECT_EQ(view().left, 1);
    enter("2");
    EXPECT_EQ(view().left, 2);
    enter("3");   // the last column: on to the start of the next row
    EXPECT_EQ(view().row, 1);
    EXPECT_EQ(view().column, 0);
    EXPECT_EQ(view().left, 0);
    // Down the rows, the view follows the selection below it.
    g_editor.matrices[0] = MatrixView{0, 0, 7, 6};
    enter("4");
    EXPECT_EQ(view().row, 8);
    EXPECT_EQ(view().top, 1);
    // And above it, after scrolling away.
    g_editor.matrices[0] = MatrixView{9, 0, 2, 6};
    enter("5");
    EXPECT_EQ(view().row, 3);
    EXPECT_EQ(view().top, 3);
    EXPECT_EQ(g_matrices[0].e[2][6], 5.0);

    ASSERT_TRUE(editor_resize_list(0, 9));
    list_mode();
    for (int k = 1; k <= 9; ++k) enter(std::to_string(k));
    EXPECT_EQ(g_editor.lists[0].element, 8);
    EXPECT_EQ(g_editor.lists[0].top, 1);
    for (int k = 0; k < 9; ++k) EXPECT_EQ(g_lists[0].re[k], k + 1.0);
}

TEST_F(Editor, UndefinedObjectsAndPendingErrorsTakeNothing) {
    matrix_mode();
    enter("3");
    EXPECT_FALSE(g_matrices[0].defined);
    EXPECT_EQ(boxes(), 0);
    ASSERT_TRUE(editor_resize_matrix(0, 1, 1));
    raise_error(ERR_SYNTAX, "test", "test");
    editor_enter(4.0, 0.0);
    EXPECT_EQ(g_matrices[0].e[0][0], 0.0);
    clear_error();
    // A failed evaluation enters nothing either.
    type("1/0");
    key(kEnter);
    EXPECT_EQ(g_matrices[0].e[0][0], 0.0);
}

TEST_F(Editor, DataEntryFromCompGoesToTheMatrixOrListBeingEdited) {
    ASSERT_TRUE(editor_resize_matrix(2, 1, 2));
    ASSERT_TRUE(editor_resize_list(3, 2));
    matrix_mode();
    key(tab(2));
    enter_mode(MODE_COMP);
    type("5");
    key(26);   // Σ+
    EXPECT_EQ(g_matrices[2].e[0][0], 5.0);
    EXPECT_EQ(g_editor.matrices[2].column, 1);
    list_mode();
    key(tab(3));
    enter_mode(MODE_COMP);
    type("6");
    key(26);
    EXPECT_EQ(g_lists[3].re[0], 6.0);
}

// --- dialogs ---------------------------------------------------------------------------------

TEST_F(Editor, SizeDialogsDefineAndResize) {
    matrix_mode();
    window.push_answer({"OK", {{"Rows", "2"}, {"Columns", "3"}}});
    key(kSize);
    EXPECT_TRUE(logged("dialog Select Matrix Size -> OK"));
    const Matrix& a = g_matrices[0];
    EXPECT_TRUE(a.defined);
    EXPECT_EQ(a.rows(), 2);
    EXPECT_EQ(a.columns(), 3);
    EXPECT_EQ(window.title(), "Quorix (A[1,1])");
    // Values inside the new size stay; a larger size brings zeros.
    g_matrices[0].e[1][2] = 7.0;
    g_matrices[0].e[0][0] = 1.0;
    window.push_answer({"OK", {{"Rows", "1"}, {"Columns", "45"}}});
    key(kSize);
    EXPECT_EQ(a.rows(), 1);
    EXPECT_EQ(a.columns(), 30);
    EXPECT_EQ(a.e[0][0], 1.0);
    EXPECT_EQ(a.e[1][2], 0.0);
    window.push_answer({"Cancel", {{"Rows", "5"}}});
    key(kSize);
    EXPECT_EQ(a.rows(), 1);

    list_mode();
    window.push_answer({"OK", {{"Size", "5"}}});
    key(kSize);
    EXPECT_TRUE(logged("dialog Select List Size -> OK"));
    EXPECT_TRUE(g_lists[0].defined);
    EXPECT_EQ(g_lists[0].size(), 5);
    EXPECT_EQ(window.title(), "Quorix (A[1])");
    EXPECT_FALSE(logged("bad value"));
    EXPECT_FALSE(logged("no control"));
    EXPECT_FALSE(editor_resize_list(0, 10));
    EXPECT_FALSE(editor_resize_matrix(0, 0, 3));
    EXPECT_FALSE(editor_resize_matrix(EDITOR_ANSWER, 2, 2));
}

TEST_F(Editor, VariableDialogsGiveTheTokensOfTheKeyTable) {
    struct Row { const char* entry; int matrix_token; int list_token; };
    const Row rows[] = {
        {"#0", 1299, 1300}, {"#1", 2090, 2100}, {"#10", 2099, 2109},
        {"#11", 3090, 3100}, {"#20", 3099, 3109},
    };
    for (bool list : {false, true}) {
        for (const Row& r : rows) {
            window.push_answer({"OK", {{"Variable", r.entry}}});
            EXPECT_EQ(select_editor_variable(list), list ? r.list_token : r.matrix_token) << r.entry;
        }
        window.push_answer({"OK", {{"Variable", list ? "LC" : "[C]"}}});
        EXPECT_EQ(select_editor_variable(list), list ? 2102 : 2092);
        window.push_answer({"Cancel", {{"Variable", "#3"}}});
        EXPECT_EQ(select_editor_variable(list), -2);
    }
    EXPECT_TRUE(logged("dialog Select Matrix Variable -> OK"));
    EXPECT_TRUE(logged("dialog Select List Variable -> OK"));
    EXPECT_FALSE(logged("bad value"));
    // Through the key, the token lands on the input line.
    matrix_mode();
    window.push_answer({"OK", {{"Variable", "#12"}}});
    key(kVars);
    ASSERT_GE(g_input.line.count, 1);
    EXPECT_EQ(g_input.line.tokens[g_input.line.count - 1], 3091);
}

TEST_F(Editor, CaptionsFollowTheShownObject) {
    matrix_mode();
    EXPECT_EQ(window.title(), "Quorix (A[Undefined])");
    key(kTabAnswer);
    EXPECT_EQ(window.title(), "Quorix (M Ans[Undefined])");
    list_mode();
    EXPECT_EQ(window.title(), "Quorix (A[Undefined])");
    ASSERT_TRUE(editor_resize_list(9, 4));
    key(tab(9));
    EXPECT_EQ(window.title(), "Quorix (J[1])");
    enter_mode(MODE_COMP);
    EXPECT_EQ(window.title(), "Quorix (n=0)");
}

// --- text that fits --------------------------------------------------------------------------

TEST(EditorNumbers, CompactFormFitsACellAndKeepsTheValue) {
    reset_settings();
    constexpr int room = 35;   // a matrix cell less its margins
    struct Row { double value; const char* text; };
    const Row rows[] = {
        {1.25, "1.25"}, {-1.0 / 3.0, "-0.3333"}, {120000, "120000"}, {0, "0"}, {-7, "-7"},
        {1e-7, "1E-7"}, {123456789, "1.235E8"}, {1.0 / 7.0, "0.14286"}, {-1e300, "-1E300"},
        {2.5e-30, "2.5E-30"}, {0.0001234, "1.23E-4"}, {-0.0001234, "-1.2E-4"}, {1234567, "1234567"},
    };
    for (const Row& r : rows) EXPECT_EQ(compact_number(r.value, room), r.text) << r.value;
    // Whatever the value, the text fits and reads back close to it: to a
    // few digits for everyday magnitudes, to one digit at the extremes.
    std::srand(7);
    for (int k = 0; k < 4000; ++k) {
        const double mantissa = (std::rand() / (RAND_MAX + 1.0)) * 2.0 - 1.0;
        const double value = mantissa * std::pow(10.0, std::rand() % 616 - 308);
        const std::string t = compact_number(value, room);
        EXPECT_LE(text_width(FONT_DIALOG, t.c_str()), room) << t;
        const double back = std::strtod(t.c_str(), nullptr);
        const double a = std::fabs(value);
        const double tolerance = a >= 1e-3 && a < 1e7 ? 0.05 : 0.5;
        EXPECT_LE(std::fabs(back - value), a * tolerance) << value << " " << t;
    }
    // The calculator's number format is used when it fits.
    g_settings.number_format = FMT_FIXED;
    g_settings.decimal_digits = 2;
    EXPECT_EQ(compact_number(3, room), "3.00");
    g_settings.decimal_mark = 1;
    EXPECT_EQ(compact_number(1.0 / 3.0, room), "0,33");
    reset_settings();
    g_settings.decimal_mark = 1;
    EXPECT_EQ(compact_number(-1.0 / 3.0, room), "-0,3333");
    reset_settings();
}

// --- drawing --------------------------------------------------------------------------------

// The ink of a box of the picture (pixels picked by `ink`) against the same
// text drawn alone: equal when the box shows exactly that text.
template <class Ink>
bool box_reads(const Surface& s, int left, int top, int right, int bottom, const std::string& text, Ink ink,
               bool bold = false) {
    auto mask = [](const Surface& src, int l, int t, int r, int b, auto is_ink) {
        int x0 = r + 1, y0 = b + 1, x1 = l - 1, y1 = t - 1;
        for (int y = t; y <= b; ++y)
            for (int x = l; x <= r; ++x)
                if (is_ink(src.get(x, y))) {
                    x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
                }
        std::vector<std::string> rows;
        for (int y = y0; y <= y1; ++y) {
            std::string row;
            for (int x = x0; x <= x1; ++x) row += is_ink(src.get(x, y)) ? '#' : '.';
            rows.push_back(row);
        }
        return rows;
    };
    Surface alone(200, 20, COLOUR_WHITE);
    if (bold) draw_text_bold(alone, FONT_DIALOG, text.c_str(), 2, 2, COLOUR_BLACK);
    else draw_text(alone, FONT_DIALOG, text.c_str(), 2, 2, COLOUR_BLACK);
    auto black = [](Colour c) { return red_of(c) + green_of(c) + blue_of(c) < 200; };
    return mask(s, left, top, right, bottom, ink) == mask(alone, 0, 0, 199, 19, black);
}

bool dark(Colour c) { return red_of(c) + green_of(c) + blue_of(c) < 200; }
bool bright(Colour c) { return red_of(c) + green_of(c) + blue_of(c) > 600; }

// The interior of the cell at view row r, view column c.
struct Box { int left, top, right, bottom; };
Box cell_box(int r, int c) { return {23 + 41 * c, 104 + 15 * r, 61 + 41 * c, 117 + 15 * r}; }

TEST_F(Editor, MatrixFaceShowsTitleNumbersCellsSelectionAndBottomLine) {
    ASSERT_TRUE(editor_resize_matrix(0, 3, 4));
    Matrix& a = g_matrices[0];
    a.e[0][0] = 1.25;
    a.e[1][2] = -7;
    a.e[2][3] = 1.0 / 7.0;
    matrix_mode();
    key(cell(1, 2));
    Surface s;
    compose_face(s);
    EXPECT_TRUE(box_reads(s, 2, 68, 100, 85, "Matrix A", dark, true));
    EXPECT_TRUE(box_reads(s, 120, 68, 226, 85, "Size: 3x4", dark));
    for (int c = 0; c < 4; ++c) {
        const Box b = cell_box(0, c);
        EXPECT_TRUE(box_reads(s, b.left, 88, b.right, 101, std::to_string(c + 1), dark)) << c;
    }
    for (int r = 0; r < 3; ++r) EXPECT_TRUE(box_reads(s, 2, 104 + 15 * r, 20, 117 + 15 * r, std::to_string(r + 1), dark));
    auto in = [&](int r, int c, const char* text) {
        const Box b = cell_box(r, c);
        return box_reads(s, b.left, b.top, b.right, b.bottom, text, dark);
    };
    EXPECT_TRUE(in(0, 0, "1.25"));
    EXPECT_TRUE(in(1, 2, "-7"));
    EXPECT_TRUE(in(2, 3, "0.14286"));
    EXPECT_TRUE(in(2, 0, "0"));
    // Cells beyond the size are flat and empty; the selected cell is filled.
    const Box outside = cell_box(3, 0), beyond = cell_box(0, 4), selected = cell_box(1, 2);
    const Colour flat = s.get(outside.left + 3, outside.top + 3);
    EXPECT_NE(flat, COLOUR_WHITE);
    EXPECT_EQ(s.get(beyond.left + 20, beyond.top + 5), flat);
    EXPECT_EQ(s.get(outside.left + 20, outside.top + 7), flat);
    const Colour fill = s.get(selected.left + 2, selected.top + 2);
    EXPECT_NE(fill, flat);
    EXPECT_NE(fill, s.get(cell_box(0, 0).left + 2, cell_box(0, 0).top + 2));
    // The bottom line: the position, then the value in full.
    EXPECT_TRUE(box_reads(s, 2, 225, 226, 239, "-7", bright));
    a.e[1][2] = 1.0 / 3.0;
    compose_face(s);
    EXPECT_TRUE(box_reads(s, 2, 225, 226, 239, "0.3333333333", bright));
    // The tab of A is drawn selected: the face differs from the picture there.
    Surface plain(SCREEN_WIDTH, SCREEN_HEIGHT);
    draw_gif(plain, "MATRIX_GIF", 0, 0, false, g_settings.brightness);
    bool tab_drawn = false;
    for (int x = 42; x <= 58; ++x) tab_drawn |= plain.get(x, 257) != s.get(x, 257);
    EXPECT_TRUE(tab_drawn);
}

TEST_F(Editor, FarCornerOfAThirtyByThirtyIsNumbered23To30And26To30) {
    ASSERT_TRUE(editor_resize_matrix(0, 30, 30));
    g_matrices[0].e[29][29] = 2929.5;
    matrix_mode();
    for (int k = 0; k < 3; ++k) key(kPageDown);
    for (int k = 0; k < 5; ++k) key(kPageRight);
    key(cell(7, 4));
    Surface s;
    compose_face(s);
    for (int r = 0; r < 8; ++r)
        EXPECT_TRUE(box_reads(s, 2, 104 + 15 * r, 20, 117 + 15 * r, std::to_string(23 + r), dark)) << r;
    for (int c = 0; c < 5; ++c) {
        const Box b = cell_box(0, c);
        EXPECT_TRUE(box_reads(s, b.left, 88, b.right, 101, std::to_string(26 + c), dark)) << c;
    }
    const Box b = cell_box(7, 4);
    EXPECT_TRUE(box_reads(s, b.left, b.top, b.right, b.bottom, "2929.5", dark));
    EXPECT_EQ(window.title(), "Quorix (A[30,30])");
}

TEST_F(Editor, ListFaceShowsElementsAndTheWholeValue) {
    ASSERT_TRUE(editor_resize_list(0, 5));
    ListValue& l = g_lists[0];
    l.re[0] = 2.5;
    l.re[3] = 2;
    l.im[3] = 3;
    list_mode();
    key(cell(3, 0));
    Surface s;
    compose_face(s);
    EXPECT_TRUE(box_reads(s, 120, 68, 226, 85, "Size: 5", dark));
    for (int r = 0; r < 5; ++r)
        EXPECT_TRUE(box_reads(s, 2, 104 + 15 * r, 20, 117 + 15 * r, std::to_string(r + 1), dark)) << r;
    EXPECT_TRUE(box_reads(s, 23, 104, 225, 117, "2.5", dark));
    EXPECT_TRUE(box_reads(s, 23, 104 + 45, 225, 117 + 45, "2+3i", dark));
    EXPECT_TRUE(box_reads(s, 2, 225, 226, 239, "2+3i", bright));
    // Rows beyond the size are flat.
    const Colour flat = s.get(30, 104 + 15 * 6 + 3);
    EXPECT_EQ(s.get(200, 104 + 15 * 7 + 3), flat);
    EXPECT_NE(flat, COLOUR_WHITE);
}

TEST_F(Editor, UndefinedMatrixShowsNoCells) {
    matrix_mode();
    Surface s;
    compose_face(s);
    EXPECT_TRUE(box_reads(s, 100, 68, 226, 85, "Size: Undefined", dark));
    const Colour flat = s.get(30, 110);
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 5; ++c) {
            const Box b = cell_box(r, c);
            EXPECT_EQ(s.get(b.left + 10, b.top + 6), flat);
        }
}

}  // namespace
}  // namespace qx

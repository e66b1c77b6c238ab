// The two display lines: the input line where an expression is built as a
// row of tokens with a cursor, and the result line below it; the history of
// expressions and the insertion of numbers given as text.
#pragma once
#include <string>

#include "engine/expression_cache.h"
#include "engine/tokens.h"
#include "platform/surface.h"

namespace qx {

constexpr int EXPRESSION_CAPACITY = 105;
constexpr int MAX_LINE_TOKENS = 100;
constexpr int HISTORY_SIZE = 20;

struct Expression {
    TokenCode tokens[EXPRESSION_CAPACITY];
    int count;
};

struct DrawnToken {
    int start, end;   // x range on the display
    int index;        // token index (count: the cursor mark at the end)
};

struct InputLine {
    Expression line;
    int cursor;              // 0..count; before the token at that index
    bool fresh;              // just evaluated, recalled or cleared
    bool no_auto_answer;     // set by AC, cleared by each evaluation
    bool answer_matrix;      // the last result was a matrix
    bool answer_list;        // the last result was a list
    bool cursor_shown;
    DrawnToken drawn[EXPRESSION_CAPACITY + 1];
    int drawn_count;
    Expression saved;        // the user's line, put aside while a program runs
    int saved_cursor;
};

struct ResultLine {
    char text[120];
    int scroll;              // first character shown
    bool more_right;
    bool empty;
    bool shown;              // holds the formatted answer rather than a message
    double value_re, value_im;   // the answer "show last result" formats
};

extern InputLine g_input;
extern ResultLine g_result;
extern Expression g_history[HISTORY_SIZE];
extern int g_history_count;

// Edits.  Each keeps the cursor inside 0..count.
bool insert_token(TokenCode token, bool redraw = true);
void insert_constant_string(const char* text, bool numeric_prefix);
// The tokens that type a number given as text ("-1.5e3", "2+3i", display
// glyphs), without brackets.  Characters without a token are skipped and
// counted in *unknown; -1 when the tokens do not fit in `capacity`.
int constant_text_tokens(const char* text, int length, TokenCode* out, int capacity, int* unknown);
void insert_memory_value(int index);
void delete_at_cursor();
void cursor_left(bool fast);
void cursor_right(bool fast);
void clear_line();                      // AC
// A tap on the input line: true when it was taken (it moved the cursor).
bool tap_on_line(int x, int y);

// "=" (for_plot false) or the plot key (true).
void evaluate_line(bool for_plot);
// Stores the line as the next free function of the current plot type.
void plot_line();

// History.
void history_add(const Expression& e);
void history_recall(int index, bool insert);
std::string history_text(int index);
// The text form of any expression (the same form as history entries).
std::string expression_text(const Expression& e);
// The "Select Expression" dialog.
void history_dialog();

// Drawing.  The lines go into the screen picture; redraw_lines also shows it.
void draw_input_line(Surface& s);
void draw_result_line(Surface& s);
void redraw_lines();
void set_result_text(const char* text, bool reset_scroll);
void show_last_result(bool only_if_shown);
void scroll_result(int direction);      // -1 left, +1 right
// The result line as plain text (display glyphs written out), for copying.
std::string result_plain_text();

// The answer flags of the line follow the kind of the last result.
void sync_answer_kind();
// Puts tokens on the line as editable text with the cursor at the end.
void set_line_tokens(const TokenCode* tokens, int count);

// Around program runs.
void save_line();
void restore_line(bool redraw);

void reset_input_line();   // a fresh calculator: empty line, empty history

}  // namespace qx

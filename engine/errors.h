// The error record shared by every calculation, the texts the user sees,
// the cancel check of long evaluations and the bounded text routines.
#pragma once
#include <cstddef>

namespace qx {

constexpr int TEXT_SIZE = 120;               // usual size of a text field
constexpr double UNDEFINED_VALUE = 9.54334561e300;  // "no value" marker

enum ErrorCode {
    ERR_OVERFLOW = 0, ERR_OVERFLOW_1 = 1, ERR_DIV_ZERO = 2, ERR_MATH = 3, ERR_DOMAIN = 4,
    ERR_SYNTAX = 5, ERR_NO_DATA = 6, ERR_NO_Y_DATA = 7, ERR_MEMORY = 8, ERR_UNEXPECTED = 9,
    ERR_CODE = 10, ERR_MATRIX_MISMATCH = 11, ERR_NOT_SQUARE = 12, ERR_MATRIX_SIZE = 13,
    ERR_SINGULAR = 14, ERR_MATRIX_UNDEFINED = 15, ERR_DATA_TYPE = 16, ERR_MATRIX_INDEX = 17,
    ERR_ARG_COUNT = 18, ERR_ARG_TYPE = 19, ERR_NOT_POS_DEF = 20, ERR_NOT_SYMMETRIC = 21,
    ERR_LIST_UNDEFINED = 22, ERR_LIST_INDEX = 23, ERR_LIST_SIZE = 24, ERR_CANCELED = 25,
    ERR_NEST_FNINT = 26, ERR_PAREN_LEVEL = 27, ERR_PAREN_UNBALANCED = 28, ERR_NO_ROOT = 29,
    ERR_NO_INTERSECTION = 30, ERR_TOHMS_NOT_LAST = 31, ERR_FUNCTION_NEST = 32,
};

struct ErrorRecord {
    bool pending;
    int code;
    char user_text[TEXT_SIZE];
    char detail[TEXT_SIZE];
    bool display_flag[2];   // redraw hints of the display, cleared on every raise
};

extern ErrorRecord g_error;

// Records the error unless one is pending already (the first one wins).
// Always returns 1 so callers can write `return raise_error(...)`.
int raise_error(int code, const char* message, const char* function);
bool error_pending();
int error_code();
const char* error_text();
const char* error_detail();
void clear_error();
const char* error_code_text(int code);

// Looks for a tap on a face key (or a cancel-mode request); raises
// "Operation Canceled" and returns true when the user asked to stop.
bool cancel_check();
void reset_cancel_check();

// Copy/append only when the whole text fits; otherwise the destination is
// emptied and a warning box reports the sizes.  Return whether it fitted.
bool copy_bounded(char* dest, const char* source, std::size_t size);
bool append_bounded(char* dest, const char* source, std::size_t size);

// Styles: the buttons in the low nibble, the icon above.  Answers: 1 OK, 6 Yes, 7 No.
enum { MB_STYLE_OK = 0, MB_STYLE_YES_NO = 4, MB_STYLE_EXCLAMATION = 0x30 };
enum { MB_ANSWER_OK = 1, MB_ANSWER_YES = 6, MB_ANSWER_NO = 7 };
int message_box(const char* text, const char* title, int style);
int warning_box(const char* text, const char* title);

}  // namespace qx

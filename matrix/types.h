// Matrix and list values: one fixed layout for every matrix and list in the
// calculator, so that nothing is allocated while an expression runs.
#pragma once

namespace qx {

constexpr int MATRIX_STORAGE = 31;   // rows and columns of the storage
constexpr int MATRIX_MAX = 30;       // the largest size an operation makes
constexpr int LIST_STORAGE = 10;
constexpr int LIST_MAX = 9;
constexpr int NAMED_OBJECTS = 10;    // A..J
constexpr int ANSWER_OBJECT = 10;    // M_Ans / L_Ans
constexpr int OBJECT_TEMPS = 10;     // temporary registers 11..20

struct Matrix {
    double e[MATRIX_STORAGE][MATRIX_STORAGE];   // e[row][column], 0-based
    int last_row;        // rows - 1 (-1: no rows)
    int last_column;     // columns - 1
    bool defined;
    int rows() const { return last_row + 1; }
    int columns() const { return last_column + 1; }
};

struct ListValue {
    double re[LIST_STORAGE];
    double im[LIST_STORAGE];
    int last;            // elements - 1 (-1: empty)
    bool defined;
    int size() const { return last + 1; }
};

}  // namespace qx

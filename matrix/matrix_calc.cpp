// perform_matrix_calculation: operand loads, the operator and scalar
// combinations a matrix accepts, the hand-over to the function library,
// the cleaning of rounding residue and the result's register.
#include <cmath>

#include "engine/errors.h"
#include "engine/scalar.h"
#include "matrix/library.h"
#include "matrix/store.h"

namespace qx {

namespace {

// Working slots: result, operand 1, operand 2.
Matrix g_result_slot, g_operand_1, g_operand_2;
ListValue g_list_result;

constexpr double kResidue = 1e-14;

bool refuse(const char* detail) {
    raise_error(ERR_DATA_TYPE, detail, "");
    return false;
}

// Which operations reach the library with two matrices or one matrix.
bool library_operation(int id) {
    switch (id) {
        case OP_DIV: case OP_ADD: case OP_SUB: case OP_INVERT: case OP_NEG: case OP_ABS:
        case OP_TRANSPOSE:
            return true;
        default:
            return (id >= 59 && id <= 86) || (id >= 146 && id <= 164);
    }
}

void clean(Matrix& m) {
    if (m.rows() < 1) return;
    for (int r = 0; r < m.rows(); ++r)
        for (int c = 0; c < m.columns(); ++c)
            if (std::fabs(m.e[r][c]) < kResidue) m.e[r][c] = 0.0;
}

void store_scalar(double value, TempRegister& result) {
    result.re = std::fabs(value) < kResidue ? 0.0 : value;
    result.im = 0.0;
    result.kind = RK_SCALAR;
}

// MtoL: the elements row by row; a list holds nine.
void matrix_to_list(const Matrix& m, TempRegister& result) {
    const int rows = m.rows() > 0 ? m.rows() : 0;
    const int columns = m.columns() > 0 ? m.columns() : 0;
    const int n = rows * columns;
    if (n > LIST_MAX) {
        raise_error(ERR_LIST_SIZE, "list is too big", "perform_matrix_calculation");
        return;
    }
    ListValue& l = g_list_result;
    int k = 0;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c, ++k) {
            l.re[k] = m.e[r][c];
            l.im[k] = 0.0;
        }
    for (; k < LIST_STORAGE; ++k) l.re[k] = l.im[k] = 0.0;
    l.last = n - 1;
    l.defined = true;
    store_list_result(l, result);
}

}  // namespace

void perform_matrix_calculation(const Operation& op, int operand1, int operand2,
                                const double scalars[4], bool two_operands, TempRegister& result) {
    Matrix& a = g_operand_1;
    Matrix& b = g_operand_2;
    Matrix& r = g_result_slot;
    // Both loads run so that both temporary registers are given back.
    const bool loaded_1 = load_matrix_operand(operand1, a);
    const bool loaded_2 = load_matrix_operand(operand2, b);
    if (!loaded_1 || !loaded_2) return;

    double s[4] = {scalars[0], scalars[1], scalars[2], scalars[3]};
    const int id = op.info.id;
    int library_id = id;
    bool scalar_flag = false;

    if (two_operands && ((operand1 < 0) != (operand2 < 0))) {
        // One matrix, one scalar.
        switch (id) {
            case OP_MUL: case OP_MUL_IMPLICIT: case OP_MUL_TERM:
                if (operand1 < 0) a = b;
                library_id = OP_MUL;
                break;
            case OP_DIV:
                if (operand1 < 0) {
                    refuse("E2");
                    return;
                }
                if (s[0] == 0.0) {
                    raise_error(ERR_DIV_ZERO, "Division by zero", "perform_matrix_calculation");
                    return;
                }
                break;
            case OP_POWER:
                if (operand1 < 0) {
                    refuse("E1");
                    return;
                }
                s[0] = int_in_range(s[0], -1000, 1000, ERR_DOMAIN);
                if (error_pending()) return;
                break;
            default:
                refuse("E3");
                return;
        }
        scalar_flag = true;
    } else {
        switch (id) {
            case OP_MUL: case OP_MUL_IMPLICIT: case OP_MUL_TERM:
                library_id = OP_MUL;
                break;
            case OP_SQUARED: case OP_CUBE:
                library_id = OP_POWER;
                s[0] = id == OP_SQUARED ? 2.0 : 3.0;
                scalar_flag = true;
                break;
            case OP_STORE: {
                // Matrices are stored into [A]..[J] only: memory index 100 is
                // list A, and the answer matrix is written by the evaluator.
                const int target = op.param;
                if (target < MEM_MATRIX_FIRST || target >= MEM_LIST_FIRST) {
                    refuse("E4");
                    return;
                }
                g_matrices[target - MEM_MATRIX_FIRST] = a;
                g_matrices[target - MEM_MATRIX_FIRST].defined = true;
                r = a;
                clean(r);
                store_matrix_result(r, result);
                return;
            }
            case 107:   // MtoL
                matrix_to_list(a, result);
                return;
            default:
                if (!library_operation(id)) {
                    refuse("E5");
                    return;
                }
                break;
        }
    }

    clear_fp_flags();
    const MatrixOutcome outcome = matrix_dispatch(library_id, a, b, s, scalar_flag, r);
    if (fpieee_handler() || error_pending()) return;
    switch (outcome.kind) {
        case MatrixResult::Scalar:
            store_scalar(outcome.scalar, result);
            return;
        case MatrixResult::Matrix:
            clean(r);
            store_matrix_result(r, result);
            return;
        case MatrixResult::None:
        default:
            raise_error(ERR_UNEXPECTED, "matrix operation gave no result", "perform_matrix_calculation");
            return;
    }
}

}  // namespace qx

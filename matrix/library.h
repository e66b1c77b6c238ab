// The matrix function library: products and powers, the row and column
// commands, the constructors, norms, the determinant and the five
// factorisations with the solvers built on them.  Every routine works in
// fixed storage and raises the calculator's errors (engine/errors.h).
#pragma once
#include "matrix/types.h"

namespace qx {

enum class MatrixResult { None, Scalar, Matrix };

struct MatrixOutcome {
    MatrixResult kind;   // None after a failure (the error is raised)
    double scalar;       // the value of a scalar result
};

// One operation by operator id (the ids of the token catalogue): A and B
// are the operands (B unused by one-operand routines), scalars[0..3] the
// further arguments in argument order or the scalar operand of an
// operator, scalar_flag set when one operand of a two-operand operator was
// a scalar.  A matrix result is written to R.
MatrixOutcome matrix_dispatch(int op_id, const Matrix& a, const Matrix& b, const double scalars[4],
                              bool scalar_flag, Matrix& r);

// The factorisations, for the dispatcher, the tests and the benchmarks.
// Each returns false (raising nothing) when the matrix does not qualify.
struct LuFactors {
    Matrix lu;                    // L below the diagonal (unit diagonal implied), U on and above
    int permutation[MATRIX_STORAGE];   // row i of P x A is row permutation[i] of A
    int sign;                     // +1 or -1: the parity of the interchanges
};
bool lu_decompose(const Matrix& a, LuFactors& out);
bool cholesky_decompose(const Matrix& a, Matrix& l);
// Economy-size QR: Q m x n, R n x n.
void qr_decompose(const Matrix& a, Matrix& q, Matrix& r);
// A = U diag(w) V^T; U m x n, V n x n; false when the iteration did not converge.
bool svd_decompose(const Matrix& a, Matrix& u, double w[MATRIX_STORAGE], Matrix& v);
// Real Schur-form eigenvalues (complex pairs as 2 x 2 blocks) and vectors;
// false when the iteration did not converge.
bool eigen_decompose(const Matrix& a, Matrix& d, Matrix& v);
double determinant(const Matrix& a);

}  // namespace qx

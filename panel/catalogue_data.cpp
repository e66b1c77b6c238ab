// The 87 entries of the function catalogue and their help texts.
//
// Within each category the titles must stay in case-insensitive alphabetical
// order: the dialog checks it every time it opens.  Each help text says what
// the function returns and on what conditions, then gives a worked call in
// the form the display shows it.  Greek letters are display-font codes
// (0x9B mu, 0x97 theta, 0x9F pi, 0xA1 sigma).
#include "panel/catalogue.h"

namespace qx {
namespace {

#define EXAMPLE "\r\n\r\nExample:\r\n   "

const CatalogueEntry kEntries[CATALOGUE_SIZE] = {
    // 0: Real Function
    {404, 0, "atan2(y, x)",
     "Alternate arctangent function. Returns the arctangent of y/x. The signs of both parameters "
     "are used to determine the quadrant of the return value. Both x and y must be real numbers."
     EXAMPLE "atan2(-862.4,78.5) returns -1.48... (RAD angle mode)"},
    {430, 0, "Bessel Jn(order, x)",
     "Bessel function of the first kind. Returns Jn(x), the Bessel function of integer order n "
     "at x. The order must be a whole number of 0 or more, and x must be a real number greater "
     "than 0."
     EXAMPLE "Jn(2,3.5) returns 0.4586291842"},
    {431, 0, "Bessel Yn(order, x)",
     "Bessel function of the second kind. Returns Yn(x), the Bessel function of integer order n "
     "at x. The order must be a whole number of 0 or more, and x must be a real number greater "
     "than 0."
     EXAMPLE "Yn(1,2.5) returns 0.145918138"},
    {407, 0, "Beta(z1, z2)",
     "Beta function. Returns Gamma(z1)*Gamma(z2)/Gamma(z1+z2). The parameters may be real or "
     "complex numbers; a real parameter must be greater than 0."
     EXAMPLE "Beta(2,3) returns 0.0833333333"},
    {168, 0, "Ceiling(z)",
     "Returns the smallest whole number that is greater than or equal to z. For a complex "
     "number the real and imaginary parts are rounded up separately."
     EXAMPLE "Ceil(-2.7) returns -2"},
    {482, 0, "Error(n)",
     "Returns the estimated absolute error of the last integral computed with fnInt: how far "
     "that result may be from the true value. The parameter must be a real number; it is not "
     "used, so write 1."
     EXAMPLE "after fnInt(x^2,x,0,1), Error(1) returns a small positive number"},
    {167, 0, "Floor(z)",
     "Returns the largest whole number that is less than or equal to z. For a complex number "
     "the real and imaginary parts are rounded down separately."
     EXAMPLE "Floor(-2.3) returns -3"},
    {174, 0, "Fractional Part(z)",
     "Returns the fractional part of z, the part after the decimal point, with the sign of z. "
     "For a complex number the real and imaginary parts are taken separately."
     EXAMPLE "fPart(-3.75) returns -0.75"},
    {485, 0, "fromHMS(z)",
     "Converts a time or an angle written in the form H.MMSS (hours or degrees, then two digits "
     "of minutes and two of seconds) into decimal hours or degrees. For a complex number both "
     "parts are converted."
     EXAMPLE "fromHMS(2.153) returns 2.2583333333 (2 h 15 min 30 s)"},
    {176, 0, "Gamma(z)",
     "Gamma function. Returns Gamma(z), which for a whole number n greater than 0 equals (n-1)!. "
     "z may be a real or complex number; a real z must be greater than 0."
     EXAMPLE "Gamma(5) returns 24"},
    {406, 0, "gcd(n1, n2)",
     "Returns the greatest common divisor of two whole numbers: the largest number that divides "
     "both. Both parameters must be whole numbers from 0 to 1000000000."
     EXAMPLE "gcd(84,36) returns 12"},
    {124, 0, "Integer Part(z)",
     "Returns the integer part of z: z with the digits after the decimal point dropped, so it "
     "rounds toward zero. For a complex number the real and imaginary parts are taken "
     "separately."
     EXAMPLE "iPart(-3.75) returns -3"},
    {405, 0, "lcm(n1, n2)",
     "Returns the least common multiple of two whole numbers: the smallest number that both "
     "divide. Both parameters must be whole numbers from 0 to 1000000000."
     EXAMPLE "lcm(12,18) returns 36"},
    {403, 0, "logb(z, base)",
     "Returns the logarithm of z to the given base, ln(z)/ln(base). The base must be a real "
     "number greater than 0 and other than 1. z must be greater than 0 unless a complex number "
     "format is set, which gives complex logarithms of negative and complex numbers."
     EXAMPLE "logb(8,2) returns 3"},
    {486, 0, "Mant(z)",
     "Returns the mantissa of z in scientific notation: the number from 1 up to but not "
     "including 10, with the sign of z, that gives z when multiplied by 10^Xpon(z). Mant(0) "
     "returns 0."
     EXAMPLE "Mant(-1234.5) returns -1.2345"},
    {400, 0, "Max(x, y)",
     "Returns the larger of two numbers. Both x and y must be real numbers."
     EXAMPLE "Max(-3,2) returns 2"},
    {401, 0, "Min(x, y)",
     "Returns the smaller of two numbers. Both x and y must be real numbers."
     EXAMPLE "Min(-3,2) returns -3"},
    {119, 0, "Round(z, n)",
     "Rounds z to n decimal places; a 5 in the first dropped place rounds away from zero. n "
     "must be a whole number from 0 to 10. For a complex number both parts are rounded."
     EXAMPLE "Round(3.14159,2) returns 3.14"},
    {177, 0, "Sign(x)",
     "Returns the sign of x: -1 when x is negative, 0 when x is 0 and 1 when x is positive. x "
     "must be a real number."
     EXAMPLE "Sign(-7.2) returns -1"},
    {484, 0, "toHMS(z)",
     "Converts decimal hours or degrees into the form H.MMSS: the whole hours, then two digits "
     "of minutes and two of seconds. toHMS must be the last operation of an expression. For a "
     "complex number both parts are converted."
     EXAMPLE "toHMS(2.2625) returns 2.1545 (2 h 15 min 45 s)"},
    {108, 0, "Trunc(z, n)",
     "Cuts z off after n decimal places without rounding. n must be a whole number from -100 to "
     "100; a negative n also clears digits before the decimal point. For a complex number both "
     "parts are cut."
     EXAMPLE "Trunc(-2.789,1) returns -2.7"},
    {487, 0, "Xpon(z)",
     "Returns the exponent of z in scientific notation: the power of ten by which Mant(z) must "
     "be multiplied to give z. Xpon(0) returns 0."
     EXAMPLE "Xpon(0.00321) returns -3"},

    // 1: Complex Function
    {169, 1, "Complex Conjugate(z)",
     "Returns the complex conjugate of z: the number with the same real part and the opposite "
     "imaginary part."
     EXAMPLE "Conj(3+4i) returns 3-4i"},
    {171, 1, "Complex Imaginary Part(z)",
     "Returns the imaginary part of z as a real number. For a real z it returns 0."
     EXAMPLE "Imag(3+4i) returns 4"},
    {19, 1, "Complex Magnitude(z)",
     "Returns the magnitude (absolute value) of z: the square root of a^2+b^2 for z = a+bi, the "
     "distance of z from 0. For a real number it is the number without its sign."
     EXAMPLE "abs(3+4i) returns 5"},
    {172, 1, "Complex Polar Angle(z)",
     "Returns the polar angle \x97 of z: the angle from the positive real axis to z, greater "
     "than -\x9F and up to \x9F in radians, given in the current angle mode. Angle(0) returns 0."
     EXAMPLE "Angle(1+i) returns 45 (DEG angle mode)"},
    {170, 1, "Complex Real Part(z)",
     "Returns the real part of z."
     EXAMPLE "Real(3+4i) returns 3"},

    // 2: Probability Function
    {421, 2, "randBin(p, n)",
     "Returns a random number from the binomial distribution: the number of successes in n "
     "trials that each succeed with the probability p. The number of trials n comes first, a "
     "whole number from 1 to 1000000000, then the probability p, from 0 to 1."
     EXAMPLE "randBin(10,0.5) returns a whole number from 0 to 10, such as 6"},
    {423, 2, "randInt(lower, upper)",
     "Returns a random whole number from lower to upper, each one equally likely. Both limits "
     "must be whole numbers from -1000000000 to 1000000000, in either order."
     EXAMPLE "randInt(1,6) returns a whole number from 1 to 6, such as 4"},
    {402, 2, "randNorm(mean, std dev)",
     "Returns a random number from the normal distribution with the mean \x9B and the standard "
     "deviation \xA1. Both parameters must be real numbers."
     EXAMPLE "randNorm(10,2) returns a number such as 8.1950..."},
    {118, 2, "Random Number",
     "Returns a random number greater than 0 and less than 1, a new one each time it is used. It "
     "takes no parameters."
     EXAMPLE "Rand returns a number such as 0.7919..."},
    {422, 2, "randPois(x)",
     "Returns a random number from the Poisson distribution with the mean x: a whole number of 0 "
     "or more, such as the count of events in an interval in which x are expected. x must be a "
     "real number of 0 or more."
     EXAMPLE "randPois(3) returns a whole number of 0 or more, such as 2"},

    // 3: Variable based Function
    {477, 3, "fnDeriv(expression, variable, value)",
     "Returns the derivative of the expression with respect to the variable at the given value, "
     "computed numerically. The variable must be a memory variable such as x, and the expression "
     "must have real values near the given value."
     EXAMPLE "fnDeriv(x^3,x,5) returns 75"},
    {478, 3, "fnEval(expression, variable, value)",
     "Returns the value of the expression with the variable set to the given value. The "
     "variable must be a memory variable such as x; it keeps its own value afterwards."
     EXAMPLE "fnEval(x^2+1,x,3) returns 10"},
    {468, 3, "fnInt(expression, variable, lower, upper, [tolerance])",
     "Returns the definite integral of the expression over the variable from lower to upper, "
     "computed numerically. The optional tolerance is the relative accuracy wanted; without it, "
     "and for anything smaller, 1E-9 is used. The expression must have real values. fnInt cannot "
     "be used inside another fnInt; Error(1) gives the error estimate of the last integral."
     EXAMPLE "fnInt(x^2,x,0,1) returns 0.3333333333"},
    {476, 3, "fnMax(expression, variable, lower, upper)",
     "Returns the value of the variable, from lower to upper, at which the expression is "
     "largest: the position of the maximum, not the maximum itself. The expression must have "
     "real values in the interval."
     EXAMPLE "fnMax(sin(x),x,0,3.14) returns 1.5707... (RAD angle mode)"},
    {475, 3, "fnMin(expression, variable, lower, upper)",
     "Returns the value of the variable, from lower to upper, at which the expression is "
     "smallest: the position of the minimum, not the minimum itself. The expression must have "
     "real values in the interval."
     EXAMPLE "fnMin(sin(x),x,-3.14,3.14) returns -1.5707... (RAD angle mode)"},
    {483, 3, "fnRoot(expression, variable, lower, upper)",
     "Returns a value of the variable from lower to upper at which the expression is 0. The "
     "search starts at lower, so the root nearest to it is found. When the expression does not "
     "change its sign in the interval, No Root Found is reported."
     EXAMPLE "fnRoot(e^x-x-2,x,1,2) returns 1.1461..."},
    {480, 3, "Product(expression, variable, start, end)",
     "Returns the product of the values of the expression with the variable going from start to "
     "end in steps of 1 (downwards when end is below start). start and end should be whole "
     "numbers. Complex values are multiplied as complex numbers."
     EXAMPLE "Prod(x^2,x,1,5) returns 14400"},
    {479, 3, "Summation(expression, variable, start, end)",
     "Returns the sum of the values of the expression with the variable going from start to end "
     "in steps of 1 (downwards when end is below start). start and end should be whole numbers."
     EXAMPLE "Summ(x^2,x,1,10) returns 385"},

    // 4: Matrix Math Function
    {1211, 4, "Cholesky(matrix)",
     "Cholesky factorization. Returns the lower triangular matrix L for which L times its "
     "transpose equals the matrix. The matrix must be square, symmetric and positive definite."
     EXAMPLE "Cholesky([A]) returns [[2,0][1,1.4142...]] for [A] = [[4,2][2,3]]"},
    {1217, 4, "colNorm(matrix)",
     "Returns the column norm of the matrix: the largest of its column sums, each the sum of "
     "the absolute values of the elements in one column."
     EXAMPLE "colNorm([A]) returns 6 for [A] = [[1,-2][3,4]]"},
    {1224, 4, "Cond(matrix)",
     "Returns the condition number of the matrix: its largest singular value divided by its "
     "smallest. The larger it is, the more the solution of a system with this matrix reacts to "
     "small changes. The matrix must have at least as many rows as columns and no singular value "
     "of 0."
     EXAMPLE "Cond([A]) returns 4 for [A] = [[2,0][0,0.5]]"},
    {1219, 4, "crossP(matrix)",
     "Returns the cross product of two vectors, each given as a 1 by 3 matrix, as a 1 by 3 "
     "matrix. It takes two parameters: crossP(matrix1, matrix2)."
     EXAMPLE "crossP([A],[B]) returns [[0,0,1]] for [A] = [[1,0,0]] and [B] = [[0,1,0]]"},
    {1200, 4, "Determinant(matrix)",
     "Returns the determinant of a square matrix. A determinant smaller than 1E-14 in size is "
     "returned as 0."
     EXAMPLE "Det([A]) returns -2 for [A] = [[1,2][3,4]]"},
    {1218, 4, "dotP(matrix)",
     "Returns the dot product of two vectors, each given as a matrix of one row, of the same "
     "length: the sum of the products of their matching elements. It takes two parameters: "
     "dotP(matrix1, matrix2)."
     EXAMPLE "dotP([A],[B]) returns 32 for [A] = [[1,2,3]] and [B] = [[4,5,6]]"},
    {1225, 4, "eigenVal(matrix)",
     "Returns the eigenvalues of a square matrix on the diagonal of a matrix of the same size; "
     "for a symmetric matrix they are in increasing order. A pair of complex eigenvalues a+bi "
     "and a-bi appears as the 2 by 2 block [[a,b][-b,a]] on the diagonal."
     EXAMPLE "eigenVal([A]) returns [[1,0][0,3]] for [A] = [[2,1][1,2]]"},
    {1226, 4, "eigenVec(matrix)",
     "Returns the eigenvectors of a square matrix as the columns of a matrix, in the order of "
     "the eigenvalues that eigenVal returns. For a pair of complex eigenvalues two columns hold "
     "the real and the imaginary part of the eigenvector."
     EXAMPLE "eigenVec([A]) returns [[0.7071...,0.7071...][-0.7071...,0.7071...]] for "
     "[A] = [[2,1][1,2]]"},
    {1208, 4, "LU_L(matrix)",
     "LU factorization with row exchanges, P*A = L*U. Returns the lower triangular factor L, "
     "which has ones on its diagonal. The matrix must be square and not singular."
     EXAMPLE "LU_L([A]) returns [[1,0][0.3333...,1]] for [A] = [[1,2][3,4]]"},
    {1210, 4, "LU_P(matrix)",
     "LU factorization with row exchanges, P*A = L*U. Returns the permutation matrix P, which "
     "records the row exchanges. The matrix must be square and not singular."
     EXAMPLE "LU_P([A]) returns [[0,1][1,0]] for [A] = [[1,2][3,4]]"},
    {1209, 4, "LU_U(matrix)",
     "LU factorization with row exchanges, P*A = L*U. Returns the upper triangular factor U. "
     "The matrix must be square and not singular."
     EXAMPLE "LU_U([A]) returns [[3,4][0,0.6666...]] for [A] = [[1,2][3,4]]"},
    {1223, 4, "Norm(matrix)",
     "Returns the Frobenius norm of the matrix: the square root of the sum of the squares of all "
     "its elements."
     EXAMPLE "Norm([A]) returns 5.4772255751 for [A] = [[1,2][3,4]]"},
    {1212, 4, "QR_Q(matrix)",
     "QR factorization, A = Q*R. Returns Q, which has the size of the matrix and orthonormal "
     "columns. The matrix must have at least as many rows as columns."
     EXAMPLE "QR_Q([A]) returns [[-0.6,0.8][-0.8,-0.6]] for [A] = [[3,0][4,5]]"},
    {1213, 4, "QR_R(matrix)",
     "QR factorization, A = Q*R. Returns R, a square upper triangular matrix with one row and "
     "column for each column of the matrix. The matrix must have at least as many rows as "
     "columns."
     EXAMPLE "QR_R([A]) returns [[-5,-4][0,-3]] for [A] = [[3,0][4,5]]"},
    {1206, 4, "Rank(matrix)",
     "Returns the rank of the matrix, the number of its linearly independent rows or columns, "
     "found from its singular values."
     EXAMPLE "Rank([A]) returns 1 for [A] = [[1,2][2,4]]"},
    {1216, 4, "rowNorm(matrix)",
     "Returns the row norm of the matrix: the largest of its row sums, each the sum of the "
     "absolute values of the elements in one row."
     EXAMPLE "rowNorm([A]) returns 7 for [A] = [[1,-2][3,4]]"},
    {1202, 4, "rref(matrix)",
     "Returns the reduced row-echelon form of the matrix, found by Gauss-Jordan elimination. "
     "The matrix must not have more rows than columns."
     EXAMPLE "rref([A]) returns [[1,0,-1][0,1,2]] for [A] = [[1,2,3][4,5,6]]"},
    {1207, 4, "SLV(matrix)",
     "Returns the singular values of the matrix on the diagonal of a square matrix with one row "
     "and column for each column of the matrix. The matrix must have at least as many rows as "
     "columns."
     EXAMPLE "SLV([A]) returns [[5]] for [A] = [[3][4]]"},
    {1221, 4, "solve_CH(matrix)",
     "Solves a system of linear equations by Cholesky factorization. The matrix holds the "
     "coefficients with the right-hand sides as an extra last column; the solution is returned "
     "as a column. The coefficients must form a symmetric, positive definite matrix."
     EXAMPLE "solve_CH([A]) returns [[1][2]] for [A] = [[4,2,8][2,3,8]]"},
    {1203, 4, "solve_LU(matrix)",
     "Solves a system of linear equations by LU factorization. The matrix holds the "
     "coefficients with the right-hand sides as an extra last column; the solution is returned "
     "as a column. The coefficients must form a square matrix that is not singular."
     EXAMPLE "solve_LU([A]) returns [[0.8][1.4]] for [A] = [[2,1,3][1,3,5]]"},
    {1220, 4, "solve_QR(matrix)",
     "Solves a system of linear equations by QR factorization. The matrix holds the "
     "coefficients with the right-hand sides as an extra last column; the solution is returned "
     "as a column. With more equations than unknowns it is the least-squares solution."
     EXAMPLE "solve_QR([A]) returns [[0.6666...][0.5]] for [A] = [[1,1,1][1,2,2][1,3,2]]"},
    {1222, 4, "solve_SV(matrix)",
     "Solves a system of linear equations by singular value decomposition, leaving out singular "
     "values of 0. The matrix holds the coefficients with the right-hand sides as an extra last "
     "column; the solution is returned as a column. With more equations than unknowns it is the "
     "least-squares solution."
     EXAMPLE "solve_SV([A]) returns [[2][1]] for [A] = [[1,1,3][1,-1,1]]"},
    {1214, 4, "SVD_U(matrix)",
     "Singular value decomposition, A = U*S*transpose(V), where S holds the singular values "
     "(see SLV). Returns U, which has the size of the matrix. The matrix must have at least as "
     "many rows as columns."
     EXAMPLE "SVD_U([A]) returns [[-0.6][-0.8]] for [A] = [[3][4]]"},
    {1215, 4, "SVD_V(matrix)",
     "Singular value decomposition, A = U*S*transpose(V), where S holds the singular values "
     "(see SLV). Returns V, a square matrix with one row and column for each column of the "
     "matrix. The matrix must have at least as many rows as columns."
     EXAMPLE "SVD_V([A]) returns [[-1]] for [A] = [[3][4]]"},
    {1205, 4, "Trace(matrix)",
     "Returns the trace of a square matrix: the sum of the elements on its diagonal."
     EXAMPLE "Trace([A]) returns 5 for [A] = [[1,2][3,4]]"},
    {1204, 4, "Transpose",
     "Returns the transpose of the specified matrix. Note: this operator should be inserted "
     "after the specified matrix in an expression."},

    // 5: Matrix Command Function
    {417, 5, "Augment(matrix1, matrix2)",
     "Returns the matrix made of the columns of matrix1 followed by those of matrix2. Both must "
     "have the same number of rows, and the result at most 30 columns."
     EXAMPLE "Augment([A],[B]) returns [[1,2,5][3,4,6]] for [A] = [[1,2][3,4]] and "
     "[B] = [[5][6]]"},
    {426, 5, "colDelete(matrix, col)",
     "Returns the matrix without the given column. Columns are counted from 1."
     EXAMPLE "colDel([A],1) returns [[2,3][5,6]] for [A] = [[1,2,3][4,5,6]]"},
    {411, 5, "colScale(matrix, col, scale)",
     "Returns the matrix with every element of the given column multiplied by scale. Columns "
     "are counted from 1."
     EXAMPLE "colScale([A],2,10) returns [[1,20][3,40]] for [A] = [[1,2][3,4]]"},
    {419, 5, "colScaleAdd(matrix, col1, col2, scale)",
     "Returns the matrix with scale times column col1 added to column col2. Columns are counted "
     "from 1."
     EXAMPLE "colScaleAdd([A],1,2,10) returns [[1,12][3,34]] for [A] = [[1,2][3,4]]"},
    {415, 5, "colSize(matrix)",
     "Returns the number of columns of the matrix."
     EXAMPLE "colSize([A]) returns 3 for [A] = [[1,2,3][4,5,6]]"},
    {409, 5, "colSwap(matrix, col1, col2)",
     "Returns the matrix with the two given columns exchanged. Columns are counted from 1."
     EXAMPLE "colSwap([A],1,2) returns [[2,1][4,3]] for [A] = [[1,2][3,4]]"},
    {432, 5, "Diag(matrix)",
     "Returns the elements on the diagonal of a square matrix as a matrix of one row."
     EXAMPLE "Diag([A]) returns [[1,4]] for [A] = [[1,2][3,4]]"},
    {413, 5, "getElem(matrix, row, col)",
     "Returns the element of the matrix in the given row and column, both counted from 1."
     EXAMPLE "getElem([A],2,1) returns 3 for [A] = [[1,2][3,4]]"},
    {1201, 5, "Identity(size)",
     "Returns the identity matrix of the given size, with ones on its diagonal and zeros "
     "elsewhere. The size must be a whole number from 1 to 30."
     EXAMPLE "Iden(3) returns [[1,0,0][0,1,0][0,0,1]]"},
    {416, 5, "initMatrix(rows, cols, value)",
     "Returns a matrix of the given size with every element set to value. rows and cols must be "
     "whole numbers from 1 to 30."
     EXAMPLE "initMatrix(2,3,7) returns [[7,7,7][7,7,7]]"},
    {412, 5, "putElem(matrix, row, col, value)",
     "Returns the matrix with the element in the given row and column, both counted from 1, "
     "replaced by value."
     EXAMPLE "putElem([A],1,2,9) returns [[1,9][3,4]] for [A] = [[1,2][3,4]]"},
    {428, 5, "randMatrix(rows, cols)",
     "Returns a matrix of the given size filled with random whole numbers from -9 to 9. rows and "
     "cols must be whole numbers from 1 to 30."
     EXAMPLE "randMatrix(2,2) returns a matrix such as [[3,-7][0,5]]"},
    {429, 5, "Replace(matrix1, matrix2, row, col)",
     "Returns matrix1 with matrix2 copied over it, the first element of matrix2 going to the "
     "given row and column of matrix1. matrix2 must fit inside matrix1 from there."
     EXAMPLE "Replace([A],[B],2,2) returns [[1,2,3][4,0,0][7,8,9]] for "
     "[A] = [[1,2,3][4,5,6][7,8,9]] and [B] = [[0,0]]"},
    {427, 5, "Resize(matrix, rows, cols)",
     "Returns the matrix brought to the given size: elements beyond it are dropped and new "
     "elements are 0. rows and cols must be whole numbers from 1 to 30."
     EXAMPLE "Resize([A],3,3) returns [[1,2,0][3,4,0][0,0,0]] for [A] = [[1,2][3,4]]"},
    {425, 5, "rowDelete(matrix, row)",
     "Returns the matrix without the given row. Rows are counted from 1."
     EXAMPLE "rowDel([A],1) returns [[3,4]] for [A] = [[1,2][3,4]]"},
    {410, 5, "rowScale(matrix, row, scale)",
     "Returns the matrix with every element of the given row multiplied by scale. Rows are "
     "counted from 1."
     EXAMPLE "rowScale([A],1,3) returns [[3,6][3,4]] for [A] = [[1,2][3,4]]"},
    {418, 5, "rowScaleAdd(matrix, row1, row2, scale)",
     "Returns the matrix with scale times row row1 added to row row2, the elimination step of "
     "solving linear equations. Rows are counted from 1."
     EXAMPLE "rowScaleAdd([A],1,2,-3) returns [[1,2][0,-2]] for [A] = [[1,2][3,4]]"},
    {414, 5, "rowSize(matrix)",
     "Returns the number of rows of the matrix."
     EXAMPLE "rowSize([A]) returns 2 for [A] = [[1,2,3][4,5,6]]"},
    {408, 5, "rowSwap(matrix, row1, row2)",
     "Returns the matrix with the two given rows exchanged. Rows are counted from 1."
     EXAMPLE "rowSwap([A],1,2) returns [[3,4][1,2]] for [A] = [[1,2][3,4]]"},
    {424, 5, "Stack(matrix1, matrix2)",
     "Returns the matrix made of the rows of matrix1 followed by those of matrix2. Both must "
     "have the same number of columns, and the result at most 30 rows."
     EXAMPLE "Stack([A],[B]) returns [[1,2][3,4]] for [A] = [[1,2]] and [B] = [[3,4]]"},
    {420, 5, "subMatrix(matrix, row1, col1, row2, col2)",
     "Returns the block of the matrix between the corners (row1, col1) and (row2, col2), both "
     "included and counted from 1. The corners may be given in either order."
     EXAMPLE "subMatrix([A],1,2,2,3) returns [[2,3][5,6]] for [A] = [[1,2,3][4,5,6][7,8,9]]"},
};

#undef EXAMPLE

}  // namespace

std::span<const CatalogueEntry> catalogue_entries() {
    return kEntries;
}

}  // namespace qx

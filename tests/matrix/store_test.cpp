// Matrices through the evaluator: operators and scalar operands, stores
// and recalls, the answers, the temporary registers, cleaning of rounding
// residue and the errors a matrix operand raises.
#include <cmath>

#include "tests/matrix/store_helpers.h"

namespace qx::test {
namespace {

class MatrixStoreTest : public MatrixTest {
protected:
    void SetUp() override {
        MatrixTest::SetUp();
        set_matrix(0, {{4, -2, 1}, {3, 6, -4}, {2, 1, 8}});   // [A]
        set_matrix(1, {{1, 2}, {3, 4}});                      // [B]
        set_matrix(4, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}});   // [E]: 12 elements
        set_matrix(5, {{5, 6, 7}});                           // [F]: one row
    }
};

using Rows = std::vector<std::vector<double>>;

struct MatrixCase {
    const char* expr;
    Rows expected;
};

TEST_F(MatrixStoreTest, OperatorsGiveTheAnswerMatrix) {
    // [A] = [[4,-2,1],[3,6,-4],[2,1,8]]; products worked out by hand.
    const MatrixCase cases[] = {
        {"[A] ^ 3", {{31, -118, 248}, {60, 59, -506}, {262, 68, 483}}},
        {"[A] cube", {{31, -118, 248}, {60, 59, -506}, {262, 68, 483}}},
        {"[A] sq", {{12, -19, 20}, {22, 26, -53}, {27, 10, 62}}},
        {"[A] * [A]", {{12, -19, 20}, {22, 26, -53}, {27, 10, 62}}},
        {"[A] [A]", {{12, -19, 20}, {22, 26, -53}, {27, 10, 62}}},    // implicit product
        {"[A] ^ 0", {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}},
        {"[A] ^ 1", {{4, -2, 1}, {3, 6, -4}, {2, 1, 8}}},
        {"2 * [A]", {{8, -4, 2}, {6, 12, -8}, {4, 2, 16}}},
        {"[A] * 2", {{8, -4, 2}, {6, 12, -8}, {4, 2, 16}}},
        {"2 [A]", {{8, -4, 2}, {6, 12, -8}, {4, 2, 16}}},
        {"[A] / 4", {{1, -0.5, 0.25}, {0.75, 1.5, -1}, {0.5, 0.25, 2}}},
        {"[A] + [A]", {{8, -4, 2}, {6, 12, -8}, {4, 2, 16}}},
        {"[A] - 2 [A]", {{-4, 2, -1}, {-3, -6, 4}, {-2, -1, -8}}},
        {"neg [A]", {{-4, 2, -1}, {-3, -6, 4}, {-2, -1, -8}}},
        {"[B] T", {{1, 3}, {2, 4}}},
        {"[B] ^ neg 1", {{-2, 1}, {1.5, -0.5}}},
        {"[B] inv", {{-2, 1}, {1.5, -0.5}}},
        {"( [B] + [B] ) * ( [B] - [B] )", {{0, 0}, {0, 0}}},
        {"M_Ans", {{0, 0}, {0, 0}}},                                   // the last answer
        {"Iden( 2 )", {{1, 0}, {0, 1}}},
        {"initMatrix( 2 , 3 , 7 )", {{7, 7, 7}, {7, 7, 7}}},
        {"[F] * 10", {{50, 60, 70}}},
    };
    for (const MatrixCase& c : cases) {
        Outcome o = mrun(c.expr);
        ASSERT_TRUE(o.ok) << c.expr << " -> error " << o.code;
        EXPECT_EQ(g_last_result_kind, RK_MATRIX) << c.expr;
        EXPECT_TRUE(matrix_is(answer_matrix(), c.expected)) << c.expr;
    }
}

TEST_F(MatrixStoreTest, InverseTimesMatrixIsTheIdentity) {
    ASSERT_TRUE(mrun("[A] inv * [A]").ok);
    EXPECT_TRUE(matrix_is(answer_matrix(), {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}));
    ASSERT_TRUE(mrun("[A] ^ neg 1").ok);
    // The inverse by exact fractions: the adjugate over 263.
    EXPECT_TRUE(matrix_is(answer_matrix(), {{52.0 / 263, 17.0 / 263, 2.0 / 263},
                                            {-32.0 / 263, 30.0 / 263, 19.0 / 263},
                                            {-9.0 / 263, -8.0 / 263, 30.0 / 263}}));
}

struct ScalarCase {
    const char* expr;
    double expected;
};

TEST_F(MatrixStoreTest, ScalarValuedFunctionsGiveAns) {
    const ScalarCase cases[] = {
        {"Det( [A] )", 263},      // 4(48+4) + 2(24+8) + (3-12)
        {"Trace( [A] )", 18},
        {"Det( [B] )", -2},
        {"Det( [A] ) + 1", 264},
        {"2 Trace( [A] ^ 2 )", 2 * (12 + 26 + 62)},
        {"getElem( [A] , 2 , 3 )", -4},
        {"rowSize( [E] )", 4},
        {"colSize( [E] )", 3},
    };
    for (const ScalarCase& c : cases) {
        Outcome o = mrun(c.expr);
        ASSERT_TRUE(o.ok) << c.expr << " -> error " << o.code;
        EXPECT_EQ(g_last_result_kind, RK_SCALAR) << c.expr;
        EXPECT_NEAR(o.re, c.expected, 1e-9) << c.expr;
        EXPECT_EQ(o.im, 0.0) << c.expr;
    }
}

TEST_F(MatrixStoreTest, RefusesWhatAMatrixCannotDo) {
    const ErrorCase cases[] = {
        {"[A] ^ 1001", ERR_DOMAIN},
        {"[A] ^ neg 1001", ERR_DOMAIN},
        {"[A] ^ 2.5", ERR_DOMAIN},
        {"[A] / 0", ERR_DIV_ZERO},
        {"2 / [A]", ERR_DATA_TYPE},
        {"2 ^ [A]", ERR_DATA_TYPE},
        {"[A] ^ [A]", ERR_DATA_TYPE},
        {"[A] + 1", ERR_DATA_TYPE},
        {"1 - [A]", ERR_DATA_TYPE},
        {"[A] !", ERR_DATA_TYPE},
        {"sqrt [A]", ERR_DATA_TYPE},
        {"[A] * i", ERR_DATA_TYPE},       // matrices are real
        {"( 1 + i ) [A]", ERR_DATA_TYPE},
        {"[A] + [B]", ERR_MATRIX_MISMATCH},
        {"[A] * [E]", ERR_MATRIX_MISMATCH},
        {"[C]", ERR_MATRIX_UNDEFINED},
        {"[C] + [A]", ERR_MATRIX_UNDEFINED},
        {"[A] + [C]", ERR_MATRIX_UNDEFINED},
        {"2 [C]", ERR_MATRIX_UNDEFINED},
        {"Det( [C] )", ERR_MATRIX_UNDEFINED},
        {"Det( [E] )", ERR_NOT_SQUARE},
        {"[A] + LA", ERR_DATA_TYPE},
        {"3 >[A]", ERR_DATA_TYPE},
    };
    set_list(0, {1, 2, 3});
    expect_refusals(cases);
    // No refusal left a temporary register taken once the next run starts.
    ASSERT_TRUE(mrun("[A]").ok);
    EXPECT_EQ(matrix_temps_in_use(), 0);
}

TEST_F(MatrixStoreTest, UndefinedAnswerMatrixIsNotDefined) {
    EXPECT_EQ(mrun("M_Ans").code, ERR_MATRIX_UNDEFINED);
    EXPECT_EQ(mrun("M_Ans + [A]").code, ERR_MATRIX_UNDEFINED);
}

TEST_F(MatrixStoreTest, ResultLineNamesTheAnswerNeverAnIndex) {
    ASSERT_TRUE(mrun("42").ok);
    Outcome o = mrun("[A] * 2");
    ASSERT_TRUE(o.ok);
    EXPECT_EQ(o.text, "Result in Matrix Ans");
    EXPECT_EQ(g_ans.re, 42);                 // Ans keeps the last scalar
    EXPECT_EQ(g_registers[0].re, 0.0);       // nothing but 0 beside the object
    o = mrun("[C] * 2");
    EXPECT_FALSE(o.ok);
    EXPECT_EQ(o.text, "Matrix Size Not Defined");
    EXPECT_EQ(mrun("Ans").text, "42");
    set_list(0, {1, 2});
    o = mrun("LA");
    ASSERT_TRUE(o.ok);
    EXPECT_EQ(o.text, "Result in List Ans");
    EXPECT_EQ(g_last_result_kind, RK_LIST);
    EXPECT_TRUE(list_is(answer_list(), {{1, 0}, {2, 0}}));
    o = mrun("[B]");
    ASSERT_TRUE(o.ok);
    EXPECT_EQ(o.text, "Result in Matrix Ans");
    EXPECT_TRUE(matrix_is(answer_matrix(), {{1, 2}, {3, 4}}));
    o = mrun("Det( [B] )");
    EXPECT_EQ(o.text, "-2");
}

TEST_F(MatrixStoreTest, StoresKeepMatricesAndListsApart) {
    // Matrix into matrix: the named matrix and the answer both get it.
    Outcome o = mrun("[A] * 2 >[C]");
    ASSERT_TRUE(o.ok);
    EXPECT_TRUE(matrix_is(g_matrices[2], {{8, -4, 2}, {6, 12, -8}, {4, 2, 16}}));
    EXPECT_TRUE(matrix_is(answer_matrix(), {{8, -4, 2}, {6, 12, -8}, {4, 2, 16}}));
    ASSERT_TRUE(mrun("[B] >[J]").ok);
    EXPECT_TRUE(matrix_is(g_matrices[9], {{1, 2}, {3, 4}}));

    // Memory index 100 is list A, not the answer matrix: a matrix stored
    // there is refused and M_Ans keeps its value.
    ASSERT_TRUE(mrun("[B]").ok);
    o = mrun("[A] >LA");
    EXPECT_EQ(o.code, ERR_DATA_TYPE);
    EXPECT_TRUE(matrix_is(answer_matrix(), {{1, 2}, {3, 4}}));
    EXPECT_FALSE(g_lists[0].defined);
    EXPECT_EQ(mrun("[A] #3109").code, ERR_DATA_TYPE);   // LJ
    EXPECT_EQ(mrun("[A] >A").code, ERR_DATA_TYPE);      // a scalar variable
    EXPECT_EQ(mrun("[A] #3000").code, ERR_DATA_TYPE);   // R0

    set_list(1, {1, 2, 3});
    o = mrun("LB >[A]");
    EXPECT_EQ(o.code, ERR_DATA_TYPE);
    EXPECT_TRUE(matrix_is(g_matrices[0], {{4, -2, 1}, {3, 6, -4}, {2, 1, 8}}));
    EXPECT_EQ(mrun("LB >A").code, ERR_DATA_TYPE);
    EXPECT_EQ(mrun("LB #999").code, ERR_DATA_TYPE);    // [J] through the other store code
}

TEST_F(MatrixStoreTest, ClearingForMClrAndAC) {
    ASSERT_TRUE(mrun("[A] * 2").ok);
    set_list(2, {5});
    ASSERT_TRUE(mrun("LC").ok);
    clear_all_matrices();   // M Clr: A..J
    for (int k = 0; k < NAMED_OBJECTS; ++k) EXPECT_FALSE(g_matrices[k].defined) << k;
    EXPECT_TRUE(answer_matrix().defined);
    EXPECT_TRUE(g_lists[2].defined);
    EXPECT_EQ(mrun("[A]").code, ERR_MATRIX_UNDEFINED);
    clear_answer_objects();   // AC
    EXPECT_FALSE(answer_matrix().defined);
    EXPECT_FALSE(answer_list().defined);
    EXPECT_EQ(mrun("M_Ans").code, ERR_MATRIX_UNDEFINED);
    EXPECT_EQ(mrun("L_Ans").code, ERR_LIST_UNDEFINED);
    // Cleared storage holds zeros.
    EXPECT_EQ(g_matrices[0].e[0][0], 0.0);
    EXPECT_EQ(g_matrices[0].last_row, 0);
}

TEST_F(MatrixStoreTest, RoundingResidueBecomesZero) {
    set_matrix(3, {{3e-15, 1}, {2, -5e-15}});   // [D]
    ASSERT_TRUE(mrun("[D] * 1").ok);
    EXPECT_EQ(answer_matrix().e[0][0], 0.0);
    EXPECT_EQ(answer_matrix().e[1][1], 0.0);
    EXPECT_EQ(answer_matrix().e[0][1], 1.0);
    set_matrix(3, {{-5e-15}});
    Outcome o = mrun("Trace( [D] )");
    ASSERT_TRUE(o.ok);
    EXPECT_EQ(o.re, 0.0);
    EXPECT_FALSE(std::signbit(o.re));
    // Values of 1e-14 and above stay.
    set_matrix(3, {{1e-14, 2e-14}});
    ASSERT_TRUE(mrun("[D] * 1").ok);
    EXPECT_EQ(answer_matrix().e[0][0], 1e-14);
}

TEST_F(MatrixStoreTest, TenMatrixTemporariesAndNoMore) {
    // Every bracket is computed before the sums join them, so n brackets
    // hold n matrices at once.
    Outcome o = mrun(groups("( [B] + [B] )", 10));
    ASSERT_TRUE(o.ok) << o.code;
    EXPECT_TRUE(matrix_is(answer_matrix(), {{20, 40}, {60, 80}}));
    o = mrun(groups("( [B] + [B] )", 11));
    EXPECT_EQ(o.code, ERR_MEMORY);
    EXPECT_TRUE(matrix_is(answer_matrix(), {{20, 40}, {60, 80}}));
    // Scalar temporaries do not count against the matrix registers.
    o = mrun(groups("( 1 + 1 )", 10) + " + Det( ( [B] + [B] ) )");
    ASSERT_TRUE(o.ok) << o.code;
    EXPECT_EQ(o.re, 20 - 8);
    EXPECT_EQ(matrix_temps_in_use(), 0);
}

TEST_F(MatrixStoreTest, MatrixToListAndBack) {
    Outcome o = mrun("MtoL( [B] )");
    ASSERT_TRUE(o.ok);
    EXPECT_EQ(g_last_result_kind, RK_LIST);
    EXPECT_TRUE(list_is(answer_list(), {{1, 0}, {2, 0}, {3, 0}, {4, 0}}));
    EXPECT_TRUE(mrun("MtoL( [A] )").ok);   // nine elements fit
    EXPECT_TRUE(list_is(answer_list(), {{4, 0}, {-2, 0}, {1, 0}, {3, 0}, {6, 0}, {-4, 0},
                                        {2, 0}, {1, 0}, {8, 0}}));
    EXPECT_EQ(mrun("MtoL( [E] )").code, ERR_LIST_SIZE);   // twelve do not
    EXPECT_EQ(mrun("MtoL( [C] )").code, ERR_MATRIX_UNDEFINED);
    EXPECT_EQ(mrun("MtoL( LA )").code, ERR_ARG_TYPE);

    // LtoM makes a column.
    set_list(0, {1, 2, 3});
    o = mrun("LtoM( LA )");
    ASSERT_TRUE(o.ok);
    EXPECT_EQ(g_last_result_kind, RK_MATRIX);
    EXPECT_TRUE(matrix_is(answer_matrix(), {{1}, {2}, {3}}));
    ASSERT_TRUE(mrun("LtoM( LA ) T * LtoM( LA )").ok);   // 1x3 times 3x1
    EXPECT_TRUE(matrix_is(answer_matrix(), {{14}}));
    ASSERT_TRUE(mrun("MtoL( LtoM( LA ) * 2 )").ok);
    EXPECT_TRUE(list_is(answer_list(), {{2, 0}, {4, 0}, {6, 0}}));
    set_complex_list(1, {{1, 1}});
    EXPECT_EQ(mrun("LtoM( LB )").code, ERR_DATA_TYPE);   // matrices are real
    EXPECT_EQ(mrun("LtoM( [A] )").code, ERR_ARG_TYPE);
}

TEST_F(MatrixStoreTest, RowlessMatrixGivesAnEmptyList) {
    ASSERT_TRUE(mrun("rowDel( [F] , 1 )").ok);
    EXPECT_EQ(answer_matrix().rows(), 0);
    Outcome o = mrun("MtoL( M_Ans )");
    ASSERT_TRUE(o.ok);
    EXPECT_TRUE(answer_list().defined);
    EXPECT_EQ(answer_list().size(), 0);
}

TEST_F(MatrixStoreTest, TemporariesAreGivenBackAfterEveryRun) {
    const char* exprs[] = {"[A] + [A] * 2 - [A]", "Det( [A] * 2 ) + Trace( [A] )", "[A] ^ 1001",
                           "( [A] + [A] ) + [B]", "MtoL( [B] * 2 )"};
    for (const char* e : exprs) {
        mrun(e);
        clear_error();
        // The next run starts with every register free.
        mrun("1");
        EXPECT_EQ(matrix_temps_in_use(), 0) << e;
        EXPECT_EQ(list_temps_in_use(), 0) << e;
    }
    ASSERT_TRUE(mrun("[A] + [A] * 2 - [A]").ok);
    EXPECT_EQ(matrix_temps_in_use(), 0);   // the answer took the last one
}

}  // namespace
}  // namespace qx::test

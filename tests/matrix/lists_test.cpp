// Lists through the evaluator: the list functions, empty lists, stores,
// and ordinary operators and functions applied element by element.
#include <cmath>

#include "engine/settings.h"
#include "tests/matrix/store_helpers.h"

namespace qx::test {
namespace {

class ListTest : public MatrixTest {};

struct ScalarCase {
    const char* expr;
    std::vector<double> list;   // LA
    double re, im;
};

TEST_F(ListTest, FunctionsWithAScalarValue) {
    const ScalarCase cases[] = {
        {"median( LA )", {3, 1, 2, 4}, 2.5, 0},          // (2 + 3) / 2
        {"median( LA )", {5, 1, 3}, 3, 0},
        {"median( LA )", {7}, 7, 0},
        {"max( LA )", {3, 9, 2, 9}, 9, 0},
        {"min( LA )", {3, -1, 2, -1}, -1, 0},
        {"max( LA )", {-4}, -4, 0},
        {"mean( LA )", {1, 2, 3, 4}, 2.5, 0},
        {"sum( LA )", {1, 2, 3, 4}, 10, 0},
        {"prod( LA )", {1, 2, 3, 4}, 24, 0},
        {"listSize( LA )", {1, 2, 3, 4}, 4, 0},
        {"pos( LA , 1 )", {1, 2, 1}, 3, 0},              // the last one equal
        {"pos( LA , 2 )", {1, 2, 1}, 2, 0},
        {"pos( LA , 5 )", {1, 2, 1}, 0, 0},              // none equal
        // Population variance: mean 5, squared deviations sum to 32 over 8.
        {"variance( LA )", {2, 4, 4, 4, 5, 5, 7, 9}, 4, 0},
        {"stdDev( LA )", {2, 4, 4, 4, 5, 5, 7, 9}, 2, 0},
        // Large values with a small spread keep their digits (deviations -1, 0, 1).
        {"variance( LA )", {1e8 + 1, 1e8 + 2, 1e8 + 3}, 2.0 / 3.0, 0},
        {"stdDev( LA )", {1e8 + 1, 1e8 + 2, 1e8 + 3}, std::sqrt(2.0 / 3.0), 0},
        {"variance( LA )", {1e9 + 6, 1e9 + 6, 1e9 + 6}, 0, 0},
        {"variance( LA )", {5}, 0, 0},
        {"sum( LA ) + median( LA )", {1, 2, 3}, 8, 0},
    };
    for (const ScalarCase& c : cases) {
        ListValue& l = g_lists[0];
        clear_list(l);
        for (std::size_t k = 0; k < c.list.size(); ++k) l.re[k] = c.list[k];
        l.last = static_cast<int>(c.list.size()) - 1;
        l.defined = true;
        Outcome o = mrun(c.expr);
        ASSERT_TRUE(o.ok) << c.expr << " -> error " << o.code;
        EXPECT_EQ(g_last_result_kind, RK_SCALAR) << c.expr;
        EXPECT_NEAR(o.re, c.re, 1e-12 * std::max(1.0, std::fabs(c.re))) << c.expr;
        EXPECT_NEAR(o.im, c.im, 1e-12) << c.expr;
    }
}

TEST_F(ListTest, VarianceShowsTenDigits) {
    set_list(0, {1e8 + 1, 1e8 + 2, 1e8 + 3});
    EXPECT_EQ(mrun("variance( LA )").text, "0.6666666667");
}

using Elements = std::vector<Element>;

struct ListCase {
    const char* expr;
    Elements expected;
};

TEST_F(ListTest, FunctionsWithAListValue) {
    set_list(0, {3, 1, 2, 1});        // LA
    set_list(1, {5, 6, 7, 8, 9});     // LB
    set_list(2, {1, 2, 3, 4});        // LC
    set_list(3, {10, 20, 30, 40, 50});  // LD
    const ListCase cases[] = {
        {"cumSum( LA )", {{3, 0}, {4, 0}, {6, 0}, {7, 0}}},
        {"sortA( LA )", {{1, 0}, {1, 0}, {2, 0}, {3, 0}}},
        {"sortD( LA )", {{3, 0}, {2, 0}, {1, 0}, {1, 0}}},
        {"reverse( LA )", {{1, 0}, {2, 0}, {1, 0}, {3, 0}}},
        {"deltaList( LA )", {{-2, 0}, {1, 0}, {-1, 0}}},
        {"augList( LB , LC )",   // 5 + 4 = 9 elements
         {{5, 0}, {6, 0}, {7, 0}, {8, 0}, {9, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}}},
        {"fill( 3 , 2.5 )", {{2.5, 0}, {2.5, 0}, {2.5, 0}}},
        {"fill( 9 , 0 )", Elements(9, Element{0, 0})},
        {"listResize( LA , 6 )", {{3, 0}, {1, 0}, {2, 0}, {1, 0}, {0, 0}, {0, 0}}},
        {"listResize( LA , 2 )", {{3, 0}, {1, 0}}},
        {"reverse( sortA( LA ) )", {{3, 0}, {2, 0}, {1, 0}, {1, 0}}},
        {"L_Ans", {{3, 0}, {2, 0}, {1, 0}, {1, 0}}},
        {"LA", {{3, 0}, {1, 0}, {2, 0}, {1, 0}}},
    };
    for (const ListCase& c : cases) {
        Outcome o = mrun(c.expr);
        ASSERT_TRUE(o.ok) << c.expr << " -> error " << o.code;
        EXPECT_EQ(g_last_result_kind, RK_LIST) << c.expr;
        EXPECT_EQ(o.text, "Result in List Ans") << c.expr;
        EXPECT_TRUE(list_is(answer_list(), c.expected)) << c.expr;
    }
    // The operands are unchanged.
    EXPECT_TRUE(list_is(g_lists[0], {{3, 0}, {1, 0}, {2, 0}, {1, 0}}));
}

TEST_F(ListTest, RefusesBadArguments) {
    set_list(0, {1, 2, 3, 4, 5});
    set_list(1, {6, 7, 8, 9, 10});
    set_complex_list(2, {{1, 1}, {2, 0}});
    const ErrorCase cases[] = {
        {"augList( LA , LB )", ERR_LIST_SIZE},       // 10 elements
        {"fill( 0 , 1 )", ERR_LIST_SIZE},
        {"fill( 10 , 1 )", ERR_LIST_SIZE},
        {"fill( 2.5 , 1 )", ERR_LIST_SIZE},
        {"fill( neg 1 , 1 )", ERR_LIST_SIZE},
        {"listResize( LA , 0 )", ERR_LIST_SIZE},
        {"listResize( LA , 10 )", ERR_LIST_SIZE},
        {"sum( LE )", ERR_LIST_UNDEFINED},
        {"LE", ERR_LIST_UNDEFINED},
        {"LE + 1", ERR_LIST_UNDEFINED},
        {"augList( LA , LE )", ERR_LIST_UNDEFINED},
        {"L_Ans", ERR_LIST_UNDEFINED},
        {"sum( [A] )", ERR_ARG_TYPE},
        {"sum( 3 )", ERR_ARG_TYPE},
        {"max( LC )", ERR_DATA_TYPE},                // complex numbers have no order
        {"sortA( LC )", ERR_DATA_TYPE},
        {"median( LC )", ERR_DATA_TYPE},
        {"variance( LC )", ERR_DATA_TYPE},
        {"LA T", ERR_DATA_TYPE},
        {"LA + LC", ERR_LIST_SIZE},                  // 5 and 2 elements
        {"LA >A", ERR_DATA_TYPE},
        {"LA >[A]", ERR_DATA_TYPE},
        {"LA / 0", ERR_DIV_ZERO},
        {"( LA - 3 ) !", ERR_DOMAIN},               // the factorial of -2 fails
    };
    expect_refusals(cases);
    EXPECT_FALSE(g_lists[4].defined);
}

TEST_F(ListTest, EmptyListsAreHandledWithoutNegativeCounts) {
    set_list(0, {7});
    // deltaList of one element: an empty list that is defined.
    Outcome o = mrun("deltaList( LA ) >LB");
    ASSERT_TRUE(o.ok) << o.code;
    EXPECT_TRUE(g_lists[1].defined);
    EXPECT_EQ(g_lists[1].size(), 0);
    EXPECT_TRUE(answer_list().defined);
    EXPECT_EQ(answer_list().size(), 0);
    EXPECT_EQ(mrun("listSize( LB )").re, 0);
    EXPECT_EQ(mrun("sum( LB )").re, 0);
    EXPECT_EQ(mrun("prod( LB )").re, 1);
    EXPECT_EQ(mrun("pos( LB , 0 )").re, 0);
    const ErrorCase refused[] = {
        {"median( LB )", ERR_LIST_SIZE}, {"max( LB )", ERR_LIST_SIZE},
        {"min( LB )", ERR_LIST_SIZE},    {"mean( LB )", ERR_LIST_SIZE},
        {"variance( LB )", ERR_LIST_SIZE}, {"stdDev( LB )", ERR_LIST_SIZE},
        {"LtoM( LB )", ERR_LIST_SIZE},
    };
    for (const ErrorCase& c : refused) EXPECT_EQ(mrun(c.expr).code, c.code) << c.expr;
    const char* empty[] = {"deltaList( LB )", "cumSum( LB )", "sortA( LB )", "reverse( LB )",
                           "augList( LB , LB )", "LB + 1", "sin( LB )", "toX( LB )"};
    for (const char* e : empty) {
        o = mrun(e);
        ASSERT_TRUE(o.ok) << e << " -> " << o.code;
        EXPECT_TRUE(answer_list().defined) << e;
        EXPECT_EQ(answer_list().size(), 0) << e;
    }
    ASSERT_TRUE(mrun("augList( LB , LA )").ok);
    EXPECT_TRUE(list_is(answer_list(), {{7, 0}}));
    ASSERT_TRUE(mrun("listResize( LB , 2 )").ok);
    EXPECT_TRUE(list_is(answer_list(), {{0, 0}, {0, 0}}));
}

TEST_F(ListTest, OperatorsWorkElementByElement) {
    set_list(0, {1, 2, 3});   // LA
    set_list(1, {1, 2});      // LB
    set_list(2, {4, 5, 6});   // LC
    set_complex_list(3, {{1, 1}, {0, -2}});   // LD
    const ListCase cases[] = {
        {"LA + 1", {{2, 0}, {3, 0}, {4, 0}}},
        {"1 + LA", {{2, 0}, {3, 0}, {4, 0}}},
        {"LB * i", {{0, 1}, {0, 2}}},
        {"i LB", {{0, 1}, {0, 2}}},
        {"LA + LC", {{5, 0}, {7, 0}, {9, 0}}},
        {"LC - LA", {{3, 0}, {3, 0}, {3, 0}}},
        {"LA * LC", {{4, 0}, {10, 0}, {18, 0}}},
        {"LC / LA", {{4, 0}, {2.5, 0}, {2, 0}}},
        {"12 / LA", {{12, 0}, {6, 0}, {4, 0}}},
        {"neg LA", {{-1, 0}, {-2, 0}, {-3, 0}}},
        {"LA sq", {{1, 0}, {4, 0}, {9, 0}}},
        {"LA ^ 2", {{1, 0}, {4, 0}, {9, 0}}},
        {"2 ^ LA", {{2, 0}, {4, 0}, {8, 0}}},
        {"LA !", {{1, 0}, {2, 0}, {6, 0}}},
        {"LD * 2", {{2, 2}, {0, -4}}},
        {"LD * LD", {{0, 2}, {-4, 0}}},          // (1+i)^2 = 2i, (-2i)^2 = -4
        {"abs( LC - 5 )", {{1, 0}, {0, 0}, {1, 0}}},
        {"Max( LA , 2 )", {{2, 0}, {2, 0}, {3, 0}}},
        {"Max( LA , LC - 3 )", {{1, 0}, {2, 0}, {3, 0}}},
        {"Round( LA / 3 , 2 )", {{0.33, 0}, {0.67, 0}, {1, 0}}},
        {"sin( LA * 0 )", {{0, 0}, {0, 0}, {0, 0}}},
        {"( LA + 1 ) * 2 - LA", {{3, 0}, {4, 0}, {5, 0}}},
        {"LA + 1 >LE", {{2, 0}, {3, 0}, {4, 0}}},
        {"LE", {{2, 0}, {3, 0}, {4, 0}}},
        {"cumSum( LA * 2 )", {{2, 0}, {6, 0}, {12, 0}}},
        {"L_Ans + 1", {{3, 0}, {7, 0}, {13, 0}}},
    };
    for (const ListCase& c : cases) {
        Outcome o = mrun(c.expr);
        ASSERT_TRUE(o.ok) << c.expr << " -> error " << o.code;
        EXPECT_EQ(g_last_result_kind, RK_LIST) << c.expr;
        EXPECT_TRUE(list_is(answer_list(), c.expected)) << c.expr;
    }
}

TEST_F(ListTest, ScalarFunctionsCheckTheirArgumentsPerElement) {
    set_list(0, {1, 2, 3});
    set_complex_list(1, {{1, 1}});
    const ErrorCase cases[] = {
        {"sin( LA , 2 )", ERR_ARG_COUNT},
        {"Max( LA )", ERR_ARG_COUNT},
        {"Max( LA , i )", ERR_ARG_TYPE},
        {"Max( LB , 2 )", ERR_ARG_TYPE},     // a complex element where a real is needed
        {"Max( LA , [A] )", ERR_ARG_TYPE},
        {"1 / ( LA - 2 )", ERR_DIV_ZERO},     // the second element fails
        {"LA * [A]", ERR_DATA_TYPE},
    };
    set_matrix(0, {{1}});
    expect_refusals(cases);
    ASSERT_TRUE(mrun("LA").ok);
    EXPECT_EQ(list_temps_in_use(), 0);
}

TEST_F(ListTest, ComplexElementsAddAndMultiply) {
    set_complex_list(0, {{1, 1}, {2, -3}});
    Outcome o = mrun("sum( LA )");
    EXPECT_EQ(o.re, 3);
    EXPECT_EQ(o.im, -2);
    o = mrun("prod( LA )");   // (1+i)(2-3i) = 2 - 3i + 2i + 3 = 5 - i
    EXPECT_EQ(o.re, 5);
    EXPECT_EQ(o.im, -1);
    o = mrun("mean( LA )");
    EXPECT_EQ(o.re, 1.5);
    EXPECT_EQ(o.im, -1);
    ASSERT_TRUE(mrun("reverse( LA )").ok);
    EXPECT_TRUE(list_is(answer_list(), {{2, -3}, {1, 1}}));
    ASSERT_TRUE(mrun("deltaList( LA )").ok);
    EXPECT_TRUE(list_is(answer_list(), {{1, -4}}));
    ASSERT_TRUE(mrun("Conj( LA )").ok);
    EXPECT_TRUE(list_is(answer_list(), {{1, -1}, {2, 3}}));
    o = mrun("pos( LA , 1 )");   // 1+i is not 1
    EXPECT_EQ(o.re, 0);
}

TEST_F(ListTest, ColumnsGoToTheStatisticsData) {
    static int column;
    static ListValue got;
    column = -1;
    g_stats_column_hook = [](int c, const ListValue& l) {
        column = c;
        got = l;
    };
    set_list(0, {1, 2, 3});
    ASSERT_TRUE(mrun("toX( LA )").ok);
    EXPECT_EQ(column, 0);
    EXPECT_TRUE(list_is(got, {{1, 0}, {2, 0}, {3, 0}}));
    EXPECT_TRUE(list_is(answer_list(), {{1, 0}, {2, 0}, {3, 0}}));   // the list itself
    ASSERT_TRUE(mrun("toY( LA * 2 )").ok);
    EXPECT_EQ(column, 1);
    EXPECT_TRUE(list_is(got, {{2, 0}, {4, 0}, {6, 0}}));
}

TEST_F(ListTest, StoresIntoListsOnly) {
    set_list(0, {1, 2});
    ASSERT_TRUE(mrun("LA * 3 >LJ").ok);
    EXPECT_TRUE(list_is(g_lists[9], {{3, 0}, {6, 0}}));
    ASSERT_TRUE(mrun("LA #3101").ok);   // LB through the other store code
    EXPECT_TRUE(list_is(g_lists[1], {{1, 0}, {2, 0}}));
    // A list never lands in the answer matrix's place or a scalar variable.
    set_matrix(10, {{9}});
    EXPECT_EQ(mrun("LA #999").code, ERR_DATA_TYPE);
    EXPECT_EQ(mrun("LA #990").code, ERR_DATA_TYPE);
    EXPECT_TRUE(matrix_is(answer_matrix(), {{9}}));
    EXPECT_EQ(mrun("1 >LA").code, ERR_DATA_TYPE);
    EXPECT_TRUE(list_is(g_lists[0], {{1, 0}, {2, 0}}));
}

TEST_F(ListTest, TenListTemporariesAndNoMore) {
    set_list(0, {1, 2});
    ASSERT_TRUE(mrun(groups("( LA + 1 )", 10)).ok);
    EXPECT_TRUE(list_is(answer_list(), {{20, 0}, {30, 0}}));
    EXPECT_EQ(mrun(groups("( LA + 1 )", 11)).code, ERR_MEMORY);
}

TEST_F(ListTest, OverflowIsAnErrorNotAnInfinity) {
    set_list(0, {1e308, 1e308});
    EXPECT_EQ(mrun("sum( LA )").code, ERR_OVERFLOW);
    EXPECT_EQ(mrun("prod( LA )").code, ERR_OVERFLOW);
    EXPECT_EQ(mrun("cumSum( LA )").code, ERR_OVERFLOW);
    EXPECT_EQ(mrun("LA * 10").code, ERR_OVERFLOW);
}

}  // namespace
}  // namespace qx::test

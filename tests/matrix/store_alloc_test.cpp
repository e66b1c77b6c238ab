// Matrix and list evaluation must not allocate: the named objects, the
// temporaries and the working slots are fixed tables.
#include <gtest/gtest.h>

#include "tests/allocation_counter.h"
#include "tests/matrix/store_helpers.h"

namespace qx::test {
namespace {

class MatrixAllocation : public MatrixTest {};

TEST_F(MatrixAllocation, MatrixAndListEvaluationAllocatesNothing) {
    set_matrix(0, {{4, -2, 1}, {3, 6, -4}, {2, 1, 8}});
    set_matrix(1, {{1, 2}, {3, 4}});
    set_list(0, {3, 1, 2, 4});
    set_complex_list(1, {{1, 1}, {2, 0}});
    const char* exprs[] = {
        "[A] ^ 3 + 2 [A] - Det( [A] ) [A]",
        "[A] inv * [A] >[C]",
        "MtoL( [B] * 2 ) + 1",
        "LtoM( LA ) T",
        "median( LA ) + variance( LA ) + sum( LA + 1 )",
        "augList( sortA( LA ) , LB * i ) >LC",
        "Max( LA , 2 ) - sin( LA )",
        "deltaList( fill( 1 , 3 ) )",
        "[A] ^ 1001",
        "[A] + [B]",
        "augList( LA , augList( LA , LA ) )",
        "LA",
        "[B]",
    };
    std::vector<std::vector<TokenCode>> tokens;
    for (const char* e : exprs) tokens.push_back(toks(object_words(e)));
    CompiledExpression* expr = new CompiledExpression;
    const long before = allocations_so_far();
    for (int round = 0; round < 5; ++round) {
        for (const auto& t : tokens) {
            clear_error();
            compile_expression(t.data(), static_cast<int>(t.size()), *expr);
            run_and_store(*expr);
            format_complex_display(g_ans.re, g_ans.im, true, false);
            clear_error();
        }
    }
    EXPECT_EQ(allocations_so_far(), before);
    delete expr;
}

}  // namespace
}  // namespace qx::test

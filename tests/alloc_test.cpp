// Evaluation must not allocate: every structure is a fixed table.
#include <gtest/gtest.h>

#include "tests/allocation_counter.h"
#include "tests/helpers.h"

namespace qx::test {
namespace {

TEST(Allocation, CompileAndRunAllocateNothing) {
    fresh_state();
    std::vector<TokenCode> t = toks("sin( 2.5 ) + 3 ^ 2 * ( 4 - 1 ) / 7 + A + Max( 1 , 2 i ) + 1 / 0");
    std::vector<TokenCode> ok = toks("sin( 2.5 ) + 3 ^ 2 * ( 4 - 1 ) / 7 + A + Max( 1 , 2 )");
    CompiledExpression* expr = new CompiledExpression;
    long before = allocations_so_far();
    for (int k = 0; k < 10; ++k) {
        compile_expression(ok.data(), static_cast<int>(ok.size()), *expr);
        run_and_store(*expr);
        format_complex_display(g_ans.re, g_ans.im, true, false);
        clear_error();
        compile_expression(t.data(), static_cast<int>(t.size()), *expr);
        run_and_store(*expr);
        clear_error();
    }
    EXPECT_EQ(allocations_so_far(), before);
    delete expr;
}

}  // namespace
}  // namespace qx::test

// The var functions run inside one evaluation: integrating, searching and
// summing must not allocate either.
#include <gtest/gtest.h>

#include "engine/evaluator.h"
#include "matrix/store.h"
#include "numeric/calculus.h"
#include "tests/allocation_counter.h"
#include "tests/helpers.h"

namespace qx::test {
namespace {

class CalculusAllocation : public EngineTest {};

TEST_F(CalculusAllocation, VarFunctionsAllocateNothing) {
    install_matrix_engine_hooks();
    install_calculus_hooks();
    const char* const expressions[] = {
        "#468 x ^ 2 , x , 0 , 1 )",            // fnInt
        "#477 x ^ 2 , x , 3 )",                // fnDeriv
        "#483 x ^ 2 - 2 , x , 0 , 2 )",        // fnRoot
        "#475 ( x - 1 ) ^ 2 , x , 0 , 3 )",    // fnMin
        "#479 x ^ 2 , x , 1 , 10 )",           // Summ
    };
    auto* compiled = new CompiledExpression;
    for (const char* e : expressions) {
        const std::vector<TokenCode> t = toks(e);
        compile_expression(t.data(), static_cast<int>(t.size()), *compiled);
        ASSERT_FALSE(error_pending()) << e;
        const long before = allocations_so_far();
        run_and_store(*compiled);
        EXPECT_FALSE(error_pending()) << e << ": " << error_text();
        EXPECT_EQ(allocations_so_far(), before) << e;
        clear_error();
    }
    delete compiled;
    calculus_abandon();
}

}  // namespace
}  // namespace qx::test

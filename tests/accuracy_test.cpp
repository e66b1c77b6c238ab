// Every one-argument function against 50-digit references, in both the
// real-only and the rectangular complex format.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "tests/helpers.h"

namespace qx::test {
namespace {

struct Reference {
    const char* name;
    double re, im;        // argument
    double want_re, want_im;
};

const Reference kReferences[] = {
#include "tests/reference/accuracy_table.inc"
};

TokenCode token_of(const char* name) {
    static const struct { const char* name; TokenCode code; } kTokens[] = {
        {"sin", 5}, {"cos", 6}, {"tan", 7}, {"ln", 11}, {"log", 12}, {"asin", 105},
        {"acos", 106}, {"atan", 107}, {"sinh", 205}, {"cosh", 206}, {"tanh", 207},
        {"asinh", 305}, {"acosh", 306}, {"atanh", 307}, {"exp", 111}, {"tenpow", 112},
        {"sqrt", 14}, {"cbrt", 15}, {"gamma", 176}, {"abs", 19},
    };
    for (const auto& t : kTokens)
        if (std::strcmp(t.name, name) == 0) return t.code;
    return 0;
}

class AccuracyTest : public EngineTest {};

TEST_F(AccuracyTest, OneArgumentFunctionsWithin1e12) {
    for (int format : {CPLX_REAL, CPLX_RECT}) {
        for (const Reference& r : kReferences) {
            if (format == CPLX_REAL && r.im != 0.0 && std::strcmp(r.name, "abs") != 0) continue;
            fresh_state();
            g_settings.complex_format = format;
            g_memory[10] = MemorySlot{r.re, r.im};   // A
            TokenCode fn = token_of(r.name);
            ASSERT_NE(fn, 0) << r.name;
            Outcome o = evaluate({fn, 810, TOK_CLOSE_PAREN});
            if (fn == 14 || fn == 15 || fn == 111 || fn == 112) o = evaluate({fn, 810});
            ASSERT_TRUE(o.ok) << r.name << "(" << r.re << "," << r.im << ") error " << o.code;
            double err = std::hypot(o.re - r.want_re, o.im - r.want_im);
            double size = std::hypot(r.want_re, r.want_im);
            EXPECT_LE(err, 1e-12 * size) << r.name << "(" << r.re << "," << r.im << ") = " << o.re
                                         << "," << o.im << " format " << format;
        }
    }
}

}  // namespace
}  // namespace qx::test

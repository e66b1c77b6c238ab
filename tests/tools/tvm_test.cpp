// The annuity solver against 50-digit references, the worked loans a user
// checks by hand, the equations without a solution and the schedule.
#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <string>

#include "engine/errors.h"
#include "engine/format.h"
#include "engine/scalar.h"
#include "engine/settings.h"
#include "tools/tvm.h"

namespace qx {
namespace {

#include "tests/reference/tvm_table.inc"

TvmValues values(double n, double i, double pv, double pmt, double fv, double py = 12, double cy = 12,
                 bool begin = false) {
    TvmValues t{};
    const double v[TVM_FIELD_COUNT] = {n, i, pv, pmt, fv, py, cy};
    for (int k = 0; k < TVM_FIELD_COUNT; ++k) t.v[k] = v[k];
    t.begin = begin;
    return t;
}

std::string shown(double v) { return v == UNDEFINED_VALUE ? "Error" : format_real(v, FMT_FIXED, 2, false); }

class Tvm : public ::testing::Test {
protected:
    void SetUp() override {
        reset_settings();
        clear_error();
        std::feclearexcept(FE_ALL_EXCEPT);
    }
    // Nothing a solve does may be seen by the calculation that runs next.
    void TearDown() override {
        EXPECT_FALSE(error_pending());
        EXPECT_EQ(fp_fault_code(), -1);
    }
};

TEST_F(Tvm, SolvesEachUnknownAsTheReference) {
    for (const TvmReference& r : kTvmReference) {
        TvmValues t = values(r.n, r.i, r.pv, r.pmt, r.fv, r.py, r.cy, r.begin);
        t.v[r.unknown] = 0;
        const double got = tvm_solve(t, r.unknown);
        SCOPED_TRACE(std::string(r.name) + ", unknown " + std::to_string(r.unknown));
        EXPECT_EQ(t.v[r.unknown], got);
        if (r.expected == UNDEFINED_VALUE) {
            EXPECT_EQ(got, UNDEFINED_VALUE);
        } else if (r.unknown == TVM_I) {
            EXPECT_NEAR(got, r.expected, 1e-7);
        } else {
            EXPECT_NEAR(got, r.expected, 1e-9 * std::fmax(std::fabs(r.expected), r.scale));
        }
    }
}

struct Worked {
    const char* what;
    TvmValues t;
    TvmField unknown;
    const char* expected;   // as the dialog shows it
};

TEST_F(Tvm, WorkedExamples) {
    const Worked cases[] = {
        {"30-year mortgage", values(360, 6, 200000, 0, 0), TVM_PMT, "-1199.10"},
        {"semi-annual compounding", values(300, 6, 100000, 0, 0, 12, 2), TVM_PMT, "-639.81"},
        // 2^(1/10) - 1 = 0.071773...
        {"money doubled in 10 years", values(10, 0, -1000, 0, 2000, 1, 1), TVM_I, "7.18"},
        // Zero rate: 1000 repaid in 10 payments of 100.
        {"zero rate payment", values(10, 0, 1000, 0, 0, 1, 1), TVM_PMT, "-100.00"},
        {"zero rate term", values(0, 0, 1000, -100, 0, 1, 1), TVM_N, "10.00"},
        {"zero rate present value", values(10, 0, 0, -100, 0, 1, 1), TVM_PV, "1000.00"},
        {"zero rate future value", values(10, 0, 1000, -100, 0, 1, 1), TVM_FV, "0.00"},
        {"zero rate, begin", values(4, 0, 1000, -200, 0, 12, 12, true), TVM_FV, "-200.00"},
    };
    for (const Worked& c : cases) {
        TvmValues t = c.t;
        EXPECT_EQ(shown(tvm_solve(t, c.unknown)), c.expected) << c.what;
    }
}

TEST_F(Tvm, SolvedPaymentSolvesBackToTheTermAndRate) {
    TvmValues t = values(360, 6, 200000, 0, 0);
    tvm_solve(t, TVM_PMT);
    TvmValues u = t;
    u.v[TVM_N] = 0;
    EXPECT_EQ(shown(tvm_solve(u, TVM_N)), "360.00");
    u = t;
    u.v[TVM_I] = 0;
    EXPECT_EQ(shown(tvm_solve(u, TVM_I)), "6.00");
    // The same from the payment as the dialog shows it.
    t = values(0, 6, 200000, -1199.10, 0);
    EXPECT_EQ(shown(tvm_solve(t, TVM_N)), "360.00");
}

struct Unsolvable {
    const char* what;
    TvmValues t;
    TvmField unknown;
};

TEST_F(Tvm, UnsolvableGivesUndefinedWithoutError) {
    const double U = UNDEFINED_VALUE;
    const Unsolvable cases[] = {
        // The payments never catch up with the future value.
        {"no rate solves it", values(10, 0, 1000, -100, 1000, 1, 1), TVM_I},
        {"all one sign", values(10, 0, 1000, 100, 500), TVM_I},
        {"only outflows and nothing", values(10, 0, -1000, 0, 0), TVM_I},
        {"no payment and no growth", values(0, 0, 1000, 0, 0), TVM_N},
        {"log of a negative ratio", values(0, 12, 1000, -5, 0), TVM_N},
        {"zero periods", values(0, 6, 1000, 0, 0), TVM_PMT},
        {"no payments per year", values(12, 6, 1000, 0, 0, 0, 12), TVM_PMT},
        {"no compoundings per year", values(12, 6, 1000, 0, 0, 12, 0), TVM_FV},
        {"compounding factor zero", values(12, -100, 1000, 0, 0, 1, 1), TVM_PMT},
        {"compounding factor negative", values(12, -250, 0, -10, 0, 12, 2), TVM_PV},
        {"overflowing growth", values(1e6, 100, 1000, -1, 0, 1, 1), TVM_FV},
        {"overflowing payments", values(1e6, -50, 0, -1, 0, 1, 1), TVM_PV},
        {"a value in error", values(12, 6, U, 0, 0), TVM_PMT},
        {"the rate in error", values(12, U, 1000, 0, 0), TVM_PMT},
        {"the term in error", values(U, 6, 1000, -100, 0), TVM_I},
    };
    for (const Unsolvable& c : cases) {
        TvmValues t = c.t;
        EXPECT_EQ(tvm_solve(t, c.unknown), UNDEFINED_VALUE) << c.what;
        EXPECT_EQ(t.v[c.unknown], UNDEFINED_VALUE) << c.what;
        EXPECT_EQ(fp_fault_code(), -1) << c.what;
    }
}

TEST_F(Tvm, KeepsFlagsRaisedBeforeIt) {
    std::feraiseexcept(FE_OVERFLOW);
    TvmValues t = values(360, 6, 200000, 0, 0);
    tvm_solve(t, TVM_I);
    EXPECT_EQ(fp_fault_code(), ERR_OVERFLOW);
    clear_fp_flags();
}

TEST_F(Tvm, Residual) {
    // A solved payment balances the equation; a zero rate uses its limit.
    TvmValues t = values(360, 6, 200000, 0, 0);
    tvm_solve(t, TVM_PMT);
    TvmResidual r = tvm_residual(t);
    ASSERT_TRUE(r.defined);
    EXPECT_NEAR(r.residual, 0, 1e-6);
    EXPECT_DOUBLE_EQ(r.rate, 0.005);
    r = tvm_residual(values(10, 0, 1000, -90, 50, 1, 1));
    ASSERT_TRUE(r.defined);
    EXPECT_DOUBLE_EQ(r.residual, 150);
    // C/Y 2, P/Y 12: (1.03)^(1/6) - 1.
    EXPECT_NEAR(tvm_residual(values(1, 6, 0, 0, 0, 12, 2)).rate, 0.0049386220311970, 1e-16);
    EXPECT_FALSE(tvm_residual(values(1, 6, 0, 0, 0, 0, 2)).defined);
    EXPECT_FALSE(tvm_residual(values(1, -200, 0, 0, 0, 12, 2)).defined);
}

TEST_F(Tvm, Defaults) {
    const TvmValues d = tvm_defaults();
    for (int k = 0; k < TVM_FIELD_COUNT; ++k) EXPECT_EQ(d.v[k], k == TVM_PY || k == TVM_CY ? 1 : 0);
    EXPECT_FALSE(d.begin);
}

// --- the schedule ---------------------------------------------------------------------

TEST_F(Tvm, ScheduleFirstRow) {
    // 1% of 1000 is 10 interest; 90 of the payment repays the loan.
    const auto rows = tvm_schedule(values(12, 12, 1000, -100, 0));
    ASSERT_EQ(rows.size(), 12u);
    EXPECT_EQ(shown(rows[0].principal), "-90.00");
    EXPECT_EQ(shown(rows[0].interest), "-10.00");
    EXPECT_EQ(shown(rows[0].balance), "910.00");
    // Payments at the start: the first earns no interest.
    const auto begin = tvm_schedule(values(12, 12, 1000, -100, 0, 12, 12, true));
    EXPECT_EQ(shown(begin[0].interest), "0.00");
    EXPECT_EQ(shown(begin[0].balance), "900.00");
    EXPECT_EQ(shown(begin[1].interest), "-9.00");
    // Interest on a deposit shows with the sign of the deposits.
    const auto saving = tvm_schedule(values(2, 12, -1000, -100, 0));
    EXPECT_EQ(shown(saving[0].interest), "-10.00");
    EXPECT_EQ(shown(saving[0].balance), "-1110.00");
}

TEST_F(Tvm, SchedulePaysTheLoanOff) {
    struct Loan {
        TvmValues t;
    };
    const Loan loans[] = {
        {values(300, 6, 100000, 0, 0, 12, 2)},
        {values(360, 6, 200000, 0, 0)},
        {values(120, 4, 20000, 0, 0, 4, 12)},
        {values(2000, 8, 50000, 0, 0, 52, 12)},
    };
    for (Loan l : loans) {
        tvm_solve(l.t, TVM_PMT);
        const auto rows = tvm_schedule(l.t);
        ASSERT_EQ(rows.size(), static_cast<std::size_t>(l.t.v[TVM_N]));
        EXPECT_LT(std::fabs(rows.back().balance), 0.005);
        EXPECT_EQ(shown(std::fabs(rows.back().balance)), "0.00");
    }
}

TEST_F(Tvm, ScheduleRowCount) {
    const struct {
        double n;
        std::size_t rows;
    } cases[] = {{3.5, 4}, {1, 1}, {0.2, 1}, {0, 0}, {-3, 0}, {2000, 2000}};
    for (const auto& c : cases) {
        const TvmValues t = values(c.n, 5, 1000, -10, 0);
        ASSERT_EQ(tvm_schedule_check(t), ScheduleCheck::Ok) << c.n;
        EXPECT_EQ(tvm_schedule(t).size(), c.rows) << c.n;
    }
}

TEST_F(Tvm, ScheduleRefusals) {
    const double U = UNDEFINED_VALUE;
    const struct {
        TvmValues t;
        ScheduleCheck check;
    } cases[] = {
        {values(10, 5, U, -10, 0), ScheduleCheck::ValueError},
        {values(10, 5, 1000, U, 0), ScheduleCheck::ValueError},
        {values(10, U, 1000, -10, 0), ScheduleCheck::ValueError},
        {values(U, 5, 1000, -10, 0), ScheduleCheck::ValueError},
        // An undefined future value does not enter the schedule.
        {values(10, 5, 1000, -10, U), ScheduleCheck::Ok},
        {values(2000.5, 5, 1000, -10, 0), ScheduleCheck::TooManyPeriods},
        {values(10, 5, 1000, -10, 0, 0, 12), ScheduleCheck::NoPayments},
        // The checks go in that order.
        {values(2001, U, 1000, -10, 0, 0, 12), ScheduleCheck::ValueError},
        {values(2001, 5, 1000, -10, 0, 0, 12), ScheduleCheck::TooManyPeriods},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(tvm_schedule_check(c.t), c.check);
        if (c.check != ScheduleCheck::Ok) {
            EXPECT_TRUE(tvm_schedule(c.t).empty());
        }
    }
    EXPECT_STREQ(tvm_schedule_message(ScheduleCheck::ValueError),
                 "Can't create schedule due to a TVM value having an error.");
    EXPECT_STREQ(tvm_schedule_message(ScheduleCheck::TooManyPeriods),
                 "Can't create schedule due to the TVM N value being greater than 2000.");
    EXPECT_STREQ(tvm_schedule_message(ScheduleCheck::NoPayments),
                 "Can't create schedule due to the TVM P/Y value being equal to 0.");
    EXPECT_STREQ(tvm_schedule_message(ScheduleCheck::Ok), "");
}

TEST_F(Tvm, ScheduleWithoutARateShowsErrors) {
    // No compounding per year leaves no rate; the first Begin payment needs none.
    const auto rows = tvm_schedule(values(3, 5, 1000, -10, 0, 12, 0, true));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(shown(rows[0].balance), "990.00");
    EXPECT_EQ(rows[1].interest, UNDEFINED_VALUE);
    EXPECT_EQ(rows[2].balance, UNDEFINED_VALUE);
}

}  // namespace
}  // namespace qx

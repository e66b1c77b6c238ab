// Every quantity, fit and estimate over whole data sets against values
// computed at 50 digits (tests/reference/make_stats_table.py).
#include <cmath>
#include <cstring>

#include "tests/stats/stats_fixture.h"

namespace {
#include "tests/reference/stats_table.inc"
}  // namespace

namespace qx::test {
namespace {

// A zero reference is met within this much: sums that cancel exactly in
// exact arithmetic leave a few ulps of their terms.
constexpr double kZeroSlack = 1e-13;

bool close(double got, double want, double tolerance) {
    const double allowed = want == 0.0 ? kZeroSlack : tolerance * std::fabs(want);
    return std::fabs(got - want) <= allowed;
}

// The ln x of "offset" and "large offset fit" differ in their eighth digit,
// so no double computation of the log and power fits (or of estimates
// that cancel, or of an intercept e^b' below the smallest double) comes
// near the 50-digit values; those sets check the raw quantities and the
// linear fit only.
bool ill_conditioned(const StatsReference& r) {
    return std::strcmp(r.name, "offset") == 0 || std::strcmp(r.name, "large offset fit") == 0;
}

class StatsReferenceTest : public StatsTest {
protected:
    static void load(const StatsReference& r) {
        ASSERT_TRUE(load_stat_data(r.x, r.y, r.n)) << r.name;
        g_settings.stats_var = 1;
    }
};

TEST_F(StatsReferenceTest, Quantities) {
    for (const StatsReference& r : kStatsReference) {
        load(r);
        g_settings.stats_regress = REGRESS_LINEAR;
        for (int q = 0; q < STATS_QUANTITY_COUNT; ++q) {
            int code = -1;
            const double v = quantity(q, &code);
            if (r.quantity_error[q]) {
                EXPECT_GE(code, 0) << r.name << " quantity " << q << " gave " << v;
            } else {
                EXPECT_EQ(code, -1) << r.name << " quantity " << q;
                EXPECT_PRED3(close, v, r.quantity[q], r.tolerance) << r.name << " quantity " << q;
            }
        }
    }
}

TEST_F(StatsReferenceTest, FitsOfEveryModel) {
    for (const StatsReference& r : kStatsReference) {
        load(r);
        for (int kind = 0; kind < 4; ++kind) {
            if (kind > 0 && ill_conditioned(r)) continue;
            g_settings.stats_regress = kind;
            for (int part = 0; part < 3; ++part) {
                int code = -1;
                const double v = quantity(STAT_SLOPE + part, &code);
                if (r.fit_error[kind][part]) {
                    EXPECT_GE(code, 0) << r.name << " kind " << kind << " part " << part;
                } else {
                    EXPECT_EQ(code, -1) << r.name << " kind " << kind << " part " << part;
                    EXPECT_PRED3(close, v, r.fit[kind][part], r.tolerance)
                        << r.name << " kind " << kind << " part " << part;
                }
            }
        }
    }
}

TEST_F(StatsReferenceTest, Estimates) {
    for (const StatsReference& r : kStatsReference) {
        if (ill_conditioned(r)) continue;
        load(r);
        for (int kind = 0; kind < 4; ++kind) {
            g_settings.stats_regress = kind;
            for (int way = 0; way < 2; ++way) {
                clear_error();
                const int op = way == 0 ? OP_REGRESS_Y : OP_REGRESS_X;
                const double v = regression_estimate(op, r.estimate_at[kind][way]);
                const bool failed = error_pending();
                clear_error();
                if (r.estimate_error[kind][way]) {
                    EXPECT_TRUE(failed) << r.name << " kind " << kind << " way " << way << " gave " << v;
                } else {
                    EXPECT_FALSE(failed) << r.name << " kind " << kind << " way " << way;
                    EXPECT_PRED3(close, v, r.estimate[kind][way], r.tolerance)
                        << r.name << " kind " << kind << " way " << way;
                }
            }
        }
    }
}

}  // namespace
}  // namespace qx::test

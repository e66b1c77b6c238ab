// STATS mode from the face: Σ+, Σ−, Clr Σ, the kind and model keys, the
// window title that counts the points, and the quantities read back.
#include "stats/stats.h"
#include "tests/ui/calculator_fixture.h"

namespace qx {
namespace {

class StatsKeysTest : public CalculatorFixture {
protected:
    void enter(const std::string& value) {
        type(value);
        key(26);   // Σ+
    }
    std::string title() const { return window.title(); }
};

TEST_F(StatsKeysTest, TitleCountsTwoVariablePoints) {
    key(46);
    ASSERT_EQ(g_settings.calculator_mode, MODE_STATS);
    EXPECT_EQ(title(), "Quorix (n=0)");
    key(1);
    EXPECT_EQ(g_settings.stats_var, 1);
    EXPECT_EQ(title(), "Quorix (n=0, x)");
    const struct { const char* value; const char* title; } steps[] = {
        {"3", "Quorix (n=0, y)"}, {"4", "Quorix (n=1, x)"}, {"5", "Quorix (n=1, y)"},
    };
    for (const auto& s : steps) {
        enter(s.value);
        EXPECT_EQ(title(), s.title) << s.value;
    }
    key(18);   // Σ− drops the waiting 5 only
    EXPECT_EQ(title(), "Quorix (n=1, x)");
    enter("6");
    key(1);    // to one variable and back: the half point goes
    EXPECT_EQ(title(), "Quorix (n=1)");
    key(1);
    EXPECT_EQ(title(), "Quorix (n=1, x)");
    key(19);   // Clr Σ
    EXPECT_EQ(title(), "Quorix (n=0, x)");
    // Other data faces keep the count in the title; the editors name their object.
    key(43);
    EXPECT_EQ(title(), "Quorix (n=0, x)");
}

TEST_F(StatsKeysTest, QuantitiesAndEstimatesFromTheKeys) {
    key(46);
    key(1);
    const char* data[] = {"1", "1.8", "2", "4.1", "3", "5.9", "4", "8.2", "5", "9.8"};
    for (const char* v : data) enter(v);
    EXPECT_EQ(title(), "Quorix (n=5, x)");
    key(5);    // Σxy
    key(42);
    EXPECT_EQ(result(), "109.5");
    type("6");
    key(8);    // ry
    key(42);
    EXPECT_EQ(result(), "11.99");
    type("7");
    key(7);    // rx
    key(42);
    EXPECT_EQ(result(), "3.5174129353");
    key(9);    // LIN -> LOG
    EXPECT_EQ(g_settings.stats_regress, REGRESS_LOG);
    key(0);
    key(9);    // blue: r
    key(42);
    EXPECT_EQ(result(), "0.980036967");
    keys({9, 9, 9});
    EXPECT_EQ(g_settings.stats_regress, REGRESS_LINEAR);
}

TEST_F(StatsKeysTest, RefusalsAndMissingData) {
    key(46);
    key(0);
    key(24);   // Stats Plot with no data
    EXPECT_TRUE(logged("box Stats: No Data"));
    key(13);   // Σx² with no data
    key(42);
    EXPECT_EQ(result(), "No Data");
    key(27);
    type("1+");
    insert_token(TOK_I);
    key(26);
    EXPECT_TRUE(logged("box Stats Error: Only real numbers can be inserted as statistics data."));
    EXPECT_EQ(stats_data().count, 0);
    key(27);
    enter("2");
    key(0);
    key(11);   // blue: ȳ in one-variable statistics
    key(42);
    EXPECT_EQ(result(), "No y Data");
    key(27);
    EXPECT_EQ(stats_data().count, 1);
}

TEST_F(StatsKeysTest, TheThousandthPointIsRefused) {
    key(46);
    const double zeros[STATS_MAX_POINTS - 1] = {};
    set_stat_column(0, zeros, STATS_MAX_POINTS - 1);
    enter("7");
    EXPECT_EQ(stats_data().count, STATS_MAX_POINTS);
    EXPECT_FALSE(logged("Reached statistics data limit"));
    enter("8");
    EXPECT_TRUE(logged("box Limit: Reached statistics data limit"));
    EXPECT_EQ(title(), "Quorix (n=999)");
}

}  // namespace
}  // namespace qx

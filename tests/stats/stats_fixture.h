// What the statistics tests share: a fresh calculator with the statistics
// hooks, message boxes recorded instead of shown, and data entered the way
// Σ+ enters it.
#pragma once
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "engine/hooks.h"
#include "stats/stats.h"
#include "tests/helpers.h"

namespace qx::test {

inline std::vector<std::string>& stats_boxes() {
    static std::vector<std::string> boxes;
    return boxes;
}

inline int record_box(const char* text, const char* title, int) {
    stats_boxes().push_back(std::string(title) + ": " + text);
    return 1;
}

class StatsTest : public ::testing::Test {
protected:
    void SetUp() override {
        fresh_state();
        reset_stats();
        install_stats_hooks();
        g_hooks.message_box = record_box;
        stats_boxes().clear();
    }
    void TearDown() override {
        reset_stats();
        fresh_state();
    }
    // One-variable values, or x, y, x, y... in two-variable statistics.
    static void enter(std::initializer_list<double> values) {
        for (double v : values) add_stat_point(v, 0.0, false);
    }
    static void points(std::initializer_list<double> x, std::initializer_list<double> y) {
        g_settings.stats_var = 1;
        auto yi = y.begin();
        for (double v : x) {
            add_stat_point(v, 0.0, false);
            add_stat_point(*yi++, 0.0, false);
        }
    }
    // The quantity, or the code of the error it raised (cleared).
    static double quantity(int index, int* code = nullptr) {
        clear_error();
        const double v = claculate_stat(index);
        if (code) *code = error_pending() ? error_code() : -1;
        clear_error();
        return v;
    }
    static std::string title() {
        char text[120];
        stats_title(text, sizeof text);
        return text;
    }
};

}  // namespace qx::test

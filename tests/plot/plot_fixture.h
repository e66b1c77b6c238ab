// What the plot tests share: a calculation state with the plot settings
// at their defaults in PLOT mode, and slots filled from test words.
#pragma once
#include <string>
#include <vector>

#include "matrix/store.h"
#include "numeric/calculus.h"
#include "plot/analysis.h"
#include "plot/model.h"
#include "tests/helpers.h"

namespace qx::test {

inline void store_slot(int type, int slot, const std::string& words) {
    const std::vector<TokenCode> t = toks(words);
    PlotSlot& s = g_plot_slots[type][slot];
    s.count = static_cast<int>(t.size());
    for (int k = 0; k < s.count; ++k) s.tokens[k] = t[static_cast<std::size_t>(k)];
}

class PlotTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        install_matrix_engine_hooks();
        install_calculus_hooks();
        install_plot_model_hooks();
        clear_plot_state();
        reset_calc_settings();
        g_settings.calculator_mode = MODE_PLOT;
    }
    void TearDown() override {
        calculus_abandon();
        clear_plot_state();
        reset_calc_settings();
        EngineTest::TearDown();
    }
    static void store(int type, int slot, const std::string& words) { store_slot(type, slot, words); }
};

}  // namespace qx::test

// What the plot tests share: a calculation state with the plot settings
// at their defaults in PLOT mode, and slots filled from test words.
#pragma once
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "matrix/store.h"
#include "numeric/calculus.h"
#include "plot/analysis.h"
#include "plot/evaluate.h"
#include "plot/geometry.h"
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

// A canvas that keeps every call instead of drawing.
struct Call {
    bool is_line;
    int x0, y0, x1, y1;
    std::uint32_t colour;
    bool operator==(const Call&) const = default;
};

struct RecordingCanvas : PlotCanvas {
    std::vector<Call> calls;
    bool abort_on_first_line = false;
    void line(int x0, int y0, int x1, int y1, std::uint32_t colour) override {
        calls.push_back({true, x0, y0, x1, y1, colour});
        if (abort_on_first_line) g_plot_abort = true;
    }
    void pixel(int x, int y, std::uint32_t colour) override { calls.push_back({false, x, y, x, y, colour}); }
    int count(bool lines) const {
        int n = 0;
        for (const Call& c : calls) n += c.is_line == lines;
        return n;
    }
    int lines(std::uint32_t colour) const {
        int n = 0;
        for (const Call& c : calls) n += c.is_line && c.colour == colour;
        return n;
    }
    // Every call must stay inside the plot area (it would not, for example,
    // after a NaN reached the integer conversion).
    bool all_inside() const {
        for (const Call& c : calls)
            if (std::min(c.x0, c.x1) < 0 || std::max(c.x0, c.x1) > PLOT_WIDTH - 1 || std::min(c.y0, c.y1) < 0 ||
                std::max(c.y0, c.y1) > PLOT_HEIGHT - 1)
                return false;
        return true;
    }
};

}  // namespace qx::test

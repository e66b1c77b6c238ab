// A fresh calculator behind the headless window, and the user's hands:
// taps on keys, typed characters and keys of the PC keyboard.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/errors.h"
#include "engine/hooks.h"
#include "engine/memory.h"
#include "engine/settings.h"
#include "matrix/store.h"
#include "panel/editor.h"
#include "panel/face.h"
#include "panel/images.h"
#include "panel/input_line.h"
#include "panel/key_decoder.h"
#include "panel/persist_panel.h"
#include "panel/plot_view.h"
#include "panel/shell.h"
#include "panel/subsystems.h"
#include "panel/ui.h"
#include "platform/window_headless.h"
#include "plot/analysis.h"
#include "platform/files.h"
#include "plot/model.h"
#include "programs/interpreter.h"
#include "programs/program.h"
#include "stats/stats.h"

#include <unistd.h>

namespace qx {

class CalculatorFixture : public ::testing::Test {
protected:
    void SetUp() override {
        reset_settings();
        reset_hooks();
        reset_panel_hooks();
        reset_key_decoder();
        reset_input_line();
        reset_legend_caches();
        clear_memory();
        clear_error();
        g_alpha = AlphaEntry{};
        for (int k = 0; k <= ANSWER_OBJECT; ++k) {
            clear_matrix(g_matrices[k]);
            clear_list(g_lists[k]);
        }
        reset_editor();
        clear_plot_state();
        reset_calc_settings();
        reset_plot_view();
        reset_stats();
        // Programs and their files go to a folder of this test run, never
        // to the user's own.
        set_data_dir_override(test_data_dir());
        // Every test starts as a first start would: no settings kept by the
        // test before it.
        remove_file(startup_settings_path());
        g_run = RunState{};
        reset_program(g_program);
        g_program.name[0] = '\0';
        g_program.built_in = 0;
        clear_program_input_buffers();
        prepare();
        window.set_logger([this](const std::string& line) { log.push_back(line); });
        calculator_startup(window);
    }
    void TearDown() override {
        calculator_shutdown();
        reset_panel_hooks();
        reset_hooks();
    }
    static std::string test_data_dir() {
        static const std::string dir = "/tmp/quorix-ui-tests-" + std::to_string(getpid());
        return dir;
    }
    // Hooks a test wants in place before start-up.
    virtual void prepare() {}

    void pump() {
        while (window.events_pending()) main_loop_turn();
    }
    // One stylus event (down, move or up) and what the calculator does with it.
    void stylus(EventType type, int x, int y) {
        Event e;
        e.type = type;
        e.x = x;
        e.y = y;
        window.push_event(e);
        pump();
    }
    void tap(int x, int y) {
        Event e;
        e.type = EventType::StylusDown;
        e.x = x;
        e.y = y;
        window.push_event(e);
        e.type = EventType::StylusUp;
        window.push_event(e);
        pump();
    }
    void key(int k) { tap_key_centre(window, k); }
    void keys(std::initializer_list<int> ks) {
        for (int k : ks) key(k);
    }
    void type(const std::string& text) {
        for (char c : text) {
            Event e;
            e.type = EventType::Text;
            e.text[0] = c;
            window.push_event(e);
        }
        pump();
    }
    void press(int k, int mods = 0) {
        Event e;
        e.type = EventType::KeyDown;
        e.key = k;
        e.mods = mods;
        window.push_event(e);
        pump();
    }
    std::vector<TokenCode> line() const {
        return std::vector<TokenCode>(g_input.line.tokens, g_input.line.tokens + g_input.line.count);
    }
    std::string result() const { return result_plain_text(); }
    bool logged(const std::string& part) const {
        for (const std::string& l : log)
            if (l.find(part) != std::string::npos) return true;
        return false;
    }

    HeadlessWindow window;
    std::vector<std::string> log;
};

}  // namespace qx

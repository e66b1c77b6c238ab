// Program tests run without a window: the program files live in memory,
// message boxes are recorded (and answered by a queue), the tick count is
// a variable the test sets.
#pragma once
#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "helpers.h"
#include "engine/expression_cache.h"
#include "programs/interpreter.h"
#include "programs/program.h"
#include "stats/stats.h"
#include "plot/model.h"

namespace qx::test {

struct ProgramWorld {
    std::map<std::string, std::string> files;     // custom programs by name
    std::map<std::string, std::string> outputs;   // fout files by program name
    std::vector<std::string> open_outputs;        // handle -> name ("" closed)
    std::vector<std::string> boxes;               // "TITLE: TEXT"
    std::deque<int> box_answers;                  // answers of the next boxes (default OK)
    bool fail_writes = false;
    bool fail_reads = false;      // files are there but cannot be read
    std::uint32_t ticks = 0;
};

inline ProgramWorld& world() {
    static ProgramWorld w;
    return w;
}

inline void install_program_world() {
    world() = ProgramWorld{};
    reset_program_storage();
    g_program_storage.read = [](const char* name, std::string* bytes) {
        auto it = world().files.find(name);
        if (it == world().files.end() || world().fail_reads) return false;
        *bytes = it->second;
        return true;
    };
    g_program_storage.write = [](const char* name, const std::string& bytes, std::string* error) {
        if (world().fail_writes) {
            if (error) *error = "No space left on device";
            return false;
        }
        world().files[name] = bytes;
        return true;
    };
    g_program_storage.remove = [](const char* name) { return world().files.erase(name) > 0; };
    g_program_storage.exists = [](const char* name) { return world().files.count(name) > 0; };
    g_program_storage.list = []() {
        std::vector<std::string> names;
        for (const auto& f : world().files) names.push_back(f.first);
        return names;
    };
    g_program_storage.output_open = [](const char* name) {
        world().outputs[name] = "";
        world().open_outputs.push_back(name);
        return static_cast<int>(world().open_outputs.size()) - 1;
    };
    g_program_storage.output_write = [](int handle, const char* text) {
        if (handle < 0 || handle >= static_cast<int>(world().open_outputs.size())) return false;
        const std::string& name = world().open_outputs[handle];
        if (name.empty()) return false;
        world().outputs[name] += text;
        return true;
    };
    g_program_storage.output_close = [](int handle) {
        if (handle >= 0 && handle < static_cast<int>(world().open_outputs.size()))
            world().open_outputs[handle].clear();
    };
    g_hooks.message_box = [](const char* text, const char* title, int) {
        world().boxes.push_back(std::string(title) + ": " + text);
        if (world().box_answers.empty()) return static_cast<int>(MB_ANSWER_OK);
        const int answer = world().box_answers.front();
        world().box_answers.pop_front();
        return answer;
    };
    g_hooks.tick_count = []() { return world().ticks; };
}

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override { fresh(); }
    void TearDown() override {
        fresh();
        reset_program_storage();
        reset_program_host();
    }
    static void fresh() {
        fresh_state();
        install_program_world();
        install_program_engine_hooks();
        reset_program_host();
        reset_stats();
        clear_plot_state();
        clear_expression_cache();
        clear_program_input_buffers();
        reset_program(g_program);
        g_program.name[0] = '\0';
        g_program.built_in = 0;
        g_run = RunState{};
    }
};

}  // namespace qx::test

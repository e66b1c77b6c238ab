// quorix --run: a custom or built-in program without a window, through the
// same interpreter.  Each `in` takes the next value of the command line,
// each `out` and `text` prints its line, a menu takes its choice (1, 2, ...)
// from the next value; a run error prints its message and the line.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/errors.h"
#include "engine/evaluator.h"
#include "engine/hooks.h"
#include "panel/commands.h"
#include "panel/input_line.h"
#include "panel/program_panel.h"
#include "panel/setting_words.h"
#include "platform/files.h"
#include "programs/assembler.h"
#include "programs/interpreter.h"
#include "programs/program.h"

namespace qx {

namespace {

struct Runner {
    std::vector<std::string> values;
    std::size_t next = 0;
    std::string pending;      // the result line's text, printed when the next one comes
    std::string label;        // an `out` label shown on the first line
    bool missing = false;     // a value was asked for and none was left
};
Runner g_runner;

void print_line(const std::string& text) {
    std::printf("%s\n", plain_display_text(text.c_str()).c_str());
    std::fflush(stdout);
}

void flush_pending() {
    if (g_runner.pending.empty()) return;
    if (!g_runner.label.empty()) print_line(g_runner.label + " " + g_runner.pending);
    else print_line(g_runner.pending);
    g_runner.pending.clear();
    g_runner.label.clear();
}

void show_result(const char* text) {
    if (!text || !std::strcmp(text, "Running...")) return;
    flush_pending();
    g_runner.pending = text;
}

// A label belongs to the value shown after it: what is pending went with
// the label before.
void show_upper(const char* text) {
    flush_pending();
    g_runner.label = text ? text : "";
}

// A prompt is not output: it goes to the error stream with the value taken.
void begin_input(const TokenCode*, int) {
    g_runner.pending.clear();
    g_runner.label.clear();
}

int box(const char* text, const char* title, int) {
    std::fprintf(stderr, "%s: %s\n", title ? title : "", text ? text : "");
    // A question (deleting a file) is never confirmed from here.
    return MB_ANSWER_OK;
}

int menu(const char* title, const MenuItem* items, int count) {
    if (title && *title) std::fprintf(stderr, "%s\n", title);
    for (int k = 0; k < count; ++k) std::fprintf(stderr, "  %d: %s\n", k + 1, items[k].text);
    if (g_runner.next >= g_runner.values.size()) {
        g_runner.missing = true;
        return -1;
    }
    const char* v = g_runner.values[g_runner.next++].c_str();
    char* end = nullptr;
    const long choice = std::strtol(v, &end, 10);
    if (end == v || *end || choice < 1 || choice > count) return -1;
    return static_cast<int>(choice - 1);
}

void description(const char* stored) { std::fprintf(stderr, "%s\n", decode_description(stored).c_str()); }

// A value from the command line as the keys would type it: a number
// ("-1.5e3") or the assembler's expression words ("x sq - 2").
bool value_tokens(const std::string& text, std::vector<TokenCode>* tokens) {
    char* end = nullptr;
    std::strtod(text.c_str(), &end);
    if (!text.empty() && end && *end == '\0') {
        // Typed as a number pasted into the line would be.
        TokenCode buffer[100];
        int unknown = 0;
        const int n = constant_text_tokens(text.c_str(), static_cast<int>(text.size()), buffer, 100, &unknown);
        if (n < 0 || unknown > 0) return false;
        tokens->assign(buffer, buffer + n);
        return true;
    }
    std::string error;
    return assemble_expression(text, tokens, &error);
}

// Gives a waiting program its next value; false when there is none or it
// does not read as a value.
bool feed_value() {
    if (g_runner.next >= g_runner.values.size()) {
        g_runner.missing = true;
        return false;
    }
    const std::string& text = g_runner.values[g_runner.next++];
    std::vector<TokenCode> tokens;
    if (!value_tokens(text, &tokens) || tokens.empty()) {
        std::fprintf(stderr, "quorix: \"%s\" is not a value\n", text.c_str());
        return false;
    }
    const int count = static_cast<int>(tokens.size() > 100 ? 100 : tokens.size());
    if (program_waiting_function()) {
        program_function_entered(tokens.data(), count);
        return true;
    }
    program_input_entered(tokens.data(), count);
    clear_error();
    Evaluate_Input(tokens.data(), count);
    Evaluate_Input_2();
    if (error_pending()) {
        std::fprintf(stderr, "quorix: the value \"%s\" gives %s\n", text.c_str(), error_text());
        return false;
    }
    return true;
}

void usage() {
    std::fprintf(stderr, "usage: quorix --run [--data-dir DIR] NAME [VALUE ...]\n");
}

}  // namespace

int run_program_command(int argc, char** argv) {
    std::string name;
    for (int k = 1; k < argc; ++k) {
        const std::string a = argv[k];
        if (name.empty() && a == "--data-dir" && k + 1 < argc) {
            set_data_dir_override(argv[++k]);
        } else if (name.empty() && (a == "--help" || a == "-h")) {
            usage();
            return 0;
        } else if (name.empty()) {
            name = a;
        } else {
            g_runner.values.push_back(a);
        }
    }
    if (name.empty()) {
        usage();
        return 2;
    }
    start_calculator_core();
    g_hooks.message_box = box;
    install_program_storage();
    install_program_engine_hooks();
    reset_program_host();
    g_program_host.show_result = show_result;
    g_program_host.show_upper = show_upper;
    g_program_host.begin_input = begin_input;
    g_program_host.menu_dialog = menu;
    g_program_host.description_dialog = description;

    const bool custom = custom_program_exists(name.c_str());
    if (!custom && !is_builtin_program_name(name.c_str())) {
        std::fprintf(stderr, "quorix: no program named \"%s\"\n", name.c_str());
        return 2;
    }
    const int count = load_program(name.c_str(), !custom);
    if (count <= 0) {
        std::fprintf(stderr, "quorix: the program \"%s\" %s\n", name.c_str(),
                     count < 0 ? "could not be read" : "is empty");
        return 2;
    }
    clear_program_input_buffers();
    start_program();
    while (program_running()) {
        program_step();
        if (!program_running()) break;
        if (program_paused()) resume_program();
        if (program_waiting() && !feed_value()) {
            std::fprintf(stderr, "quorix: %s (line %d) waits for a value and none is left\n",
                         g_program.name, g_run.next_line);
            // Stopped so that its fout files are closed complete; what the
            // stop shows is not the program's output.
            g_program_host.show_result = [](const char*) {};
            g_program_host.show_upper = [](const char*) {};
            stop_program_by_user();
            return 1;
        }
    }
    const bool error_end = error_pending() || g_runner.missing;
    if (error_end) {
        if (!g_runner.pending.empty()) std::fprintf(stderr, "%s\n", plain_display_text(g_runner.pending.c_str()).c_str());
        return 1;
    }
    flush_pending();
    return 0;
}

}  // namespace qx

int run_program_main(int argc, char** argv) { return qx::run_program_command(argc, argv); }

// Headless driver: evaluates token codes or key numbers through the real
// evaluator and prints the result line as the display would show it.
//
//   quorix --eval [options] [code|kNN ...]   one expression from the arguments
//   quorix --eval [options] < script         one expression per line
//
// A script line may instead be "set NAME VALUE" to change a setting.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/errors.h"
#include "engine/evaluator.h"
#include "engine/format.h"
#include "engine/hooks.h"
#include "engine/memory.h"
#include "engine/settings.h"
#include "matrix/store.h"
#include "numeric/calculus.h"
#include "panel/commands.h"
#include "panel/input_line.h"
#include "panel/key_decoder.h"
#include "panel/setting_words.h"
#include "panel/shell.h"
#include "platform/window_headless.h"
#include "plot/model.h"
#include "stats/stats.h"
#include "tools/constants.h"

using namespace qx;

namespace {

bool g_plain = false;

// Applies one setting; returns false for an unknown name or value.
bool apply_setting(const std::string& name, const std::string& value) {
    int mode = 0;
    if (!set_setting_word(name, value, &mode)) return false;
    // The driver has no face: only the modes whose arithmetic differs.
    if (name == "mode") {
        if (mode != MODE_BASE_N && mode != MODE_COMP && mode != MODE_STATS && mode != MODE_PLOT)
            return false;
        g_settings.calculator_mode = mode;
    }
    return true;
}

void print_result() {
    const char* text = error_pending() ? error_text()
                                       : format_complex_display(g_ans.re, g_ans.im, !g_plain, false);
    std::printf("%s\n", plain_display_text(text).c_str());
    std::fflush(stdout);
}

void evaluate(const std::vector<TokenCode>& tokens) {
    clear_error();
    Evaluate_Input(tokens.data(), static_cast<int>(tokens.size()));
    Evaluate_Input_2();
    print_result();
    clear_error();
}

// Key numbers go through the calculator itself, a headless one whose
// message boxes answer by themselves and are not printed.
void print_result_line() {
    std::printf("%s\n", result_plain_text().c_str());
    std::fflush(stdout);
}

// Runs the words of one expression; returns false on a word it cannot read.
bool run_words(const std::vector<std::string>& words) {
    std::vector<TokenCode> tokens;
    bool keys = false;
    for (const std::string& w : words) {
        const bool key = !w.empty() && (w[0] == 'k' || w[0] == 'K');
        const char* digits = w.c_str() + (key ? 1 : 0);
        char* end = nullptr;
        long n = std::strtol(digits, &end, 10);
        if (*digits == '\0' || *end != '\0') {
            std::fprintf(stderr, "quorix: not a token code or key number: %s\n", w.c_str());
            return false;
        }
        keys = keys || key;
        if (!key && tokens.size() >= 100) {
            std::fprintf(stderr, "quorix: more than 100 tokens\n");
            return false;
        }
        if (!key) tokens.push_back(static_cast<TokenCode>(n));
    }
    if (!keys) {
        evaluate(tokens);
        return true;
    }
    // A line of keys starts on a cleared calculator, as after AC.
    HeadlessWindow& window = silent_headless_calculator();
    clear_line();
    bool evaluated = false;
    for (const std::string& w : words) {
        const long n = std::strtol(w.c_str() + ((w[0] == 'k' || w[0] == 'K') ? 1 : 0), nullptr, 10);
        if (w[0] != 'k' && w[0] != 'K') {
            insert_token(static_cast<TokenCode>(n), true);
            evaluated = false;
            continue;
        }
        tap_key_centre(window, static_cast<int>(n));
        const bool equals = current_face() == FACE_MAIN && n == MAIN_EQUALS;
        if (equals) print_result_line();
        evaluated = equals || (evaluated && g_input.fresh);
    }
    if (!evaluated) {
        tap_key_centre(window, MAIN_EQUALS);
        print_result_line();
    }
    clear_error();
    return true;
}

void usage() {
    std::fprintf(stderr,
                 "usage: quorix --eval [--angle rad|deg|grad] [--format float|fix|sci|eng] [--digits N]\n"
                 "              [--complex real|rect|polar] [--mode comp|base|stats|plot]\n"
                 "              [--radix bin|oct|dec|hex] [--bits 8|16|32] [--mark point|comma]\n"
                 "              [--plain] [token-code | kKEY ...]\n");
}

}  // namespace

void start_calculator_core() {
    engine_startup();
    install_matrix_engine_hooks();
    install_calculus_hooks();
    install_stats_hooks();
    clear_plot_state();
    install_plot_model_hooks();
    install_unit_hooks();
}

int eval_main(int argc, char** argv) {
    start_calculator_core();
    std::vector<std::string> words;
    for (int k = 1; k < argc; ++k) {
        std::string a = argv[k];
        if (a == "--plain") {
            g_plain = true;
        } else if (a == "--help" || a == "-h") {
            usage();
            return 0;
        } else if (a.rfind("--", 0) == 0) {
            if (k + 1 >= argc || !apply_setting(a.substr(2), argv[k + 1])) {
                usage();
                return 2;
            }
            ++k;
        } else {
            words.push_back(a);
        }
    }
    if (!words.empty()) return run_words(words) ? 0 : 2;

    int status = 0;
    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream in(line);
        std::vector<std::string> w;
        for (std::string s; in >> s;) w.push_back(s);
        if (w.empty() || w[0][0] == '#') continue;
        if (w[0] == "set") {
            if (w.size() != 3 || !apply_setting(w[1], w[2])) {
                std::fprintf(stderr, "quorix: bad setting: %s\n", line.c_str());
                status = 2;
            }
            continue;
        }
        if (!run_words(w)) status = 2;
    }
    return status;
}

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
#include "panel/commands.h"
#include "panel/input_line.h"
#include "panel/key_decoder.h"
#include "panel/shell.h"
#include "platform/window_headless.h"

using namespace qx;

namespace {

bool g_plain = false;

// The display font's glyphs written as the characters they stand for.
std::string readable(const char* text) {
    std::string out;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        switch (*p) {
            case GLYPH_EXPONENT: out += 'E'; break;
            case GLYPH_IMAGINARY: out += 'i'; break;
            case GLYPH_POLAR_BASE: out += "e^"; break;
            case GLYPH_NARROW_SPACE: out += ' '; break;
            case GLYPH_NARROW_0: out += '0'; break;
            case GLYPH_NARROW_1: out += '1'; break;
            default:
                if (*p >= 0x90 && *p <= 0xAB) out += greek_spelling(62 + (*p - 0x90));
                else out += static_cast<char>(*p);
        }
    }
    return out;
}

struct Choice { const char* name; int value; };

bool pick(const Choice* choices, int n, const std::string& word, int& out) {
    for (int k = 0; k < n; ++k)
        if (word == choices[k].name) {
            out = choices[k].value;
            return true;
        }
    return false;
}

// Applies one setting; returns false for an unknown name or value.
bool apply_setting(const std::string& name, const std::string& value) {
    static const Choice angles[] = {{"rad", 0}, {"deg", 1}, {"grad", 2}};
    static const Choice formats[] = {{"float", 0}, {"fix", 1}, {"sci", 2}, {"eng", 3}};
    static const Choice complexes[] = {{"real", 0}, {"rect", 1}, {"polar", 2}};
    static const Choice radixes[] = {{"bin", 0}, {"oct", 1}, {"dec", 2}, {"hex", 3}};
    static const Choice bits[] = {{"8", 0}, {"16", 1}, {"32", 2}};
    static const Choice modes[] = {{"base", 0}, {"comp", 1}, {"stats", 2}, {"plot", 5}};
    static const Choice marks[] = {{"point", 0}, {"comma", 1}};
    Settings& s = g_settings;
    if (name == "angle") return pick(angles, 3, value, s.angle_unit);
    if (name == "format") return pick(formats, 4, value, s.number_format);
    if (name == "complex") return pick(complexes, 3, value, s.complex_format);
    if (name == "radix") return pick(radixes, 4, value, s.base_mode);
    if (name == "bits") return pick(bits, 3, value, s.base_bits);
    if (name == "mode") return pick(modes, 4, value, s.calculator_mode);
    if (name == "mark") return pick(marks, 2, value, s.decimal_mark);
    if (name == "digits") {
        char* end = nullptr;
        long d = std::strtol(value.c_str(), &end, 10);
        if (*end || d < 0 || d > 10) return false;
        s.decimal_digits = static_cast<int>(d);
        return true;
    }
    return false;
}

void print_result() {
    const char* text = error_pending() ? error_text()
                                       : format_complex_display(g_ans.re, g_ans.im, !g_plain, false);
    std::printf("%s\n", readable(text).c_str());
    std::fflush(stdout);
}

void evaluate(const std::vector<TokenCode>& tokens) {
    clear_error();
    Evaluate_Input(tokens.data(), static_cast<int>(tokens.size()));
    Evaluate_Input_2();
    print_result();
    clear_error();
}

// Key numbers go through the calculator itself: a headless calculator whose
// message boxes answer by themselves and are not printed.
HeadlessWindow& key_window() {
    static HeadlessWindow window;
    static bool started = false;
    if (!started) {
        window.set_logger([](const std::string&) {});
        calculator_startup(window);
        started = true;
    }
    return window;
}

void tap_key(HeadlessWindow& w, int key) {
    const FaceId face = current_face();
    if (key < 0 || key >= face_table(face).count) return;
    const KeyRect r = key_rect(face, key);
    Event e;
    e.type = EventType::StylusDown;
    e.x = (r.left + r.right) / 2;
    e.y = (r.top + r.bottom) / 2;
    w.push_event(e);
    e.type = EventType::StylusUp;
    w.push_event(e);
    while (w.events_pending()) main_loop_turn();
}

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
    HeadlessWindow& window = key_window();
    clear_line();
    bool evaluated = false;
    for (const std::string& w : words) {
        const long n = std::strtol(w.c_str() + ((w[0] == 'k' || w[0] == 'K') ? 1 : 0), nullptr, 10);
        if (w[0] != 'k' && w[0] != 'K') {
            insert_token(static_cast<TokenCode>(n), true);
            evaluated = false;
            continue;
        }
        tap_key(window, static_cast<int>(n));
        const bool equals = current_face() == FACE_MAIN && n == MAIN_EQUALS;
        if (equals) print_result_line();
        evaluated = equals || (evaluated && g_input.fresh);
    }
    if (!evaluated) {
        tap_key(window, MAIN_EQUALS);
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

int eval_main(int argc, char** argv) {
    engine_startup();
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

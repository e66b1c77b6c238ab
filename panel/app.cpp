// quorix [--scale N] [--data-dir DIR]         the calculator in a real window
// quorix --headless [--script FILE] [--data-dir DIR]
//                                             the whole calculator driven by a script
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/errors.h"
#include "engine/settings.h"
#include "panel/commands.h"
#include "panel/face.h"
#include "panel/input_line.h"
#include "panel/key_decoder.h"
#include "panel/setting_words.h"
#include "panel/shell.h"
#include "panel/subsystems.h"
#include "panel/ui.h"
#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/png.h"
#include "platform/window_headless.h"
#include "platform/window_sdl.h"
#include "plot/model.h"
#include "programs/listing.h"
#include "programs/program.h"

using namespace qx;

namespace {

// The program in memory as the editor lists it, one statement per line,
// the selected one marked with ">".
void print_program() {
    const Program& p = g_program;
    std::printf("program: %s%s (%d statements)\n", p.name, p.built_in ? " [built-in]" : "", p.count);
    for (int k = 0; k < p.count; ++k) {
        std::string text = statement_listing_text(p, k);
        if (p.statements[k].instruction == INS_EXPRESS) {
            int count = 0;
            const TokenCode* tokens = statement_tokens(p, p.statements[k], &count);
            Expression e{};
            for (int t = 0; t < count && t < MAX_LINE_TOKENS; ++t) e.tokens[e.count++] = tokens[t];
            text = expression_text(e);
        }
        std::printf("%c%d: %s\n", k == p.cursor ? '>' : ' ', k + 1, plain_display_text(text.c_str()).c_str());
    }
    if (p.cursor >= p.count) std::printf(">%d:\n", p.count + 1);
}

}  // namespace

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: quorix [--scale N] [--data-dir DIR]\n"
                 "       quorix --headless [--script FILE] [--data-dir DIR]\n"
                 "       quorix --eval ...      (see quorix --eval --help)\n"
                 "       quorix --render | --render-all | --face | --show ...\n");
    return 2;
}

// Words of a script line; double quotes keep blanks inside one word.
std::vector<std::string> split_words(const std::string& line) {
    std::vector<std::string> words;
    std::string word;
    bool quoted = false, any = false;
    for (char c : line) {
        if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if (!quoted && (c == ' ' || c == '\t')) {
            if (any) words.push_back(word);
            word.clear();
            any = false;
        } else {
            word += c;
            any = true;
        }
    }
    if (any) words.push_back(word);
    return words;
}

const char* mode_name(int mode) {
    static const char* const kNames[] = {"BASE-n", "COMP", "STATS", "PROG", "periodic table",
                                         "PLOT", "MATRIX", "LIST"};
    return mode >= 0 && mode <= 7 ? kNames[mode] : "unknown";
}

bool number(const std::string& word, long lo, long hi, int& out) {
    char* end = nullptr;
    const long v = std::strtol(word.c_str(), &end, 0);
    if (word.empty() || *end || v < lo || v > hi) return false;
    out = static_cast<int>(v);
    return true;
}

bool apply_setting(const std::string& name, const std::string& value) {
    int mode = -1;
    if (!set_setting_word(name, value, &mode)) return false;
    if (mode >= 0) enter_mode(mode);
    else paint_face();
    return true;
}

struct PressName { const char* name; int key; int mods; };
const PressName kPresses[] = {
    {"Return", KEY_RETURN, 0}, {"BackSpace", KEY_BACKSPACE, 0}, {"Delete", KEY_DELETE, 0},
    {"Escape", KEY_ESCAPE, 0}, {"Left", KEY_LEFT, 0}, {"Right", KEY_RIGHT, 0},
    {"Up", KEY_UP, 0}, {"Down", KEY_DOWN, 0}, {"Home", KEY_HOME, 0}, {"End", KEY_END, 0},
    {"F1", KEY_F1, 0}, {"F12", KEY_F12, 0}, {"ctrl+c", KEY_LETTER_C, MOD_CTRL},
    {"ctrl+v", KEY_LETTER_V, MOD_CTRL},
};

class Script {
public:
    explicit Script(HeadlessWindow& w) : w_(w) {}

    // Handles all the input queued so far, as the main loop would.
    void pump() {
        int guard = 0;
        while (w_.events_pending() && guard++ < 100000 && !ui().quit) main_loop_turn();
    }

    bool run_line(const std::string& raw) {
        std::vector<std::string> w = split_words(raw);
        if (w.empty() || w[0][0] == '#') return true;
        const std::string& c = w[0];
        Event e;
        if ((c == "tap" || c == "down" || c == "move") && w.size() == 3) {
            int x = 0, y = 0;
            if (!number(w[1], -10000, 10000, x) || !number(w[2], -10000, 10000, y)) return false;
            e.x = x;
            e.y = y;
            last_x_ = x;
            last_y_ = y;
            if (c == "move") {
                e.type = EventType::StylusMove;
                w_.push_event(e);
            } else {
                e.type = EventType::StylusDown;
                w_.push_event(e);
                if (c == "tap") up();
            }
            pump();
            return true;
        }
        if (c == "up" && w.size() == 1) {
            up();
            pump();
            return true;
        }
        if (c == "key" && w.size() == 2) {
            int key = 0;
            if (!number(w[1], 0, 200, key)) return false;
            const FaceId face = current_face();
            if (key >= face_table(face).count) return false;
            const KeyRect r = key_rect(face, key);
            return run_line("tap " + std::to_string((r.left + r.right) / 2) + " " +
                            std::to_string((r.top + r.bottom) / 2));
        }
        if (c == "type" && w.size() >= 2) {
            const std::size_t at = raw.find("type") + 5;
            for (char ch : raw.substr(std::min(at, raw.size()))) {
                e.type = EventType::Text;
                e.text[0] = ch;
                e.text[1] = '\0';
                w_.push_event(e);
            }
            pump();
            return true;
        }
        if (c == "press" && w.size() == 2) {
            for (const PressName& p : kPresses) {
                if (w[1] != p.name) continue;
                e.type = EventType::KeyDown;
                e.key = p.key;
                e.mods = p.mods;
                w_.push_event(e);
                pump();
                return true;
            }
            return false;
        }
        if (c == "answer" && w.size() >= 2) {
            ScriptedAnswer a;
            a.button = w[1];
            for (std::size_t k = 2; k < w.size(); ++k) {
                const std::size_t eq = w[k].find('=');
                if (eq == std::string::npos) return false;
                a.fields.emplace_back(w[k].substr(0, eq), w[k].substr(eq + 1));
            }
            a.wait_ms = answer_wait_;
            answer_wait_ = 0;
            if (!dialog_shot_.empty()) {
                const std::string file = dialog_shot_;
                const int scale = dialog_shot_scale_;
                a.on_shown = [file, scale](const Surface& frame) {
                    std::string error;
                    if (!write_png(frame, file, scale, &error))
                        std::fprintf(stderr, "quorix: %s\n", error.c_str());
                };
                dialog_shot_.clear();
            }
            w_.push_answer(a);
            return true;
        }
        // The next answer's dialog is pictured as the answer leaves it.
        if (c == "dialogshot" && (w.size() == 2 || w.size() == 3)) {
            dialog_shot_scale_ = 1;
            if (w.size() == 3 && !number(w[2], 1, 8, dialog_shot_scale_)) return false;
            dialog_shot_ = w[1];
            return true;
        }
        // The next answer is given that many milliseconds after the dialog
        // showed (or after the answer before it, in a dialog that stays open).
        if (c == "after" && w.size() == 2) {
            int ms = 0;
            if (!number(w[1], 0, 86400000, ms)) return false;
            answer_wait_ = static_cast<std::uint32_t>(ms);
            return true;
        }
        if (c == "idle" && w.size() <= 2) {
            int ms = -1;
            if (w.size() == 2 && !number(w[1], 0, 86400000, ms)) return false;
            idle(ms);
            return true;
        }
        if (c == "shot" && (w.size() == 2 || w.size() == 3)) {
            int scale = 1;
            if (w.size() == 3 && !number(w[2], 1, 8, scale)) return false;
            std::string error;
            if (!write_png(w_.frame(), w[1], scale, &error)) {
                std::fprintf(stderr, "quorix: %s\n", error.c_str());
                return false;
            }
            return true;
        }
        if (c == "print" && w.size() == 2) {
            if (w[1] == "display") {
                const std::string input = g_alpha.shown ? std::string(g_alpha.text) : expression_text(g_input.line);
                std::printf("input: %s\nresult: %s\n", plain_display_text(input.c_str()).c_str(),
                            result_plain_text().c_str());
            } else if (w[1] == "title") {
                std::printf("title: %s\n", w_.title().c_str());
            } else if (w[1] == "mode") {
                std::printf("mode: %s\n", mode_name(g_settings.calculator_mode));
            } else if (w[1] == "program") {
                print_program();
            } else if (w[1] == "window") {
                std::printf("window: %.11g %.11g %.11g %.11g\n", g_plot.xmin, g_plot.xmax, g_plot.ymin,
                            g_plot.ymax);
            } else {
                return false;
            }
            std::fflush(stdout);
            return true;
        }
        if (c == "set" && w.size() == 3) return apply_setting(w[1], w[2]);
        return false;
    }

private:
    std::string dialog_shot_;
    int dialog_shot_scale_ = 1;
    std::uint32_t answer_wait_ = 0;

    void up() {
        Event e;
        e.type = EventType::StylusUp;
        e.x = last_x_;
        e.y = last_y_;
        w_.push_event(e);
    }

    // Virtual time passes in the main loop's own turns: program steps while
    // a program runs, 20 ms sleeps otherwise.
    void idle(int ms) {
        const std::uint32_t start = w_.ticks_ms();
        int turns = 0;
        for (;;) {
            if (ms >= 0 && static_cast<int>(w_.ticks_ms() - start) >= ms) break;
            if (ms < 0 && !(g_panel.program_running() && !g_panel.program_waiting_input() &&
                            !g_panel.program_paused()))
                break;
            // A program that never ends is stopped by the turn bound.
            if (++turns > 1000000) break;
            main_loop_turn();
            if (g_panel.program_running()) w_.advance(1);
        }
    }

    HeadlessWindow& w_;
    int last_x_ = 0, last_y_ = 0;
};

int run_headless(const std::string& script_path) {
    HeadlessWindow window;
    calculator_startup(window);
    Script script(window);
    std::ifstream file;
    std::istream* in = &std::cin;
    if (!script_path.empty()) {
        file.open(script_path);
        if (!file) {
            std::fprintf(stderr, "quorix: cannot read %s\n", script_path.c_str());
            calculator_shutdown();
            return 2;
        }
        in = &file;
    }
    int status = 0;
    std::string line;
    int number_of_line = 0;
    while (!ui().quit && std::getline(*in, line)) {
        ++number_of_line;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!script.run_line(line)) {
            std::fprintf(stderr, "quorix: script line %d not understood: %s\n", number_of_line,
                         line.c_str());
            status = 2;
        }
    }
    calculator_shutdown();
    return status;
}

int run_window(int scale) {
    std::string error;
    const std::string settings = user_folder(UserFolder::Settings, &error);
    SingleInstance instance;
    if (!settings.empty() && !instance.acquire(settings)) return 255;   // the first one came forward
    auto window = create_sdl_window("Quorix", scale, &error);
    if (!window) {
        std::fprintf(stderr, "quorix: cannot open the calculator's window: %s\n", error.c_str());
        return 1;
    }
    calculator_startup(*window);
    while (!ui().quit) {
        main_loop_turn();
        if (instance.raise_requested()) window->raise();
    }
    calculator_shutdown();
    return 0;
}

}  // namespace

int app_main(int argc, char** argv) {
    bool headless = false;
    std::string script, data_dir;
    int scale = 0;
    for (int k = 1; k < argc; ++k) {
        std::string a = argv[k];
        if (a == "--headless") headless = true;
        else if (a == "--script" && k + 1 < argc) script = argv[++k];
        else if (a == "--data-dir" && k + 1 < argc) data_dir = argv[++k];
        else if (a == "--scale" && k + 1 < argc) {
            if (!number(argv[++k], 1, 8, scale)) return usage();
        } else {
            return usage();
        }
    }
    if (!data_dir.empty()) set_data_dir_override(data_dir);
    return headless ? run_headless(script) : run_window(scale);
}

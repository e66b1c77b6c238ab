#include "panel/persist_panel.h"

#include <algorithm>
#include <cstring>

#include "dialogs/sample_chooser.h"
#include "dialogs/setup.h"
#include "engine/errors.h"
#include "engine/expression_cache.h"
#include "engine/settings.h"
#include "panel/editor.h"
#include "panel/face.h"
#include "panel/input_line.h"
#include "panel/key_decoder.h"
#include "panel/subsystems.h"
#include "panel/ui.h"
#include "persist/startup_settings.h"
#include "persist/state.h"
#include "platform/files.h"

namespace qx {

namespace {

constexpr const char* kStartupFile = "startup.conf";
constexpr std::size_t kStartupLimit = 64 * 1024;
// Longer paths are refused rather than cut: a cut path names another file.
constexpr std::size_t kPathLimit = 259;
constexpr const char* kExtension = ".state";

// --- the panel's part of the state ---------------------------------------------

void capture_panel(PanelState& out) {
    const InputLine& in = g_input;
    out.line_count = state_token_count(in.line.count);
    std::memcpy(out.line, in.line.tokens, sizeof(TokenCode) * static_cast<std::size_t>(out.line_count));
    out.cursor = std::clamp(in.cursor, 0, out.line_count);
    out.cursor_shown = in.cursor_shown;
    out.fresh = in.fresh;
    out.no_auto_answer = in.no_auto_answer;
    out.answer_matrix = in.answer_matrix;
    out.answer_list = in.answer_list;
    out.history_count = std::clamp(g_history_count, 0, STATE_HISTORY);
    for (int k = 0; k < STATE_HISTORY; ++k) {
        const int n = k < out.history_count ? state_token_count(g_history[k].count) : 0;
        out.history_counts[k] = n;
        std::memcpy(out.history[k], g_history[k].tokens, sizeof(TokenCode) * static_cast<std::size_t>(n));
    }
    copy_bounded(out.result_text, g_result.text, sizeof out.result_text);
    out.result_empty = g_result.empty;
    out.result_shown = g_result.shown;
    out.result_re = g_result.value_re;
    out.result_im = g_result.value_im;
    out.matrix_selected = std::clamp(g_editor.matrix, 0, EDITOR_ANSWER);
    out.list_selected = std::clamp(g_editor.list, 0, EDITOR_ANSWER);
}

void apply_panel(const PanelState& s) {
    InputLine& in = g_input;
    in.line.count = state_token_count(s.line_count);
    std::memcpy(in.line.tokens, s.line, sizeof(TokenCode) * static_cast<std::size_t>(in.line.count));
    in.cursor = std::clamp(s.cursor, 0, in.line.count);
    in.cursor_shown = s.cursor_shown;
    in.fresh = s.fresh;
    in.no_auto_answer = s.no_auto_answer;
    in.answer_matrix = s.answer_matrix;
    in.answer_list = s.answer_list;
    in.drawn_count = 0;
    g_history_count = std::clamp(s.history_count, 0, STATE_HISTORY);
    for (int k = 0; k < STATE_HISTORY; ++k) {
        const int n = k < g_history_count ? state_token_count(s.history_counts[k]) : 0;
        g_history[k].count = n;
        std::memcpy(g_history[k].tokens, s.history[k], sizeof(TokenCode) * static_cast<std::size_t>(n));
    }
    copy_bounded(g_result.text, s.result_text, sizeof g_result.text);
    g_result.scroll = 0;
    g_result.more_right = false;
    g_result.empty = s.result_empty;
    g_result.shown = s.result_shown;
    g_result.value_re = s.result_re;
    g_result.value_im = s.result_im;
    g_editor.matrix = std::clamp(s.matrix_selected, 0, EDITOR_ANSWER);
    g_editor.list = std::clamp(s.list_selected, 0, EDITOR_ANSWER);
}

// --- messages ------------------------------------------------------------------------

void tell(const std::string& text, const std::string& title) {
    show_box(text, title, BoxButtons::OK, BoxIcon::Warning);
}

std::string state_folder() { return user_subfolder(UserFolder::Data, "states"); }

// A path the limit cannot hold is refused with the action named: cutting
// it would name another file.
bool path_fits(const std::string& path, const std::string& title, const char* nothing_done) {
    if (path.size() <= kPathLimit) return true;
    tell(std::string("The path is too long for a state file (at most ") + std::to_string(kPathLimit) +
             " characters). " +
             nothing_done,
         title);
    return false;
}

bool ends_with(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// After a load: the mode the file gave is entered as a key would enter it,
// and everything on the face is drawn again from the new state.
void show_loaded_state(int mode_before) {
    int mode = g_settings.calculator_mode;
    // The program editor opens only through its manager, with a program.
    if (mode == MODE_PROG && mode_before != MODE_PROG) mode = MODE_COMP;
    if (mode_before == MODE_PROG && mode != MODE_PROG) g_panel.program_save_edited();
    g_settings.calculator_mode = mode_before;
    clear_expression_cache();
    g_panel.plot_mark_redraw();
    if (mode == mode_before) {
        g_panel.window_title_refresh();
        paint_face();
    } else {
        enter_mode(mode);
    }
    show_last_result(true);
}

// --- Setup Options ---------------------------------------------------------------

void save_action() { save_state_dialog(); }
bool load_action() { return load_state_dialog(); }

int setup_dialog() {
    const SetupActions actions{save_action, load_action, open_help};
    const int end = setup_options_dialog(actions);
    if (end == SETUP_OK) {
        // The new format, digits and mark show on the answer at once.
        g_panel.plot_mark_redraw();
        show_last_result(true);
    }
    return end;
}

void samples_dialog() {
    const int index = select_sample_plot_dialog();
    if (index < 0) {
        paint_face();
        return;
    }
    show_sample_plot(index);
}

// --- start-up settings -------------------------------------------------------------

void read_startup_settings() {
    std::string text;
    const std::string path = startup_settings_path();
    // A missing or unreadable file leaves the defaults, as on a first start.
    if (path.empty() || !read_file(path, text, kStartupLimit)) text.clear();
    bool plot_mode = false;
    read_startup_text(text, g_settings, &plot_mode);
    if (plot_mode) g_panel.plot_mark_redraw();
}

void write_startup_settings() {
    std::string error;
    const std::string path = startup_settings_path();
    if (!path.empty() && replace_file(path, write_startup_text(g_settings), &error)) return;
    if (path.empty()) error = "the settings folder cannot be made";
    tell("The start-up settings could not be saved (" + error + "). The previous settings file is unchanged.",
         "Settings");
}

}  // namespace

std::string startup_settings_path() {
    const std::string folder = user_folder(UserFolder::Settings);
    return folder.empty() ? std::string() : join_path(folder, kStartupFile);
}

bool save_state_file(const std::string& chosen) {
    std::string path = chosen;
    if (!ends_with(path, kExtension)) path += kExtension;
    if (!path_fits(path, "Save State", "Nothing was saved.")) return false;
    std::string error;
    if (!replace_file(path, save_state_text(), &error)) {
        tell("The state could not be saved (" + error + "). The previous file is unchanged.", "Save State");
        return false;
    }
    return true;
}

bool load_state_file(const std::string& path) {
    if (!path_fits(path, "Load State", "Nothing was loaded.")) return false;
    std::string text, error;
    if (!read_file(path, text, STATE_FILE_LIMIT, &error)) {
        tell("The state file could not be read (" + error + "). Nothing was changed.", "Load State");
        return false;
    }
    const int mode_before = g_settings.calculator_mode;
    const LoadReport r = load_state_text(text);
    if (!r.accepted) {
        tell("The state was not loaded: " + r.problem + " Nothing was changed.", "Load State");
        return false;
    }
    show_loaded_state(mode_before);
    if (r.ignored > 0) {
        tell(std::to_string(r.ignored) + (r.ignored == 1 ? " line" : " lines") +
                 " of the state file could not be used and " + (r.ignored == 1 ? "was" : "were") +
                 " skipped (the first is line " + std::to_string(r.first_ignored_line) + ").",
             "Load State");
    }
    return true;
}

bool save_state_dialog() {
    if (!ui().window) return false;
    std::string path;
    if (!choose_file(*ui().window, ui().screen, "Save State", state_folder(), "*.state", true, path))
        return false;
    return save_state_file(path);
}

bool load_state_dialog() {
    if (!ui().window) return false;
    std::string path;
    if (!choose_file(*ui().window, ui().screen, "Load State", state_folder(), "*.state", false, path))
        return false;
    return load_state_file(path);
}

void show_sample_plot(int index) {
    const char* name = sample_plot_name(index);
    if (!name || !load_sample_plot(name)) return;
    clear_expression_cache();
    g_panel.plot_mark_redraw();
    // Entered from COMP, as a tap on the PLOT button would (which paints).
    g_settings.calculator_mode = MODE_COMP;
    enter_mode(MODE_PLOT);
}

void install_persist_hooks() {
    g_state_host.capture_panel = capture_panel;
    g_state_host.apply_panel = apply_panel;
    PanelHooks& h = g_panel;
    h.setup_dialog = setup_dialog;
    h.plot_samples_dialog = samples_dialog;
    h.read_startup_settings = read_startup_settings;
    h.write_startup_settings = write_startup_settings;
}

}  // namespace qx

#include "panel/program_panel.h"

#include <cstdio>

#include "engine/errors.h"
#include "engine/evaluator.h"
#include "engine/settings.h"
#include "panel/face.h"
#include "panel/input_line.h"
#include "panel/key_decoder.h"
#include "panel/program_editor.h"
#include "panel/subsystems.h"
#include "panel/ui.h"
#include "platform/files.h"
#include "programs/interpreter.h"
#include "programs/program.h"

namespace qx {

namespace {

constexpr const char* kProgramExtension = ".prgm";
constexpr const char* kOutputExtension = ".txt";

std::string file_of(const char* name, const char* extension, std::string* error = nullptr) {
    const std::string folder = program_folder(error);
    if (folder.empty()) return {};
    return join_path(folder, std::string(name) + extension);
}

// --- storage -----------------------------------------------------------------------

bool storage_read(const char* name, std::string* bytes) {
    const std::string path = file_of(name, kProgramExtension);
    return !path.empty() && read_file(path, *bytes, MAX_PROGRAM_FILE_BYTES);
}

bool storage_write(const char* name, const std::string& bytes, std::string* error) {
    const std::string path = file_of(name, kProgramExtension, error);
    return !path.empty() && replace_file(path, bytes, error);
}

bool storage_remove(const char* name) {
    const std::string path = file_of(name, kProgramExtension);
    return !path.empty() && remove_file(path);
}

bool storage_exists(const char* name) {
    const std::string path = file_of(name, kProgramExtension);
    return !path.empty() && file_exists(path);
}

std::vector<std::string> storage_list() {
    std::vector<std::string> names;
    const std::string folder = program_folder();
    if (folder.empty()) return names;
    for (const std::string& file : list_folder(folder, std::string("*") + kProgramExtension)) {
        // The name is the file name up to its first ".".
        const std::string name = file.substr(0, file.find('.'));
        if (!name.empty() && (names.empty() || names.back() != name)) names.push_back(name);
    }
    return names;
}

// fout files stay open for the run; the interpreter closes them at its end.
std::FILE* g_outputs[100];

int output_open(const char* name) {
    const std::string path = file_of(name, kOutputExtension);
    if (path.empty()) return -1;
    for (int k = 0; k < 100; ++k) {
        if (g_outputs[k]) continue;
        g_outputs[k] = std::fopen(path.c_str(), "wb");
        return g_outputs[k] ? k : -1;
    }
    return -1;
}

bool output_write(int handle, const char* text) {
    if (handle < 0 || handle >= 100 || !g_outputs[handle]) return false;
    return std::fputs(text, g_outputs[handle]) >= 0;
}

void output_close(int handle) {
    if (handle < 0 || handle >= 100 || !g_outputs[handle]) return;
    if (std::fclose(g_outputs[handle]) != 0)
        show_box("The output file of the program could not be written completely.", "Error");
    g_outputs[handle] = nullptr;
}

// --- the interpreter's host ---------------------------------------------------------

void host_run_started() {
    save_line();
    if (ui().window) ui().window->set_title(g_program.name);
    paint_face();
}

// The interpreter clears a "Running..." still shown after this.
void host_run_ended(bool with_error) {
    if (!with_error) restore_line(false);
    g_panel.window_title_refresh();
    paint_face();
}

void host_show_result(const char* text) { set_result_text(text, true); }

void host_show_upper(const char*) { redraw_lines(); }

void host_begin_input(const TokenCode* tokens, int count) { set_line_tokens(tokens, count); }

void host_stats_list() { g_panel.stats_list_dialog(); }

void host_title() { g_panel.window_title_refresh(); }

// --- panel hooks ----------------------------------------------------------------------

bool start_edited() {
    if (g_program.count <= 0) return false;
    save_program();
    clear_program_input_buffers();
    start_program();
    return true;
}

void run_dialog() {
    if (program_run_dialog()) start_program();
}

// While the program waits for a value the user types on the first line.
const char* output_line() {
    return g_run.upper_shown && !program_waiting() ? g_run.upper_text : nullptr;
}

// What a finished program showed stays until the next key.
void output_dismiss() {
    if (!program_running()) g_run.upper_shown = false;
}
const char* name() { return g_program.name; }
bool built_in() { return g_program.built_in != 0; }
void save_edited() { save_program(); }

}  // namespace

std::string program_folder(std::string* error) {
    return user_folder(UserFolder::Programs, error);
}

void install_program_storage() {
    reset_program_storage();
    g_program_storage.read = storage_read;
    g_program_storage.write = storage_write;
    g_program_storage.remove = storage_remove;
    g_program_storage.exists = storage_exists;
    g_program_storage.list = storage_list;
    g_program_storage.output_open = output_open;
    g_program_storage.output_write = output_write;
    g_program_storage.output_close = output_close;
}

void install_program_panel_hooks() {
    install_program_storage();
    install_program_engine_hooks();
    reset_program_host();
    g_program_host.run_started = host_run_started;
    g_program_host.run_ended = host_run_ended;
    g_program_host.show_result = host_show_result;
    g_program_host.show_upper = host_show_upper;
    g_program_host.begin_input = host_begin_input;
    g_program_host.after_evaluation = sync_answer_kind;
    g_program_host.redraw_face = paint_face;
    g_program_host.set_mode = enter_mode;
    g_program_host.settings_changed = paint_face;
    g_program_host.menu_dialog = program_menu_dialog;
    g_program_host.description_dialog = program_description_viewer;
    g_program_host.stats_list_dialog = host_stats_list;
    g_program_host.title_refresh = host_title;

    PanelHooks& h = g_panel;
    h.program_running = program_running;
    h.program_waiting_input = program_waiting;
    h.program_waiting_function = program_waiting_function;
    h.program_paused = program_paused;
    h.program_resume = resume_program;
    h.program_step = program_step;
    h.program_stop = stop_program_by_user;
    h.program_start_edited = start_edited;
    h.program_run_dialog = run_dialog;
    h.program_select_dialog = program_manager_dialog;
    h.program_function_input = program_function_entered;
    h.program_copy_input = program_input_entered;
    h.program_output_line = output_line;
    h.program_output_dismiss = output_dismiss;
    h.program_name = name;
    h.program_is_built_in = built_in;
    h.program_save_edited = save_edited;
    h.program_key = program_face_statement_key;
    h.program_insert_statement = insert_program_statement;
    h.program_listing_paint = paint_program_listing;
    h.program_listing_tap = program_listing_tap;
    h.program_name_exists = custom_program_exists;
    h.program_create = program_create;
    h.program_copy = program_copy;
    h.program_text_statement = program_text_statement;
}

}  // namespace qx

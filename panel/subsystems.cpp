#include "panel/subsystems.h"

#include "panel/ui.h"

namespace qx {

PanelHooks g_panel;

namespace {

bool no() { return false; }
void nothing() {}
const char* no_text() { return nullptr; }
const char* no_name() { return ""; }
void no_tokens(const TokenCode*, int) {}
bool no_store(const TokenCode*, int) { return false; }
int no_program_key(int, bool) { return -2; }
void no_code(int) {}
void no_paint(Surface&) {}
bool no_tap(int, int) { return false; }
bool no_program(const char*) { return false; }
void no_program_action(const char*) {}
void no_text_statement(int, const char*) {}
void no_value(double, double) {}
int zero() { return 0; }
int cancelled() { return 2; }
int no_editor_key(int) { return -1; }
bool no_value_text(int, char*, int) { return false; }
void no_plot_paint(Surface&, bool) {}
void no_drag(int, int, int, int) {}
bool no_lock(int) { return false; }
bool no_constant(char*, int, bool*) { return false; }
int no_conversion() { return -1; }
void no_element(int) {}
void no_constant_add(const char*, const char*) {}
// Until a mode's owner says more, the window carries the calculator's name.
void plain_title() {
    if (ui().window) ui().window->set_title("Quorix");
}

}  // namespace

void reset_panel_hooks() {
    PanelHooks& h = g_panel;
    h.program_running = no;
    h.program_waiting_input = no;
    h.program_waiting_function = no;
    h.program_paused = no;
    h.program_resume = nothing;
    h.program_step = nothing;
    h.program_stop = nothing;
    h.program_start_edited = no;
    h.program_run_dialog = nothing;
    h.program_select_dialog = nothing;
    h.program_function_input = no_tokens;
    h.program_copy_input = no_tokens;
    h.program_output_line = no_text;
    h.program_output_dismiss = nothing;
    h.program_name = no_name;
    h.program_is_built_in = no;
    h.program_save_edited = nothing;
    h.program_key = no_program_key;
    h.program_insert_statement = no_code;
    h.program_listing_paint = no_paint;
    h.program_listing_tap = no_tap;
    h.program_name_exists = no_program;
    h.program_create = no_program_action;
    h.program_copy = no_program_action;
    h.program_text_statement = no_text_statement;
    h.stats_add_point = no_value;
    h.stats_remove_last = nothing;
    h.stats_clear = nothing;
    h.stats_count = zero;
    h.stats_kind_changed = nothing;
    h.stats_list_dialog = nothing;
    h.stats_summary_dialog = nothing;
    h.stats_plot_dialog = nothing;
    h.window_title_refresh = plain_title;
    h.editor_paint = no_paint;
    h.editor_key = no_editor_key;
    h.editor_enter_value = no_value;
    h.clear_matrices = nothing;
    h.clear_answer_objects = nothing;
    h.matrix_value_text = no_value_text;
    h.plot_paint = no_plot_paint;
    h.plot_key = no_code;
    h.plot_trace_tap = no_tap;
    h.plot_drag = no_drag;
    h.plot_release = no_drag;
    h.plot_has_functions = no;
    h.plot_store_function = no_store;
    h.plot_type = zero;
    h.plot_tool = zero;
    h.plot_lock = no_lock;
    h.plot_functions_dialog = nothing;
    h.plot_mark_redraw = nothing;
    h.plot_samples_dialog = nothing;
    h.tvm_dialog = nothing;
    h.constant_dialog = no_constant;
    h.conversion_dialog = no_conversion;
    h.user_constant_add = no_constant_add;
    h.element_dialog = no_element;
    h.element_table_dialog = nothing;
    h.stopwatch_dialog = nothing;
    h.setup_dialog = cancelled;
    h.edit_constants_dialog = nothing;
    h.load_constants = nothing;
    h.plot_set_defaults = nothing;
    h.read_startup_settings = nothing;
    h.write_startup_settings = nothing;
}

namespace {
struct Init {
    Init() { reset_panel_hooks(); }
} g_init;
}  // namespace

}  // namespace qx

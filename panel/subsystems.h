// What the front panel asks of the subsystems built after it: programs,
// statistics, matrices and lists, plotting, the tools and the settings
// store.  Every entry has a default that does nothing visible (or answers
// "nothing there"), so the calculator works before its owner is built; the
// owner fills its entries at start-up.
#pragma once
#include "engine/tokens.h"
#include "platform/surface.h"

namespace qx {

struct PanelHooks {
    // --- programs --------------------------------------------------------
    bool (*program_running)();
    bool (*program_waiting_input)();        // waiting for a value or a function
    bool (*program_waiting_function)();     // waiting for an expression kept as tokens
    bool (*program_paused)();               // paused after output: the next tap resumes
    void (*program_resume)();               // clears the paused state
    void (*program_step)();                 // up to 20 statements (idle branch)
    void (*program_stop)();                 // Run/Stop while running
    bool (*program_start_edited)();         // PROG mode Run: false when the program is empty
    void (*program_run_dialog)();           // "Select Program to Run"
    void (*program_select_dialog)();        // PROG mode button: "Select Program"
    void (*program_function_input)(const TokenCode* tokens, int count);
    void (*program_copy_input)(const TokenCode* tokens, int count);
    const char* (*program_output_line)();   // text a program shows on line 1, or nullptr
    void (*program_output_dismiss)();       // a key after the run: line 1 shows the input line again
    const char* (*program_name)();          // the program being edited
    bool (*program_is_built_in)();
    void (*program_save_edited)();
    int (*program_key)(int key, bool blue);  // keys 2..17 of the program face: a statement code,
                                             // -1 or -2 as the key decoder's results
    void (*program_insert_statement)(int code);
    void (*program_listing_paint)(Surface& s);
    bool (*program_listing_tap)(int x, int y);
    bool (*program_name_exists)(const char* name);
    void (*program_create)(const char* name);             // alpha entry kind 0
    void (*program_copy)(const char* name);               // alpha entry kind 1
    void (*program_text_statement)(int kind, const char* text);  // alpha kinds 2..7

    // --- statistics -------------------------------------------------------
    void (*stats_add_point)(double re, double im);
    void (*stats_remove_last)();
    void (*stats_clear)();
    int (*stats_count)();
    void (*stats_kind_changed)();           // one / two variables switched
    void (*stats_list_dialog)();
    void (*stats_summary_dialog)();
    void (*stats_plot_dialog)();
    void (*window_title_refresh)();         // the name with the data count or the selected object

    // --- matrices and lists -----------------------------------------------
    void (*editor_paint)(Surface& s);       // the MATRIX / LIST face below the display
    int (*editor_key)(int key);             // keys 8..18 and 21..71 of the editor face
    void (*editor_enter_value)(double re, double im);
    void (*clear_matrices)();               // M Clr empties the matrices A..J
    void (*clear_answer_objects)();         // AC empties M_Ans and L_Ans
    bool (*matrix_value_text)(int index, char* text, int size);   // "By Value?" of a matrix

    // --- plotting ---------------------------------------------------------
    void (*plot_paint)(Surface& s, bool full_redraw);
    void (*plot_key)(int key);              // keys of the plot faces
    bool (*plot_trace_tap)(int x, int y);
    void (*plot_drag)(int x, int y, int origin_x, int origin_y);
    void (*plot_release)(int last_x, int last_y, int origin_x, int origin_y);
    bool (*plot_has_functions)();           // any slot of the current plot type defined
    bool (*plot_store_function)(const TokenCode* tokens, int count);  // false: all slots full
    int (*plot_type)();                     // 0 function, 1 polar, 2 parametric, 3 3-D
    int (*plot_tool)();                     // 0 trace, 1 box zoom, 2 pan, 3 rotate
    bool (*plot_lock)(int axis);            // 0 x, 1 y
    void (*plot_functions_dialog)();
    void (*plot_mark_redraw)();
    void (*plot_samples_dialog)();

    // --- tools --------------------------------------------------------------
    void (*tvm_dialog)();
    bool (*constant_dialog)(char* value_text, int size, bool* elements);   // "Select Constant"
    int (*conversion_dialog)();             // "Select Conversion": token or -1
    void (*user_constant_add)(const char* name, const char* unit);   // after the alpha entry
    void (*element_dialog)(int element);    // "Element Information"; may insert a value
    void (*element_table_dialog)();
    void (*stopwatch_dialog)();
    int (*setup_dialog)();                  // "Setup Options": how it ended (1 OK, 2 Cancel,
                                            // 5 Edit Constants, 7 Load State)
    void (*edit_constants_dialog)();        // after Setup Options ended with "Edit Constants"
    void (*load_constants)();
    void (*plot_set_defaults)();
    void (*read_startup_settings)();
    void (*write_startup_settings)();
};

extern PanelHooks g_panel;
void reset_panel_hooks();

}  // namespace qx

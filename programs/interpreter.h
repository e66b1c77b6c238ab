// Runs the current program a few statements at a time: the main loop calls
// program_step whenever it is idle, so the window keeps answering while a
// program runs, waits for input, pauses after output or shows a menu.
#pragma once
#include <cstdint>

#include "engine/tokens.h"
#include "programs/program.h"

namespace qx {

constexpr int STEP_STATEMENTS = 20;
constexpr int MAX_BLOCKS = 100;
constexpr int MAX_CALLS = 100;
constexpr int MAX_GOSUBS = 100;
constexpr int MAX_MENU_ITEMS = 100;
constexpr int MAX_OUTPUT_FILES = 100;
constexpr int FUNCTION_TOKEN_LIMIT = 100;

enum BlockKind { BLOCK_WHILE = 0, BLOCK_IF = 1, BLOCK_LOOP = 2 };

struct Block {
    int kind;
    int start;
    int after_end;        // the statement after the matching end
    int after_else;       // the statement after the matching else, or -1
    double limit;         // loop
};

struct CallFrame {
    int block_depth;
    int gosub_depth;
    int call_line;
    char caller[PROGRAM_NAME_SIZE];
    bool caller_built_in;
};

struct MenuItem {
    char text[STATEMENT_TEXT_SIZE];
    int label;
};

struct RunState {
    bool running;
    int next_line;
    bool paused;
    bool waiting;
    bool waiting_function;
    int input_variable;
    int input_function;
    std::uint32_t tick_base;
    int last_line;                 // the statement run last (for errors)

    Block blocks[MAX_BLOCKS];
    int block_depth;
    CallFrame calls[MAX_CALLS];
    int call_depth;
    int gosubs[MAX_GOSUBS];
    int gosub_depth;

    char menu_title[120];
    MenuItem menu[MAX_MENU_ITEMS];
    int menu_count;

    char upper_text[120];          // what the program shows on the first line ("" none)
    bool upper_shown;
};

extern RunState g_run;

// Program functions f1..f10 and the last entries of variables 0..89 (the
// starting text of the next `in`).
struct TokenLine {
    TokenCode tokens[SLOT_TOKEN_CAPACITY];
    int count;
};
extern TokenLine g_program_functions[PROGRAM_FUNCTIONS];
extern TokenLine g_last_entries[PROGRAM_VARIABLES];
// "Clear Input Buffer" and a run of a newly chosen program.
void clear_program_input_buffers();

// What the interpreter asks of the front panel (or of the command-line
// runner).  Every default is silent: a test can run programs without a
// window.
struct ProgramHost {
    void (*run_started)();                          // save the input line, title, "Running..." shown by the interpreter
    void (*run_ended)(bool with_error);             // restore the line (normal end), redraw, run indicators off
    void (*show_result)(const char* text);          // the result line: "Running...", prompts, "Ans=..", errors
    void (*show_upper)(const char* text);           // the first line: `out` labels, the program name after an error
    void (*begin_input)(const TokenCode* tokens, int count);   // editable starting text of an `in`
    void (*after_evaluation)();                     // an expression ran: the panel syncs its answer flags
    void (*redraw_face)();
    void (*set_mode)(int mode);                     // COMP, STATS, BASE-n
    void (*settings_changed)();                     // angle, base, format ... (redraw when the face shows it)
    int (*menu_dialog)(const char* title, const MenuItem* items, int count);   // index or -1
    void (*description_dialog)(const char* stored_description);
    void (*stats_list_dialog)();
    void (*title_refresh)();
};
extern ProgramHost g_program_host;
void reset_program_host();

// Start the current program (g_program).
void start_program();
// One idle turn: up to 20 statements; nothing while paused or waiting.
void program_step();
// Executes statement `line` and returns the next one, -1 to end.
int run_program_line(int line);
// The run key while running: "Program Stopped (line %d)" and the error flag.
void stop_program_by_user();
// A key press during a pause.
void resume_program();
// The execute key while an `in f()` waits: a non-empty entry replaces the
// function's tokens.
void program_function_entered(const TokenCode* tokens, int count);
// The execute key while an `in` waits: the tokens become the variable's
// last entry (the evaluator then stores the value through its hook).
void program_input_entered(const TokenCode* tokens, int count);
// Fills the engine's program-input hooks.
void install_program_engine_hooks();

bool program_running();
bool program_waiting();          // for `in` or `in f()`
bool program_waiting_function();
bool program_paused();

// The text the result line shows for a value ("Ans=3", "A=1.5").
void program_value_text(int operand, char* out, int size);

}  // namespace qx

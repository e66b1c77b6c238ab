// Services the expression core asks of the subsystems that own them
// (statistics, units, plot settings, matrices and lists, numerical calculus,
// program drawing and input, the window for message boxes and taps).  Each
// has a default that works without its owner, so the core runs alone.
#pragma once
#include <cstdint>

#include "engine/evaluator.h"
#include "engine/memory.h"

namespace qx {

struct VarStepCall {
    int op_id;
    int recursion_index;
    bool first_call;
    const FunctionParameter* params;   // written order
    int param_count;
    int variable;                      // memory index the function varies
    double value_re, value_im;         // expression value at the last point
    bool sample_failed;                // the last point raised an error
    bool plot_context;
};

struct VarStepResult {
    bool again;                        // evaluate the expression once more
    double re, im;                     // the result once finished
    int kind;                          // ResultKind of the result
    int ref;
};

struct EngineHooks {
    bool (*poll_key_tap)();
    bool (*poll_cancel_mode)();
    int (*message_box)(const char* text, const char* title, int style);
    std::uint32_t (*tick_count)();
    std::uint32_t (*wall_seconds)();
    double (*stat_value)(int stat_index);
    double (*regression_estimate)(int op_id, double x);
    bool (*unit_record)(int index, double* factor, double* offset, const char** name);
    double (*plot_setting)(int setting_number);
    void (*list_current_element)(int list, double* re, double* im);
    void (*single_object_result)(int kind, int index, TempRegister* reg);
    void (*matrix_list_operation)(const Operation& op, const ConstantValue* operands,
                                  int operand_count, TempRegister* result);
    void (*store_object_answer)(const TempRegister& reg);
    // A run starts: matrix and list temporaries of the last run are free.
    void (*begin_object_run)();
    VarStepResult (*var_function_step)(const VarStepCall& call);
    // A run stopped with an error while var functions were still iterating:
    // their owner restores the variables they changed and drops their state.
    void (*var_functions_abandoned)();
    void (*draw_statement)(int op_id, const FunctionParameter* params, int count);
    int (*program_input_variable)();   // memory index a program waits for, or -1
    void (*program_input_taken)();
};

extern EngineHooks g_hooks;
// Puts every hook back to its stand-alone default.
void reset_hooks();

}  // namespace qx

namespace qx {
// What the shell does once at start: seed Rand from the clock, sort the
// operator table and check the function signatures.
void engine_startup();
}  // namespace qx

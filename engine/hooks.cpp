#include "engine/hooks.h"

#include <chrono>
#include <ctime>

#include "engine/errors.h"
#include "engine/settings.h"

namespace qx {

namespace {

bool no_tap() { return false; }
bool no_cancel_mode() { return false; }

std::uint32_t steady_ticks() {
    using namespace std::chrono;
    return static_cast<std::uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

std::uint32_t wall_seconds_field() {
    std::time_t now = std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    return static_cast<std::uint32_t>(parts.tm_sec);
}

double no_statistics(int) {
    raise_error(ERR_NO_DATA, "No statistics data", "get_constant");
    return 0.0;
}

double no_regression(int, double) {
    raise_error(ERR_NO_DATA, "No statistics data", "perform_float_calculation");
    return 0.0;
}

bool no_units(int, double* factor, double* offset, const char** name) {
    *factor = 1.0;
    *offset = 0.0;
    *name = "?";
    return false;
}

// The plot window and parameter range a fresh calculator starts with.
double default_plot_setting(int number) {
    const double turn = g_settings.angle_unit == ANGLE_DEG    ? 360.0
                        : g_settings.angle_unit == ANGLE_GRAD ? 400.0
                                                               : 2.0 * PI_CONSTANT;
    switch (number) {
        case 13: return 1.0;     // connect dots
        case 14: return 1.0;     // grid
        case 15: return 0.0;     // cursor
        case 16: return 0.0;     // plot type
        case 17: return turn;    // tmax
        case 18: return 0.0;     // tmin
        case 19: return turn / 1000.0;
        case 20: return 10.0;    // xmax
        case 21: return -10.0;   // xmin
        case 22: return 10.0;    // ymax
        case 23: return -10.0;   // ymin
        case 24: return 1.0;     // z_scale
        default: return 0.0;
    }
}

void no_list_element(int, double* re, double* im) {
    *re = 0.0;
    *im = 0.0;
}

void no_objects(int kind, int, TempRegister*) {
    if (kind == RK_MATRIX)
        raise_error(ERR_MATRIX_UNDEFINED, "Matrix operand is not defined", "Evaluate_Input");
    else
        raise_error(ERR_LIST_UNDEFINED, "List operand is not defined", "Evaluate_Input");
}

void no_matrix_arithmetic(const Operation&, const ConstantValue*, int, TempRegister*) {
    raise_error(ERR_DATA_TYPE, "Matrix and list operations not available",
                "perform_float_calculation");
}

void no_object_answer(const TempRegister&) {}
void no_object_run() {}

VarStepResult no_var_functions(const VarStepCall&) {
    raise_error(ERR_UNEXPECTED, "Operator not supported", "perform_float_calculation");
    return VarStepResult{false, 0.0, 0.0, RK_SCALAR, 0};
}

void no_abandoned_var_functions() {}
void no_drawing(int, const FunctionParameter*, int) {}
int no_program_input() { return -1; }
void no_input_taken() {}

}  // namespace

EngineHooks g_hooks;

void reset_hooks() {
    g_hooks.poll_key_tap = no_tap;
    g_hooks.poll_cancel_mode = no_cancel_mode;
    g_hooks.message_box = nullptr;
    g_hooks.tick_count = steady_ticks;
    g_hooks.wall_seconds = wall_seconds_field;
    g_hooks.stat_value = no_statistics;
    g_hooks.regression_estimate = no_regression;
    g_hooks.unit_record = no_units;
    g_hooks.plot_setting = default_plot_setting;
    g_hooks.list_current_element = no_list_element;
    g_hooks.single_object_result = no_objects;
    g_hooks.matrix_list_operation = no_matrix_arithmetic;
    g_hooks.store_object_answer = no_object_answer;
    g_hooks.begin_object_run = no_object_run;
    g_hooks.var_function_step = no_var_functions;
    g_hooks.var_functions_abandoned = no_abandoned_var_functions;
    g_hooks.draw_statement = no_drawing;
    g_hooks.program_input_variable = no_program_input;
    g_hooks.program_input_taken = no_input_taken;
}

namespace {
struct HooksInit {
    HooksInit() { reset_hooks(); }
} g_hooks_init;
}  // namespace

}  // namespace qx

#include "engine/functions.h"

namespace qx {
void engine_startup() {
    rand_seed_from_clock();
    init_operator_table();
    check_function_signatures();
}
}  // namespace qx

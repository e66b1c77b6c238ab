#include "plot/evaluate.h"

#include <cmath>
#include <cstring>
#include <memory>

#include "engine/hooks.h"
#include "plot/model.h"

namespace qx {

int g_last_plot_error = 0;
bool g_plot_abort = false;

namespace {

long g_samples = 0;

// Compiled slots live in a small pool that is never freed: the run phase
// keeps a pointer to the expression it ran last.  Analysis nests at most a
// temporary expression around a slot, so a handful of levels is plenty;
// deeper nesting borrows from the heap.
constexpr int kPoolSize = 4;
CompiledExpression g_pool[kPoolSize];
int g_pool_depth = 0;

}  // namespace

SlotEvaluation::SlotEvaluation(int type, int slot) {
    if (type < 0 || type >= PLOT_TYPES || slot < 0 || slot >= PLOT_SLOTS) {
        begin(nullptr, 0, MEM_X);
        return;
    }
    const PlotSlot& s = g_plot_slots[type][slot];
    begin(s.tokens, s.count, plot_variable(type));
}

SlotEvaluation::SlotEvaluation(const TokenCode* tokens, int count, int variable) {
    begin(tokens, count, variable);
}

void SlotEvaluation::begin(const TokenCode* tokens, int count, int variable) {
    saved_error_ = g_error;
    saved_ans_ = g_ans;
    std::memcpy(saved_memory_, g_memory, sizeof saved_memory_);
    saved_kind_ = g_last_result_kind;
    saved_context_ = g_plot_context;
    variable_ = variable >= 0 && variable < MEMORY_SLOTS ? variable : MEM_X;
    defined_ = tokens && count > 0 && count <= PLOT_SLOT_TOKENS;
    if (!defined_) return;
    if (g_pool_depth < kPoolSize) compiled_ = &g_pool[g_pool_depth];
    else compiled_ = new CompiledExpression;
    ++g_pool_depth;
    clear_error();
    compile_expression(tokens, count, *compiled_);
    clear_error();
}

SlotEvaluation::~SlotEvaluation() {
    if (compiled_) {
        --g_pool_depth;
        if (compiled_ < g_pool || compiled_ >= g_pool + kPoolSize) delete compiled_;
    }
    g_plot_context = saved_context_;
    g_error = saved_error_;
    g_ans = saved_ans_;
    std::memcpy(g_memory, saved_memory_, sizeof saved_memory_);
    g_last_result_kind = saved_kind_;
}

double SlotEvaluation::at(double value) {
    if (!defined_) {
        g_last_plot_error = ERR_PLOT_UNDEFINED;
        return UNDEFINED_VALUE;
    }
    memory_set(value, 0, variable_);
    memory_set(0.0, 1, variable_);
    return run();
}

double SlotEvaluation::at(double u, double v) {
    if (!defined_) {
        g_last_plot_error = ERR_PLOT_UNDEFINED;
        return UNDEFINED_VALUE;
    }
    memory_set(u, 0, MEM_U);
    memory_set(0.0, 1, MEM_U);
    memory_set(v, 0, MEM_V);
    memory_set(0.0, 1, MEM_V);
    return run();
}

double SlotEvaluation::run() {
    ++g_samples;
    clear_error();
    g_plot_context = true;
    run_expression(*compiled_);
    g_plot_context = saved_context_;
    const TempRegister& r = g_registers[0];
    int code = -1;
    if (error_pending()) {
        code = error_code();
        if (code == ERR_CANCELED) g_plot_abort = true;
    } else if (r.kind != RK_SCALAR || r.im != 0.0) {
        code = ERR_DOMAIN;
    } else if (!std::isfinite(r.re)) {
        code = std::isnan(r.re) ? ERR_DOMAIN : ERR_OVERFLOW;
    }
    clear_error();
    if (code >= 0) {
        g_last_plot_error = code;
        return UNDEFINED_VALUE;
    }
    return r.re;
}

long plot_sample_count() { return g_samples; }
void reset_plot_sample_count() { g_samples = 0; }

namespace {

// The groups of error codes the read-outs and the table cells name.
int error_group(int code) {
    switch (code) {
        case 0: case 1: return 0;
        case 2: return 1;
        case 3: case 4: return 2;
        case 5: case 18: case 28: case 31: return 3;
        case 6: case 7: return 4;
        case 16: case 19: return 5;
        case 29: return 6;
        case 30: return 7;
        case ERR_PLOT_UNDEFINED: return 8;
        default: return 9;
    }
}

}  // namespace

const char* small_error_label(int code) {
    static const char* const kLabels[] = {
        "SMALL_OVERFLOW", "SMALL_DIV_BY_ZERO", "SMALL_DOMAIN",           "SMALL_SYNTAX_ERROR",
        "SMALL_NO_DATA",  "SMALL_DATA_TYPE",   "SMALL_NO_ROOT_FOUND",    "SMALL_NO_INTERSECT_FOUND",
        "SMALL_UNDEFINED", "SMALL_ERROR"};
    return kLabels[error_group(code)];
}

const char* cell_error_text(int code) {
    static const char* const kTexts[] = {"Overflow", "Div by Zero", "Domain",
                                         "Syntax",   "No Data",     "Data Type",
                                         "No Root Found", "No Intersection Found", "Undefined",
                                         "Error"};
    return kTexts[error_group(code)];
}

}  // namespace qx

// Evaluation of a function slot that leaves the calculation as it was:
// the error state, Ans and every memory variable are saved on begin and put
// back on end, so drawing, tracing or analysing a plot never disturbs them.
#pragma once
#include "engine/errors.h"
#include "engine/evaluator.h"
#include "engine/memory.h"
#include "engine/tokens.h"

namespace qx {

// Error code of an undefined slot (the "Undefined" labels).
constexpr int ERR_PLOT_UNDEFINED = 33;

// The error code of the last failed sample (a non-real result counts as 4).
extern int g_last_plot_error;
// Set when a sample ended with "Operation Canceled": the plot stops.
extern bool g_plot_abort;

inline bool is_undefined(double v) { return v == UNDEFINED_VALUE; }

class SlotEvaluation {
public:
    // Begin for a slot of the plot settings (the variable follows the type).
    SlotEvaluation(int type, int slot);
    // Begin for any token array varying `variable` (temporary expressions).
    SlotEvaluation(const TokenCode* tokens, int count, int variable);
    ~SlotEvaluation();   // end: restores the saved state
    SlotEvaluation(const SlotEvaluation&) = delete;
    SlotEvaluation& operator=(const SlotEvaluation&) = delete;

    bool defined() const { return defined_; }
    // The value at `value` of the variable, or UNDEFINED_VALUE (the reason
    // in g_last_plot_error).
    double at(double value);
    // Three-dimensional slots: u and v.
    double at(double u, double v);

private:
    void begin(const TokenCode* tokens, int count, int variable);
    double run();

    bool defined_ = false;
    int variable_ = MEM_X;
    ErrorRecord saved_error_{};
    MemorySlot saved_ans_{};
    MemorySlot saved_memory_[MEMORY_SLOTS]{};
    int saved_kind_ = 0;
    bool saved_context_ = false;
    CompiledExpression* compiled_ = nullptr;
};

// Samples evaluated since the counter was reset (benchmarks and tests).
long plot_sample_count();
void reset_plot_sample_count();

// The grouping of error codes shared by the read-out labels and the table
// cells: "SMALL_OVERFLOW".. and "Overflow"..
const char* small_error_label(int code);
const char* cell_error_text(int code);

}  // namespace qx

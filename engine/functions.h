// Function arguments: the per-bracket parameter store, the signature table
// and its checks, and the random deviates.
#pragma once

#include "engine/evaluator.h"
#include "engine/memory.h"

namespace qx {

enum ArgType {
    ARG_REAL = 0, ARG_NUMBER = 1, ARG_MATRIX = 2, ARG_LIST = 3, ARG_VARIABLE = 4,
    ARG_OPTIONAL_REAL = 5, ARG_NONE = 6,
};

struct FunctionSignature {
    int op_id;
    int count;
    int types[MAX_PARAMS];
};

const FunctionSignature* find_signature(int op_id);
int signature_count();
// Start-up check that each entry's count matches its argument types.
bool check_function_signatures();

void reset_parameter_store();
bool any_parameter_stored();

// Prepares the parameters of the current function; returns `all_real`.
// `variable` receives the memory index of a var function's variable (or -1).
bool pre_process_function(const ConstantValue& bracket, int* variable);

double rand_norm(double mean, double deviation);
double rand_bin(double n, double p);
double rand_pois(double mean);
double rand_int(double a, double b);
double log_gamma(double x);

}  // namespace qx

#include "engine/functions.h"

#include "engine/errors.h"
#include "engine/scalar.h"

namespace qx {

namespace {

constexpr int N = ARG_NONE;

const FunctionSignature kSignatures[] = {
    // one argument, real or complex
    {7, 1, {1, N, N, N, N, N}}, {8, 1, {1, N, N, N, N, N}}, {9, 1, {1, N, N, N, N, N}},
    {11, 1, {1, N, N, N, N, N}}, {12, 1, {1, N, N, N, N, N}}, {18, 1, {1, N, N, N, N, N}},
    {21, 1, {1, N, N, N, N, N}}, {22, 1, {1, N, N, N, N, N}}, {23, 1, {1, N, N, N, N, N}},
    {29, 1, {1, N, N, N, N, N}}, {30, 1, {1, N, N, N, N, N}}, {31, 1, {1, N, N, N, N, N}},
    {32, 1, {1, N, N, N, N, N}}, {33, 1, {1, N, N, N, N, N}}, {34, 1, {1, N, N, N, N, N}},
    {113, 1, {1, N, N, N, N, N}}, {47, 1, {1, N, N, N, N, N}}, {48, 1, {1, N, N, N, N, N}},
    {49, 1, {1, N, N, N, N, N}}, {50, 1, {1, N, N, N, N, N}}, {109, 1, {1, N, N, N, N, N}},
    {110, 1, {1, N, N, N, N, N}}, {111, 1, {1, N, N, N, N, N}}, {112, 1, {1, N, N, N, N, N}},
    {128, 1, {1, N, N, N, N, N}}, {129, 1, {1, N, N, N, N, N}}, {130, 1, {1, N, N, N, N, N}},
    {131, 1, {1, N, N, N, N, N}},
    // one argument, real
    {114, 1, {0, N, N, N, N, N}}, {140, 1, {0, N, N, N, N, N}}, {66, 1, {0, N, N, N, N, N}},
    {127, 1, {0, N, N, N, N, N}}, {169, 1, {0, N, N, N, N, N}}, {132, 1, {0, N, N, N, N, N}},
    {133, 1, {0, N, N, N, N, N}}, {134, 1, {0, N, N, N, N, N}}, {135, 1, {0, N, N, N, N, N}},
    // one argument, matrix
    {107, 1, {2, N, N, N, N, N}}, {62, 1, {2, N, N, N, N, N}}, {63, 1, {2, N, N, N, N, N}},
    {64, 1, {2, N, N, N, N, N}}, {65, 1, {2, N, N, N, N, N}}, {59, 1, {2, N, N, N, N, N}},
    {61, 1, {2, N, N, N, N, N}}, {67, 1, {2, N, N, N, N, N}}, {68, 1, {2, N, N, N, N, N}},
    {69, 1, {2, N, N, N, N, N}}, {70, 1, {2, N, N, N, N, N}}, {71, 1, {2, N, N, N, N, N}},
    {72, 1, {2, N, N, N, N, N}}, {73, 1, {2, N, N, N, N, N}}, {74, 1, {2, N, N, N, N, N}},
    {75, 1, {2, N, N, N, N, N}}, {76, 1, {2, N, N, N, N, N}}, {77, 1, {2, N, N, N, N, N}},
    {78, 1, {2, N, N, N, N, N}}, {80, 1, {2, N, N, N, N, N}}, {81, 1, {2, N, N, N, N, N}},
    {82, 1, {2, N, N, N, N, N}}, {79, 1, {2, N, N, N, N, N}}, {85, 1, {2, N, N, N, N, N}},
    {86, 1, {2, N, N, N, N, N}}, {152, 1, {2, N, N, N, N, N}}, {153, 1, {2, N, N, N, N, N}},
    // one argument, list
    {87, 1, {3, N, N, N, N, N}}, {88, 1, {3, N, N, N, N, N}}, {89, 1, {3, N, N, N, N, N}},
    {90, 1, {3, N, N, N, N, N}}, {91, 1, {3, N, N, N, N, N}}, {92, 1, {3, N, N, N, N, N}},
    {93, 1, {3, N, N, N, N, N}}, {94, 1, {3, N, N, N, N, N}}, {95, 1, {3, N, N, N, N, N}},
    {96, 1, {3, N, N, N, N, N}}, {97, 1, {3, N, N, N, N, N}}, {108, 1, {3, N, N, N, N, N}},
    {100, 1, {3, N, N, N, N, N}}, {101, 1, {3, N, N, N, N, N}}, {103, 1, {3, N, N, N, N, N}},
    {105, 1, {3, N, N, N, N, N}}, {106, 1, {3, N, N, N, N, N}},
    // two arguments
    {138, 2, {0, 0, N, N, N, N}}, {139, 2, {0, 0, N, N, N, N}}, {141, 2, {0, 0, N, N, N, N}},
    {19, 2, {1, 0, N, N, N, N}}, {20, 2, {1, 0, N, N, N, N}}, {136, 2, {0, 0, N, N, N, N}},
    {137, 2, {0, 0, N, N, N, N}}, {142, 2, {1, 0, N, N, N, N}}, {145, 2, {0, 0, N, N, N, N}},
    {143, 2, {0, 0, N, N, N, N}}, {144, 2, {0, 0, N, N, N, N}}, {115, 2, {1, 1, N, N, N, N}},
    {116, 2, {0, 0, N, N, N, N}}, {117, 2, {0, 0, N, N, N, N}}, {155, 2, {0, 0, N, N, N, N}},
    {156, 2, {2, 2, N, N, N, N}}, {157, 2, {2, 2, N, N, N, N}}, {161, 2, {2, 0, N, N, N, N}},
    {162, 2, {2, 0, N, N, N, N}}, {83, 2, {2, 2, N, N, N, N}}, {84, 2, {2, 2, N, N, N, N}},
    {98, 2, {3, 3, N, N, N, N}}, {99, 2, {0, 0, N, N, N, N}}, {102, 2, {3, 0, N, N, N, N}},
    {104, 2, {3, 0, N, N, N, N}}, {166, 2, {0, 0, N, N, N, N}},
    // three arguments
    {146, 3, {2, 0, 0, N, N, N}}, {147, 3, {2, 0, 0, N, N, N}}, {148, 3, {2, 0, 0, N, N, N}},
    {149, 3, {2, 0, 0, N, N, N}}, {151, 3, {2, 0, 0, N, N, N}}, {163, 3, {2, 0, 0, N, N, N}},
    {154, 3, {0, 0, 0, N, N, N}}, {167, 3, {0, 0, 0, N, N, N}}, {119, 3, {0, 4, 0, N, N, N}},
    {122, 3, {1, 4, 1, N, N, N}},
    // four arguments
    {150, 4, {2, 0, 0, 0, N, N}}, {158, 4, {2, 0, 0, 0, N, N}}, {159, 4, {2, 0, 0, 0, N, N}},
    {164, 4, {2, 2, 0, 0, N, N}}, {165, 4, {0, 0, 0, 0, N, N}}, {168, 4, {0, 0, 0, 0, N, N}},
    {120, 4, {0, 4, 0, 0, N, N}}, {121, 4, {0, 4, 0, 0, N, N}}, {124, 4, {0, 4, 0, 0, N, N}},
    {125, 4, {1, 4, 0, 0, N, N}}, {126, 4, {1, 4, 0, 0, N, N}},
    // five arguments
    {160, 5, {2, 0, 0, 0, 0, N}}, {118, 5, {0, 4, 0, 0, 5, N}}, {123, 5, {0, 4, 0, 0, 0, N}},
};
constexpr int kSignatureCount = sizeof(kSignatures) / sizeof(kSignatures[0]);

const FunctionSignature* g_signature_of[OPERATOR_COUNT];
bool g_signature_index_ready = false;

// Index 0 is the top level (no function bracket), then bracket k at k + 1.
FunctionParameter g_params[MAX_FUNCTION_GROUPS + 1][MAX_PARAMS];
int g_param_count[MAX_FUNCTION_GROUPS + 1];
int g_stored_brackets = 0;   // brackets whose count is not 0

int slot_of(int group_id) {
    return (group_id >= -1 && group_id < MAX_FUNCTION_GROUPS) ? group_id + 1 : 0;
}

}  // namespace

const FunctionSignature* find_signature(int op_id) {
    if (!g_signature_index_ready) {
        for (const FunctionSignature& s : kSignatures) g_signature_of[s.op_id] = &s;
        g_signature_index_ready = true;
    }
    return (op_id >= 0 && op_id < OPERATOR_COUNT) ? g_signature_of[op_id] : nullptr;
}

int signature_count() { return kSignatureCount; }

bool check_function_signatures() {
    bool ok = true;
    for (const FunctionSignature& s : kSignatures) {
        int n = 0;
        for (int t : s.types) n += t != ARG_NONE;
        if (n != s.count) ok = false;
    }
    if (!ok) warning_box("Function Argument Count is Incorrect", "Opps");
    return ok;
}

void reset_parameter_store() {
    if (g_stored_brackets == 0) return;
    for (int& c : g_param_count) c = 0;
    g_stored_brackets = 0;
}

bool any_parameter_stored() { return g_stored_brackets > 0; }

void store_function_parameter(double re, double im, int memory, int matrix, int list) {
    int s = slot_of(current_operation().group_id);
    if (g_param_count[s] >= MAX_PARAMS) {
        raise_error(ERR_ARG_COUNT, "Number of arguments is incorrect", "store_function_parameter");
        return;
    }
    if (g_param_count[s] == 0) ++g_stored_brackets;
    g_params[s][g_param_count[s]++] = FunctionParameter{re, im, memory, matrix, list};
}

int parameter_count() { return g_param_count[slot_of(current_operation().group_id)]; }

const FunctionParameter* parameters() { return g_params[slot_of(current_operation().group_id)]; }

void release_parameters() {
    int s = slot_of(current_operation().group_id);
    if (g_param_count[s] != 0) --g_stored_brackets;
    g_param_count[s] = 0;
}

bool pre_process_function(const ConstantValue& bracket, int* variable) {
    const char* fn = "pre_process_function";
    *variable = -1;
    const Operation& op = current_operation();
    int s = slot_of(op.group_id);
    int n = g_param_count[s];
    FunctionParameter* p = g_params[s];
    if (n < 0) {
        raise_error(ERR_UNEXPECTED, "parameter count not handled", fn);
        return false;
    }
    if (n == 0) {
        store_function_parameter(bracket.re, bracket.im, bracket.memory, bracket.matrix,
                                 bracket.list);
        n = 1;
    } else {
        for (int a = 0, b = n - 1; a < b; ++a, --b) {
            FunctionParameter t = p[a];
            p[a] = p[b];
            p[b] = t;
        }
    }
    const FunctionSignature* sig = find_signature(op.info.id);
    if (!sig) {
        raise_error(ERR_UNEXPECTED, "Function not found", fn);
        return false;
    }
    if (n != sig->count) {
        if (op.info.id == OP_FNINT && n == sig->count - 1 &&
            sig->types[sig->count - 1] == ARG_OPTIONAL_REAL) {
            store_function_parameter(1e-9, 0.0, -1, -1, -1);
            ++n;
        } else {
            raise_error(ERR_ARG_COUNT, "Number of arguments is incorrect", fn);
            return false;
        }
    }
    bool all_real = true;
    for (int k = 0; k < n; ++k) {
        int expected = sig->types[k];
        if (expected == ARG_VARIABLE) {
            if (p[k].memory < 0) {
                raise_error(ERR_ARG_TYPE, "Argument type not correct", fn);
                return false;
            }
            *variable = p[k].memory;
            continue;
        }
        int actual = p[k].matrix >= 0 ? ARG_MATRIX
                     : p[k].list >= 0 ? ARG_LIST
                     : p[k].im != 0.0 ? ARG_NUMBER
                                      : ARG_REAL;
        if (actual == ARG_NUMBER) all_real = false;
        bool ok = actual == expected ||
                  (actual == ARG_REAL && (expected == ARG_NUMBER || expected == ARG_OPTIONAL_REAL));
        if (!ok) {
            raise_error(ERR_ARG_TYPE, "Argument type not correct", fn);
            return false;
        }
    }
    return all_real;
}

}  // namespace qx

#include "matrix/store.h"

#include <cstring>

#include "engine/errors.h"
#include "engine/functions.h"
#include "engine/hooks.h"

namespace qx {

Matrix g_matrices[NAMED_OBJECTS + 1];
ListValue g_lists[NAMED_OBJECTS + 1];
Matrix g_matrix_temps[OBJECT_TEMPS];
ListValue g_list_temps[OBJECT_TEMPS];

namespace {

void no_stats_column(int, const ListValue&) {}

bool g_matrix_temp_busy[OBJECT_TEMPS];
bool g_list_temp_busy[OBJECT_TEMPS];

const char* const kMatrixFn = "perform_matrix_calculation";
const char* const kListFn = "perform_list_calculation";

bool is_temp_ref(int ref) { return ref >= OBJECT_TEMP_BASE && ref < OBJECT_REF_LIMIT; }

bool is_list_function_id(int id) { return (id >= 87 && id <= 106) || id == 108; }

void release_parameter_objects(const FunctionParameter* p, int n) {
    for (int k = 0; k < n; ++k) {
        if (p[k].matrix >= 0) release_object_operand(p[k].matrix, false);
        if (p[k].list >= 0) release_object_operand(p[k].list, true);
    }
}

void release_operands(const ConstantValue* v, int count) {
    for (int k = 0; k < count; ++k) {
        if (v[k].matrix >= 0) release_object_operand(v[k].matrix, false);
        if (v[k].list >= 0) release_object_operand(v[k].list, true);
    }
}

// --- the engine's hooks ------------------------------------------------------

void single_object_result(int kind, int index, TempRegister* reg) {
    if (kind == RK_MATRIX) {
        const int t = allocate_matrix_temp();
        if (t < 0) return;
        if (!load_matrix_operand(index, g_matrix_temps[t])) {
            g_matrix_temp_busy[t] = false;
            return;
        }
        *reg = TempRegister{0.0, 0.0, RK_MATRIX, t, reg->in_use};
        return;
    }
    const int t = allocate_list_temp();
    if (t < 0) return;
    if (!load_list_operand(index, g_list_temps[t])) {
        g_list_temp_busy[t] = false;
        return;
    }
    *reg = TempRegister{0.0, 0.0, RK_LIST, t, reg->in_use};
}

void store_object_answer(const TempRegister& reg) {
    if (reg.ref < 0 || reg.ref >= OBJECT_TEMPS) {
        raise_error(ERR_UNEXPECTED, "answer temp register is out of range", "Evaluate_Input_2");
        return;
    }
    if (reg.kind == RK_MATRIX) {
        g_matrices[ANSWER_OBJECT] = g_matrix_temps[reg.ref];
        g_matrix_temp_busy[reg.ref] = false;
    } else if (reg.kind == RK_LIST) {
        g_lists[ANSWER_OBJECT] = g_list_temps[reg.ref];
        g_list_temp_busy[reg.ref] = false;
    }
}

// A list never stands for one of its elements: every list operand reaches
// this subsystem whole, so the value the engine carries beside it is 0.
void list_current_element(int, double* re, double* im) {
    *re = 0.0;
    *im = 0.0;
}

}  // namespace

void (*g_stats_column_hook)(int column, const ListValue& list) = no_stats_column;

// --- storage ----------------------------------------------------------------------

void clear_matrix(Matrix& m) {
    std::memset(m.e, 0, sizeof m.e);
    m.last_row = 0;
    m.last_column = 0;
    m.defined = false;
}

void clear_list(ListValue& l) {
    std::memset(l.re, 0, sizeof l.re);
    std::memset(l.im, 0, sizeof l.im);
    l.last = 0;
    l.defined = false;
}

void clear_all_matrices() {
    for (int k = 0; k < NAMED_OBJECTS; ++k) clear_matrix(g_matrices[k]);
}

void clear_all_lists() {
    for (int k = 0; k < NAMED_OBJECTS; ++k) clear_list(g_lists[k]);
}

void clear_answer_objects() {
    clear_matrix(g_matrices[ANSWER_OBJECT]);
    clear_list(g_lists[ANSWER_OBJECT]);
}

// --- temporary registers ------------------------------------------------------------

int allocate_matrix_temp() {
    for (int k = 0; k < OBJECT_TEMPS; ++k) {
        if (!g_matrix_temp_busy[k]) {
            g_matrix_temp_busy[k] = true;
            return k;
        }
    }
    raise_error(ERR_MEMORY, "Reached matrix temp register count limit", kMatrixFn);
    return -1;
}

int allocate_list_temp() {
    for (int k = 0; k < OBJECT_TEMPS; ++k) {
        if (!g_list_temp_busy[k]) {
            g_list_temp_busy[k] = true;
            return k;
        }
    }
    raise_error(ERR_MEMORY, "Reached list temp register count limit", kListFn);
    return -1;
}

void free_object_temps() {
    for (int k = 0; k < OBJECT_TEMPS; ++k) {
        g_matrix_temp_busy[k] = false;
        g_list_temp_busy[k] = false;
    }
}

int matrix_temps_in_use() {
    int n = 0;
    for (bool b : g_matrix_temp_busy) n += b;
    return n;
}

int list_temps_in_use() {
    int n = 0;
    for (bool b : g_list_temp_busy) n += b;
    return n;
}

// --- operand loads ---------------------------------------------------------------------

bool load_matrix_operand(int ref, Matrix& slot) {
    if (ref < 0) return true;
    if (ref <= ANSWER_OBJECT) {
        if (!g_matrices[ref].defined) {
            raise_error(ERR_MATRIX_UNDEFINED, "Matrix operand is not defined", kMatrixFn);
            return false;
        }
        slot = g_matrices[ref];
        return true;
    }
    if (!is_temp_ref(ref)) {
        raise_error(ERR_UNEXPECTED, "op_matrix index is out of range", kMatrixFn);
        return false;
    }
    const int t = ref - OBJECT_TEMP_BASE;
    // Each result is read once; a free register here is a broken hand-over.
    if (!g_matrix_temp_busy[t]) {
        raise_error(ERR_UNEXPECTED, "op_matrix temp register is not in use", kMatrixFn);
        return false;
    }
    slot = g_matrix_temps[t];
    g_matrix_temp_busy[t] = false;
    return true;
}

bool load_list_operand(int ref, ListValue& slot) {
    if (ref < 0) return true;
    if (ref <= ANSWER_OBJECT) {
        if (!g_lists[ref].defined) {
            raise_error(ERR_LIST_UNDEFINED, "List operand is not defined", kListFn);
            return false;
        }
        slot = g_lists[ref];
        return true;
    }
    if (!is_temp_ref(ref)) {
        raise_error(ERR_UNEXPECTED, "op_list index is out of range", kListFn);
        return false;
    }
    const int t = ref - OBJECT_TEMP_BASE;
    if (!g_list_temp_busy[t]) {
        raise_error(ERR_UNEXPECTED, "op_list temp register is not in use", kListFn);
        return false;
    }
    slot = g_list_temps[t];
    g_list_temp_busy[t] = false;
    return true;
}

void release_object_operand(int ref, bool is_list) {
    if (!is_temp_ref(ref)) return;
    if (is_list) g_list_temp_busy[ref - OBJECT_TEMP_BASE] = false;
    else g_matrix_temp_busy[ref - OBJECT_TEMP_BASE] = false;
}

// --- results -----------------------------------------------------------------------------

void store_matrix_result(const Matrix& m, TempRegister& result) {
    const int t = allocate_matrix_temp();
    if (t < 0) return;
    g_matrix_temps[t] = m;
    g_matrix_temps[t].defined = true;
    // The value beside an object result is 0, never the register's number.
    result.re = 0.0;
    result.im = 0.0;
    result.kind = RK_MATRIX;
    result.ref = t;
}

void store_list_result(const ListValue& l, TempRegister& result) {
    const int t = allocate_list_temp();
    if (t < 0) return;
    g_list_temps[t] = l;
    g_list_temps[t].defined = true;
    result.re = 0.0;
    result.im = 0.0;
    result.kind = RK_LIST;
    result.ref = t;
}

// --- routing ------------------------------------------------------------------------------

void matrix_list_operation(const Operation& op, const ConstantValue* v, int count,
                           TempRegister* result) {
    const int id = op.info.id;
    const int kind = op.info.kind;
    const bool is_fn = kind == KIND_MULTI_FUNCTION || kind == KIND_FUNCTION ||
                       kind == KIND_VAR_FUNCTION;
    if (!is_fn) {
        bool any_list = false, any_matrix = false, complex_scalar = false;
        for (int k = 0; k < count; ++k) {
            any_list |= v[k].list >= 0;
            any_matrix |= v[k].matrix >= 0;
            complex_scalar |= v[k].matrix < 0 && v[k].list < 0 && v[k].im != 0.0;
        }
        if (any_list && any_matrix) {
            release_operands(v, count);
            raise_error(ERR_DATA_TYPE, "E5", "");
            return;
        }
        if (any_list) {
            if (id == OP_STORE) {
                const double s[2] = {0.0, 0.0};
                perform_list_calculation(op, v[0].list, -1, s, *result);
            } else if (op.info.flags & FLAG_M) {
                release_operands(v, count);
                raise_error(ERR_DATA_TYPE, "E5", "");
            } else {
                elementwise_list_operation(op, v, count, *result);
            }
            return;
        }
        // Matrices are real: a complex scalar operand is refused.
        if (complex_scalar) {
            release_operands(v, count);
            raise_error(ERR_DATA_TYPE, "E9", "perform_float_calculation");
            return;
        }
        double s[4] = {0.0, 0.0, 0.0, 0.0};
        for (int k = 0; k < count; ++k)
            if (v[k].matrix < 0) s[0] = v[k].re;
        perform_matrix_calculation(op, v[0].matrix, count > 1 ? v[1].matrix : -1, s,
                                   kind == KIND_BINARY, *result);
        return;
    }

    const FunctionParameter* p = parameters();
    const int n = parameter_count();
    const bool matrix_fn = (op.info.flags & FLAG_M) != 0;
    const bool list_fn = is_list_function_id(id);
    if (kind == KIND_VAR_FUNCTION || (!matrix_fn && !list_fn && id >= OP_LINE && id <= OP_CLRDRAW)) {
        if (n == 0) release_operands(v, 1);
        else release_parameter_objects(p, n);
        raise_error(ERR_DATA_TYPE, "E5", "");
        return;
    }
    if (!matrix_fn && !list_fn) {
        // A scalar function with a list argument: its parameters are still
        // in stored order (last argument first).
        ConstantValue args[MAX_PARAMS];
        int m = 0;
        if (n == 0) {
            args[m++] = v[0];
        } else {
            for (int k = n - 1; k >= 0; --k)
                args[m++] = ConstantValue{p[k].re, p[k].im, p[k].matrix, p[k].list, p[k].memory};
        }
        elementwise_list_operation(op, args, m, *result);
        return;
    }
    if (list_fn) {
        int ref[2] = {-1, -1};
        int refs = 0;
        double s[2] = {0.0, 0.0};
        bool stray_matrix = false;
        for (int k = 0; k < n; ++k) {
            if (p[k].list >= 0 && refs < 2) ref[refs++] = p[k].list;
            else if (p[k].list >= 0) release_object_operand(p[k].list, true);
            if (p[k].matrix >= 0) {
                release_object_operand(p[k].matrix, false);
                stray_matrix = true;
            }
            if (k < 2) s[k] = p[k].re;
        }
        if (stray_matrix) {
            for (int k = 0; k < refs; ++k) release_object_operand(ref[k], true);
            raise_error(ERR_ARG_TYPE, "Argument type not correct", "pre_process_function");
            return;
        }
        perform_list_calculation(op, ref[0], ref[1], s, *result);
        return;
    }
    int ref[2] = {-1, -1};
    int refs = 0, scalars = 0;
    double s[4] = {0.0, 0.0, 0.0, 0.0};
    bool stray_list = false;
    for (int k = 0; k < n; ++k) {
        if (p[k].list >= 0) {
            release_object_operand(p[k].list, true);
            stray_list = true;
        } else if (p[k].matrix >= 0) {
            if (refs < 2) ref[refs++] = p[k].matrix;
            else release_object_operand(p[k].matrix, false);
        } else if (scalars < 4) {
            s[scalars++] = p[k].re;
        }
    }
    if (stray_list) {
        for (int k = 0; k < refs; ++k) release_object_operand(ref[k], false);
        raise_error(ERR_ARG_TYPE, "Argument type not correct", "pre_process_function");
        return;
    }
    perform_matrix_calculation(op, ref[0], ref[1], s, false, *result);
}

void install_matrix_engine_hooks() {
    g_hooks.single_object_result = single_object_result;
    g_hooks.matrix_list_operation = matrix_list_operation;
    g_hooks.store_object_answer = store_object_answer;
    g_hooks.list_current_element = list_current_element;
    g_hooks.begin_object_run = free_object_temps;
}

}  // namespace qx

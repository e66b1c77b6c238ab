// perform_list_calculation with the list functions, and ordinary operators
// and scalar functions applied to lists element by element.
#include <cmath>

#include "engine/errors.h"
#include "engine/functions.h"
#include "engine/scalar.h"
#include "matrix/store.h"

namespace qx {

namespace {

enum ListFunction {
    L_MAX = 87, L_MEAN = 88, L_MEDIAN = 89, L_MIN = 90, L_PROD = 91, L_STDDEV = 92, L_SUM = 93,
    L_VARIANCE = 94, L_CUMSUM = 95, L_SORTA = 96, L_SORTD = 97, L_AUGLIST = 98, L_FILL = 99,
    L_DELTALIST = 100, L_LISTSIZE = 101, L_LISTRESIZE = 102, L_REVERSE = 103, L_POS = 104,
    L_TOX = 105, L_TOY = 106, L_LTOM = 108,
};

const char* const kFn = "perform_list_calculation";

// Working slots: result, operand 1, operand 2; the arguments of an
// element-by-element operation; a matrix made from a list.
ListValue g_result_slot, g_operand_1, g_operand_2;
ListValue g_arguments[MAX_PARAMS];
Matrix g_matrix_slot;

void empty_list(ListValue& l) {
    for (int k = 0; k < LIST_STORAGE; ++k) l.re[k] = l.im[k] = 0.0;
    l.last = -1;
    l.defined = true;
}

// Statistics of no elements have no value.
bool needs_elements(int n) {
    if (n > 0) return true;
    raise_error(ERR_LIST_SIZE, "list is empty", kFn);
    return false;
}

// Order and spread are of real numbers only: a complex element is refused
// rather than silently losing its imaginary part.
bool needs_real(const ListValue& l) {
    for (int k = 0; k < l.size(); ++k) {
        if (l.im[k] != 0.0) {
            raise_error(ERR_DATA_TYPE, "list has complex elements", kFn);
            return false;
        }
    }
    return true;
}

// Selection sort: for each place, the smallest (largest) remaining element,
// the first found among equals, is swapped into it.
void selection_sort(ListValue& l, bool ascending) {
    const int n = l.size();
    for (int i = 0; i < n; ++i) {
        int best = i;
        for (int j = i + 1; j < n; ++j)
            if (ascending ? l.re[j] < l.re[best] : l.re[j] > l.re[best]) best = j;
        if (best != i) {
            double t = l.re[i];
            l.re[i] = l.re[best];
            l.re[best] = t;
            t = l.im[i];
            l.im[i] = l.im[best];
            l.im[best] = t;
        }
    }
}

// Population variance in two passes: the mean first, then the squared
// deviations from it (with the rounding of the mean corrected), so that
// large values with a small spread keep their digits.
double variance_of(const ListValue& l) {
    const int n = l.size();
    double sum = 0.0;
    for (int k = 0; k < n; ++k) sum += l.re[k];
    const double mean = sum / n;
    double squares = 0.0, deviations = 0.0;
    for (int k = 0; k < n; ++k) {
        const double d = l.re[k] - mean;
        squares += d * d;
        deviations += d;
    }
    const double v = (squares - deviations * deviations / n) / n;
    return v < 0.0 ? 0.0 : v;
}

void store_scalar(double re, double im, TempRegister& result) {
    result.re = re;
    result.im = im;
    result.kind = RK_SCALAR;
}

}  // namespace

void perform_list_calculation(const Operation& op, int operand1, int operand2,
                              const double scalars[2], TempRegister& result) {
    ListValue& a = g_operand_1;
    ListValue& b = g_operand_2;
    ListValue& r = g_result_slot;
    const bool loaded_1 = load_list_operand(operand1, a);
    const bool loaded_2 = load_list_operand(operand2, b);
    if (!loaded_1 || !loaded_2) return;
    const int n = operand1 >= 0 ? a.size() : 0;
    const int id = op.info.id;

    clear_fp_flags();
    bool list_result = false;
    double re = 0.0, im = 0.0;
    switch (id) {
        case OP_STORE: {
            // Lists are stored into LA..LJ only (memory indexes 100..109);
            // the answer list is written by the evaluator.
            const int target = op.param;
            if (target < MEM_LIST_FIRST || target > MEM_LAST) {
                raise_error(ERR_DATA_TYPE, "E4", "");
                return;
            }
            g_lists[target - MEM_LIST_FIRST] = a;
            g_lists[target - MEM_LIST_FIRST].defined = true;
            r = a;
            list_result = true;
            break;
        }
        case L_MAX: case L_MIN: {
            if (!needs_elements(n) || !needs_real(a)) return;
            re = a.re[0];
            for (int k = 1; k < n; ++k)
                if (id == L_MAX ? a.re[k] > re : a.re[k] < re) re = a.re[k];
            break;
        }
        case L_MEAN: {
            if (!needs_elements(n)) return;
            for (int k = 0; k < n; ++k) {
                re += a.re[k];
                im += a.im[k];
            }
            re /= n;
            im /= n;
            break;
        }
        case L_MEDIAN: {
            if (!needs_elements(n) || !needs_real(a)) return;
            r = a;
            selection_sort(r, true);
            re = n % 2 ? r.re[n / 2] : (r.re[n / 2 - 1] + r.re[n / 2]) / 2.0;
            break;
        }
        case L_PROD: {
            Complex p{1.0, 0.0};
            for (int k = 0; k < n; ++k) p = c_mul(p, Complex{a.re[k], a.im[k]});
            re = p.re;
            im = p.im;
            break;
        }
        case L_SUM:
            for (int k = 0; k < n; ++k) {
                re += a.re[k];
                im += a.im[k];
            }
            break;
        case L_STDDEV: case L_VARIANCE: {
            if (!needs_elements(n) || !needs_real(a)) return;
            const double v = variance_of(a);
            re = id == L_STDDEV ? std::sqrt(v) : v;
            break;
        }
        case L_CUMSUM: {
            double sr = 0.0, si = 0.0;
            empty_list(r);
            for (int k = 0; k < n; ++k) {
                sr += a.re[k];
                si += a.im[k];
                r.re[k] = sr;
                r.im[k] = si;
            }
            r.last = n - 1;
            list_result = true;
            break;
        }
        case L_SORTA: case L_SORTD:
            if (!needs_real(a)) return;
            r = a;
            selection_sort(r, id == L_SORTA);
            list_result = true;
            break;
        case L_AUGLIST: {
            const int m = b.size();
            if (n + m > LIST_MAX) {
                raise_error(ERR_LIST_SIZE, "list is too big", kFn);
                return;
            }
            empty_list(r);
            for (int k = 0; k < n; ++k) {
                r.re[k] = a.re[k];
                r.im[k] = a.im[k];
            }
            for (int k = 0; k < m; ++k) {
                r.re[n + k] = b.re[k];
                r.im[n + k] = b.im[k];
            }
            r.last = n + m - 1;
            list_result = true;
            break;
        }
        case L_FILL: {
            const int size = int_in_range(scalars[0], 1, LIST_MAX, ERR_LIST_SIZE);
            if (error_pending()) return;
            empty_list(r);
            for (int k = 0; k < size; ++k) r.re[k] = scalars[1];
            r.last = size - 1;
            list_result = true;
            break;
        }
        case L_DELTALIST:
            empty_list(r);
            for (int k = 0; k + 1 < n; ++k) {
                r.re[k] = a.re[k + 1] - a.re[k];
                r.im[k] = a.im[k + 1] - a.im[k];
            }
            r.last = n > 0 ? n - 2 : -1;
            list_result = true;
            break;
        case L_LISTSIZE:
            re = n;
            break;
        case L_LISTRESIZE: {
            const int size = int_in_range(scalars[1], 1, LIST_MAX, ERR_LIST_SIZE);
            if (error_pending()) return;
            empty_list(r);
            for (int k = 0; k < size && k < n; ++k) {
                r.re[k] = a.re[k];
                r.im[k] = a.im[k];
            }
            r.last = size - 1;
            list_result = true;
            break;
        }
        case L_REVERSE:
            empty_list(r);
            for (int k = 0; k < n; ++k) {
                r.re[k] = a.re[n - 1 - k];
                r.im[k] = a.im[n - 1 - k];
            }
            r.last = n - 1;
            list_result = true;
            break;
        case L_POS:
            for (int k = 0; k < n; ++k)
                if (a.re[k] == scalars[1] && a.im[k] == 0.0) re = k + 1;
            break;
        case L_TOX: case L_TOY:
            g_stats_column_hook(id == L_TOX ? 0 : 1, a);
            if (error_pending()) return;
            r = a;
            list_result = true;
            break;
        case L_LTOM: {
            // A list becomes a column: n rows, one column.
            if (!needs_elements(n)) return;
            if (!needs_real(a)) return;
            Matrix& m = g_matrix_slot;
            clear_matrix(m);
            for (int k = 0; k < n; ++k) m.e[k][0] = a.re[k];
            m.last_row = n - 1;
            m.last_column = 0;
            m.defined = true;
            if (fpieee_handler()) return;
            store_matrix_result(m, result);
            return;
        }
        default:
            raise_error(ERR_DATA_TYPE, "E5", "");
            return;
    }
    if (fpieee_handler()) return;
    if (list_result) store_list_result(r, result);
    else store_scalar(re, im, result);
}

void elementwise_list_operation(const Operation& op, const ConstantValue* args, int count,
                                TempRegister& result) {
    const char* fn = "pre_process_function";
    // Every list is read first, so that each temporary register is given
    // back whatever is refused afterwards.
    bool loaded = true, matrix = false;
    for (int k = 0; k < count && k < MAX_PARAMS; ++k) {
        if (args[k].list >= 0) loaded &= load_list_operand(args[k].list, g_arguments[k]);
        if (args[k].matrix >= 0) {
            release_object_operand(args[k].matrix, false);
            matrix = true;
        }
    }
    if (!loaded) return;
    const int kind = op.info.kind;
    const bool is_fn = kind == KIND_FUNCTION || kind == KIND_MULTI_FUNCTION;
    const FunctionSignature* sig = nullptr;
    if (is_fn) {
        sig = find_signature(op.info.id);
        if (!sig) {
            raise_error(ERR_UNEXPECTED, "Function not found", fn);
            return;
        }
        if (count != sig->count || count > 2) {
            raise_error(ERR_ARG_COUNT, "Number of arguments is incorrect", fn);
            return;
        }
    }
    if (matrix) {
        if (is_fn) raise_error(ERR_ARG_TYPE, "Argument type not correct", fn);
        else raise_error(ERR_DATA_TYPE, "E5", "");
        return;
    }
    if (count < 1 || count > 2) {
        raise_error(ERR_UNEXPECTED, "Operator attribute not set correctly", kFn);
        return;
    }
    auto real_only = [&](int k) { return sig && sig->types[k] == ARG_REAL; };
    int n = -1;
    for (int k = 0; k < count; ++k) {
        if (args[k].list >= 0) {
            const int size = g_arguments[k].size();
            if (n >= 0 && size != n) {
                raise_error(ERR_LIST_SIZE, "lists differ in size", kFn);
                return;
            }
            n = size;
        } else if (real_only(k) && args[k].im != 0.0) {
            raise_error(ERR_ARG_TYPE, "Argument type not correct", fn);
            return;
        }
    }
    if (n < 0) n = 0;
    ListValue& r = g_result_slot;
    empty_list(r);
    for (int e = 0; e < n; ++e) {
        Complex x[2];
        for (int k = 0; k < count; ++k) {
            if (args[k].list >= 0) x[k] = Complex{g_arguments[k].re[e], g_arguments[k].im[e]};
            else x[k] = Complex{args[k].re, args[k].im};
            if (real_only(k) && x[k].im != 0.0) {
                raise_error(ERR_ARG_TYPE, "Argument type not correct", fn);
                return;
            }
        }
        Complex out{0.0, 0.0};
        if (!apply_scalar_operation(op, x, count, out)) return;
        r.re[e] = out.re;
        r.im[e] = out.im;
    }
    r.last = n - 1;
    store_list_result(r, result);
}

}  // namespace qx

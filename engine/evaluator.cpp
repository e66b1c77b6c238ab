#include "engine/evaluator.h"

#include <cmath>
#include <cstring>

#include "engine/basen.h"
#include "engine/errors.h"
#include "engine/functions.h"
#include "engine/hooks.h"
#include "engine/memory.h"
#include "engine/scalar.h"

namespace qx {

TempRegister g_registers[TEMP_REGISTERS];
CompiledExpression g_compiled;
bool g_plot_context = false;
int g_last_result_kind = RK_SCALAR;
int g_cancel_counter = 0;

namespace {

// Compile-phase working state.
PreparedExpression g_prep;
ExprItem g_scratch[MAX_ITEMS];
EvalElement g_elements[MAX_ELEMENTS];
int g_element_count;
EvalOperator g_oprec[MAX_OPERATORS];
int g_oprec_count;
int g_deferred[MAX_OPERATORS];
int g_deferred_count;
CompiledExpression* g_out;

// Run-phase working state.
const Operation* g_current_op;
enum VarStatus { VAR_IDLE = 0, VAR_ITERATING = 1, VAR_FINISHED = 2 };
int g_var_status[MAX_OPERATORS];
// Repetition of a var function: after its first step only the operations of
// its expression change; the other arguments were taken at the first step.
// g_skip_on_repeat marks the argument operations to leave out, and
// g_expression_comma the comma whose left operand is the expression's value
// (-1: repeat the whole bracket).
bool g_skip_on_repeat[MAX_OPERATORS];
int g_expression_comma[MAX_OPERATORS];
FunctionParameter g_var_params[MAX_OPERATORS][MAX_PARAMS];
int g_var_param_count[MAX_OPERATORS];
int g_var_variable[MAX_OPERATORS];
bool g_sample_failed[MAX_OPERATORS];
bool g_var_again;

const char* const kFn = "Evaluate_Input";

std::uint64_t g_pow50[11];
bool g_pow50_ready = false;

void init_pow50() {
    g_pow50[0] = 1;
    for (int k = 1; k <= 10; ++k) g_pow50[k] = g_pow50[k - 1] * 50;
    g_pow50_ready = true;
}

std::uint64_t place(int depth) { return depth <= 10 ? g_pow50[10 - depth] : 0; }

bool starts_term(const ExprItem& y) {
    if (y.item_class != IC_OPERATOR) return false;
    int k = operator_info(y.op_id).kind;
    return k == KIND_PREFIX || k == KIND_MULTI_FUNCTION || k == KIND_FUNCTION ||
           k == KIND_VAR_FUNCTION;
}

bool is_function(int op_id) {
    int k = operator_info(op_id).kind;
    return k == KIND_MULTI_FUNCTION || k == KIND_FUNCTION || k == KIND_VAR_FUNCTION;
}

ExprItem implicit_multiply(int op_id) {
    ExprItem m = blank_item(IC_OPERATOR, VS_NONE);
    m.op_id = op_id;
    copy_bounded(m.text, "*", TEXT_SIZE);
    return m;
}

// Copies the scratch list back as the prepared items.
void adopt_scratch(int n) {
    std::memcpy(g_prep.items, g_scratch, sizeof(ExprItem) * n);
    g_prep.count = n;
}

bool push_scratch(int& n, const ExprItem& item) {
    if (n >= MAX_ITEMS) {
        raise_error(ERR_MEMORY, "Exceeded array limit", "Pre_Process_Expression");
        return false;
    }
    g_scratch[n++] = item;
    return true;
}

void Pre_Process_Expression() {
    int n = 0;
    for (int k = 0; k < g_prep.count; ++k) {
        const ExprItem& x = g_prep.items[k];
        if (x.item_class == IC_NUMBER && k + 1 < g_prep.count &&
            g_prep.items[k + 1].item_class == IC_NUMBER) {
            raise_error(ERR_SYNTAX, "Constants are side by side", "Pre_Process_Expression");
            return;
        }
        if (!push_scratch(n, x)) return;
        if (x.item_class == IC_OPERATOR && is_function(x.op_id)) {
            ExprItem open = blank_item(IC_OPEN, VS_NONE);
            open.bracket = 1;
            copy_bounded(open.text, "(", TEXT_SIZE);
            if (!push_scratch(n, open)) return;
        }
    }
    adopt_scratch(n);

    n = 0;
    for (int k = 0; k < g_prep.count; ++k) {
        const ExprItem& x = g_prep.items[k];
        if (!push_scratch(n, x)) return;
        if (k + 1 >= g_prep.count) break;
        const ExprItem& y = g_prep.items[k + 1];
        bool term = starts_term(y);
        bool y_value = y.item_class == IC_VALUE, y_number = y.item_class == IC_NUMBER,
             y_open = y.item_class == IC_OPEN;
        bool insert = false;
        if (x.item_class == IC_NUMBER) {
            insert = y_value || y_open || term;
        } else if (x.item_class == IC_VALUE || x.item_class == IC_CLOSE) {
            insert = y_number || y_open || y_value || term;
        } else if (x.item_class == IC_OPERATOR &&
                   operator_info(x.op_id).kind == KIND_POSTFIX) {
            insert = y_number || y_value || y_open || term;
        }
        if (insert && !push_scratch(n, implicit_multiply(term ? OP_MUL_TERM : OP_MUL_IMPLICIT)))
            return;
    }
    adopt_scratch(n);
}

bool add_element(const ExprItem& item, int index, std::uint64_t key, int group_id, int var_group,
                 EvalElement** out) {
    if (g_element_count >= MAX_ELEMENTS) {
        raise_error(ERR_MEMORY, "Exceeded array limit", "Evaluate_Expression");
        return false;
    }
    EvalElement& e = g_elements[g_element_count++];
    e.is_operator = item.item_class == IC_OPERATOR ? 2 : 0;
    e.subclass = item.item_class == IC_NUMBER ? VS_CONSTANT : item.subclass;
    e.op_id = item.op_id;
    e.value = item.value;
    e.param = item.param;
    e.stat_index = item.stat_index;
    e.group_id = group_id;
    e.key = key;
    e.end_key = key;
    e.var_group = var_group;
    e.item = index;
    *out = &e;
    return true;
}

bool add_operator_record(std::uint64_t key, std::uint64_t end_key) {
    if (g_oprec_count >= MAX_OPERATORS) {
        raise_error(ERR_MEMORY, "Exceeded array limit", "Evaluate_Expression");
        return false;
    }
    EvalOperator& o = g_oprec[g_oprec_count++];
    o.element = g_element_count - 1;
    o.result_reg = -1;
    o.consumer = -1;
    o.key = key;
    o.end_key = end_key;
    return true;
}

void Evaluate_Expression() {
    const char* fn = "Evaluate_Expression";
    if (g_prep.count == 0) {
        raise_error(ERR_SYNTAX, "Nothing to evaluate", fn);
        return;
    }
    if (!g_pow50_ready) init_pow50();
    std::uint64_t counter[MAX_DEPTH + 2] = {};
    int bracket_stack[MAX_DEPTH + 2];
    struct Fn { int depth, group_id; } fn_stack[MAX_FUNCTION_GROUPS];
    int fn_top = 0;
    struct Var { int group_id; std::uint64_t arg_key; } var_stack[MAX_FUNCTION_GROUPS];
    int var_top = 0;
    int depth = 0, current_group = -1, current_var = -1, next_group = 0;
    bool closed_at_top = false;
    auto key_at = [&](int d) {
        std::uint64_t k = 0;
        for (int j = 0; j < d && j <= MAX_DEPTH; ++j) k += counter[j] * place(j);
        return k;
    };

    for (int idx = 0; idx < g_prep.count; ++idx) {
        const ExprItem& item = g_prep.items[idx];
        EvalElement* e = nullptr;
        switch (item.item_class) {
            case IC_OPEN:
                if (depth + 1 <= MAX_DEPTH) ++counter[depth];
                if (depth <= MAX_DEPTH) bracket_stack[depth] = item.bracket;
                ++depth;
                break;
            case IC_CLOSE:
                if (depth == 0) {
                    closed_at_top = true;
                    break;
                }
                if (depth - 1 <= MAX_DEPTH && bracket_stack[depth - 1] != item.bracket) {
                    raise_error(ERR_PAREN_UNBALANCED, "Parenthesis problem", fn);
                    return;
                }
                --depth;
                if (fn_top > 0 && fn_stack[fn_top - 1].depth == depth) {
                    int closing = fn_stack[--fn_top].group_id;
                    // A var function whose bracket ends without a comma (the
                    // one-argument plot forms) stops owning what follows.
                    if (var_top > 0 && var_stack[var_top - 1].group_id == closing) {
                        --var_top;
                        current_var = var_top > 0 ? var_stack[var_top - 1].group_id : -1;
                    }
                    current_group = fn_top > 0 ? fn_stack[fn_top - 1].group_id : -1;
                }
                break;
            case IC_NUMBER:
            case IC_VALUE:
                if (!add_element(item, idx, key_at(depth), current_group, current_var, &e)) return;
                break;
            case IC_OPERATOR: {
                const OperatorInfo& info = operator_info(item.op_id);
                if (is_function(item.op_id)) {
                    if (next_group >= MAX_FUNCTION_GROUPS) {
                        raise_error(ERR_MEMORY, "Exceeded array limit", fn);
                        return;
                    }
                    int gid = next_group++;
                    std::uint64_t base = key_at(depth);
                    std::uint64_t following = base + (counter[depth] + 1) * place(depth);
                    std::uint64_t after = base + (counter[depth] + 2) * place(depth);
                    if (!add_element(item, idx, following, gid, current_var, &e)) return;
                    e->end_key = after;
                    if (!add_operator_record(following, after)) return;
                    fn_stack[fn_top++] = Fn{depth, gid};
                    current_group = gid;
                    if (info.kind == KIND_VAR_FUNCTION) {
                        var_stack[var_top++] = Var{gid, following};
                        current_var = gid;
                    }
                } else {
                    std::uint64_t k = key_at(depth);
                    if (item.op_id == OP_COMMA && var_top > 0 &&
                        k == var_stack[var_top - 1].arg_key) {
                        --var_top;
                        current_var = var_top > 0 ? var_stack[var_top - 1].group_id : -1;
                    }
                    if (!add_element(item, idx, k, current_group, current_var, &e)) return;
                    if (!add_operator_record(k, k)) return;
                }
                break;
            }
            default:
                raise_error(ERR_UNEXPECTED, "Item not supported", fn);
                return;
        }
        if (depth > MAX_DEPTH) {
            raise_error(ERR_PAREN_LEVEL, "Parenthesis nesting level exceeded", fn);
            return;
        }
        if (closed_at_top) break;
    }
    if (depth != 0 || closed_at_top) {
        raise_error(ERR_PAREN_UNBALANCED, "Parenthesis unbalanced", fn);
        return;
    }
    if (g_element_count == 0) raise_error(ERR_SYNTAX, "Nothing to evaluate", fn);
    g_out->group_count = next_group;
}

enum OperandState { OPERAND_READY, OPERAND_NOT_READY, OPERAND_FAILED };

OperandState Get_Operand(int i, int s, OperandDesc& out, int& from_operator) {
    from_operator = -1;
    int el = g_oprec[i].element + s;
    if (el < 0 || el >= g_element_count) {
        raise_error(ERR_SYNTAX, "Missing operand", "Get_Operand");
        return OPERAND_FAILED;
    }
    int j = i + s;
    if (j >= 0 && j < g_oprec_count && g_oprec[j].result_reg != -1) {
        while (g_oprec[j].consumer != -1) j = g_oprec[j].consumer;
        out = OperandDesc{true, g_oprec[j].result_reg, 0, 0.0, 0, NO_STAT};
        from_operator = j;
        return OPERAND_READY;
    }
    const EvalElement& e = g_elements[el];
    if (e.is_operator) return OPERAND_NOT_READY;
    out = OperandDesc{false, -1, e.subclass, e.value, e.param, e.stat_index};
    return OPERAND_READY;
}

// Returns false while an operand is still waiting for its operator.
bool Expression_process_1(int i) {
    const EvalElement& el = g_elements[g_oprec[i].element];
    const OperatorInfo& info = operator_info(el.op_id);
    OperandDesc operand[2];
    int source[2] = {-1, -1};
    int count = 0;
    OperandState st;
    switch (info.kind) {
        case KIND_BINARY:
            st = Get_Operand(i, -1, operand[0], source[0]);
            if (st != OPERAND_READY) return st == OPERAND_FAILED;
            st = Get_Operand(i, +1, operand[1], source[1]);
            if (st != OPERAND_READY) return st == OPERAND_FAILED;
            count = 2;
            break;
        case KIND_PREFIX:
        case KIND_MULTI_FUNCTION:
        case KIND_FUNCTION:
        case KIND_VAR_FUNCTION:
            st = Get_Operand(i, +1, operand[0], source[0]);
            if (st != OPERAND_READY) return st == OPERAND_FAILED;
            count = 1;
            break;
        case KIND_POSTFIX:
            st = Get_Operand(i, -1, operand[0], source[0]);
            if (st != OPERAND_READY) return st == OPERAND_FAILED;
            count = 1;
            break;
        default:
            raise_error(ERR_UNEXPECTED, "Operator attribute not set correctly",
                        "Expression_process_1");
            return true;
    }
    for (int k = 0; k < count; ++k) {
        if (source[k] < 0) continue;
        Temp_Register_Handler(g_oprec[source[k]].result_reg, false);
        g_oprec[source[k]].consumer = i;
    }
    int reg = Temp_Register_Handler(0, true);
    if (reg < 0) return true;
    g_oprec[i].result_reg = reg;

    if (g_out->op_count >= MAX_OPERATORS) {
        raise_error(ERR_MEMORY, "Exceeded array limit", "Expression_process_1");
        return true;
    }
    Operation& op = g_out->ops[g_out->op_count++];
    const ExprItem& item = g_prep.items[el.item];
    op.info = info;
    op.operand[0] = operand[0];
    op.operand[1] = count > 1 ? operand[1] : OperandDesc{false, -1, 0, 0.0, 0, NO_STAT};
    op.operand_count = count;
    op.result_reg = reg;
    op.param = el.param;
    op.group_id = el.group_id;
    op.var_group = el.var_group;
    op.recursion_index = -1;
    op.integer_op = (info.flags & FLAG_I) != 0;
    op.key = el.key;
    op.end_key = el.end_key;
    op.unit[0] = item.unit_factor_from;
    op.unit[1] = item.unit_offset_from;
    op.unit[2] = item.unit_factor_to;
    op.unit[3] = item.unit_offset_to;
    copy_bounded(op.text, item.text, TEXT_SIZE);
    return true;
}

void retry_deferred() {
    bool progress = true;
    while (progress && g_deferred_count > 0 && !error_pending()) {
        progress = false;
        for (int k = 0; k < g_deferred_count && !error_pending(); ++k) {
            if (Expression_process_1(g_deferred[k])) {
                for (int j = k + 1; j < g_deferred_count; ++j) g_deferred[j - 1] = g_deferred[j];
                --g_deferred_count;
                --k;
                progress = true;
            }
        }
    }
}

void Expression_process_0() {
    if (g_oprec_count == 0) {
        if (g_element_count != 1 || g_elements[0].is_operator) {
            raise_error(ERR_SYNTAX, "Expression with single item did not contain a constant",
                        "Expression_process_0");
            return;
        }
        const EvalElement& e = g_elements[0];
        g_out->single_value = true;
        g_out->single = OperandDesc{false, -1, e.subclass, e.value, e.param, e.stat_index};
        return;
    }
    bool level_used[HIGHEST_LEVEL + 1] = {};
    for (int k = 0; k < g_oprec_count; ++k)
        level_used[operator_info(g_elements[g_oprec[k].element].op_id).precedence] = true;

    g_deferred_count = 0;
    bool have_previous = false;
    std::uint64_t previous = 0;
    for (;;) {
        // The largest group key below the previous round's.
        bool found = false;
        std::uint64_t key = 0;
        for (int k = 0; k < g_oprec_count; ++k) {
            std::uint64_t kk = g_oprec[k].key;
            if (have_previous && kk >= previous) continue;
            if (!found || kk > key) {
                key = kk;
                found = true;
            }
        }
        if (!found) break;
        for (int level = 0; level <= HIGHEST_LEVEL; ++level) {
            if (!level_used[level]) continue;
            bool rtl = level_is_right_to_left(level);
            for (int n = 0; n < g_oprec_count; ++n) {
                int k = rtl ? g_oprec_count - 1 - n : n;
                if (g_oprec[k].key != key) continue;
                if (operator_info(g_elements[g_oprec[k].element].op_id).precedence != level)
                    continue;
                retry_deferred();
                if (error_pending()) return;
                if (!Expression_process_1(k)) g_deferred[g_deferred_count++] = k;
                if (error_pending()) return;
            }
        }
        previous = key;
        have_previous = true;
        if (key == 0) break;
    }
    retry_deferred();
    if (!error_pending() && g_deferred_count > 0)
        raise_error(ERR_SYNTAX, "Unprocessed undone operators", "Expression_process_0");
}

void Build_Var_Function_Recursion_Index() {
    CompiledExpression& c = *g_out;
    for (int g = 0; g < MAX_FUNCTION_GROUPS; ++g) c.var_op_of_group[g] = -1;
    for (int i = 0; i < c.op_count; ++i) {
        const Operation& op = c.ops[i];
        if (op.info.kind != KIND_VAR_FUNCTION) continue;
        if (op.group_id >= 0 && op.group_id < MAX_FUNCTION_GROUPS) c.var_op_of_group[op.group_id] = i;
    }
    for (int i = c.op_count - 1; i >= 0; --i) {
        Operation& op = c.ops[i];
        if (op.info.kind != KIND_VAR_FUNCTION) continue;
        int depth = 0;
        for (int j = 0; j < c.op_count; ++j) {
            const Operation& outer = c.ops[j];
            if (j == i || outer.info.kind != KIND_VAR_FUNCTION) continue;
            if (outer.key <= op.key && op.key < outer.end_key && outer.key != op.key) ++depth;
        }
        if (depth >= MAX_VAR_NESTING) {
            raise_error(ERR_FUNCTION_NEST, "To many nested var functions",
                        "Build_Var_Function_Recursion_Index");
            return;
        }
        op.recursion_index = depth;
    }
}

void clear_registers() {
    for (TempRegister& r : g_registers) r = TempRegister{0.0, 0.0, RK_SCALAR, -1, false};
}

bool hard_error(int code) {
    switch (code) {
        case ERR_OVERFLOW: case ERR_OVERFLOW_1: case ERR_SYNTAX: case ERR_MEMORY:
        case ERR_UNEXPECTED: case ERR_ARG_COUNT: case ERR_ARG_TYPE: case ERR_CANCELED:
        case ERR_NEST_FNINT: case ERR_PAREN_LEVEL: case ERR_PAREN_UNBALANCED:
        case ERR_FUNCTION_NEST:
            return true;
        default:
            return false;
    }
}

}  // namespace

int Temp_Register_Handler(int index, bool allocate) {
    const char* fn = "Temp_Register_Handler";
    if (allocate) {
        for (int k = 0; k < TEMP_REGISTERS; ++k) {
            if (!g_registers[k].in_use) {
                g_registers[k].in_use = true;
                g_registers[k].kind = RK_SCALAR;
                return k;
            }
        }
        raise_error(ERR_MEMORY, "Reached temp register count limit", fn);
        return -1;
    }
    if (index < 0 || index >= TEMP_REGISTERS) {
        raise_error(ERR_SYNTAX, "Trying to de-allocate a temporary register with an invalid index",
                    fn);
        return -1;
    }
    if (!g_registers[index].in_use) {
        raise_error(ERR_SYNTAX, "Trying to de-allocate an unallocated temp register", fn);
        return -1;
    }
    g_registers[index].in_use = false;
    return index;
}

void compile_expression(const TokenCode* tokens, int count, CompiledExpression& out) {
    g_out = &out;
    out.op_count = 0;
    out.single_value = false;
    out.failed = false;
    out.group_count = 0;
    g_element_count = 0;
    g_oprec_count = 0;
    clear_registers();
    bool was_pending = error_pending();

    reset_prepared(g_prep);
    for (int k = 0; k < count && !error_pending(); ++k) token_to_item(g_prep, tokens[k]);
    if (!error_pending()) finish_items(g_prep);
    if (!error_pending()) Pre_Process_Expression();
    if (!error_pending()) Evaluate_Expression();
    if (!error_pending()) Expression_process_0();
    if (!error_pending()) Build_Var_Function_Recursion_Index();
    if (!error_pending()) {
        for (int k = 1; k < TEMP_REGISTERS; ++k) {
            if (g_registers[k].in_use) {
                raise_error(ERR_SYNTAX, "Temp register still in use", kFn);
                break;
            }
        }
    }
    if (error_pending() && !was_pending) {
        out.failed = true;
        out.error_code = error_code();
        copy_bounded(out.error_detail, error_detail(), TEXT_SIZE);
    }
}

const Operation& current_operation() { return *g_current_op; }

namespace {
const CompiledExpression* g_running;
}

// Called by the scalar executor for a var function operation.
void step_var_function(const FunctionParameter* params, int count, int variable, TempRegister& out) {
    const Operation& op = *g_current_op;
    int index = static_cast<int>(&op - g_running->ops);
    VarStepCall call;
    call.op_id = op.info.id;
    call.recursion_index = op.recursion_index;
    call.first_call = g_var_status[index] != VAR_ITERATING;
    call.params = params;
    call.param_count = count;
    call.variable = variable;
    call.value_re = count > 0 ? params[0].re : 0.0;
    call.value_im = count > 0 ? params[0].im : 0.0;
    call.sample_failed = g_sample_failed[index];
    call.plot_context = g_plot_context;
    if (call.first_call) {
        int n = count < MAX_PARAMS ? count : MAX_PARAMS;
        for (int k = 0; k < n; ++k) g_var_params[index][k] = params[k];
        g_var_param_count[index] = n;
        g_var_variable[index] = variable;
    }
    g_sample_failed[index] = false;
    g_var_status[index] = VAR_ITERATING;
    VarStepResult r = g_hooks.var_function_step(call);
    if (r.again && !error_pending()) {
        g_var_again = true;
        return;
    }
    g_var_status[index] = VAR_FINISHED;
    out.re = r.re;
    out.im = r.im;
    out.kind = r.kind;
    out.ref = r.ref;
}

void run_operations(const CompiledExpression& expr);

namespace {
// Whether operation k belongs to the expression of the var function whose
// group is `group`: its own var group is that group, or it sits in the
// expression of a var function that does.
bool in_expression(const CompiledExpression& expr, int k, int group) {
    int g = expr.ops[k].var_group;
    for (int depth = 0; depth <= MAX_VAR_NESTING && g >= 0 && g < MAX_FUNCTION_GROUPS; ++depth) {
        if (g == group) return true;
        int owner = expr.var_op_of_group[g];
        if (owner < 0) return false;
        g = expr.ops[owner].var_group;
    }
    return false;
}

int g_range_start[MAX_OPERATORS];
bool g_comma_unfed[MAX_OPERATORS];   // its expression was left out this pass

// Before its first step a var function has not set its variable: its
// expression is left out of that pass (its value would belong to the
// variable's old value and is never used).
void mark_first_pass(const CompiledExpression& expr, int at) {
    int comma = g_expression_comma[at];
    if (comma < 0) return;
    for (int k = g_range_start[at]; k < at; ++k)
        if (in_expression(expr, k, expr.ops[at].group_id)) g_skip_on_repeat[k] = true;
    g_comma_unfed[comma] = true;
}

// Range and expression comma of every var function, then the first pass.
void prepare_var_functions(const CompiledExpression& expr) {
    for (int i = 0; i < expr.op_count; ++i) {
        g_skip_on_repeat[i] = false;
        g_comma_unfed[i] = false;
        g_expression_comma[i] = -1;
        const Operation& fn = expr.ops[i];
        if (fn.info.kind != KIND_VAR_FUNCTION) continue;
        int start = i;
        while (start > 0 && expr.ops[start - 1].key >= fn.key && expr.ops[start - 1].key < fn.end_key)
            --start;
        g_range_start[i] = start;
        for (int k = start; k < i; ++k) {
            const Operation& o = expr.ops[k];
            // The bracket's commas run right to left: the last one holds the
            // expression on its left.
            if (o.info.id == OP_COMMA && o.group_id == fn.group_id) g_expression_comma[i] = k;
        }
    }
    for (int i = 0; i < expr.op_count; ++i)
        if (expr.ops[i].info.kind == KIND_VAR_FUNCTION) mark_first_pass(expr, i);
}

// The var function at `at` repeats the operations [start, at): keep those
// of its expression, leave out its other arguments; var functions inside
// the expression start afresh, again without their expression at first.
void mark_repetition(const CompiledExpression& expr, int start, int at) {
    const Operation& fn = expr.ops[at];
    int comma = g_expression_comma[at];
    for (int k = start; k < at; ++k)
        g_skip_on_repeat[k] = comma >= 0 && !in_expression(expr, k, fn.group_id);
    if (comma >= 0) g_comma_unfed[comma] = false;
    for (int k = start; k < at; ++k)
        if (expr.ops[k].info.kind == KIND_VAR_FUNCTION) mark_first_pass(expr, k);
}
}  // namespace

void run_expression(const CompiledExpression& expr) {
    run_operations(expr);
    if (error_pending()) g_hooks.var_functions_abandoned();
}

void run_operations(const CompiledExpression& expr) {
    g_running = &expr;
    for (TempRegister& r : g_registers) {
        r.re = 0.0;
        r.im = 0.0;
        r.kind = RK_SCALAR;
    }
    reset_parameter_store();
    reset_scalar_run_state();
    g_hooks.begin_object_run();
    g_current_op = nullptr;
    if (expr.failed) {
        raise_error(expr.error_code, expr.error_detail, kFn);
        return;
    }
    if (expr.single_value) {
        const OperandDesc& d = expr.single;
        ConstantValue v = get_constant(d.subclass, d.value, d.param, d.stat_index);
        TempRegister& r0 = g_registers[0];
        if (v.matrix >= 0) {
            r0.kind = RK_MATRIX;
            g_hooks.single_object_result(RK_MATRIX, v.matrix, &r0);
        } else if (v.list >= 0) {
            // A lone list name is the whole list, never its first element.
            r0.kind = RK_LIST;
            g_hooks.single_object_result(RK_LIST, v.list, &r0);
        } else {
            r0.re = v.re;
            r0.im = v.im;
            r0.kind = RK_SCALAR;
        }
        return;
    }
    for (int i = 0; i < expr.op_count; ++i) {
        g_var_status[i] = VAR_IDLE;
        g_sample_failed[i] = false;
    }
    prepare_var_functions(expr);
    int pc = 0;
    while (pc < expr.op_count) {
        if (g_skip_on_repeat[pc]) {
            ++pc;
            continue;
        }
        const Operation& op = expr.ops[pc];
        g_current_op = &op;
        g_var_again = false;
        if (g_comma_unfed[pc] && op.operand[0].is_register) {
            // The left-out expression wrote nothing: hand the first step a
            // plain 0, never a stale register.
            g_registers[op.operand[0].reg].re = 0.0;
            g_registers[op.operand[0].reg].im = 0.0;
            g_registers[op.operand[0].reg].kind = RK_SCALAR;
        }
        if (op.info.kind == KIND_VAR_FUNCTION && g_var_status[pc] == VAR_ITERATING &&
            g_expression_comma[pc] >= 0) {
            // Repetition: the arguments are those of the first step, the
            // expression's value is the left operand of its comma.
            FunctionParameter* p = g_var_params[pc];
            ConstantValue v = fetch_operand(expr.ops[g_expression_comma[pc]].operand[0]);
            p[0] = FunctionParameter{v.re, v.im, v.memory, v.matrix, v.list};
            step_var_function(p, g_var_param_count[pc], g_var_variable[pc],
                              g_registers[op.result_reg]);
        } else if (op.integer_op) {
            perform_long_calculation(op);
        } else {
            perform_float_calculation(op);
        }
        int kind = op.info.kind;
        if (kind == KIND_MULTI_FUNCTION || kind == KIND_FUNCTION || kind == KIND_VAR_FUNCTION)
            release_parameters();

        if (error_pending()) {
            int owner = op.var_group >= 0 && op.var_group < MAX_FUNCTION_GROUPS
                            ? expr.var_op_of_group[op.var_group]
                            : -1;
            // Before its first step a var function has not set its variable
            // yet: a fault of the expression at the variable's old value
            // (even an overflow) says nothing and must not stop the run.
            bool not_started = owner >= 0 && g_var_status[owner] == VAR_IDLE &&
                               (error_code() == ERR_OVERFLOW || error_code() == ERR_OVERFLOW_1);
            if (owner >= 0 && g_var_status[owner] != VAR_FINISHED &&
                (not_started || !hard_error(error_code()))) {
                // The numerical method sees a failed sample, never a stale value.
                clear_error();
                TempRegister& r = g_registers[op.result_reg];
                r.re = std::nan("");
                r.im = 0.0;
                r.kind = RK_SCALAR;
                g_sample_failed[owner] = true;
                ++pc;
                continue;
            }
            return;
        }
        if (g_cancel_counter > 500) {
            g_cancel_counter = 0;
            if (cancel_check()) return;
        }
        ++g_cancel_counter;

        if (g_var_again) {
            int start = pc;
            while (start > 0 && expr.ops[start - 1].key >= op.key &&
                   expr.ops[start - 1].key < op.end_key)
                --start;
            // Inner var functions start afresh for the new value.
            for (int k = start; k < pc; ++k) {
                g_var_status[k] = VAR_IDLE;
                g_sample_failed[k] = false;
            }
            mark_repetition(expr, start, pc);
            pc = start;
            continue;
        }
        ++pc;
    }
}

void run_and_store(const CompiledExpression& expr) {
    reset_parameter_store();
    if (!error_pending()) run_expression(expr);
    if (!error_pending() && any_parameter_stored())
        raise_error(ERR_SYNTAX, "Function parameter still in use", "Evaluate_Input_2");
    if (error_pending()) return;
    const TempRegister& r0 = g_registers[0];
    g_last_result_kind = r0.kind;
    if (r0.kind != RK_SCALAR) {
        g_hooks.store_object_answer(r0);
    } else {
        g_ans.re = r0.re;
        g_ans.im = r0.im;
    }
    int waiting = g_hooks.program_input_variable();
    if (waiting >= 0) {
        if (r0.kind != RK_SCALAR) {
            raise_error(ERR_DATA_TYPE, "Operation should not have a matrix or list operand",
                        "Evaluate_Input_2");
            return;
        }
        memory_set(r0.re, 0, waiting);
        memory_set(r0.im, 1, waiting);
        g_hooks.program_input_taken();
    }
}

void Evaluate_Input(const TokenCode* tokens, int count) { compile_expression(tokens, count, g_compiled); }
void Evaluate_Input() { run_expression(g_compiled); }
void Evaluate_Input_2() { run_and_store(g_compiled); }

}  // namespace qx

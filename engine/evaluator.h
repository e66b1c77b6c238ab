// The two-phase evaluator: token arrays compile into an operation list that
// the run phase executes without allocating.
#pragma once
#include <cstdint>

#include "engine/tokens.h"

namespace qx {

constexpr int MAX_ELEMENTS = 100;
constexpr int MAX_OPERATORS = 100;
constexpr int TEMP_REGISTERS = 100;
constexpr int MAX_PARAMS = 6;
constexpr int MAX_DEPTH = 11;
constexpr int MAX_FUNCTION_GROUPS = 100;
constexpr int MAX_VAR_NESTING = 10;
// Matrix and list operands that live in a temporary register are named by
// their owner's temporary index plus this base (0..9 named, 10 the answer).
constexpr int OBJECT_TEMP_BASE = 11;

enum ResultKind { RK_SCALAR = 0, RK_MATRIX = 1, RK_LIST = 2 };

struct TempRegister {
    double re, im;
    int kind;     // ResultKind
    int ref;      // temporary matrix or list of their owner, for kinds 1 and 2
    bool in_use;
};

struct OperandDesc {
    bool is_register;
    int reg;
    int subclass;
    double value;
    int param;
    int stat_index;
};

struct Operation {
    OperatorInfo info;
    OperandDesc operand[2];
    int operand_count;
    int result_reg;
    int param;               // memory index of a store
    int group_id;            // function bracket whose parameters it uses
    int var_group;           // var function whose expression holds it, or -1
    int recursion_index;     // nesting level of a var function
    bool integer_op;
    std::uint64_t key, end_key;
    double unit[4];          // factor/offset from, factor/offset to (unit conversion)
    char text[TEXT_SIZE];
};

struct EvalElement {
    int is_operator;         // 0 value, 2 operator
    int subclass;
    int op_id;
    double value;
    int param;
    int stat_index;
    int group_id;
    std::uint64_t key, end_key;
    int var_group;
    int item;                // index of the item it came from
};

struct EvalOperator {
    int element;
    int result_reg;
    int consumer;
    std::uint64_t key, end_key;
};

struct FunctionParameter {
    double re, im;
    int memory, matrix, list;
};

struct CompiledExpression {
    Operation ops[MAX_OPERATORS];
    int op_count;
    bool single_value;
    OperandDesc single;
    bool failed;             // compile error, raised again by every run
    int error_code;
    char error_detail[TEXT_SIZE];
    int group_count;
    int var_op_of_group[MAX_FUNCTION_GROUPS];  // var function operation of a bracket
};

// The evaluation state the run phase works in.
extern TempRegister g_registers[TEMP_REGISTERS];
extern CompiledExpression g_compiled;
extern bool g_plot_context;   // set while plotting evaluates a slot
extern int g_last_result_kind;

// Compile into `out`; the error (if any) is raised and remembered in `out`.
void compile_expression(const TokenCode* tokens, int count, CompiledExpression& out);
// Executes a compiled expression; the result is left in register 0.
void run_expression(const CompiledExpression& expr);
// Runs and stores the result into Ans, M_Ans or L_Ans.
void run_and_store(const CompiledExpression& expr);

// The global-instance forms used by the input line and programs.
void Evaluate_Input(const TokenCode* tokens, int count);   // compile
void Evaluate_Input();                                      // run
void Evaluate_Input_2();                                    // run and store

int Temp_Register_Handler(int index, bool allocate);

// Helpers for the operators: parameters of the current function bracket.
void store_function_parameter(double re, double im, int memory, int matrix, int list);
int parameter_count();
const FunctionParameter* parameters();
void release_parameters();
const Operation& current_operation();

// One step of the current var function: either asks for its expression once
// more (the run loop repeats the bracket) or leaves the result in `out`.
void step_var_function(const FunctionParameter* params, int count, int variable, TempRegister& out);

// Operations executed since the last cancel check (kept across evaluations).
extern int g_cancel_counter;

}  // namespace qx

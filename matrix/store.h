// Where matrices and lists live: the ten named matrices and lists, the two
// answers, the temporary registers of one evaluation and the working slots;
// and the entry points the evaluator reaches through engine/hooks.h.
#pragma once
#include "engine/evaluator.h"
#include "engine/memory.h"
#include "matrix/types.h"

namespace qx {

extern Matrix g_matrices[NAMED_OBJECTS + 1];      // A..J, then M_Ans
extern ListValue g_lists[NAMED_OBJECTS + 1];      // A..J, then L_Ans
extern Matrix g_matrix_temps[OBJECT_TEMPS];
extern ListValue g_list_temps[OBJECT_TEMPS];

// Operand references: 0..9 the named objects, 10 the answer, 11..20 the
// temporary registers 0..9 (OBJECT_TEMP_BASE in engine/evaluator.h);
// negative for a scalar operand.
constexpr int OBJECT_REF_LIMIT = OBJECT_TEMP_BASE + OBJECT_TEMPS;

void clear_matrix(Matrix& m);
void clear_list(ListValue& l);
void clear_all_matrices();       // M Clr: A..J
void clear_all_lists();          // LA..LJ
void clear_answer_objects();     // AC: M_Ans and L_Ans

// Statistics data from a list: toX gives column 0, toY column 1.  The
// statistics subsystem fills it; until then the columns go nowhere.
extern void (*g_stats_column_hook)(int column, const ListValue& list);

// Temporary registers of the running evaluation.  A register is taken for
// each matrix or list result and given back when an operation reads it as
// an operand (every result is read once), and all are free when a run
// starts.  Allocation raises "Memory Limit Error" when all ten are taken.
int allocate_matrix_temp();
int allocate_list_temp();
void free_object_temps();
int matrix_temps_in_use();
int list_temps_in_use();

// Operand loads: copy the referenced object into a working slot and give
// back a temporary register it came from.  A negative reference loads
// nothing; false after an error (undefined object, bad reference).
bool load_matrix_operand(int ref, Matrix& slot);
bool load_list_operand(int ref, ListValue& slot);
// Gives back a temporary register without reading it (operands of a
// refused operation).
void release_object_operand(int ref, bool is_list);

// The evaluator's hand-over for an operation with matrix or list operands
// (or a matrix or list function): `operands` as the executor fetched them,
// the result goes into `result`.
void matrix_list_operation(const Operation& op, const ConstantValue* operands, int count,
                           TempRegister* result);

// The arithmetic behind it.  `scalars` are the scalar operand of an
// operator or the further arguments of a function in argument order;
// `two_operands` is set for a two-operand operator.
void perform_matrix_calculation(const Operation& op, int operand1, int operand2,
                                const double scalars[4], bool two_operands, TempRegister& result);
// `scalars[k]` is the value of argument k (the list arguments' places
// included), as the list functions name them by position.
void perform_list_calculation(const Operation& op, int operand1, int operand2,
                              const double scalars[2], TempRegister& result);
// An ordinary operator or scalar function with list operands, element by
// element.  `args` are the operands of the operator or the arguments of
// the function in written order: a list by its `list` reference, a scalar
// by its value.
void elementwise_list_operation(const Operation& op, const ConstantValue* args, int count,
                                TempRegister& result);

// A matrix or list result into a temporary register and the result slot.
void store_matrix_result(const Matrix& m, TempRegister& result);
void store_list_result(const ListValue& l, TempRegister& result);

// Fills the engine's hooks with this subsystem's work.
void install_matrix_engine_hooks();

}  // namespace qx

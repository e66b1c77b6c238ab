// Numerical calculus over an expression: fnInt, fnDeriv, fnMin, fnMax,
// fnRoot, fnEval, Summ, Prod and Seq.  The evaluator repeats the bracket of
// a var function and hands each value to the step routine installed here,
// which answers with the next point to evaluate at or with the result.
#pragma once

#include "engine/hooks.h"

namespace qx {

// Fills g_hooks.var_function_step and g_hooks.var_functions_abandoned.
void install_calculus_hooks();

// The step routine itself (one call per value of the expression).
VarStepResult calculus_step(const VarStepCall& call);
// Restores every variable a stopped run left changed and clears the marks.
void calculus_abandon();

// Introspection for tests and diagnostics.
int calculus_variable_depth();        // entries on the variable stack
bool calculus_fnint_active();
long calculus_sample_count();         // expression values handed to the steps
void calculus_reset_sample_count();

}  // namespace qx

// "Time Value of Money Solver" and its "Amortization Schedule".  Scripts
// name the fields "N", "I%", "PV", "PMT", "FV", "P/Y", "C/Y", the combo box
// "PMT @" and every button by its text.
#pragma once

namespace qx {

// Runs the solver on g_tvm until "Exit".
void tvm_solver_dialog();

}  // namespace qx

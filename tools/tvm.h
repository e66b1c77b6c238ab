// The time value of money: the annuity equation solved for any one of N,
// I%, PV, PMT and FV, and the amortization schedule of a loan.  Logic only;
// the dialog is the panel's.
#pragma once
#include <vector>

namespace qx {

enum TvmField { TVM_N = 0, TVM_I = 1, TVM_PV = 2, TVM_PMT = 3, TVM_FV = 4, TVM_PY = 5, TVM_CY = 6,
                TVM_FIELD_COUNT = 7 };

struct TvmValues {
    double v[TVM_FIELD_COUNT];   // a failed solve leaves UNDEFINED_VALUE (engine/errors.h)
    bool begin;                  // payments at the start of each period
};

// One set for the whole run; it is not part of the state file.
extern TvmValues g_tvm;
TvmValues tvm_defaults();        // all 0 but P/Y = C/Y = 1, End

struct TvmResidual {
    bool defined;
    double residual;
    double rate;                 // the periodic rate g
};
TvmResidual tvm_residual(const TvmValues& t);

// Solves for the unknown from the other values, stores the result (or
// UNDEFINED_VALUE) into t.v[unknown] and returns it.  Never raises a
// calculation error and leaves none pending.
double tvm_solve(TvmValues& t, TvmField unknown);

enum class ScheduleCheck { Ok, ValueError, TooManyPeriods, NoPayments };
ScheduleCheck tvm_schedule_check(const TvmValues& t);
// The message box text for a refusal ("" for Ok); the caption is "Amortization Schedule".
const char* tvm_schedule_message(ScheduleCheck c);

struct AmortizationRow {
    double principal, interest, balance;
};
// The rows of the schedule (call after a check that answered Ok).
std::vector<AmortizationRow> tvm_schedule(const TvmValues& t);

}  // namespace qx

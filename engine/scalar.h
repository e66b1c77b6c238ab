// Real and complex scalar arithmetic: the executor of non-integer operations
// and the numeric routines other subsystems share.
#pragma once
#include <cfenv>

#include "engine/errors.h"
#include "engine/evaluator.h"
#include "engine/memory.h"

namespace qx {

struct Complex {
    double re, im;
};

void perform_float_calculation(const Operation& op);
// One scalar operator or function on complex operands (arguments in
// written order), as the executor computes it: the element-by-element
// work of lists.  False after raising an error.
bool apply_scalar_operation(const Operation& op, const Complex* args, int count, Complex& out);
void reset_scalar_run_state();

// Reads an operation operand: a register's value or an item's constant.
ConstantValue fetch_operand(const OperandDesc& d);

// Only these flags are faults (underflow and inexact stay ignored).
constexpr int FP_FAULT_FLAGS = FE_DIVBYZERO | FE_OVERFLOW | FE_INVALID;
// The error code of the raised fault flags (division by zero before
// overflow before an invalid operation), or -1 when none is raised.
// Inline: an opaque call beside the statistics loops halves their speed.
inline int fp_fault_code() {
    const int flags = std::fetestexcept(FP_FAULT_FLAGS);
    if (flags & FE_DIVBYZERO) return ERR_DIV_ZERO;
    if (flags & FE_OVERFLOW) return ERR_OVERFLOW;
    if (flags & FE_INVALID) return ERR_DOMAIN;
    return -1;
}
// A computation whose IEEE faults are its own: the fault flags start clear
// inside the scope (fp_fault_code then tells what it raised), and whatever
// was raised before it is put back when it ends, nothing of its own left.
class FpFaultScope {
public:
    FpFaultScope() {
        std::fegetexceptflag(&saved_, FP_FAULT_FLAGS);
        std::feclearexcept(FP_FAULT_FLAGS);
    }
    ~FpFaultScope() { std::fesetexceptflag(&saved_, FP_FAULT_FLAGS); }
    FpFaultScope(const FpFaultScope&) = delete;
    FpFaultScope& operator=(const FpFaultScope&) = delete;

private:
    std::fexcept_t saved_;
};
// The internal message an error of fp_fault_code carries.
const char* fp_fault_text(int code);
// Maps raised IEEE flags to the calculator's errors; true when one was raised.
bool fpieee_handler();
void clear_fp_flags();

double factorial(double x);
double power(double x, double y);
int int_in_range(double x, int low, int high, int error_code);
double round_nearest(double x);
double int_part(double x);
double frac_part(double x);
Complex to_radians(double re, double im);
Complex from_radians(double re, double im);
Complex c_mul(Complex a, Complex b);
Complex c_div(Complex a, Complex b);
Complex c_add(Complex a, Complex b);
Complex c_sub(Complex a, Complex b);
Complex c_neg(Complex a);
double c_abs(Complex a);
Complex c_sqrt(Complex a);
Complex c_ln(Complex a);
Complex c_exp(Complex a);
Complex c_pow(Complex z, Complex w);
double c_arg(Complex a);
Complex c_gamma(Complex z);

// Set once toHMS has run: it must be the last operation of an expression.
extern bool g_tohms_done;

// Last fnInt error estimate, returned by Error(1).
extern double g_last_integration_error;

}  // namespace qx

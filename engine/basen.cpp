#include "engine/basen.h"

#include <cmath>

#include "engine/errors.h"
#include "engine/memory.h"
#include "engine/scalar.h"
#include "engine/settings.h"

namespace qx {

std::int32_t to_int32(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0) return 2147483647;
    if (value <= -2147483648.0) return INT32_MIN;
    return static_cast<std::int32_t>(value);
}

std::int32_t cut_to_word(std::int32_t value, int word_size) {
    auto u = static_cast<std::uint32_t>(value);
    switch (word_size) {
        case BITS_8: return static_cast<std::int8_t>(static_cast<std::uint8_t>(u & 0xFFu));
        case BITS_16: return static_cast<std::int16_t>(static_cast<std::uint16_t>(u & 0xFFFFu));
        default: return value;
    }
}

double cut_to_word_size(double value) {
    return static_cast<double>(cut_to_word(to_int32(value), g_settings.base_bits));
}

void perform_long_calculation(const Operation& op) {
    const char* fn = "perform_long_calculation";
    if (g_tohms_done) {
        raise_error(ERR_TOHMS_NOT_LAST, "E10", fn);
        return;
    }
    ConstantValue a = fetch_operand(op.operand[0]);
    if (error_pending()) return;
    if (a.im != 0.0) {
        raise_error(ERR_DATA_TYPE, "E6", fn);
        return;
    }
    bool binary = op.info.kind == KIND_BINARY;
    ConstantValue b{0.0, 0.0, -1, -1, -1};
    if (binary) {
        b = fetch_operand(op.operand[1]);
        if (error_pending()) return;
        if (b.im != 0.0) {
            raise_error(ERR_DATA_TYPE, "E7", fn);
            return;
        }
    }
    if (a.matrix >= 0 || a.list >= 0 || b.matrix >= 0 || b.list >= 0 ||
        (op.info.flags & FLAG_M) || (op.info.id == OP_STORE && op.param >= MEM_MATRIX_FIRST)) {
        raise_error(ERR_DATA_TYPE, "E8", fn);
        return;
    }
    const int bits = g_settings.base_bits;
    // Word arithmetic is done unsigned so that wrap-around is defined.
    std::int32_t x = cut_to_word(to_int32(a.re), bits);
    std::int32_t y = cut_to_word(to_int32(b.re), bits);
    auto ux = static_cast<std::uint32_t>(x), uy = static_cast<std::uint32_t>(y);
    std::uint32_t r = 0;
    switch (op.info.id) {
        case OP_NOT: r = ~ux; break;
        case OP_AND: r = ux & uy; break;
        case OP_OR: r = ux | uy; break;
        case OP_XOR: r = ux ^ uy; break;
        case OP_XNOR: r = ~(ux ^ uy); break;
        case OP_MOD:
            if (y == 0) {
                raise_error(ERR_DIV_ZERO, "Division by zero", fn);
                return;
            }
            // INT32_MIN mod -1 would trap in hardware; its remainder is 0.
            r = (y == -1) ? 0u : static_cast<std::uint32_t>(x % y);
            break;
        case OP_BASE_NEG: r = 0u - ux; break;
        case OP_SHL: {
            unsigned count = uy & 255u;
            r = count >= 32 ? 0u : ux << count;
            break;
        }
        case OP_SHR: {
            unsigned count = uy & 255u;
            if (count >= 32) r = x < 0 ? 0xFFFFFFFFu : 0u;
            else if (x < 0) r = ~(~ux >> count);
            else r = ux >> count;
            break;
        }
        default:
            raise_error(ERR_UNEXPECTED, "Operator not supported", fn);
            g_registers[op.result_reg].re = 0.0;
            return;
    }
    std::int32_t result = cut_to_word(static_cast<std::int32_t>(r), bits);
    TempRegister& out = g_registers[op.result_reg];
    out.re = static_cast<double>(result);
    out.im = 0.0;
    out.kind = RK_SCALAR;
}

}  // namespace qx

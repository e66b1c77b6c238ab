#include "engine/memory.h"

#include <cstdio>

#include "engine/errors.h"
#include "engine/hooks.h"
#include "engine/settings.h"

namespace qx {

MemorySlot g_memory[MEMORY_SLOTS];
MemorySlot g_ans;

namespace {

// Greek letters in the order of the display font (0x90..0xAB); outside the
// font they are spelled out.  0xA8 is the capital pi the product sign is
// drawn with, and 0xA9 the open phi of the spherical angle.
const char* const kGreekNames[28] = {
    "alpha", "beta", "gamma", "delta", "epsilon", "zeta", "eta", "theta", "iota", "kappa",
    "lambda", "mu", "nu", "xi", "omicron", "pi", "rho", "sigma", "tau", "upsilon", "phi",
    "chi", "psi", "omega", "Pi", "varphi", "Sigma", "Omega",
};

char g_names[MEM_LAST + 1][8];
bool g_names_ready = false;

void build_names() {
    for (int k = 0; k <= MEM_LAST; ++k) {
        if (k < 10) std::snprintf(g_names[k], sizeof g_names[k], "R%d", k);
        else if (k < 36) std::snprintf(g_names[k], sizeof g_names[k], "%c", 'A' + (k - 10));
        else if (k < 62) std::snprintf(g_names[k], sizeof g_names[k], "%c", 'a' + (k - 36));
        else if (k < 90) std::snprintf(g_names[k], sizeof g_names[k], "%c", 0x90 + (k - 62));
        else if (k < 100) std::snprintf(g_names[k], sizeof g_names[k], "[%c]", 'A' + (k - 90));
        else std::snprintf(g_names[k], sizeof g_names[k], "L%c", 'A' + (k - 100));
    }
    g_names_ready = true;
}

double setting_value(int number, double* im) {
    *im = 0.0;
    const Settings& s = g_settings;
    switch (number) {
        case 0: return s.angle_unit;
        case 1: return s.base_bits;
        case 2: return s.base_mode;
        case 3: return s.calculator_mode;
        case 4: return s.complex_format;
        case 5: return s.decimal_digits;
        case 6: return s.decimal_mark;
        case 7: return s.key_click;
        case 8: return s.number_format;
        case 9: return s.stats_regress;
        case 10: return s.stats_var;
        case 11: *im = g_ans.im; return g_ans.re;
        case 12: return static_cast<double>(g_hooks.tick_count());
        default: break;
    }
    if (number >= 13 && number <= 24) return g_hooks.plot_setting(number);
    if (number >= 25 && number <= 42) return static_cast<double>(number);
    raise_error(ERR_UNEXPECTED, "Variable Constant not Defined", "get_constant");
    return 0.0;
}

// RANMAR state.
double g_u[98];
double g_c, g_cd, g_cm;
int g_i97, g_j97;
bool g_seeded = false;

}  // namespace

const char* variable_name(int index) {
    if (!g_names_ready) build_names();
    if (index < 0 || index > MEM_LAST) return "";
    return g_names[index];
}

// Greek names are spelled for texts that leave the display font.
const char* greek_spelling(int index) {
    return (index >= 62 && index < 90) ? kGreekNames[index - 62] : variable_name(index);
}

ConstantValue get_constant(const ExprItem& item) {
    return get_constant(item.item_class == IC_NUMBER ? VS_CONSTANT : item.subclass, item.value,
                        item.param, item.stat_index);
}

ConstantValue get_constant(int subclass, double value, int param, int stat_index) {
    ConstantValue v{0.0, 0.0, -1, -1, -1};
    switch (subclass) {
        case VS_CONSTANT: v.re = value; break;
        case VS_ANS: v.re = g_ans.re; v.im = g_ans.im; break;
        case VS_M_ANS: v.matrix = ANSWER_SLOT; break;
        case VS_L_ANS: v.list = ANSWER_SLOT; break;
        case VS_RAND: v.re = rand_uniform(); break;
        case VS_MEMORY:
            if (param >= 0 && param < MEM_MATRIX_FIRST) {
                v.re = g_memory[param].re;
                v.im = g_memory[param].im;
                v.memory = param;
            } else if (param >= MEM_MATRIX_FIRST && param < MEM_LIST_FIRST) {
                v.matrix = param - MEM_MATRIX_FIRST;
            } else if (param >= MEM_LIST_FIRST && param <= MEM_LAST) {
                v.list = param - MEM_LIST_FIRST;
                g_hooks.list_current_element(v.list, &v.re, &v.im);
            } else {
                raise_error(ERR_UNEXPECTED, "Memory index out of range", "get_constant");
            }
            break;
        case VS_STAT: v.re = g_hooks.stat_value(stat_index); break;
        case VS_IMAGINARY: v.im = 1.0; break;
        case VS_SETTING: v.re = setting_value(param, &v.im); break;
        default: raise_error(ERR_UNEXPECTED, "Item not supported", "get_constant"); break;
    }
    return v;
}

void memory_set(double value, int part, int index) {
    if (part != 0 && part != 1) {
        raise_error(ERR_UNEXPECTED, "Memory constant type not defined", "memory_set");
        return;
    }
    // Matrices and lists have their own stores; a scalar never lands there.
    if (index < 0 || index >= MEMORY_SLOTS) {
        raise_error(ERR_DATA_TYPE, "Memory index is not a scalar variable", "memory_set");
        return;
    }
    if (part == 0) g_memory[index].re = value;
    else g_memory[index].im = value;
}

double memory_get(int index, int part) {
    if (part != 0 && part != 1) {
        raise_error(ERR_UNEXPECTED, "Memory constant type not defined", "memory_get");
        return 0.0;
    }
    if (index < 0 || index >= MEMORY_SLOTS) {
        raise_error(ERR_DATA_TYPE, "Memory index is not a scalar variable", "memory_get");
        return 0.0;
    }
    return part == 0 ? g_memory[index].re : g_memory[index].im;
}

void clear_memory() {
    for (MemorySlot& m : g_memory) m = MemorySlot{0.0, 0.0};
}

void rand_seed(int ij, int kl) {
    if (ij < 0 || ij > 31328) ij = 1802;
    if (kl < 0 || kl > 30081) kl = 9373;
    int i = (ij / 177) % 177 + 2;
    int j = (ij % 177) + 2;
    int k = (kl / 169) % 178 + 1;
    int l = kl % 169;
    for (int ii = 1; ii <= 97; ++ii) {
        double s = 0.0, t = 0.5;
        for (int jj = 1; jj <= 24; ++jj) {
            int m = (((i * j) % 179) * k) % 179;
            i = j;
            j = k;
            k = m;
            l = (53 * l + 1) % 169;
            if ((l * m) % 64 >= 32) s += t;
            t *= 0.5;
        }
        g_u[ii] = s;
    }
    g_c = 362436.0 / 16777216.0;
    g_cd = 7654321.0 / 16777216.0;
    g_cm = 16777213.0 / 16777216.0;
    g_i97 = 97;
    g_j97 = 33;
    g_seeded = true;
}

double rand_uniform() {
    if (!g_seeded) rand_seed(1802, 9373);
    for (;;) {
        double uni = g_u[g_i97] - g_u[g_j97];
        if (uni < 0.0) uni += 1.0;
        g_u[g_i97] = uni;
        if (--g_i97 == 0) g_i97 = 97;
        if (--g_j97 == 0) g_j97 = 97;
        g_c -= g_cd;
        if (g_c < 0.0) g_c += g_cm;
        uni -= g_c;
        if (uni < 0.0) uni += 1.0;
        if (uni > 0.0) return uni;  // strictly inside (0, 1)
    }
}

void rand_seed_from_clock() {
    rand_seed(static_cast<int>(g_hooks.tick_count() & 0x2FFF),
              static_cast<int>(g_hooks.wall_seconds() & 0x2FFF));
}

}  // namespace qx

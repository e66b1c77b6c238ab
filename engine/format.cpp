#include "engine/format.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/basen.h"
#include "engine/errors.h"
#include "engine/evaluator.h"
#include "engine/scalar.h"
#include "engine/settings.h"

// Result texts are cut to the 119 characters of a display field on purpose.
#pragma GCC diagnostic ignored "-Wformat-truncation"

namespace qx {

namespace {

constexpr int kMaxDigits = 11;

int count_digits(const char* s) {
    int n = 0;
    for (; *s; ++s) n += (*s >= '0' && *s <= '9');
    return n;
}

void strip_fraction_zeros(char* s) {
    if (!std::strchr(s, '.')) return;
    std::size_t len = std::strlen(s);
    while (len > 0 && s[len - 1] == '0') s[--len] = '\0';
    if (len > 0 && s[len - 1] == '.') s[--len] = '\0';
}

// "%.*E" printed, then mantissa and exponent rejoined as "%sE%d".
void exponent_form(char* out, std::size_t size, double x, int precision, bool strip) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*E", precision, x);
    char* e = std::strchr(buf, 'E');
    int exponent = e ? std::atoi(e + 1) : 0;
    if (e) *e = '\0';
    if (strip) strip_fraction_zeros(buf);
    std::snprintf(out, size, "%sE%d", buf, exponent);
}

void finish_text(char* s, bool glyph) {
    if (g_settings.decimal_mark == 1) {
        char* dot = std::strchr(s, '.');
        if (dot) *dot = ',';
    }
    for (; *s; ++s)
        if (*s == 'E') *s = glyph ? GLYPH_EXPONENT : 'e';
}

void engineering(char* out, std::size_t size, double x, int d) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*E", d, x);
    char* e = std::strchr(buf, 'E');
    int exponent = e ? std::atoi(e + 1) : 0;
    if (e) *e = '\0';
    bool negative = buf[0] == '-';
    char digits[64];
    int n = 0;
    for (const char* p = buf; *p; ++p)
        if (*p >= '0' && *p <= '9') digits[n++] = *p;
    digits[n] = '\0';
    int s = ((exponent % 3) + 3) % 3;
    char text[96];
    int t = 0;
    if (negative) text[t++] = '-';
    for (int k = 0; k <= s; ++k) text[t++] = k < n ? digits[k] : '0';
    if (s + 1 < n) {
        text[t++] = '.';
        for (int k = s + 1; k < n; ++k) text[t++] = digits[k];
    }
    text[t] = '\0';
    std::snprintf(out, size, "%sE%d", text, exponent - s);
}

}  // namespace

const char* format_real(double x, int format, int d, bool glyph) {
    static char out[TEXT_SIZE];
    if (d < 0) d = 0;
    if (d > 10) d = 10;
    switch (format) {
        case FMT_FLOAT: {
            double ax = std::fabs(x);
            bool done = false;
            if (x == 0.0 || (ax >= 0.001 && ax < 1e20)) {
                char buf[TEXT_SIZE];
                int digits = 0;
                for (int p = 10; p >= 0; --p) {
                    std::snprintf(buf, sizeof buf, "%.*f", p, x);
                    strip_fraction_zeros(buf);
                    digits = count_digits(buf);
                    if (digits <= kMaxDigits) break;
                }
                if (digits <= kMaxDigits && !(x != 0.0 && std::strtod(buf, nullptr) == 0.0)) {
                    if (std::strcmp(buf, "-0") == 0) std::snprintf(buf, sizeof buf, "0");
                    std::snprintf(out, sizeof out, "%s", buf);
                    done = true;
                }
            }
            if (!done) exponent_form(out, sizeof out, x, 10, true);
            break;
        }
        case FMT_FIXED:
            if (std::fabs(x) <= std::pow(10.0, kMaxDigits - d)) std::snprintf(out, sizeof out, "%.*f", d, x);
            else exponent_form(out, sizeof out, x, d, false);
            break;
        case FMT_SCI: exponent_form(out, sizeof out, x, d, false); break;
        case FMT_ENG: engineering(out, sizeof out, x, d); break;
        default: std::snprintf(out, sizeof out, "?"); break;
    }
    finish_text(out, glyph);
    return out;
}

const char* format_value(double value, bool glyph) {
    if (g_settings.calculator_mode == MODE_BASE_N)
        return format_base_n(value, g_settings.base_mode, glyph);
    return format_real(value, g_settings.number_format, g_settings.decimal_digits, glyph);
}

const char* format_result_line(double re, bool glyph, bool force) {
    if (error_pending()) return error_text();
    if (!force && g_last_result_kind == RK_MATRIX) return "Result in Matrix Ans";
    if (!force && g_last_result_kind == RK_LIST) return "Result in List Ans";
    return format_value(re, glyph);
}

const char* format_complex_display(double a, double b, bool glyph, bool force) {
    static char out[TEXT_SIZE];
    const char unit = glyph ? GLYPH_IMAGINARY : 'i';
    const char* base = glyph ? "\x19" : "e^";
    bool object = !force && g_last_result_kind != RK_SCALAR;
    // Both parts are copied out: the formatter reuses one buffer.
    char first[TEXT_SIZE], second[TEXT_SIZE];
    if (g_settings.complex_format != CPLX_POLAR) {
        std::snprintf(first, sizeof first, "%s", format_result_line(a, glyph, force));
        std::snprintf(second, sizeof second, "%s", format_result_line(std::fabs(b), glyph, force));
        if (!error_pending() && !object && b != 0.0) {
            const char* sign = b >= 0.0 ? "+" : "-";
            if (a != 0.0) {
                std::snprintf(out, sizeof out, "%s%s%s%c", first, sign,
                              std::fabs(b) == 1.0 ? "" : second, unit);
            } else if (std::fabs(b) == 1.0) {
                std::snprintf(out, sizeof out, "%s%c", b < 0.0 ? "-" : "", unit);
            } else {
                std::snprintf(out, sizeof out, "%s%s%c", b < 0.0 ? "-" : "", second, unit);
            }
        } else {
            std::snprintf(out, sizeof out, "%s", first);
        }
        return out;
    }
    double r = std::hypot(a, b);
    Complex t = from_radians(c_arg(Complex{a, b}), 0.0);
    double theta = t.re;
    std::snprintf(first, sizeof first, "%s", format_result_line(r, glyph, force));
    std::snprintf(second, sizeof second, "%s", format_result_line(std::fabs(theta), glyph, force));
    if (!error_pending() && !object && theta != 0.0) {
        const char* sign = theta < 0.0 ? "-" : "";
        const char* angle = std::fabs(theta) == 1.0 ? "" : second;
        if (r != 1.0) std::snprintf(out, sizeof out, "%s%s(%s%s%c)", first, base, sign, angle, unit);
        else std::snprintf(out, sizeof out, "%s(%s%s%c)", base, sign, angle, unit);
    } else {
        std::snprintf(out, sizeof out, "%s", first);
    }
    return out;
}

const char* format_complex_plain(double a, double b, int format, int digits, bool glyph) {
    static char out[TEXT_SIZE];
    const char unit = glyph ? GLYPH_IMAGINARY : 'i';
    bool polar = g_settings.complex_format == CPLX_POLAR && b != 0.0;
    double p = a, q = b;
    if (polar) {
        p = std::hypot(a, b);
        q = from_radians(c_arg(Complex{a, b}), 0.0).re;
    }
    char first[TEXT_SIZE], second[TEXT_SIZE];
    std::snprintf(first, sizeof first, "%s", format_real(p, format, digits, glyph));
    std::snprintf(second, sizeof second, "%s", format_real(q, format, digits, glyph));
    if (b != 0.0 && !error_pending()) {
        if (polar) std::snprintf(out, sizeof out, "%s%s(%s%c)", first, glyph ? "\x19" : "e^", second, unit);
        else std::snprintf(out, sizeof out, "%s+%s%c", first, second, unit);
    } else {
        std::snprintf(out, sizeof out, "%s", first);
    }
    return out;
}

const char* format_base_n(double value, int radix, bool glyph) {
    static char out[TEXT_SIZE];
    const int bits_setting = g_settings.base_bits;
    std::int32_t v = cut_to_word(to_int32(value), bits_setting);
    if (error_pending()) {
        out[0] = '\0';
        return out;
    }
    const int bits = bits_setting == BITS_8 ? 8 : bits_setting == BITS_16 ? 16 : 32;
    const std::uint32_t mask = bits == 32 ? 0xFFFFFFFFu : ((1u << bits) - 1u);
    const std::uint32_t u = static_cast<std::uint32_t>(v) & mask;
    int n = 0;
    switch (radix) {
        case RADIX_BIN: {
            const bool narrow = glyph && bits == 32;
            const char space = glyph && bits >= 16 ? GLYPH_NARROW_SPACE : ' ';
            for (int k = bits - 1; k >= 0; --k) {
                bool one = (u >> k) & 1u;
                out[n++] = narrow ? (one ? GLYPH_NARROW_1 : GLYPH_NARROW_0) : (one ? '1' : '0');
                if (k > 0 && k % 4 == 0) out[n++] = space;
            }
            if (narrow) out[n++] = GLYPH_NARROW_SPACE;
            out[n++] = 'b';
            break;
        }
        case RADIX_OCT: {
            const int count = bits == 8 ? 3 : bits == 16 ? 6 : 11;
            char digits[12];
            for (int k = 0; k < count; ++k) digits[count - 1 - k] = static_cast<char>('0' + ((u >> (3 * k)) & 7u));
            for (int k = 0; k < count; ++k) {
                out[n++] = digits[k];
                int left = count - 1 - k;
                if (left > 0 && left % 3 == 0) out[n++] = ' ';
            }
            out[n++] = 'o';
            break;
        }
        case RADIX_HEX: {
            const int count = bits / 4;
            char digits[12];
            std::snprintf(digits, sizeof digits, "%0*X", count, u);
            for (int k = 0; k < count; ++k) {
                out[n++] = digits[k];
                if (k + 1 < count && (k + 1) % 4 == 0) out[n++] = ' ';
            }
            out[n++] = 'h';
            break;
        }
        default:
            n = std::snprintf(out, sizeof out, "%dd", static_cast<int>(v));
            break;
    }
    out[n] = '\0';
    return out;
}

const char* get_stats_string(int index) {
    static const char* const kNames[] = {
        " xySum ", " xMeanw ", " yMeanw ", " xMean ", " xSum ", " xSumSq ", " xSD ",
        " xSD-1 ", " yMean ", " ySum ", " ySumSq ", " ySD ", " ySD-1 ", " xMin ", " xMax ",
        " yMin ", " yMax ", " a ", " b ", " r ", " n ",
    };
    if (index < 0 || index > 20) {
        warning_box("Stats string not defined", "get_stats_string");
        return "";
    }
    return kNames[index];
}

}  // namespace qx

#pragma once
#include <gtest/gtest.h>

#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/errors.h"
#include "engine/evaluator.h"
#include "engine/format.h"
#include "engine/hooks.h"
#include "engine/memory.h"
#include "engine/settings.h"

namespace qx::test {

struct Outcome {
    bool ok;
    int code;
    double re, im;
    std::string text;   // the display line in plain characters
};

inline std::string plain(const char* glyph_text) {
    std::string out;
    for (const char* p = glyph_text; *p; ++p) {
        if (*p == GLYPH_EXPONENT) out += 'E';
        else if (*p == GLYPH_IMAGINARY) out += 'i';
        else if (*p == GLYPH_POLAR_BASE) out += "e^";
        else out += *p;
    }
    return out;
}

inline Outcome evaluate(const std::vector<TokenCode>& tokens) {
    clear_error();
    Evaluate_Input(tokens.data(), static_cast<int>(tokens.size()));
    Evaluate_Input_2();
    Outcome o;
    o.ok = !error_pending();
    o.code = o.ok ? -1 : error_code();
    o.re = g_ans.re;
    o.im = g_ans.im;
    o.text = plain(format_complex_display(g_ans.re, g_ans.im, true, false));
    clear_error();
    return o;
}

// Resets everything a test may have changed.
inline void fresh_state() {
    reset_settings();
    reset_hooks();
    clear_error();
    clear_memory();
    g_ans = MemorySlot{0.0, 0.0};
    g_last_result_kind = RK_SCALAR;
    rand_seed(1802, 9373);
}

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override { fresh_state(); }
    void TearDown() override { fresh_state(); }
};

}  // namespace qx::test

namespace qx::test {

// Test shorthand: space-separated words; a number expands to digit tokens
// ("E" inside a number is the exponent key, "~" the negate key), other
// words are looked up by name; "#123" is a raw token code.
inline std::vector<TokenCode> toks(const std::string& text) {
    static const struct { const char* name; TokenCode code; } kNames[] = {
        {"(", 3}, {")", 4}, {"[", 103}, {"]", 104}, {"{", 203}, {"}", 204}, {"+", 36},
        {"-", 37}, {"*", 31}, {"/", 32}, {"^", 13}, {"neg", 17}, {",", 20}, {"!", 18},
        {"inv", 8}, {"sq", 9}, {"cube", 115}, {"sqrt", 14}, {"cbrt", 15}, {"exp", 111},
        {"10^", 112}, {"Rt", 113}, {"fmod", 114}, {"nPr", 125}, {"nCr", 175}, {"d%", 173},
        {"%", 123}, {"(d)", 16}, {"(r)", 116}, {"(g)", 216}, {"pi", 117}, {"e", 217},
        {"i", 120}, {"Ans", 41}, {"Rand", 118}, {"M_Ans", 1299}, {"L_Ans", 1300},
        {"sin(", 5}, {"cos(", 6}, {"tan(", 7}, {"ln(", 11}, {"log(", 12}, {"abs(", 19},
        {"asin(", 105}, {"acos(", 106}, {"atan(", 107}, {"sinh(", 205}, {"cosh(", 206},
        {"tanh(", 207}, {"asinh(", 305}, {"acosh(", 306}, {"atanh(", 307}, {"iPart(", 124},
        {"fPart(", 174}, {"Floor(", 167}, {"Ceil(", 168}, {"Conj(", 169}, {"Real(", 170},
        {"Imag(", 171}, {"Angle(", 172}, {"Gamma(", 176}, {"Sign(", 177}, {"Error(", 482},
        {"toHMS(", 484}, {"fromHMS(", 485}, {"Mant(", 486}, {"Xpon(", 487}, {"Trunc(", 108},
        {"Round(", 119}, {"Max(", 400}, {"Min(", 401}, {"randNorm(", 402}, {"logb(", 403},
        {"atan2(", 404}, {"lcm(", 405}, {"gcd(", 406}, {"Beta(", 407}, {"randBin(", 421},
        {"randPois(", 422}, {"randInt(", 423}, {"Jn(", 430}, {"Yn(", 431}, {"Det(", 1200},
        {"Iden(", 1201}, {"fnInt(", 468}, {"Summ(", 479}, {"fnEval(", 478}, {"Color(", 491},
        {"not", 505}, {"and", 506}, {"or", 507}, {"xor", 508}, {"xnor", 509}, {"bneg", 540},
        {"mod", 605}, {"<<", 606}, {">>", 607}, {"A", 810}, {"B", 811}, {"x", 859},
        {">A", 910}, {">B", 911}, {">x", 959}, {"[A]", 890}, {">[A]", 990}, {"LA", 2100},
        {"hexA", 511}, {"hexF", 516}, {"sfx_d", 517}, {"sfx_h", 518}, {"sfx_b", 519},
        {"sfx_o", 619},
    };
    static const TokenCode kDigit[] = {38, 33, 34, 35, 28, 29, 30, 23, 24, 25};
    std::vector<TokenCode> out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() && text[pos] == ' ') ++pos;
        std::size_t end = text.find(' ', pos);
        if (end == std::string::npos) end = text.size();
        std::string w = text.substr(pos, end - pos);
        pos = end;
        if (w.empty()) continue;
        if (w[0] == '#') {
            out.push_back(static_cast<TokenCode>(std::stol(w.substr(1))));
            continue;
        }
        bool found = false;
        for (const auto& n : kNames)
            if (w == n.name) {
                out.push_back(n.code);
                found = true;
                break;
            }
        if (found) continue;
        for (char c : w) {
            if (c >= '0' && c <= '9') out.push_back(kDigit[c - '0']);
            else if (c == '.') out.push_back(39);
            else if (c == 'E') out.push_back(40);
            else if (c == '~') out.push_back(17);
            else throw std::invalid_argument("unknown test word: " + w);
        }
    }
    return out;
}

inline Outcome run(const std::string& text) { return evaluate(toks(text)); }

}  // namespace qx::test

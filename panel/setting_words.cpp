#include "panel/setting_words.h"

#include <cstdlib>

#include "engine/format.h"
#include "engine/memory.h"
#include "engine/settings.h"

namespace qx {

namespace {

struct Choice { const char* name; int value; };

bool pick(const Choice* choices, int n, const std::string& word, int& out) {
    for (int k = 0; k < n; ++k)
        if (word == choices[k].name) {
            out = choices[k].value;
            return true;
        }
    return false;
}

bool number(const std::string& word, long lo, long hi, long& out) {
    char* end = nullptr;
    const long v = std::strtol(word.c_str(), &end, 0);
    if (word.empty() || *end || v < lo || v > hi) return false;
    out = v;
    return true;
}

}  // namespace

bool set_setting_word(const std::string& name, const std::string& value, int* mode) {
    static const Choice angles[] = {{"rad", 0}, {"deg", 1}, {"grad", 2}};
    static const Choice formats[] = {{"float", 0}, {"fix", 1}, {"sci", 2}, {"eng", 3}};
    static const Choice complexes[] = {{"real", 0}, {"rect", 1}, {"polar", 2}};
    static const Choice radixes[] = {{"bin", 0}, {"oct", 1}, {"dec", 2}, {"hex", 3}};
    static const Choice bits[] = {{"8", 0}, {"16", 1}, {"32", 2}};
    static const Choice modes[] = {{"base", MODE_BASE_N}, {"comp", MODE_COMP}, {"stats", MODE_STATS},
                                   {"plot", MODE_PLOT}, {"matrix", MODE_MATRIX}, {"list", MODE_LIST}};
    static const Choice marks[] = {{"point", 0}, {"comma", 1}};
    Settings& s = g_settings;
    long n = 0;
    if (name == "angle") return pick(angles, 3, value, s.angle_unit);
    if (name == "format") return pick(formats, 4, value, s.number_format);
    if (name == "complex") return pick(complexes, 3, value, s.complex_format);
    if (name == "radix") return pick(radixes, 4, value, s.base_mode);
    if (name == "bits") return pick(bits, 3, value, s.base_bits);
    if (name == "mark") return pick(marks, 2, value, s.decimal_mark);
    if (name == "mode") return mode && pick(modes, 6, value, *mode);
    if (name == "digits" && number(value, 0, 10, n)) s.decimal_digits = static_cast<int>(n);
    else if (name == "brightness" && number(value, 0, 255, n)) s.brightness = static_cast<int>(n);
    else if (name == "click" && number(value, 0, 1, n)) s.key_click = static_cast<int>(n);
    else if (name == "color" && number(value, 0, 0xFFFFFF, n)) s.display_color = static_cast<std::uint32_t>(n);
    else return false;
    return true;
}

std::string plain_display_text(const char* text, std::size_t max_length) {
    std::string out;
    if (!text) return out;
    for (std::size_t k = 0; k < max_length && text[k]; ++k) {
        const unsigned char c = static_cast<unsigned char>(text[k]);
        switch (static_cast<char>(c)) {
            case GLYPH_EXPONENT: out += 'E'; break;
            case GLYPH_IMAGINARY: out += 'i'; break;
            case GLYPH_POLAR_BASE: out += "e^"; break;
            case GLYPH_NARROW_SPACE: out += ' '; break;
            case GLYPH_NARROW_0: out += '0'; break;
            case GLYPH_NARROW_1: out += '1'; break;
            default:
                if (c >= 0x90 && c <= 0xAB) out += greek_spelling(62 + (c - 0x90));
                else out += static_cast<char>(c);
        }
    }
    return out;
}

}  // namespace qx

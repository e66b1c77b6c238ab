#include "persist/startup_settings.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "engine/text_lines.h"

namespace qx {

namespace {

struct Word {
    const char* text;
    int code;
};

// A setting kept as one of a few words.  `fallback` is the word written for
// a code outside the list; reading knows only the listed words.
struct WordValue {
    int Settings::*field;
    const Word* words;
    int count;
    int fallback;
};

constexpr Word kFormats[] = {
    {"NORM", FMT_FLOAT}, {"FIX", FMT_FIXED}, {"SCIENTIFIC", FMT_SCI}, {"ENGINEERING", FMT_ENG}};
constexpr Word kMarks[] = {{"DECIMAL_POINT", 0}, {"COMMA_POINT", 1}};
constexpr Word kAngles[] = {{"RADIAN", ANGLE_RAD}, {"DEGREE", ANGLE_DEG}, {"GRADIAN", ANGLE_GRAD}};
constexpr Word kModes[] = {{"BASE_MODE", MODE_BASE_N},  {"COMP_MODE", MODE_COMP},
                           {"STATS_MODE", MODE_STATS},  {"PLOT_MODE", MODE_PLOT},
                           {"MATRIX_MODE", MODE_MATRIX}, {"LIST_MODE", MODE_LIST}};
constexpr Word kBits[] = {{"BITS_8", BITS_8}, {"BITS_16", BITS_16}, {"BITS_32", BITS_32}};
constexpr Word kRadixes[] = {
    {"U_BIN", RADIX_BIN}, {"U_OCT", RADIX_OCT}, {"U_DEC", RADIX_DEC}, {"U_HEX", RADIX_HEX}};
constexpr Word kStatsVars[] = {{"STATS_SINGLE_VAR", 0}, {"STATS_DOUBLE_VAR", 1}};
constexpr Word kRegressions[] = {{"R_LINEAR", 0}, {"R_LOGARITHMIC", 1}, {"R_EXPON", 2}, {"R_POWER", 3}};
constexpr Word kClick[] = {{"ON", 1}, {"OFF", 0}};
// Only the data modes have a face behind the fourth mode button.
constexpr Word kDataModes[] = {{"BASE_MODE", MODE_BASE_N}, {"STATS_MODE", MODE_STATS},
                               {"MATRIX_MODE", MODE_MATRIX}, {"LIST_MODE", MODE_LIST}};
constexpr Word kComplex[] = {{"ST_REAL", CPLX_REAL}, {"ST_COMPLEX_R", CPLX_RECT}, {"ST_COMPLEX_P", CPLX_POLAR}};

template <int N>
constexpr WordValue words(int Settings::*field, const Word (&list)[N], int fallback) {
    return {field, list, N, fallback};
}

// Positions in the file (and in the table of the header).
enum Value {
    V_PRECISION, V_FORMAT, V_MARK, V_ANGLE, V_MODE, V_BITS, V_RADIX, V_STATS_VAR, V_REGRESSION,
    V_CLICK, V_COLOUR, V_BRIGHTNESS, V_DATA_MODE, V_COMPLEX,
};
static_assert(V_COMPLEX + 1 == STARTUP_VALUE_COUNT);

// "seperator" is spelt as every settings file written so far has it.
constexpr const char* kNames[STARTUP_VALUE_COUNT] = {
    "precision", "format", "point_and_seperator", "angle_unit", "display_mode", "base_bits", "base_unit",
    "stats_var", "regress_type", "button_click", "display_color", "brightness", "dynamic_mode", "scaler_type",
};

// The word settings, by position (the numbers have empty entries).
const WordValue kWordValues[STARTUP_VALUE_COUNT] = {
    {},
    words(&Settings::number_format, kFormats, 0),
    words(&Settings::decimal_mark, kMarks, 0),
    words(&Settings::angle_unit, kAngles, 1),
    words(&Settings::calculator_mode, kModes, 1),   // PROG and the periodic table start as COMP
    words(&Settings::base_bits, kBits, 1),
    words(&Settings::base_mode, kRadixes, 2),
    words(&Settings::stats_var, kStatsVars, 0),
    words(&Settings::stats_regress, kRegressions, 0),
    words(&Settings::key_click, kClick, 0),   // any code but 0 is "on"
    {},
    {},
    words(&Settings::dynamic_mode, kDataModes, 1),
    words(&Settings::complex_format, kComplex, 0),
};

constexpr int kMaxPrecision = 10;
constexpr std::uint32_t kColourMask = 0xFFFFFF;

bool blank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view t) {
    while (!t.empty() && blank(t.front())) t.remove_prefix(1);
    while (!t.empty() && blank(t.back())) t.remove_suffix(1);
    return t;
}

// A whole decimal number that fits 32 signed bits, nothing before or after.
bool parse_whole(std::string_view t, std::int32_t& out) {
    bool negative = false;
    if (!t.empty() && (t.front() == '-' || t.front() == '+')) {
        negative = t.front() == '-';
        t.remove_prefix(1);
    }
    if (t.empty()) return false;
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    std::int64_t v = 0;
    for (char c : t) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
        if (v > limit) return false;
    }
    out = static_cast<std::int32_t>(negative ? -v : v);
    return true;
}

// Applies one value's text; a text that is not understood leaves the
// setting as it is (its default, since reading starts from the defaults).
void apply_value(int index, std::string_view text, Settings& s, bool* plot_mode) {
    std::int32_t n = 0;
    switch (index) {
        case V_PRECISION:
            if (parse_whole(text, n) && n >= 0 && n <= kMaxPrecision) s.decimal_digits = n;
            return;
        case V_COLOUR:
            if (parse_whole(text, n)) s.display_color = static_cast<std::uint32_t>(n) & kColourMask;
            return;
        case V_BRIGHTNESS:
            if (parse_whole(text, n)) s.brightness = std::clamp(n, 0, 255);
            return;
        default:
            break;
    }
    const WordValue& v = kWordValues[index];
    for (int k = 0; k < v.count; ++k) {
        if (text != v.words[k].text) continue;
        s.*v.field = v.words[k].code;
        if (index == V_MODE && plot_mode) *plot_mode = v.words[k].code == MODE_PLOT;
        return;
    }
}

const char* word_of(const WordValue& v, int code) {
    for (int k = 0; k < v.count; ++k)
        if (v.words[k].code == code) return v.words[k].text;
    return v.words[v.fallback].text;
}

void put(std::string& out, const char* name, std::string_view text) {
    out += name;
    out += '=';
    out += text;
    out += '\n';
}

}  // namespace

std::string write_startup_text(const Settings& s) {
    std::string out;
    out.reserve(360);
    for (int index = 0; index < STARTUP_VALUE_COUNT; ++index) {
        switch (index) {
            case V_PRECISION: put(out, kNames[index], std::to_string(s.decimal_digits)); break;
            case V_COLOUR: put(out, kNames[index], std::to_string(s.display_color & kColourMask)); break;
            case V_BRIGHTNESS: put(out, kNames[index], std::to_string(s.brightness)); break;
            default: {
                const WordValue& v = kWordValues[index];
                put(out, kNames[index], word_of(v, s.*v.field));
                break;
            }
        }
    }
    return out;
}

void read_startup_text(const std::string& text, Settings& s, bool* plot_mode) {
    s = default_settings();
    if (plot_mode) *plot_mode = false;

    // The text each name had last: a later line replaces an earlier one
    // whole, even when the later one cannot be read.
    std::string_view found[STARTUP_VALUE_COUNT];
    LineReader lines{text.data(), text.data() + text.size()};
    const char* start = nullptr;
    std::size_t length = 0;
    while (lines.next(start, length)) {
        const std::string_view line(start, length);
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        const std::string_view name = trimmed(line.substr(0, eq));
        for (int index = 0; index < STARTUP_VALUE_COUNT; ++index) {
            if (name != kNames[index]) continue;
            found[index] = trimmed(line.substr(eq + 1));
            break;
        }
    }
    for (int index = 0; index < STARTUP_VALUE_COUNT; ++index) {
        if (found[index].empty() || found[index].size() > STARTUP_VALUE_LIMIT) continue;
        apply_value(index, found[index], s, plot_mode);
    }
}

}  // namespace qx

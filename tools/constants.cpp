// The table reader, the user's constants and the units the engine converts
// with.
//
// The user file is edited by hand as often as by the calculator, so it is
// read as untrusted text: every field is copied with its size in hand, a
// line that cannot be a constant is passed over, and the table never holds
// more than its capacity.  The built-in text goes through the same reader,
// so a mistake made in it shows up as the same warnings.
#include "tools/constants.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "engine/hooks.h"
#include "engine/settings.h"
#include "engine/tokens.h"

namespace qx {

ConstantTables g_tables;

namespace {

constexpr std::string_view kPropTag = "Prop: ";
constexpr std::string_view kUnitTag = "Unit: ";
constexpr std::string_view kConsTag = "Cons: ";
constexpr std::string_view kSeparator = ", ";
constexpr std::size_t kShortestLine = 6;
constexpr std::size_t kLongestLine = 119;

enum class Lines { All, ConstantsOnly };

int lower(char c) { return std::tolower(static_cast<unsigned char>(c)); }

int compare_nocase(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t k = 0; k < n; ++k) {
        const int d = lower(a[k]) - lower(b[k]);
        if (d != 0) return d;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

// A field longer than its record is cut; the record always ends in a NUL.
template <std::size_t N>
void store(char (&dest)[N], std::string_view text) {
    const std::size_t n = std::min(text.size(), N - 1);
    std::memcpy(dest, text.data(), n);
    std::memset(dest + n, 0, N - n);
}

constexpr std::size_t kNameKept = sizeof(ConstantRecord::name) - 1;
constexpr std::size_t kUnitKept = sizeof(ConstantRecord::unit) - 1;

bool has_control(std::string_view s) {
    return std::any_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

bool blank(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c == ' '; });
}

// The text up to the next separator; rest keeps what follows it.
std::string_view next_field(std::string_view& rest, bool& more) {
    const std::size_t at = rest.find(kSeparator);
    more = at != std::string_view::npos;
    const std::string_view field = rest.substr(0, more ? at : rest.size());
    rest.remove_prefix(more ? at + kSeparator.size() : rest.size());
    return field;
}

bool read_number(std::string_view text, double& value) {
    if (text.empty()) return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

// A constant's value goes into the input line as it stands, so it must be
// a plain decimal number: no blanks, words or hexadecimal digits, and no
// '+', which the line would read as an addition.
bool number_text(std::string_view text) {
    if (text.empty() || text.size() > sizeof(ConstantRecord::value) - 1) return false;
    for (char c : text)
        if (!std::isdigit(static_cast<unsigned char>(c)) && c != '.' && c != '-' && c != 'e' && c != 'E')
            return false;
    double v;
    return read_number(text, v);
}

void warn(std::vector<TableMessage>& messages, const char* format, std::string_view name) {
    char text[160];
    std::snprintf(text, sizeof text, format, static_cast<int>(name.size()), name.data());
    messages.push_back({text, "Order"});
}

void overflow(std::vector<TableMessage>& messages, const char* what) {
    messages.push_back({std::string(what) + " array is not large enouph", "Array size limit"});
}

int find_constant(const ConstantTables& t, std::string_view name) {
    for (int k = 0; k < t.constant_count; ++k)
        if (compare_nocase(t.constants[k].name, name) == 0) return k;
    return -1;
}

// Each returns false when the table is full and reading must stop.
bool read_property(ConstantTables& t, std::string_view name, std::vector<TableMessage>& messages) {
    if (name.empty() || has_control(name)) return true;
    if (t.property_count >= PROPERTY_CAPACITY) {
        overflow(messages, "Property");
        return false;
    }
    PropertyRecord& p = t.properties[t.property_count];
    store(p.name, name);
    if (t.property_count > 0 && compare_nocase(p.name, t.properties[t.property_count - 1].name) <= 0)
        warn(messages, "A property is out of alphabetic order: %.*s", p.name);
    ++t.property_count;
    return true;
}

bool read_unit(ConstantTables& t, std::string_view rest, std::vector<TableMessage>& messages) {
    if (t.property_count == 0 || has_control(rest)) return true;
    bool more = false;
    const std::string_view abbreviation = next_field(rest, more);
    if (!more) return true;
    const std::string_view name = next_field(rest, more);
    if (!more) return true;
    const std::string_view factor_text = next_field(rest, more);
    if (!more) return true;
    double factor, offset;
    // A zero factor would make every conversion from the unit a division by zero.
    if (abbreviation.empty() || !read_number(factor_text, factor) || factor == 0.0 ||
        !read_number(rest, offset))
        return true;
    if (t.unit_count >= UNIT_CAPACITY) {
        overflow(messages, "Unit");
        return false;
    }
    UnitRecord& u = t.units[t.unit_count];
    store(u.abbreviation, abbreviation);
    store(u.name, name);
    u.factor = factor;
    u.offset = offset;
    u.property = t.property_count - 1;
    if (t.unit_count > 0) {
        const UnitRecord& before = t.units[t.unit_count - 1];
        if (before.property == u.property && compare_nocase(u.abbreviation, before.abbreviation) <= 0)
            warn(messages, "A unit is out of alphabetic order: %.*s", u.abbreviation);
    }
    ++t.unit_count;
    return true;
}

bool read_constant(ConstantTables& t, std::string_view rest, std::vector<TableMessage>& messages) {
    if (has_control(rest)) return true;
    bool more = false;
    std::string_view name = next_field(rest, more);
    if (!more) return true;
    std::string_view unit = next_field(rest, more);
    if (!more || blank(name) || !number_text(rest)) return true;
    name = name.substr(0, kNameKept);
    unit = unit.substr(0, kUnitKept);
    // Two constants of one name could not be told apart in the picker: the first stays.
    if (find_constant(t, name) >= 0) return true;
    if (t.constant_count >= CONSTANT_CAPACITY) {
        overflow(messages, "Constant");
        return false;
    }
    ConstantRecord& c = t.constants[t.constant_count++];
    store(c.name, name);
    store(c.unit, unit);
    store(c.value, rest);
    return true;
}

void parse_lines(ConstantTables& t, std::string_view text, std::vector<TableMessage>& messages, Lines which) {
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.size() < kShortestLine || line.size() > kLongestLine) continue;
        while (line.size() > kShortestLine && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
        const std::string_view tag = line.substr(0, kPropTag.size());
        const std::string_view rest = line.substr(kPropTag.size());
        bool go_on = true;
        if (tag == kConsTag) go_on = read_constant(t, rest, messages);
        else if (which == Lines::ConstantsOnly) continue;
        else if (tag == kPropTag) go_on = read_property(t, rest, messages);
        else if (tag == kUnitTag) go_on = read_unit(t, rest, messages);
        if (!go_on) return;
    }
}

void reset_tables(ConstantTables& t) {
    std::memset(&t, 0, sizeof t);
    for (UnitRecord& u : t.units) u.property = -1;
}

void clear_constants(ConstantTables& t) {
    std::memset(t.constants, 0, sizeof t.constants);
    t.constant_count = 0;
}

// The scientific digits of the shortest text that reads back as value,
// rewritten without the exponent where a plain number is as clear.
std::string shortest_text(double value) {
    char buf[64];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
    if (ec != std::errc()) return "0";
    const std::string_view s(buf, static_cast<std::size_t>(end - buf));
    const std::size_t e = s.find('e');
    if (e == std::string_view::npos) return std::string(s);   // inf or nan
    const bool negative = s[0] == '-';
    std::string digits;
    for (char c : s.substr(0, e))
        if (c >= '0' && c <= '9') digits += c;
    int exponent = 0;
    std::from_chars(s.data() + e + (s[e + 1] == '+' ? 2 : 1), s.data() + s.size(), exponent);
    std::string out = negative ? "-" : "";
    if (exponent >= -5 && exponent < 15) {
        if (exponent < 0) {
            out += "0.";
            out.append(static_cast<std::size_t>(-exponent - 1), '0');
            out += digits;
        } else {
            const std::size_t whole = static_cast<std::size_t>(exponent) + 1;
            if (digits.size() <= whole) {
                out += digits + std::string(whole - digits.size(), '0');
            } else {
                out += digits.substr(0, whole) + "." + digits.substr(whole);
            }
        }
        return out;
    }
    out += digits.substr(0, 1);
    if (digits.size() > 1) {
        out += '.';
        out += digits.substr(1);
    }
    out += 'e';
    out += std::to_string(exponent);
    return out;
}

}  // namespace

void parse_table_text(ConstantTables& t, std::string_view text, std::vector<TableMessage>& messages) {
    parse_lines(t, text, messages, Lines::All);
}

void parse_constant_text(ConstantTables& t, std::string_view text, std::vector<TableMessage>& messages) {
    parse_lines(t, text, messages, Lines::ConstantsOnly);
}

TablesLoad load_tables(const std::string* user_text) {
    TablesLoad load;
    reset_tables(g_tables);
    parse_table_text(g_tables, builtin_table_text(), load.messages);
    if (user_text) {
        clear_constants(g_tables);
        parse_constant_text(g_tables, *user_text, load.messages);
    }
    if (!user_text || g_tables.constant_count == 0) {
        // No file, or one with nothing usable in it: the built-in constants
        // again, and a file that holds them from now on.
        if (user_text) {
            std::vector<TableMessage> again;   // the same warnings as the first pass
            parse_constant_text(g_tables, builtin_table_text(), again);
        }
        load.write_user_file = true;
    }
    std::stable_sort(g_tables.constants, g_tables.constants + g_tables.constant_count,
                     [](const ConstantRecord& a, const ConstantRecord& b) {
                         return compare_nocase(a.name, b.name) < 0;
                     });
    return load;
}

std::string constants_file_text() {
    std::string text;
    for (int k = 0; k < g_tables.constant_count; ++k) {
        const ConstantRecord& c = g_tables.constants[k];
        text += kConsTag;
        text += c.name;
        text += kSeparator;
        text += c.unit;
        text += kSeparator;
        text += c.value;
        text += "\r\n";
    }
    return text;
}

// The file separates fields with ", ": such a text would not read back.
bool constant_text_usable(std::string_view text) {
    return text.find(kSeparator) == std::string_view::npos && !has_control(text);
}

AddConstant add_constant(const char* name, const char* unit, double value) {
    const std::string_view n = name ? name : "";
    const std::string_view u = unit ? unit : "";
    if (g_tables.constant_count >= CONSTANT_ADD_LIMIT) return AddConstant::Full;
    if (blank(n) || !constant_text_usable(n) || !constant_text_usable(u)) return AddConstant::BadText;
    const std::string_view kept = n.substr(0, kNameKept);
    if (find_constant(g_tables, kept) >= 0) return AddConstant::NameInUse;
    ConstantRecord& c = g_tables.constants[g_tables.constant_count++];
    store(c.name, kept);
    store(c.unit, u);
    store(c.value, constant_value_text(value));
    return AddConstant::Added;
}

TableMessage add_constant_refusal(AddConstant outcome) {
    switch (outcome) {
        case AddConstant::Full: return {"Reached maximum number of constants", "Limit"};
        case AddConstant::NameInUse: return {"Constant name in use", "Error"};
        case AddConstant::BadText: return {"A constant's name and unit cannot contain \", \".", "Error"};
        case AddConstant::Added: break;
    }
    return {};
}

bool delete_constant(const char* name) {
    const int k = find_constant(g_tables, name ? name : "");
    if (k < 0) return false;
    ConstantRecord* c = g_tables.constants;
    std::copy(c + k + 1, c + g_tables.constant_count, c + k);
    --g_tables.constant_count;
    std::memset(&c[g_tables.constant_count], 0, sizeof c[0]);
    return true;
}

std::string constant_value_text(double value) {
    if (value == 0.0) return "0";   // also -0: a sign on nothing would only confuse
    return shortest_text(value);
}

std::string constant_display_text(const ConstantRecord& c) {
    std::string value = c.value;
    if (g_settings.decimal_mark == 1) std::replace(value.begin(), value.end(), '.', ',');
    if (c.unit[0] == '\0') return value + " ";
    return value + " (" + c.unit + ")";
}

int conversion_token(int from_unit, int to_unit) { return TOK_UNIT_BASE + from_unit + 256 * to_unit; }

std::vector<int> property_units(int property) {
    std::vector<int> units;
    for (int k = 0; k < g_tables.unit_count; ++k)
        if (property >= 0 && g_tables.units[k].property == property) units.push_back(k);
    return units;
}

bool unit_record(int index, double* factor, double* offset, const char** abbreviation) {
    const bool known = index >= 0 && index < g_tables.unit_count && g_tables.units[index].property >= 0;
    const UnitRecord* u = known ? &g_tables.units[index] : nullptr;
    if (factor) *factor = u ? u->factor : 1.0;
    if (offset) *offset = u ? u->offset : 0.0;
    if (abbreviation) *abbreviation = u ? u->abbreviation : "?";
    return known;
}

void install_unit_hooks() {
    g_hooks.unit_record = unit_record;
    if (g_tables.property_count == 0 && g_tables.unit_count == 0) load_tables(nullptr);
}

}  // namespace qx

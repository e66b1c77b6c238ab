// Decoding an element's line and the texts of its display rows.
//
// The record is cleared before every decode: a field the line lacks must
// read as no value, never as what the element shown before had there.
// "No value" is kept as "----" so that it stands out in a list of numbers,
// and it takes no unit ("---- g/mole" would suggest a value).
#include "tools/elements.h"

#include <cctype>
#include <cstdio>
#include <cstring>

namespace qx {

namespace {

constexpr int kFieldSize = sizeof(ElementRecord{}.fields[0]);
constexpr const char kNoValue[] = "----";

enum Field {
    F_NAME, F_SYMBOL, F_WEIGHT, F_BOILING, F_MELTING, F_DENSITY, F_CONFIG, F_OXIDATION,
    F_CRYSTAL, F_ELECTRONEGATIVITY, F_VAPORIZATION, F_FUSION, F_CONDUCTIVITY, F_SPECIFIC_HEAT,
    F_IONIZATION, F_RADIUS, F_ACIDITY, F_AFFINITY,
};

constexpr int kAtomicNumber = -1;   // the row shows index + 1, not a field

struct Row {
    const char* label;
    int field;
    const char* unit;
    bool insertable;
};

// Units are in the calculator's code page: 0x1C degree sign, 0xAD capital
// A with ring (angstrom).
constexpr Row kRows[ELEMENT_ROWS] = {
    {"Symbol", F_SYMBOL, "", false},
    {"Name", F_NAME, "", false},
    {"Atomic Number", kAtomicNumber, "", true},
    {"Atomic Weight", F_WEIGHT, "g/mole", true},
    {"Boiling Point", F_BOILING, "\x1C" "C", true},
    {"Melting Point", F_MELTING, "\x1C" "C", true},
    {"Density", F_DENSITY, "", true},   // the unit is part of the value
    {"Oxidation States", F_OXIDATION, "", false},
    {"1st Ionization Potential", F_IONIZATION, "eV", true},
    {"Electronegativity", F_ELECTRONEGATIVITY, "(Pauling scale)", true},
    {"Electron Config.", F_CONFIG, "", false},
    {"Acidity/Basicity", F_ACIDITY, "", false},
    {"Crystal Struct.", F_CRYSTAL, "", false},
    {"Heat of Vaporization", F_VAPORIZATION, "kJ/mole", true},
    {"Heat of Fusion", F_FUSION, "kJ/mole", true},
    {"Specific Heat Cap.", F_SPECIFIC_HEAT, "J/(g K)", true},
    {"Thermal Conductivity", F_CONDUCTIVITY, "W/(m K)", true},
    {"Atomic Radius", F_RADIUS, "\xAD", true},
    {"Electron Affinity", F_AFFINITY, "eV", true},
};

constexpr const char* kCrystals[8] = {
    "Cubic, face centered", "Cubic, body centered", "Cubic, simple", "Hexagonal",
    "Rhombohedral", "Tetragonal", "Orthorhombic", "Monoclinic",
};

// The density unit: g/cm and a superscript three (0xAC).
constexpr const char kDensityUnit[] = " g/cm\xAC";

void clear(ElementRecord& e) { std::memset(&e, 0, sizeof e); e.index = -1; }

void set_field(char* out, const char* text, std::size_t length) {
    const std::size_t n = length < static_cast<std::size_t>(kFieldSize - 1) ? length : kFieldSize - 1;
    std::memcpy(out, text, n);
    out[n] = '\0';
}

void append_field(char* out, const char* text) {
    const std::size_t used = std::strlen(out);
    if (used + 1 >= static_cast<std::size_t>(kFieldSize)) return;
    std::strncat(out, text, kFieldSize - 1 - used);
}

// One field as stored: "^" back to ",", "--" to "----".
void store_field(char* out, const char* text, std::size_t length) {
    set_field(out, text, length);
    for (char* p = out; *p; ++p)
        if (*p == '^') *p = ',';
    if (std::strcmp(out, "--") == 0) set_field(out, kNoValue, sizeof kNoValue - 1);
}

bool no_value(const char* text) { return std::strcmp(text, kNoValue) == 0; }

void finish_density(char* density) {
    if (!no_value(density) && !std::strchr(density, 'g')) append_field(density, kDensityUnit);
}

void finish_crystal(char* crystal) {
    if (crystal[0] >= '1' && crystal[0] <= '8' && crystal[1] == '\0') {
        const char* name = kCrystals[crystal[0] - '1'];
        set_field(crystal, name, std::strlen(name));
    }
}

// The number a value text starts with, after a sign of approximation such
// as "~"; "" when it does not start with one.  Remarks and units after it
// are left out, so that the input line gets only what it can take.
std::string leading_number(const char* text) {
    const char* p = text;
    while (*p == '~' || *p == '<' || *p == '>' || *p == '=' || *p == ' ') ++p;
    const char* start = p;
    if (*p == '+' || *p == '-') ++p;
    const char* digits = p;
    while (std::isdigit(static_cast<unsigned char>(*p))) ++p;
    int count = static_cast<int>(p - digits);
    if (*p == '.') {
        ++p;
        const char* fraction = p;
        while (std::isdigit(static_cast<unsigned char>(*p))) ++p;
        count += static_cast<int>(p - fraction);
    }
    if (count == 0) return {};
    if (*p == 'e' || *p == 'E') {
        const char* q = p + 1;
        if (*q == '+' || *q == '-') ++q;
        if (std::isdigit(static_cast<unsigned char>(*q))) {
            while (std::isdigit(static_cast<unsigned char>(*q))) ++q;
            p = q;
        }
    }
    return std::string(start, p);
}

std::string atomic_number(const ElementRecord& e) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", e.index + 1);
    return text;
}

std::string row_value(const ElementRecord& e, const Row& row) {
    return row.field == kAtomicNumber ? atomic_number(e) : std::string(e.fields[row.field]);
}

}  // namespace

ElementLoad decode_element(const char* table, int index, ElementRecord& out) {
    clear(out);
    if (!table || index < 0) return ElementLoad::NoSuchLine;
    const char* line = table;
    for (int k = 0; k < index; ++k) {
        const char* end = std::strstr(line, "\r\n");
        if (!end) return ElementLoad::NoSuchLine;
        line = end + 2;
    }
    if (*line == '\0') return ElementLoad::NoSuchLine;
    const char* end = std::strstr(line, "\r\n");
    if (!end) end = line + std::strlen(line);
    if (end - line >= ELEMENT_LINE_LIMIT) return ElementLoad::LineTooLong;

    const char* p = line;
    for (int f = 0; f < ELEMENT_FIELDS; ++f) {
        if (p >= end) {
            set_field(out.fields[f], kNoValue, sizeof kNoValue - 1);
            continue;
        }
        const char* stop = p;
        while (stop < end && !(stop[0] == ',' && stop + 1 < end && stop[1] == ' ')) ++stop;
        store_field(out.fields[f], p, static_cast<std::size_t>(stop - p));
        p = stop < end ? stop + 2 : end;
    }
    finish_density(out.fields[F_DENSITY]);
    finish_crystal(out.fields[F_CRYSTAL]);
    out.index = index;
    return ElementLoad::Loaded;
}

ElementLoad load_element(int index, ElementRecord& out) {
    if (index >= ELEMENT_COUNT) {
        clear(out);
        return ElementLoad::NoSuchLine;
    }
    return decode_element(element_table_text(), index, out);
}

bool element_row_insertable(int row) { return row >= 0 && row < ELEMENT_ROWS && kRows[row].insertable; }

std::string element_row_text(const ElementRecord& e, int row, int style) {
    if (row < 0 || row >= ELEMENT_ROWS) return {};
    const Row& r = kRows[row];
    if (style == 0) return r.label;
    if (style != 1 && style != 2) return {};
    std::string text = row_value(e, r);
    if (r.unit[0] != '\0' && !no_value(text.c_str())) {
        text += ' ';
        text += r.unit;
    }
    return style == 1 ? text : std::string(r.label) + ": " + text;
}

std::string element_insert_text(const ElementRecord& e, int row) {
    if (!element_row_insertable(row)) return {};
    const std::string value = row_value(e, kRows[row]);
    if (value.rfind("--", 0) == 0 || value.rfind("(", 0) == 0) return {};
    return leading_number(value.c_str());
}

}  // namespace qx

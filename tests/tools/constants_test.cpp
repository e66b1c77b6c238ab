// The table of properties, units and constants: the built-in text, the
// conversions the engine makes with it, the reader's warnings and limits,
// and the user's constants (file, adding, deleting, the texts shown).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "tests/helpers.h"
#include "tools/constants.h"

namespace qx {
namespace {

using test::Outcome;

class Constants : public test::EngineTest {
protected:
    void SetUp() override {
        test::EngineTest::SetUp();
        load_tables(nullptr);
        install_unit_hooks();
    }
};

int property_named(const char* name) {
    for (int p = 0; p < g_tables.property_count; ++p)
        if (std::strcmp(g_tables.properties[p].name, name) == 0) return p;
    return -1;
}

int unit_of(const char* property, const char* abbreviation) {
    for (int u : property_units(property_named(property)))
        if (std::strcmp(g_tables.units[u].abbreviation, abbreviation) == 0) return u;
    ADD_FAILURE() << property << " has no unit " << abbreviation;
    return 0;
}

Outcome convert(double x, int from, int to) {
    std::string line = "( ";
    if (x < 0) line += '~';
    line += std::to_string(std::fabs(x));
    line += " ) #";
    line += std::to_string(conversion_token(from, to));
    return test::run(line);
}

std::vector<std::string> names() {
    std::vector<std::string> out;
    for (int k = 0; k < g_tables.constant_count; ++k) out.push_back(g_tables.constants[k].name);
    return out;
}

std::string cons_lines(int first, int count) {
    std::string text;
    for (int k = first; k < first + count; ++k) text += "Cons: c" + std::to_string(k) + ", u, " + std::to_string(k) + "\r\n";
    return text;
}

TEST_F(Constants, BuiltInTableLoadsWithoutWarnings) {
    const TablesLoad load = load_tables(nullptr);
    EXPECT_TRUE(load.messages.empty()) << load.messages.front().text;
    EXPECT_TRUE(load.write_user_file);
    EXPECT_EQ(g_tables.property_count, 13);
    EXPECT_EQ(g_tables.unit_count, 124);
    EXPECT_EQ(g_tables.constant_count, 44);
    // Conversion tokens already stored depend on these places.
    const struct { int index; const char* abbreviation; const char* property; } places[] = {
        {0, "acre", "Area"}, {8, "Angstrom", "Distance"}, {31, "F", "Electric Charge"},
        {32, "Btu", "Energy"}, {81, "torr", "Pressure"}, {82, "C", "Temperature"},
        {89, "cm/hr", "Velocity"}, {123, "teaspoon", "Volume (Fluid)"},
    };
    for (const auto& p : places) {
        EXPECT_STREQ(g_tables.units[p.index].abbreviation, p.abbreviation);
        EXPECT_STREQ(g_tables.properties[g_tables.units[p.index].property].name, p.property);
    }
    // The fluid volumes are counted in the cubic meters of the dry ones,
    // so that a conversion may cross the two.
    for (int p = 0; p < g_tables.property_count - 1; ++p) {
        bool base = false;
        for (int u : property_units(p)) base |= g_tables.units[u].factor == 1.0 && g_tables.units[u].offset == 0.0;
        EXPECT_TRUE(base) << g_tables.properties[p].name;
    }
    EXPECT_TRUE(std::string_view(builtin_table_text()).find("Cons: e, , 2.718281828459045\r\n") != std::string_view::npos);
}

TEST_F(Constants, TemperaturesThroughTheEngine) {
    const int c = unit_of("Temperature", "C"), f = unit_of("Temperature", "F"), k = unit_of("Temperature", "K");
    const struct { double x; int from, to; double expected; } cases[] = {
        {0, c, f, 32}, {100, c, f, 212}, {0, c, k, 273.15}, {-40, f, c, -40}, {212, f, c, 100},
        {0, k, f, -459.67},
    };
    for (const auto& t : cases) {
        const Outcome o = convert(t.x, t.from, t.to);
        ASSERT_TRUE(o.ok) << o.code;
        EXPECT_NEAR(o.re, t.expected, 1e-9) << t.x << " " << t.from << ">" << t.to;
    }
}

TEST_F(Constants, ConversionsMatchExactDefinitions) {
    // Reference values from the definitions, worked out with python3
    // fractions (pi to 50 digits for the parsec: 648000 / pi au).
    const struct { const char* property; const char* from; const char* to; double expected; } cases[] = {
        {"Distance", "mile", "km", 1.609344},
        {"Distance", "light year", "m", 9460730472580800.0},   // 365.25 d x c
        {"Distance", "parsec", "m", 30856775814913672.789},
        {"Distance", "furlong", "ft", 660},
        {"Distance", "ft", "m", 0.3048},
        {"Area", "sq.mile", "acre", 640},
        {"Mass", "lb(avdp)", "kg", 0.45359237},
        {"Mass", "oz(troy)", "g", 31.1034768},
        {"Mass", "tons(short)", "lb(avdp)", 2000},
        {"Mass", "dram", "grain", 60},
        {"Mass", "lb(troy)", "oz(troy)", 12},
        {"Energy", "Btu", "J", 1055.05585262},
        {"Energy", "cal", "J", 4.1868},
        {"Energy", "kW-hr", "J", 3.6e6},
        {"Energy", "ft.lb", "J", 1.3558179483314004},     // ft x lb x g0
        {"Energy", "eV", "J", 1.602176634e-19},
        {"Power", "hp", "W", 745.69987158227022},          // 550 ft lbf / s
        {"Pressure", "torr", "Pa", 133.32236842105263158},  // 101325 / 760
        {"Pressure", "psi", "Pa", 6894.7572931683613367},   // lb g0 / in^2
        {"Pressure", "atm", "bar", 1.01325},
        {"Pressure", "kg/sq.cm", "Pa", 98066.5},
        {"Volume (Fluid)", "gal(fl)", "l", 3.785411784},    // 231 in^3
        {"Volume (Fluid)", "cup", "fl.oz", 8},
        {"Volume (Fluid)", "tablespoon", "teaspoon", 3},
        {"Volume (Dry)", "bushel", "cu.in", 2150.42},
        {"Volume (Dry)", "gal(dry)", "cu.in", 268.8025},
        {"Velocity", "knots", "km/hr", 1.852},
        {"Velocity", "mph", "m/s", 0.44704},
        {"Time", "day", "min", 1440},
        {"Electric Charge", "F", "C", 96485.33212},
    };
    for (const auto& t : cases) {
        const Outcome o = convert(1, unit_of(t.property, t.from), unit_of(t.property, t.to));
        ASSERT_TRUE(o.ok) << t.from;
        EXPECT_NEAR(o.re, t.expected, 1e-12 * std::fabs(t.expected)) << t.from << ">" << t.to;
    }
    // Across the two volume properties: a fluid ounce is 231/128 cubic
    // inches and a cubic foot 1728/231 gallons.
    const struct { int from, to; double expected; } mixed[] = {
        {unit_of("Volume (Fluid)", "fl.oz"), unit_of("Volume (Dry)", "cu.in"), 1.8046875},
        {unit_of("Volume (Dry)", "cu.ft"), unit_of("Volume (Fluid)", "gal(fl)"), 7.4805194805194805195},
    };
    for (const auto& t : mixed) EXPECT_NEAR(convert(1, t.from, t.to).re, t.expected, 1e-12 * t.expected);
    const Outcome atm = convert(1, unit_of("Pressure", "atm"), unit_of("Pressure", "psi"));
    EXPECT_NEAR(atm.re, 14.695948776, 1e-9);
    EXPECT_NEAR(convert(5, unit_of("Distance", "ft"), unit_of("Distance", "m")).re, 1.524, 1e-15);
}

TEST_F(Constants, UnitRecordsForTheEngine) {
    double factor = 0, offset = 0;
    const char* name = nullptr;
    ASSERT_TRUE(unit_record(unit_of("Distance", "ft"), &factor, &offset, &name));
    EXPECT_STREQ(name, "ft");
    EXPECT_EQ(factor, 0.3048);
    for (int bad : {-1, 124, 134, 135, 255}) EXPECT_FALSE(unit_record(bad, &factor, &offset, &name)) << bad;
    // An unknown unit is an error, not a conversion by nonsense.
    EXPECT_FALSE(convert(1, 200, 0).ok);
}

TEST_F(Constants, OrderWarningsKeepReading) {
    ConstantTables t{};
    std::vector<TableMessage> m;
    parse_table_text(t,
                     "Prop: Mass\r\nUnit: kg, K, 1.0, 0.0\r\nUnit: G, G, 1.0e-3, 0.0\r\n"
                     "Prop: area\r\nUnit: acre, A, 4046.8564224, 0.0\r\nProp: Time\r\nUnit: s, S, 1, 0\r\n",
                     m);
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[0].text, "A unit is out of alphabetic order: G");
    EXPECT_EQ(m[1].text, "A property is out of alphabetic order: area");
    EXPECT_EQ(m[0].title, "Order");
    EXPECT_EQ(t.property_count, 3);
    EXPECT_EQ(t.unit_count, 4);   // "acre" after "G" is another property's: no warning
}

TEST_F(Constants, OverflowStopsAtCapacity) {
    struct Case {
        std::string text;
        const char* message;
    };
    std::string props, units = "Prop: Length\r\n";
    for (int k = 0; k < 16; ++k) props += "Prop: P" + std::string(1, static_cast<char>('a' + k)) + "\r\n";
    for (int k = 0; k < 130; ++k) {
        char line[40];
        std::snprintf(line, sizeof line, "Unit: u%03d, U, 1.0, 0.0\r\n", k);
        units += line;
    }
    const Case cases[] = {
        {props + "Cons: late, , 1\r\n", "Property array is not large enouph"},
        {units + "Cons: late, , 1\r\n", "Unit array is not large enouph"},
        {cons_lines(0, 103) + "Cons: late, , 1\r\n", "Constant array is not large enouph"},
    };
    for (const Case& c : cases) {
        ConstantTables t{};
        std::vector<TableMessage> m;
        parse_table_text(t, c.text, m);
        ASSERT_EQ(m.size(), 1u) << c.message;
        EXPECT_EQ(m[0].text, c.message);
        EXPECT_EQ(m[0].title, "Array size limit");
        EXPECT_LE(t.property_count, PROPERTY_CAPACITY);
        EXPECT_LE(t.unit_count, UNIT_CAPACITY);
        EXPECT_LE(t.constant_count, CONSTANT_CAPACITY);
        for (int k = 0; k < t.constant_count; ++k) EXPECT_STRNE(t.constants[k].name, "late");
    }
    ConstantTables t{};
    std::vector<TableMessage> m;
    parse_table_text(t, props, m);
    EXPECT_EQ(t.property_count, 14);
    EXPECT_STREQ(t.properties[13].name, "Pn");
    parse_table_text(t = ConstantTables{}, units, m);
    EXPECT_EQ(t.unit_count, 128);
    EXPECT_EQ(t.units[128].property, 0);   // the record after the last stays untouched
    m.clear();
    parse_table_text(t = ConstantTables{}, cons_lines(0, 101), m);
    EXPECT_EQ(t.constant_count, 101);
    EXPECT_TRUE(m.empty());
}

TEST_F(Constants, LineLengthsAndMalformedLines) {
    const std::string name108(108, 'n');   // "Cons: " + 108 + ", , 1" = 119 characters
    const std::string user = "Cons: " + name108 + ", , 1\r\n" +       // kept, cut to 39
                             "Cons: " + name108 + "x, , 2\r\n" +      // 120: skipped
                             "Cons:\r\nCons\r\n" +                    // too short
                             "Cons: noval, u\r\nCons: word, u, twelve\r\nCons: hex, u, 0x10\r\n" +
                             "Cons: , u, 3\r\nCons: inf, u, inf\r\nCons: big, u, 1e999\r\n" +
                             "Cons: plus, u, 1e+5\r\n" +                // "+" would be an addition
                             "Prop: Stuff\r\nUnit: x, X, 1.0, 0.0\r\n" +  // a user file holds constants only
                             "Cons: ok, m, -1.5e-3  \r\n";
    const TablesLoad load = load_tables(&user);
    EXPECT_FALSE(load.write_user_file);
    ASSERT_EQ(g_tables.constant_count, 2);
    EXPECT_STREQ(g_tables.constants[0].name, std::string(39, 'n').c_str());
    EXPECT_STREQ(g_tables.constants[1].value, "-1.5e-3");
    EXPECT_EQ(g_tables.property_count, 13);
    EXPECT_EQ(g_tables.unit_count, 124);
}

TEST_F(Constants, UserFileAndFallbacks) {
    const std::string user = "Cons: zeta, , 2\r\nCons: Alpha, m, 1\r\nCons: beta, s, 3\r\nCons: ALPHA, x, 9\r\n"
                             "Cons: Delta, , 4";
    TablesLoad load = load_tables(&user);
    EXPECT_FALSE(load.write_user_file);
    EXPECT_EQ(names(), (std::vector<std::string>{"Alpha", "beta", "Delta", "zeta"}));
    EXPECT_STREQ(g_tables.constants[0].unit, "m");   // the first of two equal names stays
    for (const std::string empty : {"", "\r\n\r\n", "Prop: Area\r\n", "Cons: broken\r\n"}) {
        load = load_tables(&empty);
        EXPECT_TRUE(load.write_user_file) << empty;
        EXPECT_EQ(g_tables.constant_count, 44) << empty;
    }
    // The first start writes one line per built-in constant.
    load = load_tables(nullptr);
    const std::string first = constants_file_text();
    EXPECT_EQ(std::count(first.begin(), first.end(), '\n'), 44);
    EXPECT_NE(first.find("Cons: Pi, , 3.141592653589793\r\n"), std::string::npos);
    EXPECT_EQ(names().front(), "Astronomical unit");
    EXPECT_EQ(names().back(), "Stefan-Boltzmann constant");
}

TEST_F(Constants, AddingIsRefusedWhenItCannotBeKept) {
    const struct { const char* name; const char* unit; AddConstant outcome; } cases[] = {
        {"pi", "", AddConstant::NameInUse},
        {"SPEED OF LIGHT IN VACUUM", "m/s", AddConstant::NameInUse},
        {"a, b", "", AddConstant::BadText},
        {"ab", "m, s", AddConstant::BadText},
        {"", "m", AddConstant::BadText},
        {"   ", "m", AddConstant::BadText},
        {"a,b", "m,s", AddConstant::Added},
    };
    for (const auto& c : cases) EXPECT_EQ(add_constant(c.name, c.unit, 1.0), c.outcome) << c.name;
    const TableMessage in_use = add_constant_refusal(AddConstant::NameInUse);
    EXPECT_EQ(in_use.text, "Constant name in use");
    EXPECT_EQ(in_use.title, "Error");
    EXPECT_EQ(add_constant_refusal(AddConstant::BadText).text, "A constant's name and unit cannot contain \", \".");

    const std::string hundred = cons_lines(0, 100);
    load_tables(&hundred);
    EXPECT_EQ(add_constant("one more", "", 1.0), AddConstant::Full);
    EXPECT_EQ(add_constant_refusal(AddConstant::Full).text, "Reached maximum number of constants");
    EXPECT_EQ(add_constant_refusal(AddConstant::Full).title, "Limit");
    EXPECT_EQ(g_tables.constant_count, 100);
}

TEST_F(Constants, AddSaveLoadRoundTrip) {
    g_settings.decimal_mark = 1;   // the result reads 1,5 on the display
    ASSERT_EQ(add_constant("aardvark", "kg/m", 1.5), AddConstant::Added);
    ASSERT_EQ(add_constant("a long name that will not fit in the record at all", "", -2.5e-300),
              AddConstant::Added);
    const std::string file = constants_file_text();
    load_tables(&file);
    ASSERT_EQ(g_tables.constant_count, 46);
    EXPECT_STREQ(g_tables.constants[0].name, "a long name that will not fit in the re");
    EXPECT_STREQ(g_tables.constants[0].value, "-2.5e-300");
    EXPECT_STREQ(g_tables.constants[1].name, "aardvark");
    EXPECT_STREQ(g_tables.constants[1].value, "1.5");
    const std::string sorted = constants_file_text();
    load_tables(&sorted);
    EXPECT_EQ(constants_file_text(), sorted);
}

TEST_F(Constants, DeletingTheLastRestoresTheBuiltIns) {
    const std::string user = "Cons: only, , 7\r\n";
    load_tables(&user);
    EXPECT_FALSE(delete_constant("other"));
    ASSERT_TRUE(delete_constant("ONLY"));
    EXPECT_EQ(g_tables.constant_count, 0);
    const std::string file = constants_file_text();
    const TablesLoad load = load_tables(&file);
    EXPECT_TRUE(load.write_user_file);
    EXPECT_EQ(g_tables.constant_count, 44);
}

TEST_F(Constants, DisplayTexts) {
    const std::string user = "Cons: g, , 9.81\r\nCons: N_A, /mol, 6.02214076e23\r\n";
    load_tables(&user);
    EXPECT_EQ(constant_display_text(g_tables.constants[0]), "9.81 ");
    EXPECT_EQ(constant_display_text(g_tables.constants[1]), "6.02214076e23 (/mol)");
    g_settings.decimal_mark = 1;
    EXPECT_EQ(constant_display_text(g_tables.constants[0]), "9,81 ");
    EXPECT_STREQ(g_tables.constants[0].value, "9.81");   // the stored digits keep the point
}

TEST_F(Constants, ValueTextIsShortestExact) {
    const struct { double value; const char* text; } cases[] = {
        {1.5, "1.5"}, {0.1, "0.1"}, {-0.0, "0"}, {0.0, "0"}, {123456, "123456"}, {1e14, "100000000000000"},
        {1e15, "1e15"}, {1e-5, "0.00001"}, {1.25e-6, "1.25e-6"}, {6.02214076e23, "6.02214076e23"},
        {-2.5e-7, "-2.5e-7"}, {1.0 / 3.0, "0.3333333333333333"}, {5e-324, "5e-324"},
        {1.7976931348623157e308, "1.7976931348623157e308"},
    };
    for (const auto& c : cases) EXPECT_EQ(constant_value_text(c.value), c.text) << c.value;
    std::mt19937_64 rng(14);
    for (int k = 0; k < 20000; ++k) {
        double v;
        const std::uint64_t bits = rng();
        std::memcpy(&v, &bits, sizeof v);
        if (!std::isfinite(v)) continue;
        const std::string text = constant_value_text(v);
        ASSERT_LT(text.size(), sizeof(ConstantRecord::value));
        EXPECT_EQ(std::strtod(text.c_str(), nullptr), v) << text;
    }
}

}  // namespace
}  // namespace qx

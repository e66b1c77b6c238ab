// The start-up settings text: round trips of every code, the defaults, the
// refusals of texts that are not exactly the table's, and a fuzz of random
// and damaged texts.
#include <gtest/gtest.h>

#include <initializer_list>
#include <iterator>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "engine/settings.h"
#include "persist/startup_settings.h"

namespace qx {
namespace {

auto fields(const Settings& s) {
    return std::tuple(s.decimal_digits, s.number_format, s.decimal_mark, s.angle_unit, s.calculator_mode,
                      s.base_bits, s.base_mode, s.stats_var, s.stats_regress, s.key_click, s.display_color,
                      s.brightness, s.dynamic_mode, s.complex_format);
}

Settings read(const std::string& text, bool* plot = nullptr) {
    Settings s{};
    read_startup_text(text, s, plot);
    return s;
}

// The value the text gives one name, as a line of the written text.
std::string line_of(const std::string& text, const std::string& name) {
    const std::size_t at = text.find(name + "=");
    if (at == std::string::npos) return {};
    return text.substr(at + name.size() + 1, text.find('\n', at) - at - name.size() - 1);
}

struct Code {
    int code;
    const char* text;   // what is written
    int read_back;      // what reading that text gives
};

struct RoundTrip {
    const char* name;
    int Settings::*field;
    std::vector<Code> codes;
};

// The table of the start-up settings, written out by hand.
const std::vector<RoundTrip>& round_trips() {
    static const std::vector<RoundTrip> table = {
        {"precision", &Settings::decimal_digits,
         {{0, "0", 0}, {1, "1", 1}, {2, "2", 2}, {3, "3", 3}, {4, "4", 4}, {5, "5", 5}, {6, "6", 6},
          {7, "7", 7}, {8, "8", 8}, {9, "9", 9}, {10, "10", 10}, {11, "11", 4}, {-1, "-1", 4}}},
        {"format", &Settings::number_format,
         {{0, "NORM", 0}, {1, "FIX", 1}, {2, "SCIENTIFIC", 2}, {3, "ENGINEERING", 3}, {9, "NORM", 0}}},
        {"point_and_seperator", &Settings::decimal_mark,
         {{0, "DECIMAL_POINT", 0}, {1, "COMMA_POINT", 1}, {2, "DECIMAL_POINT", 0}}},
        {"angle_unit", &Settings::angle_unit,
         {{0, "RADIAN", 0}, {1, "DEGREE", 1}, {2, "GRADIAN", 2}, {7, "DEGREE", 1}}},
        {"display_mode", &Settings::calculator_mode,
         {{0, "BASE_MODE", 0}, {1, "COMP_MODE", 1}, {2, "STATS_MODE", 2}, {3, "COMP_MODE", 1},
          {4, "COMP_MODE", 1}, {5, "PLOT_MODE", 5}, {6, "MATRIX_MODE", 6}, {7, "LIST_MODE", 7}}},
        {"base_bits", &Settings::base_bits, {{0, "BITS_8", 0}, {1, "BITS_16", 1}, {2, "BITS_32", 2}}},
        {"base_unit", &Settings::base_mode, {{0, "U_BIN", 0}, {1, "U_OCT", 1}, {2, "U_DEC", 2}, {3, "U_HEX", 3}}},
        {"stats_var", &Settings::stats_var, {{0, "STATS_SINGLE_VAR", 0}, {1, "STATS_DOUBLE_VAR", 1}}},
        {"regress_type", &Settings::stats_regress,
         {{0, "R_LINEAR", 0}, {1, "R_LOGARITHMIC", 1}, {2, "R_EXPON", 2}, {3, "R_POWER", 3}}},
        {"button_click", &Settings::key_click, {{0, "OFF", 0}, {1, "ON", 1}, {2, "ON", 1}}},
        {"brightness", &Settings::brightness,
         {{0, "0", 0}, {128, "128", 128}, {255, "255", 255}, {300, "300", 255}}},
        {"dynamic_mode", &Settings::dynamic_mode,
         {{0, "BASE_MODE", 0}, {2, "STATS_MODE", 2}, {6, "MATRIX_MODE", 6}, {7, "LIST_MODE", 7},
          {1, "STATS_MODE", 2}, {5, "STATS_MODE", 2}}},
        {"scaler_type", &Settings::complex_format,
         {{0, "ST_REAL", 0}, {1, "ST_COMPLEX_R", 1}, {2, "ST_COMPLEX_P", 2}}},
    };
    return table;
}

TEST(StartupSettings, EveryCodeRoundTrips) {
    for (const RoundTrip& t : round_trips())
        for (const Code& c : t.codes) {
            SCOPED_TRACE(std::string(t.name) + " " + std::to_string(c.code));
            Settings s = read("");
            s.*t.field = c.code;
            const std::string text = write_startup_text(s);
            EXPECT_EQ(line_of(text, t.name), c.text);
            bool plot = true;
            const Settings back = read(text, &plot);
            EXPECT_EQ(back.*t.field, c.read_back);
            EXPECT_EQ(plot, t.field == &Settings::calculator_mode && c.code == MODE_PLOT);
        }
    // The colour is written as it is kept, 24 bits.
    for (std::uint32_t colour : {0u, 1u, 0x123456u, 0xFFFFFFu}) {
        Settings s = read("");
        s.display_color = colour;
        EXPECT_EQ(read(write_startup_text(s)).display_color, colour);
    }
}

TEST(StartupSettings, WrittenTextIsFourteenLinesInTableOrder) {
    const std::string expected =
        "precision=4\nformat=NORM\npoint_and_seperator=DECIMAL_POINT\nangle_unit=RADIAN\n"
        "display_mode=COMP_MODE\nbase_bits=BITS_16\nbase_unit=U_DEC\nstats_var=STATS_SINGLE_VAR\n"
        "regress_type=R_LINEAR\nbutton_click=OFF\ndisplay_color=16777215\nbrightness=172\n"
        "dynamic_mode=STATS_MODE\nscaler_type=ST_REAL\n";
    EXPECT_EQ(write_startup_text(read("")), expected);
}

TEST(StartupSettings, EmptyTextGivesTheDefaults) {
    bool plot = true;
    const Settings s = read("", &plot);
    EXPECT_EQ(fields(s), std::tuple(4, FMT_FLOAT, 0, ANGLE_RAD, MODE_COMP, BITS_16, RADIX_DEC, 0, 0, 0,
                                    0xFFFFFFu, 172, MODE_STATS, CPLX_REAL));
    EXPECT_FALSE(plot);
    // The same block the calculator starts with when nothing is stored.
    reset_settings();
    EXPECT_EQ(fields(s), fields(g_settings));
    // Reading replaces whatever the block held.
    Settings dirty{};
    dirty.angle_unit = ANGLE_GRAD;
    dirty.brightness = 3;
    read_startup_text("\r\n\n", dirty, nullptr);
    EXPECT_EQ(fields(dirty), fields(s));
}

struct Refusal {
    std::string text;
    int Settings::*field;
    int expected;
};

TEST(StartupSettings, TextsOutsideTheTableKeepTheDefault) {
    const std::string long_zeros(118, '0');
    const Refusal cases[] = {
        {"angle_unit=radian", &Settings::angle_unit, ANGLE_RAD},
        {"angle_unit=deg", &Settings::angle_unit, ANGLE_RAD},
        {"angle_unit=GRADIANS", &Settings::angle_unit, ANGLE_RAD},
        {"angle_unit=", &Settings::angle_unit, ANGLE_RAD},
        {"display_mode=PROG_MODE", &Settings::calculator_mode, MODE_COMP},
        {"base_bits=BITS_64", &Settings::base_bits, BITS_16},
        {"base_unit=u_hex", &Settings::base_mode, RADIX_DEC},
        {"format=ENG", &Settings::number_format, FMT_FLOAT},
        {"button_click=on", &Settings::key_click, 0},
        {"precision=12", &Settings::decimal_digits, 4},
        {"precision=0", &Settings::decimal_digits, 0},
        {"precision= 7 ", &Settings::decimal_digits, 7},
        {"precision=-1", &Settings::decimal_digits, 4},
        {"precision=5x", &Settings::decimal_digits, 4},
        {"precision=5.0", &Settings::decimal_digits, 4},
        {"precision=0x5", &Settings::decimal_digits, 4},
        {"precision=-", &Settings::decimal_digits, 4},
        {"precision=99999999999", &Settings::decimal_digits, 4},
        {"brightness=300", &Settings::brightness, 255},
        {"brightness=-5", &Settings::brightness, 0},
        {"brightness=12.5", &Settings::brightness, 172},
        {"brightness=2147483648", &Settings::brightness, 172},
        {"brightness=-2147483648", &Settings::brightness, 0},
        {"dynamic_mode=PLOT_MODE", &Settings::dynamic_mode, MODE_STATS},
        {"dynamic_mode=COMP_MODE", &Settings::dynamic_mode, MODE_STATS},
        {"dynamic_mode=LIST_MODE", &Settings::dynamic_mode, MODE_LIST},
        // 118 zeros and a 5 are 119 characters, the most a value may have.
        {"precision=" + long_zeros + "5", &Settings::decimal_digits, 5},
        {"precision=0" + long_zeros + "5", &Settings::decimal_digits, 4},
    };
    for (const Refusal& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(read(c.text).*c.field, c.expected);
    }
}

TEST(StartupSettings, ColourIsKeptToTwentyFourBits) {
    // 0x12345678 = 305419896 and -0x1000000 = -16777216, as python3 masks them.
    const struct { const char* text; std::uint32_t expected; } cases[] = {
        {"display_color=305419896", 3430008u}, {"display_color=-16777216", 0u},
        {"display_color=255", 255u},           {"display_color=4294967295", 0xFFFFFFu},
        {"display_color=12a", 0xFFFFFFu},
    };
    for (const auto& c : cases) EXPECT_EQ(read(c.text).display_color, c.expected) << c.text;
}

TEST(StartupSettings, LinesAndBlanks) {
    bool plot = false;
    Settings s = read(" angle_unit =  GRADIAN\r\nformat=FIX\rbase_unit=U_HEX\n\tdisplay_mode\t=\tPLOT_MODE\t",
                      &plot);
    EXPECT_EQ(s.angle_unit, ANGLE_GRAD);
    EXPECT_EQ(s.number_format, FMT_FIXED);
    EXPECT_EQ(s.base_mode, RADIX_HEX);
    EXPECT_EQ(s.calculator_mode, MODE_PLOT);
    EXPECT_TRUE(plot);

    // Unknown names, lines without '=', names in another case: nothing.
    s = read("colour=0\nbrightness 3\nPRECISION=2\n=RADIAN\nangle unit=DEGREE\n");
    EXPECT_EQ(fields(s), fields(read("")));

    // The last line of a name counts, even when it cannot be read.
    s = read("precision=2\nprecision=3\nformat=FIX\nformat=fix\nangle_unit=DEGREE\nangle_unit=GRADIAN");
    EXPECT_EQ(s.decimal_digits, 3);
    EXPECT_EQ(s.number_format, FMT_FLOAT);
    EXPECT_EQ(s.angle_unit, ANGLE_GRAD);
    EXPECT_EQ(read("display_mode=PLOT_MODE\ndisplay_mode=LIST_MODE", &plot).calculator_mode, MODE_LIST);
    EXPECT_FALSE(plot);
}

bool inside_tables(const Settings& s) {
    auto in = [](int v, std::initializer_list<int> allowed) {
        for (int a : allowed)
            if (v == a) return true;
        return false;
    };
    return s.decimal_digits >= 0 && s.decimal_digits <= 10 && in(s.number_format, {0, 1, 2, 3}) &&
           in(s.decimal_mark, {0, 1}) && in(s.angle_unit, {0, 1, 2}) &&
           in(s.calculator_mode, {0, 1, 2, 5, 6, 7}) && in(s.base_bits, {0, 1, 2}) &&
           in(s.base_mode, {0, 1, 2, 3}) && in(s.stats_var, {0, 1}) && in(s.stats_regress, {0, 1, 2, 3}) &&
           in(s.key_click, {0, 1}) && s.display_color <= 0xFFFFFFu && s.brightness >= 0 &&
           s.brightness <= 255 && in(s.dynamic_mode, {0, 2, 6, 7}) && in(s.complex_format, {0, 1, 2});
}

TEST(StartupSettings, FuzzedTextsStayInsideTheTables) {
    static const std::string kLong(130, '9');
    static const char* const kPieces[] = {
        "precision", "format", "point_and_seperator", "angle_unit", "display_mode", "base_bits", "base_unit",
        "stats_var", "regress_type", "button_click", "display_color", "brightness", "dynamic_mode",
        "scaler_type", "=", "=", " ", "\t", "\r", "\n", "\r\n", "-", "+", "0", "7", "10", "255", "99999999999",
        "-2147483648", "PLOT_MODE", "COMP_MODE", "LIST_MODE", "GRADIAN", "ST_COMPLEX_P", "ON", "BITS_32",
        "U_HEX", "R_POWER", "COMMA_POINT", "ENGINEERING", "\x97", kLong.c_str(),
    };
    std::mt19937 rng(20240613);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    const int pieces = static_cast<int>(std::size(kPieces));
    for (int round = 0; round < 4000; ++round) {
        std::string text;
        if (round % 2 == 0) {
            for (int k = pick(40); k > 0; --k) text += kPieces[pick(pieces)];
        } else {
            // A valid text of random codes, damaged a few bytes at a time.
            Settings s{};
            for (const RoundTrip& t : round_trips())
                s.*t.field = t.codes[pick(static_cast<int>(t.codes.size()))].code;
            s.display_color = rng();
            text = write_startup_text(s);
            for (int k = 1 + pick(6); k > 0; --k) {
                const std::size_t at = static_cast<std::size_t>(pick(static_cast<int>(text.size()) + 1));
                switch (pick(3)) {
                    case 0: text.insert(at, 1, static_cast<char>(rng())); break;
                    case 1: if (at < text.size()) text.erase(at, 1); break;
                    default: text.insert(at, kPieces[pick(pieces)]); break;
                }
            }
        }
        Settings s{};
        s.angle_unit = -5;   // reading must replace every field
        s.display_color = 0xFF000000u;
        read_startup_text(text, s, nullptr);
        ASSERT_TRUE(inside_tables(s)) << text;
        // Whatever was read is written and read back unchanged.
        ASSERT_EQ(fields(read(write_startup_text(s))), fields(s)) << text;
    }
}

}  // namespace
}  // namespace qx

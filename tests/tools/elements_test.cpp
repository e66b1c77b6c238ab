// The element table and the texts of its rows.  Expected texts are read off
// the reference values by hand; the whole-table checks guard against slips
// while typing the 109 lines (a field too many, a symbol out of place, a
// unit typed into a number).
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "tools/elements.h"

namespace qx {
namespace {

// Chemical symbols in order of atomic number.
const char* const kSymbols[ELEMENT_COUNT] = {
    "H",  "He", "Li", "Be", "B",  "C",  "N",  "O",  "F",  "Ne", "Na", "Mg", "Al", "Si", "P",  "S",
    "Cl", "Ar", "K",  "Ca", "Sc", "Ti", "V",  "Cr", "Mn", "Fe", "Co", "Ni", "Cu", "Zn", "Ga", "Ge",
    "As", "Se", "Br", "Kr", "Rb", "Sr", "Y",  "Zr", "Nb", "Mo", "Tc", "Ru", "Rh", "Pd", "Ag", "Cd",
    "In", "Sn", "Sb", "Te", "I",  "Xe", "Cs", "Ba", "La", "Ce", "Pr", "Nd", "Pm", "Sm", "Eu", "Gd",
    "Tb", "Dy", "Ho", "Er", "Tm", "Yb", "Lu", "Hf", "Ta", "W",  "Re", "Os", "Ir", "Pt", "Au", "Hg",
    "Tl", "Pb", "Bi", "Po", "At", "Rn", "Fr", "Ra", "Ac", "Th", "Pa", "U",  "Np", "Pu", "Am", "Cm",
    "Bk", "Cf", "Es", "Fm", "Md", "No", "Lr", "Rf", "Db", "Sg", "Bh", "Hs", "Mt",
};

const std::string kDegC = "\x1C" "C";
const std::string kCm3 = " g/cm\xAC";
const std::string kAngstrom = "\xAD";

ElementRecord loaded(int index) {
    ElementRecord e;
    EXPECT_EQ(load_element(index, e), ElementLoad::Loaded) << index;
    return e;
}

// The raw lines of the table, without their CR LF.
std::vector<std::string> raw_lines() {
    std::vector<std::string> lines;
    const std::string all = element_table_text();
    std::size_t at = 0;
    while (at < all.size()) {
        const std::size_t end = all.find("\r\n", at);
        if (end == std::string::npos) {
            lines.push_back(all.substr(at));
            break;
        }
        lines.push_back(all.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

// A line of a made-up table: the fields given, then "--" up to 18.
std::string line_of(std::vector<std::string> fields) {
    fields.resize(ELEMENT_FIELDS, "--");
    std::string line;
    for (const std::string& f : fields) line += f + ", ";
    return line + "\r\n";
}

struct RowCase {
    int index, row;
    std::string text;   // style 1
};

TEST(Elements, RowsOfChosenElements) {
    const RowCase cases[] = {
        {0, 0, "H"},
        {0, 1, "Hydrogen"},
        {0, 2, "1"},
        {0, 3, "1.00794 g/mole"},
        {0, 4, "-252.87 " + kDegC},
        {0, 6, "0.0899 (g/l)"},   // a gas: its own unit, none added
        {0, 9, "2.20 (Pauling scale)"},
        {0, 12, "Hexagonal"},
        {0, 17, "0.79 " + kAngstrom},
        {1, 5, "-272.2 (at 26 atm) " + kDegC},
        {1, 7, "----"},
        {1, 9, "----"},   // no "(Pauling scale)" after no value
        {1, 18, "----"},
        {2, 6, "0.535" + kCm3},
        {2, 10, "1s2,2s1"},
        {2, 12, "Cubic, body centered"},
        {2, 15, "3.582 J/(g K)"},
        {5, 7, "+4,+2,-4"},
        {5, 14, "----"},
        {5, 16, "129 W/(m K)"},
        {25, 2, "26"},
        {25, 3, "55.845 g/mole"},
        {25, 8, "7.9024 eV"},
        {25, 10, "[Ar] 3d6,4s2"},
        {25, 11, "Amphoteric"},
        {25, 13, "349.6 kJ/mole"},
        {78, 1, "Gold"},
        {78, 5, "1064.18 " + kDegC},
        {78, 7, "+3,+1"},
        {78, 12, "Cubic, face centered"},
        {78, 18, "2.309 eV"},
        {91, 3, "238.02891 g/mole"},
        {91, 12, "Orthorhombic"},
        {91, 17, "----"},
        {108, 0, "Mt"},
        {108, 1, "Meitnerium"},
        {108, 2, "109"},
        {108, 3, "278 (most stable) g/mole"},
        {108, 4, "----"},
        {108, 6, "----"},   // no " g/cm3" after no value
        {108, 10, "[Rn] 5f14,6d7,7s2"},
        {108, 12, "----"},
    };
    for (const RowCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "element " << c.index + 1 << " row " << c.row);
        const ElementRecord e = loaded(c.index);
        EXPECT_EQ(element_row_text(e, c.row, 1), c.text);
        EXPECT_EQ(element_row_text(e, c.row, 2), element_row_text(e, c.row, 0) + ": " + c.text);
    }
}

TEST(Elements, LabelsAndStyleTwo) {
    const char* labels[ELEMENT_ROWS] = {
        "Symbol", "Name", "Atomic Number", "Atomic Weight", "Boiling Point", "Melting Point", "Density",
        "Oxidation States", "1st Ionization Potential", "Electronegativity", "Electron Config.",
        "Acidity/Basicity", "Crystal Struct.", "Heat of Vaporization", "Heat of Fusion",
        "Specific Heat Cap.", "Thermal Conductivity", "Atomic Radius", "Electron Affinity",
    };
    const ElementRecord fe = loaded(25);
    for (int row = 0; row < ELEMENT_ROWS; ++row) EXPECT_EQ(element_row_text(fe, row, 0), labels[row]);
    EXPECT_EQ(element_row_text(fe, 2, 2), "Atomic Number: 26");
    EXPECT_EQ(element_row_text(fe, 6, 2), "Density: 7.874" + kCm3);
    for (int bad : {-1, ELEMENT_ROWS}) EXPECT_EQ(element_row_text(fe, bad, 1), "");
    for (int bad : {-1, 3}) EXPECT_EQ(element_row_text(fe, 3, bad), "");
}

TEST(Elements, InsertTexts) {
    const RowCase cases[] = {
        {0, 2, "1"},        {0, 3, "1.00794"},  {0, 4, "-252.87"}, {0, 6, "0.0899"},
        {1, 5, "-272.2"},   {2, 6, "0.535"},    {25, 9, "1.83"},   {25, 15, "0.449"},
        {42, 3, "98"},      {60, 9, "1.13"},    {108, 2, "109"},   {108, 3, "278"},
        // "----" is never inserted
        {1, 9, ""},         {108, 4, ""},       {108, 6, ""},      {108, 18, ""},
        // rows without a number
        {0, 0, ""},         {0, 1, ""},         {0, 7, ""},        {0, 10, ""},
        {0, 11, ""},        {0, 12, ""},        {0, -1, ""},       {0, ELEMENT_ROWS, ""},
    };
    for (const RowCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "element " << c.index + 1 << " row " << c.row);
        EXPECT_EQ(element_insert_text(loaded(c.index), c.row), c.text);
    }
    std::set<int> insertable;
    for (int row = 0; row < ELEMENT_ROWS; ++row)
        if (element_row_insertable(row)) insertable.insert(row);
    EXPECT_EQ(insertable, (std::set<int>{2, 3, 4, 5, 6, 8, 9, 13, 14, 15, 16, 17, 18}));
}

TEST(Elements, InsertTakesOnlyTheLeadingNumber) {
    struct Case { std::string weight, insert; };
    const Case cases[] = {
        {"~1.5e-3 (est.)", "1.5e-3"}, {"2E+4", "2E+4"},    {"7e (odd)", "7"},
        {"-.5", "-.5"},               {"+12", "+12"},      {"(est.) 5", ""},
        {"--x", ""},                  {"n/a", ""},         {"-", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.weight);
        const std::string table = line_of({"Testium", "Tt", c.weight});
        ElementRecord e;
        ASSERT_EQ(decode_element(table.c_str(), 0, e), ElementLoad::Loaded);
        EXPECT_EQ(element_insert_text(e, 3), c.insert);
    }
}

TEST(Elements, DecodingRules) {
    const std::string table =
        line_of({"Alpha", "Aa", "1", "--", "--", "3.2", "x^y^z", "--", "1"}) +
        line_of({"Beta", "Bb", "2", "--", "--", "5 (g/l)", "--", "--", "8"}) +
        line_of({"Gamma", "Gg", "3", "--", "--", "--", "--", "--", "9"}) +
        line_of({"Delta", "Dd", "4", "--", "--", "0.1 kg/l", "--", "--", "Hexagonal"}) +
        line_of({"Epsilon", "Ee", std::string(45, '7'), "--", "--", "1", "--", "--", "12"});
    struct Case { int index; std::string density, config, crystal; };
    const Case cases[] = {
        {0, "3.2" + kCm3, "x,y,z", "Cubic, face centered"},
        {1, "5 (g/l)", "----", "Monoclinic"},
        {2, "----", "----", "9"},
        {3, "0.1 kg/l", "----", "Hexagonal"},
        {4, "1" + kCm3, "----", "12"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        ElementRecord e;
        ASSERT_EQ(decode_element(table.c_str(), c.index, e), ElementLoad::Loaded);
        EXPECT_EQ(e.index, c.index);
        EXPECT_EQ(std::string(e.fields[5]), c.density);
        EXPECT_EQ(std::string(e.fields[6]), c.config);
        EXPECT_EQ(std::string(e.fields[8]), c.crystal);
        EXPECT_EQ(std::string(e.fields[7]), "----");
    }
    // A field keeps at most 39 characters.
    ElementRecord e;
    ASSERT_EQ(decode_element(table.c_str(), 4, e), ElementLoad::Loaded);
    EXPECT_EQ(std::string(e.fields[2]), std::string(39, '7'));
    // Each crystal code has its own name.
    std::set<std::string> names;
    for (int code = 1; code <= 8; ++code) {
        const std::string one = line_of({"X", "X", "1", "--", "--", "--", "--", "--", std::to_string(code)});
        ASSERT_EQ(decode_element(one.c_str(), 0, e), ElementLoad::Loaded);
        names.insert(e.fields[8]);
    }
    EXPECT_EQ(names, (std::set<std::string>{"Cubic, face centered", "Cubic, body centered", "Cubic, simple",
                                            "Hexagonal", "Rhombohedral", "Tetragonal", "Orthorhombic",
                                            "Monoclinic"}));
}

// Nothing of the element decoded before may survive into the next one.
TEST(Elements, NoFieldSurvivesFromThePreviousElement) {
    const std::string table = line_of({"Full", "Fu", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11",
                                       "12", "13", "14", "15", "16"}) +
                              "Short, Sh, 7.5\r\n";
    ElementRecord e;
    ASSERT_EQ(decode_element(table.c_str(), 0, e), ElementLoad::Loaded);
    ASSERT_EQ(decode_element(table.c_str(), 1, e), ElementLoad::Loaded);
    EXPECT_STREQ(e.fields[0], "Short");
    EXPECT_STREQ(e.fields[2], "7.5");
    for (int f = 3; f < ELEMENT_FIELDS; ++f) EXPECT_STREQ(e.fields[f], "----") << f;

    ASSERT_EQ(load_element(0, e), ElementLoad::Loaded);
    ASSERT_EQ(load_element(108, e), ElementLoad::Loaded);
    EXPECT_EQ(element_row_text(e, 6, 1), "----");
    EXPECT_EQ(element_row_text(e, 17, 1), "----");
}

TEST(Elements, RefusesMissingAndOverlongLines) {
    ElementRecord e;
    for (int bad : {-1, ELEMENT_COUNT, 1000}) {
        ASSERT_EQ(load_element(0, e), ElementLoad::Loaded);
        EXPECT_NE(load_element(bad, e), ElementLoad::Loaded) << bad;
        EXPECT_EQ(load_element(bad, e), ElementLoad::NoSuchLine);
        EXPECT_STREQ(e.fields[0], "");   // cleared
    }
    // 199 characters are read, 200 are not; the lines after a long one still are.
    const std::size_t bare = line_of({"Ab", "Ab", ""}).size() - 2;
    const std::string ok = line_of({"Ok", "Ok", std::string(199 - bare, '1')});
    ASSERT_EQ(ok.size(), 199u + 2);
    const std::string long_line = line_of({"Lo", "Lo", std::string(200 - bare, '1')});
    ASSERT_EQ(long_line.size(), 200u + 2);
    const std::string table = ok + long_line + line_of({"After", "Af"});
    EXPECT_EQ(decode_element(table.c_str(), 0, e), ElementLoad::Loaded);
    EXPECT_EQ(decode_element(table.c_str(), 1, e), ElementLoad::LineTooLong);
    EXPECT_STREQ(e.fields[0], "");
    EXPECT_EQ(decode_element(table.c_str(), 2, e), ElementLoad::Loaded);
    EXPECT_STREQ(e.fields[0], "After");
    EXPECT_EQ(decode_element(table.c_str(), 3, e), ElementLoad::NoSuchLine);
    EXPECT_EQ(decode_element("", 0, e), ElementLoad::NoSuchLine);
    EXPECT_EQ(decode_element(nullptr, 0, e), ElementLoad::NoSuchLine);
}

// The number a field starts with, and whether only a remark in parentheses
// follows it.
bool number_then_remark(const std::string& field) {
    const char* begin = field.c_str();
    char* end = nullptr;
    std::strtod(begin, &end);
    if (end == begin) return false;
    const std::string rest = end;
    return rest.empty() || (rest.size() > 3 && rest.rfind(" (", 0) == 0 && rest.back() == ')');
}

TEST(Elements, EveryLineIsWellFormed) {
    const std::vector<std::string> lines = raw_lines();
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(ELEMENT_COUNT));
    const std::string all = element_table_text();
    ASSERT_EQ(all.substr(all.size() - 2), "\r\n");
    const int numeric[] = {2, 3, 4, 9, 10, 11, 12, 13, 14, 15, 17};
    for (int k = 0; k < ELEMENT_COUNT; ++k) {
        SCOPED_TRACE(lines[k]);
        EXPECT_LT(lines[k].size(), 200u);
        ASSERT_GE(lines[k].size(), 2u);
        ASSERT_EQ(lines[k].substr(lines[k].size() - 2), ", ");
        std::vector<std::string> fields;
        std::size_t at = 0;
        for (std::size_t next; (next = lines[k].find(", ", at)) != std::string::npos; at = next + 2)
            fields.push_back(lines[k].substr(at, next - at));
        ASSERT_EQ(fields.size(), static_cast<std::size_t>(ELEMENT_FIELDS));
        EXPECT_EQ(fields[1], kSymbols[k]);
        for (const std::string& f : fields) {
            EXPECT_FALSE(f.empty());
            EXPECT_LT(f.size(), 40u);
        }
        // Densities are numbers too, gases with their "(g/l)".
        for (int f : numeric)
            EXPECT_TRUE(fields[f] == "--" || number_then_remark(fields[f])) << "field " << f;
        EXPECT_TRUE(fields[5] == "--" || number_then_remark(fields[5])) << fields[5];
        const std::string& code = fields[8];
        EXPECT_TRUE(code == "--" || (code.size() == 1 && code[0] >= '1' && code[0] <= '8')) << code;

        ElementRecord e;
        ASSERT_EQ(load_element(k, e), ElementLoad::Loaded);
        EXPECT_EQ(e.index, k);
        EXPECT_EQ(element_row_text(e, 0, 1), kSymbols[k]);
    }
}

// Weights grow with the atomic number except at the known inversions, where
// the heavier isotope mix comes first; those steps back are small.
TEST(Elements, AtomicWeightsIncreaseExceptKnownInversions) {
    const std::set<std::string> lighter_than_before = {"K", "Ni", "I", "Pa", "Np", "Am", "Hs"};
    std::set<std::string> seen;
    double before = 0;
    for (int k = 0; k < ELEMENT_COUNT; ++k) {
        SCOPED_TRACE(kSymbols[k]);
        const double w = std::strtod(loaded(k).fields[2], nullptr);
        const double per_proton = w / (k + 1);
        EXPECT_GE(per_proton, 1.0);
        EXPECT_LE(per_proton, 2.65);
        if (w < before) {
            seen.insert(kSymbols[k]);
            EXPECT_LT(before - w, 1.1);
        }
        before = w;
    }
    EXPECT_EQ(seen, lighter_than_before);
}

TEST(Elements, NamesAsSpelledHere) {
    const RowCase cases[] = {{12, 1, "Aluminum"}, {15, 1, "Sulfur"}, {54, 1, "Cesium"}, {90, 1, "Protactinium"}};
    for (const RowCase& c : cases) EXPECT_EQ(element_row_text(loaded(c.index), c.row, 1), c.text);
}

}  // namespace
}  // namespace qx

// User constants files as a careless editor, a cut-off copy or a stray
// binary would leave them: whatever the text, the tables stay within their
// records and a file written from them reads back to the same file.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "tools/constants.h"

namespace qx {
namespace {

template <std::size_t N>
bool terminated(const char (&field)[N]) {
    return std::memchr(field, '\0', N) != nullptr;
}

int compare_nocase(const char* a, const char* b) {
    for (;; ++a, ++b) {
        const int d = std::tolower(static_cast<unsigned char>(*a)) - std::tolower(static_cast<unsigned char>(*b));
        if (d != 0 || *a == '\0') return d;
    }
}

class Mutator {
public:
    explicit Mutator(unsigned seed) : rng_(seed) {}

    int below(int n) { return static_cast<int>(rng_() % static_cast<unsigned>(n)); }

    char any_byte() {
        static const char kLikely[] = {',', ' ', '\r', '\n', '\0', '.', 'e', '-', '+', '1', 'C', '\t', '\xFF'};
        return below(3) ? kLikely[below(sizeof kLikely)] : static_cast<char>(below(256));
    }

    std::string line() {
        static const char* const kTags[] = {"Cons: ", "Prop: ", "Unit: ", "Cons:", "cons: ", ""};
        static const char* const kValues[] = {"1", "-2.5e-7", "1e999", "0x10", "nan", "1.", ".5", "3,5",
                                              "", "1e+5", "12345678901234567890123456789012345678901"};
        std::string l = kTags[below(6)];
        l += std::string(static_cast<std::size_t>(below(50)), static_cast<char>('a' + below(26)));
        for (int f = below(4); f > 0; --f) l += below(2) ? ", " : ",";
        l += kValues[below(11)];
        return l + (below(4) ? "\r\n" : "\n");
    }

    void mutate(std::string& text) {
        const int edits = 1 + below(8);
        for (int k = 0; k < edits; ++k) {
            const std::size_t at = text.empty() ? 0 : static_cast<std::size_t>(below(static_cast<int>(text.size())));
            switch (below(6)) {
                case 0: if (!text.empty()) text[at] = any_byte(); break;
                case 1: text.insert(at, 1, any_byte()); break;
                case 2: text.erase(at, static_cast<std::size_t>(below(40))); break;
                case 3: text.insert(at, line()); break;
                case 4: text.insert(at, std::string(static_cast<std::size_t>(100 + below(60)), 'x')); break;
                case 5: text += text.substr(at, static_cast<std::size_t>(below(400))); break;
            }
        }
    }

private:
    std::mt19937 rng_;
};

void expect_sound_tables() {
    const ConstantTables& t = g_tables;
    ASSERT_EQ(t.property_count, 13);
    ASSERT_EQ(t.unit_count, 124);
    ASSERT_GE(t.constant_count, 1);
    ASSERT_LE(t.constant_count, CONSTANT_CAPACITY);
    for (int k = 0; k < t.constant_count; ++k) {
        const ConstantRecord& c = t.constants[k];
        ASSERT_TRUE(terminated(c.name) && terminated(c.unit) && terminated(c.value)) << k;
        ASSERT_NE(c.name[0], '\0');
        ASSERT_NE(std::strtod(c.value, nullptr), HUGE_VAL) << c.value;
        if (k > 0) {
            ASSERT_LT(compare_nocase(t.constants[k - 1].name, c.name), 0) << c.name;
        }
    }
}

TEST(ConstantsFuzz, MutatedUserFilesStayWithinTheTables) {
    load_tables(nullptr);
    const std::string builtin = constants_file_text();
    const std::string seeds[] = {
        builtin,
        "Cons: g, , 9.81\r\nCons: G, m, 1\r\nCons: h, J s, 6.62607015e-34\r\n",
        builtin + builtin,
        std::string(2000, '\0'),
    };
    Mutator m(1414);
    for (int round = 0; round < 3000; ++round) {
        std::string text = seeds[m.below(4)];
        m.mutate(text);
        const TablesLoad load = load_tables(&text);
        ASSERT_NO_FATAL_FAILURE(expect_sound_tables()) << "round " << round;
        // What is saved reads back as itself, so a second save changes nothing.
        const std::string saved = constants_file_text();
        const int count = g_tables.constant_count;
        load_tables(&saved);
        ASSERT_EQ(g_tables.constant_count, count) << "round " << round;
        ASSERT_EQ(constants_file_text(), saved) << "round " << round;
        if (load.write_user_file) {
            ASSERT_EQ(count, 44);
        }
    }
}

TEST(ConstantsFuzz, WholeTablesNeverPassTheirCapacity) {
    Mutator m(99);
    auto t = std::make_unique<ConstantTables>();
    for (int round = 0; round < 300; ++round) {
        std::string text = std::string(builtin_table_text());
        for (int k = 0; k < 3; ++k) m.mutate(text);
        for (int k = m.below(200); k > 0; --k) text += m.line();
        std::memset(t.get(), 0, sizeof *t);
        std::vector<TableMessage> messages;
        parse_table_text(*t, text, messages);
        ASSERT_LE(t->property_count, PROPERTY_CAPACITY);
        ASSERT_LE(t->unit_count, UNIT_CAPACITY);
        ASSERT_LE(t->constant_count, CONSTANT_CAPACITY);
        for (int k = 0; k < t->unit_count; ++k) {
            ASSERT_TRUE(terminated(t->units[k].abbreviation) && terminated(t->units[k].name));
            ASSERT_GE(t->units[k].property, 0);
            ASSERT_LT(t->units[k].property, t->property_count);
        }
        for (int k = t->unit_count; k < UNIT_RECORDS; ++k) ASSERT_EQ(t->units[k].property, 0);
    }
}

}  // namespace
}  // namespace qx

// Damaged program files: whatever the reader accepts must be a program the
// interpreter and the editor can index without further checks, and what it
// refuses must leave nothing behind.
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "programs/program_fixture.h"

namespace qx::test {
namespace {

const char* const kSeeds[] = {
    "N: T1\r\nV: 1.1\r\nI: 9\r\n0: 10\r\nI: 11\r\nE: 810,31,34,\r\nI: 10\r\nP: 1\r\nI: 12\r\n",
    "N: Loops\r\nV: 1.1\r\nI: 59\r\nZ: Counts~~down\x07\r\nI: 9\r\nT: Start?\r\n0: 11\r\n"
    "I: 3\r\nC: 3\r\n0: 12\r\n1: 0\r\nI: 11\r\nE: 811,37,33,911,\r\nI: 0\r\nC: 2\r\n0: 12\r\n1: 13\r\n"
    "I: 13\r\nT: small\r\nI: 2\r\nI: 14\r\n0: 12\r\nI: 1\r\nI: 1\r\nI: 48\r\n0: 10\r\nI: 49\r\n0: 3\r\n",
    "N: Menus\r\nV: 1.0\r\nI: 54\r\nI: 53\r\nT: Pick\r\nI: 51\r\nT: One\r\nL: 1\r\nI: 51\r\nT: Two\r\n"
    "L: 79\r\nI: 52\r\nI: 7\r\nL: 1\r\nI: 15\r\nT: f?\r\nF: 9\r\nI: 16\r\nF: 9\r\nI: 41\r\nL: 79\r\n"
    "I: 12\r\nI: 7\r\nL: 79\r\nI: 67\r\n0: 2\r\nI: 42\r\nI: 5\r\nT: Other\r\nI: 20\r\n0: 89\r\n",
};

// The largest value of each field an instruction reads (-1: not read).
struct Limits { int condition, operand0, operand1, label, function; };

Limits limits_of(int instruction) {
    switch (instruction) {
        case 0: case 3: return {5, 90, 91, -1, -1};
        case 4: case 9: case 20: case 21: case 22: case 23: return {-1, 89, -1, -1, -1};
        case 10: case 14: case 19: return {-1, 90, -1, -1, -1};
        case 7: case 8: case 41: case 51: return {-1, -1, -1, 79, -1};
        case 15: case 16: return {-1, -1, -1, -1, 9};
        case 48: return {-1, 10, -1, -1, -1};
        case 49: return {-1, 3, -1, -1, -1};
        case 67: return {-1, 2, -1, -1, -1};
        default: return {-1, -1, -1, -1, -1};
    }
}

bool inside(int value, int limit) { return limit < 0 || (value >= 0 && value <= limit); }

void check_accepted(const Program& p, const std::string& input) {
    ASSERT_GE(p.count, 0);
    ASSERT_LE(p.count, MAX_STATEMENTS);
    ASSERT_LT(strnlen(p.description, sizeof p.description), sizeof p.description);
    bool referenced[EXPRESSION_SLOT_COUNT] = {};
    for (int k = 0; k < p.count; ++k) {
        const Statement& s = p.statements[k];
        ASSERT_TRUE(s.instruction >= 0 && s.instruction < INSTRUCTION_COUNT) << input;
        const Limits l = limits_of(s.instruction);
        ASSERT_TRUE(inside(s.condition, l.condition) && inside(s.operand0, l.operand0) &&
                    inside(s.operand1, l.operand1) && inside(s.label, l.label) &&
                    inside(s.function, l.function))
            << input;
        ASSERT_LE(s.pause, 1);
        ASSERT_LT(strnlen(s.text, sizeof s.text), sizeof s.text);
        if (s.expression == 0) continue;
        ASSERT_TRUE(s.expression > 0 && s.expression < EXPRESSION_SLOT_COUNT) << input;
        ASSERT_FALSE(referenced[s.expression]) << input;
        referenced[s.expression] = true;
        const ExpressionSlot& e = p.slots[s.expression];
        ASSERT_TRUE(e.in_use);
        ASSERT_TRUE(e.count > 0 && e.count <= SLOT_TOKEN_LIMIT) << input;
    }
    for (int k = 0; k < EXPRESSION_SLOT_COUNT; ++k) ASSERT_EQ(p.slots[k].in_use != 0, referenced[k]);
}

std::string mutate(std::string text, std::mt19937& rng) {
    auto pick = [&](std::size_t n) { return n ? std::uniform_int_distribution<std::size_t>(0, n - 1)(rng) : 0; };
    static const char kBytes[] = "0123456789-,:\r\n ITECLFPZV01~\x07";
    const int edits = 1 + static_cast<int>(pick(4));
    for (int e = 0; e < edits; ++e) {
        const std::size_t at = pick(text.size() + 1);
        switch (pick(6)) {
            case 0:   // flip a byte
                if (at < text.size()) text[at] = static_cast<char>(text[at] ^ (1u << pick(8)));
                break;
            case 1:   // insert a byte the format cares about
                text.insert(at, 1, kBytes[pick(sizeof kBytes - 1)]);
                break;
            case 2:   // delete a few bytes
                if (at < text.size()) text.erase(at, 1 + pick(6));
                break;
            case 3: { // duplicate a line
                const std::size_t begin = text.rfind('\n', at == 0 ? 0 : at - 1);
                const std::size_t start = begin == std::string::npos ? 0 : begin + 1;
                const std::size_t end = text.find('\n', start);
                if (end != std::string::npos) text.insert(start, text.substr(start, end - start + 1));
                break;
            }
            case 4: { // change a digit
                const std::size_t d = text.find_first_of("0123456789", at);
                if (d != std::string::npos) text[d] = static_cast<char>('0' + pick(10));
                break;
            }
            default:  // a large number
                text.insert(at, pick(2) ? "99999999999" : "2147483647");
                break;
        }
    }
    return text;
}

class ProgramFuzz : public ProgramTest {};

TEST_F(ProgramFuzz, DamagedFilesAreRefusedOrSafe) {
    std::vector<std::string> seeds(std::begin(kSeeds), std::end(kSeeds));
    if (builtin_program_text_size() > 0)
        seeds.emplace_back(builtin_program_text(), builtin_program_text_size());
    std::mt19937 rng(20240611u);
    static Program p;
    static Program again;
    int accepted = 0, refused = 0;
    for (int iteration = 0; iteration < 4000; ++iteration) {
        const std::string& seed = seeds[iteration % seeds.size()];
        const std::string input = mutate(seed, rng);
        const bool built_in = iteration % 7 == 0;
        const int count = read_program_text(p, input.data(), input.size(), built_in, iteration % 2 == 0);
        if (count < 0) {
            ++refused;
            ASSERT_EQ(p.count, 0);
            for (const ExpressionSlot& e : p.slots) ASSERT_FALSE(e.in_use);
            continue;
        }
        ++accepted;
        ASSERT_EQ(count, p.count);
        check_accepted(p, input);
        // What was accepted survives a write and a read unchanged.
        const std::string written = write_program_text(p);
        ASSERT_EQ(read_program_text(again, written.data(), written.size(), built_in, false), count) << input;
        std::memcpy(again.name, p.name, sizeof p.name);
        ASSERT_EQ(write_program_text(again), written) << input;
    }
    // Both outcomes are exercised.
    EXPECT_GT(accepted, 400);
    EXPECT_GT(refused, 400);
}

}  // namespace
}  // namespace qx::test

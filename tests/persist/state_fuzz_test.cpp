// Damaged state files: whatever a load makes of them, it either leaves the
// live state exactly as it was or leaves one that is inside every table
// and saves stably.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "matrix/store.h"
#include "persist/state.h"

namespace qx::persist_test {

void reset_everything();   // state_test.cpp
void make_rich_state();
std::vector<std::string> split_lines(const std::string& text);

namespace {

std::string join_lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines) text += l + "\r\n";
    return text;
}

std::string mutate(std::string text, std::mt19937& rng) {
    auto pick = [&rng](std::size_t n) { return n ? std::uniform_int_distribution<std::size_t>(0, n - 1)(rng) : 0; };
    static const char* const kHuge[] = {"1e999", "-1e308", "99999999999", "nan", "inf", "1e-320",
                                        "-0", "0x1p4", "4294967296", ""};
    static const char kBytes[] = "\r\n:,-.e0123456789 RIXYEDKSCMLON\x80\xff";
    std::vector<std::string> lines;
    switch (pick(10)) {
        case 0:
            if (!text.empty()) text[pick(text.size())] ^= static_cast<char>(1 << pick(8));
            break;
        case 1:
            text.insert(pick(text.size() + 1), 1, kBytes[pick(sizeof kBytes - 1)]);
            break;
        case 2:
            if (!text.empty()) text.erase(pick(text.size()), 1 + pick(20));
            break;
        case 3:
        case 4:
            lines = split_lines(text);
            if (lines.empty()) break;
            if (pick(2)) lines.insert(lines.begin() + static_cast<long>(pick(lines.size() + 1)), lines[pick(lines.size())]);
            else std::swap(lines[pick(lines.size())], lines[pick(lines.size())]);
            text = join_lines(lines);
            break;
        case 5:
            for (int n = 0; n < 8; ++n) {
                const std::size_t at = pick(text.size());
                if (at < text.size() && text[at] >= '0' && text[at] <= '9') text[at] = static_cast<char>('0' + pick(10));
            }
            break;
        case 6: {
            // A value field replaced by something out of the ordinary.
            const std::size_t colon = text.find(':', pick(text.size()) + 3);
            if (colon == std::string::npos) break;
            const std::size_t end = text.find_first_of(",\r", colon + 1);
            text.replace(colon + 1, (end == std::string::npos ? text.size() : end) - colon - 1, kHuge[pick(10)]);
            break;
        }
        case 7:
            text.resize(pick(text.size() + 1));
            break;
        case 8: {
            // Lines too long for a state file, or a blank line near the top.
            const std::size_t at = text.find("\r\n", pick(text.size()));
            if (at != std::string::npos) text.insert(at, STATE_LINE_LIMIT - pick(40), '7');
            break;
        }
        default:
            lines = split_lines(text);
            lines.insert(lines.begin() + static_cast<long>(std::min<std::size_t>(pick(3), lines.size())), "");
            text = join_lines(lines);
            break;
    }
    return text;
}

// What the loader may leave behind, table by table.
void expect_inside_tables(const WorkingState& s) {
    auto within = [](int v, int lo, int hi) { return v >= lo && v <= hi; };
    EXPECT_TRUE(within(s.stat_count, 0, STATS_MAX_POINTS));
    for (const auto& type : s.slots)
        for (const PlotSlot& slot : type) {
            ASSERT_TRUE(within(slot.count, 0, PLOT_SLOT_TOKENS));
            for (int k = 0; k < slot.count; ++k) EXPECT_NE(describe_token(slot.tokens[k]).token_class, TC_UNKNOWN);
        }
    const PanelState& p = s.panel;
    EXPECT_TRUE(within(p.line_count, 0, STATE_LINE_TOKENS));
    EXPECT_TRUE(within(p.cursor, 0, p.line_count));
    EXPECT_TRUE(within(p.history_count, 0, STATE_HISTORY));
    for (int c : p.history_counts) EXPECT_TRUE(within(c, 0, STATE_LINE_TOKENS));
    EXPECT_TRUE(within(p.matrix_selected, 0, NAMED_OBJECTS) && within(p.list_selected, 0, NAMED_OBJECTS));
    EXPECT_NE(std::memchr(p.result_text, '\0', STATE_TEXT), nullptr);
    for (const Matrix& m : s.matrices)
        EXPECT_TRUE(!m.defined || (within(m.last_row, 0, MATRIX_MAX - 1) && within(m.last_column, 0, MATRIX_MAX - 1)));
    for (const ListValue& l : s.lists)
        EXPECT_TRUE(!l.defined || within(l.last, 0, LIST_MAX - 1));
    const PlotRecord& g = s.plot;
    EXPECT_TRUE(within(g.type, 0, 3) && within(g.cursor, 0, 3) && within(g.coordinates, 0, 2));
    for (int t : g.trace_function) EXPECT_TRUE(within(t, 0, PLOT_SLOTS - 1));
    EXPECT_TRUE(g.xmin < g.xmax && g.ymin < g.ymax && g.tmin < g.tmax && g.vmin < g.vmax);
    const Settings& e = s.settings;
    EXPECT_TRUE(within(e.decimal_digits, 0, 10) && within(e.number_format, 0, 3) &&
                within(e.decimal_mark, 0, 1) && within(e.angle_unit, 0, 2) &&
                within(e.calculator_mode, 0, 7) && within(e.base_bits, 0, 2) && within(e.base_mode, 0, 3) &&
                within(e.stats_var, 0, 1) && within(e.stats_regress, 0, 3) && within(e.key_click, 0, 1) &&
                within(e.complex_format, 0, 2));
    const int mode = e.dynamic_mode;
    EXPECT_TRUE(mode == 0 || mode == 2 || mode == 6 || mode == 7);
}

TEST(StateFuzz, DamagedFilesLoadSafelyOrNotAtAll) {
    make_rich_state();
    const std::unique_ptr<WorkingState> rich = capture_working_state();
    const std::string base = save_state_text();
    std::mt19937 rng(8117);
    int accepted = 0, refused = 0;
    for (int n = 0; n < 3000; ++n) {
        commit_working_state(*rich);
        std::string text = base;
        for (int m = 1 + static_cast<int>(rng() % 3); m > 0; --m) text = mutate(text, rng);
        const std::unique_ptr<WorkingState> before = capture_working_state();
        const LoadReport r = load_state_text(text);
        const std::unique_ptr<WorkingState> after = capture_working_state();
        if (!r.accepted) {
            ASSERT_EQ(std::memcmp(before.get(), after.get(), sizeof *after), 0) << r.problem;
            ++refused;
            continue;
        }
        ++accepted;
        expect_inside_tables(*after);
        const std::string saved = save_state_text();
        ASSERT_TRUE(load_state_text(saved).accepted);
        ASSERT_EQ(save_state_text(), saved) << "after loading:\n" << text;
    }
    // Both outcomes must be exercised often.
    EXPECT_GT(accepted, 1000);
    EXPECT_GT(refused, 300);
    reset_everything();
}

}  // namespace
}  // namespace qx::persist_test

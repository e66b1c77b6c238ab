// The input line: edits at the cursor with the 100-token limit, numbers
// given as text, the answer rule of a fresh line, evaluation, history,
// plotting, the compiled-expression cache, and both display lines as drawn.
#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "engine/errors.h"
#include "engine/evaluator.h"
#include "engine/format.h"
#include "engine/hooks.h"
#include "engine/memory.h"
#include "engine/settings.h"
#include "panel/images.h"
#include "panel/input_line.h"
#include "panel/legend_names.h"
#include "panel/subsystems.h"
#include "panel/ui.h"
#include "platform/window_headless.h"

namespace qx {
namespace {

using Tokens = std::vector<TokenCode>;

Tokens line_tokens() {
    return Tokens(g_input.line.tokens, g_input.line.tokens + g_input.line.count);
}

void type(const Tokens& tokens) {
    for (TokenCode t : tokens) insert_token(t);
}

// n digit tokens "1".
void type_ones(int n) {
    for (int k = 0; k < n; ++k) insert_token(TOK_1);
}

Expression expression(const Tokens& tokens) {
    Expression e{};
    for (TokenCode t : tokens) e.tokens[e.count++] = t;
    return e;
}

// The legend's own pixels at (x, y) on a white display: plain, or every
// channel inverted for the token under the cursor.
bool shows_legend(const Surface& s, const char* name, int x, int y, bool inverted) {
    const Surface* b = find_bitmap(name);
    if (!b) return false;
    for (int j = 0; j < b->height(); ++j)
        for (int i = 0; i < b->width(); ++i) {
            Colour c = b->get(i, j);
            if (inverted) c = ~c & 0xFFFFFF;
            if (s.get(x + i, y + j) != c) return false;
        }
    return true;
}

bool all_pixels(const Surface& s, Colour c, int left, int top, int right, int bottom) {
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            if (s.get(x, y) != c) return false;
    return true;
}

const DrawnToken* drawn_entry(int index) {
    for (int k = 0; k < g_input.drawn_count; ++k)
        if (g_input.drawn[k].index == index) return &g_input.drawn[k];
    return nullptr;
}

// What the program and plot hooks were asked.
struct HookRecord {
    int stored_functions = 0;
    int function_inputs = 0;
    int copied_inputs = 0;
    int cleared_answers = 0;
    bool running = false, waiting = false, waiting_function = false;
    bool slots_full = false;
} g_rec;

void install_recording_hooks() {
    g_rec = HookRecord{};
    g_panel.plot_store_function = [](const TokenCode*, int) {
        if (g_rec.slots_full) return false;
        ++g_rec.stored_functions;
        return true;
    };
    g_panel.program_running = [] { return g_rec.running; };
    g_panel.program_waiting_input = [] { return g_rec.waiting; };
    g_panel.program_waiting_function = [] { return g_rec.waiting_function; };
    g_panel.program_function_input = [](const TokenCode*, int) { ++g_rec.function_inputs; };
    g_panel.program_copy_input = [](const TokenCode*, int) { ++g_rec.copied_inputs; };
    g_panel.clear_answer_objects = [] { ++g_rec.cleared_answers; };
}

class InputLineTest : public ::testing::Test {
protected:
    HeadlessWindow window;
    std::vector<std::string> log;

    void SetUp() override {
        reset_settings();
        reset_hooks();
        reset_panel_hooks();
        install_recording_hooks();
        clear_error();
        clear_memory();
        g_ans = MemorySlot{0.0, 0.0};
        g_last_result_kind = RK_SCALAR;
        window.set_logger([this](const std::string& line) { log.push_back(line); });
        ui().window = &window;
        reset_input_line();
        clear_line();
        log.clear();
    }
    void TearDown() override {
        ui().window = nullptr;
        reset_panel_hooks();
        reset_hooks();
        reset_input_line();
        reset_settings();
        clear_error();
        g_last_result_kind = RK_SCALAR;
    }

    int boxes(const std::string& title, const std::string& text) const {
        int n = 0;
        for (const std::string& l : log)
            if (l.rfind("box " + title + ": " + text, 0) == 0) ++n;
        return n;
    }
    bool logged(const std::string& part) const {
        for (const std::string& l : log)
            if (l.find(part) != std::string::npos) return true;
        return false;
    }
};

// --- the 100-token limit ---------------------------------------------------------

TEST_F(InputLineTest, TheHundredthTokenGoesInAndTheNextIsRefused) {
    type_ones(99);
    EXPECT_TRUE(insert_token(TOK_2));
    EXPECT_EQ(g_input.line.count, 100);
    EXPECT_EQ(boxes("Limit", "Reached expression size limit"), 0);

    const Tokens before = line_tokens();
    g_input.cursor = 10;
    EXPECT_FALSE(insert_token(TOK_3));
    EXPECT_EQ(boxes("Limit", "Reached expression size limit"), 1);
    EXPECT_EQ(line_tokens(), before);
    EXPECT_EQ(g_input.cursor, 10);
}

TEST_F(InputLineTest, TokensGoInAtTheCursor) {
    type({TOK_1, TOK_2, TOK_3});
    g_input.cursor = 1;
    insert_token(TOK_PLUS);
    EXPECT_EQ(line_tokens(), (Tokens{TOK_1, TOK_PLUS, TOK_2, TOK_3}));
    EXPECT_EQ(g_input.cursor, 2);
}

// --- numbers given as text ----------------------------------------------------------

struct ConstantCase {
    const char* text;
    bool numeric_prefix;
    Tokens tokens;
    double re, im;   // the value the inserted tokens evaluate to
};

void PrintTo(const ConstantCase& c, std::ostream* os) {
    *os << '"' << c.text << '"' << (c.numeric_prefix ? " prefix" : "");
}

class ConstantStringTest : public InputLineTest,
                           public ::testing::WithParamInterface<ConstantCase> {};

TEST_P(ConstantStringTest, TextBecomesBracketedTokensThatEvaluateToTheNumber) {
    const ConstantCase& c = GetParam();
    insert_constant_string(c.text, c.numeric_prefix);
    EXPECT_EQ(line_tokens(), c.tokens);
    EXPECT_EQ(boxes("insert_constant_string", "Unknown constant character"), 0);
    if (c.tokens.size() > 2) {
        evaluate_line(false);
        ASSERT_FALSE(error_pending()) << error_text();
        EXPECT_DOUBLE_EQ(g_ans.re, c.re);
        EXPECT_DOUBLE_EQ(g_ans.im, c.im);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ConstantStringTest,
    ::testing::Values(
        ConstantCase{"-1.5E-3", false, {3, 17, 33, 39, 29, 40, 17, 35, 4}, -1.5e-3, 0},
        ConstantCase{"12.5 kg", true, {3, 33, 34, 39, 29, 4}, 12.5, 0},
        // The exponent belongs to the number: cutting it off would be 27
        // orders of magnitude out.
        ConstantCase{"1.67E-27 kg", true, {3, 33, 39, 30, 23, 40, 17, 34, 23, 4}, 1.67e-27, 0},
        ConstantCase{"-273.15 K", true, {3, 17, 34, 23, 35, 39, 33, 29, 4}, -273.15, 0},
        // Complex texts as the formatter writes them: a "-" after a digit
        // subtracts, so it is not read into the literal before it.
        ConstantCase{"3+4i", false, {3, 35, 36, 28, 120, 4}, 3, 4},
        ConstantCase{"2.5E-3-1i", false, {3, 34, 39, 29, 40, 17, 35, 37, 33, 120, 4}, 2.5e-3, -1},
        ConstantCase{"-2i", false, {3, 17, 34, 120, 4}, 0, -2},
        ConstantCase{"1E+5", false, {3, 33, 40, 29, 4}, 1e5, 0},
        ConstantCase{"6 022 140", false, {3, 30, 38, 34, 34, 33, 28, 38, 4}, 6022140, 0},
        ConstantCase{"1,5", false, {3, 33, 39, 29, 4}, 1.5, 0},
        ConstantCase{"", false, {3, 4}, 0, 0}));

TEST_F(InputLineTest, UnknownCharactersAreReportedAndSkipped) {
    insert_constant_string("1x2", false);
    EXPECT_EQ(boxes("insert_constant_string", "Unknown constant character"), 1);
    EXPECT_EQ(line_tokens(), (Tokens{3, 33, 34, 4}));
}

TEST_F(InputLineTest, AConstantGoesInWholeOrNotAtAll) {
    // "(12.5)" is six tokens.
    type_ones(94);
    insert_constant_string("12.5", false);
    EXPECT_EQ(g_input.line.count, 100);

    clear_line();
    type_ones(95);
    insert_constant_string("12.5", false);
    EXPECT_EQ(g_input.line.count, 95);
    EXPECT_EQ(boxes("Limit", "Reached expression size limit"), 1);
}

TEST_F(InputLineTest, EmptyBracketsOnlyWhenBothFit) {
    type_ones(99);
    insert_constant_string("", false);
    EXPECT_EQ(g_input.line.count, 99);
    EXPECT_EQ(boxes("Limit", "Reached expression size limit"), 1);

    clear_line();
    type_ones(98);
    insert_constant_string("", false);
    EXPECT_EQ(g_input.line.count, 100);
    EXPECT_EQ(g_input.line.tokens[98], TOK_OPEN_PAREN);
    EXPECT_EQ(g_input.line.tokens[99], TOK_CLOSE_PAREN);
}

TEST_F(InputLineTest, AConstantOnAFreshLineStartsANewLineWhateverTheOldOneHeld) {
    type_ones(99);
    evaluate_line(false);
    ASSERT_TRUE(g_input.fresh);
    insert_constant_string("12.5", false);
    EXPECT_EQ(line_tokens(), (Tokens{3, 33, 34, 39, 29, 4}));
    EXPECT_EQ(boxes("Limit", "Reached expression size limit"), 0);
}

TEST_F(InputLineTest, ATextLongerThanTheLineIsRefusedWhole) {
    const std::string digits(120, '7');
    insert_constant_string(digits.c_str(), false);
    EXPECT_EQ(g_input.line.count, 0);
    EXPECT_EQ(boxes("Limit", "Reached expression size limit"), 1);
}

// --- memory values -----------------------------------------------------------------

struct MemoryValueCase {
    int format;
    double re, im;
};

void PrintTo(const MemoryValueCase& c, std::ostream* os) {
    *os << "format " << c.format << ' ' << c.re << (c.im < 0 ? "" : "+") << c.im << 'i';
}

class MemoryValueTest : public InputLineTest,
                        public ::testing::WithParamInterface<MemoryValueCase> {};

TEST_P(MemoryValueTest, AValueInsertedByValueEvaluatesBackToItself) {
    const MemoryValueCase& c = GetParam();
    g_settings.number_format = c.format;
    g_settings.decimal_digits = 2;   // the insertion keeps 10 digits whatever is shown
    memory_set(c.re, 0, 10);
    memory_set(c.im, 1, 10);
    insert_memory_value(10);
    ASSERT_GT(g_input.line.count, 2);
    evaluate_line(false);
    ASSERT_FALSE(error_pending()) << error_text();
    // Ten significant digits survive.
    EXPECT_NEAR(g_ans.re, c.re, std::fabs(c.re) * 2e-10);
    EXPECT_NEAR(g_ans.im, c.im, std::fabs(c.im) * 2e-10);
}

INSTANTIATE_TEST_SUITE_P(Values, MemoryValueTest,
                         ::testing::Values(MemoryValueCase{FMT_FLOAT, 3, 4},
                                           MemoryValueCase{FMT_FLOAT, 0.0025, -1},
                                           MemoryValueCase{FMT_FLOAT, -2.5e-7, 0},
                                           MemoryValueCase{FMT_FLOAT, 0, -2},
                                           MemoryValueCase{FMT_FLOAT, 1e25, 3e-9},
                                           MemoryValueCase{FMT_FLOAT, -1.0 / 3.0, 0},
                                           MemoryValueCase{FMT_SCI, 123456.789, -0.5},
                                           MemoryValueCase{FMT_ENG, 0.000123, 7}));

TEST_F(InputLineTest, PolarDisplayStillInsertsTheRectangularForm) {
    g_settings.complex_format = CPLX_POLAR;
    g_settings.angle_unit = ANGLE_DEG;
    memory_set(3, 0, 10);
    memory_set(4, 1, 10);
    insert_memory_value(10);
    EXPECT_EQ(line_tokens(), (Tokens{3, 35, 36, 28, 120, 4}));
}

TEST_F(InputLineTest, ACommaMarkValueReadsBack) {
    g_settings.decimal_mark = 1;
    memory_set(1.25, 0, 11);
    insert_memory_value(11);
    EXPECT_EQ(line_tokens(), (Tokens{3, 33, 39, 34, 29, 4}));
}

TEST_F(InputLineTest, MatricesAndListsGoInByName) {
    const struct { int index; TokenCode token; } cases[] = {
        {90, 2090}, {99, 2099}, {100, 2100}, {109, 2109}, {TOK_M_ANS, TOK_M_ANS},
    };
    for (const auto& c : cases) {
        clear_line();
        insert_memory_value(c.index);
        EXPECT_EQ(line_tokens(), (Tokens{c.token})) << c.index;
    }
}

struct BaseValueCase {
    int radix, bits;
    double value;
    Tokens tokens;
};

void PrintTo(const BaseValueCase& c, std::ostream* os) {
    *os << "radix " << c.radix << " bits " << c.bits << ' ' << c.value;
}

class BaseValueTest : public InputLineTest,
                      public ::testing::WithParamInterface<BaseValueCase> {};

TEST_P(BaseValueTest, BaseNDigitsAndSuffixesBecomeTheirTokens) {
    const BaseValueCase& c = GetParam();
    g_settings.calculator_mode = MODE_BASE_N;
    g_settings.base_mode = c.radix;
    g_settings.base_bits = c.bits;
    memory_set(c.value, 0, 10);
    insert_memory_value(10);
    EXPECT_EQ(line_tokens(), c.tokens);
    EXPECT_EQ(boxes("insert_constant_string", "Unknown constant character"), 0);
    evaluate_line(false);
    ASSERT_FALSE(error_pending()) << error_text();
    EXPECT_EQ(g_ans.re, c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Radixes, BaseValueTest,
    ::testing::Values(
        BaseValueCase{RADIX_HEX, BITS_16, 0xBE, {3, 38, 38, 512, 515, 518, 4}},
        BaseValueCase{RADIX_HEX, BITS_8, 0x1F, {3, 33, 516, 518, 4}},
        BaseValueCase{RADIX_BIN, BITS_8, 5, {3, 38, 38, 38, 38, 38, 33, 38, 33, 519, 4}},
        BaseValueCase{RADIX_OCT, BITS_8, 8, {3, 38, 33, 38, 619, 4}},
        BaseValueCase{RADIX_DEC, BITS_8, -56, {3, 17, 29, 30, 517, 4}}));

// --- the answer rule of a fresh line -------------------------------------------------

TEST_F(InputLineTest, AnOperatorAfterEqualsContinuesFromTheAnswer) {
    const struct { TokenCode token; Tokens line; } cases[] = {
        {TOK_PLUS, {TOK_ANS, TOK_PLUS}},
        {TOK_MULTIPLY, {TOK_ANS, TOK_MULTIPLY}},
        {9, {TOK_ANS, 9}},                       // x² (postfix)
        {3010, {TOK_ANS, 3010}},                 // store into A
        {910, {TOK_ANS, 910}},
        {TOK_UNIT_BASE + 1 + 256 * 2, {TOK_ANS, TOK_UNIT_BASE + 1 + 256 * 2}},
        {5, {5}},                                // sin( is a prefix
        {TOK_NEGATE, {TOK_NEGATE}},
        {TOK_1, {TOK_1}},
        {TOK_OPEN_PAREN, {TOK_OPEN_PAREN}},
    };
    for (const auto& c : cases) {
        clear_line();
        type({TOK_2});
        evaluate_line(false);
        insert_token(c.token);
        EXPECT_EQ(line_tokens(), c.line) << c.token;
    }
}

TEST_F(InputLineTest, AfterACAnOperatorStandsAlone) {
    type({TOK_2});
    evaluate_line(false);
    clear_line();
    insert_token(TOK_PLUS);
    EXPECT_EQ(line_tokens(), (Tokens{TOK_PLUS}));
}

TEST_F(InputLineTest, AfterAMatrixResultTheLineStartsWithTheAnswerMatrix) {
    g_hooks.single_object_result = [](int kind, int, TempRegister* r) { r->kind = kind; };
    type({2090});   // [A]
    evaluate_line(false);
    ASSERT_FALSE(error_pending()) << error_text();
    insert_token(TOK_MULTIPLY);
    EXPECT_EQ(line_tokens(), (Tokens{TOK_M_ANS, TOK_MULTIPLY}));

    // A scalar result puts Ans back in front.
    clear_line();
    type({TOK_2});
    evaluate_line(false);
    insert_token(TOK_MULTIPLY);
    EXPECT_EQ(line_tokens(), (Tokens{TOK_ANS, TOK_MULTIPLY}));
}

TEST_F(InputLineTest, AfterAListResultTheLineStartsWithTheAnswerList) {
    type({TOK_2});
    evaluate_line(false);
    g_input.answer_list = true;   // as a list result leaves it
    insert_token(TOK_PLUS);
    EXPECT_EQ(line_tokens(), (Tokens{TOK_L_ANS, TOK_PLUS}));
}

// --- delete and cursor moves -----------------------------------------------------------

TEST_F(InputLineTest, DeleteRemovesTheTokenUnderTheCursorOrTheLastOne) {
    type({TOK_1, TOK_2, TOK_3});
    delete_at_cursor();   // at the end
    EXPECT_EQ(line_tokens(), (Tokens{TOK_1, TOK_2}));
    EXPECT_EQ(g_input.cursor, 2);
    g_input.cursor = 0;
    delete_at_cursor();   // under the cursor
    EXPECT_EQ(line_tokens(), (Tokens{TOK_2}));
    EXPECT_EQ(g_input.cursor, 0);
    delete_at_cursor();
    delete_at_cursor();   // empty: nothing
    EXPECT_EQ(g_input.line.count, 0);
    EXPECT_EQ(g_input.cursor, 0);
}

TEST_F(InputLineTest, DeleteLeavesAnEvaluatedLineAlone) {
    type({TOK_1, TOK_PLUS, TOK_2});
    evaluate_line(false);
    delete_at_cursor();
    EXPECT_EQ(g_input.line.count, 3);
}

TEST_F(InputLineTest, FastMovesStepByAFifthOfTheLine) {
    const struct { int count, from; bool right; int to; } cases[] = {
        {12, 0, true, 2}, {12, 11, true, 12}, {12, 12, false, 10}, {12, 1, false, 0},
        {3, 0, true, 1}, {3, 3, false, 2}, {25, 0, true, 5}, {0, 0, true, 0},
    };
    for (const auto& c : cases) {
        clear_line();
        type_ones(c.count);
        g_input.cursor = c.from;
        if (c.right) cursor_right(true);
        else cursor_left(true);
        EXPECT_EQ(g_input.cursor, c.to) << c.count << " from " << c.from;
    }
}

TEST_F(InputLineTest, PlainMovesStopAtTheEnds) {
    type_ones(2);
    cursor_right(false);
    EXPECT_EQ(g_input.cursor, 2);
    cursor_left(false);
    cursor_left(false);
    cursor_left(false);
    EXPECT_EQ(g_input.cursor, 0);
}

TEST_F(InputLineTest, ACursorKeyMakesAnEvaluatedLineEditable) {
    type({TOK_1, TOK_PLUS, TOK_2});
    evaluate_line(false);
    cursor_right(false);   // from the start
    EXPECT_FALSE(g_input.fresh);
    EXPECT_EQ(g_input.cursor, 0);

    evaluate_line(false);
    cursor_left(false);    // stays at the end
    EXPECT_FALSE(g_input.fresh);
    EXPECT_EQ(g_input.cursor, 3);
    insert_token(TOK_3);
    EXPECT_EQ(line_tokens(), (Tokens{TOK_1, TOK_PLUS, TOK_2, TOK_3}));
}

TEST_F(InputLineTest, CursorKeysClearAPendingError) {
    type({TOK_1, TOK_DIVIDE, TOK_0});
    evaluate_line(false);
    ASSERT_TRUE(error_pending());
    EXPECT_STREQ(g_result.text, error_text());
    cursor_left(false);
    EXPECT_FALSE(error_pending());
}

TEST_F(InputLineTest, AnOutOfRangeCursorIsPulledBackBeforeUse) {
    type({TOK_1, TOK_2});
    g_input.cursor = 57;
    insert_token(TOK_3);
    EXPECT_EQ(line_tokens(), (Tokens{TOK_1, TOK_2, TOK_3}));
    g_input.cursor = -4;
    delete_at_cursor();
    EXPECT_EQ(line_tokens(), (Tokens{TOK_2, TOK_3}));
    g_input.cursor = 99;
    draw_input_line(ui().screen);
    EXPECT_EQ(g_input.cursor, 2);
}

// --- AC ---------------------------------------------------------------------------------

TEST_F(InputLineTest, ACClearsLineErrorAndMessage) {
    type({TOK_1, TOK_DIVIDE, TOK_0});
    evaluate_line(false);
    ASSERT_TRUE(error_pending());
    clear_line();
    EXPECT_FALSE(error_pending());
    EXPECT_EQ(g_input.line.count, 0);
    EXPECT_TRUE(g_result.empty);
    EXPECT_STREQ(g_result.text, "");
    EXPECT_EQ(g_rec.cleared_answers, 2);   // this AC and the one in SetUp
}

TEST_F(InputLineTest, ACKeepsTheProgramPromptWhileItWaits) {
    set_result_text("A?", true);
    g_rec.running = g_rec.waiting = true;
    clear_line();
    EXPECT_STREQ(g_result.text, "A?");
}

// --- evaluation -------------------------------------------------------------------------

TEST_F(InputLineTest, EqualsShowsTheAnswerAndLeavesAFreshLineWithoutCursor) {
    type({TOK_1, TOK_PLUS, TOK_2});
    g_input.cursor = 1;
    evaluate_line(false);
    EXPECT_EQ(g_ans.re, 3.0);
    EXPECT_STREQ(g_result.text, "3");
    EXPECT_TRUE(g_result.shown);
    EXPECT_TRUE(g_input.fresh);
    EXPECT_FALSE(g_input.cursor_shown);
    EXPECT_EQ(g_input.cursor, 3);
    ASSERT_EQ(g_history_count, 1);
    EXPECT_EQ(history_text(0), "1+2");
}

TEST_F(InputLineTest, ThePlotCheckLeavesAGoodLineEditable) {
    type({TOK_1, TOK_PLUS, 2059});   // 1 + x
    g_input.cursor = 1;
    evaluate_line(true);
    EXPECT_FALSE(error_pending());
    EXPECT_FALSE(g_input.fresh);
    EXPECT_EQ(g_input.cursor, 1);
    EXPECT_TRUE(g_result.empty);

    insert_token(TOK_PLUS);   // a broken line shows its error
    evaluate_line(true);
    EXPECT_TRUE(error_pending());
    EXPECT_TRUE(g_input.fresh);
    EXPECT_EQ(g_input.cursor, 4);
    EXPECT_STREQ(g_result.text, error_text());
}

TEST_F(InputLineTest, AWaitingFunctionInputTakesTheTokensWithoutEvaluating) {
    g_rec.running = g_rec.waiting = g_rec.waiting_function = true;
    type({TOK_1, TOK_PLUS, 2059});
    g_ans.re = 42;
    evaluate_line(false);
    EXPECT_EQ(g_rec.function_inputs, 1);
    EXPECT_EQ(g_ans.re, 42);
    EXPECT_EQ(g_history_count, 0);
    EXPECT_TRUE(g_input.fresh);
}

TEST_F(InputLineTest, AWaitingValueInputIsCopiedAndKeptOutOfTheHistory) {
    g_rec.running = g_rec.waiting = true;
    type({TOK_7});
    evaluate_line(false);
    EXPECT_EQ(g_rec.copied_inputs, 1);
    EXPECT_EQ(g_ans.re, 7);
    EXPECT_EQ(g_history_count, 0);
}

TEST_F(InputLineTest, ARunningProgramIgnoresEquals) {
    g_rec.running = true;
    type({TOK_7});
    evaluate_line(false);
    EXPECT_EQ(g_ans.re, 0);
    EXPECT_FALSE(g_input.fresh);
}

// --- plotting ---------------------------------------------------------------------------

TEST_F(InputLineTest, ALineWithIIsNotPlotted) {
    type({TOK_I, TOK_MULTIPLY, 2059});
    plot_line();
    EXPECT_EQ(boxes("Norm", "Plotting does not support complex or imaginary numbers."), 1);
    EXPECT_EQ(g_rec.stored_functions, 0);
    EXPECT_EQ(g_history_count, 0);
}

TEST_F(InputLineTest, APlottedLineGoesIntoTheHistory) {
    plot_line();   // empty: nothing
    EXPECT_EQ(g_rec.stored_functions, 0);
    type({2059, TOK_POWER, TOK_2});
    plot_line();
    EXPECT_EQ(g_rec.stored_functions, 1);
    EXPECT_EQ(g_history_count, 1);

    g_rec.slots_full = true;
    insert_token(TOK_PLUS);
    plot_line();
    EXPECT_EQ(g_history_count, 1);
}

// --- history ----------------------------------------------------------------------------

TEST_F(InputLineTest, RepeatsAreKeptOnceAndTheTwentyFirstDropsTheOldest) {
    history_add(expression({TOK_1}));
    history_add(expression({TOK_1}));
    EXPECT_EQ(g_history_count, 1);
    for (int k = 0; k < 20; ++k) history_add(expression({TOK_2, TOK_PLUS, TOK_0, k}));
    EXPECT_EQ(g_history_count, 20);
    EXPECT_EQ(g_history[0].tokens[3], 0);   // the entry "1" is gone
    EXPECT_EQ(g_history[19].tokens[3], 19);
    // The same tokens again, but not as the newest entry, are added.
    history_add(expression({TOK_2, TOK_PLUS, TOK_0, 5}));
    EXPECT_EQ(g_history[19].tokens[3], 5);
    EXPECT_EQ(g_history[0].tokens[3], 1);
}

TEST_F(InputLineTest, HistoryTextsReadAsTheExpression) {
    const struct { Tokens tokens; const char* text; } cases[] = {
        {{TOK_1, TOK_POINT, TOK_5, TOK_EXP, TOK_NEGATE, TOK_3}, "1.5e-3"},
        {{5, TOK_2, TOK_CLOSE_PAREN, TOK_MULTIPLY, TOK_ANS}, "sin(2)*(Ans)"},
        {{TOK_7, 3010}, "7 > A"},
        {{2069, TOK_PLUS, 2010}, "theta+A"},   // Greek leaves the display font spelled
    };
    for (const auto& c : cases) {
        history_add(expression(c.tokens));
        EXPECT_EQ(history_text(g_history_count - 1), c.text);
    }
    EXPECT_EQ(history_text(-1), "");
    EXPECT_EQ(history_text(g_history_count), "");
}

TEST_F(InputLineTest, AnyExpressionReadsAsText) {
    g_settings.decimal_mark = 1;
    type({TOK_1, TOK_POINT, TOK_5, TOK_MULTIPLY, 2059});
    EXPECT_EQ(expression_text(g_input.line), "1,5*x");
    EXPECT_EQ(expression_text(Expression{}), "");
}

TEST_F(InputLineTest, ALongHistoryTextIsCutNotEmptied) {
    Tokens many(100, 428);   // randMatrix( is 11 characters
    history_add(expression(many));
    const std::string text = history_text(0);
    EXPECT_EQ(text.size(), 1000u);
    EXPECT_EQ(text.substr(0, 22), "randMatrix(randMatrix(");
}

TEST_F(InputLineTest, HistoryTextLeavesNoErrorBehind) {
    history_add(expression({TOK_UNIT_BASE + 3 + 256 * 4}));   // no unit table loaded
    history_text(0);
    EXPECT_FALSE(error_pending());
}

TEST_F(InputLineTest, RecallReplacesTheLineAndLeavesItFresh) {
    history_add(expression({TOK_1, TOK_PLUS, TOK_2}));
    type({TOK_9});
    evaluate_line(false);   // an evaluation turns the answer rule back on
    cursor_left(false);
    history_recall(0, false);
    EXPECT_EQ(line_tokens(), (Tokens{TOK_1, TOK_PLUS, TOK_2}));
    EXPECT_EQ(g_input.cursor, 3);
    EXPECT_TRUE(g_input.fresh);
    insert_token(TOK_MULTIPLY);   // a recalled line continues from Ans like an evaluated one
    EXPECT_EQ(line_tokens(), (Tokens{TOK_ANS, TOK_MULTIPLY}));

    history_recall(5, false);   // no such entry
    EXPECT_EQ(line_tokens(), (Tokens{TOK_ANS, TOK_MULTIPLY}));
}

TEST_F(InputLineTest, RecallInsertsAtTheCursorWithinTheLimit) {
    history_add(expression({TOK_1, TOK_PLUS, TOK_2}));
    type({TOK_7, TOK_MULTIPLY, TOK_8});
    g_input.cursor = 2;
    history_recall(0, true);
    EXPECT_EQ(line_tokens(), (Tokens{TOK_7, TOK_MULTIPLY, TOK_1, TOK_PLUS, TOK_2, TOK_8}));
    EXPECT_EQ(g_input.cursor, 5);
    EXPECT_FALSE(g_input.fresh);

    clear_line();
    type_ones(97);
    history_recall(0, true);   // exactly 100
    EXPECT_EQ(g_input.line.count, 100);
    EXPECT_EQ(boxes("Limit", "Reached expression size limit"), 0);

    clear_line();
    type_ones(98);
    history_recall(0, true);
    EXPECT_EQ(g_input.line.count, 98);
    EXPECT_EQ(boxes("Limit", "Reached expression size limit"), 1);
}

TEST_F(InputLineTest, RecallClearsAPendingError) {
    history_add(expression({TOK_1}));
    type({TOK_1, TOK_DIVIDE, TOK_0});
    evaluate_line(false);
    ASSERT_TRUE(error_pending());
    history_recall(0, false);
    EXPECT_FALSE(error_pending());
}

TEST_F(InputLineTest, TheDialogInsertsTheChosenEntry) {
    history_add(expression({TOK_1}));
    history_add(expression({TOK_2}));
    type({TOK_7, TOK_8});
    g_input.cursor = 1;
    window.push_answer({"Insert Expression at Cursor", {{"Expressions", "#0"}}});
    history_dialog();
    EXPECT_EQ(line_tokens(), (Tokens{TOK_7, TOK_1, TOK_8}));
}

TEST_F(InputLineTest, TheDialogReplacesWithTheNewestEntryByDefault) {
    history_add(expression({TOK_1}));
    history_add(expression({TOK_2, TOK_3}));
    type({TOK_7});
    window.push_answer({"Replace Current Expression", {}});
    history_dialog();
    EXPECT_EQ(line_tokens(), (Tokens{TOK_2, TOK_3}));
    EXPECT_TRUE(g_input.fresh);
}

TEST_F(InputLineTest, TheDialogCannotInsertIntoALineWithoutCursorOrTokens) {
    history_add(expression({TOK_1}));
    window.push_answer({"Insert Expression at Cursor", {}});
    history_dialog();   // empty line after AC
    EXPECT_TRUE(logged("\"Insert Expression at Cursor\" is unavailable"));

    log.clear();
    type({TOK_5});
    evaluate_line(false);   // shown without cursor
    window.push_answer({"Insert Expression at Cursor", {}});
    history_dialog();
    EXPECT_TRUE(logged("\"Insert Expression at Cursor\" is unavailable"));
}

TEST_F(InputLineTest, TheDialogCancelledChangesNothing) {
    history_add(expression({TOK_1}));
    type({TOK_7});
    window.push_answer({"Cancel", {}});
    history_dialog();
    EXPECT_EQ(line_tokens(), (Tokens{TOK_7}));
}

// --- saving the line around a program run -------------------------------------------------

TEST_F(InputLineTest, ASavedLineComesBackFresh) {
    type({TOK_1, TOK_PLUS, TOK_2});
    g_input.cursor = 1;
    save_line();
    EXPECT_FALSE(g_input.cursor_shown);
    clear_line();
    type({TOK_9});
    restore_line(true);
    EXPECT_EQ(line_tokens(), (Tokens{TOK_1, TOK_PLUS, TOK_2}));
    EXPECT_EQ(g_input.cursor, 1);
    EXPECT_TRUE(g_input.fresh);
}

// --- the compiled-expression cache -------------------------------------------------------

TEST_F(InputLineTest, AStoredExpressionIsCompiledOncePerKey) {
    const Tokens two = {TOK_2};
    const Tokens three = {TOK_3};
    evaluate_stored_expression(7, two.data(), 1);
    EXPECT_EQ(g_ans.re, 2);
    // Same key: the compiled form is reused, whatever tokens come with it.
    evaluate_stored_expression(7, three.data(), 1);
    EXPECT_EQ(g_ans.re, 2);
    clear_expression_cache();
    evaluate_stored_expression(7, three.data(), 1);
    EXPECT_EQ(g_ans.re, 3);
}

TEST_F(InputLineTest, BeyondTwentyKeysExpressionsAreCompiledEachTime) {
    const Tokens one = {TOK_1};
    for (int key = 0; key < EXPRESSION_CACHE_SLOTS; ++key) evaluate_stored_expression(key, one.data(), 1);
    const Tokens four = {TOK_4};
    const Tokens five = {TOK_5};
    evaluate_stored_expression(100, four.data(), 1);
    EXPECT_EQ(g_ans.re, 4);
    evaluate_stored_expression(100, five.data(), 1);
    EXPECT_EQ(g_ans.re, 5);
}

TEST_F(InputLineTest, AFailedCompileFailsAgainFromTheCache) {
    const Tokens bad = {TOK_1, TOK_PLUS};
    evaluate_stored_expression(1, bad.data(), 2);
    ASSERT_TRUE(error_pending());
    const int code = error_code();
    clear_error();
    evaluate_stored_expression(1, bad.data(), 2);
    EXPECT_TRUE(error_pending());
    EXPECT_EQ(error_code(), code);
}

// --- drawing the input line ------------------------------------------------------------------

TEST_F(InputLineTest, TheTokenUnderTheCursorIsDrawnInverted) {
    type({TOK_1, TOK_2, TOK_3});
    g_input.cursor = 1;
    Surface s(SCREEN_WIDTH, 50, COLOUR_BLACK);
    draw_input_line(s);
    ASSERT_EQ(g_input.drawn_count, 3);
    EXPECT_TRUE(shows_legend(s, "1_dig", g_input.drawn[0].start, 8, false));
    EXPECT_TRUE(shows_legend(s, "2_dig", g_input.drawn[1].start, 8, true));
    EXPECT_TRUE(shows_legend(s, "3_dig", g_input.drawn[2].start, 8, false));
    EXPECT_EQ(g_input.drawn[0].start, 20);
}

TEST_F(InputLineTest, AtTheEndTheCursorMarkIsDrawnInverted) {
    type({TOK_1, TOK_2});
    Surface s(SCREEN_WIDTH, 50, COLOUR_BLACK);
    draw_input_line(s);
    const DrawnToken* mark = drawn_entry(2);
    ASSERT_NE(mark, nullptr);
    EXPECT_TRUE(shows_legend(s, "underline", mark->start, 8, true));
    EXPECT_TRUE(shows_legend(s, "2_dig", drawn_entry(1)->start, 8, false));
}

TEST_F(InputLineTest, AnEvaluatedLineIsDrawnWithoutCursor) {
    type({TOK_1, TOK_PLUS, TOK_2});
    evaluate_line(false);
    Surface s(SCREEN_WIDTH, 50, COLOUR_BLACK);
    draw_input_line(s);
    ASSERT_EQ(g_input.drawn_count, 3);   // no cursor mark
    EXPECT_TRUE(shows_legend(s, "1_dig", g_input.drawn[0].start, 8, false));
    EXPECT_TRUE(shows_legend(s, "pluss", g_input.drawn[1].start, 8, false));
    EXPECT_TRUE(shows_legend(s, "2_dig", g_input.drawn[2].start, 8, false));
}

TEST_F(InputLineTest, InProgModeTheLineHasNoCursor) {
    type({TOK_1, TOK_2});
    g_input.cursor = 0;
    g_settings.calculator_mode = MODE_PROG;
    Surface s(SCREEN_WIDTH, 50, COLOUR_BLACK);
    draw_input_line(s);
    ASSERT_EQ(g_input.drawn_count, 2);
    EXPECT_TRUE(shows_legend(s, "1_dig", g_input.drawn[0].start, 8, false));
}

TEST_F(InputLineTest, ALongLineShowsTheCursorAndOverflowArrows) {
    // Digits are 7 pixels wide; 40 of them do not fit in 202.
    type_ones(40);
    Surface s(SCREEN_WIDTH, 50, COLOUR_BLACK);

    g_input.cursor = 0;
    draw_input_line(s);
    EXPECT_EQ(g_input.drawn[0].index, 0);
    EXPECT_TRUE(shows_legend(s, "1_dig", 20, 8, true));
    EXPECT_TRUE(shows_legend(s, "right_arrow", 224, 13, false));
    EXPECT_TRUE(all_pixels(s, COLOUR_WHITE, 9, 13, 15, 21));   // no left arrow

    s = Surface(SCREEN_WIDTH, 50, COLOUR_BLACK);
    g_input.cursor = 40;
    draw_input_line(s);
    EXPECT_TRUE(shows_legend(s, "left_arrow", 9, 13, false));
    EXPECT_TRUE(all_pixels(s, COLOUR_WHITE, 224, 13, 230, 21));   // no right arrow
    const DrawnToken& last = g_input.drawn[g_input.drawn_count - 1];
    EXPECT_EQ(last.index, 40);
    EXPECT_TRUE(shows_legend(s, "underline", last.start, 8, true));
    EXPECT_LE(last.end, 20 + 202);
    EXPECT_GT(g_input.drawn[0].index, 0);

    // In the middle: both arrows, the cursor token among those drawn.
    s = Surface(SCREEN_WIDTH, 50, COLOUR_BLACK);
    g_input.cursor = 33;
    draw_input_line(s);
    EXPECT_TRUE(shows_legend(s, "left_arrow", 9, 13, false));
    const DrawnToken* cur = drawn_entry(33);
    ASSERT_NE(cur, nullptr);
    EXPECT_TRUE(shows_legend(s, "1_dig", cur->start, 8, true));
}

TEST_F(InputLineTest, TheDrawnMapIsContiguousAndInsideTheLine) {
    type({5, TOK_2, TOK_CLOSE_PAREN, TOK_MULTIPLY, TOK_ANS, 3010, TOK_POINT, TOK_PI});
    g_input.cursor = 3;
    Surface s(SCREEN_WIDTH, 50, COLOUR_BLACK);
    draw_input_line(s);
    ASSERT_EQ(g_input.drawn_count, 8);   // the cursor is not at the end: no mark
    int x = 20;
    for (int k = 0; k < g_input.drawn_count; ++k) {
        EXPECT_EQ(g_input.drawn[k].index, k);
        EXPECT_EQ(g_input.drawn[k].start, x);
        EXPECT_GT(g_input.drawn[k].end, g_input.drawn[k].start);
        x = g_input.drawn[k].end;
    }
    EXPECT_LE(x, 222);
}

TEST_F(InputLineTest, ATapPutsTheCursorOnTheTappedToken) {
    type({5, TOK_2, TOK_CLOSE_PAREN, TOK_MULTIPLY, TOK_ANS});
    evaluate_line(false);   // fresh, drawn without cursor
    redraw_lines();
    const DrawnToken sin_entry = g_input.drawn[0];
    const DrawnToken ans_entry = g_input.drawn[4];
    EXPECT_TRUE(tap_on_line((ans_entry.start + ans_entry.end) / 2, 15));
    EXPECT_EQ(g_input.cursor, 4);
    EXPECT_FALSE(g_input.fresh);
    EXPECT_TRUE(tap_on_line(sin_entry.end - 1, 6));
    EXPECT_EQ(g_input.cursor, 0);
    EXPECT_TRUE(tap_on_line(sin_entry.end, 25));   // the next token starts there
    EXPECT_EQ(g_input.cursor, 1);
}

TEST_F(InputLineTest, TapsOutsideTheLineOrInOtherModesAreNotTaken) {
    type({TOK_1, TOK_2, TOK_3});
    redraw_lines();
    const int x = g_input.drawn[0].start + 1;
    g_input.cursor = 2;
    EXPECT_FALSE(tap_on_line(x, 5));
    EXPECT_FALSE(tap_on_line(x, 26));
    EXPECT_FALSE(tap_on_line(230, 15));
    for (int mode : {MODE_PROG, MODE_PLOT, MODE_PERIODIC}) {
        g_settings.calculator_mode = mode;
        EXPECT_FALSE(tap_on_line(x, 15)) << mode;
    }
    for (int mode : {MODE_BASE_N, MODE_STATS, MODE_MATRIX, MODE_LIST}) {
        g_settings.calculator_mode = mode;
        g_input.cursor = 2;
        EXPECT_TRUE(tap_on_line(x, 15)) << mode;
        EXPECT_EQ(g_input.cursor, 0);
    }
    EXPECT_EQ(g_input.cursor, 0);
}

TEST_F(InputLineTest, ATapClearsAPendingError) {
    type({TOK_1, TOK_DIVIDE, TOK_0});
    evaluate_line(false);
    ASSERT_TRUE(error_pending());
    redraw_lines();
    EXPECT_TRUE(tap_on_line(g_input.drawn[1].start, 15));
    EXPECT_FALSE(error_pending());
}

TEST_F(InputLineTest, WithTheCommaMarkThePointIsDrawnAsAComma) {
    g_settings.decimal_mark = 1;
    type({TOK_1, TOK_POINT, TOK_5});
    Surface s(SCREEN_WIDTH, 50, COLOUR_BLACK);
    draw_input_line(s);
    EXPECT_TRUE(shows_legend(s, "U_ASCII_44", g_input.drawn[1].start, 8, false));
}

TEST_F(InputLineTest, OnAColouredDisplayTheLegendsLetTheColourThrough) {
    const Colour green = rgb(120, 200, 120);
    g_settings.display_color = green;
    type({TOK_1});
    g_input.cursor = 1;
    Surface s(SCREEN_WIDTH, 50, COLOUR_BLACK);
    draw_input_line(s);
    const Surface* one = find_bitmap("1_dig");
    ASSERT_NE(one, nullptr);
    int ink = 0, paper = 0;
    for (int j = 0; j < one->height(); ++j)
        for (int i = 0; i < one->width(); ++i) {
            const Colour expect = one->get(i, j) == COLOUR_WHITE ? green : one->get(i, j);
            EXPECT_EQ(s.get(20 + i, 8 + j), expect);
            (one->get(i, j) == COLOUR_WHITE ? paper : ink)++;
        }
    EXPECT_GT(ink, 0);
    EXPECT_GT(paper, 0);
    EXPECT_EQ(s.get(7, 8), green);
    EXPECT_EQ(s.get(233, 25), green);
}

// --- the result line ------------------------------------------------------------------------

TEST_F(InputLineTest, TheResultLineDrawsItsCharactersByTheirLegends) {
    set_result_text("-12.5", true);
    const Surface& s = ui().screen;
    int x = 20;
    const char* legends[] = {"U_ASCII_45", "1_dig", "2_dig", "decimal", "5_dig"};
    for (const char* name : legends) {
        EXPECT_TRUE(shows_legend(s, name, x, 27, false)) << name;
        x += legend_width(name);
    }
    EXPECT_FALSE(g_result.more_right);
}

TEST_F(InputLineTest, ALongResultScrollsOneCharacterAtATime) {
    std::string text(40, '8');
    text[0] = '1';
    set_result_text(text.c_str(), true);
    const Surface& s = ui().screen;
    EXPECT_TRUE(g_result.more_right);
    EXPECT_TRUE(shows_legend(s, "LOWER_RIGHT_BUTTON", 223, 27, false));
    EXPECT_TRUE(shows_legend(s, "1_dig", 20, 27, false));
    EXPECT_TRUE(all_pixels(s, COLOUR_WHITE, 9, 27, 17, 42));   // nothing to the left

    scroll_result(-1);
    EXPECT_EQ(g_result.scroll, 0);
    scroll_result(+1);
    EXPECT_EQ(g_result.scroll, 1);
    EXPECT_TRUE(shows_legend(s, "8_dig", 20, 27, false));
    EXPECT_TRUE(shows_legend(s, "LOWER_LEFT_BUTTON", 9, 27, false));

    for (int k = 0; k < 60; ++k) scroll_result(+1);
    EXPECT_FALSE(g_result.more_right);
    EXPECT_LT(g_result.scroll, 40);
    EXPECT_TRUE(all_pixels(s, COLOUR_WHITE, 223, 27, 231, 42));
}

TEST_F(InputLineTest, AnEmptyResultLineShowsTheBareDisplay) {
    set_result_text("123", true);
    set_result_text("", true);
    EXPECT_TRUE(all_pixels(ui().screen, COLOUR_WHITE, 7, 26, 233, 46));
}

TEST_F(InputLineTest, ShowLastResultRespectsAMessage) {
    type({TOK_4});
    evaluate_line(false);
    set_result_text("Hello", true);
    show_last_result(true);
    EXPECT_STREQ(g_result.text, "Hello");
    show_last_result(false);
    EXPECT_STREQ(g_result.text, "4");
    g_settings.calculator_mode = MODE_BASE_N;
    show_last_result(true);
    EXPECT_STREQ(g_result.text, "4d");
}

TEST_F(InputLineTest, PlainTextSpellsTheDisplayGlyphs) {
    const struct { const char* text; const char* plain; } cases[] = {
        {"1.5\x1B-3", "1.5E-3"},
        {"3+4\x1A", "3+4i"},
        {"2\x19(90\x1A)", "2e^(90i)"},
        {"\x1E\x1E\x1F\x1F\x1D\x1F" "b", "0011 1b"},
        {"\x97=2", "theta=2"},
    };
    for (const auto& c : cases) {
        set_result_text(c.text, true);
        EXPECT_EQ(result_plain_text(), c.plain);
    }
}

TEST_F(InputLineTest, AnEvaluatedComplexResultReadsPlainly) {
    type({TOK_3, TOK_PLUS, TOK_4, TOK_I});
    evaluate_line(false);
    EXPECT_EQ(result_plain_text(), "3+4i");
}

}  // namespace
}  // namespace qx

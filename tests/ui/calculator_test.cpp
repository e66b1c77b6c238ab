// The whole front panel driven as a user drives it: taps on keys, typed
// characters and keys of the PC keyboard, through the headless window.
#include <gtest/gtest.h>

#include "tests/ui/calculator_fixture.h"
#include "panel/legend_names.h"

namespace qx {
namespace {

bool g_name_in_use = false;
bool name_exists(const char*) { return g_name_in_use; }
std::string g_created;
void create_program(const char* name) { g_created = name; }

class Calculator : public CalculatorFixture {
protected:
    // After start-up, which installs the real program hooks.
    void SetUp() override {
        CalculatorFixture::SetUp();
        g_panel.program_name_exists = name_exists;
        g_panel.program_create = create_program;
        g_name_in_use = false;
        g_created.clear();
    }
    // Whether the screen shows the named picture at (x, y), drawn the way
    // the face draws it.
    bool shows(const char* name, int x, int y, bool small_key = true) {
        Surface expected = ui().screen;
        if (small_key) draw_gif(expected, "SMALL_BUTTON_GIF", x, y, true, g_settings.brightness);
        draw_gif(expected, name, x, y, true, g_settings.brightness);
        int w = 0, h = 0;
        picture_size(name, &w, &h);
        for (int yy = y; yy < y + h; ++yy)
            for (int xx = x; xx < x + w; ++xx)
                if (expected.get(xx, yy) != ui().screen.get(xx, yy)) return false;
        return true;
    }
};

TEST_F(Calculator, HypBlueSinInsertsTheInverseHyperbolicSine) {
    keys({2, 1, 5, 28, 4});
    EXPECT_EQ(line(), (std::vector<TokenCode>{305, 28, 4}));
    key(42);
    EXPECT_EQ(result(), "2.0947125473");
    EXPECT_FALSE(g_shift.blue || g_shift.orange || g_shift.hyp);
    EXPECT_TRUE(shows("blue_shift_button_gif", 83, 72));
    EXPECT_TRUE(shows("hyp_button_gif", 122, 72));
}

TEST_F(Calculator, ShiftRules) {
    key(1);   // blue
    key(0);   // orange clears blue
    EXPECT_TRUE(g_shift.orange);
    EXPECT_FALSE(g_shift.blue);
    EXPECT_TRUE(shows("orange_dot_button_gif", 44, 72));
    key(50);  // a key that only scrolls keeps the shift
    EXPECT_TRUE(g_shift.orange);
    key(33);  // a digit is inserted and clears it
    EXPECT_FALSE(g_shift.orange);
    EXPECT_EQ(line(), std::vector<TokenCode>{33});
    key(2);
    key(23);  // hyp stays on over a digit
    EXPECT_TRUE(g_shift.hyp);
    key(19);
    key(1);
    key(19);
    EXPECT_EQ(line(), (std::vector<TokenCode>{33, 23, 20, 19}));
    // A tap between keys does nothing and keeps the shift state.
    key(1);
    tap(42, 80);
    EXPECT_TRUE(g_shift.blue);
}

TEST_F(Calculator, AngleKeyCyclesAndItsIndicatorFollows) {
    g_settings.angle_unit = ANGLE_DEG;
    paint_face();
    struct Step { int unit; const char* picture; };
    const Step steps[] = {{ANGLE_RAD, "rad_gif"}, {ANGLE_GRAD, "grad_gif"}, {ANGLE_DEG, "deg_gif"}};
    for (const Step& s : steps) {
        key(16);
        EXPECT_EQ(g_settings.angle_unit, s.unit);
        EXPECT_TRUE(shows(s.picture, 200, 132)) << s.picture;
    }
    key(1);
    key(16);   // blue: the mark of the current unit
    EXPECT_EQ(line(), std::vector<TokenCode>{16});
}

TEST_F(Calculator, TheHundredAndFirstTokenIsRefused) {
    for (int k = 0; k < 100; ++k) key(33);
    EXPECT_EQ(g_input.line.count, 100);
    EXPECT_TRUE(log.empty());
    key(33);
    EXPECT_EQ(g_input.line.count, 100);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0], "box Limit: Reached expression size limit -> OK");
    key(42);
    EXPECT_EQ(result(), "1.1111111111E99");
}

TEST_F(Calculator, AnErrorTurnsTheAcKeyRedUntilAc) {
    keys({33, 32, 38, 42});
    EXPECT_EQ(result(), "Division by Zero");
    EXPECT_TRUE(shows("red_ac_button_gif", 194, 192, false));
    key(33);   // dropped while the error is shown
    EXPECT_TRUE(error_pending());
    key(27);
    EXPECT_FALSE(error_pending());
    EXPECT_TRUE(shows("ac_button_gif", 194, 192, false));
    EXPECT_EQ(result(), "");
    EXPECT_EQ(g_input.line.count, 0);
}

TEST_F(Calculator, AfterEqualsAnOperatorContinuesFromAnsAndAcStopsThat) {
    keys({34, 42, 36});
    EXPECT_EQ(line(), (std::vector<TokenCode>{41, 36}));
    keys({27, 36});
    EXPECT_EQ(line(), std::vector<TokenCode>{36});
}

TEST_F(Calculator, BaseNKeys) {
    g_settings.base_bits = BITS_16;
    enter_mode(MODE_BASE_N);
    keys({40, 33, 42});
    EXPECT_EQ(result(), "-1d");
    key(1);   // DEC -> HEX
    EXPECT_EQ(g_settings.base_mode, RADIX_HEX);
    EXPECT_EQ(result(), "FFFFh");
    EXPECT_TRUE(shows("hex_gif", 83, 72));
    // The point key has no meaning here; the exponent key is negation.
    keys({27, 39});
    EXPECT_EQ(line(), std::vector<TokenCode>{});
    keys({40, 11, 19});
    EXPECT_EQ(line(), (std::vector<TokenCode>{540, 511, 519}));
    key(2);
    EXPECT_EQ(g_settings.base_bits, BITS_32);
    EXPECT_TRUE(shows("32_bit_gif", 122, 72));
}

TEST_F(Calculator, StoreTokensGetAnsInFrontAfterAResult) {
    window.push_answer({"OK", {{"Variable Group", "Upper Case"}, {"Variable", "A"}}});
    keys({34, 42, 1, 10});
    EXPECT_EQ(line(), (std::vector<TokenCode>{41, TOK_STORE_MEM_2 + 10}));
    // A cancelled store inserts nothing.
    window.push_answer({"Cancel", {}});
    keys({27, 1, 10});
    EXPECT_EQ(line(), std::vector<TokenCode>{});
}

TEST_F(Calculator, TheVariableKeyOfEachPlotType) {
    static int type = 0;
    g_panel.plot_type = [] { return type; };
    const int want[3] = {2059, 2069, 2055};
    for (type = 0; type < 3; ++type) {
        keys({27, 0, 26});
        EXPECT_EQ(line(), std::vector<TokenCode>{want[type]}) << type;
    }
    type = 3;
    window.push_answer({"v", {}});
    keys({27, 0, 26});
    EXPECT_EQ(line(), std::vector<TokenCode>{2057});
    // Cancelling the u/v choice inserts nothing (2056 - 1 would be t).
    window.push_answer({"Cancel", {}});
    keys({27, 0, 26});
    EXPECT_EQ(line(), std::vector<TokenCode>{});
}

TEST_F(Calculator, RecallByValueInsertsTheNumber) {
    memory_set(2.5, 0, 10);
    window.push_answer({"OK", {{"Variable Group", "Upper Case"}, {"Variable", "A"}, {"By Value?", "1"}}});
    key(10);
    EXPECT_EQ(line(), (std::vector<TokenCode>{3, 34, 39, 29, 4}));
    window.push_answer({"OK", {{"Variable Group", "Upper Case"}, {"Variable", "A"}}});
    key(10);
    EXPECT_EQ(line().back(), TOK_READ_MEM_2 + 10);
}

TEST_F(Calculator, TypingOnThePcKeyboard) {
    type("2^10");
    press(KEY_RETURN);
    EXPECT_EQ(result(), "1024");
    type("+1=");
    EXPECT_EQ(result(), "1025");
    press(KEY_UP);
    EXPECT_EQ(line(), (std::vector<TokenCode>{41, 36, 33}));
    press(KEY_ESCAPE);
    EXPECT_EQ(g_input.line.count, 0);
    type("12");
    press(KEY_BACKSPACE);
    EXPECT_EQ(line(), std::vector<TokenCode>{33});
    press(KEY_LETTER_C, MOD_CTRL);
    window.set_clipboard("-1.5E-3");
    press(KEY_ESCAPE);
    press(KEY_LETTER_V, MOD_CTRL);
    EXPECT_EQ(line(), (std::vector<TokenCode>{3, 17, 33, 39, 29, 40, 17, 35, 4}));
}

TEST_F(Calculator, ATypedMinusNegatesWhereAValueMustCome) {
    type("-2^-1*(-3)-1e-2=");
    EXPECT_EQ(line(), (std::vector<TokenCode>{17, 34, 13, 17, 33, 31, 3, 17, 35, 4, 37, 33, 40, 17, 34}));
    EXPECT_EQ(result(), "1.49");
    type("-1=");   // after a result: Ans - 1
    EXPECT_EQ(result(), "0.49");
}

TEST_F(Calculator, CopyGivesTheResultAsPlainText) {
    keys({33, 40, 17, 35, 38, 42});
    press(KEY_LETTER_C, MOD_CTRL);
    EXPECT_EQ(window.clipboard(), "1E-30");
}

TEST_F(Calculator, AlphaEntryForAProgramName) {
    start_alpha_entry(0);
    type(" ");   // a leading blank is refused
    EXPECT_STREQ(g_alpha.text, "");
    type("abcdefghijklmnopqrstuvwxy");
    EXPECT_EQ(std::string(g_alpha.text), "abcdefghijklmnopqrstuv");
    g_name_in_use = true;
    key(40);   // OK
    EXPECT_FALSE(g_alpha.shown);
    EXPECT_EQ(log.back(), "box Error: Program name in use -> OK");
    EXPECT_EQ(g_created, "");
    start_alpha_entry(0);
    g_name_in_use = false;
    type("loan");
    press(KEY_RETURN);
    EXPECT_EQ(g_created, "loan");
}

TEST_F(Calculator, ModeButtonsAndTheFourthButtonsMode) {
    key(46);   // data mode: STATS by default
    EXPECT_EQ(g_settings.calculator_mode, MODE_STATS);
    key(43);
    EXPECT_EQ(g_settings.calculator_mode, MODE_COMP);
    // A stored data mode without a face falls back to STATS.
    g_settings.dynamic_mode = MODE_PERIODIC;
    key(46);
    EXPECT_EQ(g_settings.calculator_mode, MODE_STATS);
    window.push_answer({"OK", {{"Menu Item", "BASE-n Mode"}}});
    key(47);
    EXPECT_EQ(g_settings.calculator_mode, MODE_BASE_N);
}

TEST_F(Calculator, PeriodicFaceCellsAndTheLastEmptyCell) {
    static int shown = 0;
    g_panel.element_dialog = [](int element) { shown = element; };
    enter_mode(MODE_PERIODIC);
    key(2);
    EXPECT_EQ(shown, 1);
    key(110);
    EXPECT_EQ(shown, 109);
    shown = 0;
    key(111);   // the 110th cell has no element
    EXPECT_EQ(shown, 0);
    key(0);
    EXPECT_EQ(g_settings.calculator_mode, MODE_COMP);
}

TEST_F(Calculator, AProgramsTextTakesTheFirstLine) {
    g_panel.program_output_line = [] { return static_cast<const char*>("Rate?"); };
    keys({33, 34});
    paint_face();
    Surface expected(240, 320, COLOUR_WHITE);
    int x = 20;
    for (const char* p = "Rate?"; *p; ++p) x += draw_legend(expected, char_legend(*p), x, 8, false);
    for (int yy = 8; yy < 24; ++yy)
        for (int xx = 20; xx < x; ++xx) ASSERT_EQ(ui().screen.get(xx, yy), expected.get(xx, yy)) << xx << "," << yy;
}

TEST_F(Calculator, CommaMarkSwapsTheSeparatorAndPointKeys) {
    g_settings.decimal_mark = 1;
    paint_face();
    EXPECT_TRUE(shows("SMALL_DOT_BUTTON_GIF", 83, 162));
    EXPECT_TRUE(shows("COMMA_BUTTON_GIF", 51, 270, false));
}

TEST_F(Calculator, CatalogueFromTheMathKey) {
    window.push_answer({"OK", {{"Function Type", "Complex Function"}, {"Function", "Complex Magnitude(z)"}}});
    keys({1, 23});
    EXPECT_EQ(line(), std::vector<TokenCode>{19});
    window.push_answer({"Cancel", {}});
    keys({1, 23});
    EXPECT_EQ(line(), std::vector<TokenCode>{19});
}

TEST_F(Calculator, KeysCancelALongCalculationExceptTheMarkedOnes) {
    EXPECT_TRUE(key_cancels_operation(24, 254));    // "1"
    EXPECT_FALSE(key_cancels_operation(100, 30));   // the display
    enter_mode(MODE_PLOT);
    EXPECT_FALSE(key_cancels_operation(120, 254));  // lock x
    EXPECT_FALSE(key_cancels_operation(7, 7));      // the unreachable placeholder
    EXPECT_EQ(hit_test_key(7, 7, nullptr), -1);
}

}  // namespace
}  // namespace qx

// The alpha entry: the keyboard's codes, the character sets of each kind,
// typing limits, what OK and Cancel do, and how the text and the keyboard
// are drawn.  Dialogs and boxes are answered by a headless window.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/settings.h"
#include "panel/face.h"
#include "panel/images.h"
#include "panel/legend_names.h"
#include "panel/subsystems.h"
#include "panel/ui.h"
#include "platform/window_headless.h"

namespace qx {
namespace {

// What the alpha entry asked of the other subsystems.
struct Calls {
    std::vector<std::string> log;
    std::vector<std::string> existing_programs;
};
Calls g_calls;

bool fake_name_exists(const char* name) {
    for (const std::string& n : g_calls.existing_programs)
        if (n == name) return true;
    return false;
}
void fake_create(const char* name) { g_calls.log.push_back(std::string("create ") + name); }
void fake_copy(const char* name) { g_calls.log.push_back(std::string("copy ") + name); }
void fake_statement(int kind, const char* text) {
    g_calls.log.push_back("statement " + std::to_string(kind) + " " + text);
}
void fake_constant(const char* name, const char* unit) {
    g_calls.log.push_back(std::string("constant ") + name + "|" + unit);
}

class AlphaEntryTest : public ::testing::Test {
protected:
    void SetUp() override {
        reset_settings();
        g_settings.key_click = 0;
        g_settings.calculator_mode = MODE_COMP;
        reset_panel_hooks();
        g_panel.program_name_exists = fake_name_exists;
        g_panel.program_create = fake_create;
        g_panel.program_copy = fake_copy;
        g_panel.program_text_statement = fake_statement;
        g_panel.user_constant_add = fake_constant;
        g_calls = Calls{};
        window.set_logger([this](const std::string& line) { window_log.push_back(line); });
        ui().window = &window;
        g_alpha = AlphaEntry{false, 0, false, {}, {}};
    }
    void TearDown() override {
        g_alpha = AlphaEntry{false, 0, false, {}, {}};
        ui().window = nullptr;
        reset_panel_hooks();
        reset_settings();
    }

    // Presses a key of the alpha keyboard as the key press handler does:
    // decode, then add the character the code names.
    int press(int key) {
        const int code = alpha_decoder(key);
        if (code >= 0) add_alpha_character(code);
        return code;
    }
    void type_keys(const std::vector<int>& keys) {
        for (int k : keys) press(k);
    }

    HeadlessWindow window;
    std::vector<std::string> window_log;
};

// --- character sets --------------------------------------------------------

TEST(AlphaSets, SizesAndLimitsOfEveryKind) {
    struct Row {
        int kind;
        int max_length;
        int set_size;
    };
    const Row rows[] = {
        {0, 22, 88}, {1, 22, 88}, {2, 15, 93}, {3, 15, 93}, {4, 15, 93},
        {5, 15, 93}, {6, 22, 93}, {7, 22, 93}, {8, 22, 93}, {9, 15, 93},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.kind);
        EXPECT_EQ(alpha_max_length(r.kind), r.max_length);
        ASSERT_NE(alpha_character_set(r.kind), nullptr);
        EXPECT_EQ(static_cast<int>(std::strlen(alpha_character_set(r.kind))), r.set_size);
    }
    for (int kind : {-1, 10, 1000}) {
        EXPECT_EQ(alpha_max_length(kind), 0);
        EXPECT_EQ(alpha_character_set(kind), nullptr);
    }
}

TEST(AlphaSets, KeyboardOrderIsSharedByBothSets) {
    const std::string letters = "1234567890qwertyuiopasdfghjklzxcvbnm QWERTYUIOPASDFGHJKLZXCVBNM";
    for (int kind : {0, 2})
        EXPECT_EQ(std::string(alpha_character_set(kind), 63), letters) << kind;
    EXPECT_EQ(std::string(alpha_character_set(2) + 63), "()[]{}<>*=:;,.'\"+-!#/\\_?$&~^%@");
}

TEST(AlphaSets, FileNameSetHoldsNoPathSeparator) {
    // A program name becomes a file name: "/" would put it in another folder.
    const std::string set = alpha_character_set(0);
    EXPECT_EQ(set.find('/'), std::string::npos);
    EXPECT_EQ(set.substr(63), "()[]{}<>=;,'\"+-!#_$&~^%@_");
}

// --- the decoder --------------------------------------------------------------

TEST_F(AlphaEntryTest, KeysGiveCodesAndShiftMakesCapitals) {
    struct Row {
        bool shift;
        int key;
        int code;
        bool shift_after;
    };
    const Row rows[] = {
        {false, 0, 0, false},    // "1"
        {false, 9, 9, false},    // "0"
        {false, 10, 10, false},  // "q"
        {false, 35, 35, false},  // "m"
        {true, 10, 37, false},   // "Q"
        {true, 35, 62, false},   // "M"
        {true, 20, 47, false},   // "A"
        {true, 4, 4, false},     // a digit stays a digit, and uses up the shift
        {false, 36, -1, true},   // shift on
        {true, 36, -1, false},   // shift off again
        {false, 38, 36, false},  // Space is the blank
        {true, 38, 36, true},    // Space leaves the shift alone
        {false, 42, -1, false},  // no such key
        {true, -1, -1, true},
    };
    start_alpha_entry(2);
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "key " << r.key << " shift " << r.shift);
        g_alpha.shift = r.shift;
        EXPECT_EQ(alpha_decoder(r.key), r.code);
        EXPECT_EQ(g_alpha.shift, r.shift_after);
    }
}

TEST_F(AlphaEntryTest, TypedCharactersFollowTheKindsSet) {
    start_alpha_entry(2);
    // H e l l o , blank, 2
    type_keys({36, 25, 12, 28, 28, 18, 38, 1});
    EXPECT_STREQ(g_alpha.text, "Hello 2");
    EXPECT_TRUE(g_alpha.shown);
}

TEST_F(AlphaEntryTest, TextsStopGrowingAtTheKindsLimit) {
    struct Row {
        int kind;
        int keys;
        int length;
    };
    const Row rows[] = {{0, 25, 22}, {1, 30, 22}, {2, 25, 15}, {4, 15, 15},
                        {6, 25, 22}, {8, 23, 22}, {9, 16, 15}, {3, 5, 5}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.kind);
        start_alpha_entry(r.kind);
        for (int k = 0; k < r.keys; ++k) press(10 + k % 26);
        EXPECT_EQ(static_cast<int>(std::strlen(g_alpha.text)), r.length);
    }
}

TEST_F(AlphaEntryTest, ABlankCannotStartTheText) {
    start_alpha_entry(0);
    press(38);
    press(38);
    EXPECT_STREQ(g_alpha.text, "");
    press(10);
    press(38);
    press(11);
    EXPECT_STREQ(g_alpha.text, "q w");
}

TEST_F(AlphaEntryTest, CodesOutsideTheKindsSetAddNothing) {
    struct Row {
        int kind;
        int code;
        const char* text;
    };
    const Row rows[] = {
        {2, 92, "@"}, {2, 93, ""}, {0, 87, "_"}, {0, 88, ""}, {0, 92, ""}, {2, -1, ""},
        {0, 63 + 16, "#"},   // the symbol after "!" in the file-name set
        {2, 63 + 20, "/"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "kind " << r.kind << " code " << r.code);
        start_alpha_entry(r.kind);
        press(10);   // "q" first, so a blank-refusal cannot hide the result
        add_alpha_character(r.code);
        EXPECT_EQ(std::string(g_alpha.text), std::string("q") + r.text);
    }
}

TEST_F(AlphaEntryTest, NoKindNoTyping) {
    start_alpha_entry(10);
    add_alpha_character(10);
    EXPECT_STREQ(g_alpha.text, "");
    // OK with nothing typed does nothing for a kind without a meaning.
    EXPECT_EQ(alpha_decoder(40), -1);
    EXPECT_TRUE(g_calls.log.empty());
}

TEST_F(AlphaEntryTest, BackspaceRemovesTheLastCharacter) {
    start_alpha_entry(2);
    type_keys({10, 11, 12});
    EXPECT_EQ(alpha_decoder(37), -1);
    EXPECT_STREQ(g_alpha.text, "qw");
    press(37);
    press(37);
    press(37);   // nothing left: nothing happens
    EXPECT_STREQ(g_alpha.text, "");
    EXPECT_TRUE(g_alpha.shown);
}

TEST_F(AlphaEntryTest, SymbolComesFromTheDialogOfTheKindsSet) {
    struct Row {
        int kind;
        const char* answer;   // the row of "Select Symbol"
        int code;
        char character;
    };
    const Row rows[] = {
        {2, "/", 83, '/'},  {2, "@", 92, '@'}, {2, "(", 63, '('}, {4, "\\", 84, '\\'},
        {0, "@", 86, '@'},  {0, "#17", 80, '_'}, {1, "=", 71, '='}, {0, "#24", 87, '_'},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "kind " << r.kind << " " << r.answer);
        start_alpha_entry(r.kind);
        window.push_answer({"OK", {{"Symbol", r.answer}}});
        const int code = alpha_decoder(39);
        EXPECT_EQ(code, r.code);
        add_alpha_character(code);
        EXPECT_EQ(g_alpha.text[0], r.character);
    }
}

TEST_F(AlphaEntryTest, TheFileNameSymbolListOffersNoSlash) {
    start_alpha_entry(0);
    window_log.clear();
    window.push_answer({"OK", {{"Symbol", "/"}}});
    alpha_decoder(39);
    bool refused = false;
    for (const std::string& line : window_log)
        if (line.find("bad value \"/\"") != std::string::npos) refused = true;
    EXPECT_TRUE(refused);
}

TEST_F(AlphaEntryTest, CancelledSymbolAddsNothing) {
    start_alpha_entry(2);
    window.push_answer({"Cancel", {}});
    EXPECT_EQ(alpha_decoder(39), -1);
    EXPECT_TRUE(g_alpha.shown);
}

// --- OK and Cancel -------------------------------------------------------------

struct OkRow {
    int kind;
    const char* text;
    std::vector<std::string> calls;
};

TEST_F(AlphaEntryTest, OkHandsTheTextToItsOwner) {
    const std::string forty_five(45, 'x');
    const OkRow rows[] = {
        {0, "Orbit", {"create Orbit"}},
        {0, "Orbit   ", {"create Orbit"}},           // trailing blanks go
        {1, "Orbit copy", {"copy Orbit copy"}},
        {2, "Radius?", {"statement 2 Radius?"}},
        {3, "Area=", {"statement 3 Area="}},
        {4, "Done", {"statement 4 Done"}},
        {5, "f(x)=", {"statement 5 f(x)="}},
        {6, "Start", {"statement 6 Start"}},
        {7, "Main menu", {"statement 7 Main menu"}},
        {7, forty_five.c_str(), {"statement 7 " + std::string(40, 'x')}},   // cut to 40
        {9, "m/s", {"constant |m/s"}},
        {9, "", {"constant |"}},                    // a constant without unit
        {9, "   ", {"constant |"}},
        {2, "", {}},                                // empty: nothing to do
        {0, "    ", {}},
        {8, "", {}},
    };
    for (const OkRow& r : rows) {
        SCOPED_TRACE(testing::Message() << "kind " << r.kind << " \"" << r.text << "\"");
        g_calls.log.clear();
        start_alpha_entry(r.kind);
        std::strcpy(g_alpha.text, r.text);
        EXPECT_EQ(alpha_decoder(40), -1);
        EXPECT_FALSE(g_alpha.shown);
        EXPECT_EQ(g_calls.log, r.calls);
    }
}

TEST_F(AlphaEntryTest, ProgramNameInUseIsRefused) {
    g_calls.existing_programs = {"Orbit"};
    for (int kind : {0, 1}) {
        SCOPED_TRACE(kind);
        window_log.clear();
        g_calls.log.clear();
        start_alpha_entry(kind);
        std::strcpy(g_alpha.text, "Orbit ");
        alpha_decoder(40);
        EXPECT_FALSE(g_alpha.shown);
        EXPECT_TRUE(g_calls.log.empty());
        ASSERT_FALSE(window_log.empty());
        EXPECT_EQ(window_log.back(), "box Error: Program name in use -> OK");
    }
}

TEST_F(AlphaEntryTest, NewConstantAsksForItsUnitNext) {
    start_alpha_entry(8);
    // "Rydberg  " typed, with the blanks at the end dropped by OK
    type_keys({36, 13, 15, 22, 33, 12, 13, 24, 38, 38});
    alpha_decoder(40);
    EXPECT_TRUE(g_alpha.shown);
    EXPECT_EQ(g_alpha.kind, 9);
    EXPECT_STREQ(g_alpha.text, "");
    EXPECT_STREQ(g_alpha.constant_name, "Rydberg");
    EXPECT_TRUE(g_calls.log.empty());
    type_keys({36, 11, 38, 37, 37});   // "W", blank, then both removed again
    type_keys({33, 35});               // "b", "m"
    alpha_decoder(40);
    EXPECT_FALSE(g_alpha.shown);
    EXPECT_EQ(g_calls.log, std::vector<std::string>{"constant Rydberg|bm"});
}

TEST_F(AlphaEntryTest, LongConstantNameIsKeptTo40Characters) {
    start_alpha_entry(8);
    std::strcpy(g_alpha.text, std::string(60, 'k').c_str());
    alpha_decoder(40);
    EXPECT_EQ(std::string(g_alpha.constant_name), std::string(40, 'k'));
}

TEST_F(AlphaEntryTest, CancelClosesWithoutDoingAnything) {
    for (int kind : {0, 2, 8, 9}) {
        start_alpha_entry(kind);
        type_keys({10, 11});
        EXPECT_EQ(alpha_decoder(41), -1);
        EXPECT_FALSE(g_alpha.shown);
    }
    EXPECT_TRUE(g_calls.log.empty());
}

TEST_F(AlphaEntryTest, StartingClearsTheTextAndTheShift) {
    start_alpha_entry(2);
    type_keys({10, 36});
    start_alpha_entry(3);
    EXPECT_TRUE(g_alpha.shown);
    EXPECT_EQ(g_alpha.kind, 3);
    EXPECT_FALSE(g_alpha.shift);
    EXPECT_STREQ(g_alpha.text, "");
}

// --- drawing ---------------------------------------------------------------------

bool same_area(const Surface& a, const Surface& b, int left, int top, int right, int bottom) {
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            if (a.get(x, y) != b.get(x, y)) return false;
    return true;
}

TEST_F(AlphaEntryTest, TextIsDrawnFromItsCharacterLegends) {
    for (Colour display : {rgb(160, 190, 150), COLOUR_WHITE}) {
        SCOPED_TRACE(display);
        g_settings.display_color = display;
        start_alpha_entry(2);
        std::strcpy(g_alpha.text, "Ab=");
        Surface s(SCREEN_WIDTH, SCREEN_HEIGHT, COLOUR_BLACK);
        draw_alpha_text(s);

        Surface expected(SCREEN_WIDTH, SCREEN_HEIGHT, COLOUR_BLACK);
        fill_rectangle(expected, display, 7, 8, 233, 25);
        int x = 20;
        for (const char* p = "Ab="; *p; ++p)
            x += draw_legend(expected, char_legend(static_cast<unsigned char>(*p)), x, 8, false);
        draw_legend(expected, "underline", x, 8, true);
        EXPECT_TRUE(same_area(s, expected, 0, 0, 239, 319));
        // The line's own area and nothing else.
        EXPECT_EQ(s.get(6, 8), COLOUR_BLACK);
        EXPECT_EQ(s.get(234, 8), COLOUR_BLACK);
        EXPECT_EQ(s.get(7, 7), COLOUR_BLACK);
        EXPECT_EQ(s.get(7, 26), COLOUR_BLACK);
    }
}

TEST_F(AlphaEntryTest, LongTextShowsItsEndAndTheCursor) {
    g_settings.display_color = rgb(160, 190, 150);
    const Surface* cursor = find_bitmap("underline");
    ASSERT_NE(cursor, nullptr);
    const int cursor_w = cursor->width();
    const int w_width = legend_width(char_legend('W'));
    ASSERT_GT(w_width, 0);
    // The keyboard stops a name at 22 characters; a longer text (the field
    // holds 119) must still leave the cursor in sight.
    const struct {
        int count;
        bool arrow;
    } rows[] = {{0, false}, {22, (22 * w_width + cursor_w) > 202}, {60, true}, {119, true}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.count);
        start_alpha_entry(2);
        std::memset(g_alpha.text, 'W', static_cast<std::size_t>(r.count));
        g_alpha.text[r.count] = '\0';
        Surface s(SCREEN_WIDTH, SCREEN_HEIGHT, COLOUR_BLACK);
        draw_alpha_text(s);
        // Nothing spills past the line.
        for (int y = 0; y < SCREEN_HEIGHT; ++y)
            for (int x = 234; x < SCREEN_WIDTH; ++x) ASSERT_EQ(s.get(x, y), COLOUR_BLACK);
        // The arrow on the left tells that the start is out of sight.
        Surface arrow(SCREEN_WIDTH, SCREEN_HEIGHT, COLOUR_BLACK);
        fill_rectangle(arrow, g_settings.display_color, 7, 8, 233, 25);
        if (r.arrow) draw_legend(arrow, "left_arrow", 9, 13, false);
        EXPECT_TRUE(same_area(s, arrow, 7, 8, 19, 25));
        // The inverted cursor ends the drawn text, inside the line.
        const int shown = r.arrow ? (202 - cursor_w) / w_width : r.count;
        const int x0 = 20 + shown * w_width;
        ASSERT_LE(x0 + cursor_w - 1, 222);
        Surface cursor_only(SCREEN_WIDTH, SCREEN_HEIGHT, COLOUR_BLACK);
        draw_legend(cursor_only, "underline", 0, 0, true);
        for (int dx = 0; dx < cursor_w; ++dx)
            for (int y = 0; y < cursor->height(); ++y)
                ASSERT_EQ(s.get(x0 + dx, 8 + y), cursor_only.get(dx, y)) << dx << "," << y;
    }
}

TEST_F(AlphaEntryTest, KeyboardPicturesWithShiftAndPrompt) {
    struct Row {
        int kind;
        bool shift;
        const char* prompt;
        const char* shift_picture;
    };
    const Row rows[] = {
        {0, false, "ALPHA_PROGRAM_NAME", "alpha_shift_button"},
        {1, true, "ALPHA_PROGRAM_NAME", "dot_alpha_shift_button"},
        {2, false, "ALPHA_INPUT_PROMPT", "alpha_shift_button"},
        {3, false, "ALPHA_OUTPUT_TEXT_LABEL", "alpha_shift_button"},
        {4, true, "ALPHA_OUTPUT_TEXT", "dot_alpha_shift_button"},
        {5, false, "ALPHA_INPUT_PROMPT", "alpha_shift_button"},
        {6, false, "ALPHA_MENU_ITEM", "alpha_shift_button"},
        {7, false, "ALPHA_MENU_TITLE", "alpha_shift_button"},
        {8, false, "ALPHA_CONSTANT_NAME", "alpha_shift_button"},
        {9, true, "ALPHA_CONSTANT_UNIT", "dot_alpha_shift_button"},
    };
    const int b = g_settings.brightness;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.kind);
        g_alpha = AlphaEntry{true, r.kind, r.shift, {}, {}};
        Surface s(SCREEN_WIDTH, SCREEN_HEIGHT, COLOUR_BLACK);
        paint_alpha_keyboard(s);
        Surface expected(SCREEN_WIDTH, SCREEN_HEIGHT, COLOUR_BLACK);
        ASSERT_EQ(draw_gif(expected, "ALPHA_ENTRY_GIF", 3, 55, false, b), PIC_OK);
        ASSERT_EQ(draw_gif(expected, r.shift_picture, 185, 152, false, b), PIC_OK);
        ASSERT_EQ(draw_gif(expected, r.prompt, 13, 65, false, b), PIC_OK);
        EXPECT_TRUE(same_area(s, expected, 0, 0, 239, 319));
    }
    // Hidden: the face is left alone.
    g_alpha.shown = false;
    Surface s(SCREEN_WIDTH, SCREEN_HEIGHT, COLOUR_BLACK);
    paint_alpha_keyboard(s);
    EXPECT_TRUE(same_area(s, Surface(SCREEN_WIDTH, SCREEN_HEIGHT, COLOUR_BLACK), 0, 0, 239, 319));
}

TEST_F(AlphaEntryTest, KindWithoutPromptIsReported) {
    g_alpha = AlphaEntry{true, 12, false, {}, {}};
    window_log.clear();
    Surface s(SCREEN_WIDTH, SCREEN_HEIGHT, COLOUR_BLACK);
    paint_alpha_keyboard(s);
    ASSERT_FALSE(window_log.empty());
    EXPECT_EQ(window_log.back(), "box Bitmap error: No prompt defined for alpha entry -> OK");
}

}  // namespace
}  // namespace qx

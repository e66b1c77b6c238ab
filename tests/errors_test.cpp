// The error record, code texts, bounded copies and the start-up checks.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/functions.h"
#include "tests/helpers.h"

namespace qx::test {
namespace {

std::string g_last_title, g_last_text;
int record_box(const char* text, const char* title, int) {
    g_last_text = text;
    g_last_title = title;
    return 0;
}

class ErrorsTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        g_hooks.message_box = record_box;
        g_last_text.clear();
        g_last_title.clear();
    }
};

TEST_F(ErrorsTest, CodeTexts) {
    const struct { int code; const char* text; } cases[] = {
        {0, "Overflow"}, {1, "Overflow"}, {2, "Division by Zero"}, {5, "Invalid Syntax"},
        {20, "Matrix Not Positive Def."}, {26, "Can't Nest fnInt()"}, {32, "Function Nest Limit"},
        {33, "Unknown Error"}, {-1, "Unknown Error"},
    };
    for (const auto& c : cases) EXPECT_STREQ(error_code_text(c.code), c.text) << c.code;
}

TEST_F(ErrorsTest, FirstErrorWins) {
    raise_error(ERR_DIV_ZERO, "first", "f");
    raise_error(ERR_DOMAIN, "second", "g");
    EXPECT_EQ(error_code(), ERR_DIV_ZERO);
    EXPECT_STREQ(error_text(), "Division by Zero");
    EXPECT_STREQ(error_detail(), "first, f");
}

TEST_F(ErrorsTest, PlotModeErrorShowsItsOwnText) {
    raise_error(ERR_DIV_ZERO, "first", "f");
    clear_error();
    g_settings.calculator_mode = MODE_PLOT;
    raise_error(ERR_DOMAIN, "second", "g");
    EXPECT_TRUE(error_pending());
    EXPECT_EQ(error_code(), ERR_DOMAIN);
    EXPECT_STREQ(error_text(), "Domain Error");
    EXPECT_STREQ(error_detail(), "first, f");   // detail is not formatted while plotting
}

TEST_F(ErrorsTest, BoundedCopyRefusesWhatDoesNotFit) {
    char field[TEXT_SIZE];
    std::string full(120, 'x');
    EXPECT_FALSE(copy_bounded(field, full.c_str(), sizeof field));
    EXPECT_STREQ(field, "");
    EXPECT_EQ(g_last_title, "strcpy problem");
    EXPECT_EQ(g_last_text, "Dest length is shorter than source length (120 <= 120)");
    EXPECT_TRUE(copy_bounded(field, full.c_str() + 1, sizeof field));
    EXPECT_EQ(std::strlen(field), 119u);

    char tiny[4] = "abc";
    EXPECT_FALSE(copy_bounded(tiny, "x", 0));   // size 0 writes nothing
    EXPECT_STREQ(tiny, "abc");

    char buf[8] = "abc";
    EXPECT_TRUE(append_bounded(buf, "defg", sizeof buf));
    EXPECT_STREQ(buf, "abcdefg");
    EXPECT_FALSE(append_bounded(buf, "h", sizeof buf));
    EXPECT_STREQ(buf, "");
    EXPECT_EQ(g_last_title, "strcat problem");
    EXPECT_FALSE(append_bounded(buf, "h", 0));
}

TEST_F(ErrorsTest, MessageBoxWithoutWindowDoesNothing) {
    g_hooks.message_box = nullptr;
    EXPECT_EQ(message_box("text", "title", MB_STYLE_OK), 0);
}

TEST_F(ErrorsTest, CancelCheckWatchesTapsThenCancelMode) {
    static int taps, cancels;
    taps = cancels = 0;
    g_hooks.poll_key_tap = [] { ++taps; return false; };
    g_hooks.poll_cancel_mode = [] { ++cancels; return true; };
    reset_cancel_check();
    for (int k = 0; k < 10; ++k) EXPECT_FALSE(cancel_check());
    EXPECT_TRUE(cancel_check());
    EXPECT_EQ(taps, 10);
    EXPECT_EQ(cancels, 1);
    EXPECT_EQ(error_code(), ERR_CANCELED);
}

TEST_F(ErrorsTest, SignatureTableIsConsistent) {
    EXPECT_EQ(signature_count(), 131);
    EXPECT_TRUE(check_function_signatures());
    EXPECT_TRUE(g_last_title.empty());
    for (int id = 0; id < OPERATOR_COUNT; ++id) {
        int kind = operator_info(id).kind;
        bool fn = kind == KIND_MULTI_FUNCTION || kind == KIND_FUNCTION || kind == KIND_VAR_FUNCTION;
        EXPECT_EQ(find_signature(id) != nullptr, fn) << id;
    }
}

}  // namespace
}  // namespace qx::test

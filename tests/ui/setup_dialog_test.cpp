// "Setup Options", "Select Color", the About box and "Select Sample Plot",
// answered the way scripts answer them.  Boxes opened from a dialog take
// the answers queued after the one that pressed their button.
#include "calculator_fixture.h"
#include "frame_text.h"

#include <algorithm>
#include <cstdio>

#include "dialogs/sample_chooser.h"
#include "dialogs/setup.h"
#include "panel/key_decoder.h"
#include "panel/persist_panel.h"
#include "platform/font.h"
#include "platform/widgets.h"

namespace qx {
namespace {

using Fields = std::vector<std::pair<std::string, std::string>>;

int g_saves, g_loads, g_helps;
bool g_load_succeeds;

void count_save() { ++g_saves; }
bool count_load() {
    ++g_loads;
    // A loaded file brings settings of its own.
    if (g_load_succeeds) g_settings.number_format = FMT_SCI;
    return g_load_succeeds;
}
void count_help() { ++g_helps; }

const SetupActions kActions{count_save, count_load, count_help};

class SetupDialog : public CalculatorFixture {
protected:
    // Every test starts from the defaults, whatever an earlier one left.
    void prepare() override { std::remove(startup_settings_path().c_str()); }

    void answer(const std::string& button, const Fields& fields = {}) { window.push_answer({button, fields}); }
    // The frame of the dialog the next answer goes to, as that answer left it.
    void answer_shown(const std::string& button, const Fields& fields, Surface& shown) {
        ScriptedAnswer a{button, fields};
        a.on_shown = [&shown](const Surface& f) { shown = f; };
        window.push_answer(a);
    }
    int run() {
        g_saves = g_loads = g_helps = 0;
        return setup_options_dialog(kActions);
    }
};

struct OkCase {
    Fields fields;
    int format, digits, mark, complex, click;
};

TEST_F(SetupDialog, OkAppliesEachField) {
    const OkCase cases[] = {
        {{{"Fixed", "1"}}, FMT_FIXED, 4, 0, CPLX_REAL, 0},
        {{{"Scientific", "1"}, {"Decimal Digits", "0"}}, FMT_SCI, 0, 0, CPLX_REAL, 0},
        {{{"Engineering", "1"}, {"Decimal Digits", "10"}, {"Decimal Mark", "Comma(,)"}},
         FMT_ENG, 10, 1, CPLX_REAL, 0},
        {{{"Complex Format", "a+bi (rectangular)"}, {"Key Click?", "1"}}, FMT_FLOAT, 4, 0, CPLX_RECT, 1},
        {{{"Complex Format", "#2"}, {"Decimal Mark", "Dot(.)"}, {"Float", "1"}}, FMT_FLOAT, 4, 0, CPLX_POLAR, 0},
    };
    for (const OkCase& c : cases) {
        SCOPED_TRACE(c.fields.front().first);
        reset_settings();
        editing_constants = true;
        answer("OK", c.fields);
        EXPECT_EQ(run(), SETUP_OK);
        EXPECT_EQ(g_settings.number_format, c.format);
        EXPECT_EQ(g_settings.decimal_digits, c.digits);
        EXPECT_EQ(g_settings.decimal_mark, c.mark);
        EXPECT_EQ(g_settings.complex_format, c.complex);
        EXPECT_EQ(g_settings.key_click, c.click);
        EXPECT_FALSE(editing_constants);
    }
    EXPECT_FALSE(logged("no control"));
    EXPECT_FALSE(logged("bad value"));
}

TEST_F(SetupDialog, CancelAppliesNone) {
    const Settings before = g_settings;
    answer("Cancel", {{"Engineering", "1"}, {"Decimal Digits", "7"}, {"Decimal Mark", "Comma(,)"},
                      {"Complex Format", "#1"}, {"Key Click?", "1"}});
    EXPECT_EQ(run(), SETUP_CANCEL);
    EXPECT_EQ(g_settings.number_format, before.number_format);
    EXPECT_EQ(g_settings.decimal_digits, before.decimal_digits);
    EXPECT_EQ(g_settings.decimal_mark, before.decimal_mark);
    EXPECT_EQ(g_settings.complex_format, before.complex_format);
    EXPECT_EQ(g_settings.key_click, before.key_click);
}

TEST_F(SetupDialog, ColourReachesTheSettingsOnlyThroughSetupOk) {
    // 16 + 256 * 32 + 65536 * 48 = 3153936 = 0x302010.
    const Fields picked{{"Red", "16"}, {"Green", "32"}, {"Blue", "48"}, {"Brightness", "200"}};
    answer("Display Color");
    answer("OK", picked);
    answer("Cancel");
    EXPECT_EQ(run(), SETUP_CANCEL);
    EXPECT_EQ(g_settings.display_color, 0xFFFFFFu);
    EXPECT_EQ(g_settings.brightness, 172);

    answer("Display Color");
    answer("OK", picked);
    answer("OK");
    EXPECT_EQ(run(), SETUP_OK);
    EXPECT_EQ(g_settings.display_color, 3153936u);
    EXPECT_EQ(g_settings.brightness, 200);
    EXPECT_TRUE(logged("dialog Select Color -> OK"));
}

TEST_F(SetupDialog, SelectColorCancelRestoresTheWorkingCopies) {
    colour_edit = 0x0A0B0C;
    brightness_edit = 99;
    Surface shown;
    answer_shown("Cancel", {{"Red", "1"}, {"Green", "2"}, {"Blue", "3"}, {"Brightness", "4"}}, shown);
    EXPECT_EQ(select_color_dialog(), ID_CANCEL);
    EXPECT_EQ(colour_edit, 0x0A0B0C);
    EXPECT_EQ(brightness_edit, 99);

    // The preview showed the colour the sliders made, 151 x 54 pixels of it
    // less the sample text, centred on x = 93 of the preview's dialog.
    const Colour c = rgb(1, 2, 3);
    int left = shown.width(), right = -1, top = shown.height(), bottom = -1, count = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            if (shown.get(x, y) == c) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
                ++count;
            }
    ASSERT_EQ(right - left + 1, 151);
    ASSERT_EQ(bottom - top + 1, 54);
    int ink_left = right, ink_right = left;
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            if (shown.get(x, y) == COLOUR_TEXT) {
                ink_left = std::min(ink_left, x);
                ink_right = std::max(ink_right, x);
            }
    EXPECT_GT(count, 151 * 54 - 400);
    EXPECT_NEAR((ink_left + ink_right) / 2.0 - left, 93 - 18, 1.0);
    EXPECT_TRUE(shows_text(shown, "Sample Text"));

    // OK takes the sliders; the brightness slider alone leaves the colour.
    answer("OK", {{"Brightness", "255"}});
    EXPECT_EQ(select_color_dialog(), ID_OK);
    EXPECT_EQ(colour_edit, 0x0A0B0C);
    EXPECT_EQ(brightness_edit, 255);
}

TEST_F(SetupDialog, StateButtonsAndWhatTheyLeaveOpen) {
    answer("Save State");
    answer("OK");
    EXPECT_EQ(run(), SETUP_OK);
    EXPECT_EQ(g_saves, 1);

    // A load that did not happen leaves the dialog open for the next answer.
    g_load_succeeds = false;
    answer("Load State");
    answer("Cancel");
    EXPECT_EQ(run(), SETUP_CANCEL);
    EXPECT_EQ(g_loads, 1);

    // One that did ends it; the file's settings stand, not the controls'.
    g_load_succeeds = true;
    answer("Load State", {{"Engineering", "1"}});
    answer("Cancel");
    EXPECT_EQ(run(), SETUP_LOAD_STATE);
    EXPECT_EQ(g_loads, 1);
    EXPECT_EQ(g_settings.number_format, FMT_SCI);
    EXPECT_EQ(window.answers_pending(), 1u);
    ScriptedAnswer unused;
    window.next_answer(unused);
    EXPECT_FALSE(editing_constants);

    answer("Edit Constants", {{"Fixed", "1"}});
    EXPECT_EQ(run(), SETUP_EDIT_CONSTANTS);
    EXPECT_TRUE(editing_constants);
    EXPECT_EQ(g_settings.number_format, FMT_SCI);

    answer("About");
    answer("OK");
    answer("Help");
    answer("OK");
    EXPECT_EQ(run(), SETUP_OK);
    EXPECT_EQ(g_helps, 1);
    EXPECT_FALSE(editing_constants);
    EXPECT_TRUE(logged("dialog About Quorix -> OK"));
}

TEST_F(SetupDialog, WhatTheDialogsShow) {
    Surface shown;
    answer_shown("OK", {}, shown);
    about_box();
    EXPECT_TRUE(shows_text(shown, "Quorix v2.3", TextLook{.bold = true}));
    EXPECT_FALSE(shows_text(shown, "Quorix v2.4", TextLook{.bold = true}));

    g_settings.complex_format = CPLX_POLAR;
    answer_shown("Cancel", {}, shown);
    run();
    EXPECT_TRUE(shows_text(shown, std::string("re^(") + '\x97' + "i) (polar)"));
    EXPECT_TRUE(shows_text(shown, "Complex Format:"));
}

TEST_F(SetupDialog, EngineeringFormatReachesTheResultLine) {
    type("12346=");
    ASSERT_EQ(result(), "12346");
    answer("OK", {{"Engineering", "1"}, {"Decimal Digits", "3"}});
    select_mode_button(5);
    EXPECT_EQ(result(), "12.35E3");
}

TEST(SampleChooser, PointsChooseByRectangle) {
    // Corners of every rectangle (inclusive), then the gaps between them.
    const struct { int x, y, sample; } cases[] = {
        {5, 5, 0},     {100, 82, 0},   {103, 5, 1},    {198, 82, 1},   {5, 85, 2},     {100, 162, 2},
        {103, 85, 3},  {198, 162, 3},  {150, 120, 3},  {5, 165, 4},    {100, 242, 4},  {103, 165, 5},
        {198, 242, 5}, {101, 50, -1},  {102, 50, -1},  {50, 83, -1},   {50, 84, -1},   {50, 163, -1},
        {4, 50, -1},   {199, 50, -1},  {50, 243, -1},  {50, 4, -1},    {-1, -1, -1},   {101, 83, -1},
    };
    for (const auto& c : cases) EXPECT_EQ(sample_at(c.x, c.y), c.sample) << c.x << "," << c.y;
}

TEST_F(SetupDialog, SampleChooserAnswers) {
    const struct {
        const char* button;
        Fields fields;
        int sample;
    } cases[] = {
        {"OK", {{"sample", "3D Cartesian"}}, 3},
        {"OK", {{"sample", " polar "}}, 1},
        {"", {{"Sample", "3D SPHERICAL"}}, 5},
        {"OK", {{"sample", "Spiral"}}, -1},
        {"OK", {{"x", "150"}, {"y", "120"}}, 3},
        {"OK", {{"x", "20"}, {"y", "200"}}, 4},
        {"OK", {{"x", "101"}, {"y", "50"}}, -1},
        {"Cancel", {{"sample", "Function"}}, -1},
        {"OK", {}, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fields.empty() ? "none" : c.fields.front().second);
        const std::uint32_t before = window.ticks_ms();
        answer(c.button, c.fields);
        EXPECT_EQ(select_sample_plot_dialog(), c.sample);
        // A tap waits a moment so the choice can be seen.
        if (c.fields.size() == 2) {
            EXPECT_GE(window.ticks_ms() - before, 100u);
        }
    }
    EXPECT_TRUE(logged("dialog Select Sample Plot -> 3D Cartesian"));
    EXPECT_TRUE(logged("no sample \"Spiral\""));
}

}  // namespace
}  // namespace qx

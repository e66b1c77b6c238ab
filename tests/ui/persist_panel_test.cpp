// Keeping the user's work from the face: state files saved and loaded
// through Setup Options and its file dialog, refusals that change nothing,
// a failed save that keeps the old file, the sample plots, and the
// start-up settings across a restart.
#include "calculator_fixture.h"

#include <sys/stat.h>

#include "dialogs/setup.h"
#include "panel/persist_panel.h"
#include "persist/state.h"

namespace qx {
namespace {

class PersistPanel : public CalculatorFixture {
protected:
    std::string path(const std::string& name) const {
        return join_path(user_subfolder(UserFolder::Data, "states"), name);
    }
    static std::string read(const std::string& p) {
        std::string bytes;
        read_file(p, bytes, STATE_FILE_LIMIT);
        return bytes;
    }
    void setup(std::initializer_list<ScriptedAnswer> answers) {
        for (const ScriptedAnswer& a : answers) window.push_answer(a);
        select_mode_button(5);
    }
};

TEST_F(PersistPanel, SaveStateFromSetupThenLoadItBack) {
    remove_file(path("work.state"));
    type("12*3=");
    g_memory[5] = {1.5, 0.0};
    g_memory[12] = {1.0, 2.0};
    // Save State keeps Setup Options open; Cancel then leaves it.
    setup({{"Save State"}, {"OK", {{"file", "work"}}}, {"Cancel"}});
    const std::string saved = read(path("work.state"));
    ASSERT_FALSE(saved.empty());
    EXPECT_NE(saved.find("R: 5:1.5\r\n"), std::string::npos);
    EXPECT_NE(saved.find("R: 12:1.0\r\nI: 12:2.0\r\n"), std::string::npos);

    g_memory[5] = {7.0, 0.0};
    clear_line();
    setup({{"Load State"}, {"OK", {{"file", "work.state"}}}});
    EXPECT_EQ(g_memory[5].re, 1.5);
    EXPECT_EQ(g_memory[12].im, 2.0);
    EXPECT_EQ(g_history_count, 1);
    EXPECT_EQ(result(), "36");
    // Load State ended the dialog: no answer is left waiting.
    EXPECT_FALSE(logged("no button"));
}

TEST_F(PersistPanel, RefusedFilesChangeNothingAndSaySo) {
    const char* const kFiles[] = {
        "M: 0:30:30:1.0\r\n", "L: 0:9:1,0,\r\n", "R: 5000:3\r\n", "O: 6:nan\r\n", "",
        "\x89PNG\r\n\x1a\n\0\0\0\rIHDR",
    };
    g_memory[3] = {4.0, 0.0};
    type("1+2=");
    const std::string before = save_state_text();
    for (const char* text : kFiles) {
        SCOPED_TRACE(text);
        const std::string p = path("bad.state");
        ASSERT_TRUE(replace_file(p, text));
        log.clear();
        window.push_answer({"OK"});
        EXPECT_FALSE(load_state_file(p));
        EXPECT_TRUE(logged("Nothing was changed")) << "the user is told";
        EXPECT_EQ(save_state_text(), before);
    }
}

TEST_F(PersistPanel, AFailedSaveKeepsThePreviousFileByteForByte) {
    const std::string p = path("kept.state");
    g_memory[1] = {2.0, 0.0};
    ASSERT_TRUE(save_state_file(p));
    const std::string old = read(p);
    g_memory[1] = {3.0, 0.0};
    // The temporary file cannot be made: the write fails before the rename,
    // as when the calculator dies in the middle of a save.
    const std::string blocker = p + ".tmp-" + std::to_string(getpid());
    ASSERT_EQ(mkdir(blocker.c_str(), 0755), 0);
    log.clear();
    window.push_answer({"OK"});
    EXPECT_FALSE(save_state_file(p));
    rmdir(blocker.c_str());
    EXPECT_TRUE(logged("The previous file is unchanged"));
    EXPECT_EQ(read(p), old);
}

TEST_F(PersistPanel, NamesGetTheExtensionAndOverlongPathsAreRefused) {
    const std::string p = path("plain");
    remove_file(p + ".state");
    ASSERT_TRUE(save_state_file(p));
    EXPECT_TRUE(file_exists(p + ".state"));
    const std::string longer = path(std::string(300, 'a'));
    window.push_answer({"OK"});
    EXPECT_FALSE(save_state_file(longer));
    EXPECT_FALSE(file_exists(longer + ".state"));
    EXPECT_FALSE(file_exists(longer.substr(0, 259)));
}

TEST_F(PersistPanel, SamplePlotsComeUpInPlotMode) {
    struct Case {
        const char* name;
        int type, coordinates, functions;
    };
    const Case kCases[] = {
        {"Function", PLOT_FUNCTION, -1, 6}, {"Polar", PLOT_POLAR, -1, 4},
        {"Parametric", PLOT_PARAMETRIC, -1, 4}, {"3D Cartesian", PLOT_3D, COORD_CARTESIAN, 3},
        {"3D Cylindrical", PLOT_3D, COORD_CYLINDRICAL, 3}, {"3D Spherical", PLOT_3D, COORD_SPHERICAL, 3},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        enter_mode(MODE_STATS);
        window.push_answer({"OK", {{"sample", c.name}}});
        g_panel.plot_samples_dialog();
        EXPECT_EQ(g_settings.calculator_mode, MODE_PLOT);
        EXPECT_EQ(g_plot.type, c.type);
        if (c.coordinates >= 0) {
            EXPECT_EQ(g_plot.coordinates, c.coordinates);
        }
        int defined = 0;
        for (int k = 0; k < PLOT_SLOTS; ++k) defined += slot_defined(c.type, k);
        EXPECT_EQ(defined, c.functions);
    }
    // The polar sample turns once in its own angle unit.
    window.push_answer({"OK", {{"sample", "Polar"}}});
    g_panel.plot_samples_dialog();
    EXPECT_EQ(g_settings.angle_unit, ANGLE_RAD);
    EXPECT_NEAR(g_plot.tmax - g_plot.tmin, 6.2832, 1e-9);
    // Nothing chosen: nothing loaded.
    g_plot.xmin = -3.0;
    window.push_answer({"Cancel"});
    g_panel.plot_samples_dialog();
    EXPECT_EQ(g_plot.xmin, -3.0);
}

TEST_F(PersistPanel, EngineeringWithThreeDigitsShowsOnTheAnswer) {
    type("12346=");
    setup({{"OK", {{"Engineering", "1"}, {"Decimal Digits", "3"}}}});
    EXPECT_EQ(g_settings.number_format, FMT_ENG);
    EXPECT_EQ(g_settings.decimal_digits, 3);
    EXPECT_EQ(result(), "12.35E3");
}

TEST_F(PersistPanel, AColourChosenThenSetupCancelledChangesNothing) {
    const std::uint32_t colour = g_settings.display_color;
    setup({{"Display Color"}, {"OK", {{"Red", "10"}, {"Green", "20"}, {"Blue", "30"}}}, {"Cancel"}});
    EXPECT_EQ(g_settings.display_color, colour);
    setup({{"Display Color"}, {"OK", {{"Red", "10"}, {"Green", "20"}, {"Blue", "30"}}}, {"OK"}});
    EXPECT_EQ(g_settings.display_color, 10u + 20u * 256 + 30u * 65536);
}

TEST_F(PersistPanel, SettingsChangedByKeysComeBackAtTheNextStart) {
    // A first start: nothing kept yet.
    EXPECT_EQ(g_settings.calculator_mode, MODE_COMP);
    EXPECT_EQ(g_settings.angle_unit, ANGLE_RAD);
    EXPECT_EQ(g_settings.number_format, FMT_FLOAT);
    EXPECT_EQ(g_settings.base_bits, BITS_16);
    EXPECT_EQ(g_settings.base_mode, RADIX_DEC);
    g_settings.angle_unit = ANGLE_GRAD;
    enter_mode(MODE_BASE_N);
    g_settings.base_mode = RADIX_HEX;
    g_settings.base_bits = BITS_32;
    calculator_shutdown();
    reset_settings();
    calculator_startup(window);
    EXPECT_EQ(g_settings.angle_unit, ANGLE_GRAD);
    EXPECT_EQ(g_settings.calculator_mode, MODE_BASE_N);
    EXPECT_EQ(g_settings.base_mode, RADIX_HEX);
    EXPECT_EQ(g_settings.base_bits, BITS_32);
}

TEST_F(PersistPanel, AGarbledSettingsFileStartsWithDefaults) {
    calculator_shutdown();
    ASSERT_TRUE(replace_file(startup_settings_path(),
                             "precision=12\nangle_unit=degree\ndisplay_color=-1\nbrightness=999\n\xff\xfe"));
    reset_settings();
    calculator_startup(window);
    EXPECT_EQ(g_settings.decimal_digits, 4);
    EXPECT_EQ(g_settings.angle_unit, ANGLE_RAD);
    EXPECT_EQ(g_settings.display_color, 0xFFFFFFu);
    EXPECT_EQ(g_settings.brightness, 255);
}

}  // namespace
}  // namespace qx

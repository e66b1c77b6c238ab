#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <string>

#include "engine/hooks.h"
#include "engine/settings.h"
#include "panel/images.h"
#include "panel/key_layout.h"
#include "panel/legend_names.h"
#include "panel/resources.h"
#include "platform/font.h"

namespace qx {
namespace {

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

Surface legend(const std::string& name) {
    const ResourceEntry* e = find_resource(name.c_str(), RES_LEGEND);
    Surface s;
    if (e) decode_bmp(e->data, e->size, s);
    return s;
}

bool small_readout(const std::string& name) { return name.rfind("SMALL_", 0) == 0; }
bool not_a_display_legend(const std::string& name) {
    static const char* const kOthers[] = {"BLUE_BOX", "RED_BOX", "GREEN_BOX", "PURPLE_BOX",
                                          "ORANGE_BOX", "TEAL_BOX", "GREEN_TRACE_LED",
                                          "GREY_TRACE_LED", "CHECKERED_BRUSH", "LEFT_ARROW",
                                          "RIGHT_ARROW", "UP_ARROW", "DOWN_ARROW",
                                          "LOWER_LEFT_BUTTON", "LOWER_RIGHT_BUTTON"};
    std::string upper = name;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (small_readout(upper)) return true;
    for (const char* o : kOthers)
        if (upper == o) return true;
    return false;
}

TEST(Resources, EveryPictureTheDrawingCodeNamesIsThereAndDecodes) {
    for (const std::string& name : all_picture_names()) {
        // Lookup ignores case: the drawing code asks for "calculator_gif".
        const ResourceEntry* e = find_resource(lower(name).c_str(), RES_PICTURE);
        ASSERT_NE(e, nullptr) << name;
        int w = 0, h = 0;
        ASSERT_TRUE(gif_size(e->data, e->size, &w, &h)) << name;
        EXPECT_LE(w, 240) << name;
        Surface s(240, 320);
        EXPECT_EQ(decode_gif(s, e->data, e->size, 0, 0, true, 172), PIC_OK) << name;
    }
}

TEST(Resources, PicturesHaveTheSizesOfThePlacesTheyAreDrawnAt) {
    const KeyRect small = key_rect(FACE_MAIN, 0), big = key_rect(FACE_MAIN, 27),
                  mode = key_rect(FACE_MAIN, 43);
    const int sw = small.right - small.left + 1, sh = small.bottom - small.top + 1;
    const int bw = big.right - big.left + 1, bh = big.bottom - big.top + 1;
    const int mw = mode.right - mode.left + 1, mh = mode.bottom - mode.top + 1;
    const std::map<std::string, std::pair<int, int>> sizes = {
        {"CALCULATOR_GIF", {240, 320}}, {"BASE_CALCULATOR_GIF", {240, 320}},
        {"STAT_CALCULATOR_GIF", {240, 320}}, {"PROG_CALCULATOR_GIF", {240, 320}},
        {"PLOT_CALCULATOR_FUNCTION_GIF", {240, 320}}, {"PLOT_CALCULATOR_3D_GIF", {240, 320}},
        {"PERIODIC_GIF", {240, 320}}, {"MATRIX_GIF", {240, 320}}, {"LIST_GIF", {240, 320}},
        {"BACKGROUND_GIF", {240, 320}}, {"SMALL_BUTTON_GIF", {sw, sh}},
        {"SMALL_LIGHT_BUTTON_GIF", {sw, sh}}, {"RUN_BUTTON_GIF", {sw, sh}},
        {"BLUE_DOT_BUTTON_GIF", {sw, sh}}, {"RAD_GIF", {sw, sh}}, {"16_BIT_GIF", {sw, sh}},
        {"AC_BUTTON_GIF", {bw, bh}}, {"RED_AC_BUTTON_GIF", {bw, bh}},
        {"STATS_BUTTON_GIF", {bw, bh}}, {"COMMA_BUTTON_GIF", {bw, bh}},
        {"ENUN_COMP", {mw, mh}}, {"ENUN_LIST_DARK", {mw, mh}},
        {"ALPHA_SHIFT_BUTTON", {sw, sh}},
    };
    for (const auto& [name, size] : sizes) {
        int w = 0, h = 0;
        ASSERT_TRUE(picture_size(name.c_str(), &w, &h)) << name;
        EXPECT_EQ(w, size.first) << name;
        EXPECT_EQ(h, size.second) << name;
    }
}

TEST(Resources, EveryLegendTheDrawingCodeNamesIsThere) {
    for (const std::string& name : all_legend_names()) {
        Surface s = legend(lower(name));
        ASSERT_FALSE(s.empty()) << name;
        if (small_readout(name)) {
            EXPECT_LE(s.height(), 8) << name;
        } else if (!not_a_display_legend(name)) {
            EXPECT_EQ(s.height(), 16) << name;
            // Display legends are black on white only: white turns into the
            // display colour and the cursor inverts them.
            for (int y = 0; y < s.height(); ++y)
                for (int x = 0; x < s.width(); ++x) {
                    const Colour c = s.get(x, y);
                    ASSERT_TRUE(c == COLOUR_WHITE || c == COLOUR_BLACK) << name << " at " << x << "," << y;
                }
        }
    }
}

TEST(Resources, EveryDisplayCharacterHasANarrowLegend) {
    int widest = 0;
    for (int c = 1; c < 256; ++c) {
        const unsigned char ch = static_cast<unsigned char>(c);
        if (!font_has_char(FONT_DISPLAY, ch)) continue;
        ASSERT_TRUE(char_has_legend(ch)) << c;
        Surface s = legend(char_legend(ch));
        ASSERT_FALSE(s.empty()) << c;
        widest = std::max(widest, s.width());
    }
    // A 22-character program name and the cursor fit on the display line.
    EXPECT_LE(22 * widest + legend("underline").width(), 182);
}

TEST(Resources, LegendsAreDrawnPlainInvertedOrOverTheDisplayColour) {
    reset_hooks();
    reset_legend_caches();
    const Surface glyph = legend("U_ASCII_65");
    ASSERT_FALSE(glyph.empty());
    const std::uint32_t saved = g_settings.display_color;
    struct Case { Colour display; bool inverted; };
    for (const Case c : {Case{COLOUR_WHITE, false}, Case{rgb(200, 230, 200), false},
                         Case{COLOUR_WHITE, true}}) {
        g_settings.display_color = c.display;
        Surface s(40, 20, c.display);
        EXPECT_EQ(draw_legend(s, "u_ascii_65", 3, 2, c.inverted), glyph.width());
        for (int y = 0; y < glyph.height(); ++y)
            for (int x = 0; x < glyph.width(); ++x) {
                const Colour g = glyph.get(x, y);
                const Colour want = c.inverted ? (g == COLOUR_WHITE ? COLOUR_BLACK : COLOUR_WHITE)
                                               : (g == COLOUR_WHITE ? c.display : g);
                ASSERT_EQ(s.get(x + 3, y + 2), want);
            }
    }
    g_settings.display_color = saved;
    EXPECT_EQ(legend_width("U_ASCII_65"), glyph.width());
    EXPECT_EQ(legend_width("u_ascii_65"), glyph.width());
}

}  // namespace
}  // namespace qx

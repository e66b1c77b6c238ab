// The legends as the display sees them: read back from the compiled resource
// table and laid side by side the way the input and result lines are.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "panel/images.h"
#include "panel/legend_names.h"
#include "panel/resources.h"
#include "platform/font.h"

namespace qx {
namespace {

Surface legend_surface(const char* name) {
    const ResourceEntry* e = find_resource(name, RES_LEGEND);
    Surface s;
    if (e) decode_bmp(e->data, e->size, s);
    return s;
}

struct Ink {
    int left = -1, top = -1, right = -1, bottom = -1;
    bool empty() const { return right < 0; }
};

Ink ink_of(const Surface& s) {
    Ink k;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) {
            if (s.get(x, y) == COLOUR_WHITE) continue;
            if (k.empty()) {
                k = {x, y, x, y};
                continue;
            }
            k.left = std::min(k.left, x);
            k.right = std::max(k.right, x);
            k.top = std::min(k.top, y);
            k.bottom = std::max(k.bottom, y);
        }
    return k;
}

// The legends of a line, placed left to right from x = 0 on an 18-pixel strip.
int line_width(std::initializer_list<const char*> names) {
    int w = 0;
    for (const char* n : names) {
        const Surface s = legend_surface(n);
        EXPECT_FALSE(s.empty()) << n;
        w += s.width();
    }
    return w;
}

TEST(Legends, NumbersShareTheBaselineOfTheDisplayFont) {
    const Ink capital = ink_of(legend_surface("U_ASCII_72"));   // H
    ASSERT_FALSE(capital.empty());
    int width = -1;
    for (const char* d : {"0_dig", "1_dig", "2_dig", "3_dig", "4_dig", "5_dig", "6_dig", "7_dig",
                          "8_dig", "9_dig", "hex_A", "hex_F", "decimal"}) {
        const Surface s = legend_surface(d);
        ASSERT_FALSE(s.empty()) << d;
        EXPECT_EQ(ink_of(s).bottom, capital.bottom) << d;
        EXPECT_LE(s.width(), 7) << d;
        if (std::string(d).find("_dig") != std::string::npos) {
            // Columns of results line up only if every digit is as wide.
            if (width < 0) width = s.width();
            EXPECT_EQ(s.width(), width) << d;
        }
    }
}

TEST(Legends, NegationIsShorterAndHigherThanSubtraction) {
    const Ink neg = ink_of(legend_surface("neg"));
    const Ink minus = ink_of(legend_surface("minus"));
    ASSERT_FALSE(neg.empty());
    ASSERT_FALSE(minus.empty());
    EXPECT_LT(neg.right - neg.left, minus.right - minus.left);
    EXPECT_LT(neg.bottom, minus.top);
}

TEST(Legends, HexadecimalDigitsDifferFromLetters) {
    for (char c = 'A'; c <= 'F'; ++c) {
        const std::string hex = std::string("hex_") + c;
        const Surface digit = legend_surface(hex.c_str());
        const Surface letter = legend_surface(char_legend(static_cast<unsigned char>(c)));
        ASSERT_FALSE(digit.empty());
        ASSERT_FALSE(letter.empty());
        bool differ = digit.width() != letter.width();
        for (int y = 0; y < 16 && !differ; ++y)
            for (int x = 0; x < digit.width() && !differ; ++x)
                differ = digit.get(x, y) != letter.get(x, y);
        EXPECT_TRUE(differ) << hex;
    }
}

TEST(Legends, TokenLegendsEndWithOneClearColumn) {
    for (const char* n : {"pluss", "minus", "multiply", "divide", "sin", "asin", "square_root",
                          "cube_root", "INTEGRAL", "SUMMATION", "pi", "mean_x", "std_dev-1_x",
                          "sum2_y", "squared", "invert", "e_constant", "Exp", "neg"}) {
        const Surface s = legend_surface(n);
        ASSERT_FALSE(s.empty()) << n;
        const Ink k = ink_of(s);
        EXPECT_EQ(k.right, s.width() - 2) << n;
        EXPECT_EQ(s.height(), 16) << n;
    }
}

TEST(Legends, TheCursorMarkSitsUnderTheBaseline) {
    const Surface s = legend_surface("underline");
    const Ink k = ink_of(s);
    const Ink capital = ink_of(legend_surface("U_ASCII_72"));
    ASSERT_FALSE(k.empty());
    EXPECT_EQ(k.bottom - k.top, 1);   // two pixels thick
    EXPECT_GT(k.top, capital.bottom);
    EXPECT_GE(k.right - k.left + 1, 5);
    EXPECT_LE(k.right - k.left + 1, 7);
}

TEST(Legends, TypicalLinesFitTheDisplay) {
    // sin⁻¹(0.5)+√(2)×π
    EXPECT_LE(line_width({"asin", "U_ASCII_40", "0_dig", "decimal", "5_dig", "end_paren", "pluss",
                          "square_root", "U_ASCII_40", "2_dig", "end_paren", "multiply", "pi"}),
              182 / 2);
    // -1.2345678901E-12, the longest result
    EXPECT_LE(line_width({"neg", "1_dig", "decimal", "2_dig", "3_dig", "4_dig", "5_dig", "6_dig",
                          "7_dig", "8_dig", "9_dig", "0_dig", "1_dig", "2_dig", "3_dig", "4_dig",
                          "Exp", "neg", "1_dig", "2_dig"}),
              182);
    std::vector<const char*> name(22, "U_ASCII_87");   // W, a wide letter
    int w = legend_surface("underline").width();
    for (const char* n : name) w += legend_surface(n).width();
    EXPECT_LE(w, 182);
}

TEST(Legends, ReadOutDigitsAreOneSize) {
    const Surface zero = legend_surface("SMALL_0");
    ASSERT_FALSE(zero.empty());
    EXPECT_LE(zero.height(), 8);
    for (const char* n : {"SMALL_1", "SMALL_2", "SMALL_3", "SMALL_4", "SMALL_5", "SMALL_6",
                          "SMALL_7", "SMALL_8", "SMALL_9", "SMALL_E"}) {
        const Surface s = legend_surface(n);
        EXPECT_EQ(s.width(), zero.width()) << n;
        EXPECT_EQ(s.height(), zero.height()) << n;
    }
    // Labels and values share one baseline.
    EXPECT_EQ(ink_of(legend_surface("SMALL_XMIN")).bottom, ink_of(zero).bottom);
}

TEST(Legends, MarksHaveTheSizesOfTheirPlaces) {
    struct Size { const char* name; int w, h; };
    for (const Size& z : {Size{"left_arrow", 7, 9}, Size{"right_arrow", 7, 9},
                          Size{"LOWER_LEFT_BUTTON", 9, 16}, Size{"LOWER_RIGHT_BUTTON", 9, 16},
                          Size{"up_arrow", 7, 7}, Size{"down_arrow", 7, 7}, Size{"BLUE_BOX", 12, 12},
                          Size{"TEAL_BOX", 12, 12}, Size{"GREEN_TRACE_LED", 6, 4},
                          Size{"GREY_TRACE_LED", 6, 4}, Size{"CHECKERED_BRUSH", 8, 8}}) {
        const Surface s = legend_surface(z.name);
        EXPECT_EQ(s.width(), z.w) << z.name;
        EXPECT_EQ(s.height(), z.h) << z.name;
    }
    const Surface box = legend_surface("GREEN_BOX");
    ASSERT_FALSE(box.empty());
    EXPECT_EQ(box.get(5, 5), rgb(0, 210, 0));
    const Surface brush = legend_surface("CHECKERED_BRUSH");
    ASSERT_FALSE(brush.empty());
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) EXPECT_NE(brush.get(x, y), brush.get((x + 1) % 8, y));
}

}  // namespace
}  // namespace qx

// The bitmap fonts: which characters each has, their metrics, where drawing
// puts the ink (straight and turned), clipping, bold text, and that no two
// glyphs were left as copies of each other.
#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>
#include <vector>

#include "platform/font.h"
#include "platform/surface.h"

namespace qx {
namespace {

const Colour kPaper = rgb(250, 245, 240);
const Colour kInk = rgb(10, 20, 200);

const FontId kFonts[] = {FONT_DISPLAY, FONT_DIALOG, FONT_TINY, FONT_LABEL};

std::vector<unsigned char> span(int first, int last) {
    std::vector<unsigned char> v;
    for (int c = first; c <= last; ++c) v.push_back(static_cast<unsigned char>(c));
    return v;
}

std::vector<unsigned char> join(std::initializer_list<std::vector<unsigned char>> parts) {
    std::vector<unsigned char> v;
    for (const auto& p : parts) v.insert(v.end(), p.begin(), p.end());
    return v;
}

const std::vector<unsigned char> kAscii = span(32, 126);
const std::vector<unsigned char> kGreek = span(0x90, 0xAB);
const std::vector<unsigned char> kSpecials = join({span(0x19, 0x1F), {0x80}});
// Marks of unit texts: superscript three and capital A with ring.
const std::vector<unsigned char> kUnitMarks = {0xAC, 0xAD};
const std::vector<unsigned char> kCodePage = join({kAscii, kSpecials, kGreek, kUnitMarks});

std::string text_of(const std::vector<unsigned char>& codes) {
    return std::string(codes.begin(), codes.end());
}

std::string one(unsigned char c) { return std::string(1, static_cast<char>(c)); }

// The ink of a drawing: every pixel that is no longer paper.
struct Ink {
    std::set<std::pair<int, int>> pixels;
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    bool empty() const { return pixels.empty(); }
};

Ink ink_of(const Surface& s) {
    Ink ink;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            if (s.get(x, y) != kPaper) {
                ink.pixels.insert({x, y});
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
                ink.top = std::min(ink.top, y);
                ink.bottom = std::max(ink.bottom, y);
            }
    return ink;
}

// A character alone, its line box at (0, 0) of a surface just that big.
struct Bitmap {
    int width;
    std::vector<bool> bits;
    bool operator==(const Bitmap& o) const { return width == o.width && bits == o.bits; }
};

Bitmap bitmap_of(FontId font, unsigned char c) {
    const int w = char_width(font, c);
    const int h = font_height(font);
    Surface s(w, h, kPaper);
    draw_text(s, font, one(c).c_str(), 0, 0, kInk);
    Bitmap b{w, {}};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.bits.push_back(s.get(x, y) != kPaper);
    return b;
}

TEST(Font, LineMetrics) {
    struct Case { FontId font; int height, ascent_min, ascent_max; };
    const Case cases[] = {
        {FONT_DISPLAY, 16, 12, 12},
        {FONT_DIALOG, 12, 8, 10},
        {FONT_TINY, 8, 6, 6},
        {FONT_LABEL, 16, 11, 13},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.font);
        EXPECT_EQ(font_height(c.font), c.height);
        EXPECT_GE(font_ascent(c.font), c.ascent_min);
        EXPECT_LE(font_ascent(c.font), c.ascent_max);
    }
}

TEST(Font, EveryFontHasTheCharactersItPromises) {
    struct Case { FontId font; std::vector<unsigned char> required; };
    const Case cases[] = {
        {FONT_DISPLAY, kCodePage},
        {FONT_DIALOG, kCodePage},
        {FONT_TINY, join({kAscii, kGreek, kUnitMarks, {0x1B, 0x1C, 0x80}})},
        {FONT_LABEL, join({kAscii, kGreek, kUnitMarks, {0x1C}})},
    };
    for (const Case& c : cases) {
        for (unsigned char ch : c.required) {
            SCOPED_TRACE(testing::Message() << "font " << c.font << " char 0x" << std::hex
                                            << int(ch));
            EXPECT_TRUE(font_has_char(c.font, ch));
            EXPECT_GT(char_width(c.font, ch), 0);
        }
    }
}

TEST(Font, CodesOutsideTheCodePageHaveNoGlyph) {
    const std::set<unsigned char> page(kCodePage.begin(), kCodePage.end());
    for (FontId font : kFonts) {
        for (int ch = 0; ch < 256; ++ch) {
            if (page.count(static_cast<unsigned char>(ch))) continue;
            SCOPED_TRACE(testing::Message() << "font " << font << " char 0x" << std::hex << ch);
            EXPECT_FALSE(font_has_char(font, static_cast<unsigned char>(ch)));
            EXPECT_EQ(char_width(font, static_cast<unsigned char>(ch)), 0);
        }
        // A missing character is skipped: it neither draws nor takes room.
        const std::string with_gaps = std::string("1\x01") + "2\x7f\xff" + "3";
        EXPECT_EQ(text_width(font, with_gaps.c_str()), text_width(font, "123"));
        Surface a(80, 20, kPaper), b(80, 20, kPaper);
        draw_text(a, font, with_gaps.c_str(), 2, 2, kInk);
        draw_text(b, font, "123", 2, 2, kInk);
        EXPECT_EQ(a.bytes(), b.bytes());
    }
}

TEST(Font, DisplayCharactersFitTheLine) {
    for (unsigned char c : kCodePage) {
        SCOPED_TRACE(testing::Message() << "char 0x" << std::hex << int(c));
        EXPECT_LE(char_width(FONT_DISPLAY, c), 7);
    }
    // Digits share one advance so that columns of numbers line up.
    for (unsigned char c = '0'; c <= '9'; ++c) EXPECT_EQ(char_width(FONT_DISPLAY, c), 6);
    for (unsigned char c : std::string("il.,'!|")) {
        SCOPED_TRACE(c);
        EXPECT_LT(char_width(FONT_DISPLAY, c), 6);
    }
    EXPECT_GE(char_width(FONT_DISPLAY, 0x1D), 2);
    EXPECT_LE(char_width(FONT_DISPLAY, 0x1D), 3);
    for (unsigned char c : {0x1E, 0x1F}) {
        EXPECT_GE(char_width(FONT_DISPLAY, c), 3);
        EXPECT_LE(char_width(FONT_DISPLAY, c), 5);
    }
    // 22 characters and a cursor on a 182-pixel line.
    EXPECT_LE(22 * 7 + 6, 182);
}

TEST(Font, TextWidthIsTheSumOfTheAdvances) {
    const char* samples[] = {"", "A", "sin(30)+2", "1.5\x1b-3", "\x97\xa9 r\x19\x1a", "  "};
    for (FontId font : kFonts) {
        for (const char* t : samples) {
            int sum = 0;
            for (const char* p = t; *p; ++p) sum += char_width(font, static_cast<unsigned char>(*p));
            SCOPED_TRACE(t);
            EXPECT_EQ(text_width(font, t), sum);
            Surface s(200, 30, kPaper);
            EXPECT_EQ(draw_text(s, font, t, 3, 4, kInk), sum);
            EXPECT_EQ(draw_text(s, font, t, 3, 20, kInk, TextDirection::Up), sum);
        }
        EXPECT_EQ(text_width(font, nullptr), 0);
        Surface s(10, 10, kPaper);
        EXPECT_EQ(draw_text(s, font, nullptr, 0, 0, kInk), 0);
    }
}

// Every glyph drawn alone: the ink lies inside its line box, leaves the last
// column blank (the spacing that keeps neighbours apart), uses exactly the
// given colour, and capitals and digits stand on the baseline.
TEST(Font, GlyphInkStaysInsideItsBox) {
    for (FontId font : kFonts) {
        const int h = font_height(font);
        for (unsigned char c : kCodePage) {
            if (!font_has_char(font, c)) continue;
            SCOPED_TRACE(testing::Message() << "font " << font << " char 0x" << std::hex
                                            << int(c));
            const int w = char_width(font, c);
            Surface s(w + 20, h + 20, kPaper);
            draw_text(s, font, one(c).c_str(), 10, 10, kInk);
            const Ink ink = ink_of(s);
            const bool blank = c == ' ' || c == 0x1D;
            ASSERT_EQ(ink.empty(), blank);
            if (blank) continue;
            EXPECT_GE(ink.left, 10);
            EXPECT_LT(ink.right, 10 + w - 1);
            EXPECT_GE(ink.top, 10);
            EXPECT_LT(ink.bottom, 10 + h);
            for (const auto& [x, y] : ink.pixels) ASSERT_EQ(s.get(x, y), kInk);
        }
    }
}

TEST(Font, CapitalsAndDigitsStandOnTheBaselineDescendersGoBelow) {
    struct Case { FontId font; int cap_min, cap_max; };
    const Case cases[] = {
        {FONT_DISPLAY, 9, 10}, {FONT_DIALOG, 7, 8}, {FONT_TINY, 5, 5}, {FONT_LABEL, 9, 11}};
    for (const Case& k : cases) {
        const int base = font_ascent(k.font);  // first row below the baseline
        auto ink_rows = [&](unsigned char c) {
            Surface s(char_width(k.font, c), font_height(k.font), kPaper);
            draw_text(s, k.font, one(c).c_str(), 0, 0, kInk);
            return ink_of(s);
        };
        for (unsigned char c : std::string("ABEHKMNXZ0123456789")) {
            SCOPED_TRACE(testing::Message() << "font " << k.font << " " << c);
            const Ink ink = ink_rows(c);
            EXPECT_EQ(ink.bottom, base - 1);
            EXPECT_GE(base - ink.top, k.cap_min);
            EXPECT_LE(base - ink.top, k.cap_max);
        }
        for (unsigned char c : std::string("gjpqy")) {
            SCOPED_TRACE(testing::Message() << "font " << k.font << " " << c);
            EXPECT_GT(ink_rows(c).bottom, base);
        }
        // Lower case without ascenders is shorter than a capital.
        for (unsigned char c : std::string("acemnorsuvwxz")) {
            SCOPED_TRACE(testing::Message() << "font " << k.font << " " << c);
            const Ink ink = ink_rows(c);
            EXPECT_EQ(ink.bottom, base - 1);
            EXPECT_GT(ink.top, ink_rows('H').top);
        }
    }
}

TEST(Font, TextDrawnAtAPointInksOnlyItsLineBox) {
    const char* samples[] = {"Wy|gj(Q)", "\x9f\xa6\xa4_,;", "1.5\x1b-12 \x1c\x80", "@$%&{}", "g/cm\xac 1\xad"};
    for (FontId font : kFonts) {
        for (const char* t : samples) {
            SCOPED_TRACE(t);
            const int w = text_width(font, t);
            const int h = font_height(font);
            Surface s(w + 40, h + 40, kPaper);
            draw_text(s, font, t, 17, 13, kInk);
            const Ink ink = ink_of(s);
            ASSERT_FALSE(ink.empty());
            EXPECT_GE(ink.left, 17);
            EXPECT_LT(ink.right, 17 + w);
            EXPECT_GE(ink.top, 13);
            EXPECT_LT(ink.bottom, 13 + h);
        }
    }
}

// Turned text is the straight rendering rotated a quarter turn anticlockwise:
// the pixel (u, v) of the line (u along it, v down from its top) lands on
// (x + v, y - u), so (x, y) is the bottom-left corner of the turned box.
TEST(Font, UpwardTextIsTheLineTurnedAnticlockwise) {
    const char* samples[] = {"Voltage (V)", "gjpq \x97\xa9", "Ay|_"};
    for (FontId font : kFonts) {
        for (const char* t : samples) {
            SCOPED_TRACE(t);
            const int w = text_width(font, t);
            const int h = font_height(font);
            Surface flat(w, h, kPaper);
            draw_text(flat, font, t, 0, 0, kInk);
            const Ink straight = ink_of(flat);

            const int x = 7, y = w + 5;
            Surface turned(h + 14, w + 12, kPaper);
            EXPECT_EQ(draw_text(turned, font, t, x, y, kInk, TextDirection::Up), w);
            const Ink up = ink_of(turned);

            std::set<std::pair<int, int>> expected;
            for (const auto& [u, v] : straight.pixels) expected.insert({x + v, y - u});
            EXPECT_EQ(up.pixels, expected);
            EXPECT_GE(up.left, x);
            EXPECT_LT(up.right, x + h);
            EXPECT_GT(up.top, y - w);
            EXPECT_LE(up.bottom, y);
        }
    }
}

// Drawing that runs off the surface keeps exactly the part that is on it.
TEST(Font, ClippingKeepsTheVisiblePart) {
    const char* t = "Clip\x97 me 123";
    for (FontId font : kFonts) {
        for (TextDirection dir : {TextDirection::Horizontal, TextDirection::Up}) {
            const int w = text_width(font, t);
            const int big = w + font_height(font) + 40;
            // The whole drawing on a large surface, then a window of it.
            Surface whole(big, big, kPaper);
            const int wx = 20, wy = dir == TextDirection::Up ? w + 10 : 20;
            draw_text(whole, font, t, wx, wy, kInk, dir);
            // Windows over a corner, an edge and the middle of the line, each
            // inside the large surface so it holds the reference pixels.
            struct Window { int left, top, width, height; };
            const bool up = dir == TextDirection::Up;
            const Window windows[] = {
                {wx - 5, wy - 4, 9, 7},
                {wx + 3, wy + 5, 13, 6},
                up ? Window{15, wy - w / 2, 30, 5} : Window{wx + w / 2, 15, 5, 30},
                up ? Window{0, wy - w - 1, big, 4} : Window{wx + w - 3, 0, 7, big},
            };
            for (const Window& win : windows) {
                Surface part(win.width, win.height, kPaper);
                draw_text(part, font, t, wx - win.left, wy - win.top, kInk, dir);
                for (int y = 0; y < win.height; ++y)
                    for (int x = 0; x < win.width; ++x)
                        ASSERT_EQ(part.get(x, y), whole.get(x + win.left, y + win.top))
                            << "font " << font << " at " << x << "," << y;
            }
        }
    }
}

TEST(Font, DrawingFarOutsideOrOnNothingIsHarmless) {
    const std::string all = text_of(kCodePage);
    const int spots[][2] = {{-1000, -1000}, {INT_MIN, INT_MIN}, {INT_MAX, INT_MAX},
                            {INT_MIN, INT_MAX}, {INT_MAX - 3, 5}, {5, INT_MIN + 2},
                            {-3, 4}, {30, -5}, {2, 35}};
    for (FontId font : kFonts) {
        Surface s(40, 40, kPaper);
        Surface nothing;
        for (const auto& p : spots) {
            for (TextDirection dir : {TextDirection::Horizontal, TextDirection::Up}) {
                EXPECT_EQ(draw_text(s, font, all.c_str(), p[0], p[1], kInk, dir),
                          text_width(font, all.c_str()));
                draw_text(nothing, font, all.c_str(), p[0], p[1], kInk, dir);
            }
            draw_text_bold(s, font, all.c_str(), p[0], p[1], kInk);
        }
        const Ink ink = ink_of(s);
        for (const auto& [x, y] : ink.pixels) ASSERT_EQ(s.get(x, y), kInk);
    }
    // A font number that does not exist measures and draws nothing.
    Surface s(20, 20, kPaper);
    EXPECT_EQ(font_height(FONT_COUNT), 0);
    EXPECT_EQ(char_width(FONT_COUNT, 'A'), 0);
    EXPECT_EQ(draw_text(s, FONT_COUNT, "A", 0, 0, kInk), 0);
    EXPECT_TRUE(ink_of(s).empty());
}

TEST(Font, BoldIsTheTextTwiceOnePixelApart) {
    const char* samples[] = {"OK", "Cancel", "\x9f r\xa1", "i"};
    for (FontId font : kFonts) {
        for (const char* t : samples) {
            SCOPED_TRACE(t);
            const int w = text_width(font, t);
            EXPECT_EQ(text_width_bold(font, t), w + 1);
            Surface bold(w + 10, 20, kPaper), twice(w + 10, 20, kPaper);
            EXPECT_EQ(draw_text_bold(bold, font, t, 3, 2, kInk), w + 1);
            draw_text(twice, font, t, 3, 2, kInk);
            draw_text(twice, font, t, 4, 2, kInk);
            EXPECT_EQ(bold.bytes(), twice.bytes());
            EXPECT_LT(ink_of(bold).right, 3 + w + 1);
        }
        EXPECT_EQ(text_width_bold(font, ""), 0);
        Surface s(10, 10, kPaper);
        EXPECT_EQ(draw_text_bold(s, font, "", 1, 1, kInk), 0);
    }
}

// Only glyph pixels change: the background between strokes shows through.
TEST(Font, OnlyInkPixelsAreTouched) {
    for (FontId font : kFonts) {
        Surface s(120, 20, kPaper);
        checkered_fill(s, rgb(1, 2, 3), rgb(200, 201, 202), 0, 0, 119, 19);
        const Surface before = s;
        draw_text(s, font, "Hello, \x97!", 2, 1, kInk);
        int changed = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 120; ++x) {
                if (s.get(x, y) == before.get(x, y)) continue;
                ++changed;
                ASSERT_EQ(s.get(x, y), kInk);
            }
        EXPECT_GT(changed, 20);
    }
}

// Copy-and-paste slips in the glyph tables show up as two characters with
// the same picture.
TEST(Font, PrintableGlyphsAreAllDifferent) {
    for (FontId font : kFonts) {
        std::vector<std::pair<unsigned char, Bitmap>> seen;
        for (unsigned char c = 0x21; c <= 0x7E; ++c) {
            const Bitmap b = bitmap_of(font, c);
            for (const auto& [other, ob] : seen)
                EXPECT_FALSE(b == ob) << "font " << font << ": '" << c << "' looks like '"
                                      << other << "'";
            seen.push_back({c, b});
        }
    }
}

TEST(Font, SpecialMarksDifferFromTheLettersTheyResemble) {
    struct Case { unsigned char mark, letter; };
    const Case cases[] = {{0x1A, 'i'}, {0x1B, 'E'}, {0x19, 'e'}, {0x97, '0'}, {0x97, 'O'},
                          {0xA4, 0xA9}, {0xAA, 'E'}, {0xAC, '3'}, {0xAC, 0x1B}, {0xAD, 'A'}};
    for (FontId font : kFonts) {
        for (const Case& c : cases) {
            if (!font_has_char(font, c.mark)) continue;
            SCOPED_TRACE(testing::Message() << "font " << font << " mark 0x" << std::hex
                                            << int(c.mark));
            EXPECT_FALSE(bitmap_of(font, c.mark) == bitmap_of(font, c.letter));
        }
    }
    // The exponent mark is a small raised E: narrower or shorter than E and
    // not reaching the baseline.
    for (FontId font : {FONT_DISPLAY, FONT_DIALOG, FONT_TINY}) {
        SCOPED_TRACE(font);
        Surface e(20, 20, kPaper), mark(20, 20, kPaper);
        draw_text(e, font, "E", 0, 0, kInk);
        draw_text(mark, font, "\x1b", 0, 0, kInk);
        const Ink ie = ink_of(e), im = ink_of(mark);
        EXPECT_LT(im.bottom, ie.bottom);
        EXPECT_LE(im.right - im.left, ie.right - ie.left);
        EXPECT_LE(im.top, ie.top);
    }
    // The superscript three sits high, above the baseline, no taller than
    // the digit; A-ring reaches at least as high as a plain A (the display
    // font has no room above its capitals, so there the A is shorter) and
    // stands on the baseline.
    for (FontId font : kFonts) {
        SCOPED_TRACE(font);
        auto ink = [font](const char* t) {
            Surface s(20, 20, kPaper);
            draw_text(s, font, t, 0, 0, kInk);
            return ink_of(s);
        };
        const Ink three = ink("3"), cube = ink("\xac"), a = ink("A"), ring = ink("\xad");
        EXPECT_LT(cube.bottom, three.bottom);
        EXPECT_LE(cube.top, three.top);
        EXPECT_LE(cube.bottom - cube.top, three.bottom - three.top);
        EXPECT_LE(ring.top, a.top);
        EXPECT_EQ(ring.bottom, a.bottom);
    }
}

}  // namespace
}  // namespace qx

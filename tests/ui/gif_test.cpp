#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "engine/hooks.h"
#include "panel/images.h"
#include "tools/artgen/encode.h"

namespace qx {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A GIF87a header with a global table of 2^bits colours (colour k is
// (k*40, k*20, k*10) unless given) and one image descriptor.
Bytes header(int bits, int width, int height, std::vector<Colour> colours = {},
             int image_flags = 0) {
    Bytes b = {'G', 'I', 'F', '8', '7', 'a'};
    auto put16 = [&](int v) {
        b.push_back(static_cast<std::uint8_t>(v & 0xFF));
        b.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    put16(width);
    put16(height);
    b.push_back(static_cast<std::uint8_t>(0x80 | (bits - 1)));
    b.push_back(0);
    b.push_back(0);
    for (int k = 0; k < (1 << bits); ++k) {
        Colour c = k < static_cast<int>(colours.size()) ? colours[k] : rgb(k * 40, k * 20, k * 10);
        b.push_back(static_cast<std::uint8_t>(red_of(c)));
        b.push_back(static_cast<std::uint8_t>(green_of(c)));
        b.push_back(static_cast<std::uint8_t>(blue_of(c)));
    }
    b.push_back(0x2C);
    put16(0);
    put16(0);
    put16(width);
    put16(height);
    b.push_back(static_cast<std::uint8_t>(image_flags));
    return b;
}

// Packs codes least-significant bit first into one data sub-block, growing
// the code width as a reader adds dictionary entries.
void codes(Bytes& b, int min_size, const std::vector<int>& list) {
    b.push_back(static_cast<std::uint8_t>(min_size));
    const int clear = 1 << min_size;
    Bytes data;
    std::uint32_t buffer = 0;
    int bits = 0, width = min_size + 1, next = clear + 2;
    bool first = true;
    for (int code : list) {
        buffer |= static_cast<std::uint32_t>(code) << bits;
        bits += width;
        while (bits >= 8) {
            data.push_back(static_cast<std::uint8_t>(buffer & 0xFF));
            buffer >>= 8;
            bits -= 8;
        }
        if (code == clear) {
            width = min_size + 1;
            next = clear + 2;
            first = true;
        } else if (first) {
            first = false;
        } else if (next < 4096) {
            ++next;
            if (next == (1 << width) && width < 12) ++width;
        }
    }
    if (bits > 0) data.push_back(static_cast<std::uint8_t>(buffer & 0xFF));
    for (std::size_t at = 0; at < data.size(); at += 255) {
        std::size_t n = std::min<std::size_t>(255, data.size() - at);
        b.push_back(static_cast<std::uint8_t>(n));
        b.insert(b.end(), data.begin() + static_cast<long>(at), data.begin() + static_cast<long>(at + n));
    }
    b.push_back(0);
    b.push_back(0x3B);
}

int decode(Surface& s, const Bytes& b, int x = 0, int y = 0, bool transparent = false,
           int brightness = BRIGHTNESS_NEUTRAL) {
    return decode_gif(s, b.data(), b.size(), x, y, transparent, brightness);
}

const Colour kScreen = rgb(7, 7, 7);

TEST(Gif, HandMadeFilesAndTheirResults) {
    struct Case { const char* what; Bytes file; int want; };
    auto with = [](Bytes b, std::size_t at, std::uint8_t v) {
        b[at] = v;
        return b;
    };
    Bytes good = header(1, 2, 2);
    codes(good, 2, {4, 0, 1, 1, 0, 5});
    Bytes first_not_clear = header(1, 2, 2);
    codes(first_not_clear, 2, {0, 1, 1, 0, 5});
    Bytes above_next = header(1, 2, 2);
    codes(above_next, 2, {4, 0, 7, 5});
    Bytes literal_not_root = header(1, 2, 2);
    codes(literal_not_root, 2, {4, 6, 5});
    Bytes min_size_zero = header(1, 2, 2);
    codes(min_size_zero, 0, {});
    Bytes min_size_nine = header(1, 2, 2);
    codes(min_size_nine, 9, {});
    Bytes min_size_one_wide = header(3, 2, 2);
    codes(min_size_one_wide, 1, {2, 0, 3});
    Bytes min_size_one_ok = header(1, 2, 1);
    codes(min_size_one_ok, 1, {2, 0, 1, 3});
    Bytes truncated(good.begin(), good.begin() + static_cast<long>(good.size()) - 4);
    Bytes header_only = header(1, 2, 2);
    const std::size_t flags_at = 10, aspect_at = 12, image_flags_at = 13 + 6 + 9;
    const Case cases[] = {
        {"a well-formed picture", good, PIC_OK},
        {"GIF89a", with(good, 4, '9'), PIC_VERSION_89A},
        {"another signature", with(good, 0, 'J'), PIC_CORRUPT},
        {"no global colour table", with(good, flags_at, 0x00), PIC_NO_GLOBAL_TABLE},
        {"non-zero aspect", with(good, aspect_at, 49), PIC_CORRUPT},
        {"local colour table", with(good, image_flags_at, 0x80), PIC_LOCAL_TABLE},
        {"interlaced", with(good, image_flags_at, 0x40), PIC_INTERLACED},
        {"width 0", with(with(good, image_flags_at - 4, 0), image_flags_at - 3, 0), PIC_CORRUPT},
        {"width 241", with(with(good, image_flags_at - 4, 241), image_flags_at - 3, 0), PIC_CORRUPT},
        {"height 0", with(with(good, image_flags_at - 2, 0), image_flags_at - 1, 0), PIC_CORRUPT},
        {"first code not a clear code", first_not_clear, PIC_CORRUPT},
        {"code above the next free code", above_next, PIC_CORRUPT},
        {"first code after clear not a pixel", literal_not_root, PIC_CORRUPT},
        {"minimum code size 0", min_size_zero, PIC_CORRUPT},
        {"minimum code size 9", min_size_nine, PIC_CORRUPT},
        {"minimum code size 1 with 8 colours", min_size_one_wide, PIC_CORRUPT},
        {"minimum code size 1 with 2 colours", min_size_one_ok, PIC_OK},
        {"data ends early", truncated, PIC_CORRUPT},
        {"no image data", header_only, PIC_CORRUPT},
        {"shorter than a header", Bytes(good.begin(), good.begin() + 12), PIC_CORRUPT},
        {"colour table cut short", Bytes(good.begin(), good.begin() + 16), PIC_CORRUPT},
    };
    for (const Case& c : cases) {
        Surface s(8, 8, kScreen);
        EXPECT_EQ(decode(s, c.file), c.want) << c.what;
    }
}

TEST(Gif, PixelsOfAHandMadePictureAndTheRepeatedStringCase) {
    Bytes b = header(1, 2, 2, {rgb(255, 0, 0), rgb(0, 0, 255)});
    codes(b, 2, {4, 0, 1, 1, 0, 5});
    Surface s(4, 4, kScreen);
    ASSERT_EQ(decode(s, b, 1, 1), PIC_OK);
    EXPECT_EQ(s.get(1, 1), rgb(255, 0, 0));
    EXPECT_EQ(s.get(2, 1), rgb(0, 0, 255));
    EXPECT_EQ(s.get(1, 2), rgb(0, 0, 255));
    EXPECT_EQ(s.get(2, 2), rgb(255, 0, 0));
    EXPECT_EQ(s.get(0, 0), kScreen);
    EXPECT_EQ(s.get(3, 3), kScreen);

    // 0, then the code being defined (6 = "0 0"): three pixels of colour 0.
    Bytes k = header(1, 4, 1, {rgb(9, 9, 9), rgb(200, 200, 200)});
    codes(k, 2, {4, 0, 6, 1, 5});
    Surface t(4, 1, kScreen);
    ASSERT_EQ(decode(t, k), PIC_OK);
    EXPECT_EQ(t.get(0, 0), rgb(9, 9, 9));
    EXPECT_EQ(t.get(2, 0), rgb(9, 9, 9));
    EXPECT_EQ(t.get(3, 0), rgb(200, 200, 200));
}

TEST(Gif, AnEarlyEndKeepsWhatWasDecodedAndNothingElse) {
    // 3 x 1: the data stops after the first pixel.
    Bytes b = header(1, 3, 1, {rgb(1, 1, 1), rgb(2, 2, 2)});
    b.push_back(2);
    b.push_back(1);
    b.push_back(0x04 | (0 << 3));   // clear (3 bits) then pixel 0 (3 bits)
    b.push_back(0);
    Surface s(3, 1, kScreen);
    EXPECT_EQ(decode(s, b), PIC_CORRUPT);
    EXPECT_EQ(s.get(0, 0), rgb(1, 1, 1));
    EXPECT_EQ(s.get(1, 0), kScreen);
    EXPECT_EQ(s.get(2, 0), kScreen);
}

TEST(Gif, ATableThatFillsUpStopsGrowingAndStaysInBounds) {
    // 5040 single-pixel codes with no clear code: the dictionary fills at
    // 4096 entries and the rest must decode with the table left as it is.
    const int w = 240, h = 21;
    Bytes b = header(1, w, h, {rgb(0, 0, 0), rgb(255, 255, 255)});
    std::vector<int> list = {4};
    for (int k = 0; k < w * h; ++k) list.push_back(k % 3 == 0 ? 1 : 0);
    list.push_back(5);
    codes(b, 2, list);
    Surface s(w, h, kScreen);
    ASSERT_EQ(decode(s, b), PIC_OK);
    for (int k = 0; k < w * h; k += 97)
        EXPECT_EQ(s.get(k % w, k / w), k % 3 == 0 ? rgb(255, 255, 255) : rgb(0, 0, 0)) << k;
}

TEST(Gif, EncoderRoundTripOverManyStrips) {
    // 240 x 294 decodes in 15 strips, the last one of 14 rows.
    std::mt19937 rng(7);
    Surface image(240, 294);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.set(x, y, rng() % 7 == 0 ? rgb(rng() % 100, 10, 20) : rgb(x % 9 * 20, y % 11 * 20, 60));
    Bytes b = art::encode_gif(image);
    Surface s(240, 320, kScreen);
    ASSERT_EQ(decode(s, b), PIC_OK);
    for (int y = 0; y < 294; ++y)
        for (int x = 0; x < 240; ++x) ASSERT_EQ(s.get(x, y), image.get(x, y)) << x << "," << y;
    EXPECT_EQ(s.get(0, 294), kScreen);
    int width = 0, height = 0;
    ASSERT_TRUE(gif_size(b.data(), b.size(), &width, &height));
    EXPECT_EQ(width, 240);
    EXPECT_EQ(height, 294);
}

TEST(Gif, PicturesHangingOverTheEdgeAreClipped) {
    Surface image(30, 45);
    fill_rect(image, rgb(10, 200, 30), 0, 0, 29, 44);
    Bytes b = art::encode_gif(image);
    const int places[][2] = {{-10, -10}, {225, 300}, {-40, 0}, {0, 330}, {239, 319}};
    for (const auto& p : places) {
        Surface s(240, 320, kScreen);
        EXPECT_EQ(decode(s, b, p[0], p[1]), PIC_OK);
        const int inside_x = std::max(p[0], 0), inside_y = std::max(p[1], 0);
        if (inside_x < 240 && inside_y < 320 && p[0] + 30 > 0 && p[1] + 45 > 0) {
            EXPECT_EQ(s.get(inside_x, inside_y), rgb(10, 200, 30));
        }
    }
}

TEST(Gif, TransparencyAndBrightness) {
    Surface image(4, 1);
    image.set(0, 0, COLOUR_TRANSPARENT_KEY);
    image.set(1, 0, rgb(250, 100, 10));
    image.set(2, 0, rgb(255, 0, 255));
    image.set(3, 0, rgb(0, 0, 0));
    Bytes b = art::encode_gif(image);
    struct Case { bool transparent; int brightness; Colour want[4]; };
    const Case cases[] = {
        {false, 128, {COLOUR_TRANSPARENT_KEY, rgb(250, 100, 10), rgb(255, 0, 255), rgb(0, 0, 0)}},
        {true, 128, {kScreen, rgb(250, 100, 10), rgb(255, 0, 255), rgb(0, 0, 0)}},
        {true, 172, {kScreen, rgb(255, 122, 32), rgb(255, 255, 255), rgb(22, 22, 22)}},
        {false, 100, {rgb(0, 10, 10), rgb(236, 86, 0), rgb(255, 255, 255), rgb(0, 0, 0)}},
        {false, 127, {rgb(0, 23, 23), rgb(249, 99, 9), rgb(255, 255, 255), rgb(0, 0, 0)}},
        {false, 9999, {rgb(63, 87, 87), rgb(255, 163, 73), rgb(255, 255, 255), rgb(63, 63, 63)}},
        {false, -50, {rgb(0, 0, 0), rgb(186, 36, 0), rgb(255, 255, 255), rgb(0, 0, 0)}},
    };
    for (const Case& c : cases) {
        Surface s(4, 1, kScreen);
        ASSERT_EQ(decode(s, b, 0, 0, c.transparent, c.brightness), PIC_OK);
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(s.get(x, 0), c.want[x]) << "brightness " << c.brightness << " pixel " << x;
    }
}

int g_boxes = 0;
std::string g_last_box;
int count_box(const char* text, const char* title, int) {
    ++g_boxes;
    g_last_box = std::string(title) + ": " + text;
    return 1;
}

TEST(Gif, AMissingPictureIsReportedOncePerName) {
    reset_hooks();
    reset_legend_caches();
    g_hooks.message_box = count_box;
    g_boxes = 0;
    Surface s(10, 10);
    for (int k = 0; k < 5; ++k) EXPECT_EQ(draw_gif(s, "NO_SUCH_PICTURE", 0, 0, false, 128), PIC_MISSING);
    EXPECT_EQ(g_boxes, 1);
    EXPECT_EQ(g_last_box, "Resource: Could not load resource");
    for (int k = 0; k < 3; ++k) EXPECT_EQ(find_bitmap("NO_SUCH_LEGEND"), nullptr);
    EXPECT_EQ(g_boxes, 2);
    EXPECT_EQ(g_last_box, "Bitmap error: Bitmap not found: 'NO_SUCH_LEGEND'");
    EXPECT_EQ(draw_legend(s, "NO_SUCH_LEGEND", 0, 0, false), 0);
    EXPECT_EQ(legend_width("NO_SUCH_LEGEND"), 0);
    EXPECT_EQ(small_character('x'), nullptr);
    EXPECT_EQ(g_last_box, "get_small_number_character_bitmap: bitmap not found");
    EXPECT_STREQ(small_character('e'), "SMALL_E");
    EXPECT_STREQ(small_character('7'), "SMALL_7");
    reset_hooks();
}

TEST(Bitmap, RoundTripAndRefusals) {
    for (int width : {1, 2, 3, 4, 5, 17}) {
        Surface image(width, 3);
        for (int x = 0; x < width; ++x) image.set(x, 1, rgb(x * 10, 200, 7));
        Bytes b = art::encode_bmp(image);
        Surface out;
        ASSERT_TRUE(decode_bmp(b.data(), b.size(), out)) << width;
        ASSERT_EQ(out.width(), width);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < width; ++x) EXPECT_EQ(out.get(x, y), image.get(x, y));
    }
    Surface image(3, 2);
    image.set(0, 0, rgb(1, 2, 3));
    const Bytes good = art::encode_bmp(image);
    auto with32 = [&](std::size_t at, std::int32_t v) {
        Bytes b = good;
        for (int k = 0; k < 4; ++k) b[at + k] = static_cast<std::uint8_t>((static_cast<std::uint32_t>(v) >> (8 * k)) & 0xFF);
        return b;
    };
    auto with16 = [&](std::size_t at, int v) {
        Bytes b = good;
        b[at] = static_cast<std::uint8_t>(v & 0xFF);
        b[at + 1] = static_cast<std::uint8_t>(v >> 8);
        return b;
    };
    struct Case { const char* what; Bytes file; bool ok; };
    Bytes top_down = with32(22, -2);
    const Case cases[] = {
        {"as written", good, true},
        {"rows stored top-down", top_down, true},
        {"wrong magic", [&] { Bytes b = good; b[0] = 'X'; return b; }(), false},
        {"too short", Bytes(good.begin(), good.begin() + 40), false},
        {"8 bits per pixel", with16(28, 8), false},
        {"compressed", with32(30, 1), false},
        {"two planes", with16(26, 2), false},
        {"width 0", with32(18, 0), false},
        {"width far too large", with32(18, 1 << 30), false},
        {"height 0", with32(22, 0), false},
        {"height far too large", with32(22, -(1 << 30)), false},
        {"more rows than data", with32(22, 3), false},
        {"data offset past the end", with32(10, 100000), false},
        {"data offset inside the header", with32(10, 10), false},
        {"info header too small", with32(14, 12), false},
    };
    for (const Case& c : cases) {
        Surface out;
        EXPECT_EQ(decode_bmp(c.file.data(), c.file.size(), out), c.ok) << c.what;
    }
    Surface out;
    ASSERT_TRUE(decode_bmp(top_down.data(), top_down.size(), out));
    EXPECT_EQ(out.get(0, 1), rgb(1, 2, 3));   // the first stored row is now the top one
}

}  // namespace
}  // namespace qx

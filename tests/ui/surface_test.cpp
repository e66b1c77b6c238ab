#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <utility>

#include "platform/surface.h"

namespace qx {
namespace {

using PixelSet = std::set<std::pair<int, int>>;

PixelSet ink(const Surface& s, Colour background = COLOUR_WHITE) {
    PixelSet out;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            if (s.get(x, y) != background) out.insert({x, y});
    return out;
}

TEST(Surface, LineRasterRule) {
    // The first end point is drawn, the last one is not; the minor
    // coordinate is rounded to the nearest pixel.
    struct Case { int x1, y1, x2, y2; PixelSet want; };
    const Case cases[] = {
        {0, 0, 4, 0, {{0, 0}, {1, 0}, {2, 0}, {3, 0}}},
        {4, 0, 0, 0, {{4, 0}, {3, 0}, {2, 0}, {1, 0}}},
        {1, 1, 1, 4, {{1, 1}, {1, 2}, {1, 3}}},
        {0, 0, 3, 3, {{0, 0}, {1, 1}, {2, 2}}},
        {0, 0, 4, 2, {{0, 0}, {1, 1}, {2, 1}, {3, 2}}},
        {0, 3, 3, 0, {{0, 3}, {1, 2}, {2, 1}}},
        {2, 2, 2, 2, {}},
    };
    for (const Case& c : cases) {
        Surface s(8, 8);
        draw_line(s, c.x1, c.y1, c.x2, c.y2, COLOUR_BLACK);
        EXPECT_EQ(ink(s), c.want) << c.x1 << "," << c.y1 << " -> " << c.x2 << "," << c.y2;
    }
}

TEST(Surface, ClippedLinesFollowTheIdealLine) {
    // Whatever the end points, every pixel drawn lies within half a pixel of
    // the ideal line across its main direction, and every column (row for a
    // steep line) whose ideal point is on the surface gets exactly one pixel.
    const int lines[][4] = {{-50, -20, 80, 40}, {-30000, 5, 30000, 7}, {5, -30000, 9, 30000},
                            {100, 100, -100, -90}, {-5, 3, 25, 3}, {12, -40, 3, 60},
                            {-2000000000, 0, 2000000000, 11}};
    for (const auto& l : lines) {
        Surface s(20, 12);
        draw_line(s, l[0], l[1], l[2], l[3], COLOUR_BLACK);
        const double dx = double(l[2]) - l[0], dy = double(l[3]) - l[1];
        const bool x_major = std::abs(dx) >= std::abs(dy);
        std::map<int, int> per_major;
        for (auto [x, y] : ink(s)) {
            const double ideal = x_major ? l[1] + (x - l[0]) * dy / dx : l[0] + (y - l[1]) * dx / dy;
            EXPECT_LE(std::abs((x_major ? y : x) - ideal), 0.5 + 1e-9) << l[0] << "," << l[1];
            ++per_major[x_major ? x : y];
        }
        const int limit = x_major ? s.width() : s.height();
        for (int m = 0; m < limit; ++m) {
            const double ideal = x_major ? l[1] + (m - l[0]) * dy / dx : l[0] + (m - l[1]) * dx / dy;
            const int other = x_major ? s.height() : s.width();
            const bool on_segment = x_major ? (double(m) - l[0]) * (double(m) - l[2]) <= 0 && m != l[2]
                                            : (double(m) - l[1]) * (double(m) - l[3]) <= 0 && m != l[3];
            if (on_segment && ideal >= 0.5 && ideal <= other - 1.5) {
                EXPECT_EQ(per_major[m], 1) << "line " << l[0] << "," << l[1] << " at " << m;
            }
        }
    }
}

TEST(Surface, ThickLineAddsTheNeighbourAcrossTheMainDirection) {
    Surface s(6, 6);
    draw_line(s, 0, 1, 3, 1, COLOUR_BLACK, true);
    EXPECT_EQ(ink(s), (PixelSet{{0, 1}, {1, 1}, {2, 1}, {0, 2}, {1, 2}, {2, 2}}));
    Surface v(6, 6);
    draw_line(v, 2, 0, 2, 2, COLOUR_BLACK, true);
    EXPECT_EQ(ink(v), (PixelSet{{2, 0}, {2, 1}, {3, 0}, {3, 1}}));
}

TEST(Surface, RectanglesClipAndAcceptEitherCornerOrder) {
    Surface s(10, 10);
    fill_rect(s, COLOUR_BLACK, 8, 8, 20, 20);
    EXPECT_EQ(ink(s), (PixelSet{{8, 8}, {9, 8}, {8, 9}, {9, 9}}));
    Surface f(10, 10);
    frame_rect(f, COLOUR_BLACK, 3, 3, 1, 1);
    EXPECT_EQ(ink(f).size(), 8u);
    EXPECT_EQ(ink(f).count({2, 2}), 0u);
    Surface none(0, 5);
    fill_rect(none, COLOUR_BLACK, 0, 0, 3, 3);   // nothing to draw on, nothing happens
    EXPECT_TRUE(none.empty());
}

TEST(Surface, CopyModes) {
    Surface src(2, 1);
    src.set(0, 0, rgb(10, 20, 30));
    src.set(1, 0, COLOUR_TRANSPARENT_KEY);
    struct Case { CopyMode mode; Colour first, second; };
    const Case cases[] = {
        {CopyMode::Plain, rgb(10, 20, 30), COLOUR_TRANSPARENT_KEY},
        {CopyMode::Inverted, rgb(245, 235, 225), rgb(255, 231, 231)},
        {CopyMode::Transparent, rgb(10, 20, 30), rgb(1, 2, 3)},
    };
    for (const Case& c : cases) {
        Surface dst(4, 3, rgb(1, 2, 3));
        copy_surface(dst, 2, 1, src, c.mode);
        EXPECT_EQ(dst.get(2, 1), c.first);
        EXPECT_EQ(dst.get(3, 1), c.second);
        EXPECT_EQ(dst.get(1, 1), rgb(1, 2, 3));
    }
    // Blocks hanging over any edge are clipped, never written outside.
    Surface dst(3, 3, COLOUR_WHITE);
    copy_block(dst, -1, 0, src, 0, 0, 5, 5);
    copy_block(dst, 2, 2, src, -3, 0, 9, 9);
    EXPECT_EQ(dst.get(0, 0), COLOUR_TRANSPARENT_KEY);
}

TEST(Surface, CheckeredFillAlternatesAnchoredToTheSurface) {
    Surface s(4, 4);
    checkered_fill(s, COLOUR_BLACK, COLOUR_WHITE, 1, 1, 3, 2);
    EXPECT_EQ(ink(s), (PixelSet{{1, 1}, {3, 1}, {2, 2}}));
}

}  // namespace
}  // namespace qx

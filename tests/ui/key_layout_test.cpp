#include <gtest/gtest.h>

#include "panel/key_layout.h"

namespace qx {
namespace {

bool placeholder(const KeyRect& r) { return r.left == r.right && r.top == r.bottom; }

bool overlap(const KeyRect& a, const KeyRect& b) {
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

TEST(KeyLayout, EveryKeyLiesOnTheScreenAndNoTwoKeysOverlap) {
    struct Case { FaceId face; int count; };
    const Case cases[] = {{FACE_MAIN, 52},   {FACE_PROGRAM, 24}, {FACE_PLOT_2D, 24},
                          {FACE_PLOT_3D, 24}, {FACE_PERIODIC, 112}, {FACE_EDITOR, 72},
                          {FACE_ALPHA, 42}};
    for (const Case& c : cases) {
        ASSERT_EQ(face_table(c.face).count, c.count) << c.face;
        for (int k = 0; k < c.count; ++k) {
            const KeyRect r = key_rect(c.face, k);
            EXPECT_TRUE(r.left >= 0 && r.right < 240 && r.top >= 0 && r.bottom < 320 &&
                        r.left <= r.right && r.top <= r.bottom)
                << "face " << c.face << " key " << k;
            if (placeholder(r)) continue;
            for (int j = k + 1; j < c.count; ++j) {
                const KeyRect q = key_rect(c.face, j);
                // Rows of the editor's cell grid share their border row; the
                // upper cell, found first, takes a tap on it.
                const bool grid_rows = c.face == FACE_EDITOR && k >= 32 && j >= 32 &&
                                       (r.bottom == q.top || q.bottom == r.top);
                if (!placeholder(q) && !grid_rows) {
                    EXPECT_FALSE(overlap(r, q)) << "face " << c.face << " keys " << k << "," << j;
                }
            }
        }
    }
}

TEST(KeyLayout, KnownKeysAndFlags) {
    struct Case { FaceId face; int key; int l, t, r, b; bool no_resume, no_cancel; };
    const Case cases[] = {
        {FACE_MAIN, 49, 5, 72, 40, 89, false, false},
        {FACE_MAIN, 0, 44, 72, 79, 89, false, false},
        {FACE_MAIN, 16, 200, 132, 235, 149, false, false},
        {FACE_MAIN, 26, 147, 192, 189, 213, false, false},
        {FACE_MAIN, 42, 194, 270, 236, 291, false, false},
        {FACE_MAIN, 46, 121, 54, 157, 66, false, false},
        {FACE_MAIN, 51, 223, 27, 231, 42, true, false},
        {FACE_PROGRAM, 17, 200, 271, 235, 288, false, false},
        {FACE_PLOT_2D, 5, 98, 247, 149, 261, false, true},
        {FACE_PLOT_3D, 5, 98, 238, 149, 252, false, true},
        {FACE_PLOT_3D, 19, 126, 271, 151, 286, false, false},
        {FACE_PLOT_2D, 23, 73, 219, 91, 234, false, true},
        {FACE_EDITOR, 7, 194, 269, 236, 290, false, false},
        {FACE_EDITOR, 31, 222, 253, 238, 263, false, false},
        {FACE_EDITOR, 71, 186, 209, 226, 224, false, false},
        {FACE_ALPHA, 0, 12, 84, 30, 101, false, false},
        {FACE_ALPHA, 41, 125, 202, 179, 219, false, false},
        {FACE_PERIODIC, 0, 62, 233, 84, 286, false, false},
    };
    for (const Case& c : cases) {
        const KeyRect r = key_rect(c.face, c.key);
        EXPECT_EQ((std::vector<int>{r.left, r.top, r.right, r.bottom}),
                  (std::vector<int>{c.l, c.t, c.r, c.b}))
            << "face " << c.face << " key " << c.key;
        EXPECT_EQ(r.no_resume, c.no_resume);
        EXPECT_EQ(r.no_cancel, c.no_cancel);
    }
    EXPECT_EQ(key_rect(FACE_MAIN, 52).right, -2);   // outside the table: an empty rectangle
}

TEST(KeyLayout, PeriodicCellsFollowTheTable) {
    struct Case { int z; int row, column; };
    const Case cases[] = {{1, 1, 1},   {2, 1, 18},  {5, 2, 13},  {13, 3, 13}, {26, 4, 8},
                          {54, 5, 18}, {56, 6, 2},  {57, 8, 3},  {71, 8, 17}, {72, 6, 4},
                          {89, 9, 3},  {103, 9, 17}, {104, 7, 4}, {109, 7, 9}, {110, 7, 10}};
    for (const Case& c : cases) {
        const PeriodicPlace p = periodic_place(c.z);
        EXPECT_EQ(p.row, c.row) << c.z;
        EXPECT_EQ(p.column, c.column) << c.z;
        const KeyRect r = key_rect(FACE_PERIODIC, c.z + 1);
        EXPECT_EQ(r.right - r.left + 1, PERIODIC_CELL_W);
        EXPECT_EQ(r.bottom - r.top + 1, PERIODIC_CELL_H);
    }
    // Reading order turned a quarter turn: later periods to the right,
    // higher groups nearer the top.
    EXPECT_LT(key_rect(FACE_PERIODIC, 2).left, key_rect(FACE_PERIODIC, 4).left);
    EXPECT_GT(key_rect(FACE_PERIODIC, 2).top, key_rect(FACE_PERIODIC, 3).top);
    EXPECT_STREQ(element_symbol(1), "H");
    EXPECT_STREQ(element_symbol(109), "Mt");
    EXPECT_STREQ(element_symbol(110), "");
    EXPECT_EQ(periodic_place(0).row, 0);
}

}  // namespace
}  // namespace qx

#include "tools/artgen/keycap.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>

#include "tools/artgen/art.h"

namespace qx::art {

// ---- colour arithmetic ----------------------------------------------------

Colour mix(Colour a, Colour b, int percent_b) {
    auto m = [&](int x, int y) { return (x * (100 - percent_b) + y * percent_b + 50) / 100; };
    return rgb(m(red_of(a), red_of(b)), m(green_of(a), green_of(b)), m(blue_of(a), blue_of(b)));
}

Colour shade(Colour c, int delta) {
    auto f = [&](int v) { return std::clamp(v + delta, 0, 255); };
    return rgb(f(red_of(c)), f(green_of(c)), f(blue_of(c)));
}

// ---- alphabets ------------------------------------------------------------
//
// Every glyph is a small picture: rows of '#' (ink) and '.' (none), with the
// row of its top relative to the top of the capitals.  Widths are the length
// of the rows.  They were drawn for these sizes, not scaled from anything.

namespace {

struct GlyphDef {
    unsigned char code;
    signed char top;
    const char* rows[11];
};

// 5-pixel capitals, x-height 4: the captions over the keys and the mode
// buttons.  Small enough that two captions share a key, large enough to read
// at 1x.
const GlyphDef kCaption[] = {
    {'A', 0, {".#.", "#.#", "###", "#.#", "#.#"}},
    {'B', 0, {"##.", "#.#", "##.", "#.#", "##."}},
    {'C', 0, {".##", "#..", "#..", "#..", ".##"}},
    {'D', 0, {"##.", "#.#", "#.#", "#.#", "##."}},
    {'E', 0, {"###", "#..", "##.", "#..", "###"}},
    {'F', 0, {"###", "#..", "##.", "#..", "#.."}},
    {'G', 0, {".##.", "#...", "#.##", "#..#", ".###"}},
    {'H', 0, {"#.#", "#.#", "###", "#.#", "#.#"}},
    {'I', 0, {"###", ".#.", ".#.", ".#.", "###"}},
    {'J', 0, {"..#", "..#", "..#", "#.#", ".#."}},
    {'K', 0, {"#.#", "#.#", "##.", "#.#", "#.#"}},
    {'L', 0, {"#..", "#..", "#..", "#..", "###"}},
    {'M', 0, {"#...#", "##.##", "#.#.#", "#...#", "#...#"}},
    {'N', 0, {"#..#", "##.#", "#.##", "#..#", "#..#"}},
    {'O', 0, {".##.", "#..#", "#..#", "#..#", ".##."}},
    {'P', 0, {"##.", "#.#", "##.", "#..", "#.."}},
    {'Q', 0, {".##.", "#..#", "#..#", "#.#.", ".#.#"}},
    {'R', 0, {"##.", "#.#", "##.", "#.#", "#.#"}},
    {'S', 0, {".##", "#..", ".#.", "..#", "##."}},
    {'T', 0, {"###", ".#.", ".#.", ".#.", ".#."}},
    {'U', 0, {"#..#", "#..#", "#..#", "#..#", ".##."}},
    {'V', 0, {"#.#", "#.#", "#.#", "#.#", ".#."}},
    {'W', 0, {"#...#", "#...#", "#.#.#", "##.##", "#...#"}},
    {'X', 0, {"#.#", "#.#", ".#.", "#.#", "#.#"}},
    {'Y', 0, {"#.#", "#.#", ".#.", ".#.", ".#."}},
    {'Z', 0, {"###", "..#", ".#.", "#..", "###"}},
    {'a', 1, {".##", "#.#", "#.#", ".##"}},
    {'b', 0, {"#..", "##.", "#.#", "#.#", "##."}},
    {'c', 1, {".##", "#..", "#..", ".##"}},
    {'d', 0, {"..#", ".##", "#.#", "#.#", ".##"}},
    {'e', 1, {".##", "###", "#..", ".##"}},
    {'f', 0, {"..#", ".#.", "###", ".#.", ".#."}},
    {'g', 1, {".##", "#.#", "#.#", ".##", "..#", "##."}},
    {'h', 0, {"#..", "##.", "#.#", "#.#", "#.#"}},
    {'i', 0, {"#", ".", "#", "#", "#"}},
    {'j', 0, {".#", "..", ".#", ".#", ".#", "#."}},
    {'k', 0, {"#..", "#.#", "##.", "#.#", "#.#"}},
    {'l', 0, {"#.", "#.", "#.", "#.", ".#"}},
    {'m', 1, {"####.", "#.#.#", "#.#.#", "#.#.#"}},
    {'n', 1, {"##.", "#.#", "#.#", "#.#"}},
    {'o', 1, {".#.", "#.#", "#.#", ".#."}},
    {'p', 1, {"##.", "#.#", "#.#", "##.", "#..", "#.."}},
    {'q', 1, {".##", "#.#", "#.#", ".##", "..#", "..#"}},
    {'r', 1, {"#.#", "##.", "#..", "#.."}},
    {'s', 1, {".##", "#..", "..#", "##."}},
    {'t', 0, {".#.", "###", ".#.", ".#.", "..#"}},
    {'u', 1, {"#.#", "#.#", "#.#", ".##"}},
    {'v', 1, {"#.#", "#.#", "#.#", ".#."}},
    {'w', 1, {"#...#", "#.#.#", "#.#.#", ".#.#."}},
    {'x', 1, {"#..#", ".##.", ".##.", "#..#"}},
    {'y', 1, {"#.#", "#.#", "#.#", ".##", "..#", "##."}},
    {'z', 1, {"###", ".#.", "#..", "###"}},
    {'0', 0, {".#.", "#.#", "#.#", "#.#", ".#."}},
    {'1', 0, {".#.", "##.", ".#.", ".#.", "###"}},
    {'2', 0, {"##.", "..#", ".#.", "#..", "###"}},
    {'3', 0, {"##.", "..#", ".#.", "..#", "##."}},
    {'4', 0, {"#.#", "#.#", "###", "..#", "..#"}},
    {'5', 0, {"###", "#..", "##.", "..#", "##."}},
    {'6', 0, {".##", "#..", "##.", "#.#", ".#."}},
    {'7', 0, {"###", "..#", ".#.", ".#.", ".#."}},
    {'8', 0, {".#.", "#.#", ".#.", "#.#", ".#."}},
    {'9', 0, {".#.", "#.#", ".##", "..#", "##."}},
    {'(', -1, {".#", "#.", "#.", "#.", "#.", "#.", ".#"}},
    {')', -1, {"#.", ".#", ".#", ".#", ".#", ".#", "#."}},
    {'{', 0, {".##", ".#.", "#..", ".#.", ".##"}},
    {'}', 0, {"##.", ".#.", "..#", ".#.", "##."}},
    {'[', 0, {"##", "#.", "#.", "#.", "##"}},
    {']', 0, {"##", ".#", ".#", ".#", "##"}},
    {',', 4, {".#", "#."}},
    {'.', 4, {"#"}},
    {'-', 2, {"##"}},
    {'+', 1, {".#.", "###", ".#."}},
    {'=', 1, {"###", "...", "###"}},
    {'%', 0, {"##..#", "##.#.", "..#..", ".#.##", "#..##"}},
    {'!', 0, {"#", "#", "#", ".", "#"}},
    {'?', 0, {"##.", "..#", ".#.", "...", ".#."}},
    {'/', 0, {"..#", "..#", ".#.", "#..", "#.."}},
    {0x80, 1, {"#.", "##", "#."}},
    {0x83, 1, {"..#..", ".###.", "#####"}},
    {0x84, 0, {"..#..", ".#.#.", ".#.#.", "#...#", "#####"}},
    {0x85, -1, {"...#", "...#", "..#.", "#.#.", ".##.", "..#."}},
    {0x87, 1, {"#.#", ".#.", "#.#"}},
    {0x88, 0, {".#.", "...", "###", "...", ".#."}},
    {0x89, 2, {"###"}},
    {0x8A, 0, {"..#.#", ".#.#.", "#.#..", ".#.#.", "..#.#"}},
    {0x8B, 0, {"#.#..", ".#.#.", "..#.#", ".#.#.", "#.#.."}},
    {0x97, 0, {".#.", "#.#", "###", "#.#", ".#."}},
    {0x9F, 1, {"####", ".#.#", ".#.#", ".#.#"}},
    {0xA1, 1, {".###", "#.#.", "#.#.", ".#.."}},
    {0xAA, 0, {"####", ".#..", "..#.", ".#..", "####"}},
};

// 4-pixel figures: exponents and indices of captions.
const GlyphDef kMini[] = {
    {'-', 1, {"##"}},
    {'1', 0, {".#", "##", ".#", ".#"}},
    {'2', 0, {"##.", "..#", ".#.", "###"}},
    {'3', 0, {"##.", ".##", "..#", "##."}},
    {'x', 1, {"#.#", ".#.", "#.#"}},
    {'y', 1, {"#.#", ".##", "..#", "##."}},
    {'n', 1, {"##.", "#.#", "#.#"}},
    {'w', 1, {"#...#", "#.#.#", ".#.#."}},
};

// 7-pixel capitals, x-height 5: legends on keys.
const GlyphDef kLegend[] = {
    {'A', 0, {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'B', 0, {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."}},
    {'C', 0, {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."}},
    {'D', 0, {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."}},
    {'E', 0, {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
    {'F', 0, {"#####", "#....", "#....", "####.", "#....", "#....", "#...."}},
    {'G', 0, {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"}},
    {'H', 0, {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'I', 0, {"###", ".#.", ".#.", ".#.", ".#.", ".#.", "###"}},
    {'J', 0, {"....#", "....#", "....#", "....#", "....#", "#...#", ".###."}},
    {'K', 0, {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
    {'L', 0, {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
    {'M', 0, {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
    {'N', 0, {"#...#", "##..#", "##..#", "#.#.#", "#..##", "#..##", "#...#"}},
    {'O', 0, {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'P', 0, {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."}},
    {'Q', 0, {".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"}},
    {'R', 0, {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
    {'S', 0, {".###.", "#...#", "#....", ".###.", "....#", "#...#", ".###."}},
    {'T', 0, {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
    {'U', 0, {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'V', 0, {"#...#", "#...#", "#...#", ".#.#.", ".#.#.", ".#.#.", "..#.."}},
    {'W', 0, {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "##.##", "#...#"}},
    {'X', 0, {"#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"}},
    {'Y', 0, {"#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."}},
    {'Z', 0, {"#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"}},
    {'a', 2, {".###.", "....#", ".####", "#...#", ".####"}},
    {'b', 0, {"#....", "#....", "####.", "#...#", "#...#", "#...#", "####."}},
    {'c', 2, {".###", "#...", "#...", "#...", ".###"}},
    {'d', 0, {"....#", "....#", ".####", "#...#", "#...#", "#...#", ".####"}},
    {'e', 2, {".###.", "#...#", "#####", "#....", ".###."}},
    {'f', 0, {"..##", ".#..", "###.", ".#..", ".#..", ".#..", ".#.."}},
    {'g', 2, {".####", "#...#", "#...#", "#...#", ".####", "....#", ".###."}},
    {'h', 0, {"#....", "#....", "#.##.", "##..#", "#...#", "#...#", "#...#"}},
    {'i', 0, {".#.", "...", "##.", ".#.", ".#.", ".#.", "###"}},
    {'j', 0, {"..#", "...", ".##", "..#", "..#", "..#", "..#", "#.#", ".#."}},
    {'k', 0, {"#...", "#...", "#..#", "#.#.", "##..", "#.#.", "#..#"}},
    {'l', 0, {"##.", ".#.", ".#.", ".#.", ".#.", ".#.", "###"}},
    {'m', 2, {"##.#.", "#.#.#", "#.#.#", "#.#.#", "#.#.#"}},
    {'n', 2, {"#.##.", "##..#", "#...#", "#...#", "#...#"}},
    {'o', 2, {".###.", "#...#", "#...#", "#...#", ".###."}},
    {'p', 2, {"####.", "#...#", "#...#", "#...#", "####.", "#....", "#...."}},
    {'q', 2, {".####", "#...#", "#...#", "#...#", ".####", "....#", "....#"}},
    {'r', 2, {"#.##", "##..", "#...", "#...", "#..."}},
    {'s', 2, {".####", "#....", ".###.", "....#", "####."}},
    {'t', 0, {".#..", ".#..", "####", ".#..", ".#..", ".#..", "..##"}},
    {'u', 2, {"#...#", "#...#", "#...#", "#..##", ".##.#"}},
    {'v', 2, {"#...#", "#...#", ".#.#.", ".#.#.", "..#.."}},
    {'w', 2, {"#...#", "#...#", "#.#.#", "#.#.#", ".#.#."}},
    {'x', 2, {"#...#", ".#.#.", "..#..", ".#.#.", "#...#"}},
    {'y', 2, {"#...#", "#...#", "#...#", "#...#", ".####", "....#", ".###."}},
    {'z', 2, {"#####", "...#.", "..#..", ".#...", "#####"}},
    {'0', 0, {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."}},
    {'1', 0, {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'2', 0, {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"}},
    {'3', 0, {"#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###."}},
    {'4', 0, {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."}},
    {'5', 0, {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."}},
    {'6', 0, {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."}},
    {'7', 0, {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."}},
    {'8', 0, {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."}},
    {'9', 0, {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."}},
    {'(', -1, {"..#", ".#.", "#..", "#..", "#..", "#..", "#..", ".#.", "..#"}},
    {')', -1, {"#..", ".#.", "..#", "..#", "..#", "..#", "..#", ".#.", "#.."}},
    {'[', -1, {"###", "#..", "#..", "#..", "#..", "#..", "#..", "#..", "###"}},
    {'{', -1, {"..##", ".#..", ".#..", ".#..", "#...", ".#..", ".#..", ".#..", "..##"}},
    {'}', -1, {"##..", "..#.", "..#.", "..#.", "...#", "..#.", "..#.", "..#.", "##.."}},
    {']', -1, {"###", "..#", "..#", "..#", "..#", "..#", "..#", "..#", "###"}},
    {',', 5, {".#", ".#", "#."}},
    {'.', 5, {"##", "##"}},
    {'-', 3, {"####"}},
    {'+', 1, {"..#..", "..#..", "#####", "..#..", "..#.."}},
    {'=', 2, {"#####", ".....", "#####"}},
    {'!', 0, {"#", "#", "#", "#", "#", ".", "#"}},
    {'?', 0, {".###.", "#...#", "....#", "...#.", "..#..", ".....", "..#.."}},
    {'/', 0, {"....#", "...#.", "...#.", "..#..", ".#...", ".#...", "#...."}},
    {':', 2, {"#", ".", ".", ".", "#"}},
    {0x80, 1, {"#..", "##.", "###", "##.", "#.."}},
    {0x81, 0, {"...#.....", "..##.....", ".#.######", "#.......#", ".#.######", "..##.....",
               "...#....."}},
    {0x82, 0, {".....#...", ".....##..", "######.#.", "#.......#", "######.#.", ".....##..",
               ".....#..."}},
    {0x83, 2, {"..#..", ".###.", "#####"}},
    {0x84, 0, {"..#..", "..#..", ".#.#.", ".#.#.", "#...#", "#...#", "#####"}},
    {0x85, -1, {"....#", "....#", "....#", "...#.", "##.#.", ".#.#.", ".##..", "..#.."}},
    {0x87, 1, {"#...#", ".#.#.", "..#..", ".#.#.", "#...#"}},
    {0x88, 1, {"..#..", ".....", "#####", ".....", "..#.."}},
    {0x89, 3, {"####"}},
    {0x8A, 2, {"..#.#", ".#.#.", "#.#..", ".#.#.", "..#.#"}},
    {0x8B, 2, {"#.#..", ".#.#.", "..#.#", ".#.#.", "#.#.."}},
    {0x8C, -1, {"...#...", "..#.#..", ".#...#.", "###.###", "..#.#..", "..#.#..", "..#.#..",
                "..#.#..", "..###.."}},
    {0x8D, -1, {"..###..", "..#.#..", "..#.#..", "..#.#..", "..#.#..", "###.###", ".#...#.",
                "..#.#..", "...#..."}},
    {0x97, 0, {".###.", "#...#", "#...#", "#####", "#...#", "#...#", ".###."}},
    {0x9F, 2, {"#####", ".#.#.", ".#.#.", ".#.#.", ".#.#."}},
    {0xA1, 2, {".####", "#..#.", "#...#", "#...#", ".###."}},
    {0xAA, 0, {"#####", "#....", ".#...", "..#..", ".#...", "#....", "#####"}},
};

// 7-pixel heavy letters with two-pixel stems, for the words that share the
// number pad with the bold figures.  Only what those keys spell.
const GlyphDef kBold[] = {
    {'A', 0, {".####.", "##..##", "##..##", "######", "##..##", "##..##", "##..##"}},
    {'B', 0, {"#####.", "##..##", "##..##", "#####.", "##..##", "##..##", "#####."}},
    {'C', 0, {".#####", "##....", "##....", "##....", "##....", "##....", ".#####"}},
    {'D', 0, {"#####.", "##..##", "##..##", "##..##", "##..##", "##..##", "#####."}},
    {'E', 0, {"######", "##....", "##....", "#####.", "##....", "##....", "######"}},
    {'F', 0, {"######", "##....", "##....", "#####.", "##....", "##....", "##...."}},
    {'N', 0, {"##...##", "###..##", "####.##", "##.####", "##..###", "##...##", "##...##"}},
    {'P', 0, {"#####.", "##..##", "##..##", "#####.", "##....", "##....", "##...."}},
    {'X', 0, {"##..##", "##..##", ".####.", "..##..", ".####.", "##..##", "##..##"}},
    {'e', 2, {".####.", "##..##", "######", "##....", ".####."}},
    {'g', 2, {".#####", "##..##", "##..##", "##..##", ".#####", "....##", ".####."}},
    {'n', 2, {"#####.", "##..##", "##..##", "##..##", "##..##"}},
    {'s', 2, {".####", "##...", ".###.", "...##", "####."}},
    {'0', 0, {".####.", "##..##", "##..##", "##..##", "##..##", "##..##", ".####."}},
    {'1', 0, {".##.", "###.", ".##.", ".##.", ".##.", ".##.", "####"}},
    {'[', -1, {"###", "##.", "##.", "##.", "##.", "##.", "##.", "##.", "###"}},
    {']', -1, {"###", ".##", ".##", ".##", ".##", ".##", ".##", ".##", "###"}},
    {'+', 1, {"..##..", "..##..", "######", "..##..", "..##.."}},
    {0x87, 1, {"##..##", ".####.", "..##..", ".####.", "##..##"}},
    {0xAA, 0, {"######", "##....", ".##...", "..##..", ".##...", "##....", "######"}},
};

// 10-pixel bold figures of the number pad.
const GlyphDef kBig[] = {
    {'0', 0, {".####.", "##..##", "##..##", "##..##", "##..##", "##..##", "##..##", "##..##",
              "##..##", ".####."}},
    {'1', 0, {"..##..", ".###..", "####..", "..##..", "..##..", "..##..", "..##..", "..##..",
              "..##..", "######"}},
    {'2', 0, {".####.", "##..##", "....##", "....##", "...##.", "..##..", ".##...", "##....",
              "##....", "######"}},
    {'3', 0, {".####.", "##..##", "....##", "....##", "..###.", "....##", "....##", "....##",
              "##..##", ".####."}},
    {'4', 0, {"...##.", "..###.", ".####.", "##.##.", "##.##.", "######", "...##.", "...##.",
              "...##.", "...##."}},
    {'5', 0, {"######", "##....", "##....", "#####.", "....##", "....##", "....##", "....##",
              "##..##", ".####."}},
    {'6', 0, {"..###.", ".##...", "##....", "#####.", "##..##", "##..##", "##..##", "##..##",
              "##..##", ".####."}},
    {'7', 0, {"######", "....##", "....##", "...##.", "...##.", "..##..", "..##..", "..##..",
              "..##..", "..##.."}},
    {'8', 0, {".####.", "##..##", "##..##", "##..##", ".####.", "##..##", "##..##", "##..##",
              "##..##", ".####."}},
    {'9', 0, {".####.", "##..##", "##..##", "##..##", "##..##", ".#####", "....##", "....##",
              "...##.", ".###.."}},
    {'.', 8, {"##", "##"}},
    {',', 8, {"##", "##", ".#", "#."}},
};

struct Glyph {
    int top = 0;
    int width = 0;
    const char* const* rows = nullptr;
    int height = 0;
};

struct Alphabet {
    const GlyphDef* defs;
    int count;
    int cap;
    int spacing;
    int space_width;
    Type smaller;
    int sup_top;   // cap top of superscripts, relative to ours
    int sub_top;   // cap top of subscripts
    int overlay;   // rows between the top of a glyph and a bar over it
};

const Alphabet& alphabet(Type t) {
    static const Alphabet big{kBig, static_cast<int>(std::size(kBig)), 10, 2, 5, Type::Legend,
                              -2, 5, 2};
    static const Alphabet bold{kBold, static_cast<int>(std::size(kBold)), 7, 1, 4,
                               Type::Caption, -2, 3, 2};
    static const Alphabet legend{kLegend, static_cast<int>(std::size(kLegend)), 7, 1, 3,
                                 Type::Caption, -2, 3, 2};
    static const Alphabet caption{kCaption, static_cast<int>(std::size(kCaption)), 5, 1, 2,
                                  Type::Mini, -2, 2, 2};
    static const Alphabet mini{kMini, static_cast<int>(std::size(kMini)), 4, 1, 2, Type::Mini,
                               -1, 2, 2};
    switch (t) {
        case Type::Big: return big;
        case Type::Bold: return bold;
        case Type::Legend: return legend;
        case Type::Caption: return caption;
        case Type::Mini: break;
    }
    return mini;
}

Glyph find_glyph(Type t, unsigned char c) {
    const Alphabet& a = alphabet(t);
    for (int k = 0; k < a.count; ++k) {
        if (a.defs[k].code != c) continue;
        Glyph g;
        g.top = a.defs[k].top;
        g.rows = a.defs[k].rows;
        g.width = static_cast<int>(std::strlen(a.defs[k].rows[0]));
        while (g.height < 11 && g.rows[g.height]) ++g.height;
        return g;
    }
    // A missing glyph is a mistake in a legend: say so, draw nothing.
    std::fprintf(stderr, "quorix_artgen: no glyph 0x%02X in alphabet %d\n", c,
                 static_cast<int>(t));
    return Glyph{};
}

void put_glyph(Surface* s, const Glyph& g, int x, int cap_top, Colour c) {
    if (!s) return;
    for (int r = 0; r < g.height; ++r)
        for (int k = 0; k < g.width; ++k)
            if (g.rows[r][k] == '#') s->set(x + k, cap_top + g.top + r, c);
}

// Reads a markup group: {...} or a single character.
std::string take_group(const char*& p) {
    if (*p == '{') {
        const char* start = ++p;
        int depth = 1;
        while (*p && depth) {
            if (*p == '{') ++depth;
            if (*p == '}') --depth;
            if (depth) ++p;
        }
        std::string g(start, p);
        if (*p) ++p;
        return g;
    }
    if (!*p) return {};
    return std::string(1, *p++);
}

// Lays out (and with a surface, draws) the markup.  Returns the width.
int render(Surface* s, Type t, const char* text, int x, int cap_top, Colour c) {
    const Alphabet& a = alphabet(t);
    const int x0 = x;
    int pending = 0;   // spacing owed before the next mark
    for (const char* p = text; *p;) {
        const unsigned char ch = static_cast<unsigned char>(*p);
        if (ch == '^' || ch == '_') {
            ++p;
            std::string g = take_group(p);
            x += pending;
            x += render(s, a.smaller, g.c_str(), x, cap_top + (ch == '^' ? a.sup_top : a.sub_top),
                        c);
            pending = a.spacing;
            continue;
        }
        if (ch == ' ') {
            ++p;
            x += pending + a.space_width - a.spacing;
            pending = a.spacing;
            continue;
        }
        if (ch == 0x01 || ch == 0x02) {
            ++p;
            if (!*p) break;
            Glyph g = find_glyph(t, static_cast<unsigned char>(*p++));
            x += pending;
            put_glyph(s, g, x, cap_top, c);
            if (s) {
                const int row = cap_top + g.top - a.overlay;
                if (ch == 0x01) {
                    for (int k = 0; k < g.width; ++k) s->set(x + k, row, c);
                } else {
                    // The hat is three pixels wide, centred on the glyph.
                    const int mid = x + g.width / 2;
                    s->set(mid, row - 1, c);
                    s->set(mid - 1, row, c);
                    s->set(mid + 1, row, c);
                }
            }
            x += g.width;
            pending = a.spacing;
            continue;
        }
        if (ch == static_cast<unsigned char>(sym::RADICAL)) {
            ++p;
            std::string g = take_group(p);
            Glyph rad = find_glyph(t, ch);
            x += pending;
            put_glyph(s, rad, x, cap_top, c);
            x += rad.width;
            const int bar_row = cap_top + rad.top;
            int inner;
            if (g.empty()) {
                // A place-holder box for the radicand, taller than wide so
                // it does not read as a letter o.
                inner = a.cap - 3;
                if (s) frame_rect(*s, c, x + 2, cap_top + 1, x + inner + 1, cap_top + a.cap - 1);
                inner += 2;
            } else {
                inner = render(s, t, g.c_str(), x + 1, cap_top, c) + 1;
            }
            if (s)
                for (int k = 0; k <= inner; ++k) s->set(x + k, bar_row, c);
            x += inner + 1;
            pending = a.spacing;
            continue;
        }
        ++p;
        Glyph g = find_glyph(t, ch);
        if (!g.rows) continue;
        x += pending;
        put_glyph(s, g, x, cap_top, c);
        x += g.width;
        pending = a.spacing;
    }
    return x - x0;
}

}  // namespace

int cap_height(Type type) { return alphabet(type).cap; }

int legend_width(Type type, const char* text) { return render(nullptr, type, text, 0, 0, 0); }

int draw_legend(Surface& s, Type type, const char* text, int x, int cap_top, Colour c) {
    return render(&s, type, text, x, cap_top, c);
}

int draw_legend_bold(Surface& s, Type type, const char* text, int x, int cap_top, Colour c) {
    render(&s, type, text, x + 1, cap_top, c);
    return render(&s, type, text, x, cap_top, c) + 1;
}

int legend_width_bold(Type type, const char* text) { return legend_width(type, text) + 1; }

void centre_legend(Surface& s, const Box& b, Type type, const char* text, Colour c, bool bold,
                   int dy) {
    const int w = bold ? legend_width_bold(type, text) : legend_width(type, text);
    const int x = b.left + (b.width() - w) / 2;
    const int y = b.top + (b.height() - cap_height(type)) / 2 + dy;
    if (bold) draw_legend_bold(s, type, text, x, y, c);
    else draw_legend(s, type, text, x, y, c);
}

// ---- key bodies -----------------------------------------------------------

KeyColours key_colours(KeyStyle style) {
    using namespace palette;
    auto keycap = [](Colour face, int top, int skirt, Colour text) {
        return KeyColours{key_outline, shade(face, top), face, shade(face, skirt), text};
    };
    switch (style) {
        case KeyStyle::Function: return keycap(key_dark, 30, -16, key_text);
        case KeyStyle::Digit: return keycap(key_digit, 34, -58, key_text_dark);
        case KeyStyle::Operator: return keycap(key_grey, 34, -34, key_text);
        case KeyStyle::Light: return keycap(key_light, 34, -56, key_text_dark);
        case KeyStyle::Equals: return keycap(key_equals, 40, -40, key_text);
        case KeyStyle::Clear: return keycap(key_clear, 40, -36, key_text);
        case KeyStyle::Alarm: return keycap(key_red, 60, -70, rgb(255, 255, 255));
        case KeyStyle::Blue: return keycap(shift_blue, 40, -52, key_text_dark);
        case KeyStyle::Orange: return keycap(shift_orange, 40, -56, key_text_dark);
        case KeyStyle::Mode: return keycap(mode_face, 14, -8, mode_text);
        case KeyStyle::ModeActive: return keycap(mode_active, 30, -48, mode_active_text);
        case KeyStyle::Tab: return keycap(tab_face, 16, -10, tab_text);
        case KeyStyle::TabSelected:
            return keycap(tab_selected, 30, -48, tab_selected_text);
    }
    return keycap(key_dark, 30, -16, key_text);
}

namespace {
bool is_flat(KeyStyle style, const Box& b) {
    return style == KeyStyle::Mode || style == KeyStyle::ModeActive || style == KeyStyle::Tab ||
           style == KeyStyle::TabSelected || b.height() < 14;
}
}  // namespace

Box face_area(const Box& b, KeyStyle style) {
    if (is_flat(style, b)) return Box{b.left + 1, b.top + 2, b.right - 1, b.bottom - 2};
    return Box{b.left + 2, b.top + 2, b.right - 2, b.bottom - 3};
}

Box draw_key(Surface& s, const Box& b, KeyStyle style) {
    const KeyColours k = key_colours(style);
    const int l = b.left, t = b.top, r = b.right, bt = b.bottom;
    const int skirt_rows = is_flat(style, b) ? 1 : 2;
    fill_rect(s, k.face, l + 1, t + 1, r - 1, bt - 1);
    fill_rect(s, k.top, l + 1, t + 1, r - 1, t + 1);
    fill_rect(s, k.skirt, l + 1, bt - skirt_rows, r - 1, bt - 1);
    if (!is_flat(style, b)) {
        // The sides catch a little light on the left and fall into shadow on
        // the right, so the face reads as slightly domed.
        fill_rect(s, mix(k.face, k.top, 45), l + 1, t + 2, l + 1, bt - skirt_rows - 1);
        fill_rect(s, mix(k.face, k.skirt, 45), r - 1, t + 2, r - 1, bt - skirt_rows - 1);
    }
    fill_rect(s, k.outline, l + 1, t, r - 1, t);
    fill_rect(s, k.outline, l + 1, bt, r - 1, bt);
    fill_rect(s, k.outline, l, t + 1, l, bt - 1);
    fill_rect(s, k.outline, r, t + 1, r, bt - 1);
    // Soften the inner corners towards the outline: a two-pixel radius.
    s.set(l + 1, t + 1, mix(k.top, k.outline, 55));
    s.set(r - 1, t + 1, mix(k.top, k.outline, 55));
    s.set(l + 1, bt - 1, mix(k.skirt, k.outline, 55));
    s.set(r - 1, bt - 1, mix(k.skirt, k.outline, 55));
    return face_area(b, style);
}

// ---- drawn symbols ---------------------------------------------------------

void draw_triangle(Surface& s, int cx, int cy, Direction d, int half, Colour c) {
    for (int i = 0; i <= half; ++i) {
        const int span = half - i;   // half-length of the row or column at depth i
        switch (d) {
            case Direction::Right:
                fill_rect(s, c, cx - half / 2 + i, cy - span, cx - half / 2 + i, cy + span);
                break;
            case Direction::Left:
                fill_rect(s, c, cx + half / 2 - i, cy - span, cx + half / 2 - i, cy + span);
                break;
            case Direction::Down:
                fill_rect(s, c, cx - span, cy - half / 2 + i, cx + span, cy - half / 2 + i);
                break;
            case Direction::Up:
                fill_rect(s, c, cx - span, cy + half / 2 - i, cx + span, cy + half / 2 - i);
                break;
        }
    }
}

void fill_disc(Surface& s, double cx, double cy, double radius, Colour c) {
    const int x0 = static_cast<int>(std::floor(cx - radius)), x1 = static_cast<int>(std::ceil(cx + radius));
    const int y0 = static_cast<int>(std::floor(cy - radius)), y1 = static_cast<int>(std::ceil(cy + radius));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
            if (dx * dx + dy * dy <= radius * radius) s.set(x, y, c);
        }
}

void ring(Surface& s, double cx, double cy, double radius, double thickness, Colour c) {
    const int x0 = static_cast<int>(std::floor(cx - radius)), x1 = static_cast<int>(std::ceil(cx + radius));
    const int y0 = static_cast<int>(std::floor(cy - radius)), y1 = static_cast<int>(std::ceil(cy + radius));
    const double inner = radius - thickness;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
            const double d2 = dx * dx + dy * dy;
            if (d2 <= radius * radius && d2 >= inner * inner) s.set(x, y, c);
        }
}

void draw_captions(Surface& s, const Box& key, const char* blue, const char* orange) {
    const bool has_blue = blue && *blue, has_orange = orange && *orange;
    if (!has_blue && !has_orange) return;
    const int cap_top = key.top - 8;
    const int wb = has_blue ? legend_width(Type::Caption, blue) : 0;
    const int wo = has_orange ? legend_width(Type::Caption, orange) : 0;
    const int centre = key.left + key.width() / 2;
    if (has_blue != has_orange) {
        const int w = has_blue ? wb : wo;
        draw_legend(s, Type::Caption, has_blue ? blue : orange, centre - w / 2, cap_top,
                    has_blue ? palette::shift_blue : palette::shift_orange);
        return;
    }
    // Each on its own half; if they are too wide for that, spread them
    // apart evenly while keeping a clear gap between them.
    int xb = key.left + key.width() / 4 - wb / 2;
    int xo = key.left + 3 * key.width() / 4 - wo / 2;
    const int gap = 4;
    if (xb + wb + gap > xo) {
        const int overlap = xb + wb + gap - xo;
        xb -= overlap / 2;
        xo += overlap - overlap / 2;
    }
    xb = std::max(xb, key.left - 1);
    xo = std::min(xo, key.right + 2 - wo);
    draw_legend(s, Type::Caption, blue, xb, cap_top, palette::shift_blue);
    draw_legend(s, Type::Caption, orange, xo, cap_top, palette::shift_orange);
}

void draw_lamp(Surface& s, int left, int top, int diameter, Colour colour, bool lit,
               Colour socket) {
    const double r = diameter / 2.0;
    fill_disc(s, left + r, top + r, r, socket);
    if (lit) {
        fill_disc(s, left + r, top + r, r - 1, colour);
        fill_disc(s, left + r - 0.5, top + r - 0.5, std::max(0.8, r - 2.4),
                  mix(colour, rgb(255, 255, 255), 45));
        s.set(left + static_cast<int>(r) - 2 + (diameter <= 6 ? 1 : 0),
              top + static_cast<int>(r) - 2 + (diameter <= 6 ? 1 : 0), rgb(250, 250, 246));
    } else {
        fill_disc(s, left + r, top + r, r - 1, mix(colour, rgb(0, 0, 0), 68));
        s.set(left + static_cast<int>(r) - 2 + (diameter <= 6 ? 1 : 0),
              top + static_cast<int>(r) - 2 + (diameter <= 6 ? 1 : 0),
              mix(colour, rgb(0, 0, 0), 45));
    }
}

}  // namespace qx::art

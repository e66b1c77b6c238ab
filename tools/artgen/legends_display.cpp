// The legends of the input and result lines: one per character of the
// display font and one per token.  Every one is 16 pixels high with the
// display font's baseline, black ink on white, and as wide as its ink plus
// one clear column, so that legends placed side by side read as text.
//
// Words are set in the display font itself; symbols that the font would
// draw poorly (operators, roots, the integral, superscripts and subscripts)
// are drawn here pixel by pixel, placed on lines measured from the font so
// that they share its baseline, operator axis and stroke.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "panel/legend_names.h"
#include "platform/font.h"
#include "tools/artgen/art.h"
#include "tools/artgen/legends_art.h"

namespace qx::art::legends {

namespace {

constexpr int kHeight = 16;
constexpr int kMaxCharWidth = 7;   // a 22-character name and the cursor fill one line

// Where the display font puts things.
struct Metrics {
    int base;      // lowest row of a capital or digit (the row above the baseline)
    int cap_top;   // highest row of a capital
    int x_top;     // highest row of a lower-case x
    int axis;      // row of the minus sign: operators are centred on it
    int sup_top;   // first row of a small superscript
    int sub_top;   // first row of a small subscript
};

InkBox char_ink(unsigned char c) {
    Surface s(24, kHeight, kPaper);
    const char text[2] = {static_cast<char>(c), 0};
    draw_text(s, FONT_DISPLAY, text, 0, 0, kInk);
    return ink_box(s);
}

Metrics measure_font() {
    Metrics m{};
    m.base = font_ascent(FONT_DISPLAY) - 1;
    m.cap_top = m.base - 8;
    m.x_top = m.base - 5;
    m.axis = m.base - 4;
    // Glyphs that do not stand on the baseline are stand-ins drawn before
    // the real tables exist; their measures would put every symbol in the
    // wrong place, so the usual proportions are kept instead.
    const InkBox h = char_ink('H');
    if (!h.empty() && h.bottom == m.base && h.top >= 1 && h.top <= m.base - 5) {
        m.cap_top = h.top;
        const InkBox x = char_ink('x');
        if (!x.empty() && x.bottom == m.base && x.top > m.cap_top) m.x_top = x.top;
        const InkBox minus = char_ink('-');
        if (!minus.empty() && minus.bottom - minus.top <= 1 && minus.top > m.cap_top &&
            minus.top < m.base)
            m.axis = minus.top;
    }
    m.sup_top = m.cap_top - 1;
    m.sub_top = m.base - 2;
    return m;
}

// ---------------------------------------------------------------------------
// The small glyphs of superscripts and subscripts: three pixels wide, five
// rows for digits and capitals, lower case three rows high on the same
// bottom line with a two-row descender.

struct Mini {
    char c;
    const char* rows[7];
};

// clang-format off
const Mini kMini[] = {
    {'0', {"###", "#.#", "#.#", "#.#", "###"}},
    {'1', {".#.", "##.", ".#.", ".#.", "###"}},
    {'2', {"##.", "..#", ".#.", "#..", "###"}},
    {'3', {"##.", "..#", ".#.", "..#", "##."}},
    {'4', {"#.#", "#.#", "###", "..#", "..#"}},
    {'5', {"###", "#..", "##.", "..#", "##."}},
    {'6', {".##", "#..", "###", "#.#", "###"}},
    {'7', {"###", "..#", ".#.", ".#.", ".#."}},
    {'8', {"###", "#.#", "###", "#.#", "###"}},
    {'9', {"###", "#.#", "###", "..#", "##."}},
    {'-', {"..", "..", "##", "..", ".."}},
    {'^', {".#.", "#.#"}},
    {'T', {"###", ".#.", ".#.", ".#.", ".#."}},
    {'b', {"#..", "#..", "##.", "#.#", "##."}},
    {'d', {"..#", "..#", ".##", "#.#", ".##"}},
    {'g', {"...", "...", ".##", "#.#", ".##", "..#", "##."}},
    {'h', {"#..", "#..", "##.", "#.#", "#.#"}},
    {'n', {"...", "...", "##.", "#.#", "#.#"}},
    {'o', {"....", "....", ".##.", "#..#", ".##."}},
    {'r', {"...", "...", "#.#", "##.", "#.."}},
    {'w', {".....", ".....", "#...#", "#.#.#", ".#.#."}},
    {'x', {"...", "...", "#.#", ".#.", "#.#"}},
};
// clang-format on

const Mini& mini_glyph(char c) {
    for (const Mini& g : kMini)
        if (g.c == c) return g;
    std::fprintf(stderr, "quorix_artgen: no small glyph for '%c'\n", c);
    std::exit(EXIT_FAILURE);
}

int mini_rows(const Mini& g) {
    int n = 0;
    while (n < 7 && g.rows[n]) ++n;
    return n;
}

// ---------------------------------------------------------------------------
// A legend under construction: a pen moving right along a 16-pixel line.

int g_missing_glyphs = 0;

class Line {
public:
    explicit Line(const Metrics& m) : m_(m), s_(128, kHeight, kPaper) {}

    // Text in the display font.  A character the font does not have yet is
    // drawn as an outlined stand-in so that the gap shows.
    Line& text(const char* t, bool bold = false) {
        for (const unsigned char* p = reinterpret_cast<const unsigned char*>(t); *p; ++p) {
            const char one[2] = {static_cast<char>(*p), 0};
            if (!font_has_char(FONT_DISPLAY, *p)) {
                ++g_missing_glyphs;
                frame_rect(s_, kInk, pen_, m_.cap_top, pen_ + 4, m_.base);
                pen_ += 6;
                continue;
            }
            draw_text(s_, FONT_DISPLAY, one, pen_, 0, kInk);
            // Struck a second time one column to the right: the stroke
            // doubles across, the height and the baseline stay.
            if (bold) draw_text(s_, FONT_DISPLAY, one, pen_ + 1, 0, kInk);
            pen_ += char_width(FONT_DISPLAY, *p) + (bold ? 1 : 0);
        }
        return *this;
    }
    Line& bold(const char* t) { return text(t, true); }

    // Pixel art with its top row at `top`, then one clear column.
    Line& art(int top, std::initializer_list<const char*> rows) {
        pen_ += stamp(s_, pen_, top, rows) + 1;
        return *this;
    }

    // Small glyphs with their five-row cell starting at `top`.
    Line& mini(const char* t, int top) {
        for (const char* p = t; *p; ++p) {
            const Mini& g = mini_glyph(*p);
            pen_ += stamp(s_, pen_, top, g.rows, mini_rows(g)) + 1;
        }
        return *this;
    }
    Line& sup(const char* t) { return mini(t, m_.sup_top); }
    // Lower-case superscripts are lifted by a row only: raised to the
    // digits' top line, a g would pass for a superscript 9.
    Line& sup_lower(const char* t) { return mini(t, m_.sup_top - 1); }
    Line& sub(const char* t) { return mini(t, m_.sub_top); }

    // Deliberate space, kept even at the end of the legend.
    Line& gap(int n) {
        pen_ += n;
        reserved_ = std::max(reserved_, pen_);
        return *this;
    }

    // A bar over the ink drawn since column `from` (the mean's bar).
    Line& bar_over(int from) {
        const InkBox b = ink_box(s_, from, pen_ - 1);
        if (!b.empty()) fill_rect(s_, kInk, b.left, b.top - 2, b.right, b.top - 2);
        return *this;
    }
    // A circumflex over the ink drawn since column `from` (the estimate's hat).
    Line& hat_over(int from) {
        const InkBox b = ink_box(s_, from, pen_ - 1);
        if (b.empty()) return *this;
        const int centre = (b.left + b.right) / 2;
        stamp(s_, centre - 2, b.top - 4, {"..#..", ".#.#.", "#...#"});
        return *this;
    }

    int pen() const { return pen_; }
    Surface& canvas() { return s_; }

    // Ink plus one clear column, or the reserved space if that is wider.
    Surface done() const {
        const InkBox b = ink_box(s_);
        return crop_width(s_, std::max(b.right + 2, std::max(reserved_, 1)));
    }

private:
    const Metrics& m_;
    Surface s_;
    int pen_ = 0;
    int reserved_ = 0;
};

// ---------------------------------------------------------------------------
// Pixel symbols, each anchored to the lines of the font.

// The radical: a short tick, the long stroke down to the baseline and up
// past the capitals, and a stub of the bar.  A small index (the 3 of the
// cube root, the x of the x-th root) sits above the tick.
void draw_radical(Line& l, const Metrics& m, char index = 0) {
    const int x = l.pen();
    const int top = m.base - 9;
    stamp(l.canvas(), x, top + 5, {"#", ".#", ".#"});
    l.art(top, {
        ".....##",
        ".....#.",
        ".....#.",
        "....#..",
        "....#..",
        "....#..",
        "...#...",
        "...#...",
        "..##...",
        "..#....",
    });
    if (index) {
        const Mini& g = mini_glyph(index);
        // Lower-case glyphs are drawn in the bottom three rows of their
        // cell: lift them so that they end where a digit would.
        const int lift = std::islower(static_cast<unsigned char>(index)) ? 2 : 0;
        stamp(l.canvas(), x, top - 1 - lift, g.rows, mini_rows(g));
    }
}

// ---------------------------------------------------------------------------

void add(ArtList& out, const std::string& name, Surface s) {
    out.push_back({name, Kind::Legend, std::move(s)});
}

// The characters of the display font, as program names, units and text
// are spelled out of them.
void draw_characters(ArtList& out, const Metrics& m) {
    for (int c = 0; c < 256; ++c) {
        const auto ch = static_cast<unsigned char>(c);
        if (!char_has_legend(ch)) continue;
        const std::string name = char_legend(ch);
        int width = char_width(FONT_DISPLAY, ch);
        Surface s;
        if (!font_has_char(FONT_DISPLAY, ch)) {
            ++g_missing_glyphs;
            const bool blank = ch == ' ' || ch == 0x1D;
            width = ch == ' ' ? 5 : ch == 0x1D ? 2 : 6;
            s = Surface(width, kHeight, kPaper);
            if (!blank) frame_rect(s, kInk, 0, m.cap_top, 4, m.base);
        } else {
            Surface wide(24, kHeight, kPaper);
            const char text[2] = {static_cast<char>(ch), 0};
            draw_text(wide, FONT_DISPLAY, text, 0, 0, kInk);
            const InkBox b = ink_box(wide);
            if (b.right >= kMaxCharWidth) {
                std::fprintf(stderr,
                             "quorix_artgen: display glyph 0x%02X has ink %d pixels wide; "
                             "a character may be at most %d\n",
                             c, b.right + 1, kMaxCharWidth);
                std::exit(EXIT_FAILURE);
            }
            // A wider advance is only blank columns: trim it so that a full
            // program name still fits the line.
            width = std::clamp(width, 1, kMaxCharWidth);
            s = crop_width(wide, width);
        }
        add(out, name, std::move(s));
    }
}

// The digits of numbers.  They are struck bold when the font's digit leaves
// room for it, so that numbers stand out from names spelled with the same
// characters; all ten share one width so that columns of results line up.
struct DigitStyle {
    bool bold = false;
    int width = 0;
};

DigitStyle digit_style() {
    DigitStyle d;
    int widest_ink = 0;
    for (char c = '0'; c <= '9'; ++c) {
        const InkBox b = char_ink(static_cast<unsigned char>(c));
        widest_ink = std::max(widest_ink, b.right + 1);
    }
    d.bold = widest_ink + 1 + 1 <= kMaxCharWidth;
    d.width = widest_ink + (d.bold ? 1 : 0) + 1;
    return d;
}

void draw_number_legends(ArtList& out, const Metrics& m) {
    const DigitStyle style = digit_style();
    static const char* const kDigits[10] = {"0_dig", "1_dig", "2_dig", "3_dig", "4_dig",
                                            "5_dig", "6_dig", "7_dig", "8_dig", "9_dig"};
    for (int d = 0; d < 10; ++d) {
        const char t[2] = {static_cast<char>('0' + d), 0};
        Line l(m);
        l.text(t, style.bold);
        add(out, kDigits[d], crop_width(l.canvas(), std::max(style.width, ink_box(l.canvas()).right + 2)));
    }
    // Hexadecimal digits share the digits' weight; a thin rule under them
    // tells a digit A from a variable A when the digits are not bold.
    static const char* const kHex[6] = {"hex_A", "hex_B", "hex_C", "hex_D", "hex_E", "hex_F"};
    for (int d = 0; d < 6; ++d) {
        const char t[2] = {static_cast<char>('A' + d), 0};
        Line l(m);
        l.text(t, style.bold);
        if (!style.bold) {
            const InkBox b = ink_box(l.canvas());
            fill_rect(l.canvas(), kInk, b.left, m.base + 2, b.right, m.base + 2);
        }
        add(out, kHex[d], l.done());
    }
    {
        // The decimal point matches the digits' weight.
        Line l(m);
        if (style.bold) l.art(m.base - 1, {"##", "##"});
        else l.text(".");
        add(out, "decimal", l.done());
    }
    {
        Line l(m);
        l.text("\x1B");
        add(out, "Exp", l.done());
    }
    {
        // Negation is a short minus raised to the top of the small letters,
        // so that "-2" and "3-2" never look alike.
        Line l(m);
        l.art(m.axis - 3, {"###"});
        add(out, "neg", l.done());
    }
    {
        Line l(m);
        l.art(m.base + 1, {"######", "######"});
        add(out, "underline", l.done());
    }
    const char* const kSuffix[4][2] = {{"base_bin", "b"}, {"base_dec", "d"}, {"base_hex", "h"},
                                       {"base_oct", "o"}};
    for (const auto& s : kSuffix) {
        Line l(m);
        l.sub(s[1]);
        add(out, s[0], l.done());
    }
}

void draw_operator_legends(ArtList& out, const Metrics& m) {
    const int a = m.axis;
    auto art = [&](const char* name, int top, std::initializer_list<const char*> rows) {
        Line l(m);
        l.art(top, rows);
        add(out, name, l.done());
    };
    art("pluss", a - 2, {"..#..", "..#..", "#####", "..#..", "..#.."});
    art("minus", a, {"#####"});
    art("multiply", a - 2, {"#...#", ".#.#.", "..#..", ".#.#.", "#...#"});
    art("divide", a - 2, {"..#..", ".....", "#####", ".....", "..#.."});
    art("power", m.cap_top, {"..#..", ".#.#.", "#...#"});
    // The store arrow points at the variable named after it.
    art("save_m", a - 3, {"#...", "##..", "###.", "####", "###.", "##..", "#..."});
    // Shifts: two chevrons nested into one sign, half the width of "<<".
    art("shl", a - 3, {"...#..#", "..#..#.", ".#..#..", "#..#...", ".#..#..", "..#..#.", "...#..#"});
    art("shr", a - 3, {"#..#...", ".#..#..", "..#..#.", "...#..#", "..#..#.", ".#..#..", "#..#..."});

    auto word = [&](const char* name, const char* text, int space) {
        Line l(m);
        l.gap(space).text(text).gap(space);
        add(out, name, l.done());
    };
    // Word operators stand between their operands with a little air.
    word("and", "and", 2);
    word("or", "or", 2);
    word("xor", "xor", 2);
    word("xnor", "xnor", 2);
    word("mod", "mod", 2);
    word("fmod", "fmod", 2);
    {
        // Prefix words are followed by their operand without a bracket.
        Line l(m);
        l.text("not").gap(2);
        add(out, "not", l.done());
        Line n(m);
        n.text("Neg").gap(2);
        add(out, "base_neg", n.done());
    }
    {
        // Permutations and combinations: a heavy capital of lower-case
        // height, set apart from the numbers on either side, so that 5P2
        // never reads as a number however bold the digits are.
        Line p(m);
        p.gap(2).art(m.base - 6, {
            "####.",
            "##.##",
            "##.##",
            "####.",
            "##...",
            "##...",
            "##...",
        }).gap(1);
        add(out, "npr", p.done());
        Line c(m);
        c.gap(2).art(m.base - 6, {
            ".####",
            "##...",
            "##...",
            "##...",
            "##...",
            "##...",
            ".####",
        }).gap(1);
        add(out, "ncr", c.done());
    }
    {
        // The relative change: a delta of capital height before the percent.
        Line l(m);
        l.gap(1).art(m.base - 9, {
            "...#...",
            "...#...",
            "..#.#..",
            "..#.#..",
            "..#.#..",
            ".#...#.",
            ".#...#.",
            "#.....#",
            "#.....#",
            "#######",
        });
        l.text("%").gap(1);
        add(out, "percent_chg", l.done());
    }
    word("percent", "%", 0);
    word("factorial", "!", 0);
}

void draw_function_legends(ArtList& out, const Metrics& m) {
    for (const char* name : {"sin", "cos", "tan", "sinh", "cosh", "tanh"}) {
        Line l(m);
        l.text(name);
        add(out, name, l.done());
        Line inverse(m);
        inverse.text(name).sup("-1");
        add(out, std::string("a") + name, inverse.done());
    }
    {
        Line l(m);
        draw_radical(l, m);
        add(out, "square_root", l.done());
    }
    {
        Line l(m);
        draw_radical(l, m, '3');
        add(out, "cube_root", l.done());
    }
    {
        Line l(m);
        draw_radical(l, m, 'x');
        add(out, "inv_power", l.done());
    }
    {
        Line l(m);
        l.text("e").sup("^");
        add(out, "inv_ln", l.done());
    }
    {
        Line l(m);
        l.text("10").sup("^");
        add(out, "inv_log", l.done());
    }
    {
        Line l(m);
        l.sup("-1");
        add(out, "invert", l.done());
    }
    {
        Line l(m);
        l.sup("2");
        add(out, "squared", l.done());
    }
    {
        Line l(m);
        l.sup("3");
        add(out, "cube", l.done());
    }
    {
        Line l(m);
        l.sup("T");
        add(out, "transpose", l.done());
    }
    {
        Line l(m);
        l.text("\x1C");
        add(out, "angle_deg", l.done());
    }
    {
        Line l(m);
        l.sup_lower("r");
        add(out, "angle_rad", l.done());
    }
    {
        Line l(m);
        l.sup_lower("g");
        add(out, "angle_grad", l.done());
    }
    {
        Line l(m);
        l.art(m.base - 10, {
            "...##",
            "..#..",
            "..#..",
            "..#..",
            "..#..",
            "..#..",
            "..#..",
            "..#..",
            "..#..",
            "..#..",
            "..#..",
            "..#..",
            "..#..",
            "##...",
        });
        add(out, "INTEGRAL", l.done());
    }
    {
        Line l(m);
        l.text("d/dx");
        add(out, "DERIVATIVE", l.done());
    }
    {
        Line l(m);
        l.art(m.base - 9, {
            "#######",
            "#.....#",
            ".#.....",
            "..#....",
            "...#...",
            "....#..",
            "...#...",
            "..#....",
            ".#.....",
            "#.....#",
            "#######",
        });
        add(out, "SUMMATION", l.done());
    }
    const char* const kBrackets[6][2] = {{"start_paren", "("},   {"end_paren", ")"},
                                         {"start_brack_1", "["}, {"end_brack_1", "]"},
                                         {"start_brack_2", "{"}, {"end_brack_2", "}"}};
    for (const auto& b : kBrackets) {
        Line l(m);
        l.text(b[1]);
        add(out, b[0], l.done());
    }
}

void draw_constant_legends(ArtList& out, const Metrics& m) {
    auto word = [&](const char* name, const char* text) {
        Line l(m);
        l.text(text);
        add(out, name, l.done());
    };
    word("ans", "Ans");
    word("m_ans", "MAns");
    word("l_ans", "LAns");
    word("rand_num", "Rand");
    word("pi", "\x9F");
    word("imaginary", "\x1A");
    {
        // The constant e is bold so that it is never read as a variable.
        Line l(m);
        l.bold("e");
        add(out, "e_constant", l.done());
    }
}

void draw_statistics_legends(ArtList& out, const Metrics& m) {
    auto mean = [&](const char* name, const char* letter, const char* weight) {
        Line l(m);
        const int from = l.pen();
        l.text(letter).bar_over(from);
        if (weight) l.sub(weight);
        add(out, name, l.done());
    };
    mean("mean_x", "x", nullptr);
    mean("mean_y", "y", nullptr);
    mean("weighted_mean", "x", "w");
    mean("weighted_mean_y", "y", "w");

    auto estimate = [&](const char* name, const char* letter) {
        Line l(m);
        const int from = l.pen();
        l.text(letter).hat_over(from);
        add(out, name, l.done());
    };
    estimate("regress_x", "x");
    estimate("regress_y", "y");

    auto sum = [&](const char* name, const char* what, const char* power) {
        Line l(m);
        l.text("\xAA").text(what);
        if (power) l.sup(power);
        add(out, name, l.done());
    };
    sum("sum_x", "x", nullptr);
    sum("sum_y", "y", nullptr);
    sum("sum_xy", "xy", nullptr);
    sum("sum2_x", "x", "2");
    sum("sum2_y", "y", "2");

    auto deviation = [&](const char* name, const char* letter, const char* n) {
        Line l(m);
        l.text(letter).text("\xA1").sub(n);
        add(out, name, l.done());
    };
    deviation("std_dev_x", "x", "n");
    deviation("std_dev_y", "y", "n");
    deviation("std_dev-1_x", "x", "n-1");
    deviation("std_dev-1_y", "y", "n-1");

    auto word = [&](const char* name, const char* text) {
        Line l(m);
        l.text(text);
        add(out, name, l.done());
    };
    word("xmin", "xMin");
    word("xmax", "xMax");
    word("ymin", "yMin");
    word("ymax", "yMax");
    word("slope", "a");
    word("intercept", "b");
    word("corr_coef", "r");
    word("stats_count", "n");
}

}  // namespace

void draw_display_legends(ArtList& out) {
    const Metrics m = measure_font();
    g_missing_glyphs = 0;
    draw_characters(out, m);
    draw_number_legends(out, m);
    draw_operator_legends(out, m);
    draw_function_legends(out, m);
    draw_constant_legends(out, m);
    draw_statistics_legends(out, m);
    if (g_missing_glyphs > 0)
        std::fprintf(stderr,
                     "quorix_artgen: warning: the display font lacks %d glyphs the legends use; "
                     "they are drawn as outlined boxes\n",
                     g_missing_glyphs);
}

}  // namespace qx::art::legends

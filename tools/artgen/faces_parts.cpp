// Parts every face shares: the body, the display bezel, the mode buttons and
// the keys that change with the calculator's state.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "tools/artgen/art.h"
#include "tools/artgen/keycap.h"

namespace qx::art {

namespace {

constexpr Colour kWhite = rgb(255, 255, 255);

// Inside test for a rounded rectangle, by pixel centres.
bool in_rounded(const Box& b, int radius, int x, int y) {
    if (x < b.left || x > b.right || y < b.top || y > b.bottom) return false;
    const double cx = std::clamp(x + 0.5, b.left + radius + 0.0, b.right + 1.0 - radius);
    const double cy = std::clamp(y + 0.5, b.top + radius + 0.0, b.bottom + 1.0 - radius);
    const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
    return dx * dx + dy * dy <= radius * radius + 0.01;
}

}  // namespace

void fill_rounded(Surface& s, const Box& b, int radius, Colour c) {
    for (int y = b.top; y <= b.bottom; ++y)
        for (int x = b.left; x <= b.right; ++x)
            if (in_rounded(b, radius, x, y)) s.set(x, y, c);
}

namespace {

Box inset(const Box& b, int d) { return Box{b.left + d, b.top + d, b.right - d, b.bottom - d}; }

// The wordmark: geometric capitals with two-pixel strokes, drawn for this
// mark alone.  In the Q, 'a' marks its tail, drawn in the accent colour.
const char* const kMark[6][9] = {
    {".######..", "##....##.", "##....##.", "##....##.", "##....##.", "##....##.", "##...a##.",
     ".######a.", ".......aa"},
    {"##....##", "##....##", "##....##", "##....##", "##....##", "##....##", "##....##",
     ".######.", nullptr},
    {".######.", "##....##", "##....##", "##....##", "##....##", "##....##", "##....##",
     ".######.", nullptr},
    {"#######.", "##....##", "##....##", "##....##", "#######.", "##..##..", "##...##.",
     "##....##", nullptr},
    {"##", "##", "##", "##", "##", "##", "##", "##", nullptr},
    {"##....##", ".##..##.", "..####..", "...##...", "...##...", "..####..", ".##..##.",
     "##....##", nullptr},
};

}  // namespace

void draw_brand(Surface& s, int top) {
    // Wordmark on the left, the line of the range on the right, both sitting
    // on the same baseline.
    const Colour upper = rgb(190, 196, 208), lower = rgb(142, 150, 166);
    const Colour accent = mix(palette::key_equals, kWhite, 35);
    int x = 14;
    for (int letter = 0; letter < 6; ++letter) {
        const int w = static_cast<int>(std::strlen(kMark[letter][0]));
        for (int r = 0; r < 9 && kMark[letter][r]; ++r)
            for (int k = 0; k < w; ++k)
                if (kMark[letter][r][k] == '#') s.set(x + k, top + r, r < 4 ? upper : lower);
                else if (kMark[letter][r][k] == 'a') s.set(x + k, top + r, accent);
        x += w + 3;
    }
    const char* line = "GRAPHING SCIENTIFIC";
    const int w = legend_width(Type::Caption, line);
    draw_legend(s, Type::Caption, line, SCREEN_W - 14 - w, top + 3, rgb(104, 112, 128));
    // A fine rule ties the two together.
    const int rule_left = x + 4, rule_right = SCREEN_W - 14 - w - 6;
    if (rule_right > rule_left)
        fill_rect(s, rgb(58, 64, 80), rule_left, top + 5, rule_right, top + 5);
}

Colour body_colour_at(int y) {
    // Sixteen bands from top to bottom: smooth enough, and few colours.
    const int band = std::clamp(y, 0, SCREEN_H - 1) * 16 / SCREEN_H;
    return mix(palette::body_light, palette::body_dark, band * 100 / 15);
}

void draw_body(Surface& s, bool brand) {
    using namespace palette;
    fill_rect(s, body_edge, 0, 0, SCREEN_W - 1, SCREEN_H - 1);
    const Box all{0, 0, SCREEN_W - 1, SCREEN_H - 1};
    const int radius = 10;
    for (int y = 0; y < SCREEN_H; ++y) {
        const Colour c = body_colour_at(y);
        for (int x = 0; x < SCREEN_W; ++x) {
            if (!in_rounded(all, radius, x, y)) continue;
            if (!in_rounded(inset(all, 1), radius - 1, x, y)) {
                s.set(x, y, mix(c, body_edge, 60));
            } else if (!in_rounded(inset(all, 2), radius - 2, x, y)) {
                // The rim catches the light on the upper and left sides.
                const double nx = x + 0.5 - std::clamp(x + 0.5, 0.0 + radius, SCREEN_W - 0.0 - radius);
                const double ny = y + 0.5 - std::clamp(y + 0.5, 0.0 + radius, SCREEN_H - 0.0 - radius);
                s.set(x, y, (-nx - ny > 0) ? shade(c, 26) : shade(c, -10));
            } else {
                s.set(x, y, c);
            }
        }
    }
    if (brand) draw_brand(s, 299);
}

void draw_bezel(Surface& s, const Box& lcd, int margin_x, int margin_top, int margin_bottom) {
    using namespace palette;
    const Box plate{lcd.left - margin_x, lcd.top - margin_top, lcd.right + margin_x,
                    lcd.bottom + margin_bottom};
    // The plate is set into the body: dark above and to the left, a lit lip
    // below and to the right.
    fill_rounded(s, plate, 5, shade(lcd_frame, 30));
    fill_rounded(s, Box{plate.left, plate.top, plate.right - 1, plate.bottom - 1}, 5, body_edge);
    fill_rounded(s, inset(plate, 1), 4, lcd_frame);
    draw_glass(s, lcd);
}

void draw_glass(Surface& s, const Box& lcd) {
    using namespace palette;
    // The glass sits a step deeper than the plate.
    frame_rect(s, rgb(3, 4, 6), lcd.left - 1, lcd.top - 1, lcd.right + 1, lcd.bottom + 1);
    fill_rect(s, shade(lcd_frame, 12), lcd.left - 1, lcd.bottom + 2, lcd.right + 1,
              lcd.bottom + 2);
    fill_rect(s, lcd_glass, lcd.left, lcd.top, lcd.right, lcd.bottom);
}

Colour mode_groove_colour() { return rgb(12, 13, 17); }

void draw_mode_buttons(Surface& s, FaceId face, int first_key, int active) {
    static const char* const kNames[6] = {"COMP", "PROG", "PLOT", "", "MENU", "SETUP"};
    const Box first = key_box(face, first_key), last = key_box(face, first_key + 5);
    const Box groove{first.left - 1, first.top - 2, last.right + 1, last.bottom + 2};
    fill_rounded(s, groove, 3, mode_groove_colour());
    fill_rect(s, rgb(70, 76, 92), groove.left + 3, groove.bottom, groove.right - 3,
              groove.bottom);
    for (int k = 0; k < 6; ++k) {
        const Box b = key_box(face, first_key + k);
        const KeyStyle style = k == active ? KeyStyle::ModeActive : KeyStyle::Mode;
        const Box f = draw_key(s, b, style);
        if (*kNames[k])
            centre_legend(s, f, Type::Caption, kNames[k], key_colours(style).text, false, 0);
    }
}

void legend_key(Surface& s, const Box& b, KeyStyle style, const char* legend, Type type,
                bool bold) {
    const Box f = draw_key(s, b, style);
    if (legend && *legend) centre_legend(s, f, type, legend, key_colours(style).text, bold);
}

namespace {

// A key body from explicit colours (lit states brighten the whole cap).
Box keycap_lit(Surface& s, const Box& b, KeyStyle style, int lift) {
    draw_key(s, b, style);
    if (lift == 0) return face_area(b, style);
    const KeyColours k = key_colours(style);
    for (int y = b.top + 1; y < b.bottom; ++y)
        for (int x = b.left + 1; x < b.right; ++x) {
            const Colour c = s.get(x, y);
            if (c != k.outline) s.set(x, y, shade(c, lift));
        }
    return face_area(b, style);
}

}  // namespace

void shift_key(Surface& s, const Box& b, Shift which, bool on) {
    const KeyStyle style = which == Shift::Blue     ? KeyStyle::Blue
                           : which == Shift::Orange ? KeyStyle::Orange
                                                    : KeyStyle::Function;
    const Box f = keycap_lit(s, b, style, on ? 26 : 0);
    const KeyColours k = key_colours(style);
    const Colour ink = on && style == KeyStyle::Function ? kWhite : k.text;
    // The legend sits left of centre; the lamp at the right tells the state.
    const Box legend_area{f.left, f.top, f.right - 7, f.bottom};
    if (which == Shift::Hyp) centre_legend(s, legend_area, Type::Legend, "hyp", ink);
    else centre_legend(s, legend_area, Type::Caption, "SHIFT", ink);
    const Colour face = on ? shade(k.face, 26) : k.face;
    // The lamp, an 8x8 cell at the right of the face: 'h' halo, 'L' lamp,
    // 'W' its hot centre; unlit, 'o' socket, 'g' glass, 'G' a glint.
    static const char* const kLit[8] = {"..hhhh..", ".hLLLLh.", "hLLWWLLh", "hLWWWWLh",
                                        "hLWWWWLh", "hLLWWLLh", ".hLLLLh.", "..hhhh.."};
    static const char* const kUnlit[8] = {"........", "..oooo..", ".oggggo.", ".oGgggo.",
                                          ".oggggo.", ".oggggo.", "..oooo..", "........"};
    const Colour lamp = which == Shift::Blue     ? rgb(170, 226, 255)
                        : which == Shift::Orange ? rgb(255, 240, 170)
                                                 : rgb(236, 240, 255);
    const bool dark_key = style == KeyStyle::Function;
    const Colour socket = dark_key ? rgb(4, 5, 7) : shade(face, -100);
    const Colour glass = dark_key ? rgb(30, 33, 41) : shade(face, -60);
    const int lx = f.right - 7, ly = f.top + (f.height() - 8) / 2;
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c) {
            const char m = (on ? kLit : kUnlit)[r][c];
            Colour col;
            switch (m) {
                case 'h': col = mix(face, lamp, 40); break;
                case 'L': col = lamp; break;
                case 'W': col = kWhite; break;
                case 'o': col = socket; break;
                case 'g': col = glass; break;
                case 'G': col = shade(glass, 40); break;
                default: continue;
            }
            s.set(lx + c, ly + r, col);
        }
}

void run_key(Surface& s, const Box& b, bool running) {
    const Box f = draw_key(s, b, KeyStyle::Function);
    const Colour ink = palette::key_text;
    const char* word = running ? "Stop" : "Run";
    const int icon_w = 5, gap = 3;
    const int w = icon_w + gap + legend_width(Type::Legend, word);
    const int x = f.left + (f.width() - w) / 2;
    const int cap_top = f.top + (f.height() - 7) / 2;
    if (running) {
        fill_rect(s, rgb(140, 10, 8), x, cap_top + 1, x + 4, cap_top + 5);
        fill_rect(s, palette::led_red, x, cap_top + 1, x + 3, cap_top + 4);
        s.set(x, cap_top + 1, rgb(255, 150, 130));
    } else {
        // A play triangle, seven rows tall.
        for (int i = 0; i < 4; ++i)
            fill_rect(s, palette::led_green, x + i, cap_top + i, x + i, cap_top + 6 - i);
        fill_rect(s, mix(palette::led_green, kWhite, 50), x, cap_top, x, cap_top + 6);
    }
    draw_legend(s, Type::Legend, word, x + icon_w + gap, cap_top, ink);
}

void indicator_key(Surface& s, const Box& b, const char* text, bool light) {
    const KeyStyle style = light ? KeyStyle::Light : KeyStyle::Function;
    const Box f = draw_key(s, b, style);
    // Indicators read as status, not as a function: their legend is
    // coloured like a read-out.
    const Colour ink = light ? rgb(10, 56, 112) : rgb(132, 218, 232);
    centre_legend(s, f, Type::Legend, text, ink, false);
}

void ac_key(Surface& s, const Box& b, bool alarm) {
    const KeyStyle style = alarm ? KeyStyle::Alarm : KeyStyle::Clear;
    const Box f = draw_key(s, b, style);
    centre_legend(s, f, Type::Bold, "AC", key_colours(style).text);
    if (alarm) {
        // A bright inner ring: the key glows while an error waits.
        const Colour glow = rgb(255, 120, 96);
        fill_rect(s, glow, b.left + 2, b.top + 1, b.right - 2, b.top + 1);
        fill_rect(s, glow, b.left + 1, b.top + 2, b.left + 1, b.bottom - 3);
        fill_rect(s, glow, b.right - 1, b.top + 2, b.right - 1, b.bottom - 3);
    }
}

namespace {

// Operators of the number pad, drawn with the two-pixel strokes of its
// figures.  (cx, cy) is the pixel right and below the centre.
void big_operator(Surface& s, char op, int cx, int cy, Colour c) {
    switch (op) {
        case '+':
            fill_rect(s, c, cx - 5, cy - 1, cx + 4, cy);
            fill_rect(s, c, cx - 1, cy - 5, cx, cy + 4);
            break;
        case sym::MINUS: fill_rect(s, c, cx - 5, cy - 1, cx + 4, cy); break;
        case '=':
            fill_rect(s, c, cx - 5, cy - 3, cx + 4, cy - 2);
            fill_rect(s, c, cx - 5, cy + 1, cx + 4, cy + 2);
            break;
        case sym::DIVIDE:
            fill_rect(s, c, cx - 5, cy - 1, cx + 4, cy);
            fill_rect(s, c, cx - 1, cy - 5, cx, cy - 4);
            fill_rect(s, c, cx - 1, cy + 3, cx, cy + 4);
            break;
        case sym::TIMES:
            for (int r = 0; r < 9; ++r) {
                const int y = cy - 5 + r;
                fill_rect(s, c, cx - 5 + r, y, cx - 4 + r, y);
                fill_rect(s, c, cx + 3 - r, y, cx + 4 - r, y);
            }
            break;
        default: break;
    }
}

}  // namespace

void pad_key(Surface& s, const Box& b, KeyStyle style, const char* legend) {
    const Box f = draw_key(s, b, style);
    const Colour ink = key_colours(style).text;
    const unsigned char c0 = static_cast<unsigned char>(legend[0]);
    // A blank key has an empty legend: look at the second byte only after a first.
    const bool single = c0 != 0 && legend[1] == 0;
    if (single && ((c0 >= '0' && c0 <= '9') || c0 == '.' || c0 == ',')) {
        const char text[2] = {legend[0], 0};
        const int w = legend_width(Type::Big, text);
        // Figures are centred on their full height; the point and comma sit
        // on the figures' baseline.
        draw_legend(s, Type::Big, text, f.left + (f.width() - w) / 2,
                    f.top + (f.height() - 10) / 2, ink);
        return;
    }
    if (single && (legend[0] == '+' || legend[0] == '=' || legend[0] == sym::MINUS ||
                   legend[0] == sym::TIMES || legend[0] == sym::DIVIDE)) {
        big_operator(s, legend[0], f.left + f.width() / 2, f.top + f.height() / 2, ink);
        return;
    }
    centre_legend(s, f, Type::Bold, legend, ink);
}

void led_picture(Surface& s, int left, int top, Colour colour, bool lit) {
    fill_rect(s, palette::led_socket, left, top, left + 7, top + 7);
    draw_lamp(s, left, top, 8, colour, lit, rgb(2, 2, 3));
}

void led_socket(Surface& s, int lamp_left, int lamp_top) {
    const Box socket{lamp_left - 1, lamp_top - 1, lamp_left + 8, lamp_top + 8};
    fill_rounded(s, socket, 2, palette::led_socket);
    fill_rect(s, rgb(96, 102, 116), socket.left + 2, socket.bottom, socket.right - 2,
              socket.bottom);
    led_picture(s, lamp_left, lamp_top, palette::led_red, false);
}

}  // namespace qx::art

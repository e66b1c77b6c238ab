// The two PLOT faces: the plot window, the cursor tools, zoom, the axis
// locks with their LEDs, the set-up keys and a direction pad round Home.
#include <cmath>

#include "tools/artgen/art.h"
#include "tools/artgen/keycap.h"

namespace qx::art {

namespace {

constexpr Colour kIcon = palette::key_text;
constexpr Colour kIconAccent = rgb(120, 200, 255);

// Tool icons live in the lower right of their buttons: the run-time LED
// legend takes the top-left corner.
void icon_trace(Surface& s, int ox, int oy) {
    // A rising curve and a cross-hair on one of its points; the arms run
    // along the axes, clear of the curve.
    const int curve[9] = {8, 8, 7, 7, 6, 5, 4, 3, 1};
    for (int x = 0; x < 9; ++x) s.set(ox + x, oy + curve[x], kIconAccent);
    s.set(ox + 8, oy + 2, kIconAccent);
    for (int d = 2; d <= 3; ++d) {
        s.set(ox + 5 - d, oy + 5, kIcon);
        s.set(ox + 5 + d, oy + 5, kIcon);
        s.set(ox + 5, oy + 5 - d, kIcon);
        s.set(ox + 5, oy + 5 + d, kIcon);
    }
    s.set(ox + 5, oy + 5, kIcon);
}

void icon_box(Surface& s, int ox, int oy) {
    // A dashed frame, two on and one off, corners always inked.
    for (int k = 0; k <= 8; ++k) {
        const bool on = k % 3 != 2 || k == 8;
        if (on) {
            s.set(ox + k, oy + 1, kIcon);
            s.set(ox + k, oy + 8, kIcon);
        }
    }
    for (int k = 1; k <= 8; ++k) {
        const bool on = (k - 1) % 3 != 2 || k == 8;
        if (on) {
            s.set(ox, oy + k, kIcon);
            s.set(ox + 8, oy + k, kIcon);
        }
    }
    fill_rect(s, kIconAccent, ox + 3, oy + 4, ox + 5, oy + 5);
}

void icon_pan(Surface& s, int ox, int oy) {
    fill_rect(s, kIcon, ox + 4, oy, ox + 4, oy + 8);
    fill_rect(s, kIcon, ox, oy + 4, ox + 8, oy + 4);
    const int tips[4][4] = {{3, 1, 5, 1}, {3, 7, 5, 7}, {1, 3, 1, 5}, {7, 3, 7, 5}};
    for (const auto& t : tips) {
        s.set(ox + t[0], oy + t[1], kIcon);
        s.set(ox + t[2], oy + t[3], kIcon);
    }
    s.set(ox + 4, oy + 4, kIconAccent);
}

void icon_calc(Surface& s, int ox, int oy) {
    // The area under a curve: analysis of f(x).
    const int curve[9] = {6, 5, 4, 3, 3, 2, 2, 2, 1};
    for (int x = 2; x <= 6; ++x)
        for (int y = curve[x] + 1; y <= 7; ++y)
            if ((x + y) % 2 == 0) s.set(ox + x, oy + y, kIconAccent);
    for (int x = 0; x < 9; ++x) s.set(ox + x, oy + curve[x], kIcon);
    fill_rect(s, kIcon, ox, oy + 8, ox + 8, oy + 8);
}

void icon_rotate(Surface& s, int ox, int oy) {
    // Most of a circle and an arrow head where it ends.
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x) {
            const double dx = x - 4.0, dy = y - 4.0;
            const double d = std::sqrt(dx * dx + dy * dy);
            if (d < 3.4 || d > 4.4) continue;
            if (dx > 0.5 && dy < -0.5) continue;   // the gap, upper right
            s.set(ox + x, oy + y, kIcon);
        }
    const int head[][2] = {{5, 0}, {6, 0}, {7, 0}, {7, 1}, {7, 2}, {6, 1}};
    for (const auto& h : head) s.set(ox + h[0], oy + h[1], kIconAccent);
    s.set(ox + 4, oy + 4, kIconAccent);
}

void magnifier(Surface& s, const Box& f, bool plus) {
    const double cx = f.left + f.width() / 2.0 - 1.5, cy = f.top + f.height() / 2.0 - 1.5;
    ring(s, cx, cy, 6.0, 1.6, kIcon);
    // The handle: two pixels wide, down and to the right.
    for (int k = 0; k < 4; ++k) {
        const int x = static_cast<int>(cx + 4.0) + k, y = static_cast<int>(cy + 4.0) + k;
        fill_rect(s, kIcon, x, y, x + 1, y);
        fill_rect(s, kIcon, x, y + 1, x + 1, y + 1);
    }
    const int mx = static_cast<int>(cx), my = static_cast<int>(cy);
    fill_rect(s, kIconAccent, mx - 2, my, mx + 2, my);
    if (plus) fill_rect(s, kIconAccent, mx, my - 2, mx, my + 2);
}

void lock_key(Surface& s, const Box& b, const char* text, int lamp_left, int lamp_top) {
    const Box f = draw_key(s, b, KeyStyle::Function);
    led_socket(s, lamp_left, lamp_top);
    const Box area{lamp_left + 10, f.top, f.right, f.bottom};
    centre_legend(s, area, Type::Legend, text, palette::key_text);
}

Surface plot_face(bool three_d) {
    const FaceId face = three_d ? FACE_PLOT_3D : FACE_PLOT_2D;
    Surface s(SCREEN_W, SCREEN_H);
    draw_body(s, true);
    draw_bezel(s, Box{7, 6, 232, 185}, 3, 3, 3);
    draw_mode_buttons(s, face, 12, 2);

    // The cursor tools sit together in one groove.
    const Box first = key_box(face, 20), last = key_box(face, 23);
    fill_rounded(s, Box{first.left - 3, first.top - 3, last.right + 3, last.bottom + 3}, 3,
                 mode_groove_colour());
    for (int k = 0; k < 4; ++k) {
        const Box b = key_box(face, 20 + k);
        draw_key(s, b, KeyStyle::Function);
        const int ox = b.left + 8, oy = b.top + 3;
        switch (k) {
            case 0: icon_trace(s, ox, oy); break;
            case 1: icon_box(s, ox, oy); break;
            case 2: icon_pan(s, ox, oy); break;
            default:
                if (three_d) icon_rotate(s, ox, oy);
                else icon_calc(s, ox, oy);
                break;
        }
    }
    legend_key(s, key_box(face, 1), KeyStyle::Function, "Plot Setup");
    legend_key(s, key_box(face, 2), KeyStyle::Function, "Function List");
    magnifier(s, draw_key(s, key_box(face, 3), KeyStyle::Function), true);
    magnifier(s, draw_key(s, key_box(face, 4), KeyStyle::Function), false);
    lock_key(s, key_box(face, 5), "Lock x?", 102, three_d ? 242 : 250);
    lock_key(s, key_box(face, 6), "Lock y?", 102, three_d ? 259 : 269);
    if (three_d) {
        legend_key(s, key_box(face, 18), KeyStyle::Function, "z+");
        legend_key(s, key_box(face, 19), KeyStyle::Function, "z\x89");
    }

    // The direction pad: a round plate under Home and the four arrows.
    const Box up = key_box(face, 10), down = key_box(face, 11);
    const Box left = key_box(face, 8), right = key_box(face, 9);
    const double cx = (left.left + right.right + 1) / 2.0, cy = (up.top + down.bottom + 1) / 2.0;
    fill_disc(s, cx, cy + 1, 42.0, shade(palette::body_dark, 24));
    fill_disc(s, cx, cy, 42.0, shade(mode_groove_colour(), 0));
    ring(s, cx, cy, 42.0, 1.0, rgb(4, 5, 7));
    const Colour ink = palette::key_text;
    Box f = draw_key(s, up, KeyStyle::Function);
    draw_triangle(s, f.left + f.width() / 2, f.top + f.height() / 2, Direction::Up, 4, ink);
    f = draw_key(s, down, KeyStyle::Function);
    draw_triangle(s, f.left + f.width() / 2, f.top + f.height() / 2, Direction::Down, 4, ink);
    f = draw_key(s, left, KeyStyle::Function);
    draw_triangle(s, f.left + f.width() / 2, f.top + f.height() / 2, Direction::Left, 4, ink);
    f = draw_key(s, right, KeyStyle::Function);
    draw_triangle(s, f.left + f.width() / 2, f.top + f.height() / 2, Direction::Right, 4, ink);
    legend_key(s, key_box(face, 7), KeyStyle::Operator, "Home");
    return s;
}

}  // namespace

void draw_plot_faces(ArtList& out) {
    out.push_back({"PLOT_CALCULATOR_FUNCTION_GIF", Kind::Picture, plot_face(false)});
    out.push_back({"PLOT_CALCULATOR_3D_GIF", Kind::Picture, plot_face(true)});
}

}  // namespace qx::art

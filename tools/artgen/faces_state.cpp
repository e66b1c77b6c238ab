// Pictures of single keys that change with the calculator's state, the
// indicator keys, the lock LEDs and the mode-button legends.  Each is a
// complete key, exactly the size of the key it covers, with the body's colour
// in its rounded-off corners.
#include "tools/artgen/art.h"
#include "tools/artgen/keycap.h"

namespace qx::art {

namespace {

constexpr int SMALL_W = 36, SMALL_H = 18, BIG_W = 43, BIG_H = 22;
// Pictures used on several rows (the first row of the main face and of the
// program face) take the body's colour half-way between.
constexpr int kAnyRow = 140;

// A picture of a key that normally sits with its top at screen row `at_y`.
Surface key_surface(int w, int h, int at_y) {
    Surface s(w, h, body_colour_at(at_y));
    return s;
}

Box whole(const Surface& s) { return Box{0, 0, s.width() - 1, s.height() - 1}; }

void add(ArtList& out, const char* name, const Surface& s) {
    out.push_back({name, Kind::Picture, s});
}

}  // namespace

void draw_state_pictures(ArtList& out) {
    {
        Surface s = key_surface(SMALL_W, SMALL_H, kAnyRow);
        legend_key(s, whole(s), KeyStyle::Function, nullptr);
        add(out, "SMALL_BUTTON_GIF", s);
    }
    {
        Surface s = key_surface(SMALL_W, SMALL_H, 102);
        legend_key(s, whole(s), KeyStyle::Light, nullptr);
        add(out, "SMALL_LIGHT_BUTTON_GIF", s);
    }
    {
        Surface s = key_surface(SMALL_W, SMALL_H, 162);
        legend_key(s, whole(s), KeyStyle::Function, ".");
        add(out, "SMALL_DOT_BUTTON_GIF", s);
    }
    {
        Surface s = key_surface(BIG_W, BIG_H, 270);
        pad_key(s, whole(s), KeyStyle::Digit, ",");
        add(out, "COMMA_BUTTON_GIF", s);
    }
    for (int alarm = 0; alarm < 2; ++alarm) {
        Surface s = key_surface(BIG_W, BIG_H, 192);
        ac_key(s, whole(s), alarm != 0);
        add(out, alarm ? "RED_AC_BUTTON_GIF" : "AC_BUTTON_GIF", s);
    }
    {
        Surface s = key_surface(BIG_W, BIG_H, 192);
        pad_key(s, whole(s), KeyStyle::Operator, "\xAA+");
        add(out, "STATS_BUTTON_GIF", s);
        Surface m = key_surface(BIG_W, BIG_H, 192);
        pad_key(m, whole(m), KeyStyle::Operator, "[ ]+");
        add(out, "MATRIX_BUTTON_GIF", m);
    }
    for (int running = 0; running < 2; ++running) {
        Surface s = key_surface(SMALL_W, SMALL_H, kAnyRow);
        run_key(s, whole(s), running != 0);
        add(out, running ? "STOP_BUTTON_GIF" : "RUN_BUTTON_GIF", s);
    }
    struct ShiftPicture {
        const char* name;
        Shift which;
        bool on;
    };
    const ShiftPicture shifts[] = {
        {"BLUE_SHIFT_BUTTON_GIF", Shift::Blue, false},
        {"BLUE_DOT_BUTTON_GIF", Shift::Blue, true},
        {"ORANGE_SHIFT_BUTTON_GIF", Shift::Orange, false},
        {"ORANGE_DOT_BUTTON_GIF", Shift::Orange, true},
        {"HYP_BUTTON_GIF", Shift::Hyp, false},
        {"WHITE_DOT_BUTTON_GIF", Shift::Hyp, true},
    };
    for (const ShiftPicture& p : shifts) {
        Surface s = key_surface(SMALL_W, SMALL_H, p.which == Shift::Blue ? kAnyRow : 72);
        shift_key(s, whole(s), p.which, p.on);
        add(out, p.name, s);
    }
    for (int on = 0; on < 2; ++on) {
        Surface s(SMALL_W, SMALL_H, palette::alpha_panel);
        shift_key(s, whole(s), Shift::Alpha, on != 0);
        add(out, on ? "DOT_ALPHA_SHIFT_BUTTON" : "ALPHA_SHIFT_BUTTON", s);
    }
    struct Indicator {
        const char* name;
        const char* text;
        bool light;
        int at_y;
    };
    const Indicator indicators[] = {
        {"8_BIT_GIF", "8 bit", false, 72},   {"16_BIT_GIF", "16 bit", false, 72},
        {"32_BIT_GIF", "32 bit", false, 72}, {"BIN_GIF", "BIN", false, 72},
        {"OCT_GIF", "OCT", false, 72},       {"DEC_GIF", "DEC", false, 72},
        {"HEX_GIF", "HEX", false, 72},       {"RAD_GIF", "RAD", false, 132},
        {"DEG_GIF", "DEG", false, 132},      {"GRAD_GIF", "GRAD", false, 132},
        {"1_VAR_GIF", "1-VAR", false, 72},   {"2_VAR_GIF", "2-VAR", false, 72},
        {"LINR_GIF", "LIN", true, 102},      {"LOGR_GIF", "LOG", true, 102},
        {"EXPR_GIF", "EXP", true, 102},      {"POWR_GIF", "POW", true, 102},
    };
    for (const Indicator& i : indicators) {
        Surface s = key_surface(SMALL_W, SMALL_H, i.at_y);
        indicator_key(s, whole(s), i.text, i.light);
        add(out, i.name, s);
    }
    {
        Surface g(8, 8), r(8, 8);
        led_picture(g, 0, 0, palette::led_green, true);
        led_picture(r, 0, 0, palette::led_red, true);
        add(out, "GREEN_LED_GIF", g);
        add(out, "RED_LED_GIF", r);
    }
    struct ModeLegend {
        const char* name;
        const char* text;
        bool active;
    };
    const ModeLegend modes[] = {
        {"ENUN_COMP", "COMP", true},        {"ENUN_BASE", "BASE-n", true},
        {"ENUN_STATS", "STATS", true},      {"ENUN_MATRIX", "MATRIX", true},
        {"ENUN_LIST", "LIST", true},        {"ENUN_BASE_DARK", "BASE-n", false},
        {"ENUN_STATS_DARK", "STATS", false}, {"ENUN_MATRIX_DARK", "MATRIX", false},
        {"ENUN_LIST_DARK", "LIST", false},
    };
    for (const ModeLegend& m : modes) {
        Surface s(37, 13, mode_groove_colour());
        const KeyStyle style = m.active ? KeyStyle::ModeActive : KeyStyle::Mode;
        const Box f = draw_key(s, whole(s), style);
        centre_legend(s, f, Type::Caption, m.text, key_colours(style).text);
        add(out, m.name, s);
    }
}

}  // namespace qx::art

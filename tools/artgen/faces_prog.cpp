// The PROG face: a display of one status line over the program listing, the
// mode buttons with PROG lit, and three rows of programming keys.
#include "tools/artgen/art.h"
#include "tools/artgen/keycap.h"

namespace qx::art {

namespace {

struct ProgKey {
    const char* legend;
    const char* blue;
};

// Keys 6..17: commands, with their second functions.
const ProgKey kCommands[12] = {
    {"If", "Else"},    {"Loop", nullptr},     {"While", nullptr},  {"End", "Break"},
    {"In", "Text"},    {"Out", "F out"},      {"Lbl", "Rtn sub"},  {"Goto", "Gosub"},
    {"Call", "Rtn call"}, {"Inf()", "f()"},   {"Expn", "Copy"},    {"Stop", "Menu"},
};

}  // namespace

void draw_program_face(ArtList& out) {
    Surface s(SCREEN_W, SCREEN_H);
    draw_body(s, true);
    // One plate holds both windows; the strip of plate between them parts
    // the status line from the listing.
    draw_bezel(s, Box{7, 6, 233, 186}, 3, 3, 3);
    fill_rect(s, palette::lcd_frame, 6, 27, 234, 35);
    draw_glass(s, Box{7, 6, 233, 26});
    draw_glass(s, Box{7, 36, 233, 186});
    draw_mode_buttons(s, FACE_PROGRAM, 18, 1);

    run_key(s, key_box(FACE_PROGRAM, 0), false);
    shift_key(s, key_box(FACE_PROGRAM, 1), Shift::Blue, false);
    legend_key(s, key_box(FACE_PROGRAM, 2), KeyStyle::Function, "\x8C");
    legend_key(s, key_box(FACE_PROGRAM, 3), KeyStyle::Function, "\x8D");
    legend_key(s, key_box(FACE_PROGRAM, 4), KeyStyle::Function, "Del");
    legend_key(s, key_box(FACE_PROGRAM, 5), KeyStyle::Function, "Func");
    for (int k = 0; k < 12; ++k) {
        const Box b = key_box(FACE_PROGRAM, 6 + k);
        legend_key(s, b, KeyStyle::Function, kCommands[k].legend);
        draw_captions(s, b, kCommands[k].blue, nullptr);
    }
    out.push_back({"PROG_CALCULATOR_GIF", Kind::Picture, s});
}

}  // namespace qx::art

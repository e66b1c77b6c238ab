// Marks around the display and on the plot face: the scroll arrows, the
// plot-slot colour boxes, the trace LEDs and the pan brush.
#include "tools/artgen/art.h"
#include "tools/artgen/legends_art.h"

namespace qx::art::legends {

namespace {

void add(ArtList& out, const char* name, Surface s) {
    out.push_back({name, Kind::Legend, std::move(s)});
}

Surface mirrored(const Surface& s) {
    Surface m(s.width(), s.height(), kPaper);
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) m.set(s.width() - 1 - x, y, s.get(x, y));
    return m;
}

Surface flipped(const Surface& s) {
    Surface m(s.width(), s.height(), kPaper);
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) m.set(x, s.height() - 1 - y, s.get(x, y));
    return m;
}

// "More this way": a solid triangle beside the input line.  Sides of slope
// one keep the edges free of stair steps.
Surface input_arrow_left() {
    Surface s(7, 9, kPaper);
    stamp(s, 1, 0, {
        "....#",
        "...##",
        "..###",
        ".####",
        "#####",
        ".####",
        "..###",
        "...##",
        "....#",
    });
    return s;
}

// The result line's scroll buttons: the triangle inside a small frame with
// its corners cut, so that it reads as something to press.
Surface result_button_left() {
    Surface s(9, 16, kPaper);
    stamp(s, 0, 0, {
        ".#######.",
        "#.......#",
        "#.......#",
        "#.......#",
        "#.......#",
        "#....#..#",
        "#...##..#",
        "#..###..#",
        "#.####..#",
        "#..###..#",
        "#...##..#",
        "#....#..#",
        "#.......#",
        "#.......#",
        "#.......#",
        ".#######.",
    });
    return s;
}

// The listing's arrows at the right of the program lines.
Surface listing_arrow_up() {
    Surface s(7, 7, kPaper);
    stamp(s, 0, 2, {
        "...#...",
        "..###..",
        ".#####.",
        "#######",
    });
    return s;
}

Surface colour_box(Colour colour) {
    Surface s(12, 12, colour);
    frame_rect(s, COLOUR_BLACK, 0, 0, 11, 11);
    return s;
}

// A tiny lamp in the corner of a tool button: lit, it carries a paler
// highlight along its top so that it looks like a glowing bar rather than a
// flat swatch.
Surface trace_led(bool lit) {
    constexpr Colour outline = rgb(24, 26, 30);
    Surface s(6, 4, outline);
    if (lit) {
        fill_rect(s, palette::led_green, 1, 1, 4, 2);
        fill_rect(s, rgb(150, 240, 160), 1, 1, 3, 1);
    } else {
        fill_rect(s, rgb(120, 124, 130), 1, 1, 4, 2);
        fill_rect(s, rgb(150, 154, 160), 1, 1, 3, 1);
    }
    return s;
}

}  // namespace

void draw_marks(ArtList& out) {
    const Surface left = input_arrow_left();
    add(out, "left_arrow", left);
    add(out, "right_arrow", mirrored(left));

    const Surface button = result_button_left();
    add(out, "LOWER_LEFT_BUTTON", button);
    add(out, "LOWER_RIGHT_BUTTON", mirrored(button));

    const Surface up = listing_arrow_up();
    add(out, "up_arrow", up);
    add(out, "down_arrow", flipped(up));

    add(out, "BLUE_BOX", colour_box(rgb(0, 0, 255)));
    add(out, "RED_BOX", colour_box(rgb(255, 0, 0)));
    add(out, "GREEN_BOX", colour_box(rgb(0, 210, 0)));
    add(out, "PURPLE_BOX", colour_box(rgb(255, 0, 255)));
    add(out, "ORANGE_BOX", colour_box(rgb(255, 192, 72)));
    add(out, "TEAL_BOX", colour_box(rgb(19, 200, 192)));

    add(out, "GREEN_TRACE_LED", trace_led(true));
    add(out, "GREY_TRACE_LED", trace_led(false));

    Surface brush(8, 8, kPaper);
    checkered_fill(brush, kInk, kPaper, 0, 0, 7, 7);
    add(out, "CHECKERED_BRUSH", brush);
}

}  // namespace qx::art::legends

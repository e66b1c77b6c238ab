// The artwork generator: every picture and legend of the calculator is drawn
// here, then encoded (pictures as GIF, legends as device-independent bitmaps)
// and compiled into the executable.
#pragma once
#include <string>
#include <vector>

#include "platform/surface.h"

namespace qx::art {

enum class Kind { Picture, Legend };

struct Artwork {
    std::string name;   // resource name as the drawing code asks for it
    Kind kind;
    Surface image;
};

using ArtList = std::vector<Artwork>;

// Each adds its drawings to the list.
void draw_faces(ArtList& out);          // faces, keys with state, indicators, LEDs, alpha keyboard
                                        // and its prompts, editor faces and tabs, ENUN legends
void draw_tool_pictures(ArtList& out);  // periodic table, plot samples, coordinate-system and
                                        // plot-type pictures
void draw_legends(ArtList& out);        // token legends, characters, small read-outs, boxes, LEDs

// The calculator's palette, shared so that every picture agrees.
namespace palette {
// Pictures are shown with 22 added to every channel, so these are chosen a
// little darker than they should look.
constexpr Colour body_dark = rgb(30, 34, 44);       // the body, bottom of its gradient
constexpr Colour body_light = rgb(56, 62, 78);      // the body, top of its gradient
constexpr Colour body_edge = rgb(8, 9, 12);         // the outer rim and the corners beyond it
constexpr Colour key_outline = rgb(6, 7, 10);       // the ring round every key
constexpr Colour key_dark = rgb(34, 37, 46);        // function keys
constexpr Colour key_grey = rgb(90, 97, 112);       // operator keys of the number pad
constexpr Colour key_digit = rgb(200, 200, 192);    // digit keys
constexpr Colour key_light = rgb(164, 178, 196);    // small light keys (statistics)
constexpr Colour key_red = rgb(206, 22, 18);        // AC while an error is pending
constexpr Colour key_clear = rgb(120, 46, 62);      // AC at rest
constexpr Colour key_equals = rgb(14, 116, 108);    // the = key
constexpr Colour key_text = rgb(236, 236, 230);     // legends on dark keys
constexpr Colour key_text_dark = rgb(20, 22, 28);   // legends on light keys
constexpr Colour shift_blue = rgb(64, 146, 233);    // blue captions and the blue shift key
constexpr Colour shift_orange = rgb(233, 138, 30);  // orange captions and the orange shift key
constexpr Colour lcd_frame = rgb(14, 16, 20);       // the bezel round the display
constexpr Colour lcd_glass = rgb(196, 204, 196);    // the display where nothing covers it
constexpr Colour mode_face = rgb(22, 25, 32);       // mode buttons, not the current mode
constexpr Colour mode_text = rgb(128, 136, 150);
constexpr Colour mode_active = rgb(196, 202, 210);  // the current mode's button
constexpr Colour mode_active_text = rgb(14, 16, 22);
constexpr Colour led_green = rgb(40, 210, 70);
constexpr Colour led_red = rgb(220, 40, 30);
constexpr Colour led_socket = rgb(10, 11, 14);
// The alpha keyboard's panel and the editor tabs: the prompt and tab
// pictures drawn over them use the same colours.
constexpr Colour alpha_panel = rgb(184, 190, 200);
constexpr Colour alpha_panel_text = rgb(16, 18, 24);
constexpr Colour tab_face = rgb(34, 37, 46);
constexpr Colour tab_text = rgb(150, 158, 172);
constexpr Colour tab_selected = rgb(196, 202, 210);
constexpr Colour tab_selected_text = rgb(14, 16, 22);
// The editors' sheet: its title row and number strips are light, so the
// run-time text over them is dark.
constexpr Colour sheet = rgb(178, 186, 198);
constexpr Colour grid_cell = rgb(233, 233, 233);    // editor cells (white after brightening)
constexpr Colour grid_rule = rgb(176, 184, 196);
constexpr Colour grid_head = rgb(154, 164, 180);    // row and column number strips
}  // namespace palette

}  // namespace qx::art

// The shared look of every key, button and caption the faces draw: one key
// body with its bevel, four pixel alphabets for legends and captions, and the
// few symbols that read better drawn than spelt.
#pragma once
#include "panel/key_layout.h"
#include "tools/artgen/art.h"
#include "platform/surface.h"

namespace qx::art {

struct Box {
    int left, top, right, bottom;   // inclusive, like the key tables
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
};

inline Box box_of(const KeyRect& r) { return Box{r.left, r.top, r.right, r.bottom}; }
inline Box key_box(FaceId face, int key) { return box_of(key_rect(face, key)); }

// ---- colour arithmetic ----------------------------------------------------

Colour mix(Colour a, Colour b, int percent_b);
Colour shade(Colour c, int delta);   // adds delta to every channel, clamped

// ---- key bodies -----------------------------------------------------------

enum class KeyStyle {
    Function,     // dark keys: functions, cursor keys
    Digit,        // light digit keys
    Operator,     // mid-grey keys of the number pad (+ - x / EXP Ans data entry)
    Light,        // small light keys (statistics)
    Equals,       // the = key
    Clear,        // AC at rest
    Alarm,        // AC with an error pending
    Blue,         // blue shift
    Orange,       // orange shift
    Mode,         // mode buttons, not the current mode
    ModeActive,   // the current mode's button
    Tab,          // unselected editor tabs
    TabSelected,  // the tab of the matrix or list on show
};

struct KeyColours {
    Colour outline, top, face, skirt, text;
};
KeyColours key_colours(KeyStyle style);

// A key exactly on its rectangle: a dark outline with the corner pixels left
// as they were (so the key looks rounded on any body), a highlight row, the
// face and a two-row skirt.  Mode buttons and tabs are flatter (one skirt
// row).  Returns the box of the face where the legend goes.
Box draw_key(Surface& s, const Box& b, KeyStyle style);
// The face draw_key would return, without drawing (for legends over a key
// drawn by another picture).
Box face_area(const Box& b, KeyStyle style);

// ---- lettering -------------------------------------------------------------
//
// Legends are written in a small markup:
//   ^c or ^{...}   superscript in the next smaller alphabet
//   _c or _{...}   subscript in the next smaller alphabet
//   \x01c          c with a bar over it (x-bar)
//   \x02c          c with a hat over it (fitted values)
//   \x85{...}      a radical whose bar spans the group; an empty group shows
//                  a small place-holder box
// plus the symbol codes below (where the display's code page has the same
// symbol, the same code).

enum class Type {
    Big,       // 10-pixel bold digits of the number pad
    Bold,      // 7-pixel heavy capitals: the few words on number-pad keys
    Legend,    // 7-pixel capitals: legends on keys
    Caption,   // 5-pixel capitals: shift captions, mode buttons
    Mini,      // 4-pixel figures: exponents and indices of captions
};

// Legend strings spell these as escapes ("STO\x80").
namespace sym {
constexpr char ARROW_RIGHT = '\x80';      // conversion arrow (a small solid triangle)
constexpr char CURSOR_LEFT = '\x81';      // outlined arrows of the cursor keys
constexpr char CURSOR_RIGHT = '\x82';
constexpr char TRIANGLE_UP = '\x83';
constexpr char DELTA = '\x84';
constexpr char RADICAL = '\x85';
constexpr char TIMES = '\x87';
constexpr char DIVIDE = '\x88';
constexpr char MINUS = '\x89';
constexpr char GUILLEMET_LEFT = '\x8A';
constexpr char GUILLEMET_RIGHT = '\x8B';
constexpr char CURSOR_UP = '\x8C';
constexpr char CURSOR_DOWN = '\x8D';
constexpr char THETA = '\x97';
constexpr char PI = '\x9F';
constexpr char SIGMA_SMALL = '\xA1';
constexpr char SIGMA = '\xAA';
}  // namespace sym

// Cap height of an alphabet (the distance from the top of a capital to the
// baseline, inclusive).
int cap_height(Type type);
int legend_width(Type type, const char* text);
// Draws the text with the top of its capitals at cap_top.  Returns the width.
int draw_legend(Surface& s, Type type, const char* text, int x, int cap_top, Colour c);
// The same, double-struck for a heavier legend.
int draw_legend_bold(Surface& s, Type type, const char* text, int x, int cap_top, Colour c);
int legend_width_bold(Type type, const char* text);

// Centres the legend on the box, capitals centred vertically (descenders
// hang below).  dy nudges it down.
void centre_legend(Surface& s, const Box& b, Type type, const char* text, Colour c,
                   bool bold = false, int dy = 0);

// ---- drawn symbols -----------------------------------------------------------

// Directions of the drawn triangles.
enum class Direction { Left, Right, Up, Down };
// Solid triangle centred on (cx, cy) with the given half-size.
void draw_triangle(Surface& s, int cx, int cy, Direction d, int half, Colour c);
// A filled disc by midpoint rule (radius in pixels; centre between pixels
// when the diameter is even).
void fill_disc(Surface& s, double cx, double cy, double radius, Colour c);
void ring(Surface& s, double cx, double cy, double radius, double thickness, Colour c);

// The shift captions over a key: blue on the left, orange on the right (either
// may be null or empty).  With a single caption it is centred over the key.
void draw_captions(Surface& s, const Box& key, const char* blue, const char* orange);

// A small round indicator lamp of the given diameter, lit or dark.
void draw_lamp(Surface& s, int left, int top, int diameter, Colour colour, bool lit,
               Colour socket);

// ---- face parts shared by several faces ------------------------------------

constexpr int SCREEN_W = 240;
constexpr int SCREEN_H = 320;

// The calculator body: rounded case, gradient, rim light and (optionally) the
// brand mark along the bottom.
void draw_body(Surface& s, bool brand);
void draw_brand(Surface& s, int top);
// The body's colour at a row (away from the rim): what a key picture puts in
// its rounded-off corners so it looks right drawn with or without
// transparency.
Colour body_colour_at(int y);
// The dark bezel round a display area, and the glass of the area itself
// (covered at run time).
void draw_bezel(Surface& s, const Box& lcd, int margin_x, int margin_top, int margin_bottom);
// One more window in a bezel already drawn.
void draw_glass(Surface& s, const Box& lcd);
void fill_rounded(Surface& s, const Box& b, int radius, Colour c);
// The six mode buttons in their groove; `active` is the index of the lit
// button (-1: none).  The fourth button is blank: its legend is drawn at run
// time.
void draw_mode_buttons(Surface& s, FaceId face, int first_key, int active);
Colour mode_groove_colour();

// A plain key with a legend, centred.
void legend_key(Surface& s, const Box& b, KeyStyle style, const char* legend,
                Type type = Type::Legend, bool bold = false);
// Keys with state, shared by the faces and the state pictures.
enum class Shift { Blue, Orange, Hyp, Alpha };
void shift_key(Surface& s, const Box& b, Shift which, bool on);
void run_key(Surface& s, const Box& b, bool running);
void indicator_key(Surface& s, const Box& b, const char* text, bool light);
void ac_key(Surface& s, const Box& b, bool alarm);
// Number-pad keys: a figure, an operator or a word.
void pad_key(Surface& s, const Box& b, KeyStyle style, const char* legend);
// A small LED window: the socket and the lamp (a picture is drawn over the
// lamp at run time).
void led_socket(Surface& s, int lamp_left, int lamp_top);
void led_picture(Surface& s, int left, int top, Colour colour, bool lit);

// ---- the drawings, one group per file -----------------------------------------

void draw_main_faces(ArtList& out);       // body, COMP, BASE-n and STATS faces
void draw_state_pictures(ArtList& out);   // keys with state, indicators, LEDs, mode legends
void draw_program_face(ArtList& out);
void draw_plot_faces(ArtList& out);
void draw_editor_faces(ArtList& out);     // matrix and list editors
void draw_alpha_keyboard(ArtList& out);

}  // namespace qx::art

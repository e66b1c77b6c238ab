// Named pictures and legends on a surface: the GIF decoder that draws the
// faces, buttons and indicators, the legend bitmaps of the display, and the
// small drawing helpers the display, the editors and the plots share.
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/surface.h"

namespace qx {

// Results of drawing a picture.
enum GifResult {
    PIC_OK = 0,
    PIC_VERSION_89A = 1,      // a GIF89a file: not a kind the calculator draws
    PIC_NO_GLOBAL_TABLE = 2,
    PIC_LOCAL_TABLE = 3,
    PIC_INTERLACED = 4,
    PIC_CORRUPT = 5,          // anything malformed; what was drawn before stays
    PIC_MISSING = 6,          // no picture of that name
};

// Brightness that leaves the picture's colours as they are.
constexpr int BRIGHTNESS_NEUTRAL = 128;

// Draws the named picture with its top-left corner at (x, y).  With
// transparency, pixels of the key colour keep what the surface showed.
// Brightness adds (brightness - 128) / 2 to every channel; pure magenta is
// drawn white.  Failures are reported in a message box once per picture.
int draw_gif(Surface& s, const char* name, int x, int y, bool transparent, int brightness);
// The decoder itself, on bytes of any origin; reports nothing.
int decode_gif(Surface& s, const std::uint8_t* data, std::size_t size, int x, int y,
               bool transparent, int brightness);
// Width and height from a picture's header; false for a malformed header.
bool gif_size(const std::uint8_t* data, std::size_t size, int* width, int* height);
bool picture_size(const char* name, int* width, int* height);

// A bitmap file (uncompressed, 24 bits per pixel) decoded into a surface;
// false for anything else or anything malformed.
bool decode_bmp(const std::uint8_t* data, std::size_t size, Surface& out);

// The legend bitmap of that name (decoded once and kept), or nullptr after
// reporting "Bitmap not found" once for that name.
const Surface* find_bitmap(const char* name);
// Draws a legend: inverted for the token under the cursor; otherwise, on a
// display of any colour but white, with white as the transparent colour so
// the display colour shows through.  Returns the legend's width (0 when
// missing).
int draw_legend(Surface& s, const char* name, int x, int y, bool inverted);
// Width of a legend through a cache, so a line can be measured without
// loading bitmaps.
int legend_width(const char* name);
void reset_legend_caches();

// Inclusive rectangle, border and interior in one colour.
void fill_rectangle(Surface& s, Colour c, int left, int top, int right, int bottom);
// The checkered brush in two colours, no border.
void checkered_rectangle(Surface& s, Colour fg, Colour bg, int left, int top, int right,
                         int bottom);
void line(Surface& s, int x1, int y1, int x2, int y2, Colour c, bool thick);
void pixel(Surface& s, int x, int y, Colour c);

// The 16-pixel label text in a 100 x 20 box at (x, y) (right-aligned: the
// box ends at x), turned a quarter turn anticlockwise unless horizontal,
// black on a transparent background.  Returns the text's width; measure_only
// draws nothing.
int label_text(Surface& s, const char* text, int x, int y, bool horizontal, bool measure_only,
               bool right_aligned);

// The small read-out bitmap of a character ("0".."9", ".", ",", "-", "=",
// "E"/"e"), or nullptr after reporting the character.
const char* small_character(char c);

}  // namespace qx

// A 24-bit drawing surface and the drawing operations every screen uses.
// Colours are 0x00BBGGRR values, the same encoding the settings block keeps
// for the display colour.  Every operation clips to the surface.
#pragma once
#include <cstdint>
#include <vector>

namespace qx {

using Colour = std::uint32_t;

constexpr Colour rgb(int r, int g, int b) {
    return static_cast<Colour>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int red_of(Colour c) { return static_cast<int>(c & 0xFF); }
constexpr int green_of(Colour c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int blue_of(Colour c) { return static_cast<int>((c >> 16) & 0xFF); }

constexpr Colour COLOUR_WHITE = 0xFFFFFF;
constexpr Colour COLOUR_BLACK = 0x000000;
// Pixels of this colour are skipped by transparent copies and transparent
// picture drawing: red 0, green 24, blue 24.
constexpr Colour COLOUR_TRANSPARENT_KEY = rgb(0, 24, 24);

struct Point { int x, y; };

class Surface {
public:
    Surface() = default;
    // A non-positive size gives an empty surface on which nothing draws.
    Surface(int width, int height, Colour fill = COLOUR_WHITE);

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ <= 0 || height_ <= 0; }
    bool contains(int x, int y) const {
        return x >= 0 && y >= 0 && x < width_ && y < height_;
    }

    // Outside the surface: get gives black, set does nothing.
    Colour get(int x, int y) const;
    void set(int x, int y, Colour c);

    // Rows top-down, three bytes per pixel in the order red, green, blue.
    const std::uint8_t* row(int y) const { return pixels_.data() + 3 * width_ * y; }
    std::uint8_t* row(int y) { return pixels_.data() + 3 * width_ * y; }
    const std::vector<std::uint8_t>& bytes() const { return pixels_; }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> pixels_;
};

// Rectangles are inclusive: left..right, top..bottom, as the key tables are.
// Orders the corners and clips to the surface; false when nothing is left.
bool clip_rect(const Surface& s, int& left, int& top, int& right, int& bottom);
void fill_rect(Surface& s, Colour c, int left, int top, int right, int bottom);
void frame_rect(Surface& s, Colour c, int left, int top, int right, int bottom);
// Alternating pixels of the two colours (the checkered brush), no border.
void checkered_fill(Surface& s, Colour fg, Colour bg, int left, int top, int right, int bottom);

// One segment.  Raster rule: the line is clipped to the surface before it is
// walked, the first end point is drawn and the second is not (so polylines do
// not draw shared corners twice); a segment of zero length draws nothing.
// A thick line adds the neighbouring pixel across the line's main direction
// (below an x-major line, to the right of a y-major one).
void draw_line(Surface& s, int x1, int y1, int x2, int y2, Colour c, bool thick = false);
void draw_pixel(Surface& s, int x, int y, Colour c);
void draw_polyline(Surface& s, const Point* points, int count, Colour c, bool thick = false);

enum class CopyMode { Plain, Inverted, Transparent };
// Copies a width x height block of src at (sx, sy) to dst at (dx, dy).
// Inverted copies every channel as 255 - value; Transparent skips pixels of
// the key colour.  Both rectangles are clipped.
void copy_block(Surface& dst, int dx, int dy, const Surface& src, int sx, int sy, int width,
                int height, CopyMode mode = CopyMode::Plain,
                Colour key = COLOUR_TRANSPARENT_KEY);
inline void copy_surface(Surface& dst, int dx, int dy, const Surface& src,
                         CopyMode mode = CopyMode::Plain, Colour key = COLOUR_TRANSPARENT_KEY) {
    copy_block(dst, dx, dy, src, 0, 0, src.width(), src.height(), mode, key);
}

}  // namespace qx

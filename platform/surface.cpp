#include "platform/surface.h"

#include <algorithm>
#include <cstdlib>

namespace qx {

Surface::Surface(int width, int height, Colour fill) {
    if (width <= 0 || height <= 0) return;
    width_ = width;
    height_ = height;
    pixels_.resize(static_cast<std::size_t>(width) * height * 3);
    for (std::size_t k = 0; k < pixels_.size(); k += 3) {
        pixels_[k] = static_cast<std::uint8_t>(red_of(fill));
        pixels_[k + 1] = static_cast<std::uint8_t>(green_of(fill));
        pixels_[k + 2] = static_cast<std::uint8_t>(blue_of(fill));
    }
}

Colour Surface::get(int x, int y) const {
    if (!contains(x, y)) return COLOUR_BLACK;
    const std::uint8_t* p = row(y) + 3 * x;
    return rgb(p[0], p[1], p[2]);
}

void Surface::set(int x, int y, Colour c) {
    if (!contains(x, y)) return;
    std::uint8_t* p = row(y) + 3 * x;
    p[0] = static_cast<std::uint8_t>(red_of(c));
    p[1] = static_cast<std::uint8_t>(green_of(c));
    p[2] = static_cast<std::uint8_t>(blue_of(c));
}

bool clip_rect(const Surface& s, int& left, int& top, int& right, int& bottom) {
    if (s.empty()) return false;
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, s.width() - 1);
    bottom = std::min(bottom, s.height() - 1);
    return left <= right && top <= bottom;
}

void fill_rect(Surface& s, Colour c, int left, int top, int right, int bottom) {
    if (!clip_rect(s, left, top, right, bottom)) return;
    const auto r = static_cast<std::uint8_t>(red_of(c));
    const auto g = static_cast<std::uint8_t>(green_of(c));
    const auto b = static_cast<std::uint8_t>(blue_of(c));
    for (int y = top; y <= bottom; ++y) {
        std::uint8_t* p = s.row(y) + 3 * left;
        for (int x = left; x <= right; ++x, p += 3) {
            p[0] = r;
            p[1] = g;
            p[2] = b;
        }
    }
}

void frame_rect(Surface& s, Colour c, int left, int top, int right, int bottom) {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    fill_rect(s, c, left, top, right, top);
    fill_rect(s, c, left, bottom, right, bottom);
    fill_rect(s, c, left, top, left, bottom);
    fill_rect(s, c, right, top, right, bottom);
}

void checkered_fill(Surface& s, Colour fg, Colour bg, int left, int top, int right, int bottom) {
    if (!clip_rect(s, left, top, right, bottom)) return;
    // The pattern is anchored to the surface, not to the rectangle, so that
    // neighbouring fills join without a seam.
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x) s.set(x, y, ((x + y) & 1) ? bg : fg);
}

void draw_pixel(Surface& s, int x, int y, Colour c) { s.set(x, y, c); }

namespace {

// Floor division for a positive divisor.
long long floor_div(long long a, long long b) {
    long long q = a / b;
    if ((a % b != 0) && (a < 0)) --q;
    return q;
}

// Walks the segment along its major axis, visiting only the steps whose
// major coordinate lies on the surface, so the cost is bounded by the
// surface size whatever the end points are.
template <typename Plot>
void walk_line(const Surface& s, long long x1, long long y1, long long x2, long long y2,
               Plot plot) {
    const long long dx = x2 - x1, dy = y2 - y1;
    const long long adx = std::llabs(dx), ady = std::llabs(dy);
    if (adx == 0 && ady == 0) return;
    const bool x_major = adx >= ady;
    const long long major_len = x_major ? adx : ady;
    const long long major_start = x_major ? x1 : y1;
    const long long major_step = (x_major ? dx : dy) < 0 ? -1 : 1;
    const long long minor_start = x_major ? y1 : x1;
    const long long minor_delta = x_major ? dy : dx;
    const long long limit = x_major ? s.width() : s.height();
    // Steps i in [0, major_len) with 0 <= major_start + i*step < limit.
    long long lo = 0, hi = major_len - 1;
    if (major_step > 0) {
        lo = std::max(lo, -major_start);
        hi = std::min(hi, limit - 1 - major_start);
    } else {
        lo = std::max(lo, major_start - (limit - 1));
        hi = std::min(hi, major_start);
    }
    for (long long i = lo; i <= hi; ++i) {
        // Minor coordinate rounded to the nearest pixel (halves round up).
        long long minor = minor_start + floor_div(2 * i * minor_delta + major_len, 2 * major_len);
        long long major = major_start + i * major_step;
        if (x_major) plot(major, minor, true);
        else plot(minor, major, false);
    }
}

}  // namespace

void draw_line(Surface& s, int x1, int y1, int x2, int y2, Colour c, bool thick) {
    if (s.empty()) return;
    walk_line(s, x1, y1, x2, y2, [&](long long x, long long y, bool x_major) {
        if (y < -1 || y > s.height() || x < -1 || x > s.width()) return;
        s.set(static_cast<int>(x), static_cast<int>(y), c);
        if (thick) {
            if (x_major) s.set(static_cast<int>(x), static_cast<int>(y) + 1, c);
            else s.set(static_cast<int>(x) + 1, static_cast<int>(y), c);
        }
    });
}

void draw_polyline(Surface& s, const Point* points, int count, Colour c, bool thick) {
    if (!points) return;
    for (int k = 1; k < count; ++k)
        draw_line(s, points[k - 1].x, points[k - 1].y, points[k].x, points[k].y, c, thick);
}

void copy_block(Surface& dst, int dx, int dy, const Surface& src, int sx, int sy, int width,
                int height, CopyMode mode, Colour key) {
    if (width <= 0 || height <= 0 || dst.empty() || src.empty()) return;
    // Clip against the source, then against the destination.
    if (sx < 0) { dx -= sx; width += sx; sx = 0; }
    if (sy < 0) { dy -= sy; height += sy; sy = 0; }
    if (dx < 0) { sx -= dx; width += dx; dx = 0; }
    if (dy < 0) { sy -= dy; height += dy; dy = 0; }
    width = std::min({width, src.width() - sx, dst.width() - dx});
    height = std::min({height, src.height() - sy, dst.height() - dy});
    if (width <= 0 || height <= 0) return;
    const std::uint8_t kr = static_cast<std::uint8_t>(red_of(key));
    const std::uint8_t kg = static_cast<std::uint8_t>(green_of(key));
    const std::uint8_t kb = static_cast<std::uint8_t>(blue_of(key));
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* from = src.row(sy + y) + 3 * sx;
        std::uint8_t* to = dst.row(dy + y) + 3 * dx;
        switch (mode) {
            case CopyMode::Plain:
                std::copy(from, from + 3 * width, to);
                break;
            case CopyMode::Inverted:
                for (int k = 0; k < 3 * width; ++k) to[k] = static_cast<std::uint8_t>(255 - from[k]);
                break;
            case CopyMode::Transparent:
                for (int x = 0; x < width; ++x, from += 3, to += 3)
                    if (from[0] != kr || from[1] != kg || from[2] != kb) {
                        to[0] = from[0];
                        to[1] = from[1];
                        to[2] = from[2];
                    }
                break;
        }
    }
}

}  // namespace qx

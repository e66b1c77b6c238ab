// Window and pixel arithmetic of the two-dimensional plots.  Everything
// here is a pure function of its arguments (and, for current_window, the
// settings record), so the painters, the stylus tools and the tests share
// one definition of where a value lands.
#include "plot/geometry.h"

#include <cmath>
#include <cstdlib>

#include "plot/evaluate.h"
#include "plot/model.h"

namespace qx {
namespace {

// The spacing search walks one decade per step; the widest window (2e100)
// and the narrowest (a denormal) are both far fewer than this many decades
// from 1, so running out of steps means the width cannot be gridded.
constexpr int kMaxDecadeSteps = 700;

double clamp_pixel(double p) {
    if (std::isnan(p)) return UNDEFINED_VALUE;
    if (p >= PIXEL_CLAMP) return PIXEL_CLAMP;
    if (p <= -PIXEL_CLAMP) return -PIXEL_CLAMP;
    return p;
}

// Decade and 1-2-5 multiplier such that the width holds between five and
// about a dozen lines.  The decade is computed afresh from its exponent
// (not by repeated multiplication) so the test does not drift; when the
// scaled width sits on the boundary and rounding flips it back and forth,
// the search stops at the reversal instead of cycling.
bool grid_spacing(double width, double* spacing) {
    if (!std::isfinite(width) || !(width > 0.0)) return false;
    int exponent = 0;
    double scaled = width;
    int last_direction = 0;
    bool settled = false;
    for (int i = 0; i < kMaxDecadeSteps; ++i) {
        if (scaled > 1.0 && scaled <= 10.0) {
            settled = true;
            break;
        }
        const int direction = scaled >= 10.0 ? -1 : 1;
        if (last_direction != 0 && direction != last_direction) {
            settled = true;
            break;
        }
        last_direction = direction;
        exponent += direction;
        scaled = width * std::pow(10.0, exponent);
    }
    if (!settled || !std::isfinite(scaled) || !(scaled > 0.0)) return false;
    double multiplier = 1.0;
    if (scaled <= 2.5) multiplier = 5.0;
    else if (scaled <= 5.0) multiplier = 2.0;
    const double d = std::pow(10.0, -exponent) / multiplier;
    if (!std::isfinite(d) || !(d > 0.0)) return false;
    *spacing = d;
    return true;
}

// Lines at whole multiples of the spacing in [low, high); `to_pixel`
// turns the offset from `low` into a column or row, and lines whose pixel
// falls outside 0..limit-1 are left out.
template <typename ToPixel>
GridAxis grid_axis(double low, double high, int limit, ToPixel to_pixel) {
    GridAxis g{};
    const double width = high - low;
    double d = 0.0;
    if (!grid_spacing(width, &d)) return g;
    g.shown = true;
    g.spacing = d;
    const double first = std::ceil(low / d);
    // A dozen or so lines fit; the margin covers boundary lines that are
    // dropped for landing on the edge pixel.
    for (int k = 0; k < MAX_GRID_LINES + 4 && g.count < MAX_GRID_LINES; ++k) {
        const double offset = (first + k) * d - low;
        if (!(offset < width)) break;
        if (offset < 0.0) continue;
        const double p = std::trunc(to_pixel(offset / width));
        if (!(p >= 0.0 && p < limit)) continue;
        const int pos = static_cast<int>(p);
        if (g.count > 0 && g.position[g.count - 1] == pos) continue;
        g.position[g.count++] = pos;
    }
    return g;
}

int clamp_index(double p, int limit) {
    if (!(p >= 0.0)) return 0;
    if (p > limit - 1) return limit - 1;
    return static_cast<int>(p);
}

int outcode(double x, double y, const ClipBox& b) {
    int code = 0;
    if (y > b.bottom) code |= 1;
    else if (y < b.top) code |= 2;
    if (x > b.right) code |= 4;
    else if (x < b.left) code |= 8;
    return code;
}

bool usable_end(double v) { return std::isfinite(v) && !is_undefined(v); }

}  // namespace

PlotWindow current_window() { return {g_plot.xmin, g_plot.xmax, g_plot.ymin, g_plot.ymax}; }

double map_x(const PlotWindow& w, double x) {
    if (is_undefined(x)) return x;
    if (std::isnan(x)) return UNDEFINED_VALUE;
    return clamp_pixel((x - w.xmin) * PLOT_WIDTH / (w.xmax - w.xmin));
}

double map_y(const PlotWindow& w, double y) {
    if (is_undefined(y)) return y;
    if (std::isnan(y)) return UNDEFINED_VALUE;
    return clamp_pixel((w.ymax - y) * PLOT_HEIGHT / (w.ymax - w.ymin));
}

double column_to_x(const PlotWindow& w, double column) {
    return w.xmin + column * (w.xmax - w.xmin) / PLOT_WIDTH;
}

double row_to_y(const PlotWindow& w, double row) {
    return w.ymax - row * (w.ymax - w.ymin) / PLOT_HEIGHT;
}

GridAxis grid_columns(const PlotWindow& w) {
    return grid_axis(w.xmin, w.xmax, PLOT_WIDTH,
                     [](double fraction) { return fraction * PLOT_WIDTH; });
}

GridAxis grid_rows(const PlotWindow& w) {
    return grid_axis(w.ymin, w.ymax, PLOT_HEIGHT,
                     [](double fraction) { return PLOT_HEIGHT - fraction * PLOT_HEIGHT; });
}

int axis_column(const PlotWindow& w) {
    if (!(w.xmin < 0.0 && 0.0 < w.xmax)) return -1;
    return clamp_index(std::trunc(PLOT_WIDTH - w.xmax / (w.xmax - w.xmin) * PLOT_WIDTH),
                       PLOT_WIDTH);
}

int axis_row(const PlotWindow& w) {
    if (!(w.ymin < 0.0 && 0.0 < w.ymax)) return -1;
    return clamp_index(std::trunc(w.ymax / (w.ymax - w.ymin) * PLOT_HEIGHT), PLOT_HEIGHT);
}

bool clip_segment(double& x0, double& y0, double& x1, double& y1, const ClipBox& box) {
    if (!usable_end(x0) || !usable_end(y0) || !usable_end(x1) || !usable_end(y1)) return false;
    int c0 = outcode(x0, y0, box);
    int c1 = outcode(x1, y1, box);
    // Each pass puts one end on one more edge; rounding can at worst make
    // an end near a corner revisit an edge, so a short bound suffices.
    for (int pass = 0; pass < 16; ++pass) {
        if ((c0 | c1) == 0) return true;
        if (c0 & c1) return false;
        const int out = c0 ? c0 : c1;
        double x = 0.0, y = 0.0;
        if (out & 1) {
            x = x0 + (x1 - x0) * (box.bottom - y0) / (y1 - y0);
            y = box.bottom;
        } else if (out & 2) {
            x = x0 + (x1 - x0) * (box.top - y0) / (y1 - y0);
            y = box.top;
        } else if (out & 4) {
            y = y0 + (y1 - y0) * (box.right - x0) / (x1 - x0);
            x = box.right;
        } else {
            y = y0 + (y1 - y0) * (box.left - x0) / (x1 - x0);
            x = box.left;
        }
        if (!std::isfinite(x) || !std::isfinite(y)) return false;
        if (out == c0) {
            x0 = x;
            y0 = y;
            c0 = outcode(x0, y0, box);
        } else {
            x1 = x;
            y1 = y;
            c1 = outcode(x1, y1, box);
        }
    }
    return false;
}

void draw_clipped(PlotCanvas& canvas, double x0, double y0, double x1, double y1,
                  std::uint32_t colour, const ClipBox& box) {
    if (!clip_segment(x0, y0, x1, y1, box)) return;
    canvas.line(static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(x1),
                static_cast<int>(y1), colour);
}

PlotWindow zoom_window(const PlotWindow& w, double factor, bool lock_x, bool lock_y) {
    PlotWindow out = w;
    if (!lock_x) {
        const double half = (w.xmax - w.xmin) / 2;
        const double centre = w.xmin + half;
        out.xmin = centre - half * factor;
        out.xmax = centre + half * factor;
    }
    if (!lock_y) {
        const double half = (w.ymax - w.ymin) / 2;
        const double centre = w.ymin + half;
        out.ymin = centre - half * factor;
        out.ymax = centre + half * factor;
    }
    return out;
}

PlotWindow scroll_window(const PlotWindow& w, ScrollDirection d) {
    PlotWindow out = w;
    const double dx = (w.xmax - w.xmin) / 4;
    const double dy = (w.ymax - w.ymin) / 4;
    switch (d) {
    case SCROLL_LEFT: out.xmin -= dx; out.xmax -= dx; break;
    case SCROLL_RIGHT: out.xmin += dx; out.xmax += dx; break;
    case SCROLL_UP: out.ymin += dy; out.ymax += dy; break;
    case SCROLL_DOWN: out.ymin -= dy; out.ymax -= dy; break;
    }
    return out;
}

PlotWindow centred_window(const PlotWindow& w) {
    const double hx = std::fabs((w.xmax - w.xmin) / 2);
    const double hy = std::fabs((w.ymax - w.ymin) / 2);
    return {-hx, hx, -hy, hy};
}

bool box_zoom_window(const PlotWindow& w, int x0, int y0, int x1, int y1, PlotWindow* out) {
    const int left = x0 < x1 ? x0 : x1;
    const int right = x0 < x1 ? x1 : x0;
    const int top = y0 < y1 ? y0 : y1;
    const int bottom = y0 < y1 ? y1 : y0;
    if (right - left <= 10 || bottom - top <= 10) return false;
    const double width = w.xmax - w.xmin;
    const double height = w.ymax - w.ymin;
    out->xmin = w.xmin + left * width / PLOT_WIDTH;
    out->xmax = w.xmin + right * width / PLOT_WIDTH;
    out->ymax = w.ymax - top * height / PLOT_HEIGHT;
    out->ymin = w.ymax - bottom * height / PLOT_HEIGHT;
    return true;
}

bool pan_window(const PlotWindow& w, int dx, int dy, PlotWindow* out) {
    if (std::abs(dx) < 2 && std::abs(dy) < 2) return false;
    const double shift_x = -static_cast<double>(dx) * (w.xmax - w.xmin) / PLOT_WIDTH;
    const double shift_y = static_cast<double>(dy) * (w.ymax - w.ymin) / PLOT_HEIGHT;
    *out = {w.xmin + shift_x, w.xmax + shift_x, w.ymin + shift_y, w.ymax + shift_y};
    return true;
}

}  // namespace qx

// Where things fall in the plot area: the mapping between window and pixel
// coordinates, the grid, the axes, the line clipper shared by every plot,
// and the window changes of the zoom, scroll, box-zoom and pan tools.
#pragma once
#include <cmath>
#include <cstdint>

#include "engine/errors.h"

namespace qx {

constexpr int PLOT_WIDTH = 226;    // pixel columns 0..225
constexpr int PLOT_HEIGHT = 180;   // pixel rows 0..179

// Whether a pixel position lies on the plot area.
inline bool inside_plot(double px, double py) {
    return px >= 0.0 && px < PLOT_WIDTH && py >= 0.0 && py < PLOT_HEIGHT;
}
constexpr int PLOT_LEFT = 7;       // the plot area on the face
constexpr int PLOT_TOP = 6;
constexpr double PIXEL_CLAMP = 30000.0;

struct PlotWindow {
    double xmin, xmax, ymin, ymax;
};
// The window of the plot settings record.
PlotWindow current_window();

// Window to pixel.  The undefined marker stays the marker; any other
// result is clamped to +-30000 (an infinity too; NaN becomes the marker).
double map_x(const PlotWindow& w, double x);
double map_y(const PlotWindow& w, double y);
double column_to_x(const PlotWindow& w, double column);
double row_to_y(const PlotWindow& w, double row);

// Grid lines of one axis.  Lines fall on whole multiples of the spacing.
// `shown` is false when the spacing cannot be found (a width that is not
// finite, not positive or too small for doubles); no line is drawn then.
constexpr int MAX_GRID_LINES = 16;
struct GridAxis {
    bool shown;
    double spacing;               // for the read-outs
    int count;
    int position[MAX_GRID_LINES];  // column (x axis) or row (y axis)
};
GridAxis grid_columns(const PlotWindow& w);
GridAxis grid_rows(const PlotWindow& w);
// The axis through zero, or -1 when zero is not strictly inside.
int axis_column(const PlotWindow& w);
int axis_row(const PlotWindow& w);

// Where drawing goes.  Colours are 0x00BBGGRR.  `line` follows the raster
// rule of the surface: first end drawn, last end not.
class PlotCanvas {
public:
    virtual ~PlotCanvas() = default;
    virtual void line(int x0, int y0, int x1, int y1, std::uint32_t colour) = 0;
    virtual void pixel(int x, int y, std::uint32_t colour) = 0;
};

struct ClipBox {
    double left, top, right, bottom;
};
constexpr ClipBox PLOT_CLIP{0.0, 0.0, 225.0, 179.0};
// Cohen-Sutherland: false when nothing of the segment is inside, else the
// ends are moved onto the box.  An end holding the undefined marker or a
// NaN gives false.
bool clip_segment(double& x0, double& y0, double& x1, double& y1, const ClipBox& box);
// Clips and draws the visible part (ends truncated to whole pixels).
void draw_clipped(PlotCanvas& canvas, double x0, double y0, double x1, double y1,
                  std::uint32_t colour, const ClipBox& box = PLOT_CLIP);

// The index of the point nearest to (x, y) among points[0..count) by
// squared distance in window units, or -1: points with an undefined
// coordinate or a distance that is not a number are skipped, and the first
// of equals is kept.  Point has doubles x and y.
template <class Point>
int nearest_point(const Point* points, int count, double x, double y) {
    int best = -1;
    double best_distance = 0.0;
    for (int i = 0; i < count; ++i) {
        const Point& p = points[i];
        if (p.x == UNDEFINED_VALUE || p.y == UNDEFINED_VALUE) continue;
        const double d = (p.x - x) * (p.x - x) + (p.y - y) * (p.y - y);
        if (std::isnan(d)) continue;
        if (best < 0 || d < best_distance) {
            best = i;
            best_distance = d;
        }
    }
    return best;
}

// New windows of the tools; each is applied through set_plot_window by
// the caller (false from these: nothing to apply).
PlotWindow zoom_window(const PlotWindow& w, double factor, bool lock_x, bool lock_y);
enum ScrollDirection { SCROLL_LEFT, SCROLL_RIGHT, SCROLL_UP, SCROLL_DOWN };
PlotWindow scroll_window(const PlotWindow& w, ScrollDirection d);
PlotWindow centred_window(const PlotWindow& w);
// Corners in plot pixels, any order.  False when the box is 10 pixels or
// less in either direction.
bool box_zoom_window(const PlotWindow& w, int x0, int y0, int x1, int y1, PlotWindow* out);
// The stylus moved by (dx, dy) pixels; false when less than 2 both ways.
bool pan_window(const PlotWindow& w, int dx, int dy, PlotWindow* out);

}  // namespace qx

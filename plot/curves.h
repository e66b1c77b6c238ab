// The curves of the two-dimensional plots: function plots sampled once per
// pixel column with the edge of the domain refined, polar and parametric
// curves through the window point plotter, and the trace that follows them.
#pragma once
#include <cstdint>

#include "plot/geometry.h"

namespace qx {

struct TracePoint {
    double x, y;          // window coordinates
    double parameter;     // theta or t (u for 3-D)
    double px, py;        // pixel coordinates
    double a, b;          // 3-D only: the undefined marker in 2-D plots
};
// A parameter range is sampled at most this often (step >= range/1000).
constexpr int MAX_TRACE_POINTS = 1001;
struct TraceTable {
    TracePoint points[MAX_TRACE_POINTS];
    int count;
};
// Refilled by every polar, parametric (and 3-D) paint.
extern TraceTable g_trace_table;

// Number of samples of a parameter range: tmin, tmin + step, .. while
// <= tmax, never more than MAX_TRACE_POINTS; 0 for a bad range.
int parameter_sample_count(double tmin, double tmax, double tstep);
double parameter_sample(double tmin, double tstep, int k);

// Each draws every defined slot (pair) of its type in slot order with the
// settings record's window and flags.  They return false when a sample was
// cancelled (the plot stops there).
bool draw_function_curves(PlotCanvas& canvas);
bool draw_polar_curves(PlotCanvas& canvas);
bool draw_parametric_curves(PlotCanvas& canvas);

// The trace of a function plot at pixel column `column`.
struct FunctionTrace {
    bool drawn;           // the trace function's slot is defined
    double x, y;          // y may be the undefined marker
    double py;            // pixel row (clamped), or the marker
    std::uint32_t colour;
};
FunctionTrace trace_function_at(int column);
// The trace table entry nearest to a window point (squared distance,
// undefined entries skipped, the first of equals kept), or -1.
int nearest_trace_point(double x, double y);

}  // namespace qx

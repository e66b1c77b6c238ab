// The curves of the Function, Polar and Parametric plots.  Every sampling
// loop is bounded by a count fixed before it starts (227 columns, at most
// MAX_TRACE_POINTS parameter values), parameters are computed as
// tmin + k * step so rounding cannot add or lose samples, and a cancelled
// sample stops the whole plot at once.
#include "plot/curves.h"

#include <cmath>

#include "plot/evaluate.h"
#include "plot/model.h"

namespace qx {

TraceTable g_trace_table;

namespace {

constexpr int kColumns = PLOT_WIDTH + 1;   // c = 0..226: the right edge too
constexpr int kEdgeProbes = 16;
// A last sample that overshoots the range by no more than this fraction of
// it is rounding, not a step past the end.
constexpr double kRangeSlack = 1e-9;

// The parametric X and Y values of one pair; static so that a paint never
// allocates.
double g_xs[MAX_TRACE_POINTS];
double g_ys[MAX_TRACE_POINTS];

void plot_pixel(PlotCanvas& canvas, double px, double py, std::uint32_t colour) {
    const int x = static_cast<int>(std::trunc(px));
    const int y = static_cast<int>(std::trunc(py));
    if (inside_plot(x, y)) canvas.pixel(x, y, colour);
}

// Bisects between a column and the one before it, whose definedness
// differ, for the edge of the domain.  The probe walks from `x` towards
// x - dx and turns whenever it lands on the side it is not looking for.
// The result is the value at the last defined probe, or `fallback` (the
// defined neighbour's value) when no probe was defined.  False when a probe
// was cancelled.
bool refine_edge(SlotEvaluation& ev, double x, double dx, bool column_defined, double fallback,
                 double* edge) {
    double step = -dx / 2;
    double probe = x + step;
    bool searching = column_defined;
    double value = fallback;
    for (int i = 0; i < kEdgeProbes; ++i) {
        const double v = ev.at(probe);
        if (g_plot_abort) return false;
        const bool defined = !is_undefined(v);
        if (defined) value = v;
        if (defined != searching) {
            step = -step;
            searching = !searching;
        }
        step /= 2;
        probe += step;
    }
    *edge = value;
    return true;
}

bool draw_function_slot(PlotCanvas& canvas, const PlotWindow& w, int slot) {
    SlotEvaluation ev(PLOT_FUNCTION, slot);
    const std::uint32_t colour = slot_colour(slot);
    const double dx = (w.xmax - w.xmin) / PLOT_WIDTH;
    bool prev_defined = false;
    double prev_y = UNDEFINED_VALUE;
    double prev_py = UNDEFINED_VALUE;
    for (int c = 0; c < kColumns; ++c) {
        const double x = w.xmin + c * dx;
        double y = ev.at(x);
        if (g_plot_abort) return false;
        const bool defined = !is_undefined(y);
        if (c > 0 && defined != prev_defined) {
            const double fallback = defined ? y : prev_y;
            if (!refine_edge(ev, x, dx, defined, fallback, &y)) return false;
        }
        // An undefined column after a defined one carries the edge value:
        // the curve runs into it, but nothing leaves it.
        const bool drawn = defined || prev_defined;
        const double py = drawn ? map_y(w, y) : UNDEFINED_VALUE;
        if (g_plot.connect_dots) {
            if (c > 0 && prev_defined) draw_clipped(canvas, c - 1, prev_py, c, py, colour);
        } else if (drawn && !is_undefined(py)) {
            plot_pixel(canvas, c, py, colour);
        }
        prev_defined = defined;
        prev_y = defined ? y : UNDEFINED_VALUE;
        prev_py = py;
    }
    return true;
}

// Joins or dots the points of one polar or parametric curve and, for the
// trace function's curve, records them for the trace.
class PointPlotter {
public:
    PointPlotter(PlotCanvas& canvas, const PlotWindow& w, std::uint32_t colour, bool traced)
        : canvas_(canvas), w_(w), colour_(colour), traced_(traced) {}

    // `traceable` is false for a point that only repeats the previous one
    // (an undefined radius): the trace must not show a value there.
    void add(double x, double y, double parameter, bool traceable = true) {
        const bool defined = !is_undefined(x) && !is_undefined(y) && !std::isnan(x) &&
                             !std::isnan(y);
        double px = UNDEFINED_VALUE, py = UNDEFINED_VALUE;
        if (defined) {
            px = map_x(w_, x);
            py = map_y(w_, y);
        }
        const bool mapped = defined && !is_undefined(px) && !is_undefined(py);
        if (g_plot.connect_dots) {
            if (mapped && prev_mapped_) draw_clipped(canvas_, prev_px_, prev_py_, px, py, colour_);
        } else if (mapped) {
            plot_pixel(canvas_, px, py, colour_);
        }
        if (traced_ && g_trace_table.count < MAX_TRACE_POINTS) {
            TracePoint& t = g_trace_table.points[g_trace_table.count++];
            t.x = mapped && traceable ? x : UNDEFINED_VALUE;
            t.y = mapped && traceable ? y : UNDEFINED_VALUE;
            t.parameter = parameter;
            t.px = px;
            t.py = py;
            t.a = UNDEFINED_VALUE;
            t.b = UNDEFINED_VALUE;
        }
        prev_mapped_ = mapped;
        prev_px_ = px;
        prev_py_ = py;
    }

private:
    PlotCanvas& canvas_;
    PlotWindow w_;
    std::uint32_t colour_;
    bool traced_;
    bool prev_mapped_ = false;
    double prev_px_ = UNDEFINED_VALUE, prev_py_ = UNDEFINED_VALUE;
};

bool draw_polar_slot(PlotCanvas& canvas, const PlotWindow& w, int slot, int count) {
    SlotEvaluation ev(PLOT_POLAR, slot);
    PointPlotter plotter(canvas, w, slot_colour(slot), g_plot.trace_function[PLOT_POLAR] == slot);
    const double to_radians = angle_to_radians();
    // An undefined radius repeats the previous point; before the first
    // defined one there is nothing to repeat and the point stays undefined.
    double x = UNDEFINED_VALUE, y = UNDEFINED_VALUE;
    for (int k = 0; k < count; ++k) {
        const double theta = parameter_sample(g_plot.tmin, g_plot.tstep, k);
        const double r = ev.at(theta);
        if (g_plot_abort) return false;
        const bool defined = !is_undefined(r);
        if (defined) {
            x = r * std::cos(to_radians * theta);
            y = r * std::sin(to_radians * theta);
        }
        plotter.add(x, y, theta, defined);
    }
    return true;
}

bool sample_slot(int slot, int count, double* out) {
    SlotEvaluation ev(PLOT_PARAMETRIC, slot);
    for (int k = 0; k < count; ++k) {
        out[k] = ev.at(parameter_sample(g_plot.tmin, g_plot.tstep, k));
        if (g_plot_abort) return false;
    }
    return true;
}

bool draw_parametric_pair(PlotCanvas& canvas, const PlotWindow& w, int pair, int count) {
    const int first = 2 * pair;
    if (!sample_slot(first, count, g_xs) || !sample_slot(first + 1, count, g_ys)) return false;
    PointPlotter plotter(canvas, w, slot_colour(first),
                         g_plot.trace_function[PLOT_PARAMETRIC] == first);
    for (int k = 0; k < count; ++k)
        plotter.add(g_xs[k], g_ys[k], parameter_sample(g_plot.tmin, g_plot.tstep, k));
    return true;
}

}  // namespace

int parameter_sample_count(double tmin, double tmax, double tstep) {
    if (!std::isfinite(tmin) || !std::isfinite(tmax) || !(tmax > tmin) || !(tstep > 0.0))
        return 0;
    const double range = tmax - tmin;
    if (!std::isfinite(range)) return 0;
    const double reach = range + range * kRangeSlack;
    const double last = std::floor(reach / tstep);
    if (!(last < MAX_TRACE_POINTS - 1)) return MAX_TRACE_POINTS;
    // The quotient may round across a whole number; the products decide.
    int k = static_cast<int>(last);
    while (k > 0 && k * tstep > reach) --k;
    while (k + 1 < MAX_TRACE_POINTS && (k + 1) * tstep <= reach) ++k;
    return k + 1;
}

double parameter_sample(double tmin, double tstep, int k) { return tmin + k * tstep; }

bool draw_function_curves(PlotCanvas& canvas) {
    g_plot_abort = false;
    const PlotWindow w = current_window();
    for (int slot = 0; slot < PLOT_SLOTS; ++slot) {
        if (!slot_defined(PLOT_FUNCTION, slot)) continue;
        if (!draw_function_slot(canvas, w, slot)) return false;
    }
    return true;
}

bool draw_polar_curves(PlotCanvas& canvas) {
    g_plot_abort = false;
    g_trace_table.count = 0;
    const PlotWindow w = current_window();
    const int count = parameter_sample_count(g_plot.tmin, g_plot.tmax, g_plot.tstep);
    for (int slot = 0; slot < PLOT_SLOTS; ++slot) {
        if (!slot_defined(PLOT_POLAR, slot)) continue;
        if (!draw_polar_slot(canvas, w, slot, count)) return false;
    }
    return true;
}

bool draw_parametric_curves(PlotCanvas& canvas) {
    g_plot_abort = false;
    g_trace_table.count = 0;
    const PlotWindow w = current_window();
    const int count = parameter_sample_count(g_plot.tmin, g_plot.tmax, g_plot.tstep);
    for (int pair = 0; pair < PLOT_SLOTS / 2; ++pair) {
        if (!slot_defined(PLOT_PARAMETRIC, 2 * pair) || !slot_defined(PLOT_PARAMETRIC, 2 * pair + 1))
            continue;
        if (!draw_parametric_pair(canvas, w, pair, count)) return false;
    }
    return true;
}

FunctionTrace trace_function_at(int column) {
    const PlotWindow w = current_window();
    const int slot = g_plot.trace_function[PLOT_FUNCTION];
    FunctionTrace t{false, column_to_x(w, column), UNDEFINED_VALUE, UNDEFINED_VALUE, 0};
    if (slot < 0 || slot >= PLOT_SLOTS || !slot_defined(PLOT_FUNCTION, slot)) return t;
    t.colour = slot_colour(slot);
    {
        SlotEvaluation ev(PLOT_FUNCTION, slot);
        t.y = ev.at(t.x);
    }
    t.drawn = true;
    t.py = map_y(w, t.y);
    return t;
}

int nearest_trace_point(double x, double y) {
    const int count = g_trace_table.count < MAX_TRACE_POINTS ? g_trace_table.count : MAX_TRACE_POINTS;
    return nearest_point(g_trace_table.points, count, x, y);
}

}  // namespace qx

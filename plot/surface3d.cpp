// Surfaces of the 3-D plot.  A paint samples each surface slot by slot
// over a grid whose size is fixed before the first sample (at most
// MESH_NODES a side), so every loop is bounded and nothing is allocated:
// the node components, their projection and the trace nodes live in static
// tables.  The components do not depend on the view, which is what lets a
// rotation preview reproject the last paint's nodes instead of evaluating.
#include "plot/surface3d.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/settings.h"
#include "plot/evaluate.h"
#include "plot/model.h"

namespace qx {

SurfaceTraceTable g_surface_trace;

namespace {

constexpr double kMinStepFraction = 0.02;
// A quotient of range and step this close (relatively) to a whole number
// is that number: the step was meant to divide the range.
constexpr double kWholeTolerance = 1e-9;
constexpr double kZScaleLimit = 1e100;
// Drag pixels to radians, and the rest position of the view.
constexpr double kRadiansPerPixel = 0.0125;
constexpr double kRestA1 = -3.7468;
constexpr double kRestA2 = 3.6568;
constexpr double kFixedA3 = -0.618106781;

// Axis letters: strokes on a 5 x 5 cell, ends inclusive, on a white box
// with a two-pixel margin, set this far beyond the axis end.
constexpr int kLetterCell = 5;
constexpr int kLetterMargin = 2;
constexpr int kLetterBox = kLetterCell + 2 * kLetterMargin;
constexpr double kLetterGap = 7.0;
constexpr std::uint32_t kLetterBoxColour = 0xFFFFFF;
struct Stroke {
    int x0, y0, x1, y1;
};
constexpr Stroke kLetterX[] = {{0, 0, 4, 4}, {0, 4, 4, 0}};
constexpr Stroke kLetterY[] = {{0, 0, 2, 2}, {4, 0, 2, 2}, {2, 2, 2, 4}};
constexpr Stroke kLetterZ[] = {{0, 0, 4, 0}, {4, 0, 0, 4}, {0, 4, 4, 4}};

// What the kept components were computed from; any difference means the
// nodes would come out otherwise.
struct MeshKey {
    PlotSlot slots[PLOT_SLOTS];
    double tmin, tmax, tstep, vmin, vmax, vstep, z_scale;
    int angle_unit, coordinates;
};

bool same_key(const MeshKey& a, const MeshKey& b) {
    for (int s = 0; s < PLOT_SLOTS; ++s) {
        const PlotSlot& p = a.slots[s];
        const PlotSlot& q = b.slots[s];
        if (p.count != q.count) return false;
        if (p.count > 0 && std::memcmp(p.tokens, q.tokens, sizeof(TokenCode) * static_cast<std::size_t>(p.count)) != 0)
            return false;
    }
    return a.tmin == b.tmin && a.tmax == b.tmax && a.tstep == b.tstep && a.vmin == b.vmin &&
           a.vmax == b.vmax && a.vstep == b.vstep && a.z_scale == b.z_scale &&
           a.angle_unit == b.angle_unit && a.coordinates == b.coordinates;
}

void current_key(MeshKey& k) {
    std::memcpy(k.slots, g_plot_slots[PLOT_3D], sizeof k.slots);
    for (PlotSlot& s : k.slots)
        if (s.count < 0 || s.count > PLOT_SLOT_TOKENS) s.count = 0;
    k.tmin = g_plot.tmin;
    k.tmax = g_plot.tmax;
    k.tstep = g_plot.tstep;
    k.vmin = g_plot.vmin;
    k.vmax = g_plot.vmax;
    k.vstep = g_plot.vstep;
    k.z_scale = g_plot.z_scale;
    k.angle_unit = g_settings.angle_unit;
    k.coordinates = g_plot.coordinates;
}

// The components of both surfaces.  `stride` tells which nodes of the
// full grid they sample: 1 after a full paint, 2 after a preview that had
// to evaluate.
struct Mesh {
    MeshAxis u, v;
    int stride;
    int nu, nv;
    bool present[SURFACE_COUNT];
    double raw[SURFACE_COUNT][3][MESH_NODES][MESH_NODES];
    double node[SURFACE_COUNT][3][MESH_NODES][MESH_NODES];
};
Mesh g_mesh;
MeshKey g_mesh_key;
MeshKey g_scratch_key;
bool g_mesh_kept = false;
SurfaceMeshInfo g_info{};

// Pixel coordinates of the surface being drawn.
double g_px[MESH_NODES][MESH_NODES];
double g_py[MESH_NODES][MESH_NODES];

int strided_count(int count, int stride) { return count > 0 ? (count - 1) / stride + 1 : 0; }

double clamp_z_scale(double z) {
    if (std::isnan(z)) return 1.0;
    if (z > kZScaleLimit) return kZScaleLimit;
    if (z < -kZScaleLimit) return -kZScaleLimit;
    return z;
}

bool surface_defined(int surface) {
    for (int m = 0; m < 3; ++m)
        if (!slot_defined(PLOT_3D, 3 * surface + m)) return false;
    return true;
}

// Samples every defined surface into g_mesh; false when cancelled (the
// surfaces finished before stay present).
bool evaluate_mesh(int stride) {
    Mesh& m = g_mesh;
    m.u = mesh_axis(g_plot.tmin, g_plot.tmax, g_plot.tstep);
    m.v = mesh_axis(g_plot.vmin, g_plot.vmax, g_plot.vstep);
    m.stride = stride;
    m.nu = strided_count(m.u.count, stride);
    m.nv = strided_count(m.v.count, stride);
    for (bool& p : m.present) p = false;
    const double factor = angle_to_radians();
    const double z_scale = clamp_z_scale(g_plot.z_scale);
    for (int s = 0; s < SURFACE_COUNT; ++s) {
        if (!surface_defined(s)) continue;
        for (int c = 0; c < 3; ++c) {
            SlotEvaluation ev(PLOT_3D, 3 * s + c);
            for (int i = 0; i < m.nu; ++i) {
                const double u = m.u.node(i * stride);
                for (int j = 0; j < m.nv; ++j) {
                    m.raw[s][c][i][j] = ev.at(u, m.v.node(j * stride));
                    if (g_plot_abort) return false;
                }
            }
        }
        for (int i = 0; i < m.nu; ++i)
            for (int j = 0; j < m.nv; ++j) {
                double n[3];
                surface_node(g_plot.coordinates, factor, z_scale, m.raw[s][0][i][j], m.raw[s][1][i][j],
                             m.raw[s][2][i][j], n);
                for (int c = 0; c < 3; ++c) m.node[s][c][i][j] = n[c];
            }
        m.present[s] = true;
    }
    return true;
}

bool to_pixel(const PlotWindow& w, const Projection& p, const double (&at)[3], double* px, double* py,
              double* wx = nullptr, double* wy = nullptr) {
    double x = UNDEFINED_VALUE, y = UNDEFINED_VALUE;
    const bool defined = p.apply(at[0], at[1], at[2], &x, &y);
    *px = defined ? map_x(w, x) : UNDEFINED_VALUE;
    *py = defined ? map_y(w, y) : UNDEFINED_VALUE;
    if (wx) *wx = x;
    if (wy) *wy = y;
    return defined && !is_undefined(*px) && !is_undefined(*py);
}

// Projects the stored nodes of one surface (every `step`-th) and draws the
// lines of constant u and of constant v; an undefined node breaks both
// lines through it.
void draw_mesh(PlotCanvas& canvas, const PlotWindow& w, const Projection& proj, int s, int step,
               bool traced) {
    const Mesh& m = g_mesh;
    const int nu = strided_count(m.nu, step);
    const int nv = strided_count(m.nv, step);
    const std::uint32_t colour = slot_colour(3 * s);
    for (int i = 0; i < nu; ++i)
        for (int j = 0; j < nv; ++j) {
            const int a = i * step, b = j * step;
            const double at[3] = {m.node[s][0][a][b], m.node[s][1][a][b], m.node[s][2][a][b]};
            double wx = 0.0, wy = 0.0;
            const bool defined = to_pixel(w, proj, at, &g_px[i][j], &g_py[i][j], &wx, &wy);
            if (!defined || !traced || g_surface_trace.count >= MAX_SURFACE_TRACE) continue;
            SurfaceTraceNode& t = g_surface_trace.nodes[g_surface_trace.count++];
            t.x = wx;
            t.y = wy;
            t.px = g_px[i][j];
            t.py = g_py[i][j];
            for (int c = 0; c < 3; ++c) t.c[c] = m.raw[s][c][a][b];
        }
    for (int i = 0; i < nu; ++i)
        for (int j = 1; j < nv; ++j)
            draw_clipped(canvas, g_px[i][j - 1], g_py[i][j - 1], g_px[i][j], g_py[i][j], colour);
    for (int j = 0; j < nv; ++j)
        for (int i = 1; i < nu; ++i)
            draw_clipped(canvas, g_px[i - 1][j], g_py[i - 1][j], g_px[i][j], g_py[i][j], colour);
}

struct AxisEnd {
    bool shown;
    double px, py;
};

// Each axis is drawn from its end towards the origin so that an end at
// the border of the plot is drawn too; the origin pixel is added after.
void draw_axes(PlotCanvas& canvas, const PlotWindow& w, const Projection& proj, AxisEnd ends_out[3],
               double* origin_px, double* origin_py) {
    double ends[3][3];
    axis_ends(w, ends);
    const double zero[3] = {0.0, 0.0, 0.0};
    double ox = UNDEFINED_VALUE, oy = UNDEFINED_VALUE;
    to_pixel(w, proj, zero, &ox, &oy);
    for (int a = 0; a < 3; ++a) {
        double px = UNDEFINED_VALUE, py = UNDEFINED_VALUE;
        const bool defined = to_pixel(w, proj, ends[a], &px, &py);
        draw_clipped(canvas, px, py, ox, oy, AXIS_3D_COLOUR);
        ends_out[a] = {defined && inside_plot(px, py), px, py};
    }
    if (!is_undefined(ox) && !is_undefined(oy) && inside_plot(ox, oy))
        canvas.pixel(static_cast<int>(ox), static_cast<int>(oy), AXIS_3D_COLOUR);
    *origin_px = ox;
    *origin_py = oy;
}


// The letter goes on the far side of the end, away from the origin, kept
// whole inside the plot area.
template <int N>
void draw_letter(PlotCanvas& canvas, const AxisEnd& end, double ox, double oy, const Stroke (&strokes)[N]) {
    double dx = end.px - ox, dy = end.py - oy;
    const double length = std::hypot(dx, dy);
    if (!(length >= 1.0) || !std::isfinite(length)) {
        dx = 1.0;
        dy = 0.0;
    } else {
        dx /= length;
        dy /= length;
    }
    const int half = kLetterBox / 2;
    const int left = std::clamp(static_cast<int>(std::lround(end.px + dx * kLetterGap)) - half, 0,
                                PLOT_WIDTH - kLetterBox);
    const int top = std::clamp(static_cast<int>(std::lround(end.py + dy * kLetterGap)) - half, 0,
                               PLOT_HEIGHT - kLetterBox);
    for (int r = 0; r < kLetterBox; ++r)
        canvas.line(left, top + r, left + kLetterBox, top + r, kLetterBoxColour);
    const int gx = left + kLetterMargin, gy = top + kLetterMargin;
    for (const Stroke& s : strokes) {
        canvas.line(gx + s.x0, gy + s.y0, gx + s.x1, gy + s.y1, AXIS_3D_COLOUR);
        canvas.pixel(gx + s.x1, gy + s.y1, AXIS_3D_COLOUR);
    }
}

}  // namespace

double corrected_mesh_step(double min, double max, double step) {
    const double range = max - min;
    if (!(step >= range * kMinStepFraction) || step > range) return range * kMinStepFraction;
    return step;
}

MeshAxis mesh_axis(double min, double max, double step) {
    MeshAxis a;
    if (!std::isfinite(min) || !std::isfinite(max) || !(max > min) || !std::isfinite(max - min))
        return a;
    a.min = min;
    a.max = max;
    a.step = corrected_mesh_step(min, max, step);
    if (!(a.step > 0.0)) return a;
    const double quotient = (max - min) / a.step;
    const double whole = std::round(quotient);
    int last = 0;
    if (std::fabs(quotient - whole) <= kWholeTolerance * whole) {
        last = whole < MESH_NODES - 1 ? static_cast<int>(whole) : MESH_NODES - 1;
        a.closed = last == whole;
    } else {
        const double f = std::floor(quotient);
        last = f < MESH_NODES - 1 ? static_cast<int>(f) : MESH_NODES - 1;
    }
    a.count = last + 1;
    return a;
}

ViewAngles view_angles(double angle_a, double angle_b, double dx, double dy) {
    return {(dy + angle_b) * kRadiansPerPixel + kRestA1, (dx + angle_a) * kRadiansPerPixel + kRestA2,
            kFixedA3};
}

Projection::Projection(const ViewAngles& v)
    : s1_(std::sin(v.a1)), c1_(std::cos(v.a1)), s2_(std::sin(v.a2)), c2_(std::cos(v.a2)),
      s3_(std::sin(v.a3)), c3_(std::cos(v.a3)) {}

bool Projection::apply(double x, double y, double z, double* wx, double* wy) const {
    *wx = UNDEFINED_VALUE;
    *wy = UNDEFINED_VALUE;
    if (is_undefined(x) || is_undefined(y) || is_undefined(z)) return false;
    const double p = z * s1_ + y * c1_;
    const double q = z * c1_ - y * s1_;
    const double r = q * s2_ + x * c2_;
    const double X = p * s3_ + r * c3_;
    const double Y = p * c3_ - r * s3_;
    if (!std::isfinite(X) || !std::isfinite(Y)) return false;
    *wx = X;
    *wy = Y;
    return true;
}

void axis_ends(const PlotWindow& w, double ends[3][3]) {
    const double W = w.xmax - w.xmin, H = w.ymax - w.ymin;
    const double e[3][3] = {{W, 0.0, 0.0},
                            {0.0, H, 0.0},
                            {0.0, 0.0, std::fabs(W * std::cos(W)) + std::fabs(H * std::sin(H))}};
    std::memcpy(ends, e, sizeof e);
}

bool surface_node(int coordinates, double angle_factor, double z_scale, double c1, double c2, double c3,
                  double node[3]) {
    node[0] = node[1] = node[2] = UNDEFINED_VALUE;
    if (is_undefined(c1) || is_undefined(c2) || is_undefined(c3)) return false;
    double n[3];
    if (coordinates == COORD_CYLINDRICAL) {
        const double theta = angle_factor * c1;
        n[0] = c2 * std::cos(theta);
        n[1] = c2 * std::sin(theta);
        n[2] = z_scale * c3;
    } else if (coordinates == COORD_SPHERICAL) {
        const double theta = angle_factor * c1, phi = angle_factor * c2;
        const double s = std::sin(phi);
        n[0] = c3 * s * std::cos(theta);
        n[1] = c3 * s * std::sin(theta);
        n[2] = z_scale * c3 * std::cos(phi);
    } else {
        n[0] = c1;
        n[1] = c2;
        n[2] = z_scale * c3;
    }
    if (!std::isfinite(n[0]) || !std::isfinite(n[1]) || !std::isfinite(n[2])) return false;
    node[0] = n[0];
    node[1] = n[1];
    node[2] = n[2];
    return true;
}

int nearest_surface_node(double x, double y) {
    const int count = g_surface_trace.count < MAX_SURFACE_TRACE ? g_surface_trace.count : MAX_SURFACE_TRACE;
    return nearest_point(g_surface_trace.nodes, count, x, y);
}

bool draw_surface_plot(PlotCanvas& canvas, const SurfaceView& view) {
    g_plot_abort = false;
    g_surface_trace.count = 0;
    g_info = SurfaceMeshInfo{};
    const PlotWindow w = current_window();
    const Projection proj(view_angles(view.angle_a, view.angle_b, view.dx, view.dy));
    AxisEnd ends[3];
    double ox = 0.0, oy = 0.0;
    draw_axes(canvas, w, proj, ends, &ox, &oy);

    const int stride = view.preview ? 2 : 1;
    current_key(g_scratch_key);
    const bool reuse = view.preview && g_mesh_kept && same_key(g_scratch_key, g_mesh_key);
    bool complete = true;
    if (!reuse) {
        g_mesh_kept = false;
        complete = evaluate_mesh(stride);
        if (complete) {
            std::memcpy(&g_mesh_key, &g_scratch_key, sizeof g_mesh_key);
            g_mesh_kept = true;
        }
    }
    // Kept full-grid nodes are thinned to the preview's; nodes evaluated
    // for a preview are drawn as they are.
    const int step = stride / g_mesh.stride > 1 ? stride / g_mesh.stride : 1;
    const int traced = g_plot.trace_function[PLOT_3D] == 3 ? 1 : 0;
    for (int s = 0; s < SURFACE_COUNT; ++s) {
        if (!g_mesh.present[s]) continue;
        draw_mesh(canvas, w, proj, s, step, !view.preview && s == traced);
        g_info.drawn[s] = true;
    }
    g_info.nu = strided_count(g_mesh.nu, step);
    g_info.nv = strided_count(g_mesh.nv, step);
    g_info.reused = reuse;

    if (ends[0].shown) draw_letter(canvas, ends[0], ox, oy, kLetterX);
    if (ends[1].shown) draw_letter(canvas, ends[1], ox, oy, kLetterY);
    if (ends[2].shown) draw_letter(canvas, ends[2], ox, oy, kLetterZ);
    return complete;
}

SurfaceMeshInfo last_surface_mesh() { return g_info; }

void forget_surface_mesh() { g_mesh_kept = false; }

}  // namespace qx

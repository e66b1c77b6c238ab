// The sample-plot chooser: six tiles, one per kind of plot, each showing the
// sample that choosing it loads.  The curves are computed from the samples'
// own formulas so the picture shows what the user will get.
#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "platform/font.h"
#include "tools/artgen/art.h"

namespace qx::art {

namespace {

constexpr double kPi = 3.14159265358979323846;

// The colours of the plot's function slots; slot 3 is a purple rather than
// pure magenta, which the picture drawer treats as see-through white.
const Colour kSlot[6] = {
    rgb(0, 0, 255), rgb(255, 0, 0), rgb(0, 210, 0), rgb(220, 0, 220), rgb(255, 192, 72),
    rgb(19, 200, 192),
};

const Colour kGround = rgb(212, 215, 220);
const Colour kTile = rgb(234, 236, 240);
const Colour kTileEdge = rgb(150, 156, 168);
const Colour kTileLight = rgb(250, 251, 252);
const Colour kPlotEdge = rgb(172, 178, 190);
const Colour kGrid = rgb(228, 231, 237);
const Colour kGridStrong = rgb(206, 211, 220);
const Colour kAxis = rgb(132, 138, 150);
const Colour kName = rgb(40, 44, 54);

struct Rect { int left, top, right, bottom; };

// A plot window mapped onto a surface the size of the plot area.
struct Window {
    Surface& s;
    double xmin, xmax, ymin, ymax;

    double px(double x) const { return (x - xmin) / (xmax - xmin) * (s.width() - 1); }
    double py(double y) const { return (ymax - y) / (ymax - ymin) * (s.height() - 1); }
    static int clamp(double v) { return static_cast<int>(std::lround(std::clamp(v, -1e4, 1e4))); }

    void grid(double dx, double dy, Colour c) {
        for (double x = std::ceil(xmin / dx) * dx; x <= xmax; x += dx) {
            int sx = clamp(px(x));
            fill_rect(s, c, sx, 0, sx, s.height() - 1);
        }
        for (double y = std::ceil(ymin / dy) * dy; y <= ymax; y += dy) {
            int sy = clamp(py(y));
            fill_rect(s, c, 0, sy, s.width() - 1, sy);
        }
    }
    void axes(double tick_x, double tick_y) {
        const int ox = clamp(px(0)), oy = clamp(py(0));
        fill_rect(s, kAxis, 0, oy, s.width() - 1, oy);
        fill_rect(s, kAxis, ox, 0, ox, s.height() - 1);
        for (double x = std::ceil(xmin / tick_x) * tick_x; x <= xmax; x += tick_x) {
            int sx = clamp(px(x));
            fill_rect(s, kAxis, sx, oy - 1, sx, oy + 1);
        }
        for (double y = std::ceil(ymin / tick_y) * tick_y; y <= ymax; y += tick_y) {
            int sy = clamp(py(y));
            fill_rect(s, kAxis, ox - 1, sy, ox + 1, sy);
        }
    }
    // A parametric curve, sampled finely enough that no step is long.
    void curve(const std::function<void(double, double&, double&)>& f, double t0, double t1,
               int steps, Colour c) {
        std::vector<Point> pts;
        for (int k = 0; k <= steps; ++k) {
            double x = 0, y = 0;
            f(t0 + (t1 - t0) * k / steps, x, y);
            pts.push_back({clamp(px(x)), clamp(py(y))});
        }
        draw_polyline(s, pts.data(), static_cast<int>(pts.size()), c);
        // The polyline leaves its last point for a following segment.
        if (!pts.empty()) s.set(pts.back().x, pts.back().y, c);
    }
};

// The tile: a raised card with the plot area and the name under it.  Returns
// the plot area's inside, for the caller's surface.
Rect draw_tile(Surface& s, const Rect& r, const char* name) {
    fill_rect(s, kTile, r.left, r.top, r.right, r.bottom);
    frame_rect(s, kTileEdge, r.left, r.top, r.right, r.bottom);
    fill_rect(s, kTileLight, r.left + 1, r.top + 1, r.right - 1, r.top + 1);
    fill_rect(s, kTileLight, r.left + 1, r.top + 1, r.left + 1, r.bottom - 1);

    const int name_h = font_height(FONT_TINY);
    const Rect plot{r.left + 3, r.top + 3, r.right - 3, r.bottom - name_h - 4};
    frame_rect(s, kPlotEdge, plot.left, plot.top, plot.right, plot.bottom);
    const int w = text_width(FONT_TINY, name);
    draw_text(s, FONT_TINY, name, (r.left + r.right + 1 - w) / 2, plot.bottom + 2, kName);
    return {plot.left + 1, plot.top + 1, plot.right - 1, plot.bottom - 1};
}

void place(Surface& s, const Rect& inside, const Surface& plot) {
    copy_surface(s, inside.left, inside.top, plot);
}

Surface plot_surface(const Rect& inside) {
    return Surface(inside.right - inside.left + 1, inside.bottom - inside.top + 1, COLOUR_WHITE);
}

void function_tile(Surface& s, const Rect& r) {
    const Rect in = draw_tile(s, r, "Function");
    Surface p = plot_surface(in);
    Window w{p, -2 * kPi, 2 * kPi, -4, 4};
    w.grid(kPi / 2, 1, kGrid);
    w.axes(kPi / 2, 1);
    const std::function<double(double)> fs[6] = {
        [](double x) { return std::sin(x); },     [](double x) { return std::cos(x); },
        [](double x) { return x * x; },           [](double x) { return x * x * x; },
        [](double x) { return x * x * x * x; },   [](double x) { return std::sin(x * x); },
    };
    // Drawn last slot first so sin and cos, the calmest curves, stay on top.
    for (int k = 5; k >= 0; --k)
        w.curve([&](double t, double& x, double& y) { x = t; y = fs[k](t); }, w.xmin, w.xmax,
                1600, kSlot[k]);
    place(s, in, p);
}

// A window of equal scale on both axes around the origin.
Window square_window(Surface& p, double half_height) {
    const double half_width = half_height * (p.width() - 1) / (p.height() - 1);
    return {p, -half_width, half_width, -half_height, half_height};
}

void polar_tile(Surface& s, const Rect& r) {
    const Rect in = draw_tile(s, r, "Polar");
    Surface p = plot_surface(in);
    Window w = square_window(p, 2.2);
    w.grid(1, 1, kGrid);
    // Rings of radius 1 and 2 give the polar grid its character.
    for (double ring : {1.0, 2.0})
        w.curve([ring](double t, double& x, double& y) {
            x = ring * std::cos(t);
            y = ring * std::sin(t);
        }, 0, 2 * kPi, 240, kGridStrong);
    w.axes(1, 1);
    const int n[4] = {1, 2, 3, 5};
    for (int k = 3; k >= 0; --k)
        w.curve([&](double t, double& x, double& y) {
            const double radius = 1 + std::cos(n[k] * t);
            x = radius * std::cos(t);
            y = radius * std::sin(t);
        }, 0, 2 * kPi, 1200, kSlot[k]);
    place(s, in, p);
}

void parametric_tile(Surface& s, const Rect& r) {
    const Rect in = draw_tile(s, r, "Parametric");
    Surface p = plot_surface(in);
    Window w = square_window(p, 3.4);
    w.grid(1, 1, kGrid);
    w.axes(1, 1);
    w.curve([](double t, double& x, double& y) {
        x = 3 * std::sin(5 * t);
        y = 3 * std::cos(3 * t);
    }, 0, 2 * kPi, 1600, kSlot[2]);
    w.curve([](double t, double& x, double& y) {
        x = 2 * std::cos(t) + std::cos(8 * t);
        y = 2 * std::sin(t) + std::sin(8 * t);
    }, 0, 2 * kPi, 1600, kSlot[0]);
    place(s, in, p);
}

// ---------------------------------------------------------------------------
// The three-dimensional samples: wire meshes seen through the plot's default
// view, an orthographic projection.  The meshes are drawn back to front with
// each facet blanked before its edges go on, so the far side of a surface is
// hidden and a 20 x 20 mesh still reads at this size.

struct Vec3 { double x, y, z; };
struct Flat { double x, y, depth; };

Flat project(const Vec3& v) {
    const double a1 = -3.7468, a2 = 3.6568, a3 = -0.618106781;
    const double p = v.z * std::sin(a1) + v.y * std::cos(a1);
    const double q = v.z * std::cos(a1) - v.y * std::sin(a1);
    const double r = q * std::sin(a2) + v.x * std::cos(a2);
    // The component the projection drops: larger is nearer the viewer.
    const double depth = q * std::cos(a2) - v.x * std::sin(a2);
    // Screen y grows downwards.
    return {p * std::sin(a3) + r * std::cos(a3), -(p * std::cos(a3) - r * std::sin(a3)), depth};
}

// Even-odd scan fill of a small polygon, sampling pixel centres.
void fill_polygon(Surface& s, const Point* pts, int count, Colour c) {
    int top = pts[0].y, bottom = pts[0].y;
    for (int k = 1; k < count; ++k) {
        top = std::min(top, pts[k].y);
        bottom = std::max(bottom, pts[k].y);
    }
    std::vector<double> xs;
    for (int y = std::max(top, 0); y <= std::min(bottom, s.height() - 1); ++y) {
        xs.clear();
        for (int k = 0; k < count; ++k) {
            const Point& a = pts[k];
            const Point& b = pts[(k + 1) % count];
            if ((a.y <= y) != (b.y <= y))
                xs.push_back(a.x + static_cast<double>(y - a.y) * (b.x - a.x) / (b.y - a.y));
        }
        std::sort(xs.begin(), xs.end());
        for (std::size_t k = 0; k + 1 < xs.size(); k += 2)
            fill_rect(s, c, static_cast<int>(std::ceil(xs[k])), y,
                      static_cast<int>(std::floor(xs[k + 1])), y);
    }
}

using Surface3 = std::function<Vec3(double, double)>;

void mesh_tile(Surface& s, const Rect& r, const char* name, const Surface3& f, double u0,
               double u1, double v0, double v1, double axis_length) {
    const Rect in = draw_tile(s, r, name);
    Surface p = plot_surface(in);
    constexpr int kSteps = 20;
    constexpr int kN = kSteps + 1;

    std::vector<Flat> mesh;
    for (int i = 0; i <= kSteps; ++i)
        for (int j = 0; j <= kSteps; ++j)
            mesh.push_back(project(f(u0 + (u1 - u0) * i / kSteps, v0 + (v1 - v0) * j / kSteps)));

    // One scale for both directions, fitted to the mesh; the axes may run
    // off the edge.
    double xmin = 1e9, xmax = -1e9, ymin = 1e9, ymax = -1e9;
    for (const Flat& q : mesh) {
        xmin = std::min(xmin, q.x);
        xmax = std::max(xmax, q.x);
        ymin = std::min(ymin, q.y);
        ymax = std::max(ymax, q.y);
    }
    const double margin = 3;
    const double scale = std::min((p.width() - 1 - 2 * margin) / (xmax - xmin),
                                  (p.height() - 1 - 2 * margin) / (ymax - ymin));
    const double cx = (p.width() - 1) / 2.0 - scale * (xmin + xmax) / 2;
    const double cy = (p.height() - 1) / 2.0 - scale * (ymin + ymax) / 2;
    auto screen = [&](const Flat& q) {
        return Point{static_cast<int>(std::lround(cx + scale * q.x)),
                     static_cast<int>(std::lround(cy + scale * q.y))};
    };

    // Everything to paint, far to near: facets of the mesh and short pieces
    // of the axes, so an axis shows where it passes in front of the surface.
    struct Item {
        double depth;
        int facet;          // index of the facet's first corner, or -1
        Flat a, b;          // an axis piece
    };
    std::vector<Item> items;
    for (int i = 0; i < kSteps; ++i)
        for (int j = 0; j < kSteps; ++j) {
            const int k = i * kN + j;
            const double depth = (mesh[k].depth + mesh[k + 1].depth + mesh[k + kN].depth +
                                  mesh[k + kN + 1].depth) / 4;
            items.push_back({depth, k, {}, {}});
        }
    constexpr int kPieces = 24;
    const Vec3 axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    for (const Vec3& e : axes)
        for (int k = 0; k < kPieces; ++k) {
            const double t0 = axis_length * (2.0 * k / kPieces - 1);
            const double t1 = axis_length * (2.0 * (k + 1) / kPieces - 1);
            Flat a = project({e.x * t0, e.y * t0, e.z * t0});
            Flat b = project({e.x * t1, e.y * t1, e.z * t1});
            items.push_back({(a.depth + b.depth) / 2, -1, a, b});
        }
    std::stable_sort(items.begin(), items.end(),
                     [](const Item& x, const Item& y) { return x.depth < y.depth; });

    for (const Item& it : items) {
        if (it.facet < 0) {
            Point a = screen(it.a), b = screen(it.b);
            draw_line(p, a.x, a.y, b.x, b.y, kAxis);
            p.set(b.x, b.y, kAxis);
            continue;
        }
        const int k = it.facet;
        Point q[5] = {screen(mesh[k]), screen(mesh[k + kN]), screen(mesh[k + kN + 1]),
                      screen(mesh[k + 1]), {}};
        q[4] = q[0];
        fill_polygon(p, q, 4, COLOUR_WHITE);
        draw_polyline(p, q, 5, kSlot[0]);
    }
    place(s, in, p);
}

void draw_samples(ArtList& out) {
    Surface s(204, 248, kGround);
    function_tile(s, {5, 5, 100, 82});
    polar_tile(s, {103, 5, 198, 82});
    parametric_tile(s, {5, 85, 100, 162});
    // The Cartesian bump is one unit high over a six-unit square: at equal
    // scale it would be a ripple, so the sample is shown in a box scaled to
    // its window on every axis, the bump standing well up.
    mesh_tile(s, {103, 85, 198, 162}, "3D Cartesian",
              [](double u, double v) {
                  return Vec3{u / 3, v / 3, 2 * std::exp(-0.5 * (u * u + v * v))};
              },
              -3, 3, -3, 3, 1.15);
    mesh_tile(s, {5, 165, 100, 242}, "3D Cylindrical",
              [](double u, double v) {
                  return Vec3{v * std::cos(u), v * std::sin(u), 0.7 + 0.3 * std::sin(2 * v)};
              },
              0, 2 * kPi, 0, 1, 1.15);
    mesh_tile(s, {103, 165, 198, 242}, "3D Spherical",
              [](double u, double v) {
                  const double radius = 0.7 + 0.3 * std::sin(2 * v);
                  return Vec3{radius * std::sin(v) * std::cos(u),
                              radius * std::sin(v) * std::sin(u), radius * std::cos(v)};
              },
              0, 2 * kPi, 0, kPi, 1.15);
    out.push_back({"PLOT_SAMPLE_GIF", Kind::Picture, s});
}

}  // namespace

void draw_plot_samples(ArtList& out) { draw_samples(out); }

}  // namespace qx::art

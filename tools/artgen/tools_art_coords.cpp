// The diagrams of the "Plot Coordinate System" help: one per plot type,
// each showing what the type's variables mean.  Clean textbook style: white
// ground, dark axes with arrowheads, the object of interest in colour and
// dashed construction lines.
#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "platform/font.h"
#include "tools/artgen/art.h"

namespace qx::art {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kWidth = 200;
constexpr int kHeight = 140;

const Colour kFrame = rgb(64, 68, 78);
const Colour kAxis = rgb(44, 48, 58);
const Colour kText = rgb(28, 30, 38);
const Colour kCurve = rgb(30, 88, 210);
const Colour kPoint = rgb(212, 36, 36);
const Colour kAngle = rgb(0, 150, 70);
const Colour kAngle2 = rgb(200, 100, 0);
const Colour kGuide = rgb(140, 146, 158);
const Colour kFaint = rgb(200, 205, 214);

// The Greek letters of the fonts' code page.
const std::string kTheta = "\x97";
const std::string kPhi = "\xA4";

struct Vec { double x, y; };

// A diagram: its surface and the drawing helpers every picture shares.
struct Diagram {
    Surface s{kWidth, kHeight, COLOUR_WHITE};

    static int ix(double v) { return static_cast<int>(std::lround(v)); }

    void line(Vec a, Vec b, Colour c, bool thick = false) {
        draw_line(s, ix(a.x), ix(a.y), ix(b.x), ix(b.y), c, thick);
        s.set(ix(b.x), ix(b.y), c);
        if (thick) s.set(ix(b.x) + 1, ix(b.y), c);
    }

    // Dashes measured along the line, so a dashed line looks the same at
    // every slope.
    void dashed(Vec a, Vec b, Colour c, double on = 3, double off = 2) {
        const double len = std::hypot(b.x - a.x, b.y - a.y);
        if (len <= 0) return;
        for (double d = 0; d < len; d += on + off) {
            const double e = std::min(d + on - 1, len);
            const Vec p{a.x + (b.x - a.x) * d / len, a.y + (b.y - a.y) * d / len};
            const Vec q{a.x + (b.x - a.x) * e / len, a.y + (b.y - a.y) * e / len};
            line(p, q, c);
        }
    }

    void polyline(const std::vector<Vec>& pts, Colour c, bool thick = false) {
        for (std::size_t k = 1; k < pts.size(); ++k) line(pts[k - 1], pts[k], c, thick);
    }

    void fill_triangle(Vec a, Vec b, Vec c, Colour col) {
        const double top = std::min({a.y, b.y, c.y}), bottom = std::max({a.y, b.y, c.y});
        const Vec v[3] = {a, b, c};
        for (int y = static_cast<int>(std::floor(top)); y <= static_cast<int>(std::ceil(bottom));
             ++y) {
            double lo = 1e9, hi = -1e9;
            for (int k = 0; k < 3; ++k) {
                const Vec& p = v[k];
                const Vec& q = v[(k + 1) % 3];
                if ((p.y <= y && q.y >= y) || (q.y <= y && p.y >= y)) {
                    // A level edge spans its whole width.
                    const bool level = p.y == q.y;
                    const double x =
                        level ? std::min(p.x, q.x) : p.x + (y - p.y) * (q.x - p.x) / (q.y - p.y);
                    const double x2 = level ? std::max(p.x, q.x) : x;
                    lo = std::min(lo, x);
                    hi = std::max(hi, x2);
                }
            }
            if (lo <= hi) fill_rect(s, col, ix(lo), y, ix(hi), y);
        }
    }

    // An arrowhead with its tip at `tip`, pointing along from -> tip.
    void arrowhead(Vec from, Vec tip, Colour c, double length = 7, double half = 3) {
        const double len = std::hypot(tip.x - from.x, tip.y - from.y);
        if (len <= 0) return;
        const Vec d{(tip.x - from.x) / len, (tip.y - from.y) / len};
        const Vec base{tip.x - d.x * length, tip.y - d.y * length};
        fill_triangle(tip, {base.x - d.y * half, base.y + d.x * half},
                      {base.x + d.y * half, base.y - d.x * half}, c);
    }

    void arrow(Vec a, Vec b, Colour c, bool thick = false) {
        const double len = std::hypot(b.x - a.x, b.y - a.y);
        const Vec stop{b.x - (b.x - a.x) / len * 4, b.y - (b.y - a.y) / len * 4};
        line(a, stop, c, thick);
        arrowhead(a, b, c);
    }

    void dot(Vec p, Colour c) {
        const int x = ix(p.x), y = ix(p.y);
        fill_rect(s, c, x - 1, y - 2, x + 1, y + 2);
        fill_rect(s, c, x - 2, y - 1, x + 2, y + 1);
    }

    void small_dot(Vec p, Colour c) {
        fill_rect(s, c, ix(p.x) - 1, ix(p.y) - 1, ix(p.x) + 1, ix(p.y) + 1);
    }

    // Text placed by a reference point: ax, ay in 0..1 say where in the text's
    // box the point falls (0 left/top, 0.5 centre, 1 right/bottom).  The box
    // is kept inside the frame.
    void text(FontId f, const std::string& t, Vec at, double ax, double ay, Colour c) {
        const int w = text_width(f, t.c_str());
        const int h = font_height(f);
        int x = ix(at.x - ax * w);
        int y = ix(at.y - ay * h);
        x = std::clamp(x, 2, kWidth - 2 - w);
        y = std::clamp(y, 1, kHeight - 1 - h);
        draw_text(s, f, t.c_str(), x, y, c);
    }

    Surface finish() {
        frame_rect(s, kFrame, 0, 0, kWidth - 1, kHeight - 1);
        return s;
    }
};

// ---------------------------------------------------------------------------
// Two-dimensional pictures.

Surface function_picture() {
    Diagram d;
    const Vec o{28, 112};
    d.arrow({10, o.y}, {188, o.y}, kAxis);
    d.arrow({o.x, 130}, {o.x, 10}, kAxis);
    d.text(FONT_LABEL, "x", {186, o.y + 2}, 1, 0, kText);
    d.text(FONT_LABEL, "y", {o.x + 7, 8}, 0, 0, kText);
    d.text(FONT_LABEL, "O", {o.x - 3, o.y + 2}, 1, 0, kText);

    // A smooth curve with a rise, a fall and a rise: what "a function" looks
    // like to most people.
    auto f = [&](double x) {
        const double t = (x - 40) / 135;
        return o.y - (24 + 50 * t + 24 * std::sin(2 * kPi * t));
    };
    std::vector<Vec> curve;
    for (double x = 38; x <= 176; x += 0.5) curve.push_back({x, f(x)});
    d.polyline(curve, kCurve, true);

    // One point of the curve, with its coordinates marked on the axes.
    const double x0 = 112;
    const Vec p{x0, f(x0)};
    d.dashed({x0, o.y}, p, kGuide);
    d.dashed({o.x, p.y}, p, kGuide);
    d.line({x0, o.y - 2}, {x0, o.y + 2}, kAxis);
    d.line({o.x - 2, p.y}, {o.x + 2, p.y}, kAxis);
    d.dot(p, kPoint);
    d.text(FONT_LABEL, "x", {x0, o.y + 2}, 0.5, 0, kText);
    d.text(FONT_DIALOG, "f(x)", {o.x - 4, p.y}, 1, 0.5, kText);
    d.text(FONT_LABEL, "y = f(x)", {172, f(176) - 6}, 1, 1, kCurve);
    return d.finish();
}

Surface polar_picture() {
    Diagram d;
    const Vec o{34, 108};
    d.arrow({o.x - 16, o.y}, {188, o.y}, kAxis);
    d.dashed({o.x, 130}, {o.x, 14}, kFaint);
    d.text(FONT_DIALOG, "polar axis", {186, o.y + 3}, 1, 0, kText);
    d.text(FONT_LABEL, "O", {o.x - 3, o.y + 2}, 1, 0, kText);

    const double theta = 38 * kPi / 180;
    const double r = 122;
    const Vec p{o.x + r * std::cos(theta), o.y - r * std::sin(theta)};
    // The circle of radius r, faint, so the distance reads as a radius.
    std::vector<Vec> ring;
    for (double a = -4; a <= 64; a += 1)
        ring.push_back({o.x + r * std::cos(a * kPi / 180), o.y - r * std::sin(a * kPi / 180)});
    d.polyline(ring, kFaint);
    d.line(o, p, kCurve, true);
    const Vec mid{o.x + 0.55 * r * std::cos(theta), o.y - 0.55 * r * std::sin(theta)};
    d.text(FONT_LABEL, "r", {mid.x - 4, mid.y - 4}, 1, 1, kCurve);

    // The angle, from the polar axis round to the point.
    const double arc = 34;
    std::vector<Vec> pts;
    for (double a = 0; a <= theta + 1e-9; a += theta / 40)
        pts.push_back({o.x + arc * std::cos(a), o.y - arc * std::sin(a)});
    d.polyline(pts, kAngle, true);
    d.arrowhead(pts[pts.size() - 4], pts.back(), kAngle, 6, 3);
    d.text(FONT_LABEL, kTheta, {o.x + (arc + 8) * std::cos(theta / 2),
                                o.y - (arc + 8) * std::sin(theta / 2)},
           0, 0.5, kAngle);

    d.dot(p, kPoint);
    d.text(FONT_LABEL, "(r, " + kTheta + ")", {p.x - 6, p.y - 2}, 1, 0.7, kPoint);
    return d.finish();
}

Surface parametric_picture() {
    Diagram d;
    const Vec o{36, 118};
    d.arrow({20, o.y}, {190, o.y}, kAxis);
    d.arrow({o.x, 134}, {o.x, 8}, kAxis);
    d.text(FONT_LABEL, "x", {188, o.y + 1}, 1, 0, kText);
    d.text(FONT_LABEL, "y", {o.x + 5, 6}, 0, 0, kText);

    // A curve that loops back on itself, which no y = f(x) can do: a
    // stretched trochoid, t running from 0 to 3.5.
    auto at = [&](double t) {
        const double a = 0.9 + 1.8 * t;
        return Vec{58 + 17 * a - 30 * std::sin(a), 62 + 30 * std::cos(a)};
    };
    const double t_end = 3.55;
    std::vector<Vec> curve;
    for (double t = 0; t <= t_end + 1e-9; t += 0.005) curve.push_back(at(t));
    d.polyline(curve, kCurve, true);

    // Arrows along the way show the direction of increasing t.
    for (double t : {0.55, 1.55, 2.5}) d.arrowhead(at(t - 0.05), at(t + 0.03), kCurve, 8, 4);
    d.arrowhead(at(t_end - 0.04), at(t_end + 0.02), kCurve, 8, 4);

    // Marks for a few values of t.
    struct Mark { double t; const char* label; double ax, ay; Vec off; };
    const Mark marks[] = {
        {0.0, "t = 0", 0, 0, {4, 3}},
        {1.0, "t = 1", 0.3, 0, {0, 5}},
        {2.0, "t = 2", 0.5, 1, {0, -5}},
        {3.0, "t = 3", 0.5, 0, {0, 5}},
    };
    for (const Mark& m : marks) {
        const Vec p = at(m.t);
        d.small_dot(p, kAxis);
        d.text(FONT_DIALOG, m.label, {p.x + m.off.x, p.y + m.off.y}, m.ax, m.ay, kText);
    }

    // A point on the way and its coordinates.
    const double tp = 1.55;
    const Vec p = at(tp);
    d.dashed({p.x, o.y}, p, kGuide);
    d.dashed({o.x, p.y}, p, kGuide);
    d.dot(p, kPoint);
    d.text(FONT_DIALOG, "(x(t), y(t))", {p.x, p.y - 6}, 0.5, 1, kPoint);
    d.text(FONT_LABEL, "x(t)", {p.x, o.y + 1}, 0.5, 0, kText);
    d.text(FONT_LABEL, "y(t)", {o.x - 4, p.y}, 1, 0.5, kText);
    return d.finish();
}

// ---------------------------------------------------------------------------
// Three-dimensional pictures, in the textbook's oblique view: y across to
// the right, z straight up and x coming toward the reader at half length, so
// a point in the first octant stands clear of every axis.

struct P3 { double x, y, z; };

struct Space {
    Diagram& d;
    Vec origin;
    double scale;

    Vec at(const P3& v) const {
        return {origin.x + scale * (v.y - 0.5 * v.x),
                origin.y + scale * (0.55 * v.x + 0.12 * v.y - v.z)};
    }

    void axes(double x_len, double y_len, double z_len) {
        const P3 ends[3] = {{x_len, 0, 0}, {0, y_len, 0}, {0, 0, z_len}};
        const char* names[3] = {"x", "y", "z"};
        for (int k = 0; k < 3; ++k) {
            const P3& e = ends[k];
            d.dashed(at({-e.x * 0.2, -e.y * 0.12, -e.z * 0.2}), origin, kFaint);
            d.arrow(origin, at(e), kAxis);
        }
        const Vec xe = at(ends[0]), ye = at(ends[1]), ze = at(ends[2]);
        d.text(FONT_LABEL, names[0], {xe.x - 2, xe.y - 1}, 1, 0.2, kText);
        d.text(FONT_LABEL, names[1], {ye.x - 1, ye.y + 3}, 0.5, 0, kText);
        d.text(FONT_LABEL, names[2], {ze.x + 6, ze.y - 1}, 0, 0.3, kText);
        d.text(FONT_LABEL, "O", {origin.x - 4, origin.y - 3}, 1, 0.8, kText);
    }

    void curve(const std::function<P3(double)>& f, double t0, double t1, Colour c) {
        std::vector<Vec> pts;
        for (int k = 0; k <= 90; ++k) pts.push_back(at(f(t0 + (t1 - t0) * k / 90)));
        // Dotted: every other short piece.
        for (std::size_t k = 1; k < pts.size(); k += 2) d.line(pts[k - 1], pts[k], c);
    }

    // An angle arc around the origin from direction u toward direction w
    // (unit vectors at right angles), radius rho, arrowhead at the end.
    void arc(const P3& u, const P3& w, double angle, double rho, Colour c) {
        std::vector<Vec> pts;
        for (int k = 0; k <= 40; ++k) {
            const double a = angle * k / 40;
            const double cu = std::cos(a), sw = std::sin(a);
            pts.push_back(at({rho * (cu * u.x + sw * w.x), rho * (cu * u.y + sw * w.y),
                              rho * (cu * u.z + sw * w.z)}));
        }
        d.polyline(pts, c);
        d.arrowhead(pts[pts.size() - 6], pts.back(), c, 6, 3);
    }
};

Surface cartesian_picture() {
    Diagram d;
    Space sp{d, {64, 86}, 66};
    const P3 p{0.85, 1.15, 0.8};
    const Vec pp = sp.at(p), q = sp.at({p.x, p.y, 0});
    const Vec px = sp.at({p.x, 0, 0}), py = sp.at({0, p.y, 0}), pz = sp.at({0, 0, p.z});
    const Vec pxz = sp.at({p.x, 0, p.z}), pyz = sp.at({0, p.y, p.z});
    // The box the point's coordinates span: its far edges faint, the ones
    // through the point's foot darker.
    d.dashed(pz, pxz, kFaint);
    d.dashed(pz, pyz, kFaint);
    d.dashed(px, pxz, kFaint);
    d.dashed(py, pyz, kFaint);
    d.dashed(pxz, pp, kFaint);
    d.dashed(pyz, pp, kFaint);
    d.dashed(px, q, kGuide);
    d.dashed(py, q, kGuide);
    d.dashed(q, pp, kGuide);
    sp.axes(1.2, 1.65, 1.12);
    // The three coordinates, in colour along their axes.
    d.line(sp.origin, px, kAngle, true);
    d.line(sp.origin, py, kAngle2, true);
    d.line(sp.origin, pz, kCurve, true);
    d.small_dot(q, kAxis);
    d.text(FONT_LABEL, "x", {(sp.origin.x + px.x) / 2 - 5, (sp.origin.y + px.y) / 2 - 3}, 1, 0.6,
           kAngle);
    d.text(FONT_LABEL, "y", {(sp.origin.x + py.x) / 2, (sp.origin.y + py.y) / 2 + 2}, 0.5, 0,
           kAngle2);
    d.text(FONT_LABEL, "z", {pz.x - 4, (sp.origin.y + pz.y) / 2}, 1, 0.5, kCurve);
    d.dot(pp, kPoint);
    d.text(FONT_DIALOG, "P(x, y, z)", {pp.x + 5, pp.y - 3}, 0, 1, kPoint);
    return d.finish();
}

Surface cylindrical_picture() {
    Diagram d;
    Space sp{d, {80, 90}, 54};
    const double theta = 58 * kPi / 180, radius = 0.95, height = 0.8;
    const P3 q3{radius * std::cos(theta), radius * std::sin(theta), 0};
    const Vec q = sp.at(q3), p = sp.at({q3.x, q3.y, height});
    // The cylinder of radius R the point lies on, faint, under the rest.
    sp.curve([&](double t) { return P3{radius * std::cos(t), radius * std::sin(t), 0}; }, 0,
             2 * kPi, kFaint);
    sp.curve([&](double t) { return P3{radius * std::cos(t), radius * std::sin(t), height}; }, 0,
             2 * kPi, kFaint);
    // Its two sides, where the screen's x along the circle turns back.
    for (double t : {std::atan2(1.0, -0.5), std::atan2(-1.0, 0.5)}) {
        const P3 b{radius * std::cos(t), radius * std::sin(t), 0};
        d.dashed(sp.at(b), sp.at({b.x, b.y, height}), kFaint);
    }
    sp.axes(1.3, 1.6, 1.2);

    d.line(sp.origin, q, kAngle2, true);
    d.line(q, p, kCurve, true);
    d.dashed(sp.at({0, 0, height}), p, kGuide);
    d.small_dot(q, kAxis);
    sp.arc({1, 0, 0}, {0, 1, 0}, theta, 0.5, kAngle);
    const Vec tl = sp.at({0.58 * std::cos(theta / 2), 0.58 * std::sin(theta / 2), 0});
    d.text(FONT_LABEL, kTheta, {tl.x, tl.y + 1}, 0.5, 0, kAngle);
    const Vec rl = sp.at({0.78 * q3.x, 0.78 * q3.y, 0});
    d.text(FONT_LABEL, "R", {rl.x - 2, rl.y + 3}, 1, 0, kAngle2);
    d.text(FONT_LABEL, "Z", {(q.x + p.x) / 2 + 4, (q.y + p.y) / 2}, 0, 0.5, kCurve);
    d.dot(p, kPoint);
    d.text(FONT_DIALOG, "P(R, " + kTheta + ", Z)", {p.x + 4, p.y - 4}, 0, 1, kPoint);
    return d.finish();
}

Surface spherical_picture() {
    Diagram d;
    Space sp{d, {78, 84}, 60};
    const double theta = 58 * kPi / 180, phi = 48 * kPi / 180, radius = 1.15;
    const P3 dir{std::sin(phi) * std::cos(theta), std::sin(phi) * std::sin(theta), std::cos(phi)};
    const P3 p3{radius * dir.x, radius * dir.y, radius * dir.z};
    const P3 q3{p3.x, p3.y, 0};
    const Vec p = sp.at(p3), q = sp.at(q3);
    sp.axes(1.3, 1.6, 1.2);

    d.dashed(sp.origin, q, kGuide);
    d.dashed(q, p, kGuide);
    d.line(sp.origin, p, kCurve, true);
    d.small_dot(q, kAxis);

    // theta in the xy plane from the x axis; phi down from the z axis.
    sp.arc({1, 0, 0}, {0, 1, 0}, theta, 0.5, kAngle);
    const Vec tl = sp.at({0.58 * std::cos(theta / 2), 0.58 * std::sin(theta / 2), 0});
    d.text(FONT_LABEL, kTheta, {tl.x, tl.y + 1}, 0.5, 0, kAngle);
    const double h = std::hypot(dir.x, dir.y);
    sp.arc({0, 0, 1}, {dir.x / h, dir.y / h, 0}, phi, 0.42, kAngle2);
    const Vec fl = sp.at({0.5 * std::sin(phi / 2) * dir.x / h, 0.5 * std::sin(phi / 2) * dir.y / h,
                          0.5 * std::cos(phi / 2)});
    d.text(FONT_LABEL, kPhi, {fl.x + 3, fl.y - 3}, 0, 1, kAngle2);
    const Vec rl = sp.at({0.5 * p3.x, 0.5 * p3.y, 0.5 * p3.z});
    d.text(FONT_LABEL, "R", {rl.x + 4, rl.y + 1}, 0, 0, kCurve);
    d.dot(p, kPoint);
    d.text(FONT_DIALOG, "P(R, " + kTheta + ", " + kPhi + ")", {p.x + 5, p.y - 3}, 0, 1, kPoint);
    return d.finish();
}

}  // namespace

void draw_coordinate_pictures(ArtList& out) {
    out.push_back({"FUNCTION", Kind::Picture, function_picture()});
    out.push_back({"POLAR", Kind::Picture, polar_picture()});
    out.push_back({"PARAMETRIC", Kind::Picture, parametric_picture()});
    out.push_back({"CARTESIAN", Kind::Picture, cartesian_picture()});
    out.push_back({"CYLINDRICAL", Kind::Picture, cylindrical_picture()});
    out.push_back({"SPHERICAL", Kind::Picture, spherical_picture()});
}

}  // namespace qx::art

// The three-dimensional plot: up to two parametric surfaces drawn as wire
// meshes over a u-v grid, seen through an orthographic projection that the
// rotate tool turns, with the three axes and their letters.  Everything is
// drawn through a PlotCanvas in the window mapping of the flat plots.
#pragma once
#include <cstdint>

#include "plot/geometry.h"

namespace qx {

// Nodes per parameter direction.  The smallest step a range allows (2 % of
// it) gives 51; the rest is headroom against rounding.
constexpr int MESH_NODES = 55;
constexpr int SURFACE_COUNT = 2;
constexpr std::uint32_t AXIS_3D_COLOUR = 0x606060;

// One parameter direction of a mesh: node k lies at min + k * step, except
// that the last node of a range the step divides lies exactly on max, so a
// surface closed over that range closes.
struct MeshAxis {
    double min = 0.0, max = 0.0, step = 0.0;
    int count = 0;          // 0: the range cannot be sampled
    bool closed = false;    // the last node is max itself
    double node(int k) const { return closed && k == count - 1 ? max : min + k * step; }
};
// The step actually used: one below 2 % of the range, above the range or
// not a number becomes 2 % of the range.  The stored settings keep theirs
// (the u range is the t range of the flat plots).
double corrected_mesh_step(double min, double max, double step);
MeshAxis mesh_axis(double min, double max, double step);

// The three rotations for the stored view angles (drag pixels) plus the
// offset of a drag in progress.
struct ViewAngles {
    double a1, a2, a3;
};
ViewAngles view_angles(double angle_a, double angle_b, double dx, double dy);

class Projection {
public:
    explicit Projection(const ViewAngles& v);
    // The window point of (x, y, z).  False, and both outputs the undefined
    // marker, when a coordinate is undefined or the point is not finite.
    bool apply(double x, double y, double z, double* wx, double* wy) const;

private:
    double s1_, c1_, s2_, c2_, s3_, c3_;
};

// Where the x, y and z axes end in space for a window: (W, 0, 0),
// (0, H, 0) and (0, 0, |W cos W| + |H sin H|).
void axis_ends(const PlotWindow& w, double ends[3][3]);

// A node from the three slot values of a surface in a coordinate system;
// `angle_factor` turns angular components into radians.  False (node
// undefined) when a component is undefined or the node is not finite.
bool surface_node(int coordinates, double angle_factor, double z_scale, double c1, double c2,
                  double c3, double node[3]);

// The nodes of the trace surface as the last full paint drew them.
struct SurfaceTraceNode {
    double x, y;       // projected window point
    double px, py;     // pixel
    double c[3];       // the raw slot values
};
constexpr int MAX_SURFACE_TRACE = MESH_NODES * MESH_NODES;
struct SurfaceTraceTable {
    SurfaceTraceNode nodes[MAX_SURFACE_TRACE];
    int count;
};
extern SurfaceTraceTable g_surface_trace;
// The stored node nearest to a window point (squared distance, the first
// of equals kept), or -1 when none is stored.
int nearest_surface_node(double x, double y);

struct SurfaceView {
    double angle_a, angle_b;   // the stored view angles
    double dx, dy;             // the drag offset, 0 outside a drag
    bool preview;              // a rotation in progress: every other node
};
// Draws the axes, the meshes of both surfaces (slots, ranges, coordinate
// system and z scale of the settings record, in its window) and the axis
// letters.  A full paint refills the trace table and keeps the node
// components; a preview empties the table and reprojects the kept
// components when they still belong to the settings, else it evaluates at
// doubled steps.  False when a sample was cancelled.
bool draw_surface_plot(PlotCanvas& canvas, const SurfaceView& view);

// What the last paint sampled (tests and benchmarks).
struct SurfaceMeshInfo {
    int nu, nv;                    // nodes drawn per direction
    bool drawn[SURFACE_COUNT];
    bool reused;                   // the kept components were reprojected
};
SurfaceMeshInfo last_surface_mesh();
// Drops the kept components: the next preview evaluates again.
void forget_surface_mesh();

}  // namespace qx

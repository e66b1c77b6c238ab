// The plot clipper's canvas on a surface: the function plots and the
// statistics plots draw their clipped lines through it.
#pragma once
#include "platform/surface.h"
#include "plot/geometry.h"

namespace qx {

class SurfaceCanvas : public PlotCanvas {
public:
    explicit SurfaceCanvas(Surface& s) : s_(s) {}
    void line(int x0, int y0, int x1, int y1, std::uint32_t colour) override {
        draw_line(s_, x0, y0, x1, y1, colour);
    }
    void pixel(int x, int y, std::uint32_t colour) override { draw_pixel(s_, x, y, colour); }

private:
    Surface& s_;
};

}  // namespace qx

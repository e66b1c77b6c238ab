// The tool pictures: the periodic-table face, the sample-plot chooser and
// the plot-type / coordinate-system diagrams.  Each group lives in its own
// tools_art_*.cpp; this file only gathers them.
#include "tools/artgen/art.h"

namespace qx::art {

void draw_periodic_table(ArtList& out);        // tools_art_periodic.cpp
void draw_plot_samples(ArtList& out);          // tools_art_samples.cpp
void draw_coordinate_pictures(ArtList& out);   // tools_art_coords.cpp

void draw_tool_pictures(ArtList& out) {
    draw_periodic_table(out);
    draw_plot_samples(out);
    draw_coordinate_pictures(out);
}

}  // namespace qx::art

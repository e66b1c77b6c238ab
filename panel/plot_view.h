// PLOT mode on the face: the plot picture and its overlay, the read-outs,
// the cursor tools, the keys of the plot faces and the drawing statements
// of programs.
#pragma once
#include "platform/surface.h"

namespace qx {

// Fills the plotting entries of the panel hooks and the drawing hook of
// the expression core.
void install_plot_hooks();

// The plot picture and the overlay (226 x 180); tests read them.
const Surface& plot_image();
const Surface& plot_overlay();
// Marks the plot for a full redraw at the next paint.
void mark_plot_redraw();
// Forgets the pictures, a drag in progress and the drawing colour.
void reset_plot_view();

}  // namespace qx

// "Select Sample Plot": a picture of the six sample plots to tap on.
#pragma once

namespace qx {

// The sample whose rectangle holds the client point (x, y), 0..5 in chooser order, or -1.
int sample_at(int x, int y);

// "Select Sample Plot": the picture PLOT_SAMPLE_GIF at (0, 0) of the client area; a stylus release
// chooses by sample_at; then a 100 ms pause (the window's sleep, virtual in headless mode) and the
// dialog closes.  Returns the index or -1 (nothing chosen, Cancel, Escape).  In scripted mode a
// queued answer names the sample: `answer OK "sample=3D Cartesian"` (name, case-insensitive) or a
// tap point `answer OK x=150 y=120`; no field or Cancel -> -1.
int select_sample_plot_dialog();

}  // namespace qx

// The dialogs of PLOT mode: "Plot Setup", "Plot Coordinate System",
// "Plot Functions", "Plot Calculate" and "Plot Table".
#pragma once

namespace qx {

// "Plot Setup": true when OK stored the fields (the plot needs redrawing).
bool plot_setup_dialog();
// "Plot Coordinate System" with the picture of a Plot Type entry (0..5).
void plot_coordinate_dialog(int entry);
// "Plot Functions".  The result tells what changed on OK.
struct FunctionsDialogResult {
    bool accepted;
    bool cleared;          // a slot was emptied
    bool trace_changed;    // the trace function changed
};
FunctionsDialogResult plot_functions_dialog();
// "Plot Calculate": true when OK set the request (g_calc holds it).
bool plot_calculate_dialog();
// "Plot Table" from `start` by `delta`.
void plot_table_dialog(double start, double delta);

}  // namespace qx

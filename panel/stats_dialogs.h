// The statistics dialogs: the data list, the results summary, the plot
// choice and the three plots (line chart, histogram, scatter plot).
#pragma once
#include <string>
#include <vector>

#include "platform/surface.h"

namespace qx {

// "Stats List": the points with their numbers; "Delete" removes the
// selected one.
void stats_list_dialog();
// "Stats Summary": n and the quantities of the current statistics kind.
void stats_summary_dialog();
// STATS blue 8: "No Data" with an empty set, else "Select Plot" and the
// chosen plot ("No y Data" for a scatter plot of one-variable data).
void stats_plot_dialog();

// What the dialogs show, apart from the dialogs.

// The rows of "Stats List": number, x and (two-variable) y, or the one
// "No Data" row of an empty set.
std::vector<std::vector<std::string>> stats_list_rows();
// The lines of "Stats Summary".
std::vector<std::string> stats_summary_lines();

// The plots draw in dialog client pixels: (0, 0) is the client's top-left
// corner.  One panel of x values, or x above y in two-variable statistics.
void paint_line_chart(Surface& s);
// bins is clamped to 1..100 and selected to the bins; the selected bin is
// drawn lighter.
void paint_histogram(Surface& s, int bins, int selected);
// The texts on the selected bin: [0] the x panel's with two panels (empty
// with one), [1] the y panel's, or the only panel's.
void histogram_texts(int bins, int selected, std::string (&lines)[2]);
// The points and the fitted curve of the current regression kind.
void paint_scatter_plot(Surface& s);
// "a=..., b=..." and "<equation>, r=...".
void scatter_fit_texts(std::string& fit_values, std::string& fit_equation);

}  // namespace qx

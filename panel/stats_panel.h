// Statistics on the face: the data keys, the dialogs and the window title
// that counts the points.
#pragma once

namespace qx {

// Fills the statistics entries of the panel hooks (before the matrix and
// list editors wrap the title refresh).
void install_stats_panel_hooks();
// The title for the current mode: "Quorix (n=3)" and the two-variable
// forms; left alone while a program runs and on faces that title
// themselves (programs, plots).
void stats_title_refresh();

}  // namespace qx

#include "panel/stats_panel.h"

#include "engine/evaluator.h"
#include "engine/settings.h"
#include "panel/stats_dialogs.h"
#include "panel/subsystems.h"
#include "panel/ui.h"
#include "stats/stats.h"

namespace qx {

namespace {

void add_point(double re, double im) { add_stat_point(re, im, g_last_result_kind != RK_SCALAR); }
int point_count() { return stats_data().count; }

}  // namespace

void stats_title_refresh() {
    if (g_panel.program_running()) return;
    const int mode = g_settings.calculator_mode;
    if (mode == MODE_PROG || mode == MODE_PLOT || !ui().window) return;
    char title[120];
    stats_title(title, sizeof title);
    ui().window->set_title(title);
}

void install_stats_panel_hooks() {
    g_panel.stats_add_point = add_point;
    g_panel.stats_remove_last = delete_last_stat_point;
    g_panel.stats_clear = clear_stat_data;
    g_panel.stats_count = point_count;
    g_panel.stats_kind_changed = stats_kind_changed;
    g_panel.stats_list_dialog = stats_list_dialog;
    g_panel.stats_summary_dialog = stats_summary_dialog;
    g_panel.stats_plot_dialog = stats_plot_dialog;
    g_panel.window_title_refresh = stats_title_refresh;
}

}  // namespace qx

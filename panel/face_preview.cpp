#include "panel/face_preview.h"

#include "engine/settings.h"
#include "panel/face.h"
#include "panel/input_line.h"
#include "panel/subsystems.h"

namespace qx {

namespace {

int three_d_plot() { return 3; }

}  // namespace

const char* const* face_names() {
    static const char* const kNames[] = {"comp", "base", "stats", "prog", "plot", "plot3d",
                                         "matrix", "list", "periodic", "alpha", nullptr};
    return kNames;
}

bool compose_named_face(const std::string& name, Surface& screen) {
    static const struct { const char* name; int mode; } kModes[] = {
        {"comp", MODE_COMP}, {"alpha", MODE_COMP}, {"base", MODE_BASE_N},
        {"stats", MODE_STATS}, {"prog", MODE_PROG}, {"plot", MODE_PLOT},
        {"plot3d", MODE_PLOT}, {"matrix", MODE_MATRIX}, {"list", MODE_LIST},
        {"periodic", MODE_PERIODIC},
    };
    int mode = -1;
    for (const auto& m : kModes)
        if (name == m.name) mode = m.mode;
    if (mode < 0) return false;
    reset_input_line();
    g_settings.calculator_mode = mode;
    if (mode == MODE_MATRIX || mode == MODE_LIST) g_settings.dynamic_mode = mode;
    if (name == "plot3d") g_panel.plot_type = three_d_plot;
    g_alpha.shown = false;
    if (name == "alpha") start_alpha_entry(0);
    compose_face(screen);
    return true;
}

}  // namespace qx

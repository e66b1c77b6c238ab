#include "panel/plot_view.h"
#include "panel/surface_canvas.h"

#include <cmath>
#include <cstdio>

#include "engine/errors.h"
#include "engine/format.h"
#include "engine/hooks.h"
#include "engine/settings.h"
#include "panel/face.h"
#include "panel/images.h"
#include "panel/plot_dialogs.h"
#include "panel/subsystems.h"
#include "panel/ui.h"
#include "plot/analysis.h"
#include "plot/curves.h"
#include "plot/evaluate.h"
#include "plot/geometry.h"
#include "plot/model.h"
#include "plot/surface3d.h"

namespace qx {

namespace {

constexpr Colour kGridColour = 0xD0D0D0;
constexpr Colour kAxisColour = 0x606060;
constexpr Colour kBoxColour = 0x606060;
constexpr Colour kCrossHairColour = 0x000000;
// Drag pixels one arrow press turns a 3-D view by (0.125 radian).
constexpr double kRotateStep = 10.0;

Surface g_image;
Surface g_overlay;
bool g_full_redraw = true;
Colour g_draw_colour = COLOUR_BLACK;   // colour of the drawing statements
GridAxis g_grid_x{}, g_grid_y{};

// The press point of a box-zoom, pan or rotate drag (plot-area screen
// pixels).
struct ToolDrag {
    bool started = false;
    bool happened = false;
    int press_x = 0, press_y = 0;
} g_tool;

void ensure_images() {
    if (g_image.width() != PLOT_WIDTH) g_image = Surface(PLOT_WIDTH, PLOT_HEIGHT);
    if (g_overlay.width() != PLOT_WIDTH) g_overlay = Surface(PLOT_WIDTH, PLOT_HEIGHT);
}

bool in_plot(int x, int y) {
    return x >= PLOT_LEFT && x < PLOT_LEFT + PLOT_WIDTH && y >= PLOT_TOP && y < PLOT_TOP + PLOT_HEIGHT;
}

// --- read-outs ----------------------------------------------------------------------

const char* const kReadoutLabels[] = {
    "SMALL_XMIN",   "SMALL_XMAX",    "SMALL_YMIN",    "SMALL_YMAX",     "SMALL_XDIV",
    "SMALL_YDIV",   "SMALL_CALC_SLOPE", "SMALL_XTRACE", "SMALL_YTRACE", "SMALL_THETA",
    "SMALL_RTRACE", "SMALL_T",       "SMALL_XTTRACE", "SMALL_YTTRACE",  "SMALL_X_3D",
    "SMALL_Y_3D",   "SMALL_Z_3D",    "SMALL_R_3D",    "SMALL_THETA_3D", "SMALL_THETA_A_3D",
    "SMALL_THETA_B_3D"};
enum Readout {
    RO_XMIN = 0, RO_XMAX, RO_YMIN, RO_YMAX, RO_XDIV, RO_YDIV, RO_SLOPE, RO_XTRACE, RO_YTRACE,
    RO_THETA, RO_RTRACE, RO_T, RO_XTTRACE, RO_YTTRACE, RO_X_3D, RO_Y_3D, RO_Z_3D, RO_R_3D,
    RO_THETA_3D, RO_THETA_A_3D, RO_THETA_B_3D,
};

// A label bitmap followed by the value (Float, ten digits) in the small
// characters, or by the label of the last plot error when the value is
// undefined.  Returns the x behind the last glyph.
int small_readout(Surface& s, double value, int x, int y, const char* label) {
    if (label) x += draw_legend(s, label, x, y, false);
    if (is_undefined(value) || !std::isfinite(value)) return x + draw_legend(s, small_error_label(g_last_plot_error), x, y, false);
    const char* text = format_real(value, FMT_FLOAT, 10, false);
    for (const char* p = text; *p; ++p) {
        const char* name = small_character(*p);
        if (name) x += draw_legend(s, name, x, y, false);
    }
    return x;
}

int readout(Surface& s, double value, int x, int y, int label) {
    return small_readout(s, value, x, y, kReadoutLabels[label]);
}

void window_readouts(Surface& s) {
    readout(s, g_plot.xmin, 2, 2, RO_XMIN);
    readout(s, g_plot.xmax, 2, 11, RO_XMAX);
    readout(s, g_plot.ymin, 2, 20, RO_YMIN);
    readout(s, g_plot.ymax, 2, 29, RO_YMAX);
    if (g_plot.grid) {
        readout(s, g_grid_x.shown ? g_grid_x.spacing : UNDEFINED_VALUE, 2, 38, RO_XDIV);
        readout(s, g_grid_y.shown ? g_grid_y.spacing : UNDEFINED_VALUE, 2, 47, RO_YDIV);
    }
}

// --- the picture -----------------------------------------------------------------------

void draw_grid_and_axes(Surface& s, const PlotWindow& w) {
    g_grid_x = grid_columns(w);
    g_grid_y = grid_rows(w);
    if (g_plot.grid) {
        for (int k = 0; k < g_grid_x.count; ++k)
            draw_line(s, g_grid_x.position[k], 0, g_grid_x.position[k], PLOT_HEIGHT, kGridColour);
        for (int k = 0; k < g_grid_y.count; ++k)
            draw_line(s, 0, g_grid_y.position[k], PLOT_WIDTH, g_grid_y.position[k], kGridColour);
    }
    const int column = axis_column(w);
    if (column >= 0) draw_line(s, column, 0, column, PLOT_HEIGHT, kAxisColour);
    const int row = axis_row(w);
    if (row >= 0) draw_line(s, 0, row, PLOT_WIDTH, row, kAxisColour);
}

// Every slot evaluation puts the error state, Ans and the variables back
// itself, so drawing needs no saving of its own.  A 3-D plot being turned
// is drawn with the drag so far, at the preview's coarser grid.
void render_plot(double drag_x = 0.0, double drag_y = 0.0, bool preview = false) {
    ensure_images();
    g_plot.overlay_shown = false;
    fill_rect(g_image, COLOUR_WHITE, 0, 0, PLOT_WIDTH - 1, PLOT_HEIGHT - 1);
    g_last_plot_error = 0;
    const int type = g_plot.type;
    if (type >= PLOT_FUNCTION && type <= PLOT_PARAMETRIC) {
        draw_grid_and_axes(g_image, current_window());
        window_readouts(g_image);
        SurfaceCanvas canvas(g_image);
        if (type == PLOT_FUNCTION) draw_function_curves(canvas);
        else if (type == PLOT_POLAR) draw_polar_curves(canvas);
        else draw_parametric_curves(canvas);
        // The read-outs stay legible over the curves.
        window_readouts(g_image);
    } else if (type == PLOT_3D) {
        SurfaceCanvas canvas(g_image);
        draw_surface_plot(canvas, {g_plot.view_angle[0], g_plot.view_angle[1], drag_x, drag_y, preview});
    } else {
        show_box("Undefined Plot Type", "");
    }
}

void refresh_title() {
    if (g_panel.program_running()) return;
    if (g_settings.calculator_mode != MODE_PLOT) return;
    char title[120];
    const char* problem = nullptr;
    if (!plot_title(title, sizeof title, &problem)) {
        show_box(problem ? problem : "Undefined Plot Type", "");
        return;
    }
    if (ui().window) ui().window->set_title(title);
}

void show_picture(Surface& s, const Surface& picture) { copy_surface(s, PLOT_LEFT, PLOT_TOP, picture); }

// Puts the overlay (or the plain picture) on the screen and shows it.
void present_plot() {
    if (g_settings.calculator_mode != MODE_PLOT) return;
    show_picture(ui().screen, g_plot.overlay_shown ? g_overlay : g_image);
    present_screen();
}

void paint(Surface& s, bool full) {
    refresh_title();
    if (full || g_full_redraw || g_image.empty()) {
        g_full_redraw = false;
        render_plot();
    }
    show_picture(s, g_plot.overlay_shown ? g_overlay : g_image);
}

// A new window or new settings: draw again and show the face.
void replot() {
    g_full_redraw = true;
    paint_face();
}

void apply_window(const PlotWindow& w) {
    if (set_plot_window(w.xmin, w.ymin, w.xmax, w.ymax)) replot();
}

// The trace and the calculation results go on a copy of the current picture.
Surface& begin_overlay() {
    if (g_full_redraw || g_image.empty()) {
        g_full_redraw = false;
        render_plot();
    }
    copy_surface(g_overlay, 0, 0, g_image);
    return g_overlay;
}

// --- trace --------------------------------------------------------------------------------

// The cursor: full lines through the point and a small square around it.
void draw_cursor(Surface& s, int column, double row, Colour c) {
    draw_line(s, column, 0, column, PLOT_HEIGHT, c);
    if (is_undefined(row)) return;
    const int r = static_cast<int>(row);
    if (row >= 0.0 && row <= PLOT_HEIGHT - 1) draw_line(s, 0, r, PLOT_WIDTH, r, c);
    frame_rect(s, c, column - 2, r - 2, column + 2, r + 2);
}

// The read-out labels of the three slot values, by coordinate system.
constexpr int kSurfaceLabels[3][3] = {
    {RO_X_3D, RO_Y_3D, RO_Z_3D},
    {RO_THETA_3D, RO_R_3D, RO_Z_3D},
    {RO_THETA_A_3D, RO_THETA_B_3D, RO_R_3D},
};

void draw_surface_trace(int x, int y) {
    const PlotWindow w = current_window();
    const int k = nearest_surface_node(column_to_x(w, x - PLOT_LEFT), row_to_y(w, y - PLOT_TOP));
    if (k < 0) return;
    const SurfaceTraceNode& n = g_surface_trace.nodes[k];
    const int surface_slot = g_plot.trace_function[PLOT_3D] == 3 ? 3 : 0;
    draw_cursor(g_overlay, static_cast<int>(n.px), n.py, slot_colour(surface_slot));
    const int coordinates =
        g_plot.coordinates >= COORD_CARTESIAN && g_plot.coordinates <= COORD_SPHERICAL ? g_plot.coordinates
                                                                                      : COORD_CARTESIAN;
    const int(&labels)[3] = kSurfaceLabels[coordinates];
    readout(g_overlay, n.c[0], 2, 160, labels[0]);
    const int end = readout(g_overlay, n.c[1], 2, 170, labels[1]);
    readout(g_overlay, n.c[2], end + 4, 170, labels[2]);
}

void draw_trace(int x, int y) {
    const PlotWindow w = current_window();
    const int type = g_plot.type;
    if (type == PLOT_FUNCTION) {
        const FunctionTrace t = trace_function_at(x - PLOT_LEFT);
        if (!t.drawn) return;
        draw_cursor(g_overlay, x - PLOT_LEFT, t.py, t.colour);
        readout(g_overlay, t.x, 2, 160, RO_XTRACE);
        readout(g_overlay, t.y, 2, 170, RO_YTRACE);
        return;
    }
    if (type == PLOT_3D) {
        draw_surface_trace(x, y);
        return;
    }
    if (type != PLOT_POLAR && type != PLOT_PARAMETRIC) return;
    const int k = nearest_trace_point(column_to_x(w, x - PLOT_LEFT), row_to_y(w, y - PLOT_TOP));
    if (k < 0) return;
    const TracePoint& p = g_trace_table.points[k];
    draw_cursor(g_overlay, static_cast<int>(p.px), p.py, slot_colour(g_plot.trace_function[type]));
    if (type == PLOT_POLAR) {
        // The signed radius: the point projected on the ray of its angle.
        const double a = p.parameter * angle_to_radians();
        const double r = p.x * std::cos(a) + p.y * std::sin(a);
        readout(g_overlay, p.parameter, 2, 160, RO_THETA);
        readout(g_overlay, r, 2, 170, RO_RTRACE);
    } else {
        readout(g_overlay, p.parameter, 2, 160, RO_T);
        const int end = readout(g_overlay, p.x, 2, 170, RO_XTTRACE);
        readout(g_overlay, p.y, end + 4, 170, RO_YTTRACE);
    }
}

bool trace_tap(int x, int y) {
    if (!in_plot(x, y)) return false;
    begin_overlay();
    draw_trace(x, y);
    g_plot.overlay_shown = true;
    present_plot();
    return true;
}

// --- box zoom, pan and rotate ------------------------------------------------------

void start_tool_drag(int origin_x, int origin_y, int x, int y) {
    if (g_tool.started) return;
    g_tool.started = true;
    // A drag that began outside the plot starts where it entered it.
    if (in_plot(origin_x, origin_y)) {
        g_tool.press_x = origin_x;
        g_tool.press_y = origin_y;
    } else {
        g_tool.press_x = x;
        g_tool.press_y = y;
    }
}

// Each move draws the plot turned by the drag so far, at the preview's
// coarser grid; the release draws it at full resolution.
void rotate_preview(int x, int y, int origin_x, int origin_y) {
    start_tool_drag(origin_x, origin_y, x, y);
    render_plot(x - g_tool.press_x, y - g_tool.press_y, true);
    // Should the release never come, the next paint must not keep the
    // coarse picture.
    g_full_redraw = true;
    show_picture(ui().screen, g_image);
    present_screen();
}

void drag(int x, int y, int origin_x, int origin_y) {
    if (g_plot.cursor == CURSOR_TRACE) {
        trace_tap(x, y);
        return;
    }
    if (g_plot.cursor == CURSOR_ROTATE) {
        if (g_plot.type == PLOT_3D) rotate_preview(x, y, origin_x, origin_y);
        return;
    }
    if (g_plot.cursor != CURSOR_BOX_ZOOM && g_plot.cursor != CURSOR_PAN) return;
    start_tool_drag(origin_x, origin_y, x, y);
    if (x != g_tool.press_x || y != g_tool.press_y) g_tool.happened = true;
    ensure_images();
    Surface& s = ui().screen;
    if (g_plot.cursor == CURSOR_BOX_ZOOM) {
        show_picture(s, g_plot.overlay_shown ? g_overlay : g_image);
        frame_rect(s, kBoxColour, g_tool.press_x, g_tool.press_y, x, y);
    } else {
        const int dx = x - g_tool.press_x, dy = y - g_tool.press_y;
        Surface shifted(PLOT_WIDTH, PLOT_HEIGHT);
        checkered_fill(shifted, kGridColour, COLOUR_WHITE, 0, 0, PLOT_WIDTH - 1, PLOT_HEIGHT - 1);
        copy_surface(shifted, dx, dy, g_image);
        show_picture(s, shifted);
    }
    present_screen();
}

void release(int last_x, int last_y, int, int) {
    const ToolDrag t = g_tool;
    g_tool = ToolDrag{};
    if (!t.started) return;
    if (g_plot.cursor == CURSOR_ROTATE) {
        // The previews drew coarsely even when the stylus came back to
        // where it was pressed.
        if (g_plot.type == PLOT_3D) {
            g_plot.view_angle[0] += last_x - t.press_x;
            g_plot.view_angle[1] += last_y - t.press_y;
        }
        replot();
        return;
    }
    if (!t.happened) return;
    const PlotWindow w = current_window();
    PlotWindow next{};
    bool accepted = false;
    if (g_plot.cursor == CURSOR_PAN) {
        accepted = pan_window(w, last_x - t.press_x, last_y - t.press_y, &next);
    } else if (g_plot.cursor == CURSOR_BOX_ZOOM) {
        accepted = box_zoom_window(w, t.press_x - PLOT_LEFT, t.press_y - PLOT_TOP, last_x - PLOT_LEFT,
                                   last_y - PLOT_TOP, &next);
    }
    if (accepted && set_plot_window(next.xmin, next.ymin, next.xmax, next.ymax)) {
        replot();
        return;
    }
    // Nothing applied: the picture as it was.
    present_plot();
}

// --- analysis ------------------------------------------------------------------------

// A result with the error label of its own failure.
int value_readout(Surface& s, const CalcValue& v, int x, int y, int label) {
    g_last_plot_error = v.error;
    return readout(s, v.value, x, y, label);
}

// Dotted lines through the point, so that they cannot be taken for the
// axes, and a square around it.
void draw_cross_hair(Surface& s, int column, int row) {
    for (int r = 0; r < PLOT_HEIGHT; r += 2) draw_pixel(s, column, r, kCrossHairColour);
    for (int c = 0; c < PLOT_WIDTH; c += 2) draw_pixel(s, c, row, kCrossHairColour);
    frame_rect(s, kCrossHairColour, column - 3, row - 3, column + 3, row + 3);
}

void show_calculation() {
    const CalcResult r = run_calculation();
    if (r.too_long) {
        show_box("Reached expression size limit", "Limit");
        return;
    }
    Surface& s = begin_overlay();
    if (r.point_defined) {
        const PlotWindow w = current_window();
        const double px = map_x(w, r.point_x), py = map_y(w, r.point_y);
        if (!is_undefined(px) && !is_undefined(py)) draw_cross_hair(s, static_cast<int>(px), static_cast<int>(py));
    }
    if (r.heading) draw_legend(s, r.heading, 2, 150, false);
    if (r.plot_type == PLOT_FUNCTION) {
        value_readout(s, r.first, 2, 160, RO_XTRACE);
        if (r.calculation == CALC_SLOPE) value_readout(s, r.third, 2, 170, RO_SLOPE);
        else value_readout(s, r.second, 2, 170, RO_YTRACE);
    } else if (r.plot_type == PLOT_POLAR) {
        value_readout(s, r.first, 2, 160, RO_THETA);
        value_readout(s, r.second, 2, 170, RO_RTRACE);
    } else {
        value_readout(s, r.first, 2, 160, RO_T);
        const int end = value_readout(s, r.second, 2, 170, RO_XTTRACE);
        value_readout(s, r.third, end + 4, 170, RO_YTTRACE);
    }
    g_plot.overlay_shown = true;
    present_plot();
}

void calculate_key() {
    if (!plot_calculate_dialog()) {
        paint_face();
        return;
    }
    g_calc.requested = false;
    paint_face();
    if (g_calc.calculation == CALC_TABLE) {
        if (g_plot.type == PLOT_FUNCTION) plot_table_dialog(g_plot.xmin, 0.1);
        else plot_table_dialog(g_plot.tmin, g_plot.tstep);
        paint_face();
    } else if (g_calc.calculation >= CALC_VALUE && g_calc.calculation < CALC_TABLE) {
        show_calculation();
    }
}

// --- keys -------------------------------------------------------------------------------

// From the plot face and from COMP's Plot key alike.
void functions_dialog() {
    const FunctionsDialogResult r = plot_functions_dialog();
    if (r.accepted && (r.cleared || r.trace_changed)) g_full_redraw = true;
    paint_face();
}

void key(int k) {
    const PlotWindow w = current_window();
    switch (k) {
        case 1:
            if (plot_setup_dialog()) g_full_redraw = true;
            paint_face();
            break;
        case 2: functions_dialog(); break;
        case 3:
        case 4:
            if (g_plot.lock_x && g_plot.lock_y) break;
            apply_window(zoom_window(w, k == 3 ? 0.5 : 2.0, g_plot.lock_x, g_plot.lock_y));
            break;
        case 5: g_plot.lock_x = !g_plot.lock_x; break;
        case 6: g_plot.lock_y = !g_plot.lock_y; break;
        case 7: apply_window(centred_window(w)); break;
        case 8:
        case 9:
        case 10:
        case 11:
            // With the rotate tool the arrows turn the surfaces, as a short
            // drag in their direction would; otherwise they scroll.
            if (g_plot.type == PLOT_3D && g_plot.cursor == CURSOR_ROTATE) {
                if (k == 8 || k == 9) g_plot.view_angle[0] += k == 8 ? -kRotateStep : kRotateStep;
                else g_plot.view_angle[1] += k == 10 ? -kRotateStep : kRotateStep;
                replot();
                break;
            }
            apply_window(scroll_window(w, k == 8 ? SCROLL_LEFT : k == 9 ? SCROLL_RIGHT : k == 10 ? SCROLL_UP
                                                                                            : SCROLL_DOWN));
            break;
        case 18:
        case 19:
            if (g_plot.type != PLOT_3D) break;
            if (k == 18 && std::fabs(g_plot.z_scale) > 1e100) break;
            g_plot.z_scale = k == 18 ? g_plot.z_scale * 2.0 : g_plot.z_scale * 0.5;
            replot();
            break;
        case 20:
        case 21:
        case 22:
            g_plot.cursor = k - 20;
            g_plot.overlay_shown = false;
            paint_face();
            break;
        case 23:
            if (g_plot.type == PLOT_3D) {
                g_plot.cursor = CURSOR_ROTATE;
                g_plot.overlay_shown = false;
                paint_face();
            } else {
                calculate_key();
            }
            break;
        default: break;
    }
}

// --- the panel's view of the settings -----------------------------------------------

bool has_functions() { return any_slot_defined(g_plot.type); }

bool store_function(const TokenCode* tokens, int count) {
    // The input line has refused complex expressions with its message.
    if (send_to_plot(tokens, count) != SendResult::Stored) return false;
    g_full_redraw = true;
    return true;
}

int type() { return g_plot.type; }
int tool() { return g_plot.cursor; }
bool lock(int axis) { return axis == 0 ? g_plot.lock_x : g_plot.lock_y; }

void set_defaults() {
    reset_plot_defaults();
    g_full_redraw = true;
}

// --- drawing statements of programs ----------------------------------------------------

// Program drawing goes on top of the plot picture as it stands.  A drawing
// statement runs in the middle of an evaluation, so the plot is never
// redrawn here: that would evaluate the slots inside the running one.
void prepare_overlay() {
    ensure_images();
    if (!g_plot.overlay_shown) {
        copy_surface(g_overlay, 0, 0, g_image);
        g_plot.overlay_shown = true;
    }
}

void draw_statement(int op, const FunctionParameter* p, int count) {
    const PlotWindow w = current_window();
    const auto arg = [&](int k) { return k < count ? p[k].re : 0.0; };
    if (op == OP_COLOR) {
        g_draw_colour = rgb(static_cast<int>(arg(0)), static_cast<int>(arg(1)), static_cast<int>(arg(2)));
        return;
    }
    prepare_overlay();
    SurfaceCanvas canvas(g_overlay);
    switch (op) {
        case OP_CLRDRAW: fill_rect(g_overlay, COLOUR_WHITE, 0, 0, PLOT_WIDTH - 1, PLOT_HEIGHT - 1); break;
        case OP_POINT: {
            const double x = map_x(w, arg(0)), y = map_y(w, arg(1));
            if (inside_plot(x, y))
                draw_pixel(g_overlay, static_cast<int>(x), static_cast<int>(y), g_draw_colour);
            break;
        }
        case OP_LINE:
            draw_clipped(canvas, map_x(w, arg(0)), map_y(w, arg(1)), map_x(w, arg(2)), map_y(w, arg(3)),
                         g_draw_colour);
            break;
        case OP_RECT: {
            const double x1 = map_x(w, arg(0)), y1 = map_y(w, arg(1));
            const double x2 = map_x(w, arg(2)), y2 = map_y(w, arg(3));
            // Round the corners in order so that each side draws its first
            // corner and every corner is drawn once.
            draw_clipped(canvas, x1, y1, x2, y1, g_draw_colour);
            draw_clipped(canvas, x2, y1, x2, y2, g_draw_colour);
            draw_clipped(canvas, x2, y2, x1, y2, g_draw_colour);
            draw_clipped(canvas, x1, y2, x1, y1, g_draw_colour);
            break;
        }
        default: break;
    }
    present_plot();
}

}  // namespace

const Surface& plot_image() { return g_image; }
const Surface& plot_overlay() { return g_overlay; }
void mark_plot_redraw() { g_full_redraw = true; }

void reset_plot_view() {
    g_image = Surface();
    g_overlay = Surface();
    g_full_redraw = true;
    g_tool = ToolDrag{};
    g_draw_colour = COLOUR_BLACK;
}

void install_plot_hooks() {
    install_plot_model_hooks();
    g_hooks.draw_statement = draw_statement;
    PanelHooks& h = g_panel;
    h.plot_paint = paint;
    h.plot_key = key;
    h.plot_trace_tap = trace_tap;
    h.plot_drag = drag;
    h.plot_release = release;
    h.plot_has_functions = has_functions;
    h.plot_store_function = store_function;
    h.plot_type = type;
    h.plot_tool = tool;
    h.plot_lock = lock;
    h.plot_functions_dialog = functions_dialog;
    h.plot_mark_redraw = mark_plot_redraw;
    h.plot_set_defaults = set_defaults;
}

}  // namespace qx

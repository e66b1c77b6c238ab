// The dialogs of STATS mode.  Scripts name the controls by id ("#1027" the
// list of points, "#1095" the histogram's bin count, also "Bins") and the
// buttons by their text.  Only "Select Plot" can be cancelled; in the
// others Escape presses OK.
//
// The plots are painted by free functions on a surface in dialog client
// pixels, so that the pictures can be drawn and checked without a dialog;
// each plot dialog lays a custom area from the client's corner over the
// picture, whose local coordinates are then the client's.
#include "panel/stats_dialogs.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "engine/errors.h"
#include "engine/format.h"
#include "engine/settings.h"
#include "panel/dialog_layout.h"
#include "panel/subsystems.h"
#include "panel/surface_canvas.h"
#include "panel/ui.h"
#include "platform/font.h"
#include "platform/widgets.h"
#include "plot/geometry.h"
#include "stats/stats.h"

namespace qx {

namespace {

using namespace dialog_layout;

constexpr int IDC_SUMMARY = 1026;
constexpr int IDC_POINTS = 1027;
constexpr int IDC_DELETE = 1044;
constexpr int IDC_LINE_PLOT = 1101;
constexpr int IDC_HISTOGRAM_PLOT = 1102;
constexpr int IDC_SCATTER_PLOT = 1103;
constexpr int IDC_BINS = 1095;
constexpr int IDC_BIN_INFO_0 = 1100;
constexpr int IDC_BIN_INFO_1 = 1099;
constexpr int IDC_FIT_VALUES = 1099;
constexpr int IDC_FIT_EQUATION = 1100;
// "<" and ">" leave the histogram open, so they keep clear of the ids that
// end a dialog.
constexpr int IDC_BIN_PREVIOUS = 1096;
constexpr int IDC_BIN_NEXT = 1097;

// Colours as the plots have always had them (0x00BBGGRR).
constexpr Colour kBlue = 0xFF0000;
constexpr Colour kRed = 0x0000FF;
constexpr Colour kSelectedBar = 0xFFC0C0;
constexpr Colour kBarBorder = 0x808080;

// Wide enough for every picture (the line chart reaches column 223) with
// the same blank strip on both sides.
constexpr int kPlotClientWidth = 229;

bool two_variable() { return g_settings.stats_var == 1; }
int panel_count() { return two_variable() ? 2 : 1; }
const double* panel_values(int panel) { return panel == 0 ? stats_data().x : stats_data().y; }
const char* panel_label(int panel) { return panel == 0 ? "x Plot" : "y Plot"; }

// Corners as the classic rectangle call takes them: the right and bottom
// ones lie just outside the frame.
void framed_box(Surface& s, int left, int top, int right, int bottom, Colour fill, Colour border) {
    if (right - left < 1 || bottom - top < 1) return;
    frame_rect(s, border, left, top, right - 1, bottom - 1);
    if (right - left > 2 && bottom - top > 2) fill_rect(s, fill, left + 1, top + 1, right - 2, bottom - 2);
}

void white_box(Surface& s, int left, int top, int right, int bottom) {
    framed_box(s, left, top, right, bottom, COLOUR_WHITE, COLOUR_BLACK);
}

void plus_mark(Surface& s, int x, int y, Colour c) {
    draw_pixel(s, x, y, c);
    draw_pixel(s, x - 1, y, c);
    draw_pixel(s, x, y - 1, c);
    draw_pixel(s, x + 1, y, c);
    draw_pixel(s, x, y + 1, c);
}

std::string sci4(double v) { return format_real(v, FMT_SCI, 4, false); }
std::string float4(double v) { return format_real(v, FMT_FLOAT, 4, false); }

// A quantity that cannot be had (no n-1 deviation of one point, the fit
// of constant x, logarithms of negatives...) is shown as "Error" or
// "error" rather than reported: the dialog still opens.
bool quantity_defined(int index, double& value) {
    clear_error();
    value = claculate_stat(index);
    const bool defined = !error_pending();
    clear_error();
    return defined;
}

// --- histogram ----------------------------------------------------------------------

struct HistogramFrame {
    int top, height, label_y;
};

HistogramFrame histogram_frame(int panel) {
    if (panel_count() == 1) return {8, 190, 120};
    return panel == 0 ? HistogramFrame{8, 84, 70} : HistogramFrame{115, 84, 174};
}

int clamped_bin(const HistogramBins& h, int selected) { return std::clamp(selected, 0, h.bins - 1); }

std::string bin_text(const HistogramBins& h, int j) {
    const bool last = j == h.bins - 1;
    std::string t = "min>=" + sci4(h.min + j * h.width) + ", ";
    t += (last ? "max<=" : "max<") + sci4(h.min + (j + 1) * h.width) + ", ";
    return t + "n=" + float4(h.counts[j]);
}

// --- scatter plot ---------------------------------------------------------------------

struct ScatterFit {
    double a = 0, b = 0, r = 0;
    bool has_a = false, has_b = false, has_r = false;
};

ScatterFit scatter_fit() {
    ScatterFit f;
    f.has_a = quantity_defined(STAT_SLOPE, f.a);
    f.has_b = quantity_defined(STAT_INTERCEPT, f.b);
    f.has_r = quantity_defined(STAT_CORR_COEF, f.r);
    return f;
}

constexpr ClipBox kScatterClip{9.0, 8.0, 217.0, 180.0};

double scatter_column(const ScatterScale& sc, double x) { return (x - sc.xmin) * sc.sx + 9.0; }
double scatter_row(const ScatterScale& sc, double y) { return 172.0 - (y - sc.ymin) * sc.sy + 8.0; }

// --- dialogs ----------------------------------------------------------------------------

std::vector<Column> list_columns() {
    const bool two = two_variable();
    std::vector<Column> columns{{"n", 30, Align::Left}, {"x Data", two ? 94 : 120, Align::Left}};
    if (two) columns.push_back({"y Data", 94, Align::Left});
    return columns;
}

void fill_points(ListView& view) {
    view.clear();
    for (const auto& row : stats_list_rows()) view.add_row(row);
}

// The picture's area, from the client's corner so that its local
// coordinates are the client's.
CustomArea& add_picture(Dialog& d, int height) { return d.add_custom(0, {0, 0, kPlotClientWidth, height}); }

Rect centred_button(int y) { return {(kPlotClientWidth - kButtonWidth) / 2, y, kButtonWidth, BUTTON_HEIGHT}; }

void line_chart_dialog() {
    constexpr int picture_h = 215;   // both layouts end at row 214
    const int ok_y = picture_h + kMargin;
    Dialog d("Line Chart", kPlotClientWidth, ok_y + BUTTON_HEIGHT + kMargin);
    add_picture(d, picture_h).on_paint([](Surface& s, const Rect&) { paint_line_chart(s); });
    d.add_button(ID_OK, centred_button(ok_y), "OK", true);
    d.set_cancel_id(ID_OK);
    run_dialog(d);
}

struct HistogramState {
    int bins;
    int selected = 0;
};

void show_bin(Dialog& d, const HistogramState& st, CustomArea& picture) {
    std::string lines[2];
    histogram_texts(st.bins, st.selected, lines);
    d.set_text(IDC_BIN_INFO_0, lines[0]);
    d.set_text(IDC_BIN_INFO_1, lines[1]);
    picture.redraw();
}

void histogram_dialog() {
    constexpr int picture_h = 202;   // both layouts end at row 201
    const int lh = label_height();
    const int inner = kPlotClientWidth - 2 * kMargin;
    const bool two = two_variable();
    // One panel has one line of text: the other is hidden and its row goes.
    const int info_y = picture_h + 2;
    const int info1_y = two ? info_y + lh : info_y;
    const int row_y = info1_y + lh + kGap;
    const int height = row_y + BUTTON_HEIGHT + kMargin;

    HistogramState st;
    st.bins = std::clamp(g_histogram_bin_choice, 0, STATS_HISTOGRAM_MAX_BINS - 1) + 1;

    Dialog d("Histogram Plot", kPlotClientWidth, height);
    CustomArea& picture = add_picture(d, picture_h);
    picture.on_paint([&st](Surface& s, const Rect&) { paint_histogram(s, st.bins, st.selected); });
    d.add_static(IDC_BIN_INFO_0, {kMargin, info_y, inner, lh}, {}).show(two);
    d.add_static(IDC_BIN_INFO_1, {kMargin, info1_y, inner, lh}, {});
    constexpr int arrow_w = 22, combo_w = 76;
    const int combo_x = kMargin + arrow_w + kGap;
    d.add_button(IDC_BIN_PREVIOUS, {kMargin, row_y, arrow_w, BUTTON_HEIGHT}, "<");
    auto& combo = d.add_combo_box(IDC_BINS, {combo_x, row_y + 1, combo_w, EDIT_HEIGHT}, "Bins");
    for (int b = 1; b <= STATS_HISTOGRAM_MAX_BINS; ++b) {
        char text[16];
        std::snprintf(text, sizeof text, "%d bins", b);
        combo.add(text);
    }
    combo.select(st.bins - 1);
    d.add_button(IDC_BIN_NEXT, {combo_x + combo_w + kGap, row_y, arrow_w, BUTTON_HEIGHT}, ">");
    d.add_button(ID_OK, {kPlotClientWidth - kMargin - kButtonWidth, row_y, kButtonWidth, BUTTON_HEIGHT}, "OK",
                 true);

    show_bin(d, st, picture);
    d.on_notify([&st, &picture](Dialog& dlg, int id, Notify what) {
        if (id == IDC_BINS && what == Notify::SelectionChanged) {
            const int row = dlg.get<ComboBox>(IDC_BINS).selected();
            if (row < 0) return;
            st.bins = row + 1;
            st.selected = std::min(st.selected, st.bins - 1);
        } else if (id == IDC_BIN_PREVIOUS && what == Notify::Clicked) {
            st.selected = st.selected == 0 ? st.bins - 1 : st.selected - 1;
        } else if (id == IDC_BIN_NEXT && what == Notify::Clicked) {
            st.selected = st.selected >= st.bins - 1 ? 0 : st.selected + 1;
        } else {
            return;
        }
        show_bin(dlg, st, picture);
    });
    d.set_focus(IDC_BINS);
    d.set_cancel_id(ID_OK);

    if (run_dialog(d) == ID_OK) g_histogram_bin_choice = st.bins - 1;
}

void scatter_dialog() {
    constexpr int picture_h = 184;   // the frame ends at row 183
    const int lh = label_height();
    const int inner = kPlotClientWidth - 2 * kMargin;
    const int values_y = picture_h + 2;
    const int equation_y = values_y + lh;
    const int ok_y = equation_y + lh + kGap;

    std::string values, equation;
    scatter_fit_texts(values, equation);
    Dialog d("Scatter Plot", kPlotClientWidth, ok_y + BUTTON_HEIGHT + kMargin);
    add_picture(d, picture_h).on_paint([](Surface& s, const Rect&) { paint_scatter_plot(s); });
    d.add_static(IDC_FIT_VALUES, {kMargin, values_y, inner, lh}, values);
    d.add_static(IDC_FIT_EQUATION, {kMargin, equation_y, inner, lh}, equation);
    d.add_button(ID_OK, centred_button(ok_y), "OK", true);
    d.set_cancel_id(ID_OK);
    run_dialog(d);
}

// "Select Plot": 0 line chart, 1 histogram, 2 scatter plot, -1 none.
int select_plot() {
    static const struct { int id; const char* text; } kChoices[] = {
        {IDC_LINE_PLOT, "Line Plot"},
        {IDC_HISTOGRAM_PLOT, "Histogram Plot"},
        {IDC_SCATTER_PLOT, "Scatter Plot"},
    };
    constexpr int button_w = 110;
    constexpr int width = button_w + 2 * kMargin + 8;
    constexpr int step = BUTTON_HEIGHT + kGap;
    const int cancel_y = kMargin + 3 * step + kGap;
    Dialog d("Select Plot", width, cancel_y + BUTTON_HEIGHT + kMargin);
    const int x = (width - button_w) / 2;
    for (int k = 0; k < 3; ++k) {
        d.add_button(kChoices[k].id, {x, kMargin + k * step, button_w, BUTTON_HEIGHT}, kChoices[k].text, k == 0);
        d.set_auto_end(kChoices[k].id, true);
    }
    d.add_button(ID_CANCEL, {x, cancel_y, button_w, BUTTON_HEIGHT}, "Cancel");
    d.set_focus(IDC_LINE_PLOT);
    const int code = run_dialog(d);
    for (int k = 0; k < 3; ++k)
        if (code == kChoices[k].id) return k;
    return -1;
}

}  // namespace

// --- texts ----------------------------------------------------------------------------

std::vector<std::vector<std::string>> stats_list_rows() {
    const StatsData& data = stats_data();
    const bool two = two_variable();
    std::vector<std::vector<std::string>> rows;
    if (data.count == 0) {
        rows.push_back({"----", "No Data"});
        if (two) rows.back().push_back("No Data");
        return rows;
    }
    rows.reserve(data.count);
    for (int i = 0; i < data.count; ++i) {
        std::vector<std::string> row{std::to_string(i + 1), format_value(data.x[i], false)};
        if (two) row.push_back(format_value(data.y[i], false));
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<std::string> stats_summary_lines() {
    struct Row { int index; const char* label; };
    static const Row kOneVariable[] = {
        {STAT_MEAN_X, "x mean"}, {STAT_XMIN, "x min"}, {STAT_XMAX, "x max"}, {STAT_SUM_X, "x sum"},
        {STAT_SUM2_X, "x sum of squares"}, {STAT_STD_DEV_X, "x std dev"}, {STAT_STD_DEV1_X, "x std dev(n-1)"},
    };
    static const Row kTwoVariable[] = {
        {STAT_MEAN_X, "x mean"}, {STAT_WEIGHTED_MEAN, "x weighted mean"}, {STAT_XMIN, "x min"},
        {STAT_XMAX, "x max"}, {STAT_SUM_X, "x sum"}, {STAT_SUM2_X, "x sum of squares"},
        {STAT_STD_DEV_X, "x std dev"}, {STAT_STD_DEV1_X, "x std dev(n-1)"}, {STAT_MEAN_Y, "y mean"},
        {STAT_WEIGHTED_MEAN_Y, "y weighted mean"}, {STAT_YMIN, "y min"}, {STAT_YMAX, "y max"},
        {STAT_SUM_Y, "y sum"}, {STAT_SUM2_Y, "y sum of squares"}, {STAT_STD_DEV_Y, "y std dev"},
        {STAT_STD_DEV1_Y, "y std dev(n-1)"}, {STAT_SUM_XY, "xy sum"},
    };
    const int n = stats_data().count;
    if (n == 0) return {"No Data"};
    std::vector<std::string> lines{"n = " + float4(n)};
    const bool two = two_variable();
    const Row* rows = two ? kTwoVariable : kOneVariable;
    const int count = static_cast<int>(two ? std::size(kTwoVariable) : std::size(kOneVariable));
    for (int k = 0; k < count; ++k) {
        double v;
        const bool defined = quantity_defined(rows[k].index, v);
        lines.push_back(std::string(rows[k].label) + " = " + (defined ? format_value(v, false) : "Error"));
    }
    return lines;
}

// --- pictures -------------------------------------------------------------------------

void paint_line_chart(Surface& s) {
    const int n = stats_data().count;
    const int panels = panel_count();
    const int height = panels == 2 ? 96 : 202;
    for (int p = 0; p < panels; ++p) {
        const int top = p == 0 ? 8 : 115;
        white_box(s, 5, top - 3, 209, top + height + 4);
        white_box(s, 21, top - 3, 224, top + height + 4);
        white_box(s, 23, top - 1, 222, top + height + 2);
        const int label_y = panels == 1 ? 120 : p == 0 ? 70 : 179;
        draw_text(s, FONT_LABEL, panel_label(p), 5, label_y, COLOUR_BLACK, TextDirection::Up);
        const double* v = panel_values(p);
        double min, max;
        value_range(v, n, min, max);
        // The joins first, so that every point's mark stays whole on top.
        for (int i = 1; i < n; ++i) {
            const ChartPoint a = line_chart_point(i - 1, n, v[i - 1], min, max, top, height);
            const ChartPoint b = line_chart_point(i, n, v[i], min, max, top, height);
            draw_line(s, a.x, a.y, b.x, b.y, kBlue);
        }
        for (int i = 0; i < n; ++i) {
            const ChartPoint c = line_chart_point(i, n, v[i], min, max, top, height);
            plus_mark(s, c.x, c.y, COLOUR_BLACK);
        }
    }
}

void paint_histogram(Surface& s, int bins, int selected) {
    const int n = stats_data().count;
    for (int p = 0; p < panel_count(); ++p) {
        const HistogramFrame f = histogram_frame(p);
        white_box(s, 6, f.top - 2, 24, f.top + f.height + 3);
        white_box(s, 22, f.top - 2, 223, f.top + f.height + 3);
        white_box(s, 24, f.top, 221, f.top + f.height + 1);
        draw_text(s, FONT_LABEL, panel_label(p), 6, f.label_y, COLOUR_BLACK, TextDirection::Up);
        const HistogramBins h = histogram_bins(panel_values(p), n, bins);
        const int chosen = clamped_bin(h, selected);
        const int b = h.bins;
        for (int j = 0; j < b; ++j) {
            const int left = 24 + j * 197 / b;
            const int right = 25 + (j + 1) * 197 / b - (j == b - 1 ? 1 : 0);
            const double share = h.tallest > 0 ? static_cast<double>(h.counts[j]) / h.tallest * f.height : 0.0;
            const int top = f.top + stats_pixel(f.height - share);
            framed_box(s, left, top, right, f.top + f.height + 1, j == chosen ? kSelectedBar : kBlue, kBarBorder);
        }
    }
}

void histogram_texts(int bins, int selected, std::string (&lines)[2]) {
    const int n = stats_data().count;
    const int panels = panel_count();
    lines[0].clear();
    for (int p = 0; p < panels; ++p) {
        const HistogramBins h = histogram_bins(panel_values(p), n, bins);
        lines[panels == 2 && p == 0 ? 0 : 1] = bin_text(h, clamped_bin(h, selected));
    }
}

void paint_scatter_plot(Surface& s) {
    white_box(s, 6, 5, 221, 184);
    white_box(s, 8, 7, 219, 182);
    const StatsData& data = stats_data();
    const ScatterScale sc = scatter_scale();
    for (int i = 0; i < data.count; ++i)
        plus_mark(s, stats_pixel(scatter_column(sc, data.x[i])), stats_pixel(scatter_row(sc, data.y[i])), kBlue);

    const ScatterFit fit = scatter_fit();
    if (sc.sx == 0.0 || !fit.has_a || !fit.has_b) return;
    SurfaceCanvas canvas(s);
    const int kind = g_settings.stats_regress;
    const double end = sc.xmax + 0.5 * (sc.xmax - sc.xmin);
    bool joined = false;   // whether the previous sample had a value
    double last_x = 0, last_y = 0;
    for (int k = 0; k < SCATTER_CURVE_SAMPLES; ++k) {
        const double x = scatter_sample_x(sc, k);
        if (x > end) break;
        double y;
        if (!regression_model_y(kind, fit.a, fit.b, x, y)) {
            joined = false;
            continue;
        }
        const double px = scatter_column(sc, x), py = scatter_row(sc, y);
        if (joined) draw_clipped(canvas, last_x, last_y, px, py, kRed, kScatterClip);
        last_x = px;
        last_y = py;
        joined = true;
    }
}

void scatter_fit_texts(std::string& fit_values, std::string& fit_equation) {
    const ScatterFit fit = scatter_fit();
    auto number = [](bool defined, double v) { return defined ? sci4(v) : std::string("error"); };
    fit_values = "a=" + number(fit.has_a, fit.a) + ", b=" + number(fit.has_b, fit.b);
    fit_equation = std::string(regression_equation(g_settings.stats_regress)) + ", r=" + number(fit.has_r, fit.r);
}

// --- dialogs --------------------------------------------------------------------------

void stats_list_dialog() {
    constexpr int width = DIALOG_MAX_CLIENT_WIDTH - 2;
    constexpr int side = 2;   // the two-variable columns need nearly all of the width
    constexpr int visible_rows = 15;
    const int view_h = (visible_rows + 1) * LIST_ROW_HEIGHT + 4;
    const int buttons_y = side + 2 + view_h + kMargin;

    Dialog d("Stats List", width, buttons_y + BUTTON_HEIGHT + kMargin);
    auto& view = d.add_list_view(IDC_POINTS, {side, side + 2, width - 2 * side, view_h}, list_columns(), "Data");
    d.add_button(IDC_DELETE, {kMargin, buttons_y, kButtonWidth, BUTTON_HEIGHT}, "Delete");
    d.add_button(ID_OK, {width - kMargin - kButtonWidth, buttons_y, kButtonWidth, BUTTON_HEIGHT}, "OK", true);
    fill_points(view);
    d.on_notify([&view](Dialog&, int id, Notify what) {
        if (id != IDC_DELETE || what != Notify::Clicked) return;
        const int row = view.selected();
        if (row < 0 || stats_data().count == 0 || !delete_stat_point(row)) return;
        fill_points(view);
        g_panel.window_title_refresh();
    });
    d.set_focus(IDC_POINTS);
    d.set_cancel_id(ID_OK);
    run_dialog(d);
}

void stats_summary_dialog() {
    constexpr int width = DIALOG_MAX_CLIENT_WIDTH - 2;
    const std::vector<std::string> lines = stats_summary_lines();
    // Room for every line of two-variable statistics without scrolling.
    const int rows = std::max(8, static_cast<int>(lines.size()));
    const int list_h = list_height(rows);
    const int ok_y = kMargin + list_h + kMargin;

    Dialog d("Stats Summary", width, ok_y + BUTTON_HEIGHT + kMargin);
    auto& list = d.add_list_box(IDC_SUMMARY, {kMargin, kMargin, width - 2 * kMargin, list_h}, "Summary");
    for (const std::string& line : lines) list.add(line);
    d.add_button(ID_OK, {width - kMargin - kButtonWidth, ok_y, kButtonWidth, BUTTON_HEIGHT}, "OK", true);
    d.set_focus(ID_OK);
    d.set_cancel_id(ID_OK);
    run_dialog(d);
}

void stats_plot_dialog() {
    if (stats_data().count == 0) {
        show_box("No Data", "Stats");
        return;
    }
    g_stats_plot_choice = select_plot();
    switch (g_stats_plot_choice) {
        case 0: line_chart_dialog(); break;
        case 1: histogram_dialog(); break;
        case 2:
            if (two_variable()) scatter_dialog();
            else show_box("No y Data", "Stats");
            break;
        default: break;
    }
    clear_error();
}

}  // namespace qx

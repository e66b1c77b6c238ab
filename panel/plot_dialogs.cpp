// The dialogs of PLOT mode.  Each is laid out for the 240 x 320 screen and
// names its controls so a script can answer it: number fields by the label
// beside them ("x min", "t step", "x start"...), lists by their label
// ("Plot Type", "Calculation", "Function", "Trace Function", "Table") and
// buttons by their text; the six "Clear" buttons of "Plot Functions" are
// also named "Clear 1" .. "Clear 6".
#include "panel/plot_dialogs.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/errors.h"
#include "engine/format.h"
#include "engine/settings.h"
#include "panel/dialog_layout.h"
#include "panel/number_field.h"
#include "panel/images.h"
#include "panel/input_line.h"
#include "panel/ui.h"
#include "platform/font.h"
#include "platform/widgets.h"
#include "plot/analysis.h"
#include "plot/model.h"

namespace qx {

namespace {

using namespace dialog_layout;

constexpr int kPlotEntries = 6;   // Function .. 3D Spherical

const std::string kTheta(1, THETA_CHAR);

std::string scientific_text(double value, int digits) {
    if (value == UNDEFINED_VALUE) return "Error";
    return format_real(value, FMT_SCI, digits, false);
}

EditOptions numeric_edit() {
    EditOptions o;
    o.numeric = true;
    return o;
}

// The Plot Type entry of the record: 3..5 are the 3-D coordinate systems.
int plot_entry() {
    if (g_plot.type == PLOT_3D) return 3 + std::clamp(g_plot.coordinates, 0, 2);
    return std::clamp(g_plot.type, 0, 2);
}

// --- Plot Setup ------------------------------------------------------------------

constexpr int IDC_XMIN = 1077;
constexpr int IDC_XMAX = 1016;
constexpr int IDC_YMIN = 1015;
constexpr int IDC_YMAX = 1017;
constexpr int IDC_TMIN = 1004;
constexpr int IDC_TMAX = 1025;
constexpr int IDC_TSTEP = 1079;
constexpr int IDC_TMIN_LABEL = 1087;
constexpr int IDC_TMAX_LABEL = 1088;
constexpr int IDC_TSTEP_LABEL = 1090;
constexpr int IDC_VMIN = 1005;
constexpr int IDC_VMAX = 1026;
constexpr int IDC_VSTEP = 1081;
constexpr int IDC_VMIN_LABEL = 1094;
constexpr int IDC_VMAX_LABEL = 1095;
constexpr int IDC_VSTEP_LABEL = 1096;
constexpr int IDC_Z_SCALE = 1082;
constexpr int IDC_Z_SCALE_LABEL = 1097;
constexpr int IDC_PLOT_TYPE = 1080;
constexpr int IDC_PLOT_CURSOR = 1078;
constexpr int IDC_GRID = 1069;
constexpr int IDC_CONNECT = 1070;
constexpr int IDC_COORDINATE_HELP = 1107;
constexpr int IDC_DEFAULTS = 3;

enum SetupField { F_XMIN, F_XMAX, F_YMIN, F_YMAX, F_TMIN, F_TMAX, F_TSTEP, F_VMIN, F_VMAX, F_VSTEP,
                  F_Z, F_COUNT };

struct SetupState {
    NumberField field[F_COUNT] = {
        {IDC_XMIN, 0, {}}, {IDC_XMAX, 0, {}},  {IDC_YMIN, 0, {}},  {IDC_YMAX, 0, {}},
        {IDC_TMIN, 0, {}}, {IDC_TMAX, 0, {}},  {IDC_TSTEP, 0, {}}, {IDC_VMIN, 0, {}},
        {IDC_VMAX, 0, {}}, {IDC_VSTEP, 0, {}}, {IDC_Z_SCALE, 0, {}},
    };
    bool defaults_taken = false;
};

void fill_cursors(Dialog& d, bool three_d, int choice) {
    auto& cursor = d.get<ComboBox>(IDC_PLOT_CURSOR);
    cursor.clear();
    for (const char* name : {"Trace", "Box Zoom", "Pan"}) cursor.add(name);
    if (three_d) cursor.add("Rotate");
    // Rotating needs a third axis: a flat plot falls back to tracing.
    cursor.select(choice >= 0 && choice < cursor.count() ? choice : CURSOR_TRACE);
}

// Labels and enabling follow the chosen Plot Type entry.
void follow_entry(Dialog& d, int entry, int cursor) {
    const bool three_d = entry >= 3;
    const std::string var = three_d ? "u" : entry == PLOT_PARAMETRIC ? "t" : kTheta;
    const struct { int label, edit; const char* suffix; } row[] = {
        {IDC_TMIN_LABEL, IDC_TMIN, " min:"},
        {IDC_TMAX_LABEL, IDC_TMAX, " max:"},
        {IDC_TSTEP_LABEL, IDC_TSTEP, " step:"},
    };
    for (const auto& r : row) {
        const std::string text = var + r.suffix;
        d.set_text(r.label, text);
        d.control(r.label).set_label(text);
        d.control(r.edit).set_label(text);
        d.enable(r.label, entry != PLOT_FUNCTION);
        d.enable(r.edit, entry != PLOT_FUNCTION);
    }
    for (int id : {IDC_VMIN_LABEL, IDC_VMAX_LABEL, IDC_VSTEP_LABEL, IDC_VMIN, IDC_VMAX, IDC_VSTEP})
        d.enable(id, three_d);
    d.show(IDC_Z_SCALE_LABEL, three_d);
    d.show(IDC_Z_SCALE, three_d);
    d.show(IDC_GRID, !three_d);
    fill_cursors(d, three_d, cursor);
}

// The record's numbers in the order of the fields.
void record_values(double (&values)[F_COUNT]) {
    const double record[F_COUNT] = {g_plot.xmin, g_plot.xmax, g_plot.ymin, g_plot.ymax,
                                    g_plot.tmin, g_plot.tmax, g_plot.tstep, g_plot.vmin,
                                    g_plot.vmax, g_plot.vstep, g_plot.z_scale};
    std::copy(record, record + F_COUNT, values);
}

void fill_setup(Dialog& d, SetupState& st) {
    double values[F_COUNT];
    record_values(values);
    for (int f = 0; f < F_COUNT; ++f) {
        const bool range_row = f >= F_TMIN && f <= F_VSTEP;
        st.field[f].show(d, values[f], scientific_text(values[f], range_row ? 4 : 3));
    }
    const int entry = plot_entry();
    d.get<ComboBox>(IDC_PLOT_TYPE).select(entry);
    d.get<CheckBox>(IDC_GRID).set_checked(g_plot.grid);
    d.get<CheckBox>(IDC_CONNECT).set_checked(g_plot.connect_dots);
    follow_entry(d, entry, g_plot.cursor);
}

void store_setup(const Dialog& d, const SetupState& st) {
    double v[F_COUNT];
    record_values(v);
    for (int f = 0; f < F_COUNT; ++f) v[f] = st.field[f].read(d, v[f]);
    // A refused window leaves the old one: nothing else to do about it.
    set_plot_window(v[F_XMIN], v[F_YMIN], v[F_XMAX], v[F_YMAX]);
    apply_parameter_range(&g_plot.tmin, &g_plot.tmax, &g_plot.tstep, v[F_TMIN], v[F_TMAX], v[F_TSTEP]);
    apply_parameter_range(&g_plot.vmin, &g_plot.vmax, &g_plot.vstep, v[F_VMIN], v[F_VMAX], v[F_VSTEP]);
    const int entry = std::clamp(d.get<ComboBox>(IDC_PLOT_TYPE).selected(), 0, kPlotEntries - 1);
    if (entry >= 3) {
        g_plot.type = PLOT_3D;
        g_plot.coordinates = entry - 3;
    } else {
        g_plot.type = entry;
    }
    g_plot.cursor = std::max(0, d.get<ComboBox>(IDC_PLOT_CURSOR).selected());
    g_plot.grid = d.get<CheckBox>(IDC_GRID).checked();
    g_plot.connect_dots = d.get<CheckBox>(IDC_CONNECT).checked();
    g_plot.z_scale = v[F_Z];
}

// --- Plot Functions ------------------------------------------------------------------

constexpr int IDC_ROW_FIRST = 1071;   // 1071..1075, then 1077
constexpr int IDC_TRACE = 1076;
constexpr int IDC_CLEAR_FIRST = 1121;
constexpr int IDC_BOX_FIRST = 1131;

int row_edit_id(int slot) { return slot < 5 ? IDC_ROW_FIRST + slot : 1077; }

// The first slot of a curve or surface carries its colour box.
bool box_kept(int type, int slot) { return slot % slots_per_curve(type) == 0; }

std::string slot_expression_text(int type, int slot) {
    const PlotSlot& s = g_plot_slots[type][slot];
    Expression e;
    e.count = std::clamp(s.count, 0, PLOT_SLOT_TOKENS);
    std::copy(s.tokens, s.tokens + e.count, e.tokens);
    return expression_text(e);
}

struct FunctionsState {
    int type, coordinates;
    int count[PLOT_SLOTS];   // the working copy Clear empties
};

void fill_function_rows(Dialog& d, const FunctionsState& st) {
    for (int k = 0; k < PLOT_SLOTS; ++k) {
        // The working count decides: a cleared slot stays defined until OK.
        const bool defined = st.count[k] > 0;
        const std::string expression = defined ? slot_expression_text(st.type, k) : std::string();
        d.set_text(row_edit_id(k), slot_row_text(st.type, st.coordinates, k, expression));
        d.enable(IDC_CLEAR_FIRST + k, defined);
    }
}

// --- Plot Calculate ------------------------------------------------------------------

constexpr int IDC_CALCULATION = 1078;
constexpr int IDC_DESCRIPTION = 1160;
constexpr int IDC_FUNCTION = 1079;
constexpr int IDC_FUNCTION_LABEL = 1156;
constexpr int IDC_VALUE = 1025;
constexpr int IDC_VALUE_LABEL = 1157;

// Curves other than functions offer Value and Table only.
bool all_calculations(int type) { return type == PLOT_FUNCTION; }

int calculation_of_entry(int type, int entry) {
    if (all_calculations(type)) return std::clamp(entry, 0, static_cast<int>(CALC_TABLE));
    return entry == 1 ? CALC_TABLE : CALC_VALUE;
}

int entry_of_calculation(int type, int calculation) {
    if (all_calculations(type)) return calculation >= 0 && calculation <= CALC_TABLE ? calculation : 0;
    return calculation == CALC_TABLE ? 1 : 0;
}

struct CalculateState {
    int type, coordinates;
    int calculation;
    int function, pair;   // working choices, written on OK only
    bool pairs_listed = false;
    NumberField value{IDC_VALUE, 0, {}};
};

void fill_function_choices(Dialog& d, CalculateState& st) {
    auto& combo = d.get<ComboBox>(IDC_FUNCTION);
    combo.clear();
    st.pairs_listed = st.calculation == CALC_INTERSECTION;
    const char* label = st.pairs_listed ? "Functions:" : "Function:";
    d.set_text(IDC_FUNCTION_LABEL, label);
    combo.set_label(label);
    if (st.pairs_listed) {
        for (int k = 0; k < INTERSECTION_PAIRS; ++k) {
            int i, j;
            intersection_pair(k, &i, &j);
            combo.add(slot_name(PLOT_FUNCTION, 0, i) + " & " + slot_name(PLOT_FUNCTION, 0, j));
        }
        if (st.pair < 0 || st.pair >= INTERSECTION_PAIRS) st.pair = 0;
        combo.select(st.pair);
    } else {
        const int n = trace_choice_count(st.type);
        for (int k = 0; k < n; ++k) combo.add(trace_choice_name(st.type, st.coordinates, k));
        if (st.function < 0 || st.function >= n) st.function = 0;
        combo.select(st.function);
    }
}

void follow_calculation(Dialog& d, CalculateState& st) {
    if ((st.calculation == CALC_INTERSECTION) != st.pairs_listed) fill_function_choices(d, st);
    const bool takes_value = st.calculation == CALC_VALUE || st.calculation == CALC_SLOPE;
    d.enable(IDC_VALUE_LABEL, takes_value);
    d.enable(IDC_VALUE, takes_value);
    d.enable(IDC_FUNCTION_LABEL, st.calculation != CALC_TABLE);
    d.enable(IDC_FUNCTION, st.calculation != CALC_TABLE);
    d.set_text(IDC_DESCRIPTION, calculation_help(st.calculation, st.type));
}

std::string value_label(int type) {
    switch (type) {
        case PLOT_POLAR: return plot_variable_name(type) + " Value:" + angle_unit_suffix();
        case PLOT_PARAMETRIC: return plot_variable_name(type) + " Value:";
        default: return "x Value:";
    }
}

// --- Plot Table ---------------------------------------------------------------------

constexpr int IDC_TABLE = 1149;
constexpr int IDC_START = 1148;
constexpr int IDC_DELTA = 1147;
constexpr int IDC_RECALC = 2;
constexpr int IDC_EXIT = 1;
constexpr int IDC_TABLE_SCROLL = 1161;
constexpr int kColumnWidth = 80;
constexpr int kPageRows = 10;

// The view is as wide as two function columns beside the variable; with
// more functions the "<" and ">" buttons move along them.
constexpr int kVisibleFunctions = 2;
constexpr int IDC_COLUMNS_LEFT = 1162;
constexpr int IDC_COLUMNS_RIGHT = 1163;

struct TableState {
    PlotTable table;
    int first_column = 0;   // the function column shown beside the variable
    NumberField start{IDC_START, 0, {}};
    NumberField delta{IDC_DELTA, 0, {}};
    // The bar rests in the middle (position 1 of 0..2): every step is read
    // as a move of the table, then the thumb goes back.
    ScrollTrack track;
    ScrollTrack::Part held = ScrollTrack::None;
};

std::string row_value_text(const PlotTable& t, int row) {
    const double v = table_row_value(t, row);
    if (!std::isfinite(v)) return "Error";
    return format_real(v, FMT_FLOAT, 4, false);
}

int visible_functions(const TableState& st) {
    return st.table.columns < kVisibleFunctions ? st.table.columns : kVisibleFunctions;
}

std::vector<Column> table_columns(const TableState& st) {
    std::vector<Column> columns;
    columns.push_back({table_variable_heading(g_plot.type), kColumnWidth, Align::Right});
    for (int k = 0; k < visible_functions(st); ++k)
        columns.push_back({slot_name(g_plot.type, g_plot.coordinates, st.table.slot[st.first_column + k]),
                           kColumnWidth, Align::Right});
    return columns;
}

void show_table(Dialog& d, TableState& st) {
    auto& view = d.get<ListView>(IDC_TABLE);
    view.set_columns(table_columns(st));
    for (int row = 0; row < TABLE_ROWS; ++row) {
        view.set_cell(row, 0, row_value_text(st.table, row));
        for (int k = 0; k < visible_functions(st); ++k)
            view.set_cell(row, k + 1, table_cell_text(st.table, row, st.first_column + k));
    }
    if (st.table.columns > kVisibleFunctions) {
        d.enable(IDC_COLUMNS_LEFT, st.first_column > 0);
        d.enable(IDC_COLUMNS_RIGHT, st.first_column + kVisibleFunctions < st.table.columns);
    }
    st.start.show(d, st.table.start, scientific_text(st.table.start, 4));
    st.delta.show(d, st.table.delta, scientific_text(st.table.delta, 4));
}

void scroll_table(Dialog& d, TableState& st, int rows) {
    table_scroll(st.table, rows);
    show_table(d, st);
}

int rows_of_part(ScrollTrack::Part part) {
    switch (part) {
        case ScrollTrack::UpArrow: return -1;
        case ScrollTrack::DownArrow: return 1;
        case ScrollTrack::PageUp: return -kPageRows;
        case ScrollTrack::PageDown: return kPageRows;
        default: return 0;
    }
}

void table_bar_stylus(Dialog& d, TableState& st, EventType type, int x, int y) {
    auto& bar = d.get<CustomArea>(IDC_TABLE_SCROLL);
    const Rect r{0, 0, bar.rect().w, bar.rect().h};
    switch (type) {
        case EventType::StylusDown:
            st.held = st.track.hit(r, x, y);
            st.track.press(r, x, y, d.now());
            if (const int rows = rows_of_part(st.held)) {
                st.track.pos = 1;
                scroll_table(d, st, rows);
            }
            break;
        case EventType::StylusMove:
            st.track.drag(r, x, y);
            break;
        case EventType::StylusUp:
            // A thumb let go at either end pages that way.
            if (st.held == ScrollTrack::Thumb && st.track.pos != 1)
                scroll_table(d, st, st.track.pos < 1 ? -kPageRows : kPageRows);
            st.track.pos = 1;
            st.track.release();
            st.held = ScrollTrack::None;
            break;
        default:
            break;
    }
    bar.redraw();
}

// Auto-repeat while an arrow or the track stays pressed.
void table_bar_idle(Dialog& d, TableState& st) {
    const int rows = rows_of_part(st.held);
    if (rows == 0) return;
    auto& bar = d.get<CustomArea>(IDC_TABLE_SCROLL);
    if (!st.track.repeat({0, 0, bar.rect().w, bar.rect().h}, d.now())) return;
    st.track.pos = 1;
    scroll_table(d, st, rows);
    bar.redraw();
}

}  // namespace

bool plot_setup_dialog() {
    constexpr int width = DIALOG_MAX_CLIENT_WIDTH - 2;
    const int lh = label_height();
    const int inner = width - 2 * kMargin;
    // Three columns of labelled fields; the third is a little wider for
    // "Connect Dots?".
    constexpr int col_w[3] = {70, 70, 76};
    const int col_x[3] = {kMargin, kMargin + col_w[0] + kGap, kMargin + col_w[0] + col_w[1] + 2 * kGap};
    const int combo_label_w = 56;
    const int combo_x = kMargin + combo_label_w;
    const int help_w = 22;
    const int combo_w = inner - combo_label_w - help_w - kGap;
    const int row_h = lh + EDIT_HEIGHT + 4;
    const int type_y = kMargin;
    const int cursor_y = type_y + EDIT_HEIGHT + kGap;
    const int grid_y = cursor_y + EDIT_HEIGHT + kGap + 4;
    const int buttons_y = grid_y + 4 * row_h + kGap;
    const int height = buttons_y + BUTTON_HEIGHT + kMargin;

    Dialog d("Plot Setup", width, height);
    d.add_static(0, {kMargin, type_y + 3, combo_label_w, lh}, "Plot Type:");
    auto& type = d.add_combo_box(IDC_PLOT_TYPE, {combo_x, type_y, combo_w, EDIT_HEIGHT});
    for (int e = 0; e < kPlotEntries; ++e) type.add(plot_type_name(e < 3 ? e : PLOT_3D, e < 3 ? 0 : e - 3));
    type.set_max_drop_rows(kPlotEntries);
    d.add_button(IDC_COORDINATE_HELP, {width - kMargin - help_w, type_y, help_w, EDIT_HEIGHT}, "?");
    d.add_static(0, {kMargin, cursor_y + 3, combo_label_w, lh}, "Plot Cursor:");
    d.add_combo_box(IDC_PLOT_CURSOR, {combo_x, cursor_y, combo_w, EDIT_HEIGHT});

    // One labelled field: the caption above, the field below.
    auto field = [&](int label_id, const char* caption, int edit_id, int column, int row) {
        const int y = grid_y + row * row_h;
        d.add_static(label_id, {col_x[column], y, col_w[column], lh}, caption);
        d.add_edit(edit_id, {col_x[column], y + lh, col_w[column], EDIT_HEIGHT}, {}, numeric_edit());
    };
    field(0, "x min:", IDC_XMIN, 0, 0);
    field(0, "x max:", IDC_XMAX, 1, 0);
    field(IDC_Z_SCALE_LABEL, "z Scale:", IDC_Z_SCALE, 2, 0);
    field(0, "y min:", IDC_YMIN, 0, 1);
    field(0, "y max:", IDC_YMAX, 1, 1);
    field(IDC_TMIN_LABEL, "t min:", IDC_TMIN, 0, 2);
    field(IDC_TMAX_LABEL, "t max:", IDC_TMAX, 1, 2);
    field(IDC_TSTEP_LABEL, "t step:", IDC_TSTEP, 2, 2);
    field(IDC_VMIN_LABEL, "v min:", IDC_VMIN, 0, 3);
    field(IDC_VMAX_LABEL, "v max:", IDC_VMAX, 1, 3);
    field(IDC_VSTEP_LABEL, "v step:", IDC_VSTEP, 2, 3);
    // The flags sit beside the window fields; for 3-D the z scale takes
    // the grid's place.
    d.add_check_box(IDC_GRID, {col_x[2], grid_y + lh, col_w[2], EDIT_HEIGHT}, "Display Grid?");
    d.add_check_box(IDC_CONNECT, {col_x[2], grid_y + row_h + lh, col_w[2] + 2, EDIT_HEIGHT},
                    "Connect Dots?");

    const int step = kButtonWidth + kGap;
    d.add_button(IDC_DEFAULTS, {width - kMargin - 3 * step + kGap, buttons_y, kButtonWidth, BUTTON_HEIGHT},
                 "Defaults");
    d.add_button(ID_OK, {width - kMargin - 2 * step + kGap, buttons_y, kButtonWidth, BUTTON_HEIGHT}, "OK",
                 true);
    d.add_button(ID_CANCEL, {width - kMargin - kButtonWidth, buttons_y, kButtonWidth, BUTTON_HEIGHT},
                 "Cancel");

    SetupState st;
    fill_setup(d, st);
    d.on_notify([&st](Dialog& dlg, int id, Notify what) {
        if (id == IDC_PLOT_TYPE && what == Notify::SelectionChanged) {
            follow_entry(dlg, std::max(0, dlg.get<ComboBox>(IDC_PLOT_TYPE).selected()),
                         dlg.get<ComboBox>(IDC_PLOT_CURSOR).selected());
        } else if (id == IDC_COORDINATE_HELP && what == Notify::Clicked) {
            plot_coordinate_dialog(std::max(0, dlg.get<ComboBox>(IDC_PLOT_TYPE).selected()));
        } else if (id == IDC_DEFAULTS && what == Notify::Clicked) {
            reset_plot_defaults();
            fill_setup(dlg, st);
            // The record has changed already: there is nothing left to
            // cancel to, so every way out stores.
            st.defaults_taken = true;
            dlg.enable(ID_CANCEL, false);
            dlg.set_cancel_id(ID_OK);
        }
    });
    d.set_focus(IDC_XMIN);

    if (run_dialog(d) != ID_OK && !st.defaults_taken) return false;
    store_setup(d, st);
    return true;
}

void plot_coordinate_dialog(int entry) {
    static const char* const kPictures[kPlotEntries] = {"FUNCTION",  "POLAR",       "PARAMETRIC",
                                                        "CARTESIAN", "CYLINDRICAL", "SPHERICAL"};
    if (entry < 0 || entry >= kPlotEntries) return;
    const char* name = kPictures[entry];
    int w = 200, h = 140;
    picture_size(name, &w, &h);
    Surface picture(w, h, COLOUR_FACE);
    draw_gif(picture, name, 0, 0, false, BRIGHTNESS_NEUTRAL);

    constexpr int picture_margin = 5;
    const int width = std::max(w, kButtonWidth) + 2 * picture_margin;
    const int buttons_y = picture_margin + h + kMargin;
    Dialog d("Plot Coordinate System", width, buttons_y + BUTTON_HEIGHT + kMargin);
    d.add_image(0, {picture_margin, picture_margin, w, h}, picture);
    d.add_button(ID_OK, {(width - kButtonWidth) / 2, buttons_y, kButtonWidth, BUTTON_HEIGHT}, "OK", true);
    run_dialog(d);
}

FunctionsDialogResult plot_functions_dialog() {
    FunctionsDialogResult result{false, false, false};
    const int type = g_plot.type;
    if (type < 0 || type >= PLOT_TYPES) return result;
    FunctionsState st{type, g_plot.coordinates, {}};
    for (int k = 0; k < PLOT_SLOTS; ++k) st.count[k] = slot_defined(type, k) ? g_plot_slots[type][k].count : 0;

    constexpr int width = DIALOG_MAX_CLIENT_WIDTH - 2;
    const int lh = label_height();
    const int inner = width - 2 * kMargin;
    constexpr int box = 12;
    constexpr int clear_w = 40;
    const int edit_x = kMargin + box + kGap;
    const int edit_w = inner - box - clear_w - 2 * kGap;
    const int row_h = EDIT_HEIGHT + kGap;
    const int trace_y = kMargin + PLOT_SLOTS * row_h + 2;
    const int buttons_y = trace_y + lh + EDIT_HEIGHT + kMargin + 2;

    Dialog d("Plot Functions", width, buttons_y + BUTTON_HEIGHT + kMargin);
    for (int k = 0; k < PLOT_SLOTS; ++k) {
        const int y = kMargin + k * row_h;
        const std::string n = std::to_string(k + 1);
        if (const Surface* legend = find_bitmap(slot_box_name(k))) {
            auto& image = d.add_image(IDC_BOX_FIRST + k, {kMargin, y + (EDIT_HEIGHT - box) / 2, box, box},
                                      *legend);
            image.show(box_kept(type, k));
        }
        EditOptions read_only;
        read_only.read_only = true;
        d.add_edit(row_edit_id(k), {edit_x, y, edit_w, EDIT_HEIGHT}, {}, read_only, "Row " + n);
        d.add_button(IDC_CLEAR_FIRST + k, {width - kMargin - clear_w, y, clear_w, EDIT_HEIGHT}, "Clear",
                     false, "Clear " + n);
    }
    d.add_static(0, {kMargin, trace_y, inner, lh}, "Trace Function:");
    auto& trace = d.add_combo_box(IDC_TRACE, {kMargin, trace_y + lh, inner, EDIT_HEIGHT});
    const int choices = trace_choice_count(type);
    for (int k = 0; k < choices; ++k) trace.add(trace_choice_name(type, st.coordinates, k));
    const int stride = slots_per_curve(type);
    const int old_trace = g_plot.trace_function[type];
    const int choice = old_trace / stride;
    trace.select(choice >= 0 && choice < choices ? choice : 0);

    add_ok_cancel(d, width, buttons_y);

    fill_function_rows(d, st);
    d.on_notify([&st](Dialog& dlg, int id, Notify what) {
        const int k = id - IDC_CLEAR_FIRST;
        if (what != Notify::Clicked || k < 0 || k >= PLOT_SLOTS) return;
        st.count[k] = 0;
        fill_function_rows(dlg, st);
    });
    d.set_focus(IDC_TRACE);

    if (run_dialog(d) != ID_OK) return result;
    result.accepted = true;
    for (int k = 0; k < PLOT_SLOTS; ++k) {
        if (st.count[k] == 0 && slot_defined(type, k)) result.cleared = true;
        g_plot_slots[type][k].count = st.count[k];
    }
    const int chosen = trace.selected();
    if (chosen >= 0) {
        g_plot.trace_function[type] = chosen * stride;
        result.trace_changed = chosen * stride != old_trace;
    }
    return result;
}

bool plot_calculate_dialog() {
    CalculateState st;
    st.type = g_plot.type;
    st.coordinates = g_plot.coordinates;
    st.calculation = calculation_of_entry(st.type, entry_of_calculation(st.type, g_calc.calculation));
    st.function = g_calc.function;
    st.pair = g_calc.pair;

    constexpr int width = DIALOG_MAX_CLIENT_WIDTH - 2;
    const int lh = label_height();
    const int inner = width - 2 * kMargin;
    const int help_h = 7 * font_height(FONT_DIALOG) + 6;
    const int calc_y = kMargin;
    const int help_y = calc_y + lh + EDIT_HEIGHT + kGap;
    const int function_y = help_y + lh + help_h + kGap;
    const int value_y = function_y + lh + EDIT_HEIGHT + kGap;
    const int buttons_y = value_y + lh + EDIT_HEIGHT + kMargin + 2;

    Dialog d("Plot Calculate", width, buttons_y + BUTTON_HEIGHT + kMargin);
    d.add_static(0, {kMargin, calc_y, inner, lh}, "Calculation:");
    auto& calc = d.add_combo_box(IDC_CALCULATION, {kMargin, calc_y + lh, inner, EDIT_HEIGHT});
    if (all_calculations(st.type)) {
        for (int c = CALC_VALUE; c <= CALC_TABLE; ++c) calc.add(calculation_name(c));
    } else {
        calc.add(calculation_name(CALC_VALUE));
        calc.add(calculation_name(CALC_TABLE));
    }
    calc.set_max_drop_rows(calc.count());
    calc.select(entry_of_calculation(st.type, st.calculation));
    d.add_static(0, {kMargin, help_y, inner, lh}, "Calculation Description:");
    d.add_edit(IDC_DESCRIPTION, {kMargin, help_y + lh, inner, help_h}, {},
               EditOptions{.read_only = true, .multi_line = true}, "Calculation Description");
    d.add_static(IDC_FUNCTION_LABEL, {kMargin, function_y, inner, lh}, "Function:");
    d.add_combo_box(IDC_FUNCTION, {kMargin, function_y + lh, inner, EDIT_HEIGHT});
    const std::string value_caption = value_label(st.type);
    d.add_static(IDC_VALUE_LABEL, {kMargin, value_y, inner, lh}, value_caption);
    d.add_edit(IDC_VALUE, {kMargin, value_y + lh, inner / 2, EDIT_HEIGHT}, {}, numeric_edit());
    add_ok_cancel(d, width, buttons_y);

    st.value.show(d, g_calc.x_value, scientific_text(g_calc.x_value, 4));
    fill_function_choices(d, st);
    follow_calculation(d, st);
    d.on_notify([&st](Dialog& dlg, int id, Notify what) {
        if (what != Notify::SelectionChanged) return;
        if (id == IDC_CALCULATION) {
            st.calculation = calculation_of_entry(st.type, dlg.get<ComboBox>(IDC_CALCULATION).selected());
            follow_calculation(dlg, st);
        } else if (id == IDC_FUNCTION) {
            const int row = dlg.get<ComboBox>(IDC_FUNCTION).selected();
            if (row < 0) return;
            (st.pairs_listed ? st.pair : st.function) = row;
        }
    });
    d.set_focus(IDC_CALCULATION);

    if (run_dialog(d) != ID_OK) {
        g_calc.requested = false;
        return false;
    }
    g_calc.calculation = st.calculation;
    g_calc.function = st.function;
    g_calc.pair = st.pair;
    if (st.calculation == CALC_VALUE || st.calculation == CALC_SLOPE) g_calc.x_value = st.value.read(d, 0.0);
    g_calc.requested = true;
    return true;
}

void plot_table_dialog(double start, double delta) {
    TableState st;
    table_fill(st.table, start, delta);
    st.track.low = 0;
    st.track.high = 2;
    st.track.page = 1;
    st.track.pos = 1;

    constexpr int width = DIALOG_MAX_CLIENT_WIDTH - 2;
    constexpr int side = 2;   // narrow edges: every pixel of the table counts
    const int lh = label_height();
    const int view_h = (TABLE_ROWS + 1) * LIST_ROW_HEIGHT + 4;
    const int view_w = width - 2 * side - SCROLL_BAR_WIDTH - 2;
    const int start_y = side + 2 + view_h + kMargin;
    const int delta_y = start_y + BUTTON_HEIGHT + kGap;
    const int height = delta_y + BUTTON_HEIGHT + kMargin;

    const std::vector<Column> columns = table_columns(st);
    Dialog d("Plot Table", width, height);
    auto& view = d.add_list_view(IDC_TABLE, {side, side + 2, view_w, view_h}, columns, "Table");
    for (int row = 0; row < TABLE_ROWS; ++row) view.add_row(std::vector<std::string>(columns.size()));
    auto& bar = d.add_custom(IDC_TABLE_SCROLL,
                             {width - side - SCROLL_BAR_WIDTH, side + 2, SCROLL_BAR_WIDTH, view_h}, "Scroll");

    const std::string var =
        g_plot.type == PLOT_POLAR || g_plot.type == PLOT_PARAMETRIC ? plot_variable_name(g_plot.type) : "x";
    const int label_w = 44, edit_w = 84;
    const int edit_x = kMargin + label_w;
    d.add_static(0, {kMargin, start_y + 4, label_w, lh}, var + " start:");
    d.add_edit(IDC_START, {edit_x, start_y + 1, edit_w, EDIT_HEIGHT}, {}, numeric_edit());
    d.add_static(0, {kMargin, delta_y + 4, label_w, lh}, var + " delta:");
    d.add_edit(IDC_DELTA, {edit_x, delta_y + 1, edit_w, EDIT_HEIGHT}, {}, numeric_edit());
    const int button_x = width - kMargin - kButtonWidth;
    d.add_button(IDC_RECALC, {button_x, start_y, kButtonWidth, BUTTON_HEIGHT}, "Recalc", true);
    d.add_button(IDC_EXIT, {button_x, delta_y, kButtonWidth, BUTTON_HEIGHT}, "Exit");
    if (st.table.columns > kVisibleFunctions) {
        const int arrow_w = 20;
        const int arrows_x = edit_x + edit_w + kGap;
        d.add_button(IDC_COLUMNS_LEFT, {arrows_x, start_y, arrow_w, BUTTON_HEIGHT}, "<");
        d.add_button(IDC_COLUMNS_RIGHT, {arrows_x, delta_y, arrow_w, BUTTON_HEIGHT}, ">");
    }
    // Recalc has the id Cancel usually has: it must leave the table open,
    // and Escape exits instead.
    d.set_auto_end(IDC_RECALC, false);
    d.set_cancel_id(IDC_EXIT);

    show_table(d, st);
    bar.on_paint([&st](Surface& s, const Rect& r) { st.track.paint(s, r, true); });
    bar.on_stylus([&st](Dialog& dlg, EventType type, int x, int y) { table_bar_stylus(dlg, st, type, x, y); });
    d.on_idle([&st](Dialog& dlg) { table_bar_idle(dlg, st); });
    d.on_notify([&st](Dialog& dlg, int id, Notify what) {
        if (what != Notify::Clicked) return;
        if (id == IDC_COLUMNS_LEFT || id == IDC_COLUMNS_RIGHT) {
            const int last = st.table.columns - kVisibleFunctions;
            st.first_column += id == IDC_COLUMNS_LEFT ? -1 : 1;
            st.first_column = st.first_column < 0 ? 0 : st.first_column > last ? last : st.first_column;
            show_table(dlg, st);
            return;
        }
        if (id != IDC_RECALC) return;
        const double new_start = st.start.read(dlg, st.table.start);
        const double new_delta = st.delta.read(dlg, st.table.delta);
        table_fill(st.table, new_start, new_delta);
        show_table(dlg, st);
    });
    d.set_focus(IDC_START);

    run_dialog(d);
    // The next table opens where this one was left.
    g_calc.table_start = st.table.start;
    g_calc.table_delta = st.table.delta;
}

}  // namespace qx

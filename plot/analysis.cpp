#include "plot/analysis.h"

#include <cmath>
#include <cstring>

#include "engine/errors.h"
#include "engine/format.h"
#include "engine/settings.h"
#include "plot/evaluate.h"
#include "plot/model.h"

namespace qx {

CalcSettings g_calc{};

void reset_calc_settings() { g_calc = CalcSettings{}; }

namespace {

// Token codes of the plot forms of the searches and of the brackets and
// the minus that join the two sides of an intersection.
constexpr TokenCode kPlotDeriv = 1996;
constexpr TokenCode kPlotRoot = 1997;
constexpr TokenCode kPlotMax = 1998;
constexpr TokenCode kPlotMin = 1999;
constexpr TokenCode kOpen = 3;
constexpr TokenCode kClose = 4;
constexpr TokenCode kMinus = 37;

// A temporary expression must stay under this many tokens, as a slot does.
constexpr int kExpressionLimit = PLOT_SLOT_TOKENS;

const char* const kNames[] = {"Value", "Root", "Minimum", "Maximum",
                              "Intersection", "Slope", "Table"};

const char* const kHelp[] = {
    nullptr,   // Value: depends on the plot type
    "Finds a root (x-intercept) of a function. Select the function below. Only one root is "
    "returned even if the function has more than one root. Zoom in on a function to find a "
    "particular root. The minimum x value and maximum x value of the plot area are used as the "
    "extremes for finding a root.",
    "Finds a minimum of a function. Select the function below. Zoom in on a function to find a "
    "particular minimum. The minimum x value and maximum x value of the plot area are used as "
    "the extremes for finding a minimum.",
    "Finds a maximum of a function. Select the function below. Zoom in on a function to find a "
    "particular maximum. The minimum x value and maximum x value of the plot area are used as "
    "the extremes for finding a maximum.",
    "Finds an intersection of two functions. Select the two functions below. Only one "
    "intersection is returned even if the functions have more than one intersection. Zoom in on "
    "a function to find a particular intersection. The minimum x value and maximum x value of "
    "the plot area are used as the extremes for finding an intersection.",
    "Finds the slope (numeric derivative) of a function for a given x. Select the function and "
    "enter the x value below.",
    "Calculates a table of values for the displayed functions.",
};

constexpr int kCalculations = sizeof kNames / sizeof kNames[0];

CalcValue defined_value(double v) { return CalcValue{v, 0}; }
CalcValue undefined_value(int code) { return CalcValue{UNDEFINED_VALUE, code}; }

bool is_defined(const CalcValue& v) { return !is_undefined(v.value); }

// One sample of an evaluation that has begun, with the reason of a failure.
CalcValue sample(SlotEvaluation& evaluation, double at) {
    double v = evaluation.at(at);
    if (is_undefined(v)) return undefined_value(g_last_plot_error);
    return defined_value(v);
}

// One sample of a plot slot in a begin/evaluate/end cycle of its own.
CalcValue slot_value(int type, int slot, double at) {
    if (!slot_defined(type, slot)) return undefined_value(ERR_PLOT_UNDEFINED);
    SlotEvaluation evaluation(type, slot);
    return sample(evaluation, at);
}

// The y of a search result: undefined with the reason of x when x failed.
CalcValue value_at_result(int slot, const CalcValue& x) {
    if (!is_defined(x)) return x;
    return slot_value(PLOT_FUNCTION, slot, x.value);
}

int clamp_index(int index, int count) { return index >= 0 && index < count ? index : 0; }

void append(TokenCode* out, int* n, const TokenCode* tokens, int count) {
    std::memcpy(out + *n, tokens, sizeof(TokenCode) * static_cast<std::size_t>(count));
    *n += count;
}

void append(TokenCode* out, int* n, TokenCode token) { out[(*n)++] = token; }

const char* heading_of(int calculation) {
    switch (calculation) {
        case CALC_VALUE: return "SMALL_CALC_VALUE";
        case CALC_ROOT: return "SMALL_CALC_ROOT";
        case CALC_MINIMUM: return "SMALL_CALC_MINIMUM";
        case CALC_MAXIMUM: return "SMALL_CALC_MAXIMUM";
        case CALC_INTERSECTION: return "SMALL_CALC_INTERSECT";
        default: return nullptr;
    }
}

void run_value_polar(CalcResult& r) {
    const int slot = clamp_index(g_calc.function, PLOT_SLOTS);
    r.first = defined_value(g_calc.x_value);
    r.second = slot_value(PLOT_POLAR, slot, g_calc.x_value);
    if (is_defined(r.second)) {
        const double angle = g_calc.x_value * angle_to_radians();
        r.point_defined = true;
        r.point_x = r.second.value * std::cos(angle);
        r.point_y = r.second.value * std::sin(angle);
    }
}

void run_value_parametric(CalcResult& r) {
    const int pair = clamp_index(g_calc.function, PLOT_SLOTS / 2);
    r.first = defined_value(g_calc.x_value);
    r.second = slot_value(PLOT_PARAMETRIC, 2 * pair, g_calc.x_value);
    r.third = slot_value(PLOT_PARAMETRIC, 2 * pair + 1, g_calc.x_value);
    if (is_defined(r.second) && is_defined(r.third)) {
        r.point_defined = true;
        r.point_x = r.second.value;
        r.point_y = r.third.value;
    }
}

// Function plots: the searches go through a temporary expression around
// the slot so that they use the same numerical methods as the var
// functions; returns false when that expression would be too long.
bool run_function(CalcResult& r) {
    const int calculation = r.calculation;
    const int slot = clamp_index(g_calc.function, PLOT_SLOTS);
    int i = slot, j = slot;
    if (calculation == CALC_INTERSECTION) intersection_pair(g_calc.pair, &i, &j);

    if (calculation == CALC_VALUE) {
        r.first = defined_value(g_calc.x_value);
        r.second = slot_value(PLOT_FUNCTION, slot, g_calc.x_value);
    } else {
        const PlotSlot& a = g_plot_slots[PLOT_FUNCTION][i];
        const PlotSlot& b = g_plot_slots[PLOT_FUNCTION][j];
        const bool intersection = calculation == CALC_INTERSECTION;
        const int length = intersection ? a.count + b.count + 7 : a.count + 2;
        if (length >= kExpressionLimit) return false;

        CalcValue searched = undefined_value(ERR_PLOT_UNDEFINED);
        if (slot_defined(PLOT_FUNCTION, i) && (!intersection || slot_defined(PLOT_FUNCTION, j))) {
            TokenCode expression[kExpressionLimit];
            int n = 0;
            if (intersection) {
                append(expression, &n, kPlotRoot);
                append(expression, &n, kOpen);
                append(expression, &n, a.tokens, a.count);
                append(expression, &n, kClose);
                append(expression, &n, kMinus);
                append(expression, &n, kOpen);
                append(expression, &n, b.tokens, b.count);
                append(expression, &n, kClose);
            } else {
                const TokenCode head = calculation == CALC_ROOT      ? kPlotRoot
                                       : calculation == CALC_MINIMUM ? kPlotMin
                                       : calculation == CALC_MAXIMUM ? kPlotMax
                                                                     : kPlotDeriv;
                append(expression, &n, head);
                append(expression, &n, a.tokens, a.count);
            }
            append(expression, &n, kClose);
            // The searches ignore the variable's value; the derivative is
            // taken where it stands.
            SlotEvaluation evaluation(expression, n, plot_variable(PLOT_FUNCTION));
            searched = sample(evaluation, calculation == CALC_SLOPE ? g_calc.x_value
                                                                    : g_calc.search_lower);
            // The root search cannot tell what its expression means; a
            // failed intersection is reported as such.
            if (intersection && !is_defined(searched) && searched.error == ERR_NO_ROOT)
                searched.error = ERR_NO_INTERSECTION;
        }
        if (calculation == CALC_SLOPE) {
            r.first = defined_value(g_calc.x_value);
            r.second = slot_value(PLOT_FUNCTION, slot, g_calc.x_value);
            r.third = searched;
        } else {
            r.first = searched;
            r.second = value_at_result(i, searched);
        }
    }
    if (is_defined(r.first) && is_defined(r.second)) {
        r.point_defined = true;
        r.point_x = r.first.value;
        r.point_y = r.second.value;
    }
    return true;
}

}  // namespace

const char* calculation_name(int calculation) {
    if (calculation < 0 || calculation >= kCalculations) return nullptr;
    return kNames[calculation];
}

std::string calculation_help(int calculation, int plot_type) {
    if (calculation < 0 || calculation >= kCalculations) return "";
    if (calculation != CALC_VALUE) return kHelp[calculation];
    const std::string variable = plot_variable_name(plot_type == PLOT_3D ? PLOT_FUNCTION : plot_type);
    return "Calculates a function value for a given " + variable +
           ". Select the function and enter the " + variable + " value below.";
}

void intersection_pair(int index, int* i, int* j) {
    index = clamp_index(index, INTERSECTION_PAIRS);
    constexpr int kOthers = PLOT_SLOTS - 1;
    *i = index / kOthers;
    const int k = index % kOthers;
    *j = k < *i ? k : k + 1;
}

CalcResult run_calculation() {
    CalcResult r{};
    r.plot_type = g_plot.type;
    r.first = r.second = r.third = undefined_value(ERR_PLOT_UNDEFINED);
    g_calc.search_lower = g_plot.xmin;
    g_calc.search_upper = g_plot.xmax;

    // Polar and parametric plots offer Value and Table only.
    int calculation = g_calc.calculation;
    if (calculation < 0 || calculation >= kCalculations) calculation = CALC_VALUE;
    if (r.plot_type != PLOT_FUNCTION && calculation != CALC_TABLE) calculation = CALC_VALUE;
    r.calculation = calculation;
    // The table has a dialog of its own; there is nothing to compute here.
    if (calculation == CALC_TABLE) return r;
    r.heading = heading_of(calculation);

    switch (r.plot_type) {
        case PLOT_FUNCTION: r.too_long = !run_function(r); break;
        case PLOT_POLAR: run_value_polar(r); break;
        case PLOT_PARAMETRIC: run_value_parametric(r); break;
        default: break;
    }
    return r;
}

// --- table ---------------------------------------------------------------------------

double table_row_value(const PlotTable& t, int row) {
    return t.start + static_cast<double>(row) * t.delta;
}

namespace {

// Evaluates rows [from, to) of every column, one begin/end per column.
void table_compute_rows(PlotTable& t, int from, int to) {
    for (int c = 0; c < t.columns; ++c) {
        SlotEvaluation evaluation(g_plot.type, t.slot[c]);
        for (int row = from; row < to; ++row) {
            CalcValue v = sample(evaluation, table_row_value(t, row));
            t.cell[row][c] = v.value;
            t.error[row][c] = v.error;
        }
    }
}

}  // namespace

void table_fill(PlotTable& t, double start, double delta) {
    t.start = start;
    t.delta = delta;
    t.columns = 0;
    // Three-dimensional slots need two variables: they have no table.
    const int type = g_plot.type;
    if (type == PLOT_FUNCTION || type == PLOT_POLAR || type == PLOT_PARAMETRIC) {
        for (int s = 0; s < PLOT_SLOTS && t.columns < TABLE_MAX_COLUMNS; ++s)
            if (slot_defined(type, s)) t.slot[t.columns++] = s;
    }
    table_compute_rows(t, 0, TABLE_ROWS);
}

void table_scroll(PlotTable& t, int rows) {
    if (rows != 1 && rows != -1) {
        table_fill(t, t.start + static_cast<double>(rows) * t.delta, t.delta);
        return;
    }
    t.start += static_cast<double>(rows) * t.delta;
    const std::size_t moved = sizeof t.cell[0] * (TABLE_ROWS - 1);
    const std::size_t moved_errors = sizeof t.error[0] * (TABLE_ROWS - 1);
    if (rows == 1) {
        std::memmove(t.cell[0], t.cell[1], moved);
        std::memmove(t.error[0], t.error[1], moved_errors);
        table_compute_rows(t, TABLE_ROWS - 1, TABLE_ROWS);
    } else {
        std::memmove(t.cell[1], t.cell[0], moved);
        std::memmove(t.error[1], t.error[0], moved_errors);
        table_compute_rows(t, 0, 1);
    }
}

std::string table_cell_text(const PlotTable& t, int row, int column) {
    if (row < 0 || row >= TABLE_ROWS || column < 0 || column >= t.columns) return "";
    const double v = t.cell[row][column];
    if (is_undefined(v)) return cell_error_text(t.error[row][column]);
    return format_real(v, FMT_FLOAT, 4, false);
}

std::string table_variable_heading(int plot_type) {
    if (plot_type == PLOT_POLAR) return plot_variable_name(plot_type) + angle_unit_suffix();
    return plot_variable_name(plot_type == PLOT_3D ? PLOT_FUNCTION : plot_type);
}

}  // namespace qx

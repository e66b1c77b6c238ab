// Plot analysis: value, root, minimum, maximum, intersection and slope of a
// plotted function, and the table of values.  Searches reuse the plot forms
// of the numerical var functions on a temporary expression.
#pragma once
#include <string>

namespace qx {

enum Calculation {
    CALC_VALUE = 0, CALC_ROOT = 1, CALC_MINIMUM = 2, CALC_MAXIMUM = 3,
    CALC_INTERSECTION = 4, CALC_SLOPE = 5, CALC_TABLE = 6,
};

struct CalcSettings {
    int calculation;
    double x_value;         // x, theta or t of Value and Slope
    int function;           // slot (Function, Polar) or pair (Parametric)
    int pair;               // index into the ordered pairs of Intersection
    double search_lower, search_upper;
    double table_start, table_delta;
    bool requested;         // the dialog said OK: the key handler runs it
};
// Kept for the run only; everything starts at 0.
extern CalcSettings g_calc;
void reset_calc_settings();

const char* calculation_name(int calculation);
// The "Calculation Description:" text; Value depends on the plot type.
std::string calculation_help(int calculation, int plot_type);
// Ordered pairs (i, j), i != j, i outer: 30 of them.
constexpr int INTERSECTION_PAIRS = 30;
void intersection_pair(int index, int* i, int* j);

// A value with the error code that explains an undefined one.
struct CalcValue {
    double value;   // or the undefined marker
    int error;      // meaningful when undefined
};
struct CalcResult {
    bool too_long;          // "Reached expression size limit": nothing ran
    int calculation;
    int plot_type;
    const char* heading;    // SMALL_CALC_VALUE .. SMALL_CALC_INTERSECT, or nullptr (Slope)
    // Function: x, y (slope in `third` for Slope).  Polar: theta, r.
    // Parametric: t, X, Y.
    CalcValue first, second, third;
    bool point_defined;     // a cross-hair goes at (point_x, point_y), window units
    double point_x, point_y;
};
// Runs the calculation of g_calc on the current plot type and window.
CalcResult run_calculation();

// The "Plot Table": ten rows from start by delta, one column per defined
// slot of the current type.  Scrolling one row keeps the cells already
// computed and evaluates only the new row.
constexpr int TABLE_ROWS = 10;
constexpr int TABLE_MAX_COLUMNS = 6;
struct PlotTable {
    double start, delta;
    int columns;
    int slot[TABLE_MAX_COLUMNS];
    double cell[TABLE_ROWS][TABLE_MAX_COLUMNS];
    int error[TABLE_ROWS][TABLE_MAX_COLUMNS];
};
void table_fill(PlotTable& t, double start, double delta);
// rows: -1/+1 move one row (one new row evaluated), other values refill.
void table_scroll(PlotTable& t, int rows);
double table_row_value(const PlotTable& t, int row);
// The text of a cell: Float with 4 digits, or the error text.
std::string table_cell_text(const PlotTable& t, int row, int column);
// Column headings: the variable ("x", "<theta> (Deg)", "t") then slot names.
std::string table_variable_heading(int plot_type);

}  // namespace qx

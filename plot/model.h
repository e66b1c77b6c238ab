// The plot settings record and the function slots: what PLOT mode draws,
// over which window and parameter range, and how.  One global record; the
// window changes only through set_plot_window.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/tokens.h"

namespace qx {

constexpr int PLOT_TYPES = 4;
constexpr int PLOT_SLOTS = 6;
constexpr int PLOT_SLOT_TOKENS = 100;
constexpr double PLOT_WINDOW_LIMIT = 1e100;
constexpr char THETA_CHAR = '\x97';   // 151: the theta glyph of our fonts
constexpr char PHI_CHAR = '\xa9';     // 169: the phi glyph

enum PlotType { PLOT_FUNCTION = 0, PLOT_POLAR = 1, PLOT_PARAMETRIC = 2, PLOT_3D = 3 };
enum PlotCursor { CURSOR_TRACE = 0, CURSOR_BOX_ZOOM = 1, CURSOR_PAN = 2, CURSOR_ROTATE = 3 };
enum CoordinateSystem { COORD_CARTESIAN = 0, COORD_CYLINDRICAL = 1, COORD_SPHERICAL = 2 };

struct PlotSlot {
    TokenCode tokens[PLOT_SLOT_TOKENS];
    int count;   // 0: undefined
};

struct PlotRecord {
    int type;
    int coordinates;          // for 3-D plots
    bool overlay_shown;       // the trace or calculation overlay is on screen
    double xmin, xmax, ymin, ymax;
    double tmin, tmax, tstep; // theta, t, or u of 3-D
    double vmin, vmax, vstep;
    double z_scale;
    double view_angle[2];
    bool grid, connect_dots;
    bool lock_x, lock_y;
    int cursor;
    int trace_function[PLOT_TYPES];  // slot; 2 x pair for parametric; 3 x surface for 3-D
};

extern PlotRecord g_plot;
extern PlotSlot g_plot_slots[PLOT_TYPES][PLOT_SLOTS];

// The only way to change the window: refused (false, nothing changed)
// unless every magnitude is at most 1e100 and both axes strictly increase.
bool set_plot_window(double xmin, double ymin, double xmax, double ymax);

// Defaults of the record; the parameter ranges follow the angle unit and the
// v range copies the t range.  Slots, locks and the coordinate system stay.
void reset_plot_defaults();
// A fresh record and empty slots (start of a run, tests).
void clear_plot_state();

// A parameter range as the setup dialog and programs store it: each end
// clamped to +-1e100, a non-finite or non-increasing pair keeps the old
// range, and a step outside [range/1000, range] becomes range/1000.
void apply_parameter_range(double* min, double* max, double* step,
                           double new_min, double new_max, double new_step);
// Makes a record read from a file or changed by a program safe to draw:
// a bad window or range goes back to its default, the step is repaired,
// enumerations are brought into their tables, counts to 0..100.
void validate_plot_record();

bool slot_defined(int type, int slot);
bool any_slot_defined(int type);
// Slots one curve or surface takes: 2 for a parametric pair, 3 for a 3-D
// surface, else 1.  Trace choices are stored as its first slot.
int slots_per_curve(int type);

enum class SendResult { Stored, Empty, Full, Complex };
// The input line into the first free slot of the current plot type.  The
// caller shows the message for Complex and adds Stored lines to the history.
SendResult send_to_plot(const TokenCode* tokens, int count);

// "Function" .. "3D Spherical", or nullptr outside the table.
const char* plot_type_name(int type, int coordinates);
// " (trace)" .. " (rotate)", or nullptr outside the table.
const char* plot_cursor_name(int cursor);
// The PLOT mode window title.  False (and "Undefined Plot Type" or
// "Undefined Cursor Type" in *problem) when a value is outside its table.
bool plot_title(char* out, std::size_t size, const char** problem);

// The memory variable a plot type varies (x, theta, t; u for 3-D).
int plot_variable(int type);
// One full turn in the current angle unit (2 pi, 360, 400).
double full_turn();
// Factor from the angle unit to radians (1, pi/180, pi/200).
double angle_to_radians();
// " (Rad)", " (Deg)" or " (Grad)": how labels of angles name the unit.
const char* angle_unit_suffix();
// The variable's name in labels: "x", theta, "t", "u".
std::string plot_variable_name(int type);

// Slot colours, 0x00BBGGRR.  A parametric pair draws in the colour of its X
// slot, a 3-D surface in that of its first slot.
std::uint32_t slot_colour(int slot);
const char* slot_box_name(int slot);   // "BLUE_BOX" ..

// Names of a slot: "f1(x)", "R1(<theta>)", "X1(t)", "Y2(t)" and for 3-D the
// component label: "X1", "Y1", "Z1" / "<theta>1", "R1", "Z1" /
// "<theta>1", "<phi>1", "R1".
std::string slot_name(int type, int coordinates, int slot);
// The row text of the functions list: "f1(x)=" + text, or "f1(x)=Undefined"
// for an empty text ("(u,v)=" for 3-D); `expression` is the slot's text.
std::string slot_row_text(int type, int coordinates, int slot, const std::string& expression);
// Entries of the trace function chooser: "f1(x)".., "X1(t), Y1(t)"..,
// "X1(u,v), Y1(u,v), Z1(u,v)"..  Returns the number of entries.
int trace_choice_count(int type);
std::string trace_choice_name(int type, int coordinates, int index);

// Settings 13..24 as expressions read them (connect dots .. z_scale).
double plot_setting_value(int number);
// Fills the expression core's plot-setting hook.
void install_plot_model_hooks();

}  // namespace qx

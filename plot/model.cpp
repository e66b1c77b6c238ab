#include "plot/model.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "engine/hooks.h"
#include "engine/memory.h"
#include "engine/settings.h"

namespace qx {

PlotRecord g_plot;
PlotSlot g_plot_slots[PLOT_TYPES][PLOT_SLOTS];

namespace {

constexpr TokenCode TOKEN_I = 120;

bool valid_window(double xmin, double ymin, double xmax, double ymax) {
    // The comparisons are false for NaN, so a NaN is refused too.
    const auto small = [](double v) { return std::fabs(v) <= PLOT_WINDOW_LIMIT; };
    return small(xmin) && small(xmax) && small(ymin) && small(ymax) && xmin < xmax &&
           ymin < ymax;
}

bool valid_ends(double min, double max) {
    return std::isfinite(min) && std::isfinite(max) && min < max && std::fabs(min) <= PLOT_WINDOW_LIMIT &&
           std::fabs(max) <= PLOT_WINDOW_LIMIT;
}

// A range with bad ends is left for the caller to replace (false); good
// ends with a bad step get a thousandth of the range.
bool repair_range(double min, double max, double* step) {
    if (!valid_ends(min, max)) return false;
    const double range = max - min;
    if (!(std::isfinite(*step) && *step >= range * 0.001 && *step <= range)) *step = range * 0.001;
    return true;
}

double clamp_limit(double v) {
    if (v > PLOT_WINDOW_LIMIT) return PLOT_WINDOW_LIMIT;
    if (v < -PLOT_WINDOW_LIMIT) return -PLOT_WINDOW_LIMIT;
    return v;
}

void default_parameter_ranges() {
    const int unit = g_settings.angle_unit;
    if (unit == ANGLE_RAD || unit == ANGLE_DEG || unit == ANGLE_GRAD) {
        g_plot.tmin = 0.0;
        g_plot.tmax = full_turn();
        g_plot.tstep = unit == ANGLE_RAD ? 0.006283185307179587 : unit == ANGLE_DEG ? 0.36 : 0.4;
    }
    g_plot.vmin = g_plot.tmin;
    g_plot.vmax = g_plot.tmax;
    g_plot.vstep = g_plot.tstep;
}

const char* const kTypeNames[] = {"Function", "Polar", "Parametric", "3D Cartesian",
                                   "3D Cylindrical", "3D Spherical"};
const char* const kCursorNames[] = {" (trace)", " (box zoom)", " (pan)", " (rotate)"};

// Component labels of the two surfaces, by coordinate system.
const char* const kComponents[3][3] = {
    {"X", "Y", "Z"}, {"\x97", "R", "Z"}, {"\x97", "\xa9", "R"}};

}  // namespace

bool set_plot_window(double xmin, double ymin, double xmax, double ymax) {
    if (!valid_window(xmin, ymin, xmax, ymax)) return false;
    g_plot.xmin = xmin;
    g_plot.xmax = xmax;
    g_plot.ymin = ymin;
    g_plot.ymax = ymax;
    return true;
}

void reset_plot_defaults() {
    g_plot.type = PLOT_FUNCTION;
    g_plot.overlay_shown = false;
    g_plot.xmin = -10.0;
    g_plot.xmax = 10.0;
    g_plot.ymin = -10.0;
    g_plot.ymax = 10.0;
    default_parameter_ranges();
    g_plot.z_scale = 1.0;
    g_plot.view_angle[0] = 0.0;
    g_plot.view_angle[1] = 0.0;
    g_plot.grid = true;
    g_plot.connect_dots = true;
    g_plot.cursor = CURSOR_TRACE;
    for (int& t : g_plot.trace_function) t = 0;
}

void clear_plot_state() {
    g_plot = PlotRecord{};
    std::memset(g_plot_slots, 0, sizeof g_plot_slots);
    // A range must exist even in an angle unit without a full turn.
    g_plot.tmin = 0.0;
    g_plot.tmax = 2.0 * PI_CONSTANT;
    g_plot.tstep = 0.006283185307179587;
    reset_plot_defaults();
}

void apply_parameter_range(double* min, double* max, double* step, double new_min, double new_max,
                           double new_step) {
    if (std::isfinite(new_min) && std::isfinite(new_max)) {
        new_min = clamp_limit(new_min);
        new_max = clamp_limit(new_max);
        if (new_min < new_max) {
            *min = new_min;
            *max = new_max;
        }
    }
    const double range = *max - *min;
    if (std::isfinite(new_step)) *step = new_step;
    if (!(*step >= range * 0.001) || *step > range) *step = range * 0.001;
}

void validate_plot_record() {
    if (!valid_window(g_plot.xmin, g_plot.ymin, g_plot.xmax, g_plot.ymax)) {
        g_plot.xmin = g_plot.ymin = -10.0;
        g_plot.xmax = g_plot.ymax = 10.0;
    }
    if (!repair_range(g_plot.tmin, g_plot.tmax, &g_plot.tstep)) {
        g_plot.tmin = 0.0;
        g_plot.tmax = full_turn();
        g_plot.tstep = g_plot.tmax * 0.001;
    }
    if (!repair_range(g_plot.vmin, g_plot.vmax, &g_plot.vstep)) {
        g_plot.vmin = g_plot.tmin;
        g_plot.vmax = g_plot.tmax;
        g_plot.vstep = g_plot.tstep;
    }
    if (!std::isfinite(g_plot.z_scale)) g_plot.z_scale = 1.0;
    for (double& a : g_plot.view_angle)
        if (!std::isfinite(a)) a = 0.0;
    if (g_plot.type < 0 || g_plot.type >= PLOT_TYPES) g_plot.type = PLOT_FUNCTION;
    if (g_plot.coordinates < 0 || g_plot.coordinates > COORD_SPHERICAL) g_plot.coordinates = COORD_CARTESIAN;
    if (g_plot.cursor < 0 || g_plot.cursor > CURSOR_ROTATE ||
        (g_plot.cursor == CURSOR_ROTATE && g_plot.type != PLOT_3D))
        g_plot.cursor = CURSOR_TRACE;
    for (int t = 0; t < PLOT_TYPES; ++t) {
        int& f = g_plot.trace_function[t];
        if (f < 0 || f >= PLOT_SLOTS || f % slots_per_curve(t) != 0) f = 0;
    }
    for (auto& type : g_plot_slots)
        for (PlotSlot& s : type)
            if (s.count < 0 || s.count > PLOT_SLOT_TOKENS) s.count = 0;
}

bool slot_defined(int type, int slot) {
    if (type < 0 || type >= PLOT_TYPES || slot < 0 || slot >= PLOT_SLOTS) return false;
    return g_plot_slots[type][slot].count > 0;
}

bool any_slot_defined(int type) {
    for (int k = 0; k < PLOT_SLOTS; ++k)
        if (slot_defined(type, k)) return true;
    return false;
}

int slots_per_curve(int type) {
    return type == PLOT_PARAMETRIC ? 2 : type == PLOT_3D ? 3 : 1;
}

SendResult send_to_plot(const TokenCode* tokens, int count) {
    if (count <= 0 || !tokens) return SendResult::Empty;
    const int type = g_plot.type >= 0 && g_plot.type < PLOT_TYPES ? g_plot.type : PLOT_FUNCTION;
    int free_slot = -1;
    for (int k = 0; k < PLOT_SLOTS && free_slot < 0; ++k)
        if (!slot_defined(type, k)) free_slot = k;
    if (free_slot < 0) return SendResult::Full;
    if (count > PLOT_SLOT_TOKENS) count = PLOT_SLOT_TOKENS;
    for (int k = 0; k < count; ++k)
        if (tokens[k] == TOKEN_I) return SendResult::Complex;
    PlotSlot& s = g_plot_slots[type][free_slot];
    std::memcpy(s.tokens, tokens, sizeof(TokenCode) * static_cast<std::size_t>(count));
    s.count = count;
    return SendResult::Stored;
}

const char* plot_type_name(int type, int coordinates) {
    if (type >= 0 && type < PLOT_3D) return kTypeNames[type];
    if (type == PLOT_3D && coordinates >= 0 && coordinates <= COORD_SPHERICAL) return kTypeNames[3 + coordinates];
    return nullptr;
}

const char* plot_cursor_name(int cursor) {
    return cursor >= 0 && cursor <= CURSOR_ROTATE ? kCursorNames[cursor] : nullptr;
}

bool plot_title(char* out, std::size_t size, const char** problem) {
    const char* type = plot_type_name(g_plot.type, g_plot.coordinates);
    const char* cursor = plot_cursor_name(g_plot.cursor);
    if (!type || !cursor) {
        if (problem) *problem = !type ? "Undefined Plot Type" : "Undefined Cursor Type";
        return false;
    }
    std::snprintf(out, size, "%s%s", type, cursor);
    return true;
}

int plot_variable(int type) {
    switch (type) {
        case PLOT_POLAR: return MEM_THETA;
        case PLOT_PARAMETRIC: return MEM_T;
        case PLOT_3D: return MEM_U;
        default: return MEM_X;
    }
}

double full_turn() {
    switch (g_settings.angle_unit) {
        case ANGLE_DEG: return 360.0;
        case ANGLE_GRAD: return 400.0;
        default: return 2.0 * PI_CONSTANT;
    }
}

const char* angle_unit_suffix() {
    switch (g_settings.angle_unit) {
        case ANGLE_DEG: return " (Deg)";
        case ANGLE_GRAD: return " (Grad)";
        default: return " (Rad)";
    }
}

std::string plot_variable_name(int type) {
    switch (type) {
        case PLOT_POLAR: return std::string(1, THETA_CHAR);
        case PLOT_PARAMETRIC: return "t";
        case PLOT_3D: return "u";
        default: return "x";
    }
}

double angle_to_radians() {
    switch (g_settings.angle_unit) {
        case ANGLE_DEG: return PI_CONSTANT / 180.0;
        case ANGLE_GRAD: return PI_CONSTANT / 200.0;
        default: return 1.0;
    }
}

std::uint32_t slot_colour(int slot) {
    static const std::uint32_t kColours[PLOT_SLOTS] = {0xFF0000, 0x0000FF, 0x00D200,
                                                       0xFF00FF, 0x48C0FF, 0xC0C813};
    return slot >= 0 && slot < PLOT_SLOTS ? kColours[slot] : 0;
}

const char* slot_box_name(int slot) {
    static const char* const kBoxes[PLOT_SLOTS] = {"BLUE_BOX",   "RED_BOX",    "GREEN_BOX",
                                                   "PURPLE_BOX", "ORANGE_BOX", "TEAL_BOX"};
    return slot >= 0 && slot < PLOT_SLOTS ? kBoxes[slot] : "BLUE_BOX";
}

std::string slot_name(int type, int coordinates, int slot) {
    if (slot < 0 || slot >= PLOT_SLOTS) return "";
    const std::string n = std::to_string(slot + 1);
    switch (type) {
        case PLOT_FUNCTION: return "f" + n + "(x)";
        case PLOT_POLAR: return "R" + n + "(\x97)";
        case PLOT_PARAMETRIC:
            return std::string(slot % 2 == 0 ? "X" : "Y") + std::to_string(slot / 2 + 1) + "(t)";
        case PLOT_3D: {
            const int c = coordinates >= 0 && coordinates <= COORD_SPHERICAL ? coordinates : 0;
            return std::string(kComponents[c][slot % 3]) + std::to_string(slot / 3 + 1);
        }
        default: return "";
    }
}

std::string slot_row_text(int type, int coordinates, int slot, const std::string& expression) {
    std::string label = slot_name(type, coordinates, slot);
    if (type == PLOT_3D) label += "(u,v)";
    label += "=";
    return label + (expression.empty() ? std::string("Undefined") : expression);
}

int trace_choice_count(int type) {
    switch (type) {
        case PLOT_PARAMETRIC: return 3;
        case PLOT_3D: return 2;
        default: return PLOT_SLOTS;
    }
}

std::string trace_choice_name(int type, int coordinates, int index) {
    if (index < 0 || index >= trace_choice_count(type)) return "";
    if (type == PLOT_PARAMETRIC)
        return slot_name(type, coordinates, 2 * index) + ", " + slot_name(type, coordinates, 2 * index + 1);
    if (type == PLOT_3D) {
        std::string out;
        for (int k = 0; k < 3; ++k) {
            if (k) out += ", ";
            out += slot_name(type, coordinates, 3 * index + k) + "(u,v)";
        }
        return out;
    }
    return slot_name(type, coordinates, index);
}

double plot_setting_value(int number) {
    switch (number) {
        case 13: return g_plot.connect_dots ? 1.0 : 0.0;
        case 14: return g_plot.grid ? 1.0 : 0.0;
        case 15: return g_plot.cursor;
        case 16: return g_plot.type;
        case 17: return g_plot.tmax;
        case 18: return g_plot.tmin;
        case 19: return g_plot.tstep;
        case 20: return g_plot.xmax;
        case 21: return g_plot.xmin;
        case 22: return g_plot.ymax;
        case 23: return g_plot.ymin;
        case 24: return g_plot.z_scale;
        default: return 0.0;
    }
}

void install_plot_model_hooks() { g_hooks.plot_setting = plot_setting_value; }

}  // namespace qx

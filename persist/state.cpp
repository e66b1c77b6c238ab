#include "persist/state.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <type_traits>

#include "engine/text_lines.h"
#include "matrix/store.h"

namespace qx {

// --- the panel part until the panel takes it over ---------------------------------------

namespace {

PanelState g_own_panel{};

void own_capture(PanelState& out) { out = g_own_panel; }
void own_apply(const PanelState& in) { g_own_panel = in; }

}  // namespace

StateHost g_state_host = {own_capture, own_apply};

void reset_state_host() {
    g_state_host = StateHost{own_capture, own_apply};
    g_own_panel = PanelState{};
}

namespace {

constexpr int STATE_OPTIONS = 53;
constexpr int STATE_SLOT_RECORDS = PLOT_TYPES * PLOT_SLOTS;   // E and C 0..23
constexpr int HISTORY_COUNT_BASE = 50;                         // C 50..69
constexpr int STATE_OBJECTS = NAMED_OBJECTS + 1;
constexpr std::size_t RESULT_CHARS = STATE_TEXT - 1;

// --- number text -----------------------------------------------------------------------

// Writes the number text of v into out (at least 48 bytes) and gives its length.
std::size_t format_number(double v, bool full, char* out) {
    if (v == 0.0 && !full) {
        std::memcpy(out, "0.0", 3);
        return 3;
    }
    char raw[40];
    const auto r = std::to_chars(raw, raw + sizeof raw, v, std::chars_format::scientific);
    const char* p = raw;
    const char* const end = r.ptr;
    if (!std::isfinite(v)) {
        // Written so that a reader refuses the record instead of guessing.
        std::memcpy(out, raw, static_cast<std::size_t>(end - raw));
        return static_cast<std::size_t>(end - raw);
    }
    char* o = out;
    if (*p == '-') *o++ = *p++;
    *o++ = *p++;   // the leading digit
    *o++ = '.';
    int decimals = 0;
    if (*p == '.') {
        for (++p; *p != 'e'; ++p, ++decimals) *o++ = *p;
    }
    const int wanted = full ? 13 : 1;
    for (; decimals < wanted; ++decimals) *o++ = '0';
    // The shortest form has no trailing zeros, so only the exponent is left.
    ++p;   // 'e'
    const char sign = *p++;
    int exponent = 0;
    for (; p < end; ++p) exponent = exponent * 10 + (*p - '0');
    if (exponent == 0 && !full) return static_cast<std::size_t>(o - out);
    *o++ = 'e';
    *o++ = sign;
    char digits[8];
    const auto e = std::to_chars(digits, digits + sizeof digits, exponent);
    for (std::ptrdiff_t pad = 3 - (e.ptr - digits); pad > 0; --pad) *o++ = '0';
    for (const char* d = digits; d < e.ptr; ++d) *o++ = *d;
    return static_cast<std::size_t>(o - out);
}

// --- the options -------------------------------------------------------------------------

enum OptionKind { OPT_INT, OPT_NUMBER, OPT_WRITTEN_ONLY };

struct OptionRule {
    OptionKind kind;
    int lo, hi, fallback;
};

// Accepted ranges and fallbacks of O 0..52 (numbers take any finite value).
constexpr OptionRule kOptions[STATE_OPTIONS] = {
    {OPT_INT, 0, STATS_MAX_POINTS, 0},      // 0 statistics points
    {OPT_INT, 0, STATE_LINE_TOKENS, 0},     // 1 input-line tokens
    {OPT_INT, 0, 1, 1},                     // 2 grid
    {OPT_INT, 0, 1, 1},                     // 3 connect dots
    {OPT_INT, 0, 3, 0},                     // 4 plot cursor tool
    {OPT_INT, 0, 3, 0},                     // 5 plot type
    {OPT_NUMBER, 0, 0, 0},                  // 6 xmin
    {OPT_NUMBER, 0, 0, 0},                  // 7 xmax
    {OPT_NUMBER, 0, 0, 0},                  // 8 ymax
    {OPT_NUMBER, 0, 0, 0},                  // 9 ymin
    {OPT_NUMBER, 0, 0, 0},                  // 10 tmax
    {OPT_NUMBER, 0, 0, 0},                  // 11 tmin
    {OPT_NUMBER, 0, 0, 0},                  // 12 tstep
    {OPT_INT, 0, 1, 0},                     // 13 x zoom lock
    {OPT_INT, 0, 1, 0},                     // 14 y zoom lock
    {OPT_INT, 0, 10, 4},                    // 15 precision
    {OPT_INT, 0, 3, 0},                     // 16 number format
    {OPT_INT, 0, 1, 0},                     // 17 decimal mark
    {OPT_INT, 0, 2, 0},                     // 18 angle unit
    {OPT_INT, 0, 7, MODE_COMP},             // 19 calculator mode
    {OPT_INT, 0, 2, BITS_16},               // 20 word size
    {OPT_INT, 0, 3, RADIX_DEC},             // 21 radix
    {OPT_INT, 0, 1, 0},                     // 22 statistics variables
    {OPT_INT, 0, 3, 0},                     // 23 regression
    {OPT_INT, 0, 1, 0},                     // 24 key click
    {OPT_INT, 0, STATE_HISTORY, 0},         // 25 history entries
    {OPT_INT, 0, STATE_LINE_TOKENS + 1, 0}, // 26 input-line cursor
    {OPT_INT, 0, 1, 0},                     // 27 cursor shown
    {OPT_INT, 0, 1, 0},                     // 28 fresh
    {OPT_INT, 0, 1, 0},                     // 29 no automatic answer
    {OPT_INT, 0, 5, 0},                     // 30 trace function, Function
    {OPT_INT, 0, 5, 0},                     // 31 trace function, Polar
    {OPT_INT, 0, 5, 0},                     // 32 trace function, Parametric
    {OPT_NUMBER, 0, 0, 0},                  // 33 result real part
    {OPT_INT, 0, 1, 1},                     // 34 result line empty
    {OPT_INT, 0, 1, 0},                     // 35 result shown
    {OPT_INT, 0, 5, 0},                     // 36 trace function, 3-D
    {OPT_NUMBER, 0, 0, 0},                  // 37 vmax
    {OPT_NUMBER, 0, 0, 0},                  // 38 vmin
    {OPT_NUMBER, 0, 0, 0},                  // 39 vstep
    {OPT_NUMBER, 0, 0, 0},                  // 40 first view angle
    {OPT_NUMBER, 0, 0, 0},                  // 41 second view angle
    {OPT_WRITTEN_ONLY, 0, 0, 0},            // 42 display colour
    {OPT_INT, 0, 2, 0},                     // 43 coordinate system
    {OPT_NUMBER, 0, 0, 0},                  // 44 z_scale
    {OPT_WRITTEN_ONLY, 0, 0, 0},            // 45 brightness
    {OPT_INT, 0, NAMED_OBJECTS, 0},         // 46 matrix selected
    {OPT_INT, 0, 7, MODE_STATS},            // 47 data mode
    {OPT_INT, 0, 2, 0},                     // 48 complex format
    {OPT_NUMBER, 0, 0, 0},                  // 49 result imaginary part
    {OPT_INT, 0, 1, 0},                     // 50 answer was a matrix
    {OPT_INT, 0, NAMED_OBJECTS, 0},         // 51 list selected
    {OPT_INT, 0, 1, 0},                     // 52 answer was a list
};

// Where option k lives in a state; exactly one pointer is set for the
// options that are read.  W is WorkingState or const WorkingState.
template <class W>
struct OptionField {
    template <class T>
    using Ptr = std::conditional_t<std::is_const_v<W>, const T*, T*>;
    Ptr<int> i = nullptr;
    Ptr<bool> b = nullptr;
    Ptr<double> d = nullptr;
};

template <class W>
OptionField<W> option_field(W& s, int k) {
    OptionField<W> f;
    auto& p = s.plot;
    auto& g = s.settings;
    auto& n = s.panel;
    switch (k) {
        case 0: f.i = &s.stat_count; break;
        case 1: f.i = &n.line_count; break;
        case 2: f.b = &p.grid; break;
        case 3: f.b = &p.connect_dots; break;
        case 4: f.i = &p.cursor; break;
        case 5: f.i = &p.type; break;
        case 6: f.d = &p.xmin; break;
        case 7: f.d = &p.xmax; break;
        case 8: f.d = &p.ymax; break;
        case 9: f.d = &p.ymin; break;
        case 10: f.d = &p.tmax; break;
        case 11: f.d = &p.tmin; break;
        case 12: f.d = &p.tstep; break;
        case 13: f.b = &p.lock_x; break;
        case 14: f.b = &p.lock_y; break;
        case 15: f.i = &g.decimal_digits; break;
        case 16: f.i = &g.number_format; break;
        case 17: f.i = &g.decimal_mark; break;
        case 18: f.i = &g.angle_unit; break;
        case 19: f.i = &g.calculator_mode; break;
        case 20: f.i = &g.base_bits; break;
        case 21: f.i = &g.base_mode; break;
        case 22: f.i = &g.stats_var; break;
        case 23: f.i = &g.stats_regress; break;
        case 24: f.i = &g.key_click; break;
        case 25: f.i = &n.history_count; break;
        case 26: f.i = &n.cursor; break;
        case 27: f.b = &n.cursor_shown; break;
        case 28: f.b = &n.fresh; break;
        case 29: f.b = &n.no_auto_answer; break;
        case 30: case 31: case 32: f.i = &p.trace_function[k - 30]; break;
        case 33: f.d = &n.result_re; break;
        case 34: f.b = &n.result_empty; break;
        case 35: f.b = &n.result_shown; break;
        case 36: f.i = &p.trace_function[3]; break;
        case 37: f.d = &p.vmax; break;
        case 38: f.d = &p.vmin; break;
        case 39: f.d = &p.vstep; break;
        case 40: f.d = &p.view_angle[0]; break;
        case 41: f.d = &p.view_angle[1]; break;
        case 43: f.i = &p.coordinates; break;
        case 44: f.d = &p.z_scale; break;
        case 45: f.i = &g.brightness; break;
        case 46: f.i = &n.matrix_selected; break;
        case 47: f.i = &g.dynamic_mode; break;
        case 48: f.i = &g.complex_format; break;
        case 49: f.d = &n.result_im; break;
        case 50: f.b = &n.answer_matrix; break;
        case 51: f.i = &n.list_selected; break;
        case 52: f.b = &n.answer_list; break;
        default: break;   // 42: the colour is an unsigned word, written apart
    }
    return f;
}

bool option_accepts(int k, long long v) {
    const OptionRule& r = kOptions[k];
    if (v < r.lo || v > r.hi) return false;
    // Only these modes can sit behind the fourth mode button.
    if (k == 47) return v == MODE_BASE_N || v == MODE_STATS || v == MODE_MATRIX || v == MODE_LIST;
    return true;
}

// --- writing -----------------------------------------------------------------------------

class Writer {
public:
    explicit Writer(std::string& out) : out_(out) {}
    Writer& text(const char* t) {
        out_.append(t);
        return *this;
    }
    Writer& chr(char c) {
        out_.push_back(c);
        return *this;
    }
    Writer& integer(long long v) {
        char buf[24];
        const auto r = std::to_chars(buf, buf + sizeof buf, v);
        out_.append(buf, static_cast<std::size_t>(r.ptr - buf));
        return *this;
    }
    Writer& number(double v, bool full = false) {
        char buf[48];
        out_.append(buf, format_number(v, full, buf));
        return *this;
    }
    Writer& tokens(const TokenCode* t, int count) {
        for (int k = 0; k < count; ++k) integer(t[k]).chr(',');
        return *this;
    }
    void end() { out_.append("\r\n"); }

private:
    std::string& out_;
};

void write_options(Writer& w, const WorkingState& s) {
    for (int k = 0; k < STATE_OPTIONS; ++k) {
        w.text("O: ").integer(k).chr(':');
        const OptionField<const WorkingState> f = option_field(s, k);
        if (f.i) w.integer(*f.i);
        else if (f.b) w.integer(*f.b ? 1 : 0);
        else if (f.d) w.number(*f.d);
        else w.integer(static_cast<std::int32_t>(s.settings.display_color));
        w.end();
    }
}

// --- reading -----------------------------------------------------------------------------

// One record's characters, consumed left to right.
struct Fields {
    const char* p;
    const char* end;

    bool at_end() const { return p == end; }

    // Plain decimal digits up to `stop` (which is consumed), at most max.
    bool index(int max, int& out, char stop = ':') {
        long long v = 0;
        const char* start = p;
        while (p < end && *p >= '0' && *p <= '9') {
            if (p - start >= 9) return false;
            v = v * 10 + (*p++ - '0');
        }
        if (p == start || v > max) return false;
        if (stop != '\0') {
            if (p == end || *p != stop) return false;
            ++p;
        }
        out = static_cast<int>(v);
        return true;
    }

    // A whole decimal number filling the rest of the record; values far
    // outside every table saturate rather than overflow.
    bool whole(long long& out) {
        bool negative = false;
        if (p < end && (*p == '-' || *p == '+')) negative = *p++ == '-';
        const char* start = p;
        long long v = 0;
        for (; p < end && *p >= '0' && *p <= '9'; ++p)
            if (v < 1000000000000LL) v = v * 10 + (*p - '0');
        if (p == start || p != end) return false;
        out = negative ? -v : v;
        return true;
    }

    // A finite number up to `stop` (consumed) or to the end of the record.
    bool number(double& out, char stop = '\0') {
        const char* field_end = end;
        if (stop != '\0') {
            field_end = static_cast<const char*>(std::memchr(p, stop, static_cast<std::size_t>(end - p)));
            if (!field_end) return false;
        }
        const std::size_t n = static_cast<std::size_t>(field_end - p);
        // strtod would skip white space; the grammar has none inside a field.
        if (n == 0 || n >= STATE_LINE_LIMIT || *p == ' ' || *p == '\t') return false;
        char buf[STATE_LINE_LIMIT];
        std::memcpy(buf, p, n);
        buf[n] = '\0';
        char* parsed = nullptr;
        const double v = std::strtod(buf, &parsed);
        if (parsed != buf + n || !std::isfinite(v)) return false;
        out = v;
        p = stop != '\0' ? field_end + 1 : field_end;
        return true;
    }

    // Comma-ended token codes to the end of the record, each a known token.
    bool tokens(TokenCode* out, int& count) {
        count = 0;
        while (p < end) {
            if (count == STATE_LINE_TOKENS) return false;
            long long v = 0;
            const char* start = p;
            while (p < end && *p >= '0' && *p <= '9') {
                if (p - start >= 10) return false;
                v = v * 10 + (*p++ - '0');
            }
            if (p == start || p == end || *p != ',' || v > INT32_MAX) return false;
            ++p;
            const TokenCode code = static_cast<TokenCode>(v);
            if (describe_token(code).token_class == TC_UNKNOWN) return false;
            out[count++] = code;
        }
        return true;
    }
};

bool read_tokens(Fields& f, TokenCode* target, int& tally) {
    TokenCode read[STATE_LINE_TOKENS];
    int count = 0;
    if (!f.tokens(read, count)) return false;
    std::memcpy(target, read, sizeof(TokenCode) * static_cast<std::size_t>(count));
    tally = count;
    return true;
}

bool read_option(WorkingState& s, Fields& f) {
    int k = 0;
    if (!f.index(STATE_OPTIONS - 1, k)) return false;
    const OptionRule& rule = kOptions[k];
    if (rule.kind == OPT_NUMBER) {
        double v = 0.0;
        if (!f.number(v)) return false;
        *option_field(s, k).d = v;
        return true;
    }
    long long v = 0;
    if (!f.whole(v)) return false;
    // The display is the start-up settings' business: a state file only
    // carries these along.
    if (rule.kind == OPT_WRITTEN_ONLY) return true;
    const int value = option_accepts(k, v) ? static_cast<int>(v) : rule.fallback;
    const OptionField<WorkingState> field = option_field(s, k);
    if (field.b) *field.b = value != 0;
    else *field.i = value;
    return true;
}


}  // namespace

// --- number text, capture, commit -------------------------------------------------------

std::string state_number_text(double v, bool full) {
    char buf[48];
    return std::string(buf, format_number(v, full, buf));
}

std::unique_ptr<WorkingState> capture_working_state() {
    auto s = std::make_unique<WorkingState>();
    std::memcpy(s->memory, g_memory, sizeof s->memory);
    const StatsData& d = stats_data();
    std::memcpy(s->stat_x, d.x, sizeof s->stat_x);
    std::memcpy(s->stat_y, d.y, sizeof s->stat_y);
    s->stat_count = d.count;
    s->plot = g_plot;
    std::memcpy(s->slots, g_plot_slots, sizeof s->slots);
    std::memcpy(s->matrices, g_matrices, sizeof s->matrices);
    std::memcpy(s->lists, g_lists, sizeof s->lists);
    s->settings = g_settings;
    if (g_state_host.capture_panel) g_state_host.capture_panel(s->panel);
    for (auto& type : s->read.slots)
        for (int& n : type) n = -1;
    for (int& n : s->read.history) n = -1;
    s->read.line = -1;
    return s;
}

void commit_working_state(const WorkingState& s) {
    std::memcpy(g_memory, s.memory, sizeof s.memory);

    const int old_kind = g_settings.stats_var;
    Settings& g = g_settings;
    const Settings& n = s.settings;
    g.decimal_digits = n.decimal_digits;
    g.number_format = n.number_format;
    g.decimal_mark = n.decimal_mark;
    g.angle_unit = n.angle_unit;
    g.calculator_mode = n.calculator_mode;
    g.base_bits = n.base_bits;
    g.base_mode = n.base_mode;
    g.stats_var = n.stats_var;
    g.stats_regress = n.stats_regress;
    g.key_click = n.key_click;
    g.dynamic_mode = n.dynamic_mode;
    g.complex_format = n.complex_format;

    // Reloading the same points would throw away a half-entered one (and
    // the cached quantities) for nothing, as every sample plot would.
    const StatsData& d = stats_data();
    const int count = std::clamp(s.stat_count, 0, STATS_MAX_POINTS);
    const std::size_t bytes = sizeof(double) * static_cast<std::size_t>(count);
    if (count != d.count || std::memcmp(d.x, s.stat_x, bytes) != 0 ||
        std::memcmp(d.y, s.stat_y, bytes) != 0)
        load_stat_data(s.stat_x, s.stat_y, count);
    if (old_kind != g.stats_var) stats_kind_changed();

    // After the angle unit: a range repaired here is a full turn of it.
    g_plot = s.plot;
    std::memcpy(g_plot_slots, s.slots, sizeof s.slots);
    validate_plot_record();

    std::memcpy(g_matrices, s.matrices, sizeof s.matrices);
    std::memcpy(g_lists, s.lists, sizeof s.lists);
    if (g_state_host.apply_panel) g_state_host.apply_panel(s.panel);
}

// --- writing -----------------------------------------------------------------------------

std::string write_state_text(const WorkingState& s) {
    std::string out;
    out.reserve(64 * 1024);
    Writer w(out);
    for (int i = 0; i < STATE_MEMORY; ++i) {
        if (s.memory[i].re != 0.0) w.text("R: ").integer(i).chr(':').number(s.memory[i].re).end();
        if (s.memory[i].im != 0.0) w.text("I: ").integer(i).chr(':').number(s.memory[i].im).end();
    }
    // Points past the count are not part of the data: a load drops them.
    const int points = std::clamp(s.stat_count, 0, STATS_MAX_POINTS);
    for (int i = 0; i < points; ++i) {
        if (s.stat_x[i] != 0.0) w.text("X: ").integer(i).chr(':').number(s.stat_x[i]).end();
        if (s.stat_y[i] != 0.0) w.text("Y: ").integer(i).chr(':').number(s.stat_y[i]).end();
    }
    for (int n = 0; n < STATE_SLOT_RECORDS; ++n) {
        const PlotSlot& slot = s.slots[n / PLOT_SLOTS][n % PLOT_SLOTS];
        const int count = state_token_count(slot.count);
        if (count > 0) w.text("E: ").integer(n).chr(':').tokens(slot.tokens, count).end();
    }
    const PanelState& panel = s.panel;
    if (state_token_count(panel.line_count) > 0)
        w.text("D: ").tokens(panel.line, state_token_count(panel.line_count)).end();
    if (panel.history_count > 0) {
        for (int i = 0; i < STATE_HISTORY; ++i) {
            const int count = state_token_count(panel.history_counts[i]);
            if (count > 0) w.text("K: ").integer(i).chr(':').tokens(panel.history[i], count).end();
        }
    }
    // A line break inside the text would end the record early.
    w.text("S: ");
    for (std::size_t k = 0; k < RESULT_CHARS && panel.result_text[k] != '\0'; ++k)
        if (panel.result_text[k] != '\r' && panel.result_text[k] != '\n') w.chr(panel.result_text[k]);
    w.end();
    for (int n = 0; n < STATE_SLOT_RECORDS; ++n)
        w.text("C: ").integer(n).chr(':').integer(state_token_count(s.slots[n / PLOT_SLOTS][n % PLOT_SLOTS].count)).end();
    for (int i = 0; i < STATE_HISTORY; ++i)
        w.text("C: ").integer(HISTORY_COUNT_BASE + i).chr(':').integer(state_token_count(panel.history_counts[i])).end();
    for (int m = 0; m < STATE_OBJECTS; ++m) {
        const Matrix& a = s.matrices[m];
        if (!a.defined) continue;
        const int rows = std::min(a.last_row, MATRIX_MAX - 1);
        const int columns = std::min(a.last_column, MATRIX_MAX - 1);
        for (int r = 0; r <= rows; ++r)
            for (int c = 0; c <= columns; ++c)
                w.text("M: ").integer(m).chr(':').integer(r).chr(':').integer(c).chr(':')
                    .number(a.e[r][c], true).end();
    }
    for (int l = 0; l < STATE_OBJECTS; ++l) {
        const ListValue& list = s.lists[l];
        if (!list.defined) continue;
        const int last = std::min(list.last, LIST_MAX - 1);
        for (int k = 0; k <= last; ++k)
            w.text("L: ").integer(l).chr(':').integer(k).chr(':').number(list.re[k], true).chr(',')
                .number(list.im[k], true).chr(',').end();
    }
    write_options(w, s);
    return out;
}

std::string save_state_text() { return write_state_text(*capture_working_state()); }

// --- reading -----------------------------------------------------------------------------

bool apply_state_line(WorkingState& s, const char* line, std::size_t length) {
    if (!line || length < 3 || line[1] != ':' || line[2] != ' ') return false;
    Fields f{line + 3, line + length};
    int i = 0;
    double v = 0.0;
    switch (line[0]) {
        case 'R':
        case 'I':
            if (!f.index(STATE_MEMORY - 1, i) || !f.number(v)) return false;
            (line[0] == 'R' ? s.memory[i].re : s.memory[i].im) = v;
            return true;
        case 'X':
        case 'Y':
            if (!f.index(STATS_MAX_POINTS - 1, i) || !f.number(v)) return false;
            (line[0] == 'X' ? s.stat_x[i] : s.stat_y[i]) = v;
            return true;
        case 'E': {
            if (!f.index(STATE_SLOT_RECORDS - 1, i)) return false;
            const int type = i / PLOT_SLOTS, slot = i % PLOT_SLOTS;
            return read_tokens(f, s.slots[type][slot].tokens, s.read.slots[type][slot]);
        }
        case 'D':
            return read_tokens(f, s.panel.line, s.read.line);
        case 'K':
            if (!f.index(STATE_HISTORY - 1, i)) return false;
            return read_tokens(f, s.panel.history[i], s.read.history[i]);
        case 'S': {
            std::size_t n = 0;
            for (const char* p = f.p; p < f.end && *p != '\0' && n < RESULT_CHARS; ++p)
                if (*p != '\r' && *p != '\n') s.panel.result_text[n++] = *p;
            s.panel.result_text[n] = '\0';
            return true;
        }
        case 'C': {
            long long count = 0;
            if (!f.index(HISTORY_COUNT_BASE + STATE_HISTORY - 1, i) || !f.whole(count) || count < 0 ||
                count > STATE_LINE_TOKENS)
                return false;
            if (i < STATE_SLOT_RECORDS) s.slots[i / PLOT_SLOTS][i % PLOT_SLOTS].count = static_cast<int>(count);
            else if (i >= HISTORY_COUNT_BASE) s.panel.history_counts[i - HISTORY_COUNT_BASE] = static_cast<int>(count);
            else return false;
            return true;
        }
        case 'M': {
            int r = 0, c = 0;
            if (!f.index(STATE_OBJECTS - 1, i) || !f.index(MATRIX_MAX - 1, r) ||
                !f.index(MATRIX_MAX - 1, c) || !f.number(v))
                return false;
            // Saved row by row, so the bottom-right element comes last and
            // leaves the matrix its size.
            Matrix& m = s.matrices[i];
            m.defined = true;
            m.last_row = r;
            m.last_column = c;
            m.e[r][c] = v;
            return true;
        }
        case 'L': {
            int k = 0;
            double im = 0.0;
            if (!f.index(STATE_OBJECTS - 1, i) || !f.index(LIST_MAX - 1, k) || !f.number(v, ',') ||
                (!f.at_end() && !f.number(im, ',')) || !f.at_end())
                return false;
            ListValue& l = s.lists[i];
            l.defined = true;
            l.last = k;
            l.re[k] = v;
            l.im[k] = im;
            return true;
        }
        case 'O':
            return read_option(s, f);
        default:
            return false;
    }
}

void finish_staged_state(WorkingState& s) {
    // Expressions this load did not write keep the tokens they have live.
    PanelState live{};
    if (g_state_host.capture_panel) g_state_host.capture_panel(live);
    for (int t = 0; t < PLOT_TYPES; ++t) {
        for (int k = 0; k < PLOT_SLOTS; ++k) {
            const int read = s.read.slots[t][k];
            const int behind = read >= 0 ? read : state_token_count(g_plot_slots[t][k].count);
            s.slots[t][k].count = std::clamp(s.slots[t][k].count, 0, behind);
        }
    }
    PanelState& p = s.panel;
    for (int i = 0; i < STATE_HISTORY; ++i) {
        const int read = s.read.history[i];
        const int behind = read >= 0 ? read : state_token_count(live.history_counts[i]);
        p.history_counts[i] = std::clamp(p.history_counts[i], 0, behind);
    }
    const int line_behind = s.read.line >= 0 ? s.read.line : state_token_count(live.line_count);
    p.line_count = std::clamp(p.line_count, 0, line_behind);
    p.cursor = std::clamp(p.cursor, 0, p.line_count);
    p.history_count = std::clamp(p.history_count, 0, STATE_HISTORY);
    p.result_text[RESULT_CHARS] = '\0';
    p.matrix_selected = std::clamp(p.matrix_selected, 0, NAMED_OBJECTS);
    p.list_selected = std::clamp(p.list_selected, 0, NAMED_OBJECTS);
    s.stat_count = std::clamp(s.stat_count, 0, STATS_MAX_POINTS);
}

LoadReport load_state_text(const std::string& text) {
    LoadReport report{false, 0, 0, 0, {}};
    if (text.empty()) {
        report.problem = "The file is empty.";
        return report;
    }
    if (text.size() > STATE_FILE_LIMIT) {
        report.problem = "The file is too large for a state file.";
        return report;
    }
    std::unique_ptr<WorkingState> s = capture_working_state();
    for (MemorySlot& m : s->memory) m = MemorySlot{0.0, 0.0};
    std::memset(s->stat_x, 0, sizeof s->stat_x);
    std::memset(s->stat_y, 0, sizeof s->stat_y);

    LineReader lines{text.data(), text.data() + text.size()};
    const char* line = nullptr;
    std::size_t length = 0;
    for (int number = 1; lines.next(line, length); ++number) {
        if (length == 0) break;
        if (length >= STATE_LINE_LIMIT) {
            report.problem = "Line " + std::to_string(number) + " is too long for a state file.";
            report.applied = 0;
            return report;
        }
        if (apply_state_line(*s, line, length)) {
            ++report.applied;
        } else {
            if (report.ignored++ == 0) report.first_ignored_line = number;
        }
    }
    if (report.applied == 0) {
        report.problem = "The file holds no state record the calculator can use.";
        return report;
    }
    finish_staged_state(*s);
    commit_working_state(*s);
    report.accepted = true;
    return report;
}

}  // namespace qx

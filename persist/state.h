// The working state as text: memory, statistics data, plot functions and
// settings, matrices, lists, the input line, the history, the result line
// and the calculator settings, one record per line.  The same records
// describe the built-in sample plots.
//
// A load never touches the live state until the whole text has been read:
// the records are applied to a staged copy, which replaces the live state
// only when the text held at least one record that was understood.
//
// No file access here: the front panel reads and writes the bytes (with
// the atomic replace) and hands the text in and out.
#pragma once
#include <algorithm>
#include <memory>
#include <string>

#include "engine/memory.h"
#include "engine/settings.h"
#include "engine/tokens.h"
#include "matrix/types.h"
#include "plot/model.h"
#include "stats/stats.h"

namespace qx {

constexpr int STATE_MEMORY = 90;           // memory variables R0 .. the Greek letters
constexpr int STATE_LINE_TOKENS = 100;
// A token count as a line of the state can hold it.
inline int state_token_count(int count) { return std::clamp(count, 0, STATE_LINE_TOKENS); }
constexpr int STATE_HISTORY = 20;
constexpr int STATE_TEXT = 120;            // the result-line text with its end
constexpr std::size_t STATE_LINE_LIMIT = 1009;      // a longer line is refused
constexpr std::size_t STATE_FILE_LIMIT = 4u << 20;  // bytes a state file may hold

// What the front panel owns: the input line, the history, the result line
// and the editors' selections.
struct PanelState {
    TokenCode line[STATE_LINE_TOKENS];
    int line_count;
    int cursor;                 // 0..line_count
    bool cursor_shown;
    bool fresh;
    bool no_auto_answer;
    TokenCode history[STATE_HISTORY][STATE_LINE_TOKENS];
    int history_counts[STATE_HISTORY];
    int history_count;          // entries in use, 0..20
    char result_text[STATE_TEXT];
    bool result_empty;
    bool result_shown;          // the text is the formatted answer
    double result_re, result_im;
    bool answer_matrix, answer_list;
    int matrix_selected;        // 0..10
    int list_selected;          // 0..10
};

// How the front panel's part is read and put back.  Until the panel fills
// these, they keep an empty PanelState of their own (tests, command line).
struct StateHost {
    void (*capture_panel)(PanelState& out);
    void (*apply_panel)(const PanelState& in);
};
extern StateHost g_state_host;
void reset_state_host();

// Tokens the E, K and D records of one load gave each expression (-1: no
// record), so that a count record can never reach past what was read.
struct TokenTally {
    int slots[PLOT_TYPES][PLOT_SLOTS];
    int history[STATE_HISTORY];
    int line;
};

// Everything a state file holds.  About 900 KB: allocate it.
struct WorkingState {
    MemorySlot memory[STATE_MEMORY];
    double stat_x[STATS_MAX_POINTS];
    double stat_y[STATS_MAX_POINTS];
    int stat_count;
    PlotRecord plot;
    PlotSlot slots[PLOT_TYPES][PLOT_SLOTS];
    Matrix matrices[NAMED_OBJECTS + 1];
    ListValue lists[NAMED_OBJECTS + 1];
    Settings settings;
    PanelState panel;
    TokenTally read;   // filled by the loader, all -1 after a capture
};

// The live state into a copy, and a copy back into the live state (the
// plot record is validated on the way in).
std::unique_ptr<WorkingState> capture_working_state();
void commit_working_state(const WorkingState& s);

// The records of a state, in file order, CR LF after each line.
std::string write_state_text(const WorkingState& s);
// The live state as the text "Save State" writes.
std::string save_state_text();

// Number text of a value: 0.0; otherwise the shortest digits that read
// back to the same double, as d.ddd with at least one decimal, "e", a sign
// and three exponent digits, with "e+000" left off (1.5, 1.0e+002,
// -2.5e-001).  `full` keeps at least 13 decimals and the exponent (the
// matrix and list records).
std::string state_number_text(double v, bool full);

struct LoadReport {
    bool accepted;          // the staged state replaced the live one
    int applied;            // records understood and applied
    int ignored;            // non-empty lines that were refused one by one
    int first_ignored_line; // 1-based, 0 when none
    std::string problem;    // why a refused text was refused
};

// Applies one record to a staged state: false when the line was refused
// (unknown letter, bad index, value outside its table, non-finite number,
// token without a class).  Lines under 3 characters are refused too.
bool apply_state_line(WorkingState& s, const char* line, std::size_t length);
// Before a staged state is committed: every count is cut to the tokens
// behind it (those read by this load, or the ones already there), the
// cursor to the line, the history count to its entries, and the plot
// record is validated.
void finish_staged_state(WorkingState& s);

// Reads a whole state text into a copy of the live state and commits it
// when every line could be read (none longer than the limit) and at least
// one record was applied.  Memory variables and statistics points start
// from zero in the copy, everything else from the live values.  Lines end
// at CR LF, LF or CR; an empty line ends the records.
LoadReport load_state_text(const std::string& text);

// The built-in sample plots, in chooser order.
constexpr int SAMPLE_PLOT_COUNT = 6;
const char* sample_plot_name(int index);   // "Function" .. "3D Spherical"
// The text of every section ("N: name" lines followed by records).
const char* sample_plot_text();
// Applies the named section to the live state (through a staged copy):
// false, nothing changed, for an unknown name.  The caller enters PLOT mode.
bool load_sample_plot(const char* name);

}  // namespace qx

// PROG mode on the face: the listing of the program being edited with its
// selection cursor, the statement keys with the pickers that fill a new
// statement's operands, and inserting and deleting statements.
#include "panel/program_editor.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "engine/settings.h"
#include "panel/dialog_layout.h"
#include "panel/face.h"
#include "panel/images.h"
#include "panel/input_line.h"
#include "panel/key_decoder.h"
#include "panel/legend_names.h"
#include "panel/ui.h"
#include "platform/widgets.h"
#include "panel/program_ui.h"
#include "programs/instructions.h"
#include "programs/listing.h"
#include "programs/program.h"

namespace qx {

namespace {

using namespace dialog_layout;
using program_ui::Check;
using program_ui::add_checks;
using program_ui::checks_height;
using program_ui::choose;
using program_ui::kNoCustomPrograms;
using program_ui::read_checks;

// --- display geometry --------------------------------------------------------------
// Eight rows of 18 pixels in the display area (y 36..186); the legends are
// 16 pixels high and sit one pixel below the top of their row.  Text runs
// from x 20 with 202 pixels of room, so the selection mark fits at the left
// and the scroll marks at the right.
constexpr int kAreaLeft = 7, kAreaTop = 36, kAreaRight = 233, kAreaBottom = 186;
constexpr int kFirstRowTop = 39;
constexpr int kRowPitch = 18;
constexpr int kTextX = 20;
constexpr int kTextRoom = 202;
constexpr int kMarkX = 9;
constexpr int kScrollX = 225;
constexpr int kTapLeft = 6, kTapRight = 232;

int row_top(int row) { return kFirstRowTop + row * kRowPitch; }

struct ListedRow {
    int top, bottom;
    int statement;   // the program's count for the insertion row
};
ListedRow g_rows[LISTING_ROWS];
int g_row_count = 0;

// --- the pickers' last choices -------------------------------------------------------
// Kept by meaning rather than by statement field, since operand 0 holds a
// variable, a variable-or-Ans, a digit count or a setting depending on the
// instruction.
struct Choices {
    int condition;
    int left;             // 0 Ans, k + 1 variable k
    int right;            // 0 the number 0, 1 Ans, k + 2 variable k
    int variable;         // 0..89
    int value;            // 0 Ans, k + 1 variable k
    int label;
    int function;
    bool pause;
    int precision;
    int decimal_mark;
    int complex_format;
    char text[STATEMENT_TEXT_SIZE];
    int func_entry;       // the Func list entry chosen last
    int menu_entry;       // the Select Menu Function entry chosen last
};
Choices g_choice{};

void set_text(const char* text) {
    std::snprintf(g_choice.text, sizeof g_choice.text, "%s", text ? text : "");
}

// --- statement codes ----------------------------------------------------------------

constexpr int kFuncEntries = 44;   // codes 500..543

// The instruction a statement code inserts, or -1.
int code_instruction(int code) {
    switch (code) {
        case 6: return INS_IF;
        case 7: return INS_LOOP;
        case 8: return INS_WHILE;
        case 9: return INS_END;
        case 10: return INS_IN;
        case 11: return INS_OUT;
        case 12: return INS_LABEL;
        case 13: return INS_GOTO;
        case 14: return INS_CALL;
        case 15: return INS_IN_FUNCTION;
        case 16: return INS_EXPRESS;
        case 17: return INS_STOP;
        case 106: return INS_ELSE;
        case 109: return INS_BREAK;
        case 110: return INS_TEXT;
        case 111: return INS_FOUT;
        case 112: return INS_RETURN_SUB;
        case 113: return INS_GOSUB;
        case 114: return INS_RETURN_CALL;
        case 115: return INS_FUNCTION;
        case 117: return INS_MENU_CLEAR;
        case 217: return INS_MENU_TITLE;
        case 317: return INS_MENU_ITEM;
        case 417: return INS_MENU_DISPLAY;
        default: break;
    }
    if (code < 500 || code >= 500 + kFuncEntries) return -1;
    const int f = code - 500;
    if (f == 0) return INS_CLEAR_MEMORY;
    if (f == 1) return INS_CLEAR_INPUT;
    if (f == 2) return INS_CLEAR_STATS;
    if (f <= 9) return INS_ENTER_STATS + (f - 3);       // 19..25
    if (f <= 13) return INS_LINEAR + (f - 10);          // 55..58
    if (f <= 19) return INS_FORMAT_FLOAT + (f - 14);    // 44..49
    if (f <= 33) return INS_COMP_MODE + (f - 20);       // 26..39
    if (f == 34) return INS_SYSTEM_TICK;
    return INS_DESCRIPTION + (f - 35);                  // 59..67
}

bool uses_text(int instruction) {
    switch (instruction) {
        case INS_CALL: case INS_TEXT: case INS_IN_FUNCTION: case INS_MENU_ITEM: case INS_MENU_TITLE:
        case INS_IN: case INS_OUT:
            return true;
        default:
            return false;
    }
}

// A value outside its table becomes 0, so a statement built from a stale
// choice is still one the file reader accepts.
int within(int value, int count) { return value >= 0 && value < count ? value : 0; }

// --- laying out a statement -------------------------------------------------------------
// Every legend of statement `index` with its row (from 0) and its x within
// the text room.  An expression wraps between tokens onto rows that start
// with a blank; anything else is cut at the end of its row.  Returns the
// number of rows used.
template <class Put>
int lay_out(const Program& p, int index, Put&& put) {
    int row = 0, x = 0;
    auto put_char = [&](unsigned char c) {
        const char* name = char_legend(c);
        const int w = legend_width(name);
        if (x + w > kTextRoom) return false;
        put(name, row, x);
        x += w;
        return true;
    };
    char number[16];
    std::snprintf(number, sizeof number, "%d: ", index + 1);
    for (const char* c = number; *c; ++c) put_char(static_cast<unsigned char>(*c));

    const Statement& s = p.statements[index];
    if (s.instruction != INS_EXPRESS) {
        const std::string text = statement_listing_text(p, index);
        for (unsigned char c : text)
            if (!put_char(c)) break;
        return 1;
    }
    int count = 0;
    const TokenCode* tokens = statement_tokens(p, s, &count);
    const int indent = legend_width(char_legend(' '));
    bool row_has_token = false;
    const char* names[MAX_TOKEN_LEGENDS];
    for (int k = 0; k < count; ++k) {
        const int n = token_legends(tokens[k], g_settings.decimal_mark, names);
        int width = 0;
        for (int j = 0; j < n; ++j) width += legend_width(names[j]);
        if (x + width > kTextRoom && row_has_token) {
            ++row;
            x = indent;
        }
        // A token wider than a whole row shows what fits.
        for (int j = 0; j < n; ++j) {
            const int w = legend_width(names[j]);
            if (x + w > kTextRoom) break;
            put(names[j], row, x);
            x += w;
        }
        row_has_token = true;
    }
    return row + 1;
}

int statement_rows(const Program& p, int index) {
    if (index >= p.count) return 1;   // the insertion row
    return lay_out(p, index, [](const char*, int, int) {});
}

void clamp_cursor(Program& p) {
    if (p.count < 0) p.count = 0;
    if (p.count > MAX_STATEMENTS) p.count = MAX_STATEMENTS;
    if (p.cursor < 0) p.cursor = 0;
    if (p.cursor > p.count) p.cursor = p.count;
    if (p.top < 0) p.top = 0;
}

// The top line follows the cursor upward, and moves down one statement at
// a time until the cursor's statement (wrapped rows included) fits.
void follow_cursor(Program& p) {
    clamp_cursor(p);
    if (p.top > p.cursor) p.top = p.cursor;
    for (;;) {
        if (p.top >= p.cursor) break;
        int rows = 0;
        for (int k = p.top; k <= p.cursor && rows <= LISTING_ROWS; ++k) rows += statement_rows(p, k);
        if (rows <= LISTING_ROWS) break;
        ++p.top;
    }
}

void redraw_listing() {
    if (g_settings.calculator_mode != MODE_PROG) return;
    paint_program_listing(ui().screen);
    present_screen();
}

void draw_text(Surface& s, const char* text, int row) {
    int x = kTextX;
    for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c; ++c)
        x += draw_legend(s, char_legend(*c), x, row_top(row) + 1, false);
}

bool refuse_built_in() {
    if (!g_program.built_in) return false;
    show_box("A built-in program can't be edited", "Note", BoxButtons::OK, BoxIcon::Information);
    return true;
}

// --- pickers --------------------------------------------------------------------------------

struct VariableGroup {
    const char* name;
    int first;   // -1: Ans
    int count;
};

const VariableGroup kVariableGroups[] = {
    {"Ans", -1, 1},
    {"R0-R9", 0, 10},
    {"Upper Case", 10, 26},
    {"Lower Case", 36, 26},
    {"Greek", 62, 28},
};
constexpr int kVariableGroupCount = 5;

constexpr int IDC_VARIABLE_GROUP = 1201;
constexpr int IDC_VARIABLE_LIST = 1202;
constexpr int IDC_FIRST_CHECK = 1210;
constexpr int IDC_LEFT = 1221;
constexpr int IDC_CONDITION = 1222;
constexpr int IDC_RIGHT = 1223;
constexpr int IDC_PREVIEW = 1224;

void fill_variable_list(Dialog& d, int group, int row) {
    auto& list = d.get<ListBox>(IDC_VARIABLE_LIST);
    list.clear();
    const VariableGroup& g = kVariableGroups[group];
    for (int k = 0; k < g.count; ++k) list.add(g.first < 0 ? std::string("Ans") : program_variable_text(g.first + k));
    list.select(row >= 0 && row < g.count ? row : 0);
    list.set_top_index(list.selected());
}

// "Select Variable" for a statement: the groups of the memory variables,
// with a group for Ans where the statement can name it.  `current` and the
// result are in the statement's encoding (with Ans: 0 Ans, k + 1 variable
// k); -1 when cancelled.
int pick_variable(bool with_ans, int current, std::initializer_list<Check> checks = {}) {
    const int first_group = with_ans ? 0 : 1;
    const int groups = kVariableGroupCount - first_group;
    // Where to start: the group and row of the current value.
    int index = with_ans ? current - 1 : current;
    int group = -1, row = 0;
    if (with_ans && current == 0) group = 0;
    for (int g = 1; g < kVariableGroupCount && group < 0; ++g)
        if (index >= kVariableGroups[g].first && index < kVariableGroups[g].first + kVariableGroups[g].count) {
            group = g;
            row = index - kVariableGroups[g].first;
        }
    if (group < first_group) {
        group = 2;   // the letters are what programs use most
        row = 0;
    }

    constexpr int width = 200;
    const int inner = width - 2 * kMargin;
    const int lh = label_height();
    const int list_rows = 10;
    const int list_h = list_rows * LIST_ROW_HEIGHT + 4;
    const int group_y = kMargin + lh;
    const int list_label_y = group_y + EDIT_HEIGHT + kGap;
    const int list_y = list_label_y + lh;
    const int checks_y = list_y + list_h + kGap;
    const int buttons_y = checks_y + checks_height(checks) + 2;
    Dialog d("Select Variable", width, buttons_y + BUTTON_HEIGHT + kMargin);
    d.add_static(0, {kMargin, kMargin, inner, lh}, "Variable Group:");
    auto& combo = d.add_combo_box(IDC_VARIABLE_GROUP, {kMargin, group_y, inner, EDIT_HEIGHT}, "Variable Group");
    combo.set_max_drop_rows(groups);
    for (int g = first_group; g < kVariableGroupCount; ++g) combo.add(kVariableGroups[g].name);
    combo.select(group - first_group);
    d.add_static(0, {kMargin, list_label_y, inner, lh}, "Variable:");
    d.add_list_box(IDC_VARIABLE_LIST, {kMargin, list_y, inner, list_h}, "Variable");
    fill_variable_list(d, group, row);
    add_checks(d, IDC_FIRST_CHECK, checks_y, inner, checks);
    add_ok_cancel(d, width, buttons_y);
    d.on_notify([first_group](Dialog& dlg, int control, Notify what) {
        if (control == IDC_VARIABLE_GROUP && what == Notify::SelectionChanged)
            fill_variable_list(dlg, dlg.get<ComboBox>(IDC_VARIABLE_GROUP).selected() + first_group, 0);
        else if (control == IDC_VARIABLE_LIST && what == Notify::Activated)
            dlg.press(ID_OK);
    });
    d.set_focus(IDC_VARIABLE_LIST);

    if (run_dialog(d) != ID_OK) return -1;
    const int g = d.get<ComboBox>(IDC_VARIABLE_GROUP).selected() + first_group;
    const int r = d.get<ListBox>(IDC_VARIABLE_LIST).selected();
    if (g < first_group || g >= kVariableGroupCount || r < 0 || r >= kVariableGroups[g].count) return -1;
    read_checks(d, IDC_FIRST_CHECK, checks);
    if (kVariableGroups[g].first < 0) return 0;
    const int chosen = kVariableGroups[g].first + r;
    return with_ans ? chosen + 1 : chosen;
}

const char* const kConditionNames[CONDITION_COUNT] = {
    "= (equals)", "!= (not equal)", "< (less than)", "> (greater than)", ">= (greater or equal)",
    "<= (less or equal)",
};

void show_condition_preview(Dialog& d) {
    const int left = d.get<ComboBox>(IDC_LEFT).selected();
    const int condition = d.get<ComboBox>(IDC_CONDITION).selected();
    const int right = d.get<ComboBox>(IDC_RIGHT).selected();
    d.set_text(IDC_PREVIEW, std::string("(") + ans_or_variable_text(left) + " " + condition_symbol(condition) + " " +
                                right_operand_text(right) + ")");
}

// "Select Conditional": the left side (Ans or a variable), the comparison
// and the right side (ZERO, Ans or a variable).  False when cancelled.
bool pick_condition() {
    constexpr int width = 200;
    const int inner = width - 2 * kMargin;
    const int lh = label_height();
    const int step = lh + EDIT_HEIGHT + kGap;
    const int left_y = kMargin;
    const int condition_y = left_y + step;
    const int right_y = condition_y + step;
    const int preview_y = right_y + step;
    const int buttons_y = preview_y + lh + kGap + 2;
    Dialog d("Select Conditional", width, buttons_y + BUTTON_HEIGHT + kMargin);

    d.add_static(0, {kMargin, left_y, inner, lh}, "Left Variable:");
    auto& left = d.add_combo_box(IDC_LEFT, {kMargin, left_y + lh, inner, EDIT_HEIGHT}, "Left Variable");
    left.set_max_drop_rows(12);
    left.add("Ans");
    for (int k = 0; k < PROGRAM_VARIABLES; ++k) left.add(program_variable_text(k));
    left.select(within(g_choice.left, PROGRAM_VARIABLES + 1));

    d.add_static(0, {kMargin, condition_y, inner, lh}, "Condition:");
    auto& condition = d.add_combo_box(IDC_CONDITION, {kMargin, condition_y + lh, inner, EDIT_HEIGHT}, "Condition");
    condition.set_max_drop_rows(CONDITION_COUNT);
    for (const char* name : kConditionNames) condition.add(name);
    condition.select(within(g_choice.condition, CONDITION_COUNT));

    d.add_static(0, {kMargin, right_y, inner, lh}, "Right Variable:");
    auto& right = d.add_combo_box(IDC_RIGHT, {kMargin, right_y + lh, inner, EDIT_HEIGHT}, "Right Variable");
    right.set_max_drop_rows(12);
    right.add("ZERO");
    right.add("Ans");
    for (int k = 0; k < PROGRAM_VARIABLES; ++k) right.add(program_variable_text(k));
    right.select(within(g_choice.right, PROGRAM_VARIABLES + 2));

    d.add_static(IDC_PREVIEW, {kMargin, preview_y, inner, lh}, "", Align::Centre);
    show_condition_preview(d);
    add_ok_cancel(d, width, buttons_y);
    d.on_notify([](Dialog& dlg, int, Notify what) {
        if (what == Notify::SelectionChanged) show_condition_preview(dlg);
    });
    d.set_focus(IDC_LEFT);

    if (run_dialog(d) != ID_OK) return false;
    const int l = left.selected(), c = condition.selected(), r = right.selected();
    if (l < 0 || c < 0 || r < 0) return false;
    g_choice.left = l;
    g_choice.condition = c;
    g_choice.right = r;
    return true;
}

bool pick_label() {
    std::vector<std::string> names;
    for (int k = 0; k < LABEL_COUNT; ++k) names.push_back(label_text(k));
    const int label = choose("Select Label", "Label", names, within(g_choice.label, LABEL_COUNT));
    if (label < 0) return false;
    g_choice.label = label;
    return true;
}

bool pick_function(bool* custom_prompt) {
    std::vector<std::string> names;
    for (int k = 0; k < PROGRAM_FUNCTIONS; ++k) names.push_back(std::string("f") + std::to_string(k + 1) + "()");
    const int start = within(g_choice.function, PROGRAM_FUNCTIONS);
    const int f = custom_prompt ? choose("Select Function", "Function", names, start, {{"Custom Prompt?", custom_prompt}})
                                : choose("Select Function", "Function", names, start);
    if (f < 0) return false;
    g_choice.function = f;
    return true;
}

// "Select Program to Call": the custom programs.  The chosen name becomes
// the statement's text; Cancel leaves it empty.
bool pick_call_target() {
    std::vector<std::string> names = list_custom_programs();
    const bool any = !names.empty();
    if (!any) names.push_back(kNoCustomPrograms);
    int start = 0;
    for (int k = 0; k < static_cast<int>(names.size()); ++k)
        if (names[k] == g_choice.text) start = k;
    const int chosen = choose("Select Program to Call", "Program", names, start);
    set_text(chosen >= 0 && any ? names[chosen].c_str() : "");
    return g_choice.text[0] != '\0';
}

// The values a Func entry asks for before its statement goes in.
bool pick_function_operand(int f) {
    int v = -1;
    switch (f) {
        case 3:   // Enter Stats Data: Ans or a variable
            if ((v = pick_variable(true, g_choice.value)) < 0) return false;
            g_choice.value = v;
            return true;
        case 4: case 5: case 6: case 7:   // the statistics index statements
            if ((v = pick_variable(false, g_choice.variable)) < 0) return false;
            g_choice.variable = v;
            return true;
        case 18: {
            std::vector<std::string> digits;
            for (int k = 0; k <= MAX_PRECISION; ++k) digits.push_back(std::to_string(k));
            if ((v = choose("Select Precision", "Decimal Digits", digits, within(g_choice.precision, MAX_PRECISION + 1))) < 0)
                return false;
            g_choice.precision = v;
            return true;
        }
        case 19:
            if ((v = choose("Select Decimal Mark", "Decimal Mark", {"Dot(.)", "Comma(,)"}, within(g_choice.decimal_mark, 2))) < 0)
                return false;
            g_choice.decimal_mark = v;
            return true;
        case 43:
            if ((v = choose("Select Complex Format", "Complex Format", {"Real only", "a+bi (rectangular)", "polar"},
                            within(g_choice.complex_format, COMPLEX_FORMAT_COUNT))) < 0)
                return false;
            g_choice.complex_format = v;
            return true;
        default:
            return true;
    }
}

bool first_is_description() { return g_program.count > 0 && g_program.statements[0].instruction == INS_DESCRIPTION; }

int func_key() {
    std::vector<std::string> names;
    for (int f = 0; f < kFuncEntries; ++f) names.push_back(instruction_info(code_instruction(500 + f)).name);
    const int f = choose("Select Function", "Function", names, within(g_choice.func_entry, kFuncEntries));
    if (f < 0) return KEY_COMMAND;
    g_choice.func_entry = f;
    if (code_instruction(500 + f) == INS_DESCRIPTION) {
        if (g_program.cursor != 0) {
            show_box("A Program Description statement must appear on the first line of a program", "Error",
                     BoxButtons::OK, BoxIcon::Error);
            return KEY_COMMAND;
        }
        // A description already there only gets its new text.
        if (!program_ui::edit_description() || first_is_description()) return KEY_COMMAND;
        return 500 + f;
    }
    return pick_function_operand(f) ? 500 + f : KEY_COMMAND;
}

int menu_key() {
    const int entry = choose("Select Menu Function", "Menu Function",
                             {"Menu Clear", "Menu Title", "Menu Item", "Menu Display"}, within(g_choice.menu_entry, 4));
    if (entry < 0) return KEY_COMMAND;
    g_choice.menu_entry = entry;
    switch (entry) {
        case 0: return 117;
        case 1: start_alpha_entry(7); return KEY_COMMAND;
        case 2:
            if (pick_label()) start_alpha_entry(6);
            return KEY_COMMAND;
        default: return 417;
    }
}

}  // namespace

// --- the listing ---------------------------------------------------------------------------

void paint_program_listing(Surface& s) {
    fill_rectangle(s, static_cast<Colour>(g_settings.display_color & 0xFFFFFF), kAreaLeft, kAreaTop, kAreaRight,
                   kAreaBottom);
    Program& p = g_program;
    follow_cursor(p);
    g_row_count = 0;
    if (p.count == 0) {
        draw_text(s, "Empty Program", 0);
        draw_legend(s, "right_arrow", kMarkX, row_top(0) + 4, false);
        g_rows[g_row_count++] = ListedRow{row_top(0), row_top(0) + kRowPitch - 1, 0};
        return;
    }
    int row = 0;
    int next = p.top;
    bool cut = false;   // a wrapped statement runs past the last row
    for (; next <= p.count && row < LISTING_ROWS; ++next) {
        const bool selected = next == p.cursor;
        const int first = row;
        if (selected && next < p.count) {
            // One dark bar per row behind the inverted legends, so the
            // selection reads as a block rather than as separate letters.
            int ends[LISTING_ROWS] = {};
            lay_out(p, next, [&](const char* name, int r, int x) {
                if (first + r < LISTING_ROWS) ends[first + r] = x + legend_width(name);
            });
            for (int r = first; r < LISTING_ROWS; ++r)
                if (ends[r] > 0)
                    fill_rectangle(s, COLOUR_BLACK, kTextX - 2, row_top(r), kTextX + ends[r] + 1,
                                   row_top(r) + kRowPitch - 1);
        }
        const int rows = next == p.count ? 1 : lay_out(p, next, [&](const char* name, int r, int x) {
            if (first + r < LISTING_ROWS) draw_legend(s, name, kTextX + x, row_top(first + r) + 1, selected);
        });
        if (selected) draw_legend(s, "right_arrow", kMarkX, row_top(first) + 4, false);
        if (first + rows > LISTING_ROWS) cut = true;
        for (; row < first + rows && row < LISTING_ROWS; ++row)
            g_rows[g_row_count++] = ListedRow{row_top(row), row_top(row) + kRowPitch - 1, next};
    }
    if (p.top > 0) draw_legend(s, "up_arrow", kScrollX, row_top(0) + 5, false);
    if (cut || next < p.count) draw_legend(s, "down_arrow", kScrollX, row_top(LISTING_ROWS - 1) + 5, false);
}

bool program_listing_tap(int x, int y) {
    if (g_settings.calculator_mode != MODE_PROG) return false;
    if (x < kTapLeft || x > kTapRight) return false;
    for (int k = 0; k < g_row_count; ++k) {
        if (y < g_rows[k].top || y > g_rows[k].bottom) continue;
        if (g_rows[k].statement > g_program.count) return false;
        g_program.cursor = g_rows[k].statement;
        follow_cursor(g_program);
        redraw_listing();
        return true;
    }
    return false;
}

void move_program_cursor(int delta) {
    Program& p = g_program;
    clamp_cursor(p);
    if (delta > 0) {
        if (p.cursor >= p.count) return;
        p.cursor = p.cursor + delta > p.count ? p.count : p.cursor + delta;
    } else if (delta < 0) {
        if (p.cursor <= 0) return;
        p.cursor = p.cursor + delta < 0 ? 0 : p.cursor + delta;
    }
    follow_cursor(p);
    redraw_listing();
}

// --- editing ---------------------------------------------------------------------------

int program_face_statement_key(int key, bool blue) {
    switch (key) {
        case 2: move_program_cursor(blue ? -10 : -1); return KEY_COMMAND;
        case 3: move_program_cursor(blue ? 10 : 1); return KEY_COMMAND;
        case 16:
            if (!blue) break;
            copy_statement_to_line();
            return KEY_COMMAND;
        default: break;
    }
    if (key < 4 || key > 17) return KEY_NOTHING;
    if (refuse_built_in()) return KEY_COMMAND;
    switch (key) {
        case 4: delete_program_statement(); return KEY_COMMAND;
        case 5: return func_key();
        case 6:
            if (blue) return 106;
            return pick_condition() ? 6 : KEY_COMMAND;
        case 7: {
            const int v = pick_variable(false, g_choice.variable);
            if (v < 0) return KEY_COMMAND;
            g_choice.variable = v;
            return 7;
        }
        case 8: return pick_condition() ? 8 : KEY_COMMAND;
        case 9: return blue ? 109 : 9;
        case 10: {
            if (blue) {
                start_alpha_entry(4);
                return KEY_COMMAND;
            }
            bool prompt = false;
            const int v = pick_variable(false, g_choice.variable, {{"Custom Prompt?", &prompt}});
            if (v < 0) return KEY_COMMAND;
            g_choice.variable = v;
            if (prompt) {
                start_alpha_entry(2);
                return KEY_COMMAND;
            }
            set_text("");
            return 10;
        }
        case 11: {
            if (blue) {
                const int v = pick_variable(true, g_choice.value);
                if (v < 0) return KEY_COMMAND;
                g_choice.value = v;
                return 111;
            }
            bool pause = g_choice.pause, label = false;
            const int v = pick_variable(true, g_choice.value, {{"Pause?", &pause}, {"Text Label?", &label}});
            if (v < 0) return KEY_COMMAND;
            g_choice.value = v;
            g_choice.pause = pause;
            if (label) {
                start_alpha_entry(3);
                return KEY_COMMAND;
            }
            set_text("");
            return 11;
        }
        case 12:
            if (blue) return 112;
            return pick_label() ? 12 : KEY_COMMAND;
        case 13: return pick_label() ? (blue ? 113 : 13) : KEY_COMMAND;
        case 14:
            if (blue) return 114;
            return pick_call_target() ? 14 : KEY_COMMAND;
        case 15: {
            if (blue) return pick_function(nullptr) ? 115 : KEY_COMMAND;
            bool prompt = false;
            if (!pick_function(&prompt)) return KEY_COMMAND;
            if (prompt) {
                start_alpha_entry(5);
                return KEY_COMMAND;
            }
            set_text("");
            return 15;
        }
        case 16: return g_input.line.count >= 1 ? 16 : KEY_COMMAND;
        case 17: return blue ? menu_key() : 17;
        default: return KEY_NOTHING;
    }
}

void insert_program_statement(int code) {
    Program& p = g_program;
    clamp_cursor(p);
    if (refuse_built_in()) return;
    if (p.count >= MAX_STATEMENTS) {
        show_box("Reached program size limit", "Limit", BoxButtons::OK, BoxIcon::Warning);
        return;
    }
    if (p.cursor == 0 && first_is_description()) {
        show_box("Can't add statement here, the Program Description statement must appear on the first line of a "
                 "program",
                 "Error", BoxButtons::OK, BoxIcon::Error);
        return;
    }
    const int instruction = code_instruction(code);
    if (instruction < 0) return;

    Statement st = blank_statement(instruction);
    const InstructionInfo& info = instruction_info(instruction);
    switch (instruction) {
        case INS_IF:
        case INS_WHILE:
            st.condition = within(g_choice.condition, CONDITION_COUNT);
            st.operand0 = within(g_choice.left, PROGRAM_VARIABLES + 1);
            st.operand1 = within(g_choice.right, PROGRAM_VARIABLES + 2);
            break;
        case INS_OUT:
        case INS_FOUT:
        case INS_ENTER_STATS:
            st.operand0 = within(g_choice.value, PROGRAM_VARIABLES + 1);
            break;
        case INS_PRECISION: st.operand0 = within(g_choice.precision, MAX_PRECISION + 1); break;
        case INS_DECIMAL_MARK: st.operand0 = within(g_choice.decimal_mark, DECIMAL_MARK_COUNT); break;
        case INS_COMPLEX_FORMAT: st.operand0 = within(g_choice.complex_format, COMPLEX_FORMAT_COUNT); break;
        default:
            if (info.operand0) st.operand0 = within(g_choice.variable, PROGRAM_VARIABLES);
            break;
    }
    if (info.label) st.label = within(g_choice.label, LABEL_COUNT);
    if (info.extra == 1) st.pause = g_choice.pause ? 1 : 0;
    if (info.extra == 256) st.function = within(g_choice.function, PROGRAM_FUNCTIONS);
    if (uses_text(instruction)) std::snprintf(st.text, sizeof st.text, "%s", g_choice.text);
    if (instruction == INS_EXPRESS) {
        const int slot = allocate_expression_slot(p);
        if (slot <= 0) return;
        ExpressionSlot& e = p.slots[slot];
        int n = g_input.line.count;
        if (n > SLOT_TOKEN_LIMIT) n = SLOT_TOKEN_LIMIT;
        if (n < 0) n = 0;
        for (int k = 0; k < n; ++k) e.tokens[k] = g_input.line.tokens[k];
        e.count = n;
        st.expression = slot;
    }

    for (int k = p.count; k > p.cursor; --k) p.statements[k] = p.statements[k - 1];
    p.statements[p.cursor] = st;
    ++p.count;
    ++p.cursor;
    follow_cursor(p);
    redraw_listing();
}

void delete_program_statement() {
    Program& p = g_program;
    clamp_cursor(p);
    if (refuse_built_in()) return;
    if (p.count == 0) return;
    const int old_count = p.count;
    const int index = p.cursor < p.count ? p.cursor : p.count - 1;
    if (p.statements[index].expression > 0) free_expression_slot(p, p.statements[index].expression);
    for (int k = index; k + 1 < p.count; ++k) p.statements[k] = p.statements[k + 1];
    --p.count;
    if (p.cursor >= old_count - 1) p.cursor = old_count > 1 ? p.count - 1 : 0;
    follow_cursor(p);
    redraw_listing();
}

void program_text_statement(int kind, const char* text) {
    static const int kCodes[] = {10, 11, 110, 15, 317, 217};   // kinds 2..7
    if (kind < 2 || kind > 7) return;
    set_text(text);
    insert_program_statement(kCodes[kind - 2]);
}

void copy_statement_to_line() {
    const Program& p = g_program;
    if (p.cursor < 0 || p.cursor >= p.count) return;
    const Statement& s = p.statements[p.cursor];
    if (s.instruction != INS_EXPRESS) return;
    int count = 0;
    const TokenCode* tokens = statement_tokens(p, s, &count);
    if (tokens) set_line_tokens(tokens, count);
}

void reset_program_editor() {
    g_choice = Choices{};
    g_row_count = 0;
    program_ui::reset_dialog_choices();
}

}  // namespace qx

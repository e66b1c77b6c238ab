// The dialogs around programs: choosing, creating, copying and deleting a
// program, choosing one to run, the menu and the description a running
// program shows, the description editor, and the list chooser the
// statement pickers share.  Controls carry labels so scripts can answer
// them: "Source", "Program", "Action", "Description".
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "engine/settings.h"
#include "panel/dialog_layout.h"
#include "panel/face.h"
#include "panel/key_decoder.h"
#include "panel/program_editor.h"
#include "panel/ui.h"
#include "platform/font.h"
#include "platform/widgets.h"
#include "panel/program_ui.h"
#include "programs/instructions.h"
#include "programs/program.h"

namespace qx {

namespace {

using namespace dialog_layout;
using program_ui::kNoCustomPrograms;

constexpr int IDC_CHOICE = 1301;
constexpr int IDC_CHECK = 1310;
constexpr int IDC_SOURCE = 1321;
constexpr int IDC_PROGRAMS = 1322;
constexpr int IDC_ACTION = 1323;
constexpr int IDC_TEXT = 1331;
constexpr int IDC_PREVIEW = 1332;

enum Action { ACTION_EDIT = 0, ACTION_NEW = 1, ACTION_COPY = 2, ACTION_DELETE = 3 };

// The program Copy Program was chosen for, until the name is typed.
struct ChosenProgram {
    std::string name;
    bool built_in = false;
};
ChosenProgram g_copy_source;
// The program the run chooser gave last: another one starts with fresh
// input buffers.
ChosenProgram g_last_run;
bool g_any_run = false;

std::string trimmed_name(const char* name) {
    std::string n = name ? name : "";
    while (!n.empty() && n.back() == ' ') n.pop_back();
    return n;
}

void set_window_title(const char* title) {
    if (ui().window) ui().window->set_title(title);
}

// --- the program list with its source -----------------------------------------------

// Fills the list with the custom or the built-in programs and selects
// `want` when it is there.
void fill_programs(Dialog& d, bool built_in, const std::string& want) {
    auto& list = d.get<ListBox>(IDC_PROGRAMS);
    list.clear();
    const std::vector<std::string> names = built_in ? builtin_program_names() : list_custom_programs();
    for (const std::string& n : names) list.add(n);
    if (names.empty()) list.add(kNoCustomPrograms);
    const int row = list.find(want);
    list.select(row >= 0 ? row : 0);
    list.set_top_index(list.selected());
}

// The source drop-down and the program list at the top of a dialog.
int chooser_list_y() { return kMargin + 2 * label_height() + EDIT_HEIGHT + kGap; }
constexpr int kChooserListHeight = 10 * LIST_ROW_HEIGHT + 4;
// The y below them.
int chooser_bottom() { return chooser_list_y() + kChooserListHeight + kGap; }

void add_program_chooser(Dialog& d, int width) {
    const int inner = width - 2 * kMargin;
    const int lh = label_height();
    d.add_static(0, {kMargin, kMargin, inner, lh}, "Program Source:");
    auto& source = d.add_combo_box(IDC_SOURCE, {kMargin, kMargin + lh, inner, EDIT_HEIGHT}, "Source");
    source.add("Custom Program");
    source.add("Built-in Program");
    source.set_max_drop_rows(2);
    d.add_static(0, {kMargin, chooser_list_y() - lh, inner, lh}, "Program:");
    d.add_list_box(IDC_PROGRAMS, {kMargin, chooser_list_y(), inner, kChooserListHeight}, "Program");
}

struct ProgramChoice {
    std::string name;
    bool built_in;
    bool real;   // not the "(Found no Custom Programs)" row
};

ProgramChoice chosen_program(const Dialog& d) {
    ProgramChoice c;
    c.built_in = d.get<ComboBox>(IDC_SOURCE).selected() == 1;
    const auto& list = d.get<ListBox>(IDC_PROGRAMS);
    c.name = list.item_text(list.selected());
    c.real = list.selected() >= 0 && !(c.name == kNoCustomPrograms && !c.built_in);
    return c;
}

// Puts the current program first: its source and its row.
void start_at_current(Dialog& d) {
    const bool built_in = g_program.built_in != 0;
    d.get<ComboBox>(IDC_SOURCE).select(built_in ? 1 : 0);
    fill_programs(d, built_in, g_program.name);
}

void refill_on_source_change(Dialog& d) {
    const bool built_in = d.get<ComboBox>(IDC_SOURCE).selected() == 1;
    fill_programs(d, built_in, g_program.name);
}

// Loads a program and shows it in the editor.  One that was refused is
// never shown: PROG mode is left for COMP when it was active.
bool open_in_editor(const std::string& name, bool built_in) {
    const int count = load_program(name.c_str(), built_in);
    if (count < 0 || g_program.name[0] == '\0') {
        if (g_settings.calculator_mode == MODE_PROG) enter_mode(MODE_COMP);
        return false;
    }
    set_window_title(g_program.name);
    enter_mode(MODE_PROG);
    return true;
}

void delete_chosen(const ProgramChoice& c) {
    if (!delete_program(c.name.c_str(), c.built_in)) return;
    // The program in memory must not write the deleted file again.
    if (!g_program.built_in && c.name == g_program.name) {
        reset_program(g_program);
        g_program.name[0] = '\0';
    }
    if (g_settings.calculator_mode == MODE_PROG) enter_mode(MODE_COMP);
}

// The checks a new program's name passes: the refusals are the alpha
// entry's, repeated for callers that come another way.
bool usable_new_name(const std::string& name) {
    if (name.empty()) return false;
    // The file-name keyboard offers "/", which no file name can hold.
    if (!valid_program_name(name.c_str())) {
        show_box("A program name can't contain \"/\".", "Error", BoxButtons::OK, BoxIcon::Error);
        return false;
    }
    if (custom_program_exists(name.c_str())) {
        show_box("Program name in use", "Error", BoxButtons::OK, BoxIcon::Error);
        return false;
    }
    return true;
}

}  // namespace

// --- the shared list chooser ---------------------------------------------------------------

namespace program_ui {

int choose(const std::string& title, const std::string& label, const std::vector<std::string>& items, int start,
           std::initializer_list<Check> checks) {
    const int count = static_cast<int>(items.size());
    int widest = 0;
    for (const std::string& item : items) {
        const int w = text_width(FONT_DIALOG, item.c_str());
        if (w > widest) widest = w;
    }
    const int width = std::min(DIALOG_MAX_CLIENT_WIDTH, std::max(180, widest + 2 * kMargin + SCROLL_BAR_WIDTH + 12));
    const int inner = width - 2 * kMargin;
    const int lh = label_height();
    const int rows = std::max(4, std::min(count, 14));
    const int list_y = kMargin + lh;
    const int list_h = rows * LIST_ROW_HEIGHT + 4;
    const int checks_y = list_y + list_h + kGap;
    const int buttons_y = checks_y + checks_height(checks) + 2;

    Dialog d(title, width, buttons_y + BUTTON_HEIGHT + kMargin);
    d.add_static(0, {kMargin, kMargin, inner, lh}, label + ":");
    auto& list = d.add_list_box(IDC_CHOICE, {kMargin, list_y, inner, list_h}, label);
    for (const std::string& item : items) list.add(item);
    if (count > 0) {
        list.select(start >= 0 && start < count ? start : 0);
        list.set_top_index(list.selected());
    }
    add_checks(d, IDC_CHECK, checks_y, inner, checks);
    add_ok_cancel(d, width, buttons_y);
    d.on_notify([](Dialog& dlg, int control, Notify what) {
        if (control == IDC_CHOICE && what == Notify::Activated) dlg.press(ID_OK);
    });
    d.set_focus(IDC_CHOICE);

    if (run_dialog(d) != ID_OK) return -1;
    const int row = list.selected();
    if (row < 0 || row >= count) return -1;
    read_checks(d, IDC_CHECK, checks);
    return row;
}

int checks_height(std::initializer_list<Check> checks) {
    return static_cast<int>(checks.size()) * (EDIT_HEIGHT + 2);
}

void add_checks(Dialog& d, int first_id, int y, int width, std::initializer_list<Check> checks) {
    int id = first_id;
    for (const Check& c : checks) {
        d.add_check_box(id++, {kMargin, y, width, EDIT_HEIGHT}, c.text, *c.value);
        y += EDIT_HEIGHT + 2;
    }
}

void read_checks(const Dialog& d, int first_id, std::initializer_list<Check> checks) {
    int id = first_id;
    for (const Check& c : checks) *c.value = d.get<CheckBox>(id++).checked();
}

// The description as one line of text: a line break is written "~~",
// as the program file keeps it, and a single "~" stays a tilde.
// Multi-line boxes show '\n' breaks.
std::string for_box(const std::string& text) {
    std::string out;
    for (char c : text)
        if (c != '\r') out += c;
    return out;
}

constexpr int kDescriptionLimit = 1000;

// The box edits the description as the user sees it: line breaks typed
// with Enter, a tilde as a tilde; it is stored encoded again on OK.
bool edit_description() {
    constexpr int width = DIALOG_MAX_CLIENT_WIDTH;
    const int inner = width - 2 * kMargin;
    const int lh = label_height();
    const int box_h = 14 * font_height(FONT_DIALOG) + 6;
    const int buttons_y = kMargin + lh + box_h + kGap;

    Dialog d("Program Description", width, buttons_y + BUTTON_HEIGHT + kMargin);
    d.add_static(0, {kMargin, kMargin, inner, lh}, "Description:");
    Edit& box = d.add_edit(IDC_TEXT, {kMargin, kMargin + lh, inner, box_h},
                           for_box(decode_description(g_program.description)),
                           EditOptions{.multi_line = true, .max_length = kDescriptionLimit}, "Description");
    box.set_caret(0);
    add_ok_cancel(d, width, buttons_y);
    d.set_focus(IDC_TEXT);

    if (run_dialog(d) != ID_OK) return false;
    const std::string stored = encode_description(d.text(IDC_TEXT));
    std::snprintf(g_program.description, sizeof g_program.description, "%s", stored.c_str());
    return true;
}

void reset_dialog_choices() {
    g_copy_source = ChosenProgram{};
    g_last_run = ChosenProgram{};
    g_any_run = false;
}

}  // namespace program_ui

// --- the program manager --------------------------------------------------------------

void program_manager_dialog() {
    constexpr int width = 200;
    const int inner = width - 2 * kMargin;
    const int lh = label_height();
    const int action_y = chooser_bottom();
    const int buttons_y = action_y + lh + EDIT_HEIGHT + kGap + 2;

    Dialog dialog("Select Program", width, buttons_y + BUTTON_HEIGHT + kMargin);
    add_program_chooser(dialog, width);
    dialog.add_static(0, {kMargin, action_y, inner, lh}, "Action:");
    auto& actions = dialog.add_combo_box(IDC_ACTION, {kMargin, action_y + lh, inner, EDIT_HEIGHT}, "Action");
    for (const char* a : {"Edit Program", "New Program", "Copy Program", "Delete Program"}) actions.add(a);
    actions.set_max_drop_rows(4);
    add_ok_cancel(dialog, width, buttons_y);

    start_at_current(dialog);
    actions.select(list_custom_programs().empty() ? ACTION_NEW : ACTION_EDIT);
    dialog.on_notify([](Dialog& dlg, int control, Notify what) {
        if (control == IDC_SOURCE && what == Notify::SelectionChanged) refill_on_source_change(dlg);
    });
    dialog.set_focus(IDC_PROGRAMS);

    if (run_dialog(dialog) != ID_OK) return;
    const ProgramChoice c = chosen_program(dialog);
    const int act = actions.selected();
    if (act != ACTION_NEW && !c.real) return;
    switch (act) {
        case ACTION_EDIT: open_in_editor(c.name, c.built_in); break;
        case ACTION_NEW: start_alpha_entry(0); break;
        case ACTION_COPY:
            g_copy_source = ChosenProgram{c.name, c.built_in};
            start_alpha_entry(1);
            break;
        case ACTION_DELETE: delete_chosen(c); break;
        default: break;
    }
}

bool program_run_dialog() {
    constexpr int width = 200;
    const int buttons_y = chooser_bottom() + 2;
    Dialog d("Select Program to Run", width, buttons_y + BUTTON_HEIGHT + kMargin);
    add_program_chooser(d, width);
    add_ok_cancel(d, width, buttons_y);
    start_at_current(d);
    d.on_notify([](Dialog& dlg, int control, Notify what) {
        if (control == IDC_SOURCE && what == Notify::SelectionChanged) refill_on_source_change(dlg);
        else if (control == IDC_PROGRAMS && what == Notify::Activated) dlg.press(ID_OK);
    });
    d.set_focus(IDC_PROGRAMS);

    if (run_dialog(d) != ID_OK) return false;
    const ProgramChoice c = chosen_program(d);
    if (!c.real) return false;
    if (!g_any_run || c.name != g_last_run.name || c.built_in != g_last_run.built_in) clear_program_input_buffers();
    g_last_run = ChosenProgram{c.name, c.built_in};
    g_any_run = true;
    return load_program(c.name.c_str(), c.built_in) >= 1;
}

void program_create(const char* name) {
    const std::string n = trimmed_name(name);
    if (!usable_new_name(n)) return;
    reset_program(g_program);
    g_program.built_in = 0;
    std::snprintf(g_program.name, sizeof g_program.name, "%s", n.c_str());
    set_window_title(g_program.name);
    enter_mode(MODE_PROG);
}

void program_copy(const char* name) {
    const std::string n = trimmed_name(name);
    if (!usable_new_name(n)) return;
    ChosenProgram source = g_copy_source;
    if (source.name.empty()) source = ChosenProgram{g_program.name, g_program.built_in != 0};
    // Loaded aside, so a refused file leaves the current program alone.
    auto copy = std::make_unique<Program>();
    if (load_program_into(*copy, source.name.c_str(), source.built_in) < 0) return;
    copy->built_in = 0;
    std::snprintf(copy->name, sizeof copy->name, "%s", n.c_str());
    auto before = std::make_unique<Program>(g_program);
    g_program = *copy;
    if (!save_program()) {
        g_program = *before;
        return;
    }
    // Loaded again from its file: the copy is what the editor shows next.
    open_in_editor(n, false);
}

// --- what a running program shows ---------------------------------------------------------

int program_menu_dialog(const char* title, const MenuItem* items, int count) {
    std::vector<std::string> texts;
    for (int k = 0; k < count && k < MAX_MENU_ITEMS; ++k)
        texts.emplace_back(items[k].text, strnlen(items[k].text, sizeof items[k].text));
    const std::string t = title && title[0] ? title : "Menu";
    return program_ui::choose(t, "Menu Item", texts, 0);
}

void program_description_viewer(const char* stored) {
    constexpr int width = DIALOG_MAX_CLIENT_WIDTH;
    const int inner = width - 2 * kMargin;
    const int box_h = 14 * font_height(FONT_DIALOG) + 6;
    const int buttons_y = kMargin + box_h + kMargin;
    Dialog d("Program Description", width, buttons_y + BUTTON_HEIGHT + kMargin);
    d.add_edit(IDC_PREVIEW, {kMargin, kMargin, inner, box_h}, program_ui::for_box(decode_description(stored)),
               EditOptions{.read_only = true, .multi_line = true}, "Description");
    d.add_button(ID_OK, {(width - kButtonWidth) / 2, buttons_y, kButtonWidth, BUTTON_HEIGHT}, "OK", true);
    d.set_focus(ID_OK);
    run_dialog(d);
}

}  // namespace qx

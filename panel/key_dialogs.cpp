// The small choice dialogs keys open.  Each is laid out for the 240 x 320
// screen and names its controls so a script can answer it: the lists by the
// label above them ("Variable Group", "Variable", "Symbol", "Menu Item"),
// check boxes and buttons by their text.
#include "panel/key_dialogs.h"

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "engine/format.h"
#include "engine/memory.h"
#include "engine/settings.h"
#include "engine/tokens.h"
#include "panel/dialog_layout.h"
#include "panel/face.h"
#include "panel/ui.h"
#include "platform/font.h"
#include "platform/widgets.h"

namespace qx {

namespace {

using namespace dialog_layout;

// --- Select Variable ---------------------------------------------------------

struct VariableGroup {
    const char* name;
    int first;   // memory index of the first variable
    int count;
};

// The recall dialog has one group more than the store dialog: the answer
// matrix can be read but never assigned to.
const VariableGroup kGroups[] = {
    {"R0-R9", 0, 10},
    {"Upper Case", 10, 26},
    {"Lower Case", 36, 26},
    {"Greek", 62, 28},
    {"Matrix", MEM_MATRIX_FIRST, 10},
    {"[Matrix Ans]", TOK_M_ANS, 1},
};
constexpr int kStoreGroups = 5;
constexpr int kRecallGroups = 6;

constexpr int IDC_GROUP = 1001;
constexpr int IDC_VARIABLE = 1002;
constexpr int IDC_BY_VALUE = 1003;

// The value column helps to pick the right register.  Numbers are shown in
// decimal whatever the mode, and never as an error text: the line may hold
// an error while the dialog is open.
std::string value_text(int index) {
    if (index < 0 || index >= MEM_MATRIX_FIRST) return {};
    const double re = g_memory[index].re, im = g_memory[index].im;
    const int format = g_settings.number_format, digits = g_settings.decimal_digits;
    // A pure imaginary value shows no real part.
    std::string text;
    if (re != 0.0 || im == 0.0) text = format_real(re, format, digits, false);
    if (im != 0.0) {
        if (im < 0.0) text += '-';
        else if (re != 0.0) text += '+';
        if (std::fabs(im) != 1.0) text += format_real(std::fabs(im), format, digits, false);
        text += 'i';
    }
    return text;
}

void fill_variables(Dialog& d, int group, int row) {
    auto& list = d.get<ListView>(IDC_VARIABLE);
    list.clear();
    const VariableGroup& g = kGroups[group];
    for (int k = 0; k < g.count; ++k) {
        if (g.first == TOK_M_ANS) list.add_row({"M_Ans", ""});
        else list.add_row({variable_name(g.first + k), value_text(g.first + k)});
    }
    if (row < 0 || row >= g.count) row = 0;
    list.select(row);
    list.set_top_index(row);
}

// Where each dialog was left, so the next opening starts there.
struct VariablePlace {
    int group = 1;   // the letters are what is stored and recalled most
    int row = 0;
};
VariablePlace g_variable_place[2];   // [0] recall, [1] store

// --- Select Symbol -------------------------------------------------------------

struct SymbolName {
    char symbol;
    const char* name;
};

const SymbolName kSymbolNames[] = {
    {'(', "left parenthesis"}, {')', "right parenthesis"}, {'[', "left bracket"},
    {']', "right bracket"},    {'{', "left brace"},        {'}', "right brace"},
    {'<', "less than"},        {'>', "greater than"},      {'*', "asterisk"},
    {'=', "equals"},           {':', "colon"},             {';', "semicolon"},
    {',', "comma"},            {'.', "full stop"},         {'\'', "apostrophe"},
    {'"', "double quote"},     {'+', "plus"},              {'-', "minus"},
    {'!', "exclamation mark"}, {'#', "number sign"},       {'/', "slash"},
    {'\\', "backslash"},       {'_', "underscore"},        {'?', "question mark"},
    {'$', "dollar"},           {'&', "ampersand"},         {'~', "tilde"},
    {'^', "caret"},            {'%', "percent"},           {'@', "at sign"},
};

const char* symbol_name(char c) {
    for (const SymbolName& s : kSymbolNames)
        if (s.symbol == c) return s.name;
    return "";
}

// The symbols follow the digits, letters and blank of a character set.
constexpr int kFirstSymbolCode = 63;

constexpr int IDC_SYMBOL = 1011;

// --- Select Menu Item ------------------------------------------------------------

struct MenuItem {
    const char* title;
    const char* description;
};

const MenuItem kMenuItems[] = {
    {"COMP Mode", "Standard scientific computations."},
    {"STATS Mode", "Statistical calculations."},
    {"BASE-n Mode", "Binary, octal, decimal and hexadecimal calculations."},
    {"MATRIX Mode", "Linear algebra matrix computations."},
    {"PROG Mode", "Create and edit programs."},
    {"PLOT Mode", "Function, polar, parametric and 3D plotting."},
    {"TVM Solver", "Solve time value of money problems."},
    {"Constants", "Scientific constants."},
    {"Conversions", "Conversion from one unit to another."},
    {"Periodic Table", "View the periodic table of the elements."},
    {"Plot Samples",
     "Sample plots for each plot type (function, polar, parametric, 3D cartesian, "
     "3D cylindrical, 3D spherical)."},
    {"Stopwatch", "Time events."},
    {"View Help File", "View the help file."},
};
static_assert(sizeof kMenuItems / sizeof kMenuItems[0] == MENU_ITEM_COUNT);

constexpr int IDC_MENU_ITEM = 1021;
constexpr int IDC_MENU_DESCRIPTION = 1022;

int g_last_menu_item = 0;

// --- Select Variable (u, v) ----------------------------------------------------------

constexpr int IDC_U = 1031;
constexpr int IDC_V = 1032;

}  // namespace

const char* menu_item_title(int item) {
    return item >= 0 && item < MENU_ITEM_COUNT ? kMenuItems[item].title : "";
}

const char* menu_item_description(int item) {
    return item >= 0 && item < MENU_ITEM_COUNT ? kMenuItems[item].description : "";
}

VariableChoice select_variable(bool for_store) {
    const int groups = for_store ? kStoreGroups : kRecallGroups;
    VariablePlace& place = g_variable_place[for_store ? 1 : 0];
    if (place.group < 0 || place.group >= groups) place = VariablePlace{};

    constexpr int width = 200;
    const int lh = label_height();
    constexpr int list_rows = 10;
    // A list view: a header row, then the rows.
    const int list_h = (list_rows + 1) * LIST_ROW_HEIGHT + 4;
    int y = kMargin;
    const int group_y = y + lh;
    y = group_y + EDIT_HEIGHT + kGap;
    const int list_label_y = y;
    const int list_y = y + lh;
    y = list_y + list_h + kGap;
    const int check_y = y;
    if (!for_store) y += EDIT_HEIGHT + kGap;
    const int buttons_y = y + 2;
    const int height = buttons_y + BUTTON_HEIGHT + kMargin;

    Dialog d("Select Variable", width, height);
    const int inner = width - 2 * kMargin;
    d.add_static(0, {kMargin, kMargin, inner, lh}, "Variable Group:");
    auto& group = d.add_combo_box(IDC_GROUP, {kMargin, group_y, inner, EDIT_HEIGHT},
                                  "Variable Group");
    group.set_max_drop_rows(groups);
    for (int g = 0; g < groups; ++g) group.add(kGroups[g].name);
    group.select(place.group);
    d.add_static(0, {kMargin, list_label_y, inner, lh}, "Variable:");
    d.add_list_view(IDC_VARIABLE, {kMargin, list_y, inner, list_h},
                    {{"Name", 56, Align::Left}, {"Value", inner - 56 - SCROLL_BAR_WIDTH - 2, Align::Right}},
                    "Variable");
    fill_variables(d, place.group, place.row);
    if (!for_store) d.add_check_box(IDC_BY_VALUE, {kMargin, check_y, inner, EDIT_HEIGHT}, "By Value?");
    add_ok_cancel(d, width, buttons_y);

    d.on_notify([](Dialog& dlg, int id, Notify what) {
        if (id == IDC_GROUP && what == Notify::SelectionChanged)
            fill_variables(dlg, dlg.get<ComboBox>(IDC_GROUP).selected(), 0);
        else if (id == IDC_VARIABLE && what == Notify::Activated)
            dlg.press(ID_OK);
    });
    d.set_focus(IDC_VARIABLE);

    VariableChoice choice{-1, false};
    if (run_dialog(d) != ID_OK) return choice;
    const int g = d.get<ComboBox>(IDC_GROUP).selected();
    const int row = d.get<ListView>(IDC_VARIABLE).selected();
    if (g < 0 || g >= groups || row < 0 || row >= kGroups[g].count) return choice;
    place = VariablePlace{g, row};
    choice.index = kGroups[g].first == TOK_M_ANS ? TOK_M_ANS : kGroups[g].first + row;
    choice.by_value = !for_store && d.get<CheckBox>(IDC_BY_VALUE).checked();
    return choice;
}

int select_symbol(bool file_name_set) {
    // The same list the keyboard's character set holds, so the index chosen
    // here is the symbol's place in that set.
    const char* set = alpha_character_set(file_name_set ? 0 : 2);
    const char* symbols = set + kFirstSymbolCode;
    const int count = static_cast<int>(std::strlen(symbols));

    constexpr int width = 180;
    const int list_h = 15 * LIST_ROW_HEIGHT + 4;
    const int list_y = kMargin + label_height();
    const int buttons_y = list_y + list_h + kMargin;
    const int height = buttons_y + BUTTON_HEIGHT + kMargin;
    const int inner = width - 2 * kMargin;

    Dialog d("Select Symbol", width, height);
    d.add_static(0, {kMargin, kMargin, inner, label_height()}, "Symbol:");
    auto& list = d.add_list_view(IDC_SYMBOL, {kMargin, list_y, inner, list_h},
                                 {{"Symbol", 48, Align::Centre},
                                  {"Name", inner - 48 - SCROLL_BAR_WIDTH - 2, Align::Left}},
                                 "Symbol");
    for (int k = 0; k < count; ++k) list.add_row({std::string(1, symbols[k]), symbol_name(symbols[k])});
    list.select(0);
    add_ok_cancel(d, width, buttons_y);
    d.on_notify([](Dialog& dlg, int id, Notify what) {
        if (id == IDC_SYMBOL && what == Notify::Activated) dlg.press(ID_OK);
    });
    d.set_focus(IDC_SYMBOL);

    if (run_dialog(d) != ID_OK) return -1;
    const int row = d.get<ListView>(IDC_SYMBOL).selected();
    return row >= 0 && row < count ? row : -1;
}

int select_menu_item() {
    constexpr int width = 220;
    const int inner = width - 2 * kMargin;
    const int lh = label_height();
    // Every item visible at once: no scrolling to reach the last ones.
    const int list_h = list_height(MENU_ITEM_COUNT);
    const int list_y = kMargin;
    const int label_y = list_y + list_h + kGap;
    const int text_y = label_y + lh;
    const int text_h = 4 * font_height(FONT_DIALOG) + 6;
    const int buttons_y = text_y + text_h + kMargin;
    const int height = buttons_y + BUTTON_HEIGHT + kMargin;

    Dialog d("Select Menu Item", width, height);
    auto& list = d.add_list_box(IDC_MENU_ITEM, {kMargin, list_y, inner, list_h}, "Menu Item");
    for (const MenuItem& m : kMenuItems) list.add(m.title);
    d.add_static(0, {kMargin, label_y, inner, lh}, "Description:");
    d.add_edit(IDC_MENU_DESCRIPTION, {kMargin, text_y, inner, text_h}, {},
               EditOptions{.read_only = true, .multi_line = true}, "Description");
    add_ok_cancel(d, width, buttons_y);

    if (g_last_menu_item < 0 || g_last_menu_item >= MENU_ITEM_COUNT) g_last_menu_item = 0;
    list.select(g_last_menu_item);
    d.set_text(IDC_MENU_DESCRIPTION, kMenuItems[g_last_menu_item].description);
    d.on_notify([](Dialog& dlg, int id, Notify what) {
        if (id != IDC_MENU_ITEM) return;
        if (what == Notify::SelectionChanged) {
            const int row = dlg.get<ListBox>(IDC_MENU_ITEM).selected();
            dlg.set_text(IDC_MENU_DESCRIPTION, menu_item_description(row));
        } else if (what == Notify::Activated) {
            dlg.press(ID_OK);
        }
    });
    d.set_focus(IDC_MENU_ITEM);

    if (run_dialog(d) != ID_OK) return -1;
    const int row = d.get<ListBox>(IDC_MENU_ITEM).selected();
    if (row < 0 || row >= MENU_ITEM_COUNT) return -1;
    g_last_menu_item = row;
    return row;
}

int select_uv_variable() {
    constexpr int width = 200;
    const int inner = width - 2 * kMargin;
    const int text_h = 2 * font_height(FONT_DIALOG) + 4;
    const int buttons_y = kMargin + text_h + kMargin;
    const int height = buttons_y + BUTTON_HEIGHT + kMargin;
    constexpr int small_button = 40;

    Dialog d("Select Variable", width, height);
    d.add_static(0, {kMargin, kMargin, inner, text_h},
                 "Which variable of the 3D plot should be inserted?", Align::Left, true);
    d.add_button(IDC_U, {kMargin, buttons_y, small_button, BUTTON_HEIGHT}, "u", true);
    d.add_button(IDC_V, {kMargin + small_button + kMargin, buttons_y, small_button, BUTTON_HEIGHT},
                 "v");
    d.add_button(ID_CANCEL, {width - kMargin - kButtonWidth, buttons_y, kButtonWidth, BUTTON_HEIGHT},
                 "Cancel");
    d.set_auto_end(IDC_U, true);
    d.set_auto_end(IDC_V, true);

    switch (run_dialog(d)) {
        case IDC_U: return 0;
        case IDC_V: return 1;
        default: return -1;
    }
}

void plot_hint_note() {
    // 0x97 is theta in the display font's code page, which the dialogs share.
    show_box("While in COMP mode an expression can be entered for plotting. Use the <orange "
             "shift> 'x,t,\x97...' key to enter the dependent variable. Use the <blue shift> "
             "'Plot' key to enter the expression into the function list for plotting.",
             "Note", BoxButtons::OK, BoxIcon::Information);
}

}  // namespace qx

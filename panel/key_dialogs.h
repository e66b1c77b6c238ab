// The dialogs that keys open to choose something: a variable to recall or
// store into, a symbol for the alpha keyboard, an item of the menu, the
// variable of a three-dimensional plot, and the plotting hint.
#pragma once

namespace qx {

struct VariableChoice {
    int index;        // memory index 0..109, or 1299 for the answer matrix; -1 cancelled
    bool by_value;    // "By Value?" ticked (recall only)
};

// "Select Variable" for RCL (with "By Value?" and the "[Matrix Ans]" group)
// or for STO (without them).  Each of the two starts where it was last left.
VariableChoice select_variable(bool for_store);
// "Select Symbol": the symbol's place after the first 63 characters of the
// alpha keyboard's set, 0..29 (full set) or 0..24 (file-name set); -1
// cancelled.
int select_symbol(bool file_name_set);

// The MENU key's items, in the order the dialog lists them.
constexpr int MENU_ITEM_COUNT = 13;
const char* menu_item_title(int item);         // "" outside 0..12
const char* menu_item_description(int item);
// "Select Menu Item": 0..12, -1 cancelled.  The next opening starts at the
// item chosen last.
int select_menu_item();
// "Select Variable" with the buttons u and v: 0, 1, or -1.
int select_uv_variable();
// The hint shown before PLOT mode when no function is defined.
void plot_hint_note();

}  // namespace qx

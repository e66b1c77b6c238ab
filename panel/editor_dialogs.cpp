// The dialogs of the editor faces' Size and Vars keys.  Controls carry
// labels, so a script answers them by name: "Rows", "Columns", "Size" and
// "Variable".
#include <cstdio>
#include <string>

#include "engine/memory.h"
#include "engine/tokens.h"
#include "matrix/store.h"
#include "panel/dialog_layout.h"
#include "panel/editor.h"
#include "panel/ui.h"
#include "platform/font.h"
#include "platform/widgets.h"

namespace qx {

namespace {

using namespace dialog_layout;

constexpr int kFieldWidth = 44;
constexpr int kArrowsWidth = 14;

constexpr int IDC_FIRST_FIELD = 1101;
constexpr int IDC_FIRST_ARROWS = 1102;
constexpr int IDC_SECOND_FIELD = 1103;
constexpr int IDC_SECOND_ARROWS = 1104;
constexpr int IDC_VARIABLE = 1111;


// One labelled number: the caption, a field for typing and arrows beside
// it that step the value through its range.
void add_number(Dialog& d, int y, int width, const char* caption, const char* label, int field_id,
                int arrows_id, int low, int high, int value) {
    const int field_x = width - kMargin - kArrowsWidth - kFieldWidth;
    d.add_static(0, {kMargin, y + 3, field_x - kMargin - kGap, label_height()}, caption);
    EditOptions numeric;
    numeric.numeric = true;
    numeric.max_length = 2;
    d.add_edit(field_id, {field_x, y, kFieldWidth, EDIT_HEIGHT}, std::to_string(value), numeric, label);
    d.add_up_down(arrows_id, {field_x + kFieldWidth, y, kArrowsWidth, EDIT_HEIGHT}, low, high, value,
                  field_id, label);
}

// The range hint under the fields: the limits of the storage.
void add_hint(Dialog& d, int y, int width, const char* text) {
    d.add_static(0, {kMargin, y, width - 2 * kMargin, label_height()}, text);
}

std::string size_text(bool list, int k) {
    char text[24];
    if (list) {
        const ListValue& l = g_lists[k];
        if (!l.defined) return "Undefined";
        std::snprintf(text, sizeof text, "%d element%s", l.size(), l.size() == 1 ? "" : "s");
    } else {
        const Matrix& m = g_matrices[k];
        if (!m.defined) return "Undefined";
        std::snprintf(text, sizeof text, "%dx%d", m.rows(), m.columns());
    }
    return text;
}

}  // namespace

bool select_matrix_size(int& rows, int& columns) {
    constexpr int width = 180;
    const int row_h = EDIT_HEIGHT + kGap;
    const int hint_y = kMargin + 2 * row_h;
    const int buttons_y = hint_y + label_height() + kGap + 2;
    Dialog d("Select Matrix Size", width, buttons_y + BUTTON_HEIGHT + kMargin);
    add_number(d, kMargin, width, "Rows:", "Rows", IDC_FIRST_FIELD, IDC_FIRST_ARROWS, 1, MATRIX_MAX, rows);
    add_number(d, kMargin + row_h, width, "Columns:", "Columns", IDC_SECOND_FIELD, IDC_SECOND_ARROWS, 1,
               MATRIX_MAX, columns);
    add_hint(d, hint_y, width, "Each from 1 to 30.");
    add_ok_cancel(d, width, buttons_y);
    d.set_focus(IDC_FIRST_FIELD);
    if (run_dialog(d) != ID_OK) return false;
    // The arrows hold the value within range whatever was typed.
    rows = d.get<UpDown>(IDC_FIRST_ARROWS).value();
    columns = d.get<UpDown>(IDC_SECOND_ARROWS).value();
    return true;
}

bool select_list_size(int& size) {
    constexpr int width = 180;
    const int hint_y = kMargin + EDIT_HEIGHT + kGap;
    const int buttons_y = hint_y + label_height() + kGap + 2;
    Dialog d("Select List Size", width, buttons_y + BUTTON_HEIGHT + kMargin);
    add_number(d, kMargin, width, "Elements:", "Size", IDC_FIRST_FIELD, IDC_FIRST_ARROWS, 1, LIST_MAX, size);
    add_hint(d, hint_y, width, "From 1 to 9.");
    add_ok_cancel(d, width, buttons_y);
    d.set_focus(IDC_FIRST_FIELD);
    if (run_dialog(d) != ID_OK) return false;
    size = d.get<UpDown>(IDC_FIRST_ARROWS).value();
    return true;
}

int select_editor_variable(bool list) {
    // Entry 0 is the answer, 1..10 insert A..J, 11..20 store into A..J.
    constexpr int entries = 1 + 2 * NAMED_OBJECTS;
    constexpr int width = 200;
    constexpr int list_rows = 12;
    const int lh = label_height();
    const int list_y = kMargin + lh;
    const int list_h = (list_rows + 1) * LIST_ROW_HEIGHT + 4;
    const int buttons_y = list_y + list_h + kGap + 2;
    Dialog d(list ? "Select List Variable" : "Select Matrix Variable", width,
             buttons_y + BUTTON_HEIGHT + kMargin);
    const int inner = width - 2 * kMargin;
    d.add_static(0, {kMargin, kMargin, inner, lh}, "Variable:");
    auto& view = d.add_list_view(
        IDC_VARIABLE, {kMargin, list_y, inner, list_h},
        {{"Name", 56, Align::Left}, {list ? "Elements" : "Size", inner - 56 - SCROLL_BAR_WIDTH - 2, Align::Right}},
        "Variable");
    const int first = list ? MEM_LIST_FIRST : MEM_MATRIX_FIRST;
    view.add_row({list ? "L_Ans" : "M_Ans", size_text(list, EDITOR_ANSWER)});
    for (int k = 0; k < NAMED_OBJECTS; ++k) view.add_row({variable_name(first + k), size_text(list, k)});
    // The store arrow of the display font, as the STO key shows it.
    for (int k = 0; k < NAMED_OBJECTS; ++k)
        view.add_row({std::string("\x80") + variable_name(first + k), "store into"});
    // The object on the face is the likeliest choice.
    const int shown = list ? g_editor.list : g_editor.matrix;
    const int row = shown == EDITOR_ANSWER ? 0 : shown + 1;
    view.select(row);
    view.set_top_index(row);
    d.on_notify([](Dialog& dlg, int id, Notify what) {
        if (id == IDC_VARIABLE && what == Notify::Activated) dlg.press(ID_OK);
    });
    add_ok_cancel(d, width, buttons_y);
    d.set_focus(IDC_VARIABLE);
    if (run_dialog(d) != ID_OK) return -2;
    const int entry = d.get<ListView>(IDC_VARIABLE).selected();
    if (entry < 0 || entry >= entries) return -2;
    if (entry == 0) return list ? TOK_L_ANS : TOK_M_ANS;
    if (entry <= NAMED_OBJECTS) return (list ? 2099 : 2089) + entry;
    return entry + (list ? 3089 : 3079);
}

}  // namespace qx

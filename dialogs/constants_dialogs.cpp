// "Select Constant", "Edit Constant" and "Select Conversion".
//
// The pickers open where the user left them (the constant, property and
// units chosen last), since the same few constants and conversions tend to
// be wanted again and again.  The choices are remembered by their texts
// rather than by row, so adding or deleting a constant does not move the
// picker onto a neighbour.
#include "dialogs/constants_dialogs.h"

#include <string>

#include "panel/dialog_layout.h"
#include "panel/ui.h"
#include "platform/font.h"
#include "platform/widgets.h"
#include "tools/constants.h"

namespace qx {

namespace {

using namespace dialog_layout;

constexpr int IDC_CONSTANT = 1010;
constexpr int IDC_CONSTANT_VALUE = 1011;
constexpr int IDC_ACTION = 1012;
constexpr int IDC_ELEMENTS = 1013;
constexpr int IDC_PROPERTY = 1020;
constexpr int IDC_FROM = 1021;
constexpr int IDC_TO = 1022;

constexpr int kWidth = 228;
constexpr int kInner = kWidth - 2 * kMargin;
// Rows of the lists: as many as the screen allows with the rest of each
// dialog, so that little scrolling is needed.
constexpr int kPickerRows = 14;
constexpr int kEditorRows = 10;
constexpr int kUnitRows = 6;

std::string g_last_constant;
std::string g_last_property;
std::string g_last_from;
std::string g_last_to;

// The height the constant list with its caption and value line takes.
int constant_block_height(int rows) { return label_height() + list_height(rows) + kGap + label_height(); }

// The caption, the list of names and the value line under it, from y down.
void add_constant_list(Dialog& d, int y, int rows) {
    const int lh = label_height();
    d.add_static(0, {kMargin, y, kInner, lh}, "Constant:");
    ListBox& list = d.add_list_box(IDC_CONSTANT, {kMargin, y + lh, kInner, list_height(rows)}, "Constant");
    d.add_static(IDC_CONSTANT_VALUE, {kMargin, y + lh + list_height(rows) + kGap, kInner, lh}, {});
    int start = 0;
    for (int k = 0; k < g_tables.constant_count; ++k) {
        list.add(g_tables.constants[k].name);
        if (g_last_constant == g_tables.constants[k].name) start = k;
    }
    if (list.count() > 0) list.select(start);
}

int chosen_constant(const Dialog& d) {
    const int row = d.get<ListBox>(IDC_CONSTANT).selected();
    return row >= 0 && row < g_tables.constant_count ? row : -1;
}

void show_constant_value(Dialog& d) {
    const int k = chosen_constant(d);
    const std::string text = k >= 0 ? constant_display_text(g_tables.constants[k]) : std::string();
    d.set_text(IDC_CONSTANT_VALUE, fit_text(FONT_DIALOG, text, kInner));
}

void follow_constant_list(Dialog& d, int id, Notify what) {
    if (id != IDC_CONSTANT) return;
    if (what == Notify::SelectionChanged) show_constant_value(d);
    else if (what == Notify::Activated) d.press(ID_OK);
}

// The constant OK was pressed on, remembered for the next opening; -1
// when there was none (an empty table).
int take_constant(const Dialog& d) {
    const int k = chosen_constant(d);
    if (k >= 0) g_last_constant = g_tables.constants[k].name;
    return k;
}

// --- conversions ------------------------------------------------------------

std::string unit_text(int unit) {
    const UnitRecord& u = g_tables.units[unit];
    return std::string(u.abbreviation) + " (" + u.name + ")";
}

void fill_units(Dialog& d, int property) {
    for (int id : {IDC_FROM, IDC_TO}) {
        ListBox& list = d.get<ListBox>(id);
        list.clear();
        for (int u : property_units(property)) list.add(unit_text(u));
    }
}

void enable_conversion_ok(Dialog& d) {
    d.enable(ID_OK, d.get<ListBox>(IDC_FROM).selected() >= 0 && d.get<ListBox>(IDC_TO).selected() >= 0);
}

void follow_conversion(Dialog& d, int id, Notify what) {
    if (id == IDC_PROPERTY && what == Notify::SelectionChanged) {
        fill_units(d, d.get<ComboBox>(IDC_PROPERTY).selected());
    } else if ((id == IDC_FROM || id == IDC_TO) && what == Notify::Activated) {
        if (d.find(ID_OK)->enabled()) d.press(ID_OK);
        return;
    } else if (id != IDC_FROM && id != IDC_TO) {
        return;
    }
    enable_conversion_ok(d);
}

}  // namespace

int select_constant_dialog(std::string& value_text) {
    const int buttons_y = kMargin + constant_block_height(kPickerRows) + kMargin;
    Dialog d("Select Constant", kWidth, buttons_y + BUTTON_HEIGHT + kMargin);
    add_constant_list(d, kMargin, kPickerRows);
    const int third = (kInner - 2 * kGap) / 3;
    d.add_button(ID_OK, {kMargin, buttons_y, third, BUTTON_HEIGHT}, "OK", true);
    d.add_button(ID_CANCEL, {kMargin + third + kGap, buttons_y, third, BUTTON_HEIGHT}, "Cancel");
    d.add_button(IDC_ELEMENTS, {kWidth - kMargin - third, buttons_y, third, BUTTON_HEIGHT}, "Elements");
    d.set_auto_end(IDC_ELEMENTS, true);
    show_constant_value(d);
    d.on_notify(follow_constant_list);
    d.set_focus(IDC_CONSTANT);

    const int end = run_dialog(d);
    if (end == IDC_ELEMENTS) return CONSTANT_ELEMENTS;
    if (end != ID_OK) return CONSTANT_CANCELLED;
    const int k = take_constant(d);
    if (k < 0) return CONSTANT_CANCELLED;
    value_text = g_tables.constants[k].value;
    return CONSTANT_CHOSEN;
}

bool edit_constant_dialog(std::string& name, ConstantAction& action) {
    const int lh = label_height();
    const int action_y = kMargin + constant_block_height(kEditorRows) + kGap;
    const int buttons_y = action_y + lh + list_height(2) + kMargin;
    Dialog d("Edit Constant", kWidth, buttons_y + BUTTON_HEIGHT + kMargin);
    add_constant_list(d, kMargin, kEditorRows);
    d.add_static(0, {kMargin, action_y, kInner, lh}, "Action:");
    ListBox& actions = d.add_list_box(IDC_ACTION, {kMargin, action_y + lh, kInner, list_height(2)}, "Action");
    actions.add("Add Constant");
    actions.add("Delete Constant");
    actions.select(CONSTANT_ADD);
    add_ok_cancel(d, kWidth, buttons_y);
    show_constant_value(d);
    d.on_notify(follow_constant_list);
    d.set_focus(IDC_CONSTANT);

    if (run_dialog(d) != ID_OK) return false;
    const int k = take_constant(d);
    if (k < 0) return false;
    name = g_tables.constants[k].name;
    action = actions.selected() == CONSTANT_DELETE ? CONSTANT_DELETE : CONSTANT_ADD;
    return true;
}

int select_conversion_dialog() {
    const int lh = label_height();
    const int property_y = kMargin + lh;
    const int from_y = property_y + EDIT_HEIGHT + kGap;
    const int to_y = from_y + lh + list_height(kUnitRows) + kGap;
    const int buttons_y = to_y + lh + list_height(kUnitRows) + kMargin;
    Dialog d("Select Conversion", kWidth, buttons_y + BUTTON_HEIGHT + kMargin);
    d.add_static(0, {kMargin, kMargin, kInner, lh}, "Property:");
    ComboBox& property = d.add_combo_box(IDC_PROPERTY, {kMargin, property_y, kInner, EDIT_HEIGHT}, "Property");
    property.set_max_drop_rows(g_tables.property_count);
    for (int p = 0; p < g_tables.property_count; ++p) property.add(g_tables.properties[p].name);
    d.add_static(0, {kMargin, from_y, kInner, lh}, "From:");
    ListBox& from = d.add_list_box(IDC_FROM, {kMargin, from_y + lh, kInner, list_height(kUnitRows)}, "From");
    d.add_static(0, {kMargin, to_y, kInner, lh}, "To:");
    ListBox& to = d.add_list_box(IDC_TO, {kMargin, to_y + lh, kInner, list_height(kUnitRows)}, "To");
    add_ok_cancel(d, kWidth, buttons_y);

    const int last = property.find(g_last_property);
    property.select(last >= 0 ? last : 0);
    fill_units(d, property.selected());
    if (last >= 0) {
        from.select(from.find(g_last_from));
        to.select(to.find(g_last_to));
    }
    enable_conversion_ok(d);
    d.on_notify(follow_conversion);
    d.set_focus(IDC_PROPERTY);

    if (run_dialog(d) != ID_OK) return -1;
    const std::vector<int> units = property_units(property.selected());
    const int f = from.selected(), t = to.selected();
    if (f < 0 || t < 0 || f >= static_cast<int>(units.size()) || t >= static_cast<int>(units.size())) return -1;
    g_last_property = property.item_text(property.selected());
    g_last_from = from.item_text(f);
    g_last_to = to.item_text(t);
    return conversion_token(units[f], units[t]);
}

}  // namespace qx

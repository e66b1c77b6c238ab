// "Element Information" and "Element Data Table".
//
// Both dialogs take the whole width of the screen, and still some rows are
// wider than their list ("Electron Config.: [Xe] 4f14,5d10,6s2,6p6"): the
// selected row is therefore repeated in full, wrapped, under the list, so
// nothing is ever only visible cut short.
#include "dialogs/element_dialogs.h"

#include <string>
#include <vector>

#include "panel/dialog_layout.h"
#include "panel/ui.h"
#include "platform/font.h"
#include "platform/widgets.h"
#include "tools/elements.h"

namespace qx {

namespace {

using namespace dialog_layout;

constexpr int IDC_PROPERTY_LIST = 1210;
constexpr int IDC_ROW_TEXT = 1211;
constexpr int IDC_SELECT_CONSTANT = 1212;
constexpr int IDC_PROPERTY = 1220;
constexpr int IDC_ELEMENT_LIST = 1221;
constexpr int IDC_ELEMENT_TEXT = 1222;
constexpr int IDC_DETAILS = 1223;

constexpr int kWidth = DIALOG_MAX_CLIENT_WIDTH;
constexpr int kInner = kWidth - 2 * kMargin;
constexpr int kInfoRows = 15;
constexpr int kTableRows = 14;
constexpr int kFirstTableRow = 3;   // the rows before are not properties to compare
constexpr int kDefaultTableRow = 3;   // "Atomic Weight"
constexpr int kNumberWidth = 30;
constexpr int kSymbolWidth = 46;

constexpr const char kTooLongText[] = "Periodic line is too long";
constexpr const char kTooLongTitle[] = "load_periodical";

int view_height(int rows) { return LIST_ROW_HEIGHT + 2 + list_height(rows); }

int button_width(const char* text) {
    const int w = text_width_bold(FONT_DIALOG, text) + 16;
    return w > kButtonWidth ? w : kButtonWidth;
}

// Loads the element, telling the user when its line cannot be read.
bool load_for_dialog(int index, ElementRecord& e) {
    const ElementLoad result = load_element(index, e);
    if (result == ElementLoad::LineTooLong) show_box(kTooLongText, kTooLongTitle);
    return result == ElementLoad::Loaded;
}

void show_property(Dialog& d, const ElementRecord& e) {
    const int row = d.get<ListBox>(IDC_PROPERTY_LIST).selected();
    d.set_text(IDC_ROW_TEXT, row >= 0 ? element_row_text(e, row, 2) : std::string());
    d.enable(IDC_SELECT_CONSTANT, row >= 0 && !element_insert_text(e, row).empty());
}

bool information_dialog(int index, std::string& insert_text, const Surface* under) {
    ElementRecord e;
    if (!load_for_dialog(index, e)) return false;

    const int lh = label_height();
    const int list_y = kMargin + lh;
    const int text_y = list_y + list_height(kInfoRows) + kGap;
    const int buttons_y = text_y + 2 * lh + kGap;
    Dialog d("Element Information", kWidth, buttons_y + BUTTON_HEIGHT + kMargin);

    d.add_static(0, {kMargin, kMargin, kInner, lh}, "Property:");
    ListBox& list = d.add_list_box(IDC_PROPERTY_LIST, {kMargin, list_y, kInner, list_height(kInfoRows)}, "Property");
    for (int row = 0; row < ELEMENT_ROWS; ++row) list.add(element_row_text(e, row, 2));
    list.select(0);
    d.add_static(IDC_ROW_TEXT, {kMargin, text_y, kInner, 2 * lh}, {}, Align::Left, true);

    const int insert_w = button_width("Select Constant");
    const int ok_x = kWidth - kMargin - kButtonWidth;
    d.add_button(IDC_SELECT_CONSTANT, {ok_x - kGap - insert_w, buttons_y, insert_w, BUTTON_HEIGHT},
                 "Select Constant");
    d.add_button(ID_OK, {ok_x, buttons_y, kButtonWidth, BUTTON_HEIGHT}, "OK", true);
    d.set_cancel_id(ID_OK);

    show_property(d, e);
    d.on_notify([&e](Dialog& dlg, int id, Notify what) {
        if (id == IDC_PROPERTY_LIST && what == Notify::SelectionChanged) {
            show_property(dlg, e);
        } else if (id == IDC_SELECT_CONSTANT && what == Notify::Clicked) {
            dlg.end(IDC_SELECT_CONSTANT);
        }
    });
    d.set_focus(IDC_PROPERTY_LIST);

    if (run_dialog(d, under) != IDC_SELECT_CONSTANT) return false;
    const int row = list.selected();
    const std::string text = row >= 0 ? element_insert_text(e, row) : std::string();
    if (text.empty()) return false;
    insert_text = text;
    return true;
}

// --- the data table ---------------------------------------------------------------

struct Table {
    std::vector<ElementRecord> elements;   // by index; a line that failed stays cleared
    int row = kDefaultTableRow;            // the property shown
};

std::vector<Column> table_columns(int row) {
    const int value_w = kInner - 2 - SCROLL_BAR_WIDTH - kNumberWidth - kSymbolWidth;
    return {{"No.", kNumberWidth, Align::Right},
            {"Symbol", kSymbolWidth, Align::Left},
            {element_row_text(ElementRecord{}, row, 0), value_w, Align::Left}};
}

void show_element(Dialog& d, const Table& t) {
    const int k = d.get<ListView>(IDC_ELEMENT_LIST).selected();
    std::string text;
    if (k >= 0 && k < ELEMENT_COUNT)
        text = std::string(t.elements[k].fields[0]) + ": " + element_row_text(t.elements[k], t.row, 1);
    d.set_text(IDC_ELEMENT_TEXT, text);
    d.enable(IDC_DETAILS, k >= 0);
}

void fill_values(ListView& view, const Table& t) {
    view.set_columns(table_columns(t.row));
    for (int k = 0; k < view.count() && k < ELEMENT_COUNT; ++k)
        view.set_cell(k, 2, element_row_text(t.elements[k], t.row, 1));
}

}  // namespace

bool element_information_dialog(int index, std::string& insert_text) {
    return information_dialog(index, insert_text, nullptr);
}

bool element_data_table_dialog(std::string& insert_text) {
    Table t;
    t.elements.resize(ELEMENT_COUNT);
    bool told = false;
    for (int k = 0; k < ELEMENT_COUNT; ++k) {
        // One box is enough, however many lines are unreadable.
        if (load_element(k, t.elements[k]) == ElementLoad::LineTooLong && !told) {
            show_box(kTooLongText, kTooLongTitle);
            told = true;
        }
    }

    const int lh = label_height();
    const int caption_w = text_width(FONT_DIALOG, "Property:") + kGap;
    const int view_y = kMargin + EDIT_HEIGHT + kGap;
    const int text_y = view_y + view_height(kTableRows) + kGap;
    const int buttons_y = text_y + lh + kGap;
    Dialog d("Element Data Table", kWidth, buttons_y + BUTTON_HEIGHT + kMargin);

    d.add_static(0, {kMargin, kMargin + (EDIT_HEIGHT - lh) / 2, caption_w, lh}, "Property:");
    ComboBox& combo = d.add_combo_box(
        IDC_PROPERTY, {kMargin + caption_w, kMargin, kInner - caption_w, EDIT_HEIGHT}, "Property");
    for (int row = kFirstTableRow; row < ELEMENT_ROWS; ++row) combo.add(element_row_text(ElementRecord{}, row, 0));
    combo.set_max_drop_rows(ELEMENT_ROWS - kFirstTableRow);
    combo.select(t.row - kFirstTableRow);

    ListView& view = d.add_list_view(IDC_ELEMENT_LIST, {kMargin, view_y, kInner, view_height(kTableRows)},
                                     table_columns(t.row), "Element");
    for (int k = 0; k < ELEMENT_COUNT; ++k)
        view.add_row({std::to_string(k + 1), t.elements[k].fields[1], std::string()});
    fill_values(view, t);
    view.select(0);
    d.add_static(IDC_ELEMENT_TEXT, {kMargin, text_y, kInner, lh}, {});

    const int close_x = kWidth - kMargin - kButtonWidth;
    d.add_button(IDC_DETAILS, {close_x - kGap - kButtonWidth, buttons_y, kButtonWidth, BUTTON_HEIGHT}, "Details");
    d.add_button(ID_CANCEL, {close_x, buttons_y, kButtonWidth, BUTTON_HEIGHT}, "Close", true);

    show_element(d, t);
    std::string chosen;
    d.on_notify([&t, &view, &chosen](Dialog& dlg, int id, Notify what) {
        if (id == IDC_PROPERTY && what == Notify::SelectionChanged) {
            const int k = dlg.get<ComboBox>(IDC_PROPERTY).selected();
            if (k < 0) return;
            t.row = kFirstTableRow + k;
            fill_values(view, t);
            show_element(dlg, t);
        } else if (id == IDC_ELEMENT_LIST && what == Notify::SelectionChanged) {
            show_element(dlg, t);
        } else if ((id == IDC_ELEMENT_LIST && what == Notify::Activated) ||
                   (id == IDC_DETAILS && what == Notify::Clicked)) {
            const int k = view.selected();
            if (k < 0) return;
            if (information_dialog(k, chosen, &dlg.frame())) dlg.end(IDC_DETAILS);
            else dlg.invalidate();   // shown again where the details were
        }
    });
    d.set_focus(IDC_ELEMENT_LIST);

    if (run_dialog(d) != IDC_DETAILS || chosen.empty()) return false;
    insert_text = chosen;
    return true;
}

}  // namespace qx

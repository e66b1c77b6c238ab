// The "Select Function" dialog: its behaviour over a CatalogueView, and the
// dialog that shows the view with the widget set.
#include "panel/catalogue.h"

#include <cctype>

#include "engine/errors.h"
#include "panel/dialog_layout.h"
#include "platform/font.h"
#include "platform/widgets.h"

namespace qx {

int catalogue_choice = 0;
int last_catalogue_token = -1;

namespace {

const char* const kCategoryNames[CATALOGUE_CATEGORIES] = {
    "Real Function",
    "Complex Function",
    "Probability Function",
    "Variable based Function",
    "Matrix Math Function",
    "Matrix Command Function",
};

int compare_no_case(const char* a, const char* b) {
    for (;; ++a, ++b) {
        int ca = std::tolower(static_cast<unsigned char>(*a));
        int cb = std::tolower(static_cast<unsigned char>(*b));
        if (ca != cb || ca == 0) return ca - cb;
    }
}

const CatalogueEntry* find_token(std::span<const CatalogueEntry> entries, TokenCode token) {
    for (const CatalogueEntry& e : entries)
        if (e.token == token) return &e;
    return nullptr;
}

const CatalogueEntry* find_title(std::span<const CatalogueEntry> entries,
                                 const std::string& title) {
    for (const CatalogueEntry& e : entries)
        if (title == e.title) return &e;
    return nullptr;
}

void list_category(CatalogueView& view, int category, std::span<const CatalogueEntry> entries) {
    view.category = category;
    view.listed.clear();
    for (const CatalogueEntry& e : entries)
        if (e.category == category) view.listed.push_back(&e);
}

void select_row(CatalogueView& view, int row) {
    if (row < 0 || row >= static_cast<int>(view.listed.size())) {
        view.selected = -1;
        view.description.clear();
        return;
    }
    view.selected = row;
    view.description = view.listed[row]->description;
}

}  // namespace

const char* catalogue_category_name(int category) {
    return category >= 0 && category < CATALOGUE_CATEGORIES ? kCategoryNames[category] : "";
}

int check_catalogue_order(std::span<const CatalogueEntry> entries) {
    int faults = 0;
    for (int category = 0; category < CATALOGUE_CATEGORIES; ++category) {
        const char* previous = nullptr;
        for (const CatalogueEntry& e : entries) {
            if (e.category != category) continue;
            if (previous && compare_no_case(previous, e.title) >= 0) {
                message_box(e.title, "String Out of Order", MB_STYLE_EXCLAMATION);
                ++faults;
            }
            previous = e.title;
        }
    }
    return faults;
}

CatalogueView catalogue_open(std::span<const CatalogueEntry> entries) {
    check_catalogue_order(entries);
    const CatalogueEntry* last =
        last_catalogue_token != -1 ? find_token(entries, last_catalogue_token) : nullptr;
    if (last) catalogue_choice = last->category;
    // A caller's category outside the table would leave both lists empty.
    if (catalogue_choice < 0 || catalogue_choice >= CATALOGUE_CATEGORIES) catalogue_choice = 0;

    CatalogueView view;
    list_category(view, catalogue_choice, entries);
    int row = 0;
    for (int k = 0; last && k < static_cast<int>(view.listed.size()); ++k)
        if (view.listed[k] == last) row = k;
    select_row(view, row);
    return view;
}

void catalogue_category_changed(CatalogueView& view, int category,
                                std::span<const CatalogueEntry> entries) {
    list_category(view, category, entries);
    select_row(view, 0);
}

void catalogue_function_changed(CatalogueView& view, const std::string& title,
                                std::span<const CatalogueEntry> entries) {
    const CatalogueEntry* e = find_title(entries, title);
    if (!e) return;
    for (int k = 0; k < static_cast<int>(view.listed.size()); ++k)
        if (view.listed[k] == e) view.selected = k;
    view.description = e->description;
}

int catalogue_ok(const std::string& selected_title, std::span<const CatalogueEntry> entries) {
    const CatalogueEntry* e = find_title(entries, selected_title);
    // Without a match nothing is chosen; the token of an earlier OK must not
    // come back as if it had been chosen now.
    if (!e) return catalogue_choice = -1;
    catalogue_choice = e->token;
    last_catalogue_token = e->token;
    return e->token;
}

int catalogue_cancel() {
    return catalogue_choice = -1;
}

namespace {

// Layout for the 240 x 320 screen: the whole client area, the two lists on
// top and the help text taking what is left above the buttons.
using dialog_layout::kButtonWidth;
using dialog_layout::kMargin;
constexpr int kWidth = DIALOG_MAX_CLIENT_WIDTH;
constexpr int kHeight = DIALOG_MAX_CLIENT_HEIGHT;
constexpr int kInner = kWidth - 2 * kMargin;
constexpr int kLabelGap = 2;

void show_functions(Dialog& d, const CatalogueView& view) {
    auto& list = d.get<ComboBox>(IDC_CATALOGUE_FUNCTION);
    list.clear();
    for (const CatalogueEntry* e : view.listed) list.add(e->title);
    list.select(view.selected);
    d.set_text(IDC_CATALOGUE_DESCRIPTION, view.description);
}

}  // namespace

int open_catalogue(Window& w, const Surface& under, int category) {
    catalogue_choice = category;
    CatalogueView view = catalogue_open();

    Dialog d("Select Function", kWidth, kHeight);
    const int label_h = font_height(FONT_DIALOG) + 2;
    int y = kMargin;
    auto labelled_row = [&](const char* label, int height) {
        d.add_static(0, {kMargin, y, kInner, label_h}, label);
        y += label_h + kLabelGap;
        Rect r{kMargin, y, kInner, height};
        y += height + kMargin;
        return r;
    };
    // Scripts name the lists by their labels, without the colon.
    auto& types = d.add_combo_box(IDC_CATALOGUE_TYPE, labelled_row("Function Type:", EDIT_HEIGHT),
                                  "Function Type");
    types.set_max_drop_rows(CATALOGUE_CATEGORIES);
    auto& functions = d.add_combo_box(IDC_CATALOGUE_FUNCTION,
                                      labelled_row("Function:", EDIT_HEIGHT), "Function");
    // The longest category has 26 entries: a tall drop-down saves scrolling.
    functions.set_max_drop_rows(12);
    const int buttons_y = kHeight - kMargin - BUTTON_HEIGHT;
    const int text_h = buttons_y - kMargin - (y + label_h + kLabelGap);
    d.add_edit(IDC_CATALOGUE_DESCRIPTION, labelled_row("Function Description:", text_h), {},
               EditOptions{.read_only = true, .multi_line = true}, "Function Description");
    const int cancel_x = kWidth - kMargin - kButtonWidth;
    d.add_button(ID_OK, {cancel_x - kMargin - kButtonWidth, buttons_y, kButtonWidth, BUTTON_HEIGHT},
                 "OK", true);
    d.add_button(ID_CANCEL, {cancel_x, buttons_y, kButtonWidth, BUTTON_HEIGHT}, "Cancel");

    for (int k = 0; k < CATALOGUE_CATEGORIES; ++k) types.add(kCategoryNames[k]);
    types.select(view.category);
    show_functions(d, view);

    d.on_notify([&view](Dialog& dlg, int id, Notify what) {
        if (what != Notify::SelectionChanged) return;
        if (id == IDC_CATALOGUE_TYPE) {
            catalogue_category_changed(view, dlg.get<ComboBox>(IDC_CATALOGUE_TYPE).selected());
            show_functions(dlg, view);
        } else if (id == IDC_CATALOGUE_FUNCTION) {
            auto& list = dlg.get<ComboBox>(IDC_CATALOGUE_FUNCTION);
            catalogue_function_changed(view, list.item_text(list.selected()));
            dlg.set_text(IDC_CATALOGUE_DESCRIPTION, view.description);
        }
    });
    d.set_focus(IDC_CATALOGUE_FUNCTION);

    int token;
    if (d.run(w, under) == ID_OK) {
        auto& list = d.get<ComboBox>(IDC_CATALOGUE_FUNCTION);
        token = catalogue_ok(list.item_text(list.selected()));
    } else {
        token = catalogue_cancel();
    }
    return token < 0 ? -2 : token;
}

}  // namespace qx

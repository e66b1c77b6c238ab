// The function catalogue: the "Select Function" dialog behind the Math keys.
// It lists the named functions by category, shows a help text for the one
// highlighted and returns the token the key decoder then inserts.
//
// The dialog's behaviour is kept apart from the widgets as plain functions
// over a CatalogueView, so it can be exercised without a window; the dialog
// only copies the view into its controls and feeds user actions back.
#pragma once
#include <span>
#include <string>
#include <vector>

#include "engine/tokens.h"

namespace qx {

class Window;
class Surface;

struct CatalogueEntry {
    TokenCode token;
    int category;              // 0..CATALOGUE_CATEGORIES - 1
    const char* title;         // shown in the "Function:" list
    const char* description;   // help text, 8-bit in the display font's code page
};

constexpr int CATALOGUE_SIZE = 87;
constexpr int CATALOGUE_CATEGORIES = 6;

// The entries in their fixed order (grouped by category, titles in
// case-insensitive alphabetical order within each) and the category names
// in combo-box order.
std::span<const CatalogueEntry> catalogue_entries();
const char* catalogue_category_name(int category);

// Set by the caller to the category to show; holds the chosen token (or -1
// when nothing was chosen) once the dialog has ended.
extern int catalogue_choice;
// The token of the last OK, -1 before the first.  It outlives the dialog so
// the next opening returns to the same place.
extern int last_catalogue_token;

// Control identifiers of the dialog.
constexpr int IDC_CATALOGUE_FUNCTION = 1109;
constexpr int IDC_CATALOGUE_TYPE = 1110;
constexpr int IDC_CATALOGUE_DESCRIPTION = 1004;

// Walks each category in table order and reports every title that does not
// sort after the one before it (ignoring case) in a warning box titled
// "String Out of Order", carrying on after each.  Returns how many there were.
int check_catalogue_order(std::span<const CatalogueEntry> entries);

// What the dialog shows.
struct CatalogueView {
    int category = 0;                   // selected "Function Type"
    std::vector<const CatalogueEntry*> listed;   // rows of "Function:"
    int selected = -1;                  // selected row of "Function:"
    std::string description;            // "Function Description:"
};

// Opening: the order check, then the category of the last choice (if any)
// takes the place of catalogue_choice, and the last choice, or else the
// first entry of the category, is selected and described.
CatalogueView catalogue_open(std::span<const CatalogueEntry> entries = catalogue_entries());
// A new "Function Type": the list is refilled and its first entry selected.
void catalogue_category_changed(CatalogueView& view, int category,
                                std::span<const CatalogueEntry> entries = catalogue_entries());
// A new "Function:" row, given by its text.
void catalogue_function_changed(CatalogueView& view, const std::string& title,
                                std::span<const CatalogueEntry> entries = catalogue_entries());
// OK with the text selected in "Function:".  Returns the entry's token, which
// also becomes catalogue_choice and last_catalogue_token; a text that names
// no entry chooses nothing (-1) and leaves the last choice as it was.
int catalogue_ok(const std::string& selected_title,
                 std::span<const CatalogueEntry> entries = catalogue_entries());
// Cancel: nothing chosen.  Returns -1.
int catalogue_cancel();

// Runs the dialog over `under` with `category` shown first.  Returns the
// chosen token, or -2 (nothing to insert) when the dialog was cancelled.
int open_catalogue(Window& w, const Surface& under, int category);

}  // namespace qx

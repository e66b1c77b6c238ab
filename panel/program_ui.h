// What the program editor's pickers share with the program dialogs: the
// list chooser with its check boxes and the description editor.
#pragma once
#include <initializer_list>
#include <string>
#include <vector>

namespace qx::program_ui {

struct Check {
    const char* text;
    bool* value;
};

// A modal list titled `title`: the chosen row, or -1 when cancelled.  The
// check boxes under the list read and write their flags.
int choose(const std::string& title, const std::string& label, const std::vector<std::string>& items, int start,
           std::initializer_list<Check> checks = {});
// "Program Description": true when the description was confirmed.
bool edit_description();
// The dialogs start again from their first entries.
void reset_dialog_choices();

}  // namespace qx::program_ui

// What the program editor's pickers share with the program dialogs: the
// list chooser with its check boxes and the description editor.
#pragma once
#include <initializer_list>
#include <string>
#include <vector>

namespace qx {
class Dialog;
}

namespace qx::program_ui {

// The row a program list shows when there is no custom program.
inline constexpr const char* kNoCustomPrograms = "(Found no Custom Programs)";

struct Check {
    const char* text;
    bool* value;
};

// Check boxes under a list, one per flag, with ids from first_id: the
// height they take, adding them from y down, and reading them back.
int checks_height(std::initializer_list<Check> checks);
void add_checks(Dialog& d, int first_id, int y, int width, std::initializer_list<Check> checks);
void read_checks(const Dialog& d, int first_id, std::initializer_list<Check> checks);

// A modal list titled `title`: the chosen row, or -1 when cancelled.  The
// check boxes under the list read and write their flags.
int choose(const std::string& title, const std::string& label, const std::vector<std::string>& items, int start,
           std::initializer_list<Check> checks = {});
// "Program Description": true when the description was confirmed.
bool edit_description();
// The dialogs start again from their first entries.
void reset_dialog_choices();

}  // namespace qx::program_ui

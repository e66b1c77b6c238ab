#include "panel/tools_panel.h"

#include <cstdio>
#include <string>

#include "dialogs/constants_dialogs.h"
#include "dialogs/element_dialogs.h"
#include "dialogs/stopwatch_dialog.h"
#include "dialogs/tvm_dialog.h"
#include "engine/errors.h"
#include "engine/memory.h"
#include "engine/settings.h"
#include "panel/face.h"
#include "panel/input_line.h"
#include "panel/key_decoder.h"
#include "panel/subsystems.h"
#include "panel/ui.h"
#include "platform/files.h"
#include "tools/constants.h"

namespace qx {

namespace {

constexpr const char* kConstantsFile = "constants.const";
// 101 lines of under 120 characters fit many times over; anything larger is
// not a constants file.
constexpr std::size_t kConstantsLimit = 256 * 1024;
constexpr int ALPHA_CONSTANT_NAME_KIND = 8;

void show_messages(const std::vector<TableMessage>& messages) {
    for (const TableMessage& m : messages) show_box(m.text, m.title);
}

bool save_constants() {
    const std::string path = constants_file_path();
    std::string error = "no data folder";
    if (path.empty() || !replace_file(path, constants_file_text(), &error)) {
        show_box("The constants could not be saved (" + error + "). The previous file is unchanged.",
                 "Constants");
        return false;
    }
    return true;
}

// Reads the user's file into the tables.  A missing file (or one without a
// usable constant) is written from the built-in constants; a file that is
// there but cannot be read is left alone, so the user's list is never
// overwritten because of a passing read failure.
void reload_constants(bool write_when_asked) {
    const std::string path = constants_file_path();
    std::string text;
    const bool exists = !path.empty() && file_exists(path);
    const bool readable = exists && read_file(path, text, kConstantsLimit);
    TablesLoad load = load_tables(readable ? &text : nullptr);
    show_messages(load.messages);
    if (load.write_user_file && write_when_asked && (readable || !exists) && !path.empty()) save_constants();
}

void load_constants_hook() { reload_constants(true); }

bool pick_constant(char* value_text, int size, bool* elements) {
    std::string value;
    const int end = select_constant_dialog(value);
    if (end == CONSTANT_CHOSEN) {
        copy_bounded(value_text, value.c_str(), static_cast<std::size_t>(size));
        return true;
    }
    if (end == CONSTANT_ELEMENTS) *elements = true;
    return false;
}

void add_user_constant(const char* name, const char* unit) {
    const AddConstant outcome = add_constant(name, unit, g_ans.re);
    if (outcome != AddConstant::Added) {
        const TableMessage m = add_constant_refusal(outcome);
        show_box(m.text, m.title);
        return;
    }
    // A failed save is undone by reading the file back: the list shown is
    // always the list kept.
    save_constants();
    reload_constants(false);
}

void edit_constants() {
    std::string name;
    ConstantAction action = CONSTANT_ADD;
    if (!edit_constant_dialog(name, action)) return;
    if (action == CONSTANT_ADD) {
        start_alpha_entry(ALPHA_CONSTANT_NAME_KIND);
        return;
    }
    const std::string question = "Delete Constant: " + name + "?";
    if (show_box(question, "Delete Constant?", BoxButtons::YesNo, BoxIcon::Warning) != ID_YES) return;
    if (!delete_constant(name.c_str())) return;
    if (g_tables.constant_count == 0) {
        // The last one gone: the built-in constants come back, and are kept.
        const TablesLoad load = load_tables(nullptr);
        show_messages(load.messages);
        if (!save_constants()) reload_constants(false);
        return;
    }
    save_constants();
    reload_constants(false);
}

// A value chosen in the element dialogs goes to the input line of COMP mode.
void insert_element_value(const std::string& text) {
    enter_mode(MODE_COMP);
    insert_constant_string(text.c_str(), true);
    paint_face();
}

void show_element(int atomic_number) {
    std::string text;
    if (element_information_dialog(atomic_number - 1, text)) insert_element_value(text);
}

void show_element_table() {
    std::string text;
    if (element_data_table_dialog(text)) insert_element_value(text);
}

}  // namespace

std::string constants_file_path() {
    const std::string folder = user_folder(UserFolder::Data);
    return folder.empty() ? std::string() : join_path(folder, kConstantsFile);
}

void install_tools_hooks() {
    install_unit_hooks();
    g_panel.tvm_dialog = tvm_solver_dialog;
    g_panel.constant_dialog = pick_constant;
    g_panel.conversion_dialog = select_conversion_dialog;
    g_panel.user_constant_add = add_user_constant;
    g_panel.element_dialog = show_element;
    g_panel.element_table_dialog = show_element_table;
    g_panel.stopwatch_dialog = stopwatch_dialog;
    g_panel.edit_constants_dialog = edit_constants;
    g_panel.load_constants = load_constants_hook;
}

}  // namespace qx

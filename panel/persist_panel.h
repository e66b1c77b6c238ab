// The panel's side of keeping the user's work: the state files behind
// "Save State" and "Load State", the sample plots, and the start-up
// settings file read at start and written at exit and after "Setup Options".
#pragma once
#include <string>

namespace qx {

// Fills the panel hooks for Setup Options, the sample plots and the start-up
// settings, and lets the state file read and put back the input line, the
// history, the result line and the editors' selections.
void install_persist_hooks();

// Where the start-up settings live: "startup.conf" in the settings folder.
std::string startup_settings_path();

// The state file of `path` (".state" added to a name without it when saving).
// False after a refusal or a failure, which the user has been told about.
bool save_state_file(const std::string& path);
bool load_state_file(const std::string& path);
// The file dialogs around them: false when cancelled.
bool save_state_dialog();
bool load_state_dialog();

// Loads sample 0..5 and shows it in PLOT mode.
void show_sample_plot(int index);

}  // namespace qx

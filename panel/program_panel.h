// Programs on the face: the panel hooks of PROG mode and of running
// programs, the interpreter's host with the real display, and the program
// files in the per-user folder.
#pragma once
#include <string>

namespace qx {

// The folder "programs" of the per-user data folder, created when missing
// ("" when it cannot be made; the reason in *error).
std::string program_folder(std::string* error = nullptr);
// Program files and fout files in that folder.
void install_program_storage();
// Fills the program entries of the panel hooks and the interpreter's host.
void install_program_panel_hooks();

}  // namespace qx

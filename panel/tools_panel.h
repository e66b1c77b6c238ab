// The panel's side of the tools: the MENU's TVM solver, constants,
// conversions, periodic table and stopwatch, and the user's constants file
// (read at start, written after every change).
#pragma once
#include <string>

namespace qx {

// Fills the tool hooks of the panel and the engine's unit lookup.
void install_tools_hooks();

// "constants.const" in the data folder.
std::string constants_file_path();

}  // namespace qx

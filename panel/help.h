// The help file: compiled into the calculator and written out where the
// desktop's browser can open it.
#pragma once
#include <string>

namespace qx {

// The path of the help file in the user's data folder, written (or
// rewritten when it differs from this version's); empty when it cannot be.
std::string write_help_file();

}  // namespace qx

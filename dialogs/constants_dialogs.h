// The constants picker "Select Constant", the constants manager "Edit
// Constant" and the unit converter "Select Conversion", over the tables of
// tools/constants.h.  Scripts name the lists "Constant", "Action",
// "Property", "From" and "To" and the buttons by their texts.
#pragma once
#include <string>

namespace qx {

enum SelectConstantEnd { CONSTANT_CHOSEN = 1, CONSTANT_CANCELLED = 2, CONSTANT_ELEMENTS = -2 };
// CONSTANT_CHOSEN: value_text is the chosen constant's value text.
int select_constant_dialog(std::string& value_text);

enum ConstantAction { CONSTANT_ADD = 0, CONSTANT_DELETE = 1 };
// OK: true with the chosen constant's name and the action.
bool edit_constant_dialog(std::string& name, ConstantAction& action);

// The conversion token 65536 + from + 256 * to, or -1 when cancelled.
int select_conversion_dialog();

}  // namespace qx

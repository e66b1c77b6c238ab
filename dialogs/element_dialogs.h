// "Element Information" (the nineteen rows of one element) and "Element
// Data Table" (every element with one chosen property).  Scripts name the
// lists "Property" and "Element" and the buttons by their texts.
#pragma once
#include <string>

namespace qx {

// index 0..108.  True when the user chose to insert a value: insert_text
// is then the value text of the chosen row.
bool element_information_dialog(int index, std::string& insert_text);

// True when a value was chosen for insertion through an element's information.
bool element_data_table_dialog(std::string& insert_text);

}  // namespace qx

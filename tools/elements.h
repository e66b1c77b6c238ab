// The periodic table's data: one text line of fields per element, decoded
// when an element is chosen, and the texts of its nineteen display rows.
#pragma once
#include <string>

namespace qx {

constexpr int ELEMENT_COUNT = 109;
constexpr int ELEMENT_FIELDS = 18;
constexpr int ELEMENT_ROWS = 19;

struct ElementRecord {
    int index;                              // atomic number - 1
    char fields[ELEMENT_FIELDS][40];
};

// The element table text, 109 lines ending in CR LF.
const char* element_table_text();

// Why a line could not be decoded: the panel tells the user about a line
// that is too long, while an index past the table is the caller's slip.
enum class ElementLoad { Loaded, NoSuchLine, LineTooLong };
constexpr int ELEMENT_LINE_LIMIT = 200;   // a line this long or longer is refused

// Decodes line index (0..108) into out; out is left cleared when there is no
// such line or it is ELEMENT_LINE_LIMIT characters or longer.
ElementLoad load_element(int index, ElementRecord& out);
// The same from any table text of that form (tests feed broken ones).
ElementLoad decode_element(const char* table, int index, ElementRecord& out);

// Whether the row has a value that can be inserted (Atomic Number, the
// numeric properties); its text may still be "" when the element lacks it.
bool element_row_insertable(int row);

// Row 0..18 in style 0 (label), 1 (value and unit) or 2 (label: value unit).
std::string element_row_text(const ElementRecord& e, int row, int style);
// The text the row inserts into the input line; "" when the row cannot be inserted.
std::string element_insert_text(const ElementRecord& e, int row);

}  // namespace qx

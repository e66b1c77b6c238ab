// Constants and units: the table text of properties, units and constants
// (built in, and the user's constants file in the same format), the tables
// it is read into, and the user's own constants.  Logic only: the panel
// reads and writes the file and shows the messages.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qx {

constexpr int PROPERTY_CAPACITY = 14;
constexpr int UNIT_RECORDS = 135;
constexpr int UNIT_CAPACITY = 128;
constexpr int CONSTANT_CAPACITY = 101;     // read from the file
constexpr int CONSTANT_ADD_LIMIT = 100;    // reached by adding

struct PropertyRecord {
    char name[40];
};
struct UnitRecord {
    char abbreviation[25];
    char name[40];
    double factor;      // x in this unit is (x - offset) * factor in the base unit
    double offset;
    std::int32_t property;   // -1: a free record
};
struct ConstantRecord {
    char name[40];
    char unit[20];
    char value[40];     // the digits of the table, '.' as the decimal mark
};

struct ConstantTables {
    PropertyRecord properties[PROPERTY_CAPACITY];
    int property_count;
    UnitRecord units[UNIT_RECORDS];
    int unit_count;
    ConstantRecord constants[CONSTANT_CAPACITY];
    int constant_count;
};

extern ConstantTables g_tables;

struct TableMessage {
    std::string text;
    std::string title;
};

std::string_view builtin_table_text();

// Appends what the text defines to the tables; order warnings and the
// overflow that stops the parse are added to messages.
void parse_table_text(ConstantTables& t, std::string_view text, std::vector<TableMessage>& messages);
// The same for a user file: only its constants count.
void parse_constant_text(ConstantTables& t, std::string_view text, std::vector<TableMessage>& messages);

struct TablesLoad {
    bool write_user_file = false;   // the tables' constants must be written to the user file
    std::vector<TableMessage> messages;
};
// Resets and loads g_tables: the built-in text, then the constants of the
// user file (user_text, nullptr when there is none), sorted by name.
TablesLoad load_tables(const std::string* user_text);

// The user file's text of g_tables: one "Cons: name, unit, value" line each.
std::string constants_file_text();

// Whether a name or unit can be kept in the file: no ", " (the separator of
// its fields) and no control characters.
bool constant_text_usable(std::string_view text);

enum class AddConstant { Added, Full, NameInUse, BadText };
// Adds a constant with the value text of value (the result's real part);
// on Added the caller writes the user file and loads the tables again.
AddConstant add_constant(const char* name, const char* unit, double value);
// The message box (text, title) of a refusal.
TableMessage add_constant_refusal(AddConstant outcome);
// Removes the constant of that name (case ignored); false when there is none.
bool delete_constant(const char* name);

// The value text that adding stores: every digit the double needs, '.' as the mark.
std::string constant_value_text(double value);
// The picker's line under the list: "value (unit)", or "value unit" when the
// unit is empty, with the calculator's decimal mark.
std::string constant_display_text(const ConstantRecord& c);

// Conversion tokens: 65536 + from + 256 * to.
int conversion_token(int from_unit, int to_unit);
// The units of one property, in table order.
std::vector<int> property_units(int property);
// The engine's unit lookup (g_hooks.unit_record): false for a free or unknown record.
bool unit_record(int index, double* factor, double* offset, const char** abbreviation);
// Fills g_hooks.unit_record and loads the built-in tables when nothing is loaded yet.
void install_unit_hooks();

}  // namespace qx

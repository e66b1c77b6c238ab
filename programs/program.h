// The one program in memory: its statements and expression slots, the text
// file form it is kept in, the built-in programs and the custom programs
// on disk.  Everything read from a file is checked before it is used: a
// refused file leaves the program reset and reports -1.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "engine/tokens.h"
#include "programs/instructions.h"

namespace qx {

constexpr int PROGRAM_NAME_SIZE = 40;
constexpr int DESCRIPTION_SIZE = 1010;
constexpr int STATEMENT_TEXT_SIZE = 40;
constexpr int MAX_STATEMENTS = 99;
constexpr int EXPRESSION_SLOT_COUNT = 60;        // slot 0 is never used
constexpr int SLOT_TOKEN_CAPACITY = 105;
constexpr int SLOT_TOKEN_LIMIT = 100;            // tokens an E line or the input line gives
constexpr int BUILTIN_PROGRAM_COUNT = 29;
// Bytes of a program file the reader accepts.
constexpr std::size_t MAX_PROGRAM_FILE_BYTES = 256 * 1024;
constexpr int MAX_FILE_LINE = 1015;

struct Statement {
    char text[STATEMENT_TEXT_SIZE];
    std::int32_t instruction;
    std::int32_t expression;   // slot 1..59, 0 none
    std::int32_t condition;
    std::int32_t operand0;
    std::int32_t operand1;
    std::int32_t label;
    std::int32_t function;
    std::uint8_t pause;
};

struct ExpressionSlot {
    TokenCode tokens[SLOT_TOKEN_CAPACITY];
    std::int32_t count;
    std::uint8_t in_use;
};

struct Program {
    char name[PROGRAM_NAME_SIZE];
    std::uint8_t built_in;
    char description[DESCRIPTION_SIZE];   // line breaks stored as "~~", a typed tilde as byte 7
    std::int32_t count;
    std::int32_t cursor;                  // editor: 0..count
    std::int32_t top;                     // editor: first statement shown
    Statement statements[MAX_STATEMENTS];
    ExpressionSlot slots[EXPRESSION_SLOT_COUNT];
};

extern Program g_program;

// Statement count, cursor, top to 0, empty description, every slot free.
// The name and the built-in flag stay.
void reset_program(Program& p);
// A statement with the instruction and every other field 0 / empty.
Statement blank_statement(int instruction);
// The lowest free slot from 1, marked in use with no tokens; 0 when all 59
// are taken (the "Reached expression limit for program" box is shown).
int allocate_expression_slot(Program& p);
void free_expression_slot(Program& p, int slot);
// The tokens of a statement's expression (nullptr and 0 when it has none).
const TokenCode* statement_tokens(const Program& p, const Statement& s, int* count);

// --- the file form -----------------------------------------------------------
// CR LF lines: "N: name", "V: 1.1", then per statement "I:", "Z:", "T:", "E:",
// "C:", "0:", "1:", "L:", "F:", "P:" lines.
std::string write_program_text(const Program& p);
// Reads a program from its file form into `p` (reset first; name and
// built-in flag are left to the caller).  Lines may end in CR LF, LF or CR.
// Returns the statement count, or -1 after a refused line: a newer version
// or instruction code or a 100th statement ("This program requires a more
// recent revision of Quorix in order to load." titled "Error"), a damaged
// line ("Code Error" box), with `p` reset.  Boxes are shown only when
// `report` is set.
int read_program_text(Program& p, const char* data, std::size_t size, bool built_in, bool report = true);

// Description: "~~" <-> line breaks, byte 7 <-> "~".
std::string decode_description(const char* stored);      // for display: CR LF breaks
std::string encode_description(const std::string& text); // CR, LF, CR LF -> "~~"; "~" -> 7

// --- built-in programs --------------------------------------------------------
// The stored text of all 29 (the file form, one program after another).
const char* builtin_program_text();
std::size_t builtin_program_text_size();
// The names, in stored order.
std::vector<std::string> builtin_program_names();
bool is_builtin_program_name(const char* name);

// --- custom programs on disk ----------------------------------------------------
// Where programs and their fout files live.  The front panel fills these with
// the per-user folder; tests with an in-memory store.  Every default fails.
struct ProgramStorage {
    // The whole file of a custom program (at most MAX_PROGRAM_FILE_BYTES).
    bool (*read)(const char* name, std::string* bytes);
    // Replaces the file atomically; false with the reason in *error.
    bool (*write)(const char* name, const std::string& bytes, std::string* error);
    bool (*remove)(const char* name);
    bool (*exists)(const char* name);
    std::vector<std::string> (*list)();        // names, sorted
    // fout files: "<name>.txt" beside the programs.  open truncates.
    int (*output_open)(const char* name);      // handle >= 0, or -1
    bool (*output_write)(int handle, const char* text);
    void (*output_close)(int handle);
};
extern ProgramStorage g_program_storage;
void reset_program_storage();

// A program name is usable as a file name: 1..22 characters of the alpha
// keyboard's file-name set, not starting with a blank.
bool valid_program_name(const char* name);

// Loads a program into `out` (a staging copy: the current program is not
// touched).  Built-in when `built_in`, else the custom file.  Returns the
// statement count (0 when the file cannot be opened), or -1 when refused.
// The name, the built-in flag and the remembered cursor are set on success.
int load_program_into(Program& out, const char* name, bool built_in, bool report = true);
// The same into g_program: on success it replaces the current program; on
// failure g_program is reset with an empty name, so it is never shown in
// the editor nor saved over the refused file.
int load_program(const char* name, bool built_in);
// Writes the current program's file (custom, non-empty name); remembers the
// name with the cursor and top lines for the next load.  False when the
// write failed (a box says why); true when written or nothing to write.
bool save_program();
// Sets aside a position for the next load of that program without saving
// it: a run that failed opens the editor at the failing statement.
void remember_program_position(const char* name, int cursor, int top);
// Deletes a custom program after asking ("Delete program: %s?"); built-in
// programs are refused with "A built-in program can't be deleted".  True
// when the file was deleted.
bool delete_program(const char* name, bool built_in);
std::vector<std::string> list_custom_programs();
bool custom_program_exists(const char* name);

}  // namespace qx

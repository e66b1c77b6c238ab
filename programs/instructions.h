// The statement language: instruction codes, their names and the fields
// each one uses.  The codes and names are stored in program files: never
// renumber or rename.
#pragma once

namespace qx {

constexpr int INSTRUCTION_COUNT = 68;   // codes 0..67

enum Instruction {
    INS_IF = 0, INS_END = 1, INS_ELSE = 2, INS_WHILE = 3, INS_LOOP = 4, INS_CALL = 5,
    INS_RETURN_CALL = 6, INS_LABEL = 7, INS_GOTO = 8, INS_IN = 9, INS_OUT = 10,
    INS_EXPRESS = 11, INS_STOP = 12, INS_TEXT = 13, INS_FOUT = 14, INS_IN_FUNCTION = 15,
    INS_FUNCTION = 16, INS_CLEAR_MEMORY = 17, INS_CLEAR_STATS = 18, INS_ENTER_STATS = 19,
    INS_GET_X = 20, INS_PUT_X = 21, INS_GET_Y = 22, INS_PUT_Y = 23, INS_ONE_VAR = 24,
    INS_TWO_VAR = 25, INS_COMP_MODE = 26, INS_STATS_MODE = 27, INS_STATS_LIST = 28,
    INS_BASE_MODE = 29, INS_DEGREE = 30, INS_RADIAN = 31, INS_GRADIENT = 32,
    INS_DECIMAL = 33, INS_HEXADECIMAL = 34, INS_OCTAL = 35, INS_BINARY = 36,
    INS_8_BIT = 37, INS_16_BIT = 38, INS_32_BIT = 39, INS_BREAK = 40, INS_GOSUB = 41,
    INS_RETURN_SUB = 42, INS_CLEAR_INPUT = 43, INS_FORMAT_FLOAT = 44, INS_FORMAT_FIXED = 45,
    INS_FORMAT_SCI = 46, INS_FORMAT_ENG = 47, INS_PRECISION = 48, INS_DECIMAL_MARK = 49,
    INS_SYSTEM_TICK = 50, INS_MENU_ITEM = 51, INS_MENU_DISPLAY = 52, INS_MENU_TITLE = 53,
    INS_MENU_CLEAR = 54, INS_LINEAR = 55, INS_LOGARITHMIC = 56, INS_EXPONENTIAL = 57,
    INS_POWER = 58, INS_DESCRIPTION = 59, INS_PLOT_XMIN = 60, INS_PLOT_XMAX = 61,
    INS_PLOT_YMIN = 62, INS_PLOT_YMAX = 63, INS_PLOT_TMIN = 64, INS_PLOT_TMAX = 65,
    INS_PLOT_TSTEP = 66, INS_COMPLEX_FORMAT = 67,
};

struct InstructionInfo {
    const char* name;      // "if", "Menu Display", ...
    bool condition;        // the editor asks for these fields
    bool operand0;
    bool operand1;
    bool label;
    int extra;             // 1 for out, 256 for in f() and f(), else 0
};

// The entry of a code; codes outside 0..67 get an entry named "?" that uses
// no field.
const InstructionInfo& instruction_info(int code);
bool valid_instruction(int code);
// if, while and loop: each is closed by an end.
inline bool opens_block(int instruction) {
    return instruction == INS_IF || instruction == INS_WHILE || instruction == INS_LOOP;
}

// Operand tables.
constexpr int PROGRAM_VARIABLES = 90;     // memory variables 0..89 (R0..R9, A..Z, a..z, Greek)
constexpr int PROGRAM_FUNCTIONS = 10;     // f1..f10
constexpr int CONDITION_COUNT = 6;        // = != < > >= <=
constexpr int MAX_PRECISION = 10;
constexpr int DECIMAL_MARK_COUNT = 4;
constexpr int COMPLEX_FORMAT_COUNT = 3;
// Labels are shown as the variable named label + 10, so 0..79.
constexpr int LABEL_COUNT = PROGRAM_VARIABLES - 10;

// "=", "!=", "<", ">", ">=", "<=", or "?" outside the table.
const char* condition_symbol(int condition);

}  // namespace qx

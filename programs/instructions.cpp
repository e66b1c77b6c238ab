#include "programs/instructions.h"

namespace qx {

namespace {

// Field flags: condition, operand 0, operand 1, label: the pickers the editor
// takes a new statement's fields from.  "Menu" (title) takes a label too,
// although neither the listing nor a run uses it.
constexpr InstructionInfo kInstructions[INSTRUCTION_COUNT] = {
    {"if", true, true, true, false, 0},
    {"end", false, false, false, false, 0},
    {"else", false, false, false, false, 0},
    {"while", true, true, true, false, 0},
    {"loop", false, true, false, false, 0},
    {"call", false, false, false, false, 0},
    {"return call", false, false, false, false, 0},
    {"label", false, false, false, true, 0},
    {"goto", false, false, false, true, 0},
    {"in", false, true, false, false, 0},
    {"out", false, true, false, false, 1},
    {"<express>", false, false, false, false, 0},
    {"stop", false, false, false, false, 0},
    {"text", false, false, false, false, 0},
    {"fout", false, true, false, false, 0},
    {"in f()", false, false, false, false, 256},
    {"f()", false, false, false, false, 256},
    {"Clear Memory", false, false, false, false, 0},
    {"Clear Stats Data", false, false, false, false, 0},
    {"Enter Stats Data", false, true, false, false, 0},
    {"Ans = Stats x[index]", false, true, false, false, 0},
    {"Stats x[index] = Ans", false, true, false, false, 0},
    {"Ans = Stats y[index]", false, true, false, false, 0},
    {"Stats y[index] = Ans", false, true, false, false, 0},
    {"1 var Stats", false, false, false, false, 0},
    {"2 var Stats", false, false, false, false, 0},
    {"COMP Mode", false, false, false, false, 0},
    {"STATS Mode", false, false, false, false, 0},
    {"STATS LIST Mode", false, false, false, false, 0},
    {"BASE-n Mode", false, false, false, false, 0},
    {"Degree Angle", false, false, false, false, 0},
    {"Radian Angle", false, false, false, false, 0},
    {"Gradient Angle", false, false, false, false, 0},
    {"Decimal Base-n", false, false, false, false, 0},
    {"Hexadecimal Base-n", false, false, false, false, 0},
    {"Octal Base-n", false, false, false, false, 0},
    {"Binary Base-n", false, false, false, false, 0},
    {"8 bit Base-n", false, false, false, false, 0},
    {"16 bit Base-n", false, false, false, false, 0},
    {"32 bit Base-n", false, false, false, false, 0},
    {"break", false, false, false, false, 0},
    {"gosub", false, false, false, true, 0},
    {"return sub", false, false, false, false, 0},
    {"Clear Input Buffer", false, false, false, false, 0},
    {"Format Float", false, false, false, false, 0},
    {"Format Fixed", false, false, false, false, 0},
    {"Format Sci", false, false, false, false, 0},
    {"Format Eng", false, false, false, false, 0},
    {"Precision", false, true, false, false, 0},
    {"Decimal Mark", false, true, false, false, 0},
    {"Ans = System Tick", false, false, false, false, 0},
    {"Menu", false, false, false, true, 0},            // item
    {"Menu Display", false, false, false, false, 0},
    {"Menu", false, false, false, true, 0},            // title
    {"Menu Clear", false, false, false, false, 0},
    {"Linear Regression", false, false, false, false, 0},
    {"Logarithmic Regression", false, false, false, false, 0},
    {"Exponential Regression", false, false, false, false, 0},
    {"Power Regression", false, false, false, false, 0},
    {"Program Description", false, false, false, false, 0},
    {"Plot x min = Ans", false, false, false, false, 0},
    {"Plot x max = Ans", false, false, false, false, 0},
    {"Plot y min = Ans", false, false, false, false, 0},
    {"Plot y max = Ans", false, false, false, false, 0},
    {"Plot t min = Ans", false, false, false, false, 0},
    {"Plot t max = Ans", false, false, false, false, 0},
    {"Plot t step = Ans", false, false, false, false, 0},
    {"Complex Format", false, true, false, false, 0},
};

constexpr InstructionInfo kUnknown = {"?", false, false, false, false, 0};

constexpr const char* kConditions[CONDITION_COUNT] = {"=", "!=", "<", ">", ">=", "<="};

}  // namespace

bool valid_instruction(int code) { return code >= 0 && code < INSTRUCTION_COUNT; }

const InstructionInfo& instruction_info(int code) {
    return valid_instruction(code) ? kInstructions[code] : kUnknown;
}

const char* condition_symbol(int condition) {
    return (condition >= 0 && condition < CONDITION_COUNT) ? kConditions[condition] : "?";
}

}  // namespace qx

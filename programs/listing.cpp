#include "programs/listing.h"

#include <cstring>

#include "engine/errors.h"
#include "engine/memory.h"

namespace qx {

namespace {

std::string statement_text(const Statement& s) {
    return std::string(s.text, strnlen(s.text, sizeof s.text));
}

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

// ", \"prompt\"" when the statement has a prompt.
std::string prompt_suffix(const Statement& s) {
    const std::string text = statement_text(s);
    return text.empty() ? std::string() : ", " + quoted(text);
}

const char* decimal_mark_text(int mark) {
    static const char* const kMarks[DECIMAL_MARK_COUNT] = {"Dot(.)", "Comma(,)", "1,000,000.0",
                                                           "1.000.000,0"};
    return (mark >= 0 && mark < DECIMAL_MARK_COUNT) ? kMarks[mark] : nullptr;
}

// The display font has no angle sign, so the polar form is named in words.
const char* complex_format_text(int format) {
    static const char* const kFormats[COMPLEX_FORMAT_COUNT] = {"(Real only)", "(a+bi)", "(polar)"};
    return (format >= 0 && format < COMPLEX_FORMAT_COUNT) ? kFormats[format] : nullptr;
}

}  // namespace

std::string program_variable_text(int index) {
    if (index < 0 || index >= PROGRAM_VARIABLES) return "?";
    return variable_name(index);
}

std::string ans_or_variable_text(int operand) {
    return operand == 0 ? std::string("Ans") : program_variable_text(operand - 1);
}

std::string right_operand_text(int operand) {
    if (operand == 0) return "0";
    if (operand == 1) return "Ans";
    return program_variable_text(operand - 2);
}

std::string label_text(int label) {
    if (label < 0 || label >= LABEL_COUNT) return "?";
    return program_variable_text(label + 10);
}

std::string end_partner_name(const Program& p, int index) {
    if (index > p.count) index = p.count;
    int depth = 0;
    for (int k = index - 1; k >= 0; --k) {
        const int instruction = p.statements[k].instruction;
        if (instruction == INS_END) {
            ++depth;
        } else if (opens_block(instruction)) {
            if (depth == 0) return instruction_info(instruction).name;
            --depth;
        }
    }
    return "?";
}

std::string statement_listing_text(const Program& p, int index) {
    if (index < 0 || index >= p.count || index >= MAX_STATEMENTS) return "";
    const Statement& s = p.statements[index];
    const std::string name = instruction_info(s.instruction).name;
    switch (s.instruction) {
        case INS_IF:
        case INS_WHILE:
            return name + " (" + ans_or_variable_text(s.operand0) + " " + condition_symbol(s.condition) +
                   " " + right_operand_text(s.operand1) + ")";
        case INS_END:
            return name + " " + end_partner_name(p, index);
        case INS_LOOP:
            return name + " " + program_variable_text(s.operand0);
        case INS_CALL:
            return name + " " + statement_text(s);
        case INS_LABEL:
            return name + " " + label_text(s.label);
        case INS_GOTO:
        case INS_GOSUB:
            return name + " label " + label_text(s.label);
        case INS_IN:
            return name + " " + program_variable_text(s.operand0) + prompt_suffix(s);
        case INS_OUT:
            return name + " " + ans_or_variable_text(s.operand0) + (s.pause ? " (p)" : "") + prompt_suffix(s);
        case INS_EXPRESS:
            return "";
        case INS_TEXT:
        case INS_MENU_TITLE:
            return name + " " + quoted(statement_text(s));
        case INS_FOUT:
        case INS_ENTER_STATS:
            return name + " " + ans_or_variable_text(s.operand0);
        case INS_IN_FUNCTION:
            return std::string("in f") + std::to_string(static_cast<long long>(s.function) + 1) + "()" + prompt_suffix(s);
        case INS_FUNCTION:
            return std::string("f") + std::to_string(static_cast<long long>(s.function) + 1) + "()";
        case INS_GET_X:
            return "Ans = Stats x[" + program_variable_text(s.operand0) + "]";
        case INS_PUT_X:
            return "Stats x[" + program_variable_text(s.operand0) + "] = Ans";
        case INS_GET_Y:
            return "Ans = Stats y[" + program_variable_text(s.operand0) + "]";
        case INS_PUT_Y:
            return "Stats y[" + program_variable_text(s.operand0) + "] = Ans";
        case INS_PRECISION:
            return name + " " + std::to_string(s.operand0);
        case INS_DECIMAL_MARK: {
            const char* mark = decimal_mark_text(s.operand0);
            if (!mark) {
                message_box("Decimal Mark not defined", "Not defined", MB_STYLE_OK);
                return "";
            }
            return name + " " + mark;
        }
        case INS_MENU_ITEM:
            return name + " " + label_text(s.label) + ", " + quoted(statement_text(s));
        case INS_COMPLEX_FORMAT: {
            const char* format = complex_format_text(s.operand0);
            if (!format) {
                message_box("Complex Format not defined", "Not defined", MB_STYLE_OK);
                return "";
            }
            return name + " " + format;
        }
        default:
            return name;
    }
}

}  // namespace qx

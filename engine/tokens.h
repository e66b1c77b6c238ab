// Token codes, the operator table and the items the evaluator is built from.
// The numeric codes are stored in program and state files: never renumber.
#pragma once
#include <cstdint>

#include "engine/errors.h"

namespace qx {

using TokenCode = std::int32_t;

constexpr int OPERATOR_COUNT = 171;
constexpr int NO_OPERATOR = 173;
constexpr int NO_STAT = 21;
constexpr int HIGHEST_LEVEL = 13;
constexpr int MAX_ITEMS = 100;

// Token codes the code refers to by name.
enum : TokenCode {
    TOK_OPEN_PAREN = 3, TOK_CLOSE_PAREN = 4, TOK_OPEN_BRACK = 103, TOK_CLOSE_BRACK = 104,
    TOK_OPEN_CURLY = 203, TOK_CLOSE_CURLY = 204,
    TOK_0 = 38, TOK_1 = 33, TOK_2 = 34, TOK_3 = 35, TOK_4 = 28, TOK_5 = 29, TOK_6 = 30,
    TOK_7 = 23, TOK_8 = 24, TOK_9 = 25, TOK_POINT = 39, TOK_EXP = 40,
    TOK_MULTIPLY = 31, TOK_DIVIDE = 32, TOK_PLUS = 36, TOK_MINUS = 37, TOK_NEGATE = 17,
    TOK_POWER = 13, TOK_COMMA = 20, TOK_ANS = 41, TOK_PI = 117, TOK_RAND = 118,
    TOK_I = 120, TOK_E = 217, TOK_M_ANS = 1299, TOK_L_ANS = 1300,
    TOK_READ_MEM = 800, TOK_STORE_MEM = 900, TOK_READ_MEM_2 = 2000, TOK_STORE_MEM_2 = 3000,
    TOK_SETTING_FIRST = 1400, TOK_SETTING_LAST = 1442, TOK_UNIT_BASE = 65536,
};

// Operator ids the code refers to by name.
enum OperatorId {
    OP_MUL = 0, OP_MUL_IMPLICIT = 1, OP_MUL_TERM = 2, OP_DIV = 3, OP_FMOD = 4, OP_ADD = 5,
    OP_SUB = 6, OP_SIN = 7, OP_COS = 8, OP_TAN = 9, OP_INVERT = 10, OP_LN = 11, OP_LOG = 12,
    OP_POWER = 13, OP_SQUARED = 14, OP_SQRT = 15, OP_NEG = 16, OP_FACTORIAL = 17, OP_ABS = 18,
    OP_ROUND = 19, OP_TRUNC = 20, OP_ASIN = 21, OP_ACOS = 22, OP_ATAN = 23, OP_EXP = 24,
    OP_TEN_POW = 25, OP_XROOT = 26, OP_CBRT = 27, OP_CUBE = 28, OP_SINH = 29, OP_COSH = 30,
    OP_TANH = 31, OP_ASINH = 32, OP_ACOSH = 33, OP_ATANH = 34, OP_DEG = 35, OP_RAD = 36,
    OP_GRAD = 37, OP_STORE = 38, OP_UNIT = 39, OP_NOT = 40, OP_AND = 41, OP_OR = 42,
    OP_XOR = 43, OP_XNOR = 44, OP_MOD = 45, OP_BASE_NEG = 46, OP_IPART = 47, OP_FPART = 48,
    OP_FLOOR = 49, OP_CEIL = 50, OP_NPR = 51, OP_NCR = 52, OP_SHL = 53, OP_SHR = 54,
    OP_PERCENT = 55, OP_PERCENT_CHG = 56, OP_REGRESS_X = 57, OP_REGRESS_Y = 58,
    OP_TRANSPOSE = 60, OP_CONJ = 109, OP_REAL = 110, OP_IMAG = 111, OP_ANGLE = 112,
    OP_GAMMA = 113, OP_SIGN = 114, OP_BETA = 115, OP_JN = 116, OP_YN = 117, OP_FNINT = 118,
    OP_ERROR = 127, OP_TOHMS = 128, OP_FROMHMS = 129, OP_MANT = 130, OP_XPON = 131,
    OP_MAX = 136, OP_MIN = 137, OP_RANDNORM = 138, OP_RANDBIN = 139, OP_RANDPOIS = 140,
    OP_RANDINT = 141, OP_LOGB = 142, OP_LCM = 143, OP_GCD = 144, OP_ATAN2 = 145,
    OP_LINE = 165, OP_POINT = 166, OP_COLOR = 167, OP_RECT = 168, OP_CLRDRAW = 169,
    OP_COMMA = 170,
};

enum OperatorKind {
    KIND_BINARY = 0, KIND_PREFIX = 1, KIND_POSTFIX = 2, KIND_MULTI_FUNCTION = 3,
    KIND_FUNCTION = 4, KIND_VAR_FUNCTION = 5,
};

// Flag bytes of OperatorInfo::flags.
constexpr int FLAG_R = 0x00000001;  // level scanned right to left
constexpr int FLAG_I = 0x00000100;  // integer (base-n) operator
constexpr int FLAG_M = 0x00010000;  // matrix operator
constexpr int FLAG_A = 0x01000000;  // drawn by spelling its name

struct OperatorInfo {
    int id;
    int kind;
    int flags;
    int precedence;
    const char* name;
    const char* text;
};

enum TokenClass {
    TC_LITERAL = 0, TC_OPERATOR = 1, TC_OPERAND = 2, TC_STAT = 3, TC_UNIT = 4,
    TC_SETTING = 5, TC_UNKNOWN = 6,
};

struct TokenDescriptor {
    const char* name;   // static text, never longer than 119 characters
    int token_class;
    int op_id;
    int stat_index;
    int param;
    int from_unit;
    int to_unit;
};

enum ItemClass { IC_NUMBER = 0, IC_VALUE = 1, IC_OPERATOR = 2, IC_OPEN = 3, IC_CLOSE = 4 };
enum ValueSubclass {
    VS_CONSTANT = 0, VS_ANS = 1, VS_M_ANS = 2, VS_L_ANS = 3, VS_RAND = 4, VS_MEMORY = 5,
    VS_STAT = 6, VS_IMAGINARY = 7, VS_SETTING = 8, VS_NONE = 9,
};

struct ExprItem {
    int item_class;
    int subclass;
    int op_id;
    double value;
    int param;
    int stat_index;
    int bracket;
    char text[TEXT_SIZE];
    double unit_factor_from, unit_offset_from, unit_factor_to, unit_offset_to;
};

// The items of one expression as the evaluator prepares them.
struct PreparedExpression {
    ExprItem items[MAX_ITEMS];
    int count;
    char literal[TEXT_SIZE];
    int literal_length;
    bool literal_in_progress;
};

void init_operator_table();
const OperatorInfo& operator_info(int op_id);
bool level_is_right_to_left(int level);
int highest_level();

TokenDescriptor describe_token(TokenCode code);

// An item of the class with every other field at its neutral value.
ExprItem blank_item(int item_class, int subclass);

void reset_prepared(PreparedExpression& prep);
// Appends the items of one token; returns the text of the last item added
// (empty when the token only extends a pending literal).
const char* token_to_item(PreparedExpression& prep, TokenCode code);
// Converts a literal still pending at the end of the tokens.
void finish_items(PreparedExpression& prep);
// Builds a Number item from a literal's characters.
ExprItem convert_number_string(const char* literal);

}  // namespace qx

#include "engine/tokens.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/errors.h"
#include "engine/hooks.h"
#include "engine/memory.h"
#include "engine/settings.h"

namespace qx {

namespace {

constexpr int R = FLAG_R, I = FLAG_I, M = FLAG_M, A = FLAG_A;
constexpr int BIN = KIND_BINARY, PRE = KIND_PREFIX, POST = KIND_POSTFIX,
              MULTI = KIND_MULTI_FUNCTION, FUN = KIND_FUNCTION, VAR = KIND_VAR_FUNCTION;

// Kept in the order of the precedence levels; sorted by id at start-up.
OperatorInfo g_operators[OPERATOR_COUNT] = {
    {15, PRE, R, 0, "square_root", "sqRt "}, {24, PRE, R, 0, "inv_ln", "e^"},
    {25, PRE, R, 0, "inv_log", "(10)^"}, {27, PRE, R, 0, "cube_root", "cubeRt "},
    {10, POST, 0, 1, "invert", "^(-1)"}, {14, POST, 0, 1, "squared", "^(2)"},
    {17, POST, 0, 1, "factorial", "!"}, {28, POST, 0, 1, "cube", "^(3)"},
    {35, POST, 0, 1, "angle_deg", "(d)"}, {36, POST, 0, 1, "angle_rad", "(r)"},
    {37, POST, 0, 1, "angle_grad", "(g)"}, {39, POST, 0, 1, "", ""},
    {55, POST, 0, 1, "percent", "%"}, {57, POST, 0, 1, "regress_x", " rx "},
    {58, POST, 0, 1, "regress_y", " ry "}, {60, POST, M, 1, "transpose", "^T"},
    {40, PRE, I, 2, "not", "not "}, {46, PRE, I, 2, "base_neg", "-"},
    {13, BIN, 0, 3, "power", "^"}, {26, BIN, 0, 3, "inv_power", " Rt "},
    {51, BIN, 0, 4, "npr", " nPr "}, {52, BIN, 0, 4, "ncr", " nCr "},
    {0, BIN, 0, 5, "multiply", "*"}, {1, BIN, 0, 5, "multiply", "*"},
    {2, BIN, 0, 5, "multiply", "*"}, {3, BIN, 0, 5, "divide", "/"},
    {4, BIN, 0, 5, "fmod", " fmod "}, {45, BIN, I, 5, "mod", " mod "},
    {56, BIN, 0, 5, "percent_chg", " d% "}, {16, PRE, 0, 5, "neg", "-"},
    {5, BIN, 0, 6, "pluss", "+"}, {6, BIN, 0, 6, "minus", "-"},
    {53, BIN, I, 7, "shl", "<<"}, {54, BIN, I, 7, "shr", ">>"},
    {41, BIN, I, 8, "and", " and "},
    {43, BIN, I, 9, "xor", " xor "}, {44, BIN, I, 9, "xnor", " xnor "},
    {42, BIN, I, 10, "or", " or "},
    {38, POST, 0, 11, "save_m", " > "},
    {170, BIN, R, 12, "U_ASCII_44", ","},
    // one-argument functions
    {7, FUN, 0, 13, "sin", "sin("}, {8, FUN, 0, 13, "cos", "cos("}, {9, FUN, 0, 13, "tan", "tan("},
    {11, FUN, A, 13, "ln", "ln("}, {12, FUN, A, 13, "log", "log("}, {18, FUN, A, 13, "abs", "abs("},
    {21, FUN, 0, 13, "asin", "asin("}, {22, FUN, 0, 13, "acos", "acos("},
    {23, FUN, 0, 13, "atan", "atan("}, {29, FUN, 0, 13, "sinh", "sinh("},
    {30, FUN, 0, 13, "cosh", "cosh("}, {31, FUN, 0, 13, "tanh", "tanh("},
    {32, FUN, 0, 13, "asinh", "asinh("}, {33, FUN, 0, 13, "acosh", "acosh("},
    {34, FUN, 0, 13, "atanh", "atanh("}, {47, FUN, A, 13, "iPart", "iPart("},
    {48, FUN, A, 13, "fPart", "fPart("}, {49, FUN, A, 13, "Floor", "Floor("},
    {50, FUN, A, 13, "Ceil", "Ceil("},
    {59, FUN, M | A, 13, "Det", "Det("}, {61, FUN, M | A, 13, "rref", "rref("},
    {62, FUN, M | A, 13, "solve_LU", "solve_LU("}, {63, FUN, M | A, 13, "solve_QR", "solve_QR("},
    {64, FUN, M | A, 13, "solve_CH", "solve_CH("}, {65, FUN, M | A, 13, "solve_SV", "solve_SV("},
    {66, FUN, M | A, 13, "Iden", "Iden("}, {67, FUN, M | A, 13, "Diag", "Diag("},
    {68, FUN, M | A, 13, "Trace", "Trace("}, {69, FUN, M | A, 13, "Rank", "Rank("},
    {70, FUN, M | A, 13, "SLV", "SVL("}, {71, FUN, M | A, 13, "LU_L", "LU_L("},
    {72, FUN, M | A, 13, "LU_U", "LU_U("}, {73, FUN, M | A, 13, "LU_P", "LU_P("},
    {74, FUN, M | A, 13, "Cholesky", "Cholesky("}, {75, FUN, M | A, 13, "QR_Q", "QR_Q("},
    {76, FUN, M | A, 13, "QR_R", "QR_R("}, {77, FUN, M | A, 13, "SVD_U", "SVD_U("},
    {78, FUN, M | A, 13, "SVD_V", "SVD_V("}, {79, FUN, M | A, 13, "Cond", "Cond("},
    {80, FUN, M | A, 13, "Norm", "Norm("}, {81, FUN, M | A, 13, "rowNorm", "rowNorm("},
    {82, FUN, M | A, 13, "colNorm", "colNorm("}, {85, FUN, M | A, 13, "eigenVal", "eigenVal("},
    {86, FUN, M | A, 13, "eigenVec", "eigenVec("}, {107, FUN, M | A, 13, "MtoL", "MtoL("},
    {87, FUN, A, 13, "max", "max("}, {88, FUN, A, 13, "mean", "mean("},
    {89, FUN, A, 13, "median", "median("}, {90, FUN, A, 13, "min", "min("},
    {91, FUN, A, 13, "prod", "prod("}, {92, FUN, A, 13, "stdDev", "stdDev("},
    {93, FUN, A, 13, "sum", "sum("}, {94, FUN, A, 13, "variance", "variance("},
    {95, FUN, A, 13, "cumSum", "cumSum("}, {96, FUN, A, 13, "sortA", "sortA("},
    {97, FUN, A, 13, "sortD", "sortD("}, {98, FUN, A, 13, "augList", "augList("},
    {99, FUN, A, 13, "fill", "fill("}, {100, FUN, A, 13, "deltaList", "deltaList("},
    {101, FUN, A, 13, "listSize", "listSize("}, {102, FUN, A, 13, "listResize", "listResize("},
    {103, FUN, A, 13, "reverse", "reverse("}, {104, FUN, A, 13, "pos", "pos("},
    {105, FUN, A, 13, "toX", "toX("}, {106, FUN, A, 13, "toY", "toY("},
    {108, FUN, A, 13, "LtoM", "LtoM("},
    {109, FUN, A, 13, "Conj", "Conj("}, {110, FUN, A, 13, "Real", "Real("},
    {111, FUN, A, 13, "Imag", "Imag("}, {112, FUN, A, 13, "Angle", "Angle("},
    {113, FUN, A, 13, "Gamma", "Gamma("}, {114, FUN, A, 13, "Sign", "Sign("},
    {127, FUN, A, 13, "Error", "Error("}, {128, FUN, A, 13, "toHMS", "toHMS("},
    {129, FUN, A, 13, "fromHMS", "fromHMS("}, {130, FUN, A, 13, "Mant", "Mant("},
    {131, FUN, A, 13, "Xpon", "Xpon("},
    // multi-argument functions
    {19, MULTI, A, 13, "Round", "Round("}, {20, MULTI, A, 13, "Trunc", "Trunc("},
    {115, MULTI, A, 13, "Beta", "Beta("}, {116, MULTI, A, 13, "Jn", "Jn("},
    {117, MULTI, A, 13, "Yn", "Yn("}, {136, MULTI, A, 13, "Max", "Max("},
    {137, MULTI, A, 13, "Min", "Min("}, {138, MULTI, A, 13, "randNorm", "randNorm("},
    {139, MULTI, A, 13, "randBin", "randBin("}, {140, MULTI, A, 13, "randPois", "randPois("},
    {141, MULTI, A, 13, "randInt", "randInt("}, {142, MULTI, A, 13, "logb", "logb("},
    {143, MULTI, A, 13, "lcm", "lcm("}, {144, MULTI, A, 13, "gcd", "gcd("},
    {145, MULTI, A, 13, "atan2", "atan2("}, {165, MULTI, A, 13, "Line", "Line("},
    {166, MULTI, A, 13, "Point", "Point("}, {167, MULTI, A, 13, "Color", "Color("},
    {168, MULTI, A, 13, "Rect", "Rect("}, {169, MULTI, A, 13, "clrDraw", "clrDraw("},
    {83, MULTI, M | A, 13, "dotP", "dotP("}, {84, MULTI, M | A, 13, "crossP", "crossP("},
    {146, MULTI, M | A, 13, "rowSwap", "rowSwap("}, {147, MULTI, M | A, 13, "colSwap", "colSwap("},
    {148, MULTI, M | A, 13, "rowScale", "rowScale("}, {149, MULTI, M | A, 13, "colScale", "colScale("},
    {150, MULTI, M | A, 13, "putElem", "putElem("}, {151, MULTI, M | A, 13, "getElem", "getElem("},
    {152, MULTI, M | A, 13, "rowSize", "rowSize("}, {153, MULTI, M | A, 13, "colSize", "colSize("},
    {154, MULTI, M | A, 13, "initMatrix", "initMatrix("},
    {155, MULTI, M | A, 13, "randMatrix", "randMatrix("},
    {156, MULTI, M | A, 13, "Augment", "Augment("}, {157, MULTI, M | A, 13, "Stack", "Stack("},
    {158, MULTI, M | A, 13, "rowScaleAdd", "rowScaleAdd("},
    {159, MULTI, M | A, 13, "colScaleAdd", "colScaleAdd("},
    {160, MULTI, M | A, 13, "subMatrix", "subMatrix("}, {161, MULTI, M | A, 13, "rowDel", "rowDel("},
    {162, MULTI, M | A, 13, "colDel", "colDel("}, {163, MULTI, M | A, 13, "Resize", "Resize("},
    {164, MULTI, M | A, 13, "Replace", "Replace("},
    // var functions
    {118, VAR, 0, 13, "INTEGRAL", "fnInt("}, {119, VAR, 0, 13, "DERIVATIVE", "fnDeriv("},
    {120, VAR, A, 13, "fnMin", "fnMin("}, {121, VAR, A, 13, "fnMax", "fnMax("},
    {122, VAR, A, 13, "fnEval", "fnEval("}, {123, VAR, A, 13, "Seq", "Seq("},
    {124, VAR, A, 13, "fnRoot", "fnRoot("}, {125, VAR, 0, 13, "SUMMATION", "Summ("},
    {126, VAR, 0, 13, "U_ASCII_168", "Prod("}, {132, VAR, A, 13, "fnMin", "fnMin("},
    {133, VAR, A, 13, "fnMax", "fnMax("}, {134, VAR, A, 13, "fnRoot", "fnRoot("},
    {135, VAR, 0, 13, "DERIVATIVE", "fnDeriv("},
};

bool g_table_ready = false;
bool g_level_r[HIGHEST_LEVEL + 1];
int g_highest_level = 0;

// Token code -> operator id for every operator token (class 1).
struct OpToken { TokenCode code; int op; };
const OpToken kOperatorTokens[] = {
    {31, 0}, {32, 3}, {36, 5}, {37, 6}, {17, 16}, {13, 13}, {113, 26}, {114, 4}, {125, 51},
    {175, 52}, {173, 56}, {20, 170},
    {8, 10}, {9, 14}, {115, 28}, {18, 17}, {123, 55}, {16, 35}, {116, 36}, {216, 37},
    {1204, 60}, {1007, 57}, {1008, 58}, {109, 39},
    {14, 15}, {15, 27}, {111, 24}, {112, 25},
    {5, 7}, {6, 8}, {7, 9}, {11, 11}, {12, 12}, {19, 18}, {105, 21}, {106, 22}, {107, 23},
    {205, 29}, {206, 30}, {207, 31}, {305, 32}, {306, 33}, {307, 34}, {124, 47}, {174, 48},
    {167, 49}, {168, 50}, {169, 109}, {170, 110}, {171, 111}, {172, 112}, {176, 113},
    {177, 114}, {482, 127}, {484, 128}, {485, 129}, {486, 130}, {487, 131},
    {108, 20}, {119, 19}, {400, 136}, {401, 137}, {402, 138}, {403, 142}, {404, 145},
    {405, 143}, {406, 144}, {407, 115}, {421, 139}, {422, 140}, {423, 141}, {430, 116},
    {431, 117},
    {408, 146}, {409, 147}, {410, 148}, {411, 149}, {412, 150}, {413, 151}, {414, 152},
    {415, 153}, {416, 154}, {417, 156}, {418, 158}, {419, 159}, {420, 160}, {424, 157},
    {425, 161}, {426, 162}, {427, 163}, {428, 155}, {429, 164}, {432, 67}, {462, 107},
    {1200, 59}, {1201, 66}, {1202, 61}, {1203, 62}, {1205, 68}, {1206, 69}, {1207, 70},
    {1208, 71}, {1209, 72}, {1210, 73}, {1211, 74}, {1212, 75}, {1213, 76}, {1214, 77},
    {1215, 78}, {1216, 81}, {1217, 82}, {1218, 83}, {1219, 84}, {1220, 63}, {1221, 64},
    {1222, 65}, {1223, 80}, {1224, 79}, {1225, 85}, {1226, 86},
    {450, 87}, {451, 88}, {452, 89}, {453, 90}, {454, 91}, {455, 92}, {456, 93}, {457, 94},
    {458, 95}, {459, 96}, {460, 97}, {461, 108}, {463, 98}, {464, 99}, {465, 100},
    {466, 101}, {467, 102}, {469, 103}, {470, 104}, {471, 105}, {472, 106},
    {468, 118}, {477, 119}, {475, 120}, {476, 121}, {478, 122}, {479, 125}, {480, 126},
    {481, 123}, {483, 124}, {1996, 135}, {1997, 134}, {1998, 133}, {1999, 132},
    {490, 169}, {491, 167}, {492, 166}, {493, 165}, {494, 168},
    {505, 40}, {506, 41}, {507, 42}, {508, 43}, {509, 44}, {540, 46}, {605, 45}, {606, 53},
    {607, 54},
};

// Direct lookup for the token codes below this bound.
constexpr int kOpLookupSize = 2000;
short g_op_of_token[kOpLookupSize];

struct LiteralToken { TokenCode code; const char* name; };
const LiteralToken kLiteralTokens[] = {
    {38, "0"}, {33, "1"}, {34, "2"}, {35, "3"}, {28, "4"}, {29, "5"}, {30, "6"}, {23, "7"},
    {24, "8"}, {25, "9"}, {39, "."}, {40, "e"}, {511, "A"}, {512, "B"}, {513, "C"},
    {514, "D"}, {515, "E"}, {516, "F"}, {517, "d"}, {518, "h"}, {519, "b"}, {619, "o"},
};

struct StatToken { TokenCode code; const char* name; int index; };
const StatToken kStatTokens[] = {
    {1005, "sum_xy", 0}, {1006, "weighted_mean", 1}, {1106, "weighted_mean_y", 2},
    {1011, "mean_x", 3}, {1012, "sum_x", 4}, {1013, "sum2_x", 5}, {1014, "std_dev_x", 6},
    {1015, "std_dev-1_x", 7}, {1111, "mean_y", 8}, {1112, "sum_y", 9}, {1113, "sum2_y", 10},
    {1114, "std_dev_y", 11}, {1115, "std_dev-1_y", 12}, {1116, "xmin", 13},
    {1117, "xmax", 14}, {1118, "ymin", 15}, {1119, "ymax", 16}, {1107, "slope", 17},
    {1108, "intercept", 18}, {1109, "corr_coef", 19}, {1016, "stats_count", 20},
};

const char* const kSettingNames[] = {
    "Angle_Mode", "Base_Bits", "Base_Mode", "Calculator_Mode", "Complex_Format",
    "Decimal_Digits", "Decimal_Mark", "Key_Click", "Number_Format", "Stats_Regress",
    "Stats_Var", "", "Tick_Count", "Connect_Dots", "Display_Grid", "Plot_Cursor",
    "Plot_Type", "tmax", "tmin", "tstep", "xmax", "xmin", "ymax", "ymin", "z_scale",
    "f1(x)", "f2(x)", "f3(x)", "f4(x)", "f5(x)", "f6(x)", "X1(t)", "X2(t)", "X3(t)",
    "Y1(t)", "Y2(t)", "Y3(t)", "R1(theta)", "R2(theta)", "R3(theta)", "R4(theta)",
    "R5(theta)", "R6(theta)",
};

TokenDescriptor make_descriptor(const char* name, int token_class) {
    return TokenDescriptor{name, token_class, NO_OPERATOR, NO_STAT, 0, 0, 0};
}

ExprItem* append_item(PreparedExpression& prep, const ExprItem& item) {
    if (prep.count >= MAX_ITEMS) {
        raise_error(ERR_MEMORY, "Exceeded array limit", "token_to_item");
        return nullptr;
    }
    prep.items[prep.count] = item;
    return &prep.items[prep.count++];
}

void convert_pending_literal(PreparedExpression& prep) {
    if (!prep.literal_in_progress) return;
    prep.literal[prep.literal_length] = '\0';
    ExprItem item = convert_number_string(prep.literal);
    prep.literal_in_progress = false;
    prep.literal_length = 0;
    prep.literal[0] = '\0';
    append_item(prep, item);
}

void append_literal_char(PreparedExpression& prep, const char* ch) {
    if (prep.literal_length + 1 >= TEXT_SIZE) {
        raise_error(ERR_SYNTAX, "String to number conversion problem", "token_to_item");
        return;
    }
    prep.literal[prep.literal_length++] = ch[0];
    prep.literal[prep.literal_length] = '\0';
}

}  // namespace

ExprItem blank_item(int item_class, int subclass) {
    ExprItem item;
    item.item_class = item_class;
    item.subclass = subclass;
    item.op_id = NO_OPERATOR;
    item.value = 0.0;
    item.param = 0;
    item.stat_index = NO_STAT;
    item.bracket = 0;
    item.text[0] = '\0';
    item.unit_factor_from = item.unit_factor_to = 1.0;
    item.unit_offset_from = item.unit_offset_to = 0.0;
    return item;
}

void init_operator_table() {
    for (int k = 0; k < OPERATOR_COUNT; ++k) {
        for (int j = k; j < OPERATOR_COUNT; ++j) {
            if (g_operators[j].id == k) {
                OperatorInfo t = g_operators[k];
                g_operators[k] = g_operators[j];
                g_operators[j] = t;
                break;
            }
        }
    }
    g_highest_level = 0;
    for (const OperatorInfo& op : g_operators) {
        g_level_r[op.precedence] = (op.flags & FLAG_R) != 0;
        if (op.precedence > g_highest_level) g_highest_level = op.precedence;
    }
    for (short& v : g_op_of_token) v = -1;
    for (const OpToken& t : kOperatorTokens) g_op_of_token[t.code] = static_cast<short>(t.op);
    g_table_ready = true;
}

const OperatorInfo& operator_info(int op_id) {
    if (!g_table_ready) init_operator_table();
    if (op_id < 0 || op_id >= OPERATOR_COUNT) op_id = OP_MUL;
    return g_operators[op_id];
}

bool level_is_right_to_left(int level) {
    if (!g_table_ready) init_operator_table();
    return level >= 0 && level <= HIGHEST_LEVEL && g_level_r[level];
}

int highest_level() {
    if (!g_table_ready) init_operator_table();
    return g_highest_level;
}

TokenDescriptor describe_token(TokenCode code) {
    if (!g_table_ready) init_operator_table();
    if (code >= 0 && code < kOpLookupSize && g_op_of_token[code] >= 0) {
        TokenDescriptor d = make_descriptor("", TC_OPERATOR);
        d.op_id = g_op_of_token[code];
        return d;
    }
    for (const LiteralToken& t : kLiteralTokens)
        if (t.code == code) return make_descriptor(t.name, TC_LITERAL);
    switch (code) {
        case TOK_OPEN_PAREN: return make_descriptor("start_paren", TC_OPERAND);
        case TOK_CLOSE_PAREN: return make_descriptor("end_paren", TC_OPERAND);
        case TOK_OPEN_BRACK: return make_descriptor("start_brack_1", TC_OPERAND);
        case TOK_CLOSE_BRACK: return make_descriptor("end_brack_1", TC_OPERAND);
        case TOK_OPEN_CURLY: return make_descriptor("start_brack_2", TC_OPERAND);
        case TOK_CLOSE_CURLY: return make_descriptor("end_brack_2", TC_OPERAND);
        case TOK_ANS: return make_descriptor("ans", TC_OPERAND);
        case TOK_PI: return make_descriptor("pi", TC_OPERAND);
        case TOK_RAND: return make_descriptor("rand_num", TC_OPERAND);
        case TOK_I: return make_descriptor("imaginary", TC_OPERAND);
        case TOK_E: return make_descriptor("e_constant", TC_OPERAND);
        case TOK_M_ANS: return make_descriptor("m_ans", TC_OPERAND);
        case TOK_L_ANS: return make_descriptor("l_ans", TC_OPERAND);
        default: break;
    }
    for (const StatToken& t : kStatTokens) {
        if (t.code == code) {
            TokenDescriptor d = make_descriptor(t.name, TC_STAT);
            d.stat_index = t.index;
            return d;
        }
    }
    auto memory_token = [](const char* name, int index, bool store) {
        TokenDescriptor d = make_descriptor(name, TC_OPERAND);
        d.param = index;
        if (store) d.op_id = OP_STORE;
        return d;
    };
    if (code >= 800 && code <= 899) return memory_token("m", code - 800, false);
    if (code >= 900 && code <= 999) return memory_token("save_m", code - 900, true);
    if (code >= 2000 && code <= 2109) return memory_token("m", code - 2000, false);
    if (code >= 3000 && code <= 3109) return memory_token("save_m", code - 3000, true);
    if (code >= TOK_SETTING_FIRST && code <= TOK_SETTING_LAST) {
        TokenDescriptor d = make_descriptor(kSettingNames[code - TOK_SETTING_FIRST], TC_SETTING);
        d.param = code - TOK_SETTING_FIRST;
        return d;
    }
    if (code >= TOK_UNIT_BASE && code < TOK_UNIT_BASE + 0x10000) {
        TokenDescriptor d = make_descriptor("", TC_UNIT);
        d.op_id = OP_UNIT;
        d.from_unit = (code - TOK_UNIT_BASE) & 0xFF;
        d.to_unit = ((code - TOK_UNIT_BASE) >> 8) & 0xFF;
        return d;
    }
    return make_descriptor("", TC_UNKNOWN);
}

void reset_prepared(PreparedExpression& prep) {
    prep.count = 0;
    prep.literal[0] = '\0';
    prep.literal_length = 0;
    prep.literal_in_progress = false;
}

const char* token_to_item(PreparedExpression& prep, TokenCode code) {
    TokenDescriptor d = describe_token(code);
    if (d.token_class == TC_OPERATOR && d.op_id == OP_NEG && prep.literal_in_progress) {
        append_literal_char(prep, "-");  // a negative exponent, as in 1e-5
        return "";
    }
    if (d.token_class == TC_LITERAL) {
        if (!prep.literal_in_progress) {
            prep.literal_in_progress = true;
            prep.literal_length = 0;
        }
        append_literal_char(prep, d.name);
        return "";
    }
    convert_pending_literal(prep);

    ExprItem item;
    switch (d.token_class) {
        case TC_OPERATOR:
            item = blank_item(IC_OPERATOR, VS_NONE);
            item.op_id = d.op_id;
            copy_bounded(item.text, operator_info(d.op_id).text, TEXT_SIZE);
            break;
        case TC_OPERAND:
            if (code == TOK_OPEN_PAREN || code == TOK_OPEN_BRACK || code == TOK_OPEN_CURLY) {
                item = blank_item(IC_OPEN, VS_NONE);
                item.bracket = code == TOK_OPEN_PAREN ? 1 : code == TOK_OPEN_BRACK ? 2 : 3;
                copy_bounded(item.text, item.bracket == 1 ? "(" : item.bracket == 2 ? "[" : "{",
                             TEXT_SIZE);
            } else if (code == TOK_CLOSE_PAREN || code == TOK_CLOSE_BRACK ||
                       code == TOK_CLOSE_CURLY) {
                item = blank_item(IC_CLOSE, VS_NONE);
                item.bracket = code == TOK_CLOSE_PAREN ? 1 : code == TOK_CLOSE_BRACK ? 2 : 3;
                copy_bounded(item.text, item.bracket == 1 ? ")" : item.bracket == 2 ? "]" : "}",
                             TEXT_SIZE);
            } else if (code == TOK_E || code == TOK_PI) {
                item = blank_item(IC_VALUE, VS_CONSTANT);
                item.value = code == TOK_E ? E_CONSTANT : PI_CONSTANT;
                copy_bounded(item.text, code == TOK_E ? "(e)" : "(pi)", TEXT_SIZE);
            } else if (code == TOK_ANS || code == TOK_M_ANS || code == TOK_L_ANS ||
                       code == TOK_RAND || code == TOK_I) {
                static const struct { TokenCode code; int sub; const char* text; } kNamed[] = {
                    {TOK_ANS, VS_ANS, "(Ans)"}, {TOK_M_ANS, VS_M_ANS, "(M_Ans)"},
                    {TOK_L_ANS, VS_L_ANS, "(L_Ans)"}, {TOK_RAND, VS_RAND, "(Rand)"},
                    {TOK_I, VS_IMAGINARY, "(i)"},
                };
                for (const auto& n : kNamed) {
                    if (n.code != code) continue;
                    item = blank_item(IC_VALUE, n.sub);
                    copy_bounded(item.text, n.text, TEXT_SIZE);
                }
            } else if (d.op_id == OP_STORE) {
                item = blank_item(IC_OPERATOR, VS_NONE);
                item.op_id = OP_STORE;
                item.param = d.param;
                copy_bounded(item.text, "save_m", TEXT_SIZE);
                append_bounded(item.text, variable_name(d.param), TEXT_SIZE);
            } else {
                item = blank_item(IC_VALUE, VS_MEMORY);
                item.param = d.param;
                copy_bounded(item.text, variable_name(d.param), TEXT_SIZE);
            }
            break;
        case TC_STAT:
            item = blank_item(IC_VALUE, VS_STAT);
            item.stat_index = d.stat_index;
            copy_bounded(item.text, d.name, TEXT_SIZE);
            break;
        case TC_UNIT: {
            item = blank_item(IC_OPERATOR, VS_NONE);
            item.op_id = OP_UNIT;
            const char* from_name = "";
            const char* to_name = "";
            if (!g_hooks.unit_record(d.from_unit, &item.unit_factor_from, &item.unit_offset_from,
                                     &from_name) ||
                !g_hooks.unit_record(d.to_unit, &item.unit_factor_to, &item.unit_offset_to,
                                     &to_name)) {
                raise_error(ERR_UNEXPECTED, "Unit not defined", "token_to_item");
            }
            std::snprintf(item.text, TEXT_SIZE, "(%s>%s)", from_name, to_name);
            break;
        }
        case TC_SETTING:
            item = blank_item(IC_VALUE, VS_SETTING);
            item.param = d.param;
            std::snprintf(item.text, TEXT_SIZE, "(%s)", d.name);
            break;
        default:
            return "";  // not an expression token
    }
    ExprItem* added = append_item(prep, item);
    return added ? added->text : "";
}

void finish_items(PreparedExpression& prep) { convert_pending_literal(prep); }

ExprItem convert_number_string(const char* literal) {
    ExprItem item = blank_item(IC_NUMBER, VS_CONSTANT);
    const char* fn = "convert_number_string";
    if (g_settings.calculator_mode != MODE_BASE_N) {
        char text[TEXT_SIZE + 1];
        if (literal[0] == 'e') {
            text[0] = '1';
            std::snprintf(text + 1, TEXT_SIZE, "%s", literal);
        } else {
            std::snprintf(text, TEXT_SIZE, "%s", literal);
        }
        char* end = nullptr;
        double value = std::strtod(text, &end);
        if (std::isinf(value)) {
            raise_error(ERR_OVERFLOW, "String to float conversion problem", fn);
            value = 0.0;
        } else if (end == text || *end != '\0') {
            raise_error(ERR_SYNTAX, "String to number conversion problem", fn);
        }
        item.value = value;
        copy_bounded(item.text, text, TEXT_SIZE);
        if (g_settings.decimal_mark == 1)
            for (char* p = item.text; *p; ++p)
                if (*p == '.') *p = ',';
        return item;
    }
    char digits[TEXT_SIZE];
    std::snprintf(digits, sizeof digits, "%s", literal);
    std::size_t len = std::strlen(digits);
    int radix = 0;
    static const int kRadixOfSetting[] = {2, 8, 10, 16};
    int setting = g_settings.base_mode;
    radix = (setting >= 0 && setting <= 3) ? kRadixOfSetting[setting] : 10;
    auto radix_of_suffix = [](char c) {
        return c == 'b' ? 2 : c == 'd' ? 10 : c == 'h' ? 16 : c == 'o' ? 8 : 0;
    };
    for (std::size_t k = 0; k + 1 < len; ++k) {
        if (radix_of_suffix(digits[k])) {
            raise_error(ERR_SYNTAX, "String to long conversion problem", fn);
            return item;
        }
    }
    if (len > 0 && radix_of_suffix(digits[len - 1])) {
        radix = radix_of_suffix(digits[len - 1]);
        digits[--len] = '\0';
        if (len == 0) {
            raise_error(ERR_SYNTAX, "No number to convert", fn);
            return item;
        }
    }
    copy_bounded(item.text, literal, TEXT_SIZE);
    if (len == 0) {
        raise_error(ERR_SYNTAX, "String to number conversion problem", fn);
        return item;
    }
    // Digits beyond the radix stop the conversion early and are caught below.
    for (std::size_t k = 0; k < len; ++k) {
        char c = digits[k];
        if (c == '-' || c == '+' || c == ' ') {
            raise_error(ERR_SYNTAX, "String to number conversion problem", fn);
            return item;
        }
    }
    errno = 0;
    char* end = nullptr;
    unsigned long long value = std::strtoull(digits, &end, radix);
    if (end != digits + len) {
        raise_error(ERR_SYNTAX, "String to number conversion problem", fn);
        return item;
    }
    if (errno == ERANGE || value > 0xFFFFFFFFull) {
        raise_error(ERR_OVERFLOW, "Base-n literal exceeds 32 bits", fn);
        return item;
    }
    item.value = static_cast<double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(value)));
    return item;
}

}  // namespace qx

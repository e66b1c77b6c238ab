#include "panel/legend_names.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "engine/hooks.h"
#include "engine/memory.h"

namespace qx {

namespace {

struct CharNames {
    char names[256][12];
    CharNames() {
        for (int c = 0; c < 256; ++c) std::snprintf(names[c], sizeof names[c], "U_ASCII_%d", c);
    }
};
const CharNames& char_names() {
    static const CharNames table;
    return table;
}

const char* const kDigitNames[10] = {"0_dig", "1_dig", "2_dig", "3_dig", "4_dig",
                                     "5_dig", "6_dig", "7_dig", "8_dig", "9_dig"};
const char* const kHexNames[6] = {"hex_A", "hex_B", "hex_C", "hex_D", "hex_E", "hex_F"};

struct Collector {
    const char** out;
    int count = 0;
    void add(const char* name) {
        // The bare unit-conversion operator has no name of its own: its
        // legends come from the two unit names.
        if (name && *name && count < MAX_TOKEN_LEGENDS) out[count++] = name;
    }
    void spell(const char* text) {
        for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p)
            add(char_legend(*p));
    }
};

}  // namespace

bool char_has_legend(unsigned char c) {
    return c >= 25 && c <= 173 && c != 127 && !(c >= 129 && c <= 143);
}

const char* char_legend(unsigned char c) {
    return char_names().names[char_has_legend(c) ? c : '?'];
}

const char* mapped_char_legend(unsigned char c) {
    if (c >= '0' && c <= '9') return kDigitNames[c - '0'];
    if (c >= 'A' && c <= 'F') return kHexNames[c - 'A'];
    switch (c) {
        case '.': return "decimal";
        case ',': return "U_ASCII_44";
        case '-': return "neg";
        case '_': return "underline";
        case 'b': return "base_bin";
        case 'd': return "base_dec";
        case 'h': return "base_hex";
        case 'o': return "base_oct";
        case 'e': return "Exp";
        default: return char_legend(c);
    }
}

const char* text_char_legend(unsigned char c) {
    if ((c >= '0' && c <= '9') || c == '.' || c == ',' || c == '_') return mapped_char_legend(c);
    return char_legend(c);
}

int token_legends(TokenCode code, int decimal_mark, const char* out[MAX_TOKEN_LEGENDS]) {
    Collector c{out};
    const TokenDescriptor d = describe_token(code);
    switch (d.token_class) {
        case TC_OPERATOR: {
            const OperatorInfo& op = operator_info(d.op_id);
            if (op.kind == KIND_MULTI_FUNCTION || op.kind == KIND_FUNCTION ||
                op.kind == KIND_VAR_FUNCTION) {
                if (op.flags & FLAG_A) c.spell(op.name);
                else c.add(op.name);
                c.add(char_legend('('));
            } else if (d.op_id == OP_COMMA && decimal_mark == 1) {
                c.add("decimal");
            } else {
                c.add(op.name);
            }
            break;
        }
        case TC_OPERAND:
            if (d.op_id == OP_STORE) {
                c.add("save_m");
                c.spell(variable_name(d.param));
            } else if (std::strcmp(d.name, "m") == 0) {
                c.spell(variable_name(d.param));
            } else {
                c.add(d.name);
            }
            break;
        case TC_LITERAL: {
            const unsigned char ch = static_cast<unsigned char>(d.name[0]);
            if (ch == '.' && decimal_mark == 1) c.add(char_legend(','));
            else c.add(mapped_char_legend(ch));
            break;
        }
        case TC_STAT:
            c.add(d.name);
            break;
        case TC_SETTING:
            c.spell(d.name);
            break;
        case TC_UNIT: {
            double factor = 1, offset = 0;
            const char* from = "";
            const char* to = "";
            if (!g_hooks.unit_record(d.from_unit, &factor, &offset, &from)) from = "?";
            if (!g_hooks.unit_record(d.to_unit, &factor, &offset, &to)) to = "?";
            c.add(char_legend('('));
            c.spell(from);
            c.add(char_legend(0x80));
            c.spell(to);
            c.add(char_legend(')'));
            break;
        }
        default:
            break;
    }
    return c.count;
}

std::vector<std::string> all_legend_names() {
    std::vector<std::string> names;
    const char* legends[MAX_TOKEN_LEGENDS];
    auto add_token = [&](TokenCode code) {
        for (int mark = 0; mark < 2; ++mark) {
            int n = token_legends(code, mark, legends);
            for (int k = 0; k < n; ++k) names.emplace_back(legends[k]);
        }
    };
    for (TokenCode code = 0; code < 2000; ++code) add_token(code);
    for (TokenCode code = 2000; code <= 2109; ++code) add_token(code);
    for (TokenCode code = 3000; code <= 3109; ++code) add_token(code);
    for (int c = 0; c < 256; ++c)
        if (char_has_legend(static_cast<unsigned char>(c)))
            names.emplace_back(char_legend(static_cast<unsigned char>(c)));
    for (const char* ch = "0123456789.,-_ABCDEFbdhoe"; *ch; ++ch)
        names.emplace_back(mapped_char_legend(static_cast<unsigned char>(*ch)));
    static const char* const kOthers[] = {
        // display and listing arrows
        "left_arrow", "right_arrow", "up_arrow", "down_arrow", "LOWER_LEFT_BUTTON",
        "LOWER_RIGHT_BUTTON",
        // read-out glyphs
        "SMALL_0", "SMALL_1", "SMALL_2", "SMALL_3", "SMALL_4", "SMALL_5", "SMALL_6", "SMALL_7",
        "SMALL_8", "SMALL_9", "SMALL_DP", "SMALL_COMMA", "SMALL_MINUS", "SMALL_EQUAL", "SMALL_E",
        // read-out labels
        "SMALL_XMIN", "SMALL_XMAX", "SMALL_YMIN", "SMALL_YMAX", "SMALL_XDIV", "SMALL_YDIV",
        "SMALL_CALC_SLOPE", "SMALL_XTRACE", "SMALL_YTRACE", "SMALL_THETA", "SMALL_RTRACE",
        "SMALL_T", "SMALL_XTTRACE", "SMALL_YTTRACE", "SMALL_X_3D", "SMALL_Y_3D", "SMALL_Z_3D",
        "SMALL_R_3D", "SMALL_THETA_3D", "SMALL_THETA_A_3D", "SMALL_THETA_B_3D",
        "SMALL_CALC_VALUE", "SMALL_CALC_ROOT", "SMALL_CALC_MINIMUM", "SMALL_CALC_MAXIMUM",
        "SMALL_CALC_INTERSECT",
        // read-out error labels
        "SMALL_OVERFLOW", "SMALL_DIV_BY_ZERO", "SMALL_DOMAIN", "SMALL_SYNTAX_ERROR",
        "SMALL_NO_DATA", "SMALL_DATA_TYPE", "SMALL_NO_ROOT_FOUND", "SMALL_NO_INTERSECT_FOUND",
        "SMALL_UNDEFINED", "SMALL_ERROR",
        // plot function colours, trace LEDs, the pan brush
        "BLUE_BOX", "RED_BOX", "GREEN_BOX", "PURPLE_BOX", "ORANGE_BOX", "TEAL_BOX",
        "GREEN_TRACE_LED", "GREY_TRACE_LED", "CHECKERED_BRUSH",
    };
    for (const char* n : kOthers) names.emplace_back(n);
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

std::vector<std::string> all_picture_names() {
    static const char* const kPictures[] = {
        // faces
        "BACKGROUND_GIF", "CALCULATOR_GIF", "BASE_CALCULATOR_GIF", "STAT_CALCULATOR_GIF",
        "PROG_CALCULATOR_GIF", "PLOT_CALCULATOR_FUNCTION_GIF", "PLOT_CALCULATOR_3D_GIF",
        "PERIODIC_GIF", "MATRIX_GIF", "LIST_GIF", "PLOT_SAMPLE_GIF", "ALPHA_ENTRY_GIF",
        // mode-button legends
        "ENUN_COMP", "ENUN_BASE", "ENUN_STATS", "ENUN_MATRIX", "ENUN_LIST", "ENUN_BASE_DARK",
        "ENUN_STATS_DARK", "ENUN_MATRIX_DARK", "ENUN_LIST_DARK",
        // keys
        "SMALL_BUTTON_GIF", "SMALL_LIGHT_BUTTON_GIF", "SMALL_DOT_BUTTON_GIF", "COMMA_BUTTON_GIF",
        "AC_BUTTON_GIF", "RED_AC_BUTTON_GIF", "MATRIX_BUTTON_GIF", "STATS_BUTTON_GIF",
        "RUN_BUTTON_GIF", "STOP_BUTTON_GIF", "BLUE_SHIFT_BUTTON_GIF", "BLUE_DOT_BUTTON_GIF",
        "ORANGE_SHIFT_BUTTON_GIF", "ORANGE_DOT_BUTTON_GIF", "HYP_BUTTON_GIF",
        "WHITE_DOT_BUTTON_GIF", "ALPHA_SHIFT_BUTTON", "DOT_ALPHA_SHIFT_BUTTON",
        // indicators and LEDs
        "8_BIT_GIF", "16_BIT_GIF", "32_BIT_GIF", "BIN_GIF", "OCT_GIF", "DEC_GIF", "HEX_GIF",
        "RAD_GIF", "DEG_GIF", "GRAD_GIF", "1_VAR_GIF", "2_VAR_GIF", "LINR_GIF", "LOGR_GIF",
        "EXPR_GIF", "POWR_GIF", "GREEN_LED_GIF", "RED_LED_GIF",
        // alpha-entry prompts
        "ALPHA_PROGRAM_NAME", "ALPHA_INPUT_PROMPT", "ALPHA_OUTPUT_TEXT_LABEL",
        "ALPHA_OUTPUT_TEXT", "ALPHA_MENU_ITEM", "ALPHA_MENU_TITLE", "ALPHA_CONSTANT_NAME",
        "ALPHA_CONSTANT_UNIT",
        // editor tabs
        "MATRIX_A", "MATRIX_B", "MATRIX_C", "MATRIX_D", "MATRIX_E", "MATRIX_F", "MATRIX_G",
        "MATRIX_H", "MATRIX_I", "MATRIX_J", "MATRIX_ANS",
        // plot setup pictures
        "FUNCTION", "POLAR", "PARAMETRIC", "CARTESIAN", "CYLINDRICAL", "SPHERICAL",
    };
    return std::vector<std::string>(std::begin(kPictures), std::end(kPictures));
}

}  // namespace qx

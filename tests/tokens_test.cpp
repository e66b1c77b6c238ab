// The token catalogue, the operator table and literal conversion.
#include <gtest/gtest.h>

#include "tests/helpers.h"

namespace qx::test {
namespace {

class TokensTest : public EngineTest {};

TEST_F(TokensTest, OperatorTableIsSortedAndComplete) {
    for (int id = 0; id < OPERATOR_COUNT; ++id) {
        EXPECT_EQ(operator_info(id).id, id);
        EXPECT_LE(operator_info(id).precedence, HIGHEST_LEVEL);
    }
    EXPECT_EQ(highest_level(), 13);
    EXPECT_TRUE(level_is_right_to_left(0));
    EXPECT_TRUE(level_is_right_to_left(12));
    for (int level : {1, 3, 5, 6, 13}) EXPECT_FALSE(level_is_right_to_left(level));
    EXPECT_STREQ(operator_info(70).text, "SVL(");
    EXPECT_TRUE(operator_info(45).flags & FLAG_I);
    EXPECT_TRUE(operator_info(60).flags & FLAG_M);
}

TEST_F(TokensTest, DescribesTheCatalogue) {
    const struct { TokenCode code; int cls; int op; int param; int stat; } cases[] = {
        {38, TC_LITERAL, NO_OPERATOR, 0, NO_STAT}, {31, TC_OPERATOR, 0, 0, NO_STAT},
        {17, TC_OPERATOR, 16, 0, NO_STAT}, {1204, TC_OPERATOR, 60, 0, NO_STAT},
        {1999, TC_OPERATOR, 132, 0, NO_STAT}, {607, TC_OPERATOR, 54, 0, NO_STAT},
        {859, TC_OPERAND, NO_OPERATOR, 59, NO_STAT}, {2105, TC_OPERAND, NO_OPERATOR, 105, NO_STAT},
        {3090, TC_OPERAND, OP_STORE, 90, NO_STAT}, {1016, TC_STAT, NO_OPERATOR, 0, 20},
        {1107, TC_STAT, NO_OPERATOR, 0, 17}, {1412, TC_SETTING, NO_OPERATOR, 12, NO_STAT},
        {65536 + 0x0201, TC_UNIT, OP_UNIT, 0, NO_STAT}, {2, TC_UNKNOWN, NO_OPERATOR, 0, NO_STAT},
        {26, TC_UNKNOWN, NO_OPERATOR, 0, NO_STAT}, {-5, TC_UNKNOWN, NO_OPERATOR, 0, NO_STAT},
    };
    for (const auto& c : cases) {
        TokenDescriptor d = describe_token(c.code);
        EXPECT_EQ(d.token_class, c.cls) << c.code;
        EXPECT_EQ(d.op_id, c.op) << c.code;
        EXPECT_EQ(d.param, c.param) << c.code;
        EXPECT_EQ(d.stat_index, c.stat) << c.code;
    }
    TokenDescriptor unit = describe_token(65536 + 0x0201);
    EXPECT_EQ(unit.from_unit, 1);
    EXPECT_EQ(unit.to_unit, 2);
}

TEST_F(TokensTest, LiteralsConvert) {
    const struct { const char* text; double value; int error; } cases[] = {
        {"2e-5", 2e-5, -1}, {"e3", 1000, -1}, {"1.5", 1.5, -1}, {"1e400", 0, ERR_OVERFLOW},
        {"5-3", 5, ERR_SYNTAX}, {"1.2.3", 1.2, ERR_SYNTAX}, {".", 0, ERR_SYNTAX},
    };
    for (const auto& c : cases) {
        clear_error();
        ExprItem item = convert_number_string(c.text);
        EXPECT_EQ(error_pending() ? error_code() : -1, c.error) << c.text;
        if (c.error < 0) {
            EXPECT_EQ(item.value, c.value) << c.text;
        }
    }
    clear_error();
    g_settings.decimal_mark = 1;
    EXPECT_STREQ(convert_number_string("1.5").text, "1,5");
}

TEST_F(TokensTest, ItemTextsAndNames) {
    PreparedExpression prep;
    reset_prepared(prep);
    EXPECT_STREQ(token_to_item(prep, TOK_ANS), "(Ans)");
    EXPECT_STREQ(token_to_item(prep, 910), "save_mA");
    EXPECT_STREQ(token_to_item(prep, 1425), "(f1(x))");
    EXPECT_STREQ(token_to_item(prep, 3), "(");
    EXPECT_STREQ(variable_name(0), "R0");
    EXPECT_STREQ(variable_name(35), "Z");
    EXPECT_STREQ(variable_name(36), "a");
    EXPECT_EQ(static_cast<unsigned char>(variable_name(69)[0]), 0x97);  // theta
    EXPECT_STREQ(greek_spelling(69), "theta");
    // The letters after omega match the display font: capital pi (the
    // product sign) and the open phi of the spherical angle.
    EXPECT_STREQ(greek_spelling(62 + 0xA8 - 0x90), "Pi");
    EXPECT_STREQ(greek_spelling(62 + 0xA9 - 0x90), "varphi");
    EXPECT_STREQ(variable_name(99), "[J]");
    EXPECT_STREQ(variable_name(100), "LA");
    EXPECT_STREQ(variable_name(110), "");
}

TEST_F(TokensTest, MemoryPartsAreChecked) {
    memory_set(3.5, 1, 4);
    EXPECT_EQ(memory_get(4, 1), 3.5);
    EXPECT_FALSE(error_pending());
    memory_get(4, 2);
    EXPECT_EQ(error_code(), ERR_UNEXPECTED);
    EXPECT_STREQ(error_detail(), "Memory constant type not defined, memory_get");
}

TEST_F(TokensTest, UnknownSettingNumberIsInternalError) {
    ConstantValue v = get_constant(VS_SETTING, 0, 43, NO_STAT);
    EXPECT_EQ(v.re, 0);
    EXPECT_EQ(error_code(), ERR_UNEXPECTED);
}

}  // namespace
}  // namespace qx::test

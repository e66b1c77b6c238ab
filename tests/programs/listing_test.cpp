// The instruction table and the one-line texts the editor lists statements by.
#include <cstring>
#include <string>
#include <vector>

#include "programs/listing.h"
#include "programs/program_fixture.h"

namespace qx::test {
namespace {

class Listing : public ProgramTest {};

// The codes whose entry carries a flag, read off the instruction table.
std::vector<int> codes_with(bool InstructionInfo::*flag) {
    std::vector<int> codes;
    for (int k = 0; k < INSTRUCTION_COUNT; ++k)
        if (instruction_info(k).*flag) codes.push_back(k);
    return codes;
}

TEST_F(Listing, InstructionTable) {
    const struct { int code; const char* name; } kNames[] = {
        {0, "if"}, {11, "<express>"}, {15, "in f()"}, {20, "Ans = Stats x[index]"},
        {29, "BASE-n Mode"}, {37, "8 bit Base-n"}, {43, "Clear Input Buffer"}, {50, "Ans = System Tick"},
        {51, "Menu"}, {53, "Menu"}, {59, "Program Description"}, {66, "Plot t step = Ans"},
        {67, "Complex Format"}, {68, "?"}, {-1, "?"},
    };
    for (const auto& c : kNames) EXPECT_STREQ(instruction_info(c.code).name, c.name) << c.code;
    EXPECT_EQ(codes_with(&InstructionInfo::condition), (std::vector<int>{0, 3}));
    EXPECT_EQ(codes_with(&InstructionInfo::operand0),
              (std::vector<int>{0, 3, 4, 9, 10, 14, 19, 20, 21, 22, 23, 48, 49, 67}));
    EXPECT_EQ(codes_with(&InstructionInfo::operand1), (std::vector<int>{0, 3}));
    EXPECT_EQ(codes_with(&InstructionInfo::label), (std::vector<int>{7, 8, 41, 51, 53}));
    std::vector<int> extra;
    for (int k = 0; k < INSTRUCTION_COUNT; ++k) extra.push_back(instruction_info(k).extra);
    EXPECT_EQ(extra[10], 1);
    EXPECT_EQ(extra[15], 256);
    EXPECT_EQ(extra[16], 256);
    int others = 0;
    for (int e : extra) others += e != 0;
    EXPECT_EQ(others, 3);
    EXPECT_FALSE(valid_instruction(68));
    EXPECT_TRUE(valid_instruction(67));
    const char* const kConditions[] = {"=", "!=", "<", ">", ">=", "<=", "?"};
    for (int k = 0; k < 7; ++k) EXPECT_STREQ(condition_symbol(k), kConditions[k]);
    EXPECT_STREQ(condition_symbol(-1), "?");
}

struct Row {
    int instruction;
    int condition, operand0, operand1, label, function, pause;
    const char* text;
    const char* listed;
};

// Variables: A is 10, B 11, Z 35, z 61; Ans-coded operands are one more,
// if/while right operands two more.  Labels name variable label + 10.
const Row kRows[] = {
    {INS_IF, 2, 11, 13, 0, 0, 0, "", "if (A < B)"},
    {INS_WHILE, 1, 0, 0, 0, 0, 0, "", "while (Ans != 0)"},
    {INS_IF, 4, 1, 1, 0, 0, 0, "", "if (R0 >= Ans)"},
    {INS_WHILE, 5, 62, 37, 0, 0, 0, "", "while (z <= Z)"},
    {INS_LOOP, 0, 10, 0, 0, 0, 0, "", "loop A"},
    {INS_CALL, 0, 0, 0, 0, 0, 0, "Name", "call Name"},
    {INS_LABEL, 0, 0, 0, 1, 0, 0, "", "label B"},
    {INS_GOTO, 0, 0, 0, 1, 0, 0, "", "goto label B"},
    {INS_GOSUB, 0, 0, 0, 51, 0, 0, "", "gosub label z"},
    {INS_IN, 0, 10, 0, 0, 0, 0, "Length", "in A, \"Length\""},
    {INS_IN, 0, 0, 0, 0, 0, 0, "", "in R0"},
    {INS_OUT, 0, 11, 0, 0, 0, 1, "x", "out A (p), \"x\""},
    {INS_OUT, 0, 0, 0, 0, 0, 0, "", "out Ans"},
    {INS_OUT, 0, 0, 0, 0, 0, 1, "", "out Ans (p)"},
    {INS_OUT, 0, 2, 0, 0, 0, 0, "Sum", "out R1, \"Sum\""},
    {INS_TEXT, 0, 0, 0, 0, 0, 0, "Hi", "text \"Hi\""},
    {INS_FOUT, 0, 0, 0, 0, 0, 0, "", "fout Ans"},
    {INS_FOUT, 0, 62, 0, 0, 0, 0, "", "fout z"},
    {INS_IN_FUNCTION, 0, 0, 0, 0, 1, 0, "g?", "in f2(), \"g?\""},
    {INS_IN_FUNCTION, 0, 0, 0, 0, 9, 0, "", "in f10()"},
    {INS_FUNCTION, 0, 0, 0, 0, 2, 0, "", "f3()"},
    {INS_ENTER_STATS, 0, 0, 0, 0, 0, 0, "", "Enter Stats Data Ans"},
    {INS_ENTER_STATS, 0, 36, 0, 0, 0, 0, "", "Enter Stats Data Z"},
    {INS_GET_X, 0, 10, 0, 0, 0, 0, "", "Ans = Stats x[A]"},
    {INS_PUT_X, 0, 0, 0, 0, 0, 0, "", "Stats x[R0] = Ans"},
    {INS_GET_Y, 0, 11, 0, 0, 0, 0, "", "Ans = Stats y[B]"},
    {INS_PUT_Y, 0, 35, 0, 0, 0, 0, "", "Stats y[Z] = Ans"},
    {INS_PRECISION, 0, 4, 0, 0, 0, 0, "", "Precision 4"},
    {INS_DECIMAL_MARK, 0, 0, 0, 0, 0, 0, "", "Decimal Mark Dot(.)"},
    {INS_DECIMAL_MARK, 0, 1, 0, 0, 0, 0, "", "Decimal Mark Comma(,)"},
    {INS_DECIMAL_MARK, 0, 2, 0, 0, 0, 0, "", "Decimal Mark 1,000,000.0"},
    {INS_DECIMAL_MARK, 0, 3, 0, 0, 0, 0, "", "Decimal Mark 1.000.000,0"},
    {INS_MENU_ITEM, 0, 0, 0, 1, 0, 0, "More", "Menu B, \"More\""},
    {INS_MENU_TITLE, 0, 0, 0, 0, 0, 0, "Title", "Menu \"Title\""},
    {INS_COMPLEX_FORMAT, 0, 0, 0, 0, 0, 0, "", "Complex Format (Real only)"},
    {INS_COMPLEX_FORMAT, 0, 1, 0, 0, 0, 0, "", "Complex Format (a+bi)"},
    {INS_COMPLEX_FORMAT, 0, 2, 0, 0, 0, 0, "", "Complex Format (polar)"},
    {INS_STOP, 0, 0, 0, 0, 0, 0, "", "stop"},
    {INS_MENU_DISPLAY, 0, 0, 0, 0, 0, 0, "", "Menu Display"},
    {INS_PLOT_TSTEP, 0, 0, 0, 0, 0, 0, "", "Plot t step = Ans"},
    {INS_DESCRIPTION, 0, 0, 0, 0, 0, 0, "", "Program Description"},
    {INS_EXPRESS, 0, 0, 0, 0, 0, 0, "", ""},
};

Statement statement_of(const Row& r) {
    Statement s = blank_statement(r.instruction);
    s.condition = r.condition;
    s.operand0 = r.operand0;
    s.operand1 = r.operand1;
    s.label = r.label;
    s.function = r.function;
    s.pause = static_cast<std::uint8_t>(r.pause);
    std::strcpy(s.text, r.text);
    return s;
}

TEST_F(Listing, StatementTexts) {
    for (const Row& r : kRows) {
        g_program.statements[0] = statement_of(r);
        g_program.count = 1;
        EXPECT_EQ(statement_listing_text(g_program, 0), r.listed);
    }
    EXPECT_TRUE(world().boxes.empty());
    EXPECT_EQ(statement_listing_text(g_program, 1), "");
    EXPECT_EQ(statement_listing_text(g_program, -1), "");
}

TEST_F(Listing, SettingsOutsideTheirTablesAreNotDefined) {
    g_program.count = 1;
    g_program.statements[0] = blank_statement(INS_DECIMAL_MARK);
    g_program.statements[0].operand0 = 4;
    EXPECT_EQ(statement_listing_text(g_program, 0), "");
    g_program.statements[0] = blank_statement(INS_COMPLEX_FORMAT);
    g_program.statements[0].operand0 = -1;
    EXPECT_EQ(statement_listing_text(g_program, 0), "");
    EXPECT_EQ(world().boxes, (std::vector<std::string>{"Not defined: Decimal Mark not defined",
                                                         "Not defined: Complex Format not defined"}));
}

TEST_F(Listing, EndNamesTheBlockItCloses) {
    const int kCodes[] = {INS_WHILE, INS_IF, INS_ELSE, INS_LOOP, INS_END, INS_END, INS_END, INS_END};
    g_program.count = 0;
    for (int code : kCodes) g_program.statements[g_program.count++] = blank_statement(code);
    EXPECT_EQ(statement_listing_text(g_program, 4), "end loop");
    EXPECT_EQ(statement_listing_text(g_program, 5), "end if");
    EXPECT_EQ(statement_listing_text(g_program, 6), "end while");
    EXPECT_EQ(statement_listing_text(g_program, 7), "end ?");
    EXPECT_EQ(end_partner_name(g_program, 0), "?");
}

TEST_F(Listing, OperandNamesOutsideTheirTables) {
    EXPECT_EQ(program_variable_text(89), variable_name(89));
    EXPECT_EQ(program_variable_text(90), "?");
    EXPECT_EQ(program_variable_text(-1), "?");
    EXPECT_EQ(ans_or_variable_text(90), variable_name(89));
    EXPECT_EQ(ans_or_variable_text(91), "?");
    EXPECT_EQ(right_operand_text(91), variable_name(89));
    EXPECT_EQ(right_operand_text(92), "?");
    EXPECT_EQ(label_text(79), variable_name(89));
    EXPECT_EQ(label_text(80), "?");
}

}  // namespace
}  // namespace qx::test

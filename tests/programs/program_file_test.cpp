// The program file form: byte-exact writing, reading back, every refusal of
// a damaged or newer file, and the load / save / delete paths around it.
#include <cstring>
#include <string>
#include <vector>

#include "programs/program_fixture.h"

namespace qx::test {
namespace {

const char* const kRevision =
    "Error: This program requires a more recent revision of Quorix in order to load.";

// A file of program "P": the N and V lines, then the body with "|" for CR LF.
std::string file(const std::string& body, const char* version = "1.1") {
    std::string text = std::string("N: P\r\nV: ") + version + "\r\n";
    for (char c : body) text += (c == '|') ? std::string("\r\n") : std::string(1, c);
    return text + "\r\n";
}

int read(const std::string& text, bool built_in = false, bool report = true) {
    return read_program_text(g_program, text.data(), text.size(), built_in, report);
}

std::vector<TokenCode> tokens_of(const Program& p, int index) {
    int count = 0;
    const TokenCode* t = statement_tokens(p, p.statements[index], &count);
    return t ? std::vector<TokenCode>(t, t + count) : std::vector<TokenCode>{};
}

// The written form of T1, typed out by hand.
const char kT1[] = "N: T1\r\nV: 1.1\r\nI: 9\r\n0: 10\r\nI: 11\r\nE: 810,31,34,\r\nI: 10\r\nP: 1\r\nI: 12\r\n";

class ProgramFile : public ProgramTest {};

TEST_F(ProgramFile, WritesT1ByteForByteAndReadsItBack) {
    std::strcpy(g_program.name, "T1");
    g_program.statements[0] = blank_statement(INS_IN);
    g_program.statements[0].operand0 = 10;   // A
    g_program.statements[1] = blank_statement(INS_EXPRESS);
    const int slot = allocate_expression_slot(g_program);
    ASSERT_EQ(slot, 1);
    const TokenCode a_times_2[] = {810, 31, 34};
    std::memcpy(g_program.slots[slot].tokens, a_times_2, sizeof a_times_2);
    g_program.slots[slot].count = 3;
    g_program.statements[1].expression = slot;
    g_program.statements[2] = blank_statement(INS_OUT);
    g_program.statements[2].pause = 1;
    g_program.statements[3] = blank_statement(INS_STOP);
    g_program.count = 4;
    EXPECT_EQ(write_program_text(g_program), kT1);

    ASSERT_EQ(read(kT1), 4);
    EXPECT_EQ(tokens_of(g_program, 1), (std::vector<TokenCode>{810, 31, 34}));
    EXPECT_EQ(write_program_text(g_program), kT1);
    EXPECT_TRUE(world().boxes.empty());
}

TEST_F(ProgramFile, VersionsUpToOnePointOneLoad) {
    const struct { const char* version; bool loads; } kCases[] = {
        {"1.1", true}, {"1.0", true}, {"1", true}, {"1.10", true}, {"0.9", true},
        {"1.2", false}, {"1.11", false}, {"2", false}, {"2.0", false},
    };
    for (const auto& c : kCases) {
        world().boxes.clear();
        EXPECT_EQ(read(file("I: 12", c.version)), c.loads ? 1 : -1) << c.version;
        EXPECT_EQ(world().boxes, c.loads ? std::vector<std::string>{} : std::vector<std::string>{kRevision})
            << c.version;
    }
    // The built-in text is ours: its version line is not looked at.
    EXPECT_EQ(read(file("I: 12", "1.2"), true), 1);
}

TEST_F(ProgramFile, RefusedFilesLeaveTheProgramResetWithOneBox) {
    std::string many_tokens = "I: 11|E: ";
    for (int k = 0; k < 101; ++k) many_tokens += "1,";
    // line: the file line of the "Code Error" box (the N and V lines are 1
    // and 2); 0 for the revision box.
    const struct { std::string body; int line; } kCases[] = {
        {"I: 68", 0},
        {"I: -1", 0},
        {"I: 12|I: 11|E: 5,|I: 68", 0},
        {"T: Hi", 3},                 // fields before any statement
        {"E: 1,", 3},
        {"0: 1", 3},
        {"P: 1", 3},
        {"I: 11|E: 1,|E: 2,", 5},
        {"I:", 3},                    // shorter than 3
        {"X: 1", 3},
        {"V: abc", 3},
        {"I: x", 3},
        {"I: 12 ", 3},
        {"I: 9|0: 1.5", 4},
        {"I: 13|C: 2147483648", 4},
        {"I: 13|C: ", 4},
        {"I: 11|E: 1,a,", 4},
        {"I: 11|E: 1,,", 4},
        {many_tokens, 4},
        // operand tables of the instructions that use them
        {"I: 9|0: 90", 4},            // in: variables 0..89
        {"I: 4|0: 90", 4},            // loop
        {"I: 20|0: 90", 4},
        {"I: 21|0: -1", 4},
        {"I: 22|0: 90", 4},
        {"I: 23|0: 90", 4},
        {"I: 10|0: 91", 4},           // out: Ans or 1..90
        {"I: 14|0: 91", 4},           // fout
        {"I: 19|0: 91", 4},           // Enter Stats Data
        {"I: 0|0: 91", 4},            // if, left
        {"I: 3|1: 92", 4},            // while, right: 0, Ans or 2..91
        {"I: 0|C: 6", 4},
        {"I: 3|C: -1", 4},
        {"I: 15|F: 10", 4},           // in f(): f1..f10
        {"I: 16|F: -1", 4},
        {"I: 7|L: 80", 4},            // labels 0..79
        {"I: 8|L: 80", 4},
        {"I: 41|L: -1", 4},
        {"I: 51|L: 80", 4},
        {"I: 48|0: 11", 4},           // Precision 0..10
        {"I: 49|0: 4", 4},            // Decimal Mark 0..3
        {"I: 67|0: 3", 4},            // Complex Format 0..2
    };
    for (const auto& c : kCases) {
        world().boxes.clear();
        g_program.count = 5;
        std::strcpy(g_program.description, "old");
        g_program.slots[7].in_use = 1;
        EXPECT_EQ(read(file(c.body)), -1) << c.body;
        EXPECT_EQ(g_program.count, 0) << c.body;
        EXPECT_STREQ(g_program.description, "") << c.body;
        for (int k = 1; k < EXPRESSION_SLOT_COUNT; ++k) EXPECT_FALSE(g_program.slots[k].in_use) << c.body;
        const std::string box =
            c.line ? "Error: Code Error (file line " + std::to_string(c.line) + ")" : std::string(kRevision);
        EXPECT_EQ(world().boxes, std::vector<std::string>{box}) << c.body;
    }
}

TEST_F(ProgramFile, HighestOperandsOfEachTableLoad) {
    const char* const kBodies[] = {
        "I: 9|0: 89", "I: 10|0: 90", "I: 0|C: 5|0: 90|1: 91", "I: 15|F: 9", "I: 51|L: 79",
        "I: 48|0: 10", "I: 49|0: 3", "I: 67|0: 2",
        "I: 12|0: 500|L: -7",   // fields a statement does not use are kept as they are
    };
    for (const char* body : kBodies) {
        ASSERT_EQ(read(file(body)), 1) << body;
        EXPECT_EQ(read(write_program_text(g_program)), 1) << body;
    }
    EXPECT_EQ(g_program.statements[0].operand0, 500);
    EXPECT_EQ(g_program.statements[0].label, -7);
    EXPECT_TRUE(world().boxes.empty());
}

TEST_F(ProgramFile, HundredthStatementIsRefused) {
    std::string body;
    for (int k = 0; k < 99; ++k) body += "I: 12|";
    EXPECT_EQ(read(file(body)), 99);
    EXPECT_EQ(read(file(body + "I: 12")), -1);
    EXPECT_EQ(world().boxes, std::vector<std::string>{kRevision});
}

TEST_F(ProgramFile, SixtiethExpressionFindsNoSlot) {
    std::string body;
    for (int k = 0; k < 59; ++k) body += "I: 11|E: 1,|";
    EXPECT_EQ(read(file(body)), 59);
    EXPECT_EQ(read(file(body + "I: 11|E: 1,")), -1);
    EXPECT_EQ(world().boxes, std::vector<std::string>{"Limit: Reached expression limit for program"});
}

TEST_F(ProgramFile, BoxesOnlyWhenAsked) {
    EXPECT_EQ(read(file("I: 68"), false, false), -1);
    EXPECT_EQ(read(file("Q: 1"), false, false), -1);
    EXPECT_TRUE(world().boxes.empty());
}

TEST_F(ProgramFile, FieldValues) {
    ASSERT_EQ(read(file("I: 11|E: 1,2,3|I: 11|E: 5|I: 10|P: 2|I: 10|P: 1|I: 13|T: "
                        "0123456789012345678901234567890123456789xyz")),
              5);
    EXPECT_EQ(tokens_of(g_program, 0), (std::vector<TokenCode>{1, 2}));
    EXPECT_EQ(g_program.statements[1].expression, 0);
    EXPECT_EQ(g_program.statements[2].pause, 0);
    EXPECT_EQ(g_program.statements[3].pause, 1);
    EXPECT_STREQ(g_program.statements[4].text, "012345678901234567890123456789012345678");   // 39
}

TEST_F(ProgramFile, StatementWithoutOperandsIsOneLine) {
    g_program.statements[0] = blank_statement(INS_COMP_MODE);
    g_program.count = 1;
    std::strcpy(g_program.name, "P");
    EXPECT_EQ(write_program_text(g_program), "N: P\r\nV: 1.1\r\nI: 26\r\n");
}

TEST_F(ProgramFile, DescriptionLineAndFieldOrder) {
    std::strcpy(g_program.name, "D");
    std::strcpy(g_program.description, "Two~~lines");
    g_program.statements[0] = blank_statement(INS_DESCRIPTION);
    Statement& s = g_program.statements[1];
    s = blank_statement(INS_WHILE);
    std::strcpy(s.text, "t");
    s.condition = 3;
    s.operand0 = 1;
    s.operand1 = 2;
    s.label = 4;
    s.function = 5;
    s.pause = 1;
    s.expression = allocate_expression_slot(g_program);   // a slot with no tokens
    g_program.count = 2;
    const char kExpected[] =
        "N: D\r\nV: 1.1\r\nI: 59\r\nZ: Two~~lines\r\nI: 3\r\nT: t\r\nE: \r\n"
        "C: 3\r\n0: 1\r\n1: 2\r\nL: 4\r\nF: 5\r\nP: 1\r\n";
    EXPECT_EQ(write_program_text(g_program), kExpected);
    ASSERT_EQ(read(kExpected), 2);
    EXPECT_STREQ(g_program.description, "Two~~lines");
    EXPECT_EQ(g_program.statements[1].expression, 0);   // "E: " holds no token
}

TEST_F(ProgramFile, LongLinesAreCut) {
    const std::string long_text(2000, 'd');
    ASSERT_EQ(read(file("I: 59|Z: " + long_text + "|I: 13|T: " + long_text)), 2);
    EXPECT_EQ(std::strlen(g_program.description), 1009u);
    EXPECT_EQ(std::strlen(g_program.statements[1].text), 39u);
    // A cut line is not read again as a line of its own: "I: 68" stays text.
    ASSERT_EQ(read(file("I: 13|T: " + std::string(1100, 'x') + "I: 68")), 1);
}

TEST_F(ProgramFile, AnyLineEndGivesTheSameProgram) {
    const std::string crlf = kT1;
    std::string lf, cr;
    for (std::size_t k = 0; k < crlf.size(); ++k) {
        if (crlf[k] == '\r') continue;
        lf += crlf[k];
        cr += crlf[k] == '\n' ? '\r' : crlf[k];
    }
    for (const std::string& text : {crlf, lf, cr}) {
        ASSERT_EQ(read(text), 4);
        std::strcpy(g_program.name, "T1");
        EXPECT_EQ(write_program_text(g_program), crlf);
    }
}

TEST_F(ProgramFile, EmptyLineEndsTheProgram) {
    EXPECT_EQ(read("N: P\r\nI: 12\r\n\r\nI: 13\r\n"), 1);
    EXPECT_EQ(read("N: P\nI: 12\n\nI: 68\n"), 1);
    EXPECT_EQ(read("N: P\rI: 12\r\rI: 68\r"), 1);
    EXPECT_EQ(read(""), 0);
}

TEST_F(ProgramFile, DescriptionEncoding) {
    const struct { const char* text; const char* stored; } kCases[] = {
        {"a\r\nb", "a~~b"}, {"a\rb", "a~~b"}, {"a\nb", "a~~b"}, {"x~y", "x\x07y"},
        {"\r\n\r\n", "~~~~"}, {"\n\r", "~~~~"}, {"plain", "plain"},
    };
    for (const auto& c : kCases) EXPECT_EQ(encode_description(c.text), c.stored) << c.text;
    const char* const kRoundTrips[] = {"a\r\nb", "one~two\r\n\r\nthree~", ""};
    for (const char* text : kRoundTrips) {
        EXPECT_EQ(decode_description(encode_description(text).c_str()), text);
        const std::string stored = encode_description(text);
        EXPECT_EQ(encode_description(decode_description(stored.c_str())), stored);
    }
}

TEST_F(ProgramFile, ExpressionSlots) {
    EXPECT_EQ(allocate_expression_slot(g_program), 1);
    EXPECT_EQ(allocate_expression_slot(g_program), 2);
    free_expression_slot(g_program, 1);
    EXPECT_EQ(allocate_expression_slot(g_program), 1);
    for (int k = 3; k < EXPRESSION_SLOT_COUNT; ++k) EXPECT_EQ(allocate_expression_slot(g_program), k);
    EXPECT_TRUE(world().boxes.empty());
    EXPECT_EQ(allocate_expression_slot(g_program), 0);
    EXPECT_EQ(world().boxes, std::vector<std::string>{"Limit: Reached expression limit for program"});
    free_expression_slot(g_program, 0);     // out of range: nothing happens
    free_expression_slot(g_program, 60);
    reset_program(g_program);
    EXPECT_EQ(allocate_expression_slot(g_program), 1);
}

TEST_F(ProgramFile, ProgramNames) {
    const struct { const char* name; bool valid; } kCases[] = {
        {"T1", true}, {"Sum (v2) [x]", true}, {"a+b=c;d,e'f\"g!#_$&~^%@{}<>-", false},   // 27 long
        {"a+b=c;d,e'f\"g!#_$&~^%@", true}, {"1234567890123456789012", true},
        {"12345678901234567890123", false}, {"", false}, {" lead", false}, {"a/b", false},
        {".", false}, {"..", false}, {"a.b", false}, {"back\\slash", false}, {"colon:", false},
        {"star*", false}, {"tab\t", false},
    };
    for (const auto& c : kCases) EXPECT_EQ(valid_program_name(c.name), c.valid) << c.name;
}

TEST_F(ProgramFile, FailedLoadLeavesNothingBehind) {
    world().files["Good"] = kT1;
    world().files["Bad"] = file("I: 12|I: 68");
    ASSERT_EQ(load_program("Good", false), 4);
    EXPECT_STREQ(g_program.name, "Good");

    // A staging load does not touch the current program.
    static Program staging;
    EXPECT_EQ(load_program_into(staging, "Bad", false, false), -1);
    EXPECT_STREQ(staging.name, "");
    EXPECT_EQ(g_program.count, 4);

    EXPECT_EQ(load_program("Bad", false), -1);
    EXPECT_EQ(g_program.count, 0);
    EXPECT_STREQ(g_program.name, "");
    EXPECT_EQ(g_program.built_in, 0);
    // ... so saving it now writes nothing over the refused file.
    EXPECT_TRUE(save_program());
    EXPECT_EQ(world().files["Bad"], file("I: 12|I: 68"));

    EXPECT_EQ(load_program("Missing", false), 0);
    EXPECT_EQ(load_program("a/b", false), 0);
    world().files["Huge"] = std::string(MAX_PROGRAM_FILE_BYTES + 1, 'x');
    EXPECT_EQ(load_program("Huge", false), -1);
}

// A program whose file cannot be read is refused, never opened empty under
// its name (which the next save would write over the file).
TEST_F(ProgramFile, UnreadableFileIsRefusedAndKept) {
    world().files["Locked"] = "N: Locked\r\nV: 1.1\r\nI: 12\r\n";
    world().fail_reads = true;
    EXPECT_EQ(load_program("Locked", false), -1);
    EXPECT_STREQ(g_program.name, "");
    EXPECT_EQ(world().boxes, std::vector<std::string>{"Error: The program file could not be read."});
    EXPECT_EQ(world().files["Locked"], "N: Locked\r\nV: 1.1\r\nI: 12\r\n");
    // A name with no file is a new program, as before.
    EXPECT_EQ(load_program("Fresh", false), 0);
    EXPECT_STREQ(g_program.name, "Fresh");
}

TEST_F(ProgramFile, FailedSaveIsReportedAndKeepsTheOldFile) {
    world().files["Keep"] = "old";
    std::strcpy(g_program.name, "Keep");
    g_program.statements[0] = blank_statement(INS_STOP);
    g_program.count = 1;
    world().fail_writes = true;
    EXPECT_FALSE(save_program());
    EXPECT_EQ(world().files["Keep"], "old");
    EXPECT_EQ(world().boxes,
              std::vector<std::string>{"Error: The program could not be saved: No space left on device"});
    world().fail_writes = false;
    EXPECT_TRUE(save_program());
    EXPECT_EQ(world().files["Keep"], "N: Keep\r\nV: 1.1\r\nI: 12\r\n");
}

TEST_F(ProgramFile, BuiltInProgramIsNeverWritten) {
    std::strcpy(g_program.name, "Future Value");
    g_program.built_in = 1;
    g_program.count = 1;
    g_program.statements[0] = blank_statement(INS_STOP);
    EXPECT_TRUE(save_program());
    EXPECT_TRUE(world().files.empty());
}

TEST_F(ProgramFile, RememberedCursorIsRestoredAndClamped) {
    world().files["P"] = file("I: 12|I: 12|I: 12|I: 12");
    world().files["Q"] = file("I: 12|I: 12|I: 12|I: 12");
    ASSERT_EQ(load_program("P", false), 4);
    g_program.cursor = 3;
    g_program.top = 1;
    ASSERT_TRUE(save_program());
    ASSERT_EQ(load_program("Q", false), 4);
    EXPECT_EQ(g_program.cursor, 0);
    ASSERT_EQ(load_program("P", false), 4);
    EXPECT_EQ(g_program.cursor, 3);
    EXPECT_EQ(g_program.top, 1);
    // The file shrank behind our back.
    world().files["P"] = file("I: 12");
    ASSERT_EQ(load_program("P", false), 1);
    EXPECT_EQ(g_program.cursor, 1);
    EXPECT_EQ(g_program.top, 1);
}

TEST_F(ProgramFile, DeleteAsksAndDeletesOnlyOnYes) {
    world().files["P"] = kT1;
    world().box_answers = {MB_ANSWER_NO};
    EXPECT_FALSE(delete_program("P", false));
    EXPECT_EQ(world().files.count("P"), 1u);
    world().box_answers = {MB_ANSWER_YES};
    EXPECT_TRUE(delete_program("P", false));
    EXPECT_EQ(world().files.count("P"), 0u);
    EXPECT_EQ(world().boxes, (std::vector<std::string>{"Delete Program?: Delete program: P?",
                                                         "Delete Program?: Delete program: P?"}));
    world().boxes.clear();
    world().box_answers = {MB_ANSWER_YES};
    EXPECT_FALSE(delete_program("Prime Factors", true));
    EXPECT_EQ(world().boxes, std::vector<std::string>{"Note: A built-in program can't be deleted"});
}

TEST_F(ProgramFile, CustomProgramList) {
    world().files["Alpha"] = "";
    world().files["../up"] = "";
    world().files["b c"] = "";
    EXPECT_EQ(list_custom_programs(), (std::vector<std::string>{"Alpha", "b c"}));
    EXPECT_TRUE(custom_program_exists("Alpha"));
    EXPECT_FALSE(custom_program_exists("../up"));
    EXPECT_FALSE(custom_program_exists("Beta"));
}

TEST_F(ProgramFile, StorageDefaultsFail) {
    reset_program_storage();
    std::strcpy(g_program.name, "P");
    EXPECT_FALSE(save_program());
    EXPECT_EQ(load_program("P", false), 0);
    EXPECT_TRUE(list_custom_programs().empty());
    EXPECT_EQ(g_program_storage.output_open("P"), -1);
}

TEST_F(ProgramFile, EveryBuiltInProgramLoads) {
    const std::vector<std::string> names = builtin_program_names();
    if (builtin_program_text_size() == 0) GTEST_SKIP() << "no built-in programs in this build";
    EXPECT_EQ(names.size(), static_cast<std::size_t>(BUILTIN_PROGRAM_COUNT));
    for (const std::string& name : names) {
        EXPECT_TRUE(is_builtin_program_name(name.c_str()));
        EXPECT_GT(load_program(name.c_str(), true), 0) << name;
        EXPECT_STREQ(g_program.name, name.c_str());
        EXPECT_EQ(g_program.built_in, 1);
    }
    EXPECT_FALSE(is_builtin_program_name("No Such Program"));
    EXPECT_EQ(load_program("No Such Program", true), 0);
    EXPECT_TRUE(world().boxes.empty());
}

}  // namespace
}  // namespace qx::test

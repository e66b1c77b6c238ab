// The readable program form against the stored file form, line by line.
#include <gtest/gtest.h>

#include <string>

#include "programs/assembler.h"

namespace qx {
namespace {

const std::string kHead = "N: T\r\nV: 1.1\r\n";

std::string assemble(const std::string& body, std::string* error = nullptr) {
    std::string text, what;
    const bool ok = assemble_programs("program T\n" + body + "\n", &text, &what);
    if (error) *error = what;
    return ok ? text : "FAILED: " + what;
}

// The stored lines of one statement, "|" for CR LF.
std::string statement(const std::string& source) {
    std::string text = assemble(source);
    if (text.compare(0, kHead.size(), kHead) != 0) return text;
    text.erase(0, kHead.size());
    std::string out;
    for (std::size_t k = 0; k < text.size(); ++k) {
        if (text[k] == '\r' && k + 1 < text.size() && text[k + 1] == '\n') {
            out += '|';
            ++k;
        } else {
            out += text[k];
        }
    }
    return out;
}

TEST(Assembler, StatementsGiveTheirStoredLines) {
    const struct { const char* source; const char* stored; } kCases[] = {
        {"end", "I: 1|"},
        {"else", "I: 2|"},
        {"stop", "I: 12|"},
        {"break", "I: 40|"},
        {"return call", "I: 6|"},
        {"return sub", "I: 42|"},
        {"in A", "I: 9|0: 10|"},
        {"in R0 \"Principal?\"", "I: 9|T: Principal?|"},
        {"in #89", "I: 9|0: 89|"},
        {"out Ans", "I: 10|"},
        {"out x pause \"Root\"", "I: 10|T: Root|0: 60|P: 1|"},
        {"out R3 pause", "I: 10|0: 4|P: 1|"},
        {"fout B", "I: 14|0: 12|"},
        {"if A = 0", "I: 0|0: 11|"},
        {"if Ans != Ans", "I: 0|C: 1|1: 1|"},
        {"while R1 <= B", "I: 3|C: 5|0: 2|1: 13|"},
        {"if a >= #89", "I: 0|C: 4|0: 37|1: 91|"},
        {"loop N", "I: 4|0: 23|"},
        {"label A", "I: 7|"},
        {"goto B", "I: 8|L: 1|"},
        {"gosub #89", "I: 41|L: 79|"},
        {"text \"NO SOLUTION\"", "I: 13|T: NO SOLUTION|"},
        {"call \"Heron's Formula\"", "I: 5|T: Heron's Formula|"},
        {"in f1", "I: 15|"},
        {"in f10 \"f(x)?\"", "I: 15|T: f(x)?|F: 9|"},
        {"f3", "I: 16|F: 2|"},
        {"expr 2 * A + 1.5E~3 >B", "I: 11|E: 34,31,810,36,33,39,29,40,17,35,911,|"},
        {"expr sqrt ( L / g ) >[A] LA >LB", "I: 11|E: 14,3,821,32,842,4,990,2100,3101,|"},
        {"expr e i pi x Ans #1420 >#62", "I: 11|E: 217,120,117,859,41,1420,962,|"},
        {"expr theta + Omega >alpha", "I: 11|E: 869,36,889,962,|"},
        {"in theta", "I: 9|0: 69|"},
        {"out pi", "I: 10|0: 78|"},
        {"menu clear", "I: 54|"},
        {"menu title \"Convert\"", "I: 53|T: Convert|"},
        {"menu item C \"Delta to Y\"", "I: 51|T: Delta to Y|L: 2|"},
        {"menu display", "I: 52|"},
        {"stats enter Ans", "I: 19|"},
        {"stats enter X", "I: 19|0: 34|"},
        {"stats x[K] = Ans", "I: 21|0: 20|"},
        {"stats y[K] = Ans", "I: 23|0: 20|"},
        {"Ans = stats x[R1]", "I: 20|0: 1|"},
        {"Ans = stats y[R1]", "I: 22|0: 1|"},
        {"precision 10", "I: 48|0: 10|"},
        {"decimal mark 3", "I: 49|0: 3|"},
        {"complex format 1", "I: 67|0: 1|"},
        {"Clear Memory", "I: 17|"},
        {"2 var Stats", "I: 25|"},
        {"Degree Angle", "I: 30|"},
        {"Plot t step = Ans", "I: 66|"},
        {"Ans = System Tick", "I: 50|"},
        {"description One|Two ~", "I: 59|Z: One~~Two \x07|"},
        {"description", "I: 59|Z: |"},
        {"description \"#3\" stays", "I: 59|Z: \"#3\" stays|"},
        {"  out A   # a comment", "I: 10|0: 11|"},
    };
    for (const auto& c : kCases) EXPECT_EQ(statement(c.source), c.stored) << c.source;
}

TEST(Assembler, RefusesBadStatementsWithTheirLine) {
    const struct { const char* source; const char* message; } kCases[] = {
        {"iff A = 0", "line 2: unknown statement"},
        {"if A == 0", "line 2: unknown comparison =="},
        {"if A = 1", "line 2: not a variable: 1"},
        {"in #90", "line 2: not a variable: #90"},
        {"label R5", "line 2: a label is a variable from A on"},
        {"precision 11", "line 2: 11 is not a value from 0 to 10"},
        {"decimal mark 4", "line 2: 4 is not a value from 0 to 3"},
        {"complex format -1", "line 2: -1 is not a value from 0 to 2"},
        {"text \"unterminated", "line 2: unterminated text"},
        {"text \"0123456789012345678901234567890123456789\"", "line 2: text longer than 39"},
        {"expr 2 + foo", "line 2: unknown word foo"},
        {"expr 1.2x", "line 2: bad number 1.2x"},
        {"expr", "line 2: empty expression"},
        {"in f11", "line 2: not a variable: f11"},
        {"Menu", "line 2: unknown statement"},
        {"if", "line 2: wrong number of words for if"},
        {"end now", "line 2: unknown statement"},
    };
    for (const auto& c : kCases) {
        std::string error;
        assemble(c.source, &error);
        EXPECT_EQ(error.compare(0, std::string(c.message).size(), c.message), 0)
            << c.source << " -> " << error;
    }
}

TEST(Assembler, ProgramsAndTheirLimits) {
    std::string text, error;
    ASSERT_TRUE(assemble_programs("# two programs\nprogram One\nstop\n\nprogram Two\nend\n", &text, &error));
    EXPECT_EQ(text, "N: One\r\nV: 1.1\r\nI: 12\r\nN: Two\r\nV: 1.1\r\nI: 1\r\n");

    EXPECT_FALSE(assemble_programs("stop\n", &text, &error));
    EXPECT_EQ(error, "line 1: statement before \"program\"");
    EXPECT_FALSE(assemble_programs("# nothing\n", &text, &error));

    std::string body;
    for (int k = 0; k < 99; ++k) body += "expr 1\n";   // 99 statements but 60 expressions
    EXPECT_FALSE(assemble_programs("program P\n" + body, &text, &error));
    EXPECT_EQ(error, "line 61: more than 59 expressions");
    body.clear();
    for (int k = 0; k < 100; ++k) body += "stop\n";
    EXPECT_FALSE(assemble_programs("program P\n" + body, &text, &error));
    EXPECT_EQ(error, "line 101: more than 99 statements");

    std::string tokens;
    for (int k = 0; k < 49; ++k) tokens += "1 + ";
    EXPECT_EQ(statement("expr " + tokens + "10").substr(0, 8), "I: 11|E:");   // 100 tokens
    EXPECT_EQ(statement("expr " + tokens + "100"), "FAILED: line 2: more than 100 tokens");
}

TEST(Assembler, ExpressionWordsAreTheEngineTokens) {
    std::vector<TokenCode> t;
    std::string error;
    ASSERT_TRUE(assemble_expression("Max( 3 , neg 4 ) sq", &t, &error));
    EXPECT_EQ(t, (std::vector<TokenCode>{400, 35, 20, 17, 28, 4, 9}));
    // Every word is unique and maps to a distinct token.
    const auto& words = assembler_token_words();
    for (std::size_t a = 0; a < words.size(); ++a)
        for (std::size_t b = a + 1; b < words.size(); ++b) {
            EXPECT_NE(std::string(words[a].word), words[b].word);
            EXPECT_NE(words[a].code, words[b].code) << words[a].word << " " << words[b].word;
        }
}

}  // namespace
}  // namespace qx

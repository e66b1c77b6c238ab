// The program editor on a headless calculator: the listing as the display
// shows it, inserting and deleting statements with their refusals, the
// cursor, and the dialogs answered the way scripts answer them.
#include <map>
#include <string>
#include <vector>

#include "panel/images.h"
#include "panel/legend_names.h"
#include "panel/program_editor.h"
#include "programs/program.h"
#include "tests/helpers.h"
#include "tests/ui/calculator_fixture.h"

namespace qx {
namespace {

using Fields = std::vector<std::pair<std::string, std::string>>;

std::map<std::string, std::string> g_files;

bool file_read(const char* name, std::string* bytes) {
    auto it = g_files.find(name);
    if (it == g_files.end()) return false;
    *bytes = it->second;
    return true;
}
bool file_write(const char* name, const std::string& bytes, std::string*) {
    g_files[name] = bytes;
    return true;
}
bool file_remove(const char* name) { return g_files.erase(name) > 0; }
bool file_exists(const char* name) { return g_files.count(name) > 0; }
std::vector<std::string> file_list() {
    std::vector<std::string> names;
    for (const auto& f : g_files) names.push_back(f.first);
    return names;
}

// The listing's rows: 18 pixels each from y 39, text from x 20.
int row_y(int row) { return 39 + 18 * row; }

class ProgramEditorTest : public CalculatorFixture {
protected:
    void SetUp() override {
        CalculatorFixture::SetUp();
        g_files.clear();
        g_program_storage.read = file_read;
        g_program_storage.write = file_write;
        g_program_storage.remove = file_remove;
        g_program_storage.exists = file_exists;
        g_program_storage.list = file_list;
        reset_program(g_program);
        g_program.built_in = 0;
        std::snprintf(g_program.name, sizeof g_program.name, "Test");
        reset_program_editor();
        g_settings.calculator_mode = MODE_PROG;
        paint_face();
        log.clear();
    }
    void TearDown() override {
        g_settings.calculator_mode = MODE_COMP;
        CalculatorFixture::TearDown();
        reset_program_storage();
    }

    void answer(const std::string& button, const Fields& fields = {}) { window.push_answer({button, fields}); }
    static void insert(std::initializer_list<int> codes) {
        for (int c : codes) insert_program_statement(c);
    }
    static std::vector<int> instructions() {
        std::vector<int> out;
        for (int k = 0; k < g_program.count; ++k) out.push_back(g_program.statements[k].instruction);
        return out;
    }
    static Surface listing() {
        Surface s(SCREEN_WIDTH, SCREEN_HEIGHT, COLOUR_WHITE);
        paint_program_listing(s);
        return s;
    }
    // The statement a tap on the row selects (-1: none), the cursor put back.
    static int row_statement(int row) {
        const int cursor = g_program.cursor, top = g_program.top;
        const int at = program_listing_tap(100, row_y(row) + 9) ? g_program.cursor : -1;
        g_program.cursor = cursor;
        g_program.top = top;
        return at;
    }
};

// The row drawn as plain character legends on a white display.
bool row_shows(const Surface& s, int row, const std::string& text) {
    Surface expected(SCREEN_WIDTH, SCREEN_HEIGHT, COLOUR_WHITE);
    int x = 20;
    for (unsigned char c : text) x += draw_legend(expected, char_legend(c), x, row_y(row) + 1, false);
    for (int y = row_y(row); y < row_y(row) + 18; ++y)
        for (int px = 20; px < 222; ++px)
            if (s.get(px, y) != expected.get(px, y)) return false;
    return true;
}

bool ink_in(const Surface& s, int left, int top, int right, int bottom) {
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            if (s.get(x, y) == COLOUR_BLACK) return true;
    return false;
}

TEST_F(ProgramEditorTest, EmptyProgramThenStop) {
    EXPECT_TRUE(row_shows(listing(), 0, "Empty Program"));
    key(17);   // Stop
    const Surface s = listing();
    EXPECT_TRUE(row_shows(s, 0, "1: stop"));
    EXPECT_EQ(g_program.cursor, 1);
    EXPECT_EQ(row_statement(0), 0);
    EXPECT_EQ(row_statement(1), 1);    // the insertion row
    EXPECT_EQ(row_statement(2), -1);
    EXPECT_TRUE(ink_in(s, 9, row_y(1) + 4, 15, row_y(1) + 12));    // the selection mark
    EXPECT_FALSE(ink_in(s, 9, row_y(0) + 4, 15, row_y(0) + 12));
}

TEST_F(ProgramEditorTest, InsertRefusals) {
    const struct {
        const char* name;
        bool built_in;
        int statements;      // stops before the insertion
        bool description;    // a description first
        int cursor;
        const char* box;     // "" when inserted
    } cases[] = {
        {"built-in", true, 0, false, 0, "box Note: A built-in program can't be edited -> OK"},
        {"100th", false, 99, false, 99, "box Limit: Reached program size limit -> OK"},
        {"98 -> 99 allowed", false, 98, false, 98, ""},
        {"before the description", false, 1, true, 0,
         "box Error: Can't add statement here, the Program Description statement must appear on the first "
         "line of a program -> OK"},
        {"after the description", false, 1, true, 1, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        reset_program(g_program);
        g_program.built_in = 0;
        if (c.description) insert({535});
        for (int k = 0; k < c.statements; ++k) insert({17});
        g_program.built_in = c.built_in;
        g_program.cursor = c.cursor;
        const int before = g_program.count;
        log.clear();
        insert_program_statement(9);
        if (c.box[0]) {
            EXPECT_EQ(log, std::vector<std::string>{c.box});
            EXPECT_EQ(g_program.count, before);
        } else {
            EXPECT_TRUE(log.empty());
            EXPECT_EQ(g_program.count, before + 1);
            EXPECT_EQ(g_program.statements[c.cursor].instruction, INS_END);
            EXPECT_EQ(g_program.cursor, c.cursor + 1);
        }
    }
    g_program.built_in = 0;
}

// 59 expressions fit; the 60th finds no slot and inserts nothing.
TEST_F(ProgramEditorTest, TheSixtiethExpressionIsRefused) {
    g_input.line.tokens[0] = TOK_1;
    g_input.line.count = 1;
    for (int k = 0; k < 59; ++k) insert({16});
    ASSERT_EQ(g_program.count, 59);
    log.clear();
    insert({16});
    EXPECT_EQ(log, std::vector<std::string>{"box Limit: Reached expression limit for program -> OK"});
    EXPECT_EQ(g_program.count, 59);
    // Deleting one frees its slot for the next.
    delete_program_statement();
    log.clear();
    insert({16});
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(g_program.count, 59);
}

TEST_F(ProgramEditorTest, Delete) {
    // At the insertion point the last statement goes; the cursor moves onto
    // the new last one.
    insert({17, 9, 109});
    ASSERT_EQ(g_program.cursor, 3);
    delete_program_statement();
    EXPECT_EQ(instructions(), (std::vector<int>{INS_STOP, INS_END}));
    EXPECT_EQ(g_program.cursor, 1);
    // On a statement in the middle the later ones move up; the cursor stays.
    insert({109});   // stop, break, end
    g_program.cursor = 1;
    delete_program_statement();
    EXPECT_EQ(instructions(), (std::vector<int>{INS_STOP, INS_END}));
    EXPECT_EQ(g_program.cursor, 1);
    // The only statement, with the cursor on it or after it.
    for (int cursor : {0, 1}) {
        reset_program(g_program);
        set_line_tokens(test::toks("1 + 2").data(), 3);
        insert({16});
        const int slot = g_program.statements[0].expression;
        ASSERT_GT(slot, 0);
        g_program.cursor = cursor;
        delete_program_statement();
        EXPECT_EQ(g_program.count, 0);
        EXPECT_EQ(g_program.cursor, 0);
        EXPECT_FALSE(g_program.slots[slot].in_use);
    }
    g_program.built_in = 1;
    log.clear();
    delete_program_statement();
    EXPECT_EQ(log, std::vector<std::string>{"box Note: A built-in program can't be edited -> OK"});
    g_program.built_in = 0;
}

TEST_F(ProgramEditorTest, LongExpressionWrapsAndPushesLaterStatementsDown) {
    std::vector<TokenCode> tokens;
    for (int k = 0; k < 20; ++k) {
        const std::vector<TokenCode> part = test::toks("123 +");
        tokens.insert(tokens.end(), part.begin(), part.end());
    }
    tokens.push_back(test::toks("1")[0]);   // 81 tokens
    set_line_tokens(tokens.data(), static_cast<int>(tokens.size()));
    insert({16, 17, 17});
    g_program.cursor = 0;
    g_program.top = 0;
    Surface s = listing();
    int rows = 0;
    while (rows < LISTING_ROWS && row_statement(rows) == 0) ++rows;
    EXPECT_GE(rows, 2);
    EXPECT_EQ(row_statement(rows), 1);
    EXPECT_EQ(row_statement(rows + 1), 2);
    // The down arrow only once the later statements no longer fit.
    const int arrow_top = row_y(LISTING_ROWS - 1) + 5;
    EXPECT_FALSE(ink_in(s, 225, arrow_top, 231, arrow_top + 6));
    g_program.cursor = g_program.count;
    for (int k = rows + 2; k <= LISTING_ROWS; ++k) insert({17});
    g_program.cursor = 0;
    s = listing();
    EXPECT_TRUE(ink_in(s, 225, arrow_top, 231, arrow_top + 6));
    EXPECT_FALSE(ink_in(s, 225, row_y(0) + 5, 231, row_y(0) + 11));   // nothing above
    // The selected expression is drawn inverted: its first row is dark.
    EXPECT_TRUE(ink_in(s, 18, row_y(0), 19, row_y(0)));
    EXPECT_FALSE(ink_in(s, 18, row_y(rows), 19, row_y(rows)));
    // Blue Copy puts it back on the input line, the cursor at its end.
    clear_line();
    EXPECT_EQ(program_face_statement_key(16, true), -2);
    EXPECT_EQ(line(), tokens);
    EXPECT_EQ(g_input.cursor, static_cast<int>(tokens.size()));
}

TEST_F(ProgramEditorTest, CursorMovesAndTheTopLineFollows) {
    for (int k = 0; k < 20; ++k) insert({17});
    g_program.cursor = 0;
    g_program.top = 0;
    // Rows needed from top to cursor: cursor - top + 1 <= 8, so top = cursor - 7.
    const struct { int delta, cursor, top; } steps[] = {
        {10, 10, 3}, {10, 20, 13}, {10, 20, 13}, {-1, 19, 13}, {-10, 9, 9}, {-10, 0, 0}, {-1, 0, 0}, {1, 1, 0},
    };
    for (const auto& st : steps) {
        move_program_cursor(st.delta);
        EXPECT_EQ(g_program.cursor, st.cursor) << st.delta;
        EXPECT_EQ(g_program.top, st.top) << st.delta;
    }
    // The up and down keys, with the blue shift for ten at a time.
    keys({3, 3, 1, 3});
    EXPECT_EQ(g_program.cursor, 13);
    keys({1, 2});
    EXPECT_EQ(g_program.cursor, 3);
}

TEST_F(ProgramEditorTest, PickersFillTheStatement) {
    answer("OK", {{"Left Variable", "A"}, {"Condition", "< (less than)"}, {"Right Variable", "ZERO"}});
    key(6);
    answer("OK", {{"Variable Group", "Ans"}, {"Pause?", "1"}});
    key(11);
    answer("OK", {{"Variable Group", "Upper Case"}, {"Variable", "C"}});
    key(7);
    answer("Cancel");
    key(8);
    ASSERT_EQ(instructions(), (std::vector<int>{INS_IF, INS_OUT, INS_LOOP}));
    const Statement* s = g_program.statements;
    // if: condition 2 "<", left A = 10 + 1, right 0; out: Ans (0) paused; loop C = 12.
    EXPECT_EQ(s[0].condition, 2);
    EXPECT_EQ(s[0].operand0, 11);
    EXPECT_EQ(s[0].operand1, 0);
    EXPECT_EQ(s[1].operand0, 0);
    EXPECT_EQ(s[1].pause, 1);
    EXPECT_EQ(s[2].operand0, 12);
    // A prompt through the alpha entry.
    answer("OK", {{"Variable Group", "Upper Case"}, {"Variable", "B"}, {"Custom Prompt?", "1"}});
    key(10);
    ASSERT_TRUE(g_alpha.shown);
    program_text_statement(2, "Width");
    g_alpha.shown = false;
    EXPECT_EQ(g_program.statements[3].instruction, INS_IN);
    EXPECT_EQ(g_program.statements[3].operand0, 11);
    EXPECT_STREQ(g_program.statements[3].text, "Width");
}

TEST_F(ProgramEditorTest, FuncListMapsEntriesToCodes) {
    const struct {
        const char* entry;
        Fields sub;            // the answer of the dialog it opens, if any
        const char* button;
        int code;
        int operand;
    } cases[] = {
        {"Clear Memory", {}, "", 500, 0},
        {"Clear Input Buffer", {}, "", 501, 0},
        {"Clear Stats Data", {}, "", 502, 0},
        {"Enter Stats Data", {{"Variable Group", "Upper Case"}, {"Variable", "D"}}, "OK", 503, 14},   // D + 1
        {"Stats y[index] = Ans", {{"Variable Group", "R0-R9"}, {"Variable", "R3"}}, "OK", 507, 3},
        {"2 var Stats", {}, "", 509, 0},
        {"Linear Regression", {}, "", 510, 0},
        {"Power Regression", {}, "", 513, 0},
        {"Format Float", {}, "", 514, 0},
        {"Precision", {{"Decimal Digits", "7"}}, "OK", 518, 7},
        {"Decimal Mark", {{"Decimal Mark", "Comma(,)"}}, "OK", 519, 1},
        {"COMP Mode", {}, "", 520, 0},
        {"32 bit Base-n", {}, "", 533, 0},
        {"Ans = System Tick", {}, "", 534, 0},
        {"Plot x min = Ans", {}, "", 536, 0},
        {"Complex Format", {{"Complex Format", "polar"}}, "OK", 543, 2},
        {"Precision", {}, "Cancel", -2, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        answer("OK", {{"Function", c.entry}});
        if (c.button[0]) answer(c.button, c.sub);
        const int code = program_face_statement_key(5, false);
        EXPECT_EQ(code, c.code);
        EXPECT_EQ(window.answers_pending(), 0u);
        if (code < 0) continue;
        insert_program_statement(code);
        EXPECT_EQ(g_program.statements[g_program.count - 1].operand0, c.operand);
    }
}

TEST_F(ProgramEditorTest, DescriptionOnlyOnTheFirstLine) {
    insert({17});
    answer("OK", {{"Function", "Program Description"}});
    EXPECT_EQ(program_face_statement_key(5, false), -2);
    EXPECT_TRUE(logged("box Error: A Program Description statement must appear on the first line"));
    // At the first line: the text with its line break, a tilde kept.
    g_program.cursor = 0;
    answer("OK", {{"Function", "Program Description"}});
    answer("OK", {{"Description", "Roots\\nof a ~ quadratic"}});
    const int code = program_face_statement_key(5, false);
    ASSERT_EQ(code, 535);
    insert_program_statement(code);
    EXPECT_EQ(instructions(), (std::vector<int>{INS_DESCRIPTION, INS_STOP}));
    EXPECT_STREQ(g_program.description, "Roots~~of a \x07 quadratic");
    // A second time only the text changes.
    g_program.cursor = 0;
    answer("OK", {{"Function", "Program Description"}});
    answer("OK", {{"Description", "Roots"}});
    EXPECT_EQ(program_face_statement_key(5, false), -2);
    EXPECT_EQ(g_program.count, 2);
    EXPECT_STREQ(g_program.description, "Roots");
}

TEST_F(ProgramEditorTest, NewProgramNames) {
    g_files["Alpha"] = "N: Alpha\r\nV: 1.1\r\nI: 12\r\n";
    program_create("Alpha  ");
    EXPECT_EQ(log, std::vector<std::string>{"box Error: Program name in use -> OK"});
    EXPECT_STREQ(g_program.name, "Test");
    program_create("   ");
    EXPECT_STREQ(g_program.name, "Test");
    log.clear();
    program_create("a/b");
    EXPECT_EQ(log, std::vector<std::string>{"box Error: A program name can't contain \"/\". -> OK"});
    EXPECT_STREQ(g_program.name, "Test");
    insert({17});
    program_create("Beta ");
    EXPECT_STREQ(g_program.name, "Beta");
    EXPECT_EQ(g_program.count, 0);
    EXPECT_EQ(window.title(), "Beta");
    // A copy of Alpha under a new name is saved and opened.
    g_settings.calculator_mode = MODE_COMP;
    answer("OK", {{"Source", "Custom Program"}, {"Program", "Alpha"}, {"Action", "Copy Program"}});
    program_manager_dialog();
    ASSERT_TRUE(g_alpha.shown);
    g_alpha.shown = false;
    program_copy("Gamma");
    ASSERT_TRUE(g_files.count("Gamma"));
    EXPECT_STREQ(g_program.name, "Gamma");
    EXPECT_EQ(instructions(), std::vector<int>{INS_STOP});
    EXPECT_EQ(g_settings.calculator_mode, MODE_PROG);
}

TEST_F(ProgramEditorTest, RunChooserLoadsAndReports) {
    g_files["Alpha"] = "N: Alpha\r\nV: 1.1\r\nI: 12\r\nI: 12\r\n";
    g_files["Empty"] = "N: Empty\r\nV: 1.1\r\n";
    const struct {
        const char* button;
        const char* program;
        bool loaded;
        bool buffers_cleared;
    } cases[] = {
        {"OK", "Alpha", true, true},     // the first choice is a new one
        {"OK", "Alpha", true, false},    // the same again keeps the buffers
        {"OK", "Empty", false, true},
        {"Cancel", "Alpha", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.program);
        g_program_functions[0].count = 3;
        answer(c.button, {{"Source", "Custom Program"}, {"Program", c.program}});
        EXPECT_EQ(program_run_dialog(), c.loaded);
        EXPECT_EQ(g_program_functions[0].count == 0, c.buffers_cleared);
        if (c.loaded) {
            EXPECT_STREQ(g_program.name, c.program);
        }
    }
}

}  // namespace
}  // namespace qx

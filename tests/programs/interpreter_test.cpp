#include <string>
#include <vector>

#include "program_fixture.h"
#include "programs/assembler.h"

namespace qx::test {
namespace {

// What the program showed and asked of the window.
struct HostLog {
    std::vector<std::string> results, uppers, menu_items;
    std::vector<int> modes;
    std::vector<std::vector<TokenCode>> inputs;   // starting texts of `in`
    std::string menu_title, description;
    int menu_choice = -1, settings_changes = 0, stats_lists = 0;
    bool ended_with_error = false;
};
HostLog& host() {
    static HostLog h;
    return h;
}

class InterpreterTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        host() = HostLog{};
        ProgramHost& h = g_program_host;
        h.show_result = [](const char* t) { host().results.push_back(t); };
        h.show_upper = [](const char* t) { host().uppers.push_back(t); };
        h.run_ended = [](bool e) { host().ended_with_error = e; };
        h.set_mode = [](int m) { host().modes.push_back(m); };
        h.settings_changed = [] { ++host().settings_changes; };
        h.begin_input = [](const TokenCode* t, int n) { host().inputs.emplace_back(t, t + n); };
        h.description_dialog = [](const char* d) { host().description = d; };
        h.stats_list_dialog = [] { ++host().stats_lists; };
        h.menu_dialog = [](const char* title, const MenuItem* items, int n) {
            host().menu_title = title;
            for (int k = 0; k < n; ++k) host().menu_items.push_back(items[k].text);
            return host().menu_choice;
        };
    }

    // Statements are written "a; b; c".  The program goes into the store
    // (where `call` finds it) under its name.
    static void store(const std::string& name, const std::string& body) {
        std::string source = "program " + name + "\n" + body, text, error;
        for (std::size_t p; (p = source.find("; ")) != std::string::npos;) source.replace(p, 2, "\n");
        ASSERT_TRUE(assemble_programs(source, &text, &error)) << error;
        world().files[name] = text;
    }
    static void load(const std::string& name, const std::string& body) {
        store(name, body);
        ASSERT_GT(load_program(name.c_str(), false), 0);
    }
    // Steps until the program ends, waits or pauses.
    static void finish() {
        for (int turns = 0; turns < 1000000 && g_run.running && !g_run.waiting && !g_run.paused; ++turns)
            program_step();
    }
    static void run(const std::string& name, const std::string& body) {
        load(name, body);
        start_program();
        finish();
    }
    // The execute key on an awaited `in`: the entry is handed over, then evaluated.
    static void enter(const std::string& words) {
        const std::vector<TokenCode> t = toks(words);
        program_input_entered(t.data(), static_cast<int>(t.size()));
        Evaluate_Input(t.data(), static_cast<int>(t.size()));
        Evaluate_Input_2();
    }
    static void enter_function(const std::string& words) {
        const std::vector<TokenCode> t = toks(words);
        program_function_entered(t.data(), static_cast<int>(t.size()));
    }
    static std::string result() { return host().results.empty() ? "" : plain(host().results.back().c_str()); }
    static std::string last_box() { return world().boxes.empty() ? "" : world().boxes.back(); }
};

constexpr int A = 10, B = 11, C = 12;   // memory indexes

struct RunCase {
    const char* name;
    const char* body;
    const char* shown;           // the result line at the end
    const char* callee = "";     // stored as "Callee" first
    int menu_choice = -1;
};

TEST_F(InterpreterTest, ProgramsRunToTheirResult) {
    static const RunCase kCases[] = {
        {"Sum", "expr 3 >A; expr 0 >B; loop A; expr B + A >B; end; out B", "B=6"},
        // The body sees 1, 2, 3 and the variable stays at the limit: 1233.
        {"LoopDigits", "expr 3 >A; loop A; expr B * 10 + A >B; end; expr B * 10 + A >B; out B", "B=1233"},
        {"LoopNone", "loop A; expr 9 >B; end; expr B * 10 + A >B; out B", "B=0"},
        // A = 1..4: odd ones to B, the even one above H to C, the other to D;
        // a false if without else (E) is skipped: 4, 4, 2, 0.
        {"Nest",
         "expr 4 >F; expr 2 >H; while A < F; expr A + 1 >A; expr fPart( A / 2 ) >G; if G = 0; if A > H; "
         "expr C + A >C; else; expr D + A >D; end; else; expr B + A >B; end; if A > F; expr 1 >E; end; end; "
         "expr B * 1000 + C * 100 + D * 10 + E >E; out E",
         "E=4420"},
        {"Break", "expr 5 >F; while A >= 0; expr A + 1 >A; if A = F; break; end; end; out A", "A=5"},
        // Each goto leaves an if inside a while inside an if: 600 blocks
        // unless all three close.
        {"Jumps",
         "expr 200 >C; label B; if A < C; while A >= 0; expr A + 1 >A; if A > 0; goto B; end; end; end; out A",
         "A=200"},
        {"Gosub", "gosub C; gosub C; out A; stop; label C; expr A + 1 >A; return sub", "A=2"},
        // The second gosub leaves two returns to line 3: the return sub there
        // pops its own line and goes on after itself.
        {"SelfReturn",
         "expr 2 >C; label E; gosub B; return sub; out A; stop; label B; expr A + 1 >A; if A < C; goto E; end; "
         "return sub",
         "A=2"},
        {"OffTheEnd", "expr 1 >A; call \"Callee\"; expr A * 2 >A; out A", "A=22", "expr A + 10 >A"},
        {"CallInWhile", "expr 3 >C; while A < C; call \"Callee\"; end; out A", "A=3",
         "while A >= 0; expr A + 1 >A; return call; end"},
        {"NoCaller", "return call; text \"never\"", ""},
        {"Quiet", "expr 1", ""},
        {"Text", "text \"NO SOLUTION\"", "NO SOLUTION"},
        {"Complex", "expr 2 - 3 * i; out Ans", "Ans=2-3i"},
        {"Skip", "expr 7 >A; expr A + 1 >A; out A", "A=7"},   // statement 1 gets a code from a newer revision
        {"StatsNear", "expr 999.4 >A; expr 5; stats x[A] = Ans; expr 1; Ans = stats x[A]; out Ans", "Ans=5"},
        {"Menu",
         "menu title \"Pick\"; menu item B \"One\"; menu item C \"Two\"; menu display; label B; expr 1 >A; stop; "
         "label C; expr 2 >A; out A",
         "A=2", "", 1},
        {"MenuCancel", "menu item B \"x\"; menu display; expr 1 >A; out A; label B; expr 2 >A", "A=1"},
    };
    for (const RunCase& c : kCases) {
        SetUp();
        SCOPED_TRACE(c.name);
        if (*c.callee) store("Callee", c.callee);
        host().menu_choice = c.menu_choice;
        load(c.name, c.body);
        if (std::string(c.name) == "Skip") g_program.statements[1].instruction = INSTRUCTION_COUNT;
        start_program();
        finish();
        EXPECT_FALSE(error_pending()) << result();
        EXPECT_EQ(result(), c.shown);
        EXPECT_STREQ(g_program.name, c.name);
        EXPECT_FALSE(program_running());
        EXPECT_EQ(g_run.block_depth, 0);
        EXPECT_EQ(g_run.call_depth, 0);
    }
    EXPECT_EQ(host().menu_title, "");
    EXPECT_EQ(host().menu_items, std::vector<std::string>{"x"});
    EXPECT_EQ(host().results.front(), "Running...");
}

TEST_F(InterpreterTest, MenuDialogGetsTheTitleAndItems) {
    host().menu_choice = 0;
    run("M", "menu item B \"Old\"; menu clear; menu title \"T\"; menu item B \"One\"; menu display; label B");
    EXPECT_EQ(host().menu_title, "T");
    EXPECT_EQ(host().menu_items, std::vector<std::string>{"One"});
}

// --- failures ---------------------------------------------------------------------------------

struct Failure {
    const char* name;
    const char* body;
    const char* box;      // "" when none
    int code;
    const char* detail;
    int line;             // shown from 1
    const char* callee = "";
};

TEST_F(InterpreterTest, EveryFailureEndsWithItsBoxCodeAndLine) {
    static const Failure kCases[] = {
        {"End", "expr 1; end", "Error: No start of block for end instruction", ERR_CODE,
         "No start of block, run_program_line", 2},
        {"Else", "else", "Error: No matching if statement", ERR_CODE, "No matching if for else, run_program_line", 1},
        {"ElseInWhile", "while A = 0; else; end", "Error: No matching if statement", ERR_CODE,
         "No matching if for else, run_program_line", 2},
        {"Break", "if A = 0; break; end", "Error: No loop to break from", ERR_CODE,
         "No loop to break from, run_program_line", 2},
        {"Gosubs", "label B; gosub B", "Limit: Reached maximum number of gosub/subroutine calls", ERR_MEMORY,
         "Reached maximum number of gosub/subroutine calls, run_program_line", 2},
        {"ReturnSub", "return sub", "Error: No subroutine called", ERR_CODE, "Nothing to retun to, run_program_line", 1},
        {"MenuItems", "expr 101 >A; loop A; menu item B \"x\"; end", "Limit: Reached maximum number of menu items",
         ERR_MEMORY, "Reached maximum number of menu items, run_program_line", 3},
        {"ComplexStats", "expr 1 + i; stats enter Ans", "", ERR_DATA_TYPE,
         "Complex and matrix data can't be added to a stats list, run_program_line", 2},
        {"ComplexPut", "expr 1 >A; expr 2 * i; stats x[A] = Ans", "", ERR_DATA_TYPE,
         "Complex and matrix data can't be added to a stats list, stats_get_put", 3},
        {"Blocks", "label B; if A = 0; gosub B; end", "Limit: Reached maximum number of program blocks", ERR_MEMORY,
         "Reached maximum number of blocks, create_block_data", 2},
        {"NoEnd", "while A < C; expr 1", "Error: Missing end statement", ERR_CODE, "No end to block, find_matched_end",
         1},
        {"Label", "expr 1; goto Z", "Error: Label not found", ERR_CODE, "Label not found, find_label", 2},
        {"Call", "call \"Nowhere\"", "Error: Could not call program", ERR_CODE,
         "Error with subroutine call, call_program", 1},
        {"Calls", "call \"Calls\"", "Limit: Reached maximum number of subroutine calls", ERR_MEMORY,
         "Reached maximum number of subroutine calls, call_program", 1},
        {"Index", "expr 999.6 >A; Ans = stats y[A]", "Error: Index out of range", ERR_CODE,
         "Stats index out of range, stats_get_put", 2},
        {"LowIndex", "expr 0.4 >A; Ans = stats x[A]", "Error: Index out of range", ERR_CODE,
         "Stats index out of range, stats_get_put", 2},
        // A called program has neither blocks nor gosubs of its own to end.
        {"CalleeEnd", "while A = 0; call \"Callee\"; end", "Error: No start of block for end instruction", ERR_CODE,
         "No start of block, run_program_line", 1, "end"},
        {"CalleeReturn", "gosub B; stop; label B; call \"Callee\"", "Error: No subroutine called", ERR_CODE,
         "Nothing to retun to, run_program_line", 1, "return sub"},
    };
    for (const Failure& f : kCases) {
        SetUp();
        SCOPED_TRACE(f.name);
        if (*f.callee) store("Callee", f.callee);
        run(f.name, f.body);
        ASSERT_TRUE(error_pending());
        EXPECT_EQ(error_code(), f.code);
        EXPECT_STREQ(error_detail(), f.detail);
        EXPECT_EQ(last_box(), f.box);
        EXPECT_EQ(result(), std::string(error_code_text(f.code)) + " (line " + std::to_string(f.line) + ")");
        EXPECT_STREQ(g_program.name, *f.callee ? "Callee" : f.name);
        EXPECT_FALSE(program_running());
        EXPECT_TRUE(host().ended_with_error);
    }
}

TEST_F(InterpreterTest, ErrorEndShowsTheNameAndRemembersTheStatement) {
    run("Divide", "expr 1 >A; expr 0 >B; expr A / B");
    EXPECT_EQ(result(), "Division by Zero (line 3)");
    EXPECT_EQ(host().uppers.back(), "Divide");
    EXPECT_EQ(g_program.cursor, 2);
    EXPECT_EQ(g_program.top, 2);
}

TEST_F(InterpreterTest, ConditionOutsideTheTableIsRefused) {
    load("Cond", "if A = 0; end");
    g_program.statements[0].condition = CONDITION_COUNT;
    start_program();
    finish();
    EXPECT_EQ(error_code(), ERR_UNEXPECTED);
    EXPECT_STREQ(error_detail(), "Conditional not defined, check_block_condition");
}

TEST_F(InterpreterTest, FailedCallLeavesTheCallerLoaded) {
    run("Caller", "expr 1 >A; call \"Missing\"; expr 2 >A");
    EXPECT_STREQ(g_program.name, "Caller");
    EXPECT_EQ(g_program.count, 3);
    EXPECT_EQ(g_run.call_depth, 0);
    EXPECT_EQ(g_program.cursor, 1);
    EXPECT_EQ(g_memory[A].re, 1);
}

TEST_F(InterpreterTest, CallerThatCannotBeReloadedEndsTheRun) {
    store("Asker", "in A");
    run("Host", "call \"Asker\"; expr 3 >B");
    ASSERT_TRUE(program_waiting());
    world().files.erase("Host");
    enter("4");
    finish();
    EXPECT_EQ(last_box(), "Error: Could no return to calling program");
    EXPECT_STREQ(error_detail(), "Could not return to (load) calling program, return_from_call");
    EXPECT_EQ(result(), "Code Error (line 1)");
    EXPECT_EQ(g_memory[B].re, 0);
}

TEST_F(InterpreterTest, CallFallsBackToTheBuiltInProgram) {
    const std::string name = builtin_program_names().front();
    load("Uses", "call \"" + name + "\"");
    start_program();
    program_step();
    EXPECT_EQ(last_box(), "");
    EXPECT_FALSE(error_pending());
    // A custom program of that name comes first.
    store(name, "expr 9 >A");
    run("Uses", "call \"" + name + "\"");
    EXPECT_EQ(g_memory[A].re, 9);
}

// --- stopping, pausing, waiting -------------------------------------------------------------

TEST_F(InterpreterTest, UserStopNamesTheNextStatement) {
    load("Forever", "while A >= 0; expr A + 1 >A; end");
    start_program();
    program_step();
    // Six rounds of while, expr, end, then while and expr: 20 statements.
    EXPECT_EQ(g_memory[A].re, 7);
    stop_program_by_user();
    EXPECT_EQ(result(), "Program Stopped (line 2)");
    EXPECT_EQ(host().uppers.back(), "Forever");
    EXPECT_TRUE(error_pending());
    program_step();
    EXPECT_EQ(g_memory[A].re, 7);
}

TEST_F(InterpreterTest, PausedOutputAtTheEndWaitsForAKey) {
    run("Pause", "expr 7 >A; out A pause \"Result\"");
    EXPECT_TRUE(program_paused());
    EXPECT_EQ(result(), "A=7");
    EXPECT_EQ(host().uppers.back(), "Result");
    program_step();
    EXPECT_TRUE(program_running());
    resume_program();
    program_step();
    EXPECT_FALSE(program_running());
    EXPECT_EQ(result(), "A=7");   // only "Running..." is cleared at the end
}

TEST_F(InterpreterTest, StepStopsAtAnInputWait) {
    load("Ask", "expr 1 >A; in B; expr B * 2 >C");
    start_program();
    program_step();
    EXPECT_TRUE(program_waiting());
    EXPECT_EQ(g_run.next_line, 2);   // two statements ran
    EXPECT_EQ(result(), "B?");
    EXPECT_EQ(g_hooks.program_input_variable(), B);
    program_step();
    EXPECT_EQ(g_memory[C].re, 0);

    enter("1 + 2 * i");
    EXPECT_FALSE(program_waiting());
    EXPECT_EQ(result(), "Running...");
    EXPECT_EQ(g_memory[B].im, 2);
    finish();
    EXPECT_EQ(g_memory[C].re, 2);
    // The entry is offered again by the next run.
    start_program();
    finish();
    ASSERT_EQ(host().inputs.size(), 2u);
    EXPECT_TRUE(host().inputs[0].empty());
    EXPECT_EQ(host().inputs[1], toks("1 + 2 * i"));
}

TEST_F(InterpreterTest, FunctionEntryReplacesTheFunctionAndItsCompiledForm) {
    run("Func", "in f3; f3; expr Ans >A; in f3 \"Again\"; f3; expr Ans >B; in f3; f3; expr Ans >C");
    EXPECT_EQ(result(), "f3()?");
    EXPECT_TRUE(program_waiting_function());
    EXPECT_EQ(g_hooks.program_input_variable(), -1);
    enter_function("2 * 5");
    finish();
    EXPECT_EQ(result(), "Again");
    EXPECT_EQ(host().inputs.back(), toks("2 * 5"));
    enter_function("7");
    finish();
    enter_function("");   // an empty entry keeps the function
    finish();
    EXPECT_EQ(g_memory[A].re, 10);
    EXPECT_EQ(g_memory[B].re, 7);
    EXPECT_EQ(g_memory[C].re, 7);
}

TEST_F(InterpreterTest, ClearInputBufferEmptiesFunctionsAndEntries) {
    g_program_functions[9].count = 3;
    g_last_entries[89].count = 2;
    run("Clear", "Clear Input Buffer");
    EXPECT_EQ(g_program_functions[9].count, 0);
    EXPECT_EQ(g_last_entries[89].count, 0);
}

// --- output files ----------------------------------------------------------------------------------

TEST_F(InterpreterTest, FoutWritesLinesAndClosesTheFile) {
    for (int k = 0; k < 2; ++k) {   // the second run starts the file afresh
        run("Log", "expr 3 >A; fout A; expr 1 + 2 * i; fout Ans; expr 0.5 >#69; fout #69");
        EXPECT_EQ(world().outputs["Log"], "A=\t3\r\nAns=\t1+2i\r\ntheta=\t0.5\r\n");
        EXPECT_EQ(world().open_outputs.back(), "");
    }
}

TEST_F(InterpreterTest, FoutFileIsCompleteAfterAUserStop) {
    load("Count", "label B; expr A + 1 >A; fout A; goto B");
    start_program();
    program_step();
    program_step();
    stop_program_by_user();
    // Two turns of 20 statements: ten rounds of four.
    ASSERT_EQ(g_memory[A].re, 10);
    std::string expected;
    for (int k = 1; k <= 10; ++k) expected += "A=\t" + std::to_string(k) + "\r\n";
    EXPECT_EQ(world().outputs["Count"], expected);
    EXPECT_EQ(world().open_outputs[0], "");
}

// --- statements that set Ans, the statistics, the plot --------------------------------------------

TEST_F(InterpreterTest, SystemTickAndStatsGetGiveRealAnswers) {
    world().ticks = 0xFFFFFF00u;
    load("Tick", "expr 2 * i; Ans = System Tick");
    start_program();
    world().ticks = 0x100u;   // 0x200 milliseconds later, across the wrap
    finish();
    EXPECT_EQ(g_ans.re, 512);
    EXPECT_EQ(g_ans.im, 0);

    run("Get", "expr 4; stats enter Ans; expr 1 >B; expr 3 * i; Ans = stats x[B]");
    EXPECT_EQ(g_ans.re, 4);
    EXPECT_EQ(g_ans.im, 0);
}

TEST_F(InterpreterTest, StatsStatementsFillTheData) {
    // The kind change drops the half-entered point (5).
    run("Data", "2 var Stats; expr 5 >A; stats enter A; 1 var Stats; 2 var Stats; expr 3 >A; expr 4 >B; stats enter A; stats enter B; "
                "expr 1 >C; expr 9; stats y[C] = Ans; Clear Memory");
    ASSERT_EQ(stats_data().count, 1);
    EXPECT_EQ(stats_data().x[0], 3);
    EXPECT_EQ(stats_data().y[0], 9);
    EXPECT_EQ(g_memory[A].re, 0);
    run("Wipe", "Clear Stats Data");
    EXPECT_EQ(stats_data().count, 0);
}

TEST_F(InterpreterTest, PlotWindowBoundsGoThroughTheSetter) {
    set_plot_window(-10, -10, 10, 10);
    run("Window", "expr 5; Plot x min = Ans; expr 20; Plot y max = Ans; expr neg 1; Plot x max = Ans");
    // x max -1 would leave x min above it: refused, nothing changed.
    EXPECT_EQ(g_plot.xmin, 5);
    EXPECT_EQ(g_plot.xmax, 10);
    EXPECT_EQ(g_plot.ymin, -10);
    EXPECT_EQ(g_plot.ymax, 20);
}

TEST_F(InterpreterTest, PlotTRangeKeepsItsOrderAndRepairsTheStep) {
    struct Case { const char* statement; double ans, tmin, tmax, tstep; };
    // From t 0..10 step 1.  Steps outside [range/1000, range] become range/1000.
    static const Case kCases[] = {
        {"Plot t step = Ans", 0, 0, 10, 0.01},   {"Plot t step = Ans", 11, 0, 10, 0.01},
        {"Plot t step = Ans", 2.5, 0, 10, 2.5},  {"Plot t min = Ans", 10, 0, 10, 1},
        {"Plot t min = Ans", 6, 6, 10, 1},       {"Plot t max = Ans", -1, 0, 10, 1},
        {"Plot t max = Ans", 0.5, 0, 0.5, 0.0005},
    };
    for (const Case& c : kCases) {
        SetUp();
        g_plot.tmin = 0;
        g_plot.tmax = 10;
        g_plot.tstep = 1;
        g_ans.re = c.ans;
        run("T", c.statement);
        SCOPED_TRACE(std::string(c.statement) + " " + std::to_string(c.ans));
        EXPECT_EQ(g_plot.tmin, c.tmin);
        EXPECT_EQ(g_plot.tmax, c.tmax);
        EXPECT_DOUBLE_EQ(g_plot.tstep, c.tstep);
    }
}

// --- settings, modes, dialogs --------------------------------------------------------------------------

TEST_F(InterpreterTest, SettingsStatementsChangeTheSharedSettings) {
    struct Case { const char* statement; int* field; int value; };
    const Case kCases[] = {
        {"Degree Angle", &g_settings.angle_unit, ANGLE_DEG},
        {"Gradient Angle", &g_settings.angle_unit, ANGLE_GRAD},
        {"Hexadecimal Base-n", &g_settings.base_mode, RADIX_HEX},
        {"Octal Base-n", &g_settings.base_mode, RADIX_OCT},
        {"Binary Base-n", &g_settings.base_mode, RADIX_BIN},
        {"8 bit Base-n", &g_settings.base_bits, BITS_8},
        {"32 bit Base-n", &g_settings.base_bits, BITS_32},
        {"Format Sci", &g_settings.number_format, FMT_SCI},
        {"Format Eng", &g_settings.number_format, FMT_ENG},
        {"precision 7", &g_settings.decimal_digits, 7},
        {"decimal mark 1", &g_settings.decimal_mark, 1},
        {"decimal mark 3", &g_settings.decimal_mark, 1},
        {"complex format 2", &g_settings.complex_format, CPLX_POLAR},
        {"Power Regression", &g_settings.stats_regress, REGRESS_POWER},
        {"2 var Stats", &g_settings.stats_var, 1},
    };
    for (const Case& c : kCases) {
        SetUp();
        run("S", c.statement);
        EXPECT_EQ(*c.field, c.value) << c.statement;
        EXPECT_EQ(host().settings_changes, 1) << c.statement;
    }
    // The values already in force change nothing.
    SetUp();
    run("Same", "Radian Angle; Decimal Base-n; 16 bit Base-n; Format Float; decimal mark 2; 1 var Stats");
    EXPECT_EQ(host().settings_changes, 0);
}

TEST_F(InterpreterTest, RadixStatementRecompilesLiterals) {
    // "10" is ten in decimal and sixteen once the radix is hexadecimal.
    g_settings.calculator_mode = MODE_BASE_N;
    run("Radix", "expr 2 >B; label C; expr 10 >A; Hexadecimal Base-n; expr B - 1 >B; if B > 0; goto C; end");
    EXPECT_EQ(g_memory[A].re, 16);
}

TEST_F(InterpreterTest, ModesAndDialogsAskTheHost) {
    run("Modes", "STATS Mode; BASE-n Mode; COMP Mode; description Two|lines; STATS LIST Mode");
    EXPECT_EQ(host().modes, (std::vector<int>{MODE_STATS, MODE_BASE_N, MODE_COMP}));
    EXPECT_EQ(host().description, "Two~~lines");
    EXPECT_EQ(host().stats_lists, 1);
}

TEST_F(InterpreterTest, ManyStatementsRunFromTheCache) {
    // 400,000 statements, each expression compiled once (a fraction of a
    // second even unoptimised).
    run("Hot", "expr 100000 >C; while A < C; expr A + 1 >A; expr B + A >B; end");
    EXPECT_EQ(g_memory[B].re, 5000050000.0);   // 100000 * 100001 / 2
}

}  // namespace
}  // namespace qx::test

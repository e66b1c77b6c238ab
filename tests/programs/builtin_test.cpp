// Every built-in program run through the interpreter the way a user runs
// it: inputs typed at each prompt and evaluated by the execute key, menu
// choices, a key after each paused output.  The values shown are compared
// with references computed independently (make_builtin_table.py).
#include <chrono>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "matrix/store.h"
#include "program_fixture.h"
#include "programs/assembler.h"

namespace qx::test {
namespace {

struct Shown {
    const char* label;   // the out label, or "text: ..." for a text statement
    double re, im;
};

struct BuiltinCase {
    const char* program;
    std::vector<const char*> inputs;   // expression words, one per in / in f()
    std::vector<int> menu;             // menu choices in order
    bool degrees;
    std::vector<std::vector<double>> matrix_a, matrix_b;
    std::vector<Shown> shown;
};

const BuiltinCase kCases[] = {
#include "reference/builtin_table.inc"
};

struct Seen {
    std::string label;
    double re = 0.0, im = 0.0;
};

struct ProgramRun {
    std::vector<Seen> seen;
    std::size_t inputs_used = 0, menu_used = 0;
    bool ended_with_error = false;
    std::string error;
    long steps = 0;
};

ProgramRun* g_active = nullptr;
const BuiltinCase* g_case = nullptr;

void record(const char* text) {
    if (!g_active || g_run.last_line < 0 || g_run.last_line >= g_program.count) return;
    const Statement& s = g_program.statements[g_run.last_line];
    if (s.instruction == INS_TEXT) {
        g_active->seen.push_back({std::string("text: ") + text});
    } else if (s.instruction == INS_OUT) {
        Seen v{s.text};
        if (s.operand0 == 0) {
            v.re = g_ans.re;
            v.im = g_ans.im;
        } else {
            v.re = memory_get(s.operand0 - 1, 0);
            v.im = memory_get(s.operand0 - 1, 1);
        }
        g_active->seen.push_back(v);
    }
}

void set_matrix(int index, const std::vector<std::vector<double>>& rows) {
    Matrix& m = g_matrices[index];
    clear_matrix(m);
    if (rows.empty()) return;
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c) m.e[r][c] = rows[r][c];
    m.last_row = static_cast<int>(rows.size()) - 1;
    m.last_column = static_cast<int>(rows[0].size()) - 1;
    m.defined = true;
}

std::vector<TokenCode> words(const char* text) {
    std::vector<TokenCode> t;
    std::string error;
    EXPECT_TRUE(assemble_expression(text, &t, &error)) << text << ": " << error;
    return t;
}

class BuiltinProgram : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        install_matrix_engine_hooks();
        clear_all_matrices();
        g_program_host.show_result = record;
        g_program_host.run_ended = [](bool with_error) {
            if (!g_active) return;
            g_active->ended_with_error = with_error;
            if (with_error) g_active->error = error_text();
        };
        g_program_host.menu_dialog = [](const char*, const MenuItem*, int count) {
            if (!g_active || g_active->menu_used >= g_case->menu.size()) return -1;
            const int choice = g_case->menu[g_active->menu_used++];
            return choice < count ? choice : -1;
        };
    }
    void TearDown() override {
        g_active = nullptr;
        g_case = nullptr;
        ProgramTest::TearDown();
    }

    // Runs the case's program to its end (or a step limit).
    ProgramRun execute(const BuiltinCase& c) {
        ProgramRun r;
        g_active = &r;
        g_case = &c;
        g_settings.angle_unit = c.degrees ? ANGLE_DEG : ANGLE_RAD;
        set_matrix(0, c.matrix_a);
        set_matrix(1, c.matrix_b);
        EXPECT_GT(load_program(c.program, true), 0) << c.program;
        start_program();
        while (program_running() && r.steps < 2000000) {
            ++r.steps;
            if (program_paused()) {
                resume_program();
            } else if (program_waiting()) {
                if (r.inputs_used >= c.inputs.size()) {
                    ADD_FAILURE() << c.program << ": more prompts than inputs";
                    stop_program_by_user();
                    break;
                }
                const std::vector<TokenCode> t = words(c.inputs[r.inputs_used++]);
                if (program_waiting_function()) {
                    program_function_entered(t.data(), static_cast<int>(t.size()));
                } else {
                    program_input_entered(t.data(), static_cast<int>(t.size()));
                    Evaluate_Input(t.data(), static_cast<int>(t.size()));
                    Evaluate_Input_2();
                    EXPECT_FALSE(error_pending()) << c.inputs[r.inputs_used - 1];
                }
            }
            program_step();
        }
        EXPECT_FALSE(program_running()) << c.program << " did not end";
        g_active = nullptr;
        return r;
    }
};

TEST_F(BuiltinProgram, EveryCaseShowsTheReferenceValues) {
    for (const BuiltinCase& c : kCases) {
        SCOPED_TRACE(c.program + std::string(" <- ") + (c.inputs.empty() ? "" : c.inputs[0]));
        SetUp();
        const ProgramRun r = execute(c);
        EXPECT_FALSE(r.ended_with_error) << r.error;
        EXPECT_EQ(r.inputs_used, c.inputs.size());
        EXPECT_EQ(r.menu_used, c.menu.size());
        ASSERT_EQ(r.seen.size(), c.shown.size());
        for (std::size_t k = 0; k < c.shown.size(); ++k) {
            const Shown& want = c.shown[k];
            const Seen& got = r.seen[k];
            EXPECT_EQ(got.label, want.label) << "output " << k;
            const double scale = std::max(std::hypot(want.re, want.im), 1e-3);
            EXPECT_NEAR(got.re, want.re, 1e-9 * scale) << "output " << k << " " << want.label;
            EXPECT_NEAR(got.im, want.im, 1e-9 * scale) << "output " << k << " " << want.label;
        }
    }
}

TEST_F(BuiltinProgram, EveryProgramIsCoveredAndReadable) {
    const std::vector<std::string> names = builtin_program_names();
    ASSERT_EQ(names.size(), static_cast<std::size_t>(BUILTIN_PROGRAM_COUNT));
    EXPECT_EQ(names.front(), "2 by 2 Matrix");
    EXPECT_EQ(names[6], "Fuction Matrix");
    EXPECT_EQ(names[21], "Resonate Frequency");
    for (const std::string& name : names) {
        bool covered = false;
        for (const BuiltinCase& c : kCases) covered = covered || name == c.program;
        EXPECT_TRUE(covered) << name;
        ASSERT_GT(load_program(name.c_str(), true), 1) << name;
        EXPECT_EQ(g_program.statements[0].instruction, INS_DESCRIPTION) << name;
        EXPECT_GT(std::strlen(g_program.description), 60u) << name;
        for (int k = 0; k < g_program.count; ++k) {
            const Statement& s = g_program.statements[k];
            const int code = s.instruction;
            if (code == INS_IN || code == INS_OUT || code == INS_IN_FUNCTION || code == INS_TEXT ||
                code == INS_MENU_ITEM || code == INS_MENU_TITLE) {
                EXPECT_LE(std::strlen(s.text), 15u) << name << " statement " << k << ": " << s.text;
            }
            if (code == INS_IN || code == INS_IN_FUNCTION) {
                EXPECT_GT(std::strlen(s.text), 0u) << name << " statement " << k;
            }
        }
        // The assembler writes exactly what the program writer would.
        const std::string text(builtin_program_text(), builtin_program_text_size());
        const std::size_t begin = text.find("N: " + name + "\r\n");
        ASSERT_NE(begin, std::string::npos) << name;
        const std::size_t end = text.find("\r\nN: ", begin);
        const std::size_t stop = end == std::string::npos ? text.size() : end + 2;
        EXPECT_EQ(text.substr(begin, stop - begin), write_program_text(g_program)) << name;
    }
}

TEST_F(BuiltinProgram, FunctionMatrixFillsF) {
    const BuiltinCase c{"Fuction Matrix", {"x sq + 1", "0", "2", "3"}, {}, false, {}, {}, {}};
    execute(c);
    const Matrix& f = g_matrices[5];
    ASSERT_TRUE(f.defined);
    ASSERT_EQ(f.rows(), 3);
    ASSERT_EQ(f.columns(), 2);
    const double want[3][2] = {{0, 1}, {1, 2}, {2, 5}};
    for (int r = 0; r < 3; ++r)
        for (int k = 0; k < 2; ++k) EXPECT_DOUBLE_EQ(f.e[r][k], want[r][k]);
}

TEST_F(BuiltinProgram, SymmetricMatrixBuildsTheSymmetricPart) {
    const BuiltinCase c{"Symmetric Matrix", {}, {}, false, {{1, 2}, {4, 3}}, {}, {}};
    execute(c);
    const Matrix& b = g_matrices[1];
    ASSERT_EQ(b.rows(), 2);
    EXPECT_DOUBLE_EQ(b.e[0][1], 3.0);
    EXPECT_DOUBLE_EQ(b.e[1][0], 3.0);
    EXPECT_DOUBLE_EQ(b.e[1][1], 3.0);
}

TEST_F(BuiltinProgram, SchedulesGoToTheOutputFile) {
    execute(BuiltinCase{"Amortization", {"1200", "0", "1", "2"}, {}, false, {}, {}, {}});
    EXPECT_EQ(world().outputs["Amortization"],
              "T=\t600\r\nK=\t1\r\nH=\t0\r\nQ=\t600\r\nB=\t600\r\nK=\t2\r\nH=\t0\r\nQ=\t600\r\nB=\t0\r\n");
    execute(BuiltinCase{"Scale Chart", {"~40", "~30", "10"}, {}, false, {}, {}, {}});
    EXPECT_EQ(world().outputs["Scale Chart"],
              "C=\t-40\r\nF=\t-40\r\nK=\t233.15\r\nC=\t-30\r\nF=\t-22\r\nK=\t243.15\r\n");
}

// Trial division stops at the square root and steps over the even numbers:
// a ten-digit prime takes about 23,000 divisions.
TEST_F(BuiltinProgram, PrimeFactorsOfALargePrimeIsQuick) {
    const auto start = std::chrono::steady_clock::now();
    const ProgramRun r = execute(BuiltinCase{"Prime Factors", {"2147483647"}, {}, false, {}, {}, {}});
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ASSERT_EQ(r.seen.size(), 1u);
    EXPECT_EQ(r.seen[0].re, 2147483647.0);
    // Four statements per odd divisor up to 46341, twenty per step.
    EXPECT_NEAR(static_cast<double>(r.steps), 23170.0 * 4 / STEP_STATEMENTS, 50.0);
#ifdef NDEBUG
    EXPECT_LT(seconds, 0.1);
#else
    EXPECT_LT(seconds, 1.0);   // unoptimised build
#endif
}

}  // namespace
}  // namespace qx::test

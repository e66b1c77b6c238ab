// Matrices and lists in the store's tests: named objects filled directly
// (as the editors would), and expressions written with the names of the
// matrix and list tokens on top of the engine's test words.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string>
#include <vector>

#include "matrix/store.h"
#include "tests/helpers.h"

namespace qx::test {

inline void set_matrix(int index, std::initializer_list<std::initializer_list<double>> rows) {
    Matrix& m = g_matrices[index];
    clear_matrix(m);
    int r = 0, columns = 0;
    for (const auto& row : rows) {
        int c = 0;
        for (double x : row) m.e[r][c++] = x;
        columns = c;
        ++r;
    }
    m.last_row = r - 1;
    m.last_column = columns - 1;
    m.defined = true;
}

struct Element {
    double re, im;
};

inline void set_list(int index, std::initializer_list<double> values) {
    ListValue& l = g_lists[index];
    clear_list(l);
    int k = 0;
    for (double x : values) l.re[k++] = x;
    l.last = k - 1;
    l.defined = true;
}

inline void set_complex_list(int index, std::initializer_list<Element> values) {
    ListValue& l = g_lists[index];
    clear_list(l);
    int k = 0;
    for (const Element& x : values) {
        l.re[k] = x.re;
        l.im[k] = x.im;
        ++k;
    }
    l.last = k - 1;
    l.defined = true;
}

// Words beyond the engine's test words: [A]..[J] and LA..LJ (read), >[A]
// and >LA (store), T (transpose) and the matrix and list functions.
inline std::string object_words(const std::string& text) {
    static const struct { const char* name; int code; } kWords[] = {
        {"Det(", 1200}, {"Iden(", 1201}, {"rref(", 1202}, {"T", 1204}, {"Trace(", 1205},
        {"MtoL(", 462}, {"LtoM(", 461}, {"max(", 450}, {"mean(", 451}, {"median(", 452},
        {"min(", 453}, {"prod(", 454}, {"stdDev(", 455}, {"sum(", 456}, {"variance(", 457},
        {"cumSum(", 458}, {"sortA(", 459}, {"sortD(", 460}, {"augList(", 463}, {"fill(", 464},
        {"deltaList(", 465}, {"listSize(", 466}, {"listResize(", 467}, {"reverse(", 469},
        {"pos(", 470}, {"toX(", 471}, {"toY(", 472}, {"getElem(", 413}, {"rowSize(", 414},
        {"colSize(", 415}, {"initMatrix(", 416}, {"Augment(", 417}, {"rowDel(", 425},
    };
    std::string out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find(' ', pos);
        if (end == std::string::npos) end = text.size();
        std::string w = text.substr(pos, end - pos);
        pos = end + 1;
        if (w.empty()) continue;
        std::string word = w;
        const bool store = w.size() > 1 && w[0] == '>';
        const std::string name = store ? w.substr(1) : w;
        if (name.size() == 3 && name[0] == '[' && name[2] == ']' && name[1] >= 'A' &&
            name[1] <= 'J') {
            word = "#" + std::to_string((store ? 990 : 890) + (name[1] - 'A'));
        } else if (name.size() == 2 && name[0] == 'L' && name[1] >= 'A' && name[1] <= 'J') {
            word = "#" + std::to_string((store ? 3100 : 2100) + (name[1] - 'A'));
        } else {
            for (const auto& k : kWords)
                if (w == k.name) word = "#" + std::to_string(k.code);
        }
        if (!out.empty()) out += ' ';
        out += word;
    }
    return out;
}

inline Outcome mrun(const std::string& text) { return run(object_words(text)); }

// An expression and the error it must end in.
struct ErrorCase {
    const char* expr;
    int code;
};

template <std::size_t N>
void expect_refusals(const ErrorCase (&cases)[N]) {
    for (const ErrorCase& c : cases) {
        Outcome o = mrun(c.expr);
        EXPECT_FALSE(o.ok) << c.expr;
        EXPECT_EQ(o.code, c.code) << c.expr << ": " << error_code_text(o.code);
    }
}

inline void reset_objects() {
    clear_all_matrices();
    clear_all_lists();
    clear_answer_objects();
    free_object_temps();
    g_stats_column_hook = [](int, const ListValue&) {};
}

class MatrixTest : public ::testing::Test {
protected:
    void SetUp() override {
        fresh_state();
        reset_objects();
        install_matrix_engine_hooks();
    }
    void TearDown() override {
        reset_objects();
        fresh_state();
    }
};

inline const Matrix& answer_matrix() { return g_matrices[ANSWER_OBJECT]; }
inline const ListValue& answer_list() { return g_lists[ANSWER_OBJECT]; }

// Compares a matrix with expected rows element by element.
inline ::testing::AssertionResult matrix_is(const Matrix& m,
                                            const std::vector<std::vector<double>>& rows,
                                            double tolerance = 1e-12) {
    if (!m.defined) return ::testing::AssertionFailure() << "matrix is undefined";
    const int r = static_cast<int>(rows.size());
    const int c = r > 0 ? static_cast<int>(rows[0].size()) : 0;
    if (m.rows() != r || (r > 0 && m.columns() != c))
        return ::testing::AssertionFailure()
               << "size " << m.rows() << "x" << m.columns() << ", expected " << r << "x" << c;
    for (int i = 0; i < r; ++i)
        for (int j = 0; j < c; ++j)
            if (std::fabs(m.e[i][j] - rows[i][j]) > tolerance * std::max(1.0, std::fabs(rows[i][j])))
                return ::testing::AssertionFailure() << "element (" << i << "," << j << ") is "
                                                     << m.e[i][j] << ", expected " << rows[i][j];
    return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult list_is(const ListValue& l, const std::vector<Element>& values,
                                          double tolerance = 1e-12) {
    if (!l.defined) return ::testing::AssertionFailure() << "list is undefined";
    if (l.size() != static_cast<int>(values.size()))
        return ::testing::AssertionFailure() << "size " << l.size() << ", expected " << values.size();
    for (std::size_t k = 0; k < values.size(); ++k)
        if (std::fabs(l.re[k] - values[k].re) > tolerance * std::max(1.0, std::fabs(values[k].re)) ||
            std::fabs(l.im[k] - values[k].im) > tolerance * std::max(1.0, std::fabs(values[k].im)))
            return ::testing::AssertionFailure() << "element " << k << " is " << l.re[k] << "+"
                                                 << l.im[k] << "i, expected " << values[k].re
                                                 << "+" << values[k].im << "i";
    return ::testing::AssertionSuccess();
}

// n copies of a bracketed group joined by "+", to fill the temporaries.
inline std::string groups(const char* group, int n) {
    std::string s;
    for (int k = 0; k < n; ++k) {
        if (k) s += " + ";
        s += group;
    }
    return s;
}

}  // namespace qx::test

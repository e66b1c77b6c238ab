// The function catalogue: its table, its help texts (whose worked examples
// are recomputed by the engine), the dialog's behaviour and the dialog run
// by scripted answers.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "engine/errors.h"
#include "engine/hooks.h"
#include "engine/settings.h"
#include "matrix/store.h"
#include "numeric/calculus.h"
#include "panel/catalogue.h"
#include "platform/font.h"
#include "platform/widgets.h"
#include "platform/window_headless.h"
#include "tests/helpers.h"

namespace qx {
namespace {

const std::string kExampleMark = "\r\n\r\nExample:\r\n   ";

struct Expected {
    int category;
    const char* title;
    TokenCode token;
};

// The catalogue as the key decoder and the saved programs rely on it.
const Expected kExpected[] = {
    {0, "atan2(y, x)", 404}, {0, "Bessel Jn(order, x)", 430}, {0, "Bessel Yn(order, x)", 431},
    {0, "Beta(z1, z2)", 407}, {0, "Ceiling(z)", 168}, {0, "Error(n)", 482}, {0, "Floor(z)", 167},
    {0, "Fractional Part(z)", 174}, {0, "fromHMS(z)", 485}, {0, "Gamma(z)", 176},
    {0, "gcd(n1, n2)", 406}, {0, "Integer Part(z)", 124}, {0, "lcm(n1, n2)", 405},
    {0, "logb(z, base)", 403}, {0, "Mant(z)", 486}, {0, "Max(x, y)", 400}, {0, "Min(x, y)", 401},
    {0, "Round(z, n)", 119}, {0, "Sign(x)", 177}, {0, "toHMS(z)", 484}, {0, "Trunc(z, n)", 108},
    {0, "Xpon(z)", 487},
    {1, "Complex Conjugate(z)", 169}, {1, "Complex Imaginary Part(z)", 171},
    {1, "Complex Magnitude(z)", 19}, {1, "Complex Polar Angle(z)", 172},
    {1, "Complex Real Part(z)", 170},
    {2, "randBin(p, n)", 421}, {2, "randInt(lower, upper)", 423},
    {2, "randNorm(mean, std dev)", 402}, {2, "Random Number", 118}, {2, "randPois(x)", 422},
    {3, "fnDeriv(expression, variable, value)", 477},
    {3, "fnEval(expression, variable, value)", 478},
    {3, "fnInt(expression, variable, lower, upper, [tolerance])", 468},
    {3, "fnMax(expression, variable, lower, upper)", 476},
    {3, "fnMin(expression, variable, lower, upper)", 475},
    {3, "fnRoot(expression, variable, lower, upper)", 483},
    {3, "Product(expression, variable, start, end)", 480},
    {3, "Summation(expression, variable, start, end)", 479},
    {4, "Cholesky(matrix)", 1211}, {4, "colNorm(matrix)", 1217}, {4, "Cond(matrix)", 1224},
    {4, "crossP(matrix)", 1219}, {4, "Determinant(matrix)", 1200}, {4, "dotP(matrix)", 1218},
    {4, "eigenVal(matrix)", 1225}, {4, "eigenVec(matrix)", 1226}, {4, "LU_L(matrix)", 1208},
    {4, "LU_P(matrix)", 1210}, {4, "LU_U(matrix)", 1209}, {4, "Norm(matrix)", 1223},
    {4, "QR_Q(matrix)", 1212}, {4, "QR_R(matrix)", 1213}, {4, "Rank(matrix)", 1206},
    {4, "rowNorm(matrix)", 1216}, {4, "rref(matrix)", 1202}, {4, "SLV(matrix)", 1207},
    {4, "solve_CH(matrix)", 1221}, {4, "solve_LU(matrix)", 1203}, {4, "solve_QR(matrix)", 1220},
    {4, "solve_SV(matrix)", 1222}, {4, "SVD_U(matrix)", 1214}, {4, "SVD_V(matrix)", 1215},
    {4, "Trace(matrix)", 1205}, {4, "Transpose", 1204},
    {5, "Augment(matrix1, matrix2)", 417}, {5, "colDelete(matrix, col)", 426},
    {5, "colScale(matrix, col, scale)", 411}, {5, "colScaleAdd(matrix, col1, col2, scale)", 419},
    {5, "colSize(matrix)", 415}, {5, "colSwap(matrix, col1, col2)", 409}, {5, "Diag(matrix)", 432},
    {5, "getElem(matrix, row, col)", 413}, {5, "Identity(size)", 1201},
    {5, "initMatrix(rows, cols, value)", 416}, {5, "putElem(matrix, row, col, value)", 412},
    {5, "randMatrix(rows, cols)", 428}, {5, "Replace(matrix1, matrix2, row, col)", 429},
    {5, "Resize(matrix, rows, cols)", 427}, {5, "rowDelete(matrix, row)", 425},
    {5, "rowScale(matrix, row, scale)", 410}, {5, "rowScaleAdd(matrix, row1, row2, scale)", 418},
    {5, "rowSize(matrix)", 414}, {5, "rowSwap(matrix, row1, row2)", 408},
    {5, "Stack(matrix1, matrix2)", 424}, {5, "subMatrix(matrix, row1, col1, row2, col2)", 420},
};

// Message boxes raised through the engine's hook.
struct Box {
    std::string text, title;
    int style;
};
std::vector<Box> g_boxes;
int record_box(const char* text, const char* title, int style) {
    g_boxes.push_back({text, title, style});
    return 0;
}

class CatalogueTest : public ::testing::Test {
protected:
    void SetUp() override {
        reset();
        g_hooks.message_box = record_box;
        install_matrix_engine_hooks();
        install_calculus_hooks();
    }
    void TearDown() override { reset(); }
    static void reset() {
        test::fresh_state();   // also puts the message box hook back
        g_boxes.clear();
        catalogue_choice = 0;
        last_catalogue_token = -1;
    }
};

const CatalogueEntry* entry_titled(const std::string& title) {
    for (const CatalogueEntry& e : catalogue_entries())
        if (title == e.title) return &e;
    return nullptr;
}

std::string example_of(const CatalogueEntry& e) {
    std::string d = e.description;
    std::size_t at = d.find(kExampleMark);
    return at == std::string::npos ? std::string() : d.substr(at + kExampleMark.size());
}

// The name the display shows for the entry's token, as examples write it.
std::string display_name(TokenCode token) {
    if (token == TOK_RAND) return "Rand";
    const OperatorInfo& op = operator_info(describe_token(token).op_id);
    return (op.flags & FLAG_A) ? std::string(op.name) + "(" : std::string(op.text);
}

TEST_F(CatalogueTest, TableHoldsTheEntriesInTheirOrder) {
    auto entries = catalogue_entries();
    ASSERT_EQ(entries.size(), std::size(kExpected));
    ASSERT_EQ(entries.size(), static_cast<std::size_t>(CATALOGUE_SIZE));
    for (std::size_t k = 0; k < entries.size(); ++k) {
        EXPECT_EQ(entries[k].category, kExpected[k].category) << k;
        EXPECT_STREQ(entries[k].title, kExpected[k].title) << k;
        EXPECT_EQ(entries[k].token, kExpected[k].token) << kExpected[k].title;
    }
    const int per_category[CATALOGUE_CATEGORIES] = {22, 5, 5, 8, 26, 21};
    for (int c = 0; c < CATALOGUE_CATEGORIES; ++c) {
        int n = 0;
        for (const CatalogueEntry& e : entries) n += e.category == c;
        EXPECT_EQ(n, per_category[c]) << c;
    }
    // A token or title chosen by OK or remembered between openings must
    // lead back to exactly one entry.
    std::set<TokenCode> tokens;
    std::set<std::string> titles;
    for (const CatalogueEntry& e : entries) {
        EXPECT_TRUE(tokens.insert(e.token).second) << e.token;
        EXPECT_TRUE(titles.insert(e.title).second) << e.title;
    }
}

TEST_F(CatalogueTest, CategoryNames) {
    const char* names[] = {"Real Function",           "Complex Function",
                           "Probability Function",    "Variable based Function",
                           "Matrix Math Function",    "Matrix Command Function"};
    for (int c = 0; c < CATALOGUE_CATEGORIES; ++c)
        EXPECT_STREQ(catalogue_category_name(c), names[c]);
    EXPECT_STREQ(catalogue_category_name(6), "");
    EXPECT_STREQ(catalogue_category_name(-1), "");
}

TEST_F(CatalogueTest, EveryTokenIsAnExpressionToken) {
    for (const CatalogueEntry& e : catalogue_entries()) {
        TokenDescriptor d = describe_token(e.token);
        if (e.token == TOK_RAND) {
            EXPECT_EQ(d.token_class, TC_OPERAND);
        } else {
            EXPECT_EQ(d.token_class, TC_OPERATOR) << e.title;
        }
    }
}

TEST_F(CatalogueTest, OrderCheckPassesOnTheTable) {
    EXPECT_EQ(check_catalogue_order(catalogue_entries()), 0);
    EXPECT_TRUE(g_boxes.empty());
    catalogue_open();
    EXPECT_TRUE(g_boxes.empty());
}

TEST_F(CatalogueTest, OrderCheckReportsEachMisplacedTitleAndGoesOn) {
    const CatalogueEntry table[] = {
        {1, 0, "beta", ""},  {2, 1, "Zeta", ""}, {3, 0, "Alpha", ""},  // after "beta": out of order
        {4, 0, "gamma", ""}, {5, 1, "zeta", ""},                       // equal ignoring case
        {6, 1, "omega", ""}, {7, 5, "b", ""},    {8, 5, "c", ""},
    };
    EXPECT_EQ(check_catalogue_order(table), 3);
    ASSERT_EQ(g_boxes.size(), 3u);
    // Categories are walked in order, each in table order.
    EXPECT_EQ(g_boxes[0].text, "Alpha");
    EXPECT_EQ(g_boxes[1].text, "zeta");
    EXPECT_EQ(g_boxes[2].text, "omega");
    for (const Box& b : g_boxes) {
        EXPECT_EQ(b.title, "String Out of Order");
        EXPECT_EQ(b.style, 0x30);
    }
    // The dialog still opens on a mis-ordered table.
    g_boxes.clear();
    CatalogueView v = catalogue_open(table);
    EXPECT_EQ(g_boxes.size(), 3u);
    ASSERT_EQ(v.listed.size(), 3u);
    EXPECT_EQ(v.selected, 0);
}

TEST_F(CatalogueTest, DescriptionsEndWithAWorkedExample) {
    for (const CatalogueEntry& e : catalogue_entries()) {
        std::string d = e.description;
        if (e.token == 1204) {
            EXPECT_EQ(d, "Returns the transpose of the specified matrix. Note: this operator "
                         "should be inserted after the specified matrix in an expression.");
            continue;
        }
        std::size_t at = d.find(kExampleMark);
        ASSERT_NE(at, std::string::npos) << e.title;
        EXPECT_EQ(d.find(kExampleMark, at + 1), std::string::npos) << e.title;
        std::string text = d.substr(0, at), example = example_of(e);
        EXPECT_GT(text.size(), 20u) << e.title;
        EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << e.title;
        EXPECT_EQ(example.find_first_of("\r\n"), std::string::npos) << e.title;
        EXPECT_NE(example.find(" returns "), std::string::npos) << e.title;
        EXPECT_NE(example[0], ' ') << e.title;
        // The example calls the function by the name the display shows.
        EXPECT_NE(example.find(display_name(e.token)), std::string::npos) << e.title;
    }
    EXPECT_STREQ(entry_titled("atan2(y, x)")->description,
                 "Alternate arctangent function. Returns the arctangent of y/x. The signs of both "
                 "parameters are used to determine the quadrant of the return value. Both x and y "
                 "must be real numbers.\r\n\r\nExample:\r\n   atan2(-862.4,78.5) returns -1.48... "
                 "(RAD angle mode)");
}

TEST_F(CatalogueTest, TextsUseOnlyCharactersTheDialogFontDraws) {
    auto drawable = [](const char* text) {
        for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p)
            if (*p != '\r' && *p != '\n' && !font_has_char(FONT_DIALOG, *p)) return false;
        return true;
    };
    for (const CatalogueEntry& e : catalogue_entries()) {
        EXPECT_TRUE(drawable(e.title)) << e.title;
        EXPECT_TRUE(drawable(e.description)) << e.title;
    }
    for (int c = 0; c < CATALOGUE_CATEGORIES; ++c)
        EXPECT_TRUE(drawable(catalogue_category_name(c)));
}

// Turns the call of an example ("atan2(-862.4,78.5)") into tokens: the
// entry's own token stands for the name and its bracket, and the arguments
// are plain numbers, i, pi and + - * / ^.
std::vector<TokenCode> call_tokens(const std::string& call, TokenCode function) {
    static const TokenCode kDigit[] = {38, 33, 34, 35, 28, 29, 30, 23, 24, 25};
    static const struct { char c; TokenCode token; bool operand; } kSigns[] = {
        {'.', TOK_POINT, false},    {'i', TOK_I, true},          {'+', TOK_PLUS, false},
        {'*', TOK_MULTIPLY, false}, {'/', TOK_DIVIDE, false},    {'^', TOK_POWER, false},
        {',', TOK_COMMA, false},    {'(', TOK_OPEN_PAREN, false}, {')', TOK_CLOSE_PAREN, true},
    };
    if (function == TOK_RAND) return {TOK_RAND};
    std::size_t p = call.find('(');
    if (p == std::string::npos) throw std::invalid_argument(call);
    std::vector<TokenCode> out{function};
    bool after_operand = false;   // a '-' then subtracts instead of negating
    for (++p; p < call.size(); ++p) {
        char c = call[p];
        if (c >= '0' && c <= '9') {
            out.push_back(kDigit[c - '0']);
            after_operand = true;
            continue;
        }
        if (c == '-') {
            out.push_back(after_operand ? TOK_MINUS : TOK_NEGATE);
            after_operand = false;
            continue;
        }
        // The variable and the two functions the var-function examples use.
        if (c == 'x') {
            out.push_back(TOK_READ_MEM + MEM_X);
            after_operand = true;
            continue;
        }
        if (call.compare(p, 4, "sin(") == 0 || call.compare(p, 2, "e^") == 0) {
            const bool sine = call[p] == 's';
            out.push_back(sine ? 5 : 111);
            p += sine ? 3 : 1;
            after_operand = false;
            continue;
        }
        bool known = false;
        for (const auto& sign : kSigns)
            if (sign.c == c) {
                out.push_back(sign.token);
                // A point inside a number keeps what came before it.
                if (c != '.') after_operand = sign.operand;
                known = true;
            }
        if (!known) throw std::invalid_argument(call);
    }
    return out;
}

struct ParsedExample {
    std::string call, result, note;
};

ParsedExample parse_example(const std::string& example) {
    ParsedExample x;
    std::size_t r = example.find(" returns ");
    x.call = example.substr(0, r);
    std::string rest = example.substr(r + 9);
    std::size_t n = rest.find(" (");
    x.result = rest.substr(0, n);
    if (n != std::string::npos) x.note = rest.substr(n + 2, rest.size() - n - 3);
    return x;
}

// What the display shows matches the example's result; a result ending in
// "..." is a shortened decimal and only its written digits must agree.
bool shows(const std::string& display, const std::string& result) {
    const std::string dots = "...";
    if (result.size() > dots.size() && result.compare(result.size() - 3, 3, dots) == 0)
        return display.compare(0, result.size() - 3, result, 0, result.size() - 3) == 0;
    return display == result;
}

TEST_F(CatalogueTest, WorkedExamplesAreWhatTheCalculatorReturns) {
    int checked = 0;
    for (const CatalogueEntry& e : catalogue_entries()) {
        // Matrix functions and the error estimate of fnInt are checked by
        // hand (the matrix library's own tests hold their values); random
        // draws below.
        if ((e.category > 1 && e.category != 3) || e.token == 482) continue;
        SCOPED_TRACE(e.title);
        ParsedExample x = parse_example(example_of(e));
        reset_settings();
        if (x.note == "DEG angle mode") {
            g_settings.angle_unit = ANGLE_DEG;
        } else if (x.note.find("angle mode") != std::string::npos) {
            EXPECT_EQ(x.note, "RAD angle mode");
        }
        test::Outcome o = test::evaluate(call_tokens(x.call, e.token));
        ASSERT_TRUE(o.ok) << x.call << " -> error " << o.code;
        EXPECT_TRUE(shows(o.text, x.result))
            << x.call << " shows " << o.text << ", help says " << x.result;
        ++checked;
    }
    EXPECT_EQ(checked, 34);
}

TEST_F(CatalogueTest, RandomExamplesShowPossibleDraws) {
    struct Case {
        TokenCode token;
        double low, high;
        bool whole;
        double shown;
    };
    // Ranges as the help texts state them; the value each shows "such as".
    const Case cases[] = {
        {421, 0, 10, true, 6}, {423, 1, 6, true, 4}, {422, 0, 1e9, true, 2},
        {402, 10 - 12, 10 + 12, false, 8.195}, {TOK_RAND, 0, 1, false, 0.7919},
    };
    for (const Case& c : cases) {
        const CatalogueEntry* e = nullptr;
        for (const CatalogueEntry& k : catalogue_entries())
            if (k.token == c.token) e = &k;
        ASSERT_NE(e, nullptr);
        SCOPED_TRACE(e->title);
        ParsedExample x = parse_example(example_of(*e));
        std::vector<TokenCode> tokens = call_tokens(x.call, c.token);
        std::string shown = x.result.substr(x.result.rfind(' ') + 1);
        EXPECT_NEAR(std::atof(shown.c_str()), c.shown, 1e-3);
        bool seen = !c.whole;
        for (int n = 0; n < 400; ++n) {
            test::Outcome o = test::evaluate(tokens);
            ASSERT_TRUE(o.ok) << x.call << " -> error " << o.code;
            EXPECT_GE(o.re, c.low);
            EXPECT_LE(o.re, c.high);
            if (c.whole) {
                EXPECT_EQ(o.re, std::floor(o.re));
            }
            if (o.re == c.shown) seen = true;
        }
        EXPECT_TRUE(seen) << x.call << " never drew " << c.shown;
    }
}

// ---- The dialog's behaviour -----------------------------------------------

TEST_F(CatalogueTest, OpeningShowsTheCallersCategoryAndItsFirstEntry) {
    for (int category = 0; category < CATALOGUE_CATEGORIES; ++category) {
        catalogue_choice = category;
        CatalogueView v = catalogue_open();
        EXPECT_EQ(v.category, category);
        ASSERT_FALSE(v.listed.empty());
        for (const CatalogueEntry* e : v.listed) EXPECT_EQ(e->category, category);
        EXPECT_EQ(v.selected, 0);
        EXPECT_EQ(v.description, v.listed[0]->description);
    }
    catalogue_choice = 2;   // the matrix and list editors' Math key
    CatalogueView v = catalogue_open();
    ASSERT_EQ(v.listed.size(), 5u);
    EXPECT_STREQ(v.listed[0]->title, "randBin(p, n)");
    EXPECT_STREQ(v.listed[4]->title, "randPois(x)");
}

TEST_F(CatalogueTest, ACategoryOutsideTheTableOpensTheFirst) {
    for (int category : {-1, 6, 99}) {
        catalogue_choice = category;
        CatalogueView v = catalogue_open();
        EXPECT_EQ(v.category, 0);
        EXPECT_EQ(catalogue_choice, 0);
        EXPECT_STREQ(v.listed.at(0)->title, "atan2(y, x)");
    }
}

TEST_F(CatalogueTest, OkReturnsTheTokenOfTheChosenTitle) {
    const std::pair<const char*, TokenCode> cases[] = {
        {"Complex Magnitude(z)", 19}, {"Random Number", 118}, {"Transpose", 1204},
        {"atan2(y, x)", 404},         {"Summation(expression, variable, start, end)", 479},
    };
    for (const auto& [title, token] : cases) {
        EXPECT_EQ(catalogue_ok(title), token) << title;
        EXPECT_EQ(catalogue_choice, token);
        EXPECT_EQ(last_catalogue_token, token);
    }
}

TEST_F(CatalogueTest, OkWithoutAMatchingTitleChoosesNothing) {
    catalogue_ok("Gamma(z)");
    for (const char* title : {"", "gamma(z)", "Gamma", "No Such Function"}) {
        EXPECT_EQ(catalogue_ok(title), -1) << title;
        EXPECT_EQ(catalogue_choice, -1);
        EXPECT_EQ(last_catalogue_token, 176);
    }
}

TEST_F(CatalogueTest, CancelChoosesNothingAndKeepsTheLastChoice) {
    catalogue_ok("Trace(matrix)");
    EXPECT_EQ(catalogue_cancel(), -1);
    EXPECT_EQ(catalogue_choice, -1);
    EXPECT_EQ(last_catalogue_token, 1205);
}

TEST_F(CatalogueTest, TheLastChoiceWinsOverTheCallersCategory) {
    catalogue_choice = 4;
    CatalogueView v = catalogue_open();
    catalogue_ok("solve_QR(matrix)");

    catalogue_choice = 0;   // COMP's Math key
    v = catalogue_open();
    EXPECT_EQ(v.category, 4);
    EXPECT_EQ(catalogue_choice, 4);
    ASSERT_GE(v.selected, 0);
    EXPECT_STREQ(v.listed[v.selected]->title, "solve_QR(matrix)");
    EXPECT_EQ(v.description, entry_titled("solve_QR(matrix)")->description);
}

TEST_F(CatalogueTest, ALastTokenOutsideTheTableIsIgnored) {
    last_catalogue_token = 5;   // sin: not in the catalogue
    catalogue_choice = 3;
    CatalogueView v = catalogue_open();
    EXPECT_EQ(v.category, 3);
    EXPECT_EQ(v.selected, 0);
}

TEST_F(CatalogueTest, ChangingTheCategorySelectsItsFirstFunction) {
    catalogue_ok("Xpon(z)");
    CatalogueView v = catalogue_open();
    EXPECT_STREQ(v.listed.at(v.selected)->title, "Xpon(z)");
    const char* first[CATALOGUE_CATEGORIES] = {
        "atan2(y, x)",      "Complex Conjugate(z)",
        "randBin(p, n)",    "fnDeriv(expression, variable, value)",
        "Cholesky(matrix)", "Augment(matrix1, matrix2)",
    };
    for (int category : {5, 4, 3, 2, 1, 0}) {
        catalogue_category_changed(v, category);
        EXPECT_EQ(v.category, category);
        EXPECT_EQ(v.selected, 0);
        EXPECT_STREQ(v.listed.at(0)->title, first[category]);
        EXPECT_EQ(v.description, v.listed[0]->description);
    }
}

TEST_F(CatalogueTest, ChangingTheFunctionShowsItsDescription) {
    catalogue_choice = 1;
    CatalogueView v = catalogue_open();
    catalogue_function_changed(v, "Complex Real Part(z)");
    EXPECT_EQ(v.selected, 4);
    EXPECT_EQ(v.description, entry_titled("Complex Real Part(z)")->description);
    // A text that names no entry leaves the view as it was.
    catalogue_function_changed(v, "nothing");
    EXPECT_EQ(v.selected, 4);
    EXPECT_EQ(v.description, entry_titled("Complex Real Part(z)")->description);
}

// ---- The dialog, run by scripted answers -----------------------------------

class CatalogueDialogTest : public CatalogueTest {
protected:
    HeadlessWindow window;
    Surface under{SCREEN_WIDTH, SCREEN_HEIGHT};
    std::vector<std::string> log;

    void SetUp() override {
        CatalogueTest::SetUp();
        window.set_logger([this](const std::string& line) { log.push_back(line); });
    }
    int choose(int category, const std::string& button,
               std::vector<std::pair<std::string, std::string>> fields = {}) {
        window.push_answer(ScriptedAnswer{button, std::move(fields)});
        return open_catalogue(window, under, category);
    }
};

TEST_F(CatalogueDialogTest, ReturnsTheChosenToken) {
    EXPECT_EQ(choose(0, "OK", {{"Function Type", "Complex Function"},
                               {"Function", "Complex Magnitude(z)"}}), 19);
    EXPECT_EQ(choose(0, "OK", {{"Function Type", "Probability Function"},
                               {"Function", "Random Number"}}), 118);
    EXPECT_EQ(choose(0, "OK", {{"Function Type", "Matrix Math Function"},
                               {"Function", "Transpose"}}), 1204);
    EXPECT_EQ(last_catalogue_token, 1204);
    // Every scripted field found its control and its value.
    for (const std::string& line : log) EXPECT_EQ(line.find(':'), std::string::npos) << line;
}

TEST_F(CatalogueDialogTest, ReopensAtTheLastChoice) {
    EXPECT_EQ(choose(0, "OK", {{"Function Type", "Matrix Math Function"},
                               {"Function", "solve_QR(matrix)"}}), 1220);
    // OK straight away takes what the dialog selected on opening.
    EXPECT_EQ(choose(0, "OK"), 1220);
    EXPECT_EQ(catalogue_choice, 1220);
}

TEST_F(CatalogueDialogTest, ANewCategoryOffersItsFirstFunction) {
    catalogue_ok("Gamma(z)");
    EXPECT_EQ(choose(0, "OK", {{"Function Type", "Complex Function"}}), 169);
    EXPECT_EQ(choose(0, "OK", {{"Function Type", "Real Function"}}), 404);
}

TEST_F(CatalogueDialogTest, CancelInsertsNothing) {
    catalogue_ok("Gamma(z)");
    EXPECT_EQ(choose(0, "Cancel", {{"Function", "Floor(z)"}}), -2);
    EXPECT_EQ(catalogue_choice, -1);
    EXPECT_EQ(last_catalogue_token, 176);
}

TEST_F(CatalogueDialogTest, ShowsTheDialogWithItsControls) {
    choose(2, "OK");
    ASSERT_FALSE(window.frame().empty());
    bool logged = false;
    for (const std::string& line : log) logged |= line == "dialog Select Function -> OK";
    EXPECT_TRUE(logged);
}

}  // namespace
}  // namespace qx

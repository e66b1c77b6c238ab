#include "programs/assembler.h"

#include <cstdio>
#include <string_view>

#include "engine/memory.h"
#include "programs/instructions.h"
#include "programs/program.h"

namespace qx {

namespace {

// Field limits of the stored form (the reader refuses or cuts beyond them).
constexpr std::size_t kTextLimit = STATEMENT_TEXT_SIZE - 1;
constexpr std::size_t kDescriptionLimit = DESCRIPTION_SIZE - 1;
constexpr int kTokenLimit = SLOT_TOKEN_LIMIT;
constexpr int kStatementLimit = MAX_STATEMENTS;
constexpr int kExpressionLimit = EXPRESSION_SLOT_COUNT - 1;   // slot 0 is never used
constexpr std::size_t kNameLimit = PROGRAM_NAME_SIZE - 1;

// Instructions whose only field is the code itself: these are written by
// their exact name.
bool fieldless(int code) {
    switch (code) {
        case INS_IF: case INS_WHILE: case INS_LOOP: case INS_CALL: case INS_LABEL:
        case INS_GOTO: case INS_IN: case INS_OUT: case INS_EXPRESS: case INS_TEXT:
        case INS_FOUT: case INS_IN_FUNCTION: case INS_FUNCTION: case INS_ENTER_STATS:
        case INS_GET_X: case INS_PUT_X: case INS_GET_Y: case INS_PUT_Y: case INS_GOSUB:
        case INS_PRECISION: case INS_DECIMAL_MARK: case INS_MENU_ITEM: case INS_MENU_TITLE:
        case INS_DESCRIPTION: case INS_COMPLEX_FORMAT:
            return false;
        default:
            return true;
    }
}

const TokenCode kDigitTokens[10] = {TOK_0, TOK_1, TOK_2, TOK_3, TOK_4,
                                    TOK_5, TOK_6, TOK_7, TOK_8, TOK_9};

// Memory variable of a name: R0..R9, A..Z, a..z, the spelled Greek names
// ("theta", "Omega"; in expressions "pi" stays the constant) or #k
// (0..89); -1 otherwise.
int variable_index(std::string_view w) {
    if (w.size() >= 2 && w[0] != '#' && w[0] != 'R') {
        for (int k = 62; k < PROGRAM_VARIABLES; ++k)
            if (w == greek_spelling(k)) return k;
        return -1;
    }
    if (w.size() == 1) {
        const char c = w[0];
        if (c >= 'A' && c <= 'Z') return 10 + (c - 'A');
        if (c >= 'a' && c <= 'z') return 36 + (c - 'a');
        return -1;
    }
    if (w.size() == 2 && w[0] == 'R' && w[1] >= '0' && w[1] <= '9') return w[1] - '0';
    if (w.size() >= 2 && w.size() <= 3 && w[0] == '#') {
        int k = 0;
        for (std::size_t p = 1; p < w.size(); ++p) {
            if (w[p] < '0' || w[p] > '9') return -1;
            k = k * 10 + (w[p] - '0');
        }
        return k < PROGRAM_VARIABLES ? k : -1;
    }
    return -1;
}

// "[A]".."[J]" -> 0..9, else -1.
int matrix_index(std::string_view w) {
    if (w.size() == 3 && w[0] == '[' && w[2] == ']' && w[1] >= 'A' && w[1] <= 'J') return w[1] - 'A';
    return -1;
}

// "LA".."LJ" -> 0..9, else -1.
int list_index(std::string_view w) {
    if (w.size() == 2 && w[0] == 'L' && w[1] >= 'A' && w[1] <= 'J') return w[1] - 'A';
    return -1;
}

bool parse_int(std::string_view w, long long* out) {
    if (w.empty() || w.size() > 12) return false;
    std::size_t p = 0;
    bool negative = false;
    if (w[0] == '-') {
        negative = true;
        p = 1;
        if (w.size() == 1) return false;
    }
    long long v = 0;
    for (; p < w.size(); ++p) {
        if (w[p] < '0' || w[p] > '9') return false;
        v = v * 10 + (w[p] - '0');
    }
    *out = negative ? -v : v;
    return true;
}

// The words of a line: blank-separated, a quoted text being one word (kept
// with its quotes).  A "#" that is not followed by a digit starts a comment;
// *used is the length of the line before it.
bool split_words(const std::string& line, std::vector<std::string>* words, std::size_t* used,
                 std::string* error) {
    words->clear();
    *used = line.size();
    std::size_t p = 0;
    while (p < line.size()) {
        const char c = line[p];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++p;
            continue;
        }
        if (c == '#' && (p + 1 >= line.size() || line[p + 1] < '0' || line[p + 1] > '9')) {
            *used = p;
            break;
        }
        if (c == '"') {
            const std::size_t close = line.find('"', p + 1);
            if (close == std::string::npos) {
                *error = "unterminated text";
                return false;
            }
            words->push_back(line.substr(p, close - p + 1));
            p = close + 1;
            continue;
        }
        std::size_t end = p;
        while (end < line.size() && line[end] != ' ' && line[end] != '\t' && line[end] != '\r') ++end;
        words->push_back(line.substr(p, end - p));
        p = end;
    }
    return true;
}

bool is_quoted(const std::string& w) { return w.size() >= 2 && w.front() == '"' && w.back() == '"'; }

struct Stmt {
    int instruction = 0;
    std::string text;
    std::string description;
    std::vector<TokenCode> tokens;
    bool has_expression = false;
    int condition = 0, operand0 = 0, operand1 = 0, label = 0, function = 0, pause = 0;
};

void append_statement(std::string* out, const Stmt& s) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "I: %d\r\n", s.instruction);
    *out += buf;
    if (s.instruction == INS_DESCRIPTION) *out += "Z: " + s.description + "\r\n";
    if (!s.text.empty()) *out += "T: " + s.text + "\r\n";
    if (s.has_expression) {
        *out += "E: ";
        for (TokenCode t : s.tokens) {
            std::snprintf(buf, sizeof buf, "%d,", static_cast<int>(t));
            *out += buf;
        }
        *out += "\r\n";
    }
    const struct { char key; int value; } fields[] = {
        {'C', s.condition}, {'0', s.operand0}, {'1', s.operand1},
        {'L', s.label},     {'F', s.function}, {'P', s.pause},
    };
    for (const auto& f : fields) {
        if (f.value == 0) continue;
        std::snprintf(buf, sizeof buf, "%c: %d\r\n", f.key, f.value);
        *out += buf;
    }
}

// One statement of the readable form.  `rest` is the line after its first
// word (for expressions and descriptions, which keep their own spacing).
class StatementParser {
public:
    StatementParser(const std::vector<std::string>& w, const std::string& rest, Stmt* s, std::string* e)
        : w_(w), rest_(rest), s_(s), error_(e) {}

    bool parse() {
        const std::string& head = w_[0];
        if (head == "description") return description();
        if (head == "expr") return expression();
        if (head == "if") return condition(INS_IF);
        if (head == "while") return condition(INS_WHILE);
        if (head == "loop") return variable_statement(INS_LOOP);
        if (head == "label") return label_statement(INS_LABEL);
        if (head == "goto") return label_statement(INS_GOTO);
        if (head == "gosub") return label_statement(INS_GOSUB);
        if (head == "in") return input();
        if (head == "out") return output();
        if (head == "fout") return value_statement(INS_FOUT, 2);
        if (head == "text") return text_statement(INS_TEXT);
        if (head == "call") return text_statement(INS_CALL);
        if (head == "menu") return menu();
        if (head == "stats") return stats();
        if (head == "precision") return setting(INS_PRECISION, 2, MAX_PRECISION);
        if (head == "decimal" && w_.size() > 1 && w_[1] == "mark")
            return setting(INS_DECIMAL_MARK, 3, DECIMAL_MARK_COUNT - 1);
        if (head == "complex" && w_.size() > 1 && w_[1] == "format")
            return setting(INS_COMPLEX_FORMAT, 3, COMPLEX_FORMAT_COUNT - 1);
        if (head == "Ans" && w_.size() > 2 && w_[1] == "=" && w_[2] == "stats") return stats_get();
        if (head == "return" && w_.size() == 2 && w_[1] == "call") return plain(INS_RETURN_CALL);
        if (head == "return" && w_.size() == 2 && w_[1] == "sub") return plain(INS_RETURN_SUB);
        if (w_.size() == 1) {
            if (head == "end") return plain(INS_END);
            if (head == "else") return plain(INS_ELSE);
            if (head == "break") return plain(INS_BREAK);
            if (head == "stop") return plain(INS_STOP);
            if (const int f = function_slot(head); f >= 0) {
                s_->instruction = INS_FUNCTION;
                s_->function = f;
                return true;
            }
        }
        // Any other instruction by its exact name.
        std::string whole;
        for (const std::string& x : w_) whole += (whole.empty() ? "" : " ") + x;
        for (int code = 0; code < INSTRUCTION_COUNT; ++code) {
            if (fieldless(code) && whole == instruction_info(code).name) return plain(code);
        }
        return fail("unknown statement \"" + whole + "\"");
    }

private:
    bool fail(const std::string& what) {
        *error_ = what;
        return false;
    }
    bool plain(int code) {
        s_->instruction = code;
        return true;
    }
    bool expect_count(std::size_t n) {
        if (w_.size() != n) return fail("wrong number of words for " + w_[0]);
        return true;
    }
    static int function_slot(const std::string& w) {
        if (w.size() < 2 || w[0] != 'f') return -1;
        long long k = 0;
        if (!parse_int(std::string_view(w).substr(1), &k) || w[1] == '-' || k < 1 ||
            k > PROGRAM_FUNCTIONS)
            return -1;
        return static_cast<int>(k - 1);
    }
    bool variable(const std::string& w, int* out) {
        *out = variable_index(w);
        if (*out < 0) return fail("not a variable: " + w);
        return true;
    }
    // 0 for Ans, variable + 1 otherwise.
    bool value_operand(const std::string& w, int* out) {
        if (w == "Ans") {
            *out = 0;
            return true;
        }
        if (!variable(w, out)) return false;
        ++*out;
        return true;
    }
    bool quoted_text(const std::string& w, std::string* out) {
        if (!is_quoted(w)) return fail("expected a quoted text: " + w);
        *out = w.substr(1, w.size() - 2);
        if (out->size() > kTextLimit) return fail("text longer than 39 characters: " + w);
        return true;
    }
    bool description() {
        s_->instruction = INS_DESCRIPTION;
        std::string d;
        for (char c : rest_) {
            if (c == '|') d += "~~";
            else if (c == '~') d += '\x07';
            else d += c;
        }
        if (d.size() > kDescriptionLimit) return fail("description longer than 1009 characters");
        s_->description = d;
        return true;
    }
    bool expression() {
        s_->instruction = INS_EXPRESS;
        s_->has_expression = true;
        if (!assemble_expression(rest_, &s_->tokens, error_)) return false;
        if (s_->tokens.empty()) return fail("empty expression");
        return true;
    }
    bool condition(int code) {
        if (!expect_count(4)) return false;
        s_->instruction = code;
        if (!value_operand(w_[1], &s_->operand0)) return false;
        s_->condition = -1;
        for (int c = 0; c < CONDITION_COUNT; ++c)
            if (w_[2] == condition_symbol(c)) s_->condition = c;
        if (s_->condition < 0) return fail("unknown comparison " + w_[2]);
        if (w_[3] == "0") s_->operand1 = 0;
        else if (w_[3] == "Ans") s_->operand1 = 1;
        else if (variable(w_[3], &s_->operand1)) s_->operand1 += 2;
        else return false;
        return true;
    }
    bool variable_statement(int code) {
        if (!expect_count(2)) return false;
        s_->instruction = code;
        return variable(w_[1], &s_->operand0);
    }
    bool label_of(const std::string& w, int* out) {
        int v = 0;
        if (!variable(w, &v)) return false;
        if (v < 10) return fail("a label is a variable from A on: " + w);
        *out = v - 10;
        return true;
    }
    bool label_statement(int code) {
        if (!expect_count(2)) return false;
        s_->instruction = code;
        return label_of(w_[1], &s_->label);
    }
    bool input() {
        if (w_.size() < 2 || w_.size() > 3) return fail("in VAR [\"prompt\"] or in fN [\"prompt\"]");
        if (w_.size() == 3 && !quoted_text(w_[2], &s_->text)) return false;
        if (const int f = function_slot(w_[1]); f >= 0) {
            s_->instruction = INS_IN_FUNCTION;
            s_->function = f;
            return true;
        }
        s_->instruction = INS_IN;
        return variable(w_[1], &s_->operand0);
    }
    bool output() {
        if (w_.size() < 2 || w_.size() > 4) return fail("out Ans|VAR [pause] [\"label\"]");
        s_->instruction = INS_OUT;
        if (!value_operand(w_[1], &s_->operand0)) return false;
        std::size_t k = 2;
        if (k < w_.size() && w_[k] == "pause") {
            s_->pause = 1;
            ++k;
        }
        if (k < w_.size() && !quoted_text(w_[k++], &s_->text)) return false;
        if (k != w_.size()) return fail("unexpected words after out");
        return true;
    }
    bool value_statement(int code, std::size_t n) {
        if (!expect_count(n)) return false;
        s_->instruction = code;
        return value_operand(w_[n - 1], &s_->operand0);
    }
    bool text_statement(int code) {
        if (!expect_count(2)) return false;
        s_->instruction = code;
        return quoted_text(w_[1], &s_->text);
    }
    bool menu() {
        if (w_.size() == 2 && w_[1] == "clear") return plain(INS_MENU_CLEAR);
        if (w_.size() == 2 && w_[1] == "display") return plain(INS_MENU_DISPLAY);
        if (w_.size() == 3 && w_[1] == "title") {
            s_->instruction = INS_MENU_TITLE;
            return quoted_text(w_[2], &s_->text);
        }
        if (w_.size() == 4 && w_[1] == "item") {
            s_->instruction = INS_MENU_ITEM;
            return label_of(w_[2], &s_->label) && quoted_text(w_[3], &s_->text);
        }
        return fail("menu clear | menu title \"T\" | menu item VAR \"T\" | menu display");
    }
    // "x[VAR]" or "y[VAR]": the axis ('x' or 'y') and the index variable.
    bool indexed(const std::string& w, char* axis, int* index) {
        if (w.size() < 4 || (w[0] != 'x' && w[0] != 'y') || w[1] != '[' || w.back() != ']')
            return fail("expected x[VAR] or y[VAR]: " + w);
        *axis = w[0];
        return variable(w.substr(2, w.size() - 3), index);
    }
    bool stats() {
        if (w_.size() == 3 && w_[1] == "enter") return value_statement(INS_ENTER_STATS, 3);
        if (w_.size() == 4 && w_[2] == "=" && w_[3] == "Ans") {
            char axis = 0;
            if (!indexed(w_[1], &axis, &s_->operand0)) return false;
            s_->instruction = axis == 'x' ? INS_PUT_X : INS_PUT_Y;
            return true;
        }
        return fail("stats enter Ans|VAR | stats x[VAR] = Ans | stats y[VAR] = Ans");
    }
    bool stats_get() {
        if (!expect_count(4)) return false;
        char axis = 0;
        if (!indexed(w_[3], &axis, &s_->operand0)) return false;
        s_->instruction = axis == 'x' ? INS_GET_X : INS_GET_Y;
        return true;
    }
    bool setting(int code, std::size_t n, int highest) {
        if (!expect_count(n)) return false;
        long long v = 0;
        if (!parse_int(w_[n - 1], &v) || v < 0 || v > highest)
            return fail(w_[n - 1] + " is not a value from 0 to " + std::to_string(highest));
        s_->instruction = code;
        s_->operand0 = static_cast<int>(v);
        return true;
    }

    const std::vector<std::string>& w_;
    const std::string& rest_;
    Stmt* s_;
    std::string* error_;
};

std::string trim(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t' || s[b] == '\r')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r')) --e;
    return s.substr(b, e - b);
}

}  // namespace

const std::vector<AssemblerWord>& assembler_token_words() {
    // The names follow the engine tests' word table where it has one.
    static const std::vector<AssemblerWord> kWords = {
        // brackets, operators
        {"(", 3}, {")", 4}, {"[", 103}, {"]", 104}, {"{", 203}, {"}", 204}, {"+", 36},
        {"-", 37}, {"*", 31}, {"/", 32}, {"^", 13}, {"neg", 17}, {",", 20}, {"!", 18},
        {"inv", 8}, {"sq", 9}, {"cube", 115}, {"sqrt", 14}, {"cbrt", 15}, {"exp", 111},
        {"10^", 112}, {"Rt", 113}, {"fmod", 114}, {"nPr", 125}, {"nCr", 175}, {"d%", 173},
        {"%", 123}, {"(d)", 16}, {"(r)", 116}, {"(g)", 216}, {"^T", 1204}, {"rx", 1007},
        {"ry", 1008},
        // values
        {"pi", 117}, {"e", 217}, {"i", 120}, {"Ans", 41}, {"Rand", 118}, {"M_Ans", 1299},
        {"L_Ans", 1300},
        // functions of one argument
        {"sin(", 5}, {"cos(", 6}, {"tan(", 7}, {"ln(", 11}, {"log(", 12}, {"abs(", 19},
        {"asin(", 105}, {"acos(", 106}, {"atan(", 107}, {"sinh(", 205}, {"cosh(", 206},
        {"tanh(", 207}, {"asinh(", 305}, {"acosh(", 306}, {"atanh(", 307}, {"iPart(", 124},
        {"fPart(", 174}, {"Floor(", 167}, {"Ceil(", 168}, {"Conj(", 169}, {"Real(", 170},
        {"Imag(", 171}, {"Angle(", 172}, {"Gamma(", 176}, {"Sign(", 177}, {"Error(", 482},
        {"toHMS(", 484}, {"fromHMS(", 485}, {"Mant(", 486}, {"Xpon(", 487},
        // functions of several arguments
        {"Trunc(", 108}, {"Round(", 119}, {"Max(", 400}, {"Min(", 401}, {"randNorm(", 402},
        {"logb(", 403}, {"atan2(", 404}, {"lcm(", 405}, {"gcd(", 406}, {"Beta(", 407},
        {"randBin(", 421}, {"randPois(", 422}, {"randInt(", 423}, {"Jn(", 430}, {"Yn(", 431},
        // functions of an expression and a variable
        {"fnInt(", 468}, {"fnDeriv(", 477}, {"fnMin(", 475}, {"fnMax(", 476}, {"fnEval(", 478},
        {"Summ(", 479}, {"Prod(", 480}, {"Seq(", 481}, {"fnRoot(", 483},
        // matrices
        {"Det(", 1200}, {"Iden(", 1201}, {"rref(", 1202}, {"solve_LU(", 1203}, {"Trace(", 1205},
        {"Rank(", 1206}, {"SLV(", 1207}, {"LU_L(", 1208}, {"LU_U(", 1209}, {"LU_P(", 1210},
        {"Cholesky(", 1211}, {"QR_Q(", 1212}, {"QR_R(", 1213}, {"SVD_U(", 1214},
        {"SVD_V(", 1215}, {"rowNorm(", 1216}, {"colNorm(", 1217}, {"dotP(", 1218},
        {"crossP(", 1219}, {"solve_QR(", 1220}, {"solve_CH(", 1221}, {"solve_SV(", 1222},
        {"Norm(", 1223}, {"Cond(", 1224}, {"eigenVal(", 1225}, {"eigenVec(", 1226},
        {"rowSwap(", 408}, {"colSwap(", 409}, {"rowScale(", 410}, {"colScale(", 411},
        {"putElem(", 412}, {"getElem(", 413}, {"rowSize(", 414}, {"colSize(", 415},
        {"initMatrix(", 416}, {"Augment(", 417}, {"rowScaleAdd(", 418}, {"colScaleAdd(", 419},
        {"subMatrix(", 420}, {"Stack(", 424}, {"rowDel(", 425}, {"colDel(", 426},
        {"Resize(", 427}, {"randMatrix(", 428}, {"Replace(", 429}, {"Diag(", 432},
        // lists
        {"max(", 450}, {"mean(", 451}, {"median(", 452}, {"min(", 453}, {"prod(", 454},
        {"stdDev(", 455}, {"sum(", 456}, {"variance(", 457}, {"cumSum(", 458}, {"sortA(", 459},
        {"sortD(", 460}, {"LtoM(", 461}, {"MtoL(", 462}, {"augList(", 463}, {"fill(", 464},
        {"deltaList(", 465}, {"listSize(", 466}, {"listResize(", 467}, {"reverse(", 469},
        {"pos(", 470}, {"toX(", 471}, {"toY(", 472},
        // drawing
        {"clrDraw(", 490}, {"Color(", 491}, {"Point(", 492}, {"Line(", 493}, {"Rect(", 494},
        // statistics of the entered data
        {"sum_xy", 1005}, {"weighted_mean", 1006}, {"weighted_mean_y", 1106}, {"mean_x", 1011},
        {"sum_x", 1012}, {"sum2_x", 1013}, {"std_dev_x", 1014}, {"std_dev-1_x", 1015},
        {"stats_count", 1016}, {"mean_y", 1111}, {"sum_y", 1112}, {"sum2_y", 1113},
        {"std_dev_y", 1114}, {"std_dev-1_y", 1115}, {"xmin", 1116}, {"xmax", 1117},
        {"ymin", 1118}, {"ymax", 1119}, {"slope", 1107}, {"intercept", 1108},
        {"corr_coef", 1109},
        // base-n
        {"not", 505}, {"and", 506}, {"or", 507}, {"xor", 508}, {"xnor", 509}, {"bneg", 540},
        {"mod", 605}, {"<<", 606}, {">>", 607}, {"hexA", 511}, {"hexB", 512}, {"hexC", 513},
        {"hexD", 514}, {"hexE", 515}, {"hexF", 516}, {"sfx_d", 517}, {"sfx_h", 518},
        {"sfx_b", 519}, {"sfx_o", 619},
    };
    return kWords;
}

bool assemble_expression(const std::string& words, std::vector<TokenCode>* tokens, std::string* error) {
    tokens->clear();
    std::size_t pos = 0;
    while (pos < words.size()) {
        while (pos < words.size() && (words[pos] == ' ' || words[pos] == '\t')) ++pos;
        std::size_t end = pos;
        while (end < words.size() && words[end] != ' ' && words[end] != '\t') ++end;
        if (end == pos) break;
        const std::string w = words.substr(pos, end - pos);
        pos = end;

        bool found = false;
        for (const AssemblerWord& aw : assembler_token_words()) {
            if (w == aw.word) {
                tokens->push_back(aw.code);
                found = true;
                break;
            }
        }
        if (found) continue;
        if (w[0] == '#' && w.size() > 1) {
            long long code = 0;
            if (!parse_int(std::string_view(w).substr(1), &code) || code < 0 || code > 0x7FFFFFFF) {
                *error = "bad token code " + w;
                return false;
            }
            tokens->push_back(static_cast<TokenCode>(code));
            continue;
        }
        const bool store = w.size() > 1 && w[0] == '>';
        const std::string_view name = store ? std::string_view(w).substr(1) : std::string_view(w);
        // "#k" alone is a raw token; ">#k" stores into variable k.
        if (const int v = variable_index(name); v >= 0 && (store || name[0] != '#')) {
            tokens->push_back((store ? TOK_STORE_MEM : TOK_READ_MEM) + v);
            continue;
        }
        if (const int m = matrix_index(name); m >= 0) {
            tokens->push_back((store ? TOK_STORE_MEM : TOK_READ_MEM) + 90 + m);
            continue;
        }
        if (const int l = list_index(name); l >= 0) {
            tokens->push_back((store ? TOK_STORE_MEM_2 : TOK_READ_MEM_2) + 100 + l);
            continue;
        }
        const char c0 = w[0];
        if (!store && ((c0 >= '0' && c0 <= '9') || c0 == '.' || c0 == '~')) {
            for (char c : w) {
                if (c >= '0' && c <= '9') tokens->push_back(kDigitTokens[c - '0']);
                else if (c == '.') tokens->push_back(TOK_POINT);
                else if (c == 'E') tokens->push_back(TOK_EXP);
                else if (c == '~') tokens->push_back(TOK_NEGATE);
                else {
                    *error = "bad number " + w;
                    return false;
                }
            }
            continue;
        }
        *error = "unknown word " + w;
        return false;
    }
    if (static_cast<int>(tokens->size()) > kTokenLimit) {
        *error = "more than 100 tokens";
        return false;
    }
    return true;
}

bool assemble_programs(const std::string& source, std::string* file_text, std::string* error) {
    file_text->clear();
    bool in_program = false;
    int statements = 0, expressions = 0, line_number = 0;
    std::string what;
    auto fail = [&](const std::string& message) {
        *error = "line " + std::to_string(line_number) + ": " + message;
        return false;
    };
    std::size_t pos = 0;
    std::vector<std::string> words;
    while (pos < source.size()) {
        std::size_t nl = source.find('\n', pos);
        if (nl == std::string::npos) nl = source.size();
        const std::string line = source.substr(pos, nl - pos);
        pos = nl + 1;
        ++line_number;
        std::string body = trim(line);
        std::string rest;
        // A description is free text: quotes and "#" are part of it.
        if (body.compare(0, 12, "description ") == 0 || body == "description") {
            words.assign(1, "description");
            rest = trim(body.substr(11));
        } else {
            std::size_t used = 0;
            if (!split_words(line, &words, &used, &what)) return fail(what);
            if (words.empty()) continue;
            body = trim(line.substr(0, used));
            rest = trim(body.substr(words[0].size()));
        }

        if (words[0] == "program") {
            if (rest.empty() || rest.size() > kNameLimit) return fail("bad program name");
            *file_text += "N: " + rest + "\r\nV: 1.1\r\n";
            in_program = true;
            statements = expressions = 0;
            continue;
        }
        if (!in_program) return fail("statement before \"program\"");
        Stmt s;
        StatementParser parser(words, rest, &s, &what);
        if (!parser.parse()) return fail(what);
        if (++statements > kStatementLimit) return fail("more than 99 statements");
        if (s.has_expression && ++expressions > kExpressionLimit) return fail("more than 59 expressions");
        append_statement(file_text, s);
    }
    if (file_text->empty()) {
        line_number = 0;
        return fail("no program");
    }
    return true;
}

}  // namespace qx

#include "programs/program.h"

#include <cstdio>
#include <cstring>

#include "engine/errors.h"
#include "engine/text_lines.h"

namespace qx {

namespace {

// Defaults: no folder, so nothing is found and nothing is written.
bool no_read(const char*, std::string*) { return false; }
bool no_write(const char*, const std::string&, std::string* error) {
    if (error) *error = "no program folder";
    return false;
}
bool no_remove(const char*) { return false; }
bool no_exists(const char*) { return false; }
std::vector<std::string> no_list() { return {}; }
int no_output_open(const char*) { return -1; }
bool no_output_write(int, const char*) { return false; }
void no_output_close(int) {}

// Storage that holds nothing, until the panel (or a test) gives its own.
constexpr ProgramStorage kNoStorage = {no_read, no_write,       no_remove,       no_exists,
                                       no_list, no_output_open, no_output_write, no_output_close};

}  // namespace

Program g_program;
ProgramStorage g_program_storage = kNoStorage;

namespace {

const char* const kRevisionText =
    "This program requires a more recent revision of Quorix in order to load.";

// Bounded copies: every char array here may come from a file or a caller
// that did not terminate it.
std::size_t bounded_length(const char* text, std::size_t size) {
    return text ? strnlen(text, size) : 0;
}

void copy_text(char* out, std::size_t out_size, const char* text, std::size_t length) {
    if (length > out_size - 1) length = out_size - 1;
    if (length) std::memcpy(out, text, length);
    out[length] = '\0';
}

// What the last save set aside, so that reopening a program puts the
// editor back where it was.
struct Remembered {
    char name[PROGRAM_NAME_SIZE];
    std::int32_t cursor;
    std::int32_t top;
};
Remembered g_remembered;

// A decimal integer that fits 32 bits: an optional minus and digits only.
bool parse_int(const char* text, std::size_t length, std::int32_t* out) {
    std::size_t k = 0;
    const bool negative = length > 0 && text[0] == '-';
    if (negative) k = 1;
    if (k == length) return false;
    std::int64_t value = 0;
    for (; k < length; ++k) {
        const char c = text[k];
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
        if (value > 2147483648LL) return false;
    }
    if (negative) value = -value;
    if (value > 2147483647LL) return false;
    *out = static_cast<std::int32_t>(value);
    return true;
}

// "1", "1.0", "1.1", "2.05" ...: true when the version is above 1.1.  A value
// that is not of that form is false through *ok.
bool version_above_supported(const char* text, std::size_t length, bool* ok) {
    std::size_t k = 0;
    std::int64_t major = 0;
    while (k < length && text[k] >= '0' && text[k] <= '9') {
        major = major * 10 + (text[k] - '0');
        if (major > 1000000) major = 1000000;
        ++k;
    }
    *ok = k > 0;
    std::size_t fraction = k, fraction_end = k;
    if (k < length && text[k] == '.') {
        fraction = ++k;
        while (k < length && text[k] >= '0' && text[k] <= '9') ++k;
        fraction_end = k;
    }
    if (k != length) *ok = false;
    if (!*ok) return false;
    if (major != 1) return major > 1;
    // Decimal fractions compare as strings once trailing zeros are gone.
    while (fraction_end > fraction && text[fraction_end - 1] == '0') --fraction_end;
    const std::size_t digits = fraction_end - fraction;
    if (digits == 0) return false;
    if (text[fraction] != '1') return text[fraction] > '1';
    return digits > 1;
}

// The operand tables of the fields an instruction uses: the largest value
// allowed, or -1 when the instruction does not read that field (any value is
// then kept as it is and never looked at).
int field_limit(int instruction, char key) {
    switch (key) {
        case 'C':
            return (instruction == INS_IF || instruction == INS_WHILE) ? CONDITION_COUNT - 1 : -1;
        case '1':
            return (instruction == INS_IF || instruction == INS_WHILE) ? PROGRAM_VARIABLES + 1 : -1;
        case 'F':
            return (instruction == INS_IN_FUNCTION || instruction == INS_FUNCTION) ? PROGRAM_FUNCTIONS - 1
                                                                                    : -1;
        case 'L':
            switch (instruction) {
                case INS_LABEL: case INS_GOTO: case INS_GOSUB: case INS_MENU_ITEM:
                    return LABEL_COUNT - 1;
                default:
                    return -1;
            }
        case '0':
            switch (instruction) {
                case INS_IN: case INS_LOOP:
                case INS_GET_X: case INS_PUT_X: case INS_GET_Y: case INS_PUT_Y:
                    return PROGRAM_VARIABLES - 1;
                case INS_OUT: case INS_FOUT: case INS_ENTER_STATS: case INS_IF: case INS_WHILE:
                    return PROGRAM_VARIABLES;   // 0 is Ans
                case INS_PRECISION: return MAX_PRECISION;
                case INS_DECIMAL_MARK: return DECIMAL_MARK_COUNT - 1;
                case INS_COMPLEX_FORMAT: return COMPLEX_FORMAT_COUNT - 1;
                default: return -1;
            }
        default:
            return -1;
    }
}

int free_slot(const Program& p) {
    for (int k = 1; k < EXPRESSION_SLOT_COUNT; ++k)
        if (!p.slots[k].in_use) return k;
    return 0;
}

struct Reader {
    Program& p;
    bool built_in;
    bool report;
    int line_number = 0;
    bool expression_seen = false;   // the last statement already has its E line

    int refuse(const char* text) {
        reset_program(p);
        if (report) message_box(text, "Error", MB_STYLE_OK);
        return -1;
    }
    int refuse_damaged() {
        char text[64];
        std::snprintf(text, sizeof text, "Code Error (file line %d)", line_number);
        return refuse(text);
    }

    // 0 when the line was taken, -1 when it refused the file.
    int line(const char* text, std::size_t length) {
        if (length < 3) return refuse_damaged();
        const char key = text[0];
        // The second and third characters are taken as ": " whatever they hold.
        const char* value = text + 3;
        const std::size_t value_length = length - 3;
        switch (key) {
            case 'N':
                return 0;
            case 'V': {
                if (built_in) return 0;
                bool ok = false;
                const bool newer = version_above_supported(value, value_length, &ok);
                if (!ok) return refuse_damaged();
                return newer ? refuse(kRevisionText) : 0;
            }
            case 'I': {
                std::int32_t code = 0;
                if (!parse_int(value, value_length, &code)) return refuse_damaged();
                if (!valid_instruction(code) || p.count >= MAX_STATEMENTS) return refuse(kRevisionText);
                p.statements[p.count++] = blank_statement(code);
                expression_seen = false;
                return 0;
            }
            case 'Z':
                copy_text(p.description, sizeof p.description, value, value_length);
                return 0;
            case 'T': case 'C': case '0': case '1': case 'L': case 'F': case 'P': case 'E':
                break;
            default:
                return refuse_damaged();
        }
        if (p.count == 0) return refuse_damaged();
        Statement& s = p.statements[p.count - 1];
        switch (key) {
            case 'T':
                copy_text(s.text, sizeof s.text, value, value_length);
                return 0;
            case 'P':
                s.pause = (value_length == 1 && value[0] == '1') ? 1 : 0;
                return 0;
            case 'E':
                return expression(s, value, value_length);
            default:
                break;
        }
        std::int32_t number = 0;
        if (!parse_int(value, value_length, &number)) return refuse_damaged();
        const int limit = field_limit(s.instruction, key);
        if (limit >= 0 && (number < 0 || number > limit)) return refuse_damaged();
        switch (key) {
            case 'C': s.condition = number; break;
            case '0': s.operand0 = number; break;
            case '1': s.operand1 = number; break;
            case 'L': s.label = number; break;
            case 'F': s.function = number; break;
            default: break;
        }
        return 0;
    }

    // "810,31,34,": every number followed by a comma is a token; what
    // follows the last comma is ignored.
    int expression(Statement& s, const char* value, std::size_t length) {
        if (expression_seen) return refuse_damaged();
        expression_seen = true;
        TokenCode tokens[SLOT_TOKEN_LIMIT];
        int count = 0;
        std::size_t start = 0;
        for (std::size_t k = 0; k < length; ++k) {
            if (value[k] != ',') continue;
            if (count == SLOT_TOKEN_LIMIT) return refuse_damaged();
            if (!parse_int(value + start, k - start, &tokens[count])) return refuse_damaged();
            ++count;
            start = k + 1;
        }
        if (count == 0) return 0;
        const int slot = free_slot(p);
        if (slot == 0) {
            reset_program(p);
            if (report) message_box("Reached expression limit for program", "Limit", MB_STYLE_OK);
            return -1;
        }
        ExpressionSlot& e = p.slots[slot];
        std::memcpy(e.tokens, tokens, sizeof(TokenCode) * count);
        e.count = count;
        e.in_use = 1;
        s.expression = slot;
        return 0;
    }
};

// The built-in text from the line after "N: name" up to the next "N: " line.
bool find_builtin(const char* name, const char** begin, const char** end) {
    const char* text = builtin_program_text();
    const std::size_t size = text ? builtin_program_text_size() : 0;
    const std::size_t name_length = std::strlen(name);
    const char* found = nullptr;
    LineReader lines{text, text + size};
    const char* line = nullptr;
    std::size_t length = 0;
    while (lines.next(line, length)) {
        const bool name_line = length >= 3 && std::memcmp(line, "N: ", 3) == 0;
        if (name_line && found) {
            *begin = found;
            *end = line;
            return true;
        }
        if (name_line && length - 3 == name_length && std::memcmp(line + 3, name, name_length) == 0)
            found = lines.p;
    }
    if (!found) return false;
    *begin = found;
    *end = text + size;
    return true;
}

void report_save_failure(const std::string& reason) {
    const std::string text = "The program could not be saved: " + reason;
    message_box(text.c_str(), "Error", MB_STYLE_OK);
}

}  // namespace

void reset_program(Program& p) {
    p.count = 0;
    p.cursor = 0;
    p.top = 0;
    p.description[0] = '\0';
    for (ExpressionSlot& slot : p.slots) {
        slot.count = 0;
        slot.in_use = 0;
    }
}

Statement blank_statement(int instruction) {
    Statement s{};
    s.instruction = instruction;
    return s;
}

int allocate_expression_slot(Program& p) {
    const int slot = free_slot(p);
    if (slot == 0) {
        message_box("Reached expression limit for program", "Limit", MB_STYLE_OK);
        return 0;
    }
    p.slots[slot].in_use = 1;
    p.slots[slot].count = 0;
    return slot;
}

void free_expression_slot(Program& p, int slot) {
    if (slot <= 0 || slot >= EXPRESSION_SLOT_COUNT) return;
    p.slots[slot].in_use = 0;
    p.slots[slot].count = 0;
}

const TokenCode* statement_tokens(const Program& p, const Statement& s, int* count) {
    const int slot = s.expression;
    if (slot <= 0 || slot >= EXPRESSION_SLOT_COUNT || !p.slots[slot].in_use ||
        p.slots[slot].count < 0 || p.slots[slot].count > SLOT_TOKEN_CAPACITY) {
        if (count) *count = 0;
        return nullptr;
    }
    if (count) *count = p.slots[slot].count;
    return p.slots[slot].tokens;
}

std::string write_program_text(const Program& p) {
    std::string out;
    char number[32];
    auto put_number = [&](const char* key, std::int32_t value) {
        std::snprintf(number, sizeof number, "%s: %d\r\n", key, static_cast<int>(value));
        out += number;
    };
    out += "N: ";
    out.append(p.name, bounded_length(p.name, sizeof p.name));
    out += "\r\nV: 1.1\r\n";
    const int count = p.count < 0 ? 0 : (p.count > MAX_STATEMENTS ? MAX_STATEMENTS : p.count);
    for (int k = 0; k < count; ++k) {
        const Statement& s = p.statements[k];
        put_number("I", s.instruction);
        if (s.instruction == INS_DESCRIPTION) {
            out += "Z: ";
            out.append(p.description, bounded_length(p.description, sizeof p.description));
            out += "\r\n";
        }
        const std::size_t text_length = bounded_length(s.text, sizeof s.text);
        if (text_length) {
            out += "T: ";
            out.append(s.text, text_length);
            out += "\r\n";
        }
        int token_count = 0;
        const TokenCode* tokens = statement_tokens(p, s, &token_count);
        if (tokens) {
            out += "E: ";
            for (int t = 0; t < token_count; ++t) {
                std::snprintf(number, sizeof number, "%d,", static_cast<int>(tokens[t]));
                out += number;
            }
            out += "\r\n";
        }
        if (s.condition) put_number("C", s.condition);
        if (s.operand0) put_number("0", s.operand0);
        if (s.operand1) put_number("1", s.operand1);
        if (s.label) put_number("L", s.label);
        if (s.function) put_number("F", s.function);
        if (s.pause) put_number("P", s.pause);
    }
    return out;
}

int read_program_text(Program& p, const char* data, std::size_t size, bool built_in, bool report) {
    reset_program(p);
    if (!data) return 0;
    Reader reader{p, built_in, report};
    LineReader lines{data, data + size};
    const char* line = nullptr;
    std::size_t length = 0;
    while (lines.next(line, length)) {
        ++reader.line_number;
        if (length == 0) break;   // an empty line ends the program
        if (length > static_cast<std::size_t>(MAX_FILE_LINE)) length = MAX_FILE_LINE;
        if (reader.line(line, length) < 0) return -1;
    }
    return p.count;
}

std::string decode_description(const char* stored) {
    std::string out;
    if (!stored) return out;
    const std::size_t length = bounded_length(stored, DESCRIPTION_SIZE);
    for (std::size_t k = 0; k < length; ++k) {
        if (stored[k] == '~' && k + 1 < length && stored[k + 1] == '~') {
            out += "\r\n";
            ++k;
        } else if (stored[k] == '\x07') {
            out += '~';
        } else {
            out += stored[k];
        }
    }
    return out;
}

std::string encode_description(const std::string& text) {
    std::string out;
    for (std::size_t k = 0; k < text.size(); ++k) {
        const char c = text[k];
        if (c == '\r') {
            out += "~~";
            if (k + 1 < text.size() && text[k + 1] == '\n') ++k;
        } else if (c == '\n') {
            out += "~~";
        } else if (c == '~') {
            out += '\x07';
        } else {
            out += c;
        }
    }
    return out;
}

std::vector<std::string> builtin_program_names() {
    std::vector<std::string> names;
    const char* text = builtin_program_text();
    const std::size_t size = text ? builtin_program_text_size() : 0;
    LineReader lines{text, text + size};
    const char* line = nullptr;
    std::size_t length = 0;
    while (lines.next(line, length))
        if (length >= 3 && std::memcmp(line, "N: ", 3) == 0) names.emplace_back(line + 3, length - 3);
    return names;
}

bool is_builtin_program_name(const char* name) {
    const char *begin = nullptr, *end = nullptr;
    return name && find_builtin(name, &begin, &end);
}

void reset_program_storage() { g_program_storage = kNoStorage; }

bool valid_program_name(const char* name) {
    if (!name) return false;
    const std::size_t length = bounded_length(name, 23);
    if (length < 1 || length > 22 || name[0] == ' ') return false;
    // The alpha keyboard's file-name characters, less "/": on this system it
    // would make the name a path.  "." is not among them, so neither "." nor
    // ".." (nor a hidden file) can be named.
    static const char kMarks[] = " ()[]{}<>=;,'\"+-!#_$&~^%@";
    for (std::size_t k = 0; k < length; ++k) {
        const char c = name[k];
        const bool alnum = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if (!alnum && !std::strchr(kMarks, c)) return false;
    }
    return true;
}

int load_program_into(Program& out, const char* name, bool built_in, bool report) {
    // `name` may be out.name itself.
    char wanted[PROGRAM_NAME_SIZE];
    const std::size_t length = bounded_length(name, sizeof wanted);
    const bool fits = name && length < sizeof wanted;
    copy_text(wanted, sizeof wanted, fits ? name : "", fits ? length : 0);

    reset_program(out);
    out.name[0] = '\0';
    out.built_in = built_in ? 1 : 0;
    if (!fits || wanted[0] == '\0') return 0;

    int count = 0;
    if (built_in) {
        const char* begin = nullptr;
        const char* end = nullptr;
        if (!find_builtin(wanted, &begin, &end)) {
            copy_text(out.name, sizeof out.name, wanted, std::strlen(wanted));
            return 0;
        }
        count = read_program_text(out, begin, static_cast<std::size_t>(end - begin), true, report);
    } else {
        std::string bytes;
        if (!valid_program_name(wanted) || !g_program_storage.read || !g_program_storage.read(wanted, &bytes)) {
            // A file that is there but cannot be read must not open as a new,
            // empty program: saving that would put it in the file's place.
            if (valid_program_name(wanted) && g_program_storage.exists && g_program_storage.exists(wanted)) {
                out.built_in = 0;
                if (report) message_box("The program file could not be read.", "Error", MB_STYLE_OK);
                return -1;
            }
            copy_text(out.name, sizeof out.name, wanted, std::strlen(wanted));
            return 0;
        }
        if (bytes.size() > MAX_PROGRAM_FILE_BYTES) {
            // No program comes near this; the line the bound falls on is the damaged one.
            Reader reader{out, false, report};
            reader.line_number = 1;
            for (std::size_t k = 0; k < MAX_PROGRAM_FILE_BYTES; ++k)
                if (bytes[k] == '\n' || (bytes[k] == '\r' && bytes[k + 1] != '\n')) ++reader.line_number;
            count = reader.refuse_damaged();
        } else {
            count = read_program_text(out, bytes.data(), bytes.size(), false, report);
        }
    }
    if (count < 0) {
        out.built_in = 0;
        return -1;
    }
    copy_text(out.name, sizeof out.name, wanted, std::strlen(wanted));
    if (g_remembered.name[0] && std::strcmp(g_remembered.name, wanted) == 0) {
        auto clamp = [&](std::int32_t v) { return v < 0 ? 0 : (v > out.count ? out.count : v); };
        out.cursor = clamp(g_remembered.cursor);
        out.top = clamp(g_remembered.top);
    }
    return count;
}

int load_program(const char* name, bool built_in) {
    static Program staging;
    const int count = load_program_into(staging, name, built_in, true);
    if (count < 0) {
        reset_program(g_program);
        g_program.name[0] = '\0';
        g_program.built_in = 0;
        return -1;
    }
    g_program = staging;
    return count;
}

void remember_program_position(const char* name, int cursor, int top) {
    copy_text(g_remembered.name, sizeof g_remembered.name, name, bounded_length(name, PROGRAM_NAME_SIZE));
    g_remembered.cursor = cursor;
    g_remembered.top = top;
}

bool save_program() {
    const Program& p = g_program;
    copy_text(g_remembered.name, sizeof g_remembered.name, p.name, bounded_length(p.name, sizeof p.name));
    g_remembered.cursor = p.cursor;
    g_remembered.top = p.top;
    if (p.built_in || p.name[0] == '\0') return true;
    if (!valid_program_name(p.name)) {
        report_save_failure("the name can't be a file name");
        return false;
    }
    std::string error;
    if (!g_program_storage.write || !g_program_storage.write(p.name, write_program_text(p), &error)) {
        report_save_failure(error.empty() ? "unknown error" : error);
        return false;
    }
    return true;
}

bool delete_program(const char* name, bool built_in) {
    if (built_in) {
        message_box("A built-in program can't be deleted", "Note", MB_STYLE_OK);
        return false;
    }
    if (!valid_program_name(name)) return false;
    char question[80];
    std::snprintf(question, sizeof question, "Delete program: %s?", name);
    if (message_box(question, "Delete Program?", MB_STYLE_YES_NO | MB_STYLE_EXCLAMATION) != MB_ANSWER_YES)
        return false;
    return g_program_storage.remove && g_program_storage.remove(name);
}

std::vector<std::string> list_custom_programs() {
    std::vector<std::string> names;
    if (!g_program_storage.list) return names;
    for (std::string& n : g_program_storage.list())
        if (valid_program_name(n.c_str()) && n.size() == std::strlen(n.c_str())) names.push_back(std::move(n));
    return names;
}

bool custom_program_exists(const char* name) {
    return valid_program_name(name) && g_program_storage.exists && g_program_storage.exists(name);
}

}  // namespace qx

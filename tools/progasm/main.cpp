// Build step: assembles the readable sources of the built-in programs
// (one program per file) into their stored text, in the order the
// calculator lists them, and writes a C++ source that holds that text.
//
//   quorix_progasm --dir DIR --source OUT.cpp
//
// Every name must have exactly one file; a file named after its program
// (lower case, apostrophes dropped, other runs of non-alphanumerics "_",
// ".qxs") keeps a rename of one from passing unnoticed.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "programs/assembler.h"

namespace {

// The stored order and spelling: both are part of the file format.
const char* const kProgramNames[] = {
    "2 by 2 Matrix", "3 by 3 Matrix", "Amortization", "Coulomb's Law", "Cycle of Pendulum",
    "Delta to Y, Y to Delta", "Fuction Matrix", "Future Value", "Gamma Function",
    "Greatest Common Divisor", "Heron's Formula", "LCR Parallel Impedance",
    "LCR Series Impedance", "Least Common Multiple", "Log of Random Base",
    "Parallel Resistance", "Polar to Rectangular", "Present Value", "Prime Factors",
    "Quadratic Equation", "Rectangular to Polar", "Resonate Frequency", "Root Finder",
    "Scale Chart", "Select Matrix", "Simpson's Rule", "Symmetric Matrix",
    "Triangle Solutions", "Volume of Cylinder",
};

std::string file_name_of(const std::string& program) {
    std::string out;
    bool gap = false;
    for (char c : program) {
        if (c == '\'') continue;
        const bool alnum = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!alnum) {
            gap = true;
            continue;
        }
        if (gap && !out.empty()) out += '_';
        gap = false;
        out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return out + ".qxs";
}

bool read_file(const std::filesystem::path& path, std::string* out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    *out = s.str();
    return static_cast<bool>(in) || in.eof();
}

// The C++ text of `data` as string pieces of at most ~70 bytes of source.
std::string c_string_pieces(const std::string& data) {
    std::string out = "    \"";
    int width = 0;
    for (char c : data) {
        char esc[8];
        switch (c) {
            case '\r': std::strcpy(esc, "\\r"); break;
            case '\n': std::strcpy(esc, "\\n"); break;
            case '"': std::strcpy(esc, "\\\""); break;
            case '\\': std::strcpy(esc, "\\\\"); break;
            case '?': std::strcpy(esc, "\\?"); break;   // no trigraphs
            default:
                if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F)
                    std::snprintf(esc, sizeof esc, "\\%03o", static_cast<unsigned char>(c));
                else
                    esc[0] = c, esc[1] = '\0';
        }
        out += esc;
        width += static_cast<int>(std::strlen(esc));
        if (c == '\n' || width >= 70) {
            out += "\"\n    \"";
            width = 0;
        }
    }
    return out + "\"";
}

}  // namespace

int main(int argc, char** argv) {
    const char* dir = nullptr;
    const char* out_path = nullptr;
    for (int k = 1; k + 1 < argc; k += 2) {
        if (!std::strcmp(argv[k], "--dir")) dir = argv[k + 1];
        else if (!std::strcmp(argv[k], "--source")) out_path = argv[k + 1];
        else break;
    }
    if (!dir || !out_path) {
        std::fprintf(stderr, "usage: quorix_progasm --dir DIR --source OUT.cpp\n");
        return 2;
    }

    // Every .qxs file must be one of the programs: a stray file is a typo.
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
        if (entry.path().extension() != ".qxs") continue;
        bool known = false;
        for (const char* name : kProgramNames)
            if (entry.path().filename() == file_name_of(name)) known = true;
        if (!known) {
            std::fprintf(stderr, "%s: not the file of a built-in program\n", entry.path().string().c_str());
            return 1;
        }
    }
    if (ec) {
        std::fprintf(stderr, "%s: %s\n", dir, ec.message().c_str());
        return 1;
    }

    std::string all;
    for (const char* name : kProgramNames) {
        const std::filesystem::path path = std::filesystem::path(dir) / file_name_of(name);
        std::string source, text, error;
        if (!read_file(path, &source)) {
            std::fprintf(stderr, "%s: missing (program \"%s\")\n", path.string().c_str(), name);
            return 1;
        }
        if (!qx::assemble_programs(source, &text, &error)) {
            std::fprintf(stderr, "%s: %s\n", path.string().c_str(), error.c_str());
            return 1;
        }
        const std::string head = std::string("N: ") + name + "\r\nV: 1.1\r\n";
        if (text.compare(0, head.size(), head) != 0) {
            std::fprintf(stderr, "%s: must start with \"program %s\"\n", path.string().c_str(), name);
            return 1;
        }
        if (text.find("\r\nN: ", head.size() - 2) != std::string::npos) {
            std::fprintf(stderr, "%s: holds more than one program\n", path.string().c_str());
            return 1;
        }
        all += text;
    }

    std::string cpp =
        "// Generated by quorix_progasm from programs/builtin/*.qxs: do not edit.\n"
        "#include <cstddef>\n\nnamespace qx {\n\nnamespace {\nconst char kBuiltinText[] =\n";
    cpp += c_string_pieces(all);
    cpp += ";\n}  // namespace\n\n"
           "const char* builtin_program_text() { return kBuiltinText; }\n"
           "std::size_t builtin_program_text_size() { return sizeof kBuiltinText - 1; }\n\n"
           "}  // namespace qx\n";
    std::FILE* f = std::fopen(out_path, "wb");
    if (!f) {
        std::fprintf(stderr, "%s: cannot write\n", out_path);
        return 1;
    }
    const bool ok = std::fwrite(cpp.data(), 1, cpp.size(), f) == cpp.size();
    if (std::fclose(f) != 0 || !ok) {
        std::fprintf(stderr, "%s: cannot write\n", out_path);
        std::remove(out_path);
        return 1;
    }
    return 0;
}

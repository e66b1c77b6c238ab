// The readable form of programs: the built-in programs are written in it
// and assembled into their stored file form at build time, and tests write
// their programs in it.
//
// One statement per line; "#" starts a comment; blank lines are skipped.
//   program NAME                 starts a program (the file's N: line)
//   description TEXT             "Program Description"; "|" is a line break
//   VAR                          R0..R9, A..Z, a..z (memory variables 0..61),
//                                or #k for variable k (0..89)
//   if X OP Y / while X OP Y     X: Ans or VAR; OP: = != < > >= <=; Y: 0, Ans or VAR
//   loop VAR
//   end | else | break | stop | return call | return sub
//   label VAR | goto VAR | gosub VAR          (the label named by that variable)
//   in VAR ["prompt"]
//   out Ans|VAR [pause] ["label"]
//   fout Ans|VAR
//   text "TEXT"
//   call "NAME"
//   in f1..f10 ["prompt"]        / f1..f10   (in f() and f())
//   expr WORDS                   an expression: token words (below)
//   menu clear | menu title "T" | menu item VAR "T" | menu display
//   stats enter Ans|VAR
//   stats x[VAR] = Ans | stats y[VAR] = Ans | Ans = stats x[VAR] | Ans = stats y[VAR]
//   precision N | decimal mark N | complex format N
//   any other instruction by its exact name: "Clear Memory", "2 var Stats",
//   "Degree Angle", "Plot t step = Ans", "Ans = System Tick", ...
//
// Expression words, separated by blanks: numbers (digits, ".", "E" for the
// exponent key, "~" for the negate key inside a number, e.g. 1.5E~3),
// variables as above (read), ">VAR" (store into VAR), "#CODE" (a raw token),
// and the names of assembler_token_words().
#pragma once
#include <string>
#include <vector>

#include "engine/tokens.h"

namespace qx {

struct AssemblerWord {
    const char* word;
    TokenCode code;
};
// The token words the assembler knows ("+", "sqrt(", "Ans", "pi", ...).
const std::vector<AssemblerWord>& assembler_token_words();

// Expression words to tokens; false with a message in *error.
bool assemble_expression(const std::string& words, std::vector<TokenCode>* tokens, std::string* error);

// Assembles one or more programs into their stored file form (CR LF lines,
// "N:", "V: 1.1", statements).  False with "line N: what" in *error.
bool assemble_programs(const std::string& source, std::string* file_text, std::string* error);

}  // namespace qx

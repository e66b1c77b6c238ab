// How the editor names statements: the one-line text of every instruction
// with its operands ("if (A < B)", "out B (p), \"Sum\"", "Menu B, \"More\"").
#pragma once
#include <string>

#include "programs/program.h"

namespace qx {

// The listing text of statement `index` without its number.  An expression
// statement gives "" (the editor draws its tokens).  A decimal mark or
// complex format outside its table gives "" after the "... not defined" box.
std::string statement_listing_text(const Program& p, int index);
// A variable operand: "R0".."R9", "A".."Z", "a".."z", the Greek names; "?"
// outside 0..89.
std::string program_variable_text(int index);
// Operand encodings with Ans: 0 is "Ans", k is variable k - 1.
std::string ans_or_variable_text(int operand);
// The right side of if / while: 0 "0", 1 "Ans", k variable k - 2.
std::string right_operand_text(int operand);
// A label is shown as the name of variable label + 10.
std::string label_text(int label);
// The statement an `end` closes (counting nesting backwards): its
// instruction name, or "?" when there is none.
std::string end_partner_name(const Program& p, int index);

}  // namespace qx

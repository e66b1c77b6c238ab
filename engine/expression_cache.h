// Compiled forms of stored expressions (program statements) that run again
// and again: each is compiled once and then served from one of 20 slots.
#pragma once
#include "engine/tokens.h"

namespace qx {

constexpr int EXPRESSION_CACHE_SLOTS = 20;
constexpr int STORED_EXPRESSION_TOKENS = 100;

// Runs the expression and stores its result in Ans (M_Ans, L_Ans).  A key
// found in the cache runs its compiled form without looking at the tokens;
// otherwise the tokens are compiled into the first free slot (or a scratch
// form when all 20 are taken).
void evaluate_stored_expression(int key, const TokenCode* tokens, int count);
// Every slot free again: a new program, another radix or word size, new
// plot functions or program functions make the compiled forms stale.
void clear_expression_cache();

}  // namespace qx

// Integer operations on 8, 16 or 32-bit two's-complement words.
#pragma once
#include <cstdint>

#include "engine/evaluator.h"

namespace qx {

void perform_long_calculation(const Operation& op);
// Saturating conversion to a 32-bit integer (truncation toward zero).
std::int32_t to_int32(double value);
// Sign-extends the low bits of the current word size.
std::int32_t cut_to_word(std::int32_t value, int word_size);
double cut_to_word_size(double value);

}  // namespace qx

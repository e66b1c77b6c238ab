// Named values: memory variables, the three answers, constants, Rand.
#pragma once
#include <cstdint>

#include "engine/tokens.h"

namespace qx {

constexpr int MEMORY_SLOTS = 95;
constexpr int MEM_MATRIX_FIRST = 90;   // "[A]".."[J]"
constexpr int MEM_LIST_FIRST = 100;    // "LA".."LJ"
constexpr int MEM_LAST = 109;
constexpr int ANSWER_SLOT = 10;        // matrix and list slot of M_Ans / L_Ans
constexpr int MEM_X = 59, MEM_T = 55, MEM_U = 56, MEM_V = 57, MEM_THETA = 69;

constexpr double PI_CONSTANT = 3.141592653589793;
constexpr double E_CONSTANT = 2.718281828459045;

struct MemorySlot { double re, im; };
extern MemorySlot g_memory[MEMORY_SLOTS];
extern MemorySlot g_ans;

// What a Value or Number item stands for at run time.
struct ConstantValue {
    double re, im;
    int matrix;   // -1 unless the operand names a matrix
    int list;     // -1 unless the operand names a list
    int memory;   // memory index of a plain scalar variable, else -1
};

ConstantValue get_constant(const ExprItem& item);
// Item fields only (subclass, value, param, stat index) so that compiled
// operations need not keep whole items.
ConstantValue get_constant(int subclass, double value, int param, int stat_index);

void memory_set(double value, int part, int index);
double memory_get(int index, int part);
void clear_memory();
const char* variable_name(int index);
// The name in plain text: Greek letters spelled out ("theta").
const char* greek_spelling(int index);

// The lagged subtractive generator behind Rand.
void rand_seed(int ij, int kl);
double rand_uniform();
void rand_seed_from_clock();

}  // namespace qx

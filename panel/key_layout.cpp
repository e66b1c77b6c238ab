#include "panel/key_layout.h"

namespace qx {

namespace {

constexpr KeyRect K(int l, int t, int r, int b, bool no_resume = false, bool no_cancel = false) {
    return KeyRect{l, t, r, b, no_resume, no_cancel};
}

// Columns shared by the rows of six keys and by the rows of five big keys.
constexpr int kSmallX[6][2] = {{5, 40}, {44, 79}, {83, 118}, {122, 157}, {161, 196}, {200, 235}};
constexpr int kModeX[6][2] = {{4, 40}, {43, 79}, {82, 118}, {121, 157}, {160, 196}, {199, 235}};
constexpr int kBigX[5][2] = {{3, 45}, {51, 93}, {99, 141}, {147, 189}, {194, 236}};

struct MainFace {
    KeyRect keys[52];
    constexpr MainFace() : keys{} {
        // row 1: key 49 (Run) then 0..4
        keys[49] = K(kSmallX[0][0], 72, kSmallX[0][1], 89);
        for (int c = 1; c < 6; ++c) keys[c - 1] = K(kSmallX[c][0], 72, kSmallX[c][1], 89);
        const int small_rows[3] = {102, 132, 162};
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 6; ++c)
                keys[5 + 6 * r + c] =
                    K(kSmallX[c][0], small_rows[r], kSmallX[c][1], small_rows[r] + 17);
        const int big_rows[4] = {192, 218, 244, 270};
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 5; ++c)
                keys[23 + 5 * r + c] = K(kBigX[c][0], big_rows[r], kBigX[c][1], big_rows[r] + 21);
        for (int c = 0; c < 6; ++c) keys[43 + c] = K(kModeX[c][0], 54, kModeX[c][1], 66);
        keys[50] = K(9, 27, 17, 42, true);
        keys[51] = K(223, 27, 231, 42, true);
    }
};

struct ProgramFace {
    KeyRect keys[24];
    constexpr ProgramFace() : keys{} {
        const int rows[3] = {211, 241, 271};
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 6; ++c)
                keys[6 * r + c] = K(kSmallX[c][0], rows[r], kSmallX[c][1], rows[r] + 17);
        for (int c = 0; c < 6; ++c) keys[18 + c] = K(kModeX[c][0], 193, kModeX[c][1], 205);
    }
};

struct PlotFace {
    KeyRect keys[24];
    constexpr explicit PlotFace(bool three_d) : keys{} {
        keys[0] = K(7, 7, 7, 7);
        keys[1] = K(8, 242, 92, 260);
        keys[2] = K(8, 266, 92, 284);
        if (three_d) {
            keys[3] = K(97, 214, 121, 235);
            keys[4] = K(126, 214, 150, 235);
            keys[5] = K(98, 238, 149, 252, false, true);
            keys[6] = K(98, 255, 149, 269, false, true);
            keys[18] = K(97, 271, 122, 286);
            keys[19] = K(126, 271, 151, 286);
        } else {
            keys[3] = K(97, 219, 121, 240);
            keys[4] = K(126, 219, 150, 240);
            keys[5] = K(98, 247, 149, 261, false, true);
            keys[6] = K(98, 266, 149, 280, false, true);
            keys[18] = K(7, 7, 7, 7, false, true);
            keys[19] = K(7, 7, 7, 7, false, true);
        }
        keys[7] = K(180, 242, 210, 258);
        keys[8] = K(156, 242, 179, 259);
        keys[9] = K(211, 238, 232, 263);
        keys[10] = K(186, 212, 205, 235);
        keys[11] = K(186, 263, 205, 286);
        for (int c = 0; c < 6; ++c) keys[12 + c] = K(kModeX[c][0], 193, kModeX[c][1], 205);
        const int tool_x[4][2] = {{10, 28}, {31, 49}, {52, 70}, {73, 91}};
        for (int k = 0; k < 4; ++k)
            keys[20 + k] = K(tool_x[k][0], 219, tool_x[k][1], 234, false, true);
    }
};

struct EditorFace {
    KeyRect keys[72];
    constexpr EditorFace() : keys{} {
        for (int c = 0; c < 6; ++c) keys[c] = K(kModeX[c][0], 52, kModeX[c][1], 64);
        keys[8] = K(3, 268, 45, 289);
        keys[9] = K(51, 268, 93, 289);
        keys[6] = K(99, 268, 140, 289);
        keys[10] = K(147, 268, 188, 289);
        keys[7] = K(194, 268, 236, 289);
        keys[11] = K(22, 240, 112, 250);
        keys[12] = K(114, 240, 205, 250);
        keys[15] = K(1, 240, 20, 250);
        keys[16] = K(207, 240, 226, 250);
        keys[13] = K(228, 92, 238, 153);
        keys[14] = K(228, 155, 238, 215);
        keys[17] = K(228, 71, 238, 90);
        keys[18] = K(228, 217, 238, 236);
        keys[19] = K(9, 27, 17, 42, true);
        keys[20] = K(223, 27, 231, 42, true);
        keys[21] = K(2, 252, 37, 262);
        for (int k = 0; k < 10; ++k) keys[22 + k] = K(42 + 20 * k, 252, 58 + 20 * k, 262);
        for (int row = 0; row < 8; ++row)
            for (int col = 0; col < 5; ++col)
                keys[32 + 5 * row + col] =
                    K(22 + 41 * col, 103 + 15 * row, 62 + 41 * col, 118 + 15 * row);
    }
};

struct AlphaFace {
    KeyRect keys[42];
    constexpr AlphaFace() : keys{} {
        for (int k = 0; k < 10; ++k) keys[k] = K(9 + 22 * k, 29, 27 + 22 * k, 46);
        for (int k = 0; k < 10; ++k) keys[10 + k] = K(9 + 22 * k, 52, 27 + 22 * k, 69);
        for (int k = 0; k < 9; ++k) keys[20 + k] = K(20 + 22 * k, 75, 38 + 22 * k, 92);
        for (int k = 0; k < 7; ++k) keys[29 + k] = K(27 + 22 * k, 98, 45 + 22 * k, 115);
        keys[36] = K(182, 97, 217, 114);
        keys[37] = K(31, 123, 85, 140);
        keys[38] = K(90, 123, 144, 140);
        keys[39] = K(149, 123, 203, 140);
        keys[40] = K(58, 147, 112, 164);
        keys[41] = K(122, 147, 176, 164);
    }
};

constexpr int kPeriodRowX[10] = {0, 40, 58, 76, 94, 112, 130, 148, 172, 190};
constexpr int kPeriodicTop = 66;

// Reading place of every element, by atomic number.
constexpr PeriodicPlace place_of(int z) {
    if (z == 1) return {1, 1};
    if (z == 2) return {1, 18};
    // Periods 2..7 start at these atomic numbers.
    const int starts[7] = {3, 11, 19, 37, 55, 87, 119};
    int period = 2;
    while (period < 7 && z >= starts[period - 1]) ++period;
    const int first = starts[period - 2];
    const int k = z - first;  // 0-based position within the period
    if (period <= 3) return {period, k < 2 ? k + 1 : k + 11};
    if (period <= 5) return {period, k + 1};
    // Periods 6 and 7: two s-block elements, fifteen f-block elements in
    // their own row, then groups 4..18.
    if (k < 2) return {period, k + 1};
    if (k < 17) return {period + 2, k + 1};
    return {period, k - 13};
}

struct PeriodicFace {
    KeyRect keys[2 + PERIODIC_CELLS];
    constexpr PeriodicFace() : keys{} {
        keys[0] = K(62, 233, 84, 286);
        keys[1] = K(62, 155, 84, 225);
        for (int z = 1; z <= PERIODIC_CELLS; ++z) {
            PeriodicPlace p = place_of(z);
            int left = kPeriodRowX[p.row];
            int top = kPeriodicTop + (18 - p.column) * PERIODIC_CELL_H;
            keys[z + 1] = K(left, top, left + PERIODIC_CELL_W - 1, top + PERIODIC_CELL_H - 1);
        }
    }
};

constexpr MainFace kMain;
constexpr ProgramFace kProgram;
constexpr PlotFace kPlot2D(false);
constexpr PlotFace kPlot3D(true);
constexpr PeriodicFace kPeriodic;
constexpr EditorFace kEditor;
constexpr AlphaFace kAlpha;

const FaceTable kFaces[FACE_COUNT] = {
    {kMain.keys, 52, 0, 0},
    {kProgram.keys, 24, 0, 0},
    {kPlot2D.keys, 24, 0, 0},
    {kPlot3D.keys, 24, 0, 0},
    {kPeriodic.keys, 2 + PERIODIC_CELLS, 0, 0},
    {kEditor.keys, 72, 0, 1},
    {kAlpha.keys, 42, 3, 55},
};

const char* const kSymbols[PERIODIC_ELEMENTS] = {
    "H",  "He", "Li", "Be", "B",  "C",  "N",  "O",  "F",  "Ne", "Na", "Mg", "Al", "Si",
    "P",  "S",  "Cl", "Ar", "K",  "Ca", "Sc", "Ti", "V",  "Cr", "Mn", "Fe", "Co", "Ni",
    "Cu", "Zn", "Ga", "Ge", "As", "Se", "Br", "Kr", "Rb", "Sr", "Y",  "Zr", "Nb", "Mo",
    "Tc", "Ru", "Rh", "Pd", "Ag", "Cd", "In", "Sn", "Sb", "Te", "I",  "Xe", "Cs", "Ba",
    "La", "Ce", "Pr", "Nd", "Pm", "Sm", "Eu", "Gd", "Tb", "Dy", "Ho", "Er", "Tm", "Yb",
    "Lu", "Hf", "Ta", "W",  "Re", "Os", "Ir", "Pt", "Au", "Hg", "Tl", "Pb", "Bi", "Po",
    "At", "Rn", "Fr", "Ra", "Ac", "Th", "Pa", "U",  "Np", "Pu", "Am", "Cm", "Bk", "Cf",
    "Es", "Fm", "Md", "No", "Lr", "Rf", "Db", "Sg", "Bh", "Hs", "Mt",
};

}  // namespace

const FaceTable& face_table(FaceId face) {
    if (face < 0 || face >= FACE_COUNT) face = FACE_MAIN;
    return kFaces[face];
}

KeyRect key_rect(FaceId face, int key) {
    const FaceTable& t = face_table(face);
    if (key < 0 || key >= t.count) return KeyRect{-1, -1, -2, -2, false, false};
    KeyRect r = t.keys[key];
    r.left += t.offset_x;
    r.right += t.offset_x;
    r.top += t.offset_y;
    r.bottom += t.offset_y;
    return r;
}

PeriodicPlace periodic_place(int atomic_number) {
    if (atomic_number < 1 || atomic_number > PERIODIC_CELLS) return {0, 0};
    return place_of(atomic_number);
}

const char* element_symbol(int atomic_number) {
    if (atomic_number < 1 || atomic_number > PERIODIC_ELEMENTS) return "";
    return kSymbols[atomic_number - 1];
}

}  // namespace qx

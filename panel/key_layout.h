// Where the keys are: one constant table of rectangles per face.  The key
// number is the index in its face's table.  The artwork generator draws every
// key exactly on its rectangle and the key decoder hit-tests the same tables,
// so a key's picture and its tap area cannot drift apart.
#pragma once

namespace qx {

struct KeyRect {
    int left, top, right, bottom;   // inclusive
    bool no_resume;                 // display-scroll arrows: a tap does not resume a paused program
    bool no_cancel;                 // a tap does not cancel a long calculation
};

enum FaceId {
    FACE_MAIN = 0,        // BASE-n, COMP, STATS
    FACE_PROGRAM,         // PROG
    FACE_PLOT_2D,         // PLOT, function, polar, parametric
    FACE_PLOT_3D,         // PLOT, three-dimensional
    FACE_PERIODIC,        // periodic table
    FACE_EDITOR,          // MATRIX, LIST
    FACE_ALPHA,           // the alpha keyboard, over any face
    FACE_COUNT,
};

struct FaceTable {
    const KeyRect* keys;
    int count;
    int offset_x;          // added to left and right
    int offset_y;          // added to top and bottom
};

const FaceTable& face_table(FaceId face);
// The rectangle of a key with its face offset applied.
KeyRect key_rect(FaceId face, int key);

// Keys of the main face the drawing code names.
enum MainKey {
    MAIN_SHIFT_ORANGE = 0, MAIN_SHIFT_BLUE = 1, MAIN_HYP = 2, MAIN_EQUALS = 42,
    MAIN_MODE_FIRST = 43, MAIN_RUN = 49, MAIN_ARROW_LEFT = 50, MAIN_ARROW_RIGHT = 51,
};

// Periodic face: key = atomic number + 1 for the 110 cells (the last cell has
// no element).  The table is drawn turned a quarter turn anticlockwise: the
// periods run left to right across the screen and the groups bottom to top.
constexpr int PERIODIC_CELLS = 110;
constexpr int PERIODIC_ELEMENTS = 109;
constexpr int PERIODIC_CELL_W = 18;
constexpr int PERIODIC_CELL_H = 14;
// Reading position of a cell (atomic number 1..110): period row 1..7, or 8
// and 9 for the lanthanide and actinide rows, and column 1..18 (for the two
// f-block rows: 3..17, the element's place within its row).
struct PeriodicPlace { int row, column; };
PeriodicPlace periodic_place(int atomic_number);

// The three-letter-or-shorter symbols, for drawing and for help texts.
const char* element_symbol(int atomic_number);

}  // namespace qx

// Every tap on the face ends here: which key lies under the point, its
// pressed look, and what the key means in the current mode and shift state
// (a token to insert, a command, or a dialog whose choice becomes a token).
#pragma once
#include "panel/key_layout.h"

namespace qx {

struct ShiftState {
    bool blue, orange, hyp;
};
extern ShiftState g_shift;

// Results of key_pressed_decoder besides a code to insert.
constexpr int KEY_NOTHING = -1;   // nothing happened, or only a shift changed
constexpr int KEY_COMMAND = -2;   // a command ran; the shifts are reset

// The face whose keys are under the stylus now.
FaceId current_face();
// The key of the current face under (x, y), or -1; the rectangle with the
// face offset applied in *rect.
int hit_test_key(int x, int y, KeyRect* rect);
// For the cancel check of long calculations: a key whose tap may stop one.
bool key_cancels_operation(int x, int y);

// A stylus tap (or, with x < 0, a keyboard character or direction code that
// selects no key).
void handle_key_press(int x, int y);
// What key number `key` of the current face does.
int key_pressed_decoder(int key);
// The six mode buttons: COMP, PROG, PLOT, data mode, MENU, SETUP.
void select_mode_button(int index);
// Makes a mode current (COMP, STATS, BASE-n, MATRIX, LIST, PLOT, PROG,
// periodic table) and repaints.
void enter_mode(int mode);
// Puts back the key picture the pressed look covered.
void restore_pressed_key();
// Run/Stop.
void run_stop();
// The statistics or data entry of the Σ+ key.
void data_entry();

void reset_key_decoder();

}  // namespace qx

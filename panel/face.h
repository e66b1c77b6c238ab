// Painting the calculator: the face of the current mode with its keys that
// show a state, the mode-button legends, the display areas, and on top the
// alpha keyboard; the alpha entry itself, the key click and the help.
#pragma once
#include "platform/surface.h"

namespace qx {

// What a redraw request names.
enum Indicator {
    IND_AC = 0, IND_SHIFTS = 1, IND_ORANGE = 2, IND_BLUE = 3, IND_HYP = 4, IND_ALPHA_SHIFT = 5,
    IND_STATS_VARS = 6, IND_REGRESSION = 7, IND_BASE = 8, IND_ANGLE = 9, IND_WORD_SIZE = 10,
    IND_RUN = 11, IND_LOCK_LEDS = 12, IND_TOOL_LEDS = 13,
};

// The whole face into the screen picture, then shown.
void paint_face();
// The same into any surface (used by paint_face and by tests).
void compose_face(Surface& s);
// A program's own text on the first display line, character by character.
void draw_program_text(Surface& s, const char* text);
// One key with a state (or the LEDs) redrawn in place and shown.
void redraw_indicator(int number, bool restore_pressed_key = true);

// --- alpha entry ---------------------------------------------------------
constexpr int ALPHA_KINDS = 10;

struct AlphaEntry {
    bool shown;
    int kind;                 // 0..9
    bool shift;
    char text[120];
    char constant_name[41];   // kept from the first step of a new constant
};
extern AlphaEntry g_alpha;

void start_alpha_entry(int kind);
// A key of the alpha keyboard: a character code of the kind's set, or -1.
int alpha_decoder(int key);
void add_alpha_character(int code);
// Maximum length and character set of a kind (nullptr outside 0..9).
int alpha_max_length(int kind);
const char* alpha_character_set(int kind);
// The keyboard over the face and the prompt (part of compose_face).
void paint_alpha_keyboard(Surface& s);
// The text on the first display line, with its cursor.
void draw_alpha_text(Surface& s);

// --- key click and help ----------------------------------------------------
void play_key_click();
void open_help();

}  // namespace qx

// The alpha entry: typing a name or a short text with the on-screen letter
// keyboard that covers the face.  What the text becomes (a program name, a
// statement text, a user constant) is decided when OK is pressed; the
// subsystems that own those things are reached through g_panel.
#include <cstring>

#include "engine/settings.h"
#include "panel/face.h"
#include "panel/images.h"
#include "panel/key_dialogs.h"
#include "panel/legend_names.h"
#include "panel/subsystems.h"
#include "panel/ui.h"
#include "tools/constants.h"

namespace qx {

AlphaEntry g_alpha = {false, 0, false, {}, {}};

namespace {

// Codes 0..62 are the same in every set: the digits and letters in the
// order of the keyboard rows, the blank, then the capitals.
constexpr int CODE_BLANK = 36;
constexpr int CODE_CAPITALS = 37;   // the first capital; a letter key k gives k + 27
constexpr int CODE_SYMBOLS = 63;

const char kFullSet[] =
    "1234567890qwertyuiopasdfghjklzxcvbnm QWERTYUIOPASDFGHJKLZXCVBNM"
    "()[]{}<>*=:;,.'\"+-!#/\\_?$&~^%@";

// A program name becomes the name of its file, so the file-name set leaves
// out "/", the one character a file name here cannot hold.  The other
// symbols keep their order (and so their codes).
const char kFileNameSet[] =
    "1234567890qwertyuiopasdfghjklzxcvbnm QWERTYUIOPASDFGHJKLZXCVBNM"
    "()[]{}<>=;,'\"+-!#_$&~^%@_";

static_assert(sizeof kFullSet - 1 == 93);
static_assert(sizeof kFileNameSet - 1 == 88);

struct KindInfo {
    const char* prompt;    // picture above the keys
    int max_length;
    bool file_name_set;
};

const KindInfo kKinds[ALPHA_KINDS] = {
    {"ALPHA_PROGRAM_NAME", 22, true},        // 0 new program
    {"ALPHA_PROGRAM_NAME", 22, true},        // 1 copy of a program
    {"ALPHA_INPUT_PROMPT", 15, false},       // 2 input with prompt
    {"ALPHA_OUTPUT_TEXT_LABEL", 15, false},  // 3 output with label
    {"ALPHA_OUTPUT_TEXT", 15, false},        // 4 text output
    {"ALPHA_INPUT_PROMPT", 15, false},       // 5 function input with prompt
    {"ALPHA_MENU_ITEM", 22, false},          // 6 menu item
    {"ALPHA_MENU_TITLE", 22, false},         // 7 menu title
    {"ALPHA_CONSTANT_NAME", 22, false},      // 8 name of a new constant
    {"ALPHA_CONSTANT_UNIT", 15, false},      // 9 its unit
};

// Statement texts and constant names are kept in 40-character fields.
constexpr int STATEMENT_TEXT_LIMIT = 40;
constexpr int CONSTANT_NAME_LIMIT = 40;

// The first display line and where its characters go.
constexpr int LINE_LEFT = 7, LINE_TOP = 8, LINE_RIGHT = 233, LINE_BOTTOM = 25;
constexpr int TEXT_X = 20;
constexpr int TEXT_ROOM = 202;   // running width beyond which a legend would overrun the line

bool valid_kind(int kind) { return kind >= 0 && kind < ALPHA_KINDS; }

int set_size(int kind) {
    if (!valid_kind(kind)) return 0;
    return static_cast<int>(kKinds[kind].file_name_set ? sizeof kFileNameSet : sizeof kFullSet) - 1;
}

int text_length() { return static_cast<int>(std::strlen(g_alpha.text)); }

void copy_cut(char* dest, int size, const char* source, int limit) {
    int n = static_cast<int>(std::strlen(source));
    if (n > limit) n = limit;
    if (n > size - 1) n = size - 1;
    std::memcpy(dest, source, static_cast<std::size_t>(n));
    dest[n] = '\0';
}

void redraw_text() {
    draw_alpha_text(ui().screen);
    present_screen();
}

void set_shift(bool on) {
    if (g_alpha.shift == on) return;
    g_alpha.shift = on;
    redraw_indicator(IND_ALPHA_SHIFT);
}

// What OK does with the finished text.  Returns true when the face still
// has to be repainted.
bool finish(int kind, const char* text) {
    switch (kind) {
        case 0:
        case 1:
            if (g_panel.program_name_exists(text)) {
                // The keyboard is gone before the refusal is read.
                paint_face();
                show_box("Program name in use", "Error");
                return false;
            }
            if (kind == 0) g_panel.program_create(text);
            else g_panel.program_copy(text);
            return true;
        case 2: case 3: case 4: case 5: case 6: case 7: {
            char cut[STATEMENT_TEXT_LIMIT + 1];
            copy_cut(cut, sizeof cut, text, STATEMENT_TEXT_LIMIT);
            g_panel.program_text_statement(kind, cut);
            return true;
        }
        case 8:
            // Refused before the unit is asked for: the file keeps a
            // constant's fields apart with ", ".
            if (!constant_text_usable(text)) {
                paint_face();
                const TableMessage m = add_constant_refusal(AddConstant::BadText);
                show_box(m.text, m.title);
                return false;
            }
            copy_cut(g_alpha.constant_name, sizeof g_alpha.constant_name, text,
                     CONSTANT_NAME_LIMIT);
            start_alpha_entry(9);   // shows the keyboard again, for the unit
            return false;
        case 9:
            g_panel.user_constant_add(g_alpha.constant_name, text);
            return true;
        default:
            return true;
    }
}

void press_ok() {
    g_alpha.shown = false;
    int n = text_length();
    while (n > 0 && g_alpha.text[n - 1] == ' ') g_alpha.text[--n] = '\0';
    const int kind = g_alpha.kind;
    bool repaint = true;
    if (n > 0 || kind == 9) {
        // The text is copied out first: kind 8 clears it to start the unit.
        char text[sizeof g_alpha.text];
        std::memcpy(text, g_alpha.text, sizeof text);
        repaint = finish(kind, text);
    }
    if (repaint) paint_face();
}

}  // namespace

int alpha_max_length(int kind) { return valid_kind(kind) ? kKinds[kind].max_length : 0; }

const char* alpha_character_set(int kind) {
    if (!valid_kind(kind)) return nullptr;
    return kKinds[kind].file_name_set ? kFileNameSet : kFullSet;
}

void start_alpha_entry(int kind) {
    g_alpha.shift = false;
    g_alpha.kind = kind;
    g_alpha.shown = true;
    g_alpha.text[0] = '\0';
    paint_face();
}

int alpha_decoder(int key) {
    play_key_click();
    if (key >= 0 && key <= 35) {
        if (!g_alpha.shift) return key;
        set_shift(false);
        return key < 10 ? key : key + (CODE_CAPITALS - 10);
    }
    switch (key) {
        case 36:
            g_alpha.shift = !g_alpha.shift;
            redraw_indicator(IND_ALPHA_SHIFT);
            return -1;
        case 37: {
            const int n = text_length();
            if (n > 0) {
                g_alpha.text[n - 1] = '\0';
                redraw_text();
            }
            return -1;
        }
        case 38:
            return CODE_BLANK;
        case 39: {
            const bool file_name = valid_kind(g_alpha.kind) && kKinds[g_alpha.kind].file_name_set;
            const int s = select_symbol(file_name);
            if (s < 0) return -1;
            // A symbol past the end of this kind's set has no character.
            const int code = CODE_SYMBOLS + s;
            return code < set_size(g_alpha.kind) ? code : -1;
        }
        case 40:
            press_ok();
            return -1;
        case 41:
            g_alpha.shown = false;
            paint_face();
            return -1;
        default:
            return -1;
    }
}

void add_alpha_character(int code) {
    const int kind = g_alpha.kind;
    if (!valid_kind(kind)) return;
    if (code < 0 || code >= set_size(kind)) return;
    const int n = text_length();
    if (n >= alpha_max_length(kind) || n >= static_cast<int>(sizeof g_alpha.text) - 1) return;
    const char c = alpha_character_set(kind)[code];
    // Leading blanks would make names that look alike but differ.
    if (n == 0 && c == ' ') return;
    g_alpha.text[n] = c;
    g_alpha.text[n + 1] = '\0';
    redraw_text();
}

void paint_alpha_keyboard(Surface& s) {
    if (!g_alpha.shown) return;
    const int brightness = g_settings.brightness;
    draw_gif(s, "ALPHA_ENTRY_GIF", 3, 55, false, brightness);
    draw_gif(s, g_alpha.shift ? "dot_alpha_shift_button" : "alpha_shift_button", 185, 152, false,
             brightness);
    if (valid_kind(g_alpha.kind))
        draw_gif(s, kKinds[g_alpha.kind].prompt, 13, 65, false, brightness);
    else
        show_box("No prompt defined for alpha entry", "Bitmap error");
}

void draw_alpha_text(Surface& s) {
    fill_rectangle(s, g_settings.display_color, LINE_LEFT, LINE_TOP, LINE_RIGHT, LINE_BOTTOM);
    const int n = text_length();
    const char* cursor = "underline";
    // Up to 22 characters fit unless they are wide ones; then the line shows
    // the end of the text, where typing happens, and an arrow says more
    // lies to the left.
    int width = legend_width(cursor);
    int first = n;
    while (first > 0) {
        const int w = legend_width(char_legend(static_cast<unsigned char>(g_alpha.text[first - 1])));
        if (width + w > TEXT_ROOM) break;
        width += w;
        --first;
    }
    if (first > 0) draw_legend(s, "left_arrow", 9, 13, false);
    int x = TEXT_X;
    for (int i = first; i < n; ++i)
        x += draw_legend(s, char_legend(static_cast<unsigned char>(g_alpha.text[i])), x, LINE_TOP,
                         false);
    draw_legend(s, cursor, x, LINE_TOP, true);
}

}  // namespace qx

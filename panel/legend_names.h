// Which legend bitmaps draw a token or a character on the display.  Tokens
// are never turned into text for the display: each is drawn as one or more
// small bitmaps named here.
#pragma once
#include <string>
#include <vector>

#include "engine/tokens.h"

namespace qx {

constexpr int MAX_TOKEN_LEGENDS = 64;

// The legend of one character drawn on its own: "U_ASCII_" and its code.
// Characters without a picture (below 25, 127, 129..143, above 173) give
// the legend of "?".
const char* char_legend(unsigned char c);
bool char_has_legend(unsigned char c);
// A one-character name as the display maps it: digits "0_dig".."9_dig",
// "." "decimal", "," "U_ASCII_44", "-" "neg", "_" "underline", "A".."F"
// "hex_A".."hex_F", "b" "d" "h" "o" the base suffixes, "e" "Exp"; any other
// character its own legend.
const char* mapped_char_legend(unsigned char c);

// A character of a text line (the result line, a program's text): digits
// and the marks ". , _" by their display names, anything else by its own
// legend, so that an "e" in a word stays a letter.
const char* text_char_legend(unsigned char c);

// The legends that draw the token, in order; returns their number (0 for a
// token that is not drawn).  decimal_mark 1 is the comma.
int token_legends(TokenCode code, int decimal_mark, const char* out[MAX_TOKEN_LEGENDS]);

// Every legend the drawing code can ask for: token legends of every token
// in both decimal marks, every character of the display font, the read-out
// labels and glyphs, the display arrows, the colour boxes, the trace LEDs
// and the checkered brush.  Sorted, no duplicates.
std::vector<std::string> all_legend_names();
// Every picture (GIF resource) the drawing code can ask for.
std::vector<std::string> all_picture_names();

}  // namespace qx

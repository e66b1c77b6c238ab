// Drawing helpers shared by the legend sources of the generator.
#pragma once
#include <initializer_list>

#include "tools/artgen/art.h"

namespace qx::art::legends {

// The display shows legends as ink on paper; white becomes transparent on a
// coloured display and the whole legend is inverted under the cursor, so no
// other shade may appear in a display legend.
constexpr Colour kInk = COLOUR_BLACK;
constexpr Colour kPaper = COLOUR_WHITE;

// A small bitmap written as rows of '#' (ink) and '.' (left as it is), top
// row first.  Stamps it with its top-left corner at (x, y) and returns the
// width of its widest row.
int stamp(Surface& s, int x, int y, std::initializer_list<const char*> rows, Colour c = kInk);
int stamp(Surface& s, int x, int y, const char* const* rows, int count, Colour c = kInk);

// Extent of the pixels that differ from the paper colour; -1 when there is
// none.  The column range may be narrowed to look at one part of a drawing.
struct InkBox {
    int left = -1, top = -1, right = -1, bottom = -1;
    bool empty() const { return right < 0; }
};
InkBox ink_box(const Surface& s, int from_x = 0, int to_x = -1, Colour paper = kPaper);

// The left part of a surface, `width` columns wide.
Surface crop_width(const Surface& s, int width);

// The three groups of legends, each in its own source.
void draw_display_legends(ArtList& out);   // tokens and characters of the input and result lines
void draw_readout_legends(ArtList& out);   // the plot's small read-outs
void draw_marks(ArtList& out);             // arrows, colour boxes, trace LEDs, the pan brush

}  // namespace qx::art::legends

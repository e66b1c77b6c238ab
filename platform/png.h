// PNG output of a surface (screenshots, rendered pictures).
#pragma once
#include <string>

#include "platform/surface.h"

namespace qx {

// Writes the surface enlarged by a whole factor (1 = as it is) through a
// temporary file renamed into place.  Returns false with the reason in
// *error when it cannot be written; an old file of that name stays whole.
bool write_png(const Surface& surface, const std::string& path, int scale = 1,
               std::string* error = nullptr);

// Reads an 8-bit RGB or RGBA PNG of at most 4096 x 4096 pixels; false (and
// the surface untouched) for anything else.
bool read_png(const std::string& path, Surface& out, std::string* error = nullptr);

}  // namespace qx

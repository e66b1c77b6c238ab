// A face composed the way the calculator paints it, in a resting state
// (no shift set, no error, an empty display), for the --face command.
#pragma once
#include <string>

#include "platform/surface.h"

namespace qx {

// Names: comp, base, stats, prog, plot, plot3d, matrix, list, periodic,
// alpha (the alpha keyboard over the COMP face).  False for another name.
bool compose_named_face(const std::string& name, Surface& screen);
const char* const* face_names();   // null-terminated

}  // namespace qx

// The key click: a wave file played without waiting for it.
#pragma once
#include <string>

namespace qx {

// Plays the file if it exists and can be played; silently nothing otherwise
// (no default sound stands in for a missing file).
void play_wave_async(const std::string& path);

}  // namespace qx

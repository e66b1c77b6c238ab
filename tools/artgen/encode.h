// Encoders of the generator: GIF87a pictures and device-independent bitmap
// legends, and the C++ source that compiles them into the calculator.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/artgen/art.h"

namespace qx::art {

// One image, global colour table, no local table, no interlacing.  More
// than 256 colours are reduced by median cut; the transparency key colour
// and pure magenta are always kept exact.
std::vector<std::uint8_t> encode_gif(const Surface& image);
// Bitmap file: 14-byte file header, 40-byte info header, bottom-up rows of
// blue, green, red padded to four bytes.
std::vector<std::uint8_t> encode_bmp(const Surface& image);

struct TextResource {
    std::string name;
    std::string bytes;
};

bool write_resource_source(const ArtList& list, const std::vector<TextResource>& texts,
                           const std::string& path, std::string* error);

}  // namespace qx::art

// The pictures and legends compiled into the executable, found by name
// without regard to case.  Pictures are GIF images; legends are
// device-independent bitmaps (uncompressed, 24 bits per pixel); texts (the
// help file) are their bytes.
#pragma once
#include <cstdint>

namespace qx {

enum ResourceKind { RES_PICTURE = 0, RES_LEGEND = 1, RES_TEXT = 2 };

struct ResourceEntry {
    const char* name;
    int kind;
    const std::uint8_t* data;
    std::uint32_t size;
};

// The generated table, sorted by upper-case name.
extern const ResourceEntry g_resource_table[];
extern const int g_resource_count;

// nullptr when there is no resource of that kind and name.
const ResourceEntry* find_resource(const char* name, ResourceKind kind);

}  // namespace qx

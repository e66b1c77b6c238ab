#include "panel/resources.h"

#include <cctype>

namespace qx {

namespace {

// Case-insensitive comparison of a name with an upper-case table name.
int compare_upper(const char* name, const char* table_name) {
    for (;; ++name, ++table_name) {
        int a = std::toupper(static_cast<unsigned char>(*name));
        int b = static_cast<unsigned char>(*table_name);
        if (a != b || a == 0) return a - b;
    }
}

}  // namespace

const ResourceEntry* find_resource(const char* name, ResourceKind kind) {
    if (!name) return nullptr;
    int lo = 0, hi = g_resource_count - 1;
    while (lo <= hi) {
        int mid = (lo + hi) / 2;
        int c = compare_upper(name, g_resource_table[mid].name);
        if (c == 0) {
            // A picture and a legend may share a name; look at both neighbours.
            for (int k = mid; k >= 0 && compare_upper(name, g_resource_table[k].name) == 0; --k)
                if (g_resource_table[k].kind == kind) return &g_resource_table[k];
            for (int k = mid + 1;
                 k < g_resource_count && compare_upper(name, g_resource_table[k].name) == 0; ++k)
                if (g_resource_table[k].kind == kind) return &g_resource_table[k];
            return nullptr;
        }
        if (c < 0) hi = mid - 1;
        else lo = mid + 1;
    }
    return nullptr;
}

}  // namespace qx

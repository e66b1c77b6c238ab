// Walking the lines of a text the calculator reads (state files, programs,
// the built-in texts): CR LF, LF or a lone CR ends each line.
#pragma once
#include <cstddef>

namespace qx {

struct LineReader {
    const char* p;      // where the next line starts
    const char* end;

    // The next line without its end; false at the end of the text.
    bool next(const char*& line, std::size_t& length) {
        if (p >= end) return false;
        const char* q = p;
        while (q < end && *q != '\r' && *q != '\n') ++q;
        line = p;
        length = static_cast<std::size_t>(q - p);
        if (q < end && *q++ == '\r' && q < end && *q == '\n') ++q;
        p = q;
        return true;
    }
};

}  // namespace qx

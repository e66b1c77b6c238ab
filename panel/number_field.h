// Number fields of dialogs: a typed text read as a number, and a field that
// keeps the exact value behind the rounded digits it shows.
#pragma once
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "engine/settings.h"
#include "platform/widgets.h"

namespace qx {

// A typed number.  strtod alone would follow the C locale and accept a
// prefix, so the comma mark is translated here and the whole text must be
// consumed.
inline bool parse_number(std::string text, double& out) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    if (g_settings.decimal_mark == 1) std::replace(text.begin(), text.end(), ',', '.');
    if (text.empty() || text.front() == ' ') return false;
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !std::isfinite(v)) return false;
    out = v;
    return true;
}

// A number field remembers what it showed: a text left as it was keeps the
// exact value behind it instead of the rounded digits on the screen.
struct NumberField {
    int id;
    double value;
    std::string shown;

    void show(Dialog& d, double v, const std::string& text) {
        value = v;
        shown = text;
        d.set_text(id, shown);
    }
    // The value the field holds now; fallback when the text is no number.
    double read(const Dialog& d, double fallback) const {
        const std::string text = d.text(id);
        if (text == shown) return value;
        double v;
        return parse_number(text, v) ? v : fallback;
    }
};

}  // namespace qx

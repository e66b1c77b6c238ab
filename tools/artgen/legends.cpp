// The legends: every small bitmap the display, the program listing and the
// plot face look up by name.  The drawing lives in legends_*.cpp; this file
// holds the shared helpers and the check that the set drawn is exactly the
// set the calculator can ask for, so that a token added to the engine without
// its legend stops the build instead of showing a hole on the display.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

#include "panel/legend_names.h"
#include "tools/artgen/art.h"
#include "tools/artgen/legends_art.h"

namespace qx::art {

namespace legends {

int stamp(Surface& s, int x, int y, const char* const* rows, int count, Colour c) {
    int width = 0;
    for (int r = 0; r < count; ++r) {
        const int n = static_cast<int>(std::strlen(rows[r]));
        if (n > width) width = n;
        for (int k = 0; k < n; ++k)
            if (rows[r][k] == '#') s.set(x + k, y + r, c);
    }
    return width;
}

int stamp(Surface& s, int x, int y, std::initializer_list<const char*> rows, Colour c) {
    return stamp(s, x, y, rows.begin(), static_cast<int>(rows.size()), c);
}

InkBox ink_box(const Surface& s, int from_x, int to_x, Colour paper) {
    InkBox box;
    if (to_x < 0 || to_x >= s.width()) to_x = s.width() - 1;
    if (from_x < 0) from_x = 0;
    for (int y = 0; y < s.height(); ++y)
        for (int x = from_x; x <= to_x; ++x) {
            if (s.get(x, y) == paper) continue;
            if (box.empty()) {
                box = {x, y, x, y};
                continue;
            }
            if (x < box.left) box.left = x;
            if (x > box.right) box.right = x;
            if (y < box.top) box.top = y;
            if (y > box.bottom) box.bottom = y;
        }
    return box;
}

Surface crop_width(const Surface& s, int width) {
    Surface out(width, s.height(), kPaper);
    copy_block(out, 0, 0, s, 0, 0, width, s.height());
    return out;
}

}  // namespace legends

namespace {

std::string upper(const std::string& s) {
    std::string u = s;
    for (char& c : u) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return u;
}

bool only_ink_and_paper(const Surface& s) {
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) {
            const Colour c = s.get(x, y);
            if (c != legends::kInk && c != legends::kPaper) return false;
        }
    return true;
}

// Every problem is reported before giving up, so one run shows them all.
bool check_legends(const ArtList& out, std::size_t first, std::size_t display_end) {
    bool ok = true;
    auto complain = [&](const char* what, const std::string& name) {
        std::fprintf(stderr, "quorix_artgen: legend %s %s\n", name.c_str(), what);
        ok = false;
    };

    std::map<std::string, int> drawn;   // upper-case name -> times drawn
    std::map<std::string, std::string> spelling;
    for (std::size_t k = first; k < out.size(); ++k) {
        const Artwork& a = out[k];
        const std::string key = upper(a.name);
        ++drawn[key];
        spelling.emplace(key, a.name);
        if (a.kind != Kind::Legend) complain("is not marked as a legend", a.name);
        if (a.image.empty()) complain("is empty", a.name);
        if (k < display_end) {
            if (a.image.height() != 16) complain("is not 16 pixels high", a.name);
            if (!only_ink_and_paper(a.image)) complain("has pixels other than black and white", a.name);
            // Characters are the bricks of names and text: a 22-character
            // program name and the cursor have to fit in the input line.
            if (a.name.rfind("U_ASCII_", 0) == 0 && a.image.width() > 7)
                complain("is wider than 7 pixels", a.name);
        }
    }

    std::map<std::string, bool> wanted;
    for (const std::string& n : qx::all_legend_names()) {
        // A token whose operator has no name asks for a nameless legend;
        // nothing can be looked up by it, so there is nothing to draw.
        if (n.empty()) {
            std::fprintf(stderr, "quorix_artgen: warning: the legend list holds an empty name\n");
            continue;
        }
        wanted[upper(n)] = true;
    }
    for (const auto& [key, yes] : wanted) {
        (void)yes;
        auto it = drawn.find(key);
        if (it == drawn.end()) complain("is asked for by the calculator but never drawn", key);
    }
    for (const auto& [key, times] : drawn) {
        if (times > 1) complain("is drawn more than once", spelling[key]);
        if (!wanted.count(key)) complain("is drawn but the calculator never asks for it", spelling[key]);
    }
    return ok;
}

}  // namespace

void draw_legends(ArtList& out) {
    const std::size_t first = out.size();
    legends::draw_display_legends(out);
    const std::size_t display_end = out.size();
    legends::draw_readout_legends(out);
    legends::draw_marks(out);
    if (!check_legends(out, first, display_end)) {
        std::fprintf(stderr, "quorix_artgen: the legends do not match the calculator's list\n");
        std::exit(EXIT_FAILURE);
    }
}

}  // namespace qx::art

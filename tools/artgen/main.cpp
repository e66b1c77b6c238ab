// quorix_artgen: draws every picture and legend.
//   quorix_artgen --source FILE.cpp [--text NAME=FILE ...]
//                                       the resource table compiled into the calculator,
//                                       with text files (the help) as resources of their own
//   quorix_artgen --png DIR [--scale N] [--only TEXT]
//                                       each drawing as DIR/NAME.png, for looking at
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/tokens.h"
#include "platform/files.h"
#include "platform/png.h"
#include "tools/artgen/art.h"
#include "tools/artgen/encode.h"

using namespace qx;

namespace {

std::string upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

int usage() {
    std::fprintf(stderr,
                 "usage: quorix_artgen --source FILE.cpp | --png DIR [--scale N] [--only TEXT]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string source, png_dir, only;
    std::vector<std::pair<std::string, std::string>> texts;
    int scale = 1;
    for (int k = 1; k < argc; ++k) {
        std::string a = argv[k];
        if (a == "--source" && k + 1 < argc) source = argv[++k];
        else if (a == "--png" && k + 1 < argc) png_dir = argv[++k];
        else if (a == "--scale" && k + 1 < argc) scale = std::atoi(argv[++k]);
        else if (a == "--only" && k + 1 < argc) only = upper(argv[++k]);
        else if (a == "--text" && k + 1 < argc) {
            std::string pair = argv[++k];
            const std::size_t eq = pair.find('=');
            if (eq == std::string::npos) return usage();
            texts.emplace_back(pair.substr(0, eq), pair.substr(eq + 1));
        }
        else return usage();
    }
    if (source.empty() && png_dir.empty()) return usage();
    init_operator_table();

    art::ArtList list;
    art::draw_faces(list);
    art::draw_tool_pictures(list);
    art::draw_legends(list);

    std::set<std::string> seen;
    bool ok = true;
    for (const art::Artwork& a : list) {
        if (!seen.insert(upper(a.name)).second) {
            std::fprintf(stderr, "quorix_artgen: %s is drawn twice\n", a.name.c_str());
            ok = false;
        }
        if (a.image.empty()) {
            std::fprintf(stderr, "quorix_artgen: %s is empty\n", a.name.c_str());
            ok = false;
        }
        if (a.kind == art::Kind::Picture && a.image.width() > 240) {
            std::fprintf(stderr, "quorix_artgen: %s is wider than 240\n", a.name.c_str());
            ok = false;
        }
    }
    if (!ok) return 1;

    if (!png_dir.empty()) {
        for (const art::Artwork& a : list) {
            if (!only.empty() && upper(a.name).find(only) == std::string::npos) continue;
            std::string error;
            if (!write_png(a.image, png_dir + "/" + a.name + ".png", scale, &error)) {
                std::fprintf(stderr, "quorix_artgen: %s\n", error.c_str());
                return 1;
            }
        }
    }
    if (!source.empty()) {
        std::string error;
        std::vector<art::TextResource> text_resources;
        for (const auto& [name, file] : texts) {
            art::TextResource t{name, {}};
            if (!read_file(file, t.bytes, 16u << 20, &error)) {
                std::fprintf(stderr, "quorix_artgen: %s\n", error.c_str());
                return 1;
            }
            text_resources.push_back(std::move(t));
        }
        if (!art::write_resource_source(list, text_resources, source, &error)) {
            std::fprintf(stderr, "quorix_artgen: %s\n", error.c_str());
            return 1;
        }
    }
    return 0;
}

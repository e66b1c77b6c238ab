// Pictures, legends and faces as PNG files or in a window:
//   quorix --render NAME FILE.png [--scale N] [--brightness N]
//   quorix --render-all DIR [--scale N] [--brightness N]
//   quorix --face NAME FILE.png [--scale N]     (comp base stats prog plot plot3d
//                                                matrix list periodic alpha)
//   quorix --show NAME [--scale N]               the face in a real window
//   quorix --compare A.png B.png                 exit 0 when the two pictures are equal
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/errors.h"
#include "engine/hooks.h"
#include "panel/commands.h"
#include "panel/face_preview.h"
#include "panel/images.h"
#include "panel/resources.h"
#include "platform/png.h"
#include "platform/window_sdl.h"

using namespace qx;

namespace {

// Problems with a picture are reported on standard error instead of a box.
int report_box(const char* text, const char* title, int) {
    std::fprintf(stderr, "quorix: %s: %s\n", title, text);
    return 1;
}

bool render_one(const ResourceEntry& entry, Surface& out, int brightness) {
    if (entry.kind == RES_LEGEND) return decode_bmp(entry.data, entry.size, out);
    int width = 0, height = 0;
    if (!gif_size(entry.data, entry.size, &width, &height)) return false;
    out = Surface(width, height);
    return decode_gif(out, entry.data, entry.size, 0, 0, false, brightness) == PIC_OK;
}

int render_usage() {
    std::fprintf(stderr,
                 "usage: quorix --render NAME FILE.png [--scale N] [--brightness N]\n"
                 "       quorix --render-all DIR [--scale N] [--brightness N]\n"
                 "       quorix --face NAME FILE.png [--scale N]\n"
                 "       quorix --show NAME [--scale N]\n"
                 "       quorix --compare A.png B.png\n"
                 "faces:");
    for (const char* const* n = face_names(); *n; ++n) std::fprintf(stderr, " %s", *n);
    std::fprintf(stderr, "\n");
    return 2;
}

bool save(const Surface& s, const std::string& path, int scale) {
    std::string error;
    if (write_png(s, path, scale, &error)) return true;
    std::fprintf(stderr, "quorix: %s\n", error.c_str());
    return false;
}

int show_face(const std::string& name, int scale) {
    Surface screen;
    if (!compose_named_face(name, screen)) return render_usage();
    std::string error;
    auto window = create_sdl_window("Quorix", scale, &error);
    if (!window) {
        std::fprintf(stderr, "quorix: cannot open a window: %s\n", error.c_str());
        return 1;
    }
    window->present(screen);
    for (;;) {
        Event e;
        while (window->poll_event(e)) {
            if (e.type == EventType::Quit) return 0;
            if (e.type == EventType::Expose) window->present(screen);
        }
        window->sleep_ms(20);
    }
}

int compare_pictures(const std::string& a, const std::string& b) {
    Surface first, second;
    std::string error;
    if (!read_png(a, first, &error) || !read_png(b, second, &error)) {
        std::fprintf(stderr, "quorix: %s\n", error.c_str());
        return 2;
    }
    if (first.width() != second.width() || first.height() != second.height()) {
        std::printf("the pictures differ in size: %dx%d and %dx%d\n", first.width(),
                    first.height(), second.width(), second.height());
        return 1;
    }
    int differing = 0, first_x = -1, first_y = -1;
    for (int y = 0; y < first.height(); ++y)
        for (int x = 0; x < first.width(); ++x)
            if (first.get(x, y) != second.get(x, y) && differing++ == 0) {
                first_x = x;
                first_y = y;
            }
    if (differing == 0) return 0;
    std::printf("%d pixels differ, the first at %d,%d\n", differing, first_x, first_y);
    return 1;
}

}  // namespace

int render_main(int argc, char** argv) {
    g_hooks.message_box = report_box;
    std::string command = argc > 1 ? argv[1] : "";
    std::string args[2];
    int positional = 0, scale = 1, brightness = BRIGHTNESS_NEUTRAL;
    for (int k = 2; k < argc; ++k) {
        std::string a = argv[k];
        if ((a == "--scale" || a == "--brightness") && k + 1 < argc) {
            int v = std::atoi(argv[++k]);
            if (a == "--scale") scale = v;
            else brightness = v;
        } else if (positional < 2) {
            args[positional++] = a;
        } else {
            return render_usage();
        }
    }
    if (scale < 1 || scale > 8) return render_usage();
    if (command == "--render" && positional == 2) {
        const ResourceEntry* entry = find_resource(args[0].c_str(), RES_PICTURE);
        if (!entry) entry = find_resource(args[0].c_str(), RES_LEGEND);
        if (!entry) {
            std::fprintf(stderr, "quorix: no picture or legend named %s\n", args[0].c_str());
            return 1;
        }
        Surface out;
        if (!render_one(*entry, out, brightness)) {
            std::fprintf(stderr, "quorix: %s cannot be drawn\n", args[0].c_str());
            return 1;
        }
        return save(out, args[1], scale) ? 0 : 1;
    }
    if (command == "--render-all" && positional == 1) {
        int failures = 0;
        for (int k = 0; k < g_resource_count; ++k) {
            const ResourceEntry& entry = g_resource_table[k];
            if (entry.kind == RES_TEXT) continue;
            Surface out;
            std::string path = args[0] + "/" + entry.name + (entry.kind == RES_LEGEND ? ".legend" : "") + ".png";
            if (!render_one(entry, out, brightness) || !save(out, path, scale)) ++failures;
        }
        std::printf("pictures and legends written to %s\n",
                    args[0].c_str());
        return failures ? 1 : 0;
    }
    if (command == "--face" && positional == 2) {
        Surface screen;
        if (!compose_named_face(args[0], screen)) return render_usage();
        return save(screen, args[1], scale) ? 0 : 1;
    }
    if (command == "--show" && positional == 1) return show_face(args[0], scale == 1 ? 0 : scale);
    if (command == "--compare" && positional == 2) return compare_pictures(args[0], args[1]);
    return render_usage();
}

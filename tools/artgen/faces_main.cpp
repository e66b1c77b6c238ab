// The body and the three main faces (COMP, BASE-n, STATS).  The main faces
// are drawn over the body with transparency: everything that is not a key,
// a caption or the display bezel is left in the transparent key colour.
#include <iterator>

#include "tools/artgen/art.h"
#include "tools/artgen/keycap.h"

namespace qx::art {

namespace {

// One key of a main face: what its cap shows and the captions over it.
struct MainKey {
    int key;
    KeyStyle style;
    const char* legend;
    const char* blue;
    const char* orange;
};

const MainKey kCommonPad[] = {
    {23, KeyStyle::Digit, "7", "Math", nullptr},
    {24, KeyStyle::Digit, "8", nullptr, nullptr},
    {25, KeyStyle::Digit, "9", nullptr, nullptr},
    {26, KeyStyle::Operator, "\xAA+", nullptr, nullptr},
    {28, KeyStyle::Digit, "4", nullptr, nullptr},
    {29, KeyStyle::Digit, "5", nullptr, nullptr},
    {30, KeyStyle::Digit, "6", nullptr, nullptr},
    {31, KeyStyle::Operator, "\x87", nullptr, nullptr},
    {32, KeyStyle::Operator, "\x88", nullptr, nullptr},
    {33, KeyStyle::Digit, "1", nullptr, nullptr},
    {34, KeyStyle::Digit, "2", nullptr, nullptr},
    {35, KeyStyle::Digit, "3", nullptr, nullptr},
    {36, KeyStyle::Operator, "+", nullptr, nullptr},
    {37, KeyStyle::Operator, "\x89", nullptr, nullptr},
    {38, KeyStyle::Digit, "0", nullptr, nullptr},
    {39, KeyStyle::Digit, ".", nullptr, nullptr},
    {40, KeyStyle::Operator, "\x87" "10^x", nullptr, nullptr},
    {41, KeyStyle::Operator, "Ans", nullptr, nullptr},
    {42, KeyStyle::Equals, "=", nullptr, nullptr},
};

const MainKey kComp[] = {
    {3, KeyStyle::Function, "(", "{", nullptr},
    {4, KeyStyle::Function, ")", "}", nullptr},
    {5, KeyStyle::Function, "sin", "sin^{-1}", nullptr},
    {6, KeyStyle::Function, "cos", "cos^{-1}", nullptr},
    {7, KeyStyle::Function, "tan", "tan^{-1}", nullptr},
    {8, KeyStyle::Function, "x^{-1}", "Cnst", nullptr},
    {9, KeyStyle::Function, "x^2", "Conv", nullptr},
    {10, KeyStyle::Function, "RCL", "STO\x80", nullptr},
    {11, KeyStyle::Function, "ln", "e^x", nullptr},
    {12, KeyStyle::Function, "log", "10^x", nullptr},
    {13, KeyStyle::Function, "y^x", "^x\x85{y}", nullptr},
    {14, KeyStyle::Function, "\x85{}", "fmod", nullptr},
    {15, KeyStyle::Function, "^3\x85{}", "x^3", nullptr},
    {16, KeyStyle::Function, nullptr, "\x80" "DRG", nullptr},
    {17, KeyStyle::Function, "(\x89)", "\x9F", "e"},
    {18, KeyStyle::Function, "n!", "i", nullptr},
    {19, KeyStyle::Function, ",", "abs", nullptr},
    {20, KeyStyle::Function, "Del", "\x83", nullptr},
    {21, KeyStyle::Function, "\x81", nullptr, nullptr},
    {22, KeyStyle::Function, "\x82", nullptr, nullptr},
    {23, KeyStyle::Digit, "7", "Math", nullptr},
    {24, KeyStyle::Digit, "8", "\x84%", "%"},
    {25, KeyStyle::Digit, "9", "nCr", "nPr"},
    {26, KeyStyle::Operator, "\xAA+", "Plot", "x,t,\x97"},
    {27, KeyStyle::Clear, nullptr, "\xAA\x89", "M Clr"},
};

const MainKey kBase[] = {
    {3, KeyStyle::Function, "(", "{", nullptr},
    {4, KeyStyle::Function, ")", "}", nullptr},
    {5, KeyStyle::Function, "Not", "Mod", nullptr},
    {6, KeyStyle::Function, "And", "\x8A", nullptr},
    {7, KeyStyle::Function, "Or", "\x8B", nullptr},
    {8, KeyStyle::Function, "Xor", nullptr, nullptr},
    {9, KeyStyle::Function, "Xnor", nullptr, nullptr},
    {10, KeyStyle::Function, "RCL", "STO\x80", nullptr},
    {11, KeyStyle::Digit, "A", nullptr, nullptr},
    {12, KeyStyle::Digit, "B", nullptr, nullptr},
    {13, KeyStyle::Digit, "C", nullptr, nullptr},
    {14, KeyStyle::Digit, "D", nullptr, nullptr},
    {15, KeyStyle::Digit, "E", nullptr, nullptr},
    {16, KeyStyle::Digit, "F", nullptr, nullptr},
    {17, KeyStyle::Function, "\x80" "d", nullptr, nullptr},
    {18, KeyStyle::Function, "\x80" "h", nullptr, nullptr},
    {19, KeyStyle::Function, "\x80" "b", "\x80o", nullptr},
    {20, KeyStyle::Function, "Del", "\x83", nullptr},
    {21, KeyStyle::Function, "\x81", nullptr, nullptr},
    {22, KeyStyle::Function, "\x82", nullptr, nullptr},
    {26, KeyStyle::Operator, "\xAA+", "\xAA\x89", nullptr},
    {27, KeyStyle::Clear, nullptr, "M Clr", nullptr},
    {39, KeyStyle::Digit, "", nullptr, nullptr},
    {40, KeyStyle::Operator, "Neg", nullptr, nullptr},
};

const MainKey kStats[] = {
    {2, KeyStyle::Function, "List", nullptr, nullptr},
    {3, KeyStyle::Function, "(", "{", nullptr},
    {4, KeyStyle::Function, ")", "}", nullptr},
    {5, KeyStyle::Function, "\xAAxy", nullptr, nullptr},
    {6, KeyStyle::Function, "\x01x_w", "\x01y_w", nullptr},
    {10, KeyStyle::Function, "RCL", "STO\x80", nullptr},
    {11, KeyStyle::Function, "\x01x", "\x01y", nullptr},
    {12, KeyStyle::Function, "\xAAx", "\xAAy", nullptr},
    {13, KeyStyle::Function, "\xAAx^2", "\xAAy^2", nullptr},
    {14, KeyStyle::Function, "x\xA1_n", "y\xA1_n", nullptr},
    {15, KeyStyle::Function, "x\xA1_{n-1}", "y\xA1_{n-1}", nullptr},
    {16, KeyStyle::Function, "n", "xMin", nullptr},
    {17, KeyStyle::Function, "(\x89)", "xMax", nullptr},
    {18, KeyStyle::Function, "\xAA\x89", "yMin", nullptr},
    {19, KeyStyle::Function, "Clr \xAA", "yMax", nullptr},
    {20, KeyStyle::Function, "Del", "\x83", nullptr},
    {21, KeyStyle::Function, "\x81", nullptr, nullptr},
    {22, KeyStyle::Function, "\x82", nullptr, nullptr},
    {23, KeyStyle::Digit, "7", "Summary", nullptr},
    {24, KeyStyle::Digit, "8", "Stats Plot", nullptr},
    {27, KeyStyle::Clear, nullptr, "M Clr", nullptr},
};

const MainKey* find(const MainKey* table, int count, int key) {
    for (int k = 0; k < count; ++k)
        if (table[k].key == key) return &table[k];
    return nullptr;
}

void draw_main_key(Surface& s, const MainKey& k) {
    const Box b = key_box(FACE_MAIN, k.key);
    if (b.top == key_box(FACE_MAIN, MAIN_RUN).top && k.blue) {
        // The first row has no room above it, so its second function is
        // written small and blue on the key itself, beside the legend.
        const Box f = draw_key(s, b, k.style);
        const int w = legend_width(Type::Legend, k.blue);
        const Box left{f.left, f.top, f.right - w - 4, f.bottom};
        centre_legend(s, left, Type::Legend, k.legend, key_colours(k.style).text);
        draw_legend(s, Type::Legend, k.blue, f.right - w - 3, f.top + (f.height() - 7) / 2,
                    palette::shift_blue);
        return;
    }
    if (k.key >= 23) {
        if (k.style == KeyStyle::Clear) ac_key(s, b, false);
        else pad_key(s, b, k.style, k.legend ? k.legend : "");
    } else if (k.style == KeyStyle::Digit) {
        // Hexadecimal figures share the number pad's heavy letters.
        legend_key(s, b, k.style, k.legend, Type::Bold);
    } else {
        legend_key(s, b, k.style, k.legend);
    }
    draw_captions(s, b, k.blue, k.orange);
}

enum class MainMode { Comp, Base, Stats };

// The main face of one mode.  Keys whose picture is drawn at run time still
// get a plausible resting picture, so the face never shows a gap.
Surface main_face(MainMode mode) {
    Surface s(SCREEN_W, SCREEN_H, COLOUR_TRANSPARENT_KEY);
    draw_bezel(s, Box{7, 6, 233, 47}, 3, 3, 3);
    draw_mode_buttons(s, FACE_MAIN, MAIN_MODE_FIRST, -1);

    const MainKey* table = mode == MainMode::Comp   ? kComp
                           : mode == MainMode::Base ? kBase
                                                    : kStats;
    const int count = mode == MainMode::Comp   ? static_cast<int>(std::size(kComp))
                      : mode == MainMode::Base ? static_cast<int>(std::size(kBase))
                                               : static_cast<int>(std::size(kStats));

    run_key(s, key_box(FACE_MAIN, MAIN_RUN), false);
    for (int key = 0; key <= 42; ++key) {
        const Box b = key_box(FACE_MAIN, key);
        if (const MainKey* k = find(table, count, key)) {
            draw_main_key(s, *k);
            continue;
        }
        // Keys this mode does not list: the shared number pad, the shift
        // keys and the indicators.
        if (key == 0) {
            shift_key(s, b, mode == MainMode::Comp ? Shift::Orange : Shift::Blue, false);
        } else if (key == 1) {
            if (mode == MainMode::Comp) shift_key(s, b, Shift::Blue, false);
            else indicator_key(s, b, mode == MainMode::Base ? "DEC" : "1-VAR", false);
        } else if (key == 2) {
            if (mode == MainMode::Comp) shift_key(s, b, Shift::Hyp, false);
            else indicator_key(s, b, "16 bit", false);
        } else if (mode == MainMode::Stats && (key == 7 || key == 8)) {
            // Holes: the light key is drawn under the face at run time; the
            // face adds only the legend and the caption.
            const Box f = face_area(b, KeyStyle::Light);
            centre_legend(s, f, Type::Legend, key == 7 ? "\x02x" : "\x02y",
                          palette::key_text_dark, false, 1);
            draw_captions(s, b, key == 7 ? "a" : "b", nullptr);
        } else if (mode == MainMode::Stats && key == 9) {
            indicator_key(s, b, "LIN", true);
            draw_captions(s, b, "r", nullptr);
        } else if (mode == MainMode::Base && (key == 8 || key == 9)) {
            legend_key(s, b, KeyStyle::Function, key == 8 ? "Xor" : "Xnor");
        } else if (key >= 23) {
            if (key == 27) {
                ac_key(s, b, false);
            } else if (const MainKey* p =
                           find(kCommonPad, static_cast<int>(std::size(kCommonPad)), key)) {
                draw_main_key(s, *p);
            }
        }
    }
    if (mode == MainMode::Comp) indicator_key(s, key_box(FACE_MAIN, 16), "RAD", false);
    return s;
}

}  // namespace

void draw_main_faces(ArtList& out) {
    Surface body(SCREEN_W, SCREEN_H);
    draw_body(body, true);
    out.push_back({"BACKGROUND_GIF", Kind::Picture, body});
    out.push_back({"CALCULATOR_GIF", Kind::Picture, main_face(MainMode::Comp)});
    out.push_back({"BASE_CALCULATOR_GIF", Kind::Picture, main_face(MainMode::Base)});
    out.push_back({"STAT_CALCULATOR_GIF", Kind::Picture, main_face(MainMode::Stats)});
}

}  // namespace qx::art

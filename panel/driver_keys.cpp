#include "panel/driver_keys.h"

#include "engine/settings.h"

namespace qx {

namespace {

struct KeyRow { int key; TokenCode plain, blue, orange; };

// Main face in COMP mode (0 = no token in that shift).
const KeyRow kCompKeys[] = {
    {3, 3, 203, 0}, {4, 4, 204, 0}, {5, 5, 105, 0}, {6, 6, 106, 0}, {7, 7, 107, 0},
    {8, 8, 0, 0}, {9, 9, 0, 0}, {11, 11, 111, 0}, {12, 12, 112, 0}, {13, 13, 113, 0},
    {14, 14, 114, 0}, {15, 15, 115, 0}, {17, 17, 117, 217}, {18, 18, 120, 0}, {19, 20, 19, 0},
    {23, 23, 0, 0}, {24, 24, 173, 123}, {25, 25, 175, 125},
};

// Keys whose meaning differs on the BASE-n face.
const KeyRow kBaseKeys[] = {
    {5, 505, 605, 0}, {6, 506, 606, 0}, {7, 507, 607, 0}, {8, 508, 508, 0}, {9, 509, 509, 0},
    {11, 511, 511, 0}, {12, 512, 512, 0}, {13, 513, 513, 0}, {14, 514, 514, 0},
    {15, 515, 515, 0}, {16, 516, 516, 0}, {17, 517, 517, 0}, {18, 518, 518, 0},
    {19, 519, 619, 0},
};

const KeyRow* find(const KeyRow* rows, int n, int key) {
    for (int k = 0; k < n; ++k)
        if (rows[k].key == key) return &rows[k];
    return nullptr;
}

}  // namespace

DriverKeyResult decode_driver_key(DriverKeyState& s, int key, TokenCode& token) {
    const bool base = g_settings.calculator_mode == MODE_BASE_N;
    DriverKeyResult result = KEY_NONE;
    if (key == 0 && !base) {
        s.orange = !s.orange;
        s.blue = false;
        return KEY_SHIFT;
    }
    if ((key == 1 && !base) || (key == 0 && base)) {
        s.blue = !s.blue;
        s.orange = false;
        return KEY_SHIFT;
    }
    if (key == 2 && !base) {
        s.hyp = !s.hyp;
        return KEY_SHIFT;
    }
    if (key == 42) result = KEY_EVALUATE;
    else if (key == 27) result = KEY_CLEAR;
    else if (key == 20 && !s.blue) result = KEY_DELETE;
    else if (key >= 28 && key <= 41) {
        token = key;
        result = KEY_TOKEN;
    } else if (key == 16 && !base) {
        if (s.blue) {
            const TokenCode marks[] = {116, 16, 216};
            token = marks[g_settings.angle_unit % 3];
            result = KEY_TOKEN;
        } else {
            g_settings.angle_unit = g_settings.angle_unit == ANGLE_DEG   ? ANGLE_RAD
                                    : g_settings.angle_unit == ANGLE_RAD ? ANGLE_GRAD
                                                                         : ANGLE_DEG;
        }
    } else {
        const KeyRow* row = base ? find(kBaseKeys, sizeof kBaseKeys / sizeof kBaseKeys[0], key)
                                 : nullptr;
        if (!row) row = find(kCompKeys, sizeof kCompKeys / sizeof kCompKeys[0], key);
        if (row) {
            TokenCode t = s.orange && row->orange ? row->orange
                          : s.blue && row->blue   ? row->blue
                                                  : row->plain;
            if (!base && s.hyp && key >= 5 && key <= 7) t = (s.blue ? 305 : 205) + (key - 5);
            if (t) {
                token = t;
                result = KEY_TOKEN;
            }
        }
    }
    if (key >= 5 && key <= 7) s.hyp = false;
    s.blue = s.orange = false;
    return result;
}

}  // namespace qx

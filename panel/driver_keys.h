// Key numbers of the main face turned into token codes, for the headless
// driver until the full key decoder exists.
#pragma once
#include "engine/tokens.h"

namespace qx {

enum DriverKeyResult { KEY_TOKEN, KEY_SHIFT, KEY_EVALUATE, KEY_CLEAR, KEY_DELETE, KEY_NONE };

struct DriverKeyState {
    bool blue = false, orange = false, hyp = false;
};

// Returns what the key does; for KEY_TOKEN the code is stored in `token`.
DriverKeyResult decode_driver_key(DriverKeyState& state, int key, TokenCode& token);

}  // namespace qx

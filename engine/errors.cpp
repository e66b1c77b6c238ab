#include "engine/errors.h"

#include <cstdio>
#include <cstring>

#include "engine/hooks.h"
#include "engine/settings.h"

namespace qx {

ErrorRecord g_error{};

namespace {

const char* const kCodeTexts[] = {
    "Overflow", "Overflow", "Division by Zero", "Math Error", "Domain Error",
    "Invalid Syntax", "No Data", "No y Data", "Memory Limit Error", "Unexpected Error",
    "Code Error", "Matrix Size Mismatch", "Matrix Not Square", "Matrix Size Error",
    "Matrix is Singular", "Matrix Size Not Defined", "Data Type Error", "Matrix Index Range",
    "Function Argument Count", "Function Argument Type", "Matrix Not Positive Def.",
    "Matrix Not Symmetric", "List Size Not Defined", "List Index Range", "List Size Error",
    "Operation Canceled", "Can't Nest fnInt()", "Parenthesis Level Exceeded",
    "Parenthesis Unbalanced", "No Root Found", "No Intersection Found", "toHMS not Last",
    "Function Nest Limit",
};
constexpr int kCodeCount = sizeof(kCodeTexts) / sizeof(kCodeTexts[0]);

int g_cancel_calls = 0;

// Texts longer than the field are cut rather than refused: the detail is
// informational and must never be lost to an oversized procedure name.
void copy_cut(char* dest, const char* source) {
    std::snprintf(dest, TEXT_SIZE, "%s", source ? source : "");
}

}  // namespace

const char* error_code_text(int code) {
    if (code < 0 || code >= kCodeCount) return "Unknown Error";
    return kCodeTexts[code];
}

int raise_error(int code, const char* message, const char* function) {
    if (!g_error.pending) {
        g_error.code = code;
        // Plotting raises many errors per redraw, so it skips formatting the
        // detail; the user text always follows the code it belongs to.
        if (g_settings.calculator_mode != MODE_PLOT)
            std::snprintf(g_error.detail, TEXT_SIZE, "%s, %s", message ? message : "",
                          function ? function : "");
        copy_cut(g_error.user_text, error_code_text(code));
        g_error.display_flag[0] = false;
        g_error.display_flag[1] = false;
    }
    g_error.pending = true;
    return 1;
}

bool error_pending() { return g_error.pending; }
int error_code() { return g_error.code; }
const char* error_text() { return g_error.user_text; }
const char* error_detail() { return g_error.detail; }
void clear_error() { g_error.pending = false; }

bool cancel_check() {
    ++g_cancel_calls;
    if (g_cancel_calls <= 10) {
        if (g_hooks.poll_key_tap && g_hooks.poll_key_tap()) {
            raise_error(ERR_CANCELED, "Operation Canceled", "cancel_check");
            return true;
        }
        return false;
    }
    g_cancel_calls = 0;
    if (g_hooks.poll_cancel_mode && g_hooks.poll_cancel_mode()) {
        raise_error(ERR_CANCELED, "Operation Canceled", "cancel_check");
        return true;
    }
    return false;
}

void reset_cancel_check() { g_cancel_calls = 0; }

bool copy_bounded(char* dest, const char* source, std::size_t size) {
    std::size_t len = std::strlen(source);
    if (size > len) {
        std::memcpy(dest, source, len + 1);
        return true;
    }
    if (size > 0) dest[0] = '\0';
    char text[TEXT_SIZE];
    std::snprintf(text, sizeof text, "Dest length is shorter than source length (%d <= %d)",
                  static_cast<int>(size), static_cast<int>(len));
    warning_box(text, "strcpy problem");
    return false;
}

bool append_bounded(char* dest, const char* source, std::size_t size) {
    if (size == 0) {
        warning_box("Dest length is shorter than source length (0 <= 0)", "strcat problem");
        return false;
    }
    std::size_t have = strnlen(dest, size);
    std::size_t add = std::strlen(source);
    if (have < size && size > have + add) {
        std::memcpy(dest + have, source, add + 1);
        return true;
    }
    dest[0] = '\0';
    char text[TEXT_SIZE];
    std::snprintf(text, sizeof text, "Dest length is shorter than source length (%d <= %d)",
                  static_cast<int>(size), static_cast<int>(have + add));
    warning_box(text, "strcat problem");
    return false;
}

int message_box(const char* text, const char* title, int style) {
    if (!g_hooks.message_box) return 0;  // no owner window: nothing is shown
    return g_hooks.message_box(text, title, style);
}

int warning_box(const char* text, const char* title) {
    message_box(text, title, MB_STYLE_EXCLAMATION);
    return 0;
}

}  // namespace qx

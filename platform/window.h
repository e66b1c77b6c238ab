// The window the calculator lives in, behind one interface with two
// backends: a real SDL2 window, and a headless one driven by a script with a
// virtual clock.  Events are polled without waiting; the surface handed to
// present() is the whole 240 x 320 client area.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/surface.h"

namespace qx {

constexpr int SCREEN_WIDTH = 240;
constexpr int SCREEN_HEIGHT = 320;

enum class EventType {
    None, Quit, StylusDown, StylusMove, StylusUp, KeyDown, Text, Expose, Activate, Deactivate,
};

// Keys the calculator reacts to besides typed text.
enum KeyCode {
    KEY_NONE = 0, KEY_RETURN, KEY_BACKSPACE, KEY_DELETE, KEY_ESCAPE, KEY_LEFT, KEY_RIGHT,
    KEY_UP, KEY_DOWN, KEY_HOME, KEY_END, KEY_TAB, KEY_PAGE_UP, KEY_PAGE_DOWN, KEY_SPACE,
    KEY_F1, KEY_F12, KEY_LETTER_C, KEY_LETTER_V, KEY_OTHER,
};
constexpr int MOD_SHIFT = 1;
constexpr int MOD_CTRL = 2;

struct Event {
    EventType type = EventType::None;
    int x = 0, y = 0;      // client pixels for stylus events
    int key = KEY_NONE;    // KeyDown
    int mods = 0;          // KeyDown
    char text[8] = {};     // Text: one character of the display font's code page
};

// The answer a script queues for the next message box or dialog.
struct ScriptedAnswer {
    ScriptedAnswer() = default;
    ScriptedAnswer(std::string button_text,
                   std::vector<std::pair<std::string, std::string>> field_values = {})
        : button(std::move(button_text)), fields(std::move(field_values)) {}

    std::string button;                                        // button text or id name
    std::vector<std::pair<std::string, std::string>> fields;   // control label -> value
    // How long the user waits, on the window's clock, before giving this
    // answer; the dialog's idle work (timers) runs once the time has passed.
    std::uint32_t wait_ms = 0;
    // Shown the screen with the dialog as the fields left it, just before
    // the button is pressed (scripts take pictures of dialogs with it).
    std::function<void(const Surface&)> on_shown;
};

class Window {
public:
    virtual ~Window() = default;

    virtual bool poll_event(Event& event) = 0;        // false when none is waiting
    virtual void present(const Surface& frame) = 0;   // show the client area
    virtual void set_title(const std::string& title) = 0;
    virtual std::string title() const = 0;
    virtual void capture_stylus(bool on) = 0;
    virtual void raise() {}

    // Clock: milliseconds since an arbitrary start, monotonic; the wall clock
    // in seconds since the epoch; a sleep (virtual in the headless backend).
    virtual std::uint32_t ticks_ms() = 0;
    virtual std::int64_t wall_seconds() = 0;
    virtual void sleep_ms(int ms) = 0;

    // Headless: dialogs and boxes take their answer from the script instead
    // of running an event loop, and every box and dialog is logged.
    virtual bool scripted() const { return false; }
    virtual bool next_answer(ScriptedAnswer& /*answer*/) { return false; }
    virtual void log_line(const std::string& /*line*/) {}

    virtual void set_clipboard(const std::string& /*text*/) {}
    virtual std::string clipboard() { return {}; }
};

}  // namespace qx

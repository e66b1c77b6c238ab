// "Select Sample Plot": one picture with the six samples in a grid of two
// columns.  Lifting the stylus anywhere closes it, on a sample with that
// sample and elsewhere with none, so a tap between the pictures is the
// quickest way out on a screen without an Escape key.
#include "dialogs/sample_chooser.h"

#include <cctype>
#include <string>

#include "panel/dialog_layout.h"
#include "panel/images.h"
#include "panel/ui.h"
#include "persist/state.h"
#include "platform/widgets.h"

namespace qx {

namespace {

using namespace dialog_layout;

constexpr int kPictureWidth = 204;
constexpr int kPictureHeight = 248;
constexpr int kPauseMs = 100;   // long enough to see the choice marked

// The samples' places in the picture, inclusive, in chooser order.
struct Place {
    int left, top, right, bottom;
};
constexpr Place kPlaces[SAMPLE_PLOT_COUNT] = {
    {5, 5, 100, 82},    {103, 5, 198, 82},   {5, 85, 100, 162},
    {103, 85, 198, 162}, {5, 165, 100, 242}, {103, 165, 198, 242},
};

std::string trimmed(const std::string& t) {
    const std::size_t first = t.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return t.substr(first, t.find_last_not_of(" \t") - first + 1);
}

int sample_named(const std::string& name) {
    const std::string wanted = script_name(name);
    for (int k = 0; k < SAMPLE_PLOT_COUNT; ++k)
        if (script_name(sample_plot_name(k)) == wanted) return k;
    return -1;
}

bool whole_number(const std::string& text, int& out) {
    const std::string t = trimmed(text);
    if (t.empty() || t.size() > 6) return false;
    std::size_t at = t[0] == '-' ? 1 : 0;
    if (at == t.size()) return false;
    int v = 0;
    for (; at < t.size(); ++at) {
        if (!std::isdigit(static_cast<unsigned char>(t[at]))) return false;
        v = v * 10 + (t[at] - '0');
    }
    out = t[0] == '-' ? -v : v;
    return true;
}

struct Chooser {
    int chosen = -1;
};

void paint_picture(const Chooser& c, Surface& s, const Rect& r) {
    draw_gif(s, "PLOT_SAMPLE_GIF", r.x, r.y, false, BRIGHTNESS_NEUTRAL);
    if (c.chosen < 0) return;
    const Place& p = kPlaces[c.chosen];
    for (int k = 0; k < 2; ++k)
        frame_rect(s, COLOUR_SELECTION, r.x + p.left + k, r.y + p.top + k, r.x + p.right - k, r.y + p.bottom - k);
}

// The answer a script gave: a sample by name, a tap point, or nothing.
int scripted_choice(Dialog& d, Chooser& c, Window& w, const Surface& under) {
    const std::string title = d.title();
    ScriptedAnswer a;
    const bool have = w.next_answer(a);
    w.present(d.render(under));
    if (have && a.on_shown) a.on_shown(d.frame());
    std::string name;
    bool named = false, has_x = false, has_y = false;
    int x = 0, y = 0;
    for (const auto& [field, value] : a.fields) {
        const std::string f = script_name(field);
        if (f == "sample") {
            name = value;
            named = true;
        } else if (f == "x" && whole_number(value, x)) {
            has_x = true;
        } else if (f == "y" && whole_number(value, y)) {
            has_y = true;
        } else {
            w.log_line("dialog " + title + ": no control \"" + field + "\"");
        }
    }
    if (have && !script_name(a.button).empty()) {
        const Button* b = d.find_button(a.button);
        if (b && b->id() == ID_CANCEL) {
            w.log_line("dialog " + title + " -> Cancel");
            return -1;
        }
    }
    int index = -1;
    if (named) {
        index = sample_named(name);
        if (index < 0) w.log_line("dialog " + title + ": no sample \"" + name + "\"");
    } else if (has_x && has_y) {
        // The tap goes through the dialog as a stylus would.
        const Rect client = d.client_rect();
        Event e;
        e.x = client.x + x;
        e.y = client.y + y;
        e.type = EventType::StylusDown;
        d.handle_event(e);
        e.type = EventType::StylusUp;
        d.handle_event(e);
        index = d.ended() && d.end_code() == ID_OK ? c.chosen : -1;
    }
    w.log_line("dialog " + title + " -> " + (index >= 0 ? sample_plot_name(index) : "(none)"));
    return index;
}

}  // namespace

int sample_at(int x, int y) {
    for (int k = 0; k < SAMPLE_PLOT_COUNT; ++k) {
        const Place& p = kPlaces[k];
        if (x >= p.left && x <= p.right && y >= p.top && y <= p.bottom) return k;
    }
    return -1;
}

int select_sample_plot_dialog() {
    Window* w = ui().window;
    if (!w) return -1;
    const int cancel_y = kPictureHeight + kMargin;
    Dialog d("Select Sample Plot", kPictureWidth, cancel_y + BUTTON_HEIGHT + kMargin);
    Chooser c;
    CustomArea& picture = d.add_custom(0, {0, 0, kPictureWidth, kPictureHeight}, "Picture");
    picture.on_paint([&c](Surface& s, const Rect& r) { paint_picture(c, s, r); });
    picture.on_stylus([&c, &picture, w](Dialog& dlg, EventType type, int x, int y) {
        if (type != EventType::StylusUp || dlg.ended()) return;
        c.chosen = sample_at(x, y);
        if (c.chosen >= 0) {
            picture.redraw();
            w->present(dlg.render(ui().screen));
        }
        w->sleep_ms(kPauseMs);
        dlg.end(c.chosen >= 0 ? ID_OK : ID_CANCEL);
    });
    d.add_button(ID_CANCEL, {(kPictureWidth - kButtonWidth) / 2, cancel_y, kButtonWidth, BUTTON_HEIGHT}, "Cancel");

    if (!w->scripted()) return run_dialog(d) == ID_OK ? c.chosen : -1;
    const int index = scripted_choice(d, c, *w, ui().screen);
    present_screen();
    return index;
}

}  // namespace qx

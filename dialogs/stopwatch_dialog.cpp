// "Stopwatch".  The reading comes from the window's millisecond clock, so
// the headless calculator's virtual clock drives it exactly like real time.
// The elapsed time is drawn in the display's own digits, large enough to
// read at a glance; it is repainted only when the hundredths shown change.
#include "dialogs/stopwatch_dialog.h"

#include <string>

#include "panel/dialog_layout.h"
#include "panel/ui.h"
#include "platform/font.h"
#include "platform/widgets.h"
#include "tools/stopwatch.h"

namespace qx {

namespace {

using namespace dialog_layout;

constexpr int kStartLap = 0;
constexpr int kStopReset = 3;
constexpr int kElapsed = 1121;
constexpr int kLaps = 1122;
constexpr std::uint32_t kTimerMs = 95;

std::uint32_t hundredths(const Dialog& d) { return d.now() / 10; }

}  // namespace

void stopwatch_dialog() {
    constexpr int width = 180;
    const int inner = width - 2 * kMargin;
    const int lh = label_height();
    const int field_h = font_height(FONT_DISPLAY) + 8;
    const int field_y = kMargin + lh;
    const int buttons_y = field_y + field_h + kGap + 2;
    const int half = (inner - kGap) / 2;
    const int list_y = buttons_y + BUTTON_HEIGHT + kGap + 2;
    const int list_h = 7 * LIST_ROW_HEIGHT + 4;
    const int note_y = list_y + list_h + kGap;
    const int exit_y = note_y + 2 * lh + kGap;

    Dialog d("Stopwatch", width, exit_y + BUTTON_HEIGHT + kMargin);
    d.add_static(0, {kMargin, kMargin, inner, lh}, "Elapsed Time:");
    CustomArea& field = d.add_custom(kElapsed, {kMargin, field_y, inner, field_h}, "Elapsed Time");
    field.on_paint([&field](Surface& s, const Rect& r) {
        fill_rect(s, COLOUR_FIELD, r.x, r.y, r.right(), r.bottom());
        frame_rect(s, COLOUR_FIELD_FRAME, r.x, r.y, r.right(), r.bottom());
        const std::string& t = field.text();
        const int x = r.x + (r.w - text_width(FONT_DISPLAY, t.c_str())) / 2;
        draw_text(s, FONT_DISPLAY, t.c_str(), x, r.y + 4, COLOUR_TEXT);
    });
    d.add_button(kStartLap, {kMargin, buttons_y, half, BUTTON_HEIGHT}, "Start/Lap", true);
    d.add_button(kStopReset, {kMargin + half + kGap, buttons_y, inner - half - kGap, BUTTON_HEIGHT},
                 "Stop/Reset");
    ListView& laps = d.add_list_view(kLaps, {kMargin, list_y, inner, list_h},
                                     {{"Lap", 30, Align::Right}, {"Time", 90, Align::Right}}, "Laps");
    d.add_static(0, {kMargin, note_y, inner, 2 * lh}, "Note: Power must remain on\nfor correct timing.",
                 Align::Centre, true);
    d.add_button(ID_OK, {(width - kButtonWidth) / 2, exit_y, kButtonWidth, BUTTON_HEIGHT}, "Exit");
    d.set_cancel_id(ID_OK);
    // The close command of the window ends it as Exit does.
    d.set_auto_end(ID_CANCEL, true);

    Stopwatch watch;
    std::uint32_t last_tick_ms = 0;
    d.on_init([&](Dialog& dlg) {
        watch.open(hundredths(dlg));
        last_tick_ms = dlg.now();
    });
    d.on_idle([&](Dialog& dlg) {
        if (dlg.now() - last_tick_ms < kTimerMs) return;
        last_tick_ms = dlg.now();
        std::uint32_t elapsed = 0;
        if (watch.tick(hundredths(dlg), &elapsed)) field.set_text(format_elapsed(elapsed));
    });
    d.on_notify([&](Dialog& dlg, int id, Notify what) {
        if (what != Notify::Clicked) return;
        if (id == kStartLap) {
            std::uint32_t lap = 0;
            const int row = watch.lap_count;
            if (watch.start_or_lap(hundredths(dlg), &lap)) {
                laps.add_row({std::to_string(row + 1), format_elapsed(lap)});
                laps.select(row);
            }
        } else if (id == kStopReset) {
            if (watch.stop_or_reset(hundredths(dlg))) {
                laps.clear();
                // A reset shows zero at once rather than at the next tick.
                std::uint32_t elapsed = 0;
                if (watch.tick(hundredths(dlg), &elapsed)) field.set_text(format_elapsed(elapsed));
            }
        }
    });
    run_dialog(d);
}

}  // namespace qx

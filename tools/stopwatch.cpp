#include "tools/stopwatch.h"

#include <cstdio>

namespace qx {

void Stopwatch::open(std::uint32_t now) {
    reading = lap_start = start_time = now;
    running = false;
    fresh = true;
    lap_count = 0;
    paused_total = 0;
    lap_paused = 0;
    last_shown = -1;
}

bool Stopwatch::start_or_lap(std::uint32_t now, std::uint32_t* lap_time) {
    if (!running) {
        if (fresh) {
            fresh = false;
            reading = lap_start = start_time = now;
        } else {
            // Resuming: the time spent stopped counts neither in the total
            // nor in the lap that was interrupted.
            paused_total += now - reading;
            lap_paused += now - reading;
        }
        running = true;
        return false;
    }
    *lap_time = now - lap_paused - lap_start;
    lap_start = now;
    ++lap_count;
    lap_paused = 0;
    return true;
}

bool Stopwatch::stop_or_reset(std::uint32_t now) {
    if (running) {
        reading = now;
        running = false;
        return false;
    }
    open(now);
    return true;
}

bool Stopwatch::tick(std::uint32_t now, std::uint32_t* elapsed) {
    if (running) reading = now;
    // Unsigned arithmetic keeps the difference right across a wrap of the
    // tick count, as long as less than the whole range has passed.
    const std::uint32_t e = reading - paused_total - start_time;
    if (static_cast<std::int32_t>(e) == last_shown && last_shown >= 0) return false;
    last_shown = static_cast<std::int32_t>(e);
    *elapsed = e;
    return true;
}

std::string format_elapsed(std::uint32_t c) {
    const std::uint32_t h = c / 360000;
    if (h > 99) return "--:--:--.--";
    const std::uint32_t m = (c - h * 360000) / 6000;
    const std::uint32_t r = c - h * 360000 - m * 6000;
    const std::uint32_t s = r / 100;
    const std::uint32_t u = r - s * 100;
    char text[48];
    if (h != 0)
        std::snprintf(text, sizeof text, "%02u:%02u:%02u.%02u", static_cast<unsigned>(h),
                      static_cast<unsigned>(m), static_cast<unsigned>(s), static_cast<unsigned>(u));
    else
        std::snprintf(text, sizeof text, "%02u:%02u.%02u", static_cast<unsigned>(m),
                      static_cast<unsigned>(s), static_cast<unsigned>(u));
    return text;
}

}  // namespace qx

// The stopwatch: elapsed and lap times in hundredths of a second from a
// millisecond tick count.  Logic only; the dialog feeds it the clock.
#pragma once
#include <cstdint>
#include <string>

namespace qx {

struct Stopwatch {
    bool running = false;
    bool fresh = true;
    std::uint32_t start_time = 0;
    std::uint32_t reading = 0;
    std::uint32_t paused_total = 0;
    std::uint32_t lap_start = 0;
    std::uint32_t lap_paused = 0;
    std::int32_t lap_count = 0;
    std::int32_t last_shown = -1;

    // Times are "now": the tick count in milliseconds divided by 10.
    void open(std::uint32_t now);
    // "Start/Lap": true when a lap was taken, its time in *lap_time.
    bool start_or_lap(std::uint32_t now, std::uint32_t* lap_time);
    // "Stop/Reset": true when it reset (the lap list is to be emptied).
    bool stop_or_reset(std::uint32_t now);
    // The timer: true when the shown text must change, the new value in *elapsed.
    bool tick(std::uint32_t now, std::uint32_t* elapsed);
};

// "mm:ss.hh", "hh:mm:ss.hh" from one hour, "--:--:--.--" from 100 hours.
std::string format_elapsed(std::uint32_t hundredths);

}  // namespace qx

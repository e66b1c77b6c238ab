#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "tools/stopwatch.h"

namespace qx {
namespace {

TEST(StopwatchFormat, Texts) {
    struct Case { std::uint32_t hundredths; const char* text; };
    const Case cases[] = {
        {0, "00:00.00"},
        {250, "00:02.50"},
        {5999, "00:59.99"},
        {6000, "01:00.00"},
        {359999, "59:59.99"},
        {360000, "01:00:00.00"},
        // 3 h 4 min 5.06 s = 1,080,000 + 24,000 + 506
        {1104506, "03:04:05.06"},
        {99u * 360000 + 359999, "99:59:59.99"},
        {100u * 360000, "--:--:--.--"},
        {0xFFFFFFFFu, "--:--:--.--"},
    };
    for (const Case& c : cases) EXPECT_EQ(format_elapsed(c.hundredths), c.text) << c.hundredths;
}

// The readings the display would show, driven step by step: each step is
// "advance the clock by ms, then do this".
enum Act { Tick, StartLap, StopReset };
struct Step { std::uint32_t advance_ms; Act act; };

TEST(Stopwatch, PauseIsNotCounted) {
    Stopwatch w;
    std::uint32_t ms = 1000000;
    w.open(ms / 10);
    std::uint32_t lap = 0, shown = 0;
    EXPECT_FALSE(w.start_or_lap(ms / 10, &lap));
    ms += 1500;
    EXPECT_FALSE(w.stop_or_reset(ms / 10));
    ms += 10000;
    EXPECT_FALSE(w.start_or_lap(ms / 10, &lap));
    ms += 1000;
    ASSERT_TRUE(w.tick(ms / 10, &shown));
    EXPECT_EQ(format_elapsed(shown), "00:02.50");
    // The same reading again is not shown again.
    EXPECT_FALSE(w.tick(ms / 10, &shown));
}

TEST(Stopwatch, LapsMeasureFromTheLastLap) {
    Stopwatch w;
    std::uint32_t now = 500;
    w.open(now);
    std::uint32_t lap = 0;
    w.start_or_lap(now, &lap);
    std::vector<std::uint32_t> laps;
    now += 300;
    ASSERT_TRUE(w.start_or_lap(now, &lap));
    laps.push_back(lap);
    // A pause inside the second lap is taken off that lap only.
    now += 50;
    w.stop_or_reset(now);
    now += 700;
    w.start_or_lap(now, &lap);
    now += 150;
    ASSERT_TRUE(w.start_or_lap(now, &lap));
    laps.push_back(lap);
    EXPECT_EQ(laps, (std::vector<std::uint32_t>{300, 200}));
    EXPECT_EQ(w.lap_count, 2);
    std::uint32_t shown = 0;
    ASSERT_TRUE(w.tick(now, &shown));
    EXPECT_EQ(shown, 500u);
}

TEST(Stopwatch, ResetStartsAfresh) {
    Stopwatch w;
    w.open(0);
    std::uint32_t lap = 0, shown = 0;
    w.start_or_lap(10, &lap);
    w.start_or_lap(20, &lap);
    w.stop_or_reset(30);
    EXPECT_TRUE(w.stop_or_reset(90));   // stopped: this one resets
    EXPECT_EQ(w.lap_count, 0);
    EXPECT_TRUE(w.fresh);
    ASSERT_TRUE(w.tick(400, &shown));
    EXPECT_EQ(shown, 0u);                // not running: nothing counts
    w.start_or_lap(400, &lap);
    ASSERT_TRUE(w.tick(450, &shown));
    EXPECT_EQ(shown, 50u);
}

TEST(Stopwatch, ReadingsAcrossTheTickCountWrap) {
    Stopwatch w;
    const std::uint32_t start = 0xFFFFFFFFu - 100;
    w.open(start);
    std::uint32_t lap = 0, shown = 0;
    w.start_or_lap(start, &lap);
    ASSERT_TRUE(w.tick(start + 300, &shown));   // wraps past zero
    EXPECT_EQ(shown, 300u);
}

}  // namespace
}  // namespace qx

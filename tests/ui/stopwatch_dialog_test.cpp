// "Stopwatch" on the headless window's virtual clock: each answer waits a
// given time before pressing its button, as a user would.
#include "calculator_fixture.h"
#include "frame_text.h"

#include "dialogs/stopwatch_dialog.h"
#include "platform/font.h"
#include "platform/widgets.h"

namespace qx {
namespace {

class StopwatchDialog : public CalculatorFixture {
protected:
    // Press button after waiting ms; the last answer's frame is kept.
    void answer(const std::string& button, std::uint32_t wait_ms, bool picture = false) {
        ScriptedAnswer a{button};
        a.wait_ms = wait_ms;
        if (picture) a.on_shown = [this](const Surface& f) { shown = f; };
        window.push_answer(a);
    }
    Surface shown;
};

TEST_F(StopwatchDialog, PausedTimeIsNotCounted) {
    answer("Start/Lap", 0);
    answer("Stop/Reset", 1500);
    answer("Start/Lap", 10000);
    answer("Exit", 1000, true);
    stopwatch_dialog();
    EXPECT_TRUE(shows_text(shown, "00:02.50", TextLook{.font = FONT_DISPLAY}));
}

TEST_F(StopwatchDialog, LapsListTheirOwnTimes) {
    answer("Start/Lap", 0);
    answer("Start/Lap", 3000);
    answer("Start/Lap", 2000);
    answer("Exit", 0, true);
    stopwatch_dialog();
    EXPECT_TRUE(shows_text(shown, "00:03.00"));
    // The newest lap is selected.
    EXPECT_TRUE(shows_text(shown, "00:02.00", TextLook{.colour = COLOUR_SELECTION_TEXT}));
    EXPECT_TRUE(shows_text(shown, "00:05.00", TextLook{.font = FONT_DISPLAY}));
}

TEST_F(StopwatchDialog, ResetEmptiesTheLapsAndShowsZero) {
    answer("Start/Lap", 0);
    answer("Start/Lap", 4000);
    answer("Stop/Reset", 1000);
    answer("Stop/Reset", 500);
    answer("Exit", 300, true);
    stopwatch_dialog();
    EXPECT_TRUE(shows_text(shown, "00:00.00", TextLook{.font = FONT_DISPLAY}));
    EXPECT_FALSE(shows_text(shown, "00:04.00"));
}

TEST_F(StopwatchDialog, HoursAndBeyondNinetyNine) {
    std::vector<Surface> frames;
    auto keep = [&frames](const Surface& f) { frames.push_back(f); };
    answer("Start/Lap", 0);
    ScriptedAnswer stop{"Stop/Reset"};
    stop.wait_ms = ((3u * 60 + 4) * 60 + 5) * 1000 + 60;   // 3 h 4 min 5.06 s
    stop.on_shown = keep;
    window.push_answer(stop);
    answer("Start/Lap", 0);
    ScriptedAnswer exit{"Exit"};
    exit.wait_ms = 100u * 3600 * 1000;
    exit.on_shown = keep;
    window.push_answer(exit);
    stopwatch_dialog();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_TRUE(shows_text(frames[0], "03:04:05.06", TextLook{.font = FONT_DISPLAY}));
    EXPECT_TRUE(shows_text(frames[1], "--:--:--.--", TextLook{.font = FONT_DISPLAY}));
}

TEST_F(StopwatchDialog, NothingShownBeforeTheFirstTick) {
    answer("Exit", 0, true);
    stopwatch_dialog();
    EXPECT_FALSE(shows_text(shown, "00:00.00", TextLook{.font = FONT_DISPLAY}));
}

}  // namespace
}  // namespace qx

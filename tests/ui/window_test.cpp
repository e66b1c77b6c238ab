#include <gtest/gtest.h>

#include <vector>

#include "platform/desktop.h"
#include "platform/window_headless.h"

#include <stdlib.h>

namespace qx {
namespace {

TEST(HeadlessWindow, EventsComeInOrderAndTimeIsVirtual) {
    HeadlessWindow w;
    std::vector<std::string> log;
    w.set_logger([&](const std::string& line) { log.push_back(line); });
    Event e;
    EXPECT_FALSE(w.poll_event(e));
    Event down;
    down.type = EventType::StylusDown;
    down.x = 20;
    down.y = 80;
    Event text;
    text.type = EventType::Text;
    text.text[0] = '7';
    w.push_event(down);
    w.push_event(text);
    ASSERT_TRUE(w.poll_event(e));
    EXPECT_EQ(e.type, EventType::StylusDown);
    EXPECT_EQ(e.y, 80);
    ASSERT_TRUE(w.poll_event(e));
    EXPECT_EQ(e.text[0], '7');
    EXPECT_FALSE(w.poll_event(e));

    const std::uint32_t t0 = w.ticks_ms();
    const std::int64_t s0 = w.wall_seconds();
    w.sleep_ms(20);
    w.sleep_ms(-5);
    w.advance(1980);
    EXPECT_EQ(w.ticks_ms() - t0, 2000u);
    EXPECT_EQ(w.wall_seconds() - s0, 2);

    ScriptedAnswer a;
    EXPECT_FALSE(w.next_answer(a));
    w.push_answer({"OK", {{"Decimal Digits", "4"}}});
    ASSERT_TRUE(w.next_answer(a));
    EXPECT_EQ(a.button, "OK");
    EXPECT_EQ(a.fields.at(0).second, "4");
    EXPECT_TRUE(w.scripted());
    w.log_line("box Note: hello -> OK");
    EXPECT_EQ(log, std::vector<std::string>{"box Note: hello -> OK"});

    Surface frame(240, 320, rgb(1, 2, 3));
    w.present(frame);
    EXPECT_EQ(w.frame().get(100, 100), rgb(1, 2, 3));
    w.set_clipboard("1024");
    EXPECT_EQ(w.clipboard(), "1024");
}

TEST(SingleInstance, ASecondStartAsksTheFirstToComeForward) {
    char folder[] = "/tmp/quorix-instance-XXXXXX";
    ASSERT_NE(::mkdtemp(folder), nullptr);
    SingleInstance first;
    ASSERT_TRUE(first.acquire(folder));
    EXPECT_FALSE(first.raise_requested());
    {
        SingleInstance second;
        EXPECT_FALSE(second.acquire(folder));
    }
    EXPECT_TRUE(first.raise_requested());
    EXPECT_FALSE(first.raise_requested());
}

TEST(SingleInstance, AStaleSocketFromACrashIsTakenOver) {
    char folder[] = "/tmp/quorix-instance-XXXXXX";
    ASSERT_NE(::mkdtemp(folder), nullptr);
    {
        SingleInstance crashed;
        ASSERT_TRUE(crashed.acquire(folder));
    }
    // The socket file is gone with a clean end; leave a stale file instead.
    const std::string path = std::string(folder) + "/instance.sock";
    FILE* f = std::fopen(path.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    SingleInstance next;
    EXPECT_TRUE(next.acquire(folder));
}

}  // namespace
}  // namespace qx

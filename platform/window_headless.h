// The headless backend: no screen, input comes from a script, time is
// virtual (a sleep advances the clock at once), and every presented frame
// is kept so a script can save it as a picture.
#pragma once
#include <deque>
#include <functional>

#include "platform/window.h"

namespace qx {

class HeadlessWindow : public Window {
public:
    HeadlessWindow();

    bool poll_event(Event& event) override;
    void present(const Surface& frame) override;
    void set_title(const std::string& title) override { title_ = title; }
    std::string title() const override { return title_; }
    void capture_stylus(bool on) override { captured_ = on; }

    std::uint32_t ticks_ms() override { return ticks_; }
    std::int64_t wall_seconds() override { return wall_start_ + ticks_ / 1000; }
    void sleep_ms(int ms) override;

    bool scripted() const override { return true; }
    bool next_answer(ScriptedAnswer& answer) override;
    void log_line(const std::string& line) override;

    void set_clipboard(const std::string& text) override { clipboard_ = text; }
    std::string clipboard() override { return clipboard_; }

    // What the script does.
    void push_event(const Event& event) { events_.push_back(event); }
    void push_answer(const ScriptedAnswer& answer) { answers_.push_back(answer); }
    void advance(std::uint32_t ms) { ticks_ += ms; }
    void set_wall_seconds(std::int64_t seconds) { wall_start_ = seconds; }
    bool events_pending() const { return !events_.empty(); }
    std::size_t answers_pending() const { return answers_.size(); }
    const Surface& frame() const { return frame_; }
    bool stylus_captured() const { return captured_; }
    // Where log lines go (standard output unless replaced).
    void set_logger(std::function<void(const std::string&)> logger) { logger_ = std::move(logger); }

private:
    std::deque<Event> events_;
    std::deque<ScriptedAnswer> answers_;
    Surface frame_;
    std::string title_;
    std::string clipboard_;
    std::uint32_t ticks_ = 0;
    std::int64_t wall_start_ = 1765000000;   // a fixed date, so runs repeat exactly
    bool captured_ = false;
    std::function<void(const std::string&)> logger_;
};

}  // namespace qx

#include "platform/window_headless.h"

#include <cstdio>

namespace qx {

HeadlessWindow::HeadlessWindow() : frame_(SCREEN_WIDTH, SCREEN_HEIGHT, COLOUR_BLACK) {
    logger_ = [](const std::string& line) {
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
    };
}

bool HeadlessWindow::poll_event(Event& event) {
    if (events_.empty()) return false;
    event = events_.front();
    events_.pop_front();
    return true;
}

void HeadlessWindow::present(const Surface& frame) { frame_ = frame; }

void HeadlessWindow::sleep_ms(int ms) {
    if (ms > 0) ticks_ += static_cast<std::uint32_t>(ms);
}

bool HeadlessWindow::next_answer(ScriptedAnswer& answer) {
    if (answers_.empty()) return false;
    answer = answers_.front();
    answers_.pop_front();
    return true;
}

void HeadlessWindow::log_line(const std::string& line) {
    if (logger_) logger_(line);
}

}  // namespace qx

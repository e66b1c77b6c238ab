// The calculator's life: start-up, the main loop that also drives running
// programs, routing of stylus and keyboard input, and shut-down.
#pragma once
#include "platform/window.h"

namespace qx {

class HeadlessWindow;

// Start-up steps, in order, once the window exists.
void calculator_startup(Window& window);
// Shut-down steps, in order.
void calculator_shutdown();
// Handles one input event as the window procedure would.
void dispatch_event(const Event& event);
// One turn of the main loop: an event if one waits (true), else a program
// step or an idle sleep (false).
bool main_loop_turn();
// Runs until the window closes; returns the exit code.
int run_main_loop();

// The PC keyboard: a key or a typed character as the calculator takes it.
void keyboard_key(int key, int mods);
void keyboard_text(char c);
// Headless use: taps the centre of key `key` of the face shown now and
// handles the events (nothing for a key the face does not have).
void tap_key_centre(HeadlessWindow& window, int key);
// Starts a headless calculator once, its boxes answering silently.
HeadlessWindow& silent_headless_calculator();

// Saves the screen as a PNG in the pictures folder; the path, or "".
std::string save_screenshot();

}  // namespace qx

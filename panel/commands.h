// The command-line entry points besides the calculator itself.
#pragma once

// The calculator itself, in a real window or headless under a script.
int app_main(int argc, char** argv);
// The calculator without its window: the engine and the subsystems' hooks
// (matrices, calculus, statistics, plot settings).
void start_calculator_core();
// --eval: evaluates token codes or key numbers and prints the result line.
int eval_main(int argc, char** argv);
// --render, --render-all, --face, --show: pictures and faces as PNG files
// or in a window, for looking at the artwork.
int render_main(int argc, char** argv);
// quorix --run [--data-dir DIR] NAME [VALUE ...]
int run_program_main(int argc, char** argv);

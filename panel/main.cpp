// quorix: the calculator's command line.
#include <cstring>

#include "panel/commands.h"

int main(int argc, char** argv) {
    if (argc > 1) {
        const char* a = argv[1];
        if (!std::strcmp(a, "--render") || !std::strcmp(a, "--render-all") ||
            !std::strcmp(a, "--face") || !std::strcmp(a, "--show") ||
            !std::strcmp(a, "--compare"))
            return render_main(argc, argv);
        if (!std::strcmp(a, "--run")) {
            argv[1] = argv[0];
            return run_program_main(argc - 1, argv + 1);
        }
        if (!std::strcmp(a, "--eval")) {
            argv[1] = argv[0];
            return eval_main(argc - 1, argv + 1);
        }
    }
    return app_main(argc, argv);
}

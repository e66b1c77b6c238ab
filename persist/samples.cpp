// The sample plots of "Select Sample Plot": sections of state records
// held in the program, applied through the same staged path as a state
// file so that a sample can never leave a half-changed plot behind.
#include <cstring>

#include "engine/text_lines.h"
#include "persist/state.h"

namespace qx {

namespace {

const char* const kSampleNames[SAMPLE_PLOT_COUNT] = {
    "Function", "Polar", "Parametric", "3D Cartesian", "3D Cylindrical", "3D Spherical",
};

// Each section sets every slot count of the four plot types, so the slots
// of the other samples are emptied.  All of them work in radians (O 18),
// and their parameter ranges are given in radians to match.
const char kSampleText[] =
    // Function
    "N: Function\nE: 0:5,859,4,\nE: 1:6,859,4,\nE: 2:859,13,34,\nE: 3:859,13,35,\n"
    "E: 4:859,13,28,\nE: 5:5,859,9,4,\nC: 0:3\nC: 1:3\nC: 2:3\nC: 3:3\nC: 4:3\nC: 5:4\nC: 6:0\n"
    "C: 7:0\nC: 8:0\nC: 9:0\nC: 10:0\nC: 11:0\nC: 12:0\nC: 13:0\nC: 14:0\nC: 15:0\nC: 16:0\n"
    "C: 17:0\nC: 18:0\nC: 19:0\nC: 20:0\nC: 21:0\nC: 22:0\nC: 23:0\nO: 2:1\nO: 3:1\nO: 4:0\n"
    "O: 5:0\nO: 6:-5.0\nO: 7:5.0\nO: 8:3.25\nO: 9:-1.75\nO: 10:6.2832\nO: 11:0.0\n"
    "O: 12:6.2832e-003\nO: 13:0\nO: 14:1\nO: 18:0\nO: 19:5\nO: 30:0\nO: 31:0\nO: 32:0\nO: 36:0\n"
    "O: 37:6.2832\nO: 38:0.0\nO: 39:6.2832e-003\nO: 40:0.0\nO: 41:0.0\nO: 43:0\nO: 44:1.0\n"
    // Polar
    "N: Polar\nE: 6:33,36,6,869,4,\nE: 7:33,36,6,34,869,4,\nE: 8:33,36,6,35,869,4,\n"
    "E: 9:33,36,6,29,869,4,\nC: 0:0\nC: 1:0\nC: 2:0\nC: 3:0\nC: 4:0\nC: 5:0\nC: 6:5\nC: 7:6\n"
    "C: 8:6\nC: 9:6\nC: 10:0\nC: 11:0\nC: 12:0\nC: 13:0\nC: 14:0\nC: 15:0\nC: 16:0\nC: 17:0\n"
    "C: 18:0\nC: 19:0\nC: 20:0\nC: 21:0\nC: 22:0\nC: 23:0\nO: 2:1\nO: 3:1\nO: 4:0\nO: 5:1\n"
    "O: 6:-2.069\nO: 7:2.069\nO: 8:2.083\nO: 9:-2.083\nO: 10:6.2832\nO: 11:0.0\n"
    "O: 12:6.2832e-003\nO: 13:0\nO: 14:0\nO: 18:0\nO: 19:5\nO: 30:0\nO: 31:0\nO: 32:0\nO: 36:0\n"
    "O: 37:6.2832\nO: 38:0.0\nO: 39:6.2832e-003\nO: 40:0.0\nO: 41:0.0\nO: 43:0\nO: 44:1.0\n"
    // Parametric
    "N: Parametric\nE: 12:34,6,855,4,36,6,24,855,4,\nE: 13:34,5,855,4,36,5,24,855,4,\n"
    "E: 14:35,5,29,855,4,\nE: 15:35,6,35,855,4,\nC: 0:0\nC: 1:0\nC: 2:0\nC: 3:0\nC: 4:0\n"
    "C: 5:0\nC: 6:0\nC: 7:0\nC: 8:0\nC: 9:0\nC: 10:0\nC: 11:0\nC: 12:9\nC: 13:9\nC: 14:5\n"
    "C: 15:5\nC: 16:0\nC: 17:0\nC: 18:0\nC: 19:0\nC: 20:0\nC: 21:0\nC: 22:0\nC: 23:0\nO: 2:1\n"
    "O: 3:1\nO: 4:0\nO: 5:2\nO: 6:-3.5\nO: 7:3.5\nO: 8:3.5\nO: 9:-3.5\nO: 10:6.2832\nO: 11:0.0\n"
    "O: 12:6.2832e-003\nO: 13:0\nO: 14:0\nO: 18:0\nO: 19:5\nO: 30:0\nO: 31:0\nO: 32:0\nO: 36:0\n"
    "O: 37:6.2832\nO: 38:0.0\nO: 39:6.2832e-003\nO: 40:0.0\nO: 41:0.0\nO: 43:0\nO: 44:1.0\n"
    // 3D Cartesian
    "N: 3D Cartesian\nE: 18:856,\nE: 19:857,\n"
    "E: 20:111,3,17,39,29,103,856,9,36,857,9,104,32,33,4,\nC: 0:0\nC: 1:0\nC: 2:0\nC: 3:0\n"
    "C: 4:0\nC: 5:0\nC: 6:0\nC: 7:0\nC: 8:0\nC: 9:0\nC: 10:0\nC: 11:0\nC: 12:0\nC: 13:0\n"
    "C: 14:0\nC: 15:0\nC: 16:0\nC: 17:0\nC: 18:1\nC: 19:1\nC: 20:15\nC: 21:0\nC: 22:0\nC: 23:0\n"
    "O: 2:1\nO: 3:1\nO: 4:2\nO: 5:3\nO: 6:-4.547\nO: 7:4.547\nO: 8:4.547\nO: 9:-4.547\n"
    "O: 10:3.1415\nO: 11:-3.1415\nO: 12:2.2566e-001\nO: 13:0\nO: 14:0\nO: 18:0\nO: 19:5\n"
    "O: 30:0\nO: 31:0\nO: 32:0\nO: 36:0\nO: 37:6.2832\nO: 38:-6.2832\nO: 39:2.5133e-001\n"
    "O: 40:5.19e+002\nO: 41:-1.12e+001\nO: 43:0\nO: 44:4.0\n"
    // 3D Cylindrical
    "N: 3D Cylindrical\nE: 18:856,\nE: 19:857,\nE: 20:39,23,36,39,35,31,5,857,31,34,4,\nC: 0:0\n"
    "C: 1:0\nC: 2:0\nC: 3:0\nC: 4:0\nC: 5:0\nC: 6:0\nC: 7:0\nC: 8:0\nC: 9:0\nC: 10:0\nC: 11:0\n"
    "C: 12:0\nC: 13:0\nC: 14:0\nC: 15:0\nC: 16:0\nC: 17:0\nC: 18:1\nC: 19:1\nC: 20:11\nC: 21:0\n"
    "C: 22:0\nC: 23:0\nO: 2:1\nO: 3:1\nO: 4:3\nO: 5:3\nO: 6:-9.372\nO: 7:9.372\nO: 8:8.048\n"
    "O: 9:-6.06\nO: 10:5.2832\nO: 11:0.0\nO: 12:2.2566e-001\nO: 13:0\nO: 14:0\nO: 18:0\n"
    "O: 19:5\nO: 30:0\nO: 31:0\nO: 32:0\nO: 36:0\nO: 37:9.1415\nO: 38:0.0\nO: 39:2.8283e-001\n"
    "O: 40:3.0\nO: 41:-5.05e+002\nO: 43:1\nO: 44:2.5\n"
    // 3D Spherical
    "N: 3D Spherical\nE: 18:856,\nE: 19:857,\nE: 20:39,23,36,39,35,31,5,857,31,34,4,\nC: 0:0\n"
    "C: 1:0\nC: 2:0\nC: 3:0\nC: 4:0\nC: 5:0\nC: 6:0\nC: 7:0\nC: 8:0\nC: 9:0\nC: 10:0\nC: 11:0\n"
    "C: 12:0\nC: 13:0\nC: 14:0\nC: 15:0\nC: 16:0\nC: 17:0\nC: 18:1\nC: 19:1\nC: 20:11\nC: 21:0\n"
    "C: 22:0\nC: 23:0\nO: 2:1\nO: 3:1\nO: 4:3\nO: 5:3\nO: 6:-1.1426053097345\n"
    "O: 7:6.8249469026549e-001\nO: 8:1.0732483333333\nO: 9:-6.2165166666667e-001\nO: 10:6.2832\n"
    "O: 11:0.0\nO: 12:1.25664e-001\nO: 13:0\nO: 14:0\nO: 18:0\nO: 19:5\nO: 30:0\nO: 31:0\n"
    "O: 32:0\nO: 36:0\nO: 37:3.1415\nO: 38:0.0\nO: 39:6.283e-002\nO: 40:-6.9e+001\n"
    "O: 41:-5.44e+002\nO: 43:2\nO: 44:1.0\n";

}  // namespace

const char* sample_plot_name(int index) {
    return index >= 0 && index < SAMPLE_PLOT_COUNT ? kSampleNames[index] : nullptr;
}

const char* sample_plot_text() { return kSampleText; }

bool load_sample_plot(const char* name) {
    if (!name || !*name) return false;
    const std::size_t name_length = std::strlen(name);
    std::unique_ptr<WorkingState> staged;
    LineReader lines{kSampleText, kSampleText + sizeof kSampleText - 1};
    const char* line = nullptr;
    std::size_t length = 0;
    while (lines.next(line, length)) {
        if (length >= 3 && std::memcmp(line, "N: ", 3) == 0) {
            if (staged) break;   // the next section: the wanted one is done
            if (length - 3 == name_length && std::memcmp(line + 3, name, name_length) == 0)
                staged = capture_working_state();
            continue;
        }
        // Memory and statistics stay as they are: only the section's
        // records change anything.
        if (staged && length > 0) apply_state_line(*staged, line, length);
    }
    if (!staged) return false;
    finish_staged_state(*staged);
    commit_working_state(*staged);
    return true;
}

}  // namespace qx

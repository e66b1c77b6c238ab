// Every face of the calculator and every picture of a key with state.
#include "tools/artgen/art.h"
#include "tools/artgen/keycap.h"

namespace qx::art {

void draw_faces(ArtList& out) {
    draw_main_faces(out);
    draw_state_pictures(out);
    draw_program_face(out);
    draw_plot_faces(out);
    draw_editor_faces(out);
    draw_alpha_keyboard(out);
}

}  // namespace qx::art

// The start-up settings as text: the fourteen settings a user expects to
// find again at the next start, one "name=TEXT" line each.  The front panel
// keeps the text in a small file of its own; nothing here touches files.
//
// Reading is forgiving, because the file may have been edited by hand or
// written by another version: a value that is missing, empty, too long or
// not one of the exact texts below keeps its default, so a bad line can
// never carry a setting outside its range.
//
//   name                 texts                                        default
//   precision            0 .. 10                                      4
//   format               NORM FIX SCIENTIFIC ENGINEERING              NORM
//   point_and_seperator  DECIMAL_POINT COMMA_POINT                    DECIMAL_POINT
//   angle_unit           RADIAN DEGREE GRADIAN                        RADIAN
//   display_mode         BASE_MODE COMP_MODE STATS_MODE PLOT_MODE
//                        MATRIX_MODE LIST_MODE                        COMP_MODE
//   base_bits            BITS_8 BITS_16 BITS_32                       BITS_16
//   base_unit            U_BIN U_OCT U_DEC U_HEX                      U_DEC
//   stats_var            STATS_SINGLE_VAR STATS_DOUBLE_VAR            STATS_SINGLE_VAR
//   regress_type         R_LINEAR R_LOGARITHMIC R_EXPON R_POWER       R_LINEAR
//   button_click         ON OFF                                       OFF
//   display_color        decimal, kept to 24 bits                     16777215
//   brightness           decimal, kept to 0 .. 255                    172
//   dynamic_mode         BASE_MODE STATS_MODE MATRIX_MODE LIST_MODE   STATS_MODE
//   scaler_type          ST_REAL ST_COMPLEX_R ST_COMPLEX_P            ST_REAL
#pragma once
#include <cstddef>
#include <string>

#include "engine/settings.h"

namespace qx {

constexpr int STARTUP_VALUE_COUNT = 14;
// The longest value text read; a longer one is treated as unreadable.
constexpr std::size_t STARTUP_VALUE_LIMIT = 119;

// The fourteen values in the order of the table above, "name=TEXT\n" each.
// PROG mode and the periodic table are written as COMP_MODE: neither can
// be re-entered without its own state, so the calculator starts in COMP.
std::string write_startup_text(const Settings& s);

// Sets the defaults, then applies the text's lines "name=TEXT" (CR LF, LF
// or CR line ends; blanks around name and value ignored; unknown names and
// lines without '=' ignored; of several lines with one name the last
// counts).  *plot_mode (when given) says whether display_mode read
// PLOT_MODE, so that the plot can be drawn afresh.
void read_startup_text(const std::string& text, Settings& s, bool* plot_mode);

}  // namespace qx

// Settings named by words, as the command-line drivers take them
// ("angle deg", "radix hex"), and the display's glyphs written as text.
#pragma once
#include <string>

namespace qx {

// Sets one setting from its word; false for an unknown name or value.
// "mode" gives the calculator mode in *mode (base, comp, stats, plot,
// matrix, list) and leaves entering it to the caller.
bool set_setting_word(const std::string& name, const std::string& value, int* mode);

// Text in the display font's code page written as plain text: the exponent
// mark as E, the imaginary unit as i, the polar base as e^, the narrow
// blank and digits as themselves, Greek letters spelled out.
std::string plain_display_text(const char* text, std::size_t max_length = 4096);

}  // namespace qx

// Values as text: the display's result line, dialog fields and cells.
#pragma once

namespace qx {

// Display-font characters used in glyph mode.
constexpr char GLYPH_EXPONENT = 0x1B;
constexpr char GLYPH_IMAGINARY = 0x1A;
constexpr char GLYPH_POLAR_BASE = 0x19;
constexpr char GLYPH_NARROW_SPACE = 29;
constexpr char GLYPH_NARROW_0 = 30;
constexpr char GLYPH_NARROW_1 = 31;

// Each routine returns a buffer of its own, valid until it runs again.
const char* format_real(double value, int format, int digits, bool glyph);
const char* format_value(double value, bool glyph);
const char* format_result_line(double re, bool glyph, bool force);
const char* format_complex_display(double re, double im, bool glyph, bool force);
const char* format_complex_plain(double re, double im, int format, int digits, bool glyph);
const char* format_base_n(double value, int radix, bool glyph);
const char* get_stats_string(int index);

}  // namespace qx

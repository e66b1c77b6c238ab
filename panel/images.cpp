#include "panel/images.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>

#include "engine/errors.h"
#include "engine/settings.h"
#include "panel/resources.h"
#include "platform/font.h"

namespace qx {

namespace {

constexpr int kStripWidth = 240;
constexpr int kStripRows = 20;
constexpr int kMaxCodes = 4096;

std::string upper(const char* name) {
    std::string s = name ? name : "";
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// The name in capitals in a fixed buffer, so that looking a legend up while
// a line is drawn allocates nothing; names longer than the buffer are cut,
// which no resource name is.
struct UpperName {
    char text[64];
    std::size_t length = 0;
    explicit UpperName(const char* name) {
        for (const char* p = name ? name : ""; *p && length + 1 < sizeof text; ++p)
            text[length++] = static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
        text[length] = '\0';
    }
    std::string_view view() const { return {text, length}; }
};

struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

// A broken or missing picture is painted on every repaint; reporting it each
// time would put a box in front of every paint for ever.
bool first_report(std::set<std::string>& reported, const std::string& name) {
    return reported.insert(name).second;
}
std::set<std::string> g_reported_pictures;
std::set<std::string> g_reported_legends;

// Reads LZW codes least-significant bit first from the data sub-blocks,
// never past the end of the resource.
class CodeReader {
public:
    CodeReader(const std::uint8_t* data, std::size_t size, std::size_t pos)
        : data_(data), size_(size), pos_(pos) {}

    // -1 when the data ends before a whole code could be read.
    int read(int width) {
        while (bits_ < width) {
            if (block_left_ == 0) {
                if (pos_ >= size_) return -1;
                block_left_ = data_[pos_++];
                if (block_left_ == 0) {
                    pos_ = size_;   // the terminator: nothing follows
                    return -1;
                }
            }
            if (pos_ >= size_) return -1;
            buffer_ |= static_cast<std::uint32_t>(data_[pos_++]) << bits_;
            bits_ += 8;
            --block_left_;
        }
        int code = static_cast<int>(buffer_ & ((1u << width) - 1));
        buffer_ >>= width;
        bits_ -= width;
        return code;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_;
    std::uint32_t buffer_ = 0;
    int bits_ = 0;
    int block_left_ = 0;
};

// The strip: 20 rows of the picture's width, copied to the surface as it
// fills, so the working memory does not depend on the picture's height.
struct Strip {
    std::array<std::uint8_t, kStripWidth * kStripRows * 3> pixels;
    Surface& target;
    int x, y, width, height;
    bool transparent;
    int column = 0, row = 0, strips = 0;
    long long written = 0;
    long long total;

    Strip(Surface& s, int x0, int y0, int w, int h, bool t)
        : target(s), x(x0), y(y0), width(w), height(h), transparent(t),
          total(static_cast<long long>(w) * h) {
        if (transparent) load_under();
    }

    // What the surface shows under the strip, for pixels a picture skips.
    void load_under() {
        pixels.fill(0);
        const int top = y + kStripRows * strips;
        for (int r = 0; r < kStripRows; ++r) {
            const int sy = top + r;
            if (sy < 0 || sy >= target.height()) continue;
            for (int c = 0; c < width; ++c) {
                const int sx = x + c;
                if (sx < 0 || sx >= target.width()) continue;
                std::memcpy(&pixels[3 * (kStripWidth * r + c)], target.row(sy) + 3 * sx, 3);
            }
        }
    }

    void flush(int rows) {
        const int top = y + kStripRows * strips;
        for (int r = 0; r < rows; ++r) {
            const int sy = top + r;
            if (sy < 0 || sy >= target.height()) continue;
            const int first = std::max(0, -x);
            const int last = std::min(width, target.width() - x);
            if (first >= last) continue;
            std::memcpy(target.row(sy) + 3 * (x + first), &pixels[3 * (kStripWidth * r + first)],
                        static_cast<std::size_t>(last - first) * 3);
        }
    }

    // Returns false once the picture is complete.
    bool put(const std::uint8_t* rgb, bool skip) {
        if (written >= total) return false;
        if (!skip) std::memcpy(&pixels[3 * (kStripWidth * row + column)], rgb, 3);
        ++written;
        if (++column == width) {
            column = 0;
            if (++row == kStripRows) {
                flush(kStripRows);
                row = 0;
                ++strips;
                if (transparent) load_under();
            }
        }
        return written < total;
    }

    // The rows begun but not yet copied; a partly written last row shows
    // only the pixels that were decoded.
    void finish() {
        if (row == 0 && column == 0) return;
        if (column > 0) {
            // Only the decoded part of the unfinished row belongs to the picture.
            const int top = y + kStripRows * strips;
            flush(row);
            const int sy = top + row;
            if (sy >= 0 && sy < target.height())
                for (int c = 0; c < column; ++c) {
                    const int sx = x + c;
                    if (sx >= 0 && sx < target.width())
                        std::memcpy(target.row(sy) + 3 * sx, &pixels[3 * (kStripWidth * row + c)], 3);
                }
        } else {
            flush(row);
        }
    }
};

int clamp_channel(int v) { return v < 0 ? 0 : v > 255 ? 255 : v; }

}  // namespace

bool gif_size(const std::uint8_t* data, std::size_t size, int* width, int* height) {
    if (!data || size < 13) return false;
    std::size_t pos = 13;
    if (data[10] & 0x80) pos += 3u * (1u << ((data[10] & 7) + 1));
    if (size < pos + 10) return false;
    *width = data[pos + 5] | (data[pos + 6] << 8);
    *height = data[pos + 7] | (data[pos + 8] << 8);
    return *width > 0 && *height > 0;
}

int decode_gif(Surface& s, const std::uint8_t* data, std::size_t size, int x, int y,
               bool transparent, int brightness) {
    if (!data || size < 13) return PIC_CORRUPT;
    if (std::memcmp(data, "GIF89a", 6) == 0) return PIC_VERSION_89A;
    if (std::memcmp(data, "GIF87a", 6) != 0) return PIC_CORRUPT;
    const int flags = data[10];
    const int bits = (flags & 7) + 1;
    if (data[12] != 0) return PIC_CORRUPT;
    if (!(flags & 0x80)) return PIC_NO_GLOBAL_TABLE;
    const int colours = 1 << bits;
    std::size_t pos = 13;
    if (size < pos + 3u * colours + 10) return PIC_CORRUPT;
    const std::uint8_t* table = data + pos;
    pos += 3u * colours;
    ++pos;   // image separator
    const int width = data[pos + 4] | (data[pos + 5] << 8);
    const int height = data[pos + 6] | (data[pos + 7] << 8);
    const int image_flags = data[pos + 8];
    pos += 9;
    if (image_flags & 0x80) return PIC_LOCAL_TABLE;
    if (image_flags & 0x40) return PIC_INTERLACED;
    if (width <= 0 || width > kStripWidth || height <= 0) return PIC_CORRUPT;
    if (pos >= size) return PIC_CORRUPT;
    const int min_size = data[pos++];
    if (min_size < 1 || min_size > 8 || (min_size == 1 && bits != 1)) return PIC_CORRUPT;

    // The final colour of every index, brightness applied, and whether the
    // index is the transparency key.
    brightness = std::clamp(brightness, 0, 255);
    const int gain = (brightness - 128) >> 1;
    std::uint8_t final_rgb[256][3];
    bool is_key[256];
    for (int k = 0; k < 256; ++k) {
        const int i = k & (colours - 1);
        const int r = table[3 * i], g = table[3 * i + 1], b = table[3 * i + 2];
        is_key[k] = transparent && r == 0 && g == 24 && b == 24;
        const bool magenta = r == 255 && g == 0 && b == 255;
        const bool adjust = brightness != BRIGHTNESS_NEUTRAL;
        final_rgb[k][0] = static_cast<std::uint8_t>(magenta && adjust ? 255 : clamp_channel(r + gain));
        final_rgb[k][1] = static_cast<std::uint8_t>(magenta && adjust ? 255 : clamp_channel(g + gain));
        final_rgb[k][2] = static_cast<std::uint8_t>(magenta && adjust ? 255 : clamp_channel(b + gain));
    }

    Strip strip(s, x, y, width, height, transparent);
    CodeReader reader(data, size, pos);
    static std::uint16_t prefix[kMaxCodes];
    static std::uint8_t suffix[kMaxCodes];
    static std::uint8_t stack[kMaxCodes + 1];
    const int clear = 1 << min_size, end = clear + 1;
    const int pixel_mask = colours - 1;
    int code_width = min_size + 1, next = clear + 2;
    int previous = -1;
    bool started = false;
    int result = PIC_OK;

    auto output = [&](const std::uint8_t* pixels, int count) {
        for (int k = 0; k < count; ++k)
            if (!strip.put(final_rgb[pixels[k]], is_key[pixels[k]])) return false;
        return true;
    };

    for (;;) {
        int code = reader.read(code_width);
        if (code < 0) {
            // The data ran out: a complete picture is fine, a short one is not.
            if (strip.written < strip.total) result = PIC_CORRUPT;
            break;
        }
        if (code == end) {
            if (strip.written < strip.total) result = PIC_CORRUPT;
            break;
        }
        if (code == clear) {
            code_width = min_size + 1;
            next = clear + 2;
            started = true;
            previous = -1;
            continue;
        }
        if (!started) {
            result = PIC_CORRUPT;   // the data must begin with a clear code
            break;
        }
        if (previous < 0) {
            // The first code after a clear stands for one pixel.
            if (code > clear) {
                result = PIC_CORRUPT;
                break;
            }
            std::uint8_t p = static_cast<std::uint8_t>(code & pixel_mask);
            previous = code;
            if (!output(&p, 1)) break;
            continue;
        }
        if (code > next) {
            result = PIC_CORRUPT;
            break;
        }
        // Walk the prefixes down to a root, pushing suffixes.
        int sp = 0;
        int walk = code;
        std::uint8_t tail = 0;
        bool repeated = code == next;
        if (repeated) walk = previous;
        bool broken = false;
        while (walk >= clear) {
            if (walk == end || walk == clear || walk >= next || sp >= kMaxCodes) {
                broken = true;
                break;
            }
            stack[sp++] = suffix[walk];
            walk = prefix[walk];
        }
        if (broken) {
            result = PIC_CORRUPT;
            break;
        }
        const std::uint8_t first = static_cast<std::uint8_t>(walk & pixel_mask);
        stack[sp++] = first;
        // The stack holds the string backwards; reverse it in place.
        std::reverse(stack, stack + sp);
        if (repeated) {
            tail = first;
            stack[sp++] = tail;
        }
        if (next < kMaxCodes) {
            prefix[next] = static_cast<std::uint16_t>(previous);
            suffix[next] = first;
            ++next;
            if (next == (1 << code_width) && code_width < 12) ++code_width;
        }
        previous = code;
        if (!output(stack, sp)) break;
    }
    strip.finish();
    return result;
}

int draw_gif(Surface& s, const char* name, int x, int y, bool transparent, int brightness) {
    const ResourceEntry* entry = find_resource(name, RES_PICTURE);
    if (!entry) {
        if (first_report(g_reported_pictures, upper(name))) message_box("Could not load resource", "Resource", MB_STYLE_OK);
        return PIC_MISSING;
    }
    int result = decode_gif(s, entry->data, entry->size, x, y, transparent, brightness);
    if (result != PIC_OK && first_report(g_reported_pictures, upper(name)))
        message_box("Gif load error", "Gif", MB_STYLE_OK);
    return result;
}

bool picture_size(const char* name, int* width, int* height) {
    const ResourceEntry* entry = find_resource(name, RES_PICTURE);
    return entry && gif_size(entry->data, entry->size, width, height);
}

namespace {

std::uint32_t le32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
int le16(const std::uint8_t* p) { return p[0] | (p[1] << 8); }

constexpr int kMaxBitmapSide = 1024;

}  // namespace

bool decode_bmp(const std::uint8_t* data, std::size_t size, Surface& out) {
    if (!data || size < 54 || data[0] != 'B' || data[1] != 'M') return false;
    const std::uint32_t offset = le32(data + 10);
    const std::uint32_t header = le32(data + 14);
    if (header < 40) return false;
    const std::int32_t width = static_cast<std::int32_t>(le32(data + 18));
    const std::int32_t raw_height = static_cast<std::int32_t>(le32(data + 22));
    if (le16(data + 26) != 1 || le16(data + 28) != 24 || le32(data + 30) != 0) return false;
    if (width <= 0 || width > kMaxBitmapSide || raw_height == 0 || raw_height < -kMaxBitmapSide ||
        raw_height > kMaxBitmapSide)
        return false;
    const bool bottom_up = raw_height > 0;
    const int height = bottom_up ? raw_height : -raw_height;
    const std::size_t row_bytes = (static_cast<std::size_t>(width) * 3 + 3) & ~static_cast<std::size_t>(3);
    if (offset < 54 || offset > size || (size - offset) / row_bytes < static_cast<std::size_t>(height))
        return false;
    out = Surface(width, height);
    for (int r = 0; r < height; ++r) {
        const std::uint8_t* src = data + offset + row_bytes * static_cast<std::size_t>(r);
        std::uint8_t* dst = out.row(bottom_up ? height - 1 - r : r);
        for (int c = 0; c < width; ++c) {
            dst[3 * c] = src[3 * c + 2];
            dst[3 * c + 1] = src[3 * c + 1];
            dst[3 * c + 2] = src[3 * c];
        }
    }
    return true;
}

namespace {

std::unordered_map<std::string, Surface, NameHash, std::equal_to<>> g_bitmaps;
std::unordered_map<std::string, int, NameHash, std::equal_to<>> g_widths;
constexpr std::size_t kWidthCacheSize = 200;

}  // namespace

const Surface* find_bitmap(const char* name) {
    const UpperName key(name);
    auto it = g_bitmaps.find(key.view());
    if (it != g_bitmaps.end()) return &it->second;
    const ResourceEntry* entry = find_resource(name, RES_LEGEND);
    Surface image;
    if (!entry || !decode_bmp(entry->data, entry->size, image)) {
        if (first_report(g_reported_legends, std::string(key.view()))) {
            char text[TEXT_SIZE + 32];
            std::snprintf(text, sizeof text, "Bitmap not found: '%s'", name ? name : "");
            message_box(text, "Bitmap error", MB_STYLE_OK);
        }
        return nullptr;
    }
    return &g_bitmaps.emplace(std::string(key.view()), std::move(image)).first->second;
}

int draw_legend(Surface& s, const char* name, int x, int y, bool inverted) {
    const Surface* bitmap = find_bitmap(name);
    if (!bitmap) return 0;
    if (inverted) copy_surface(s, x, y, *bitmap, CopyMode::Inverted);
    else if ((g_settings.display_color & 0xFFFFFF) != COLOUR_WHITE)
        copy_surface(s, x, y, *bitmap, CopyMode::Transparent, COLOUR_WHITE);
    else copy_surface(s, x, y, *bitmap, CopyMode::Plain);
    return bitmap->width();
}

int legend_width(const char* name) {
    const UpperName key(name);
    auto it = g_widths.find(key.view());
    if (it != g_widths.end()) return it->second;
    const Surface* bitmap = find_bitmap(name);
    const int width = bitmap ? bitmap->width() : 0;
    if (g_widths.size() < kWidthCacheSize) g_widths.emplace(std::string(key.view()), width);
    return width;
}

void reset_legend_caches() {
    g_bitmaps.clear();
    g_widths.clear();
    g_reported_legends.clear();
    g_reported_pictures.clear();
}

void fill_rectangle(Surface& s, Colour c, int left, int top, int right, int bottom) {
    fill_rect(s, c, left, top, right, bottom);
}

void checkered_rectangle(Surface& s, Colour fg, Colour bg, int left, int top, int right,
                         int bottom) {
    const Surface* brush = find_bitmap("CHECKERED_BRUSH");
    if (!brush || brush->empty()) {
        checkered_fill(s, fg, bg, left, top, right, bottom);
        return;
    }
    if (!clip_rect(s, left, top, right, bottom)) return;
    // The brush's dark pixels take the foreground, its light ones the
    // background; like a pattern brush it is anchored to the surface.
    for (int yy = top; yy <= bottom; ++yy)
        for (int xx = left; xx <= right; ++xx) {
            Colour b = brush->get(xx % brush->width(), yy % brush->height());
            s.set(xx, yy, (red_of(b) + green_of(b) + blue_of(b)) < 384 ? fg : bg);
        }
}

void line(Surface& s, int x1, int y1, int x2, int y2, Colour c, bool thick) {
    draw_line(s, x1, y1, x2, y2, c, thick);
}

void pixel(Surface& s, int x, int y, Colour c) { draw_pixel(s, x, y, c); }

int label_text(Surface& s, const char* text, int x, int y, bool horizontal, bool measure_only,
               bool right_aligned) {
    if (!text) return 0;
    const int width = text_width(FONT_LABEL, text);
    if (measure_only) return width;
    constexpr int kBoxLong = 100, kBoxShort = 20;
    // Drawn into a box-sized scratch surface so the text is cut at the box.
    Surface box(horizontal ? kBoxLong : kBoxShort, horizontal ? kBoxShort : kBoxLong,
                COLOUR_TRANSPARENT_KEY);
    int left = horizontal ? (right_aligned ? x - kBoxLong : x) : x;
    int top = horizontal ? y : (right_aligned ? y - kBoxLong : y);
    if (horizontal) {
        draw_text(box, FONT_LABEL, text, right_aligned ? kBoxLong - width : 0, 0, COLOUR_BLACK);
    } else {
        // Turned text reads upwards from the bottom of the box.
        const int start = right_aligned ? width - 1 : kBoxLong - 1;
        draw_text(box, FONT_LABEL, text, 0, start, COLOUR_BLACK, TextDirection::Up);
    }
    copy_surface(s, left, top, box, CopyMode::Transparent);
    return width;
}

const char* small_character(char c) {
    static const char* const kDigits[10] = {"SMALL_0", "SMALL_1", "SMALL_2", "SMALL_3",
                                            "SMALL_4", "SMALL_5", "SMALL_6", "SMALL_7",
                                            "SMALL_8", "SMALL_9"};
    if (c >= '0' && c <= '9') return kDigits[c - '0'];
    switch (c) {
        case '.': return "SMALL_DP";
        case ',': return "SMALL_COMMA";
        case '-': return "SMALL_MINUS";
        case '=': return "SMALL_EQUAL";
        case 'E':
        case 'e': return "SMALL_E";
        default: break;
    }
    message_box("bitmap not found", "get_small_number_character_bitmap", MB_STYLE_OK);
    return nullptr;
}

}  // namespace qx

#include "tools/artgen/encode.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <unordered_map>

#include "platform/files.h"

namespace qx::art {

namespace {

constexpr Colour kMagenta = rgb(255, 0, 255);

struct Box {
    std::vector<std::pair<Colour, std::uint32_t>> colours;   // colour, pixel count
};

int channel(Colour c, int k) { return k == 0 ? red_of(c) : k == 1 ? green_of(c) : blue_of(c); }

// Median cut: split the box with the widest channel range at its weighted
// median until there are enough boxes; each box becomes its mean colour.
std::vector<Colour> median_cut(std::vector<std::pair<Colour, std::uint32_t>> colours, int wanted) {
    std::vector<Box> boxes(1);
    boxes[0].colours = std::move(colours);
    while (static_cast<int>(boxes.size()) < wanted) {
        int best = -1, best_channel = 0, best_range = 0;
        for (int b = 0; b < static_cast<int>(boxes.size()); ++b) {
            if (boxes[b].colours.size() < 2) continue;
            for (int k = 0; k < 3; ++k) {
                int lo = 255, hi = 0;
                for (auto& [c, n] : boxes[b].colours) {
                    lo = std::min(lo, channel(c, k));
                    hi = std::max(hi, channel(c, k));
                }
                if (hi - lo > best_range) {
                    best_range = hi - lo;
                    best = b;
                    best_channel = k;
                }
            }
        }
        if (best < 0) break;
        auto& cs = boxes[best].colours;
        std::sort(cs.begin(), cs.end(), [&](auto& a, auto& b) {
            return channel(a.first, best_channel) < channel(b.first, best_channel);
        });
        std::uint64_t total = 0;
        for (auto& e : cs) total += e.second;
        std::uint64_t run = 0;
        std::size_t split = 1;
        for (std::size_t k = 0; k + 1 < cs.size(); ++k) {
            run += cs[k].second;
            split = k + 1;
            if (run * 2 >= total) break;
        }
        Box upper;
        upper.colours.assign(cs.begin() + static_cast<long>(split), cs.end());
        cs.resize(split);
        boxes.push_back(std::move(upper));
    }
    std::vector<Colour> palette;
    for (const Box& b : boxes) {
        std::uint64_t sum[3] = {0, 0, 0}, total = 0;
        for (auto& [c, n] : b.colours) {
            for (int k = 0; k < 3; ++k) sum[k] += static_cast<std::uint64_t>(channel(c, k)) * n;
            total += n;
        }
        if (total == 0) continue;
        palette.push_back(rgb(static_cast<int>(sum[0] / total), static_cast<int>(sum[1] / total),
                              static_cast<int>(sum[2] / total)));
    }
    return palette;
}

// The palette of an image and the index of every pixel in it.
void quantise(const Surface& image, std::vector<Colour>& palette, std::vector<std::uint8_t>& indexes) {
    std::map<Colour, std::uint32_t> histogram;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) ++histogram[image.get(x, y)];
    palette.clear();
    if (histogram.size() <= 256) {
        for (auto& [c, n] : histogram) palette.push_back(c);
    } else {
        std::vector<std::pair<Colour, std::uint32_t>> rest;
        for (auto& [c, n] : histogram) {
            if (c == COLOUR_TRANSPARENT_KEY || c == kMagenta) palette.push_back(c);
            else rest.emplace_back(c, n);
        }
        std::vector<Colour> cut = median_cut(std::move(rest), 256 - static_cast<int>(palette.size()));
        palette.insert(palette.end(), cut.begin(), cut.end());
    }
    std::unordered_map<Colour, std::uint8_t> nearest;
    for (std::size_t k = 0; k < palette.size(); ++k) nearest[palette[k]] = static_cast<std::uint8_t>(k);
    indexes.resize(static_cast<std::size_t>(image.width()) * image.height());
    std::size_t at = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            Colour c = image.get(x, y);
            auto it = nearest.find(c);
            if (it == nearest.end()) {
                int best = 0;
                long best_d = -1;
                for (std::size_t k = 0; k < palette.size(); ++k) {
                    // The key colours stand for "not drawn": never map to them.
                    if (palette[k] == COLOUR_TRANSPARENT_KEY || palette[k] == kMagenta) continue;
                    long d = 0;
                    for (int ch = 0; ch < 3; ++ch) {
                        long e = channel(c, ch) - channel(palette[k], ch);
                        d += e * e;
                    }
                    if (best_d < 0 || d < best_d) {
                        best_d = d;
                        best = static_cast<int>(k);
                    }
                }
                it = nearest.emplace(c, static_cast<std::uint8_t>(best)).first;
            }
            indexes[at++] = it->second;
        }
    }
}

class BitWriter {
public:
    explicit BitWriter(std::vector<std::uint8_t>& out) : out_(out) {}
    void put(int code, int width) {
        buffer_ |= static_cast<std::uint32_t>(code) << bits_;
        bits_ += width;
        while (bits_ >= 8) {
            byte(static_cast<std::uint8_t>(buffer_ & 0xFF));
            buffer_ >>= 8;
            bits_ -= 8;
        }
    }
    void finish() {
        if (bits_ > 0) byte(static_cast<std::uint8_t>(buffer_ & 0xFF));
        bits_ = 0;
        buffer_ = 0;
        flush_block();
        out_.push_back(0);   // block terminator
    }

private:
    void byte(std::uint8_t b) {
        block_.push_back(b);
        if (block_.size() == 255) flush_block();
    }
    void flush_block() {
        if (block_.empty()) return;
        out_.push_back(static_cast<std::uint8_t>(block_.size()));
        out_.insert(out_.end(), block_.begin(), block_.end());
        block_.clear();
    }
    std::vector<std::uint8_t>& out_;
    std::vector<std::uint8_t> block_;
    std::uint32_t buffer_ = 0;
    int bits_ = 0;
};

void put16(std::vector<std::uint8_t>& out, int v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}
void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int k = 0; k < 4; ++k) out.push_back(static_cast<std::uint8_t>((v >> (8 * k)) & 0xFF));
}

}  // namespace

std::vector<std::uint8_t> encode_gif(const Surface& image) {
    std::vector<Colour> palette;
    std::vector<std::uint8_t> indexes;
    quantise(image, palette, indexes);
    int bits = 1;
    while ((1 << bits) < static_cast<int>(palette.size())) ++bits;

    std::vector<std::uint8_t> out = {'G', 'I', 'F', '8', '7', 'a'};
    put16(out, image.width());
    put16(out, image.height());
    out.push_back(static_cast<std::uint8_t>(0x80 | ((bits - 1) << 4) | (bits - 1)));
    out.push_back(0);   // background colour
    out.push_back(0);   // aspect
    for (int k = 0; k < (1 << bits); ++k) {
        Colour c = k < static_cast<int>(palette.size()) ? palette[k] : COLOUR_BLACK;
        out.push_back(static_cast<std::uint8_t>(red_of(c)));
        out.push_back(static_cast<std::uint8_t>(green_of(c)));
        out.push_back(static_cast<std::uint8_t>(blue_of(c)));
    }
    out.push_back(0x2C);
    put16(out, 0);
    put16(out, 0);
    put16(out, image.width());
    put16(out, image.height());
    out.push_back(0);

    const int min_size = std::max(2, bits);
    out.push_back(static_cast<std::uint8_t>(min_size));
    const int clear = 1 << min_size, end = clear + 1;
    BitWriter writer(out);
    std::unordered_map<std::uint32_t, int> dict;
    int width = min_size + 1, next = clear + 2;
    writer.put(clear, width);
    int prefix = indexes.empty() ? 0 : indexes[0];
    for (std::size_t k = 1; k < indexes.size(); ++k) {
        const int p = indexes[k];
        const std::uint32_t key = (static_cast<std::uint32_t>(prefix) << 8) | static_cast<std::uint32_t>(p);
        auto it = dict.find(key);
        if (it != dict.end()) {
            prefix = it->second;
            continue;
        }
        writer.put(prefix, width);
        dict.emplace(key, next++);
        // The reader adds its entry one code later, so the width grows one
        // code after the table passes the power of two.
        if (next > (1 << width) && width < 12) ++width;
        if (next >= 4095) {
            writer.put(clear, width);
            dict.clear();
            width = min_size + 1;
            next = clear + 2;
        }
        prefix = p;
    }
    if (!indexes.empty()) writer.put(prefix, width);
    writer.put(end, width);
    writer.finish();
    out.push_back(0x3B);
    return out;
}

std::vector<std::uint8_t> encode_bmp(const Surface& image) {
    const int row_bytes = (image.width() * 3 + 3) & ~3;
    const std::uint32_t data_size = static_cast<std::uint32_t>(row_bytes) * image.height();
    std::vector<std::uint8_t> out = {'B', 'M'};
    put32(out, 54 + data_size);
    put32(out, 0);
    put32(out, 54);
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(image.width()));
    put32(out, static_cast<std::uint32_t>(image.height()));
    put16(out, 1);
    put16(out, 24);
    put32(out, 0);
    put32(out, data_size);
    put32(out, 2835);
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (int y = image.height() - 1; y >= 0; --y) {
        const std::uint8_t* p = image.row(y);
        for (int x = 0; x < image.width(); ++x) {
            out.push_back(p[3 * x + 2]);
            out.push_back(p[3 * x + 1]);
            out.push_back(p[3 * x]);
        }
        for (int k = image.width() * 3; k < row_bytes; ++k) out.push_back(0);
    }
    return out;
}

bool write_resource_source(const ArtList& list, const std::vector<TextResource>& texts,
                           const std::string& path, std::string* error) {
    struct Item {
        std::string upper;
        int kind;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<Item> items;
    for (const Artwork& a : list) {
        Item it;
        for (char c : a.name) it.upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        it.kind = a.kind == Kind::Picture ? 0 : 1;
        it.bytes = a.kind == Kind::Picture ? encode_gif(a.image) : encode_bmp(a.image);
        items.push_back(std::move(it));
    }
    for (const TextResource& t : texts) {
        Item it;
        for (char c : t.name) it.upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        it.kind = 2;
        it.bytes.assign(t.bytes.begin(), t.bytes.end());
        items.push_back(std::move(it));
    }
    std::sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
        return a.upper != b.upper ? a.upper < b.upper : a.kind < b.kind;
    });
    std::string src =
        "// Drawn by quorix_artgen; do not edit.\n#include \"panel/resources.h\"\n\nnamespace qx {\n\n"
        "namespace {\n";
    char buf[64];
    for (std::size_t k = 0; k < items.size(); ++k) {
        std::snprintf(buf, sizeof buf, "const std::uint8_t kData%zu[] = {", k);
        src += buf;
        for (std::size_t b = 0; b < items[k].bytes.size(); ++b) {
            if (b % 24 == 0) src += "\n   ";
            std::snprintf(buf, sizeof buf, " %u,", items[k].bytes[b]);
            src += buf;
        }
        src += "\n};\n";
    }
    src += "}  // namespace\n\nconst ResourceEntry g_resource_table[] = {\n";
    for (std::size_t k = 0; k < items.size(); ++k) {
        std::snprintf(buf, sizeof buf, ", %d, kData%zu, %zu},\n", items[k].kind, k,
                      items[k].bytes.size());
        src += "    {\"" + items[k].upper + "\"" + buf;
    }
    if (items.empty()) src += "    {\"\", 0, nullptr, 0},\n";
    std::snprintf(buf, sizeof buf, "%zu", items.size());
    src += "};\nconst int g_resource_count = " + std::string(buf) + ";\n\n}  // namespace qx\n";
    return replace_file(path, src, error);
}

}  // namespace qx::art

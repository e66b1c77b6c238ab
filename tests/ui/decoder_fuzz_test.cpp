// Random mutations of the real pictures and legends: the decoders must
// refuse or draw, and never touch memory outside their buffers (the
// sanitizer build runs this too).
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <vector>

#include "panel/images.h"
#include "panel/resources.h"

namespace qx {
namespace {

int iterations_per_file() {
    const char* v = std::getenv("QUORIX_FUZZ_ITERATIONS");
    return v ? std::max(1, std::atoi(v)) : 12;
}

std::vector<std::uint8_t> mutate(const ResourceEntry& e, std::mt19937& rng) {
    std::vector<std::uint8_t> b(e.data, e.data + e.size);
    const int edits = 1 + static_cast<int>(rng() % 8);
    for (int k = 0; k < edits && !b.empty(); ++k) {
        const std::size_t at = rng() % b.size();
        switch (rng() % 6) {
            case 0: b[at] ^= static_cast<std::uint8_t>(1u << (rng() % 8)); break;
            case 1: b[at] = static_cast<std::uint8_t>(rng()); break;
            case 2: b.resize(at); break;
            case 3: b.insert(b.begin() + static_cast<long>(at), static_cast<std::uint8_t>(rng())); break;
            case 4: b.erase(b.begin() + static_cast<long>(at)); break;
            // Header fields are where the sizes live: hit them more often.
            default: b[rng() % std::min<std::size_t>(b.size(), 64)] = static_cast<std::uint8_t>(rng()); break;
        }
    }
    return b;
}

TEST(DecoderFuzz, MutatedPicturesAndLegendsNeverBreakTheDecoders) {
    std::mt19937 rng(20261207);
    const int rounds = iterations_per_file();
    int decoded = 0;
    for (int r = 0; r < g_resource_count; ++r) {
        const ResourceEntry& e = g_resource_table[r];
        const int n = e.kind == RES_PICTURE ? rounds : std::max(1, rounds / 4);
        for (int k = 0; k < n; ++k) {
            std::vector<std::uint8_t> b = mutate(e, rng);
            Surface screen(240, 320);
            const int x = static_cast<int>(rng() % 300) - 30, y = static_cast<int>(rng() % 380) - 30;
            const int result = decode_gif(screen, b.data(), b.size(), x, y, rng() % 2 == 0,
                                          static_cast<int>(rng() % 300));
            EXPECT_GE(result, PIC_OK);
            EXPECT_LE(result, PIC_CORRUPT);
            Surface legend;
            if (decode_bmp(b.data(), b.size(), legend)) {
                EXPECT_LE(legend.width(), 1024);
                EXPECT_LE(legend.height(), 1024);
            }
            ++decoded;
        }
    }
    EXPECT_EQ(decoded > 0, g_resource_count > 0);
}

}  // namespace
}  // namespace qx

// Drawing a whole face: our decoder against giflib's decode of the same
// bytes (giflib is used here only, never by the calculator).
#include <benchmark/benchmark.h>
#include <gif_lib.h>

#include <cstring>

#include "panel/images.h"
#include "panel/resources.h"

using namespace qx;

namespace {

const ResourceEntry& face() {
    static const ResourceEntry* e = find_resource("CALCULATOR_GIF", RES_PICTURE);
    return *e;
}

void BM_FaceOurDecoder(benchmark::State& state) {
    Surface screen(240, 320);
    const bool transparent = state.range(0) != 0;
    for (auto _ : state) {
        int r = decode_gif(screen, face().data, face().size, 0, 0, transparent,
                           transparent ? 172 : 128);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_FaceOurDecoder)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

struct Reader {
    const std::uint8_t* data;
    std::size_t size, pos;
};

int read_bytes(GifFileType* gif, GifByteType* out, int n) {
    auto* r = static_cast<Reader*>(gif->UserData);
    const std::size_t k = std::min<std::size_t>(static_cast<std::size_t>(n), r->size - r->pos);
    std::memcpy(out, r->data + r->pos, k);
    r->pos += k;
    return static_cast<int>(k);
}

void BM_FaceGiflib(benchmark::State& state) {
    Surface screen(240, 320);
    for (auto _ : state) {
        Reader reader{face().data, face().size, 0};
        int error = 0;
        GifFileType* gif = DGifOpen(&reader, read_bytes, &error);
        if (!gif || DGifSlurp(gif) != GIF_OK) {
            state.SkipWithError("giflib could not read the face");
            break;
        }
        // Like our decoder, end with the pixels on a surface.
        const SavedImage& image = gif->SavedImages[0];
        const ColorMapObject* map = gif->SColorMap;
        const int w = image.ImageDesc.Width, h = image.ImageDesc.Height;
        for (int y = 0; y < h; ++y) {
            std::uint8_t* row = screen.row(y);
            const GifByteType* idx = image.RasterBits + static_cast<std::size_t>(y) * w;
            for (int x = 0; x < w; ++x) {
                const GifColorType& c = map->Colors[idx[x]];
                row[3 * x] = c.Red;
                row[3 * x + 1] = c.Green;
                row[3 * x + 2] = c.Blue;
            }
        }
        DGifCloseFile(gif, &error);
    }
}
BENCHMARK(BM_FaceGiflib)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

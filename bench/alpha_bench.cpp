// The title picture's full-screen blend against a plain copy of as many
// pixels: the blend runs every title frame.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "render/render.h"

static void BM_CopyFullScreen(benchmark::State& state) {
    std::vector<uint32_t> a(640 * 480, 0x123456), b(640 * 480);
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), a.size() * 4);
        benchmark::DoNotOptimize(b.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CopyFullScreen);

static void BM_DrawAlphaFullScreen(benchmark::State& state) {
    DD_INIT(nullptr);
    SurfaceData pic = {};
    pic.surface = Plat_SurfaceCreate(640, 480);
    pic.width = 640;
    pic.height = 480;
    uint16_t* p = Plat_SurfacePixels(pic.surface);
    for (int i = 0; i < 640 * 480; i++) p[i] = (uint16_t)(i * 2654435761u >> 16);
    int f = 0;
    for (auto _ : state) {
        DrawAlpha(0, 0, pic, 0, 0, 640, 480, f++ & 255, (int)state.range(0));
        benchmark::ClobberMemory();
    }
    Plat_SurfaceFree(pic.surface);
    DD_END(nullptr);
}
// Mode 0 is the title's blend; mode 3 only copies the work image out.
BENCHMARK(BM_DrawAlphaFullScreen)->Arg(0)->Arg(1)->Arg(3);

// Mixing cost of a 32-track module over 60 seconds of output: Mixer::Mix against libopenmpt (one
// tap) and libxmp (nearest), on the same module. The figure to read is ns per channel per output
// frame: the counter "time_per_channel_frame" (CPU time, shown with its unit, e.g. "1.8ns").
#include "sound/Mixer.h"
#include "sound/ModuleData.h"
#include "tools/content/ModuleBuilder.h"

#include <benchmark/benchmark.h>

#ifdef VANTREL_HAVE_OPENMPT
#include <libopenmpt/libopenmpt.h>
#endif
#ifdef VANTREL_HAVE_XMP
#include <xmp.h>
#endif

#include <vector>

namespace {

constexpr uint32_t kTracks = 32;
constexpr size_t kFrames = 44100 * 60;
constexpr size_t kChunk = 1324;  // one device buffer

// Every track holds a looping note that changes every few rows, with a sprinkle of effects, so that
// all 32 tracks sound all the time.
const std::vector<uint8_t>& BenchModule() {
    static const std::vector<uint8_t> file = [] {
        content::ModuleBuilder b(kTracks, 4);
        for (int n = 1; n <= 8; ++n) {
            std::vector<int8_t> wave(2048 * n);
            for (size_t i = 0; i < wave.size(); ++i)
                wave[i] = static_cast<int8_t>(((i * (n + 3)) % 200) - 100);
            b.SetInstrument(n, wave, 40 + n * 3, 0, 0, static_cast<uint16_t>(wave.size() / 2));
        }
        const uint32_t periods[] = {856, 762, 678, 640, 570, 508, 453, 428,
                                    381, 339, 320, 285, 254, 226, 214};
        const uint8_t effects[][2] = {{0, 0},      {0x0, 0x37}, {0x4, 0x46},
                                      {0xA, 0x01}, {0x1, 0x01}, {0x2, 0x01}};
        for (uint32_t p = 0; p < 4; ++p)
            for (uint32_t row = 0; row < 64; row += 2)
                for (uint32_t t = 0; t < kTracks; ++t) {
                    const uint32_t k = p * 131 + row * 7 + t * 3;
                    const auto& e = effects[k % 6];
                    b.SetCell(p, row, t, 1 + k % 8, periods[k % 15], e[0], e[1]);
                }
        b.SetOrders({0, 1, 2, 3});
        return b.File();
    }();
    return file;
}

void SetCounters(benchmark::State& state) {
    state.counters["time_per_channel_frame"] =
        benchmark::Counter(double(kFrames) * kTracks,
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_MixerMix(benchmark::State& state) {
    const std::vector<uint8_t>& file = BenchModule();
    ModuleImage image;
    SplitModuleImage(file.data(), file.size(), image);
    ModuleData data;
    if (data.Set(image.header, image.patterns, image.samples, image.samples2) != 0) {
        state.SkipWithError("module refused");
        return;
    }
    data.loop = true;
    Mixer mixer;
    mixer.OpenForRendering();
    std::vector<uint8_t> buffer(kChunk * 2);
    for (auto _ : state) {
        mixer.StopAllMusic();
        mixer.PlayModule(data);
        for (size_t done = 0; done < kFrames; done += kChunk)
            mixer.Mix(buffer.data(), static_cast<u32>(buffer.size()));
        benchmark::DoNotOptimize(buffer.data());
    }
    SetCounters(state);
}
BENCHMARK(BM_MixerMix)->Unit(benchmark::kMillisecond);

#ifdef VANTREL_HAVE_OPENMPT
void BM_Libopenmpt(benchmark::State& state) {
    const std::vector<uint8_t>& file = BenchModule();
    std::vector<int16_t> buffer(kChunk);
    for (auto _ : state) {
        openmpt_module* mod = openmpt_module_create_from_memory2(file.data(), file.size(), nullptr, nullptr,
                                                                 nullptr, nullptr, nullptr, nullptr, nullptr);
        if (mod == nullptr) {
            state.SkipWithError("libopenmpt refused the module");
            return;
        }
        openmpt_module_set_repeat_count(mod, -1);
        openmpt_module_set_render_param(mod, OPENMPT_MODULE_RENDER_INTERPOLATIONFILTER_LENGTH, 1);
        openmpt_module_set_render_param(mod, OPENMPT_MODULE_RENDER_VOLUMERAMPING_STRENGTH, 0);
        for (size_t done = 0; done < kFrames; done += kChunk)
            openmpt_module_read_mono(mod, 44100, kChunk, buffer.data());
        benchmark::DoNotOptimize(buffer.data());
        openmpt_module_destroy(mod);
    }
    SetCounters(state);
}
BENCHMARK(BM_Libopenmpt)->Unit(benchmark::kMillisecond);
#endif

#ifdef VANTREL_HAVE_XMP
void BM_Libxmp(benchmark::State& state) {
    const std::vector<uint8_t>& file = BenchModule();
    std::vector<int16_t> buffer(kChunk);
    xmp_context ctx = xmp_create_context();
    if (xmp_load_module_from_memory(ctx, file.data(), static_cast<long>(file.size())) != 0) {
        state.SkipWithError("libxmp refused the module");
        xmp_free_context(ctx);
        return;
    }
    for (auto _ : state) {
        xmp_start_player(ctx, 44100, XMP_FORMAT_MONO);
        xmp_set_player(ctx, XMP_PLAYER_INTERP, XMP_INTERP_NEAREST);
        for (size_t done = 0; done < kFrames; done += kChunk)
            xmp_play_buffer(ctx, buffer.data(), static_cast<int>(kChunk * 2), 0);
        benchmark::DoNotOptimize(buffer.data());
        xmp_end_player(ctx);
    }
    xmp_release_module(ctx);
    xmp_free_context(ctx);
    SetCounters(state);
}
BENCHMARK(BM_Libxmp)->Unit(benchmark::kMillisecond);
#endif

}  // namespace

BENCHMARK_MAIN();

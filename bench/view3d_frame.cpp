// Frames of the 3D view on one core over fixed scenes of a synthetic world (a corridor, an open hall,
// a hall of pillars, and the busiest: the pillar hall dressed with roofs, masked moss, sprites with
// glows, item piles and pits), at the 380 x 320 view and the largest view the layouts give (480 x 400):
// frames per second, polygons emitted and drawn, pixels written and overdraw. The ceiling beside them
// is a plain 16-bit span fill over the same frame, in the same run.
//
// Beside the frames, real yardsticks: a memset of the view, and one plain textured pass over the whole
// view (a table lookup per pixel from a 256 x 256 texture, the coordinates stepped along each row);
// every frame also reports "plain_passes", its time over that pass's, both timed back to back.
// BM_Filler then takes each textured filler alone over the polygons the four scenes hand it, and
// reports "ratio": its time over a plain textured loop over exactly the spans it wrote, in the same run.
#include "bench/scenes/ViewScene.cpp"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>

namespace {

const std::vector<std::string> kCorridor = {
    "###########", "#.........#", "#.###.###.#", "#.#.....#.#", "#.#.###.#.#", "#...#.#...#",
    "#.#.#.#.#.#", "#.#.....#.#", "#.###.###.#", "#.........#", "###########",
};

std::vector<std::string> Hall(bool pillars) {
    std::vector<std::string> rows(35, std::string(35, '.'));
    for (int i = 0; i < 35; ++i) rows[0][i] = rows[34][i] = rows[i][0] = rows[i][34] = '#';
    if (pillars)
        for (int y = 3; y < 32; y += 3)
            for (int x = 3; x < 32; x += 3) rows[static_cast<size_t>(y)][static_cast<size_t>(x)] = '#';
    return rows;
}

struct ScenePose {
    std::vector<std::string> map;
    i32 cx, cy, angle;
};

ScenePose PoseOf(int scene) {
    switch (scene) {
    case 0: return {kCorridor, 5, 9, 0};
    case 1: return {Hall(false), 17, 30, (20 << 16) + 0x4000};
    default: return {Hall(true), 17, 31, (15 << 16) + 0x2000};
    }
}

// Every pillar roofed, every other floor cell mossy with a mask, sprites (some glowing) and item piles
// scattered, two pits.
void DressHall(scene::Scene& s) {
    using namespace scene::art;
    AddPictures(s);
    static const std::vector<u8> glow = Picture(16, 16, {0xFFFF, Rgb(255, 240, 160)}, [](int x, int y) {
        return (x - 8) * (x - 8) + (y - 8) * (y - 8) < 40 ? 1 : 0;
    });
    s.view->specialPictures[0] = glow.data();
    CBlockCacheEntry roofed;
    roofed.kind = 2;
    roofed.picture[0] = scene::kBrick;
    roofed.picture[1] = kRoof;
    roofed.model = 15;
    const u16 roof = s.AddBlock(roofed);
    CGroundCacheEntry moss;
    moss.texture[0] = scene::kFloor;
    moss.texture[1] = kMoss;
    moss.maskA = kMask;
    const u16 mossy = s.AddGround(moss);
    CGroundCacheEntry pit;
    pit.texture[0] = scene::kFloor;
    pit.flags = 1;
    const u16 pits = s.AddGround(pit);
    u16 object = 1;
    s.view->pictureGroups[1].pictures[0] = kDecal;
    s.view->pictureGroups[1].pictures[2] = kDecal;
    for (i32 y = 1; y < 34; ++y)
        for (i32 x = 1; x < 34; ++x) {
            CCellView& c = s.CellAt(x, y);
            if (s.IsWall(x, y)) {
                c.lowerBlock = roof;
                s.OverlayAt(x, y).upperBlock = 0;
                continue;
            }
            if ((x + y) % 2 == 0) c.ground = mossy;
            if ((x * 7 + y * 3) % 5 == 0 && object < 255) {
                s.view->cellObjects[object] = CCellObject{kSprite,
                                                          0,
                                                          scene::Units(400),
                                                          scene::Units(600),
                                                          0,
                                                          0,
                                                          static_cast<u16>(x % 3 == 0 ? 60 : 0)};
                c.cellObject[0] = object++;
            }
            if ((x + 2 * y) % 7 == 0) c.pictureGroup = 1;
        }
    s.CellAt(16, 27).ground = pits;
    s.CellAt(17, 27).ground = pits;
}

// A 256 x 256 texture of one byte per texel and its 256-entry table, for the plain textured loops.
struct PlainTexture {
    PlainTexture() : texels(256 * 256), table(256) {
        u32 seed = 5;
        for (u8& t : texels) t = static_cast<u8>((seed = seed * 1103515245u + 12345u) >> 16);
        for (u16& c : table) c = static_cast<u16>((seed = seed * 1103515245u + 12345u) >> 8);
    }
    std::vector<u8> texels;
    std::vector<u16> table;
};

// The plain textured loop: one span from `start`, `length` pixels `step` apart, each pixel a table
// lookup of the texel under (u, v), both stepped with 12 fraction bits and wrapped at 256.
inline void PlainSpan(const PlainTexture& t, u16* start, i32 length, i32 step, u32 u, u32 v, u32 du, u32 dv) {
    const u8* __restrict texels = t.texels.data();
    const u16* __restrict table = t.table.data();
    for (i32 k = 0; k < length; ++k, start += step, u += du, v += dv)
        *start = table[texels[((v >> 4) & 0xFF00) | ((u >> 12) & 0xFF)]];
}

// One plain textured pass over the whole view, row by row.
void PlainPass(const PlainTexture& t, u16* pixels, i32 w, i32 h) {
    for (i32 y = 0; y < h; ++y) PlainSpan(t, pixels + static_cast<size_t>(y) * w, w, 1, 0, y << 12, 3000, 700);
}

template <class F>
double Seconds(int reps, F&& f) {
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < reps; ++i) f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// Nine rounds of `own` and `base` back to back, the median of own / base.
template <class A, class B>
double MedianRatio(int reps, A&& own, B&& base) {
    std::vector<double> ratios;
    for (int round = 0; round < 9; ++round) {
        const double b = Seconds(reps, base);
        const double o = Seconds(reps, own);
        if (b > 0) ratios.push_back(o / b);
    }
    std::sort(ratios.begin(), ratios.end());
    return ratios.empty() ? 0 : ratios[ratios.size() / 2];
}

void BM_Frame(benchmark::State& state) {
    const int which = static_cast<int>(state.range(0));
    ScenePose pose = PoseOf(which);
    const i32 w = static_cast<i32>(state.range(1)), h = static_cast<i32>(state.range(2));
    scene::Scene s(pose.map, w, h, 0);
    if (which == 3) DressHall(s);
    // The surface's largest visible distance (7 cells), fog from 2 cells.
    s.view->visibleDistance = 7 * kFogStep;
    s.view->fogStart = 2 * kFogStep;
    s.Pose(pose.cx, pose.cy, 512, 512, pose.angle);
    for (auto _ : state) {
        s.Render();
        benchmark::DoNotOptimize(s.memory.data());
    }
    const CFrameStats& st = s.renderer->stats;
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["polys_emitted"] = st.polygonsEmitted;
    state.counters["polys_drawn"] = st.polygonsDrawn;
    state.counters["polys_dropped"] = st.polygonsDropped;
    state.counters["pixels"] = static_cast<double>(st.pixelsWritten);
    state.counters["overdraw"] = static_cast<double>(st.pixelsWritten) / (w * h);
    state.counters["pixel_rate"] = benchmark::Counter(
        static_cast<double>(st.pixelsWritten) * state.iterations(), benchmark::Counter::kIsRate);
    PlainTexture plain;
    std::vector<u16> view(static_cast<size_t>(w) * h);
    state.counters["plain_passes"] = MedianRatio(
        20, [&] { s.Render(); }, [&] {
            PlainPass(plain, view.data(), w, h);
            benchmark::DoNotOptimize(view.data());
        });
}

// The yardsticks of a view: a memset of it, and one plain textured pass over it.
void BM_ViewMemset(benchmark::State& state) {
    const i32 w = static_cast<i32>(state.range(0)), h = static_cast<i32>(state.range(1));
    std::vector<u16> view(static_cast<size_t>(w) * h);
    int value = 0;
    for (auto _ : state) {
        std::memset(view.data(), ++value, view.size() * 2);
        benchmark::DoNotOptimize(view.data());
        benchmark::ClobberMemory();
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_PlainTexturedPass(benchmark::State& state) {
    const i32 w = static_cast<i32>(state.range(0)), h = static_cast<i32>(state.range(1));
    PlainTexture plain;
    std::vector<u16> view(static_cast<size_t>(w) * h);
    for (auto _ : state) {
        PlainPass(plain, view.data(), w, h);
        benchmark::DoNotOptimize(view.data());
        benchmark::ClobberMemory();
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// --- each filler alone over the polygons the scenes hand it ---

struct RecordedCall {
    CFillerId id;
    CFrameTarget target;
    std::vector<CScreenVertex> vertices;
    std::vector<CUVPair> uv;
    std::vector<i16> fog;
    u32 fogColour = 0;
    std::array<CTextureDesc, 3> textures{};
    std::array<CMaskDesc, 2> masks{};
    std::array<bool, 3> hasTexture{};
    std::array<bool, 2> hasMask{};

    CFillArgs Args() const {
        CFillArgs a;
        a.target = &target;
        a.count = static_cast<i32>(vertices.size());
        a.vertices = vertices.data();
        a.texCoords = uv.empty() ? nullptr : uv.data();
        a.fog = fog.empty() ? nullptr : fog.data();
        a.fogColour = fogColour;
        for (int k = 0; k < 3; ++k) a.textures[k] = hasTexture[k] ? &textures[k] : nullptr;
        for (int k = 0; k < 2; ++k) a.masks[k] = hasMask[k] ? &masks[k] : nullptr;
        return a;
    }
};

// A run of pixels one filler call wrote: start, length and step (1 along a row, the pitch down a column).
struct WrittenSpan {
    u16* start;
    i32 length;
    i32 step;
};

constexpr size_t kFillerCount = static_cast<size_t>(CFillerId::kCount);
std::array<CTexturedFiller, kFillerCount> gRealFillers{};
std::vector<RecordedCall>* gRecorded = nullptr;

template <size_t Id>
u32 RecordingFiller(const CFillArgs& a) {
    RecordedCall c;
    c.id = static_cast<CFillerId>(Id);
    c.target = *a.target;
    c.vertices.assign(a.vertices, a.vertices + a.count);
    if (a.texCoords) c.uv.assign(a.texCoords, a.texCoords + a.count);
    if (a.fog) c.fog.assign(a.fog, a.fog + a.count);
    c.fogColour = a.fogColour;
    for (int k = 0; k < 3; ++k)
        if ((c.hasTexture[k] = a.textures[k] != nullptr)) c.textures[k] = *a.textures[k];
    for (int k = 0; k < 2; ++k)
        if ((c.hasMask[k] = a.masks[k] != nullptr)) c.masks[k] = *a.masks[k];
    gRecorded->push_back(std::move(c));
    return gRealFillers[Id](a);
}

template <size_t... I>
void InstallRecorders(CRenderer3D& r, std::index_sequence<I...>) {
    ((gRealFillers[I] = r.Filler(static_cast<CFillerId>(I)),
      gRealFillers[I] ? r.SetFiller(static_cast<CFillerId>(I), &RecordingFiller<I>) : void()),
     ...);
}

bool IsColumnFiller(CFillerId id) {
    return id == CFillerId::kColumn7 || id == CFillerId::kColumn8 || id == CFillerId::kColumn9 ||
           id == CFillerId::kColumn13 || id == CFillerId::kColumn14;
}

// Every scene at 480 x 400, one frame each, with the calls of each filler recorded; plus, per call,
// the runs of pixels it wrote (found by drawing it over two different backgrounds).
struct FillerCalls {
    std::vector<std::unique_ptr<scene::Scene>> scenes;
    std::vector<RecordedCall> calls;
    std::vector<std::vector<WrittenSpan>> spans;

    FillerCalls() {
        for (int which = 0; which < 4; ++which) {
            ScenePose pose = PoseOf(which);
            auto s = std::make_unique<scene::Scene>(pose.map, 480, 400, 0);
            if (which == 3) DressHall(*s);
            s->view->visibleDistance = 7 * kFogStep;
            s->view->fogStart = 2 * kFogStep;
            s->Pose(pose.cx, pose.cy, 512, 512, pose.angle);
            gRecorded = &calls;
            InstallRecorders(*s->renderer, std::make_index_sequence<kFillerCount>{});
            s->Render();
            gRecorded = nullptr;
            scenes.push_back(std::move(s));
        }
        for (const RecordedCall& c : calls) spans.push_back(SpansOf(c));
    }

    std::vector<WrittenSpan> SpansOf(const RecordedCall& c) {
        const CFrameTarget& t = c.target;
        const bool columns = IsColumnFiller(c.id);
        std::vector<u8> written(static_cast<size_t>(t.width) * t.height, 0);
        for (u16 background : {u16{0x0841}, u16{0xF7BE}}) {
            for (i32 y = 0; y < t.height; ++y)
                for (i32 x = 0; x < t.width; ++x) t.pixels[FrameOffset(t, x, y)] = background;
            gRealFillers[static_cast<size_t>(c.id)](c.Args());
            for (i32 y = 0; y < t.height; ++y)
                for (i32 x = 0; x < t.width; ++x)
                    if (t.pixels[FrameOffset(t, x, y)] != background) written[static_cast<size_t>(y) * t.width + x] = 1;
        }
        std::vector<WrittenSpan> out;
        const i32 outer = columns ? t.width : t.height, inner = columns ? t.height : t.width;
        for (i32 o = 0; o < outer; ++o) {
            i32 k = 0;
            while (k < inner) {
                auto at = [&](i32 i) { return columns ? written[static_cast<size_t>(i) * t.width + o] : written[static_cast<size_t>(o) * t.width + i]; };
                if (!at(k)) {
                    ++k;
                    continue;
                }
                i32 end = k;
                while (end < inner && at(end)) ++end;
                const i32 x = columns ? o : k, y = columns ? k : o;
                out.push_back({t.pixels + FrameOffset(t, x, y), end - k, columns ? t.yStep : t.xStep});
                k = end;
            }
        }
        return out;
    }
};

FillerCalls& Calls() {
    static FillerCalls calls;
    return calls;
}

void BM_Filler(benchmark::State& state) {
    const CFillerId id = static_cast<CFillerId>(state.range(0));
    FillerCalls& all = Calls();
    std::vector<size_t> mine;
    for (size_t i = 0; i < all.calls.size(); ++i)
        if (all.calls[i].id == id) mine.push_back(i);
    if (mine.empty()) {
        state.SkipWithError("no scene draws with this filler");
        return;
    }
    std::vector<CFillArgs> args;
    for (size_t i : mine) args.push_back(all.calls[i].Args());
    const CTexturedFiller filler = gRealFillers[static_cast<size_t>(id)];
    auto own = [&] {
        for (const CFillArgs& a : args) filler(a);
        benchmark::ClobberMemory();
    };
    PlainTexture plain;
    u64 pixels = 0, spans = 0;
    for (size_t i : mine) {
        spans += all.spans[i].size();
        for (const WrittenSpan& s : all.spans[i]) pixels += static_cast<u64>(s.length);
    }
    auto base = [&] {
        for (size_t i : mine)
            for (const WrittenSpan& s : all.spans[i]) PlainSpan(plain, s.start, s.length, s.step, 0, 0, 3000, 700);
        benchmark::ClobberMemory();
    };
    for (auto _ : state) own();
    state.counters["calls"] = static_cast<double>(mine.size());
    state.counters["spans"] = static_cast<double>(spans);
    state.counters["pixels"] = static_cast<double>(pixels);
    state.counters["ratio"] = MedianRatio(20, own, base);
}

// The ceiling: every pixel of a frame of the same size written once as plain
// 16-bit spans, row by row through the frame target.
void BM_SpanFillCeiling(benchmark::State& state) {
    const i32 w = static_cast<i32>(state.range(0)), h = static_cast<i32>(state.range(1));
    std::vector<u16> memory(static_cast<size_t>(w) * h);
    CFrameTarget t{memory.data(), w, 0, 1, w, w, h};
    u16 colour = 0;
    for (auto _ : state) {
        ++colour;
        for (i32 y = 0; y < h; ++y) {
            CSpan span;
            GetSpanAddresses(t, y, 0, w, span);
            for (u16* p = span.start; p != span.end; p += t.xStep) *p = static_cast<u16>(colour + y);
        }
        benchmark::DoNotOptimize(memory.data());
    }
    state.counters["pixel_rate"] =
        benchmark::Counter(static_cast<double>(w) * h * state.iterations(), benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(BM_Frame)->ArgsProduct({{0, 1, 2, 3}, {380}, {320}})->ArgNames({"scene", "w", "h"});
BENCHMARK(BM_Frame)->ArgsProduct({{0, 1, 2, 3}, {480}, {400}})->ArgNames({"scene", "w", "h"});
BENCHMARK(BM_SpanFillCeiling)->Args({380, 320})->Args({480, 400});
BENCHMARK(BM_ViewMemset)->Args({480, 400});
BENCHMARK(BM_PlainTexturedPass)->Args({480, 400});
BENCHMARK(BM_Filler)->DenseRange(static_cast<int>(CFillerId::kAxisU1), static_cast<int>(CFillerId::kBackground))->ArgName("filler");
BENCHMARK_MAIN();

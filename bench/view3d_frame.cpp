// Frames of the 3D view on one core over fixed scenes of a synthetic world (a corridor, an open hall,
// a hall of pillars, and the busiest: the pillar hall dressed with roofs, masked moss, sprites with
// glows, item piles and pits), at the 380 x 320 view and the largest view the layouts give (480 x 400):
// frames per second, polygons emitted and drawn, pixels written and overdraw. The ceiling beside them
// is a plain 16-bit span fill over the same frame, in the same run.
#include "bench/scenes/ViewScene.cpp"

#include <benchmark/benchmark.h>

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
BENCHMARK_MAIN();

// World loading: the built base world (with the resource world's pictures) beside a generated world
// ten times its size (ten times the sections, the kind records and the pictures), read by the game's
// loader from open to the shared lists; and start-up to the first splash frame with the four world
// databases present, beside start-up with the interface database alone.
#include "app/Game.h"
#include "app/MainFrame.h"
#include "core/FileFinder.h"
#include "core/PdbFile.h"
#include "data/TextureSet.h"
#include "data/World.h"
#include "data/WorldLists.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/SettingsStore.h"
#include "platform/headless/HeadlessWindow.h"
#include "tools/content/world/GameWorlds.h"
#include "tools/content/world/WorldWriter.h"

#include "bench/BenchFolder.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>
#include <string>

namespace {

using bench_support::BenchFolder;

// The base world with the resource world's pictures, every list repeated `scale` times under new ids.
world::Content ScaledWorld(int scale) {
    world::Content base = world::BaseWorld();
    const world::Content res = world::ResourceWorld();
    world::Content out = base;
    out.pictures.clear();
    out.seconds.clear();
    out.sections.clear();
    out.mapObjects.clear();
    out.quests.clear();
    out.scripts.clear();
    out.globals.clear();
    out.skies.clear();
    out.tableC.clear();
    for (int k = 0; k < scale; ++k) {
        const std::string s = "_" + std::to_string(k);
        for (world::Picture p : res.pictures) {
            p.name += s;
            out.pictures.push_back(p);
        }
        for (world::SecondPicture p : res.seconds) {
            p.name += s;
            out.seconds.push_back(p);
        }
        for (world::Section sec : base.sections) {
            sec.id += s;
            out.sections.push_back(sec);
        }
        for (world::MapObject o : base.mapObjects) {
            o.id += s;
            out.tableC.push_back(o.id);
            out.mapObjects.push_back(o);
        }
        for (world::Quest q : base.quests) {
            q.id += s;
            out.quests.push_back(q);
        }
        for (world::Script sc : base.scripts) {
            sc.id += s;
            out.scripts.push_back(sc);
        }
        for (const std::string& g : base.globals) out.globals.push_back(g + s);
        for (world::Sky sky : res.skies) {
            sky.id += s;
            out.skies.push_back(sky);
        }
    }
    return out;
}

// Writes the world of `scale` times the base world into the folder as VantrelBase.pdb.
bool WriteScaledWorld(const BenchFolder& folder, int scale, world::Content& c) {
    c = ScaledWorld(scale);
    return world::WriteWorldDatabase(c, world::BuildWorld(c), folder.Path() + "VantrelBase.pdb");
}

// One load of the world database that the finder's folder holds, from open to the shared lists.
bool LoadOnce(CFileFinder& finder, const char* name) {
    CTextureSet textures;
    CWorldLists lists(textures);
    auto db = std::make_unique<CPdbFile>(nullptr, &finder);
    db->Open(name, "VnTl");
    CWorld w;
    if (!w.Load(std::move(db), lists)) return false;
    lists.AfterLoad();
    benchmark::DoNotOptimize(w.SectionCount());
    lists.Clear();
    return true;
}

void BM_LoadWorld(benchmark::State& state) {
    BenchFolder folder;
    CFileFinder finder;
    finder.SetFolder(folder.Path());
    world::Content c;
    if (!WriteScaledWorld(folder, static_cast<int>(state.range(0)), c)) {
        state.SkipWithError("cannot write the world");
        return;
    }
    for (auto _ : state) {
        if (!LoadOnce(finder, "VantrelBase")) {
            state.SkipWithError("the world does not load");
            return;
        }
    }
    state.counters["pictures"] = static_cast<double>(c.pictures.size());
    state.counters["sections"] = static_cast<double>(c.sections.size());
}
BENCHMARK(BM_LoadWorld)->Arg(1)->Arg(10)->Arg(20)->Unit(benchmark::kMicrosecond);

// How the load grows with the world: the 1x and the 20x world loaded back to back in the same run
// (seven rounds, the median), "ratio" the 20x load's time over the 1x load's. A load that is linear
// in the world's size gives about 20.
void BM_LoadWorldGrowth(benchmark::State& state) {
    BenchFolder small, large;
    CFileFinder smallFinder, largeFinder;
    smallFinder.SetFolder(small.Path());
    largeFinder.SetFolder(large.Path());
    world::Content c;
    if (!WriteScaledWorld(small, 1, c) || !WriteScaledWorld(large, 20, c)) {
        state.SkipWithError("cannot write the worlds");
        return;
    }
    auto timed = [](int reps, CFileFinder& f) {
        const auto t0 = std::chrono::steady_clock::now();
        for (int i = 0; i < reps; ++i) LoadOnce(f, "VantrelBase");
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    };
    std::vector<double> ratios;
    for (auto _ : state) {
        ratios.clear();
        for (int round = 0; round < 7; ++round) {
            const double one = timed(20, smallFinder);
            const double twenty = timed(1, largeFinder);
            if (one > 0) ratios.push_back(twenty / (one / 20));
        }
    }
    std::sort(ratios.begin(), ratios.end());
    if (!ratios.empty()) state.counters["ratio"] = ratios[ratios.size() / 2];
}
BENCHMARK(BM_LoadWorldGrowth)->Iterations(1)->Unit(benchmark::kMillisecond);

// Start-up of the whole game on a headless window until the splash screen has drawn its first frame.
void BM_StartToSplash(benchmark::State& state) {
    BenchFolder folder;
    const bool withWorlds = state.range(0) != 0;
    const std::string bin = VANTREL_BINARY_DIR;
    for (const char* name : {"VantrelData", "VantrelMusic", "VantrelSound", "VantrelRes", "VantrelBase"}) {
        if (!withWorlds && std::string(name) != "VantrelData") continue;
        std::error_code error;
        std::filesystem::copy_file(bin + "/" + name + ".pdb", folder.Path() + name + ".pdb", error);
        if (error) {
            state.SkipWithError("the build's databases are missing");
            return;
        }
    }
    const std::string saved = plat::ProgramFolder();
    plat::SetProgramFolder(folder.Path());
    plat::ManualClock clock;
    plat::ScopedClock scopedClock{clock};
    plat::MemorySettingsStore store;
    plat::ScopedSettings scopedStore{store};
    for (auto _ : state) {
        auto frame = std::make_unique<CMainFrame>(plat::CreateHeadlessWindow());
        if (!frame->CreateMainWindow()) {
            state.SkipWithError("start-up failed");
            break;
        }
        frame->OnTimer(0);
        benchmark::DoNotOptimize(frame->game->currentScreen);
    }
    plat::SetProgramFolder(saved);
    state.SetLabel(withWorlds ? "four worlds" : "interface database alone");
}
BENCHMARK(BM_StartToSplash)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

// A real frame of the running game: the frame's timer message (the game view's tick, its drawing of
// the 3D view and the HUD, and the present to a headless window) in the built world's town, cellar
// and crypt, standing still, with the 3D view filled anew every frame ("redrawn") and with the view
// left as it is when nothing in it changed ("kept"). Beside them, in the same run, the yardsticks: a
// copy of the whole frame buffer, and the 3D view alone filled once in the same place.
#include "app/Game.h"
#include "app/MainFrame.h"
#include "data/MapSection.h"
#include "display/Video.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/SettingsStore.h"
#include "platform/headless/HeadlessWindow.h"
#include "ui/ScreenIds.h"
#include "world/GameScreen.h"

#include "bench/BenchFolder.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using bench_support::BenchFolder;

struct SceneSpot {
    const char* map;
    const char* entry;  // the place the map lets the player in at; null: where the new game begins
    const char* name;
};

// The town's square before the house door, the cellar where the game begins, the crypt from its
// ladder.
constexpr SceneSpot kSpots[] = {
    {"base_s0202", "base_s0202townportal", "town"},
    {"base_cellar", nullptr, "cellar"},
    {"base_crypt", "base_crypt_arrive", "crypt"},
};

// The whole game on a headless window in a folder with the built databases, a new game entered in
// the view on one of the maps, its creatures sent away so that the frame stays the same.
class GameScene {
public:
    bool Start(const SceneSpot& spot) {
        const std::string bin = VANTREL_BINARY_DIR;
        for (const char* name : {"VantrelData", "VantrelMusic", "VantrelSound", "VantrelRes", "VantrelBase"}) {
            std::error_code error;
            std::filesystem::copy_file(bin + "/" + name + ".pdb", folder_.Path() + name + ".pdb", error);
            if (error) return false;
        }
        saved_ = plat::ProgramFolder();
        plat::SetProgramFolder(folder_.Path());
        auto w = plat::CreateHeadlessWindow();
        window_ = w.get();
        frame_ = std::make_unique<CMainFrame>(std::move(w));
        SetMainFrame(frame_.get());
        if (!frame_->CreateMainWindow()) return false;
        window_->SetFocus(true);
        CGame* game = frame_->game.get();
        frame_->OnKeyDown(27);
        game->ResetWorld();
        if (!game->OpenGameDatabases(nullptr) || !game->NewGame(nullptr)) return false;
        CScreen* current = game->currentScreen;
        current->entryA = 1;
        current->entryB = current->entryC = current->entryD = 0;
        current->keepOnStack = 0;
        game->SwitchScreen(kScreenGame);
        Settle();
        view_ = game->GetGameScreen();
        if (game->currentScreen != view_) return false;
        if (spot.entry && !view_->ChangeMap(spot.entry, 0)) return false;
        Settle();
        if (!view_->section || std::strcmp(view_->section->GetName(), spot.map) != 0) return false;
        for (const CMonster& m : view_->section->monsters) view_->window.RemoveCreatureFromCell(view_->section, m);
        view_->section->monsters.clear();
        view_->EnterCreatures();
        Settle();
        for (int i = 0; i < 100; ++i) Frame();
        return true;
    }
    ~GameScene() {
        frame_.reset();
        SetMainFrame(nullptr);
        if (!saved_.empty()) plat::SetProgramFolder(saved_);
    }
    void Frame() {
        clock_.Advance(30);
        frame_->OnTimer(0);
    }
    CGameScreen* View() const { return view_; }
    CGame* Game() const { return frame_->game.get(); }

private:
    void Settle() {
        for (int i = 0; i < 60; ++i) Frame();
    }
    BenchFolder folder_;
    plat::ManualClock clock_;
    plat::ScopedClock scopedClock_{clock_};
    plat::MemorySettingsStore store_;
    plat::ScopedSettings scopedStore_{store_};
    std::string saved_;
    plat::HeadlessWindow* window_ = nullptr;
    std::unique_ptr<CMainFrame> frame_;
    CGameScreen* view_ = nullptr;
};

// range(0): the scene; range(1): 1 fills the 3D view anew every frame, 0 keeps it when unchanged.
void BM_GameFrame(benchmark::State& state) {
    const SceneSpot& spot = kSpots[state.range(0)];
    GameScene scene;
    if (!scene.Start(spot)) {
        state.SkipWithError("the game did not reach the scene (are the built databases there?)");
        return;
    }
    const bool redraw = state.range(1) != 0;
    double filled = 0;
    for (auto _ : state) {
        if (redraw) scene.View()->renderer.ForgetKeptFrame();
        scene.Frame();
        filled += scene.View()->renderer.frameReused ? 0 : 1;
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    // The share of frames whose 3D view was filled (1 when every frame is).
    state.counters["filled"] = benchmark::Counter(filled, benchmark::Counter::kAvgIterations);
    state.SetLabel(std::string(spot.name) + (redraw ? ", 3D view redrawn" : ", 3D view kept when unchanged"));
}
BENCHMARK(BM_GameFrame)
    ->ArgsProduct({{0, 1, 2}, {1, 0}})
    ->Unit(benchmark::kMicrosecond);

// The 3D view alone, filled once per iteration in the scene's place.
void BM_GameView3D(benchmark::State& state) {
    const SceneSpot& spot = kSpots[state.range(0)];
    GameScene scene;
    if (!scene.Start(spot)) {
        state.SkipWithError("the game did not reach the scene");
        return;
    }
    CRenderer3D& renderer = scene.View()->renderer;
    for (auto _ : state) {
        renderer.ForgetKeptFrame();
        renderer.RenderFrame();
    }
    state.SetLabel(spot.name);
}
BENCHMARK(BM_GameView3D)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

// Yardstick: one copy of a whole 800 x 584 frame buffer, the least a frame that changed everywhere
// could cost.
void BM_FrameBufferCopy(benchmark::State& state) {
    std::vector<u16> from(800 * 584, 0x1234), to(800 * 584);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size() * sizeof(u16));
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FrameBufferCopy)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

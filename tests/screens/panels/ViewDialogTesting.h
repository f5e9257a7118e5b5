// The surroundings of the game view's spell and travel dialogs in tests: a host over the base world's
// rules and a player that logs, in order, every message, map change, travel and sound it is asked for;
// and the rig that shows a dialog as the modal child of an owner on the started game.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/Game.h"
#include "display/FontSet.h"
#include "display/Video.h"
#include "screens/panels/GameViewDialogHost.h"
#include "ui/Screen.h"
#include "tests/screens/npc/CraftTestSupport.h"
#include "tests/support/FrameRig.h"
#include "tests/world/PlayerFixture.h"
#include "ui/WidgetHelpers.h"

namespace view_dialog_testing {

class FakeViewDialogHost : public IGameViewDialogHost {
public:
    explicit FakeViewDialogHost(PlayerWorld& world) : world_(world) {}

    CPlayer* GetPlayer() override { return &world_.player; }
    const CRuleContext* GetRules() override { return &world_.rules; }
    bool GetCurrentPlace(CMarkPlace& out) override {
        out = place;
        return inMap;
    }
    bool HasWorld(const char* id) const override {
        for (const auto& map : maps)
            if (map.first.substr(0, 4) == std::string(id).substr(0, 4)) return true;
        return false;
    }
    bool HasMap(const char* worldId, const char* mapId) const override {
        for (const auto& map : maps)
            if (map.first.substr(0, 4) == std::string(worldId).substr(0, 4) && map.second == mapId) return true;
        return false;
    }
    void TravelToMark(const CMarkedPosition& mark) override {
        log.push_back("travel " + mark.world + " " + mark.map + " " + std::to_string(mark.x) + "," +
                      std::to_string(mark.y) + " " + std::to_string(mark.facing));
    }
    void ShowGameMessage(const char* text) override { log.push_back(std::string("message ") + text); }
    void StopQueuedSounds(bool stopMusic) override {
        log.push_back(stopMusic ? "stop queued sounds and music" : "stop queued sounds");
    }
    void StopAllSamples() override { log.push_back("stop samples"); }
    void ChangeMap(const char* destination) override { log.push_back(std::string("change map ") + destination); }
    void PlayNamedSound(const char* name, bool looped) override {
        log.push_back(std::string(looped ? "loop " : "play ") + name);
    }

    // The open worlds' maps: (world id, map id).
    std::set<std::pair<std::string, std::string>> maps;
    CMarkPlace place;
    bool inMap = true;
    std::vector<std::string> log;

private:
    PlayerWorld& world_;
};

// The screen that owns a dialog in the tests: it records each command the dialog hands it and takes
// the dialog down, as the game view does.
using OwnerScreen = craft_testing::RecordingOwner<CScreen>;

// The started game on the built interface database, in a layout mode, with the owner screen current:
// taps and commands reach a dialog through the frame and the game as they do in play.
struct DialogRig : testing_support::FrameRig {
    bool Start(u32 layoutMode = 15) {
        if (!StartOnBuiltDatabase()) return false;
        if (layoutMode != Game()->layoutMode && !SwitchTo(layoutMode)) return false;
        auto screen = std::make_unique<OwnerScreen>();
        owner = screen.get();
        Game()->SetScreen(kScreenPanels, std::move(screen));
        owner->Attach(Game());
        Game()->SwitchScreen(kScreenPanels);
        SetInterfaceSoundListener([this](u16 record, i32) { clicks.push_back(record); });
        return Current() == owner;
    }
    ~DialogRig() { SetInterfaceSoundListener(nullptr); }
    // The layout with its own interface pictures and fonts, as a start in that mode loads them.
    bool SwitchTo(u32 layoutMode) {
        CGame& game = *Game();
        game.SwitchLayoutMode(layoutMode);
        for (int i = 0; i < kInterfacePictureCount; ++i) game.SetInterfacePicture(i, nullptr);
        u16 missing = 0;
        return game.LoadInterfacePictures(&missing) && game.fonts->LoadFonts(game, game.video->GetRenderer());
    }
    // Attaches the dialog (once, as its owner does when it is made) and shows it.
    void Show(CForm& dialog) {
        dialog.Attach(Game());
        owner->OpenModal(&dialog);
    }
    void Reopen(CForm& dialog) { owner->OpenModal(&dialog); }
    // Lets the input guards pass, as the next timer tick does.
    void NextTick() { Game()->tickCounter++; }
    // A tap in the middle of a widget, after the guards let it through.
    void TapOn(const CWidget& widget) {
        NextTick();
        Tap(widget.x + widget.w / 2, widget.y + widget.h / 2);
    }
    // The dialog drawn over a dark frame with the 3D view's rectangle a little lighter.
    testing_support::Rgb565Image Draw(CForm& dialog) {
        CVideo& video = *Game()->video;
        i32 width = 0, height = 0;
        GameFrameBufferSize(Game(), width, height);
        video.FillRect(0, 0, width, height, 0x0841);
        const CViewRect view = GameViewRect(Game());
        video.FillRect(view.x, view.y, view.width, view.height, 0x2945);
        dialog.flags |= kFormRedrawAll;
        dialog.Draw();
        return Capture();
    }

    OwnerScreen* owner = nullptr;
    std::vector<u16> clicks;
};

}  // namespace view_dialog_testing

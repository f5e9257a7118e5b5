// The built world's new game with its map objects within reach: the creatures of the current map
// sent away, the player put on a cell looking one way, the use key, and what the view has queued.
#pragma once

#include <string>

#include "data/MapSection.h"
#include "tests/app/NewGameRig.h"
#include "tests/support/Png.h"
#include "ui/ButtonBar.h"
#include "world/GameScreen.h"
#include "world/MapObject.h"

namespace testing_support {

struct PlayRig : NewGameRig {
    static constexpr u32 kUseKey = 32;  // Space: "Use"

    bool Start() {
        if (!StartNewGame()) return false;
        Calm();
        return true;
    }
    // The creatures of the current map go, so that nothing walks up or strikes while the test acts.
    void Calm() {
        CGameScreen* view = View();
        if (!view->section) return;
        for (const CMonster& m : view->section->monsters) view->window.RemoveCreatureFromCell(view->section, m);
        view->section->monsters.clear();
        view->EnterCreatures();
        SettleView();
    }
    // Puts the player on a cell (section cells) looking one way, as a step and a turn would.
    void PlaceAt(i32 x, i32 y, i32 facing) {
        CGameScreen* view = View();
        view->facing = view->targetFacing = facing;
        view->SetPosition(x, y);
        SettleView();
    }
    // The use key on what stands in front.
    void Use() { Key(kUseKey); }
    CPlacement* Placement(const char* name) const {
        return View()->section ? const_cast<CPlacement*>(View()->section->FindPlacementByName(name)) : nullptr;
    }
    // The text of the last message the view has queued ("" when none).
    std::string LastQueuedText() const {
        const auto& events = View()->events;
        return events.empty() ? std::string() : std::string(events.back()->text.GetText());
    }
    // Ticks until the placement's door stands open (opening and closed bits clear).
    bool TickUntilOpen(const CPlacement& door) {
        for (int i = 0; i < 200 && (door.flags & (mapobject::kOpening | mapobject::kClosed)); ++i) Tick(30);
        return (door.flags & (mapobject::kOpening | mapobject::kClosed)) == 0;
    }
    // The whole frame drawn afresh (no remains of a message box closed before).
    testing_support::Rgb565Image FreshFrame() {
        View()->flags |= kFormRedrawAll;
        Tick(30);
        return Capture();
    }
    // Closes the message box that shows, with its Ok.
    void CloseMessage() {
        CGameScreen* view = View();
        SettleView();
        if (view->screenMode == CGameScreen::kModeMessage) view->OnCommand(CButtonBar::kOk);
        SettleView();
    }
};

}  // namespace testing_support

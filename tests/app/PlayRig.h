// A new game in the game view, made quiet and handy for tests that walk up to things: the creatures
// of the map sent away, the player put on a cell, the use key, the messages closed.
#pragma once

#include <string>

#include "data/MapSection.h"
#include "tests/app/NewGameRig.h"
#include "tests/support/Png.h"
#include "ui/ButtonBar.h"
#include "world/GameScreen.h"
#include "world/MapObject.h"

namespace testing_support {

constexpr u32 kUseKey = 32;  // Space: "Use"
constexpr i32 kNorth = 0, kWest = 90, kSouth = 180;

struct PlayRig : NewGameRig {
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
    Rgb565Image FreshFrame() {
        View()->flags |= kFormRedrawAll;
        Tick(30);
        return Capture();
    }
    // The pixels that differ between two frames in the middle third of the 3D view's width, from its
    // top down to `thirds` thirds of its height (where the thing ahead shows).
    int DifferingInTheMiddle(const Rgb565Image& a, const Rgb565Image& b, int thirds = 3) const {
        const auto& v = View()->viewState;
        const int top = static_cast<int>(v.viewY), bottom = static_cast<int>(v.viewY + v.viewHeight * thirds / 3);
        const int left = static_cast<int>(v.viewX + v.viewWidth / 3),
                  right = static_cast<int>(v.viewX + v.viewWidth * 2 / 3);
        int n = 0;
        for (int y = top; y < bottom && y < a.height; ++y)
            for (int x = left; x < right && x < a.width; ++x) n += a.At(x, y) != b.At(x, y);
        return n;
    }
    // The view's description of the thing standing in a cell (section cells of an underground map).
    const CBlockCacheEntry& GateEntry(i32 x, i32 y) const {
        const CViewState3D& v = View()->viewState;
        return v.blockCache[v.cellViews[static_cast<size_t>(y * kWindowCells + x)].lowerBlock];
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

// A new game in the game view on the built world, as the tests that play it begin: past the splash,
// the game databases open, the new player made, the view entered at the start.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Game.h"
#include "data/CreatureCatalogue.h"
#include "data/MapSection.h"
#include "data/World.h"
#include "data/WorldList.h"
#include "screens/npc/ServicesScreen.h"
#include "tests/support/FrameRig.h"
#include "ui/ScreenIds.h"
#include "data/WorldLists.h"
#include "screens/npc/TalkScreen.h"
#include "script/ScriptContext.h"
#include "script/ScriptEngine.h"
#include "tools/scriptasm/ScriptAssembler.h"
#include "world/GameEvent.h"
#include "world/Creatures.h"
#include "world/GameScreen.h"

namespace testing_support {

struct NewGameRig : FrameRig {
    bool StartNewGame() {
        if (!StartOnBuiltDatabase()) return false;
        Key(27);
        return EnterNewGame();
    }
    // From the front end (past the splash): the game databases opened afresh, a new player, the view.
    bool EnterNewGame() {
        Game()->ResetWorld();
        if (!Game()->OpenGameDatabases(nullptr) || !Game()->NewGame(nullptr)) return false;
        CScreen* current = Current();
        current->entryA = 1;
        current->entryB = current->entryC = current->entryD = 0;
        current->keepOnStack = 0;
        Game()->SwitchScreen(kScreenGame);
        SettleView();
        return Current() == View();
    }
    CGameScreen* View() const { return Game()->GetGameScreen(); }
    // The player's taps: each is followed by a tick, as the frame's timer runs between two taps.
    void TapWidget(const CWidget& w) {
        Tap(w.x + w.w / 2, w.y + w.h / 2);
        Tick(30);
    }
    // The services menu's button of a command, tapped, and a tick more for what it opens.
    bool TapService(CServicesScreen& services, u32 command) {
        for (size_t i = 0; i < services.buttons.size(); ++i)
            if (static_cast<u32>(services.buttons[i].command) == command) {
                TapWidget(services.menuButtons[i]);
                Tick(30);
                return true;
            }
        return false;
    }
    // Ticks until the view is idle again (a step takes 8 phases of 25 ms), then one more.
    void SettleView() {
        for (int i = 0; i < 40 && View()->IsBusy(); ++i) Tick(30);
        Tick(30);
    }
    // A new game, then the player in the town square, facing south.
    bool StartInTown() {
        if (!StartNewGame()) return false;
        CWorld* world = Game()->worlds->Current();
        CMapSection* town = world ? world->FindSectionByName("base_s0202") : nullptr;
        if (!town) return false;
        View()->EnterMapAt(world, town, 12, 12, 2);
        SettleView();
        return View()->section == town;
    }
    // The current map with one hostile creature of a kind at a section cell and no other creature;
    // null when the kind or the cell cannot take it.
    CMonster* OnlyHostileAt(const char* kind, i32 x, i32 y) {
        CGameScreen* view = View();
        CMapSection* map = view->section;
        const CMonsterType* type = Game()->GetWorldLists()->creatures.FindMonsterType(kind);
        if (!map || !type) return nullptr;
        for (const CMonster& m : map->monsters) view->window.RemoveCreatureFromCell(map, m);
        map->monsters.clear();
        CMonster* m = map->CreateMonster(type, x, y);
        if (!m) return nullptr;
        m->flags = creature::kTypeAggression;
        view->window.PlaceObjectNear(map, *m, x, y);
        view->EnterCreatures();
        return m;
    }
    // A talk with an NPC as a script or a creature starts it: the greeting comes with the talk's first
    // tick, input from the tick after it.
    CScreen* TalkTo(const char* npc) {
        View()->PostTalkEvent(npc);
        for (int i = 0; i < 3; ++i) Tick(30);
        return Current();
    }
};

// The new game in the town, with the taps that the NPC screens take.
struct TownRig : NewGameRig {
    void TapWidget(const CWidget& w) { Tap(w.x + w.w / 2, w.y + w.h / 2); }
    // The services menu button of a command.
    bool TapService(CServicesScreen& services, u32 command) {
        for (size_t i = 0; i < services.buttons.size(); ++i)
            if (static_cast<u32>(services.buttons[i].command) == command) {
                TapWidget(services.menuButtons[i]);
                return true;
            }
        return false;
    }
    bool TapTalkLink(CTalkScreen& talk, u32 command) {
        for (const auto& link : talk.links)
            if (link->commandId == command) {
                TapWidget(*link);
                return true;
            }
        return false;
    }
    // One tick for the dialog to open and one for its pen guard.
    void Settle() {
        Tick(30);
        Tick(30);
    }
    // A dialog's closing button: the owner has no modal child after it.
    void CloseWith(const CForm& owner, const CWidget& button) {
        Tick(30);
        TapWidget(button);
        EXPECT_EQ(owner.modalChild, nullptr);
        Settle();
    }
};

// The new game in the town, with script text run there as a map object's script would run it.
struct ScriptedTownRig : NewGameRig {
    // Runs the script text as a map object's script of the town would run: its messages go to the view.
    i32 Run(const std::string& source) {
        scriptasm::Result assembled = scriptasm::Assemble(source, scriptasm::Options{});
        EXPECT_TRUE(assembled.ok) << assembled.error << "\n" << source;
        code_ = assembled.bytes;
        CScriptContext* context = Game()->GetScriptContext();
        CScriptEngine* engine = context ? context->GetEngine() : nullptr;
        if (!engine) return -1;
        context->SetupEvent(kEventUse, nullptr, View()->section, nullptr, View()->playerX, View()->playerY,
                            -1, 1, kRouteGameView);
        const i32 loaded = engine->LoadScript(code_.data(), static_cast<u32>(code_.size()));
        return loaded ? loaded : engine->Run();
    }
    // The script variable x after a run, as text.
    std::string X() const {
        const CScriptValue* x = Game()->GetScriptContext()->GetEngine()->FindVariable("x");
        return x ? x->GetText() : "(none)";
    }
    // The texts of the messages waiting in the view's events.
    std::string PendingMessages() const {
        std::string all;
        for (const auto& event : View()->events)
            if (event->type == kEventMessage) all += std::string(event->text.GetText()) + "|";
        return all;
    }

private:
    std::vector<u8> code_;
};

}  // namespace testing_support

// The game view on the built world, headless with the manual clock and a seeded generator: the host
// that hands the view the world's lists, textures and script context, and a fixture whose view has
// entered the start map (the cellar) with a player at his defaults.
#pragma once

#include <gtest/gtest.h>

#include "core/Random.h"
#include "data/RuleContext.h"
#include "tests/data/BuiltWorld.h"
#include "tests/ui/WidgetRig.h"
#include "tests/world/CreatureFixture.h"
#include "world/GameScreen.h"

namespace builtview {

class BuiltHost : public IGameViewHost {
public:
    BuiltHost(fixtures::BuiltWorld& built, CRandom& random) : built_(built), random_(random) {}
    CWorldList* GetWorldList() const override { return nullptr; }
    CWorldLists* GetWorldLists() const override { return &built_.lists; }
    CTextureSet& GetTextures() override { return built_.textures; }
    CScriptContext* GetScriptContext() override { return context; }
    CRandom* GetRandom() const override { return &random_; }
    const char* GetPendingMapName() const override { return "base_start"; }
    void SetCurrentWorld(CWorld*) override {}

    CScriptContext* context = nullptr;  // none unless a test runs scripts

private:
    fixtures::BuiltWorld& built_;
    CRandom& random_;
};

class BuiltViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(built.Loaded());
        rig.clock.SetTime(1765432100);
        random.Seed(nullptr);
        BindToBuiltWorld(built, rules, player, random);
        player.ResetToDefaults();
        view = rig.gameScreen;
        view->SetHost(&host);
        view->AttachPlayer(&player);
        view->world = built.base.get();
        rig.game.currentScreen = view;
        view->Enter(1, 0, 0, 0);
        ASSERT_NE(view->section, nullptr);
    }
    void TearDown() override { view->AttachPlayer(nullptr); }

    // One frame's tick, 26 ms of the manual clock later.
    u32 Tick() {
        rig.clock.Advance(26);
        ++rig.game.tickCounter;
        return view->OnTick(rig.game.tickCounter);
    }
    u32 Key(u32 command) {
        ++rig.game.tickCounter;
        return view->OnKey(command);
    }

    fixtures::BuiltWorld built;
    widgetrig::Rig rig{15, 480, 400, {0, 0, 380, 320}};
    CRandom random;
    CRuleContext rules;
    CPlayer player;
    BuiltHost host{built, random};
    CGameScreen* view = nullptr;
};

}  // namespace builtview

// The world's scripts acting on the running game's view: the weather and the sky, a section's fog in
// any open world, item values, the prison, scenes, music, the voyage home from an additional world,
// and creatures made at a placed object. Each runs as a map object's script of the town would run.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/Game.h"
#include "data/CreatureCatalogue.h"
#include "data/ItemType.h"
#include "data/MapSection.h"
#include "data/RuleContext.h"
#include "data/World.h"
#include "data/WorldList.h"
#include "data/WorldLists.h"
#include "script/ScriptContext.h"
#include "tests/app/NewGameRig.h"
#include "ui/ScreenIds.h"
#include "world/GameEvent.h"
#include "world/GameScreen.h"
#include "world/Player.h"

namespace {

using testing_support::ScriptedTownRig;

constexpr u32 kNoon = 1440 + 12 * 60;

CMapSection* Section(ScriptedTownRig& rig, const char* name) {
    return rig.Game()->worlds->Current()->FindSectionByName(name);
}

// The types of the events waiting in the view, in order.
std::string EventTypes(const CGameScreen& view) {
    std::string all;
    for (const auto& e : view.events) all += std::to_string(e->type) + "|";
    return all;
}

struct Row {
    const char* source;
    const char* x;  // x after the run, or null
    std::function<void(ScriptedTownRig&)> prepare;
    std::function<void(ScriptedTownRig&)> check;
};

TEST(ScriptWorldInGame, EachWorldCommandReachesTheView) {
    const auto nothing = [](ScriptedTownRig&) {};
    // The sky and fog the view holds at noon in the town with no sky of a script's choosing.
    const auto noonSky = [](ScriptedTownRig& rig) {
        rig.View()->gameClock.minutes = kNoon;
        rig.View()->skyName.clear();
        rig.View()->UpdateSkyPicture();
    };
    const Row rows[] = {
        // The rain is the weather's intensity, held where the script put it (0..999).
        {"setweatherrain(5000); x = getweatherrain();", "999", nothing,
         [](ScriptedTownRig& rig) {
             EXPECT_EQ(rig.View()->weather.intensity, 999);
             EXPECT_EQ(rig.View()->weather.target, 999);
         }},
        {"setweatherrain(-3); x = getweatherrain();", "0",
         [](ScriptedTownRig& rig) { rig.View()->weather.intensity = rig.View()->weather.target = 600; },
         [](ScriptedTownRig& rig) { EXPECT_EQ(rig.View()->weather.timer, CWeather::kClearTimer); }},
        // The cloud value is clamped; a sky the world has is drawn at once, one it lacks is forgotten.
        {"setweathercloud(\"bres_skynight\", 140); x = getweathercloud();", "100", noonSky,
         [](ScriptedTownRig& rig) {
             EXPECT_EQ(rig.View()->skyName, "bres_skynight");
             const u16 night = rig.View()->viewState.skyTexture;
             rig.View()->skyName.clear();
             rig.View()->UpdateSkyPicture();
             EXPECT_NE(night, rig.View()->viewState.skyTexture) << "the noon sky stayed";
         }},
        {"setweathercloud(\"bres_nosuchsky\", -5); x = getweathercloud();", "0", noonSky,
         [](ScriptedTownRig& rig) { EXPECT_EQ(rig.View()->skyName, ""); }},
        {"setweathercloud(\"\", 30); x = getweathercloud();", "30",
         [](ScriptedTownRig& rig) { rig.View()->skyName = "bres_skynight"; },
         [](ScriptedTownRig& rig) { EXPECT_EQ(rig.View()->skyName, ""); }},
        // A cellar's fog from the town: distance clamped to 0..100, six hex digits or black.
        {"setmapfog(\"base_cellar\", 140, \"FF0000\");", nullptr, nothing,
         [](ScriptedTownRig& rig) {
             EXPECT_EQ(Section(rig, "base_cellar")->bytes[0], 100);
             EXPECT_EQ(Section(rig, "base_cellar")->lightBColour, 0xF800);
         }},
        {"setmapfog(\"base_cellar\", 40, \"F00\");", nullptr, nothing,
         [](ScriptedTownRig& rig) {
             EXPECT_EQ(Section(rig, "base_cellar")->bytes[0], 40);
             EXPECT_EQ(Section(rig, "base_cellar")->lightBColour, 0);
         }},
        {"setmapfog(\"base_cellar\", 5, \"00FF00\"); resetmapfog(\"base_cellar\");", nullptr, nothing,
         [](ScriptedTownRig& rig) {
             const CMapSection* cellar = Section(rig, "base_cellar");
             EXPECT_EQ(cellar->bytes[0], cellar->storedViewDistance);
             EXPECT_EQ(cellar->lightBColour, cellar->storedFogColour);
             EXPECT_NE(cellar->storedViewDistance, 5);
         }},
        // The surface has the sky's fog, never a section's.
        {"setmapfog(\"base_s0202\", 10, \"FF0000\");", nullptr, nothing,
         [](ScriptedTownRig& rig) {
             const CMapSection* town = Section(rig, "base_s0202");
             EXPECT_EQ(town->bytes[0], town->storedViewDistance);
             EXPECT_EQ(town->lightBColour, town->storedFogColour);
         }},
        // Item values by type; an unknown type is worth nothing.
        {"x = itemvalue(\"base_weap_dirkcheap\");", "15", nothing, nothing},
        {"x = itemvalue(\"base_no_such_item\");", "0", nothing, nothing},
        // The prison: in it, out of it by a script, and the events that take the player there and back.
        {"x = player.isinjail();", "1", [](ScriptedTownRig& rig) { rig.View()->gameClock.EnterPrison(); },
         nothing},
        {"player.clearjail(); x = player.isinjail();", "0",
         [](ScriptedTownRig& rig) {
             rig.View()->gameClock.EnterPrison();
             rig.View()->jailTarget.Assign("base_s0202_jail");
         },
         [](ScriptedTownRig& rig) { EXPECT_STREQ(rig.View()->jailTarget.GetText(), ""); }},
        {"player.movetojail(\"base_s0202\"); player.moveback();", nullptr, nothing,
         [](ScriptedTownRig& rig) {
             EXPECT_EQ(EventTypes(*rig.View()), "6|7|");
             EXPECT_STREQ(rig.View()->events[0]->jailName.GetText(), "base_s0202");
         }},
        // A scene is an event for the view to show; music goes through the surroundings.
        {"playscene(\"bres_intro\");", nullptr, nothing,
         [](ScriptedTownRig& rig) {
             ASSERT_EQ(EventTypes(*rig.View()), "21|");
             EXPECT_STREQ(rig.View()->events[0]->name.GetText(), "bres_intro");
         }},
        {"playmusic(\"bmus_nosuchpiece\");", nullptr,
         [](ScriptedTownRig& rig) { rig.View()->surroundings.musicChannel = 5; },
         [](ScriptedTownRig& rig) { EXPECT_EQ(rig.View()->surroundings.musicChannel, 5); }},
        // The voyage home is for additional worlds only.
        {"player.movebyship(\"expback\", \"\");", nullptr, nothing,
         [](ScriptedTownRig& rig) { EXPECT_EQ(EventTypes(*rig.View()), ""); }},
        // Creatures at a placed object of the current section: made there, and not removable as the
        // ones a script places by position are.
        {"createmonsterobj(\"base_rat_small\", \"base_s0202townportal\");", nullptr, nothing,
         [](ScriptedTownRig& rig) {
             CMapSection* town = Section(rig, "base_s0202");
             const CPlacement* portal = town->FindPlacementByName("base_s0202townportal");
             ASSERT_NE(portal, nullptr);
             const CMonster& made = town->monsters.back();
             EXPECT_STREQ(made.Type()->GetName(), "base_rat_small");
             EXPECT_EQ(made.x, portal->x);
             EXPECT_EQ(made.y, portal->y);
             EXPECT_EQ(made.flags & creature::kRemovable, 0);
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.source);
        ScriptedTownRig rig;
        ASSERT_TRUE(rig.StartInTown());
        rig.View()->events.clear();
        row.prepare(rig);
        EXPECT_EQ(rig.Run(row.source), 0);
        if (row.x) {
            EXPECT_EQ(rig.X(), row.x);
        }
        row.check(rig);
    }
}

// An item's worth counts the magic it carries, as the shops do: base value plus the effects' value.
TEST(ScriptWorldInGame, AnItemsValueCountsItsEffects) {
    ScriptedTownRig rig;
    ASSERT_TRUE(rig.StartInTown());
    const CItemCatalogue* items = rig.Game()->player.GetWorld()->items;
    CItemType* ring = items->FindItemType("base_ring_protection");
    ASSERT_NE(ring, nullptr);
    ASSERT_NE(ring->effects, nullptr);
    ring->value = 250;
    ring->effects->value = 40;
    ASSERT_EQ(rig.Run("x = itemvalue(\"base_ring_protection\");"), 0);
    EXPECT_EQ(rig.X(), "290");
}

// A prisoner freed by a script is not released again ten minutes later: no sentence, no exit.
TEST(ScriptWorldInGame, APrisonerFreedByAScriptServesNoSentence) {
    ScriptedTownRig rig;
    ASSERT_TRUE(rig.StartInTown());
    CGameScreen* view = rig.View();
    CPlayer& player = rig.Game()->player;
    player.crime = 30;
    view->jailTarget.Assign("base_s0202_jail");
    view->gameClock.EnterPrison();
    ASSERT_EQ(rig.Run("player.clearjail();"), 0);
    const u32 day = view->gameClock.GetDay();
    // The sentence falls due ten minutes after the arrival, as the minutes pass one by one.
    for (int i = 0; i < 12; ++i) view->gameClock.AdvanceMinute();
    EXPECT_EQ(player.crime, 30);
    EXPECT_EQ(view->gameClock.GetDay(), day) << "days of a sentence passed";
    EXPECT_EQ(view->section, Section(rig, "base_s0202"));
}

// A scene a script asks for shows in the pages screen when the view takes its events, and the player
// is back in the view after its last page; one the world lacks leaves the player in the view.
TEST(ScriptWorldInGame, AScenePlaysInThePagesScreen) {
    for (const auto& [scene, shows] : {std::pair{"bres_intro", true}, std::pair{"bres_nosuchscene", false}}) {
        SCOPED_TRACE(scene);
        ScriptedTownRig rig;
        ASSERT_TRUE(rig.StartInTown());
        ASSERT_EQ(rig.Run(std::string("playscene(\"") + scene + "\");"), 0);
        for (int i = 0; i < 3; ++i) rig.Tick(30);
        if (!shows) {
            EXPECT_EQ(rig.Current(), rig.View());
            continue;
        }
        ASSERT_EQ(rig.Current(), rig.Game()->GetScreen(kScreenPages));
        for (int page = 0; page < 5 && rig.Current() == rig.Game()->GetScreen(kScreenPages); ++page) {
            rig.Tick(30);
            rig.Key(32);
        }
        EXPECT_TRUE(rig.TickUntilScreen(kScreenGame, 300));
        EXPECT_EQ(rig.View()->section, Section(rig, "base_s0202"));
    }
}

// The view's fog follows a script that changes the fog of the section the player is in.
TEST(ScriptWorldInGame, TheCellarsFogFollowsAScriptAtOnce) {
    ScriptedTownRig rig;
    ASSERT_TRUE(rig.StartNewGame());
    ASSERT_STREQ(rig.View()->section->GetName(), "base_cellar");
    ASSERT_EQ(rig.Run("setmapfog(\"base_cellar\", 100, \"0000FF\");"), 0);
    EXPECT_EQ(rig.View()->viewState.fogColour, 0x001F);
    const i32 far = rig.View()->viewState.visibleDistance;
    ASSERT_EQ(rig.Run("setmapfog(\"base_cellar\", 0, \"0000FF\");"), 0);
    EXPECT_LT(rig.View()->viewState.visibleDistance, far);
    ASSERT_EQ(rig.Run("resetmapfog(\"base_cellar\");"), 0);
    EXPECT_EQ(rig.View()->viewState.fogColour, rig.View()->section->storedFogColour);
}

// A sky a script chose belongs to its game: a new game has the sky of the hour again.
TEST(ScriptWorldInGame, ANewGameForgetsTheSkyAScriptChose) {
    ScriptedTownRig rig;
    ASSERT_TRUE(rig.StartInTown());
    ASSERT_EQ(rig.Run("setweathercloud(\"bres_skynight\", 60);"), 0);
    ASSERT_EQ(rig.View()->skyName, "bres_skynight");
    ASSERT_TRUE(rig.EnterNewGame());
    EXPECT_EQ(rig.View()->skyName, "");
    EXPECT_EQ(rig.View()->cloud, 0);
}

// A creature command aimed at a placed object whose creature the game cannot reach still gives a
// value, so that the script goes on.
TEST(ScriptWorldInGame, TheFallbackCreatureAnswersEveryCommand) {
    ScriptedTownRig rig;
    ASSERT_TRUE(rig.StartInTown());
    IScriptCreature* fallback = rig.View()->scriptWorld.GetFallbackCreature();
    ASSERT_NE(fallback, nullptr);
    for (const i32 command : {126, 177, 214, 215}) {
        ScriptArgs args;
        ScriptResult result;
        bool changed = false;
        EXPECT_EQ(fallback->ExecuteMonsterCommand({}, command, args, result, changed), 0) << command;
        EXPECT_NE(result, nullptr) << command;
        EXPECT_FALSE(changed) << command;
    }
}

struct ExpansionRig : ScriptedTownRig {
    ExpansionRig() { env.withAdditionalWorld = true; }
};

// From an additional world the ship sails to the base world's harbour of its expansion.
TEST(ScriptWorldInGame, TheShipHomeSailsFromAnAdditionalWorldOnly) {
    ExpansionRig rig;
    ASSERT_TRUE(rig.StartInTown());
    CWorld* embers = rig.Game()->worlds->FindWorldByShortName("embr");
    ASSERT_NE(embers, nullptr);
    CMapSection* cave = embers->FindSectionByName("embr_cave");
    ASSERT_NE(cave, nullptr);
    // A section of an open additional world takes fog from a script anywhere.
    ASSERT_EQ(rig.Run("setmapfog(\"embr_cave\", 33, \"FFFFFF\");"), 0);
    EXPECT_EQ(cave->bytes[0], 33);
    EXPECT_EQ(cave->lightBColour, 0xFFFF);

    rig.View()->EnterMapAt(embers, cave, 17, 17, 0);
    rig.SettleView();
    ASSERT_EQ(rig.View()->world, embers);
    rig.View()->events.clear();
    ASSERT_EQ(rig.Run("player.movebyship(\"expback\", \"ignored\");"), 0);
    ASSERT_EQ(EventTypes(*rig.View()), "22|");
    EXPECT_STREQ(rig.View()->events[0]->name.GetText(), "base_city1");
    EXPECT_STREQ(rig.View()->events[0]->text.GetText(), "The ship takes you back to Viruredi.");
}

}  // namespace

// The game view on the built world, headless with the manual clock: the spaced ambient sound of the
// creature near the player, the rest with its refusals, its meal and the weather, and the one
// permanent potion of a level.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string_view>

#include "core/Random.h"
#include "data/Effect.h"
#include "data/ItemType.h"
#include "data/MapSection.h"
#include "data/RuleContext.h"
#include "data/World.h"
#include "tests/ui/WidgetRig.h"
#include "tests/world/BuiltViewFixture.h"
#include "tests/world/CreatureFixture.h"
#include "world/Fight.h"
#include "world/GameScreen.h"
#include "world/TeleportFade.h"

namespace {

class GameViewRestTest : public builtview::BuiltViewTest {
protected:
    bool EnterTown() {
        CMapSection* town = built.base->FindSectionByName("base_s0202");
        if (!town) return false;
        view->EnterMapAt(built.base.get(), town, 12, 12, 2);
        return view->section == town;
    }
    CItemInstance* Give(const char* id) {
        const CItemType* type = built.lists.items.FindItemType(id);
        return type ? player.AddItemCopies(1, *type) : nullptr;
    }
    int Count(const char* id) const {
        int n = 0;
        for (const auto& item : player.items) n += item->type && std::string_view(item->type->GetName()) == id;
        return n;
    }
    // The text of the last queued message; empty when none is queued.
    std::string LastMessage() const {
        for (auto it = view->events.rbegin(); it != view->events.rend(); ++it)
            if ((*it)->type == kEventMessage) return (*it)->text.GetText();
        return {};
    }

};

// The creature the near list chose is heard through the view's ambient tick: once, then not again
// until 10 wall-clock seconds have passed.
TEST_F(GameViewRestTest, TheNearCreatureSoundsThroughTheAmbientTick) {
    CFight* fight = view->Fight();
    ASSERT_NE(fight, nullptr);
    CMonster* rat = view->section->FindMonster(1);
    ASSERT_NE(rat, nullptr);
    auto choose = [&] {
        fight->near.soundSection = view->section;
        fight->near.soundId = rat->id;
    };
    const i64 start = 1765432100;
    const struct {
        i64 seconds;  // wall clock since the first sound
        i64 heardAt;  // the time of the last sound after the tick
    } ticks[] = {{0, 0}, {5, 0}, {10, 0}, {11, 11}, {12, 11}, {22, 22}};
    for (const auto& t : ticks) {
        choose();
        rig.clock.SetTime(start + t.seconds);
        Tick();
        ASSERT_TRUE(view->surroundings.ambientOnce);
        EXPECT_EQ(view->surroundings.lastAmbient, start + t.heardAt) << t.seconds;
    }
    // Nothing chosen, nothing heard.
    fight->near.soundSection = nullptr;
    rig.clock.SetTime(start + 100);
    Tick();
    EXPECT_EQ(view->surroundings.lastAmbient, start + 22);
}

TEST_F(GameViewRestTest, RestNeedsAMealAndEatsIt) {
    ASSERT_TRUE(EnterTown());
    for (size_t i = player.items.size(); i-- > 0;)
        if (player.items[i]->type && player.items[i]->type->itemClass == 14) player.RemoveItem(player.items[i].get());
    view->events.clear();
    view->RestCommand();
    EXPECT_EQ(LastMessage(), "You need food and water to rest.\rRotten food and contaminated water don't apply.");
    player.race = 1;  // the risen may take what others may not, and are told so
    view->events.clear();
    view->RestCommand();
    EXPECT_NE(LastMessage().find("As an undead"), std::string::npos);
    player.race = 2;

    // Spoiled water is no meal for the living; fresh bread and water are, and only one of each goes.
    ASSERT_NE(Give("base_drink_darkwater"), nullptr);
    ASSERT_NE(Give("base_food_bread"), nullptr);
    view->events.clear();
    view->RestCommand();
    EXPECT_NE(LastMessage().find("You need food and water"), std::string::npos);
    ASSERT_NE(Give("base_drink_water"), nullptr);
    ASSERT_NE(Give("base_drink_water"), nullptr);
    view->events.clear();
    view->RestCommand();
    ASSERT_EQ(view->events.size(), 1u);
    EXPECT_EQ(view->events.front()->type, kEventRestPrompt);
    view->events.clear();
    view->weather.intensity = 0;
    player.hp = 1;
    view->Rest();
    EXPECT_EQ(Count("base_food_bread"), 0);
    EXPECT_EQ(Count("base_drink_water"), 1);
    EXPECT_EQ(Count("base_drink_darkwater"), 1);
    // Clear skies before the night; a rain that came up by the morning still counts as exposure.
    const int maxHp = player.GetMaxHp();
    EXPECT_EQ(player.hp, view->weather.Intensity() == 0 ? maxHp : 1 + (maxHp - 1) / 2);
}

// The rest dialog closing (by its close button, or by the view's own command) chooses the music and
// the ambience at once: the night that passed may call for others.
TEST_F(GameViewRestTest, TheEndOfARestChoosesTheSurroundingsAtOnce) {
    ASSERT_TRUE(EnterTown());
    for (const u32 command : {5u, 279u}) {
        ASSERT_NE(Give("base_food_bread"), nullptr);
        ASSERT_NE(Give("base_drink_water"), nullptr);
        view->Rest();
        const u32 updates = view->musicUpdates;
        view->OnCommand(command);
        EXPECT_EQ(view->screenMode, CGameScreen::kModeNormal);
        EXPECT_GT(view->musicUpdates, updates) << "command " << command;
    }
}

// Rest out in the rain gives back half of what is lacking; under a roof of rock the weather is not felt.
TEST_F(GameViewRestTest, RestInTheRainGivesHalf) {
    const struct {
        bool town;
        int hp;
    } cases[] = {{true, 10}, {false, 10}};
    for (const auto& c : cases) {
        if (c.town) {
            ASSERT_TRUE(EnterTown());
        }
        const int maxHp = player.GetMaxHp();
        ASSERT_GT(maxHp, c.hp);
        ASSERT_NE(Give("base_food_bread"), nullptr);
        ASSERT_NE(Give("base_drink_water"), nullptr);
        view->weather.intensity = 600;
        player.hp = static_cast<u16>(c.hp);
        view->Rest();
        const int expected = c.town ? c.hp + (maxHp - c.hp) / 2 : maxHp;
        EXPECT_EQ(player.hp, expected) << (c.town ? "town" : "cellar");
        view->CloseModal();
        if (c.town) {
            CMapSection* cellar = built.base->FindSectionByName("base_cellar");
            ASSERT_NE(cellar, nullptr);
            view->EnterMapAt(built.base.get(), cellar, 17, 17, 0);
        }
    }
}

// One potion with a permanent effect per level: the second is refused and stays in the pack.
TEST_F(GameViewRestTest, OnePermanentPotionPerLevel) {
    auto permanent = [&]() {
        CItemInstance* potion = Give("base_pmanasmall");
        if (!potion) return potion;
        CEffect raise;
        raise.kind = kEffectPermanentAttribute;
        raise.target = kStrength;
        raise.amount = 2;
        potion->effects = new CEffectList;
        potion->effects->Add(new CEffect(raise));
        return potion;
    };
    CItemInstance* first = permanent();
    ASSERT_NE(first, nullptr);
    const int strength = player.attributes[kStrength];
    player.levelGainFlag = 0;
    EXPECT_TRUE(view->DrinkSelected(first));
    EXPECT_EQ(player.attributes[kStrength], strength + 2);
    EXPECT_EQ(player.levelGainFlag, 1);
    EXPECT_EQ(Count("base_pmanasmall"), 0);

    CItemInstance* second = permanent();
    ASSERT_NE(second, nullptr);
    view->events.clear();
    EXPECT_FALSE(view->DrinkSelected(second));
    EXPECT_EQ(LastMessage(), "You cannot drink more potions with permanent effects until your level advances.");
    EXPECT_EQ(player.attributes[kStrength], strength + 2);
    EXPECT_EQ(Count("base_pmanasmall"), 1);
    // An ordinary potion is drunk all the same.
    ASSERT_NE(Give("base_phealsmall"), nullptr);
    EXPECT_TRUE(view->DrinkSelected(player.items.back().get()));
    EXPECT_EQ(Count("base_phealsmall"), 0);
    EXPECT_FALSE(view->DrinkSelected(nullptr));
}

// The gallery's pool (a ground of kind 3 with two frames of its own) runs through its frames on the
// 150 ms phase, and the floor around it keeps its stone.
TEST_F(GameViewRestTest, AnAnimatedGroundCyclesItsFramesAndLeavesTheOtherGroundsAlone) {
    CMapObjectTable& objects = view->viewWorld->Objects();
    u16 poolIndex = kNoCellIndex;
    for (u32 i = 0; i < objects.Count() && poolIndex == kNoCellIndex; ++i)
        if (objects.TypeCode(static_cast<u16>(i)) == 3) poolIndex = static_cast<u16>(i);
    ASSERT_NE(poolIndex, kNoCellIndex) << "the gallery has its pool";
    // The pool is laid into the floor of one cell; another plain floor cell is watched beside it.
    i32 px = -1, py = -1, fx = -1, fy = -1;
    for (i32 y = 0; y < 35; ++y)
        for (i32 x = 0; x < 35; ++x) {
            const CMapCell* c = view->window.Cell(x, y);
            if (!c || objects.TypeCode(c->layer1) != 1 || c->layer2 != kNoCellIndex) continue;
            if (px < 0)
                px = x, py = y;
            else if (fx < 0 && std::abs(x - px) + std::abs(y - py) > 2)
                fx = x, fy = y;
        }
    ASSERT_GE(px, 0);
    ASSERT_GE(fx, 0);
    view->window.Cell(px, py)->layer1 = poolIndex;
    view->RebuildViewCaches();
    const CViewCellType* pool = objects.CellType(poolIndex);
    ASSERT_NE(pool, nullptr);
    ASSERT_EQ(pool->pictureCount, 2u);
    ASSERT_NE(pool->Picture(0), pool->Picture(1));
    auto entry = [&](i32 x, i32 y) -> const CGroundCacheEntry& {
        return view->viewState.groundCache.At(view->viewState.cellViews[static_cast<size_t>(y * 35 + x)].ground);
    };
    // The pool lies over the floor: the entry word that shows one of its frames.
    auto ground = [&](i32 x, i32 y) -> u16 {
        for (u16 w : entry(x, y).texture)
            if (w == pool->Picture(0) || w == pool->Picture(1)) return w;
        return 0;
    };
    ASSERT_EQ(ground(px, py), pool->Picture(0));
    const CGroundCacheEntry floorBefore = entry(fx, fy);
    const u16 floor = floorBefore.texture[0];
    std::vector<u16> seen;
    for (int i = 0; i < 40; ++i) {  // about a second: six or seven frames
        Tick();
        if (seen.empty() || seen.back() != ground(px, py)) seen.push_back(ground(px, py));
        ASSERT_EQ(entry(fx, fy).texture[0], floor) << i;
    }
    ASSERT_GE(seen.size(), 4u);
    for (size_t i = 0; i < seen.size(); ++i) EXPECT_EQ(seen[i], pool->Picture(static_cast<u32>((i + 1) % 2))) << i;
}

// A teleport closes the fog in on the player and whitens it over its frames, ending at nothing, white.
TEST(TeleportFade, TheFogClosesInAndTurnsWhiteOverTheFrames) {
    const struct {
        i32 fogStart, distance;
        u16 colour;
        u32 frames;
    } cases[] = {{2 * kFogStep, 6 * kFogStep, 0x0000, 10}, {kFogStep, 7 * kFogStep, 0x1A28, 10},
                 {0, 1, 0xFFFF, 10}, {5, 9, 0x8410, 3}, {0, 0, 0x0000, 1}};
    for (const auto& c : cases) {
        CViewState3D view;
        view.fogStart = c.fogStart;
        view.visibleDistance = c.distance;
        view.fogColour = c.colour;
        CTeleportFade fade;
        fade.Start(view, c.frames);
        i32 lastDistance = view.visibleDistance;
        for (u32 f = 0; f < c.frames; ++f) {
            fade.Step(view);
            EXPECT_LE(view.visibleDistance, lastDistance);
            lastDistance = view.visibleDistance;
        }
        EXPECT_EQ(fade.FramesLeft(), 0u);
        EXPECT_EQ(view.fogStart, 0) << c.distance;
        EXPECT_EQ(view.visibleDistance, 0) << c.distance;
        EXPECT_EQ(view.fogColour, 0xFFFF) << c.colour;
        fade.Step(view);  // past the end nothing moves
        EXPECT_EQ(view.fogColour, 0xFFFF);
    }
}

}  // namespace

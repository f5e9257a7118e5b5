// The game hands the player the open worlds' tables and takes them back when the worlds close.
#include <gtest/gtest.h>

#include "app/Game.h"
#include "data/ItemType.h"
#include "data/Spells.h"
#include "tests/support/FrameRig.h"
#include "world/GameScreen.h"

namespace {

TEST(WorldRules, ThePlayerReachesTheBuiltWorldsTablesUntilTheWorldResets) {
    testing_support::FrameRig rig;
    ASSERT_TRUE(rig.StartOnBuiltDatabase());
    CGame& game = *rig.Game();
    CPlayer& player = game.player;
    // Before a world opens the player has no tables.
    EXPECT_EQ(player.GetWorld(), nullptr);

    ASSERT_EQ(game.OpenGameDatabases(nullptr), 1) << game.WorldOpenError();
    const CRuleContext* rules = player.GetWorld();
    ASSERT_EQ(rules, &game.ruleContext);
    EXPECT_EQ(rules->player, &player);
    EXPECT_EQ(rules->random, game.random.get());
    EXPECT_EQ(rules->layoutMode, game.layoutMode);
    ASSERT_NE(rules->currentWorldCode, nullptr);
    EXPECT_STREQ(rules->currentWorldCode, "base");
    ASSERT_NE(rules->items, nullptr);
    ASSERT_NE(rules->spells, nullptr);
    EXPECT_NE(rules->skills, nullptr);
    EXPECT_NE(rules->races, nullptr);
    // A start-kit item and spell resolve through the context.
    EXPECT_NE(rules->items->FindItemType("base_alc_mortarbeginner"), nullptr);
    ASSERT_NE(player.ReceiveItem("base_alc_mortarbeginner", 1, false), nullptr);
    const CSpell* spell = rules->spells->FindById("base_spellcurelightwounds");
    ASSERT_NE(spell, nullptr);
    player.LearnSpell(*spell);
    EXPECT_TRUE(player.KnowsSpell(*spell));
    EXPECT_FALSE(player.items.empty());

    // The view is the player's host: a change of hit points reaches its gauge.
    CGameScreen* view = game.GetGameScreen();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetPlayer(), &player);
    view->hpGauge = -1;
    player.SetHp(player.hp, false);
    EXPECT_EQ(view->hpGauge, player.GetHpPercent());

    game.ResetWorld();
    EXPECT_EQ(player.GetWorld(), nullptr);
    EXPECT_TRUE(player.items.empty());
    for (const auto& list : player.spellsBySchool) EXPECT_TRUE(list.empty());
    EXPECT_TRUE(player.abilities.empty());
    EXPECT_EQ(game.ruleContext.currentWorldCode, nullptr);
    // Unknown ids without a world are refused rather than looked up in freed tables.
    EXPECT_EQ(player.ReceiveItem("base_alc_mortarbeginner", 1, false), nullptr);

    // Opening the worlds again binds the fresh tables.
    ASSERT_EQ(game.OpenGameDatabases(nullptr), 1);
    ASSERT_EQ(player.GetWorld(), &game.ruleContext);
    EXPECT_NE(player.ReceiveItem("base_alc_mortarbeginner", 1, false), nullptr);
}

TEST(WorldRules, ALayoutSwitchReachesTheRules) {
    testing_support::FrameRig rig;
    ASSERT_TRUE(rig.StartOnBuiltDatabase());
    CGame& game = *rig.Game();
    ASSERT_EQ(game.OpenGameDatabases(nullptr), 1);
    game.SwitchLayoutMode(12);
    EXPECT_EQ(game.ruleContext.layoutMode, 12u);
}

}  // namespace

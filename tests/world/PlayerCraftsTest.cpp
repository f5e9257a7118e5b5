// The craft dialogs over the player and the base world's records: a potion brewed from the world's
// herbs lands in the player's items, the herbs leave them, and the skill's use is counted.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "screens/npc/AlchemyDialog.h"
#include "screens/npc/PlayerCrafts.h"
#include "tests/support/FrameRig.h"
#include "tests/world/PlayerFixture.h"

TEST(PlayerCrafts, BrewingTheWorldsHealingPotion) {
    PlayerWorld world;
    testing_support::FrameRig rig;
    ASSERT_TRUE(rig.StartOnBuiltDatabase());
    world.player.items.clear();
    world.player.skills[craft::kAlchemySkill] = 90;  // above the recipe's level: always succeeds
    CItemInstance* mortar = world.Give("base_alc_mortarbeginner");
    world.Give("base_alc_alkieberries");
    world.Give("base_alc_ladyslipper");
    CPlayerCrafts crafts(world.player, world.rules, &world.base.recipes);
    EXPECT_EQ(crafts.GetAlchemySkill(), 90);

    CForm panel;
    panel.Attach(rig.Game());
    CAlchemyDialog dialog;
    dialog.Attach(rig.Game());
    dialog.SetAlchemist(&crafts);
    panel.OpenModal(&dialog);
    dialog.Open(mortar);
    dialog.OnCommand(483);  // slot 1: the berries
    dialog.OnCommand(487);  // slot 2: the berries,
    dialog.OnCommand(487);  // then the slipper
    ASSERT_EQ(dialog.Potions().size(), 1u);
    EXPECT_EQ(dialog.Potions()[0].label, "Small Healing");
    dialog.OnCommand(CAlchemyDialog::kBrew);
    EXPECT_EQ(dialog.GetState(), CAlchemyDialog::kResult);
    std::vector<std::string> carried;
    for (auto& item : world.player.items) carried.emplace_back(item->type->GetName());
    EXPECT_EQ(carried, (std::vector<std::string>{"base_alc_mortarbeginner", "base_phealsmall"}));
    EXPECT_EQ(world.player.skillUse[craft::kAlchemySkill], 1);
    EXPECT_EQ(&crafts.LockpickUseCounter(), &world.player.skillUse[craft::kLockpickSkill]);
}

TEST(PlayerCrafts, GoldAndPriceLevels) {
    PlayerWorld world;
    CPlayerCrafts crafts(world.player, world.rules, nullptr);
    crafts.SetGold(4000000000u);
    EXPECT_EQ(world.player.gold, 1000000000u);
    CNpc npc;
    npc.bytes[1] = 12;
    EXPECT_EQ(crafts.GetPriceLevel(npc), 12);
    npc.texts[3] = "price_var";
    crafts.SetVariableLookup([](const char* name, i32& value) {
        value = 17;
        return std::string(name) == "price_var";
    });
    EXPECT_EQ(crafts.GetPriceLevel(npc), 17);
    npc.texts[3] = nullptr;
}

// Active effects of the player: adding and refreshing, ageing over time, the equipment's share, drink,
// poison, wear and the potion rows.
#include <gtest/gtest.h>

#include "data/ItemType.h"
#include "tests/world/PlayerFixture.h"

namespace {

TEST(PlayerEffects, PoisonAndParalysisAnnounceOnlyTheFirstAndRefreshTheStronger) {
    PlayerWorld w;
    CPlayer& p = w.player;
    int origin = 0;
    p.AddConditionEffect(26, kFromHit, &origin, 3, 5, 0, nullptr);
    EXPECT_EQ(w.host.posted, (std::vector<std::string>{"You're poisoned!"}));
    ASSERT_EQ(p.effects[kListPoison].size(), 1u);
    EXPECT_EQ(p.effects[kListPoison][0].duration, 6) << "a duration of n lasts n + 1 units";
    p.AddConditionEffect(26, kFromHit, &origin, 2, 9, 0, nullptr);
    EXPECT_EQ(w.host.posted.size(), 1u);
    EXPECT_EQ(p.effects[kListPoison][0].strength, 3) << "a weaker one changes nothing";
    p.AddConditionEffect(26, kFromHit, &origin, 3, 9, 0, nullptr);
    EXPECT_EQ(p.effects[kListPoison][0].duration, 10) << "equal strength, longer duration";
    p.AddConditionEffect(26, kFromHit, nullptr, 1, 0, 0, nullptr);
    EXPECT_EQ(p.effects[kListPoison].size(), 2u) << "another origin adds";
    EXPECT_EQ(p.GetPoisonStrength(), 4);

    p.AddConditionEffect(28, kFromHit, nullptr, 0, 2, 0, nullptr);
    EXPECT_EQ(w.host.posted.back(), "You're paralyzed!");
    EXPECT_TRUE(p.IsParalyzed());
    p.AddConditionEffect(3, kFromSpell, nullptr, 5, 2, 0, nullptr);
    for (const auto& list : p.effects)
        for (const CActiveEffect& e : list)
            EXPECT_NE(e.strength, 5) << "a reference id without a list adds nothing";
}

TEST(PlayerEffects, TicksAgeOnlyTimedEntriesOfTheAgeingSources) {
    PlayerWorld w;
    CPlayer& p = w.player;
    p.AddConditionEffect(28, kFromHit, nullptr, 0, 2, 0, nullptr);        // 3 units
    p.AddConditionEffect(2, kFromSpell, nullptr, 4, 9, 1, nullptr);       // 10 units
    p.AddConditionEffect(2, kFromSpell, &p, 2, 0, 1, nullptr);            // lasting
    p.AddConditionEffect(11, kFromEquipment, nullptr, 3, 1, 0, nullptr);  // equipment never ages
    p.TickEffects(2);
    EXPECT_EQ(p.effects[kListParalysis][0].duration, 1);
    EXPECT_EQ(w.host.handSprites, 0);
    p.TickEffects(1);
    EXPECT_TRUE(p.effects[kListParalysis].empty());
    EXPECT_EQ(w.host.handSprites, 1) << "the hands follow the end of a paralysis";
    EXPECT_EQ(p.GetAttributeValue(1), 15 + 4 + 2);
    p.TickEffects(50);
    EXPECT_EQ(p.GetAttributeValue(1), 15 + 2) << "more units than left removes the entry";
    EXPECT_EQ(p.effects[kListFortifyAc].size(), 1u);

    p.AddConditionEffect(27, kFromHit, nullptr, 0, 5, 0, nullptr);
    p.AddConditionEffect(22, kFromDrink, nullptr, 120, 5, 0, nullptr);
    p.DispelEffects();
    EXPECT_FALSE(p.IsCursed());
    EXPECT_TRUE(p.effects[kListResistMagic].empty());
    EXPECT_EQ(p.GetAttributeValue(1), 15) << "spell-made attribute entries are dispelled";
    EXPECT_EQ(p.effects[kListFortifyAc].size(), 1u) << "equipment entries stay";
}

TEST(PlayerEffects, EquipmentAddsItsEntriesExceptInTheQuiverSlot) {
    PlayerWorld w;
    CPlayer& p = w.player;
    CItemInstance* ring = w.Give("base_ring_protection");
    p.EquipItem(ring, false);
    ASSERT_EQ(p.effects[kListFortifyAc].size(), 1u);
    EXPECT_EQ(p.effects[kListFortifyAc][0].source, kFromEquipment);
    int withRing = p.GetArmorClass(nullptr, 1);
    p.UnequipItem(ring);
    EXPECT_TRUE(p.effects[kListFortifyAc].empty());
    EXPECT_EQ(p.GetArmorClass(nullptr, 1), withRing - 3);

    // An item of its own effects in slot 12 gives nothing.
    CItemInstance* quiver = w.Give("base_quiver_cheap");
    quiver->effects = new CEffectList;
    quiver->effects->Add(new CEffect(PlayerFx(11, 5)));
    p.EquipItem(quiver, false);
    EXPECT_EQ(p.equipment[12], quiver);
    EXPECT_TRUE(p.effects[kListFortifyAc].empty());
}

TEST(PlayerEffects, DrinkLastsAtLeastOneAndAtMostTheCap) {
    PlayerWorld w;
    CPlayer& p = w.player;
    p.Drink(150, nullptr);
    ASSERT_EQ(p.effects[kListAlcoholic].size(), 1u);
    EXPECT_EQ(p.effects[kListAlcoholic][0].duration, 240) << "1800 less 15 percent, capped";
    p.Drink(10, nullptr);
    // Endurance now counts the first drink: 15 + 50 / 8 + 1 = 22, so 120 less 22 percent.
    EXPECT_EQ(p.effects[kListAlcoholic][1].duration, 94);
    EXPECT_EQ(p.effects[kListAlcoholic].size(), 2u) << "drinks add up";

    // At an endurance of 100 and above the plain rule gives 0 or less, which would last for ever.
    for (int endurance : {100, 150}) {
        PlayerWorld v;
        v.player.attributes[kEndurance] = static_cast<u16>(endurance);
        v.player.Drink(150, nullptr);
        EXPECT_EQ(v.player.effects[kListAlcoholic][0].duration, 1) << endurance;
        v.player.TickEffects(1);
        EXPECT_TRUE(v.player.effects[kListAlcoholic].empty());
    }

    PlayerWorld d;
    d.player.Drink(120, nullptr);
    EXPECT_TRUE(d.host.posted.empty()) << "20 is not beyond 2 x 15";
    d.player.Drink(130, nullptr);  // 50 beyond 2 x (15 + 20 / 10 + 1)
    d.player.Drink(130, nullptr);
    EXPECT_EQ(d.host.posted, (std::vector<std::string>{"You're drunk!"}));
    EXPECT_EQ(d.host.sounds.back(), "bsnd_ambientman4");
}

TEST(PlayerEffects, PoisonAndDiseaseDamage) {
    PlayerWorld w;
    CPlayer& p = w.player;
    p.hp = 20;
    p.AddConditionEffect(26, kFromHit, nullptr, 6, 0, 0, nullptr);
    p.ApplyPoisonDamage();
    EXPECT_EQ(p.hp, 14);
    p.hp = 6;
    p.ApplyPoisonDamage();
    EXPECT_EQ(p.hp, 0);

    const CDisease* serious = nullptr;
    for (int i = 0; i < w.base.diseases.Count(); ++i)
        for (int j = 0; j < w.base.diseases.At(i)->effects.Count(); ++j)
            if (w.base.diseases.At(i)->effects.At(j)->kind == 25) serious = w.base.diseases.At(i);
    ASSERT_NE(serious, nullptr) << "the base world has a serious disease";
    int damage = 0;
    for (int j = 0; j < serious->effects.Count(); ++j)
        if (serious->effects.At(j)->kind == 25) damage += std::abs(serious->effects.At(j)->amount);
    p.InfectDisease(serious->GetName());
    EXPECT_TRUE(p.HasSeriousDisease());
    p.hp = 50;
    p.ApplyDiseaseDamage(2);
    EXPECT_EQ(p.hp, 50 - 2 * damage);
}

TEST(PlayerEffects, AWornShieldBreaksOnceBelowTenPercent) {
    PlayerWorld w;
    CPlayer& p = w.player;
    CItemInstance* shield = w.Give("base_shield_woodenround");
    p.EquipItem(shield, true);
    int max = shield->type->maxCondition;
    EXPECT_FALSE(p.WearItem(max / 2, shield));
    EXPECT_EQ(p.equipment[6], shield);
    EXPECT_TRUE(p.WearItem(max, shield));
    EXPECT_EQ(shield->count, 0);
    EXPECT_EQ(p.equipment[6], nullptr);
    EXPECT_EQ(w.host.posted,
              (std::vector<std::string>{std::string("Your ") + shield->type->name + " broke!"}));
    EXPECT_FALSE(p.WearItem(5, shield));
    EXPECT_EQ(w.host.posted.size(), 1u);
}

TEST(PlayerEffects, PotionRows) {
    struct Row {
        const char* what;
        u32 race;
        CEffect effect;
        int hpBefore;
        int hpAfter;
        int list;      // the list that receives a lasting entry, 0 for none
        int strength;  // its strength
        int duration;  // its duration
    };
    const Row rows[] = {
        {"fortify attribute", 2, PlayerFx(2, 5, 10, 1), 50, 50, kListFortifyAttribute, 5, 11},
        {"restore health", 2, PlayerFx(3, 20), 30, 50, 0, 0, 0},
        {"restore health, undead", 1, PlayerFx(3, 20), 30, 10, 0, 0, 0},
        {"restore full health", 2, PlayerFx(4, 0), 30, 60, 0, 0, 0},
        {"restore full health, undead", 1, PlayerFx(4, 0), 30, 1, 0, 0, 0},
        {"fortify health", 2, PlayerFx(5, 10, 4), 30, 30, kListFortifyHp, 10, 5},
        {"fortify health, undead", 1, PlayerFx(5, 10, 4), 30, 20, 0, 0, 0},
        {"fortify health, undead, too weak", 1, PlayerFx(5, 40, 4), 30, 1, 0, 0, 0},
        {"restore unholy", 1, PlayerFx(6, 10), 30, 40, 0, 0, 0},
        {"restore unholy, living", 2, PlayerFx(6, 10), 30, 20, 0, 0, 0},
        {"restore full unholy", 1, PlayerFx(7, 0), 30, 60, 0, 0, 0},
        {"restore full unholy, living", 2, PlayerFx(7, 0), 30, 1, 0, 0, 0},
        {"fortify unholy", 1, PlayerFx(8, 10, 4), 30, 30, kListFortifyUnholy, 10, 5},
        {"fortify unholy, living", 2, PlayerFx(8, 10, 4), 30, 20, 0, 0, 0},
        {"fortify mana", 2, PlayerFx(10, 10, 4), 30, 30, kListFortifyMana, 10, 5},
        {"resist poison", 2, PlayerFx(15, 130, 4), 30, 30, kListResistPoison, 130, 5},
        {"resist paralysis", 2, PlayerFx(16, 130, 4), 30, 30, kListResistParalysis, 130, 5},
        {"feather", 2, PlayerFx(20, 30, 4), 30, 30, kListFeather, 30, 5},
        {"resist magic", 2, PlayerFx(22, 120, 4), 30, 30, kListResistMagic, 120, 5},
        {"resist diseases", 2, PlayerFx(33, 120, 4), 30, 30, kListResistDiseases, 120, 5},
        {"fortify magic", 2, PlayerFx(36, 120, 4), 30, 30, kListFortifyMagic, 120, 5},
        {"fortify melee", 2, PlayerFx(38, 120, 4), 30, 30, kListFortifyMelee, 120, 5},
        {"no duration, no entry", 2, PlayerFx(20, 30, 0), 30, 30, 0, 0, 0},
        {"poison, resisted by 7 percent", 2, PlayerFx(26, 100), 30, 30 - 93, kListPoison, 93, 0},
        {"ice damage has no potion row", 2, PlayerFx(25, 30), 30, 30, 0, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        PlayerWorld w;
        CPlayer& p = w.player;
        p.race = r.race;
        p.hp = static_cast<u16>(r.hpBefore);
        CItemInstance* potion = w.Give("base_pmanasmall");
        potion->effects = new CEffectList;
        potion->effects->Add(new CEffect(r.effect));
        p.ApplyPotion(*potion);
        EXPECT_EQ(p.hp, std::max(r.hpAfter, 0));
        int entries = 0;
        for (int k = 1; k <= kEffectListCount; ++k)
            for (const CActiveEffect& e : p.effects[k]) {
                if (e.source == kFromAbility) continue;
                ++entries;
                EXPECT_EQ(k, r.list);
                EXPECT_EQ(e.strength, r.strength);
                EXPECT_EQ(e.duration, r.duration);
                EXPECT_EQ(e.source, kFromDrink);
                EXPECT_EQ(e.origin, potion->type);
            }
        EXPECT_EQ(entries, r.list ? 1 : 0);
    }

    PlayerWorld w;
    CPlayer& p = w.player;
    CItemInstance* potion = w.Give("base_pmanasmall");
    potion->effects = new CEffectList;
    potion->effects->Add(new CEffect(PlayerFx(12, 0)));
    potion->effects->Add(new CEffect(PlayerFx(56, 3, 0, kStrength)));
    potion->effects->Add(new CEffect(PlayerFx(9, 10)));
    p.AddConditionEffect(26, kFromHit, nullptr, 5, 0, 0, nullptr);
    p.mana = 10;
    p.ApplyPotion(*potion);
    EXPECT_EQ(p.GetPoisonStrength(), 0) << "cure poison";
    EXPECT_EQ(p.attributes[kStrength], 18) << "raise attribute";
    EXPECT_EQ(p.mana, 20) << "restore mana";
}

}  // namespace

// The player character: reset, derived values and the value changers with their messages.
#include <gtest/gtest.h>

#include "data/ItemType.h"
#include "tests/world/PlayerFixture.h"

namespace {

TEST(Player, ConstructionAndResetGiveTheFreshCharacter) {
    CPlayer fresh;
    EXPECT_EQ(fresh.hp, 40);
    EXPECT_EQ(fresh.mana, 40);
    EXPECT_EQ(fresh.race, 1u);
    EXPECT_EQ(fresh.setupByte, 1);
    EXPECT_EQ(fresh.headWord, 0xFFFF);
    EXPECT_EQ(fresh.xpForNextLevel, 400u);
    EXPECT_EQ(fresh.effectListOfKind[57], 19u);
    EXPECT_EQ(fresh.effectListOfKind[25], 24u);
    EXPECT_EQ(fresh.effectListOfKind[3], 0u);
    EXPECT_STREQ(fresh.effectListNames[19], "Alcoholic");

    PlayerWorld w;
    CPlayer& p = w.player;
    EXPECT_EQ(p.level, 1);
    EXPECT_EQ(p.hp, 100);
    EXPECT_EQ(p.mana, 100);
    EXPECT_EQ(p.gold, 100u);
    EXPECT_EQ(p.race, 2u);
    EXPECT_STREQ(p.name.GetText(), "Player");
    EXPECT_STREQ(p.portrait.GetText(), "bres_head34");
    for (int a = 1; a <= 5; ++a) EXPECT_EQ(p.attributes[a], 15);
    for (int s = 1; s <= 20; ++s) {
        EXPECT_EQ(p.skills[s], 10);
        EXPECT_EQ(p.skillOrder[s - 1], s);
    }
    EXPECT_STREQ(p.FameTitle(), "Neutral");
    EXPECT_EQ(p.crime, 0u);
}

// Every list that points into world records is emptied by a reset, open world or not, and a world
// reset drops the player's references before the records go.
TEST(Player, ResetAndWorldResetDropEveryReferenceIntoWorldRecords) {
    PlayerWorld w;
    CPlayer& p = w.player;
    p.race = 1;
    const CSpell* spells[] = {w.base.spells.At(0), w.base.spells.At(1)};
    p.spellsBySchool[0].push_back(spells[0]);
    p.spellsBySchool[7].push_back(spells[1]);
    p.AddAbility("base_ability_rasvim", false);
    p.InfectDisease(w.base.diseases.At(0)->GetName());
    p.EquipItem(w.Give("base_boots_fur"), false);
    ASSERT_FALSE(p.abilities.empty());
    ASSERT_FALSE(p.diseases.empty());

    p.SetWorld(nullptr);
    p.ResetToDefaults();
    for (const auto& list : p.spellsBySchool) EXPECT_TRUE(list.empty());
    EXPECT_TRUE(p.abilities.empty());
    EXPECT_TRUE(p.diseases.empty());
    EXPECT_TRUE(p.items.empty());
    EXPECT_EQ(p.equipment[11], nullptr);
    for (const auto& list : p.effects) EXPECT_TRUE(list.empty());
    EXPECT_EQ(p.race, 1u) << "without a world the values stay";

    p.SetWorld(&w.rules);
    p.ResetToDefaults();
    p.spellsBySchool[7].push_back(spells[1]);
    p.AddAbility("base_ability_etherim", false);
    p.ForgetWorld();
    EXPECT_TRUE(p.spellsBySchool[7].empty());
    EXPECT_TRUE(p.abilities.empty());
    EXPECT_EQ(p.GetWorld(), nullptr);
}

TEST(Player, DrinkAdjustsAttributesAndDrunkennessCountsAboveHundred) {
    PlayerWorld w;
    CPlayer& p = w.player;
    EXPECT_EQ(p.GetDrunkenness(), 0);
    EXPECT_EQ(p.GetAttribute(kStrength), 15);
    p.effects[kListAlcoholic].push_back({std::nullopt, nullptr, 100, 10, kListAlcoholic, kFromDrink, 0});
    EXPECT_EQ(p.GetDrunkenness(), 0);
    EXPECT_EQ(p.GetAttribute(kDexterity), 15);
    // 120 - 100 = 20, not beyond twice the endurance of 15: strength and endurance +3, the others -3.
    p.effects[kListAlcoholic][0].strength = 120;
    EXPECT_FALSE(p.IsDrunk());
    EXPECT_EQ(p.GetAttribute(kStrength), 18);
    EXPECT_EQ(p.GetAttribute(kIntelligence), 12);
    // 140 beyond: drunk; strength 15 + 40/8 + 1, dexterity 15 - 40/5 - 1.
    p.effects[kListAlcoholic][0].strength = 140;
    EXPECT_TRUE(p.IsDrunk());
    EXPECT_EQ(p.GetAttribute(kStrength), 21);
    EXPECT_EQ(p.GetAttribute(kDexterity), 6);
    EXPECT_EQ(p.GetAttributeValue(kDexterity), 15) << "the rule view has no drink";
    bool modified = false;
    p.GetAttributeValue(kDexterity, &modified, nullptr, true);
    EXPECT_TRUE(modified);
}

TEST(Player, MaximaSkillsOfTheRaceAndTitles) {
    PlayerWorld w;
    CPlayer& p = w.player;
    EXPECT_EQ(p.GetMaxHp(), 60);
    EXPECT_EQ(p.GetMaxMana(), 75);
    p.effects[kListFortifyAttribute].push_back(
        {std::nullopt, nullptr, -40, 0, kListFortifyAttribute, kFromSpell, 3});
    p.effects[kListFortifyHp].push_back({std::nullopt, nullptr, 7, 0, kListFortifyHp, kFromSpell, 0});
    EXPECT_EQ(p.GetMaxHp(), 4 + 7);
    p.race = 1;
    EXPECT_EQ(p.GetMaxHp(), 4) << "the undead race counts Fortify unholy instead";
    p.skills[8] = 30;
    p.skills[12] = 30;
    EXPECT_EQ(p.GetSkillValue(8), 0);
    EXPECT_EQ(p.GetSkillValue(12), 30);
    p.race = 2;
    EXPECT_EQ(p.GetSkillValue(8), 30);
    EXPECT_EQ(p.GetSkillValue(12), 0);
    EXPECT_FALSE(p.CanRaiseSkill(12));

    const std::pair<int, const char*> titles[] = {{100, "Saint"},     {80, "Blessed"},  {79, "Blameless"},
                                                  {20, "Virtuous"},   {1, "Good"},      {0, "Neutral"},
                                                  {-1, "Immoral"},    {-20, "Corrupt"}, {-50, "Evil"},
                                                  {-99, "Pure evil"}, {-100, "Demonic"}};
    for (const auto& [fame, title] : titles) EXPECT_STREQ(CPlayer::FameTitle(fame), title) << fame;
    const std::pair<int, const char*> outfits[] = {{10, "threadbare"},  {11, "shabby"}, {40, "plain"},
                                                   {60, "regular"},     {80, "dressy"}, {90, "well dressed"},
                                                   {95, "fashionable"}, {96, "swell"}};
    for (const auto& [outfit, word] : outfits) EXPECT_STREQ(CPlayer::OutfitWord(outfit), word) << outfit;
}

TEST(Player, ArmourOutfitCapacityPriceAndResistances) {
    PlayerWorld w;
    CPlayer& p = w.player;
    EXPECT_EQ(p.GetArmorClass(nullptr, 1), 1) << "dexterity 15 / 10";
    CItemInstance* mail = w.Give("base_mail_scalecheap");
    CItemInstance* shield = w.Give("base_shield_woodenround");
    p.EquipItem(mail, false);
    p.EquipItem(shield, true);
    ASSERT_EQ(p.equipment[4], mail);
    ASSERT_EQ(p.equipment[6], shield);
    const CItemType& m = *mail->type;
    const CItemType& s = *shield->type;
    auto part = [](i64 a, i64 k) { return k < 33 ? a * k / 33 : a + a * (k - 33) / 66; };
    i64 heavy = 0, light = 0;
    (m.itemClass == kItemHeavyArmour ? heavy : light) += m.GetArmourClass(mail->count);
    (s.itemClass == kItemHeavyArmour ? heavy : light) += 3 * s.GetArmourClass(shield->count);
    EXPECT_EQ(p.GetArmorClass(nullptr, 3), part(heavy, 10) + part(light, 10) + 1);
    bool modified = false;
    p.GetArmorClass(&modified, 1);
    EXPECT_FALSE(modified);

    int outfit =
        static_cast<int>((m.GetOutfitPoints(mail->count) * 20 + s.GetOutfitPoints(shield->count) * 8) / 10);
    EXPECT_EQ(p.GetOutfit(), std::max(outfit, 1));

    EXPECT_EQ(p.GetCarriedWeight(), static_cast<u32>(m.weight + s.weight));
    EXPECT_EQ(p.GetCarryCapacity(), (15 * 5 + (15 + 30) * 2) * 100);

    // bonus = (10 / 2 + 15 + 10 * 2) / 14 = 2 percent.
    EXPECT_EQ(p.AdjustPrice(1000, false), 1020u);
    EXPECT_EQ(p.AdjustPrice(1000, true), 980u);
    // Drunk (drunkenness 100 against twice the endurance): personality loses 100 / 5 + 1 and counts 1,
    // so the bonus is (5 + 1 + 20) / 14 = 1 percent.
    p.effects[kListAlcoholic].push_back({std::nullopt, nullptr, 200, 0, kListAlcoholic, kFromSpell, 0});
    ASSERT_TRUE(p.IsDrunk());
    EXPECT_EQ(p.GetTradeBonus(), 1);
    EXPECT_EQ(p.AdjustPrice(1000, true), 990u);
    p.effects[kListAlcoholic].clear();

    EXPECT_EQ(p.GetMagicResistance(), 7);
    EXPECT_EQ(p.GetParalysisResistance(), 9);
    p.effects[kListResistMagic].push_back({std::nullopt, nullptr, 150, 0, kListResistMagic, kFromSpell, 0});
    p.effects[kListResistMagic].push_back({std::nullopt, nullptr, 90, 0, kListResistMagic, kFromSpell, 0});
    EXPECT_EQ(p.GetMagicResistance(), 100) << "7 + 50 + 90, at most 100";
    p.effects[kListResistDisease].push_back(
        {std::string("base_plague"), nullptr, 130, 0, kListResistDisease, 2, 0});
    EXPECT_EQ(p.GetSpecificDiseaseResistance("base_plague"), 37);
    EXPECT_EQ(p.GetSpecificDiseaseResistance("base_other"), 7);
}

TEST(PlayerChangers, HitPointsManaGoldAndTheirMessages) {
    PlayerWorld w;
    CPlayer& p = w.player;
    p.hp = static_cast<u16>(p.GetMaxHp());
    EXPECT_EQ(p.AddHp(10, true), 0);
    EXPECT_EQ(w.host.shown.back(), "Your hp has been increased by 0.");
    p.hp = 30;
    EXPECT_EQ(p.AddHp(-500, true), -30);
    EXPECT_EQ(p.hp, 0);
    EXPECT_EQ(w.host.shown.back(), "Your hp has been decreased by 30.");
    EXPECT_EQ(w.host.hpGauge, 0);
    p.AddHp(100, false);
    EXPECT_EQ(p.hp, 60) << "a gain stops at the maximum";
    EXPECT_EQ(w.host.hpGauge, 100);
    p.mana = 10;
    p.SetFullMana(true);
    EXPECT_EQ(p.mana, 75);
    EXPECT_EQ(w.host.shown.back(), "Your full mana has been restored.");

    p.AddGold(2000000000, true, false);
    EXPECT_EQ(p.gold, 1000000000u);
    EXPECT_EQ(w.host.shown.back(), "You have received 2000000000\x09.");
    p.RemoveGold(2000000001, true);
    EXPECT_EQ(p.gold, 0u);
    p.AddGold(5, true, true);
    EXPECT_EQ(w.host.shown.back(), "You have found 5\x09.");
}

TEST(PlayerChangers, AttributesSkillsFameAndCrimeAreBounded) {
    PlayerWorld w;
    CPlayer& p = w.player;
    EXPECT_EQ(p.AddAttributeValue(kStrength, -50, true), -10);
    EXPECT_EQ(p.attributes[kStrength], 5);
    EXPECT_EQ(w.host.shown.back(), "Your Strength has been decreased by 10.");
    EXPECT_EQ(p.AddAttributeValue(kStrength, -50, true), -4) << "never below 1";
    EXPECT_EQ(p.AddAttributeValue(kStrength, 25, false), 10);
    w.host.Clear();
    p.attributes[kStrength] = 1;
    EXPECT_EQ(p.AddAttributeValue(kStrength, -3, true), 0);
    EXPECT_TRUE(w.host.shown.empty()) << "no message for no change";
    EXPECT_EQ(p.AddAttributeValue(6, 3, true), 0);

    // Skills come from world scripts: a decrease stops at 0 and an increase at the named maximum.
    EXPECT_EQ(p.AddSkillValue(kSkillBlock, -50, true), -10);
    EXPECT_EQ(p.skills[kSkillBlock], 0);
    EXPECT_EQ(w.host.shown.back(), "Your Block skill has been decreased by 10.");
    p.AddSkillValue(kSkillBlock, 60000, false);
    EXPECT_EQ(p.skills[kSkillBlock], kMaxSkillValue);
    EXPECT_EQ(p.AddSkillValue(12, 5, true), 0) << "the skill the race lacks";
    EXPECT_EQ(p.AddSkillValue(21, 5, true), 0);

    EXPECT_EQ(p.RaiseSkill(1), 1);
    p.skillOrder[0] = 2;
    p.skillPoints = 5;
    EXPECT_EQ(p.RaiseSkill(1), 2) << "a skill outside the class costs 2";
    EXPECT_EQ(p.skillPoints, 3);

    p.AddFame(150);
    EXPECT_EQ(p.fame, 100);
    EXPECT_STREQ(p.FameTitle(), "Saint");
    EXPECT_EQ(w.host.shown.back(), "Your fame has been increased.");
    p.crime = 3;
    p.AddCrime(-5);
    EXPECT_EQ(p.crime, 0u);
    EXPECT_EQ(w.host.shown.back(), "Your crime records have been cleared.");
    p.crime = 10;
    p.AddCrime(-5);
    EXPECT_EQ(p.crime, 5u);
    EXPECT_EQ(w.host.shown.back(), "Your criminal status has lessened.");
    p.AddCrime(5000);
    EXPECT_EQ(p.crime, 1000u);
    EXPECT_EQ(w.host.shown.back(), "You have committed a crime.");
}

TEST(PlayerChangers, SpellsQuestsAbilitiesAndDiseases) {
    PlayerWorld w;
    CPlayer& p = w.player;
    EXPECT_FALSE(p.LearnSpell("base_spelldrainhealth", true));
    EXPECT_EQ(w.host.shown.back(),
              "You can't learn the " +
                  std::string(w.base.spells.FindById("base_spelldrainhealth")->GetDisplayName()) + " spell.");
    EXPECT_TRUE(p.spellsBySchool[5].empty());
    EXPECT_TRUE(p.LearnSpell("base_spellfeather", true));
    EXPECT_TRUE(p.KnowsSpell("base_spellfeather"));
    size_t shown = w.host.shown.size();
    EXPECT_FALSE(p.LearnSpell("base_spellfeather", true));
    EXPECT_EQ(w.host.shown.size(), shown) << "a known spell is learnt silently";
    EXPECT_FALSE(p.LearnSpell("base_nosuchspell", true));

    p.SetQuestState("base_quest", 1, "Lost ring");
    EXPECT_EQ(w.host.shown.size(), shown) << "a quest the player lacks is left alone";
    p.AddQuest("base_quest", "Lost ring");
    EXPECT_EQ(w.host.shown.back(), "You have a new quest: Lost ring.");
    p.SetQuestState("base_quest", 1, "Lost ring");
    EXPECT_TRUE(p.IsQuestSolved("base_quest"));
    EXPECT_FALSE(p.IsQuestFailed("base_quest"));

    p.AddAbility("base_ability_etherim", true);
    EXPECT_TRUE(p.HasAbility("base_ability_etherim"));
    EXPECT_EQ(p.GetMaxMana(), 75 + 20) << "the ability's Fortify mana applies";
    p.RemoveAbility("base_ability_etherim");
    EXPECT_EQ(p.GetMaxMana(), 75);

    const CDisease* disease = w.base.diseases.At(0);
    p.InfectDisease(disease->GetName());
    EXPECT_TRUE(p.IsDiseased(""));
    EXPECT_EQ(w.host.shown.back(),
              std::string("You have been infected by ") + disease->GetDisplayName() + ".");
    p.CureDisease(disease->GetName());
    EXPECT_FALSE(p.IsDiseased(""));
}

TEST(PlayerChangers, ItemsMoneyPhrasesAndEquipmentSlots) {
    PlayerWorld w;
    CPlayer& p = w.player;
    u32 gold = p.gold;
    const CItemType& money = *w.Type("base_money_100");
    EXPECT_EQ(p.FindItem("base_money_100", 2, true), nullptr);
    EXPECT_EQ(p.gold, gold + 2 * money.value);
    EXPECT_TRUE(p.items.empty());
    EXPECT_EQ(w.host.shown.back(), "You have found " + std::to_string(money.value) + "\x09.");

    p.ReceiveItem("base_pmanasmall", 3, true);
    EXPECT_EQ(w.host.shown.back(),
              std::string("You have received 3 potions of ") + w.Type("base_pmanasmall")->name + ".");
    EXPECT_EQ(CPlayer::FormatItemPhrase(*w.Type("base_gem_amethyst"), 1),
              std::string("an ") + w.Type("base_gem_amethyst")->name + " gem");
    EXPECT_EQ(p.CountItems("base_pmanasmall"), 3);
    EXPECT_FALSE(p.RemoveItems("base_pmanasmall", 4));
    EXPECT_EQ(p.CountItems("base_pmanasmall"), 3);
    EXPECT_TRUE(p.RemoveItems("base_pmanasmall", 2));
    EXPECT_EQ(p.CountItems("base_pmanasmall"), 1);

    CItemType t;
    const struct {
        int itemClass, subclass;
        bool second;
        int slot;
    } slots[] = {{1, 1, false, 5},  {1, 1, true, 6},   {1, 11, false, 12}, {1, 13, true, 12},
                 {2, 1, false, 6},  {3, 2, false, 10}, {2, 3, false, 4},   {3, 4, false, 1},
                 {2, 5, false, 13}, {3, 6, false, 11}, {2, 7, false, 2},   {3, 8, false, 7},
                 {4, 2, false, 8},  {4, 2, true, 9},   {4, 1, false, 3},   {8, 1, false, 0},
                 {2, 9, false, 0}};
    for (const auto& c : slots) {
        t.itemClass = static_cast<u8>(c.itemClass);
        t.subclass = static_cast<u8>(c.subclass);
        EXPECT_EQ(CPlayer::SlotFor(t, c.second), c.slot) << c.itemClass << "/" << c.subclass;
    }

    CItemInstance* sword = w.Give("base_weap_shortswordcheap");
    p.EquipItem(sword, false);
    EXPECT_EQ(p.equipment[5], sword);
    std::unique_ptr<CItemInstance> taken = p.RemoveItem(sword);
    EXPECT_EQ(taken.get(), sword);
    EXPECT_EQ(p.equipment[5], nullptr) << "a removed item leaves its slot";
}

// Food that the race may not eat is filtered before the draw: a world whose food is all for the undead
// race gives a living character nothing, and the draw ends.
TEST(PlayerChangers, CreateFoodDrawsOnlyFromWhatTheRaceMayEat) {
    PlayerWorld w;
    CPlayer& p = w.player;
    p.CreateFood();
    EXPECT_EQ(w.host.posted.back(), "You have created some food.");
    ASSERT_EQ(p.items.size(), 2u);
    for (const auto& item : p.items) {
        EXPECT_EQ(item->type->itemClass, kItemComestible);
        EXPECT_EQ(item->type->flags & 0x08, 0);
    }
    EXPECT_TRUE(p.HasFoodIngredients());
    p.ConsumeFood();
    EXPECT_TRUE(p.items.empty());

    RuleWorld small;
    ItemCatalogueDef def;
    def.items.push_back(Item("base_food_vial", 14, 1));
    def.items.back().flags = 8;
    def.items.push_back(Item("base_food_moss", 14, 2));
    def.items.back().flags = 8;
    small.LoadItems(def);
    CRuleContext rules = w.rules;
    rules.items = &small.items;
    p.SetWorld(&rules);
    p.CreateFood();
    EXPECT_TRUE(p.items.empty());
    p.race = 1;
    p.CreateFood();
    EXPECT_EQ(p.items.size(), 2u);
}

TEST(PlayerMarks, SlotCountFollowsIntelligenceAndDrink) {
    PlayerWorld w;
    CPlayer& p = w.player;
    EXPECT_FALSE(p.HasMarkedPosition());
    const struct {
        int intelligence, fortify, drink;
        size_t slots;
    } cases[] = {{15, 0, 0, 3},   {4, 0, 0, 1},    {15, 10, 0, 5},
                 {15, 0, 120, 2}, {15, 0, 140, 1}, {1, -20, 0, 1}};
    for (const auto& c : cases) {
        p.ClearMarkSlots();
        p.RemoveAllEffects();
        p.attributes[kIntelligence] = static_cast<u16>(c.intelligence);
        if (c.fortify)
            p.effects[kListFortifyAttribute].push_back({std::nullopt, nullptr, static_cast<i16>(c.fortify), 0,
                                                        kListFortifyAttribute, kFromSpell, kIntelligence});
        if (c.drink)
            p.effects[kListAlcoholic].push_back(
                {std::nullopt, nullptr, static_cast<i16>(c.drink), 5, kListAlcoholic, kFromDrink, 0});
        p.UpdateMarkSlots();
        EXPECT_EQ(p.marks.size(), c.slots) << c.intelligence << " " << c.fortify << " " << c.drink;
    }
    // Growing keeps the existing slots.
    p.ClearMarkSlots();
    p.RemoveAllEffects();
    p.attributes[kIntelligence] = 5;
    p.UpdateMarkSlots();
    p.SetMarkedPosition(0, "base", "base_town", 3, 4, 2);
    EXPECT_TRUE(p.HasMarkedPosition());
    p.attributes[kIntelligence] = 10;
    p.UpdateMarkSlots();
    ASSERT_EQ(p.marks.size(), 2u);
    EXPECT_EQ(p.marks[0].map, "base_town");
    EXPECT_EQ(p.marks[0].x, 3);
    p.SetMarkedPosition(5, "base", "nowhere", 1, 1, 0);
    EXPECT_TRUE(p.marks[1].world.empty());
}

}  // namespace

namespace {

// Messages around world texts are not cut, however long the text.
TEST(PlayerChangers, MessagesKeepLongWorldTextsWhole) {
    PlayerWorld w;
    SpellDef def;
    def.id = "base_spelllong";
    def.texts[0] = std::string(6000, 'x');
    def.school = 3;
    CMemoryRecordReader reader(WriteSpellRecords({def}, kTestVersion));
    CSpellList spells;
    ASSERT_TRUE(spells.Load(reader, kTestVersion));
    CRuleContext rules = w.rules;
    rules.spells = &spells;
    w.player.SetWorld(&rules);
    ASSERT_TRUE(w.player.LearnSpell("base_spelllong", true));
    EXPECT_EQ(w.host.shown.back(), "You have received the " + def.texts[0] + " knowledge.");
}

}  // namespace

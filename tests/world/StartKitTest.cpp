// The new-game start kit, checked against the base world as the content builder writes it.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "data/ItemType.h"
#include "tests/world/PlayerFixture.h"

namespace {

std::map<std::string, int> Carried(const CPlayer& p) {
    std::map<std::string, int> counts;
    for (const auto& item : p.items) ++counts[item->type->GetName()];
    return counts;
}

const char* Worn(const CPlayer& p, int slot) {
    return p.equipment[slot] ? p.equipment[slot]->type->GetName() : "";
}

CCreatedCharacter Character(u32 race, std::initializer_list<u8> skills) {
    CCreatedCharacter c;
    c.name = "Alva";
    c.portrait = "bres_head12";
    c.gender = 0;
    c.race = race;
    std::copy(skills.begin(), skills.end(), c.skills);
    return c;
}

TEST(StartKit, EachRaceGetsItsItemsGoldTimeAndScript) {
    const struct {
        u32 race;
        const char* name;
        u32 gold;
        int hour, minute;
        const char* potion;
    } races[] = {{1, "rasvim", 500, 2, 0, "base_punholysmall"},
                 {2, "etherim", 500, 15, 0, "base_phealsmall"},
                 {3, "seiry", 600, 23, 30, "base_phealsmall"},
                 {4, "derth", 500, 15, 0, "base_phealsmall"},
                 {5, "nogur", 500, 15, 0, "base_phealsmall"}};
    for (const auto& r : races) {
        SCOPED_TRACE(r.name);
        PlayerWorld w;
        CPlayer& p = w.player;
        // Heavy Weapon, Heavy Armor, Repair, Lockpick, Disarm, Stealth: no money, no spells.
        p.GiveStartingKit(Character(r.race, {3, 6, 14, 18, 19, 20}));
        EXPECT_EQ(p.race, r.race);
        EXPECT_STREQ(p.name.GetText(), "Alva");
        EXPECT_STREQ(p.portrait.GetText(), "bres_head12");
        EXPECT_EQ(p.gender, 0);
        EXPECT_EQ(p.gold, r.gold);
        EXPECT_EQ(w.host.hour, r.hour);
        EXPECT_EQ(w.host.minute, r.minute);
        EXPECT_EQ(std::string(p.spare.GetText()), std::string("base_startgame") + r.name);
        EXPECT_TRUE(p.HasAbility(w.base.races.GetEntry(static_cast<int>(r.race))->text1));

        std::map<std::string, int> carried = Carried(p);
        const std::string race = std::string("base_race_") + r.name;
        EXPECT_EQ(carried[race + "_book"], 1);
        // The letter reads as one: a text of its own, addressed to the young of the race.
        for (const auto& item : p.items)
            if (item->type && item->type->GetName() == race + "_book") {
                const std::string text = item->type->texts[0] ? item->type->texts[0] : "";
                EXPECT_GT(text.size(), 80u) << text;
                EXPECT_NE(text.find(item->type->name + 18), std::string::npos) << text;  // the race's name
            }
        EXPECT_EQ(carried[race + "_start"], 1);
        EXPECT_EQ(carried[r.potion], 2);
        EXPECT_EQ(carried["base_pmanasmall"], 1);
        EXPECT_EQ(carried["base_weap_greatcudgel2"], 1);
        EXPECT_EQ(carried["base_mail_scalecheap"], 1);
        EXPECT_EQ(carried["base_repair_hammerapprentice"], 2);
        EXPECT_EQ(carried["base_key_lockpickbeginner"], 1);
        EXPECT_EQ(carried["base_scrdisarm"], 1);
        EXPECT_EQ(carried["base_robe_clothcape"], 1);
        EXPECT_EQ(carried["base_boots_fur"], 1);
        EXPECT_EQ(carried["base_shield_smallwooden"], 1);

        // The random pair: four of one group-1 item and four of one further item, for the race.
        int groupOne = 0, further = 0;
        for (const auto& [id, count] : carried) {
            const CItemType* t = w.Type(id.c_str());
            if (t->group == 0 || id.rfind("base_race_", 0) == 0) continue;
            EXPECT_EQ(count, 4) << id;
            EXPECT_EQ((t->flags & 0x08) != 0, r.race == 1) << id;
            (t->group == 1 ? groupOne : further) += 1;
        }
        EXPECT_EQ(groupOne, 1);
        EXPECT_EQ(further, 1);

        EXPECT_STREQ(Worn(p, 5), "base_weap_greatcudgel2");
        EXPECT_STREQ(Worn(p, 6), "base_shield_smallwooden");
        EXPECT_STREQ(Worn(p, 4), "base_mail_scalecheap");
        EXPECT_STREQ(Worn(p, 11), "base_boots_fur");

        // Class skills 15..19, the others 10..14, in the order the Part lays down.
        EXPECT_EQ(std::vector<u8>(p.skillOrder, p.skillOrder + 6), (std::vector<u8>{3, 6, 14, 18, 19, 20}));
        EXPECT_EQ(std::vector<u8>(p.skillOrder + 6, p.skillOrder + 20),
                  (std::vector<u8>{1, 2, 4, 5, 7, 8, 9, 10, 11, 12, 13, 15, 16, 17}));
        for (int i = 0; i < 20; ++i) {
            int s = p.skillOrder[i];
            EXPECT_GE(p.skills[s], i < 6 ? 15 : 10) << s;
            EXPECT_LE(p.skills[s], i < 6 ? 19 : 14) << s;
        }
        EXPECT_EQ(p.hp, p.GetMaxHp());
        EXPECT_EQ(p.mana, p.GetMaxMana());
    }
}

TEST(StartKit, ClassSkillCombinationsChooseWhatIsWorn) {
    {
        SCOPED_TRACE("dual wield with light weapon: the short sword in the second hand, no dirk");
        PlayerWorld w;
        w.player.GiveStartingKit(Character(2, {4, 2, 3, 5, 15, 17}));
        std::map<std::string, int> carried = Carried(w.player);
        EXPECT_EQ(carried.count("base_weap_dirkcheap"), 0u);
        EXPECT_STREQ(Worn(w.player, 6), "base_weap_shortswordcheap");
        EXPECT_STREQ(Worn(w.player, 5), "base_weap_greatcudgel2");
        EXPECT_EQ(carried.count("base_shield_smallwooden"), 0u);
        EXPECT_STREQ(Worn(w.player, 4), "base_mail_frayedleather");
        // Mercantile and Persuade: two 100-coin purses go to the gold, with the gem carried.
        EXPECT_EQ(w.player.gold, 500u + 2 * w.Type("base_money_100")->value);
        EXPECT_EQ(carried.count("base_money_100"), 0u);
        EXPECT_EQ(carried["base_gem_amethyst"], 1);
    }
    {
        SCOPED_TRACE("dual wield without heavy weapon: a great cudgel and the dirk");
        PlayerWorld w;
        w.player.GiveStartingKit(Character(4, {4, 1, 7, 16, 18, 19}));
        std::map<std::string, int> carried = Carried(w.player);
        EXPECT_EQ(carried["base_weap_greatcudgel2"], 1);
        EXPECT_STREQ(Worn(w.player, 5), "base_weap_greatcudgel2") << "the bow is not worn by a dual wielder";
        EXPECT_STREQ(Worn(w.player, 6), "base_weap_dirkcheap");
        EXPECT_STREQ(Worn(w.player, 12), "base_quiver_cheap");
        EXPECT_EQ(carried["base_shield_woodenround"], 1);
        EXPECT_EQ(carried["base_alc_mortarbeginner"], 1);
        EXPECT_EQ(carried["base_alc_purplefairyring"], 1);
    }
    {
        SCOPED_TRACE("a block class: the round shield in the second hand, the bow as weapon");
        PlayerWorld w;
        w.player.GiveStartingKit(Character(5, {1, 2, 5, 6, 8, 20}));
        EXPECT_STREQ(Worn(w.player, 6), "base_shield_woodenround");
        EXPECT_STREQ(Worn(w.player, 5), "base_weap_shortswordcheap");
        EXPECT_STREQ(Worn(w.player, 4), "base_mail_scalecheap") << "light armour is not worn over heavy";
    }
}

TEST(StartKit, SpellsFollowTheSchoolsOfTheRace) {
    PlayerWorld w;
    w.player.GiveStartingKit(Character(1, {8, 9, 10, 11, 12, 13}));
    std::map<std::string, int> carried = Carried(w.player);
    EXPECT_EQ(carried["base_spbookcurelightwounds"], 1);
    EXPECT_FALSE(w.player.KnowsSpell("base_spellcurelightwounds")) << "school 1 is closed to the undead race";
    EXPECT_TRUE(w.player.KnowsSpell("base_spelldrainhealth"));
    EXPECT_TRUE(w.player.KnowsSpell("base_spellstoneskin"));

    PlayerWorld v;
    v.player.GiveStartingKit(Character(3, {8, 9, 10, 11, 12, 13}));
    EXPECT_EQ(Carried(v.player)["base_spbookdrainhealth"], 1);
    EXPECT_FALSE(v.player.KnowsSpell("base_spelldrainhealth")) << "school 5 is closed to the living races";
    EXPECT_TRUE(v.player.KnowsSpell("base_spellcurelightwounds"));
    EXPECT_TRUE(v.player.KnowsSpell("base_spellfeather"));
}

// A world whose random table holds nothing acceptable gives no random items and the draw ends; one
// without group-1 items still gives the further item.
TEST(StartKit, RandomDrawEndsOnATableWithoutAcceptableItems) {
    PlayerWorld w;
    RuleWorld small;
    ItemCatalogueDef def;
    def.items.push_back(Item("base_food_vial", 14, 1));
    def.items.back().group = 1;
    def.items.back().flags = 8;
    def.items.push_back(Item("base_ring_plain", 4, 2));
    def.items.back().group = 3;
    small.LoadItems(def);
    CRuleContext rules = w.rules;
    rules.items = &small.items;
    w.player.SetWorld(&rules);
    w.player.GiveStartingKit(Character(2, {3, 6, 14, 18, 19, 20}));
    std::map<std::string, int> carried = Carried(w.player);
    EXPECT_EQ(carried.count("base_food_vial"), 0u);
    EXPECT_EQ(carried["base_ring_plain"], 4);
    EXPECT_EQ(carried.count("base_weap_greatcudgel2"), 0u) << "the kit's ids are not in this world";

    PlayerWorld v;
    ItemCatalogueDef none;
    RuleWorld empty;
    empty.LoadItems(none);
    rules.items = &empty.items;
    v.player.SetWorld(&rules);
    v.player.GiveStartingKit(Character(1, {3, 6, 14, 18, 19, 20}));
    EXPECT_TRUE(v.player.items.empty());
    EXPECT_EQ(v.player.gold, 500u);
}

// The order of the random draws is part of the behaviour: the random pair first, then the six class
// skills, then the counted items of the class skills, then the fourteen other skills.
TEST(StartKit, TheSequenceOfDrawsForOneSeed) {
    PlayerWorld w(1765432100);
    CRandom replay;
    {
        plat::ScopedClock scoped(w.clock);
        replay.Seed(nullptr);
    }
    w.player.GiveStartingKit(Character(2, {7, 3, 6, 14, 18, 20}));
    const CItemCatalogue& items = w.base.items;
    std::vector<const CItemType*> groupOne, further;
    for (int g = 1; g <= kMaxItemGroup; ++g)
        for (u16 i : items.GetGroupList(g)) {
            const CItemType* t = items.GetItemType(i);
            if (!(t->flags & 0x08)) (g == 1 ? groupOne : further).push_back(t);
        }
    std::vector<const CItemType*> all = groupOne;
    all.insert(all.end(), further.begin(), further.end());
    const CItemType* first = all[replay.Next(static_cast<i32>(all.size()))];
    auto countedDraws = [&](const CItemType* t) {
        for (int i = 0; i < 4; ++i)
            if (t->IsCountedWeapon()) replay.Next(10);
    };
    countedDraws(first);
    const std::vector<const CItemType*>& rest = first->group == 1 ? further : groupOne;
    const CItemType* second = rest[replay.Next(static_cast<i32>(rest.size()))];
    countedDraws(second);
    EXPECT_EQ(Carried(w.player)[first->GetName()], 4);
    EXPECT_EQ(Carried(w.player)[second->GetName()], 4);
    for (int s : {7, 3, 6, 14, 18, 20})
        EXPECT_EQ(w.player.skills[s], 15 + static_cast<int>(replay.Next(5))) << s;
    u32 quiver = 10 + replay.Next(10);
    EXPECT_EQ(w.player.equipment[12]->count, quiver);
    for (int s = 1; s <= 20; ++s)
        if (s != 7 && s != 3 && s != 6 && s != 14 && s != 18 && s != 20) {
            EXPECT_EQ(w.player.skills[s], 10 + static_cast<int>(replay.Next(5))) << s;
        }

    // And pinned as numbers, so that a change in how the generator is used shows here too.
    std::vector<int> values;
    for (int i = 0; i < 20; ++i) values.push_back(w.player.skills[w.player.skillOrder[i]]);
    EXPECT_STREQ(first->GetName(), "base_phealmedium");
    EXPECT_STREQ(second->GetName(), "base_food_bread");
    EXPECT_EQ(quiver, 12u);
    EXPECT_EQ(values, (std::vector<int>{15, 19, 17, 16, 19, 16, 11, 11, 14, 13,
                                        14, 12, 10, 13, 11, 11, 12, 12, 11, 11}));
}

}  // namespace

// The player's record of a saved game: written byte for byte as its field list gives it, and read back
// at every save version whose layout differs (single-byte values before 116, no mark slots up to 89),
// with the effects of equipment, abilities and diseases built again exactly once.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "core/Stream.h"
#include "data/SavedGame.h"
#include "tests/world/PlayerFixture.h"
#include "tests/world/PlayerRecordFixture.h"

namespace {

using testing_support::PlayerRecordFixture;

class PlayerSaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        curse = w.base.spells.FindById("base_spellcurse");
        ASSERT_NE(curse, nullptr);
        ASSERT_GE(curse->school, 1);
        ASSERT_LE(curse->school, 7);
        strings.InternObjectName("base_weap_mace");
        strings.InternObjectName("base_weap_longsword");
        strings.InternContainerName("base_spellcurse");
    }

    // Reads a record into the fixture's player; false when it was refused.
    bool Load(std::vector<u8> bytes, u32 version, CSaveStringTable& table) {
        CStream stream;
        stream.InitForReading(bytes.data(), static_cast<u32>(bytes.size()));
        const bool ok = w.player.SerializeSaved(stream, table, version);
        EXPECT_EQ(stream.GetOffset(), bytes.size());
        return ok;
    }

    int FromSource(u8 source) const {
        int n = 0;
        for (const auto& list : w.player.effects)
            for (const CActiveEffect& e : list) n += e.source == source;
        return n;
    }

    PlayerWorld w;
    const CSpell* curse = nullptr;
    CSaveStringTable strings;
};

TEST_F(PlayerSaveTest, WritesTheRecordAsItsFieldListGivesIt) {
    CPlayer& p = w.player;
    p.name = "Ada";
    p.portrait = "bres_head3";
    p.gender = 0;
    p.hp = 0;
    p.mana = 25;
    p.level = 4;
    p.xp = 7000;
    p.xpHighWater = 7100;
    p.savedXp = 10;
    p.xpForNextLevel = 9000;
    p.gold = 4321;
    p.fame = -12;
    p.crime = 40;
    p.race = 3;
    p.levelGainFlag = 1;
    for (int a = 1; a <= 5; ++a) {
        p.attributes[a] = static_cast<u16>(10 + a);
        p.attributeRaises[a] = static_cast<u16>(a % 2);
    }
    p.attributePoints = 2;
    for (int k = 1; k <= 20; ++k) {
        p.skillOrder[k - 1] = static_cast<u8>(21 - k);
        p.skillRaises[k] = static_cast<u16>(k % 3);
        p.skills[k] = static_cast<u16>(20 + k);
        p.skillUse[k] = static_cast<u16>(300 + k);
    }
    p.skillPoints = 3;
    p.LearnSpell(*curse);
    p.AddQuest("base_quest_rats", "Rats");
    p.SetQuestState("base_quest_rats", 1, "Rats");
    CItemInstance* mace = w.Give("base_weap_mace");
    mace->count = 50;
    CItemInstance* sword = w.Give("base_weap_longsword");
    sword->count = 0;
    p.EquipItem(sword, false);
    ASSERT_EQ(p.equipment[5], sword);
    p.AddAbility("base_ability_derth", false);
    p.InfectDisease("base_disease_swampcough");
    p.RememberReadText("base_weap_mace");
    p.marks.resize(1);
    p.SetMarkedPosition(0, "base", "base_town", 12, 13, 2);
    p.AddConditionEffect(2, kFromDrink, mace->type, -3, 20, 2, nullptr);
    p.AddConditionEffect(2, kFromSpell, curse, 5, 10, 1, nullptr);

    CSaveStringTable written;
    CStream stream;
    stream.InitForWriting();
    ASSERT_TRUE(p.SerializeSaved(stream, written, savegame::kSaveVersion));
    EXPECT_EQ(std::vector<u8>(stream.GetBuffer(), stream.GetBuffer() + stream.GetOffset()),
              PlayerRecordFixture(savegame::kSaveVersion, curse->school));
    EXPECT_STREQ(written.NameAt(CSaveStringTable::kItemTypes, 2), "base_weap_longsword");
    EXPECT_STREQ(written.NameAt(CSaveStringTable::kSpells, 1), "base_spellcurse");

    // A player with no spells writes seven zero counts; an empty slot writes 65535.
    w.player.ResetToDefaults();
    CSaveStringTable none;
    CStream fresh;
    fresh.InitForWriting();
    ASSERT_TRUE(w.player.SerializeSaved(fresh, none, savegame::kSaveVersion));
    CStream back;
    std::vector<u8> bytes(fresh.GetBuffer(), fresh.GetBuffer() + fresh.GetOffset());
    PlayerWorld other;
    back.InitForReading(bytes.data(), static_cast<u32>(bytes.size()));
    ASSERT_TRUE(other.player.SerializeSaved(back, none, savegame::kSaveVersion));
    for (const auto& list : other.player.spellsBySchool) EXPECT_TRUE(list.empty());
    for (CItemInstance* slot : other.player.equipment) EXPECT_EQ(slot, nullptr);
}

TEST_F(PlayerSaveTest, ReadsEveryVersionsLayout) {
    struct Case {
        u32 version;
        bool marks;
    } cases[] = {{89, false}, {90, true}, {115, true}, {116, true}, {122, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        w.player.ResetToDefaults();
        w.player.AddConditionEffect(2, kFromHit, nullptr, 1, 5, 1, nullptr);
        ASSERT_TRUE(Load(PlayerRecordFixture(c.version, curse->school), c.version, strings));
        const CPlayer& p = w.player;
        EXPECT_STREQ(p.name.GetText(), "Ada");
        EXPECT_EQ(p.hp, 1);  // saved with 0
        EXPECT_EQ(p.fame, -12);
        EXPECT_EQ(p.gold, 4321u);
        EXPECT_EQ(p.race, 3u);
        EXPECT_EQ(p.attributes[4], 14);
        EXPECT_EQ(p.attributePoints, 2);
        EXPECT_EQ(p.skills[20], 40);
        EXPECT_EQ(p.skillRaises[2], 2);
        EXPECT_EQ(p.skillUse[7], 307);
        EXPECT_EQ(p.skillOrder[0], 20);
        EXPECT_TRUE(p.KnowsSpell("base_spellcurse"));
        EXPECT_TRUE(p.IsQuestSolved("base_quest_rats"));
        ASSERT_EQ(p.items.size(), 2u);
        EXPECT_EQ(p.items[0]->count, 50);
        ASSERT_NE(p.equipment[5], nullptr);
        EXPECT_STREQ(p.equipment[5]->type->GetName(), "base_weap_longsword");
        EXPECT_TRUE(p.HasAbility("base_ability_derth"));
        EXPECT_TRUE(p.IsDiseased("base_disease_swampcough"));
        EXPECT_TRUE(p.HasReadBook("base_weap_mace"));
        EXPECT_EQ(p.marks.size(), c.marks ? 1u : 0u);
        if (c.marks) {
            EXPECT_EQ(p.marks[0].map, "base_town");
            EXPECT_EQ(p.marks[0].y, 13);
        }
        // The stored effects come back with their origins; the running game's own went with the reset.
        EXPECT_EQ(FromSource(kFromHit), 0);
        ASSERT_EQ(p.effects[kListFortifyAttribute].size() >= 2, true);
        int drink = 0, spell = 0;
        for (const CActiveEffect& e : p.effects[kListFortifyAttribute]) {
            if (e.source == kFromDrink) {
                ++drink;
                EXPECT_EQ(e.origin, w.Type("base_weap_mace"));
                EXPECT_EQ(e.strength, -3);
                EXPECT_EQ(e.duration, 21);
            }
            if (e.source == kFromSpell) {
                ++spell;
                EXPECT_EQ(e.origin, curse);
            }
        }
        EXPECT_EQ(drink, 1);
        EXPECT_EQ(spell, 1);
    }

    // The effects of what the player holds are there exactly once: as many as applying them afresh
    // gives.
    const int equipment = FromSource(kFromEquipment), ability = FromSource(kFromAbility),
              disease = FromSource(kFromDisease);
    w.player.ReapplyEquipmentEffects();
    w.player.ReapplyAbilityEffects();
    w.player.ReapplyDiseaseEffects();
    EXPECT_EQ(FromSource(kFromEquipment), equipment);
    EXPECT_EQ(FromSource(kFromAbility), ability);
    EXPECT_EQ(FromSource(kFromDisease), disease);
    EXPECT_GT(ability + disease, 0);
}

TEST_F(PlayerSaveTest, WhatTheWorldLostIsDroppedAndTheRestStays) {
    // The long sword, the curse, the ability and the disease are gone from this world.
    CSaveStringTable gone;
    gone.InternObjectName("base_weap_mace");
    gone.InternObjectName("base_weap_gone");
    gone.InternContainerName("base_spell_gone");
    std::vector<u8> bytes = PlayerRecordFixture(122, curse->school);
    const std::string ability = "base_ability_derth", disease = "base_disease_swampcough";
    auto rename = [&](const std::string& from, char to) {
        auto at = std::search(bytes.begin(), bytes.end(), from.begin(), from.end());
        ASSERT_NE(at, bytes.end());
        *(at + 5) = to;
    };
    rename(ability, 'X');
    rename(disease, 'X');
    ASSERT_TRUE(Load(bytes, 122, gone));
    const CPlayer& p = w.player;
    ASSERT_EQ(p.items.size(), 1u);
    EXPECT_STREQ(p.items[0]->type->GetName(), "base_weap_mace");
    // The slot named the dropped entry: empty, not the entry that came after it.
    for (CItemInstance* slot : p.equipment) EXPECT_EQ(slot, nullptr);
    for (const auto& list : p.spellsBySchool) EXPECT_TRUE(list.empty());
    EXPECT_TRUE(p.abilities.empty());
    EXPECT_TRUE(p.diseases.empty());
    // The spell effect's origin is gone with it; the drink's stays.
    int drink = 0, spell = 0;
    for (const CActiveEffect& e : p.effects[kListFortifyAttribute]) {
        drink += e.source == kFromDrink;
        spell += e.source == kFromSpell;
    }
    EXPECT_EQ(drink, 1);
    EXPECT_EQ(spell, 0);

    // Every cut of the record is refused.
    bytes = PlayerRecordFixture(122, curse->school);
    for (size_t keep = 0; keep + 1 < bytes.size(); keep += 3) {
        std::vector<u8> part(bytes.begin(), bytes.begin() + static_cast<long>(keep));
        CStream stream;
        stream.InitForReading(part.data(), static_cast<u32>(part.size()));
        EXPECT_FALSE(w.player.SerializeSaved(stream, strings, 122)) << keep;
    }
}

// An effect stored without an origin (a drink that came from no item, a blow's condition) keeps none;
// only an origin that was stored and is gone drops its entry.
TEST_F(PlayerSaveTest, EffectsWithoutAnOriginComeBack) {
    w.player.AddConditionEffect(2, kFromDrink, nullptr, 4, 9, 1, "ale");
    w.player.AddConditionEffect(2, kFromHit, nullptr, -2, 9, 3, nullptr);
    CSaveStringTable table;
    CStream out;
    out.InitForWriting();
    ASSERT_TRUE(w.player.SerializeSaved(out, table, savegame::kSaveVersion));
    std::vector<u8> bytes(out.GetBuffer(), out.GetBuffer() + out.GetOffset());
    w.player.RemoveAllEffects();
    ASSERT_TRUE(Load(bytes, savegame::kSaveVersion, table));
    ASSERT_EQ(FromSource(kFromDrink), 1);
    ASSERT_EQ(FromSource(kFromHit), 1);
    for (const CActiveEffect& e : w.player.effects[kListFortifyAttribute]) {
        EXPECT_EQ(e.origin, nullptr);
        if (e.source == kFromDrink) {
            EXPECT_EQ(e.name.value_or(""), "ale");
        }
    }
}

}  // namespace

namespace {

// Hostile player sections: values a damaged or made-up saved game may hold, and what the load makes of
// each. Every value is brought into the range it has in play; a worn item that does not fit its slot,
// or is worn twice, goes back among the carried items.
TEST_F(PlayerSaveTest, HostileValuesAreBoundedWhenRead) {
    struct Case {
        const char* what;
        std::function<void(CPlayer&)> set;
        std::function<void(const CPlayer&)> check;
    };
    const Case cases[] = {
        {"level past the experience table", [](CPlayer& p) { p.level = 255; },
         [](const CPlayer& p) {
             EXPECT_EQ(p.level, kMaxLevel);
             EXPECT_EQ(p.GetXpForNextLevel(), 0u);
         }},
        {"level 0", [](CPlayer& p) { p.level = 0; }, [](const CPlayer& p) { EXPECT_EQ(p.level, 1); }},
        {"hit points past the maximum", [](CPlayer& p) { p.hp = 60000; },
         [](const CPlayer& p) { EXPECT_EQ(p.hp, p.GetMaxHp()); }},
        {"spell points past the maximum", [](CPlayer& p) { p.mana = 60000; },
         [](const CPlayer& p) { EXPECT_EQ(p.mana, p.GetMaxMana()); }},
        {"no such race, no such gender", [](CPlayer& p) { p.race = 200, p.gender = 7; },
         [](const CPlayer& p) {
             EXPECT_EQ(p.race, 5u);
             EXPECT_EQ(p.gender, 1);
         }},
        {"gold, skills and skill order past their ranges",
         [](CPlayer& p) {
             p.gold = 0xFFFFFFFF;
             p.skills[3] = 60000;
             p.skillOrder[0] = 99;
         },
         [](const CPlayer& p) {
             EXPECT_EQ(p.gold, kMaxGold);
             EXPECT_EQ(p.skills[3], kMaxSkillValue);
             EXPECT_EQ(p.skillOrder[0], 0);
         }},
        {"one helm in all thirteen slots",
         [this](CPlayer& p) {
             CItemInstance* helm = w.Give("base_helm_iron");
             for (int slot = 1; slot <= kEquipmentSlotCount; ++slot) p.equipment[slot] = helm;
         },
         [](const CPlayer& p) {
             ASSERT_EQ(p.items.size(), 1u);
             EXPECT_EQ(p.equipment[1], p.items[0].get());
             for (int slot = 2; slot <= kEquipmentSlotCount; ++slot) EXPECT_EQ(p.equipment[slot], nullptr) << slot;
         }},
        {"a sword on the head",
         [this](CPlayer& p) { p.equipment[1] = w.Give("base_weap_longsword"); },
         [](const CPlayer& p) {
             ASSERT_EQ(p.items.size(), 1u);
             for (CItemInstance* slot : p.equipment) EXPECT_EQ(slot, nullptr);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        w.player.ResetToDefaults();
        c.set(w.player);
        CSaveStringTable table;
        CStream out;
        out.InitForWriting();
        ASSERT_TRUE(w.player.SerializeSaved(out, table, savegame::kSaveVersion));
        std::vector<u8> bytes(out.GetBuffer(), out.GetBuffer() + out.GetOffset());
        w.player.ResetToDefaults();
        ASSERT_TRUE(Load(bytes, savegame::kSaveVersion, table));
        c.check(w.player);
    }
}

}  // namespace

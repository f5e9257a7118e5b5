// The base world's rule records as the builder writes them, read back by the game's loaders: every
// kind fills, and every id the new game, the hands and the creation screen name resolves.
#include <gtest/gtest.h>

#include <set>

#include "data/Effect.h"
#include "screens/npc/CraftRules.h"
#include "tests/data/BaseRulesFixture.h"
#include "tools/content/PictureEncoder.h"
#include "tools/content/rules/BaseRules.h"

namespace {

TEST(BaseWorld, EveryRuleKindLoadsAndFills) {
    LoadedBase base(kTestVersion);
    EXPECT_TRUE(base.ok);
    EXPECT_EQ(base.abilities.Count(), 5);
    EXPECT_GE(base.recipes.Count(), 1);
    EXPECT_GE(base.diseases.Count(), 1);
    EXPECT_GE(base.items.GetItemTypeCount(), 50);
    EXPECT_GE(base.items.GetAnimationCount(), 5);
    EXPECT_GE(base.items.GetUseStyleCount(), 1);
    EXPECT_EQ(base.items.GetPictureListCount(), 1);
    EXPECT_GE(base.creatures.GetKindCount(), 3);
    EXPECT_GE(base.creatures.GetTypeCount(), 3);
    EXPECT_GE(base.dialogue.greetings.GetCount(), 1);
    EXPECT_GE(base.portraits.Count(), 12);
    EXPECT_EQ(base.npcs.Count(), static_cast<int>(BaseRules().npcs.size()));
    EXPECT_GE(base.spells.Count(), 6);
    EXPECT_STREQ(base.races.GetEntry(3)->text1, "base_ability_seiry");
    EXPECT_STREQ(base.skills.GetEntry(20)->text, "Moving unseen.");
    EXPECT_EQ(base.attributes.FindId("Per"), 5);
}

// A creature's own effects are of the combatant's source: each kind is one that source may hold, in
// the mode it takes there (its known spells are "Cast spell" effects that cast).
TEST(BaseWorld, CreatureEffectsAreKindsTheirSourceAllows) {
    LoadedBase base(kTestVersion);
    ASSERT_TRUE(base.ok);
    const CEffectKindTable kinds;
    int casts = 0;
    for (int t = 0; t < base.creatures.GetTypeCount(); ++t) {
        const CMonsterType* type = base.creatures.GetType(t);
        for (int i = 0; i < type->effects.Count(); ++i) {
            const CEffect* e = type->effects.At(i);
            EXPECT_EQ(kinds.FindMode(1, e->kind), e->mode) << type->GetName() << " effect " << i;
            casts += e->mode == kModeCast;
        }
    }
    EXPECT_GE(casts, 2);  // the skeleton mage's two spells
}

TEST(BaseWorld, TheHerbsOfTheWorldBrewItsPotions) {
    LoadedBase base(kTestVersion);
    ASSERT_TRUE(base.ok);
    struct Row {
        const char *first, *second, *potion;
    } rows[] = {{"base_alc_alkieberries", "base_alc_ladyslipper", "base_phealsmall"},
                {"base_alc_moonshinemushies", "base_alc_purplefairyring", "base_pmanasmall"}};
    for (const Row& r : rows) {
        const CItemType* slots[3] = {base.items.FindItemType(r.first), base.items.FindItemType(r.second),
                                     nullptr};
        ASSERT_NE(slots[0], nullptr) << r.first;
        ASSERT_NE(slots[1], nullptr) << r.second;
        std::vector<craft::CPotionChoice> made =
            craft::FindMatchingRecipes(base.recipes, base.items, 60, slots);
        ASSERT_EQ(made.size(), 1u) << r.potion;
        EXPECT_STREQ(made[0].potion->GetName(), r.potion);
        EXPECT_FALSE(made[0].unidentified);
    }
}

TEST(BaseWorld, EveryStartKitIdResolves) {
    LoadedBase base(kTestVersion);
    const std::vector<std::string> items = StartKitItemIds();
    std::vector<std::string> missing;
    for (const std::string& id : items)
        if (!base.items.FindItemType(id.c_str())) missing.push_back(id);
    EXPECT_TRUE(missing.empty()) << "items that would not resolve: " << ::testing::PrintToString(missing);

    // The kit's spells, each in the school its skill teaches.
    for (const StartKitSpell& s : kStartKitSpells) {
        const CSpell* spell = base.spells.FindById(s.id);
        ASSERT_NE(spell, nullptr) << s.id << " would not resolve";
        EXPECT_EQ(spell->school, s.school) << s.id;
    }
    // Each spell book and scroll casts a spell of the world.
    for (int i = 0; i < base.items.GetItemTypeCount(); ++i) {
        const CItemType* t = base.items.GetItemType(i);
        if (t->itemClass == kItemMagic && t->effects) {
            EXPECT_NE(base.spells.FindById(t->effects->At(0)->id), nullptr) << t->GetName();
        }
    }
    // Each race's ability.
    for (int race = 1; race <= 5; ++race)
        EXPECT_NE(base.abilities.FindById(base.races.GetEntry(race)->text1), nullptr) << race;
}

TEST(BaseWorld, TheRandomStartDrawFinishesForEveryRace) {
    LoadedBase base(kTestVersion);
    for (int race = 1; race <= 5; ++race) {
        bool groupOne = false, further = false;
        for (int i = 0; i < base.items.GetItemTypeCount(); ++i) {
            const CItemType* t = base.items.GetItemType(i);
            bool acceptable = ((t->flags & 8) != 0) == (race == 1);
            if (!acceptable || t->group == 0) continue;
            groupOne |= t->group == 1;
            further |= t->group >= 2;
        }
        EXPECT_TRUE(groupOne && further) << "race " << race;
    }
    EXPECT_GT(base.items.GetGroupCount(1), 0);
    EXPECT_GT(base.items.GetGroupCount(2), 0);
}

TEST(BaseWorld, HandsFacesCreaturesAndTheMerchantResolve) {
    LoadedBase base(kTestVersion);
    for (const char* id :
         {"bres_fpsfist", "bres_fpsthrow", "bres_fpscastself", "bres_fpscasttouch", "bres_fpscastother"})
        EXPECT_NE(base.items.FindFpsAnimation(id), nullptr) << id << " would not resolve";
    for (int i = 0; i < base.items.GetItemTypeCount(); ++i) {
        const CItemType* t = base.items.GetItemType(i);
        if (!t->useStyle) continue;
        const CItemUseStyle* style = base.items.FindUseStyle(t->useStyle);
        ASSERT_NE(style, nullptr) << t->GetName();
        EXPECT_NE(base.items.FindFpsAnimation(style->texts[2]), nullptr) << t->GetName();
    }
    for (const char* face : {"undead", "etherim", "seiry", "derth", "nogur"}) {
        const CPortrait* p = base.portraits.FindById((std::string("bres_head00_race") + face).c_str());
        ASSERT_NE(p, nullptr) << face << " would not resolve";
        EXPECT_EQ(p->selectable, 1);
    }
    EXPECT_NE(base.portraits.FindById("bres_head34"), nullptr);
    EXPECT_NE(base.portraits.FindById("bres_headunknown"), nullptr);
    for (int i = 0; i < base.creatures.GetTypeCount(); ++i) {
        const CMonsterType* t = base.creatures.GetType(i);
        EXPECT_NE(t->creatureKind, nullptr) << t->GetName();
        if (t->npcId) {
            EXPECT_NE(base.npcs.FindById(t->npcId), nullptr) << t->GetName();
        }
    }
    const CNpc* merchant = base.npcs.FindById("Hesper");
    ASSERT_NE(merchant, nullptr);
    EXPECT_NE(base.portraits.FindById(merchant->GetPortraitId()), nullptr);
    ASSERT_NE(merchant->dialogue, nullptr);
    EXPECT_GE(merchant->dialogue->greetings.GetCount(), 1);
    EXPECT_FALSE(base.items.GetGroupClassList(merchant->merchantLevel, 1).empty());
    EXPECT_NE(base.dialogue.FindEntryByName("bres_monster", "base_"), nullptr);
}

TEST(BaseWorld, EveryNamedPictureIsPaintedAndEncodes) {
    std::vector<RulePicture> pictures = PaintRulePictures();
    std::set<std::string> painted;
    for (const RulePicture& p : pictures) {
        painted.insert(p.name);
        EXPECT_GT(p.picture.Width(), 0) << p.name;
        EXPECT_GE(EncodePicture(p.picture).size(), 8u) << p.name;
    }
    for (const std::string& name : RulePictureNames(BaseRules())) EXPECT_TRUE(painted.count(name)) << name;
    LoadedBase base(kTestVersion);
    for (const char* name : base.items.GetPicturesToLoad()) EXPECT_TRUE(painted.count(name)) << name;
    for (int i = 0; i < base.creatures.GetKindCount(); ++i) {
        const CCreatureKind* k = base.creatures.GetKind(i);
        for (int f = 0; f < k->GetFrameCount(); ++f)
            EXPECT_TRUE(k->frames[f] && painted.count(k->frames[f])) << k->GetName();
    }
}

TEST(BaseWorld, RecordsOfOlderVersionsLoadToo) {
    for (int version : {20, 24, 25, 45, 47, 48, 51, 52, 62, 73, 85, 104, 105, 110, 114, 120, 121, 122}) {
        LoadedBase base(version);
        EXPECT_TRUE(base.ok) << version;
        EXPECT_GE(base.items.GetItemTypeCount(), 50) << version;
        EXPECT_GE(base.spells.Count(), 6) << version;
        EXPECT_EQ(base.npcs.Count(), static_cast<int>(BaseRules().npcs.size())) << version;
        EXPECT_GE(base.creatures.GetTypeCount(), 3) << version;
    }
}

TEST(BaseWorld, RecordsByteForByteAgainstTheFieldLists) {
    // Portraits at version 122: tag, aligned count, then marker, id and selectable byte each.
    RuleRecord portraits = WritePortraitRecord({{"bres_a", 1}, {"bres_bb", 0}}, 122);
    const std::vector<u8> expected = {0x25, 0,    2,   0,   0x26, 'b', 'r', 'e', 's', '_', 'a', 0,
                                      1,    0x26, 'b', 'r', 'e',  's', '_', 'b', 'b', 0,   0};
    EXPECT_EQ(portraits, expected);
    // One effect at version 122 and at 24 (no radius).
    EffectDef e = Fx(26, -3, "x", 1);
    e.amountPerLevel = 2, e.duration = 0x0102, e.durationPerLevel = 7, e.radius = 4, e.target = 9;
    ByteWriter modern, old;
    modern.U8(0);  // an odd start shows the alignment of the amounts
    PutEffect(modern, e, 122);
    PutEffect(old, e, 24);
    EXPECT_EQ(modern.Take(), (std::vector<u8>{0, 5, 'x', 0, 0xFD, 0xFF, 2, 0, 2, 1, 7, 0, 9, 1, 26, 4}));
    EXPECT_EQ(old.Take(), (std::vector<u8>{5, 'x', 0, 0, 0xFD, 0xFF, 2, 0, 2, 1, 7, 0, 9, 1, 26}));
    // An item list of bags and monster types, as the game writes it and as the builder does.
    CPointerArray list;
    auto* entry = new CModifierEntry;
    entry->itemId = DuplicateString("base_x");
    entry->count = 2, entry->group = 3, entry->chance = 40, entry->condition = 90;
    list.Add(entry);
    list.Add(new CModifierEntry);
    CStream out;
    out.InitForWriting();
    u8 lead = 7;
    out.SerializeU8(lead);
    SerializeModifierList(out, list);
    ByteWriter w;
    w.U8(7);
    PutItemList(w, {{"base_x", 2, 3, 40, 90}, {"", 1, 1, 100, 100}});
    const std::vector<u8> items = {7, 0, 2, 0,  'b', 'a', 's', 'e', '_', 'x',
                                   0, 2, 3, 40, 90,  0,   1,   1,   100, 100};
    EXPECT_EQ(std::vector<u8>(out.GetBuffer(), out.GetBuffer() + out.GetOffset()), items);
    EXPECT_EQ(w.Take(), items);
    FreeModifierList(list);
    // Attributes absent: tag and a present flag of 0.
    EXPECT_EQ(WriteAttributeRecord({}, 122), (std::vector<u8>{'R', 0, 0, 0}));
}

}  // namespace

namespace {

TEST(BaseWorld, AWorldLoadedAfterItIsTakenBackOutByTheMarks) {
    LoadedBase base(kTestVersion);
    auto spells = base.spells.GetMark();
    auto items = base.items.GetMark();
    auto creatures = base.creatures.GetMark();
    auto dialogue = base.dialogue.GetMark();
    auto npcs = base.npcs.GetMark();
    auto portraits = base.portraits.GetMark();
    auto abilities = base.abilities.GetMark();
    auto races = base.races.GetMark();
    const int itemCount = base.items.GetItemTypeCount();
    const size_t group1 = base.items.GetGroupList(1).size();

    SpellDef spell;
    spell.id = "xtra_spell";
    CMemoryRecordReader spellReader(WriteSpellRecords({spell}, kTestVersion));
    ASSERT_TRUE(base.spells.Load(spellReader, kTestVersion));
    ItemCatalogueDef more;
    ItemDef bread = Item("xtra_bread", 14, 1, "Bread");
    bread.group = 1;
    more.items = {bread};
    CMemoryRecordReader itemReader(WriteItemRecords(more, kTestVersion));
    ASSERT_TRUE(base.items.Load(itemReader, kTestVersion));
    base.items.BuildRandomTables("xtra", "base");
    EXPECT_EQ(base.items.GetGroupList(1).size(), group1 + 1);
    // A kind of its own and an id added to a base kind through the extension block.
    RuleRecord kinds = WriteCreatureKindRecord({}, kTestVersion);
    kinds.resize(kinds.size() - 2);
    ByteWriter block;
    block.Bytes(kinds.data(), kinds.size());
    block.Align(2), block.U16(1), block.Text("base_rat"), block.U8(0), block.Align(2), block.U16(1);
    block.Text("xtra_alias"), block.U8(0);
    CMemoryRecordReader creatureReader({block.Take(), WriteMonsterTypeRecord({}, kTestVersion)});
    ASSERT_TRUE(base.creatures.Load(creatureReader, kTestVersion));
    EXPECT_GE(base.creatures.FindCreatureKind("base_rat")->ids.FindString("xtra_alias"), 0);
    std::vector<RaceDef> otherRaces(6, RaceDef{"xtra_race", "Other", "xtra_ability", "", ""});
    CMemoryRecordReader raceReader({WriteRaceRecord(otherRaces, kTestVersion)});
    ASSERT_TRUE(base.races.Load(raceReader, kTestVersion));
    EXPECT_STREQ(base.races.GetName(2), "Other");

    base.spells.RollBack(spells);
    base.items.RollBack(items);
    base.creatures.RollBack(creatures);
    base.dialogue.RollBack(dialogue);
    base.npcs.RollBack(npcs);
    base.portraits.RollBack(portraits);
    base.abilities.RollBack(abilities);
    base.races.RollBack(races);
    EXPECT_EQ(base.spells.FindById("xtra_spell"), nullptr);
    EXPECT_NE(base.spells.FindById("base_spellfeather"), nullptr);
    EXPECT_EQ(base.items.GetItemTypeCount(), itemCount);
    EXPECT_EQ(base.items.GetGroupList(1).size(), group1);
    const CPointerArray& ids = base.creatures.FindCreatureKind("base_rat")->ids;
    EXPECT_LT(ids.FindString("xtra_alias"), 0);
    EXPECT_STREQ(base.races.GetName(2), "Etherim");
    EXPECT_STREQ(base.races.GetEntry(2)->text1, "base_ability_etherim");
}

}  // namespace

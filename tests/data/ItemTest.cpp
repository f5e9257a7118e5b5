// Item types: condition scaling, values, instances, the random-item tables, item lists, the record
// layouts around version 48, and the player's weapon damage.
#include <gtest/gtest.h>

#include <memory>

#include "data/ItemText.h"
#include "tests/data/RuleFixture.h"

namespace {

struct Collected : IItemReceiver {
    ~Collected() override {
        for (CItemInstance* i : items) delete i;
    }
    void AddItem(CItemInstance* item) override { items.push_back(item); }
    std::vector<CItemInstance*> items;
};

TEST(ItemScaling, ConditionScalesDamageArmourAndOutfitWithTheirRounding) {
    RuleWorld world;
    ItemDef sword = Item("base_sword", 1, 1);
    sword.damageLow = 4, sword.damageHigh = 10, sword.outfit = 6;
    ItemDef mail = Item("base_mail", 2, 3);
    mail.armourClass = 10, mail.outfit = 9;
    ItemDef ring = Item("base_ring", 4, 2);
    ring.armourClass = 3, ring.outfit = 5;
    ItemDef arrows = Item("base_arrows", 1, 11);
    arrows.damageLow = 2, arrows.damageHigh = 5;
    ItemDef odd = Item("base_odd", 1, 1);
    odd.damageLow = 4, odd.damageHigh = 10, odd.maxCondition = 0, odd.value = 90;
    world.LoadItems({{}, {}, {}, {sword, mail, ring, arrows, odd}});
    const CItemType* s = world.items.FindItemType("base_sword");
    const CItemType* m = world.items.FindItemType("base_mail");
    const CItemType* r = world.items.FindItemType("base_ring");
    const CItemType* a = world.items.FindItemType("base_arrows");
    const CItemType* o = world.items.FindItemType("base_odd");
    ASSERT_TRUE(s && m && r && a && o);

    const struct {
        const CItemType* type;
        u32 condition;
        u32 low, high, ac, outfit;
    } rows[] = {
        {s, 550, 3, 6, 0, 4},  {s, 1000, 4, 10, 0, 6}, {s, 0, 0, 0, 0, 0},   {s, 449, 1, 4, 0, 2},
        {m, 950, 0, 0, 10, 9}, {m, 940, 0, 0, 10, 9},  {m, 400, 0, 0, 4, 3}, {m, 1000, 0, 0, 10, 9},
        {r, 10, 0, 0, 3, 5},   {a, 1, 2, 5, 0, 0},     {o, 5, 4, 10, 0, 0},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.type->GetDamageLow(row.condition), row.low)
            << row.type->GetName() << " " << row.condition;
        EXPECT_EQ(row.type->GetDamageHigh(row.condition), row.high)
            << row.type->GetName() << " " << row.condition;
        EXPECT_EQ(row.type->GetArmourClass(row.condition), row.ac)
            << row.type->GetName() << " " << row.condition;
        EXPECT_EQ(row.type->GetOutfitPoints(row.condition), row.outfit)
            << row.type->GetName() << " " << row.condition;
    }
}

TEST(ItemScaling, ValueByConditionEffectsAndWands) {
    RuleWorld world;
    ItemDef sword = Item("base_sword", 1, 1);
    sword.value = 99, sword.enchantCapacity = 20;
    ItemDef charm = Item("base_charm", 4, 1);
    charm.value = 50, charm.hasEffects = true, charm.listValue = 30, charm.effects = {Fx(11, 2, "", 3)};
    ItemDef wand = Item("base_wand", 9, 4);
    wand.value = 10, wand.hasEffects = true, wand.effects = {Fx(31, 5, "base_spellfire", 2)};
    wand.effects[0].amountPerLevel = 40;
    ItemDef rich = Item("base_rich", 2, 3);
    rich.value = 4000000000u, rich.maxCondition = 1;
    ItemDef worn = Item("base_worn", 2, 3);
    worn.value = 500, worn.maxCondition = 0;
    world.LoadItems({{}, {}, {}, {sword, charm, wand, rich, worn}});
    auto instance = [&](const char* id, u16 count) {
        auto* i = new CItemInstance;
        i->type = world.items.FindItemType(id);
        i->count = count;
        return std::unique_ptr<CItemInstance>(i);
    };
    const CItemType& s = *world.items.FindItemType("base_sword");
    EXPECT_EQ(s.GetValue(nullptr, world.game), 99u);
    EXPECT_EQ(s.GetValue(instance("base_sword", 333).get(), world.game), 32u + 20u);  // 32.967 truncates
    const CItemType& c = *world.items.FindItemType("base_charm");
    EXPECT_EQ(c.GetValue(nullptr, world.game), 80u);
    EXPECT_EQ(c.GetValue(instance("base_charm", 0).get(), world.game), 80u);  // accessories never wear
    auto own = instance("base_charm", 0);
    own->effects = new CEffectList;
    own->effects->value = 5;
    EXPECT_EQ(c.GetValue(own.get(), world.game), 55u);
    const CItemType& w = *world.items.FindItemType("base_wand");
    EXPECT_EQ(w.GetValue(instance("base_wand", 3).get(), world.game), 10u + 333u * 3 / 5);
    const CItemType& rich2 = *world.items.FindItemType("base_rich");
    EXPECT_EQ(rich2.GetValue(instance("base_rich", 60000).get(), world.game), 0xFFFFFFFFu);
    const CItemType& worn2 = *world.items.FindItemType("base_worn");
    EXPECT_EQ(worn2.GetValue(instance("base_worn", 7).get(), world.game), 500u);
}

TEST(ItemInstances, CountWordsByClass) {
    RuleWorld world;
    ItemDef wand = Item("base_wand", 9, 4);
    wand.hasEffects = true, wand.effects = {Fx(31, 12, "base_spellfire", 2)};
    ItemDef bare = Item("base_barewand", 9, 4);
    ItemDef broken = Item("base_brokenwand", 9, 4);
    broken.hasEffects = true, broken.effects = {Fx(31, -5, "base_spellfire", 2)};
    ItemDef arrows = Item("base_arrows", 1, 8);
    ItemDef mail = Item("base_mail", 3, 3);
    mail.maxCondition = 800;
    ItemDef potion = Item("base_potion", 8, 1);
    world.LoadItems({{}, {}, {}, {wand, bare, broken, arrows, mail, potion}});
    auto make = [&](const char* id, int p) {
        return std::unique_ptr<CItemInstance>(
            CreateItemInstance(*world.items.FindItemType(id), p, &world.random));
    };
    EXPECT_EQ(make("base_wand", -1)->count, 12);
    EXPECT_EQ(make("base_barewand", -1)->count, 0);
    EXPECT_EQ(make("base_brokenwand", -1)->count, 0);
    EXPECT_EQ(make("base_mail", -1)->count, 800);
    EXPECT_EQ(make("base_mail", 50)->count, 400);
    EXPECT_EQ(make("base_potion", 50)->count, 0);
    for (int i = 0; i < 40; ++i) {
        u16 n = make("base_arrows", -1)->count;
        EXPECT_GE(n, 10);
        EXPECT_LE(n, 19);
    }
    auto fresh = make("base_mail", -1);
    EXPECT_EQ(fresh->effects, nullptr);
    EXPECT_EQ(fresh->flags, 0);
}

TEST(ItemCatalogue, RandomTablesWeightsAndItemLists) {
    RuleWorld world;
    ItemDef a = Item("base_a", 1, 1);
    a.group = 1, a.rarity = 1;
    ItemDef b = Item("base_b", 1, 2);
    b.group = 1, b.rarity = 3;
    ItemDef c = Item("base_c", 8, 1);
    c.group = 2, c.rarity = 1;
    ItemDef none = Item("base_none", 8, 1);
    none.group = 0;
    ItemDef foreign = Item("xtra_d", 8, 1);
    foreign.group = 2;
    ItemDef wild = Item("BASE_wild", 8, 1);
    wild.group = 9;  // beyond the groups: never drawn
    world.LoadItems({{}, {}, {}, {a, b, c, none, foreign, wild}});
    EXPECT_EQ(world.items.GetGroupCount(1), 2);
    EXPECT_EQ(world.items.GetGroupCount(2), 1);
    EXPECT_EQ(world.items.GetGroupWeight(1, 1), 16);
    EXPECT_EQ(world.items.GetGroupClassList(1, 1).size(), 16u);
    EXPECT_EQ(world.items.GetGroupList(1), (std::vector<u16>{0, 1}));
    EXPECT_EQ(world.items.GetGroupList(2), (std::vector<u16>{2}));
    EXPECT_EQ(world.items.FindItemType("BASE_wild")->group, 0);
    world.items.BuildRandomTables("xtra", "base");
    EXPECT_EQ(world.items.GetGroupCount(2), 2);

    CPointerArray list;
    auto entry = [&](const char* id, int count, int group, int chance, int condition) {
        auto* e = new CModifierEntry;
        e->itemId = DuplicateString(id);
        e->count = static_cast<u8>(count), e->group = static_cast<u8>(group);
        e->chance = static_cast<u8>(chance), e->condition = static_cast<u8>(condition);
        list.Add(e);
    };
    entry("base_a", 2, 1, 100, 50);
    entry("base_missing", 3, 1, 100, 100);
    entry(nullptr, 4, 2, 100, 100);
    entry("base_b", 5, 1, 0, 100);
    entry(nullptr, 1, 5, 100, 100);  // an empty group gives nothing
    Collected got;
    CreateItemsFromList(list, world.items, world.random, got);
    ASSERT_EQ(got.items.size(), 6u);
    EXPECT_STREQ(got.items[0]->type->GetName(), "base_a");
    EXPECT_EQ(got.items[0]->count, 500);
    for (int i = 2; i < 6; ++i) EXPECT_EQ(got.items[i]->type->group, 2);
    FreeModifierList(list);
}

TEST(ItemCatalogue, RecordsBeforeAndFromVersion48AndTheOtherKinds) {
    ItemCatalogueDef def;
    def.pictureLists = {{"bres_itempics", 1, {"bres_sword", "bres_mail"}}, {"bres_hidden", 0, {"bres_x"}}};
    FpsAnimationDef fist;
    fist.id = "bres_fpsfist";
    fist.frames = {"bres_fist0", "bres_fist1"};
    fist.frames2 = {"bres_fist2"};
    fist.sound = "bsnd_swing";
    def.animations = {fist};
    UseStyleDef style;
    style.id = "bres_useblade";
    style.texts[2] = "bres_fpsfist";
    def.useStyles = {style};
    ItemDef sword = Item("base_sword", 1, 2, "Sword");
    sword.texts[3] = "text seven";
    def.items = {sword, Item("base_mail", 2, 3)};
    for (int version : {47, 48, 114, 122}) {
        RuleRecords records = WriteItemRecords(def, version);
        EXPECT_EQ(records.size(), version < 48 ? 4u : 6u) << version;
        CMemoryRecordReader reader(records);
        CItemCatalogue items;
        ASSERT_TRUE(items.Load(reader, version)) << version;
        EXPECT_EQ(reader.Consumed(), records.size());
        ASSERT_EQ(items.GetItemTypeCount(), 2) << version;
        EXPECT_STREQ(items.FindItemType("base_sword")->name, "Sword");
        EXPECT_STREQ(items.FindItemType("base_sword")->texts[3], version >= 114 ? "text seven" : nullptr);
        CFpsAnimation* anim = items.FindFpsAnimation("bres_fpsfist");
        ASSERT_NE(anim, nullptr);
        EXPECT_EQ(anim->frames.GetCount(), 2);
        EXPECT_EQ(anim->frames2.GetCount(), 1);
        EXPECT_STREQ(anim->sound, version >= 107 ? "bsnd_swing" : nullptr);
        EXPECT_STREQ(items.FindUseStyle("bres_useblade")->texts[2], "bres_fpsfist");
        EXPECT_EQ(items.FindUseStyle("bres_useblade")->words[5], 1000);
        EXPECT_EQ(items.GetPicturesToLoad().size(), 2u);
    }
    // A missing item record fails the load, keeping what was read.
    RuleRecords records = WriteItemRecords(def, 122);
    records.pop_back();
    CMemoryRecordReader reader(records);
    CItemCatalogue items;
    EXPECT_FALSE(items.Load(reader, 122));
    EXPECT_EQ(items.GetItemTypeCount(), 1);
}

TEST(ItemTypes, SkillsAndEffectSources) {
    const struct {
        int itemClass, subclass, flags;
        int first, second, source;
    } rows[] = {
        {1, 1, 0, 3, 0, 3},  {1, 1, 2, 2, 0, 3},   {1, 7, 0, 3, 0, 14}, {1, 8, 2, 2, 7, 15},
        {1, 9, 0, 3, 7, 16}, {1, 11, 0, 3, 0, 15}, {1, 12, 0, 3, 7, 3}, {2, 3, 0, 6, 0, 2},
        {3, 1, 0, 5, 0, 2},  {4, 1, 0, 0, 0, 4},   {5, 1, 0, 0, 0, 13}, {7, 1, 0, 0, 0, 7},
        {8, 1, 0, 0, 0, 6},  {9, 1, 0, 0, 0, 11},  {9, 2, 0, 0, 0, 12}, {9, 3, 0, 0, 0, 11},
        {9, 5, 0, 0, 0, 10}, {9, 6, 0, 0, 0, 0},   {10, 1, 0, 0, 0, 0}, {16, 1, 0, 0, 0, 0},
    };
    for (const auto& r : rows) {
        CItemType t;
        t.itemClass = static_cast<u8>(r.itemClass), t.subclass = static_cast<u8>(r.subclass);
        t.flags = static_cast<u8>(r.flags);
        int first = -1, second = -1;
        t.GetSkills(first, second);
        EXPECT_EQ(first, r.first) << r.itemClass << "/" << r.subclass;
        EXPECT_EQ(second, r.second) << r.itemClass << "/" << r.subclass;
        EXPECT_EQ(t.GetEffectSource(), r.source) << r.itemClass << "/" << r.subclass;
    }
}

TEST(ItemTypes, PlayerWeaponDamage) {
    CItemType club;
    club.itemClass = 1, club.subclass = 6, club.damageLow = 4, club.damageHigh = 10;
    FakePlayer p;
    p.skills[3] = 66;
    p.attributes[1] = 40;
    p.attributes[2] = 15;
    u32 low = 0, high = 0;
    ComputeWeaponDamageRange(club, 1000, false, p, low, high);
    EXPECT_EQ(low, 8u);  // 4 + 4 * 33 / 66, + 15 / 25, + 40 / 16
    EXPECT_EQ(high, 17u);
    p.cursed = true;
    ComputeWeaponDamageRange(club, 1000, false, p, low, high);
    EXPECT_EQ(high, 12u);
    p.cursed = false;

    CItemType dagger;
    dagger.itemClass = 1, dagger.subclass = 1, dagger.flags = 2, dagger.damageLow = 4, dagger.damageHigh = 10;
    p.skills[2] = 20;
    p.attributes[2] = 32;
    ComputeWeaponDamageRange(dagger, 1000, false, p, low, high);
    EXPECT_EQ(low, 5u);  // 4 * 20 / 33 + 32 / 16 + 40 / 25
    EXPECT_EQ(high, 9u);
    p.drunkenness = 10;
    p.drunk = true;  // dexterity 32 - 3
    ComputeWeaponDamageRange(dagger, 1000, false, p, low, high);
    EXPECT_EQ(low, 4u);
    p.skills[4] = 66;
    ComputeWeaponDamageRange(dagger, 1000, true, p, low, high);
    EXPECT_EQ(low, 6u);
}

}  // namespace

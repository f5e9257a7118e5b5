// Effect costs, amount coding, the kind table and the effect forms.
#include <gtest/gtest.h>

#include <climits>

#include "tests/data/RuleFixture.h"

namespace {

struct CostCase {
    const char* what;
    EffectDef effect;
    int source;
    int storage;
    int price;
};

EffectDef With(EffectDef e, int radius, int perLevel = 0) {
    e.radius = radius;
    e.amountPerLevel = perLevel;
    return e;
}

TEST(EffectCost, TableOfKindsAndSources) {
    RuleWorld world;
    const CostCase cases[] = {
        {"resist poison +50%", Fx(15, 150), 2, 500, 5000},
        {"resist poison -30%", Fx(15, -130), 2, 300, 3000},
        {"damage all 20", Fx(25, 20), 3, 450, 2600},
        {"damage all 30%", Fx(25, 130), 3, 230, 800},
        {"damage all 20 in radius 2", With(Fx(25, 20), 2), 5, 2250, 20600},
        {"fortify skill 5", Fx(1, 5), 2, 75, 500},
        {"fortify attribute 3", Fx(2, 3), 4, 75, 600},
        {"restore hp 30 in a potion", Fx(3, 30), 6, 112, 150},
        {"restore full hp 10", Fx(4, 10), 5, 33, 200},
        {"fortify hp 10", Fx(5, 10), 2, 100, 750},
        {"fortify ac 4", Fx(11, 4), 2, 80, 400},
        {"cure poison", Fx(12, 0), 5, 50, 50},
        {"resist paralysis 20%", Fx(16, 120), 2, 300, 2000},
        {"resist plague 50%", Fx(17, 150, "base_plague"), 2, 1500, 20000},
        {"feather 10", Fx(20, 10), 2, 100, 500},
        {"resist magic 10%", Fx(22, 110), 2, 150, 2000},
        {"damage to rats 7", Fx(23, 7, "base_rat"), 3, 104, 480},
        {"damage to rats 20%", Fx(23, 120, "base_rat"), 3, 130, 480},
        {"damage to a race 10", Fx(24, 10), 3, 163, 850},
        {"damage to a race 50%", Fx(24, 150), 3, 300, 1200},
        {"poison in radius 1", With(Fx(26, 3), 1), 3, 500, 5000},
        {"poison on an arrow pays half", Fx(26, 3), 15, 100, 500},
        {"paralyze", Fx(28, 0), 3, 400, 4000},
        {"drain hp", Fx(29, 5), 3, 200, 2000},
        {"cast fire on a wand at skill 40", With(Fx(31, 5, "base_spellfire"), 0, 40), 10, 200, 333},
        {"cast fire on a scroll at skill 40", With(Fx(31, 5, "base_spellfire"), 0, 40), 11, 200, 333},
        {"cast fire from a spell book", With(Fx(31, 5, "base_spellfire"), 0, 40), 12, 100, 1000},
        {"cast fire as innate knowledge", With(Fx(31, 5, "base_spellfire"), 0, 40), 1, 100, 250},
        {"cast a utility spell on a wand", With(Fx(31, 2, "base_spellmark"), 0, 40), 10, 12, 20},
        {"infect plague", Fx(32, 30, "base_plague"), 3, 100, 1000},
        {"resist fire 40%", Fx(34, 140, "base_spellfire"), 8, 250, 400},
        {"fortify fire 30%", Fx(35, 130, "base_spellfire"), 8, 250, 350},
        {"fortify magic 20%", Fx(36, 120), 4, 500, 4000},
        {"magic immunity", Fx(39, 0), 5, 400, 1000},
        {"crush", Fx(40, 9), 5, 300, 800},
        {"calm", Fx(41, 30), 5, 200, 600},
        {"detect mind", Fx(43, 0), 5, 100, 500},
        {"unlock", Fx(45, 20), 5, 100, 400},
        {"recharge wand", Fx(49, 0), 5, 300, 2000},
        {"enchant", Fx(51, 0), 5, 400, 3000},
        {"create food", Fx(52, 0), 5, 100, 200},
        {"level drop", Fx(53, 5), 1, 1000, 1000},
        {"permanent attribute 2 in a potion", Fx(56, 2), 6, 8, 13},
        {"alcoholic 20%", Fx(57, 120), 6, 20, 13},
        {"fortify outfit -3", Fx(58, -3), 2, 45, 300},
    };
    for (const CostCase& c : cases) {
        CEffect e = ReadEffect(c.effect);
        i32 storage = -1, price = -1;
        ComputeEffectCost(e, world.game, c.source, storage, price);
        EXPECT_EQ(storage, c.storage) << c.what;
        EXPECT_EQ(price, c.price) << c.what;
    }
}

TEST(EffectCost, KindsWithoutCostAndMissingRecordsLeaveTheOutputs) {
    RuleWorld world;
    const EffectDef untouched[] = {Fx(37, 5),
                                   Fx(42, 5),
                                   Fx(54, 5),
                                   Fx(17, 150, "base_nothing"),
                                   Fx(23, 7, "base_nothing"),
                                   Fx(31, 5, "base_nothing"),
                                   Fx(32, 5, "base_nothing")};
    for (const EffectDef& d : untouched) {
        CEffect e = ReadEffect(d);
        i32 storage = -7, price = -9;
        ComputeEffectCost(e, world.game, 3, storage, price);
        EXPECT_EQ(storage, -7) << d.kind;
        EXPECT_EQ(price, -9) << d.kind;
    }
}

TEST(EffectCost, LargeAmountsAreComputedWideAndClamped) {
    RuleWorld world;
    CEffect e = ReadEffect(Fx(56, 32767));
    i32 storage = 0, price = 0;
    ComputeEffectCost(e, world.game, 2, storage, price);
    EXPECT_EQ(storage, 2147352578);
    EXPECT_EQ(price, INT_MAX);

    CEffectList list;
    list.Add(new CEffect(e));
    list.Add(new CEffect(e));
    SumEffectListCosts(list, world.game, 2, storage, price);
    EXPECT_EQ(storage, INT_MAX);
    EXPECT_EQ(price, INT_MAX);
    SumEffectListCosts(list, world.game, kSourceIngredient, storage, price);
    EXPECT_EQ(storage, 0);
    EXPECT_EQ(price, 0);
}

TEST(EffectCost, WandValueFollowsTheCharges) {
    RuleWorld world;
    CEffectList list;
    list.Add(new CEffect(ReadEffect(With(Fx(31, 5, "base_spellfire"), 0, 40))));
    EXPECT_EQ(GetWandValue(list, world.game, 3), 333 * 3 / 5);
    EXPECT_EQ(GetWandValue(list, world.game, 5), 333);
    list.At(0)->amount = 0;  // no maximum: divides by 1
    i32 s = 0, p = 0;
    ComputeEffectCost(*list.At(0), world.game, kSourceWand, s, p);
    EXPECT_EQ(GetWandValue(list, world.game, 2), 2 * p);
    CEffectList empty;
    EXPECT_EQ(GetWandValue(empty, world.game, 3), 0);
}

TEST(EffectCost, HealAndUndeadSpellLists) {
    RuleWorld world;
    CEffectList list;
    list.Add(new CEffect(ReadEffect(Fx(31, 5, "base_spellheal", kModeCast))));
    EXPECT_EQ(EffectListHasHealSpell(list, world.game), 1);
    EXPECT_EQ(EffectListHasUndeadSpell(list, world.game), 0);
    list.At(0)->mode = kModeConstant;
    EXPECT_EQ(EffectListHasHealSpell(list, world.game), 0);
    list.At(0)->mode = kModeCast;
    list.At(0)->SetId("base_spelldrain");
    EXPECT_EQ(EffectListHasUndeadSpell(list, world.game), 1);
}

TEST(EffectAmounts, CodingAndLevelScaling) {
    const struct {
        int amount, decoded;
        bool coded;
    } rows[] = {{0, 0, false},   {100, 100, false}, {-100, -100, false}, {101, 1, true},
                {150, 50, true}, {-101, -1, true},  {-130, -30, true},   {32767, 32667, true}};
    for (const auto& r : rows) {
        EXPECT_EQ(DecodeEffectAmount(r.amount), r.decoded) << r.amount;
        EXPECT_EQ(IsCodedAmount(r.amount), r.coded) << r.amount;
    }
    EXPECT_EQ(ScaleByLevel(10, 20, 50), 20);
    EXPECT_EQ(ScaleByLevel(10, -15, 50), 3);             // -7.5 truncates toward zero
    EXPECT_EQ(ScaleByLevel(0, 32767, 32767), 10736762);  // past 16 bits, not wrapped
}

TEST(EffectKinds, NamesDefaultsAndAllowedKinds) {
    CEffectKindTable table;
    EXPECT_STREQ(table.GetName(1), "Fortify skill");
    EXPECT_STREQ(table.GetName(50), "Enchant");
    EXPECT_STREQ(table.GetName(51), "Enchant");
    EXPECT_STREQ(table.GetName(58), "Fortify outfit");
    EXPECT_STREQ(table.GetName(59), "");
    EXPECT_STREQ(table.GetName(-1), "");
    EXPECT_EQ(table.FindMode(1, 31), 2);
    EXPECT_EQ(table.FindMode(15, 23), 1);
    EXPECT_EQ(table.FindMode(9, 25), 4);
    EXPECT_EQ(table.FindMode(13, 2), -1);
    EXPECT_EQ(table.FindMode(17, 1), -1);
    int count = 0;
    table.GetAllowed(5, count);
    EXPECT_EQ(count, 43);
    table.GetAllowed(6, count);
    EXPECT_EQ(count, 25);

    CEffect e;
    e.SetId("x");
    e.amount = 5;
    InitEffectForKind(e, kSourcePotion);
    EXPECT_EQ(e.kind, 3);
    EXPECT_EQ(e.mode, 4);
    EXPECT_EQ(e.id, nullptr);
    EXPECT_EQ(e.amount, 0);
    InitEffectForKind(e, kSourceMissile);
    EXPECT_EQ(e.kind, 1);
    EXPECT_EQ(e.mode, 1);
    const int modes[] = {0, 3, 3, 3, 3, 4, 4, 4, 3, 3, 2, 2, 2, 3, 3, 1, 3};
    for (int s = 0; s <= 16; ++s) EXPECT_EQ(GetDefaultEffectMode(s), modes[s]) << s;
}

TEST(EffectForms, WorldFormVersionGateAndSavedRoundTrip) {
    EffectDef d = Fx(26, 7, "base_x", 1);
    d.radius = 3;
    d.duration = 4;
    // Version 24: no radius byte; the stream stops after the kind.
    ByteWriter w;
    PutEffect(w, d, 24);
    std::vector<u8> old = w.Take();
    CStream stream;
    stream.InitForReading(old.data(), static_cast<u32>(old.size()));
    CEffect e;
    e.radius = 9;
    SerializeEffect(stream, e, 24);
    EXPECT_FALSE(stream.HasError());
    EXPECT_EQ(stream.GetOffset(), old.size());
    EXPECT_EQ(e.radius, 0);
    EXPECT_STREQ(e.id, "base_x");
    EXPECT_EQ(e.duration, 4);
    CEffect modern = ReadEffect(d);
    EXPECT_EQ(modern.radius, 3);

    CEffectList list;
    list.value = 77;
    list.Add(new CEffect(modern));
    list.Add(new CEffect(e));
    CStream out;
    out.InitForWriting();
    SaveEffectList(out, list);
    std::vector<u8> bytes(out.GetBuffer(), out.GetBuffer() + out.GetOffset());
    CStream in;
    in.InitForReading(bytes.data(), static_cast<u32>(bytes.size()));
    CEffectList back;
    LoadEffectList(in, back);
    EXPECT_FALSE(in.HasError());
    EXPECT_EQ(back.value, 77u);
    EXPECT_EQ(EffectListsEqual(&list, &back), 1);
    std::unique_ptr<CEffectList> clone(CloneEffectList(list));
    EXPECT_EQ(EffectListsEqual(&list, clone.get()), 1);
    clone->At(1)->SetId("other");
    EXPECT_EQ(EffectListsEqual(&list, clone.get()), 0);
    CEffectList empty1, empty2;
    EXPECT_EQ(EffectListsEqual(&empty1, &empty2), 1);
    EXPECT_EQ(EffectListsEqual(nullptr, &empty2), 0);
    FreeEffectIds(list);
    EXPECT_EQ(list.At(0)->id, nullptr);
    EXPECT_EQ(list.Count(), 2);
}

TEST(EffectForms, UnknownKindsAreReadPastAndLeftOut) {
    ByteWriter w;
    PutEffectList(w, {Fx(3, 5), Fx(59, 1), Fx(255, 1), Fx(58, 2)}, kTestVersion);
    std::vector<u8> bytes = w.Take();
    CStream stream;
    stream.InitForReading(bytes.data(), static_cast<u32>(bytes.size()));
    CEffectList list;
    SerializeEffectList(stream, list, kTestVersion);
    EXPECT_FALSE(stream.HasError());
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.At(0)->kind, 3);
    EXPECT_EQ(list.At(1)->kind, 58);
}

TEST(EffectForms, HeldEffectsReachThePlayerAsLastingEquipmentEffects) {
    FakePlayer player;
    CEffectList list;
    list.Add(new CEffect(ReadEffect(Fx(11, 4, "", kModeConstant))));
    list.Add(new CEffect(ReadEffect(Fx(26, 4, "", kModeStrike))));
    ApplyHeldEffects(list, player, &list);
    ASSERT_EQ(player.conditions.size(), 1u);
    EXPECT_EQ(player.conditions[0].kind, 11);
    EXPECT_EQ(player.conditions[0].source, 1);
}

}  // namespace

// Creature effect holders of a section and the section's id allocator.
#include <gtest/gtest.h>

#include <set>

#include "data/SectionEffects.h"
#include "tests/data/RuleFixture.h"

namespace {

struct Monster : IAgingMonster {
    int GetHp() const override { return hp; }
    void SetHp(int v) override { hp = v; }
    void MarkHurt(int s) override { strength = s; }
    void ChooseFrame() override { ++frames; }
    int hp = 10, strength = 0, frames = 0;
};

TEST(SectionEffects, AddingMergesByKindTargetAndId) {
    CSectionEffects fx;
    fx.AddMonsterEffect(3, 5, 3, 11, 0, nullptr);
    fx.AddMonsterEffect(3, 5, 6, 11, 0, nullptr);
    ASSERT_EQ(fx.FindHolder(3)->Count(), 1);
    EXPECT_EQ(fx.FindMonsterEffect(3, 11, 0, nullptr)->turns, 6);
    fx.AddMonsterEffect(3, 3, 10, 11, 0, nullptr);
    EXPECT_EQ(fx.FindMonsterEffect(3, 11, 0, nullptr)->amount, 5);
    EXPECT_EQ(fx.FindMonsterEffect(3, 11, 0, nullptr)->turns, 6);
    fx.AddMonsterEffect(3, 9, 1, 11, 0, "base_x");
    EXPECT_EQ(fx.FindHolder(3)->Count(), 2);
    EXPECT_EQ(fx.SumMonsterEffect(3, 11), 14);
    EXPECT_EQ(fx.SumMonsterEffect(4, 11), 0);
    fx.AddMonsterEffect(3, 0, 2, kEffectParalyze, 0, nullptr);
    EXPECT_EQ(fx.SumMonsterEffect(3, kEffectParalyze), 1);
    fx.RemoveMonsterEffectsOfKind(3, 11);
    EXPECT_EQ(fx.SumMonsterEffect(3, 11), 0);
    std::unique_ptr<CEffectHolder> holder(fx.DetachMonsterEffects(3));
    ASSERT_NE(holder, nullptr);
    EXPECT_EQ(fx.FindHolder(3), nullptr);
    EXPECT_EQ(fx.DetachMonsterEffects(3), nullptr);
}

TEST(SectionEffects, PoisonAgeingAndExpiry) {
    CSectionEffects fx;
    fx.AddMonsterEffect(1, 4, 0, kEffectPoison, 0, "base_a");
    fx.AddMonsterEffect(1, 7, 0, kEffectPoison, 0, "base_b");
    fx.AddMonsterEffect(1, 0, 2, kEffectParalyze, 0, nullptr);
    fx.AddMonsterEffect(1, 3, 5, 11, 0, nullptr);
    Monster m;
    fx.AgeMonsterEffects(1, m, 2);
    EXPECT_EQ(m.hp, 1);
    EXPECT_EQ(m.strength, 52);
    EXPECT_EQ(m.frames, 1);
    EXPECT_EQ(fx.SumMonsterEffect(1, kEffectParalyze), 0);
    EXPECT_EQ(fx.FindMonsterEffect(1, 11, 0, nullptr)->turns, 3);
    EXPECT_EQ(fx.SumMonsterEffect(1, kEffectPoison), 11);  // 0 turns never expire
    fx.AgeMonsterEffects(1, m, 10);
    EXPECT_EQ(fx.FindMonsterEffect(1, 11, 0, nullptr), nullptr);
    Monster untouched;
    fx.AgeMonsterEffects(9, untouched, 1);
    EXPECT_EQ(untouched.hp, 10);
    EXPECT_EQ(PoisonHurtStrength(10), 50);
    EXPECT_EQ(PoisonHurtStrength(60), 100);
    EXPECT_EQ(PoisonHurtStrength(35), 100);
}

TEST(SectionEffects, DiseasesAndTheirSums) {
    RuleWorld world;
    CSectionEffects fx;
    fx.InfectMonster(2, "base_plague");
    fx.InfectMonster(2, "base_plague");
    EXPECT_EQ(fx.FindHolder(2)->Count(), 1);
    EXPECT_EQ(fx.MonsterHasDisease(2, "base_plague"), 1);
    fx.AddMonsterEffect(2, -120, 3, 2, 1, nullptr);
    // The plague's -3 strength and the entry's -20 (decoded) on attribute 1.
    EXPECT_EQ(fx.SumMonsterDiseaseEffect(2, 2, 1, &world.diseases), -23);
    fx.InfectMonster(2, "base_gone");
    EXPECT_EQ(fx.SumMonsterDiseaseEffect(2, 2, 1, &world.diseases), -23);
    fx.CureMonsterDisease(2, "base_plague");
    EXPECT_EQ(fx.MonsterHasDisease(2, "base_plague"), 0);
}

TEST(SectionEffects, ActiveEffectsText) {
    RuleWorld world;
    CSectionEffects fx;
    CStr out;
    fx.FormatActiveEffectsText(5, world.game, out);
    EXPECT_STREQ(out.GetText(), "none\r");
    fx.InfectMonster(5, "base_plague");
    fx.AddMonsterEffect(5, 3, 1, 1, 2, nullptr);
    fx.AddMonsterEffect(5, 130, 4, 15, 0, nullptr);
    fx.AddMonsterEffect(5, 150, 0, 5, 0, nullptr);
    fx.AddMonsterEffect(5, 6, 0, kEffectPoison, 0, nullptr);
    fx.AddMonsterEffect(5, 0, 1, kEffectCurse, 0, nullptr);
    fx.AddMonsterEffect(5, 0, 2, kEffectMagicImmunity, 0, nullptr);
    fx.AddMonsterEffect(5, 0, 2, 19, 0, nullptr);
    out = "";
    fx.FormatActiveEffectsText(5, world.game, out);
    EXPECT_STREQ(
        out.GetText(),
        "\rPlague disease\r+3 Light Weapon (1 round)\r+30% poison resistance (4 rounds)\r+150 hp (0 rounds)\r"
        "Poisoned, 6 hp\rCursed, 1 turn\rMagic immunity, 2 turns\r");
}

TEST(SectionIds, RunningIdThenTheLowestFreeAndRefusalWhenFull) {
    std::set<int> used;
    u8 running = 254;
    auto isUsed = [&](u8 id) { return used.count(id) > 0; };
    EXPECT_EQ(NewSectionId(running, isUsed), 254);
    EXPECT_EQ(running, 255);
    for (int id = 1; id <= 255; ++id) used.insert(id);
    used.erase(17);
    EXPECT_EQ(NewSectionId(running, isUsed), 17);
    used.insert(17);
    EXPECT_EQ(NewSectionId(running, isUsed), 0);
    u8 fresh = 0;
    EXPECT_EQ(NewSectionId(fresh, isUsed), 1);
}

}  // namespace

#include "data/ItemBag.h"

namespace {

TEST(SectionBags, IdsRemovalAndReadingThroughAContainerReader) {
    CSectionBags bags;
    CItemBag* first = bags.CreateBag(7);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->id, 1);
    EXPECT_EQ(first->x, CItemBag::kNoPosition);
    EXPECT_EQ(first->serial, 7);
    CItemBag* second = bags.CreateBag(8);
    second->flags = 1;
    second->AddItem(new CItemInstance);
    EXPECT_EQ(bags.FindBagById(2), second);
    bags.RemoveFlaggedBags();
    EXPECT_EQ(bags.Count(), 1);
    EXPECT_EQ(bags.FindBagById(2), nullptr);
    // All 255 ids taken: the 256th bag is refused.
    bags.nextBagId = 255;
    for (int i = 0; i < 254; ++i) bags.CreateBag(0);
    EXPECT_EQ(bags.Count(), 255);
    EXPECT_EQ(bags.CreateBag(0), nullptr);
    bags.RemoveBag(bags.FindBagById(40));
    EXPECT_EQ(bags.CreateBag(0)->id, 40);

    // A stand-in container section: the id and one flags byte.
    BagSectionReader read = [](CStream& s, CItemBag& bag) {
        s.SerializeU8(bag.id);
        s.SerializeU8(bag.flags);
        return !s.HasError();
    };
    std::vector<u8> bytes = {2, 0, 9, 5, 0, 6, 1};
    CStream stream;
    stream.InitForReading(bytes.data(), static_cast<u32>(bytes.size()));
    ASSERT_TRUE(bags.ReadBags(stream, read));
    EXPECT_EQ(bags.Count(), 2);
    EXPECT_EQ(bags.nextBagId, 9);
    std::vector<u8> more = {2, 0, 0, 6, 0, 7, 0};
    stream.InitForReading(more.data(), static_cast<u32>(more.size()));
    ASSERT_TRUE(bags.MergeBags(stream, read));
    EXPECT_EQ(bags.Count(), 3);
    EXPECT_NE(bags.FindBagById(7), nullptr);
    std::vector<u8> cut = {3, 0, 9, 5};
    stream.InitForReading(cut.data(), static_cast<u32>(cut.size()));
    EXPECT_FALSE(bags.ReadBags(stream, read));
}

}  // namespace

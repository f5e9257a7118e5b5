// The craft rules without a screen: brewing, potion groups, the enchant selection, enchantment
// storage and price, recharge prices and lock picking, over hand-made item types and recipes.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/Random.h"
#include "data/Effect.h"
#include "data/ItemType.h"
#include "data/RuleContext.h"
#include "data/Spells.h"
#include "platform/Clock.h"
#include "screens/npc/CraftRules.h"

using namespace craft;

namespace {

CEffect* NewEffect(int kind, int amount, int target = 0, const char* id = nullptr) {
    auto* e = new CEffect;
    e->kind = static_cast<u8>(kind);
    e->amount = static_cast<i16>(amount);
    e->target = static_cast<u8>(target);
    e->SetId(id);
    return e;
}

struct TypeSpec {
    const char* name;
    int itemClass, subclass;
    std::vector<CEffect*> effects;
};

std::unique_ptr<CItemType> MakeType(const char* id, const char* name, int itemClass, int subclass = 0,
                                    std::vector<CEffect*> effects = {}) {
    auto type = std::make_unique<CItemType>();
    type->SetName(id);
    type->name = name;
    type->itemClass = static_cast<u8>(itemClass);
    type->subclass = static_cast<u8>(subclass);
    if (!effects.empty()) {
        type->effects = new CEffectList;
        for (CEffect* e : effects) type->effects->Add(e);
    }
    return type;
}

std::unique_ptr<CItemInstance> MakeItem(const CItemType& type, u16 count = 0) {
    auto item = std::make_unique<CItemInstance>();
    item->type = &type;
    item->count = count;
    return item;
}

// A generator seeded from a fixed calendar time, so that every run draws the same numbers.
void SeedAt(CRandom& random, int64_t seconds) {
    plat::ManualClock clock;
    clock.SetTime(seconds);
    plat::ScopedClock scoped(clock);
    random.Seed(nullptr);
}

}  // namespace

// ---- Lists ------------------------------------------------------------------------------------------

TEST(CraftLists, RowsPerPageNeverZeroAndPagesHoldTheSelection) {
    struct Row {
        int height, rowHeight, rows;
    } rows[] = {{100, 10, 10}, {105, 10, 10}, {0, 10, 1}, {9, 10, 1}, {100, 0, 1}, {-5, 10, 1}};
    for (const Row& r : rows)
        EXPECT_EQ(RowsPerPage(r.height, r.rowHeight), r.rows) << r.height << "/" << r.rowHeight;
    EXPECT_EQ(FirstRowOfPage(-1, 5), 0);
    EXPECT_EQ(FirstRowOfPage(7, 5), 5);
    EXPECT_EQ(FirstRowOfPage(7, 0), 7);  // a missing list pages row by row
}

TEST(CraftLists, RowKeysOutsideTheItemsGiveNoItem) {
    struct Row {
        const char* key;
        int count, index;
    } rows[] = {{"0", 3, 0},   {"2", 3, 2},   {"3", 3, -1},           {"", 3, -1}, {nullptr, 3, -1},
                {"-1", 3, -1}, {"1x", 3, -1}, {"99999999999", 3, -1}, {"0", 0, -1}};
    for (const Row& r : rows)
        EXPECT_EQ(ItemIndexFromKey(r.key, r.count), r.index) << (r.key ? r.key : "(null)");
}

TEST(CraftLists, ConditionWordsByPercentage) {
    struct Row {
        u32 condition, maximum;
        const char* word;
    } rows[] = {{9, 100, "broken"},   {10, 100, "poor"}, {29, 100, "poor"}, {30, 100, "average"},
                {69, 100, "average"}, {70, 100, "good"}, {99, 100, "good"}, {100, 100, "perfect"},
                {5, 50, "poor"},      {0, 0, "broken"},  {1, 0, "perfect"}, {65535, 65535, "perfect"}};
    for (const Row& r : rows)
        EXPECT_STREQ(ConditionWord(r.condition, r.maximum), r.word) << r.condition << "/" << r.maximum;
    EXPECT_EQ(RaiseUseCounter(0), 1);
    EXPECT_EQ(RaiseUseCounter(254), 255);
    EXPECT_EQ(RaiseUseCounter(255), 255);
    EXPECT_EQ(RaiseUseCounter(300), 300);
}

// ---- Alchemy ----------------------------------------------------------------------------------------

TEST(Alchemy, ThresholdAndTheRollsThatSucceed) {
    struct Row {
        int skill, required, threshold, successes;  // successes among the rolls 0..99
    } rows[] = {{50, 40, 100, 100}, {40, 40, 90, 91}, {39, 40, 95, 96},  {30, 40, 50, 51},
                {20, 40, 0, 1},     {19, 40, -5, 0},  {0, 255, -1175, 0}};
    for (const Row& r : rows) {
        EXPECT_EQ(AlchemyThreshold(r.skill, r.required), r.threshold) << r.skill << " vs " << r.required;
        int successes = 0;
        for (int roll = 0; roll < 100; ++roll) successes += roll <= AlchemyThreshold(r.skill, r.required);
        EXPECT_EQ(successes, r.successes) << r.skill << " vs " << r.required;
    }
}

TEST(Alchemy, SeededRollsDrawOneNumberAndFollowTheThreshold) {
    struct Row {
        int skill, required;
    } rows[] = {{50, 40}, {40, 40}, {39, 40}, {30, 40}, {20, 40}, {10, 40}};
    for (const Row& r : rows) {
        CRandom rolls, mirror;
        SeedAt(rolls, 777);
        SeedAt(mirror, 777);
        int successes = 0;
        for (int i = 0; i < 200; ++i) {
            int roll = static_cast<int>(mirror.Next(100));
            bool ok = RollAlchemy(rolls, r.skill, r.required);
            EXPECT_EQ(ok, roll <= AlchemyThreshold(r.skill, r.required));
            successes += ok;
        }
        if (r.skill > r.required) {
            EXPECT_EQ(successes, 200);
        }
        if (r.skill < r.required - 20) {
            EXPECT_EQ(successes, 0);
        }
        if (r.skill == r.required - 10) {
            EXPECT_GT(successes, 60);  // about half of 200
        }
        EXPECT_EQ(rolls.GetIndex(), mirror.GetIndex());
    }
}

namespace {

// Ingredients, potions and recipes of a small herb garden.
struct Garden {
    Garden() {
        berries = MakeType("t_berries", "Berries", kItemIngredient, 0,
                           {NewEffect(3, 5), NewEffect(1, 3, 4), NewEffect(10, 5)});
        slipper = MakeType("t_slipper", "Slipper", kItemIngredient, 0,
                           {NewEffect(3, 5), NewEffect(17, 110, 0, "d_plague")});
        stone = MakeType("t_stone", "Stone", kItemIngredient);  // no effects: never takes part
        heal = MakeType("t_heal", "Healing", kItemPotion, 0, {NewEffect(3, 10)});
        skill = MakeType("t_skill", "Cunning", kItemPotion, 0, {NewEffect(1, 5, 4)});
        cure = MakeType("t_cure", "Plague cure", kItemPotion, 0, {NewEffect(17, 120, 0, "d_plague")});
        Recipe("r_heal", "t_heal", {{3, 0, nullptr}, {3, 0, nullptr}});
        Recipe("r_skill", "t_skill", {{1, 4, nullptr}});
        Recipe("r_wrongskill", "t_skill", {{1, 5, nullptr}});
        Recipe("r_cure", "t_cure", {{17, 0, "d_plague"}});
        Recipe("r_othercure", "t_cure", {{17, 0, "d_fever"}});
        Recipe("r_nothing", "t_heal", {});
        Recipe("r_lost", "t_missing", {{3, 0, nullptr}});
    }
    void Recipe(const char* id, const char* result, std::vector<CRecipeIngredient> needs) {
        auto r = std::make_unique<CRecipe>();
        r->SetName(id);
        r->resultId = result;
        for (size_t i = 0; i < needs.size(); ++i) r->ingredients[i] = needs[i];
        recipes.push_back(r.get());
        owned.push_back(std::move(r));
    }
    std::vector<std::string> Labels(const CItemType* a, const CItemType* b, const CItemType* c, int s) const {
        const CItemType* slots[3] = {a, b, c};
        DistinctSlotTypes(slots);
        std::vector<std::string> out;
        for (const CPotionChoice& choice : FindMatchingRecipes(recipes, find, s, slots))
            out.push_back(choice.recipe->GetName() + std::string(":") + choice.label);
        return out;
    }
    ItemTypeLookup find = [this](const char* id) -> const CItemType* {
        for (const CItemType* t : {heal.get(), skill.get(), cure.get()})
            if (std::string(t->GetName()) == id) return t;
        return nullptr;
    };
    std::unique_ptr<CItemType> berries, slipper, stone, heal, skill, cure;
    std::vector<std::unique_ptr<CRecipe>> owned;
    std::vector<const CRecipe*> recipes;
};

using Labels = std::vector<std::string>;

}  // namespace

TEST(Alchemy, RecipesMatchByKindTargetAndReference) {
    Garden g;
    struct Row {
        const CItemType *a, *b, *c;
        int skill;
        Labels labels;
    } rows[] = {
        // Two restoring ingredients meet both requirements of the healing; the skill targets 4 only.
        {g.berries.get(),
         g.slipper.get(),
         nullptr,
         60,
         {"r_heal:Healing", "r_skill:Cunning", "r_cure:Plague cure"}},
        // The second effect is unknown below 30, the third below 60.
        {g.berries.get(),
         g.slipper.get(),
         nullptr,
         29,
         {"r_heal:Healing", "r_skill:? Unknown", "r_cure:? Unknown"}},
        {g.berries.get(), nullptr, nullptr, 29, {"r_skill:? Unknown"}},
        // One effect is used once per recipe: a single herb cannot meet two restoring requirements.
        {g.slipper.get(), nullptr, nullptr, 60, {"r_cure:Plague cure"}},
        // The same type in two slots counts once.
        {g.berries.get(), g.berries.get(), g.berries.get(), 60, {"r_skill:Cunning"}},
        // An ingredient without effects takes no part, and no ingredient lists nothing -- not even a
        // recipe without requirements.
        {g.stone.get(), nullptr, nullptr, 100, {}},
        {nullptr, nullptr, nullptr, 100, {}},
    };
    for (const Row& r : rows) EXPECT_EQ(g.Labels(r.a, r.b, r.c, r.skill), r.labels) << r.skill;
}

TEST(Alchemy, ChoicesRecordTheIngredientOfEachRequirementAndWhenToAsk) {
    Garden g;
    const CItemType* slots[3] = {g.berries.get(), nullptr, g.slipper.get()};
    std::vector<CPotionChoice> choices = FindMatchingRecipes(g.recipes, g.find, 45, slots);
    ASSERT_FALSE(choices.empty());
    const CPotionChoice& heal = choices[0];
    EXPECT_EQ(heal.potion, g.heal.get());
    EXPECT_EQ(heal.ingredients[0], g.berries.get());
    EXPECT_EQ(heal.ingredients[1], g.slipper.get());
    EXPECT_EQ(heal.ingredients[2], nullptr);

    CRecipe required;
    required.value = 45;
    CPotionChoice choice;
    choice.recipe = &required;
    EXPECT_FALSE(BrewNeedsConfirmation(choice, 45));
    EXPECT_TRUE(BrewNeedsConfirmation(choice, 44));
    choice.unidentified = true;
    EXPECT_TRUE(BrewNeedsConfirmation(choice, 100));  // an unknown potion asks even for a master
}

// ---- Potions ----------------------------------------------------------------------------------------

TEST(Potions, GroupedByTypeOrderedByRarityThenName) {
    auto red = MakeType("p_red", "Red", kItemPotion);
    auto blue = MakeType("p_blue", "Blue", kItemPotion);
    auto amber = MakeType("p_amber", "Amber", kItemPotion);
    auto hidden = MakeType("p_hidden", "Hidden", kItemPotion);
    auto sword = MakeType("w_sword", "Sword", kItemWeapon);
    red->rarity = 1, blue->rarity = 3, amber->rarity = 1, hidden->rarity = 9;
    hidden->flags = 0x10;
    std::vector<std::unique_ptr<CItemInstance>> held;
    for (const CItemType* t :
         {sword.get(), red.get(), red.get(), blue.get(), hidden.get(), red.get(), amber.get()})
        held.push_back(MakeItem(*t));
    std::vector<const CItemInstance*> items;
    for (auto& i : held) items.push_back(i.get());

    std::vector<CPotionGroup> groups = GroupPotions(items);
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_EQ(PotionRowText(groups[0]), "Blue");
    EXPECT_EQ(groups[0].firstIndex, 3u);
    EXPECT_EQ(PotionRowText(groups[1]), "Amber");
    EXPECT_EQ(PotionRowText(groups[2]), "Red (3)");
    EXPECT_EQ(groups[2].firstIndex, 1u);
    EXPECT_TRUE(GroupPotions({}).empty());
}

// ---- The enchant selection ------------------------------------------------------------------------

TEST(EnchantSelection, WhichItemsAreListedInEachMode) {
    auto sword = MakeType("w_sword", "Sword", kItemWeapon);
    sword->enchantCapacity = 40;
    auto club = MakeType("w_club", "Club", kItemWeapon);  // no storage
    auto hidden = MakeType("w_hidden", "Hidden", kItemWeapon);
    hidden->enchantCapacity = 40, hidden->flags = 0x10;
    auto book = MakeType("b_book", "Book", kItemBook);
    book->enchantCapacity = 40;
    auto wand = MakeType("m_wand", "Wand", kItemMagic, 4, {NewEffect(kEffectCastSpell, 10, 0, "s_fire")});
    auto blank = MakeType("m_blank", "Blank wand", kItemMagic, 5);
    blank->enchantCapacity = 60;

    auto enchanted = MakeItem(*sword);
    enchanted->effects = new CEffectList;
    enchanted->effects->Add(NewEffect(1, 3, 2));
    struct Row {
        std::unique_ptr<CItemInstance> item;
        bool enchant, recharge;
        const char* what;
    } rows[] = {
        {MakeItem(*sword), true, false, "unenchanted sword"},
        {std::move(enchanted), false, false, "enchanted sword"},
        {MakeItem(*club), false, false, "no storage"},
        {MakeItem(*hidden), false, false, "left-out type"},
        {MakeItem(*book), false, false, "class 5"},
        {MakeItem(*wand, 10), false, false, "full wand"},
        {MakeItem(*wand, 9), true, true, "wand one charge short"},
        {MakeItem(*blank), true, false, "empty wand type with storage"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(IsListedForSelection(*r.item, false), r.enchant) << r.what;
        EXPECT_EQ(IsListedForSelection(*r.item, true), r.recharge) << r.what;
    }
    EXPECT_EQ(WandMaximum(*rows[6].item), 10);
    EXPECT_EQ(EnchantStorageLimit(5), 15);
    EXPECT_EQ(EnchantStorageLimit(4), 12);
}

TEST(EnchantSelection, TheServiceRefusesOnlyWhenTheSelectionWouldBeEmpty) {
    auto sword = MakeType("w_sword", "Sword", kItemWeapon);
    sword->enchantCapacity = 40;
    auto wand = MakeType("m_wand", "Wand", kItemMagic, 4, {NewEffect(kEffectCastSpell, 10, 0, "s_fire")});
    auto potion = MakeType("p_red", "Red", kItemPotion);
    auto shortWand = MakeItem(*wand, 3);
    auto fullWand = MakeItem(*wand, 10);
    auto blade = MakeItem(*sword);
    auto drink = MakeItem(*potion);
    EXPECT_TRUE(HasSelectableItem({drink.get(), shortWand.get()}, false));  // a wand short of charges
    EXPECT_TRUE(HasSelectableItem({blade.get()}, false));                   // equipped or not
    EXPECT_FALSE(HasSelectableItem({drink.get(), fullWand.get()}, false));
    EXPECT_FALSE(HasSelectableItem({blade.get()}, true));
    EXPECT_FALSE(HasSelectableItem({}, false));
}

TEST(EnchantSelection, SpellRechargeNeedsAnExistingSpellWithoutKind49) {
    CSpellList spells;
    auto wand = MakeType("m_wand", "Wand", kItemMagic, 4, {NewEffect(kEffectCastSpell, 10, 0, "s_missing")});
    EXPECT_FALSE(IsWandRechargeable(*MakeItem(*wand, 2), &spells));
    EXPECT_FALSE(IsWandRechargeable(*MakeItem(*wand, 2), nullptr));
}

// ---- Prices -----------------------------------------------------------------------------------------

TEST(Prices, PriceLevelAndRechargePrices) {
    EXPECT_EQ(ChoosePriceLevel(12, true, 15), 15);
    EXPECT_EQ(ChoosePriceLevel(12, true, 0), 12);
    EXPECT_EQ(ChoosePriceLevel(12, true, -4), 12);
    EXPECT_EQ(ChoosePriceLevel(12, false, 15), 12);

    struct Row {
        i32 now, full;
        int level;
        i32 price;
    } rows[] = {
        {100, 110, 10, 10},  // one charge short at the plain level: the value difference
        {100, 110, 15, 15},
        {100, 107, 15, 10},  // truncated
        {0, 0, 10, 0},       // full already
        {110, 100, 10, 0},   // a value that shrinks with charges never pays the player
        {0, 2000000000, 20, 2147483647},
    };
    for (const Row& r : rows)
        EXPECT_EQ(RechargePrice(r.now, r.full, r.level), r.price) << r.now << " " << r.full << " " << r.level;
    EXPECT_EQ(ApplyPriceLevel(-15, 10), -15);
    EXPECT_EQ(ApplyPriceLevel(-15, 3), -4);  // toward zero
}

TEST(Prices, PaymentsStayWithinZeroAndTheGoldCap) {
    EXPECT_EQ(PayPrice(500, 500), 0u);
    EXPECT_EQ(PayPrice(500, 600), 0u);
    EXPECT_EQ(PayPrice(500, 100), 400u);
    EXPECT_EQ(PayPrice(4000000000u, 0), 1000000000u);
}

// ---- Enchanting -------------------------------------------------------------------------------------

TEST(Enchanting, StorageAndPricePerEffectKind) {
    CRuleContext game;
    struct Row {
        int source, kind, amount, target;
        i32 storage, gold;
    } rows[] = {
        {kSourceWeapon, 1, 5, 3, 75, 500},
        {kSourceArmour, 2, 4, 1, 100, 800},
        {kSourceArmour, 5, 20, 0, 200, 1500},
        {kSourceArmour, 11, 3, 0, 60, 300},
        {kSourceArmour, 15, 130, 0, 300, 3000},
        {kSourceAccessory, 36, 110, 0, 250, 2000},
        {kSourceWeapon, 29, 1, 0, 200, 2000},
        {kSourceMissile, 29, 1, 0, 200, 1000},  // missiles halve the gold
        {kSourceArmour, 58, 7, 0, 105, 700},
        {kSourceArmour, 0, 9, 0, 0, 0},
    };
    for (const Row& r : rows) {
        CEffectList list;
        list.Add(NewEffect(r.kind, r.amount, r.target));
        CEnchantTotals t = ComputeEnchantTotals(list, game, r.source, 1000, false, 10);
        EXPECT_EQ(t.storage, r.storage) << "kind " << r.kind;
        EXPECT_EQ(t.gold, r.gold) << "kind " << r.kind;
        EXPECT_EQ(t.price, r.gold) << "kind " << r.kind;  // no enchanter: the value itself
        EXPECT_EQ(t.available, 1000 - r.storage) << "kind " << r.kind;
    }
}

TEST(Enchanting, CapacityPriceAndTheChecksOfOkInOrder) {
    CRuleContext game;
    EXPECT_EQ(EnchantCapacity(80, 15), 15);
    EXPECT_EQ(EnchantCapacity(10, 15), 10);

    CEffectList list;
    list.Add(NewEffect(5, 10));  // 100 storage, 750 gold
    CEnchantTotals t = ComputeEnchantTotals(list, game, kSourceArmour, 90, true, 12);
    EXPECT_EQ(t.price, 900);
    EXPECT_EQ(t.available, -10);
    EXPECT_EQ(CheckEnchant(list, t, true, 899), EnchantCheck::NoGold);
    EXPECT_EQ(CheckEnchant(list, t, true, 900), EnchantCheck::NoStorage);
    EXPECT_EQ(CheckEnchant(list, t, false, 0), EnchantCheck::NoStorage);  // a spell asks no gold
    t = ComputeEnchantTotals(list, game, kSourceArmour, 300, true, 12);
    EXPECT_EQ(CheckEnchant(list, t, true, 900), EnchantCheck::Ok);  // the price equals the gold
    list.Add(NewEffect(8, 1));
    t = ComputeEnchantTotals(list, game, kSourceArmour, 300, true, 12);
    EXPECT_EQ(CheckEnchant(list, t, true, 100000), EnchantCheck::HpAndUnholy);

    CEffectList empty;
    CEnchantTotals none = ComputeEnchantTotals(empty, game, kSourceArmour, 0, true, 10);
    EXPECT_EQ(CheckEnchant(empty, none, true, 0), EnchantCheck::Empty);
}

TEST(Enchanting, TheItemTakesTheListAndAWandItsCharges) {
    auto wand = MakeType("m_blank", "Blank wand", kItemMagic, 4);
    auto item = MakeItem(*wand);
    item->effects = new CEffectList;  // replaced: freed, never leaked
    item->effects->Add(NewEffect(1, 1, 1));
    auto* list = new CEffectList;
    list->Add(NewEffect(kEffectCastSpell, 25, 0, "s_fire"));
    ApplyEnchantment(*item, list, kSourceWand);
    EXPECT_EQ(item->effects, list);
    EXPECT_EQ(item->count, 25);
    EXPECT_EQ(WandMaximum(*item), 25);
}

TEST(Enchanting, ValueRangesNormalisingAndSteps) {
    struct Row {
        int kind, stored, normalised, plusTen, minusTen;
    } rows[] = {
        {1, 0, 1, 11, 1},         {1, 70, 50, 50, 40},    {2, 25, 20, 20, 10},
        {11, 12, 10, 10, 1},      {15, 0, 101, 111, 101}, {15, 130, 130, 140, 120},
        {22, 250, 200, 200, 190}, {5, 100, 100, 100, 90}, {24, 3, 3, 13, 1},
    };
    for (const Row& r : rows) {
        CEnchantValueRange range = GetEnchantValueRange(r.kind);
        int amount = NormaliseEnchantAmount(r.stored, range);
        EXPECT_EQ(amount, r.normalised) << "kind " << r.kind;
        EXPECT_EQ(StepEnchantAmount(amount, 10, range), r.plusTen) << "kind " << r.kind;
        EXPECT_EQ(StepEnchantAmount(amount, -10, range), r.minusTen) << "kind " << r.kind;
    }
    EXPECT_FALSE(GetEnchantValueRange(26).takesValue);
    EXPECT_EQ(NormaliseEnchantAmount(55, GetEnchantValueRange(26)), 1);  // poison keeps no value
    EXPECT_EQ(StepSpellEntryValue(95, 10), 100);
    EXPECT_EQ(StepSpellEntryValue(5, -10), 1);
    EXPECT_EQ(StepSpellEntryValue(1, -1), 1);
}

TEST(Enchanting, EntriesWithoutAKindOrTheirDatumAreNotStored) {
    struct Row {
        int kind, target;
        const char* id;
        bool complete;
    } rows[] = {
        {0, 0, nullptr, false},  {1, 0, nullptr, false},  {1, 4, nullptr, true},   {2, 6, nullptr, false},
        {5, 0, nullptr, true},   {17, 0, nullptr, false}, {17, 0, "", false},      {17, 0, "d_plague", true},
        {23, 0, nullptr, false}, {23, 0, "c_rat", true},  {24, 0, nullptr, false}, {24, 3, nullptr, true},
        {26, 0, nullptr, true},  {32, 0, nullptr, false}, {31, 0, nullptr, false}, {31, 0, "s_fire", true},
        {59, 0, nullptr, false},
    };
    for (const Row& r : rows) {
        std::unique_ptr<CEffect> e(NewEffect(r.kind, 1, r.target, r.id));
        EXPECT_EQ(IsEnchantEntryComplete(*e), r.complete)
            << r.kind << " " << r.target << " " << (r.id ? r.id : "-");
    }
}

// ---- Lock picking -----------------------------------------------------------------------------------

TEST(LockPicking, LockWordsAndChanceWords) {
    u16 word = static_cast<u16>((7u << 6) | (3u << 10) | 0x2b);
    EXPECT_EQ(LockDifficulty(word), 70);
    EXPECT_EQ(TrapStrength(word), 30);
    EXPECT_EQ(ClearLockLevel(word), (3u << 10) | 0x2b);
    struct Row {
        bool pick;
        int skill, difficulty;
        const char* word;
    } rows[] = {{false, 90, 10, "none"},    {true, 200, 110, "none"}, {true, 51, 50, "very good"},
                {true, 50, 50, "good"},     {true, 46, 50, "good"},   {true, 45, 50, "moderate"},
                {true, 36, 50, "moderate"}, {true, 35, 50, "slight"}, {true, 1, 0, "very good"}};
    for (const Row& r : rows)
        EXPECT_STREQ(LockChanceWord(r.pick, r.skill, r.difficulty), r.word)
            << r.skill << " vs " << r.difficulty;
    EXPECT_EQ(PickSkill(30, 999), 31);
}

namespace {

struct Picks {
    Picks() {
        type = MakeType("k_pick", "Lockpick", kItemKey, 2);
        type->maxCondition = 1000;
    }
    std::unique_ptr<CItemType> type;
};

}  // namespace

TEST(LockPicking, AttemptsWearThePickThenRollUnderASeededGenerator) {
    Picks picks;
    struct Row {
        int skill;
        u16 condition, lockWord;
        PickResult expected;
    } rows[] = {
        {60, 1000, 0, PickResult::Opened},  // a level-0 lock opens at any skill of 2 or more
        {0, 500, 0, PickResult::Failed},    // skill 1 with the pick: the roll is always 0
        {100, 1000, static_cast<u16>(11u << 6), PickResult::Failed},  // beyond 100 never opens
        {0, 500, static_cast<u16>((5u << 6) | (2u << 10)), PickResult::Trapped},
    };
    for (const Row& r : rows) {
        CRandom random, mirror;
        SeedAt(random, 4242);
        SeedAt(mirror, 4242);
        auto pick = MakeItem(*picks.type, r.condition);
        u16 counter = 254;
        CPickAttempt attempt = AttemptLockPick(random, *pick, r.skill, r.lockWord, counter);
        int wear =
            static_cast<int>(mirror.Next(100 - r.skill)) * 3 / 2 + static_cast<int>(mirror.Next(20)) + 10;
        EXPECT_EQ(attempt.wear, wear);
        EXPECT_EQ(pick->count, std::max(0, r.condition - wear));
        EXPECT_EQ(attempt.result, r.expected) << r.skill;
        EXPECT_EQ(counter, 255);
        AttemptLockPick(random, *pick, r.skill, r.lockWord, counter);
        EXPECT_EQ(counter, 255);  // stops there
    }
}

TEST(LockPicking, PicksBelowTenPercentLeaveTheList) {
    Picks picks;
    EXPECT_TRUE(IsUsablePick(*MakeItem(*picks.type, 100)));  // exactly 10 percent
    EXPECT_FALSE(IsUsablePick(*MakeItem(*picks.type, 99)));  // 9.9 percent
    CRandom random;
    SeedAt(random, 1);
    auto pick = MakeItem(*picks.type, 105);  // any wear of 10 or more takes it below
    u16 counter = 0;
    CPickAttempt attempt = AttemptLockPick(random, *pick, 50, static_cast<u16>(9u << 6), counter);
    EXPECT_TRUE(attempt.pickLeft);
    EXPECT_EQ(counter, 1);
}

TEST(LockPicking, FailedShowsForOneSecondOnTheTestClock) {
    plat::ManualClock clock;
    plat::ScopedClock scoped(clock);
    clock.SetTick(5000);
    CFailedNotice notice;
    EXPECT_FALSE(notice.Expire(plat::TickCount()));
    notice.Show(plat::TickCount());
    EXPECT_TRUE(notice.IsShown());
    clock.Advance(1000);
    EXPECT_FALSE(notice.Expire(plat::TickCount()));  // not yet past the time
    clock.Advance(1);
    EXPECT_TRUE(notice.Expire(plat::TickCount()));
    EXPECT_FALSE(notice.IsShown());
    EXPECT_FALSE(notice.Expire(plat::TickCount()));  // only once

    clock.SetTick(0xFFFFFF00u);  // across the wrap of the tick count
    notice.Show(plat::TickCount());
    clock.Advance(1001);
    EXPECT_TRUE(notice.Expire(plat::TickCount()));
}

// The alchemy dialog on the interface database that the build writes, with a stand-in player and
// hand-made herbs, potions and recipes: the lists it builds, the potions the slots make, the query,
// the brew and what it consumes.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "core/Random.h"
#include "data/Effect.h"
#include "data/ItemType.h"
#include "data/RuleContext.h"
#include "data/Spells.h"
#include "screens/npc/AlchemyDialog.h"
#include "tests/screens/npc/CraftTestSupport.h"
#include "tests/support/FrameRig.h"
#include "ui/ButtonBar.h"

namespace {

using PanelStandIn = craft_testing::OwnerStandIn;

CEffect* NewEffect(int kind, int amount) {
    auto* e = new CEffect;
    e->kind = static_cast<u8>(kind);
    e->amount = static_cast<i16>(amount);
    return e;
}

void Define(CItemType& type, const char* id, const char* name, int itemClass,
            std::vector<CEffect*> effects = {}) {
    type.SetName(id);
    type.name = name;
    type.itemClass = static_cast<u8>(itemClass);
    if (!effects.empty()) {
        type.effects = new CEffectList;
        for (CEffect* e : effects) type.effects->Add(e);
    }
}

class Alchemist : public IAlchemist {
public:
    const CRuleContext& GetRules() const override { return rules; }
    std::vector<CItemInstance*> GetCarriedItems() override {
        std::vector<CItemInstance*> out;
        for (auto& item : items) out.push_back(item.get());
        return out;
    }
    int GetAlchemySkill() const override { return skill; }
    u16& AlchemyUseCounter() override { return counter; }
    void ConsumeItemOfType(const CItemType& type) override {
        auto it = std::find_if(items.begin(), items.end(), [&](const auto& i) { return i->type == &type; });
        if (it != items.end()) items.erase(it);
    }
    void ReceiveItem(CItemInstance* item) override { items.emplace_back(item); }
    std::vector<const CRecipe*> GetRecipes() const override { return recipes; }
    const CItemType* FindItemType(const char* id) const override {
        for (const CItemType* t : types)
            if (std::string(t->GetName()) == id) return t;
        return nullptr;
    }
    void Carry(const CItemType& type, u16 count = 0) {
        auto item = std::make_unique<CItemInstance>();
        item->type = &type;
        item->count = count;
        items.push_back(std::move(item));
    }
    int Carried(const CItemType& type) const {
        return static_cast<int>(
            std::count_if(items.begin(), items.end(), [&](const auto& i) { return i->type == &type; }));
    }

    CRuleContext rules;
    std::vector<std::unique_ptr<CItemInstance>> items;
    std::vector<const CRecipe*> recipes;
    std::vector<const CItemType*> types;
    int skill = 40;
    u16 counter = 0;
};

class AlchemyDialog : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(rig.StartOnBuiltDatabase());
        panel.Attach(rig.Game());
        dialog.Attach(rig.Game());
        dialog.SetAlchemist(&player);
        Define(mortar, "a_mortar", "Beginner's mortar", kItemAlchemy);
        mortar.maxCondition = 100;
        Define(berries, "a_berries", "Alkie berries", kItemIngredient,
               {NewEffect(3, 5), NewEffect(57, 110), NewEffect(10, 5)});
        Define(slipper, "a_slipper", "Lady slipper", kItemIngredient, {NewEffect(3, 5), NewEffect(16, 110)});
        Define(mushies, "a_mushies", "Moonshine mushies", kItemIngredient,
               {NewEffect(9, 5), NewEffect(57, 120)});
        Define(healing, "p_heal", "Small Healing", kItemPotion, {NewEffect(3, 25)});
        Define(mana, "p_mana", "Small Mana", kItemPotion, {NewEffect(9, 20)});
        player.types = {&healing, &mana};
        heal.SetName("r_heal");
        heal.ingredients[0].value1 = 3;
        heal.ingredients[1].value1 = 3;
        heal.resultId = "p_heal";
        heal.baseAmount = 15;
        heal.amountPerSkill = 30;
        heal.value = 10;
        manaRecipe.SetName("r_mana");
        manaRecipe.ingredients[0].value1 = 9;
        manaRecipe.resultId = "p_mana";
        manaRecipe.value = 60;
        player.recipes = {&heal, &manaRecipe};
        rig.env.clock.SetTime(31337);
        random.Seed(nullptr);
        player.rules.random = &random;
    }
    void Open() {
        panel.OpenModal(&dialog);
        const CItemInstance* used = nullptr;
        for (const auto& item : player.items)
            if (!used && item->type == &mortar) used = item.get();
        dialog.Open(used);
    }
    // Steps slot i forward n times.
    void Step(int slot, int n) {
        for (int k = 0; k < n; ++k) dialog.OnCommand(static_cast<u32>(483 + 4 * slot));
    }
    std::vector<std::string> Rows() const {
        std::vector<std::string> out;
        for (const auto& p : dialog.Potions()) out.push_back(p.label);
        return out;
    }

    testing_support::FrameRig rig;
    PanelStandIn panel;
    CAlchemyDialog dialog;
    Alchemist player;
    CItemType mortar, berries, slipper, mushies, healing, mana;
    CRecipe heal, manaRecipe;
    CRandom random;
};

}  // namespace

TEST_F(AlchemyDialog, LooksAsDrawn) {
    player.Carry(mortar, 80);
    player.Carry(berries);
    player.Carry(berries);
    player.Carry(slipper);
    player.Carry(mushies);
    Open();
    Step(0, 1);
    Step(1, 2);
    ASSERT_EQ(Rows(), std::vector<std::string>{"Small Healing"});
    dialog.Draw();
    EXPECT_TRUE(testing_support::MatchesGolden("screens/alchemy_dialog", rig.Capture()));
}

TEST_F(AlchemyDialog, ListsMortarsAndGroupedIngredients) {
    player.Carry(berries);
    player.Carry(mortar, 100);
    player.Carry(berries);
    player.Carry(slipper);
    Open();
    EXPECT_EQ(dialog.MortarIndex(), 0);
    EXPECT_EQ(dialog.mortarPrevious.state & kWidgetPenEnabled, 0);
    EXPECT_EQ(dialog.mortarNext.state & kWidgetPenEnabled, 0);  // the only mortar
    EXPECT_STREQ(dialog.mortarText.title.GetText(), "Beginner's mortar");
    ASSERT_EQ(dialog.Ingredients().size(), 2u);
    EXPECT_EQ(dialog.Ingredients()[0].count, 2);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(dialog.SlotIndex(i), -1);
    EXPECT_TRUE(Rows().empty());
}

TEST_F(AlchemyDialog, TheSameHerbInTwoSlotsCountsOnce) {
    player.Carry(berries);
    player.Carry(berries);
    Open();
    Step(0, 1);
    Step(1, 1);
    EXPECT_TRUE(Rows().empty());  // healing needs two restoring herbs, not one herb twice
    Step(2, 1);
    EXPECT_TRUE(Rows().empty());
}

TEST_F(AlchemyDialog, WithoutIngredientsBrewingDoesNothing) {
    player.Carry(mortar, 100);
    Open();
    dialog.OnCommand(CAlchemyDialog::kBrew);
    EXPECT_EQ(dialog.GetState(), CAlchemyDialog::kChoosing);
    EXPECT_EQ(player.counter, 0);
}

TEST_F(AlchemyDialog, ABrewConsumesItsHerbsAndEmptiesTheirSlots) {
    player.Carry(berries);
    player.Carry(slipper);
    player.skill = 90;  // above the level: always succeeds
    Open();
    Step(0, 1);
    Step(1, 2);
    ASSERT_EQ(Rows(), std::vector<std::string>{"Small Healing"});
    EXPECT_TRUE(dialog.SlotMarked(0));
    EXPECT_TRUE(dialog.SlotMarked(1));
    dialog.OnCommand(CAlchemyDialog::kBrew);
    EXPECT_EQ(dialog.GetState(), CAlchemyDialog::kResult);
    EXPECT_EQ(player.Carried(berries), 0);
    EXPECT_EQ(player.Carried(slipper), 0);
    ASSERT_EQ(player.Carried(healing), 1);
    EXPECT_EQ(player.items.back()->effects->At(0)->amount, 15 + 30 * 90 / 100);
    EXPECT_EQ(player.counter, 1);
    EXPECT_EQ(dialog.SlotIndex(0), -1);
    EXPECT_EQ(dialog.SlotIndex(1), -1);
    EXPECT_TRUE(Rows().empty());
    dialog.OnCommand(1);
    EXPECT_EQ(dialog.GetState(), CAlchemyDialog::kChoosing);
    dialog.OnCommand(CAlchemyDialog::kClose);
    EXPECT_EQ(panel.commands, std::vector<u32>{CAlchemyDialog::kClose});
}

TEST_F(AlchemyDialog, ATooLowSkillAsksAndNoKeepsEverything) {
    player.Carry(mushies);
    player.Carry(mushies);
    player.skill = 30;  // the mana recipe wants 60
    player.counter = 255;
    Open();
    Step(0, 1);
    ASSERT_EQ(Rows(), std::vector<std::string>{"Small Mana"});
    EXPECT_FALSE(dialog.SlotMarked(0));  // not marked while the skill is too low
    dialog.OnCommand(CAlchemyDialog::kBrew);
    EXPECT_EQ(dialog.GetState(), CAlchemyDialog::kQuery);
    dialog.OnCommand(CButtonBar::kNo);
    EXPECT_EQ(dialog.GetState(), CAlchemyDialog::kChoosing);
    EXPECT_EQ(player.Carried(mushies), 2);

    // Yes brews at the threshold (30 - 60 + 20) x 5 < 0: it fails, and still costs the herb.
    dialog.OnCommand(CAlchemyDialog::kBrew);
    dialog.OnCommand(CButtonBar::kYes);
    EXPECT_EQ(dialog.GetState(), CAlchemyDialog::kResult);
    EXPECT_EQ(player.Carried(mushies), 1);
    EXPECT_EQ(player.Carried(mana), 0);
    EXPECT_EQ(player.counter, 255);     // stops there
    EXPECT_EQ(dialog.SlotIndex(0), 0);  // one left: the slot keeps it
    EXPECT_EQ(Rows(), std::vector<std::string>{"Small Mana"});
}

// The smith's repair service, skill training and repairing with a hammer, each opened over the
// started game's menu on the fake world, driven through their commands and drawn.
#include <gtest/gtest.h>

#include <deque>
#include <string>

#include "app/Game.h"
#include "screens/npc/RepairDialog.h"
#include "screens/npc/SmithRepairDialog.h"
#include "screens/npc/TrainingDialog.h"
#include "tests/screens/TradeWorldFake.h"
#include "tests/support/FrameRig.h"
#include "ui/Screen.h"

namespace {

using trade_testing::FakeTradeWorld;

// A started game at the menu, over which a dialog opens as its modal child.
struct DialogRig : testing_support::FrameRig {
    bool Start() {
        if (!StartOnBuiltDatabase()) return false;
        Key(27);
        return Current() != nullptr;
    }
    void Show(CForm& dialog) {
        dialog.Attach(Game());
        Current()->OpenModal(&dialog);
    }
    testing_support::Rgb565Image Draw() {
        Current()->flags |= kFormRedrawAll;
        Tick();
        return Capture();
    }
    FakeTradeWorld world;
};

// A form that takes a dialog's closing command.
struct Owner : CForm {
    u32 OnCommand(u32 command) override {
        closed.push_back(command);
        CloseModal();
        return 0;
    }
    std::vector<u32> closed;
};

TEST(SmithRepair, ListsWornWeaponsAndArmourAtTheirPricesAndRepairsForGold) {
    DialogRig rig;
    ASSERT_TRUE(rig.Start());
    FakeTradeWorld& w = rig.world;
    CItemInstance* broken = FakeTradeWorld::Item(w.sword, 0);     // 200 missing: 20 at rate 10
    CItemInstance* nearly = FakeTradeWorld::Item(w.helmet, 199);  // 1 missing: 0, raised to 1
    w.player.items.Add(broken);
    w.player.items.Add(FakeTradeWorld::Item(w.axe, 200));  // not worn: not listed
    w.player.items.Add(nearly);
    w.player.items.Add(FakeTradeWorld::Item(w.potion, 0));
    w.arrows();
    w.player.gold = 25;
    w.player.bonus = 10;
    CSmithRepairDialog dialog;
    rig.Show(dialog);
    dialog.Open(&w, 10);
    ASSERT_EQ(dialog.items.size(), 2u);
    EXPECT_EQ(dialog.PriceOf(*broken), 18u);  // 20 less 10 %
    EXPECT_EQ(dialog.PriceOf(*nearly), 1u);
    EXPECT_EQ(dialog.list.GetCount(), 2);
    EXPECT_EQ(dialog.list.selection, 0);
    EXPECT_TRUE(testing_support::MatchesGolden("screens/smith_repair", rig.Draw()));

    dialog.OnCommand(CSmithRepairDialog::kRepair);
    EXPECT_EQ(broken->count, 200);
    EXPECT_EQ(w.player.gold, 7u);
    EXPECT_EQ(w.sounds, std::vector<std::string>{"bsnd_repairok"});
    ASSERT_EQ(dialog.items.size(), 1u);
    EXPECT_EQ(dialog.list.selection, 0);
    // Too little gold: nothing happens, and no message.
    w.player.gold = 0;
    dialog.OnCommand(CSmithRepairDialog::kRepair);
    EXPECT_EQ(nearly->count, 199);
    w.player.gold = 1;
    dialog.OnCommand(CSmithRepairDialog::kRepair);
    EXPECT_EQ(nearly->count, 200);
    EXPECT_EQ(w.player.gold, 0u);
    // The list is empty now: Repair does nothing.
    EXPECT_EQ(dialog.list.GetCount(), 0);
    EXPECT_EQ(dialog.list.selection, -1);
    dialog.OnCommand(CSmithRepairDialog::kRepair);
    EXPECT_EQ(w.sounds.size(), 2u);
    rig.Current()->CloseModal();
}

TEST(SmithRepair, CancelGoesToTheOwner) {
    DialogRig rig;
    ASSERT_TRUE(rig.Start());
    Owner owner;
    owner.Attach(rig.Game());
    CSmithRepairDialog dialog;
    dialog.Attach(rig.Game());
    owner.OpenModal(&dialog);
    dialog.Open(&rig.world, 10);
    dialog.OnCommand(CSmithRepairDialog::kCancel);
    EXPECT_EQ(owner.closed, std::vector<u32>{26});
    EXPECT_EQ(owner.modalChild, nullptr);
}

struct TrainingCase {
    const char* what;
    u8 skill;
    u8 maximum;
    u32 base;
    int race;
    u32 attribute;
    u32 gold;
    const char* message;
    bool train;
};

TEST(Training, RefusalsAndPriceAsTheDialogShowsThem) {
    const TrainingCase cases[] = {
        {"trains", 2, 40, 25, 2, 20, 250, "Cost for the next level: 250\t", true},
        {"gold exactly the price", 2, 40, 25, 2, 20, 250, "Cost for the next level: 250\t", true},
        {"too little gold", 2, 40, 25, 2, 20, 249, "Cost for the next level: 250\t", false},
        {"trainer's limit", 2, 25, 25, 2, 20, 9999, "Brann cannot train you anymore.", false},
        {"attribute", 2, 60, 40, 2, 20, 9999, "You need higher Dexterity to learn Light Weapon.", false},
        {"race", 12, 60, 0, 2, 20, 9999, "You cannot learn Undead Magic.", false},
        {"no such skill", 0, 60, 0, 2, 20, 9999, "Brann cannot train you.", false},
        {"skill byte past 20", 200, 60, 0, 2, 20, 9999, "Brann cannot train you.", false},
        {"from 100 up: the last cost", 2, 255, 150, 2, 100, 9999, "Cost for the next level: 3000\t", true},
    };
    DialogRig rig;
    ASSERT_TRUE(rig.Start());
    for (const TrainingCase& c : cases) {
        SCOPED_TRACE(c.what);
        FakeTradeWorld& w = rig.world;
        CNpc trainer;
        trainer.SetName("Brann");
        trainer.trainerSkill = c.skill;
        trainer.bytes[4] = c.maximum;
        w.player.race = c.race;
        w.player.attribute = c.attribute;
        if (c.skill >= 1 && c.skill <= 20) w.player.skills[c.skill] = c.base;
        w.player.gold = c.gold;
        CTrainingDialog dialog;
        rig.Show(dialog);
        dialog.Open(&w, trainer);
        EXPECT_EQ(std::string(dialog.messageLabel.text.GetText()), c.message);
        EXPECT_EQ(dialog.trainButton.IsShown(), c.train);
        rig.Current()->CloseModal();
    }
}

TEST(Training, TrainingRaisesTheBaseValueAndTakesThePrice) {
    DialogRig rig;
    ASSERT_TRUE(rig.Start());
    FakeTradeWorld& w = rig.world;
    CNpc trainer;
    trainer.SetName("Brann");
    trainer.trainerSkill = 2;
    trainer.bytes[4] = 27;
    w.player.skills[2] = 25;
    w.player.fortify[2] = 30;  // effects do not count
    w.player.gold = 600;
    CTrainingDialog dialog;
    rig.Show(dialog);
    dialog.Open(&w, trainer);
    EXPECT_TRUE(testing_support::MatchesGolden("screens/training", rig.Draw()));
    dialog.OnCommand(CTrainingDialog::kTrain);
    EXPECT_EQ(w.player.skills[2], 26u);
    EXPECT_EQ(w.player.gold, 350u);
    EXPECT_TRUE(dialog.trainButton.IsShown());
    dialog.OnCommand(CTrainingDialog::kTrain);
    EXPECT_EQ(w.player.skills[2], 27u);
    EXPECT_EQ(w.player.gold, 90u);  // 260 for the point from 26
    EXPECT_FALSE(dialog.trainButton.IsShown());
    EXPECT_EQ(std::string(dialog.messageLabel.text.GetText()), "Brann cannot train you anymore.");
    // A stale press does nothing.
    dialog.OnCommand(CTrainingDialog::kTrain);
    EXPECT_EQ(w.player.skills[2], 27u);
    EXPECT_EQ(w.player.gold, 90u);
    rig.Current()->CloseModal();
}

struct Draws {
    std::deque<u32> answers;
    RandomDraw Draw() {
        return [this](i32 n) -> u32 {
            if (n < 1) return 0;
            u32 v = answers.empty() ? 0 : answers.front();
            if (!answers.empty()) answers.pop_front();
            return v % static_cast<u32>(n);
        };
    }
};

TEST(HammerRepair, OffersGoodHammersAndWornItemsAndRepairsByTheRoll) {
    DialogRig rig;
    ASSERT_TRUE(rig.Start());
    FakeTradeWorld& w = rig.world;
    CItemInstance* spent = FakeTradeWorld::Item(w.hammer, 19);  // below 10 %: not offered
    CItemInstance* used = FakeTradeWorld::Item(w.hammer, 40);   // 20 %
    CItemInstance* fresh = FakeTradeWorld::Item(w.hammer, 200);
    CItemInstance* sword = FakeTradeWorld::Item(w.sword, 20);
    CItemInstance* helmet = FakeTradeWorld::Item(w.helmet, 150);
    for (CItemInstance* item : {spent, used, sword, fresh, helmet}) w.player.items.Add(item);
    w.player.items.Add(FakeTradeWorld::Item(w.axe, 200));
    w.arrows();
    w.player.skills[14] = 40;
    w.player.fortify[14] = 10;  // effects count here: skill 50
    Draws draws;
    CRepairDialog dialog;
    rig.Show(dialog);
    dialog.Open(&w, used, draws.Draw());
    EXPECT_EQ(dialog.repairSkill, 50);
    ASSERT_EQ(dialog.hammers.size(), 2u);
    EXPECT_EQ(dialog.hammerIndex, 0);
    ASSERT_EQ(dialog.items.size(), 2u);
    EXPECT_EQ(dialog.list.GetItem(0)->column.GetText(), std::string("poor"));
    EXPECT_TRUE(testing_support::MatchesGolden("screens/hammer_repair", rig.Draw()));

    // Wear 35 + 0 takes the used hammer from 40 to 5: below 10 %, it leaves the choice (not the pack).
    draws.answers = {0, 99, 0};
    dialog.OnCommand(CRepairDialog::kRepair);
    EXPECT_EQ(used->count, 5);
    EXPECT_EQ(sword->count, 120);  // 20 + 100
    EXPECT_EQ(w.sounds.back(), "bsnd_repairok");
    ASSERT_EQ(dialog.hammers.size(), 1u);
    EXPECT_EQ(dialog.hammers[0], fresh);
    EXPECT_EQ(dialog.hammerIndex, 0);
    EXPECT_EQ(w.player.GetItemCount(), 7);
    EXPECT_EQ(w.player.counters[14], 1);
    EXPECT_EQ(dialog.list.GetItem(0)->column.GetText(), std::string("average"));

    // Repaired to the maximum, the sword leaves the list.
    draws.answers = {0, 0, 99};
    dialog.OnCommand(CRepairDialog::kRepair);
    EXPECT_EQ(sword->count, 200);
    ASSERT_EQ(dialog.items.size(), 1u);
    EXPECT_EQ(dialog.items[0], helmet);
    rig.Current()->CloseModal();
}

TEST(HammerRepair, WithoutAHammerRepairDoesNothing) {
    DialogRig rig;
    ASSERT_TRUE(rig.Start());
    FakeTradeWorld& w = rig.world;
    CItemInstance* hammer = FakeTradeWorld::Item(w.hammer, 19);
    CItemInstance* sword = FakeTradeWorld::Item(w.sword, 20);
    w.player.items.Add(hammer);
    w.player.items.Add(sword);
    Draws draws;
    CRepairDialog dialog;
    rig.Show(dialog);
    dialog.Open(&w, hammer, draws.Draw());
    EXPECT_EQ(dialog.hammerIndex, -1);
    dialog.OnCommand(CRepairDialog::kRepair);
    EXPECT_EQ(sword->count, 20);
    EXPECT_EQ(hammer->count, 19);
    EXPECT_TRUE(w.sounds.empty());
    rig.Current()->CloseModal();
}

}  // namespace

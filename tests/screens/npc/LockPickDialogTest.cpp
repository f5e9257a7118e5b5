// The lock-picking dialog on the interface database that the build writes, with a stand-in door and
// player: the picks it offers, the chance, wear, success, a sprung trap and the one-second "Failed".
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/Random.h"
#include "data/ItemType.h"
#include "screens/npc/LockPickDialog.h"
#include "tests/screens/npc/CraftTestSupport.h"
#include "tests/support/FrameRig.h"

namespace {

using GameViewStandIn = craft_testing::OwnerStandIn;

class Door : public ILockTarget {
public:
    u16 GetLockWord() const override { return word; }
    void SetLockWord(u16 value) override { word = value; }
    u16 word = 0;
};

class Picker : public ILockPicker {
public:
    std::vector<CItemInstance*> GetCarriedItems() override {
        std::vector<CItemInstance*> out;
        for (auto& item : items) out.push_back(item.get());
        return out;
    }
    int GetLockpickSkill() const override { return skill; }
    u16& LockpickUseCounter() override { return counter; }
    void ShowGameMessage(const char* text) override { messages.emplace_back(text); }
    std::vector<std::unique_ptr<CItemInstance>> items;
    int skill = 40;
    u16 counter = 0;
    std::vector<std::string> messages;
};

class LockPick : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(rig.StartOnBuiltDatabase());
        view.Attach(rig.Game());
        dialog.Attach(rig.Game());
        pick.SetName("k_pick");
        pick.name = "Lockpick";
        pick.itemClass = kItemKey;
        pick.subclass = 2;
        pick.maxCondition = 1000;
        key.SetName("k_key");
        key.name = "Key";
        key.itemClass = kItemKey;
        key.subclass = 1;
        rig.env.clock.SetTime(99);
        random.Seed(nullptr);
    }
    void Carry(const CItemType& type, u16 condition) {
        auto item = std::make_unique<CItemInstance>();
        item->type = &type;
        item->count = condition;
        picker.items.push_back(std::move(item));
    }
    void Open() {
        view.OpenModal(&dialog);
        dialog.Open(&picker, &door, &random);
    }

    testing_support::FrameRig rig;
    GameViewStandIn view;
    CLockPickDialog dialog;
    Door door;
    Picker picker;
    CItemType pick, key;
    CRandom random;
};

}  // namespace

TEST_F(LockPick, OffersPicksFromTenPercentAndShowsTheChance) {
    Carry(pick, 99);
    Carry(key, 1000);
    Carry(pick, 100);
    Carry(pick, 1000);
    door.word = static_cast<u16>(4u << 6);  // difficulty 40
    Open();
    ASSERT_EQ(dialog.PickCount(), 2);
    EXPECT_EQ(dialog.Selection(), 0);
    EXPECT_STREQ(dialog.pickText.title.GetText(), "Lockpick");
    EXPECT_STREQ(dialog.result.text.GetText(), "Chance: good");  // 40 > 36
    EXPECT_EQ(dialog.previousButton.state & kWidgetPenEnabled, 0);
    EXPECT_NE(dialog.nextButton.state & kWidgetPenEnabled, 0);
    dialog.OnCommand(CLockPickDialog::kNext);
    EXPECT_EQ(dialog.Selection(), 1);
    EXPECT_EQ(dialog.nextButton.state & kWidgetPenEnabled, 0);
    dialog.OnCommand(CLockPickDialog::kNext);  // a stray command stays in range
    EXPECT_EQ(dialog.Selection(), 1);
}

TEST_F(LockPick, WithoutPicksNothingHappens) {
    Carry(key, 1000);
    Open();
    EXPECT_EQ(dialog.PickCount(), 0);
    EXPECT_STREQ(dialog.result.text.GetText(), "Chance: none");
    EXPECT_EQ(dialog.OnCommand(CLockPickDialog::kPick), 0u);
    EXPECT_EQ(picker.counter, 0);
    EXPECT_TRUE(view.commands.empty());
}

TEST_F(LockPick, AnOpenLockClearsItsLevelAndClosesTheDialog) {
    Carry(pick, 1000);
    door.word = static_cast<u16>(0x2b);  // level 0: opens for a skill of 2 or more
    Open();
    dialog.OnCommand(CLockPickDialog::kPick);
    EXPECT_TRUE(dialog.Opened());
    EXPECT_EQ(door.word, 0x2b);
    EXPECT_EQ(picker.messages, std::vector<std::string>{"You have successfully picked the lock."});
    EXPECT_EQ(view.commands, std::vector<u32>{CLockPickDialog::kClose});
    EXPECT_EQ(picker.counter, 1);
    EXPECT_LT(picker.items[0]->count, 1000);
}

TEST_F(LockPick, ATrappedLockSpringsAndAnUntrappedOneShowsFailedForASecond) {
    Carry(pick, 1000);
    picker.skill = 0;
    door.word = static_cast<u16>((12u << 6) | (3u << 10));  // beyond 100: never opens
    Open();
    dialog.OnCommand(CLockPickDialog::kPick);
    EXPECT_EQ(view.commands, std::vector<u32>{CLockPickDialog::kPick});
    EXPECT_FALSE(dialog.Opened());

    view.commands.clear();
    door.word = static_cast<u16>(12u << 6);
    Open();
    dialog.OnCommand(CLockPickDialog::kPick);
    EXPECT_TRUE(view.commands.empty());
    EXPECT_STREQ(dialog.result.text.GetText(), "Failed");
    rig.env.clock.Advance(1000);
    dialog.OnTick(0);
    EXPECT_STREQ(dialog.result.text.GetText(), "Failed");
    rig.env.clock.Advance(1);
    dialog.OnTick(0);
    EXPECT_STREQ(dialog.result.text.GetText(), "Chance: none");
}

TEST_F(LockPick, APickWornBelowTenPercentLeavesTheList) {
    Carry(pick, 1000);
    Carry(pick, 105);
    door.word = static_cast<u16>(12u << 6);
    Open();
    dialog.OnCommand(CLockPickDialog::kNext);
    dialog.OnCommand(CLockPickDialog::kPick);
    EXPECT_EQ(dialog.PickCount(), 1);
    EXPECT_EQ(dialog.Selection(), 0);
    EXPECT_EQ(picker.items.size(), 2u);  // the item stays with the player
}

// The pick that breaks in a failed attempt leaves the list at once, but the player sees it: the text
// box names it "broken" for as long as "Failed" shows, then the next pick and the chance show.
TEST_F(LockPick, APickThatBreaksShowsAsBrokenWhileFailedShows) {
    Carry(pick, 1000);
    Carry(pick, 105);
    door.word = static_cast<u16>(12u << 6);
    Open();
    dialog.OnCommand(CLockPickDialog::kNext);
    dialog.OnCommand(CLockPickDialog::kPick);
    EXPECT_EQ(dialog.PickCount(), 1);
    EXPECT_EQ(dialog.Selection(), 0);
    const auto body = [this] { return std::string(dialog.pickText.pages.GetText(0)); };
    EXPECT_STREQ(dialog.result.text.GetText(), "Failed");
    EXPECT_NE(body().find("broken"), std::string::npos) << body();
    rig.env.clock.Advance(1000);
    dialog.OnTick(0);
    EXPECT_NE(body().find("broken"), std::string::npos) << body();
    rig.env.clock.Advance(1);
    dialog.OnTick(0);
    EXPECT_STREQ(dialog.result.text.GetText(), "Chance: none");
    EXPECT_NE(body().find("perfect"), std::string::npos) << body();
}

TEST_F(LockPick, LooksAsDrawn) {
    Carry(pick, 640);
    door.word = static_cast<u16>(5u << 6);
    Open();
    dialog.Draw();
    EXPECT_TRUE(testing_support::MatchesGolden("screens/lock_picking", rig.Capture()));
}

// The mark and recall dialog on the started game: its slot lines, marking, recalling and paging, driven
// through its buttons as the player taps them, and its frames in a wide and a narrow layout.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "screens/panels/MarkRecallDialog.h"
#include "tests/screens/panels/ViewDialogTesting.h"
#include "world/Player.h"

namespace {

using view_dialog_testing::DialogRig;
using view_dialog_testing::FakeViewDialogHost;

constexpr u16 kClick = 4031, kConfirm = 4032;

CMarkedPosition Mark(const char* world, const char* map, const char* worldName, const char* mapName, u8 x,
                     u8 y, u8 facing) {
    CMarkedPosition m;
    m.world = world;
    m.map = map;
    m.text3 = worldName;
    m.text4 = mapName;
    m.x = x;
    m.y = y;
    m.facing = facing;
    return m;
}

struct MarkRecallTest : testing::Test {
    void SetUp() override {
        ASSERT_TRUE(rig.Start());
        dialog.SetHost(&host);
        rig.Show(dialog);
        host.maps = {{"base", "base_town"}, {"base", "base_cellar"}};
        host.place.worldId = "base";
        host.place.worldName = "The Vale";
        host.place.mapId = "base_cellar";
        host.place.mapName = "Old cellar";
        host.place.x = 17;
        host.place.y = 4;
        host.place.facingDegrees = 135;
    }
    std::vector<std::string> Lines() const { return craft_testing::ListLabels(dialog.slots); }

    DialogRig rig;
    PlayerWorld world;
    FakeViewDialogHost host{world};
    CMarkRecallDialog dialog;
};

TEST_F(MarkRecallTest, ListsEverySlotAndSelectsTheFirst) {
    world.player.marks = {CMarkedPosition{}, Mark("base", "base_town", "The Vale", "Brookhollow", 3, 5, 1),
                          CMarkedPosition{}};
    dialog.Open(CMarkRecallDialog::kRecallMode);
    EXPECT_STREQ(dialog.title.text.GetText(), "Recall a position");
    EXPECT_EQ(Lines(), (std::vector<std::string>{"1. -", "2. The Vale, Brookhollow", "3. -"}));
    EXPECT_EQ(dialog.slots.selection, 0);
    EXPECT_EQ(world.player.marks.size(), 3u) << "recall lists the slots as they are";
    // Centred in the 3D view.
    const CViewRect view = GameViewRect(rig.Game());
    ASSERT_GT(view.width, 0);
    EXPECT_EQ(static_cast<i32>(dialog.x), view.x + (view.width - static_cast<i32>(dialog.width)) / 2);
    EXPECT_EQ(static_cast<i32>(dialog.y), view.y + (view.height - static_cast<i32>(dialog.height)) / 2);
    EXPECT_FALSE(dialog.pageUp.state & kWidgetPenEnabled);
    EXPECT_FALSE(dialog.pageDown.state & kWidgetPenEnabled);
}

TEST_F(MarkRecallTest, MarkingStoresThePlaceInTheChosenSlotAndKeepsItSelected) {
    world.player.attributes[kIntelligence] = 15;  // three slots
    world.player.marks = {Mark("base", "base_town", "The Vale", "Brookhollow", 3, 5, 1)};
    dialog.Open(CMarkRecallDialog::kMarkMode);
    EXPECT_STREQ(dialog.title.text.GetText(), "Mark a position");
    ASSERT_EQ(world.player.marks.size(), 3u) << "marking grows the slots to the player's number";
    EXPECT_EQ(Lines(), (std::vector<std::string>{"1. The Vale, Brookhollow", "2. -", "3. -"}));

    rig.NextTick();
    rig.Tap(dialog.slots.x + 10, dialog.slots.y + dialog.slots.rowHeight * 3 / 2);  // the second row
    ASSERT_EQ(dialog.slots.selection, 1);
    EXPECT_EQ(rig.clicks, std::vector<u16>{kClick});
    dialog.slots.selection = 0;  // over the used slot
    rig.TapOn(dialog.okButton);
    const CMarkedPosition& stored = world.player.marks[0];
    EXPECT_EQ(stored.world, "base");
    EXPECT_EQ(stored.map, "base_cellar");
    EXPECT_EQ(stored.x, 17);
    EXPECT_EQ(stored.y, 4);
    EXPECT_EQ(stored.facing, 1);
    EXPECT_EQ(Lines()[0], "1. The Vale, Old cellar");
    EXPECT_EQ(dialog.slots.selection, 0);
    EXPECT_EQ(host.log, std::vector<std::string>{"message Position has been marked."});
    EXPECT_EQ(rig.owner->commands, std::vector<u32>{CMarkRecallDialog::kCancel});
    EXPECT_EQ(rig.clicks, (std::vector<u16>{kClick, kConfirm}));
    EXPECT_EQ(rig.owner->modalChild, nullptr);
}

TEST_F(MarkRecallTest, TheFacingIsStoredInQuarters) {
    const struct {
        int degrees;
        u8 direction;
    } cases[] = {{0, 0}, {89, 0}, {90, 1}, {179, 1}, {180, 2}, {270, 3}, {359, 3}};
    for (const auto& c : cases) {
        host.place.facingDegrees = c.degrees;
        rig.Reopen(dialog);
        dialog.Open(CMarkRecallDialog::kMarkMode);
        dialog.OnCommand(CMarkRecallDialog::kOk);
        EXPECT_EQ(world.player.marks[0].facing, c.direction) << c.degrees;
    }
}

TEST_F(MarkRecallTest, RecallTravelsOnlyToAnOpenWorldsMap) {
    const struct {
        CMarkedPosition slot;
        std::vector<std::string> log;
    } cases[] = {
        {Mark("base", "base_town", "The Vale", "Brookhollow", 3, 5, 2), {"travel base base_town 3,5 2"}},
        {CMarkedPosition{}, {"message Teleport failed."}},
        {Mark("embr", "embr_hall", "Ember Caves", "Hall", 1, 1, 0), {"message Teleport failed."}},
        {Mark("base", "base_gone", "The Vale", "Gone", 1, 1, 0), {"message Teleport failed."}},
        {Mark("-", "", "", "", 0, 0, 0), {}},
    };
    for (const auto& c : cases) {
        world.player.marks = {c.slot};
        host.log.clear();
        rig.owner->commands.clear();
        rig.Reopen(dialog);
        dialog.Open(CMarkRecallDialog::kRecallMode);
        rig.TapOn(dialog.okButton);
        EXPECT_EQ(host.log, c.log) << c.slot.world;
        EXPECT_EQ(rig.owner->commands, std::vector<u32>{CMarkRecallDialog::kCancel}) << "closes in every case";
    }
}

TEST_F(MarkRecallTest, CancelLeavesTheSlotsAlone) {
    dialog.Open(CMarkRecallDialog::kMarkMode);
    const std::vector<std::string> before = Lines();
    rig.TapOn(dialog.cancelButton);
    EXPECT_EQ(Lines(), before);
    EXPECT_TRUE(host.log.empty());
    EXPECT_EQ(rig.owner->commands, std::vector<u32>{CMarkRecallDialog::kCancel});
    EXPECT_EQ(rig.clicks, std::vector<u16>{kConfirm});
}

TEST_F(MarkRecallTest, PagesTurnAndSelectTheirFirstRow) {
    world.player.marks.assign(30, CMarkedPosition{});
    dialog.Open(CMarkRecallDialog::kRecallMode);
    const i32 rows = dialog.slots.visibleRows;
    ASSERT_GT(rows, 1);
    ASSERT_LT(rows, 30);
    EXPECT_TRUE(dialog.pageDown.state & kWidgetPenEnabled);
    rig.TapOn(dialog.pageDown);
    EXPECT_EQ(dialog.slots.topRow, rows);
    EXPECT_EQ(dialog.slots.selection, rows);
    EXPECT_TRUE(dialog.pageUp.state & kWidgetPenEnabled);
    rig.TapOn(dialog.pageUp);
    EXPECT_EQ(dialog.slots.topRow, 0);
    EXPECT_EQ(dialog.slots.selection, 0);
    EXPECT_FALSE(dialog.pageUp.state & kWidgetPenEnabled);
    EXPECT_TRUE(rig.owner->commands.empty());
}

TEST(MarkRecallDialog, Frames) {
    for (const u32 mode : {15u, 10u}) {
        DialogRig rig;
        ASSERT_TRUE(rig.Start(mode));
        PlayerWorld world;
        FakeViewDialogHost host{world};
        world.player.marks = {Mark("base", "base_town", "The Vale", "Brookhollow", 3, 5, 1), CMarkedPosition{},
                              Mark("embr", "embr_hall", "The Ember Caves", "Great hall", 9, 9, 0)};
        CMarkRecallDialog dialog;
        dialog.SetHost(&host);
        rig.Show(dialog);
        dialog.Open(CMarkRecallDialog::kRecallMode);
        dialog.slots.selection = 2;
        EXPECT_TRUE(testing_support::MatchesGolden("screens/mark_recall_mode" + std::to_string(mode),
                                                   rig.Draw(dialog)));
    }
}

}  // namespace

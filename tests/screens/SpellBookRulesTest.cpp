// The spell book's magic-item lines and entry keys, and the mark and recall rules.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include "data/Effect.h"
#include "data/ItemType.h"
#include "screens/panels/SpellBookRules.h"
#include "world/Player.h"

namespace {

TEST(SpellBookRules, EntryKeysOutsideTheItemsGiveNull) {
    CPlayer player;
    CItemType scroll;
    scroll.itemClass = kItemMagic;
    scroll.subclass = 1;
    for (int i = 0; i < 3; ++i) {
        auto* item = new CItemInstance;
        item->type = &scroll;
        player.TakeItem(item);
    }
    EXPECT_EQ(ItemForEntryKey(player, "2"), player.items[2].get());
    for (const char* key : {"3", "-1", "", "x", "1x", "99999999999999999999"})
        EXPECT_EQ(ItemForEntryKey(player, key), nullptr) << key;
    EXPECT_EQ(ItemForEntryKey(player, nullptr), nullptr);
}

TEST(SpellBookRules, WandAndScrollLines) {
    CItemType wandType;
    wandType.itemClass = kItemMagic;
    wandType.subclass = 4;
    CItemInstance wand;
    wand.type = &wandType;
    CStr line;
    FormatWandLine(wand, "Fire", line);  // no effect list: no charges
    EXPECT_STREQ(line.GetText(), "Fire");
    wandType.effects = new CEffectList;
    auto* effect = new CEffect;
    effect->amount = 5;
    wandType.effects->Add(effect);
    wand.count = 3;
    FormatWandLine(wand, "Fire", line);
    EXPECT_STREQ(line.GetText(), "Fire (3/5 ch)");
    wand.count = 5;
    FormatWandLine(wand, "Fire", line);
    EXPECT_STREQ(line.GetText(), "Fire (5 ch)");
    wandType.effects->Clear();
    FormatWandLine(wand, "Fire", line);
    EXPECT_STREQ(line.GetText(), "Fire");
    FormatScrollLine("Light", 3, line);
    EXPECT_STREQ(line.GetText(), "Light (3)");
    FormatScrollLine("Light", 1, line);
    EXPECT_STREQ(line.GetText(), "Light");
}

TEST(SpellBookRules, MagicItemPageGroupsScrollsAndListsUsableWands) {
    CItemType scroll, hidden, wand, sword;
    scroll.name = "Light";
    scroll.itemClass = kItemMagic;
    scroll.subclass = 1;
    hidden.name = "Secret";
    hidden.itemClass = kItemMagic;
    hidden.subclass = 1;
    hidden.flags = 0x10;
    wand.name = "Frost";
    wand.itemClass = kItemMagic;
    wand.subclass = 4;
    wand.effects = new CEffectList;
    auto* effect = new CEffect;
    effect->amount = 5;
    wand.effects->Add(effect);
    sword.itemClass = kItemWeapon;
    CPlayer player;
    auto give = [&](const CItemType& type, u16 count) {
        auto* item = new CItemInstance;
        item->type = &type;
        item->count = count;
        player.TakeItem(item);
    };
    give(wand, 3);
    give(scroll, 0);
    give(sword, 50);
    give(scroll, 0);
    give(hidden, 0);
    give(scroll, 0);
    give(wand, 0);  // no charges left
    const std::vector<CMagicItemLine> lines = BuildMagicItemLines(player, nullptr);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].index, 1);
    EXPECT_STREQ(lines[0].text.GetText(), "\xB5Light (3)");
    EXPECT_EQ(lines[1].index, 0);
    EXPECT_STREQ(lines[1].text.GetText(),
                 "\xB6"
                 "Frost (3/5 ch)");
    EXPECT_TRUE(BuildMagicItemLines(CPlayer(), nullptr).empty());
}

TEST(SpellBookRules, PageMessages) {
    struct Case {
        int page, race;
        bool empty;
        const char* text;
    };
    const Case cases[] = {
        {1, 1, false, "You can't have any heal spells, since you're undead."},
        {5, 2, true, "You can't have any undead spells, since you aren't undead."},
        {5, 1, true, "You don't know any Fire."},
        {7, 2, true, "You don't have any magical items."},
        {2, 2, false, ""},
        {9, 2, true, "You don't know any ?."},
    };
    for (const Case& c : cases) {
        CStr text;
        FormatSpellPageMessage(c.page, c.race, c.empty, "Fire", text);
        EXPECT_STREQ(text.GetText(), c.text) << c.page << " " << c.race;
    }
}

TEST(MarkRecall, SlotLinesAndDirections) {
    CMarkedPosition empty, used;
    used.world = "VANT";
    used.map = "m1";
    used.text3 = "Vantrel";
    used.text4 = "Harbour";
    CStr line;
    FormatMarkSlotLine(0, empty, line);
    EXPECT_STREQ(line.GetText(), "1. -");
    FormatMarkSlotLine(1, used, line);
    EXPECT_STREQ(line.GetText(), "2. Vantrel, Harbour");
    EXPECT_EQ(FacingToDirection(0), 0);
    EXPECT_EQ(FacingToDirection(89), 0);
    EXPECT_EQ(FacingToDirection(90), 1);
    EXPECT_EQ(FacingToDirection(270), 3);
    EXPECT_EQ(FacingToDirection(359), 3);
}

TEST(MarkRecall, MarkingOverAUsedSlotReplacesIt) {
    CPlayer player;
    player.marks.resize(3);
    CMarkPlace place;
    place.worldId = "VANT";
    place.worldName = "Vantrel";
    place.mapId = "m1";
    place.mapName = "Harbour";
    place.x = 12;
    place.y = 7;
    place.facingDegrees = 185;
    EXPECT_TRUE(MarkPosition(player, 1, place));
    place.mapId = "m2";
    place.mapName = "Keep";
    EXPECT_TRUE(MarkPosition(player, 1, place));
    EXPECT_FALSE(MarkPosition(player, 3, place));
    const CMarkedPosition& slot = player.marks[1];
    EXPECT_EQ(slot.map, "m2");
    EXPECT_EQ(slot.x, 12);
    EXPECT_EQ(slot.y, 7);
    EXPECT_EQ(slot.facing, 2);
    CStr line;
    FormatMarkSlotLine(1, slot, line);
    EXPECT_STREQ(line.GetText(), "2. Vantrel, Keep");
    FormatMarkSlotLine(2, player.marks[2], line);
    EXPECT_STREQ(line.GetText(), "3. -");
}

class FakeWorlds : public IRecallWorlds {
public:
    bool HasWorld(const char* id) const override { return worlds.count(std::string(id).substr(0, 4)) != 0; }
    bool HasMap(const char* world, const char* map) const override {
        return HasWorld(world) && std::string(map) == "m1";
    }
    std::set<std::string> worlds{"VANT"};
};

TEST(MarkRecall, RecallTravelsOrFails) {
    FakeWorlds worlds;
    CMarkedPosition slot;
    EXPECT_STREQ(RecallSlot(slot, worlds).message.GetText(), "Teleport failed.");
    EXPECT_FALSE(RecallSlot(slot, worlds).travel);
    slot.world = "VANTREL";
    slot.map = "m1";
    EXPECT_TRUE(RecallSlot(slot, worlds).travel);
    slot.map = "m9";
    EXPECT_STREQ(RecallSlot(slot, worlds).message.GetText(), "Teleport failed.");
    slot.world = "GONE";
    EXPECT_STREQ(RecallSlot(slot, worlds).message.GetText(), "Teleport failed.");
}

TEST(MarkRecall, ListWithoutHeightStillHasOneRowPerPage) {
    EXPECT_EQ(FirstVisibleRow(7, 0, 12), 7);  // no height: one row per page
    EXPECT_EQ(FirstVisibleRow(7, 48, 12), 4);
    EXPECT_EQ(FirstVisibleRow(7, 48, 0), 0);  // no row height: the whole height is one page
    EXPECT_EQ(FirstVisibleRow(-1, 48, 12), 0);
}

}  // namespace

// The item slot: its size by layout mode, the count in the alternative number glyphs, the empty-slot
// picture and the mark.
#include <gtest/gtest.h>

#include <memory>

#include "tests/ui/WidgetRig.h"
#include "ui/ItemSlot.h"
#include "ui/WidgetHelpers.h"

using widgetrig::MakePicture;
using widgetrig::Rig;

namespace {

struct SlotRig : Rig {
    explicit SlotRig(u32 mode) : Rig(mode, 80, 64) {
        InstallInterfacePictures();
        SetInterfacePicture(CItemSlot::kEmptySlotPicture, MakePicture(40, 40, 0x4208));
        SetInterfacePicture(CItemSlot::kMarkPicture, MakePicture(12, 12, 0xF800));
        fonts.Select(1, 0xFFFFFF, 0);
        slot.Attach(screen);
        slot.SetRect(4, 4, 70, 56);
    }
    CItemSlot slot;
    std::unique_ptr<CRecordHolder> picture = MakePicture(
        50, 50, [](int x, int y) { return static_cast<u16>(((x / 10 + y / 10) % 2) ? 0x07E0 : 0x001F); });
};

TEST(ItemSlot, SizeByLayoutModeAndPictureSize) {
    const struct {
        u32 mode;
        i32 size;
    } cases[] = {{2, 40}, {5, 40}, {16, 40}, {9, 50}, {15, 50}, {3, 50}, {1, 50}};
    for (const auto& c : cases) {
        SlotRig rig(c.mode);
        rig.slot.SetItem(rig.picture.get(), nullptr, 3);
        EXPECT_EQ(rig.slot.slotWidth, c.size) << c.mode;
        EXPECT_EQ(rig.slot.slotHeight, c.size) << c.mode;
        EXPECT_EQ(rig.slot.pictureWidth, 50);
        EXPECT_EQ(rig.slot.count, 3u);
        rig.slot.marked = 1;
        rig.slot.SetItem(nullptr, nullptr, 0);
        EXPECT_EQ(rig.slot.pictureWidth, 0);
        EXPECT_EQ(rig.slot.marked, 0u) << "a new item clears the mark";
    }
}

// A count of 1,000 shows its four digits; a count of 1 shows none; an empty slot shows its picture;
// a marked slot its mark.
TEST(ItemSlot, DrawnSlots) {
    const struct {
        const char* golden;
        u32 mode;
        bool item;
        u32 count;
        u32 marked;
    } cases[] = {{"ui/item_slot_large_count", 15, true, 1000, 0},
                 {"ui/item_slot_large_single", 15, true, 1, 1},
                 {"ui/item_slot_small_count", 2, true, 12, 0},
                 {"ui/item_slot_small_empty", 2, false, 0, 1},
                 {"ui/item_slot_other_count", 3, true, 7, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.golden);
        SlotRig rig(c.mode);
        rig.Clear(0x1111);
        rig.slot.SetItem(c.item ? rig.picture.get() : nullptr, nullptr, c.count);
        rig.slot.background = 0x00302010;
        rig.slot.marked = c.marked;
        rig.slot.Draw();
        EXPECT_TRUE(testing_support::MatchesGolden(c.golden, rig.Capture()));
    }
}

}  // namespace

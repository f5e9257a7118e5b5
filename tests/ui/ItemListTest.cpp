// The item list: stacking, filters, sorting, prices, the selection with its pages, keys and taps, and
// the drawn grid.
#include <gtest/gtest.h>

#include <memory>

#include "data/ItemType.h"
#include "tests/ui/WidgetRig.h"
#include "ui/ItemList.h"

using widgetrig::MakePicture;
using widgetrig::Rig;

namespace {

class FakeQueries : public IItemListQueries {
public:
    bool IsEquipped(const CItemInstance* item) const override {
        for (const CItemInstance* e : equipped)
            if (e == item) return true;
        return false;
    }
    int GetAlignment() const override { return alignment; }
    u32 AdjustPrice(u32 price, bool buying) const override { return buying ? price + 1 : price - 1; }
    u32 GetValue(const CItemInstance& item) const override { return item.type->value; }
    std::vector<const CItemInstance*> equipped;
    int alignment = 0;
};

struct Stock {
    CItemType& Type(const char* id, const char* name, int itemClass, int subclass, u32 value = 100) {
        auto t = std::make_unique<CItemType>();
        t->SetName(id);
        t->name = name;
        t->itemClass = static_cast<u8>(itemClass);
        t->subclass = static_cast<u8>(subclass);
        t->value = value;
        types.push_back(std::move(t));
        return *types.back();
    }
    const CItemInstance* Item(const CItemType& type, u16 count = 100) {
        auto i = std::make_unique<CItemInstance>();
        i->type = &type;
        i->count = count;
        items.push_back(std::move(i));
        list.push_back(items.back().get());
        return list.back();
    }
    std::vector<std::unique_ptr<CItemType>> types;
    std::vector<std::unique_ptr<CItemInstance>> items;
    std::vector<const CItemInstance*> list;
};

TEST(ItemList, StacksFiltersAndSorts) {
    Stock s;
    FakeQueries q;
    CItemType& sword = s.Type("base_sword", "Sword", 1, 2);
    CItemType& potion = s.Type("base_potion", "Healing", 8, 1);
    CItemType& herb = s.Type("base_herb", "Herb", 7, 1);
    CItemType& mail = s.Type("base_mail", "Mail", 2, 3);
    const CItemInstance* first = s.Item(sword);
    s.Item(sword);
    const CItemInstance* worn = s.Item(sword);
    s.Item(sword, 50);  // another condition
    s.Item(herb);
    s.Item(potion);
    s.Item(potion);
    s.Item(mail);
    CItemInstance* enchanted = const_cast<CItemInstance*>(s.Item(mail));
    enchanted->effects = new CEffectList;
    enchanted->effects->Add(new CEffect);
    q.equipped = {worn};

    CItemList list;
    list.SetEntryLayout(nullptr, 50, 64, 3, 2, 10, 0, nullptr, 0);
    list.Fill(s.list, 0, -1, q);
    // Two swords stacked, the worn one, the worn-down one, two mails, the potions, the herb.
    ASSERT_EQ(list.Count(), 7);
    // Weapons, armour, then potions before ingredients.
    EXPECT_EQ(list.EntryAt(0)->type, &sword);
    EXPECT_EQ(list.EntryAt(0)->count, 2);
    EXPECT_EQ(list.EntryAt(0)->item, first);
    int wornEntries = 0;
    for (int i = 0; i < list.Count(); ++i)
        if (list.EntryAt(i)->flags & kEntryWorn) {
            ++wornEntries;
            EXPECT_EQ(list.EntryAt(i)->count, 1) << "a worn item has an entry of its own";
        }
    EXPECT_EQ(wornEntries, 1);
    EXPECT_EQ(list.EntryAt(3)->type, &mail);
    EXPECT_EQ(list.EntryAt(4)->type, &mail);
    EXPECT_EQ(list.EntryAt(5)->type, &potion);
    EXPECT_EQ(list.EntryAt(5)->count, 2);
    EXPECT_EQ(list.EntryAt(6)->type, &herb);
    int magic = 0;
    for (int i = 0; i < list.Count(); ++i) magic += (list.EntryAt(i)->flags & kEntryMagic) ? 1 : 0;
    EXPECT_EQ(magic, 1) << "two mails of different effects make two entries";
    EXPECT_NE(list.EntryAt(0)->flags & kEntryWearable, 0);
    EXPECT_EQ(list.EntryAt(5)->flags & kEntryWearable, 0);

    list.Fill(s.list, 6, -1, q);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.EntryAt(0)->type, &potion);

    // A shop list: prices at half value adjusted for selling, no wear marks.
    CItemList shop;
    shop.SetEntryLayout(nullptr, 50, 64, 3, 2, 15, 1, nullptr, 0);
    shop.Fill(s.list, 6, -1, q);
    EXPECT_EQ(shop.EntryAt(0)->value, 100u / 2 - 1);
    shop.buying = 1;
    shop.Fill(s.list, 6, -1, q);
    EXPECT_EQ(shop.EntryAt(0)->value, 100u * 15 / 10 + 1);
    EXPECT_EQ(shop.EntryAt(0)->flags & kEntryWearable, 0);

    // Unusable by alignment.
    mail.alignment = 1;
    q.alignment = -5;
    q.equipped.clear();
    list.Fill(s.list, 2, -1, q);
    EXPECT_NE(list.EntryAt(0)->flags & kEntryUnusable, 0);
}

TEST(ItemList, SelectionPagesKeysAndTaps) {
    Rig rig(15, 200, 160);
    Stock s;
    FakeQueries q;
    for (int i = 0; i < 8; ++i) {
        static const char* names[] = {"A1", "A2", "A3", "A4", "A5", "A6", "A7", "A8"};
        s.Item(s.Type(names[i], names[i], 1, 1));
    }
    s.Item(s.Type("P", "Potion", 8, 1));
    CItemList list;
    list.Attach(rig.screen);
    list.SetRect(0, 0, 156, 130);
    list.id = 42;
    list.SetEntryLayout(nullptr, 50, 64, 3, 2, 10, 0, nullptr, 0);
    EXPECT_EQ(list.markSize, 20);

    list.Fill({}, 0, -1, q);
    list.Select(3);
    EXPECT_EQ(list.selected, -1);
    EXPECT_EQ(list.selectedEntry, nullptr);
    EXPECT_EQ(list.OnKey(1006), 0u) << "movement on an empty list";
    EXPECT_EQ(list.OnKey(3006), 42u) << "confirm answers even then";

    list.Fill(s.list, 0, -1, q);
    ASSERT_EQ(list.Count(), 9);
    list.Select(20);
    EXPECT_EQ(list.selected, 8);
    EXPECT_EQ(list.first, 6);
    list.PageDown();
    EXPECT_EQ(list.first, 6) << "no page after the last";
    list.Select(0);
    EXPECT_EQ(list.first, 0);
    list.PageUp();
    EXPECT_EQ(list.first, 0);
    list.Select(4);
    list.PageDown();
    EXPECT_EQ(list.first, 6);
    EXPECT_EQ(list.selected, 6) << "page down selects the first cell of the new page";
    list.Select(7);
    list.PageUp();
    EXPECT_EQ(list.selected, 1) << "page up keeps the place within the page";

    const struct {
        u32 key;
        int from, to;
    } keys[] = {{1000, 4, 1}, {1000, 1, 0}, {1002, 1, 4}, {1002, 7, 8},
                {1004, 4, 3}, {3004, 0, 0}, {1006, 3, 4}, {3005, 8, 8}};
    for (const auto& k : keys) {
        list.Select(k.from);
        EXPECT_EQ(list.OnKey(k.key), 42u);
        EXPECT_EQ(list.selected, k.to) << k.key << " from " << k.from;
    }
    EXPECT_EQ(list.OnKey(77), 0u);
    list.Select(0);
    list.OnKey(3006);
    EXPECT_EQ(list.equipSignal, 1u);
    list.Select(8);
    list.OnKey(3006);
    EXPECT_EQ(list.useSignal, 1u);
    EXPECT_EQ(list.equipSignal, 0u);

    // Taps: a cell selects; the wear mark equips; empty cells and the gap do nothing.
    list.Select(0);
    EXPECT_EQ(list.OnPen(60, 30, 1, 0), 42u);
    EXPECT_EQ(list.selected, 1);
    EXPECT_EQ(list.equipSignal, 0u);
    EXPECT_EQ(list.OnPen(105, 70, 1, 0), 42u);
    EXPECT_EQ(list.selected, 5);
    EXPECT_EQ(list.equipSignal, 1u);
    EXPECT_EQ(list.OnPen(60, 30, 0, 0), 0u) << "only a pen-down counts";
    list.PageDown();
    EXPECT_EQ(list.OnPen(110, 80, 1, 0), 0u) << "no entry under the pen";
}

TEST(ItemList, DrawnGrid) {
    Rig rig(15, 200, 150);
    rig.InstallInterfacePictures();
    for (u16 mark : {CItemList::kWornMark, CItemList::kWearableMark, CItemList::kUnusableMark})
        rig.SetInterfacePicture(mark, MakePicture(10, 10, static_cast<u16>(0xF800 >> (mark - 3385) * 5)));
    auto picture = MakePicture(
        40, 40, [](int x, int y) { return static_cast<u16>(((x + y) / 8) % 2 ? 0x07E0 : 0x001F); });
    std::vector<std::unique_ptr<CRecordHolder>> frame;
    std::vector<CRecordHolder*> pieces;
    for (int i = 0; i < 9; ++i) {
        frame.push_back(MakePicture(4, 4, 0xFFE0));
        pieces.push_back(frame.back().get());
    }

    Stock s;
    FakeQueries q;
    CItemType& sword = s.Type("base_sword", "Sword", 1, 2);
    CItemType& potion = s.Type("base_potion", "Healing", 8, 1);
    s.Item(sword);
    const CItemInstance* worn = s.Item(sword);
    for (int i = 0; i < 12; ++i) s.Item(potion);
    q.equipped = {worn};

    // Pictures are found through the game data; the rig holds none, so the entries take ours.
    CItemList list;
    list.Attach(rig.screen);
    list.SetRect(10, 10, 170, 134);
    list.SetEntryLayout(pieces.data(), 50, 60, 3, 2, 10, 0, pieces.data(), 0x0F);
    list.Fill(s.list, 0, -1, q);
    ASSERT_EQ(list.Count(), 3);
    for (auto& e : list.entries) e->picture = picture.get();
    list.Select(2);
    rig.Clear(0x2104);
    list.Draw();
    EXPECT_TRUE(testing_support::MatchesGolden("ui/item_list_grid", rig.Capture()));
}

}  // namespace

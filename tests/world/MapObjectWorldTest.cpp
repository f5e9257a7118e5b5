// The map objects of the built world: the cellar's gallery holds one object of every type code, each
// placed where the player can reach it; through the cell window they block, draw and answer events.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "data/ItemBag.h"
#include "tests/data/BuiltWorld.h"
#include "tests/world/MapObjectFixture.h"
#include "view3d/ViewCaches.h"
#include "world/CellWindow.h"
#include "world/MapDoors.h"
#include "world/MapInteractions.h"
#include "world/MapScenery.h"

using namespace mapobject;

namespace {

class BuiltObjects : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(built.Loaded());
        table.Build(built.lists.mapObjects, &m.host);
        table.ResolvePictureIds(built.textures, nullptr);
        cellar = built.base->FindSectionByName("base_cellar");
        ASSERT_NE(cellar, nullptr);
        window.SetObjects(&table);
        window.SetPlayer(17, 17, 0);
        window.Fill(built.base.get(), cellar, built.refs, 100);
        // The world's own item catalogue fills the bags and answers the objects.
        m.world.rules.items = &built.lists.items;
        cellar->FillBags(built.lists.items, m.world.random);
    }
    CMapObject* Object(int typeCode) {
        char id[24];
        std::snprintf(id, sizeof id, "base_obj%02d", typeCode);
        return table.FindByName(id);
    }
    CPlacement* Placement(int typeCode) {
        if (typeCode == 25) return cellar->FindPlacement(7);
        char name[24];
        std::snprintf(name, sizeof name, "base_gallery%02d", typeCode);
        return const_cast<CPlacement*>(cellar->FindPlacementByName(name));
    }
    // The window cell of a placement and the cell itself.
    CMapCell& CellOf(const CPlacement& p, i32& x, i32& y) {
        i32 side = -1, layer = 1;
        EXPECT_TRUE(window.LocateMapObject(cellar, p, x, y, side, layer)) << p.name;
        return *window.Cell(x, y);
    }
    i32 Act(int typeCode, i32 event) {
        CPlacement* p = Placement(typeCode);
        i32 x = 0, y = 0;
        CMapCell& cell = CellOf(*p, x, y);
        const u16 index = window.ResolveMapObjectTarget(cellar, *p);
        EXPECT_EQ(table.At(index), typeCode == 25 ? table.FindByName("base_stairsup") : Object(typeCode));
        bool redraw = false;
        return table.At(index)->HandleEvent(event, cellar, p, &cell, x, y, redraw);
    }

    fixtures::BuiltWorld built;
    MapObjectWorld m;
    CMapObjectTable table;
    CCellWindow window;
    CMapSection* cellar = nullptr;
};

}  // namespace

TEST_F(BuiltObjects, EveryTypeCodeStandsInTheGalleryAndTakesItsEvents) {
    std::set<int> seen;
    for (u32 i = 0; i < table.Count(); ++i) seen.insert(table.At(i)->typeCode);
    for (int t = 1; t <= 43; ++t) {
        SCOPED_TRACE(t);
        EXPECT_TRUE(seen.count(t));
        CPlacement* p = Placement(t);
        ASSERT_NE(p, nullptr);
        i32 x = 0, y = 0;
        CellOf(*p, x, y);
        EXPECT_TRUE(x >= 1 && x <= 33 && y >= 0 && y <= 30) << "inside the cellar";
        // Every event its type answers (the extra column of its row), none of them may fail.
        const u16 mask = CMapObjectTable::kTypeRows[t].extra;
        for (i32 event : {kEventStep, kEventLoad, kEventHit, kEventSpell, kEventUse})
            if (mask & event) Act(t, event);
        const CMapObject* o = t == 25 ? table.FindByName("base_stairsup") : Object(t);
        ASSERT_NE(o, nullptr);
        EXPECT_EQ(o->pictureIds.size(), o->FrameNameCount());
        if (t != 25) {
            EXPECT_NE(o->PictureId(0), 0) << "its pictures are in the world";
        }
    }
}

TEST_F(BuiltObjects, TheLockedDoorOpensWithTheKeyFromTheChest) {
    CPlacement* door = Placement(22);
    ASSERT_NE(door, nullptr);
    EXPECT_EQ(LockLevel(door->level), 3);
    Act(22, kEventUse);
    ASSERT_EQ(m.host.posted.size(), 1u);
    EXPECT_EQ(m.host.posted[0], "The door is locked,\rand you don't have the right key nor any lockpicks.");
    EXPECT_FALSE(door->flags & kOpening);

    // The chest next to it opens its bag, which holds the key.
    Act(14, kEventUse);
    ASSERT_EQ(m.host.openedBags.size(), 1u);
    CItemBag* chest = cellar->bags.FindBagById(m.host.openedBags[0]);
    ASSERT_NE(chest, nullptr);
    CItemInstance* key = nullptr;
    for (i32 i = 0; i < chest->GetItemCount(); ++i)
        if (std::string(chest->GetItem(i)->type->GetName()) == "base_key_gallery") key = chest->GetItem(i);
    ASSERT_NE(key, nullptr);
    chest->items.Remove(key);
    m.world.player.TakeItem(key);

    Act(22, kEventUse);
    EXPECT_TRUE(door->flags & kOpening);
    EXPECT_EQ(m.world.player.CountItems("base_key_gallery"), 0);
    i32 x = 0, y = 0;
    CellOf(*door, x, y);
    EXPECT_FALSE(window.IsCellCentreBlocking(*window.Cell(x, y), cellar)) << "an opening door lets one through";
}

TEST_F(BuiltObjects, TheTrappedDoorAsksAKeenPlayerAndTheLeverScriptIsNamed) {
    m.world.player.skills[kSkillDisarm] = 30;
    Act(20, kEventUse);
    ASSERT_EQ(m.host.prompts.size(), 1u);
    EXPECT_EQ(m.host.prompts[0].text, "The door seems to be trapped.");
    EXPECT_EQ(CMapInteractions::TrapSpellCode(m.host.prompts[0].object), 1) << "a fireball";
    const CPlacement* lever = Placement(16);
    EXPECT_STREQ(PlacementScript(*lever), "bres_lever_gate");
    EXPECT_EQ(PlacementScript(*Placement(22)), nullptr);
    EXPECT_NE(cellar->FindPlacementByName("harbour_gate"), nullptr);
    EXPECT_STREQ(Placement(31)->third, "bres_plate_cellar");
}

TEST_F(BuiltObjects, StairsTrapsAndTheFlower) {
    Act(25, kEventStep);
    ASSERT_EQ(m.host.travel.size(), 1u);
    EXPECT_EQ(m.host.travel[0].how, "keyword");
    EXPECT_EQ(m.host.travel[0].destination, "base_town_arrive");
    CMapSection* town = built.base->FindSectionAt(2, 2);
    EXPECT_NE(town->FindPlacementByName("base_town_arrive"), nullptr);
    EXPECT_STREQ(town->FindPlacementByName("base_townstairs")->text, "base_cellar_arrive");

    m.host.playerX = 0;
    Act(42, kEventStep);
    EXPECT_EQ(m.host.sounds.back(), "bsnd_trap");

    Act(13, kEventUse);
    ASSERT_FALSE(m.host.shown.empty());
    EXPECT_EQ(m.host.shown.back().rfind("You have found ", 0), 0u) << "a herb of the flower's kind";
    EXPECT_EQ(Placement(13)->flags & kClosed, kClosed);
}

TEST_F(BuiltObjects, TheWindowAsksTheTableAboutItsCells) {
    // The view's cell types are the objects' type codes with their pictures.
    const u16 wall = built.refs.Object(2);
    const CViewCellType* type = window.GetCellType(wall);
    ASSERT_NE(type, nullptr);
    EXPECT_EQ(type->kind, 5);
    EXPECT_EQ(window.GetCellType(kNoCellIndex), nullptr);
    // The closed gallery door draws as a door block.
    i32 x = 0, y = 0;
    CellOf(*Placement(20), x, y);
    CBlockCacheEntry entry;
    u16 light = 100;
    EXPECT_TRUE(window.DescribeCentre(x, y, false, entry, light));
    EXPECT_EQ(entry.kind, 3);
    EXPECT_TRUE(window.IsCellCentreBlocking(*window.Cell(x, y), cellar));
    // A side object of the north wall.
    CWallCacheEntry wallEntry;
    CellOf(*Placement(16), x, y);
    EXPECT_TRUE(window.DescribeSide(x, y, 2, false, wallEntry)) << "the lever names its placement";
    // Sounds of what the window shows: the doors' creak among them.
    std::set<std::string> sounds;
    table.MarkSoundsInUse(window, true, [](void* user, const char* name) {
        static_cast<std::set<std::string>*>(user)->insert(name);
    }, &sounds);
    EXPECT_TRUE(sounds.count("bsnd_doorwood"));
    EXPECT_TRUE(table.At(wall)->picturesNeeded);
}

TEST_F(BuiltObjects, TheCreatureOfAPlacementIsFoundInTheWindow) {
    CPlacement p;
    p.id = 40;
    CMonster rat = cellar->monsters[0];
    rat.objectId = 40;
    rat.x = 20;
    rat.y = 25;
    cellar->monsters.push_back(rat);
    i32 x = -1, y = -1;
    EXPECT_TRUE(window.FindNamedObjectCell(p, x, y));
    EXPECT_EQ(x, 20);
    EXPECT_EQ(y, 25);
    p.id = 41;
    EXPECT_FALSE(window.FindNamedObjectCell(p, x, y));
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);

    CMapSection* section = nullptr;
    CMonster* monster = nullptr;
    EXPECT_TRUE(built.base->FindMonsterByName("base_gallery20", section, monster));
    EXPECT_EQ(section, cellar);
    EXPECT_EQ(monster, nullptr);
    EXPECT_EQ(built.base->FindMapObjectByName("base_gallery20", section), Placement(20));
    EXPECT_EQ(section, cellar);
    EXPECT_EQ(built.base->FindMapObjectByName("no such thing", section), nullptr);
    EXPECT_EQ(section, nullptr);
}

TEST_F(BuiltObjects, ThePassesOfTheWindowReachTheObjects) {
    // A door opened by the lock's key animates through the table, its phase kept in the cell.
    CPlacement* door = Placement(20);
    i32 x = 0, y = 0;
    CMapCell& cell = CellOf(*door, x, y);
    const u16 index = window.ResolveMapObjectTarget(cellar, *door);
    static_cast<CDoor*>(table.At(index))->Open(*door, x, y);
    CCellView view;
    const CCellSite site{index, door, &cell, x, y, -1};
    for (i32 i = 0; i < 13; ++i) table.AnimateTick(site, view);
    EXPECT_EQ(cell.state, 63);
    table.AnimateTick(site, view);
    EXPECT_EQ(door->flags & (kOpening | kClosed), 0);
    EXPECT_EQ(table.ViewFlags(index), table.At(index)->viewFlags);
    // Sounds: the ambient source plays by day and by night from its two sounds.
    EXPECT_TRUE(table.HasSound(index));
    EXPECT_EQ(table.GetSourceSound(index, true), std::string("bsnd_doorwood"));
    EXPECT_EQ(table.GetSourceSound(window.ResolveMapObjectTarget(cellar, *Placement(43)), false), nullptr);
    // The fire's flame lights its cell underground.
    CPlacement* fire = Placement(33);
    CMapCell& hearth = CellOf(*fire, x, y);
    view.light = 100;
    table.UpdateCentreLight({window.ResolveMapObjectTarget(cellar, *fire), fire, &hearth, x, y, -1}, view, false);
    EXPECT_GE(view.light, 100 + 64 + 16);
    EXPECT_EQ(table.GetAmbientSound({window.ResolveMapObjectTarget(cellar, *fire), fire, &hearth, x, y, -1}),
              std::string("bsnd_fire"));
}

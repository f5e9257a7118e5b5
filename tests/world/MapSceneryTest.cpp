#include <gtest/gtest.h>

#include "data/TextureSet.h"
#include "tests/world/MapObjectFixture.h"
#include "view3d/ViewCaches.h"
#include "world/MapDoors.h"
#include "world/MapScenery.h"

using namespace mapobject;

TEST(Passages, TextSplitsAtTheFirstHash) {
    struct {
        const char* text;
        const char* destination;
        const char* question;
    } cases[] = {
        {"base_cellar_entry", "base_cellar_entry", ""},
        {"base_cellar_entry#Go down?", "base_cellar_entry", "Go down?"},
        {"base_x#Really? #2", "base_x", "Really? #2"},
        {"#Nowhere?", "", "Nowhere?"},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        const CPassageText t = SplitPassageText(c.text);
        EXPECT_EQ(t.destination, c.destination) << c.text;
        EXPECT_EQ(t.question, c.question) << c.text;
    }
    EXPECT_FALSE(SplitPassageText(nullptr).Moves());
}

TEST(Passages, EachKindMovesThePlayerItsWay) {
    struct Case {
        const char* name;
        u8 code;
        i32 event;
        u16 viewFlags;
        u16 level;
        u8 flags;
        const char* text;
        const char* how;  // null: nothing happens
        i32 kind;
        bool stepBack;
    } cases[] = {
        {"doorway asks", 7, kEventUse, 0x4000, 6, kVisible, "base_town#Leave?", "prompt", 6, false},
        {"doorway at once", 8, kEventUse, 0x4000, 7, kVisible, "base_town", "change", 7, false},
        {"doorway without 0x4000", 7, kEventUse, 0, 6, kVisible, "base_town", nullptr, 0, false},
        {"doorway to nowhere", 7, kEventUse, 0x4000, 6, kVisible, "#Leave?", nullptr, 0, false},
        {"wall opening", 40, kEventUse, 0x4000, 1, kVisible, "base_town", "change", 1, false},
        {"wall opening without 0x4000", 40, kEventUse, 0, 1, kVisible, "base_town", nullptr, 0, false},
        {"wall passage", 9, kEventUse, 0x4000, 5, kVisible, "base_up#Climb?", "prompt", 5, false},
        {"ladder down", 15, kEventStep, 0x4000, 0, kVisible, "base_down", "change", 4, false},
        {"hole", 15, kEventStep, 0x4000, 0, kVisible | kClosed, "base_down", "change", 2, false},
        {"ladder asks", 15, kEventStep, 0x4000, 0, kVisible, "base_down#Climb down?", "prompt", 4, true},
        {"fall asks", 15, kEventStep, 0x4000, 0, kVisible | kClosed, "base_down#Jump?", "prompt", 3, true},
        {"ladder used", 15, kEventUse, 0x4000, 0, kVisible, "base_down", nullptr, 0, false},
        {"stairs", 25, kEventStep, 0, 0, kVisible, "base_cellar", "keyword", 1, false},
        {"stairs ask", 25, kEventStep, 0, 0, kVisible, "base_cellar#Down?", "prompt", 1, true},
        {"stairs off", 25, kEventStep, 0, 0, kVisible | kClosed, "base_cellar", nullptr, 0, false},
        {"fire up", 33, kEventUse, 0, 0, kVisible, "base_top", "change", 7, false},
        {"fire down asks", 33, kEventUse, 0, 1, kVisible, "base_pit#Jump in?", "prompt", 6, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MapObjectWorld m;
        CMapObject* o = m.Add(c.code, "base_way");
        o->viewFlags = c.viewFlags;
        CPlacement& p = m.Place(1, c.text, c.flags);
        p.level = c.level;
        CMapCell cell;
        m.Act(o, c.event, p, cell);
        if (!c.how) {
            EXPECT_TRUE(m.host.travel.empty());
            continue;
        }
        ASSERT_EQ(m.host.travel.size(), 1u);
        const auto& t = m.host.travel[0];
        EXPECT_EQ(t.how, c.how);
        EXPECT_EQ(t.destination, SplitPassageText(c.text).destination);
        EXPECT_EQ(t.question, SplitPassageText(c.text).question);
        EXPECT_EQ(t.kind, c.kind);
        EXPECT_EQ(t.stepBack, c.stepBack);
    }
}

TEST(Passages, AReadableWallShowsItsText) {
    MapObjectWorld m;
    CMapObject* wall = m.Add(9, "base_writing");
    wall->viewFlags = 0;
    CPlacement& p = m.Place(1, "Beware the cellar.");
    CMapCell cell;
    m.Act(wall, kEventUse, p, cell);
    ASSERT_EQ(m.host.shown.size(), 1u);
    EXPECT_EQ(m.host.shown[0], "Beware the cellar.");
    EXPECT_TRUE(m.host.travel.empty());
}

TEST(Switches, UseTogglesWithTheirSounds) {
    struct {
        u8 code;
        const char* on;
        const char* off;
    } cases[] = {{16, "bsnd_switchlargeon", "bsnd_switchlargeoff"},
                 {28, "bsnd_switchsecreton", "bsnd_switchsecretoff"}};
    for (const auto& c : cases) {
        MapObjectWorld m;
        CMapObject* lever = m.Add(c.code, "base_lever");
        CPlacement& p = m.Place(1, nullptr, kVisible | kClosed);
        CMapCell cell;
        EXPECT_TRUE(m.Act(lever, kEventUse, p, cell));
        EXPECT_EQ(p.flags & kClosed, 0);
        EXPECT_EQ(m.host.sounds.back(), c.on);
        EXPECT_EQ(m.host.volumes.back(), 10);
        EXPECT_TRUE(m.Act(lever, kEventUse, p, cell));
        EXPECT_EQ(p.flags & kClosed, kClosed);
        EXPECT_EQ(m.host.sounds.back(), c.off);
        u16 word = 0x100;
        lever->MergeCellViewFlags(word);
        EXPECT_EQ(word, 0x102);
    }
}

TEST(Switches, AFloorSwitchFollowsTheLoadOfItsCell) {
    MapObjectWorld m;
    CMapObject* plate = m.Add(31, "base_plate");
    CPlacement& p = m.Place(1, nullptr, kVisible | kClosed);
    CMapCell cell;
    EXPECT_TRUE(m.Act(plate, kEventStep, p, cell));
    EXPECT_EQ(p.flags & kClosed, 0);
    EXPECT_EQ(m.host.sounds.back(), "bsnd_switchflooron");
    const size_t sounds = m.host.sounds.size();
    m.Act(plate, kEventStep, p, cell);
    EXPECT_EQ(m.host.sounds.size(), sounds) << "already on";

    // Weights in hundredths: 1000 holds it on, 999 lets it go.
    CItemBag* bag = m.section.bags.CreateBag(0);
    cell.bag = bag->id;
    CItemType heavy, light;
    heavy.weight = 600;
    light.weight = 399;
    auto put = [&](const CItemType& t) {
        auto* item = new CItemInstance;
        item->type = &t;
        bag->AddItem(item);
    };
    put(heavy);
    put(light);
    EXPECT_TRUE(m.Act(plate, kEventLoad, p, cell));
    EXPECT_EQ(p.flags & kClosed, kClosed) << "999 hundredths";
    EXPECT_EQ(m.host.sounds.back(), "bsnd_switchflooroff");

    m.Act(plate, kEventStep, p, cell);
    CItemType one;
    one.weight = 1;
    put(one);
    m.Act(plate, kEventLoad, p, cell);
    EXPECT_EQ(p.flags & kClosed, 0) << "1000 hundredths";
    cell.bag = 0;
    m.Act(plate, kEventLoad, p, cell);
    EXPECT_EQ(p.flags & kClosed, kClosed) << "no bag, no load";
}

TEST(Containers, UseOpensThePlacementsBag) {
    for (u8 code : {14, 17}) {
        MapObjectWorld m;
        CMapObject* chest = m.Add(code, "base_chest");
        CPlacement& p = m.Place(1);
        p.bagId = 7;
        CMapCell cell;
        EXPECT_TRUE(m.Act(chest, kEventUse, p, cell));
        ASSERT_EQ(m.host.openedBags.size(), 1u);
        EXPECT_EQ(m.host.openedBags[0], 7);
        EXPECT_FALSE(m.Act(chest, kEventStep, p, cell));
        EXPECT_EQ(m.host.openedBags.size(), 1u);
    }
}

TEST(Signs, ShowTheirTextAndBlockWhileShown) {
    MapObjectWorld m;
    CMapObject* sign = m.Add(19, "base_sign");
    CPlacement& p = m.Place(1, "Welcome to %PCName%'s town.");
    CPlacement& blank = m.Place(2);
    CMapCell cell;
    m.Act(sign, kEventUse, p, cell);
    m.Act(sign, kEventUse, blank, cell);
    ASSERT_EQ(m.host.shown.size(), 1u);
    EXPECT_EQ(m.host.shown[0], "Welcome to %PCName%'s town.") << "the host expands the macros";
    EXPECT_TRUE(sign->IsBlocking(&p));
    EXPECT_TRUE(sign->IsBlocking(nullptr));
    p.flags = 0;
    EXPECT_FALSE(sign->IsBlocking(&p));
}

TEST(Scenery, BlockingRules) {
    MapObjectWorld m;
    const CPlacement shown = [] {
        CPlacement p;
        p.flags = kVisible;
        return p;
    }();
    const CPlacement broken = [] {
        CPlacement p;
        p.flags = kVisible | kClosed;
        return p;
    }();
    const CPlacement hidden = [] {
        CPlacement p;
        p.flags = 0;
        return p;
    }();
    struct {
        u8 code;
        u16 viewFlags;
        bool none, shown, broken, hidden;
    } cases[] = {
        {1, 0, true, true, true, true},        {5, 0, true, true, true, false},
        {7, 0x40, true, true, true, false},    {7, 0, false, false, false, false},
        {26, 0x40, true, true, true, false},   {38, 0x40, true, true, true, false},
        {41, 0x40, true, true, true, false},   {32, 0, true, true, true, false},
        {33, 0, true, true, true, true},       {35, 0, true, true, false, false},
        {37, 0, true, true, false, false},     {13, 0x40, false, false, false, false},
        {16, 0, false, false, false, false},   {25, 0, false, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        CMapObject* o = m.Add(c.code, "thing");
        o->viewFlags = c.viewFlags;
        EXPECT_EQ(o->IsBlocking(nullptr), c.none);
        EXPECT_EQ(o->IsBlocking(&shown), c.shown);
        EXPECT_EQ(o->IsBlocking(&broken), c.broken);
        EXPECT_EQ(o->IsBlocking(&hidden), c.hidden);
    }
    CMapObject* feature = m.Add(35, "base_urn");
    CPlacement& p = m.Place(1);
    CMapCell cell;
    EXPECT_TRUE(m.Act(feature, kEventHit, p, cell));
    EXPECT_EQ(p.flags & kClosed, kClosed);
}

TEST(Scenery, AmbientSoundsByDayNightAndState) {
    MapObjectWorld m;
    CMapObject* anim = m.Add(3, "base_anim", {"a", "b"});
    CMapObject* doorway = m.Add(7, "base_arch", {}, nullptr, nullptr, "bsnd_wind");
    CMapObject* torch = m.Add(41, "base_torch", {}, nullptr, nullptr, "bsnd_torch");
    CMapObject* fountain = m.Add(37, "base_fountain", {}, nullptr, nullptr, "bsnd_water");
    CTextureSet textures;
    m.table.ResolvePictureIds(textures, nullptr);
    ASSERT_EQ(anim->frameCount, 2);
    CMapCell cell;
    CPlacement on;
    CPlacement off;
    off.flags = kVisible | kClosed;
    EXPECT_EQ(doorway->GetAmbientSound(&on, cell), nullptr) << "layer 4 without frames";
    cell.layer4 = m.table.IndexOf(anim);
    EXPECT_STREQ(doorway->GetAmbientSound(&on, cell), "bsnd_wind");
    EXPECT_EQ(doorway->GetAmbientSound(&off, cell), nullptr);

    torch->viewFlags |= kViewNightOnly;
    m.host.underground = false;
    m.host.hour = 12;
    EXPECT_EQ(torch->GetAmbientSound(&on, cell), nullptr) << "surface by day";
    m.host.hour = 23;
    EXPECT_STREQ(torch->GetAmbientSound(&on, cell), "bsnd_torch");
    m.host.hour = 12;
    m.host.underground = true;
    EXPECT_STREQ(torch->GetAmbientSound(&on, cell), "bsnd_torch");
    EXPECT_STREQ(fountain->GetAmbientSound(&on, cell), "bsnd_water");
    EXPECT_EQ(fountain->GetAmbientSound(&off, cell), nullptr);
}

TEST(Flowers, TearingGivesTheMatchingIngredientOnce) {
    MapObjectWorld m;
    // A herb of the base world, given a use style and no picture of its own: a flower in a cell
    // without a centre picture yields it.
    CItemType* herb = nullptr;
    for (i32 i = 0; i < m.world.base.items.GetItemTypeCount() && !herb; ++i) {
        CItemType* t = m.world.base.items.GetItemType(i);
        if (t->itemClass == kItemIngredient) herb = t;
    }
    ASSERT_NE(herb, nullptr);
    herb->useStyle = "bres_useherb";
    herb->texts[1] = nullptr;
    CMapObject* flower = m.Add(13, "base_flower", {"bres_flower", "bres_flowertorn"}, nullptr, herb->useStyle);
    CMapObject* single = m.Add(13, "base_flower1", {"bres_flower", ""}, nullptr, herb->useStyle);
    CMapObject* plain = m.Add(13, "base_flower2", {"bres_flower", "bres_flowertorn"});
    CPlacement& p = m.Place(1);
    CMapCell cell;
    const int before = m.world.player.CountItems(herb->GetName());
    EXPECT_TRUE(m.Act(flower, kEventUse, p, cell));
    EXPECT_EQ(p.flags & kClosed, kClosed);
    EXPECT_EQ(m.world.player.CountItems(herb->GetName()), before + 1);
    EXPECT_EQ(m.host.sounds.back(), "bsnd_tearflower");
    EXPECT_EQ(m.host.shown.back(), std::string("You have found ") + herb->name + ".");
    EXPECT_FALSE(m.Act(flower, kEventUse, p, cell)) << "a torn flower does nothing";
    EXPECT_EQ(m.world.player.CountItems(herb->GetName()), before + 1);

    CPlacement& q = m.Place(2);
    EXPECT_FALSE(m.Act(single, kEventUse, q, cell)) << "one named frame yields nothing";
    EXPECT_FALSE(m.Act(plain, kEventUse, q, cell)) << "no text 3 yields nothing";
    EXPECT_EQ(q.flags & kClosed, 0);
}

TEST(Scenery, EveryTypeCodeTakesEveryEvent) {
    // One placement of each class through every event and the describe and light operations: none
    // of them may fail on a cell without neighbours, a placement without texts or no placement.
    MapObjectWorld m;
    for (u8 code = 1; code <= 43; ++code) m.Add(code, "thing", {"f0", "f1", "f2"}, "thing", "style", "bsnd_x");
    CTextureSet textures;
    m.table.ResolvePictureIds(textures, nullptr);
    for (u8 code = 1; code <= 43; ++code) {
        SCOPED_TRACE(code);
        CMapObject* o = m.table.At(code - 1u);
        ASSERT_EQ(o->typeCode, code);
        CPlacement& p = m.Place(code);
        CMapCell cell;
        for (i32 event : {kEventStep, kEventLoad, kEventItem, kEventHit, kEventSpell, kEventUse, kEventDeath}) {
            m.Act(o, event, p, cell);
            bool redraw = false;
            o->HandleEvent(event, &m.section, nullptr, nullptr, 1, 1, redraw);
        }
        CBlockCacheEntry block;
        CWallCacheEntry wall;
        u16 light = 100, word = 0;
        o->DescribeCentre(&p, cell, block, light);
        o->DescribeCentreOverlay(nullptr, cell, block, light);
        o->DescribeSide(&p, cell, wall, 3);
        o->DescribeSideOverlay(nullptr, cell, wall, 0);
        o->UpdateCentreLight(&p, cell, 10, 9, block, light);
        o->UpdateSideLight(&p, cell, wall, 1);
        o->GetAmbientSound(nullptr, cell);
        o->GetSideAmbientSound(&p, cell);
        o->AnimateTick(&m.section, &p, cell, 1, 1, word, nullptr);
        o->MergeCellViewFlags(word);
    }
}

TEST(Scenery, StandingPicturesStandOnTheGroundAtTheCellsMiddle) {
    // Every object drawn as a picture standing in the cell (composite, large picture, picture
    // group) puts its picture at the middle of the cell (512 view units, times 64) and on the ground;
    // a stray position puts stairs and trees on the cell's corner, a stray height lifts them.
    MapObjectWorld m;
    for (u8 code = 1; code <= 43; ++code) m.Add(code, "thing", {"f0", "f1", "f2"}, "thing", "style", "bsnd_x");
    CTextureSet textures;
    m.table.ResolvePictureIds(textures, nullptr);
    i32 standing = 0;
    for (u8 code = 1; code <= 43; ++code) {
        SCOPED_TRACE(code);
        CMapObject* o = m.table.At(code - 1u);
        CPlacement& p = m.Place(code);
        CMapCell cell;
        CBlockCacheEntry block;
        u16 light = 100;
        if (!o->DescribeCentre(&p, cell, block, light)) continue;
        const bool group = block.kind == 5;
        if (block.kind != 1 && block.kind != 12 && !group) continue;
        ++standing;
        EXPECT_EQ(block.heightFraction, 0);
        for (i32 k = 0; k < (group ? 6 : 1); ++k) {
            if (!group && block.picture[k] == 0) continue;
            EXPECT_EQ(static_cast<u16>(block.x[k]), 512u << 6) << "picture " << k;
            EXPECT_EQ(static_cast<u16>(block.y[k]), 512u << 6) << "picture " << k;
        }
    }
    EXPECT_GT(standing, 3) << "the stairs, signs, flowers and passages stand in their cells";
}

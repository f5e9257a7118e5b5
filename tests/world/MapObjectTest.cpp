#include <gtest/gtest.h>

#include <functional>
#include <typeinfo>

#include "tests/world/MapObjectFixture.h"
#include "view3d/ViewCaches.h"
#include "world/MapDoors.h"
#include "world/MapScenery.h"

using namespace mapobject;

namespace {

template <class T>
bool Is(const CMapObject* o) {
    return o && typeid(*o) == typeid(T);
}

}  // namespace

TEST(MapObjectFactory, EveryTypeCodeMakesItsClassWithTheRowValues) {
    const std::function<bool(const CMapObject*)> expected[44] = {
        nullptr,
        Is<CSolidObject>,
        Is<CMapObject>,
        Is<CMapObject>,
        Is<CItemHolderObject>,
        Is<CDecorObject5>,
        Is<CWallFaceObject>,
        Is<CPassageObject>,
        Is<CPassageObject>,
        Is<CWallPassageObject>,
        Is<CWallDecorObject>,
        Is<CSimpleDoor>,
        Is<CEntranceObject>,
        Is<CFlowerObject>,
        Is<CWallContainerObject>,
        Is<CCentrePassageObject>,
        Is<CLargeSwitch>,
        Is<CWallContainerObject17>,
        Is<CWallPictureObject>,
        Is<CSignObject>,
        Is<CDoor>,
        Is<CMapObject>,
        Is<CDoor>,
        Is<CMapObject>,
        Is<COverlayDecorObject>,
        Is<CStairsObject>,
        Is<CDecorObject26>,
        Is<CViewMarkerObject>,
        Is<CSecretSwitch>,
        Is<CDecorObject29>,
        Is<CMapObject>,
        Is<CFloorSwitch>,
        Is<CDecorObject32>,
        Is<CFireObject>,
        Is<CMapObject>,
        Is<CFeatureObject35>,
        Is<CMapObject>,
        Is<CFeatureObject37>,
        Is<CDecorObject38>,
        Is<CScriptOnlyObject>,
        Is<CWallPassageObject2>,
        Is<CDecorObject41>,
        Is<CTrap>,
    };
    CMapObjectTable table;
    for (u32 code = 1; code <= 43; ++code) {
        SCOPED_TRACE(code);
        std::unique_ptr<CMapObject> o = CreateMapObject(&table, static_cast<u8>(code));
        ASSERT_NE(o, nullptr);
        const bool matches = code == 43 ? Is<CScriptOnlyObject>(o.get()) : expected[code](o.get());
        const CMapObject& made = *o;
        EXPECT_TRUE(matches) << typeid(made).name();
        const CMapObjectTypeRow& row = CMapObjectTable::kTypeRows[code];
        EXPECT_EQ(o->typeCode, code);
        EXPECT_EQ(o->table, &table);
        EXPECT_EQ(o->typeFlags, row.flags);
        EXPECT_EQ(o->typeExtra, row.extra);
        const u16 extra = (code == 7 || code == 8 || code == 41) ? 0x200 : 0;
        EXPECT_EQ(o->viewFlags, row.view | extra);
    }
    for (u32 code : {0u, 44u, 200u, 255u}) EXPECT_EQ(CreateMapObject(&table, static_cast<u8>(code)), nullptr) << code;
    EXPECT_EQ(CMapObjectTable::kTypeRows[20].flags, 0x54a0a84u);
    EXPECT_EQ(CMapObjectTable::kTypeRows[42].extra, 571u);
    // The extra column is the mask of the events a type answers: a trap is stepped on, a sign used.
    EXPECT_TRUE(CreateMapObject(&table, 42)->AnswersEvent(kEventStep));
    EXPECT_FALSE(CreateMapObject(&table, 19)->AnswersEvent(kEventStep));
    EXPECT_TRUE(CreateMapObject(&table, 19)->AnswersEvent(kEventUse));
}

TEST(MapObjectFactory, ViewFlagsFromTheRecordOrTheRow) {
    MapObjectWorld m;
    // Before version 11 the record has no view flags: the row's word, and 0x4000 for types 11, 33.
    CMapObject* door = m.Add(11, "base_towndoor");
    EXPECT_EQ(door->viewFlags, 16386);
    auto r = std::make_unique<CMapObjectRecord>();
    r->typeCode = 33;
    r->id = "base_campfire";
    r->hasViewFlags = true;
    r->viewFlags = 0x0001;
    m.records.items.push_back(std::move(r));
    auto wall = std::make_unique<CMapObjectRecord>();
    wall->typeCode = 7;
    wall->hasViewFlags = true;
    wall->viewFlags = 0x40;
    m.records.items.push_back(std::move(wall));
    m.table.Build(m.records, &m.host);
    EXPECT_EQ(m.table.At(1)->viewFlags, 0x4001);
    EXPECT_EQ(m.table.At(2)->viewFlags, 0x40) << "the record's word replaces the row's and its 0x200";
    EXPECT_EQ(m.table.IndexOf(m.table.At(2)), 2);
    EXPECT_EQ(m.table.IndexOf(nullptr), 65535);
    EXPECT_EQ(m.table.FindByName("base_campfire"), m.table.At(1));
}

TEST(MapObjectFactory, PlainTypesAnswerOnlyTheBaseCommandsAndNeverBlock) {
    MapObjectWorld m;
    for (u8 code : {2, 3, 21, 23, 30, 34, 36, 39, 43}) {
        SCOPED_TRACE(code);
        CMapObject* o = m.Add(code, "plain");
        CPlacement& p = m.Place(1, "somewhere");
        EXPECT_FALSE(o->IsBlocking(&p));
        EXPECT_FALSE(o->IsBlocking(nullptr));
        CMapCell cell;
        EXPECT_FALSE(m.Act(o, kEventUse, p, cell));
        EXPECT_FALSE(m.Act(o, kEventStep, p, cell));
        EXPECT_TRUE(m.host.travel.empty());
        m.Command(o, &p, 114);
        EXPECT_EQ(m.Command(o, &p, 112)->GetNumber(), 0);
    }
}

TEST(MapObjectCommands, BaseCommandsOnThePlacement) {
    MapObjectWorld m;
    CMapObject* o = m.Add(39, "base_script");
    CPlacement& p = m.Place(4);
    bool redraw = true;
    EXPECT_EQ(m.Command(o, &p, 102, 0, nullptr, &redraw)->GetNumber(), 1);
    EXPECT_FALSE(redraw);
    m.Command(o, &p, 104);
    EXPECT_EQ(m.Command(o, &p, 102)->GetNumber(), 0);
    EXPECT_EQ(m.Command(o, &p, 126)->GetNumber(), 2) << "isdead answers 0 or 2";
    m.Command(o, &p, 103);
    EXPECT_EQ(m.Command(o, &p, 126)->GetNumber(), 0);

    struct Level {
        i32 set;
        i32 lock;
    } levels[] = {{57, 50}, {0, 0}, {101, 100}, {110, 110}, {200, 40}, {-5, 0}};
    for (const Level& l : levels) {
        m.Command(o, &p, 106, l.set);
        m.Command(o, &p, 108, l.set);
        EXPECT_EQ(m.Command(o, &p, 105)->GetNumber(), l.lock) << l.set;
        EXPECT_EQ(m.Command(o, &p, 107)->GetNumber(), l.lock) << l.set;
    }
    m.Command(o, &p, 106, 57);
    EXPECT_EQ(LockLevel(p.level), 5);

    m.Command(o, &p, 111, 0, nullptr, &redraw);
    EXPECT_TRUE(redraw);
    EXPECT_EQ(m.Command(o, &p, 109)->GetNumber(), 0);
    m.Command(o, &p, 110, 0, nullptr, &redraw);
    EXPECT_TRUE(redraw);
    EXPECT_EQ(m.Command(o, &p, 109)->GetNumber(), 1);
    m.Command(o, &p, 114, 0, nullptr, &redraw);
    EXPECT_TRUE(redraw);
    EXPECT_EQ(m.Command(o, &p, 112)->GetNumber(), 0);
    m.Command(o, &p, 113);
    EXPECT_EQ(m.Command(o, &p, 112)->GetNumber(), 1);

    m.Command(o, &p, 116, 200);
    EXPECT_EQ(m.Command(o, &p, 115)->GetNumber(), -56) << "the state byte reads signed";
    m.Command(o, &p, 116, 7);
    EXPECT_EQ(m.Command(o, &p, 115)->GetNumber(), 7);
    EXPECT_EQ(m.Command(o, &p, 150), nullptr) << "other commands leave the result empty";
    EXPECT_EQ(m.Command(o, nullptr, 102), nullptr) << "no placement, nothing";
}

TEST(MapObjectCommands, ItemsInThePlacementsBag) {
    MapObjectWorld m;
    CMapObject* plain = m.Add(39, "base_script");
    CMapObject* holder = m.Add(4, "base_altar");
    CPlacement& bagless = m.Place(1);
    m.Command(plain, &bagless, 138, 2, "base_food_bread");
    EXPECT_EQ(m.Command(plain, &bagless, 141, 0, "base_food_bread")->GetNumber(), 0);
    EXPECT_EQ(m.section.bags.Count(), 0) << "the plain object needs a bag of its own";

    CPlacement& p = m.Place(2);
    m.Command(holder, &p, 139, 3, "base_food_bread");
    ASSERT_NE(p.bagId, 0) << "the holder makes its bag";
    EXPECT_EQ(m.Command(holder, &p, 141, 0, "base_food_bread")->GetNumber(), 3);
    m.Command(holder, &p, 140, 2, "base_food_bread");
    EXPECT_EQ(m.Command(holder, &p, 141, 0, "base_food_bread")->GetNumber(), 1);
    EXPECT_EQ(m.Command(plain, &p, 141, 0, "base_food_bread")->GetNumber(), 1) << "any object with a bag";
    m.Command(holder, &p, 138, 1, "base_no_such_item");
    EXPECT_EQ(m.section.bags.FindBagById(p.bagId)->GetItemCount(), 1);
    // A script's amount is data: a huge one makes a bagful, a negative one nothing.
    m.Command(holder, &p, 138, 1000000, "base_food_bread");
    EXPECT_EQ(m.Command(holder, &p, 141, 0, "base_food_bread")->GetNumber(), 256);
    m.Command(holder, &p, 140, -5, "base_food_bread");
    EXPECT_EQ(m.Command(holder, &p, 141, 0, "base_food_bread")->GetNumber(), 256);
}

// ---- doors ----

namespace {

struct DoorCase {
    const char* name;
    u8 mode;
    i32 lock, trap;  // in tens
    bool key, pick;
    i32 disarmSkill;
    // What happens: the door starts opening, the prompt with its buttons, or a plain message.
    bool opens;
    const char* text;  // the prompt's or message's text; null when none
    i32 open, disarm, pickButton;
    bool prompt;
};

}  // namespace

TEST(Doors, ModesKeysLocksAndTraps) {
    const DoorCase cases[] = {
        {"by hand", 2, 0, 0, false, false, 0, true, nullptr, 0, 0, 0, false},
        {"by hand, locked levels ignored", 2, 50, 0, false, false, 0, true, nullptr, 0, 0, 0, false},
        {"no way", 0, 0, 0, false, false, 0, false, "You can't see any method of opening this door.", 0, 0, 0, false},
        {"inert", 3, 0, 0, false, false, 0, false, nullptr, 0, 0, 0, false},
        {"key door without a lock", 1, 0, 0, false, false, 0, true, nullptr, 0, 0, 0, false},
        {"trap unnoticed", 2, 0, 30, false, false, 9, true, nullptr, 0, 0, 0, false},
        {"trap noticed", 2, 0, 30, false, false, 10, false,
         "The door seems to be trapped.\rYour disarm skill may not be enough.", 1, 1, 0, true},
        {"trap noticed, skill enough", 2, 0, 30, false, false, 30, false, "The door seems to be trapped.", 1, 1, 0,
         true},
        {"locked, key carried", 1, 50, 0, true, false, 0, true, nullptr, 0, 0, 0, false},
        {"locked, nothing", 1, 50, 0, false, false, 0, false,
         "The door is locked,\rand you don't have the right key nor any lockpicks.", 0, 0, 0, false},
        {"locked, a pick", 1, 50, 0, false, true, 0, false, "The door is locked,\rand you don't have the right key.",
         0, 0, 1, true},
        {"locked, trap noticed", 1, 50, 30, false, false, 12, false,
         "The door is locked,\rand you don't have the right key nor any lockpicks.\rAlso, it seems to be "
         "trapped...\rYour disarm skill may not be enough.",
         0, 1, 0, true},
        {"locked, trap unnoticed", 1, 50, 30, false, false, 9, false,
         "The door is locked,\rand you don't have the right key nor any lockpicks.", 0, 0, 0, false},
        {"locked, key and a trap", 1, 50, 30, true, false, 30, true, nullptr, 0, 0, 0, false},
    };
    for (const DoorCase& c : cases) {
        SCOPED_TRACE(c.name);
        MapObjectWorld m;
        CMapObject* door = m.Add(20, "base_door", {}, nullptr, nullptr, "bsnd_ddooropen");
        CPlacement& p = m.Place(3, c.key ? "base_food_cheese" : nullptr, kVisible | kClosed);
        SetLockLevel(p.level, static_cast<u32>(c.lock));
        SetTrapLevel(p.level, static_cast<u32>(c.trap));
        m.world.player.skills[kSkillDisarm] = static_cast<u16>(c.disarmSkill);
        if (c.key) m.world.Give("base_food_cheese");
        if (c.pick) m.world.Give("base_key_lockpickbeginner");
        CMapCell cell;
        cell.doorMode = static_cast<u8>(c.mode << 2);
        m.world.host.Clear();
        m.Act(door, kEventUse, p, cell);
        EXPECT_EQ((p.flags & kOpening) != 0, c.opens);
        if (c.prompt) {
            ASSERT_EQ(m.host.prompts.size(), 1u);
            const CDoorPrompt& d = m.host.prompts[0];
            EXPECT_EQ(d.text, c.text);
            EXPECT_EQ(d.open, c.open);
            EXPECT_EQ(d.disarm, c.disarm);
            EXPECT_EQ(d.pick, c.pickButton);
            EXPECT_EQ(d.placement, &p);
            EXPECT_EQ(d.kind, 20);
        } else {
            EXPECT_TRUE(m.host.prompts.empty());
            if (c.text && c.mode == 0) {
                ASSERT_EQ(m.host.shown.size(), 1u);
                EXPECT_EQ(m.host.shown[0], c.text);
            } else if (c.text) {
                ASSERT_EQ(m.host.posted.size(), 1u);
                EXPECT_EQ(m.host.posted[0], c.text);
            }
        }
        if (c.key && c.opens && c.lock > 0) {
            EXPECT_EQ(m.world.player.CountItems("base_food_cheese"), 0) << "the key is used up";
            ASSERT_FALSE(m.world.host.shown.empty());
            EXPECT_EQ(m.world.host.shown.back().rfind("You have lost ", 0), 0u);
            EXPECT_EQ(m.host.sounds.front(), "bsnd_lockout");
        }
        if (c.opens) {
            EXPECT_EQ(m.host.sounds.back(), "bsnd_ddooropen");
        }
    }
}

TEST(Doors, UsingAnOpenDoor) {
    for (u8 mode : {0, 1, 2, 3}) {
        SCOPED_TRACE(mode);
        MapObjectWorld m;
        CMapObject* door = m.Add(20, "base_door");
        CPlacement& p = m.Place(3);
        CMapCell cell;
        cell.doorMode = static_cast<u8>(mode << 2);
        m.Act(door, kEventUse, p, cell);
        if (mode == 2) {
            EXPECT_TRUE(p.flags & kClosing);
            EXPECT_TRUE(m.host.shown.empty());
        } else {
            EXPECT_FALSE(p.flags & kClosing);
            ASSERT_EQ(m.host.shown.size(), 1u);
            EXPECT_EQ(m.host.shown[0], "You can't close the door.");
            EXPECT_EQ(m.host.sounds[0], "bsnd_ddoorlocked");
        }
    }
}

TEST(Doors, OpenAndCloseAnimateThroughThePhases) {
    for (u8 code : {20, 22}) {
        SCOPED_TRACE(code);
        MapObjectWorld m;
        auto* door = static_cast<CDoor*>(m.Add(code, "base_door", {}, nullptr, nullptr, "bsnd_dooropen"));
        CPlacement& p = m.Place(3, nullptr, kVisible | kClosed);
        CMapCell cell;
        EXPECT_TRUE(door->IsBlocking(&p));
        bool redraw = false;
        ScriptArgs none;
        ScriptResult result;
        door->ExecuteCommand(&m.section, &p, 12, 10, 103, none, result, redraw);
        EXPECT_FALSE(door->IsBlocking(&p)) << "an opening door lets the player through";
        EXPECT_EQ(m.host.volumes.back(), 8) << "10 - |dx| - |dy|";
        m.host.playerX = 30;
        m.host.playerY = 30;
        u16 word = 0x0155;  // the low bits belong to others
        i32 ticks = 0;
        while (((word >> 10) & 63) < 63 && ticks < 100) {
            door->AnimateTick(&m.section, &p, cell, 12, 10, word, nullptr);
            ++ticks;
        }
        EXPECT_EQ(ticks, code == 22 ? 21 : 13);
        EXPECT_EQ(word & 0x3FF, 0x155);
        EXPECT_TRUE(p.flags & kOpening);
        door->AnimateTick(&m.section, &p, cell, 12, 10, word, nullptr);
        EXPECT_EQ(p.flags & (kOpening | kClosed), 0) << "open on the tick that finds the phase at 63";
        EXPECT_EQ(door->ExecuteCommand(&m.section, &p, 12, 10, 102, none, result, redraw), 0);
        EXPECT_EQ(result->GetNumber(), 1);

        door->ExecuteCommand(&m.section, &p, 12, 10, 104, none, result, redraw);
        EXPECT_TRUE(door->IsBlocking(&p));
        for (i32 i = 0; i < 30 && !(p.flags & kClosed); ++i)
            door->AnimateTick(&m.section, &p, cell, 12, 10, word, nullptr);
        EXPECT_EQ(p.flags & (kClosing | kClosed), kClosed);
        EXPECT_EQ(m.host.sounds.back(), "bsnd_ddoorcloseok");
        EXPECT_EQ(m.host.volumes.back(), 1) << "far away, never silent";
    }
}

TEST(Doors, ScriptLevelsClampForDoors) {
    MapObjectWorld m;
    CMapObject* door = m.Add(20, "base_door");
    CPlacement& p = m.Place(3);
    m.Command(door, &p, 106, 200);
    m.Command(door, &p, 108, 200);
    EXPECT_EQ(m.Command(door, &p, 105)->GetNumber(), 110);
    EXPECT_EQ(m.Command(door, &p, 107)->GetNumber(), 100);
    m.Command(door, &p, 106, -3);
    EXPECT_EQ(m.Command(door, &p, 105)->GetNumber(), 0);
    // Commands the door leaves to the base.
    m.Command(door, &p, 116, 9);
    EXPECT_EQ(m.Command(door, &p, 115)->GetNumber(), 9);
}

TEST(Doors, SpellsUnlockAndDisarmByTheirPower) {
    MapObjectWorld m;
    CSpell spell;
    CEffect unlock = PlayerFx(45, 30);
    unlock.amountPerLevel = 100;
    CEffect disarm = PlayerFx(44, 10);
    spell.effects.Add(new CEffect(unlock));
    spell.effects.Add(new CEffect(disarm));
    CMapObject* door = m.Add(20, "base_door");
    CPlacement& p = m.Place(3, nullptr, kVisible | kClosed);
    SetLockLevel(p.level, 50);
    SetTrapLevel(p.level, 50);
    CMapCell cell;
    m.Act(door, kEventSpell, p, cell);
    EXPECT_EQ(LockLevel(p.level), 5) << "no spell in the event: nothing";

    m.host.spell = &spell;
    m.host.spellStrength = 40;  // unlock 30 + 100 * 40 / 100 = 70: 63 + Random(7) >= 50
    m.Act(door, kEventSpell, p, cell);
    EXPECT_EQ(LockLevel(p.level), 0);
    EXPECT_EQ(TrapLevel(p.level), 5) << "disarm 10 reaches 9 at most";
    EXPECT_TRUE(p.flags & kMarked);
    EXPECT_EQ(m.host.markCountdown, 10);

    SetLockLevel(p.level, 110);
    m.host.spellStrength = 1000;
    m.Act(door, kEventSpell, p, cell);
    EXPECT_EQ(LockLevel(p.level), 11) << "a lock of 110 is beyond magic";

    // The mark counts down on the animation ticks, then goes.
    u16 word = 0;
    CBlockCacheEntry entry;
    for (i32 i = 0; i < 10; ++i) door->AnimateTick(&m.section, &p, cell, 10, 9, word, &entry);
    EXPECT_TRUE(p.flags & kMarked);
    EXPECT_EQ(entry.flags & 1, 1);
    door->AnimateTick(&m.section, &p, cell, 10, 9, word, &entry);
    EXPECT_FALSE(p.flags & kMarked);
    EXPECT_EQ(entry.flags & 1, 0);
}

TEST(Doors, FlameSoundsOnlyUndergroundOrAtNight) {
    MapObjectWorld m;
    m.Add(33, "base_flame", {"bres_flame0"});
    CMapObject* door = m.Add(20, "base_door", {}, "base_flame");
    CMapCell cell;
    struct {
        bool underground;
        i32 hour;
        bool fire;
    } cases[] = {{true, 12, true}, {false, 12, false}, {false, 22, true}, {false, 5, true}, {false, 6, false}};
    for (const auto& c : cases) {
        m.host.underground = c.underground;
        m.host.hour = c.hour;
        const char* s = door->GetAmbientSound(nullptr, cell);
        EXPECT_EQ(s != nullptr, c.fire) << c.hour;
    }
    EXPECT_EQ(m.Add(20, "base_plain")->GetAmbientSound(nullptr, cell), nullptr);
}

TEST(TownDoors, TalkAndAttack) {
    MapObjectWorld m;
    CMapObject* simple = m.Add(11, "base_shopdoor");
    CMapObject* entrance = m.Add(12, "base_entrance");
    CPlacement& p = m.Place(5);
    CMapCell cell;
    m.Act(simple, kEventUse, p, cell);
    EXPECT_EQ(m.screen, 2);
    EXPECT_EQ(m.host.sounds.back(), "bsnd_cdooropen");
    m.host.talkOpen = false;
    m.Act(simple, kEventUse, p, cell);
    EXPECT_EQ(m.screen, 0);
    EXPECT_EQ(m.host.sounds.back(), "bsnd_cdoorclosed");

    m.Act(entrance, kEventHit, p, cell);
    EXPECT_EQ(m.host.shown.back(), "You've tried to attack peaceful people!");
    EXPECT_EQ(m.world.player.crime, 5u);
    EXPECT_EQ(m.world.host.shown.back(), "You have committed a crime.");
    m.world.player.crime = 998;
    m.Act(entrance, kEventHit, p, cell);
    EXPECT_EQ(m.world.player.crime, 1000u);
}

TEST(Traps, SteppingOnASpringsItOnce) {
    MapObjectWorld m;
    CMapObject* trap = m.Add(42, "base_blades");
    CPlacement& p = m.Place(6);
    p.level = 4 << 8;  // damage level 4: 40 raw
    CMapCell cell;
    const int hp = m.world.player.hp;
    m.Act(trap, kEventStep, p, cell);
    ASSERT_EQ(m.host.hits.size(), 1u);
    const i32 damage = m.host.hits[0];
    EXPECT_EQ(damage, 40 - m.world.player.GetArmorClass(nullptr, 1));
    EXPECT_EQ(m.world.player.hp, hp - damage);
    EXPECT_EQ(CTrap::SpringCounter(p.level), 1);
    EXPECT_EQ(m.host.sounds.back(), "bsnd_trap");

    // The blades rise while the player stands in the cell, then rest.
    CBlockCacheEntry entry;
    u16 light = 0;
    m.host.playerX = 10;
    m.host.playerY = 9;
    for (i32 i = 1; i < 7; ++i) trap->UpdateCentreLight(&p, cell, 10, 9, entry, light);
    EXPECT_EQ(CTrap::SpringCounter(p.level), 7);
    EXPECT_EQ(m.host.sounds.back(), "bsnd_trapback");
    trap->UpdateCentreLight(&p, cell, 10, 9, entry, light);
    EXPECT_EQ(CTrap::SpringCounter(p.level), 0);
    EXPECT_EQ(entry.flags, 39);

    p.flags |= kClosed;
    m.host.hits.clear();
    m.Act(trap, kEventStep, p, cell);
    EXPECT_TRUE(m.host.hits.empty()) << "a disabled trap";
}

TEST(Traps, WeakTrapsHurtByChance) {
    // Damage level 0: a draw above 50, then 1..4 from a second draw.
    i32 hurt = 0, spared = 0;
    for (i64 seed = 1; seed <= 40; ++seed) {
        MapObjectWorld m;
        for (i64 k = 0; k < seed; ++k) m.world.random.Next(7);
        CMapObject* trap = m.Add(42, "base_blades");
        CPlacement& p = m.Place(6);
        CMapCell cell;
        m.Act(trap, kEventStep, p, cell);
        if (m.host.hits.empty()) {
            ++spared;
        } else {
            ++hurt;
            EXPECT_GE(m.host.hits[0], 1);
            EXPECT_LE(m.host.hits[0], 4);
        }
        EXPECT_EQ(m.host.sounds.back(), "bsnd_trap");
    }
    EXPECT_GT(hurt, 0);
    EXPECT_GT(spared, 0);
}

TEST(MapObjectCommands, TheScriptEngineActsThroughThePlacedObject) {
    MapObjectWorld m;
    CMapObject* lever = m.Add(16, "base_lever");
    CPlacement& p = m.Place(7);
    p.name = "harbour_lever";
    CPlacedMapObject placed(lever, &p);
    EXPECT_STREQ(placed.GetName(), "harbour_lever");
    EXPECT_EQ(placed.GetTypeByte(), 16);
    ScriptPlace place;
    place.section = &m.section;
    place.x = 10;
    place.y = 9;
    ScriptArgs args;
    ScriptResult result;
    bool changed = false;
    placed.ExecuteCommand(place, 114, args, result, changed);
    EXPECT_TRUE(changed);
    EXPECT_TRUE(placed.IsClosed());
    args.a[0] = CScriptValue(-3);
    placed.ExecuteCommand(place, 116, args, result, changed);
    EXPECT_EQ(placed.GetState(), -3);
    CMapCell cell;
    placed.HandleEvent(kEventUse, place, &cell, changed);
    EXPECT_TRUE(changed);
    EXPECT_FALSE(placed.IsClosed()) << "the lever's own use turned it on";
    CPlacedMapObject nothing(nullptr, nullptr);
    EXPECT_STREQ(nothing.GetName(), "");
    EXPECT_EQ(nothing.ExecuteCommand(place, 102, args, result, changed), 0);
}

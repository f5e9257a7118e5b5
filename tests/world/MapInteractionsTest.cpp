#include <gtest/gtest.h>

#include "tests/world/MapObjectFixture.h"
#include "data/World.h"
#include "world/CellWindow.h"
#include "world/MapDoors.h"
#include "world/MapInteractions.h"
#include "world/Stealing.h"
#include "world/TravelEvents.h"

using namespace mapobject;

TEST(DoorPrompt, ShowsOnlyTheOfferedButtonsAndCancel) {
    struct {
        i32 open, disarm, pick, buttons;
    } cases[] = {{0, 0, 0, 2}, {1, 0, 0, 130}, {0, 1, 0, 258}, {0, 0, 1, 514}, {1, 1, 0, 386}, {0, 2, 3, 770}};
    MapObjectWorld m;
    CMapInteractions doors(m.host);
    for (const auto& c : cases) {
        CDoorPrompt p;
        p.text = "The door seems to be trapped.";
        p.open = c.open;
        p.disarm = c.disarm;
        p.pick = c.pick;
        doors.OnDoorPrompt(p);
        EXPECT_EQ(m.host.promptButtons.back(), c.buttons);
        EXPECT_EQ(m.host.promptTexts.back(), p.text);
        EXPECT_EQ(m.host.screenMode, 9);
    }
}

TEST(DoorPrompt, DisarmingRollsTheSkillAgainstTheTrap) {
    // S below 5 rolls 9 x S / 10 exactly: with S = 4 the roll is 3, with S = 1 it is 0.
    struct {
        i32 skill, trap;
        bool disarmed;
    } cases[] = {{4, 0, true}, {2, 0, true}, {1, 0, false}, {0, 0, false}, {40, 30, true}, {30, 30, false}, {100, 110, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.skill);
        MapObjectWorld m;
        CMapObject* door = m.Add(20, "base_door");
        CPlacement& p = m.Place(1, nullptr, kVisible | kClosed);
        SetTrapLevel(p.level, static_cast<u32>(c.trap));
        m.world.player.skills[kSkillDisarm] = static_cast<u16>(c.skill);
        m.world.player.skillUse[kSkillDisarm] = 254;
        CMapInteractions doors(m.host);
        CDoorPrompt prompt;
        prompt.object = door;
        prompt.placement = &p;
        doors.OnDoorPrompt(prompt);
        doors.DisarmTrap();
        EXPECT_EQ(m.world.player.skillUse[kSkillDisarm], 255);
        doors.DisarmTrap();
        EXPECT_EQ(m.world.player.skillUse[kSkillDisarm], 255) << "the practice stops at 255";
        if (c.disarmed) {
            EXPECT_EQ(TrapLevel(p.level), 0);
            ASSERT_FALSE(m.host.shown.empty());
            EXPECT_EQ(m.host.shown[0], "You have disarmed the door.");
            EXPECT_EQ(m.host.sounds[0], "bsnd_lockdisarmok");
        } else {
            EXPECT_EQ(m.host.sounds[0], "bsnd_lockdisarmtry");
            EXPECT_EQ(m.host.casts.empty(), c.trap == 0) << "a trap of level 0 fires nothing";
        }
    }
}

// A trap disarmed is told by joining the message that is open, as the player's own reports are, not
// by a box of its own; a door's and another object's trap are named so.
TEST(DoorPrompt, ADisarmedTrapJoinsTheOpenMessage) {
    for (const i32 kind : {20, 22, 7}) {
        SCOPED_TRACE(kind);
        MapObjectWorld m;
        CMapObject* door = m.Add(20, "base_door");
        CPlacement& p = m.Place(1, nullptr, kVisible | kClosed);
        SetTrapLevel(p.level, 1);
        m.world.player.skills[kSkillDisarm] = 100;
        CMapInteractions doors(m.host);
        CDoorPrompt prompt;
        prompt.object = door;
        prompt.placement = &p;
        prompt.kind = kind;
        doors.OnDoorPrompt(prompt);
        doors.DisarmTrap();
        EXPECT_TRUE(m.host.posted.empty());
        ASSERT_EQ(m.host.shown.size(), 1u);
        EXPECT_EQ(m.host.shown[0], kind == 7 ? "You have disarmed the object." : "You have disarmed the door.");
    }
}

TEST(DoorPrompt, FiringATrapCastsItsSpellAtThePlayer) {
    struct {
        u8 code;
        const char* spell;
        i32 strength;
    } cases[] = {{0, nullptr, 40}, {1, "base_spellfireball", 40}, {2, "base_spelllightningbolt", 20},
                 {7, "base_spellcurse", 40}};
    for (const auto& c : cases) {
        MapObjectWorld m;
        CMapObject* door = m.Add(20, "base_door");
        door->cellViewBits = static_cast<u8>(c.code << 4);
        EXPECT_EQ(CMapInteractions::TrapSpellCode(door), c.code);
        CMapInteractions doors(m.host);
        u16 level = 0;
        SetTrapLevel(level, 40);
        doors.FireTrap(level, door);
        ASSERT_EQ(m.host.casts.size(), 1u) << int(c.code);
        EXPECT_EQ(m.host.casts[0].second, c.strength);
        if (c.spell)
            EXPECT_STREQ(m.host.casts[0].first->GetName(), c.spell);
        else
            EXPECT_EQ(m.host.casts[0].first, nullptr);
    }
}

TEST(DoorPrompt, OpeningATrappedDoorFiresThenOpens) {
    MapObjectWorld m;
    CMapObject* door = m.Add(20, "base_door");
    CPlacement& p = m.Place(1, nullptr, kVisible | kClosed);
    SetTrapLevel(p.level, 20);
    CMapCell cell;
    cell.doorMode = 2 << 2;
    m.world.player.skills[kSkillDisarm] = 20;
    m.Act(door, kEventUse, p, cell);
    ASSERT_EQ(m.host.prompts.size(), 1u);
    CMapInteractions doors(m.host);
    doors.OnDoorPrompt(m.host.prompts[0]);
    doors.OpenTrappedDoor();
    ASSERT_EQ(m.host.casts.size(), 1u);
    EXPECT_EQ(m.host.casts[0].second, 20);
    EXPECT_TRUE(p.flags & kOpening);
    doors.OpenLockPicking();
    EXPECT_EQ(m.host.lockPickDoor, &p);
    EXPECT_EQ(m.host.screenMode, 10);
}

TEST(Footsteps, GroundAndFoot) {
    MapObjectWorld m;
    CMapObject* grass = m.Add(2, "base_grass", {}, nullptr, nullptr, "bsnd_grass-right");
    m.records.items[0]->sounds[1] = "bsnd_grass-left";
    CMapObject* carpet = m.Add(4, "base_carpet", {}, nullptr, nullptr, "bsnd_carpet");
    CMapObject* water = m.Add(3, "base_water", {}, nullptr, nullptr, "bsnd_splash");
    CMapInteractions steps(m.host);
    CMapCell cell;
    cell.layer1 = m.table.IndexOf(grass);
    auto step = [&](i32 x, i32 y, bool quiet, const CPlacement* centre = nullptr) {
        return steps.ChooseFootstep(m.table, cell, centre, nullptr, x, y, quiet);
    };
    EXPECT_STREQ(step(4, 4, false).sound, "bsnd_stepbarefoot-right") << "x + y even: the right foot";
    EXPECT_STREQ(step(4, 5, true).sound, "bsnd_stepbarefoot-left");
    EXPECT_EQ(step(4, 5, true).volume, 6);
    EXPECT_EQ(step(4, 5, false).volume, 10);
    cell.layer2 = m.table.IndexOf(water);
    EXPECT_STREQ(step(4, 4, false).sound, "bsnd_splash") << "water is never barefoot";
    m.world.player.equipment[11] = m.world.Give("base_boots_fur");
    cell.layer2 = kNoCellIndex;
    EXPECT_STREQ(step(4, 4, false).sound, "bsnd_grass-right");
    EXPECT_STREQ(step(5, 4, false).sound, "bsnd_grass-left");
    cell.centre = m.table.IndexOf(carpet);
    EXPECT_STREQ(step(4, 4, false).sound, "bsnd_carpet");
    CPlacement hidden;
    hidden.flags = 0;
    EXPECT_STREQ(step(4, 4, false, &hidden).sound, "bsnd_grass-right") << "a hidden carpet is not walked on";
    m.world.player.equipment[11] = nullptr;

    // A creature's step sounds by the ground of its cell, quieter with the distance.
    steps.PlayGroundSound(m.table, cell, nullptr, 13, 10);
    EXPECT_EQ(m.host.sounds.back(), "bsnd_grass-right");
    EXPECT_EQ(m.host.volumes.back(), 7);
    CMapCell bare;
    const size_t played = m.host.sounds.size();
    steps.PlayGroundSound(m.table, bare, nullptr, 10, 10);
    EXPECT_EQ(m.host.sounds.size(), played) << "no ground, no sound";
    steps.PlayGroundSound(m.table, bare, water, 30, 30);
    EXPECT_EQ(m.host.sounds.back(), "bsnd_splash");
    EXPECT_EQ(m.host.volumes.back(), 1);
}

// ---- stealing ----

namespace {

struct StealWorld : MapObjectWorld {
    StealWorld() {
        victim.id = 1;
        CItemBag* bag = section.bags.CreateBag(0);
        victim.bagId = bag->id;
        for (const char* id : {"base_food_bread", "base_food_cheese", "base_food_apple"})
            bag->AddItem(CreateItemInstance(*world.Type(id), -1, nullptr));
    }
    CItemBag* Bag() { return section.bags.FindBagById(victim.bagId); }
    CMonster victim;
};

}  // namespace

TEST(Stealing, ChanceWordsAndThePrompt) {
    struct {
        i32 chance;
        const char* word;
    } words[] = {{100, "very good"}, {91, "very good"}, {90, "good"}, {71, "good"}, {70, "average"},
                 {41, "average"},    {40, "slight"},    {-5, "slight"}};
    for (const auto& w : words) EXPECT_STREQ(CStealing::ChanceWord(w.chance), w.word) << w.chance;

    StealWorld s;
    CStealing steal(s.host);
    s.world.player.skills[kSkillStealth] = 10;
    s.host.perception = 30;
    struct {
        i32 people;
        const char* text;
    } prompts[] = {{0, "Do you try to steal (chance: average)?"},
                   {1, "Do you try to steal (chance: average)?"},
                   {2, "There are people around.\rDo you try to steal (chance: average)?"},
                   {5, "There are people around.\rDo you try to steal (chance: slight)?"}};
    for (const auto& p : prompts) {
        s.host.people = p.people;
        steal.OnStealPrompt(&s.section, &s.victim);
        EXPECT_EQ(s.host.promptTexts.back(), p.text) << p.people;
        EXPECT_EQ(s.host.promptButtons.back(), 12);
        EXPECT_EQ(s.host.screenMode, 13);
        EXPECT_EQ(steal.StealChance(p.people), 60 - 5 * p.people);
    }
    s.world.player.skills[kSkillStealth] = 30;
    EXPECT_EQ(steal.StealChance(1), 95) << "stealth at the perception";
    EXPECT_EQ(steal.StealChance(30), -50) << "not clamped";
}

TEST(Stealing, AttemptsUnderASeededGenerator) {
    // Chance 95: successes take one of the three items; the generator decides which and when.
    StealWorld s;
    CStealing steal(s.host);
    s.world.player.skills[kSkillStealth] = 50;
    s.host.people = 1;
    steal.OnStealPrompt(&s.section, &s.victim);
    i32 stolen = 0, failed = 0;
    for (i32 i = 0; i < 6; ++i) {
        const size_t before = s.host.posted.size();
        steal.TrySteal();
        ASSERT_EQ(s.host.posted.size(), before + 1);
        const std::string& said = s.host.posted.back();
        if (said.rfind("You have stolen ", 0) == 0)
            ++stolen;
        else if (said == "You failed!")
            ++failed;
        else
            EXPECT_EQ(said, "There's nothing to steal!");
    }
    EXPECT_EQ(stolen, 3) << "the bag held three";
    EXPECT_EQ(s.Bag()->GetItemCount(), 0);
    EXPECT_EQ(s.world.player.CountItems("base_food_bread") + s.world.player.CountItems("base_food_cheese") +
                  s.world.player.CountItems("base_food_apple"),
              3);
    EXPECT_EQ(s.world.player.skillUse[kSkillStealth], 6);
    EXPECT_EQ(failed, static_cast<i32>(s.host.alerted.size()));
}

TEST(Stealing, AFailureIsACrime) {
    StealWorld s;
    CStealing steal(s.host);
    s.world.player.skills[kSkillStealth] = 0;
    s.host.perception = 100;
    s.host.people = 12;  // chance 0: every roll fails
    s.world.player.crime = 999;
    s.world.player.fame = 10;
    s.world.player.skillUse[kSkillStealth] = 255;
    steal.OnStealPrompt(&s.section, &s.victim);
    steal.TrySteal();
    EXPECT_EQ(s.host.posted.back(), "You failed!");
    EXPECT_EQ(s.world.player.crime, 1000u);
    EXPECT_EQ(s.world.player.fame, 8);
    EXPECT_EQ(s.world.player.skillUse[kSkillStealth], 255);
    ASSERT_EQ(s.host.alerted.size(), 1u);
    EXPECT_EQ(s.host.alerted[0], &s.victim);
    const auto& shown = s.world.host.shown;
    ASSERT_GE(shown.size(), 2u);
    EXPECT_EQ(shown[shown.size() - 2], "You have committed a crime.");
    EXPECT_EQ(shown.back(), "Your fame has been decreased.");
    EXPECT_EQ(s.Bag()->GetItemCount(), 3);
}

TEST(Stealing, NothingToStealIsNoCrime) {
    StealWorld s;
    CStealing steal(s.host);
    s.world.player.skills[kSkillStealth] = 100;
    s.victim.bagId = 0;
    steal.OnStealPrompt(&s.section, &s.victim);
    steal.TrySteal();
    EXPECT_EQ(s.host.posted.back(), "There's nothing to steal!");
    EXPECT_EQ(s.world.player.crime, 0u);
}

// ---- travel and magic ----

TEST(TravelEvents, MarkRecallAndTheirRefusals) {
    MapObjectWorld m;
    CTravelEvents travel(m.host);
    CMapSection here;
    m.host.current = &here;
    struct {
        u16 flags;
        const char* mark;
        const char* recall;
    } cases[] = {{0x0008 | 0x0400, "Mark is denied on this map.", "Teleport magic is denied on this map."},
                 {0x0400, "Teleport magic is denied on this map.", "Teleport magic is denied on this map."},
                 {0x0008, "Mark is denied on this map.", "You haven't marked any positions to recall."},
                 {0, nullptr, "You haven't marked any positions to recall."}};
    for (const auto& c : cases) {
        here.flags = c.flags;
        m.host.posted.clear();
        m.host.markRecall.clear();
        travel.OnMarkEvent();
        travel.OnRecallEvent();
        std::vector<std::string> said = m.host.posted;
        if (c.mark) {
            ASSERT_EQ(said.size(), 2u);
            EXPECT_EQ(said[0], c.mark);
            EXPECT_EQ(said[1], c.recall);
        } else {
            ASSERT_EQ(said.size(), 1u);
            EXPECT_EQ(said[0], c.recall);
            ASSERT_EQ(m.host.markRecall.size(), 1u);
            EXPECT_TRUE(m.host.markRecall[0]);
            EXPECT_EQ(m.host.screenMode, 14);
        }
    }
    here.flags = 0;
    m.world.player.UpdateMarkSlots();
    m.world.player.SetMarkedPosition(0, "base", "base_vale", 3, 4, 0);
    travel.OnRecallEvent();
    EXPECT_FALSE(m.host.markRecall.back()) << "recall mode";
}

TEST(TravelEvents, TownPortalSearchesRingsButNeverTheOwnPiece) {
    MapObjectWorld m;
    CTravelEvents travel(m.host);
    CMapSection here, own, near, far;
    here.flags = 0;
    m.host.current = &here;
    own.id = "base_own";
    near.id = "base_near";
    far.id = "base_far";
    for (CMapSection* s : {&own, &near, &far}) s->flags = CTravelEvents::kTownPortalTarget;
    const char* nearName = "base_neartownportal";
    const char* farName = "base_fartownportal";
    const char* ownName = "base_owntownportal";
    CPlacement a, b, c;
    a.name = nearName;
    b.name = farName;
    c.name = ownName;
    near.placements.push_back(a);
    far.placements.push_back(b);
    own.placements.push_back(c);
    m.host.worldX = 2 * 21 + 5;  // piece (2, 3)
    m.host.worldY = 3 * 21 + 20;
    m.host.grid = {{2, 3, &own}, {4, 5, &near}, {2, 0, &far}};
    travel.OnTownPortalEvent();
    ASSERT_EQ(m.host.travel.size(), 1u);
    EXPECT_EQ(m.host.travel[0].destination, nearName) << "ring 2 before ring 3";
    EXPECT_EQ(m.host.travel[0].how, "keyword");
    EXPECT_EQ(m.host.travel[0].kind, 1);

    // Without the portal's placement, or without the town flag, a piece does not count.
    near.placements.clear();
    far.flags = 0;
    m.host.travel.clear();
    m.host.piecesSearched = 0;
    travel.OnTownPortalEvent();
    EXPECT_TRUE(m.host.travel.empty());
    EXPECT_EQ(m.host.posted.back(), "Teleport failed.");
    EXPECT_EQ(m.host.piecesSearched, 39 * 39 - 1) << "19 rings";

    here.flags = CTravelEvents::kNoTeleport;
    travel.OnTownPortalEvent();
    EXPECT_EQ(m.host.posted.back(), "Teleport magic is denied on this map.");
}

TEST(TravelEvents, EnchantingWaitsForCalm) {
    MapObjectWorld m;
    CTravelEvents travel(m.host);
    travel.OnEnchantEvent(7);
    travel.OnRechargeEvent();
    ASSERT_EQ(m.host.enchant.size(), 2u);
    EXPECT_EQ(m.host.enchant[0], std::make_pair(u16(7), false));
    EXPECT_EQ(m.host.enchant[1], std::make_pair(u16(0), true));
    EXPECT_EQ(m.host.screenMode, 15);
    m.host.fightCountdown = 4;
    travel.OnEnchantEvent(7);
    travel.OnRechargeEvent();
    EXPECT_EQ(m.host.enchant.size(), 2u);
    ASSERT_EQ(m.host.posted.size(), 2u);
    EXPECT_EQ(m.host.posted[0], "You cannot enchant items when there might be immediate threat.");
    EXPECT_EQ(m.host.posted[1], "You cannot recharge wands when there might be immediate threat.");
}

TEST(TravelEvents, ExaminingShowsMoreWithTheLevel) {
    CCreatureFacts wolf;
    wolf.name = "Wolf";
    wolf.level = 3;
    wolf.hp = 12;
    wolf.maxHp = 20;
    wolf.xp = 40;
    wolf.strength = 9;
    wolf.dexterity = 14;
    wolf.endurance = 8;
    wolf.intelligence = 2;
    wolf.activeEffects = "\rPoisoned";
    struct {
        u32 level;
        const char* text;
    } cases[] = {
        {19, "Wolf\rLevel: 3\rHp: 12\r"},
        {20, "Wolf\rLevel: 3\rHp: 12/20\r"},
        {30, "Wolf\rLevel: 3\rHp: 12/20\r"},
        {31, "Wolf\rLevel: 3\rHp: 12/20\rXp: 40\r"},
        {41, "Wolf\rLevel: 3\rHp: 12/20\rXp: 40\rStr:9, Dex:14, End:8, Int:2\r"},
        {51, "Wolf\rLevel: 3\rHp: 12/20\rXp: 40\rStr:9, Dex:14, End:8, Int:2\rActive effects:\rPoisoned"},
    };
    for (const auto& c : cases) EXPECT_EQ(CTravelEvents::ExamineText(wolf, c.level), c.text) << c.level;
    CCreatureFacts guard;
    guard.name = "Guard";
    guard.person = true;
    guard.perception = 35;
    EXPECT_EQ(CTravelEvents::ExamineText(guard, 20), "Guard\r");
    EXPECT_EQ(CTravelEvents::ExamineText(guard, 21), "Guard\rPerception: 35");

    MapObjectWorld m;
    m.host.facts = guard;
    CTravelEvents travel(m.host);
    CMonster someone;
    travel.OnExamineCreatureEvent(nullptr, someone, 30);
    EXPECT_EQ(m.host.posted.back(), "Guard\rPerception: 35");
    EXPECT_EQ(m.host.buttonFlags.back(), 1);
}

// ---- bags, the world map, scenes, paralysis ----

TEST(MapBags, AContainerOpensItsBagInTheInventoryPanel) {
    MapObjectWorld m;
    CMapInteractions view(m.host);
    CPlacement& chest = m.Place(1);
    EXPECT_FALSE(view.OpenObjectBag(&m.section, chest, 3, 4)) << "no bag";
    chest.bagId = m.section.bags.CreateBag(0)->id;
    ASSERT_TRUE(view.OpenObjectBag(&m.section, chest, 3, 4));
    EXPECT_EQ(m.host.thumbnails, 1);
    EXPECT_EQ(m.host.sounds.back(), "bsnd_bagopen");
    ASSERT_EQ(m.host.changedCells.size(), 1u);
    EXPECT_EQ(m.host.changedCells[0], std::make_tuple(&m.section, 3, 4, -1));
    ASSERT_EQ(m.host.entered.size(), 1u);
    const auto [screen, entry] = m.host.entered[0];
    EXPECT_EQ(screen, 4);
    EXPECT_EQ(entry.mode, 0u);
    EXPECT_EQ(entry.what, m.section.bags.FindBagById(chest.bagId));
    EXPECT_EQ(entry.object, &chest);
    EXPECT_EQ(entry.section, &m.section);
    EXPECT_TRUE(entry.keepUnderneath);

}

TEST(MapBags, TheGroundBagIsMadeWhereNoneLies) {
    MapObjectWorld m;
    CMapObject* altar = m.Add(4, "base_altar");
    CCellWindow window;
    // An underground section of the window's size with the player at (10, 10).
    CWorld world;
    m.section.world = &world;
    window.Fill(&world, &m.section, CCellRefs{}, 0);
    CMapInteractions view(m.host);
    ASSERT_TRUE(view.OpenGroundBag(window, m.table));
    const auto [screen, entry] = m.host.entered.back();
    EXPECT_EQ(screen, 4);
    EXPECT_EQ(entry.mode, 1u);
    ASSERT_NE(entry.what, nullptr);
    EXPECT_EQ(window.Cell(10, 10)->bag, static_cast<const CItemBag*>(entry.what)->id);
    // The same bag the next time.
    ASSERT_TRUE(view.OpenGroundBag(window, m.table));
    EXPECT_EQ(m.host.entered.back().second.what, entry.what);
    EXPECT_EQ(m.section.bags.Count(), 1);
    // Under an object that keeps bags out, the panel opens without one (no built-in type row carries
    // the flag; a world's object may).
    altar->typeFlags |= CMapInteractions::kNoGroundBags;
    window.Cell(11, 10)->centre = m.table.IndexOf(altar);
    m.host.playerX = 11;
    ASSERT_TRUE(view.OpenGroundBag(window, m.table));
    EXPECT_EQ(m.host.entered.back().second.what, nullptr);
    EXPECT_EQ(m.section.bags.Count(), 1);
}

TEST(MapBags, TheWorldMapScenesAndTheEndOfParalysis) {
    MapObjectWorld m;
    CMapInteractions view(m.host);
    m.host.busy = true;
    EXPECT_FALSE(view.OpenWorldMap());
    EXPECT_TRUE(m.host.sounds.empty());
    m.host.busy = false;
    EXPECT_TRUE(view.OpenWorldMap());
    EXPECT_EQ(m.host.screenMode, 7);
    EXPECT_EQ(m.host.sounds.back(), "bsnd_letteropenclose");

    EXPECT_FALSE(view.OnPlaySceneEvent("base_nothing"));
    EXPECT_FALSE(view.OnPlaySceneEvent(nullptr));
    ASSERT_TRUE(view.OnPlaySceneEvent("base_intro"));
    EXPECT_EQ(m.host.entered.back().first, 11);
    EXPECT_EQ(m.host.entered.back().second.mode, 1u);

    view.OnParalysisEnded();
    EXPECT_TRUE(m.host.shown.empty()) << "not paralysed";
    m.world.player.ApplyEffect(PlayerFx(28, 10, 5), 3);
    ASSERT_TRUE(m.world.player.IsParalyzed());
    view.OnParalysisEnded();
    ASSERT_EQ(m.host.shown.size(), 1u);
    EXPECT_EQ(m.host.shown[0], "You're no longer paralyzed.");
    EXPECT_FALSE(m.world.player.IsParalyzed());
    EXPECT_EQ(m.host.handSprites, 1);
}

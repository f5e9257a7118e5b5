// The creatures of the built cellar in the running game view, headless, with the manual clock and a
// seeded generator: the player walks up to a creature and strikes it with the attack key until it
// dies (its bag on the floor, its experience gained); a player who only turns on the spot is beaten
// to death and the view asks for the death screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/Random.h"
#include "data/CreatureCatalogue.h"
#include "data/ItemBag.h"
#include "data/ItemType.h"
#include "data/MapSection.h"
#include "data/RuleContext.h"
#include "data/Spells.h"
#include "data/TextureSet.h"
#include "script/ScriptContext.h"
#include "tests/data/BuiltWorld.h"
#include "tests/support/Png.h"
#include "tests/ui/WidgetRig.h"
#include "tests/world/BuiltViewFixture.h"
#include "tests/world/CreatureFixture.h"
#include "ui/ScreenIds.h"
#include "world/Fight.h"
#include "world/GameCreatures.h"
#include "world/GameScreen.h"

namespace {

// The placed shelf of the cellar runs a script on its events; nothing else takes events.
class ShelfScript : public IGameViewObjects {
public:
    u32 ObjectEventMask(u16) const override { return 0; }
    u32 CreatureEventMask(CMapSection&, u8) const override { return 0; }
    const char* ObjectScript(u16, const CPlacement* p) const override {
        return p && std::string_view(p->name) == "base_shelf" ? "base_cellarenter" : nullptr;
    }
    i32 HandleObjectEvent(u32, CMapSection*, u16, CPlacement*, i32, i32, i32, bool&) override { return 0; }
    i32 HandleCreatureEvent(u32, CMapSection&, u8, i32, i32, bool&) override { return 0; }
};

class GameCreaturesTest : public builtview::BuiltViewTest {
protected:
    void SetUp() override {
        builtview::BuiltViewTest::SetUp();
        if (HasFatalFailure()) return;
        cellar = view->section;
        ASSERT_STREQ(cellar->GetName(), "base_cellar");
        ASSERT_NE(view->Fight(), nullptr);
    }
    // One tick; a message box that opened is answered Ok (the player reads and goes on).
    u32 TickAndRead() {
        const u32 code = Tick();
        if (view->screenMode == CGameScreen::kModeMessage) {
            ++messages;
            view->OnCommand(CButtonBar::kOk);
        }
        return code;
    }
    // Puts the player at a window cell facing a direction, with the creatures gathered there.
    void PlaceAt(i32 x, i32 y, i32 facing) {
        view->facing = view->targetFacing = facing;
        view->SetPosition(x, y);
        for (int i = 0; i < 400 && view->IsBusy(); ++i) TickAndRead();
    }
    // The key that brings the player one move nearer the creature: a turn towards it, a step along
    // the longer axis, or the attack when it stands in front.
    u32 MoveTowards(const CMonster& m) {
        i32 x = 0, y = 0;
        view->window.SectionToWindowCell(cellar, m.x, m.y, x, y);
        const i32 dx = x - view->playerX, dy = y - view->playerY;
        const u32 want = std::abs(dx) >= std::abs(dy) ? (dx > 0 ? 1u : 3u) : (dy > 0 ? 2u : 0u);
        const u32 now = CGameScreen::DirectionOfFacing(view->facing);
        if (want != now) return want == ((now + 1) & 3) ? 1006 : 1004;
        return std::abs(dx) + std::abs(dy) == 1 ? 3000 : 1000;
    }
    const CMonsterType* Type(const char* id) const { return built.lists.creatures.FindMonsterType(id); }

    CMapSection* cellar = nullptr;
    int messages = 0;
};

TEST_F(GameCreaturesTest, ThePlayerStrikesTheWolfDeadForItsBagAndItsExperience) {
    const u8 wolfId = 3;
    const CMonster* wolf = cellar->FindMonster(wolfId);
    ASSERT_NE(wolf, nullptr);
    ASSERT_STREQ(wolf->Type()->GetName(), "base_wolf_grey");
    const u8 startX = wolf->x, startY = wolf->y;
    u8 deathX = startX, deathY = startY;
    player.attributes[kStrength] = 60;
    player.attributes[kDexterity] = 60;
    player.hp = 400;
    const u32 xp = player.xp;
    PlaceAt(24, 31, 270);

    int attacks = 0, ticks = 0;
    for (; ticks < 20000 && (wolf = cellar->FindMonster(wolfId)) != nullptr; ++ticks) {
        deathX = wolf->x;
        deathY = wolf->y;
        if (TickAndRead() == kScreenDeath) FAIL() << "the player died";
        if (view->IsBusy()) continue;
        const u32 key = MoveTowards(*wolf);
        Key(key);
        if (key == 3000) ++attacks;
    }
    ASSERT_EQ(cellar->FindMonster(wolfId), nullptr) << "after " << ticks << " ticks";
    RecordProperty("ticks", ticks);
    EXPECT_GT(attacks, 0);
    EXPECT_TRUE(deathX != startX || deathY != startY) << "the wolf came for the player";
    EXPECT_EQ(player.xp, xp + Type("base_wolf_grey")->values[creature::kExperience]);
    // Its loot lies where it fell, in a bag of its cell.
    i32 x = 0, y = 0;
    ASSERT_TRUE(view->window.SectionToWindowCell(cellar, deathX, deathY, x, y));
    const CMapCell* cell = view->window.Cell(x, y);
    ASSERT_NE(cell, nullptr);
    const CItemBag* bag = cell->bag ? cellar->bags.FindBagById(static_cast<u8>(cell->bag)) : nullptr;
    ASSERT_NE(bag, nullptr);
    EXPECT_GT(bag->items.GetCount(), 0);
    // The view draws it there: the cell's pile shows the picture of the loot's first item that has one.
    u16 picture = 0;
    for (int i = 0; i < bag->GetItemCount() && picture == 0; ++i)
        picture = built.textures.FindPictureIndex(bag->GetItem(i)->type->texts[1]);
    ASSERT_NE(picture, 0) << "the loot shows a picture";
    const u16 group = view->viewState.cellViews[static_cast<size_t>(y * kWindowCells + x)].pictureGroup;
    ASSERT_NE(group, 0);
    EXPECT_EQ(view->viewState.pictureGroups[group].pictures[0], picture);
    // The fight plays its music while it lasts.
    EXPECT_GT(view->surroundings.fightCountdown, 0u);
    EXPECT_EQ(view->surroundings.currentMusic, "bmus_fight");
    // The fight is over: nothing keeps the view busy.
    for (int i = 0; i < 400 && view->IsBusy(); ++i) TickAndRead();
    EXPECT_GT(messages, 0);
    EXPECT_EQ(view->IsBusy(), 0u);
}

TEST_F(GameCreaturesTest, APlayerWhoOnlyTurnsIsBeatenToDeathAndTheDeathScreenFollows) {
    CMonster* skeleton = cellar->CreateMonster(Type("base_skeleton_warrior"), 22, 20);
    ASSERT_NE(skeleton, nullptr);
    skeleton->flags = creature::kTypeAggression;
    view->window.PlaceObjectNear(cellar, *skeleton, 22, 20);
    player.hp = 30;
    PlaceAt(22, 22, 270);
    u32 code = 0;
    int ticks = 0;
    for (; ticks < 40000 && code == 0; ++ticks) {
        code = TickAndRead();
        if (code == 0 && !view->IsBusy()) Key(1004);
    }
    RecordProperty("ticks", ticks);
    EXPECT_EQ(player.hp, 0);
    EXPECT_EQ(code, static_cast<u32>(kScreenDeath));
    EXPECT_EQ(view->inGame, 0u);
}

// A player who stands still is not left alone: once the view has rested a second, the next 200 ms
// phase gives the creatures a turn. Nothing else starts one: a message box on the view, or a creature
// that is not hostile, keeps them waiting; a turn in which nobody can act still counts, so that the
// next waits a second too; and the second of rest takes the player's keys.
TEST_F(GameCreaturesTest, ACreatureTakesItsTurnOnlyAfterTheViewHasRestedASecond) {
    // The skeleton alone in the cellar.
    for (const CMonster& m : cellar->monsters) view->window.RemoveCreatureFromCell(cellar, m);
    cellar->monsters.clear();
    CMonster* skeleton = cellar->CreateMonster(Type("base_skeleton_warrior"), 22, 21);
    ASSERT_NE(skeleton, nullptr);
    const u8 id = skeleton->id;
    view->window.PlaceObjectNear(cellar, *skeleton, 22, 21);
    player.hp = 400;
    auto turnStarted = [&] { return view->Fight()->near.Count() > 0; };
    // Ticks (messages left open) until the creatures' turn starts or 5 s have passed.
    auto waitForTurn = [&] {
        const u32 from = rig.clock.TickCount();
        while (!turnStarted() && rig.clock.TickCount() - from < 5000) Tick();
    };
    struct Case {
        const char* what;
        bool hostile;
        bool message;  // a message box stays open
        bool turns;
    } cases[] = {
        {"hostile, the view at rest", true, false, true},
        {"hostile, a message box open", true, true, false},
        {"not hostile", false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cellar->FindMonster(id)->flags = c.hostile ? creature::kTypeAggression : 0;
        PlaceAt(22, 22, 0);
        ASSERT_EQ(view->IsBusy(), 0u);
        if (c.message) view->PostMessageEvent("Wait.", 1, nullptr);
        if (c.message) Tick();
        const u32 restingSince = view->restSince;
        waitForTurn();
        // The time the view has rested when the turn starts.
        const u32 rested = rig.clock.TickCount() - restingSince;
        if (c.turns) {
            EXPECT_TRUE(turnStarted());
            EXPECT_GE(rested, 1000u);
            EXPECT_LE(rested, 1000u + 208u + 26u) << "the first 200 ms phase after the second";
        } else {
            EXPECT_FALSE(turnStarted()) << "after " << rested << " ms";
        }
        if (c.message) view->OnCommand(CButtonBar::kOk);
    }
    // A hostile creature that cannot act (paralysed) is looked at once a second, not at every phase:
    // each look draws one number to place it in the list.
    cellar->FindMonster(id)->flags = creature::kTypeAggression;
    cellar->effects.AddMonsterEffect(id, 1, 1000, 28, 0, nullptr);
    PlaceAt(22, 22, 0);
    const u32 from = view->random->GetIndex();
    for (int i = 0; i < 5000 / 26; ++i) Tick();
    const u32 to = view->random->GetIndex();
    const u32 draws = to >= from ? to - from : CRandom::kStateSize - from + to;
    EXPECT_GE(draws, 3u);
    EXPECT_LE(draws, 6u);
    cellar->effects.Clear();
    // In the second of rest after a turn the player's key is taken: the turn to the right starts.
    cellar->FindMonster(id)->flags = creature::kTypeAggression;
    PlaceAt(22, 22, 0);
    waitForTurn();
    ASSERT_TRUE(turnStarted());
    for (int i = 0; i < 400 && view->IsBusy(); ++i) TickAndRead();
    ASSERT_EQ(view->IsBusy(), 0u);
    Key(1006);
    EXPECT_TRUE(view->turning);
}

// The creature the view sounds now and then is one of the creatures near the player: once the
// player has left the map, none of the old map's creatures is heard any more.
TEST_F(GameCreaturesTest, TheCreaturesOfAMapLeftBehindAreNotHeard) {
    PlaceAt(22, 22, 0);
    CMonster* skeleton = cellar->CreateMonster(Type("base_skeleton_warrior"), 22, 18);
    ASSERT_NE(skeleton, nullptr);
    view->window.PlaceObjectNear(cellar, *skeleton, 22, 18);
    for (int i = 0; i < 400 && !view->creatures->SoundCreature(); ++i) {
        if (view->Fight()->near.Count() == 0) view->Fight()->near.Scan();
        TickAndRead();
    }
    ASSERT_NE(view->creatures->SoundCreature(), nullptr);
    CMapSection* town = built.base->FindSectionByName("base_s0202");
    ASSERT_NE(town, nullptr);
    view->EnterMapAt(built.base.get(), town, 12, 12, 2);
    ASSERT_EQ(view->section, town);
    EXPECT_EQ(view->creatures->SoundCreature(), nullptr);
    for (int i = 0; i < 100; ++i) {
        Tick();
        const CMonster* heard = view->creatures->SoundCreature();
        ASSERT_TRUE(heard == nullptr || view->Fight()->near.soundSection != cellar) << "tick " << i;
    }
}

TEST_F(GameCreaturesTest, TheTargetPanelShowsTheCreatureInFrontWithItsHealth) {
    CMonster* rat = cellar->FindMonster(1);
    ASSERT_NE(rat, nullptr);
    i32 x = 0, y = 0;
    ASSERT_TRUE(view->window.SectionToWindowCell(cellar, rat->x, rat->y, x, y));
    // Face the rat from three cells west of it: it is the first target, at full health.
    PlaceAt(x - 3, y, 270);
    rat = cellar->FindMonster(1);
    ASSERT_NE(rat, nullptr);
    view->UpdateTarget();
    ASSERT_TRUE(view->targets[0].visible);
    EXPECT_STREQ(view->targets[0].name.GetText(), rat->Type()->displayName ? rat->Type()->displayName : "");
    EXPECT_EQ(view->targets[0].health, static_cast<u32>(CCreatures::HpPercent(*rat)));
    rat->hp = static_cast<u16>(CCreatures::MaxHp(*rat) / 2);
    view->UpdateTarget();
    EXPECT_EQ(view->targets[0].health, static_cast<u32>(CCreatures::HpPercent(*rat)));
    EXPECT_LT(view->targets[0].health, 100u);
}

TEST_F(GameCreaturesTest, ScriptsMakeFindCalmAndRemoveCreaturesOfTheView) {
    IScriptWorld& scripts = view->scriptWorld;
    CMonsterType* wolf = scripts.FindMonsterType("base_wolf_grey");
    ASSERT_NE(wolf, nullptr);
    EXPECT_EQ(scripts.FindMonsterType("base_no_such_creature"), nullptr);
    // Outside the section nothing is made; inside, the creature stands in its window cell.
    EXPECT_FALSE(scripts.CreateMonster(cellar, wolf, 35, 3, true));
    EXPECT_FALSE(scripts.CreateMonster(cellar, wolf, -1, 3, true));
    ASSERT_TRUE(scripts.CreateMonster(cellar, wolf, 20, 16, true));
    const u16 made = view->window.Cell(20, 16)->creature[0];
    ASSERT_NE(made, 0);
    // A creature bound to a placed object answers for it by the object's name.
    const CPlacement* shelf = cellar->FindPlacementByName("base_shelf");
    ASSERT_NE(shelf, nullptr);
    cellar->FindMonster(static_cast<u8>(made))->objectId = shelf->id;
    IScriptCreature* bound = scripts.FindMonsterByName("base_shelf");
    ASSERT_NE(bound, nullptr);
    EXPECT_STREQ(bound->GetTypeId(), "base_wolf_grey");
    EXPECT_EQ(scripts.FindMonsterByName("base_nowhere"), nullptr);
    // The calming scan: every hostile creature near the player becomes peaceful.
    PlaceAt(20, 18, 0);
    EXPECT_GT(scripts.ScanCreatures(7, 0), 0);
    EXPECT_FALSE(view->window.IsThreatNearby());
    EXPECT_EQ(scripts.ScanCreatures(7, 0), 0);
    // Removal takes the made wolf out of its cell and the section; the cellar's own wolf stays.
    scripts.RemoveMonstersOfType(cellar, wolf);
    EXPECT_EQ(view->window.Cell(20, 16)->creature[0], 0);
    EXPECT_EQ(cellar->FindMonster(static_cast<u8>(made)), nullptr);
    EXPECT_NE(cellar->FindMonster(3), nullptr);
}

TEST_F(GameCreaturesTest, TheWolfStandsOnTheFloorOfTheViewTwoCellsAhead) {
    // Calmed, the wolf stays where it stands; the player faces it from two cells south.
    CMonster* wolf = cellar->FindMonster(3);
    ASSERT_NE(wolf, nullptr);
    wolf->flags &= static_cast<u8>(~(creature::kTypeAggression | creature::kAggressive));
    PlaceAt(wolf->x, wolf->y + 2, 0);
    ASSERT_EQ(cellar->FindMonster(3)->y + 2, view->playerY);
    ASSERT_NE(cellar->FindMonster(3)->viewIndex, 0) << "the caches numbered its sprite";
    view->Draw();
    const CViewState3D& v = view->viewState;
    testing_support::Rgb565Image frame =
        rig.Capture(static_cast<int>(v.viewX), static_cast<int>(v.viewY), static_cast<int>(v.viewWidth),
                    static_cast<int>(v.viewHeight));
    EXPECT_TRUE(testing_support::MatchesGolden("world_gameview_wolf", frame));
}

TEST_F(GameCreaturesTest, ACreatureBoundToAScriptedObjectLeavesItsEventsToTheScript) {
    CScriptContext context;
    ShelfScript objects;
    host.context = &context;
    view->SetHost(&host);
    view->SetObjects(&objects);
    view->EnterCreatures();
    CMonsterType* wolfType = view->scriptWorld.FindMonsterType("base_wolf_grey");
    ASSERT_TRUE(view->scriptWorld.CreateMonster(cellar, wolfType, 8, 20, true));
    ASSERT_TRUE(view->scriptWorld.CreateMonster(cellar, wolfType, 9, 20, true));
    const u8 bound = static_cast<u8>(view->window.Cell(8, 20)->creature[0]);
    const u8 free = static_cast<u8>(view->window.Cell(9, 20)->creature[0]);
    cellar->FindMonster(bound)->objectId = cellar->FindPlacementByName("base_shelf")->id;
    CCreatures& creatures = view->Fight()->creatures;
    for (u8 id : {bound, free}) {
        const int hp = cellar->FindMonster(id)->hp;
        CCreatureEvent hit;
        hit.amount = 3;
        creatures.RaiseEvent(creature::kEventHit, *cellar, id, hit);
        if (id == bound) {
            EXPECT_EQ(cellar->FindMonster(id)->hp, hp) << "the shelf's script took the blow";
            EXPECT_EQ(context.GetEventKind(), creature::kEventHit);
            EXPECT_EQ(context.GetSection(), cellar);
        } else {
            EXPECT_EQ(cellar->FindMonster(id)->hp, hp - 3) << "a free creature takes it itself";
        }
    }
    view->SetObjects(nullptr);
    view->SetHost(nullptr);
}

// A creature standing in sight steps through its walk frames once a second (its picture changing
// with them), never sooner; one in the wind-up of an attack keeps its frame meanwhile.
TEST_F(GameCreaturesTest, AStandingCreatureChangesItsWalkFrameOnceASecond) {
    CMonster* wolf = cellar->FindMonster(3);
    ASSERT_NE(wolf, nullptr);
    wolf->flags &= static_cast<u8>(~(creature::kTypeAggression | creature::kAggressive));
    PlaceAt(wolf->x, wolf->y + 2, 0);
    wolf = cellar->FindMonster(3);
    const CCellObject* sprite = view->creatures->SpriteOf(*wolf);
    ASSERT_NE(sprite, nullptr);
    std::vector<u32> changes;
    std::vector<u16> pictures{sprite->picture};
    int step = (sprite->flags >> 8) & 7;
    for (u32 elapsed = 0; elapsed < 6000; elapsed += 26) {
        TickAndRead();
        sprite = view->creatures->SpriteOf(*cellar->FindMonster(3));
        ASSERT_NE(sprite, nullptr);
        const int now = (sprite->flags >> 8) & 7;
        if (now == step) continue;
        EXPECT_EQ(now, (step + 1) % 4) << "one step at a time";
        step = now;
        changes.push_back(elapsed);
        pictures.push_back(sprite->picture);
    }
    ASSERT_GE(changes.size(), 5u);
    EXPECT_LE(changes.size(), 6u);
    for (size_t i = 1; i < changes.size(); ++i) EXPECT_GE(changes[i] - changes[i - 1], 1000u);
    std::sort(pictures.begin(), pictures.end());
    EXPECT_GE(std::unique(pictures.begin(), pictures.end()) - pictures.begin(), 2) << "the frames show";
}

// The first-person hands stand over the view's lower corners from the start: the fist of an
// unarmed player rises and falls through a blow and is back in its place after it.
TEST_F(GameCreaturesTest, TheWeaponHandShowsOverTheViewAndMovesThroughABlow) {
    PlaceAt(24, 31, 270);
    view->Draw();
    const CViewState3D& v = view->viewState;
    const CItemCatalogue* items = player.GetWorld()->items;
    const CFpsAnimation* fist = items ? items->FindFpsAnimation("bres_fpsfist") : nullptr;
    ASSERT_NE(fist, nullptr);
    ASSERT_FALSE(fist->frameIndices.empty());
    ASSERT_NE(fist->frameIndices[0], 0) << "the fist's pictures are found";
    EXPECT_EQ(v.overlayB, fist->frameIndices[0]);
    const u16 restX = v.overlayBWidth, restY = v.overlayBHeight;
    EXPECT_GT(restX, 0);
    EXPECT_GT(restY, 0);
    Key(3000);
    bool moved = false;
    for (int i = 0; i < 200 && view->IsBusy(); ++i) {
        TickAndRead();
        view->Draw();
        moved = moved || v.overlayB != fist->frameIndices[0] || v.overlayBWidth != restX ||
                v.overlayBHeight != restY;
    }
    EXPECT_TRUE(moved);
    view->Draw();
    EXPECT_EQ(v.overlayB, fist->frameIndices[0]);
    EXPECT_EQ(v.overlayBWidth, restX);
    EXPECT_EQ(v.overlayBHeight, restY);
}

// A blow or a spell that meets no creature reaches the map object in its cell: its handler gets
// the event, and its script finds the blow's damage in the script context.
class ObjectEvents : public IGameViewObjects {
public:
    u32 ObjectEventMask(u16) const override { return creature::kEventHit | creature::kEventSpell; }
    u32 CreatureEventMask(CMapSection&, u8) const override { return 0; }
    const char* ObjectScript(u16, const CPlacement*) const override { return nullptr; }
    i32 HandleObjectEvent(u32 code, CMapSection*, u16, CPlacement*, i32 x, i32 y, i32, bool&) override {
        events.push_back({code, x, y});
        return 0;
    }
    i32 HandleCreatureEvent(u32, CMapSection&, u8, i32, i32, bool&) override { return 0; }
    struct Event {
        u32 code;
        i32 x, y;
    };
    std::vector<Event> events;
};

TEST_F(GameCreaturesTest, ABlowAndASpellOnAnEmptyCellReachItsMapObject) {
    CScriptContext context;
    ObjectEvents objects;
    host.context = &context;
    view->SetObjects(&objects);
    // A cell of the cellar with an object in its centre and no creature.
    i32 sx = -1, sy = -1;
    for (i32 y = 0; y < 35 && sx < 0; ++y)
        for (i32 x = 0; x < 35; ++x) {
            const CMapCell* c = view->window.Cell(x, y);
            const CPlacement* p = c && c->centreId ? cellar->FindPlacement(c->centreId) : nullptr;
            if (c && c->centre != kNoCellIndex && c->creature[0] == 0 && (!p || (p->flags & CPlacement::kVisible))) {
                sx = x;
                sy = y;
                break;
            }
        }
    ASSERT_GE(sx, 0);
    ASSERT_EQ(view->window.Cell(sx, sy)->creature[0], 0);
    CCombatActions& actions = view->Fight()->actions;
    actions.ResolveBlow(sx, sy, 0);
    ASSERT_EQ(objects.events.size(), 1u);
    EXPECT_EQ(objects.events[0].code, static_cast<u32>(creature::kEventHit));
    EXPECT_EQ(objects.events[0].x, sx);
    EXPECT_EQ(objects.events[0].y, sy);
    EXPECT_EQ(context.GetEventKind(), creature::kEventHit);
    int low = 0, high = 0;
    player.ComputeAttack(low, high, false);
    EXPECT_GE(context.GetDamage(), low);
    EXPECT_LE(context.GetDamage(), high);
    const CSpell* bolt = player.GetWorld()->spells->FindById("base_spelllightningbolt");
    ASSERT_NE(bolt, nullptr);
    actions.SpellImpact(*bolt, 40, sx, sy, false, true);
    ASSERT_EQ(objects.events.size(), 2u);
    EXPECT_EQ(objects.events[1].code, static_cast<u32>(creature::kEventSpell));
    EXPECT_EQ(context.GetDamage(), 40) << "the spell's strength";
    // Outside the window nothing is raised.
    actions.ResolveBlow(-1, 3, 0);
    EXPECT_EQ(objects.events.size(), 2u);
    view->SetObjects(nullptr);
}

// A new character as the creation screens leave it (every attribute 15, the kit of the chosen class
// skills) walks up to the cellar rat, turns on the spot until it has bitten (through armour a bite
// lands now and then, if only as a graze) and fights it: whatever the kit, its blows bring the rat down in a bounded number.
struct StartKit {
    const char* name;
    u8 skills[6];
};

class RatFight : public GameCreaturesTest, public ::testing::WithParamInterface<StartKit> {};

TEST_P(RatFight, ANewCharacterKillsTheCellarRatAndIsBittenOnTheWay) {
    CCreatedCharacter created;
    for (int i = 0; i < 6; ++i) created.skills[i] = GetParam().skills[i];
    player.GiveStartingKit(created);
    ASSERT_EQ(player.attributes[kStrength], 15);
    ASSERT_EQ(player.attributes[kDexterity], 15);
    const u8 ratId = 1;
    const CMonster* rat = cellar->FindMonster(ratId);
    ASSERT_NE(rat, nullptr);
    ASSERT_STREQ(rat->Type()->GetName(), "base_rat_small");
    const u32 xp = player.xp;
    int blows = 0, bites = 0, ticks = 0;
    int hp = player.hp;
    for (; ticks < 20000 && (rat = cellar->FindMonster(ratId)) != nullptr; ++ticks) {
        if (TickAndRead() == kScreenDeath) FAIL() << "the rat killed a new character";
        if (player.hp < hp) ++bites;
        hp = player.hp;
        if (view->IsBusy()) continue;
        // Beside the rat the player only turns (the rat answers each move) until it has bitten, then
        // strikes.
        u32 key = MoveTowards(*rat);
        if (key == 3000 && bites == 0 && ticks < 6000) key = 1004;
        Key(key);
        if (key == 3000) ++blows;
    }
    RecordProperty("blows", blows);
    EXPECT_EQ(cellar->FindMonster(ratId), nullptr) << "after " << ticks << " ticks, " << blows << " blows";
    EXPECT_GT(blows, 0);
    EXPECT_LE(blows, 30);
    EXPECT_GT(bites, 0) << "the rat never landed a blow";
    EXPECT_EQ(player.xp, xp + Type("base_rat_small")->values[creature::kExperience]);
}

INSTANTIATE_TEST_SUITE_P(
    Kits, RatFight,
    ::testing::Values(StartKit{"fists", {}}, StartKit{"lightweapon", {kSkillLightWeapon}},
                      StartKit{"heavyweaponarmour", {kSkillHeavyWeapon, kSkillHeavyArmor, kSkillBlock}}),
    [](const ::testing::TestParamInfo<StartKit>& info) { return std::string(info.param.name); });

}  // namespace

// The hands are placed for a 380 x 320 view: a smaller view shows less of them, a larger one as much;
// the second hand is the mirror image of the first.
TEST_F(GameCreaturesTest, TheHandsShrinkWithASmallView) {
    CFight* fight = view->Fight();
    ASSERT_NE(fight, nullptr);
    fight->actions.weaponHand.picture = 7;
    fight->actions.weaponHand.x = 96;
    fight->actions.weaponHand.y = 90;
    fight->actions.secondHand.picture = 8;
    fight->actions.secondHand.shown = true;
    fight->actions.secondHand.x = 120;  // beyond 100: limited first
    fight->actions.secondHand.y = 100;
    const struct {
        u32 width, height;
        u16 weaponWidth, weaponHeight, secondWidth, secondHeight;
    } cases[] = {
        {380, 320, 96, 90, 100, 100},
        {480, 400, 96, 90, 100, 100},
        // 240 wide: (240 + 140 * 7 / 12) / 380 = 321 / 380; 160 high: (160 + 80) / 320.
        {240, 160, 96 * 321 / 380, 90 * 240 / 320, 100 * 321 / 380, 100 * 240 / 320},
        {380, 150, 96, 90 * 235 / 320, 100, 100 * 235 / 320},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        CViewState3D& v = view->viewState;
        v.viewWidth = c.width;
        v.viewHeight = c.height;
        view->creatures->ShowHands(v);
        EXPECT_EQ(v.overlayB, 7);
        EXPECT_EQ(v.overlayBWidth, c.weaponWidth);
        EXPECT_EQ(v.overlayBHeight, c.weaponHeight);
        EXPECT_EQ(v.overlayA, 8);
        EXPECT_EQ(v.overlayAWidth, c.secondWidth);
        EXPECT_EQ(v.overlayAHeight, c.secondHeight);
        EXPECT_EQ(v.overlayAMirrored, 1);
    }
}

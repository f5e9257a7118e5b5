// The creatures of the built cellar in the running game view, headless, with the manual clock and a
// seeded generator: the player walks up to a creature and strikes it with the attack key until it
// dies (its bag on the floor, its experience gained); a player who only turns on the spot is beaten
// to death and the view asks for the death screen.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string_view>

#include "core/Random.h"
#include "data/CreatureCatalogue.h"
#include "data/ItemBag.h"
#include "data/MapSection.h"
#include "data/RuleContext.h"
#include "script/ScriptContext.h"
#include "tests/data/BuiltWorld.h"
#include "tests/support/Png.h"
#include "tests/ui/WidgetRig.h"
#include "tests/world/CreatureFixture.h"
#include "ui/ScreenIds.h"
#include "world/Fight.h"
#include "world/GameCreatures.h"
#include "world/GameScreen.h"

namespace {

class CellarHost : public IGameViewHost {
public:
    CellarHost(fixtures::BuiltWorld& built, CRandom& random) : built_(built), random_(random) {}
    CWorldList* GetWorldList() const override { return nullptr; }
    CWorldLists* GetWorldLists() const override { return &built_.lists; }
    CTextureSet& GetTextures() override { return built_.textures; }
    CScriptContext* GetScriptContext() override { return context; }
    CRandom* GetRandom() const override { return &random_; }
    const char* GetPendingMapName() const override { return "base_start"; }
    void SetCurrentWorld(CWorld*) override {}

    CScriptContext* context = nullptr;

private:
    fixtures::BuiltWorld& built_;
    CRandom& random_;
};

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

class GameCreaturesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(built.Loaded());
        rig.clock.SetTime(1765432100);
        random.Seed(nullptr);
        BindToBuiltWorld(built, rules, player, random);
        player.ResetToDefaults();
        view = rig.gameScreen;
        view->SetHost(&host);
        view->AttachPlayer(&player);
        view->world = built.base.get();
        rig.game.currentScreen = view;
        view->Enter(1, 0, 0, 0);
        ASSERT_NE(view->section, nullptr);
        cellar = view->section;
        ASSERT_STREQ(cellar->GetName(), "base_cellar");
        ASSERT_NE(view->Fight(), nullptr);
    }
    void TearDown() override { view->AttachPlayer(nullptr); }

    u32 Tick() {
        rig.clock.Advance(26);
        ++rig.game.tickCounter;
        return view->OnTick(rig.game.tickCounter);
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
    u32 Key(u32 command) {
        ++rig.game.tickCounter;
        return view->OnKey(command);
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

    fixtures::BuiltWorld built;
    widgetrig::Rig rig{15, 480, 400, {0, 0, 380, 320}};
    CRandom random;
    CRuleContext rules;
    CPlayer player;
    CellarHost host{built, random};
    CGameScreen* view = nullptr;
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

}  // namespace

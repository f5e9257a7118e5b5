// A new game played as a user would: the built world's start in the game view, a few steps and turns
// with the keys, the frame compared with its golden picture.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/Game.h"
#include "app/GameViewDialogs.h"
#include "data/MapObjectRecords.h"
#include "data/MapSection.h"
#include "data/WorldLists.h"
#include "data/Spells.h"
#include "screens/panels/SpellBookDialog.h"
#include "tests/app/NewGameRig.h"
#include "tests/support/FrameRig.h"
#include "tests/support/Png.h"
#include "ui/ScreenIds.h"
#include "world/Creatures.h"
#include "world/GameScreen.h"
#include "world/GameViewWorld.h"
#include "world/MapObject.h"

namespace {

struct GameViewRig : testing_support::FrameRig {
    bool StartNewGame() { return StartNewGameInView(); }
    CGameScreen* View() const { return Game()->GetGameScreen(); }
    // Ticks until the view is idle again (a step takes 8 phases of 25 ms).
    void Settle() {
        for (int i = 0; i < 40 && View()->IsBusy(); ++i) Tick(30);
        Tick(30);
    }
};

// The ladder's way down and the stairs' way up, taken by name as a passage does: the crypt's hall
// looking north to its locked door (a golden frame), and the town square at the foot of the stairs.
TEST(GameView, TheCryptAndTheTownAreReachedByTheirPassages) {
    GameViewRig rig;
    ASSERT_TRUE(rig.StartNewGame());
    CGameScreen* view = rig.View();
    rig.Settle();
    const struct {
        const char* arrival;
        const char* section;
        int x, y;
        const char* golden;
    } places[] = {{"base_crypt_arrive", "base_crypt", 17, 31, "app_gameview_crypt"},
                  // Window cells; no golden frame: the clouds do not yet drift the same in every build.
                  {"base_town_arrive", "base_s0202", 4 + 7, 5 + 7, nullptr}};
    for (const auto& place : places) {
        ASSERT_TRUE(view->ChangeMap(place.arrival, 0)) << place.arrival;
        rig.Settle();
        ASSERT_NE(view->section, nullptr);
        EXPECT_STREQ(view->section->GetName(), place.section);
        EXPECT_EQ(view->playerX, place.x);
        EXPECT_EQ(view->playerY, place.y);
        view->facing = 0;
        rig.Key(39);  // a turn and back, so the view is drawn facing north
        rig.Settle();
        rig.Key(37);
        rig.Settle();
        if (place.golden) {
            EXPECT_TRUE(testing_support::MatchesGolden(place.golden, rig.Capture())) << place.golden;
        }
    }
}

TEST(GameView, ANewGameBeginsInTheCellarAndWalks) {
    GameViewRig rig;
    ASSERT_TRUE(rig.StartNewGame());
    CGameScreen* view = rig.View();
    ASSERT_NE(view->section, nullptr);
    EXPECT_STREQ(view->section->GetName(), "base_cellar");
    EXPECT_EQ(view->playerX, 17);
    EXPECT_EQ(view->playerY, 17);
    EXPECT_EQ(view->inGame, 1u);
    EXPECT_EQ(view->surroundings.currentMusic, "bmus_dungeon");
    rig.Settle();

    // North twice: the first step reaches (17, 16), each a minute of game time.
    const u32 clock = view->gameClock.minutes;
    view->facing = 0;
    rig.Key(38);
    rig.Settle();
    EXPECT_EQ(view->playerY, 16);
    EXPECT_EQ(view->gameClock.minutes, clock + 1);

    // A turn to the east and two steps along the hall; then back west with the mouse's button.
    rig.Key(39);
    rig.Settle();
    EXPECT_EQ(view->facing, 270);
    rig.Key(38);
    rig.Settle();
    rig.Key(38);
    rig.Settle();
    EXPECT_EQ(view->playerX, 19);
    EXPECT_EQ(view->playerY, 16);
    EXPECT_EQ(view->gameClock.minutes, clock + 3);
    ASSERT_TRUE(rig.TapLayoutElement(43, 540));  // the back button
    rig.Settle();
    EXPECT_EQ(view->playerX, 18);

    testing_support::Rgb565Image frame = rig.Capture();
    EXPECT_TRUE(testing_support::MatchesGolden("app_gameview_cellar", frame));

    // A talk posted by a script opens the NPC's screen with the view kept underneath; leaving it
    // returns to the view.
    view->PostTalkEvent("Hesper");
    rig.Tick(30);
    CScreen* talk = rig.Current();
    ASSERT_NE(talk, view);
    EXPECT_TRUE(talk == rig.Game()->GetScreen(kScreenServices) || talk == rig.Game()->GetScreen(kScreenTalk));
    EXPECT_NE(rig.Game()->GetNpcForEntry(view->entryB), nullptr);
    rig.Game()->SwitchScreen(kScreenBack);
    EXPECT_EQ(rig.Current(), view);
    view->PostTalkEvent("base_npc_nobody");
    ASSERT_EQ(view->events.size(), 1u);
    EXPECT_STREQ(view->events[0]->text.GetText(), "No answer");
    view->events.clear();

    // A tap on the map opens the world map; its close button gives the view back.
    rig.Tick(30);
    ASSERT_TRUE(rig.TapLayoutElement(43, 535));
    ASSERT_EQ(view->screenMode, CGameScreen::kModeWorldMap);
    EXPECT_EQ(view->IsBusy(), 1u);
    rig.Tick(30);
    // The dialog paints its whole rectangle: the view behind must not show through its title rows.
    EXPECT_TRUE(testing_support::MatchesGolden("app_gameview_worldmap", rig.Capture()));
    view->modalChild->OnCommand(CWorldMapDialog::kCommandClose);
    EXPECT_EQ(view->screenMode, CGameScreen::kModeNormal);
    EXPECT_EQ(view->modalChild, nullptr);

    // The spell book button opens the game's spell book over the view; its close gives the view back.
    rig.Tick(30);
    view->OnCommand(543);
    ASSERT_EQ(view->screenMode, CGameScreen::kModeSpellBook);
    EXPECT_EQ(view->modalChild, &rig.Game()->GetViewDialogs().spellBook);
    rig.Tick(30);
    view->modalChild->OnCommand(CSpellBookDialog::kClose);
    EXPECT_EQ(view->screenMode, CGameScreen::kModeNormal);
    EXPECT_EQ(view->modalChild, nullptr);

    // Escape opens the main menu over the game; "Continue game" resumes the view where it was.
    rig.Tick(30);  // the view takes keys from the tick after it was resumed
    rig.Key(27);
    ASSERT_EQ(rig.Current(), rig.Game()->GetScreen(kScreenMainMenu));
    EXPECT_EQ(view->inGame, 1u);
    rig.Tick(30);
    rig.Key(40);  // down from no selection: the first entry, "Continue game"
    rig.Key(13);
    rig.Tick(30);
    ASSERT_EQ(rig.Current(), view);
    EXPECT_EQ(view->playerX, 18);
    EXPECT_EQ(view->playerY, 16);
    EXPECT_EQ(view->surroundings.currentMusic, "bmus_dungeon");

    // Hit points 0: the next tick leads to the death screen.
    rig.Game()->player.hp = 0;
    rig.Tick(30);
    EXPECT_EQ(rig.Current(), rig.Game()->GetScreen(kScreenDeath));
    EXPECT_EQ(view->inGame, 0u);
}

TEST(GameView, TheMapObjectsOfTheGameFollowTheWorldsRecordsAndGoWithTheWorld) {
    GameViewRig rig;
    ASSERT_TRUE(rig.StartNewGame());
    CGameScreen* view = rig.View();
    CMapObjectTable* table = rig.Game()->GetMapObjects();
    ASSERT_NE(table, nullptr);
    ASSERT_NE(view->viewWorld, nullptr);
    // The view asks the game's table, one object per record, each with its record's type code.
    EXPECT_EQ(&view->viewWorld->Objects(), table);
    const CMapObjectRecords& records = rig.Game()->GetWorldLists()->mapObjects;
    ASSERT_GT(records.Count(), 0u);
    ASSERT_EQ(table->Count(), records.Count());
    for (u32 i = 0; i < table->Count(); ++i)
        EXPECT_EQ(table->TypeCode(static_cast<u16>(i)), records.At(i)->typeCode);
    // The cells ask their objects: the cellar's walls block.
    bool sawWall = false;
    for (i32 y = 0; y < CCellWindow::kSize && !sawWall; ++y)
        for (i32 x = 0; x < CCellWindow::kSize && !sawWall; ++x) {
            const CMapCell* cell = view->window.Cell(x, y);
            if (cell && cell->centre != kNoCellIndex && table->TypeCode(cell->centre) == 5) {
                sawWall = true;
                EXPECT_TRUE(view->viewWorld->IsBlocking(cell->centre, nullptr));
            }
        }
    EXPECT_TRUE(sawWall);
    rig.Game()->ResetWorld();
    EXPECT_EQ(table->Count(), 0u);
}

// The rat of the cellar comes for a new character, who walks up to it with the arrow keys and
// strikes it with the attack button until it dies; its experience is the player's.
TEST(GameView, ANewCharacterFightsTheCellarRatToItsDeath) {
    GameViewRig rig;
    ASSERT_TRUE(rig.StartNewGame());
    CGameScreen* view = rig.View();
    CMapSection* cellar = view->section;
    ASSERT_NE(view->Fight(), nullptr);
    // The game began without the new-game screens: the character gets a fighter's strength and
    // dexterity as those screens would give.
    CPlayer& player = rig.Game()->player;
    player.attributes[kStrength] = 60;
    player.attributes[kDexterity] = 60;
    const u32 xp = player.xp;
    const u8 ratId = 1;
    int attacks = 0, ticks = 0;
    for (; ticks < 6000 && cellar->FindMonster(ratId) && player.hp > 0; ++ticks) {
        rig.Tick(30);
        if (view->screenMode == CGameScreen::kModeMessage) view->OnCommand(CButtonBar::kOk);
        const CMonster* rat = cellar->FindMonster(ratId);
        if (!rat || view->IsBusy()) continue;
        // A turn towards the rat, a step along the longer way, or the blow when it stands in front.
        const i32 dx = rat->x - view->playerX, dy = rat->y - view->playerY;
        const u32 want = std::abs(dx) >= std::abs(dy) ? (dx > 0 ? 1u : 3u) : (dy > 0 ? 2u : 0u);
        const u32 now = CGameScreen::DirectionOfFacing(view->facing);
        if (want != now) {
            rig.Key(want == ((now + 1) & 3) ? 39 : 37);
        } else if (std::abs(dx) + std::abs(dy) == 1) {
            ASSERT_TRUE(rig.TapLayoutElement(43, 542));  // the attack button
            ++attacks;
        } else {
            rig.Key(38);
        }
    }
    RecordProperty("ticks", ticks);
    EXPECT_EQ(cellar->FindMonster(ratId), nullptr) << "after " << ticks << " ticks, " << attacks << " blows";
    EXPECT_GT(attacks, 0);
    EXPECT_GT(player.hp, 0);
    EXPECT_GT(player.xp, xp);
}

// The spell key opens the book; with a fire spell chosen, the spell key again casts it: the mana is
// paid, the hands raise the cast, and the flame burns the rat in front of the player.
TEST(GameView, TheSpellKeyCastsTheChosenSpellAtTheRatInFront) {
    GameViewRig rig;
    ASSERT_TRUE(rig.StartNewGame());
    CGameScreen* view = rig.View();
    CMapSection* cellar = view->section;
    CPlayer& player = rig.Game()->player;
    const CSpell* flame = player.GetWorld()->spells->FindById("base_spellburninghand");
    ASSERT_NE(flame, nullptr);
    player.LearnSpell(*flame);
    player.mana = static_cast<u16>(player.GetMaxMana());
    // The rat, calmed so that it waits, with the player west of it facing east.
    CMonster* rat = cellar->FindMonster(1);
    ASSERT_NE(rat, nullptr);
    rat->flags &= static_cast<u8>(~(creature::kTypeAggression | creature::kAggressive));
    i32 x = 0, y = 0;
    ASSERT_TRUE(view->window.SectionToWindowCell(cellar, rat->x, rat->y, x, y));
    view->facing = view->targetFacing = 270;
    view->SetPosition(x - 1, y);
    rig.Settle();
    const int hp = cellar->FindMonster(1)->hp;
    const int mana = player.mana;
    const int cost = static_cast<int>(flame->GetSkillScaledValue(*player.GetWorld()));
    ASSERT_GT(cost, 0);

    rig.Key('C');
    CSpellBookDialog& book = rig.Game()->GetViewDialogs().spellBook;
    ASSERT_EQ(view->modalChild, &book);
    book.OnCommand(CSpellBookDialog::kFirstTab + static_cast<u32>(flame->school) - 1);
    ASSERT_GT(book.entries.GetCount(), 0);
    book.entries.selection = 0;
    ASSERT_EQ(book.GetSelectedSpell(), flame);
    rig.Key('C');
    EXPECT_EQ(view->modalChild, nullptr) << "the book goes down for the cast";
    EXPECT_EQ(player.mana, mana - cost);
    bool raised = false;
    for (int i = 0; i < 100 && view->IsBusy(); ++i) {
        rig.Tick(30);
        raised = raised || view->viewState.overlayBHeight > 60;
    }
    rig.Settle();
    EXPECT_TRUE(raised) << "the casting hands rose";
    const CMonster* after = cellar->FindMonster(1);
    EXPECT_TRUE(!after || after->hp < hp) << "the flame hurt the rat";
}

}  // namespace

namespace {

// Pixels of the 3D view's lower part (well below the horizon, beside the hand) where no ground was
// drawn: black, or the sky's blue showing through.
int HolesInTheGround(const testing_support::Rgb565Image& frame) {
    int holes = 0;
    for (int y = 200; y < 360; ++y)
        for (int x = 14; x < 490; ++x) {
            const uint16_t p = frame.At(x, y);
            const int r = (p >> 11) << 3, g = ((p >> 5) & 63) << 2, b = (p & 31) << 3;
            if (p == 0 || (b > r + 40 && b > g)) ++holes;
        }
    return holes;
}

}  // namespace

// Across the borders of the surface pieces the ground goes on: each piece shows its own cells and,
// where they leave the ground open, its own default ground; the town's paved roads run on into the
// vale's grass, which is drawn beside them.
TEST(GameView, TheGroundGoesOnAcrossThePiecesOfTheSurface) {
    testing_support::NewGameRig rig;
    ASSERT_TRUE(rig.StartInTown());
    CGameScreen* view = rig.View();
    CWorld* world = rig.Game()->worlds->Current();
    const struct {
        const char* piece;
        int x, y, facing;
    } poses[] = {
        {"base_s0202", 10, 20, 180},  // the town's south road into the South Road piece
        {"base_s0202", 0, 10, 90},    // west into the Western Meadow
        {"base_s0202", 20, 20, 135},  // the corner towards the Old Mill
        {"base_s0203", 10, 3, 0},     // back north from the South Road into the town
        {"base_s0203", 10, 10, 0},    // along the South Road's paving
        {"base_s0101", 10, 10, 270},
    };
    for (const auto& p : poses) {
        SCOPED_TRACE(testing::Message() << p.piece << " " << p.x << "," << p.y << " facing " << p.facing);
        CMapSection* s = world->FindSectionByName(p.piece);
        ASSERT_NE(s, nullptr);
        if (view->section != s) view->EnterMapAt(world, s, p.x, p.y, 0);
        view->facing = view->targetFacing = p.facing;
        view->SetPosition(p.x, p.y);
        rig.SettleView();
        view->flags |= kFormRedrawAll;
        rig.Tick(30);
        EXPECT_EQ(HolesInTheGround(rig.Capture()), 0);
    }
}

namespace {

bool HasWidget(const CForm& form, const CWidget* w) {
    for (int i = 0; i < form.widgets.GetCount(); ++i)
        if (form.widgets.At<CWidget>(i) == w) return true;
    return false;
}

}  // namespace

// The large layouts give the game view its hand area (the hand of the display orientation in its
// frame) and a frame round the 3D view, 8 pixels larger on every side; the small ones neither.
TEST(GameView, TheHandAreaAndTheViewFrameBelongToTheLargeLayouts) {
    testing_support::NewGameRig rig;
    ASSERT_TRUE(rig.StartNewGame());
    CGameScreen* view = rig.View();
    const CViewState3D& v = view->viewState;
    ASSERT_TRUE(HasWidget(*view, &view->viewFrame));
    ASSERT_TRUE(HasWidget(*view, &view->handArea));
    EXPECT_EQ(view->viewFrame.x + 8u, v.viewX);
    EXPECT_EQ(view->viewFrame.y + 8u, v.viewY);
    EXPECT_EQ(view->viewFrame.w, v.viewWidth + 16);
    EXPECT_EQ(view->viewFrame.h, v.viewHeight + 16);
    EXPECT_NE(view->handArea.picture, nullptr);
    // Drawn: the frame's band beside the view is no longer the black of the screen, and the hand's
    // frame lies 8 pixels round the hand picture in the middle of its area.
    view->flags |= kFormRedrawAll;
    rig.Tick(30);
    const testing_support::Rgb565Image frame = rig.Capture();
    const int bandX = static_cast<int>(v.viewX) - 4, midY = static_cast<int>(v.viewY + v.viewHeight / 2);
    EXPECT_NE(frame.At(bandX, midY), 0);
    EXPECT_EQ(view->handArea.frameWidth, 96 + 16);
    EXPECT_EQ(view->handArea.frameX, view->handArea.x + (view->handArea.w - 96) / 2 - 8);

    for (u32 mode : {1u, 5u, 15u}) {
        SCOPED_TRACE(mode);
        rig.Game()->ruleContext.layoutMode = mode;
        view->SetupHud();
        EXPECT_EQ(HasWidget(*view, &view->viewFrame), mode == 15);
        EXPECT_EQ(HasWidget(*view, &view->handArea), mode == 15);
        EXPECT_TRUE(HasWidget(*view, &view->compass)) << "the rest of the HUD stays";
    }
}

// A fight in the running game with the manual clock, the player giving no input at all: a hostile
// creature two cells away comes up on its own turns and strikes again and again (the view takes the
// player's keys between its turns), until the player dies; the death screen follows, and its OK leads
// back to the main menu, which offers no game to continue.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/MainFrame.h"
#include "screens/frontend/DeathScreen.h"
#include "screens/frontend/MainMenuScreen.h"
#include "tests/app/NewGameRig.h"
#include "ui/ButtonBar.h"
#include "world/Fight.h"

namespace {

// A new game with the player two cells south of the cellar's skeleton warrior, facing it, and no
// other hostile creature about.
bool StartFacingTheSkeleton(testing_support::NewGameRig& rig) {
    if (!rig.StartNewGame()) return false;
    CGameScreen* view = rig.View();
    view->facing = view->targetFacing = 0;
    view->SetPosition(22, 22);
    if (rig.OnlyHostileAt("base_skeleton_warrior", 22, 20) == nullptr) return false;
    rig.SettleView();
    return true;
}

// The fight goes on with only the clock moving, a message it shows read and closed, until `done`
// holds (at most 3000 ticks); whether it came to hold.
template <typename Done>
bool FightUntil(testing_support::NewGameRig& rig, Done done) {
    CGameScreen* view = rig.View();
    for (int ticks = 0; ticks < 3000 && !done(); ++ticks) {
        rig.Tick(30);
        if (view->screenMode == CGameScreen::kModeMessage) view->OnCommand(CButtonBar::kOk);
    }
    return done();
}

TEST(CombatInPlay, ACreatureStrikesAPlayerWhoStandsStillUntilDeathAndTheMenuFollows) {
    testing_support::NewGameRig rig;
    ASSERT_TRUE(StartFacingTheSkeleton(rig));
    CGameScreen* view = rig.View();
    CPlayer& player = rig.Game()->player;
    player.hp = 12;

    // Only the clock moves; a message the fight shows is read and closed, as any player would.
    std::vector<int> restBefore;  // for each blow after the first: the idle ticks since the one before
    int blows = 0, idle = 0, ticks = 0;
    int hp = player.hp;
    for (; ticks < 6000 && rig.Current() == view; ++ticks) {
        rig.Tick(30);
        if (rig.Current() != view) break;
        if (view->screenMode == CGameScreen::kModeMessage) view->OnCommand(CButtonBar::kOk);
        if (player.hp < hp) {
            if (blows++ > 0) restBefore.push_back(idle);
            idle = 0;
        }
        hp = player.hp;
        if (view->IsBusy() == 0) ++idle;
    }
    RecordProperty("ticks", ticks);
    ASSERT_GE(blows, 3) << "after " << ticks << " ticks";
    // Between two blows the view rested a second (33 ticks of 30 ms), taking the player's keys.
    for (size_t i = 0; i < restBefore.size(); ++i) EXPECT_GE(restBefore[i], 33) << "before blow " << i + 2;
    EXPECT_EQ(player.hp, 0);
    ASSERT_EQ(rig.Current(), rig.Game()->GetScreen(kScreenDeath));
    EXPECT_EQ(view->inGame, 0u);

    // The death screen's OK goes to the main menu; Enter presses it (in the wide layouts Enter is the
    // attack key).
    rig.Tick(30);
    rig.Key(13);
    ASSERT_EQ(rig.Current(), rig.Game()->GetScreen(kScreenMainMenu));
    auto* menu = static_cast<CMainMenuScreen*>(rig.Current());
    EXPECT_FALSE(menu->GameInProgress());
    for (int i = 0; i < menu->list.GetCount(); ++i)
        EXPECT_NE(menu->list.GetItem(i)->value, kMenuContinue) << i;
    for (int i = 0; i < 10; ++i) rig.Tick(30);
    EXPECT_EQ(rig.Current(), rig.Game()->GetScreen(kScreenMainMenu));
}

// A blow that lands shows the hurt display over the player's portrait (the hit picture's frames),
// so that a player struck from the side or from behind sees it; then the portrait shows alone.
TEST(CombatInPlay, ABlowShowsTheHitPictureOverThePortraitThenThePortraitAlone) {
    testing_support::NewGameRig rig;
    ASSERT_TRUE(StartFacingTheSkeleton(rig));
    CGameScreen* view = rig.View();
    CPlayer& player = rig.Game()->player;
    const int hp = player.hp;
    ASSERT_EQ(view->portrait.secondPicture, nullptr);
    const CRecordHolder* face = view->portrait.picture;
    ASSERT_TRUE(FightUntil(rig, [&] { return player.hp < hp; })) << "no blow landed";
    std::vector<CRecordHolder*> frames;
    for (int i = 0; i < 20; ++i) {
        if (view->portrait.secondPicture &&
            (frames.empty() || frames.back() != view->portrait.secondPicture))
            frames.push_back(view->portrait.secondPicture);
        rig.Tick(30);
    }
    EXPECT_GE(frames.size(), 3u) << "the hit picture plays frame by frame";
    EXPECT_EQ(view->portrait.secondPicture, nullptr) << "the portrait alone again";
    EXPECT_EQ(view->portrait.picture, face);
}

// A key tapped while a creature's blow keeps the view busy is not lost: the turn starts as soon as
// the view is free again. (A key pressed during the player's own step is still dropped.)
TEST(CombatInPlay, ATurnKeyTappedDuringACreaturesBlowTurnsOnceTheViewIsFree) {
    testing_support::NewGameRig rig;
    ASSERT_TRUE(StartFacingTheSkeleton(rig));
    CGameScreen* view = rig.View();
    CPlayer& player = rig.Game()->player;
    player.hp = 1000;
    const auto creaturesBusy = [view] { return view->AreCreaturesBusy(); };
    ASSERT_TRUE(FightUntil(rig, creaturesBusy));
    ASSERT_EQ(view->IsBusy(), 1u);
    rig.Key('E');  // turn right
    EXPECT_EQ(view->targetFacing, 0);
    for (int i = 0; i < 60 && view->targetFacing == 0; ++i) rig.Tick(30);
    EXPECT_EQ(view->targetFacing, 270);
}

// The sword and potion buttons wait likewise: a potion wanted in the middle of a fight is offered as
// soon as the view is free, and the sword strikes then.
TEST(CombatInPlay, ThePotionAndSwordButtonsTappedDuringACreaturesBlowActOnceTheViewIsFree) {
    testing_support::NewGameRig rig;
    ASSERT_TRUE(StartFacingTheSkeleton(rig));
    CGameScreen* view = rig.View();
    CPlayer& player = rig.Game()->player;
    player.hp = 1000;
    const auto creaturesBusy = [view] { return view->AreCreaturesBusy(); };
    ASSERT_TRUE(FightUntil(rig, creaturesBusy));
    view->OnCommand(CGameScreen::kCommandPotions);
    EXPECT_NE(view->screenMode, CGameScreen::kModePotions) << "not while the blow lasts";
    for (int i = 0; i < 60 && view->screenMode != CGameScreen::kModePotions; ++i) rig.Tick(30);
    ASSERT_EQ(view->screenMode, CGameScreen::kModePotions) << "the potions once the view is free";
    view->CloseModal();
    ASSERT_EQ(view->screenMode, CGameScreen::kModeNormal);

    ASSERT_TRUE(FightUntil(rig, creaturesBusy));
    const u32 clock = view->gameClock.Minutes();
    view->OnCommand(542);  // the sword button
    EXPECT_EQ(view->gameClock.Minutes(), clock);
    for (int i = 0; i < 60 && view->gameClock.Minutes() == clock; ++i) rig.Tick(30);
    EXPECT_GT(view->gameClock.Minutes(), clock) << "the blow is struck once the view is free";
}

// Every command a player gives while a creature's blow keeps the view busy is carried out once the
// view is free again, whether it came from a key or a HUD button: nothing the player asked for in a
// fight is lost, and nothing waits longer than the key queue allows.
TEST(CombatInPlay, EveryCommandGivenDuringACreaturesBlowIsCarriedOutOnceTheViewIsFree) {
    using testing_support::NewGameRig;
    struct Case {
        const char* what;
        std::function<void(NewGameRig&)> give;
        std::function<bool(NewGameRig&)> done;
    };
    // A tap on a widget of the view (the view's widgets are looked up when the case is given).
    const auto tapOn = [](std::function<const CWidget&(CGameScreen&)> widget) {
        return [widget](NewGameRig& rig) {
            const CWidget& w = widget(*rig.View());
            rig.Tap(w.x + w.w / 2, w.y + w.h / 2);
        };
    };
    const auto mode = [](u32 m) { return [m](NewGameRig& rig) { return rig.View()->screenMode == m; }; };
    const auto screen = [](u32 id) {
        return [id](NewGameRig& rig) { return rig.Current() == rig.Game()->GetScreen(id); };
    };
    u32 clock = 0;
    const Case cases[] = {
        {"the spell book key", [](NewGameRig& rig) { rig.Key('C'); }, mode(CGameScreen::kModeSpellBook)},
        {"the spell book button", tapOn([](CGameScreen& v) -> const CWidget& { return v.spellButton; }),
         mode(CGameScreen::kModeSpellBook)},
        {"the potion button", tapOn([](CGameScreen& v) -> const CWidget& { return v.potionButton; }),
         mode(CGameScreen::kModePotions)},
        {"the rest button", tapOn([](CGameScreen& v) -> const CWidget& { return v.restButton; }),
         [](NewGameRig& rig) {
             return std::string(rig.View()->messageText.GetText()).find("monsters around") != std::string::npos;
         }},
        {"Escape", [](NewGameRig& rig) { rig.Key(27); }, screen(kScreenMainMenu)},
        {"the inventory key", [](NewGameRig& rig) { rig.Key('I'); }, screen(kScreenPanels)},
        {"the turn button", tapOn([](CGameScreen& v) -> const CWidget& { return v.buttons[3]; }),
         [](NewGameRig& rig) { return rig.View()->targetFacing != 0; }},
        // A blow struck advances the clock by a minute.
        {"the sword button",
         [&clock, tapOn](NewGameRig& rig) {
             clock = rig.View()->gameClock.Minutes();
             tapOn([](CGameScreen& v) -> const CWidget& { return v.buttons[0]; })(rig);
         },
         [&clock](NewGameRig& rig) { return rig.View()->gameClock.Minutes() > clock; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        NewGameRig rig;
        ASSERT_TRUE(StartFacingTheSkeleton(rig));
        CGameScreen* view = rig.View();
        rig.Game()->player.hp = 1000;
        ASSERT_EQ(KeyDownCommand('C', false, rig.Game()->layoutMode, rig.Game()->settings.Key), kCommandSpellBook);
        ASSERT_TRUE(FightUntil(rig, [view] { return view->AreCreaturesBusy() && view->IsBusy(); }));
        c.give(rig);
        EXPECT_FALSE(c.done(rig)) << "not while the blow lasts";
        bool done = false;
        // Carried out within the time the key queue allows (a second and a half), and shown by the
        // tick after, without a message to close.
        for (int i = 0; i < 52 && !done; ++i) {
            rig.Tick(30);
            done = c.done(rig);
        }
        EXPECT_TRUE(done);
    }
}

// A command kept while the view is busy runs if the view comes free within a second and a half
// (the time the key queue allows); after that it has lost its moment and is dropped.
TEST(CombatInPlay, AKeptCommandRunsWithinASecondAndAHalfAndIsDroppedAfter) {
    testing_support::NewGameRig rig;
    ASSERT_TRUE(rig.StartNewGame());
    CGameScreen* view = rig.View();
    CMapSection* map = view->section;
    ASSERT_NE(map, nullptr);
    for (const CMonster& m : map->monsters) view->window.RemoveCreatureFromCell(map, m);
    map->monsters.clear();
    view->EnterCreatures();
    rig.SettleView();
    for (const int waited : {1470, 1590}) {
        SCOPED_TRACE(waited);
        view->busy = 1;
        rig.Key('C');
        rig.Tick(static_cast<u32>(waited));
        view->busy = 0;
        rig.Tick(30);
        EXPECT_EQ(view->screenMode == CGameScreen::kModeSpellBook, waited < 1500);
        rig.Tick(30);  // the book takes keys from the tick after it opened
        if (view->modalChild) rig.Game()->SendCommand(kCommandAttack);  // the book's own closing key
        rig.Tick(30);
        ASSERT_EQ(view->screenMode, CGameScreen::kModeNormal);
    }
}

// A kill made by holding the strike key tells its experience as a kill by spell does: the message
// stays however long the key is held (its key-downs repeat) and goes with a fresh press.
TEST(CombatInPlay, AKillByTheHeldStrikeKeyShowsItsExperienceUntilTheKeyIsPressedAfresh) {
    testing_support::NewGameRig rig;
    ASSERT_TRUE(rig.StartNewGame());
    CGameScreen* view = rig.View();
    view->facing = view->targetFacing = 0;
    view->SetPosition(22, 22);
    CMonster* skeleton = rig.OnlyHostileAt("base_skeleton_warrior", 22, 21);
    ASSERT_NE(skeleton, nullptr);
    rig.SettleView();
    rig.Game()->player.hp = 1000;
    skeleton->hp = 1;
    ASSERT_EQ(KeyDownCommand(13, false, rig.Game()->layoutMode, rig.Game()->settings.Key), kCommandAttack);
    const auto holdStrike = [&rig] {
        rig.window->PushEvent(plat::Event{plat::EventType::KeyDown, 0, 0, false, 13, true});
        rig.Drain();
        rig.Tick(30);
    };
    rig.window->SetKeyDown(13, true);
    rig.Key(13);
    const auto xpShown = [view] {
        return view->screenMode == CGameScreen::kModeMessage &&
               std::string(view->messageText.GetText()).find("xp") != std::string::npos;
    };
    for (int i = 0; i < 300 && !xpShown(); ++i) holdStrike();
    ASSERT_TRUE(xpShown()) << "the skeleton falls and its experience is told";
    for (int i = 0; i < 40; ++i) holdStrike();
    EXPECT_TRUE(xpShown()) << "the held key does not answer the message";
    rig.window->SetKeyDown(13, false);
    rig.Tick(30);
    rig.Key(13);
    EXPECT_EQ(view->screenMode, CGameScreen::kModeNormal) << "a fresh press does";
}


// The shut cellar door stands between the player and a skeleton mage in the passage beyond: its
// spells stop at the door, and the player is not hurt. With the door open the mage's spells reach.
TEST(CombatInPlay, ASkeletonMageBehindTheShutCellarDoorCannotHurtThePlayer) {
    for (const bool open : {false, true}) {
        SCOPED_TRACE(open ? "door open" : "door shut");
        testing_support::NewGameRig rig;
        ASSERT_TRUE(rig.StartNewGame());
        CGameScreen* view = rig.View();
        CPlacement* door = const_cast<CPlacement*>(view->section->FindPlacementByName("base_cellardoor"));
        ASSERT_NE(door, nullptr);
        ASSERT_TRUE(door->flags & CPlacement::kClosed);
        if (open) door->flags = CPlacement::kVisible;
        view->facing = view->targetFacing = 0;
        view->SetPosition(17, 14);
        ASSERT_NE(rig.OnlyHostileAt("base_skeleton_mage", 17, 9), nullptr);
        rig.SettleView();
        CPlayer& player = rig.Game()->player;
        player.hp = 1000;
        const int hp = player.hp;
        const bool hurt = FightUntil(rig, [&] { return player.hp < hp || player.IsCursed(); });
        EXPECT_EQ(hurt, open);
    }
}

}  // namespace

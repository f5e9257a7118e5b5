// The world's scripts acting on the player of a running game: each player command reaches the real
// character, with the open world's quests, skills, attributes, races and globals found by name.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/Game.h"
#include "data/SavedGame.h"
#include "data/WorldLists.h"
#include "data/WorldRecords.h"
#include "script/ScriptContext.h"
#include "script/ScriptEngine.h"
#include "tests/app/NewGameRig.h"
#include "tools/scriptasm/ScriptAssembler.h"
#include "world/GameEvent.h"
#include "world/GameScreen.h"
#include "world/Player.h"

namespace {

using testing_support::ScriptedTownRig;

struct Row {
    const char* source;
    // The expected value of x after the run, or null when the row checks the player.
    const char* x;
    std::function<void(CPlayer&)> prepare;
    std::function<void(const CPlayer&)> check;
};

TEST(ScriptPlayerInGame, EachPlayerCommandReachesTheCharacter) {
    const auto nothing = [](CPlayer&) {};
    const auto none = [](const CPlayer&) {};
    const Row rows[] = {
        // Quests by the world's records: one the world lacks is never given.
        {"player.addquest(\"base_q_cellar\");", nullptr, nothing,
         [](const CPlayer& p) {
             ASSERT_EQ(p.quests.size(), 1u);
             EXPECT_EQ(p.quests[0].id, "base_q_cellar");
         }},
        {"player.addquest(\"base_q_nowhere\");", nullptr, nothing,
         [](const CPlayer& p) { EXPECT_TRUE(p.quests.empty()); }},
        {"player.solvequest(\"base_q_cellar\"); x = player.isquestsolved(\"base_q_cellar\");", "1",
         [](CPlayer& p) {
             p.quests.push_back({"base_q_cellar", 0});
         },
         none},
        {"player.failquest(\"base_q_cellar\"); x = player.isquestfailed(\"base_q_cellar\");", "1",
         [](CPlayer& p) {
             p.quests.push_back({"base_q_cellar", 0});
         },
         none},
        // A quest the player does not hold is not solved by naming it.
        {"player.solvequest(\"base_q_cellar\"); x = player.hasquest(\"base_q_cellar\");", "0", nothing, none},
        {"player.removequest(\"base_q_elder\");", nullptr,
         [](CPlayer& p) {
             p.quests.push_back({"base_q_elder", 1});
         },
         [](const CPlayer& p) { EXPECT_TRUE(p.quests.empty()); }},
        // Items, gold and experience.
        {"player.receiveitem(\"base_weap_dirkcheap\", 2); x = player.hasitem(\"base_weap_dirkcheap\", 2);",
         "1", nothing, none},
        {"player.removeitem(\"base_weap_dirkcheap\", 1); x = player.hasitem(\"base_weap_dirkcheap\", 2);",
         "0", [](CPlayer& p) { p.ReceiveItem("base_weap_dirkcheap", 2, false); },
         [](const CPlayer& p) { EXPECT_EQ(p.CountItems("base_weap_dirkcheap"), 1); }},
        {"player.receiveitem(\"base_no_such_item\", 1);", nullptr, nothing,
         [](const CPlayer& p) { EXPECT_EQ(p.CountItems("base_no_such_item"), 0); }},
        {"player.receivegold(50); x = player.getgold();", "150", [](CPlayer& p) { p.gold = 100; }, none},
        {"player.receivegold(-500); x = player.getgold();", "0", [](CPlayer& p) { p.gold = 100; }, none},
        {"player.findgold(25); player.removegold(5); x = player.getgold();", "120",
         [](CPlayer& p) { p.gold = 100; }, none},
        {"player.addxp(300);", nullptr, nothing, [](const CPlayer& p) { EXPECT_EQ(p.xp, 300u); }},
        {"player.addxp(-100); x = player.hassavedxp();", "100", [](CPlayer& p) { p.AddXp(300, false); },
         [](const CPlayer& p) { EXPECT_EQ(p.xp, 200u); }},
        // Skills and attributes by key or name; unknown names answer 0 and change nothing.
        {"player.addskillvalue(\"Block\", 3); x = player.getskillvalue(\"base_block\");", "13",
         [](CPlayer& p) { p.skills[kSkillBlock] = 10; }, none},
        {"x = player.getskillvalue(\"juggling\");", "0", nothing, none},
        {"player.addattributevalue(\"Str\", 2); x = player.getattributevalue(\"base_strength\");", "32",
         [](CPlayer& p) { p.attributes[kStrength] = 30; }, none},
        {"x = player.gethighestskill(\"base_block,Accuracy\");", "base_accuracy",
         [](CPlayer& p) {
             p.skills[kSkillBlock] = 10;
             p.skills[kSkillAccuracy] = 12;
         },
         none},
        // Spells, abilities, diseases.
        {"player.addspell(\"base_spellstoneskin\"); x = player.knowsspell(\"base_spellstoneskin\");", "1",
         nothing, none},
        {"player.infectdisease(\"base_disease_swampcough\"); x = player.isdiseased(\"\");", "1", nothing,
         none},
        {"player.curedisease(\"base_disease_swampcough\"); x = "
         "player.isdiseased(\"base_disease_swampcough\");",
         "0", [](CPlayer& p) { p.InfectDisease("base_disease_swampcough"); }, none},
        // Values of the character.
        {"player.sethp(7); x = player.gethp();", "7", nothing, none},
        {"player.setfullhp(); x = player.gethp() == player.getmaxhp();", "1", [](CPlayer& p) { p.hp = 1; },
         none},
        {"player.addsp(-5); x = player.getsp();", "15", [](CPlayer& p) { p.mana = 20; }, none},
        {"player.addfame(10); x = player.getfame();", "10", [](CPlayer& p) { p.fame = 0; }, none},
        {"player.addcrime(4); x = player.getcrime();", "4", [](CPlayer& p) { p.crime = 0; }, none},
        {"player.clearcrime(); x = player.getcrime();", "0", [](CPlayer& p) { p.crime = 9; }, none},
        {"x = player.getrace();", "base_etherim", [](CPlayer& p) { p.race = 2; }, none},
        {"x = player.isundead();", "1", [](CPlayer& p) { p.race = 1; }, none},
        {"x = player.getlevel();", "1", nothing, none},
        // The town is a surface piece: its cells count from the piece's corner, not the window's.
        {"x = player.getposx() * 100 + player.getposy();", "1212", nothing, none},
        // A spell cast at the player by the world's spell list; an unknown spell does nothing.
        {"player.executespell(\"base_spellcurelightwounds\", 50);", nullptr, [](CPlayer& p) { p.hp = 1; },
         [](const CPlayer& p) { EXPECT_GT(p.hp, 1); }},
        {"player.executespell(\"base_no_such_spell\", 50);", nullptr, [](CPlayer& p) { p.hp = 1; },
         [](const CPlayer& p) { EXPECT_EQ(p.hp, 1); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.source);
        ScriptedTownRig rig;
        ASSERT_TRUE(rig.StartInTown());
        CPlayer& player = rig.Game()->player;
        player.quests.clear();
        row.prepare(player);
        EXPECT_EQ(rig.Run(row.source), 0);
        if (row.x) {
            EXPECT_EQ(rig.X(), row.x);
        }
        row.check(player);
    }
}

// A quest solved by a script is told once, by its title.
TEST(ScriptPlayerInGame, ASolvedQuestIsToldOnceByItsTitle) {
    ScriptedTownRig rig;
    ASSERT_TRUE(rig.StartInTown());
    rig.Game()->player.quests.push_back({"bres_q_ring", 0});
    ASSERT_EQ(rig.Run("player.solvequest(\"bres_q_ring\");"), 0);
    const std::string log = rig.PendingMessages();
    const std::string told = "The Harbour Ring quest has been solved.";
    ASSERT_NE(log.find(told), std::string::npos) << log;
    EXPECT_EQ(log.find(told, log.find(told) + 1), std::string::npos) << log;
}

// The world's globals keep what the scripts set: the list that the saved game writes has it.
TEST(ScriptPlayerInGame, AGlobalSetByAScriptStaysInTheWorld) {
    ScriptedTownRig rig;
    ASSERT_TRUE(rig.StartInTown());
    CWorldLists& lists = *rig.Game()->worldLists;
    ASSERT_EQ(rig.Run("setglobal(\"base_ratskilled\", 7); setglobalstr(\"base_metelder\", \"yes\");"), 0);
    const CGlobalVar* rats = lists.globals.FindById("base_ratskilled");
    const CGlobalVar* met = lists.globals.FindById("base_metelder");
    ASSERT_NE(rats, nullptr);
    ASSERT_NE(met, nullptr);
    EXPECT_EQ(rats->number, 7);
    EXPECT_EQ(met->text, "yes");
    EXPECT_NE(met->type, 0);
    // Read back in a later run; a name the world lacks reads 0 and takes nothing.
    ASSERT_EQ(rig.Run("x = getglobal(\"base_ratskilled\") + getglobal(\"base_nowhere\"); "
                      "setglobal(\"base_nowhere\", 3);"),
              0);
    EXPECT_EQ(rig.X(), "7");
    EXPECT_EQ(lists.globals.FindById("base_nowhere"), nullptr);
}

}  // namespace

// The player's reports follow a talk's speech while it runs, and the view's messages before and after,
// whatever routing a finished run left behind (the intro's pages run their scripts in their own).
TEST(ScriptPlayerInGame, ThePlayersReportsGoToTheTalkOnlyWhileItRuns) {
    testing_support::TownRig rig;
    ASSERT_TRUE(rig.StartInTown());
    CGame& game = *rig.Game();
    CGameScreen* view = rig.View();
    auto viewMessages = [view] {
        std::string all;
        for (const auto& event : view->events)
            if (event->type == kEventMessage) all += std::string(event->text.GetText()) + "|";
        return all;
    };

    game.GetScriptContext()->SetupPageEvent();
    game.player.AddFame(5);
    EXPECT_NE(viewMessages().find("Your fame has been increased"), std::string::npos) << viewMessages();
    view->events.clear();

    auto* talk = dynamic_cast<CTalkScreen*>(rig.TalkTo("Tamsin"));
    ASSERT_NE(talk, nullptr);
    game.player.AddFame(5);
    std::string speech;
    for (const CTextViewLineArray* lines : {&talk->speechView.rows, &talk->speechView.pending})
        for (u32 i = 0; i < lines->Count(); ++i) speech += std::string(lines->At(i).text.GetText()) + " ";
    EXPECT_NE(speech.find("Your fame has been increased"), std::string::npos) << speech;
    EXPECT_EQ(viewMessages(), "");

    rig.TapWidget(talk->exitLink);
    ASSERT_EQ(rig.Current(), view);
    view->events.clear();
    game.player.AddFame(5);
    EXPECT_NE(viewMessages().find("Your fame has been increased"), std::string::npos) << viewMessages();
}

// The player's script commands, one row per command id, through the dispatch on "player".
#include "ScriptFixture.h"

#include "script/PlayerCommands.h"

using namespace scripttest;

namespace {

TEST(ScriptPlayerCommands, Table) {
    const CommandCase rows[] = {
        {131, "player.addquest(\"q1\");", "AddQuest q1", nullptr},
        {132, "player.solvequest(\"q1\");", "AppendMessage The Lost Ring quest has been solved. 0", nullptr},
        {132, "player.solvequest(\"q7\");", "SetQuestState q7 1", nullptr},
        {133, "player.failquest(\"q1\");", "AppendMessage The Lost Ring quest has failed. 0", nullptr},
        {134, "x = player.hasquest(\"q1\");", nullptr, "1"},
        {134, "x = player.hasquest(\"q3\");", nullptr, "0"},
        {135, "x = player.isquestsolved(\"q1\");", nullptr, "1"},
        {136, "x = player.isquestfailed(\"q2\");", nullptr, "1"},
        {137, "player.removequest(\"q1\");", "RemoveQuest q1", nullptr},
        {138, "player.finditem(\"apple\", 2);", "FindItem apple 2 1", nullptr},
        {139, "player.receiveitem(\"apple\", \"3\");", "ReceiveItem apple 3 1", nullptr},
        {140, "player.removeitem(\"apple\", 1);", "RemoveItems apple 1", nullptr},
        {141, "x = player.hasitem(\"apple\", 3);", nullptr, "1"},
        {141, "x = player.hasitem(\"apple\", 4);", nullptr, "0"},
        {143, "player.addxp(300);", "AddXp 300 1", nullptr},
        {143, "player.addxp(-300);", "RemoveXp 300 1", nullptr},
        {144, "player.removexp(50, 0);", "RemoveXp 50 0", nullptr},
        {145, "player.restoresavedxp();", "RestoreSavedXp", nullptr},
        {146, "player.findgold(20);", "AddGold 20 1 1", nullptr},
        {147, "player.receivegold(50);", "SetGold 300", nullptr},
        {147, "player.receivegold(50);", "AppendMessage You have received 50\t. 0", nullptr},
        {147, "player.receivegold(2000000000);", "SetGold 1000000000", nullptr},
        {148, "player.removegold(30);", "RemoveGold 30 1", nullptr},
        {149, "x = player.getgold();", nullptr, "250"},
        {151, "player.movemode(\"stairs1\", \"stairdown\");", "PostChangeMapEvent stairs1 6", nullptr},
        {151, "player.movemode(\"gate\");", "PostChangeMapEvent gate 0", nullptr},
        {152, "x = player.getskillvalue(\"Swordsmanship\");", nullptr, "40"},
        {152, "x = player.getskillvalue(\"juggling\");", nullptr, "0"},
        {153, "player.addskillvalue(\"sword\", -2);", "AddSkillValue 3 -2 1", nullptr},
        {154, "player.addspell(\"light\");", "LearnSpell light 1", nullptr},
        {155, "player.removespell(\"light\");", "ForgetSpell light", nullptr},
        {156, "x = player.knowsspell(\"light\");", nullptr, "1"},
        {157, "player.addability(\"nightsight\");", "AddAbility nightsight 1", nullptr},
        {158, "player.removeability(\"nightsight\");", "RemoveAbility nightsight", nullptr},
        {159, "x = player.hasability(\"nightsight\");", nullptr, "1"},
        {160, "x = player.getattributevalue(\"str\");", nullptr, "151"},
        {160, "x = player.getattributevalue(\"luck\");", nullptr, "0"},
        {161, "player.addattributevalue(\"str\", 2);", "AddAttributeValue 1 2 1", nullptr},
        {162, "player.move(\"door3\");", "PostChangeMapEvent door3 0", nullptr},
        {163, "player.movequestion(\"door3\", \"Enter?\");", "PostMapPromptEvent door3 Enter? 0 0", nullptr},
        {164, "player.turn(\"south\");", "PostTurnEvent 2", nullptr},
        {164, "player.turn();", "PostTurnEvent 0", nullptr},
        {165, "player.movepos(4, 9);", "PostSetPositionEvent 4 9", nullptr},
        {166, "x = player.getposx();", nullptr, "17"},
        {167, "x = player.getposy();", nullptr, "10",
         [](ScriptRig& rig) { rig.world.surfaceCurrent = true; }},
        {173, "player.infectdisease(\"pox\");", "InfectDisease pox", nullptr},
        {174, "player.curedisease(\"pox\");", "CureDisease pox", nullptr},
        {175, "x = player.isdiseased(\"\");", nullptr, "1",
         [](ScriptRig& rig) { rig.world.player.disease = "pox"; }},
        {175, "x = player.isdiseased(\"flu\");", nullptr, "0",
         [](ScriptRig& rig) { rig.world.player.disease = "pox"; }},
        {176, "x = player.getrace();", nullptr, "derth"},
        {177, "x = player.gethp();", nullptr, "30"},
        {178, "player.sethp(5);", "SetHp 5 1", nullptr},
        {179, "player.addhp(-5);", "AddHp -5 1", nullptr},
        {180, "player.setfullhp();", "SetFullHp 1", nullptr},
        {181, "x = player.getmaxhp();", nullptr, "40"},
        {182, "x = player.getsp();", nullptr, "7"},
        {183, "player.setsp(3);", "SetMana 3 1", nullptr},
        {184, "player.addsp(2);", "AddMana 2 1", nullptr},
        {185, "player.setfullsp();", "SetFullMana 1", nullptr},
        {186, "x = player.getmaxsp();", nullptr, "9"},
        {192, "x = player.isgood();", nullptr, "1"},
        {193, "x = player.isevil();", nullptr, "0"},
        {193, "x = player.isevil();", nullptr, "1", [](ScriptRig& rig) { rig.world.player.fame = -1; }},
        {194, "x = player.isundead();", nullptr, "1", [](ScriptRig& rig) { rig.world.player.race = 1; }},
        {195, "player.executespell(\"heal\", 30);", "CastSpellAtPlayer heal 30", nullptr},
        {196, "x = player.getfame();", nullptr, "-5", [](ScriptRig& rig) { rig.world.player.fame = -5; }},
        {197, "player.addfame(-3);", "AddFame -3", nullptr},
        {198, "x = player.getcrime();", nullptr, "6", [](ScriptRig& rig) { rig.world.player.crime = 6; }},
        {199, "player.clearcrime();", "ClearCrime", nullptr},
        {200, "player.addcrime(2);", "AddCrime 2", nullptr},
        {201, "x = player.getoutfit();", nullptr, "3"},
        {210, "x = player.getlevel();", nullptr, "4"},
        {213, "x = player.getac();", nullptr, "21"},
        {228, "player.movequestionmode(\"hole1\", \"Jump?\", \"fall\");",
         "PostMapPromptEvent hole1 Jump? 3 0", nullptr},
        {234, "player.movetojail(\"jail1\");", "PostJailEvent jail1", nullptr},
        {235, "player.moveback();", "PostStepBackEvent", nullptr},
        {236, "player.clearjail();", "ClearJail", nullptr},
        {237, "x = player.isinjail();", nullptr, "1"},
        {242, "x = player.hassavedxp();", nullptr, "120",
         [](ScriptRig& rig) { rig.world.player.savedXp = 120; }},
        {246, "x = player.ismale();", nullptr, "1"},
        {251, "x = player.gethighestskill(\"bow,Swordsmanship,heal\");", nullptr, "sword"},
        {251, "x = player.gethighestskill(\"heal,sword\");", nullptr, "heal"},
        {251, "x = player.gethighestskill(\"juggling\");", nullptr, ""},
        {254, "player.movebyship(\"port2\", \"Off you go.\");", "PostShipVoyageEvent port2 Off you go.",
         nullptr},
        {254, "player.movebyship(\"expback\", \"x\");",
         "PostShipVoyageEvent base_city2 The ship takes you back to Viruredi.", nullptr,
         [](ScriptRig& rig) {
             rig.world.worldId = "exp2";
             rig.world.expansion = 2;
         }},
    };
    for (const CommandCase& row : rows) {
        ScriptRig rig;
        RunCommandCase(rig, row);
    }
}

TEST(ScriptPlayerCommands, ShipHomeFromTheBaseWorldDoesNothing) {
    ScriptRig rig;
    EXPECT_EQ(rig.Run("player.movebyship(\"expback\", \"x\");"), 0);
    EXPECT_TRUE(rig.log.empty());
}

TEST(ScriptPlayerCommands, CommandsWithoutARowDoNothingAndGiveNoValue) {
    for (const char* name : {"isparalyzed", "ispoisoned", "iscursed", "open", "getstate", "stealgold"}) {
        ScriptRig rig;
        EXPECT_EQ(rig.Run(std::string("player.") + name + "();"), 0) << name;
        EXPECT_TRUE(rig.log.empty()) << name;
        EXPECT_EQ(rig.Run(std::string("x = player.") + name + "();"), 19) << name;
    }
}

TEST(ScriptPlayerCommands, Keywords) {
    const struct {
        const char* word;
        i32 kind;
    } kinds[] = {{"", 0},           {"teleport", 1},    {"hole", 2},     {"fall", 3},
                 {"ladderdown", 4}, {"ladder down", 4}, {"ladderup", 5}, {"ladder up", 5},
                 {"stairdown", 6},  {"stair down", 6},  {"stairup", 7},  {"stair up", 7},
                 {"swim", 0}};
    for (const auto& k : kinds) EXPECT_EQ(TransitionKindFromKeyword(k.word), k.kind) << k.word;
    EXPECT_EQ(ParseDirectionLetter("north"), 0);
    EXPECT_EQ(ParseDirectionLetter("West"), 1);
    EXPECT_EQ(ParseDirectionLetter("s"), 2);
    EXPECT_EQ(ParseDirectionLetter("E"), 3);
    EXPECT_EQ(ParseDirectionLetter(""), 0);
    EXPECT_EQ(ParseDirectionLetter("up"), 0);
}

}  // namespace

// The world commands, one row per command id with something to observe, on the fixture game.
#include "ScriptFixture.h"

using namespace scripttest;

namespace {

void Talk(ScriptRig& rig) { rig.context.SetupTalkEvent(&rig.world.npc); }
void Pages(ScriptRig& rig) { rig.context.SetupPageEvent(); }
std::function<void(ScriptRig&)> Event(i32 kind) {
    return [kind](ScriptRig& rig) {
        rig.context.SetupEvent(kind, nullptr, rig.world.section, nullptr, 3, 4, -1, 1, kRouteGameView);
    };
}

TEST(ScriptWorldCommands, Table) {
    const CommandCase rows[] = {
        {100, "x = getglobal(\"gold\");", nullptr, "5"},
        {100, "x = getglobal(\"nothing\");", nullptr, "0"},
        {101, "setglobal(\"gold\", \"9\"); x = getglobal(\"gold\");", nullptr, "9"},
        {101, "setglobal(\"nothing\", 9); x = getglobal(\"nothing\");", nullptr, "0"},
        {252, "x = getglobalstr(\"title\");", nullptr, "Warden"},
        {253, "setglobalstr(\"title\", \"a\\gb\"); x = getglobalstr(\"title\");", nullptr, "a\tb"},
        {117, "x = isdaylight();", nullptr, "1"},
        {118, "x = isnight();", nullptr, "0"},
        {119, "x = gettime();", nullptr, "3330"},
        {120, "x = getday();", nullptr, "3"},
        {121, "x = gethour();", nullptr, "7"},
        {122, "x = getminute();", nullptr, "30"},
        {123, "x = getdaydiff(0);", nullptr, "2"},
        {124, "x = gethourdiff(30);", nullptr, "55"},
        {125, "x = getminutediff(3000);", nullptr, "330"},
        {125, "x = getminutediff(5000);", nullptr, "0"},
        {244, "passtime(1, 2, 3);", "AdvanceClock 3 2 1", nullptr},
        {249, "passtimeto(\"6am\");", "AdvanceClock 30 22 0", nullptr},
        {249, "passtimeto(\"1130pm\");", "AdvanceClock 0 16 0", nullptr},
        {249, "passtimeto(\"7:30am\");", "AdvanceClock 30 23 0", nullptr},
        {249, "passtimeto(\"1300\");", nullptr, nullptr, nullptr, true},
        {249, "passtimeto(\"am\");", nullptr, nullptr, nullptr, true},
        {249, "passtimeto(\"-5am\");", nullptr, nullptr, nullptr, true},
        {221, "x = evtstepon();", nullptr, "1", Event(1)},
        {222, "x = evtstepoff();", nullptr, "1", Event(2)},
        {223, "x = evtitemchange();", nullptr, "1", Event(4)},
        {224, "x = evthit();", nullptr, "1", Event(8)},
        {225, "x = evtspell();", nullptr, "1", Event(16)},
        {226, "x = evtuse();", nullptr, "1", Event(32)},
        {227, "x = evtdie();", nullptr, "1", Event(64)},
        {243, "x = evtequip();", nullptr, "1", Event(128)},
        {245, "x = evtremove();", nullptr, "1", Event(256)},
        {247, "x = evtarrive();", nullptr, "1", Event(512)},
        {221, "x = evtstepon();", nullptr, "0", Event(2)},
        {129, "x = isspell(\"fireball\");", nullptr, "1",
         [](ScriptRig& rig) {
             Event(16)(rig);
             rig.context.SetSpellId("fireball");
         }},
        {129, "x = isspell(\"frost\");", nullptr, "0", Event(16)},
        {130, "x = isweapon(\"shield\");", nullptr, "1",
         [](ScriptRig& rig) {
             Event(8)(rig);
             rig.context.SetEventObjects("axe", "shield");
         }},
        {130, "x = isweapon(\"axe\");", nullptr, "0",
         [](ScriptRig& rig) { rig.context.SetEventObjects("axe", nullptr); }},
        {128, "setdamage(17); x = getdamage();", nullptr, "17"},
        {127, "x = getdamage();", nullptr, "0"},
        {229, "default();", "event lever 32", nullptr,
         [](ScriptRig& rig) {
             rig.context.SetupEvent(32, rig.world.objects[0].get(), rig.world.section, nullptr, 3, 4, -1, 1,
                                    1);
         }},
        {232, "x = answer();", nullptr, "4", [](ScriptRig& rig) { rig.context.SetAnswer(4); }},
        {168, "x = iscurrentmap(\"base_town\");", nullptr, "1"},
        {168, "x = iscurrentmap(\"base_cave\");", nullptr, "0"},
        {169, "x = iscurrentworld(\"base\");", nullptr, "1"},
        {142, "x = itemvalue(\"sword\");", nullptr, "120"},
        {142, "x = itemvalue(\"rock\");", nullptr, "0"},
        {188, "x = random(5);", nullptr, "2"},
        {188, "x = random(0);", nullptr, "0"},
        {187, "message(\"Hi %PCName%\");", "AppendMessage Hi Ilsa 0", nullptr},
        {187, "message(\"Hi\");", "AddTalkText Hi 2", nullptr, Talk},
        {187, "message(\"Hi\");", "SetPagesText Hi", nullptr, Pages},
        {230, "questionyesno(\"Sure %PCName%?\");", "PostMessageEvent Sure %PCName%? 12", nullptr},
        {231, "questionokcancel(\"Go?\");", "PostMessageEvent Go? 3", nullptr},
        {230, "questionyesno(\"Sure?\");", nullptr, nullptr, Talk, true},
        {231, "questionokcancel(\"Go?\");", nullptr, nullptr, Pages, true},
        {238, "createobjectlist(\"Pick\");", "CreatePendingList Pick", nullptr},
        {170, "createobjectlist(\"Pick\"); addobjecttolist(\"a\", \"A\");", "AddPendingListEntry a A",
         nullptr},
        {170, "addobjecttolist(\"a\", \"A\");", nullptr, nullptr, nullptr, true},
        {170, "createobjectlist(\"\"); addobjecttolist(\"exppack2\", \"exppack2\");",
         "AddWorldStartEntries 2 0", nullptr},
        {171, "createobjectlist(\"\"); showobjectlist();", "PostShowObjectListEvent", nullptr},
        {171, "showobjectlist();", nullptr, nullptr, nullptr, true},
        {172, "createobjectlist(\"\"); x = getobjectlistresult();", nullptr, "ring",
         [](ScriptRig& rig) { rig.context.SetChosenEntry("ring"); }},
        {172, "x = getobjectlistresult();", nullptr, "",
         [](ScriptRig& rig) { rig.context.SetChosenEntry("ring"); }},
        {238, "createobjectlist(\"T\");", "ClearTalkTopics", nullptr, Talk},
        {170, "addobjecttolist(\"t1\", \"Rumours\");", "AddTalkTopic t1 Rumours", nullptr, Talk},
        {170, "addobjecttolist(\"exppack3\", \"exppack3\");", "AddWorldStartEntries 3 1", nullptr, Talk},
        {172, "x = getobjectlistresult();", nullptr, "ring",
         [](ScriptRig& rig) {
             Talk(rig);
             rig.context.SetChosenEntry("ring");
         }},
        {233, "goodbye();", "EndTalk", nullptr, Talk},
        {233, "goodbye();", nullptr, nullptr, nullptr, true},
        {248, "gonext();", "SetTalkGoNext", nullptr, Talk},
        {250, "gofirst();", "SetTalkGoFirst", nullptr, Talk},
        {189, "talknpc(\"ostrel\");", "PostTalkEvent ostrel", nullptr, Pages},
        {202, "x = getweathercloud();", nullptr, "40"},
        {204, "x = getweatherrain();", nullptr, "300"},
        {203, "setweathercloud(\"storm\", 150);", "SetCloud 100", nullptr},
        {203, "setweathercloud(\"storm\", -1);", "SetSkyName storm", nullptr},
        {203, "setweathercloud(\"\", -1);", "SetCloud 0", nullptr},
        {205, "setweatherrain(5000);", "SetRain 999", nullptr},
        {205, "setweatherrain(-3);", "SetRain 0", nullptr},
        {190, "setmapfog(\"base_cave\", 50, \"FF0000\");", "SetSectionFog 50 63488", nullptr},
        {190, "setmapfog(\"base_cave\", 500, \"FF000\");", "SetSectionFog 100 0", nullptr},
        {190, "setmapfog(\"base_town\", 5, \"00ff00\");", "RefreshView", nullptr},
        {190, "setmapfog(\"base_surface\", 5, \"00FF00\");", nullptr, nullptr, nullptr, true},
        {190, "setmapfog(\"nowhere\", 5, \"00FF00\");", nullptr, nullptr, nullptr, true},
        {191, "resetmapfog(\"base_cave\");", "ResetSectionFog", nullptr},
        {206, "removemonstertypes(\"wolf\");", "RemoveMonstersOfType", nullptr},
        {206, "removemonstertypes(\"dragon\");", nullptr, nullptr, nullptr, true},
        {207, "createmonsterobj(\"wolf\", \"well\");", "CreateMonster 9 11 0", nullptr},
        {207, "createmonsterobj(\"wolf\", \"nowhere\");", nullptr, nullptr, nullptr, true},
        {208, "createmonsterpos(\"wolf\", 3, 4);", "CreateMonster 3 4 1", nullptr},
        {209, "createmonsterdir(\"wolf\", \"east\", 2);", "CreateMonster 19 17 1", nullptr},
        {209, "createmonsterdir(\"wolf\", \"\", 3);", "CreateMonster 17 14 1", nullptr},
        {209, "createmonsterdir(\"wolf\", \"west\", 2);", "CreateMonster 8 10 1", nullptr,
         [](ScriptRig& rig) { rig.world.surfaceCurrent = true; }},
        {217, "attractmonsters(3);", "AppendMessage You have failed to attract any monsters. 2", nullptr},
        {217, "attractmonsters(3);", "AppendMessage You have attracted some monsters. 2", nullptr,
         [](ScriptRig& rig) { rig.world.scanResult = 2; }},
        {218, "calmmonsters(4);", "ScanCreatures 4 0", nullptr},
        {218, "calmmonsters(4);", "AppendMessage You have calmed some monsters down. 2", nullptr,
         [](ScriptRig& rig) { rig.world.scanResult = 1; }},
        {218, "calmmonsters(4);", "AppendMessage You have failed to calm any monsters down. 2", nullptr},
        {211, "playsound(\"bsnd_door\", 8);", "PlaySound bsnd_door 8", nullptr},
        {212, "playmusic(\"bmus_town\");", "PlayMusic bmus_town", nullptr},
        {219, "playscene(\"bres_intro\");", "PostPlaySceneEvent bres_intro", nullptr},
        {220, "playcard(40);", nullptr, nullptr, nullptr, true},
    };
    for (const CommandCase& row : rows) {
        ScriptRig rig;
        rig.world.clock = 1440 * 2 + 7 * 60 + 30;
        rig.world.globals["gold"] = CScriptValue(5);
        rig.world.globals["title"] = CScriptValue("Warden");
        rig.world.AddObject("lever");
        RunCommandCase(rig, row);
    }
}

TEST(ScriptWorldCommands, SetupsDropAnUnshownList) {
    ScriptRig rig;
    EXPECT_EQ(rig.Run("createobjectlist(\"Pick\"); addobjecttolist(\"a\", \"A\");"), 0);
    EXPECT_TRUE(rig.context.IsListBuilt());
    const int before = rig.world.pendingListsDropped;
    rig.context.SetupEvent(kEventUse, nullptr, rig.world.section, nullptr, 1, 1, -1, 1, kRouteGameView);
    EXPECT_EQ(rig.world.pendingListsDropped, before + 1);
    EXPECT_FALSE(rig.context.IsListBuilt());
    rig.log.clear();
    EXPECT_EQ(rig.Run("showobjectlist(); x = getobjectlistresult();"), 0);
    EXPECT_TRUE(rig.log.empty());
    EXPECT_EQ(rig.Text("x"), "");
}

TEST(ScriptWorldCommands, PlaycardYieldsNoValue) {
    ScriptRig rig;
    EXPECT_EQ(rig.Run("x = playcard(1);"), 19);
}

TEST(ScriptWorldCommands, ClockEdges) {
    ScriptRig rig;
    rig.world.clock = 0;
    EXPECT_EQ(rig.Run("a = getday(); b = isdaylight(); c = isnight();"), 0);
    EXPECT_EQ(rig.Num("a"), 1);
    EXPECT_EQ(rig.Num("b"), 0);
    EXPECT_EQ(rig.Num("c"), 1);
    rig.world.clock = 1440 + 21 * 60 + 59;
    EXPECT_EQ(rig.Run("a = getday(); b = isdaylight();"), 0);
    EXPECT_EQ(rig.Num("a"), 2);
    EXPECT_EQ(rig.Num("b"), 1);
    // At the goal time already nothing passes.
    rig.world.clock = 6 * 60;
    rig.log.clear();
    EXPECT_EQ(rig.Run("passtimeto(\"6am\"); passtimeto(\"12am\");"), 0);
    ASSERT_EQ(rig.log.size(), 1u);
    EXPECT_EQ(rig.log[0], "AdvanceClock 0 18 0");
}

TEST(ScriptWorldCommands, PositionsOutsideTheSectionCreateNothing) {
    const char* outside[] = {
        "createmonsterpos(\"wolf\", 64, 4);",
        "createmonsterpos(\"wolf\", -1, 0);",
        "createmonsterpos(\"wolf\", 0, 100000);",
        "createmonsterdir(\"wolf\", \"north\", 40);",
        "createmonsterdir(\"wolf\", \"e\", 2147483647);",
    };
    for (const char* source : outside) {
        ScriptRig rig;
        EXPECT_EQ(rig.Run(source), 0) << source;
        EXPECT_TRUE(rig.log.empty()) << source;
    }
    ScriptRig rig;
    EXPECT_EQ(rig.Run("createmonsterpos(\"wolf\", 63, 0);"), 0);
    EXPECT_TRUE(rig.Logged("CreateMonster 63 0 1"));
}

}  // namespace

// Text macros and the routing of in-game messages.
#include "ScriptFixture.h"

#include "script/ScriptMessages.h"

using namespace scripttest;

namespace {

std::string Expand(ScriptRig& rig, const char* text) {
    CStr s(text);
    ExpandTextMacros(rig.context, s);
    return s.GetText();
}

TEST(ScriptMessages, Macros) {
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"Hello %PCName%!", "Hello Ilsa!"},
        {"hello %pcname% and %PCNAME%", "hello Ilsa and Ilsa"},
        {"%NPCName% waves.", "Ostrel waves."},
        {"A %PCRace% stands here.", "A Derth stands here."},
        {"Fine: %PCCrimeGold%", "Fine: 1000"},
        {"Purse: %PCGold%", "Purse: 12K"},
        {"Ill with %PCDisease%.", "Ill with ."},
        {"Day %Day% -- %Date%", "Day 2 -- Day 2, 3:05 pm"},
        {"Gold: %Global:gold%.", "Gold: 5."},
        {"[%Global:nothing%]", "[]"},
        {"%Global:gold%%Global:title%", "5Warden"},
        {"%global:gold% %global:GOLD%", "5 "},
        {"Welcome to %Map%.", "Welcome to Harbour Town."},
        {"You see %AAN% orc.", "You see an orc."},
        {"%CAAN% sword.", "A sword."},
        {"%AAN% orc and %AAN% sword", "an orc and a sword"},
        {"%CAAN% \"apple\" and %caan% 7", "An \"apple\" and A 7"},
        {"at the end %AAN%", "at the end a"},
        {"no macros at all", "no macros at all"},
        {"100% sure", "100% sure"},
        // A global macro without its closing "%" and everything after it stay as they are.
        {"Hi %Global:gold", "Hi %Global:gold"},
        {"%Global:gold% and %Global:title", "5 and %Global:title"},
        // A global whose text holds a macro is not expanded again.
        {"[%Global:loop%]", "[%Global:loop%]"},
    };
    for (const Case& c : cases) {
        ScriptRig rig;
        rig.world.player.gold = 12345;
        rig.world.player.crime = 10;
        rig.world.clock = 1440 + 15 * 60 + 5;
        rig.world.globals["gold"] = CScriptValue(5);
        rig.world.globals["title"] = CScriptValue("Warden");
        rig.world.globals["loop"] = CScriptValue("%Global:loop%");
        rig.context.SetupTalkEvent(&rig.world.npc);
        EXPECT_EQ(Expand(rig, c.text), c.expected) << c.text;
    }
}

TEST(ScriptMessages, NpcNameWithoutNpcAndDisease) {
    ScriptRig rig;
    rig.world.player.disease = "Marsh Fever";
    EXPECT_EQ(Expand(rig, "%NPCName%: %PCDisease%"), "?: Marsh Fever");
}

TEST(ScriptMessages, CompactGold) {
    const struct {
        u32 value;
        const char* text;
    } cases[] = {{0, "0"},        {9999, "9999"},      {12345, "12K"},     {999999, "999K"},
                 {2500000, "2M"}, {999999999, "999M"}, {1000000000, "1B"}, {4294967295u, "4B"}};
    for (const auto& c : cases) {
        CStr out;
        FormatCompactGold(c.value, out);
        EXPECT_STREQ(out.GetText(), c.text) << c.value;
    }
}

TEST(ScriptMessages, Routing) {
    ScriptRig rig;
    ShowGameMessage(rig.context, "plain %PCName%", 0);
    ShowGameMessage(rig.context, "loud", 1);
    EXPECT_EQ(rig.log, (Log{"AppendMessage plain Ilsa 0", "AppendMessage loud 2"}));
    rig.log.clear();
    rig.context.SetupTalkEvent(&rig.world.npc);
    ShowGameMessage(rig.context, "talk", 0);
    rig.context.SetupPageEvent();
    ShowGameMessage(rig.context, "page", 1);
    EXPECT_EQ(rig.log, (Log{"AddTalkText talk 2", "SetPagesText page"}));
    rig.log.clear();
    rig.context.SetRouting(kRouteNone);
    ShowGameMessage(rig.context, "dropped", 0);
    rig.context.SetRouting(7);
    ShowGameMessage(rig.context, "dropped", 0);
    EXPECT_TRUE(rig.log.empty());
}

}  // namespace

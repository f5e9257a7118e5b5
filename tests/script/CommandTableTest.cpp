// The command table and the dispatch of each command to its target.
#include "ScriptFixture.h"

#include "script/ScriptCommands.h"

#include <algorithm>
#include <set>

using namespace scripttest;

namespace {

TEST(ScriptCommandTable, HoldsAllCommandsInIdOrder) {
    ScriptRig rig;
    ASSERT_EQ(rig.engine.GetCommandRecordCount(), 155u);
    int perTarget[4] = {};
    std::set<std::string> names;
    for (i32 id = 100; id <= 254; ++id) {
        const script::CommandRow* row = rig.engine.GetCommandRecord(id);
        ASSERT_NE(row, nullptr) << id;
        EXPECT_EQ(row->id, id);
        EXPECT_GE(row->argumentCount, 0);
        EXPECT_LE(row->argumentCount, 3);
        EXPECT_TRUE(names.insert(row->name).second) << row->name;
        EXPECT_EQ(script::FindCommandId(row->name), id);
        if (row->targetMask & 1) {
            EXPECT_EQ(row->targetMask, 1) << row->name << ": the world bit stands alone";
        }
        for (int b = 0; b < 4; ++b) perTarget[b] += (row->targetMask >> b) & 1;
    }
    EXPECT_EQ(perTarget[0], 62);
    EXPECT_EQ(perTarget[1], 18);
    EXPECT_EQ(perTarget[2], 35);
    EXPECT_EQ(perTarget[3], 73);
    rig.context.Attach(nullptr, &rig.engine);
    EXPECT_EQ(rig.engine.GetCommandRecordCount(), 155u) << "attaching again adds nothing";
    EXPECT_EQ(rig.engine.GetCommandRecord(99), nullptr);
    EXPECT_EQ(rig.engine.GetCommandRecord(255), nullptr);

    struct Spot {
        i32 id;
        const char* name;
        i32 count;
        i32 mask;
        const char* description;
    };
    const Spot spots[] = {
        {100, "getglobal", 1, 1, "globalid"},
        {109, "isvisible", 0, 6, ""},
        {115, "getstate", 0, 6, ""},
        {116, "setstate", 1, 6, "state[int]"},
        {138, "finditem", 2, 12, "itemtypeid,amount"},
        {139, "receiveitem", 2, 14, "itemtypeid,amount"},
        {141, "hasitem", 2, 14, "itemtypeid,amount"},
        {190, "setmapfog", 3, 1, "mapid, viewdistance [0..100], fogcolor [f.e. \"FF0000\" as red]"},
        {209, "createmonsterdir", 2, 1, "monstertypeid,dir (north | west | south | east), distance"},
        {234, "movetojail", 1, 8, ""},
        {254, "movebyship", 2, 8, "targetid,text"},
    };
    for (const Spot& s : spots) {
        const script::CommandRow* row = rig.engine.GetCommandRecord(s.id);
        EXPECT_STREQ(row->name, s.name);
        EXPECT_EQ(row->argumentCount, s.count) << s.name;
        EXPECT_EQ(row->targetMask, s.mask) << s.name;
        EXPECT_STREQ(row->argumentDescription, s.description) << s.name;
    }
    EXPECT_EQ(&script::kCommandTable[154], script::FindCommand(254));
}

TEST(ScriptCommandTable, PerTargetListsInIdOrderEndedByZero) {
    ScriptRig rig;
    const i32 bits[4] = {2, 4, 8, 1};
    for (int t = 0; t < 4; ++t) {
        const u8* list = rig.context.GetCommandList(t);
        std::vector<i32> expected;
        for (const script::CommandRow& row : script::kCommandTable)
            if (row.targetMask & bits[t]) expected.push_back(row.id);
        std::vector<i32> got;
        for (u32 i = 0; i < CScriptContext::kCommandListSize && list[i]; ++i) got.push_back(list[i]);
        EXPECT_EQ(got, expected) << "list " << t;
    }
}

TEST(ScriptDispatch, EveryCommandReachesItsTarget) {
    // Each non-world command, called on a named map object, a named creature and the player, reaches
    // exactly the handler of that object; world commands never resolve their object.
    for (const script::CommandRow& row : script::kCommandTable) {
        ScriptRig rig;
        rig.world.AddObject("lever");
        rig.world.AddCreature("wolf1");
        const std::string call = std::string(".") + row.name + "();";
        EXPECT_EQ(rig.Run("lever" + call), 0) << row.name;
        EXPECT_EQ(rig.Run("wolf1" + call), 0) << row.name;
        EXPECT_EQ(rig.Run("nobody" + call), row.targetMask == 1 ? 0 : 12) << row.name;
        const bool world = row.targetMask == 1;
        EXPECT_EQ(rig.Logged(Join({"object", "lever", N(row.id), "", "3", "4", "1"})), !world) << row.name;
        EXPECT_EQ(rig.Logged(Join({"creature", "wolf1", N(row.id), ""})), !world) << row.name;
    }
}

TEST(ScriptDispatch, TargetsByName) {
    ScriptRig rig;
    FakeMapObject& trigger = rig.world.AddObject("switch1");
    // "(this)" is the trigger with the context's place; "player" in any case is the player.
    rig.context.SetupEvent(kEventUse, &trigger, rig.world.section, nullptr, 10, 12, 2, 2, kRouteGameView);
    EXPECT_EQ(rig.Run("open();"), 0);
    EXPECT_EQ(rig.log.back(), "object switch1 103  10 12 2");
    EXPECT_EQ(rig.Run("@obj \"(THIS)\" @byte 6 close();"), 0);
    EXPECT_EQ(rig.log.back(), "object switch1 104  10 12 2");
    EXPECT_EQ(rig.Run("PlAyEr.addquest(\"q9\");"), 0);
    EXPECT_EQ(rig.log.back(), "AddQuest q9");
    // A world command on an unknown name runs the world handler.
    EXPECT_EQ(rig.Run("nobody.message(\"hi\");"), 0);
    EXPECT_EQ(rig.log.back(), "AppendMessage hi 0");
    // Without a trigger "(this)" names nothing.
    rig.context.SetupTalkEvent(&rig.world.npc);
    EXPECT_EQ(rig.Run("open();"), 12);
    // A cell without an instance runs the default map object; an object without its creature the
    // fallback creature.
    EXPECT_EQ(rig.Run("emptycell.open();"), 0);
    EXPECT_EQ(rig.log.back(), "object (default) 103  7 7 0");
    EXPECT_EQ(rig.Run("unboundcreature.gethp();"), 0);
    EXPECT_EQ(rig.log.back(), "creature (fallback) 177 ");
    // A creature trigger set up by an object event.
    FakeCreature& wolf = rig.world.AddCreature("wolf2");
    rig.context.SetupObjectEvent(kEventHit, &wolf, rig.world.section, nullptr, 4, 5);
    EXPECT_EQ(rig.Run("x = gethp();"), 0);
    EXPECT_EQ(rig.Num("x"), 12);
    // Player commands without a player name nothing.
    rig.world.hasPlayer = false;
    EXPECT_EQ(rig.Run("player.getgold();"), 12);
}

TEST(ScriptDispatch, ChangedCellsAreRecordedOnce) {
    ScriptRig rig;
    FakeMapObject& door = rig.world.AddObject("door");
    door.changes = true;
    EXPECT_EQ(rig.Run("door.open(); door.close(); door.open();"), 0);
    ASSERT_EQ(rig.context.GetStateRecords().size(), 1u);
    const ScriptStateRecord r = rig.context.GetStateRecords()[0];
    EXPECT_EQ(r.section, rig.world.section);
    EXPECT_EQ(r.where, 2);
    EXPECT_EQ(r.x, 3);
    EXPECT_EQ(r.y, 4);
    EXPECT_EQ(r.side, 1);
    // A type-5 object that turns visible or hidden marks all four sides of its cell.
    FakeMapObject& wall = rig.world.AddObject("wall", 5);
    wall.changes = true;
    EXPECT_EQ(rig.Run("wall.setvisible();"), 0);
    EXPECT_EQ(rig.context.GetStateRecords().size(), 4u);  // side 1 is already there
    EXPECT_EQ(rig.Run("wall.sethidden(); wall.open();"), 0);
    EXPECT_EQ(rig.context.GetStateRecords().size(), 4u);
    // Records gather over runs until the view rebuilds them.
    FakeCreature& wolf = rig.world.AddCreature("wolf");
    wolf.changes = true;
    EXPECT_EQ(rig.Run("wolf.setstate(1);"), 0);
    EXPECT_EQ(rig.context.GetStateRecords().size(), 5u);
    rig.context.ClearStateRecords();
    EXPECT_TRUE(rig.context.GetStateRecords().empty());
    // An unchanged object records nothing.
    door.changes = false;
    EXPECT_EQ(rig.Run("door.open();"), 0);
    EXPECT_TRUE(rig.context.GetStateRecords().empty());
}

TEST(ScriptDispatch, HandlerResultCodesEndTheRun) {
    ScriptRig rig;
    FakeMapObject& door = rig.world.AddObject("door");
    door.code = 21;
    EXPECT_EQ(rig.Run("x = 1; door.open(); x = 2;"), 21);
    EXPECT_EQ(rig.Num("x"), 1);
    EXPECT_STREQ(rig.engine.GetErrorText(), "error in method");
    EXPECT_TRUE(rig.Logged("PostMessageEvent Script error! 1"));
}

TEST(ScriptDispatch, NoGameMeansNoEffect) {
    CScriptEngine engine;
    CScriptContext context;
    engine.InitTables(nullptr);
    context.Attach(nullptr, &engine);
    scriptasm::Result r = scriptasm::Assemble("x = getday(); player.addxp(5); door.open(); message(\"m\");");
    ASSERT_TRUE(r.ok);
    ASSERT_EQ(engine.LoadScript(r.bytes.data(), static_cast<u32>(r.bytes.size())), 0);
    EXPECT_EQ(engine.Run(), 12) << "no player without a game";
    EXPECT_EQ(engine.FindVariable("x")->GetNumber(), 1);
}

class ScriptListWorld : public FakeWorld {
public:
    using FakeWorld::FakeWorld;
    bool FindScriptCode(const char* id, const u8*& code, u32& size) override {
        auto found = scripts.find(id);
        if (found == scripts.end()) return false;
        code = found->second.empty() ? nullptr : found->second.data();
        size = static_cast<u32>(found->second.size());
        return true;
    }
    void RebuildChangedCells(CScriptContext& context) override {
        rebuilt += static_cast<int>(context.GetStateRecords().size());
        context.ClearStateRecords();
    }
    std::map<std::string, std::vector<u8>> scripts;
    int rebuilt = 0;
};

TEST(ScriptDispatch, RunScriptByIdAndTriggerScripts) {
    Log log;
    ScriptListWorld world(log);
    CScriptEngine engine;
    CScriptContext context;
    engine.InitTables(nullptr);
    context.Attach(nullptr, &engine);
    context.SetWorld(&world);
    FakeMapObject& gate = world.AddObject("gate");
    gate.changes = true;
    context.SetupEvent(kEventUse, &gate, world.section, nullptr, 2, 3, 1, 2, kRouteGameView);
    world.scripts["bres_open"] = scriptasm::Assemble("open(); x = 1;").bytes;
    world.scripts["bres_return"] = scriptasm::Assemble("return;").bytes;
    world.scripts["bres_bad"] = scriptasm::Assemble("5;").bytes;
    world.scripts["bres_empty"] = {};
    world.scripts["bres_cut"] = {0, 0, 99, 0};
    EXPECT_EQ(context.RunScriptById("bres_open"), 1);
    EXPECT_EQ(context.RunScriptById("bres_return"), 1);
    EXPECT_EQ(context.RunScriptById("bres_bad"), 0);
    EXPECT_EQ(context.RunScriptById("bres_empty"), 0);
    EXPECT_EQ(context.RunScriptById("bres_cut"), 0);
    EXPECT_EQ(context.RunScriptById("bres_none"), -1);
    EXPECT_EQ(std::count(log.begin(), log.end(), "PostMessageEvent Script error! 1"), 2);
    // A trigger's script runs, then the cells it changed are rebuilt and forgotten.
    context.RunTriggerScript("bres_open");
    EXPECT_EQ(world.rebuilt, 1);
    EXPECT_TRUE(context.GetStateRecords().empty());
}

}  // namespace

// The built world's scripts run on the fixture game: the sign speaks, the lever works the gate, the
// plate warns once, the ring quest goes from asked to solved, and the conversation's condition follows it.
#include "ScriptFixture.h"

#include "core/Stream.h"
#include "script/ConditionEvaluator.h"
#include "tools/content/WorldScripts.cpp"

using namespace scripttest;

namespace {

const char* Source(const char* id) {
    for (const content::WorldScript& s : content::WorldScripts())
        if (std::string(s.id) == id)
            return s.source;
    ADD_FAILURE() << "no script " << id;
    return "";
}

TEST(WorldScripts, EveryScriptAssembles) {
    for (const content::WorldScript& s : content::WorldScripts()) {
        const scriptasm::Result r = scriptasm::Assemble(s.source, scriptasm::Options{true});
        EXPECT_TRUE(r.ok) << s.id << ": " << r.error;
    }
}

TEST(WorldScripts, SignShowsItsMessage) {
    ScriptRig rig;
    FakeMapObject& sign = rig.world.AddObject("sign1");
    rig.context.SetupEvent(kEventUse, &sign, rig.world.section, nullptr, 3, 4, 0, 2, kRouteGameView);
    EXPECT_EQ(rig.Run(Source("bres_sign_harbour"), true), 0);
    EXPECT_TRUE(
        rig.Logged("AppendMessage Harbour Town. The well lies east, the cellar north. Welcome, Ilsa. 0"));
    // Stepping on it says nothing.
    rig.log.clear();
    rig.context.SetupEvent(kEventStepOn, &sign, rig.world.section, nullptr, 3, 4, 0, 2, kRouteGameView);
    EXPECT_EQ(rig.Run(Source("bres_sign_harbour"), true), 0);
    EXPECT_TRUE(rig.log.empty());
}

// A lever and a gate that keep their own on and open states, as the map objects will.
class Switchable : public FakeMapObject {
public:
    using FakeMapObject::FakeMapObject;
    i32 ExecuteCommand(const ScriptPlace& place, i32 command, const ScriptArgs& args, ScriptResult& result,
                       bool& changed) override {
        FakeMapObject::ExecuteCommand(place, command, args, result, changed);
        switch (command) {
        case 112:
            result = std::make_unique<CScriptValue>(on ? 1 : 0);
            break;
        case 113:
        case 103:
            on = true;
            changed = true;
            break;
        case 114:
        case 104:
            on = false;
            changed = true;
            break;
        default:
            break;
        }
        return 0;
    }
    bool on = false;
};

TEST(WorldScripts, LeverOpensAndClosesTheGate) {
    ScriptRig rig;
    Log& log = rig.log;
    rig.world.objects.push_back(std::make_unique<Switchable>(log, "lever1"));
    rig.world.objects.push_back(std::make_unique<Switchable>(log, "harbour_gate"));
    auto& lever = static_cast<Switchable&>(*rig.world.objects[0]);
    auto& gate = static_cast<Switchable&>(*rig.world.objects[1]);
    rig.context.SetupEvent(kEventUse, &lever, rig.world.section, nullptr, 10, 11, 1, 2, kRouteGameView);
    EXPECT_EQ(rig.Run(Source("bres_lever_gate"), true), 0);
    EXPECT_TRUE(lever.on);
    EXPECT_TRUE(gate.on);
    EXPECT_TRUE(rig.Logged("PlaySound bsnd_gate 8"));
    EXPECT_TRUE(rig.Logged("AppendMessage Somewhere a gate grinds open. 0"));
    // The lever's cell and the gate's cell are rebuilt.
    EXPECT_EQ(rig.context.GetStateRecords().size(), 2u);
    EXPECT_EQ(rig.Run(Source("bres_lever_gate"), true), 0);
    EXPECT_FALSE(lever.on);
    EXPECT_FALSE(gate.on);
    EXPECT_TRUE(rig.Logged("AppendMessage The gate rattles shut. 0"));
}

TEST(WorldScripts, PlateWarnsOnce) {
    ScriptRig rig;
    rig.world.globals["cellar_warned"] = CScriptValue(0);
    FakeMapObject& plate = rig.world.AddObject("plate1");
    rig.context.SetupEvent(kEventStepOn, &plate, rig.world.section, nullptr, 5, 5, -1, 1, kRouteGameView);
    EXPECT_EQ(rig.Run(Source("bres_plate_cellar"), true), 0);
    EXPECT_EQ(rig.Run(Source("bres_plate_cellar"), true), 0);
    EXPECT_EQ(std::count(rig.log.begin(), rig.log.end(),
                         "AppendMessage The floor plate clicks under your feet. Something below stirs. 0"),
              1);
    EXPECT_EQ(rig.world.globals["cellar_warned"].GetNumber(), 1);
}

// A player whose quests and items the script changes, so the quest can run from start to end.
class QuestPlayer : public FakePlayer {
public:
    using FakePlayer::FakePlayer;
    void AddQuest(const char* id) override { quests[id] = 0; }
    const char* SetQuestState(const char* id, i32 state) override {
        quests[id] = state;
        return "Harbour Ring";
    }
    bool HasQuest(const char* id) const override { return quests.count(id) != 0; }
    i32 CountItems(const char* id) const override { return std::string(id) == "bres_ring" ? rings : 0; }
    void RemoveItems(const char* id, i32 n) override { rings -= n; }
    std::map<std::string, i32> quests;
    i32 rings = 0;
};

class QuestWorld : public FakeWorld {
public:
    explicit QuestWorld(Log& log) : FakeWorld(log), quester(log) {}
    IScriptPlayer* GetPlayer() override { return &quester; }
    QuestPlayer quester;
};

TEST(WorldScripts, RingQuestAndItsConversationCondition) {
    Log log;
    QuestWorld world(log);
    CScriptEngine engine;
    CScriptContext context;
    engine.InitTables(nullptr);
    context.Attach(nullptr, &engine);
    context.SetWorld(&world);
    FakeNpc master;
    context.SetupTalkEvent(&master);

    ByteWriter record;
    record.U8(7);  // the topic's presence byte puts the condition at an odd offset
    content::WriteCondition(record, content::kRingQuestId, 1, 42, 1);
    std::vector<u8> bytes = record.Data();
    CStream stream;
    stream.InitForReading(bytes.data(), static_cast<u32>(bytes.size()));
    u8 presence = 0;
    stream.SerializeU8(presence);
    CConditionRef topic;
    SerializeConditionRef(stream, topic);
    ASSERT_FALSE(stream.HasError());
    EXPECT_FALSE(EvaluateCondition(context, &topic, &master));

    const scriptasm::Result talk = scriptasm::Assemble(Source("bres_talk_harbourmaster"));
    ASSERT_TRUE(talk.ok) << talk.error;
    auto run = [&]() {
        EXPECT_EQ(engine.LoadScript(talk.bytes.data(), static_cast<u32>(talk.bytes.size())), 0);
        return engine.Run();
    };
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(world.quester.quests.count(content::kRingQuestId), 1u);
    EXPECT_TRUE(EvaluateCondition(context, &topic, &master));
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(log.back(), "AddTalkText The well is east of the harbour. 2");
    world.quester.rings = 1;
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(world.quester.quests[content::kRingQuestId], 1);
    EXPECT_EQ(world.quester.rings, 0);
    EXPECT_EQ(world.quester.gold, 350u);
    EXPECT_NE(std::find(log.begin(), log.end(), "AddTalkText The Harbour Ring quest has been solved. 2"),
              log.end());
}

}  // namespace

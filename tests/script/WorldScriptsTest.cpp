// The built world's scripts run on the fixture game: the sign speaks, the lever works the gate, the
// plate warns once, the ring quest goes from asked to solved, and the conversation's condition follows it.
// The same scripts, compiled by the content builder, are found by id in the built base world.
#include "ScriptFixture.h"

#include "core/FileFinder.h"
#include "core/Stream.h"
#include "data/TextureSet.h"
#include "data/WorldList.h"
#include "data/WorldLists.h"
#include "script/ConditionEvaluator.h"
#include "tools/content/WorldScripts.h"

using namespace scripttest;

namespace {

const char* Source(const char* id) {
    for (const content::WorldScript& s : content::WorldScripts())
        if (std::string(s.id) == id) return s.source;
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
        rig.Logged("AppendMessage Vantrel Town. The inn is the house on the square, the cellar stairs lie "
                   "north-west. Welcome, Ilsa. 0"));
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
        case 112: result = std::make_unique<CScriptValue>(on ? 1 : 0); break;
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
        default: break;
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

// The fixture game whose scripts are the built base world's script records.
class BuiltWorld : public QuestWorld {
public:
    BuiltWorld(Log& log, const CScriptList& scripts) : QuestWorld(log), scripts_(scripts) {}
    bool FindScriptCode(const char* id, const u8*& code, u32& size) override {
        const CScript* script = scripts_.FindById(id);
        if (script == nullptr) return false;
        code = script->code;
        size = script->codeLength;
        return true;
    }

private:
    const CScriptList& scripts_;
};

class BuiltWorldScripts : public ::testing::Test {
protected:
    void SetUp() override {
        finder.SetFolder(VANTREL_BINARY_DIR);
        ASSERT_EQ(worlds.OpenGameDatabases(), 1) << worlds.LastError();
        // The world's globals start as the number 0, as a new game makes them.
        for (const auto& global : lists.globals.items) world.globals[global->id] = CScriptValue(0);
        engine.InitTables(nullptr);
        context.Attach(nullptr, &engine);
        context.SetWorld(&world);
    }

    CFileFinder finder;
    CTextureSet textures;
    CWorldLists lists{textures};
    CWorldList worlds{lists, &finder, nullptr};
    Log log;
    BuiltWorld world{log, lists.scripts};
    CScriptEngine engine;
    CScriptContext context;
};

TEST_F(BuiltWorldScripts, EveryScriptIsStoredAsTheAssemblerCompilesIt) {
    for (const content::WorldScript& s : content::WorldScripts()) {
        const CScript* stored = lists.scripts.FindById(s.id);
        ASSERT_NE(stored, nullptr) << s.id;
        EXPECT_EQ(stored->value, 5);
        const scriptasm::Result r = scriptasm::Assemble(s.source, scriptasm::Options{true});
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_EQ(std::vector<u8>(stored->code, stored->code + stored->codeLength), r.bytes) << s.id;
    }
    EXPECT_EQ(context.RunScriptById("bres_no_such_script"), -1);
}

TEST_F(BuiltWorldScripts, SignLeverAndPlateRunFromTheWorld) {
    FakeMapObject& sign = world.AddObject("sign1");
    context.SetupEvent(kEventUse, &sign, world.section, nullptr, 3, 4, 0, 2, kRouteGameView);
    EXPECT_EQ(context.RunScriptById("bres_sign_harbour"), 1);
    EXPECT_NE(std::find(log.begin(), log.end(),
                        "AppendMessage Vantrel Town. The inn is the house on the square, the cellar "
                        "stairs lie north-west. Welcome, Ilsa. 0"),
              log.end());

    world.objects.push_back(std::make_unique<Switchable>(log, "lever1"));
    world.objects.push_back(std::make_unique<Switchable>(log, "harbour_gate"));
    auto& lever = static_cast<Switchable&>(*world.objects[1]);
    auto& gate = static_cast<Switchable&>(*world.objects[2]);
    context.SetupEvent(kEventUse, &lever, world.section, nullptr, 10, 11, 1, 2, kRouteGameView);
    EXPECT_EQ(context.RunScriptById("bres_lever_gate"), 1);
    EXPECT_TRUE(lever.on);
    EXPECT_TRUE(gate.on);
    EXPECT_EQ(context.RunScriptById("bres_lever_gate"), 1);
    EXPECT_FALSE(gate.on);
    EXPECT_EQ(log.back(), "AppendMessage The gate rattles shut. 0");

    // The plate's flag is one of the world's globals.
    ASSERT_EQ(world.globals.count("cellar_warned"), 1u);
    FakeMapObject& plate = world.AddObject("plate1");
    context.SetupEvent(kEventStepOn, &plate, world.section, nullptr, 5, 5, -1, 1, kRouteGameView);
    EXPECT_EQ(context.RunScriptById("bres_plate_cellar"), 1);
    EXPECT_EQ(context.RunScriptById("bres_plate_cellar"), 1);
    EXPECT_EQ(std::count(log.begin(), log.end(),
                         "AppendMessage The floor plate clicks under your feet. Something below stirs. 0"),
              1);
    EXPECT_EQ(world.globals["cellar_warned"].GetNumber(), 1);
}

TEST_F(BuiltWorldScripts, RingQuestRunsFromTheWorldAndItsQuestRecordExists) {
    ASSERT_NE(lists.quests.FindById(content::kRingQuestId), nullptr);
    FakeNpc master;
    context.SetupTalkEvent(&master);
    EXPECT_EQ(context.RunScriptById("bres_talk_harbourmaster"), 1);
    EXPECT_EQ(world.quester.quests.count(content::kRingQuestId), 1u);
    world.quester.rings = 1;
    EXPECT_EQ(context.RunScriptById("bres_talk_harbourmaster"), 1);
    EXPECT_EQ(world.quester.quests[content::kRingQuestId], 1);
    EXPECT_EQ(world.quester.rings, 0);
    EXPECT_EQ(world.quester.gold, 350u);
}

}  // namespace

// Maren's quest: her line hands it over once, the crypt's shrine refuses to be rung without it, ends it
// with its reward once, and is silent after; the crypt's lever works the shrine's gate.
TEST_F(BuiltWorldScripts, CryptQuestStartsInTownAndEndsAtTheShrine) {
    const char* quest = "base_q_cellar";
    ASSERT_NE(lists.quests.FindById(quest), nullptr);
    ASSERT_EQ(world.globals.count("base_crypt_rested"), 1u);
    FakeMapObject& shrine = world.AddObject("base_crypt_shrine");
    auto ring = [&]() {
        context.SetupEvent(kEventUse, &shrine, world.section, nullptr, 17, 3, 0, 2, kRouteGameView);
        const size_t before = log.size();
        EXPECT_EQ(context.RunScriptById("base_crypt_shrine"), 1);
        // The bell's words are the first thing it says; the quest's end and reward follow them.
        return log.size() > before ? log[before] : std::string();
    };
    EXPECT_EQ(ring(), "AppendMessage An old bell hangs over the shrine. You have no cause to ring it. 0");
    EXPECT_EQ(world.quester.quests.count(quest), 0u);

    FakeNpc maren;
    context.SetupTalkEvent(&maren);
    EXPECT_EQ(context.RunScriptById("base_talk_maren_cellar"), 1);
    ASSERT_EQ(world.quester.quests.count(quest), 1u);
    EXPECT_EQ(world.quester.quests[quest], 0);
    EXPECT_EQ(context.RunScriptById("base_talk_maren_cellar"), 1);  // asked again: still the one quest
    EXPECT_EQ(world.quester.quests[quest], 0);

    const u32 gold = world.quester.gold;
    EXPECT_EQ(ring(),
              "AppendMessage You ring the old bell. Its note rolls through the crypt and the knocking "
              "stops. 0");
    EXPECT_EQ(world.quester.quests[quest], 1);
    EXPECT_EQ(world.quester.gold, gold + 150);
    EXPECT_EQ(world.globals["base_crypt_rested"].GetNumber(), 1);
    EXPECT_EQ(ring(), "AppendMessage The shrine is silent. The keepers sleep. 0");
    EXPECT_EQ(world.quester.gold, gold + 150);

    world.objects.push_back(std::make_unique<Switchable>(log, "base_crypt_lever"));
    world.objects.push_back(std::make_unique<Switchable>(log, "base_crypt_gate"));
    auto& lever = static_cast<Switchable&>(*world.objects[world.objects.size() - 2]);
    auto& gate = static_cast<Switchable&>(*world.objects.back());
    context.SetupEvent(kEventUse, &lever, world.section, nullptr, 12, 7, 0, 2, kRouteGameView);
    EXPECT_EQ(context.RunScriptById("base_crypt_lever"), 1);
    EXPECT_TRUE(gate.on);
    EXPECT_EQ(context.RunScriptById("base_crypt_lever"), 1);
    EXPECT_FALSE(gate.on);
}

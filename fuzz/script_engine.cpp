// Arbitrary bytes as a compiled script, then as a stored condition: load and run the script on a game
// whose every operation does nothing, and evaluate the condition. Neither may crash, hang or read
// outside the bytes it was given.
#include "core/Stream.h"
#include "script/ConditionEvaluator.h"
#include "script/ScriptContext.h"
#include "script/ScriptEngine.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// A player and a world with a few named things, so that the dispatch reaches every handler.
class FuzzPlayer : public IScriptPlayer {};

class FuzzWorld : public IScriptWorld {
public:
    IScriptPlayer* GetPlayer() override { return &player; }
    Target FindMapObjectByName(const char* name) override {
        Target t;
        if (name[0] == 'o') {
            t.kind = 4;
            t.mapObject = &object;
        } else if (name[0] == 'c') {
            t.kind = 8;
        }
        return t;
    }
    IScriptMapObject* GetDefaultMapObject() override { return &object; }
    IScriptCreature* GetFallbackCreature() override { return &creature; }
    CScriptValue* FindGlobal(const char* name) override { return name[0] == 'g' ? &global : nullptr; }
    CMapSection* GetCurrentSection() override { return reinterpret_cast<CMapSection*>(&tag); }
    void GetSectionSize(CMapSection*, i32& w, i32& h) const override { w = h = 64; }
    CMonsterType* FindMonsterType(const char*) override { return reinterpret_cast<CMonsterType*>(&tag); }

    FuzzPlayer player;
    IScriptMapObject object;
    IScriptCreature creature;
    CScriptValue global{5};
    int tag = 0;
};

struct Rig {
    Rig() {
        engine.InitTables(nullptr);
        context.Attach(nullptr, &engine);
        context.SetWorld(&world);
    }
    FuzzWorld world;
    CScriptEngine engine;
    CScriptContext context;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A fresh engine per input: variables live as long as their engine, and names made up by the
    // inputs would otherwise pile up.
    Rig rig;
    // An exact-size copy, so that any read past the end is caught.
    std::vector<u8> bytes(data, data + size);
    rig.context.SetupEvent(32, &rig.world.object, nullptr, nullptr, 1, 2, -1, 1, 1);
    if (rig.engine.LoadScript(bytes.data(), static_cast<u32>(bytes.size())) == 0) rig.engine.Run();
    rig.context.ClearStateRecords();

    std::vector<u8> record(data, data + size);
    CStream stream;
    stream.InitForReading(record.data(), static_cast<u32>(record.size()));
    CConditionRef ref;
    SerializeConditionRef(stream, ref);
    EvaluateCondition(rig.context, &ref, nullptr);
    const CConditionRef* node[1] = {&ref};
    TalkNodeConditionsHold(rig.context, node, 1, nullptr);
    return 0;
}

// The one run context of the script engine: what happened to which object where, set up by the code
// that triggers a script, and the dispatch that hands each command of a running script to the world
// handler or to the map object, creature or player it names. Map-object commands that change a cell
// are recorded so that the view rebuilds exactly those cells.
#pragma once

#include "core/Str.h"
#include "core/Types.h"
#include "script/ScriptTargets.h"
#include "script/ScriptValue.h"

#include <vector>

class CGame;
class CScriptEngine;

// Event kinds are bit values.
enum ScriptEventKind : i32 {
    kEventNone = 0,
    kEventStepOn = 1,
    kEventStepOff = 2,
    kEventItemChange = 4,
    kEventHit = 8,
    kEventSpell = 16,
    kEventUse = 32,
    kEventDeath = 64,
    kEventEquip = 128,
    kEventRemove = 256,
    kEventArrival = 512,
};

// Where messages of a run go.
enum ScriptRouting : i32 {
    kRouteNone = 0,
    kRouteGameView = 1,
    kRouteTalk = 2,
    kRoutePages = 3,
};

// Object kind bytes of the objects a command can address.
enum ScriptObjectKind : u8 {
    kObjectMapObject = 4,
    kObjectCreature = 8,
    kObjectPlayer = 16,
};

// A cell whose look a command changed: its section, where the state is stored, position and side.
struct ScriptStateRecord {
    CMapSection* section = nullptr;
    i32 where = 0;
    i32 x = 0;
    i32 y = 0;
    i32 side = 0;
    bool operator==(const ScriptStateRecord&) const = default;
};

class CScriptContext {
public:
    static constexpr u32 kCommandListSize = 100;

    CScriptContext();
    ~CScriptContext();
    CScriptContext(const CScriptContext&) = delete;
    CScriptContext& operator=(const CScriptContext&) = delete;

    // Stores the game and its engine, links the engine to this context and builds the command table.
    void Attach(CGame* owner, CScriptEngine* engine);
    // The game the commands act on; without one every command does nothing.
    void SetWorld(IScriptWorld* world) { world_ = world; }
    IScriptWorld* GetWorld() const { return world_; }
    CScriptEngine* GetEngine() const { return engine_; }

    // Set-ups, one before each run; each clears the answer words and drops a pending object list.
    // A trigger on the map (routing 1), or a talk action (kind 32, routing 2). The NPC record is
    // looked up by the trigger's name when its type byte is 12.
    void SetupEvent(i32 eventKind, IScriptMapObject* trigger, CMapSection* section, CMapCell* cell, i32 x,
                    i32 y, i32 side, i32 where, i32 routing);
    // An event that happened to a creature; x and y are its window cell.
    void SetupObjectEvent(i32 eventKind, IScriptCreature* creature, CMapSection* section, CMapCell* cell,
                          i32 x, i32 y);
    void SetupTalkEvent(IScriptNpc* npc);
    void SetupPageEvent();
    // The attacker and the hit target of a hit event (the items' ids), either may be null.
    void SetEventObjects(const char* attacker, const char* target);
    // The spell id text of a spell event.
    void SetSpellId(const char* spellId) { spellId_.Assign(spellId ? spellId : ""); }

    // Finds the world's script of that id, loads and runs it: -1 for an unknown id, 0 when the record
    // has no code or the run failed, 1 when it ended with 0 or 20.
    i32 RunScriptById(const char* id);
    // Runs the trigger's script (when it names one) and has the view rebuild the cells it changed.
    void RunTriggerScript(const char* scriptId);

    // One compiled command of the running script on its target; 0 or a result code.
    i32 RunCommand(const char* target, i32 command, const ScriptArgs& args, ScriptResult& result);
    // The world handler of the commands with the world bit; always 0.
    i32 ExecuteWorldCommand(i32 command, const ScriptArgs& args, ScriptResult& result);
    // Posted by the engine after a failed run.
    void PostScriptError();

    void FindOrAddStateRecord(CMapSection* section, i32 where, i32 x, i32 y, i32 side);
    void ClearStateRecords();
    const std::vector<ScriptStateRecord>& GetStateRecords() const { return records_; }

    // The per-target command id lists: map objects, creatures, the player, the world.
    const u8* GetCommandList(int target) const {
        return target >= 0 && target < 4 ? lists_[target] : nullptr;
    }

    i32 GetEventKind() const { return eventKind_; }
    i32 GetRouting() const { return routing_; }
    void SetRouting(i32 routing) { routing_ = routing; }
    IScriptNpc* GetNpc() const { return npc_; }
    IScriptCreature* GetCreature() const { return creature_; }
    IScriptMapObject* GetTrigger() const { return trigger_; }
    CMapSection* GetSection() const { return section_; }
    // The button chosen in the last question: 1 OK, 2 Cancel, 4 Yes, 8 No; 0 none.
    i32 GetAnswer() const { return answer_; }
    void SetAnswer(i32 answer) { answer_ = answer; }
    i32 GetDamage() const { return damage_; }
    // The amount of a hit or spell event on a map object (a blow's damage, a spell's strength).
    void SetDamage(i32 damage) { damage_ = damage; }
    // The chosen entry of the last object list.
    const char* GetChosenEntry() const { return chosenEntry_.GetText(); }
    void SetChosenEntry(const char* text) { chosenEntry_.Assign(text ? text : ""); }
    bool IsListBuilt() const { return listBuilt_; }
    const char* GetListTitle() const { return listTitle_.GetText(); }

private:
    void ResetForSetup();
    // Talk and page scripts: no trigger, no place, the damage word cleared.
    void SetupWithoutTrigger(i32 eventKind, IScriptNpc* npc, i32 routing);
    i32 DispatchToMapObject(IScriptMapObject* object, const ScriptPlace& place, i32 command,
                            const ScriptArgs& args, ScriptResult& result);
    i32 DispatchToCreature(IScriptCreature* creature, const ScriptPlace& place, i32 command,
                           const ScriptArgs& args, ScriptResult& result);
    void CreateMonsterCommand(i32 command, const ScriptArgs& args);
    void SetMapFog(const ScriptArgs& args, bool reset);
    void PassTimeTo(const char* text);

    CGame* game_ = nullptr;
    CScriptEngine* engine_ = nullptr;
    IScriptWorld* world_ = nullptr;

    i32 eventKind_ = kEventNone;
    IScriptMapObject* trigger_ = nullptr;
    ScriptPlace place_;
    IScriptCreature* creature_ = nullptr;
    IScriptNpc* npc_ = nullptr;
    CMapCell* cell_ = nullptr;
    CMapSection* section_ = nullptr;
    i32 routing_ = kRouteNone;

    u8 lists_[4][kCommandListSize] = {};

    i32 answer_ = 0;
    i32 answer2_ = 0;
    CStr chosenEntry_;
    CStr listTitle_;
    CStr spellId_;
    bool listBuilt_ = false;
    i32 damage_ = 0;
    CStr eventObjectNames_[2];

    std::vector<ScriptStateRecord> records_;
};
